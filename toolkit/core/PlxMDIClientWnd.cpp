#include "toolkit/core/PlxMDIClientWnd.h"

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
  // The tab window here draws tabs for the visual managers but holds no windows of its own yet.
  return FALSE;
}

void CPlxMDIClientWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  if (m_wndTab.GetSafeHwnd() != nullptr) {
    if (!m_bTabsEnabled) m_wndTab.ShowWindow(SW_HIDE);
    SetWindowPos(nullptr, lpClientRect->left, lpClientRect->top, lpClientRect->right - lpClientRect->left,
                 lpClientRect->bottom - lpClientRect->top, SWP_NOZORDER | SWP_NOACTIVATE);
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
  if (m_TabIcons.GetImageCount() == 1 && m_wndTab.GetSafeHwnd() != nullptr) m_wndTab.m_pImages = &m_TabIcons;
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

void CPlxMDIClientWnd::UpdateTabs(BOOL) {
  // Without the tab strip (or with tabs off) there is nothing to keep in step.
  if (m_wndTab.GetSafeHwnd() == nullptr || !m_bTabsEnabled) return;
}

BOOL CPlxMDIClientWnd::SetActiveTabFor(CWnd*) {
  // Without a tab window no child has a tab: the tab index -1 when tabs are on.
  return m_bTabsEnabled ? -1 : FALSE;
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

LRESULT CPlxMDIClientWnd::OnMDIDestroy(WPARAM, LPARAM) {
  // Without the tab strip a child that goes has no tab to take with it.
  const LRESULT result = Default();
  // The closed child may have been the maximized one; the next active child is shown instead.
  // The frame's caption was composed while the closing child was still the active one: with no
  // child left it would keep naming the closed document.
  if (CPlxMDIFrameWnd* frame = GetMDIFrame()) {
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
