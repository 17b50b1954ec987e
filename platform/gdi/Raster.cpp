#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/Gdi.h"

namespace pictavo::gdi {

Paint SolidPaint(uint32_t pixel) {
  Paint p;
  p.null = false;
  p.solid = true;
  p.pixel = pixel;
  return p;
}

Paint ResolveBrush(DeviceContext& dc, const BrushObject* brush) {
  if (!brush) brush = dc.state.brush.get();
  Paint p;
  if (!brush || brush->kind == BrushKind::Null) return p;
  bool mono = dc.IsMonochrome();
  auto convert = [mono](uint32_t pixel) { return mono ? ToMono(pixel) : pixel; };
  p.null = false;
  p.origin = dc.PatternOrigin();
  switch (brush->kind) {
    case BrushKind::Null:
      break;
    case BrushKind::Solid:
      p.pixel = convert(PixelFromColor(brush->sysColor >= 0 ? GetSysColor(brush->sysColor) : brush->color));
      return p;
    case BrushKind::DcBrush:
      p.pixel = convert(PixelFromColor(dc.state.dcBrushColor));
      return p;
    case BrushKind::ColorPattern:
      p.solid = false;
      for (size_t i = 0; i < 64; ++i) p.pattern[i] = convert(brush->pattern[i]);
      return p;
    case BrushKind::MonoPattern:
    case BrushKind::Hatch: {
      p.solid = false;
      // On a monochrome target the bits draw as they are; on colour they take the DC's colours.
      uint32_t zero =
          mono ? kBlackPixel
               : PixelFromColor(brush->kind == BrushKind::Hatch ? brush->color : dc.state.textColor);
      uint32_t one = mono ? kWhitePixel : PixelFromColor(dc.state.bkColor);
      if (mono && brush->kind == BrushKind::Hatch) zero = ToMono(PixelFromColor(brush->color));
      for (size_t i = 0; i < 64; ++i) p.pattern[i] = brush->pattern[i] ? one : zero;
      return p;
    }
  }
  return p;
}

uint32_t PenPixel(DeviceContext& dc, const PenObject& pen) {
  uint32_t pixel = PixelFromColor(pen.dcPen ? dc.state.dcPenColor : pen.color);
  return dc.IsMonochrome() ? ToMono(pixel) : pixel;
}

void FillRectRop(DrawScope& scope, const RECT& rect, const Paint& paint, uint8_t rop) {
  if (!scope) return;
  if (paint.null && RopUsesPattern(rop)) return;
  Surface& s = scope.Target();
  ForEachClipped(scope.Clip(), rect, [&](int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
      Rop3Row(rop, s.Row(y).data() + left, nullptr, paint.RowAt(left, y), right - left);
    scope.Touch(RECT{left, top, right, bottom});
  });
}

void FillRegionRop(DrawScope& scope, const RegionData& region, const Paint& paint, uint8_t rop) {
  if (!scope || region.IsEmpty()) return;
  if (paint.null && RopUsesPattern(rop)) return;
  RegionData visible = RegionData::Combine(region, scope.Clip(), RGN_AND);
  Surface& s = scope.Target();
  for (const Band& band : visible.Bands())
    for (const Span& span : band.spans) {
      for (int y = band.top; y < band.bottom; ++y)
        Rop3Row(rop, s.Row(y).data() + span.left, nullptr, paint.RowAt(span.left, y), span.right - span.left);
      scope.Touch(RECT{span.left, band.top, span.right, band.bottom});
    }
}

void PlotRop(DrawScope& scope, int x, int y, uint32_t pixel, uint8_t rop) {
  if (!scope || !scope.Clip().Contains(x, y)) return;
  uint32_t& d = scope.Target().Row(y)[static_cast<size_t>(x)];
  d = rop == 0xF0 ? pixel : Rop3Pixel(rop, pixel, 0, d);
  scope.Touch(RECT{x, y, x + 1, y + 1});
}

std::vector<std::vector<Span>> EllipseRows(int left, int top, int right, int bottom) {
  std::vector<std::vector<Span>> rows;
  int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return rows;
  rows.resize(static_cast<size_t>(h));
  double a = w / 2.0, b = h / 2.0;
  for (int y = 0; y < h; ++y) {
    double dy = (y + 0.5 - b) / b;
    double t = 1.0 - dy * dy;
    if (t < 0) continue;
    double half = a * std::sqrt(t);
    int x0 = static_cast<int>(std::ceil(a - half - 0.5 - 1e-9));
    int x1 = static_cast<int>(std::floor(a + half - 0.5 + 1e-9)) + 1;
    if (x1 <= x0) {
      // Keep the shape closed at its thin ends: the middle pixel(s) of the row.
      x0 = (w - 1) / 2;
      x1 = w / 2 + 1;
    }
    rows[static_cast<size_t>(y)].push_back(Span{left + std::max(x0, 0), left + std::min(x1, w)});
  }
  return rows;
}

std::vector<std::vector<Span>> RoundRectRows(int left, int top, int right, int bottom, int ew, int eh) {
  std::vector<std::vector<Span>> rows;
  int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return rows;
  ew = std::min(std::abs(ew), w);
  eh = std::min(std::abs(eh), h);
  rows.resize(static_cast<size_t>(h));
  std::vector<std::vector<Span>> corner =
      ew > 1 && eh > 1 ? EllipseRows(0, 0, ew, eh) : std::vector<std::vector<Span>>{};
  for (int y = 0; y < h; ++y) {
    int insetLeft = 0, insetRight = 0;
    if (!corner.empty()) {
      int ey = -1;
      if (y < eh / 2)
        ey = y;
      else if (y >= h - eh / 2)
        ey = eh - (h - y);
      if (ey >= 0 && !corner[static_cast<size_t>(ey)].empty()) {
        insetLeft = corner[static_cast<size_t>(ey)][0].left;
        insetRight = ew - corner[static_cast<size_t>(ey)][0].right;
      }
    }
    if (left + insetLeft < right - insetRight)
      rows[static_cast<size_t>(y)].push_back(Span{left + insetLeft, right - insetRight});
  }
  return rows;
}

std::vector<std::vector<Span>> PolygonRows(const POINT* points, int count, int fillMode, int& top) {
  std::vector<std::vector<Span>> rows;
  if (!points || count < 3) return rows;
  int minY = points[0].y, maxY = points[0].y;
  for (int i = 1; i < count; ++i) {
    minY = std::min<int>(minY, points[i].y);
    maxY = std::max<int>(maxY, points[i].y);
  }
  top = minY;
  rows.resize(static_cast<size_t>(maxY - minY));
  struct Crossing {
    double x;
    int dir;
  };
  std::vector<Crossing> crossings;
  for (int y = minY; y < maxY; ++y) {
    double cy = y + 0.5;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      const POINT& p = points[i];
      const POINT& q = points[(i + 1) % count];
      if (p.y == q.y) continue;
      bool down = q.y > p.y;
      double y0 = down ? p.y : q.y, y1 = down ? q.y : p.y;
      if (cy < y0 || cy >= y1) continue;
      double x = p.x + (cy - p.y) * (q.x - p.x) / static_cast<double>(q.y - p.y);
      crossings.push_back({x, down ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    std::vector<Span>& row = rows[static_cast<size_t>(y - minY)];
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].dir;
      bool inside = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      int x0 = static_cast<int>(std::ceil(crossings[i].x - 0.5));
      int x1 = static_cast<int>(std::ceil(crossings[i + 1].x - 0.5));
      if (x0 < x1) row.push_back(Span{x0, x1});
    }
  }
  return rows;
}

RegionData Outline(const RegionData& shape) {
  // A pixel is inside the outline unless all four neighbours are in the shape.
  RegionData inner = shape;
  for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    RegionData moved = shape;
    moved.Offset(dx, dy);
    inner = RegionData::Combine(inner, moved, RGN_AND);
  }
  return RegionData::Combine(shape, inner, RGN_DIFF);
}

}  // namespace pictavo::gdi
