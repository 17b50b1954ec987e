#include "modules/xml/MenuRaster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictavo::menu {
namespace {

uint32_t Pixel(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

// dst + (src - dst) * alpha / 255 per channel, alpha 0..255.
inline uint32_t Blend(uint32_t dst, uint32_t src, int alpha) {
  const uint32_t a = static_cast<uint32_t>(alpha), na = 255 - a;
  const uint32_t rb = (((dst & 0xFF00FF) * na + (src & 0xFF00FF) * a + 0x800080) >> 8) & 0xFF00FF;
  const uint32_t g = (((dst & 0x00FF00) * na + (src & 0x00FF00) * a + 0x008000) >> 8) & 0x00FF00;
  return rb | g;
}

inline void BlendInto(uint32_t& dst, uint32_t src, int alpha) {
  if (alpha >= 255)
    dst = src;
  else if (alpha > 0)
    dst = Blend(dst, src, alpha);
}

uint32_t Mix(COLORREF a, COLORREF b, double t) {
  const auto channel = [t](int x, int y) { return static_cast<uint32_t>(std::lround(x + (y - x) * t)); };
  return (channel(GetRValue(a), GetRValue(b)) << 16) | (channel(GetGValue(a), GetGValue(b)) << 8) |
         channel(GetBValue(a), GetBValue(b));
}

struct Span {
  int x0, x1, y0, y1;
};

Span Clip(const PixelView& view, double left, double top, double right, double bottom) {
  return Span{std::max(0, static_cast<int>(std::floor(left))),
              std::min(view.width, static_cast<int>(std::ceil(right))),
              std::max(0, static_cast<int>(std::floor(top))),
              std::min(view.height, static_cast<int>(std::ceil(bottom)))};
}

}  // namespace

void FillBackground(const PixelView& view, const Background& background) {
  const uint32_t flat = Pixel(background.color);
  for (int y = 0; y < view.height; ++y) {
    uint32_t* row = view.Row(y);
    switch (background.gradient) {
      case Gradient::kNone:
        std::fill(row, row + view.width, flat);
        break;
      case Gradient::kVertical:
        std::fill(row, row + view.width,
                  Mix(background.color, background.color2, view.height > 1 ? y / (view.height - 1.0) : 0));
        break;
      case Gradient::kHorizontal:
        for (int x = 0; x < view.width; ++x)
          row[x] = Mix(background.color, background.color2, view.width > 1 ? x / (view.width - 1.0) : 0);
        break;
      case Gradient::kRadial: {
        // From color at the centre to color2 in the corners.
        const double cx = view.width / 2.0, cy = view.height / 2.0, reach = std::hypot(cx, cy);
        for (int x = 0; x < view.width; ++x)
          row[x] = Mix(background.color, background.color2, std::hypot(x + 0.5 - cx, y + 0.5 - cy) / reach);
        break;
      }
    }
  }
}

void BlendRect(const PixelView& view, const RECT& rect, COLORREF color, int alpha) {
  const Span s = Clip(view, rect.left, rect.top, rect.right, rect.bottom);
  const uint32_t src = Pixel(color);
  for (int y = s.y0; y < s.y1; ++y) {
    uint32_t* row = view.Row(y);
    for (int x = s.x0; x < s.x1; ++x) BlendInto(row[x], src, alpha);
  }
}

void BlendEllipse(const PixelView& view, double left, double top, double right, double bottom, COLORREF color,
                  int alpha, double ringWidth) {
  const double rx = (right - left) / 2, ry = (bottom - top) / 2;
  if (rx <= 0 || ry <= 0) return;
  const double cx = left + rx, cy = top + ry, scale = std::min(rx, ry);
  const Span s = Clip(view, left - 1, top - 1, right + 1, bottom + 1);
  const uint32_t src = Pixel(color);
  for (int y = s.y0; y < s.y1; ++y) {
    uint32_t* row = view.Row(y);
    const double dy = (y + 0.5 - cy) / ry;
    for (int x = s.x0; x < s.x1; ++x) {
      const double dx = (x + 0.5 - cx) / rx;
      // Approximate distance in pixels outside the edge (negative inside).
      const double outside = (std::sqrt(dx * dx + dy * dy) - 1) * scale;
      double coverage = std::clamp(0.5 - outside, 0.0, 1.0);
      if (ringWidth > 0) coverage = std::min(coverage, std::clamp(outside + ringWidth + 0.5, 0.0, 1.0));
      if (coverage > 0) BlendInto(row[x], src, static_cast<int>(std::lround(alpha * coverage)));
    }
  }
}

void BlendPolygon(const PixelView& view, std::span<const PointF> points, COLORREF color, int alpha) {
  if (points.size() < 3) return;
  double left = points[0].x, right = left, top = points[0].y, bottom = top;
  for (const PointF& p : points) {
    left = std::min(left, p.x), right = std::max(right, p.x);
    top = std::min(top, p.y), bottom = std::max(bottom, p.y);
  }
  const auto winding = [&points](double x, double y) {
    int w = 0;
    for (size_t i = 0; i < points.size(); ++i) {
      const PointF& a = points[i];
      const PointF& b = points[(i + 1) % points.size()];
      const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
      if (a.y <= y && b.y > y && side > 0) ++w;
      if (a.y > y && b.y <= y && side < 0) --w;
    }
    return w;
  };
  static constexpr double kSamples[4][2] = {{0.25, 0.125}, {0.75, 0.375}, {0.25, 0.625}, {0.75, 0.875}};
  const Span s = Clip(view, left, top, right, bottom);
  const uint32_t src = Pixel(color);
  for (int y = s.y0; y < s.y1; ++y) {
    uint32_t* row = view.Row(y);
    for (int x = s.x0; x < s.x1; ++x) {
      int inside = 0;
      for (const auto& sample : kSamples) inside += winding(x + sample[0], y + sample[1]) != 0;
      if (inside) BlendInto(row[x], src, alpha * inside / 4);
    }
  }
}

void StarPoints(double left, double top, double right, double bottom, PointF (&points)[10]) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double rx = (right - left) / 2, ry = (bottom - top) / 2;
  for (int i = 0; i < 10; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    const double r = (i % 2 == 0) ? 1.0 : 0.4;
    points[i] = PointF{cx + rx * r * std::cos(angle), cy + ry * r * std::sin(angle)};
  }
}

}  // namespace pictavo::menu
