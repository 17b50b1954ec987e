// A visible plain window of the test's thread at the desktop's corner, to host controls under test.
#pragma once

#include "platform/user/User.h"

namespace pictavo::test {

inline HWND CreateHostWindow(int width, int height) {
  constexpr const char* kClass = "PictavoTestHost";
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, kClass, &wc)) {
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = kClass;
    RegisterClass(&wc);
  }
  return CreateWindowEx(0, kClass, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, nullptr,
                        nullptr);
}

}  // namespace pictavo::test
