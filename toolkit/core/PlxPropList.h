// CPlxPropList: the two-column property grid: a name column and a value column split by a
// movable divider, one row per visible property, groups with expand boxes, an optional header,
// an optional description area and a vertical scroll bar of its own. Values are edited in place;
// every committed change whose text differs reaches the owner as the registered message
// "PlxM_PROPERTYCHANGED" (wParam the list's id, lParam the property). UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"
#include "toolkit/core/PlxInplaceToolTipCtrl.h"

class CPlxProp;

// The id of the registered "PlxM_PROPERTYCHANGED".
UINT PlxPropertyChangedMessage();
// The toolkit-wide accessibility switch; nothing in the program turns it on.
extern BOOL PlxAccessibilityEnabled;

class CPlxPropList : public CWnd {
  DECLARE_DYNAMIC(CPlxPropList)
  friend class CPlxProp;

 public:
  // Control ids of the list's children.
  static constexpr UINT kHeaderId = 1;
  static constexpr UINT kScrollBarId = 2;

  CPlxPropList();
  ~CPlxPropList() override;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // Shows or hides the header with its two titles.
  void EnableHeaderCtrl(BOOL bEnable = TRUE, LPCTSTR lpszLeftColumn = "Property",
                        LPCTSTR lpszRightColumn = "Value");
  BOOL IsHeaderCtrl() const { return m_bHeaderCtrl; }
  void EnableDescriptionArea(BOOL bEnable = TRUE);
  void SetAlphabeticMode(BOOL bSet = TRUE);
  BOOL IsAlphabeticMode() const { return m_bAlphabeticMode; }
  void SetGroupBackgroundLook(BOOL bGroupLook = TRUE);
  void MarkModifiedProperties(BOOL bMark = TRUE);
  // -1 leaves a colour to the visual manager.
  void SetCustomColors(COLORREF clrBackground, COLORREF clrText, COLORREF clrGroupBackground,
                       COLORREF clrGroupText, COLORREF clrDescriptionBackground, COLORREF clrDescriptionText,
                       COLORREF clrLine);
  // Refused (-1) for a property already in the list's tree; else its index.
  int AddProperty(CPlxProp* pProp, BOOL bRedraw = TRUE, BOOL bAdjustLayout = TRUE);
  void RemoveAll();
  int GetPropertyCount() const { return static_cast<int>(m_lstProps.GetCount()); }
  CPlxProp* GetProperty(int nIndex) const;
  CPlxProp* GetCurSel() const { return m_pSel; }
  void SetCurSel(CPlxProp* pProp, BOOL bRedraw = TRUE);
  // Area out: 0 expand box, 1 name, 2 value, 3 description area.
  CPlxProp* HitTest(CPoint pt, int* pnArea = nullptr, BOOL bPropsOnly = FALSE) const;
  void EnsureVisible(CPlxProp* pProp, BOOL bExpandParents = FALSE);
  void ExpandAll(BOOL bExpand = TRUE);

  int GetRowHeight() const { return m_nRowHeight; }
  int GetLeftColumnWidth() const { return m_nLeftColumnWidth; }
  const CRect& GetListRect() const { return m_rectList; }
  BOOL IsFocused() const { return m_bFocused; }
  int GetScrollPage() const { return m_nVertScrollPage; }
  int GetScrollTotal() const { return m_nVertScrollTotal; }
  int GetFirstVisibleRow() const { return m_nVertScrollOffset; }
  CPlxInplaceToolTipCtrl& GetInplaceToolTip() { return m_IPToolTip; }
  BOOL IsControlBarColors() const { return m_bControlBarColors; }
  void SetControlBarColors(BOOL bSet) { m_bControlBarColors = bSet; }

  virtual CWnd* GetHeader() { return &m_wndHeader; }
  virtual void CloseColorPopup() {}
  virtual void SetSelectedColor(COLORREF) {}
  virtual void RecalcLayout();
  virtual LRESULT NotifyPropertyChanged(CPlxProp* pProp);
  virtual void OnSelectionChanged(CPlxProp* /*pNewSel*/, CPlxProp* /*pOldSel*/) {}
  // Opens the editors of pProp; FALSE when the open edit could not be committed, for a plain
  // group, and when the property's editors could not be made.
  virtual BOOL BeginEditItem(CPlxProp* pProp, const CPoint* pClick);
  virtual void OnDropButtonClick(const CPoint* pPoint);
  // Ends the selection's editing; with bCommit FALSE when its text could not be taken (editing
  // stays open).
  virtual BOOL EndEditItem(BOOL bCommit = TRUE);
  virtual BOOL ValidateEdit(CPlxProp*) { return TRUE; }
  virtual BOOL DrawProperty(CDC* pDC, CPlxProp* pProp) const;
  virtual void CreateHeaderWindow();
  virtual void InitControl();
  virtual void FillBackground(CDC* pDC, const CRect& rectClient);
  virtual void DrawFrame(CDC*) {}
  virtual void DrawList(CDC* pDC);
  virtual void DrawDescriptionArea(CDC* pDC, CRect rect);
  virtual BOOL HandleClipboardKeys(UINT nChar);
  virtual int CompareProperties(const CPlxProp* pProp1, const CPlxProp* pProp2) const;
  virtual void NotifyAccessibility(CPlxProp* pProp);

  CScrollBar* GetScrollBarCtrl(int nBar) const override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  // What the properties read while they draw and edit.
  CString m_strTrue = "True";
  CString m_strFalse = "False";
  char m_cListDelimeter = ',';
  BOOL m_bGroupRowsFullWidth = TRUE;
  BOOL m_bLiveDivider = TRUE;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnCancelMode();
  afx_msg UINT OnGetDlgCode();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnDestroy();
  afx_msg void OnEditorKillFocus();
  afx_msg void OnComboKillFocus();
  afx_msg void OnComboSelEndOk();
  afx_msg void OnComboCloseUp();
  DECLARE_MESSAGE_MAP()

  void PreSubclassWindow() override;

  HFONT SelectListFont(CDC* pDC) const;
  void CreateBoldFont();
  void MeasureEditMargins();
  void LayoutRows();
  // Drops the tooltip's tools, ids from the count down to 1.
  void RemoveTools();
  int CountVisibleRows() const;
  void UpdateScrollBar();
  void TrackHeader(int nOffset);
  void TrackDescription(int nOffset);
  void TrackToolTip(CPoint point);
  void SetLeftColumnFromX(int x);
  void SetHeaderWidths();
  void SelectFirst();
  void SelectLast();
  void SelectNeighbour(CPlxProp* pProp);
  // Selects the row under a click and brings it into view.
  CPlxProp* SelectAt(CPoint point, int* pnArea);
  void RunDropButton(const CPoint* pPoint);
  void InvalidateRow(CPlxProp* pProp);
  BOOL InDividerZone(CPoint point) const;
  BOOL InSplitterZone(CPoint point) const;
  const CList<CPlxProp*, CPlxProp*>& Rows() const {
    return m_bAlphabeticMode ? m_lstTerminalProps : m_lstProps;
  }

  CWnd m_wndHeader;
  BOOL m_bHeaderCtrl = TRUE;
  BOOL m_bDescriptionArea = FALSE;
  int m_nDescrHeight = -1;
  int m_nDescrRows = 3;
  CToolTipCtrl m_ToolTip;
  int m_nTooltipsCount = 0;
  CPlxInplaceToolTipCtrl m_IPToolTip;
  BOOL m_bAlwaysShowUserTT = TRUE;
  BOOL m_bAlphabeticMode = FALSE;
  BOOL m_bVSDotNetLook = FALSE;
  CScrollBar m_wndScrollVert;
  HFONT m_hFont = nullptr;
  CFont m_fontBold;
  int m_nEditLeftMargin = 0;
  int m_nBoldEditLeftMargin = 0;
  int m_nHeaderHeight = 0;
  CRect m_rectList;
  int m_nRowHeight = 0;
  int m_nLeftColumnWidth = 0;
  int m_nVertScrollOffset = 0;
  int m_nVertScrollTotal = 0;
  int m_nVertScrollPage = 0;
  BOOL m_bMarkModifiedProperties = FALSE;
  CRect m_rectTrackHeader;
  CRect m_rectTrackDescr;
  BOOL m_bTracking = FALSE;
  BOOL m_bTrackingDescr = FALSE;
  CList<CPlxProp*, CPlxProp*> m_lstProps;
  CList<CPlxProp*, CPlxProp*> m_lstTerminalProps;
  CPlxProp* m_pSel = nullptr;
  BOOL m_bFocused = FALSE;
  COLORREF m_clrGray = 0;
  BOOL m_bControlBarColors = FALSE;
  COLORREF m_clrBackground = (COLORREF)-1, m_clrText = (COLORREF)-1, m_clrGroupBackground = (COLORREF)-1,
           m_clrGroupText = (COLORREF)-1, m_clrDescriptionBackground = (COLORREF)-1,
           m_clrDescriptionText = (COLORREF)-1, m_clrLine = (COLORREF)-1;
  CBrush m_brBackground;
  BOOL m_bCreating = FALSE;  // inside Create: InitControl runs from WM_CREATE
  LONG m_lLastDownTime = 0;  // the last left click on the list, for a double click ending in the editor
  CPoint m_ptLastDown;
};
