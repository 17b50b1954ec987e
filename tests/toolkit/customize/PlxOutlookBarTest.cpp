// The outlook bar: sizes and scrolling (down to an area smaller than one button), page changes,
// a shortcut's click reaching the owner, the shortcut's stored form, and the look of a bar with
// two pages (PICTAVO_WRITE_REFERENCES=1 writes the picture anew).
#include "toolkit/customize/PlxOutlookBar.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/base/File.h"
#include "tests/platform/base/TestSupport.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

using customize_test::CHostWnd;
using customize_test::Pump;

constexpr UINT kBarId = 0xE900;
constexpr UINT kFirstCmd = 33001;
constexpr int kMailButtons = 6;

class PlxOutlookBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { customize_test::StartDisplay(); }
  void SetUp() override {
    ASSERT_TRUE(m_host.Make(CRect(40, 40, 400, 500)));
    m_bar = std::make_unique<CPlxOutlookBar>();
    ASSERT_TRUE(m_bar->Create(&m_host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, kBarId));
    m_bar->MoveWindow(0, 0, 120, 400);
    m_bar->SetOwnSizes(CSize(40, 40), CSize(32, 32));  // large shortcuts
    m_mail = m_bar->AddPage("Mail");
    m_photos = m_bar->AddPage("Photos");
    for (int i = 0; i < kMailButtons; ++i)
      m_bar->AddShortcut(kFirstCmd + i, -1, ("Inbox" + std::to_string(i)).c_str(), m_mail);
    m_bar->AddShortcut(kFirstCmd + 10, -1, "Albums", m_photos);
    m_bar->AddShortcut(kFirstCmd + 11, -1, "Trips", m_photos);
    m_bar->AdjustLocations();
    Pump();
  }
  void TearDown() override {
    m_bar->DestroyWindow();
    m_bar.reset();
    m_host.DestroyWindow();
    Pump();
  }
  // The height of one shortcut (all have labels of one line).
  int Extent() { return m_bar->GetPageButton(m_bar->m_iFirstVisibleButton)->m_rect.Height(); }
  // The client height (the frame's margins come on top).
  void SetHeight(int height) {
    CRect window, client;
    m_bar->GetWindowRect(window);
    m_bar->GetClientRect(client);
    m_bar->MoveWindow(0, 0, 120, height + window.Height() - client.Height());
    m_bar->AdjustLocations();
  }

  CHostWnd m_host;
  std::unique_ptr<CPlxOutlookBar> m_bar;
  DWORD m_mail = 0, m_photos = 0;
};

TEST_F(PlxOutlookBarTest, ScrollingStopsAtTheLastButtonForEverySize) {
  const int extent = Extent();
  ASSERT_GT(extent, 20);
  const int captions = 2 * m_bar->m_nCaptionHeight;
  const struct {
    const char* name;
    int areaHeight;
  } cases[] = {
      {"all fit", kMailButtons * extent + 5},
      {"three fit", 3 * extent + 2},
      {"less than one button", extent / 2},
      {"a few pixels", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetHeight(captions + c.areaHeight);
    CRect area;
    m_bar->GetButtonsArea(area);
    ASSERT_EQ(area.Height(), c.areaHeight);
    // The first one-by-one position from which the rest fit, but never past the last button.
    int last = 0;
    while (last < kMailButtons - 1 && (kMailButtons - last) * extent > c.areaHeight) ++last;
    EXPECT_EQ(m_bar->CanScrollDown(), (kMailButtons * extent > c.areaHeight));

    for (int i = 0; i < 3 * kMailButtons; ++i) m_bar->ScrollDown();
    EXPECT_EQ(m_bar->m_iFirstVisibleButton, last);
    EXPECT_EQ(m_bar->m_iScrollOffset, last * extent);
    if (last > 0) EXPECT_EQ(m_bar->GetPageButton(last)->m_rect.top, area.top);

    for (int i = 0; i < 3 * kMailButtons; ++i) m_bar->ScrollUp();
    EXPECT_EQ(m_bar->m_iFirstVisibleButton, 0);
    EXPECT_EQ(m_bar->m_iScrollOffset, 0);
    EXPECT_FALSE(m_bar->CanScrollUp());

    // Page-wise: the step is what fits, and at least one button in an area too small for any.
    const int room = c.areaHeight - m_bar->m_nCaptionHeight * (m_bar->GetCount() - kMailButtons + 1);
    const int step = std::max(1, room / extent);
    EXPECT_EQ(m_bar->GetPageStep(), step);
    int expected = 0;
    for (int i = 0; i < 3 * kMailButtons; ++i) {
      const int before = m_bar->m_iFirstVisibleButton;
      m_bar->PageDown();
      if (m_bar->m_iFirstVisibleButton != before) expected = before + step;
      EXPECT_GE(m_bar->m_iFirstVisibleButton, before);  // never backwards
    }
    EXPECT_EQ(m_bar->m_iFirstVisibleButton, expected);
    if (c.areaHeight < extent) EXPECT_GT(expected, 0);  // a tiny area still moves on
    for (int i = 0; i < 3 * kMailButtons; ++i) m_bar->PageUp();
    EXPECT_EQ(m_bar->m_iFirstVisibleButton, 0);
    EXPECT_EQ(m_bar->m_iScrollOffset, 0);
  }
}

TEST_F(PlxOutlookBarTest, GrowingAScrolledBarGivesTheHiddenButtonsBack) {
  const int extent = Extent();
  const int captions = 2 * m_bar->m_nCaptionHeight;
  SetHeight(captions + 2 * extent);
  for (int i = 0; i < kMailButtons; ++i) m_bar->ScrollDown();
  ASSERT_EQ(m_bar->m_iFirstVisibleButton, kMailButtons - 2);
  SetHeight(captions + 4 * extent);
  EXPECT_EQ(m_bar->m_iFirstVisibleButton, kMailButtons - 4);
  SetHeight(captions + 10 * extent);
  EXPECT_EQ(m_bar->m_iFirstVisibleButton, 0);
  EXPECT_EQ(m_bar->m_iScrollOffset, 0);
}

TEST_F(PlxOutlookBarTest, PagesChangeOnlyToPagesThatExistAndStartUnscrolled) {
  SetHeight(2 * m_bar->m_nCaptionHeight + 2 * Extent());
  m_bar->ScrollDown();
  ASSERT_EQ(m_bar->m_iFirstVisibleButton, 1);
  const struct {
    DWORD id;
    DWORD active;
    int buttons;
    int first;
  } steps[] = {
      {m_mail, m_mail, kMailButtons, 1},  // the active page: nothing happens
      {77, m_mail, kMailButtons, 1},      // no such page
      {m_photos, m_photos, 2, 0},
      {m_mail, m_mail, kMailButtons, 0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.id);
    m_bar->SetActivePage(s.id);
    EXPECT_EQ(m_bar->GetActivePageId(), s.active);
    EXPECT_EQ(m_bar->GetPageButtonsNum(), s.buttons);
    EXPECT_EQ(m_bar->m_iFirstVisibleButton, s.first);
  }
  // Buttons of the other page are neither shown nor hit.
  EXPECT_TRUE(m_bar->GetButton(kMailButtons)->m_bIsHidden);
  EXPECT_EQ(m_bar->GetPageButton(kMailButtons), nullptr);
}

TEST_F(PlxOutlookBarTest, ACaptionClickChangesThePageAndAShortcutClickReachesTheOwner) {
  CPlxOutlookBarPage* photos = m_bar->FindPage(m_photos);
  ASSERT_NE(photos, nullptr);
  CPoint caption = photos->m_rectCaption.CenterPoint();
  EXPECT_EQ(m_bar->GetPageFromPoint(caption), photos);
  m_bar->ClientToScreen(&caption);
  customize_test::Click(caption);
  EXPECT_EQ(m_bar->GetActivePageId(), m_photos);

  CPoint shortcut = m_bar->GetPageButton(1)->m_rect.CenterPoint();
  m_bar->ClientToScreen(&shortcut);
  customize_test::Click(shortcut);
  Pump();
  ASSERT_EQ(m_host.commands.size(), 1u);
  EXPECT_EQ(m_host.commands[0].id, kFirstCmd + 11);
}

// Docked, the bar's parent is its dock bar, as narrow as the bar: the drag is kept inside the frame
// instead, so the splitter can widen the bar.
TEST(PlxOutlookBarDocked, TheSplitterWidensADockedBar) {
  customize_test::StartDisplay();
  CFrameWnd frame;
  ASSERT_TRUE(frame.Create(nullptr, "Docked", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 540, 440)));
  frame.EnableDocking(CBRS_ALIGN_ANY);
  CPlxOutlookBar bar;
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, kBarId));
  bar.m_bResizable = TRUE;
  bar.m_nBarSize = 120;
  bar.AddShortcut(kFirstCmd, -1, "Inbox", bar.AddPage("Mail"));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
  frame.RecalcLayout();
  bar.AdjustLocations();
  Pump();
  CRect before;
  bar.GetWindowRect(before);
  const int splitterX = bar.m_rectSplitter.CenterPoint().x;
  CPoint press(bar.m_rectSplitter.CenterPoint());
  bar.ClientToScreen(&press);
  const CPoint drop(press.x + 60, press.y);
  pictavo::user::InjectMouseMove(press);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  Pump();
  pictavo::user::InjectMouseMove(drop);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  Pump();
  CRect after;
  bar.GetWindowRect(after);
  // The bar's edge follows the drop point, as for a bar in a plain window.
  EXPECT_EQ(after.Width(), splitterX + 60 + CPlxOutlookBar::kSplitter);
  EXPECT_GT(after.Width(), before.Width() + 50);
  bar.DestroyWindow();
  frame.DestroyWindow();
  Pump();
}

// In a frame the idle update asks for every command of the bar: its own captions and arrows stay
// usable, a shortcut without a handler is disabled.
TEST_F(PlxOutlookBarTest, AFramesIdleUpdateLeavesTheBarsOwnButtonsEnabled) {
  SetHeight(160);
  ASSERT_TRUE(m_bar->CanScrollDown());
  CFrameWnd target;
  ASSERT_TRUE(target.Create(nullptr, "Target", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100)));
  m_bar->OnUpdateCmdUI(&target, TRUE);
  EXPECT_TRUE(m_bar->FindPage(m_photos)->m_btnPage.IsWindowEnabled());
  EXPECT_TRUE(m_bar->GetScrollButton(FALSE).IsWindowEnabled());
  EXPECT_TRUE(m_bar->GetButton(0)->m_nStyle & TBBS_DISABLED) << "no handler for the shortcut";
  target.DestroyWindow();
}

TEST_F(PlxOutlookBarTest, DraggingTheSplitterOfALeftBarSetsItsWidth) {
  m_bar->m_bResizable = TRUE;
  m_bar->AdjustLocations();
  CRect client;
  m_bar->GetClientRect(client);
  ASSERT_EQ(m_bar->m_rectSplitter, CRect(client.right - 3, client.top, client.right, client.bottom));
  CRect host;
  m_host.GetClientRect(host);
  const struct {
    int dropX;  // client x of the drop
    int width;
  } cases[] = {
      {180, 183},
      {-30, 3},                           // clamped to the host's left edge: never below 3
      {host.right + 50, host.right + 3},  // clamped to the host's right edge
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dropX);
    m_bar->MoveWindow(0, 0, 120, 400);
    m_bar->AdjustLocations();
    CPoint press(m_bar->m_rectSplitter.CenterPoint());
    CPoint drop(c.dropX, press.y);
    m_bar->ClientToScreen(&press);
    m_bar->ClientToScreen(&drop);
    pictavo::user::InjectMouseMove(press);
    Pump();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    Pump();
    EXPECT_TRUE(m_bar->m_bSplitterDragging);
    pictavo::user::InjectMouseMove(drop);
    Pump();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    Pump();
    EXPECT_FALSE(m_bar->m_bSplitterDragging);
    EXPECT_EQ(m_bar->m_nBarSize, c.width);
    CRect window;
    m_bar->GetWindowRect(window);
    EXPECT_EQ(window.Width(), c.width);
  }
}

// ---------------------------------------------------------------------------------------------
// The stored form

using testing_support::Bytes;
constexpr DWORD kMarker = 0x5EED;

// A shortcut followed by a field of the caller's, to see that everything after it stays in place.
Bytes WriteShortcut(CPlxOutlookButton& button) {
  return testing_support::Store([&](CArchive& ar) {
    button.Serialize(ar);
    ar << kMarker;
  });
}

bool ReadShortcut(CPlxOutlookButton& button, Bytes bytes, DWORD* marker) {
  try {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    button.Serialize(ar);
    ar >> *marker;
    ar.Close();
    return true;
  } catch (CException* e) {
    e->Delete();
    return false;
  }
}

TEST(PlxOutlookButtonArchive, ThePageIdIsReadFromDataThatHasIt) {
  const struct {
    bool workspace;
    int major, minor;
    bool oldData;
    DWORD pageId;
  } cases[] = {
      {false, -1, -1, false, 7},                          // no workspace: this version's layout
      {true, -1, -1, false, 7},                           // a workspace that read no version
      {true, 4, 71, false, 7},                            // the version that brought the page id
      {true, 6, 40, false, 7},   {true, 4, 70, true, 0},  // older data: no page id
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.workspace) + " " + std::to_string(c.major) + "." + std::to_string(c.minor));
    std::unique_ptr<CPlxWorkspace> workspace;
    if (c.workspace) {
      workspace = std::make_unique<CPlxWorkspace>();
      workspace->m_iSavedVersionMajor = c.major;
      workspace->m_iSavedVersionMinor = c.minor;
    }
    CPlxOutlookButton source(kFirstCmd, 3, "Inbox", 7);
    Bytes bytes = WriteShortcut(source);
    if (c.oldData) bytes.erase(bytes.end() - 8, bytes.end() - 4);  // the page id goes
    CPlxOutlookButton copy;
    DWORD marker = 0;
    ASSERT_TRUE(ReadShortcut(copy, bytes, &marker));
    EXPECT_EQ(copy.m_dwPageId, c.pageId);
    EXPECT_EQ(marker, kMarker);
    EXPECT_EQ(copy.m_nID, kFirstCmd);
    EXPECT_STREQ(copy.m_strText, "Inbox");
  }
}

TEST(PlxOutlookButtonArchive, DamagedDataFailsInsteadOfReadingPastTheEnd) {
  CPlxOutlookButton source(kFirstCmd, 3, "Inbox", 7);
  const Bytes good = WriteShortcut(source);
  for (size_t keep : {size_t{0}, size_t{3}, good.size() / 2, good.size() - 6}) {
    SCOPED_TRACE(keep);
    CPlxOutlookButton copy;
    DWORD marker = 0;
    EXPECT_FALSE(ReadShortcut(copy, Bytes(good.begin(), good.begin() + static_cast<long>(keep)), &marker));
  }
}

TEST(PlxOutlookButtonCopy, TheCopyAndTheComparisonTakeThePage) {
  CPlxOutlookButton a(kFirstCmd, 3, "Inbox", 7), b;
  b.CopyFrom(a);
  EXPECT_EQ(b.m_dwPageId, 7u);
  EXPECT_TRUE(b.CompareWith(a));
  b.m_dwPageId = 8;
  EXPECT_FALSE(b.CompareWith(a));
}

// ---------------------------------------------------------------------------------------------
// The look

TEST_F(PlxOutlookBarTest, LooksLikeTwoPagesOfShortcuts) {
  SetHeight(330);
  m_bar->SetActivePage(m_photos);
  m_bar->SetActivePage(m_mail);
  m_bar->RedrawWindow();
  Pump();
  CRect rect;
  m_bar->GetWindowRect(rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, "outlook_bar_two_pages.png"), 0);
}

}  // namespace
