// The thumbnail loader: thumbnails and the two columns reach a list view's slides through
// messages on the UI thread; a stopped or restarted load, and a row that now holds another
// slide, get nothing.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "modules/data/DVDImage.h"
#include "modules/data/ImageLoadManager.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/user/User.h"
#include "tests/modules/data/DataFixtures.h"

namespace {

using datatest::ScratchDir;

constexpr DWORD kGuardMs = 10000;  // a hang guard; never reached when things work

// A report-view list with the photo list's six columns.
class PhotoList {
 public:
  PhotoList() {
    InitCommonControls();
    m_hwnd = CreateWindowEx(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT, 0, 0, 400, 300, nullptr, nullptr,
                            nullptr, nullptr);
    for (int i = 0; i < 6; ++i) {
      LVCOLUMN column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = 60;
      column.pszText = const_cast<LPSTR>("c");
      SendMessage(m_hwnd, LVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
  }
  ~PhotoList() { DestroyWindow(m_hwnd); }
  HWND Handle() const { return m_hwnd; }

  void Add(void* data) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = Count();
    item.pszText = const_cast<LPSTR>("row");
    item.lParam = reinterpret_cast<LPARAM>(data);
    SendMessage(m_hwnd, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  void SetData(int row, void* data) {
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = reinterpret_cast<LPARAM>(data);
    SendMessage(m_hwnd, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  void Remove(int row) { SendMessage(m_hwnd, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }
  int Count() const { return static_cast<int>(SendMessage(m_hwnd, LVM_GETITEMCOUNT, 0, 0)); }
  std::string Text(int row, int column) const {
    char text[128] = {};
    LVITEM item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessage(m_hwnd, LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }

 private:
  HWND m_hwnd = nullptr;
};

// Lets the load finish, then hands the UI thread everything it posted.
void FinishLoad(CImageLoadManager& loader) {
  ASSERT_EQ(WaitForSingleObject(loader.m_hDoneEvent, kGuardMs), WAIT_OBJECT_0);
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

class ThumbnailLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    const COLORREF colours[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    for (int i = 0; i < 3; ++i) {
      m_slides.push_back(std::make_unique<CDVDImage>());
      m_slides.back()->Put_strPathName(
          datatest::MakePhoto(m_dir, "p" + std::to_string(i) + ".jpg", 64 + 16 * i, 48, colours[i]).c_str());
    }
  }
  CDVDImage& Slide(int i) { return *m_slides[static_cast<size_t>(i)]; }

  ScratchDir m_dir;
  std::vector<std::unique_ptr<CDVDImage>> m_slides;
  PhotoList m_list;
};

TEST_F(ThumbnailLoader, ThumbnailsAndFactsArriveOnTheUiThread) {
  for (auto& slide : m_slides) m_list.Add(slide.get());
  CImageLoadManager loader(1, 3, 4, 1, 2, 5);
  ASSERT_TRUE(loader.StartLoadImageThread(m_list.Handle()));
  FinishLoad(loader);
  EXPECT_FALSE(loader.IsThreadStarted());
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Slide(i).IsThumbnailCurrent()) << i;
    EXPECT_EQ(Slide(i).m_nWidth, 64 + 16 * i) << i;
    EXPECT_EQ(m_list.Text(i, 4), (i == 0 ? "   64 x 48" : i == 1 ? "   80 x 48" : "   96 x 48")) << i;
    EXPECT_EQ(m_list.Text(i, 3).size(), 19u) << i << ": a date and time";
    EXPECT_EQ(m_list.Text(i, 0), "row") << i << ": other columns are the list's";
  }
  // Nothing is loaded twice: a restart with current thumbnails starts no work.
  const DWORD before = Slide(0).GetLookStamp();
  ASSERT_TRUE(loader.WaitForThreadTerminatedAndRestart(m_list.Handle()));
  FinishLoad(loader);
  EXPECT_EQ(Slide(0).GetLookStamp(), before);
  // A turned slide is loaded again.
  Slide(1).Put_nRotateAngle(90);
  EXPECT_FALSE(Slide(1).IsThumbnailCurrent());
  ASSERT_TRUE(loader.WaitForThreadTerminatedAndRestart(m_list.Handle()));
  FinishLoad(loader);
  EXPECT_TRUE(Slide(1).IsThumbnailCurrent());
  EXPECT_GT(Slide(1).GetThumbnail(0, 0)->GetHeight(), Slide(1).GetThumbnail(0, 0)->GetWidth()) << "turned";
}

TEST_F(ThumbnailLoader, AStoppedLoadDeliversNothingSoADeletedSlideIsNeverTouched) {
  for (auto& slide : m_slides) m_list.Add(slide.get());
  CImageLoadManager loader(1, 3, 4, 1, 2, 5);
  const DWORD generation = loader.GetGeneration();
  ASSERT_TRUE(loader.StartLoadImageThread(m_list.Handle()));
  EXPECT_GT(loader.GetGeneration(), generation);
  ASSERT_EQ(WaitForSingleObject(loader.m_hDoneEvent, kGuardMs), WAIT_OBJECT_0);  // its messages are waiting
  // As the pages do before they free rows: stop the loader, then remove the slide's row.
  loader.WaitForThreadTerminated(TRUE);
  m_list.Remove(1);
  FinishLoad(loader);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Slide(i).GetThumbnail(0, 0), nullptr) << i << ": the stopped load's";
  // A new load serves the rows as they are now.
  ASSERT_TRUE(loader.StartLoadImageThread(m_list.Handle()));
  FinishLoad(loader);
  EXPECT_NE(Slide(0).GetThumbnail(0, 0), nullptr);
  EXPECT_EQ(Slide(1).GetThumbnail(0, 0), nullptr) << "the removed slide";
  EXPECT_NE(Slide(2).GetThumbnail(0, 0), nullptr);
}

TEST_F(ThumbnailLoader, ARowThatNowHoldsAnotherSlideGetsNothing) {
  for (auto& slide : m_slides) m_list.Add(slide.get());
  CImageLoadManager loader(1, 3, 4, 1, 2, 5);
  ASSERT_TRUE(loader.StartLoadImageThread(m_list.Handle()));
  ASSERT_EQ(WaitForSingleObject(loader.m_hDoneEvent, kGuardMs), WAIT_OBJECT_0);
  // Rows 0 and 1 swap their slides before the thumbnails are handed over.
  m_list.SetData(0, &Slide(1));
  m_list.SetData(1, &Slide(0));
  FinishLoad(loader);
  EXPECT_EQ(Slide(0).GetThumbnail(0, 0), nullptr);
  EXPECT_EQ(Slide(1).GetThumbnail(0, 0), nullptr);
  EXPECT_NE(Slide(2).GetThumbnail(0, 0), nullptr);
}

TEST_F(ThumbnailLoader, FileBrowserRowsLoadTheirPhotosOnly) {
  struct Row {
    int kind;
    void* data;
  };
  CString music("/music/a.mp3");
  Row rows[3] = {{1, &music}, {0, &Slide(0)}, {2, &music}};
  for (Row& row : rows) m_list.Add(&row);
  CImageLoadManager loader(0, 4, 5, 0, 0, 0);
  ASSERT_TRUE(loader.StartLoadImageThread(m_list.Handle()));
  FinishLoad(loader);
  EXPECT_TRUE(Slide(0).IsThumbnailCurrent());
  EXPECT_EQ(m_list.Text(1, 5), "   64 x 48");
  EXPECT_EQ(m_list.Text(0, 5), "") << "a music row";
}

TEST_F(ThumbnailLoader, NoListNoLoad) {
  CImageLoadManager loader(1, 3, 4, 1, 2, 5);
  EXPECT_FALSE(loader.StartLoadImageThread(static_cast<HWND>(nullptr)));
  EXPECT_FALSE(loader.IsThreadStarted());
}

}  // namespace
