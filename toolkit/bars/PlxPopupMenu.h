// CPlxPopupMenu: the toolkit's own drop-down and context menu. A borderless popup frame that
// never takes activation and hosts one CPlxPopupMenuBar with the items. It owns itself: the
// opener allocates it, Create shows it, and it deletes itself when its window goes.
//
//   PlxPopupMenu.cpp          data, creation, filling, keys, mouse, closing, the chain, export
//   PlxPopupMenuPaint.cpp     frame, animation, shadow, scroll buttons
//   PlxPopupMenuPlacement.cpp where the popup goes on the work area and how tall it may be
#pragma once

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/GdiObjects.h"
#include "toolkit/bars/PlxPopupMenuBar.h"

class CMenu;
class CPlxMenuPage;
class CToolTipCtrl;

// The registered messages of the popup's accessibility answers.
extern UINT PLX_WM_GETOBGECT;  // "PlxM_GETOBGECT", spelled so
extern UINT PLX_WM_ACCHITTEST;
extern UINT PLX_WM_ACCGETSTATE;

// The five-field record handed to the frame with "PlxM_GETOBGECT".
struct PlxAccObjectRequest {
  CWnd* pWnd;
  WPARAM wParam;
  LONG idObject;
  LONG nChildren;
  HMENU hMenu;
};

// What the placement of a popup reads (screen coordinates) and what it decides.
struct PlxPopupPlacement {
  // in
  CRect rectWork;      // work area of the monitor nearest the popup
  CPoint ptLocation;   // asked-for corner (top-right under a right-to-left layout)
  CPoint ptRequested;  // where the opener asked, before any earlier placement
  CSize size;          // the popup without its shadow
  BOOL bRTL = FALSE;
  BOOL bRightAlign = FALSE;
  BOOL bHasParentItem = FALSE;     // opened by an item
  BOOL bItemWndExists = FALSE;     // the item's bar window exists
  BOOL bSubMenu = FALSE;           // the item lies in a parent popup
  BOOL bParentBar = FALSE;         // the item lies on some bar
  BOOL bParentBarIsPopup = FALSE;  // ... that is a popup menu bar
  BOOL bParentBarHorz = TRUE;      // ... docked horizontally
  CRect rectItem;                  // the item
  CRect rectParentPopup;           // the parent popup's window
  int nParentRowHeight = 0;
  int nBorder = 0;
  BOOL bUnfold = FALSE;
  int nDirection = 0;  // as the opener set it
  // out
  CPoint pt;  // final corner (top-right under RTL)
  BOOL bScrollable = FALSE;
  BOOL bAnimFromLeft = TRUE;
  BOOL bAnimFromTop = TRUE;
};

// Keeps the popup on the work area beside, above or below its item, flipping it where there is
// no room and cutting it (scrollable) where it is taller than the room.
void PlxPlacePopup(PlxPopupPlacement& p);

class CPlxPopupMenu : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CPlxPopupMenu)

 public:
  enum DROP_DIRECTION {
    DROP_DIRECTION_NONE,
    DROP_DIRECTION_BOTTOM,
    DROP_DIRECTION_TOP,
    DROP_DIRECTION_RIGHT,
    DROP_DIRECTION_LEFT
  };
  enum ANIMATION_TYPE { NoAnimation = 0, Unfold = 1, Slide = 2, Fade = 3, SystemDefaultAnimation = 999 };
  // MenuHitTest answers.
  enum {
    HT_MENU = 0,
    HT_SHADOW_RIGHT = 1,
    HT_SHADOW_BOTTOM = 2,
    HT_LOGO = 3,
    HT_OUTSIDE = 4,
    HT_TEAROFF = 5
  };

  CPlxPopupMenu();
  CPlxPopupMenu(CPlxMenuPage* pMenuPage, LPCTSTR lpszTitle);
  ~CPlxPopupMenu() override;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;

  // ---- virtual operations, in the toolkit's slot order ----
  virtual CPlxPopupMenuBar* GetMenuBar();
  virtual BOOL InCommand();
  virtual BOOL IsIdle() const { return m_bAnimationDone && m_nScrollMode == 0; }
  virtual BOOL TearOff(CPoint point);
  virtual CControlBar* CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCTSTR lpszName);
  virtual BOOL Create(CWnd* pWndParent, int x, int y, HMENU hMenu, BOOL bLocked = FALSE,
                      BOOL bOwnMessage = FALSE);

  // ---- items (the embedded bar) ----
  int InsertItem(const CPlxToolbarMenuButton& button, int iInsertAt = -1);
  int InsertSeparator(int iInsertAt = -1);
  int GetMenuItemCount() const;
  CPlxToolbarMenuButton* GetMenuItem(int iIndex) const;
  BOOL RemoveItem(int iIndex);
  void RemoveAllItems();

  // ---- the chain ----
  CPlxPopupMenu* GetParentPopupMenu() const;
  BOOL IsSubMenu() const { return m_pParentBtn != nullptr; }
  CPlxToolBar* GetParentToolBar() const;
  CPlxToolbarMenuButton* GetSelItem();
  CPlxToolbarMenuButton* GetParentButton() const { return m_pParentBtn; }
  DROP_DIRECTION GetDropDirection() const { return static_cast<DROP_DIRECTION>(m_nDropDirection); }
  HMENU GetHMenu() const { return m_hMenu; }
  BOOL IsRightAlign() const { return m_bRightAlign; }
  BOOL IsScrollable() const { return m_bScrollable; }
  BOOL IsShown() const { return m_bShown; }
  BOOL IsClosing() const { return m_bClosing; }
  BOOL IsQuickCustomize() const { return m_bQuickCustomize; }
  CSize GetFinalSize() const { return m_sizeFinal; }
  CPoint GetLocation() const { return m_ptLocation; }
  int GetShadowSize() const { return m_nShadowSize; }
  CSize GetAnimatedSize() const { return m_sizeAnimated; }
  int GetFadePercent() const { return m_nFadePercent; }
  CRect GetScrollUpRect() const { return m_rectScrollUp; }
  CRect GetScrollDownRect() const { return m_rectScrollDown; }
  void SetRightAlign(BOOL bRightAlign = TRUE) { m_bRightAlign = bRightAlign; }
  void SetAutoDestroy(BOOL bAutoDestroy = TRUE) { m_bAutoDestroyMenu = bAutoDestroy; }
  void SetMaxWidth(int nMaxWidth) { m_nMaxWidth = nMaxWidth; }
  void SetLogo(int nSize, int nLocation) {
    m_nLogoSize = nSize;
    m_nLogoLocation = nLocation;
  }

  // ---- operations ----
  void CloseMenu(BOOL bSetFocusToBar = FALSE);
  void ShowAllCommands();
  void SaveToParentItems();
  void CancelSubMenus();
  BOOL PostCommand(UINT uiCommandID);
  BOOL ExportToMenu();
  void FreeExportedMenu();
  void SetQuickCustomize();
  int MenuHitTest(CPoint pt);
  static BOOL ActivatePopupMenu(CFrameWnd* pTopFrame, CPlxPopupMenu* pPopupMenu);
  // The popup of the running tracking loop (also the frame's active popup).
  static CPlxPopupMenu* GetActiveMenu() { return m_pActiveTracked; }
  // The animation type with the system default resolved.
  static int GetAnimationType();
  // The toolkit frame override, else the popup's top-level frame.
  CFrameWnd* GetTopLevelFrame() const;

  // ---- painting, animation, shadow, scrolling ----
  void DrawFrame(CDC* pDC);
  void DrawAnimated(CDC* pDC);
  BOOL AdjustScrollButtons(BOOL bForce);
  BOOL IsScrollUpAvailable();
  BOOL IsScrollDownAvailable();
  void DrawScrollButton(CDC* pDC, const CRect& rect, UINT uiGlyph, BOOL bHighlighted);
  void CheckShadowFits(BOOL bNoResize);
  void UpdateShadow(LPRECT lprectScreen = nullptr);
  static void UpdateAllShadows(LPRECT lprectScreen = nullptr);
  // One animation step of n steps' worth (what timer 1 does; tests call it with a chosen n).
  void AnimationStep(int nSteps);
  // One scroll timer tick with the cursor at the client point.
  void ScrollStep(CPoint ptClient);
  // Timer 2 of the popup: scrolling.
  static constexpr UINT_PTR kAnimationTimer = 1;
  static constexpr UINT_PTR kScrollTimer = 2;
  static constexpr UINT kScrollPeriod = 80;

  // ---- fields, in the toolkit's order ----
  BOOL m_bCloseParentOnDestroy;
  CWnd* m_pMessageWnd;
  CPlxToolbarMenuButton* m_pParentBtn;
  int m_nDropDirection;

 protected:
  CPlxPopupMenuBar m_wndMenuBar;
  HMENU m_hMenu;
  CPoint m_ptLocation;
  CPoint m_ptRequested;
  CSize m_sizeFinal;
  int m_nBarHeight;
  BOOL m_bAutoDestroyMenu;

 public:
  BOOL m_bTrackMode;
  BOOL m_bRightAlign;

 protected:
  BOOL m_bShown;

 public:
  BOOL m_bClosing;

 protected:
  int m_nMaxWidth;
  int m_nLogoSize;
  int m_nLogoLocation;
  CPlxMenuPage* m_pMenuPage;
  CString m_strCaption;
  CSize m_sizeAnimated;
  BOOL m_bAnimFromLeft;
  BOOL m_bAnimFromTop;
  BOOL m_bAnimationDone;
  BOOL m_bScrollable;
  CRect m_rectScrollUp;
  CRect m_rectScrollDown;
  int m_nScrollMode;
  int m_nScrollButtonHeight;
  CBitmap m_bmpScreen;
  CBitmap m_bmpMenu;
  CBitmap m_bmpBlend;
  int m_nFadePercent;
  COLORREF* m_pScreenBits;
  COLORREF* m_pMenuBits;
  COLORREF* m_pBlendBits;
  int m_nShadowSize;
  CBitmap m_bmpShadowSave2;
  CBitmap m_bmpShadowSave1;
  BOOL m_bTearOffTracking;
  BOOL m_bTearOffHot;
  CRect m_rectTearOffCaption;
  CToolTipCtrl* m_pToolTip;  // the tear-off caption's tip; made on first need

 public:
  BOOL m_bQuickCustomize;
  int m_nQuickCustomizeKind;

 protected:
  CMenu* m_pExportedMenu;

 public:
  void* m_pAccObject;

  // ---- class-wide ----
  static int m_AnimationType;  // ANIMATION_TYPE; "MenuAnimation" of the toolbar parameters
  static int m_nAnimationSpeed;
  static BOOL m_bShadowOutsideAllowed;
  static BOOL m_bMenuSound;
  static CPlxPopupMenu* m_pActiveTracked;
  static BOOL m_bFocusOwnerBar;
  static BOOL m_bSendMenuSelect;
  static DWORD m_dwLastAnimTick;
  static BOOL m_bSavedRecentlyUsed;

 protected:
  void Initialize();
  BOOL InitMenuBar();
  BOOL SetMessageWindowActive(BOOL bActive);
  BOOL AnimationWillRun() const;
  void InsertRecentFiles();
  void InsertUserTools();
  void ScrollHotIntoView();
  // The logo strip of that thickness along its side of the rectangle.
  CRect LogoRect(CRect rect, int nThickness) const;
  void PostNcDestroy() override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnDestroy();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAccHitTest(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAccGetState(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnToolTipNotify(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  friend class CPlxPopupMenuBar;
};

// The animation clock: milliseconds of wall time (a processor-time clock would stall a menu whose
// program sits idle waiting for the next timer).
DWORD PlxAnimationClock();

// Fills a popup bar from the menu-bar temporary store when it holds the menu; FALSE leaves the bar
// to be filled from the menu.
BOOL PlxLoadMenuFromStore(HMENU hMenu, CPlxPopupMenuBar* pBar);

// Menu sounds: 1 the command sound, 2 the popup sound, -1 ends the sound thread.
void PlayMenuSound(int nSound = 1);
