// The sdl display: every visible top-level window (menus, drop-downs, tips and pop-ups included)
// is a borderless native window at its desktop position showing the pixels of its surface, and
// the user's mouse and keyboard come back as input (Inject*). Desktop coordinates are those of
// SDL's first display, whose size is the desktop's.
//
// All SDL calls are made on one thread: the one that opened the display, which runs the windows
// (the UI thread). What other threads report is carried out when that thread next looks at its
// queue; while it waits idle it looks again every few milliseconds, so frames drawn by a render
// thread reach the screen through it.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/user/Display.h"

union SDL_Event;

namespace pictavo::gdi {
class Surface;
}
namespace pictavo::media {
class SdlSubsystem;
}

namespace pictavo::display {

class SdlDisplay final : public user::Display {
 public:
  // Starts SDL's video on the calling thread. Null, with *error saying why, when no display can
  // be opened.
  [[nodiscard]] static std::shared_ptr<SdlDisplay> Open(std::string* error);
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  SIZE DesktopSize() const override { return m_size; }
  void WindowDestroyed(HWND hwnd) override;
  void WindowMoved(HWND hwnd, const RECT& rect) override;
  void WindowShown(HWND hwnd, bool visible) override;
  void ZOrderChanged() override;
  void WindowShapeChanged(HWND hwnd) override;
  void WindowActivated(HWND hwnd) override;
  void SurfaceChanged(HWND hwnd, const RECT& rect) override;
  void CursorChanged(HCURSOR cursor, bool visible) override;
  void CursorMoved(POINT point) override;
  void CaptureChanged(HWND hwnd) override;
  void PumpEvents() override;
  DWORD IdleWait(user::IdleWait kind) override;

  // As the headless display's: the input script plays its steps in `handler`.
  using IdleHandler = std::function<DWORD(user::IdleWait)>;
  void SetIdleHandler(IdleHandler handler);

  // What the native window of `hwnd` shows: the pixels last uploaded to it, or null when it has
  // no native window. On the display's thread.
  std::shared_ptr<gdi::Surface> ReadBack(HWND hwnd);

 private:
  struct Native;
  struct Cursors;

  SdlDisplay(std::unique_ptr<media::SdlSubsystem> video, SIZE size, POINT origin);

  bool OnDisplayThread() const { return std::this_thread::get_id() == m_thread; }
  // Runs `work` now on the display's thread, else when that thread next pumps.
  void OnDisplayThread(std::function<void()> work);
  void RunPending();

  Native* Find(HWND hwnd);
  Native* FindById(uint32_t windowId);
  Native* Ensure(HWND hwnd);
  void Recreate(Native& native, bool shaped);
  void Place(Native& native, const RECT& rect);
  void ApplyShape(Native& native);
  void Upload(Native& native, const RECT& rect);
  void ShowPending();
  void Restack();

  void Handle(const SDL_Event& event);
  void HandleWindowEvent(const SDL_Event& event);
  void HandleInput(const SDL_Event& event);
  POINT DesktopPoint(const Native& native, int x, int y) const;
  void ApplyCursor(HCURSOR cursor, bool visible);

  std::unique_ptr<media::SdlSubsystem> m_video;
  const std::thread::id m_thread;
  const SIZE m_size;
  const POINT m_origin;  // the desktop's (0, 0) in SDL's global coordinates

  std::mutex m_lock;
  std::vector<std::function<void()>> m_pending;  // guarded by m_lock
  IdleHandler m_idle;                            // guarded by m_lock

  // The display's thread only.
  std::map<HWND, std::unique_ptr<Native>> m_windows;
  std::vector<HWND> m_stack;  // native windows shown, bottom first, as last ordered
  std::unique_ptr<Cursors> m_cursors;
  bool m_pumping = false;
  bool m_leavePending = false;  // the pointer left a window and entered none of ours yet
  std::vector<std::string> m_droppedFiles;  // a desktop drop's files, until it completes
};

}  // namespace pictavo::display
