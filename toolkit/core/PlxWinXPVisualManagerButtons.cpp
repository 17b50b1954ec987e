// CPlxWinXPVisualManager: push buttons and the tab window's buttons with the desktop theme; each
// slot draws the Office-XP look when its theme class is not open.
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

void CPlxWinXPVisualManager::OnFillPushButtonBackground(CDC* pDC, CRect rect, CPlxButton* pButton) {
  // The themed border slot paints the whole face.
  if (m_hThemeButton == nullptr) CPlxVisualManagerXP::OnFillPushButtonBackground(pDC, rect, pButton);
}

void CPlxWinXPVisualManager::OnDrawPushButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton,
                                                    UINT uiState) {
  if (m_hThemeButton == nullptr) {
    CPlxVisualManagerXP::OnDrawPushButtonBorder(pDC, rect, pButton, uiState);
    return;
  }
  // Unlike the other push-button slots, hot maps to the theme's normal state and normal to its
  // hot one, which is left unpainted.
  int nState = 2;
  if (pButton->GetSafeHwnd() != nullptr && !pButton->IsWindowEnabled())
    nState = 4;
  else if ((pButton->IsPushed() && pButton->IsHighlighted()) || pButton->IsChecked())
    nState = 3;
  else if (pButton->IsHighlighted())
    nState = 1;
  rect.InflateRect(1, 1);
  pDC->FillRect(rect, &g_plxGlobalData.brBarFace);
  if (nState != 2) DrawThemed(m_hThemeButton, pDC, 1, nState, rect);
}

void CPlxWinXPVisualManager::OnFillButtonParentBackground(CDC* pDC, CRect rect, CPlxButton* pButton) {
  if (m_hThemeButton == nullptr || IsMenuButtonFlagSet(pButton, FALSE)) {
    CPlxVisualManagerXP::OnFillButtonParentBackground(pDC, rect, pButton);
    return;
  }
  FillWithParentDialogBackground(pDC, pButton);
}

void CPlxWinXPVisualManager::OnDrawButtonFrame(CDC* pDC, CRect& rect, CPlxButton* pButton) {
  const int nState = PushButtonThemeState(pButton);
  if (m_hThemeWindow != nullptr && IsMenuButtonFlagSet(pButton, TRUE)) {
    DrawThemed(m_hThemeWindow, pDC, 19, nState, rect);
  } else if (m_hThemeButton != nullptr) {
    g_plxGlobalData.DrawParentBackground(pButton, pDC, rect);
    DrawThemed(m_hThemeButton, pDC, 1, nState, rect);
  } else {
    CPlxVisualManagerXP::OnDrawButtonFrame(pDC, rect, pButton);
  }
}

BOOL CPlxWinXPVisualManager::IsThemedButton(CPlxButton* pButton) const {
  return m_hThemeWindow != nullptr && IsMenuButtonFlagSet(pButton, TRUE);
}

void CPlxWinXPVisualManager::OnDrawTabsButtonBorder(CDC* pDC, CRect& rect, CPlxButton* pButton, UINT uiState,
                                                    const CPlxTabWnd* pTabWnd) {
  if (m_hThemeToolBar == nullptr) {
    CPlxVisualManagerXP::OnDrawTabsButtonBorder(pDC, rect, pButton, uiState, pTabWnd);
    return;
  }
  const int nState = PushButtonThemeState(pButton);
  g_plxGlobalData.DrawParentBackground(pButton, pDC, rect);
  DrawThemed(m_hThemeToolBar, pDC, 1, nState, rect);
}

BOOL CPlxWinXPVisualManager::OnFillOutlookPageButton(CPlxButton* pButton, CDC* pDC, const CRect& rect,
                                                     COLORREF& clrText) {
  // The themed border paints the whole face.
  if (m_hThemeButton == nullptr)
    return CPlxVisualManagerXP::OnFillOutlookPageButton(pButton, pDC, rect, clrText);
  return TRUE;
}

BOOL CPlxWinXPVisualManager::OnDrawOutlookPageButtonBorder(CPlxButton* pButton, CDC* pDC, CRect& rect,
                                                           UINT uiState) {
  if (m_hThemeButton == nullptr)
    return CPlxVisualManagerXP::OnDrawOutlookPageButtonBorder(pButton, pDC, rect, uiState);
  int nState = 1;
  if ((pButton->IsPushed() && pButton->IsHighlighted()) || pButton->IsChecked())
    nState = 3;
  else if (pButton->IsHighlighted())
    nState = 2;
  rect.InflateRect(1, 1);
  DrawThemed(m_hThemeButton, pDC, 1, nState, rect);
  return TRUE;
}
