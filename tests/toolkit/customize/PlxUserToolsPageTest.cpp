// The user tools page: adding, renaming, moving and deleting tools goes straight into the
// manager, the fields follow the selection, the macro buttons come with the manager's menus, and
// a tool runs with its arguments exactly as typed.
#include "toolkit/customize/PlxUserToolsPage.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ScratchDir.h"
#include "tests/toolkit/customize/ImageEditHost.h"
#include "toolkit/core/PlxUserTools.h"

namespace {

using customize_test::Pump;
using customize_test::Tap;
using customize_test::TypeText;

constexpr UINT kFirst = 16560;
constexpr UINT kMacroMenu = 16590;

// A tool class the manager cannot make objects of: its creation fails.
class CUnmadeTool : public CPlxUserTool {
  DECLARE_DYNAMIC(CUnmadeTool)
};
IMPLEMENT_DYNAMIC(CUnmadeTool, CPlxUserTool)

class CTestToolsPage : public CPlxUserToolsPage {
 public:
  std::vector<std::string> messages;

 protected:
  void ShowMessage(const CString& text) override { messages.emplace_back(text.GetString()); }
};

class ToolsPage : public imgedit_test::EditFixture {
 protected:
  void Open(UINT last = kFirst + 9, CRuntimeClass* toolClass = nullptr, UINT argMenu = 0, UINT dirMenu = 0) {
    manager = std::make_unique<CPlxUserToolsManager>(16559, kFirst, last, toolClass, argMenu, dirMenu);
    page = std::make_unique<CTestToolsPage>();
    ASSERT_TRUE(page->Create(CPlxUserToolsPage::IDD, &host));
    page->ShowWindow(SW_SHOW);
    host.SetForegroundWindow();
    page->ToolList().SetFocus();
    Pump();
  }
  void TearDown() override {
    if (page && page->GetSafeHwnd()) page->DestroyWindow();
    page.reset();
    manager.reset();
    EditFixture::TearDown();
  }
  void NewTool(const char* name) {
    page->ToolList().ListCtrl()->SetFocus();
    Tap(VK_INSERT);
    TypeText(name);
    Tap(VK_RETURN);
  }
  std::vector<std::string> ToolNames() const {
    std::vector<std::string> names;
    const CObList& tools = manager->GetUserTools();
    for (POSITION pos = tools.GetHeadPosition(); pos;)
      names.emplace_back(static_cast<CPlxUserTool*>(tools.GetNext(pos))->m_strLabel.GetString());
    return names;
  }
  BOOL Enabled(UINT id) const { return ::IsWindowEnabled(::GetDlgItem(page->m_hWnd, id)); }
  BOOL Visible(UINT id) const { return ::IsWindowVisible(::GetDlgItem(page->m_hWnd, id)); }
  CString Field(UINT id) const {
    CString s;
    page->GetDlgItemText(id, s);
    return s;
  }
  std::unique_ptr<CPlxUserToolsManager> manager;
  std::unique_ptr<CTestToolsPage> page;
};

TEST_F(ToolsPage, WithNothingSelectedTheFieldsAreOffAndEmpty) {
  Open();
  for (UINT id : {16922u, 16923u, 16924u, 16925u, 16989u, 16997u}) EXPECT_FALSE(Enabled(id)) << id;
  for (UINT id : {16922u, 16924u, 16925u}) EXPECT_EQ(Field(id), "") << id;
}

TEST_F(ToolsPage, TheMacroButtonsComeOnlyWithTheManagersMenus) {
  struct Case {
    UINT argMenu, dirMenu;
    bool argShown, dirShown;
  };
  const Case cases[] = {
      {0, 0, false, false}, {kMacroMenu, 0, true, false}, {kMacroMenu, kMacroMenu, true, true}};
  for (const Case& c : cases) {
    Open(kFirst + 9, nullptr, c.argMenu, c.dirMenu);
    EXPECT_EQ(Visible(16989), c.argShown) << c.argMenu;
    EXPECT_EQ(Visible(16997), c.dirShown) << c.dirMenu;
    page->DestroyWindow();
  }
}

TEST_F(ToolsPage, NewToolsTakeTheirNameAndTheFieldsFollowTheSelection) {
  Open();
  NewTool("List");
  ASSERT_EQ(ToolNames(), std::vector<std::string>{"List"});
  CPlxUserTool* list = page->GetSelectedTool();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetCommandId(), kFirst);
  EXPECT_TRUE(Enabled(16922));
  page->SetDlgItemText(16924, "-l");
  page->SetDlgItemText(16925, "/tmp");
  EXPECT_EQ(list->m_strArguments, "-l");
  NewTool("Copy");
  CPlxUserTool* copy = page->GetSelectedTool();
  ASSERT_NE(copy, list);
  EXPECT_EQ(Field(16924), "");
  page->SetDlgItemText(16924, "-r");
  // Going back shows the first tool's fields and leaves the other's alone.
  page->ToolList().ChooseEntry(0);
  Pump();
  EXPECT_EQ(Field(16924), "-l");
  EXPECT_EQ(Field(16925), "/tmp");
  EXPECT_EQ(list->m_strArguments, "-l");
  EXPECT_EQ(copy->m_strArguments, "-r");
  EXPECT_EQ(copy->m_strInitialDirectory, "");
}

TEST_F(ToolsPage, ListEditsReachTheManager) {
  Open();
  NewTool("One");
  NewTool("Two");
  NewTool("Three");
  struct Step {
    const char* name;
    std::function<void()> act;
    std::vector<std::string> tools;
  };
  const Step steps[] = {
      {"Alt+Up moves the tool up", [] { Tap(VK_UP, {VK_MENU}); }, {"One", "Three", "Two"}},
      {"Alt+Down moves it back", [] { Tap(VK_DOWN, {VK_MENU}); }, {"One", "Two", "Three"}},
      {"an empty name keeps the old one",
       [] {
         Tap(VK_F2);
         Tap('A', {VK_CONTROL});
         Tap(VK_DELETE);
         Tap(VK_RETURN);
       },
       {"One", "Two", "Three"}},
      {"a rename names the tool",
       [] {
         Tap(VK_F2);
         TypeText("Last");
         Tap(VK_RETURN);
       },
       {"One", "Two", "Last"}},
      {"Delete removes the tool", [] { Tap(VK_DELETE); }, {"One", "Two"}},
  };
  for (const Step& s : steps) {
    page->ToolList().ListCtrl()->SetFocus();
    s.act();
    EXPECT_EQ(ToolNames(), s.tools) << s.name;
    EXPECT_EQ(page->ToolList().EntryCount(), static_cast<int>(s.tools.size())) << s.name;
  }
}

TEST_F(ToolsPage, AFullRangeRefusesTheNewToolAndItsEntry) {
  Open(kFirst + 1);
  NewTool("One");
  NewTool("Two");
  NewTool("Three");
  EXPECT_EQ(ToolNames(), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(page->ToolList().EntryCount(), 2);
  EXPECT_EQ(page->messages, std::vector<std::string>{"No more than 2 tools can be added."});
}

TEST_F(ToolsPage, AToolThatCannotBeMadeLeavesNoEntry) {
  Open(kFirst + 9, RUNTIME_CLASS(CUnmadeTool));
  NewTool("One");
  EXPECT_TRUE(ToolNames().empty());
  EXPECT_EQ(page->ToolList().EntryCount(), 0);
  EXPECT_TRUE(page->messages.empty());
}

TEST_F(ToolsPage, AMacroIsTypedIntoItsField) {
  Open(kFirst + 9, nullptr, kMacroMenu, kMacroMenu);
  NewTool("Tool");
  page->ArgumentsMenuButton().m_nMenuResult = 16591;
  page->SendMessage(WM_COMMAND, MAKEWPARAM(16989, BN_CLICKED));
  page->DirectoryMenuButton().m_nMenuResult = 16592;
  page->SendMessage(WM_COMMAND, MAKEWPARAM(16997, BN_CLICKED));
  ASSERT_NE(page->GetSelectedTool(), nullptr);
  EXPECT_EQ(page->GetSelectedTool()->m_strArguments, "$(FilePath)");
  EXPECT_EQ(page->GetSelectedTool()->m_strInitialDirectory, "$(Folder)");
}

// The tool is started without a shell: its arguments arrive as typed, split only at spaces
// outside quotes, with no variables expanded and no command separators.
TEST_F(ToolsPage, AToolRunsWithItsArgumentsAsTyped) {
  pictavo::test::ScratchDir scratch;
  const std::string fifo = scratch.Path() + "/arguments";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string tool = scratch.Path() + "/print-args";
  {
    std::ofstream out(tool);
    out << "#!/bin/sh\nprintf '%s\\000' \"$@\" > '" << fifo << "'\n";
  }
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);

  Open();
  NewTool("Print");
  page->SetDlgItemText(16922, tool.c_str());
  page->SetDlgItemText(16924, "a;b $HOME \"c d\"");
  ASSERT_TRUE(manager->InvokeTool(kFirst));

  std::string bytes;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);  // hang guard
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
            .count();
    pollfd wait{reader, POLLIN, 0};
    ASSERT_TRUE(left > 0 && poll(&wait, 1, static_cast<int>(left)) > 0) << "the tool did not run";
    char chunk[512];
    const ssize_t got = read(reader, chunk, sizeof chunk);
    if (got == 0) break;  // the tool closed its output
    if (got > 0) bytes.append(chunk, static_cast<size_t>(got));
  }
  close(reader);
  std::vector<std::string> args;
  for (size_t at = 0; at < bytes.size();) {
    const size_t end = bytes.find('\0', at);
    args.push_back(bytes.substr(at, end - at));
    at = end + 1;
  }
  EXPECT_EQ(args, (std::vector<std::string>{"a;b", "$HOME", "c d"}));
}

}  // namespace
