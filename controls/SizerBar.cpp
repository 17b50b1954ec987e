#include "controls/SizerBar.h"

#include <algorithm>

#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "shell/UIHelpers.h"

IMPLEMENT_DYNCREATE(CSizerBar, CWnd)

namespace {

// Shared by every bar; loaded at start-up.
const HCURSOR g_hCursorNS = ::LoadCursor(nullptr, IDC_SIZENS);
const HCURSOR g_hCursorWE = ::LoadCursor(nullptr, IDC_SIZEWE);

int Width(const RECT& rc) {
  return rc.right - rc.left;
}
int Height(const RECT& rc) {
  return rc.bottom - rc.top;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSizerBar, CWnd)
ON_WM_CREATE()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_CANCELMODE()
ON_WM_ERASEBKGND()
ON_WM_CHAR()
ON_WM_PAINT()
END_MESSAGE_MAP()

CSizerBar::CSizerBar() = default;

CSizerBar::~CSizerBar() = default;

BOOL CSizerBar::Create(DWORD dwStyle, CWnd* pParentWnd, CLayoutMgr* pLayout, UINT nID, const RECT& rect) {
  m_pLayout = pLayout;
  return CStatic::Create(nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CSizerBar::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= SS_NOTIFY;  // a static hears the mouse only with it
  return CStatic::PreCreateWindow(cs);
}

BOOL CSizerBar::IsHorizontal() {
  if (GetSafeHwnd() == nullptr) return FALSE;
  if (m_nOrientation < 0) {
    RECT rc;
    GetWindowRect(&rc);
    m_nOrientation = Width(rc) > Height(rc) ? 1 : 0;
  }
  return m_nOrientation == 1;
}

CPoint CSizerBar::AlongAxis(POINT pt) {
  return IsHorizontal() ? CPoint(0, pt.y) : CPoint(pt.x, 0);
}

void CSizerBar::DrawTrackerRect(CDC* pDC, const RECT& rc) {
  CBrush brush(GetSkinColor(SKIN_COLOR_MAIN_DLG));
  CBrush* old = pDC->SelectObject(&brush);
  pDC->PatBlt(rc.left, rc.top, Width(rc), Height(rc), PATINVERT);
  pDC->SelectObject(old);
}

void CSizerBar::DrawTracker() {
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  RECT parentRect;
  parent->GetWindowRect(&parentRect);
  RECT rc = m_rcTracker;
  ::OffsetRect(&rc, -parentRect.left, -parentRect.top);
  CWindowDC dc(parent);
  DrawTrackerRect(&dc, rc);
}

CPoint CSizerBar::ClampPoint(POINT pt) const {
  pt.x = std::min(std::max(pt.x, m_rcLimits.left), m_rcLimits.right);
  pt.y = std::min(std::max(pt.y, m_rcLimits.top), m_rcLimits.bottom);
  return pt;
}

void CSizerBar::EndDrag() {
  DrawTracker();
  ::ReleaseCapture();
  ::SetFocus(m_hwndPrevFocus);
  m_bDragging = FALSE;
}

void CSizerBar::NotifyMoved(int dx, int dy) {
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  _tagLayoutNotify notify{};
  notify.hdr.idFrom = static_cast<UINT>(GetDlgCtrlID());
  notify.hdr.code = LAYOUT_NOTIFY_SIZER_MOVED;
  notify.move.dx = dx;
  notify.move.dy = dy;
  parent->SendMessage(g_uWinMgrMsg, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&notify));
}

int CSizerBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  return CStatic::OnCreate(lpCreateStruct);
}

BOOL CSizerBar::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(IsHorizontal() ? g_hCursorNS : g_hCursorWE);
  return TRUE;
}

void CSizerBar::OnLButtonDown(UINT, CPoint point) {
  CWnd* parent = GetParent();
  _tagLayoutRow* row = m_pLayout != nullptr ? m_pLayout->FindRow(static_cast<UINT>(GetDlgCtrlID())) : nullptr;
  // A bar outside its owner's table, or at the edge of its group, has nothing to resize.
  if (parent == nullptr || row == nullptr || row->prev == nullptr || row->next == nullptr) return;

  m_bDragging = TRUE;
  m_ptStart = m_ptLast = AlongAxis(point);
  GetWindowRect(&m_rcTracker);
  DrawTracker();
  SetCapture();
  m_hwndPrevFocus = ::SetFocus(m_hWnd);

  const RECT prev = row->prev->rect;
  const RECT next = row->next->rect;
  _tagLayoutSizeInfo prevInfo{}, nextInfo{};
  m_pLayout->GetRowSizeInfo(prevInfo, row->prev, parent);
  m_pLayout->GetRowSizeInfo(nextInfo, row->next, parent);
  // Where the bar's edges may go so that neither neighbour leaves its minimum or maximum.
  RECT limits{std::max(prev.left + prevInfo.cxMin, next.right - nextInfo.cxMax),
              std::max(prev.top + prevInfo.cyMin, next.bottom - nextInfo.cyMax),
              std::min(prev.left + prevInfo.cxMax, next.right - nextInfo.cxMin),
              std::min(prev.top + prevInfo.cyMax, next.bottom - nextInfo.cyMin)};
  parent->ClientToScreen(&limits);
  ScreenToClient(&limits);

  // The same limits for the cursor point, which sits inside the bar.
  POINT cursor = point;
  ClientToScreen(&cursor);
  RECT bar;
  GetWindowRect(&bar);
  m_rcLimits = RECT{limits.left + cursor.x - bar.left, limits.top + cursor.y - bar.top,
                    limits.right - (bar.right - cursor.x), limits.bottom - (bar.bottom - cursor.y)};
}

void CSizerBar::OnMouseMove(UINT, CPoint point) {
  if (!m_bDragging) return;
  DrawTracker();
  const CPoint p = AlongAxis(ClampPoint(point));
  ::OffsetRect(&m_rcTracker, p.x - m_ptLast.x, p.y - m_ptLast.y);
  DrawTracker();
  m_ptLast = p;
}

void CSizerBar::OnLButtonUp(UINT, CPoint point) {
  if (!m_bDragging) return;
  const CPoint p = AlongAxis(ClampPoint(point));
  const int dx = p.x - m_ptStart.x;
  const int dy = p.y - m_ptStart.y;
  EndDrag();
  NotifyMoved(dx, dy);
}

void CSizerBar::OnCancelMode() {
  if (m_bDragging) EndDrag();
}

BOOL CSizerBar::OnEraseBkgnd(CDC*) {
  return FALSE;
}

void CSizerBar::OnChar(UINT nChar, UINT, UINT) {
  if (nChar == VK_ESCAPE && m_bDragging) {
    EndDrag();
    return;
  }
  Default();
}

void CSizerBar::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, GetSkinColor(SKIN_COLOR_MAIN_DLG));
}
