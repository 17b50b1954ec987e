// The tasks pane: layouts of open and collapsed groups, window tasks and scrolling; a link's click
// reaching the owner; removing what the mouse is on; the page history; and the look of a pane
// with two groups, one collapsed (PICTAVO_WRITE_REFERENCES=1 writes the picture anew).
#include "toolkit/customize/PlxTasksPane.h"

#include <string>
#include <vector>

#include "tests/toolkit/customize/TasksHost.h"
#include "toolkit/bars/PlxPopupMenuBar.h"

namespace {

using customize_test::kFirstTaskCmd;
using customize_test::Pump;

class PlxTasksPaneTest : public customize_test::TasksPaneFixture {};

TEST_F(PlxTasksPaneTest, LayoutsOfOpenCollapsedAndScrolledGroups) {
  const struct {
    const char* name;
    int groups, tasks;
    int collapse;  // group to collapse, -1 none
    BOOL buttons;  // hover buttons instead of the scroll bar
    bool scrolls;
  } cases[] = {
      {"all fit", 2, 3, -1, TRUE, false},
      {"first collapsed", 2, 3, 0, TRUE, false},
      {"too many, hover buttons", 3, 12, -1, TRUE, true},
      {"too many, scroll bar", 3, 12, -1, FALSE, true},
      {"too many until collapsed", 2, 14, 0, TRUE, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_pane->RemoveAllGroups(0);
    m_pane->m_bUseScrollButtons = c.buttons;
    m_pane->ScrollTo(0);
    Fill(c.groups, c.tasks);
    if (c.collapse >= 0) ASSERT_TRUE(m_pane->CollapseGroup(m_pane->GetTaskGroup(c.collapse)));
    Relayout();
    EXPECT_EQ(m_pane->GetScrollMax() > 0, c.scrolls);
    EXPECT_TRUE(m_pane->m_rectScrollUp.IsRectEmpty());  // at the top
    EXPECT_EQ(!m_pane->m_rectScrollDn.IsRectEmpty(), c.scrolls && c.buttons);
    EXPECT_EQ(m_pane->m_wndScrollVert.IsWindowVisible() != FALSE, c.scrolls && !c.buttons);
    // Groups follow one another; tasks stack inside their group; a collapsed group has no room.
    int below = m_pane->m_rectTasks.top;
    for (int g = 0; g < c.groups; ++g) {
      const CPlxTasksGroup* group = m_pane->GetTaskGroup(g);
      EXPECT_GE(group->m_rect.top, below) << g;
      EXPECT_EQ(group->m_rectGroup.top, group->m_rect.bottom + (g == c.collapse ? -1 : 0)) << g;
      int last = group->m_rectGroup.top;
      for (const CPlxTask* task : group->m_lstTasks) {
        if (g == c.collapse) {
          EXPECT_TRUE(task->m_rect.IsRectEmpty());
          continue;
        }
        EXPECT_GT(task->m_rect.Height(), 0);
        EXPECT_GE(task->m_rect.top, last);
        last = task->m_rect.bottom;
      }
      below = group->m_rectGroup.bottom;
    }
    if (!c.scrolls) continue;
    // One row down shows the up button and moves everything up by one row.
    const int top = m_pane->GetTask(0, 0)->m_rect.top;
    const int areaTop = m_pane->m_rectTasks.top;
    m_pane->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(m_pane->GetScrollPos(), 1);
    EXPECT_EQ(!m_pane->m_rectScrollUp.IsRectEmpty(), c.buttons != FALSE);
    // The up button, when it appears, pushes the area down.
    EXPECT_EQ(m_pane->GetTask(0, 0)->m_rect.top,
              top - m_pane->m_nRowHeight + m_pane->m_rectTasks.top - areaTop);
    m_pane->SendMessage(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(m_pane->GetScrollPos(), m_pane->GetScrollMax() - m_pane->GetScrollPage() + 1);
    m_pane->SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(m_pane->GetScrollPos(), 0);
  }
}

TEST_F(PlxTasksPaneTest, AGroupWithoutCaptionCannotCollapse) {
  Fill(3, 2);
  EXPECT_FALSE(m_pane->CollapseGroup(m_pane->GetTaskGroup(2)));
  EXPECT_FALSE(m_pane->GetTaskGroup(2)->m_bIsCollapsed);
}

TEST_F(PlxTasksPaneTest, CollapsingHidesWindowTasksAndExpandingShowsThem) {
  const int group = m_pane->AddGroup(0, "Find");
  CWnd edit;
  ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pane.get(), 77));
  m_pane->AddWindow(group, edit.GetSafeHwnd(), 30);
  m_pane->AddTask(group, "Search", -1, kFirstTaskCmd);
  Relayout();
  const CPlxTask* window = m_pane->GetTask(group, 0);
  EXPECT_TRUE(edit.IsWindowVisible());
  EXPECT_EQ(window->m_rect.Height(), 30);
  CRect placed;
  edit.GetWindowRect(placed);
  m_pane->ScreenToClient(placed);
  EXPECT_EQ(placed, window->m_rect);
  EXPECT_GE(m_pane->GetTask(group, 1)->m_rect.top, window->m_rect.bottom);
  m_pane->CollapseGroup(m_pane->GetTaskGroup(group), TRUE);
  EXPECT_FALSE(edit.IsWindowVisible());
  m_pane->CollapseGroup(m_pane->GetTaskGroup(group), FALSE);
  EXPECT_TRUE(edit.IsWindowVisible());
  edit.DestroyWindow();
}

TEST_F(PlxTasksPaneTest, ALinkClickReachesTheOwnerAndAClickAcrossTwoLinksFiresNothing) {
  Fill(2, 3);
  customize_test::Click(ScreenCentre(m_pane->GetTask(1, 2)->m_rect));
  Pump();
  ASSERT_EQ(m_host.commands.size(), 1u);
  EXPECT_EQ(m_host.commands[0].id, kFirstTaskCmd + 102);
  EXPECT_EQ(m_pane->m_pHotTask, nullptr);

  m_host.commands.clear();
  MoveTo(m_pane->GetTask(0, 0)->m_rect);
  Press(true);
  MoveTo(m_pane->GetTask(0, 1)->m_rect);
  Press(false);
  EXPECT_TRUE(m_host.commands.empty());
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(PlxTasksPaneTest, ACaptionClickCollapsesTheGroup) {
  Fill(2, 3);
  const CPoint caption = ScreenCentre(m_pane->GetTaskGroup(0)->m_rect);
  customize_test::Click(caption);
  EXPECT_TRUE(m_pane->GetTaskGroup(0)->m_bIsCollapsed);
  EXPECT_TRUE(m_pane->GetTask(0, 0)->m_rect.IsRectEmpty());
  customize_test::Click(caption);
  EXPECT_FALSE(m_pane->GetTaskGroup(0)->m_bIsCollapsed);
}

// Docked in a frame, a press on a link or a caption is the pane's own, not the start of dragging
// the pane away.
TEST_F(PlxTasksPaneTest, ADockedPanesLinksAndCaptionsAreClickedNotDragged) {
  CFrameWnd frame;
  ASSERT_TRUE(frame.Create(nullptr, "Docked", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 460, 520)));
  frame.EnableDocking(CBRS_ALIGN_ANY);
  CPlxTasksPane pane;
  pane.m_bAnimationEnabled = FALSE;
  ASSERT_TRUE(pane.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, customize_test::kTasksBarId + 1));
  pane.SetOwner(&m_host);
  const int group = pane.AddGroup(0, "Group");
  pane.AddTask(group, "Link", -1, kFirstTaskCmd);
  pane.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&pane);
  frame.RecalcLayout();
  pane.AdjustLocations();
  pane.ReposTasks();
  Pump();
  const auto centre = [&](const CRect& rect) {
    CPoint point = rect.CenterPoint();
    pane.ClientToScreen(&point);
    return point;
  };
  customize_test::Click(centre(pane.GetTask(group, 0)->m_rect));
  Pump();
  ASSERT_EQ(m_host.commands.size(), 1u);
  EXPECT_EQ(m_host.commands[0].id, kFirstTaskCmd);
  customize_test::Click(centre(pane.GetTaskGroup(group)->m_rect));
  Pump();
  EXPECT_TRUE(pane.GetTaskGroup(group)->m_bIsCollapsed);
  EXPECT_FALSE(pane.IsFloating());
  pane.DestroyWindow();
  frame.DestroyWindow();
  Pump();
}

// What the mouse is on or pressed goes away: nothing keeps pointing at it.
TEST_F(PlxTasksPaneTest, RemovingTheHotOrPressedItemClearsTheState) {
  enum What { kTask, kGroup, kPage, kDestroy };
  const struct {
    const char* name;
    What what;
    bool onCaption;
  } cases[] = {
      {"pressed task", kTask, false},      {"group of the pressed task", kGroup, false},
      {"pressed caption", kGroup, true},   {"page of the pressed task", kPage, false},
      {"destroyed pane", kDestroy, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (m_pane->GetSafeHwnd() == nullptr) {
      m_pane = std::make_unique<CPlxTasksPane>();
      m_pane->m_bAnimationEnabled = FALSE;
      ASSERT_TRUE(
          m_pane->Create(&m_host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, customize_test::kTasksBarId));
      m_pane->SetOwner(&m_host);
      m_pane->MoveWindow(0, 0, 200, 480);
    }
    while (m_pane->GetPageCount() > 1) m_pane->RemovePage(1);
    m_pane->RemoveAllGroups(0);
    m_host.commands.clear();
    int page = 0;
    if (c.what == kPage) {
      page = m_pane->AddPage("Second");
      m_pane->SetActivePage(page);
    }
    Fill(2, 3, page);
    MoveTo(c.onCaption ? m_pane->GetTaskGroup(0)->m_rect : m_pane->GetTask(0, 1)->m_rect);
    Press(true);
    ASSERT_TRUE(c.onCaption ? m_pane->m_pClickedGroupCaption != nullptr : m_pane->m_pClickedTask != nullptr);
    switch (c.what) {
      case kTask:
        m_pane->RemoveTask(0, 1);
        break;
      case kGroup:
        m_pane->RemoveGroup(0);
        break;
      case kPage:
        m_pane->RemovePage(page);
        break;
      case kDestroy:
        m_pane->DestroyWindow();
        break;
    }
    EXPECT_EQ(m_pane->m_pHotTask, nullptr);
    EXPECT_EQ(m_pane->m_pClickedTask, nullptr);
    EXPECT_EQ(m_pane->m_pHotGroupCaption, nullptr);
    EXPECT_EQ(m_pane->m_pClickedGroupCaption, nullptr);
    Press(false);  // the release touches nothing that is gone
    EXPECT_TRUE(m_host.commands.empty());
    if (m_pane->GetSafeHwnd() != nullptr) {
      EXPECT_EQ(m_pane->GetActivePage(), 0);
      EXPECT_EQ(m_pane->GetHistorySize(), 1);
    }
  }
}

TEST_F(PlxTasksPaneTest, RemovingTheAnimatedGroupStopsTheAnimation) {
  m_pane->m_bAnimationEnabled = TRUE;
  Fill(2, 3);
  customize_test::Click(ScreenCentre(m_pane->GetTaskGroup(0)->m_rect));
  ASSERT_EQ(m_pane->m_pAnimatedGroup, m_pane->GetTaskGroup(0));
  m_pane->RemoveGroup(0);
  EXPECT_EQ(m_pane->m_pAnimatedGroup, nullptr);
  m_pane->SendMessage(WM_TIMER, CPlxTasksPane::kAnimationTimer);  // a tick already queued
  EXPECT_EQ(m_pane->m_pAnimatedGroup, nullptr);
}

TEST_F(PlxTasksPaneTest, HistoryBackForwardAndLimit) {
  const int p1 = m_pane->AddPage("One"), p2 = m_pane->AddPage("Two");
  auto names = [&](bool previous) {
    std::vector<CString> list;
    previous ? m_pane->GetPreviousPages(list) : m_pane->GetNextPages(list);
    std::string joined;
    for (const CString& name : list) joined += std::string(name) + ";";
    return joined;
  };
  m_pane->SetActivePage(p1);
  m_pane->SetActivePage(p2);
  EXPECT_EQ(names(true), "One;Tasks;");
  // The second item of the back list: two steps back, to the first page.
  EXPECT_TRUE(m_pane->GoBack(2));
  EXPECT_EQ(m_pane->GetActivePage(), 0);
  EXPECT_EQ(names(false), "One;Two;");
  EXPECT_FALSE(m_pane->GoBack(1));
  EXPECT_TRUE(m_pane->GoForward(1));
  EXPECT_EQ(m_pane->GetActivePage(), p1);
  // A page chosen from the middle drops the entries ahead.
  m_pane->SetActivePage(p2 == 2 ? 0 : p2);
  EXPECT_EQ(names(false), "");
  EXPECT_EQ(m_pane->GetHistorySize(), 3);
  // The current page again changes nothing.
  m_pane->SetActivePage(m_pane->GetActivePage());
  EXPECT_EQ(m_pane->GetHistorySize(), 3);
  // A full history drops its oldest entry.
  m_pane->m_nMaxHistory = 3;
  m_pane->SetActivePage(p2);
  EXPECT_EQ(m_pane->GetHistorySize(), 3);
  EXPECT_EQ(m_pane->GetHistoryPos(), 2);
  EXPECT_EQ(names(true), "Tasks;One;");
  // Removing a page takes its entries and keeps the position valid.
  m_pane->RemovePage(p2);
  EXPECT_EQ(m_pane->GetHistoryPos(), m_pane->GetHistorySize() - 1);
  EXPECT_EQ(m_pane->GetActivePage(), 0);
}

TEST_F(PlxTasksPaneTest, PagesMenuCaptionAndNavigationCommands) {
  CString text;
  m_pane->GetWindowText(text);
  EXPECT_STREQ(text, "Tasks");  // one page: its name
  m_pane->SetCaption("Pane");
  const int p1 = m_pane->AddPage("One");
  m_pane->AddPage("Two");
  m_pane->SetActivePage(p1);
  m_pane->GetWindowText(text);
  EXPECT_STREQ(text, "Pane");  // several pages: the pane's caption
  HMENU menu = m_pane->BuildPagesMenu();
  ASSERT_EQ(::GetMenuItemCount(menu), 3);
  for (UINT i = 0; i < 3; ++i)
    EXPECT_EQ((::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0, static_cast<int>(i) == p1) << i;
  ::DestroyMenu(menu);
  // Back and Forward as commands, and their states.
  m_pane->SendMessage(WM_COMMAND, CPlxTasksPane::kBackCmd);
  EXPECT_EQ(m_pane->GetActivePage(), 0);
  m_pane->SendMessage(WM_COMMAND, CPlxTasksPane::kBackCmd);  // nothing behind: stays
  EXPECT_EQ(m_pane->GetActivePage(), 0);
  m_pane->SendMessage(WM_COMMAND, CPlxTasksPane::kForwardCmd);
  EXPECT_EQ(m_pane->GetActivePage(), p1);
  m_pane->SendMessage(WM_COMMAND, CPlxTasksPane::kHomeCmd);
  EXPECT_EQ(m_pane->GetActivePage(), 0);
  EXPECT_EQ(m_pane->GetHistorySize(), 3);  // home is a new entry
}

TEST_F(PlxTasksPaneTest, ThePagesMenuChoiceShowsThatPage) {
  m_pane->AddPage("One");
  m_pane->AddPage("Two");
  const struct {
    int chosen, page, history;
  } cases[] = {
      {2, 2, 2},   // another page: a new entry
      {2, 2, 2},   // the current page: nothing changes
      {-1, 2, 2},  // no item: nothing
      {7, 2, 2},   // not a page
      {1, 1, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    CPlxPopupMenuBar::m_iLastCommandIndex = c.chosen;
    m_pane->SendMessage(WM_COMMAND, CPlxTasksPane::kPagesMenuCmd);
    EXPECT_EQ(m_pane->GetActivePage(), c.page);
    EXPECT_EQ(m_pane->GetHistorySize(), c.history);
  }
  CPlxPopupMenuBar::m_iLastCommandIndex = -1;
}

TEST_F(PlxTasksPaneTest, AnAnimatedCollapseEndsWithTheGroupClosed) {
  m_pane->m_bAnimationEnabled = TRUE;
  Fill(2, 4);
  const int below = m_pane->GetTaskGroup(1)->m_rect.top;
  customize_test::Click(ScreenCentre(m_pane->GetTaskGroup(0)->m_rect));
  ASSERT_NE(m_pane->m_pAnimatedGroup, nullptr);
  for (int tick = 0; tick < 200 && m_pane->m_pAnimatedGroup != nullptr; ++tick)
    m_pane->SendMessage(WM_TIMER, CPlxTasksPane::kAnimationTimer);
  EXPECT_EQ(m_pane->m_pAnimatedGroup, nullptr);
  EXPECT_TRUE(m_pane->GetTask(0, 0)->m_rect.IsRectEmpty());
  EXPECT_LT(m_pane->GetTaskGroup(1)->m_rect.top, below);
}

TEST_F(PlxTasksPaneTest, LooksLikeTwoGroupsOneCollapsed) {
  m_pane->AddGroup(0, "Pictures");
  m_pane->AddTask(0, "Add photos", -1, kFirstTaskCmd);
  m_pane->AddTask(0, "Make a slideshow", -1, kFirstTaskCmd + 1);
  m_pane->AddTask(0, "Plain text");
  m_pane->AddGroup(0, "Sharing");
  m_pane->AddTask(1, "Burn a disc", -1, kFirstTaskCmd + 2);
  m_pane->CollapseGroup(m_pane->GetTaskGroup(1));
  m_pane->MoveWindow(0, 0, 200, 240);
  Relayout();
  m_pane->RedrawWindow();
  Pump();
  CRect rect;
  m_pane->GetWindowRect(rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, "tasks_pane_two_groups.png"), 0);
}

}  // namespace
