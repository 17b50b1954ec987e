// Brightness, contrast, gamma, colour balance and automatic levels, value by value.
#include <gtest/gtest.h>

#include "ImageFixtures.h"

using namespace imagetest;

namespace {

// One pixel of grey level `v`, adjusted by `adjust`; returns the new (red, green, blue).
template <typename Adjust>
std::array<int, 3> AfterAdjusting(BYTE v, Adjust adjust) {
  CxImage image;
  image.Create(1, 1, 24);
  image.SetPixelColor(0, 0, RGB(v, v, v));
  EXPECT_TRUE(adjust(image));
  const RGBQUAD c = image.GetPixelColor(0, 0);
  return {c.rgbRed, c.rgbGreen, c.rgbBlue};
}

}  // namespace

TEST(ImageColour, BrightnessAndContrast) {
  struct Case {
    long brightness, contrast;
    BYTE in, out;
  };
  const Case kCases[] = {
      {0, 0, 100, 100},   {50, 0, 100, 150},   {50, 0, 230, 255}, {-255, 0, 255, 0}, {255, 0, 0, 255},
      {0, 100, 100, 72},  {0, 100, 200, 255},  {0, 50, 200, 236}, {0, -100, 0, 128}, {0, -100, 255, 128},
      {0, -50, 228, 178}, {20, 100, 128, 148}, {0, 400, 100, 72},  // contrast beyond 100 counts as 100
  };
  for (const Case& c : kCases) {
    const auto out = AfterAdjusting(c.in, [&](CxImage& i) { return i.Light(c.brightness, c.contrast); });
    EXPECT_EQ(out[0], c.out) << c.brightness << "/" << c.contrast << " on " << int(c.in);
    EXPECT_EQ(out[1], c.out);
    EXPECT_EQ(out[2], c.out);
  }
}

TEST(ImageColour, GammaAndColourBalance) {
  struct GammaCase {
    float gamma;
    BYTE in, out;
  };
  const GammaCase kGamma[] = {
      {1.0f, 77, 77}, {2.0f, 64, 128}, {0.5f, 128, 64}, {3.0f, 0, 0}, {3.0f, 255, 255}};
  for (const GammaCase& c : kGamma)
    EXPECT_EQ(AfterAdjusting(c.in, [&](CxImage& i) { return i.Gamma(c.gamma); })[1], c.out) << c.gamma;

  const auto shifted = AfterAdjusting(100, [](CxImage& i) { return i.ShiftRGB(10, -120, 300); });
  EXPECT_EQ(shifted, (std::array<int, 3>{110, 0, 255}));

  CxImage image = Gradient(4, 4);
  EXPECT_FALSE(image.Gamma(0.0f));
  EXPECT_FALSE(image.Gamma(-1.0f));
  CxImage empty;
  EXPECT_FALSE(empty.Light(10));
  EXPECT_FALSE(empty.ShiftRGB(1, 1, 1));
  EXPECT_FALSE(empty.HistogramStretch());
}

TEST(ImageColour, AutomaticLevelsStretchADullPicture) {
  // Grey levels 60 to 160 across the picture.
  CxImage dull;
  dull.Create(101, 20, 24);
  for (long x = 0; x < 101; ++x)
    for (long y = 0; y < 20; ++y) dull.SetPixelColor(x, y, RGB(60 + x, 60 + x, 60 + x));
  ASSERT_TRUE(dull.HistogramStretch());
  EXPECT_EQ(dull.GetPixelColor(0, 0).rgbRed, 0);
  EXPECT_EQ(dull.GetPixelColor(100, 0).rgbRed, 255);
  EXPECT_NEAR(dull.GetPixelColor(50, 0).rgbRed, 128, 2);

  CxImage flat;
  flat.Create(10, 10, 24);
  flat.Fill(RGB(90, 90, 90));
  ASSERT_TRUE(flat.HistogramStretch());
  EXPECT_EQ(flat.GetPixelColor(5, 5).rgbRed, 90);  // nothing to stretch
}
