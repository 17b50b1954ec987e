// What the tests of the Options dialog and its TV page share: the display and resources their
// windows need, and a window that counts the aspect notifications the previews would receive.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/ResourceModule.h"
#include "shell/MainDlg.h"

namespace shelltest {

// The headless display, the common controls and the program's resources, once per binary.
inline void PrepareWindows() {
  if (!pictavo::display::Headless()) {
    ASSERT_TRUE(pictavo::display::Initialize());
  }
  InitCommonControls();
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
}

// A window that counts the WM_TV_ASPECT_CHANGED it receives.
class AspectListener : public CWnd {
 public:
  int received = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TV_ASPECT_CHANGED) ++received;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

}  // namespace shelltest
