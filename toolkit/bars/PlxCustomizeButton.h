// CCustomizeButton: the chevron a toolbar keeps as its last button. The layout lists in it the
// buttons that did not fit; clicking it opens a popup menu with those buttons as items and, with a
// customize command, the customize item and the add-or-remove-buttons sub-menu. Each item it makes
// for a hidden button stays linked to that button, so a choice runs the button it stands for
// whatever separators were skipped or items refused on the way.
#pragma once

#include <vector>

#include "platform/base/List.h"
#include "toolkit/bars/PlxToolbarButton.h"

class CPlxPopupMenuBar;
class CPlxToolBar;

class CCustomizeButton : public CPlxToolbarMenuButton {
  DECLARE_SERIAL(CCustomizeButton)

 public:
  CCustomizeButton() = default;
  CCustomizeButton(int uiCustomizeCmdId, const CString& strCustomizeText);
  ~CCustomizeButton() override;

  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  BOOL CanBeStored() const override { return FALSE; }
  BOOL HaveHotBorder() const override { return FALSE; }
  void OnCancelMode() override;
  BOOL IsEditable() const override { return FALSE; }
  CPlxPopupMenu* CreatePopupMenu() override;
  BOOL IsEmptyMenuAllowed() const override { return TRUE; }

  // Runs the hidden button behind an item chosen in the chevron's popup. TRUE when the chevron
  // dealt with it; FALSE leaves the item (customize, add-or-remove, foreign) to the popup bar.
  virtual BOOL InvokeCommand(CPlxPopupMenuBar* pMenuBar, const CPlxToolbarButton* pItem);

  UINT GetCustomizeCmdId() const { return m_uiCustomizeCmdId; }
  CSize GetExtraSize() const { return m_bUseExtraSize ? m_sizeExtra : CSize(0, 0); }
  // The hidden button an item of the open popup stands for, or null.
  CPlxToolbarButton* GetLinkedButton(const CPlxToolbarButton* pItem) const;

  UINT m_uiCustomizeCmdId = 0;
  CString m_strCustomizeText;
  CPlxToolBar* m_pWndParentToolbar = nullptr;
  BOOL m_bIsEmpty = FALSE;
  CSize m_sizeExtra{0, 0};
  CObList m_lstInvisibleButtons{10};  // borrowed from the bar's list
  BOOL m_bUseExtraSize = TRUE;
  BOOL m_bMenuRightAlign = TRUE;

 protected:
  struct ItemLink {
    const CPlxToolbarButton* pItem;  // the popup bar's own copy
    CPlxToolbarButton* pButton;      // the hidden button on the bar
  };
  // UI thread only: the items of the last popup built, rebuilt by every CreatePopupMenu.
  std::vector<ItemLink> m_links;
};
