// How the visual managers draw the property list's parts: the plus/minus box, the group colours,
// the control border and the drop-down button of a value with options, in the classic look of
// the base manager and the flat Office-XP look.
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxPropList.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxVisualManagerXP.h"

namespace {

// The drop-down arrow of a combo button: a 7 x 4 triangle pointing down, centred in rect.
void DrawDropArrow(CDC* pDC, const CRect& rect, COLORREF colour) {
  const int left = rect.left + (rect.Width() - 7) / 2;
  const int top = rect.top + (rect.Height() - 4) / 2;
  for (int row = 0; row < 4; ++row) pDC->FillSolidRect(left + row, top + row, 7 - 2 * row, 1, colour);
}

BOOL ListUsesBarColors(CPlxPropList* pPropList) {
  return pPropList && pPropList->IsControlBarColors();
}

}  // namespace

void CPlxVisualManager::OnDrawExpandingBox(CDC* pDC, CRect rect, BOOL bIsOpened, COLORREF colorBox) {
  CBrush frame(colorBox);
  pDC->FrameRect(rect, &frame);
  rect.DeflateRect(2, 2);
  CPen pen(PS_SOLID, 1, g_plxGlobalData.clrBtnText);
  CPen* oldPen = pDC->SelectObject(&pen);
  const int midY = (rect.top + rect.bottom) / 2;
  pDC->MoveTo(rect.left, midY);
  pDC->LineTo(rect.right, midY);
  if (!bIsOpened) {
    const int midX = (rect.left + rect.right) / 2;
    pDC->MoveTo(midX, rect.top);
    pDC->LineTo(midX, rect.bottom);
  }
  pDC->SelectObject(oldPen);
}

COLORREF CPlxVisualManager::GetPropListGroupColor(CPlxPropList* pPropList) {
  return ListUsesBarColors(pPropList) ? g_plxGlobalData.clrBarFace : g_plxGlobalData.clrBtnFace;
}

COLORREF CPlxVisualManager::GetPropListGroupTextColor(CPlxPropList* pPropList) {
  return ListUsesBarColors(pPropList) ? g_plxGlobalData.clrBarDkShadow : g_plxGlobalData.clrBtnDkShadow;
}

void CPlxVisualManager::OnDrawControlBorder(CWnd* pWndCtrl) {
  CWindowDC dc(pWndCtrl);
  CRect rect;
  pWndCtrl->GetWindowRect(rect);
  rect.OffsetRect(-rect.left, -rect.top);
  if (pWndCtrl->GetStyle() & WS_POPUP) {
    CBrush frame(g_plxGlobalData.clrBarShadow);
    dc.FrameRect(rect, &frame);
  } else {
    dc.Draw3dRect(rect, g_plxGlobalData.clrBarDkShadow, g_plxGlobalData.clrBarHilite);
  }
  rect.DeflateRect(1, 1);
  CBrush inner(g_plxGlobalData.clrWindow);
  dc.FrameRect(rect, &inner);
}

void CPlxVisualManager::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                              BOOL bIsHighlighted, CPlxToolbarComboBoxButton*) {
  const COLORREF oldText = pDC->GetTextColor();
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  pDC->Draw3dRect(rect, g_plxGlobalData.clrBarHilite, g_plxGlobalData.clrBarHilite);
  if (bIsDropped) {
    rect.OffsetRect(1, 1);
    pDC->Draw3dRect(rect, g_plxGlobalData.clrBarShadow, g_plxGlobalData.clrBarHilite);
  } else if (bIsHighlighted) {
    pDC->Draw3dRect(rect, g_plxGlobalData.clrBarHilite, g_plxGlobalData.clrBarShadow);
  }
  DrawDropArrow(pDC, rect, bDisabled ? g_plxGlobalData.clrGrayedText : g_plxGlobalData.clrBtnText);
  pDC->SetTextColor(oldText);
}

COLORREF CPlxVisualManagerXP::GetPropListGroupColor(CPlxPropList* pPropList) {
  if (g_plxGlobalData.nBitsPerPixel <= 8) return CPlxVisualManager::GetPropListGroupColor(pPropList);
  return CPlxDrawHelper::ScaleColor(
      ListUsesBarColors(pPropList) ? g_plxGlobalData.clrBarFace : g_plxGlobalData.clrBtnFace, 94);
}

COLORREF CPlxVisualManagerXP::GetPropListGroupTextColor(CPlxPropList* pPropList) {
  return ListUsesBarColors(pPropList) ? g_plxGlobalData.clrBarShadow : g_plxGlobalData.clrBtnShadow;
}

void CPlxVisualManagerXP::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                                BOOL bIsHighlighted, CPlxToolbarComboBoxButton*) {
  const COLORREF oldText = pDC->GetTextColor();
  if (bIsDropped) {
    pDC->FillRect(rect, &m_brPressedFill);
  } else if (bIsHighlighted) {
    pDC->FillRect(rect, &m_brHotFill);
  } else {
    pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
    CBrush frame(g_plxGlobalData.clrBarHilite);
    pDC->FrameRect(rect, &frame);
  }
  if (bIsDropped || bIsHighlighted) {
    CPen* oldPen = pDC->SelectObject(&m_penHotFrame);
    pDC->MoveTo(rect.left, rect.top);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(oldPen);
  }
  COLORREF arrow = g_plxGlobalData.clrBtnText;
  if (bIsDropped)
    arrow = g_plxGlobalData.clrTextHilite;
  else if (bDisabled)
    arrow = g_plxGlobalData.clrGrayedText;
  DrawDropArrow(pDC, rect, arrow);
  pDC->SetTextColor(oldText);
}
