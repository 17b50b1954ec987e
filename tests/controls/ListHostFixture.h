// A visible host window with the shipped skin and language file loaded, for the tests of the
// list controls and the drag objects.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/gdi/Surface.h"
#include "platform/mfc/Afx.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"
#include "tests/support/MessagePump.h"

namespace pictavo::test {

inline std::string SourceDataFolder() {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/data";
}

// A window of the class library, so that it reflects owner-draw messages to its children; it keeps
// the program messages it receives (WM_USER and up).
class RecordingHost : public CWnd {
 public:
  std::vector<MSG> received;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= WM_USER && message < 0xC000)
      received.push_back(MSG{GetSafeHwnd(), message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ListHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin != nullptr ? bin : ".") + "/resources");
    pictavo::shell::SetLanguageRoot(SourceDataFolder());
    g_skinMinor.Load(SourceDataFolder().c_str(), "zel_en.xml", FALSE);
  }

  void SetUp() override {
    pictavo::user::InjectMouseMove(POINT{1010, 760});
    ASSERT_TRUE(
        m_host.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), "",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 800, 600, nullptr, nullptr));
    m_host.UpdateWindow();
    PumpPending();
  }

  void TearDown() override {
    if (::GetCapture() != nullptr) ::ReleaseCapture();
    if (m_host.GetSafeHwnd() != nullptr) m_host.DestroyWindow();
    PumpPending();
  }

  // Moves the mouse to a point of `wnd`'s client area.
  static void MoveTo(CWnd& wnd, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(wnd.GetSafeHwnd(), &p);
    pictavo::user::InjectMouseMove(p);
    PumpPending();
  }

  // A pixel of `wnd` as the screen shows it, in its client coordinates.
  COLORREF ScreenPixel(CWnd& wnd, int x, int y) const {
    pictavo::user::TopLevelWindow window;
    if (!pictavo::user::DescribeTopLevelWindow(m_host.GetSafeHwnd(), &window) || !window.surface)
      return CLR_INVALID;
    POINT p{x, y};
    ::ClientToScreen(wnd.GetSafeHwnd(), &p);
    return pictavo::gdi::ColorFromPixel(
        window.surface->Row(p.y - window.rect.top)[static_cast<size_t>(p.x - window.rect.left)]);
  }
  static void Repaint(CWnd& wnd) {
    wnd.Invalidate();
    wnd.UpdateWindow();
    PumpPending();
  }

  RecordingHost m_host;
};

}  // namespace pictavo::test
