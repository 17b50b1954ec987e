// The HMENU model: building menus, finding items by position and by command, their state.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Menu.h"

namespace {

// Destroys the menu when the test ends, whatever it checks.
class Owned {
 public:
  explicit Owned(HMENU menu) : m_menu(menu) {}
  ~Owned() {
    if (IsMenu(m_menu)) DestroyMenu(m_menu);
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  operator HMENU() const { return m_menu; }

 private:
  HMENU m_menu;
};

std::vector<UINT> Ids(HMENU menu) {
  std::vector<UINT> ids;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) ids.push_back(GetMenuItemID(menu, i));
  return ids;
}

std::string Text(HMENU menu, UINT item, UINT flags) {
  char buffer[128];
  const int n = GetMenuString(menu, item, buffer, sizeof buffer, flags);
  return std::string(buffer, static_cast<size_t>(n));
}

UINT_PTR AsId(HMENU menu) {
  return reinterpret_cast<UINT_PTR>(menu);
}

TEST(MenuModel, ItemsGoInByPositionOrBeforeACommand) {
  Owned top(CreatePopupMenu());
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 10, "Ten");
  AppendMenu(sub, MF_STRING, 11, "Eleven");
  AppendMenu(top, MF_STRING, 1, "A");
  AppendMenu(top, MF_STRING, 2, "B");
  AppendMenu(top, MF_POPUP, AsId(sub), "Sub");

  EXPECT_TRUE(InsertMenu(top, 1, MF_BYPOSITION | MF_STRING, 3, "X"));
  EXPECT_TRUE(InsertMenu(top, 2, MF_BYCOMMAND | MF_STRING, 4, "Y"));    // before B
  EXPECT_TRUE(InsertMenu(top, 11, MF_BYCOMMAND | MF_STRING, 12, "Z"));  // inside the popup
  EXPECT_TRUE(InsertMenu(top, static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 5, "End"));
  EXPECT_TRUE(InsertMenu(top, 99, MF_BYPOSITION | MF_STRING, 6, "Past the end"));
  EXPECT_FALSE(InsertMenu(top, 77, MF_BYCOMMAND | MF_STRING, 7, "Nowhere"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND));

  EXPECT_EQ(Ids(top), (std::vector<UINT>{1, 3, 4, 2, static_cast<UINT>(-1), 5, 6}));
  EXPECT_EQ(Ids(sub), (std::vector<UINT>{10, 12, 11}));
  EXPECT_EQ(GetSubMenu(top, 4), sub);
  EXPECT_EQ(Text(top, 12, MF_BYCOMMAND), "Z");
  EXPECT_EQ(Text(top, 4, MF_BYPOSITION), "Sub");
}

TEST(MenuModel, StateReportsFlagsAndPopupSizes) {
  Owned menu(CreatePopupMenu());
  HMENU sub = CreatePopupMenu();
  for (UINT id : {20u, 21u, 22u}) AppendMenu(sub, MF_STRING, id, "s");
  int data = 0;
  AppendMenu(menu, MF_STRING | MF_GRAYED | MF_CHECKED, 1, "Grey and checked");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_POPUP, AsId(sub), "Popup");
  AppendMenu(menu, MF_OWNERDRAW, 2, reinterpret_cast<LPCSTR>(&data));
  AppendMenu(menu, MF_STRING | MF_DISABLED | MF_MENUBREAK, 3, "Disabled");

  struct Case {
    UINT item, flags, state;
  };
  const Case cases[] = {
      {1, MF_BYCOMMAND, MF_GRAYED | MF_CHECKED},
      {1, MF_BYPOSITION, MF_SEPARATOR},
      {2, MF_BYPOSITION, (3u << 8) | MF_POPUP},
      {2, MF_BYCOMMAND, MF_OWNERDRAW},
      {3, MF_BYCOMMAND, MF_DISABLED | MF_MENUBREAK},
      {21, MF_BYCOMMAND, MF_STRING},
      {9, MF_BYPOSITION, 0xFFFFFFFF},
      {99, MF_BYCOMMAND, 0xFFFFFFFF},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GetMenuState(menu, c.item, c.flags), c.state) << c.item << "/" << c.flags;

  EXPECT_EQ(GetMenuItemID(menu, 1), 0u);
  EXPECT_EQ(GetMenuItemID(menu, 2), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuItemID(menu, 9), static_cast<UINT>(-1));
  // Owner-drawn items carry data, not text.
  EXPECT_EQ(GetMenuString(menu, 2, nullptr, 0, MF_BYCOMMAND), 0);
  EXPECT_EQ(GetMenuString(menu, 1, nullptr, 0, MF_BYCOMMAND), 16);
  char small[5];
  EXPECT_EQ(GetMenuString(menu, 1, small, sizeof small, MF_BYCOMMAND), 4);
  EXPECT_STREQ(small, "Grey");
}

TEST(MenuModel, ItemInfoRoundTrips) {
  Owned menu(CreatePopupMenu());
  HMENU sub = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 1, "Old");
  const HBITMAP checked = reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(0x1234));

  MENUITEMINFO set{};
  set.cbSize = sizeof set;
  set.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE;
  set.fType = MFT_STRING | MFT_RADIOCHECK;
  set.fState = MFS_CHECKED | MFS_DEFAULT;
  set.wID = 42;
  set.hSubMenu = sub;
  set.hbmpChecked = checked;
  set.dwItemData = 0xABCDEF;
  set.dwTypeData = const_cast<LPSTR>("&New text");
  ASSERT_TRUE(SetMenuItemInfo(menu, 0, TRUE, &set));

  char buffer[64] = {};
  MENUITEMINFO get{};
  get.cbSize = sizeof get;
  get.fMask = set.fMask;
  get.dwTypeData = buffer;
  get.cch = sizeof buffer;
  ASSERT_TRUE(GetMenuItemInfo(menu, 42, FALSE, &get));
  EXPECT_EQ(get.fType, static_cast<UINT>(MFT_STRING | MFT_RADIOCHECK));
  EXPECT_EQ(get.fState, static_cast<UINT>(MFS_CHECKED | MFS_DEFAULT));
  EXPECT_EQ(get.wID, 42u);
  EXPECT_EQ(get.hSubMenu, sub);
  EXPECT_EQ(get.hbmpChecked, checked);
  EXPECT_EQ(get.hbmpUnchecked, nullptr);
  EXPECT_EQ(get.dwItemData, 0xABCDEFu);
  EXPECT_STREQ(buffer, "&New text");
  EXPECT_EQ(get.cch, 9u);

  // The length alone, and a text cut to the buffer.
  get.fMask = MIIM_STRING;
  get.dwTypeData = nullptr;
  ASSERT_TRUE(GetMenuItemInfo(menu, 0, TRUE, &get));
  EXPECT_EQ(get.cch, 9u);
  get.dwTypeData = buffer;
  get.cch = 4;
  ASSERT_TRUE(GetMenuItemInfo(menu, 0, TRUE, &get));
  EXPECT_STREQ(buffer, "&Ne");

  // An owner-drawn item given with the legacy type mask hands its value back the same way.
  MENUITEMINFO owner{};
  owner.cbSize = sizeof owner;
  owner.fMask = MIIM_TYPE | MIIM_ID;
  owner.fType = MFT_OWNERDRAW;
  owner.wID = 7;
  owner.dwTypeData = reinterpret_cast<LPSTR>(static_cast<uintptr_t>(0x5150));
  ASSERT_TRUE(InsertMenuItem(menu, 0, TRUE, &owner));
  MENUITEMINFO back{};
  back.cbSize = sizeof back;
  back.fMask = MIIM_TYPE | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfo(menu, 0, TRUE, &back));
  EXPECT_EQ(back.fType, static_cast<UINT>(MFT_OWNERDRAW));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(back.dwTypeData), 0x5150u);
  EXPECT_EQ(back.dwItemData, 0x5150u);

  MENUITEMINFO bad{};
  bad.cbSize = 8;
  EXPECT_FALSE(GetMenuItemInfo(menu, 0, TRUE, &bad));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(MenuModel, OneDefaultItemPerMenu) {
  Owned menu(CreatePopupMenu());
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 30, "Inner");
  AppendMenu(sub, MF_STRING, 31, "Inner default");
  SetMenuDefaultItem(sub, 31, FALSE);
  AppendMenu(menu, MF_STRING, 1, "One");
  AppendMenu(menu, MF_STRING, 2, "Two");
  AppendMenu(menu, MF_POPUP, AsId(sub), "Sub");

  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(-1));
  ASSERT_TRUE(SetMenuDefaultItem(menu, 1, FALSE));
  ASSERT_TRUE(SetMenuDefaultItem(menu, 1, TRUE));  // moves to position 1
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 2u);
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 1u);
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYCOMMAND) & MF_DEFAULT, 0u);

  EnableMenuItem(menu, 2, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED), 2u);

  SetMenuDefaultItem(menu, 2, TRUE);
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, GMDI_GOINTOPOPUPS), 31u);
  EXPECT_FALSE(SetMenuDefaultItem(menu, 30, FALSE));  // not an item of this menu's own
  ASSERT_TRUE(SetMenuDefaultItem(menu, static_cast<UINT>(-1), FALSE));
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, GMDI_USEDISABLED), static_cast<UINT>(-1));
}

TEST(MenuModel, CheckAndEnableReportThePreviousState) {
  Owned menu(CreatePopupMenu());
  for (UINT id = 1; id <= 4; ++id) AppendMenu(menu, MF_STRING, id, "item");

  EXPECT_EQ(CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(menu, 0, MF_BYPOSITION | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(menu, 9, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));

  EXPECT_EQ(EnableMenuItem(menu, 2, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(menu, 2, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED | MF_DISABLED);
  EXPECT_EQ(EnableMenuItem(menu, 9, MF_BYCOMMAND | MF_GRAYED), -1);

  CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_CHECKED);
  ASSERT_TRUE(CheckMenuRadioItem(menu, 1, 3, 2, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(menu, 2, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED | MFT_RADIOCHECK));
  CheckMenuItem(menu, 4, MF_BYCOMMAND | MF_CHECKED);
  ASSERT_TRUE(CheckMenuRadioItem(menu, 0, 2, 0, MF_BYPOSITION));
  EXPECT_NE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_NE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_CHECKED, 0u);  // outside the range
}

TEST(MenuModel, PopupsLiveAsLongAsTheirItem) {
  struct Case {
    const char* what;
    bool (*act)(HMENU menu, HMENU popup);
    bool popupSurvives;
  };
  const Case cases[] = {
      {"RemoveMenu", [](HMENU m, HMENU) { return RemoveMenu(m, 0, MF_BYPOSITION) != FALSE; }, true},
      {"DeleteMenu", [](HMENU m, HMENU) { return DeleteMenu(m, 0, MF_BYPOSITION) != FALSE; }, false},
      {"ModifyMenu to a command",
       [](HMENU m, HMENU) { return ModifyMenu(m, 0, MF_BYPOSITION | MF_STRING, 5, "Plain") != FALSE; },
       false},
      {"ModifyMenu to the same popup",
       [](HMENU m, HMENU p) { return ModifyMenu(m, 0, MF_BYPOSITION | MF_POPUP, AsId(p), "Again") != FALSE; },
       true},
      {"DestroyMenu of the parent", [](HMENU m, HMENU) { return DestroyMenu(m) != FALSE; }, false},
  };
  for (const Case& c : cases) {
    Owned menu(CreateMenu());
    HMENU popup = CreatePopupMenu();
    HMENU inner = CreatePopupMenu();
    AppendMenu(popup, MF_POPUP, AsId(inner), "Inner");
    AppendMenu(menu, MF_POPUP, AsId(popup), "Popup");
    ASSERT_TRUE(c.act(menu, popup)) << c.what;
    EXPECT_EQ(IsMenu(popup) != FALSE, c.popupSurvives) << c.what;
    EXPECT_EQ(IsMenu(inner) != FALSE, c.popupSurvives) << c.what;
    if (c.popupSurvives && GetMenuItemCount(menu) == 0) DestroyMenu(popup);
  }
}

TEST(MenuModel, BadHandlesAndLoopsAreRefused) {
  Owned menu(CreateMenu());
  HMENU popup = CreatePopupMenu();
  AppendMenu(menu, MF_POPUP, AsId(popup), "Popup");

  // Command ids are never menus, so an owner can tell a popup item from a command by its id.
  for (uintptr_t value :
       {uintptr_t{0}, uintptr_t{1}, uintptr_t{32861}, uintptr_t{0xFFFF}, uintptr_t{0x7777777}})
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(value))) << value;
  MENUITEMINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfo(menu, 0, TRUE, &info));
  EXPECT_EQ(reinterpret_cast<HMENU>(static_cast<uintptr_t>(info.wID)), popup);

  EXPECT_FALSE(AppendMenu(popup, MF_POPUP, AsId(menu), "Loop"));
  EXPECT_FALSE(AppendMenu(popup, MF_POPUP, AsId(popup), "Itself"));
  EXPECT_EQ(GetMenuItemCount(popup), 0);

  HMENU gone = CreatePopupMenu();
  DestroyMenu(gone);
  SetLastError(0);
  EXPECT_EQ(GetMenuItemCount(gone), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_FALSE(AppendMenu(gone, MF_STRING, 1, "x"));
  EXPECT_FALSE(DestroyMenu(gone));
  EXPECT_FALSE(AppendMenu(menu, MF_POPUP, AsId(gone), "Gone"));
  EXPECT_EQ(GetMenuState(gone, 0, MF_BYPOSITION), 0xFFFFFFFFu);
}

// The sample menu of the resource files: File (New, Open, -, Recent Files >, -, Exit), View
// (Thumbnails checked, Details, -, Refresh), Help (About).
void ExpectSampleMenu(HMENU menu) {
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(Text(menu, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(Text(menu, 2, MF_BYPOSITION), "&Help");
  HMENU file = GetSubMenu(menu, 0);
  EXPECT_EQ(Ids(file), (std::vector<UINT>{60101, 60102, 0, static_cast<UINT>(-1), 0, 60104}));
  EXPECT_EQ(Text(file, 60101, MF_BYCOMMAND), "&New\tCtrl+N");
  EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(menu, 60103, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(menu, 60105, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuString(menu, 60108, nullptr, 0, MF_BYCOMMAND), 16);  // "&About Sample..."
}

TEST(MenuModel, LoadsMenuResourcesAndTemplates) {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  Owned loaded(LoadMenu(nullptr, MAKEINTRESOURCE(60001)));
  ASSERT_TRUE(IsMenu(loaded));
  ExpectSampleMenu(loaded);

  HRSRC found = FindResource(nullptr, MAKEINTRESOURCE(60001), RT_MENU);
  ASSERT_NE(found, nullptr);
  Owned fromBytes(LoadMenuIndirect(LockResource(LoadResource(nullptr, found))));
  ASSERT_TRUE(IsMenu(fromBytes));
  ExpectSampleMenu(fromBytes);

  EXPECT_EQ(LoadMenu(nullptr, MAKEINTRESOURCE(60999)), nullptr);
  EXPECT_NE(GetLastError(), 0u);
  const WORD extended[] = {1, 4, 0, 0};
  EXPECT_EQ(LoadMenuIndirect(extended), nullptr);
}

}  // namespace
