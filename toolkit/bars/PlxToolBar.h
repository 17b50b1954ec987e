// CPlxToolBar: the toolkit's toolbar, a control bar that owns an ordered list of button objects
// and lays them out, draws them, presses and tracks them, and stores them itself. Bars that are
// not locked share their image strips and sizes class-wide; a locked bar keeps its own. The menu
// bar, the popup menu bar and the colour bar derive from it.
//
//   PlxToolBar.cpp        the model: creation, the button list, class-wide data
//   PlxToolBarImages.cpp  loading from toolbar resources, sizes, large icons, strips
//   PlxToolBarLayout.cpp  measuring, wrapping, button rectangles, painting
//   PlxToolBarInput.cpp   mouse, keyboard, menus, tooltips, status texts, command routing
//   PlxToolBarState.cpp   the registry state and the toolbar parameters
#pragma once

#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/GdiObjects.h"
#include "toolkit/bars/PlxCommandUsage.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/bars/PlxToolbarDragDrop.h"
#include "toolkit/core/PlxBarFramePainter.h"
#include "toolkit/core/PlxButtonImages.h"

class CCustomizeButton;
class CPlxRegistry;
class CPlxToolbarMenuButton;
class CToolTipCtrl;
struct TOOLINFOA;

// The bitmap resource ids of one load; 0 leaves that strip without a bitmap.
struct PlxToolBarLoadParams {
  UINT m_uiColdResID = 0;
  UINT m_uiResID = 0;
  UINT m_uiDisabledResID = 0;
  UINT m_uiLargeColdResID = 0;
  UINT m_uiLargeResID = 0;
  UINT m_uiLargeDisabledResID = 0;
  UINT m_uiMenuResID = 0;
  UINT m_uiMenuDisabledResID = 0;
};

// The common toolbar's messages the bar answers, for code written against that control.
#ifndef TB_GETBUTTON
#define TB_GETBUTTON (WM_USER + 23)
#define TB_BUTTONCOUNT (WM_USER + 24)
#define TB_GETITEMRECT (WM_USER + 29)
#define TB_GETBUTTONTEXTA (WM_USER + 45)
#define TB_GETBUTTONTEXT TB_GETBUTTONTEXTA
#define TBSTYLE_SEP 0x0001
#define TBSTYLE_FLAT 0x0800
#define TBSTYLE_TRANSPARENT 0x8000
struct TBBUTTON {
  int iBitmap;
  int idCommand;
  BYTE fsState;
  BYTE fsStyle;
  BYTE bReserved[6];
  DWORD_PTR dwData;
  INT_PTR iString;
};
#endif

// The registered toolbar messages (registered at start-up).
extern UINT PLX_WM_TOOLBARMENU;
extern UINT PLX_WM_CUSTOMIZETOOLBAR;
extern UINT PLX_WM_CREATETOOLBAR;
extern UINT PLX_WM_DELETETOOLBAR;
extern UINT PLX_WM_CUSTOMIZEHELP;
extern UINT PLX_WM_RESETTOOLBAR;
extern UINT PLX_WM_RESETMENU;
extern UINT PLX_WM_SHOWREGULARMENU;
extern UINT PLX_WM_RESETCONTEXTMENU;
extern UINT PLX_WM_RESETKEYBOARD;
extern UINT PLX_WM_RESETRPROMPT;
void PlxRegisterToolbarMessages();

class CPlxToolBar : public CControlBar {
  DECLARE_SERIAL(CPlxToolBar)

 public:
  CPlxToolBar();
  ~CPlxToolBar() override;

  void Serialize(CArchive& ar) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The bar's control buttons hear their notifications first: OnCommand passes on what they accept.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void DoPaint(CDC* pDC) override;
  virtual int OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;

  // ---- virtual operations, in the toolkit's slot order ----
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                      UINT nID = AFX_IDW_TOOLBAR);
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0x800,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                        CRect rcBorders = CRect(1, 1, 1, 1), UINT nID = AFX_IDW_TOOLBAR);
  using CControlBar::CreateEx;  // the plain window creation stays reachable
  virtual void ResetAllImages();
  virtual BOOL LoadBitmap(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                          UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0);
  virtual BOOL LoadToolBar(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                           UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0, UINT uiHotResID = 0);
  virtual BOOL LoadBitmapEx(PlxToolBarLoadParams& params, BOOL bLocked = FALSE);
  virtual BOOL LoadToolBarEx(UINT uiToolbarResID, PlxToolBarLoadParams& params, BOOL bLocked = FALSE);
  virtual void RemoveAllButtons();
  virtual int GetRowHeight() const;
  virtual int GetColumnWidth() const;
  virtual BOOL IsButtonExtraSizeAvailable() const { return TRUE; }
  virtual void Deactivate();
  virtual BOOL RestoreFocus();
  virtual BOOL IsHorizontal() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  virtual BOOL IsDefaultSetChanged() const { return m_bDefaultsChanged; }
  virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
  virtual void GetInvalidateItemRect(int nIndex, LPRECT lpRect) const;
  virtual void SetButtonStyle(int nIndex, UINT nStyle);
  virtual BOOL AllowChangeTextLabels() const { return TRUE; }
  virtual BOOL LoadState(LPCTSTR lpszProfileName = nullptr, int nIndex = -1, UINT uiID = (UINT)-1);
  virtual BOOL SaveState(LPCTSTR lpszProfileName = nullptr, int nIndex = -1, UINT uiID = (UINT)-1);
  virtual BOOL RemoveStateFromRegistry(LPCTSTR lpszProfileName = nullptr, int nIndex = -1,
                                       UINT uiID = (UINT)-1);
  virtual BOOL CanBeRestored() const { return m_uiDefaultResId != 0; }
  virtual BOOL CanBeClosed() const { return !m_bPermanent; }
  virtual BOOL RestoreOriginalState();
  virtual void OnReset() {}
  virtual void AdjustLayout();
  virtual int HitTest(CPoint point);
  virtual BOOL TranslateChar(UINT nChar);
  virtual BOOL PrevMenu();
  virtual BOOL NextMenu();
  virtual BOOL OnSetDefaultButtonText(CPlxToolbarButton* pButton);
  virtual void OnFillBackground(CDC*) {}
  virtual void OnGlobalFontsChanged();
  virtual void OnChangeVisualManager();
  virtual CSize CalcSize(BOOL bVertDock);
  virtual void OnChangeHot(int iHot);
  virtual CSize CalcLayout(DWORD dwMode, int nLength = -1);
  virtual BOOL DrawButton(CDC* pDC, CPlxToolbarButton* pButton, CPlxButtonImages* pImages, BOOL bHighlighted,
                          BOOL bDrawDisabledImages);
  virtual void DrawDragMarker(CDC* pDC);
  virtual CWnd* GetCommandTarget() const;
  virtual BOOL OnDrop(COleDataObject* pDataObject, int dropEffect, CPoint point);
  virtual int OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual void OnDragLeave();
  virtual int OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual int FindDropIndex(const CPoint point, CRect& rectDrag) const;
  virtual void AdjustLocations();
  virtual BOOL OnSendCommand(const CPlxToolbarButton*) { return FALSE; }
  virtual BOOL AllowHighlightDisabled() const { return FALSE; }
  virtual BOOL AllowShowOnList() const { return TRUE; }
  virtual void DrawSeparator(CDC* pDC, const CRect& rect, BOOL bHorz);
  virtual CPlxToolbarButton* CreateDroppedButton(COleDataObject* pDataObject);
  virtual BOOL OnKey(UINT) { return FALSE; }
  virtual void OnCustomizeMode(BOOL bSet);
  virtual BOOL EnableContextMenuItems(CPlxToolbarButton* pButton, CMenu* pPopup);
  virtual BOOL IsPureMenuButton(CPlxToolbarButton*) const { return m_bMenuMode; }
  virtual void AddRemoveSeparator(const CPlxToolbarButton* pButton, const CPoint& ptStart,
                                  const CPoint& ptDrop);
  virtual void ShowCommandMessageString(UINT uiCmdId);
  virtual int CalcMaxButtonHeight();
  virtual BOOL GetFrameToolTipText(CPlxToolbarButton* pButton, CString& strTTText) const;
  virtual BOOL AllowAltCustomization() const { return TRUE; }
  virtual BOOL SaveOriginalItems(CPlxRegistry& reg);
  virtual BOOL LoadOriginalItems(CPlxRegistry& reg);
  virtual BOOL SmartUpdate(const CObList& lstPrevButtons);

  // ---- the button list ----
  int GetCount() const { return static_cast<int>(m_lstButtons.GetCount()); }
  CPlxToolbarButton* GetButton(int iIndex) const;
  int CommandToIndex(UINT nIDFind, int iIndexFirst = 0) const;
  int ButtonToIndex(const CPlxToolbarButton* pButton) const;
  UINT GetItemID(int nIndex) const;
  UINT GetButtonStyle(int nIndex) const;
  CString GetButtonText(int nIndex) const;
  int InsertButton(const CPlxToolbarButton& button, int iInsertAt = -1);
  int InsertButtonObject(CPlxToolbarButton* pButton, int iInsertAt = -1);
  int InsertSeparator(int iInsertAt = -1);
  BOOL RemoveButton(int iIndex);
  CPlxToolbarButton* InvalidateButton(int nIndex);
  CPlxToolbarButton* GetHotButton() const { return GetButton(m_iHot); }
  CPlxToolbarMenuButton* GetDroppedDownMenu(int* pIndex = nullptr) const;
  const CObList& GetAllButtons() const { return m_lstButtons; }
  const CObList& GetOrigButtons() const { return m_lstDefaultButtons; }
  const CObList& GetOrigResetButtons() const { return m_lstResetButtons; }
  BOOL IsUserDefined() const;
  BOOL IsLocked() const { return m_bLocked; }
  BOOL IsFloatingBar() const { return IsFloating(); }
  int GetHotIndex() const { return m_iHot; }
  int GetPressedIndex() const { return m_iPressed; }
  // Gives the bar its chevron: buttons that do not fit go into its list. uiCustomizeCmd 0 offers
  // only the hidden buttons; otherwise the chevron is always shown and offers that command too.
  void EnableCustomizeButton(BOOL bEnable, UINT uiCustomizeCmd, const CString& strCustomizeText,
                             BOOL bQuickCustomize = TRUE);
  CCustomizeButton* GetCustomizeButton() const { return m_pChevron; }

  // ---- layout and images ----
  int WrapButtons(int nWidth, int nHeight = 32767);
  int SizeToolBar(int nLength, BOOL bVert = FALSE);
  void EnableTextLabels(BOOL bEnable = TRUE);
  BOOL AreTextLabels() const { return m_bTextLabels; }
  void SetRoundRegion();
  void InvalidateChevron();
  void ResetImagesColors();
  CPlxButtonImages* ChooseImages(CPlxButtonImages& shared, CPlxButtonImages& own,
                                 CPlxButtonImages& sharedLarge, CPlxButtonImages& ownLarge);
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount, BOOL bRemapImages = TRUE);
  void SetOwnSizes(SIZE sizeButton, SIZE sizeImage);
  void EnableLargeIcons(BOOL bEnable) { m_bFollowLargeIcons = bEnable; }
  CSize GetButtonSize() const;  // the bar's button size, with the manager's extra border
  CSize GetImageSize() const;
  void RebuildMnemonics();
  void RecalcDelayShow();

  // ---- input ----
  void UpdateButton(int nIndex);
  BOOL SetHot(CPlxToolbarButton* pButton);
  BOOL DropDownMenu(CPlxToolbarButton* pButton);
  BOOL ProcessCommand(CPlxToolbarButton* pButton);
  static void SetMouseHook(BOOL bSet = TRUE);
  static BOOL IsCommandRarelyUsed(UINT uiCmd);

  // ---- persistence ----
  BOOL SaveResetItems(CPlxRegistry& reg);
  BOOL LoadResetItems(CPlxRegistry& reg);
  static BOOL SaveParameters(LPCTSTR lpszProfileName = nullptr);
  static BOOL LoadParameters(LPCTSTR lpszProfileName = nullptr);
  // The reset prompt: asks before the bar goes back to its resource layout.
  LRESULT OnPromptReset(WPARAM, LPARAM);

  // ---- class-wide ----
  static CObList& GetAllToolbars();
  static int GetCommandButtons(UINT uiCmd, CObList& listButtons);
  static void AddBasicCommand(UINT uiCmd);
  static void SetSizes(SIZE sizeButton, SIZE sizeImage);
  static void SetMenuSizes(SIZE sizeButton, SIZE sizeImage);
  static void SetLargeIcons(BOOL bLargeIcons = TRUE);
  static BOOL IsLargeIcons() { return m_bLargeIcons; }
  static void CleanUpImages();
  static CSize GetMenuImageSize();
  static CSize GetMenuButtonSize();
  static COLORREF GetHotTextColor();
  static void SetHotTextColor(COLORREF clr) { m_clrHotText = clr; }
  static void SetMenuImageSize(CSize size) { m_sizeMenuImage = size; }
  static CSize LargeSize(CSize size);
  static void SetUserImages(CPlxButtonImages* pUserImages) { m_pUserImages = pUserImages; }

  // ---- fields, in the toolkit's order ----
  CPlxButtonImages m_ownImages, m_ownColdImages, m_ownDisabledImages, m_ownLargeImages, m_ownLargeColdImages,
      m_ownLargeDisabledImages, m_ownMenuImages, m_ownDisabledMenuImages;
  BOOL m_bLocked = FALSE;
  BOOL m_bFollowLargeIcons = TRUE;
  CPlxBarFramePainter m_Impl;  // non-client borders and gripper
  BOOL m_bNotListed = FALSE;
  BOOL m_bPermanent = FALSE;
  BOOL m_bTextLabels = FALSE;
  BOOL m_bTallRows = FALSE;
  int m_nTallRowHeight = 0;
  CSize m_sizeOwnButton{23, 22};
  CSize m_sizeOwnImage{16, 15};
  CSize m_sizeOwnCurButton{23, 22};
  CSize m_sizeOwnCurImage{16, 15};
  int m_iPressed = -1;
  int m_iHot = -1;
  int m_iSelected = -1;
  int m_iDropped = -1;
  CObList m_lstButtons{10};
  CObList m_lstDefaultButtons{10};
  CObList m_lstResetButtons{10};
  BOOL m_bDefaultsChanged = FALSE;
  int m_iDropIndex = -1;
  CRect m_rectDropMark;
  CPen m_penDrag;
  CPlxToolbarButton* m_pDragButton = nullptr;
  CPoint m_ptDragStart{-1, -1};
  BOOL m_bCtrlDrag = FALSE;
  BOOL m_bStretching = FALSE;
  CRect m_rectStretch;
  int m_iImagesOffset = 0;
  UINT m_uiDefaultResId = 0;
  BOOL m_bMouseTracked = FALSE;
  CPoint m_ptLastMouse{-1, -1};
  BOOL m_bMenuMode = FALSE;
  CWnd* m_pPrevCaptureWnd = nullptr;
  HWND m_hwndPrevFocus = nullptr;
  BOOL m_bDisableControlsNoHandler = TRUE;
  BOOL m_bRouteToFrame = TRUE;
  CMap<UINT, UINT, CPlxToolbarButton*, CPlxToolbarButton*> m_mapMnemonics;
  BOOL m_bDrawBorders = TRUE;
  BOOL m_bGrayDisabled = TRUE;
  BOOL m_bIgnoreSetText = FALSE;
  CCustomizeButton* m_pChevron = nullptr;
  BOOL m_bChevronAddRemove = FALSE;
  int m_iDelayMenuButton = -1;
  BOOL m_bRoundShape = FALSE;

  static CString m_strRegSection;
  static CPlxButtonImages m_sharedImages, m_sharedColdImages, m_sharedDisabledImages, m_sharedLargeImages,
      m_sharedLargeColdImages, m_sharedLargeDisabledImages, m_sharedMenuImages, m_sharedDisabledMenuImages;
  static CPlxButtonImages* m_pUserImages;
  static CSize m_sizeButton, m_sizeImage, m_sizeCurButton, m_sizeCurImage, m_sizeMenuButton, m_sizeMenuImage;
  static CMap<UINT, UINT, int, int> m_mapDefaultImages;
  static CList<UINT, UINT> m_lstBasicCommands;
  static CList<UINT, UINT> m_lstForbiddenCommands;
  static CPlxCommandUsage m_commandUsage;
  // Customize-mode editing: the drag source every button drag shares, each bar's drop target.
  static CPlxToolbarDropSource m_dropSource;
  CPlxToolbarDropTarget m_dropTarget;
  // Switches every toolbar into or out of customize mode; FALSE when it already is so.
  static BOOL SetCustomizeMode(BOOL bSet = TRUE);
  static BOOL m_bCustomizeMode;
  static BOOL m_bAltDragActive;
  static BOOL m_bLargeIcons;
  static BOOL m_bAutoColdImages;
  static int m_nAutoGrayPercent;
  static BOOL m_bAltCustomization;
  static CPlxToolBar* m_pSelToolbar;
  static BOOL m_bShowTooltips;
  static BOOL m_bShowShortcutKeys;
  static COLORREF m_clrHotText;
  static HHOOK m_hMouseHook;
  static CPlxToolBar* m_pLastHookToolbar;
  static double m_dLargeIconScale;

  // The mouse-move handling, also run by the thread's mouse hook for the bar under the cursor.
  void HandleMouseMove(UINT nFlags, CPoint point);

 protected:
  // Reads what SaveState stored ("Buttons", written by Serialize): a bar whose Serialize stores
  // another form reads that form back here. FALSE, or a thrown archive error, leaves the bar as
  // it was.
  virtual BOOL ReadStoredState(CArchive& ar) { return ReadButtonsFrom(ar); }

  // Message handlers.
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTbButtonCount(WPARAM, LPARAM);
  afx_msg LRESULT OnTbGetItemRect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTbGetButton(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTbGetButtonText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnResetPrompt(WPARAM wParam, LPARAM lParam);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnCustomizeCommand(UINT nID);
  DECLARE_MESSAGE_MAP()

  // Customize-mode branches of the mouse handlers: TRUE when the editing took the message.
  BOOL OnEditLButtonDown(UINT nFlags, CPoint point);
  BOOL OnEditMouseMove(CPoint point);
  BOOL OnEditLButtonUp(CPoint point);

  void RemoveButtonAt(POSITION pos);
  void SetHotIndex(int iHot, BOOL bNotify);
  void SendIdleMessage() const;
  CPlxToolbarButton* TakeChevronCopy();
  void PutChevronBack(CPlxToolbarButton* pCopy);
  void CopyResetButtons();
  // The whole "Buttons" form into a temporary list; inside an archived bar a failure is thrown on
  // to the archive, which owns what it made.
  BOOL ReadButtonsFrom(CArchive& ar, BOOL bInsideObject = FALSE);
  void RelayToolTip(MSG* pMsg);
  void UpdateToolTip(CPoint point);
  void HideToolTip();

  CToolTipCtrl* m_pToolTip = nullptr;
  int m_nToolTipId = -1;
  BOOL m_bCreated = FALSE;
};

// The frame hooks a toolbar reaches its frame through.
BOOL PlxFrameButtonToolTip(const CWnd* pWnd, CPlxToolbarButton* pButton, TOOLINFOA* pTI);

// The status bar, whose pane records the visual managers read.
#include "toolkit/bars/PlxStatusBar.h"

// The popup menu bar and the popup menu, which every menu-aware bar reaches.
#include "toolkit/bars/PlxPopupMenuBar.h"
#include "toolkit/bars/PlxMenuBar.h"
