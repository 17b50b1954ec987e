#include <gtest/gtest.h>

#include "controls/HintBitmapStatic.h"
#include "platform/display/Display.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "tests/support/HostWindow.h"

namespace {

constexpr COLORREF kLeftHalf = RGB(220, 40, 40);
constexpr COLORREF kRightHalf = RGB(40, 40, 220);
constexpr COLORREF kMarker = RGB(1, 2, 3);

class HintBitmapStaticTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  }
  void SetUp() override {
    m_host = pictavo::test::CreateHostWindow(700, 200);
    ASSERT_NE(m_host, nullptr);

    // A 500 x 60 banner: two halves of different colours.
    HDC screen = GetDC(nullptr);
    m_banner = CreateCompatibleBitmap(screen, 500, 60);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, m_banner);
    pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 250, 60}, kLeftHalf);
    pictavo::gdi::FillSolidRect(dc, RECT{250, 0, 500, 60}, kRightHalf);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  void TearDown() override {
    if (m_host != nullptr) DestroyWindow(m_host);
    Pump();
    DeleteObject(m_banner);
  }

  static void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  void Create(CHintBitmapStatic& banner, DWORD style, DWORD exStyle) {
    ASSERT_TRUE(banner.CreateEx(exStyle, "STATIC", "", WS_CHILD | WS_VISIBLE | style, CRect(20, 30, 140, 70),
                                CWnd::FromHandle(m_host), 1453));
    banner.UpdateWindow();
    Pump();
  }
  // Banner client coordinates.
  COLORREF Pixel(const CWnd& banner, int x, int y) const {
    pictavo::user::TopLevelWindow window;
    if (!pictavo::user::DescribeTopLevelWindow(m_host, &window) || !window.surface) return CLR_INVALID;
    POINT p{x, y};
    ::ClientToScreen(banner.GetSafeHwnd(), &p);
    return pictavo::gdi::ColorFromPixel(
        window.surface->Row(p.y - window.rect.top)[static_cast<size_t>(p.x - window.rect.left)]);
  }
  static CRect WindowRectInHost(const CWnd& banner) {
    CRect rect;
    banner.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, ::GetParent(banner.GetSafeHwnd()), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  HWND m_host = nullptr;
  HBITMAP m_banner = nullptr;
};

TEST_F(HintBitmapStaticTest, ClientAreaTakesTheBitmapSizeWhateverTheBorder) {
  struct Case {
    const char* name;
    DWORD style, exStyle;
  };
  const Case cases[] = {
      {"none", 0, 0},
      {"border", WS_BORDER, 0},
      {"client edge", 0, WS_EX_CLIENTEDGE},
      {"border and static edge", WS_BORDER, WS_EX_STATICEDGE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CHintBitmapStatic banner;
    Create(banner, c.style, c.exStyle);
    const CRect before = WindowRectInHost(banner);
    banner.SetBitmap(m_banner);
    banner.UpdateWindow();
    Pump();

    CRect client;
    banner.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 500);
    EXPECT_EQ(client.Height(), 60);
    EXPECT_EQ(WindowRectInHost(banner).TopLeft(), before.TopLeft());
    EXPECT_EQ(Pixel(banner, 0, 0), kLeftHalf);
    EXPECT_EQ(Pixel(banner, 249, 59), kLeftHalf);
    EXPECT_EQ(Pixel(banner, 250, 0), kRightHalf);
    EXPECT_EQ(Pixel(banner, 499, 59), kRightHalf);
    banner.DestroyWindow();
  }
}

TEST_F(HintBitmapStaticTest, WithoutBitmapKeepsItsSizeAndShowsTheButtonFace) {
  CHintBitmapStatic banner;
  Create(banner, WS_BORDER, 0);
  const CRect before = WindowRectInHost(banner);
  CClientDC(&banner).FillSolidRect(0, 0, 10, 10, kMarker);
  banner.SetBitmap(nullptr);
  banner.UpdateWindow();
  Pump();
  EXPECT_EQ(WindowRectInHost(banner), before);
  EXPECT_EQ(Pixel(banner, 0, 0), GetSysColor(COLOR_BTNFACE));

  // A banner that had a bitmap keeps the bitmap's size when it loses it.
  banner.SetBitmap(m_banner);
  const CRect sized = WindowRectInHost(banner);
  banner.SetBitmap(nullptr);
  banner.UpdateWindow();
  Pump();
  EXPECT_EQ(WindowRectInHost(banner), sized);
  EXPECT_EQ(Pixel(banner, 0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Pixel(banner, 499, 59), GetSysColor(COLOR_BTNFACE));
  banner.DestroyWindow();
}

}  // namespace
