// A GDI+ session per test, the canvas the tests draw on, and colour comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/GdiPlus.h"
#include "tests/support/Canvas.h"

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

using pictavo::test::Canvas;
using pictavo::test::Ink;
using pictavo::test::InkOf;

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
