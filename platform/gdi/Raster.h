// Shared raster helpers: brushes resolved for a DC, clipped fills through raster operations, and
// the pixel sets of shapes (as rows of spans).
#pragma once

#include <array>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Rop3.h"

namespace pictavo::gdi {

// A brush as it draws in one DC: solid, or an 8x8 pattern anchored at the DC's brush origin.
struct Paint {
  bool null = true;
  bool solid = true;
  uint32_t pixel = 0;
  std::array<uint32_t, 64> pattern{};
  POINT origin{0, 0};  // surface coordinates

  PatternRow RowAt(int x, int y) const {
    if (solid) return PatternRow{nullptr, pixel, 0};
    return PatternRow{&pattern[static_cast<size_t>(((y - origin.y) & 7) * 8)], 0, (x - origin.x) & 7};
  }
  uint32_t At(int x, int y) const {
    return solid ? pixel : pattern[static_cast<size_t>(((y - origin.y) & 7) * 8 + ((x - origin.x) & 7))];
  }
};

Paint SolidPaint(uint32_t pixel);
// The DC's selected brush (or `brush`), in the DC's colours, converted for a monochrome target.
Paint ResolveBrush(DeviceContext& dc, const BrushObject* brush);
// The pen colour as a pixel for this DC.
uint32_t PenPixel(DeviceContext& dc, const PenObject& pen);

// Fills the part of `rect` (surface coordinates) inside the clip through a ternary operation.
void FillRectRop(DrawScope& scope, const RECT& rect, const Paint& paint, uint8_t rop);
// Fills a region (surface coordinates) clipped by the scope's clip.
void FillRegionRop(DrawScope& scope, const RegionData& region, const Paint& paint, uint8_t rop);
// Plots one pixel (surface coordinates) when inside the clip.
void PlotRop(DrawScope& scope, int x, int y, uint32_t pixel, uint8_t rop);

// Pixel sets of shapes, for a bounding box [left, right) x [top, bottom): one span list per row.
std::vector<std::vector<Span>> EllipseRows(int left, int top, int right, int bottom);
std::vector<std::vector<Span>> RoundRectRows(int left, int top, int right, int bottom, int ellipseWidth,
                                             int ellipseHeight);
// Pixels whose centres lie inside the polygon; rows start at the returned top.
std::vector<std::vector<Span>> PolygonRows(const POINT* points, int count, int fillMode, int& top);
// The pixels of `shape` that have a 4-neighbour outside it: the outline a one-pixel pen draws.
RegionData Outline(const RegionData& shape);

// Bresenham line from (x0, y0) towards (x1, y1), the end point excluded; calls plot(x, y).
template <class Plot>
void LinePixels(int x0, int y0, int x1, int y1, Plot&& plot) {
  int dx = x1 > x0 ? x1 - x0 : x0 - x1;
  int dy = y1 > y0 ? y1 - y0 : y0 - y1;
  int sx = x1 > x0 ? 1 : -1;
  int sy = y1 > y0 ? 1 : -1;
  if (dx >= dy) {
    int err = dx / 2;
    int y = y0;
    for (int i = 0, x = x0; i < dx; ++i, x += sx) {
      plot(x, y);
      err -= dy;
      if (err < 0) {
        y += sy;
        err += dx;
      }
    }
  } else {
    int err = dy / 2;
    int x = x0;
    for (int i = 0, y = y0; i < dy; ++i, y += sy) {
      plot(x, y);
      err -= dx;
      if (err < 0) {
        x += sx;
        err += dy;
      }
    }
  }
}

}  // namespace pictavo::gdi
