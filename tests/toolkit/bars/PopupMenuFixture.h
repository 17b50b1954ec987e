// A toolkit frame with a menu bar item that opens popup menus, for the popup menu tests: the frame
// records the commands that reach it and the popups it was told about.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Menu.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

namespace popuptest {

class CRecordingFrame : public CPlxFrameWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    return CPlxFrameWnd::OnCommand(wParam, lParam);
  }
  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu) override {
    if (pMenu != nullptr) ++shown;
    return refuse ? FALSE : CPlxFrameWnd::OnShowPopupMenu(pMenu);
  }
  std::vector<UINT> commands;
  int shown = 0;
  BOOL refuse = FALSE;
};

// Menu texts by position.
inline std::string MenuText(HMENU menu, int i) {
  char buffer[256] = {};
  ::GetMenuString(menu, i, buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

class PopupMenuFixture : public shelltest::RegistryFixture {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    CPlxPopupMenuBar::m_nMenuShowDelay = 400;
    CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
    CPlxMenuBar::m_bShowAllCommands = FALSE;
    ASSERT_TRUE(frame->Create(nullptr, "Menus", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 400)));
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
    bar.SetWindowPos(nullptr, 0, 0, 500, 24, SWP_NOZORDER);
  }
  void TearDown() override {
    for (CPlxToolbarMenuButton* item : items) {
      item->OnCancelMode();
      delete item;
    }
    items.clear();
    pictavo::test::PumpPending();
    bar.DestroyWindow();
    frame->DestroyWindow();
    pictavo::test::PumpPending();
    CPlxMenuGlyphs::CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
    CPlxMenuBar::m_bRecentlyUsedMenus = TRUE;
  }

  // A top-level item on the bar at (x, 0) that opens hMenu (copied; the caller keeps hMenu).
  CPlxToolbarMenuButton* AddItem(HMENU hMenu, LPCTSTR text, int x = 10) {
    auto* item = new CPlxToolbarMenuButton(0, hMenu, -1, text);
    item->OnChangeParentWnd(&bar);
    item->m_rect = CRect(x, 0, x + 50, 22);
    items.push_back(item);
    return item;
  }

  // Opens the item's popup and waits until it has laid out.
  CPlxPopupMenu* Open(CPlxToolbarMenuButton* item) {
    if (!item->OpenPopupMenu(&bar)) return nullptr;
    pictavo::test::PumpPending();
    return item->GetPopupMenu();
  }

  CRecordingFrame frameObject;
  CRecordingFrame* frame = &frameObject;
  CPlxToolBar bar;
  std::vector<CPlxToolbarMenuButton*> items;
};

}  // namespace popuptest
