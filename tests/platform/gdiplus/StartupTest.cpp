#include <gtest/gtest.h>

#include "platform/gdiplus/GdiPlus.h"

using namespace Gdiplus;

namespace {

TEST(GdiplusStartup, TokensPairWithShutdown) {
  GdiplusStartupInput input;
  EXPECT_EQ(input.GdiplusVersion, 1u);
  ULONG_PTR first = 0, second = 0;
  ASSERT_EQ(GdiplusStartup(&first, &input, nullptr), Ok);
  ASSERT_EQ(GdiplusStartup(&second, &input, nullptr), Ok);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  {
    SolidBrush brush(Color(255, 1, 2, 3));
    EXPECT_EQ(brush.GetLastStatus(), Ok);
  }
  // Objects can be made as long as one token is outstanding.
  GdiplusShutdown(first);
  {
    SolidBrush brush(Color::Black);
    EXPECT_EQ(brush.GetLastStatus(), Ok);
  }
  GdiplusShutdown(second);
  SolidBrush late(Color::Black);
  EXPECT_EQ(late.GetLastStatus(), GdiplusNotInitialized);
  EXPECT_EQ(late.nativeBrush, nullptr);
  // Shutting down an unknown or spent token changes nothing.
  GdiplusShutdown(second);
  GdiplusShutdown(12345);
}

TEST(GdiplusStartup, RejectsBadRecords) {
  ULONG_PTR token = 99;
  EXPECT_EQ(GdiplusStartup(nullptr, nullptr, nullptr), InvalidParameter);
  EXPECT_EQ(GdiplusStartup(&token, nullptr, nullptr), InvalidParameter);
  GdiplusStartupInput future;
  future.GdiplusVersion = 7;
  EXPECT_EQ(GdiplusStartup(&token, &future, nullptr), UnsupportedGdiplusVersion);
  EXPECT_EQ(token, 0u);
  // Without the background thread the caller needs the hooks, so it must take them.
  GdiplusStartupInput quiet(nullptr, TRUE, FALSE);
  EXPECT_EQ(GdiplusStartup(&token, &quiet, nullptr), InvalidParameter);
  GdiplusStartupOutput output{};
  ASSERT_EQ(GdiplusStartup(&token, &quiet, &output), Ok);
  ASSERT_NE(output.NotificationHook, nullptr);
  ASSERT_NE(output.NotificationUnhook, nullptr);
  ULONG_PTR hookToken = 0;
  EXPECT_EQ(output.NotificationHook(&hookToken), Ok);
  output.NotificationUnhook(hookToken);
  GdiplusShutdown(token);
}

}  // namespace
