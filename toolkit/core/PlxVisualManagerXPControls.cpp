// The Office-XP drawing of combo, edit and spin fields, captions, panels, frames, tab windows,
// the tasks pane and scroll buttons.
#include <algorithm>

#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/ImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxVisualManagerXP.h"
#include "toolkit/customize/PlxOutlookBar.h"
#include "toolkit/customize/PlxTabWnd.h"
#include "toolkit/customize/PlxTaskRecords.h"

namespace {

void Glyph(CDC* pDC, int nGlyph, const CRect& rect) {
  CPlxMenuGlyphs::Draw(pDC, nGlyph, rect, CSize(0, 0));
}

void Frame(CDC* pDC, const CRect& rect, COLORREF clr) {
  pDC->Draw3dRect(rect, clr, clr);
}

}  // namespace

void CPlxVisualManagerXP::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bDropped,
                                                BOOL bHighlighted, CPlxToolbarComboBoxButton*) {
  const COLORREF text = pDC->GetTextColor();
  if (bDropped || bHighlighted) {
    FillHighlightedArea(pDC, rect, bDropped ? &m_brPressedFill : &m_brHotFill, nullptr);
    CPen* old = pDC->SelectObject(&m_penHotFrame);
    pDC->MoveTo(rect.left, rect.top);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(old);
  } else {
    pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
    Frame(pDC, rect, g_plxGlobalData.clrBarHilite);
  }
  Glyph(pDC, bDropped ? 28 : bDisabled ? 1 : 0, rect);
  pDC->SetTextColor(text);
}

void CPlxVisualManagerXP::OnDrawComboBorder(CDC* pDC, CRect rect, BOOL, BOOL bDropped, BOOL bHighlighted,
                                            CPlxToolbarComboBoxButton*) {
  if (!bDropped && !bHighlighted) return;
  rect.DeflateRect(1, 1);
  DrawHotFrame(pDC, rect);
}

void CPlxVisualManagerXP::OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bHighlighted,
                                           CPlxToolbarEditBoxButton* pButton) {
  // The edit-box button's flat border is off: nothing in the toolkit switches it on.
  CPlxVisualManager::OnDrawEditBorder(pDC, rect, bDisabled, bHighlighted, pButton);
}

void CPlxVisualManagerXP::OnDrawSpinButtons(CDC* pDC, CRect rect, int nState, BOOL bHorz,
                                            CPlxSpinButtonCtrl*) {
  CRect halves[2] = {rect, rect};
  if (bHorz) {
    halves[0].right = rect.left + rect.Width() / 2;
    halves[1].left = halves[0].right;
  } else {
    halves[0].bottom = rect.top + rect.Height() / 2;
    halves[1].top = halves[0].bottom;
  }
  const int pressed = nState & 3;
  const int glyphs[2] = {bHorz ? 2 : 16, bHorz ? 19 : 0};
  int hot = -1;
  for (int i = 0; i < 2; ++i) {
    const BOOL isPressed = pressed == i + 1;
    const BOOL isHot = (nState & (i == 0 ? 4 : 8)) != 0;
    if (isPressed) {
      FillHighlightedArea(pDC, halves[i], &m_brPressedFill, nullptr);
    } else if (isHot) {
      FillHighlightedArea(pDC, halves[i], &m_brHotFill, nullptr);
    } else {
      pDC->FillRect(halves[i], &g_plxGlobalData.brBarFace);
      Frame(pDC, halves[i], g_plxGlobalData.clrBarHilite);
    }
    if (isHot && hot < 0) hot = i;
    Glyph(pDC, glyphs[i], halves[i]);
  }
  if (hot >= 0) DrawHotFrame(pDC, halves[hot]);
}

COLORREF CPlxVisualManagerXP::OnDrawControlBarCaption(CDC* pDC, CControlBar*, BOOL bActive, CRect rect,
                                                      CRect) {
  const PlxGlobalData& g = g_plxGlobalData;
  rect.DeflateRect(0, 1);
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, bActive ? g.clrBarLight : g.clrBarShadow);
  CBrush* brush = bActive ? &g_plxGlobalData.brActiveCaption : &g_plxGlobalData.brBarFace;
  if (bActive) rect.InflateRect(1, 1);
  CPen* oldPen = pDC->SelectObject(&pen);
  CBrush* oldBrush = pDC->SelectObject(brush);
  pDC->RoundRect(rect, CPoint(2, 2));
  pDC->SelectObject(oldBrush);
  pDC->SelectObject(oldPen);
  return bActive ? g.clrCaptionText : g.clrBarText;
}

void CPlxVisualManagerXP::OnDrawRaisedPanel(CDC* pDC, CRect rect) {
  if (m_brDotsHorz.GetSafeHandle() == nullptr) CreateDotBrushes();
  const PlxGlobalData& g = g_plxGlobalData;
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  pDC->Draw3dRect(rect, g.clrBarLight, g.clrBarShadow);
  const int width = std::max(20, 2 * CPlxToolBar::GetMenuImageSize().cx);
  CRect dots(rect.CenterPoint().x - width / 2, rect.top, 0, rect.bottom);
  dots.right = dots.left + width;
  dots.DeflateRect(0, 2);
  const COLORREF text = pDC->SetTextColor(g.clrBarShadow);
  const COLORREF bk = pDC->SetBkColor(m_clrBarFill);
  pDC->FillRect(dots, &m_brDotsHorz);
  pDC->SetBkColor(bk);
  pDC->SetTextColor(text);
}

void CPlxVisualManagerXP::OnFillCaptionPanel(CDC* pDC, CRect rect, COLORREF& clrText) {
  const PlxGlobalData& g = g_plxGlobalData;
  pDC->FillSolidRect(rect.left, rect.top, rect.Width(), std::min(3, rect.Height()), g.clrBarFace);
  if (rect.Height() > 3)
    pDC->FillSolidRect(rect.left, rect.top + 3, rect.Width(), rect.Height() - 3, g.clrBarShadow);
  clrText = g.clrBarHilite;
}

void CPlxVisualManagerXP::OnFillDialogBackground(CDC* pDC, CRect rect) {
  pDC->FillRect(rect, &m_brMenuFill);
}

void CPlxVisualManagerXP::OnDrawPopupWindowBorder(CDC* pDC, CRect rect) {
  Frame(pDC, rect, m_clrMenuFrame);
  rect.DeflateRect(1, 1);
  Frame(pDC, rect, m_clrMenuFill);
}

COLORREF CPlxVisualManagerXP::OnFillMiniFrameCaption(CDC* pDC, CRect rect, CWnd*) {
  pDC->FillRect(rect, &m_brHotFill);
  return g_plxGlobalData.clrBarText;
}

void CPlxVisualManagerXP::OnDrawInsetFrame(CDC* pDC, CWnd*, CRect rect) {
  Frame(pDC, rect, g_plxGlobalData.clrBarShadow);
  rect.DeflateRect(1, 1);
  Frame(pDC, rect, g_plxGlobalData.clrBarFace);
}

void CPlxVisualManagerXP::OnDrawFaceFrame(CDC* pDC, CWnd*, CRect rect) {
  Frame(pDC, rect, g_plxGlobalData.clrBarFace);
}

// ---- Tab windows.

void CPlxVisualManagerXP::OnEraseTabsArea(CDC* pDC, CRect rect, const CPlxTabWnd* pTabWnd) {
  if (pTabWnd->Is3DStyle()) {
    CPlxVisualManager::OnEraseTabsArea(pDC, rect, pTabWnd);
    return;
  }
  pDC->FillRect(rect, pTabWnd->m_bIsDlgControl ? &g_plxGlobalData.brBtnFace : &m_brTabArea);
}

void CPlxVisualManagerXP::OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bActive,
                                    const CPlxTabWnd* pTabWnd) {
  if (!pTabWnd->IsFlatTab() || pTabWnd->HasColoredTabs()) {
    CPlxVisualManager::OnDrawTab(pDC, rectTab, iTab, bActive, pTabWnd);
    return;
  }
  COLORREF dark, black, highlight, face, darkShadow, light;
  CBrush *faceBrush, *blackBrush;
  GetTabFrameColors(pTabWnd, dark, black, highlight, face, darkShadow, light, faceBrush, blackBrush);
  CPen penDark, penBlack, penHilite;
  penDark.CreatePen(PS_SOLID, 1, dark);
  penBlack.CreatePen(PS_SOLID, 1, black);
  penHilite.CreatePen(PS_SOLID, 1, highlight);
  CPen* old = pDC->SelectObject(&penDark);

  // The separator after the tab, unless the next one is active; after the last only on request.
  int last = -1;
  for (int i = pTabWnd->GetTabsNum() - 1; i >= 0; --i)
    if (pTabWnd->IsTabVisible(i)) {
      last = i;
      break;
    }
  const BOOL nextActive = iTab + 1 == pTabWnd->GetActiveTab();
  if (!nextActive && (iTab != last || m_bLastTabSeparator)) {
    pDC->MoveTo(rectTab.right, rectTab.top + 3);
    pDC->LineTo(rectTab.right, rectTab.bottom - 3);
  }
  const BOOL top = pTabWnd->GetLocation() == CPlxTabWnd::LOCATION_TOP;
  if (bActive) {
    if (top) {
      OnFillTab(pDC, CRect(rectTab.left + 1, rectTab.top, rectTab.right, rectTab.bottom + 1), faceBrush, iTab,
                TRUE, pTabWnd);
      pDC->SelectObject(&penBlack);
      pDC->MoveTo(rectTab.right, rectTab.bottom);
      pDC->LineTo(rectTab.right, rectTab.top);
      pDC->SelectObject(&penHilite);
      pDC->LineTo(rectTab.left, rectTab.top);
      pDC->LineTo(rectTab.left, rectTab.bottom);
    } else {
      OnFillTab(pDC, CRect(rectTab.left, rectTab.top - 1, rectTab.right, rectTab.bottom), faceBrush, iTab,
                TRUE, pTabWnd);
      pDC->SelectObject(&penBlack);
      pDC->MoveTo(rectTab.right, rectTab.top);
      pDC->LineTo(rectTab.right, rectTab.bottom);
      pDC->LineTo(rectTab.left, rectTab.bottom);
      pDC->SelectObject(&penHilite);
      pDC->LineTo(rectTab.left, rectTab.top - 2);
    }
  }
  pDC->SelectObject(old);
  const PlxGlobalData& g = g_plxGlobalData;
  const COLORREF clr = pTabWnd->m_bIsDlgControl ? g.clrBtnText : bActive ? g.clrBarText : m_clrTabTextDim;
  const COLORREF oldText = pDC->SetTextColor(clr);
  CPlxVisualManager::OnDrawTabContent(pDC, rectTab, iTab, bActive, pTabWnd, clr);
  pDC->SetTextColor(oldText);
}

void CPlxVisualManagerXP::OnFillTab(CDC* pDC, CRect rect, CBrush* pbrFill, int iTab, BOOL bActive,
                                    const CPlxTabWnd* pTabWnd) {
  const COLORREF own = pTabWnd->GetTabBkColor(iTab);
  if (own != (COLORREF)-1 && !bActive) {
    CBrush brush;
    brush.CreateSolidBrush(own);
    pDC->FillRect(rect, &brush);
    return;
  }
  if (pTabWnd->IsSlantedStyle() || pTabWnd->IsCompactSlantedStyle() || pTabWnd->IsTrapezoidStyle()) {
    CPlxVisualManager::OnFillTab(pDC, rect, pbrFill, iTab, bActive, pTabWnd);
    return;
  }
  if (bActive && pbrFill != nullptr) pDC->FillRect(rect, pbrFill);
}

// A button outside a tab window is drawn as on flat tabs.
static BOOL Is3DTabs(const CPlxTabWnd* pTabWnd) {
  return pTabWnd != nullptr && pTabWnd->Is3DStyle();
}

void CPlxVisualManagerXP::OnEraseTabsButton(CDC* pDC, CRect rect, CPlxButton* pButton,
                                            const CPlxTabWnd* pTabWnd) {
  if (!Is3DTabs(pTabWnd)) {
    pDC->FillRect(rect, &m_brTabArea);
    return;
  }
  CBrush* pBrush = &g_plxGlobalData.brBarFace;
  if (pButton->IsHighlighted()) pBrush = pButton->IsPushed() ? &m_brPressedFill : &m_brHotFill;
  pDC->FillRect(rect, pBrush);
  FillHighlightedArea(pDC, rect, pBrush, nullptr);
}

void CPlxVisualManagerXP::OnDrawTabsButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT,
                                                 const CPlxTabWnd* pTabWnd) {
  const BOOL bPushed = pButton->IsPushed();
  const BOOL bHighlighted = pButton->IsHighlighted();
  const COLORREF clrDark = g_plxGlobalData.clrBarDkShadow;
  if (Is3DTabs(pTabWnd)) {
    if (bPushed || bHighlighted) pDC->Draw3dRect(rect, clrDark, clrDark);
  } else if (bPushed && bHighlighted) {
    pDC->Draw3dRect(rect, clrDark, m_clrGripDots);
  } else if (bPushed || bHighlighted) {
    pDC->Draw3dRect(rect, m_clrGripDots, clrDark);
  }
}

// ---- Push buttons.

void CPlxVisualManagerXP::OnFillPushButtonBackground(CDC* pDC, CRect rect, CPlxButton* pButton) {
  CBrush* pBrush = &g_plxGlobalData.brBarFace;
  if (pButton->IsHighlighted()) pBrush = pButton->IsPushed() ? &m_brPressedFill : &m_brHotFill;
  pDC->FillRect(rect, pBrush);
}

void CPlxVisualManagerXP::OnDrawPushButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT) {
  if (pButton->IsPushed() || pButton->IsHighlighted()) {
    const COLORREF clrDark = g_plxGlobalData.clrBarDkShadow;
    pDC->Draw3dRect(rect, clrDark, clrDark);
  }
}

void CPlxVisualManagerXP::OnFillButtonParentBackground(CDC* pDC, CRect rect, CPlxButton* pButton) {
  const BOOL bPushed = pButton->IsPushed();
  const BOOL bHighlighted = pButton->IsHighlighted();
  if (!bPushed && !bHighlighted) {
    FillWithParentDialogBackground(pDC, pButton);
    return;
  }
  CBrush brush;
  brush.CreateSolidBrush(bPushed && bHighlighted ? m_clrPressedFill : m_clrHotFill);
  pDC->FillRect(rect, &brush);
}

void CPlxVisualManagerXP::OnDrawButtonFrame(CDC* pDC, CRect& rect, CPlxButton* pButton) {
  const BOOL bFocused = pButton->GetSafeHwnd() != nullptr && ::GetFocus() == pButton->GetSafeHwnd();
  if (pButton->IsHighlighted() || pButton->IsPushed() || bFocused) DrawHotFrame(pDC, rect);
}

// ---- Tasks pane and scroll buttons.

void CPlxVisualManagerXP::OnDrawTasksGroupCaption(CDC* pDC, CPlxTasksGroup* pGroup, BOOL bHighlighted, BOOL,
                                                  BOOL bCanCollapse) {
  const CRect caption = pGroup->m_rect;
  COLORREF clr = bCanCollapse && bHighlighted ? pGroup->m_clrTextHot : pGroup->m_clrText;
  if (clr == (COLORREF)-1) clr = GetSysColor(COLOR_WINDOWTEXT);
  DrawTasksGroupLabel(pDC, pGroup, clr, TRUE);
  if (!bCanCollapse || pGroup->m_strName.IsEmpty()) return;
  const CSize glyph = PlxMenuGlyphSize();
  if (caption.Width() < glyph.cx || caption.Height() < glyph.cy) return;
  CRect box(std::max(caption.left, caption.right - glyph.cx),
            std::max(caption.top, caption.bottom - glyph.cy), 0, 0);
  box.right = box.left + glyph.cx;
  box.bottom = box.top + glyph.cy;
  if (bHighlighted) {
    CPen* oldPen = pDC->SelectObject(&g_plxGlobalData.penHilite);
    CBrush* oldBrush = pDC->SelectObject(&m_brHotFill);
    pDC->Rectangle(box);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
  }
  Glyph(pDC, pGroup->m_bIsCollapsed ? 0 : 16, box);
}

void CPlxVisualManagerXP::OnDrawTasksGroupAreaBorder(CDC* pDC, CRect rect, BOOL, BOOL) {
  CPen* old = pDC->SelectObject(&g_plxGlobalData.penBarShadow);
  pDC->MoveTo(rect.left, rect.top);
  pDC->LineTo(rect.right, rect.top);
  pDC->SelectObject(old);
}

void CPlxVisualManagerXP::OnDrawTask(CDC* pDC, CPlxTask* pTask, CImageList* pIcons, BOOL bHighlighted, BOOL) {
  const PlxGlobalData& g = g_plxGlobalData;
  const CRect rect = pTask->m_rect;
  if (pTask->m_bIsSeparator) {
    CPen* old = pDC->SelectObject(&g_plxGlobalData.penBarShadow);
    const int y = (rect.top + rect.bottom) / 2;
    pDC->MoveTo(rect.left, y);
    pDC->LineTo(rect.right, y);
    pDC->SelectObject(old);
    return;
  }
  int cx = 0, cy = 0;
  if (pIcons != nullptr) ImageList_GetIconSize(pIcons->GetSafeHandle(), &cx, &cy);
  if (pTask->m_nIcon >= 0 && pIcons != nullptr)
    pIcons->Draw(pDC, pTask->m_nIcon, rect.TopLeft(), ILD_TRANSPARENT);
  const CPlxTasksPaneMetrics* pane = pTask->m_pGroup != nullptr ? pTask->m_pGroup->m_pPage : nullptr;
  const int gap = pane != nullptr && pane->m_nTasksIconHorzOffset != -1 ? pane->m_nTasksIconHorzOffset
                                                                        : m_nTasksIconHorzOffset;
  CFont* font = &g_plxGlobalData.fontRegular;
  COLORREF clr;
  if (pTask->m_uiCommandID != 0 && pTask->m_bIsLink) {
    if (bHighlighted) font = &g_plxGlobalData.fontUnderline;
    clr = bHighlighted ? pTask->m_clrTextHot : pTask->m_clrText;
    if (clr == (COLORREF)-1) clr = g.clrHotText;
  } else if (pTask->m_uiCommandID != 0) {
    clr = g.clrGrayedText;
  } else {
    clr = pTask->m_clrText == (COLORREF)-1 ? g.clrWindowText : pTask->m_clrText;
  }
  CRect text = rect;
  text.left += cx + gap;
  PlxDrawTaskText(pDC, pTask, text, font, clr);
}

void CPlxVisualManagerXP::OnDrawScrollButton(CDC* pDC, CRect rect, int nBorderSize, int iImage,
                                             BOOL bHilited) {
  CPlxMenuGlyphs::Initialize();
  CRect fill = rect;
  fill.top -= nBorderSize;
  pDC->FillRect(fill, &g_plxGlobalData.brWindow);
  if (bHilited) {
    pDC->FillRect(rect, &m_brHotFill);
    DrawHotFrame(pDC, rect);
  }
  Glyph(pDC, iImage, rect);
}

namespace {

// A page caption of an outlook bar that asked for the flat page look.
BOOL IsFlatOutlookPage(const CPlxButton* pButton) {
  CWnd* parent = pButton != nullptr && pButton->GetSafeHwnd() != nullptr ? pButton->GetParent() : nullptr;
  const auto* bar = dynamic_cast<const CPlxOutlookBar*>(parent);
  return bar != nullptr && bar->m_bPageLook;
}

}  // namespace

BOOL CPlxVisualManagerXP::OnFillOutlookPageButton(CPlxButton* pButton, CDC* pDC, const CRect& rect,
                                                  COLORREF& clrText) {
  if (!IsFlatOutlookPage(pButton)) return FALSE;
  const BOOL hot = pButton->IsHighlighted();
  CBrush* brush = &g_plxGlobalData.brBarFace;
  if ((pButton->IsPushed() && hot) || (hot && pButton->IsChecked()))
    brush = &m_brPressedFill;
  else if (hot)
    brush = &m_brHotFill;
  else if (pButton->IsChecked())
    brush = &m_brCheckedFill;
  pDC->FillRect(rect, brush);
  clrText = g_plxGlobalData.clrBarText;
  return TRUE;
}

BOOL CPlxVisualManagerXP::OnDrawOutlookPageButtonBorder(CPlxButton* pButton, CDC* pDC, CRect& rect, UINT) {
  if (!IsFlatOutlookPage(pButton)) return FALSE;
  if (pButton->IsHighlighted() || pButton->IsChecked()) DrawHotFrame(pDC, rect);
  return TRUE;
}
