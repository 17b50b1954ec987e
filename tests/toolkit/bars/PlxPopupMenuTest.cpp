// The popup menu window and its bar on a test frame: filling, choosing, keys, sub-menu timing,
// animation steps, scrolling and the frame's pictures.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/comctl/Tooltip.h"
#include "platform/kernel/FileSystem.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Input.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/bars/PopupMenuFixture.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxTearOffIdPool.h"

using popuptest::PopupMenuFixture;

namespace {

HMENU MakeFileMenu() {
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenu(sub, MF_STRING, 300, "&First");
  ::AppendMenu(sub, MF_STRING, 301, "&Second");
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 100, "&Open\tCtrl+O");
  ::AppendMenu(menu, MF_STRING | MF_GRAYED, 101, "&Paste");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING, 102, "&Close");
  ::AppendMenu(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&Recent");
  ::SetMenuDefaultItem(menu, 100, FALSE);
  return menu;
}

}  // namespace

TEST_F(PopupMenuFixture, OpensBelowItsItemAndShowsEveryItem) {
  HMENU menu = MakeFileMenu();
  CPlxPopupMenu* popup = Open(AddItem(menu, "&File"));
  ::DestroyMenu(menu);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetMenuItemCount(), 5);
  CRect window;
  popup->GetWindowRect(window);
  CRect item(10, 0, 60, 22);
  bar.ClientToScreen(item);
  EXPECT_EQ(window.left, item.left);
  EXPECT_EQ(window.top, item.bottom - 1);
  pictavo::test::SaveDesktopArea(CRect(0, 0, 300, 250), "popup-smoke.png");
}

// ---- filling and the native menu both ways ----

TEST_F(PopupMenuFixture, ImportSkipsDoubledLeadingAndTrailingSeparatorsAndExportKeepsTheRest) {
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenu(sub, MF_STRING, 300, "&First");
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);  // at the start: dropped
  ::AppendMenu(menu, MF_STRING, 100, "&Open\tCtrl+O");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);  // second in a row: dropped
  ::AppendMenu(menu, MF_STRING | MF_GRAYED, 101, "&Paste");
  ::AppendMenu(menu, MF_STRING | MF_MENUBREAK, 102, "Second &column");
  ::AppendMenu(menu, MF_STRING | MF_CHECKED, 103, "&Word wrap");
  CString tearOff = "&Tools";
  CPlxTearOffIdPool::BuildTearOffText(1012, tearOff);
  ::AppendMenu(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), tearOff);
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);  // at the end: dropped
  ::SetMenuDefaultItem(menu, 102, FALSE);

  CPlxTearOffIdPool pool(1000, 1020);
  CPlxPopupMenuBar popupBar;
  ASSERT_TRUE(popupBar.Create(frame, WS_CHILD | CBRS_ALIGN_TOP, 1002));
  ASSERT_TRUE(popupBar.ImportFromMenu(menu, TRUE));
  struct Row {
    UINT id;
    const char* text;
    UINT style;  // of TBBS_SEPARATOR | TBBS_DISABLED | TBBS_CHECKED | PLX_TBBS_BREAK
  } const rows[] = {
      {100, "&Open\tCtrl+O", 0},         {0, "", TBBS_SEPARATOR},
      {101, "&Paste", TBBS_DISABLED},    {102, "Second &column", PLX_TBBS_BREAK},
      {103, "&Word wrap", TBBS_CHECKED}, {(UINT)-1, "&Tools", 0},
  };
  ASSERT_EQ(popupBar.GetCount(), static_cast<int>(std::size(rows)));
  for (int i = 0; i < popupBar.GetCount(); ++i) {
    SCOPED_TRACE(i);
    const CPlxToolbarButton* item = popupBar.GetButton(i);
    EXPECT_EQ(item->m_nID, rows[i].id);
    if (rows[i].id != 0) EXPECT_EQ(std::string(item->m_strText), rows[i].text);
    EXPECT_EQ(item->m_nStyle & (TBBS_SEPARATOR | TBBS_DISABLED | TBBS_CHECKED | PLX_TBBS_BREAK),
              rows[i].style);
  }
  auto* tools = static_cast<CPlxToolbarMenuButton*>(popupBar.GetButton(5));
  EXPECT_EQ(tools->GetTearOffID(), 1012u);
  EXPECT_EQ(pool.GetUseCount(1012), 1);
  EXPECT_EQ(popupBar.m_uiDefaultItem, 102u);

  // Back to a plain menu: the default, the break and the tear-off id in the sub-menu's text.
  HMENU out = popupBar.ExportToPlainMenu();
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(::GetMenuItemCount(out), 6);
  EXPECT_EQ(::GetMenuDefaultItem(out, FALSE, GMDI_USEDISABLED), 102u);
  EXPECT_TRUE(::GetMenuState(out, 3, MF_BYPOSITION) & MF_MENUBREAK);
  EXPECT_TRUE(::GetMenuState(out, 1, MF_BYPOSITION) & MF_SEPARATOR);
  CString text = popuptest::MenuText(out, 5).c_str();
  EXPECT_EQ(CPlxTearOffIdPool::ParseTearOffId(text), 1012u);
  EXPECT_EQ(std::string(text), "&Tools");
  ASSERT_NE(::GetSubMenu(out, 5), nullptr);
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(out, 5), 0), 300u);
  ::DestroyMenu(out);
  popupBar.RemoveAllButtons();
  EXPECT_EQ(pool.GetUseCount(1012), 0);  // the items gave their id back
  popupBar.DestroyWindow();
  ::DestroyMenu(menu);
  EXPECT_FALSE(popupBar.ImportFromMenu(nullptr, TRUE));
}

TEST_F(PopupMenuFixture, ThePopupsOwnExportMarksBreaksAndTearOffMenus) {
  HMENU menu = MakeFileMenu();
  CPlxPopupMenu* popup = Open(AddItem(menu, "&File"));
  ::DestroyMenu(menu);
  ASSERT_NE(popup, nullptr);
  popup->GetMenuItem(3)->m_nStyle |= PLX_TBBS_BREAK;
  popup->GetMenuItem(4)->SetTearOff(1005);
  ASSERT_TRUE(popup->ExportToMenu());
  // The accessibility state query answers the style, and -1 past the end.
  EXPECT_EQ(popup->SendMessage(PLX_WM_ACCGETSTATE, 1), static_cast<LRESULT>(TBBS_DISABLED));
  EXPECT_EQ(popup->SendMessage(PLX_WM_ACCGETSTATE, popup->GetMenuItemCount()), -1);
  popup->FreeExportedMenu();
  popup->GetMenuItem(4)->SetTearOff(0);
}

TEST_F(PopupMenuFixture, RecentFilesTakeThePlaceholdersPlaceOrGoWithTheirSeparator) {
  struct Case {
    const char* name;
    std::vector<const char*> files;
    std::vector<std::string> texts;  // the items after "&Open"
  } const cases[] = {
      {"two files", {"/tmp/b.r7m", "/tmp/a.r7m"}, {"", "&1 a.r7m", "&2 b.r7m", "", "E&xit"}},
      {"none", {}, {"", "E&xit"}},
  };
  CWinApp* app = AfxGetApp();
  std::unique_ptr<CWinApp> own;
  if (app == nullptr) {
    own = std::make_unique<CWinApp>("PopupTest");
    app = AfxGetApp();
  }
  ASSERT_NE(app, nullptr);
  char cwd[260] = {};
  ::GetCurrentDirectory(sizeof cwd, cwd);
  ::SetCurrentDirectory("/tmp");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CRecentFileList list(0, "Recent File List", "File%d", 4);
    for (const char* file : c.files) list.Add(file);
    app->m_pRecentFileList = &list;
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenu(menu, MF_STRING, 100, "&Open");
    ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenu(menu, MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenu(menu, MF_STRING, 0xE141, "E&xit");
    CPlxPopupMenu* popup = Open(AddItem(menu, "&File"));
    ::DestroyMenu(menu);
    ASSERT_NE(popup, nullptr);
    std::vector<std::string> texts;
    for (int i = 1; i < popup->GetMenuItemCount(); ++i) {
      CPlxToolbarButton* item = popup->GetMenuBar()->GetButton(i);
      texts.push_back(item->m_nID == 0 ? "" : std::string(item->m_strText));
    }
    EXPECT_EQ(texts, c.texts);
    if (!c.files.empty()) EXPECT_EQ(popup->GetMenuItem(3)->m_nID, ID_FILE_MRU_FILE1 + 1u);
    items.back()->OnCancelMode();
    app->m_pRecentFileList = nullptr;
  }
  ::SetCurrentDirectory(cwd);
}

// ---- choosing and closing ----

TEST_F(PopupMenuFixture, EnterRunsTheHotCommandAndClosesTheChainEscapeClosesOneLevel) {
  HMENU menu = MakeFileMenu();
  CPlxToolbarMenuButton* file = AddItem(menu, "&File");
  ::DestroyMenu(menu);
  CPlxPopupMenu* popup = Open(file);
  ASSERT_NE(popup, nullptr);
  // Right on "Recent" opens the sub-menu with its first item hot.
  popup->SendMessage(WM_KEYDOWN, VK_END);
  EXPECT_EQ(popup->GetMenuBar()->GetHotIndex(), 4);
  popup->SendMessage(WM_KEYDOWN, VK_RIGHT);
  CPlxPopupMenu* sub = popup->GetMenuItem(4)->GetPopupMenu();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetMenuBar()->GetHotIndex(), 0);
  EXPECT_EQ(sub->GetDropDirection(), CPlxPopupMenu::DROP_DIRECTION_RIGHT);
  // Escape closes only the sub-menu.
  sub->SendMessage(WM_KEYDOWN, VK_ESCAPE);
  pictavo::test::PumpPending();
  EXPECT_EQ(popup->GetMenuItem(4)->GetPopupMenu(), nullptr);
  ASSERT_EQ(file->GetPopupMenu(), popup);
  // Enter on "Close" runs it and the whole chain goes.
  popup->SendMessage(WM_KEYDOWN, VK_UP);
  popup->SendMessage(WM_KEYDOWN, VK_RETURN);
  pictavo::test::PumpUntil([&] { return !frame->commands.empty(); });
  EXPECT_EQ(frame->commands, std::vector<UINT>{102});
  EXPECT_EQ(file->GetPopupMenu(), nullptr);
  EXPECT_EQ(CPlxPopupMenu::GetActiveMenu(), nullptr);
}

TEST_F(PopupMenuFixture, AFrameThatRefusesThePopupKeepsItFromOpening) {
  frame->refuse = TRUE;
  HMENU menu = MakeFileMenu();
  CPlxToolbarMenuButton* file = AddItem(menu, "&File");
  ::DestroyMenu(menu);
  EXPECT_FALSE(file->OpenPopupMenu(&bar));
  pictavo::test::PumpPending();
  EXPECT_EQ(file->GetPopupMenu(), nullptr);
  EXPECT_EQ(frame->shown, 1);
}

// ---- keys ----

TEST_F(PopupMenuFixture, KeysMoveTheHotItemSkippingSeparatorsAndMnemonicsRunCommands) {
  struct Step {
    const char* name;
    UINT key;
    bool shift;
    bool ctrl;
    int hot;       // afterwards; -2: the chain closed
    UINT command;  // reaching the frame, 0 none
  } const steps[] = {
      {"Home lands on the first", VK_HOME, false, false, 0, 0},
      {"Tab moves down", VK_TAB, false, false, 1, 0},
      {"down over the separator", VK_DOWN, false, false, 3, 0},
      {"Shift+Tab moves up over it", VK_TAB, true, false, 1, 0},
      {"End lands on the last", VK_END, false, false, 4, 0},
      {"Down wraps to the first", VK_DOWN, false, false, 0, 0},
      {"Up wraps to the last", VK_UP, false, false, 4, 0},
      {"a mnemonic with Ctrl is not one", 'C', false, true, 4, 0},
      {"a mnemonic runs its command", 'C', false, false, -2, 102},
  };
  HMENU menu = MakeFileMenu();
  CPlxToolbarMenuButton* file = AddItem(menu, "&File");
  ::DestroyMenu(menu);
  CPlxPopupMenu* popup = Open(file);
  ASSERT_NE(popup, nullptr);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    BYTE keys[256] = {};
    if (s.shift) keys[VK_SHIFT] = 0x80;
    if (s.ctrl) keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    popup->SendMessage(WM_KEYDOWN, s.key);
    BYTE none[256] = {};
    ::SetKeyboardState(none);
    if (s.hot == -2) {
      pictavo::test::PumpUntil([&] { return !frame->commands.empty(); });
      EXPECT_EQ(file->GetPopupMenu(), nullptr);
      EXPECT_EQ(frame->commands, std::vector<UINT>{s.command});
      break;
    }
    ASSERT_EQ(file->GetPopupMenu(), popup);
    EXPECT_EQ(popup->GetMenuBar()->GetHotIndex(), s.hot);
    pictavo::test::PumpPending();
    EXPECT_TRUE(frame->commands.empty());
  }
}

TEST_F(PopupMenuFixture, AHiddenCommandsMnemonicStillRunsItAndTheShowAllItemExpands) {
  // Use counts: Open and Close are frequent, Paste and Properties rare.
  CPlxToolBar::AddBasicCommand(100);
  struct Use {
    UINT id;
    int count;
  } const uses[] = {{100, 30}, {102, 20}, {101, 1}};
  for (const Use& u : uses)
    for (int i = 0; i < u.count; ++i) CPlxToolBar::m_commandUsage.AddCmd(u.id);
  CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 100, "&Open");
  ::AppendMenu(menu, MF_STRING, 101, "&Paste");
  ::AppendMenu(menu, MF_STRING, 102, "&Close");
  ::AppendMenu(menu, MF_STRING, 104, "P&roperties");
  CPlxToolbarMenuButton* file = AddItem(menu, "&File");
  ::DestroyMenu(menu);
  CPlxPopupMenu* popup = Open(file);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->GetMenuItemCount(), 3);  // Open, Close, the show-all item
  EXPECT_TRUE(popup->GetMenuItem(2)->IsKindOf(RUNTIME_CLASS(CPlxShowAllButton)));
  EXPECT_FALSE(popup->GetMenuBar()->AreAllCommandsShown());
  // Its tooltip names the key that expands the menu.
  TOOLINFOA tip{};
  ASSERT_TRUE(popup->GetMenuItem(2)->OnToolHitTest(popup->GetMenuBar(), &tip));
  EXPECT_STREQ(tip.lpszText, "Expand (Ctrl+Down)");
  free(tip.lpszText);
  const int shortHeight = popup->GetFinalSize().cy;
  // Ctrl+Down expands to every command, the rare ones included.
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  popup->SendMessage(WM_KEYDOWN, VK_DOWN);
  BYTE none[256] = {};
  ::SetKeyboardState(none);
  EXPECT_EQ(popup->GetMenuItemCount(), 4);
  EXPECT_GT(popup->GetFinalSize().cy, shortHeight);
  popup->CloseMenu();
  pictavo::test::PumpPending();

  // The menu bar forgets the expanded state when its menus close; a new menu is short again and
  // its hidden "Properties" runs by its mnemonic.
  EXPECT_TRUE(CPlxMenuBar::m_bShowAllCommands);
  CPlxMenuBar::m_bShowAllCommands = FALSE;
  popup = Open(file);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->GetMenuItemCount(), 3);
  popup->SendMessage(WM_KEYDOWN, 'R');
  pictavo::test::PumpUntil([&] { return !frame->commands.empty(); });
  EXPECT_EQ(frame->commands, std::vector<UINT>{104});
  CPlxToolBar::m_commandUsage.Reset();
  CPlxToolBar::m_lstBasicCommands.RemoveAll();
}

// ---- sub-menu timing ----

TEST_F(PopupMenuFixture, SubMenusOpenAndCloseOnTheirTimersAndMovingBackKeepsThemOpen) {
  HMENU menu = MakeFileMenu();
  CPlxToolbarMenuButton* file = AddItem(menu, "&File");
  ::DestroyMenu(menu);
  CPlxPopupMenu* popup = Open(file);
  ASSERT_NE(popup, nullptr);
  CPlxPopupMenuBar* menuBar = popup->GetMenuBar();
  CPlxToolbarMenuButton* recent = popup->GetMenuItem(4);
  auto hover = [&](int index) {
    CRect rect = menuBar->GetButton(index)->m_rect;
    CPoint point = rect.CenterPoint();
    menuBar->ClientToScreen(&point);
    ::SetCursorPos(point.x, point.y);
    menuBar->m_bIgnoreFirstMouseMove = FALSE;
    CPoint client = rect.CenterPoint();
    menuBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  };
  struct Step {
    const char* name;
    int hoverIndex;  // -1: none
    UINT_PTR timer;  // fired after the move, 0 none
    bool subOpen;
  } const steps[] = {
      {"resting on Recent asks for the open timer only", 4, 0, false},
      {"the open timer opens it", -1, CPlxPopupMenuBar::kOpenTimer, true},
      {"moving to Close schedules the close", 3, 0, true},
      {"moving back in time cancels it", 4, CPlxPopupMenuBar::kCloseTimer, true},
      {"moving away again", 0, 0, true},
      {"the close timer closes it", -1, CPlxPopupMenuBar::kCloseTimer, false},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    if (s.hoverIndex >= 0) hover(s.hoverIndex);
    if (s.timer != 0) menuBar->SendMessage(WM_TIMER, s.timer);
    pictavo::test::PumpPending();
    EXPECT_EQ(recent->GetPopupMenu() != nullptr, s.subOpen);
  }
  EXPECT_EQ(menuBar->GetDelayedCloseItem(), nullptr);
}

// ---- animation ----

TEST_F(PopupMenuFixture, AnimationStepsRevealRowsByTheStepsThatPassed) {
  struct Case {
    const char* name;
    int type;
    int steps;
    int rows;  // revealed rows after one step (slide, unfold)
    int fade;  // fade percent after one step
  } const cases[] = {
      {"slide, one step", CPlxPopupMenu::Slide, 1, 2, 0},
      {"slide, a late step", CPlxPopupMenu::Slide, 2, 3, 0},
      {"unfold, one step", CPlxPopupMenu::Unfold, 1, 2, 0},
      {"fade, one step", CPlxPopupMenu::Fade, 1, 0, 10},
      {"fade, a late step", CPlxPopupMenu::Fade, 2, 0, 10},
  };
  HMENU menu = MakeFileMenu();
  CPlxToolbarMenuButton* file = AddItem(menu, "&File");
  ::DestroyMenu(menu);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CPlxPopupMenu::m_AnimationType = c.type;
    ASSERT_TRUE(file->OpenPopupMenu(&bar));
    CPlxPopupMenu* popup = file->GetPopupMenu();
    ASSERT_NE(popup, nullptr);
    popup->KillTimer(CPlxPopupMenu::kAnimationTimer);  // the steps are taken by hand
    ASSERT_FALSE(popup->IsIdle());
    EXPECT_FALSE(popup->GetMenuBar()->IsWindowVisible());  // shown when the animation ends
    const int row = popup->GetMenuBar()->GetRowHeight();
    popup->AnimationStep(c.steps);
    if (c.type == CPlxPopupMenu::Fade) {
      EXPECT_EQ(popup->GetFadePercent(), c.fade);
    } else {
      EXPECT_EQ(popup->GetAnimatedSize().cy, c.rows * row);
    }
    // Steps until done: the bar appears and the popup is idle.
    for (int i = 0; i < 40 && !popup->IsIdle(); ++i) popup->AnimationStep(1);
    EXPECT_TRUE(popup->IsIdle());
    EXPECT_TRUE(popup->GetMenuBar()->IsWindowVisible());
    EXPECT_EQ(popup->GetAnimatedSize(),
              popup->GetFinalSize() + CSize(popup->GetShadowSize(), popup->GetShadowSize()));
    file->OnCancelMode();
    pictavo::test::PumpPending();
  }
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
}

// ---- context menus ----

TEST_F(PopupMenuFixture, AContextMenuOpensBesideItsWindowListsEverythingAndInTrackModeOnlyRecordsTheChoice) {
  CPlxToolBar::AddBasicCommand(100);
  for (int i = 0; i < 20; ++i) CPlxToolBar::m_commandUsage.AddCmd(100);
  CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;  // a context menu shows every item all the same
  CPlxContextMenuManager manager;
  struct Case {
    const char* name;
    BOOL track;
    UINT recorded;
    std::vector<UINT> posted;
  } const cases[] = {
      {"posted", FALSE, 0, {102}},
      {"tracked", TRUE, 102, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    frame->commands.clear();
    manager.m_nLastCommand = 0;
    auto* popup = new CPlxPopupMenu;
    popup->m_bTrackMode = c.track;
    ASSERT_TRUE(popup->Create(frame, -1, -1, MakeFileMenu()));
    CRect window;
    popup->GetWindowRect(window);
    CPoint origin(0, 0);
    frame->ClientToScreen(&origin);
    EXPECT_EQ(window.TopLeft(), origin + CPoint(5, 5));
    EXPECT_EQ(popup->GetMenuItemCount(), 5);  // rare commands too, and no show-all item
    EXPECT_EQ(CPlxPopupMenu::GetActiveMenu(), popup);
    popup->SendMessage(WM_KEYDOWN, 'C');  // Close
    pictavo::test::PumpPending();
    EXPECT_EQ(manager.m_nLastCommand, c.recorded);
    EXPECT_EQ(frame->commands, c.posted);
    EXPECT_EQ(CPlxPopupMenu::GetActiveMenu(), nullptr);
  }
  CPlxToolBar::m_commandUsage.Reset();
  CPlxToolBar::m_lstBasicCommands.RemoveAll();
}
