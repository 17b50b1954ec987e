// CPlxSizingControlBar: creation, the sizes per orientation, the negotiation of a dock row's
// length, splitter tracking, expanding within the row and the routing of the mouse.
#include "toolkit/core/PlxSizingControlBar.h"

#include <algorithm>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/res/Resources.h"
#include "platform/user/Cursor.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxDialogBar.h"
#include "toolkit/core/PlxGlobalData.h"

IMPLEMENT_DYNAMIC(CPlxSizingControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CPlxSizingControlBar, CControlBar)
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CPlxSizingControlBar::m_bCaptionText = FALSE;
BOOL CPlxSizingControlBar::m_bHideDisabledButtons = FALSE;
BOOL CPlxSizingControlBar::m_bCaptionAlwaysOnTop = FALSE;
CString CPlxSizingControlBar::m_strRegSection = "PlxSizingControlBar";

namespace {

// Every live sizing bar: only bars in it count as sizing bars of a row. UI thread only.
std::vector<CPlxSizingControlBar*>& LiveBars() {
  static std::vector<CPlxSizingControlBar*> bars;
  return bars;
}

bool IsSizeEdge(UINT nHitTest) {
  return nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT;
}

CPoint PointOf(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

}  // namespace

CObList& CPlxSizingControlBar::GetAllSizingBars() {
  static CObList bars;  // UI thread only
  return bars;
}

CPlxSizingControlBar* CPlxSizingControlBar::FindSizingBar(CWnd* pWnd) {
  for (CPlxSizingControlBar* bar : LiveBars())
    if (bar == pWnd) return bar;
  return nullptr;
}

CPlxSizingControlBar::CPlxSizingControlBar() {
  m_Buttons[kCloseButton].m_nHit = HTOBJECT;
  m_Buttons[kCloseButton].m_nTooltipId = kCloseTipId;
  m_Buttons[kExpandButton].m_nHit = HTMAXBUTTON;
  m_Buttons[kExpandButton].m_nTooltipId = kExpandTipId;
}

CPlxSizingControlBar::~CPlxSizingControlBar() {
  auto& bars = LiveBars();
  bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
}

BOOL CPlxSizingControlBar::Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault,
                                  BOOL bHasGripper, UINT nID, DWORD dwStyle) {
  m_dwStyle = dwStyle & CBRS_ALL;
  m_szHorz = m_szVert = m_szFloat = sizeDefault;
  m_bHasGripper = bHasGripper;
  m_cyGripper = 0;
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  // A child takes its parent's reading order, as the system's mirrored layout would give it.
  const DWORD exStyle = pParentWnd != nullptr ? (pParentWnd->GetExStyle() & WS_EX_LAYOUTRTL) : 0;
  if (!CreateEx(exStyle, cls, lpszWindowName, (dwStyle & ~CBRS_ALL) | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                pParentWnd, nID))
    return FALSE;
  m_dwStyle |= CBRS_SIZE_DYNAMIC;
  return TRUE;
}

int CPlxSizingControlBar::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  LiveBars().push_back(this);
  GetAllSizingBars().AddTail(this);
  m_dwSCBStyle |= kShowEdges;
  for (CPlxCaptionButton& button : m_Buttons) button.m_pParentBar = this;
  if (m_ToolTip.Create(this)) {
    m_ToolTip.Activate(TRUE);
    if (g_plxGlobalData.nMaxToolTipWidth != -1) m_ToolTip.SetMaxTipWidth(g_plxGlobalData.nMaxToolTipWidth);
    const CRect none(0, 0, 0, 0);
    m_ToolTip.AddTool(this, kCloseTipId, &none, 1);
    m_ToolTip.AddTool(this, kExpandTipId, &none, 2);
  }
  // The split cursors, once for the process (the class library's resources 30980 and 30981).
  if (g_plxGlobalData.hcurSplitHorz == nullptr)
    g_plxGlobalData.hcurSplitHorz = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(30980));
  if (g_plxGlobalData.hcurSplitVert == nullptr)
    g_plxGlobalData.hcurSplitVert = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(30981));
  return 0;
}

void CPlxSizingControlBar::OnDestroy() {
  CObList& list = GetAllSizingBars();
  if (POSITION pos = list.Find(this)) list.RemoveAt(pos);
  Default();
}

BOOL CPlxSizingControlBar::DestroyWindow() {
  auto& bars = LiveBars();
  bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
  return CControlBar::DestroyWindow();
}

BOOL CPlxSizingControlBar::PreTranslateMessage(MSG* pMsg) {
  if (m_ToolTip.GetSafeHwnd() != nullptr) m_ToolTip.RelayEvent(pMsg);
  return CControlBar::PreTranslateMessage(pMsg);
}

void CPlxSizingControlBar::SetMinSize(CSize size) {
  m_szMin = size;
  m_szFloat.cx = std::max<LONG>(m_szFloat.cx, size.cx);
  m_szFloat.cy = std::max<LONG>(m_szFloat.cy, size.cy);
}

void CPlxSizingControlBar::SetMaxSize(CSize size) {
  m_szMax = size;
  if (size.cx > 0) m_szFloat.cx = std::min<LONG>(m_szFloat.cx, size.cx);
  if (size.cy > 0) m_szFloat.cy = std::min<LONG>(m_szFloat.cy, size.cy);
}

BOOL CPlxSizingControlBar::IsHorzDocked() const {
  return m_nDockBarID == AFX_IDW_DOCKBAR_TOP || m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM;
}

BOOL CPlxSizingControlBar::IsVertDocked() const {
  return m_nDockBarID == AFX_IDW_DOCKBAR_LEFT || m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT;
}

BOOL CPlxSizingControlBar::IsSideTracking() const {
  return (m_htEdge == HTLEFT || m_htEdge == HTRIGHT) ? IsHorzDocked() : IsVertDocked();
}

BOOL CPlxSizingControlBar::IsRTL() const {
  return m_hWnd != nullptr && (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

void CPlxSizingControlBar::GetRowInfo(int& nFirst, int& nLast, int& nThis) const {
  const CDockBar* dock = m_pDockBar;
  if (dock == nullptr) return;
  const auto& bars = dock->m_arrBars;
  nThis = dock->FindBar(const_cast<CPlxSizingControlBar*>(this));
  if (nThis < 0) {
    nFirst = nLast = nThis;
    return;
  }
  nFirst = nThis;
  while (nFirst > 0 && bars[static_cast<size_t>(nFirst - 1)] != nullptr) --nFirst;
  nLast = nThis;
  while (nLast + 1 < static_cast<int>(bars.size()) && bars[static_cast<size_t>(nLast + 1)] != nullptr)
    ++nLast;
}

void CPlxSizingControlBar::GetRowSizingBars(std::vector<CPlxSizingControlBar*>& arrSCBars) const {
  arrSCBars.clear();
  if (m_pDockBar == nullptr) return;
  int first = -1, last = -1, self = -1;
  GetRowInfo(first, last, self);
  if (self < 0) return;
  for (int i = first; i <= last; ++i) {
    CControlBar* bar = m_pDockBar->m_arrBars[static_cast<size_t>(i)];
    if (bar == nullptr || !bar->IsVisible()) continue;
    if (CPlxSizingControlBar* sizing = FindSizingBar(bar)) arrSCBars.push_back(sizing);
  }
}

BOOL CPlxSizingControlBar::IsLastInRow() const {
  if (m_pDockBar == nullptr) return FALSE;
  int first = -1, last = -1, self = -1;
  GetRowInfo(first, last, self);
  return self >= 0 && last == self;
}

int CPlxSizingControlBar::GetAvailableLength(BOOL bHorz) const {
  CRect rect;
  if (m_pDockBar != nullptr) rect = m_pDockBar->m_rectLayout;
  if (rect.IsRectEmpty())
    if (CFrameWnd* frame = GetDockingFrame()) frame->GetClientRect(&rect);
  return bHorz ? rect.Width() : rect.Height() - 2;
}

CSize CPlxSizingControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (bStretch) return bHorz ? CSize(32767, m_szHorz.cy) : CSize(m_szVert.cx, 32767);
  std::vector<CPlxSizingControlBar*> row;
  GetRowSizingBars(row);
  BOOL otherExpanded = FALSE;
  for (CPlxSizingControlBar* bar : row)
    if (bar != this && bar->m_bMaximized) otherExpanded = TRUE;
  m_bIsSingleInRow = row.size() < 2;
  const int available = GetAvailableLength(bHorz);
  // The first sizing bar of the row fits the whole row when its dock bar lays the side out.
  if (IsVisible() && !IsFloatingBar() && m_bParentSizing && !row.empty() && row.front() == this)
    if (NegotiateSpace(available, bHorz)) AlignControlBars();
  m_bParentSizing = FALSE;

  CSize result = bHorz ? m_szHorz : m_szVert;
  if (!bHorz && m_szMax.cx > 0) result.cx = std::min<LONG>(result.cx, m_szMax.cx);
  if (bHorz && m_szMax.cy > 0) result.cy = std::min<LONG>(result.cy, m_szMax.cy);
  result.cx = std::max<LONG>(result.cx, m_szMin.cx);
  result.cy = std::max<LONG>(result.cy, m_szMin.cy);
  CSize minimum = m_szMin;
  if (otherExpanded)
    LengthOf(result, bHorz) = LengthOf(minimum, bHorz);
  else if (m_bMaximized)
    LengthOf(result, bHorz) = available - static_cast<int>(row.size() - 1) * LengthOf(minimum, bHorz);
  return result;
}

CSize CPlxSizingControlBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  // Rolled up only counts while floating: a docked bar loaded as rolled keeps its docked size.
  if (m_bRolled && !(dwMode & (LM_HORZDOCK | LM_VERTDOCK))) {
    CWnd* focus = GetFocus();
    if (focus == nullptr || (focus != this && !IsChild(focus)))
      return CSize(m_szFloat.cx, ::GetSystemMetrics(SM_CYFRAME) - 1);
  }
  if (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) {
    if (nLength == -1) m_bParentSizing = TRUE;
    return CControlBar::CalcDynamicLayout(nLength, dwMode);
  }
  if (dwMode & (LM_MRUWIDTH | LM_COMMIT)) return m_szFloat;
  if (dwMode & LM_LENGTHY)
    m_szFloat.cy = nLength;
  else
    m_szFloat.cx = nLength;
  if (m_szMax.cx > 0) m_szFloat.cx = std::min<LONG>(m_szFloat.cx, m_szMax.cx);
  if (m_szMax.cy > 0) m_szFloat.cy = std::min<LONG>(m_szFloat.cy, m_szMax.cy);
  m_szFloat.cx = std::max<LONG>(m_szFloat.cx, m_szMin.cx);
  m_szFloat.cy = std::max<LONG>(m_szFloat.cy, m_szMin.cy);
  return m_szFloat;
}

BOOL CPlxSizingControlBar::NegotiateSpace(int nLengthTotal, BOOL bHorz) {
  CDockBar* dock = m_pDockBar;
  if (dock == nullptr) return TRUE;
  int first = -1, last = -1, self = -1;
  GetRowInfo(first, last, self);
  if (self < 0) return TRUE;
  auto& entries = dock->m_arrBars;
  for (int i = first; i <= last; ++i) {
    CControlBar* bar = entries[static_cast<size_t>(i)];
    if (bar == nullptr || bar == this || !bar->IsVisible() || FindSizingBar(bar) != nullptr) continue;
    CRect rect;
    bar->GetWindowRect(&rect);
    nLengthTotal -= bHorz ? rect.Width() : rect.Height();
  }
  std::vector<CPlxSizingControlBar*> row;
  GetRowSizingBars(row);
  int lengths = 0, minimum = 2, thickness = 0;
  for (CPlxSizingControlBar* bar : row) {
    CSize& size = bHorz ? bar->m_szHorz : bar->m_szVert;
    lengths += LengthOf(size, bHorz);
    minimum += LengthOf(bar->m_szMin, bHorz);
    thickness = std::max(thickness, ThicknessOf(size, bHorz));
  }
  if (minimum > nLengthTotal) {
    // The row cannot hold them all: this bar starts a row of its own right after this one.
    if (last > first) {
      entries.insert(entries.begin() + last + 1, {nullptr, this});
      entries.erase(entries.begin() + self);
      DelayFrameLayout();  // the dock bar is part way through the old rows
    }
    return FALSE;
  }
  for (CPlxSizingControlBar* bar : row) ThicknessOf(bHorz ? bar->m_szHorz : bar->m_szVert, bHorz) = thickness;

  // The difference goes out one pixel at a time, in row order; bars shown since the last layout
  // keep their length while the others can still take it.
  int d = nLengthTotal - lengths;
  while (d != 0) {
    const int before = d;
    for (CPlxSizingControlBar* bar : row) {
      if (d == 0) break;
      int& length = LengthOf(bHorz ? bar->m_szHorz : bar->m_szVert, bHorz);
      if (bar->m_bKeepSize || (d < 0 && length <= LengthOf(bar->m_szMin, bHorz))) continue;
      const int step = d > 0 ? 1 : -1;
      length += step;
      d -= step;
    }
    if (d == 0 || d == before) {
      BOOL kept = FALSE;
      for (CPlxSizingControlBar* bar : row) {
        kept |= bar->m_bKeepSize;
        bar->m_bKeepSize = FALSE;
      }
      if (d == before && !kept) break;  // every bar is at its minimum
    }
  }
  for (CPlxSizingControlBar* bar : row) bar->m_bKeepSize = FALSE;
  return TRUE;
}

void CPlxSizingControlBar::AlignControlBars() {
  CDockBar* dock = m_pDockBar;
  if (dock == nullptr) return;
  int first = -1, last = -1, self = -1;
  GetRowInfo(first, last, self);
  if (self < 0) return;
  const BOOL horz = IsHorzDocked();
  // Positions along a right-to-left row count from the dock bar's right.
  const BOOL mirrored = horz && dock->IsRTL();
  CRect dockClient;
  dock->GetClientRect(&dockClient);
  const int width = dockClient.Width();
  const int available = GetAvailableLength(horz);
  int position = 0;
  BOOL moved = FALSE;
  CControlBar* previous = nullptr;
  for (int i = first; i <= last; ++i) {
    CControlBar* bar = dock->m_arrBars[static_cast<size_t>(i)];
    if (bar == nullptr || !bar->IsVisible()) continue;
    CRect rect;
    bar->GetWindowRect(&rect);
    dock->ScreenToClient(&rect);
    if (mirrored) rect = CRect(width - rect.right, rect.top, width - rect.left, rect.bottom);
    // A dialog bar outside sizing mode keeps its template's size, which the dock bar gives it
    // again on every layout: sized here from the model, the two would move it back and forth.
    auto* dialogBar = dynamic_cast<CPlxDialogBar*>(bar);
    if (CPlxSizingControlBar* sizing = FindSizingBar(bar);
        sizing != nullptr && (dialogBar == nullptr || dialogBar->IsSizingMode()))
      rect = CRect(rect.TopLeft(), horz ? sizing->m_szHorz : sizing->m_szVert);
    // A bar that does not fit after the others is wrapped by the dock bar to a row of its own,
    // where it starts again at 0: aligned after the others, the two would move it for ever.
    const int length = horz ? rect.Width() : rect.Height();
    if (position > 0 && position + length > available) position = 0;
    const int start = horz ? rect.left : rect.top;
    if (start != position) {
      if (horz)
        rect.OffsetRect(position - start, 0);
      else
        rect.OffsetRect(0, position - start);
      const int left = mirrored ? width - rect.right : rect.left;
      bar->SetWindowPos(nullptr, left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      moved = TRUE;
    }
    // Later bars of the row lie above earlier ones.
    if (moved && previous != nullptr) previous->SetWindowPos(bar, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    position += horz ? rect.Width() : rect.Height();
    previous = bar;
  }
  if (moved) DelayFrameLayout();
}

void CPlxSizingControlBar::DelayFrameLayout() {
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
}

CPlxSizingControlBar* CPlxSizingControlBar::TrackedNeighbour(
    const std::vector<CPlxSizingControlBar*>& row) const {
  const auto it = std::find(row.begin(), row.end(), this);
  if (it == row.end()) return nullptr;
  if (m_htEdge == HTLEFT || m_htEdge == HTTOP) return it != row.begin() ? *(it - 1) : nullptr;
  return (it + 1) != row.end() ? *(it + 1) : nullptr;
}

void CPlxSizingControlBar::StartTracking(UINT nHitTest) {
  SetCapture();
  RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const BOOL horz = IsHorzDocked();
  m_szOld = horz ? m_szHorz : m_szVert;
  CPoint point(static_cast<int>(static_cast<short>(LOWORD(::GetMessagePos()))),
               static_cast<int>(static_cast<short>(HIWORD(::GetMessagePos()))));
  ScreenToClient(&point);
  if (IsRTL()) point.x = -point.x;  // the reading order's x grows to the left
  m_ptOld = point;
  m_bTracking = TRUE;
  m_htEdge = nHitTest;

  std::vector<CPlxSizingControlBar*> row;
  GetRowSizingBars(row);
  m_szMinT = m_szMin;
  m_szMaxT = m_szOld;
  int minThick = 0, maxThick = 0;
  for (CPlxSizingControlBar* bar : row) {
    minThick = std::max(minThick, ThicknessOf(bar->m_szMin, horz));
    const int barMax = ThicknessOf(bar->m_szMax, horz);
    if (barMax == -1 || maxThick == -1)
      maxThick = -1;
    else
      maxThick = std::max(maxThick, barMax);
  }
  ThicknessOf(m_szMinT, horz) = minThick;

  if (IsSideTracking()) {
    if (CPlxSizingControlBar* neighbour = TrackedNeighbour(row)) {
      const CSize& size = horz ? neighbour->m_szHorz : neighbour->m_szVert;
      m_szMaxT = m_szOld + size - neighbour->m_szMin;
    }
  } else {
    CRect free;
    if (CFrameWnd* frame = GetDockingFrame()) {
      frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &free, nullptr, TRUE);
      frame->SendMessage(WM_IDLEUPDATECMDUI);
    }
    m_szMaxT = m_szOld + free.Size() - CSize(4, 4);
    if (maxThick > 0) ThicknessOf(m_szMaxT, horz) = std::min(ThicknessOf(m_szMaxT, horz), maxThick);
  }
  OnTrackInvertTracker();
}

void CPlxSizingControlBar::OnTrackUpdateSize(CPoint& point) {
  if (point == m_ptOld) return;
  CSize size = m_szOld;
  switch (m_htEdge) {
    case HTLEFT:
      size.cx += m_ptOld.x - point.x;
      break;
    case HTRIGHT:
      size.cx += point.x - m_ptOld.x;
      break;
    case HTTOP:
      size.cy += m_ptOld.y - point.y;
      break;
    case HTBOTTOM:
      size.cy += point.y - m_ptOld.y;
      break;
    default:
      break;
  }
  size.cx = std::max<LONG>(std::min<LONG>(size.cx, m_szMaxT.cx), m_szMinT.cx);
  size.cy = std::max<LONG>(std::min<LONG>(size.cy, m_szMaxT.cy), m_szMinT.cy);

  OnTrackInvertTracker();
  const BOOL horz = IsHorzDocked();
  CSize& current = horz ? m_szHorz : m_szVert;
  const int grown = LengthOf(size, horz) - LengthOf(current, horz);
  current = size;
  std::vector<CPlxSizingControlBar*> row;
  GetRowSizingBars(row);
  if (IsSideTracking()) {
    if (CPlxSizingControlBar* neighbour = TrackedNeighbour(row))
      LengthOf(horz ? neighbour->m_szHorz : neighbour->m_szVert, horz) -= grown;
  } else {
    for (CPlxSizingControlBar* bar : row)
      ThicknessOf(horz ? bar->m_szHorz : bar->m_szVert, horz) = ThicknessOf(size, horz);
  }
  OnTrackInvertTracker();
}

void CPlxSizingControlBar::OnTrackInvertTracker() {
  CFrameWnd* frame = GetDockingFrame();
  if (m_pDockBar == nullptr || frame == nullptr) return;
  CRect window;
  GetWindowRect(&window);
  CRect tracker;
  if (!GetEdgeRect(CRect(0, 0, window.Width(), window.Height()), m_htEdge, tracker)) return;
  tracker = MirrorRect(tracker);
  tracker.OffsetRect(window.TopLeft());
  if (!IsSideTracking()) {
    // The outer edge moves the whole row: its tracker spans the dock bar.
    CRect dock;
    m_pDockBar->GetWindowRect(&dock);
    if (IsHorzDocked()) {
      tracker.left = dock.left + 1;
      tracker.right = dock.right - 1;
    } else {
      tracker.top = dock.top + 1;
      tracker.bottom = dock.bottom - 1;
    }
  }
  CRect frameRect;
  frame->GetWindowRect(&frameRect);
  tracker.OffsetRect(-frameRect.TopLeft());
  const CSize current = IsHorzDocked() ? m_szHorz : m_szVert;
  CSize delta = current - m_szOld;
  const BOOL negate = (m_nDockBarID == AFX_IDW_DOCKBAR_LEFT && m_htEdge == HTTOP) ||
                      (m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT && m_htEdge != HTBOTTOM) ||
                      (m_nDockBarID == AFX_IDW_DOCKBAR_TOP && m_htEdge == HTLEFT) ||
                      (m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM && m_htEdge != HTRIGHT);
  if (negate) delta = CSize(-delta.cx, -delta.cy);
  if (IsRTL()) delta.cx = -delta.cx;
  tracker.OffsetRect(delta);
  CDC* dc = frame->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  if (dc == nullptr) return;
  HGDIOBJ old = dc->SelectObject(static_cast<HGDIOBJ>(pictavo::gdi::HalftoneBrush()));
  dc->PatBlt(tracker.left, tracker.top, tracker.Width(), tracker.Height(), PATINVERT);
  dc->SelectObject(old);
  frame->ReleaseDC(dc);
}

void CPlxSizingControlBar::StopTracking() {
  OnTrackInvertTracker();
  m_bTracking = FALSE;
  if (GetCapture() == this) ::ReleaseCapture();
  DelayFrameLayout();
}

void CPlxSizingControlBar::OnEndTracking() {
  StopTracking();
  std::vector<CPlxSizingControlBar*> row;
  GetRowSizingBars(row);
  const BOOL horz = IsHorzDocked();
  const int maxLength = LengthOf(m_szMaxT, horz);
  for (CPlxSizingControlBar* bar : row) {
    const BOOL was = bar->m_bMaximized;
    int length = LengthOf(horz ? bar->m_szHorz : bar->m_szVert, horz);
    if (length == maxLength && row.size() == 2) {
      bar->m_bMaximized = TRUE;
      int& oldLength = LengthOf(bar->m_szOld, horz);
      if (oldLength == length) oldLength /= static_cast<int>(row.size());
    } else {
      bar->m_bMaximized = FALSE;
    }
    if (was != bar->m_bMaximized) bar->RedrawButton(bar->m_Buttons[kExpandButton]);
  }
}

void CPlxSizingControlBar::ToggleExpand(BOOL bToggle) {
  if (IsFloatingBar()) return;
  std::vector<CPlxSizingControlBar*> row;
  GetRowSizingBars(row);
  if (row.size() < 2) return;
  if (bToggle) m_bMaximized = !m_bMaximized;
  const BOOL horz = IsHorzDocked();
  const int available = GetAvailableLength(horz);
  if (m_bMaximized) {
    for (CPlxSizingControlBar* bar : row) {
      if (bar == this || !bar->m_bMaximized) continue;
      bar->m_bMaximized = FALSE;
      if (bar->m_ToolTip.GetSafeHwnd() != nullptr) bar->m_ToolTip.UpdateTipText(kExpandTipId, bar, 2);
      bar->RedrawButton(bar->m_Buttons[kExpandButton]);
    }
    for (CPlxSizingControlBar* bar : row) bar->m_szOld = horz ? bar->m_szHorz : bar->m_szVert;
    for (CPlxSizingControlBar* bar : row) {
      int& length = LengthOf(horz ? bar->m_szHorz : bar->m_szVert, horz);
      length = bar == this ? (horz ? available + 2 : available) : LengthOf(bar->m_szMin, horz);
    }
  } else {
    for (CPlxSizingControlBar* bar : row) (horz ? bar->m_szHorz : bar->m_szVert) = bar->m_szOld;
  }
  if (m_ToolTip.GetSafeHwnd() != nullptr)
    m_ToolTip.UpdateTipText(m_bMaximized ? kExpandTipId + 1 : kExpandTipId, this, 2);
  DelayFrameLayout();
}

void CPlxSizingControlBar::OnCustomizeMode(BOOL bCustomize) {
  for (CWnd* child = GetTopWindow(); child != nullptr; child = child->GetWindow(GW_HWNDNEXT))
    child->EnableWindow(!bCustomize);
}

void CPlxSizingControlBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(reinterpret_cast<CCmdTarget*>(pTarget), bDisableIfNoHndler);
  if (IsFloatingBar()) return;
  CWnd* focus = GetFocus();
  const BOOL active = focus != nullptr && IsChild(focus);
  if (active != m_bActive) {
    m_bActive = active;
    SendMessage(WM_NCPAINT);
  }
}

void CPlxSizingControlBar::ResetButtons(BOOL bRepaint) {
  for (CPlxCaptionButton& button : m_Buttons) {
    if (!button.m_bPushed && !button.m_bFocused) continue;
    button.m_bPushed = button.m_bFocused = FALSE;
    if (bRepaint) RedrawButton(button);
  }
}

void CPlxSizingControlBar::PressButton(UINT nHitTest) {
  for (int i = 0; i < kButtons; ++i) {
    CPlxCaptionButton& button = m_Buttons[i];
    if (button.m_bHidden || button.m_nHit != nHitTest) continue;
    if (i == kExpandButton && m_bIsSingleInRow) return;  // drawn disabled: the click is ignored
    button.m_bPushed = button.m_bFocused = TRUE;
    RedrawButton(button);
    SetCapture();
    return;
  }
}

LRESULT CPlxSizingControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      pos->flags |= SWP_FRAMECHANGED;  // edges and caption follow the bar's place in its row
      const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
      CWnd* parent = GetParent();
      m_nDockBarID = parent != nullptr ? static_cast<UINT>(parent->GetDlgCtrlID()) : 0;
      if (!IsFloatingBar() && (pos->flags & SWP_SHOWWINDOW)) m_bKeepSize = TRUE;
      return result;
    }
    case WM_NCCALCSIZE: {
      auto* rect = reinterpret_cast<RECT*>(lParam);  // rgrc[0] leads NCCALCSIZE_PARAMS too
      CRect rc(*rect);
      CalcNcSize(rc);
      *rect = rc;
      return 0;
    }
    case WM_NCHITTEST:
      return HitTest(PointOf(lParam));
    case WM_NCPAINT:
      PaintNc(reinterpret_cast<HRGN>(wParam));
      return 0;
    case WM_PAINT: {
      CPaintDC dc(this);  // the children paint themselves
      return 0;
    }
    case WM_SIZE: {
      const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
      SetButtonsPos();
      return result;
    }
    case WM_SETTEXT: {
      const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
      const auto* text = reinterpret_cast<LPCTSTR>(lParam);
      if (IsFloatingBar())
        if (CWnd* frame = m_pDockBar != nullptr ? m_pDockBar->GetParent() : nullptr)
          frame->SetWindowText(text);
      if (m_pDockBar != nullptr) m_pDockBar->SetWindowText(text);
      SendMessage(WM_NCPAINT);
      return result;
    }
    case WM_SETCURSOR:
      if (!IsFloatingBar()) {
        const UINT hit = LOWORD(lParam);
        if ((hit == HTLEFT || hit == HTRIGHT) && g_plxGlobalData.hcurSplitHorz != nullptr) {
          ::SetCursor(g_plxGlobalData.hcurSplitHorz);
          return TRUE;
        }
        if ((hit == HTTOP || hit == HTBOTTOM) && g_plxGlobalData.hcurSplitVert != nullptr) {
          ::SetCursor(g_plxGlobalData.hcurSplitVert);
          return TRUE;
        }
      }
      break;
    case WM_NCLBUTTONDOWN: {
      if (IsFloatingBar() || m_bTracking) break;
      const UINT hit = static_cast<UINT>(wParam);
      if (m_cyGripper > 0)
        for (const CPlxCaptionButton& button : m_Buttons)
          if (!button.m_bHidden && button.m_nHit == hit) {
            PressButton(hit);
            return 0;
          }
      if (IsSizeEdge(hit)) {
        StartTracking(hit);
        return 0;
      }
      if (hit == HTCAPTION) {
        for (CWnd* child = GetTopWindow(); child != nullptr; child = child->GetWindow(GW_HWNDNEXT))
          if (!child->IsKindOf(RUNTIME_CLASS(CControlBar))) {
            child->SetFocus();
            break;
          }
        if (m_pDockContext != nullptr) m_pDockContext->StartDrag(PointOf(lParam));
        return 0;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      if (m_pDockBar == nullptr) return DefWindowProc(message, wParam, lParam);
      if (m_cyGripper > 0) {
        BOOL any = FALSE;
        for (const CPlxCaptionButton& button : m_Buttons) any |= button.m_bPushed || button.m_bFocused;
        if (any) {
          ResetButtons(TRUE);
          if (GetCapture() == this) ::ReleaseCapture();
        }
      }
      CPoint point = PointOf(lParam);
      CRect client;
      GetClientRect(&client);
      ClientToScreen(&point);
      if (client.PtInRect(PointOf(lParam))) {
        if (m_pDockContext != nullptr) m_pDockContext->StartDrag(point);
        return 0;
      }
      return SendMessage(WM_NCLBUTTONDOWN, HitTest(point), MAKELPARAM(point.x, point.y));
    }
    case WM_LBUTTONUP: {
      if (m_bTracking) {
        OnEndTracking();
        break;
      }
      if (m_cyGripper > 0)
        for (int i = 0; i < kButtons; ++i) {
          CPlxCaptionButton& button = m_Buttons[i];
          if (!button.m_bPushed) continue;
          const BOOL over = button.m_bFocused;
          button.m_bPushed = FALSE;
          if (GetCapture() == this) ::ReleaseCapture();
          RedrawButton(button);
          if (over) {
            if (i == kExpandButton) {
              ToggleExpand(TRUE);
            } else if (CanBeClosed()) {
              if (CFrameWnd* frame = GetDockingFrame()) frame->ShowControlBar(this, FALSE, FALSE);
            }
          }
          break;
        }
      break;
    }
    case WM_LBUTTONDBLCLK:
      if (m_pDockBar != nullptr && m_pDockContext != nullptr) {
        m_pDockContext->ToggleDocking();
        return 0;
      }
      return DefWindowProc(message, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      if (m_pDockBar != nullptr && m_pDockContext != nullptr && !IsSizeEdge(static_cast<UINT>(wParam))) {
        m_pDockContext->ToggleDocking();
        return 0;
      }
      break;
    case WM_MOUSEMOVE: {
      CPoint point = PointOf(lParam);
      if (m_bTracking) {
        if (IsRTL()) point.x = -point.x;
        OnTrackUpdateSize(point);
      } else {
        ClientToScreen(&point);
        UpdateButtonsHot(point);
      }
      break;
    }
    case WM_NCMOUSEMOVE:
      if (!m_bTracking) UpdateButtonsHot(PointOf(lParam));
      break;
    case WM_CAPTURECHANGED: {
      if (m_bTracking && reinterpret_cast<HWND>(lParam) != m_hWnd) StopTracking();
      const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
      ResetButtons(TRUE);
      return result;
    }
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONUP: {
      if (message == WM_RBUTTONDOWN && m_bTracking) {
        StopTracking();
        break;
      }
      if (CPlxToolBar::m_bCustomizeMode) break;
      CPoint point = PointOf(lParam);
      if (message == WM_RBUTTONDOWN) ClientToScreen(&point);
      if (CFrameWnd* frame = GetDockingFrame())
        frame->SendMessage(PLX_WM_TOOLBARMENU, reinterpret_cast<WPARAM>(m_hWnd),
                           MAKELPARAM(point.x, point.y));
      return 0;
    }
    default:
      break;
  }
  return CControlBar::WindowProc(message, wParam, lParam);
}
