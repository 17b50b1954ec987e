// The tab window as its owner sees it: which tab is active and shown after adding, removing and
// moving tabs, the colours it reports, the layout of each style and scrolling a tab into view,
// hit testing of overlapping tabs, and the notifications clicks, keys, renaming and dragging send.
#include <gtest/gtest.h>

#include "platform/user/Input.h"
#include "tests/toolkit/customize/TabHost.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/core/PlxGlobalData.h"

using namespace tabtest;
using pictavo::test::PumpPending;

namespace {

const std::vector<const char*> kThree = {"One", "Two", "Three"};

class PlxTabWnd : public ::testing::Test, public TabFixture {
 protected:
  static void SetUpTestSuite() { StartDisplay(); }
  void SetUp() override { CreateHost(640, 240); }
  void TearDown() override {
    tabs.reset();
    Destroy();
    CPlxVisualManager::DestroyInstance();
  }
  void Make(int style, int width = 400, std::vector<const char*> labels = kThree, int location = 1) {
    if (tabs && tabs->GetSafeHwnd() != nullptr) tabs->DestroyWindow();
    tabs = MakeTabs(style, CRect(0, 0, width, 200), location, labels);
    ASSERT_TRUE(tabs);
    host.notes.clear();
  }
  CPoint Centre(int i) const {
    CRect r;
    tabs->GetTabRect(i, r);
    return r.CenterPoint();
  }
  void Click(CPoint pt) {
    tabs->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    tabs->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
  BOOL CtrlKey(WPARAM key) {
    BYTE state[256] = {};
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    MSG msg{tabs->GetSafeHwnd(), WM_KEYDOWN, key, 0};
    const BOOL eaten = tabs->PreTranslateMessage(&msg);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    return eaten;
  }
  std::vector<CString> Labels() const {
    std::vector<CString> out;
    for (int i = 0; i < tabs->GetTabsNum(); ++i) {
      CString s;
      tabs->GetTabLabel(i, s);
      out.push_back(s);
    }
    return out;
  }
  std::unique_ptr<CPlxTabWnd> tabs;
};

const UINT& kChange = CPlxTabWnd::PlxM_ONCHANGE_ACTIVE_TAB;

TEST_F(PlxTabWnd, TheFirstTabBecomesActiveAndLaterTabsStayHidden) {
  Make(CPlxTabWnd::TabStyle3D);
  EXPECT_EQ(tabs->GetActiveTab(), 0);
  EXPECT_TRUE(tabs->GetTabWnd(0)->IsWindowVisible());
  EXPECT_FALSE(tabs->GetTabWnd(1)->IsWindowVisible());
  EXPECT_FALSE(tabs->GetTabWnd(2)->IsWindowVisible());
  CRect page;
  tabs->GetTabWnd(0)->GetWindowRect(page);
  tabs->ScreenToClient(page);
  EXPECT_EQ(page, tabs->m_rectWndArea) << "the active window fills the window area";
  EXPECT_EQ(tabs->GetTabFromHwnd(tabs->GetTabWnd(2)->GetSafeHwnd()), 2);
  EXPECT_EQ(tabs->GetTabFromHwnd(host.GetSafeHwnd()), -1);
}

TEST_F(PlxTabWnd, RemovingTabsPicksTheNextActiveTabAndTellsTheParent) {
  struct Case {
    const char* what;
    int tabs, active, remove;
    int nowActive;
    std::vector<Note> notes;
  };
  const Case kCases[] = {
      {"the only tab: no notification", 1, 0, 0, -1, {}},
      {"the active one: the tab before, lParam -1", 3, 2, 2, 1, {{kChange, 1, static_cast<LPARAM>(-1)}}},
      {"the active first one: tab 0", 3, 0, 0, 0, {{kChange, 0, static_cast<LPARAM>(-1)}}},
      {"after the active one: unchanged both ways", 3, 0, 2, 0, {{kChange, 0, 0}}},
      {"before the active one: active index follows its tab",
       3,
       2,
       0,
       1,
       {{kChange, 1, static_cast<LPARAM>(-1)}}},
      {"out of range: nothing", 3, 1, 3, 1, {}},
  };
  for (const Case& c : kCases) {
    std::vector<const char*> labels(kThree.begin(), kThree.begin() + c.tabs);
    Make(CPlxTabWnd::TabStyle3DScroll, 400, labels);
    tabs->SetActiveTab(c.active);
    host.notes.clear();
    EXPECT_EQ(tabs->RemoveTab(c.remove), c.remove < c.tabs) << c.what;
    EXPECT_EQ(tabs->GetActiveTab(), c.nowActive) << c.what;
    EXPECT_EQ(host.notes, c.notes) << c.what;
    if (c.nowActive >= 0) EXPECT_TRUE(tabs->GetActiveWnd()->IsWindowVisible()) << c.what;
    tabs->DestroyWindow();
  }
}

TEST_F(PlxTabWnd, BackgroundColoursOwnThenAutomaticThenNone) {
  Make(CPlxTabWnd::TabStyle3D, 400, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
  tabs->SetTabBkColor(3, RGB(1, 2, 3));
  EXPECT_EQ(tabs->GetTabBkColor(3), RGB(1, 2, 3));
  EXPECT_EQ(tabs->GetTabBkColor(9), (COLORREF)-1) << "no automatic colours while they are off";
  EXPECT_FALSE(tabs->HasColoredTabs() && tabs->GetTabBkColor(0) != (COLORREF)-1);
  tabs->m_bAutoColorEnabled = TRUE;
  EXPECT_EQ(tabs->GetTabBkColor(9), (COLORREF)-1) << "an empty table gives no colour (and no division by 0)";
  tabs->InitAutoColors();
  EXPECT_EQ(tabs->GetTabBkColor(9), RGB(255, 219, 117)) << "tab 9 of 8 colours takes the second";
  EXPECT_EQ(tabs->GetTabBkColor(3), RGB(1, 2, 3)) << "its own colour wins";
  EXPECT_EQ(tabs->GetTabBkColor(10), (COLORREF)-1) << "out of range";
  EXPECT_FALSE(tabs->SetTabBkColor(10, 0));
  tabs->m_bDefaultAutoColors = FALSE;
  tabs->m_autoColors = {RGB(9, 9, 9)};
  tabs->InitAutoColors();
  EXPECT_EQ(tabs->GetTabBkColor(5), RGB(9, 9, 9)) << "the owner's own table is kept";
}

TEST_F(PlxTabWnd, LabelsAndIconsRefuseBadArguments) {
  Make(CPlxTabWnd::TabStyleFlat);
  EXPECT_FALSE(tabs->SetTabLabel(0, ""));
  EXPECT_FALSE(tabs->SetTabLabel(3, "x"));
  EXPECT_TRUE(tabs->SetTabLabel(1, "Renamed"));
  EXPECT_EQ(Labels()[1], "Renamed");
  EXPECT_EQ(tabs->GetTabIcon(0), -1);
  EXPECT_EQ(tabs->GetTabIcon(5), -1);
  EXPECT_FALSE(tabs->SetImageList(nullptr)) << "flat tabs draw no images";
  EXPECT_EQ(tabs->GetTabWnd(-1), nullptr);
  CRect r;
  EXPECT_FALSE(tabs->GetTabRect(7, r));
}

// Per style: the flags it sets, whether tabs shrink to share a narrow row or keep their width and
// scroll, and that EnsureVisible brings the last of many tabs wholly inside the row.
TEST_F(PlxTabWnd, LayoutAndEnsureVisiblePerStyle) {
  struct Case {
    int style;
    BOOL scrollable, overlapping;
  };
  const Case kCases[] = {
      {0, FALSE, FALSE}, {1, TRUE, FALSE}, {2, TRUE, FALSE}, {3, TRUE, FALSE},
      {4, TRUE, TRUE},   {5, TRUE, TRUE},  {6, FALSE, TRUE}, {7, TRUE, TRUE},
  };
  const std::vector<const char*> many = {"Alpha", "Bravo",   "Charlie", "Delta",
                                         "Echo",  "Foxtrot", "Golf",    "Hotel"};
  for (const Case& c : kCases) {
    Make(c.style, 260, many);
    const CRect row = tabs->m_rectTabsArea;
    EXPECT_EQ(tabs->m_bScrollable, c.scrollable) << c.style;
    EXPECT_EQ(tabs->GetTabsOverlap() > 0, c.overlapping) << c.style;
    EXPECT_GT(row.Width(), 50) << c.style;  // style 2 shares its row with the scroll bar
    EXPECT_EQ(row.Height(), tabs->m_nTabsHeight) << c.style;
    EXPECT_LE(tabs->m_rectWndArea.top, 200) << c.style;
    EXPECT_GE(tabs->m_rectWndArea.top, row.bottom) << "the window area lies below the row, style " << c.style;
    CRect last;
    ASSERT_TRUE(tabs->GetTabRect(7, last)) << c.style;
    if (!c.scrollable) {
      EXPECT_LE(last.right, row.right + row.Height()) << "shrunk to share the row, style " << c.style;
      EXPECT_TRUE(tabs->EnsureVisible(7)) << c.style;
      tabs->DestroyWindow();
      continue;
    }
    EXPECT_GT(last.right, row.right) << "natural widths overflow, style " << c.style;
    EXPECT_TRUE(tabs->EnsureVisible(7)) << c.style;
    tabs->GetTabRect(7, last);
    EXPECT_LE(last.right, row.right) << c.style;
    EXPECT_GE(last.left, row.left) << c.style;
    EXPECT_GT(tabs->m_nScrollOffset, 0) << c.style;
    if (c.overlapping) EXPECT_GT(tabs->GetFirstScrolledTab(), 0) << c.style;
    EXPECT_TRUE(tabs->EnsureVisible(0)) << c.style;
    tabs->GetTabRect(0, last);
    EXPECT_EQ(last.left, row.left) << "back to the start, style " << c.style;
    EXPECT_FALSE(tabs->EnsureVisible(8)) << c.style;
    tabs->DestroyWindow();
  }
}

TEST_F(PlxTabWnd, ScrollRightStepsTwentyPixelsAndStopsAtTheLastOffset) {
  Make(CPlxTabWnd::TabStyle3DScroll, 260, {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"});
  ASSERT_GT(tabs->m_nMaxScrollOffset, 20);
  HWND right = tabs->m_pBtnRight->GetSafeHwnd();
  tabs->SendMessage(WM_COMMAND, MAKEWPARAM(0xFFFF, BN_CLICKED), reinterpret_cast<LPARAM>(right));
  EXPECT_EQ(tabs->m_nScrollOffset, 20);
  EXPECT_TRUE(tabs->m_pBtnLeft->IsWindowEnabled());
  for (int i = 0; i < 100; ++i)
    tabs->SendMessage(WM_COMMAND, MAKEWPARAM(0xFFFF, BN_CLICKED), reinterpret_cast<LPARAM>(right));
  EXPECT_EQ(tabs->m_nScrollOffset, tabs->m_nMaxScrollOffset);
  EXPECT_FALSE(tabs->m_pBtnRight->IsWindowEnabled());
}

TEST_F(PlxTabWnd, HiddenRowsAndNarrowClientAreas) {
  Make(CPlxTabWnd::TabStyle3D, 400, {"Only"});
  tabs->m_bHideSingleTab = TRUE;
  tabs->RecalcLayout();
  EXPECT_EQ(tabs->m_rectTabsArea.Height(), 0) << "one tab and hideSingleTab: no row";
  Make(CPlxTabWnd::TabStyleFlat, 400);
  tabs->SetWindowPos(nullptr, 0, 0, 400, 8, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(tabs->m_rectTabsArea.Width(), 0) << "flat row lower than its height: no width";
  CRect button;
  tabs->m_pBtnLeft->GetWindowRect(button);
  EXPECT_EQ(button.Height(), 0);
}

TEST_F(PlxTabWnd, ChangingTheLocationMovesTheRowAndTheWindowArea) {
  Make(CPlxTabWnd::TabStyle3DScroll, 400, kThree, CPlxTabWnd::LOCATION_TOP);
  EXPECT_EQ(tabs->m_rectTabsArea.top, 0);
  tabs->SetLocation(CPlxTabWnd::LOCATION_BOTTOM);
  EXPECT_EQ(tabs->m_rectTabsArea.bottom, 200);
  EXPECT_LT(tabs->m_rectWndArea.bottom, tabs->m_rectTabsArea.top);
  CRect button;
  tabs->m_pBtnRight->GetWindowRect(button);
  tabs->ScreenToClient(button);
  EXPECT_GE(button.top, tabs->m_rectTabsArea.top);
}

// Overlapping styles: the active tab lies on top, but the corner of it that its left neighbour's
// slant covers belongs to that neighbour.
TEST_F(PlxTabWnd, GetTabFromPointWithOverlappingTabs) {
  struct Case {
    int style, active;
    int dx, dy;  // from the active tab's top-left corner
    int want;
  };
  const Case kCases[] = {
      {4, 1, 2, 2, 0},                       // corner: the neighbour's
      {4, 1, 40, 8, 1},                      // middle: the active one
      {4, 0, 2, 2, 0},                       // the first tab has no neighbour
      {6, 1, 1, 1, 0},                       // trapezoid likewise
      {6, 1, 30, 6, 1},    {0, 1, 1, 1, 1},  // side by side: the tab containing the point
      {4, 1, -400, 8, -1},                   // left of the row
  };
  for (const Case& c : kCases) {
    Make(c.style, 500, kThree, CPlxTabWnd::LOCATION_TOP);
    tabs->SetActiveTab(c.active);
    CRect r;
    tabs->GetTabRect(c.active, r);
    EXPECT_EQ(tabs->GetTabFromPoint(CPoint(r.left + c.dx, r.top + c.dy)), c.want)
        << "style " << c.style << " at " << c.dx << "," << c.dy;
    tabs->DestroyWindow();
  }
  Make(CPlxTabWnd::TabStyleSlanted, 500);
  CRect zero, one;
  tabs->GetTabRect(0, zero);
  tabs->GetTabRect(1, one);
  ASSERT_LT(one.left, zero.right) << "neighbours overlap";
  EXPECT_EQ(tabs->GetTabFromPoint(CPoint(one.left + 1, one.bottom - 1)), 0)
      << "with tab 0 active the overlap is tab 0's";
}

TEST_F(PlxTabWnd, ClicksAndCtrlPageKeysNotifyOnlyRealChanges) {
  Make(CPlxTabWnd::TabStyle3DScroll);
  Click(Centre(0));
  EXPECT_TRUE(host.notes.empty()) << "the active tab clicked again";
  Click(Centre(2));
  EXPECT_EQ(host.notes, (std::vector<Note>{{kChange, 2, 0}}));
  host.notes.clear();
  EXPECT_TRUE(CtrlKey(VK_NEXT));
  EXPECT_EQ(tabs->GetActiveTab(), 0) << "past the last tab to the first";
  EXPECT_TRUE(CtrlKey(VK_PRIOR));
  EXPECT_EQ(tabs->GetActiveTab(), 2);
  EXPECT_EQ(host.notes, (std::vector<Note>{{kChange, 0, 2}, {kChange, 2, 0}}));
  host.notes.clear();
  Make(CPlxTabWnd::TabStyle3D, 400, {"Alone"});
  EXPECT_TRUE(CtrlKey(VK_NEXT)) << "eaten without change";
  EXPECT_EQ(tabs->GetActiveTab(), 0);
  EXPECT_TRUE(host.notes.empty());
}

TEST_F(PlxTabWnd, RenamingAcceptsOrRefusesThroughTheParent) {
  Make(CPlxTabWnd::TabStyle3DScroll);
  EXPECT_FALSE(tabs->StartRenameTab(1)) << "renaming is off by default";
  tabs->m_bRenameEnabled = TRUE;
  struct Case {
    const char* typed;
    LRESULT reply;
    BOOL accepted;
    const char* label;
    size_t notes;
  };
  const Case kCases[] = {
      {"Renamed", 0, TRUE, "Renamed", 1},
      {"Refused", 1, FALSE, "Renamed", 1},
      {"", 0, FALSE, "Renamed", 0},
  };
  for (const Case& c : kCases) {
    host.notes.clear();
    host.renameReply = c.reply;
    ASSERT_TRUE(tabs->StartRenameTab(1));
    tabs->m_pRenameEdit->SetWindowText(c.typed);
    EXPECT_EQ(tabs->EndRenameTab(), c.accepted) << c.typed;
    EXPECT_EQ(Labels()[1], c.label) << c.typed;
    EXPECT_EQ(host.notes.size(), c.notes) << c.typed;
    if (c.notes > 0) EXPECT_EQ(host.lastRename, c.typed);
    MSG esc{tabs->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(tabs->PreTranslateMessage(&esc));
    EXPECT_FALSE(tabs->IsRenaming());
  }
  // Enter on a refused label beeps and keeps the edit open.
  host.renameReply = 1;
  ASSERT_TRUE(tabs->StartRenameTab(0));
  MSG enter{tabs->GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0};
  EXPECT_TRUE(tabs->PreTranslateMessage(&enter));
  EXPECT_TRUE(tabs->IsRenaming());
  host.renameReply = 0;
  EXPECT_TRUE(tabs->PreTranslateMessage(&enter));
  EXPECT_FALSE(tabs->IsRenaming());

  // The keys go back to the active tab's window, whether the edit ends by Enter or Escape.
  for (UINT key : {VK_RETURN, VK_ESCAPE}) {
    ASSERT_TRUE(tabs->StartRenameTab(tabs->GetActiveTab()));
    tabs->m_pRenameEdit->SetFocus();
    MSG end{tabs->GetSafeHwnd(), WM_KEYDOWN, key, 0};
    EXPECT_TRUE(tabs->PreTranslateMessage(&end));
    EXPECT_EQ(::GetFocus(), tabs->GetActiveWnd()->GetSafeHwnd()) << key;
  }
}

// Dragging a tab: press on it, move over a tab half, release.
TEST_F(PlxTabWnd, DraggingTabsSendsMoveNotificationsOnlyForRealMoves) {
  const UINT before = CPlxTabWnd::PlxM_ON_BEFOREMOVE_TAB, moved = CPlxTabWnd::PlxM_ON_MOVE_TAB;
  struct Case {
    const char* what;
    int from;
    int overTab;
    bool rightHalf;
    LRESULT reply;
    std::vector<Note> notes;
    std::vector<CString> order;
    int active;
  };
  const Case kCases[] = {
      {"tab 0 to the end", 0, 2, true, 0, {{before, 0, 3}, {moved, 0, 3}}, {"Two", "Three", "One"}, 2},
      {"tab 2 to the front", 2, 0, false, 0, {{before, 2, 0}, {moved, 2, 0}}, {"Three", "One", "Two"}, 0},
      {"own left half", 1, 1, false, 0, {}, {"One", "Two", "Three"}, 1},
      {"own right half", 1, 1, true, 0, {}, {"One", "Two", "Three"}, 1},
      {"refused", 0, 2, true, 1, {{before, 0, 3}}, {"One", "Two", "Three"}, 0},
  };
  for (const Case& c : kCases) {
    Make(CPlxTabWnd::TabStyle3DScroll);
    tabs->m_bMoveEnabled = TRUE;
    host.beforeMoveReply = c.reply;
    const CPoint start = Centre(c.from);
    tabs->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    host.notes.clear();
    CRect over;
    tabs->GetTabRect(c.overTab, over);
    const CPoint drop(c.rightHalf ? over.right - 3 : over.left + 3, over.CenterPoint().y);
    tabs->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
    tabs->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    EXPECT_EQ(host.notes, c.notes) << c.what;
    EXPECT_EQ(Labels(), c.order) << c.what;
    EXPECT_EQ(tabs->GetActiveTab(), c.active) << c.what;
    EXPECT_FALSE(tabs->IsMoving()) << c.what;
    tabs->DestroyWindow();
  }
}

// An edit or a drag holds a tab index; changing the tabs under it ends it first, so that the label
// typed or the drop never lands on another tab.
TEST_F(PlxTabWnd, RemovingOrMovingTabsEndsAnOpenEditOrDrag) {
  Make(CPlxTabWnd::TabStyle3DScroll);
  tabs->m_bRenameEnabled = TRUE;
  ASSERT_TRUE(tabs->StartRenameTab(2));
  tabs->RemoveTab(0);
  EXPECT_FALSE(tabs->IsRenaming());
  ASSERT_TRUE(tabs->StartRenameTab(1));
  tabs->MoveTab(0, 1);
  EXPECT_FALSE(tabs->IsRenaming());

  Make(CPlxTabWnd::TabStyle3DScroll);
  tabs->m_bMoveEnabled = TRUE;
  const CPoint start = Centre(1);
  tabs->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
  ASSERT_TRUE(tabs->IsMoving());
  tabs->RemoveTab(2);
  EXPECT_FALSE(tabs->IsMoving());
  host.notes.clear();
  tabs->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(start.x + 200, start.y));
  EXPECT_TRUE(host.notes.empty()) << "the ended drag moves nothing";
}

TEST_F(PlxTabWnd, MoveTabKeepsTheActiveTabActive) {
  Make(CPlxTabWnd::TabStyle3DScroll);
  tabs->SetActiveTab(1);
  CWnd* active = tabs->GetActiveWnd();
  tabs->MoveTab(1, -1);
  EXPECT_EQ(tabs->GetActiveTab(), 2);
  EXPECT_EQ(tabs->GetActiveWnd(), active);
  tabs->MoveTab(2, 0);
  EXPECT_EQ(Labels(), (std::vector<CString>{"Two", "One", "Three"}));
  EXPECT_EQ(tabs->GetActiveTab(), 0);
}

TEST_F(PlxTabWnd, ClicksBelowTheRowGoToTheParent) {
  Make(CPlxTabWnd::TabStyle3D, 400, kThree, CPlxTabWnd::LOCATION_TOP);
  EXPECT_EQ(tabs->GetForwardTarget(CPoint(5, 150)), &host);
  EXPECT_EQ(tabs->GetForwardTarget(CPoint(5, 2)), nullptr);
  EXPECT_EQ(tabs->GetForwardTarget(Centre(1)), nullptr);
}

// Stands in for the popup: records the items it was given and chooses one.
class CChoosingMenuManager : public CPlxContextMenuManager {
 public:
  std::vector<std::string> items;
  std::vector<HICON> icons;
  int choose = -1;  // tab index, -1 = nothing
  CPlxButton* watch = nullptr;
  BOOL watchedPushed = FALSE;
  UINT TrackPopupMenu(HMENU menu, int, int, CWnd*, BOOL) override {
    if (watch != nullptr) watchedPushed = watch->IsPushed();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[128] = {};
      GetMenuString(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
      items.push_back(text);
      icons.push_back(CPlxTabWnd::GetTabMenuIcon(GetMenuItemID(menu, i)));
    }
    return choose < 0 ? 0 : static_cast<UINT>(-(choose + 100));
  }
};

TEST_F(PlxTabWnd, TheTabsMenuListsLabelsSortedWithAmpersandsShownAndActivatesSilently) {
  Make(CPlxTabWnd::TabStyle3DScroll, 400, {"music", "Rock && Roll", "Photos & Music", "Art"});
  EXPECT_FALSE(tabs->ShowTabsMenu(0, 0)) << "no context-menu manager";
  CChoosingMenuManager manager;
  manager.choose = 2;
  EXPECT_TRUE(tabs->ShowTabsMenu(0, 0));
  EXPECT_EQ(manager.items, (std::vector<std::string>{"Art", "music", "Photos && Music", "Rock && Roll"}));
  EXPECT_EQ(tabs->GetActiveTab(), 2);
  EXPECT_TRUE(host.notes.empty()) << "chosen from the menu: no notification";
  EXPECT_EQ(CPlxTabWnd::GetTabMenuIcon(static_cast<UINT>(-102)), nullptr) << "icons forgotten after the menu";
}

TEST_F(PlxTabWnd, HiddenOverflowMovesAHiddenTabToTheFrontAndTheRightButtonOpensTheMenu) {
  tabs = MakeTabs(CPlxTabWnd::TabStyle3DScroll, CRect(0, 0, 200, 100), 1, {});
  ASSERT_TRUE(tabs);
  tabs->m_bHideOverflow = TRUE;
  for (const char* label : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"})
    tabs->AddTab(NewPage(tabs.get()), label);
  ASSERT_TRUE(tabs->m_bSomeTabsHidden);
  CRect hidden;
  EXPECT_TRUE(tabs->GetTabRect(5, hidden));
  EXPECT_TRUE(hidden.IsRectEmpty());
  EXPECT_TRUE(tabs->m_pBtnRight->IsWindowEnabled()) << "always on: it opens the menu";
  tabs->SetActiveTab(5);
  EXPECT_EQ(Labels()[0], "Foxtrot") << "the hidden tab comes to the front";
  EXPECT_EQ(tabs->GetActiveTab(), 0);
  CChoosingMenuManager manager;
  manager.watch = tabs->m_pBtnRight;
  tabs->SendMessage(WM_COMMAND, MAKEWPARAM(0xFFFF, BN_CLICKED),
                    reinterpret_cast<LPARAM>(tabs->m_pBtnRight->GetSafeHwnd()));
  EXPECT_EQ(manager.items.size(), 6u);
  EXPECT_TRUE(manager.watchedPushed) << "the button shows pressed while its menu is up";
  EXPECT_FALSE(tabs->m_pBtnRight->IsPushed());
  // Renaming a hidden tab brings it to the front and edits that tab, not the one now at its index.
  tabs->m_bRenameEnabled = TRUE;
  ASSERT_TRUE(tabs->m_bSomeTabsHidden);
  int hiddenTab = -1;
  for (int i = tabs->GetTabsNum() - 1; i >= 0 && hiddenTab < 0; --i)
    if (tabs->m_tabs[i]->m_rect.IsRectEmpty()) hiddenTab = i;
  ASSERT_GE(hiddenTab, 0);
  const CString label = Labels()[hiddenTab];
  ASSERT_TRUE(tabs->StartRenameTab(hiddenTab));
  CString editing;
  tabs->m_pRenameEdit->GetWindowText(editing);
  EXPECT_EQ(editing, label);
  EXPECT_EQ(Labels()[0], label);
}

// Style 0 shrinks its tabs to share the row: only the labels it cuts get a tooltip.
TEST_F(PlxTabWnd, ShrunkTabsGetTooltipsOnlyWhenTheirLabelsAreCut) {
  Make(CPlxTabWnd::TabStyle3D, 160, {"A", "A much longer label here", "B"});
  ASSERT_TRUE(tabs->m_pToolTip);
  auto tipRect = [&](int i) {
    TOOLINFO info{};
    info.cbSize = sizeof(info);
    tabs->m_pToolTip->GetToolInfo(&info, tabs.get(), tabs->m_tabs[i]->m_uiToolId);
    return CRect(info.rect);
  };
  EXPECT_TRUE(tipRect(0).IsRectEmpty());
  EXPECT_FALSE(tipRect(1).IsRectEmpty());
  EXPECT_TRUE(tipRect(2).IsRectEmpty());
}

TEST_F(PlxTabWnd, HoverHighlightFollowsTheMouseInTheSlantedStyle) {
  Make(CPlxTabWnd::TabStyleSlanted);
  EXPECT_TRUE(tabs->m_bHighlightOnHover);
  const CPoint two = Centre(2);
  tabs->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(two.x, two.y));
  EXPECT_EQ(tabs->GetHighlightedTab(), 2);
  tabs->SendMessage(WM_CANCELMODE);
  EXPECT_EQ(tabs->GetHighlightedTab(), -1);
}

// Style 2: the row's scroll bar stands in for the active window's own and reports its scrolls.
TEST_F(PlxTabWnd, TheSharedScrollBarFollowsTheActiveWindowAndReportsScrolls) {
  Make(CPlxTabWnd::TabStyleFlatScrollBar, 500, {"Wide", "Narrow"});
  ASSERT_TRUE(tabs->m_pScrollBar);
  CWnd* wide = tabs->GetTabWnd(0);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 1000, 100, 250, 0};
  ::SetScrollInfo(wide->GetSafeHwnd(), SB_HORZ, &info, FALSE);
  EXPECT_TRUE(tabs->SyncScrollBar());
  EXPECT_EQ(tabs->m_pScrollBar->GetScrollPos(), 250);
  EXPECT_FALSE(wide->GetStyle() & WS_HSCROLL) << "the window's own bar is hidden";
  tabs->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0),
                    reinterpret_cast<LPARAM>(tabs->m_pScrollBar->GetSafeHwnd()));
  EXPECT_EQ(host.notes, (std::vector<Note>{{CPlxTabWnd::PlxM_ON_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0}}));
  CRect bar;
  tabs->m_pScrollBar->GetWindowRect(bar);
  tabs->ScreenToClient(bar);
  EXPECT_FALSE(tabs->m_rectSplitter.IsRectEmpty());
  EXPECT_EQ(tabs->m_rectSplitter.right, bar.left) << "the splitter lies left of the bar";
  EXPECT_LE(tabs->m_rectTabsArea.right, tabs->m_rectSplitter.left) << "the tabs end at the splitter";
  // Dragging the splitter left widens the bar.
  const int width = tabs->m_nScrollBarWidth;
  const CPoint grip = tabs->m_rectSplitter.CenterPoint();
  tabs->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
  tabs->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grip.x - 40, grip.y));
  tabs->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(grip.x - 40, grip.y));
  EXPECT_GT(tabs->m_nScrollBarWidth, width);
  EXPECT_FALSE(tabs->m_bSplitterDragging);
  Make(CPlxTabWnd::TabStyleFlat);
  EXPECT_FALSE(tabs->SyncScrollBar()) << "only style 2 has the bar";
}

TEST_F(PlxTabWnd, ADoubleClickOpensTheLabelEditAndAClickOutsideAcceptsIt) {
  Make(CPlxTabWnd::TabStyle3DScroll);
  tabs->m_bRenameEnabled = TRUE;
  const CPoint one = Centre(1);
  tabs->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(one.x, one.y));
  ASSERT_TRUE(tabs->IsRenaming());
  tabs->m_pRenameEdit->SetWindowText("Edited");
  CPoint outside(5, 150);
  tabs->ClientToScreen(&outside);
  ::SetCursorPos(outside.x, outside.y);
  MSG click{tabs->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0};
  EXPECT_TRUE(tabs->PreTranslateMessage(&click));
  EXPECT_FALSE(tabs->IsRenaming());
  EXPECT_EQ(Labels()[1], "Edited");
}

TEST_F(PlxTabWnd, DragTimersScrollLikeTheButtons) {
  Make(CPlxTabWnd::TabStyle3DScroll, 260, {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"});
  tabs->SendMessage(WM_TIMER, CPlxTabWnd::kTimerScrollRight);
  EXPECT_EQ(tabs->m_nScrollOffset, 20);
  tabs->SendMessage(WM_TIMER, CPlxTabWnd::kTimerScrollLeft);
  EXPECT_EQ(tabs->m_nScrollOffset, 0);
}

}  // namespace
