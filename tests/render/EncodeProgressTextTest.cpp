#include <gtest/gtest.h>

#include <string>

#include "render/EncodeProgressText.h"

namespace {

std::string S(const CString& text) {
  return static_cast<LPCTSTR>(text);
}

TEST(EncodeProgressText, Durations) {
  const struct {
    ULONGLONG seconds;
    const char* duration;
    const char* remaining;
  } cases[] = {
      {0, " 0m:00s", " 0m:00s"},
      {90, " 1m:30s", " 1m:30s"},  // 2,250 frames at 25 per second
      {3599, "59m:59s", "59m:59s"},
      {3600, " 1h:00m:00s", "1h:00m:00s"},
      {36000 + 61, "10h:01m:01s", "10h:01m:01s"},
      {ULONGLONG{400} * 3600, "400h:00m:00s", "400h:00m:00s"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(S(encode_text::Duration(c.seconds)), c.duration) << c.seconds;
    EXPECT_EQ(S(encode_text::Remaining(c.seconds)), c.remaining) << c.seconds;
  }
}

TEST(EncodeProgressText, FileSizesInKilobytesWithThousandsSeparated) {
  const struct {
    ULONGLONG bytes;
    const char* text;
  } cases[] = {
      {0, "0 KB"},
      {1023, "0 KB"},
      {1024000, "1000 KB"},
      {1025024, "1,001 KB"},
      {1048576, "1,024 KB"},
      {2000000000, "1,953,125 KB"},
      {ULONGLONG{6} << 30, "6,291,456 KB"},  // past 4 GB
  };
  for (const auto& c : cases) EXPECT_EQ(S(encode_text::FileSize(c.bytes)), c.text) << c.bytes;
}

TEST(EncodeProgressText, PercentagesAreTruncatedAndCapped) {
  const struct {
    ULONGLONG done;
    ULONGLONG total;
    const char* text;
  } cases[] = {
      {250, 1000, "25.00%"},
      {999, 1000, "99.90%"},
      {1000, 1000, "100.00%"},
      {1500, 1000, "100.00%"},
      {0, 1000, " 0.00%"},
      {1, 3, "33.33%"},
      // Ten hours at 60 frames per second: far past what 32-bit arithmetic takes times 10000.
      {1080000, 2160000, "50.00%"},
      {ULONGLONG{1} << 40, ULONGLONG{1} << 41, "50.00%"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(S(encode_text::PercentText(encode_text::PercentOf(c.done, c.total))), c.text)
        << c.done << " of " << c.total;
}

TEST(EncodeProgressText, RemainingTimeFollowsTheShareDone) {
  EXPECT_EQ(encode_text::RemainingMs(25, 60000), 180000u);
  EXPECT_EQ(encode_text::RemainingMs(100, 60000), 0u);
  EXPECT_EQ(encode_text::RemainingMs(0, 60000), 0u);  // nothing done: no estimate
}

}  // namespace
