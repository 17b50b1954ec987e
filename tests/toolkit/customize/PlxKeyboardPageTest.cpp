// The shortcut key edit (what it records from key messages) and the keyboard page: shortcuts are
// listed per table, a key in use is never assigned twice whatever changed last, Assign needs a
// command, and a table that cannot be installed leaves everything as it was.
#include "toolkit/customize/PlxKeyboardPage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/base/VirtualKeys.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/toolkit/customize/KeysHost.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/customize/PlxHotKeyEdit.h"

namespace {

using namespace keys_test;

// One key message as the loop hands it to the edit; repeat marks an auto-repeated press.
struct Key {
  UINT vk;
  bool down;
  bool repeat = false;
};

BOOL Send(CPlxHotKeyEdit& edit, const Key& key) {
  const bool sys = key.vk == VK_MENU;
  MSG msg{edit.m_hWnd, key.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP),
          key.vk,      static_cast<LPARAM>(1 | (key.repeat ? (1 << 30) : 0)),
          0,           {}};
  return edit.PreTranslateMessage(&msg);
}

std::string Text(CWnd& wnd) {
  CString text;
  wnd.GetWindowText(text);
  return static_cast<LPCTSTR>(text);
}

class PlxHotKeyEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    customize_test::StartDisplay();
    ASSERT_TRUE(host.Make(CRect(0, 0, 300, 100)));
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 30), &host, 16644));
    ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 40, 200, 60), &host, 1));
    edit.SetFocus();
  }
  void TearDown() override {
    host.DestroyWindow();
    customize_test::Pump();
  }
  customize_test::CHostWnd host;
  CPlxHotKeyEdit edit;
  CEdit other;
};

TEST_F(PlxHotKeyEditTest, KeySequencesRecordOneCombination) {
  struct Case {
    const char* name;
    std::vector<Key> keys;
    std::string text;
    bool complete;
  };
  const Case cases[] = {
      {"modifiers then a letter", {{VK_CONTROL, true}, {VK_SHIFT, true}, {'K', true}}, "Ctrl+Shift+K", true},
      {"releasing keeps the text",
       {{VK_CONTROL, true},
        {VK_SHIFT, true},
        {'K', true},
        {'K', false},
        {VK_SHIFT, false},
        {VK_CONTROL, false}},
       "Ctrl+Shift+K",
       true},
      {"a new key starts over",
       {{VK_CONTROL, true}, {'K', true}, {'K', false}, {VK_CONTROL, false}, {VK_F5, true}},
       "F5",
       true},
      {"an auto-repeat does not start over",
       {{VK_CONTROL, true}, {'K', true}, {'K', true, true}},
       "Ctrl+K",
       true},
      {"modifiers alone are not a key", {{VK_CONTROL, true}, {VK_MENU, true}}, "Ctrl+Alt+", false},
      {"a released modifier is dropped",
       {{VK_CONTROL, true}, {VK_SHIFT, true}, {VK_SHIFT, false}, {'K', true}},
       "Ctrl+K",
       true},
      {"escape empties the edit", {{VK_F2, true}, {VK_F2, false}, {VK_ESCAPE, true}}, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit.ResetKey();
    edit.SetFocus();
    for (const Key& key : c.keys) Send(edit, key);
    EXPECT_EQ(Text(edit), c.text);
    EXPECT_EQ(edit.m_bKeyDefined != FALSE, c.complete);
  }
}

TEST_F(PlxHotKeyEditTest, EscapeKeepsTheFocusAndTabPassesItOn) {
  Send(edit, {'K', true});
  EXPECT_TRUE(Send(edit, {VK_ESCAPE, true}));  // swallowed: the focus stays
  EXPECT_EQ(Text(edit), "");
  Send(edit, {'K', true});
  EXPECT_FALSE(Send(edit, {VK_TAB, true}));  // goes on to the dialog, which moves the focus
  EXPECT_EQ(Text(edit), "");
  EXPECT_FALSE(edit.m_bKeyDefined);
}

TEST_F(PlxHotKeyEditTest, TheKeyThatBroughtTheFocusIsNotRecorded) {
  // The first key message comes while another window has the focus: its release is dropped.
  other.SetFocus();
  EXPECT_TRUE(Send(edit, {VK_TAB, false}));
  EXPECT_EQ(Text(edit), "");
  EXPECT_FALSE(edit.m_bKeyDefined);
  Send(edit, {'J', true});
  EXPECT_EQ(Text(edit), "J");
  EXPECT_TRUE(edit.m_bKeyDefined);
}

// ---- the page ----

// The profile goes to a scratch registry of the test.
class PlxKeyboardPageTest : public shelltest::RegistryFixture {
 protected:
  void SetUp() override {
    page = host.Open(&CPlxToolbarCustomize::GetKeyboardPage);
    ASSERT_NE(page, nullptr);
  }
  // Picks the row of the command in the all-commands category, or none for 0.
  void PickCommand(UINT id) {
    CComboBox& categories = page->m_wndCategoryList;
    categories.SetCurSel(categories.GetCount() - 1);
    Notify(CPlxKeyboardPage::IDC_CATEGORY, CBN_SELCHANGE);
    int row = -1;
    for (int i = 0; id != 0 && i < page->m_wndCommandsList.GetCount(); ++i)
      if (static_cast<CPlxToolbarButton*>(page->m_wndCommandsList.GetItemDataPtr(i))->m_nID == id) row = i;
    page->m_wndCommandsList.SetCurSel(row);
    Notify(CPlxKeyboardPage::IDC_COMMANDS, LBN_SELCHANGE);
  }
  void PickTable(const char* name) {
    page->m_wndViewTypeList.SetCurSel(page->m_wndViewTypeList.FindStringExact(-1, name));
    Notify(CPlxKeyboardPage::IDC_TABLE, CBN_SELCHANGE);
  }
  void Record(std::vector<UINT> modifiers, UINT vk) {
    CPlxHotKeyEdit& edit = page->m_wndNewKey;
    // The user clicks into the edit first.
    MSG click{edit.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), 0, {}};
    edit.PreTranslateMessage(&click);
    for (UINT m : modifiers) Send(edit, {m, true});
    Send(edit, {vk, true});
    Send(edit, {vk, false});
    for (UINT m : modifiers) Send(edit, {m, false});
  }
  void Notify(UINT id, UINT code) {
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, code),
                      reinterpret_cast<LPARAM>(page->GetDlgItem(id)->m_hWnd));
  }
  void Assign() { Notify(CPlxKeyboardPage::IDC_ASSIGN, BN_CLICKED); }
  bool AssignEnabled() { return page->m_wndAssignButton.IsWindowEnabled() != FALSE; }
  std::string AssignedTo() { return Text(*page->GetDlgItem(CPlxKeyboardPage::IDC_ASSIGNED_TO)); }
  std::vector<std::string> CurrentKeys() {
    std::vector<std::string> keys;
    for (int i = 0; i < page->m_wndCurrentKeysList.GetCount(); ++i) {
      CString text;
      page->m_wndCurrentKeysList.GetText(i, text);
      keys.emplace_back(static_cast<LPCTSTR>(text));
    }
    return keys;
  }
  static int TableSize(HACCEL table) { return ::CopyAcceleratorTable(table, nullptr, 0); }
  // The command the frame runs for the key, 0 when none.
  UINT Run(std::vector<UINT> modifiers, UINT vk) {
    for (UINT m : modifiers) pictavo::user::InjectKey({m, true});
    customize_test::Pump();
    host.frame->commands.clear();
    MSG msg{host.frame->m_hWnd, WM_KEYDOWN, vk, 1, 0, {}};
    host.frame->PreTranslateMessage(&msg);
    customize_test::Pump();
    for (UINT m : modifiers) pictavo::user::InjectKey({m, false});
    customize_test::Pump();
    return host.frame->commands.empty() ? 0 : host.frame->commands.back();
  }

  KeysHost host;
  CPlxKeyboardPage* page = nullptr;
};

TEST_F(PlxKeyboardPageTest, TablesAreTheTemplatesAndTheFramesAndListTheirKeys) {
  ASSERT_EQ(page->m_wndViewTypeList.GetCount(), 2);
  CString name;
  page->m_wndViewTypeList.GetLBText(0, name);
  EXPECT_STREQ(name, "Picture");
  // The frame's own table is chosen first.
  EXPECT_EQ(page->GetSelectedTemplate(), nullptr);
  PickCommand(kNew);
  EXPECT_EQ(CurrentKeys(), std::vector<std::string>{"Ctrl+N"});
  EXPECT_EQ(Text(*page->GetDlgItem(CPlxKeyboardPage::IDC_DESCRIPTION)), "Make a new slideshow");
  PickTable("Picture");
  EXPECT_EQ(page->GetSelectedTemplate(), host.pictures);
  PickCommand(kRotate);
  EXPECT_EQ(CurrentKeys(), std::vector<std::string>{"Ctrl+R"});
}

TEST_F(PlxKeyboardPageTest, AnAssignedKeyIsInstalledListedAndRuns) {
  PickCommand(kOpen);
  Record({VK_CONTROL, VK_SHIFT}, 'K');
  EXPECT_EQ(AssignedTo(), "(unassigned)");
  ASSERT_TRUE(AssignEnabled());
  Assign();
  EXPECT_EQ(CurrentKeys(), (std::vector<std::string>{"Ctrl+O", "Ctrl+Shift+K"}));
  EXPECT_EQ(TableSize(host.frame->m_hAccelTable), 3);
  EXPECT_EQ(Text(page->m_wndNewKey), "");
  EXPECT_FALSE(AssignEnabled());
  EXPECT_EQ(Run({VK_CONTROL, VK_SHIFT}, 'K'), kOpen);

  // A second key for the same command is listed too; removing one leaves the other.
  Record({VK_CONTROL}, VK_F7);
  Assign();
  EXPECT_EQ(CurrentKeys(), (std::vector<std::string>{"Ctrl+O", "Ctrl+Shift+K", "Ctrl+F7"}));
  page->m_wndCurrentKeysList.SetCurSel(1);
  Notify(CPlxKeyboardPage::IDC_CURRENT_KEYS, LBN_SELCHANGE);
  Notify(CPlxKeyboardPage::IDC_REMOVE, BN_CLICKED);
  EXPECT_EQ(CurrentKeys(), (std::vector<std::string>{"Ctrl+O", "Ctrl+F7"}));
  EXPECT_EQ(Run({VK_CONTROL, VK_SHIFT}, 'K'), 0u);
}

TEST_F(PlxKeyboardPageTest, AKeyInUseIsNeverAssignedTwice) {
  struct Case {
    const char* name;
    std::function<void()> steps;
    std::string assignedTo;
  };
  const Case cases[] = {
      {"typed in the same table",
       [&] {
         PickCommand(kOpen);
         Record({VK_CONTROL}, 'N');
       },
       "New Show"},
      {"the table changes after typing",
       [&] {
         PickCommand(kOpen);
         Record({VK_CONTROL}, 'R');
         ASSERT_TRUE(AssignEnabled());  // free in the frame's table
         PickTable("Picture");
       },
       "Rotate"},
      {"the command changes after typing",
       [&] {
         PickCommand(kExit);
         Record({VK_CONTROL}, 'O');
         PickCommand(kPaste);
       },
       "Open..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PickTable("Default");
    page->m_wndNewKey.ResetKey();
    c.steps();
    EXPECT_EQ(AssignedTo(), c.assignedTo);
    EXPECT_FALSE(AssignEnabled());
    // Assign reached anyway (a stale button, a keyboard shortcut) refuses and names the owner.
    const int before = page->GetAccelCount();
    const HACCEL table = page->GetSelectedTemplate() != nullptr ? page->GetSelectedTemplate()->m_hAccelTable
                                                                : host.frame->m_hAccelTable;
    Assign();
    EXPECT_EQ(page->GetAccelCount(), before);
    EXPECT_EQ(TableSize(table), before);
    EXPECT_NE(AssignedTo().find(c.assignedTo), std::string::npos);
  }
}

TEST_F(PlxKeyboardPageTest, WithoutACommandThereIsNothingToAssign) {
  PickCommand(0);
  Record({VK_CONTROL}, VK_F9);
  EXPECT_EQ(AssignedTo(), "(unassigned)");
  EXPECT_FALSE(AssignEnabled());
  const int before = TableSize(host.frame->m_hAccelTable);
  Assign();  // no command: nothing happens (and nothing is dereferenced)
  EXPECT_EQ(TableSize(host.frame->m_hAccelTable), before);
  // Choosing a command afterwards offers the key.
  PickCommand(kExit);
  EXPECT_TRUE(AssignEnabled());
}

TEST_F(PlxKeyboardPageTest, ATableThatCannotBeInstalledLeavesEverythingAsItWas) {
  PickCommand(kExit);
  Record({VK_CONTROL}, 'E');
  ASSERT_TRUE(AssignEnabled());
  const HACCEL table = host.frame->m_hAccelTable;
  host.keyboard.reset();  // nothing installs tables any more
  Assign();
  EXPECT_EQ(host.frame->m_hAccelTable, table);
  EXPECT_EQ(TableSize(table), 2);
  EXPECT_TRUE(CurrentKeys().empty());
  EXPECT_EQ(page->GetAccelCount(), 2);
  EXPECT_EQ(AssignedTo(), "The shortcut could not be installed; the table was left as it was.");
}

TEST_F(PlxKeyboardPageTest, ADocumentTablesKeyGoesToTheTemplate) {
  PickTable("Picture");
  PickCommand(kPaste);
  Record({VK_CONTROL}, 'V');
  Assign();
  EXPECT_EQ(TableSize(host.pictures->m_hAccelTable), 4);
  EXPECT_EQ(TableSize(host.frame->m_hAccelTable), 2);
  EXPECT_EQ(CurrentKeys(), std::vector<std::string>{"Ctrl+V"});
}

TEST_F(PlxKeyboardPageTest, EditedTablesComeBackFromTheProfile) {
  PickTable("Picture");
  PickCommand(kPaste);
  Record({VK_CONTROL}, 'V');
  Assign();
  PickTable("Default");
  PickCommand(kExit);
  Record({VK_CONTROL}, 'Q');
  Assign();
  ASSERT_TRUE(host.keyboard->SaveState("SOFTWARE\\PictavoTests\\Keys\\"));
  host.keyboard->ResetAllTables(host.frame);
  ASSERT_EQ(TableSize(host.pictures->m_hAccelTable), 3);
  ASSERT_EQ(TableSize(host.frame->m_hAccelTable), 2);
  host.keyboard->LoadState("SOFTWARE\\PictavoTests\\Keys\\");
  EXPECT_EQ(TableSize(host.pictures->m_hAccelTable), 4);
  EXPECT_EQ(TableSize(host.frame->m_hAccelTable), 3);
  EXPECT_EQ(Run({VK_CONTROL}, 'Q'), kExit);
}

TEST_F(PlxKeyboardPageTest, ResetAllBringsBackEveryTableOfTheResources) {
  PickCommand(kExit);
  Record({VK_CONTROL}, 'Q');
  Assign();
  PickTable("Picture");
  PickCommand(kPaste);
  Record({VK_CONTROL}, 'V');
  Assign();
  g_answer = IDNO;
  Notify(CPlxKeyboardPage::IDC_RESET_ALL, BN_CLICKED);
  EXPECT_EQ(TableSize(host.pictures->m_hAccelTable), 4);
  g_answer = IDYES;
  Notify(CPlxKeyboardPage::IDC_RESET_ALL, BN_CLICKED);
  EXPECT_EQ(TableSize(host.pictures->m_hAccelTable), 3);
  EXPECT_EQ(TableSize(host.frame->m_hAccelTable), 2);
  EXPECT_EQ(host.frame->Count(PLX_WM_RESETKEYBOARD), 1);
  // The page shows the reset table at once.
  EXPECT_EQ(page->GetAccelCount(), 3);
  EXPECT_TRUE(CurrentKeys().empty());
}

}  // namespace
