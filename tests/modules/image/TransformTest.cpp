// Where pixels go when a picture is turned, flipped, cropped or resized.
#include <gtest/gtest.h>

#include "ImageFixtures.h"

using namespace imagetest;

namespace {

// A w x h picture whose pixel at (x, y), y from the top, is RGB(10 + 40x, 10 + 40y, 7).
CxImage Labelled(int w, int h) {
  CxImage image;
  image.Create(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.SetPixelColor(x, h - 1 - y, RGB(10 + 40 * x, 10 + 40 * y, 7));
  return image;
}

// The (x, y) label of the pixel at (x, y), y from the top.
std::pair<int, int> LabelAt(const CxImage& image, int x, int y) {
  const RGBQUAD c = image.GetPixelColor(x, static_cast<long>(image.GetHeight()) - 1 - y);
  return {(c.rgbRed - 10) / 40, (c.rgbGreen - 10) / 40};
}

RGBQUAD TopDown(const CxImage& image, int x, int y) {
  return image.GetPixelColor(x, static_cast<long>(image.GetHeight()) - 1 - y);
}

}  // namespace

TEST(ImageGeometry, QuarterTurnsMovePixelsWhereTheEyeExpects) {
  // 3 x 2 source: after a clockwise turn its left column is the top row, bottom pixel first.
  struct Case {
    const char* what;
    bool (CxImage::*turn)(CxImage*);
    DWORD width, height;
    std::pair<int, int> topLeft, topRight, bottomLeft;
  };
  const Case kCases[] = {
      {"right", &CxImage::RotateRight, 2, 3, {0, 1}, {0, 0}, {2, 1}},
      {"left", &CxImage::RotateLeft, 2, 3, {2, 0}, {2, 1}, {0, 0}},
      {"half", &CxImage::Rotate180, 3, 2, {2, 1}, {0, 1}, {2, 0}},
  };
  for (const Case& c : kCases) {
    CxImage image = Labelled(3, 2);
    image.AlphaCreate();
    image.AlphaSet(0, 1, 77);  // alpha of the top-left pixel travels with it
    ASSERT_TRUE((image.*c.turn)(nullptr)) << c.what;
    ASSERT_EQ(image.GetWidth(), c.width) << c.what;
    ASSERT_EQ(image.GetHeight(), c.height) << c.what;
    const int w = static_cast<int>(c.width), h = static_cast<int>(c.height);
    EXPECT_EQ(LabelAt(image, 0, 0), c.topLeft) << c.what;
    EXPECT_EQ(LabelAt(image, w - 1, 0), c.topRight) << c.what;
    EXPECT_EQ(LabelAt(image, 0, h - 1), c.bottomLeft) << c.what;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool wasTopLeft = LabelAt(image, x, y) == std::pair<int, int>{0, 0};
        EXPECT_EQ(image.AlphaGet(x, h - 1 - y), wasTopLeft ? 77 : 255) << c.what;
      }
  }
}

TEST(ImageGeometry, AnglesThatAreQuarterTurnsMatchThem) {
  const CxImage source = Labelled(5, 3);
  CxImage right(source), left(source), half(source);
  right.RotateRight();
  left.RotateLeft();
  half.Rotate180();
  struct Case {
    float angle;
    const CxImage* expected;
  };
  const Case kCases[] = {{90, &right}, {-270, &right}, {450, &right}, {-90, &left},  {270, &left},
                         {180, &half}, {-180, &half},  {0, &source},  {360, &source}};
  for (const Case& c : kCases) {
    CxImage turned;
    CxImage copy(source);
    ASSERT_TRUE(copy.Rotate(c.angle, &turned)) << c.angle;
    EXPECT_EQ(MaxDifference(turned, *c.expected), 0) << c.angle;
    EXPECT_EQ(MaxDifference(copy, source), 0) << c.angle << ": the source stays as it was";
  }
}

TEST(ImageGeometry, FreeAngleTurnsClockwiseOntoTheBackground) {
  // White 41 x 41 with a black mark above the centre.
  CxImage image;
  image.Create(41, 41, 24);
  image.Fill(RGB(255, 255, 255));
  for (int y = 2; y <= 6; ++y)
    for (int x = 18; x <= 22; ++x) image.SetPixelColor(x, 40 - y, RGB(0, 0, 0));
  image.SetBkColor(RGB(0, 0, 200));
  image.AlphaCreate();
  ASSERT_TRUE(image.Rotate(30));
  // The turned square needs 41 (cos 30 + sin 30) = 56 pixels each way.
  ASSERT_EQ(image.GetWidth(), 56u);
  ASSERT_EQ(image.GetHeight(), 56u);
  // The mark was 16 above the centre; turned 30 degrees clockwise it sits 8 right, 13.9 up.
  EXPECT_LT(TopDown(image, 36, 14).rgbRed, 60);
  EXPECT_GT(TopDown(image, 28, 28).rgbRed, 250);  // centre stays white
  for (auto [x, y] : {std::pair{0, 0}, {55, 0}, {0, 55}, {55, 55}}) {
    EXPECT_EQ(TopDown(image, x, y).rgbBlue, 200) << x << "," << y;
    EXPECT_EQ(TopDown(image, x, y).rgbRed, 0);
    EXPECT_EQ(image.AlphaGet(x, 55 - y), 0);
  }
  EXPECT_EQ(image.AlphaGet(28, 28), 255);
}

TEST(ImageGeometry, FlipMirrorAndCrop) {
  CxImage flipped = Labelled(3, 2);
  ASSERT_TRUE(flipped.Flip());
  EXPECT_EQ(LabelAt(flipped, 0, 0), std::pair(0, 1));
  EXPECT_EQ(LabelAt(flipped, 2, 1), std::pair(2, 0));

  CxImage mirrored = Labelled(3, 2);
  ASSERT_TRUE(mirrored.Mirror());
  EXPECT_EQ(LabelAt(mirrored, 0, 0), std::pair(2, 0));
  EXPECT_EQ(LabelAt(mirrored, 1, 1), std::pair(1, 1));

  struct Case {
    RECT rect;
    DWORD width, height;
    std::pair<int, int> topLeft;
  };
  const Case kCases[] = {
      {{1, 0, 3, 1}, 2, 1, {1, 0}},      // top row, right two
      {{0, 1, 1, 2}, 1, 1, {0, 1}},      // bottom-left pixel
      {{-5, -5, 99, 99}, 4, 3, {0, 0}},  // clipped to the picture
      {{2, 1, 4, 3}, 2, 2, {2, 1}},
  };
  for (const Case& c : kCases) {
    const CxImage source = Labelled(4, 3);
    CxImage crop;
    CxImage copy(source);
    ASSERT_TRUE(copy.Crop(c.rect, &crop));
    EXPECT_EQ(crop.GetWidth(), c.width);
    EXPECT_EQ(crop.GetHeight(), c.height);
    EXPECT_EQ(LabelAt(crop, 0, 0), c.topLeft);
    EXPECT_EQ(MaxDifference(copy, source), 0);
  }
  CxImage image = Labelled(4, 3);
  EXPECT_FALSE(image.Crop(2, 2, 2, 3));  // empty
  EXPECT_FALSE(image.Crop(5, 0, 9, 3));  // outside
  EXPECT_EQ(image.GetWidth(), 4u);
  ASSERT_TRUE(image.Crop(1, 1, 3, 2));
  EXPECT_EQ(LabelAt(image, 1, 0), std::pair(2, 1));
}

TEST(ImageResample, SizesForEveryMode) {
  struct Case {
    long w, h;
  };
  const Case kCases[] = {{10, 7}, {100, 50}, {37, 23}, {1, 1}, {200, 3}, {3, 200}};
  for (int mode : {CXIMAGE_RESAMPLE_BILINEAR, CXIMAGE_RESAMPLE_NEAREST, CXIMAGE_RESAMPLE_BICUBIC}) {
    for (const Case& c : kCases) {
      CxImage image = Gradient(37, 23, true);
      ASSERT_TRUE(image.Resample(c.w, c.h, mode)) << mode;
      EXPECT_EQ(image.GetWidth(), static_cast<DWORD>(c.w));
      EXPECT_EQ(image.GetHeight(), static_cast<DWORD>(c.h));
      EXPECT_EQ(image.GetEffWidth(), static_cast<DWORD>((c.w * 3 + 3) & ~3));
      EXPECT_TRUE(image.AlphaIsValid());
    }
    CxImage image = Gradient(8, 8);
    EXPECT_FALSE(image.Resample(0, 5, mode));
    EXPECT_FALSE(image.Resample(5, -1, mode));
    EXPECT_EQ(image.GetWidth(), 8u);
  }
  CxImage empty;
  EXPECT_FALSE(empty.Resample(4, 4));
}

TEST(ImageResample, FlatColourAndRampsSurviveEveryMode) {
  for (int mode : {CXIMAGE_RESAMPLE_BILINEAR, CXIMAGE_RESAMPLE_NEAREST, CXIMAGE_RESAMPLE_BICUBIC}) {
    for (auto [w, h] : {std::pair{13, 9}, {640, 360}, {1, 1}}) {
      CxImage flat;
      flat.Create(97, 61, 24);
      flat.Fill(RGB(12, 130, 251));
      CxImage out;
      ASSERT_TRUE(flat.Resample(w, h, mode, &out));
      EXPECT_EQ(flat.GetWidth(), 97u) << "the source is kept when a target is given";
      for (long y = 0; y < h; y += std::max(1, h / 5))
        for (long x = 0; x < w; x += std::max(1, w / 5)) {
          const RGBQUAD c = out.GetPixelColor(x, y);
          EXPECT_EQ(c.rgbRed, 12);
          EXPECT_EQ(c.rgbGreen, 130);
          EXPECT_EQ(c.rgbBlue, 251);
        }
    }
    // A left-to-right ramp stays a ramp from dark to bright.
    CxImage ramp = Gradient(200, 10);
    ASSERT_TRUE(ramp.Resample(50, 10, mode));
    int previous = -1;
    for (long x = 0; x < 50; ++x) {
      const int red = ramp.GetPixelColor(x, 5).rgbRed;
      EXPECT_GE(red, previous) << "mode " << mode << " x " << x;
      previous = red;
    }
    EXPECT_LE(ramp.GetPixelColor(0, 5).rgbRed, 6);
    EXPECT_GE(ramp.GetPixelColor(49, 5).rgbRed, 249);
  }
}

TEST(ImageResample, ShrinkingAveragesAndNearestPicks) {
  // One-pixel black and white checks: a filtered reduction is grey, the nearest one is not.
  CxImage checks;
  checks.Create(64, 64, 24);
  for (long y = 0; y < 64; ++y)
    for (long x = 0; x < 64; ++x) checks.SetPixelColor(x, y, (x + y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
  for (int mode : {CXIMAGE_RESAMPLE_BILINEAR, CXIMAGE_RESAMPLE_BICUBIC}) {
    CxImage out;
    ASSERT_TRUE(checks.Resample(8, 8, mode, &out));
    for (long y = 0; y < 8; ++y)
      for (long x = 0; x < 8; ++x) EXPECT_NEAR(out.GetPixelColor(x, y).rgbGreen, 128, 10) << mode;
  }
  CxImage nearest;
  ASSERT_TRUE(checks.Resample(8, 8, CXIMAGE_RESAMPLE_NEAREST, &nearest));
  const int g = nearest.GetPixelColor(3, 3).rgbGreen;
  EXPECT_TRUE(g == 0 || g == 255);

  // Enlarging by two with nearest repeats each pixel as a 2 x 2 block.
  const CxImage small = Labelled(3, 2);
  CxImage big;
  CxImage copy(small);
  ASSERT_TRUE(copy.Resample(6, 4, CXIMAGE_RESAMPLE_NEAREST, &big));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(LabelAt(big, x, y), LabelAt(small, x / 2, y / 2)) << x << "," << y;
}
