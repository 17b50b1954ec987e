// The tear-off id pool: ids written into and read out of menu texts, handed out, counted and
// given back, and assigned to the marked sub-menus of a menu tree.
#include <gtest/gtest.h>

#include <string>

#include "platform/user/Menu.h"
#include "toolkit/bars/PlxTearOffIdPool.h"
#include "toolkit/bars/PlxToolbarButton.h"

TEST(PlxTearOffIdPool, TextsCarryTheirIdInFrontOfTheVisibleText) {
  struct Case {
    const char* text;
    UINT id;
    const char* visible;
  } const cases[] = {
      {"\x01"
       "1012\x01&Tools",
       1012, "&Tools"},
      {"&Tools", 0, "&Tools"},  // no mark: unchanged
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.visible);
    CString text = c.text;
    EXPECT_EQ(CPlxTearOffIdPool::ParseTearOffId(text), c.id);
    EXPECT_EQ(std::string(text), c.visible);
  }
  CString built = "&View";
  CPlxTearOffIdPool::BuildTearOffText(1005, built);
  EXPECT_EQ(CPlxTearOffIdPool::ParseTearOffId(built), 1005u);
  EXPECT_EQ(std::string(built), "&View");
}

TEST(PlxTearOffIdPool, HandsOutFreeIdsCountsUsersAndNeverGoesBelowFree) {
  CPlxTearOffIdPool pool(1000, 1001);
  EXPECT_EQ(g_pTearOffIdPool, &pool);
  EXPECT_EQ(pool.Allocate(), 1000u);
  EXPECT_EQ(pool.Allocate(), 1001u);
  EXPECT_EQ(pool.Allocate(), 0u);  // all in use
  pool.SetUsed(1000, FALSE);
  pool.SetUsed(1000, FALSE);  // already free: stays free
  EXPECT_EQ(pool.GetUseCount(1000), 0);
  pool.SetUsed(5, TRUE);  // outside the range: ignored
  EXPECT_EQ(pool.Allocate(), 1000u);
  pool.Reset(nullptr);
  EXPECT_EQ(pool.GetUseCount(1001), 0);

  CPlxTearOffIdPool unusable(0, 10);
  EXPECT_EQ(unusable.Allocate(), 0u);
}

TEST(PlxTearOffIdPool, BuildMarksSubMenusUntilTheIdsRunOutAndLeavesEncodedOnesAlone) {
  HMENU inner = ::CreatePopupMenu();
  ::AppendMenu(inner, MF_STRING, 300, "&Deep");
  HMENU a = ::CreatePopupMenu();
  ::AppendMenu(a, MF_STRING | MF_POPUP | MF_MENUBARBREAK, reinterpret_cast<UINT_PTR>(inner), "&Inner");
  HMENU b = ::CreatePopupMenu();
  ::AppendMenu(b, MF_STRING, 301, "&Item");
  HMENU c = ::CreatePopupMenu();
  ::AppendMenu(c, MF_STRING, 302, "&Other");
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING | MF_POPUP | MF_MENUBARBREAK, reinterpret_cast<UINT_PTR>(a), "&First");
  ::AppendMenu(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(b), "&Plain");
  ::AppendMenu(menu, MF_STRING | MF_POPUP | MF_MENUBARBREAK, reinterpret_cast<UINT_PTR>(c), "&Last");

  CPlxTearOffIdPool pool(1000, 1001);
  pool.Build(menu);
  auto idOf = [](HMENU m, int i) {
    char buffer[128] = {};
    ::GetMenuString(m, i, buffer, sizeof buffer, MF_BYPOSITION);
    CString text = buffer;
    return CPlxTearOffIdPool::ParseTearOffId(text);
  };
  EXPECT_EQ(idOf(menu, 0), 1000u);  // the walk marks First, then goes into it
  EXPECT_EQ(idOf(a, 0), 1001u);
  EXPECT_EQ(idOf(menu, 1), 0u);               // not marked
  EXPECT_EQ(idOf(menu, 2), 0u);               // no id left
  ASSERT_NE(::GetSubMenu(menu, 0), nullptr);  // still a sub-menu after the new text
  // A second build finds the texts encoded and takes nothing more.
  pool.Reset(nullptr);
  pool.SetUsed(1000, TRUE);
  pool.SetUsed(1001, TRUE);
  pool.Build(menu);
  EXPECT_EQ(pool.GetUseCount(1000), 1);
  // Reset of the tree frees exactly its ids.
  pool.Reset(menu);
  EXPECT_EQ(pool.GetUseCount(1000), 0);
  EXPECT_EQ(pool.GetUseCount(1001), 0);
  ::DestroyMenu(menu);
}

TEST(PlxTearOffIdPool, MenuItemsTakeTheirIdAndGiveItBack) {
  CPlxTearOffIdPool pool(1000, 1002);
  {
    CPlxToolbarMenuButton edit(0, nullptr, -1, "&Edit");
    edit.SetTearOff(1001);
    EXPECT_EQ(pool.GetUseCount(1001), 1);
    CPlxToolbarMenuButton copy;
    copy.CopyFrom(edit);  // a copy on another bar holds the id too
    EXPECT_EQ(pool.GetUseCount(1001), 2);
    edit.SetTearOff(1002);  // a new id frees the old one
    EXPECT_EQ(pool.GetUseCount(1001), 1);
    EXPECT_EQ(pool.GetUseCount(1002), 1);
  }
  EXPECT_EQ(pool.GetUseCount(1001), 0);  // destroyed items return their ids
  EXPECT_EQ(pool.GetUseCount(1002), 0);
  EXPECT_EQ(pool.Allocate(), 1000u);
  EXPECT_EQ(pool.Allocate(), 1001u);
}

TEST(PlxTearOffIdPool, AMarkedSubMenuKeepsItsGreyedStateWithItsId) {
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenu(sub, MF_STRING, 300, "&Deep");
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING | MF_POPUP | MF_MENUBARBREAK | MF_GRAYED, reinterpret_cast<UINT_PTR>(sub),
               "&Tools");
  CPlxTearOffIdPool pool(1000, 1001);
  pool.Build(menu);
  const UINT state = ::GetMenuState(menu, 0, MF_BYPOSITION);
  EXPECT_TRUE(state & MF_GRAYED);
  EXPECT_TRUE(state & MF_MENUBARBREAK);
  EXPECT_EQ(::GetSubMenu(menu, 0), sub);
  EXPECT_EQ(pool.GetUseCount(1000), 1);
  ::DestroyMenu(menu);
}
