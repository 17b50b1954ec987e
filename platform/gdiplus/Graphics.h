// A graphics object: where it draws (a DC or a bitmap), its settings, world transform and clip,
// and the drawing scope every drawing call runs in.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"
#include "platform/gdiplus/Cairo.h"
#include "platform/gdiplus/Image.h"
#include "platform/gdiplus/Objects.h"

namespace Gdiplus {

class GpGraphics {
 public:
  HDC hdc = nullptr;         // draws into a DC's pixels,
  GpImage* image = nullptr;  // or into a bitmap (not owned; outlives the graphics)

  SmoothingMode smoothing = SmoothingModeDefault;
  TextRenderingHint textHint = TextRenderingHintSystemDefault;
  InterpolationMode interpolation = InterpolationModeDefault;
  CompositingMode compositing = CompositingModeSourceOver;
  CompositingQuality compositingQuality = CompositingQualityDefault;
  PixelOffsetMode pixelOffset = PixelOffsetModeDefault;
  cairo_matrix_t world = pictavo::gdiplus::IdentityMatrix();
  // Device pixels that may be drawn; none means no limit.
  std::optional<pictavo::gdi::RegionData> clip;

  // A DC handed out by GetDC, and for a bitmap the copy of its colours it draws into.
  HDC lentDc = nullptr;
  std::shared_ptr<pictavo::gdi::Surface> lentSurface;
  std::vector<uint32_t> lentBefore;
};

}  // namespace Gdiplus

namespace pictavo::gdiplus {

// A box in cairo device coordinates.
struct Box {
  double x1, y1, x2, y2;
};

// The body of one drawing call. It gets a context clipped to what may be drawn and `base`,
// which maps the graphics' device space to cairo's; it returns what it may have drawn over, or
// nothing when it drew nothing.
using DrawFn = std::function<std::optional<Box>(cairo_t* cr, const cairo_matrix_t& base)>;
Gdiplus::Status Render(Gdiplus::GpGraphics& graphics, const DrawFn& draw);

// Sets the context's user space to world space. With `halfPixel` (fills and strokes) whole world
// coordinates fall on pixel centres, unless the pixel offset mode says pixel corners.
void UseWorld(cairo_t* cr, const cairo_matrix_t& base, const Gdiplus::GpGraphics& graphics, bool halfPixel);
cairo_antialias_t AntialiasOf(Gdiplus::SmoothingMode mode);
// A user-space box in device coordinates.
Box DeviceExtents(cairo_t* cr, double x1, double y1, double x2, double y2);

}  // namespace pictavo::gdiplus
