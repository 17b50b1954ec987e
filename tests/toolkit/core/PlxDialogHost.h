// Test hosts of the toolkit dialogs: a toolkit dialog from a template whose button opens a popup
// menu beside it, an owner window that counts the clicks it gets, and a message pump that runs
// the framework's PreTranslateMessage walk as the application's loop does.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/WinThread.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Menu.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

namespace dialogtest {

constexpr UINT kDialogId = 64860;
constexpr UINT kMenuButton = 64861;
constexpr UINT kLabel = 64862;
constexpr UINT kEdit = 64863;
constexpr UINT kEditMenu = 64870;
constexpr UINT kCut = 64871, kCopy = 64872, kPaste = 64873, kSelectAll = 64874;
constexpr UINT kViewMenu = 64875;
constexpr UINT kViewMenuName = 64880;
constexpr UINT kBarTemplate = 64865;
constexpr UINT kBarEdit = 64867, kBarFind = 64868;

// Handles what is queued, each message through the framework's PreTranslateMessage walk first.
inline void Pump() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  }
}

// A popup menu ignores the first move it sees, so the pointer comes in two steps, as a hand's does.
inline void Click(CPoint point, pictavo::user::MouseButton button = pictavo::user::MouseButton::kLeft) {
  pictavo::user::InjectMouseMove(point + CPoint(1, 1));
  Pump();
  pictavo::user::InjectMouseMove(point);
  Pump();
  pictavo::user::InjectMouseButton(button, true);
  Pump();
  pictavo::user::InjectMouseButton(button, false);
  Pump();
}

// A top-level window that counts the presses it gets; it owns the dialogs of the tests.
class CClickCounter : public CWnd {
 public:
  BOOL Make(const CRect& rect) {
    return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                    "Owner", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
  }
  int presses = 0;
  std::vector<UINT> commands;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LBUTTONDOWN) ++presses;
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// The toolkit dialog of the tests: its button opens the edit menu beside the dialog's right edge,
// reporting to the dialog, which records the commands that reach it.
class CMenuDialog : public CPlxDialog {
 public:
  CMenuDialog() : CPlxDialog(kDialogId) { m_hMenu = ::LoadMenu(nullptr, MAKEINTRESOURCE(kEditMenu)); }
  ~CMenuDialog() override {
    if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
  }

  // The popup of the edit menu with its top-left corner at the point (screen), or null.
  CPlxPopupMenu* OpenMenuAt(CPoint point) {
    auto* popup = new CPlxPopupMenu;
    popup->SetAutoDestroy(FALSE);
    if (!popup->Create(this, point.x, point.y, ::GetSubMenu(m_hMenu, 0), FALSE, TRUE)) return nullptr;
    m_hwndPopup = popup->GetSafeHwnd();
    return popup;
  }
  // Beside the dialog: 20 pixels right of its window, level with its top.
  CPoint MenuPoint() const {
    CRect rect;
    GetWindowRect(rect);
    return CPoint(rect.right + 20, rect.top);
  }

  std::vector<UINT> commands;
  HMENU m_hMenu = nullptr;
  HWND m_hwndPopup = nullptr;  // the last popup the button opened

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nCode == CN_COMMAND && pHandlerInfo == nullptr) {
      if (nID == kMenuButton) {
        OpenMenuAt(MenuPoint());
        return TRUE;
      }
      if (nID >= kCut && nID <= kSelectAll) {
        commands.push_back(nID);
        return TRUE;
      }
    }
    return CPlxDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
};

// Shared set-up of the headless desktop, the resources and a still popup menu.
class DialogHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
    CPlxMenuBar::m_bShowAllCommands = FALSE;
    ASSERT_TRUE(owner.Make(CRect(0, 0, 800, 600)));
  }
  void TearDown() override {
    if (dialog != nullptr) {
      if (dialog->GetSafeHwnd() != nullptr) dialog->DestroyWindow();
      delete dialog;
      dialog = nullptr;
    }
    owner.DestroyWindow();
    Pump();
    // The toolbars' shared images stay: dropping them also drops the drawing DCs the image
    // strips of later tests share.
    CPlxMenuGlyphs::CleanUp();
    CPlxVisualManager::DestroyInstance();
    CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
  }

  // The dialog, owned by the counting window, at (100, 100) of the screen.
  CMenuDialog* MakeDialog() {
    dialog = new CMenuDialog;
    if (!dialog->Create(kDialogId, &owner)) return nullptr;
    dialog->SetWindowPos(nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    dialog->ShowWindow(SW_SHOW);
    Pump();
    return dialog;
  }
  CPlxPopupMenu* OpenMenu() {
    CPlxPopupMenu* popup = dialog->OpenMenuAt(dialog->MenuPoint());
    Pump();
    return popup;
  }

  CClickCounter owner;
  CMenuDialog* dialog = nullptr;
};

}  // namespace dialogtest
