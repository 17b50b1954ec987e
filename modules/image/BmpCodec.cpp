// Windows bitmap files: every header version, 1/4/8-bit palettes (plain, RLE8, RLE4), 16-bit
// (5-5-5 or bit fields), 24-bit and 32-bit (bit fields, with alpha when a mask says so).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "modules/image/Codec.h"

namespace pictavo::image {
namespace {

constexpr DWORD kBiAlphaBitfields = 6;

class Reader {
 public:
  explicit Reader(std::span<const BYTE> data) : m_data(data) {}
  bool Has(size_t offset, size_t length) const {
    return offset <= m_data.size() && m_data.size() - offset >= length;
  }
  WORD U16(size_t o) const { return static_cast<WORD>(m_data[o] | m_data[o + 1] << 8); }
  DWORD U32(size_t o) const {
    return DWORD{m_data[o]} | DWORD{m_data[o + 1]} << 8 | DWORD{m_data[o + 2]} << 16 |
           DWORD{m_data[o + 3]} << 24;
  }
  const BYTE* At(size_t o) const { return m_data.data() + o; }
  size_t Size() const { return m_data.size(); }

 private:
  std::span<const BYTE> m_data;
};

// One colour channel described by a bit mask, widened to 8 bits by repeating its bits (so 5-bit
// 31 becomes 255 and 16 becomes 132), or narrowed by keeping its top 8 bits.
class Channel {
 public:
  explicit Channel(DWORD mask = 0) : m_mask(mask) {
    if (!mask) return;
    while (!((mask >> m_shift) & 1)) ++m_shift;
    while (m_shift + m_bits < 32 && ((uint64_t{mask} >> (m_shift + m_bits)) & 1)) ++m_bits;
    if (m_bits > 8) return;
    for (DWORD v = 0; v < (1u << m_bits); ++v) {
      int out = 0;
      for (int at = 8 - m_bits; at > -m_bits; at -= m_bits) out |= at >= 0 ? v << at : v >> -at;
      m_widen[v] = static_cast<BYTE>(out);
    }
  }
  bool Present() const { return m_mask != 0; }
  BYTE Get(DWORD pixel) const {
    if (!m_mask) return 0;
    const DWORD v = (pixel & m_mask) >> m_shift;
    return m_bits <= 8 ? m_widen[v & 0xFF] : static_cast<BYTE>(v >> (m_bits - 8));
  }

 private:
  DWORD m_mask = 0;
  int m_shift = 0;
  int m_bits = 0;
  BYTE m_widen[256] = {};
};

struct Header {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bits = 0;
  DWORD compression = BI_RGB;
  DWORD colors = 0;
  size_t paletteOffset = 0;
  int paletteEntrySize = 4;
  DWORD masks[4] = {};  // red, green, blue, alpha
};

bool ReadHeader(const Reader& r, Header& h, std::string& error) {
  if (!r.Has(14, 4)) return (error = "file is truncated", false);
  const DWORD size = r.U32(14);
  if (size == 12) {
    if (!r.Has(14, 12)) return (error = "file is truncated", false);
    h.width = r.U16(18);
    h.height = r.U16(20);
    h.bits = r.U16(24);
    h.paletteEntrySize = 3;
    h.paletteOffset = 14 + 12;
    return true;
  }
  if (size < 40 || size > 1024 || !r.Has(14, size)) return (error = "unknown header", false);
  h.width = static_cast<LONG>(r.U32(18));
  const auto height = static_cast<LONG>(r.U32(22));
  h.topDown = height < 0;
  h.height = height == INT32_MIN ? 0 : std::abs(height);
  h.bits = r.U16(28);
  h.compression = r.U32(30);
  h.colors = r.U32(46);
  h.paletteOffset = 14 + size;
  if (h.compression == BI_BITFIELDS || h.compression == kBiAlphaBitfields) {
    const int count = h.compression == kBiAlphaBitfields ? 4 : 3;
    // The masks follow a plain 40-byte header and sit inside the larger ones.
    const size_t at = 14 + 40;
    if (!r.Has(at, 4 * count)) return (error = "file is truncated", false);
    for (int i = 0; i < count; ++i) h.masks[i] = r.U32(at + 4 * i);
    if (size == 40) h.paletteOffset += 4 * count;
  }
  if (size >= 56 && h.compression == BI_BITFIELDS) h.masks[3] = r.U32(14 + 52);
  return true;
}

using Palette = std::array<RGBQUAD, 256>;

// Expands the palette-index rows into BGR.
void IndicesToBgr(const BYTE* indices, BYTE* dst, int width, const Palette& palette) {
  for (int x = 0; x < width; ++x, dst += 3) {
    const RGBQUAD& c = palette[indices[x]];
    dst[0] = c.rgbBlue;
    dst[1] = c.rgbGreen;
    dst[2] = c.rgbRed;
  }
}

// Run-length data into a bottom-up index grid. False when the data ends before its end marker.
bool DecodeRle(const Reader& r, size_t pos, bool four, int width, int height, std::vector<BYTE>& grid) {
  // 64-bit: runs without line ends may push x far past the width before the data runs out.
  int64_t x = 0, y = 0;
  const auto put = [&](BYTE index) {
    if (x < width && y < height) grid[static_cast<size_t>(y) * width + static_cast<size_t>(x)] = index;
    ++x;
  };
  while (r.Has(pos, 2)) {
    const BYTE count = *r.At(pos), value = *r.At(pos + 1);
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return true;
    } else if (value == 2) {  // delta
      if (!r.Has(pos, 2)) return false;
      x += *r.At(pos);
      y += *r.At(pos + 1);
      pos += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (value + 1u) / 2 : value;
      if (!r.Has(pos, bytes)) return false;
      for (int i = 0; i < value; ++i) {
        const BYTE b = *r.At(pos + (four ? i / 2 : i));
        put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
      }
      pos += (bytes + 1) & ~size_t{1};
    }
    if (y >= height) return true;
  }
  return false;
}

}  // namespace

bool DecodeBmp(std::span<const BYTE> data, Decoded& out, std::string& error) {
  const Reader r(data);
  Header h;
  const auto fail = [&](const char* why) {
    out.raster.Reset();
    error = std::string("BMP: ") + why;
    return false;
  };
  if (!ReadHeader(r, h, error)) return fail(error.c_str());
  if (std::string why = CheckDimensions(h.width, h.height); !why.empty()) return fail(why.c_str());
  const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
  const bool fields = h.compression == BI_BITFIELDS || h.compression == kBiAlphaBitfields;
  const bool known = (h.compression == BI_RGB && (h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 ||
                                                  h.bits == 24 || h.bits == 32)) ||
                     (h.compression == BI_RLE8 && h.bits == 8) || (h.compression == BI_RLE4 && h.bits == 4) ||
                     (fields && (h.bits == 16 || h.bits == 32));
  if (!known) return fail("unsupported kind of bitmap");
  if (rle && h.topDown) return fail("top-down run-length bitmap");

  const size_t offBits = r.U32(10);
  if (offBits < 14 || offBits >= data.size()) return fail("file is truncated");
  const size_t stride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
  // The last row may lack its padding; anything shorter is truncated.
  const size_t lastRow = (static_cast<size_t>(h.width) * h.bits + 7) / 8;
  if (!rle && !r.Has(offBits, stride * (h.height - 1) + lastRow)) return fail("file is truncated");

  Palette palette{};
  if (h.bits <= 8) {
    const size_t maxColors = size_t{1} << h.bits;
    size_t colors = h.colors ? std::min<size_t>(h.colors, maxColors) : maxColors;
    // Some writers leave out part of the palette; take what lies before the pixels.
    if (h.paletteOffset < offBits)
      colors = std::min(colors, (offBits - h.paletteOffset) / h.paletteEntrySize);
    else
      colors = 0;
    for (size_t i = 0; i < colors; ++i) {
      const BYTE* p = r.At(h.paletteOffset + i * h.paletteEntrySize);
      palette[i] = RGBQUAD{p[0], p[1], p[2], 0};
    }
  }

  out.sourceWidth = h.width;
  out.sourceHeight = h.height;
  Raster& raster = out.raster;
  std::string allocError;
  if (!raster.Allocate(h.width, h.height, false, allocError)) return fail(allocError.c_str());
  const int width = h.width;
  const auto fileRow = [&](int i) { return h.topDown ? raster.TopRow(i) : raster.Row(i); };

  if (rle) {
    std::vector<BYTE> grid(static_cast<size_t>(width) * h.height, 0);
    if (!DecodeRle(r, offBits, h.compression == BI_RLE4, width, h.height, grid))
      return fail("file is truncated");
    for (int y = 0; y < h.height; ++y)
      IndicesToBgr(grid.data() + static_cast<size_t>(y) * width, raster.Row(y), width, palette);
    return true;
  }

  if (h.bits <= 8) {
    std::vector<BYTE> indices(width);
    const int perByte = 8 / h.bits;
    const BYTE mask = static_cast<BYTE>((1 << h.bits) - 1);
    for (int i = 0; i < h.height; ++i) {
      const BYTE* src = r.At(offBits + stride * i);
      for (int x = 0; x < width; ++x) {
        const int shift = 8 - h.bits * (x % perByte + 1);
        indices[x] = static_cast<BYTE>((src[x / perByte] >> shift) & mask);
      }
      IndicesToBgr(indices.data(), fileRow(i), width, palette);
    }
    return true;
  }

  if (h.bits == 24) {
    for (int i = 0; i < h.height; ++i)
      std::memcpy(fileRow(i), r.At(offBits + stride * i), static_cast<size_t>(width) * 3);
    return true;
  }

  if (!fields) {
    if (h.bits == 16) {
      h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    } else {
      h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
    }
  }
  // A 32-bit picture without bit fields keeps alpha in its fourth byte when the writer put any
  // there; one that is all 0 or all 255 is opaque.
  if (h.bits == 32 && !fields) h.masks[3] = 0xFF000000;
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.bits == 32 ? h.masks[3] : 0);
  if (alpha.Present() && !raster.AllocateAlphaUninitialised()) return fail("out of memory");
  bool anyTransparent = false, anyVisible = false;
  for (int i = 0; i < h.height; ++i) {
    const BYTE* src = r.At(offBits + stride * i);
    BYTE* dst = fileRow(i);
    BYTE* a = alpha.Present() ? (h.topDown ? raster.AlphaTopRow(i) : raster.AlphaRow(i)) : nullptr;
    for (int x = 0; x < width; ++x, dst += 3) {
      const DWORD px = h.bits == 16 ? DWORD{src[2 * x]} | DWORD{src[2 * x + 1]} << 8
                                    : DWORD{src[4 * x]} | DWORD{src[4 * x + 1]} << 8 |
                                          DWORD{src[4 * x + 2]} << 16 | DWORD{src[4 * x + 3]} << 24;
      dst[0] = blue.Get(px);
      dst[1] = green.Get(px);
      dst[2] = red.Get(px);
      if (a) {
        a[x] = alpha.Get(px);
        anyTransparent |= a[x] != 255;
        anyVisible |= a[x] != 0;
      }
    }
  }
  // Writers that declare alpha and leave it all zero mean an opaque picture.
  if (alpha.Present() && (!anyVisible || !anyTransparent)) raster.DropAlpha();
  return true;
}

}  // namespace pictavo::image
