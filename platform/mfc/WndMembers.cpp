// CWnd's thin members over the window layer's functions.
#include <algorithm>
#include <vector>

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"

DWORD CWnd::GetStyle() const {
  return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
  return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE));
}

namespace {

BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT flags) {
  const DWORD style = static_cast<DWORD>(::GetWindowLong(hWnd, index));
  const DWORD newStyle = (style & ~remove) | add;
  if (style == newStyle) return FALSE;
  ::SetWindowLong(hWnd, index, static_cast<LONG>(newStyle));
  if (flags)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyLong(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyLong(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
  ::SetWindowText(m_hWnd, lpszString);
}
int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
  return ::GetWindowText(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
  const int length = ::GetWindowTextLength(m_hWnd);
  ::GetWindowText(m_hWnd, rString.GetBuffer(length), length + 1);
  rString.ReleaseBuffer();
}
int CWnd::GetWindowTextLength() const {
  return ::GetWindowTextLength(m_hWnd);
}
void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), bRedraw);
}
CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

CMenu* CWnd::GetMenu() const {
  return CMenu::FromHandle(::GetMenu(m_hWnd));
}
BOOL CWnd::SetMenu(CMenu* pMenu) {
  return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu());
}
void CWnd::DrawMenuBar() {
  ::DrawMenuBar(m_hWnd);
}
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
  return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::IsIconic() const {
  return ::IsIconic(m_hWnd);
}
BOOL CWnd::IsZoomed() const {
  return ::IsZoomed(m_hWnd);
}
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
  ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
  MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
}
void CWnd::BringWindowToTop() {
  ::BringWindowToTop(m_hWnd);
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
  ::GetWindowRect(m_hWnd, lpRect);
}
void CWnd::GetClientRect(LPRECT lpRect) const {
  ::GetClientRect(m_hWnd, lpRect);
}
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const {
  return ::GetWindowPlacement(m_hWnd, lpwndpl);
}
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) {
  return ::SetWindowPlacement(m_hWnd, lpwndpl);
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const {
  ::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ClientToScreen(LPRECT lpRect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const {
  ::ScreenToClient(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPRECT lpRect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
  ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  const DWORD style = GetStyle();
  HWND center = pAlternateOwner->GetSafeHwnd();
  if (!center) {
    center = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (center) {
      // The owner may name another window to centre on.
      auto alternate = reinterpret_cast<HWND>(::SendMessage(center, WM_QUERYCENTERWND, 0, 0));
      if (alternate) center = alternate;
    }
  }
  RECT dialog{};
  GetWindowRect(&dialog);
  RECT area{};
  RECT around{};
  if (!(style & WS_CHILD)) {
    if (center) {
      const DWORD centerStyle = static_cast<DWORD>(::GetWindowLong(center, GWL_STYLE));
      if (!(centerStyle & WS_VISIBLE) || (centerStyle & WS_MINIMIZE)) center = nullptr;
    }
    const SIZE desktop = pictavo::gdi::DesktopSize();
    area = RECT{0, 0, desktop.cx, desktop.cy};
    if (center)
      ::GetWindowRect(center, &around);
    else
      around = area;
  } else {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    if (!center) center = parent;
    ::GetClientRect(center, &around);
    ::MapWindowPoints(center, parent, reinterpret_cast<LPPOINT>(&around), 2);
  }
  const int width = dialog.right - dialog.left;
  const int height = dialog.bottom - dialog.top;
  int x = (around.left + around.right) / 2 - width / 2;
  int y = (around.top + around.bottom) / 2 - height / 2;
  if (x + width > area.right) x = area.right - width;
  if (x < area.left) x = area.left;
  if (y + height > area.bottom) y = area.bottom - height;
  if (y < area.top) y = area.top;
  SetWindowPos(nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  DWORD exStyle = GetExStyle();
  if (nAdjustType == 0) exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, exStyle);
}

int CWnd::SetWindowRgn(HRGN hRgn, BOOL bRedraw) {
  return ::SetWindowRgn(m_hWnd, hRgn, bRedraw);
}
int CWnd::GetWindowRgn(HRGN hRgn) const {
  return ::GetWindowRgn(m_hWnd, hRgn);
}

CWnd* CWnd::GetParent() const {
  return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
  return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd()));
}
// A child's owner is only the framework's note (whom it reports to): setting the window's
// owner field of a child would move it to another parent.
static constexpr char kChildOwner[] = "PictavoChildOwner";

CWnd* CWnd::GetOwner() const {
  if (::GetWindowLong(m_hWnd, GWL_STYLE) & WS_CHILD) {
    if (HWND owner = static_cast<HWND>(::GetProp(m_hWnd, kChildOwner)); owner && ::IsWindow(owner))
      return FromHandle(owner);
  }
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  return FromHandle(owner ? owner : ::GetParent(m_hWnd));
}
void CWnd::SetOwner(CWnd* pOwnerWnd) {
  HWND owner = pOwnerWnd->GetSafeHwnd();
  if (::GetWindowLong(m_hWnd, GWL_STYLE) & WS_CHILD) {
    if (owner)
      ::SetProp(m_hWnd, kChildOwner, owner);
    else
      ::RemoveProp(m_hWnd, kChildOwner);
    return;
  }
  ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}
CWnd* CWnd::GetTopLevelParent() const {
  if (!GetSafeHwnd()) return nullptr;
  HWND hWnd = m_hWnd;
  for (HWND parent; (parent = ::GetParent(hWnd)) != nullptr;) hWnd = parent;
  return FromHandle(hWnd);
}
CWnd* CWnd::GetTopLevelOwner() const {
  if (!GetSafeHwnd()) return nullptr;
  HWND hWnd = m_hWnd;
  for (HWND owner; (owner = ::GetWindow(hWnd, GW_OWNER)) != nullptr;) hWnd = owner;
  return FromHandle(hWnd);
}
CWnd* CWnd::GetParentOwner() const {
  if (!GetSafeHwnd()) return nullptr;
  HWND hWnd = m_hWnd;
  while (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) {
    HWND parent = ::GetParent(hWnd);
    if (!parent) break;
    hWnd = parent;
  }
  return FromHandle(hWnd);
}
CWnd* CWnd::GetWindow(UINT nCmd) const {
  return FromHandle(::GetWindow(m_hWnd, nCmd));
}
CWnd* CWnd::GetNextWindow(UINT nFlag) const {
  return FromHandle(::GetNextWindow(m_hWnd, nFlag));
}
CWnd* CWnd::GetTopWindow() const {
  return FromHandle(::GetTopWindow(m_hWnd));
}
CWnd* CWnd::GetLastActivePopup() const {
  return FromHandle(::GetLastActivePopup(m_hWnd));
}
BOOL CWnd::IsChild(const CWnd* pWnd) const {
  return ::IsChild(m_hWnd, pWnd->GetSafeHwnd());
}

namespace {

HWND FindDescendant(HWND parent, int id, BOOL onlyPermanent) {
  for (HWND child = ::GetTopWindow(parent); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    if (::GetDlgCtrlID(child) == id && (!onlyPermanent || CWnd::FromHandlePermanent(child))) return child;
  for (HWND child = ::GetTopWindow(parent); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    if (HWND found = FindDescendant(child, id, onlyPermanent)) return found;
  return nullptr;
}

}  // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  HWND found = FindDescendant(m_hWnd, nID, bOnlyPerm);
  return bOnlyPerm ? FromHandlePermanent(found) : FromHandle(found);
}
CWnd* CWnd::ChildWindowFromPoint(POINT point) const {
  return FromHandle(::ChildWindowFromPoint(m_hWnd, point));
}
CWnd* CWnd::ChildWindowFromPoint(POINT point, UINT nFlags) const {
  return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
}
CWnd* CWnd::WindowFromPoint(POINT point) {
  return FromHandle(::WindowFromPoint(point));
}
CWnd* CWnd::FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
  return FromHandle(::FindWindow(lpszClassName, lpszWindowName));
}
CWnd* CWnd::GetDesktopWindow() {
  return FromHandle(::GetDesktopWindow());
}
CWnd* CWnd::GetDlgItem(int nID) const {
  return FromHandle(::GetDlgItem(m_hWnd, nID));
}
void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
  *phWnd = ::GetDlgItem(m_hWnd, nID);
}
int CWnd::GetDlgCtrlID() const {
  return ::GetDlgCtrlID(m_hWnd);
}
int CWnd::SetDlgCtrlID(int nID) {
  return static_cast<int>(::SetWindowLong(m_hWnd, GWL_ID, nID));
}

BOOL CWnd::IsWindowEnabled() const {
  return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL bEnable) {
  return ::EnableWindow(m_hWnd, bEnable);
}
BOOL CWnd::IsWindowVisible() const {
  return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::ShowWindow(int nCmdShow) {
  return ::ShowWindow(m_hWnd, nCmdShow);
}
CWnd* CWnd::GetActiveWindow() {
  return FromHandle(::GetActiveWindow());
}
CWnd* CWnd::SetActiveWindow() {
  return FromHandle(::SetActiveWindow(m_hWnd));
}
CWnd* CWnd::GetForegroundWindow() {
  return FromHandle(::GetForegroundWindow());
}
BOOL CWnd::SetForegroundWindow() {
  return ::SetForegroundWindow(m_hWnd);
}
CWnd* CWnd::GetCapture() {
  return FromHandle(::GetCapture());
}
CWnd* CWnd::SetCapture() {
  return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetFocus() {
  return FromHandle(::GetFocus());
}
CWnd* CWnd::SetFocus() {
  return FromHandle(::SetFocus(m_hWnd));
}
HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CWnd::GetIcon(BOOL bBigIcon) const {
  return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) {
  return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint));
}
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) {
  ::EndPaint(m_hWnd, lpPaint);
}
CDC* CWnd::GetDC() {
  return CDC::FromHandle(::GetDC(m_hWnd));
}
CDC* CWnd::GetWindowDC() {
  return CDC::FromHandle(::GetWindowDC(m_hWnd));
}
CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags) {
  return CDC::FromHandle(::GetDCEx(m_hWnd, static_cast<HRGN>(prgnClip->GetSafeHandle()), flags));
}
int CWnd::ReleaseDC(CDC* pDC) {
  return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc());
}
void CWnd::UpdateWindow() {
  ::UpdateWindow(m_hWnd);
}
void CWnd::SetRedraw(BOOL bRedraw) {
  SendMessage(WM_SETREDRAW, bRedraw, 0);
}
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) {
  return ::GetUpdateRect(m_hWnd, lpRect, bErase);
}
int CWnd::GetUpdateRgn(CRgn* pRgn, BOOL bErase) {
  return ::GetUpdateRgn(m_hWnd, static_cast<HRGN>(pRgn->GetSafeHandle()), bErase);
}
void CWnd::Invalidate(BOOL bErase) {
  ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
  ::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) {
  ::InvalidateRgn(m_hWnd, static_cast<HRGN>(pRgn->GetSafeHandle()), bErase);
}
void CWnd::ValidateRect(LPCRECT lpRect) {
  ::ValidateRect(m_hWnd, lpRect);
}
void CWnd::ValidateRgn(CRgn* pRgn) {
  ::ValidateRgn(m_hWnd, static_cast<HRGN>(pRgn->GetSafeHandle()));
}
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
  return ::RedrawWindow(m_hWnd, lpRectUpdate, static_cast<HRGN>(prgnUpdate->GetSafeHandle()), flags);
}
BOOL CWnd::LockWindowUpdate() {
  return ::LockWindowUpdate(m_hWnd);
}
void CWnd::UnlockWindowUpdate() {
  ::LockWindowUpdate(nullptr);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                        void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD)) {
  return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
  return ::KillTimer(m_hWnd, nIDEvent);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendNotifyMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
  std::vector<HWND> children;
  for (HWND child = ::GetTopWindow(hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  for (HWND child : children) {
    if (!::IsWindow(child)) continue;  // a handler before it destroyed it
    if (bOnlyPerm) {
      if (CWnd* wnd = FromHandlePermanent(child)) AfxCallWndProc(wnd, child, message, wParam, lParam);
    } else {
      ::SendMessage(child, message, wParam, lParam);
    }
    if (bDeep && ::IsWindow(child) && ::GetTopWindow(child))
      SendMessageToDescendants(child, message, wParam, lParam, bDeep, bOnlyPerm);
  }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
  ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
}
void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}
int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
    if (::IsDlgButtonChecked(m_hWnd, id)) return id;
  return 0;
}
UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
  return ::IsDlgButtonChecked(m_hWnd, nIDButton);
}
UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
  return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}
void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
  ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
}
int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
  return static_cast<int>(::GetDlgItemText(m_hWnd, nID, lpStr, nMaxCount));
}
int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND item = ::GetDlgItem(m_hWnd, nID);
  if (!item) return 0;
  CWnd::FromHandle(item)->GetWindowText(rString);
  return rString.GetLength();
}
void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
  ::SetDlgItemText(m_hWnd, nID, lpszString);
}
LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
}
CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}
CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const {
  return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}

int CWnd::GetScrollPos(int nBar) const {
  return ::GetScrollPos(m_hWnd, nBar);
}
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
  return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
  ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
  ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}
int CWnd::GetScrollLimit(int nBar) {
  SCROLLINFO info{};
  if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE)) return 0;
  return std::max<int>(info.nMax - std::max<int>(static_cast<int>(info.nPage) - 1, 0), 0);
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
  ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow);
}
BOOL CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
  return ::EnableScrollBar(m_hWnd, static_cast<UINT>(nBar), bEnable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}
CScrollBar* CWnd::GetScrollBarCtrl(int) const {
  return nullptr;
}
