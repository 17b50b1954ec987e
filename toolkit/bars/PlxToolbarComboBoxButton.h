// CPlxToolbarComboBoxButton: a toolbar button that hosts a real combo box on a horizontal bar. It
// keeps the item strings with their item data, the selection, the text and the width while no
// window exists, makes the combo when it is placed on a bar, keeps it on the button's rectangle,
// passes the combo's notifications to the bar's owner as commands and keeps every combo-box button
// of the same command in step with it. On a vertical bar it is an ordinary button.
//
// The flat look (off unless SetFlatLook turns it on) hides the combo window and draws its face
// through the visual manager, with a separate inner edit for editable combos. UI thread only.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/bars/PlxToolbarButton.h"

class CPlxToolbarComboBoxButton;

// The flat look's edit over an editable combo: it passes navigation keys to the dropped list and
// reports Enter, focus and typing as the combo's own notifications.
class CPlxComboInnerEdit : public CEdit {
 public:
  explicit CPlxComboInnerEdit(CPlxToolbarComboBoxButton& combo) : m_pOwnerButton(&combo) {}

  BOOL PreTranslateMessage(MSG* pMsg) override;

  CPlxToolbarComboBoxButton* m_pOwnerButton;  // borrowed: the button owns this edit
  BOOL m_bTracked = FALSE;                    // a leave notification is pending

 protected:
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  DECLARE_MESSAGE_MAP()
};

class CPlxToolbarComboBoxButton : public CPlxToolbarButton {
  DECLARE_SERIAL(CPlxToolbarComboBoxButton)

 public:
  CPlxToolbarComboBoxButton();
  CPlxToolbarComboBoxButton(UINT uiID, int iImage, DWORD dwStyle = CBS_DROPDOWNLIST, int iWidth = 0);
  ~CPlxToolbarComboBoxButton() override;

  // ---- overrides of the button ----
  void Serialize(CArchive& ar) override;
  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  BOOL ExportTooltipText(CPlxToolbarButton* pTarget) override;
  void OnMove() override;
  void OnSize(int iSize) override;
  HWND GetHwnd() override;
  BOOL CanBeStretched() const override { return TRUE; }
  BOOL NotifyCommand(int iNotifyCode) override;
  void OnAddToCustomizePage() override;
  HBRUSH OnCtlColor(CDC* pDC, UINT nCtlColor) override;
  void OnGlobalFontsChanged() override;
  int OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) override;
  void Show(BOOL bShow) override;
  void SetStyle(UINT nStyle) override;
  void EnableWindow(BOOL bEnable = TRUE) override;
  BOOL IsWindowVisible() override;
  BOOL IsOwnerOf(HWND hwnd) override;
  BOOL HasFocus() const override;

  // ---- new virtual operations ----
  virtual CComboBox* CreateCombo(CWnd* pWndParent, const CRect& rect);
  virtual CEdit* CreateEdit(CWnd* pWndParent, const CRect& rect, DWORD dwEditStyle);
  virtual void SerializeContent(CArchive& ar);
  virtual void OnItemDataFilled() {}
  virtual void OnItemDataClearing() {}
  virtual BOOL CanSyncSelection() { return TRUE; }

  // FALSE for an index outside the stored items. bNotify brings the twins along (no command).
  BOOL SelectItem(int iIndex, BOOL bNotify = TRUE);
  void AdjustRect();
  void SetHotEdit(BOOL bHot = TRUE);
  // Repaints the button's area of the bar at once (the flat look's face).
  void RedrawButton();

  // ---- the items while no window exists (the combo's own items once it does) ----
  INT_PTR AddItem(LPCTSTR lpszItem, DWORD dwData = 0);
  int GetCount() const;
  CString GetItem(int iIndex) const;
  DWORD GetItemData(int iIndex) const;
  int GetCurSel() const { return m_iSelItem; }
  CString GetText() const { return m_strEdit; }
  void RemoveAllItems();
  CComboBox* GetComboBox() const { return m_pWndCombo; }
  CEdit* GetEditCtrl() const { return m_pWndEdit; }
  BOOL IsFlatLook() const { return s_bFlatLook; }
  static void SetFlatLook(BOOL bFlat = TRUE) { s_bFlatLook = bFlat; }

  // ---- fields, in the toolkit's order ----
  DWORD m_dwComboStyle;
  CComboBox* m_pWndCombo = nullptr;  // owned
  CEdit* m_pWndEdit = nullptr;       // owned; the flat look's edit
  CStringList m_lstItems{10};
  CList<DWORD, DWORD> m_lstItemData{10};
  int m_iWidth;
  int m_iSelItem = -1;
  BOOL m_bSerializeContent = TRUE;
  BOOL m_bHorzLayout = TRUE;
  CString m_strEdit;
  CRect m_rectCombo;
  CRect m_rectButton;
  int m_nDropDownHeight;
  BOOL m_bHotEdit = FALSE;

  static BOOL s_bFlatLook;

 protected:
  BOOL m_bTextFromTwin = FALSE;  // a twin is writing the flat edit's text

  void DestroyWindows();
  void FillComboFromLists();
  void TakeListsFromCombo();
  BOOL IsDisabledForDrawing() const;
  BOOL IsDropped() const;
};
