#include "toolkit/core/PlxDrawHelper.h"

#include <gtest/gtest.h>

#include "tests/support/Canvas.h"
#include "toolkit/core/PlxGlobalData.h"

using pictavo::test::Canvas;

namespace {

// The helper draws on a CDC; the canvas gives it a memory DC.
struct Target {
  explicit Target(Canvas& canvas) { dc.Attach(canvas.Dc()); }
  ~Target() { dc.Detach(); }
  CDC dc;
};

// Keeps the global highlight colour for one test.
struct HighlightColour {
  explicit HighlightColour(COLORREF color) : saved(g_plxGlobalData.clrBtnHilite) {
    g_plxGlobalData.clrBtnHilite = color;
  }
  ~HighlightColour() { g_plxGlobalData.clrBtnHilite = saved; }
  COLORREF saved;
};

}  // namespace

TEST(PlxDrawHelperColours, Arithmetic) {
  struct Case {
    const char* what;
    COLORREF got, want;
  };
  const Case cases[] = {
      {"scale 50", CPlxDrawHelper::ScaleColor(RGB(200, 101, 3), 50), RGB(100, 50, 1)},
      {"scale caps", CPlxDrawHelper::ScaleColor(RGB(200, 100, 0), 150), RGB(255, 150, 0)},
      {"channels lift black", CPlxDrawHelper::ScaleColorChannels(RGB(0, 128, 255), 1.5, 1.5, 1.5),
       RGB(128, 192, 255)},
      {"channels darken", CPlxDrawHelper::ScaleColorChannels(RGB(0, 100, 201), 0.5, 0.5, 0.5),
       RGB(0, 50, 101)},
      {"blend 75", CPlxDrawHelper::BlendColors(RGB(200, 0, 100), RGB(0, 200, 100), 75), RGB(150, 50, 100)},
      {"blend 0", CPlxDrawHelper::BlendColors(RGB(200, 0, 100), RGB(1, 2, 3), 0), RGB(1, 2, 3)},
      {"hls grey", CPlxDrawHelper::HLStoRGB(0.3, 0.5, 0), RGB(127, 127, 127)},
      {"hls red", CPlxDrawHelper::HLStoRGB(0, 0.5, 1), RGB(255, 0, 0)},
      {"hls360 green", CPlxDrawHelper::HLStoRGB360(120, 0.5, 1), RGB(0, 255, 0)},
      {"hls360 grey", CPlxDrawHelper::HLStoRGB360(40, 1.0, 0), RGB(255, 255, 255)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

  // Saturated colours survive the trip through hue, saturation and lightness.
  for (COLORREF color : {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0)}) {
    double h = 0, s = 0, l = 0;
    CPlxDrawHelper::RGBtoHSL(color, &h, &s, &l);
    EXPECT_EQ(CPlxDrawHelper::HLStoRGB(h, l, s), color) << std::hex << color;
  }
  double h = 1, s = 1, l = 0;
  CPlxDrawHelper::RGBtoHSL(RGB(51, 51, 51), &h, &s, &l);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(s, 0);
  EXPECT_DOUBLE_EQ(l, 0.2);
}

TEST(PlxDrawHelperEffects, HighlightAndGrey) {
  Canvas canvas(8, 4, RGB(0, 0, 0));
  Target target(canvas);
  CPlxDrawHelper helper(&target.dc);
  HighlightColour white(RGB(255, 255, 255));

  EXPECT_TRUE(helper.HighlightRect(CRect(0, 0, 8, 4), 100));
  EXPECT_EQ(canvas.CountNot(RGB(0, 0, 0)), 0);
  EXPECT_TRUE(helper.HighlightRect(CRect(0, 0, 4, 4)));
  EXPECT_EQ(canvas.At(0, 0), RGB(85, 85, 85));
  EXPECT_EQ(canvas.At(4, 0), RGB(0, 0, 0));
  // The transparent colour is left alone.
  EXPECT_TRUE(helper.HighlightRect(CRect(0, 0, 8, 4), 150, RGB(0, 0, 0)));
  EXPECT_EQ(canvas.At(4, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(0, 0), RGB(128, 128, 128));
  // A blend colour with more than 100% is refused.
  EXPECT_FALSE(helper.HighlightRect(CRect(0, 0, 8, 4), 120, (COLORREF)-1, 0, RGB(255, 0, 0)));
  EXPECT_TRUE(helper.HighlightRect(CRect(4, 0, 8, 4), 50, (COLORREF)-1, 0, RGB(255, 0, 0)));
  EXPECT_EQ(canvas.At(4, 0), RGB(128, 0, 0));  // MulDiv rounds

  canvas.Fill(RGB(255, 0, 0));
  EXPECT_TRUE(helper.GrayRect(CRect(0, 0, 8, 4), -1, (COLORREF)-1, RGB(0, 0, 0)));
  EXPECT_EQ(canvas.At(3, 3), RGB(64, 64, 64));  // grey 127 half way to black
}

TEST(PlxDrawHelperEffects, MirrorAndGradient) {
  Canvas canvas(4, 4, RGB(255, 255, 255));
  Target target(canvas);
  CPlxDrawHelper helper(&target.dc);
  for (int y = 0; y < 4; ++y) canvas.Pixel(0, y) = 0x000000FF * (y + 1);
  helper.MirrorRect(CRect(0, 0, 4, 4), FALSE);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(canvas.Pixel(0, y) & 0xFFFFFF, 0x000000FFu * (4 - y)) << y;
  helper.MirrorRect(CRect(0, 0, 4, 4), TRUE);
  EXPECT_EQ(canvas.Pixel(3, 0) & 0xFFFFFF, 0x000000FFu * 4);
  // Partly outside the DC: left alone.
  helper.MirrorRect(CRect(0, 0, 8, 4), TRUE);
  EXPECT_EQ(canvas.Pixel(3, 0) & 0xFFFFFF, 0x000000FFu * 4);

  Canvas bar(10, 64, RGB(1, 1, 1));
  Target barTarget(bar);
  CPlxDrawHelper barHelper(&barTarget.dc);
  // 60% and then half of the remaining 40%: only the two flat bands.
  barHelper.FillGradient(CRect(0, 0, 10, 64), RGB(0, 0, 0), RGB(255, 255, 255), TRUE, 60, 50);
  EXPECT_EQ(bar.At(5, 0), RGB(255, 255, 255));
  EXPECT_EQ(bar.At(5, 37), RGB(255, 255, 255));
  EXPECT_EQ(bar.At(5, 63), RGB(0, 0, 0));
  EXPECT_EQ(bar.At(5, 51), RGB(0, 0, 0));
  EXPECT_EQ(bar.At(5, 40), RGB(1, 1, 1));
  // A full gradient: start at the bottom, finish at the top.
  barHelper.FillGradient(CRect(0, 0, 10, 64), RGB(0, 0, 0), RGB(252, 252, 252));
  EXPECT_EQ(bar.At(5, 63), RGB(0, 0, 0));
  EXPECT_EQ(bar.At(5, 0), RGB(248, 248, 248));
}

TEST(PlxDrawHelperEffects, ShadowRampsSaveAndRestore) {
  Canvas canvas(40, 30, RGB(200, 200, 200));
  Target target(canvas);
  CPlxDrawHelper helper(&target.dc);
  CBitmap bottom, side;
  ASSERT_TRUE(helper.DrawShadow(CRect(5, 5, 25, 20), 6, 100, 65, &bottom, &side));
  // Darkest next to the rectangle (65%), lighter outward by 5% a layer; the soft ends start at 95%.
  const COLORREF grey = RGB(200, 200, 200);
  struct Probe {
    int x, y, percent;
  };
  const Probe probes[] = {
      {25, 17, 65}, {26, 17, 70}, {30, 17, 90}, {31, 17, 100},  // side edge
      {20, 19, 65}, {20, 20, 70}, {20, 24, 90}, {20, 25, 100},  // bottom edge, from the last row
      {25, 10, 95}, {25, 9, 100}, {15, 19, 75}, {15, 10, 100},  // soft ends; inside
  };
  for (const Probe& p : probes)
    EXPECT_EQ(canvas.At(p.x, p.y), CPlxDrawHelper::ScaleColor(grey, p.percent)) << p.x << "," << p.y;
  ASSERT_NE(bottom.GetSafeHandle(), nullptr);
  ASSERT_NE(side.GetSafeHandle(), nullptr);

  // Drawing back the saved bitmaps over a plain background restores the shadow outside the
  // rectangle (whose last row the owner's border covers).
  const auto shadowed = canvas.Pixels();
  canvas.Fill(grey);
  ASSERT_TRUE(helper.DrawShadow(CRect(5, 5, 25, 20), 6, 100, 65, &bottom, &side));
  const auto restored = canvas.Pixels();
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if (!CRect(5, 5, 25, 20).PtInRect(CPoint(x, y)))
        EXPECT_EQ(restored[y * 40 + x], shadowed[y * 40 + x]) << x << "," << y;
}

TEST(PlxDrawHelperEffects, ShadowOfARectangleSmallerThanItsDepthStaysInItsArea) {
  for (BOOL right : {TRUE, FALSE}) {
    Canvas canvas(30, 30, RGB(200, 200, 200));
    Target target(canvas);
    CPlxDrawHelper helper(&target.dc);
    ASSERT_TRUE(helper.DrawShadow(CRect(12, 12, 14, 14), 8, 100, 50, nullptr, nullptr, right));
    const int areaLeft = right ? 12 : 4;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) {
        const bool inArea = x >= areaLeft && x < areaLeft + 10 && y >= 12 && y < 22;
        if (!inArea) EXPECT_EQ(canvas.At(x, y), RGB(200, 200, 200)) << x << "," << y;
      }
  }
}
