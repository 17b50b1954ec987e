// The disc-menu preview's arithmetic, apart from its window: how the focus walks the entries of a
// menu page, where a menu rectangle lands in the preview, and how long one pass of the menu's
// motion plays on the preview's clock.
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo::render {

// The menu is laid out and drawn on a TV screen of this size.
inline constexpr int kMenuWidth = 768;
inline constexpr int kMenuHeight = 576;

// A menu page's focus entries: 0 .. albums - 1 the albums, albums the previous-page button,
// albums + 1 the next-page button (each only when the page has it).
struct MenuPage {
  int albums;
  bool previous;
  bool next;
};

// The focus after "next": stays at the last entry; from the last album it skips the missing
// previous-page button. Page {3, no previous, next}: 1 -> 2, 2 -> 4, 4 -> 4.
int MenuFocusAfterNext(int focus, const MenuPage& page);
// The focus after "previous": stays at 0; from above the albums it skips the missing
// previous-page button. Page {3, no previous, next}: 4 -> 2, 2 -> 1, 0 -> 0.
int MenuFocusAfterPrevious(int focus, const MenuPage& page);
// What activating the focus does: play album `album` (its index in the project), turn to the
// previous or the next page, or nothing.
struct MenuActivation {
  enum Kind { kNothing, kPlayAlbum, kPreviousPage, kNextPage } kind;
  int album;  // kPlayAlbum only
};
// Album entries of a page of `perPage` albums on page `currentPage`: {3 albums, page 1 of 6 per
// page, focus 2} plays album 8; focus 3 with a previous-page button turns back.
MenuActivation MenuActivate(int focus, const MenuPage& page, int perPage, int currentPage);
// The focus of an album entry under the mouse: its index modulo the albums per page (0 when the
// template has none).
int MenuFocusOfAlbum(int albumIndex, int perPage);
// A rectangle of the 768 x 576 menu in a client area of cx x cy, each edge truncated.
RECT MenuToClient(const RECT& menu, int cx, int cy);
// Ticks of 50 ms one pass of the menu's motion takes: its frames in whole seconds of the project's
// frame rate, 20 ticks each. 300 frames at 25 -> 240; 299 at 25 -> 220; a rate of 0 -> 0.
int MenuPassTicks(int totalFrames, int framesPerSecond);

}  // namespace pictavo::render
