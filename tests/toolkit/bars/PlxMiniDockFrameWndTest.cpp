// The floating frame of toolkit bars: the roll button's states and glyphs, rolling up when the
// pointer has been away for seven timer ticks and down again over the caption, the caption kept
// on the work area, the stored roll state handed to the frame, and the caption's look.
// PICTAVO_WRITE_REFERENCES=1 writes the pictures anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/mfc/StdControls.h"
#include "platform/mfc/WinApp.h"
#include "tests/support/PngPicture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "tests/toolkit/core/SizingBarFrame.h"
#include "toolkit/bars/PlxMiniDockFrameWnd.h"
#include "toolkit/core/PlxMenuGlyphs.h"

namespace {

using Mini = CPlxMiniDockFrameWnd;

TEST(PlxMiniDockRollButton, AClickMovesTheStateOn) {
  struct Case {
    int state;
    BOOL rolled;
    int nextState;
    BOOL nextRolled;
  } const cases[] = {
      {Mini::RollNone, TRUE, Mini::RollNone, TRUE},  // no button: nothing
      {Mini::RollManual, FALSE, Mini::RollManual, TRUE},
      {Mini::RollManual, TRUE, Mini::RollManual, FALSE},
      {Mini::RollAuto, TRUE, Mini::RollAutoSuspended, FALSE},  // held open
      {Mini::RollAutoSuspended, FALSE, Mini::RollAuto, FALSE},
      {Mini::RollAutoNarrow, TRUE, Mini::RollAutoNarrowSuspended, FALSE},
      {Mini::RollAutoNarrowSuspended, FALSE, Mini::RollAutoNarrow, FALSE},
  };
  for (const Case& c : cases) {
    int state = c.state;
    BOOL rolled = c.rolled;
    Mini::NextRollState(state, rolled);
    EXPECT_EQ(state, c.nextState) << c.state << "/" << c.rolled;
    EXPECT_EQ(rolled, c.nextRolled) << c.state << "/" << c.rolled;
  }
}

TEST(PlxMiniDockRollButton, GlyphAndPlaceBesideTheSmallCloseBox) {
  struct Case {
    int state;
    BOOL rolled;
    int glyph;
  } const cases[] = {
      {Mini::RollManual, FALSE, CPlxMenuGlyphs::IdArowUp},
      {Mini::RollManual, TRUE, CPlxMenuGlyphs::IdArowDown},
      {Mini::RollAuto, TRUE, CPlxMenuGlyphs::IdArowRight},
      {Mini::RollAutoNarrow, FALSE, CPlxMenuGlyphs::IdArowRight},
      {Mini::RollAutoSuspended, FALSE, CPlxMenuGlyphs::IdArowUp},
  };
  for (const Case& c : cases) EXPECT_EQ(Mini::RollGlyph(c.state, c.rolled), c.glyph) << c.state;
  // A 200-wide thick frame: 4-pixel borders, 12-pixel small buttons; the close box starts at 182.
  EXPECT_EQ(Mini::RollButtonRect(CSize(200, 100), TRUE), CRect(172, 6, 182, 14));
  EXPECT_EQ(Mini::RollButtonRect(CSize(200, 100), FALSE), CRect(173, 5, 183, 13));
}

TEST(PlxMiniDockCaption, StaysOnTheWorkArea) {
  const CRect work(0, 0, 1000, 700);
  struct Case {
    CRect window;
    int top;
  } const cases[] = {
      {CRect(10, -30, 210, 170), 0},    // above: down to the top
      {CRect(10, 690, 210, 890), 685},  // the caption's 15 pixels come back
      {CRect(10, 685, 210, 885), 685},  // just whole: stays
      {CRect(10, 300, 210, 500), 300},
  };
  for (const Case& c : cases) EXPECT_EQ(Mini::CaptionOnScreenTop(c.window, work), c.top) << c.window.top;
  // A work area lower than a caption: its top wins.
  EXPECT_EQ(Mini::CaptionOnScreenTop(CRect(0, 50, 100, 90), CRect(0, 0, 100, 10)), 0);
}

// A frame whose bars float in the toolkit's mini frames, with one floating sizing bar.
class PlxMiniDockFrame : public pictavo::test::SizingBarFrame {
 protected:
  void SetUp() override {
    SizingBarFrame::SetUp();
    m_frame.m_pFloatingFrameClass = RUNTIME_CLASS(CPlxMiniDockFrameWnd);
  }
  void TearDown() override {
    m_lists.clear();
    SizingBarFrame::TearDown();
    CPlxMenuGlyphs::CleanUp();
  }

  // A sizing bar titled `title` floating at `at` with a list inside, in roll state `state`.
  CPlxSizingControlBar* Float(CPoint at, int state, const char* title = "Photos") {
    CPlxSizingControlBar* bar = Dock(AFX_IDW_DOCKBAR_LEFT, CSize(160, 120));
    if (bar == nullptr) return nullptr;
    bar->SetWindowText(title);
    bar->m_szFloat = CSize(160, 120);
    bar->m_nRollState = state;
    m_frame.FloatControlBar(bar, at);
    auto list = std::make_unique<CListBox>();
    CRect client;
    bar->GetClientRect(&client);
    if (list->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, client, bar, 1))
      list->SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Beach.jpg"));
    m_lists.push_back(std::move(list));
    Relayout(bar);
    return bar;
  }
  static Mini* FrameOf(CPlxSizingControlBar* bar) {
    return dynamic_cast<Mini*>(bar->GetParent() != nullptr ? bar->GetParent()->GetParent() : nullptr);
  }
  static void Relayout(CPlxSizingControlBar* bar) {
    if (Mini* mini = FrameOf(bar)) mini->RecalcLayout();
    pictavo::test::PumpPending();
  }
  static int Height(CWnd* wnd) { return ScreenRect(wnd).Height(); }
  static CPoint CaptionPoint(Mini* mini) {
    const CRect rect = ScreenRect(mini);
    return CPoint(rect.left + 30, rect.top + GetSystemMetrics(SM_CYFRAME) + 7);
  }
  CPoint Away() { return ScreenRect(&m_frame).TopLeft() + CSize(300, 300); }
  // One tick of the frame's roll timer.
  static void Tick(CPlxSizingControlBar* bar) {
    FrameOf(bar)->SendMessage(WM_TIMER, static_cast<WPARAM>(bar->GetDlgCtrlID()), 0);
    pictavo::test::PumpPending();
  }

  static int RolledHeight() {
    return GetSystemMetrics(SM_CYSMCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) - 1;
  }
  static int OpenHeight() {
    return 120 + GetSystemMetrics(SM_CYSMCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
  }

  std::vector<std::unique_ptr<CListBox>> m_lists;
};

TEST_F(PlxMiniDockFrame, FloatingBarsGetTheToolkitFrameAsAToolWindow) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollManual);
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  ASSERT_NE(mini, nullptr);
  EXPECT_EQ(mini->GetSizingBar(), bar);
  EXPECT_TRUE(mini->GetExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_EQ(Height(mini), OpenHeight());
  EXPECT_EQ(mini->m_nRollState, Mini::RollManual);
  EXPECT_FALSE(mini->m_rectRollButton.IsRectEmpty());
}

TEST_F(PlxMiniDockFrame, TheRollButtonRollsAndUnrollsByHand) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollManual);
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  const CPoint button = mini->m_rectRollButton.CenterPoint() + ScreenRect(mini).TopLeft();
  Click(button);
  EXPECT_TRUE(bar->m_bRolled);
  EXPECT_EQ(Height(mini), RolledHeight());
  Click(ScreenRect(mini).TopLeft() + (mini->m_rectRollButton.CenterPoint() - CPoint(0, 0)));
  EXPECT_FALSE(bar->m_bRolled);
  EXPECT_EQ(Height(mini), OpenHeight());
}

// Seven ticks with the pointer and the focus away roll an automatic frame up; nothing else does.
TEST_F(PlxMiniDockFrame, AutomaticFramesRollUpOnTheSeventhTickAway) {
  struct Case {
    int state;
    BOOL keepUnrolled;
    bool rolls;
  } const cases[] = {
      {Mini::RollAuto, FALSE, true},           {Mini::RollAutoNarrow, FALSE, true},
      {Mini::RollAutoSuspended, FALSE, false}, {Mini::RollManual, FALSE, false},
      {Mini::RollAuto, TRUE, false},  // the bar asks to stay open
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    m_lists.clear();
    m_bars.clear();
    CPlxSizingControlBar* bar = Float(CPoint(650, 100), c.state);
    ASSERT_NE(bar, nullptr);
    bar->m_bKeepUnrolled = c.keepUnrolled;
    Mini* mini = FrameOf(bar);
    m_frame.SetFocus();
    MoveTo(CaptionPoint(mini));  // arms the timer where rolling is automatic
    MoveTo(Away());
    mini->m_nRollDelay = Mini::kRollDelayTicks;
    for (int tick = 1; tick <= 6; ++tick) Tick(bar);
    EXPECT_FALSE(bar->m_bRolled);
    Tick(bar);
    EXPECT_EQ(bar->m_bRolled != FALSE, c.rolls);
    EXPECT_EQ(Height(mini), c.rolls ? RolledHeight() : OpenHeight());
  }
}

TEST_F(PlxMiniDockFrame, ThePointerOverTheCaptionUnrollsAndHoldsTheFrameOpen) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollAuto);
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  bar->m_bRolled = TRUE;
  Relayout(bar);
  ASSERT_EQ(Height(mini), RolledHeight());
  m_frame.SetFocus();

  MoveTo(CaptionPoint(mini));
  EXPECT_FALSE(bar->m_bRolled);
  EXPECT_EQ(Height(mini), OpenHeight());
  EXPECT_EQ(mini->m_nRollDelay, Mini::kRollDelayTicks);

  // Ticks with the pointer on the frame keep resetting the count.
  for (int tick = 0; tick < 10; ++tick) Tick(bar);
  EXPECT_FALSE(bar->m_bRolled);
  // Three ticks away, back over the frame for one, then away: seven more are needed.
  MoveTo(Away());
  for (int tick = 0; tick < 3; ++tick) Tick(bar);
  MoveTo(ScreenRect(bar).CenterPoint());
  Tick(bar);
  MoveTo(Away());
  for (int tick = 0; tick < 6; ++tick) Tick(bar);
  EXPECT_FALSE(bar->m_bRolled);
  Tick(bar);
  EXPECT_TRUE(bar->m_bRolled);
  EXPECT_EQ(Height(mini), RolledHeight());

  // The focus inside the frame holds it open too.
  MoveTo(CaptionPoint(mini));
  ASSERT_FALSE(bar->m_bRolled);
  m_lists.back()->SetFocus();
  MoveTo(Away());
  for (int tick = 0; tick < 10; ++tick) Tick(bar);
  EXPECT_FALSE(bar->m_bRolled);
}

TEST_F(PlxMiniDockFrame, ANarrowRolledFrameIsAsWideAsItsTitleAndThreeButtons) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollAutoNarrow, "Music");
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  CWindowDC dc(mini);
  const int width = dc.GetTextExtent(CString("Music")).cx + 3 * GetSystemMetrics(SM_CXSMSIZE) +
                    2 * GetSystemMetrics(SM_CXFRAME) + 4;
  bar->m_bRolled = TRUE;
  Relayout(bar);
  EXPECT_EQ(ScreenRect(mini).Size(), CSize(width, RolledHeight()));
  bar->m_bRolled = FALSE;
  Relayout(bar);
  EXPECT_EQ(Height(mini), OpenHeight());
}

TEST_F(PlxMiniDockFrame, ACaptionMovedOffTheWorkAreaComesBack) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollNone);
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  m_frame.FloatControlBar(bar, CPoint(650, work.bottom - 4));
  pictavo::test::PumpPending();
  EXPECT_EQ(ScreenRect(mini).top, work.bottom - GetSystemMetrics(SM_CYSMCAPTION));
  m_frame.FloatControlBar(bar, CPoint(650, work.top - 40));
  pictavo::test::PumpPending();
  EXPECT_EQ(ScreenRect(mini).top, work.top);
  EXPECT_EQ(ScreenRect(mini).left, 650);
}

TEST_F(PlxMiniDockFrame, ARightClickOnTheCaptionAsksTheFrameForTheBarMenu) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollNone);
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  const CPoint at = CaptionPoint(mini);
  MoveTo(at);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kRight, true);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kRight, false);
  pictavo::test::PumpPending();
  EXPECT_EQ(m_frame.m_nMenuRequests, 1);
  EXPECT_EQ(m_frame.m_hwndMenuBar, mini->m_hWnd);
  EXPECT_EQ(m_frame.m_ptMenu, at);
}

TEST_F(PlxMiniDockFrame, DraggingTheCaptionOntoASideDocksTheBar) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollManual);
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  const HWND hwndMini = mini->m_hWnd;
  // The whole gesture is queued at once: the drag follows it in a loop of its own.
  ForgetLastClick();
  const CPoint to = ScreenRect(&m_frame).TopLeft() + CSize(3, 200);
  pictavo::user::InjectMouseMove(CaptionPoint(mini));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  pictavo::user::InjectMouseMove(CPoint(400, 200));
  pictavo::user::InjectMouseMove(to);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  EXPECT_FALSE(bar->IsFloating());
  EXPECT_EQ(bar->GetParent(), m_frame.GetDockBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_FALSE(::IsWindow(hwndMini));
}

// A size given to the frame by its edges goes through the bar's limits and the frame follows.
TEST_F(PlxMiniDockFrame, SizingTheFrameSizesTheBarWithinItsLimits) {
  CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollNone);
  ASSERT_NE(bar, nullptr);
  bar->SetMinSize(CSize(130, 60));  // wider than the smallest window the display allows
  bar->SetMaxSize(CSize(300, 250));
  Mini* mini = FrameOf(bar);
  CRect nc(0, 0, 0, 0);
  ::AdjustWindowRectEx(&nc, mini->GetStyle(), FALSE, mini->GetExStyle());
  struct Case {
    CSize client;
    CSize bar;
  } const cases[] = {
      {CSize(200, 150), CSize(200, 150)},
      {CSize(100, 20), CSize(130, 60)},    // below the minimum
      {CSize(500, 400), CSize(300, 250)},  // past the maximum
  };
  for (const Case& c : cases) {
    mini->SetWindowPos(nullptr, 0, 0, c.client.cx + nc.Width(), c.client.cy + nc.Height(),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pictavo::test::PumpPending();
    EXPECT_EQ(bar->m_szFloat, c.bar) << c.client.cx;
    EXPECT_EQ(ScreenRect(mini).Size(), CSize(c.bar.cx + nc.Width(), c.bar.cy + nc.Height())) << c.client.cx;
  }
}

class CStayingBar : public CPlxSizingControlBar {
 public:
  BOOL CanBeClosed() const override { return FALSE; }
};

TEST_F(PlxMiniDockFrame, ABarThatCannotCloseKeepsItsFrame) {
  auto bar = std::make_unique<CStayingBar>();
  ASSERT_TRUE(bar->Create("Stays", &m_frame, CSize(120, 100), TRUE, 0xEA50, WS_CHILD | CBRS_TOP));
  bar->EnableDocking(CBRS_ALIGN_ANY);
  m_frame.DockControlBar(bar.get(), AFX_IDW_DOCKBAR_LEFT);
  m_frame.FloatControlBar(bar.get(), CPoint(650, 100));
  pictavo::test::PumpPending();
  Mini* mini = FrameOf(bar.get());
  ASSERT_NE(mini, nullptr);
  mini->SendMessage(WM_CLOSE);
  pictavo::test::PumpPending();
  EXPECT_TRUE(mini->IsWindowVisible());
  EXPECT_TRUE(bar->IsWindowVisible());
  m_frame.DestroyWindow();
}

// The stored roll state reaches the frame a floating bar sits in; codes the frame does not know
// leave it as it was.
class PlxMiniDockProfile : public PlxMiniDockFrame {
 protected:
  void SetUp() override {
    PlxMiniDockFrame::SetUp();
    m_app.m_pszProfileName = strdup("MiniDockTest");
    m_app.SetRegistryKey("Talvane");
  }
  pictavo::test::ScratchDir m_dir;
  pictavo::test::ScopedEnv m_config{"XDG_CONFIG_HOME", (m_dir.Path() + "/config").c_str()};
  CWinApp m_app{"MiniDockTest"};
};

TEST_F(PlxMiniDockProfile, StoredRollStatesReachTheFrameAndBadOnesAreIgnored) {
  struct Case {
    int stored;
    int state;
    BOOL rolled;
  } const cases[] = {
      {4, Mini::RollAutoNarrow, TRUE},  // automatic states load rolled
      {3, Mini::RollAutoSuspended, FALSE}, {1, Mini::RollManual, FALSE},
      {9, Mini::RollManual, FALSE},  // not a frame code: the bar keeps what it had
      {-1, Mini::RollManual, FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    m_lists.clear();
    m_bars.clear();
    CPlxSizingControlBar* bar = Float(CPoint(650, 100), Mini::RollManual);
    ASSERT_NE(bar, nullptr);
    const CString section = bar->GetStateSection("Roll");
    m_app.WriteProfileInt(section, "RolledFloat", 0);
    m_app.WriteProfileInt(section, "RolledFloatDynamicState", c.stored);
    bar->LoadState("Roll");
    Mini* mini = FrameOf(bar);
    EXPECT_EQ(bar->m_nRollState, c.state);
    EXPECT_EQ(mini->m_nRollState, c.state);
    EXPECT_EQ(mini->m_bRolled, c.rolled);
    Relayout(bar);
    EXPECT_EQ(Height(mini), c.rolled ? RolledHeight() : OpenHeight());
  }
}

// ---- look ----

std::string BarsReferencePath(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
}

bool WriteReferences() {
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  return flag != nullptr && std::string(flag) == "1";
}

class PlxMiniDockLook : public PlxMiniDockFrame {
 protected:
  void Check(Mini* mini, const std::string& name) {
    mini->RedrawWindow(nullptr, nullptr,
                       RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pictavo::test::PumpPending();
    const std::string path = pictavo::test::SaveDesktopArea(ScreenRect(mini), name);
    ASSERT_FALSE(path.empty());
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
    pictavo::test::Canvas canvas(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        const COLORREF c = picture.At(x, y);
        canvas.Pixel(x, y) = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    const std::string reference = BarsReferencePath(name);
    if (WriteReferences()) ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  }
};

TEST_F(PlxMiniDockLook, CaptionWithItsRollButtonUnrolledAndRolled) {
  CPlxSizingControlBar* bar = Float(CPoint(620, 60), Mini::RollManual);
  ASSERT_NE(bar, nullptr);
  Mini* mini = FrameOf(bar);
  Check(mini, "mini-frame-unrolled.png");
  bar->m_bRolled = TRUE;
  Relayout(bar);
  Check(mini, "mini-frame-rolled.png");
  bar->m_nRollState = Mini::RollAuto;
  Relayout(bar);
  Check(mini, "mini-frame-rolled-auto.png");
}

}  // namespace
