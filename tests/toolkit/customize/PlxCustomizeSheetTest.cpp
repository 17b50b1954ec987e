// The customize sheet's command catalogue (built from the frame's menus: categories, refused
// commands, names, full names, duplicates) and the open sheet: one at a time, customize mode on
// while it is open, extra page classes that make no page left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/customize/SheetHost.h"
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

TEST_F(OpenSheet, TheQuickCustomizeNamesComeFromTheMenus) {
  // The frame core's lookup: a catalogue made for the frame with mnemonics kept.
  const CPlxToolbarCustomize catalogue(frame, TRUE, CUSTOPT_KEEP_AMPERSANDS);
  EXPECT_STREQ(catalogue.GetCommandName(57635), "Cu&t");
  EXPECT_EQ(catalogue.GetSafeHwnd(), nullptr);
  EXPECT_EQ(g_pActiveCustomizeSheet, nullptr);
  EXPECT_FALSE(CPlxToolBar::m_bCustomizeMode);
}
