// The video clip page on the headless display with real clips: the rows' texts (sizes past 2 GB
// included), moving and copying by the page's drop operations, clips dropped below the album
// list making a new album, removing all, the two views, and snapshots of both views.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "albums/VideoAlbumPage.h"
#include "albums/VideoClipRules.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "tests/albums/AlbumEditorFixture.h"
#include "tests/support/Snapshot.h"

namespace fs = std::filesystem;

namespace {

class VideoAlbumPageTest : public albumtest::AlbumEditorFixture {
 protected:
  // The skin's bars and colours, as in the program.
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const std::string data = std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/data";
    pictavo::shell::SetLanguageRoot(data);
    g_skinMinor.Load(data.c_str(), "zel_en.xml", FALSE);
    g_skinMain.Load(data.c_str(), "zel_en.xml", FALSE);
  }
  // A video album of the clips, shown on the clip page.
  CDVDAlbumMovie* AlbumOf(const std::vector<std::string>& names) {
    CDVDAlbumBase* slot = nullptr;
    for (const std::string& name : names) {
      EXPECT_TRUE(editor.AddVideoFileAt(&slot, SampleClip(files / name).c_str(), nullptr)) << name;
    }
    auto* album = static_cast<CDVDAlbumMovie*>(slot);
    editor.ShowAlbumSheet(1, TRUE);
    Page().ShowMovieAlbum(album);
    pictavo::test::PumpPending();
    return album;
  }
  CVideoAlbumPage& Page() { return *editor.GetVideoAlbumSheet()->GetClipPage(); }
  CListCtrl& Rows() { return Page().GetListCtrl(); }
  void Select(std::initializer_list<int> rows) {
    for (int i = 0; i < Rows().GetItemCount(); ++i) Rows().SetItemState(i, 0, LVIS_SELECTED);
    for (int row : rows) Rows().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  static std::vector<std::string> Names(const CDVDAlbumMovie* album) {
    std::vector<std::string> names;
    for (int i = 0; i < album->Get_nVideoItemCount(); ++i)
      names.push_back(fs::path(album->Get_pVideoItemData(i)->strPathName.GetString()).filename().string());
    return names;
  }
  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int row = Rows().GetNextItem(-1, LVNI_SELECTED); row != -1;
         row = Rows().GetNextItem(row, LVNI_SELECTED))
      rows.push_back(row);
    return rows;
  }
};

TEST_F(VideoAlbumPageTest, RowsShowEachClipsFacts) {
  CDVDAlbumMovie* album = AlbumOf({"a.mp4", "b.mp4"});
  ASSERT_EQ(Rows().GetItemCount(), 2);
  // A file past 2 GB (sparse) stands behind the second clip.
  const fs::path big = files / "big.mp4";
  fs::copy_file(files / "b.mp4", big);
  fs::resize_file(big, 3ull << 30);
  album->Get_pVideoItemData(1)->strPathName = big.c_str();
  album->Get_pVideoItemData(0)->pSource->dwStart = 5000;
  album->Get_pVideoItemData(0)->pSource->dwEnd = 67500;
  Page().ShowMovieAlbum(album);
  const auto bytes = fs::file_size(files / "a.mp4");
  const std::string size = ClipSizeText(bytes).GetString();
  const std::vector<std::vector<std::string>> rows = {
      {"0001", "a.mp4", size, "00:01:02", "640 x 360", files.string()},
      {"0002", "big.mp4", "3,145,728 KB", "00:00:06", "640 x 360", files.string()},
  };
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 6; ++column)
      EXPECT_EQ(std::string(Rows().GetItemText(row, column).GetString()), rows[row][column])
          << row << "/" << column;
}

TEST_F(VideoAlbumPageTest, DraggedClipsMoveOrCopyWithinTheListAndStaySelected) {
  struct Case {
    std::initializer_list<int> select;
    int target;
    bool copy;
    std::vector<std::string> order;
    std::vector<int> selected;
  };
  const Case cases[] = {
      {{2}, 0, false, {"c.mp4", "a.mp4", "b.mp4"}, {0}},
      {{0, 1}, -1, false, {"c.mp4", "a.mp4", "b.mp4"}, {1, 2}},
      {{0}, 2, true, {"a.mp4", "b.mp4", "a.mp4", "c.mp4"}, {2}},
  };
  for (const Case& c : cases) {
    editor.NewProject();
    CDVDAlbumMovie* album = AlbumOf({"a.mp4", "b.mp4", "c.mp4"});
    Select(c.select);
    EXPECT_EQ(c.copy ? Page().CopySelectedClips(c.target) : Page().MoveSelectedClips(c.target), 1);
    EXPECT_EQ(Names(album), c.order);
    EXPECT_EQ(SelectedRows(), c.selected);
  }
  // Nothing selected: nothing happens.
  Select({});
  EXPECT_EQ(Page().MoveSelectedClips(0), 0);
}

TEST_F(VideoAlbumPageTest, ClipsDroppedBelowTheAlbumsMakeANewVideoAlbum) {
  CDVDAlbumMovie* first = AlbumOf({"a.mp4", "b.mp4"});
  Select({1});
  CMyListBoxA& albums = editor.GetAlbumList();
  CRect item;
  albums.GetItemRect(0, &item);
  CPoint below(item.left + 10, item.bottom + 10);
  albums.ClientToScreen(&below);
  EXPECT_EQ(Page().DropClipsOnAlbum(below.x, below.y, FALSE), 1);
  ASSERT_EQ(GetProject()->GetAlbumCount(), 2);
  auto* second = static_cast<CDVDAlbumMovie*>(GetProject()->GetAlbum(1));
  EXPECT_EQ(Names(first), std::vector<std::string>{"a.mp4"});
  EXPECT_EQ(Names(second), std::vector<std::string>{"b.mp4"});
  EXPECT_EQ(editor.GetCurrentMovieAlbum(), second);
  EXPECT_EQ(Rows().GetItemCount(), 1);
}

TEST_F(VideoAlbumPageTest, RemovingAllLeavesAnEmptyListAndADisabledRemoveButton) {
  CDVDAlbumMovie* album = AlbumOf({"a.mp4", "b.mp4", "c.mp4"});
  CCoolButtonBar* bar = Page().GetButtonBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetButtonCount(), 3);
  Select({1});
  Page().UpdateClipButtons();
  EXPECT_TRUE(bar->IsButtonEnabled(2));
  Page().RemoveSelectedClips();
  EXPECT_EQ(Names(album), (std::vector<std::string>{"a.mp4", "c.mp4"}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{1}) << "the row now at the removed one's place";
  EXPECT_EQ(std::string(Rows().GetItemText(1, 0).GetString()), "0002");
  Page().RemoveAllClips();
  EXPECT_EQ(album->Get_nVideoItemCount(), 0);
  EXPECT_EQ(Rows().GetItemCount(), 0);
  EXPECT_FALSE(bar->IsButtonEnabled(2));
}

TEST_F(VideoAlbumPageTest, DetailsAndBackRestoreTheTiles) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  CDVDAlbumMovie* album = AlbumOf({"a.mp4", "b.mp4", "c.mp4"});
  // A DV clip of a PAL camera.
  _DV_LIST_ITEM_DATA* pal = album->Get_pVideoItemData(2);
  pal->nWidth = 720;
  pal->nHeight = 576;
  pal->bHeightIsTVSystem = TRUE;
  Page().ShowMovieAlbum(album);
  Select({1});
  Page().UpdateClipButtons();
  const auto shoot = [&](const char* name) {
    editor.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pictavo::test::PumpPending();
    EXPECT_TRUE(
        pictavo::display::Headless()->SaveSnapshot(pictavo::test::SnapshotPath(name), owner.GetSafeHwnd()));
  };
  shoot("video-page-tiles.png");
  Page().ShowDetailsView();
  EXPECT_FALSE(Page().IsThumbnailView());
  shoot("video-page-details.png");
  Page().ShowThumbnailView();
  CPoint second;
  ASSERT_TRUE(Rows().GetItemPosition(1, &second));
  CPoint first;
  ASSERT_TRUE(Rows().GetItemPosition(0, &first));
  EXPECT_EQ(second.x - first.x, 128) << "tiles 128 apart again";
}

}  // namespace
