// Accelerator tables and their translation into commands.
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/VirtualKeys.h"
#include "platform/res/Templates.h"
#include "platform/user/Accel.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "platform/user/MenuModel.h"
#include "platform/user/Window.h"

namespace {

// Handles far from the menus' and never reused, so a stale handle names no other table.
constexpr uint32_t kFirstHandle = 0x00B00000;
constexpr uint32_t kHandleStep = 4;

struct Tables {
  std::mutex lock;
  std::unordered_map<uint32_t, std::vector<ACCEL>> tables;  // guarded by lock
  uint32_t next = kFirstHandle;                             // guarded by lock
};

Tables& TheTables() {
  static Tables* tables = new Tables;
  return *tables;
}

uint32_t ValueOf(HACCEL table) {
  const auto value = reinterpret_cast<uintptr_t>(table);
  return value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

std::optional<std::vector<ACCEL>> EntriesOf(HACCEL table) {
  Tables& t = TheTables();
  std::lock_guard lock(t.lock);
  const auto it = t.tables.find(ValueOf(table));
  if (it == t.tables.end()) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return std::nullopt;
  }
  return it->second;
}

bool KeyDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// Where a command sits in a window's menu: the popup holding it (null for an item of the bar
// itself), that popup's position in its parent, and the item's own position.
struct MenuPlace {
  HMENU holder = nullptr;
  HMENU popup = nullptr;
  int popupIndex = 0;
  int position = -1;
};

bool FindPlaceLocked(HMENU menu, UINT command, HMENU parentPopup, int parentIndex, int depth,
                     MenuPlace* out) {
  using pictavo::user::menu::FindLocked;
  const pictavo::user::menu::Menu* m = FindLocked(menu);
  if (!m || depth > 32) return false;
  for (size_t i = 0; i < m->items.size(); ++i) {
    const pictavo::user::menu::Item& item = m->items[i];
    if (item.subMenu) {
      if (FindPlaceLocked(item.subMenu, command, item.subMenu, static_cast<int>(i), depth + 1, out))
        return true;
    } else if (item.id == command && !item.IsSeparator()) {
      *out = MenuPlace{menu, parentPopup, parentIndex, static_cast<int>(i)};
      return true;
    }
  }
  return false;
}

std::optional<MenuPlace> FindPlace(HMENU menu, UINT command) {
  std::lock_guard lock(pictavo::user::menu::MenuLock());
  MenuPlace place;
  if (!FindPlaceLocked(menu, command, nullptr, 0, 0, &place)) return std::nullopt;
  return place;
}

// The command of a matched accelerator: the window's menu hears of it first, as if the user
// opened the menu holding it, and a disabled item sends nothing.
void Execute(HWND hwnd, WORD command) {
  HMENU menu = GetMenu(hwnd);
  if (menu && IsMenu(menu) && !IsIconic(hwnd) && !GetCapture()) {
    if (const auto place = FindPlace(menu, command)) {
      SendMessage(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
      if (place->popup && IsWindow(hwnd))
        SendMessage(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(place->popup),
                    MAKELPARAM(place->popupIndex, FALSE));
      if (!IsWindow(hwnd)) return;
      // The owner may have changed the menu meanwhile: the item is looked up again.
      const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
      if (state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED))) return;
    }
  }
  SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
}

}  // namespace

HACCEL CreateAcceleratorTable(LPACCEL entries, int count) {
  if (!entries || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Tables& t = TheTables();
  std::lock_guard lock(t.lock);
  uint32_t value = t.next;
  while (t.tables.count(value) || value < kFirstHandle) value += kHandleStep;
  t.next = value + kHandleStep;
  t.tables.emplace(value, std::vector<ACCEL>(entries, entries + count));
  return reinterpret_cast<HACCEL>(static_cast<uintptr_t>(value));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  Tables& t = TheTables();
  std::lock_guard lock(t.lock);
  if (!t.tables.erase(ValueOf(table))) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int CopyAcceleratorTable(HACCEL table, LPACCEL entries, int count) {
  const auto found = EntriesOf(table);
  if (!found) return 0;
  if (!entries) return static_cast<int>(found->size());
  const int copied = std::max(0, std::min(count, static_cast<int>(found->size())));
  std::copy(found->begin(), found->begin() + copied, entries);
  return copied;
}

HACCEL LoadAccelerators(HINSTANCE instance, LPCSTR name) {
  const pictavo::res::AcceleratorTable* found = pictavo::res::FindAccelerators(instance, name);
  if (!found) return nullptr;
  std::vector<ACCEL> entries;
  for (const pictavo::res::Accelerator& entry : found->entries)
    entries.push_back(ACCEL{entry.flags, entry.key, entry.command});
  if (entries.empty()) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return CreateAcceleratorTable(entries.data(), static_cast<int>(entries.size()));
}

int TranslateAccelerator(HWND hwnd, HACCEL table, LPMSG msg) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto entries = EntriesOf(table);
  if (!entries) return 0;
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const UINT message = msg->message;
  const bool key = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const bool character = message == WM_CHAR || message == WM_SYSCHAR;
  if (!key && !character) return 0;
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  const bool alt =
      KeyDown(VK_MENU) || ((message == WM_SYSKEYDOWN || message == WM_SYSCHAR) && (msg->lParam & (1 << 29)));
  for (const ACCEL& entry : *entries) {
    if (entry.fVirt & FVIRTKEY) {
      if (!key || entry.key != msg->wParam) continue;
      if (((entry.fVirt & FSHIFT) != 0) != shift || ((entry.fVirt & FCONTROL) != 0) != control ||
          ((entry.fVirt & FALT) != 0) != alt)
        continue;
    } else {
      // A character already carries Shift and Ctrl; only Alt tells entries apart.
      if (!character || entry.key != msg->wParam || ((entry.fVirt & FALT) != 0) != alt) continue;
    }
    Execute(hwnd, entry.cmd);
    return 1;
  }
  return 0;
}
