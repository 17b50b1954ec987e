// The file browser panel's rules as tables: which entries become rows, where the parent-folder
// row leads, the size column for any size, the remembered sort column, the menu's check marks,
// the name of an album a drop makes and the auto-scroll bands.
#include <gtest/gtest.h>

#include "albums/ExploreBarRules.h"
#include "controls/ListSortCompare.h"
#include "platform/comctl/ListView.h"

namespace {

TEST(ExploreBarRules, EntriesBecomeFolderPhotoOrMusicRowsOrNothing) {
  struct Case {
    const char* name;
    BOOL folder, hidden;
    int kind;
  };
  const Case kCases[] = {
      {"a.JPG", FALSE, FALSE, BROWSER_ROW_PHOTO},   {"b.mp3", FALSE, FALSE, BROWSER_ROW_MUSIC},
      {"c.txt", FALSE, FALSE, BROWSER_ROW_NONE},    {".d.jpg", FALSE, TRUE, BROWSER_ROW_NONE},
      {"x.jp", FALSE, FALSE, BROWSER_ROW_NONE},     {"no dot", FALSE, FALSE, BROWSER_ROW_NONE},
      {"Trip", TRUE, FALSE, BROWSER_ROW_FOLDER},    {"holiday.jpg", TRUE, FALSE, BROWSER_ROW_FOLDER},
      {".cache", TRUE, TRUE, BROWSER_ROW_NONE},     {"song.WAV", FALSE, FALSE, BROWSER_ROW_MUSIC},
      {"clip.mp4", FALSE, FALSE, BROWSER_ROW_NONE}, {".", TRUE, FALSE, BROWSER_ROW_NONE},
      {"..", TRUE, FALSE, BROWSER_ROW_NONE},
  };
  for (const Case& c : kCases) EXPECT_EQ(BrowserRowKindOf(c.name, c.folder, c.hidden), c.kind) << c.name;
}

TEST(ExploreBarRules, TheParentRowLeadsUpExceptAtTheRoot) {
  struct Case {
    const char* folder;
    const char* parent;
  };
  const Case kCases[] = {
      {"/home/u/Pictures", "/home/u/"},
      {"/home/u/Pictures/", "/home/u/"},
      {"/home", "/"},
      {"/", ""},
      {"", ""},
      {"Pictures", ""},
      {"/media/usb", "/media/"},
  };
  for (const Case& c : kCases) EXPECT_STREQ(ParentFolderRowPath(c.folder), c.parent) << c.folder;
  EXPECT_TRUE(IsParentFolderRowPath("/home/u/"));
  EXPECT_FALSE(IsParentFolderRowPath("/home/u/Trip"));
}

TEST(ExploreBarRules, SizesAreWholeKilobytesRoundedUpForFilesOfAnySize) {
  struct Case {
    ULONGLONG bytes;
    const char* text;
  };
  const Case kCases[] = {
      {0, "0 KB"},
      {1, "1 KB"},
      {1024, "1 KB"},
      {1025, "2 KB"},
      {1048577, "1,025 KB"},
      {2147483647ull, "2,097,152 KB"},
      {2147483648ull, "2,097,152 KB"},  // past what a signed 32-bit size holds
      {3221225473ull, "3,145,729 KB"},  // 3 GiB and one byte
      {5000000000000ull, "4,882,812,500 KB"},
  };
  for (const Case& c : kCases) EXPECT_STREQ(BrowserSizeText(c.bytes), c.text) << c.bytes;
}

TEST(ExploreBarRules, TheStoredSortColumnWrapsAndANegativeOneSortsByName) {
  struct Case {
    int stored, column;
  };
  const Case kCases[] = {{0, 0}, {5, 5}, {6, 0}, {7, 1}, {-1, 0}, {-7, 0}, {-6, 0}, {13, 1}};
  for (const Case& c : kCases) EXPECT_EQ(SortColumnFromSetting(c.stored), c.column) << c.stored;
}

TEST(ExploreBarRules, SortKindsAndCommandsFollowTheColumn) {
  struct Case {
    int column;
    int kind;
    UINT command;
  };
  const Case kCases[] = {
      {0, LIST_SORT_TEXT, 32930},  {1, LIST_SORT_LENGTH, 32932}, {2, LIST_SORT_TEXT_NOCASE, 32931},
      {3, LIST_SORT_TEXT, 32933},  {4, LIST_SORT_TEXT, 33920},   {5, LIST_SORT_TEXT, 33921},
      {-1, LIST_SORT_TEXT, 32930}, {9, LIST_SORT_TEXT, 32930},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(SortKindForColumn(c.column), c.kind) << c.column;
    EXPECT_EQ(SortCommandForColumn(c.column), c.command) << c.column;
    if (c.column >= 0 && c.column < BROWSER_COLUMN_COUNT)
      EXPECT_EQ(SortColumnForCommand(c.command), c.column);
  }
  EXPECT_EQ(SortColumnForCommand(32819), -1);
}

TEST(ExploreBarRules, TheCheckedViewIsThumbnailsElseTheListStyle) {
  struct Case {
    BOOL thumbnails;
    DWORD style;
    UINT command;
  };
  const Case kCases[] = {
      {TRUE, LVS_ICON, 32819},
      {TRUE, LVS_REPORT, 32819},
      {FALSE, LVS_REPORT, 32818},
      {FALSE, LVS_ICON, 32927},
      {FALSE, LVS_LIST, 32817},
      {FALSE, LVS_SMALLICON, 32928},
      {FALSE, LVS_REPORT | LVS_SHOWSELALWAYS, 32818},
  };
  for (const Case& c : kCases) EXPECT_EQ(ViewCommandFor(c.thumbnails, c.style), c.command) << c.style;
}

TEST(ExploreBarRules, ADroppedSelectionNamesItsAlbumAfterTheFolder) {
  struct Case {
    const char* firstPath;
    int selected;
    BOOL folder;
    const char* name;
  };
  const Case kCases[] = {
      {"/Trips/Rome/a.jpg", 3, FALSE, "Rome"},       // photos: their folder
      {"/Trips/Rome", 1, TRUE, "Rome"},              // one folder: its own name
      {"/Trips/Rome/", 1, TRUE, "Rome"},             // with a trailing separator
      {"/Trips/Rome", 2, TRUE, "Trips"},             // a folder among others: the folder holding it
      {"C:\\Trips\\Rome\\a.jpg", 1, FALSE, "Rome"},  // either separator
      {"/a.jpg", 1, FALSE, ""},                      // photos of the root
      {"", 1, FALSE, ""},                            // a music row
  };
  for (const Case& c : kCases)
    EXPECT_STREQ(DropAlbumName(c.firstPath, c.selected, c.folder), c.name)
        << c.firstPath << " " << c.selected;
}

TEST(ExploreBarRules, AListScrollsOnlyWhileThePointerIsInItsTopOrBottomBand) {
  const RECT client{0, 0, 300, 200};
  struct Case {
    int y;
    int direction;
  };
  const Case kCases[] = {{-20, 1}, {0, 1},   {5, 1},   {11, 1},  {12, 0},
                         {100, 0}, {188, 0}, {189, 2}, {195, 2}, {260, 2}};
  for (const Case& c : kCases) EXPECT_EQ(DragScrollDirection(client, POINT{150, c.y}), c.direction) << c.y;
}

}  // namespace
