// The user tools page inside the customize sheet: offered only with a tools manager, listing the
// manager's tools, and kept open while the sheet refuses the tools; and its picture.
#include <memory>

#include "tests/toolkit/customize/SheetHost.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/customize/PlxUserToolsPage.h"

namespace {

constexpr UINT kFirst = 16560;

// A sheet that accepts the tools only while told to.
class CCheckingSheet : public CPlxToolbarCustomize {
 public:
  using CPlxToolbarCustomize::CPlxToolbarCustomize;
  BOOL accept = TRUE;
  int asked = 0;
  BOOL ValidateTools(const CObList&) override {
    ++asked;
    return accept;
  }
};

class SheetTools : public sheettest::SheetHost {
 protected:
  void TearDown() override {
    SheetHost::TearDown();
    manager.reset();
  }
  CCheckingSheet* OpenChecking() {
    auto* sheet = new CCheckingSheet(frame, TRUE, 0);
    if (!sheet->ShowModeless()) {
      delete sheet;
      return nullptr;
    }
    PumpAll();
    return sheet;
  }
  void MakeTools() {
    manager = std::make_unique<CPlxUserToolsManager>(16559, kFirst, kFirst + 9);
    for (const char* name : {"Notes", "Terminal"}) {
      CPlxUserTool* tool = manager->CreateNewTool();
      tool->m_strLabel = name;
      tool->SetCommand("/bin/true");
      tool->m_strArguments = "--help";
    }
  }
  std::unique_ptr<CPlxUserToolsManager> manager;
};

TEST_F(SheetTools, ThePageComesWithAToolsManager) {
  CPlxToolbarCustomize* without = Open();
  ASSERT_NE(without, nullptr);
  EXPECT_EQ(without->GetPageIndex(without->GetUserToolsPage()), -1);
  without->DestroyWindow();
  PumpAll();
  MakeTools();
  CPlxToolbarCustomize* with = Open();
  ASSERT_NE(with, nullptr);
  CPlxUserToolsPage* page = with->GetUserToolsPage();
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(with->SetActivePage(page));
  PumpAll();
  EXPECT_EQ(page->ToolList().EntryCount(), 2);
  EXPECT_EQ(page->ToolList().EntryText(1), "Terminal");
}

TEST_F(SheetTools, ThePageStaysWhileTheSheetRefusesTheTools) {
  MakeTools();
  CCheckingSheet* sheet = OpenChecking();
  ASSERT_NE(sheet, nullptr);
  CPropertyPage* page = sheet->GetUserToolsPage();
  ASSERT_TRUE(sheet->SetActivePage(page));
  PumpAll();
  sheet->accept = FALSE;
  sheet->SetActivePage(0);
  PumpAll();
  EXPECT_GT(sheet->asked, 0);
  EXPECT_EQ(sheet->GetActivePage(), page);
  sheet->accept = TRUE;
  sheet->SetActivePage(0);
  PumpAll();
  EXPECT_NE(sheet->GetActivePage(), page);
}

TEST_F(SheetTools, ThePicture) {
  MakeTools();
  CPlxToolbarCustomize* sheet = Open();
  ASSERT_NE(sheet, nullptr);
  CPlxUserToolsPage* page = sheet->GetUserToolsPage();
  ASSERT_TRUE(sheet->SetActivePage(page));
  PumpAll();
  page->ToolList().ChooseEntry(1);
  ::SetFocus(::GetDlgItem(sheet->m_hWnd, IDCANCEL));
  sheet->RedrawWindow(nullptr, nullptr,
                      RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpAll();
  CRect rect;
  sheet->GetWindowRect(&rect);
  EXPECT_EQ(customize_test::CompareWithReference(rect, "sheet-user-tools.png"), 0);
}

}  // namespace
