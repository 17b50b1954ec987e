// Brushes as cairo sources.
#pragma once

#include "platform/gdiplus/Cairo.h"
#include "platform/gdiplus/Objects.h"

namespace pictavo::gdiplus {

// The filter cairo samples images with for an interpolation mode.
cairo_filter_t FilterOf(Gdiplus::InterpolationMode mode);

// The brush as a source in world space. `halfPixel` says the geometry is drawn with pixel
// centres on whole world coordinates, as fills and strokes are: texture texels then sit on
// pixels instead of between them.
CairoPattern PatternOf(const Gdiplus::GpBrush& brush, Gdiplus::InterpolationMode mode, bool halfPixel);

}  // namespace pictavo::gdiplus
