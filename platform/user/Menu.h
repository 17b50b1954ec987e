// Menus: the HMENU model, the menu bar of top-level windows and popup menus tracked in a modal
// loop on the caller's thread. Menus belong to the process; the calls that show one (SetMenu,
// TrackPopupMenu, the menu bar) run on the owner window's thread. Open popups are top-level
// windows of class "#32768" that answer MN_GETHMENU, so a display or an input script can find
// them and click their items (GetMenuItemRect).
//
// The owner window of a menu loop gets, unless TPM_NONOTIFY: WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP before each popup is shown (wParam the popup, lParam MAKELPARAM(index in its
// parent, system-menu flag)), WM_MENUSELECT as the selection moves (and MAKEWPARAM(0, 0xFFFF)
// with no menu when it closes), WM_UNINITMENUPOPUP, WM_ENTERIDLE (MSGF_MENU) whenever the loop
// waits, WM_EXITMENULOOP; always WM_MEASUREITEM / WM_DRAWITEM for owner-drawn items (ODT_MENU,
// hwndItem the menu) and WM_MENUCHAR for a typed character no item's mnemonic has (owner-drawn
// items have no text, so their owner answers: MNC_EXECUTE / MNC_SELECT with the position in the
// low word, MNC_CLOSE, or MNC_IGNORE). The chosen command is posted as WM_COMMAND after the
// loop ends, unless TrackPopupMenu returns it.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/WinTypes.h"
#include "platform/user/Controls.h"

// Menu flags of AppendMenu, InsertMenu, ModifyMenu, GetMenuState and friends.
#define MF_INSERT 0x00000000
#define MF_CHANGE 0x00000080
#define MF_APPEND 0x00000100
#define MF_DELETE 0x00000200
#define MF_REMOVE 0x00001000
#define MF_BYCOMMAND 0x00000000
#define MF_BYPOSITION 0x00000400
#define MF_SEPARATOR 0x00000800
#define MF_ENABLED 0x00000000
#define MF_GRAYED 0x00000001
#define MF_DISABLED 0x00000002
#define MF_UNCHECKED 0x00000000
#define MF_CHECKED 0x00000008
#define MF_USECHECKBITMAPS 0x00000200
#define MF_STRING 0x00000000
#define MF_BITMAP 0x00000004
#define MF_OWNERDRAW 0x00000100
#define MF_POPUP 0x00000010
#define MF_MENUBARBREAK 0x00000020
#define MF_MENUBREAK 0x00000040
#define MF_UNHILITE 0x00000000
#define MF_HILITE 0x00000080
#define MF_DEFAULT 0x00001000
#define MF_SYSMENU 0x00002000
#define MF_HELP 0x00004000
#define MF_RIGHTJUSTIFY 0x00004000
#define MF_MOUSESELECT 0x00008000
#define MF_END 0x00000080

// MENUITEMINFO::fType.
#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTORDER 0x00002000
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY

// MENUITEMINFO::fState.
#define MFS_GRAYED 0x00000003
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

// MENUITEMINFO::fMask.
#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020
#define MIIM_STRING 0x00000040
#define MIIM_BITMAP 0x00000080
#define MIIM_FTYPE 0x00000100

// GetMenuDefaultItem flags.
#define GMDI_USEDISABLED 0x0001
#define GMDI_GOINTOPOPUPS 0x0002

// TrackPopupMenu flags.
#define TPM_LEFTBUTTON 0x0000
#define TPM_RIGHTBUTTON 0x0002
#define TPM_LEFTALIGN 0x0000
#define TPM_CENTERALIGN 0x0004
#define TPM_RIGHTALIGN 0x0008
#define TPM_TOPALIGN 0x0000
#define TPM_VCENTERALIGN 0x0010
#define TPM_BOTTOMALIGN 0x0020
#define TPM_HORIZONTAL 0x0000
#define TPM_VERTICAL 0x0040
#define TPM_NONOTIFY 0x0080
#define TPM_RETURNCMD 0x0100
#define TPM_RECURSE 0x0001
#define TPM_HORPOSANIMATION 0x0400
#define TPM_HORNEGANIMATION 0x0800
#define TPM_VERPOSANIMATION 0x1000
#define TPM_VERNEGANIMATION 0x2000
#define TPM_NOANIMATION 0x4000
#define TPM_LAYOUTRTL 0x8000

// High word of a WM_MENUCHAR result.
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

struct MENUITEMINFO {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;  // callers may pass a size that ends before this field
};
using MENUITEMINFOA = MENUITEMINFO;
using LPMENUITEMINFO = MENUITEMINFO*;
using LPMENUITEMINFOA = MENUITEMINFO*;
using LPCMENUITEMINFO = const MENUITEMINFO*;
using LPCMENUITEMINFOA = const MENUITEMINFO*;

struct TPMPARAMS {
  UINT cbSize;
  RECT rcExclude;  // screen coordinates; the popup is placed beside it rather than over it
};
using LPTPMPARAMS = TPMPARAMS*;

// A menu template in its binary form (what LoadResource gives for RT_MENU): a header of two
// WORDs (version 0, then the offset of the items after the header), then each item as a WORD of
// MF_ flags, a WORD command id unless MF_POPUP, and NUL-terminated UTF-16 text; MF_END marks
// the last item of each level.
using MENUTEMPLATE = void;
using LPCMENUTEMPLATE = const void*;
struct MENUITEMTEMPLATEHEADER {
  WORD versionNumber;
  WORD offset;
};

// The model. Items are found MF_BYPOSITION or MF_BYCOMMAND; a search by command looks into
// popups depth first. A popup item's id is its popup's handle, which fits in 32 bits and is
// never a command id, so WM_MEASUREITEM's itemID of a popup item can be tested with IsMenu.
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the popups it holds too.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// `newItem` is the text of a string item (a tab starts the shortcut column, "&" marks the
// mnemonic), the item data of an MF_OWNERDRAW item, the HBITMAP of an MF_BITMAP item; with
// MF_POPUP, `idNewItem` is the popup's handle.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
// Replacing a popup item by anything but the same popup destroys the old popup.
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
// RemoveMenu keeps the popup an item opens; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);  // -1 for an invalid menu
// -1 (0xFFFFFFFF) for a popup item or a missing position.
UINT GetMenuItemID(HMENU menu, int position);
// The text (bytes, without the terminator); with a null buffer its length. Owner-drawn and
// bitmap items have none (0).
int GetMenuString(HMENU menu, UINT item, LPSTR text, int maxCount, UINT flags);
// MF_ flags of the item; for a popup item the low byte holds them and the next byte the number
// of items of the popup. 0xFFFFFFFF when the item does not exist.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
// The previous MF_CHECKED state, or -1 when the item does not exist.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// Checks `check` with a radio bullet and clears the other items from `first` to `last`.
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
// The previous MF_GRAYED / MF_DISABLED state, or -1 when the item does not exist. A change to
// a menu bar shows after DrawMenuBar.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
HMENU GetSubMenu(HMENU menu, int position);
// One default item per menu (drawn bold); -1 clears it.
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
// The default item's id (or position), or -1.
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
// Bitmaps drawn in the check column instead of the check mark.
BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked);
LONG GetMenuCheckMarkDimensions();  // MAKELONG(width, height)

// Loading: a menu resource of the module (through its resource files), or a template in the
// binary form above.
HMENU LoadMenu(HINSTANCE instance, LPCSTR name);
HMENU LoadMenuIndirect(LPCMENUTEMPLATE menuTemplate);

// The menu bar of a top-level window. SetMenu recomputes the frame; the window keeps its size
// and its client area gives way. DrawMenuBar shows changes made to the bar's items.
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);
// The window's copy of the standard window menu (restore, move, size, minimize, maximize,
// close), made on first use; `revert` destroys the copy and returns null.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// Where an item is on the screen: an item of a window's menu bar, or of a popup that is open.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect);
// The position of the item at a screen point, or -1.
int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen);

// Shows a popup menu at (x, y) (screen) aligned by the TPM_ flags, kept on the desktop, and
// runs the menu loop until the user chooses or cancels. With TPM_RETURNCMD the result is the
// chosen command (0 for none); otherwise TRUE, and the command is posted to `owner` as
// WM_COMMAND. Fails (ERROR_POPUP_ALREADY_ACTIVE) while the thread tracks another menu, unless
// TPM_RECURSE. `reserved` and `ignored` are not used.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Ends the calling thread's menu loop without a command.
BOOL EndMenu();

#define AppendMenuA AppendMenu
#define InsertMenuA InsertMenu
#define ModifyMenuA ModifyMenu
#define GetMenuStringA GetMenuString
#define GetMenuItemInfoA GetMenuItemInfo
#define SetMenuItemInfoA SetMenuItemInfo
#define InsertMenuItemA InsertMenuItem
#define LoadMenuA LoadMenu
#define LoadMenuIndirectA LoadMenuIndirect
