// Sizing control bars in a frame's dock rows: how a row shares its length, what splitter drags
// and the expand button do, which edges a bar shows and what the pointer hits, the profile and the
// rolled-up size.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/mfc/StdControls.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Metrics.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/toolkit/core/SizingBarFrame.h"
#include "toolkit/core/PlxDialogBar.h"
#include "toolkit/customize/PlxTabWnd.h"

namespace {

using pictavo::test::SizingBarFrame;

class PlxSizingBarRow : public SizingBarFrame {};

TEST_F(PlxSizingBarRow, AFullLayoutHandsTheMissingLengthOutOnePixelAtATime) {
  const struct {
    int first, second;
    int frameWidth;
    int wantFirst, wantSecond;
  } kCases[] = {
      {250, 260, 600, 295, 305},  // 90 missing pixels, alternately in row order
      {300, 300, 600, 300, 300},  // fits already
      {400, 400, 600, 300, 300},  // 200 too many, taken alternately
      {500, 60, 300, 260, 40},    // too long: the shorter one stops at its minimum
  };
  for (const auto& c : kCases) {
    MakeFrame(CRect(10, 10, 10 + c.frameWidth, 410), 0);
    m_bars.clear();
    CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
    CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120), a);
    ASSERT_TRUE(a && b);
    a->m_szHorz.cx = c.first;
    b->m_szHorz.cx = c.second;
    Settle();
    EXPECT_EQ(a->m_szHorz.cx, c.wantFirst) << c.first << "+" << c.second << " in " << c.frameWidth;
    EXPECT_EQ(b->m_szHorz.cx, c.wantSecond) << c.first << "+" << c.second << " in " << c.frameWidth;
    // The windows follow, side by side from the row's start.
    EXPECT_EQ(Length(a), c.wantFirst);
    EXPECT_EQ(Length(b), c.wantSecond);
    EXPECT_EQ(ScreenRect(b).left, ScreenRect(a).right);
  }
}

TEST_F(PlxSizingBarRow, BarsShownSinceTheLastLayoutKeepTheirLengthWhileOthersCanChange) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120), a);
  ASSERT_TRUE(a && b);
  const struct {
    BOOL keepFirst, keepSecond;
    int total;
    int wantFirst, wantSecond;
  } kCases[] = {
      {FALSE, FALSE, 600, 295, 305}, {TRUE, FALSE, 600, 250, 350}, {FALSE, TRUE, 600, 340, 260},
      {TRUE, TRUE, 600, 295, 305},  // nobody else can change: both give way after all
      {TRUE, FALSE, 330, 250, 80},  // shrinking: the other one alone down to 80
      {FALSE, TRUE, 200, 40, 160},  // the kept one gives way once the other is at its minimum
  };
  for (const auto& c : kCases) {
    a->m_szHorz.cx = 250;
    b->m_szHorz.cx = 260;
    a->m_bKeepSize = c.keepFirst;
    b->m_bKeepSize = c.keepSecond;
    EXPECT_TRUE(a->NegotiateSpace(c.total, TRUE));
    EXPECT_EQ(a->m_szHorz.cx, c.wantFirst) << c.keepFirst << c.keepSecond << " " << c.total;
    EXPECT_EQ(b->m_szHorz.cx, c.wantSecond) << c.keepFirst << c.keepSecond << " " << c.total;
    EXPECT_FALSE(a->m_bKeepSize || b->m_bKeepSize);
  }
}

TEST_F(PlxSizingBarRow, MinimumsThatDoNotFitMoveTheBarToARowOfItsOwn) {
  MakeFrame(CRect(10, 10, 110, 410), 0);
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(50, 80));
  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(50, 80), a);
  ASSERT_TRUE(a && b);
  a->SetMinSize(CSize(60, 40));
  b->SetMinSize(CSize(60, 40));
  Settle();
  // 2 + 60 + 60 > 100: the row's first bar went to a new row right after it, alone.
  const auto& arr = a->m_pDockBar->m_arrBars;
  ASSERT_EQ(arr.size(), 4u);
  EXPECT_EQ(arr[0], b);
  EXPECT_EQ(arr[1], nullptr);
  EXPECT_EQ(arr[2], a);
  EXPECT_EQ(arr[3], nullptr);
  EXPECT_EQ(ScreenRect(a).top, ScreenRect(b).bottom);
  EXPECT_EQ(Length(a), 100);
  EXPECT_EQ(Length(b), 100);

  // Alone and still too long: it stays where it is and nothing is resized.
  a->SetMinSize(CSize(150, 40));
  a->m_szHorz.cx = 120;
  EXPECT_FALSE(a->NegotiateSpace(100, TRUE));
  EXPECT_EQ(arr.size(), 4u);
  EXPECT_EQ(arr[2], a);
  EXPECT_EQ(a->m_szHorz.cx, 120);
}

// A dialog bar keeps its template's size: docked under a sizing bar in a column too short for
// both, one layout settles them, and asks for no other.
TEST_F(PlxSizingBarRow, AFixedSizeDialogBarInTheColumnSettlesInOneLayout) {
  MakeFrame(CRect(10, 10, 610, 410), 0);
  CPlxSizingControlBar* tree = Dock(AFX_IDW_DOCKBAR_LEFT, CSize(150, 300));
  ASSERT_NE(tree, nullptr);
  CPlxDialogBar find;
  ASSERT_TRUE(find.Create("Find", &m_frame, TRUE, 64865, WS_CHILD | WS_VISIBLE | CBRS_LEFT, 0xEA50));
  find.EnableDocking(CBRS_ALIGN_ANY);
  CRect below = ScreenRect(tree);
  below.OffsetRect(0, below.Height() + 4);
  m_frame.DockControlBar(&find, AFX_IDW_DOCKBAR_LEFT, &below);
  m_frame.RecalcLayout();  // no message loop here: one that met the fault would never end
  const CRect settled = ScreenRect(&find);
  m_frame.m_nIdleFlags &= ~CFrameWnd::idleLayout;  // what the idle pass does before it lays out
  m_frame.RecalcLayout();
  EXPECT_EQ(m_frame.m_nIdleFlags & CFrameWnd::idleLayout, 0u) << "the layout asked for another";
  EXPECT_EQ(ScreenRect(&find), settled);
  find.DestroyWindow();
}

TEST_F(PlxSizingBarRow, SplitterDragsStopAtTheLimitsAndDragToTheEndExpands) {
  const struct {
    UINT edge;
    CSize move;
    int wantFirst, wantSecond, wantThickness;
    BOOL wantExpanded;
  } kCases[] = {
      {HTRIGHT, {50, 0}, 345, 255, 120, FALSE},
      {HTRIGHT, {-80, 0}, 215, 385, 120, FALSE},
      {HTRIGHT, {-400, 0}, 40, 560, 120, FALSE},  // this bar's minimum
      {HTRIGHT, {400, 0}, 560, 40, 120, TRUE},    // the neighbour's minimum: expanded
      {HTBOTTOM, {0, 30}, 295, 305, 150, FALSE},  // the outer edge: the whole row thickens
      {HTBOTTOM, {0, -200}, 295, 305, 40, FALSE},
      // The free client area below the row (400 - 120) less 4.
      {HTBOTTOM, {0, 1000}, 295, 305, 120 + 280 - 4, FALSE},
  };
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120), a);
  ASSERT_TRUE(a && b);
  for (const auto& c : kCases) {
    a->m_szHorz = CSize(295, 120);
    b->m_szHorz = CSize(305, 120);
    a->m_bMaximized = b->m_bMaximized = FALSE;
    Settle();
    const CPoint from = EdgeCentre(a, c.edge);
    ASSERT_EQ(a->HitTest(from), c.edge);
    Drag(from, from + c.move);
    EXPECT_FALSE(a->m_bTracking);
    Settle();
    const std::string what =
        std::to_string(c.edge) + " by " + std::to_string(c.move.cx) + "," + std::to_string(c.move.cy);
    EXPECT_EQ(Length(a), c.wantFirst) << what;
    EXPECT_EQ(Length(b), c.wantSecond) << what;
    EXPECT_EQ(ScreenRect(a).Height(), c.wantThickness) << what;
    EXPECT_EQ(ScreenRect(b).Height(), c.wantThickness) << what;
    EXPECT_EQ(a->m_bMaximized, c.wantExpanded) << what;
  }
}

TEST_F(PlxSizingBarRow, TheExpandButtonGivesTheRowToOneBarAndBack) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  ASSERT_TRUE(a);
  // Alone in its row the button is drawn disabled and a click does nothing.
  Click(ButtonCentre(a, CPlxSizingControlBar::kExpandButton));
  Settle();
  EXPECT_FALSE(a->m_bMaximized);
  EXPECT_EQ(Length(a), 600);

  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120), a);
  a->m_szHorz.cx = 250;
  b->m_szHorz.cx = 260;
  Settle();
  Click(ButtonCentre(a, CPlxSizingControlBar::kExpandButton));
  Settle();
  EXPECT_TRUE(a->m_bMaximized);
  EXPECT_EQ(Length(a), 600 - 40);
  EXPECT_EQ(Length(b), 40);
  CString tip;
  a->m_ToolTip.GetText(tip, a, 2);
  EXPECT_EQ(tip, "Restore");

  // Expanding the other one resets the first; restoring gives both their sizes back.
  Click(ButtonCentre(b, CPlxSizingControlBar::kExpandButton));
  Settle();
  EXPECT_FALSE(a->m_bMaximized);
  EXPECT_TRUE(b->m_bMaximized);
  EXPECT_EQ(Length(a), 40);
  Click(ButtonCentre(b, CPlxSizingControlBar::kExpandButton));
  Settle();
  EXPECT_FALSE(b->m_bMaximized);
  EXPECT_EQ(Length(a) + Length(b), 600);
  b->m_ToolTip.GetText(tip, b, 2);
  EXPECT_EQ(tip, "Expand");

  // The close button hides the bar; the other one takes the row.
  Click(ButtonCentre(b, CPlxSizingControlBar::kCloseButton));
  Settle();
  EXPECT_FALSE(b->IsVisible());
  EXPECT_EQ(Length(a), 600);
}

TEST_F(PlxSizingBarRow, EdgesShownByDockSideAndPlaceInTheRow) {
  const struct {
    UINT dock;
    bool second;  // a second bar after it in the row
    bool left, top, right, bottom;
  } kCases[] = {
      {AFX_IDW_DOCKBAR_TOP, false, false, false, false, true},
      {AFX_IDW_DOCKBAR_TOP, true, false, false, true, true},
      {AFX_IDW_DOCKBAR_BOTTOM, false, false, true, false, false},
      {AFX_IDW_DOCKBAR_BOTTOM, true, false, true, true, false},
      {AFX_IDW_DOCKBAR_LEFT, false, false, false, true, false},
      {AFX_IDW_DOCKBAR_LEFT, true, false, false, true, true},
      {AFX_IDW_DOCKBAR_RIGHT, false, true, false, false, false},
      {AFX_IDW_DOCKBAR_RIGHT, true, true, false, false, true},
  };
  for (const auto& c : kCases) {
    MakeFrame(CRect(10, 10, 610, 410), 0);
    m_bars.clear();
    CPlxSizingControlBar* bar = Dock(c.dock, CSize(150, 150));
    CPlxSizingControlBar* next = c.second ? Dock(c.dock, CSize(150, 150), bar) : nullptr;
    ASSERT_TRUE(bar && (!c.second || next));
    const std::string what = std::to_string(c.dock) + (c.second ? " first of two" : " alone");
    EXPECT_EQ(bar->IsEdgeVisible(HTLEFT) != 0, c.left) << what;
    EXPECT_EQ(bar->IsEdgeVisible(HTTOP) != 0, c.top) << what;
    EXPECT_EQ(bar->IsEdgeVisible(HTRIGHT) != 0, c.right) << what;
    EXPECT_EQ(bar->IsEdgeVisible(HTBOTTOM) != 0, c.bottom) << what;
    // The pointer finds each visible edge, the caption band, the buttons and the client.
    for (UINT edge : {HTLEFT, HTTOP, HTRIGHT, HTBOTTOM})
      if (bar->IsEdgeVisible(edge))
        EXPECT_EQ(bar->HitTest(EdgeCentre(bar, edge)), edge) << what << " " << edge;
    CRect client;
    bar->GetClientRect(&client);
    bar->ClientToScreen(&client);
    EXPECT_EQ(bar->HitTest(client.CenterPoint()), static_cast<UINT>(HTCLIENT)) << what;
    EXPECT_EQ(bar->HitTest(ButtonCentre(bar, CPlxSizingControlBar::kCloseButton)),
              static_cast<UINT>(HTOBJECT))
        << what;
    EXPECT_EQ(bar->HitTest(ButtonCentre(bar, CPlxSizingControlBar::kExpandButton)),
              static_cast<UINT>(HTMAXBUTTON))
        << what;
    // The band's far end, away from the buttons.
    const CRect window = ScreenRect(bar);
    CRect band;
    CRect clientInWindow = client;
    clientInWindow.OffsetRect(-window.TopLeft());
    bar->GetCaptionRect(clientInWindow, FALSE, band);
    const CPoint far = bar->IsHorzDocked() ? CPoint(band.CenterPoint().x, band.bottom - 3)
                                           : CPoint(band.left + 3, band.CenterPoint().y);
    EXPECT_EQ(bar->HitTest(far + window.TopLeft()), static_cast<UINT>(HTCAPTION)) << what;
  }
}

TEST_F(PlxSizingBarRow, RightToLeftMirrorsEdgesAndButtons) {
  MakeFrame(CRect(10, 10, 610, 410), WS_EX_LAYOUTRTL);
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(250, 120));
  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(250, 120), a);
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(a->IsRTL());
  const CRect window = ScreenRect(a);
  // The splitter after the first bar of the row lies at its left on the screen, the caption
  // band at its right.
  EXPECT_EQ(a->HitTest(CPoint(window.left + 4, window.CenterPoint().y)), static_cast<UINT>(HTRIGHT));
  EXPECT_LT(ButtonCentre(a, CPlxSizingControlBar::kCloseButton).x, window.right);
  EXPECT_GT(ButtonCentre(a, CPlxSizingControlBar::kCloseButton).x, window.right - 20);
  CRect client;
  a->GetClientRect(&client);
  a->ClientToScreen(&client);
  EXPECT_EQ(client.left, window.left + 2 + 6);  // border, then the splitter
  EXPECT_EQ(client.right, window.right - 2 - a->m_cyGripper);
}

TEST_F(PlxSizingBarRow, LayoutSizesForStretchFloatingAndRolledUp) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 200));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->CalcFixedLayout(TRUE, TRUE), CSize(32767, 200));
  EXPECT_EQ(a->CalcFixedLayout(TRUE, FALSE), CSize(200, 32767));
  a->SetMaxSize(CSize(300, 250));
  const struct {
    int length;
    DWORD mode;
    CSize want;
  } kCases[] = {
      {260, LM_HORZ, {260, 200}},     // a width for the floating frame
      {10, LM_HORZ, {40, 200}},       // raised to the minimum
      {900, LM_HORZ, {300, 200}},     // capped at the maximum
      {180, LM_LENGTHY, {300, 180}},  // a height
      {999, LM_LENGTHY, {300, 250}},
      {-1, LM_HORZ | LM_COMMIT, {300, 250}},  // the last floating size, unchanged
  };
  for (const auto& c : kCases)
    EXPECT_EQ(a->CalcDynamicLayout(c.length, c.mode), c.want) << c.length << " mode " << c.mode;
  // Rolled up: only the frame's edge while the focus is elsewhere.
  a->m_bRolled = TRUE;
  m_frame.SetFocus();
  EXPECT_EQ(a->CalcDynamicLayout(-1, LM_HORZ | LM_COMMIT), CSize(300, ::GetSystemMetrics(SM_CYFRAME) - 1));
  a->SetFocus();
  EXPECT_EQ(a->CalcDynamicLayout(-1, LM_HORZ | LM_COMMIT), CSize(300, 250));
}

TEST_F(PlxSizingBarRow, CaptionButtonsLineUpAtTheBandsEnd) {
  const struct {
    UINT dock;
    bool alone;
    BOOL hideDisabled;
    bool expandShown;
  } kCases[] = {
      {AFX_IDW_DOCKBAR_TOP, false, FALSE, true},  {AFX_IDW_DOCKBAR_TOP, true, FALSE, true},
      {AFX_IDW_DOCKBAR_TOP, true, TRUE, false},   {AFX_IDW_DOCKBAR_TOP, false, TRUE, true},
      {AFX_IDW_DOCKBAR_LEFT, false, FALSE, true}, {AFX_IDW_DOCKBAR_LEFT, true, TRUE, false},
  };
  for (const auto& c : kCases) {
    CPlxSizingControlBar::m_bHideDisabledButtons = c.hideDisabled;
    MakeFrame(CRect(10, 10, 610, 410), 0);
    m_bars.clear();
    CPlxSizingControlBar* bar = Dock(c.dock, CSize(200, 200));
    if (!c.alone) Dock(c.dock, CSize(200, 200), bar);
    const std::string what =
        std::to_string(c.dock) + (c.alone ? " alone" : " in a row") + (c.hideDisabled ? " hiding" : "");
    const CPlxCaptionButton& close = bar->m_Buttons[CPlxSizingControlBar::kCloseButton];
    const CPlxCaptionButton& expand = bar->m_Buttons[CPlxSizingControlBar::kExpandButton];
    EXPECT_EQ(close.GetRect().Size(), CSize(14, 14)) << what;
    EXPECT_EQ(!expand.m_bHidden, c.expandShown) << what;
    CRect client;
    bar->GetClientRect(&client);
    bar->ClientToScreen(&client);
    client.OffsetRect(-ScreenRect(bar).TopLeft());
    CRect band;
    bar->GetCaptionRect(client, TRUE, band);
    // Both in the band, outside the client; close first at the band's end, expand next to it.
    EXPECT_TRUE(CRect().IntersectRect(close.GetRect(), client) == FALSE) << what;
    if (bar->IsHorzDocked()) {
      EXPECT_EQ(close.GetRect().top, band.top + 2) << what;
      if (c.expandShown) EXPECT_EQ(expand.GetRect().top, close.GetRect().bottom + 1) << what;
    } else {
      EXPECT_EQ(close.GetRect().right, band.right - 2) << what;
      if (c.expandShown) EXPECT_EQ(expand.GetRect().right, close.GetRect().left - 1) << what;
    }
    // A hidden button answers no hit.
    if (!c.expandShown)
      EXPECT_NE(bar->HitTest(expand.GetRect().CenterPoint() + ScreenRect(bar).TopLeft()),
                static_cast<UINT>(HTMAXBUTTON))
          << what;
  }
  CPlxSizingControlBar::m_bHideDisabledButtons = FALSE;
}

TEST_F(PlxSizingBarRow, ADoubleClickOnTheCaptionFloatsTheBarAndOneInsideDocksItAgain) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120), a);
  ASSERT_TRUE(a && b);
  const CRect window = ScreenRect(a);
  DoubleClick(CPoint(window.left + 6, window.bottom - 12));  // the band, below the buttons
  Settle();
  ASSERT_TRUE(a->IsFloating());
  EXPECT_TRUE(a->IsFloatingBar());
  EXPECT_EQ(Length(b), 600);
  EXPECT_EQ(ScreenRect(a).Size(), a->m_szFloat);

  CRect client;
  a->GetClientRect(&client);
  a->ClientToScreen(&client);
  DoubleClick(client.CenterPoint());
  Settle();
  EXPECT_FALSE(a->IsFloating());
  EXPECT_TRUE(a->IsHorzDocked());
}

TEST_F(PlxSizingBarRow, RightClicksAskTheFrameForTheBarsMenuAndStopATrack) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120), a);
  ASSERT_TRUE(a && b);
  CRect client;
  a->GetClientRect(&client);
  a->ClientToScreen(&client);
  MoveTo(client.CenterPoint());
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kRight, true);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kRight, false);
  pictavo::test::PumpPending();
  EXPECT_EQ(m_frame.m_nMenuRequests, 1);
  EXPECT_EQ(m_frame.m_hwndMenuBar, a->m_hWnd);
  EXPECT_EQ(m_frame.m_ptMenu, client.CenterPoint());

  // While a splitter is tracked the right button ends the track instead; so does losing the
  // capture to another window.
  for (bool byCapture : {false, true}) {
    ForgetLastClick();
    MoveTo(EdgeCentre(a, HTRIGHT));
    Button(true);
    MoveTo(EdgeCentre(a, HTRIGHT) + CSize(20, 0));
    ASSERT_TRUE(a->m_bTracking);
    if (byCapture) {
      m_frame.SetCapture();
      pictavo::test::PumpPending();
      ::ReleaseCapture();
    } else {
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kRight, true);
      pictavo::test::PumpPending();
    }
    EXPECT_FALSE(a->m_bTracking) << byCapture;
    Button(false);
    if (!byCapture) pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kRight, false);
    pictavo::test::PumpPending();
  }
  // The right button's release over the edge asks for the menu, as on any non-client part.
  EXPECT_EQ(m_frame.m_nMenuRequests, 2);
}

TEST_F(PlxSizingBarRow, TheCaptionIsActiveWhileTheFocusIsInsideTheBar) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  ASSERT_TRUE(a);
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), a, 5));
  edit.SetFocus();
  a->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_TRUE(a->m_bActive);
  m_frame.SetFocus();
  a->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_FALSE(a->m_bActive);
  // Customize mode disables what the bar holds, and gives it back.
  a->OnCustomizeMode(TRUE);
  EXPECT_FALSE(edit.IsWindowEnabled());
  a->OnCustomizeMode(FALSE);
  EXPECT_TRUE(edit.IsWindowEnabled());
}

// ---------------------------------------------------------------------------------------------
// The profile

class PlxSizingBarProfile : public SizingBarFrame {
 protected:
  void SetUp() override {
    SizingBarFrame::SetUp();
    m_app.m_pszProfileName = strdup("SizingBarsTest");
    m_app.SetRegistryKey("Talvane");
  }
  pictavo::test::ScratchDir m_dir;
  pictavo::test::ScopedEnv m_config{"XDG_CONFIG_HOME", (m_dir.Path() + "/config").c_str()};
  CWinApp m_app{"SizingBarsTest"};
};

TEST_F(PlxSizingBarProfile, ALongProfileNameKeepsItsWholeSection) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  CPlxSizingControlBar* b = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120), a);
  ASSERT_TRUE(a && b);
  // 300 characters, more than the 256 the section once had room for; the registry's own limit
  // of 255 per key name still holds for each part.
  std::string profile = "Workspace";
  while (profile.size() < 300) profile += "\\" + std::string(std::min<size_t>(60, 299 - profile.size()), 'p');
  ASSERT_EQ(profile.size(), 300u);
  const CString section = a->GetStateSection(profile.c_str());
  EXPECT_EQ(std::string(section), profile + "-SCBar-" + std::to_string(a->GetDlgCtrlID()));

  a->m_szVert = CSize(180, 222);
  a->m_szFloat = CSize(210, 190);
  a->m_szHorz.cx = 250;
  b->m_szHorz.cx = 260;
  Settle();
  a->ToggleExpand(TRUE);
  Settle();
  ASSERT_TRUE(a->m_bMaximized);
  a->SaveState(profile.c_str());
  // An expanded bar stores the size it returns to.
  EXPECT_EQ(m_app.GetProfileInt(section, "sizeHorzCX", 0), 295u);
  EXPECT_EQ(m_app.GetProfileInt(section, "Expanded", 0), 1u);
  // Another bar's section is apart, even though the names only differ past 256 characters.
  EXPECT_EQ(m_app.GetProfileInt(b->GetStateSection(profile.c_str()), "sizeHorzCX", 7), 7u);

  a->ToggleExpand(TRUE);
  a->m_szVert = CSize(50, 50);
  a->m_szFloat = CSize(50, 50);
  a->LoadState(profile.c_str());
  Settle();
  EXPECT_EQ(a->m_szVert, CSize(180, 222));
  EXPECT_EQ(a->m_szFloat, CSize(210, 190));
  EXPECT_TRUE(a->m_bMaximized);
  EXPECT_EQ(a->m_szOld.cx, 295);
}

TEST_F(PlxSizingBarProfile, BadStoredValuesAreClampedOrIgnored) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_LEFT, CSize(200, 200));
  ASSERT_TRUE(a);
  CPlxTabWnd tabs;
  ASSERT_TRUE(tabs.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), a, 1));
  for (const char* label : {"One", "Two", "Three"}) tabs.AddTab(label);
  a->SetMaxSize(CSize(500, -1));
  const int screenY = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  ASSERT_GT(screenY, 0);
  const struct {
    const char* entry;
    int stored;
    int want;  // the field after loading
  } kCases[] = {
      {"sizeVertCX", 99999, 500},  // past the maximum
      {"sizeVertCX", 5, 40},       // under the minimum
      {"sizeVertCX", -7, 40},
      {"sizeVertCY", 99999, screenY},  // no maximum: the screen
      {"sizeFloatCX", 1 << 30, 500},
      {"sizeFloatCY", 300, 300},
      {"sizeHorzCY", 99999, screenY},
      {"RolledFloatDynamicState", 3, 3},
      {"RolledFloatDynamicState", 6, 0},  // not one of the frame's codes: ignored
      {"RolledFloatDynamicState", -1, 0},
      {"ActiveTab", 2, 2},
      {"ActiveTab", 3, 0},  // no such tab: ignored
      {"ActiveTab", -1, 0},
  };
  const CString section = a->GetStateSection("P");
  for (const auto& c : kCases) {
    a->m_szHorz = a->m_szVert = a->m_szFloat = CSize(200, 200);
    a->m_nRollState = 0;
    tabs.SetActiveTab(0);
    m_app.WriteProfileInt(section, c.entry, c.stored);
    a->LoadState("P");
    const std::string entry = c.entry;
    int got = 0;
    if (entry == "sizeVertCX") got = a->m_szVert.cx;
    if (entry == "sizeVertCY") got = a->m_szVert.cy;
    if (entry == "sizeFloatCX") got = a->m_szFloat.cx;
    if (entry == "sizeFloatCY") got = a->m_szFloat.cy;
    if (entry == "sizeHorzCY") got = a->m_szHorz.cy;
    if (entry == "RolledFloatDynamicState") got = a->m_nRollState;
    if (entry == "ActiveTab") got = tabs.GetActiveTab();
    EXPECT_EQ(got, c.want) << c.entry << " = " << c.stored;
    m_app.WriteProfileInt(section, c.entry,
                          entry == "ActiveTab" || entry == "RolledFloatDynamicState" ? 0 : 200);
  }
}

TEST_F(PlxSizingBarProfile, RollStatesTwoAndFourLoadRolledWhateverRolledFloatSays) {
  CPlxSizingControlBar* a = Dock(AFX_IDW_DOCKBAR_TOP, CSize(200, 120));
  ASSERT_TRUE(a);
  const CString section = a->GetStateSection("R");
  const struct {
    int rolledFloat, state;
    BOOL wantRolled;
  } kCases[] = {{0, 2, TRUE}, {0, 4, TRUE}, {0, 1, FALSE}, {1, 1, TRUE}, {1, 0, TRUE}, {0, 9, FALSE}};
  for (const auto& c : kCases) {
    a->m_bRolled = FALSE;
    a->m_nRollState = 0;
    m_app.WriteProfileInt(section, "RolledFloat", c.rolledFloat);
    m_app.WriteProfileInt(section, "RolledFloatDynamicState", c.state);
    a->LoadState("R");
    EXPECT_EQ(a->m_bRolled, c.wantRolled) << c.rolledFloat << "/" << c.state;
  }
  // Saved only while the bar has a roll state.
  a->m_nRollState = 0;
  a->SaveState("S");
  EXPECT_EQ(m_app.GetProfileInt(a->GetStateSection("S"), "RolledFloatDynamicState", 77), 77u);
  a->m_nRollState = 4;
  a->m_bRolled = TRUE;
  a->SaveState("S");
  EXPECT_EQ(m_app.GetProfileInt(a->GetStateSection("S"), "RolledFloatDynamicState", 77), 4u);
  EXPECT_EQ(m_app.GetProfileInt(a->GetStateSection("S"), "RolledFloat", 77), 1u);
}

}  // namespace
