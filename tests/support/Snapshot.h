// Snapshots that tests leave under build/bin/test-output/ for a person to look at.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/display/Headless.h"
#include "platform/display/Png.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"

namespace pictavo::test {

// The path of `name` in the snapshot folder, which is made when missing.
inline std::string SnapshotPath(const std::string& name) {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  const std::filesystem::path folder = std::filesystem::path(bin ? bin : ".") / "test-output";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

// Writes the part `area` of the desktop as it looks now (every visible top-level window in
// z-order, pop-ups included) as `name`; the path, or empty when it could not be written.
inline std::string SaveDesktopArea(const RECT& area, const std::string& name) {
  const auto display = user::GetDisplay();
  if (!display) return {};
  const std::shared_ptr<gdi::Surface> desktop = display::ComposeDesktop(display->DesktopSize());
  if (!desktop) return {};
  const int left = std::max<int>(area.left, 0), top = std::max<int>(area.top, 0);
  const int right = std::min<int>(area.right, desktop->Width());
  const int bottom = std::min<int>(area.bottom, desktop->Height());
  if (right <= left || bottom <= top) return {};
  gdi::Surface part(right - left, bottom - top);
  for (int y = top; y < bottom; ++y) {
    const auto from = desktop->Row(y);
    std::copy(from.begin() + left, from.begin() + right, part.Row(y - top).begin());
  }
  const std::string path = SnapshotPath(name);
  return display::WritePng(part, path) ? path : std::string();
}

}  // namespace pictavo::test
