// The main window on the sdl display under a real X server: its menu bar is on the screen, and a
// click on a menu opens it, both read back from the X server.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/display/Png.h"
#include "platform/gdi/Surface.h"
#include "shell/GeneralSettings.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/Snapshot.h"
#include "tests/support/Xvfb.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

// Waits for `done` with a guard that only ends a hopeless wait; false when it never came.
template <class F>
bool WaitFor(F done, int guardMs = 60000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(guardMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    usleep(20000);
  }
  return false;
}

int Luma(unsigned long c) {
  return static_cast<int>(((c & 0xFF) * 299 + ((c >> 8) & 0xFF) * 587 + ((c >> 16) & 0xFF) * 114) / 1000);
}

// How many pixels of a screen area are dark enough to be text.
int DarkPixels(::Display* x, int left, int top, int right, int bottom) {
  XImage* image =
      XGetImage(x, DefaultRootWindow(x), left, top, right - left, bottom - top, AllPlanes, ZPixmap);
  if (!image) return -1;
  int dark = 0;
  for (int py = 0; py < bottom - top; ++py)
    for (int px = 0; px < right - left; ++px) {
      const unsigned long p = XGetPixel(image, px, py);
      if (Luma(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)) < 110) ++dark;
    }
  XDestroyImage(image);
  return dark;
}

// The whole screen as a PNG for a person to look at.
void SaveScreen(::Display* x, const std::string& path) {
  const int w = DisplayWidth(x, DefaultScreen(x));
  const int h = DisplayHeight(x, DefaultScreen(x));
  XImage* image = XGetImage(x, DefaultRootWindow(x), 0, 0, w, h, AllPlanes, ZPixmap);
  if (!image) return;
  pictavo::gdi::Surface surface(w, h);
  for (int py = 0; py < h; ++py) {
    auto row = surface.Row(py);
    for (int px = 0; px < w; ++px) {
      const unsigned long p = XGetPixel(image, px, py);
      row[static_cast<size_t>(px)] =
          pictavo::gdi::PixelFromColor(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
  }
  XDestroyImage(image);
  pictavo::display::WritePng(surface, path);
}

class MainWindowXvfbTest : public RegistryFixture {};

}  // namespace

TEST_F(MainWindowXvfbTest, MenuBarShowsAndAClickOpensTheFileMenu) {
  if (!pictavo::test::XvfbServer::Installed())
    GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh)";
  pictavo::test::XvfbServer server;
  ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";

  const std::string ready = folder / "ready.png";
  const std::string done = folder / "done";
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "snapshot \"" << ready << "\"\n"
         << "wait-file \"" << done << "\" 120\n"
         << "command 32791\n";
  const pid_t program = StartProgram(folder.Path(), {}, script.str(), {},
                                     {"PICTAVO_DISPLAY=sdl", "DISPLAY=" + server.Display()});
  ASSERT_GT(program, 0);
  const bool started = WaitFor([&] { return fs::exists(ready); });

  ::Display* x = started ? XOpenDisplay(server.Display().c_str()) : nullptr;
  if (x != nullptr) {
    // The menu bar below the caption: its texts are dark marks on a light bar.
    EXPECT_TRUE(WaitFor([&] { return DarkPixels(x, 0, 20, 300, 38) > 40; }, 20000))
        << "no menu bar texts on the screen";
    const int before = DarkPixels(x, 0, 42, 200, 200);
    pictavo::test::ClickThroughX(x, 16, 28);
    // The File popup: its item texts appear below the bar.
    EXPECT_TRUE(WaitFor([&] { return DarkPixels(x, 0, 42, 200, 200) > before + 200; }, 20000))
        << "the File menu did not open";
    SaveScreen(x, pictavo::test::SnapshotPath("main-window-xvfb-file-menu.png"));
    pictavo::test::ClickThroughX(x, 16, 28);  // closes it again
    EXPECT_TRUE(WaitFor([&] { return DarkPixels(x, 0, 42, 200, 200) <= before + 20; }, 20000));
    XCloseDisplay(x);
  }
  std::ofstream(done) << "done";
  const int exitCode = WaitForExit(program);
  ASSERT_TRUE(started) << "the main window did not show";
  EXPECT_EQ(exitCode, 0);
}
