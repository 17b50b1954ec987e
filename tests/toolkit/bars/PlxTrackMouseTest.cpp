#include "toolkit/bars/PlxTrackMouse.h"

#include <gtest/gtest.h>

#include "platform/display/Display.h"
#include "platform/user/Cursor.h"
#include "platform/user/WindowPos.h"
#include "tests/support/MessagePump.h"
#include "tests/support/MessageWindow.h"

namespace {

class TrackMouseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    ASSERT_NE(window.Handle(), nullptr);
    SetWindowPos(window.Handle(), nullptr, 100, 100, 200, 150, SWP_NOZORDER | SWP_SHOWWINDOW);
    SetCursorPos(150, 150);
  }
  TRACKMOUSEEVENT Request(DWORD flags, DWORD size = sizeof(TRACKMOUSEEVENT)) {
    TRACKMOUSEEVENT track{};
    track.cbSize = size;
    track.dwFlags = flags;
    track.hwndTrack = window.Handle();
    return track;
  }
  // Waits for `ticks` of the tracking timer while counting WM_MOUSELEAVE.
  int LeavesDuringTicks(int ticks) {
    int timerTicks = 0, leaves = 0;
    MSG msg;
    window.WaitFor(WM_NULL, msg, 2000, [&](const MSG& seen) {
      if (seen.message == WM_MOUSELEAVE) ++leaves;
      if (seen.message == WM_TIMER && ++timerTicks == ticks) PostMessage(window.Handle(), WM_NULL, 0, 0);
    });
    return leaves;
  }

  pictavo::test::MessageWindow window;
};

}  // namespace

TEST_F(TrackMouseTest, RefusesShortRequestsDeadWindowsAndOtherFlags) {
  TRACKMOUSEEVENT shortOne = Request(TME_LEAVE, 15);
  EXPECT_FALSE(TrackMouseLeave(&shortOne));
  TRACKMOUSEEVENT hover = Request(0x1);
  EXPECT_FALSE(TrackMouseLeave(&hover));
  TRACKMOUSEEVENT dead = Request(TME_LEAVE);
  dead.hwndTrack = reinterpret_cast<HWND>(0x7777);
  EXPECT_FALSE(TrackMouseLeave(&dead));
  // None of them started a timer.
  EXPECT_FALSE(KillTimer(window.Handle(), TME_LEAVE));
  EXPECT_FALSE(KillTimer(window.Handle(), 0x1));
}

TEST_F(TrackMouseTest, OneLeaveAfterTheCursorGoes) {
  TRACKMOUSEEVENT track = Request(TME_LEAVE);
  ASSERT_TRUE(TrackMouseLeave(&track));
  // While the cursor stays over the client area, the timer ticks and nothing is posted.
  EXPECT_EQ(LeavesDuringTicks(2), 0);

  SetCursorPos(20, 20);
  MSG msg;
  ASSERT_TRUE(window.WaitFor(WM_MOUSELEAVE, msg, 2000));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(msg.lParam, 0);
  // The timer is gone: one request, one message.
  EXPECT_FALSE(KillTimer(window.Handle(), TME_LEAVE));
}

TEST_F(TrackMouseTest, ACoveringWindowCountsAsLeaving) {
  pictavo::test::MessageWindow cover;
  TRACKMOUSEEVENT track = Request(TME_LEAVE);
  ASSERT_TRUE(TrackMouseLeave(&track));
  SetWindowPos(cover.Handle(), HWND_TOP, 120, 120, 80, 80, SWP_SHOWWINDOW);
  MSG msg;
  ASSERT_TRUE(window.WaitFor(WM_MOUSELEAVE, msg, 2000));
}
