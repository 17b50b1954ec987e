// PC Paintbrush files: run-length coded scan lines of 1 to 4 bit planes (1, 2 or 4 bits each)
// with the header's 16-colour palette, 8-bit with the 256-colour palette at the end of the file
// (grey when it is missing), and 24-bit as three 8-bit planes per line.
#include <algorithm>
#include <array>
#include <cstring>

#include "modules/image/Codec.h"

namespace pictavo::image {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kVgaPaletteSize = 768;
constexpr BYTE kVgaPaletteMarker = 0x0C;
// A run of at most 63 bytes costs two bytes.
constexpr uint64_t kMaxRunRatio = 32;

WORD U16(const BYTE* p) {
  return static_cast<WORD>(p[0] | p[1] << 8);
}

}  // namespace

bool DecodePcx(std::span<const BYTE> data, Decoded& out, std::string& error) {
  const auto fail = [&](const std::string& why) {
    out.raster.Reset();
    error = "PCX: " + why;
    return false;
  };
  if (data.size() < kHeaderSize) return fail("file is truncated");
  const BYTE* h = data.data();
  const bool encoded = h[2] == 1;
  const int bits = h[3];
  const int planes = h[65];
  const size_t bytesPerLine = U16(h + 66);
  const int xmin = U16(h + 4), ymin = U16(h + 6), xmax = U16(h + 8), ymax = U16(h + 10);
  if (xmax < xmin || ymax < ymin) return fail("picture has no pixels");
  const int width = xmax - xmin + 1, height = ymax - ymin + 1;
  if (std::string why = CheckDimensions(width, height); !why.empty()) return fail(why);

  const bool truecolour = bits == 8 && planes == 3;
  const bool indexed =
      (bits == 1 || bits == 2 || bits == 4 || bits == 8) && planes >= 1 && bits * planes <= 8;
  if (!truecolour && !indexed) return fail("unsupported kind of picture");
  if (bytesPerLine < (static_cast<size_t>(width) * bits + 7) / 8) return fail("damaged header");

  const size_t lineBytes = bytesPerLine * planes;
  const uint64_t total = uint64_t{lineBytes} * height;
  const size_t available = data.size() - kHeaderSize;
  if (encoded ? total > available * kMaxRunRatio : total > available) return fail("file is truncated");

  // Palette of an indexed picture.
  std::array<RGBQUAD, 256> palette{};
  const int indexBits = indexed ? bits * planes : 0;
  if (indexBits == 8) {
    const BYTE* vga = data.data() + data.size() - kVgaPaletteSize;
    const bool hasVga = data.size() >= kHeaderSize + kVgaPaletteSize + 1 && vga[-1] == kVgaPaletteMarker;
    // Version 5 always ends with the palette; older files are grey.
    if (!hasVga && h[1] == 5) return fail("file is truncated");
    for (int i = 0; i < 256; ++i) {
      const BYTE* c = hasVga ? vga + 3 * i : nullptr;
      palette[i] = c ? RGBQUAD{c[2], c[1], c[0], 0} : RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    }
  } else if (indexBits == 1) {
    palette[1] = RGBQUAD{255, 255, 255, 0};
  } else if (indexed) {
    for (int i = 0; i < 16; ++i) palette[i] = RGBQUAD{h[16 + 3 * i + 2], h[16 + 3 * i + 1], h[16 + 3 * i], 0};
  }

  out.sourceWidth = width;
  out.sourceHeight = height;
  Raster& raster = out.raster;
  std::string allocError;
  if (!raster.Allocate(width, height, false, allocError)) return fail(allocError);

  std::vector<BYTE> line(lineBytes);
  size_t pos = kHeaderSize;
  // Runs may carry over from one line to the next.
  BYTE runValue = 0;
  size_t runLeft = 0;
  for (int y = 0; y < height; ++y) {
    for (size_t i = 0; i < lineBytes; ++i) {
      if (runLeft == 0) {
        if (pos >= data.size()) return fail("file is truncated");
        const BYTE b = data[pos++];
        if (encoded && (b & 0xC0) == 0xC0) {
          if (pos >= data.size()) return fail("file is truncated");
          runLeft = b & 0x3F;
          runValue = data[pos++];
          if (runLeft == 0) {
            --i;  // an empty run writes nothing
            continue;
          }
        } else {
          runLeft = 1;
          runValue = b;
        }
      }
      line[i] = runValue;
      --runLeft;
    }
    BYTE* dst = raster.TopRow(y);
    if (truecolour) {
      const BYTE *r = line.data(), *g = r + bytesPerLine, *b = g + bytesPerLine;
      for (int x = 0; x < width; ++x, dst += 3) {
        dst[0] = b[x];
        dst[1] = g[x];
        dst[2] = r[x];
      }
      continue;
    }
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < width; ++x, dst += 3) {
      int index = 0;
      const int shift = 8 - bits * (x % perByte + 1);
      for (int p = 0; p < planes; ++p)
        index |= ((line[p * bytesPerLine + x / perByte] >> shift) & mask) << (p * bits);
      const RGBQUAD& c = palette[index];
      dst[0] = c.rgbBlue;
      dst[1] = c.rgbGreen;
      dst[2] = c.rgbRed;
    }
  }
  return true;
}

}  // namespace pictavo::image
