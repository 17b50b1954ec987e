// CPlxColorButton: the toolkit's colour push button. It shows its colour and opens a colour popup
// below itself on a click, Space or Down; the colour chosen there comes back through UpdateColor,
// which tells the parent with BN_CLICKED. It keeps a palette for 8-bit displays.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/List.h"
#include "toolkit/core/PlxButton.h"

class CColorPopup;

class CPlxColorButton : public CPlxButton {
  DECLARE_DYNAMIC(CPlxColorButton)

 public:
  CPlxColorButton();
  ~CPlxColorButton() override;

  // Opens the colour popup below the button (first virtual the colour button adds).
  virtual void OnShowColorPopup();

  void SetColor(COLORREF color);
  COLORREF GetColor() const { return m_Color; }
  // SetColor, then BN_CLICKED to the parent.
  void UpdateColor(COLORREF color);
  // Rebuilds the owned palette from pPalette, or from the display's (the default palette where
  // the display has none).
  void RebuildPalette(CPalette* pPalette);
  CPalette* GetPalette() const { return m_pPalette; }
  // The popup while it is open (it clears this when it goes), else null.
  CColorPopup* GetPopup() const { return m_pPopup; }
  void ForgetPopup() { m_pPopup = nullptr; }

  // What the popup offers; the owner sets these before the first click.
  CArray<COLORREF, COLORREF> m_Colors;
  CList<COLORREF, COLORREF> m_lstDocColors{10};
  COLORREF m_ColorAutomatic = (COLORREF)-1;
  CString m_strAutoColorText;
  CString m_strOtherText;
  CString m_strDocColorsText;
  int m_nColumns = -1;
  BOOL m_bAltColorDlg = TRUE;  // the other-colour row opens the toolkit's dialog

 protected:
  void OnDraw(CDC* pDC, const CRect& rect, UINT uiState) override;

  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSysColorChange();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  COLORREF m_Color = 0;
  CPalette* m_pPalette = nullptr;  // owned
  CColorPopup* m_pPopup = nullptr;
};
