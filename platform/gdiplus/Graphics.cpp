// Graphics objects: creation, settings, world transform, clipping and borrowed DCs.
#include "platform/gdiplus/Graphics.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "platform/gdi/Gdi.h"

using namespace Gdiplus;
using namespace pictavo::gdiplus;
using pictavo::gdi::RegionData;

namespace {

// GDI+ reports an unlimited clip as this square.
constexpr REAL kInfiniteOrigin = -4194304.0f;
constexpr REAL kInfiniteSize = 8388608.0f;
constexpr LONG kHuge = 1 << 22;

template <class T>
bool Valid(T value, T first, T last) {
  return value >= first && value <= last;
}

// The device pixels whose centres lie in the world rectangle.
RegionData DevicePixels(const RectF& rect, const cairo_matrix_t& world) {
  double xs[4] = {rect.X, rect.X + rect.Width, rect.X + rect.Width, rect.X};
  double ys[4] = {rect.Y, rect.Y, rect.Y + rect.Height, rect.Y + rect.Height};
  for (int i = 0; i < 4; ++i) cairo_matrix_transform_point(&world, &xs[i], &ys[i]);
  if (world.xy == 0 && world.yx == 0) {
    auto edge = [](double v) { return static_cast<LONG>(std::ceil(v - 1e-9)); };
    RECT r{edge(std::min(xs[0], xs[2])), edge(std::min(ys[0], ys[2])), edge(std::max(xs[0], xs[2])),
           edge(std::max(ys[0], ys[2]))};
    RegionData region;
    if (r.left < r.right && r.top < r.bottom) region.SetRect(r);
    return region;
  }
  POINT corners[4];
  for (int i = 0; i < 4; ++i)
    corners[i] = POINT{static_cast<LONG>(std::lround(xs[i])), static_cast<LONG>(std::lround(ys[i]))};
  HRGN polygon = CreatePolygonRgn(corners, 4, WINDING);
  RegionData region = pictavo::gdi::RegionDataOf(polygon);
  DeleteObject(polygon);
  return region;
}

GpStatus CombineClip(GpGraphics* g, const RegionData& region, CombineMode mode) {
  if (!g || !Valid(mode, CombineModeReplace, CombineModeComplement)) return InvalidParameter;
  if (mode == CombineModeReplace) {
    g->clip = region;
    return Ok;
  }
  RegionData current = g->clip ? *g->clip : RegionData(RECT{-kHuge, -kHuge, kHuge, kHuge});
  switch (mode) {
    case CombineModeIntersect:
      g->clip = RegionData::Combine(current, region, RGN_AND);
      break;
    case CombineModeUnion:
      if (g->clip) g->clip = RegionData::Combine(current, region, RGN_OR);
      break;
    case CombineModeXor:
      g->clip = RegionData::Combine(current, region, RGN_XOR);
      break;
    case CombineModeExclude:
      g->clip = RegionData::Combine(current, region, RGN_DIFF);
      break;
    default:
      g->clip = RegionData::Combine(region, current, RGN_DIFF);
      break;
  }
  return Ok;
}

GpStatus ChangeWorld(GpGraphics* g, const cairo_matrix_t& op, MatrixOrder order) {
  if (!g || (order != MatrixOrderPrepend && order != MatrixOrderAppend)) return InvalidParameter;
  cairo_matrix_t m = g->world;
  Combine(m, op, order);
  if (!IsInvertible(m)) return InvalidParameter;
  g->world = m;
  return Ok;
}

}  // namespace

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreateFromHDC(HDC hdc, GpGraphics** graphics) {
  if (!graphics) return InvalidParameter;
  *graphics = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  DWORD type = GetObjectType(hdc);
  if (type != OBJ_DC && type != OBJ_MEMDC) return InvalidParameter;
  auto* g = new (std::nothrow) GpGraphics;
  if (!g) return OutOfMemory;
  g->hdc = hdc;
  *graphics = g;
  return Ok;
}

GpStatus WINAPI GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
  if (!graphics) return InvalidParameter;
  *graphics = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  if (!image) return InvalidParameter;
  auto* g = new (std::nothrow) GpGraphics;
  if (!g) return OutOfMemory;
  g->image = image;
  *graphics = g;
  return Ok;
}

GpStatus WINAPI GdipDeleteGraphics(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  if (graphics->lentDc) GdipReleaseDC(graphics, graphics->lentDc);
  delete graphics;
  return Ok;
}

// Drawing is done by the time each call returns.
GpStatus WINAPI GdipFlush(GpGraphics* graphics, FlushIntention) {
  return graphics ? Ok : InvalidParameter;
}

GpStatus WINAPI GdipGetDC(GpGraphics* graphics, HDC* hdc) {
  if (!graphics || !hdc) return InvalidParameter;
  *hdc = nullptr;
  if (graphics->lentDc) return ObjectBusy;
  if (graphics->hdc) {
    graphics->lentDc = graphics->hdc;
    *hdc = graphics->hdc;
    return Ok;
  }
  // A bitmap of opaque words lends a DC over its own pixels; others lend one over a copy of their
  // colours, and ReleaseDC takes back what GDI changed.
  GpImage& image = *graphics->image;
  image.BeginStorageAccess();
  std::shared_ptr<pictavo::gdi::Surface> surface = image.StorageSurface();
  if (!surface) {
    surface = std::make_shared<pictavo::gdi::Surface>(image.Width(), image.Height());
    for (INT y = 0; y < image.Height(); ++y) {
      uint32_t* row = surface->Row(y).data();
      for (INT x = 0; x < image.Width(); ++x) row[x] = image.Pixel(x, y);
    }
    graphics->lentBefore.assign(surface->TopRow(),
                                surface->TopRow() + static_cast<size_t>(image.Width()) * image.Height());
  }
  HDC dc = pictavo::gdi::CreateSurfaceDC(surface, POINT{0, 0}, surface->Bounds());
  if (!dc) {
    graphics->lentBefore.clear();
    return Win32Error;
  }
  graphics->lentSurface = std::move(surface);
  graphics->lentDc = dc;
  *hdc = dc;
  return Ok;
}

GpStatus WINAPI GdipReleaseDC(GpGraphics* graphics, HDC hdc) {
  if (!graphics || !hdc || hdc != graphics->lentDc) return InvalidParameter;
  graphics->lentDc = nullptr;
  if (graphics->hdc) return Ok;
  pictavo::gdi::DeleteSurfaceDC(hdc);
  GpImage& image = *graphics->image;
  const pictavo::gdi::Surface& surface = *graphics->lentSurface;
  image.BeginStorageAccess();
  // GDI leaves alpha alone: what it changed in a copy becomes opaque.
  for (INT y = 0; y < image.Height() && !graphics->lentBefore.empty(); ++y) {
    const uint32_t* row = surface.Row(y).data();
    const uint32_t* before = graphics->lentBefore.data() + static_cast<size_t>(y) * image.Width();
    for (INT x = 0; x < image.Width(); ++x)
      if (row[x] != before[x]) image.StorePixel(x, y, 0xFF000000u | row[x]);
  }
  image.StorageWritten();
  graphics->lentSurface.reset();
  graphics->lentBefore.clear();
  return Ok;
}

GpStatus WINAPI GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode) {
  if (!graphics || !Valid(mode, SmoothingModeDefault, SmoothingModeAntiAlias8x8)) return InvalidParameter;
  graphics->smoothing = mode;
  return Ok;
}

GpStatus WINAPI GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode) {
  if (!graphics || !mode) return InvalidParameter;
  *mode = graphics->smoothing;
  return Ok;
}

GpStatus WINAPI GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint) {
  if (!graphics || !Valid(hint, TextRenderingHintSystemDefault, TextRenderingHintClearTypeGridFit))
    return InvalidParameter;
  graphics->textHint = hint;
  return Ok;
}

GpStatus WINAPI GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint) {
  if (!graphics || !hint) return InvalidParameter;
  *hint = graphics->textHint;
  return Ok;
}

GpStatus WINAPI GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode) {
  if (!graphics || !Valid(mode, InterpolationModeDefault, InterpolationModeHighQualityBicubic))
    return InvalidParameter;
  graphics->interpolation = mode;
  return Ok;
}

GpStatus WINAPI GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode) {
  if (!graphics || !mode) return InvalidParameter;
  *mode = graphics->interpolation;
  return Ok;
}

GpStatus WINAPI GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode) {
  if (!graphics || !Valid(mode, CompositingModeSourceOver, CompositingModeSourceCopy))
    return InvalidParameter;
  graphics->compositing = mode;
  return Ok;
}

GpStatus WINAPI GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode) {
  if (!graphics || !mode) return InvalidParameter;
  *mode = graphics->compositing;
  return Ok;
}

// Accepted and reported; blending is always done in gamma-encoded values.
GpStatus WINAPI GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality) {
  if (!graphics || !Valid(quality, CompositingQualityDefault, CompositingQualityAssumeLinear))
    return InvalidParameter;
  graphics->compositingQuality = quality;
  return Ok;
}

GpStatus WINAPI GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality) {
  if (!graphics || !quality) return InvalidParameter;
  *quality = graphics->compositingQuality;
  return Ok;
}

GpStatus WINAPI GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode mode) {
  if (!graphics || !Valid(mode, PixelOffsetModeDefault, PixelOffsetModeHalf)) return InvalidParameter;
  graphics->pixelOffset = mode;
  return Ok;
}

GpStatus WINAPI GdipGetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode* mode) {
  if (!graphics || !mode) return InvalidParameter;
  *mode = graphics->pixelOffset;
  return Ok;
}

// Screens and bitmaps alike have 96 dots per inch.
GpStatus WINAPI GdipGetDpiX(GpGraphics* graphics, REAL* dpi) {
  if (!graphics || !dpi) return InvalidParameter;
  *dpi = 96;
  return Ok;
}

GpStatus WINAPI GdipGetDpiY(GpGraphics* graphics, REAL* dpi) {
  return GdipGetDpiX(graphics, dpi);
}

GpStatus WINAPI GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  if (!graphics || !matrix || !IsInvertible(matrix->m)) return InvalidParameter;
  graphics->world = matrix->m;
  return Ok;
}

GpStatus WINAPI GdipResetWorldTransform(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  graphics->world = IdentityMatrix();
  return Ok;
}

GpStatus WINAPI GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix,
                                           GpMatrixOrder order) {
  if (!matrix) return InvalidParameter;
  return ChangeWorld(graphics, matrix->m, order);
}

GpStatus WINAPI GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order) {
  return ChangeWorld(graphics, MatrixOf(1, 0, 0, 1, dx, dy), order);
}

GpStatus WINAPI GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order) {
  return ChangeWorld(graphics, MatrixOf(sx, 0, 0, sy, 0, 0), order);
}

GpStatus WINAPI GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order) {
  cairo_matrix_t rotation;
  cairo_matrix_init_rotate(&rotation, angle * 3.14159265358979323846 / 180.0);
  return ChangeWorld(graphics, rotation, order);
}

GpStatus WINAPI GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  if (!graphics || !matrix) return InvalidParameter;
  matrix->m = graphics->world;
  return Ok;
}

GpStatus WINAPI GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height,
                                CombineMode mode) {
  if (!graphics) return InvalidParameter;
  return CombineClip(graphics, DevicePixels(RectF(x, y, width, height), graphics->world), mode);
}

GpStatus WINAPI GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height,
                                 CombineMode mode) {
  return GdipSetClipRect(graphics, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                         static_cast<REAL>(height), mode);
}

GpStatus WINAPI GdipSetClipHrgn(GpGraphics* graphics, HRGN region, CombineMode mode) {
  if (!graphics || !region || GetObjectType(region) != OBJ_REGION) return InvalidParameter;
  return CombineClip(graphics, pictavo::gdi::RegionDataOf(region), mode);
}

GpStatus WINAPI GdipResetClip(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  graphics->clip.reset();
  return Ok;
}

GpStatus WINAPI GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect) {
  if (!graphics || !rect) return InvalidParameter;
  if (!graphics->clip) {
    *rect = RectF(kInfiniteOrigin, kInfiniteOrigin, kInfiniteSize, kInfiniteSize);
    return Ok;
  }
  if (graphics->clip->IsEmpty()) {
    *rect = RectF();
    return Ok;
  }
  RECT box = graphics->clip->Box();
  cairo_matrix_t toWorld = graphics->world;
  cairo_matrix_invert(&toWorld);
  double xs[4] = {static_cast<double>(box.left), static_cast<double>(box.right),
                  static_cast<double>(box.left), static_cast<double>(box.right)};
  double ys[4] = {static_cast<double>(box.top), static_cast<double>(box.top), static_cast<double>(box.bottom),
                  static_cast<double>(box.bottom)};
  for (int i = 0; i < 4; ++i) cairo_matrix_transform_point(&toWorld, &xs[i], &ys[i]);
  double x1 = *std::min_element(xs, xs + 4), x2 = *std::max_element(xs, xs + 4);
  double y1 = *std::min_element(ys, ys + 4), y2 = *std::max_element(ys, ys + 4);
  *rect = RectF(static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2 - x1),
                static_cast<REAL>(y2 - y1));
  return Ok;
}

GpStatus WINAPI GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect) {
  if (!rect) return InvalidParameter;
  RectF r;
  GpStatus status = GdipGetClipBounds(graphics, &r);
  if (status != Ok) return status;
  INT left = static_cast<INT>(std::floor(r.X)), top = static_cast<INT>(std::floor(r.Y));
  *rect = Rect(left, top, static_cast<INT>(std::ceil(r.GetRight())) - left,
               static_cast<INT>(std::ceil(r.GetBottom())) - top);
  return Ok;
}

GpStatus WINAPI GdipIsClipEmpty(GpGraphics* graphics, BOOL* result) {
  if (!graphics || !result) return InvalidParameter;
  *result = graphics->clip && graphics->clip->IsEmpty();
  return Ok;
}

}  // namespace Gdiplus::DllExports
