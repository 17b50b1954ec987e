// Lines, shapes, rectangles and pixels.
#include <algorithm>
#include <map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

using namespace pictavo::gdi;

namespace {

// Collects pixels row by row into a region.
class PixelCollector {
 public:
  void Add(int x, int y) { m_rows[y].push_back(Span{x, x + 1}); }
  void AddSpan(int left, int right, int y) {
    if (left < right) m_rows[y].push_back(Span{left, right});
  }
  RegionData Region() const {
    if (m_rows.empty()) return {};
    int top = m_rows.begin()->first, bottom = m_rows.rbegin()->first + 1;
    std::vector<std::vector<Span>> rows(static_cast<size_t>(bottom - top));
    for (const auto& [y, spans] : m_rows) rows[static_cast<size_t>(y - top)] = spans;
    return RegionData::FromRows(top, rows);
  }

 private:
  std::map<int, std::vector<Span>> m_rows;
};

// On/off run lengths of the styled pens.
std::vector<int> DashPattern(int style) {
  switch (style) {
    case PS_DASH:
      return {18, 6};
    case PS_DOT:
      return {3, 3};
    case PS_DASHDOT:
      return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
      return {9, 3, 3, 3, 3, 3};
  }
  return {};
}

// Pixels of a pen's path through surface points: `on` gets the pen's pixels, `off` the gaps of a
// styled pen (drawn in the background colour when the background mode is opaque).
void PenPath(const PenObject& pen, const std::vector<POINT>& points, bool closed, PixelCollector& on,
             PixelCollector& off) {
  std::vector<int> dashes = DashPattern(pen.Style());
  size_t dashIndex = 0;
  int dashLeft = dashes.empty() ? 0 : dashes[0];
  int w = pen.width;
  auto plot = [&](int x, int y) {
    bool drawn = true;
    if (!dashes.empty()) {
      drawn = dashIndex % 2 == 0;
      if (--dashLeft == 0) {
        dashIndex = (dashIndex + 1) % dashes.size();
        dashLeft = dashes[dashIndex];
      }
    }
    PixelCollector& target = drawn ? on : off;
    if (w <= 1) {
      target.Add(x, y);
    } else {
      int x0 = x - w / 2, y0 = y - w / 2;
      for (int yy = y0; yy < y0 + w; ++yy) target.AddSpan(x0, x0 + w, yy);
    }
  };
  size_t n = points.size();
  size_t segments = closed ? n : (n ? n - 1 : 0);
  for (size_t i = 0; i < segments; ++i) {
    const POINT& a = points[i];
    const POINT& b = points[(i + 1) % n];
    LinePixels(a.x, a.y, b.x, b.y, plot);
  }
}

void StrokePath(DeviceContext& dc, DrawScope& scope, const std::vector<POINT>& surfacePoints, bool closed) {
  const PenObject& pen = *dc.state.pen;
  if (pen.Style() == PS_NULL || surfacePoints.size() < 2) return;
  PixelCollector on, off;
  PenPath(pen, surfacePoints, closed, on, off);
  uint8_t rop = Rop2ToRop3(dc.state.rop2);
  FillRegionRop(scope, on.Region(), SolidPaint(PenPixel(dc, pen)), rop);
  if (dc.state.bkMode == OPAQUE) {
    uint32_t bk = PixelFromColor(dc.state.bkColor);
    FillRegionRop(scope, off.Region(), SolidPaint(dc.IsMonochrome() ? ToMono(bk) : bk), rop);
  }
}

// Removes `width` pixels from every edge of a shape.
RegionData Erode(const RegionData& shape, int width) {
  RegionData inner = shape;
  for (int i = 0; i < width; ++i) {
    RegionData next = inner;
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      RegionData moved = inner;
      moved.Offset(dx, dy);
      next = RegionData::Combine(next, moved, RGN_AND);
    }
    inner = std::move(next);
  }
  return inner;
}

// Draws a closed shape given as a pixel set: the pen's outline on its edge, the brush inside.
// `shrunk` is the set the brush fills when there is no pen.
void DrawShape(DeviceContext& dc, const RegionData& shape, const RegionData& shrunk) {
  DrawScope scope(dc);
  const PenObject& pen = *dc.state.pen;
  uint8_t rop = Rop2ToRop3(dc.state.rop2);
  Paint brush = ResolveBrush(dc, nullptr);
  // A hollow brush leaves the inside alone whatever the raster operation (R2_NOT included).
  if (pen.Style() == PS_NULL) {
    if (!brush.null) FillRegionRop(scope, shrunk, brush, rop);
    return;
  }
  RegionData inner = Erode(shape, pen.width);
  if (!brush.null) FillRegionRop(scope, inner, brush, rop);
  // Curved outlines draw solid whatever the pen's style.
  FillRegionRop(scope, RegionData::Combine(shape, inner, RGN_DIFF), SolidPaint(PenPixel(dc, pen)), rop);
}

HBRUSH BrushArgument(HBRUSH brush) {
  // A system colour index plus one stands for that colour's brush.
  uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= 31) return GetSysColorBrush(static_cast<int>(value - 1));
  return brush;
}

RECT Ordered(int l, int t, int r, int b) {
  return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

RegionData RowsRegion(int top, const std::vector<std::vector<Span>>& rows) {
  return RegionData::FromRows(top, rows);
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto b = FindAs<BrushObject>(BrushArgument(brush), ObjectKind::Brush);
  if (!rect || !b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DcLock dc(hdc);
  if (!dc) return 0;
  DrawScope scope(*dc);
  FillRectRop(scope, dc->ToSurface(*rect), ResolveBrush(*dc, b.get()), 0xF0);
  return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto b = FindAs<BrushObject>(BrushArgument(brush), ObjectKind::Brush);
  if (!rect || !b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DcLock dc(hdc);
  if (!dc) return 0;
  RECT r = dc->ToSurface(*rect);
  if (r.left >= r.right || r.top >= r.bottom) return 1;
  DrawScope scope(*dc);
  Paint paint = ResolveBrush(*dc, b.get());
  FillRectRop(scope, RECT{r.left, r.top, r.right, r.top + 1}, paint, 0xF0);
  FillRectRop(scope, RECT{r.left, r.bottom - 1, r.right, r.bottom}, paint, 0xF0);
  FillRectRop(scope, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, paint, 0xF0);
  FillRectRop(scope, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, paint, 0xF0);
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  if (!rect) return FALSE;
  DcLock dc(hdc);
  if (!dc) return FALSE;
  DrawScope scope(*dc);
  FillRectRop(scope, dc->ToSurface(*rect), SolidPaint(0), 0x55);
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  RECT r = dc->ToSurface(Ordered(left, top, right, bottom));
  const PenObject& pen = *dc->state.pen;
  int w = pen.width;
  RECT outer = r;
  if (pen.Style() != PS_INSIDEFRAME && w > 1) {
    outer = RECT{r.left - (w - 1) / 2, r.top - (w - 1) / 2, r.right + w / 2, r.bottom + w / 2};
  }
  const Paint brush = ResolveBrush(*dc, nullptr);
  if (pen.Style() == PS_NULL) {
    DrawScope scope(*dc);
    if (!brush.null)
      FillRectRop(scope, RECT{r.left, r.top, r.right - 1, r.bottom - 1}, brush, Rop2ToRop3(dc->state.rop2));
    return TRUE;
  }
  RECT inner{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w};
  DrawScope scope(*dc);
  uint8_t rop = Rop2ToRop3(dc->state.rop2);
  if (!brush.null) FillRectRop(scope, inner, brush, rop);
  if (pen.Style() == PS_SOLID || pen.Style() == PS_INSIDEFRAME || w > 1) {
    RegionData edge = RegionData::Combine(RegionData(outer), RegionData(inner), RGN_DIFF);
    FillRegionRop(scope, edge, SolidPaint(PenPixel(*dc, pen)), rop);
  } else {
    std::vector<POINT> path{
        {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    StrokePath(*dc, scope, path, true);
  }
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  RECT r = dc->ToSurface(Ordered(left, top, right, bottom));
  RegionData shape = RowsRegion(r.top, EllipseRows(r.left, r.top, r.right, r.bottom));
  RegionData shrunk = RowsRegion(r.top, EllipseRows(r.left, r.top, r.right - 1, r.bottom - 1));
  DrawShape(*dc, shape, shrunk);
  return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ew, int eh) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  RECT r = dc->ToSurface(Ordered(left, top, right, bottom));
  RegionData shape = RowsRegion(r.top, RoundRectRows(r.left, r.top, r.right, r.bottom, ew, eh));
  RegionData shrunk = RowsRegion(r.top, RoundRectRows(r.left, r.top, r.right - 1, r.bottom - 1, ew, eh));
  DrawShape(*dc, shape, shrunk);
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  if (!points || count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::vector<POINT> surfacePoints(points, points + count);
  for (POINT& p : surfacePoints) p = dc->ToSurface(p);
  DrawScope scope(*dc);
  int top = 0;
  auto rows = PolygonRows(surfacePoints.data(), count, dc->state.polyFillMode, top);
  FillRegionRop(scope, RegionData::FromRows(top, rows), ResolveBrush(*dc, nullptr),
                Rop2ToRop3(dc->state.rop2));
  StrokePath(*dc, scope, surfacePoints, true);
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  if (!points || count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::vector<POINT> surfacePoints(points, points + count);
  for (POINT& p : surfacePoints) p = dc->ToSurface(p);
  DrawScope scope(*dc);
  StrokePath(*dc, scope, surfacePoints, false);
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.position;
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  std::vector<POINT> path{dc->ToSurface(dc->state.position), dc->ToSurface(POINT{x, y})};
  dc->state.position = POINT{x, y};
  DrawScope scope(*dc);
  StrokePath(*dc, scope, path, false);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DcLock dc(hdc);
  if (!dc) return CLR_INVALID;
  uint32_t pixel = PixelFromColor(color & 0xFFFFFF);
  if (dc->IsMonochrome()) pixel = ToMono(pixel);
  DrawScope scope(*dc);
  int sx = dc->SurfaceX(x), sy = dc->SurfaceY(y);
  if (!scope || !scope.Clip().Contains(sx, sy)) return CLR_INVALID;
  PlotRop(scope, sx, sy, pixel, 0xF0);
  return ColorFromPixel(pixel);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
  return SetPixel(hdc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DcLock dc(hdc);
  if (!dc) return CLR_INVALID;
  if (BitmapObject* bitmap = dc->TargetBitmap()) bitmap->BeginAccess();
  Surface* s = dc->Target();
  int sx = dc->SurfaceX(x), sy = dc->SurfaceY(y);
  if (!s || !dc->Clip().Contains(sx, sy)) return CLR_INVALID;
  return ColorFromPixel(s->Row(sy)[static_cast<size_t>(sx)] & kRgbMask);
}

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  if (BitmapObject* bitmap = dc->TargetBitmap()) bitmap->BeginAccess();
  Surface* s = dc->Target();
  const int sx = dc->SurfaceX(x), sy = dc->SurfaceY(y);
  const RegionData& clip = dc->Clip();
  if (!s || !clip.Contains(sx, sy)) return FALSE;
  const uint32_t key = PixelFromColor(color & 0xFFFFFF) & kRgbMask;
  const auto inside = [&](int px, int py) {
    const bool same = (s->Row(py)[static_cast<size_t>(px)] & kRgbMask) == key;
    return type == FLOODFILLSURFACE ? same : !same;
  };
  if (!inside(sx, sy)) return FALSE;
  // The area is found first and painted once: painting never feeds back into the search, so a
  // fill in the colour already there ends like any other.
  const int width = s->Width(), height = s->Height();
  std::vector<uint8_t> seen(static_cast<size_t>(width) * static_cast<size_t>(height));
  const auto take = [&](int px, int py) {
    if (px < 0 || py < 0 || px >= width || py >= height) return false;
    uint8_t& mark = seen[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
    if (mark || !clip.Contains(px, py) || !inside(px, py)) return false;
    mark = 1;
    return true;
  };
  PixelCollector area;
  std::vector<POINT> todo;
  if (take(sx, sy)) todo.push_back(POINT{sx, sy});
  while (!todo.empty()) {
    const POINT p = todo.back();
    todo.pop_back();
    int left = p.x, right = p.x + 1;
    while (take(left - 1, p.y)) --left;
    while (take(right, p.y)) ++right;
    area.AddSpan(left, right, p.y);
    for (int row : {p.y - 1, p.y + 1})
      for (int px = left; px < right; ++px)
        if (take(px, row)) todo.push_back(POINT{px, row});
  }
  DrawScope scope(*dc);
  FillRegionRop(scope, area.Region(), ResolveBrush(*dc, nullptr), 0xF0);
  return TRUE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF color) {
  return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER);
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  if (!rect) return FALSE;
  DcLock dc(hdc);
  if (!dc) return FALSE;
  RECT r = dc->ToSurface(*rect);
  if (r.left >= r.right || r.top >= r.bottom) return TRUE;
  // Every other pixel of the frame is inverted, so drawing it twice removes it.
  Paint dots;
  dots.null = false;
  dots.solid = false;
  dots.origin = dc->Origin();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      dots.pattern[static_cast<size_t>(y * 8 + x)] = (x + y) % 2 == 0 ? kWhitePixel : 0;
  DrawScope scope(*dc);
  FillRectRop(scope, RECT{r.left, r.top, r.right, r.top + 1}, dots, 0x5A);
  if (r.bottom - r.top > 1) FillRectRop(scope, RECT{r.left, r.bottom - 1, r.right, r.bottom}, dots, 0x5A);
  FillRectRop(scope, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, dots, 0x5A);
  if (r.right - r.left > 1)
    FillRectRop(scope, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, dots, 0x5A);
  return TRUE;
}

namespace pictavo::gdi {

void FillSolidRect(HDC hdc, const RECT& rect, COLORREF color) {
  DcLock dc(hdc);
  if (!dc) return;
  uint32_t pixel = PixelFromColor(color & 0xFFFFFF);
  if (dc->IsMonochrome()) pixel = ToMono(pixel);
  DrawScope scope(*dc);
  FillRectRop(scope, dc->ToSurface(rect), SolidPaint(pixel), 0xF0);
}

void Draw3dRect(HDC hdc, int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  FillSolidRect(hdc, RECT{x, y, x + cx - 1, y + 1}, topLeft);
  FillSolidRect(hdc, RECT{x, y, x + 1, y + cy - 1}, topLeft);
  FillSolidRect(hdc, RECT{x + cx - 1, y, x + cx, y + cy}, bottomRight);
  FillSolidRect(hdc, RECT{x, y + cy - 1, x + cx, y + cy}, bottomRight);
}

}  // namespace pictavo::gdi
