// Fixtures for the picture tests: small generated pictures, a scratch folder, file helpers and
// the ffmpeg program as an independent encoder and decoder.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "modules/image/CxImage.h"
#include "tests/support/Programs.h"
#include "tests/support/ScratchDir.h"

namespace imagetest {

namespace fs = std::filesystem;

using pictavo::test::Run;
using pictavo::test::ScratchDir;

// A file's bytes, and a file made of bytes.
inline std::vector<BYTE> ReadFile(const std::string& path) {
  const std::string bytes = pictavo::test::ReadWholeFile(path);
  return {bytes.begin(), bytes.end()};
}
inline void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
  pictavo::test::WriteWholeFile(path,
                                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Colour of pixel (x, y), y from the top, of the standard test gradient: red across, green down,
// blue along the diagonal. Smooth, so lossy formats keep it closely.
inline RGBQUAD GradientAt(int x, int y, int w, int h) {
  const int r = w > 1 ? x * 255 / (w - 1) : 0;
  const int g = h > 1 ? y * 255 / (h - 1) : 0;
  const int b = (r + g) / 2;
  return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
}

inline CxImage Gradient(int w, int h, bool alpha = false) {
  CxImage image;
  image.Create(w, h, 24);
  if (alpha) image.AlphaCreate();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      RGBQUAD c = GradientAt(x, y, w, h);
      // Alpha stays at or above half so colours survive premultiplying formats.
      c.rgbReserved = static_cast<BYTE>(128 + (x * 127) / std::max(1, w - 1));
      image.SetPixelColor(x, h - 1 - y, c, alpha);
    }
  return image;
}

// Largest difference of any channel between two pictures of the same size (alpha included when
// both have it); -1 when the sizes differ.
inline int MaxDifference(const CxImage& a, const CxImage& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return -1;
  int worst = 0;
  const bool alpha = a.AlphaIsValid() && b.AlphaIsValid();
  for (long y = 0; y < static_cast<long>(a.GetHeight()); ++y)
    for (long x = 0; x < static_cast<long>(a.GetWidth()); ++x) {
      const RGBQUAD p = a.GetPixelColor(x, y), q = b.GetPixelColor(x, y);
      worst =
          std::max({worst, std::abs(p.rgbRed - q.rgbRed), std::abs(p.rgbGreen - q.rgbGreen),
                    std::abs(p.rgbBlue - q.rgbBlue), alpha ? std::abs(p.rgbReserved - q.rgbReserved) : 0});
    }
  return worst;
}

// Converts `input` into `output` with ffmpeg; extra options go before the output.
inline bool Ffmpeg(const std::string& input, const std::string& output,
                   const std::vector<std::string>& options) {
  std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "error", "-y", "-i", input};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(output);
  return Run(args);
}

// ffmpeg's own reading of a picture file, as a CxImage (with alpha when asked).
inline CxImage DecodedByFfmpeg(const std::string& input, const ScratchDir& dir, int w, int h, bool alpha) {
  const std::string raw = dir / "ffmpeg-decoded.raw";
  CxImage image;
  if (!Ffmpeg(input, raw, {"-f", "rawvideo", "-pix_fmt", alpha ? "bgra" : "bgr24"})) return image;
  const std::vector<BYTE> bytes = ReadFile(raw);
  const DWORD pixel = alpha ? 4 : 3;
  if (bytes.size() != static_cast<size_t>(w) * h * pixel) return image;
  image.CreateFromArray(bytes.data(), w, h, pixel * 8, w * pixel, /*bFlipImage*/ true);
  return image;
}

}  // namespace imagetest
