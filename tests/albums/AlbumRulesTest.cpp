// The album editor's rules as tables: which files the add operations take (whole extensions,
// any case), what an album made on demand is called, which album or row is selected after a
// change, and how rotations add up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "albums/AlbumRules.h"
#include "tests/support/ScratchDir.h"

namespace {

struct ExtCase {
  const char* path;
  bool photo, music, video;
};

// The cut extension decides, compared whole and without regard to case.
const ExtCase kExtCases[] = {
    {"/p/a.jpg", true, false, false},          {"/p/IMG_0001.JPG", true, false, false},
    {"/p/a.Jpeg", true, false, false},         {"/p/a.tif", true, false, false},
    {"/p/a.TIFF", true, false, false},         {"/p/a.png", true, false, false},
    {"/p/a.bmp", true, false, false},          {"/p/a.pcx", true, false, false},
    {"/p/x.jpg.txt", false, false, false},     {"/p/photo.jpgx", false, false, false},
    {"/p/x.jp", false, false, false},          {"/p/x.tif.", false, false, false},
    {"/p/noext", false, false, false},         {"/p.jpg/noext", false, false, false},
    {"C:\\p.jpg\\noext", false, false, false}, {"/p/.jpg", true, false, false},
    {"/p/song.MP3", false, true, false},       {"/p/song.wav", false, true, false},
    {"/p/song.wma", false, true, false},       {"/p/song.mp", false, false, false},
    {"/p/clip.MP4", false, false, true},       {"/p/clip.rmvb", false, false, true},
    {"/p/clip.rm", false, false, true},        {"/p/clip.3gp", false, false, true},
    {"/p/clip.mpeg", false, false, true},      {"/p/clip.flv", false, false, true},
    {"/p/clip.mp", false, false, false},       {"/p/clip.avi;", false, false, false},
};

TEST(AlbumRules, FileTypesMatchWholeExtensionsInAnyCase) {
  for (const ExtCase& c : kExtCases) {
    const CString ext = FileExtOf(c.path);
    EXPECT_EQ(IsPhotoFileExt(ext) != FALSE, c.photo) << c.path;
    EXPECT_EQ(IsMusicFileExt(ext) != FALSE, c.music) << c.path;
    EXPECT_EQ(IsVideoFileExt(ext) != FALSE, c.video) << c.path;
  }
  EXPECT_FALSE(IsPhotoFileExt(nullptr));
  EXPECT_FALSE(IsPhotoFileExt(""));
  EXPECT_FALSE(IsVideoFileExt(""));
  EXPECT_FALSE(IsMusicFileExt(""));
}

struct NameCase {
  const char* path;
  const char* name;
};

TEST(AlbumRules, AnAlbumMadeForAPhotoIsNamedAfterItsFolderInItsOwnCase) {
  const NameCase cases[] = {
      {"/home/u/Trips/Rome/a.jpg", "Rome"},
      {"C:\\Trips\\Rome\\a.jpg", "Rome"},
      {"/home/u/Trips/rOME/a.jpg", "rOME"},
      {"/a.jpg", "My Slideshow"},
      {"a.jpg", "My Slideshow"},
      {"C:\\a.jpg", "My Slideshow"},
      {"/mnt/Camera Roll/b.JPG", "Camera Roll"},
      {"", "My Slideshow"},
  };
  for (const NameCase& c : cases) EXPECT_STREQ(AlbumNameForPhoto(c.path, "My Slideshow"), c.name) << c.path;
}

TEST(AlbumRules, AnAlbumMadeFromTheFolderTreeIsNamedAfterTheSelectedFolder) {
  const NameCase cases[] = {
      {"/Trips/Rome", "Rome"},     {"Rome", "Rome"}, {"/Trips/", "My Slideshow"}, {"", "My Slideshow"},
      {"C:\\Trips\\Rome", "Rome"},
  };
  for (const NameCase& c : cases)
    EXPECT_STREQ(AlbumNameForTreeFolder(c.path, "My Slideshow"), c.name) << c.path;
}

TEST(AlbumRules, FolderWalksAndTheNameDialogNameAlbumsAfterTheFolder) {
  const NameCase own[] = {{"/Trips/Rome/", "Rome"}, {"/Trips/Rome", "Rome"}, {"/", ""}, {"Rome", ""}};
  for (const NameCase& c : own) EXPECT_STREQ(FolderOwnName(c.path), c.name) << c.path;
  const NameCase proposed[] = {{"/Trips/Rome", "Rome"}, {"Rome", "Rome"}, {"", ""}};
  for (const NameCase& c : proposed) EXPECT_STREQ(ProposedAlbumName(c.path), c.name) << c.path;
}

struct IndexCase {
  int a, b;
  int expected;
};

TEST(AlbumRules, ANewAlbumGoesBeforeTheActiveOneOrAtTheEnd) {
  const IndexCase cases[] = {{1, 4, 1}, {0, 4, 0}, {-1, 4, 4}, {4, 4, 4}, {7, 4, 4}, {-1, 0, 0}};
  for (const IndexCase& c : cases) EXPECT_EQ(NewAlbumInsertIndex(c.a, c.b), c.expected) << c.a << "/" << c.b;
}

TEST(AlbumRules, DeletingAnAlbumSelectsTheNextOrTheNewLast) {
  // (deleted index, albums left) -> selection
  const IndexCase cases[] = {{1, 3, 1}, {0, 3, 0}, {3, 3, 2}, {0, 0, -1}, {5, 2, 1}};
  for (const IndexCase& c : cases)
    EXPECT_EQ(SelectionAfterAlbumDelete(c.a, c.b), c.expected) << c.a << "/" << c.b;
}

TEST(AlbumRules, RemovingRowsSelectsTheRowNowAtTheLastRemovedPosition) {
  // (last removed row, rows left) -> selection: rows 2 and 3 of five leave three, row 2 selected.
  const IndexCase cases[] = {{2, 3, 2}, {4, 3, 2}, {0, 4, 0}, {0, 0, -1}, {9, 1, 0}};
  for (const IndexCase& c : cases) EXPECT_EQ(RowAfterPhotoRemoval(c.a, c.b), c.expected) << c.a << "/" << c.b;
}

TEST(AlbumRules, RotationsStayWithinOneTurn) {
  const IndexCase cases[] = {{0, 90, 90},    {90, 90, 180},       {270, 90, 0}, {0, 270, 270},
                             {90, -90, 0},   {0, -90, 270},       {0, 720, 0},  {359, 2, 1},
                             {-450, 0, 270}, {2147483647, 1, 128}};
  for (const IndexCase& c : cases) EXPECT_EQ(AddRotation(c.a, c.b), c.expected) << c.a << "+" << c.b;
  int angle = 0;
  for (int i = 0; i < 4; ++i) angle = AddRotation(angle, 90);
  EXPECT_EQ(angle, 0);
}

TEST(AlbumRules, PagesWrapAndANegativePageSelectsNothing) {
  const IndexCase cases[] = {{7, 5, 2}, {9, 5, 4}, {3, 2, 1}, {-1, 2, -1}, {0, 0, -1}};
  for (const IndexCase& c : cases) EXPECT_EQ(WrapPage(c.a, c.b), c.expected) << c.a << "%" << c.b;
}

TEST(AlbumRules, SubfoldersCountUnlessHidden) {
  pictavo::test::ScratchDir dir;
  namespace fs = std::filesystem;
  const fs::path root = dir.Path();
  fs::create_directories(root / "flat");
  std::ofstream(root / "flat" / "a.jpg") << "x";
  fs::create_directories(root / "hidden" / ".thumbs");
  fs::create_directories(root / "deep" / "holiday.jpg");
  EXPECT_FALSE(HasSubfolders((root / "flat").c_str()));
  EXPECT_FALSE(HasSubfolders((root / "hidden").c_str()));
  EXPECT_TRUE(HasSubfolders((root / "deep").c_str()));
  EXPECT_TRUE(HasSubfolders((root.string() + "/deep/").c_str()));
  EXPECT_FALSE(HasSubfolders((root / "missing").c_str()));
  EXPECT_FALSE(HasSubfolders(""));
}

}  // namespace
