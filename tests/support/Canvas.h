// A memory DC over a 32-bit DIB section whose pixels tests read directly.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace pictavo::test {

class Canvas {
 public:
  // Top-down unless `bottomUp`; rows are counted from the top either way.
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), bool bottomUp = false)
      : m_width(width), m_height(height), m_bottomUp(bottomUp) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = bottomUp ? height : -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return m_dc; }
  HBITMAP Bitmap() const { return m_bitmap; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  // The pixel at (x, y) as the DIB holds it (0x00RRGGBB plus the fourth byte).
  uint32_t& Pixel(int x, int y) { return m_bits[Index(x, y)]; }
  // The colour at (x, y) as a COLORREF, the fourth byte ignored.
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = m_bits[Index(x, y)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Every pixel in memory order, the fourth byte cleared.
  std::vector<uint32_t> Pixels() const {
    GdiFlush();
    std::vector<uint32_t> out(m_bits, m_bits + static_cast<size_t>(m_width) * m_height);
    for (auto& p : out) p &= 0xFFFFFF;
    return out;
  }
  void Fill(COLORREF color) {
    const uint32_t p = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    for (size_t i = 0; i < static_cast<size_t>(m_width) * m_height; ++i) m_bits[i] = p;
  }
  // How many pixels differ from `color`.
  int CountNot(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) n += At(x, y) != color;
    return n;
  }

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(m_bottomUp ? m_height - 1 - y : y) * static_cast<size_t>(m_width) +
           static_cast<size_t>(x);
  }

  int m_width, m_height;
  bool m_bottomUp;
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_old = nullptr;
  uint32_t* m_bits = nullptr;
};

// Where a drawing left its marks: the box around the pixels that differ from the background,
// and how many they are.
struct Ink {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, count = 0;
  bool Empty() const { return count == 0; }
  double CentreX() const { return (left + right) / 2.0; }
  double CentreY() const { return (top + bottom) / 2.0; }
};

inline Ink InkIn(const Canvas& c, const RECT& area, COLORREF background = RGB(255, 255, 255)) {
  Ink ink;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (c.At(x, y) != background) {
        ink.left = std::min(ink.left, x);
        ink.top = std::min(ink.top, y);
        ink.right = std::max(ink.right, x + 1);
        ink.bottom = std::max(ink.bottom, y + 1);
        ++ink.count;
      }
  return ink;
}
inline Ink InkOf(const Canvas& c, COLORREF background = RGB(255, 255, 255)) {
  return InkIn(c, RECT{0, 0, c.Width(), c.Height()}, background);
}

}  // namespace pictavo::test
