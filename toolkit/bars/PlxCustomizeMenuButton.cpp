#include "toolkit/bars/PlxCustomizeMenuButton.h"

#include "toolkit/bars/PlxToolBar.h"

IMPLEMENT_DYNCREATE(CPlxCustomizeMenuButton, CPlxToolbarMenuButton)

CPlxToolBar* CPlxCustomizeMenuButton::m_pWndToolBar = nullptr;
CMap<UINT, UINT, int, int> CPlxCustomizeMenuButton::m_mapPresentIDs(10);

CPlxCustomizeMenuButton::CPlxCustomizeMenuButton() = default;

CPlxCustomizeMenuButton::CPlxCustomizeMenuButton(UINT uiID, HMENU hMenu, int iImage, LPCTSTR lpszText,
                                                 BOOL bUserButton)
    : CPlxToolbarMenuButton(uiID, hMenu, iImage, lpszText, bUserButton) {}

void CPlxCustomizeMenuButton::CopyFrom(const CPlxToolbarButton& src) {
  CPlxToolbarMenuButton::CopyFrom(src);
}
void CPlxCustomizeMenuButton::OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz,
                                     BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder, BOOL bGray) {
  CPlxToolbarMenuButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder, bGray);
}
CSize CPlxCustomizeMenuButton::OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
  return CPlxToolbarMenuButton::OnCalculateSize(pDC, sizeDefault, bHorz);
}
BOOL CPlxCustomizeMenuButton::OnClickMenuItem() {
  return TRUE;
}
BOOL CPlxCustomizeMenuButton::DrawCheckBox(CDC*, const CRect&, BOOL) {
  return FALSE;
}
void CPlxCustomizeMenuButton::SetItemIndex(int iIndex, BOOL bExist, BOOL bAddSpr) {
  m_nIndex = iIndex;
  m_bExist = bExist;
  m_bAddSpr = bAddSpr;
}
void CPlxCustomizeMenuButton::RedrawToolbar() {}
void CPlxCustomizeMenuButton::OnToolbarDestroyed(const CPlxToolBar* pBar) {
  if (m_pWndToolBar == pBar) m_pWndToolBar = nullptr;
}
CPlxToolbarButton* CPlxCustomizeMenuButton::BoundButton() const {
  return nullptr;
}
void CPlxCustomizeMenuButton::ToggleButtonOnBar() {}
void CPlxCustomizeMenuButton::PutDefaultButtonBack() {}
