// Choosing the display at start.
#pragma once

namespace pictavo::display {

class HeadlessDisplay;
class SdlDisplay;

// Installs a display: the one PICTAVO_DISPLAY names ("headless" or "sdl"); without it, sdl when a
// display is available (DISPLAY or WAYLAND_DISPLAY set and SDL's video starts), headless
// otherwise. The headless desktop has the size PICTAVO_DESKTOP gives ("WxH", 1280x800 by
// default). Call on the thread that will run the windows. False, with a line on standard error,
// for an unknown name, a malformed size, or sdl asked for and unavailable.
bool Initialize();
// The installed headless display, or null when another one (or none) is installed.
HeadlessDisplay* Headless();
// The installed sdl display, or null.
SdlDisplay* Sdl();

}  // namespace pictavo::display
