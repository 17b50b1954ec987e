// Internal: the menu records behind HMENU values. Every field is guarded by MenuLock(); no
// message is sent and no window procedure runs with it held, so code that sends a message looks
// the menu up again afterwards (the owner may have changed or destroyed it meanwhile).
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/user/Menu.h"

namespace pictavo::user::menu {

struct Item {
  UINT type = MFT_STRING;  // MFT_* bits
  UINT state = 0;          // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MFS_DEFAULT
  UINT id = 0;             // a popup item's is its popup's handle
  HMENU subMenu = nullptr;
  HBITMAP checkedBitmap = nullptr;
  HBITMAP uncheckedBitmap = nullptr;
  ULONG_PTR data = 0;        // MIIM_DATA, and the value an MF_OWNERDRAW item was given
  std::string text;          // string items only
  HBITMAP bitmap = nullptr;  // the picture of an MFT_BITMAP item
  HBITMAP itemBitmap = nullptr;

  // Layout: the item's rectangle in its popup's client area, or in bar coordinates (from the
  // top-left corner of the menu bar) for a menu bar.
  RECT rect{};
  bool measured = false;  // the owner answered WM_MEASUREITEM since the item last changed
  SIZE ownerSize{};

  bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
  bool IsOwnerDraw() const { return (type & MFT_OWNERDRAW) != 0; }
  bool IsDisabled() const { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }
  // What the platform reports as the item's MF_ flags (GetMenuState without the popup count).
  UINT Flags() const;
};

struct Menu {
  HMENU handle = nullptr;
  bool popup = false;
  std::vector<Item> items;

  HWND popupWindow = nullptr;  // the popup window showing it while it is open
  HWND barWindow = nullptr;    // the window whose menu bar it is
  SIZE size{};                 // the laid-out size (client size of a popup, size of a bar)
  int barWidth = -1;           // the width the bar was laid out for
  int hot = -1;                // the highlighted bar item
  bool pressed = false;        // the hot bar item's popup is open
};

std::mutex& MenuLock();

// The record behind a handle, or null.
Menu* FindLocked(HMENU handle);
// As FindLocked, setting ERROR_INVALID_MENU_HANDLE when there is none.
Menu* GetLocked(HMENU handle);

// An item by position or, with MF_BYCOMMAND, by command searched depth first through popups.
struct Found {
  Menu* menu = nullptr;
  int position = -1;
  Item* item() const { return menu ? &menu->items[static_cast<size_t>(position)] : nullptr; }
};
Found FindItemLocked(Menu* menu, UINT item, UINT flags);

// The mnemonic of an item text: the character after a single "&", case-folded; 0 when there
// is none.
char32_t MnemonicOf(std::string_view text);

// The label and the shortcut text (after the first tab).
std::string_view LabelOf(std::string_view text);
std::string_view ShortcutOf(std::string_view text);

// HMENU values are numbers far above command ids and below 2^32.
inline HMENU ToHandle(uint32_t value) {
  return reinterpret_cast<HMENU>(static_cast<uintptr_t>(value));
}
inline uint32_t HandleValue(HMENU menu) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(menu));
}

}  // namespace pictavo::user::menu
