// The customize sheet's command catalogue (built from the frame's menus: categories, refused
// commands, names, full names, duplicates) and the open sheet: one at a time, customize mode on
// while it is open, extra page classes that make no page left out.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/toolkit/customize/SheetHost.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxUserTools.h"

using namespace sheettest;

namespace {

std::vector<std::string> Names(const CStringList& list) {
  std::vector<std::string> names;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
    names.emplace_back(list.GetNext(pos).GetString());
  return names;
}

// "text" or "text=full name" for every item of a category, in catalogue order.
std::vector<std::string> Items(const CPlxToolbarCustomize& sheet, const char* category) {
  std::vector<std::string> items;
  const CObList* list = sheet.GetCategoryCommands(category);
  if (list == nullptr) return items;
  for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CPlxToolbarButton*>(list->GetNext(pos));
    std::string text = item->m_strText.GetString();
    if (!item->m_strCommandName.IsEmpty()) text += "=" + std::string(item->m_strCommandName.GetString());
    items.push_back(text);
  }
  return items;
}

using Catalogue = SheetHost;

}  // namespace

TEST_F(Catalogue, CategoriesComeFromTheMenusInOrderWithFullNames) {
  const CPlxToolbarCustomize sheet(frame, TRUE, 0);
  EXPECT_EQ(Names(sheet.GetCategoryNames()),
            (std::vector<std::string>{"File", "Edit", "Tools", "Window", "New Menu"}));
  // The recent-file entry never shows; the tab and its shortcut are cut off.
  EXPECT_EQ(Items(sheet, "File"),
            (std::vector<std::string>{"New=FileNew", "Open...=FileOpen...", "Page setup...=FilePageSetup...",
                                      "Exit=FileExit"}));
  // A sub-menu is an item of its own; a second sub-menu of the same text is the same item.
  EXPECT_EQ(Items(sheet, "Edit"),
            (std::vector<std::string>{"Cut=EditCut", "Copy=EditCopy", "Paste=EditPaste", "Find",
                                      "Find...=EditFindFind...", "Replace...=EditFindReplace...",
                                      "Find next=EditFindFindNext"}));
  EXPECT_EQ(Items(sheet, "Tools"), (std::vector<std::string>{"Options=ToolsOptions", "Copy=ToolsCopy",
                                                             "Advanced", "Options=ToolsAdvancedOptions"}));
  EXPECT_EQ(Items(sheet, "New Menu"), (std::vector<std::string>{"New Menu"}));

  // Every command once in the all-commands category, at its first place.
  const std::vector<std::string> all = Items(sheet, "All Commands");
  EXPECT_EQ(std::count(all.begin(), all.end(), "Copy=EditCopy"), 1);
  EXPECT_EQ(std::count(all.begin(), all.end(), "Copy=ToolsCopy"), 0);
  EXPECT_EQ(all.back(), "New Menu");

  struct Case {
    UINT id;
    const char* name;  // null: none
  };
  const Case cases[] = {{57634, "Copy"}, {16351, "Page setup..."}, {57616, nullptr},
                        {0, "New Menu"}, {12345, nullptr},         {57648, "New Window"}};
  for (const Case& c : cases) {
    LPCTSTR name = sheet.GetCommandName(c.id);
    if (c.name == nullptr)
      EXPECT_EQ(name, nullptr) << c.id;
    else
      EXPECT_STREQ(name, c.name) << c.id;
  }

  const CPlxToolbarCustomize keep(frame, TRUE, CUSTOPT_KEEP_AMPERSANDS);
  EXPECT_STREQ(keep.GetCommandName(57634), "&Copy");
  EXPECT_STREQ(keep.GetCommandName(16351), "Page setup...");
  EXPECT_EQ(Names(keep.GetCategoryNames()).front(), "&File");
}

TEST_F(Catalogue, WithoutMenuScanningOnlyTheNewMenuCategory) {
  const CPlxToolbarCustomize sheet(frame, FALSE, 0);
  EXPECT_EQ(Names(sheet.GetCategoryNames()), (std::vector<std::string>{"New Menu"}));
  EXPECT_EQ(Items(sheet, "All Commands"), (std::vector<std::string>{"New Menu"}));
}

TEST_F(Catalogue, AddingACommandRefusesNamesAndPlacesIt) {
  CPlxUserToolsManager tools(16380, 16381, 16383);
  CPlxUserTool* tool = tools.CreateNewTool();
  ASSERT_NE(tool, nullptr);
  tool->m_strLabel = "List";
  const UINT toolId = tool->GetCommandId();
  CPlxToolBar::m_lstForbiddenCommands.AddTail(16370);

  CPlxToolbarCustomize sheet(frame, FALSE, 0);
  struct Case {
    UINT id;
    const char* text;
    const char* name;  // as listed; null: refused
  };
  const Case cases[] = {
      {0xE110, "Recent", nullptr},
      {0xE11F, "Recent", nullptr},
      {0xF000, "Size", nullptr},
      {0xF1EF, "System", nullptr},
      {0xF1F0, "After system", "After system"},
      {0xFF00, "Child", nullptr},
      {0xFFFF, "Child", nullptr},
      {0xE210, "Verb", nullptr},
      {0xE21F, "Verb", nullptr},
      {0xE220, "After verbs", "After verbs"},
      {16380, "Tools placeholder", nullptr},  // the tools menu's stand-in
      {16370, "Forbidden", nullptr},
      {16371, "  &Save\tCtrl+S  ", "Save"},
      {16358, "", "Open Picture"},  // the tooltip part of its string
      {16359, "", "Just a prompt"},
      {16372, "", nullptr},         // no text and no string
      {toolId, "ignored", "List"},  // a tool is named after itself
      {16382, "No tool", nullptr},  // a tool id without a tool
  };
  for (const Case& c : cases) {
    sheet.AddCommandToCategory("Extra", CPlxToolbarButton(c.id, 3, c.text));
    LPCTSTR name = sheet.GetCommandName(c.id);
    if (c.name == nullptr)
      EXPECT_EQ(name, nullptr) << std::hex << c.id;
    else
      EXPECT_STREQ(name, c.name) << std::hex << c.id;
  }
  // A tool's item shows the tool's image.
  const CObList* extra = sheet.GetCategoryCommands("Extra");
  ASSERT_NE(extra, nullptr);
  for (POSITION pos = extra->GetHeadPosition(); pos != nullptr;) {
    auto* item = static_cast<CPlxToolbarButton*>(extra->GetNext(pos));
    EXPECT_EQ(item->m_iImage, item->m_nID == toolId ? 0 : 3) << item->m_nID;
  }
  CPlxToolBar::m_lstForbiddenCommands.RemoveAll();
}

TEST_F(Catalogue, ACommandIsListedOncePerCategoryAtTheIndexAsked) {
  CPlxToolbarCustomize sheet(frame, FALSE, 0);
  sheet.AddCommandToCategory("Mine", CPlxToolbarButton(16371, -1, "One"));
  sheet.AddCommandToCategory("Mine", CPlxToolbarButton(16372, -1, "Two"));
  sheet.AddCommandToCategory("Mine", CPlxToolbarButton(16373, -1, "Zero"), 0);
  sheet.AddCommandToCategory("Mine", CPlxToolbarButton(16374, -1, "Last"), 99);
  sheet.AddCommandToCategory("Mine", CPlxToolbarButton(16371, -1, "One again"));
  sheet.AddCommandToCategory("Other", CPlxToolbarButton(16371, -1, "One elsewhere"));
  EXPECT_EQ(Items(sheet, "Mine"), (std::vector<std::string>{"Zero", "One", "Two", "Last"}));
  EXPECT_EQ(Items(sheet, "Other"), (std::vector<std::string>{"One elsewhere"}));
  EXPECT_STREQ(sheet.GetCommandName(16371), "One") << "the all-commands category keeps the first";
  EXPECT_EQ(sheet.CountCommandsNamed("One", *sheet.GetCategoryCommands("Mine")), 1);
}

TEST_F(Catalogue, CategoryChoosersListTheAllCommandsCategoryLast) {
  customize_test::CHostWnd host;
  ASSERT_TRUE(host.Make(CRect(0, 0, 200, 200)));
  CListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | LBS_HASSTRINGS, CRect(0, 0, 100, 100), &host, 1));
  const CPlxToolbarCustomize sheet(frame, TRUE, 0);
  for (BOOL all : {TRUE, FALSE}) {
    list.ResetContent();
    sheet.ListCategoriesInListBox(list, all);
    std::vector<std::string> rows;
    for (int i = 0; i < list.GetCount(); ++i) {
      CString text;
      list.GetText(i, text);
      rows.emplace_back(text.GetString());
      EXPECT_EQ(list.GetItemDataPtr(i), sheet.GetCategoryCommands(text)) << text.GetString();
    }
    // The new-menu category holds no real command: only offered with all.
    std::vector<std::string> expected{"File", "Edit", "Tools", "Window"};
    if (all) expected.emplace_back("New Menu");
    expected.emplace_back("All Commands");
    EXPECT_EQ(rows, expected) << all;
  }
  sheet.ListAllCommands(list);
  CString first;
  list.GetText(0, first);
  EXPECT_STREQ(first, "FileNew");
  EXPECT_EQ(list.GetItemData(0), 57600u);
  host.DestroyWindow();
}

TEST_F(Catalogue, ExtraPageClassesThatMakeNoPageAreLeftOut) {
  CList<CRuntimeClass*, CRuntimeClass*> extra;
  extra.AddTail(RUNTIME_CLASS(CPlxToolbarButton));  // creatable, but no page
  extra.AddTail(RUNTIME_CLASS(CPlxCustomizePage));
  CPlxToolbarCustomize plain(frame, FALSE, 0);
  CPlxToolbarCustomize sheet(frame, FALSE, 0, &extra);
  EXPECT_EQ(sheet.GetExtraPages().GetCount(), 1);
  EXPECT_EQ(sheet.GetPageCount(), plain.GetPageCount() + 1);
  for (int i = 0; i < sheet.GetPageCount(); ++i) EXPECT_NE(sheet.GetPage(i), nullptr);
}

using OpenSheet = SheetHost;

TEST_F(OpenSheet, OneSheetAtATimeAndCustomizeModeWhileOpen) {
  CPlxToolbarCustomize* first = Open();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(g_pActiveCustomizeSheet, first);
  EXPECT_TRUE(CPlxToolBar::m_bCustomizeMode);
  EXPECT_EQ(frame->customizeModes, (std::vector<WPARAM>{1}));
  EXPECT_FALSE(::IsWindowEnabled(frame->m_hWndMDIClient)) << "the frame's client waits";
  EXPECT_TRUE(::IsWindowEnabled(standard.m_hWnd)) << "toolbars take the drops";

  // A second sheet would share the pointer and the mode, and closing it would end both.
  auto* second = new CPlxToolbarCustomize(frame, TRUE, 0);
  EXPECT_FALSE(second->ShowModeless());
  EXPECT_EQ(second->GetSafeHwnd(), nullptr);
  delete second;
  EXPECT_EQ(g_pActiveCustomizeSheet, first);
  EXPECT_TRUE(CPlxToolBar::m_bCustomizeMode);
  EXPECT_EQ(frame->customizeModes, (std::vector<WPARAM>{1}));

  // Close ends it all: the window, the pointer and the mode.
  const HWND window = first->m_hWnd;
  CWnd* close = first->GetDlgItem(IDCANCEL);
  ASSERT_NE(close, nullptr);
  CString label;
  close->GetWindowText(label);
  EXPECT_STREQ(label, "Close");
  ::SendMessage(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                reinterpret_cast<LPARAM>(close->m_hWnd));
  PumpAll();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(g_pActiveCustomizeSheet, nullptr);
  EXPECT_FALSE(CPlxToolBar::m_bCustomizeMode);
  EXPECT_EQ(frame->customizeModes, (std::vector<WPARAM>{1, 0}));
  EXPECT_TRUE(::IsWindowEnabled(frame->m_hWndMDIClient));

  // And a new one may open.
  CPlxToolbarCustomize* again = Open();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(g_pActiveCustomizeSheet, again);
}

TEST_F(OpenSheet, CloseAndHelpButtonsUnderThePages) {
  struct Case {
    UINT flags;
    bool help;
  };
  for (const Case c : {Case{0, true}, Case{CUSTOPT_NO_HELP, false}}) {
    CPlxToolbarCustomize* sheet = Open(c.flags);
    ASSERT_NE(sheet, nullptr);
    CRect client, close, page;
    sheet->GetClientRect(&client);
    sheet->GetDlgItem(IDCANCEL)->GetWindowRect(&close);
    sheet->ScreenToClient(&close);
    sheet->GetActivePage()->GetWindowRect(&page);
    sheet->ScreenToClient(&page);
    EXPECT_EQ(close.right, client.right - 8) << c.flags;
    EXPECT_GT(close.top, page.bottom) << "under the pages";
    EXPECT_LE(close.bottom, client.bottom);
    CWnd* help = sheet->GetDlgItem(IDHELP);
    EXPECT_EQ(help != nullptr && (help->GetStyle() & WS_VISIBLE) != 0, c.help) << c.flags;
    if (c.help) {
      CRect rect;
      help->GetWindowRect(&rect);
      sheet->ScreenToClient(&rect);
      EXPECT_EQ(rect.left, 8);
      CString text;
      help->GetWindowText(text);
      EXPECT_STREQ(text, "");
      frame->helpRequests.clear();
      sheet->SetActivePage(1);
      sheet->SendMessage(WM_COMMAND, MAKEWPARAM(IDHELP, BN_CLICKED), reinterpret_cast<LPARAM>(help->m_hWnd));
      ASSERT_EQ(frame->helpRequests.size(), 1u);
      EXPECT_EQ(frame->helpRequests[0].first, 1u) << "the active page";
      EXPECT_EQ(frame->helpRequests[0].second, reinterpret_cast<LPARAM>(sheet));
    }
    sheet->DestroyWindow();
    PumpAll();
    EXPECT_EQ(g_pActiveCustomizeSheet, nullptr);
  }
}

TEST_F(OpenSheet, EveryWayOfClosingEndsCustomizeMode) {
  struct Case {
    const char* how;
    std::function<void(CPlxToolbarCustomize*)> close;
  };
  const Case cases[] = {
      {"close box", [](CPlxToolbarCustomize* s) { s->SendMessage(WM_CLOSE); }},
      {"escape", [](CPlxToolbarCustomize* s) { s->SendMessage(WM_COMMAND, IDCANCEL); }},
      {"destroyed", [](CPlxToolbarCustomize* s) { s->DestroyWindow(); }},
      {"deleted", [](CPlxToolbarCustomize* s) { delete s; }},
  };
  for (const Case& c : cases) {
    CPlxToolbarCustomize* sheet = Open();
    ASSERT_NE(sheet, nullptr) << c.how;
    const HWND window = sheet->m_hWnd;
    c.close(sheet);
    PumpAll();
    EXPECT_FALSE(::IsWindow(window)) << c.how;
    EXPECT_EQ(g_pActiveCustomizeSheet, nullptr) << c.how;
    EXPECT_FALSE(CPlxToolBar::m_bCustomizeMode) << c.how;
  }
  EXPECT_EQ(frame->customizeModes, (std::vector<WPARAM>{1, 0, 1, 0, 1, 0, 1, 0}));
}

namespace {

// A docked sizing bar that notes the customize-mode changes it is told.
class CCountingSizingBar : public CPlxSizingControlBar {
 public:
  void OnCustomizeMode(BOOL bCustomize) override {
    modes.push_back(bCustomize);
    CPlxSizingControlBar::OnCustomizeMode(bCustomize);
  }
  std::vector<BOOL> modes;
};

}  // namespace

TEST_F(OpenSheet, DockedSizingBarsFollowCustomizeMode) {
  frame->EnableDocking(CBRS_ALIGN_ANY);
  CCountingSizingBar sizing;
  ASSERT_TRUE(
      sizing.Create("Sizing", frame, CSize(120, 120), TRUE, 0xE850, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
  sizing.EnableDocking(CBRS_ALIGN_ANY);
  frame->DockControlBar(&sizing, AFX_IDW_DOCKBAR_LEFT);
  PumpAll();
  CPlxToolbarCustomize* sheet = Open();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sizing.modes, (std::vector<BOOL>{TRUE}));
  sheet->DestroyWindow();
  PumpAll();
  EXPECT_EQ(sizing.modes, (std::vector<BOOL>{TRUE, FALSE}));
  sizing.DestroyWindow();
}

namespace {

// A sheet whose owner does not accept the user tools as they are.
class CStrictSheet : public CPlxToolbarCustomize {
 public:
  using CPlxToolbarCustomize::CPlxToolbarCustomize;
  BOOL ValidateTools(const CObList&) override { return accept; }
  BOOL accept = FALSE;
};

}  // namespace

TEST_F(OpenSheet, CloseWaitsForTheOwnerToAcceptTheTools) {
  CPlxUserToolsManager tools(16380, 16381, 16383);
  auto* sheet = new CStrictSheet(frame, TRUE, 0);
  ASSERT_TRUE(sheet->ShowModeless());
  PumpAll();
  for (UINT message : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_CLOSE)}) {
    sheet->SendMessage(message, message == WM_COMMAND ? IDCANCEL : 0);
    PumpAll();
    ASSERT_TRUE(::IsWindow(sheet->m_hWnd)) << "refused: the sheet stays " << message;
  }
  EXPECT_TRUE(CPlxToolBar::m_bCustomizeMode);
  sheet->accept = TRUE;
  sheet->SendMessage(WM_COMMAND, IDCANCEL);
  PumpAll();
  EXPECT_EQ(g_pActiveCustomizeSheet, nullptr);
  EXPECT_FALSE(CPlxToolBar::m_bCustomizeMode);
}

TEST_F(OpenSheet, HelpKeyAsksTheFrameForThePagesHelp) {
  CPlxToolbarCustomize* sheet = Open();
  ASSERT_NE(sheet, nullptr);
  HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, CPlxCustomizePage::kCategoriesId, nullptr, 0, {0, 0}};
  sheet->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_EQ(frame->helpRequests.size(), 1u);
  EXPECT_EQ(frame->helpRequests[0].first, 0u);
  EXPECT_EQ(frame->helpRequests[0].second, reinterpret_cast<LPARAM>(sheet));
}

TEST_F(Catalogue, DocumentMenusComeFirstThenTheFramesMenu) {
  CWinApp app("SheetTest");
  app.AddDocTemplate(new CMultiDocTemplate(16355, nullptr, nullptr, nullptr));
  const CPlxToolbarCustomize sheet(frame, TRUE, 0);
  EXPECT_EQ(Names(sheet.GetCategoryNames()),
            (std::vector<std::string>{"File", "View", "Edit", "Tools", "Window", "New Menu"}));
  EXPECT_EQ(Items(sheet, "File"),
            (std::vector<std::string>{"Close=FileClose", "New=FileNew", "Open...=FileOpen...",
                                      "Page setup...=FilePageSetup...", "Exit=FileExit"}));
  EXPECT_EQ(Items(sheet, "View"), (std::vector<std::string>{"Zoom=ViewZoom"}));
}

TEST_F(Catalogue, AWindowMenuOffersTheFramesWindowsDialog) {
  frame->m_uiWindowsDlgMenuId = 16361;
  frame->m_strWindowsDlgMenuText = "&Windows...";
  const CPlxToolbarCustomize sheet(frame, TRUE, 0);
  EXPECT_EQ(Items(sheet, "Window"),
            (std::vector<std::string>{"New Window=WindowNewWindow", "Cascade=WindowCascade", "Windows..."}));
  frame->m_uiWindowsDlgMenuId = 0;
}
