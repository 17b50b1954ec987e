// The folder trees over the shell namespace, the folder check tree's collection, the folder
// dialog driven by the input script, and the two path helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "controls/FolderBrowseDlg.h"
#include "controls/PathInfo.h"
#include "controls/ShellFolderTree.h"
#include "platform/base/Array.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/comdlg/DialogIds.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "tests/platform/comdlg/ComdlgFixture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/Snapshot.h"

namespace {

using comdlg_test::ComdlgTest;

constexpr UINT kTreeDialog = 64403, kTree = 64440, kCheckTree = 64441;

class CTreeHostDlg : public CDialog {
 public:
  CTreeHostDlg() : CDialog(kTreeDialog) {}
  CShellFolderTree m_tree;
  CFolderCheckTree m_checks;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kTree, m_tree);
    DDX_Control(pDX, kCheckTree, m_checks);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_tree.Initialize();
    m_checks.Initialize();
    return TRUE;
  }
};

class FolderTreesTest : public ComdlgTest {
 protected:
  void SetUp() override {
    ComdlgTest::SetUp();
    InitCommonControls();
    ASSERT_TRUE(m_host.Create(kTreeDialog));
    m_host.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    m_host.DestroyWindow();
    ComdlgTest::TearDown();
  }
  static std::vector<std::string> ChildPaths(CShellFolderTree& tree, HTREEITEM item) {
    std::vector<std::string> paths;
    for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
      paths.emplace_back(tree.GetItemPath(child).GetString());
    return paths;
  }
  static std::vector<std::string> Sorted(const CStringArray& array) {
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < array.GetSize(); ++i) out.emplace_back(array[i].GetString());
    std::sort(out.begin(), out.end());
    return out;
  }
  CTreeHostDlg m_host;
};

TEST_F(FolderTreesTest, TheDesktopShowsHomeAndComputerButNeverNetworkOrTheRecycleBin) {
  CShellFolderTree& tree = m_host.m_tree;
  HTREEITEM root = tree.GetRootItem();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(reinterpret_cast<ShellTreeItemData*>(tree.GetItemData(root))->nKind, 4);
  const std::vector<std::string> top = ChildPaths(tree, root);
  EXPECT_NE(std::find(top.begin(), top.end(), "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), top.end());
  for (const std::string& path : top)
    EXPECT_FALSE(CShellFolderTree::IsHiddenVirtualFolder(path.c_str())) << path;
  const struct {
    const char* path;
    BOOL hidden;
  } kCases[] = {{"::{208D2C60-3AEA-1069-A2D7-08002B30309D}", TRUE},
                {"::{645ff040-5081-101b-9f08-00aa002f954e}", TRUE},
                {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", FALSE},
                {"/home", FALSE}};
  for (const auto& c : kCases) EXPECT_EQ(CShellFolderTree::IsHiddenVirtualFolder(c.path), c.hidden) << c.path;
  // The start selects the root file system, as a drive under Computer.
  EXPECT_EQ(std::string(tree.GetItemPath().GetString()), "/");
}

TEST_F(FolderTreesTest, TheDocumentsFolderIsOnTheDesktopWithTheSameFoldersAsUnderHome) {
  const std::string home = Folder("home");
  Folder("home/Documents/Letters");
  pictavo::test::ScopedEnv homeVariable("HOME", home.c_str());
  pictavo::test::ScopedEnv config("XDG_CONFIG_HOME", Folder("config").c_str());
  CTreeHostDlg host;
  ASSERT_TRUE(host.Create(kTreeDialog));
  CShellFolderTree& tree = host.m_tree;
  HTREEITEM documents = nullptr;
  for (HTREEITEM child = tree.GetChildItem(tree.GetRootItem()); child; child = tree.GetNextSiblingItem(child))
    if (tree.GetItemPath(child) == CString((home + "/Documents").c_str())) documents = child;
  ASSERT_NE(documents, nullptr);
  EXPECT_EQ(std::string(tree.GetItemText(documents).GetString()), "Documents");
  tree.Expand(documents, TVE_EXPAND);
  EXPECT_EQ(ChildPaths(tree, documents), (std::vector<std::string>{home + "/Documents/Letters"}));
  // Selecting a path goes through Home, one way only.
  ASSERT_TRUE(tree.SelectPath((home + "/Documents/Letters").c_str()));
  const HTREEITEM above = tree.GetParentItem(tree.GetParentItem(tree.GetSelectedItem()));
  EXPECT_EQ(std::string(tree.GetItemPath(above).GetString()), home);
  host.DestroyWindow();
}

TEST_F(FolderTreesTest, FoldersOpenLazilyShowHiddenOnesAndLoseAnEmptyExpandButton) {
  Folder("photos/.thumbnails");
  Folder("photos/Summer");
  Folder("photos/autumn");
  const std::string empty = Folder("photos/Summer/empty");
  CShellFolderTree& tree = m_host.m_tree;
  ASSERT_TRUE(tree.SelectPath(Path("photos").c_str()));
  HTREEITEM photos = tree.GetSelectedItem();
  EXPECT_EQ(std::string(tree.GetItemPath(photos).GetString()), Path("photos"));
  EXPECT_EQ(tree.GetChildItem(photos), nullptr) << "not read before it is opened";
  tree.Expand(photos, TVE_EXPAND);
  EXPECT_EQ(
      ChildPaths(tree, photos),
      (std::vector<std::string>{Path("photos/.thumbnails"), Path("photos/autumn"), Path("photos/Summer")}));
  ASSERT_TRUE(tree.SelectPath(empty.c_str()));
  HTREEITEM leaf = tree.GetSelectedItem();
  tree.Expand(leaf, TVE_EXPAND);
  EXPECT_FALSE(tree.ItemHasChildren(leaf)) << "an empty folder loses its button once opened";
  // A folder made afterwards appears when its parent is read again.
  Folder("photos/winter");
  tree.SendMessage(WM_SHELL_TREE_REFRESH, reinterpret_cast<WPARAM>(photos));
  EXPECT_EQ(ChildPaths(tree, photos).size(), 4u);
  EXPECT_TRUE(tree.GetItemState(photos, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(FolderTreesTest, ACheckedCollapsedFolderBringsItsSubFoldersFromDisk) {
  for (const char* sub : {"a", "b", "c", "d", "e", "c/deeper"}) Folder(std::string("album/") + sub);
  CFolderCheckTree& checks = m_host.m_checks;
  checks.UncheckAll();
  ASSERT_TRUE(checks.SelectPath(Path("album").c_str()));
  checks.CheckSelected();
  CStringArray folders;
  BOOL cancel = FALSE;
  EXPECT_EQ(checks.GetCheckedFolders(folders, &cancel), 1);
  EXPECT_EQ(Sorted(folders),
            (std::vector<std::string>{Path("album"), Path("album/a"), Path("album/b"), Path("album/c"),
                                      Path("album/c/deeper"), Path("album/d"), Path("album/e")}));
  // Cancelled before it starts: nothing but the folders met before the first message.
  cancel = TRUE;
  checks.GetCheckedFolders(folders, &cancel);
  EXPECT_LE(folders.GetSize(), 1);
}

TEST_F(FolderTreesTest, AnExpandedCheckedFolderWithOneChildUncheckedLeavesThatChildOut) {
  for (const char* sub : {"a", "b", "c"}) Folder(std::string("album/") + sub);
  CFolderCheckTree& checks = m_host.m_checks;
  checks.UncheckAll();
  ASSERT_TRUE(checks.SelectPath(Path("album").c_str()));
  HTREEITEM album = checks.GetSelectedItem();
  checks.CheckSelected();
  checks.Expand(album, TVE_EXPAND);  // the children take the parent's check
  HTREEITEM b = checks.GetNextSiblingItem(checks.GetChildItem(album));
  ASSERT_NE(b, nullptr);
  checks.Select(b, TVGN_CARET);
  checks.UncheckSelected();
  CStringArray folders;
  BOOL cancel = FALSE;
  checks.GetCheckedFolders(folders, &cancel);
  EXPECT_EQ(Sorted(folders), (std::vector<std::string>{Path("album"), Path("album/a"), Path("album/c")}));

  // Clicking a label selects without touching the check; the check box toggles the subtree and
  // makes the ancestors bold; empty space does nothing.
  HTREEITEM a = checks.GetChildItem(album);
  RECT label{};
  checks.GetItemRect(a, &label, TRUE);
  checks.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.left + 2, (label.top + label.bottom) / 2));
  checks.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(label.left + 2, (label.top + label.bottom) / 2));
  EXPECT_EQ(checks.GetSelectedItem(), a);
  EXPECT_TRUE(checks.IsChecked(a));
  checks.GetItemRect(b, &label, TRUE);
  TVHITTESTINFO hit{};
  for (int x = label.left - 1; x >= 0 && !(hit.flags & TVHT_ONITEMSTATEICON); --x) {
    hit.pt = {x, (label.top + label.bottom) / 2};
    checks.HitTest(&hit);
  }
  ASSERT_TRUE(hit.flags & TVHT_ONITEMSTATEICON);
  checks.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
  checks.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
  EXPECT_TRUE(checks.IsChecked(b));
  EXPECT_TRUE(checks.GetItemState(checks.GetParentItem(album), TVIS_BOLD) & TVIS_BOLD);

  RECT area;
  m_host.GetWindowRect(&area);
  InflateRect(&area, 8, 8);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(area, "folder-trees.png").empty());

  checks.Expand(checks.GetRootItem(), TVE_COLLAPSE);
  const HTREEITEM selected = checks.GetSelectedItem();
  RECT client;
  checks.GetClientRect(&client);
  checks.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, client.bottom - 3));
  EXPECT_EQ(checks.GetSelectedItem(), selected);
}

TEST_F(FolderTreesTest, TheFolderDialogReturnsTheFolderTheUserChose) {
  const std::string start = Folder("start");
  const std::string videos = Folder("output/videos");
  CFolderBrowseDlg dialog(start.c_str(), 0, &m_host);
  Script("wait-window \"Browse for Folder\"\nsnapshot \"" + pictavo::test::SnapshotPath("folder-dialog.png") +
             "\" \"Browse for Folder\"\ntype " + videos + "\nkey Enter",
         "Browse for Folder");
  EXPECT_EQ(dialog.DoModal(), IDOK) << m_scriptFailure;
  EXPECT_EQ(std::string(dialog.GetFolderPath().GetString()), videos);

  CFolderBrowseDlg cancelled(start.c_str(), 0, &m_host);
  Script("wait-window \"Browse for Folder\"\nkey Escape", "Browse for Folder");
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL) << m_scriptFailure;
  EXPECT_EQ(std::string(cancelled.GetFolderPath().GetString()), start);
}

TEST_F(FolderTreesTest, TheStatusLineShowsTheSelectionShortened) {
  const std::string start = Folder("a-folder-whose-path-is-long");
  std::string status;
  // Owned by the fixture's window, which plays the steps when the dialog's loop goes idle.
  CFolderBrowseDlg dialog(start.c_str(), 0, CWnd::FromHandle(m_owner));
  Steps()
      .Then([&](HWND browser) {
        status = comdlg_test::WindowText(GetDlgItem(browser, pictavo::comdlg::kBrowseStatus));
      })
      .Key(VK_ESCAPE);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(status, std::string(CFolderBrowseDlg::ShortenForStatus(start.c_str()).GetString()));
  const struct {
    const char* text;
    const char* shown;
  } kCases[] = {
      {"/home/ann/Pictures/2026/Summer/abcd", "/home/ann/Pictures/2026/Summer/abcd"},      // 35
      {"/home/ann/Pictures/2026/Summer/abcde", "/home/ann/Pictures/2026/Summer/abcd..."},  // 36
      {"/home/ann/Bilder/Été/Größe/Übersicht/x",
       "/home/ann/Bilder/Été/Größe/Übersich..."},  // letters kept whole
      {"", ""},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(std::string(CFolderBrowseDlg::ShortenForStatus(c.text).GetString()), c.shown) << c.text;
}

TEST_F(FolderTreesTest, PathHelpersSplitAndTestPaths) {
  const std::string file = File("clips/Holiday.Trip.JPG");
  CPathInfo info(file.c_str());
  EXPECT_EQ(std::string(info.GetFileName().GetString()), "Holiday.Trip.JPG");
  EXPECT_EQ(std::string(info.GetExtension().GetString()), ".JPG");
  EXPECT_EQ(std::string(info.GetDirectory().GetString()), Path("clips/"));
  EXPECT_EQ(std::string(info.GetTypeName().GetString()), "JPEG Image");
  EXPECT_TRUE(info.Exists());
  const struct {
    std::string path;
    BOOL info, check;
  } kCases[] = {
      {"C:\\", TRUE, TRUE},  // a drive root: the information never looks at the disk
      {file, TRUE, TRUE},          {Path("clips/"), TRUE, TRUE},
      {Path("clips"), TRUE, TRUE}, {Path("nothing"), FALSE, FALSE},
      {"", FALSE, FALSE},          {"/", TRUE, TRUE},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(CPathInfo(c.path.c_str()).Exists(), c.info) << c.path;
    if (c.path != "C:\\") EXPECT_EQ(CFilePathCheck(c.path.c_str()).Exists(), c.check) << c.path;
  }
}

}  // namespace
