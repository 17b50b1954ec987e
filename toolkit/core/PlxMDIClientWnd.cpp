#include "toolkit/core/PlxMDIClientWnd.h"

#include <cstring>

#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxWindowListDlg.h"

namespace {

constexpr UINT kUpdateTabsMessage = WM_USER + 101;  // 0x465

}  // namespace

BEGIN_MESSAGE_MAP(CPlxMDIClientWnd, CWnd)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_MDISETMENU, OnSetMenu)
ON_MESSAGE(WM_MDIREFRESHMENU, OnRefreshMenu)
ON_MESSAGE(WM_MDIDESTROY, OnMDIDestroy)
ON_MESSAGE(WM_MDIMAXIMIZE, OnMDIChildChange)
ON_MESSAGE(WM_MDIRESTORE, OnMDIChildChange)
ON_MESSAGE(WM_MDIACTIVATE, OnMDIChildChange)
ON_MESSAGE(WM_MDINEXT, OnMDIChildChange)
ON_MESSAGE(kUpdateTabsMessage, OnUpdateTabs)
END_MESSAGE_MAP()

CPlxMDIClientWnd::CPlxMDIClientWnd() {
  PlxRegisterWindowHelpMessage();
}
CPlxMDIClientWnd::~CPlxMDIClientWnd() = default;

void CPlxMDIClientWnd::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  // The icon list does not wait for the strip: the icons are shared whether tabs show or not.
  if (m_TabIcons.GetSafeHandle() == nullptr)
    m_TabIcons.Create(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                      ILC_COLOR32 | ILC_MASK, 0, 1);
  if (!CreateTabWindow()) return;
  if (!m_bTabsEnabled) m_wndTab.ShowWindow(SW_HIDE);
}

BOOL CPlxMDIClientWnd::CreateTabWindow() {
  CWnd* frame = GetParent();
  if (frame == nullptr || m_wndTab.GetSafeHwnd() != nullptr) return m_wndTab.GetSafeHwnd() != nullptr;
  if (!m_wndTab.Create(CPlxTabWnd::TabStyle3DScroll, CRect(0, 0, 0, 0), frame, static_cast<UINT>(-1),
                       m_nTabLocation, m_nTabsOption))
    return FALSE;
  // The children stay the MDI client's: the strip only names them and activates them.
  m_wndTab.m_bHideInactiveWnd = FALSE;
  m_wndTab.m_bResizeWnd = FALSE;
  m_wndTab.m_bAutoDestroyWnd = FALSE;
  if (!m_wndTab.m_bDrawFrame) {
    m_wndTab.m_bDrawFrame = TRUE;
    m_wndTab.Invalidate();
    m_wndTab.UpdateWindow();
  }
  m_wndTab.m_bNoEraseBkgnd = TRUE;
  m_wndTab.m_bOutlineClient = TRUE;
  m_wndTab.SetOptionAndRedraw(m_wndTab.m_bLabelNoPrefix, TRUE);
  // Below the client in the stacking order: the client's area is the strip's window area, and the
  // mouse there belongs to the children.
  m_wndTab.SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return TRUE;
}

void CPlxMDIClientWnd::EnableTabs(BOOL bEnable, int nLocation, BOOL bIcons) {
  m_bTabsEnabled = bEnable;
  m_bTabIcons = bIcons;
  m_nTabLocation = nLocation;
  if (m_wndTab.GetSafeHwnd() == nullptr) return;
  if (m_wndTab.GetLocation() !=
      (nLocation == CPlxTabWnd::LOCATION_TOP ? CPlxTabWnd::LOCATION_TOP : CPlxTabWnd::LOCATION_BOTTOM))
    m_wndTab.SetLocation(nLocation);
  if (bEnable) {
    // Each new tab is made active as it comes: the child active before gets its tab back after.
    const HWND active = reinterpret_cast<HWND>(SendMessage(WM_MDIGETACTIVE, 0, 0));
    UpdateTabs(TRUE);
    if (active != nullptr && ::IsWindow(active)) SetActiveTabFor(CWnd::FromHandle(active));
  } else {
    m_wndTab.ShowWindow(SW_HIDE);
  }
  if (CPlxMDIFrameWnd* frame = GetMDIFrame()) frame->RecalcLayout();
}

BOOL CPlxMDIClientWnd::PreTranslateMessage(MSG* pMsg) {
  // Ctrl+Page Up and Page Down move between the document tabs from wherever the focus is in a
  // child; the strip is no ancestor of the children, so the keys would never reach it.
  if (m_bTabsEnabled && m_wndTab.GetSafeHwnd() != nullptr && pMsg->message == WM_KEYDOWN &&
      (pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT) && (::GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
      m_wndTab.PreTranslateMessage(pMsg))
    return TRUE;
  return CWnd::PreTranslateMessage(pMsg);
}

void CPlxMDIClientWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  if (m_wndTab.GetSafeHwnd() != nullptr) {
    BOOL changed = FALSE;
    if (m_bTabsEnabled) {
      CRect before;
      m_wndTab.GetWindowRect(before);
      const CRect given(lpClientRect);
      m_wndTab.SetWindowPos(nullptr, given.left, given.top, given.Width(), given.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
      CRect client;
      m_wndTab.GetClientRect(client);
      const CRect content = m_wndTab.m_rectWndArea;
      lpClientRect->left += content.left - client.left;
      lpClientRect->top += content.top - client.top;
      lpClientRect->right -= client.right - content.right;
      lpClientRect->bottom -= client.bottom - content.bottom;
      m_wndTab.ShowWindow(SW_SHOWNOACTIVATE);
      CRect after;
      m_wndTab.GetWindowRect(after);
      changed = after != before;
    } else {
      m_wndTab.ShowWindow(SW_HIDE);
    }
    SetWindowPos(nullptr, lpClientRect->left, lpClientRect->top, lpClientRect->right - lpClientRect->left,
                 lpClientRect->bottom - lpClientRect->top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (changed)
      RedrawWindow(
          nullptr, nullptr,
          RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

int CPlxMDIClientWnd::GetTabIconIndex(HWND hwndChild) {
  if (!m_bTabIcons || !::IsWindow(hwndChild)) return -1;
  HICON icon = nullptr;
  if (auto* child = dynamic_cast<CPlxMDIChildWnd*>(CWnd::FromHandlePermanent(hwndChild)))
    icon = child->GetFrameIcon();
  else if ((icon = reinterpret_cast<HICON>(::SendMessage(hwndChild, WM_GETICON, ICON_SMALL, 0))) == nullptr)
    icon = reinterpret_cast<HICON>(::GetClassLongPtr(hwndChild, GCLP_HICONSM));
  if (icon == nullptr) return -1;
  if (const auto found = m_mapIcons.find(icon); found != m_mapIcons.end()) return found->second;
  if (m_TabIcons.GetSafeHandle() == nullptr) return -1;
  const int index = m_TabIcons.Replace(-1, icon);
  if (index < 0) return -1;
  m_mapIcons[icon] = index;
  // The tab window takes the list with its first image, which gives it the image size.
  if (m_TabIcons.GetImageCount() == 1 && m_wndTab.GetSafeHwnd() != nullptr)
    m_wndTab.SetImageList(m_TabIcons.GetSafeHandle());
  return index;
}

CString CPlxMDIClientWnd::GetTabLabel(HWND hwndChild) {
  if (auto* child = dynamic_cast<CPlxMDIChildWnd*>(CWnd::FromHandlePermanent(hwndChild)))
    return child->GetFrameText();
  CString title;
  if (::IsWindow(hwndChild)) CWnd::FromHandle(hwndChild)->GetWindowText(title);
  return title;
}

CPlxMDIFrameWnd* CPlxMDIClientWnd::GetMDIFrame() const {
  auto* frame = dynamic_cast<CPlxMDIFrameWnd*>(GetParent());
  return frame != nullptr && frame->GetSafeHwnd() != nullptr ? frame : nullptr;
}

void CPlxMDIClientWnd::UpdateTabs(BOOL bSetActiveTabVisible) {
  if (m_wndTab.GetSafeHwnd() == nullptr || !m_bTabsEnabled) return;
  BOOL changed = FALSE;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const int icon = GetTabIconIndex(child);
    const CString label = GetTabLabel(child);
    const int tab = m_wndTab.GetTabFromHwnd(child);
    if (tab < 0) {
      auto* frame = dynamic_cast<CPlxMDIChildWnd*>(CWnd::FromHandlePermanent(child));
      if (frame != nullptr && frame->m_bBeingDestroyed) continue;
      m_wndTab.AddTab(CWnd::FromHandle(child), label, icon);
      m_wndTab.SetActiveTab(m_wndTab.GetTabsNum() - 1);
      changed = TRUE;
    } else if (::IsWindowVisible(child)) {
      CString current;
      m_wndTab.GetTabLabel(tab, current);
      if (std::strcmp(current, label) != 0) {
        m_wndTab.SetTabLabel(tab, label);
        changed = TRUE;
      }
      if (m_wndTab.GetTabIcon(tab) != icon) {
        m_wndTab.SetTabIcon(tab, icon);
        changed = TRUE;
      }
    } else {
      m_wndTab.RemoveTab(tab);
      changed = TRUE;
    }
  }
  if (changed)
    if (CPlxMDIFrameWnd* frame = GetMDIFrame()) frame->RecalcLayout();
  if (bSetActiveTabVisible) m_wndTab.EnsureVisible(m_wndTab.GetActiveTab());
}

BOOL CPlxMDIClientWnd::SetActiveTabFor(CWnd* pWnd) {
  if (!m_bTabsEnabled || m_wndTab.GetSafeHwnd() == nullptr) return m_bTabsEnabled;
  const int tab = m_wndTab.GetTabFromHwnd(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr);
  if (tab < 0) return tab;
  return m_wndTab.SetActiveTab(tab);
}

BOOL CPlxMDIClientWnd::OnEraseBkgnd(CDC* pDC) {
  if (CPlxMDIFrameWnd* frame = GetMDIFrame(); frame != nullptr && frame->OnEraseMDIClientBackground(pDC))
    return TRUE;
  return static_cast<BOOL>(Default());
}

LRESULT CPlxMDIClientWnd::OnSetMenu(WPARAM wParam, LPARAM lParam) {
  // The menu bar shows the child's menu; the window's own menu then stays empty.
  CPlxMDIFrameWnd* frame = GetMDIFrame();
  if (frame == nullptr || frame->OnSetMenu(reinterpret_cast<HMENU>(wParam))) wParam = 0;
  return DefWindowProc(WM_MDISETMENU, wParam, lParam);
}

LRESULT CPlxMDIClientWnd::OnRefreshMenu(WPARAM, LPARAM) {
  const LRESULT result = Default();
  CPlxMDIFrameWnd* frame = GetMDIFrame();
  if (frame != nullptr && frame->m_Impl.m_pMenuBar != nullptr)
    frame->m_hmenuWindow = frame->GetWindowMenuPopup(frame->m_Impl.m_pMenuBar->GetDefaultMenu());
  return result;
}

LRESULT CPlxMDIClientWnd::OnMDIDestroy(WPARAM wParam, LPARAM) {
  const BOOL strip = m_wndTab.GetSafeHwnd() != nullptr;
  const int visibleBefore = strip ? m_wndTab.GetVisibleTabsNum() : 0;
  const HWND child = reinterpret_cast<HWND>(wParam);
  if (const int tab = strip ? m_wndTab.GetTabFromHwnd(child) : -1; tab >= 0) {
    // Marked first: the child's own title updates while it goes must not bring the tab back.
    if (auto* frame = dynamic_cast<CPlxMDIChildWnd*>(CWnd::FromHandlePermanent(child)))
      frame->m_bBeingDestroyed = TRUE;
    m_wndTab.RemoveTab(tab);
  }
  const LRESULT result = Default();
  CPlxMDIFrameWnd* frame = GetMDIFrame();
  if (frame != nullptr && strip && m_wndTab.GetVisibleTabsNum() != visibleBefore) frame->RecalcLayout();
  // The closed child may have been the maximized one; the next active child is shown instead.
  // The frame's caption was composed while the closing child was still the active one: with no
  // child left it would keep naming the closed document.
  if (frame != nullptr) {
    frame->UpdateMaximizedChild();
    frame->OnUpdateFrameTitle(TRUE);
  }
  return result;
}

LRESULT CPlxMDIClientWnd::OnMDIChildChange(WPARAM, LPARAM) {
  const LRESULT result = Default();
  if (CPlxMDIFrameWnd* frame = GetMDIFrame()) frame->UpdateMaximizedChild();
  return result;
}

LRESULT CPlxMDIClientWnd::OnUpdateTabs(WPARAM, LPARAM) {
  UpdateTabs(FALSE);
  return 0;
}
