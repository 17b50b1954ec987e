// What the customize sheet looks like: the commands page with a category's commands drawn as
// their buttons (one chosen) and the toolbars page with a hidden bar and one that may not hide,
// compared with checked-in pictures (PICTAVO_WRITE_REFERENCES=1 writes them anew).
#include <gtest/gtest.h>

#include "tests/toolkit/customize/SheetHost.h"

using namespace sheettest;

namespace {

using SheetLook = SheetHost;

CRect WindowArea(CWnd* wnd) {
  CRect rect;
  wnd->GetWindowRect(&rect);
  return rect;
}

}  // namespace

TEST_F(SheetLook, CommandsAndToolbarsPages) {
  CPlxToolbarCustomize* sheet = Open(CUSTOPT_TEXT_LABELS);
  ASSERT_NE(sheet, nullptr);
  sheet->SetWindowPos(nullptr, 240, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  CPlxCustomizePage* commands = sheet->GetCommandsPage();
  CListBox& categories = commands->GetCategories();
  categories.SetCurSel(categories.FindStringExact(-1, "File"));
  commands->SendMessage(WM_COMMAND, MAKEWPARAM(CPlxCustomizePage::kCategoriesId, LBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(categories.m_hWnd));
  CPlxCommandList& list = commands->GetCommands();
  list.SetCurSel(list.FindStringExact(-1, "Open..."));
  commands->SendMessage(WM_COMMAND, MAKEWPARAM(CPlxCustomizePage::kCommandsId, LBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list.m_hWnd));
  sheet->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpAll();
  EXPECT_EQ(customize_test::CompareWithReference(WindowArea(sheet), "customize-commands.png"), 0);

  frame->ShowControlBar(&standard, FALSE, FALSE);
  ASSERT_TRUE(sheet->SetActivePage(1));
  CPlxBarCheckList& bars = sheet->GetToolbarsPage()->GetToolbarList();
  bars.SetCurSel(bars.FindStringExact(-1, "Pictures"));
  sheet->GetToolbarsPage()->SendMessage(WM_COMMAND,
                                        MAKEWPARAM(CPlxToolbarsPage::kToolbarListId, LBN_SELCHANGE),
                                        reinterpret_cast<LPARAM>(bars.m_hWnd));
  sheet->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpAll();
  EXPECT_EQ(customize_test::CompareWithReference(WindowArea(sheet), "customize-toolbars.png"), 0);
}
