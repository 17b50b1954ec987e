#include "controls/StatusBarPanes.h"

#include "platform/mfc/Dc.h"
#include "shell/UIHelpers.h"

IMPLEMENT_DYNCREATE(MPCStatusBarPaneControlInfo, CObject)
IMPLEMENT_DYNCREATE(MPCStatusBar, CStatusBar)

BEGIN_MESSAGE_MAP(MPCStatusBar, CStatusBar)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {
// The status bar control's own border widths: no frame beside a pane, two pixels above and below,
// two between panes.
constexpr int kHorzBorder = 0;
constexpr int kVertBorder = 2;
constexpr int kSpacing = 2;
}  // namespace

MPCStatusBar::MPCStatusBar() = default;

MPCStatusBar::~MPCStatusBar() {
  for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); ++i)
    delete static_cast<MPCStatusBarPaneControlInfo*>(m_arrPaneControls[i]);
  m_arrPaneControls.RemoveAll();
}

void MPCStatusBar::GetBorders(int& nHorz, int& nVert, int& nSpacing) const {
  nHorz = kHorzBorder;
  nVert = kVertBorder;
  nSpacing = kSpacing;
}

MPCStatusBarPaneControlInfo* MPCStatusBar::FindPaneControl(UINT nPaneID) {
  for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); ++i) {
    auto* info = static_cast<MPCStatusBarPaneControlInfo*>(m_arrPaneControls[i]);
    if (info->m_nPaneID == nPaneID) return info;
  }
  return nullptr;
}

BOOL MPCStatusBar::AddPaneControl(CWnd* pWnd, UINT nPaneID, BOOL bAutodelete) {
  if (FindPaneControl(nPaneID) != nullptr || CommandToIndex(nPaneID) == -1) return FALSE;
  auto* info = new MPCStatusBarPaneControlInfo;
  info->m_hWnd = pWnd;
  info->m_nPaneID = nPaneID;
  info->m_bAutodelete = bAutodelete;
  m_arrPaneControls.Add(info);
  RepositionControls();
  if (m_hWnd != nullptr) Invalidate(TRUE);
  return TRUE;
}

void MPCStatusBar::RepositionControls() {
  int h = 0, v = 0, s = 0;
  GetBorders(h, v, s);
  for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); ++i) {
    auto* info = static_cast<MPCStatusBarPaneControlInfo*>(m_arrPaneControls[i]);
    const int index = CommandToIndex(info->m_nPaneID);
    if (index < 0 || info->m_hWnd == nullptr || !::IsWindow(info->m_hWnd->GetSafeHwnd())) continue;
    CRect rect;
    GetItemRect(index, &rect);
    rect.DeflateRect(h + s, v);
    info->m_hWnd->MoveWindow(&rect, TRUE);
  }
}

void MPCStatusBar::OnSize(UINT nType, int cx, int cy) {
  CStatusBar::OnSize(nType, cx, cy);
  RepositionControls();
}

BOOL MPCStatusBar::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_MAIN_DLG));
  return TRUE;
}

HBRUSH MPCStatusBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  return CControlBar::OnCtlColor(pDC, pWnd, nCtlColor);
}
