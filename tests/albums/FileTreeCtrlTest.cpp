// The folder tree as the file browser panel shows it: its roots, filling, paths to items (through
// Home, the desktop or a drive, nested mounts included) and items that vanish from the disk.
#include <algorithm>

#include "platform/shellapi/Network.h"

#include "tests/albums/FileTreeFixture.h"

namespace filetree_test {
namespace {

// A tree whose Computer lists two drives of the test's choosing: "/" and a mount point nested in
// the scratch folder, so the walk through drives can be shown without mounting anything.
class CTwoDrivesTree : public CFileTreeCtrl {
 public:
  explicit CTwoDrivesTree(std::string nested) : m_nested(std::move(nested)) {}
  void AddDrives(HTREEITEM hParent, BOOL) override {
    for (const std::string& drive : {std::string("/"), m_nested}) {
      auto* record = new CFileTreeItem;
      record->m_nKind = CFileTreeItem::kDrive;
      record->m_strPath = record->m_strName = drive.c_str();
      InsertItem(hParent, record, FALSE, 0, 0, TRUE);
    }
  }
  BOOL IsDrive(const CString& strPath) override {
    const std::string path = filetree::NormalizePath(strPath.GetString());
    return path == "/" || path == m_nested;
  }

 private:
  std::string m_nested;
};

std::string PathOf(CFileTreeCtrl& tree, HTREEITEM item) {
  return tree.GetItemPath(item).GetString();
}

TEST_F(FileTreeTest, TheDesktopHoldsHomeDocumentsComputerNetworkThenItsOwnFolders) {
  CFileTreeCtrl& tree = OpenTree();
  const HTREEITEM desktop = tree.GetDesktopItem();
  ASSERT_NE(desktop, nullptr);
  EXPECT_EQ(tree.GetRootItem(), desktop);
  EXPECT_EQ(tree.GetNextSiblingItem(desktop), nullptr) << "one top item";
  EXPECT_EQ(std::string(tree.GetItemText(desktop).GetString()), "Desktop");
  EXPECT_EQ(PathOf(tree, desktop), Home("Desktop"));
  EXPECT_EQ(ChildTexts(tree, desktop),
            (std::vector<std::string>{"Home", "Documents", "Computer", "Network", "Shots"}));
  EXPECT_EQ(PathOf(tree, tree.GetUserProfileItem()), Home());
  EXPECT_EQ(PathOf(tree, tree.GetMyDocumentsItem()), Home("Documents"));
  EXPECT_EQ(PathOf(tree, tree.GetMyComputerItem()), "");
  EXPECT_EQ(PathOf(tree, tree.GetNetworkItem()), "");

  // Computer lists the mount points, "/" first, each named as the desktop names it.
  const HTREEITEM computer = tree.GetMyComputerItem();
  tree.Expand(computer, TVE_EXPAND);
  const HTREEITEM root = tree.GetChildItem(computer);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(PathOf(tree, root), "/");
  EXPECT_TRUE(tree.IsDriveItem(root));
  EXPECT_EQ(std::string(tree.GetItemText(root).GetString()), "File System (/)");

  // The network lists nothing here: opening it takes its button away.
  const HTREEITEM network = tree.GetNetworkItem();
  EXPECT_TRUE(tree.ItemHasChildren(network));
  tree.Expand(network, TVE_EXPAND);
  EXPECT_EQ(tree.GetChildItem(network), nullptr);
  EXPECT_FALSE(tree.ItemHasChildren(network));
  EXPECT_FALSE(tree.IsShared(Home().c_str())) << "no folder is shown shared";
}

TEST_F(FileTreeTest, FoldersFillWhenOpenedWithoutHiddenOnesAndFilesFollowFolders) {
  m_scratch.Write("home/me/Pictures/only-files/x.jpg", "x");
  CFileTreeCtrl& tree = OpenTree();
  const HTREEITEM pictures = tree.SelectPath(Home("Pictures").c_str(), TRUE);
  ASSERT_NE(pictures, nullptr);
  EXPECT_EQ(ChildTexts(tree, pictures), (std::vector<std::string>{"only-files", "Trip", "trip"}))
      << "no .thumbnails; names that differ by case both listed";
  const HTREEITEM onlyFiles = tree.GetChildItem(pictures);
  EXPECT_FALSE(tree.ItemHasChildren(onlyFiles)) << "with files off, a folder of files has no button";
  EXPECT_TRUE(tree.ItemHasChildren(tree.GetNextSiblingItem(onlyFiles)));

  tree.SetShowFiles(TRUE);  // rebuilds, keeping the selection
  const HTREEITEM trip = tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE);
  ASSERT_NE(trip, nullptr);
  EXPECT_EQ(ChildTexts(tree, trip), (std::vector<std::string>{"Day1", "a.jpg"}));
  EXPECT_TRUE(tree.IsFileItem(tree.GetNextSiblingItem(tree.GetChildItem(trip))));
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Pictures/Trip"));
}

TEST_F(FileTreeTest, PathsFindTheirItemsThroughTheRightRoot) {
  const std::string nested = Folder("mnt/usb");
  Folder("mnt/usb/DCIM/100");
  Folder("home/me2/Pics");
  CFileTreeCtrl& tree = OpenTree(false, new CTwoDrivesTree(nested));
  const HTREEITEM home = tree.GetUserProfileItem(), desktop = tree.GetDesktopItem();
  const HTREEITEM computer = tree.GetMyComputerItem();
  const struct Case {
    std::string path;
    std::string found;     // the item's path; "" when the walk comes back empty-handed
    std::string selected;  // what stays selected
    HTREEITEM through;     // the root the item lies below
  } kCases[] = {
      {Home("Pictures/Trip"), Home("Pictures/Trip"), Home("Pictures/Trip"), home},
      {Home("Desktop/Shots"), Home("Desktop/Shots"), Home("Desktop/Shots"), desktop},
      {nested + "/DCIM/100", nested + "/DCIM/100", nested + "/DCIM/100", computer},
      {Home("Pictures/trip"), Home("Pictures/trip"), Home("Pictures/trip"), home},
      {Home("PICTURES/Trip"), Home("Pictures/Trip"), Home("Pictures/Trip"), home},
      {Home("Pictures/Trip/"), Home("Pictures/Trip"), Home("Pictures/Trip"), home},
      {Home("Pictures//Trip\\Day1"), Home("Pictures/Trip/Day1"), Home("Pictures/Trip/Day1"), home},
      {Home("Pictures/Nope/Day1"), "", Home("Pictures"), nullptr},
      {Home("Pictures/Nope"), "", Home("Pictures"), nullptr},
      {Home("Pictures/.thumbnails"), "", Home("Pictures"), nullptr},
      // Beside the home folder, not below it: found through the drive that holds it.
      {m_scratch / "home/me2/Pics", m_scratch / "home/me2/Pics", m_scratch / "home/me2/Pics", computer},
      {Home(), Home(), Home(), desktop},
  };
  for (const Case& c : kCases) {
    const HTREEITEM item = tree.SelectPath(c.path.c_str(), TRUE);
    EXPECT_EQ(item ? PathOf(tree, item) : "", c.found) << c.path;
    EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), c.selected) << c.path;
    if (item && c.through) EXPECT_EQ(RootAbove(tree, item), c.through) << c.path;
    // Lookups among existing items agree with the walk.
    if (item) EXPECT_EQ(tree.FindItemByPath(c.path.c_str()), item) << c.path;
  }
  // The nested mount is its own drive, not a folder of "/".
  const HTREEITEM dcim = tree.GetParentItem(tree.SelectPath((nested + "/DCIM/100").c_str(), FALSE));
  EXPECT_EQ(PathOf(tree, tree.GetParentItem(dcim)), nested);
  EXPECT_TRUE(tree.IsDriveItem(tree.GetParentItem(dcim)));
}

TEST_F(FileTreeTest, AFolderThatVanishedGoesWhenSelectedAndTheHostNeverHearsOfIt) {
  Folder("home/me/Pictures/Gone");
  CFileTreeCtrl& tree = OpenTree();
  const HTREEITEM pictures = tree.SelectPath(Home("Pictures").c_str(), TRUE);
  ASSERT_NE(pictures, nullptr);
  const HTREEITEM gone = tree.FindItemByPath(Home("Pictures/Gone").c_str());
  ASSERT_NE(gone, nullptr);
  std::filesystem::remove(Home("Pictures/Gone"));
  m_host->m_selections.clear();
  tree.Select(gone, TVGN_CARET);
  EXPECT_EQ(tree.FindItemByPath(Home("Pictures/Gone").c_str()), nullptr);
  EXPECT_EQ(ChildTexts(tree, pictures), (std::vector<std::string>{"Trip", "trip"}));
  EXPECT_TRUE(tree.ItemHasChildren(pictures)) << "others are left";
  for (const auto& heard : m_host->m_selections) {
    EXPECT_NE(heard.item, gone);
    EXPECT_FALSE(heard.path.empty());
  }
  EXPECT_NE(tree.GetSelectedItem(), nullptr);

  // The last folder of a parent: the parent loses its button too.
  const HTREEITEM trip = tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE);
  const HTREEITEM day = tree.GetChildItem(trip);
  ASSERT_NE(day, nullptr);
  std::filesystem::remove(Home("Pictures/Trip/Day1"));
  tree.Select(day, TVGN_CARET);
  EXPECT_EQ(tree.GetChildItem(trip), nullptr);
  EXPECT_FALSE(tree.ItemHasChildren(trip));
  EXPECT_EQ(tree.GetSelectedItem(), trip);
}

TEST_F(FileTreeTest, ClosingTheDesktopDropsItsSpecialItemsAndPathsStillFindTheirWay) {
  CFileTreeCtrl& tree = OpenTree();
  const HTREEITEM desktop = tree.GetDesktopItem();
  tree.Select(desktop, TVGN_CARET);
  Press(VK_LEFT);  // the user closes the desktop
  EXPECT_FALSE(tree.IsItemExpanded(desktop));
  EXPECT_EQ(tree.GetChildItem(desktop), nullptr);
  EXPECT_EQ(tree.GetMyComputerItem(), nullptr);
  EXPECT_EQ(tree.GetNetworkItem(), nullptr);
  EXPECT_EQ(tree.GetUserProfileItem(), nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(desktop)) << "it keeps its button";
  // Walking to a drive opens the desktop again and goes through the new Computer item.
  const HTREEITEM root = tree.SelectPath("/", FALSE);
  ASSERT_NE(root, nullptr);
  EXPECT_NE(tree.GetMyComputerItem(), nullptr);
  EXPECT_EQ(tree.GetParentItem(root), tree.GetMyComputerItem());
  EXPECT_NE(tree.SelectPath(Home("Music").c_str(), FALSE), nullptr);
}

TEST_F(FileTreeTest, RefreshReadsTheDiskAgainAndKeepsTheSelection) {
  CFileTreeCtrl& tree = OpenTree();
  ASSERT_NE(tree.SelectPath(Home("Pictures").c_str(), TRUE), nullptr);
  Folder("home/me/Pictures/Zoo");
  Press(VK_F5);
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home("Pictures"));
  EXPECT_EQ(ChildTexts(tree, tree.GetSelectedItem()), (std::vector<std::string>{"Trip", "trip", "Zoo"}));
  Press(VK_BACK);  // up one level
  EXPECT_EQ(PathOf(tree, tree.GetSelectedItem()), Home());
}

TEST_F(FileTreeTest, NetworkRecordsOwnTheirResourceAndServersAreFoundBelowTheirContainer) {
  CFileTreeCtrl& tree = OpenTree();
  const HTREEITEM network = tree.GetNetworkItem();
  ASSERT_NE(network, nullptr);
  // This system browses no network: records as another system's enumeration would make them.
  char remote[] = "\\\\server", comment[] = "the office", provider[] = "net";
  auto record = [&](DWORD displayType, const char* name) {
    NETRESOURCE resource{};
    resource.dwDisplayType = displayType;
    resource.lpRemoteName = remote;
    resource.lpComment = comment;
    resource.lpProvider = provider;
    auto* data = new CFileTreeItem;
    data->m_nKind = CFileTreeItem::kNetwork;
    data->m_strName = name;
    data->SetNetResource(&resource);
    return data;
  };
  const HTREEITEM domain =
      tree.InsertItem(network, record(RESOURCEDISPLAYTYPE_DOMAIN, "WORKGROUP"), FALSE, 0, 0, FALSE);
  const HTREEITEM server =
      tree.InsertItem(domain, record(RESOURCEDISPLAYTYPE_SERVER, "server"), FALSE, 0, 0, FALSE);
  tree.InsertItem(server, record(RESOURCEDISPLAYTYPE_SHARE, "photos"), FALSE, 0, 0, FALSE);
  EXPECT_EQ(tree.FindServerContainer(network), domain);
  EXPECT_EQ(tree.FindServerContainer(server), nullptr);

  // A copy of a record owns copies of the resource's strings.
  const CFileTreeItem* original = tree.GetItemRecord(server);
  const HTREEITEM copied = tree.CopyBranch(server, network, TVI_LAST);
  const CFileTreeItem* copy = tree.GetItemRecord(copied);
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy->m_pNetResource, nullptr);
  EXPECT_NE(copy->m_pNetResource, original->m_pNetResource);
  EXPECT_NE(copy->m_pNetResource->lpComment, original->m_pNetResource->lpComment);
  EXPECT_STREQ(copy->m_pNetResource->lpComment, "the office");
  EXPECT_EQ(ChildTexts(tree, copied), (std::vector<std::string>{"photos"}));
  EXPECT_EQ(tree.FindServerContainer(network), network) << "the copied server sits right below it";
  tree.SetShowNetwork(FALSE);
  EXPECT_EQ(tree.GetNetworkItem(), nullptr);
  EXPECT_EQ(tree.FindServerContainer(tree.GetDesktopItem()), nullptr);
}

TEST_F(FileTreeTest, TheTreeAsTheUserSeesIt) {
  CFileTreeCtrl& tree = OpenTree();
  tree.Expand(tree.GetMyComputerItem(), TVE_EXPAND);
  ASSERT_NE(tree.SelectPath(Home("Pictures/Trip").c_str(), TRUE), nullptr);
  pictavo::test::PumpPending();
  EXPECT_FALSE(SaveSnapshot("file-tree.png").empty());
}

}  // namespace
}  // namespace filetree_test
