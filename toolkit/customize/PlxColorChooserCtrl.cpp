// The colour chooser control: geometry of the hexagon and the grey row, the plane and the
// luminance bar, their markers, mouse and keys.
#include "toolkit/customize/PlxColorChooserCtrl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/mfc/Dc.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"

IMPLEMENT_DYNAMIC(CPlxColorChooserCtrl, CButton)

COLORREF CPlxColorChooserCtrl::DisplayColor(COLORREF color, CPalette* palette) {
  if (g_plxGlobalData.nBitsPerPixel != 8 || palette == nullptr || palette->GetSafeHandle() == nullptr)
    return color;
  const int count = palette->GetEntryCount();
  COLORREF best = color;
  long bestDistance = -1;
  for (int i = 0; i < count; ++i) {
    PALETTEENTRY entry{};
    palette->GetPaletteEntries(static_cast<UINT>(i), 1, &entry);
    const long dr = entry.peRed - GetRValue(color), dg = entry.peGreen - GetGValue(color),
               db = entry.peBlue - GetBValue(color);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = RGB(entry.peRed, entry.peGreen, entry.peBlue);
    }
  }
  return best;
}

namespace {

constexpr double kStep = 0.05;
constexpr double kHexRatio = 0.57735026;

double Clamp01(double v) {
  return std::clamp(v, 0.0, 1.0);
}

}  // namespace

// ---- cells ----

CPlxColorCell::CPlxColorCell(int x, int y, int nSize, COLORREF color, COLORREF displayColor)
    : m_color(color), m_displayColor(displayColor), m_x(x), m_y(y), m_nSize(nSize) {
  SetHexagon(m_points, x, y, nSize);
}

void CPlxColorCell::SetHexagon(POINT* points, int cx, int cy, int s) {
  const int h = s / 2;
  const int d = static_cast<int>(s * kHexRatio) / 2;
  points[0] = {cx - h, cy - d};
  points[1] = {cx, cy - h};
  points[2] = {cx + h, cy - d};
  points[3] = {cx + h, cy + d};
  points[4] = {cx, cy + h};
  points[5] = {cx - h, cy + d};
}

BOOL CPlxColorCell::HitTest(CPoint point) const {
  CRgn rgn;
  POINT points[6];
  std::copy(std::begin(m_points), std::end(m_points), points);
  if (!rgn.CreatePolygonRgn(points, 6, ALTERNATE)) return FALSE;
  return rgn.PtInRegion(point);
}

void CPlxColorCell::DrawSelection(CDC* pDC) const {
  struct Frame {
    int size, dy, width;
    COLORREF color;
  };
  const Frame frames[] = {{m_nSize + 2, -1, 2, RGB(255, 255, 255)},
                          {m_nSize + 2, 0, 1, RGB(0, 0, 0)},
                          {m_nSize - 1, 0, 1, RGB(0, 0, 0)}};
  for (const Frame& f : frames) {
    POINT points[6];
    SetHexagon(points, m_x, m_y + f.dy, f.size);
    CRgn rgn;
    if (!rgn.CreatePolygonRgn(points, 6, ALTERNATE)) continue;
    CBrush brush;
    brush.CreateSolidBrush(f.color);
    pDC->FrameRgn(&rgn, &brush, f.width, f.width);
  }
}

// ---- control ----

CPlxColorChooserCtrl::CPlxColorChooserCtrl() = default;

CPlxColorChooserCtrl::~CPlxColorChooserCtrl() {
  for (int i = 0; i < m_cells.GetSize(); ++i) delete m_cells[i];
  m_cells.RemoveAll();
}

void CPlxColorChooserCtrl::PreSubclassWindow() {
  const UINT style = GetButtonStyle();
  SetButtonStyle((style & ~0x0F) | BS_OWNERDRAW, FALSE);
  CButton::PreSubclassWindow();
}

BOOL CPlxColorChooserCtrl::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style = (cs.style & ~0x0F) | BS_OWNERDRAW;
  return CButton::PreCreateWindow(cs);
}

CRect CPlxColorChooserCtrl::ClientRect() const {
  CRect rect;
  if (GetSafeHwnd() != nullptr) GetClientRect(&rect);
  return rect;
}

void CPlxColorChooserCtrl::SetPalette(CPalette* pPalette) {
  m_pPalette = pPalette;
  if (m_bmpPicture.GetSafeHandle() != nullptr) m_bmpPicture.DeleteObject();
  if (GetSafeHwnd() != nullptr) {
    Invalidate();
    UpdateWindow();
  }
}

void CPlxColorChooserCtrl::SetColor(COLORREF color) {
  m_colorCurrent = color;
  CPlxDrawHelper::RGBtoHSL(color, &m_dblHue, &m_dblSat, &m_dblLum);
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CPlxColorChooserCtrl::SelectColor(COLORREF color) {
  SetColor(color);
  if (GetSafeHwnd() != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPlxColorChooserCtrl::SetHueLumSat(double hue, double lum, double sat, BOOL bRedraw) {
  if (hue != -1) m_dblHue = hue;
  if (lum != -1) m_dblLum = lum;
  if (sat != -1) m_dblSat = sat;
  m_colorCurrent = CPlxDrawHelper::HLStoRGB(m_dblHue, m_dblLum, m_dblSat);
  if (bRedraw && GetSafeHwnd() != nullptr) {
    Invalidate();
    UpdateWindow();
  }
}

void CPlxColorChooserCtrl::GetHueLumSat(double& hue, double& lum, double& sat) const {
  hue = m_dblHue;
  lum = m_dblLum;
  sat = m_dblSat;
}

void CPlxColorChooserCtrl::SetBarWidth(int n) {
  m_nBarWidth = std::min(n, 3 * ClientRect().Width() / 4);
  if (GetSafeHwnd() != nullptr) Invalidate();
}

int CPlxColorChooserCtrl::SnapColorComponent(int v, int tol) {
  if (tol == 0) return v;
  if (v < tol) return 0;
  if (v > 255 - tol) return 255;
  if (std::abs(v - 128) < tol) return 128;
  if (std::abs(v - 192) < tol) return 192;
  return v;
}

COLORREF CPlxColorChooserCtrl::SnapColor(COLORREF color, int tol) {
  return RGB(SnapColorComponent(GetRValue(color), tol), SnapColorComponent(GetGValue(color), tol),
             SnapColorComponent(GetBValue(color), tol));
}

int CPlxColorChooserCtrl::HueAngle(int dx, int dy) {
  return static_cast<int>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 57.29577951308239);
}

void CPlxColorChooserCtrl::AddCell(int x, int y, int s, COLORREF color, int tol) {
  const COLORREF snapped = SnapColor(color, tol);
  m_cells.Add(new CPlxColorCell(x, y, s, snapped, DisplayColor(snapped, m_pPalette)));
}

void CPlxColorChooserCtrl::BuildHexagonCells(CRect rect) {
  if (rect.Width() > rect.Height())
    rect.DeflateRect((rect.Width() - rect.Height()) / 2, 0);
  else
    rect.DeflateRect(0, (rect.Height() - rect.Width()) / 2);
  const int s = rect.Height() / 13 + 1;
  const int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
  AddCell(cx, cy, s, RGB(255, 255, 255), 0);
  const double dirs[6][2] = {{-0.5, 0.866025}, {-1, 0}, {-0.5, -0.866025},
                             {0.5, -0.866025}, {1, 0},  {0.5, 0.866025}};
  for (int k = 1; k <= 6; ++k) {
    int x = cx + k * s, y = cy;
    const double lum = (7.0 - k) / 7.0 + 0.1;
    for (const auto& dir : dirs) {
      const int stepX = static_cast<int>(s * dir[0]), stepY = static_cast<int>(s * dir[1]);
      for (int i = 0; i < k; ++i) {
        AddCell(x, y, s, CPlxDrawHelper::HLStoRGB360(HueAngle(x - cx, y - cy), lum, 1), 16);
        x += stepX;
        y += stepY;
      }
    }
  }
}

void CPlxColorChooserCtrl::BuildGreyCells(CRect rect) {
  int s = std::min(rect.Height() / 2 - 2, rect.Width() / 13);
  if (s % 2 != 0) ++s;
  const int cy = (rect.top + rect.bottom) / 2;
  const int d = static_cast<int>(s * kHexRatio * 1.5);
  const int upper = cy - d / 2, lower = upper + d;
  // First pass from the left edge: where the row would end.
  int xEnd = rect.left + 3 * s;
  for (int i = 0; i < 15; ++i) xEnd += s / 2;
  const int x0 = (rect.right - s / 2 - xEnd - 2 * s) / 2;
  AddCell(x0 + s, cy, 2 * s, RGB(255, 255, 255), 0);
  int x = x0 + 3 * s, lastX = x;
  for (int i = 0; i < 15; ++i) {
    const int grey = 240 - 15 * i;
    AddCell(x, i % 2 == 0 ? upper : lower, s, RGB(grey, grey, grey), 7);
    lastX = x;
    x += s / 2;
  }
  AddCell(lastX + 2 * s - 1, cy, 2 * s, RGB(0, 0, 0), 0);
}

int CPlxColorChooserCtrl::HitTestCell(CPoint point) const {
  for (int i = 0; i < m_cells.GetSize(); ++i)
    if (GetCell(i)->HitTest(point)) return i;
  return -1;
}

int CPlxColorChooserCtrl::GetSelectedCell() const {
  for (int i = static_cast<int>(m_cells.GetSize()) - 1; i >= 0; --i)
    if (GetCell(i)->m_color == m_colorCurrent) return i;
  return -1;
}

double CPlxColorChooserCtrl::LuminanceFromY(int y) const {
  CRect rect = ClientRect();
  rect.DeflateRect(0, 5);
  // A bar of 10 pixels or less has no range: the luminance stays.
  if (rect.bottom <= rect.top) return m_dblLum;
  y = std::clamp<int>(y, rect.top, rect.bottom);
  return static_cast<double>(rect.bottom - y) / (rect.bottom - rect.top);
}

int CPlxColorChooserCtrl::YFromLuminance(double lum) const {
  CRect rect = ClientRect();
  rect.DeflateRect(0, 5);
  return rect.top + static_cast<int>((rect.bottom - rect.top) * (1 - lum));
}

CPoint CPlxColorChooserCtrl::GetMarkerPoint() const {
  const CRect rect = ClientRect();
  if (m_nType == LuminanceBar) return CPoint(m_nBarWidth + rect.left + 6, YFromLuminance(m_dblLum));
  if (m_nType == Plane)
    return CPoint(static_cast<int>(rect.Width() * m_dblHue),
                  static_cast<int>((1 - m_dblSat) * rect.Height()));
  return CPoint(0, 0);
}

CRect CPlxColorChooserCtrl::GetMarkerRect() const {
  const CPoint p = GetMarkerPoint();
  if (m_nType == LuminanceBar) return CRect(p.x - 4, p.y - 4, p.x + 5, p.y + 5);
  if (m_nType == Plane) return CRect(p.x - 9, p.y - 9, p.x + 10, p.y + 10);
  return CRect(0, 0, 0, 0);
}

void CPlxColorChooserCtrl::NotifyParent(UINT code) {
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- drawing ----

void CPlxColorChooserCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* target = CDC::FromHandle(lpDIS->hDC);
  const CRect item = lpDIS->rcItem;
  CPalette* oldTargetPalette = nullptr;
  if (m_pPalette != nullptr && m_pPalette->GetSafeHandle() != nullptr) {
    oldTargetPalette = target->SelectPalette(m_pPalette, FALSE);
    target->RealizePalette();
  }
  CDC memDC;
  CBitmap bitmap;
  CDC* dc = target;
  CBitmap* oldBitmap = nullptr;
  CPalette* oldMemPalette = nullptr;
  if (memDC.CreateCompatibleDC(target) &&
      bitmap.CreateCompatibleBitmap(target, item.Width(), item.Height())) {
    oldBitmap = memDC.SelectObject(&bitmap);
    if (m_pPalette != nullptr && m_pPalette->GetSafeHandle() != nullptr) {
      oldMemPalette = memDC.SelectPalette(m_pPalette, FALSE);
      memDC.RealizePalette();
    }
    g_plxGlobalData.DrawParentBackground(this, &memDC);
    dc = &memDC;
  }
  switch (m_nType) {
    case Sample: {
      const int half = item.Height() / 2;
      dc->FillSolidRect(item.left, item.top, item.Width(), half, m_colorCurrent);
      dc->FillSolidRect(item.left, item.top + half, item.Width(), half, m_colorInitial);
      CBrush frame;
      frame.CreateSolidBrush(::GetSysColor(COLOR_3DDKSHADOW));
      dc->FrameRect(&item, &frame);
      break;
    }
    case LuminanceBar:
      DrawLuminanceBar(dc);
      break;
    case Plane:
      DrawPlane(dc);
      break;
    default:
      DrawCells(dc);
      break;
  }
  if (dc == &memDC) {
    CRect clip;
    target->GetClipBox(&clip);
    clip.IntersectRect(clip, item);
    target->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memDC, clip.left, clip.top, SRCCOPY);
    if (oldMemPalette != nullptr) memDC.SelectPalette(oldMemPalette, FALSE);
    memDC.SelectObject(oldBitmap);
  }
  if (oldTargetPalette != nullptr) target->SelectPalette(oldTargetPalette, FALSE);
}

void CPlxColorChooserCtrl::DrawLuminanceBar(CDC* pDC) {
  CRect rect = ClientRect();
  rect.DeflateRect(0, 5);
  for (int y = rect.top; y <= rect.bottom; ++y)
    pDC->FillSolidRect(0, y, m_nBarWidth, 1, CPlxDrawHelper::HLStoRGB(m_dblHue, LuminanceFromY(y), m_dblSat));
  DrawMarker(pDC);
}

void CPlxColorChooserCtrl::DrawPlane(CDC* pDC) {
  const CRect rect = ClientRect();
  const int width = rect.Width(), height = rect.Height();
  if (width <= 0 || height <= 0) return;  // nothing to show, and no hue to divide by
  if (m_bmpPicture.GetSafeHandle() == nullptr) {
    CDC picture;
    if (picture.CreateCompatibleDC(pDC) && m_bmpPicture.CreateCompatibleBitmap(pDC, width, height)) {
      CBitmap* old = picture.SelectObject(&m_bmpPicture);
      const int a = g_plxGlobalData.nBitsPerPixel <= 8 ? 4 : 1;
      for (int r = 0; r < height; r += a)
        for (int x = 0; x < width; x += a) {
          const COLORREF c =
              CPlxDrawHelper::HLStoRGB(static_cast<double>(x) / width, 0.5, static_cast<double>(r) / height);
          if (a == 4)
            picture.FillSolidRect(x, height - r - a, a, a, c);
          else
            picture.SetPixelV(x, height - r - 1, c);
        }
      picture.SelectObject(old);
    }
  }
  if (m_bmpPicture.GetSafeHandle() != nullptr) {
    CDC picture;
    if (picture.CreateCompatibleDC(pDC)) {
      CBitmap* old = picture.SelectObject(&m_bmpPicture);
      pDC->BitBlt(0, 0, width, height, &picture, 0, 0, SRCCOPY);
      picture.SelectObject(old);
    }
  }
  DrawMarker(pDC);
  pDC->Draw3dRect(rect, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
}

void CPlxColorChooserCtrl::DrawMarker(CDC* pDC) {
  const BOOL focused = GetSafeHwnd() != nullptr && ::GetFocus() == m_hWnd;
  const CRect r = GetMarkerRect();
  if (m_nType == LuminanceBar) {
    const POINT points[3] = {{r.left, r.top + 4}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}};
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* brush = CBrush::FromHandle(::GetSysColorBrush(focused ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    CBrush* oldBrush = pDC->SelectObject(brush);
    pDC->Polygon(points, 3);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
  } else if (m_nType == Plane) {
    const CPoint p = GetMarkerPoint();
    const COLORREF color = focused ? RGB(0, 0, 0) : RGB(255, 255, 255);
    pDC->FillSolidRect(p.x - 1, r.top, 3, 5, color);
    pDC->FillSolidRect(p.x - 1, r.bottom - 5, 3, 5, color);
    pDC->FillSolidRect(r.left, p.y - 1, 5, 3, color);
    pDC->FillSolidRect(r.right - 5, p.y - 1, 5, 3, color);
  }
}

void CPlxColorChooserCtrl::EnsureCells() {
  if (m_cells.GetSize() != 0) return;
  if (m_nType == Hexagon) BuildHexagonCells(ClientRect());
  if (m_nType == Greys) BuildGreyCells(ClientRect());
}

void CPlxColorChooserCtrl::DrawCells(CDC* pDC) {
  EnsureCells();
  for (int i = 0; i < m_cells.GetSize(); ++i) {
    const CPlxColorCell* cell = GetCell(i);
    CBrush brush;
    brush.CreateSolidBrush(cell->m_displayColor);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, cell->m_displayColor);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Polygon(cell->m_points, 6);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
  }
  if (const int selected = GetSelectedCell(); selected >= 0) GetCell(selected)->DrawSelection(pDC);
}

// ---- input ----

void CPlxColorChooserCtrl::OnMouse(CPoint point, UINT nFlags) {
  const CRect client = ClientRect();
  point.x = std::clamp<int>(point.x, client.left, std::max<int>(client.left, client.right));
  point.y = std::clamp<int>(point.y, client.top, std::max<int>(client.top, client.bottom));
  if (m_nType == LuminanceBar || m_nType == Plane) {
    CRect old = GetMarkerRect();
    old.InflateRect(1, 1);
    if (m_nType == LuminanceBar) {
      m_dblLum = LuminanceFromY(point.y);
    } else if (client.Width() > 0 && client.Height() > 0) {  // an empty plane keeps its values
      const CPoint marker = GetMarkerPoint();
      if (nFlags & MK_CONTROL) point.x = marker.x;
      if (nFlags & MK_SHIFT) point.y = marker.y;
      m_dblHue = static_cast<double>(point.x) / client.Width();
      m_dblSat = 1 - static_cast<double>(point.y) / client.Height();
    }
    m_colorCurrent = CPlxDrawHelper::HLStoRGB(m_dblHue, m_dblLum, m_dblSat);
    InvalidateRect(&old);
    const CRect now = GetMarkerRect();
    InvalidateRect(&now);
  } else if (m_nType == Hexagon || m_nType == Greys) {
    const int hit = HitTestCell(point);
    if (hit < 0) return;
    m_colorCurrent = GetCell(hit)->m_color;
    CPlxDrawHelper::RGBtoHSL(m_colorCurrent, &m_dblHue, &m_dblSat, &m_dblLum);
    Invalidate();
  }
  NotifyParent();
  UpdateWindow();
}

BOOL CPlxColorChooserCtrl::OnKey(UINT nChar) {
  double lum = m_dblLum, hue = m_dblHue, sat = m_dblSat;
  if (m_nType == LuminanceBar) {
    if (nChar == VK_UP) lum = Clamp01(lum + kStep);
    if (nChar == VK_DOWN) lum = Clamp01(lum - kStep);
  } else if (m_nType == Plane) {
    if (nChar == VK_LEFT) hue = Clamp01(hue - kStep);
    if (nChar == VK_RIGHT) hue = Clamp01(hue + kStep);
    if (nChar == VK_UP) sat = Clamp01(sat + kStep);
    if (nChar == VK_DOWN) sat = Clamp01(sat - kStep);
  } else {
    return FALSE;
  }
  if (lum == m_dblLum && hue == m_dblHue && sat == m_dblSat) return FALSE;
  CRect old = GetMarkerRect();
  old.InflateRect(1, 1);
  m_dblLum = lum;
  m_dblHue = hue;
  m_dblSat = sat;
  m_colorCurrent = CPlxDrawHelper::HLStoRGB(m_dblHue, m_dblLum, m_dblSat);
  InvalidateRect(&old);
  const CRect now = GetMarkerRect();
  InvalidateRect(&now);
  NotifyParent();
  return TRUE;
}

LRESULT CPlxColorChooserCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_LBUTTONDOWN:
      SetCapture();
      SetFocus();
      OnMouse(point, static_cast<UINT>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      if (::GetCapture() == m_hWnd) OnMouse(point, static_cast<UINT>(wParam));
      return 0;
    case WM_LBUTTONUP:
      if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      return 0;
    case WM_LBUTTONDBLCLK:
      if (m_nType == Plane || m_nType == Hexagon || m_nType == Greys) NotifyParent(BN_DOUBLECLICKED);
      return 0;
    case WM_KEYDOWN:
      OnKey(static_cast<UINT>(wParam));
      break;  // the key goes on to the default handling
    case WM_SIZE:
      if (m_bmpPicture.GetSafeHandle() != nullptr) m_bmpPicture.DeleteObject();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_QUERYNEWPALETTE:
      Invalidate();
      break;
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) != m_hWnd) Invalidate();
      break;
    default:
      break;
  }
  return CButton::WindowProc(message, wParam, lParam);
}
