// A bar of generated pictures in a host window on the headless display, and the means to drive it
// as a user would: the pointer is moved and clicked through the input layer and the test handles
// messages until what it waits for has happened.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/buttonbar/CoolButtonBar.h"
#include "tests/support/MessagePump.h"

namespace testing_buttonbar {

// The colour of each state picture; every pixel of a picture has it.
constexpr COLORREF kNormal = RGB(200, 200, 200);
constexpr COLORREF kHot = RGB(255, 220, 0);
constexpr COLORREF kPressed = RGB(0, 80, 200);
constexpr COLORREF kDisabled = RGB(90, 90, 90);
// What the host paints behind its statics.
constexpr COLORREF kHostBackground = RGB(0, 128, 0);

constexpr UINT kNotify = WM_APP + 0x76;
constexpr UINT kStaticId = 1239;
constexpr int kButtons = 5;
constexpr int kButtonWidth = 40;
constexpr int kBarHeight = 30;
constexpr POINT kHostOrigin{100, 100};  // desktop coordinates of the host's client area
constexpr POINT kBarOrigin{20, 30};     // the bar in the host
constexpr int kStaticWidth = 300;       // wider than the pictures (5 x 40)

struct Notification {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A top-level host that records the notifications it receives.
class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  HWND Hwnd() const { return m_hwnd; }
  std::vector<Notification> notifications;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
  HBRUSH m_brush = nullptr;
};

using pictavo::test::PumpUntil;

class BarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Button k's rectangle in the pictures (and in the bar).
  static RECT ButtonRect(int k);
  // The four state pictures, written once into a temporary folder.
  std::vector<CString> StatePaths() const;
  std::vector<RECT> Rects() const;
  std::vector<CString> Tips() const;

  // The bar over a static of the host (as the pages put it), initialised from the pictures.
  void SubclassBar();
  // The centre of button k in desktop coordinates.
  static POINT Centre(int k);
  static POINT Outside() { return POINT{kHostOrigin.x + 400, kHostOrigin.y + 150}; }
  // The host's pixel at a point of the bar.
  COLORREF BarPixel(POINT inBar) const;
  COLORREF ButtonPixel(int k) const;
  // Moves the pointer and handles what that caused.
  void MoveTo(POINT desktop);

  std::string m_folder;
  Host* m_host = nullptr;
  CCoolButtonBar* m_bar = nullptr;
};

}  // namespace testing_buttonbar
