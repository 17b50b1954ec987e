#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/kernel/FileFind.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

struct Entry {
  std::string name, path, title;
  bool dots, directory, hidden, readOnly;
  ULONGLONG length;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << e.path;
}

}  // namespace

TEST(CFileFind, WalksAFolderTheWayTheProgramLoopsOverIt) {
  ScratchDir folder;
  std::filesystem::create_directory(folder / "Album");
  WriteWholeFile(folder / "IMG_0001.JPG", std::string(300, 'x'));
  WriteWholeFile(folder / ".thumbs", "t");
  const std::string root = folder.Path() + "/";

  CFileFind finder;
  BOOL more = finder.FindFile((folder.Path() + "\\*.*").c_str());
  ASSERT_TRUE(more);
  EXPECT_EQ(finder.GetRoot(), CString(root));
  std::vector<Entry> entries;
  while (more) {
    more = finder.FindNextFile();
    FILETIME written{};
    EXPECT_TRUE(finder.GetLastWriteTime(&written));
    EXPECT_NE(written.dwHighDateTime, 0u);
    entries.push_back(Entry{finder.GetFileName().Str(), finder.GetFilePath().Str(),
                            finder.GetFileTitle().Str(), finder.IsDots() != FALSE,
                            finder.IsDirectory() != FALSE, finder.IsHidden() != FALSE,
                            finder.IsReadOnly() != FALSE, finder.GetLength()});
  }
  const std::vector<Entry> expected = {
      {".", root + ".", "", true, true, false, false, 0},
      {"..", root + "..", ".", true, true, false, false, 0},
      {".thumbs", root + ".thumbs", "", false, false, true, false, 1},
      {"Album", root + "Album", "Album", false, true, false, false, 0},
      {"IMG_0001.JPG", root + "IMG_0001.JPG", "IMG_0001", false, false, false, false, 300},
  };
  EXPECT_EQ(entries, expected);
  EXPECT_FALSE(finder.FindNextFile());  // the end stays the end
  EXPECT_TRUE(finder.MatchesMask(FILE_ATTRIBUTE_ARCHIVE));

  finder.Close();
  EXPECT_TRUE(finder.GetFileName().IsEmpty());
  EXPECT_FALSE(finder.FindFile((folder / "*.png").c_str()));
  EXPECT_FALSE(finder.FindNextFile());
}

TEST(CFileFind, ARelativePatternListsTheCurrentFolder) {
  ScratchDir folder;
  WriteWholeFile(folder / "only.txt", "1");
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(folder.Path().c_str()), 0);
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile("*.TXT"));
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetFilePath(), CString(std::filesystem::canonical(folder.Path()).string() + "/only.txt"));
  ASSERT_EQ(chdir(old), 0);
}
