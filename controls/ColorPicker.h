// The colour picker: a button showing a colour swatch with a drop arrow, whose click opens a small
// palette of twenty colours and an "Other..." button below it. Picking closes the palette,
// repaints the swatch and posts WM_COLOR_PICKED to the parent. The palette keeps its colours in
// most-recently-used order for the whole process (not saved between runs).
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/GdiObjects.h"

#define WM_COLOR_PICKED 0x07AB  // wParam: the colour, lParam: the button's control id

#define IDD_COLOR_PICKER_POPUP 5100
#define IDC_COLOR_CELL_FIRST 5101
#define IDC_COLOR_CELL_LAST 5120
#define IDC_COLOR_OTHER 5121

// The twenty colours and their ranks (1 = used most recently, 20 = least recently; always a
// permutation of 1 to 20), cell i having the id IDC_COLOR_CELL_FIRST + i.
struct CColorPalette {
  static constexpr int kCells = 20;
  COLORREF colors[kCells];
  int ranks[kCells];

  CColorPalette();  // the initial palette
  // Cell `cell` becomes the most recent; the cells used more recently than it move down one.
  void Promote(int cell);
  // The cell a colour chosen in the colour dialog takes: the first cell holding it, else the least
  // recently used cell, which is given the colour. The cell is promoted; its index.
  int TakeColor(COLORREF color);
  int CellOfRank(int rank) const;
};

class CColorPickerButton;

class CColorPickerPopupDlg : public CDialog {
 public:
  CColorPickerPopupDlg();

  // The palette every colour picker of the process shares. UI thread only.
  static CColorPalette& GetPalette();
  // Where the popup goes for a button at `button` (screen coordinates): below its bottom-left
  // corner, above it when it would run off the bottom of the screen, shifted left when it would
  // run off the right, and never off the top or left.
  static CPoint PlaceBelow(const CRect& button, CSize popup, CSize screen);

  CColorPickerButton* m_pButton = nullptr;
  int m_nSelected = -1;

  // Runs the palette for m_pButton, owned by the button's window; m_nSelected is reset.
  INT_PTR DoModal() override;
  void EndPopup(int nResult);

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnOther();
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void PickCell(int cell);
};

class CColorPickerButton : public CButton {
 public:
  CColorPickerButton();
  ~CColorPickerButton() override;

  // The face colour (the page's skin colour): the brush is remade when it changes.
  void SetColor(COLORREF color);
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  COLORREF m_crColor = RGB(0, 0, 0);  // the swatch; owners set and read it directly
  COLORREF m_crFace = RGB(236, 233, 216);

 protected:
  afx_msg void OnClicked();
  DECLARE_MESSAGE_MAP()

 private:
  CPen* m_pOldPen = nullptr;
  CBrush* m_pOldBrush = nullptr;
  CPen m_penBlack;
  CPen m_penGrey;
  CPen m_penWhite;
  CBrush m_brushFace;
  CBrush m_brushNull;
  CPen m_penNull;

 public:
  CColorPickerPopupDlg m_popup;
};
