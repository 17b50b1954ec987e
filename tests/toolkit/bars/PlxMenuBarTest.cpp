// The menu bar: buttons from a menu, one set per menu through the store, the maximized child's
// buttons, what a failing store does, which menu the bar frees, layout, keys, drops, the drag hook
// and the popup sides of a floating bar.
#include "toolkit/bars/PlxMenuBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/Display.h"
#include "platform/user/Menu.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/Canvas.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxMenuWindowButtons.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

// A menu bar menu: "&File" (New, Open), a separator, "&Help" as a plain command.
HMENU MakeMenu(UINT base, const char* popupText = "&File", const char* commandText = "&Help") {
  HMENU popup = ::CreatePopupMenu();
  ::AppendMenu(popup, MF_STRING, base + 1, "&New");
  ::AppendMenu(popup, MF_STRING, base + 2, "&Open...");
  HMENU menu = ::CreateMenu();
  ::AppendMenu(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), popupText);
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING, base + 9, commandText);
  return menu;
}

std::vector<std::string> Texts(const CPlxToolBar& bar) {
  std::vector<std::string> texts;
  for (int i = 0; i < bar.GetCount(); ++i) {
    const CPlxToolbarButton* b = bar.GetButton(i);
    texts.push_back((b->m_nStyle & TBBS_SEPARATOR) ? "|" : static_cast<LPCTSTR>(b->m_strText));
  }
  return texts;
}

std::vector<UINT> Ids(const CPlxToolBar& bar) {
  std::vector<UINT> ids;
  for (int i = 0; i < bar.GetCount(); ++i) ids.push_back(bar.GetItemID(i));
  return ids;
}

class MenuBarFixture : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    m_host = pictavo::test::CreateHostWindow(1000, 400);
    g_menuTempStore.CleanUp();
  }
  void TearDown() override {
    if (m_bar != nullptr && m_bar->GetSafeHwnd() != nullptr) m_bar->DestroyWindow();
    delete m_bar;
    for (HWND child : m_children) ::DestroyWindow(child);
    ::DestroyWindow(m_host);
    pictavo::test::PumpPending();
    g_menuTempStore.CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
    CPlxMenuBar::m_bShowAllCommands = FALSE;
  }
  CPlxMenuBar& Bar(BOOL withWindow = TRUE) {
    m_bar = new CPlxMenuBar;
    if (withWindow) {
      EXPECT_TRUE(m_bar->Create(CWnd::FromHandle(m_host), WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
      m_bar->SetWindowPos(nullptr, 0, 0, 1000, 24, SWP_NOZORDER);
    }
    return *m_bar;
  }
  // A window standing for a maximized MDI child, with the given styles.
  CWnd* Child(DWORD style) {
    HWND hwnd = ::CreateWindowEx(0, "PictavoTestHost", "Child", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100,
                                 m_host, nullptr, nullptr, nullptr);
    m_children.push_back(hwnd);
    return CWnd::FromHandle(hwnd);
  }

  HWND m_host = nullptr;
  CPlxMenuBar* m_bar = nullptr;
  std::vector<HWND> m_children;
};

}  // namespace

// ---- menus ----

TEST_F(MenuBarFixture, APopupASeparatorAndACommandGiveThreeButtons) {
  CPlxMenuBar& bar = Bar();
  HMENU menu = MakeMenu(100);
  ASSERT_TRUE(bar.CreateFromMenu(menu, TRUE));
  ASSERT_EQ(bar.GetCount(), 3);
  auto* file = dynamic_cast<CPlxToolbarMenuButton*>(bar.GetButton(0));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->m_nID, 0u);
  EXPECT_TRUE(file->m_bText);
  EXPECT_FALSE(file->m_bImage);
  EXPECT_EQ(file->GetSubItems().GetCount(), 2);
  EXPECT_TRUE(bar.GetButton(1)->m_nStyle & TBBS_SEPARATOR);
  EXPECT_EQ(dynamic_cast<CPlxToolbarMenuButton*>(bar.GetButton(2)), nullptr);
  EXPECT_EQ(bar.GetItemID(2), 109u);
  EXPECT_EQ(Texts(bar), (std::vector<std::string>{"&File", "|", "&Help"}));
  CPlxToolbarButton* mnemonic = nullptr;
  EXPECT_TRUE(bar.m_mapMnemonics.Lookup('F', mnemonic));
  EXPECT_EQ(mnemonic, bar.GetButton(0));
  EXPECT_EQ(bar.GetMenu(), menu);
  EXPECT_EQ(bar.GetDefaultMenu(), menu);
}

TEST_F(MenuBarFixture, SwitchingMenusBringsBackTheCustomizedButtonsFromTheStore) {
  CPlxMenuBar& bar = Bar();
  HMENU first = MakeMenu(100);
  HMENU second = MakeMenu(200, "&Photo", "&About");
  ASSERT_TRUE(bar.CreateFromMenu(first, TRUE));
  ASSERT_TRUE(bar.RemoveButton(2));  // the user takes "&Help" off the first menu's bar
  ASSERT_TRUE(bar.CreateFromMenu(second));
  EXPECT_EQ(Texts(bar), (std::vector<std::string>{"&Photo", "|", "&About"}));
  ASSERT_TRUE(bar.CreateFromMenu(first));
  EXPECT_EQ(Texts(bar), (std::vector<std::string>{"&File"})) << "from the store, not from the menu";
  EXPECT_EQ(g_menuTempStore.GetCount(), 2);
  // The same menu again without force leaves the buttons alone; with force they are rebuilt...
  // from the store, which holds the customized set.
  ASSERT_TRUE(bar.CreateFromMenu(first, FALSE, TRUE));
  EXPECT_EQ(Texts(bar), (std::vector<std::string>{"&File"}));
  ::DestroyMenu(second);
}

TEST_F(MenuBarFixture, ANullMenuKeepsTheOldButtons) {
  CPlxMenuBar& bar = Bar();
  ASSERT_TRUE(bar.CreateFromMenu(MakeMenu(100), TRUE));
  ASSERT_TRUE(bar.CreateFromMenu(nullptr));
  EXPECT_EQ(bar.GetMenu(), nullptr);
  EXPECT_EQ(bar.GetCount(), 3);
}

TEST(PlxMenuBarText, FindMenuItemTextSearchesSubMenusDepthFirst) {
  HMENU menu = MakeMenu(100);
  struct Case {
    HMENU menu;
    UINT id;
    BOOL found;
    const char* text;
  } const cases[] = {
      {menu, 102, TRUE, "&Open..."}, {menu, 109, TRUE, "&Help"},  {menu, 555, FALSE, ""},
      {menu, 0, FALSE, ""},          {menu, (UINT)-1, FALSE, ""}, {nullptr, 101, FALSE, ""},
  };
  for (const Case& c : cases) {
    CString text;
    EXPECT_EQ(CPlxMenuBar::FindMenuItemText(c.menu, c.id, text), c.found) << c.id;
    EXPECT_STREQ(static_cast<LPCTSTR>(text), c.text) << c.id;
  }
  ::DestroyMenu(menu);
}

// ---- which menus the bar frees ----

TEST_F(MenuBarFixture, DestructionFreesTheDefaultMenuButNotATemplatesSharedMenu) {
  CPlxMenuBar& bar = Bar();
  HMENU own = MakeMenu(100);
  HMENU shared = MakeMenu(200);  // a document template's: the template frees it
  ASSERT_TRUE(bar.CreateFromMenu(own, TRUE));
  ASSERT_TRUE(bar.CreateFromMenu(shared));
  bar.DestroyWindow();
  delete m_bar;
  m_bar = nullptr;
  EXPECT_FALSE(::IsMenu(own));
  EXPECT_TRUE(::IsMenu(shared)) << "a shared menu destroyed by the bar would be destroyed twice";
  EXPECT_EQ(g_menuTempStore.GetCount(), 0) << "the freed menu left the store";
  ::DestroyMenu(shared);
}

// ---- a failing store: the bar stays as it was, the answer is FALSE ----

TEST_F(MenuBarFixture, AFailingStoreLeavesTheBarAsItWas) {
  CPlxMenuBar& bar = Bar();
  HMENU first = MakeMenu(100);
  HMENU second = MakeMenu(200, "&Photo", "&About");
  ASSERT_TRUE(bar.CreateFromMenu(second));
  ASSERT_TRUE(bar.CreateFromMenu(first, TRUE));  // the second menu's buttons are in the store
  const std::vector<std::string> shown = Texts(bar);

  ScratchDir folder;
  ScopedEnv tmp("TMPDIR", (folder / "missing").c_str());  // no file can be made there
  struct Step {
    const char* name;
    std::function<BOOL()> run;
  } const steps[] = {
      {"switch", [&] { return bar.CreateFromMenu(second); }},
      {"save", [&] { return bar.SaveState("Software\\PlxMenuBarTest\\"); }},
      {"load", [&] { return bar.LoadState("Software\\PlxMenuBarTest\\"); }},
      {"reset", [&] { return bar.RestoreOriginalState(); }},
  };
  for (const Step& step : steps) {
    EXPECT_FALSE(step.run()) << step.name;
    EXPECT_EQ(Texts(bar), shown) << step.name << " showed another menu's buttons";
    EXPECT_EQ(bar.GetMenu(), first) << step.name;
  }
  bar.OnGlobalFontsChanged();
  EXPECT_EQ(Texts(bar), shown) << "font change";
}

TEST_F(MenuBarFixture, StateRoundTripsPerMenu) {
  CPlxMenuBar& bar = Bar();
  HMENU menu = MakeMenu(100);
  ASSERT_TRUE(bar.CreateFromMenu(menu, TRUE));
  ASSERT_TRUE(bar.RemoveButton(2));
  ASSERT_TRUE(bar.SaveState("Software\\PlxMenuBarTest\\"));
  EXPECT_EQ(Texts(bar), (std::vector<std::string>{"&File"}));

  // A new bar (a new run) over a fresh copy of the menu loads what was saved.
  bar.DestroyWindow();
  delete m_bar;
  m_bar = nullptr;
  g_menuTempStore.CleanUp();
  CPlxMenuBar& again = Bar();
  ASSERT_TRUE(again.CreateFromMenu(MakeMenu(100), TRUE));
  EXPECT_EQ(again.GetCount(), 3);
  ASSERT_TRUE(again.LoadState("Software\\PlxMenuBarTest\\"));
  EXPECT_EQ(Texts(again), (std::vector<std::string>{"&File"}));
}

// ---- the maximized child ----

TEST_F(MenuBarFixture, AMaximizedChildBringsItsIconAndWindowButtons) {
  struct Case {
    const char* name;
    DWORD style;
    BOOL removeClose;
    std::vector<UINT> commands;
    BOOL closeDisabled;
  } const cases[] = {
      {"all boxes",
       WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
       FALSE,
       {SC_MINIMIZE, SC_RESTORE, SC_CLOSE},
       FALSE},
      {"no minimize box", WS_SYSMENU | WS_MAXIMIZEBOX, FALSE, {SC_RESTORE, SC_CLOSE}, FALSE},
      {"no close item",
       WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
       TRUE,
       {SC_MINIMIZE, SC_RESTORE, SC_CLOSE},
       TRUE},
  };
  CPlxMenuBar& bar = Bar();
  bar.EnableCustomizeButton(TRUE, 0, "");
  ASSERT_TRUE(bar.CreateFromMenu(MakeMenu(100), TRUE));
  const int ordinary = bar.GetCount();  // the three items and the chevron
  for (const Case& c : cases) {
    CWnd* child = Child(c.style);
    if (c.removeClose) ::DeleteMenu(::GetSystemMenu(child->m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND);
    bar.SetMaximizedChild(TRUE, child, TRUE);
    ASSERT_TRUE(bar.m_bMaximizedChild) << c.name;
    EXPECT_NE(dynamic_cast<CPlxToolbarSystemMenuButton*>(bar.GetButton(0)), nullptr) << c.name;
    EXPECT_EQ(bar.m_nSysButtons, static_cast<int>(c.commands.size())) << c.name;
    const int first = bar.GetCount() - 1 - bar.m_nSysButtons;
    for (size_t i = 0; i < c.commands.size(); ++i) {
      auto* button = dynamic_cast<CPlxToolbarMenuButtonsButton*>(bar.GetButton(first + static_cast<int>(i)));
      ASSERT_NE(button, nullptr) << c.name;
      EXPECT_EQ(button->m_uiSystemCommand, c.commands[i]) << c.name;
    }
    auto* close = static_cast<CPlxToolbarMenuButtonsButton*>(bar.GetButton(bar.GetCount() - 2));
    EXPECT_EQ((close->m_nStyle & TBBS_DISABLED) != 0, c.closeDisabled != FALSE) << c.name;
    EXPECT_EQ(bar.GetButton(bar.GetCount() - 1), bar.GetCustomizeButton()) << c.name << ": chevron last";

    bar.SetMaximizedChild(FALSE, nullptr, TRUE);
    EXPECT_EQ(bar.GetCount(), ordinary) << c.name;
    EXPECT_EQ(bar.m_nSavedSysButtons, static_cast<int>(c.commands.size())) << c.name;
    EXPECT_EQ(bar.GetButton(bar.GetCount() - 1), bar.GetCustomizeButton()) << c.name;
  }
  bar.SetMaximizedChild(TRUE, nullptr, TRUE);
  EXPECT_FALSE(bar.m_bMaximizedChild) << "no child, no mode";
}

TEST_F(MenuBarFixture, ArrowKeysWrapOverTheItemsButNeverReachTheChildButtons) {
  CPlxMenuBar& bar = Bar();
  ASSERT_TRUE(bar.CreateFromMenu(MakeMenu(100), TRUE));
  bar.SetMaximizedChild(TRUE, Child(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), TRUE);
  ASSERT_EQ(bar.GetOrdinaryCount(), 4);  // icon, File, separator, Help
  struct Case {
    int from;
    UINT key;
    int to;
  } const cases[] = {{1, VK_LEFT, 0}, {0, VK_LEFT, 3}, {3, VK_RIGHT, 0}, {2, VK_RIGHT, 3}};
  for (const Case& c : cases) {
    bar.m_iHot = c.from;
    MSG msg{bar.m_hWnd, WM_KEYDOWN, c.key, 0};
    bar.PreTranslateMessage(&msg);
    EXPECT_EQ(bar.GetHotIndex(), c.to) << c.from << " " << c.key;
  }
  bar.m_iHot = -1;
}

TEST_F(MenuBarFixture, NothingDropsInFrontOfTheChildIconOrAfterItsButtons) {
  CPlxMenuBar& bar = Bar();
  ASSERT_TRUE(bar.CreateFromMenu(MakeMenu(100), TRUE));
  bar.SetMaximizedChild(TRUE, Child(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), TRUE);
  bar.AdjustLocations();
  CRect mark;
  EXPECT_EQ(bar.FindDropIndex(CPoint(1, 5), mark), -1);
  const CRect close = bar.GetButton(bar.GetCount() - 1)->m_rect;
  EXPECT_EQ(bar.FindDropIndex(CPoint(close.right - 1, close.CenterPoint().y), mark), bar.GetOrdinaryCount());
  const CRect help = bar.GetButton(3)->m_rect;
  EXPECT_EQ(bar.FindDropIndex(CPoint(help.left + 1, help.CenterPoint().y), mark), 3);
}

TEST_F(MenuBarFixture, ChildButtonsSitAtTheRightEnd) {
  CPlxMenuBar& bar = Bar();
  ASSERT_TRUE(bar.CreateFromMenu(MakeMenu(100), TRUE));
  bar.SetMaximizedChild(TRUE, Child(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), TRUE);
  bar.AdjustLocations();
  CRect client;
  bar.GetClientRect(client);
  const CSize size = bar.m_sizeSysButton;
  for (int n = 0; n < 3; ++n) {
    const CRect r = bar.GetButton(bar.GetCount() - 1 - n)->m_rect;
    EXPECT_EQ(r.right, client.right - n * (size.cx + 1)) << n;
    EXPECT_EQ(r.bottom, client.bottom) << n;
    EXPECT_EQ(r.Size(), size) << n;
  }
}

// ---- layout ----

TEST_F(MenuBarFixture, ADockedBarSpansItsRowAndIsOneTextRowHigh) {
  CPlxMenuBar& bar = Bar();
  ASSERT_TRUE(bar.CreateFromMenu(MakeMenu(100), TRUE));
  CRect border(0, 0, 0, 0);
  bar.CalcInsideRect(border, TRUE);
  const CSize size = bar.CalcFixedLayout(TRUE, TRUE);
  EXPECT_EQ(size.cx, 1000 - border.Width() / 2);
  EXPECT_FALSE(bar.m_bHasImages);
  EXPECT_EQ(bar.GetRowHeight(),
            std::max<int>(g_plxGlobalData.nTextHeightHorz,
                          (CPlxToolBar::GetMenuButtonSize().cy > 0 ? CPlxToolBar::GetMenuButtonSize().cy
                                                                   : CPlxToolBar::m_sizeButton.cy) -
                              2));
  EXPECT_GE(size.cy, bar.GetRowHeight());
  EXPECT_LT(size.cy, 2 * bar.GetRowHeight()) << "one row";
}

TEST_F(MenuBarFixture, AFloatingBarsPopupsOpenTowardsTheRowEnds) {
  CPlxMenuBar& bar = Bar(FALSE);
  for (UINT id = 1; id <= 6; ++id) bar.InsertButton(CPlxToolbarButton(id, -1, "x", FALSE, TRUE));
  // Not floating: no preference.
  EXPECT_EQ(bar.GetFloatPopupDirection(bar.GetButton(0)), -1);
}

// ---- the drag hook ----

TEST_F(MenuBarFixture, ReleasingADraggedBarSnapsItToTheWorkArea) {
  CPlxMenuBar& bar = Bar();
  bar.m_pDockContext = new CDockContext(&bar);
  bar.m_pDockContext->m_bDragging = TRUE;
  bar.m_pDockContext->m_rectDragHorz = CRect(300, 200, 500, 224);
  bar.m_pDockContext->m_rectDragVert = CRect(300, 200, 324, 400);
  bar.SetDragHook(TRUE);
  ASSERT_NE(CPlxMenuBar::m_hDragHook, nullptr);
  EXPECT_EQ(CPlxMenuBar::m_pHookedMenuBar, &bar);
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  // A press and release over the bar, as the mouse hook sees them on their way to it.
  CRect window;
  bar.GetWindowRect(window);
  pictavo::user::InjectMouseMove(CPoint(window.left + 5, window.top + 5));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  EXPECT_EQ(bar.m_pDockContext->m_rectDragVert.top, work.top);
  EXPECT_EQ(bar.m_pDockContext->m_rectDragHorz.left, work.left);
  EXPECT_EQ(bar.m_pDockContext->m_rectDragHorz.top, 200) << "only the left edge moves";
  EXPECT_EQ(CPlxMenuBar::m_hDragHook, nullptr) << "the hook goes with the release";
  bar.m_pDockContext->m_bDragging = FALSE;
}

TEST_F(MenuBarFixture, TheDragHookGoesWithTheBar) {
  CPlxMenuBar& bar = Bar();
  bar.SetDragHook(TRUE);
  ASSERT_NE(CPlxMenuBar::m_hDragHook, nullptr);
  bar.DestroyWindow();
  delete m_bar;
  m_bar = nullptr;
  EXPECT_EQ(CPlxMenuBar::m_hDragHook, nullptr);
  EXPECT_EQ(CPlxMenuBar::m_pHookedMenuBar, nullptr);
}

// ---- the look ----

// The bar with a maximized child: its icon at the left end, the three window buttons at the
// right, the menu items between them, painted through the installed manager and compared with
// the checked-in picture. PICTAVO_WRITE_REFERENCES=1 writes it anew (look at it first).
TEST_F(MenuBarFixture, LookWithAMaximizedChild) {
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  CPlxMenuBar& bar = Bar();
  bar.m_dwStyle &= ~CBRS_GRIPPER;
  bar.SetBorders(0, 0, 0, 0);
  ASSERT_TRUE(bar.CreateFromMenu(MakeMenu(100), TRUE));
  CWnd* child = Child(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  HICON icon = static_cast<HICON>(
      ::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(128), IMAGE_ICON, 16, 16, LR_SHARED));
  ASSERT_NE(icon, nullptr);
  child->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  bar.SetMaximizedChild(TRUE, child, FALSE);
  const CSize size(360, bar.CalcFixedLayout(TRUE, TRUE).cy);
  bar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
  bar.AdjustLocations();
  bar.m_iHot = 1;  // "&File" hot
  pictavo::test::Canvas canvas(size.cx, size.cy);
  CDC dc;
  dc.Attach(canvas.Dc());
  bar.DoPaint(&dc);
  dc.Detach();
  bar.m_iHot = -1;
  const std::string name = "menubar-maximized-child.png";
  pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath(name));
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  const std::string reference = std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  if (flag != nullptr && std::string(flag) == "1")
    ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
  EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  CPlxVisualManager::SetDefaultManager(nullptr);
}

// ---- recently used menus: the show-all timer and the double click ----

namespace {

// A toolkit frame holding the bar, as popups need; File has a frequent and a rare command.
class ShowAllFixture : public MenuBarFixture {
 protected:
  void SetUp() override {
    MenuBarFixture::SetUp();
    CPlxToolBar::m_commandUsage.Reset();
    CPlxToolBar::AddBasicCommand(101);
    for (UINT i = 0; i < CPlxCommandUsage::s_nMinTotalUses; ++i) CPlxToolBar::m_commandUsage.AddCmd(101);
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
    ASSERT_TRUE(m_frame->Create(nullptr, "Menus", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 300)));
    m_bar = new CPlxMenuBar;
    ASSERT_TRUE(m_bar->Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
    m_bar->SetWindowPos(nullptr, 0, 0, 600, 24, SWP_NOZORDER);
    ASSERT_TRUE(m_bar->CreateFromMenu(MakeMenu(100), TRUE));
    m_bar->AdjustLocations();
  }
  void TearDown() override {
    if (CPlxToolbarMenuButton* open = m_bar->GetDroppedDownMenu()) open->OnCancelMode();
    pictavo::test::PumpPending();
    m_bar->DestroyWindow();
    delete m_bar;
    m_bar = nullptr;
    m_frame->DestroyWindow();
    CPlxToolBar::m_commandUsage.Reset();
    CPlxToolBar::m_lstBasicCommands.RemoveAll();
    CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
    MenuBarFixture::TearDown();
  }
  CPlxPopupMenu* Popup() {
    CPlxToolbarMenuButton* open = m_bar->GetDroppedDownMenu();
    return open != nullptr ? open->GetPopupMenu() : nullptr;
  }
  CPlxFrameWnd m_frameObject;
  CPlxFrameWnd* m_frame = &m_frameObject;
};

}  // namespace

TEST_F(ShowAllFixture, TheTimerExpandsTheDroppedMenuOnlyWithThePointerOnItsItem) {
  auto* file = static_cast<CPlxToolbarMenuButton*>(m_bar->GetButton(0));
  ASSERT_TRUE(m_bar->DropDownMenu(file));
  pictavo::test::PumpPending();
  ASSERT_NE(Popup(), nullptr);
  ASSERT_FALSE(Popup()->GetMenuBar()->AreAllCommandsShown()) << "the rare command waits";
  struct Case {
    const char* name;
    CPoint client;
    BOOL expands;
  } const cases[] = {{"pointer elsewhere", CPoint(500, 10), FALSE},
                     {"pointer on File", file->m_rect.CenterPoint(), TRUE}};
  for (const Case& c : cases) {
    CPoint screen = c.client;
    m_bar->ClientToScreen(&screen);
    pictavo::user::InjectMouseMove(screen);
    pictavo::test::PumpPending();
    ASSERT_NE(Popup(), nullptr) << c.name;
    m_bar->SendMessage(WM_TIMER, 1, 0);  // what the bar's 5-second timer sends
    pictavo::test::PumpPending();
    ASSERT_NE(Popup(), nullptr) << c.name;
    EXPECT_EQ(Popup()->GetMenuBar()->AreAllCommandsShown(), c.expands) << c.name;
  }
}

TEST_F(ShowAllFixture, ADoubleClickReopensTheMenuWithAllCommands) {
  auto* file = static_cast<CPlxToolbarMenuButton*>(m_bar->GetButton(0));
  const CPoint at = file->m_rect.CenterPoint();
  m_bar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(at.x, at.y));
  pictavo::test::PumpPending();
  EXPECT_TRUE(CPlxMenuBar::m_bShowAllCommands);
  ASSERT_NE(Popup(), nullptr);
  EXPECT_TRUE(Popup()->GetMenuBar()->AreAllCommandsShown());
}

namespace {

// A frame that counts the popups it is told of, opened and closed.
class CCountingFrame : public CPlxFrameWnd {
 public:
  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu) override {
    if (pMenu != nullptr) ++shown;
    return CPlxFrameWnd::OnShowPopupMenu(pMenu);
  }
  void OnClosePopupMenu(CPlxPopupMenu* pMenu) override {
    if (pMenu != nullptr) ++closed;
    CPlxFrameWnd::OnClosePopupMenu(pMenu);
  }
  int shown = 0;
  int closed = 0;
};

// The frame's own message loop: the frame pre-translates before the windows get their messages.
void PumpThroughFrame(HWND frame) {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!CWnd::WalkPreTranslateTree(frame, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  }
}

class KeyboardModeFixture : public MenuBarFixture {
 protected:
  void SetUp() override {
    MenuBarFixture::SetUp();
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
    ASSERT_TRUE(m_frame.Create(nullptr, "Menus", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 300)));
    m_bar = new CPlxMenuBar;
    ASSERT_TRUE(m_bar->Create(&m_frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
    m_bar->SetWindowPos(nullptr, 0, 0, 600, 24, SWP_NOZORDER);
    HMENU menu = MakeMenu(100);
    HMENU edit = ::CreatePopupMenu();
    ::AppendMenu(edit, MF_STRING, 201, "&Undo");
    ::InsertMenu(menu, 1, MF_BYPOSITION | MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    ASSERT_TRUE(m_bar->CreateFromMenu(menu, TRUE));
    m_bar->AdjustLocations();
    ::SetFocus(m_frame.GetSafeHwnd());
    PumpThroughFrame(m_frame.GetSafeHwnd());
  }
  void TearDown() override {
    if (CPlxToolbarMenuButton* open = m_bar->GetDroppedDownMenu()) open->OnCancelMode();
    pictavo::test::PumpPending();
    m_bar->DestroyWindow();
    delete m_bar;
    m_bar = nullptr;
    m_frame.DestroyWindow();
    pictavo::test::PumpPending();
    CPlxPopupMenu::m_pActiveTracked = nullptr;
    CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
    MenuBarFixture::TearDown();
  }
  // Moves the pointer onto the bar's item and clicks it, as the user does.
  void ClickItem(int index) {
    CPoint at = m_bar->GetButton(index)->m_rect.CenterPoint();
    m_bar->ClientToScreen(&at);
    pictavo::user::InjectMouseMove(at);
    PumpThroughFrame(m_frame.GetSafeHwnd());
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    PumpThroughFrame(m_frame.GetSafeHwnd());
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    PumpThroughFrame(m_frame.GetSafeHwnd());
  }
  CCountingFrame m_frame;
};

}  // namespace

// One click on a bar item opens its menu once, whether the bar was idle or in keyboard mode
// (F10 gave it the focus and lit its first item).
TEST_F(KeyboardModeFixture, AClickOpensTheMenuOnceAlsoAfterF10) {
  for (const bool f10 : {false, true}) {
    for (const int item : {0, 1}) {
      const char* name = item == 0 ? "File" : "Edit";
      if (f10) {
        MSG up{m_frame.GetSafeHwnd(), WM_SYSKEYUP, VK_F10, static_cast<LPARAM>(0xC0440001u)};
        ASSERT_TRUE(m_frame.PreTranslateMessage(&up));
        ASSERT_EQ(::GetFocus(), m_bar->GetSafeHwnd());
      }
      m_frame.shown = m_frame.closed = 0;
      ClickItem(item);
      EXPECT_EQ(m_frame.shown, 1) << (f10 ? "after F10, " : "") << name;
      EXPECT_EQ(m_frame.closed, 0) << (f10 ? "after F10, " : "") << name;
      CPlxToolbarMenuButton* open = m_bar->GetDroppedDownMenu();
      EXPECT_EQ(open, m_bar->GetButton(item)) << (f10 ? "after F10, " : "") << name;
      if (open != nullptr) open->OnCancelMode();
      PumpThroughFrame(m_frame.GetSafeHwnd());
      ::SetFocus(m_frame.GetSafeHwnd());
      PumpThroughFrame(m_frame.GetSafeHwnd());
    }
  }
}
