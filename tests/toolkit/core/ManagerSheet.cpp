#include "tests/toolkit/core/ManagerSheet.h"

#include "platform/mfc/Dc.h"
#include "platform/mfc/StatusBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxHeaderCtrl.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxTabWnd.h"

namespace pictavo::test {

namespace {

void Tabs(CPlxVisualManager* vm, CDC& dc, CPlxTabWnd& tabs, const CRect& area, int width) {
  vm->OnEraseTabsArea(&dc, area, &tabs);
  CPen* pen = dc.SelectObject(&g_plxGlobalData.penBarShadow);
  CBrush* brush = dc.SelectObject(&g_plxGlobalData.brBarFace);
  dc.SetTextColor(g_plxGlobalData.clrBarText);
  for (int i = tabs.GetTabsNum() - 1; i >= 0; --i) {
    if (i == tabs.GetActiveTab()) continue;
    const CRect rect(area.left + 2 + i * width, area.top + 2, area.left + 2 + (i + 1) * width,
                     area.bottom - 2);
    vm->OnDrawTab(&dc, rect, i, FALSE, &tabs);
  }
  const int a = tabs.GetActiveTab();
  vm->OnDrawTab(
      &dc, CRect(area.left + 2 + a * width, area.top + 2, area.left + 2 + (a + 1) * width, area.bottom - 2),
      a, TRUE, &tabs);
  dc.SelectObject(brush);
  dc.SelectObject(pen);
}

}  // namespace

void PaintManagerSheet(CPlxVisualManager* vm, Canvas& canvas) {
  CDC dc;
  dc.Attach(canvas.Dc());
  CFont* font = dc.SelectObject(&g_plxGlobalData.fontRegular);
  dc.SetBkMode(TRANSPARENT);
  vm->OnFillDialogBackground(&dc, CRect(0, 0, kSheetWidth, kSheetHeight));

  // Flat tabs along the bottom of a page, the middle one active.
  CPlxTabWnd flat;
  flat.SetStyleFlags(CPlxTabWnd::TabStyleFlat);
  flat.m_location = CPlxTabWnd::LOCATION_BOTTOM;
  for (const char* label : {"One", "Two", "Six"}) flat.AddTab(label);
  flat.m_iActiveTab = 1;
  flat.m_nButtonsHeight = 16;
  flat.m_bScrollable = TRUE;
  flat.m_rectTabsArea = CRect(4, 4, 112, 26);
  Tabs(vm, dc, flat, flat.m_rectTabsArea, 34);

  // 3D tabs along the top, the first one active.
  CPlxTabWnd solid;
  solid.SetStyleFlags(CPlxTabWnd::TabStyle3D);
  solid.m_location = CPlxTabWnd::LOCATION_TOP;
  for (const char* label : {"Left", "Right", "Up"}) solid.AddTab(label);
  solid.m_iActiveTab = 0;
  solid.m_rectTabsArea = CRect(118, 4, 228, 26);
  Tabs(vm, dc, solid, solid.m_rectTabsArea, 35);

  // Spins: upper half pressed, lower half hot, a horizontal one with its right half pressed.
  vm->OnDrawSpinButtons(&dc, CRect(4, 32, 20, 54), 1, FALSE, nullptr);
  vm->OnDrawSpinButtons(&dc, CRect(24, 32, 40, 54), 8, FALSE, nullptr);
  vm->OnDrawSpinButtons(&dc, CRect(44, 35, 76, 51), 2, TRUE, nullptr);

  // Header items: plain with an ascending arrow, pressed, plain with a descending arrow.
  CPlxHeaderCtrl header;
  vm->OnFillHeaderCtrlBackground(&header, &dc, CRect(84, 32, 228, 52));
  CRect item(84, 32, 132, 52);
  vm->OnDrawHeaderCtrlBorder(&header, &dc, item, FALSE, FALSE);
  CRect arrow(118, 38, 126, 45);
  vm->OnDrawHeaderCtrlSortArrow(&header, &dc, arrow, TRUE);
  item = CRect(132, 32, 180, 52);
  vm->OnDrawHeaderCtrlBorder(&header, &dc, item, TRUE, TRUE);
  item = CRect(180, 32, 228, 52);
  vm->OnDrawHeaderCtrlBorder(&header, &dc, item, FALSE, TRUE);
  arrow = CRect(212, 38, 220, 45);
  vm->OnDrawHeaderCtrlSortArrow(&header, &dc, arrow, FALSE);

  // Combo drop buttons: normal, hot, dropped, disabled; a hot field with its border and button.
  for (int i = 0; i < 4; ++i)
    vm->OnDrawComboDropButton(&dc, CRect(4 + i * 18, 58, 18 + i * 18, 76), i == 3, i == 2, i == 1, nullptr);
  dc.FillSolidRect(CRect(80, 58, 150, 76), g_plxGlobalData.clrWindow);
  vm->OnDrawComboBorder(&dc, CRect(80, 58, 150, 76), FALSE, FALSE, TRUE, nullptr);
  vm->OnDrawComboDropButton(&dc, CRect(134, 60, 148, 74), FALSE, FALSE, TRUE, nullptr);

  // Status bar panes: sunken and popped out.
  dc.FillSolidRect(CRect(156, 58, 228, 76), g_plxGlobalData.clrBarFace);
  vm->OnDrawStatusBarPaneBorder(&dc, nullptr, CRect(158, 60, 190, 74), 0, SBPS_NORMAL);
  vm->OnDrawStatusBarPaneBorder(&dc, nullptr, CRect(194, 60, 226, 74), 0, SBPS_POPOUT);

  // A popup menu: a checked item, the hot item and a disabled one.
  CPlxPopupMenuBar menu;
  const CRect menuRect(4, 82, 112, 128);
  CRect inside = menuRect;
  inside.DeflateRect(1, 1);
  vm->OnFillBarBackground(&dc, &menu, inside, CRect(0, 0, 0, 0));
  dc.SetWindowOrg(-menuRect.left, -menuRect.top);
  vm->OnDrawMenuBorder(&dc, nullptr, CRect(0, 0, menuRect.Width(), menuRect.Height()));
  dc.SetWindowOrg(0, 0);
  const char* labels[3] = {"Checked", "Hot item", "Disabled"};
  for (int i = 0; i < 3; ++i) {
    CPlxToolbarMenuButton button(100 + i, nullptr, -1);
    button.m_nStyle = i == 2 ? TBBS_DISABLED : 0;
    button.m_pWndParent = &menu;
    const CRect row(menuRect.left + 2, menuRect.top + 3 + i * 14, menuRect.right - 2,
                    menuRect.top + 17 + i * 14);
    COLORREF text = vm->GetMenuItemTextColor(&button, i == 1, i == 2);
    if (i == 1) vm->OnHighlightMenuItem(&dc, &button, row, text);
    if (i == 0)
      vm->OnDrawMenuCheck(&dc, &button, CRect(row.left, row.top, row.left + 20, row.bottom), FALSE, FALSE);
    dc.SetTextColor(text);
    CRect label = row;
    label.left += 26;
    dc.DrawText(labels[i], label, DT_SINGLELINE | DT_VCENTER);
  }

  // Toolbar buttons: normal, pressed, hot, checked, checked and hot, disabled.
  CPlxToolBar bar;
  vm->OnFillBarBackground(&dc, &bar, CRect(116, 82, 228, 128), CRect(0, 0, 0, 0));
  struct State {
    UINT style;
    PlxButtonState state;
  };
  const State states[6] = {{0, PlxButtonNormal},
                           {TBBS_PRESSED, PlxButtonPressed},
                           {0, PlxButtonHighlighted},
                           {TBBS_CHECKED, PlxButtonPressed},
                           {TBBS_CHECKED, PlxButtonHighlighted},
                           {TBBS_DISABLED, PlxButtonNormal}};
  for (int i = 0; i < 6; ++i) {
    CPlxToolbarButton button;
    button.m_nID = 200 + i;
    button.m_nStyle = states[i].style;
    button.m_pWndParent = &bar;
    const CRect rect(118 + (i % 3) * 36, 84 + (i / 3) * 22, 140 + (i % 3) * 36, 104 + (i / 3) * 22);
    vm->OnFillButtonInterior(&dc, &button, rect, states[i].state);
    vm->OnDrawButtonBorder(&dc, &button, rect, states[i].state);
    // The button's image: a small square, moved by a pixel when pressed.
    const int offset = states[i].state == PlxButtonPressed && vm->IsOffsetPressedButton() ? 1 : 0;
    const COLORREF image =
        (states[i].style & TBBS_DISABLED) ? g_plxGlobalData.clrGrayedText : RGB(40, 110, 200);
    dc.FillSolidRect(
        CRect(rect.left + 6 + offset, rect.top + 5 + offset, rect.left + 16 + offset, rect.top + 15 + offset),
        image);
    if (i == 2)
      vm->OnDrawSeparator(&dc, &bar, CRect(rect.right + 2, rect.top, rect.right + 12, rect.bottom), TRUE);
  }

  dc.SelectObject(font);
  dc.Detach();
}

}  // namespace pictavo::test
