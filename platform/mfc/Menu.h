// CMenu: the class library's menu object over the window layer's HMENU. A CMenu destroys the menu
// it holds when destroyed (Detach first to keep it); FromHandle wraps any menu.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Object.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/user/Menu.h"

class CWnd;

class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)

 public:
  CMenu() = default;
  ~CMenu() override;

  HMENU m_hMenu = nullptr;

  operator HMENU() const { return m_hMenu; }  // NOLINT: implicit, as the class library's
  HMENU GetSafeHmenu() const { return pictavo::mfc::IsNullObject(this) ? nullptr : m_hMenu; }
  bool operator==(const CMenu& menu) const { return m_hMenu == menu.m_hMenu; }
  static CMenu* FromHandle(HMENU hMenu);
  static void DeleteTempMap();
  static BOOL IsMenu(HMENU hMenu) { return ::IsMenu(hMenu); }
  BOOL Attach(HMENU hMenu);
  HMENU Detach();

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  BOOL LoadMenu(LPCTSTR lpszResourceName);
  BOOL LoadMenu(UINT nIDResource);
  BOOL LoadMenuIndirect(const void* lpMenuTemplate);
  BOOL DestroyMenu();

  BOOL DeleteMenu(UINT nPosition, UINT nFlags);
  BOOL RemoveMenu(UINT nPosition, UINT nFlags);
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
  UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE);
  BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                          const CBitmap* pBmpChecked);

  UINT GetMenuItemCount() const;
  UINT GetMenuItemID(int nPos) const;
  UINT GetMenuState(UINT nID, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  CMenu* GetSubMenu(int nPos) const;

  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
  BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);

  // Owner-drawn items: called for the menus of the framework's windows.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
};
