// CPlxTasksPane: a pane of task groups, one page at a time. A group has a caption that can collapse
// it and a list of tasks: links that fire commands, plain texts and embedded child windows. The
// pane scrolls by rows with a scroll bar or two hover buttons and animates collapsing groups.
#pragma once

#include <vector>

#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/customize/PlxOutlookBar.h"
#include "toolkit/customize/PlxTaskRecords.h"
#include "toolkit/customize/PlxTasksPaneToolBar.h"

class CPlxTasksPane : public CPlxOutlookBar, public CPlxTasksPaneMetrics {
  DECLARE_DYNAMIC(CPlxTasksPane)

 public:
  static constexpr UINT kAnimationTimer = 4;
  static constexpr UINT kHoverScrollTimer = 5;
  static constexpr UINT kScrollBarId = 1;
  static constexpr UINT kDefaultPageString = 17014;
  static constexpr UINT kBackCmd = 17016;
  static constexpr UINT kForwardCmd = 17017;
  static constexpr UINT kHomeCmd = 17018;
  static constexpr UINT kCloseCmd = 17019;
  static constexpr UINT kPagesMenuCmd = 17020;
  static constexpr UINT kPagesMenuTipString = 17020;
  static constexpr UINT kToolBarId = 1;
  static constexpr UINT kMenuButtonId = 4;  // the caption's buttons
  static constexpr UINT kForwardButtonId = 5;
  static constexpr UINT kBackButtonId = 6;
  static constexpr UINT kToolBarBitmap = 17025;       // 16 x 16 images: back, forward, home, close
  static constexpr UINT kToolBarBitmapSmall = 17015;  // the same in 12 x 12

  CPlxTasksPane();
  ~CPlxTasksPane() override;

  // Pages, groups and tasks. Indices of groups run over all pages, in display order.
  int AddPage(LPCTSTR lpszName);
  void RemovePage(int nPage);
  int GetPageCount() const { return static_cast<int>(m_lstTaskPages.size()); }
  int AddGroup(int nPage, LPCTSTR lpszCaption, BOOL bBottomLocation = FALSE, BOOL bSpecial = FALSE,
               HICON hIcon = nullptr);
  int AddTask(int nGroup, LPCTSTR lpszName, int nIcon = -1, UINT uiCommandID = 0, DWORD dwUserData = 0);
  int AddLabel(int nGroup, LPCTSTR lpszName, int nIcon = -1) { return AddTask(nGroup, lpszName, nIcon); }
  int AddWindow(int nGroup, HWND hwndTask, int nWindowHeight, DWORD dwUserData = 0);
  BOOL RemoveTask(int nGroup, int nTask, BOOL bRedraw = TRUE);
  BOOL RemoveGroup(int nGroup);
  void RemoveAllGroups(int nPage = 0);
  int GetGroupCount() const { return static_cast<int>(m_lstTaskGroups.size()); }
  CPlxTasksGroup* GetTaskGroup(int nGroup) const;
  CPlxTask* GetTask(int nGroup, int nTask) const;
  BOOL CollapseGroup(CPlxTasksGroup* pGroup, BOOL bCollapse = TRUE);
  void SetCaption(LPCTSTR lpszCaption);

  // Page history: the current page is pages[history[historyPos]].
  int GetActivePage() const { return m_arrHistoryStack[m_iActivePage]; }
  void SetActivePage(int nPage);
  void AddToHistory(int nPage);
  void ChangeActivePage(int nNewPos, int nOldPos);
  void GetPreviousPages(std::vector<CString>& lstPages) const;
  void GetNextPages(std::vector<CString>& lstPages) const;
  BOOL GoBack(int nSteps = 1);  // FALSE when the history has no such entry
  BOOL GoForward(int nSteps = 1);
  // A popup of the pages (command 17020 each), the current one checked; the caller destroys it.
  HMENU BuildPagesMenu() const;
  // The window text: the pane's caption over several pages, else the page's name.
  void UpdateCaption();
  int GetHistoryPos() const { return m_iActivePage; }
  int GetHistorySize() const { return static_cast<int>(m_arrHistoryStack.size()); }
  // A new pages menu for the caption's menu button, then the history buttons' lists.
  void RebuildPagesMenu();
  // Each history button of the toolbar lists the pages behind or ahead again.
  void UpdateHistoryButtons();

  // The navigation toolbar: back, forward, home, the pages menu, close. Made by WM_CREATE; FALSE
  // without a window or when the bar cannot be made.
  BOOL CreateToolBar();
  // Back and Forward with drop-down lists of the history; set before the pane is created.
  void EnableHistoryMenuButtons(BOOL bEnable = TRUE) { m_bHistoryMenuButtons = bEnable; }
  // Images of the toolbar from a bitmap of the caller (0: the built-in ones); a zero button
  // size is the image size + 4. Set before the pane is created.
  void SetToolbarImages(UINT uiBitmapId, CSize sizeImage, CSize sizeButton = CSize(0, 0));
  CPlxTasksPaneToolBar& GetToolBar() { return m_wndToolBar; }
  // The pane draws its own caption block above the groups; its buttons navigate when the
  // toolbar is not shown. Given by WS_CAPTION in the pane's style (which the pane strips).
  BOOL HasCaptionBlock() const { return m_bCaptionBlock; }
  // Whether the toolbar shows: always-show or no caption block, and several pages.
  BOOL IsToolBarShown() const;

  CPlxTask* GetTaskFromPoint(CPoint point) const;
  CPlxTasksGroup* GetGroupCaptionFromPoint(CPoint point) const;
  void AdjustLocations() override;
  void SetScrollSizes();
  int ReposTasks(BOOL bCalcHeightOnly = FALSE);
  void CreateFonts();

  // Layout of every task without a window's content (what the scroll range needs); for callers
  // that measure (benchmarks) as well.
  int GetScrollPos() const { return m_nVertScrollOffset; }
  int GetScrollMax() const { return m_nVertScrollTotal; }
  int GetScrollPage() const { return m_nVertScrollPage; }
  void ScrollTo(int nPos);

  // Metrics: -1 takes the visual manager's.
  int GetVertMargin() const;
  int GetHorzMargin() const;
  int GetGroupVertOffset() const;
  int GetGroupCaptionHeight() const;
  int GetTasksHorzOffset() const;
  int GetTasksIconVertOffset() const;

  CPlxTask* m_pHotTask = nullptr;
  CPlxTask* m_pClickedTask = nullptr;
  CPlxTasksGroup* m_pHotGroupCaption = nullptr;
  CPlxTasksGroup* m_pClickedGroupCaption = nullptr;
  CPlxTasksGroup* m_pAnimatedGroup = nullptr;
  int m_nAnimGroupExtraHeight = 0;  // visible height of the animated group's tasks
  BOOL m_bCanCollapse = TRUE;
  BOOL m_bAnimationEnabled = TRUE;
  BOOL m_bUseScrollButtons = TRUE;
  BOOL m_bUseNavigationToolbar = FALSE;  // the toolbar shows over several pages even with a caption
  BOOL m_bHistoryMenuButtons = FALSE;
  CPlxTasksPaneToolBar m_wndToolBar;
  UINT m_uiToolbarBmpRes = 0;  // 0: the built-in images
  CSize m_sizeToolbarImage = CSize(0, 0);
  CSize m_sizeToolbarButton = CSize(0, 0);
  CRect m_rectToolBar;  // empty while the toolbar is hidden
  CMenu m_menuPages;
  CPlxTasksPaneMenuButton m_btnOther;  // the caption's pages menu
  CPlxButton m_btnForward;
  CPlxButton m_btnBack;
  BOOL m_bCaptionBlock = FALSE;
  CRect m_rectCaption;  // the caption block, empty without one
  // What an accessibility query is about: the index of a group caption or link in display
  // order, -1 for the pane itself.
  int m_nAccessibleItem = -1;
  int m_nMaxHistory = 10;
  CString m_strCaption;
  HFONT m_hFont = nullptr;
  CScrollBar m_wndScrollVert;
  CFont m_fontBold;
  CFont m_fontUnderline;
  CSize m_sizeIcon = CSize(0, 0);
  CImageList* m_pImages = nullptr;  // task icons (not owned)
  CRect m_rectTasks;
  CRect m_rectScrollUp;
  CRect m_rectScrollDn;
  int m_iScrollMode = 0;  // -1 up, 0 none, 1 down while hovering on a button
  int m_iScrollBtnHeight = 12;
  int m_nVertScrollOffset = 0;
  int m_nVertScrollTotal = 0;
  int m_nVertScrollPage = 0;
  int m_nRowHeight = 0;
  int m_nVertMargin = -1, m_nHorzMargin = -1, m_nGroupVertOffset = -1, m_nGroupCaptionHeight = -1,
      m_nTasksHorzOffset = -1, m_nTasksIconVertOffset = -1;
  BOOL m_bUseOwnWindowOffsets = TRUE;

 protected:
  // Called for a click on a link: by default a command to the owner (or parent).
  virtual void OnClickTask(int nGroupNumber, int nTaskNumber, UINT uiCommandID, DWORD dwUserData);
  virtual void OnActivateTasksPanePage() {}
  // The Back and Forward commands when no history list chose the entry: one step.
  virtual void OnPressBackButton();
  virtual void OnPressForwardButton();
  virtual void OnPressHomeButton() { SetActivePage(0); }
  virtual void OnPressCloseButton();
  // The horizontal offset and vertical spacing of window tasks when not the pane's own.
  virtual void GetWindowTaskOffsets(int& nHorz, int& nVert) const;
  virtual void ShowCommandMessageString(UINT uiCmdId);

  void DeleteGroup(CPlxTasksGroup* pGroup);
  void ForgetTask(const CPlxTask* pTask);
  void ForgetGroup(const CPlxTasksGroup* pGroup);
  void Repaint(const CRect& rect);
  void LayOutCaption();
  void DrawCaption(CDC* pDC);
  void RelayoutAndRedraw();
  int TextHeight(CFont* pFont, const CString& text, int width, BOOL bWrap);
  void OnFillBackground(CDC* pDC) override;
  // The navigation commands are the pane's own; a toolbar would pass them on to its owner.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnBack();
  afx_msg void OnForward();
  afx_msg void OnHome() { OnPressHomeButton(); }
  afx_msg void OnClose() { OnPressCloseButton(); }
  afx_msg void OnUpdateBack(CCmdUI* pCmdUI);
  afx_msg void OnUpdateForward(CCmdUI* pCmdUI);
  afx_msg void OnUpdatePagesMenu(CCmdUI* pCmdUI);
  // The caption's buttons: the pages menu, Forward and Back.
  afx_msg void OnCaptionPages();
  afx_msg void OnCaptionForward() { OnForward(); }
  afx_msg void OnCaptionBack() { OnBack(); }
  afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  std::vector<CPlxTaskPage*> m_lstTaskPages;     // owned
  std::vector<CPlxTasksGroup*> m_lstTaskGroups;  // owned, with their tasks
  std::vector<int> m_arrHistoryStack;
  int m_iActivePage = 0;  // position in the history
  DWORD m_dwAnimTick = 0;
};
