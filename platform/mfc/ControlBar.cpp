// Control bars and the layout of a window's bars (RepositionBars).
#include "platform/mfc/ControlBar.h"

#include <algorithm>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/ThreadState.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  RECT old{};
  ::GetWindowRect(hWnd, &old);
  HWND parent = ::GetParent(hWnd);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&old), 2);
  if (::EqualRect(&old, lpRect)) return;
  const int width = lpRect->right - lpRect->left;
  const int height = lpRect->bottom - lpRect->top;
  if (lpLayout->hDWP)
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, width, height,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
  else
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, width, height, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout{};
  layout.bStretch = bStretch;
  if (lpRectClient)
    layout.rect = *lpRectClient;
  else
    GetClientRect(&layout.rect);
  const UINT mode = nFlag & ~static_cast<UINT>(reposNoPosLeftOver);
  if (mode != reposQuery) layout.hDWP = ::BeginDeferWindowPos(8);
  HWND leftOver = nullptr;
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    const UINT id = static_cast<WORD>(::GetDlgCtrlID(child));
    if (id == nIDLeftOver)
      leftOver = child;
    else if (id >= nIDFirst && id <= nIDLast && FromHandlePermanent(child))
      ::SendMessage(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }
  if (mode == reposQuery) {
    if (!lpRectParam) return;
    if (bStretch)
      *lpRectParam = layout.rect;
    else
      *lpRectParam = RECT{0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy};
    return;
  }
  if (nIDLeftOver != 0 && leftOver) {
    if (mode == reposExtra && lpRectParam) {
      layout.rect.left += lpRectParam->left;
      layout.rect.top += lpRectParam->top;
      layout.rect.right -= lpRectParam->right;
      layout.rect.bottom -= lpRectParam->bottom;
    }
    if (!(nFlag & reposNoPosLeftOver)) {
      FromHandle(leftOver)->CalcWindowRect(&layout.rect);
      AfxRepositionWindow(&layout, leftOver, &layout.rect);
    }
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

CControlBar::CControlBar() = default;
CControlBar::~CControlBar() {
  // A bar deleted with its window still up is past its own WM_DESTROY handler by the time the
  // window goes: leave the dock bar here, or its floating frame keeps a dangling bar.
  if (m_pDockBar != nullptr) m_pDockBar->RemoveControlBar(this);
  delete m_pDockContext;
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
  if (m_pDockContext == nullptr) m_pDockContext = new CDockContext(this);
  m_pDockContext->m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
  m_pDockContext->m_pDockSite = GetDockingFrame();
}

CWnd* CControlBar::GetBarOwner() const {
  if (m_hWndOwner != nullptr && ::IsWindow(m_hWndOwner)) return FromHandle(m_hWndOwner);
  return GetOwner();
}

BOOL CControlBar::IsFloating() const {
  return (m_dwStyle & CBRS_FLOATING) != 0;
}

CFrameWnd* CControlBar::GetDockingFrame() const {
  return m_pDockSite != nullptr ? m_pDockSite : AfxGetParentFrame(this);
}

void CControlBar::OnLButtonDown(UINT, CPoint point) {
  if (m_pDockContext == nullptr) {
    Default();
    return;
  }
  ClientToScreen(&point);
  m_pDockContext->StartDrag(point);
}

void CControlBar::OnLButtonDblClk(UINT, CPoint) {
  if (m_pDockContext != nullptr)
    m_pDockContext->ToggleDocking();
  else
    Default();
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  if (m_dwStyle == dwStyle) return;
  m_dwStyle = dwStyle;
  if (m_hWnd) Invalidate();
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
  m_cxLeftBorder = cxLeft;
  m_cyTopBorder = cyTop;
  m_cxRightBorder = cxRight;
  m_cyBottomBorder = cyBottom;
}

CRect CControlBar::GetBorders() const {
  return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

BOOL CControlBar::IsVisible() const {
  return (GetStyle() & WS_VISIBLE) != 0;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size;
  if (bStretch) {
    if (bHorz)
      size.cx = 32767;
    else
      size.cy = 32767;
  }
  return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
  // Horizontal when docked at the top or bottom; stretched when the layout asks for it.
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL) const {
  rect.left += m_cxLeftBorder;
  rect.top += m_cyTopBorder;
  rect.right -= m_cxRightBorder;
  rect.bottom -= m_cyBottomBorder;
}

COLORREF CControlBar::BackgroundColor() const {
  return m_clrBackground == CLR_DEFAULT ? ::GetSysColor(COLOR_3DFACE) : m_clrBackground;
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  // The flat look: one line in the shadow colour on the sides the style names.
  const COLORREF line = ::GetSysColor(COLOR_3DSHADOW);
  if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, line);
  if (m_dwStyle & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, line);
  if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), line);
  if (m_dwStyle & CBRS_BORDER_RIGHT) pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), line);
}

void CControlBar::DoPaint(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
}

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  pDC->FillSolidRect(&rect, BackgroundColor());
  return TRUE;
}

HBRUSH CControlBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  LRESULT result = 0;
  if (pWnd && pWnd->SendChildNotifyLastMsg(&result)) return reinterpret_cast<HBRUSH>(result);
  // Children of a bar are drawn on the bar's face.
  pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  pDC->SetBkColor(::GetSysColor(COLOR_3DFACE));
  return ::GetSysColorBrush(COLOR_3DFACE);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  const DWORD style = m_dwStyle | (GetStyle() & WS_VISIBLE);
  if (!(style & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY)) return 0;
  CRect rect(layout->rect);
  const CSize available = rect.Size();
  const bool horizontal = (style & CBRS_ORIENT_HORZ) != 0;
  CSize size = CalcFixedLayout(layout->bStretch, horizontal);
  size.cx = std::min<LONG>(size.cx, available.cx);
  size.cy = std::min<LONG>(size.cy, available.cy);
  if (horizontal) {
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
    if (style & CBRS_ALIGN_TOP) {
      layout->rect.top += size.cy;
    } else if (style & CBRS_ALIGN_BOTTOM) {
      rect.top = rect.bottom - size.cy;
      layout->rect.bottom -= size.cy;
    }
  } else {
    layout->sizeTotal.cx += size.cx;
    layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
    if (style & CBRS_ALIGN_LEFT) {
      layout->rect.left += size.cx;
    } else if (style & CBRS_ALIGN_RIGHT) {
      rect.left = rect.right - size.cx;
      layout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (layout->hDWP) AfxRepositionWindow(layout, m_hWnd, &rect);
  return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  // The owner is the target, frame or not: the class library hands it over as its frame.
  if (CWnd* owner = GetBarOwner())
    OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(owner), static_cast<BOOL>(wParam));
  return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      // A destroyed bar leaves its dock bar's rows: nothing may lay out or find a dead bar.
      if (m_pDockBar != nullptr) m_pDockBar->RemoveControlBar(this);
      break;
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
      // The bar's children talk to the bar's owner, after the child itself had its say.
      LRESULT result = 0;
      HWND child = nullptr;
      switch (message) {
        case WM_NOTIFY:
          child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
          break;
        case WM_COMMAND:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
          child = reinterpret_cast<HWND>(lParam);
          break;
        case WM_DRAWITEM:
          child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
          break;
        case WM_DELETEITEM:
          child = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
          break;
        case WM_COMPAREITEM:
          child = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
          break;
        case WM_MEASUREITEM:  // names its control by id only
          child = ::GetDlgItem(m_hWnd, static_cast<int>(wParam));
          break;
        default:
          break;
      }
      if (CWnd* control = FromHandlePermanent(child))
        if (control->OnChildNotify(message, wParam, lParam, &result)) return result;
      if (CWnd* owner = GetBarOwner(); owner && owner->m_hWnd != m_hWnd)
        return owner->SendMessage(message, wParam, lParam);
      break;
    }
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}
