#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/kernel/Path.h"
#include "tests/platform/kernel/FileTestSupport.h"

using namespace pictavo;

TEST(Path, SplitsWithEitherSeparator) {
  struct Case {
    const char* path;
    const char* name;
    const char* folderWithSeparator;
    const char* folder;
    const char* extension;
    const char* title;
  };
  const Case kCases[] = {
      {"/home/anna/IMG_0001.JPG", "IMG_0001.JPG", "/home/anna/", "/home/anna", ".JPG", "IMG_0001"},
      {"C:\\Photos\\trip.jpeg", "trip.jpeg", "C:\\Photos\\", "C:\\Photos", ".jpeg", "trip"},
      {"lang\\lang_eng.ini", "lang_eng.ini", "lang\\", "lang", ".ini", "lang_eng"},
      {"/mixed\\sep/a.b.c", "a.b.c", "/mixed\\sep/", "/mixed\\sep", ".c", "a.b"},
      {"/folder/", "", "/folder/", "/folder", "", ""},
      {"/file", "file", "/", "/", "", "file"},
      {"plain", "plain", "", "", "", "plain"},
      {"/dir.d/noext", "noext", "/dir.d/", "/dir.d", "", "noext"},
      {".hidden", ".hidden", "", "", ".hidden", ""},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(path::FileName(c.path), c.name) << c.path;
    EXPECT_EQ(path::FolderWithSeparator(c.path), c.folderWithSeparator) << c.path;
    EXPECT_EQ(path::Folder(c.path), c.folder) << c.path;
    EXPECT_EQ(path::Extension(c.path), c.extension) << c.path;
    EXPECT_EQ(path::FileTitle(c.path), c.title) << c.path;
  }
  EXPECT_EQ(path::LastSeparator("a\\b/c"), 3u);
  EXPECT_EQ(path::LastSeparator("abc"), std::string_view::npos);
}

TEST(Path, JoinsRelativeTestsAndTrailingSeparators) {
  struct JoinCase {
    const char* folder;
    const char* name;
    const char* joined;
  };
  const JoinCase kJoins[] = {
      {"/a", "b", "/a/b"},   {"/a/", "b", "/a/b"}, {"/a\\", "b", "/a\\b"},
      {"/a/", "/b", "/a/b"}, {"", "b", "b"},       {"/", "b", "/b"},
  };
  for (const JoinCase& c : kJoins)
    EXPECT_EQ(path::Join(c.folder, c.name), c.joined) << c.folder << "+" << c.name;

  for (const char* relative : {"photos/a.jpg", "a.jpg", "C:photo", ""})
    EXPECT_TRUE(path::IsRelative(relative)) << relative;
  for (const char* absolute : {"/home", "\\\\server\\share", "\\root"})
    EXPECT_TRUE(path::IsAbsolute(absolute)) << absolute;

  EXPECT_EQ(path::WithoutTrailingSeparator("/a/b/"), "/a/b");
  EXPECT_EQ(path::WithoutTrailingSeparator("/a/b\\"), "/a/b");
  EXPECT_EQ(path::WithoutTrailingSeparator("/"), "/");
  EXPECT_TRUE(path::EndsWithSeparator("x\\"));
  EXPECT_FALSE(path::EndsWithSeparator(""));
}

TEST(Path, RemoveFileSpecAndSplitPathFollowTheLastSeparator) {
  struct Case {
    const char* path;
    const char* folder;
    BOOL removed;
  };
  const Case kCases[] = {
      {"/opt/pictavo/pictavo", "/opt/pictavo", TRUE},
      {"C:\\app\\app.exe", "C:\\app", TRUE},
      {"/opt/x/", "/opt/x", TRUE},
      {"/pictavo", "/", TRUE},
      {"/", "/", FALSE},
      {"name", "", TRUE},
  };
  for (const Case& c : kCases) {
    char buffer[64];
    std::strcpy(buffer, c.path);
    EXPECT_EQ(PathRemoveFileSpec(buffer), c.removed) << c.path;
    EXPECT_STREQ(buffer, c.folder) << c.path;
  }

  char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath("/home/anna\\Slides/show.r7m", drive, dir, fname, ext);
  EXPECT_STREQ(drive, "");
  EXPECT_STREQ(dir, "/home/anna\\Slides/");
  EXPECT_STREQ(fname, "show");
  EXPECT_STREQ(ext, ".r7m");
  _splitpath("noext", nullptr, dir, fname, ext);
  EXPECT_STREQ(dir, "");
  EXPECT_STREQ(fname, "noext");
  EXPECT_STREQ(ext, "");
}

TEST(Path, WildcardsMatchWithoutRegardToCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case kCases[] = {
      {"IMG_0001.JPG", "*.jpg", true},
      {"photo.jpeg", "*.jpg", false},
      {"photo.jpg.bak", "*.jpg", false},
      {"lang_eng.ini", "lang_???.ini", true},
      {"LANG_DEU.INI", "lang_???.ini", true},
      {"lang_en.ini", "lang_???.ini", false},
      {"README", "*.*", true},
      {"archive", "archive.*", true},
      {"a.b.c", "*.c", true},
      {"abc", "a*c*", true},
      {"abc", "a*d", false},
      {"x", "?", true},
      {"xy", "?", false},
      {"", "*", true},
      {"Ärger.TXT", "ä*.txt", true},
      {"ЖУК.png", "жук.PNG", true},
      {"notes.txt", "NOTES.TXT", true},
      {".", "*", true},
      {"..", "*.*", true},
      {".", "*.jpg", false},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(path::MatchesWildcard(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
  EXPECT_TRUE(path::HasWildcards("a*"));
  EXPECT_TRUE(path::HasWildcards("a?"));
  EXPECT_FALSE(path::HasWildcards("/plain/path"));
}

TEST(Path, ResolveNoCaseFindsEachComponent) {
  ScratchDir folder;
  std::filesystem::create_directories(folder / "data/skins/default");
  WriteWholeFile(folder / "data/skins/default/skin.xml", "<skin/>");

  const std::string wanted = folder / "data/skins/default/skin.xml";
  EXPECT_EQ(path::ResolveNoCase(folder / "data/Skins/default/SKIN.xml"), wanted);
  EXPECT_EQ(path::ResolveNoCase(folder.Path() + "\\DATA\\skins\\Default\\Skin.XML"), wanted);
  EXPECT_EQ(path::ResolveNoCase(wanted), wanted);
  // A component that matches nothing keeps the rest as given.
  EXPECT_EQ(path::ResolveNoCase(folder / "Data/Themes/New.xml"), folder / "data/Themes/New.xml");
  EXPECT_EQ(path::ResolveNoCase(folder / "DATA/SKINS/"), folder / "data/skins/");
}

TEST(Path, DriveRootsAreMountPoints) {
  ScratchDir folder;
  EXPECT_TRUE(path::IsDriveRoot("/"));
  EXPECT_FALSE(path::IsDriveRoot(folder.Path()));
  EXPECT_FALSE(path::IsDriveRoot(""));
}
