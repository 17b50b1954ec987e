// The folder tree's rules apart from the window: child order, paths, rename names, new-folder
// names and the history lists.
#include <gtest/gtest.h>

#include "albums/FileTreeRules.h"

namespace {

TEST(FileTreeRules, ChildrenOrderSpecialRootsFirstThenFoldersThenFiles) {
  const struct {
    int kindA;
    const char* nameA;
    int kindB;
    const char* nameB;
    int sign;
  } kCases[] = {
      {4, "Home", 2, "Documents", -1},   {2, "Documents", 3, "Computer", -1},
      {3, "Computer", 1, "Network", -1}, {1, "Network", 6, "Albums", -1},
      {6, "zoo", 5, "a.jpg", -1},        {7, "/", 6, "a", -1},
      {6, "apple", 6, "Banana", -1},     {6, "Photos", 6, "photos", -1},
      {6, "same", 6, "same", 0},         {0, "Desktop", 6, "Desktop2", -1},
  };
  for (const auto& c : kCases) {
    const int order = filetree::CompareRecords(c.kindA, c.nameA, c.kindB, c.nameB);
    EXPECT_EQ((order > 0) - (order < 0), c.sign) << c.nameA << " / " << c.nameB;
    const int back = filetree::CompareRecords(c.kindB, c.nameB, c.kindA, c.nameA);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.nameB << " / " << c.nameA;
  }
}

TEST(FileTreeRules, PathsAndPrefixesGoByWholeComponents) {
  const struct {
    const char* in;
    const char* normal;
  } kNormal[] = {{"/home//me/", "/home/me"}, {"\\srv\\x", "/srv/x"}, {"/", "/"}, {"", ""}, {"//", "/"}};
  for (const auto& c : kNormal) EXPECT_EQ(filetree::NormalizePath(c.in), c.normal) << c.in;

  const struct {
    const char* path;
    const char* prefix;
    bool noCase;
    bool below;
    const char* rest;
  } kPrefix[] = {
      {"/home/me/a", "/home/me", false, true, "a"},  {"/home/me", "/home/me", false, true, ""},
      {"/home/me2/a", "/home/me", false, false, ""}, {"/x/y", "/", false, true, "x/y"},
      {"/Home/Me/a", "/home/me", false, false, ""},  {"/Home/Me/a", "/home/me", true, true, "a"},
      {"/home", "/home/me", false, false, ""},       {"/a", "", false, false, ""},
  };
  for (const auto& c : kPrefix) {
    std::string rest;
    EXPECT_EQ(filetree::HasPathPrefix(c.path, c.prefix, c.noCase, &rest), c.below)
        << c.path << " " << c.prefix;
    if (c.below) EXPECT_EQ(rest, c.rest) << c.path;
  }
  EXPECT_EQ(filetree::SplitComponents("a/b\\c"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(filetree::SplitComponents("").empty());
  EXPECT_EQ(filetree::JoinPath("/", "home"), "/home");
  EXPECT_EQ(filetree::JoinPath("/home", "me"), "/home/me");
}

TEST(FileTreeRules, RenameRefusesNamesThatAreNoNameOrWouldMoveTheItem) {
  const struct {
    CString name;
    bool ok;
  } kCases[] = {{"Holiday", true},
                {"", false},
                {".", false},
                {"..", false},
                {"a/b", false},
                {"a\\b", false},
                {"...", true},
                {".hidden", true},
                {"Ünïcode", true},
                {"/", false},
                {CString("a\0b", 3), false}};
  for (const auto& c : kCases) EXPECT_EQ(filetree::IsAcceptableNewName(c.name), c.ok) << c.name.GetString();
}

TEST(FileTreeRules, NewFolderNamesCountFromTwo) {
  EXPECT_EQ(std::string(filetree::NewFolderCandidate("/p/", 1).GetString()), "/p/New Folder");
  EXPECT_EQ(std::string(filetree::NewFolderCandidate("/p", 2).GetString()), "/p/New Folder (2)");
  EXPECT_EQ(std::string(filetree::NewFolderCandidate("/", 3).GetString()), "/New Folder (3)");
}

filetree::HistoryEntry Entry(int n) {
  return {reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(n)), CString(std::to_string(n).c_str()), 6};
}

TEST(FileTreeRules, HistoryGoesBackAndForwardAndKeepsItsLimit) {
  filetree::History history;
  EXPECT_EQ(history.GetLimit(), 20);
  // A, B, C selected in turn: each selection pushes the one it leaves.
  history.PushSelection(Entry(1));  // A -> B
  history.PushSelection(Entry(2));  // B -> C
  filetree::HistoryEntry entry;
  ASSERT_TRUE(history.PopBack(&entry));
  EXPECT_EQ(entry.hItem, Entry(2).hItem);  // back to B
  history.AppendForward(Entry(3));
  ASSERT_TRUE(history.PopBack(&entry));
  EXPECT_EQ(entry.hItem, Entry(1).hItem);  // back to A
  history.AppendForward(Entry(2));
  EXPECT_FALSE(history.CanGoBack());
  ASSERT_TRUE(history.PopForward(&entry));
  EXPECT_EQ(entry.hItem, Entry(2).hItem);  // forward to B
  EXPECT_TRUE(history.CanGoForward());

  // The limit: the oldest entries go, never more than limit + 1 remain.
  for (int i = 10; i < 60; ++i) {
    history.PushSelection(Entry(i));
    EXPECT_LE(history.Back().size(), 21u);
  }
  EXPECT_EQ(history.Back().size(), 21u);
  EXPECT_EQ(history.Back().back().hItem, Entry(59).hItem);
  // A smaller limit drops the newest entries of both lists.
  history.SetLimit(5);
  EXPECT_EQ(history.Back().size(), 5u);
  EXPECT_EQ(history.Back().back().hItem, Entry(43).hItem);

  // An item that went loses its handle but keeps its path.
  history.ForgetItem(Entry(41).hItem);
  EXPECT_EQ(history.Back()[2].hItem, nullptr);
  EXPECT_EQ(std::string(history.Back()[2].strPath.GetString()), "41");
}

}  // namespace
