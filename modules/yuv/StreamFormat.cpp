#include "modules/yuv/StreamFormat.h"

#include <cmath>
#include <cstdio>
#include <numeric>

namespace pictavo::yuv {

namespace {

Fraction Reduced(long long num, long long den) {
  const long long divisor = std::gcd(num, den);
  return {static_cast<int>(num / divisor), static_cast<int>(den / divisor)};
}

}  // namespace

std::optional<Fraction> FrameRateFraction(double fps) {
  if (!std::isfinite(fps) || fps <= 0.0 || fps > 1000.0) return std::nullopt;
  // Profiles print rates with three decimals ("29.970"), so a thousandth decides.
  constexpr double kTolerance = 0.001;
  const double whole = std::round(fps);
  if (whole >= 1.0 && std::fabs(fps - whole) < kTolerance) return Fraction{static_cast<int>(whole), 1};
  const double ntscBase = std::round(fps * 1.001);
  if (ntscBase >= 1.0 && std::fabs(fps - ntscBase * 1000.0 / 1001.0) < kTolerance)
    return Fraction{static_cast<int>(ntscBase) * 1000, 1001};
  const long long thousandths = std::llround(fps * 1000.0);
  if (thousandths <= 0) return std::nullopt;
  return Reduced(thousandths, 1000);
}

Fraction PixelAspectOn43Screen(int width, int height) {
  if (width <= 0 || height <= 0) return {1, 1};
  return Reduced(4LL * height, 3LL * width);
}

ColourTags ColourOf(int width, int height) {
  if (height > 576 || width > 1024) return {ColourMatrix::kBt709, "bt709", "bt709", "bt709", "tv"};
  const bool lines625 = height == 576 || height == 288;
  return {ColourMatrix::kBt601, lines625 ? "bt470bg" : "smpte170m", lines625 ? "bt470bg" : "smpte170m",
          "smpte170m", "tv"};
}

std::string StreamHeader(const StreamFormat& format) {
  char header[160];
  std::snprintf(header, sizeof header, "YUV4MPEG2 W%d H%d F%d:%d Ip A%d:%d C420jpeg XCOLORRANGE=LIMITED\n",
                format.width, format.height, format.rate.num, format.rate.den, format.pixelAspect.num,
                format.pixelAspect.den);
  return header;
}

}  // namespace pictavo::yuv
