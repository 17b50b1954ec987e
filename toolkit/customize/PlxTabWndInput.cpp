// The tab window's mouse and keyboard: activation, hover, label editing, dragging tabs, the tabs
// menu, the shared scroll bar of the flat row and the notifications to the parent.
#include <algorithm>
#include <map>
#include <vector>

#include "platform/comctl/AfxControls.h"
#include "platform/comctl/Header.h"
#include "platform/comctl/ListView.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxTabWnd.h"

extern std::map<UINT, HICON> g_tabMenuIcons;

namespace {

// Set while the shared scroll bar forwards a scroll to the active window; one for all tab windows.
BOOL g_bForwardingHScroll = FALSE;  // UI thread only

}  // namespace

int CPlxTabWnd::GetTabFromPoint(CPoint pt) const {
  if (!m_rectTabsArea.PtInRect(pt)) return -1;
  if (!m_bSlanted && !m_bSlantedCompact && !m_bTrapezoid) {
    for (int i = 0; i < m_nTabsNum; ++i)
      if (m_tabs[i]->m_bVisible && m_tabs[i]->m_rect.PtInRect(pt)) return i;
    return -1;
  }
  // Overlapping tabs: the active one lies on top, except for the corner under its left neighbour.
  if (m_iActiveTab >= 0 && m_tabs[m_iActiveTab]->m_bVisible && m_tabs[m_iActiveTab]->m_rect.PtInRect(pt)) {
    const CRect& r = m_tabs[m_iActiveTab]->m_rect;
    const int h = r.Height();
    const int dx = pt.x - r.left, dy = pt.y - r.top;
    if (m_iActiveTab > 0 && pt.x < r.left + h && dx * dx + dy * dy < h * h / 2)
      for (int i = m_iActiveTab - 1; i >= 0; --i)
        if (m_tabs[i]->m_bVisible) return i;
    return m_iActiveTab;
  }
  for (int i = 0; i < m_nTabsNum; ++i)
    if (m_tabs[i]->m_bVisible && m_tabs[i]->m_rect.PtInRect(pt)) return i;
  return -1;
}

CWnd* CPlxTabWnd::GetForwardTarget(CPoint pt) const {
  if (pt.y < m_nTabsHeight) return nullptr;
  for (const auto& tab : m_tabs)
    if (tab->m_bVisible && tab->m_rect.PtInRect(pt)) return nullptr;
  return GetParent();
}

void CPlxTabWnd::ForwardMouse(UINT message, UINT nFlags, CPoint point) {
  CWnd* target = GetForwardTarget(point);
  if (target == nullptr || target->GetSafeHwnd() == nullptr) return;
  MapWindowPoints(target, &point, 1);
  target->SendMessage(message, nFlags, MAKELPARAM(point.x, point.y));
}

void CPlxTabWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDown(nFlags, point);
  if (!m_rectSplitter.IsRectEmpty() && m_rectSplitter.PtInRect(point)) {
    m_bSplitterDragging = TRUE;
    SetCapture();
    return;
  }
  const int tab = GetTabFromPoint(point);
  if (tab >= 0) {
    const BOOL inRow = m_rectTabsArea.PtInRect(point);
    if (tab != m_iActiveTab && inRow) {
      m_iHotTab = -1;
      ::ReleaseCapture();
      const int before = m_iActiveTab;
      SetActiveTab(tab);
      if (CWnd* parent = GetParent())
        parent->SendMessage(PlxM_ONCHANGE_ACTIVE_TAB, static_cast<WPARAM>(tab), static_cast<LPARAM>(before));
    }
    if (m_bMoveEnabled && inRow) {
      SetCapture();
      m_iMoveFrom = m_iMoveTo = tab;
      m_bMoving = TRUE;
    }
    return;
  }
  ForwardMouse(WM_LBUTTONDOWN, nFlags, point);
}

void CPlxTabWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDblClk(nFlags, point);
  const int tab = GetTabFromPoint(point);
  if (tab >= 0 && StartRenameTab(tab)) return;
  ForwardMouse(WM_LBUTTONDBLCLK, nFlags, point);
}

void CPlxTabWnd::EndDrag() {
  if (!m_bMoving) return;
  if (GetSafeHwnd() != nullptr) {
    KillTimer(kTimerScrollLeft);
    KillTimer(kTimerScrollRight);
  }
  if (::GetCapture() == GetSafeHwnd() && GetSafeHwnd() != nullptr) ::ReleaseCapture();
  m_bMoving = FALSE;
}

void CPlxTabWnd::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bSplitterDragging) {
    m_bSplitterDragging = FALSE;
    ::ReleaseCapture();
  }
  if (m_bMoving) {
    KillTimer(kTimerScrollLeft);
    KillTimer(kTimerScrollRight);
    ::ReleaseCapture();
    const int from = m_iMoveFrom, to = m_iMoveTo;
    m_bMoving = FALSE;
    // Dropping on the tab's own right half gives from + 1: the tab would stay where it is.
    if (to != from && to != from + 1 && from >= 0 && from < m_nTabsNum && to >= 0 && to <= m_nTabsNum) {
      CWnd* parent = GetParent();
      const LRESULT refused =
          parent != nullptr ? parent->SendMessage(PlxM_ON_BEFOREMOVE_TAB, static_cast<WPARAM>(from), to) : 0;
      if (refused == 0 && from < m_nTabsNum) {
        std::unique_ptr<CPlxTabInfo> tab = std::move(m_tabs[from]);
        // Insert first, then drop the emptied slot: its index moved by one when it lay after.
        m_tabs.insert(m_tabs.begin() + to, std::move(tab));
        m_tabs.erase(m_tabs.begin() + (from < to ? from : from + 1));
        m_iActiveTab = from < to ? to - 1 : to;
        if (parent != nullptr) parent->SendMessage(PlxM_ON_MOVE_TAB, static_cast<WPARAM>(from), to);
        AdjustTabs();
      }
    }
    InvalidateRect(m_rectTabsArea);
    UpdateWindow();
  }
  CWnd::OnLButtonUp(nFlags, point);
}

void CPlxTabWnd::OnMouseMove(UINT nFlags, CPoint point) {
  CWnd::OnMouseMove(nFlags, point);
  if (m_bSplitterDragging) {
    const int arrows = 2 * ::GetSystemMetrics(SM_CXHSCROLL);
    const int width =
        std::max(arrows, std::min(m_nScrollBarRight - point.x, m_nScrollBarRight - m_rectTabsArea.left - 5));
    const CRect old = m_rectSplitter;
    m_nScrollBarWidth = width;
    LayoutScrollBar();
    if (m_rectSplitter.left > old.left) {
      CRect strip(old.left - 20, old.top, m_rectSplitter.left, old.bottom);
      strip.InflateRect(0, m_nBorderSize, 0, m_nBorderSize + 1);
      InvalidateRect(strip);
    }
    CRect now = m_rectSplitter;
    now.InflateRect(0, m_nBorderSize, 0, m_nBorderSize + 1);
    InvalidateRect(now);
    UpdateWindow();
    AdjustScrollOffset();
    return;
  }
  if (m_bMoving) {
    if (point.x < m_rectTabsArea.left) {
      KillTimer(kTimerScrollRight);
      SetTimer(kTimerScrollLeft, 250, nullptr);
    } else if (point.x >= m_rectTabsArea.right) {
      KillTimer(kTimerScrollLeft);
      SetTimer(kTimerScrollRight, 250, nullptr);
    } else {
      KillTimer(kTimerScrollLeft);
      KillTimer(kTimerScrollRight);
      for (int i = 0; i < m_nTabsNum; ++i) {
        const CPlxTabInfo& tab = *m_tabs[i];
        if (!tab.m_bVisible || !tab.m_rect.PtInRect(point)) continue;
        const BOOL leftHalf = point.x < tab.m_rect.left + tab.m_rect.Width() / 2;
        const int drop = leftHalf ? i : i + 1;
        if (drop == m_iMoveTo) continue;
        m_iMoveTo = drop;
        InvalidateRect(m_rectTabsArea);
        UpdateWindow();
        break;
      }
    }
    return;
  }
  if (!m_bFlat) {
    CPlxVisualManager* vm = CPlxVisualManager::GetInstance();
    if (vm->IsHighlightTabsOnHover()) m_bHighlightOnHover = TRUE;
    if (m_bSlanted && !vm->IsHighlight3DTabsOnHover()) m_bHighlightOnHover = FALSE;
  }
  const int hot = GetTabFromPoint(point);
  if (hot == m_iHotTab) return;
  const int old = m_iHotTab;
  m_iHotTab = hot;
  if (!m_bHighlightOnHover) return;
  if (old < 0 && hot >= 0)
    SetCapture();
  else if (hot < 0 && ::GetCapture() == GetSafeHwnd())
    ::ReleaseCapture();
  InvalidateTab(hot);
  InvalidateTab(old);
}

void CPlxTabWnd::OnCancelMode() {
  CWnd::OnCancelMode();
  if (m_bSplitterDragging) {
    m_bSplitterDragging = FALSE;
    ::ReleaseCapture();
  }
  CloseRenameEdit();
  EndDrag();
  if (m_iHotTab >= 0) {
    const int old = m_iHotTab;
    m_iHotTab = -1;
    InvalidateTab(old);
  }
}

void CPlxTabWnd::OnTimer(UINT_PTR nIDEvent) {
  CPlxTabButton* button = nIDEvent == kTimerScrollLeft    ? m_pBtnLeft
                          : nIDEvent == kTimerScrollRight ? m_pBtnRight
                                                          : nullptr;
  if (nIDEvent != kTimerScrollLeft && nIDEvent != kTimerScrollRight) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  if (button != nullptr && button->GetSafeHwnd() != nullptr)
    OnCommand(MAKEWPARAM(::GetDlgCtrlID(button->GetSafeHwnd()), BN_CLICKED),
              reinterpret_cast<LPARAM>(button->GetSafeHwnd()));
}

BOOL CPlxTabWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_pRenameEdit != nullptr) {
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rect;
    m_pRenameEdit->GetWindowRect(rect);
    if (rect.PtInRect(pt)) {
      ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
      return TRUE;
    }
  } else if (m_bFlat && !m_rectSplitter.IsRectEmpty()) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (m_rectSplitter.PtInRect(pt) && g_plxGlobalData.hcurStretch != nullptr) {
      ::SetCursor(g_plxGlobalData.hcurStretch);
      return TRUE;
    }
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

// ---- Label editing.

BOOL CPlxTabWnd::IsTabLabelValid(int, const CString&) const {
  return TRUE;
}

BOOL CPlxTabWnd::StartRenameTab(int iTab) {
  if (!m_bRenameEnabled || iTab < 0 || iTab >= m_nTabsNum || GetSafeHwnd() == nullptr) return FALSE;
  EndDrag();
  CloseRenameEdit();
  // With hidden overflow EnsureVisible may move the tab to the front: follow its record.
  const CPlxTabInfo* record = m_tabs[iTab].get();
  EnsureVisible(iTab);
  for (int i = 0; i < m_nTabsNum; ++i)
    if (m_tabs[i].get() == record) iTab = i;
  CRect rect = m_tabs[iTab]->m_rect;
  rect.DeflateRect(m_nTabsHeight / 2, 1);
  auto* edit = new CEdit;
  if (!edit->Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rect, this, static_cast<UINT>(-1))) {
    delete edit;
    return FALSE;
  }
  m_pRenameEdit = edit;
  edit->SetWindowText(m_tabs[iTab]->m_strLabel);
  edit->SetFont(&g_plxGlobalData.fontRegular);
  edit->SetSel(0, -1);
  edit->SetFocus();
  m_iRenameTab = iTab;
  SetCapture();
  ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
  return TRUE;
}

BOOL CPlxTabWnd::EndRenameTab() {
  if (m_pRenameEdit == nullptr || m_iRenameTab < 0 || m_iRenameTab >= m_nTabsNum) return FALSE;
  CString label;
  m_pRenameEdit->GetWindowText(label);
  if (label.IsEmpty() || !IsTabLabelValid(m_iRenameTab, label)) return FALSE;
  CWnd* parent = GetParent();
  const LRESULT refused = parent != nullptr
                              ? parent->SendMessage(PlxM_ON_RENAME_TAB, static_cast<WPARAM>(m_iRenameTab),
                                                    reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(label)))
                              : 0;
  if (refused != 0) return FALSE;
  return SetTabLabel(m_iRenameTab, label);
}

void CPlxTabWnd::CloseRenameEdit() {
  if (m_pRenameEdit == nullptr) return;
  CEdit* edit = m_pRenameEdit;
  m_pRenameEdit = nullptr;
  m_iRenameTab = -1;
  const BOOL hadFocus = edit->GetSafeHwnd() != nullptr && ::GetFocus() == edit->GetSafeHwnd();
  if (edit->GetSafeHwnd() != nullptr) edit->DestroyWindow();
  delete edit;
  // The keys go back to the active tab's window (or the row): a destroyed edit leaves no focus.
  if (hadFocus && GetSafeHwnd() != nullptr) {
    CWnd* active = GetActiveWnd();
    if (active != nullptr && active->GetSafeHwnd() != nullptr && active->IsWindowVisible())
      active->SetFocus();
    else
      SetFocus();
  }
  if (GetSafeHwnd() != nullptr && ::GetCapture() == GetSafeHwnd()) ::ReleaseCapture();
}

BOOL CPlxTabWnd::PreTranslateMessage(MSG* pMsg) {
  const UINT msg = pMsg->message;
  if (m_pRenameEdit != nullptr) {
    if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) {
      if (msg == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        if (!EndRenameTab()) {
          ::MessageBeep(static_cast<UINT>(-1));
          return TRUE;
        }
        CloseRenameEdit();
        return TRUE;
      }
      if (msg == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        CloseRenameEdit();
        return TRUE;
      }
      return FALSE;
    }
    if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) {
      CPoint pt;
      ::GetCursorPos(&pt);
      CRect rect;
      m_pRenameEdit->GetWindowRect(rect);
      if (rect.PtInRect(pt)) {
        m_pRenameEdit->ScreenToClient(&pt);
        m_pRenameEdit->SendMessage(msg, pMsg->wParam, MAKELPARAM(pt.x, pt.y));
        return TRUE;
      }
      if (msg == WM_MOUSEMOVE) return TRUE;
      if (!EndRenameTab()) {
        ::MessageBeep(static_cast<UINT>(-1));
        return TRUE;
      }
      CloseRenameEdit();
      return TRUE;
    }
    return FALSE;
  }

  if (msg == WM_KEYDOWN && m_iActiveTab >= 0 && (::GetKeyState(VK_CONTROL) & 0x8000) &&
      (pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT)) {
    const int step = pMsg->wParam == VK_NEXT ? 1 : -1;
    int next = m_iActiveTab;
    for (int n = 1; n < m_nTabsNum; ++n) {
      const int i = ((m_iActiveTab + step * n) % m_nTabsNum + m_nTabsNum) % m_nTabsNum;
      if (m_tabs[i]->m_bVisible) {
        next = i;
        break;
      }
    }
    if (next == m_iActiveTab) return TRUE;
    const int before = m_iActiveTab;
    SetActiveTab(next);
    if (CWnd* wnd = GetActiveWnd(); wnd != nullptr && wnd->GetSafeHwnd() != nullptr) wnd->SetFocus();
    if (CWnd* parent = GetParent())
      parent->SendMessage(PlxM_ONCHANGE_ACTIVE_TAB, static_cast<WPARAM>(next), static_cast<LPARAM>(before));
    return TRUE;
  }

  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_SYSKEYDOWN:
    case WM_KEYDOWN:
      if (m_pToolTip && m_pToolTip->GetSafeHwnd() != nullptr) m_pToolTip->RelayEvent(pMsg);
      break;
    default:
      break;
  }
  return CWnd::PreTranslateMessage(pMsg);
}

// ---- The tabs menu.

namespace {

CString DoubleSingleAmpersands(const CString& label) {
  CString out;
  const int n = label.GetLength();
  for (int i = 0; i < n; ++i) {
    const char c = label[i];
    if (c == '&' && i + 1 < n && label[i + 1] == '&') {
      out += "&&";
      ++i;
    } else if (c == '&') {
      out += "&&";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

BOOL CPlxTabWnd::ShowTabsMenu(int x, int y) {
  if (g_pContextMenuManager == nullptr) return FALSE;
  HMENU menu = ::CreatePopupMenu();
  if (menu == nullptr) return FALSE;
  std::vector<CString> texts;
  for (int i = 0; i < m_nTabsNum; ++i) {
    const CPlxTabInfo& tab = *m_tabs[i];
    if (!tab.m_bVisible) continue;
    const CString text = DoubleSingleAmpersands(tab.m_strLabel);
    const UINT id = static_cast<UINT>(-(i + 100));
    // Kept sorted without regard to case.
    size_t at = 0;
    while (at < texts.size() && texts[at].CompareNoCase(text) <= 0) ++at;
    if (at < texts.size())
      ::InsertMenu(menu, static_cast<UINT>(at), MF_BYPOSITION | MF_STRING, id, text);
    else
      ::AppendMenu(menu, MF_STRING, id, text);
    texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(at), text);
    if (tab.m_pWnd != nullptr && tab.m_pWnd->GetSafeHwnd() != nullptr) {
      HICON icon = reinterpret_cast<HICON>(tab.m_pWnd->SendMessage(WM_GETICON, ICON_SMALL, 0));
      if (icon == nullptr)
        icon = reinterpret_cast<HICON>(::GetClassLongPtr(tab.m_pWnd->GetSafeHwnd(), GCLP_HICONSM));
      g_tabMenuIcons[id] = icon;
    }
  }
  const int cmd = static_cast<int>(g_pContextMenuManager->TrackPopupMenu(menu, x, y, this));
  if (cmd <= -100 && -cmd - 100 < m_nTabsNum) SetActiveTab(-cmd - 100);
  g_tabMenuIcons.clear();
  ::DestroyMenu(menu);
  return TRUE;
}

// ---- The flat row's shared scroll bar.

void CPlxTabWnd::HideActiveWndScrollBar() {
  if (!m_bSharedScrollBar) return;
  CWnd* wnd = GetActiveWnd();
  if (wnd == nullptr || wnd->GetSafeHwnd() == nullptr) return;
  wnd->ShowScrollBar(SB_HORZ, FALSE);
  wnd->ModifyStyle(WS_HSCROLL, 0, SWP_DRAWFRAME);
}

void CPlxTabWnd::LayoutScrollBar() {
  if (!m_bSharedScrollBar || !m_pScrollBar || m_pScrollBar->GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(client);
  CRect bar = m_rectTabsArea;
  bar.top = std::max(bar.top, client.top + 2);
  bar.bottom = std::min(bar.bottom, client.bottom - 2);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
  if (IsTabRowHidden() || m_rectTabsArea.Height() == 0) {
    m_rectSplitter.SetRectEmpty();
    return;
  }
  if (m_nScrollBarWidth < 2 * ::GetSystemMetrics(SM_CXHSCROLL)) {
    m_rectSplitter.SetRectEmpty();
    m_pScrollBar->SetWindowPos(nullptr, 0, 0, 0, 0, flags);
    return;
  }
  bar.left = m_nScrollBarRight - m_nScrollBarWidth;
  bar.right = m_nScrollBarRight;
  m_rectSplitter = CRect(bar.left - 5, bar.top, bar.left, bar.bottom);
  if (m_location == LOCATION_BOTTOM) m_rectSplitter.top++;
  int lastRight = client.left;
  if (m_pBtnLast != nullptr && m_pBtnLast->GetSafeHwnd() != nullptr) {
    CRect r;
    m_pBtnLast->GetWindowRect(r);
    ScreenToClient(r);
    lastRight = r.right;
  }
  if (m_rectSplitter.left < lastRight)
    m_rectSplitter.SetRectEmpty();
  else
    m_rectTabsArea.right = m_rectSplitter.left;
  if (bar.left < lastRight) bar.SetRectEmpty();
  m_pScrollBar->SetWindowPos(nullptr, bar.left, bar.top, bar.Width(), bar.Height(), flags);
}

BOOL CPlxTabWnd::SyncScrollBar(const SCROLLINFO* pInfo) {
  if (!m_bSharedScrollBar) return FALSE;
  if (!m_pScrollBar || m_pScrollBar->GetSafeHwnd() == nullptr) return TRUE;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  CWnd* wnd = GetActiveWnd();
  BOOL has = FALSE;
  if (pInfo != nullptr) {
    info = *pInfo;
    has = TRUE;
  } else if (wnd != nullptr && wnd->GetSafeHwnd() != nullptr) {
    has = ::GetScrollInfo(wnd->GetSafeHwnd(), SB_HORZ, &info);
  }
  if (!has || info.nMin + static_cast<int>(info.nPage) >= info.nMax) {
    m_pScrollBar->EnableScrollBar(ESB_DISABLE_BOTH);
    return TRUE;
  }
  m_pScrollBar->EnableScrollBar(ESB_ENABLE_BOTH);
  m_pScrollBar->SetScrollInfo(&info, TRUE);
  HideActiveWndScrollBar();
  return TRUE;
}

void CPlxTabWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (!m_bFlat || pScrollBar == nullptr || !m_pScrollBar ||
      pScrollBar->GetSafeHwnd() != m_pScrollBar->GetSafeHwnd()) {
    CWnd::OnHScroll(nSBCode, nPos, pScrollBar);
    return;
  }
  CWnd* wnd = GetActiveWnd();
  if (wnd == nullptr || wnd->GetSafeHwnd() == nullptr || g_bForwardingHScroll) return;
  g_bForwardingHScroll = TRUE;
  const WPARAM wParam = MAKEWPARAM(nSBCode, nPos);
  if (m_tabs[m_iActiveTab]->m_bIsListView && (nSBCode == SB_THUMBPOSITION || nSBCode == SB_THUMBTRACK)) {
    const int current = ::GetScrollPos(wnd->GetSafeHwnd(), SB_HORZ);
    wnd->SendMessage(LVM_SCROLL, static_cast<WPARAM>(static_cast<int>(nPos) - current), 0);
  }
  wnd->SendMessage(WM_HSCROLL, wParam, 0);
  g_bForwardingHScroll = FALSE;
  m_pScrollBar->SetScrollPos(::GetScrollPos(wnd->GetSafeHwnd(), SB_HORZ));
  HideActiveWndScrollBar();
  if (CWnd* parent = GetParent()) parent->SendMessage(PlxM_ON_HSCROLL, wParam, 0);
}

BOOL CPlxTabWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const BOOL result = CWnd::OnNotify(wParam, lParam, pResult);
  const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
  if (hdr == nullptr) return result;
  if (hdr->code == TTN_SHOW && m_pToolTip && hdr->hwndFrom == m_pToolTip->GetSafeHwnd())
    m_pToolTip->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (hdr->code == HDN_ITEMCHANGED) SyncScrollBar();
  return result;
}
