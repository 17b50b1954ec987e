#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/SdlDisplay.h"
#include "platform/user/Display.h"

namespace pictavo::display {
namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

bool InstallHeadless() {
  SIZE size{1280, 800};
  const char* desktop = std::getenv("PICTAVO_DESKTOP");
  if (desktop && *desktop && !ParseDesktopSize(desktop, &size)) {
    std::fprintf(stderr, "PICTAVO_DESKTOP=%s: expected WIDTHxHEIGHT, such as 1280x800\n", desktop);
    return false;
  }
  user::SetDisplay(std::make_shared<HeadlessDisplay>(size));
  return true;
}

}  // namespace

bool Initialize() {
  const char* name = std::getenv("PICTAVO_DISPLAY");
  const std::string chosen = name ? name : "";
  if (chosen == "headless") return InstallHeadless();
  if (!chosen.empty() && chosen != "sdl") {
    std::fprintf(stderr, "PICTAVO_DISPLAY=%s: expected headless or sdl\n", name);
    return false;
  }
  if (chosen == "sdl" || Set("DISPLAY") || Set("WAYLAND_DISPLAY")) {
    std::string error;
    if (auto sdl = SdlDisplay::Open(&error)) {
      user::SetDisplay(std::move(sdl));
      return true;
    }
    if (chosen == "sdl") {
      std::fprintf(stderr, "PICTAVO_DISPLAY=sdl: no display can be opened: %s\n", error.c_str());
      return false;
    }
  }
  return InstallHeadless();
}

HeadlessDisplay* Headless() {
  return dynamic_cast<HeadlessDisplay*>(user::GetDisplay().get());
}

SdlDisplay* Sdl() {
  return dynamic_cast<SdlDisplay*>(user::GetDisplay().get());
}

}  // namespace pictavo::display
