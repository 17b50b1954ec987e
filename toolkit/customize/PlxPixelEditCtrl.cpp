// The pixel grid of the button image editor: painting, the six tools and the rubber band.
#include "toolkit/customize/PlxPixelEditCtrl.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/user/Cursor.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxImageEditorDlg.h"

IMPLEMENT_DYNAMIC(CPlxPixelEditCtrl, CButton)

namespace plx_pixel_grid {

int CellSize(int client, int image) {
  if (image <= 0) return 0;
  return std::max(1, (client - 2) / image);
}

int PointToPixel(int v, int cell, int count) {
  if (cell <= 0 || count <= 0) return 0;
  const int p = (v - 1) / cell;
  return p <= 0 ? 0 : std::min(p, count - 1);
}

CRect WidenBand(const CRect& band) {
  CRect r = band;
  if (r.top != r.bottom) (r.top > r.bottom ? r.top : r.bottom) += 1;
  if (r.left != r.right) (r.left > r.right ? r.left : r.right) += 1;
  return r;
}

}  // namespace plx_pixel_grid

namespace {

// Cursors of the tools, in tool order.
constexpr UINT kToolCursors[6] = {16144, 16142, 16143, 16140, 16141, 16145};

bool IsSinglePixel(const CRect& band) {
  return band.left == band.right && band.top == band.bottom;
}

// Selects the bitmap into the memory DC for the scope of one read or write.
class BitmapScope {
 public:
  BitmapScope(CDC& dc, CBitmap* bitmap) : m_dc(dc), m_old(bitmap ? dc.SelectObject(bitmap) : nullptr) {}
  ~BitmapScope() {
    if (m_old) m_dc.SelectObject(m_old);
  }
  bool Ok() const { return m_old != nullptr; }

 private:
  CDC& m_dc;
  CBitmap* m_old;
};

}  // namespace

CPlxPixelEditCtrl::CPlxPixelEditCtrl(CPlxImageEditorDlg* pOwner) : m_pOwner(pOwner) {
  m_dcMem.CreateCompatibleDC(nullptr);
  m_penDraw.CreatePen(PS_SOLID, 1, m_color);
  m_rectBand.SetRectEmpty();
  m_rectPreview.SetRectEmpty();
}

CPlxPixelEditCtrl::~CPlxPixelEditCtrl() = default;

void CPlxPixelEditCtrl::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  LoadCursors();
}

void CPlxPixelEditCtrl::LoadCursors() {
  HINSTANCE module = AfxGetResourceHandle();
  for (int i = 0; i < 6; ++i)
    if (!m_hCursors[i]) m_hCursors[i] = ::LoadCursor(module, MAKEINTRESOURCE(kToolCursors[i]));
}

void CPlxPixelEditCtrl::SetBitmap(CBitmap* pBitmap) {
  m_pBitmap = pBitmap;
  BITMAP bm{};
  if (!pBitmap || !pBitmap->GetSafeHandle() || !pBitmap->GetObject(sizeof bm, &bm)) {
    m_pBitmap = nullptr;
    m_nWidth = m_nHeight = m_cxCell = m_cyCell = 0;
    return;
  }
  m_nWidth = bm.bmWidth;
  m_nHeight = bm.bmHeight;
  CRect client(0, 0, 0, 0);
  if (GetSafeHwnd()) GetClientRect(&client);
  m_cxCell = plx_pixel_grid::CellSize(client.Width(), m_nWidth);
  m_cyCell = plx_pixel_grid::CellSize(client.Height(), m_nHeight);
  m_penBand.DeleteObject();
  m_penBand.CreatePen(PS_SOLID, std::max(1, std::min(m_cxCell, m_cyCell)), g_plxGlobalData.clrBtnText);
}

void CPlxPixelEditCtrl::SetColor(COLORREF color) {
  m_color = color;
  m_penDraw.DeleteObject();
  m_penDraw.CreatePen(PS_SOLID, 1, color);
}

CPoint CPlxPixelEditCtrl::PointToPixel(CPoint point) const {
  return CPoint(plx_pixel_grid::PointToPixel(point.x, m_cxCell, m_nWidth),
                plx_pixel_grid::PointToPixel(point.y, m_cyCell, m_nHeight));
}

CRect CPlxPixelEditCtrl::PixelToPoint(const CRect& band) const {
  CRect r(band.left * m_cxCell + 1, band.top * m_cyCell + 1, band.right * m_cxCell + 1,
          band.bottom * m_cyCell + 1);
  r.OffsetRect(m_cxCell / 2, m_cyCell / 2);
  return r;
}

CRect CPlxPixelEditCtrl::CellArea() const {
  CRect client;
  GetClientRect(&client);
  return CRect(client.left, client.top, client.left + m_cxCell * m_nWidth, client.top + m_cyCell * m_nHeight);
}

CRect CPlxPixelEditCtrl::HitArea() const {
  CRect r = CellArea();
  r.DeflateRect(1, 1);
  return r;
}

CRect CPlxPixelEditCtrl::DrawingGrid() const {
  CRect r;
  GetClientRect(&r);
  r.DeflateRect(1, 1);
  r.right = r.left + m_cxCell * m_nWidth;
  r.bottom = r.top + m_cyCell * m_nHeight;
  return r;
}

void CPlxPixelEditCtrl::InvalidatePreview() {
  if (CWnd* parent = GetParent(); parent && !m_rectPreview.IsRectEmpty())
    parent->InvalidateRect(&m_rectPreview);
}

void CPlxPixelEditCtrl::RefreshAll() {
  Invalidate();
  UpdateWindow();
  InvalidatePreview();
}

void CPlxPixelEditCtrl::PaintPixel(CPoint point) {
  if (!m_pBitmap) return;
  const CPoint pixel = PointToPixel(point);
  const CRect grid = DrawingGrid();
  CRect cell(grid.left + pixel.x * m_cxCell, grid.top + pixel.y * m_cyCell, 0, 0);
  cell.right = cell.left + m_cxCell;
  cell.bottom = cell.top + m_cyCell;
  cell.DeflateRect(1, 1);
  {
    CClientDC dc(this);
    dc.FillSolidRect(&cell, m_color);
  }
  BitmapScope scope(m_dcMem, m_pBitmap);
  if (scope.Ok()) m_dcMem.SetPixel(pixel.x, pixel.y, CPlxButtonImages::MapToSysColor(m_color, TRUE));
  InvalidatePreview();
}

void CPlxPixelEditCtrl::FloodFill(CPoint pixel) {
  if (!m_pBitmap) return;
  {
    BitmapScope scope(m_dcMem, m_pBitmap);
    if (!scope.Ok()) return;
    const COLORREF there = m_dcMem.GetPixel(pixel.x, pixel.y);
    const COLORREF paint = CPlxButtonImages::MapToSysColor(m_color, TRUE);
    // Filling an area with the colour it already has changes nothing.
    if (there == CLR_INVALID || there == paint) return;
    CBrush brush;
    brush.CreateSolidBrush(paint);
    CBrush* old = m_dcMem.SelectObject(&brush);
    ::ExtFloodFill(m_dcMem.GetSafeHdc(), pixel.x, pixel.y, there, FLOODFILLSURFACE);
    m_dcMem.SelectObject(old);
  }
  RefreshAll();
}

void CPlxPixelEditCtrl::DrawBand(CDC& dc) const {
  const CRect r = PixelToPoint(m_rectBand);
  switch (m_nTool) {
    case Line:
      dc.MoveTo(r.left, r.top);
      dc.LineTo(r.right, r.bottom);
      break;
    case Rect:
      dc.Rectangle(&r);
      break;
    case Ellipse:
      dc.Ellipse(&r);
      break;
  }
}

void CPlxPixelEditCtrl::OnLButtonDown(CPoint point) {
  if (!m_pBitmap || !HitArea().PtInRect(point)) return;
  switch (m_nTool) {
    case Pencil:
      PaintPixel(point);
      break;
    case Line:
    case Rect:
    case Ellipse: {
      const CPoint pixel = PointToPixel(point);
      m_rectBand.SetRect(pixel.x, pixel.y, pixel.x, pixel.y);
      break;
    }
  }
  SetCapture();
}

void CPlxPixelEditCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  if (!(nFlags & MK_LBUTTON) || ::GetCapture() != m_hWnd || !m_pBitmap) return;
  CRect client;
  GetClientRect(&client);
  point.x = std::clamp<LONG>(point.x, client.left, client.right - 1);
  point.y = std::clamp<LONG>(point.y, client.top, client.bottom - 1);
  if (m_nTool == Pencil) {
    PaintPixel(point);
    return;
  }
  if (m_nTool != Line && m_nTool != Rect && m_nTool != Ellipse) return;
  CClientDC dc(this);
  const CRect hit = HitArea();
  dc.IntersectClipRect(&hit);
  CPen* oldPen = dc.SelectObject(&m_penBand);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  const int oldRop = dc.SetROP2(R2_NOT);
  if (!IsSinglePixel(m_rectBand)) DrawBand(dc);
  const CPoint pixel = PointToPixel(point);
  m_rectBand.right = pixel.x;
  m_rectBand.bottom = pixel.y;
  DrawBand(dc);
  dc.SetROP2(oldRop);
  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);
}

void CPlxPixelEditCtrl::OnLButtonUp(CPoint point) {
  if (::GetCapture() != m_hWnd) return;
  ::ReleaseCapture();
  if (!m_pBitmap) {
    m_rectBand.SetRectEmpty();
    return;
  }
  if (m_nTool == Rect || m_nTool == Ellipse) m_rectBand = plx_pixel_grid::WidenBand(m_rectBand);
  const bool single = IsSinglePixel(m_rectBand);
  bool shape = false;
  switch (m_nTool) {
    case Pencil:
      PaintPixel(point);
      break;
    case Fill:
      FloodFill(PointToPixel(point));
      break;
    case Line:
      if (!single) {
        {
          BitmapScope scope(m_dcMem, m_pBitmap);
          if (scope.Ok()) {
            CPen pen;
            pen.CreatePen(PS_SOLID, 1, CPlxButtonImages::MapToSysColor(m_color, TRUE));
            CPen* old = m_dcMem.SelectObject(&pen);
            m_dcMem.MoveTo(m_rectBand.left, m_rectBand.top);
            m_dcMem.LineTo(m_rectBand.right, m_rectBand.bottom);
            m_dcMem.SelectObject(old);
          }
        }
        shape = true;
      }
      // The line leaves its end pixel out.
      PaintPixel(point);
      break;
    case Rect:
    case Ellipse:
      if (single) {
        PaintPixel(point);
      } else {
        BitmapScope scope(m_dcMem, m_pBitmap);
        if (scope.Ok()) {
          CPen pen;
          pen.CreatePen(PS_SOLID, 1, CPlxButtonImages::MapToSysColor(m_color, TRUE));
          CPen* old = m_dcMem.SelectObject(&pen);
          CGdiObject* oldBrush = m_dcMem.SelectStockObject(NULL_BRUSH);
          if (m_nTool == Rect)
            m_dcMem.Rectangle(&m_rectBand);
          else
            m_dcMem.Ellipse(&m_rectBand);
          m_dcMem.SelectObject(oldBrush);
          m_dcMem.SelectObject(old);
        }
        shape = true;
      }
      break;
    case PickColor: {
      const CPoint pixel = PointToPixel(point);
      COLORREF color = CLR_INVALID;
      {
        BitmapScope scope(m_dcMem, m_pBitmap);
        if (scope.Ok()) color = m_dcMem.GetPixel(pixel.x, pixel.y);
      }
      if (color != CLR_INVALID && m_pOwner) m_pOwner->OnColorPicked(color);
      break;
    }
  }
  if (shape) RefreshAll();
  m_rectBand.SetRectEmpty();
}

BOOL CPlxPixelEditCtrl::OnSetCursor(UINT nHitTest) {
  CPoint point;
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  if (nHitTest == HTCLIENT && m_nTool >= 0 && m_nTool < 6 && m_hCursors[m_nTool] &&
      CellArea().PtInRect(point)) {
    ::SetCursor(m_hCursors[m_nTool]);
    return TRUE;
  }
  return FALSE;
}

LRESULT CPlxPixelEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnLButtonDown(point);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<UINT>(wParam), point);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(point);
      return 0;
    case WM_CANCELMODE:
      if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      m_rectBand.SetRectEmpty();
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(LOWORD(lParam))) return TRUE;
      break;
    case WM_ERASEBKGND:
      return TRUE;
  }
  return CButton::WindowProc(message, wParam, lParam);
}

void CPlxPixelEditCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect item(lpDIS->rcItem);
  pDC->FillRect(&item, &g_plxGlobalData.brBtnFace);
  const CRect grid = DrawingGrid();
  CRect frame = grid;
  frame.InflateRect(1, 1);
  pDC->Draw3dRect(&frame, g_plxGlobalData.clrBtnDkShadow, g_plxGlobalData.clrBtnHilite);
  if (!m_pBitmap || m_cxCell <= 0 || m_cyCell <= 0) return;

  CPen penGrid;
  penGrid.CreatePen(PS_SOLID, 1, g_plxGlobalData.clrBtnShadow);
  CPen* oldPen = pDC->SelectObject(&penGrid);
  for (int k = 1; k < m_nWidth; ++k) {
    pDC->MoveTo(grid.left + k * m_cxCell, grid.top + 1);
    pDC->LineTo(grid.left + k * m_cxCell, grid.bottom - 1);
  }
  for (int k = 1; k < m_nHeight; ++k) {
    pDC->MoveTo(grid.left + 1, grid.top + k * m_cyCell);
    pDC->LineTo(grid.right - 1, grid.top + k * m_cyCell);
  }
  pDC->SelectObject(oldPen);

  BitmapScope scope(m_dcMem, m_pBitmap);
  if (!scope.Ok()) return;
  for (int y = 0; y < m_nHeight; ++y) {
    for (int x = 0; x < m_nWidth; ++x) {
      const COLORREF pixel = m_dcMem.GetPixel(x, y);
      if (pixel == CLR_INVALID) continue;
      CRect cell(grid.left + x * m_cxCell, grid.top + y * m_cyCell, grid.left + (x + 1) * m_cxCell,
                 grid.top + (y + 1) * m_cyCell);
      cell.DeflateRect(1, 1);
      pDC->FillSolidRect(&cell, CPlxButtonImages::MapFromSysColor(pixel, FALSE));
    }
  }
}
