// Pixel storage of a picture, laid out the way GDI takes it: one block holding a
// BITMAPINFOHEADER followed by 24-bit BGR rows, bottom row first, each row padded to 4 bytes.
// The optional alpha plane is separate, one byte per pixel, rows in the same bottom-up order.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/base/WinTypes.h"

namespace pictavo::image {

// Larger pictures are refused before anything is allocated: no camera comes near these, and a
// damaged header must not make us reserve gigabytes.
inline constexpr int64_t kMaxSide = 65535;
inline constexpr int64_t kMaxPixels = 200'000'000;

// Bytes per 24-bit row, padded to a multiple of 4.
inline size_t StrideFor(int64_t width) {
  return static_cast<size_t>((width * 3 + 3) & ~int64_t{3});
}

// Empty when a picture of this size may be allocated, else the reason it may not.
[[nodiscard]] std::string CheckDimensions(int64_t width, int64_t height);

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using Block = std::unique_ptr<BYTE, FreeDeleter>;

class Raster {
 public:
  Raster() = default;
  Raster(Raster&&) noexcept = default;
  Raster& operator=(Raster&&) noexcept = default;

  // Allocates the header and pixels of a width x height 24-bit picture. `zero` clears the pixels;
  // otherwise only the row padding is cleared and the caller writes every pixel.
  [[nodiscard]] bool Allocate(int width, int height, bool zero, std::string& error);
  // Adds an alpha plane (every pixel `level`); replaces an existing one.
  [[nodiscard]] bool AllocateAlpha(BYTE level);
  // Adds an alpha plane without initialising it; the caller fills every byte.
  [[nodiscard]] bool AllocateAlphaUninitialised();
  void DropAlpha() { m_alpha.reset(); }
  void Reset();
  [[nodiscard]] bool Clone(const Raster& other, bool pixels, bool alpha, std::string& error);

  bool IsValid() const { return m_dib != nullptr; }
  bool HasAlpha() const { return m_alpha != nullptr; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  size_t Stride() const { return m_stride; }
  size_t PixelBytes() const { return m_stride * static_cast<size_t>(m_height); }
  size_t DibBytes() const { return sizeof(BITMAPINFOHEADER) + PixelBytes(); }

  BITMAPINFOHEADER* Header() { return reinterpret_cast<BITMAPINFOHEADER*>(m_dib.get()); }
  BYTE* Dib() { return m_dib.get(); }
  const BYTE* Dib() const { return m_dib.get(); }
  BYTE* Pixels() { return m_dib ? m_dib.get() + sizeof(BITMAPINFOHEADER) : nullptr; }
  const BYTE* Pixels() const { return m_dib ? m_dib.get() + sizeof(BITMAPINFOHEADER) : nullptr; }
  // Row `y` as stored: 0 is the bottom row.
  BYTE* Row(int y) { return Pixels() + m_stride * static_cast<size_t>(y); }
  const BYTE* Row(int y) const { return Pixels() + m_stride * static_cast<size_t>(y); }
  // Row `y` counted from the top, as decoders and rectangles see the picture.
  BYTE* TopRow(int y) { return Row(m_height - 1 - y); }
  const BYTE* TopRow(int y) const { return Row(m_height - 1 - y); }

  BYTE* Alpha() { return m_alpha.get(); }
  const BYTE* Alpha() const { return m_alpha.get(); }
  BYTE* AlphaRow(int y) { return m_alpha.get() + static_cast<size_t>(m_width) * y; }
  const BYTE* AlphaRow(int y) const { return m_alpha.get() + static_cast<size_t>(m_width) * y; }
  BYTE* AlphaTopRow(int y) { return AlphaRow(m_height - 1 - y); }

  // Clears the bytes between the last pixel of each row and the row's end.
  void ZeroPadding();

 private:
  Block m_dib;    // BITMAPINFOHEADER + pixels
  Block m_alpha;  // width * height bytes, or null
  int m_width = 0;
  int m_height = 0;
  size_t m_stride = 0;
};

}  // namespace pictavo::image
