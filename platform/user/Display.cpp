// The display the windows appear on, and what it composes.
#include "platform/user/Display.h"

#include <mutex>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/UserInternal.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

struct Installed {
  std::mutex lock;
  std::shared_ptr<Display> display;  // guarded by lock
};
Installed& TheInstalled() {
  static Installed* installed = new Installed;
  return *installed;
}

// Hidden windows get their pixels only when asked for by name: most never show.
TopLevelWindow DescribeLocked(Window* w, bool withSurface) {
  TopLevelWindow out;
  out.hwnd = w->handle;
  out.rect = WindowRectScreenLocked(w);
  out.visible = ((w->style & WS_VISIBLE) || w->redrawOff) && !(w->style & WS_MINIMIZE);
  if (!w->surface && (withSurface || out.visible)) ResizeSurfaceLocked(w);
  out.surface = w->surface;
  if (w->shape) out.shape = w->shape->Rects();
  return out;
}

}  // namespace

std::shared_ptr<Display> CurrentDisplay() {
  auto& installed = TheInstalled();
  std::lock_guard lock(installed.lock);
  return installed.display;
}

SIZE DesktopSize() {
  if (auto display = CurrentDisplay()) return display->DesktopSize();
  return gdi::DesktopSize();
}

}  // namespace pictavo::user::detail

namespace pictavo::user {

void SetDisplay(std::shared_ptr<Display> display) {
  {
    auto& installed = detail::TheInstalled();
    std::lock_guard lock(installed.lock);
    installed.display = display;
  }
  if (display) {
    std::weak_ptr<Display> weak = display;
    gdi::SetDesktopSizeProvider([weak]() -> SIZE {
      if (auto d = weak.lock()) return d->DesktopSize();
      return SIZE{1280, 800};
    });
  }
  // The desktop window takes the new size.
  const SIZE size = detail::DesktopSize();
  std::lock_guard lock(detail::UserLock());
  detail::Window* desktop = detail::DesktopLocked();
  desktop->rect = desktop->client = RECT{0, 0, size.cx, size.cy};
  desktop->surface.reset();
}

std::shared_ptr<Display> GetDisplay() {
  return detail::CurrentDisplay();
}

std::vector<TopLevelWindow> TopLevelWindows() {
  std::lock_guard lock(detail::UserLock());
  const auto& children = detail::DesktopLocked()->children;
  std::vector<TopLevelWindow> out;
  out.reserve(children.size());
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    out.push_back(detail::DescribeLocked(*it, false));
  return out;
}

bool DescribeTopLevelWindow(HWND hwnd, TopLevelWindow* out) {
  std::lock_guard lock(detail::UserLock());
  detail::Window* w = detail::FindLocked(hwnd);
  if (!w || !detail::IsTopLevel(w) || !out) return false;
  *out = detail::DescribeLocked(w, true);
  return true;
}

}  // namespace pictavo::user
