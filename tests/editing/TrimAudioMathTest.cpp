// The trim dialog's arithmetic: bar percents, trim points and times, in 64 bits.
#include <gtest/gtest.h>

#include <string>

#include "editing/TrimAudioMath.h"

namespace {

using trim_math::Selection;

TEST(TrimAudioMath, BarTimesAndText) {
  EXPECT_EQ(trim_math::PercentOf(50000, 200000), 25);
  EXPECT_EQ(trim_math::PercentOf(50000, 0), 0);
  EXPECT_EQ(trim_math::PercentOf(599999, 600000), 99);
  EXPECT_EQ(trim_math::TimeAtPercent(200000, 33), 66000);
  // Ten minutes: 600,000 ms is 6,000,000,000 units, past 32 bits.
  EXPECT_EQ(trim_math::TimeAtPercent(600000, 90), 540000);
  EXPECT_EQ(trim_math::PositionAtPercent(600000LL * 10000, 90), 5400000000LL);
  struct Text {
    int64_t units;
    const char* text;
  };
  const Text kTexts[] = {{500000000, "00:50.00"},
                         {0, "00:00.00"},
                         {12345 * 10000LL, "00:12.34"},
                         {6000000000LL, "10:00.00"},
                         {65000000000LL, "108:20.00"}};
  for (const Text& t : kTexts) EXPECT_EQ(std::string(trim_math::FormatPosition(t.units).GetString()), t.text);
}

TEST(TrimAudioMath, TrimPointsStayInOrder) {
  struct Case {
    const char* name;
    Selection got, want;
  };
  const Case kCases[] = {
      {"as recorded", trim_math::InitialSelection(50000, 150000, 200000), {50000, 150000}},
      {"negative points open as 0 and the length", trim_math::InitialSelection(-5, -1, 200000), {0, 200000}},
      {"an end before the start opens as the length",
       trim_math::InitialSelection(9000, 3000, 200000),
       {9000, 200000}},
      {"start past the end moves the end to the clip's end",
       trim_math::WithStart({10000, 20000}, 30000, 200000),
       {30000, 200000}},
      {"end before the start moves the start to the beginning",
       trim_math::WithEnd({50000, 150000}, 40000, 200000),
       {0, 40000}},
      {"a start inside the range keeps the end",
       trim_math::WithStart({0, 150000}, 66000, 200000),
       {66000, 150000}},
  };
  for (const Case& c : kCases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(TrimAudioMath, GoToButtonsGoFurtherTheSecondTime) {
  EXPECT_EQ(trim_math::GoToStart(60, 50000, 200000), 25);
  EXPECT_EQ(trim_math::GoToStart(25, 50000, 200000), 0);
  EXPECT_EQ(trim_math::GoToEnd(10, 150000, 200000), 75);
  EXPECT_EQ(trim_math::GoToEnd(75, 150000, 200000), 100);
}

}  // namespace
