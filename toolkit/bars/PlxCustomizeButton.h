// CCustomizeButton: the chevron a toolbar keeps as its last button. The layout lists in it the
// buttons that did not fit; it measures and draws itself with the menu glyphs. Opening its menu
// comes with the popup menus.
#pragma once

#include "platform/base/List.h"
#include "toolkit/bars/PlxToolbarButton.h"

class CCustomizeButton : public CPlxToolbarMenuButton {
  DECLARE_SERIAL(CCustomizeButton)

 public:
  CCustomizeButton() = default;
  CCustomizeButton(int uiCustomizeCmdId, const CString& strCustomizeText);

  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  BOOL CanBeStored() const override { return FALSE; }
  BOOL IsEditable() const override { return FALSE; }

  UINT GetCustomizeCmdId() const { return m_uiCustomizeCmdId; }
  CSize GetExtraSize() const { return m_bUseExtraSize ? m_sizeExtra : CSize(0, 0); }

  UINT m_uiCustomizeCmdId = 0;
  CString m_strCustomizeText;
  class CPlxToolBar* m_pWndParentToolbar = nullptr;
  BOOL m_bIsEmpty = FALSE;
  CSize m_sizeExtra{0, 0};
  CObList m_lstInvisibleButtons{10};  // borrowed from the bar's list
  BOOL m_bUseExtraSize = TRUE;
  BOOL m_bMenuRightAlign = TRUE;
};
