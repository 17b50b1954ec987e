// CMenu over the window layer's menus.
#include "platform/mfc/Menu.h"

#include <memory>
#include <string>

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/Resources.h"

using pictavo::mfc::State;

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() {
  DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
  if (!hMenu) return nullptr;
  auto& map = State().menus;
  if (CMenu* menu = map.FindPermanent(hMenu)) return menu;
  if (CMenu* menu = map.FindTemporary(hMenu)) return menu;
  auto temporary = std::make_unique<CMenu>();
  temporary->m_hMenu = hMenu;
  return map.AddTemporary(hMenu, std::move(temporary));
}

void CMenu::DeleteTempMap() {
  pictavo::mfc::DeleteTempObjects();
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu) return FALSE;
  m_hMenu = hMenu;
  State().menus.SetPermanent(hMenu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU hMenu = m_hMenu;
  if (hMenu) State().menus.RemovePermanent(hMenu, this);
  m_hMenu = nullptr;
  return hMenu;
}

BOOL CMenu::CreateMenu() {
  return Attach(::CreateMenu());
}
BOOL CMenu::CreatePopupMenu() {
  return Attach(::CreatePopupMenu());
}
BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
  return Attach(::LoadMenu(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}
BOOL CMenu::LoadMenu(UINT nIDResource) {
  return LoadMenu(MAKEINTRESOURCE(nIDResource));
}
BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
  return Attach(::LoadMenuIndirect(lpMenuTemplate));
}
BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
  return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
  return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::AppendMenu(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, static_cast<LPCSTR>(pBmp->GetSafeHandle()));
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::InsertMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::InsertMenu(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem,
                      static_cast<LPCSTR>(pBmp->GetSafeHandle()));
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::ModifyMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::ModifyMenu(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem,
                      static_cast<LPCSTR>(pBmp->GetSafeHandle()));
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
  return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}
BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
  return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}
BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
  return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos);
}
UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) {
  return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
}
BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                               const CBitmap* pBmpChecked) {
  return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags,
                              static_cast<HBITMAP>(pBmpUnchecked->GetSafeHandle()),
                              static_cast<HBITMAP>(pBmpChecked->GetSafeHandle()));
}

UINT CMenu::GetMenuItemCount() const {
  return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}
UINT CMenu::GetMenuItemID(int nPos) const {
  return ::GetMenuItemID(m_hMenu, nPos);
}
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
  return ::GetMenuState(m_hMenu, nID, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
  return ::GetMenuString(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  const int length = ::GetMenuString(m_hMenu, nIDItem, nullptr, 0, nFlags);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int got = length > 0 ? ::GetMenuString(m_hMenu, nIDItem, text.data(), length + 1, nFlags) : 0;
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  rString = text;
  return got;
}
BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return ::GetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return ::SetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return ::InsertMenuItem(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}
CMenu* CMenu::GetSubMenu(int nPos) const {
  return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}
BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
  return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd->GetSafeHwnd(), lptpm);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
