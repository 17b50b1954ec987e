#include "platform/comdlg/ColorModel.h"

#include <algorithm>
#include <cmath>

namespace pictavo::comdlg {

namespace {

double HueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

int Scaled(double unit, int max) {
  return std::clamp(static_cast<int>(std::lround(unit * max)), 0, max);
}

}  // namespace

Hls ToHls(COLORREF color, int greyHue) {
  const double r = GetRValue(color) / 255.0, g = GetGValue(color) / 255.0, b = GetBValue(color) / 255.0;
  const double high = std::max({r, g, b}), low = std::min({r, g, b});
  const double lum = (high + low) / 2;
  Hls hls;
  hls.lum = Scaled(lum, kHlsMax);
  if (high == low) {
    hls.hue = greyHue;
    return hls;
  }
  const double range = high - low;
  const double sat = lum <= 0.5 ? range / (high + low) : range / (2 - high - low);
  double hue = high == r ? (g - b) / range : high == g ? 2 + (b - r) / range : 4 + (r - g) / range;
  hue /= 6;
  if (hue < 0) hue += 1;
  hls.hue = Scaled(hue, kHlsMax) % kHlsMax;
  hls.sat = Scaled(sat, kHlsMax);
  return hls;
}

COLORREF ToRgb(const Hls& hls) {
  const double h = (hls.hue % kHlsMax) / static_cast<double>(kHlsMax);
  const double l = std::clamp(hls.lum, 0, kHlsMax) / static_cast<double>(kHlsMax);
  const double s = std::clamp(hls.sat, 0, kHlsMax) / static_cast<double>(kHlsMax);
  if (s == 0) {
    const int grey = Scaled(l, 255);
    return RGB(grey, grey, grey);
  }
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  return RGB(Scaled(HueToChannel(p, q, h + 1.0 / 3), 255), Scaled(HueToChannel(p, q, h), 255),
             Scaled(HueToChannel(p, q, h - 1.0 / 3), 255));
}

const std::array<COLORREF, 48>& BasicColors() {
  static const std::array<COLORREF, 48> colors = [] {
    // Red, orange, yellow, green, cyan, blue, violet; the last column is grey.
    constexpr int kHues[7] = {0, 20, 40, 80, 120, 160, 190};
    constexpr int kLums[6] = {200, 160, 120, 80, 50, 25};
    constexpr int kGreys[6] = {240, 192, 160, 120, 64, 0};
    std::array<COLORREF, 48> out{};
    for (int row = 0; row < 6; ++row) {
      for (int column = 0; column < 7; ++column)
        out[row * 8 + column] = ToRgb(Hls{kHues[column], kLums[row], kHlsMax});
      out[row * 8 + 7] = ToRgb(Hls{0, kGreys[row], 0});
    }
    return out;
  }();
  return colors;
}

}  // namespace pictavo::comdlg
