// The toolbars page: which bars it lists and how, showing and hiding a bar by its box (the row
// whose box changed, not the selected one), bars that may not be hidden refusing every way of
// unchecking them, the list following bars shown or hidden elsewhere, and the name dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/Input.h"
#include "tests/toolkit/customize/SheetHost.h"
#include "toolkit/bars/PlxDropDownToolBar.h"

using namespace sheettest;

namespace {

class ToolbarsPage : public SheetHost {
 protected:
  void SetUp() override {
    SheetHost::SetUp();
    menuBar.SetWindowText("Menu Bar");
    ASSERT_TRUE(extras.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE802));  // no name
    ASSERT_TRUE(unlisted.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE803));
    unlisted.SetWindowText("Unlisted");
    unlisted.m_bNotListed = TRUE;
    ASSERT_TRUE(dropDown.Create(frame, WS_CHILD | CBRS_ALIGN_TOP, 0xE804));
    dropDown.SetWindowText("Drop-down");
    ASSERT_TRUE(other.Create(nullptr, "Other frame", WS_POPUP, CRect(600, 600, 700, 700)));
    ASSERT_TRUE(otherBar.Create(&other, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE800));
    otherBar.SetWindowText("Elsewhere");
    sheet = Open();
    ASSERT_NE(sheet, nullptr);
    sheet->SetWindowPos(nullptr, 280, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(sheet->SetActivePage(1));
    PumpAll();
    page = sheet->GetToolbarsPage();
    ASSERT_NE(page->GetSafeHwnd(), nullptr);
  }
  void TearDown() override {
    if (g_pActiveCustomizeSheet != nullptr) g_pActiveCustomizeSheet->DestroyWindow();
    PumpAll();
    for (CPlxToolBar* bar : {&extras, &unlisted, static_cast<CPlxToolBar*>(&dropDown), &otherBar})
      if (bar->GetSafeHwnd() != nullptr) bar->DestroyWindow();
    if (other.GetSafeHwnd() != nullptr) other.DestroyWindow();
    SheetHost::TearDown();
  }

  CPlxBarCheckList& List() { return page->GetToolbarList(); }
  int Row(const char* name) { return List().FindStringExact(-1, name); }
  void Select(int row) {
    List().SetCurSel(row);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(CPlxToolbarsPage::kToolbarListId, LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(List().m_hWnd));
  }
  // The middle of a row's box, in the list's client coordinates.
  CPoint BoxOf(int row) {
    CRect rect;
    List().GetItemRect(row, &rect);
    return CPoint(rect.left + List().CheckBoxWidth() / 2, rect.CenterPoint().y);
  }
  void ClickBox(int row) {
    const CPoint at = BoxOf(row);
    List().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    List().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    PumpAll();
  }
  static bool Visible(const CWnd& bar) { return (bar.GetStyle() & WS_VISIBLE) != 0; }

  CPlxToolBar extras, unlisted, otherBar;
  CPlxDropDownToolBar dropDown;
  CFrameWnd other;
  CPlxToolbarCustomize* sheet = nullptr;
  CPlxToolbarsPage* page = nullptr;
};

}  // namespace

TEST_F(ToolbarsPage, ListsTheFramesBarsWithTheirStateAndWhetherTheyMayHide) {
  struct Listed {
    std::string name;
    int check;
    BOOL enabled;
    void* bar;
  };
  std::vector<Listed> rows;
  for (int i = 0; i < List().GetCount(); ++i) {
    CString text;
    List().GetText(i, text);
    rows.push_back(
        {text.GetString(), List().GetCheck(i), List().IsCheckEnabled(i), List().GetItemDataPtr(i)});
  }
  // Not the drop-down bar, the unlisted one or the other frame's bar; a bar without a name gets
  // the generic one.
  ASSERT_EQ(rows.size(), 4u);
  const Listed expected[] = {{"Menu Bar", BST_CHECKED, FALSE, &menuBar},
                             {"Standard", BST_CHECKED, TRUE, &standard},
                             {"Pictures", BST_CHECKED, FALSE, &pictures},
                             {"Toolbar", BST_CHECKED, TRUE, &extras}};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, expected[i].name) << i;
    EXPECT_EQ(rows[i].check, expected[i].check) << i;
    EXPECT_EQ(rows[i].enabled, expected[i].enabled) << i;
    EXPECT_EQ(rows[i].bar, expected[i].bar) << i;
  }

  // No user-defined toolbars offered: New, Rename and Delete are hidden.
  for (UINT id : {CPlxToolbarsPage::kNewId, CPlxToolbarsPage::kRenameId, CPlxToolbarsPage::kDeleteId})
    EXPECT_FALSE(page->GetDlgItem(id)->GetStyle() & WS_VISIBLE) << id;
  EXPECT_FALSE(page->GetDlgItem(CPlxToolbarsPage::kTextLabelsId)->GetStyle() & WS_VISIBLE)
      << "text labels only with their option";
  // Reset follows the chosen bar.
  Select(Row("Standard"));
  EXPECT_EQ(page->GetSelectedToolbar(), &standard);
  EXPECT_TRUE(page->GetDlgItem(CPlxToolbarsPage::kResetId)->IsWindowEnabled());
  Select(Row("Toolbar"));
  EXPECT_FALSE(page->GetDlgItem(CPlxToolbarsPage::kResetId)->IsWindowEnabled())
      << "no resource to go back to";
}

TEST_F(ToolbarsPage, ABoxShowsOrHidesItsOwnRowsBarNotTheSelectedOne) {
  Select(Row("Standard"));
  const int extrasRow = Row("Toolbar");
  ClickBox(extrasRow);
  EXPECT_EQ(List().GetCheck(extrasRow), BST_UNCHECKED);
  EXPECT_FALSE(Visible(extras)) << "the bar of the clicked box hides";
  EXPECT_TRUE(Visible(standard)) << "the selected bar stays";
  EXPECT_EQ(List().GetCurSel(), Row("Standard")) << "a box leaves the selection alone";
  ClickBox(extrasRow);
  EXPECT_TRUE(Visible(extras));
  EXPECT_EQ(List().GetCheck(extrasRow), BST_CHECKED);

  // A double-click on the selected row's name toggles that row.
  Select(Row("Standard"));
  CRect rect;
  List().GetItemRect(Row("Standard"), &rect);
  List().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.right - 5, rect.CenterPoint().y));
  PumpAll();
  EXPECT_FALSE(Visible(standard));
  EXPECT_EQ(List().GetCheck(Row("Standard")), BST_UNCHECKED);
}

TEST_F(ToolbarsPage, ABarThatMayNotHideRefusesEveryWayOfUnchecking) {
  const int row = Row("Pictures");
  auto stillShown = [&](const char* how) {
    EXPECT_EQ(List().GetCheck(row), BST_CHECKED) << how;
    EXPECT_TRUE(Visible(pictures)) << how;
  };
  ClickBox(row);
  stillShown("click");
  Select(row);
  List().SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  PumpAll();
  stillShown("space");
  CRect rect;
  List().GetItemRect(row, &rect);
  List().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.right - 5, rect.CenterPoint().y));
  PumpAll();
  stillShown("double-click");
}

TEST_F(ToolbarsPage, TheListFollowsBarsShownOrHiddenElsewhere) {
  frame->ShowControlBar(&standard, FALSE, FALSE);
  PumpAll();
  EXPECT_EQ(List().GetCheck(Row("Standard")), BST_UNCHECKED);
  frame->ShowControlBar(&standard, TRUE, FALSE);
  PumpAll();
  EXPECT_EQ(List().GetCheck(Row("Standard")), BST_CHECKED);
}

TEST_F(ToolbarsPage, TheNameDialogTakesOnlyANonEmptyName) {
  CPlxToolbarNameDlg dialog(page);
  ASSERT_TRUE(dialog.Create(CPlxToolbarNameDlg::kTemplate, page));
  CWnd* ok = dialog.GetDlgItem(IDOK);
  EXPECT_FALSE(ok->IsWindowEnabled());
  CWnd* edit = dialog.GetDlgItem(CPlxToolbarNameDlg::kNameId);
  edit->SetWindowText("Extras");
  PumpAll();
  EXPECT_TRUE(ok->IsWindowEnabled());
  EXPECT_STREQ(dialog.m_strToolbarName, "Extras");
  edit->SetWindowText("");
  PumpAll();
  EXPECT_FALSE(ok->IsWindowEnabled());
  dialog.DestroyWindow();
}
