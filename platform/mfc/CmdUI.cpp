// CCmdUI: what an update handler does to a menu item or a control.
#include "platform/mfc/CmdUI.h"

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/Wnd.h"

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (m_pSubMenu) return;  // the item that opens a popup stays as it is
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    HWND control = m_pOther->m_hWnd;
    // The focus leaves a control that is being disabled.
    if (!bOn && ::GetFocus() == control) {
      if (HWND parent = ::GetParent(control)) ::SendMessage(parent, WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(control, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther) {
    if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
      m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  SetCheck(bOn ? 1 : 0);
  if (m_pMenu && !m_pSubMenu) {
    // A radio bullet instead of a check mark.
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE)) {
      info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~static_cast<UINT>(MFT_RADIOCHECK));
      m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
    }
  }
}

void CCmdUI::SetText(LPCTSTR lpszText) {
  if (!lpszText) return;
  if (m_pMenu) {
    if (m_pSubMenu) return;
    UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
    if (state == static_cast<UINT>(-1)) return;
    state &= ~static_cast<UINT>(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
  } else if (m_pOther) {
    CString current;
    m_pOther->GetWindowText(current);
    if (current != lpszText) m_pOther->SetWindowText(lpszText);  // no flicker for the same text
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and unnamed items
  m_bEnableChanged = FALSE;
  const BOOL handled = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}
