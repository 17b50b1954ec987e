// CPlxVisualManager: the push-button slots, the classic 3D look and the themed push button.
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/user/Controls.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxMenuButton.h"

int CPlxVisualManager::PushButtonThemeState(const CPlxButton* pButton) {
  // A button without a window yet is drawn enabled.
  if (pButton->GetSafeHwnd() != nullptr && !pButton->IsWindowEnabled()) return 4;
  if ((pButton->IsPushed() && pButton->IsHighlighted()) || pButton->IsChecked()) return 3;
  if (pButton->IsHighlighted()) return 2;
  return 1;
}

BOOL CPlxVisualManager::IsMenuButtonFlagSet(const CPlxButton* pButton, BOOL bBoth) {
  if (!pButton->IsKindOf(RUNTIME_CLASS(CPlxMenuButton))) return FALSE;
  const auto* pMenuButton = static_cast<const CPlxMenuButton*>(pButton);
  return bBoth ? pMenuButton->m_bOpaqueFace && pMenuButton->m_bCaptionButtonLook : pMenuButton->m_bOpaqueFace;
}

void CPlxVisualManager::FillWithParentDialogBackground(CDC* pDC, CPlxButton* pButton) {
  CWnd* pParent = pButton->GetParent();
  if (pParent == nullptr) return;
  CRect rectParent;
  pParent->GetClientRect(rectParent);
  pParent->MapWindowPoints(pButton, rectParent);
  OnFillDialogBackground(pDC, rectParent);
}

BOOL CPlxVisualManager::DrawPushButton(CDC* pDC, CRect rect, CPlxButton* pButton, UINT /*uiState*/) {
  if (m_hThemeButton == nullptr || m_pfDrawThemeBackground == nullptr) return FALSE;
  const int nState = PushButtonThemeState(pButton);
  g_plxGlobalData.DrawParentBackground(pButton, pDC, rect);
  return DrawThemed(m_hThemeButton, pDC, 1, nState, rect);
}

BOOL CPlxVisualManager::DrawPushButtonWinXP(CDC* pDC, CRect rect, CPlxButton* pButton, UINT uiState) {
  return DrawPushButton(pDC, rect, pButton, uiState);
}

void CPlxVisualManager::OnFillPushButtonBackground(CDC* pDC, CRect rect, CPlxButton*) {
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
}

void CPlxVisualManager::OnDrawPushButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState) {
  pButton->DrawButtonFrame(pDC, rect, uiState);
}

void CPlxVisualManager::OnFillButtonParentBackground(CDC* pDC, CRect rect, CPlxButton* pButton) {
  if (IsMenuButtonFlagSet(pButton, FALSE)) {
    pDC->FillRect(rect, &g_plxGlobalData.brBtnFace);
    return;
  }
  FillWithParentDialogBackground(pDC, pButton);
}

void CPlxVisualManager::OnDrawButtonFrame(CDC* pDC, CRect& rect, CPlxButton* pButton) {
  const PlxGlobalData& g = g_plxGlobalData;
  if (pButton->IsPushed() && pButton->IsHighlighted()) {
    pDC->Draw3dRect(rect, g.clrBarDkShadow, g.clrBarLight);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(rect, g.clrBarShadow, g.clrBarHilite);
  } else {
    pDC->Draw3dRect(rect, g.clrBarLight, g.clrBarDkShadow);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(rect, g.clrBarHilite, g.clrBarShadow);
  }
}

BOOL CPlxVisualManager::OnFillOutlookPageButton(CPlxButton*, CDC*, const CRect&, COLORREF&) {
  return FALSE;
}

BOOL CPlxVisualManager::OnDrawOutlookPageButtonBorder(CPlxButton*, CDC*, CRect&, UINT) {
  return FALSE;
}
