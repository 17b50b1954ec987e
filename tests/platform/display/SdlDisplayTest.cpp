// The sdl display on a real X server: an Xvfb started for the test, the program in a child
// process (this test binary again) with DISPLAY pointing at it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "Probe.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/display/SdlDisplay.h"
#include "platform/gdi/Surface.h"

// Last: the X headers define macros (None, True, Status) that would rename names above.
#include <X11/keysym.h>

#include "tests/support/Xvfb.h"

namespace {

constexpr COLORREF kRed = RGB(220, 30, 40);
constexpr COLORREF kBlue = RGB(20, 60, 210);
constexpr COLORREF kGreen = RGB(30, 190, 60);

// Handles messages until `condition` holds; false when it still does not after a guard time.
// The guard only ends a hopeless wait; a loaded machine (X server, parallel encodes) can be slow.
bool PumpUntil(const std::function<bool()>& condition, int guardMs = 30000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(guardMs);
  while (std::chrono::steady_clock::now() < deadline) {
    probe::PumpPending();
    if (condition()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return false;
}

COLORREF At(const pictavo::gdi::Surface& surface, int x, int y) {
  return pictavo::gdi::ColorFromPixel(surface.Row(y)[static_cast<size_t>(x)]) & 0xFFFFFF;
}

// What the X server shows at a point of the screen.
COLORREF ScreenAt(Display* x, int px, int py) {
  return static_cast<COLORREF>(pictavo::test::ScreenColorAt(x, px, py));
}

using pictavo::test::ClickThroughX;

// The program on the sdl display. Runs only as the child of the test below.
TEST(SdlChild, ShowsWindowsAndTakesInput) {
  if (!std::getenv("PICTAVO_SDL_CHILD")) GTEST_SKIP() << "run by SdlDisplay";
  // With a display at hand the sdl display is chosen unless another one is named.
  setenv("PICTAVO_DISPLAY", "", 1);
  ASSERT_TRUE(pictavo::display::Initialize());
  EXPECT_NE(pictavo::display::Sdl(), nullptr);
  setenv("PICTAVO_DISPLAY", "headless", 1);
  ASSERT_TRUE(pictavo::display::Initialize());
  EXPECT_NE(pictavo::display::Headless(), nullptr);
  setenv("PICTAVO_DISPLAY", "sdl", 1);
  ASSERT_TRUE(pictavo::display::Initialize());
  pictavo::display::SdlDisplay* sdl = pictavo::display::Sdl();
  ASSERT_NE(sdl, nullptr);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);

  const HWND window = probe::TopLevel("Sample", RECT{100, 80, 300, 230}, kRed);
  const HWND button = probe::Child(window, 101, RECT{20, 30, 80, 60}, kBlue);
  // What was drawn reaches the native window, and the screen at the window's place.
  EXPECT_TRUE(PumpUntil([&] {
    const auto shown = sdl->ReadBack(window);
    return shown && shown->Width() == 200 && shown->Height() == 150 && At(*shown, 5, 5) == kRed &&
           At(*shown, 30, 40) == kBlue;
  }));
  Display* x = XOpenDisplay(nullptr);
  ASSERT_NE(x, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(x, 105, 85) == kRed && ScreenAt(x, 130, 120) == kBlue; }))
      << std::hex << ScreenAt(x, 105, 85) << " " << ScreenAt(x, 130, 120);
  EXPECT_NE(ScreenAt(x, 99, 79), kRed);

  // A frame drawn by another thread reaches the screen through this one.
  std::thread([window] {
    HDC dc = GetDC(window);
    pictavo::gdi::FillSolidRect(dc, RECT{150, 100, 200, 150}, kGreen);
    ReleaseDC(window, dc);
  }).join();
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(x, 100 + 160, 80 + 110) == kGreen; }));

  // A click on the screen reaches the control under it, at the point clicked.
  ClickThroughX(x, 100 + 20 + 10, 80 + 30 + 5);
  EXPECT_TRUE(PumpUntil([&] { return !probe::Only({WM_LBUTTONDOWN}).empty(); }));
  auto clicks = probe::Only({WM_LBUTTONDOWN});
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].hwnd, button);
  EXPECT_EQ(clicks[0].lParam, MAKELPARAM(10, 5));

  // A key pressed on the screen: its key message, and its character once.
  const Window native = [&] {
    Window child = None;
    int wx = 0;
    int wy = 0;
    XTranslateCoordinates(x, DefaultRootWindow(x), DefaultRootWindow(x), 150, 150, &wx, &wy, &child);
    return child;
  }();
  for (int type : {KeyPress, KeyRelease}) {
    XEvent key{};
    key.xkey = XKeyEvent{type, 0, True, x,   native, DefaultRootWindow(x),      None, CurrentTime,
                         5,    5, 155,  155, 0,      XKeysymToKeycode(x, XK_a), True};
    XSendEvent(x, native, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &key);
  }
  XFlush(x);
  EXPECT_TRUE(PumpUntil([&] { return !probe::Only({WM_CHAR}).empty(); }));
  probe::PumpPending();
  const auto keys = probe::Only({WM_KEYDOWN});
  const auto chars = probe::Only({WM_CHAR});
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.front().wParam, static_cast<WPARAM>('A'));
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('a'));
  XCloseDisplay(x);

  // The input script plays on this display as on the headless one.
  std::vector<pictavo::display::ScriptStep> steps;
  pictavo::display::ScriptError error;
  ASSERT_TRUE(pictavo::display::ParseScript("wait-window Sample 5\nclick 101 3 4\n", &steps, &error));
  pictavo::display::ScriptOptions options;
  options.name = "sdl";
  options.onFailure = [](const std::string& message) {
    ADD_FAILURE() << message;
    PostQuitMessage(1);
  };
  options.onFinished = [] { PostQuitMessage(0); };
  ASSERT_TRUE(pictavo::display::PlayScript(std::move(steps), std::move(options)));
  EXPECT_EQ(probe::RunLoop(), 0);
  clicks = probe::Only({WM_LBUTTONDOWN});
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1].hwnd, button);
  EXPECT_EQ(clicks[1].lParam, MAKELPARAM(3, 4));
  DestroyWindow(window);
}

TEST(SdlDisplay, IsChosenOnlyWithADisplay) {
  struct Saved {
    const char* name;
    std::string value;
    bool set;
  };
  std::vector<Saved> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "PICTAVO_DISPLAY"}) {
    const char* value = std::getenv(name);
    saved.push_back(Saved{name, value ? value : "", value != nullptr});
  }
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("PICTAVO_DISPLAY", "", 1);
  EXPECT_TRUE(pictavo::display::Initialize());
  EXPECT_NE(pictavo::display::Headless(), nullptr);
  setenv("PICTAVO_DISPLAY", "sdl", 1);
  EXPECT_FALSE(pictavo::display::Initialize());
  EXPECT_NE(pictavo::display::Headless(), nullptr);  // the display in place stays
  for (const Saved& s : saved) {
    if (s.set)
      setenv(s.name, s.value.c_str(), 1);
    else
      unsetenv(s.name);
  }
}

TEST(SdlDisplay, TheSampleShowsInARealWindowUnderXvfb) {
  if (!pictavo::test::XvfbServer::Installed())
    GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh installs it)";
  pictavo::test::XvfbServer server;
  ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
  const std::string number = server.Display().substr(1);
  // A freshly started server on a loaded machine may refuse the very first client for a moment;
  // only that failure (no display could be opened) is tried again, everything else counts.
  probe::ChildResult child;
  for (int attempt = 0; attempt < 3; ++attempt) {
    child = probe::RunTestInChild(
        "SdlChild.ShowsWindowsAndTakesInput",
        {{"PICTAVO_SDL_CHILD", "1"}, {"DISPLAY", ":" + number}, {"PICTAVO_DISPLAY", "sdl"}});
    if (child.output.find("no display can be opened") == std::string::npos) break;
  }
  EXPECT_EQ(child.status, 0) << child.output;
  EXPECT_NE(child.output.find("[  PASSED  ] 1 test"), std::string::npos) << child.output;
}

}  // namespace
