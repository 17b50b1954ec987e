// Menus in the current language: commands by their id, popups by the id of the first command
// reached through their first items ("<id>p", then "<id>p1"; "0p0" for a popup that leads to
// no item).

#include "platform/user/Menu.h"
#include "shell/LanguageFile.h"

namespace {

MenuTextOwnerFinder g_findOwner = nullptr;  // UI thread only

struct PopupKey {
  UINT id = 0;
  int found = 0;
};

// Follows the first item of the popup down through nested popups to a command or separator.
PopupKey KeyOfPopup(HMENU hPopup) {
  HMENU menu = hPopup;
  for (int depth = 0; menu != nullptr && depth < 64; ++depth) {
    if (GetMenuItemCount(menu) <= 0) return {};
    if (HMENU next = GetSubMenu(menu, 0)) {
      menu = next;
      continue;
    }
    const UINT id = GetMenuItemID(menu, 0);
    return {id == static_cast<UINT>(-1) ? 0u : id, 1};
  }
  return {};
}

CString MenuText(LPCTSTR lpszKeyFormat, UINT id, int found = 0) {
  CString key;
  key.Format(lpszKeyFormat, static_cast<int>(id), found);
  return ReadLangValue("MENU", key);
}

// Replaces only the text: the item keeps its id, popup, state and check mark.
void SetItemText(HMENU hMenu, UINT nPosition, const CString& text, bool topLevel) {
  if (!topLevel && g_findOwner != nullptr) {
    if (CMenuTextOwner* owner = g_findOwner(hMenu)) {
      owner->SetTranslatedMenuText(hMenu, nPosition, text);
      return;
    }
  }
  MENUITEMINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<LPSTR>(text.GetString());
  SetMenuItemInfo(hMenu, nPosition, TRUE, &info);
}

void TranslateLevel(HMENU hMenu, bool topLevel) {
  const int count = GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    const UINT position = static_cast<UINT>(i);
    if (HMENU popup = GetSubMenu(hMenu, i)) {
      const PopupKey key = KeyOfPopup(popup);
      CString text;
      if (key.found) {
        text = MenuText("%dp", key.id);
        if (text.IsEmpty()) text = MenuText("%dp%d", key.id, 1);
      } else {
        text = MenuText("%dp%d", 0, 0);
      }
      if (!text.IsEmpty()) SetItemText(hMenu, position, text, topLevel);
      TranslateLevel(popup, false);
      continue;
    }
    const CString text = MenuText("%d", GetMenuItemID(hMenu, i));
    if (!text.IsEmpty()) SetItemText(hMenu, position, text, topLevel);
  }
}

}  // namespace

void SetMenuTextOwnerFinder(MenuTextOwnerFinder finder) {
  g_findOwner = finder;
}

void TranslateMenu(HMENU hMenu, int nUnused) {
  if (hMenu == nullptr || !IsMenu(hMenu)) return;
  TranslateLevel(hMenu, true);
}
