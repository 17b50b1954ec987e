// A second thread with a window of its own and a message loop, for tests across threads.
#pragma once

#include <functional>
#include <future>
#include <thread>

#include "Recorder.h"
#include "platform/kernel/Thread.h"

namespace testing_user {

class UiThread {
 public:
  // Runs `setup` on the new thread (it returns the window to report), then `loop` (by default
  // GetMessage/DispatchMessage until WM_QUIT).
  explicit UiThread(std::function<HWND()> setup, std::function<void()> loop = nullptr) {
    std::promise<std::pair<HWND, DWORD>> ready;
    auto started = ready.get_future();
    m_thread =
        std::thread([setup = std::move(setup), loop = std::move(loop), ready = std::move(ready)]() mutable {
          MSG msg;
          PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here on
          HWND hwnd = setup ? setup() : nullptr;
          ready.set_value({hwnd, GetCurrentThreadId()});
          if (loop) {
            loop();
            return;
          }
          while (GetMessage(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
          }
        });
    auto [hwnd, id] = started.get();
    m_hwnd = hwnd;
    m_id = id;
  }
  ~UiThread() { Stop(); }
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  HWND Window() const { return m_hwnd; }
  DWORD Id() const { return m_id; }
  // Ends the default loop (WM_QUIT) and waits for the thread.
  void Stop() {
    if (!m_thread.joinable()) return;
    PostThreadMessage(m_id, WM_QUIT, 0, 0);
    Join();
  }
  void Join() {
    if (m_thread.joinable()) m_thread.join();
  }

 private:
  std::thread m_thread;
  HWND m_hwnd = nullptr;
  DWORD m_id = 0;
};

}  // namespace testing_user
