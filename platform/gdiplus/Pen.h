// Pens as cairo stroke settings.
#pragma once

#include "platform/gdiplus/Cairo.h"
#include "platform/gdiplus/Objects.h"

namespace pictavo::gdiplus {

// Sets the width, caps, join, dashes and source of a stroke with `pen` in the current user
// (world) space. A width of zero strokes one device pixel wide.
void ApplyPen(cairo_t* cr, const Gdiplus::GpPen& pen, Gdiplus::InterpolationMode mode, bool halfPixel);

}  // namespace pictavo::gdiplus
