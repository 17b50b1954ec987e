// A hidden window of the test's thread that workers post their notifications to.
#pragma once

#include <utility>

#include "platform/user/User.h"
#include "tests/support/MessagePump.h"

namespace pictavo::test {

class MessageWindow {
 public:
  MessageWindow() {
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, kClass, &wc)) {
      wc.lpfnWndProc = DefWindowProc;
      wc.lpszClassName = kClass;
      RegisterClass(&wc);
    }
    m_hwnd = CreateWindowEx(0, kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  ~MessageWindow() {
    if (m_hwnd) DestroyWindow(m_hwnd);
  }
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND Handle() const { return m_hwnd; }

  // Waits up to `timeoutMs` (a hang guard) for `message` posted to this window, dispatching
  // everything else; `seen` is called for every message to the window on the way, the awaited
  // one included.
  template <class Seen>
  bool WaitFor(UINT message, MSG& out, DWORD timeoutMs, Seen&& seen) const {
    return WaitForMessage(m_hwnd, message, out, timeoutMs, std::forward<Seen>(seen));
  }
  bool WaitFor(UINT message, MSG& out, DWORD timeoutMs) const {
    return WaitForMessage(m_hwnd, message, out, timeoutMs);
  }

  // Whether `message` is waiting in the queue now (it is removed).
  bool HasPending(UINT message) const {
    MSG msg;
    return PeekMessage(&msg, m_hwnd, message, message, PM_REMOVE) != FALSE;
  }

 private:
  static constexpr const char* kClass = "PictavoTestMessageWindow";
  HWND m_hwnd = nullptr;
};

}  // namespace pictavo::test
