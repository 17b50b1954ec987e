// Message loops for tests on the thread that owns their windows: handle what is queued, or wait
// for a condition or a posted message while handling the rest. Their time limits only end a
// hopeless wait.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

#include "platform/user/User.h"

namespace pictavo::test {

// Handles what the calling thread's queue holds.
inline void PumpPending() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

namespace detail {

// Milliseconds left until `deadline`, 0 once it has passed.
inline DWORD MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
          .count();
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

}  // namespace detail

// Handles messages until `condition` holds; false when it still does not after `timeoutMs`.
// A condition that no message announces (another process ending, a file appearing) is looked at
// again every `pollMs` as well.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000,
                      DWORD pollMs = INFINITE) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    PumpPending();
    if (condition()) return true;
    const DWORD left = detail::MillisecondsUntil(deadline);
    if (left == 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(left, pollMs), QS_ALLINPUT);
  }
}

// Waits up to `timeoutMs` for `message` posted to `window`, dispatching everything else meanwhile;
// `seen` is called for every message to the window on the way, the awaited one included.
template <class Seen>
bool WaitForMessage(HWND window, UINT message, MSG& out, DWORD timeoutMs, Seen&& seen) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.hwnd == window) {
        seen(msg);
        if (msg.message == message) {
          out = msg;
          return true;
        }
      }
      DispatchMessage(&msg);
    }
    const DWORD left = detail::MillisecondsUntil(deadline);
    if (left == 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
  }
}
// Waits up to `timeoutMs` for the first message from `first` to `last` posted to `window`,
// dispatching everything else meanwhile.
inline bool WaitForMessageInRange(HWND window, UINT first, UINT last, MSG& out, DWORD timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.hwnd == window && msg.message >= first && msg.message <= last) {
        out = msg;
        return true;
      }
      DispatchMessage(&msg);
    }
    const DWORD left = detail::MillisecondsUntil(deadline);
    if (left == 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
  }
}
inline bool WaitForMessage(HWND window, UINT message, MSG& out, DWORD timeoutMs) {
  return WaitForMessage(window, message, out, timeoutMs, [](const MSG&) {});
}

}  // namespace pictavo::test
