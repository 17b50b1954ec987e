// Internal: what the parts of the sdl display share.
#pragma once

#include <SDL.h>

#include <array>
#include <memory>

#include "platform/display/SdlDisplay.h"

namespace pictavo::display {

struct SdlWindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct SdlCursorDeleter {
  void operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
};
using SdlCursorPtr = std::unique_ptr<SDL_Cursor, SdlCursorDeleter>;

// The native window of one top-level window.
struct SdlDisplay::Native {
  HWND hwnd = nullptr;
  std::unique_ptr<SDL_Window, SdlWindowDeleter> window;
  Uint32 id = 0;
  Uint32 flags = 0;  // SDL's creation flags: the kind of window
  RECT rect{};       // desktop coordinates, as last placed
  bool shaped = false;
  bool shown = false;      // mapped on the screen
  bool wantShown = false;  // to be mapped at the next pump, once painted
  bool minimized = false;  // minimized natively while the window is iconic
};

struct SdlDisplay::Cursors {
  std::array<SdlCursorPtr, SDL_NUM_SYSTEM_CURSORS> system;
  SdlCursorPtr custom;  // the one shown for a cursor of the program's own
};

// The virtual key of an SDL key (scan code for where it is, key code for letters, so a letter
// keeps its name on other layouts); 0 for keys the program has no code for.
UINT VirtualKeyOf(const SDL_Keysym& key);
// Whether SDL follows the key press with text input (the character arrives that way).
bool KeyMakesText(const SDL_Keysym& key);

// A colour cursor with alpha from an icon or cursor handle; null when it has no image.
SdlCursorPtr MakeColorCursor(HCURSOR cursor);

}  // namespace pictavo::display
