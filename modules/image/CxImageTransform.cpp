// CxImage geometry: resampling, rotation, cropping, flipping.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "modules/image/CxImage.h"
#include "modules/image/Resample.h"
#include "platform/base/ErrorCodes.h"

using pictavo::image::Raster;

namespace {

// Square tiles keep both the rows read and the rows written in cache while turning by 90.
constexpr int kTile = 64;

enum class Turn { Clockwise, CounterClockwise };

// Turns one plane of C bytes per pixel by 90 degrees. In storage order (bottom row first),
// turning clockwise makes destination row r the source column w-1-r read upwards; turning
// counter-clockwise makes it the source column r read downwards.
template <int C>
void TurnPlane(const BYTE* src, size_t srcStride, int w, int h, BYTE* dst, size_t dstStride, Turn turn) {
  const bool clockwise = turn == Turn::Clockwise;
  const auto step = static_cast<std::ptrdiff_t>(clockwise ? srcStride : 0 - srcStride);
  // Destination is h wide and w high.
  for (int r0 = 0; r0 < w; r0 += kTile) {
    const int r1 = std::min(w, r0 + kTile);
    for (int x0 = 0; x0 < h; x0 += kTile) {
      const int x1 = std::min(h, x0 + kTile);
      for (int r = r0; r < r1; ++r) {
        BYTE* out = dst + dstStride * r + static_cast<size_t>(x0) * C;
        const int sx = clockwise ? w - 1 - r : r;
        const int sy = clockwise ? x0 : h - 1 - x0;
        const BYTE* in = src + srcStride * sy + static_cast<size_t>(sx) * C;
        for (int x = x0; x < x1; ++x, in += step, out += C) {
          if constexpr (C == 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
          } else {
            *out = *in;
          }
        }
      }
    }
  }
}

bool TurnRaster(const Raster& src, Turn turn, Raster& dst, std::string& error) {
  if (!dst.Allocate(src.Height(), src.Width(), false, error)) return false;
  TurnPlane<3>(src.Pixels(), src.Stride(), src.Width(), src.Height(), dst.Pixels(), dst.Stride(), turn);
  if (src.HasAlpha()) {
    if (!dst.AllocateAlphaUninitialised()) return (error = "out of memory", false);
    TurnPlane<1>(src.Alpha(), src.Width(), src.Width(), src.Height(), dst.Alpha(), dst.Width(), turn);
  }
  return true;
}

bool HalfTurnRaster(const Raster& src, Raster& dst, std::string& error) {
  const int w = src.Width(), h = src.Height();
  if (!dst.Allocate(w, h, false, error)) return false;
  if (src.HasAlpha() && !dst.AllocateAlphaUninitialised()) return (error = "out of memory", false);
  for (int y = 0; y < h; ++y) {
    const BYTE* in = src.Row(h - 1 - y) + static_cast<size_t>(w - 1) * 3;
    BYTE* out = dst.Row(y);
    for (int x = 0; x < w; ++x, in -= 3, out += 3) std::memcpy(out, in, 3);
    if (src.HasAlpha())
      std::reverse_copy(src.AlphaRow(h - 1 - y), src.AlphaRow(h - 1 - y) + w, dst.AlphaRow(y));
  }
  return true;
}

}  // namespace

bool CxImage::Deliver(Raster&& raster, CxImage* iDst) {
  if (iDst && iDst != this) {
    iDst->m_raster = std::move(raster);
    iDst->m_type = m_type;
    iDst->m_bkColor = m_bkColor;
    iDst->m_jpegQuality = m_jpegQuality;
    iDst->m_exif = m_exif;
    iDst->m_sourceWidth = m_sourceWidth;
    iDst->m_sourceHeight = m_sourceHeight;
    iDst->Succeed();
  } else {
    m_raster = std::move(raster);
  }
  Succeed();
  return true;
}

bool CxImage::Resample(long newx, long newy, int mode, CxImage* iDst) {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  if (newx <= 0 || newy <= 0 || newx > pictavo::image::kMaxSide || newy > pictavo::image::kMaxSide)
    return Fail(ERROR_INVALID_PARAMETER, "size out of range");
  using pictavo::image::Filter;
  const Filter filter = mode == CXIMAGE_RESAMPLE_NEAREST   ? Filter::Nearest
                        : mode == CXIMAGE_RESAMPLE_BICUBIC ? Filter::Bicubic
                                                           : Filter::Bilinear;
  Raster out;
  std::string error;
  try {
    if (!ResampleRaster(m_raster, static_cast<int>(newx), static_cast<int>(newy), filter, out, error))
      return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  } catch (const std::bad_alloc&) {
    return Fail(ERROR_NOT_ENOUGH_MEMORY, "out of memory");
  }
  return Deliver(std::move(out), iDst);
}

bool CxImage::RotateLeft(CxImage* iDst) {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  Raster out;
  std::string error;
  if (!TurnRaster(m_raster, Turn::CounterClockwise, out, error)) return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  return Deliver(std::move(out), iDst);
}

bool CxImage::RotateRight(CxImage* iDst) {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  Raster out;
  std::string error;
  if (!TurnRaster(m_raster, Turn::Clockwise, out, error)) return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  return Deliver(std::move(out), iDst);
}

bool CxImage::Rotate180(CxImage* iDst) {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  Raster out;
  std::string error;
  if (!HalfTurnRaster(m_raster, out, error)) return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  return Deliver(std::move(out), iDst);
}

bool CxImage::Rotate(float angle, CxImage* iDst) {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  if (!std::isfinite(angle)) return Fail(ERROR_INVALID_PARAMETER, "angle out of range");
  double degrees = std::fmod(static_cast<double>(angle), 360.0);
  if (degrees < 0) degrees += 360.0;
  const double quarter = std::round(degrees / 90.0);
  if (std::fabs(degrees - quarter * 90.0) < 1e-4) {
    switch (static_cast<int>(quarter) % 4) {
      case 1:
        return RotateRight(iDst);
      case 2:
        return Rotate180(iDst);
      case 3:
        return RotateLeft(iDst);
      default:
        if (iDst && iDst != this) iDst->Copy(*this);
        Succeed();
        return true;
    }
  }

  const double radians = degrees * std::numbers::pi / 180.0;
  const double c = std::cos(radians), s = std::sin(radians);
  const int w = m_raster.Width(), h = m_raster.Height();
  const auto newW = std::max<long>(1, std::lround(std::fabs(w * c) + std::fabs(h * s)));
  const auto newH = std::max<long>(1, std::lround(std::fabs(w * s) + std::fabs(h * c)));
  Raster out;
  std::string error;
  if (!out.Allocate(static_cast<int>(std::min<long>(newW, pictavo::image::kMaxSide + 1)),
                    static_cast<int>(std::min<long>(newH, pictavo::image::kMaxSide + 1)), false, error))
    return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  const bool alpha = m_raster.HasAlpha();
  if (alpha && !out.AllocateAlphaUninitialised()) return Fail(ERROR_NOT_ENOUGH_MEMORY, "out of memory");

  const BYTE bg[4] = {m_bkColor.rgbBlue, m_bkColor.rgbGreen, m_bkColor.rgbRed, 0};
  // Inverse mapping: each destination pixel centre, turned back by the angle, lands on a source
  // position (16.16 fixed point, stepped along the row) that is read bilinearly. Neighbours
  // outside the source count as background, which smooths the picture's new edges.
  constexpr int kFrac = 16;
  constexpr int64_t kUnit = int64_t{1} << kFrac;
  const auto fixed = [](double v) { return static_cast<int64_t>(std::llround(v * kUnit)); };
  const int64_t stepX = fixed(c), stepY = fixed(-s);
  const BYTE* alphaPlane = m_raster.Alpha();
  const auto alphaAt = [&](int x, int y) { return alphaPlane[static_cast<size_t>(h - 1 - y) * w + x]; };
  for (int dy = 0; dy < out.Height(); ++dy) {
    const double fy = dy + 0.5 - out.Height() / 2.0;
    const double fx0 = 0.5 - out.Width() / 2.0;
    int64_t sx = fixed(fx0 * c + fy * s + w / 2.0 - 0.5);
    int64_t sy = fixed(-fx0 * s + fy * c + h / 2.0 - 0.5);
    BYTE* row = out.TopRow(dy);
    BYTE* arow = alpha ? out.AlphaTopRow(dy) : nullptr;
    for (int dx = 0; dx < out.Width(); ++dx, sx += stepX, sy += stepY, row += 3) {
      const int x0 = static_cast<int>(sx >> kFrac), y0 = static_cast<int>(sy >> kFrac);
      if (x0 < -1 || y0 < -1 || x0 >= w || y0 >= h) {
        std::memcpy(row, bg, 3);
        if (arow) arow[dx] = 0;
        continue;
      }
      const int fx = static_cast<int>((sx >> (kFrac - 8)) & 0xFF),
                fy8 = static_cast<int>((sy >> (kFrac - 8)) & 0xFF);
      const int w00 = (256 - fx) * (256 - fy8), w10 = fx * (256 - fy8), w01 = (256 - fx) * fy8,
                w11 = fx * fy8;
      const bool inside = x0 >= 0 && y0 >= 0 && x0 + 1 < w && y0 + 1 < h;
      const BYTE* p00 = inside ? m_raster.TopRow(y0) + 3 * x0 : nullptr;
      const BYTE* p01 = inside ? m_raster.TopRow(y0 + 1) + 3 * x0 : nullptr;
      const auto pixel = [&](int x, int y) -> const BYTE* {
        return (x < 0 || y < 0 || x >= w || y >= h) ? bg : m_raster.TopRow(y) + 3 * x;
      };
      const BYTE* a = inside ? p00 : pixel(x0, y0);
      const BYTE* b = inside ? p00 + 3 : pixel(x0 + 1, y0);
      const BYTE* d = inside ? p01 : pixel(x0, y0 + 1);
      const BYTE* e = inside ? p01 + 3 : pixel(x0 + 1, y0 + 1);
      for (int ch = 0; ch < 3; ++ch)
        row[ch] = static_cast<BYTE>((a[ch] * w00 + b[ch] * w10 + d[ch] * w01 + e[ch] * w11 + 32768) >> 16);
      if (arow) {
        const auto level = [&](int x, int y) -> int {
          return (x < 0 || y < 0 || x >= w || y >= h) ? 0 : alphaAt(x, y);
        };
        arow[dx] = static_cast<BYTE>((level(x0, y0) * w00 + level(x0 + 1, y0) * w10 +
                                      level(x0, y0 + 1) * w01 + level(x0 + 1, y0 + 1) * w11 + 32768) >>
                                     16);
      }
    }
  }
  return Deliver(std::move(out), iDst);
}

bool CxImage::Crop(long left, long top, long right, long bottom, CxImage* iDst) {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  left = std::max<long>(0, left);
  top = std::max<long>(0, top);
  right = std::min<long>(m_raster.Width(), right);
  bottom = std::min<long>(m_raster.Height(), bottom);
  if (right <= left || bottom <= top) return Fail(ERROR_INVALID_PARAMETER, "empty crop rectangle");
  const int w = static_cast<int>(right - left), h = static_cast<int>(bottom - top);
  Raster out;
  std::string error;
  if (!out.Allocate(w, h, false, error)) return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  if (m_raster.HasAlpha() && !out.AllocateAlphaUninitialised())
    return Fail(ERROR_NOT_ENOUGH_MEMORY, "out of memory");
  for (int y = 0; y < h; ++y) {
    std::memcpy(out.TopRow(y), m_raster.TopRow(static_cast<int>(top) + y) + left * 3,
                static_cast<size_t>(w) * 3);
    if (m_raster.HasAlpha())
      std::memcpy(out.AlphaTopRow(y), m_raster.AlphaTopRow(static_cast<int>(top) + y) + left,
                  static_cast<size_t>(w));
  }
  return Deliver(std::move(out), iDst);
}

bool CxImage::Crop(const RECT& rect, CxImage* iDst) {
  return Crop(rect.left, rect.top, rect.right, rect.bottom, iDst);
}

bool CxImage::Flip() {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  const int h = m_raster.Height(), w = m_raster.Width();
  std::vector<BYTE> swap(m_raster.Stride());
  for (int y = 0; y < h / 2; ++y) {
    BYTE *a = m_raster.Row(y), *b = m_raster.Row(h - 1 - y);
    std::memcpy(swap.data(), a, swap.size());
    std::memcpy(a, b, swap.size());
    std::memcpy(b, swap.data(), swap.size());
    if (m_raster.HasAlpha())
      std::swap_ranges(m_raster.AlphaRow(y), m_raster.AlphaRow(y) + w, m_raster.AlphaRow(h - 1 - y));
  }
  Succeed();
  return true;
}

bool CxImage::Mirror() {
  if (!IsValid()) return Fail(ERROR_INVALID_PARAMETER, "no picture");
  const int h = m_raster.Height(), w = m_raster.Width();
  for (int y = 0; y < h; ++y) {
    BYTE* row = m_raster.Row(y);
    for (int x = 0; x < w / 2; ++x) std::swap_ranges(row + 3 * x, row + 3 * x + 3, row + 3 * (w - 1 - x));
    if (m_raster.HasAlpha()) std::reverse(m_raster.AlphaRow(y), m_raster.AlphaRow(y) + w);
  }
  Succeed();
  return true;
}
