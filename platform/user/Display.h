// Where top-level windows appear. A display (headless or a real screen) is told about top-level
// windows as they change, composes their surfaces, and feeds the user's input back through the
// Inject* functions. Every top-level window, pop-ups and menus included, is one rectangle at an
// absolute desktop position whose whole area (frame included) is drawn by us into its surface.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::gdi {
class Surface;
}

namespace pictavo::user {

// Why a thread is about to block for messages with nothing left to handle.
enum class IdleWait {
  kGetMessage,   // GetMessage: a message loop, modal or not
  kWaitMessage,  // WaitMessage
  kMsgWait,      // MsgWaitForMultipleObjects(Ex): a wait on kernel objects that also pumps
};

// The notifications are made on the window's own thread, with no lock of ours held, so a display
// may call back into this layer (TopLevelWindows, GetWindowRect ...).
class Display {
 public:
  virtual ~Display() = default;

  // The desktop's size in pixels: the screen metrics and the work area.
  virtual SIZE DesktopSize() const = 0;

  virtual void WindowCreated(HWND hwnd) {}
  virtual void WindowDestroyed(HWND hwnd) {}
  // Position or size changed; `rect` is in desktop coordinates.
  virtual void WindowMoved(HWND hwnd, const RECT& rect) {}
  virtual void WindowShown(HWND hwnd, bool visible) {}
  // The order of the top-level windows changed (TopLevelWindows gives the new one).
  virtual void ZOrderChanged() {}
  // SetWindowRgn changed the window's shape.
  virtual void WindowShapeChanged(HWND hwnd) {}
  // The window became the active one (null: none of ours is).
  virtual void WindowActivated(HWND hwnd) {}
  // Pixels of the window's surface changed inside `rect` (window coordinates). Reported when the
  // window's thread has no message to deliver (and before it blocks), for drawing done by any
  // thread, so frames drawn by a render thread reach the screen through the window's thread.
  virtual void SurfaceChanged(HWND hwnd, const RECT& rect) {}
  // The cursor to show (null: none), and whether ShowCursor hides it.
  virtual void CursorChanged(HCURSOR cursor, bool visible) {}
  // SetCursorPos moved the pointer.
  virtual void CursorMoved(POINT point) {}
  // A window took the mouse capture (null: released), so the display keeps reporting the mouse
  // while a button is held outside the window.
  virtual void CaptureChanged(HWND hwnd) {}
  virtual void Beep(UINT type) {}

  // Non-blocking: turns the display's pending native events into input (Inject*). Called by a
  // thread that looks for messages and finds none, PeekMessage included.
  virtual void PumpEvents() {}
  // The thread is about to block for messages with nothing pending and nothing to pump: the only
  // moment at which scripted input is played. Returns the longest the thread may block before
  // asking again (INFINITE when the display wakes it by injecting input).
  virtual DWORD IdleWait(IdleWait kind) { return INFINITE; }
};

// Installs the display (null: none; windows then live on an off-screen desktop of the size gdi
// reports). Call before the first window is created.
void SetDisplay(std::shared_ptr<Display> display);
std::shared_ptr<Display> GetDisplay();

// What a display composes. Any thread.
struct TopLevelWindow {
  HWND hwnd = nullptr;
  RECT rect{};  // desktop coordinates
  bool visible = false;
  // The window's pixels, rect's size (at least 1 x 1); null for a hidden window never drawn.
  std::shared_ptr<gdi::Surface> surface;
  std::vector<RECT> shape;  // window coordinates; empty: the whole rectangle
};
// From the bottom of the z-order to the top.
std::vector<TopLevelWindow> TopLevelWindows();
// One top-level window (false when hwnd is not one).
bool DescribeTopLevelWindow(HWND hwnd, TopLevelWindow* out);

// Input, from any thread. Mouse input goes to the thread of the window under the pointer (or of
// the window with the capture), keyboard input to the thread with the focus, as the user's
// actions would; they arrive as messages in that thread's queue.
enum class MouseButton { kLeft, kRight, kMiddle, kX1, kX2 };
void InjectMouseMove(POINT point);  // desktop coordinates
void InjectMouseButton(MouseButton button, bool down);
void InjectMouseWheel(int delta, bool horizontal = false);  // WHEEL_DELTA per notch
// The pointer left the desktop (a real screen's window lost it): the window under it is left.
void InjectMouseLeave();
struct KeyInput {
  UINT virtualKey = 0;
  bool down = true;
  // With VK_PACKET: the character the key stands for (text input without a key of its own).
  char32_t character = 0;
  // TranslateMessage makes no WM_CHAR for this key (its character arrives as text input).
  bool noCharacter = false;
};
void InjectKey(const KeyInput& key);
// Text as typed: VK_PACKET key presses, each making WM_CHAR with one code point.
void InjectText(std::string_view utf8);

}  // namespace pictavo::user
