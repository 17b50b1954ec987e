// A GDI+ session per test, and a memory DC over a 32-bit DIB section whose pixels tests read.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/GdiPlus.h"

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    EXPECT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
  }
  ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR m_token = 0;
};

class GdiplusTest : public ::testing::Test {
 private:
  GdiplusSession m_session;
};

class Canvas {
 public:
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

  HDC dc() const { return m_dc; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  // The colour at (x, y), counted from the top, as a COLORREF (the fourth byte ignored).
  COLORREF At(int x, int y) const {
    uint32_t p = m_bits[(m_bottomUp ? m_height - 1 - y : y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Fill(COLORREF color) {
    uint32_t p = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = p;
  }

 private:
  int m_width, m_height;
  bool m_bottomUp;
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_old = nullptr;
  uint32_t* m_bits = nullptr;
};

// True when every channel of `actual` is within `tolerance` of `expected`.
inline bool Near(COLORREF actual, COLORREF expected, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((actual >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) >
        tolerance)
      return false;
  return true;
}

// A colour part of the way from `a` to `b`.
inline COLORREF Mix(COLORREF a, COLORREF b, double t) {
  auto channel = [&](int shift) {
    double x = ((a >> shift) & 0xFF) + (static_cast<double>((b >> shift) & 0xFF) - ((a >> shift) & 0xFF)) * t;
    return static_cast<COLORREF>(x + 0.5) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

inline COLORREF RefOf(Gdiplus::ARGB argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}
