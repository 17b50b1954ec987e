// Facts of the classic and Office-XP slots a caller notices: what is drawn or left alone, the
// colours answered, the progress that stops at its total, and the global data's small services.
#include <gtest/gtest.h>

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/StatusBar.h"
#include "tests/support/Canvas.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManagerXP.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::InkOf;

// Draws on a white canvas with an attached CDC.
template <typename Draw>
void On(Canvas& canvas, Draw draw) {
  CDC dc;
  dc.Attach(canvas.Dc());
  draw(dc);
  dc.Detach();
}

}  // namespace

TEST(PlxClassicSlots, ProgressFillsItsShareAndStopsAtTheTotal) {
  CPlxVisualManager vm(TRUE);
  const COLORREF bar = RGB(0, 0, 200);
  struct Case {
    int total, current, right;
  };
  const Case kCases[] = {{0, 5, 0}, {100, 50, 60}, {100, 100, 110}, {100, 150, 110}, {100, -20, 0}};
  for (const Case& c : kCases) {
    Canvas canvas(120, 20);
    On(canvas, [&](CDC& dc) {
      vm.OnDrawStatusBarProgress(&dc, nullptr, CRect(10, 2, 110, 18), c.total, c.current, bar, (COLORREF)-1,
                                 (COLORREF)-1, FALSE);
    });
    const auto ink = InkOf(canvas);
    EXPECT_EQ(ink.Empty() ? 0 : ink.right, c.right) << c.current << " of " << c.total;
  }
}

TEST(PlxClassicSlots, WhatIsLeftUndrawn) {
  CPlxVisualManager vm(TRUE);
  CPlxToolBar bar;
  CPlxToolbarButton disabled;
  disabled.m_nID = 1;
  disabled.m_nStyle = TBBS_DISABLED;
  disabled.m_pWndParent = &bar;
  Canvas canvas(40, 40);
  On(canvas, [&](CDC& dc) {
    vm.OnDrawButtonBorder(&dc, &disabled, CRect(2, 2, 30, 30), PlxButtonPressed);
    vm.OnDrawMenuSystemButton(&dc, CRect(2, 2, 30, 30), SC_MAXIMIZE, 0, TRUE);
    vm.OnDrawStatusBarPaneBorder(&dc, nullptr, CRect(2, 2, 30, 30), 0, SBPS_NOBORDERS);
    vm.OnDrawComboBorder(&dc, CRect(2, 2, 30, 30), FALSE, FALSE, FALSE, nullptr);
  });
  EXPECT_TRUE(InkOf(canvas).Empty());

  // A bar without border bits keeps its rectangle.
  CRect rect(0, 0, 30, 20);
  bar.m_dwStyle = CBRS_ALIGN_TOP;
  On(canvas, [&](CDC& dc) { vm.OnDrawBarBorder(&dc, &bar, rect); });
  EXPECT_EQ(rect, CRect(0, 0, 30, 20));
}

TEST(PlxClassicSlots, SpinStateThreePressesNeitherHalf) {
  CPlxVisualManager vm(TRUE);
  Canvas none(20, 30), both(20, 30);
  On(none, [&](CDC& dc) { vm.OnDrawSpinButtons(&dc, CRect(0, 0, 20, 30), 0, FALSE, nullptr); });
  On(both, [&](CDC& dc) { vm.OnDrawSpinButtons(&dc, CRect(0, 0, 20, 30), 3, FALSE, nullptr); });
  EXPECT_EQ(none.Pixels(), both.Pixels());
}

TEST(PlxClassicSlots, GripperBands) {
  // Two 3-pixel bands four apart, or one band with the simplified look.
  for (BOOL look2000 : {FALSE, TRUE}) {
    CPlxVisualManager vm(TRUE);
    vm.m_bLook2000 = look2000;
    const COLORREF background = RGB(255, 0, 255);
    Canvas canvas(20, 30, background);
    On(canvas, [&](CDC& dc) { vm.OnDrawBarGripper(&dc, CRect(0, 0, 20, 30), TRUE, nullptr); });
    const auto ink = InkOf(canvas, background);
    EXPECT_EQ(ink.right - ink.left, look2000 ? 3 : 7) << look2000;
  }
}

TEST(PlxClassicSlots, TextColours) {
  CPlxVisualManager vm(TRUE);
  const PlxGlobalData& g = g_plxGlobalData;
  CPlxToolbarMenuButton item(1, nullptr, -1);
  struct Case {
    BOOL highlighted, disabled;
    COLORREF expected;
  };
  const Case kCases[] = {{TRUE, FALSE, g.clrTextHilite},
                         {TRUE, TRUE, g.clrBtnFace},
                         {FALSE, FALSE, g.clrWindowText},
                         {FALSE, TRUE, g.clrGrayedText}};
  for (const Case& c : kCases)
    EXPECT_EQ(vm.GetMenuItemTextColor(&item, c.highlighted, c.disabled), c.expected)
        << c.highlighted << c.disabled;
  Canvas canvas(40, 20);
  On(canvas, [&](CDC& dc) {
    EXPECT_EQ(vm.OnFillCommandsListBackground(&dc, CRect(0, 0, 40, 20), TRUE), g.clrTextHilite);
    EXPECT_EQ(vm.OnFillCommandsListBackground(&dc, CRect(0, 0, 40, 20), FALSE), g.clrBarText);
  });
}

TEST(PlxOfficeXPSlots, AHotDisabledMenuItemKeepsTheMenuColourButIsFramed) {
  CPlxVisualManagerXP vm(TRUE);
  CPlxPopupMenuBar menu;
  CPlxToolbarMenuButton item(1, nullptr, -1);
  item.m_nStyle = TBBS_DISABLED;
  item.m_pWndParent = &menu;
  Canvas canvas(40, 20);
  COLORREF text = 0;
  On(canvas, [&](CDC& dc) { vm.OnHighlightMenuItem(&dc, &item, CRect(0, 0, 40, 20), text); });
  EXPECT_EQ(canvas.At(20, 10), vm.m_clrMenuFill);
  EXPECT_EQ(canvas.At(1, 0), vm.m_clrHotFrame);
  EXPECT_EQ(text, g_plxGlobalData.clrGrayedText);
}

TEST(PlxOfficeXPSlots, SpinSixPressesTheSecondHalfAndFramesTheFirst) {
  CPlxVisualManagerXP vm(TRUE);
  Canvas canvas(20, 30);
  On(canvas, [&](CDC& dc) { vm.OnDrawSpinButtons(&dc, CRect(0, 0, 20, 30), 6, FALSE, nullptr); });
  EXPECT_EQ(canvas.At(2, 27), vm.m_clrPressedFill);
  EXPECT_EQ(canvas.At(2, 2), vm.m_clrHotFill);
  EXPECT_EQ(canvas.At(0, 0), vm.m_clrHotFrame);
}

TEST(PlxGlobalDataServices, ClassesColoursAndHooks) {
  const CString first = g_plxGlobalData.RegisterWindowClass("PlxTest");
  EXPECT_EQ(g_plxGlobalData.RegisterWindowClass("PlxTest"), first);
  EXPECT_EQ(first.Left(8), "PlxTest:");
  EXPECT_EQ(g_plxGlobalData.GetColor(COLOR_INFOBK), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(g_plxGlobalData.GetAccessibleObjectResult(1, 2), 0);
  g_plxGlobalData.NotifyAccessibleEvent(1, nullptr, 0, 0);
  EXPECT_EQ(g_plxGlobalData.GetComCtlVersion(), 0x40000);
  EXPECT_EQ(g_plxGlobalData.GetRebarBandInfoSize(), 80);
  EXPECT_NE(g_plxGlobalData.fontRegular.GetSafeHandle(), nullptr);
  EXPECT_GT(g_plxGlobalData.nTextHeightHorz, 0);
  EXPECT_FALSE(g_plxGlobalData.rectVirtual.IsRectEmpty());
}
