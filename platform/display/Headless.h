// The headless display: an off-screen desktop on which the visible top-level windows are composed
// in z-order over a plain desktop colour. Tests and servers run on it; snapshots are PNG files.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/user/Display.h"

namespace pictavo::gdi {
class Surface;
}

namespace pictavo::display {

class HeadlessDisplay final : public user::Display {
 public:
  explicit HeadlessDisplay(SIZE desktop);

  SIZE DesktopSize() const override { return m_size; }
  DWORD IdleWait(user::IdleWait kind) override;

  // The thread about to block for messages with nothing pending calls `handler` (the input
  // script plays its next step there); its result is how long the thread may block.
  using IdleHandler = std::function<DWORD(user::IdleWait)>;
  void SetIdleHandler(IdleHandler handler);

  // A headless desktop has no speaker: the beeps asked for are counted, so that a demonstration
  // can tell what the user would have heard.
  void Beep(UINT) override { ++m_beeps; }
  int Beeps() const { return m_beeps.load(); }

  // The desktop as it looks now.
  std::shared_ptr<gdi::Surface> Compose() const;
  // Writes the desktop, or the surface of one top-level window, as a PNG file (replaced
  // atomically). False with the last error set when the window is unknown or the file cannot be
  // written.
  bool SaveSnapshot(const std::string& path, HWND hwnd = nullptr) const;

 private:
  const SIZE m_size;
  std::mutex m_lock;
  IdleHandler m_idle;  // guarded by m_lock
  std::atomic<int> m_beeps{0};
};

// The visible top-level windows composed in z-order over the desktop colour, on a desktop of
// `size`: what any display shows from the windows' surfaces.
std::shared_ptr<gdi::Surface> ComposeDesktop(SIZE size);
// Writes that desktop, or the surface of one top-level window, as a PNG file (replaced
// atomically). False with the last error set when the window is unknown or the file cannot be
// written.
bool WriteSnapshot(SIZE size, const std::string& path, HWND hwnd = nullptr);

// "WxH" (both 1 to 16384).
bool ParseDesktopSize(const char* text, SIZE* size);

}  // namespace pictavo::display
