// The chevron: which hidden buttons its popup offers and which command each item runs, whatever
// separators and refused buttons lie between them; a narrow bar's hidden button run from the
// popup; the customize item and the add-or-remove sub-menu with the bars of the dock row.
#include "toolkit/bars/PlxCustomizeButton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/bars/PopupMenuFixture.h"
#include "toolkit/bars/PlxToolBar.h"

namespace {

using popuptest::PopupMenuFixture;

constexpr UINT kCustomize = 900;

// An entry of a hidden list: a command, a separator (0) or a command the popup refuses (< 0).
using Entry = int;

class ChevronFixture : public PopupMenuFixture {
 protected:
  void TearDown() override {
    CPlxToolBar::m_lstForbiddenCommands.RemoveAll();
    CPlxToolBar::m_commandUsage.Reset();
    PopupMenuFixture::TearDown();
  }

  // The bar holds the entries and then its chevron; the chevron lists them all as hidden, as a
  // layout too short for any of them would.
  CCustomizeButton* HideAll(const std::vector<Entry>& entries, UINT customize = 0, BOOL addRemove = FALSE) {
    bar.RemoveAllButtons();
    for (const Entry e : entries) {
      if (e == 0) {
        auto* separator = new CPlxToolbarButton;
        separator->m_nStyle = TBBS_SEPARATOR;
        bar.InsertButtonObject(separator);  // a leading one too, as a loaded state may hold
      } else {
        bar.InsertButton(CPlxToolbarButton(static_cast<UINT>(e < 0 ? -e : e), -1, nullptr, FALSE, TRUE));
      }
    }
    bar.EnableCustomizeButton(TRUE, customize, "&Customize...", addRemove);
    CCustomizeButton* chevron = bar.GetCustomizeButton();
    chevron->m_lstInvisibleButtons.RemoveAll();
    for (int i = 0; i < bar.GetCount() - 1; ++i) chevron->m_lstInvisibleButtons.AddTail(bar.GetButton(i));
    chevron->m_rect = CRect(470, 0, 483, 22);
    for (const Entry e : entries)
      if (e < 0) CPlxToolBar::m_lstForbiddenCommands.AddTail(static_cast<UINT>(-e));
    return chevron;
  }

  CPlxPopupMenu* OpenChevron(CCustomizeButton* chevron) {
    if (!chevron->OpenPopupMenu(&bar)) return nullptr;
    pictavo::test::PumpPending();
    return chevron->GetPopupMenu();
  }

  static std::vector<UINT> ItemIds(CPlxPopupMenu* popup) {
    std::vector<UINT> ids;
    for (int i = 0; i < popup->GetMenuItemCount(); ++i) {
      const CPlxToolbarButton* item = popup->GetMenuBar()->GetButton(i);
      ids.push_back((item->m_nStyle & TBBS_SEPARATOR) ? 0 : item->m_nID);
    }
    return ids;
  }

  // Chooses the item at index as a click does; answers the commands that reached the frame.
  std::vector<UINT> Choose(CCustomizeButton* chevron, int index) {
    frame->commands.clear();
    CPlxPopupMenu* popup = OpenChevron(chevron);
    if (popup == nullptr) return {};
    CPlxPopupMenuBar* menuBar = popup->GetMenuBar();
    menuBar->OnSendCommand(menuBar->GetButton(index));
    pictavo::test::PumpUntil([&] { return !frame->commands.empty(); }, 2000);
    pictavo::test::PumpPending();
    return frame->commands;
  }
};

}  // namespace

// Each item runs the hidden button it was made from: separators skipped at the head or the tail
// and buttons the popup refuses leave no item, so an item's position says nothing of its button.
TEST_F(ChevronFixture, EachItemRunsTheHiddenButtonItWasMadeFrom) {
  struct Case {
    const char* name;
    std::vector<Entry> hidden;
    std::vector<UINT> items;  // 0: a menu separator
  } const cases[] = {
      {"buttons only", {4, 5, 6}, {4, 5, 6}},
      {"one leading separator", {0, 4, 5}, {4, 5}},
      {"two leading separators", {0, 0, 4, 5}, {4, 5}},
      {"separator between", {4, 0, 5}, {4, 0, 5}},
      {"trailing separator", {4, 5, 0}, {4, 5}},
      {"refused first", {-7, 4, 5}, {4, 5}},
      {"refused between", {4, -7, 5}, {4, 5}},
      {"refused after a separator", {0, -7, 0, 4, 5}, {4, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CCustomizeButton* chevron = HideAll(c.hidden);
    CPlxPopupMenu* popup = OpenChevron(chevron);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(ItemIds(popup), c.items);
    chevron->OnCancelMode();
    pictavo::test::PumpPending();
    for (int k = 0; k < static_cast<int>(c.items.size()); ++k) {
      if (c.items[k] == 0) continue;
      EXPECT_EQ(Choose(chevron, k), std::vector<UINT>{c.items[k]}) << "item " << k;
      EXPECT_EQ(chevron->GetPopupMenu(), nullptr) << "a choice closes the popup";
    }
    CPlxToolBar::m_lstForbiddenCommands.RemoveAll();
  }
  // The chosen hidden buttons were counted once each, as menu commands are.
  EXPECT_GT(CPlxToolBar::m_commandUsage.GetCount(4), 0u);
}

// The customize item comes after a separator only when there are hidden buttons, and runs its own
// command; it is no hidden button even though it sits where one would.
TEST_F(ChevronFixture, TheCustomizeItemFollowsTheHiddenButtons) {
  struct Case {
    const char* name;
    std::vector<Entry> hidden;
    std::vector<UINT> items;
  } const cases[] = {
      {"hidden buttons", {4, 5}, {4, 5, 0, kCustomize}},
      {"leading separator", {0, 4}, {4, 0, kCustomize}},
      {"nothing hidden", {}, {kCustomize}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CCustomizeButton* chevron = HideAll(c.hidden, kCustomize);
    if (c.hidden.empty()) chevron->m_lstInvisibleButtons.RemoveAll();
    CPlxPopupMenu* popup = OpenChevron(chevron);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(ItemIds(popup), c.items);
    chevron->OnCancelMode();
    pictavo::test::PumpPending();
    EXPECT_EQ(Choose(chevron, static_cast<int>(c.items.size()) - 1), std::vector<UINT>{kCustomize});
  }
}

// A hidden menu button keeps its sub-menu in the popup; a button without a label takes the text
// after the newline of its command's string.
TEST_F(ChevronFixture, HiddenMenuButtonsKeepTheirSubMenus) {
  HideAll({4});
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenu(sub, MF_STRING, 301, "&One");
  ::AppendMenu(sub, MF_STRING, 302, "&Two");
  CPlxToolbarMenuButton menuButton(0, sub, -1, "&Tools");
  ::DestroyMenu(sub);
  bar.InsertButton(menuButton, 1);
  CCustomizeButton* chevron = bar.GetCustomizeButton();
  chevron->m_lstInvisibleButtons.AddTail(bar.GetButton(1));
  CPlxPopupMenu* popup = OpenChevron(chevron);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->GetMenuItemCount(), 2);
  EXPECT_EQ(popup->GetMenuItem(1)->GetSubItems().GetCount(), 2);
  EXPECT_EQ(popup->GetMenuItem(1)->m_strText, CString("&Tools"));
  EXPECT_TRUE(popup->GetMenuItem(0)->m_bText);
  chevron->OnCancelMode();
}

// A bar made too narrow for its buttons hides the last ones in the chevron; the chevron's popup
// runs the last of them, and the bar's owner hears the command.
TEST_F(ChevronFixture, ANarrowBarRunsAHiddenButtonFromTheChevron) {
  bar.RemoveAllButtons();
  for (UINT id = 11; id <= 16; ++id) bar.InsertButton(CPlxToolbarButton(id, 0, nullptr, FALSE, TRUE));
  bar.InsertSeparator(3);
  bar.EnableCustomizeButton(TRUE, 0, "");
  const int w = bar.GetColumnWidth();
  bar.SetWindowPos(nullptr, 0, 0, 3 * w, bar.GetRowHeight(), SWP_NOZORDER | SWP_NOMOVE);
  bar.AdjustLocations();
  CCustomizeButton* chevron = bar.GetCustomizeButton();
  ASSERT_FALSE(chevron->m_lstInvisibleButtons.IsEmpty());
  ASSERT_FALSE(chevron->m_rect.IsRectEmpty());
  CPlxPopupMenu* popup = OpenChevron(chevron);
  ASSERT_NE(popup, nullptr);
  const std::vector<UINT> items = ItemIds(popup);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.back(), 16u);
  EXPECT_NE(items.front(), 0u) << "the popup never starts with a separator";
  chevron->OnCancelMode();
  pictavo::test::PumpPending();
  EXPECT_EQ(Choose(chevron, static_cast<int>(items.size()) - 1), std::vector<UINT>{16});
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(16), 1u);
}

// A button the bar dropped while the popup was open runs nothing (the item's link is checked
// against the bar), and an item of another popup is not the chevron's to run.
TEST_F(ChevronFixture, ALinkToAButtonTheBarDroppedRunsNothing) {
  CCustomizeButton* chevron = HideAll({4, 5});
  CPlxPopupMenu* popup = OpenChevron(chevron);
  ASSERT_NE(popup, nullptr);
  CPlxToolbarButton* item = popup->GetMenuBar()->GetButton(1);
  ASSERT_NE(chevron->GetLinkedButton(item), nullptr);
  chevron->m_lstInvisibleButtons.RemoveAll();
  ASSERT_TRUE(bar.RemoveButton(1));
  EXPECT_EQ(chevron->GetLinkedButton(item), nullptr);
  EXPECT_FALSE(chevron->InvokeCommand(popup->GetMenuBar(), item));
  CPlxToolbarMenuButton stranger(4, nullptr, -1, "x");
  EXPECT_FALSE(chevron->InvokeCommand(popup->GetMenuBar(), &stranger));
  chevron->OnCancelMode();
}

// With the add-or-remove option the popup ends with one sub-menu that lists the bars of this
// bar's dock row (each by name, with its control id for the frame to replace) and then the
// customize item; without a dock bar only this bar is listed.
TEST_F(ChevronFixture, TheAddOrRemoveSubMenuListsTheBarsOfTheRow) {
  bar.SetWindowText("  Standard ");
  CCustomizeButton* chevron = HideAll({4}, kCustomize, TRUE);
  CPlxPopupMenu* popup = OpenChevron(chevron);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->IsQuickCustomize());
  EXPECT_EQ(popup->m_nQuickCustomizeKind, 1);
  ASSERT_EQ(ItemIds(popup), (std::vector<UINT>{4, 0, (UINT)-1}));
  CPlxToolbarMenuButton* addRemove = popup->GetMenuItem(2);
  EXPECT_TRUE(addRemove->m_bShowDownArrow);
  EXPECT_EQ(addRemove->m_strText, CString("&Add or Remove Buttons"));
  const CObList& bars = addRemove->GetSubItems();
  ASSERT_EQ(bars.GetCount(), 2);
  const auto* first = static_cast<CPlxToolbarMenuButton*>(bars.GetHead());
  EXPECT_EQ(first->m_strText, CString("Standard"));
  ASSERT_EQ(first->GetSubItems().GetCount(), 1);
  EXPECT_EQ(static_cast<CPlxToolbarMenuButton*>(first->GetSubItems().GetHead())->m_strText, CString("1001"));
  EXPECT_EQ(static_cast<CPlxToolbarMenuButton*>(bars.GetTail())->m_nID, kCustomize);
  chevron->OnCancelMode();
}

// Docked bars: only the bars of the same row that offer add-or-remove are listed.
TEST(PlxChevronDockRow, OnlyBarsOfTheSameRowAreListed) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
  popuptest::CRecordingFrame frame;
  ASSERT_TRUE(frame.Create(nullptr, "Row", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 300)));
  frame.EnableDocking(CBRS_ALIGN_ANY);
  CPlxToolBar bars[4];
  const char* names[] = {"One", "Two", "Three", "Plain"};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(bars[i].Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 2001 + i));
    bars[i].SetWindowText(names[i]);
    bars[i].InsertButton(CPlxToolbarButton(40 + i, -1, nullptr, FALSE, TRUE));
    bars[i].EnableCustomizeButton(TRUE, kCustomize, "Customize", i != 3);
    bars[i].EnableDocking(CBRS_ALIGN_ANY);
  }
  frame.DockControlBar(&bars[0], AFX_IDW_DOCKBAR_TOP);
  CRect first;
  bars[0].GetWindowRect(first);
  // Two beside the first; three in a row of its own below; the plain one (no option) beside.
  CRect beside(first.right, first.top, first.right + 60, first.bottom);
  frame.DockControlBar(&bars[1], AFX_IDW_DOCKBAR_TOP, &beside);
  CRect besideAgain(first.right + 70, first.top, first.right + 130, first.bottom);
  frame.DockControlBar(&bars[3], AFX_IDW_DOCKBAR_TOP, &besideAgain);
  CRect below(first.left, first.bottom + 2, first.left + 60, first.bottom + 2 + first.Height());
  frame.DockControlBar(&bars[2], AFX_IDW_DOCKBAR_TOP, &below);
  frame.RecalcLayout();
  pictavo::test::PumpPending();

  const auto listed = [](CPlxToolBar& bar) {
    std::vector<std::string> names;
    CCustomizeButton* chevron = bar.GetCustomizeButton();
    chevron->m_rect = CRect(0, 0, 13, 22);
    if (!chevron->OpenPopupMenu(&bar)) return names;
    pictavo::test::PumpPending();
    CPlxPopupMenu* popup = chevron->GetPopupMenu();
    if (popup == nullptr) return names;
    const CObList& items = popup->GetMenuItem(popup->GetMenuItemCount() - 1)->GetSubItems();
    for (POSITION pos = items.GetHeadPosition(); pos != nullptr;) {
      const auto* item = static_cast<CPlxToolbarMenuButton*>(items.GetNext(pos));
      if (item->m_nID == (UINT)-1) names.push_back(static_cast<LPCTSTR>(item->m_strText));
    }
    chevron->OnCancelMode();
    pictavo::test::PumpPending();
    return names;
  };
  EXPECT_EQ(listed(bars[0]), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(listed(bars[2]), (std::vector<std::string>{"Three"}));
  frame.DestroyWindow();
  pictavo::test::PumpPending();
  CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
}
