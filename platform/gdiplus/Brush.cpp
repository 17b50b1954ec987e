#include "platform/gdiplus/Brush.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "platform/gdiplus/Image.h"

using namespace Gdiplus;
using namespace pictavo::gdiplus;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The gradient line at `degrees` across the box: from the corner met first going that way to
// the projection of the corner met last.
void AlongAngle(double degrees, double x, double y, double w, double h, PointF& start, PointF& end) {
  double dx = std::cos(degrees * kPi / 180.0), dy = std::sin(degrees * kPi / 180.0);
  const double corners[4][2] = {{x, y}, {x + w, y}, {x, y + h}, {x + w, y + h}};
  int first = 0;
  double low = 0, high = 0;
  for (int i = 0; i < 4; ++i) {
    double p = corners[i][0] * dx + corners[i][1] * dy;
    if (i == 0 || p < low) {
      low = p;
      first = i;
    }
    if (i == 0 || p > high) high = p;
  }
  start = PointF(static_cast<REAL>(corners[first][0]), static_cast<REAL>(corners[first][1]));
  end = PointF(static_cast<REAL>(corners[first][0] + dx * (high - low)),
               static_cast<REAL>(corners[first][1] + dy * (high - low)));
}

GpStatus MakeGradient(const RectF& rect, ARGB color1, ARGB color2, double angle, bool scalable, WrapMode wrap,
                      GpLineGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!(rect.Width > 0) || !(rect.Height > 0) || wrap == WrapModeClamp) return InvalidParameter;
  auto* b = new (std::nothrow) GpBrush(BrushKind::Linear);
  if (!b) return OutOfMemory;
  b->colors[0] = color1;
  b->colors[1] = color2;
  b->rect = rect;
  b->wrap = wrap;
  if (scalable) {
    // In the unit square, then stretched onto the rectangle.
    AlongAngle(angle, 0, 0, 1, 1, b->start, b->end);
    cairo_matrix_init(&b->shape, rect.Width, 0, 0, rect.Height, rect.X, rect.Y);
  } else {
    AlongAngle(angle, rect.X, rect.Y, rect.Width, rect.Height, b->start, b->end);
  }
  *brush = b;
  return Ok;
}

double AngleOf(LinearGradientMode mode) {
  switch (mode) {
    case LinearGradientModeVertical:
      return 90;
    case LinearGradientModeForwardDiagonal:
      return 45;
    case LinearGradientModeBackwardDiagonal:
      return 135;
    default:
      return 0;
  }
}

bool ValidWrap(WrapMode wrap) {
  return wrap >= WrapModeTile && wrap <= WrapModeClamp;
}

// The tile a texture repeats: the image, with mirrored copies beside or below it for the flip
// modes.
std::shared_ptr<cairo_surface_t> TileOf(cairo_surface_t* image, WrapMode wrap) {
  bool flipX = wrap == WrapModeTileFlipX || wrap == WrapModeTileFlipXY;
  bool flipY = wrap == WrapModeTileFlipY || wrap == WrapModeTileFlipXY;
  cairo_surface_reference(image);
  if (!flipX && !flipY) return ShareSurface(image);
  auto owned = ShareSurface(image);
  int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
  cairo_surface_t* tile =
      cairo_image_surface_create(cairo_image_surface_get_format(image), flipX ? 2 * w : w, flipY ? 2 * h : h);
  CairoContext cr(cairo_create(tile));
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  for (int copyY = 0; copyY < (flipY ? 2 : 1); ++copyY)
    for (int copyX = 0; copyX < (flipX ? 2 : 1); ++copyX) {
      cairo_save(cr.get());
      // The second copy across (down) is mirrored about the tile's middle.
      cairo_matrix_t m;
      cairo_matrix_init(&m, copyX ? -1 : 1, 0, 0, copyY ? -1 : 1, copyX ? 2.0 * w : 0, copyY ? 2.0 * h : 0);
      cairo_rectangle(cr.get(), copyX * w, copyY * h, w, h);
      cairo_transform(cr.get(), &m);
      cairo_set_source_surface(cr.get(), image, 0, 0);
      cairo_fill(cr.get());
      cairo_restore(cr.get());
    }
  return ShareSurface(tile);
}

GpStatus MakeTexture(GpImage* image, WrapMode wrap, double x, double y, double w, double h,
                     GpTexture** texture) {
  if (!texture) return InvalidParameter;
  *texture = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!image || !ValidWrap(wrap)) return InvalidParameter;
  RECT area{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y)),
            static_cast<LONG>(std::lround(x + w)), static_cast<LONG>(std::lround(y + h))};
  if (area.left < 0 || area.top < 0 || area.right > image->Width() || area.bottom > image->Height() ||
      area.left >= area.right || area.top >= area.bottom)
    return InvalidParameter;
  auto* b = new (std::nothrow) GpBrush(BrushKind::Texture);
  if (!b) return OutOfMemory;
  b->image = ShareSurface(image->CopyOfView(area).release());
  b->wrap = wrap;
  b->tile = TileOf(b->image.get(), wrap);
  b->rect = RectF(0, 0, static_cast<REAL>(area.right - area.left), static_cast<REAL>(area.bottom - area.top));
  *texture = b;
  return Ok;
}

GpStatus Transform(GpBrush* brush, BrushKind kind, const cairo_matrix_t& op, MatrixOrder order) {
  if (!brush || brush->kind != kind) return InvalidParameter;
  if (!IsInvertible(op)) return InvalidParameter;
  cairo_matrix_t m = brush->transform;
  Combine(m, op, order);
  brush->transform = m;
  return Ok;
}

}  // namespace

namespace pictavo::gdiplus {

cairo_filter_t FilterOf(InterpolationMode mode) {
  switch (mode) {
    case InterpolationModeNearestNeighbor:
      return CAIRO_FILTER_NEAREST;
    case InterpolationModeHighQuality:
    case InterpolationModeHighQualityBilinear:
    case InterpolationModeHighQualityBicubic:
    case InterpolationModeBicubic:
      return CAIRO_FILTER_GOOD;
    default:
      return CAIRO_FILTER_BILINEAR;
  }
}

CairoPattern PatternOf(const GpBrush& brush, InterpolationMode mode, bool halfPixel) {
  cairo_matrix_t toBrush = brush.transform;  // world to brush space, once inverted
  cairo_matrix_invert(&toBrush);
  switch (brush.kind) {
    case BrushKind::Solid: {
      ARGB c = brush.color;
      return CairoPattern(cairo_pattern_create_rgba(((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                                    (c & 0xFF) / 255.0, (c >> 24) / 255.0));
    }
    case BrushKind::Linear: {
      // The gradient's position t is an affine function of the world point; the pattern is made
      // directly in world space, which keeps pixman's fixed-point arithmetic away from the tiny
      // scales of the gradient's unit square.
      double ax = brush.end.X - brush.start.X, ay = brush.end.Y - brush.start.Y;
      double length2 = ax * ax + ay * ay;
      ax /= length2;
      ay /= length2;
      double b = -(ax * brush.start.X + ay * brush.start.Y);
      cairo_matrix_t toGradient = brush.shape, m;  // world to gradient space
      cairo_matrix_invert(&toGradient);
      cairo_matrix_multiply(&m, &toBrush, &toGradient);
      double nx = ax * m.xx + ay * m.yx, ny = ax * m.xy + ay * m.yy;
      double c = ax * m.x0 + ay * m.y0 + b;
      double n2 = nx * nx + ny * ny;
      if (!(n2 > 0)) return CairoPattern(cairo_pattern_create_rgba(0, 0, 0, 0));
      double x0 = -c * nx / n2, y0 = -c * ny / n2;
      CairoPattern pattern(cairo_pattern_create_linear(x0, y0, x0 + nx / n2, y0 + ny / n2));
      AddColorStop(pattern.get(), 0, brush.colors[0]);
      AddColorStop(pattern.get(), 1, brush.colors[1]);
      cairo_pattern_set_extend(pattern.get(),
                               brush.wrap == WrapModeTile ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_REFLECT);
      return pattern;
    }
    case BrushKind::Texture: {
      CairoPattern pattern(cairo_pattern_create_for_surface(brush.tile.get()));
      cairo_pattern_set_extend(pattern.get(),
                               brush.wrap == WrapModeClamp ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_REPEAT);
      cairo_pattern_set_filter(pattern.get(), FilterOf(mode));
      cairo_matrix_t m = toBrush;
      if (halfPixel) {
        cairo_matrix_t centre;
        cairo_matrix_init_translate(&centre, 0.5, 0.5);
        cairo_matrix_multiply(&m, &toBrush, &centre);
      }
      cairo_pattern_set_matrix(pattern.get(), &m);
      return pattern;
    }
  }
  return CairoPattern(cairo_pattern_create_rgba(0, 0, 0, 0));
}

}  // namespace pictavo::gdiplus

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  auto* b = new (std::nothrow) GpBrush(BrushKind::Solid);
  if (!b) return OutOfMemory;
  b->color = color;
  *brush = b;
  return Ok;
}

GpStatus WINAPI GdipSetSolidFillColor(GpSolidFill* brush, ARGB color) {
  if (!brush || brush->kind != BrushKind::Solid) return InvalidParameter;
  brush->color = color;
  return Ok;
}

GpStatus WINAPI GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
  if (!brush || !color || brush->kind != BrushKind::Solid) return InvalidParameter;
  *color = brush->color;
  return Ok;
}

GpStatus WINAPI GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                                    GpWrapMode wrapMode, GpLineGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!point1 || !point2 || point1->Equals(*point2) || !ValidWrap(wrapMode) || wrapMode == WrapModeClamp)
    return InvalidParameter;
  auto* b = new (std::nothrow) GpBrush(BrushKind::Linear);
  if (!b) return OutOfMemory;
  b->colors[0] = color1;
  b->colors[1] = color2;
  b->start = *point1;
  b->end = *point2;
  b->wrap = wrapMode;
  b->rect = RectF(std::min(point1->X, point2->X), std::min(point1->Y, point2->Y),
                  std::abs(point2->X - point1->X), std::abs(point2->Y - point1->Y));
  *brush = b;
  return Ok;
}

GpStatus WINAPI GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                                     GpWrapMode wrapMode, GpLineGradient** brush) {
  if (!point1 || !point2) return InvalidParameter;
  PointF a(static_cast<REAL>(point1->X), static_cast<REAL>(point1->Y));
  PointF b(static_cast<REAL>(point2->X), static_cast<REAL>(point2->Y));
  return GdipCreateLineBrush(&a, &b, color1, color2, wrapMode, brush);
}

GpStatus WINAPI GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2,
                                            LinearGradientMode mode, GpWrapMode wrapMode,
                                            GpLineGradient** brush) {
  if (!rect || mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal ||
      !ValidWrap(wrapMode)) {
    if (brush) *brush = nullptr;
    return InvalidParameter;
  }
  return MakeGradient(*rect, color1, color2, AngleOf(mode), true, wrapMode, brush);
}

GpStatus WINAPI GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2,
                                             LinearGradientMode mode, GpWrapMode wrapMode,
                                             GpLineGradient** brush) {
  if (!rect) return InvalidParameter;
  RectF r(static_cast<REAL>(rect->X), static_cast<REAL>(rect->Y), static_cast<REAL>(rect->Width),
          static_cast<REAL>(rect->Height));
  return GdipCreateLineBrushFromRect(&r, color1, color2, mode, wrapMode, brush);
}

GpStatus WINAPI GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2,
                                                     REAL angle, BOOL isAngleScalable, GpWrapMode wrapMode,
                                                     GpLineGradient** brush) {
  if (!rect || !ValidWrap(wrapMode) || !std::isfinite(angle)) {
    if (brush) *brush = nullptr;
    return InvalidParameter;
  }
  return MakeGradient(*rect, color1, color2, angle, isAngleScalable != FALSE, wrapMode, brush);
}

GpStatus WINAPI GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2,
                                                      REAL angle, BOOL isAngleScalable, GpWrapMode wrapMode,
                                                      GpLineGradient** brush) {
  if (!rect) return InvalidParameter;
  RectF r(static_cast<REAL>(rect->X), static_cast<REAL>(rect->Y), static_cast<REAL>(rect->Width),
          static_cast<REAL>(rect->Height));
  return GdipCreateLineBrushFromRectWithAngle(&r, color1, color2, angle, isAngleScalable, wrapMode, brush);
}

GpStatus WINAPI GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2) {
  if (!brush || brush->kind != BrushKind::Linear) return InvalidParameter;
  brush->colors[0] = color1;
  brush->colors[1] = color2;
  return Ok;
}

GpStatus WINAPI GdipGetLineColors(GpLineGradient* brush, ARGB* colors) {
  if (!brush || !colors || brush->kind != BrushKind::Linear) return InvalidParameter;
  colors[0] = brush->colors[0];
  colors[1] = brush->colors[1];
  return Ok;
}

GpStatus WINAPI GdipGetLineRect(GpLineGradient* brush, GpRectF* rect) {
  if (!brush || !rect || brush->kind != BrushKind::Linear) return InvalidParameter;
  *rect = brush->rect;
  return Ok;
}

GpStatus WINAPI GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapMode) {
  if (!brush || brush->kind != BrushKind::Linear || !ValidWrap(wrapMode) || wrapMode == WrapModeClamp)
    return InvalidParameter;
  brush->wrap = wrapMode;
  return Ok;
}

GpStatus WINAPI GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapMode) {
  if (!brush || !wrapMode || brush->kind != BrushKind::Linear) return InvalidParameter;
  *wrapMode = brush->wrap;
  return Ok;
}

GpStatus WINAPI GdipSetLineTransform(GpLineGradient* brush, const GpMatrix* matrix) {
  if (!brush || !matrix || brush->kind != BrushKind::Linear || !IsInvertible(matrix->m))
    return InvalidParameter;
  brush->transform = matrix->m;
  return Ok;
}

GpStatus WINAPI GdipGetLineTransform(GpLineGradient* brush, GpMatrix* matrix) {
  if (!brush || !matrix || brush->kind != BrushKind::Linear) return InvalidParameter;
  matrix->m = brush->transform;
  return Ok;
}

GpStatus WINAPI GdipResetLineTransform(GpLineGradient* brush) {
  if (!brush || brush->kind != BrushKind::Linear) return InvalidParameter;
  brush->transform = IdentityMatrix();
  return Ok;
}

GpStatus WINAPI GdipTranslateLineTransform(GpLineGradient* brush, REAL dx, REAL dy, GpMatrixOrder order) {
  return Transform(brush, BrushKind::Linear, MatrixOf(1, 0, 0, 1, dx, dy), order);
}

GpStatus WINAPI GdipScaleLineTransform(GpLineGradient* brush, REAL sx, REAL sy, GpMatrixOrder order) {
  return Transform(brush, BrushKind::Linear, MatrixOf(sx, 0, 0, sy, 0, 0), order);
}

GpStatus WINAPI GdipCreateTexture(GpImage* image, GpWrapMode wrapMode, GpTexture** texture) {
  if (!image) {
    if (texture) *texture = nullptr;
    return InvalidParameter;
  }
  return MakeTexture(image, wrapMode, 0, 0, image->Width(), image->Height(), texture);
}

GpStatus WINAPI GdipCreateTexture2(GpImage* image, GpWrapMode wrapMode, REAL x, REAL y, REAL width,
                                   REAL height, GpTexture** texture) {
  return MakeTexture(image, wrapMode, x, y, width, height, texture);
}

GpStatus WINAPI GdipCreateTexture2I(GpImage* image, GpWrapMode wrapMode, INT x, INT y, INT width, INT height,
                                    GpTexture** texture) {
  return MakeTexture(image, wrapMode, x, y, width, height, texture);
}

GpStatus WINAPI GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapMode) {
  if (!brush || brush->kind != BrushKind::Texture || !ValidWrap(wrapMode)) return InvalidParameter;
  brush->wrap = wrapMode;
  brush->tile = TileOf(brush->image.get(), wrapMode);
  return Ok;
}

GpStatus WINAPI GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapMode) {
  if (!brush || !wrapMode || brush->kind != BrushKind::Texture) return InvalidParameter;
  *wrapMode = brush->wrap;
  return Ok;
}

GpStatus WINAPI GdipSetTextureTransform(GpTexture* brush, const GpMatrix* matrix) {
  if (!brush || !matrix || brush->kind != BrushKind::Texture || !IsInvertible(matrix->m))
    return InvalidParameter;
  brush->transform = matrix->m;
  return Ok;
}

GpStatus WINAPI GdipGetTextureTransform(GpTexture* brush, GpMatrix* matrix) {
  if (!brush || !matrix || brush->kind != BrushKind::Texture) return InvalidParameter;
  matrix->m = brush->transform;
  return Ok;
}

GpStatus WINAPI GdipResetTextureTransform(GpTexture* brush) {
  if (!brush || brush->kind != BrushKind::Texture) return InvalidParameter;
  brush->transform = IdentityMatrix();
  return Ok;
}

GpStatus WINAPI GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order) {
  return Transform(brush, BrushKind::Texture, MatrixOf(1, 0, 0, 1, dx, dy), order);
}

GpStatus WINAPI GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order) {
  return Transform(brush, BrushKind::Texture, MatrixOf(sx, 0, 0, sy, 0, 0), order);
}

GpStatus WINAPI GdipCloneBrush(GpBrush* brush, GpBrush** clone) {
  if (!brush || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpBrush(*brush);
  return *clone ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipDeleteBrush(GpBrush* brush) {
  if (!brush) return InvalidParameter;
  delete brush;
  return Ok;
}

GpStatus WINAPI GdipGetBrushType(GpBrush* brush, GpBrushType* type) {
  if (!brush || !type) return InvalidParameter;
  switch (brush->kind) {
    case BrushKind::Solid:
      *type = BrushTypeSolidColor;
      break;
    case BrushKind::Linear:
      *type = BrushTypeLinearGradient;
      break;
    case BrushKind::Texture:
      *type = BrushTypeTextureFill;
      break;
  }
  return Ok;
}

}  // namespace Gdiplus::DllExports
