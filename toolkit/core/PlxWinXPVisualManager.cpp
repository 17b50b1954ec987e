#include "toolkit/core/PlxWinXPVisualManager.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StatusBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxControlBars.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxTabWnd.h"
#include "toolkit/customize/PlxTaskRecords.h"

IMPLEMENT_DYNCREATE(CPlxWinXPVisualManager, CPlxVisualManagerXP)

BOOL CPlxWinXPVisualManager::m_bThemedTabs = FALSE;

namespace {

BOOL IsMenuBarButton(const CPlxToolbarButton* pButton) {
  return pButton->IsKindOf(RUNTIME_CLASS(CPlxToolbarMenuButton)) && pButton->m_pWndParent != nullptr &&
         (pButton->m_pWndParent->IsKindOf(RUNTIME_CLASS(CPlxMenuBar)) ||
          pButton->m_pWndParent->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar)));
}

BOOL InPopupMenuBar(const CPlxToolbarButton* pButton) {
  return pButton->m_pWndParent != nullptr && pButton->m_pWndParent->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar));
}

}  // namespace

CPlxWinXPVisualManager::CPlxWinXPVisualManager(BOOL bTemporary) : CPlxVisualManagerXP(bTemporary) {
  m_bShadowHighlightedImage = FALSE;
  m_nVertMargin = 12;
  m_nHorzMargin = 12;
  m_nGroupVertOffset = 15;
  m_nGroupCaptionHeight = 25;
  m_nGroupCaptionHorzOffset = 13;
  m_nGroupCaptionVertOffset = 7;
  m_nTasksHorzOffset = 12;
  m_nTasksIconHorzOffset = 5;
  m_nTasksIconVertOffset = 4;
}

void CPlxWinXPVisualManager::OnUpdateSystemColors() {
  CPlxVisualManagerXP::OnUpdateSystemColors();
  UpdateThemes();
  m_bShadowHighlightedImage = m_hThemeWindow == nullptr;
  COLORREF text;
  if (ThemeColor(m_hThemeToolBar, 1, 0, 3803, text)) g_plxGlobalData.clrBarText = text;
}

void CPlxWinXPVisualManager::OnFillBarBackground(CDC* pDC, CControlBar* pBar, CRect rectClient,
                                                 CRect rectClip, BOOL bNCArea) {
  if (pBar->IsKindOf(RUNTIME_CLASS(CPlxStatusBar)) && DrawThemed(m_hThemeStatusBar, pDC, 0, 0, rectClient))
    return;
  if (m_pfDrawThemeBackground != nullptr && m_hThemeRebar != nullptr &&
      !pBar->IsKindOf(RUNTIME_CLASS(CPlxCaptionBar))) {
    if (pBar->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar))) {
      if (m_bKeepXPMenus)
        CPlxVisualManagerXP::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
      else
        pDC->FillRect(rectClient, CBrush::FromHandle(GetSysColorBrush(COLOR_MENU)));
    } else if (pBar->IsKindOf(RUNTIME_CLASS(CPlxSizingControlBar))) {
      pDC->FillRect(rectClient, &g_plxGlobalData.brBarFace);
    } else {
      DrawRebarBackground(pDC, pBar, rectClient);
    }
    return;
  }
  CPlxVisualManagerXP::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
}

void CPlxWinXPVisualManager::OnDrawBarBorder(CDC* pDC, CControlBar* pBar, CRect& rect) {
  CPlxVisualManager::OnDrawBarBorder(pDC, pBar, rect);
}

void CPlxWinXPVisualManager::OnDrawMenuBorder(CDC* pDC, CPlxPopupMenu* pMenu, CRect rect) {
  if (m_hThemeWindow != nullptr && !m_bKeepXPMenus) {
    CPlxVisualManager::OnDrawMenuBorder(pDC, pMenu, rect);
    return;
  }
  const BOOL saved = m_bJoinMenuToParent;
  if (m_hThemeWindow != nullptr && !CPlxToolBar::m_bCustomizeMode && pMenu != nullptr &&
      pMenu->m_pParentBtn != nullptr && pMenu->m_pParentBtn->m_pWndParent != nullptr &&
      pMenu->m_pParentBtn->m_pWndParent->IsKindOf(RUNTIME_CLASS(CPlxMenuBar)))
    m_bJoinMenuToParent = TRUE;
  CPlxVisualManagerXP::OnDrawMenuBorder(pDC, pMenu, rect);
  m_bJoinMenuToParent = saved;
}

void CPlxWinXPVisualManager::OnDrawBarGripper(CDC* pDC, CRect rect, BOOL bHorz, CControlBar* pBar) {
  if (m_hThemeRebar == nullptr) {
    CPlxVisualManagerXP::OnDrawBarGripper(pDC, rect, bHorz, pBar);
    return;
  }
  const BOOL sizing = pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CPlxSizingControlBar));
  if (sizing) {
    bHorz = !bHorz;
    CString title;
    pBar->GetWindowText(title);
    title = " " + title + " ";
    CFont* font = pDC->SelectObject(CPlxMenuBar::GetMenuFont(bHorz));
    const int mode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF color = pDC->SetTextColor(g_plxGlobalData.clrBarText);
    const CSize extent = pDC->GetTextExtent(title);
    if (bHorz) {
      CRect text = rect;
      text.right = text.left + extent.cx;
      pDC->DrawText(title, text, DT_SINGLELINE | DT_VCENTER);
      rect.left = text.right + 5;
    } else {
      CRect text = rect;
      text.bottom = text.top + extent.cx;
      pDC->DrawText(title, text, DT_SINGLELINE | DT_CENTER);
      rect.top = text.bottom + 5;
    }
    pDC->SetTextColor(color);
    pDC->SetBkMode(mode);
    pDC->SelectObject(font);
  }
  if (rect.IsRectEmpty()) return;
  if (bHorz) {
    rect.DeflateRect(0, 2);
    rect.OffsetRect(2, 0);
    if (!sizing) rect.right = rect.left + 6;
  } else {
    rect.DeflateRect(2, 0);
    rect.OffsetRect(0, 2);
    if (!sizing) rect.bottom = rect.top + 6;
  }
  DrawThemed(m_hThemeRebar, pDC, bHorz ? 1 : 2, 0, rect);
}

void CPlxWinXPVisualManager::OnDrawSeparator(CDC* pDC, CControlBar* pBar, CRect rect, BOOL bHorz) {
  if (m_hThemeToolBar == nullptr ||
      (m_bKeepXPMenus && pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar)))) {
    CPlxVisualManagerXP::OnDrawSeparator(pDC, pBar, rect, bHorz);
    return;
  }
  DrawThemed(m_hThemeToolBar, pDC, bHorz ? 5 : 6, 0, rect);
}

void CPlxWinXPVisualManager::OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                                                    BOOL bHighlight) {
  if (m_hThemeWindow == nullptr) {
    CPlxVisualManagerXP::OnDrawMenuSystemButton(pDC, rect, uiSystemCommand, nStyle, bHighlight);
    return;
  }
  int part;
  switch (uiSystemCommand) {
    case SC_MINIMIZE:
      part = 16;
      break;
    case SC_CLOSE:
      part = 20;
      break;
    case SC_RESTORE:
      part = 22;
      break;
    default:
      return;
  }
  const int state = (nStyle & TBBS_DISABLED) ? 4 : bHighlight ? ((nStyle & TBBS_PRESSED) ? 3 : 2) : 1;
  DrawThemed(m_hThemeWindow, pDC, part, state, rect);
}

void CPlxWinXPVisualManager::OnDrawStatusBarPaneBorder(CDC* pDC, CPlxStatusBar* pBar, CRect rect, UINT uiID,
                                                       UINT nStyle) {
  if (m_hThemeStatusBar == nullptr) {
    CPlxVisualManagerXP::OnDrawStatusBarPaneBorder(pDC, pBar, rect, uiID, nStyle);
    return;
  }
  if (!(nStyle & SBPS_NOBORDERS)) DrawThemed(m_hThemeStatusBar, pDC, 1, 0, rect);
}

void CPlxWinXPVisualManager::OnDrawStatusBarProgress(CDC* pDC, CPlxStatusBar* pBar, CRect rect, int nTotal,
                                                     int nCurr, COLORREF clrBar, COLORREF clrEnd,
                                                     COLORREF clrText, BOOL bText) {
  if (!DrawProgressBar(pDC, pBar, rect, nTotal, nCurr, clrBar, clrEnd, clrText, bText))
    CPlxVisualManager::OnDrawStatusBarProgress(pDC, pBar, rect, nTotal, nCurr, clrBar, clrEnd, clrText,
                                               bText);
}

void CPlxWinXPVisualManager::OnDrawStatusBarSizeBox(CDC* pDC, CPlxStatusBar* pBar, CRect rect) {
  if (!DrawThemed(m_hThemeScrollBar, pDC, 10, 1, rect))
    CPlxVisualManager::OnDrawStatusBarSizeBox(pDC, pBar, rect);
}

void CPlxWinXPVisualManager::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bDropped,
                                                   BOOL bHighlighted, CPlxToolbarComboBoxButton* pButton) {
  if (m_hThemeComboBox == nullptr) {
    CPlxVisualManagerXP::OnDrawComboDropButton(pDC, rect, bDisabled, bDropped, bHighlighted, pButton);
    return;
  }
  DrawThemed(m_hThemeComboBox, pDC, 1, bDisabled ? 4 : bDropped ? 3 : bHighlighted ? 2 : 1, rect);
}

void CPlxWinXPVisualManager::OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bDropped,
                                               BOOL bHighlighted, CPlxToolbarComboBoxButton* pButton) {
  if (m_hThemeWindow == nullptr) {
    CPlxVisualManagerXP::OnDrawComboBorder(pDC, rect, bDisabled, bDropped, bHighlighted, pButton);
    return;
  }
  if (bDropped || bHighlighted) {
    rect.DeflateRect(1, 1);
    const COLORREF clr = GetSysColor(COLOR_HIGHLIGHT);
    pDC->Draw3dRect(rect, clr, clr);
  }
}

void CPlxWinXPVisualManager::OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bHighlighted,
                                              CPlxToolbarEditBoxButton* pButton) {
  if (m_hThemeWindow == nullptr) {
    CPlxVisualManagerXP::OnDrawEditBorder(pDC, rect, bDisabled, bHighlighted, pButton);
    return;
  }
  if (bHighlighted) {
    const COLORREF clr = GetSysColor(COLOR_HIGHLIGHT);
    pDC->Draw3dRect(rect, clr, clr);
  }
}

void CPlxWinXPVisualManager::OnFillButtonInterior(CDC* pDC, CPlxToolbarButton* pButton, CRect rect,
                                                  PlxButtonState state) {
  if (m_hThemeToolBar == nullptr || (m_bKeepXPMenus && IsMenuBarButton(pButton))) {
    CPlxVisualManagerXP::OnFillButtonInterior(pDC, pButton, rect, state);
    return;
  }
  if (!m_bKeepXPMenus && pButton->IsKindOf(RUNTIME_CLASS(CPlxToolbarMenuButton)) && InPopupMenuBar(pButton) &&
      state != PlxButtonPressed && state != PlxButtonHighlighted)
    return;
  const UINT style = pButton->m_nStyle;
  int themeState;
  if (style & TBBS_DISABLED)
    themeState = 4;
  else if ((style & TBBS_PRESSED) && state == PlxButtonHighlighted)
    themeState = 3;
  else if (style & TBBS_CHECKED)
    themeState = state == PlxButtonHighlighted ? 6 : 5;
  else if (state == PlxButtonHighlighted)
    themeState = 2;
  else
    themeState = 1;
  DrawThemed(m_hThemeToolBar, pDC, 1, themeState, rect);
}

void CPlxWinXPVisualManager::OnDrawButtonBorder(CDC* pDC, CPlxToolbarButton* pButton, CRect rect,
                                                PlxButtonState state) {
  if (m_hThemeToolBar == nullptr || (m_bKeepXPMenus && IsMenuBarButton(pButton)))
    CPlxVisualManagerXP::OnDrawButtonBorder(pDC, pButton, rect, state);
}

void CPlxWinXPVisualManager::OnDrawMenuButtonBorder(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect,
                                                    PlxButtonState state, BOOL bHorz) {
  if (m_hThemeToolBar == nullptr) {
    CPlxVisualManagerXP::OnDrawMenuButtonBorder(pDC, pButton, rect, state, bHorz);
    return;
  }
  rect.InflateRect(2, 2);
  DrawThemed(m_hThemeToolBar, pDC, bHorz ? 5 : 6, 0, rect);
}

void CPlxWinXPVisualManager::OnFillMenuImageRect(CDC* pDC, CPlxToolbarButton* pButton, CRect rect,
                                                 PlxButtonState state) {
  if (m_hThemeWindow != nullptr && !m_bKeepXPMenus)
    CPlxVisualManager::OnFillMenuImageRect(pDC, pButton, rect, state);
  else
    CPlxVisualManagerXP::OnFillMenuImageRect(pDC, pButton, rect, state);
}

COLORREF CPlxWinXPVisualManager::GetMenuButtonTextColor(CPlxToolbarMenuButton* pButton) {
  if (m_hThemeWindow != nullptr && !m_bKeepXPMenus) return CPlxVisualManager::GetMenuButtonTextColor(pButton);
  return CPlxVisualManagerXP::GetMenuButtonTextColor(pButton);
}

void CPlxWinXPVisualManager::OnHighlightMenuItem(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect,
                                                 COLORREF& clrText) {
  // Themed menus are the system's: the classic highlight and its text colour.
  if (m_hThemeWindow != nullptr && !m_bKeepXPMenus) {
    CPlxVisualManager::OnHighlightMenuItem(pDC, pButton, rect, clrText);
    clrText = GetMenuButtonTextColor(pButton);
    return;
  }
  CPlxVisualManagerXP::OnHighlightMenuItem(pDC, pButton, rect, clrText);
}

void CPlxWinXPVisualManager::OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rect) {
  if (m_hThemeWindow == nullptr || m_bKeepXPMenus) {
    CPlxVisualManagerXP::OnHighlightRarelyUsedMenuItems(pDC, rect);
    return;
  }
  CRect strip(rect.left - 1, rect.top,
              rect.left + 1 + CPlxToolBar::GetMenuImageSize().cx + 2 * GetMenuImageMargin(), rect.bottom);
  CPlxDrawHelper helper(pDC);
  helper.HighlightRect(strip, 94);
}

COLORREF CPlxWinXPVisualManager::GetToolbarButtonTextColor(CPlxToolbarButton* pButton, PlxButtonState state) {
  if (m_hThemeToolBar != nullptr) return CPlxVisualManager::GetToolbarButtonTextColor(pButton, state);
  return CPlxVisualManagerXP::GetToolbarButtonTextColor(pButton, state);
}

BOOL CPlxWinXPVisualManager::ThemedTabs(const CPlxTabWnd* pTabWnd, BOOL bAllowRounded) const {
  return m_bThemedTabs && m_hThemeTab != nullptr && !pTabWnd->IsFlatTab() && !pTabWnd->IsSlantedStyle() &&
         !pTabWnd->IsCompactSlantedStyle() && (bAllowRounded || !pTabWnd->IsTrapezoidStyle());
}

void CPlxWinXPVisualManager::OnEraseTabsArea(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd) {
  if (!ThemedTabs(pTabWnd, TRUE) || pTabWnd->m_bIsDlgControl) {
    CPlxVisualManagerXP::OnEraseTabsArea(pDC, rect, pTabWnd);
    return;
  }
  rect.right += 10;
  if (pTabWnd->GetLocation() == CPlxTabWnd::LOCATION_TOP) {
    rect.bottom += 2;
    DrawThemed(m_hThemeTab, pDC, 9, 0, rect);
    return;
  }
  // Off-screen drawing is off in this program: the pane is drawn on the DC and mirrored there.
  rect.top -= 3;
  DrawThemed(m_hThemeTab, pDC, 9, 0, rect);
  CPlxDrawHelper helper(pDC);
  helper.MirrorRect(rect, FALSE);
}

void CPlxWinXPVisualManager::OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bActive,
                                       const CPlxTabWnd* pTabWnd) {
  if (!ThemedTabs(pTabWnd, FALSE)) {
    CPlxVisualManagerXP::OnDrawTab(pDC, rectTab, iTab, bActive, pTabWnd);
    return;
  }
  const int state = bActive ? 3 : iTab == pTabWnd->GetHighlightedTab() ? 2 : 1;
  const BOOL top = pTabWnd->GetLocation() == CPlxTabWnd::LOCATION_TOP;
  CRect rect = rectTab;
  rect.right++;
  if (!bActive && top) rect.bottom--;
  DrawThemed(m_hThemeTab, pDC, 1, state, rect);
  if (!top) {
    CPlxDrawHelper helper(pDC);
    helper.MirrorRect(rect, FALSE);
  }
  COLORREF text;
  if (!ThemeColor(m_hThemeTab, 1, state, 3803, text)) text = g_plxGlobalData.clrWindowText;
  const COLORREF old = pDC->SetTextColor(text);
  OnDrawTabContent(pDC, rectTab, iTab, bActive, pTabWnd, (COLORREF)-1);
  pDC->SetTextColor(old);
}

void CPlxWinXPVisualManager::OnEraseTabsButton(CDC* pDC, CRect rect, CPlxButton* pButton,
                                               const CPlxTabWnd* pTabWnd) {
  if (!ThemedTabs(pTabWnd, TRUE) || pButton == nullptr || pButton->GetSafeHwnd() == nullptr) {
    CPlxVisualManagerXP::OnEraseTabsButton(pDC, rect, pButton, pTabWnd);
    return;
  }
  CRgn clip;
  clip.CreateRectRgnIndirect(rect);
  pDC->SelectClipRgn(&clip);
  CRect area;
  pTabWnd->GetClientRect(area);
  area.top = pTabWnd->m_rectTabsArea.top;
  if (pTabWnd->GetLocation() == CPlxTabWnd::LOCATION_BOTTOM)
    area.bottom += 2;
  else
    area.bottom = pTabWnd->m_rectTabsArea.bottom;
  pTabWnd->MapWindowPoints(pButton, area);
  OnEraseTabsArea(pDC, area, pTabWnd);
  pDC->SelectClipRgn(nullptr);
}

BOOL CPlxWinXPVisualManager::OnEraseTabsFrame(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd) {
  if (ThemedTabs(pTabWnd, TRUE)) return FALSE;
  return CPlxVisualManager::OnEraseTabsFrame(pDC, rect, pTabWnd);
}

COLORREF CPlxWinXPVisualManager::OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bSelected) {
  if (m_hThemeWindow == nullptr || m_bKeepXPMenus)
    return CPlxVisualManagerXP::OnFillCommandsListBackground(pDC, rect, bSelected);
  const PlxGlobalData& g = g_plxGlobalData;
  if (bSelected) {
    pDC->FillRect(rect, &g_plxGlobalData.brHilite);
    pDC->Draw3dRect(rect, g.clrMenuText, g.clrMenuText);
    return g.clrTextHilite;
  }
  pDC->FillRect(rect, CBrush::FromHandle(GetSysColorBrush(COLOR_MENU)));
  return GetSysColor(COLOR_MENUTEXT);
}

CSize CPlxWinXPVisualManager::GetButtonExtraBorder() const {
  return m_hThemeWindow != nullptr ? CSize(2, 2) : CSize(0, 0);
}

void CPlxWinXPVisualManager::OnDrawHeaderCtrlBorder(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect,
                                                    BOOL bPressed, BOOL bHighlighted) {
  if (!DrawThemed(m_hThemeHeader, pDC, 1, bPressed ? 3 : bHighlighted ? 2 : 1, rect))
    CPlxVisualManager::OnDrawHeaderCtrlBorder(pCtrl, pDC, rect, bPressed, bHighlighted);
}

void CPlxWinXPVisualManager::OnDrawHeaderCtrlSortArrow(CPlxHeaderCtrl* pCtrl, CDC* pDC, CRect& rect,
                                                       BOOL bUp) {
  if (m_hThemeHeader == nullptr) {
    CPlxVisualManager::OnDrawHeaderCtrlSortArrow(pCtrl, pDC, rect, bUp);
    return;
  }
  const int mid = (rect.left + rect.right) / 2;
  POINT up[3] = {{rect.left, rect.bottom}, {mid, rect.top}, {rect.right, rect.bottom}};
  POINT down[3] = {{rect.left, rect.top}, {mid, rect.bottom}, {rect.right, rect.top}};
  CBrush brush;
  brush.CreateSolidBrush(g_plxGlobalData.clrBarShadow);
  CBrush* oldBrush = pDC->SelectObject(&brush);
  CGdiObject* oldPen = pDC->SelectStockObject(NULL_PEN);
  pDC->Polygon(bUp ? up : down, 3);
  pDC->SelectObject(oldPen);
  pDC->SelectObject(oldBrush);
}

void CPlxWinXPVisualManager::OnFillTasksPaneBackground(CDC* pDC, CRect rect) {
  if (!DrawThemed(m_hThemeExplorerBar, pDC, 1, 0, rect))
    CPlxVisualManager::OnFillTasksPaneBackground(pDC, rect);
}

void CPlxWinXPVisualManager::OnDrawTasksGroupCaption(CDC* pDC, CPlxTasksGroup* pGroup, BOOL bHighlighted,
                                                     BOOL bSelected, BOOL bCanCollapse) {
  if (m_hThemeExplorerBar == nullptr || pGroup->m_strName.IsEmpty()) {
    CPlxVisualManagerXP::OnDrawTasksGroupCaption(pDC, pGroup, bHighlighted, bSelected, bCanCollapse);
    return;
  }
  const PlxGlobalData& g = g_plxGlobalData;
  const CRect caption = pGroup->m_rect;
  DrawThemed(m_hThemeExplorerBar, pDC, pGroup->m_bIsSpecial ? 12 : 8, 0, caption);
  COLORREF clr = bHighlighted && bCanCollapse ? pGroup->m_clrTextHot : pGroup->m_clrText;
  if (clr == (COLORREF)-1) clr = pGroup->m_bIsSpecial ? GetSysColor(COLOR_WINDOW) : g.clrHilite;
  DrawTasksGroupLabel(pDC, pGroup, clr, FALSE);
  if (!bCanCollapse) return;
  CRect button(std::max(caption.left, caption.right - caption.Height()), caption.top, caption.right,
               caption.bottom);
  const int part =
      pGroup->m_bIsSpecial ? (pGroup->m_bIsCollapsed ? 11 : 10) : (pGroup->m_bIsCollapsed ? 7 : 6);
  DrawThemed(m_hThemeExplorerBar, pDC, part, bHighlighted ? 2 : 1, button);
}

void CPlxWinXPVisualManager::OnDrawTasksGroupAreaBorder(CDC* pDC, CRect rect, BOOL bSpecial, BOOL bNoTitle) {
  if (!DrawThemed(m_hThemeExplorerBar, pDC, bSpecial ? 9 : 5, 0, rect))
    CPlxVisualManagerXP::OnDrawTasksGroupAreaBorder(pDC, rect, bSpecial, bNoTitle);
}

void CPlxWinXPVisualManager::OnDrawTasksGroupFrame(CDC* pDC, CRect rect, BOOL bSpecial, BOOL bClosedTop) {
  if (m_hThemeExplorerBar == nullptr) {
    CPlxVisualManagerXP::OnDrawTasksGroupFrame(pDC, rect, bSpecial, bClosedTop);
    return;
  }
  if (bClosedTop)
    DrawThemed(m_hThemeExplorerBar, pDC, bSpecial ? 12 : 8, 0,
               CRect(rect.left, rect.top, rect.right, rect.top + 1));
}

void CPlxWinXPVisualManager::OnDrawTask(CDC* pDC, CPlxTask* pTask, CImageList* pIcons, BOOL bHighlighted,
                                        BOOL bSelected) {
  if (m_hThemeExplorerBar == nullptr) {
    CPlxVisualManagerXP::OnDrawTask(pDC, pTask, pIcons, bHighlighted, bSelected);
    return;
  }
  if (pTask->m_bIsSeparator) {
    const int y = (pTask->m_rect.top + pTask->m_rect.bottom) / 2;
    DrawThemed(m_hThemeExplorerBar, pDC, 8, 0, CRect(pTask->m_rect.left, y, pTask->m_rect.right, y + 1));
    return;
  }
  // The classic drawing with the selection colour for command tasks without their own colours.
  CPlxTask task = *pTask;
  if (task.m_uiCommandID != 0) {
    if (task.m_clrText == (COLORREF)-1) task.m_clrText = g_plxGlobalData.clrHilite;
    if (task.m_clrTextHot == (COLORREF)-1) task.m_clrTextHot = g_plxGlobalData.clrHilite;
  }
  CPlxVisualManager::OnDrawTask(pDC, &task, pIcons, bHighlighted, bSelected);
}

void CPlxWinXPVisualManager::OnDrawScrollButton(CDC* pDC, CRect rect, int nBorderSize, int iImage,
                                                BOOL bHilited) {
  CPlxVisualManager::OnDrawScrollButton(pDC, rect, nBorderSize, iImage, bHilited);
}

void CPlxWinXPVisualManager::OnDrawSpinButtons(CDC* pDC, CRect rect, int nState, BOOL bHorz,
                                               CPlxSpinButtonCtrl* pSpin) {
  if (m_hThemeSpin == nullptr) {
    CPlxVisualManagerXP::OnDrawSpinButtons(pDC, rect, nState, bHorz, pSpin);
    return;
  }
  // Upper and lower halves even for a horizontal control.
  const int middle = (rect.top + rect.bottom) / 2;
  CRect upper(rect.left, rect.top, rect.right, middle - 1);
  CRect lower(rect.left, middle, rect.right, rect.bottom);
  const int upperState = (nState & 0x10) ? 4 : (nState & 0x1) ? 3 : (nState & 0x4) ? 2 : 1;
  const int lowerState = (nState & 0x10) ? 4 : (nState & 0x2) ? 3 : (nState & 0x8) ? 2 : 1;
  DrawThemed(m_hThemeSpin, pDC, bHorz ? 3 : 1, upperState, upper);
  DrawThemed(m_hThemeSpin, pDC, bHorz ? 4 : 2, lowerState, lower);
}
