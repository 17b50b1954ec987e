// CPlxOutlookBar: a dockable shortcut bar. Its buttons are large shortcut buttons grouped into
// pages; each page has a caption button, those up to the active page stack at the start of the
// bar and the others at its end, and a click on one slides it into place and shows that page.
// Two arrow buttons scroll the active page's buttons one at a time or a page at a time while
// held. A bar with a splitter can be resized by dragging its inner edge; a bar with a caption
// splitter keeps its captions in a block at the end whose size is dragged in caption steps. The
// bar can show a background picture, a chevron that lists the buttons out of view, a small
// toolbar at its top and its own caption with a close button.
#pragma once

#include <vector>

#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxButtonImages.h"

class CPlxOutlookBar;
class CEdit;

// The caption button of a page: the visual manager may fill and frame it.
class CPlxOutlookBarPageButton : public CPlxButton {
  DECLARE_DYNCREATE(CPlxOutlookBarPageButton)

 public:
  CPlxOutlookBar* GetParentBar() const;
  void SetChecked(BOOL bChecked) { m_bChecked = bChecked; }

 protected:
  void OnFillBackground(CDC* pDC, const CRect& rectClient) override;
  void OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) override;
  // Across a horizontal bar the captions are narrow strips: their labels run down them.
  CFont* SelectCaptionFont(CDC* pDC) override;
  void DrawCaption(CDC* pDC, const CRect& rect, const CString& strText, UINT uiDTFlags,
                   UINT uiState) override;
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

// A scroll arrow: tells the bar when it is pressed, so that the bar's timer repeats the step
// while the arrow stays pushed.
class CPlxOutlookScrollButton : public CPlxButton {
 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

// One page: its caption and the window it may show instead of buttons (not owned).
class CPlxOutlookBarPage : public CObject {
  DECLARE_SERIAL(CPlxOutlookBarPage)

 public:
  CPlxOutlookBarPage() = default;
  CPlxOutlookBarPage(DWORD id, LPCTSTR lpszLabel, HWND hwnd)
      : m_dwId(id), m_strLabel(lpszLabel), m_hwnd(hwnd) {}
  ~CPlxOutlookBarPage() override;
  void Serialize(CArchive& ar) override;

  // Stores the rectangle and moves the caption button there when it changed.
  void SetCaptionRect(const CRect& rect);

  DWORD m_dwId = 0;
  CString m_strLabel;
  HWND m_hwnd = nullptr;
  CPlxOutlookBarPageButton m_btnPage;
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

// The bar's chevron: the buttons out of view and the two scroll commands.
class CPlxOutlookCustomizeButton : public CCustomizeButton {
  DECLARE_SERIAL(CPlxOutlookCustomizeButton)

 public:
  static constexpr UINT kScrollUpText = 16032;
  static constexpr UINT kScrollDownText = 16033;

  CPlxOutlookCustomizeButton() = default;
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz = TRUE,
              BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
              BOOL bGrayDisabledButtons = TRUE) override;
  CPlxPopupMenu* CreatePopupMenu() override;
};

// The small toolbar at the top of the bar: a hand over its buttons.
class CPlxOutlookBarToolBar : public CPlxToolBar {
  DECLARE_SERIAL(CPlxOutlookBarToolBar)

 public:
  static constexpr UINT kHandCursor = 16919;
  // Part of the outlook bar: not offered in lists of the frame's toolbars.
  BOOL AllowShowOnList() const override { return FALSE; }

 protected:
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};

class CPlxOutlookBar : public CPlxToolBar {
  DECLARE_SERIAL(CPlxOutlookBar)

 public:
  static constexpr UINT kScrollUpTimer = 1;
  static constexpr UINT kScrollDownTimer = 2;
  static constexpr UINT kPageChangeTimer = 3;
  static constexpr UINT kScrollUpCmd = 0xF200;
  static constexpr UINT kScrollDownCmd = 0xF201;
  static constexpr UINT kScrollUpId = 1;
  static constexpr UINT kScrollDownId = 2;
  static constexpr UINT kCloseId = 20;
  static constexpr UINT kCloseTooltip = 16105;
  static constexpr UINT kToolBarId = 0xE800;
  static constexpr UINT kStatusBarId = 0xE801;
  static constexpr UINT kFirstPageButtonId = 0x400;  // + page id
  static constexpr int kSplitter = 3;
  static constexpr UINT kScrollRepeatMs = 100;
  static constexpr UINT kPageChangeMs = 500;
  static constexpr DWORD kAnimationStepMs = 10;

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
  BOOL SetPageLabel(DWORD dwId, LPCTSTR lpszLabel);
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
  // A bitmap resource tiled behind the buttons; 0 takes it away.
  void SetBackImage(UINT uiImageID);
  UINT GetBackImageId() const { return m_uiBackImageId; }
  BOOL HasBackImage() const { return m_bBackImage; }
  // The chevron at the end of the button area.
  void EnableOutlookChevron(BOOL bEnable = TRUE);
  CCustomizeButton* GetChevron() const { return m_pChevron; }
  // nVisible captions in a block at the end under a splitter (at most nMax, -1 = all); -1 = off.
  void SetCaptionSplitter(int nVisible, int nMax = -1);
  // The bar's own caption (a frame caption given to the bar turns it on as well).
  void ShowBarCaption(BOOL bShow = TRUE);
  // Double clicks on page captions rename them in place.
  void EnableInPlaceEdit(BOOL bEnable = TRUE) { m_bInPlaceEditEnabled = bEnable; }
  BOOL EditPageLabel(DWORD dwId);
  BOOL IsEditing() const { return m_pInPlaceEdit != nullptr; }
  void EndPageLabelEdit(BOOL bCommit);
  CPlxOutlookBarToolBar& GetToolBar() { return m_wndToolBar; }
  CPlxButton& GetScrollButton(BOOL bUp) { return bUp ? m_btnUp : m_btnDown; }
  CPlxButton& GetCloseButton() { return m_btnClose; }

  // The layout of captions, the embedded toolbar, the arrows and the active page's buttons.
  void AdjustLocations() override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void DoPaint(CDC* pDC) override;
  void OnFillBackground(CDC* pDC) override;
  // Shortcuts are cut at the end of the button area.
  BOOL DrawButton(CDC* pDC, CPlxToolbarButton* pButton, CPlxButtonImages* pImages, BOOL bHighlighted,
                  BOOL bDrawDisabledImages) override;
  // Only the part of a shortcut inside the button area is hit; the chevron before all.
  int HitTest(CPoint point) override;
  int OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The bar's own child buttons are heard here, before a control bar passes commands on.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void OnActivatePage() {}
  virtual void OnEraseWorkArea(CDC* pDC, CRect rect);
  // Caption buttons a derived bar adds: placed right to left inside the rectangle, whose right
  // edge they move.
  virtual void AdjustCaptionButtons(CRect& /*rectButtons*/) {}

  COLORREF m_clrText = (COLORREF)-1;
  COLORREF m_clrBack = (COLORREF)-1;
  BOOL m_bResizable = FALSE;
  BOOL m_bAnimation = FALSE;
  int m_nBarSize = 100;
  CRect m_rectButtonsArea;
  CPlxButtonImages m_imgBack;
  UINT m_uiBackImageId = 0;
  CPlxOutlookScrollButton m_btnUp;
  CPlxOutlookScrollButton m_btnDown;
  int m_iScrollOffset = 0;
  int m_iFirstVisibleButton = 0;
  BOOL m_bCanScrollDown = FALSE;
  BOOL m_bBackImage = FALSE;
  CRect m_rectSplitter;
  CRect m_rectDragLine;
  BOOL m_bSplitterDragging = FALSE;
  int m_nDragPos = 0;
  DWORD m_nActivePageId = (DWORD)-1;
  DWORD m_nPendingPageId = 0;
  std::vector<CPlxOutlookBarPage*> m_lstPages;  // owned
  CRect m_rectActivePage;                       // screen coordinates
  CEdit* m_pInPlaceEdit = nullptr;
  DWORD m_dwEditedPageId = 0;
  UINT m_nEditSerial = 0;  // tells the current editor's requests from an earlier one's
  BOOL m_bHasCaption = FALSE;
  CRect m_rectCaptions;  // the block at the start
  CPlxButton m_btnClose;
  int m_nButtonSpacing = 0;
  BOOL m_bPageWiseScroll = FALSE;
  int m_nVisibleCaptions = -1;
  int m_nMaxVisibleCaptions = -1;
  CRect m_rectCaptionSplitter;
  BOOL m_bCaptionSplitterDragging = FALSE;
  CPlxOutlookBarToolBar m_wndToolBar;
  int m_nCaptionHeight = 22;
  // Page captions filled and framed flat by the visual managers that offer it.
  BOOL m_bPageLook = FALSE;
  BOOL m_bInPlaceEditEnabled = FALSE;
  CRect m_rectBarCaption;  // the bar's own caption, empty without one
  CRect m_rectChevron;

 protected:
  BOOL IsAlignedToStart() const;  // the splitter is on the bottom or right edge
  int ButtonExtent(CPlxToolbarButton* pButton) const;
  void Relayout();
  void RepaintButtonsArea();
  void EndSplitterDrag();
  void DrawDragLine(BOOL bErase);
  CWnd* GetDragHost() const;
  void EndCaptionSplitterDrag();
  void PlaceCaptions(const CRect& client, CRect& area);
  void UpdateChevron();
  void AnimatePageChange(CPlxOutlookBarPage* pMoved, const CRect& rectFrom, const CRect& rectTo);
  void ClosePane();
  BOOL OnChildButton(HWND hwnd, UINT code);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  afx_msg void OnSysColorChange();
  afx_msg void OnScrollCommand(UINT nID);
  afx_msg void OnUpdateScrollCommand(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  friend class CPlxOutlookBarPageButton;
};
