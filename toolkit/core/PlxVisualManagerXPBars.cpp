// The Office-XP drawing of bars, grippers, separators, popup menus and toolbar and menu buttons.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/StatusBar.h"
#include "platform/user/Paint.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxControlBars.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManagerXP.h"

namespace {

BOOL InPopupMenuBar(const CPlxToolbarButton* pButton) {
  return pButton->m_pWndParent != nullptr && pButton->m_pWndParent->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar));
}

int MenuImageWidth() {
  return CPlxToolBar::GetMenuImageSize().cx;
}

BOOL RichColors() {
  const PlxGlobalData& g = g_plxGlobalData;
  return g.nBitsPerPixel > 8 && !g.bIsBlackHighContrast && !g.bIsWhiteHighContrast;
}

}  // namespace

void CPlxVisualManagerXP::OnFillBarBackground(CDC* pDC, CControlBar* pBar, CRect rectClient, CRect rectClip,
                                              BOOL bNCArea) {
  if (rectClip.IsRectEmpty()) rectClip = rectClient;
  if (pBar->IsKindOf(RUNTIME_CLASS(CPlxMenuBar))) {
    CPlxVisualManager::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
  } else if (pBar->IsKindOf(RUNTIME_CLASS(CPlxColorBar))) {
    pDC->FillRect(rectClip, static_cast<CPlxColorBar*>(pBar)->m_bStandalone ? &m_brBarFill : &m_brMenuFill);
  } else if (pBar->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar))) {
    pDC->FillRect(rectClip, &m_brMenuFill);
    auto* menuBar = static_cast<CPlxPopupMenuBar*>(pBar);
    if (!menuBar->m_bDisableImageStrip) {
      const int w = MenuImageWidth();
      CRect strip = rectClient;
      strip.right = strip.left + w + 2 * 3 + 2;
      CWnd* parent = pBar->GetParent();
      if (parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CPlxPopupMenu)) &&
          static_cast<CPlxPopupMenu*>(parent)->m_nQuickCustomizeKind == 0)
        strip.right = strip.left + 4 * 3 + 2 * w + 4;
      strip.DeflateRect(0, 1);
      pDC->FillRect(strip, &m_brBarFill);
    }
  } else if (pBar->IsKindOf(RUNTIME_CLASS(CPlxToolBar))) {
    pDC->FillRect(rectClip, &m_brBarFill);
  } else {
    CPlxVisualManager::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
  }
}

void CPlxVisualManagerXP::OnDrawBarBorder(CDC* pDC, CControlBar* pBar, CRect& rect) {
  const DWORD style = pBar->m_dwStyle;
  if ((style & CBRS_BORDER_ANY) == 0) return;
  const COLORREF saved = pDC->GetBkColor();
  const COLORREF clr = g_plxGlobalData.clrBarFace;
  const int w = rect.Width(), h = rect.Height();
  if (style & CBRS_BORDER_LEFT) pDC->FillSolidRect(rect.left, rect.top, 1, h - 1, clr);
  if (style & CBRS_BORDER_TOP) pDC->FillSolidRect(rect.left, rect.top, w - 1, 1, clr);
  if (style & CBRS_BORDER_RIGHT) pDC->FillSolidRect(rect.right - 1, rect.top, 1, h, clr);
  if (style & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(rect.left, rect.bottom - 1, w, 1, clr);
  if (style & CBRS_BORDER_LEFT) ++rect.left;
  if (style & CBRS_BORDER_TOP) ++rect.top;
  if (style & CBRS_BORDER_RIGHT) --rect.right;
  if (style & CBRS_BORDER_BOTTOM) --rect.bottom;
  pDC->SetBkColor(saved);
}

void CPlxVisualManagerXP::OnDrawMenuBorder(CDC* pDC, CPlxPopupMenu* pMenu, CRect rect) {
  pDC->Draw3dRect(rect, m_clrMenuFrame, m_clrMenuFrame);
  rect.DeflateRect(1, 1);
  pDC->Draw3dRect(rect, m_clrMenuFill, m_clrMenuFill);
  // The image strip reaches the outer frame.
  pDC->FillRect(CRect(1, 1, 2, rect.bottom - 1), &m_brBarFill);
  if (pMenu == nullptr) return;

  CPlxToolbarMenuButton* parentBtn = pMenu->m_pParentBtn;
  const BOOL rtl = pMenu->GetSafeHwnd() != nullptr && (pMenu->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  if (pMenu->GetParentPopupMenu() != nullptr && pMenu->GetParentPopupMenu()->m_bQuickCustomize && !rtl &&
      parentBtn != nullptr && parentBtn->m_bShowDownArrow &&
      pMenu->GetParentPopupMenu()->GetSafeHwnd() != nullptr) {
    CRect self, parent;
    pMenu->GetWindowRect(self);
    pMenu->GetParentPopupMenu()->GetWindowRect(parent);
    const BOOL parentLeft = parent.left < self.left;
    CRect strip(parentLeft ? rect.left - 1 : rect.right - 1, rect.top,
                parentLeft ? rect.left + 1 : rect.right + 1, rect.bottom);
    const int itemHeight = parentBtn->m_rect.Height();
    if (parent.top <= self.top)
      strip.bottom = std::min(strip.bottom, static_cast<LONG>(rect.top + itemHeight));
    else
      strip.top = std::max(strip.top, static_cast<LONG>(rect.bottom - itemHeight));
    pDC->FillRect(strip, &m_brBarFill);
  }
  if (CPlxToolBar::m_bCustomizeMode || !m_bJoinMenuToParent || pMenu->GetParentPopupMenu() != nullptr ||
      parentBtn == nullptr || parentBtn->m_pWndParent == nullptr || pMenu->GetSafeHwnd() == nullptr)
    return;

  CRect button = parentBtn->m_rect;
  parentBtn->m_pWndParent->MapWindowPoints(pMenu, button);
  CRect seg;
  int length = 0, side = 0;
  switch (pMenu->GetDropDirection()) {
    case CPlxPopupMenu::DROP_DIRECTION_BOTTOM:
      seg = CRect(button.left + 1, rect.top - 1, button.right - 1, rect.top);
      length = button.Width() - 2, side = rect.Width();
      break;
    case CPlxPopupMenu::DROP_DIRECTION_TOP:
      seg = CRect(button.left + 1, rect.bottom, button.right - 1, rect.bottom + 1);
      length = button.Width() - 2, side = rect.Width();
      break;
    case CPlxPopupMenu::DROP_DIRECTION_RIGHT:
      seg = CRect(rect.left - 1, button.top + 1, rect.left, button.bottom - 1);
      length = button.Height() - 2, side = rect.Height();
      break;
    case CPlxPopupMenu::DROP_DIRECTION_LEFT:
      seg = CRect(rect.right, button.top + 1, rect.right + 1, button.bottom - 1);
      length = button.Height() - 2, side = rect.Height();
      break;
    default:
      return;
  }
  if (length > side + 2) return;
  CRect grownRect = rect, grownButton = button;
  grownRect.InflateRect(1, 1);
  grownButton.InflateRect(1, 1);
  seg.IntersectRect(seg, grownRect);
  seg.IntersectRect(seg, grownButton);
  pDC->FillRect(seg, &m_brBarFill);
}

void CPlxVisualManagerXP::OnDrawMenuShadow(CDC* pDC, const CRect& rectClient, const CRect& rectExclude,
                                           int nDepth, int iMin, int iMax, CBitmap* pBottom, CBitmap* pRight,
                                           BOOL bRTL) {
  if (rectExclude.IsRectEmpty()) {
    CPlxDrawHelper helper(pDC);
    helper.DrawShadow(rectClient, nDepth, iMin, iMax, pBottom, pRight, !bRTL, m_clrShadowTint);
    return;
  }
  // The shadow never darkens the button the popup drops from.
  CRect area = rectClient;
  area.right += nDepth;
  area.bottom += nDepth;
  CDC memory;
  memory.CreateCompatibleDC(pDC);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(pDC, area.Width(), area.Height());
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.BitBlt(0, 0, area.Width(), area.Height(), pDC, area.left, area.top, SRCCOPY);
  CPlxDrawHelper helper(&memory);
  CRect local = rectClient;
  local.OffsetRect(-area.left, -area.top);
  helper.DrawShadow(local, nDepth, iMin, iMax, pBottom, pRight, !bRTL, m_clrShadowTint);
  CRect exclude = rectExclude;
  exclude.OffsetRect(-area.left, -area.top);
  memory.BitBlt(exclude.left, exclude.top, exclude.Width(), exclude.Height(), pDC, rectExclude.left,
                rectExclude.top, SRCCOPY);
  pDC->BitBlt(area.left, area.top, area.Width(), area.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void CPlxVisualManagerXP::OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CControlBar* pBar) {
  if (m_brDotsHorz.GetSafeHandle() == nullptr) CreateDotBrushes();
  const BOOL sizing = pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CPlxSizingControlBar));
  const BOOL menuBar = pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CPlxMenuBar));
  const int w = rectGripper.Width(), h = rectGripper.Height();
  CRect dots = rectGripper;
  CBrush* brush;
  if (sizing) {
    if (bHorz)
      dots.DeflateRect(4, 0);
    else
      dots.DeflateRect(0, 4);
    brush = bHorz ? &m_brDotsVert : &m_brDotsHorz;
  } else if (bHorz) {
    const int band = (w % 2) ? 3 : 4;
    dots.left = rectGripper.left + w / 2 - band / 2;
    dots.right = dots.left + band;
    dots.DeflateRect(0, 6);
    brush = &m_brDotsHorz;
  } else {
    const int band = (h % 2) ? 3 : 4;
    dots.top = rectGripper.top + h / 2 - band / 2;
    dots.bottom = dots.top + band;
    dots.DeflateRect(6, 0);
    brush = &m_brDotsVert;
  }
  const COLORREF text = pDC->SetTextColor(m_clrGripDots);
  const COLORREF bk = pDC->SetBkColor(sizing || menuBar ? g_plxGlobalData.clrBarFace : m_clrBarFill);
  pDC->FillRect(dots, brush);
  if (sizing) {
    CString title;
    pBar->GetWindowText(title);
    title = " " + title + " ";
    const int mode = pDC->SetBkMode(OPAQUE);
    pDC->SetTextColor(g_plxGlobalData.clrBarText);
    CFont* font = pDC->SelectObject(CPlxMenuBar::GetMenuFont(!bHorz));
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    if (bHorz) {
      CRect r = rectGripper;
      r.left = rectGripper.right - (w - tm.tmHeight + 1) / 2;
      pDC->DrawText(title, r, DT_NOCLIP);
    } else {
      CRect r = rectGripper;
      r.top += (h - tm.tmHeight - 1) / 2;
      pDC->DrawText(title, r, 0);
    }
    pDC->SelectObject(font);
    pDC->SetBkMode(mode);
  }
  pDC->SetBkColor(bk);
  pDC->SetTextColor(text);
}

void CPlxVisualManagerXP::OnDrawSeparator(CDC* pDC, CControlBar* pBar, CRect rect, BOOL bHorz) {
  CPen* old = pDC->SelectObject(&m_penSeparatorLine);
  if (bHorz) {
    const int x = (rect.left + rect.right) / 2;
    pDC->MoveTo(x, rect.top);
    pDC->LineTo(x, rect.bottom - 1);
  } else {
    const int y = (rect.top + rect.bottom) / 2;
    int x0 = rect.left, x1 = rect.right;
    if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar)) &&
        !pBar->IsKindOf(RUNTIME_CLASS(CPlxColorBar))) {
      const int w = MenuImageWidth();
      x0 = static_cast<CPlxPopupMenuBar*>(pBar)->m_bDisableImageStrip ? 0 : rect.left + 3 + w + 1;
      CWnd* parent = pBar->GetParent();
      if (parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CPlxPopupMenu)) &&
          static_cast<CPlxPopupMenu*>(parent)->m_nQuickCustomizeKind == 0)
        x0 = rect.left + 3 * 3 + 2 * w + 2;
      if (pBar->GetSafeHwnd() != nullptr) {
        CRect client;
        pBar->GetClientRect(client);
        if (client.right - rect.right < 50) x1 = client.right;
      }
    }
    pDC->MoveTo(x0, y);
    pDC->LineTo(x1, y);
  }
  pDC->SelectObject(old);
}

void CPlxVisualManagerXP::OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                                                 BOOL bHighlight) {
  int glyph;
  const BOOL pressed = (nStyle & TBBS_PRESSED) != 0;
  const BOOL disabled = (nStyle & TBBS_DISABLED) != 0;
  switch (uiSystemCommand) {
    case SC_MINIMIZE:
      glyph = bHighlight && pressed ? 29 : 8;
      break;
    case SC_RESTORE:
      glyph = bHighlight && pressed ? 30 : 10;
      break;
    case SC_CLOSE:
      glyph = bHighlight && pressed ? 31 : 12;
      break;
    default:
      return;
  }
  if (!(bHighlight && pressed) && disabled) ++glyph;
  if (bHighlight && !disabled) {
    pDC->FillRect(rect, pressed ? &m_brPressedFill : &m_brHotFill);
    DrawHotFrame(pDC, rect);
  }
  CPlxMenuGlyphs::Draw(pDC, glyph, rect, CSize(0, 0));
}

void CPlxVisualManagerXP::OnDrawStatusBarPaneBorder(CDC* pDC, CPlxStatusBar*, CRect rect, UINT, UINT nStyle) {
  if (nStyle & SBPS_NOBORDERS) return;
  if (nStyle & SBPS_POPOUT) {
    CPlxDrawHelper helper(pDC);
    helper.HighlightRect(rect);
  }
  pDC->Draw3dRect(rect, m_clrPaneFrame, m_clrPaneFrame);
}

void CPlxVisualManagerXP::OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bActive) {
  if (m_brDotsHorz.GetSafeHandle() == nullptr) CreateDotBrushes();
  const PlxGlobalData& g = g_plxGlobalData;
  pDC->FillRect(rect, &m_brMenuFill);
  rect.DeflateRect(1, 1);
  pDC->FillRect(rect, bActive ? &m_brHotFill : &m_brBarFill);
  const int width = std::max(20, 2 * MenuImageWidth());
  CRect dots(rect.CenterPoint().x - width / 2, rect.top, 0, rect.bottom);
  dots.right = dots.left + width;
  dots.DeflateRect(0, bActive ? 2 : 1);
  const COLORREF text = pDC->SetTextColor(bActive ? g.clrBarDkShadow : g.clrBarShadow);
  const COLORREF bk = pDC->SetBkColor(bActive ? m_clrHotFill : m_clrBarFill);
  pDC->FillRect(dots, &m_brDotsHorz);
  pDC->SetBkColor(bk);
  pDC->SetTextColor(text);
  if (bActive) pDC->Draw3dRect(rect, g.clrBarDkShadow, g.clrBarDkShadow);
}

int CPlxVisualManagerXP::JoinMenuButtonToPopup(CPlxToolbarMenuButton* pButton, CRect& rect) {
  CPlxPopupMenu* popup = pButton->m_pPopupMenu;
  if (popup == nullptr || popup->GetSafeHwnd() == nullptr) return 0;
  CRect popupRect;
  popup->GetWindowRect(popupRect);
  CRect button = pButton->m_rect;
  if (pButton->m_pWndParent != nullptr && pButton->m_pWndParent->GetSafeHwnd() != nullptr)
    pButton->m_pWndParent->ClientToScreen(button);
  int join;
  switch (popup->GetDropDirection()) {
    case CPlxPopupMenu::DROP_DIRECTION_BOTTOM:
      join = popupRect.Width() < button.Width() ? 1 : 4;
      rect.bottom += join;
      return join;
    case CPlxPopupMenu::DROP_DIRECTION_TOP:
      join = popupRect.Width() < button.Width() ? 1 : 4;
      rect.top -= join;
      return join;
    case CPlxPopupMenu::DROP_DIRECTION_RIGHT:
      join = popupRect.Height() < button.Height() ? 1 : 4;
      rect.right += join;
      return join;
    case CPlxPopupMenu::DROP_DIRECTION_LEFT:
      join = popupRect.Height() < button.Height() ? 1 : 4;
      rect.left -= join;
      return join;
    default:
      return 4;
  }
}

void CPlxVisualManagerXP::OnFillButtonInterior(CDC* pDC, CPlxToolbarButton* pButton, CRect rect,
                                               PlxButtonState state) {
  if (state != PlxButtonPressed && state != PlxButtonHighlighted) return;
  if (CPlxToolBar::m_bCustomizeMode && !CPlxToolBar::m_bAltDragActive && !pButton->m_bLocked) return;
  const BOOL inPopup = InPopupMenuBar(pButton);
  if (!inPopup && !m_bHotButtonFill) return;
  const BOOL menuButton = pButton->IsKindOf(RUNTIME_CLASS(CPlxToolbarMenuButton));
  CBrush* brush = state == PlxButtonPressed && !inPopup ? &m_brPressedFill : &m_brHotFill;
  if (menuButton && !inPopup && pButton->IsDroppedDown()) {
    JoinMenuButtonToPopup(static_cast<CPlxToolbarMenuButton*>(pButton), rect);
    brush = &m_brBarFill;
  }
  const BOOL checked = (pButton->m_nStyle & TBBS_CHECKED) != 0;
  if (checked) brush = state == PlxButtonHighlighted ? &m_brPressedFill : &m_brCheckedFill;
  if (menuButton && (pButton->m_nStyle & TBBS_DISABLED)) brush = &m_brMenuFill;
  if (!checked) rect.DeflateRect(1, 1);
  FillHighlightedArea(pDC, rect, brush, pButton);
}

void CPlxVisualManagerXP::OnDrawButtonBorder(CDC* pDC, CPlxToolbarButton* pButton, CRect rect,
                                             PlxButtonState state) {
  if (state != PlxButtonPressed && state != PlxButtonHighlighted) return;
  const PlxGlobalData& g = g_plxGlobalData;
  COLORREF clr = m_clrHotFrame;
  const BOOL inPopup = InPopupMenuBar(pButton);
  const BOOL menuButton = pButton->IsKindOf(RUNTIME_CLASS(CPlxToolbarMenuButton));
  const BOOL checked = (pButton->m_nStyle & TBBS_CHECKED) != 0;
  if (menuButton && !inPopup && pButton->IsDroppedDown()) {
    auto* menu = static_cast<CPlxToolbarMenuButton*>(pButton);
    clr = m_clrMenuFrame;
    JoinMenuButtonToPopup(menu, rect);
    CPlxPopupMenu* popup = menu->m_pPopupMenu;
    if (m_bDroppedButtonShadow && popup != nullptr && popup->GetSafeHwnd() != nullptr &&
        (popup->GetExStyle() & WS_EX_LAYOUTRTL) == 0 && CPlxMenuBar::m_bMenuShadows &&
        !CPlxToolBar::m_bCustomizeMode && RichColors()) {
      CPlxDrawHelper helper(pDC);
      helper.DrawShadow(rect, m_nMenuShadowDepth, 100, 75, nullptr, nullptr, TRUE, m_clrShadowTint);
    }
  } else if (state == PlxButtonPressed && !inPopup && !menuButton && !checked && rect.Width() > 5 &&
             rect.Height() > 5 && m_clrPressedFrame != (COLORREF)-1) {
    clr = m_clrPressedFrame;
  }
  if (checked && inPopup) {
    if ((pButton->m_nStyle & TBBS_MARKED) && m_clrPressedFrame != (COLORREF)-1) clr = m_clrPressedFrame;
    rect.bottom++;
  }
  (void)g;
  pDC->Draw3dRect(rect, clr, clr);
}

void CPlxVisualManagerXP::OnDrawMenuButtonBorder(CDC* pDC, CPlxToolbarMenuButton*, CRect rect, PlxButtonState,
                                                 BOOL bHorz) {
  CPen* old = pDC->SelectObject(&m_penHotFrame);
  pDC->MoveTo(rect.left, rect.top);
  if (bHorz)
    pDC->LineTo(rect.left, rect.bottom);
  else
    pDC->LineTo(rect.right, rect.top);
  pDC->SelectObject(old);
}

void CPlxVisualManagerXP::OnHighlightMenuItem(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect,
                                              COLORREF& clrText) {
  rect.DeflateRect(1, 0);
  FillHighlightedArea(pDC, rect, (pButton->m_nStyle & TBBS_DISABLED) ? &m_brMenuFill : &m_brHotFill, pButton);
  DrawHotFrame(pDC, rect);
  clrText = GetMenuButtonTextColor(pButton);
}

COLORREF CPlxVisualManagerXP::GetMenuButtonTextColor(CPlxToolbarMenuButton* pButton) {
  if (pButton->m_nStyle & TBBS_DISABLED) return g_plxGlobalData.clrGrayedText;
  const BOOL light =
      GetRValue(m_clrHotFill) > 128 && GetGValue(m_clrHotFill) > 128 && GetBValue(m_clrHotFill) > 128;
  return light ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

void CPlxVisualManagerXP::OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rect) {
  rect.left--;
  rect.right = rect.left + MenuImageWidth() + 2 * 3 + 2;
  pDC->FillRect(rect, &m_brRareStrip);
}

COLORREF CPlxVisualManagerXP::GetToolbarButtonTextColor(CPlxToolbarButton* pButton, PlxButtonState state) {
  const PlxGlobalData& g = g_plxGlobalData;
  if (g.bIsBlackHighContrast || g.bIsWhiteHighContrast)
    return CPlxVisualManager::GetToolbarButtonTextColor(pButton, state);
  const BOOL disabled =
      CPlxToolBar::m_bCustomizeMode ? !pButton->IsEditable() : (pButton->m_nStyle & TBBS_DISABLED) != 0;
  if (!disabled && state == PlxButtonHighlighted && (pButton->m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)))
    return g.clrTextHilite;
  return CPlxVisualManager::GetToolbarButtonTextColor(pButton, state);
}

COLORREF CPlxVisualManagerXP::OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bSelected) {
  if (bSelected) {
    if (m_bHotButtonFill) rect.left = 0;
    FillHighlightedArea(pDC, rect, &m_brHotFill, nullptr);
    DrawHotFrame(pDC, rect);
    const BOOL light =
        GetRValue(m_clrHotFill) > 128 && GetGValue(m_clrHotFill) > 128 && GetBValue(m_clrHotFill) > 128;
    return light ? RGB(0, 0, 0) : RGB(255, 255, 255);
  }
  pDC->FillRect(rect, &m_brMenuFill);
  CRect strip = rect;
  strip.right = strip.left + 3 + MenuImageWidth() + 2;
  pDC->FillRect(strip, &m_brBarFill);
  return g_plxGlobalData.clrBarText;
}
