// A plain toolkit window for the colour tests: it hosts chooser controls, records the
// notifications they send and reflects their owner drawing to them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/WinApp.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/MessagePump.h"
#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/customize/PlxColorChooserCtrl.h"

namespace colourtest {

class CColorHost : public CWnd {
 public:
  BOOL Make(int width, int height) {
    return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                    nullptr, nullptr);
  }
  // A chooser of the type as a child at rect.
  BOOL Add(CPlxColorChooserCtrl& chooser, int type, const CRect& rect, UINT id) {
    chooser.SetChooserType(type);
    return chooser.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, this, id);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) notes.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<std::pair<UINT, UINT>> notes;  // (control id, code)
};

class ColourFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
  void SetUp() override {
    if (AfxGetApp() == nullptr) app = std::make_unique<CWinApp>("ColourTest");  // picking needs a thread
    ASSERT_TRUE(host.Make(640, 480));
  }
  void TearDown() override {
    host.DestroyWindow();
    app.reset();
    pictavo::test::PumpPending();
  }
  static void Paint(CWnd& wnd) {
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pictavo::test::PumpPending();
  }
  CColorHost host;
  std::unique_ptr<CWinApp> app;
};

}  // namespace colourtest
