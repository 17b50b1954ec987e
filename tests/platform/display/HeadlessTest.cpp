#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/InputSynth.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"

namespace {

using pictavo::display::HeadlessDisplay;
using pictavo::test::Picture;
using pictavo::test::PumpPending;
using pictavo::test::ReadPng;

// A window that paints itself in one colour.
struct Painted {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      pictavo::gdi::FillSolidRect(dc, client, static_cast<COLORREF>(GetWindowLongPtr(hwnd, GWLP_USERDATA)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    if (message == WM_LBUTTONDOWN || message == WM_CHAR || message == WM_LBUTTONDBLCLK) {
      Log().push_back({message, wParam});
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  static std::vector<std::pair<UINT, WPARAM>>& Log() {
    static std::vector<std::pair<UINT, WPARAM>> log;
    return log;
  }
  static HWND Make(const RECT& r, COLORREF color, DWORD exStyle = 0) {
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, "Painted", &wc)) {
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = Proc;
      wc.lpszClassName = "Painted";
      RegisterClass(&wc);
    }
    HWND hwnd = CreateWindowEx(exStyle, "Painted", "", WS_POPUP, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtr(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
  }
};

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + name)).string();
}

class Headless : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("PICTAVO_DISPLAY", "headless", 1);
    setenv("PICTAVO_DESKTOP", "640x480", 1);
    ASSERT_TRUE(pictavo::display::Initialize());
    display = pictavo::display::Headless();
    ASSERT_NE(display, nullptr);
    Painted::Log().clear();
  }
  void TearDown() override {
    for (HWND h : windows) DestroyWindow(h);
    PumpPending();
    unsetenv("PICTAVO_DESKTOP");
  }
  HWND Make(const RECT& r, COLORREF color, DWORD exStyle = 0) {
    windows.push_back(Painted::Make(r, color, exStyle));
    return windows.back();
  }

  HeadlessDisplay* display = nullptr;
  std::vector<HWND> windows;
};

TEST(DesktopSize, ParsesWidthByHeight) {
  struct Case {
    const char* text;
    bool ok;
    LONG cx, cy;
  };
  const Case cases[] = {{"1280x800", true, 1280, 800}, {"1x1", true, 1, 1},      {"640x", false, 0, 0},
                        {"x480", false, 0, 0},         {"0x480", false, 0, 0},   {"640*480", false, 0, 0},
                        {"640x480x2", false, 0, 0},    {"99999x10", false, 0, 0}};
  for (const Case& c : cases) {
    SIZE size{};
    EXPECT_EQ(pictavo::display::ParseDesktopSize(c.text, &size), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(size.cx, c.cx);
      EXPECT_EQ(size.cy, c.cy);
    }
  }
}

TEST_F(Headless, TheDesktopSizeComesFromTheEnvironment) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(desktop.right, 640);
  setenv("PICTAVO_DESKTOP", "wide", 1);
  EXPECT_FALSE(pictavo::display::Initialize());
  setenv("PICTAVO_DISPLAY", "teletype", 1);
  EXPECT_FALSE(pictavo::display::Initialize());
}

TEST_F(Headless, ASnapshotShowsThePaintedWindowsInZOrder) {
  const COLORREF red = RGB(200, 30, 30);
  const COLORREF blue = RGB(20, 40, 220);
  Make(RECT{100, 100, 300, 250}, red);
  HWND top = Make(RECT{200, 150, 400, 300}, blue);
  HWND hidden = Make(RECT{0, 0, 50, 50}, RGB(0, 255, 0));
  ShowWindow(hidden, SW_HIDE);
  PumpPending();
  const std::string path = TempPath("desktop.png");
  ASSERT_TRUE(display->SaveSnapshot(path));
  Picture picture;
  ASSERT_TRUE(ReadPng(path, &picture));
  EXPECT_EQ(picture.width, 640);
  EXPECT_EQ(picture.height, 480);
  const COLORREF desktop = GetSysColor(COLOR_DESKTOP);
  EXPECT_EQ(picture.At(150, 120), red);
  EXPECT_EQ(picture.At(250, 200), blue);  // the newer window is on top
  EXPECT_EQ(picture.At(350, 280), blue);
  EXPECT_EQ(picture.At(10, 10), desktop);
  EXPECT_EQ(picture.At(500, 400), desktop);
  // One window alone.
  const std::string one = TempPath("window.png");
  ASSERT_TRUE(display->SaveSnapshot(one, top));
  ASSERT_TRUE(ReadPng(one, &picture));
  EXPECT_EQ(picture.width, 200);
  EXPECT_EQ(picture.height, 150);
  EXPECT_EQ(picture.At(0, 0), blue);
  std::remove(path.c_str());
  std::remove(one.c_str());
}

TEST_F(Headless, ShapedWindowsShowOnlyTheirShape) {
  const COLORREF green = RGB(10, 180, 10);
  HWND tip = Make(RECT{100, 100, 200, 200}, green);
  SetWindowRgn(tip, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  PumpPending();
  auto desktop = display->Compose();
  auto at = [&](int x, int y) {
    return pictavo::gdi::ColorFromPixel(desktop->Row(y)[static_cast<size_t>(x)]);
  };
  EXPECT_EQ(at(150, 150), green);
  EXPECT_EQ(at(101, 101), GetSysColor(COLOR_DESKTOP));
}

TEST_F(Headless, SnapshotsThatCannotBeWrittenFailCleanly) {
  const std::string folder = TempPath("missing-folder");
  EXPECT_FALSE(display->SaveSnapshot(folder + "/x.png"));
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_FALSE(display->SaveSnapshot(TempPath("none.png"), reinterpret_cast<HWND>(0x7777)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Headless, ScriptedInputPlaysWhenTheThreadWaitsIdle) {
  HWND w = Make(RECT{100, 100, 200, 200}, RGB(1, 2, 3));
  PumpPending();
  std::vector<pictavo::user::IdleWait> kinds;
  int step = 0;
  display->SetIdleHandler([&](pictavo::user::IdleWait kind) -> DWORD {
    kinds.push_back(kind);
    switch (step++) {
      case 0:
        pictavo::display::Click(POINT{150, 150});
        break;
      case 1:
        pictavo::display::TypeText("Hi é");
        break;
      case 2:
        pictavo::display::Click(POINT{170, 170}, pictavo::user::MouseButton::kLeft, 2);
        break;
      default:
        PostQuitMessage(0);
        break;
    }
    return INFINITE;
  });
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  display->SetIdleHandler(nullptr);
  ASSERT_FALSE(kinds.empty());
  EXPECT_EQ(kinds.front(), pictavo::user::IdleWait::kGetMessage);
  std::vector<std::pair<UINT, WPARAM>> expected{{WM_LBUTTONDOWN, MK_LBUTTON},
                                                {WM_CHAR, 'H'},
                                                {WM_CHAR, 'i'},
                                                {WM_CHAR, ' '},
                                                {WM_CHAR, 0xE9},
                                                {WM_LBUTTONDOWN, MK_LBUTTON},
                                                {WM_LBUTTONDBLCLK, MK_LBUTTON}};
  EXPECT_EQ(Painted::Log(), expected);
  EXPECT_EQ(GetFocus(), w);
}

}  // namespace

TEST_F(Headless, BeepsAreCountedNotLost) {
  HeadlessDisplay* headless = pictavo::display::Headless();
  ASSERT_NE(headless, nullptr);
  const int before = headless->Beeps();
  MessageBeep(0);
  MessageBeep(MB_ICONASTERISK);
  EXPECT_EQ(headless->Beeps(), before + 2);
}
