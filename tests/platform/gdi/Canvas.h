// A memory DC over a top-down 32-bit DIB section whose pixels the tests read directly.
#pragma once

#include <cstdint>

#include "platform/gdi/Gdi.h"

class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
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

  HDC dc() const { return m_dc; }
  HBITMAP bitmap() const { return m_bitmap; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  uint32_t& Pixel(int x, int y) { return m_bits[y * m_width + x]; }
  // The colour at (x, y) as a COLORREF, alpha byte ignored.
  COLORREF At(int x, int y) const {
    uint32_t p = m_bits[y * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Fill(COLORREF color) {
    uint32_t p = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = p;
  }
  // How many pixels differ from `color`.
  int CountNot(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) n += At(x, y) != color;
    return n;
  }

 private:
  int m_width, m_height;
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_old = nullptr;
  uint32_t* m_bits = nullptr;
};
