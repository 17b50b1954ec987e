// The classic 3D drawing of control bars, grippers, separators, popup menus, toolbar and menu
// buttons, combo and edit fields, captions, panels, frames and splitters.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/user/Paint.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxControlBars.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

void Glyph(CDC* pDC, int nGlyph, const CRect& rect) {
  CPlxMenuGlyphs::Draw(pDC, nGlyph, rect, CSize(0, 0));
}

// A frame of one colour on all four sides.
void Frame(CDC* pDC, const CRect& rect, COLORREF clr) {
  pDC->Draw3dRect(rect, clr, clr);
}

BOOL InPopupMenuBar(const CPlxToolbarButton* pButton) {
  return pButton->m_pWndParent != nullptr && pButton->m_pWndParent->IsKindOf(RUNTIME_CLASS(CPlxPopupMenuBar));
}

}  // namespace

void CPlxVisualManager::OnFillBarBackground(CDC* pDC, CControlBar* pBar, CRect rectClient, CRect rectClip,
                                            BOOL) {
  if (pBar->IsKindOf(RUNTIME_CLASS(CPlxCaptionBar))) {
    const COLORREF clr = static_cast<CPlxCaptionBar*>(pBar)->m_clrBarBackground;
    pDC->FillSolidRect(rectClip, clr == (COLORREF)-1 ? g_plxGlobalData.clrBarShadow : clr);
    return;
  }
  pDC->FillRect(rectClip.IsRectEmpty() ? rectClient : rectClip, &g_plxGlobalData.brBarFace);
}

void CPlxVisualManager::OnDrawBarBorder(CDC* pDC, CControlBar* pBar, CRect& rect) {
  const DWORD style = pBar->m_dwStyle;
  if ((style & CBRS_BORDER_ANY) == 0) return;
  const PlxGlobalData& g = g_plxGlobalData;
  const COLORREF saved = pDC->GetBkColor();
  const COLORREF clr = (style & CBRS_BORDER_3D) ? g.clrBarHilite : g.clrBarShadow;
  const int w = rect.Width(), h = rect.Height();
  if (style & CBRS_BORDER_LEFT) pDC->FillSolidRect(0, 0, 1, h - 1, clr);
  if (style & CBRS_BORDER_TOP) pDC->FillSolidRect(0, 0, w - 1, 1, clr);
  // The right and bottom lines are the last column and row, taken back from the far edges.
  if (style & CBRS_BORDER_RIGHT) pDC->FillSolidRect(rect.right - 1, 0, 1, h, g.clrBarShadow);
  if (style & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(0, rect.bottom - 1, w - 1, 1, g.clrBarShadow);
  // A bar that cannot dock carries the two-line top edge of a fixed bar.
  if (pBar->m_pDockContext == nullptr) {
    pDC->FillSolidRect(0, 0, w, 1, g.clrBarShadow);
    pDC->FillSolidRect(0, 1, w, 1, g.clrBarHilite);
  }
  if (style & CBRS_BORDER_LEFT) ++rect.left;
  if (style & CBRS_BORDER_TOP) ++rect.top;
  if (style & CBRS_BORDER_RIGHT) --rect.right;
  if (style & CBRS_BORDER_BOTTOM) --rect.bottom;
  pDC->SetBkColor(saved);
}

void CPlxVisualManager::OnDrawBarGripper(CDC* pDC, CRect rect, BOOL bHorz, CControlBar* pBar) {
  const PlxGlobalData& g = g_plxGlobalData;
  const int n = m_bLook2000 ? 1 : 2;
  const int o = m_bLook2000 ? 0 : 1;
  if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CPlxSizingControlBar))) {
    if (bHorz)
      rect.left = rect.right = 6;
    else
      rect.top = rect.bottom = 6;
  }
  if (bHorz) {
    rect.DeflateRect(0, 2 + (m_bLook2000 ? 1 : 0));
    rect.left = (rect.left + rect.right) / 2 - ((n - 1) * o + 3 * n) / 2 + o;
    rect.right = rect.left + 3;
    for (int i = 0; i < n; ++i) {
      pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
      if (!m_bLook2000) pDC->SetPixel(rect.left, rect.bottom - 1, g.clrBarHilite);
      rect.OffsetRect(4, 0);
    }
  } else {
    rect.top += o;
    rect.DeflateRect(2 + (m_bLook2000 ? 1 : 0), 0);
    rect.top = (rect.top + rect.bottom) / 2 - (4 * n - 1) / 2 + o;
    rect.bottom = rect.top + 3;
    for (int i = 0; i < n; ++i) {
      pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
      if (!m_bLook2000) pDC->SetPixel(rect.right - 1, rect.top, g.clrBarHilite);
      rect.OffsetRect(0, 4);
    }
  }
}

void CPlxVisualManager::OnDrawSeparator(CDC* pDC, CControlBar*, CRect rect, BOOL bHorz) {
  if (bHorz) {
    rect.left += rect.Width() / 2 - 1;
    rect.right = rect.left + 2;
  } else {
    rect.top += rect.Height() / 2 - 1;
    rect.bottom = rect.top + 2;
  }
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBarShadow, g_plxGlobalData.clrBarHilite);
}

COLORREF CPlxVisualManager::OnDrawControlBarCaption(CDC* pDC, CControlBar*, BOOL bActive, CRect rectCaption,
                                                    CRect) {
  const PlxGlobalData& g = g_plxGlobalData;
  CBrush brush;
  brush.CreateSolidBrush(bActive ? g.clrActiveCaption : g.clrInactiveCaption);
  pDC->FillRect(rectCaption, &brush);
  return bActive ? g.clrCaptionText : g.clrInactiveCaptionText;
}

void CPlxVisualManager::OnDrawCaptionButton(CDC* pDC, CPlxCaptionButton* pButton, BOOL bHorz, BOOL bMaximized,
                                            BOOL bDisabled) {
  const PlxGlobalData& g = g_plxGlobalData;
  CRect rect = pButton->GetDrawRect();
  const BOOL pushed = pButton->m_bPushed && pButton->m_bFocused;
  CRect glyph = rect;
  if (pushed) glyph.OffsetRect(1, 1);
  pButton->DrawGlyph(pDC, glyph, bHorz, bMaximized, bDisabled);
  if (bDisabled) return;
  if (pushed)
    pDC->Draw3dRect(rect, g.clrBarShadow, g.clrBarHilite);
  else if (pButton->m_bFocused || pButton->m_bPushed)
    pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
}

void CPlxVisualManager::OnDrawCaptionBarText(CDC* pDC, CPlxCaptionBar*, CRect rect, const CString& strText) {
  const PlxGlobalData& g = g_plxGlobalData;
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  const int mode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF color = pDC->SetTextColor(g.clrBarText);
  CFont* font = pDC->SelectObject(&g_plxGlobalData.fontBold);
  rect.DeflateRect(2, 0);
  pDC->DrawText(strText, rect, DT_SINGLELINE | DT_VCENTER);
  pDC->SelectObject(font);
  pDC->SetTextColor(color);
  pDC->SetBkMode(mode);
}

COLORREF CPlxVisualManager::GetCaptionBarTextColor(CPlxCaptionBar*) {
  return GetSysColor(COLOR_WINDOW);
}

// ---- Popup menus and menu items.

void CPlxVisualManager::OnDrawMenuBorder(CDC* pDC, CPlxPopupMenu*, CRect rect) {
  const PlxGlobalData& g = g_plxGlobalData;
  pDC->Draw3dRect(rect, g.clrBarLight, g.clrBarDkShadow);
  rect.DeflateRect(1, 1);
  pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
}

void CPlxVisualManager::OnDrawPopupWindowBorder(CDC* pDC, CRect rect) {
  OnDrawMenuBorder(pDC, nullptr, rect);
}

void CPlxVisualManager::OnDrawMenuShadow(CDC* pDC, const CRect& rectClient, const CRect&, int nDepth,
                                         int iMin, int iMax, CBitmap* pBottom, CBitmap* pRight, BOOL bRTL) {
  CPlxDrawHelper helper(pDC);
  helper.DrawShadow(rectClient, nDepth, iMin, iMax, pBottom, pRight, !bRTL, (COLORREF)-1);
}

void CPlxVisualManager::OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bActive) {
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  rect.DeflateRect(2, 1);
  pDC->FillSolidRect(rect, GetSysColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

void CPlxVisualManager::OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                                               BOOL) {
  UINT state = 0;
  switch (uiSystemCommand) {
    case SC_MINIMIZE:
      state = DFCS_CAPTIONMIN;
      break;
    case SC_CLOSE:
      state = DFCS_CAPTIONCLOSE;
      break;
    case SC_RESTORE:
      state = DFCS_CAPTIONRESTORE;
      break;
    default:
      return;
  }
  if (nStyle & TBBS_PRESSED) state |= DFCS_PUSHED;
  if (nStyle & TBBS_DISABLED) state |= DFCS_INACTIVE;
  pDC->DrawFrameControl(rect, DFC_CAPTION, state);
}

void CPlxVisualManager::OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rect) {
  CPlxDrawHelper helper(pDC);
  helper.HighlightRect(rect);
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBarShadow, g_plxGlobalData.clrBarHilite);
}

void CPlxVisualManager::OnHighlightMenuItem(CDC* pDC, CPlxToolbarMenuButton*, CRect rect, COLORREF&) {
  pDC->FillRect(rect, &g_plxGlobalData.brHilite);
}

void CPlxVisualManager::OnDrawMenuCheck(CDC* pDC, CPlxToolbarMenuButton*, CRect rect, BOOL, BOOL bIsRadio) {
  Glyph(pDC, bIsRadio ? CPlxMenuGlyphs::IdMenuRadio : CPlxMenuGlyphs::IdCheck, rect);
}

void CPlxVisualManager::OnFillMenuImageRect(CDC* pDC, CPlxToolbarButton*, CRect rect, PlxButtonState) {
  pDC->FillRect(rect, &g_plxGlobalData.brHilite);
}

COLORREF CPlxVisualManager::GetMenuButtonTextColor(CPlxToolbarMenuButton* pButton) {
  return (pButton->m_nStyle & TBBS_DISABLED) ? g_plxGlobalData.clrGrayedText : g_plxGlobalData.clrTextHilite;
}

COLORREF CPlxVisualManager::GetMenuItemTextColor(CPlxToolbarMenuButton*, BOOL bHighlighted, BOOL bDisabled) {
  const PlxGlobalData& g = g_plxGlobalData;
  if (bHighlighted) return bDisabled ? g.clrBtnFace : g.clrTextHilite;
  return bDisabled ? g.clrGrayedText : g.clrWindowText;
}

int CPlxVisualManager::GetShowAllMenuItemsHeight(CDC*, const CSize&) {
  return PlxMenuGlyphSize().cy + 6;
}

void CPlxVisualManager::OnDrawShowAllMenuItems(CDC* pDC, CRect rect, PlxButtonState) {
  Glyph(pDC, 18, rect);
}

// ---- Toolbar buttons.

void CPlxVisualManager::OnFillButtonInterior(CDC* pDC, CPlxToolbarButton* pButton, CRect rect,
                                             PlxButtonState state) {
  if (pButton->IsKindOf(RUNTIME_CLASS(CPlxShowAllButton))) {
    if (state == PlxButtonHighlighted) {
      CPlxDrawHelper helper(pDC);
      helper.HighlightRect(rect);
    }
    return;
  }
  if (!m_bShadeCheckedButtons &&
      !(pButton->IsKindOf(RUNTIME_CLASS(CPlxToolbarMenuButton)) && InPopupMenuBar(pButton)))
    return;
  if (CPlxToolBar::m_bCustomizeMode || state == PlxButtonHighlighted) return;
  if (pButton->m_nStyle & (TBBS_CHECKED | TBBS_INDETERMINATE)) {
    rect.DeflateRect(GetSystemMetrics(SM_CXBORDER) * 2, GetSystemMetrics(SM_CYBORDER) * 2);
    pDC->FillRect(rect, &g_plxGlobalData.brLight);
  }
}

void CPlxVisualManager::OnDrawButtonBorder(CDC* pDC, CPlxToolbarButton* pButton, CRect rect,
                                           PlxButtonState state) {
  if (pButton->m_nStyle & TBBS_DISABLED) return;
  const PlxGlobalData& g = g_plxGlobalData;
  if (state == PlxButtonPressed)
    pDC->Draw3dRect(rect, g.clrBarShadow, g.clrBarHilite);
  else if (state == PlxButtonHighlighted)
    pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
}

void CPlxVisualManager::OnDrawMenuButtonBorder(CDC* pDC, CPlxToolbarMenuButton* pButton, CRect rect,
                                               PlxButtonState state, BOOL) {
  if (m_bFlatMenuButtons && pButton->IsDroppedDown()) return;
  OnDrawButtonBorder(pDC, pButton, rect, state);
}

COLORREF CPlxVisualManager::GetToolbarButtonTextColor(CPlxToolbarButton* pButton, PlxButtonState state) {
  const BOOL disabled =
      CPlxToolBar::m_bCustomizeMode ? !pButton->IsEditable() : (pButton->m_nStyle & TBBS_DISABLED) != 0;
  if (disabled) return g_plxGlobalData.clrGrayedText;
  if (state == PlxButtonHighlighted) return CPlxToolBar::GetHotTextColor();
  return g_plxGlobalData.clrBarText;
}

COLORREF CPlxVisualManager::GetToolbarDisabledColor() const {
  return g_plxGlobalData.clrBarFace;
}

COLORREF CPlxVisualManager::OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bSelected) {
  if (!bSelected) {
    pDC->FillRect(rect, &g_plxGlobalData.brBtnFace);
    return g_plxGlobalData.clrBarText;
  }
  pDC->FillRect(rect, &g_plxGlobalData.brHilite);
  rect.DeflateRect(1, 1);
  rect.right--;
  rect.bottom--;
  pDC->PatBlt(rect.left, rect.top + 1, 1, rect.bottom - rect.top, PATINVERT);
  pDC->PatBlt(rect.left, rect.top, rect.right - rect.left, 1, PATINVERT);
  pDC->PatBlt(rect.right, rect.top, 1, rect.bottom - rect.top, PATINVERT);
  pDC->PatBlt(rect.left + 1, rect.bottom, rect.right - rect.left, 1, PATINVERT);
  return g_plxGlobalData.clrTextHilite;
}

// ---- Combo and edit fields.

void CPlxVisualManager::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bDropped,
                                              BOOL bHighlighted, CPlxToolbarComboBoxButton*) {
  const PlxGlobalData& g = g_plxGlobalData;
  const COLORREF text = pDC->GetTextColor();
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  Frame(pDC, rect, g.clrBarHilite);
  if (bDropped) {
    rect.OffsetRect(1, 1);
    pDC->Draw3dRect(rect, g.clrBarShadow, g.clrBarHilite);
  } else if (bHighlighted) {
    pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
  }
  Glyph(pDC, bDisabled ? 1 : 0, rect);
  pDC->SetTextColor(text);
}

void CPlxVisualManager::OnDrawComboBorder(CDC* pDC, CRect rect, BOOL, BOOL bDropped, BOOL bHighlighted,
                                          CPlxToolbarComboBoxButton*) {
  if (!bDropped && !bHighlighted) return;
  const PlxGlobalData& g = g_plxGlobalData;
  if (m_bFlatMenuButtons) {
    rect.DeflateRect(1, 1);
    Frame(pDC, rect, g.clrBarDkShadow);
  } else {
    pDC->Draw3dRect(rect, g.clrBarShadow, g.clrBarHilite);
  }
}

void CPlxVisualManager::OnDrawEditBorder(CDC* pDC, CRect rect, BOOL, BOOL bHighlighted,
                                         CPlxToolbarEditBoxButton*) {
  if (bHighlighted) pDC->DrawEdge(rect, EDGE_SUNKEN, BF_RECT);
}

// ---- Panels, frames, dialogs and splitters.

void CPlxVisualManager::OnDrawRaisedPanel(CDC* pDC, CRect rect) {
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBarHilite, g_plxGlobalData.clrBarShadow);
}

void CPlxVisualManager::OnFillCaptionPanel(CDC* pDC, CRect rect, COLORREF& clrText) {
  const PlxGlobalData& g = g_plxGlobalData;
  pDC->FillSolidRect(rect, g.clrBarFace);
  pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
  clrText = g.clrBarText;
}

void CPlxVisualManager::OnDrawInsetFrame(CDC* pDC, CWnd*, CRect rect) {
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBarShadow, g_plxGlobalData.clrBarHilite);
  rect.DeflateRect(1, 1);
  Frame(pDC, rect, g_plxGlobalData.clrBarFace);
}

void CPlxVisualManager::OnDrawFaceFrame(CDC* pDC, CWnd*, CRect rect) {
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBarFace, g_plxGlobalData.clrBarShadow);
}

void CPlxVisualManager::OnFillFace(CDC* pDC, CWnd*, CRect rect) {
  pDC->FillSolidRect(rect, g_plxGlobalData.clrBarFace);
}

COLORREF CPlxVisualManager::OnFillMiniFrameCaption(CDC* pDC, CRect rect, CWnd*) {
  CBrush brush;
  brush.CreateSolidBrush(g_plxGlobalData.clrActiveCaption);
  pDC->FillRect(rect, &brush);
  return g_plxGlobalData.clrCaptionText;
}

void CPlxVisualManager::OnFillDialogBackground(CDC* pDC, CRect rect) {
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
}

void CPlxVisualManager::OnDrawSplitterBorder(CDC* pDC, CSplitterWnd*, CRect rect, CRect border) {
  auto strips = [pDC](const CRect& r, const CRect& b, int shorten) {
    pDC->PatBlt(r.left, r.top + shorten, b.left, r.Height() - 2 * shorten, PATCOPY);
    pDC->PatBlt(r.left + shorten, r.top, r.Width() - 2 * shorten, b.top, PATCOPY);
    pDC->PatBlt(r.right - b.right, r.top + shorten, b.right, r.Height() - 2 * shorten, PATCOPY);
    pDC->PatBlt(r.left + shorten, r.bottom - b.bottom, r.Width() - 2 * shorten, b.bottom, PATCOPY);
  };
  CBrush* old = pDC->SelectObject(&g_plxGlobalData.brBtnFace);
  strips(rect, border, 0);
  rect.InflateRect(-2, -2);
  border.InflateRect(-2, -2);
  pDC->SelectObject(&g_plxGlobalData.brLight);
  strips(rect, border, 1);
  pDC->SelectObject(old);
}
