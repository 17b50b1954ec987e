// How the visual managers draw the property list's parts: the plus/minus box, the group colours,
// and the control border, in the classic look of the base manager and the
// flat Office-XP look.
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxPropList.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxVisualManagerXP.h"

namespace {

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

COLORREF CPlxVisualManagerXP::GetPropListGroupColor(CPlxPropList* pPropList) {
  if (g_plxGlobalData.nBitsPerPixel <= 8) return CPlxVisualManager::GetPropListGroupColor(pPropList);
  return CPlxDrawHelper::ScaleColor(
      ListUsesBarColors(pPropList) ? g_plxGlobalData.clrBarFace : g_plxGlobalData.clrBtnFace, 94);
}

COLORREF CPlxVisualManagerXP::GetPropListGroupTextColor(CPlxPropList* pPropList) {
  return ListUsesBarColors(pPropList) ? g_plxGlobalData.clrBarShadow : g_plxGlobalData.clrBtnShadow;
}
