// The popup menu bar's keys and mnemonics, the hot item with the delayed opening and closing of
// sub-menus, and the mouse handed along the chain of popups (they never capture it).
#include <algorithm>
#include <cctype>

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxKeyboardManager.h"

#ifndef EVENT_OBJECT_FOCUS
#define EVENT_OBJECT_FOCUS 0x8005
#endif
#ifndef OBJID_CLIENT
#define OBJID_CLIENT ((LONG)0xFFFFFFFC)
#endif

namespace {

BOOL IsSelectable(const CPlxToolbarButton* button) {
  return button != nullptr && !(button->m_nStyle & TBBS_SEPARATOR) && !button->m_rect.IsRectEmpty();
}

void NotifyFocus(CWnd* pPopup, int index) {
  if (pPopup != nullptr && pPopup->GetSafeHwnd() != nullptr)
    g_plxGlobalData.NotifyAccessibleEvent(EVENT_OBJECT_FOCUS, pPopup->m_hWnd, OBJID_CLIENT, index);
}

}  // namespace

int CPlxPopupMenuBar::NextSelectable(int iStart, BOOL bForward) const {
  const int count = GetCount();
  if (count == 0) return -1;
  int i = iStart;
  for (int step = 0; step < count; ++step) {
    i = bForward ? i + 1 : i - 1;
    if (i >= count) i = 0;
    if (i < 0) i = count - 1;
    if (IsSelectable(GetButton(i))) return i;
  }
  return -1;
}

BOOL CPlxPopupMenuBar::CursorOnItem(const CPlxToolbarButton* pItem) const {
  if (pItem == nullptr || GetSafeHwnd() == nullptr) return FALSE;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  return pItem->m_rect.PtInRect(cursor);
}

void CPlxPopupMenuBar::MoveHot(int nIndex) {
  NotifyFocus(GetPopupMenu(), nIndex);
  if (nIndex == m_iHot) return;
  const int old = m_iHot;
  m_iHot = nIndex;
  if (m_bCustomizeMode) m_iSelected = nIndex;
  InvalidateButton(old);
  InvalidateButton(nIndex);
  UpdateWindow();
  OnChangeHot(m_iHot);
  CPlxToolbarButton* hot = GetButton(nIndex);
  if (hot != nullptr && hot->m_nID != (UINT)-1) ShowCommandMessageString(hot->m_nID);
}

BOOL CPlxPopupMenuBar::OnKey(UINT nChar) {
  if (nChar == VK_TAB) nChar = (::GetKeyState(VK_SHIFT) & 0x8000) ? VK_UP : VK_DOWN;
  switch (nChar) {
    case VK_RETURN: {
      auto* item = dynamic_cast<CPlxToolbarMenuButton*>(GetHotButton());
      if (item != nullptr && !item->OpenPopupMenu()) {
        if (::IsWindow(m_hWnd)) {
          CPlxPopupMenu* popup = GetPopupMenu();
          CWnd* status =
              popup != nullptr && popup->m_pMessageWnd != nullptr ? popup->m_pMessageWnd : GetBarOwner();
          if (status != nullptr && status->GetSafeHwnd() != nullptr)
            status->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
          OnSendCommand(item);
        }
      }
      return TRUE;
    }
    case VK_UP:
    case VK_END:
    case VK_DOWN:
    case VK_HOME: {
      if (GetCount() == 0) return TRUE;
      int start = m_iHot;
      if (nChar == VK_END) start = GetCount();
      if (nChar == VK_HOME) start = -1;
      if (start < 0 && nChar == VK_UP) start = GetCount();
      const int next = NextSelectable(start, nChar == VK_DOWN || nChar == VK_HOME);
      if (next >= 0) MoveHot(next);
      return TRUE;
    }
    default:
      break;
  }
  if (m_bCustomizeMode || (::GetAsyncKeyState(VK_CONTROL) & 0x8000)) return FALSE;
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  WORD chars[2] = {};
  const UINT scan = ::MapVirtualKey(nChar, MAPVK_VK_TO_VSC);
  if (::ToAsciiEx(nChar, scan, keys, chars, 0, nullptr) != 1) return FALSE;
  // The keyboard manager's upper-casing reads its argument as a virtual key (0x60 to 0x69 are the
  // number pad there, but 'a' to 'i' here), so the character is upper-cased directly.
  const UINT upper = static_cast<UINT>(toupper(chars[0] & 0xFF));
  CPlxToolbarButton* hit = nullptr;
  if (m_mapMnemonics.Lookup(upper, hit) && hit != nullptr) {
    const int index = ButtonToIndex(hit);
    auto* item = dynamic_cast<CPlxToolbarMenuButton*>(hit);
    HWND self = m_hWnd;
    if (item != nullptr && !(item->m_nStyle & TBBS_DISABLED) && item->OpenPopupMenu()) {
      if (item->GetPopupMenu() != nullptr) item->GetPopupMenu()->SendMessage(WM_KEYDOWN, VK_HOME);
    } else if (item != nullptr && (item->m_nStyle & TBBS_DISABLED)) {
      InvokeMenuCommand(0, item);
      return TRUE;
    } else if (OnSendCommand(hit)) {
      return TRUE;
    }
    if (::IsWindow(self)) MoveHot(index);
    return TRUE;
  }
  if (CPlxMenuBar::m_bRecentlyUsedMenus && !m_bAllCommandsShown) {
    const UINT id = GetHiddenMnemonic(upper);
    if (id != 0) {
      InvokeMenuCommand(id, nullptr);
      return TRUE;
    }
  }
  return FALSE;
}

// ---- hot item and sub-menus ----

void CPlxPopupMenuBar::OnChangeHot(int iHot) {
  int droppedIndex = -1;
  CPlxToolbarMenuButton* dropped = GetDroppedDownMenu(&droppedIndex);
  if (iHot == -1 && dropped != nullptr && CursorOnItem(dropped)) {
    m_iHot = droppedIndex;
    return;
  }
  auto* next = dynamic_cast<CPlxToolbarMenuButton*>(GetButton(iHot));
  if (iHot >= GetCount()) return;
  if (dropped != next) {
    if (dropped != nullptr) {
      const MSG* msg = GetCurrentMessage();
      const BOOL byKey = msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
      if (m_bCustomizeMode || byKey) {
        dropped->OnCancelMode();
        CPlxPopupMenu::ActivatePopupMenu(TopFrame(), GetPopupMenu());
      } else if (m_pDelayedCloseItem != dropped) {
        m_pDelayedCloseItem = dropped;
        dropped->m_bClosePending = TRUE;
        KillTimer(kCloseTimer);
        SetTimer(kCloseTimer, std::max(m_nMenuShowDelay - 1, 0), nullptr);
        InvalidateButton(droppedIndex);
      }
    }
    if (next != nullptr && (next->m_nID == (UINT)-1 || next->m_bArrowPart) &&
        !(next->m_nStyle & TBBS_DISABLED))
      next->OnClick(this, TRUE);
    if (CPlxPopupMenu* popup = GetPopupMenu(); popup != nullptr) {
      CPlxPopupMenu* parent = popup->GetParentPopupMenu();
      if (parent != nullptr && parent->GetMenuBar()->GetDelayedCloseItem() == popup->GetParentButton())
        parent->GetMenuBar()->CancelDelayedClose();
    }
  } else if (next != nullptr && next == m_pDelayedCloseItem) {
    next->m_bClosePending = FALSE;
    m_pDelayedCloseItem = nullptr;
    KillTimer(kCloseTimer);
  }
  m_iDropped = iHot;

  if (CPlxPopupMenu::m_bSendMenuSelect) {
    CPlxPopupMenu* popup = GetPopupMenu();
    CWnd* target = popup != nullptr ? popup->m_pMessageWnd : nullptr;
    if (target == nullptr) target = g_pTopLevelFrame;
    if (target == nullptr) target = TopFrame();
    if (target == nullptr) target = AfxGetMainWnd();
    if (popup != nullptr && target != nullptr && target->GetSafeHwnd() != nullptr) {
      UINT flags = MF_HILITE;
      UINT id = 0;
      if (CPlxToolbarButton* item = GetButton(iHot); item != nullptr) {
        id = item->m_nID == (UINT)-1 ? static_cast<UINT>(iHot) : item->m_nID;
        if (item->m_nStyle & TBBS_DISABLED) flags |= MF_DISABLED;
        if (item->m_nStyle & TBBS_CHECKED) flags |= MF_CHECKED;
        if (item->m_nID == (UINT)-1) flags |= MF_POPUP;
      }
      target->SendMessage(WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(popup->GetHMenu()));
    }
  }
}

void CPlxPopupMenuBar::OpenSubMenuDelayed(CPlxToolbarMenuButton* pMenuItem, BOOL bDelay) {
  KillTimer(kOpenTimer);
  m_pDelayedOpenItem = pMenuItem;
  if (pMenuItem != nullptr && pMenuItem == m_pDelayedCloseItem) {
    CancelDelayedClose();
    m_pDelayedOpenItem = nullptr;
    return;
  }
  SetTimer(kOpenTimer, static_cast<UINT>(std::max(bDelay, 1) * std::max(m_nMenuShowDelay, 0)), nullptr);
}

void CPlxPopupMenuBar::CloseDelayedSubMenu() {
  KillTimer(kCloseTimer);
  if (m_pDelayedCloseItem == nullptr) return;
  CPlxToolbarMenuButton* item = m_pDelayedCloseItem;
  m_pDelayedCloseItem = nullptr;
  item->OnCancelMode();
}

void CPlxPopupMenuBar::CancelDelayedClose() {
  KillTimer(kCloseTimer);
  if (m_pDelayedCloseItem == nullptr) return;
  CPlxToolbarMenuButton* item = m_pDelayedCloseItem;
  item->m_bClosePending = FALSE;
  m_pDelayedCloseItem = nullptr;
  m_iDropped = ButtonToIndex(item);
  if (m_iHot != m_iDropped) {
    const int old = m_iHot;
    m_iHot = m_iDropped;
    InvalidateButton(old);
    InvalidateButton(m_iHot);
    UpdateWindow();
  }
}

void CPlxPopupMenuBar::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kOpenTimer: {
      KillTimer(kOpenTimer);
      if (CPlxToolBar::m_pToolTip != nullptr) HideToolTip();
      if (m_pDelayedCloseItem != nullptr && CursorOnItem(m_pDelayedCloseItem)) return;
      CloseDelayedSubMenu();
      CPlxToolbarMenuButton* item = m_pDelayedOpenItem;
      m_pDelayedOpenItem = nullptr;
      if (item != nullptr && GetHotButton() == item) item->OpenPopupMenu(this);
      return;
    }
    case kCloseTimer: {
      KillTimer(kCloseTimer);
      if (m_pDelayedCloseItem == nullptr || CursorOnItem(m_pDelayedCloseItem)) return;
      CPlxToolbarMenuButton* item = m_pDelayedCloseItem;
      m_pDelayedCloseItem = nullptr;
      item->OnCancelMode();
      CPlxPopupMenu::ActivatePopupMenu(TopFrame(), GetPopupMenu());
      return;
    }
    case kAccHoverTimer: {
      KillTimer(kAccHoverTimer);
      CPoint cursor;
      ::GetCursorPos(&cursor);
      ScreenToClient(&cursor);
      CRect client;
      GetClientRect(client);
      if (client.PtInRect(cursor) && m_iDelayMenuButton != -1 && m_iDelayMenuButton == m_iHot &&
          (m_bMenuMode || m_iPressed == -1 || m_iHot == m_iPressed))
        NotifyFocus(GetPopupMenu(), m_iHot);
      return;
    }
    default:
      Default();
  }
}

void CPlxPopupMenuBar::OnDestroy() {
  KillTimer(kOpenTimer);
  KillTimer(kCloseTimer);
  m_pDelayedOpenItem = nullptr;
  m_pDelayedCloseItem = nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    auto* item = dynamic_cast<CPlxToolbarMenuButton*>(GetButton(i));
    CPlxPopupMenu* sub = item != nullptr ? item->GetPopupMenu() : nullptr;
    if (sub != nullptr && sub->GetSafeHwnd() != nullptr) {
      sub->SaveToParentItems();
      sub->PostMessage(WM_CLOSE);
    }
  }
  CPlxToolBar::OnDestroy();
}

// ---- the mouse along the chain ----

CPlxToolBar* CPlxPopupMenuBar::FindMenuBarAtPoint(CPoint pt) {
  CPlxPopupMenu* popup = GetPopupMenu();
  if (popup == nullptr) return nullptr;
  CPlxPopupMenu* top = popup;
  for (CPlxPopupMenu* parent = popup->GetParentPopupMenu(); parent != nullptr;
       parent = parent->GetParentPopupMenu()) {
    top = parent;
    CPlxPopupMenuBar* bar = parent->GetMenuBar();
    CRect rect;
    bar->GetWindowRect(rect);
    if (rect.PtInRect(pt)) return bar;
  }
  // The bar the chain was opened from (a menu bar or toolbar) answers too.
  CPlxToolBar* origin = top->GetParentToolBar();
  if (origin != nullptr && origin->GetSafeHwnd() != nullptr) {
    CRect rect;
    origin->GetWindowRect(rect);
    if (rect.PtInRect(pt)) return origin;
  }
  return nullptr;
}

void CPlxPopupMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
  m_bNoButtonDownYet = FALSE;
  m_bAllowButtonUp = TRUE;
  CRect client;
  GetClientRect(client);
  if (!m_bCustomizeMode && !client.PtInRect(point)) {
    CPoint screen = point;
    ClientToScreen(&screen);
    if (CPlxToolBar* bar = FindMenuBarAtPoint(screen); bar != nullptr) {
      bar->ScreenToClient(&screen);
      bar->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(screen.x, screen.y));
      return;
    }
  }
  CPlxToolBar::OnLButtonDown(nFlags, point);
}

void CPlxPopupMenuBar::OnLButtonUp(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(client);
  if (!m_bNoButtonDownYet && !m_bCustomizeMode && !client.PtInRect(point)) {
    CPoint screen = point;
    ClientToScreen(&screen);
    if (CPlxToolBar* bar = FindMenuBarAtPoint(screen); bar != nullptr) {
      bar->ScreenToClient(&screen);
      bar->SendMessage(WM_LBUTTONUP, nFlags, MAKELPARAM(screen.x, screen.y));
      if (CPlxPopupMenu* popup = GetPopupMenu(); popup != nullptr && popup->GetSafeHwnd() != nullptr)
        popup->DestroyWindow();
      return;
    }
  }
  if (!m_bCustomizeMode && m_iHot >= 0) m_iPressed = m_iHot;
  m_bNoButtonDownYet = FALSE;
  if (m_bAllowButtonUp) CPlxToolBar::OnLButtonUp(nFlags, point);
}

void CPlxPopupMenuBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bIgnoreFirstMouseMove) {
    m_bIgnoreFirstMouseMove = FALSE;
    return;
  }
  CRect client;
  GetClientRect(client);
  if (client.PtInRect(point) || m_bCustomizeMode) {
    CPlxToolBar::OnMouseMove(nFlags, point);
    return;
  }
  CPoint screen = point;
  ClientToScreen(&screen);
  if (CPlxToolBar* bar = FindMenuBarAtPoint(screen); bar != nullptr) {
    bar->ScreenToClient(&screen);
    bar->SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(screen.x, screen.y));
  }
}
