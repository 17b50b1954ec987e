// CPlxCustomizeMenuButton: an item of the quick-customize menu a toolbar's chevron opens. Each
// item stands for one button of the bar being customized and shows a check cell while that button
// is visible; choosing it shows or hides the button, or puts a default button back, and keeps the
// menu open. The item bound to kResetIndex asks the bar whether to reset instead.
#pragma once

#include "platform/base/Map.h"
#include "toolkit/bars/PlxToolbarButton.h"

class CPlxToolBar;

class CPlxCustomizeMenuButton : public CPlxToolbarMenuButton {
  DECLARE_DYNCREATE(CPlxCustomizeMenuButton)

 public:
  // The index that marks the reset item.
  static constexpr int kResetIndex = 17021;

  CPlxCustomizeMenuButton();
  CPlxCustomizeMenuButton(UINT uiID, HMENU hMenu, int iImage, LPCTSTR lpszText = nullptr,
                          BOOL bUserButton = FALSE);

  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  BOOL OnClickMenuItem() override;
  virtual BOOL DrawCheckBox(CDC* pDC, const CRect& rectCheck, BOOL bHighlighted);

  // Binds the item to the button at iIndex of m_pWndToolBar (bExist), or to position iIndex of
  // the bar's default buttons (!bExist), or makes it the reset item (kResetIndex).
  void SetItemIndex(int iIndex, BOOL bExist = TRUE, BOOL bAddSpr = FALSE);
  int GetItemIndex() const { return m_nIndex; }
  BOOL IsChecked() const { return m_bChecked; }
  BOOL IsExist() const { return m_bExist; }

  // The parent window of the bar redrawn whole, then its chevron.
  static void RedrawToolbar();
  // Called by a bar that goes away, so no item reaches a deleted bar.
  static void OnToolbarDestroyed(const CPlxToolBar* pBar);

  int m_nIndex = -1;
  BOOL m_bChecked = FALSE;
  BOOL m_bExist = FALSE;
  BOOL m_bAddSpr = FALSE;

  // UI thread only: the bar being quick-customized and the commands it shows.
  static CPlxToolBar* m_pWndToolBar;
  static CMap<UINT, UINT, int, int> m_mapPresentIDs;

 protected:
  // The bar's button the item is bound to, or null when it is gone.
  CPlxToolbarButton* BoundButton() const;
  BOOL IsResetItem() const { return m_nIndex == kResetIndex; }
  void ToggleButtonOnBar();
  void PutDefaultButtonBack();
};
