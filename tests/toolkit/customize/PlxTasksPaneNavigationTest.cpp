// The tasks pane's navigation: the toolbar's pages menu and history drop-downs driven by the
// mouse, Back and Forward enabled as the history allows, the history lists following removed
// pages and a destroyed pane, when the toolbar or the caption's buttons show, and the look of a
// pane with its toolbar beside one with its caption buttons (PICTAVO_WRITE_REFERENCES=1 writes
// the picture anew).
#include <memory>
#include <string>
#include <vector>

#include "platform/mfc/AfxRes.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManagerXP.h"
#include "toolkit/customize/PlxTasksPane.h"

namespace {

using customize_test::Click;
using customize_test::Pump;

constexpr UINT kPaneId = 0xE911;

class PlxTasksPaneNavigationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { customize_test::StartDisplay(); }
  void SetUp() override {
    m_savedAnimation = CPlxPopupMenu::m_AnimationType;
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    ASSERT_TRUE(m_host.Make(CRect(40, 40, 480, 560)));
  }
  void TearDown() override {
    for (auto& pane : m_panes)
      if (pane->GetSafeHwnd() != nullptr) pane->DestroyWindow();
    m_panes.clear();
    m_host.DestroyWindow();
    Pump();
    CPlxPopupMenu::m_AnimationType = m_savedAnimation;
    CPlxPopupMenuBar::m_iLastCommandIndex = -1;
  }

  // A pane at `x` with history drop-downs and the pages "Pictures" and "Sharing" beside the
  // default one, each with a group of two links.
  CPlxTasksPane* MakePane(int x, BOOL historyButtons = TRUE, int pages = 3) {
    auto pane = std::make_unique<CPlxTasksPane>();
    pane->m_bAnimationEnabled = FALSE;
    pane->EnableHistoryMenuButtons(historyButtons);
    if (!pane->Create(&m_host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, kPaneId + static_cast<UINT>(x)))
      return nullptr;
    pane->SetOwner(&m_host);
    pane->MoveWindow(x, 0, 210, 300);
    const char* names[] = {"Pictures", "Sharing"};
    for (int p = 1; p < pages; ++p) pane->AddPage(names[p - 1]);
    const char* groups[] = {"Start", "Pictures", "Sharing"};
    for (int p = 0; p < pages; ++p) {
      const int g = pane->AddGroup(p, groups[p]);
      pane->AddTask(g, (std::string("Open ") + groups[p]).c_str(), -1, 34100 + static_cast<UINT>(p * 10));
      pane->AddTask(g, "Show details", -1, 34101 + static_cast<UINT>(p * 10));
    }
    pane->AdjustLocations();
    pane->ReposTasks();
    pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    m_panes.push_back(std::move(pane));
    return m_panes.back().get();
  }

  CPlxTasksPaneToolBar* Bar(CPlxTasksPane* pane) { return &pane->GetToolBar(); }

  int IndexOf(CPlxTasksPane* pane, UINT id) {
    for (int i = 0; i < Bar(pane)->GetCount(); ++i)
      if (Bar(pane)->GetButton(i)->m_nID == id) return i;
    return -1;
  }

  CPoint OnBar(CPlxTasksPane* pane, const CRect& rect) {
    CPoint point = rect.CenterPoint();
    Bar(pane)->ClientToScreen(&point);
    return point;
  }

  // Opens the drop-down of the toolbar button with `id` (its arrow part for a split button),
  // clicks its entry `item` and lets the posted command arrive.
  void ChooseFromDropDown(CPlxTasksPane* pane, UINT id, int item, int checked = -1) {
    auto* button = dynamic_cast<CPlxToolbarMenuButton*>(Bar(pane)->GetButton(IndexOf(pane, id)));
    ASSERT_NE(button, nullptr);
    const CRect target = button->m_rectArrow.IsRectEmpty() ? button->m_rect : button->m_rectArrow;
    Click(OnBar(pane, target));
    CPlxPopupMenu* popup = button->GetPopupMenu();
    ASSERT_NE(popup, nullptr) << "no drop-down";
    popup->GetMenuBar()->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    for (int i = 0; i < popup->GetMenuItemCount(); ++i)
      EXPECT_EQ((popup->GetMenuItem(i)->m_nStyle & TBBS_CHECKED) != 0, i == checked) << i;
    CPlxToolbarMenuButton* entry = popup->GetMenuItem(item);
    ASSERT_NE(entry, nullptr);
    CPoint point = entry->m_rect.CenterPoint();
    popup->GetMenuBar()->ClientToScreen(&point);
    Click(point);
    Pump();
    EXPECT_EQ(button->GetPopupMenu(), nullptr);
  }

  // The toolbar's idle update, as the frame's idle time sends it; then whether each history
  // button is enabled.
  std::pair<bool, bool> BackForwardEnabled(CPlxTasksPane* pane) {
    Bar(pane)->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    auto enabled = [&](UINT id) {
      return (Bar(pane)->GetButton(IndexOf(pane, id))->m_nStyle & TBBS_DISABLED) == 0;
    };
    return {enabled(CPlxTasksPane::kBackCmd), enabled(CPlxTasksPane::kForwardCmd)};
  }

  static std::string Names(const CStringList& list) {
    std::string joined;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
      joined += std::string(list.GetNext(pos)) + ";";
    return joined;
  }

  customize_test::CHostWnd m_host;
  std::vector<std::unique_ptr<CPlxTasksPane>> m_panes;
  int m_savedAnimation = 0;
};

TEST_F(PlxTasksPaneNavigationTest, PagesMenuHistoryDropDownsAndButtonStatesByMouse) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  ASSERT_TRUE(Bar(pane)->IsWindowVisible());
  EXPECT_EQ(BackForwardEnabled(pane), std::make_pair(false, false));

  // The pages menu: the second page, then the third.
  ChooseFromDropDown(pane, (UINT)-1, 1, 0);  // the page shown is checked
  EXPECT_EQ(pane->GetActivePage(), 1);
  ChooseFromDropDown(pane, (UINT)-1, 2, 1);
  EXPECT_EQ(pane->GetActivePage(), 2);
  EXPECT_EQ(BackForwardEnabled(pane), std::make_pair(true, false));
  EXPECT_EQ(Names(Bar(pane)->m_pBtnBack->m_lstPages), "Pictures;Tasks;");
  CString label = Bar(pane)->GetButton(IndexOf(pane, (UINT)-1))->m_strText;
  EXPECT_STREQ(label, "Sharing");  // the pages button names the page shown

  // The back list's second entry: two steps back, to the first page.
  ChooseFromDropDown(pane, CPlxTasksPane::kBackCmd, 1);
  EXPECT_EQ(pane->GetActivePage(), 0);
  EXPECT_EQ(pane->GetHistoryPos(), 0);
  EXPECT_EQ(BackForwardEnabled(pane), std::make_pair(false, true));
  EXPECT_EQ(Names(Bar(pane)->m_pBtnForward->m_lstPages), "Pictures;Sharing;");

  // Forward's own part: one step.
  Click(OnBar(pane, Bar(pane)->GetButton(IndexOf(pane, CPlxTasksPane::kForwardCmd))->m_rect + CPoint(-6, 0)));
  Pump();
  EXPECT_EQ(pane->GetActivePage(), 1);
  EXPECT_EQ(BackForwardEnabled(pane), std::make_pair(true, true));

  // The forward list's only entry now: the third page; the history keeps all three.
  ChooseFromDropDown(pane, CPlxTasksPane::kForwardCmd, 0);
  EXPECT_EQ(pane->GetActivePage(), 2);
  EXPECT_EQ(pane->GetHistorySize(), 3);
}

TEST_F(PlxTasksPaneNavigationTest, AChoiceCountsOnceAndOnlyForItsOwnHistory) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  pane->SetActivePage(1);
  pane->SetActivePage(2);
  CPlxTasksPaneHistoryButton* back = Bar(pane)->m_pBtnBack;

  // An index left behind by some other menu is not a choice of the back list.
  CPlxPopupMenuBar::m_iLastCommandIndex = 1;
  pane->SendMessage(WM_COMMAND, CPlxTasksPane::kBackCmd);
  EXPECT_EQ(pane->GetActivePage(), 1);

  // A list closed without a choice chose nothing: Back is one step.
  pane->SetActivePage(2);
  ASSERT_TRUE(back->OpenPopupMenu(Bar(pane)));
  ASSERT_NE(back->GetPopupMenu(), nullptr);
  back->GetPopupMenu()->SendMessage(WM_CLOSE);
  Pump();
  ASSERT_FALSE(back->IsDroppedDown());
  CPlxPopupMenuBar::m_iLastCommandIndex = 1;
  pane->SendMessage(WM_COMMAND, CPlxTasksPane::kBackCmd);
  EXPECT_EQ(pane->GetActivePage(), 1);
}

TEST_F(PlxTasksPaneNavigationTest, HistoryListsFollowRemovedPagesAndADestroyedPane) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  pane->SetActivePage(1);
  pane->SetActivePage(2);
  CPlxTasksPaneHistoryButton* back = Bar(pane)->m_pBtnBack;
  EXPECT_EQ(Names(back->m_lstPages), "Pictures;Tasks;");
  EXPECT_EQ(back->GetSubItems().GetCount(), 2);

  // A choice whose command is still on its way when its page goes: the indices it meant have
  // moved, so Back is one plain step, within the history that is left.
  ASSERT_TRUE(back->OpenPopupMenu(Bar(pane)));
  CPlxPopupMenu* popup = back->GetPopupMenu();
  ASSERT_NE(popup, nullptr);
  popup->GetMenuBar()->OnSendCommand(popup->GetMenuItem(1));  // posts Back, records entry 1
  pane->RemovePage(1);
  EXPECT_EQ(Names(back->m_lstPages), "Tasks;");
  EXPECT_EQ(back->GetSubItems().GetCount(), 1);
  EXPECT_STREQ(Bar(pane)->GetButton(IndexOf(pane, (UINT)-1))->m_strText, "Sharing");
  Pump();  // the Back posted by the list
  EXPECT_EQ(pane->GetActivePage(), 0);
  EXPECT_EQ(pane->GetHistoryPos(), 0);
  EXPECT_EQ(Names(back->m_lstPages), "");
  EXPECT_EQ(Names(Bar(pane)->m_pBtnForward->m_lstPages), "Sharing;");

  // A list open while the history changes closes: its entries are no longer so.
  CPlxTasksPaneHistoryButton* forward = Bar(pane)->m_pBtnForward;
  ASSERT_TRUE(forward->OpenPopupMenu(Bar(pane)));
  pane->AddPage("Later");
  pane->SetActivePage(2);
  EXPECT_FALSE(forward->IsDroppedDown());
  Pump();

  // A destroyed pane leaves no button pointing at it, nor a list open.
  pane->GoBack();
  ASSERT_TRUE(forward->OpenPopupMenu(Bar(pane)));
  pane->DestroyWindow();
  Pump();
  EXPECT_FALSE(forward->IsDroppedDown());
  EXPECT_EQ(back->m_pPane, nullptr);
  EXPECT_EQ(forward->m_pPane, nullptr);
  EXPECT_EQ(back->m_pWndMessage, nullptr);
  EXPECT_EQ(back->TakeChosenEntry(), -1);
}

TEST_F(PlxTasksPaneNavigationTest, ToolbarOrCaptionButtonsShowAsThePagesAndCaptionAsk) {
  const struct {
    const char* name;
    int pages;
    bool caption;      // WS_CAPTION given to the pane
    BOOL alwaysShow;   // the toolbar even with a caption
    bool toolbar;      // the toolbar shows
    bool buttons;      // the caption's buttons show
    const char* text;  // the window text
  } cases[] = {
      {"one page", 1, false, FALSE, false, false, "Tasks"},
      {"three pages", 3, false, FALSE, true, false, "Panes"},
      {"one page, caption", 1, true, FALSE, false, false, "Tasks"},
      {"three pages, caption", 3, true, FALSE, false, true, "Tasks"},
      {"three pages, caption, toolbar asked", 3, true, TRUE, true, false, "Panes"},
  };
  int x = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CPlxTasksPane* pane = MakePane(x, TRUE, c.pages);
    x += 2;
    ASSERT_NE(pane, nullptr);
    pane->m_bUseNavigationToolbar = c.alwaysShow;
    pane->SetCaption("Panes");
    if (c.caption) pane->ModifyStyle(0, WS_CAPTION);
    pane->AdjustLocations();
    EXPECT_EQ(pane->HasCaptionBlock() != FALSE, c.caption);
    EXPECT_EQ(pane->GetStyle() & WS_CAPTION, 0u);  // the pane draws its own
    EXPECT_EQ(Bar(pane)->IsWindowVisible() != FALSE, c.toolbar);
    EXPECT_EQ(pane->m_rectToolBar.IsRectEmpty() == FALSE, c.toolbar);
    EXPECT_EQ(pane->m_btnBack.IsWindowVisible() != FALSE, c.buttons);
    EXPECT_EQ(pane->m_btnForward.IsWindowVisible() != FALSE, c.buttons);
    EXPECT_EQ(pane->m_btnOther.IsWindowVisible() != FALSE, c.buttons);
    CString text;
    pane->GetWindowText(text);
    EXPECT_STREQ(text, c.text);
    // The groups start below whatever the top holds.
    const int top = c.toolbar ? pane->m_rectToolBar.bottom : c.caption ? pane->m_rectCaption.bottom : 0;
    EXPECT_GE(pane->m_rectTasks.top, top);
    EXPECT_GE(pane->GetTaskGroup(0)->m_rect.top, pane->m_rectTasks.top);
    pane->DestroyWindow();
  }
}

TEST_F(PlxTasksPaneNavigationTest, CaptionButtonsNavigateAndFollowTheHistory) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  pane->ModifyStyle(0, WS_CAPTION);
  pane->AdjustLocations();
  auto states = [&] {
    return std::make_pair(pane->m_btnBack.IsWindowEnabled() != FALSE,
                          pane->m_btnForward.IsWindowEnabled() != FALSE);
  };
  EXPECT_EQ(states(), std::make_pair(false, false));
  pane->SetActivePage(2);
  EXPECT_EQ(states(), std::make_pair(true, false));
  CRect rect;
  pane->m_btnBack.GetWindowRect(rect);
  Click(rect.CenterPoint());
  Pump();
  EXPECT_EQ(pane->GetActivePage(), 0);
  EXPECT_EQ(states(), std::make_pair(false, true));
  EXPECT_TRUE(m_host.commands.empty());  // the buttons' clicks stay with the pane
  pane->m_btnForward.GetWindowRect(rect);
  Click(rect.CenterPoint());
  Pump();
  EXPECT_EQ(pane->GetActivePage(), 2);
  // The pages menu by keys: its second item, the second page. The button then holds the pane's
  // new pages menu, not the numbered copy it showed.
  for (UINT vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    pictavo::user::InjectKey({vk, true});
    pictavo::user::InjectKey({vk, false});
  }
  pane->m_btnOther.ShowMenu();
  Pump();
  EXPECT_EQ(pane->GetActivePage(), 1);
  EXPECT_EQ(pane->m_btnOther.GetChosenPage(), 1);
  EXPECT_EQ(pane->m_btnOther.m_hMenu, pane->m_menuPages.GetSafeHmenu());
  EXPECT_TRUE(::IsMenu(pane->m_btnOther.m_hMenu));
  CString text;
  pane->GetWindowText(text);
  EXPECT_STREQ(text, "Pictures");
}

TEST_F(PlxTasksPaneNavigationTest, PlainBackAndForwardWithoutHistoryLists) {
  CPlxTasksPane* pane = MakePane(0, FALSE);
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(Bar(pane)->m_pBtnBack, nullptr);
  EXPECT_EQ(Bar(pane)->m_pBtnForward, nullptr);
  pane->SetActivePage(1);
  pane->SetActivePage(2);
  EXPECT_EQ(BackForwardEnabled(pane), std::make_pair(true, false));
  auto press = [&](UINT id) {
    CPlxToolbarButton* button = Bar(pane)->GetButton(IndexOf(pane, id));
    EXPECT_EQ(button->m_pWndParent, Bar(pane));
    Click(OnBar(pane, button->m_rect));
    Pump();
  };
  press(CPlxTasksPane::kBackCmd);
  EXPECT_EQ(pane->GetActivePage(), 1);
  press(CPlxTasksPane::kBackCmd);
  EXPECT_EQ(pane->GetActivePage(), 0);
  EXPECT_EQ(BackForwardEnabled(pane), std::make_pair(false, true));
  press(CPlxTasksPane::kForwardCmd);
  EXPECT_EQ(pane->GetActivePage(), 1);
  EXPECT_TRUE(m_host.commands.empty());  // the navigation stays with the pane
}

TEST_F(PlxTasksPaneNavigationTest, ToolbarLayoutAndTips) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  CRect client;
  Bar(pane)->GetClientRect(client);
  const CPlxToolbarButton* pages = Bar(pane)->GetButton(IndexOf(pane, (UINT)-1));
  EXPECT_EQ(pages->m_rect.right,
            std::max<LONG>(client.right - 1, pages->m_rect.left + 3 * pages->m_rect.Height()));
  EXPECT_TRUE(Bar(pane)->GetButton(IndexOf(pane, CPlxTasksPane::kCloseCmd))->IsHidden());
  const struct {
    UINT id;
    const char* tip;
  } tips[] = {{(UINT)-1, "Other Tasks Panes"},
              {CPlxTasksPane::kBackCmd, "Back"},
              {CPlxTasksPane::kForwardCmd, "Forward"},
              {CPlxTasksPane::kHomeCmd, "Home"}};
  for (const auto& t : tips) {
    CString text;
    EXPECT_TRUE(Bar(pane)->GetFrameToolTipText(Bar(pane)->GetButton(IndexOf(pane, t.id)), text));
    EXPECT_STREQ(text, t.tip) << t.id;
  }
  // Home goes to the first page as a new history entry.
  pane->SetActivePage(2);
  Click(OnBar(pane, Bar(pane)->GetButton(IndexOf(pane, CPlxTasksPane::kHomeCmd))->m_rect));
  Pump();
  EXPECT_EQ(pane->GetActivePage(), 0);
  EXPECT_EQ(pane->GetHistorySize(), 3);
}

// Content just taller than the groups' area, though not taller than area and toolbar together,
// still scrolls: the toolbar's height is no room for groups.
TEST_F(PlxTasksPaneNavigationTest, ContentJustTallerThanTheAreaBelowTheToolbarScrolls) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  pane->m_bUseScrollButtons = FALSE;
  for (int t = 0; t < 8; ++t)
    pane->AddTask(0, ("More " + std::to_string(t)).c_str(), -1, 34200 + static_cast<UINT>(t));
  const int toolbar = [&] {
    pane->AdjustLocations();
    return pane->m_rectToolBar.Height();
  }();
  ASSERT_GT(toolbar, 4);
  bool found = false;
  for (int height = 600; height > 60 && !found; --height) {
    pane->MoveWindow(0, 0, 210, height);
    pane->AdjustLocations();
    const int content = pane->ReposTasks(TRUE);
    const int area = pane->m_rectTasks.Height();
    if (content <= area + 2 || content >= area + toolbar - 2) continue;
    found = true;
    SCOPED_TRACE(height);
    EXPECT_GT(pane->GetScrollMax(), 0);
    EXPECT_TRUE(pane->m_wndScrollVert.IsWindowVisible());
  }
  EXPECT_TRUE(found);
}

TEST_F(PlxTasksPaneNavigationTest, ADelayedHideOfTheToolbarWaitsForTheIdleUpdate) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  ASSERT_TRUE(Bar(pane)->IsWindowVisible());
  Bar(pane)->DelayShow(FALSE);
  EXPECT_TRUE(Bar(pane)->IsWindowVisible());
  Bar(pane)->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_FALSE(Bar(pane)->IsWindowVisible());
  Bar(pane)->DelayShow(TRUE);
  Bar(pane)->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_TRUE(Bar(pane)->IsWindowVisible());
}

TEST_F(PlxTasksPaneNavigationTest, AccessibilityQueriesWithoutTheServiceAnswerTheDefault) {
  CPlxTasksPane* pane = MakePane(0);
  ASSERT_NE(pane, nullptr);
  pane->m_pHotTask = pane->GetTask(0, 1);
  EXPECT_EQ(pane->SendMessage(WM_GETOBJECT, 0, -4), 0);
  EXPECT_EQ(pane->m_nAccessibleItem, 2);  // the caption, then the first link, then this one
  pane->m_pHotTask = nullptr;
}

TEST_F(PlxTasksPaneNavigationTest, LooksLikeAPaneWithItsToolbarBesideOneWithCaptionButtons) {
  const struct {
    CRuntimeClass* manager;
    const char* reference;
  } looks[] = {{RUNTIME_CLASS(CPlxVisualManager), "tasks_pane_navigation.png"},
               {RUNTIME_CLASS(CPlxVisualManagerXP), "tasks_pane_navigation_office_xp.png"}};
  for (const auto& look : looks) {
    SCOPED_TRACE(look.reference);
    CPlxVisualManager::DestroyInstance();
    CPlxVisualManager::SetDefaultManager(look.manager);
    CPlxTasksPane* left = MakePane(0);
    CPlxTasksPane* right = MakePane(220);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    right->ModifyStyle(0, WS_CAPTION);
    for (CPlxTasksPane* pane : {left, right}) {
      pane->MoveWindow(pane == left ? 0 : 220, 0, 210, 240);
      pane->SetActivePage(1);
      pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    Bar(left)->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    Bar(left)->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    CRect rect;
    m_host.GetWindowRect(rect);
    rect.right = rect.left + 430;
    rect.bottom = rect.top + 240;
    EXPECT_EQ(customize_test::CompareWithReference(rect, look.reference), 0);
    for (auto& pane : m_panes) pane->DestroyWindow();
    m_panes.clear();
    m_host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  CPlxVisualManager::SetDefaultManager(nullptr);
  CPlxVisualManager::DestroyInstance();
}

}  // namespace
