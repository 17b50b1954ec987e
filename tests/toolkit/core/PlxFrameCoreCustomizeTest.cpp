// The quick-customize list the frame core fills when a chevron's add-or-remove list opens a bar's
// entry: the bar's buttons, the resource buttons it no longer shows at their places, the reset item.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/core/FrameFixture.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxCustomizeMenuButton.h"
#include "toolkit/core/PlxFrameCore.h"

using namespace frametest;

namespace {

class QuickCustomize : public FrameFixture {
 protected:
  void TearDown() override {
    if (chevron != nullptr) chevron->OnCancelMode();
    pictavo::test::PumpPending();
    while (!bar.m_lstDefaultButtons.IsEmpty()) delete bar.m_lstDefaultButtons.RemoveHead();
    CPlxCustomizeMenuButton::m_pWndToolBar = nullptr;
    FrameFixture::TearDown();
  }

  // The bar shows New, a separator and Save; its resource had New, Open and Save.
  void MakeBar() {
    bar.SetWindowText("Standard");
    bar.InsertButton(CPlxToolbarButton(57600, -1, "New"));
    auto* separator = new CPlxToolbarButton;
    separator->m_nStyle = TBBS_SEPARATOR;
    bar.InsertButtonObject(separator);
    bar.InsertButton(CPlxToolbarButton(57603, -1, ""));
    for (UINT id : {57600u, 57601u, 57603u})
      bar.m_lstDefaultButtons.AddTail(new CPlxToolbarButton(id, -1, ""));
    bar.EnableCustomizeButton(TRUE, 900, "&Customize...", TRUE);
    chevron = bar.GetCustomizeButton();
    chevron->m_rect = CRect(470, 0, 483, 22);
  }

  // Opens the chevron, its add-or-remove item and the entry of the first bar listed there.
  CPlxPopupMenu* OpenBarEntry() {
    if (!chevron->OpenPopupMenu(&bar)) return nullptr;
    pictavo::test::PumpPending();
    CPlxPopupMenu* top = chevron->GetPopupMenu();
    CPlxToolbarMenuButton* addRemove = top->GetMenuItem(top->GetMenuItemCount() - 1);
    if (addRemove == nullptr || !addRemove->OpenPopupMenu(top->GetMenuBar())) return nullptr;
    pictavo::test::PumpPending();
    CPlxPopupMenu* list = addRemove->GetPopupMenu();
    CPlxToolbarMenuButton* entry = list != nullptr ? list->GetMenuItem(0) : nullptr;
    if (entry == nullptr || !entry->OpenPopupMenu(list->GetMenuBar())) return nullptr;
    pictavo::test::PumpPending();
    return entry->GetPopupMenu();
  }

  // "text@index" for bound items ("!" when bound to a resource button not on the bar), "-".
  static std::vector<std::string> Items(CPlxPopupMenu* popup) {
    std::vector<std::string> items;
    for (int i = 0; i < popup->GetMenuBar()->GetCount(); ++i) {
      CPlxToolbarButton* item = popup->GetMenuBar()->GetButton(i);
      if (item->m_nStyle & TBBS_SEPARATOR) {
        items.emplace_back("-");
        continue;
      }
      auto* bound = dynamic_cast<CPlxCustomizeMenuButton*>(item);
      std::string text(item->m_strText);
      if (bound != nullptr) text += (bound->m_bExist ? "@" : "!") + std::to_string(bound->m_nIndex);
      items.push_back(text);
    }
    return items;
  }

  CCustomizeButton* chevron = nullptr;
};

}  // namespace

TEST_F(QuickCustomize, TheBarsEntryListsItsButtonsItsHiddenResourceButtonsAndReset) {
  MakeBar();
  CPlxPopupMenu* entry = OpenBarEntry();
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(CPlxFrameCore::IsQuickCustomizeMenu(entry));
  EXPECT_EQ(Items(entry),
            (std::vector<std::string>{"New@0", "Open!1", "Save@2", "-", "&Reset Toolbar@17021"}))
      << "Save has no text: its command's name; Open left the bar: at its resource place";
  EXPECT_EQ(PlxQuickCustomizeToolbar(), &bar);
  EXPECT_EQ(entry->m_nQuickCustomizeKind, 0);
}

TEST_F(QuickCustomize, OnlyTheChevronsAddOrRemoveListIsQuickCustomize) {
  MakeBar();
  CPlxPopupMenu* plain = OpenPopup(100, 100);
  ASSERT_NE(plain, nullptr);
  EXPECT_FALSE(CPlxFrameCore::IsQuickCustomizeMenu(plain)) << "no parent popup";
  EXPECT_FALSE(frame.m_Impl.ShowQuickCustomizeMenu(plain)) << "no chevron above it";
  EXPECT_EQ(plain->GetMenuItemCount(), 3) << "left as it was";
  plain->SendMessage(WM_CLOSE);
  pictavo::test::PumpPending();
}

TEST_F(QuickCustomize, ButtonsWithoutTextAreNamedAsTheFramesMenusNameThem) {
  MakeBar();
  // The frame's menu names Save and Open (its mnemonics kept); New keeps its own text.
  HMENU menu = ::CreateMenu();
  HMENU file = ::CreatePopupMenu();
  ::AppendMenu(file, MF_STRING, 57603, "Sa&ve Picture\tCtrl+S");
  ::AppendMenu(file, MF_STRING, 57601, "&Open Picture...");
  ::AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  frame.m_Impl.SetDefaultMenu(menu);
  CPlxPopupMenu* entry = OpenBarEntry();
  frame.m_Impl.SetDefaultMenu(nullptr);
  ::DestroyMenu(menu);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(Items(entry), (std::vector<std::string>{"New@0", "&Open Picture...!1", "Sa&ve Picture@2", "-",
                                                    "&Reset Toolbar@17021"}));
}
