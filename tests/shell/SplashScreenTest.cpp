// The splash window: shown only when enabled, centred, gone on the first key or button press
// that passes the main dialog's hook, or after its four seconds.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/kernel/Time.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "shell/SplashScreenWnd.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

namespace {

class SplashScreenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
  void SetUp() override { CSplashScreenWnd::EnableSplashScreen(TRUE); }
  void TearDown() override {
    if (CSplashScreenWnd* live = CSplashScreenWnd::GetLive()) live->DestroyWindow();
    CSplashScreenWnd::EnableSplashScreen(FALSE);
    pictavo::test::PumpPending();
  }
};

}  // namespace

TEST_F(SplashScreenTest, ShowsOnlyWhenEnabledAndOnlyOnce) {
  CSplashScreenWnd::EnableSplashScreen(FALSE);
  CSplashScreenWnd::ShowSplashScreen(nullptr);
  EXPECT_EQ(CSplashScreenWnd::GetLive(), nullptr);

  CSplashScreenWnd::EnableSplashScreen(TRUE);
  CSplashScreenWnd::ShowSplashScreen(nullptr);
  CSplashScreenWnd* live = CSplashScreenWnd::GetLive();
  ASSERT_NE(live, nullptr);
  CSplashScreenWnd::ShowSplashScreen(nullptr);
  EXPECT_EQ(CSplashScreenWnd::GetLive(), live);

  // Centred on the screen, topmost, the picture's size.
  CRect rect;
  live->GetWindowRect(&rect);
  const SIZE desktop = pictavo::user::GetDisplay()->DesktopSize();
  EXPECT_NEAR(rect.left + rect.Width() / 2, desktop.cx / 2, 1);
  EXPECT_NEAR(rect.top + rect.Height() / 2, desktop.cy / 2, 1);
  EXPECT_GT(rect.Width(), 100);
  EXPECT_TRUE(live->GetExStyle() & WS_EX_TOPMOST);
  pictavo::test::PumpPending();
  rect.InflateRect(12, 12);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(rect, "splash.png").empty());
}

TEST_F(SplashScreenTest, KeyAndButtonPressesCloseItAndAreDropped) {
  const UINT kClosing[] = {WM_KEYDOWN,     WM_SYSKEYDOWN,    WM_LBUTTONDOWN,   WM_RBUTTONDOWN,
                           WM_MBUTTONDOWN, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN};
  const UINT kPassing[] = {WM_MOUSEMOVE, WM_KEYUP, WM_CHAR, WM_LBUTTONUP, WM_TIMER, WM_PAINT};
  for (const UINT message : kClosing) {
    CSplashScreenWnd::ShowSplashScreen(nullptr);
    ASSERT_NE(CSplashScreenWnd::GetLive(), nullptr);
    for (const UINT passing : kPassing) {
      MSG msg{nullptr, passing, 0, 0};
      EXPECT_FALSE(CSplashScreenWnd::HideOnInput(&msg)) << passing;
    }
    EXPECT_NE(CSplashScreenWnd::GetLive(), nullptr);
    MSG msg{nullptr, message, 0, 0};
    EXPECT_TRUE(CSplashScreenWnd::HideOnInput(&msg)) << message;
    EXPECT_EQ(CSplashScreenWnd::GetLive(), nullptr) << message;
  }
  MSG msg{nullptr, WM_KEYDOWN, 0, 0};
  EXPECT_FALSE(CSplashScreenWnd::HideOnInput(&msg));  // no splash: the key goes on
}

TEST_F(SplashScreenTest, ShowsTheWaitCursorAndGoesAfterFourSeconds) {
  CSplashScreenWnd::ShowSplashScreen(nullptr);
  CSplashScreenWnd* live = CSplashScreenWnd::GetLive();
  ASSERT_NE(live, nullptr);
  CRect rect;
  live->GetWindowRect(&rect);
  pictavo::user::InjectMouseMove(rect.CenterPoint());
  pictavo::test::PumpPending();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  const DWORD start = GetTickCount();
  EXPECT_TRUE(pictavo::test::PumpUntil([] { return CSplashScreenWnd::GetLive() == nullptr; }, 8000));
  EXPECT_GE(GetTickCount() - start, 3500u);
}
