// Colours as the colour dialog edits them: hue, saturation and luminance on the 0-240 scale of
// its edits (hue wraps at 240), conversions to and from RGB, and the basic palette.
#pragma once

#include <array>

#include "platform/base/WinTypes.h"

namespace pictavo::comdlg {

inline constexpr int kHlsMax = 240;

struct Hls {
  int hue = 0;  // 0..239
  int lum = 0;  // 0..240
  int sat = 0;  // 0..240
  friend bool operator==(const Hls&, const Hls&) = default;
};

// A grey keeps the hue it is given (grey has none), so moving along the luminance bar does not
// lose the hue the user chose.
Hls ToHls(COLORREF color, int greyHue = 160);
COLORREF ToRgb(const Hls& hls);

// The 48 basic colours, row by row, 8 to a row: seven hues at six luminances, and greys.
const std::array<COLORREF, 48>& BasicColors();

}  // namespace pictavo::comdlg
