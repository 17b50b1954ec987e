#include "toolkit/core/PlxMDIChildWnd.h"

#include <climits>

#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxMDIFrameWnd.h"

IMPLEMENT_DYNCREATE(CPlxMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CPlxMDIChildWnd, CMDIChildWnd)
ON_WM_CREATE()
ON_WM_MDIACTIVATE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_SETICON, OnSetIcon)
ON_WM_STYLECHANGED()
ON_WM_SIZE()
END_MESSAGE_MAP()

CPlxMDIChildWnd::CPlxMDIChildWnd() = default;
CPlxMDIChildWnd::~CPlxMDIChildWnd() = default;

CString CPlxMDIChildWnd::GetFrameText() const {
  CString text;
  if (GetSafeHwnd() != nullptr) GetWindowText(text);
  return text;
}

HICON CPlxMDIChildWnd::GetFrameIcon() const {
  if (GetSafeHwnd() == nullptr) return nullptr;
  auto icon = reinterpret_cast<HICON>(::SendMessage(m_hWnd, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(::GetClassLongPtr(m_hWnd, GCLP_HICONSM));
  return icon;
}

BOOL CPlxMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
  // While a toolkit popup is open the keys are the popup's, not the child's accelerators.
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_pMDIFrame != nullptr &&
      CPlxPopupMenu::m_pActiveTracked != nullptr)
    return FALSE;
  return CMDIChildWnd::PreTranslateMessage(pMsg);
}

int CPlxMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if ((GetStyle() & WS_SYSMENU) == 0) {
    // Without a system menu the child is always maximized; the client does not redraw meanwhile,
    // so no normal-sized frame flashes.
    CWnd* client = GetParent();
    if (client != nullptr) client->SendMessage(WM_SETREDRAW, FALSE, 0);
    m_rectNormal = CRect(lpcs->x, lpcs->y, lpcs->x + lpcs->cx, lpcs->y + lpcs->cy);
    SetWindowPos(nullptr, 0, 0, INT_MAX, INT_MAX, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOWMAXIMIZED);
    if (client != nullptr) client->SendMessage(WM_SETREDRAW, TRUE, 0);
  }
  if (CMDIChildWnd::OnCreate(lpcs) == -1) return -1;
  m_pMDIFrame = dynamic_cast<CPlxMDIFrameWnd*>(GetMDIFrame());
  return 0;
}

void CPlxMDIChildWnd::ActivateFrame(int nCmdShow) {
  CMDIChildWnd::ActivateFrame((GetStyle() & WS_SYSMENU) != 0 ? nCmdShow : SW_SHOWMAXIMIZED);
}

void CPlxMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
  CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
  if (bActivate && m_pMDIFrame != nullptr) m_pMDIFrame->m_wndClientArea.SetActiveTabFor(pActivateWnd);
}

LRESULT CPlxMDIChildWnd::OnSetText(WPARAM, LPARAM) {
  const LRESULT result = Default();
  if (m_pMDIFrame != nullptr) m_pMDIFrame->m_wndClientArea.UpdateTabs(TRUE);
  return result;
}

LRESULT CPlxMDIChildWnd::OnSetIcon(WPARAM, LPARAM) {
  const LRESULT result = Default();
  if (m_pMDIFrame != nullptr) m_pMDIFrame->m_wndClientArea.UpdateTabs(FALSE);
  return result;
}

void CPlxMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
  if (m_pMDIFrame != nullptr) m_pMDIFrame->m_wndClientArea.UpdateTabs(FALSE);
}

void CPlxMDIChildWnd::OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct) {
  Default();
  // Extended styles reuse the bit (WS_EX_LAYERED): only the window style speaks of the system menu.
  if (nStyleType != GWL_STYLE || ((lpStyleStruct->styleOld ^ lpStyleStruct->styleNew) & WS_SYSMENU) == 0)
    return;
  if ((lpStyleStruct->styleNew & WS_SYSMENU) != 0) {
    // Out of the maximized state first, or the child would sit at its place still maximized.
    if (IsZoomed()) MDIRestore();
    SetWindowPos(nullptr, m_rectNormal.left, m_rectNormal.top, m_rectNormal.Width(), m_rectNormal.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (!IsZoomed() && !IsIconic()) {
    GetWindowRect(m_rectNormal);
    if (CWnd* client = GetParent(); client != nullptr) client->ScreenToClient(m_rectNormal);
  } else if (m_rectNormal.IsRectEmpty()) {
    // Made with a system menu and maximized since: no place was ever kept, and an empty one would
    // shrink the child to nothing when the system menu returns. Its restored place stands in.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(&placement)) m_rectNormal = placement.rcNormalPosition;
  }
  SetWindowPos(nullptr, 0, 0, INT_MAX, INT_MAX, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(SW_SHOWMAXIMIZED);
}

void CPlxMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  CMDIChildWnd::OnSize(nType, cx, cy);
  if (m_pMDIFrame != nullptr && m_pMDIFrame->GetSafeHwnd() != nullptr) m_pMDIFrame->UpdateMaximizedChild();
}
