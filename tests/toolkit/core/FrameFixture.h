// A toolkit frame on the headless display with a workspace, a menu bar that records the mnemonics
// it is offered and a toolbar with a menu button, for the frame core and frame class tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWorkspace.h"

namespace frametest {

// The application's state object with a profile of its own.
class CTestWorkspace : public CPlxWorkspace {
 public:
  CTestWorkspace() {
    // In the registry (not an ini file): the docking layout goes through the profile.
    free(const_cast<char*>(m_pszRegistryKey));
    m_pszRegistryKey = strdup("PictavoTests");
    free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = strdup("FrameTest");
  }
};

// A menu bar that takes the mnemonics it is told to and remembers every one it was offered.
class CRecordingMenuBar : public CPlxMenuBar {
 public:
  BOOL TranslateChar(UINT nChar) override {
    offered += static_cast<char>(nChar);
    return taken.find(static_cast<char>(nChar)) != std::string::npos;
  }
  std::string offered;
  std::string taken = "EF";
};

// A frame that counts the bar context-menu requests its dock bars send it.
class CTestFrame : public CPlxFrameWnd {
 public:
  int menuRequests = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && message == PLX_WM_TOOLBARMENU) {
      ++menuRequests;
      return 0;
    }
    return CPlxFrameWnd::WindowProc(message, wParam, lParam);
  }
};

// Presses or releases a key as the user would, leaving no key message behind in the queue (the
// tests hand the keys to the frame core themselves).
inline void SetKey(UINT vk, bool down) {
  pictavo::user::InjectKey({vk, down});
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
}

class FrameFixture : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    if (PLX_WM_TOOLBARMENU == 0) PlxRegisterToolbarMessages();
  }

  void SetUp() override {
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
    ASSERT_TRUE(frame.Create(nullptr, "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 400)));
    frame.EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(menuBar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE805));
    menuBar.SetWindowPos(nullptr, 0, 0, 500, 22, SWP_NOZORDER);
    if (frame.m_Impl.GetMenuBar() == nullptr) frame.m_Impl.SetMenuBar(&menuBar);
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
    bar.SetWindowPos(nullptr, 0, 24, 500, 24, SWP_NOZORDER);
    item = new CPlxToolbarMenuButton(0, nullptr, -1, "&Edit");
    item->OnChangeParentWnd(&bar);
    item->m_rect = CRect(10, 0, 60, 22);
    ::SetFocus(frame.GetSafeHwnd());
    pictavo::test::PumpPending();
  }

  void TearDown() override {
    for (UINT vk : {VK_MENU, VK_CONTROL, VK_SHIFT})
      if (::GetAsyncKeyState(static_cast<int>(vk)) < 0) SetKey(vk, false);
    CPlxToolBar::m_bCustomizeMode = FALSE;
    if (item != nullptr) item->OnCancelMode();
    pictavo::test::PumpPending();
    delete item;
    bar.DestroyWindow();
    menuBar.DestroyWindow();
    if (frame.GetSafeHwnd() != nullptr) frame.DestroyWindow();
    pictavo::test::PumpPending();
    CPlxPopupMenu::m_pActiveTracked = nullptr;
    CPlxKeyboardManager::CleanUp();
    CPlxMenuGlyphs::CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
    CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
  }

  // A menu of three commands.
  static HMENU ThreeCommands() {
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenu(menu, MF_STRING, 100, "&Undo");
    ::AppendMenu(menu, MF_STRING, 101, "&Cut");
    ::AppendMenu(menu, MF_STRING, 102, "&Paste");
    return menu;
  }

  // A popup of three commands at the screen point, with no opener; tracked as a tracking loop's.
  CPlxPopupMenu* OpenPopup(int x, int y, BOOL bTracked = FALSE) {
    HMENU menu = ThreeCommands();
    auto* popup = new CPlxPopupMenu;
    popup->m_bTrackMode = bTracked;
    const BOOL created = popup->Create(&frame, x, y, menu);
    ::DestroyMenu(menu);
    if (!created) return nullptr;
    pictavo::test::PumpPending();
    return popup;
  }

  // The popup of the toolbar's menu button (an opener on a bar).
  CPlxPopupMenu* OpenFromBar() {
    HMENU menu = ThreeCommands();
    item->CreateFromMenu(menu);
    ::DestroyMenu(menu);
    if (!item->OpenPopupMenu(&bar)) return nullptr;
    pictavo::test::PumpPending();
    return item->GetPopupMenu();
  }

  // Whether the popup of that window is still up (its object is gone once the window is).
  static bool IsOpen(HWND popup) { return popup != nullptr && ::IsWindow(popup); }

  CTestWorkspace workspace;
  CTestFrame frame;
  CRecordingMenuBar menuBar;
  CPlxToolBar bar;
  CPlxToolbarMenuButton* item = nullptr;
};

}  // namespace frametest
