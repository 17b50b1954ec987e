// The HMENU model: menus and their items, found by position or by command.
#include "platform/user/MenuModel.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/Metrics.h"

namespace pictavo::user::menu {
namespace {

// Handles start far above the 16-bit command ids and step by 4, never reused while the process
// lives, so a stale handle never names another menu.
constexpr uint32_t kFirstHandle = 0x00A00000;
constexpr uint32_t kHandleStep = 4;

struct Table {
  std::mutex lock;
  std::unordered_map<uint32_t, std::unique_ptr<Menu>> menus;  // guarded by lock
  uint32_t next = kFirstHandle;                               // guarded by lock
};

Table& TheTable() {
  static Table* table = new Table;
  return *table;
}

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MFS_DEFAULT;
constexpr UINT kTypeBits = MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBREAK | MFT_MENUBARBREAK |
                           MFT_RIGHTJUSTIFY | MFT_RADIOCHECK | MFT_RIGHTORDER;

HMENU NewMenuLocked(bool popup) {
  Table& table = TheTable();
  uint32_t value = table.next;
  while (table.menus.count(value) || value < kFirstHandle) value += kHandleStep;
  table.next = value + kHandleStep;
  auto record = std::make_unique<Menu>();
  record->handle = ToHandle(value);
  record->popup = popup;
  table.menus.emplace(value, std::move(record));
  return ToHandle(value);
}

// Destroys a menu and the popups below it; a popup held twice is destroyed once.
void DestroyLocked(HMENU handle, std::unordered_set<uint32_t>& done) {
  if (!done.insert(HandleValue(handle)).second) return;
  Menu* m = FindLocked(handle);
  if (!m) return;
  std::vector<HMENU> popups;
  for (const Item& item : m->items)
    if (item.subMenu) popups.push_back(item.subMenu);
  TheTable().menus.erase(HandleValue(handle));
  for (HMENU popup : popups) DestroyLocked(popup, done);
}

void DestroyLocked(HMENU handle) {
  std::unordered_set<uint32_t> done;
  DestroyLocked(handle, done);
}

// Whether `target` is `from` or a popup somewhere below it.
bool ReachesLocked(HMENU from, HMENU target, std::unordered_set<uint32_t>& seen) {
  if (from == target) return true;
  if (!seen.insert(HandleValue(from)).second) return false;
  const Menu* m = FindLocked(from);
  if (!m) return false;
  for (const Item& item : m->items)
    if (item.subMenu && ReachesLocked(item.subMenu, target, seen)) return true;
  return false;
}

// A popup may go into `menu` unless that would make `menu` one of its own popups.
bool CheckPopupLocked(Menu* menu, HMENU popup) {
  if (!FindLocked(popup)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  std::unordered_set<uint32_t> seen;
  if (ReachesLocked(popup, menu->handle, seen)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

// An item as AppendMenu, InsertMenu and ModifyMenu describe it.
bool ItemFromFlags(Menu* menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem, const Item* old, Item* out) {
  Item item;
  if (old) {
    item.data = old->data;
    item.checkedBitmap = old->checkedBitmap;
    item.uncheckedBitmap = old->uncheckedBitmap;
    item.itemBitmap = old->itemBitmap;
  }
  item.state = flags & kStateBits;
  item.type = flags & (kTypeBits & ~MFT_RIGHTORDER);
  if (flags & MF_POPUP) {
    HMENU popup = reinterpret_cast<HMENU>(idNewItem);
    if (!CheckPopupLocked(menu, popup)) return false;
    item.subMenu = popup;
    item.id = HandleValue(popup);
  } else {
    item.id = static_cast<UINT>(idNewItem);
  }
  if (item.IsOwnerDraw())
    item.data = reinterpret_cast<ULONG_PTR>(newItem);
  else if (item.type & MFT_BITMAP)
    item.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(newItem));
  else if (!item.IsSeparator() && newItem)
    item.text = newItem;
  *out = std::move(item);
  return true;
}

void ClearDefaultLocked(Menu* menu) {
  for (Item& item : menu->items) item.state &= ~static_cast<UINT>(MFS_DEFAULT);
}

void Insert(Menu* menu, size_t position, Item item) {
  if (item.state & MFS_DEFAULT) ClearDefaultLocked(menu);
  position = std::min(position, menu->items.size());
  menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
}

// Where InsertMenu and InsertMenuItem put a new item: before the given one; by position past
// the end (or -1) means at the end.
bool InsertionPointLocked(Menu* menu, UINT item, bool byPosition, Found* where) {
  if (byPosition) {
    where->menu = menu;
    where->position =
        item >= menu->items.size() ? static_cast<int>(menu->items.size()) : static_cast<int>(item);
    return true;
  }
  *where = FindItemLocked(menu, item, MF_BYCOMMAND);
  if (!where->menu) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
  }
  return true;
}

// Copies text into a caller's buffer of `max` bytes, never splitting a character; returns the
// bytes copied.
int CopyText(const std::string& text, LPSTR out, int max) {
  if (!out || max <= 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(max - 1));
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<int>(n);
}

// Applies a MENUITEMINFO to an item, as SetMenuItemInfo and InsertMenuItem do.
bool ApplyInfoLocked(Menu* menu, const MENUITEMINFO& info, Item* item) {
  const UINT mask = info.fMask;
  if ((mask & MIIM_SUBMENU) && info.hSubMenu && !CheckPopupLocked(menu, info.hSubMenu)) return false;
  if (mask & MIIM_TYPE) {
    item->type = info.fType & kTypeBits;
    item->text.clear();
    item->bitmap = nullptr;
    if (item->IsOwnerDraw())
      item->data = reinterpret_cast<ULONG_PTR>(info.dwTypeData);
    else if (item->type & MFT_BITMAP)
      item->bitmap = reinterpret_cast<HBITMAP>(info.dwTypeData);
    else if (!item->IsSeparator() && info.dwTypeData)
      item->text = info.dwTypeData;
  }
  if (mask & MIIM_FTYPE) item->type = info.fType & kTypeBits;
  if (mask & MIIM_STRING) item->text = info.dwTypeData ? info.dwTypeData : "";
  if (mask & MIIM_STATE) {
    if (info.fState & MFS_DEFAULT) ClearDefaultLocked(menu);
    item->state = info.fState & kStateBits;
  }
  if (mask & MIIM_ID) item->id = info.wID;
  if (mask & MIIM_SUBMENU) {
    item->subMenu = info.hSubMenu;
    if (info.hSubMenu && !(mask & MIIM_ID)) item->id = HandleValue(info.hSubMenu);
  }
  if (mask & MIIM_CHECKMARKS) {
    item->checkedBitmap = info.hbmpChecked;
    item->uncheckedBitmap = info.hbmpUnchecked;
  }
  if (mask & MIIM_DATA) item->data = info.dwItemData;
  if ((mask & MIIM_BITMAP) && info.cbSize >= sizeof(MENUITEMINFO)) item->itemBitmap = info.hbmpItem;
  item->measured = false;
  return true;
}

bool ValidInfoSize(UINT size) {
  return size >= offsetof(MENUITEMINFO, hbmpItem) && size <= sizeof(MENUITEMINFO);
}

// The found item, or an error: ERROR_INVALID_MENU_HANDLE or ERROR_MENU_ITEM_NOT_FOUND.
Found LookUp(HMENU handle, UINT item, UINT flags) {
  Menu* menu = GetLocked(handle);
  if (!menu) return {};
  Found found = FindItemLocked(menu, item, flags);
  if (!found.menu) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return found;
}

}  // namespace

UINT Item::Flags() const {
  UINT flags = (type & ~static_cast<UINT>(MFT_RIGHTORDER)) | state;
  if (subMenu) flags |= MF_POPUP;
  return flags;
}

std::mutex& MenuLock() {
  return TheTable().lock;
}

Menu* FindLocked(HMENU handle) {
  if (!handle || reinterpret_cast<uintptr_t>(handle) > UINT32_MAX) return nullptr;
  auto& menus = TheTable().menus;
  const auto it = menus.find(HandleValue(handle));
  return it == menus.end() ? nullptr : it->second.get();
}

Menu* GetLocked(HMENU handle) {
  Menu* m = FindLocked(handle);
  if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

namespace {

Found FindCommandLocked(Menu* menu, UINT id, std::unordered_set<uint32_t>& seen) {
  if (!seen.insert(HandleValue(menu->handle)).second) return {};
  Found fallback;
  for (size_t i = 0; i < menu->items.size(); ++i) {
    const Item& item = menu->items[i];
    if (item.subMenu) {
      if (Menu* sub = FindLocked(item.subMenu)) {
        const Found inner = FindCommandLocked(sub, id, seen);
        if (inner.menu) return inner;
      }
      // A popup item answers to its handle only when nothing inside answers to the number.
      if (item.id == id && !fallback.menu) fallback = Found{menu, static_cast<int>(i)};
    } else if (item.id == id) {
      return Found{menu, static_cast<int>(i)};
    }
  }
  return fallback;
}

}  // namespace

Found FindItemLocked(Menu* menu, UINT item, UINT flags) {
  if (!menu) return {};
  if (flags & MF_BYPOSITION) {
    if (item >= menu->items.size()) return {};
    return Found{menu, static_cast<int>(item)};
  }
  std::unordered_set<uint32_t> seen;
  return FindCommandLocked(menu, item, seen);
}

char32_t MnemonicOf(std::string_view text) {
  const std::string_view label = LabelOf(text);
  for (size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') {
      ++i;
      continue;
    }
    size_t pos = i + 1;
    const char32_t c = unicode::DecodeUtf8(label, pos);
    return c == unicode::kInvalid ? 0 : unicode::FoldCase(c);
  }
  return 0;
}

std::string_view LabelOf(std::string_view text) {
  const size_t tab = text.find('\t');
  return tab == std::string_view::npos ? text : text.substr(0, tab);
}

std::string_view ShortcutOf(std::string_view text) {
  const size_t tab = text.find('\t');
  return tab == std::string_view::npos ? std::string_view() : text.substr(tab + 1);
}

}  // namespace pictavo::user::menu

using namespace pictavo::user::menu;

HMENU CreateMenu() {
  std::lock_guard lock(MenuLock());
  return NewMenuLocked(false);
}

HMENU CreatePopupMenu() {
  std::lock_guard lock(MenuLock());
  return NewMenuLocked(true);
}

BOOL DestroyMenu(HMENU menu) {
  std::lock_guard lock(MenuLock());
  if (!GetLocked(menu)) return FALSE;
  DestroyLocked(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  std::lock_guard lock(MenuLock());
  return FindLocked(menu) ? TRUE : FALSE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  std::lock_guard lock(MenuLock());
  Menu* m = GetLocked(menu);
  Item item;
  if (!m || !ItemFromFlags(m, flags, idNewItem, newItem, nullptr, &item)) return FALSE;
  Insert(m, m->items.size(), std::move(item));
  return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  std::lock_guard lock(MenuLock());
  Menu* m = GetLocked(menu);
  Found where;
  if (!m || !InsertionPointLocked(m, position, (flags & MF_BYPOSITION) != 0, &where)) return FALSE;
  Item item;
  if (!ItemFromFlags(where.menu, flags, idNewItem, newItem, nullptr, &item)) return FALSE;
  Insert(where.menu, static_cast<size_t>(where.position), std::move(item));
  return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, position, flags);
  if (!found.menu) return FALSE;
  Item* old = found.item();
  Item item;
  if (!ItemFromFlags(found.menu, flags, idNewItem, newItem, old, &item)) return FALSE;
  item.rect = old->rect;
  const HMENU oldPopup = old->subMenu;
  if (item.state & MFS_DEFAULT) ClearDefaultLocked(found.menu);
  *found.item() = std::move(item);
  if (oldPopup && oldPopup != found.item()->subMenu) DestroyLocked(oldPopup);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, position, flags);
  if (!found.menu) return FALSE;
  found.menu->items.erase(found.menu->items.begin() + found.position);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, position, flags);
  if (!found.menu) return FALSE;
  const HMENU popup = found.item()->subMenu;
  found.menu->items.erase(found.menu->items.begin() + found.position);
  if (popup) DestroyLocked(popup);
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  std::lock_guard lock(MenuLock());
  const Menu* m = GetLocked(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  std::lock_guard lock(MenuLock());
  const Menu* m = GetLocked(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
  const Item& item = m->items[static_cast<size_t>(position)];
  return item.subMenu ? static_cast<UINT>(-1) : item.id;
}

int GetMenuString(HMENU menu, UINT item, LPSTR text, int maxCount, UINT flags) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, item, flags);
  if (text && maxCount > 0) text[0] = '\0';
  if (!found.menu) return 0;
  const Item* it = found.item();
  if (it->IsOwnerDraw() || (it->type & MFT_BITMAP) || it->IsSeparator()) return 0;
  if (!text || maxCount <= 0) return static_cast<int>(it->text.size());
  return CopyText(it->text, text, maxCount);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, item, flags);
  if (!found.menu) return static_cast<UINT>(-1);
  const Item* it = found.item();
  if (it->subMenu) {
    const Menu* popup = FindLocked(it->subMenu);
    const UINT count = popup ? static_cast<UINT>(std::min<size_t>(popup->items.size(), 0xFF)) : 0;
    return (count << 8) | (it->Flags() & 0xFF);
  }
  return it->Flags();
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info) {
  if (!info || !ValidInfoSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!found.menu) return FALSE;
  const Item& it = *found.item();
  const UINT mask = info->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it.type;
  if (mask & MIIM_STATE) info->fState = it.state;
  if (mask & MIIM_ID) info->wID = it.id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = it.subMenu;
  if (mask & MIIM_CHECKMARKS) {
    info->hbmpChecked = it.checkedBitmap;
    info->hbmpUnchecked = it.uncheckedBitmap;
  }
  if (mask & MIIM_DATA) info->dwItemData = it.data;
  if ((mask & MIIM_BITMAP) && info->cbSize >= sizeof(MENUITEMINFO)) info->hbmpItem = it.itemBitmap;
  const bool textual = !it.IsOwnerDraw() && !(it.type & MFT_BITMAP) && !it.IsSeparator();
  if ((mask & MIIM_TYPE) && !textual) {
    // The legacy form hands back what the item was given instead of a text.
    info->dwTypeData = it.IsOwnerDraw()         ? reinterpret_cast<LPSTR>(it.data)
                       : (it.type & MFT_BITMAP) ? reinterpret_cast<LPSTR>(it.bitmap)
                                                : info->dwTypeData;
    info->cch = 0;
  } else if (mask & (MIIM_TYPE | MIIM_STRING)) {
    const std::string& text = textual ? it.text : std::string();
    if (!info->dwTypeData || info->cch == 0)
      info->cch = static_cast<UINT>(text.size());
    else
      info->cch = static_cast<UINT>(CopyText(text, info->dwTypeData, static_cast<int>(info->cch)));
  }
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
  if (!info || !ValidInfoSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!found.menu) return FALSE;
  Item changed = *found.item();
  if (!ApplyInfoLocked(found.menu, *info, &changed)) return FALSE;
  *found.item() = std::move(changed);
  return TRUE;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info) {
  if (!info || !ValidInfoSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(MenuLock());
  Menu* m = GetLocked(menu);
  Found where;
  if (!m || !InsertionPointLocked(m, item, byPosition != FALSE, &where)) return FALSE;
  Item created;
  if (!ApplyInfoLocked(where.menu, *info, &created)) return FALSE;
  Insert(where.menu, static_cast<size_t>(where.position), std::move(created));
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, item, check);
  if (!found.menu) return static_cast<DWORD>(-1);
  Item* it = found.item();
  const DWORD previous = it->state & MF_CHECKED;
  it->state = (it->state & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
  return previous;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  std::lock_guard lock(MenuLock());
  const Found checked = LookUp(menu, check, flags);
  if (!checked.menu) return FALSE;
  Menu* m = checked.menu;
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item& it = m->items[i];
    const UINT key = (flags & MF_BYPOSITION) ? static_cast<UINT>(i) : it.id;
    if (key < first || key > last || it.subMenu || it.IsSeparator()) continue;
    if (static_cast<int>(i) == checked.position) {
      it.state |= MF_CHECKED;
      it.type |= MFT_RADIOCHECK;
    } else {
      it.state &= ~static_cast<UINT>(MF_CHECKED);
    }
  }
  return TRUE;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, item, enable);
  if (!found.menu) return -1;
  Item* it = found.item();
  constexpr UINT kBits = MF_GRAYED | MF_DISABLED;
  const BOOL previous = static_cast<BOOL>(it->state & kBits);
  it->state = (it->state & ~kBits) | (enable & kBits);
  return previous;
}

HMENU GetSubMenu(HMENU menu, int position) {
  std::lock_guard lock(MenuLock());
  const Menu* m = GetLocked(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return nullptr;
  return m->items[static_cast<size_t>(position)].subMenu;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  std::lock_guard lock(MenuLock());
  Menu* m = GetLocked(menu);
  if (!m) return FALSE;
  if (item == static_cast<UINT>(-1)) {
    ClearDefaultLocked(m);
    return TRUE;
  }
  // The default belongs to this menu's own items, never to one of a popup below it.
  for (size_t i = 0; i < m->items.size(); ++i) {
    const bool match = byPosition ? i == item : m->items[i].id == item;
    if (!match) continue;
    ClearDefaultLocked(m);
    m->items[i].state |= MFS_DEFAULT;
    return TRUE;
  }
  SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return FALSE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags) {
  std::lock_guard lock(MenuLock());
  Menu* m = GetLocked(menu);
  std::unordered_set<uint32_t> seen;
  UINT result = static_cast<UINT>(-1);
  while (m && seen.insert(HandleValue(m->handle)).second) {
    const auto it = std::find_if(m->items.begin(), m->items.end(),
                                 [](const Item& item) { return (item.state & MFS_DEFAULT) != 0; });
    if (it == m->items.end()) break;
    if (it->IsDisabled() && !(flags & GMDI_USEDISABLED)) break;
    result = byPosition ? static_cast<UINT>(it - m->items.begin()) : it->id;
    if (!(flags & GMDI_GOINTOPOPUPS) || !it->subMenu) break;
    m = FindLocked(it->subMenu);
  }
  return result;
}

BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
  std::lock_guard lock(MenuLock());
  const Found found = LookUp(menu, position, flags);
  if (!found.menu) return FALSE;
  found.item()->uncheckedBitmap = unchecked;
  found.item()->checkedBitmap = checked;
  return TRUE;
}

LONG GetMenuCheckMarkDimensions() {
  return MAKELONG(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
}
