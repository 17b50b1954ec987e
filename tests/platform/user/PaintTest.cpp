#include <gtest/gtest.h>

#include <mutex>

#include "Recorder.h"
#include "UiThread.h"
#include "platform/gdi/Gdi.h"

using namespace testing_user;

namespace {

class Painting : public UserTest {};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// WM_PAINT fills the whole client area with `color` (what reaches the surface is clipped).
void PaintWith(HWND hwnd, COLORREF* color, std::vector<RECT>* paints = nullptr) {
  Recorder::Get().Handle(hwnd, WM_PAINT, [color, paints](HWND h, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT client;
    GetClientRect(h, &client);
    pictavo::gdi::FillSolidRect(dc, client, *color);
    if (paints) paints->push_back(ps.rcPaint);
    EndPaint(h, &ps);
    return 0;
  });
}

TEST_F(Painting, InvalidationsCoalesceIntoOnePaint) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  COLORREF color = kRed;
  std::vector<RECT> paints;
  PaintWith(w, &color, &paints);
  PumpPending();
  paints.clear();
  const RECT parts[] = {{10, 10, 20, 20}, {50, 60, 70, 80}, {15, 5, 30, 12}};
  for (const RECT& r : parts) InvalidateRect(w, &r, FALSE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_EQ(update, (RECT{10, 5, 70, 80}));
  PumpPending();
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_EQ(paints[0], (RECT{10, 5, 70, 80}));
  EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
}

TEST_F(Painting, BeginPaintDrawsOnlyTheUpdateRegion) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  COLORREF color = kRed;
  PaintWith(w, &color);
  PumpPending();
  EXPECT_EQ(SurfacePixel(w, 50, 50), kRed);
  color = kBlue;
  const RECT small{10, 10, 20, 20};
  InvalidateRect(w, &small, FALSE);
  PumpPending();
  EXPECT_EQ(SurfacePixel(w, 15, 15), kBlue);
  EXPECT_EQ(SurfacePixel(w, 9, 15), kRed);
  EXPECT_EQ(SurfacePixel(w, 50, 50), kRed);
}

TEST_F(Painting, EraseComesBeforePaintWhenAskedFor) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  std::vector<BOOL> erased;
  Recorder::Get().Handle(w, WM_PAINT, [&](HWND h, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    erased.push_back(ps.fErase);
    EndPaint(h, &ps);
    return 0;
  });
  PumpPending();
  struct Case {
    BOOL erase;
    LRESULT eraseAnswer;
    int eraseMessages;
    BOOL fErase;
  };
  const Case cases[] = {{FALSE, 1, 0, FALSE}, {TRUE, 1, 1, FALSE}, {TRUE, 0, 1, TRUE}};
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    erased.clear();
    Recorder::Get().Handle(w, WM_ERASEBKGND, [&](HWND, WPARAM, LPARAM) -> LRESULT { return c.eraseAnswer; });
    InvalidateRect(w, nullptr, c.erase);
    PumpPending();
    EXPECT_EQ(Recorder::Get().Count(w, WM_ERASEBKGND), c.eraseMessages);
    ASSERT_EQ(erased.size(), 1u);
    EXPECT_EQ(erased[0], c.fErase);
    if (c.eraseMessages) {
      EXPECT_EQ(Recorder::Get().Messages(w, {WM_ERASEBKGND, WM_PAINT}),
                (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    }
  }
}

TEST_F(Painting, TheClassBrushErasesTheBackground) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 40, 40});
  PumpPending();
  EXPECT_EQ(SurfacePixel(w, 20, 20), GetSysColor(COLOR_WINDOW));
}

TEST_F(Painting, RedrawWindowFlags) {
  struct Case {
    const char* name;
    DWORD parentStyle;
    UINT flags;
    int parentPaints;  // before the queue is pumped
    int childPaints;
    int parentPaintsAfterPump;
    int childPaintsAfterPump;
  };
  const Case cases[] = {
      {"queued", 0, RDW_INVALIDATE, 0, 0, 1, 1},
      {"now", 0, RDW_INVALIDATE | RDW_UPDATENOW, 1, 1, 1, 1},
      {"clip children", WS_CLIPCHILDREN, RDW_INVALIDATE | RDW_UPDATENOW, 1, 0, 1, 0},
      {"all children", WS_CLIPCHILDREN, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW, 1, 1, 1, 1},
      {"no children", 0, RDW_INVALIDATE | RDW_NOCHILDREN, 0, 0, 1, 0},
      {"internal", WS_CLIPCHILDREN, RDW_INTERNALPAINT, 0, 0, 1, 0},
  };
  for (const Case& c : cases) {
    HWND parent = MakeWindow(WS_POPUP | WS_VISIBLE | c.parentStyle, RECT{0, 0, 100, 100});
    HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 50, 50}, parent);
    PumpPending();
    Recorder::Get().Clear();
    RedrawWindow(parent, nullptr, nullptr, c.flags);
    EXPECT_EQ(Recorder::Get().Count(parent, WM_PAINT), c.parentPaints) << c.name;
    EXPECT_EQ(Recorder::Get().Count(child, WM_PAINT), c.childPaints) << c.name;
    PumpPending();
    EXPECT_EQ(Recorder::Get().Count(parent, WM_PAINT), c.parentPaintsAfterPump) << c.name;
    EXPECT_EQ(Recorder::Get().Count(child, WM_PAINT), c.childPaintsAfterPump) << c.name;
    DestroyWindow(parent);
  }
}

TEST_F(Painting, ValidationCancelsAPendingPaint) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  PumpPending();
  Recorder::Get().Clear();
  InvalidateRect(w, nullptr, TRUE);
  ValidateRect(w, nullptr);
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(w, WM_PAINT), 0);
  const RECT part{0, 0, 10, 10};
  InvalidateRect(w, nullptr, FALSE);
  ValidateRect(w, &part);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(w, region, FALSE), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(region, 5, 5));
  EXPECT_TRUE(PtInRegion(region, 20, 5));
  DeleteObject(region);
}

TEST_F(Painting, UpdateWindowPaintsAtOnceAndFrameChangesRepaintTheFrame) {
  HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 200, 100});
  PumpPending();
  Recorder::Get().Clear();
  InvalidateRect(w, nullptr, FALSE);
  UpdateWindow(w);
  EXPECT_EQ(Recorder::Get().Count(w, WM_PAINT), 1);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Recorder::Get().Count(w, WM_NCPAINT), 1);
  // The caption is drawn in the active caption colour.
  EXPECT_EQ(SurfacePixel(w, 100, 8), GetSysColor(COLOR_ACTIVECAPTION));
}

TEST_F(Painting, AWindowThatOnlyValidatesGetsItsFrameAndOnePaint) {
  HWND w = MakeWindow(WS_POPUP | WS_BORDER, RECT{0, 0, 60, 60});
  Recorder::Get().Handle(w, WM_PAINT, [](HWND h, WPARAM, LPARAM) -> LRESULT {
    ValidateRect(h, nullptr);
    return 0;
  });
  ShowWindow(w, SW_SHOWNA);
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(w, WM_PAINT), 1);
  EXPECT_EQ(Recorder::Get().Count(w, WM_NCPAINT), 1);
  EXPECT_EQ(SurfacePixel(w, 0, 30), GetSysColor(COLOR_WINDOWFRAME));
}

TEST_F(Painting, SetRedrawOffDropsInvalidationAndDrawing) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 60, 60});
  COLORREF color = kRed;
  PaintWith(w, &color);
  PumpPending();
  SendMessage(w, WM_SETREDRAW, FALSE, 0);
  EXPECT_FALSE(IsWindowVisible(w));
  Recorder::Get().Clear();
  color = kBlue;
  InvalidateRect(w, nullptr, TRUE);
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(w, WM_PAINT), 0);
  HDC dc = GetDC(w);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 60, 60}, kGreen);
  ReleaseDC(w, dc);
  EXPECT_EQ(SurfacePixel(w, 30, 30), kRed);
  pictavo::user::TopLevelWindow shown;
  ASSERT_TRUE(pictavo::user::DescribeTopLevelWindow(w, &shown));
  EXPECT_TRUE(shown.visible);  // still on screen, as it was
  SendMessage(w, WM_SETREDRAW, TRUE, 0);
  EXPECT_TRUE(IsWindowVisible(w));
  InvalidateRect(w, nullptr, TRUE);
  PumpPending();
  EXPECT_EQ(SurfacePixel(w, 30, 30), kBlue);
}

TEST_F(Painting, LockWindowUpdateDropsDrawingUntilUnlocked) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND list = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, top);
  COLORREF color = kRed;
  PaintWith(list, &color);
  PumpPending();
  EXPECT_TRUE(LockWindowUpdate(list));
  EXPECT_FALSE(LockWindowUpdate(top));  // one window at a time
  HDC dc = GetDC(list);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 50, 50}, kGreen);
  ReleaseDC(list, dc);
  EXPECT_EQ(SurfacePixel(top, 10, 10), kRed);
  Recorder::Get().Clear();
  EXPECT_TRUE(LockWindowUpdate(nullptr));
  EXPECT_FALSE(LockWindowUpdate(nullptr));
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(list, WM_PAINT), 1);
}

TEST_F(Painting, WindowDCsHonourClipChildrenAndClipSiblings) {
  struct Case {
    DWORD parentStyle;
    DWORD siblingStyle;
    COLORREF overChild;
    COLORREF overSibling;
  };
  // The child (red) lies at 10..30, the sibling above the second child at 60..80.
  const Case cases[] = {
      {0, 0, kBlue, kBlue},
      {WS_CLIPCHILDREN, 0, kRed, kRed},
  };
  for (const Case& c : cases) {
    HWND top = MakeWindow(WS_POPUP | WS_VISIBLE | c.parentStyle, RECT{0, 0, 100, 100});
    HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 30, 30}, top);
    HWND sibling = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{60, 60, 80, 80}, top);
    COLORREF red = kRed;
    PaintWith(child, &red);
    PaintWith(sibling, &red);
    PumpPending();
    HDC dc = GetDC(top);
    pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 100, 100}, kBlue);
    ReleaseDC(top, dc);
    EXPECT_EQ(SurfacePixel(top, 20, 20), c.overChild);
    EXPECT_EQ(SurfacePixel(top, 70, 70), c.overSibling);
    DestroyWindow(top);
  }
  // A child that clips its siblings leaves out the ones above it.
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND upper = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, top);
  HWND lower = MakeWindow(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, RECT{25, 25, 75, 75}, top);
  COLORREF red = kRed;
  PaintWith(upper, &red);
  PumpPending();
  HDC dc = GetDC(lower);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 50, 50}, kGreen);
  ReleaseDC(lower, dc);
  EXPECT_EQ(SurfacePixel(top, 30, 30), kRed);
  EXPECT_EQ(SurfacePixel(top, 60, 60), kGreen);
}

// Records what the windows tell the display.
class RecordingDisplay : public pictavo::user::Display {
 public:
  SIZE DesktopSize() const override { return SIZE{1024, 768}; }
  void SurfaceChanged(HWND hwnd, const RECT& rect) override {
    std::lock_guard lock(m_lock);
    m_changes.emplace_back(hwnd, rect);
    m_threads.push_back(GetCurrentThreadId());
  }
  std::vector<std::pair<HWND, RECT>> Changes() const {
    std::lock_guard lock(m_lock);
    return m_changes;
  }
  std::vector<DWORD> Threads() const {
    std::lock_guard lock(m_lock);
    return m_threads;
  }

 private:
  mutable std::mutex m_lock;
  std::vector<std::pair<HWND, RECT>> m_changes;
  std::vector<DWORD> m_threads;
};

TEST_F(Painting, DrawingFromAWorkerReachesTheDisplayThroughTheWindowsThread) {
  auto display = std::make_shared<RecordingDisplay>();
  pictavo::user::SetDisplay(display);
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND view = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{20, 20, 80, 80}, top);
  PumpPending();
  const size_t before = display->Changes().size();
  std::thread renderer([view] {
    HDC dc = GetDC(view);
    pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 10, 10}, kGreen);
    ReleaseDC(view, dc);
    InvalidateRect(view, nullptr, FALSE);
  });
  renderer.join();
  EXPECT_EQ(SurfacePixel(top, 25, 25), kGreen);
  EXPECT_TRUE(PumpUntil([&] { return display->Changes().size() > before; }));
  const auto changes = display->Changes();
  EXPECT_EQ(changes[before].first, top);
  EXPECT_EQ(changes[before].second.left, 20);
  for (DWORD thread : display->Threads()) EXPECT_EQ(thread, GetCurrentThreadId());
  EXPECT_EQ(Recorder::Get().Count(view, WM_PAINT), 2);  // the first paint, and the worker's invalidation
  pictavo::user::SetDisplay(nullptr);
}

TEST_F(Painting, WindowRegionsShapeTheWindow) {
  HWND tip = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  SetWindowRgn(tip, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  pictavo::user::TopLevelWindow described;
  ASSERT_TRUE(pictavo::user::DescribeTopLevelWindow(tip, &described));
  EXPECT_FALSE(described.shape.empty());
  EXPECT_EQ(WindowFromPoint(POINT{150, 150}), tip);
  EXPECT_EQ(WindowFromPoint(POINT{101, 101}), nullptr);  // the corner is outside the ellipse
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(tip, copy), COMPLEXREGION);
  DeleteObject(copy);
}

TEST_F(Painting, ScreenDCExistsForMeasuring) {
  HDC screen = GetDC(nullptr);
  ASSERT_TRUE(screen);
  EXPECT_GT(GetDeviceCaps(screen, LOGPIXELSY), 0);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

}  // namespace
