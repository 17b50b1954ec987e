// CPlxContextMenuManager: shows the application's context menus as toolkit popup menus, either
// without waiting (the chosen command goes to the owner as usual) or in a modal tracking loop
// that returns the chosen command. It keeps the menus by resource id and by name (the menu
// customize page lists and edits them) and loads and saves the user's edits of them under
// "PlxContextMenuManager". One per application; UI thread only.
#pragma once

#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "platform/base/Object.h"
#include "platform/user/Menu.h"

class CPlxPopupMenu;
class CWnd;

class CPlxContextMenuManager : public CObject {
 public:
  // Becomes the process's manager (g_pContextMenuManager) until destroyed.
  CPlxContextMenuManager();
  // Destroys every menu it keeps.
  ~CPlxContextMenuManager() override;

  // Loads the menu resource and keeps it under its id and name; FALSE when the resource does
  // not load, the menu has no sub-menu 0, or the id or name is taken already.
  BOOL AddMenu(LPCTSTR lpszName, UINT uiMenuResId);
  // The same with the name taken from the string table.
  BOOL AddMenu(UINT uiMenuNameResId, UINT uiMenuResId);

  // Shows sub-menu 0 of a kept menu; x = y = -1 places it 5 pixels inside the owner's client
  // top-left. TRUE when a popup opened.
  virtual BOOL ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage = FALSE,
                             BOOL bRightAlign = FALSE);
  // Shows a popup of the menu handle: the popup, or null.
  virtual CPlxPopupMenu* ShowPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner,
                                       BOOL bOwnMessage = FALSE, BOOL bAutoDestroy = TRUE,
                                       BOOL bRightAlign = FALSE);
  // Runs the popup modally: the chosen command, 0 when none (Escape, an outside click, WM_QUIT).
  virtual UINT TrackPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner, BOOL bRightAlign = FALSE);

  void GetMenuNames(CStringList& listOfNames) const;
  // The kept menu of that name, null when none; *puiOrigResID its id (0 when it has none), left
  // untouched when no menu has the name.
  HMENU GetMenuByName(LPCTSTR lpszName, UINT* puiOrigResID = nullptr) const;

  virtual BOOL LoadState(LPCTSTR lpszProfileName = nullptr);
  virtual BOOL SaveState(LPCTSTR lpszProfileName = nullptr);

 protected:
  CMap<UINT, UINT, HMENU, HMENU> m_Menus;            // by resource id; owned
  CMap<CString, LPCTSTR, HMENU, HMENU> m_MenuNames;  // the same menus by name

 public:
  UINT m_nLastCommand = 0;  // the command chosen in the last tracked menu
  BOOL m_bTrackMode = FALSE;
};

extern CPlxContextMenuManager* g_pContextMenuManager;
