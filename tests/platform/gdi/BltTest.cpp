#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;

COLORREF Gray(int v) {
  return RGB(v, v, v);
}

// The defining truth table of a ternary raster operation, bit by bit.
uint32_t ReferenceRop(uint8_t rop, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t out = 0;
  for (int bit = 0; bit < 24; ++bit) {
    int index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
    out |= static_cast<uint32_t>((rop >> index) & 1) << bit;
  }
  return out;
}

TEST(Blt, EveryTernaryCodeFollowsItsTruthTable) {
  Canvas dest(4, 2), src(4, 2);
  HBRUSH pattern = CreateSolidBrush(Gray(0xF0));
  SelectObject(dest.Dc(), pattern);
  for (int rop = 0; rop < 256; ++rop) {
    dest.Fill(Gray(0xAA));
    src.Fill(Gray(0xCC));
    ASSERT_TRUE(BitBlt(dest.Dc(), 0, 0, 4, 2, src.Dc(), 0, 0, static_cast<DWORD>(rop) << 16)) << rop;
    // With P = F0, S = CC, D = AA every bit position shows the code's own bit.
    EXPECT_EQ(dest.At(3, 1), Gray(rop)) << "rop " << rop;
  }
  std::mt19937 random(7);
  for (int round = 0; round < 4; ++round) {
    COLORREF p = random() & 0xFFFFFF, s = random() & 0xFFFFFF, d = random() & 0xFFFFFF;
    HBRUSH brush = CreateSolidBrush(p);
    HGDIOBJ old = SelectObject(dest.Dc(), brush);
    for (int rop = 0; rop < 256; ++rop) {
      dest.Fill(d);
      src.Fill(s);
      BitBlt(dest.Dc(), 0, 0, 4, 2, src.Dc(), 0, 0, static_cast<DWORD>(rop) << 16);
      EXPECT_EQ(dest.At(0, 0), ReferenceRop(static_cast<uint8_t>(rop), p, s, d)) << "rop " << rop;
    }
    SelectObject(dest.Dc(), old);
    DeleteObject(brush);
  }
  SelectObject(dest.Dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(pattern);
}

TEST(Blt, NamedCodesHaveTheirMeaning) {
  struct Case {
    DWORD rop;
    COLORREF expected;
  };
  const COLORREF s = RGB(0x0F, 0x33, 0xF0), d = RGB(0x55, 0x0F, 0xFF);
  const Case cases[] = {
      {SRCCOPY, s},
      {SRCAND, s & d},
      {SRCPAINT, s | d},
      {SRCINVERT, s ^ d},
      {SRCERASE, s & (~d & 0xFFFFFF)},
      {NOTSRCCOPY, ~s & 0xFFFFFF},
      {DSTINVERT, ~d & 0xFFFFFF},
      {BLACKNESS, 0},
      {WHITENESS, 0xFFFFFF},
  };
  Canvas dest(2, 2), src(2, 2);
  for (const auto& c : cases) {
    dest.Fill(d);
    src.Fill(s);
    BitBlt(dest.Dc(), 0, 0, 2, 2, src.Dc(), 0, 0, c.rop);
    EXPECT_EQ(dest.At(1, 1), c.expected) << std::hex << c.rop;
  }
}

TEST(Blt, MonochromeSourceTakesTextAndBackgroundColours) {
  // Rows of 16-bit words: 0xA000 is 1010 0000 ...
  const WORD rows[2] = {0x00A0, 0x0050};  // little-endian bytes A0 00 / 50 00
  HBITMAP mono = CreateBitmap(4, 2, 1, 1, rows);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, mono);
  Canvas dest(4, 2);
  SetTextColor(dest.Dc(), RGB(255, 0, 0));
  SetBkColor(dest.Dc(), RGB(0, 0, 255));
  BitBlt(dest.Dc(), 0, 0, 4, 2, memory, 0, 0, SRCCOPY);
  // 1 bits take the background colour, 0 bits the text colour.
  EXPECT_EQ(dest.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dest.At(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(dest.At(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(dest.At(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(dest.At(1, 1), RGB(0, 0, 255));
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(mono);
}

TEST(Blt, ColourSourceBecomesMonochromeByItsBackgroundColour) {
  Canvas src(8, 1);
  src.Fill(RGB(200, 10, 10));
  src.Pixel(2, 0) = 0x00123456;
  src.Pixel(5, 0) = 0x00123456;
  SetBkColor(src.Dc(), RGB(0x12, 0x34, 0x56));
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(memory, 8, 1);  // compatible with a fresh memory DC: monochrome
  BITMAP bm{};
  GetObject(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HGDIOBJ old = SelectObject(memory, mono);
  BitBlt(memory, 0, 0, 8, 1, src.Dc(), 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BYTE bits[2] = {0, 0};
  EXPECT_EQ(GetBitmapBits(mono, 2, bits), 2);
  EXPECT_EQ(bits[0], 0x24);  // pixels 2 and 5 matched the background: white
  DeleteDC(memory);
  DeleteObject(mono);
}

TEST(Blt, StretchNearestAndMirrored) {
  Canvas src(4, 1), dest(8, 1);
  const COLORREF colors[4] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0)};
  for (int x = 0; x < 4; ++x) SetPixel(src.Dc(), x, 0, colors[x]);
  SetStretchBltMode(dest.Dc(), COLORONCOLOR);
  StretchBlt(dest.Dc(), 0, 0, 8, 1, src.Dc(), 0, 0, 4, 1, SRCCOPY);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(dest.At(x, 0), colors[x / 2]) << x;
  // Negative destination width mirrors: origin is the rightmost pixel.
  StretchBlt(dest.Dc(), 7, 0, -8, 1, src.Dc(), 0, 0, 4, 1, SRCCOPY);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(dest.At(x, 0), colors[3 - x / 2]) << x;
  // Shrinking samples pixel centres.
  Canvas wide(8, 1), narrow(4, 1);
  for (int x = 0; x < 8; ++x) SetPixel(wide.Dc(), x, 0, Gray(x * 10));
  StretchBlt(narrow.Dc(), 0, 0, 4, 1, wide.Dc(), 0, 0, 8, 1, SRCCOPY);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(narrow.At(x, 0), Gray((2 * x + 1) * 10)) << x;
}

TEST(Blt, HalftoneAveragesTheCoveredPixels) {
  Canvas src(4, 2), dest(2, 1);
  const int values[2][4] = {{0, 100, 7, 9}, {50, 255, 30, 1}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(src.Dc(), x, y, RGB(values[y][x], 255 - values[y][x], 3));
  SetStretchBltMode(dest.Dc(), HALFTONE);
  StretchBlt(dest.Dc(), 0, 0, 2, 1, src.Dc(), 0, 0, 4, 2, SRCCOPY);
  for (int x = 0; x < 2; ++x) {
    int sum = values[0][2 * x] + values[0][2 * x + 1] + values[1][2 * x] + values[1][2 * x + 1];
    EXPECT_EQ(GetRValue(dest.At(x, 0)), (sum + 2) / 4) << x;
    EXPECT_EQ(GetGValue(dest.At(x, 0)), (4 * 255 - sum + 2) / 4) << x;
    EXPECT_EQ(GetBValue(dest.At(x, 0)), 3) << x;
  }
  // Enlarging by a whole factor repeats pixels exactly.
  Canvas big(8, 4);
  SetStretchBltMode(big.Dc(), HALFTONE);
  StretchBlt(big.Dc(), 0, 0, 8, 4, src.Dc(), 0, 0, 4, 2, SRCCOPY);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(big.At(x, y), src.At(x / 2, y / 2)) << x << "," << y;
}

int Mul(int a, int b) {
  return static_cast<int>(std::lround(a * b / 255.0));
}

TEST(Blt, AlphaBlendPremultipliedAndConstant) {
  struct Case {
    uint8_t r, g, b, a;  // premultiplied source
    uint8_t constant;
  };
  const Case cases[] = {{100, 50, 0, 128, 255},
                        {200, 200, 200, 255, 255},
                        {0, 0, 0, 0, 255},
                        {100, 50, 0, 128, 127},
                        {60, 90, 30, 200, 150}};
  for (const auto& c : cases) {
    Canvas dest(2, 2, RGB(40, 120, 240)), src(2, 2);
    src.Pixel(1, 1) = (static_cast<uint32_t>(c.a) << 24) | (c.r << 16) | (c.g << 8) | c.b;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, c.constant, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(dest.Dc(), 0, 0, 2, 2, src.Dc(), 0, 0, 2, 2, blend));
    int sa = Mul(c.a, c.constant);
    COLORREF expected =
        RGB(Mul(c.r, c.constant) + Mul(40, 255 - sa), Mul(c.g, c.constant) + Mul(120, 255 - sa),
            Mul(c.b, c.constant) + Mul(240, 255 - sa));
    EXPECT_EQ(dest.At(1, 1), expected) << int(c.a) << "/" << int(c.constant);
  }
  // Without per-pixel alpha only the constant counts.
  Canvas dest(1, 1, RGB(0, 100, 200)), src(1, 1, RGB(200, 100, 0));
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 64, 0};
  AlphaBlend(dest.Dc(), 0, 0, 1, 1, src.Dc(), 0, 0, 1, 1, blend);
  EXPECT_EQ(dest.At(0, 0),
            RGB(Mul(200, 64) + Mul(0, 191), Mul(100, 64) + Mul(100, 191), Mul(0, 64) + Mul(200, 191)));
  // A source rectangle outside the source fails.
  EXPECT_FALSE(AlphaBlend(dest.Dc(), 0, 0, 1, 1, src.Dc(), 0, 0, 2, 2, blend));
}

TEST(Blt, TransparentBltLeavesTheKeyColourOut) {
  Canvas src(3, 1), dest(6, 2, RGB(1, 1, 1));
  SetPixel(src.Dc(), 0, 0, RGB(255, 0, 255));
  SetPixel(src.Dc(), 1, 0, RGB(0, 255, 0));
  SetPixel(src.Dc(), 2, 0, RGB(255, 0, 255));
  TransparentBlt(dest.Dc(), 0, 0, 6, 2, src.Dc(), 0, 0, 3, 1, RGB(255, 0, 255));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dest.At(x, y), x / 2 == 1 ? RGB(0, 255, 0) : RGB(1, 1, 1)) << x;
}

TEST(Blt, OverlappingCopyWithinOneBitmap) {
  Canvas c(6, 1);
  for (int x = 0; x < 6; ++x) SetPixel(c.Dc(), x, 0, Gray(x * 40));
  BitBlt(c.Dc(), 1, 0, 5, 1, c.Dc(), 0, 0, SRCCOPY);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(c.At(x, 0), Gray((x - 1) * 40)) << x;
  // Spreading a mask onto itself with SRCAND darkens each black pixel's lower-right neighbour.
  Canvas m(3, 3);
  SetPixel(m.Dc(), 0, 0, 0);
  BitBlt(m.Dc(), 1, 1, 2, 2, m.Dc(), 0, 0, SRCAND);
  EXPECT_EQ(m.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(m.At(2, 2), RGB(255, 255, 255));
}

TEST(Blt, PatternBrushesFollowTheBrushOrigin) {
  // A monochrome 8x8 pattern: the left column set; rows are 16-bit words.
  WORD rows[8];
  for (WORD& r : rows) r = 0x0080;
  HBITMAP bits = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(bits);
  DeleteObject(bits);
  Canvas c(16, 2);
  SetTextColor(c.Dc(), RGB(255, 0, 0));
  SetBkColor(c.Dc(), RGB(0, 0, 255));
  SelectObject(c.Dc(), brush);
  PatBlt(c.Dc(), 0, 0, 16, 2, PATCOPY);
  // Set bits take the background colour, clear ones the text colour.
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(8, 1), RGB(0, 0, 255));
  SetBrushOrgEx(c.Dc(), 3, 0, nullptr);
  PatBlt(c.Dc(), 0, 0, 16, 2, PATCOPY);
  EXPECT_EQ(c.At(3, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  // 0xB8074A: the brush where the source is black, the destination where it is white.
  Canvas mask(4, 1);
  SetPixel(mask.Dc(), 1, 0, 0);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  SelectObject(c.Dc(), green);
  c.Fill(RGB(9, 9, 9));
  BitBlt(c.Dc(), 0, 0, 4, 1, mask.Dc(), 0, 0, 0x00B8074A);
  EXPECT_EQ(c.At(0, 0), RGB(9, 9, 9));
  EXPECT_EQ(c.At(1, 0), RGB(0, 255, 0));
  SelectObject(c.Dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
  DeleteObject(green);
}

TEST(Blt, HalftoneBrushInvertsEveryOtherPixel) {
  Canvas c(4, 2, RGB(0, 0, 0));
  SetTextColor(c.Dc(), RGB(0, 0, 0));
  SetBkColor(c.Dc(), RGB(255, 255, 255));
  SelectObject(c.Dc(), pictavo::gdi::HalftoneBrush());
  PatBlt(c.Dc(), 0, 0, 4, 2, PATINVERT);
  EXPECT_EQ(c.CountNot(RGB(0, 0, 0)), 4);
  EXPECT_NE(c.At(0, 0), c.At(1, 0));
  EXPECT_NE(c.At(0, 0), c.At(0, 1));
  PatBlt(c.Dc(), 0, 0, 4, 2, PATINVERT);
  EXPECT_EQ(c.CountNot(RGB(0, 0, 0)), 0);
  SelectObject(c.Dc(), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(pictavo::gdi::HalftoneBrush()));
  EXPECT_EQ(GetObjectType(pictavo::gdi::HalftoneBrush()), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(Blt, BlitsAreClippedToTheDestination) {
  Canvas src(4, 4, RGB(255, 0, 0)), dest(4, 4);
  IntersectClipRect(dest.Dc(), 1, 1, 3, 3);
  BitBlt(dest.Dc(), -2, -2, 8, 8, src.Dc(), -2, -2, SRCCOPY);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      bool in = x >= 1 && x < 3 && y >= 1 && y < 3;
      EXPECT_EQ(dest.At(x, y), in ? RGB(255, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
    }
}

}  // namespace
