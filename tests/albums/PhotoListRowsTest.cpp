#include <gtest/gtest.h>

#include "albums/PhotoListRows.h"
#include "modules/data/DVDAlbumImage.h"
#include "platform/comctl/CommCtrl.h"

namespace {

TEST(PhotoListRowsTest, RowTexts) {
  EXPECT_EQ(PhotoRowNumberText(0), "0001");
  EXPECT_EQ(PhotoRowNumberText(1233), "1234");
  struct Size {
    unsigned long long bytes;
    const char* text;
  } const sizes[] = {{0, "0 KB"},
                     {1, "1 KB"},
                     {1024, "1 KB"},
                     {1025, "2 KB"},
                     {1048576, "1,024 KB"},
                     {1263616, "1,234 KB"},
                     {4294967295ULL, "4,194,304 KB"},  // no wrap-around near 4 GB
                     {999 * 1024, "999 KB"},
                     {1000 * 1024, "1,000 KB"}};
  for (const Size& s : sizes) EXPECT_EQ(PhotoSizeText(s.bytes), s.text) << s.bytes;
  EXPECT_EQ(PhotoDimensionsText(640, 480), "  640 x 480");
  EXPECT_EQ(PhotoDimensionsText(12345, 8000), "12345 x 8000");
  EXPECT_EQ(PhotoDimensionsText(123456, 8), "123456 x 8");
}

TEST(PhotoListRowsTest, PathSplitsAtTheLastSeparatorAndKeepsItsCase) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
  } const cases[] = {
      {"/home/Ann/Photos/IMG_01.JPG", "IMG_01.JPG", "/home/Ann/Photos"},
      {"C:\\Pics\\Beach.jpg", "Beach.jpg", "C:\\Pics"},
      {"media\\Sub/Mixed.Png", "Mixed.Png", "media\\Sub"},
      {"NoFolder.jpg", "", "NoFolder.jpg"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    CString name, folder;
    SplitPhotoPath(c.path, &name, &folder);
    EXPECT_EQ(name, c.name) << c.path;
    EXPECT_EQ(folder, c.folder) << c.path;
  }
}

TEST(PhotoListRowsTest, DropMovesOrCopiesWithinTheListAndHandsAlbumDropsToTheEditor) {
  const HWND photos = reinterpret_cast<HWND>(0x10), albums = reinterpret_cast<HWND>(0x20),
             other = reinterpret_cast<HWND>(0x30);
  struct Case {
    HWND source, target;
    PhotoDropAction action;
  } const cases[] = {
      {photos, photos, PhotoDropAction::kMoveInList}, {photos, albums, PhotoDropAction::kToAlbumList},
      {photos, other, PhotoDropAction::kNone},        {photos, nullptr, PhotoDropAction::kNone},
      {other, photos, PhotoDropAction::kNone},  // not a slide drag
      {nullptr, albums, PhotoDropAction::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(DecidePhotoDrop(c.source, c.target, photos, albums), c.action);
  EXPECT_TRUE(IsCopyDrop(MK_CONTROL | MK_LBUTTON));
  EXPECT_FALSE(IsCopyDrop(MK_LBUTTON | MK_SHIFT));
}

TEST(PhotoListRowsTest, CurrentSlideFollowsTheSelection) {
  CDVDImage a, b;
  struct Case {
    CDVDImage* current;
    CDVDImage* row;
    UINT before, after;
    CDVDImage* expected;
  } const cases[] = {
      {nullptr, &a, 0, LVIS_SELECTED, &a},
      {&b, &a, 0, LVIS_SELECTED | LVIS_FOCUSED, &a},
      {&a, &a, LVIS_SELECTED, 0, nullptr},
      {&a, &b, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED, &a},  // focus only
      {&a, &b, 0, LVIS_FOCUSED, &a},
  };
  for (const Case& c : cases) EXPECT_EQ(TrackCurrentSlide(c.current, c.row, c.before, c.after), c.expected);
}

TEST(PhotoListRowsTest, RemovingSlidesNeverLeavesTheCurrentSlideDangling) {
  CDVDAlbumImage album;
  CDVDImage* slides[4];
  for (CDVDImage*& slide : slides) {
    slide = new CDVDImage(&album);
    album.AddDVDImage(slide);
  }
  album.m_pCurImage = slides[2];
  CDVDImageArray removed;
  removed.Add(slides[1]);
  removed.Add(slides[2]);
  ASSERT_TRUE(album.RemoveDVDImage(removed));
  EXPECT_TRUE(album.m_pCurImage == nullptr || album.IndexOf(album.m_pCurImage) >= 0);
  delete slides[1];
  delete slides[2];
}

}  // namespace

namespace {

TEST(PhotoMenuTest, ItemsEnableByRowsSelectionAndLoader) {
  PhotoMenuFacts two;
  two.rows = 2;
  two.selected = 0;
  PhotoMenuFacts three = two;
  three.rows = 3;
  PhotoMenuFacts onePhoto = three;
  onePhoto.selected = 1;
  onePhoto.singleSelectionIsPhoto = TRUE;
  PhotoMenuFacts oneBlank = onePhoto;
  oneBlank.singleSelectionIsPhoto = FALSE;
  PhotoMenuFacts many = onePhoto;
  many.selected = 2;
  PhotoMenuFacts loading = onePhoto;
  loading.loaderRunning = TRUE;
  PhotoMenuFacts hidden = three;
  hidden.pageVisible = FALSE;
  hidden.optionsHasCurrentSlide = TRUE;
  PhotoMenuFacts empty;
  struct Case {
    UINT id;
    const PhotoMenuFacts& facts;
    int expected;
  } const cases[] = {
      {32926, two, 0},      {33925, two, 0},      {32926, three, 1},  {33925, three, 1},
      {32783, onePhoto, 1}, {32783, oneBlank, 0}, {32783, many, 0},   {32918, three, 0},
      {32918, many, 1},     {32918, hidden, 1},   {32919, hidden, 1}, {32808, onePhoto, 1},
      {32808, loading, 0},  {32934, empty, 0},    {32934, two, 1},    {32809, empty, 0},
      {32832, onePhoto, 1}, {32832, three, 0},    {33923, three, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(PhotoCommandEnabled(c.id, c.facts), c.expected) << c.id;
}

TEST(PhotoMenuTest, BlankSlidePaletteAndPictures) {
  EXPECT_EQ(BlankSlidePaletteColour(1), RGB(0, 0, 0));
  EXPECT_EQ(BlankSlidePaletteColour(2), RGB(255, 255, 255));
  EXPECT_EQ(BlankSlidePaletteColour(9), RGB(192, 192, 192));
  EXPECT_EQ(BlankSlidePaletteColour(16), RGB(0, 255, 255));
  EXPECT_EQ(BlankSlidePaletteColour(17), CLR_INVALID);
  for (const char* yes : {"Sky.JPEG", "a.jpg", "B.TIFF", "c.Png", "/x/y.bmp", "d.pcx", "e.tif"})
    EXPECT_TRUE(IsBlankSlidePicture(yes)) << yes;
  for (const char* no : {"sky.gif", "jpg", "a.jpg.txt", ""}) EXPECT_FALSE(IsBlankSlidePicture(no)) << no;
}

}  // namespace
