// The toolbars page: which bars it lists and how, showing and hiding a bar by its box (the row
// whose box changed, not the selected one), bars that may not be hidden refusing every way of
// unchecking them, the list following bars shown or hidden elsewhere, and the name dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/user/Input.h"
#include "tests/support/BeepRecorder.h"
#include "tests/support/TestInChild.h"
#include "tests/support/ThreadWindows.h"
#include "tests/toolkit/customize/SheetHost.h"
#include "toolkit/bars/PlxCommandManager.h"
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

namespace {

// The enabled dialog of this thread that is not `except`: the one a modal loop is waiting on.
HWND ModalDialog(HWND except) {
  struct Search {
    HWND except;
    HWND found = nullptr;
  } search{except};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char name[32] = {};
        GetClassName(hwnd, name, sizeof name);
        if (hwnd != s->except && std::strcmp(name, "#32770") == 0 && IsWindowEnabled(hwnd) &&
            !(GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD))
          s->found = hwnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class UserToolbars : public ToolbarsPage {
 protected:
  void SetUp() override {
    SheetHost::SetUp();
    frame->m_Impl.EnableUserDefinedToolbars(0xE900, 0xE900);  // room for one
    sheet = new CPlxToolbarCustomize(frame, TRUE, 0);
    sheet->EnableUserDefinedToolbars();
    ASSERT_TRUE(sheet->ShowModeless());
    sheet->SetWindowPos(nullptr, 280, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(sheet->SetActivePage(1));
    PumpAll();
    page = sheet->GetToolbarsPage();
    ASSERT_TRUE(host.Make(CRect(0, 0, 10, 10)));
  }
  void TearDown() override {
    pictavo::test::EndThreadDialogs(IDCANCEL);
    host.DestroyWindow();
    if (g_pActiveCustomizeSheet != nullptr) g_pActiveCustomizeSheet->DestroyWindow();
    PumpAll();
    SheetHost::TearDown();
  }
  // What the next modal dialog gets: its name typed and OK, or an answer.
  // `then` comes next, for a dialog that follows.
  void NameThenOk(const char* name, std::function<void()> then = nullptr) {
    host.Later([this, name, then] {
      HWND dialog = ModalDialog(sheet->m_hWnd);
      ASSERT_NE(dialog, nullptr);
      if (then) then();
      ::SetDlgItemText(dialog, CPlxToolbarNameDlg::kNameId, name);
      ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
  }
  void Answer(INT_PTR result) {
    host.Later([this, result] {
      HWND dialog = ModalDialog(sheet->m_hWnd);
      ASSERT_NE(dialog, nullptr);
      ::EndDialog(dialog, result);
    });
  }
  void Press(UINT id) {
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(page->GetDlgItem(id)->m_hWnd));
    PumpAll();
  }
  std::string Selected() {
    CString text;
    if (List().GetCurSel() >= 0) List().GetText(List().GetCurSel(), text);
    return text.GetString();
  }

  customize_test::CHostWnd host;
};

}  // namespace

TEST_F(UserToolbars, NewRenameAndDeleteAUserToolbar) {
  for (UINT id : {CPlxToolbarsPage::kNewId, CPlxToolbarsPage::kRenameId, CPlxToolbarsPage::kDeleteId})
    EXPECT_TRUE(page->GetDlgItem(id)->GetStyle() & WS_VISIBLE) << id;
  const int rows = List().GetCount();

  NameThenOk("Extras");
  Press(CPlxToolbarsPage::kNewId);
  ASSERT_EQ(List().GetCount(), rows + 1);
  EXPECT_EQ(Selected(), "Extras");
  CPlxToolBar* made = page->GetSelectedToolbar();
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsUserDefined());
  EXPECT_EQ(List().GetCheck(List().GetCurSel()), BST_CHECKED);
  EXPECT_TRUE(page->GetDlgItem(CPlxToolbarsPage::kRenameId)->IsWindowEnabled());
  EXPECT_TRUE(page->GetDlgItem(CPlxToolbarsPage::kDeleteId)->IsWindowEnabled());

  // The range holds one: the frame refuses a second bar (and says so); the list stays.
  NameThenOk("Another", [this] { Answer(IDOK); });  // the frame's notice
  Press(CPlxToolbarsPage::kNewId);
  EXPECT_EQ(List().GetCount(), rows + 1);

  NameThenOk("More");
  Press(CPlxToolbarsPage::kRenameId);
  EXPECT_EQ(Selected(), "More");
  EXPECT_EQ(page->GetSelectedToolbar(), made);
  CString caption;
  made->GetWindowText(caption);
  EXPECT_STREQ(caption, "More");
  for (CWnd* up = made->GetParent(); up != nullptr; up = up->GetParent())
    if (dynamic_cast<CMiniDockFrameWnd*>(up) != nullptr) {
      up->GetWindowText(caption);
      EXPECT_STREQ(caption, "More") << "the floating bar's frame is renamed too";
    }

  Answer(IDNO);
  Press(CPlxToolbarsPage::kDeleteId);
  EXPECT_EQ(List().GetCount(), rows + 1) << "No keeps it";
  Answer(IDYES);
  Press(CPlxToolbarsPage::kDeleteId);
  EXPECT_EQ(List().GetCount(), rows);
  EXPECT_EQ(List().FindStringExact(-1, "More"), LB_ERR);
  EXPECT_EQ(List().GetCurSel(), 0);
}

TEST_F(UserToolbars, ResetAndResetAllBringBackTheResourceButtons) {
  Select(Row("Standard"));
  const int original = standard.GetCount();
  standard.RemoveButton(0);
  Answer(IDNO);
  Press(CPlxToolbarsPage::kResetId);
  EXPECT_EQ(standard.GetCount(), original - 1) << "No keeps the change";
  Answer(IDYES);
  Press(CPlxToolbarsPage::kResetId);
  EXPECT_EQ(standard.GetCount(), original);

  // Reset all: every listed bar with a resource, and the commands' images as the resources gave them.
  standard.RemoveButton(0);
  const int pictureButtons = pictures.GetCount();
  pictures.RemoveButton(0);
  ASSERT_FALSE(CPlxToolBar::m_mapDefaultImages.IsEmpty());
  POSITION first = CPlxToolBar::m_mapDefaultImages.GetStartPosition();
  UINT command = 0;
  int image = -1;
  CPlxToolBar::m_mapDefaultImages.GetNextAssoc(first, command, image);
  GetCommandManager()->ClearAllCmdImages();
  GetCommandManager()->SetCmdImage(command, image + 1, FALSE);
  Answer(IDYES);
  Press(CPlxToolbarsPage::kResetAllId);
  EXPECT_EQ(standard.GetCount(), original);
  EXPECT_EQ(pictures.GetCount(), pictureButtons);
  EXPECT_EQ(GetCommandManager()->GetCmdImage(command, FALSE), image);
}

TEST_F(UserToolbars, TextLabelsFollowTheChosenBar) {
  sheet->DestroyWindow();
  PumpAll();
  sheet = Open(CUSTOPT_TEXT_LABELS);
  ASSERT_NE(sheet, nullptr);
  ASSERT_TRUE(sheet->SetActivePage(1));
  PumpAll();
  page = sheet->GetToolbarsPage();
  CWnd* labels = page->GetDlgItem(CPlxToolbarsPage::kTextLabelsId);
  EXPECT_TRUE(labels->GetStyle() & WS_VISIBLE);
  Select(Row("Standard"));
  EXPECT_TRUE(labels->IsWindowEnabled());
  EXPECT_EQ(labels->SendMessage(BM_GETCHECK), BST_UNCHECKED);
  labels->SendMessage(BM_SETCHECK, BST_CHECKED);
  Press(CPlxToolbarsPage::kTextLabelsId);
  EXPECT_TRUE(standard.AreTextLabels());
  Select(Row("Pictures"));
  EXPECT_EQ(labels->SendMessage(BM_GETCHECK), BST_UNCHECKED) << "the other bar's state";
  Select(Row("Standard"));
  EXPECT_EQ(labels->SendMessage(BM_GETCHECK), BST_CHECKED);
}

namespace {

// Run in a child: the beeps are counted by a display installed before any window.
class ToolbarsPageBeeps : public ToolbarsPage {
 protected:
  static constexpr const char* kChild = "PICTAVO_SHEET_BEEPS_CHILD";
  void SetUp() override {
    if (std::getenv(kChild) == nullptr) return;  // the parent only runs the child
    recorder = pictavo::test::BeepRecorder::Install();
    ToolbarsPage::SetUp();
  }
  void TearDown() override {
    if (recorder) ToolbarsPage::TearDown();
  }
  std::shared_ptr<pictavo::test::BeepRecorder> recorder;
};

}  // namespace

TEST_F(ToolbarsPageBeeps, EveryRefusedUncheckBeepsAndNothingElseDoes) {
  if (!recorder) {
    const auto result = pictavo::test::RunTestInChild(
        "ToolbarsPageBeeps.EveryRefusedUncheckBeepsAndNothingElseDoes", {{kChild, "1"}});
    EXPECT_EQ(result.status, 0) << result.output;
    return;
  }
  ClickBox(Row("Standard"));
  EXPECT_EQ(recorder->Beeps(), 0) << "a bar that may hide hides quietly";
  const int row = Row("Pictures");
  ClickBox(row);
  EXPECT_EQ(recorder->Beeps(), 1) << "click";
  Select(row);
  List().SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(recorder->Beeps(), 2) << "space";
  const CPoint box = BoxOf(row);
  List().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  EXPECT_EQ(recorder->Beeps(), 3) << "double-click on the box";
  CRect rect;
  List().GetItemRect(row, &rect);
  List().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.right - 5, rect.CenterPoint().y));
  PumpAll();
  EXPECT_EQ(recorder->Beeps(), 4) << "double-click on the name";
  EXPECT_TRUE(Visible(pictures));
}
