// The file browser panel in the organize page on the headless display: what a folder lists, the
// sort by column, the keys the panel leaves alone, and where rows dragged with the mouse onto the
// album editor's windows land. Snapshots land under build/bin/test-output/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/AlbumPhotoDlg.h"
#include "albums/ExploreBarDlg.h"
#include "albums/ExploreBarRules.h"
#include "albums/FileTreeCtrl.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ImageLoadManager.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/InputSynth.h"
#include "platform/kernel/Path.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;
using pictavo::test::PumpPending;
using pictavo::test::PumpUntil;

namespace {

std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}

const char* const kPhotos[] = {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg",
                               "wide_panorama.jpg", "bars_small.jpg"};

class ExploreBarDlgTest : public RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    pictavo::shell::SetLanguageRoot(Source("data"));
    g_skinMinor.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    g_skinMain.Load(Source("data").c_str(), "zel_en.xml", FALSE);
  }

  // The organize page at 1024 x 700 with the panel 260 pixels high, showing `folder` first.
  void Open(const std::string& folder, int sortSetting = 0) {
    pictavo::user::InjectMouseMove(POINT{1020, 760});
    CWindowSettings& window = GetAppSettings()->Window;
    window.LastFolder = folder.c_str();
    window.FileListSortType = sortSetting;
    window.ExploreBarHeight = 260;
    window.ShellTreeWidth = 270;
    ASSERT_TRUE(
        owner.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
                       WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1024, 700), nullptr, 0));
    ASSERT_TRUE(page.Create(IDD_PAGE_EDITOR_NEW, &owner));
    page.MoveWindow(0, 0, 1024, 700);
    page.ShowWindow(SW_SHOW);
    Editor().NewProject();
    PumpPending();
  }
  void TearDown() override {
    if (page.GetSafeHwnd() != nullptr) {
      Editor().NewProject();
      page.DestroyWindow();
    }
    owner.DestroyWindow();
    PumpPending();
    CWnd::DeleteTempMap();
  }

  ExploreBarDlg& Panel() { return *page.GetExploreBar(); }
  AlbumEditorDlg& Editor() { return *page.GetAlbumEditor(); }
  CListCtrl& Files() { return Panel().GetFileList(); }
  CListCtrl& PhotoRows() { return Editor().GetAlbumSheet().GetPhotoPage().GetListCtrl(); }

  std::string Touch(const fs::path& path, size_t bytes = 1) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << std::string(bytes, 'x');
    return path.string();
  }
  std::string Photo(const fs::path& path, int sample = 0) {
    fs::create_directories(path.parent_path());
    fs::copy_file(Source(std::string("samples/media/") + kPhotos[sample]), path);
    return path.string();
  }
  int RowOf(const std::string& name) {
    for (int row = 0; row < Files().GetItemCount(); ++row)
      if (std::string(Files().GetItemText(row, BROWSER_COLUMN_NAME).GetString()) == name) return row;
    return -1;
  }
  const _tagBrowserItem* ItemOf(int row) {
    return reinterpret_cast<const _tagBrowserItem*>(Files().GetItemData(row));
  }
  void SelectRows(const std::vector<const char*>& names) {
    for (int row = 0; row < Files().GetItemCount(); ++row) Files().SetItemState(row, 0, LVIS_SELECTED);
    for (const char* name : names) {
      const int row = RowOf(name);
      ASSERT_GE(row, 0) << name;
      Files().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  // Presses the left button on the row `name`, moves in eight steps to `to` (screen) and
  // releases there, each input handled before the next, as a user's drag. Successive drags
  // press `shift` pixels apart, so that two presses never make a double click.
  void DragRowTo(const char* name, CPoint to, int shift = 0) {
    CRect rc;
    ASSERT_TRUE(Files().GetItemRect(RowOf(name), &rc, LVIR_BOUNDS));
    CPoint from(rc.left + 16 + shift, rc.top + 39);
    Files().ClientToScreen(&from);
    pictavo::user::InjectMouseMove(from);
    PumpPending();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    PumpPending();
    for (int step = 1; step <= 8; ++step) {
      pictavo::user::InjectMouseMove(
          POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8});
      PumpPending();
    }
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    PumpPending();
  }
  static CPoint OnScreen(CWnd& wnd, CPoint client) {
    wnd.ClientToScreen(&client);
    return client;
  }
  std::vector<std::string> AlbumNames() {
    std::vector<std::string> names;
    for (int i = 0; i < GetProject()->GetAlbumCount(); ++i)
      names.push_back(GetProject()->GetAlbum(i)->Get_strAlbumName().GetString());
    return names;
  }
  static std::vector<std::string> SlideNames(CDVDAlbumBase* base) {
    std::vector<std::string> names;
    auto* album = dynamic_cast<CDVDAlbumImage*>(base);
    for (int i = 0; album != nullptr && i < album->GetImageCount(); ++i)
      names.emplace_back(pictavo::path::FileName(album->GetImage(i)->Get_strPathName().GetString()));
    return names;
  }
  // An album of the photos p1.jpg, p2.jpg, p3.jpg, selected and shown.
  CDVDAlbumBase* MakeAlbum(const char* name) {
    CDVDAlbumBase* slot = nullptr;
    for (const char* photo : {"p1.jpg", "p2.jpg", "p3.jpg"})
      Editor().AddPhotoFile(&slot, Touch(fs::path(scratch.Path()) / name / photo).c_str(), nullptr, name);
    Editor().RefreshAfterAdd(slot, nullptr, TRUE);
    PumpPending();
    return slot;
  }

  ScratchDir scratch;
  CWnd owner;
  CPageEditorNew page;
};

TEST_F(ExploreBarDlgTest, AFolderListsItsSubfoldersPhotosAndMusicWithTheirSizes) {
  const fs::path folder = fs::path(scratch.Path()) / "Listing";
  Touch(folder / "a.JPG", 1);
  Touch(folder / "b.mp3", 1048577);
  Touch(folder / "c.txt");
  Touch(folder / ".d.jpg");
  Touch(folder / "x.jp");
  Touch(folder / "no dot");
  Touch(folder / "empty.png", 0);
  fs::create_directories(folder / "Trip");
  {
    // A sparse file past 4 GiB: its size must not wrap through a 32-bit field.
    std::ofstream big(folder / "big.wav");
    big.seekp(4294967296ll + 1023);
    big.put('x');
  }
  Open(folder.string());
  ASSERT_EQ(Panel().m_strCurrentFolder, CString(folder.string().c_str()));

  struct Row {
    int kind;
    std::string size;
    std::string path;
  };
  const std::map<std::string, Row> expected = {
      {"..", {BROWSER_ROW_FOLDER, "", scratch.Path() + "/"}},
      {"Trip", {BROWSER_ROW_FOLDER, "", (folder / "Trip").string()}},
      {"a.JPG", {BROWSER_ROW_PHOTO, "1 KB", (folder / "a.JPG").string()}},
      {"b.mp3", {BROWSER_ROW_MUSIC, "1,025 KB", (folder / "b.mp3").string()}},
      {"empty.png", {BROWSER_ROW_PHOTO, "0 KB", (folder / "empty.png").string()}},
      {"big.wav", {BROWSER_ROW_MUSIC, "4,194,305 KB", (folder / "big.wav").string()}},
  };
  std::map<std::string, Row> listed;
  for (int row = 0; row < Files().GetItemCount(); ++row) {
    const _tagBrowserItem* item = ItemOf(row);
    ASSERT_NE(item, nullptr);
    listed[Files().GetItemText(row, BROWSER_COLUMN_NAME).GetString()] = {
        item->nKind, Files().GetItemText(row, BROWSER_COLUMN_SIZE).GetString(),
        BrowserItemPath(item).GetString()};
  }
  ASSERT_EQ(listed.size(), expected.size());
  for (const auto& [name, row] : expected) {
    ASSERT_TRUE(listed.count(name)) << name;
    EXPECT_EQ(listed[name].kind, row.kind) << name;
    EXPECT_EQ(listed[name].size, row.size) << name;
    EXPECT_EQ(listed[name].path, row.path) << name;
  }
  // Only files show a modification time, every row but ".." a type.
  EXPECT_FALSE(Files().GetItemText(RowOf("a.JPG"), BROWSER_COLUMN_MODIFIED).IsEmpty());
  EXPECT_TRUE(Files().GetItemText(RowOf("Trip"), BROWSER_COLUMN_MODIFIED).IsEmpty());
  EXPECT_TRUE(Files().GetItemText(RowOf(".."), BROWSER_COLUMN_TYPE).IsEmpty());

  int photos = -1, music = -1, videos = -1;
  Panel().CountAllItems(&photos, &music, &videos);
  EXPECT_EQ(std::vector<int>({photos, music, videos}), std::vector<int>({2, 2, 0}));

  // The root has nowhere to go up to.
  Panel().DisplayFolder("/");
  EXPECT_EQ(RowOf(".."), -1);
  EXPECT_GE(RowOf("tmp"), 0);
}

TEST_F(ExploreBarDlgTest, HeaderClicksSortBySizeUpThenDownAndTheViewKeepsTheOrder) {
  const fs::path folder = fs::path(scratch.Path()) / "Sizes";
  Touch(folder / "middle.jpg", 5000);
  Touch(folder / "large.jpg", 3000000);
  Touch(folder / "small.jpg", 10);
  Open(folder.string(), 7);
  // A stored 7 is column 1.
  EXPECT_EQ(Panel().GetSortColumn(), 1);
  Panel().SendMessage(WM_COMMAND, 32818);  // Details
  auto order = [&] {
    std::vector<std::string> names;
    for (int row = 0; row < Files().GetItemCount(); ++row)
      names.emplace_back(Files().GetItemText(row, 0).GetString());
    return names;
  };
  auto clickSize = [&] {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = Files().GetSafeHwnd();
    click.hdr.idFrom = IDC_EXPLORE_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = BROWSER_COLUMN_SIZE;
    Panel().SendMessage(WM_NOTIFY, IDC_EXPLORE_LIST, reinterpret_cast<LPARAM>(&click));
  };
  clickSize();
  // ".." has no size: the shortest text comes first.
  EXPECT_EQ(order(), std::vector<std::string>({"..", "small.jpg", "middle.jpg", "large.jpg"}));
  HDITEM arrow{};
  arrow.mask = HDI_FORMAT;
  Files().GetHeaderCtrl()->GetItem(BROWSER_COLUMN_SIZE, &arrow);
  EXPECT_NE(arrow.fmt & HDF_BITMAP, 0);
  clickSize();
  EXPECT_EQ(order(), std::vector<std::string>({"large.jpg", "middle.jpg", "small.jpg", ".."}));
  Panel().SendMessage(WM_COMMAND, 32819);  // Thumbnails
  EXPECT_TRUE(Panel().IsThumbnailView());
  EXPECT_EQ(order(), std::vector<std::string>({"large.jpg", "middle.jpg", "small.jpg", ".."}));
  EXPECT_EQ(GetAppSettings()->Window.FileListSortType, BROWSER_COLUMN_SIZE);
}

TEST_F(ExploreBarDlgTest, ANegativeStoredSortColumnSortsByName) {
  Open(scratch.Path(), -1);
  EXPECT_EQ(Panel().GetSortColumn(), 0);
}

TEST_F(ExploreBarDlgTest, F2AndDeleteDoNothingInThePanel) {
  const fs::path folder = fs::path(scratch.Path()) / "Keys";
  fs::create_directories(folder / "Keep");
  Touch(folder / "photo.jpg");
  Open(folder.string());
  CTreeCtrl& tree = *Panel().GetFolderTree();
  ASSERT_NE(tree.GetSelectedItem(), nullptr);
  const CString selectedPath = Panel().GetSelectedTreeFolder();
  const int treeItems = static_cast<int>(tree.GetCount());

  for (UINT key : {VK_F2, VK_DELETE}) {
    tree.SetFocus();
    pictavo::display::PressKey(key);
    PumpPending();
    EXPECT_EQ(tree.GetEditControl(), nullptr) << key;
    Files().SetFocus();
    SelectRows({"Keep", "photo.jpg"});
    pictavo::display::PressKey(key);
    PumpPending();
    EXPECT_EQ(Files().GetEditControl(), nullptr) << key;
  }
  EXPECT_TRUE(fs::is_directory(folder / "Keep"));
  EXPECT_TRUE(fs::exists(folder / "photo.jpg"));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(static_cast<int>(tree.GetCount()), treeItems);
  EXPECT_EQ(Panel().GetSelectedTreeFolder(), selectedPath);
  EXPECT_EQ(Files().GetItemCount(), 3);  // "..", Keep, photo.jpg
}

TEST_F(ExploreBarDlgTest, DoubleClickedFoldersOpenInTheListAndTheTreeWithOneListing) {
  const fs::path trip = fs::path(scratch.Path()) / "Pictures" / "Trip";
  Touch(trip / "Day two" / "a.jpg");
  Open(trip.string());
  // What one listing moves the loader's count on by.
  DWORD before = Panel().GetThumbnailLoader().GetGeneration();
  Panel().DisplayFolder(trip.string().c_str());
  const DWORD oneListing = Panel().GetThumbnailLoader().GetGeneration() - before;
  struct Step {
    const char* row;
    fs::path shown;
  };
  const Step kSteps[] = {
      {"Day two", trip / "Day two"}, {"..", trip}, {"..", trip.parent_path()}, {"Trip", trip}};
  int shift = 0;
  for (const Step& step : kSteps) {
    SCOPED_TRACE(step.row);
    before = Panel().GetThumbnailLoader().GetGeneration();
    CRect rc;
    ASSERT_TRUE(Files().GetItemRect(RowOf(step.row), &rc, LVIR_BOUNDS));
    pictavo::display::Click(OnScreen(Files(), CPoint(rc.left + 20 + shift, rc.top + 30)),
                            pictavo::user::MouseButton::kLeft, 2);
    shift += 6;
    PumpPending();
    EXPECT_EQ(std::string(Panel().m_strCurrentFolder.GetString()), step.shown.string());
    EXPECT_EQ(std::string(Panel().GetFolderTree()->GetSelectedPath().GetString()), step.shown.string());
    // The list was filled once: the tree's selection did not fill it again.
    EXPECT_EQ(Panel().GetThumbnailLoader().GetGeneration() - before, oneListing);
  }
}

TEST_F(ExploreBarDlgTest, ASelectionChangeToAnItemTheTreeDeletedLeavesTheListAlone) {
  const fs::path folder = fs::path(scratch.Path()) / "Shown";
  Touch(folder / "a.jpg");
  fs::create_directories(folder / "Gone");
  Open(folder.string());
  CFileTreeCtrl& tree = *Panel().GetFolderTree();
  const HTREEITEM gone = tree.SelectPath((folder / "Gone").c_str(), FALSE);
  ASSERT_NE(gone, nullptr);
  Panel().DisplayFolder(folder.c_str());
  const int rows = Files().GetItemCount();
  tree.CTreeCtrl::DeleteItem(gone);
  // As the tree reports the selection moving off an item it is deleting.
  NMTREEVIEW notify{};
  notify.hdr.hwndFrom = tree.GetSafeHwnd();
  notify.hdr.idFrom = IDC_EXPLORE_TREE;
  notify.hdr.code = TVN_SELCHANGED;
  notify.itemNew.hItem = gone;
  Panel().SendMessage(WM_NOTIFY, IDC_EXPLORE_TREE, reinterpret_cast<LPARAM>(&notify));
  EXPECT_EQ(std::string(Panel().m_strCurrentFolder.GetString()), folder.string());
  EXPECT_EQ(Files().GetItemCount(), rows);
}

// Rows held near the top of the photo list or the album list scroll it; the scrolling stops when
// the button is released there, and when the drag loses the mouse to another window.
TEST_F(ExploreBarDlgTest, AutoScrollStopsOnReleaseAndWhenTheMouseIsTakenAway) {
  const fs::path folder = fs::path(scratch.Path()) / "Scroll";
  Touch(folder / "new.jpg");
  Open(folder.string());
  CDVDAlbumBase* many = nullptr;
  for (int i = 0; i < 40; ++i)
    Editor().AddPhotoFile(&many, Touch(folder / "Many" / ("m" + std::to_string(i) + ".jpg")).c_str(), nullptr,
                          "Many");
  for (int i = 0; i < 11; ++i) MakeAlbum(("Album " + std::to_string(i)).c_str());
  struct Case {
    const char* list;
    bool release;  // else another window takes the mouse
  };
  const Case kCases[] = {{"photos", true}, {"photos", false}, {"albums", true}, {"albums", false}};
  int shift = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.list) + (c.release ? " released" : " capture lost"));
    const bool photos = std::string(c.list) == "photos";
    Editor().SelectAlbum(many);
    Editor().RefreshAfterAdd(many, nullptr, TRUE);
    PumpPending();
    CListBox& albums = Editor().GetAlbumList();
    CWnd& list = photos ? static_cast<CWnd&>(PhotoRows()) : static_cast<CWnd&>(albums);
    auto top = [&] { return photos ? PhotoRows().GetScrollPos(SB_VERT) : albums.GetTopIndex(); };
    // Scrolled to the end, so that there is room to scroll up.
    if (photos)
      PhotoRows().EnsureVisible(PhotoRows().GetItemCount() - 1, FALSE);
    else
      albums.SetTopIndex(albums.GetCount() - 1);
    PumpPending();
    const int scrolledTo = top();
    ASSERT_GT(scrolledTo, 0);
    SelectRows({"new.jpg"});
    CRect rc;
    ASSERT_TRUE(Files().GetItemRect(RowOf("new.jpg"), &rc, LVIR_BOUNDS));
    const CPoint from = OnScreen(Files(), CPoint(rc.left + 16 + shift, rc.top + 39));
    shift += 8;
    CRect client;
    list.GetClientRect(&client);
    const CPoint band = OnScreen(list, CPoint(client.CenterPoint().x, 5));
    pictavo::user::InjectMouseMove(from);
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    PumpPending();
    for (int step = 1; step <= 8; ++step) {
      pictavo::user::InjectMouseMove(
          POINT{from.x + (band.x - from.x) * step / 8, from.y + (band.y - from.y) * step / 8});
      PumpPending();
    }
    ASSERT_TRUE(PumpUntil([&] { return top() < scrolledTo; }, 5000)) << "the list does not scroll";
    if (c.release) {
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    } else {
      owner.SetCapture();
      ::ReleaseCapture();
    }
    PumpPending();
    // The scroll timer is gone: nothing scrolls on after the drag.
    const HWND timerWindow =
        photos ? Editor().GetAlbumSheet().GetPhotoPage().GetSafeHwnd() : Editor().GetSafeHwnd();
    EXPECT_FALSE(::KillTimer(timerWindow, photos ? 7203 : 7213));
    if (!c.release) {
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
      PumpPending();
    }
  }
}

// Where rows dropped on each of the album editor's windows land: the album, the place among its
// slides and the name of an album the drop has to make.
TEST_F(ExploreBarDlgTest, DroppedRowsLandInTheAlbumAndPlaceUnderThePointer) {
  const fs::path rome = fs::path(scratch.Path()) / "Trips" / "Rome";
  for (const char* name : {"r1.jpg", "r2.jpg", "r3.jpg"}) Touch(rome / name);
  Touch(rome / "Forum" / "f1.jpg");
  Open(rome.string());
  Panel().SortByColumn(BROWSER_COLUMN_NAME);  // "..", Forum, r1.jpg, r2.jpg, r3.jpg
  ASSERT_GE(RowOf("r1.jpg"), 0);
  CWnd& albumList = Editor().GetAlbumList();

  // clang-format off
  struct Case {
    const char* what;
    std::vector<const char*> rows;
    const char* target;  // "photos" (over slide `slide`, -1 below the last), "albums" (over album
    int slide;           // `slide`), "music" (the album options page's music list)
    bool withAlbums;     // albums "Base" (selected) and "Other" exist before the drop
    std::vector<std::string> albums;
    std::string album;     // the album that took the rows
    std::vector<std::string> slides;
    std::string selected;  // the album shown afterwards
  };
  const std::vector<Case> kCases = {
      {"photos, no album", {"r1.jpg", "r2.jpg", "r3.jpg"}, "photos", -1, false,
       {"Rome"}, "Rome", {"r1.jpg", "r2.jpg", "r3.jpg"}, "Rome"},
      {"photos over slide 2", {"r1.jpg", "r2.jpg"}, "photos", 1, true,
       {"Base", "Other"}, "Base", {"p1.jpg", "r1.jpg", "r2.jpg", "p2.jpg", "p3.jpg"}, "Base"},
      {"photos below the last slide", {"r3.jpg"}, "photos", -1, true,
       {"Base", "Other"}, "Base", {"p1.jpg", "p2.jpg", "p3.jpg", "r3.jpg"}, "Base"},
      {"photos on another album's card", {"r2.jpg"}, "albums", 1, true,
       {"Base", "Other"}, "Other", {"p1.jpg", "p2.jpg", "p3.jpg", "r2.jpg"}, "Other"},
      {"the parent row alone", {".."}, "photos", -1, true,
       {"Base", "Other"}, "Base", {"p1.jpg", "p2.jpg", "p3.jpg"}, "Base"},
      // Ctrl+A takes the parent row too: it is skipped and does not name the album.
      {"everything, no album", {"..", "Forum", "r1.jpg", "r2.jpg", "r3.jpg"}, "photos", -1, false,
       {"Rome"}, "Rome", {"f1.jpg", "r1.jpg", "r2.jpg", "r3.jpg"}, "Rome"},
      {"one folder on the music list, no album", {"Forum"}, "music", -1, false,
       {"Forum"}, "Forum", {"f1.jpg"}, "Forum"},
  };
  // clang-format on
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    Editor().NewProject();
    PumpPending();
    if (c.withAlbums) {
      CDVDAlbumBase* base = MakeAlbum("Base");
      MakeAlbum("Other");
      Editor().SelectAlbum(base);
      PumpPending();
    }
    SelectRows(c.rows);
    CPoint to;
    const std::string target = c.target;
    if (target == "photos") {
      CRect rc;
      if (c.slide >= 0 && PhotoRows().GetItemRect(c.slide, &rc, LVIR_BOUNDS)) {
        to = OnScreen(PhotoRows(), rc.CenterPoint());
      } else {
        PhotoRows().GetClientRect(&rc);
        to = OnScreen(PhotoRows(), CPoint(rc.right - 40, rc.bottom - 40));
      }
    } else if (target == "music") {
      Editor().SelectPropPage(1);
      PumpPending();
      CWnd* music = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumOptionsOne);
      ASSERT_NE(music, nullptr);
      music = music->GetDlgItem(IDC_OPTIONS_MUSIC_LIST);
      ASSERT_NE(music, nullptr);
      ASSERT_TRUE(music->IsWindowVisible());
      CRect rc;
      music->GetClientRect(&rc);
      to = OnScreen(*music, rc.CenterPoint());
    } else if (target == "albums") {
      CRect rc;
      ASSERT_NE(Editor().GetAlbumList().GetItemRect(c.slide, &rc), LB_ERR);
      to = OnScreen(albumList, rc.CenterPoint());
    }
    DragRowTo(c.rows.back(), to, 8 * static_cast<int>(&c - kCases.data()));
    EXPECT_EQ(AlbumNames(), c.albums);
    CDVDAlbumBase* took = nullptr;
    for (int i = 0; i < GetProject()->GetAlbumCount(); ++i)
      if (c.album == GetProject()->GetAlbum(i)->Get_strAlbumName().GetString())
        took = GetProject()->GetAlbum(i);
    ASSERT_NE(took, nullptr);
    EXPECT_EQ(SlideNames(took), c.slides);
    ASSERT_NE(Editor().GetSelectedAlbum(), nullptr);
    EXPECT_EQ(std::string(Editor().GetSelectedAlbum()->Get_strAlbumName().GetString()), c.selected);
  }
}

TEST_F(ExploreBarDlgTest, ATreeFolderDroppedOnThePhotoListGoesBeforeTheSlideUnderThePointer) {
  const fs::path rome = fs::path(scratch.Path()) / "Trips" / "Rome";
  for (const char* name : {"r1.jpg", "r2.jpg"}) Touch(rome / name);
  Open(rome.parent_path().string());
  CDVDAlbumBase* base = MakeAlbum("Base");
  Editor().SelectAlbum(base);
  PumpPending();
  CFileTreeCtrl& tree = *Panel().GetFolderTree();
  const HTREEITEM item = tree.SelectPath(rome.c_str(), FALSE);
  ASSERT_NE(item, nullptr);
  tree.Invalidate();
  PumpPending();
  CRect from, over;
  ASSERT_TRUE(tree.GetItemRect(item, &from, TRUE));
  ASSERT_TRUE(PhotoRows().GetItemRect(1, &over, LVIR_BOUNDS));
  const CPoint start = OnScreen(tree, from.CenterPoint()), end = OnScreen(PhotoRows(), over.CenterPoint());
  pictavo::user::InjectMouseMove(start);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  PumpPending();
  for (int step = 1; step <= 8; ++step) {
    pictavo::user::InjectMouseMove(
        POINT{start.x + (end.x - start.x) * step / 8, start.y + (end.y - start.y) * step / 8});
    PumpPending();
  }
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  PumpPending();
  // No subfolders: no question; the folder's photos go before the second slide.
  EXPECT_EQ(AlbumNames(), std::vector<std::string>({"Base"}));
  EXPECT_EQ(SlideNames(base), std::vector<std::string>({"p1.jpg", "r1.jpg", "r2.jpg", "p2.jpg", "p3.jpg"}));
}

TEST_F(ExploreBarDlgTest, ThePanelLooksFinishedWithItsTilesAndTree) {
  const fs::path trip = fs::path(scratch.Path()) / "Pictures" / "Trip";
  for (int i = 0; i < 5; ++i) Photo(trip / kPhotos[i], i);
  Touch(trip / "song.mp3", 40000);
  fs::create_directories(trip / "Day two");
  Open(trip.string());
  // The panel only borrows the skin's tile pictures: they outlive it (the list shares them).
  Editor().NewProject();
  page.DestroyWindow();
  owner.DestroyWindow();
  PumpPending();
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(GetSkinMinor()->GetMiscBitmaps().m_hBrowserTiles, &cx, &cy));
  EXPECT_EQ(CSize(cx, cy), CSize(78, 78));
  Open(trip.string());
  // Every photo tile has its thumbnail before the picture is taken.
  ASSERT_TRUE(PumpUntil(
      [&] {
        for (int row = 0; row < Files().GetItemCount(); ++row) {
          const _tagBrowserItem* item = ItemOf(row);
          if (item->nKind == BROWSER_ROW_PHOTO &&
              static_cast<CDVDImage*>(item->pData)->GetThumbnail(0, 0) == nullptr)
            return false;
        }
        return true;
      },
      30000));
  SelectRows({"beach_landscape.jpg", "valley_large.jpg"});
  Files().SetFocus();
  PumpPending();
  page.UpdateWindow();
  CRect rc;
  Panel().GetWindowRect(&rc);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(rc, "explore-bar-thumbnails.png").empty());
  Panel().SendMessage(WM_COMMAND, 32818);  // Details
  PumpPending();
  page.UpdateWindow();
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(rc, "explore-bar-details.png").empty());
  // The tree is never narrower than 270 pixels.
  CRect treeRect;
  Panel().GetFolderTree()->GetWindowRect(&treeRect);
  EXPECT_GE(treeRect.Width(), 270);
}

}  // namespace
