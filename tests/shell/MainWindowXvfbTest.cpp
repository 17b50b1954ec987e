// The main window on the sdl display under a real X server: its menu bar is on the screen, and a
// click on a menu opens it, both read back from the X server.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The pixels of a screen area, row by row; empty when the screen cannot be read.
std::vector<unsigned long> Pixels(::Display* x, int left, int top, int right, int bottom) {
  std::vector<unsigned long> pixels;
  XImage* image =
      XGetImage(x, DefaultRootWindow(x), left, top, right - left, bottom - top, AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int py = 0; py < bottom - top; ++py)
    for (int px = 0; px < right - left; ++px) pixels.push_back(XGetPixel(image, px, py));
  XDestroyImage(image);
  return pixels;
}

// How many pixels of an area differ from an earlier picture of it.
int ChangedPixels(::Display* x, const std::vector<unsigned long>& before, int left, int top, int right,
                  int bottom) {
  const std::vector<unsigned long> now = Pixels(x, left, top, right, bottom);
  if (now.size() != before.size()) return -1;
  int changed = 0;
  for (size_t i = 0; i < now.size(); ++i) changed += now[i] != before[i] ? 1 : 0;
  return changed;
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
    // The area below the bar shows the file browser's tree: the popup is told by what it changes.
    std::vector<unsigned long> before;
    EXPECT_TRUE(WaitFor(
        [&] {
          const std::vector<unsigned long> now = Pixels(x, 0, 42, 200, 200);
          const bool settled = !before.empty() && now == before;
          before = now;
          return settled;
        },
        20000));
    pictavo::test::ClickThroughX(x, 16, 28);
    // The File popup: its items cover the area below the bar.
    EXPECT_TRUE(WaitFor([&] { return ChangedPixels(x, before, 0, 42, 200, 200) > 2000; }, 20000))
        << "the File menu did not open";
    SaveScreen(x, pictavo::test::SnapshotPath("main-window-xvfb-file-menu.png"));
    pictavo::test::ClickThroughX(x, 16, 28);  // closes it again
    EXPECT_TRUE(WaitFor([&] { return ChangedPixels(x, before, 0, 42, 200, 200) <= 20; }, 20000));
    XCloseDisplay(x);
  }
  std::ofstream(done) << "done";
  const int exitCode = WaitForExit(program);
  ASSERT_TRUE(started) << "the main window did not show";
  EXPECT_EQ(exitCode, 0);
}
