// CPlxFrameCore: what every toolkit frame kind shares, embedded by value in each of them. It links
// the frame to its menu bar, owns the user-defined toolbars and the bars torn off menus, keeps the
// toolkit's popup menus modal-like by pre-translating keys and clicks, stores the tear-off bars
// and the main window placement through the workspace, and fills a chevron's quick-customize menu.
//
//   PlxFrameCore.cpp          construction, menu bar, placement, user and tear-off bars, dock state
//   PlxFrameCoreInput.cpp     keys, mnemonics, clicks, moves, popup opening, quick-customize menu
#pragma once

#include "platform/base/CString.h"
#include "platform/base/List.h"
#include "platform/mfc/FrameWnd.h"

class CDockState;
class CPlxMenuBar;
class CPlxPopupMenu;
class CPlxToolBar;
class CPlxWorkspace;

class CPlxFrameCore {
 public:
  explicit CPlxFrameCore(CFrameWnd* pFrame);
  // Deletes the owned bar objects (user toolbars first); their windows went with the frame.
  virtual ~CPlxFrameCore();
  CPlxFrameCore(const CPlxFrameCore&) = delete;
  CPlxFrameCore& operator=(const CPlxFrameCore&) = delete;

  // ---- frame life ----
  // The stored placement of the main window moved onto the nearest work area (SDI and MDI frames'
  // PreCreateWindow).
  void RestorePosition(CREATESTRUCT& cs);
  // After a successful LoadFrame: the workspace loads the whole toolkit state for this frame.
  void OnLoadFrame();
  // Before the frame closes: hidden tear-off bars go, the state and the placement are stored.
  void OnCloseFrame();
  // The menu bar created in this frame takes over the frame's Windows menu.
  void SetMenuBar(CPlxMenuBar* pMenuBar);
  CPlxMenuBar* GetMenuBar() const { return m_pMenuBar; }
  HMENU GetDefaultMenu() const { return m_hDefaultMenu; }
  void SetDefaultMenu(HMENU hMenu) { m_hDefaultMenu = hMenu; }
  // The frame lost activation while a popup was open: the menu bar lets go of its buttons.
  void DeactivateMenu();

  // ---- user-defined toolbars and tear-off bars ----
  // The control ids [first, last] are bars the user makes; FALSE for an empty or unset range.
  BOOL EnableUserDefinedToolbars(UINT uiFirst, UINT uiLast);
  BOOL IsUserDefinedToolbar(const CControlBar* pBar) const;
  // The smallest id of [first, last] no bar of the list has; 0 when none is free or unset.
  static UINT GetFreeCtrlBarID(UINT uiFirstID, UINT uiLastID, const CObList& lstCtrlBars);
  void LoadUserToolbars();
  // FALSE when a bar's state did not reach the registry.
  BOOL SaveUserToolbars(BOOL bFrameBarsOnly);
  // PlxTOOLBAR_CREATE: a new floating user toolbar of that name, or null (range full).
  CPlxToolBar* CreateNewToolBar(LPCTSTR lpszName);
  // PlxTOOLBAR_DELETE: FALSE for a bar that is not one of the user's.
  BOOL DeleteToolBar(CPlxToolBar* pBar);
  void AddTearOffToolbar(CControlBar* pToolBar);
  void RemoveTearOffToolbar(CControlBar* pToolBar);
  // Rebuilds the tear-off list from "ControlBars-TearOff-<n>", n counting from 0.
  void LoadTearOffMenus();
  // Writes the tear-off bars as keys 0, 1, 2... with no gap; FALSE when a write failed.
  BOOL SaveTearOffMenus(BOOL bFrameBarsOnly);
  const CObList& GetUserToolbars() const { return m_listUserDefinedToolbars; }
  const CObList& GetTearOffToolbars() const { return m_listTearOffToolbars; }

  // ---- docking state ----
  // FALSE when a docked entry names a bar the frame does not have.
  BOOL IsDockStateValid(const CDockState& state);
  void SetDockState(const CDockState& state);

  // ---- message routing ----
  BOOL ProcessKeyboard(int nKey, BOOL* pbProcessAccel = nullptr);  // TRUE: key consumed
  BOOL ProcessMouseClick(UINT uiMsg, POINT ptScreen, HWND hwnd);   // TRUE: click consumed
  BOOL ProcessMouseMove(POINT ptScreen);                           // TRUE: move consumed
  BOOL OnMenuChar(UINT nChar);                                     // TRUE: a bar took the mnemonic
  // F1 pressed now (not repeated) with Shift, Ctrl and Alt up.
  static BOOL IsHelpKey(const MSG* pMsg);
  // A popup opens: it becomes the active one and the docked bar that opened it gets the focus.
  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu, CFrameWnd* pFrame);

  // ---- quick-customize menu (a chevron's add-or-remove list) ----
  static BOOL IsQuickCustomizeMenu(CPlxPopupMenu* pMenu);
  BOOL ShowQuickCustomizeMenu(CPlxPopupMenu* pMenu);
  // The frame's hook of whichever toolkit kind it is; FALSE for any other frame.
  BOOL OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId);
  // The default body of the frames' OnShowCustomizePane: the bar's resource buttons it hides.
  BOOL AddHiddenToolbarButtons(CPlxPopupMenu* pMenu, UINT uiToolbarResId);

  // ---- fields, in the toolkit's order ----
  UINT m_uiUserToolbarFirst = (UINT)-1;
  UINT m_uiUserToolbarLast = (UINT)-1;
  CObList m_listUserDefinedToolbars{10};  // CPlxToolBar*, owned
  CObList m_listTearOffToolbars{10};      // CControlBar*, owned
  CString m_strControlBarRegEntry;        // profile name of the toolbars' own state
  CPlxMenuBar* m_pMenuBar = nullptr;
  HMENU m_hDefaultMenu = nullptr;
  CFrameWnd* m_pFrame;
  UINT m_uiDefaultMenuResId = 0;
  // Another key went down while Alt was held: its release is not an Alt of its own.
  BOOL m_bAltWithKey = FALSE;
};

// The toolbar the running quick-customize menu edits (null when none is open).
CPlxToolBar* PlxQuickCustomizeToolbar();
