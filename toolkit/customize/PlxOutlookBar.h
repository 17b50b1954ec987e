// CPlxOutlookBar: a dockable shortcut bar. Its buttons are large shortcut buttons grouped into
// pages; the page captions stack above the button area, a click on one makes that page active,
// and the active page's buttons scroll one at a time or a page at a time. A bar with a splitter
// can be resized by dragging its inner edge.
#pragma once

#include <vector>

#include "toolkit/bars/PlxToolBar.h"

class CPlxOutlookBar;

// One page: its caption and the window it may show instead of buttons (not owned).
class CPlxOutlookBarPage : public CObject {
  DECLARE_SERIAL(CPlxOutlookBarPage)

 public:
  CPlxOutlookBarPage() = default;
  CPlxOutlookBarPage(DWORD id, LPCTSTR lpszLabel, HWND hwnd)
      : m_dwId(id), m_strLabel(lpszLabel), m_hwnd(hwnd) {}
  ~CPlxOutlookBarPage() override;
  void Serialize(CArchive& ar) override;

  DWORD m_dwId = 0;
  CString m_strLabel;
  HWND m_hwnd = nullptr;
  CRect m_rectCaption;  // client coordinates
};

// A shortcut button: image above (vertical bars) or left of (horizontal bars) its label.
class CPlxOutlookButton : public CPlxToolbarButton {
  DECLARE_SERIAL(CPlxOutlookButton)

 public:
  // Data of this version and later carries the page id.
  static constexpr int kPageIdVersion = 0x40710;

  CPlxOutlookButton() = default;
  CPlxOutlookButton(UINT uiID, int iImage, LPCTSTR lpszText, DWORD dwPageId);

  void Serialize(CArchive& ar) override;
  BOOL CanBeDropped(CPlxToolBar* pToolbar) override;  // accepted only by an outlook bar
  void CopyFrom(const CPlxToolbarButton& src) override;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CSize OnCalculateSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
  void OnChangeParentWnd(CWnd* pWndParent) override;
  BOOL CompareWith(const CPlxToolbarButton& other) const override;
  void SetImage(int iImage) override { m_iImage = iImage; }

  CPlxOutlookBar* m_pWndParentBar = nullptr;
  DWORD m_dwPageId = 0;
  int m_nMinWidth = 0;
  int m_nMinHeight = 0;
};

class CPlxOutlookBar : public CPlxToolBar {
  DECLARE_SERIAL(CPlxOutlookBar)

 public:
  static constexpr UINT kScrollUpTimer = 1;
  static constexpr UINT kScrollDownTimer = 2;
  static constexpr UINT kPageChangeTimer = 3;
  static constexpr UINT kScrollUpCmd = 0xF200;
  static constexpr UINT kScrollDownCmd = 0xF201;
  static constexpr int kSplitter = 3;

  CPlxOutlookBar();
  ~CPlxOutlookBar() override;

  // Pages: a new page gets the next unused id (from 1); its buttons carry that id.
  DWORD AddPage(LPCTSTR lpszLabel, HWND hwndPage = nullptr);
  BOOL RemovePage(DWORD dwId);
  int AddShortcut(UINT uiCmd, int iImage, LPCTSTR lpszLabel, DWORD dwPageId = 0);
  CPlxOutlookBarPage* FindPage(DWORD dwId) const;
  CPlxOutlookBarPage* GetPageFromPoint(CPoint point) const;
  int GetPageCount() const { return static_cast<int>(m_lstPages.size()); }
  DWORD GetActivePageId() const { return m_nActivePageId; }
  void SetActivePage(DWORD dwId, BOOL bAnimate = FALSE);
  CPlxToolbarButton* GetPageButton(int nIndex) const;
  int GetPageButtonsNum() const;
  void GetButtonsArea(CRect& rect) const;

  BOOL CanScrollUp() const { return m_iScrollOffset > 0; }
  BOOL CanScrollDown() const { return m_bCanScrollDown; }
  void ScrollUp();
  void ScrollDown();
  void PageUp();
  void PageDown();
  int GetPageStep() const;  // buttons per page step, never below 1
  void EnsureButtonVisible(int nIndex);

  void SetBackColor(COLORREF clr) { m_clrBack = clr; }
  void SetTextColor(COLORREF clr) { m_clrText = clr; }

  // A vertical layout of the active page's buttons below the page captions.
  void AdjustLocations() override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void DoPaint(CDC* pDC) override;
  void OnFillBackground(CDC* pDC) override;
  virtual void OnActivatePage() {}
  virtual void OnEraseWorkArea(CDC* pDC, CRect rect);

  COLORREF m_clrText = (COLORREF)-1;
  COLORREF m_clrBack = (COLORREF)-1;
  BOOL m_bResizable = FALSE;
  BOOL m_bAnimation = FALSE;
  int m_nBarSize = 100;
  CRect m_rectButtonsArea;
  int m_iScrollOffset = 0;
  int m_iFirstVisibleButton = 0;
  BOOL m_bCanScrollDown = FALSE;
  CRect m_rectSplitter;
  CRect m_rectDragLine;
  BOOL m_bSplitterDragging = FALSE;
  int m_nDragPos = 0;
  DWORD m_nActivePageId = (DWORD)-1;
  DWORD m_nPendingPageId = 0;
  std::vector<CPlxOutlookBarPage*> m_lstPages;  // owned
  CRect m_rectCaptions;
  int m_nButtonSpacing = 0;
  BOOL m_bPageWiseScroll = FALSE;
  int m_nCaptionHeight = 22;

 protected:
  BOOL IsAlignedToStart() const;  // the splitter is on the bottom or right edge
  int ButtonExtent(CPlxToolbarButton* pButton) const;
  void Relayout();
  void EndSplitterDrag();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnSysColorChange();
  afx_msg void OnScrollCommand(UINT nID);
  afx_msg void OnUpdateScrollCommand(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()
};
