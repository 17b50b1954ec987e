#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "modules/yuv/FrameComposer.h"
#include "modules/yuv/StreamFormat.h"

using pictavo::yuv::CenteredPlacement;
using pictavo::yuv::Fraction;
using pictavo::yuv::Placement;

TEST(StreamFormat, FrameRatesAreExactFractions) {
  struct Case {
    double fps;
    Fraction want;
  };
  const Case kCases[] = {
      {25, {25, 1}},           {30, {30, 1}},          {29.97, {30000, 1001}},  {29.970, {30000, 1001}},
      {23.976, {24000, 1001}}, {59.94, {60000, 1001}}, {14.985, {15000, 1001}}, {12.5, {25, 2}},
      {7.25, {29, 4}},         {0.5, {1, 2}},          {1000, {1000, 1}},
  };
  for (const auto& c : kCases) {
    const auto got = pictavo::yuv::FrameRateFraction(c.fps);
    ASSERT_TRUE(got) << c.fps;
    EXPECT_EQ(got->num, c.want.num) << c.fps;
    EXPECT_EQ(got->den, c.want.den) << c.fps;
  }
}

TEST(StreamFormat, RatesOutsideTheRangeAreRefused) {
  for (double fps : {0.0, -25.0, 1000.5, 0.0001, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()})
    EXPECT_FALSE(pictavo::yuv::FrameRateFraction(fps)) << fps;
}

TEST(StreamFormat, TelevisionPixelsFillA43Screen) {
  struct Case {
    int width, height;
    Fraction want;
  };
  const Case kCases[] = {
      {720, 576, {16, 15}}, {720, 480, {8, 9}},   {704, 576, {12, 11}}, {704, 480, {10, 11}},
      {352, 288, {12, 11}}, {352, 240, {10, 11}}, {640, 480, {1, 1}},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(pictavo::yuv::PixelAspectOn43Screen(c.width, c.height), c.want) << c.width << "x" << c.height;
}

TEST(StreamFormat, HeaderNamesSizeRateAspectAndChromaPlacement) {
  EXPECT_EQ(pictavo::yuv::StreamHeader({1280, 720, {30000, 1001}, {1, 1}}),
            "YUV4MPEG2 W1280 H720 F30000:1001 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n");
  EXPECT_EQ(pictavo::yuv::StreamHeader({720, 576, {25, 1}, {16, 15}}),
            "YUV4MPEG2 W720 H576 F25:1 Ip A16:15 C420jpeg XCOLORRANGE=LIMITED\n");
}

TEST(FramePlacement, SmallerPicturesAreCentredLargerOnesKeepTheirMiddle) {
  struct Case {
    int pictureW, pictureH, frameW, frameH;
    Placement want;  // source x, y; target x, y; width, height
  };
  const Case kCases[] = {
      {64, 48, 64, 48, {0, 0, 0, 0, 64, 48}},       {32, 16, 64, 48, {0, 0, 16, 16, 32, 16}},
      {30, 20, 64, 48, {0, 0, 16, 14, 30, 20}},  // 17 rounds down to an even column
      {720, 480, 718, 480, {1, 0, 0, 0, 718, 480}}, {100, 100, 50, 40, {25, 30, 0, 0, 50, 40}},
      {100, 20, 50, 40, {25, 0, 0, 10, 50, 20}},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(CenteredPlacement(c.pictureW, c.pictureH, c.frameW, c.frameH), c.want)
        << c.pictureW << "x" << c.pictureH << " in " << c.frameW << "x" << c.frameH;
}
