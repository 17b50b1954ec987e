// The capacity scale: where its ticks, labels, limit line and fills fall for a width and a size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/DiscCapacityGauge.h"

namespace {

std::vector<std::string> Labels(const DiscGaugeGeometry& g, BOOL bDvd) {
  std::vector<std::string> labels;
  for (int i = 0; i <= 8; ++i)
    if (i % g.labelEvery == 0 && i % 2 == 0)
      labels.emplace_back(CDiscCapacityGauge::ScaleLabel(bDvd, i).GetString());
  return labels;
}

TEST(DiscCapacityGauge, NarrowScalesLabelOnlyTheEndsAndTheMiddle) {
  struct Case {
    int clientWidth;
    BOOL dvd;
    std::vector<std::string> labels;
  };
  const Case kCases[] = {
      {164, TRUE, {"0 MB", "2.4 G", "4.8 G"}},
      {165, TRUE, {"0 MB", "1.2 G", "2.4 G", "3.6 G", "4.8 G"}},
      {400, FALSE, {"0 MB", "200 M", "400 M", "600 M", "800 M"}},
      {100, FALSE, {"0 MB", "400 M", "800 M"}},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(Labels(CDiscCapacityGauge::Measure(CRect(0, 0, c.clientWidth, 40), c.dvd, 0), c.dvd), c.labels)
        << c.clientWidth;
}

TEST(DiscCapacityGauge, FillsGreenUpToTheLimitAndRedBeyond) {
  // Client 404 x 40: the scale runs from x 2 to 402 (W = 400), rows 0 to 28.
  const CRect client(0, 0, 404, 40);
  struct Case {
    BOOL dvd;
    int value;
    int greenRight, redLeft, redRight;  // 0 for none
  };
  const Case kCases[] = {
      {TRUE, 0, 0, 0, 0},
      {TRUE, -5, 0, 0, 0},
      {TRUE, 2400, 2 + 200, 0, 0},
      {TRUE, 4700, 2 + 392, 0, 0},                  // 4700 x 400 / 4800 = 391.67, rounded
      {TRUE, 6000, 2 + 392, 2 + 392, 2 + 400 - 2},  // taken as 4800: red from the line to the end
      {FALSE, 740, 2 + 370, 0, 0},
      {FALSE, 800, 2 + 370, 2 + 370, 2 + 400 - 2},
      {FALSE, 5000, 2 + 370, 2 + 370, 2 + 400 - 2},
  };
  for (const Case& c : kCases) {
    const DiscGaugeGeometry g = CDiscCapacityGauge::Measure(client, c.dvd, c.value);
    EXPECT_EQ(g.scale, CRect(2, 0, 402, 28));
    if (c.greenRight == 0) {
      EXPECT_LE(g.greenRight, g.greenLeft) << c.value;
    } else {
      EXPECT_EQ(g.greenLeft, 3) << c.value;
      EXPECT_EQ(g.greenRight, c.greenRight) << c.value;
    }
    EXPECT_EQ(g.redLeft, c.redLeft) << c.value;
    EXPECT_EQ(g.redRight, c.redRight) << c.value;
  }
  EXPECT_EQ(CDiscCapacityGauge::Measure(client, TRUE, 0).limitX, 2 + 392);   // 4700 of 4800
  EXPECT_EQ(CDiscCapacityGauge::Measure(client, FALSE, 0).limitX, 2 + 370);  // 740 of 800
}

TEST(DiscCapacityGauge, TicksAreEvenAndTheLastSitsOnTheScalesEnd) {
  const DiscGaugeGeometry g = CDiscCapacityGauge::Measure(CRect(0, 0, 404, 40), TRUE, 0);
  EXPECT_EQ(g.majorStep, 50);
  EXPECT_EQ(CDiscCapacityGauge::MajorTickX(g, 0), 2);
  EXPECT_EQ(CDiscCapacityGauge::MajorTickX(g, 4), 202);
  EXPECT_EQ(CDiscCapacityGauge::MajorTickX(g, 8), 401);
}

}  // namespace
