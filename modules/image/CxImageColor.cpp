// CxImage colour and intensity adjustments: each builds per-channel tables once and maps the
// rows through them.
#include <algorithm>
#include <cmath>

#include "modules/image/CxImage.h"
#include "platform/base/ErrorCodes.h"

namespace {

inline BYTE Clamp8(long v) {
  return static_cast<BYTE>(std::clamp<long>(v, 0, 255));
}

// Share of darkest and brightest pixels that automatic levels ignore (noise, specular spots).
constexpr double kLevelsClip = 0.005;

}  // namespace

bool CxImage::ApplyTables(const BYTE (&tables)[3][256]) {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  const int w = m_raster.Width();
  for (int y = 0; y < m_raster.Height(); ++y) {
    BYTE* p = m_raster.Row(y);
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = tables[0][p[0]];
      p[1] = tables[1][p[1]];
      p[2] = tables[2][p[2]];
    }
  }
  Succeed();
  return true;
}

bool CxImage::Light(long brightness, long contrast) {
  brightness = std::clamp<long>(brightness, -255, 255);
  contrast = std::clamp<long>(contrast, -100, 100);
  BYTE tables[3][256];
  for (long v = 0; v < 256; ++v) {
    // Rounded to nearest, symmetric around mid-grey.
    const long scaled = (v - 128) * (100 + contrast);
    const long spread = scaled >= 0 ? (scaled + 50) / 100 : -((-scaled + 50) / 100);
    tables[0][v] = tables[1][v] = tables[2][v] = Clamp8(spread + 128 + brightness);
  }
  return ApplyTables(tables);
}

bool CxImage::Gamma(float gamma) {
  if (!(gamma > 0.0f) || !std::isfinite(gamma)) return Fail(ERROR_INVALID_PARAMETER, "gamma must be above 0");
  BYTE tables[3][256];
  const double exponent = 1.0 / gamma;
  for (int v = 0; v < 256; ++v)
    tables[0][v] = tables[1][v] = tables[2][v] = Clamp8(std::lround(255.0 * std::pow(v / 255.0, exponent)));
  return ApplyTables(tables);
}

bool CxImage::ShiftRGB(long r, long g, long b) {
  const long shift[3] = {std::clamp<long>(b, -255, 255), std::clamp<long>(g, -255, 255),
                         std::clamp<long>(r, -255, 255)};
  BYTE tables[3][256];
  for (int c = 0; c < 3; ++c)
    for (long v = 0; v < 256; ++v) tables[c][v] = Clamp8(v + shift[c]);
  return ApplyTables(tables);
}

bool CxImage::HistogramStretch() {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  uint64_t histogram[256] = {};
  const int w = m_raster.Width(), h = m_raster.Height();
  for (int y = 0; y < h; ++y) {
    const BYTE* p = m_raster.Row(y);
    for (int x = 0; x < w; ++x, p += 3) ++histogram[(p[0] * 29 + p[1] * 150 + p[2] * 77) >> 8];
  }
  const auto clip = static_cast<uint64_t>(static_cast<double>(w) * h * kLevelsClip);
  int low = 0, high = 255;
  for (uint64_t seen = 0; low < 255 && (seen += histogram[low]) <= clip;) ++low;
  for (uint64_t seen = 0; high > 0 && (seen += histogram[high]) <= clip;) --high;
  if (high - low < 2) {  // flat picture: nothing to stretch
    Succeed();
    return true;
  }
  BYTE tables[3][256];
  for (long v = 0; v < 256; ++v)
    tables[0][v] = tables[1][v] = tables[2][v] = Clamp8(((v - low) * 255 + (high - low) / 2) / (high - low));
  return ApplyTables(tables);
}
