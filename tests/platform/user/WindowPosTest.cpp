#include <gtest/gtest.h>

#include "Recorder.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

using namespace testing_user;

namespace {

class Geometry : public UserTest {};

const std::initializer_list<UINT> kPositionMessages{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED,
                                                    WM_MOVE, WM_SIZE};

TEST_F(Geometry, SetWindowPosSendsWhatTheChangeCallsFor) {
  struct Case {
    const char* name;
    int x, y, cx, cy;
    UINT flags;
    std::vector<UINT> messages;
  };
  const Case cases[] = {
      {"move", 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}},
      {"size",
       0,
       0,
       80,
       90,
       SWP_NOMOVE | SWP_NOZORDER,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
      {"both",
       1,
       2,
       3,
       4,
       SWP_NOZORDER,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}},
      {"frame",
       0,
       0,
       0,
       0,
       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}},
      {"no change", 10, 10, 50, 50, SWP_NOZORDER, {}},
      {"not asked",
       30,
       30,
       0,
       0,
       SWP_NOSIZE | SWP_NOZORDER | SWP_NOSENDCHANGING,
       {WM_WINDOWPOSCHANGED, WM_MOVE}},
  };
  HWND top = MakeWindow(WS_POPUP, RECT{0, 0, 300, 300});
  for (const Case& c : cases) {
    HWND child = MakeWindow(WS_CHILD, RECT{10, 10, 60, 60}, top);
    Recorder::Get().Clear();
    ASSERT_TRUE(SetWindowPos(child, nullptr, c.x, c.y, c.cx, c.cy, c.flags)) << c.name;
    EXPECT_EQ(Recorder::Get().Messages(child, kPositionMessages), c.messages) << c.name;
    DestroyWindow(child);
  }
}

TEST_F(Geometry, MoveAndSizeReportTheClientArea) {
  HWND top = MakeWindow(WS_POPUP, RECT{0, 0, 300, 300});
  HWND child = MakeWindow(WS_CHILD | WS_BORDER, RECT{10, 10, 60, 60}, top);
  Recorder::Get().Clear();
  MoveWindow(child, 20, 30, 100, 50, TRUE);
  Entry move{}, size{};
  ASSERT_TRUE(Recorder::Get().Last(child, WM_MOVE, &move));
  ASSERT_TRUE(Recorder::Get().Last(child, WM_SIZE, &size));
  EXPECT_EQ(GET_X_LPARAM(move.lParam), 21);  // the client origin, inside the 1-pixel border
  EXPECT_EQ(GET_Y_LPARAM(move.lParam), 31);
  EXPECT_EQ(LOWORD(size.lParam), 98);
  EXPECT_EQ(HIWORD(size.lParam), 48);
  EXPECT_EQ(size.wParam, static_cast<WPARAM>(SIZE_RESTORED));
}

TEST_F(Geometry, PositionChangingCanAdjustTheRequest) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 100, 100});
  Recorder::Get().Handle(w, WM_WINDOWPOSCHANGING, [](HWND, WPARAM, LPARAM lp) -> LRESULT {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
    pos->cx = std::min(pos->cx, 150);
    return 0;
  });
  SetWindowPos(w, nullptr, 0, 0, 400, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{0, 0, 150, 120}));
}

TEST_F(Geometry, FramesShrinkTheClientArea) {
  struct Case {
    DWORD style;
    DWORD exStyle;
    RECT inset;  // left, top, right, bottom
  };
  const Case cases[] = {
      {WS_POPUP, 0, {0, 0, 0, 0}},
      {WS_POPUP | WS_BORDER, 0, {1, 1, 1, 1}},
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, {3, 22, 3, 3}},
      {WS_OVERLAPPEDWINDOW, 0, {4, 23, 4, 4}},
      {WS_POPUP, WS_EX_CLIENTEDGE, {2, 2, 2, 2}},
      {WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {0, 0, 16, 16}},
  };
  for (const Case& c : cases) {
    HWND w = MakeWindow(c.style, RECT{50, 60, 250, 260}, nullptr, c.exStyle);
    RECT window, client;
    GetWindowRect(w, &window);
    GetClientRect(w, &client);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x - window.left, c.inset.left) << std::hex << c.style;
    EXPECT_EQ(origin.y - window.top, c.inset.top) << std::hex << c.style;
    EXPECT_EQ(window.right - (origin.x + client.right), c.inset.right) << std::hex << c.style;
    EXPECT_EQ(window.bottom - (origin.y + client.bottom), c.inset.bottom) << std::hex << c.style;
    RECT adjusted{0, 0, client.right, client.bottom};
    AdjustWindowRectEx(&adjusted, c.style, FALSE, c.exStyle);
    EXPECT_EQ(adjusted.right - adjusted.left, 200) << std::hex << c.style;
    EXPECT_EQ(adjusted.bottom - adjusted.top, 200) << std::hex << c.style;
    DestroyWindow(w);
  }
}

TEST_F(Geometry, CoordinatesMapThroughTheTree) {
  HWND top = MakeWindow(WS_POPUP | WS_BORDER, RECT{100, 50, 500, 450});
  HWND a = MakeWindow(WS_CHILD, RECT{10, 20, 200, 200}, top);
  HWND b = MakeWindow(WS_CHILD, RECT{5, 5, 100, 100}, a);
  struct Case {
    HWND from, to;
    POINT in, out;
  };
  const Case cases[] = {
      {b, nullptr, {0, 0}, {116, 76}},  // 100+1+10+5, 50+1+20+5
      {nullptr, b, {116, 76}, {0, 0}}, {b, a, {1, 2}, {6, 7}},
      {a, b, {6, 7}, {1, 2}},          {top, b, {15, 25}, {0, 0}},
  };
  for (const Case& c : cases) {
    POINT p = c.in;
    MapWindowPoints(c.from, c.to, &p, 1);
    EXPECT_EQ(p.x, c.out.x);
    EXPECT_EQ(p.y, c.out.y);
  }
  POINT p{0, 0};
  ClientToScreen(b, &p);
  EXPECT_EQ(p.x, 116);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 15);
  EXPECT_EQ(p.y, 25);
}

TEST_F(Geometry, PointLookupsFindTheDeepestWindow) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 400});
  HWND panel = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 200, 200}, top);
  HWND button = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 50}, panel);
  HWND hidden = MakeWindow(WS_CHILD, RECT{100, 100, 150, 150}, panel);
  HWND label = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{60, 10, 100, 50}, panel);
  Recorder::Get().Handle(label, WM_NCHITTEST, [](HWND, WPARAM, LPARAM) -> LRESULT { return HTTRANSPARENT; });
  struct Case {
    POINT screen;
    HWND expected;
  };
  const Case cases[] = {
      {{125, 125}, button}, {{115, 115}, panel}, {{215, 215}, panel},  // the hidden one is skipped
      {{175, 125}, panel},                                             // the transparent one lets through
      {{350, 350}, top},    {{50, 50}, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WindowFromPoint(c.screen), c.expected) << c.screen.x << "," << c.screen.y;
  EXPECT_EQ(ChildWindowFromPoint(panel, POINT{105, 105}), hidden);
  EXPECT_EQ(ChildWindowFromPointEx(panel, POINT{105, 105}, CWP_SKIPINVISIBLE), panel);
  EXPECT_EQ(ChildWindowFromPoint(panel, POINT{500, 5}), nullptr);
  EnableWindow(button, FALSE);
  EXPECT_EQ(WindowFromPoint(POINT{125, 125}), panel);
  EXPECT_EQ(ChildWindowFromPointEx(panel, POINT{15, 15}, CWP_SKIPDISABLED), panel);
}

TEST_F(Geometry, ShowWindowReportsTheOldVisibilityAndSendsWmShowWindowOnChange) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 50, 50});
  EXPECT_FALSE(ShowWindow(w, SW_HIDE));
  EXPECT_EQ(Recorder::Get().Count(w, WM_SHOWWINDOW), 0);
  EXPECT_FALSE(ShowWindow(w, SW_SHOWNA));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_NE(GetActiveWindow(), w);
  EXPECT_TRUE(ShowWindow(w, SW_SHOW));
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(Recorder::Get().Count(w, WM_SHOWWINDOW), 2);
}

TEST_F(Geometry, MaximizeAndRestore) {
  HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 240, 140});
  Recorder::Get().Clear();
  ShowWindow(w, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(w));
  Entry size{};
  ASSERT_TRUE(Recorder::Get().Last(w, WM_SIZE, &size));
  EXPECT_EQ(size.wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
  RECT client;
  GetClientRect(w, &client);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  // The frame lies outside the desktop; the caption and the client area fill it.
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN));
  WINDOWPLACEMENT placement{sizeof placement};
  GetWindowPlacement(w, &placement);
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(placement.rcNormalPosition, (RECT{40, 40, 240, 140}));
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{40, 40, 240, 140}));
  ASSERT_TRUE(Recorder::Get().Last(w, WM_SIZE, &size));
  EXPECT_EQ(size.wParam, static_cast<WPARAM>(SIZE_RESTORED));
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  ShowWindow(w, SW_RESTORE);
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{40, 40, 240, 140}));
}

TEST_F(Geometry, DeferredMovesApplyTogether) {
  HWND top = MakeWindow(WS_POPUP, RECT{0, 0, 300, 300});
  HWND a = MakeWindow(WS_CHILD, RECT{0, 0, 10, 10}, top);
  HWND b = MakeWindow(WS_CHILD, RECT{0, 0, 10, 10}, top);
  HDWP batch = BeginDeferWindowPos(2);
  batch = DeferWindowPos(batch, a, nullptr, 5, 6, 20, 20, SWP_NOZORDER);
  batch = DeferWindowPos(batch, b, nullptr, 50, 60, 30, 30, SWP_NOZORDER);
  RECT r;
  GetWindowRect(a, &r);
  EXPECT_EQ(r, (RECT{0, 0, 10, 10}));  // nothing moves before the end
  EXPECT_TRUE(EndDeferWindowPos(batch));
  GetWindowRect(b, &r);
  EXPECT_EQ(r, (RECT{50, 60, 80, 90}));
  // A bad window ends the whole batch.
  batch = BeginDeferWindowPos(1);
  DestroyWindow(b);
  EXPECT_EQ(DeferWindowPos(batch, b, nullptr, 0, 0, 1, 1, 0), nullptr);
  EXPECT_FALSE(EndDeferWindowPos(batch));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DWP_HANDLE));
}

TEST_F(Geometry, ZOrderKeepsTopmostWindowsAbove) {
  HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10});
  HWND tip = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10}, nullptr, WS_EX_TOPMOST);
  HWND b = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10});
  EXPECT_EQ(GetTopWindow(nullptr), tip);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(tip, GW_HWNDNEXT), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  SetWindowPos(tip, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLong(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetTopWindow(nullptr), b);
}

TEST_F(Geometry, DefaultPlacementCascadesTopLevelWindows) {
  HWND a = CreateWindowEx(0, RecorderClass(), "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                          nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowEx(0, RecorderClass(), "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                          nullptr, nullptr, nullptr, nullptr);
  RECT ra, rb;
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  EXPECT_GT(ra.right - ra.left, 100);
  EXPECT_NE(ra.left, rb.left);
  EXPECT_LE(ra.right, GetSystemMetrics(SM_CXSCREEN) + 200);
}

}  // namespace
