#include <gtest/gtest.h>

#include "platform/display/Display.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "render/SlideEncoder.h"
#include "shell/EncodeStatusView.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 60;

// Pixels of the view's client area that are not black.
int LitPixels(HWND host) {
  pictavo::user::TopLevelWindow window;
  if (!pictavo::user::DescribeTopLevelWindow(host, &window) || !window.surface) return -1;
  int lit = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (pictavo::gdi::ColorFromPixel(window.surface->Row(y)[static_cast<size_t>(x)]) != RGB(0, 0, 0)) ++lit;
  return lit;
}

TEST(EncodeStatusView, BlackWithoutAnEncoderAndTheRateWithOne) {
  ASSERT_TRUE(pictavo::display::Initialize());
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "StatusViewHost";
  if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
  HWND host = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                             nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  CEncodeStatusView view;
  ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight),
                          CWnd::FromHandle(host), 1));
  view.UpdateWindow();
  EXPECT_EQ(LitPixels(host), 0);

  // An encoder that has not started: no time has passed, and the rate is drawn all the same.
  CSlideEncoder encoder(0);
  view.SetEncoder(&encoder);
  view.Invalidate();
  view.UpdateWindow();
  EXPECT_GT(LitPixels(host), 0);

  view.DestroyWindow();
  DestroyWindow(host);
}

}  // namespace
