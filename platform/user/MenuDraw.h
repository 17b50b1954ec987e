// Internal: measuring and drawing menus in our flat look, popups and menu bars alike.
// Owner-drawn items are measured and drawn by the owner window (WM_MEASUREITEM, WM_DRAWITEM).
// Every call runs on the owner's thread and holds no lock while it sends a message.
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo::user::menu {

// Frame of a popup window: a one-pixel border and a margin inside it.
inline constexpr int kPopupFrame = 3;

// Measures the popup's items (asking the owner for owner-drawn items not measured since they
// last changed), stores each item's rectangle in the record and returns the window size. An
// invalid or empty menu gives {0, 0}.
SIZE LayoutPopup(HMENU menu, HWND owner);
// Lays the bar's items out in rows for the bar's width and returns the bar height (at least
// one row, also when the bar is empty).
int LayoutBar(HMENU menu, HWND owner, int width);

// The whole popup with `selected` highlighted (-1: none), into a DC of its window.
void DrawPopup(HDC dc, HMENU menu, int selected, HWND owner);
// One item after the selection moved to or away from it.
void DrawPopupItem(HDC dc, HMENU menu, int position, bool selected, HWND owner);
// The whole bar, its top-left corner at `origin` of the window DC, with the record's hot item.
void DrawBar(HDC dc, HMENU menu, POINT origin, HWND owner);

}  // namespace pictavo::user::menu
