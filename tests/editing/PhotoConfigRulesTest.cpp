#include "editing/PhotoConfigRules.h"

#include <gtest/gtest.h>

using namespace photo_config;

TEST(PhotoConfigRules, ListedPhotosFollowTheSubsetOfTwoOrMore) {
  struct Case {
    std::vector<UINT> subset;
    int count;
    std::vector<int> rows;
  };
  const Case kCases[] = {
      {{}, 3, {0, 1, 2}},  {{2}, 4, {0, 1, 2, 3}},
      {{4, 1}, 6, {4, 1}}, {{1, 9, 0}, 3, {1, 0}},  // an index past the album is left out
      {{}, 0, {}},         {{0xFFFFFFFFu, 1}, 2, {1}},
  };
  for (const Case& c : kCases) EXPECT_EQ(ListedAlbumIndexes(c.subset, c.count), c.rows) << c.count;
}

TEST(PhotoConfigRules, TabOpenedAndStored) {
  struct Case {
    int start;
    BOOL remembered;
    int value;
    int tab;
  };
  const Case kCases[] = {{1, TRUE, 3, 0},  {0, TRUE, 3, 3},  {0, TRUE, 7, 2}, {0, TRUE, -1, 0},
                         {0, TRUE, -7, 0}, {0, FALSE, 4, 0}, {0, TRUE, 0, 0}, {0, TRUE, 4, 4}};
  for (const Case& c : kCases) EXPECT_EQ(StartTab(c.start, c.remembered, c.value), c.tab) << c.value;
  EXPECT_EQ(StoredTab(3, 5), 3);
  EXPECT_EQ(StoredTab(-1, 5), 0);  // nothing shown yet
  EXPECT_EQ(StoredTab(2, 0), 0);
}

TEST(PhotoConfigRules, NavigationButtonsFollowTheFirstSelectedRow) {
  struct Case {
    BOOL ready;
    int first, listed;
    const char* on;  // buttons 0..6
  };
  const Case kCases[] = {
      {TRUE, 0, 5, "0011111"},  {TRUE, 2, 5, "1111111"}, {TRUE, 4, 5, "1100111"},
      {TRUE, -1, 5, "1111111"}, {TRUE, 0, 1, "0011111"}, {FALSE, 2, 5, "0000000"},
  };
  for (const Case& c : kCases) {
    const auto states = NavButtonStates(c.ready, c.first, c.listed);
    std::string got;
    for (BOOL on : states) got += on ? '1' : '0';
    EXPECT_EQ(got, c.on) << c.first << "/" << c.listed;
  }
}

TEST(PhotoConfigRules, NavigationTargetsAndBeeps) {
  struct Case {
    int button, first, rows, target;
  };
  const Case kCases[] = {
      {0, 3, 5, 0},   {3, 1, 5, 4},   {1, 3, 5, 2},  {2, 3, 5, 4},  {2, 4, 5, -1},  {1, 0, 5, -1},
      {1, -1, 5, -1}, {2, -1, 5, -1}, {0, -1, 5, 0}, {0, 0, 0, -1}, {3, -1, 0, -1}, {4, 1, 5, -1},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(NavigationTarget(c.button, c.first, c.rows), c.target) << c.button << " from " << c.first;
}

TEST(PhotoConfigRules, PreviewSlideFindsItsRowInASubset) {
  const std::vector<int> subset = {4, 1, 7};
  EXPECT_EQ(RowOfAlbumIndex(subset, 7), 2);
  EXPECT_EQ(RowOfAlbumIndex(subset, 1), 1);
  EXPECT_EQ(RowOfAlbumIndex(subset, 2), -1);  // a slide outside the subset selects nothing
  EXPECT_EQ(RowOfAlbumIndex({0, 1, 2}, 2), 2);
  EXPECT_EQ(RowOfAlbumIndex({0, 1, 2}, -1), -1);
}
