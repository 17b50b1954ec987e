#include "modules/image/Codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pictavo::image {

Format Sniff(std::span<const BYTE> d) {
  const auto starts = [&](std::initializer_list<BYTE> bytes) {
    return d.size() >= bytes.size() && std::equal(bytes.begin(), bytes.end(), d.begin());
  };
  if (starts({0xFF, 0xD8, 0xFF})) return Format::Jpeg;
  if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return Format::Png;
  if (starts({'B', 'M'}) && d.size() >= 18) return Format::Bmp;
  if (starts({'I', 'I', 42, 0}) || starts({'M', 'M', 0, 42})) return Format::Tiff;
  if (starts({'G', 'I', 'F', '8'})) return Format::Gif;
  // PCX has no signature: the maker byte, a known version, the encoding and a bit depth.
  if (d.size() >= 128 && d[0] == 0x0A && (d[1] <= 5 && d[1] != 1) && d[2] <= 1 &&
      (d[3] == 1 || d[3] == 2 || d[3] == 4 || d[3] == 8))
    return Format::Pcx;
  return Format::Unknown;
}

const char* FormatName(Format format) {
  switch (format) {
    case Format::Bmp:
      return "BMP";
    case Format::Gif:
      return "GIF";
    case Format::Jpeg:
      return "JPEG";
    case Format::Png:
      return "PNG";
    case Format::Tiff:
      return "TIFF";
    case Format::Pcx:
      return "PCX";
    case Format::Unknown:
      break;
  }
  return "unknown";
}

int ReductionFor(int width, int height, const DecodeRequest& request) {
  if (request.maxWidth <= 0 || request.maxHeight <= 0 || width <= 0 || height <= 0) return 1;
  const double ratio = std::min(static_cast<double>(request.maxWidth) / width,
                                static_cast<double>(request.maxHeight) / height);
  if (ratio >= 1.0) return 1;
  const int64_t fitWidth = std::max<int64_t>(1, std::llround(width * ratio));
  const int64_t fitHeight = std::max<int64_t>(1, std::llround(height * ratio));
  for (int reduction : {8, 4, 2}) {
    // libjpeg rounds a reduced size up.
    const int64_t w = (int64_t{width} + reduction - 1) / reduction;
    const int64_t h = (int64_t{height} + reduction - 1) / reduction;
    if (w >= fitWidth && h >= fitHeight) return reduction;
  }
  return 1;
}

}  // namespace pictavo::image
