// The commands page: the categories of the catalogue, the rows of a category (full names where
// a short one is ambiguous, the all-commands list sorted), the description of the chosen command,
// and a command dragged out of the list onto a toolbar.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/user/Input.h"
#include "tests/toolkit/customize/SheetHost.h"

using namespace sheettest;

namespace {

class CommandsPage : public SheetHost {
 protected:
  void SetUp() override {
    SheetHost::SetUp();
    sheet = Open();
    ASSERT_NE(sheet, nullptr);
    page = sheet->GetCommandsPage();
    ASSERT_NE(page->GetSafeHwnd(), nullptr);
  }

  // Chooses a category as a click would and gives its rows.
  std::vector<std::string> Rows(const char* category) {
    CListBox& categories = page->GetCategories();
    const int row = categories.FindStringExact(-1, category);
    EXPECT_GE(row, 0) << category;
    categories.SetCurSel(row);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(CPlxCustomizePage::kCategoriesId, LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(categories.m_hWnd));
    std::vector<std::string> rows;
    CPlxCommandList& commands = page->GetCommands();
    for (int i = 0; i < commands.GetCount(); ++i) {
      CString text;
      commands.GetText(i, text);
      rows.emplace_back(text.GetString());
    }
    return rows;
  }

  // Chooses a row of the current category and gives the description shown for it.
  std::string Describe(const char* row) {
    CPlxCommandList& commands = page->GetCommands();
    const int index = commands.FindStringExact(-1, row);
    EXPECT_GE(index, 0) << row;
    commands.SetCurSel(index);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(CPlxCustomizePage::kCommandsId, LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(commands.m_hWnd));
    CString shown;
    page->GetDlgItemText(CPlxCustomizePage::kDescriptionId, shown);
    EXPECT_STREQ(shown, page->GetDescription());
    return shown.GetString();
  }

  // The left button pressed at `from`, moved in steps to `to` and released there.
  static void PressDragRelease(CPoint from, CPoint to) {
    using pictavo::user::InjectMouseButton;
    using pictavo::user::InjectMouseMove;
    using pictavo::user::MouseButton;
    InjectMouseMove(from);
    PumpAll();
    InjectMouseButton(MouseButton::kLeft, true);
    for (int step = 1; step <= 4; ++step)
      InjectMouseMove(from + CSize((to.x - from.x) * step / 4, (to.y - from.y) * step / 4));
    InjectMouseButton(MouseButton::kLeft, false);
    PumpAll();
  }

  CPlxToolbarCustomize* sheet = nullptr;
  CPlxCustomizePage* page = nullptr;
};

}  // namespace

TEST_F(CommandsPage, RowsShowFullNamesOnlyWhereAShortNameIsAmbiguous) {
  std::vector<std::string> categories;
  for (int i = 0; i < page->GetCategories().GetCount(); ++i) {
    CString text;
    page->GetCategories().GetText(i, text);
    categories.emplace_back(text.GetString());
  }
  EXPECT_EQ(categories,
            (std::vector<std::string>{"File", "Edit", "Tools", "Window", "New Menu", "All Commands"}));
  EXPECT_EQ(page->GetCategories().GetCurSel(), 0) << "the first category is chosen";
  EXPECT_EQ(page->GetCommands().GetCount(), 4) << "and its commands shown";

  EXPECT_EQ(Rows("Tools"),
            (std::vector<std::string>{"ToolsOptions", "Copy", "Advanced", "ToolsAdvancedOptions"}));
  EXPECT_EQ(Rows("Edit"),
            (std::vector<std::string>{"Cut", "Copy", "Paste", "Find", "Find...", "Replace...", "Find next"}));

  // All commands: full names, alphabetical whatever the menu order.
  const std::vector<std::string> all = Rows("All Commands");
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const std::string& a, const std::string& b) {
    return std::strcmp(a.c_str(), b.c_str()) < 0;
  }));
  EXPECT_EQ(all.front(), "Advanced");
  EXPECT_NE(std::find(all.begin(), all.end(), "FilePageSetup..."), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), "New Menu"), all.end());
  EXPECT_EQ(std::count(all.begin(), all.end(), "EditCopy"), 1);
}

TEST_F(CommandsPage, TheDescriptionIsTheCommandsPrompt) {
  Rows("Edit");
  struct Case {
    const char* row;
    const char* description;
  };
  const Case cases[] = {{"Copy", "Copy the selection to the clipboard"}, {"Cut", ""}, {"Find", ""}};
  for (const Case& c : cases) EXPECT_EQ(Describe(c.row), c.description) << c.row;
  Rows("Tools");
  EXPECT_EQ(Describe("ToolsOptions"), "Change the options");
  Rows("New Menu");
  EXPECT_EQ(Describe("New Menu"), "New Menu") << "the new menu describes itself";
  // A new category clears the choice.
  Rows("File");
  EXPECT_EQ(page->GetSelectedCommand(), nullptr);
  CString shown;
  page->GetDlgItemText(CPlxCustomizePage::kDescriptionId, shown);
  EXPECT_STREQ(shown, "");
}

TEST_F(CommandsPage, ACommandDraggedOntoAToolbarIsAddedThere) {
  // Out of the bars' way, as a user would move it.
  sheet->SetWindowPos(nullptr, 280, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Rows("Edit");
  CPlxCommandList& commands = page->GetCommands();
  const int copyRow = commands.FindStringExact(-1, "Copy");
  CRect row;
  commands.GetItemRect(copyRow, &row);
  commands.ClientToScreen(&row);
  CRect target;
  standard.GetWindowRect(&target);
  const int before = standard.GetCount();
  const CPoint from = row.CenterPoint();
  const CPoint to(target.right - 8, target.CenterPoint().y);
  ASSERT_FALSE(target.PtInRect(from));

  // A press on the empty space below the rows drags nothing, even with a row chosen.
  Rows("Window");
  commands.SetCurSel(0);
  CRect client;
  commands.GetClientRect(&client);
  const CPoint belowInList(client.CenterPoint().x, client.bottom - 4);
  BOOL outside = FALSE;
  commands.ItemFromPoint(belowInList, outside);
  ASSERT_TRUE(outside);
  CPoint below = belowInList;
  commands.ClientToScreen(&below);
  PressDragRelease(below, to);
  EXPECT_EQ(standard.GetCount(), before);
  Rows("Edit");
  PressDragRelease(from, to);

  ASSERT_EQ(standard.GetCount(), before + 1);
  bool found = false;
  for (int i = 0; i < standard.GetCount(); ++i) found |= standard.GetButton(i)->m_nID == 57634u;
  EXPECT_TRUE(found) << "Copy is on the bar";
  EXPECT_EQ(commands.GetCount(), 7) << "the list keeps its commands";
}
