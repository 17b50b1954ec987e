// The frame core's routing: keys and mnemonics to the menu bar and toolbars, clicks and moves
// around the open popup menu (which never takes activation, so the frame decides for it), and the
// opening of popups.
#include "platform/user/Accel.h"
#include "platform/user/Input.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxKeyboardManager.h"

namespace {

// The toolbar object behind a live window of the class-wide list, or null.
CPlxToolBar* AttachedBar(CObject* pObject) {
  auto* bar = static_cast<CPlxToolBar*>(pObject);
  if (bar == nullptr || bar->GetSafeHwnd() == nullptr) return nullptr;
  return CWnd::FromHandlePermanent(bar->GetSafeHwnd()) == bar ? bar : nullptr;
}

BOOL IsActivePopupWindow(CPlxPopupMenu* pMenu) {
  return pMenu != nullptr && pMenu->GetSafeHwnd() != nullptr && ::IsWindow(pMenu->GetSafeHwnd());
}

CFrameWnd* TopFrameOf(CWnd* pWnd) {
  CFrameWnd* frame = AfxGetParentFrame(pWnd);
  while (frame != nullptr) {
    CFrameWnd* up = AfxGetParentFrame(frame);
    if (up == nullptr) break;
    frame = up;
  }
  return frame;
}

// The key's state as of the message being handled, not as the keyboard is now: keys typed ahead
// (Alt+E pressed and released before the frame saw it) still count with their modifiers.
BOOL KeyDown(int vk) {
  return (::GetKeyState(vk) & 0x8000) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Keys

BOOL CPlxFrameCore::ProcessKeyboard(int nKey, BOOL* pbProcessAccel) {
  if (pbProcessAccel != nullptr) *pbProcessAccel = TRUE;
  CPlxPopupMenu* active = CPlxPopupMenu::m_pActiveTracked;
  // An open popup takes every key: it is the keyboard's owner while it is up.
  if (IsActivePopupWindow(active)) {
    active->SendMessage(WM_KEYDOWN, static_cast<WPARAM>(nKey), 0);
    return TRUE;
  }
  if (m_pFrame->GetSafeHwnd() != nullptr && m_pFrame->IsIconic()) return TRUE;
  if (CPlxToolBar::m_bCustomizeMode) return FALSE;

  BOOL controlHasFocus = FALSE;
  for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr && !controlHasFocus;) {
    CPlxToolBar* bar = AttachedBar(CPlxToolBar::GetAllToolbars().GetNext(pos));
    if (bar == nullptr) continue;
    for (int i = 0; i < bar->GetCount() && !controlHasFocus; ++i)
      controlHasFocus = bar->GetButton(i) != nullptr && bar->GetButton(i)->HasFocus();
  }

  BYTE modifiers = 0;
  if (KeyDown(VK_CONTROL)) modifiers |= FCONTROL;
  if (KeyDown(VK_MENU)) modifiers |= FALT;
  if (KeyDown(VK_SHIFT)) modifiers |= FSHIFT;

  if (!controlHasFocus) {
    // A key of either frame's accelerators is translated as usual.
    const BYTE fVirt = static_cast<BYTE>(modifiers | FVIRTKEY);
    if (CPlxKeyboardManager::IsKeyAssigned(static_cast<UINT>(nKey), fVirt, m_pFrame, TRUE)) return FALSE;
    CFrameWnd* active = m_pFrame->GetActiveFrame();
    if (active != nullptr &&
        CPlxKeyboardManager::IsKeyAssigned(static_cast<UINT>(nKey), fVirt, active, FALSE))
      return FALSE;
  }
  if (modifiers == FALT && OnMenuChar(static_cast<UINT>(nKey))) return TRUE;
  if (controlHasFocus) {
    // The edit box or combo box on the bar gets the key itself, untranslated.
    if (pbProcessAccel != nullptr) *pbProcessAccel = FALSE;
  }
  return FALSE;
}

BOOL CPlxFrameCore::OnMenuChar(UINT nChar) {
  if (m_pMenuBar != nullptr && m_pMenuBar->GetSafeHwnd() != nullptr &&
      (m_pMenuBar->GetStyle() & WS_VISIBLE) != 0 && m_pMenuBar->TranslateChar(nChar))
    return TRUE;
  for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr;) {
    CPlxToolBar* bar = AttachedBar(CPlxToolBar::GetAllToolbars().GetNext(pos));
    if (bar == nullptr || bar == m_pMenuBar || (bar->GetStyle() & WS_VISIBLE) == 0) continue;
    if (TopFrameOf(bar) != m_pFrame) continue;
    if (bar->TranslateChar(nChar)) return TRUE;
  }
  return FALSE;
}

BOOL CPlxFrameCore::IsHelpKey(const MSG* pMsg) {
  return pMsg != nullptr && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 &&
         (pMsg->lParam & (1 << 30)) == 0 && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU);
}

// ---------------------------------------------------------------------------------------------
// Mouse

BOOL CPlxFrameCore::ProcessMouseClick(UINT uiMsg, POINT ptScreen, HWND hwnd) {
  const CPoint pt(ptScreen);
  if (uiMsg == WM_LBUTTONDOWN && (CPlxToolBar::m_bCustomizeMode || KeyDown(VK_MENU))) {
    // A control on a bar (an edit box, a combo box) is picked up by its button, not by the control.
    for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr;) {
      CPlxToolBar* bar = AttachedBar(CPlxToolBar::GetAllToolbars().GetNext(pos));
      if (bar == nullptr) continue;
      CPoint client = pt;
      bar->ScreenToClient(&client);
      const int hit = bar->HitTest(client);
      if (hit < 0) continue;
      CPlxToolbarButton* button = bar->GetButton(hit);
      if (button != nullptr && button->GetHwnd() != nullptr && button->GetHwnd() == hwnd &&
          button->GetRect().PtInRect(client)) {
        bar->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(client.x, client.y));
        return TRUE;
      }
      break;
    }
  }

  CPlxPopupMenu* active = CPlxPopupMenu::m_pActiveTracked;
  if (CPlxToolBar::m_bCustomizeMode || !IsActivePopupWindow(active)) return FALSE;

  switch (active->MenuHitTest(pt)) {
    case CPlxPopupMenu::HT_SHADOW_RIGHT:
    case CPlxPopupMenu::HT_SHADOW_BOTTOM:
      // The shadow is not the menu: a click there is a click beside it.
      active->SendMessage(WM_CLOSE);
      m_pFrame->SetFocus();
      return TRUE;
    case CPlxPopupMenu::HT_OUTSIDE:
      break;
    default:
      return FALSE;
  }

  CPlxToolbarMenuButton* parentButton = active->GetParentButton();
  auto* parentBar =
      parentButton != nullptr ? dynamic_cast<CPlxToolBar*>(parentButton->m_pWndParent) : nullptr;
  if (parentBar != nullptr && parentBar->GetSafeHwnd() != nullptr) {
    CPoint client = pt;
    parentBar->ScreenToClient(&client);
    auto* popupBar = dynamic_cast<CPlxPopupMenuBar*>(parentBar);
    if (parentButton->GetRect().PtInRect(client)) {
      // The item that opened the popup: a sub-menu's parent item keeps it open, a bar's button
      // closes it (its second click).
      if (popupBar != nullptr) return TRUE;
      if (!active->InCommand()) active->SendMessage(WM_CLOSE);
      return TRUE;
    }
    if (popupBar != nullptr) {
      popupBar->CloseDelayedSubMenu();
      if (auto* parentPopup = dynamic_cast<CPlxPopupMenu*>(popupBar->GetParent()); parentPopup != nullptr) {
        switch (parentPopup->MenuHitTest(pt)) {
          case CPlxPopupMenu::HT_SHADOW_RIGHT:
          case CPlxPopupMenu::HT_SHADOW_BOTTOM:
            parentPopup->SendMessage(WM_CLOSE);
            m_pFrame->SetFocus();
            return TRUE;
          case CPlxPopupMenu::HT_OUTSIDE:
            break;
          default:
            return FALSE;  // inside the parent popup: it handles the click itself
        }
      }
    }
  }

  // Anywhere else: the whole chain closes. Only a tracking loop's popup eats the click; an ordinary
  // popup lets it reach the window under it.
  if (active->InCommand()) return FALSE;
  const BOOL tracked = active->m_bTrackMode;
  active->SendMessage(WM_CLOSE);
  if (dynamic_cast<CPlxToolBar*>(CWnd::GetFocus()) != nullptr) m_pFrame->SetFocus();
  return tracked;
}

BOOL CPlxFrameCore::ProcessMouseMove(POINT ptScreen) {
  CPlxPopupMenu* active = CPlxPopupMenu::m_pActiveTracked;
  if (CPlxToolBar::m_bCustomizeMode || !IsActivePopupWindow(active)) return FALSE;
  CRect window;
  active->GetWindowRect(window);
  if (window.PtInRect(ptScreen)) return FALSE;
  if (CPlxPopupMenuBar* bar = active->GetMenuBar();
      bar != nullptr && bar->FindMenuBarAtPoint(ptScreen) != nullptr)
    return FALSE;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Popups

BOOL CPlxFrameCore::OnShowPopupMenu(CPlxPopupMenu* pMenu, CFrameWnd*) {
  CPlxPopupMenu::m_pActiveTracked = pMenu;
  if (pMenu == nullptr) return TRUE;
  if (IsQuickCustomizeMenu(pMenu)) ShowQuickCustomizeMenu(pMenu);
  if (CPlxToolBar::m_bCustomizeMode) return TRUE;
  // The bar of the top-most level that was opened by a button decides who gets the focus.
  CControlBar* bar = nullptr;
  for (CPlxPopupMenu* level = pMenu; level != nullptr; level = level->GetParentPopupMenu()) {
    if (CPlxToolbarMenuButton* button = level->GetParentButton(); button != nullptr)
      bar = dynamic_cast<CControlBar*>(button->m_pWndParent);
  }
  if (bar != nullptr && bar->GetSafeHwnd() != nullptr && dynamic_cast<CPlxPopupMenuBar*>(bar) == nullptr &&
      !bar->IsFloating() && CWnd::GetFocus() != bar && CPlxPopupMenu::m_bFocusOwnerBar)
    bar->SetFocus();
  return TRUE;
}
