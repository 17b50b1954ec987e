// CPlxToolbarEditBoxButton: a toolbar button that hosts a single-line edit on a horizontal bar. It
// keeps the text while no window exists, makes the edit when it is placed on a bar, centres it in
// the button, reports typing to the bar's owner as commands, keeps every edit-box button of the
// same command showing the same text and draws the edit's border through the visual manager. On a
// vertical bar it is an ordinary button. UI thread only.
#pragma once

#include "platform/mfc/StdControls.h"
#include "toolkit/bars/PlxToolbarButton.h"

class CPlxToolbarEditBoxButton;

// The button's edit: Tab goes on to the bar's next control, Escape back to the frame; focus and
// the mouse make the border hot.
class CPlxToolbarEditCtrl : public CEdit {
 public:
  explicit CPlxToolbarEditCtrl(CPlxToolbarEditBoxButton& edit) : m_pOwnerButton(&edit) {}

  BOOL PreTranslateMessage(MSG* pMsg) override;

  CPlxToolbarEditBoxButton* m_pOwnerButton;  // borrowed: the button owns this edit
  BOOL m_bTracked = FALSE;                   // a leave notification is pending

 protected:
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  DECLARE_MESSAGE_MAP()
};

class CPlxToolbarEditBoxButton : public CPlxToolbarButton {
  DECLARE_SERIAL(CPlxToolbarEditBoxButton)

 public:
  CPlxToolbarEditBoxButton();
  CPlxToolbarEditBoxButton(UINT uiID, int iImage, DWORD dwStyle = ES_AUTOHSCROLL, int iWidth = 0);
  ~CPlxToolbarEditBoxButton() override;

  // ---- overrides of the button ----
  void Serialize(CArchive& ar) override;
  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  void OnMove() override;
  void OnSize(int iSize) override;
  HWND GetHwnd() override;
  BOOL CanBeStretched() const override { return TRUE; }
  BOOL NotifyCommand(int iNotifyCode) override;
  void OnAddToCustomizePage() override;
  HBRUSH OnCtlColor(CDC* pDC, UINT nCtlColor) override;
  BOOL HaveHotBorder() const override;
  void OnGlobalFontsChanged() override;
  int OnDrawOnCustomizeList(CDC* pDC, const CRect& rect, BOOL bSelected) override;
  void Show(BOOL bShow) override;
  CRect GetRect() const override;
  void SetStyle(UINT nStyle) override;

  // ---- new virtual operations ----
  virtual CEdit* CreateEdit(CWnd* pWndParent, const CRect& rect);
  virtual void SetContents(const CString& strContents);
  virtual void GetEditBorder(CRect& rect);
  virtual void OnShowEdit(BOOL) {}

  void SetHotEdit(BOOL bHot = TRUE);
  const CString& GetContents() const { return m_strContents; }
  CEdit* GetEditBox() const { return m_pWndEdit; }
  static void SetFlatBorder(BOOL bFlat = TRUE) { s_bFlatBorder = bFlat; }

  // ---- fields, in the toolkit's order ----
  DWORD m_dwEditStyle;
  CEdit* m_pWndEdit = nullptr;  // owned
  CString m_strContents;
  BOOL m_bChangingText = FALSE;
  int m_iWidth;
  BOOL m_bHorzLayout = TRUE;
  BOOL m_bHotEdit = FALSE;

  static BOOL s_bFlatBorder;

 protected:
  BOOL HasEdit() const { return m_pWndEdit != nullptr && m_pWndEdit->GetSafeHwnd() != nullptr; }
  BOOL IsDisabledForDrawing() const;
  void DestroyEdit();
  void SetEditText(const CString& text);
};
