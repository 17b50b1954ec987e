// CPlxTabWnd: a row of tabs along the top or bottom edge and, in the rest of the client area, the
// window of the active tab. Tabs scroll or shrink when they do not fit; every pixel of a tab, button
// or row background comes from the visual manager, which reads the window through the accessors here.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/CString.h"
#include "platform/mfc/Wnd.h"
#include "toolkit/core/PlxButton.h"

class CImageList;
class CToolTipCtrl;
class CScrollBar;
class CEdit;
class CPlxTabWnd;

// One tab; owned by its tab window.
class CPlxTabInfo : public CObject {
 public:
  CString m_strLabel;
  int m_iImage = -1;
  CRect m_rect;  // client coordinates, empty when hidden
  BOOL m_bVisible = TRUE;
  CWnd* m_pWnd = nullptr;  // owned only with autoDestroyWnd
  BOOL m_bIsListView = FALSE;
  int m_nWidth = 0;
  UINT m_uiToolId = 0;
  COLORREF m_clrText = (COLORREF)-1;
  COLORREF m_clrBack = (COLORREF)-1;
};

// The row's navigation buttons; the visual manager paints their face and border.
class CPlxTabButton : public CPlxButton {
 public:
  // Drawn pushed while the tabs menu it opened is up.
  void ShowPressed(BOOL bPressed) {
    m_bPushed = m_bHighlighted = bPressed;
    RedrawWindow();
  }

 protected:
  void OnFillBackground(CDC* pDC, const CRect& rectClient) override;
  void OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) override;
};

class CPlxTabWnd : public CWnd {
  DECLARE_DYNCREATE(CPlxTabWnd)

 public:
  enum Location { LOCATION_BOTTOM = 0, LOCATION_TOP = 1 };
  enum TabStyle {
    TabStyle3D = 0,
    TabStyleFlat = 1,
    TabStyleFlatScrollBar = 2,
    TabStyle3DScroll = 3,
    TabStyleSlanted = 4,
    TabStyleSlantedCompact = 5,
    TabStyleTrapezoid = 6,
    TabStyleTrapezoidScroll = 7
  };
  // Margins around a label and an image, in pixels.
  static constexpr int kTextMargin = 4;
  static constexpr int kImageMargin = 4;
  // Auto-scroll timers while a dragged tab is held outside the row.
  static constexpr UINT_PTR kTimerScrollLeft = 1, kTimerScrollRight = 2;

  CPlxTabWnd();
  ~CPlxTabWnd() override;

  BOOL Create(int nStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, int nLocation = LOCATION_TOP,
              BOOL bCloseButton = FALSE);
  // Sets the style flags alone (Create does it too); for painters drawing a tab row without a window.
  void SetStyleFlags(int nStyle);

  // Tabs.
  BOOL AddTab(CWnd* pWnd, LPCTSTR lpszLabel, int iImage = -1);
  // A tab without a window, for rows that only show labels.
  BOOL AddTab(LPCTSTR lpszLabel, int iImage = -1) {
    return InsertTab(static_cast<CWnd*>(nullptr), lpszLabel, -1, iImage);
  }
  BOOL InsertTab(CWnd* pWnd, LPCTSTR lpszLabel, int iPos, int iImage = -1);
  BOOL RemoveTab(int iTab);
  void RemoveAllTabs();
  int GetTabsNum() const { return m_nTabsNum; }
  int GetActiveTab() const { return m_iActiveTab; }
  int GetVisibleTabsNum() const;
  BOOL IsTabVisible(int iTab) const;
  CWnd* GetTabWnd(int iTab) const;
  CWnd* GetActiveWnd() const;
  int GetTabFromHwnd(HWND hWnd) const;
  BOOL GetTabLabel(int iTab, CString& strLabel) const;
  BOOL SetTabLabel(int iTab, const CString& strLabel);
  int GetTabIcon(int iTab) const;
  BOOL SetTabIcon(int iTab, int iImage);
  BOOL SetImageList(HIMAGELIST hImageList);
  CImageList* GetImageList() const { return m_pImages; }
  CSize GetImageSize() const { return m_sizeImage; }
  COLORREF GetTabTextColor(int iTab) const;
  BOOL GetTabRect(int iTab, CRect& rect) const;
  BOOL EnsureVisible(int iTab);
  BOOL SetOptionAndRedraw(BOOL bNoPrefix, BOOL bRedraw = TRUE);
  int GetHighlightedTab() const { return m_iHotTab; }
  Location GetLocation() const { return m_location; }
  static HICON GetTabMenuIcon(UINT uiCmd);

  // Style queries the visual managers make.
  BOOL IsFlatTab() const { return m_bFlat; }
  BOOL Is3DStyle() const { return !m_bFlat && !m_bSlanted && !m_bSlantedCompact && !m_bTrapezoid; }

  // Overridable operations, in this order.
  virtual COLORREF GetTabBkColor(int iTab) const;
  virtual BOOL SetTabBkColor(int iTab, COLORREF color);
  virtual BOOL SetActiveTab(int iTab);
  virtual BOOL StartRenameTab(int iTab);
  virtual BOOL IsTabLabelValid(int iTab, const CString& strLabel) const;
  virtual void InvalidateTab(int iTab);
  virtual void MoveTab(int iFrom, int iTo);
  virtual BOOL EndRenameTab();
  virtual BOOL HasTabImage(int iTab) const;
  virtual BOOL IsSlantedStyle() const { return m_bSlanted; }
  virtual BOOL IsCompactSlantedStyle() const { return m_bSlantedCompact; }
  virtual BOOL IsTrapezoidStyle() const { return m_bTrapezoid; }
  virtual int GetFirstScrolledTab() const { return m_iFirstScrolledTab; }
  virtual void SetLocation(int nLocation);
  virtual BOOL HasColoredTabs() const;
  virtual BOOL ShowTabsMenu(int x, int y);
  virtual void DrawTab(CDC* pDC, CPlxTabInfo* pTab, BOOL bActive);
  virtual void DrawFlatTab(CDC* pDC, CPlxTabInfo* pTab, BOOL bActive);
  virtual void DrawFlatArrow(CDC* pDC, int nLeft, int nTop, int nBottom, int nSize);
  virtual void InitAutoColors();

  // Layout and scrolling.
  void UpdateTabsHeight();
  void RecalcLayout();
  void AdjustTabs();
  void AdjustScrollOffset();
  void LayoutButtons(int x, int y, int nWidth, int nHeight, BOOL bHide, int nGap);
  void UpdateButtons();
  void LayoutScrollBar();
  BOOL SyncScrollBar(const SCROLLINFO* pInfo = nullptr);
  void HideActiveWndScrollBar();
  BOOL IsTabRowHidden() const;
  int GetTabsOverlap() const;
  int GetButtonSize() const;

  // Input. The message filter handles the label edit's keys and Ctrl+Page Up/Page Down.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  int GetTabFromPoint(CPoint pt) const;
  CWnd* GetForwardTarget(CPoint pt) const;
  BOOL IsRenaming() const { return m_pRenameEdit != nullptr; }
  BOOL IsMoving() const { return m_bMoving; }

  // Option fields the owner sets directly.
  BOOL m_bDrawFrame = TRUE;
  BOOL m_bHideInactiveWnd = TRUE;
  BOOL m_bResizeWnd = TRUE;
  BOOL m_bAutoDestroyWnd = TRUE;
  BOOL m_bNoEraseBkgnd = FALSE;
  BOOL m_bOutlineClient = FALSE;
  BOOL m_bHideSingleTab = FALSE;
  BOOL m_bHideNoTabs = FALSE;
  BOOL m_bRenameEnabled = FALSE;
  BOOL m_bMoveEnabled = FALSE;
  BOOL m_bAutoColorEnabled = FALSE;
  BOOL m_bHideOverflow = FALSE;
  BOOL m_bDefaultAutoColors = TRUE;
  int m_nBorderSize = 3;
  BOOL m_bLabelNoPrefix = FALSE;

  // State, read by the owner and the visual managers.
  BOOL m_bFlat = FALSE;
  BOOL m_bSlanted = FALSE;
  BOOL m_bSlantedCompact = FALSE;
  BOOL m_bTrapezoid = FALSE;
  BOOL m_bSharedScrollBar = FALSE;
  BOOL m_bScrollable = FALSE;
  BOOL m_bCloseButton = FALSE;
  BOOL m_bHighlightOnHover = FALSE;
  Location m_location = LOCATION_BOTTOM;
  std::vector<std::unique_ptr<CPlxTabInfo>> m_tabs;  // display order
  int m_nTabsNum = 0;
  int m_iActiveTab = -1;
  int m_nScrollBarRight = 0;
  CRect m_rectTabsArea;
  CRect m_rectWndArea;
  int m_nTabsHeight = 0;
  HIMAGELIST m_hImageList = nullptr;
  CImageList* m_pImages = nullptr;  // the handle's wrapper, not owned
  CSize m_sizeImage = CSize(0, 0);
  int m_iHotTab = -1;
  int m_nButtonsHeight = 0;  // the navigation buttons' size, read by the flat tab painter
  int m_nScrollOffset = 0;
  int m_nMaxScrollOffset = 0;
  int m_nTabsTotalWidth = 0;
  int m_iFirstScrolledTab = 0;
  int m_nScrollBarWidth = 0;
  CRect m_rectSplitter;
  BOOL m_bSplitterDragging = FALSE;
  int m_iDrawingTab = -1;
  UINT m_uiNextToolId = 1;
  int m_iRenameTab = -1;
  BOOL m_bMoving = FALSE;
  int m_iMoveFrom = 0;
  int m_iMoveTo = 0;
  std::vector<COLORREF> m_autoColors;
  CRect m_rectClipBox;
  BOOL m_bSomeTabsHidden = FALSE;
  BOOL m_bIsDlgControl = FALSE;  // never set here: bar colours

  // The five buttons in their row order; null until created.
  CPlxTabButton* m_pBtnFirst = nullptr;
  CPlxTabButton* m_pBtnLeft = nullptr;
  CPlxTabButton* m_pBtnRight = nullptr;
  CPlxTabButton* m_pBtnLast = nullptr;
  CPlxTabButton* m_pBtnClose = nullptr;
  std::vector<HWND> m_buttons;
  std::unique_ptr<CToolTipCtrl> m_pToolTip;
  std::unique_ptr<CScrollBar> m_pScrollBar;
  CEdit* m_pRenameEdit = nullptr;

  // Registered notifications sent to the parent.
  static const UINT PlxM_ONCHANGE_ACTIVE_TAB;
  static const UINT PlxM_ON_HSCROLL;
  static const UINT PlxM_ON_RENAME_TAB;
  static const UINT PlxM_ON_BEFOREMOVE_TAB;
  static const UINT PlxM_ON_MOVE_TAB;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg void OnSysColorChange();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()

  void Paint(CDC* pDC);
  void Redraw(BOOL bAllChildren);
  void CloseRenameEdit();
  void EndDrag();
  void ForwardMouse(UINT message, UINT nFlags, CPoint point);
  void ScrollBy(BOOL bRight);
  void DeleteTool(CPlxTabInfo* pTab);

  CBrush m_brActiveTab;
  CFont m_fontFlat, m_fontFlatBold;
};
