// The maximized child's buttons: copies keep their command and handles, the icon's popup shows
// the child's system menu as it is now, and a double click on the icon closes the active child
// unless its close command is disabled.
#include "toolkit/bars/PlxMenuWindowButtons.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/display/Display.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Menu.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxToolBar.h"

namespace {

HMENU MakeSystemMenu() {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
  ::AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tCtrl+F4");
  return menu;
}

}  // namespace

TEST(PlxMenuWindowButtons, CopiesKeepTheirCommandAndHandles) {
  CPlxToolbarMenuButtonsButton close(SC_CLOSE);
  CPlxToolbarMenuButtonsButton copy;
  copy.CopyFrom(close);
  EXPECT_EQ(copy.m_uiSystemCommand, static_cast<UINT>(SC_CLOSE));
  EXPECT_FALSE(copy.CanBeStored());
  EXPECT_FALSE(copy.HaveHotBorder());

  HMENU menu = MakeSystemMenu();
  CPlxToolbarSystemMenuButton icon(menu, reinterpret_cast<HICON>(0x1234));
  EXPECT_EQ(icon.GetSubItems().GetCount(), 4) << "the items come from the system menu";
  CPlxToolbarSystemMenuButton iconCopy;
  iconCopy.CopyFrom(icon);
  EXPECT_EQ(iconCopy.m_hSystemMenu, menu);
  EXPECT_EQ(iconCopy.m_hSysMenuIcon, reinterpret_cast<HICON>(0x1234));
  EXPECT_FALSE(iconCopy.ReservedMenuHook1()) << "its popup does not join the bar";
  // A later menu only replaces the handle; the items stay.
  HMENU other = ::CreatePopupMenu();
  icon.CreateFromMenu(other);
  EXPECT_EQ(icon.m_hSystemMenu, other);
  EXPECT_EQ(icon.GetSubItems().GetCount(), 4);
  ::DestroyMenu(other);
  ::DestroyMenu(menu);
}

// The exported menu follows the child's menu as it is when the popup opens, both ways: what was
// disabled when the child was maximized and is allowed now is enabled again.
TEST(PlxMenuWindowButtons, TheIconsPopupShowsTheLiveStates) {
  struct Case {
    const char* name;
    UINT atStart;  // state of "Restore" when the button is made
    UINT now;      // its state when the popup opens
    UINT expect;   // MF_DISABLED | MF_GRAYED | MF_CHECKED bits of the export
  } const cases[] = {
      {"enabled throughout", MF_ENABLED, MF_ENABLED, 0},
      {"greyed since", MF_ENABLED, MF_GRAYED, MF_GRAYED},
      {"disabled since", MF_ENABLED, MF_DISABLED, MF_DISABLED},
      {"enabled since", MF_GRAYED, MF_ENABLED, 0},
      {"checked since", MF_ENABLED, MF_CHECKED, MF_CHECKED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HMENU menu = MakeSystemMenu();
    ::EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (c.atStart & (MF_GRAYED | MF_DISABLED)));
    CPlxToolbarSystemMenuButton icon(menu, nullptr);
    ::EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (c.now & (MF_GRAYED | MF_DISABLED)));
    ::CheckMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (c.now & MF_CHECKED));
    HMENU exported = icon.ExportToMenu();
    ASSERT_NE(exported, nullptr);
    const UINT state = ::GetMenuState(exported, SC_RESTORE, MF_BYCOMMAND);
    EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED), c.expect);
    EXPECT_EQ(::GetMenuItemCount(exported), 4);
    ::DestroyMenu(exported);
    ::DestroyMenu(menu);
    // A menu gone since (the child closed) leaves the items as they were taken.
    HMENU gone = icon.ExportToMenu();
    EXPECT_NE(gone, nullptr);
    ::DestroyMenu(gone);
  }
}

// A double click on the icon sends the active child SC_CLOSE; with the child's close command
// disabled, or without an MDI frame, nothing happens.
TEST(PlxMenuWindowButtons, ADoubleClickClosesTheActiveChildUnlessCloseIsDisabled) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  for (const BOOL closeDisabled : {FALSE, TRUE}) {
    SCOPED_TRACE(closeDisabled ? "close disabled" : "close allowed");
    auto* frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
    ASSERT_NE(frame->m_hWndMDIClient, nullptr);
    CPlxToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
    auto* child = new CMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, "Doc1", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CFrameWnd::rectDefault, frame));
    const HWND childWnd = child->GetSafeHwnd();
    pictavo::test::PumpPending();
    ASSERT_EQ(frame->MDIGetActive(), child);
    HMENU sysMenu = ::GetSystemMenu(childWnd, FALSE);
    ASSERT_NE(sysMenu, nullptr);
    if (closeDisabled) ::EnableMenuItem(sysMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

    CPlxToolbarSystemMenuButton icon(sysMenu, nullptr);
    icon.OnChangeParentWnd(&bar);
    icon.OnDblClick(&bar);
    pictavo::test::PumpPending();
    EXPECT_EQ(::IsWindow(childWnd) != FALSE, closeDisabled != FALSE);

    // Not on an MDI frame: nothing.
    CPlxToolbarSystemMenuButton loose(nullptr, nullptr);
    loose.OnDblClick(nullptr);
    bar.DestroyWindow();
    frame->DestroyWindow();
    pictavo::test::PumpPending();
  }
}
