#include "platform/comctl/AfxReBar.h"

#include "platform/comctl/CommCtrl.h"
#include "platform/mfc/AfxRes.h"

IMPLEMENT_DYNAMIC(CReBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BOOL CReBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(REBARCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

UINT CReBarCtrl::GetBandCount() const {
  return static_cast<UINT>(::SendMessage(m_hWnd, RB_GETBANDCOUNT, 0, 0));
}
BOOL CReBarCtrl::GetBandInfo(UINT uBand, REBARBANDINFO* prbbi) const {
  return static_cast<BOOL>(::SendMessage(m_hWnd, RB_GETBANDINFO, uBand, reinterpret_cast<LPARAM>(prbbi)));
}
BOOL CReBarCtrl::SetBandInfo(UINT uBand, REBARBANDINFO* prbbi) {
  return static_cast<BOOL>(::SendMessage(m_hWnd, RB_SETBANDINFO, uBand, reinterpret_cast<LPARAM>(prbbi)));
}
BOOL CReBarCtrl::InsertBand(UINT uIndex, REBARBANDINFO* prbbi) {
  return static_cast<BOOL>(::SendMessage(m_hWnd, RB_INSERTBAND, uIndex, reinterpret_cast<LPARAM>(prbbi)));
}
BOOL CReBarCtrl::DeleteBand(UINT uBand) {
  return static_cast<BOOL>(::SendMessage(m_hWnd, RB_DELETEBAND, uBand, 0));
}
BOOL CReBarCtrl::MoveBand(UINT uFrom, UINT uTo) {
  return static_cast<BOOL>(::SendMessage(m_hWnd, RB_MOVEBAND, uFrom, uTo));
}
UINT CReBarCtrl::GetRowCount() const {
  return static_cast<UINT>(::SendMessage(m_hWnd, RB_GETROWCOUNT, 0, 0));
}
UINT CReBarCtrl::GetBarHeight() const {
  return static_cast<UINT>(::SendMessage(m_hWnd, RB_GETBARHEIGHT, 0, 0));
}
void CReBarCtrl::GetRect(UINT uBand, LPRECT prc) const {
  ::SendMessage(m_hWnd, RB_GETRECT, uBand, reinterpret_cast<LPARAM>(prc));
}
int CReBarCtrl::IDToIndex(UINT uBandID) const {
  return static_cast<int>(::SendMessage(m_hWnd, RB_IDTOINDEX, uBandID, 0));
}

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  InitCommonControls();
  m_dwStyle = dwStyle & CBRS_ALL;
  const DWORD windowStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | dwCtrlStyle | WS_CHILD;
  return CWnd::Create(REBARCLASSNAME, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, DWORD dwStyle) {
  if (!pBar || !pBar->GetSafeHwnd()) return FALSE;
  pBar->SetParent(this);
  CSize size;
  if (auto* bar = dynamic_cast<CControlBar*>(pBar)) {
    size = bar->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  } else {
    CRect rect;
    pBar->GetWindowRect(&rect);
    size = rect.Size();
  }
  REBARBANDINFO info{};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
  info.fStyle = dwStyle;
  info.hwndChild = pBar->GetSafeHwnd();
  info.cxMinChild = static_cast<UINT>(size.cx);
  info.cyMinChild = static_cast<UINT>(size.cy);
  info.cx = static_cast<UINT>(size.cx);
  info.wID = static_cast<UINT>(::GetDlgCtrlID(pBar->GetSafeHwnd()));
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = const_cast<LPSTR>(pszText);
  }
  return GetReBarCtrl().InsertBand(static_cast<UINT>(-1), &info);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  // A bar in a band may have grown or shrunk since it was added (large icons, text labels): its
  // band follows before the rebar's height is read.
  CReBarCtrl& ctrl = GetReBarCtrl();
  for (UINT i = 0; i < ctrl.GetBandCount(); ++i) {
    REBARBANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
    if (!ctrl.GetBandInfo(i, &info)) continue;
    auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(info.hwndChild));
    if (!bar || !(bar->GetStyle() & WS_VISIBLE)) continue;
    const CSize size = bar->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    if (info.cxMinChild == static_cast<UINT>(size.cx) && info.cyMinChild == static_cast<UINT>(size.cy))
      continue;
    info.fMask = RBBIM_CHILDSIZE;
    info.cxMinChild = static_cast<UINT>(size.cx);
    info.cyMinChild = static_cast<UINT>(size.cy);
    ctrl.SetBandInfo(i, &info);
  }
  const int height = static_cast<int>(GetReBarCtrl().GetBarHeight());
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  if (bHorz)
    size.cy = height;
  else
    size.cx = height;
  return size;
}

void CReBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

LRESULT CReBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT || message == WM_ERASEBKGND || message == WM_PRINTCLIENT)
    return DefWindowProc(message, wParam, lParam);
  return CControlBar::WindowProc(message, wParam, lParam);
}

// The parent lays its bars out again around the rebar's new height.
void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  if (CWnd* parent = GetParent()) parent->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
}
