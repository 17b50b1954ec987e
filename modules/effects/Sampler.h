// Bilinear sampling of a picture along affine rows: the pixel path of pan and zoom and of the
// transitions that move or turn a picture. Positions are 16.16 fixed point in source pixels
// (pixel centres at whole numbers), so a motion advances by sub-pixel steps without jitter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/WinTypes.h"

namespace pictavo::effects {

// A 24-bit BGR picture read by position on screen: row 0 is the top row.
struct SourceView {
  const BYTE* top;  // first pixel of the top row
  ptrdiff_t step;   // bytes from a row to the one below it
  int width;
  int height;
};

// A bottom-up DIB (the CxImage layout) seen from the top.
inline SourceView ViewOfBottomUp(const BYTE* bits, int width, int height, int stride) {
  return {bits + static_cast<ptrdiff_t>(height - 1) * stride, -static_cast<ptrdiff_t>(stride), width, height};
}

// Sample positions along one output row: pixel x samples (u + x * du, v + x * dv).
struct AffineRow {
  int64_t u, v, du, dv;  // 16.16
};

// Where the centre of output pixel (x, y) falls in the source: u = u0 + dudx x + dudy y and
// v = v0 + dvdx x + dvdy y, in source pixels with pixel centres at whole numbers.
struct AffineMap {
  double u0, dudx, dudy;
  double v0, dvdx, dvdy;
};

AffineRow RowOf(const AffineMap& map, int y);

// out[x] = the source sampled at row's position x for x in [0, n). Where the sample lies
// outside the picture the pixel is under[x]; within one pixel of its edge, the missing
// neighbours are taken from under[x], which smooths the edge. `under` may be `out`.
void SampleRow(const SourceView& source, const AffineRow& row, const BYTE* under, BYTE* out, int n);

}  // namespace pictavo::effects
