#include "platform/display/Headless.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/display/Png.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"

namespace pictavo::display {
namespace {

// Copies the part of `src` inside `clip` (source coordinates) to `dest` at `at`.
void Blit(gdi::Surface& dest, const gdi::Surface& src, POINT at, const RECT& clip) {
  const int left = std::max<int>({clip.left, 0, -at.x});
  const int top = std::max<int>({clip.top, 0, -at.y});
  const int right = std::min<int>({clip.right, src.Width(), dest.Width() - at.x});
  const int bottom = std::min<int>({clip.bottom, src.Height(), dest.Height() - at.y});
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y) {
    const uint32_t* from = src.Row(y).data() + left;
    uint32_t* to = dest.Row(y + at.y).data() + at.x + left;
    std::memcpy(to, from, static_cast<size_t>(right - left) * sizeof(uint32_t));
  }
}

}  // namespace

HeadlessDisplay::HeadlessDisplay(SIZE desktop) : m_size(desktop) {}

DWORD HeadlessDisplay::IdleWait(user::IdleWait kind) {
  IdleHandler handler;
  {
    std::lock_guard lock(m_lock);
    handler = m_idle;
  }
  return handler ? handler(kind) : INFINITE;
}

void HeadlessDisplay::SetIdleHandler(IdleHandler handler) {
  std::lock_guard lock(m_lock);
  m_idle = std::move(handler);
}

std::shared_ptr<gdi::Surface> HeadlessDisplay::Compose() const {
  return ComposeDesktop(m_size);
}

bool HeadlessDisplay::SaveSnapshot(const std::string& path, HWND hwnd) const {
  return WriteSnapshot(m_size, path, hwnd);
}

std::shared_ptr<gdi::Surface> ComposeDesktop(SIZE size) {
  auto desktop = std::make_shared<gdi::Surface>(size.cx, size.cy);
  desktop->Fill(gdi::PixelFromColor(GetSysColor(COLOR_DESKTOP)));
  for (const user::TopLevelWindow& w : user::TopLevelWindows()) {
    if (!w.visible || !w.surface) continue;
    const POINT at{w.rect.left, w.rect.top};
    if (w.shape.empty()) {
      Blit(*desktop, *w.surface, at, w.surface->Bounds());
    } else {
      for (const RECT& piece : w.shape) Blit(*desktop, *w.surface, at, piece);
    }
  }
  return desktop;
}

bool WriteSnapshot(SIZE size, const std::string& path, HWND hwnd) {
  if (!hwnd) return WritePng(*ComposeDesktop(size), path);
  user::TopLevelWindow window;
  if (!user::DescribeTopLevelWindow(hwnd, &window) || !window.surface) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  return WritePng(*window.surface, path);
}

bool ParseDesktopSize(const char* text, SIZE* size) {
  if (!text || !size) return false;
  const char* end = text + std::strlen(text);
  const char* x = std::find(text, end, 'x');
  if (x == end) return false;
  int width = 0;
  int height = 0;
  auto [p1, e1] = std::from_chars(text, x, width);
  auto [p2, e2] = std::from_chars(x + 1, end, height);
  if (e1 != std::errc() || e2 != std::errc() || p1 != x || p2 != end) return false;
  if (width < 1 || height < 1 || width > 16384 || height > 16384) return false;
  *size = SIZE{width, height};
  return true;
}

}  // namespace pictavo::display
