// The pixel transfer behind BitBlt, StretchBlt, StretchDIBits and friends: source rows mapped
// onto destination rows (stretched, mirrored, converted between monochrome and colour) and
// combined through a ternary raster operation.
#pragma once

#include "platform/gdi/Raster.h"

namespace pictavo::gdi {

struct TransferSource {
  const Surface* surface = nullptr;
  enum class Convert { None, MonoToColor, ColorToMono } convert = Convert::None;
  uint32_t foreground = 0;  // MonoToColor: black source pixels become this
  uint32_t background = 0;  // MonoToColor: white ones become this; ColorToMono: this becomes white
};

// How a source DC's pixels enter a destination DC.
TransferSource SourceFor(DeviceContext& dest, DeviceContext& src);

// Rectangles are in surface coordinates, normalised (left < right, top < bottom); the flips say
// whether the source runs the other way. Destination pixels whose source lies outside the source
// surface are left alone.
void Transfer(DrawScope& scope, const RECT& dest, const TransferSource& src, const RECT& source, bool flipX,
              bool flipY, const Paint& paint, uint8_t rop, bool halftone);

// A rectangle given as origin and signed extent: negative extents run leftwards/upwards from
// the origin pixel itself. Returns whether it was mirrored.
bool NormalizeExtent(int origin, int extent, int& start, int& end);

// Box-filters `source` (surface coordinates, inside the surface) to a dw x dh picture and returns
// its part `want` (coordinates within the dw x dh picture).
std::shared_ptr<Surface> HalftoneScale(const Surface& src, const RECT& source, int dw, int dh,
                                       const RECT& want, bool flipX, bool flipY);

}  // namespace pictavo::gdi
