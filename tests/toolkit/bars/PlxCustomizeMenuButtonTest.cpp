// Quick-customize items: what showing and hiding a button does to the separators around it, putting
// a default button back, the reset item, items whose button or bar went away, and a button hidden
// through the chevron's add-or-remove menu.
#include "toolkit/bars/PlxCustomizeMenuButton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/bars/PopupMenuFixture.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxToolBar.h"

namespace {

using popuptest::PopupMenuFixture;

constexpr UINT kCustomize = 900;

CPlxToolbarButton Button(UINT id) {
  return CPlxToolbarButton(id, 0, nullptr, FALSE, TRUE);
}

class QuickCustomizeFixture : public PopupMenuFixture {
 protected:
  void TearDown() override {
    if (m_popup != nullptr && ::IsWindow(m_popup->GetSafeHwnd())) m_popup->DestroyWindow();
    pictavo::test::PumpPending();
    CPlxCustomizeMenuButton::m_pWndToolBar = nullptr;
    PopupMenuFixture::TearDown();
  }

  // The bar's buttons: ids, 0 for a separator; then its chevron.
  void FillBar(const std::vector<UINT>& ids, UINT customize = 0) {
    bar.RemoveAllButtons();
    for (const UINT id : ids) {
      if (id == 0)
        bar.InsertSeparator();
      else
        bar.InsertButton(Button(id));
    }
    bar.EnableCustomizeButton(TRUE, customize, "&Customize...", TRUE);
  }

  // What the frame fills the bar's quick-customize menu with: an item per button bound to its
  // index (separators and the chevron have none), the reset item last.
  static void FillLikeTheFrame(CPlxPopupMenu* pMenu, CPlxToolBar* pBar) {
    pMenu->RemoveAllItems();
    CPlxCustomizeMenuButton::m_pWndToolBar = pBar;
    CPlxCustomizeMenuButton::m_mapPresentIDs.RemoveAll();
    for (int i = 0; i < pBar->GetCount(); ++i) {
      CPlxToolbarButton* button = pBar->GetButton(i);
      if ((button->m_nStyle & TBBS_SEPARATOR) || button == pBar->GetCustomizeButton()) continue;
      CPlxCustomizeMenuButton::m_mapPresentIDs.SetAt(button->m_nID, 0);
      CString text;
      text.Format("Button %u", button->m_nID);
      CPlxCustomizeMenuButton item(button->m_nID, nullptr, -1, text);
      item.SetItemIndex(i, TRUE, FALSE);
      pMenu->InsertItem(item);
    }
    pMenu->InsertSeparator();
    CPlxCustomizeMenuButton reset((UINT)-20, nullptr, -1, "&Reset Toolbar");
    reset.SetItemIndex(CPlxCustomizeMenuButton::kResetIndex, TRUE, FALSE);
    pMenu->InsertItem(reset);
    pMenu->m_nQuickCustomizeKind = 0;
  }

  // A quick-customize popup of the bar, open on the frame.
  CPlxPopupMenu* OpenQuickCustomize() {
    m_popup = new CPlxPopupMenu;
    FillLikeTheFrame(m_popup, &bar);
    if (!m_popup->Create(frame, 100, 100, nullptr)) return nullptr;
    pictavo::test::PumpPending();
    return m_popup;
  }

  // The item bound to the bar's button at index.
  CPlxCustomizeMenuButton* ItemFor(CPlxPopupMenu* popup, int index) {
    for (int i = 0; i < popup->GetMenuItemCount(); ++i) {
      auto* item = dynamic_cast<CPlxCustomizeMenuButton*>(popup->GetMenuItem(i));
      if (item != nullptr && item->m_bExist && item->m_nIndex == index) return item;
    }
    return nullptr;
  }

  // Chooses the item as a click does.
  static void Choose(CPlxPopupMenu* popup, CPlxToolbarButton* item) {
    popup->GetMenuBar()->OnSendCommand(item);
    pictavo::test::PumpPending();
  }

  std::string Visible() const {
    std::string shown;
    for (int i = 0; i < bar.GetCount() - 1; ++i) shown += bar.GetButton(i)->m_bVisible ? '1' : '0';
    return shown;
  }

  CPlxPopupMenu* m_popup = nullptr;
};

}  // namespace

// Hiding a button takes the separator after it along, and the one before it when nothing visible
// follows; showing it brings the one before back only when the button before that is visible.
// Every choice leaves the menu open.
TEST_F(QuickCustomizeFixture, SeparatorsFollowTheButtonsAroundThem) {
  struct Case {
    const char* name;
    std::vector<int> toggles;  // bar indices of the buttons chosen, in order
    const char* visible;       // 1, s, 2, s, 3
  } const cases[] = {
      {"hide the last", {4}, "11100"},
      {"hide and show the last", {4, 4}, "11111"},
      {"hide the middle", {2}, "11001"},
      {"hide the middle, then the last", {2, 4}, "11000"},
      {"then show the last again", {2, 4, 4}, "11001"},
      {"hide the first", {0}, "00111"},
      {"hide the first and show it", {0, 0}, "11111"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FillBar({1, 0, 2, 0, 3});
    CPlxPopupMenu* popup = OpenQuickCustomize();
    ASSERT_NE(popup, nullptr);
    for (const int index : c.toggles) {
      CPlxCustomizeMenuButton* item = ItemFor(popup, index);
      ASSERT_NE(item, nullptr);
      Choose(popup, item);
      EXPECT_EQ(item->m_bChecked, bar.GetButton(index)->m_bVisible);
    }
    EXPECT_EQ(Visible(), c.visible);
    EXPECT_TRUE(::IsWindow(popup->GetSafeHwnd())) << "the menu stays open";
    EXPECT_TRUE(frame->commands.empty());
    popup->DestroyWindow();
    pictavo::test::PumpPending();
    m_popup = nullptr;
  }
}

// A default button put back goes to its place in the default list; the items bound to the
// buttons after it move along, so the next choice still toggles the button it shows.
TEST_F(QuickCustomizeFixture, PuttingADefaultButtonBackShiftsTheLaterItems) {
  FillBar({1, 2, 3});
  for (const UINT id : {1u, 2u, 5u, 3u}) bar.m_lstDefaultButtons.AddTail(new CPlxToolbarButton(Button(id)));
  CPlxPopupMenu* popup = OpenQuickCustomize();
  ASSERT_NE(popup, nullptr);
  CPlxCustomizeMenuButton missing(5, nullptr, -1, "Button 5");
  missing.SetItemIndex(2, FALSE, FALSE);
  EXPECT_FALSE(missing.m_bChecked);
  const int at = popup->InsertItem(missing, 3);
  ASSERT_GE(at, 0);
  auto* putBack = dynamic_cast<CPlxCustomizeMenuButton*>(popup->GetMenuItem(at));
  CPlxCustomizeMenuButton* three = ItemFor(popup, 2);
  ASSERT_NE(three, nullptr);
  Choose(popup, putBack);
  EXPECT_EQ(bar.GetItemID(2), 5u);
  EXPECT_TRUE(putBack->m_bExist);
  EXPECT_TRUE(putBack->m_bChecked);
  EXPECT_EQ(putBack->m_nIndex, 2);
  EXPECT_EQ(three->m_nIndex, 3);
  Choose(popup, three);
  EXPECT_FALSE(bar.GetButton(3)->m_bVisible) << "button 3 hidden, not the one put back";
  EXPECT_TRUE(bar.GetButton(2)->m_bVisible);

  // A default position that holds nothing any more does nothing.
  CPlxCustomizeMenuButton gone(6, nullptr, -1, "Gone");
  gone.SetItemIndex(9, FALSE, FALSE);
  const int goneAt = popup->InsertItem(gone, 0);
  const int count = bar.GetCount();
  Choose(popup, popup->GetMenuItem(goneAt));
  EXPECT_EQ(bar.GetCount(), count);
}

// An item bound past the bar's buttons (or to the chevron) is unchecked and does nothing; when the
// bar goes, the items no longer reach it.
TEST_F(QuickCustomizeFixture, ItemsWhoseButtonOrBarWentAwayDoNothing) {
  FillBar({1, 2});
  CPlxPopupMenu* popup = OpenQuickCustomize();
  ASSERT_NE(popup, nullptr);
  struct Case {
    const char* name;
    int index;
  } const cases[] = {{"past the end", 7}, {"the chevron", 2}, {"negative", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CPlxCustomizeMenuButton stray(99, nullptr, -1, "Stray");
    stray.SetItemIndex(c.index, TRUE, FALSE);
    EXPECT_FALSE(stray.m_bChecked);
    const int at = popup->InsertItem(stray, 0);
    Choose(popup, popup->GetMenuItem(at));
    EXPECT_EQ(Visible(), "11");
    EXPECT_TRUE(bar.GetCustomizeButton()->m_bVisible);
    popup->RemoveItem(at);
  }

  auto* other = new CPlxToolBar;
  ASSERT_TRUE(other->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1002));
  other->InsertButton(Button(1));
  CPlxCustomizeMenuButton::m_pWndToolBar = other;
  delete other;
  EXPECT_EQ(CPlxCustomizeMenuButton::m_pWndToolBar, nullptr);
  CPlxCustomizeMenuButton* item = ItemFor(popup, 0);
  ASSERT_NE(item, nullptr);
  Choose(popup, item);  // reaches no deleted bar
  EXPECT_EQ(Visible(), "11");
}

// The reset item asks the bar (posts the reset prompt) and leaves the rest of the choice to the
// popup, unlike the button items.
TEST_F(QuickCustomizeFixture, TheResetItemAsksTheBar) {
  FillBar({1, 2});
  CPlxPopupMenu* popup = OpenQuickCustomize();
  ASSERT_NE(popup, nullptr);
  auto* reset = dynamic_cast<CPlxCustomizeMenuButton*>(popup->GetMenuItem(popup->GetMenuItemCount() - 1));
  ASSERT_NE(reset, nullptr);
  ASSERT_EQ(reset->m_nIndex, CPlxCustomizeMenuButton::kResetIndex);
  EXPECT_FALSE(reset->m_bChecked);
  EXPECT_FALSE(reset->OnClickMenuItem());
  MSG msg{};
  EXPECT_TRUE(::PeekMessage(&msg, bar.GetSafeHwnd(), PLX_WM_RESETRPROMPT, PLX_WM_RESETRPROMPT, PM_REMOVE));
  EXPECT_EQ(Visible(), "11");
}

// Through the chevron: its add-or-remove item, the bar's entry, then the bar's button items; the
// chosen button is hidden and the menus stay open.
TEST_F(QuickCustomizeFixture, AButtonIsHiddenThroughAddOrRemove) {
  bar.SetWindowText("Standard");
  FillBar({1, 2, 0, 3}, kCustomize);
  bar.AdjustLocations();
  CCustomizeButton* chevron = bar.GetCustomizeButton();
  ASSERT_FALSE(chevron->m_rect.IsRectEmpty()) << "a chevron with a customize command always shows";
  ASSERT_TRUE(chevron->OpenPopupMenu(&bar));
  pictavo::test::PumpPending();
  CPlxPopupMenu* popup = chevron->GetPopupMenu();
  ASSERT_NE(popup, nullptr);
  CPlxToolbarMenuButton* addRemove = popup->GetMenuItem(popup->GetMenuItemCount() - 1);
  ASSERT_TRUE(addRemove->m_bShowDownArrow);
  ASSERT_TRUE(addRemove->OpenPopupMenu(popup->GetMenuBar()));
  pictavo::test::PumpPending();
  CPlxPopupMenu* bars = addRemove->GetPopupMenu();
  ASSERT_NE(bars, nullptr);
  CPlxToolbarMenuButton* standard = bars->GetMenuItem(0);
  EXPECT_EQ(standard->m_strText, CString("Standard"));
  ASSERT_TRUE(standard->OpenPopupMenu(bars->GetMenuBar()));
  pictavo::test::PumpPending();
  CPlxPopupMenu* buttons = standard->GetPopupMenu();
  ASSERT_NE(buttons, nullptr);
  // The entry named the bar by its id; the toolkit frame has filled it with that bar's buttons.
  ASSERT_EQ(PlxQuickCustomizeToolbar(), &bar);
  FillLikeTheFrame(buttons, &bar);
  buttons->RecalcLayout();
  CPlxCustomizeMenuButton* three = ItemFor(buttons, 3);
  ASSERT_NE(three, nullptr);
  EXPECT_TRUE(three->m_bChecked);
  Choose(buttons, three);
  EXPECT_FALSE(bar.GetButton(3)->m_bVisible);
  EXPECT_FALSE(bar.GetButton(2)->m_bVisible) << "the separator before the last button goes too";
  EXPECT_FALSE(three->m_bChecked);
  EXPECT_TRUE(::IsWindow(buttons->GetSafeHwnd()));
  EXPECT_EQ(chevron->GetPopupMenu(), popup) << "the chevron's menu stays open";
  EXPECT_TRUE(frame->commands.empty());
  chevron->OnCancelMode();
  pictavo::test::PumpPending();
}
