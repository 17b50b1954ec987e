#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "albums/AlbumPhotoDlg.h"
#include "albums/PhotoListRows.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::PumpPending;
using pictavo::test::PumpUntil;

std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}

const char* const kPhotos[] = {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg",
                               "wide_panorama.jpg", "bars_small.jpg"};

class AlbumPhotoDlgTest : public ::testing::Test {
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

  void SetUp() override {
    pictavo::user::InjectMouseMove(POINT{1020, 760});
    ASSERT_TRUE(
        m_owner.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 760, 420), nullptr, 0));
    ASSERT_TRUE(m_page.Create(IDD_ALBUM_PHOTO, &m_owner));
    m_page.MoveWindow(0, 0, 760, 420);
    m_page.ShowWindow(SW_SHOW);
    m_album = new CDVDAlbumImage(GetProject());
    m_album->Set_strAlbumName("Page test");
    for (const char* name : kPhotos) {
      auto* slide = new CDVDImage(m_album);
      slide->Put_strPathName(Source(std::string("samples/media/") + name).c_str());
      m_album->AddDVDImage(slide);
    }
    GetProject()->AddAlbum(m_album);
    PumpPending();
  }

  void TearDown() override {
    m_page.StopThumbnailLoader(TRUE);
    m_page.DestroyWindow();
    m_owner.DestroyWindow();
    GetProject()->DeleteAlbum(m_album);
    PumpPending();
  }

  void FillAndWait() {
    m_page.FillPhotoList(m_album, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return !m_page.IsLoadingThumbnails(); }, 30000));
    PumpPending();
  }
  CListCtrl& List() { return m_page.GetListCtrl(); }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < List().GetItemCount(); ++i) texts.emplace_back(List().GetItemText(i, column).Str());
    return texts;
  }
  std::vector<CDVDImage*> Order() const {
    std::vector<CDVDImage*> order;
    for (int i = 0; i < m_album->GetImageCount(); ++i) order.push_back(m_album->GetImage(i));
    return order;
  }
  void Select(std::initializer_list<int> rows) {
    for (int i = 0; i < List().GetItemCount(); ++i) List().SetItemState(i, 0, LVIS_SELECTED);
    for (int row : rows) List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int i = List().GetNextItem(-1, LVNI_SELECTED); i != -1; i = List().GetNextItem(i, LVNI_SELECTED))
      rows.push_back(i);
    return rows;
  }

  CWnd m_owner;
  AlbumPhotoDlg m_page;
  CDVDAlbumImage* m_album = nullptr;
};

TEST_F(AlbumPhotoDlgTest, RowsShowTheSlidesAndThumbnailsArriveOffTheUiThread) {
  FillAndWait();
  ASSERT_EQ(List().GetItemCount(), 5);
  EXPECT_EQ(Column(kPhotoColumnNumber), (std::vector<std::string>{"0001", "0002", "0003", "0004", "0005"}));
  EXPECT_EQ(Column(kPhotoColumnName)[1], "tower_portrait.jpg");
  EXPECT_EQ(Column(kPhotoColumnPath)[1], Source("samples/media"));
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(reinterpret_cast<CDVDImage*>(List().GetItemData(i)), m_album->GetImage(i));
    EXPECT_TRUE(m_album->GetImage(i)->IsThumbnailCurrent()) << i;
  }
  // Each view as the user sees it.
  auto view = [&](bool thumbnails, DWORD style, const char* snapshot) {
    EXPECT_EQ(static_cast<bool>(m_page.IsThumbnailView()), thumbnails);
    EXPECT_EQ(List().GetStyle() & LVS_TYPEMASK, style);
    m_page.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
    EXPECT_FALSE(pictavo::test::SaveDesktopArea(RECT{0, 0, 760, 420}, snapshot).empty());
  };
  view(true, LVS_ICON, "photo-list-thumbnails.png");
  m_page.SendMessage(WM_COMMAND, ID_PHOTO_VIEW_DETAILS, 0);
  view(false, LVS_REPORT, "photo-list-details.png");
  m_page.SendMessage(WM_COMMAND, ID_PHOTO_VIEW_THUMBNAILS, 0);
  EXPECT_TRUE(m_page.IsThumbnailView());
}

TEST_F(AlbumPhotoDlgTest, SortingByAColumnChangesTheViewNotTheAlbum) {
  FillAndWait();
  const std::vector<CDVDImage*> before = Order();
  m_page.SortByColumn(kPhotoColumnName);
  EXPECT_EQ(Column(kPhotoColumnName),
            (std::vector<std::string>{"bars_small.jpg", "beach_landscape.jpg", "tower_portrait.jpg",
                                      "valley_large.jpg", "wide_panorama.jpg"}));
  EXPECT_TRUE(m_page.IsSortAscending());
  m_page.SortByColumn(kPhotoColumnName);  // the same column again: descending
  EXPECT_FALSE(m_page.IsSortAscending());
  EXPECT_EQ(Column(kPhotoColumnName).front(), "wide_panorama.jpg");
  for (int i = 0; i < List().GetItemCount(); ++i)  // rows keep their slides
    EXPECT_EQ(List().GetItemText(i, kPhotoColumnName),
              CString(reinterpret_cast<CDVDImage*>(List().GetItemData(i))->Get_strPathName())
                  .Mid(CString(reinterpret_cast<CDVDImage*>(List().GetItemData(i))->Get_strPathName())
                           .ReverseFind('/') +
                       1));
  EXPECT_EQ(Order(), before);
}

TEST_F(AlbumPhotoDlgTest, PlainDropMovesAndCtrlDropCopiesWithTheResultSelected) {
  FillAndWait();
  const std::vector<CDVDImage*> before = Order();
  Select({3, 4});
  m_page.MoveSelectionTo(0);
  EXPECT_EQ(Order(), (std::vector<CDVDImage*>{before[3], before[4], before[0], before[1], before[2]}));
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1}));

  Select({2});
  m_page.CopySelectionTo(-1);  // past the last row: at the end
  ASSERT_EQ(m_album->GetImageCount(), 6);
  EXPECT_EQ(SelectedRows(), std::vector<int>{5});
  EXPECT_NE(m_album->GetImage(5), before[0]);
  EXPECT_EQ(m_album->GetImage(5)->Get_strPathName(), before[0]->Get_strPathName());
}

TEST_F(AlbumPhotoDlgTest, ShowingThePageSelectsExactlyTheCurrentSlide) {
  FillAndWait();
  Select({0, 1});
  m_album->m_pCurImage = m_album->GetImage(3);
  m_page.ShowWindow(SW_HIDE);
  m_page.ShowWindow(SW_SHOW);
  EXPECT_EQ(SelectedRows(), std::vector<int>{3});
}

}  // namespace

namespace {

TEST_F(AlbumPhotoDlgTest, DraggingAThumbnailOntoAnotherReordersTheAlbum) {
  FillAndWait();
  const std::vector<CDVDImage*> before = Order();
  CRect from, to;
  List().GetItemRect(4, &from, LVIR_BOUNDS);
  List().GetItemRect(1, &to, LVIR_BOUNDS);
  auto move = [&](CPoint p) {
    List().ClientToScreen(&p);
    pictavo::user::InjectMouseMove(p);
    PumpPending();
  };
  const CPoint start(from.left + 56, from.top + 40), end(to.left + 56, to.top + 40);
  move(start);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  PumpPending();
  for (int step = 1; step <= 8; ++step)
    move(CPoint(start.x + (end.x - start.x) * step / 8, start.y + (end.y - start.y) * step / 8));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  PumpPending();
  EXPECT_EQ(Order(), (std::vector<CDVDImage*>{before[0], before[4], before[1], before[2], before[3]}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(List().GetNextItem(-1, LVNI_DROPHILITED), -1);  // no highlight left behind
  // The next click selects as any click does: the drag left nothing behind in the list.
  CRect first;
  List().GetItemRect(0, &first, LVIR_BOUNDS);
  move(CPoint(first.left + 56, first.top + 40));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  PumpPending();
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
}

}  // namespace

namespace {

TEST_F(AlbumPhotoDlgTest, ThePageOnlyBorrowsTheSkinsThumbnailFrames) {
  FillAndWait();
  m_page.SetThumbnailView();
  HIMAGELIST frames = GetSkinMinor()->GetMiscBitmaps().m_hThumbnailFrames;
  ASSERT_NE(frames, nullptr);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(frames, &cx, &cy));
  const CSize size(cx, cy);
  m_page.StopThumbnailLoader(TRUE);
  m_page.DestroyWindow();
  PumpPending();
  // A later photo page (another project, another window) draws with the same pictures.
  EXPECT_TRUE(ImageList_GetIconSize(frames, &cx, &cy));
  EXPECT_EQ(CSize(cx, cy), size);
}

}  // namespace
