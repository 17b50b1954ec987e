// CPlxColorBar: the toolkit's colour picker surface, a popup-menu-bar kind whose buttons are
// colour cells (CPlxToolBarColorButton) laid out in a grid, with an optional automatic row above,
// a block of document colours and an "other colour" row below. It serves three hosts: the colour
// popup of a colour menu button (or of a colour push button), a bar torn off such a popup
// (floating or docked) and a child control of a dialog.
//
//   PlxColorBar.cpp       the cells, their drawing, the grid, the layout, fitting, the archive,
//                         the palette of 8-bit displays
//   PlxColorBarInput.cpp  choosing a colour and delivering it, the colour dialog, command state,
//                         keys, mouse, the hosts (creation, control, push button), palette messages
#pragma once

#include "platform/base/Array.h"
#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "platform/mfc/GdiObjects.h"
#include "toolkit/bars/PlxPopupMenuBar.h"

class CPlxColorBar;
class CPlxColorButton;
class CPlxColorMenuButton;

class CPlxToolBarColorButton : public CPlxToolbarButton {
  DECLARE_SERIAL(CPlxToolBarColorButton)

 public:
  CPlxToolBarColorButton();
  // A cell of clrCell; bAutomatic, bMoreColors and bCaption pick the text-row kinds.
  CPlxToolBarColorButton(COLORREF clrCell, BOOL bAutomatic = FALSE, BOOL bMoreColors = FALSE,
                         LPCTSTR lpszText = nullptr, BOOL bCaption = FALSE, BOOL bDocument = FALSE,
                         BOOL bCurrentColorBox = FALSE);
  ~CPlxToolBarColorButton() override;

  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  BOOL OnToolHitTest(const CWnd* pWnd, TOOLINFOA* pTI) override;

  // A plain colour cell: palette, document or the current-colour box.
  BOOL IsColorCell() const { return !m_bAutomaticRow && !m_bMoreColorsRow && !m_bCaptionRow; }
  BOOL IsTextRow() const { return m_bAutomaticRow || m_bMoreColorsRow || m_bCaptionRow; }
  // The tooltip text: the row label, the colour's name, or "Hex={RR,GG,BB}".
  CString GetTipText() const;

  COLORREF m_clrCell;
  BOOL m_bSelectedCell;
  BOOL m_bAutomaticRow;
  BOOL m_bMoreColorsRow;
  BOOL m_bCaptionRow;
  BOOL m_bDocumentCell;
  BOOL m_bCurrentColorBox;
  CPlxColorBar* m_pColorBar;  // the bar holding the cell, borrowed
};

class CPlxColorBar : public CPlxPopupMenuBar {
  DECLARE_SERIAL(CPlxColorBar)

 public:
  CPlxColorBar();
  CPlxColorBar(const CArray<COLORREF, COLORREF>& colors, COLORREF color, LPCTSTR lpszAutoColor,
               LPCTSTR lpszOtherColor, LPCTSTR lpszDocColors, CList<COLORREF, COLORREF>& lstDocColors,
               int nColumns, int nRowsDockHorz, int nColDockVert, COLORREF colorAutomatic, UINT nCommandID,
               CPlxColorButton* pParentBtn);
  // The copy a torn-off bar is made with; the command id is the tearing button's.
  CPlxColorBar(CPlxColorBar& src, UINT uiCommandID);
  ~CPlxColorBar() override;

  void Serialize(CArchive& ar) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void DoPaint(CDC* pDC) override;
  BOOL AllowChangeTextLabels() const override { return FALSE; }
  CSize CalcSize(BOOL bVertDock) override;
  void AdjustLocations() override;
  BOOL OnSendCommand(const CPlxToolbarButton* pButton) override;
  BOOL AllowShowOnList() const override { return TRUE; }
  BOOL OnKey(UINT nChar) override;
  void ShowCommandMessageString(UINT uiCmdId) override;

  // ---- the four virtuals the colour bar adds ----
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, CPalette* pPalette = nullptr,
                      int nColumns = 0, int nRowsDockHorz = 0, int nColDockVert = 0);
  virtual BOOL CreateAsControl(CWnd* pParentWnd, const CRect& rect, UINT nID, int nColumns = -1,
                               CPalette* pPalette = nullptr);
  virtual BOOL RunColorDialog(COLORREF colorIn, COLORREF& colorOut);
  virtual void RebuildCells();

  // ---- model ----
  static int FillFromPalette(CPalette* pPalette, CArray<COLORREF, COLORREF>& arColors);
  static BOOL CreatePalette(const CArray<COLORREF, COLORREF>& arColors, CPalette& palette);
  CPalette* RealizeColorPalette(CDC* pDC);
  void SetColor(COLORREF color);
  COLORREF GetColor() const { return m_clrCurrent; }
  void SetAutomaticColor(COLORREF color) { m_clrAutomatic = color; }
  void SetDocumentColors(LPCTSTR lpszCaption, CList<COLORREF, COLORREF>& lstColors);
  void EnableOtherButton(LPCTSTR lpszLabel, BOOL bAltColorDlg = TRUE, BOOL bEnable = TRUE);
  void SetHorzMargin(int nMargin);
  void SetVertMargin(int nMargin);
  int GetHorzMargin() const { return m_cxMargin; }
  int GetVertMargin() const { return m_cyMargin; }
  UINT GetCommandID() const { return m_uiColorCommand; }
  void SetCommandID(UINT nCommandID) { m_uiColorCommand = nCommandID; }
  const CArray<COLORREF, COLORREF>& GetPaletteColors() const { return m_arrPalette; }
  CSize GetCellSize() const { return m_sizeCell; }
  CPoint GetCenterOffset() const { return CPoint(m_nCenterOffsetX, m_nCenterOffsetY); }
  BOOL IsStandalone() const { return m_bStandalone; }

  // ---- grid ----
  // Columns and rows of the palette grid for that orientation.
  void CalcGrid(BOOL bVertical, int& nColumns, int& nRows) const;
  int CalcExtraHeight(int nColumns) const;
  // Grows or shrinks the cells until the bar fills its client area, optionally square and centred.
  void FitCellsToWindow(BOOL bSquare, BOOL bCenter);
  // The column count CreateAsControl picks for nCount colours in that rectangle (-1: the square
  // root rule).
  static int ColumnsForControl(int nCount, const CRect& rect, int cxMargin, int cyMargin);

  // Colour names for cell tooltips (none are put in by the toolkit).
  static CMap<COLORREF, COLORREF, CString, LPCTSTR> s_mapNamedColors;

  // ---- fields, in the toolkit's order ----
  int m_nGridColumns;
  int m_nRowsWhenDockedHorz;
  int m_nColumnsWhenDockedVert;
  CArray<COLORREF, COLORREF> m_arrPalette;
  CPalette m_logPalette;
  CSize m_sizeCell;
  int m_nTextRowHeight;
  COLORREF m_clrCurrent;
  COLORREF m_clrAutomatic;
  CString m_strAutomaticText;
  CString m_strMoreColorsText;
  CString m_strDocumentText;
  CList<COLORREF, COLORREF> m_lstDocumentColors{10};
  UINT m_uiColorCommand;
  BOOL m_bSystemColorDialog;
  BOOL m_bCmdEnabled;
  BOOL m_bStandalone;
  BOOL m_bInPopup;
  CPlxColorButton* m_pOwnerColorButton;  // borrowed
  int m_nCenterOffsetX;
  int m_nCenterOffsetY;
  int m_cxMargin;
  int m_cyMargin;
  // A bar inside an editing dialog (the button image editor) answers the mouse while the toolbars
  // are customized, since that dialog is opened from customizing.
  BOOL m_bInternal = FALSE;

 protected:
  // The toolbar's stored state of a colour bar is its archive, not a button list.
  BOOL ReadStoredState(CArchive& ar) override;
  void Init();
  // A stand-alone bar docked at a side or edge (not floating).
  BOOL IsDockedStandalone() const;
  BOOL HasDocumentBlock() const { return !m_strDocumentText.IsEmpty() && !m_lstDocumentColors.IsEmpty(); }
  void ShowIdlePrompt();
  // Grows the square cells until the grid is as wide as the widest row label, so that no label
  // is cut short.
  void FitCellsToLabels();
  // The top-level toolkit frame the bar reports to, or null.
  CFrameWnd* ColorTopFrame() const;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg LRESULT OnQueryNewPalette(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPaletteChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  friend class CPlxToolBarColorButton;
  friend class CColorPopup;
};
