// The frame core's routing of keys, mnemonics, clicks and moves around the open popup menu.
#include <gtest/gtest.h>

#include "tests/toolkit/core/FrameFixture.h"
#include "toolkit/core/PlxFrameCore.h"

using namespace frametest;

namespace {

class FrameCoreInput : public FrameFixture {};

// The accelerators of the frame: Ctrl+S saves, Alt+Q quits.
HACCEL FrameKeys() {
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'S', 57603}, {FVIRTKEY | FALT, 'Q', 57665}};
  return ::CreateAcceleratorTable(keys, 2);
}

}  // namespace

TEST_F(FrameCoreInput, KeysGoToThePopupTheAcceleratorsOrTheMenuBar) {
  frame.m_hAccelTable = FrameKeys();
  struct Case {
    const char* name;
    UINT modifier;  // held while the key is processed; 0 for none
    int key;
    bool popup, customize;
    BOOL consumed, processAccel;
    const char* offered;  // the mnemonics the menu bar was offered
  };
  const Case cases[] = {
      {"an open popup takes every key", 0, VK_DOWN, true, false, TRUE, TRUE, ""},
      {"customize mode leaves keys alone", 0, 'E', false, true, FALSE, TRUE, ""},
      {"a plain key is left to the frame", 0, 'E', false, false, FALSE, TRUE, ""},
      {"Ctrl+S is an accelerator", VK_CONTROL, 'S', false, false, FALSE, TRUE, ""},
      {"Alt+E opens the menu bar's Edit", VK_MENU, 'E', false, false, TRUE, TRUE, "E"},
      {"Alt+Z: no bar has the mnemonic", VK_MENU, 'Z', false, false, FALSE, TRUE, "Z"},
      {"Alt+Q is the frame's accelerator, not a mnemonic", VK_MENU, 'Q', false, false, FALSE, TRUE, ""},
  };
  for (const Case& c : cases) {
    menuBar.offered.clear();
    HWND popup = c.popup ? OpenPopup(100, 100)->GetSafeHwnd() : nullptr;
    CPlxToolBar::m_bCustomizeMode = c.customize;
    if (c.modifier != 0) SetKey(c.modifier, true);
    BOOL processAccel = -1;
    EXPECT_EQ(frame.m_Impl.ProcessKeyboard(c.key, &processAccel), c.consumed) << c.name;
    EXPECT_EQ(processAccel, c.processAccel) << c.name;
    EXPECT_EQ(menuBar.offered, c.offered) << c.name;
    if (c.modifier != 0) SetKey(c.modifier, false);
    CPlxToolBar::m_bCustomizeMode = FALSE;
    if (popup != nullptr) {
      EXPECT_TRUE(IsOpen(popup)) << c.name << ": Down moves in the popup";
      ::SendMessage(popup, WM_CLOSE, 0, 0);
      pictavo::test::PumpPending();
    }
  }
}

TEST_F(FrameCoreInput, EscapeReachesTheOpenPopupAndClosesIt) {
  HWND popup = OpenPopup(100, 100)->GetSafeHwnd();
  ASSERT_TRUE(IsOpen(popup));
  EXPECT_TRUE(frame.m_Impl.ProcessKeyboard(VK_ESCAPE));
  pictavo::test::PumpPending();
  EXPECT_FALSE(IsOpen(popup));
  EXPECT_EQ(CPlxPopupMenu::m_pActiveTracked, nullptr);
}

TEST_F(FrameCoreInput, MnemonicsTryTheMenuBarThenTheFramesVisibleToolbars) {
  menuBar.taken = "E";
  EXPECT_TRUE(frame.m_Impl.OnMenuChar('E'));
  EXPECT_EQ(menuBar.offered, "E");
  menuBar.ShowWindow(SW_HIDE);
  menuBar.offered.clear();
  frame.m_Impl.OnMenuChar('E');
  EXPECT_EQ(menuBar.offered, "") << "a hidden menu bar is not asked";
}

TEST_F(FrameCoreInput, HelpKeyIsF1PressedAloneAndNotRepeated) {
  struct Case {
    UINT message;
    WPARAM key;
    LPARAM lParam;
    UINT modifier;
    BOOL help;
  };
  const Case cases[] = {
      {WM_KEYDOWN, VK_F1, 1, 0, TRUE},         {WM_KEYDOWN, VK_F1, 1 | (1 << 30), 0, FALSE},
      {WM_KEYDOWN, VK_F1, 1, VK_SHIFT, FALSE}, {WM_KEYDOWN, VK_F1, 1, VK_CONTROL, FALSE},
      {WM_KEYDOWN, VK_F2, 1, 0, FALSE},        {WM_KEYUP, VK_F1, 1, 0, FALSE},
  };
  for (const Case& c : cases) {
    if (c.modifier != 0) SetKey(c.modifier, true);
    MSG msg{frame.GetSafeHwnd(), c.message, c.key, c.lParam};
    EXPECT_EQ(CPlxFrameCore::IsHelpKey(&msg), c.help) << c.key << " " << c.lParam << " " << c.modifier;
    if (c.modifier != 0) SetKey(c.modifier, false);
  }
}

// Where a click goes while a popup is up, and whether the popup stays. The popup (three items,
// about 100 x 70 with its shadow) opens at (200, 200).
TEST_F(FrameCoreInput, ClicksAroundAnOpenPopup) {
  struct Case {
    const char* name;
    bool tracked;
    int dx, dy;  // from the popup's top left; -1000: on the frame far away
    BOOL consumed;
    bool stays;
  };
  const Case cases[] = {
      {"on an item", false, 10, 8, FALSE, true},
      {"outside: closed, the click goes on to the window", false, -150, -150, FALSE, false},
      {"outside a tracking loop's popup: closed and eaten", true, -150, -150, TRUE, false},
      {"far right of it", false, 260, 10, FALSE, false},
  };
  for (const Case& c : cases) {
    CPlxPopupMenu* popup = OpenPopup(200, 200, c.tracked);
    ASSERT_NE(popup, nullptr) << c.name;
    HWND hwnd = popup->GetSafeHwnd();
    CRect window;
    popup->GetWindowRect(window);
    const CPoint pt(window.left + c.dx, window.top + c.dy);
    EXPECT_EQ(frame.m_Impl.ProcessMouseClick(WM_LBUTTONDOWN, pt, frame.GetSafeHwnd()), c.consumed) << c.name;
    pictavo::test::PumpPending();
    EXPECT_EQ(IsOpen(hwnd), c.stays) << c.name;
    if (IsOpen(hwnd)) ::SendMessage(hwnd, WM_CLOSE, 0, 0);
    pictavo::test::PumpPending();
    EXPECT_EQ(CPlxPopupMenu::m_pActiveTracked, nullptr) << c.name;
  }
}

TEST_F(FrameCoreInput, AClickOnTheShadowClosesThePopupAndIsEaten) {
  CPlxMenuBar::m_bMenuShadows = TRUE;
  CPlxPopupMenu* popup = OpenPopup(200, 200);
  ASSERT_NE(popup, nullptr);
  const int shadow = popup->GetShadowSize();
  if (shadow == 0) GTEST_SKIP() << "no shadow at this colour depth";
  HWND hwnd = popup->GetSafeHwnd();
  CRect window;
  popup->GetWindowRect(window);
  const CPoint onShadow(window.right - 1, window.top + window.Height() / 2);
  EXPECT_TRUE(frame.m_Impl.ProcessMouseClick(WM_LBUTTONDOWN, onShadow, frame.GetSafeHwnd()));
  pictavo::test::PumpPending();
  EXPECT_FALSE(IsOpen(hwnd));
}

// The button that opened the popup closes it on a second click; anywhere else on its bar the
// popup closes too and the click goes on.
TEST_F(FrameCoreInput, ClicksOnTheBarThatOpenedThePopup) {
  struct Case {
    const char* name;
    CPoint client;  // on the toolbar
    BOOL consumed;
  };
  const Case cases[] = {{"on the opening button", CPoint(30, 10), TRUE},
                        {"elsewhere on its bar", CPoint(300, 10), FALSE}};
  for (const Case& c : cases) {
    CPlxPopupMenu* popup = OpenFromBar();
    ASSERT_NE(popup, nullptr) << c.name;
    HWND hwnd = popup->GetSafeHwnd();
    CPoint pt = c.client;
    bar.ClientToScreen(&pt);
    EXPECT_EQ(frame.m_Impl.ProcessMouseClick(WM_LBUTTONDOWN, pt, bar.GetSafeHwnd()), c.consumed) << c.name;
    pictavo::test::PumpPending();
    EXPECT_FALSE(IsOpen(hwnd)) << c.name;
    item->OnCancelMode();
    pictavo::test::PumpPending();
  }
}

// A sub-menu's parent item keeps the sub-menu; a click outside the whole chain closes all of it.
TEST_F(FrameCoreInput, OutsideClickClosesTheWholeChain) {
  HMENU menu = ::CreatePopupMenu();
  HMENU sub = ThreeCommands();
  ::AppendMenu(menu, MF_STRING, 100, "&Undo");
  ::AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  item->CreateFromMenu(menu);
  ::DestroyMenu(menu);
  ASSERT_TRUE(item->OpenPopupMenu(&bar));
  pictavo::test::PumpPending();
  CPlxPopupMenu* top = item->GetPopupMenu();
  ASSERT_NE(top, nullptr);
  CPlxToolbarMenuButton* more = top->GetMenuItem(1);
  ASSERT_NE(more, nullptr);
  ASSERT_TRUE(more->OpenPopupMenu(top->GetMenuBar()));
  pictavo::test::PumpPending();
  CPlxPopupMenu* child = more->GetPopupMenu();
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(CPlxPopupMenu::m_pActiveTracked, child);
  HWND topWnd = top->GetSafeHwnd(), childWnd = child->GetSafeHwnd();

  CPoint onParentItem = more->GetRect().CenterPoint();
  top->GetMenuBar()->ClientToScreen(&onParentItem);
  EXPECT_TRUE(frame.m_Impl.ProcessMouseClick(WM_LBUTTONDOWN, onParentItem, top->GetMenuBar()->GetSafeHwnd()));
  pictavo::test::PumpPending();
  EXPECT_TRUE(IsOpen(childWnd)) << "the parent item keeps its sub-menu";

  CRect topRect;
  top->GetWindowRect(topRect);
  const CPoint inParent(topRect.left + 10, topRect.top + 8);
  EXPECT_FALSE(frame.m_Impl.ProcessMouseClick(WM_LBUTTONDOWN, inParent, topWnd))
      << "a click in the parent popup is the parent's";

  EXPECT_FALSE(frame.m_Impl.ProcessMouseClick(WM_LBUTTONDOWN, CPoint(480, 380), frame.GetSafeHwnd()));
  pictavo::test::PumpPending();
  EXPECT_FALSE(IsOpen(childWnd));
  EXPECT_FALSE(IsOpen(topWnd)) << "the chain closes from the leaf upwards";
  EXPECT_EQ(CPlxPopupMenu::m_pActiveTracked, nullptr);
}

TEST_F(FrameCoreInput, MovesOutsideThePopupAreEatenInsideTheyAreNot) {
  CPlxPopupMenu* popup = OpenPopup(200, 200);
  ASSERT_NE(popup, nullptr);
  CRect window;
  popup->GetWindowRect(window);
  EXPECT_FALSE(frame.m_Impl.ProcessMouseMove(window.CenterPoint()));
  EXPECT_TRUE(frame.m_Impl.ProcessMouseMove(CPoint(window.left - 50, window.top - 50)));
  CPlxToolBar::m_bCustomizeMode = TRUE;
  EXPECT_FALSE(frame.m_Impl.ProcessMouseMove(CPoint(window.left - 50, window.top - 50)));
  CPlxToolBar::m_bCustomizeMode = FALSE;
  popup->SendMessage(WM_CLOSE);
  pictavo::test::PumpPending();
  EXPECT_FALSE(frame.m_Impl.ProcessMouseMove(CPoint(10, 10))) << "without a popup nothing is eaten";
}

// The frame's pre-translation: Alt and F10 alone move the focus between the frame and the menu
// bar; Alt pressed while a popup is up closes it.
TEST_F(FrameCoreInput, AltAndF10MoveTheFocusToTheMenuBarAndBack) {
  struct Step {
    UINT message;
    WPARAM key;
    LPARAM lParam;
    const char* focus;  // "bar" or "frame" afterwards
  };
  const Step steps[] = {
      {WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001u), "bar"},
      {WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001u), "frame"},
      {WM_SYSKEYUP, VK_F10, static_cast<LPARAM>(0xC0440001u), "bar"},
      {WM_SYSKEYUP, VK_F10, static_cast<LPARAM>(0xC0440001u), "frame"},
      // Released after Alt+letter (the context bit set): the focus stays.
      {WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xE0380001u), "frame"},
  };
  for (const Step& s : steps) {
    MSG msg{frame.GetSafeHwnd(), s.message, s.key, s.lParam};
    EXPECT_TRUE(frame.PreTranslateMessage(&msg)) << s.key;
    const HWND want = std::string(s.focus) == "bar" ? menuBar.GetSafeHwnd() : frame.GetSafeHwnd();
    EXPECT_EQ(::GetFocus(), want) << s.key << " " << s.focus;
  }

  HWND popup = OpenPopup(100, 100)->GetSafeHwnd();
  MSG altDown{frame.GetSafeHwnd(), WM_SYSKEYDOWN, VK_MENU, 0x20380001};
  EXPECT_TRUE(frame.PreTranslateMessage(&altDown));
  pictavo::test::PumpPending();
  EXPECT_FALSE(IsOpen(popup));
}

// Alt+letter opened a menu and gave the menu bar the focus: the Alt release that follows keeps
// both; the next Alt pressed alone moves the focus again.
TEST_F(FrameCoreInput, TheAltReleaseAfterAltLetterLeavesTheOpenedMenuOpen) {
  const HWND frameWnd = frame.GetSafeHwnd();
  MSG altDown{frameWnd, WM_SYSKEYDOWN, VK_MENU, 0x20380001};
  MSG letterDown{frameWnd, WM_SYSKEYDOWN, 'E', 0x20120001};
  frame.PreTranslateMessage(&altDown);
  frame.PreTranslateMessage(&letterDown);
  // What the letter does on the real bar: a menu opens and its bar takes the focus.
  HWND popup = OpenPopup(100, 100)->GetSafeHwnd();
  menuBar.SetFocus();
  MSG letterUp{frameWnd, WM_SYSKEYUP, 'E', static_cast<LPARAM>(0xE0120001u)};
  MSG altUp{frameWnd, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001u)};
  EXPECT_TRUE(frame.PreTranslateMessage(&letterUp));
  EXPECT_TRUE(frame.PreTranslateMessage(&altUp));
  pictavo::test::PumpPending();
  EXPECT_EQ(::GetFocus(), menuBar.GetSafeHwnd());
  EXPECT_TRUE(IsOpen(popup));
  if (IsOpen(popup)) ::SendMessage(popup, WM_CLOSE, 0, 0);
  pictavo::test::PumpPending();

  // Alt alone again: pressed and released, it toggles the focus as usual.
  ::SetFocus(frameWnd);
  frame.PreTranslateMessage(&altDown);
  EXPECT_TRUE(frame.PreTranslateMessage(&altUp));
  EXPECT_EQ(::GetFocus(), menuBar.GetSafeHwnd());
}

// Alt+E typed ahead, all four key events queued before the frame handles the first: the letter
// still reaches the menu bar as a mnemonic, Alt being down when it was pressed.
TEST_F(FrameCoreInput, AnAltLetterTypedAheadStillReachesTheMenuBar) {
  for (const auto& [vk, down] : {std::pair{VK_MENU, true}, {'E', true}, {'E', false}, {VK_MENU, false}})
    pictavo::user::InjectKey({static_cast<UINT>(vk), down});
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!CWnd::WalkPreTranslateTree(frame.GetSafeHwnd(), &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  EXPECT_NE(menuBar.offered.find('E'), std::string::npos) << menuBar.offered;
}

// Button messages reach the core with screen points; a right click on a dock bar asks the frame
// for the bars' context menu.
TEST_F(FrameCoreInput, ButtonMessagesCloseThePopupAndDockBarsAskForTheBarMenu) {
  HWND popup = OpenPopup(200, 200)->GetSafeHwnd();
  MSG click{frame.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 380)};
  EXPECT_FALSE(frame.PreTranslateMessage(&click)) << "an ordinary popup lets the click through";
  pictavo::test::PumpPending();
  EXPECT_FALSE(IsOpen(popup));

  CWnd* dockBar = frame.GetDlgItem(AFX_IDW_DOCKBAR_TOP);
  ASSERT_NE(dockBar, nullptr);
  MSG rclick{dockBar->GetSafeHwnd(), WM_RBUTTONUP, 0, MAKELPARAM(2, 2)};
  frame.PreTranslateMessage(&rclick);
  EXPECT_EQ(frame.menuRequests, 1);
  CPlxToolBar::m_bCustomizeMode = TRUE;
  frame.PreTranslateMessage(&rclick);
  EXPECT_EQ(frame.menuRequests, 1) << "not in customize mode";
}

// An accelerator's command while a popup is up closes the popup and runs nothing else.
TEST_F(FrameCoreInput, AnAcceleratorWhileAPopupIsUpOnlyClosesIt) {
  HWND popup = OpenPopup(100, 100)->GetSafeHwnd();
  const UINT before = CPlxToolBar::m_commandUsage.GetCount(57603);
  EXPECT_TRUE(frame.OnCommand(MAKEWPARAM(57603, 1), 0));
  pictavo::test::PumpPending();
  EXPECT_FALSE(IsOpen(popup));
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(57603), before + 1) << "the use still counts";
}

namespace {

// A button with a control of its own (an edit box) that holds the focus when told to.
class CFocusButton : public CPlxToolbarButton {
 public:
  BOOL HasFocus() const override { return focused; }
  BOOL focused = FALSE;
};

}  // namespace

// A key typed into a control on a bar reaches the control untranslated.
TEST_F(FrameCoreInput, KeysForAControlOnABarAreNotAccelerators) {
  frame.m_hAccelTable = FrameKeys();
  auto* edit = new CFocusButton;
  edit->m_nID = 500;
  ASSERT_GE(bar.InsertButtonObject(edit), 0);
  const UINT before = CPlxToolBar::m_commandUsage.GetCount(57603);
  SetKey(VK_CONTROL, true);
  for (BOOL focused : {FALSE, TRUE}) {
    edit->focused = focused;
    MSG msg{frame.GetSafeHwnd(), WM_KEYDOWN, 'S', 1};
    const BOOL translated = frame.PreTranslateMessage(&msg);
    EXPECT_EQ(translated, !focused) << "focused " << focused;
    EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(57603), before + 1)
        << "only the first Ctrl+S is a command; focused " << focused;
  }
  SetKey(VK_CONTROL, false);
}

// A popup opened from a docked bar's button gives that bar the focus, so the keys move along it.
TEST_F(FrameCoreInput, OpeningFromABarFocusesThatBar) {
  ::SetFocus(frame.GetSafeHwnd());
  CPlxPopupMenu* popup = OpenFromBar();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(CPlxPopupMenu::m_pActiveTracked, popup);
  EXPECT_EQ(::GetFocus(), bar.GetSafeHwnd());
  popup->SendMessage(WM_CLOSE);
  pictavo::test::PumpPending();
}

// The frame's own messages: mnemonics through WM_MENUCHAR, bars made and deleted by the
// registered toolbar messages.
TEST_F(FrameCoreInput, MenuCharAndTheToolbarMessagesReachTheCore) {
  menuBar.taken = "F";
  EXPECT_EQ(frame.SendMessage(WM_MENUCHAR, 'F', 0), MAKELRESULT(2, 0xFFFF));
  EXPECT_NE(frame.SendMessage(WM_MENUCHAR, 'Z', 0), MAKELRESULT(2, 0xFFFF));

  ASSERT_TRUE(frame.m_Impl.EnableUserDefinedToolbars(3000, 3001));
  auto* made = reinterpret_cast<CPlxToolBar*>(
      frame.SendMessage(PLX_WM_CREATETOOLBAR, 0, reinterpret_cast<LPARAM>("Made")));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetDlgCtrlID(), 3000);
  EXPECT_EQ(frame.SendMessage(PLX_WM_DELETETOOLBAR, 0, reinterpret_cast<LPARAM>(made)), TRUE);
  EXPECT_EQ(frame.SendMessage(PLX_WM_DELETETOOLBAR, 0, reinterpret_cast<LPARAM>(&bar)), FALSE);
}
