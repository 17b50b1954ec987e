#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ControlFixture.h"

using namespace testing_user;
using pictavo::user::InjectMouseButton;
using pictavo::user::InjectMouseMove;
using pictavo::user::MouseButton;

namespace {

struct Scroll {
  WORD request;
  int pos;
  HWND bar;
};

class ScrollBarControl : public ControlTest {
 protected:
  // The parent scrolls as a program does: it moves the bar and reads the position back.
  void FollowScrolls(HWND target, UINT message = WM_VSCROLL) {
    Recorder::Get().Handle(target, message,
                           [this, message](HWND hwnd, WPARAM wParam, LPARAM lParam) -> LRESULT {
                             HWND bar = reinterpret_cast<HWND>(lParam);
                             const int kind = bar ? SB_CTL : (message == WM_VSCROLL ? SB_VERT : SB_HORZ);
                             HWND owner = bar ? bar : hwnd;
                             SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
                             GetScrollInfo(owner, kind, &info);
                             int pos = info.nPos;
                             switch (LOWORD(wParam)) {
                               case SB_LINEUP:
                                 pos -= 1;
                                 break;
                               case SB_LINEDOWN:
                                 pos += 1;
                                 break;
                               case SB_PAGEUP:
                                 pos -= static_cast<int>(info.nPage);
                                 break;
                               case SB_PAGEDOWN:
                                 pos += static_cast<int>(info.nPage);
                                 break;
                               case SB_THUMBTRACK:
                                 trackPositions.push_back(info.nTrackPos);
                                 pos = HIWORD(wParam);
                                 break;
                               case SB_THUMBPOSITION:
                                 pos = HIWORD(wParam);
                                 break;
                               default:
                                 break;
                             }
                             SetScrollPos(owner, kind, pos, TRUE);
                             scrolls.push_back(Scroll{LOWORD(wParam), GetScrollPos(owner, kind), bar});
                             if (onScroll) onScroll(LOWORD(wParam));
                             return 0;
                           });
  }
  std::vector<WORD> Requests() const {
    std::vector<WORD> out;
    for (const Scroll& s : scrolls) out.push_back(s.request);
    return out;
  }
  HWND MakeBar(int min, int max, UINT page) {
    HWND bar = Make(WC_SCROLLBAR, SBS_VERT, RECT{10, 10, 26, 210}, 90);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, min, max, page, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    return bar;
  }

  std::vector<Scroll> scrolls;
  std::vector<int> trackPositions;
  std::function<void(WORD)> onScroll;
};

TEST_F(ScrollBarControl, InfoIsClampedToTheRangeAndPage) {
  struct Case {
    int min, max;
    UINT page;
    int pos;
    UINT gotPage;
    int gotPos;
  };
  const Case cases[] = {
      {0, 100, 10, 50, 10, 50}, {0, 100, 10, 95, 10, 91}, {0, 100, 0, 150, 0, 100},
      {0, 100, 10, -5, 10, 0},  {0, 9, 20, 3, 10, 0},     {-10, 10, 5, -20, 5, -10},
  };
  HWND bar = Make(WC_SCROLLBAR, SBS_HORZ, RECT{10, 10, 210, 26}, 91);
  HWND window = MakeWindow(WS_CHILD | WS_VISIBLE | WS_VSCROLL, RECT{10, 40, 200, 200}, parent);
  for (HWND target : {bar, window}) {
    const int kind = target == bar ? SB_CTL : SB_VERT;
    for (const Case& c : cases) {
      SCROLLINFO set{sizeof set, SIF_ALL | SIF_DISABLENOSCROLL, c.min, c.max, c.page, c.pos, 0};
      EXPECT_EQ(SetScrollInfo(target, kind, &set, TRUE), c.gotPos);
      SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
      ASSERT_TRUE(GetScrollInfo(target, kind, &got));
      EXPECT_EQ(got.nMin, c.min);
      EXPECT_EQ(got.nMax, c.max);
      EXPECT_EQ(got.nPage, c.gotPage);
      EXPECT_EQ(got.nPos, c.gotPos);
      EXPECT_EQ(GetScrollPos(target, kind), c.gotPos);
    }
  }
  // The control's own messages.
  SendMessage(bar, SBM_SETRANGE, 5, 25);
  int min = 0, max = 0;
  SendMessage(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&min), reinterpret_cast<LPARAM>(&max));
  EXPECT_EQ(min, 5);
  EXPECT_EQ(max, 25);
  EXPECT_EQ(SendMessage(bar, SBM_SETPOS, 12, TRUE), 5);
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 12);
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 30, TRUE), 12);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 21);  // the page of 5 left from above
}

TEST_F(ScrollBarControl, ClicksOnArrowsAndTrackScroll) {
  HWND bar = MakeBar(0, 100, 10);
  FollowScrolls(parent);
  struct Case {
    POINT at;
    std::vector<WORD> requests;
    int pos;
  };
  const Case cases[] = {
      {{8, 195}, {SB_LINEDOWN, SB_ENDSCROLL}, 1},   // the down arrow
      {{8, 150}, {SB_PAGEDOWN, SB_ENDSCROLL}, 11},  // the track below the thumb
      {{8, 4}, {SB_LINEUP, SB_ENDSCROLL}, 10},      // the up arrow
      {{8, 17}, {SB_PAGEUP, SB_ENDSCROLL}, 0},      // the track above the thumb
  };
  for (const Case& c : cases) {
    scrolls.clear();
    // Clicks far apart in time would not pair up; moving away keeps them single clicks.
    Click(bar, c.at);
    InjectMouseMove(POINT{0, 0});
    PumpPending();
    EXPECT_EQ(Requests(), c.requests) << c.at.y;
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), c.pos) << c.at.y;
    for (const Scroll& s : scrolls) EXPECT_EQ(s.bar, bar);
  }
}

TEST_F(ScrollBarControl, DraggingTheThumbTracksThenSetsThePosition) {
  HWND bar = MakeBar(0, 100, 10);
  FollowScrolls(parent);
  RECT r;
  GetClientRect(bar, &r);
  InjectMouseMove(ScreenOf(bar, POINT{8, 20}));  // on the thumb at the top of the track
  InjectMouseButton(MouseButton::kLeft, true);
  for (int y = 40; y <= 100; y += 20) InjectMouseMove(ScreenOf(bar, POINT{8, y}));
  InjectMouseButton(MouseButton::kLeft, false);
  PumpPending();
  ASSERT_GE(scrolls.size(), 3u);
  EXPECT_EQ(scrolls.back().request, SB_ENDSCROLL);
  EXPECT_EQ(scrolls[scrolls.size() - 2].request, SB_THUMBPOSITION);
  int last = 0;
  for (size_t i = 0; i + 2 < scrolls.size(); ++i) {
    EXPECT_EQ(scrolls[i].request, SB_THUMBTRACK);
    EXPECT_GT(scrolls[i].pos, last);
    last = scrolls[i].pos;
  }
  // While dragging, the bar reported the dragged position as its track position.
  ASSERT_FALSE(trackPositions.empty());
  EXPECT_EQ(trackPositions.back(), last);
  // 80 pixels of a 168-pixel track whose thumb is 16 long: about half of the 91 positions.
  EXPECT_NEAR(GetScrollPos(bar, SB_CTL), 80 * 91 / (168 - 16), 2);
  EXPECT_EQ(scrolls[scrolls.size() - 2].pos, GetScrollPos(bar, SB_CTL));
}

TEST_F(ScrollBarControl, HeldArrowRepeats) {
  HWND bar = MakeBar(0, 100, 10);
  FollowScrolls(parent);
  int lines = 0;
  onScroll = [&](WORD request) {
    if (request == SB_LINEDOWN && ++lines == 3) InjectMouseButton(MouseButton::kLeft, false);
  };
  InjectMouseMove(ScreenOf(bar, POINT{8, 195}));
  InjectMouseButton(MouseButton::kLeft, true);
  ASSERT_TRUE(PumpUntil([&] { return !scrolls.empty() && scrolls.back().request == SB_ENDSCROLL; }));
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 3);
}

TEST_F(ScrollBarControl, KeysScrollAFocusedBar) {
  HWND bar = Make(WC_SCROLLBAR, SBS_VERT | WS_TABSTOP, RECT{10, 10, 26, 210}, 92);
  SetScrollRange(bar, SB_CTL, 0, 50, TRUE);
  FollowScrolls(parent);
  EXPECT_EQ(SendMessage(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  SetFocus(bar);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_UP);
  EXPECT_EQ(Requests(), (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL, SB_LINEUP,
                                           SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 1);
}

TEST_F(ScrollBarControl, WindowBarsComeAndGoWithTheRange) {
  HWND window = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 210, 160}, parent);
  RECT client;
  GetClientRect(window, &client);
  const LONG fullWidth = client.right;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 99, 20, 0, 0};
  SetScrollInfo(window, SB_VERT, &info, TRUE);
  EXPECT_TRUE(GetWindowLong(window, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, fullWidth - GetSystemMetrics(SM_CXVSCROLL));
  info.nMax = 10;  // the page shows it all
  SetScrollInfo(window, SB_VERT, &info, TRUE);
  EXPECT_FALSE(GetWindowLong(window, GWL_STYLE) & WS_VSCROLL);
  info.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(window, SB_VERT, &info, TRUE);
  EXPECT_TRUE(GetWindowLong(window, GWL_STYLE) & WS_VSCROLL);
  ShowScrollBar(window, SB_HORZ, TRUE);
  EXPECT_TRUE(GetWindowLong(window, GWL_STYLE) & WS_HSCROLL);
  ShowScrollBar(window, SB_BOTH, FALSE);
  EXPECT_FALSE(GetWindowLong(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(ScrollBarControl, WindowBarsAreDrawnAndOperated) {
  HWND window = MakeWindow(WS_CHILD | WS_VISIBLE | WS_VSCROLL, RECT{10, 10, 210, 160}, parent);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 99, 20, 0, 0};
  SetScrollInfo(window, SB_VERT, &info, TRUE);
  FollowScrolls(window);
  RECT client;
  GetClientRect(window, &client);
  // The thumb sits at the top of the track, under the up arrow.
  const POINT thumb{client.right + 8, 16 + 5};
  EXPECT_EQ(PixelAt(window, thumb), GetSysColor(COLOR_SCROLLBAR));
  Click(window, POINT{client.right + 8, client.bottom - 4});  // the down arrow
  EXPECT_EQ(Requests(), (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 1);
  for (const Scroll& s : scrolls) EXPECT_EQ(s.bar, nullptr);
  // A disabled bar refuses presses.
  EnableScrollBar(window, SB_VERT, ESB_DISABLE_BOTH);
  scrolls.clear();
  InjectMouseMove(POINT{0, 0});
  Click(window, POINT{client.right + 8, client.bottom - 4});
  EXPECT_TRUE(scrolls.empty());
}

}  // namespace
