// A toolkit frame with a toolbar of colour menu buttons, for the colour bar tests: the frame
// records the commands that reach it and answers the document-colour request; helpers open a
// button's colour popup and click a colour bar's cells the way the mouse does.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/comctl/Tooltip.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxColorPopup.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxColorMenuButton.h"

namespace colortest {

class CColorFrame : public CPlxFrameWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    return CPlxFrameWnd::OnCommand(wParam, lParam);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && message == PLX_WM_GETDOCUMENTCOLORS) {
      auto* list = reinterpret_cast<CList<COLORREF, COLORREF>*>(lParam);
      for (COLORREF color : documentColors) list->AddTail(color);
      return 0;
    }
    if (message == WM_SETMESSAGESTRING) prompts.push_back(static_cast<UINT>(wParam));
    return CPlxFrameWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<UINT> commands;
  std::vector<UINT> prompts;  // WM_SETMESSAGESTRING ids
  std::vector<COLORREF> documentColors;
};

// A colour menu button whose colour dialog answers as the test says, and may destroy the popup
// it was opened from while it "runs" (as a dialog's own loop can).
class CScriptedColorButton : public CPlxColorMenuButton {
 public:
  using CPlxColorMenuButton::CPlxColorMenuButton;
  BOOL RunColorDialog(COLORREF colorIn, COLORREF& colorOut) override {
    ++dialogs;
    dialogInitial = colorIn;
    tipShown = FALSE;
    for (HWND w = ::GetTopWindow(nullptr); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
      char name[64] = {};
      ::GetClassName(w, name, sizeof name);
      if (std::string(name) == TOOLTIPS_CLASS && ::IsWindowVisible(w)) tipShown = TRUE;
    }
    if (destroyPopup && m_pPopupMenu != nullptr) m_pPopupMenu->DestroyWindow();
    if (!answer) return FALSE;
    colorOut = chosen;
    return TRUE;
  }
  BOOL answer = FALSE;
  COLORREF chosen = 0;
  BOOL destroyPopup = FALSE;
  int dialogs = 0;
  COLORREF dialogInitial = 0;
  BOOL tipShown = FALSE;  // a tooltip was on screen while the dialog ran
};

class ColorBarFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    if (PLX_WM_TOOLBARMENU == 0) PlxRegisterToolbarMessages();
  }
  void SetUp() override {
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    CPlxMenuBar::m_bMenuShadows = FALSE;
    CPlxColorMenuButton::m_ColorsByID.RemoveAll();
    ASSERT_TRUE(frame.Create(nullptr, "Colours", WS_POPUP | WS_VISIBLE, CRect(0, 0, 420, 320)));
    ASSERT_TRUE(toolbar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001));
    toolbar.SetWindowPos(nullptr, 0, 0, 420, 26, SWP_NOZORDER);
  }
  void TearDown() override {
    pictavo::test::PumpPending();
    toolbar.DestroyWindow();
    frame.DestroyWindow();
    pictavo::test::PumpPending();
    CPlxMenuGlyphs::CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
    CPlxMenuBar::m_bMenuShadows = TRUE;
    CPlxToolBar::m_bCustomizeMode = FALSE;
  }

  // Puts the new button on the toolbar (which owns it from then on).
  template <class Button>
  Button* AddButton(Button* button) {
    EXPECT_GE(toolbar.InsertButtonObject(button), 0);
    toolbar.AdjustLayout();
    return button;
  }

  // Opens the button's popup; its colour bar, or null.
  static CPlxColorBar* Open(CPlxColorMenuButton* button, CWnd* bar) {
    if (!button->OpenPopupMenu(bar)) return nullptr;
    pictavo::test::PumpPending();
    auto* popup = dynamic_cast<CColorPopup*>(button->GetPopupMenu());
    return popup != nullptr ? &popup->m_colorBar : nullptr;
  }

  // The first cell for which `pick` holds, and its index; -1 when none.
  template <class Pick>
  static int FindCell(CPlxColorBar* bar, Pick pick) {
    for (int i = 0; i < bar->GetCount(); ++i) {
      auto* cell = dynamic_cast<CPlxToolBarColorButton*>(bar->GetButton(i));
      if (cell != nullptr && pick(*cell)) return i;
    }
    return -1;
  }
  static CPlxToolBarColorButton* Cell(CPlxColorBar* bar, int index) {
    return dynamic_cast<CPlxToolBarColorButton*>(bar->GetButton(index));
  }

  // Moves over the cell, presses and releases on it, as the mouse does.
  static void Click(CPlxColorBar* bar, int index) {
    const CPoint point = bar->GetButton(index)->m_rect.CenterPoint();
    const LPARAM at = MAKELPARAM(point.x, point.y);
    const HWND hwnd = bar->GetSafeHwnd();
    ::SendMessage(hwnd, WM_MOUSEMOVE, 0, at);
    ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    if (::IsWindow(hwnd)) ::SendMessage(hwnd, WM_LBUTTONUP, 0, at);
    pictavo::test::PumpPending();
  }

  CColorFrame frame;
  CPlxToolBar toolbar;
};

// Twenty colours of a ramp, none of them the default palette's.
inline CArray<COLORREF, COLORREF>& Ramp(CArray<COLORREF, COLORREF>& colors, int count) {
  colors.SetSize(count);
  for (int i = 0; i < count; ++i) colors[i] = RGB(10 + i * 11, 250 - i * 9, (i * 37) % 256);
  return colors;
}

}  // namespace colortest
