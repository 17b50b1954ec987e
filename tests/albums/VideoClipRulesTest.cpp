// The clip page's texts: sizes, durations, resolutions, ranges and the names refused files are
// reported by.
#include <gtest/gtest.h>

#include "albums/VideoClipRules.h"

TEST(VideoClipRules, SizesInWholeKilobytesGroupedByThousands) {
  struct Case {
    uint64_t bytes;
    const char* text;
  };
  const Case cases[] = {
      {0, "0 KB"},
      {1, "1 KB"},
      {1024, "1 KB"},
      {1025, "2 KB"},
      {1'500'000, "1,465 KB"},
      {1'023'999, "1,000 KB"},
      {2'147'483'648ull, "2,097,152 KB"},  // past 2 GB
      {5'000'000'000ull, "4,882,813 KB"},  // past 4 GB
  };
  for (const Case& c : cases) EXPECT_STREQ(ClipSizeText(c.bytes), c.text) << c.bytes;
}

TEST(VideoClipRules, DurationsAreTheEndMinusTheStart) {
  struct Case {
    DWORD start, end;
    const char* text;
  };
  const Case cases[] = {
      {5'000, 67'500, "00:01:02"}, {0, 6'000, "00:00:06"},     {0, 3'725'000, "01:02:05"},
      {0, 999, "00:00:00"},        {7'000, 5'000, "00:00:00"},  // a range that ends before it starts plays
                                                                // nothing
      {0, 36'000'000, "10:00:00"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(ClipDurationText(c.start, c.end), c.text) << c.start << "-" << c.end;
  EXPECT_STREQ(ClipRangeText(5'000, 67'500), "00:00:05 ->  00:01:07");
}

TEST(VideoClipRules, ResolutionsNameTheTvSystemOnlyWithTheFlag) {
  struct Case {
    int w, h;
    BOOL tv;
    const char* text;
  };
  const Case cases[] = {
      {720, 576, TRUE, "720 x 576 (PAL)"},  {720, 576, FALSE, "720 x 576"},
      {720, 480, TRUE, "720 x 480 (NTSC)"}, {1920, 1080, TRUE, "1920 x 1080"},
      {640, 360, FALSE, "640 x 360"},       {0, 0, FALSE, "0 x 0"},
  };
  for (const Case& c : cases) EXPECT_STREQ(ClipResolutionText(c.w, c.h, c.tv), c.text) << c.text;
}

TEST(VideoClipRules, NamesAndFoldersOfClipPaths) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
  };
  const Case cases[] = {
      {"/v/Clip.MOV", "Clip.MOV", "/v"},
      {"C:\\Movies\\a b.mp4", "a b.mp4", "C:\\Movies"},
      {"clip.mp4", "clip.mp4", ""},
      {"/clip.mp4", "clip.mp4", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    CString name, folder;
    SplitClipPath(c.path, &name, &folder);
    EXPECT_STREQ(name, c.name) << c.path;
    EXPECT_STREQ(folder, c.folder) << c.path;
    EXPECT_STREQ(VideoFileDisplayName(c.path), c.name) << c.path;
  }
  EXPECT_STREQ(ClipNumberText(1), "0001");
  EXPECT_STREQ(ClipNumberText(12345), "12345");
}
