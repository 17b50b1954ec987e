// CPlxMenuBar: a frame's Windows menu as a toolbar. Top-level pop-ups become menu buttons, plain
// commands plain buttons. The bar keeps one button set per menu handle (the frame's own menu and
// each document template's shared menu) in the menu store, shows the maximized MDI child's icon
// and window buttons, and saves its customized contents per menu.
//
//   PlxMenuBar.cpp        menus, the maximized child, reset and persistence
//   PlxMenuBarInput.cpp   layout across the dock row, keys, mouse, the drag hook
#pragma once

#include <vector>

#include "platform/user/Hooks.h"
#include "toolkit/bars/PlxToolBar.h"

// The menu bar's control id.
#ifndef AFX_IDW_MENUBAR
#define AFX_IDW_MENUBAR 0xE81A
#endif

class CMDIFrameWnd;
class CMultiDocTemplate;
class CPlxMenuPage;

class CPlxMenuBar : public CPlxToolBar {
  DECLARE_SERIAL(CPlxMenuBar)

 public:
  CPlxMenuBar();
  ~CPlxMenuBar() override;

  // ---- overrides, in the toolbar's slot order ----
  int OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
              UINT nID = AFX_IDW_MENUBAR) override;
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0x800,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(1, 1, 1, 1),
                UINT nID = AFX_IDW_MENUBAR) override;
  using CPlxToolBar::CreateEx;
  void OnGlobalFontsChanged() override;
  int GetRowHeight() const override;
  int GetColumnWidth() const override;
  BOOL IsButtonExtraSizeAvailable() const override { return FALSE; }
  BOOL AllowChangeTextLabels() const override { return FALSE; }
  BOOL LoadState(LPCTSTR lpszProfileName = nullptr, int nIndex = -1, UINT uiID = (UINT)-1) override;
  BOOL SaveState(LPCTSTR lpszProfileName = nullptr, int nIndex = -1, UINT uiID = (UINT)-1) override;
  BOOL CanBeRestored() const override { return TRUE; }
  BOOL CanBeClosed() const override { return FALSE; }
  BOOL RestoreOriginalState() override;
  BOOL OnSetDefaultButtonText(CPlxToolbarButton* pButton) override;
  void OnChangeHot(int iHot) override;
  CSize CalcLayout(DWORD dwMode, int nLength = -1) override;
  int FindDropIndex(const CPoint point, CRect& rectDrag) const override;
  void AdjustLocations() override;
  BOOL OnSendCommand(const CPlxToolbarButton* pButton) override;
  BOOL IsPureMenuButton(CPlxToolbarButton* pButton) const override;
  int CalcMaxButtonHeight() override;

  // ---- new virtual operations ----
  // Shows the buttons of hMenu: from the store when it holds them, else built from the menu.
  // FALSE when the current buttons could not be stored (the bar then stays as it was).
  virtual BOOL CreateFromMenu(HMENU hMenu, BOOL bDefaultMenu = FALSE, BOOL bForceUpdate = FALSE);
  // Called with the frame's own menu just before the bar shows it.
  virtual void OnSetDefaultMenu(HMENU) {}

  // ---- the maximized child ----
  virtual void SetMaximizedChild(BOOL bMaximized, CWnd* pChild = nullptr, BOOL bRecalcLayout = TRUE);
  void RestoreMaximizedChild();

  // ---- menus ----
  void SetDefaultMenuResId(UINT uiResId) { m_uiDefaultMenuResId = uiResId; }
  BOOL LoadDefaultItemsFromMenu(UINT uiMenuResId);
  HMENU GetMenu() const { return m_hMenu; }
  HMENU GetHMenu() const { return m_hMenu; }
  HMENU GetDefaultMenu() const { return m_hDefaultMenu; }
  static void UpdateMDIChildrenMenus(CMultiDocTemplate* pTemplate);
  static BOOL FindMenuItemText(HMENU hMenu, UINT nID, CString& strText);
  static CFont* GetMenuFont(BOOL bHorz);

  // ---- layout, keys, mouse ----
  void CalcSysButtonSize();
  void SetDragHook(BOOL bSet);
  // The side a floating bar's popup opens on (1 below, 2 above, 3 right, 4 left; -1 none).
  int GetFloatPopupDirection(CPlxToolbarButton* pButton);
  static void SetShowAllCommands(BOOL bShowAllCommands = TRUE) { m_bShowAllCommands = bShowAllCommands; }
  static void SetRecentlyUsedMenus(BOOL bOn = TRUE) { m_bRecentlyUsedMenus = bOn; }
  // The number of buttons the arrow keys move over (the child's window buttons excluded).
  int GetOrdinaryCount() const { return GetCount() - (m_bMaximizedChild ? m_nSysButtons : 0); }

  // ---- fields, in the toolkit's order ----
  BOOL m_bDocumentMenus = TRUE;
  CWnd* m_pParentWnd = nullptr;  // not owned
  BOOL m_bMaximizedChild = FALSE;
  HMENU m_hMenu = nullptr;
  HMENU m_hDefaultMenu = nullptr;   // owned: the frame gave it up
  HMENU m_hChildSysMenu = nullptr;  // not owned
  HICON m_hChildIcon = nullptr;     // not owned
  UINT m_uiDefaultMenuResId = 0;
  int m_nSysButtons = 0;
  int m_nSavedSysButtons = 0;
  BOOL m_bHasImages = FALSE;
  CSize m_sizeSysButton{16, 14};
  CPlxMenuPage* m_pMenuPage = nullptr;  // not owned

  static CString m_strMenuSection;
  static BOOL m_bMenuShadows;             // popup menus and dropped menu-bar buttons cast shadows
  static BOOL m_bRecentlyUsedMenus;       // menus show the recently used commands first
  static BOOL m_bShowAllMenusAfterDelay;  // a short menu shows all its items after a delay
  static BOOL m_bShowAllCommands;         // the show-all state popups share (not stored)
  static HHOOK m_hDragHook;
  static CPlxMenuBar* m_pHookedMenuBar;

  // The drag hook's work on a mouse release: snaps the dragged bar to the work area's top or left.
  static void OnDragRelease();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  DECLARE_MESSAGE_MAP()

  // The buttons of one menu through the store, with the bar restored from memory when the store
  // fails: the bar never shows another menu's buttons.
  BOOL StoreCurrent();
  BOOL LoadFromStore(HMENU hMenu, BOOL bRedraw);
  // Builds the buttons from the menu's items (the store held none).
  void BuildFromMenu(HMENU hMenu);
  // Adds the system-menu button and the window buttons of pChild (its style, m_hChildSysMenu).
  void AddChildButtons(CWnd* pChild);
  // The buttons in memory, to put back when a store step fails.
  std::vector<BYTE> Snapshot();
  void RestoreSnapshot(const std::vector<BYTE>& snapshot);
  // Recalculates the parent frame's layout and redraws the bar at once.
  void RecalcAndRedraw();
  // Makes the first item of the menu just dropped from the keyboard the hot one.
  void SelectFirstItem();
  CWnd* GetOwnerOrParent() const;
  // The MDI frame the bar sits in, null for other frames.
  CMDIFrameWnd* GetMDIFrame() const;

  static LRESULT CALLBACK DragHookProc(int nCode, WPARAM wParam, LPARAM lParam);
};
