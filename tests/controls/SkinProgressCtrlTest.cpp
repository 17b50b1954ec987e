#include <gtest/gtest.h>

#include <string>

#include "controls/SkinProgressCtrl.h"
#include "platform/display/Display.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"

namespace {

constexpr COLORREF kFrame = RGB(127, 157, 185);
constexpr COLORREF kFilled = RGB(100, 130, 210);
constexpr COLORREF kRest = RGB(220, 240, 230);

// Counts the paints the bar receives.
class CountingProgress : public CSkinProgressCtrl {
 public:
  int paints = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) ++paints;
    return CSkinProgressCtrl::WindowProc(message, wParam, lParam);
  }
};

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

class SkinProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pictavo::display::Initialize());
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "SkinProgressHost";
    if (!GetClassInfo(nullptr, wc.lpszClassName, &wc)) RegisterClass(&wc);
    m_host = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(m_host, nullptr);
    ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE, CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight),
                             CWnd::FromHandle(m_host), 100));
    UpdateWindow(m_host);
    Pump();
  }
  void TearDown() override {
    if (m_bar.GetSafeHwnd() != nullptr) m_bar.DestroyWindow();
    if (m_host != nullptr) DestroyWindow(m_host);
    Pump();
  }

  COLORREF Pixel(int x, int y) const {  // bar client coordinates
    pictavo::user::TopLevelWindow window;
    if (!pictavo::user::DescribeTopLevelWindow(m_host, &window) || !window.surface) return CLR_INVALID;
    return pictavo::gdi::ColorFromPixel(window.surface->Row(kTop + y)[static_cast<size_t>(kLeft + x)]);
  }
  // The filled part's width along the bar's top inner row (above any caption).
  int PaintedFill() const {
    int n = 0;
    for (int x = 1; x < kWidth - 1; ++x) n += Pixel(x, 1) == kFilled;
    return n;
  }

  static constexpr int kLeft = 20, kTop = 30, kWidth = 202, kHeight = 20;  // inner width 200
  HWND m_host = nullptr;
  CountingProgress m_bar;
};

TEST_F(SkinProgressTest, FillFollowsPositionWithinRange) {
  struct Case {
    int lower, upper, pos, fill;
  };
  const Case cases[] = {
      {0, 100, 0, 0},    {0, 100, 50, 100}, {0, 100, 100, 200}, {0, 1000, 333, 66},
      {-50, 50, 0, 100}, {10, 20, 15, 100}, {0, 3, 1, 66},      {0, 100, 25, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lower << ".." << c.upper << " at " << c.pos);
    m_bar.SetRange(c.lower, c.upper);
    m_bar.SetPos(c.pos + 1);  // moves the filled width so the next position repaints
    m_bar.SetPos(c.pos);
    m_bar.Invalidate();
    m_bar.UpdateWindow();
    Pump();
    EXPECT_EQ(PaintedFill(), c.fill);
    EXPECT_EQ(Pixel(0, 0), kFrame);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), kFrame);
    if (c.fill < 200) EXPECT_EQ(Pixel(kWidth - 2, 1), kRest);
  }
}

TEST_F(SkinProgressTest, RepaintsOnlyWhenTheFilledWidthChanges) {
  m_bar.SetRange(0, 1000);
  EXPECT_EQ(m_bar.SetPos(500), 0);
  const int afterFirst = m_bar.paints;
  EXPECT_GT(afterFirst, 0);
  EXPECT_EQ(m_bar.SetPos(504), 500);  // same pixel width: no repaint
  EXPECT_EQ(m_bar.paints, afterFirst);
  EXPECT_EQ(m_bar.SetPos(520), 504);
  EXPECT_EQ(m_bar.paints, afterFirst + 1);

  // A resize makes the next position repaint even when its width matches.
  m_bar.SetWindowPos(nullptr, 0, 0, kWidth, kHeight + 2, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  const int afterResize = m_bar.paints;
  m_bar.SetPos(520);
  EXPECT_EQ(m_bar.paints, afterResize + 1);
}

TEST_F(SkinProgressTest, SetPosWithoutWindowFails) {
  CSkinProgressCtrl unattached;
  EXPECT_EQ(unattached.SetPos(10), -1);
}

TEST_F(SkinProgressTest, EqualBoundsDrawNothing) {
  constexpr COLORREF kMarker = RGB(1, 2, 3);
  m_bar.SetRange(5, 5);
  CClientDC(&m_bar).FillSolidRect(0, 0, kWidth, kHeight, kMarker);
  m_bar.SetPos(5);
  m_bar.Invalidate();
  m_bar.UpdateWindow();
  Pump();
  EXPECT_EQ(Pixel(0, 0), kMarker);
  EXPECT_EQ(Pixel(kWidth / 2, kHeight / 2), kMarker);
}

TEST_F(SkinProgressTest, CaptionIsTheTextOrThePercentage) {
  char buffer[64] = {};
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);

  m_bar.SetText("Encoding");
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 8);
  EXPECT_STREQ(buffer, "Encoding");
  // A short buffer gets a prefix and the count copied.
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, 3, reinterpret_cast<LPARAM>(small)), 3);
  EXPECT_EQ(std::string(small, 3), "Enc");

  m_bar.SendMessage(WM_SETTEXT, 0, 0);  // NULL empties it
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
}

TEST_F(SkinProgressTest, CaptionChangesColourAcrossTheFillEdge) {
  // "100%" at the upper bound: text over the filled part drawn in the rest colour, so pixels of
  // neither fill colour are the caption's; with an empty bar the caption uses the filled colour.
  auto captionPixels = [&](COLORREF colour) {
    int n = 0;
    for (int y = 2; y < kHeight - 2; ++y)
      for (int x = 2; x < kWidth - 2; ++x) n += Pixel(x, y) == colour;
    return n;
  };
  m_bar.SetRange(0, 100);
  m_bar.SetPos(100);
  Pump();
  EXPECT_GT(captionPixels(kRest), 0);  // the caption over the fill
  m_bar.SetPos(0);
  Pump();
  EXPECT_GT(captionPixels(kFilled), 0);  // the caption over the rest
  EXPECT_EQ(PaintedFill(), 0);
}

}  // namespace
