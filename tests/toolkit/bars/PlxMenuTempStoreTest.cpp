// The menu store: one owner-only, nameless temporary file per menu; what a save, a rewrite, a
// removal and the clean-up leave open; that no "Plx" file is left in the temporary folder, not
// even by a killed run or a folder that cannot take files; and that failed saves and loads keep
// what was there.
#include "toolkit/bars/PlxMenuTempStore.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestInChild.h"
#include "toolkit/bars/PlxToolBar.h"

namespace {

namespace fs = std::filesystem;
using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

CPlxToolbarButton Plain(UINT id) {
  return CPlxToolbarButton(id, -1, nullptr, FALSE, TRUE);
}

void Fill(CPlxToolBar& bar, const std::vector<UINT>& ids) {
  bar.RemoveAllButtons();
  for (UINT id : ids) bar.InsertButton(Plain(id));
}

std::vector<UINT> Ids(const CPlxToolBar& bar) {
  std::vector<UINT> ids;
  for (int i = 0; i < bar.GetCount(); ++i) ids.push_back(bar.GetItemID(i));
  return ids;
}

HMENU Menu(UINT_PTR n) {
  return reinterpret_cast<HMENU>(n);
}

// This process's open files that live in `folder` (unlinked ones included).
std::vector<int> OpenFilesIn(const fs::path& folder) {
  std::vector<int> fds;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    const std::string target = fs::read_symlink(entry.path(), ec).string();
    if (!ec && target.rfind(folder.string() + "/", 0) == 0) fds.push_back(std::stoi(entry.path().filename()));
  }
  return fds;
}

size_t NamesIn(const fs::path& folder) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

class MenuTempStore : public ::testing::Test {
 protected:
  ScratchDir m_dir;
  ScopedEnv m_tmp{"TMPDIR", m_dir.Path().c_str()};
  CPlxMenuTempStore m_store;
  CPlxToolBar m_bar;
};

// Save (menu, items) or remove a menu, then the open files in the folder.
struct Step {
  UINT_PTR menu;
  std::vector<UINT> items;  // empty: RemoveMenu
  BOOL result;
  size_t openFiles;
};

TEST_F(MenuTempStore, OneFilePerMenu) {
  const Step steps[] = {
      {1, {10, 11}, TRUE, 1},     {2, {20}, TRUE, 2},
      {3, {30, 31, 32}, TRUE, 3}, {1, {12}, TRUE, 3},  // a rewrite replaces the menu's file
      {2, {}, TRUE, 2},           {2, {}, FALSE, 2},   // a second removal finds nothing
      {4, {}, FALSE, 2},
  };
  for (const auto& s : steps) {
    if (s.items.empty()) {
      EXPECT_EQ(m_store.RemoveMenu(Menu(s.menu)), s.result) << "remove " << s.menu;
    } else {
      Fill(m_bar, s.items);
      EXPECT_EQ(m_store.SaveMenuBar(Menu(s.menu), &m_bar), s.result) << "save " << s.menu;
    }
    EXPECT_EQ(OpenFilesIn(fs::path(m_dir.Path())).size(), s.openFiles) << "after menu " << s.menu;
    EXPECT_EQ(NamesIn(fs::path(m_dir.Path())), 0u) << "no file ever has a name";
  }
  const struct {
    UINT_PTR menu;
    BOOL found;
    std::vector<UINT> ids;
  } loads[] = {{1, TRUE, {12}}, {3, TRUE, {30, 31, 32}}, {2, FALSE, {99}}, {3, TRUE, {30, 31, 32}}};
  for (const auto& l : loads) {
    Fill(m_bar, {99});
    EXPECT_EQ(m_store.LoadMenuBar(Menu(l.menu), &m_bar), l.found) << "load " << l.menu;
    EXPECT_EQ(Ids(m_bar), l.ids) << "load " << l.menu;
  }
  m_store.CleanUp();
  EXPECT_TRUE(OpenFilesIn(fs::path(m_dir.Path())).empty());
  EXPECT_EQ(m_store.GetCount(), 0);
}

TEST_F(MenuTempStore, FilesAreTheOwnersOnly) {
  Fill(m_bar, {10});
  ASSERT_TRUE(m_store.SaveMenuBar(Menu(1), &m_bar));
  const auto fds = OpenFilesIn(fs::path(m_dir.Path()));
  ASSERT_EQ(fds.size(), 1u);
  struct stat info {};
  ASSERT_EQ(fstat(fds[0], &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(info.st_nlink, 0u) << "unlinked from the start";
}

TEST_F(MenuTempStore, DestructionClosesTheFiles) {
  {
    CPlxMenuTempStore store;
    Fill(m_bar, {10});
    ASSERT_TRUE(store.SaveMenuBar(Menu(1), &m_bar));
    ASSERT_TRUE(store.SaveMenuBar(Menu(2), &m_bar));
    EXPECT_EQ(OpenFilesIn(fs::path(m_dir.Path())).size(), 2u);
  }
  EXPECT_TRUE(OpenFilesIn(fs::path(m_dir.Path())).empty());
}

TEST_F(MenuTempStore, NothingStoredForAnEmptyBar) {
  Fill(m_bar, {10});
  ASSERT_TRUE(m_store.SaveMenuBar(Menu(1), &m_bar));
  Fill(m_bar, {});
  EXPECT_FALSE(m_store.SaveMenuBar(Menu(1), &m_bar));
  EXPECT_FALSE(m_store.SaveMenuBar(Menu(2), nullptr));
  ASSERT_TRUE(m_store.LoadMenuBar(Menu(1), &m_bar));
  EXPECT_EQ(Ids(m_bar), std::vector<UINT>{10}) << "the earlier file stays";
}

// A folder that cannot take the new file: the save fails, nothing is left there, and the
// menu's earlier items still load.
TEST_F(MenuTempStore, AFailedRewriteKeepsTheOldItems) {
  const fs::path file = fs::path(m_dir.Path()) / "plain-file";
  std::FILE* f = std::fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  Fill(m_bar, {10, 11});
  ASSERT_TRUE(m_store.SaveMenuBar(Menu(1), &m_bar));
  const std::string unusable[] = {(fs::path(m_dir.Path()) / "missing").string(),
                                  (file / "below-a-file").string()};
  for (const auto& folder : unusable) {
    ScopedEnv tmp("TMPDIR", folder.c_str());
    Fill(m_bar, {20});
    EXPECT_FALSE(m_store.SaveMenuBar(Menu(1), &m_bar)) << folder;
    EXPECT_FALSE(m_store.SaveMenuBar(Menu(2), &m_bar)) << folder;
    EXPECT_TRUE(m_store.LoadMenuBar(Menu(1), &m_bar)) << folder;
    EXPECT_EQ(Ids(m_bar), (std::vector<UINT>{10, 11})) << folder;
    EXPECT_FALSE(m_store.LoadMenuBar(Menu(2), &m_bar)) << folder;
  }
  EXPECT_EQ(NamesIn(fs::path(m_dir.Path())), 1u) << "only the test's own file";
  EXPECT_EQ(m_store.GetCount(), 1);
}

TEST_F(MenuTempStore, ADamagedFileLeavesTheBarUnchanged) {
  Fill(m_bar, {10, 11, 12});
  ASSERT_TRUE(m_store.SaveMenuBar(Menu(1), &m_bar));
  const auto fds = OpenFilesIn(fs::path(m_dir.Path()));
  ASSERT_EQ(fds.size(), 1u);
  ASSERT_EQ(ftruncate(fds[0], 6), 0);  // cut inside the second button
  Fill(m_bar, {40, 41});
  EXPECT_FALSE(m_store.LoadMenuBar(Menu(1), &m_bar));
  EXPECT_EQ(Ids(m_bar), (std::vector<UINT>{40, 41}));
}

TEST_F(MenuTempStore, HiddenItemsStayHidden) {
  Fill(m_bar, {10, 11});
  m_bar.GetButton(1)->m_bVisible = FALSE;
  ASSERT_TRUE(m_store.SaveMenuBar(Menu(1), &m_bar));
  Fill(m_bar, {10, 11});
  ASSERT_TRUE(m_store.LoadMenuBar(Menu(1), &m_bar));
  EXPECT_TRUE(m_bar.GetButton(0)->m_bVisible);
  EXPECT_FALSE(m_bar.GetButton(1)->m_bVisible);
  EXPECT_FALSE(CPlxMenuTempStore::m_bSerializing);
}

// Runs only as the child of the test below: stores two menus and is killed.
TEST(MenuTempStoreChild, StoresAndIsKilled) {
  if (!std::getenv("PLX_STORE_KILLED_CHILD")) GTEST_SKIP() << "run by MenuTempStore.NothingLeftByAKilledRun";
  CPlxToolBar bar;
  Fill(bar, {10, 11});
  ASSERT_TRUE(g_menuTempStore.SaveMenuBar(Menu(1), &bar));
  ASSERT_TRUE(g_menuTempStore.SaveMenuBar(Menu(2), &bar));
  std::printf("stored\n");
  std::fflush(stdout);
  raise(SIGKILL);
}

TEST_F(MenuTempStore, NothingLeftByAKilledRun) {
  const auto child = pictavo::test::RunTestInChild(
      "MenuTempStoreChild.StoresAndIsKilled", {{"PLX_STORE_KILLED_CHILD", "1"}, {"TMPDIR", m_dir.Path()}});
  EXPECT_NE(child.output.find("stored"), std::string::npos) << child.output;
  EXPECT_EQ(NamesIn(fs::path(m_dir.Path())), 0u);
}

}  // namespace
