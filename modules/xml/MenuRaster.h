// Pixel drawing for menu pages: gradients and translucent, anti-aliased shapes on a 32-bit
// top-down pixel buffer (0x00RRGGBB words, the layout of a 32-bit DIB section).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "modules/xml/MenuTemplate.h"
#include "platform/base/WinTypes.h"

namespace pictavo::menu {

struct PixelView {
  uint32_t* top = nullptr;  // first pixel of the top row
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;  // pixels from one row to the next

  uint32_t* Row(int y) const { return top + y * stride; }
};

struct PointF {
  double x, y;
};

// The whole view in the background's colours (a gradient runs from color to color2).
void FillBackground(const PixelView& view, const Background& background);
// Covers `rect` with `color` at `alpha` (0..255). Coordinates are clipped to the view.
void BlendRect(const PixelView& view, const RECT& rect, COLORREF color, int alpha);
// An ellipse inside the box (left, top)-(right, bottom); with ringWidth > 0 only a band of that
// width along its edge.
void BlendEllipse(const PixelView& view, double left, double top, double right, double bottom, COLORREF color,
                  int alpha, double ringWidth = 0);
// A polygon (non-zero winding), sampled four times per pixel.
void BlendPolygon(const PixelView& view, std::span<const PointF> points, COLORREF color, int alpha);
// The ten corners of a five-pointed star filling the box, first point up.
void StarPoints(double left, double top, double right, double bottom, PointF (&points)[10]);

}  // namespace pictavo::menu
