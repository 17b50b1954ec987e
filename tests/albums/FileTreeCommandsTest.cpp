// The folder tree with editing on, driven by keys as the user drives it: F2 renames, Delete moves
// to the trash and Shift+Delete removes (both ask), new folders; the back/forward history; and
// the folder monitor, which reads the tree again when the selected folder changes on the disk.
#include <algorithm>

#include "platform/kernel/FileSystem.h"
#include "tests/albums/FileTreeFixture.h"

namespace filetree_test {
namespace {

namespace fs = std::filesystem;

std::string PathOf(CFileTreeCtrl& tree, HTREEITEM item) {
  return tree.GetItemPath(item).GetString();
}

class FileTreeEditingTest : public FileTreeTest {
 protected:
  std::string Trash(const std::string& relative) const { return Home(".local/share/Trash/" + relative); }
  // F2, the whole label replaced by `name` (nothing for an empty one), then Enter.
  void RenameByKeys(CFileTreeCtrl& tree, const std::string& name) {
    Press(VK_F2);
    ASSERT_NE(tree.GetEditControl(), nullptr) << "F2 opens the label editor";
    Press(VK_DELETE);  // the label is selected as a whole when the editor opens
    if (!name.empty()) Type(name);
    Press(VK_RETURN);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
  }
};

TEST_F(FileTreeEditingTest, F2RenamesAFolderAndItsChildrenFollow) {
  CFileTreeCtrl& tree = OpenTree(true);
  const HTREEITEM trip = tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE);
  ASSERT_NE(trip, nullptr);
  RenameByKeys(tree, "Holiday");
  EXPECT_TRUE(fs::is_directory(Home("Pictures/Holiday")));
  EXPECT_FALSE(fs::exists(Home("Pictures/Trip")));
  EXPECT_EQ(std::string(tree.GetItemText(trip).GetString()), "Holiday");
  EXPECT_EQ(PathOf(tree, trip), Home("Pictures/Holiday"));
  ASSERT_NE(tree.GetChildItem(trip), nullptr);
  EXPECT_EQ(PathOf(tree, tree.GetChildItem(trip)), Home("Pictures/Holiday/Day1")) << "children read again";
  EXPECT_TRUE(tree.IsItemExpanded(trip));
  EXPECT_EQ(tree.FindItemByPath(Home("Pictures/Holiday/Day1").c_str()), tree.GetChildItem(trip));
}

TEST_F(FileTreeEditingTest, AFileShownWithoutItsExtensionKeepsItWhenRenamed) {
  CFileTreeCtrl& tree = OpenTree(true);
  tree.SetShowFiles(TRUE);
  tree.SetDisplayTextMode(0);
  const HTREEITEM trip = tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE);
  ASSERT_NE(trip, nullptr);
  EXPECT_EQ(ChildTexts(tree, trip), (std::vector<std::string>{"Day1", "a"}));
  const HTREEITEM photo = tree.FindItemByPath(Home("Pictures/Trip/a.jpg").c_str());
  ASSERT_NE(photo, nullptr);
  tree.Select(photo, TVGN_CARET);
  RenameByKeys(tree, "beach");
  EXPECT_TRUE(fs::is_regular_file(Home("Pictures/Trip/beach.jpg")));
  EXPECT_EQ(std::string(tree.GetItemText(photo).GetString()), "beach");
  EXPECT_EQ(PathOf(tree, photo), Home("Pictures/Trip/beach.jpg"));
}

TEST_F(FileTreeEditingTest, TheLabelEditorAsTheUserSeesIt) {
  CFileTreeCtrl& tree = OpenTree(true);
  const HTREEITEM music = tree.SelectPath(Home("Music").c_str(), TRUE);
  ASSERT_NE(music, nullptr);
  ASSERT_NE(tree.CreateNewFolder(music, CString()), nullptr);
  Press(VK_RETURN);
  ASSERT_NE(tree.CreateNewFolder(music, CString()), nullptr);
  Type("Live 2024");
  pictavo::test::PumpPending();
  EXPECT_FALSE(SaveSnapshot("file-tree-rename.png").empty());
  Press(VK_RETURN);
  EXPECT_EQ(ChildTexts(tree, music), (std::vector<std::string>{"New Folder", "Live 2024"}));
  EXPECT_TRUE(fs::is_directory(Home("Music/Live 2024")));
}

TEST_F(FileTreeEditingTest, ARenameToNoNameOrAnotherFolderIsRefused) {
  CFileTreeCtrl& tree = OpenTree(true);
  const HTREEITEM trip = tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE);
  ASSERT_NE(trip, nullptr);
  for (const char* name : {"", ".", "..", "../Escaped", "sub/dir", "back\\slash"}) {
    RenameByKeys(tree, name);
    EXPECT_TRUE(fs::is_directory(Home("Pictures/Trip"))) << name;
    EXPECT_EQ(std::string(tree.GetItemText(trip).GetString()), "Trip") << name;
    EXPECT_EQ(PathOf(tree, trip), Home("Pictures/Trip")) << name;
  }
  EXPECT_FALSE(fs::exists(Home("Escaped")));
  EXPECT_TRUE(m_host->m_questions.empty());

  // A name another folder has: the failure is shown and the old name stays.
  m_host->m_answers = {IDOK};
  RenameByKeys(tree, "trip");
  EXPECT_EQ(m_host->m_questions.size(), 1u);
  EXPECT_EQ(std::string(tree.GetItemText(trip).GetString()), "Trip");
  EXPECT_TRUE(fs::is_directory(Home("Pictures/Trip")));

  // Drives and the special roots are not renamed.
  for (const std::string& path : {std::string("/"), Home()}) {
    ASSERT_NE(tree.SelectPath(path.c_str(), FALSE), nullptr) << path;
    Press(VK_F2);
    EXPECT_EQ(tree.GetEditControl(), nullptr) << path;
  }
}

TEST_F(FileTreeEditingTest, DeleteAsksAndMovesToTheTrashShiftDeleteAsksAndRemoves) {
  CFileTreeCtrl& tree = OpenTree(true);
  ASSERT_NE(tree.SelectPath(Home().c_str(), TRUE), nullptr);
  const HTREEITEM music = tree.FindItemByPath(Home("Music").c_str());
  ASSERT_NE(music, nullptr);
  const HTREEITEM documents = tree.GetPrevSiblingItem(music);

  tree.Select(music, TVGN_CARET);
  m_host->m_answers = {IDNO};
  Press(VK_DELETE);
  ASSERT_EQ(m_host->m_questions.size(), 1u);
  EXPECT_EQ(m_host->m_questions[0], "Are you sure you want to move 'Music' to the Trash?");
  EXPECT_TRUE(fs::is_directory(Home("Music"))) << "No keeps it";
  EXPECT_EQ(tree.GetSelectedItem(), music);

  m_host->m_answers = {IDYES};
  Press(VK_DELETE);
  EXPECT_EQ(m_host->m_questions.size(), 2u);
  EXPECT_FALSE(fs::exists(Home("Music")));
  EXPECT_TRUE(fs::is_regular_file(Trash("files/Music/song.mp3")));
  const std::string info = pictavo::test::ReadWholeFile(Trash("info/Music.trashinfo"));
  EXPECT_NE(info.find("[Trash Info]"), std::string::npos);
  EXPECT_NE(info.find("Path=" + Home("Music")), std::string::npos);
  EXPECT_EQ(tree.FindItemByPath(Home("Music").c_str()), nullptr);
  EXPECT_EQ(tree.GetSelectedItem(), documents) << "the previous sibling takes the selection";

  const HTREEITEM videos = tree.FindItemByPath(Home("Videos").c_str());
  ASSERT_NE(videos, nullptr);
  tree.Select(videos, TVGN_CARET);
  m_host->m_answers = {IDYES};
  Press(VK_DELETE, MOD_SHIFT);
  ASSERT_EQ(m_host->m_questions.size(), 3u);
  EXPECT_EQ(m_host->m_questions[2].find("Trash"), std::string::npos) << m_host->m_questions[2];
  EXPECT_FALSE(fs::exists(Home("Videos")));
  EXPECT_FALSE(fs::exists(Trash("files/Videos")));
  EXPECT_EQ(tree.FindItemByPath(Home("Videos").c_str()), nullptr);

  // The only child of a folder: the parent is selected and loses its button.
  const HTREEITEM day = tree.SelectPath(Home("Pictures/Trip/Day1").c_str(), FALSE);
  ASSERT_NE(day, nullptr);
  const HTREEITEM trip = tree.GetParentItem(day);
  m_host->m_answers = {IDYES};
  Press(VK_DELETE);
  EXPECT_FALSE(fs::exists(Home("Pictures/Trip/Day1")));
  EXPECT_EQ(tree.GetSelectedItem(), trip);
  EXPECT_FALSE(tree.ItemHasChildren(trip));
  EXPECT_EQ(m_host->m_questions.size(), 4u);
}

TEST_F(FileTreeEditingTest, TwoNewFoldersAreNewFolderAndNewFolderTwo) {
  CFileTreeCtrl& tree = OpenTree(true);
  const HTREEITEM music = tree.SelectPath(Home("Music").c_str(), TRUE);
  ASSERT_NE(music, nullptr);
  EXPECT_FALSE(tree.ItemHasChildren(music)) << "files only";
  for (int i = 0; i < 2; ++i) {
    const HTREEITEM made = tree.CreateNewFolder(music, CString());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), made);
    EXPECT_NE(tree.GetEditControl(), nullptr) << "the new folder's name is being edited";
    Press(VK_RETURN);  // keeps the offered name
  }
  EXPECT_TRUE(fs::is_directory(Home("Music/New Folder")));
  EXPECT_TRUE(fs::is_directory(Home("Music/New Folder (2)")));
  EXPECT_EQ(ChildTexts(tree, music), (std::vector<std::string>{"New Folder", "New Folder (2)"}));
  EXPECT_TRUE(tree.ItemHasChildren(music));

  // In a folder never opened, the new folder is listed once, not once by the reading and once more.
  const HTREEITEM pictures = tree.FindItemByPath(Home("Pictures").c_str());
  ASSERT_NE(pictures, nullptr);
  ASSERT_EQ(tree.GetChildItem(pictures), nullptr);
  ASSERT_NE(tree.CreateNewFolder(pictures, CString()), nullptr);
  Press(VK_ESCAPE);
  EXPECT_EQ(ChildTexts(tree, pictures), (std::vector<std::string>{"New Folder", "Trip", "trip"}));
  // Computer has no folder of its own to make one in.
  EXPECT_EQ(tree.CreateNewFolder(tree.GetMyComputerItem(), CString()), nullptr);
}

TEST_F(FileTreeEditingTest, WithEditingOffTheKeysChangeNothing) {
  CFileTreeCtrl& tree = OpenTree(false);
  ASSERT_NE(tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE), nullptr);
  Press(VK_F2);
  EXPECT_EQ(tree.GetEditControl(), nullptr);
  Press(VK_DELETE);
  Press(VK_DELETE, MOD_SHIFT);
  Press(VK_RETURN);
  Press(VK_RETURN, MOD_ALT);
  EXPECT_TRUE(m_host->m_questions.empty());
  EXPECT_TRUE(fs::is_directory(Home("Pictures/Trip")));
  EXPECT_EQ(tree.CreateNewFolder(tree.GetSelectedItem(), CString()), nullptr);
  EXPECT_FALSE(fs::exists(Home("Pictures/Trip/New Folder")));
  // Refresh, up one level and the history still work.
  Press(VK_F5);
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Pictures/Trip"));
  Press(VK_BACK);
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Pictures"));
  Press(VK_LEFT, MOD_ALT);
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Pictures/Trip"));
}

TEST_F(FileTreeEditingTest, HistoryBackBackForwardAndGoneEntries) {
  CFileTreeCtrl& tree = OpenTree();
  const HTREEITEM home = tree.SelectPath(Home().c_str(), TRUE);
  ASSERT_NE(home, nullptr);
  const HTREEITEM a = tree.FindItemByPath(Home("Music").c_str());
  const HTREEITEM b = tree.FindItemByPath(Home("Pictures").c_str());
  const HTREEITEM c = tree.FindItemByPath(Home("Videos").c_str());
  for (HTREEITEM item : {a, b, c}) tree.Select(item, TVGN_CARET);
  const struct {
    UINT key;
    std::string selected;
  } kSteps[] = {{VK_LEFT, Home("Pictures")}, {VK_LEFT, Home("Music")}, {VK_RIGHT, Home("Pictures")}};
  for (const auto& step : kSteps) {
    Press(step.key, MOD_ALT);
    EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), step.selected);
  }
  EXPECT_TRUE(tree.CanGoForward());

  // The limit: however many selections, at most 21 remembered.
  for (int i = 0; i < 30; ++i) {
    tree.Select(i % 2 ? a : c, TVGN_CARET);
    EXPECT_LE(tree.GetHistory().Back().size(), 21u);
  }
  EXPECT_EQ(tree.GetMaxHistory(), 20);

  // Rebuilt items are found again by their paths; a folder gone from the disk is skipped.
  tree.SetMaxHistory(0);
  tree.SetMaxHistory(20);
  for (HTREEITEM item : {a, b, c}) tree.Select(item, TVGN_CARET);
  fs::remove_all(Home("Pictures"));
  Press(VK_F5);
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Videos"));
  Press(VK_LEFT, MOD_ALT);
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Music")) << "Pictures skipped";
  Press(VK_RIGHT, MOD_ALT);
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Videos"));
}

// --- the folder monitor ----------------------------------------------------------------------

class FileTreeMonitorTest : public FileTreeTest {
 protected:
  // Waits for the monitor's message and hands it to the tree; the number of such messages seen.
  int WaitAndHandleChange(CFileTreeCtrl& tree, bool* arrived = nullptr) {
    MSG msg{};
    int seen = 0;
    const bool got = pictavo::test::WaitForMessage(tree.GetSafeHwnd(), WM_FILETREECTRL_UPDATE_CHANGE, msg,
                                                   10000, [&](const MSG& m) {
                                                     if (m.message == WM_FILETREECTRL_UPDATE_CHANGE) ++seen;
                                                   });
    if (arrived) *arrived = got;
    if (got) DispatchMessage(&msg);
    return seen;
  }
};

TEST_F(FileTreeMonitorTest, ABurstOfChangesBringsOneRefresh) {
  CFileTreeCtrl& tree = OpenTree();
  tree.SetMonitorChanges(TRUE);
  const HTREEITEM pictures = tree.SelectPath(Home("Pictures").c_str(), TRUE);
  ASSERT_NE(pictures, nullptr);
  EXPECT_TRUE(tree.IsMonitorRunning());
  EXPECT_EQ(std::string(tree.GetMonitoredFolder().GetString()), Home("Pictures") + "/");
  for (int i = 0; i < 25; ++i) Folder("home/me/Pictures/burst" + std::to_string(i));
  bool arrived = false;
  int messages = WaitAndHandleChange(tree, &arrived);
  ASSERT_TRUE(arrived);
  const HTREEITEM after = tree.GetSelectedItem();
  EXPECT_EQ(PathOf(tree, after), Home("Pictures"));
  EXPECT_EQ(ChildTexts(tree, after).size(), 27u) << "read again with the new folders";
  // One more change afterwards brings the second message: the burst made only one.
  Folder("home/me/Pictures/later");
  messages += WaitAndHandleChange(tree, &arrived);
  ASSERT_TRUE(arrived);
  EXPECT_EQ(messages, 2);
  EXPECT_EQ(ChildTexts(tree, tree.GetSelectedItem()).size(), 28u);
  tree.SetMonitorChanges(FALSE);
  EXPECT_FALSE(tree.IsMonitorRunning());
}

TEST_F(FileTreeMonitorTest, AThreadThatEndedByItselfDoesNotStopTheNextOne) {
  CFileTreeCtrl& tree = OpenTree();
  tree.SetMonitorChanges(TRUE);
  // A folder that cannot be watched: the thread ends at once, by itself.
  EXPECT_TRUE(tree.StartMonitor(Home("no-such-folder").c_str()));
  tree.StopMonitor();  // its stop is never taken by that thread
  ASSERT_NE(tree.SelectPath(Home("Music").c_str(), TRUE), nullptr);
  ASSERT_TRUE(tree.IsMonitorRunning());
  Folder("home/me/Music/Live");
  bool arrived = false;
  WaitAndHandleChange(tree, &arrived);
  EXPECT_TRUE(arrived) << "the new thread watches";
  const HTREEITEM music = tree.GetSelectedItem();
  EXPECT_TRUE(tree.ItemHasChildren(music)) << "read again: it has a folder now";
  tree.Expand(music, TVE_EXPAND);
  EXPECT_EQ(ChildTexts(tree, music), (std::vector<std::string>{"Live"}));
}

TEST_F(FileTreeMonitorTest, NoRefreshWhileALabelIsEdited) {
  CFileTreeCtrl& tree = OpenTree(true);
  tree.SetMonitorChanges(TRUE);
  const HTREEITEM trip = tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE);
  ASSERT_NE(trip, nullptr);
  Press(VK_F2);
  ASSERT_NE(tree.GetEditControl(), nullptr);
  Type("Holi");
  Folder("home/me/Pictures/Trip/Day2");
  MSG msg{};
  ASSERT_TRUE(pictavo::test::WaitForMessage(tree.GetSafeHwnd(), WM_FILETREECTRL_UPDATE_CHANGE, msg, 10000));
  DispatchMessage(&msg);
  EXPECT_NE(tree.GetEditControl(), nullptr) << "the edit goes on";
  EXPECT_EQ(tree.GetSelectedItem(), trip) << "the items were not rebuilt";
  EXPECT_EQ(ChildTexts(tree, trip), (std::vector<std::string>{"Day1"}));
  Press(VK_ESCAPE);
  // The change is read once the edit is over.
  pictavo::test::PumpUntil([&] { return ChildTexts(tree, tree.GetSelectedItem()).size() == 2; });
  EXPECT_EQ(ChildTexts(tree, tree.GetSelectedItem()), (std::vector<std::string>{"Day1", "Day2"}));
  EXPECT_TRUE(fs::is_directory(Home("Pictures/Trip")));
}

TEST_F(FileTreeMonitorTest, OnlyFoldersThatStayCanBeWatched) {
  CFileTreeCtrl& tree = OpenTree();
  const struct {
    std::string path;
    BOOL can;
  } kCases[] = {{Home("Pictures"), TRUE},
                {"", FALSE},
                {Home("Music/song.mp3"), FALSE},
                {Home("nothing"), FALSE},
                {"/", TRUE}};
  for (const auto& c : kCases) EXPECT_EQ(tree.CanMonitor(c.path.c_str()), c.can) << c.path;
}

}  // namespace
}  // namespace filetree_test
