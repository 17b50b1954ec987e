#include <cmath>
#include <cstring>
#include <cwchar>

#include "tests/platform/gdiplus/GdiplusTestSupport.h"

using namespace Gdiplus;

namespace {

class Text : public GdiplusTest {};

constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST_F(Text, FamiliesResolveOrFailClearly) {
  FontFamily arial(L"Arial");
  EXPECT_EQ(arial.GetLastStatus(), Ok);
  EXPECT_TRUE(arial.IsAvailable());
  WCHAR name[LF_FACESIZE];
  arial.GetFamilyName(name);
  EXPECT_STREQ(name, L"Arial");
  EXPECT_GT(arial.GetLineSpacing(FontStyleRegular), arial.GetCellAscent(FontStyleRegular));
  EXPECT_GT(arial.GetEmHeight(FontStyleRegular), 0);

  FontFamily missing(L"No Such Face Anywhere");
  EXPECT_EQ(missing.GetLastStatus(), FontFamilyNotFound);
  EXPECT_FALSE(missing.IsAvailable());
  // The title falls back to the generic family then.
  const FontFamily* sans = FontFamily::GenericSansSerif();
  ASSERT_NE(sans, nullptr);
  EXPECT_TRUE(sans->IsAvailable());
  Font font(sans, 10, FontStyleBold, UnitPoint);
  EXPECT_EQ(font.GetLastStatus(), Ok);
}

TEST_F(Text, FontSizesFollowTheirUnits) {
  FontFamily arial(L"Arial");
  double spacing =
      static_cast<double>(arial.GetLineSpacing(FontStyleBold)) / arial.GetEmHeight(FontStyleBold);
  Font points(&arial, 10, FontStyleBold, UnitPoint);
  EXPECT_NEAR(points.GetHeight(96.0f), 10 * 96 / 72.0 * spacing, 0.01);
  Font pixels(&arial, 20, FontStyleRegular, UnitPixel);
  EXPECT_NEAR(pixels.GetHeight(96.0f), 20 * spacing, 0.01);
  // From a LOGFONT: a negative height is the em height in pixels.
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(120, 96, 72);
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = TRUE;
  lf.lfCharSet = 1;
  std::strcpy(lf.lfFaceName, "Arial");
  Canvas canvas(4, 4);
  Font sample(canvas.Dc(), &lf);
  ASSERT_EQ(sample.GetLastStatus(), Ok);
  EXPECT_FLOAT_EQ(sample.GetSize(), 160);
  EXPECT_EQ(sample.GetStyle(), FontStyleBold | FontStyleItalic);
}

TEST_F(Text, MeasureMatchesWhatIsDrawn) {
  Canvas canvas(200, 60);
  Graphics g(canvas.Dc());
  Font font(L"Arial", 10, FontStyleBold);
  RectF box;
  ASSERT_EQ(g.MeasureString(L"Options", -1, &font, PointF(18, 4), &box), Ok);
  EXPECT_FLOAT_EQ(box.X, 18);
  EXPECT_FLOAT_EQ(box.Y, 4);
  EXPECT_NEAR(box.Height, font.GetHeight(&g), 0.01);
  // A default format pads a sixth of the em on each side; the typographic one does not.
  RectF tight;
  g.MeasureString(L"Options", -1, &font, PointF(0, 0), StringFormat::GenericTypographic(), &tight);
  EXPECT_NEAR(box.Width - tight.Width, 2 * (10 * 96 / 72.0) / 6, 0.01);
  SolidBrush black(Color::Black);
  ASSERT_EQ(g.DrawString(L"Options", -1, &font, PointF(18, 4), &black), Ok);
  Ink ink = InkOf(canvas);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.left, 18);
  EXPECT_GE(ink.top, 4);
  EXPECT_LE(ink.right, std::ceil(box.GetRight()) + 1);
  EXPECT_LE(ink.bottom, std::ceil(box.GetBottom()));
  EXPECT_GT(ink.right - ink.left, tight.Width * 0.8);
}

TEST_F(Text, AlignmentPlacesTextInTheLayoutRectangle) {
  struct Case {
    StringAlignment align, lineAlign;
    double wantX, wantY;  // where the ink's centre lies, as a share of the rectangle
  };
  const Case cases[] = {{StringAlignmentNear, StringAlignmentNear, 0.15, 0.2},
                        {StringAlignmentCenter, StringAlignmentCenter, 0.5, 0.5},
                        {StringAlignmentFar, StringAlignmentFar, 0.85, 0.8}};
  const RectF layout(20, 10, 160, 60);
  Font font(L"Arial", 12, FontStyleRegular, UnitPixel);
  SolidBrush black(Color::Black);
  double previous = -1;
  for (const auto& c : cases) {
    Canvas canvas(200, 80);
    Graphics g(canvas.Dc());
    StringFormat format;
    format.SetAlignment(c.align);
    format.SetLineAlignment(c.lineAlign);
    ASSERT_EQ(g.DrawString(L"Title", -1, &font, layout, &format, &black), Ok);
    Ink ink = InkOf(canvas);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, layout.X);
    EXPECT_GE(ink.top, layout.Y);
    EXPECT_LE(ink.right, layout.GetRight());
    EXPECT_LE(ink.bottom, layout.GetBottom());
    EXPECT_GT(ink.CentreX(), previous);
    previous = ink.CentreX();
    if (c.align == StringAlignmentCenter) {
      EXPECT_NEAR(ink.CentreX(), layout.X + layout.Width / 2, 3);
      EXPECT_NEAR(ink.CentreY(), layout.Y + layout.Height / 2, 4);
    }
    RectF box;
    g.MeasureString(L"Title", -1, &font, layout, &format, &box);
    EXPECT_GE(box.X, layout.X);
    EXPECT_LE(box.GetRight(), layout.GetRight() + 0.01);
    switch (c.align) {
      case StringAlignmentNear:
        EXPECT_FLOAT_EQ(box.X, layout.X);
        break;
      case StringAlignmentCenter:
        EXPECT_NEAR(box.X + box.Width / 2, layout.X + layout.Width / 2, 0.01);
        break;
      case StringAlignmentFar:
        EXPECT_NEAR(box.GetRight(), layout.GetRight(), 0.01);
        break;
    }
  }
}

TEST_F(Text, LongTextWrapsAndIsCutToTheRectangle) {
  Canvas canvas(200, 200);
  Graphics g(canvas.Dc());
  Font font(L"Arial", 12, FontStyleRegular, UnitPixel);
  const WCHAR* text = L"one two three four five six seven eight nine ten";
  INT fitted = 0, lines = 0;
  RectF box;
  ASSERT_EQ(g.MeasureString(text, -1, &font, RectF(10, 10, 80, 0), nullptr, &box, &fitted, &lines), Ok);
  EXPECT_GT(lines, 2);
  EXPECT_EQ(fitted, static_cast<INT>(std::wcslen(text)));
  EXPECT_LE(box.Width, 80);
  double lineHeight = font.GetHeight(&g);
  EXPECT_NEAR(box.Height, lines * lineHeight, 0.01);
  // Two whole lines' room: only those lines, the rest counted as not fitted.
  StringFormat format(StringFormatFlagsLineLimit);
  format.SetTrimming(StringTrimmingEllipsisWord);
  RectF two(10, 10, 80, static_cast<REAL>(2 * lineHeight + 1));
  ASSERT_EQ(g.MeasureString(text, -1, &font, two, &format, &box, &fitted, &lines), Ok);
  EXPECT_EQ(lines, 2);
  EXPECT_LT(fitted, static_cast<INT>(std::wcslen(text)));
  SolidBrush black(Color::Black);
  ASSERT_EQ(g.DrawString(text, -1, &font, two, &format, &black), Ok);
  Ink ink = InkOf(canvas);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 90);
  EXPECT_LE(ink.bottom, two.GetBottom());
  // A single line that does not fit ends in an ellipsis.
  StringFormat oneLine(StringFormatFlagsNoWrap);
  oneLine.SetTrimming(StringTrimmingEllipsisCharacter);
  RectF narrow(0, 0, 60, 20);
  g.MeasureString(text, -1, &font, narrow, &oneLine, &box, &fitted, &lines);
  EXPECT_EQ(lines, 1);
  EXPECT_LE(box.Width, 60);
}

TEST_F(Text, BrushesFillTheGlyphs) {
  Canvas canvas(120, 50);
  Graphics g(canvas.Dc());
  Font font(L"Arial", 36, FontStyleBold, UnitPixel);
  // A translucent black shadow, then white text over it one pixel up and left.
  SolidBrush shadow(Color(200, 0, 0, 0));
  g.DrawString(L"H", -1, &font, PointF(18, 4), &shadow);
  Ink ink = InkOf(canvas);
  ASSERT_FALSE(ink.Empty());
  COLORREF inside = canvas.At(ink.left + 2, (ink.top + ink.bottom) / 2);
  EXPECT_TRUE(Near(inside, RGB(55, 55, 55), 2)) << std::hex << inside;
  // A vertical gradient over the glyph: darker at its top than at its bottom.
  canvas.Fill(kWhite);
  LinearGradientBrush gradient(RectF(0, ink.top, 120, ink.bottom - ink.top), Color::Black,
                               Color(255, 200, 200, 200), LinearGradientModeVertical);
  g.DrawString(L"H", -1, &font, PointF(18, 4), &gradient);
  int stem = ink.left + 2;
  EXPECT_LT(GetRValue(canvas.At(stem, ink.top + 2)), GetRValue(canvas.At(stem, ink.bottom - 3)));
}

TEST_F(Text, StringPathsOutlineTheGlyphs) {
  FontFamily arial(L"Arial");
  GraphicsPath path;
  ASSERT_EQ(path.AddString(L"AB", -1, &arial, FontStyleRegular, 40, PointF(5, 5), nullptr), Ok);
  EXPECT_GT(path.GetPointCount(), 20);
  RectF bounds;
  path.GetBounds(&bounds);
  EXPECT_GT(bounds.X, 5);
  EXPECT_GT(bounds.Width, 40);
  EXPECT_LT(bounds.Width, 80);
  Canvas canvas(100, 60);
  Graphics g(canvas.Dc());
  SolidBrush black(Color::Black);
  ASSERT_EQ(g.FillPath(&black, &path), Ok);
  Ink ink = InkOf(canvas);
  ASSERT_FALSE(ink.Empty());
  EXPECT_NEAR(ink.left, bounds.X, 1.5);
  EXPECT_NEAR(ink.right, bounds.GetRight(), 1.5);
  EXPECT_NEAR(ink.top, bounds.Y, 1.5);
}

TEST_F(Text, ScaledGraphicsDrawSmallerText) {
  // The style list draws a large sample into a bitmap through a 0.2667 scale.
  FontFamily arial(L"Arial");
  Font font(&arial, 160, FontStyleBold, UnitPixel);
  Bitmap sample(120, 120, PixelFormat32bppARGB);
  Graphics g(&sample);
  g.ScaleTransform(0.26666668f, 0.26666668f);
  SolidBrush black(Color::Black);
  ASSERT_EQ(g.DrawString(L"A", -1, &font, PointF(10, 10), &black), Ok);
  g.ResetTransform();
  int left = 1 << 20, right = -1;
  for (INT y = 0; y < 120; ++y)
    for (INT x = 0; x < 120; ++x) {
      Color c;
      sample.GetPixel(x, y, &c);
      if (c.GetA() > 128)
        left = std::min(left, static_cast<int>(x)), right = std::max(right, static_cast<int>(x));
    }
  ASSERT_GE(right, 0);
  // An "A" is about two thirds of an em wide: 160 x 0.2667 x 0.67, some 28 pixels.
  EXPECT_NEAR(right - left + 1, 160 * 0.26666668 * 0.67, 6);
}

}  // namespace
