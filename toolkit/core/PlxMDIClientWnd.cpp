#include "toolkit/core/PlxMDIClientWnd.h"

#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxMDIChildWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"

namespace {

constexpr UINT kUpdateTabsMessage = WM_USER + 101;  // 0x465

}  // namespace

BEGIN_MESSAGE_MAP(CPlxMDIClientWnd, CWnd)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_MDISETMENU, OnSetMenu)
ON_MESSAGE(WM_MDIREFRESHMENU, OnRefreshMenu)
ON_MESSAGE(WM_MDIDESTROY, OnMDIDestroy)
ON_MESSAGE(kUpdateTabsMessage, OnUpdateTabs)
END_MESSAGE_MAP()

CPlxMDIClientWnd::CPlxMDIClientWnd() = default;
CPlxMDIClientWnd::~CPlxMDIClientWnd() = default;

CPlxMDIFrameWnd* CPlxMDIClientWnd::GetMDIFrame() const {
  auto* frame = dynamic_cast<CPlxMDIFrameWnd*>(GetParent());
  return frame != nullptr && frame->GetSafeHwnd() != nullptr ? frame : nullptr;
}

void CPlxMDIClientWnd::UpdateTabs(BOOL) {
  // Without the tab strip there is nothing to keep in step.
}

BOOL CPlxMDIClientWnd::SetActiveTabFor(CWnd*) {
  return m_bTabsEnabled;
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
  // No tabs yet: a child that goes has no tab to take with it.
  return Default();
}

LRESULT CPlxMDIClientWnd::OnUpdateTabs(WPARAM, LPARAM) {
  UpdateTabs(FALSE);
  return 0;
}
