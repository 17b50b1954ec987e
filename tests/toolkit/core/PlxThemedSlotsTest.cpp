// The Windows-XP manager with a visual-styles module present: which theme part and state each
// themed slot asks for, and that a slot whose theme class does not open falls back to the
// Office-XP drawing. The module is a recording stand-in built with the tests.
#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <string>

#include "platform/kernel/Library.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/StatusBar.h"
#include "tests/support/Canvas.h"
#include "tests/toolkit/core/ButtonStates.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxHeaderCtrl.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/customize/PlxMenuButton.h"
#include "toolkit/customize/PlxTaskRecords.h"

namespace {

using pictavo::test::StatefulButton;

std::string RecorderPath() {
  char exe[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  std::string path(exe, n > 0 ? static_cast<size_t>(n) : 0);
  return path.substr(0, path.find_last_of('/')) + "/theme-recorder/UxTheme.dll";
}

class PlxThemedSlots : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = RecorderPath();
    m_module = LoadLibrary(m_path.c_str());
    ASSERT_NE(m_module, nullptr) << m_path;
    m_calls = reinterpret_cast<const char* (*)()>(GetProcAddress(m_module, "RecordedThemeCalls"));
    m_reset = reinterpret_cast<void (*)()>(GetProcAddress(m_module, "ResetThemeCalls"));
    m_closed = reinterpret_cast<void (*)(const wchar_t*)>(GetProcAddress(m_module, "SetClosedThemeClasses"));
    m_closed(L"");
    CPlxThemeWrapper::s_lpszThemeLibrary = m_path.c_str();
  }
  void TearDown() override {
    CPlxThemeWrapper::s_lpszThemeLibrary = "UxTheme.dll";
    if (m_module != nullptr) FreeLibrary(m_module);
  }
  // What one drawing asked of the module, every line a call.
  template <typename Draw>
  std::string Record(CPlxWinXPVisualManager& vm, Draw draw) {
    m_reset();
    pictavo::test::Canvas canvas(40, 40);
    CDC dc;
    dc.Attach(canvas.Dc());
    draw(vm, dc);
    dc.Detach();
    return m_calls();
  }

  std::string m_path;
  HMODULE m_module = nullptr;
  const char* (*m_calls)() = nullptr;
  void (*m_reset)() = nullptr;
  void (*m_closed)(const wchar_t*) = nullptr;
};

const CRect kRect(2, 2, 30, 30);

}  // namespace

TEST_F(PlxThemedSlots, EachSlotAsksForItsPartAndState) {
  CPlxWinXPVisualManager vm(TRUE);
  ASSERT_TRUE(vm.IsWinXPThemeActive());
  CPlxToolBar bar;
  CPlxHeaderCtrl header;
  struct Case {
    const char* what;
    std::function<void(CPlxWinXPVisualManager&, CDC&)> draw;
    const char* expected;
  };
  auto fill = [&bar](CPlxWinXPVisualManager& m, CDC& dc, UINT style, PlxButtonState state) {
    CPlxToolbarButton b;
    b.m_nID = 1;
    b.m_nStyle = style;
    b.m_pWndParent = &bar;
    m.OnFillButtonInterior(&dc, &b, kRect, state);
  };
  const Case kCases[] = {
      {"plain toolbar button, hot", [&](auto& m, CDC& dc) { fill(m, dc, 0, PlxButtonHighlighted); },
       "TOOLBAR 1 2\n"},
      {"pressed toolbar button, hot",
       [&](auto& m, CDC& dc) { fill(m, dc, TBBS_PRESSED, PlxButtonHighlighted); }, "TOOLBAR 1 3\n"},
      {"checked toolbar button and checked hot",
       [&](auto& m, CDC& dc) {
         fill(m, dc, TBBS_CHECKED, PlxButtonNormal);
         fill(m, dc, TBBS_CHECKED, PlxButtonHighlighted);
       },
       "TOOLBAR 1 5\nTOOLBAR 1 6\n"},
      {"disabled toolbar button", [&](auto& m, CDC& dc) { fill(m, dc, TBBS_DISABLED, PlxButtonNormal); },
       "TOOLBAR 1 4\n"},
      {"toolbar button border draws nothing themed",
       [&](auto& m, CDC& dc) {
         CPlxToolbarButton b;
         b.m_nID = 1;
         b.m_nStyle = 0;
         b.m_pWndParent = &bar;
         m.OnDrawButtonBorder(&dc, &b, kRect, PlxButtonPressed);
       },
       ""},
      {"separators",
       [&](auto& m, CDC& dc) {
         m.OnDrawSeparator(&dc, &bar, kRect, TRUE);
         m.OnDrawSeparator(&dc, &bar, kRect, FALSE);
       },
       "TOOLBAR 5 0\nTOOLBAR 6 0\n"},
      {"gripper of a horizontal bar", [&](auto& m, CDC& dc) { m.OnDrawBarGripper(&dc, kRect, TRUE, &bar); },
       "REBAR 1 0\n"},
      {"combo drop button: disabled, dropped, hot, normal",
       [&](auto& m, CDC& dc) {
         m.OnDrawComboDropButton(&dc, kRect, TRUE, TRUE, TRUE, nullptr);
         m.OnDrawComboDropButton(&dc, kRect, FALSE, TRUE, TRUE, nullptr);
         m.OnDrawComboDropButton(&dc, kRect, FALSE, FALSE, TRUE, nullptr);
         m.OnDrawComboDropButton(&dc, kRect, FALSE, FALSE, FALSE, nullptr);
       },
       "COMBOBOX 1 4\nCOMBOBOX 1 3\nCOMBOBOX 1 2\nCOMBOBOX 1 1\n"},
      {"header item: pressed, hot, normal",
       [&](auto& m, CDC& dc) {
         CRect r = kRect;
         m.OnDrawHeaderCtrlBorder(&header, &dc, r, TRUE, TRUE);
         m.OnDrawHeaderCtrlBorder(&header, &dc, r, FALSE, TRUE);
         m.OnDrawHeaderCtrlBorder(&header, &dc, r, FALSE, FALSE);
       },
       "HEADER 1 3\nHEADER 1 2\nHEADER 1 1\n"},
      {"status pane with and without borders",
       [&](auto& m, CDC& dc) {
         m.OnDrawStatusBarPaneBorder(&dc, nullptr, kRect, 0, SBPS_NORMAL);
         m.OnDrawStatusBarPaneBorder(&dc, nullptr, kRect, 0, SBPS_NOBORDERS);
       },
       "STATUS 1 0\n"},
      {"status progress: bar, chunk",
       [&](auto& m, CDC& dc) { m.OnDrawStatusBarProgress(&dc, nullptr, kRect, 10, 5, 0, -1, -1, FALSE); },
       "PROGRESS 1 0\nPROGRESS 3 0\n"},
      {"size box", [&](auto& m, CDC& dc) { m.OnDrawStatusBarSizeBox(&dc, nullptr, kRect); },
       "SCROLLBAR 10 1\n"},
      {"spin: upper pressed and lower hot, then disabled",
       [&](auto& m, CDC& dc) {
         m.OnDrawSpinButtons(&dc, kRect, 0x1 | 0x8, FALSE, nullptr);
         m.OnDrawSpinButtons(&dc, kRect, 0x10, TRUE, nullptr);
       },
       "SPIN 1 3\nSPIN 2 2\nSPIN 3 4\nSPIN 4 4\n"},
      {"menu system buttons: minimise hot pressed, close disabled, restore, other",
       [&](auto& m, CDC& dc) {
         m.OnDrawMenuSystemButton(&dc, kRect, SC_MINIMIZE, TBBS_PRESSED, TRUE);
         m.OnDrawMenuSystemButton(&dc, kRect, SC_CLOSE, TBBS_DISABLED, TRUE);
         m.OnDrawMenuSystemButton(&dc, kRect, SC_RESTORE, 0, FALSE);
         m.OnDrawMenuSystemButton(&dc, kRect, SC_MAXIMIZE, 0, FALSE);
       },
       "WINDOW 16 3\nWINDOW 20 4\nWINDOW 22 1\n"},
      {"menu button split line",
       [&](auto& m, CDC& dc) {
         CPlxToolbarMenuButton b(1, nullptr, -1);
         m.OnDrawMenuButtonBorder(&dc, &b, kRect, PlxButtonNormal, FALSE);
       },
       "TOOLBAR 6 0\n"},
      {"tasks pane background and area borders",
       [&](auto& m, CDC& dc) {
         m.OnFillTasksPaneBackground(&dc, kRect);
         m.OnDrawTasksGroupAreaBorder(&dc, kRect, TRUE);
         m.OnDrawTasksGroupAreaBorder(&dc, kRect, FALSE);
       },
       "EXPLORERBAR 1 0\nEXPLORERBAR 9 0\nEXPLORERBAR 5 0\n"},
      {"collapsed special group caption, hot",
       [&](auto& m, CDC& dc) {
         CPlxTasksGroup group;
         group.m_strName = "Tasks";
         group.m_rect = CRect(0, 0, 36, 20);
         group.m_bIsSpecial = TRUE;
         group.m_bIsCollapsed = TRUE;
         m.OnDrawTasksGroupCaption(&dc, &group, TRUE, FALSE, TRUE);
       },
       "EXPLORERBAR 12 0\nEXPLORERBAR 11 2\n"},
  };
  for (const Case& c : kCases) EXPECT_EQ(Record(vm, c.draw), c.expected) << c.what;
}

TEST_F(PlxThemedSlots, PushButtonsAskForTheirStates) {
  CPlxWinXPVisualManager vm(TRUE);
  StatefulButton<> normal, hot, pressed, checked;
  hot.Show(FALSE, TRUE);
  pressed.Show(TRUE, TRUE);
  checked.Show(FALSE, FALSE, TRUE);
  StatefulButton<CPlxMenuButton> captionLook;
  captionLook.m_bOpaqueFace = captionLook.m_bCaptionButtonLook = TRUE;
  captionLook.Show(FALSE, TRUE);
  struct Case {
    const char* what;
    std::function<void(CPlxWinXPVisualManager&, CDC&)> draw;
    const char* expected;
  };
  const Case kCases[] = {
      {"themed push button: normal, hot, pressed, checked",
       [&](auto& m, CDC& dc) {
         for (CPlxButton* b : {&normal, &hot, &pressed, &checked})
           EXPECT_TRUE(m.DrawPushButtonWinXP(&dc, kRect, b, 0));
       },
       "BUTTON 1 1\nBUTTON 1 2\nBUTTON 1 3\nBUTTON 1 3\n"},
      // The border slot swaps the normal and hot states and leaves the normal one unpainted.
      {"push-button border: normal, hot, pressed",
       [&](auto& m, CDC& dc) {
         for (CPlxButton* b : {&normal, &hot, &pressed}) {
           CRect r = kRect;
           m.OnDrawPushButtonBorder(&dc, r, b, 0);
         }
       },
       "BUTTON 1 1\nBUTTON 1 3\n"},
      {"push-button face is left to the border",
       [&](auto& m, CDC& dc) { m.OnFillPushButtonBackground(&dc, kRect, &hot); }, ""},
      {"button frame: plain, then a caption-look menu button",
       [&](auto& m, CDC& dc) {
         CRect r = kRect;
         m.OnDrawButtonFrame(&dc, r, &normal);
         m.OnDrawButtonFrame(&dc, r, &captionLook);
       },
       "BUTTON 1 1\nWINDOW 19 2\n"},
      {"tab button border, pressed",
       [&](auto& m, CDC& dc) {
         CRect r = kRect;
         m.OnDrawTabsButtonBorder(&dc, r, &pressed, 0, nullptr);
       },
       "TOOLBAR 1 3\n"},
  };
  for (const Case& c : kCases) EXPECT_EQ(Record(vm, c.draw), c.expected) << c.what;
  EXPECT_TRUE(vm.IsThemedButton(&captionLook));
  EXPECT_FALSE(vm.IsThemedButton(&hot));
}

TEST_F(PlxThemedSlots, TheButtonsFrameComesFromTheThemeWithoutThePressedShift) {
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  ASSERT_TRUE(CPlxVisualManager::GetInstance()->IsWinXPThemeActive());
  const BOOL bWasEnabled = CPlxButton::IsWinXPThemeEnabled();
  CPlxButton::EnableWinXPTheme(TRUE);
  StatefulButton<> pressed;
  pressed.Show(TRUE, TRUE);
  m_reset();
  pictavo::test::Canvas canvas(40, 40);
  CDC dc;
  dc.Attach(canvas.Dc());
  CRect rect = kRect;
  pressed.DrawButtonFrame(&dc, rect, 0);
  dc.Detach();
  EXPECT_EQ(std::string(m_calls()), "BUTTON 1 3\n");
  EXPECT_EQ(rect, CRect(4, 4, 28, 28));
  CPlxButton::EnableWinXPTheme(bWasEnabled);
  CPlxVisualManager::SetDefaultManager(nullptr);
  g_plxGlobalData.UpdateSysColors();
}

TEST_F(PlxThemedSlots, ColoursAndTheSchemeComeFromTheModule) {
  CPlxWinXPVisualManager vm(TRUE);
  // "Luna" with the "HomeStead" colour is the olive scheme; the module answers the button
  // property with a colour, not with 1.
  EXPECT_EQ(vm.GetWinXPColorScheme(), 2);
  EXPECT_EQ(vm.GetButtonExtraBorder(), CSize(2, 2));
  m_reset();
  vm.OnUpdateSystemColors();
  EXPECT_NE(std::string(m_calls()).find("color TOOLBAR 1 0 3803"), std::string::npos);
  EXPECT_EQ(g_plxGlobalData.clrBarText, 0x00123456u);
  EXPECT_FALSE(vm.m_bShadowHighlightedImage);
  g_plxGlobalData.UpdateSysColors();
}

TEST_F(PlxThemedSlots, AClassThatDoesNotOpenFallsBackToTheOfficeXPLook) {
  m_closed(L";COMBOBOX;SPIN;WINDOW;BUTTON;");
  CPlxWinXPVisualManager vm(TRUE);
  StatefulButton<> hot;
  hot.Show(FALSE, TRUE);
  EXPECT_FALSE(vm.IsWinXPThemeActive());
  EXPECT_EQ(vm.GetButtonExtraBorder(), CSize(0, 0));
  pictavo::test::Canvas themed(40, 40), officeXP(40, 40);
  CPlxVisualManagerXP reference(TRUE);
  for (auto [manager, canvas] :
       {std::pair<CPlxVisualManager*, pictavo::test::Canvas*>{&vm, &themed}, {&reference, &officeXP}}) {
    CDC dc;
    dc.Attach(canvas->Dc());
    manager->OnDrawComboDropButton(&dc, CRect(2, 2, 18, 20), FALSE, FALSE, TRUE, nullptr);
    manager->OnDrawSpinButtons(&dc, CRect(20, 2, 36, 30), 1, FALSE, nullptr);
    CRect button(2, 22, 18, 38);
    manager->OnFillPushButtonBackground(&dc, button, &hot);
    manager->OnDrawPushButtonBorder(&dc, button, &hot, 0);
    manager->OnDrawButtonFrame(&dc, button, &hot);
    dc.Detach();
  }
  EXPECT_EQ(themed.Pixels(), officeXP.Pixels());
  m_reset();
  pictavo::test::Canvas canvas(40, 40);
  CDC dc;
  dc.Attach(canvas.Dc());
  vm.OnDrawComboDropButton(&dc, CRect(2, 2, 18, 20), FALSE, FALSE, TRUE, nullptr);
  dc.Detach();
  EXPECT_EQ(std::string(m_calls()), "");
}

TEST(PlxThemedSlotsWithoutModule, NoThemeMeansClassicAnswers) {
  CPlxWinXPVisualManager vm(TRUE);
  EXPECT_FALSE(vm.IsWinXPThemeActive());
  EXPECT_EQ(vm.GetWinXPColorScheme(), -1);
  pictavo::test::Canvas canvas(40, 40);
  CDC dc;
  dc.Attach(canvas.Dc());
  EXPECT_FALSE(vm.DrawComboDropButton(&dc, CRect(0, 0, 10, 10), FALSE, FALSE, FALSE));
  EXPECT_FALSE(vm.DrawProgressBar(&dc, nullptr, CRect(0, 0, 10, 10), 0, 0, 0, 0, 0, FALSE));
  dc.Detach();
}
