// The outlook bar: sizes and scrolling (down to an area smaller than one button), the arrows and
// their held repeat, page changes and where the captions go (with and without the slide), the
// caption splitter, the bar's caption and close button, the chevron, the small toolbar, renaming
// a page in place, a drag held over a caption, the background picture, the shortcut's stored
// form, and the looks (PICTAVO_WRITE_REFERENCES=1 writes the pictures anew).
#include "toolkit/customize/PlxOutlookBar.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/File.h"
#include "platform/res/Resources.h"
#include "tests/platform/base/TestSupport.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/core/PlxFrameWnd.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxVisualManagerXP.h"
#include "toolkit/core/PlxWorkspace.h"

namespace {

using customize_test::CHostWnd;
using customize_test::Pump;

constexpr UINT kBarId = 0xE900;
constexpr UINT kFirstCmd = 33001;
constexpr int kMailButtons = 6;
constexpr UINT kBackPicture = 16600;  // test resources

// Screen point of a child window's centre.
CPoint CentreOf(CWnd& wnd) {
  CRect rect;
  wnd.GetWindowRect(rect);
  return rect.CenterPoint();
}

BOOL Visible(CWnd& wnd) {
  return wnd.GetSafeHwnd() != nullptr && wnd.IsWindowVisible();
}

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

  // Rectangles of the page captions, in page order.
  std::vector<CRect> Captions() {
    std::vector<CRect> rects;
    for (CPlxOutlookBarPage* page : m_bar->m_lstPages) rects.push_back(page->m_rectCaption);
    return rects;
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

// Shortcuts of one, two and three label lines: scrolling back takes off the height of the button
// that comes back into view, so each lands at the top of the area.
TEST_F(PlxOutlookBarTest, ScrollingBackByUnequalButtonsPutsEachAtTheTop) {
  m_bar->SetActivePage(m_photos);
  const char* labels[] = {"One", "Two words here and there", "A label long enough for three lines of text",
                          "One", "Two words here and there"};
  for (int i = 0; i < 5; ++i) m_bar->AddShortcut(kFirstCmd + 40 + i, -1, labels[i], m_photos);
  SetHeight(2 * m_bar->m_nCaptionHeight + 60);
  CRect area;
  m_bar->GetButtonsArea(area);
  std::set<int> heights;
  for (int i = 0; i < m_bar->GetPageButtonsNum(); ++i)
    heights.insert(m_bar->GetPageButton(i)->m_rect.Height());
  ASSERT_GE(heights.size(), 3u);
  for (int i = 0; i < 5; ++i) m_bar->ScrollDown();
  ASSERT_EQ(m_bar->m_iFirstVisibleButton, 5);
  for (int first = 4; first >= 0; --first) {
    m_bar->ScrollUp();
    EXPECT_EQ(m_bar->m_iFirstVisibleButton, first);
    EXPECT_EQ(m_bar->GetPageButton(first)->m_rect.top, area.top) << "first " << first;
  }
  EXPECT_EQ(m_bar->m_iScrollOffset, 0);
}

// Docked at the top, the captions stand left and right of the buttons, the arrows point along
// the bar and the splitter is the bottom edge.
TEST_F(PlxOutlookBarTest, AHorizontalBarLaysOutAcross) {
  m_bar->DestroyWindow();
  m_bar = std::make_unique<CPlxOutlookBar>();
  m_bar->m_bResizable = TRUE;
  ASSERT_TRUE(m_bar->Create(&m_host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, kBarId));
  m_bar->MoveWindow(0, 0, 300, 70);
  m_bar->SetOwnSizes(CSize(40, 40), CSize(32, 32));
  m_mail = m_bar->AddPage("Mail");
  m_photos = m_bar->AddPage("Photos");
  for (int i = 0; i < kMailButtons; ++i)
    m_bar->AddShortcut(kFirstCmd + i, -1, ("Inbox" + std::to_string(i)).c_str(), m_mail);
  m_bar->AdjustLocations();
  CRect client;
  m_bar->GetClientRect(client);
  const int h = m_bar->m_nCaptionHeight;
  EXPECT_EQ(m_bar->m_rectSplitter, CRect(client.left, client.bottom - 3, client.right, client.bottom));
  EXPECT_EQ(m_bar->FindPage(m_mail)->m_rectCaption, CRect(0, 0, h, client.bottom - 3));
  EXPECT_EQ(m_bar->FindPage(m_photos)->m_rectCaption,
            CRect(client.right - h, 0, client.right, client.bottom - 3));
  CRect area;
  m_bar->GetButtonsArea(area);
  EXPECT_EQ(area, CRect(h, 0, client.right - h, client.bottom - 3));
  CPlxToolbarButton* first = m_bar->GetPageButton(0);
  EXPECT_EQ(first->m_rect.left, area.left);
  EXPECT_EQ(first->m_rect.Height(), area.Height());
  ASSERT_TRUE(m_bar->CanScrollDown());
  m_bar->ScrollDown();
  EXPECT_EQ(m_bar->GetPageButton(1)->m_rect.left, area.left);
  CRect up, down;
  m_bar->GetScrollButton(TRUE).GetWindowRect(up);
  m_bar->GetScrollButton(FALSE).GetWindowRect(down);
  EXPECT_LT(up.left, down.left);
  EXPECT_EQ(m_bar->CalcFixedLayout(FALSE, TRUE), CSize(32767, m_bar->m_nBarSize));

  // The captions' labels run down their strips; the shortcuts' images stand left of their labels.
  m_bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  CRect rect;
  m_bar->GetWindowRect(rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, "outlook_bar_across.png"), 0);
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

TEST_F(PlxOutlookBarTest, TheArrowsShowWhereThereIsMoreAndStepWhileHeld) {
  SetHeight(2 * m_bar->m_nCaptionHeight + 2 * Extent() + 5);
  CPlxButton& up = m_bar->GetScrollButton(TRUE);
  CPlxButton& down = m_bar->GetScrollButton(FALSE);
  EXPECT_FALSE(Visible(up));
  ASSERT_TRUE(Visible(down));

  // A press steps once; the timer steps again only while the arrow stays pushed under the mouse.
  const struct {
    const char* name;
    BOOL press, release;
    int first;
  } steps[] = {
      {"press", TRUE, FALSE, 1},
      {"held: the timer steps", FALSE, FALSE, 2},
      {"held again", FALSE, FALSE, 3},
      {"released: the timer stops", FALSE, TRUE, 3},
      {"a late tick does nothing", FALSE, FALSE, 3},
  };
  pictavo::user::InjectMouseMove(CentreOf(down));
  Pump();
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    if (s.press) {
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
      Pump();
    } else if (s.release) {
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
      Pump();
      m_bar->SendMessage(WM_TIMER, CPlxOutlookBar::kScrollDownTimer);
    } else {
      m_bar->SendMessage(WM_TIMER, CPlxOutlookBar::kScrollDownTimer);
    }
    EXPECT_EQ(m_bar->m_iFirstVisibleButton, s.first);
  }
  EXPECT_TRUE(Visible(up));
  // The last buttons are in view: the down arrow goes, and scrolling up brings it back.
  for (int i = 0; i < kMailButtons; ++i) m_bar->ScrollDown();
  EXPECT_FALSE(Visible(down));
  for (int i = 0; i < kMailButtons; ++i) m_bar->ScrollUp();
  EXPECT_FALSE(Visible(up));
  EXPECT_TRUE(Visible(down));
  // Held on the first button, the up arrow's timer stops.
  m_bar->SendMessage(WM_TIMER, CPlxOutlookBar::kScrollUpTimer);
  EXPECT_EQ(m_bar->m_iFirstVisibleButton, 0);
}

TEST_F(PlxOutlookBarTest, CaptionsUpToTheActivePageStandAtTheTopTheOthersAtTheBottom) {
  const DWORD trips = m_bar->AddPage("Trips");
  CRect client;
  m_bar->GetClientRect(client);
  const int h = m_bar->m_nCaptionHeight;
  const struct {
    DWORD active;
    int tops[3];  // caption tops, from the client top (>= 0) or bottom (< 0)
  } cases[] = {
      {m_mail, {0, -2 * h, -h}},
      {m_photos, {0, h, -h}},
      {trips, {0, h, 2 * h}},
      {m_mail, {0, -2 * h, -h}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.active);
    m_bar->SetActivePage(c.active);
    const std::vector<CRect> captions = Captions();
    int startBlock = client.top, endBlock = client.bottom;
    for (int i = 0; i < 3; ++i) {
      const int top = c.tops[i] >= 0 ? client.top + c.tops[i] : client.bottom + c.tops[i];
      EXPECT_EQ(captions[i].top, top) << "caption " << i;
      EXPECT_EQ(captions[i].Height(), h);
      (c.tops[i] >= 0 ? startBlock : endBlock) =
          c.tops[i] >= 0 ? std::max(startBlock, top + h) : std::min(endBlock, top);
      // The caption button stands where its caption is.
      CRect button;
      m_bar->m_lstPages[i]->m_btnPage.GetWindowRect(button);
      m_bar->ScreenToClient(button);
      EXPECT_EQ(button, captions[i]);
    }
    CRect area;
    m_bar->GetButtonsArea(area);
    EXPECT_EQ(area.top, startBlock);
    EXPECT_EQ(area.bottom, endBlock);
  }
}

TEST_F(PlxOutlookBarTest, TheSlideEndsWithEveryCaptionInItsPlace) {
  const DWORD trips = m_bar->AddPage("Trips");
  m_bar->AddShortcut(kFirstCmd + 20, -1, "Rome", trips);
  m_bar->m_bAnimation = TRUE;
  for (DWORD id : {trips, m_mail, m_photos, m_mail}) {
    SCOPED_TRACE(id);
    // Clicked, so the slide runs.
    customize_test::Click(CentreOf(m_bar->FindPage(id)->m_btnPage));
    EXPECT_EQ(m_bar->GetActivePageId(), id);
    for (CPlxOutlookBarPage* page : m_bar->m_lstPages) {
      CRect button;
      page->m_btnPage.GetWindowRect(button);
      m_bar->ScreenToClient(button);
      EXPECT_EQ(button, page->m_rectCaption) << page->m_strLabel;
    }
    CRect screen = m_bar->FindPage(id)->m_rectCaption;
    m_bar->ClientToScreen(screen);
    EXPECT_EQ(m_bar->m_rectActivePage, screen);
  }
}

TEST_F(PlxOutlookBarTest, TheCaptionSplitterShowsWholeCaptionsUpToItsLimit) {
  m_bar->AddPage("Trips");
  m_bar->AddPage("Music");  // four pages
  const int h = m_bar->m_nCaptionHeight;
  const struct {
    const char* name;
    int visible, max;
    int dragBy;  // caption heights upward (negative: downward)
    int after;
  } cases[] = {
      {"up one", 2, -1, 1, 3},
      {"up past the pages", 2, -1, 5, 4},
      {"down to none", 2, -1, -3, 0},
      {"less than a step", 2, -1, 0, 2},
      {"a limit refuses more", 2, 3, 2, 2},
      {"within the limit", 2, 3, 1, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_bar->SetCaptionSplitter(c.visible, c.max);
    Pump();
    CRect client;
    m_bar->GetClientRect(client);
    ASSERT_FALSE(m_bar->m_rectCaptionSplitter.IsRectEmpty());
    EXPECT_EQ(m_bar->m_rectCaptionSplitter.bottom, client.bottom - c.visible * h);
    CPoint press = m_bar->m_rectCaptionSplitter.CenterPoint();
    m_bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    EXPECT_TRUE(m_bar->m_bCaptionSplitterDragging);
    const CPoint move(press.x,
                      m_bar->m_rectCaptionSplitter.top - c.dragBy * h - (c.dragBy < 0 ? -h / 2 : h / 2));
    m_bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(move.x, move.y));
    m_bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(move.x, move.y));
    EXPECT_FALSE(m_bar->m_bCaptionSplitterDragging);
    EXPECT_EQ(m_bar->m_nVisibleCaptions, c.after);
    int shown = 0;
    for (CPlxOutlookBarPage* page : m_bar->m_lstPages) shown += Visible(page->m_btnPage) ? 1 : 0;
    EXPECT_EQ(shown, c.after);
    CRect area;
    m_bar->GetButtonsArea(area);
    EXPECT_EQ(area.bottom, m_bar->m_rectCaptionSplitter.top);
  }
  // Lost capture ends a drag too.
  CPoint press = m_bar->m_rectCaptionSplitter.CenterPoint();
  m_bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  m_host.SetCapture();
  Pump();
  EXPECT_FALSE(m_bar->m_bCaptionSplitterDragging);
  ::ReleaseCapture();
  // Off, the captions go back to their two ends.
  m_bar->SetCaptionSplitter(-1);
  EXPECT_TRUE(m_bar->m_rectCaptionSplitter.IsRectEmpty());
  for (CPlxOutlookBarPage* page : m_bar->m_lstPages) EXPECT_TRUE(Visible(page->m_btnPage));
}

TEST_F(PlxOutlookBarTest, AFrameCaptionBecomesTheBarsOwnWithACloseButton) {
  CPlxButton& close = m_bar->GetCloseButton();
  EXPECT_FALSE(Visible(close));
  m_bar->ModifyStyle(0, WS_CAPTION);
  Pump();
  EXPECT_TRUE(m_bar->m_bHasCaption);
  EXPECT_EQ(m_bar->GetStyle() & WS_CAPTION, 0u);
  m_bar->AdjustLocations();
  EXPECT_FALSE(m_bar->m_rectBarCaption.IsRectEmpty());
  ASSERT_TRUE(Visible(close));
  // The captions start below it.
  EXPECT_EQ(m_bar->FindPage(m_mail)->m_rectCaption.top, m_bar->m_rectBarCaption.bottom);
  CString tip;
  EXPECT_TRUE(tip.LoadString(CPlxOutlookBar::kCloseTooltip));
  customize_test::Click(CentreOf(close));
  EXPECT_FALSE(m_bar->IsWindowVisible());
  EXPECT_TRUE(m_host.commands.empty());  // the bar's own buttons tell nobody else

  m_bar->ShowWindow(SW_SHOW);
  m_bar->ShowBarCaption(FALSE);
  EXPECT_FALSE(m_bar->m_bHasCaption);
  EXPECT_FALSE(Visible(close));
  EXPECT_TRUE(m_bar->m_rectBarCaption.IsRectEmpty());
}

TEST_F(PlxOutlookBarTest, TheChevronListsTheButtonsOutOfViewAndTheScrollCommands) {
  m_bar->EnableOutlookChevron();
  ASSERT_NE(m_bar->GetChevron(), nullptr);
  SetHeight(2 * m_bar->m_nCaptionHeight + 3 * Extent() + 30);
  m_bar->ScrollDown();
  // Shortcuts added later still go before it.
  m_bar->AddShortcut(kFirstCmd + 6, -1, "Inbox6", m_mail);
  EXPECT_EQ(m_bar->GetButton(m_bar->GetCount() - 1), m_bar->GetChevron());
  m_bar->AdjustLocations();
  CRect area;
  m_bar->GetButtonsArea(area);
  EXPECT_EQ(m_bar->GetChevron()->m_rect.top, area.bottom);
  std::vector<UINT> hidden;
  for (POSITION pos = m_bar->GetChevron()->m_lstInvisibleButtons.GetHeadPosition(); pos != nullptr;)
    hidden.push_back(
        static_cast<CPlxToolbarButton*>(m_bar->GetChevron()->m_lstInvisibleButtons.GetNext(pos))->m_nID);
  // The first one scrolled away, and those past the end of the area.
  std::vector<UINT> expected{kFirstCmd};
  for (int i = 0; i < m_bar->GetPageButtonsNum(); ++i) {
    CPlxToolbarButton* button = m_bar->GetPageButton(i);
    if (!button->m_bIsHidden && button->m_rect.bottom > area.bottom) expected.push_back(button->m_nID);
  }
  EXPECT_EQ(hidden, expected);
  EXPECT_GT(hidden.size(), 2u);

  std::unique_ptr<CPlxPopupMenu> popup(m_bar->GetChevron()->CreatePopupMenu());
  ASSERT_NE(popup, nullptr);
  CPlxPopupMenuBar* items = popup->GetMenuBar();
  ASSERT_EQ(items->GetCount(), static_cast<int>(hidden.size()) + 3);
  EXPECT_EQ(items->GetButton(items->GetCount() - 3)->m_nStyle & TBBS_SEPARATOR,
            static_cast<UINT>(TBBS_SEPARATOR));
  EXPECT_EQ(items->GetButton(items->GetCount() - 2)->m_nID, CPlxOutlookBar::kScrollUpCmd);
  EXPECT_STREQ(items->GetButton(items->GetCount() - 2)->m_strText, "Scroll Up");
  EXPECT_EQ(items->GetButton(items->GetCount() - 1)->m_nID, CPlxOutlookBar::kScrollDownCmd);
  EXPECT_EQ(popup->m_pMessageWnd, m_bar.get());
  popup.reset();

  // The commands scroll the bar.
  m_bar->SendMessage(WM_COMMAND, CPlxOutlookBar::kScrollDownCmd);
  EXPECT_EQ(m_bar->m_iFirstVisibleButton, 2);
  m_bar->SendMessage(WM_COMMAND, CPlxOutlookBar::kScrollUpCmd);
  EXPECT_EQ(m_bar->m_iFirstVisibleButton, 1);

  // Clicked, the chevron opens its popup, and its Scroll Down item scrolls this bar.
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
  CPoint chevron = m_bar->GetChevron()->m_rect.CenterPoint();
  m_bar->ClientToScreen(&chevron);
  customize_test::Click(chevron);
  CPlxPopupMenu* open = m_bar->GetChevron()->m_pPopupMenu;
  ASSERT_NE(open, nullptr);
  CPlxPopupMenuBar* menu = open->GetMenuBar();
  CPoint item = menu->GetButton(menu->GetCount() - 1)->m_rect.CenterPoint();
  menu->ClientToScreen(&item);
  customize_test::Click(item);
  Pump();
  EXPECT_EQ(m_bar->GetChevron()->m_pPopupMenu, nullptr);
  EXPECT_EQ(m_bar->m_iFirstVisibleButton, 2);
  EXPECT_TRUE(m_host.commands.empty());

  m_bar->EnableOutlookChevron(FALSE);
  EXPECT_EQ(m_bar->GetChevron(), nullptr);
  EXPECT_EQ(m_bar->GetCount(), kMailButtons + 3);
}

TEST_F(PlxOutlookBarTest, TheSmallToolbarShowsAboveTheCaptionsOnceItHasButtons) {
  CPlxOutlookBarToolBar& toolbar = m_bar->GetToolBar();
  ASSERT_NE(toolbar.GetSafeHwnd(), nullptr);
  EXPECT_EQ(toolbar.GetDlgCtrlID(), static_cast<int>(CPlxOutlookBar::kToolBarId));
  EXPECT_FALSE(toolbar.IsWindowVisible());
  EXPECT_EQ(m_bar->FindPage(m_mail)->m_rectCaption.top, 0);
  toolbar.InsertButton(CPlxToolbarButton(kFirstCmd + 30, -1, "New", FALSE, TRUE));
  m_bar->AdjustLocations();
  ASSERT_TRUE(toolbar.IsWindowVisible());
  CRect rect;
  toolbar.GetWindowRect(rect);
  m_bar->ScreenToClient(rect);
  EXPECT_EQ(rect.top, 0);
  EXPECT_GT(rect.Height(), 0);
  EXPECT_EQ(m_bar->FindPage(m_mail)->m_rectCaption.top, rect.bottom);
  // Its cursor: the hand of the resources.
  EXPECT_NE(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(CPlxOutlookBarToolBar::kHandCursor)),
            nullptr);
}

TEST_F(PlxOutlookBarTest, APageIsRenamedInPlaceWithEnterAndKeptWithEscape) {
  m_bar->EnableInPlaceEdit();
  const struct {
    const char* name;
    const char* typed;
    UINT key;
    const char* label;
  } cases[] = {
      {"Enter keeps the text", "Letters", VK_RETURN, "Letters"},
      {"Escape drops it", "Junk", VK_ESCAPE, "Letters"},
      {"an empty name is not taken", "", VK_RETURN, "Letters"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A double click on the caption starts the edit.
    CPlxOutlookBarPageButton& caption = m_bar->FindPage(m_mail)->m_btnPage;
    caption.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(m_bar->IsEditing());
    m_bar->m_pInPlaceEdit->SetWindowText("");
    m_bar->m_pInPlaceEdit->SetFocus();
    customize_test::TypeText(c.typed);
    customize_test::Tap(c.key);
    EXPECT_FALSE(m_bar->IsEditing());
    EXPECT_STREQ(m_bar->FindPage(m_mail)->m_strLabel, c.label);
    CString text;
    caption.GetWindowText(text);
    EXPECT_STREQ(text, c.label);
  }
  // A second rename while one is open: the first one's leaving does not end the second.
  ASSERT_TRUE(m_bar->EditPageLabel(m_mail));
  m_bar->m_pInPlaceEdit->SetWindowText("Post");
  ASSERT_TRUE(m_bar->EditPageLabel(m_photos));
  Pump();
  EXPECT_TRUE(m_bar->IsEditing());
  EXPECT_EQ(m_bar->m_dwEditedPageId, m_photos);
  EXPECT_STREQ(m_bar->FindPage(m_mail)->m_strLabel, "Post");
  // Leaving the editor keeps the text.
  m_bar->m_pInPlaceEdit->SetWindowText("Pictures");
  m_host.SetFocus();
  Pump();
  EXPECT_FALSE(m_bar->IsEditing());
  EXPECT_STREQ(m_bar->FindPage(m_photos)->m_strLabel, "Pictures");
  // The page goes while it is being renamed: the editor goes with it.
  ASSERT_TRUE(m_bar->EditPageLabel(m_photos));
  EXPECT_TRUE(m_bar->RemovePage(m_photos));
  EXPECT_FALSE(m_bar->IsEditing());
  Pump();
  // Without the option a double click is no rename.
  m_bar->EnableInPlaceEdit(FALSE);
  m_bar->FindPage(m_mail)->m_btnPage.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(m_bar->IsEditing());
  // A bar closed while a page is being renamed takes the editor with it.
  ASSERT_TRUE(m_bar->EditPageLabel(m_mail));
  m_bar->DestroyWindow();
  Pump();
  m_bar.reset();
  m_bar = std::make_unique<CPlxOutlookBar>();  // for the tear-down
}

TEST_F(PlxOutlookBarTest, ADragHeldOverAnotherCaptionOpensItsPage) {
  CPlxOutlookBarPage* photos = m_bar->FindPage(m_photos);
  const CPoint over = photos->m_rectCaption.CenterPoint();
  m_bar->OnDragOver(nullptr, 0, over);
  EXPECT_EQ(m_bar->m_nPendingPageId, m_photos);
  const struct {
    const char* name;
    CPoint cursor;  // client point when the timer fires
    DWORD active;
  } cases[] = {
      {"the pointer left the caption", CPoint(over.x, m_bar->m_rectButtonsArea.top + 5), m_mail},
      {"still over it", over, m_photos},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_bar->OnDragOver(nullptr, 0, over);
    CPoint screen = c.cursor;
    m_bar->ClientToScreen(&screen);
    pictavo::user::InjectMouseMove(screen);
    Pump();
    m_bar->SendMessage(WM_TIMER, CPlxOutlookBar::kPageChangeTimer);
    EXPECT_EQ(m_bar->GetActivePageId(), c.active);
    EXPECT_EQ(m_bar->m_nPendingPageId, 0u);
  }
  // A page removed while a drag waits over its caption is not opened later.
  m_bar->SetActivePage(m_mail);
  m_bar->OnDragOver(nullptr, 0, m_bar->FindPage(m_photos)->m_rectCaption.CenterPoint());
  ASSERT_EQ(m_bar->m_nPendingPageId, m_photos);
  m_bar->RemovePage(m_photos);
  EXPECT_EQ(m_bar->m_nPendingPageId, 0u);
  m_bar->SendMessage(WM_TIMER, CPlxOutlookBar::kPageChangeTimer);
  EXPECT_EQ(m_bar->GetActivePageId(), m_mail);
}

TEST_F(PlxOutlookBarTest, ABackgroundPictureIsTakenFromTheResources) {
  const struct {
    UINT id;
    BOOL usable;
  } cases[] = {{kBackPicture, TRUE}, {0, FALSE}, {kBackPicture, TRUE}, {61999, FALSE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    m_bar->SetBackImage(c.id);
    EXPECT_EQ(m_bar->GetBackImageId(), c.id);
    EXPECT_EQ(m_bar->HasBackImage(), c.usable);
    EXPECT_EQ(m_bar->m_imgBack.GetCount(), c.usable ? 1 : 0);
    if (c.usable) EXPECT_EQ(m_bar->m_imgBack.GetImageSize(), CSize(48, 48));
  }
}

TEST(PlxOutlookPageLook, OnlyTheOfficeManagerFillsTheCaptionsOfAFlatBar) {
  customize_test::StartDisplay();
  CHostWnd host;
  ASSERT_TRUE(host.Make(CRect(40, 40, 300, 400)));
  CPlxOutlookBar bar;
  ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, kBarId));
  const DWORD page = bar.AddPage("Mail");
  CPlxOutlookBarPageButton& caption = bar.FindPage(page)->m_btnPage;
  CClientDC dc(&caption);
  const CRect rect(0, 0, 40, 20);
  const struct {
    const char* name;
    CRuntimeClass* manager;
    BOOL pageLook;
    BOOL drawn;
  } cases[] = {
      {"classic", RUNTIME_CLASS(CPlxVisualManager), TRUE, FALSE},
      {"office, plain bar", RUNTIME_CLASS(CPlxVisualManagerXP), FALSE, FALSE},
      {"office, flat bar", RUNTIME_CLASS(CPlxVisualManagerXP), TRUE, TRUE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CPlxVisualManager::SetDefaultManager(c.manager);
    bar.m_bPageLook = c.pageLook;
    COLORREF text = (COLORREF)-1;
    CRect border = rect;
    EXPECT_EQ(CPlxVisualManager::GetInstance()->OnFillOutlookPageButton(&caption, &dc, rect, text), c.drawn);
    EXPECT_EQ(CPlxVisualManager::GetInstance()->OnDrawOutlookPageButtonBorder(&caption, &dc, border, 0),
              c.drawn);
    EXPECT_EQ(text, c.drawn ? g_plxGlobalData.clrBarText : (COLORREF)-1);
  }
  CPlxVisualManager::SetDefaultManager(nullptr);
  bar.DestroyWindow();
  host.DestroyWindow();
  Pump();
}

// Docked at the left of a frame: the frame gives it the chosen width, and the splitter's drop
// lays the frame out again with the new one.
TEST(PlxOutlookBarDocked, TheFrameFollowsTheSplitter) {
  customize_test::StartDisplay();
  CPlxFrameWnd frame;
  ASSERT_TRUE(frame.Create(nullptr, "Docked", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 620, 420)));
  frame.EnableDocking(CBRS_ALIGN_ANY);
  CPlxOutlookBar bar;
  bar.m_bResizable = TRUE;
  bar.m_nBarSize = 120;
  ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_LEFT, kBarId));
  bar.EnableDocking(CBRS_ALIGN_LEFT);
  frame.DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
  const DWORD page = bar.AddPage("Mail");
  bar.AddShortcut(kFirstCmd, -1, "Inbox", page);
  frame.RecalcLayout();
  Pump();
  CRect window;
  bar.GetWindowRect(window);
  EXPECT_EQ(window.Width(), 120);
  EXPECT_GT(window.Height(), 200);

  bar.AdjustLocations();
  CPoint press(bar.m_rectSplitter.CenterPoint()), drop(200, press.y);
  bar.ClientToScreen(&press);
  bar.ClientToScreen(&drop);
  pictavo::user::InjectMouseMove(press);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  Pump();
  pictavo::user::InjectMouseMove(drop);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  Pump();
  EXPECT_EQ(bar.m_nBarSize, 203);
  bar.GetWindowRect(window);
  EXPECT_EQ(window.Width(), 203);
  frame.DestroyWindow();
  Pump();
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
  m_bar->Invalidate();  // the bar alone: its captions stay whole
  m_bar->UpdateWindow();
  Pump();
  CRect rect;
  m_bar->GetWindowRect(rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, "outlook_bar_two_pages.png"), 0);
}

// Its own caption and close button, a picture behind the shortcuts, both arrows and the chevron.
TEST_F(PlxOutlookBarTest, LooksLikeACaptionedBarWithAPictureArrowsAndChevron) {
  m_bar->AddPage("Music");
  m_bar->ModifyStyle(0, WS_CAPTION);
  m_bar->SetBackImage(kBackPicture);
  m_bar->EnableOutlookChevron();
  SetHeight(300);
  m_bar->ScrollDown();
  m_bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  ASSERT_TRUE(Visible(m_bar->GetScrollButton(TRUE)));
  ASSERT_TRUE(Visible(m_bar->GetScrollButton(FALSE)));
  CRect rect;
  m_bar->GetWindowRect(rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, "outlook_bar_caption_picture_chevron.png"), 0);
}

// The flat page captions of the Office look, under a caption splitter.
TEST_F(PlxOutlookBarTest, LooksFlatUnderTheOfficeManager) {
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxVisualManagerXP));
  m_bar->m_bPageLook = TRUE;
  m_bar->AddPage("Music");
  m_bar->SetCaptionSplitter(3);
  SetHeight(300);
  m_bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  CRect rect;
  m_bar->GetWindowRect(rect);
  const int differ = customize_test::CompareWithReference(rect, "outlook_bar_office_splitter.png");
  CPlxVisualManager::SetDefaultManager(nullptr);
  EXPECT_EQ(differ, 0);
}

}  // namespace
