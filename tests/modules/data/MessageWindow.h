// A hidden window of the test's thread that workers post their notifications to, and a wait for
// one of them that handles the thread's other messages meanwhile.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "platform/user/User.h"

namespace datatest {

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
  // everything else.
  bool WaitFor(UINT message, MSG& out, DWORD timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      MSG msg;
      while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == m_hwnd && msg.message == message) {
          out = msg;
          return true;
        }
        DispatchMessage(&msg);
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
              .count();
      if (left <= 0) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
  }

  // Whether `message` is waiting in the queue now (it is removed).
  bool HasPending(UINT message) const {
    MSG msg;
    return PeekMessage(&msg, m_hwnd, message, message, PM_REMOVE) != FALSE;
  }

 private:
  static constexpr const char* kClass = "DataTestMessageWindow";
  HWND m_hwnd = nullptr;
};

}  // namespace datatest
