// The main loop of a demonstration program built on the class library: plays the input script
// against its main window and pumps messages, with the windows' own pre-translation, until the
// window quits. Returns the program's exit code.
#pragma once

#include "platform/display/ScriptPlayer.h"
#include "platform/mfc/Wnd.h"
#include "tests/support/DemoScript.h"

namespace pictavo::test {

inline int RunDemoLoop(HWND window) {
  if (!StartDemoScript(window)) return pictavo::display::kScriptFailedExitCode;
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    if (!CWnd::WalkPreTranslateTree(::IsWindow(window) ? window : nullptr, &msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  return 0;
}

}  // namespace pictavo::test
