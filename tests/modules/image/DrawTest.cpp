// Pictures on device contexts: placement, stretching, clipping, alpha, and bitmaps both ways.
#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "platform/gdi/Gdi.h"
#include "tests/support/Canvas.h"

using namespace imagetest;

namespace {

using pictavo::test::Canvas;

// 2 x 2: red, green on the top row; blue, white below.
CxImage Quad() {
  CxImage image;
  image.Create(2, 2, 24);
  image.SetPixelColor(0, 1, RGB(255, 0, 0));
  image.SetPixelColor(1, 1, RGB(0, 255, 0));
  image.SetPixelColor(0, 0, RGB(0, 0, 255));
  image.SetPixelColor(1, 0, RGB(255, 255, 255));
  return image;
}

constexpr COLORREF kGrey = RGB(128, 128, 128);

}  // namespace

TEST(ImageDrawing, DrawPlacesTheTopRowOnTopAndStretches) {
  CxImage image = Quad();
  struct Case {
    long x, y, cx, cy;
    int px, py;  // a target pixel
    COLORREF expected;
  };
  const Case kCases[] = {
      {2, 1, -1, -1, 2, 1, RGB(255, 0, 0)},
      {2, 1, -1, -1, 3, 1, RGB(0, 255, 0)},
      {2, 1, -1, -1, 2, 2, RGB(0, 0, 255)},
      {2, 1, -1, -1, 3, 2, RGB(255, 255, 255)},
      {2, 1, -1, -1, 4, 1, kGrey},
      {2, 1, -1, -1, 1, 1, kGrey},
      {0, 0, 4, 4, 1, 1, RGB(255, 0, 0)},
      {0, 0, 4, 4, 2, 1, RGB(0, 255, 0)},  // doubled: 2 x 2 blocks
      {0, 0, 4, 4, 3, 3, RGB(255, 255, 255)},
      {0, 0, 4, 4, 4, 0, kGrey},
  };
  for (const Case& c : kCases) {
    Canvas canvas(8, 6, kGrey);
    EXPECT_EQ(image.Draw(canvas.Dc(), c.x, c.y, c.cx, c.cy), 1);
    EXPECT_EQ(canvas.At(c.px, c.py), c.expected)
        << c.x << "," << c.y << " " << c.cx << " at " << c.px << "," << c.py;
  }
  Canvas canvas(8, 6, kGrey);
  const RECT rect{4, 2, 6, 4};
  image.Draw(canvas.Dc(), rect);
  EXPECT_EQ(canvas.At(4, 2), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(5, 3), RGB(255, 255, 255));

  CxImage empty;
  EXPECT_EQ(empty.Draw(canvas.Dc()), 0);
  EXPECT_EQ(image.Draw(nullptr), 0);
}

TEST(ImageDrawing, ClipRectangleLimitsTheDrawing) {
  CxImage image;
  image.Create(6, 6, 24);
  image.Fill(RGB(0, 0, 0));
  Canvas canvas(8, 8, kGrey);
  RECT clip{2, 2, 4, 4};
  image.Draw(canvas.Dc(), 0, 0, -1, -1, &clip);
  EXPECT_EQ(canvas.At(2, 2), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(1, 2), kGrey);
  EXPECT_EQ(canvas.At(4, 3), kGrey);
  // The clip is the drawing's own: later drawing is not limited by it.
  image.Draw(canvas.Dc(), 0, 0);
  EXPECT_EQ(canvas.At(5, 5), RGB(0, 0, 0));
}

TEST(ImageDrawing, AlphaBlendsOverWhatIsThere) {
  CxImage image;
  image.Create(2, 1, 24);
  image.Fill(RGB(255, 0, 0));
  image.AlphaCreate();
  image.AlphaSet(0, 0, 0);    // transparent
  image.AlphaSet(1, 0, 128);  // half
  Canvas canvas(4, 2, RGB(0, 0, 255));
  ASSERT_EQ(image.Draw(canvas.Dc(), 0, 0), 1);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 255));
  const COLORREF half = canvas.At(1, 0);
  EXPECT_NEAR(GetRValue(half), 128, 2);
  EXPECT_NEAR(GetBValue(half), 127, 2);
  // Smooth and stretched still blends.
  Canvas wide(8, 2, RGB(0, 0, 255));
  ASSERT_EQ(image.Draw(wide.Dc(), 0, 0, 8, 2, nullptr, true), 1);
  EXPECT_EQ(wide.At(0, 0), RGB(0, 0, 255));
  EXPECT_GT(GetRValue(wide.At(7, 1)), 100);
}

TEST(ImageDrawing, StretchUsesTheRasterOperation) {
  CxImage image = Quad();
  Canvas canvas(4, 4, kGrey);
  EXPECT_EQ(image.Stretch(canvas.Dc(), 0, 0, 4, 4), 1);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(3, 3), RGB(255, 255, 255));
  const RECT rect{0, 0, 2, 2};
  image.Stretch(canvas.Dc(), rect, NOTSRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 255, 255));
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 0));
}

TEST(ImageDrawing, BitmapsBothWays) {
  const CxImage source = Gradient(13, 7);
  CxImage copy(source);
  HBITMAP bitmap = copy.MakeBitmap();
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObject(bitmap, sizeof(info), &info), 0);
  EXPECT_EQ(info.bmWidth, 13);
  EXPECT_EQ(info.bmHeight, 7);

  CxImage back;
  ASSERT_TRUE(back.CreateFromHBITMAP(bitmap));
  EXPECT_EQ(MaxDifference(back, source), 0);
  EXPECT_EQ(back.GetBits(0)[39], 0);  // padding

  // What is drawn into the bitmap comes back: fill it through a DC, then read it.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  RECT all{0, 0, 13, 7};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, previous);
  DeleteDC(dc);
  ASSERT_TRUE(back.CreateFromHBITMAP(bitmap));
  EXPECT_EQ(back.GetPixelColor(12, 6).rgbRed, 10);
  EXPECT_EQ(back.GetPixelColor(0, 0).rgbBlue, 30);
  DeleteObject(bitmap);

  EXPECT_FALSE(back.CreateFromHBITMAP(nullptr));
  EXPECT_FALSE(back.IsValid());
  CxImage empty;
  EXPECT_EQ(empty.MakeBitmap(), nullptr);
}
