#include <gtest/gtest.h>

#include <algorithm>

#include "controls/LedDisplay.h"
#include "controls/SeekBar.h"
#include "platform/kernel/Event.h"
#include "tests/controls/ListHostFixture.h"
#include "tests/support/Canvas.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::ListHostTest;
using pictavo::test::PumpPending;

TEST(SeekBarGeometryTest, ValuesToPixels) {
  struct Case {
    unsigned width, thumb, pos, start, end, total;
    int rangeLeft, rangeWidth, thumbLeft;
  } const cases[] = {
      {300, 10, 0, 0, 1000, 1000, 0, 300, 0},
      {300, 10, 50, 250, 750, 1000, 75, 150, 150},
      {300, 10, 100, 0, 0, 1000, 0, 0, 290},  // the thumb stays inside the bar
      {300, 10, 99, 900, 1000, 1000, 270, 30, 290},
      {300, 10, 10, 500, 400, 1000, 150, 0, 30},  // an end before the start paints no range
  };
  for (const Case& c : cases) {
    const CSeekBar::Geometry g = CSeekBar::Measure(c.width, c.thumb, c.pos, c.start, c.end, c.total);
    EXPECT_EQ(g.rangeLeft, c.rangeLeft);
    EXPECT_EQ(g.rangeWidth, c.rangeWidth);
    EXPECT_EQ(g.thumbLeft, c.thumbLeft);
  }
}

TEST(LedGeometryTest, SizesAndCharacterAdvances) {
  const LedGeometry g = LedGeometry::FromHeight(40, TRUE, 10);
  EXPECT_EQ(g.thickness, 1);  // 32 x 0.06
  EXPECT_EQ(g.length, 11);
  const std::vector<int> lefts = g.CharacterLefts("12:34");
  EXPECT_EQ(lefts, (std::vector<int>{0, 15, 27, 39, 54}));
  const LedGeometry big = LedGeometry::FromHeight(100, FALSE, 10);
  EXPECT_EQ(big.thickness, 6);
  EXPECT_EQ(big.length, 35);
  EXPECT_EQ(LedGeometry::FromHeight(2, TRUE, 10).thickness, 1);  // never below a pixel
  EXPECT_EQ(LedGeometry::SegmentMask('8'), 0xFE);
  EXPECT_EQ(LedGeometry::SegmentMask('-'), 0x02);
  EXPECT_EQ(LedGeometry::SegmentMask(' '), 0);
}

class SeekBarLedTest : public ListHostTest {
 protected:
  void Click(CWnd& wnd, int x, int y, pictavo::user::MouseButton button) {
    MoveTo(wnd, x, y);
    pictavo::user::InjectMouseButton(button, true);
    PumpPending();
    pictavo::user::InjectMouseButton(button, false);
    PumpPending();
  }
};

TEST_F(SeekBarLedTest, SeekBarClickSetsThePositionAndTellsTheParent) {
  CSeekBar bar;
  ASSERT_TRUE(bar.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 20, 320, 40), &m_host, 1500));
  Click(bar, 75, 10, pictavo::user::MouseButton::kLeft);
  EXPECT_EQ(bar.GetPos(), 25u);
  MSG msg{};
  ASSERT_TRUE(PeekMessage(&msg, m_host.GetSafeHwnd(), WM_SEEKBAR_CLICK, WM_SEEKBAR_CLICK, PM_NOREMOVE) ||
              std::any_of(m_host.received.begin(), m_host.received.end(),
                          [](const MSG& m) { return m.message == WM_SEEKBAR_CLICK && m.wParam == 25; }));
  // Without the parent's bitmaps the bar is its face colour.
  Repaint(bar);
  EXPECT_EQ(ScreenPixel(bar, 150, 10), static_cast<COLORREF>(0xD8E9EC));
  bar.DestroyWindow();
}

TEST_F(SeekBarLedTest, LedClicksStepWithinTheRangeAndShowTheFormat) {
  CLedDisplay led;
  ASSERT_TRUE(led.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 60, 220, 100), &m_host, 1501));
  led.SetValue(100.0f);
  Click(led, 50, 20, pictavo::user::MouseButton::kRight);  // up at the maximum
  EXPECT_EQ(led.GetValue(), 100.0f);
  EXPECT_EQ(led.GetText(), "100");
  led.SetValue(0.0f);
  Click(led, 50, 20, pictavo::user::MouseButton::kLeft);  // down at the minimum
  EXPECT_EQ(led.GetValue(), 0.0f);
  EXPECT_EQ(led.GetText(), "000");
  led.SetValue(50.0f);
  Click(led, 50, 20, pictavo::user::MouseButton::kRight);
  EXPECT_EQ(led.GetText(), "051");

  // A left drag moves by whole pixels; the last movement decides whether the release is a click.
  MoveTo(led, 50, 20);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  PumpPending();
  MoveTo(led, 60, 20);
  EXPECT_EQ(led.GetValue(), 61.0f);
  MoveTo(led, 60, 30);  // purely vertical: delta 0
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  PumpPending();
  EXPECT_EQ(led.GetValue(), 60.0f);
  EXPECT_EQ(::GetCapture(), nullptr);
  led.DestroyWindow();
}

TEST_F(SeekBarLedTest, LedPaintsLitSegmentsOfTheText) {
  CLedDisplay led;
  ASSERT_TRUE(led.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 120, 220, 220), &m_host, 1502));
  led.m_bShowUnlit = 0;
  led.SetInt(1, TRUE, "%d");
  Repaint(led);
  const LedGeometry& g = led.GetGeometry();
  // '1' lights b and c only: the right column, not the top bar.
  const int t = g.thickness, L = g.length;
  EXPECT_EQ(ScreenPixel(led, t + L, L), RGB(0x64, 0xFF, 0x64));
  EXPECT_EQ(ScreenPixel(led, (2 * t + L) / 2, t), RGB(0, 0, 0));
  led.DestroyWindow();
}

TEST_F(SeekBarLedTest, PreviewStaticShowsTheHintOnlyWhileNothingPlays) {
  HANDLE render = ::CreateEvent(nullptr, TRUE, TRUE, nullptr);
  HANDLE menu = ::CreateEvent(nullptr, TRUE, FALSE, nullptr);
  CPreviewStatusStatic idle(&render, &menu, FALSE);
  ASSERT_TRUE(idle.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(20, 240, 420, 340), &m_host, 1503));
  {
    CClientDC frame(&idle);  // what a preview frame left there
    frame.FillSolidRect(0, 0, 400, 100, RGB(10, 20, 30));
  }
  Repaint(idle);
  EXPECT_EQ(ScreenPixel(idle, 5, 5), RGB(10, 20, 30));  // playing: the frame stays
  ::SetEvent(menu);
  Repaint(idle);
  EXPECT_EQ(ScreenPixel(idle, 5, 5), RGB(0, 0, 0));
  int white = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 400; ++x) white += ScreenPixel(idle, x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 30);
  idle.DestroyWindow();
  ::CloseHandle(render);
  ::CloseHandle(menu);
}

}  // namespace
