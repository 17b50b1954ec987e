// Internal: what the menu code, the non-client code and the default window procedure call in
// each other. All of it runs on the thread of the window concerned.
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo::user::detail {

// MenuBar.cpp, for the frame and the default window procedure.
// WM_NCCALCSIZE: lays out the menu bar of a top-level window for its width and moves the top
// of the client rectangle below it. `window` is the proposed window rectangle.
void ReserveMenuBar(HWND hwnd, const RECT& window, RECT* client);
// Whether a top-level window shows a menu bar.
bool HasMenuBar(HWND hwnd);
// Whether a screen point lies on the menu bar (HTMENU); `window` in screen coordinates.
bool MenuBarHit(HWND hwnd, DWORD style, DWORD exStyle, const RECT& window, POINT screen);
// Draws the menu bar into a DC of the whole window (part of WM_NCPAINT).
void DrawMenuBarFrame(HWND hwnd, HDC windowDC, DWORD style, DWORD exStyle, const RECT& window);
// WM_SYSCOMMAND SC_KEYMENU (lParam: 0 for Alt or F10 alone, else the character typed with Alt)
// and SC_MOUSEMENU (lParam: the screen point pressed on the bar).
LRESULT MenuSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
// WM_SYSKEYDOWN, WM_SYSKEYUP and WM_SYSCHAR: Alt or F10 pressed and released alone, or Alt with
// a character, asks the top-level window for its menu (SC_KEYMENU).
void MenuKeyDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// WM_NCMOUSEMOVE and WM_NCMOUSELEAVE: the bar item under the pointer is highlighted.
void MenuBarMouseDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The height of the window's menu bar as last laid out (0 without one).
int MenuBarHeight(HWND hwnd);
// Whether the window's own copy of the system menu has its Close item greyed or disabled (a
// window that never asked for its copy has the standard, enabled one).
bool SystemCloseDisabled(HWND hwnd);

// NonClient.cpp: the line of a top-level window's frame where its menu bar goes: below the
// caption, between the borders (window coordinates; top == bottom).
RECT MenuBarStrip(DWORD style, DWORD exStyle, const RECT& window);

}  // namespace pictavo::user::detail

namespace pictavo::user::menu {

// MenuBar.cpp, for the menu loop.
// The bar's rectangle on the screen (empty when the window shows no bar).
RECT BarScreenRect(HWND hwnd);
// A bar item's rectangle on the screen, and the item at a screen point (-1: none).
RECT BarItemScreenRect(HWND hwnd, int position);
int BarItemAt(HWND hwnd, POINT screen);
// Draws the bar again now (hot or pressed item changed).
void RedrawBar(HWND hwnd);

// MenuTracker.cpp: runs the menu loop of a window's menu bar.
enum class BarStart { kKeyboard, kMnemonic, kMouse };
void TrackMenuBar(HWND hwnd, HMENU bar, BarStart how, char32_t character, POINT screen);
// Whether the calling thread runs a menu loop.
bool IsTracking();

// One open popup of a menu loop (the menu bar is the first level of a bar's loop, without a
// window). Owned by the loop; the popup window points at it.
struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;
  HWND owner = nullptr;
  int selected = -1;
  int indexInParent = 0;
  RECT screen{};  // the popup window's rectangle
};

// MenuWindow.cpp: the popup windows (class "#32768"), shown above everything without taking
// the activation. Null when the window cannot be made.
HWND ShowPopupWindow(Level* level);
// The position of the item at a point of a popup's client area (separators excluded), or -1.
int PopupItemAt(HMENU menu, POINT client);

}  // namespace pictavo::user::menu
