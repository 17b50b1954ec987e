// The box filter and border replication against straightforward reference versions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "modules/files/BoxFilter.h"

namespace {

// A three-channel picture with rows padded to `step` bytes.
struct Picture {
  int width, height, step;
  std::vector<Ipp8u> pixels;
  Picture(int w, int h, int padding = 0)
      : width(w), height(h), step(w * 3 + padding), pixels(size_t(step) * h) {}
  Ipp8u* Row(int y) { return pixels.data() + size_t(y) * step; }
  const Ipp8u* Row(int y) const { return pixels.data() + size_t(y) * step; }
  Ipp8u& At(int x, int y, int c) { return Row(y)[x * 3 + c]; }
  Ipp8u At(int x, int y, int c) const { return Row(y)[x * 3 + c]; }
};

Picture RandomPicture(int w, int h, int padding, unsigned seed) {
  Picture p(w, h, padding);
  std::mt19937 random(seed);
  for (auto& b : p.pixels) b = static_cast<Ipp8u>(random());
  return p;
}

Ipp8u ReferenceMean(const Picture& src, int x0, int y0, IppiSize mask, IppiPoint anchor, int c) {
  unsigned sum = 0;
  for (int j = 0; j < mask.height; ++j)
    for (int i = 0; i < mask.width; ++i) sum += src.At(x0 - anchor.x + i, y0 - anchor.y + j, c);
  const unsigned area = unsigned(mask.width * mask.height);
  return static_cast<Ipp8u>((sum + area / 2) / area);
}

Ipp8u ReferenceBorder(const Picture& src, int x, int y, int top, int left, int c) {
  return src.At(std::clamp(x - left, 0, src.width - 1), std::clamp(y - top, 0, src.height - 1), c);
}

}  // namespace

TEST(BoxFilter, MatchesTheMeanOfEveryBlock) {
  struct Case {
    int width, height;
    IppiSize mask;
    IppiPoint anchor;
  };
  const Case kCases[] = {
      {17, 11, {3, 3}, {1, 1}}, {40, 23, {5, 5}, {2, 2}}, {64, 48, {7, 7}, {3, 3}}, {9, 13, {1, 1}, {0, 0}},
      {30, 20, {4, 2}, {0, 1}}, {25, 31, {6, 9}, {5, 8}}, {1, 1, {3, 3}, {1, 1}},
  };
  unsigned seed = 1;
  for (const auto& c : kCases) {
    // A source with the margin the mask reads around the region, rows padded.
    const int marginX = c.mask.width, marginY = c.mask.height;
    const Picture src = RandomPicture(c.width + 2 * marginX, c.height + 2 * marginY, 5, seed++);
    Picture dst(c.width, c.height, 3);
    const Ipp8u* origin = src.Row(marginY) + marginX * 3;
    ASSERT_EQ(Zorv_ippiFilterBox_8u_C3R(origin, src.step, dst.pixels.data(), dst.step, {c.width, c.height},
                                        c.mask, c.anchor),
              ippStsNoErr);
    int wrong = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        for (int ch = 0; ch < 3; ++ch)
          wrong += dst.At(x, y, ch) != ReferenceMean(src, x + marginX, y + marginY, c.mask, c.anchor, ch);
    EXPECT_EQ(wrong, 0) << c.width << "x" << c.height << " mask " << c.mask.width << "x" << c.mask.height;
  }
}

TEST(BoxFilter, BottomUpRowsWithANegativeStep) {
  const Picture src = RandomPicture(20, 16, 0, 99);
  Picture up(14, 10), down(14, 10);
  const IppiSize mask{5, 5};
  const IppiPoint anchor{2, 2};
  // The same region walked from its top row downwards, and from its bottom row upwards.
  ASSERT_EQ(Zorv_ippiFilterBox_8u_C3R(src.Row(3) + 9, src.step, down.pixels.data(), down.step, {14, 10}, mask,
                                      anchor),
            ippStsNoErr);
  ASSERT_EQ(
      Zorv_ippiFilterBox_8u_C3R(src.Row(12) + 9, -src.step, up.Row(9), -up.step, {14, 10}, mask, anchor),
      ippStsNoErr);
  EXPECT_EQ(up.pixels, down.pixels);
}

TEST(BoxFilter, BadArgumentsAreRefused) {
  Picture src(8, 8), dst(8, 8);
  struct Case {
    const Ipp8u* source;
    int srcStep;
    IppiSize roi, mask;
    IppiPoint anchor;
    IppStatus want;
  };
  const Case kCases[] = {
      {nullptr, 24, {4, 4}, {3, 3}, {1, 1}, ippStsNullPtrErr},
      {src.Row(2) + 6, 24, {0, 4}, {3, 3}, {1, 1}, ippStsSizeErr},
      {src.Row(2) + 6, 24, {4, 4}, {0, 3}, {0, 1}, ippStsMaskSizeErr},
      {src.Row(2) + 6, 24, {4, 4}, {3, 3}, {3, 1}, ippStsAnchorErr},
      {src.Row(2) + 6, 24, {4, 4}, {3, 3}, {-1, 1}, ippStsAnchorErr},
      {src.Row(2) + 6, 12, {4, 4}, {3, 3}, {1, 1}, ippStsStepErr},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(
        Zorv_ippiFilterBox_8u_C3R(c.source, c.srcStep, dst.pixels.data(), dst.step, c.roi, c.mask, c.anchor),
        c.want);
}

TEST(ReplicateBorder, EdgePixelsFillEverySide) {
  struct Case {
    int srcW, srcH, dstW, dstH, top, left;
  };
  const Case kCases[] = {
      {10, 7, 16, 13, 3, 3}, {5, 5, 5, 5, 0, 0},   {1, 1, 7, 7, 3, 3},
      {12, 9, 15, 14, 0, 2}, {8, 6, 10, 11, 5, 0},
  };
  unsigned seed = 7;
  for (const auto& c : kCases) {
    const Picture src = RandomPicture(c.srcW, c.srcH, 2, seed++);
    Picture dst(c.dstW, c.dstH, 1);
    ASSERT_EQ(
        Zorv_ippiCopyReplicateBorder_8u_C3R(src.pixels.data(), src.step, {c.srcW, c.srcH}, dst.pixels.data(),
                                            dst.step, {c.dstW, c.dstH}, c.top, c.left),
        ippStsNoErr);
    int wrong = 0;
    for (int y = 0; y < c.dstH; ++y)
      for (int x = 0; x < c.dstW; ++x)
        for (int ch = 0; ch < 3; ++ch)
          wrong += dst.At(x, y, ch) != ReferenceBorder(src, x, y, c.top, c.left, ch);
    EXPECT_EQ(wrong, 0) << c.srcW << "x" << c.srcH << " in " << c.dstW << "x" << c.dstH;
    // The padding bytes after each row are not touched.
    for (int y = 0; y < c.dstH; ++y) EXPECT_EQ(dst.Row(y)[c.dstW * 3], 0) << y;
  }
}

TEST(ReplicateBorder, TooSmallADestinationIsRefused) {
  Picture src(8, 8), dst(10, 10);
  EXPECT_EQ(Zorv_ippiCopyReplicateBorder_8u_C3R(src.pixels.data(), src.step, {8, 8}, dst.pixels.data(),
                                                dst.step, {10, 10}, 3, 1),
            ippStsSizeErr);
  EXPECT_EQ(Zorv_ippiCopyReplicateBorder_8u_C3R(src.pixels.data(), src.step, {8, 8}, dst.pixels.data(),
                                                dst.step, {10, 10}, 1, -1),
            ippStsSizeErr);
  EXPECT_EQ(Zorv_ippiCopyReplicateBorder_8u_C3R(nullptr, src.step, {8, 8}, dst.pixels.data(), dst.step,
                                                {10, 10}, 1, 1),
            ippStsNullPtrErr);
  EXPECT_EQ(Zorv_ippiCopyReplicateBorder_8u_C3R(src.pixels.data(), 10, {8, 8}, dst.pixels.data(), dst.step,
                                                {10, 10}, 1, 1),
            ippStsStepErr);
}

// The still-picture smoothing: border by replication, then the box filter over the interior.
TEST(ReplicateBorder, ThenBoxFilterSmoothsAWholePicture) {
  const Picture photo = RandomPicture(33, 21, 0, 5);
  const int n = 5, half = n / 2;
  Picture bordered(33 + 2 * half, 21 + 2 * half);
  ASSERT_EQ(
      Zorv_ippiCopyReplicateBorder_8u_C3R(photo.pixels.data(), photo.step, {33, 21}, bordered.pixels.data(),
                                          bordered.step, {bordered.width, bordered.height}, half, half),
      ippStsNoErr);
  Picture smooth(33, 21);
  ASSERT_EQ(Zorv_ippiFilterBox_8u_C3R(bordered.Row(half) + half * 3, bordered.step, smooth.pixels.data(),
                                      smooth.step, {33, 21}, {n, n}, {half, half}),
            ippStsNoErr);
  // A corner pixel averages the replicated edge.
  unsigned sum = 0;
  for (int j = -half; j <= half; ++j)
    for (int i = -half; i <= half; ++i) sum += photo.At(std::max(i, 0), std::max(j, 0), 1);
  EXPECT_EQ(smooth.At(0, 0, 1), (sum + 12) / 25);
}
