// The page set: pages placed into the owner's frame, one shown at a time, messages to one page
// or to all of them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/mfc/Afx.h"
#include "shell/PageSet.h"

namespace {

// A page that notes the messages the tests look for.
class Page : public CWnd {
 public:
  std::vector<UINT> shows;  // WM_SHOWWINDOW: 1 shown, 0 hidden
  int pings = 0;            // WM_APP

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SHOWWINDOW) shows.push_back(static_cast<UINT>(wParam));
    if (message == WM_APP) {
      ++pings;
      return 7;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class PageSetTest : public ::testing::Test {
 protected:
  PageSetTest() {
    EXPECT_TRUE(
        owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, CRect(100, 80, 600, 480), nullptr, 0));
    // The frame, as the owner gives it: a placeholder's rectangle in screen coordinates.
    CRect frame(20, 30, 220, 180);
    owner.ClientToScreen(&frame);
    set.m_rcFrame = frame;
  }
  ~PageSetTest() override {
    for (Page& page : pages)
      if (page.GetSafeHwnd() != nullptr) page.DestroyWindow();
    owner.DestroyWindow();
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    CWnd::DeleteTempMap();
  }
  Page& MakePage(int index, int width, int height, DWORD visible = WS_VISIBLE) {
    EXPECT_TRUE(pages[index].CreateEx(0, nullptr, "Page", WS_CHILD | visible,
                                      CRect(3, 4, 3 + width, 4 + height), &owner, 100 + index));
    return pages[index];
  }
  static CRect PlaceOf(CWnd& page) {
    CRect rect;
    page.GetWindowRect(&rect);
    page.GetParent()->ScreenToClient(&rect);
    return rect;
  }

  CWnd owner;
  Page pages[3];
  CPageSet set;
};

TEST_F(PageSetTest, PagesArePlacedInTheFrame) {
  struct Case {
    BYTE center;
    int width, height;
    CRect place;  // in the owner's client area; the frame is (20, 30)-(220, 180)
  };
  const Case cases[] = {
      {1, 100, 50, {70, 80, 170, 130}},   // centred
      {1, 101, 51, {69, 79, 170, 130}},   // halves truncate
      {1, 300, 50, {20, 80, 320, 130}},   // wider than the frame: at its left edge
      {1, 300, 400, {20, 30, 320, 430}},  // larger both ways: at its top-left corner
      {0, 100, 50, {20, 30, 120, 80}},    // not centred: the top-left corner
  };
  for (const Case& c : cases) {
    CPageSet one;
    one.m_rcFrame = set.m_rcFrame;
    one.m_bCenter = c.center;
    Page page;
    ASSERT_TRUE(page.CreateEx(0, nullptr, "Page", WS_CHILD, CRect(0, 0, c.width, c.height), &owner, 1));
    EXPECT_EQ(one.AddPage(&page), 1);
    EXPECT_EQ(PlaceOf(page), c.place) << c.width << " x " << c.height << " centre " << int(c.center);
    page.DestroyWindow();
  }
}

TEST_F(PageSetTest, OnlyPagesWithAWindowAreAdded) {
  Page unmade;
  EXPECT_EQ(set.AddPage(nullptr), 0);
  EXPECT_EQ(set.AddPage(&unmade), 0);
  EXPECT_EQ(set.GetPageCount(), 0);
  EXPECT_EQ(set.GetCurrentPage(), -1);
  EXPECT_FALSE(set.ShowPage(0));
  EXPECT_TRUE(set.ShowPage(-1));
}

TEST_F(PageSetTest, OnePageAtATime) {
  for (int i = 0; i < 3; ++i) ASSERT_EQ(set.AddPage(&MakePage(i, 80, 60)), 1);
  auto visible = [&] {
    std::vector<bool> shown;
    for (Page& page : pages) shown.push_back(page.IsWindowVisible() != FALSE);
    return shown;
  };

  EXPECT_TRUE(set.ShowPage(1));
  EXPECT_EQ(visible(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(set.GetCurrentPage(), 1);

  // Showing the visible page again hides only the others: it never flickers off.
  pages[1].shows.clear();
  EXPECT_TRUE(set.ShowPage(1));
  EXPECT_TRUE(pages[1].shows.empty());

  EXPECT_FALSE(set.ShowPage(3)) << "one past the last page";
  EXPECT_FALSE(set.ShowPage(-2));
  EXPECT_EQ(visible(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(set.GetCurrentPage(), 1);

  EXPECT_TRUE(set.ShowPage(2));
  EXPECT_EQ(visible(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(set.ShowPage(-1));
  EXPECT_EQ(visible(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(set.GetCurrentPage(), 2) << "-1 keeps the page last shown";
  EXPECT_TRUE(set.ShowPage(0));
  EXPECT_EQ(visible(), (std::vector<bool>{true, false, false}));
}

TEST_F(PageSetTest, MessagesToOnePageOrAll) {
  for (int i = 0; i < 3; ++i) set.AddPage(&MakePage(i, 80, 60, 0));
  set.SendToPage(1, TRUE, WM_APP, 0, 0);
  EXPECT_EQ(pages[1].pings, 1) << "sent at once";
  set.SendToPage(3, TRUE, WM_APP, 0, 0);
  set.SendToPage(-1, TRUE, WM_APP, 0, 0);
  EXPECT_EQ(pages[0].pings + pages[1].pings + pages[2].pings, 1) << "indexes outside the pages reach nobody";

  // Only the low 8 bits of the flag count: 0x100 posts.
  set.SendToAllPages(0x100, WM_APP, 0, 0);
  EXPECT_EQ(pages[0].pings + pages[1].pings + pages[2].pings, 1) << "posted: not yet delivered";
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(pages[0].pings, 1);
  EXPECT_EQ(pages[1].pings, 2);
  EXPECT_EQ(pages[2].pings, 1);

  set.SendToAllPages(1, WM_APP, 0, 0);
  EXPECT_EQ(pages[2].pings, 2);
}

}  // namespace
