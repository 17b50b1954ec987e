// Clearing away the calling thread's windows, for fixtures that end a test whatever it left open.
#pragma once

#include <cstring>

#include "platform/kernel/Thread.h"
#include "platform/user/Dialog.h"
#include "platform/user/User.h"

namespace pictavo::test {

// Ends every dialog of the calling thread with `result` (message boxes first, as they are the
// newest), for a test whose script stopped early.
inline void EndThreadDialogs(INT_PTR result) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM result) -> BOOL {
        char name[32] = {};
        GetClassName(hwnd, name, sizeof name);
        if (std::strcmp(name, "#32770") == 0) EndDialog(hwnd, static_cast<INT_PTR>(result));
        return TRUE;
      },
      static_cast<LPARAM>(result));
}

// Destroys every top-level window of the calling thread.
inline void DestroyThreadWindows() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM) -> BOOL {
        DestroyWindow(hwnd);
        return TRUE;
      },
      0);
}

}  // namespace pictavo::test
