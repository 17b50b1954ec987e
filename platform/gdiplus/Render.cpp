// The drawing scope: a cairo context over the target's pixels, clipped by the target (the DC's
// visible area) and by the graphics' clip, and the write-back of what was drawn.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gdiplus/Graphics.h"

using namespace Gdiplus;

namespace pictavo::gdiplus {
namespace {

// Runs `draw` on `surface`. `flip` maps surface coordinates (rows top down) to cairo's, `clip`
// is in surface coordinates. Returns the surface area drawn over.
RECT RunOn(cairo_surface_t* surface, const cairo_matrix_t& flip, const cairo_matrix_t& base,
           const std::vector<RECT>& clip, GpGraphics& g, const DrawFn& draw, Status& status) {
  CairoContext context(cairo_create(surface));
  cairo_t* cr = context.get();
  cairo_set_matrix(cr, &flip);
  for (const RECT& r : clip) cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_clip(cr);
  if (g.clip) {
    cairo_set_matrix(cr, &base);
    for (const RECT& r : g.clip->Rects())
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
  }
  cairo_identity_matrix(cr);
  double cx1, cy1, cx2, cy2;
  cairo_clip_extents(cr, &cx1, &cy1, &cx2, &cy2);
  if (cx1 >= cx2 || cy1 >= cy2) return RECT{0, 0, 0, 0};
  cairo_set_operator(
      cr, g.compositing == CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  std::optional<Box> box = draw(cr, base);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) status = GenericError;
  if (!box) return RECT{0, 0, 0, 0};
  // Back to surface coordinates, a pixel wider for anti-aliased edges.
  Box b{std::max(box->x1, cx1), std::max(box->y1, cy1), std::min(box->x2, cx2), std::min(box->y2, cy2)};
  if (b.x1 >= b.x2 || b.y1 >= b.y2) return RECT{0, 0, 0, 0};
  cairo_matrix_t toSurface = flip;
  cairo_matrix_invert(&toSurface);
  double xa = b.x1, ya = b.y1, xb = b.x2, yb = b.y2;
  cairo_matrix_transform_point(&toSurface, &xa, &ya);
  cairo_matrix_transform_point(&toSurface, &xb, &yb);
  int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  auto edge = [](double v, int shift, int limit) {
    return std::clamp(static_cast<LONG>(v) + shift, LONG{0}, static_cast<LONG>(limit));
  };
  return RECT{edge(std::floor(std::min(xa, xb)), -1, w), edge(std::floor(std::min(ya, yb)), -1, h),
              edge(std::ceil(std::max(xa, xb)), 1, w), edge(std::ceil(std::max(ya, yb)), 1, h)};
}

}  // namespace

Status Render(GpGraphics& g, const DrawFn& draw) {
  if (g.lentDc) return ObjectBusy;
  if (!IsInvertible(g.world)) return Ok;  // everything collapses to nothing
  if (g.clip && g.clip->IsEmpty()) return Ok;
  Status status = Ok;
  if (g.image) {
    cairo_surface_t* view = g.image->View();
    if (cairo_surface_status(view) != CAIRO_STATUS_SUCCESS) return OutOfMemory;
    cairo_matrix_t identity = IdentityMatrix();
    RECT touched =
        RunOn(view, identity, identity, {RECT{0, 0, g.image->Width(), g.image->Height()}}, g, draw, status);
    cairo_surface_flush(view);
    g.image->ViewWritten(touched);
    return status;
  }
  BOOL drawn = pictavo::gdi::DrawIntoDC(g.hdc, [&](const pictavo::gdi::DcTarget& target) -> RECT {
    pictavo::gdi::Surface& s = target.surface;
    ptrdiff_t stride = s.Stride();
    bool bottomUp = stride < 0;
    auto* first = reinterpret_cast<unsigned char*>(s.TopRow()) + (bottomUp ? (s.Height() - 1) * stride : 0);
    CairoSurface surface(cairo_image_surface_create_for_data(first, CAIRO_FORMAT_RGB24, s.Width(), s.Height(),
                                                             static_cast<int>(std::abs(stride))));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
      status = GenericError;
      return RECT{0, 0, 0, 0};
    }
    // A bottom-up layout is drawn through a vertical flip.
    cairo_matrix_t flip = IdentityMatrix();
    if (bottomUp) cairo_matrix_init(&flip, 1, 0, 0, -1, 0, s.Height());
    cairo_matrix_t origin, base;
    cairo_matrix_init_translate(&origin, target.origin.x, target.origin.y);
    cairo_matrix_multiply(&base, &origin, &flip);
    RECT touched = RunOn(surface.get(), flip, base, target.clip, g, draw, status);
    cairo_surface_flush(surface.get());
    return touched;
  });
  if (!drawn) return Win32Error;
  return status;
}

void UseWorld(cairo_t* cr, const cairo_matrix_t& base, const GpGraphics& g, bool halfPixel) {
  cairo_set_matrix(cr, &base);
  if (halfPixel && g.pixelOffset != PixelOffsetModeHalf && g.pixelOffset != PixelOffsetModeHighQuality)
    cairo_translate(cr, 0.5, 0.5);
  cairo_transform(cr, &g.world);
}

cairo_antialias_t AntialiasOf(SmoothingMode mode) {
  switch (mode) {
    case SmoothingModeAntiAlias:
    case SmoothingModeAntiAlias8x8:
    case SmoothingModeHighQuality:
      return CAIRO_ANTIALIAS_GOOD;
    default:
      return CAIRO_ANTIALIAS_NONE;
  }
}

Box DeviceExtents(cairo_t* cr, double x1, double y1, double x2, double y2) {
  double xs[4] = {x1, x2, x1, x2}, ys[4] = {y1, y1, y2, y2};
  Box box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (int i = 0; i < 4; ++i) {
    cairo_user_to_device(cr, &xs[i], &ys[i]);
    box.x1 = std::min(box.x1, xs[i]);
    box.y1 = std::min(box.y1, ys[i]);
    box.x2 = std::max(box.x2, xs[i]);
    box.y2 = std::max(box.y2, ys[i]);
  }
  return box;
}

}  // namespace pictavo::gdiplus
