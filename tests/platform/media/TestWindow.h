// A plain visible window for the tests to draw into and to receive posted notifications.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

namespace media_test {

class TestWindow {
 public:
  TestWindow(int width, int height) {
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, kClass, &wc)) {
      wc.lpfnWndProc = DefWindowProc;
      wc.lpszClassName = kClass;  // no background brush: nothing erases what the tests draw
      RegisterClass(&wc);
    }
    m_hwnd = CreateWindowEx(0, kClass, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                            nullptr, nullptr);
  }
  ~TestWindow() {
    if (m_hwnd) DestroyWindow(m_hwnd);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return m_hwnd; }

  // The colour at a client point, as 0xRRGGBB.
  uint32_t PixelAt(int x, int y) const {
    HDC dc = GetDC(m_hwnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(m_hwnd, dc);
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
  }

  void Fill(COLORREF colour) const {
    HDC dc = GetDC(m_hwnd);
    RECT client;
    GetClientRect(m_hwnd, &client);
    pictavo::gdi::FillSolidRect(dc, client, colour);
    ReleaseDC(m_hwnd, dc);
  }

  // Waits for `message` to be posted to the window, handling other messages meanwhile.
  bool WaitForMessage(UINT message, MSG& out, DWORD timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      if (PeekMessage(&out, m_hwnd, message, message, PM_REMOVE)) return true;
      MSG other;
      while (PeekMessage(&other, nullptr, 0, 0, PM_REMOVE)) {
        if (other.hwnd == m_hwnd && other.message == message) {
          out = other;
          return true;
        }
        DispatchMessage(&other);
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
              .count();
      if (left <= 0) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
  }

 private:
  static constexpr const char* kClass = "MediaTestWindow";
  HWND m_hwnd = nullptr;
};

}  // namespace media_test
