// Parsed records: dialogs, menus, accelerators and toolbars as the window layers receive them.
#include <gtest/gtest.h>

#include <functional>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Styles.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"
#include "tests/platform/res/ResourceTestSupport.h"

using namespace pictavo::res;
using restest::ModuleHandle;
using restest::SampleResources;
using restest::ScratchDir;
using restest::Xml;

namespace {

const DialogControl* ControlById(const DialogTemplate& dialog, DWORD id) {
  for (const DialogControl& control : dialog.controls)
    if (control.id == id) return &control;
  return nullptr;
}

}  // namespace

TEST_F(SampleResources, DialogCarriesEverythingTheDialogManagerNeeds) {
  const DialogTemplate* dialog = FindDialog(nullptr, MAKEINTRESOURCE(60000));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->name.id, 60000);
  EXPECT_EQ(dialog->symbol, "IDD_SAMPLE");
  EXPECT_TRUE(dialog->extended);
  EXPECT_EQ(dialog->caption, "Sample Dialog");
  EXPECT_EQ(dialog->style,
            static_cast<DWORD>(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT));
  EXPECT_EQ(dialog->exStyle, 0u);
  EXPECT_EQ((std::array{dialog->x, dialog->y, dialog->cx, dialog->cy}),
            (std::array<short, 4>{0, 0, 220, 148}));
  EXPECT_EQ(dialog->fontFace, "MS Sans Serif");
  EXPECT_EQ(dialog->pointSize, 8);
  EXPECT_EQ(dialog->weight, 400);
  EXPECT_FALSE(dialog->menu.has_value());
  EXPECT_TRUE(dialog->className.empty());
  ASSERT_EQ(dialog->controls.size(), 12u);

  struct Case {
    DWORD id;
    const char* className;
    const char* text;
    DWORD style;
    RECT rect;
  };
  const Case kCases[] = {
      {60010, "Static", "&Name:", WS_CHILD | WS_VISIBLE, {7, 9, 47, 17}},
      {60011, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {50, 7, 213, 21}},
      {60012,
       "Button",
       "&Remember the name",
       WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP,
       {50, 25, 213, 35}},
      {60016,
       "ListBox",
       "",
       WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP |
           WS_GROUP,
       {114, 44, 213, 90}},
      {60017,
       "ComboBox",
       "",
       WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
       {7, 96, 107, 156}},
      {60018, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, {114, 98, 213, 108}},
      {0xFFFFFFFF, "Static", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, {7, 118, 213, 119}},
      {IDOK,
       "Button",
       "OK",
       WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
       {109, 126, 159, 140}},
      {IDCANCEL, "Button", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {163, 126, 213, 140}},
  };
  for (const Case& c : kCases) {
    const DialogControl* control = ControlById(*dialog, c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(control->className, c.className) << c.id;
    EXPECT_EQ(control->text, c.text) << c.id;
    EXPECT_EQ(control->style, c.style) << c.id;
    const RECT rect = control->Rect();
    EXPECT_EQ((std::array{rect.left, rect.top, rect.right, rect.bottom}),
              (std::array{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}))
        << c.id;
  }
  EXPECT_EQ(ControlById(*dialog, 60011)->symbol, "IDC_SAMPLE_NAME");
}

TEST(DialogResource, StyleExpressionsResolveToTheirNumbers) {
  struct Case {
    const char* expression;
    DWORD style;
  };
  const Case kCases[] = {
      {"BS_AUTOCHECKBOX | WS_TABSTOP", 0x50010003},
      {"0x50010003", 0x50010003},
      {"65536", 0x50010000},
      {"BS_PUSHBUTTON | NOT WS_VISIBLE", 0x40000000},
      {"WS_DISABLED|NOT WS_VISIBLE|WS_GROUP", 0x48020000},
      {"SS_ETCHEDHORZ", 0x50000010},
      {"SS_CENTERIMAGE | SS_RIGHT | SS_NOTIFY", 0x50000302},
      {"ES_MULTILINE|ES_AUTOVSCROLL|ES_WANTRETURN|WS_VSCROLL", 0x50201044},
      {"LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER", 0x50800009},
      {"TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT", 0x50000007},
      {"TBS_AUTOTICKS | TBS_BOTH", 0x50000009},
      {"UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS", 0x50000036},
      {"PBS_SMOOTH", 0x50000001},
      {"CBS_DROPDOWN | CBS_SORT | WS_VSCROLL", 0x50200102},
      {"LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_SORT", 0x50000062},
  };
  std::string controls;
  for (size_t i = 0; i < std::size(kCases); ++i)
    controls += "<control id=\"" + std::to_string(100 + i) +
                "\" class=\"SysListView32\" rect=\"0, 0, 10, 10\" style=\"" + kCases[i].expression + "\"/>\n";
  ScratchDir folder;
  folder.Write(
      "styles.xml",
      Xml("<dialog id=\"1\" rect=\"0, 0, 100, 50\" style=\"0x80CA00C0\" exstyle=\"WS_EX_CLIENTEDGE | "
          "WS_EX_TOOLWINDOW\" font=\"Tahoma\" font-size=\"8\">\n" +
          controls + "</dialog>"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const DialogTemplate* dialog = FindDialog(module.get(), MAKEINTRESOURCE(1));
  ASSERT_NE(dialog, nullptr) << (ResourceErrors(module.get()).empty() ? "" : ResourceErrors(module.get())[0]);
  EXPECT_EQ(dialog->style, 0x80CA00C0u);
  EXPECT_EQ(dialog->exStyle, 0x280u);
  ASSERT_EQ(dialog->controls.size(), std::size(kCases));
  for (size_t i = 0; i < std::size(kCases); ++i)
    EXPECT_EQ(dialog->controls[i].style, kCases[i].style) << kCases[i].expression;
}

TEST(DialogResource, PlainAndExtendedTemplatesKeepControlIdsAtTheirWidths) {
  ScratchDir folder;
  folder.Write("ids.xml", Xml(R"(
<dialog id="1" rect="0, 0, 100, 50">
  <control id="-1" class="static" rect="0, 0, 1, 1"/>
  <control id="IDC_STATIC" class="STATIC" rect="0, 0, 1, 1"/>
  <control id="65535" class="button" rect="0, 0, 1, 1"/>
  <control id="0xE800" class="msctls_statusbar32" rect="0, 0, 1, 1"/>
</dialog>
<dialog id="2" rect="0, 0, 100, 50" extended="1" font="MS Shell Dlg" font-size="9" font-weight="700"
        font-italic="1" font-charset="0" menu="60001" class="PictavoDialog" caption="Two\tTabs">
  <control id="-1" class="ListBox" rect="0, 0, 1, 1"/>
  <control id="IDYES" class="comboBOX" rect="0, 0, 1, 1" exstyle="WS_EX_STATICEDGE"/>
  <control id="100000" class="msctls_trackbar32" rect="0, 0, 1, 1"/>
</dialog>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  ASSERT_TRUE(ResourceErrors(module.get()).empty()) << ResourceErrors(module.get())[0];

  const DialogTemplate* plain = FindDialog(module.get(), MAKEINTRESOURCE(1));
  ASSERT_NE(plain, nullptr);
  EXPECT_FALSE(plain->extended);
  EXPECT_EQ(plain->style, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU));
  EXPECT_TRUE(plain->fontFace.empty());
  struct Case {
    DWORD id;
    const char* className;
  };
  const Case kPlain[] = {
      {65535, "Static"}, {65535, "Static"}, {65535, "Button"}, {0xE800, "msctls_statusbar32"}};
  ASSERT_EQ(plain->controls.size(), std::size(kPlain));
  for (size_t i = 0; i < std::size(kPlain); ++i) {
    EXPECT_EQ(plain->controls[i].id, kPlain[i].id) << i;
    EXPECT_EQ(plain->controls[i].className, kPlain[i].className) << i;
  }

  const DialogTemplate* extended = FindDialog(module.get(), "#2");
  ASSERT_NE(extended, nullptr);
  EXPECT_TRUE(extended->extended);
  EXPECT_EQ(extended->caption, "Two\tTabs");
  EXPECT_EQ(extended->fontFace, "MS Shell Dlg");
  EXPECT_EQ(extended->pointSize, 9);
  EXPECT_EQ(extended->weight, 700);
  EXPECT_TRUE(extended->italic);
  EXPECT_EQ(extended->charset, 0);
  ASSERT_TRUE(extended->menu.has_value());
  EXPECT_EQ(extended->menu->id, 60001);
  EXPECT_EQ(extended->className, "PictavoDialog");
  const Case kExtended[] = {{0xFFFFFFFF, "ListBox"}, {IDYES, "ComboBox"}, {100000, "msctls_trackbar32"}};
  ASSERT_EQ(extended->controls.size(), std::size(kExtended));
  for (size_t i = 0; i < std::size(kExtended); ++i) {
    EXPECT_EQ(extended->controls[i].id, kExtended[i].id) << i;
    EXPECT_EQ(extended->controls[i].className, kExtended[i].className) << i;
  }
  EXPECT_EQ(extended->controls[1].exStyle, static_cast<DWORD>(WS_EX_STATICEDGE));
}

TEST_F(SampleResources, MenuIsATreeOfPopupsItemsAndSeparators) {
  const MenuTemplate* menu = FindMenu(nullptr, MAKEINTRESOURCE(60001));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items.size(), 3u);
  using Kind = MenuItem::Kind;
  struct Case {
    std::vector<size_t> path;  // positions, outermost first
    Kind kind;
    UINT id;
    const char* text;
    UINT flags;
    size_t children;
  };
  const Case kCases[] = {
      {{0}, Kind::Popup, 0, "&File", kMenuPopup, 6},
      {{0, 0}, Kind::Command, 60101, "&New\tCtrl+N", 0, 0},
      {{0, 2}, Kind::Separator, 0, "", kMenuSeparator, 0},
      {{0, 3}, Kind::Popup, 0, "&Recent Files", kMenuPopup, 1},
      {{0, 3, 0}, Kind::Command, 60103, "(none)", kMenuGrayed, 0},
      {{0, 5}, Kind::Command, 60104, "E&xit", 0, 0},
      {{1, 0}, Kind::Command, 60105, "&Thumbnails", kMenuChecked, 0},
      {{1, 3}, Kind::Command, 60107, "&Refresh\tF5", 0, 0},
      {{2}, Kind::Popup, 0, "&Help", kMenuPopup, 1},
  };
  for (const Case& c : kCases) {
    const std::vector<MenuItem>* level = &menu->items;
    const MenuItem* item = nullptr;
    for (size_t position : c.path) {
      ASSERT_LT(position, level->size()) << c.text;
      item = &(*level)[position];
      level = &item->items;
    }
    EXPECT_EQ(item->kind, c.kind) << c.text;
    EXPECT_EQ(item->id, c.id) << c.text;
    EXPECT_EQ(item->text, c.text);
    EXPECT_EQ(item->flags, c.flags) << c.text;
    EXPECT_EQ(item->items.size(), c.children) << c.text;
  }
}

TEST(MenuResource, FlagWordsSetTheirMenuFlags) {
  struct Case {
    const char* words;
    UINT flags;
  };
  const Case kCases[] = {
      {"checked", kMenuChecked},
      {"grayed|checked", kMenuGrayed | kMenuChecked},
      {"disabled default", kMenuDisabled | kMenuDefault},
      {"break", kMenuBreak},
      {"barbreak+help", kMenuBarBreak | kMenuHelp},
  };
  std::string items;
  for (size_t i = 0; i < std::size(kCases); ++i)
    items += "<item id=\"" + std::to_string(i + 1) + "\" text=\"x\" flags=\"" + kCases[i].words + "\"/>\n";
  ScratchDir folder;
  folder.Write("menu.xml", Xml("<menu id=\"1\"><popup text=\"p\">" + items + "</popup></menu>"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const MenuTemplate* menu = FindMenu(module.get(), MAKEINTRESOURCE(1));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items[0].items.size(), std::size(kCases));
  for (size_t i = 0; i < std::size(kCases); ++i)
    EXPECT_EQ(menu->items[0].items[i].flags, kCases[i].flags) << kCases[i].words;
}

TEST_F(SampleResources, AcceleratorsAndToolbar) {
  const AcceleratorTable* table = FindAccelerators(nullptr, MAKEINTRESOURCE(60002));
  ASSERT_NE(table, nullptr);
  struct Accel {
    BYTE flags;
    WORD key;
    WORD command;
  };
  const Accel kSample[] = {{kAccelVirtKey | kAccelControl, 'N', 60101},
                           {kAccelVirtKey | kAccelControl, 'O', 60102},
                           {kAccelVirtKey, 0x74 /* VK_F5 */, 60107}};
  ASSERT_EQ(table->entries.size(), std::size(kSample));
  for (size_t i = 0; i < std::size(kSample); ++i) {
    EXPECT_EQ(table->entries[i].flags, kSample[i].flags) << i;
    EXPECT_EQ(table->entries[i].key, kSample[i].key) << i;
    EXPECT_EQ(table->entries[i].command, kSample[i].command) << i;
  }

  const ToolbarTemplate* toolbar = FindToolbar(nullptr, MAKEINTRESOURCE(60003));
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->imageWidth, 16);
  EXPECT_EQ(toolbar->imageHeight, 15);
  EXPECT_EQ(toolbar->commands, (std::vector<WORD>{60101, 60102, 0, 60105, 60106}));
  // The toolbar names its bitmap, which becomes the bitmap of the same id.
  const std::string* bitmap = FindImageFile(nullptr, MAKEINTRESOURCE(60003), ImageKind::Bitmap);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(bitmap->ends_with("bitmaps/sample_toolbar.bmp")) << *bitmap;
}

TEST(AcceleratorResource, KeysByNameCharacterAndNumber) {
  ScratchDir folder;
  folder.Write("keys.xml", Xml(R"(
<accelerators id="7">
  <accel key="a" modifiers="ctrl+shift" command="1"/>
  <accel key="7" modifiers="alt" command="2"/>
  <accel key="VK_DELETE" command="3" noinvert="1"/>
  <accel key="0x70" modifiers="shift" command="4"/>
  <accel key="a" ascii="1" command="5"/>
  <accel key="é" ascii="1" modifiers="alt" command="6"/>
</accelerators>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const AcceleratorTable* table = FindAccelerators(module.get(), MAKEINTRESOURCE(7));
  ASSERT_NE(table, nullptr) << ResourceErrors(module.get())[0];
  struct Case {
    BYTE flags;
    WORD key;
  };
  const Case kCases[] = {
      {kAccelVirtKey | kAccelControl | kAccelShift, 'A'},
      {kAccelVirtKey | kAccelAlt, '7'},
      {kAccelVirtKey | kAccelNoInvert, 0x2E},
      {kAccelVirtKey | kAccelShift, 0x70},
      {0, 'a'},
      {kAccelAlt, 0xE9},
  };
  ASSERT_EQ(table->entries.size(), std::size(kCases));
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(table->entries[i].flags, kCases[i].flags) << i;
    EXPECT_EQ(table->entries[i].key, kCases[i].key) << i;
    EXPECT_EQ(table->entries[i].command, i + 1) << i;
  }
}

TEST(ResourceRecords, MissingOnesFailWithTheResourceErrors) {
  ScratchDir folder;
  folder.Write("one.xml", Xml(R"(<menu id="3"><item id="1" text="x"/></menu>)"));
  ModuleHandle module(OpenResourceFolder(folder.Path()));
  const HMODULE m = module.get();
  struct Case {
    const char* what;
    std::function<bool()> find;
    DWORD error;
  };
  const Case kCases[] = {
      {"menu 4", [&] { return FindMenu(m, MAKEINTRESOURCE(4)) != nullptr; }, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"menu NAMED", [&] { return FindMenu(m, "NAMED") != nullptr; }, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"dialog 3", [&] { return FindDialog(m, MAKEINTRESOURCE(3)) != nullptr; },
       ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"toolbar 3", [&] { return FindToolbar(m, MAKEINTRESOURCE(3)) != nullptr; },
       ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"accelerators 3", [&] { return FindAccelerators(m, MAKEINTRESOURCE(3)) != nullptr; },
       ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"icon 3", [&] { return FindImageFile(m, MAKEINTRESOURCE(3), ImageKind::Icon) != nullptr; },
       ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"a module that is not one",
       [&] { return FindMenu(reinterpret_cast<HMODULE>(&folder), MAKEINTRESOURCE(3)) != nullptr; },
       ERROR_RESOURCE_DATA_NOT_FOUND},
  };
  for (const Case& c : kCases) {
    SetLastError(0);
    EXPECT_FALSE(c.find()) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  EXPECT_NE(FindMenu(m, MAKEINTRESOURCE(3)), nullptr);
}
