#include "toolkit/customize/PlxTasksPaneToolBar.h"

#include <algorithm>

#include "platform/mfc/AfxRes.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/customize/PlxTasksPane.h"

IMPLEMENT_SERIAL(CPlxTasksPaneHistoryButton, CPlxToolbarMenuButton, 1)
IMPLEMENT_SERIAL(CPlxTasksPaneToolbarMenuButton, CPlxToolbarMenuButton, 1)
IMPLEMENT_SERIAL(CPlxTasksPaneToolBar, CPlxToolBar, 1)
IMPLEMENT_DYNAMIC(CPlxTasksPaneMenuButton, CPlxMenuButton)

// ---- History buttons.

CPlxTasksPaneHistoryButton::CPlxTasksPaneHistoryButton() {
  m_iImage = -1;
}

CPlxTasksPaneHistoryButton::CPlxTasksPaneHistoryButton(UINT uiID, int iImage, LPCTSTR lpszText)
    : CPlxToolbarMenuButton(uiID, nullptr, iImage, lpszText) {}

// Told the pane, the button keeps the toolbar as its window: only the history's owner changes.
void CPlxTasksPaneHistoryButton::OnChangeParentWnd(CWnd* pWndParent) {
  if (auto* pane = dynamic_cast<CPlxTasksPane*>(pWndParent); pane != nullptr) {
    m_pPane = pane;
    m_pWndMessage = pane;  // the drop-down's choice goes to the pane
    return;
  }
  CPlxToolbarMenuButton::OnChangeParentWnd(pWndParent);
  // Split on a toolbar even while its list is still empty: the list fills later.
  if (pWndParent != nullptr && !m_bMenuItem) m_bArrowPart = TRUE;
  m_pPane = nullptr;
  m_pWndMessage = nullptr;
}

void CPlxTasksPaneHistoryButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarMenuButton::CopyFrom(src);
  if (const auto* other = dynamic_cast<const CPlxTasksPaneHistoryButton*>(&src); other != nullptr) {
    m_lstPages.RemoveAll();
    m_lstPages.AddTail(&other->m_lstPages);
  }
  // A copy has no pane until one tells it: it could outlive the pane of the original.
  m_pPane = nullptr;
  m_pWndMessage = nullptr;
}

BOOL CPlxTasksPaneHistoryButton::OpenPopupMenu(CWnd* pWnd) {
  // A choice is only this drop-down's when the popup records it while this one is open.
  CPlxPopupMenuBar::m_iLastCommandIndex = -1;
  m_nChosen = -1;
  m_bOpened = CPlxToolbarMenuButton::OpenPopupMenu(pWnd);
  return m_bOpened;
}

// The popup calls this when it goes, after it stored the index of the item chosen (if any).
void CPlxTasksPaneHistoryButton::OnCancelMode() {
  CPlxToolbarMenuButton::OnCancelMode();
  if (m_bOpened && m_pPopupMenu == nullptr) {
    m_bOpened = FALSE;
    m_nChosen = CPlxPopupMenuBar::m_iLastCommandIndex;
  }
}

int CPlxTasksPaneHistoryButton::TakeChosenEntry() {
  const int chosen = m_nChosen;
  m_nChosen = -1;
  return chosen;
}

// ---- The toolbar's pages-menu button.

CPlxTasksPaneToolbarMenuButton::CPlxTasksPaneToolbarMenuButton(HMENU hMenu, LPCTSTR lpszText)
    : CPlxToolbarMenuButton((UINT)-1, hMenu, -1, lpszText) {
  m_bText = TRUE;
  m_bImage = FALSE;
}

void CPlxTasksPaneToolbarMenuButton::OnChangeParentWnd(CWnd* pWndParent) {
  if (auto* pane = dynamic_cast<CPlxTasksPane*>(pWndParent); pane != nullptr) {
    m_pPane = pane;
    m_pWndMessage = pane;
    return;
  }
  CPlxToolbarMenuButton::OnChangeParentWnd(pWndParent);
  m_bText = TRUE;
  m_bImage = FALSE;
  m_pPane = nullptr;
  m_pWndMessage = nullptr;
}

void CPlxTasksPaneToolbarMenuButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarMenuButton::CopyFrom(src);
  m_pPane = nullptr;
  m_pWndMessage = nullptr;
}

HMENU CPlxTasksPaneToolbarMenuButton::GetMenu() {
  return m_pPane != nullptr ? m_pPane->BuildPagesMenu() : nullptr;
}

// The drop-down lists the pages as they are now, whatever changed since the last rebuild.
BOOL CPlxTasksPaneToolbarMenuButton::OpenPopupMenu(CWnd* pWnd) {
  if (HMENU menu = GetMenu(); menu != nullptr) {
    CreateFromMenu(menu);
    ::DestroyMenu(menu);
  }
  return CPlxToolbarMenuButton::OpenPopupMenu(pWnd);
}

// Placed as the chevron's popup is; the choice goes to the pane (the opener hands the popup
// m_pWndMessage once the popup exists).
CPlxPopupMenu* CPlxTasksPaneToolbarMenuButton::CreatePopupMenu() {
  CPlxPopupMenu* popup = CPlxToolbarMenuButton::CreatePopupMenu();
  if (popup != nullptr) popup->SetRightAlign(TRUE);
  return popup;
}

// ---- The toolbar.

BEGIN_MESSAGE_MAP(CPlxTasksPaneToolBar, CPlxToolBar)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

void CPlxTasksPaneToolBar::AdjustLocations() {
  CPlxToolBar::AdjustLocations();
  if (GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(client);
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (dynamic_cast<CPlxTasksPaneToolbarMenuButton*>(button) != nullptr) {
      // The pages button takes the rest of the row, at least three times its height.
      CRect rect = button->m_rect;
      rect.right = std::max<LONG>(client.right - 1, rect.left + 3 * rect.Height());
      if (rect != button->m_rect) {
        button->m_rect = rect;
        button->OnMove();
      }
    } else if (button->GetImage() == 3 && !button->m_bIsHidden) {
      // Close belongs to the pane's caption; on this bar it never shows.
      button->m_bIsHidden = TRUE;
      button->Show(FALSE);
    }
  }
}

BOOL CPlxTasksPaneToolBar::GetFrameToolTipText(CPlxToolbarButton* pButton, CString& strTTText) const {
  if (pButton == nullptr) return CPlxToolBar::GetFrameToolTipText(pButton, strTTText);
  if (dynamic_cast<CPlxTasksPaneToolbarMenuButton*>(pButton) != nullptr) {
    if (!strTTText.LoadString(CPlxTasksPane::kPagesMenuTipString)) strTTText = pButton->m_strText;
  } else {
    strTTText = pButton->m_strText;
    strTTText.Remove('&');
  }
  return TRUE;
}

void CPlxTasksPaneToolBar::DelayShow(BOOL bShow) {
  m_nPendingShow = bShow ? 1 : 0;
}

void CPlxTasksPaneToolBar::Detach() {
  for (int i = 0; i < GetCount(); ++i) {
    CPlxToolbarButton* button = GetButton(i);
    if (auto* menu = dynamic_cast<CPlxToolbarMenuButton*>(button); menu != nullptr && menu->IsDroppedDown())
      menu->OnCancelMode();
    if (auto* history = dynamic_cast<CPlxTasksPaneHistoryButton*>(button); history != nullptr) {
      history->m_pPane = nullptr;
      history->m_pWndMessage = nullptr;
      history->ForgetChoice();
    } else if (auto* pages = dynamic_cast<CPlxTasksPaneToolbarMenuButton*>(button); pages != nullptr) {
      pages->m_pPane = nullptr;
      pages->m_pWndMessage = nullptr;
    }
  }
}

LRESULT CPlxTasksPaneToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (m_nPendingShow >= 0) {
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (m_nPendingShow != 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    m_nPendingShow = -1;
  }
  if (!IsWindowVisible()) return 0;
  if (m_pDockSite != nullptr && !m_pDockSite->IsWindowVisible()) return 0;
  CWnd* target = GetOwner();
  if (target == nullptr) target = GetParent();
  if (target != nullptr) OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(target), static_cast<BOOL>(wParam));
  return 0;
}

// ---- The caption's pages-menu button.

void CPlxTasksPaneMenuButton::ShowMenu() {
  if (m_hMenu == nullptr || m_bMenuIsOpen) return;
  // Every page item carries the same command: a copy numbered by position tells them apart.
  HMENU pages = m_hMenu;
  HMENU numbered = ::CreatePopupMenu();
  const int count = ::GetMenuItemCount(pages);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    ::GetMenuString(pages, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
    const UINT state = ::GetMenuState(pages, static_cast<UINT>(i), MF_BYPOSITION);
    ::AppendMenu(numbered, MF_STRING | (state & MF_CHECKED), static_cast<UINT_PTR>(i + 1), text);
  }
  m_hMenu = numbered;
  const HWND self = GetSafeHwnd();
  CPlxMenuButton::ShowMenu();
  ::DestroyMenu(numbered);
  // The pane may have handed over a new pages menu while handling the choice.
  if (::IsWindow(self) && m_hMenu == numbered) m_hMenu = pages;
}

int CPlxTasksPaneMenuButton::GetChosenPage() const {
  return m_nMenuResult >= 1 ? static_cast<int>(m_nMenuResult) - 1 : -1;
}
