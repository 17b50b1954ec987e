// The window the controls under test live in: it records their notifications and scroll
// reports, answers them through a handler, and helpers pump messages until something happened.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/comctl/CommCtrl.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace testing_comctl {

class Host {
 public:
  // A visible, active top-level window at `rect` (screen coordinates).
  explicit Host(RECT rect = RECT{100, 100, 700, 560});
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  HWND Hwnd() const { return m_hwnd; }
  // A child control of the host.
  HWND Add(const char* className, DWORD style, RECT rect, UINT id = 1, DWORD exStyle = 0,
           const char* text = "");

  // Every WM_NOTIFY code received, in order.
  std::vector<UINT> codes;
  // WM_HSCROLL / WM_VSCROLL: (message, wParam).
  std::vector<std::pair<UINT, WPARAM>> scrolls;
  // Answers (and may record) each notification; 0 when unset.
  std::function<LRESULT(NMHDR*)> onNotify;
  // Sees every other message first; returning true stops it there.
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)> onMessage;

  int Count(UINT code) const;
  // The codes received that are in `only`, in order.
  std::vector<UINT> Only(std::initializer_list<UINT> only) const;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
};

using pictavo::test::PumpPending;
using pictavo::test::PumpUntil;

// Sets up the headless display and the control classes once; empties the queue after a test.
class ComctlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void TearDown() override;
};

// Mouse messages as the control would get them (client coordinates).
void Click(HWND hwnd, POINT pt, WPARAM keys = 0);
void RightClick(HWND hwnd, POINT pt);
void DoubleClick(HWND hwnd, POINT pt);
// Presses a key with modifiers held (MOD_SHIFT, MOD_CONTROL) through the input layer, so the
// key state the control reads is right, and handles the messages it makes.
void Press(UINT virtualKey, UINT modifiers = 0);

// A pixel of a top-level window's surface.
COLORREF Pixel(HWND topLevel, int x, int y);

}  // namespace testing_comctl
