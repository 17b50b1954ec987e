// Device-independent bitmap layouts: rows padded to 4 bytes, bottom-up unless the height is
// negative, 1/4/8-bit colour-table indexes, 16-bit 5-5-5, 24-bit B G R, 32-bit B G R X.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::gdi {

struct DibFormat {
  int width = 0;
  int height = 0;  // always positive
  int bitsPerPixel = 32;
  bool topDown = false;
  std::vector<RGBQUAD> colors;

  // Validates a header (and its colour table, which must follow it in memory). Only uncompressed
  // layouts (BI_RGB, and BI_BITFIELDS with the standard masks) are accepted.
  static std::optional<DibFormat> FromInfo(const BITMAPINFO* info);

  size_t Stride() const { return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4; }
  size_t ImageSize() const { return Stride() * static_cast<size_t>(height); }
  // The memory row of picture row y (counted from the top).
  const uint8_t* Row(const void* bits, int y) const {
    int memRow = topDown ? y : height - 1 - y;
    return static_cast<const uint8_t*>(bits) + static_cast<size_t>(memRow) * Stride();
  }
  uint8_t* Row(void* bits, int y) const {
    return const_cast<uint8_t*>(Row(static_cast<const void*>(bits), y));
  }

  // Converts `count` pixels starting at column `first` of a memory row to 0x00RRGGBB pixels, and back.
  void DecodeRow(const uint8_t* src, uint32_t* out, int first, int count) const;
  void EncodeRow(const uint32_t* in, uint8_t* dst, int first, int count) const;
  uint8_t NearestIndex(uint32_t pixel) const;
  // Colour table entries as pixels.
  uint32_t ColorPixel(size_t index) const {
    if (index >= colors.size()) return 0;
    const RGBQUAD& q = colors[index];
    return (static_cast<uint32_t>(q.rgbRed) << 16) | (static_cast<uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
  }
};

// Packs rows of a header that describes the given format (colour table not included).
BITMAPINFOHEADER HeaderOf(const DibFormat& format);

}  // namespace pictavo::gdi
