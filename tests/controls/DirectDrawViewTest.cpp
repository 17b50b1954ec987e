// The frame presenter view: creation on a window without area fails (its users then draw with
// GDI), frames are stretched onto the window's client area, releasing is harmless twice.
#include <gtest/gtest.h>

#include <vector>

#include "controls/DirectDrawView.h"
#include "platform/display/Display.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"
#include "tests/support/HostWindow.h"

namespace {

class DirectDrawViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool initialized = pictavo::display::Initialize();
    ASSERT_TRUE(initialized);
  }
};

// A 24-bit bottom-up DIB of w x h in one colour.
struct Dib {
  Dib(int w, int h, COLORREF colour) : bits(static_cast<size_t>(w) * h * 3) {
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    for (size_t i = 0; i < bits.size(); i += 3) {
      bits[i] = GetBValue(colour);
      bits[i + 1] = GetGValue(colour);
      bits[i + 2] = GetRValue(colour);
    }
  }
  BITMAPINFO info{};
  std::vector<BYTE> bits;
};

TEST_F(DirectDrawViewTest, AWindowWithoutAreaGivesNoViewAndTheUserDrawsWithGdi) {
  HWND empty = pictavo::test::CreateHostWindow(0, 0);
  CDirectDrawView view;
  EXPECT_EQ(view.Create(empty, 0, 0), E_FAIL);
  EXPECT_FALSE(view.m_bCreated);
  EXPECT_EQ(view.Create(nullptr, 10, 10), E_FAIL);
  EXPECT_EQ(view.Present(), E_FAIL);
  view.Release();
  view.Release();
  DestroyWindow(empty);
}

TEST_F(DirectDrawViewTest, AFrameIsStretchedOntoTheWholeClientArea) {
  HWND host = pictavo::test::CreateHostWindow(128, 96);
  CDirectDrawView view;
  ASSERT_EQ(view.Create(host, 32, 24), 0);
  EXPECT_TRUE(view.m_bCreated);
  EXPECT_FALSE(view.IsSurfaceLost());
  EXPECT_TRUE(view.RestoreSurfaces());
  const Dib red(32, 24, RGB(220, 20, 20));
  const RECT rect{0, 0, 32, 24};
  EXPECT_EQ(view.DrawDIB(&rect, &rect, red.bits.data(), &red.info), 0);
  ASSERT_EQ(view.Present(), 0);
  HDC dc = GetDC(host);
  // Corners and middle of the window: the 32 x 24 frame covers all of its 128 x 96 pixels.
  for (const POINT p : {POINT{1, 1}, POINT{126, 94}, POINT{64, 48}})
    EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(220, 20, 20));
  ReleaseDC(host, dc);
  view.Release();
  EXPECT_FALSE(view.m_bCreated);
  EXPECT_EQ(view.Present(), E_FAIL);
  EXPECT_EQ(view.DrawDIB(&rect, &rect, red.bits.data(), &red.info), 0);  // draws nothing, no harm
  view.Release();
  DestroyWindow(host);
}

}  // namespace
