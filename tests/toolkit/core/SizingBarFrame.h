// A test frame with dock bars on every side, holding sizing control bars in real dock rows, and
// the pointer moves and clicks a user would make on them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxSizingControlBar.h"

namespace pictavo::test {

// A frame that counts the bar context-menu requests its bars send it.
class CMenuCountingFrame : public CFrameWnd {
 public:
  int m_nMenuRequests = 0;
  HWND m_hwndMenuBar = nullptr;
  CPoint m_ptMenu;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && message == PLX_WM_TOOLBARMENU) {
      ++m_nMenuRequests;
      m_hwndMenuBar = reinterpret_cast<HWND>(wParam);
      m_ptMenu = CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

class SizingBarFrame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    // Tooltip texts, glyphs and cursors come from the program's resources beside the binaries.
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    if (PLX_WM_TOOLBARMENU == 0) PlxRegisterToolbarMessages();
  }
  void SetUp() override { MakeFrame(CRect(10, 10, 610, 410), 0); }
  void TearDown() override {
    if (m_frame.GetSafeHwnd() != nullptr) m_frame.DestroyWindow();
    PumpPending();
    m_bars.clear();
  }

  void MakeFrame(const CRect& rect, DWORD exStyle) {
    if (m_frame.GetSafeHwnd() != nullptr) m_frame.DestroyWindow();
    ASSERT_TRUE(m_frame.Create(nullptr, "Sizing bars", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect, nullptr,
                               nullptr, exStyle));
    m_frame.EnableDocking(CBRS_ALIGN_ANY);
  }

  // A bar with a caption docked on the side, in a new row, or in the row of `beside` after it.
  CPlxSizingControlBar* Dock(UINT nDockBarID, CSize size, CPlxSizingControlBar* beside = nullptr) {
    auto bar = std::make_unique<CPlxSizingControlBar>();
    const UINT id = 0xE900 + 0x100 + static_cast<UINT>(m_bars.size());
    if (!bar->Create("Bar", &m_frame, size, TRUE, id, WS_CHILD | CBRS_TOP)) return nullptr;
    bar->EnableDocking(CBRS_ALIGN_ANY);
    if (beside != nullptr) {
      CRect rect;
      beside->GetWindowRect(&rect);
      const CRect drop(rect.right - 1, rect.bottom - 2, rect.right, rect.bottom - 1);
      m_frame.DockControlBar(bar.get(), nDockBarID, &drop);
    } else {
      m_frame.DockControlBar(bar.get(), nDockBarID);
    }
    m_bars.push_back(std::move(bar));
    Settle();
    return m_bars.back().get();
  }

  // Lays the frame out now and handles what that posted (the delayed layout of moved rows).
  void Settle() {
    m_frame.RecalcLayout();
    PumpPending();
  }

  static CRect ScreenRect(CWnd* wnd) {
    CRect rect;
    wnd->GetWindowRect(&rect);
    return rect;
  }
  static int Length(CPlxSizingControlBar* bar) {
    const CRect rect = ScreenRect(bar);
    return bar->IsHorzDocked() ? rect.Width() : rect.Height();
  }

  // The pointer's moves and clicks, each handled before the next.
  static void MoveTo(CPoint point) {
    pictavo::user::InjectMouseMove(point);
    PumpPending();
  }
  static void Button(bool down) {
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, down);
    PumpPending();
  }
  // A click on the frame's free corner first, so that a press where the last one was is not
  // taken for the second half of a double click.
  void ForgetLastClick() {
    const CRect frame = ScreenRect(&m_frame);
    MoveTo(CPoint(frame.right - 3, frame.bottom - 3));
    Button(true);
    Button(false);
  }
  void Click(CPoint point) {
    ForgetLastClick();
    MoveTo(point);
    Button(true);
    Button(false);
  }
  // Two clicks in a row at the point, as fast as a hand double-clicks; handled together, since a
  // press on a caption starts a drag that waits for its release.
  void DoubleClick(CPoint point) {
    ForgetLastClick();
    MoveTo(point);
    for (bool down : {true, false, true, false})
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, down);
    PumpPending();
  }
  // Presses at `from`, moves in four steps to `to` and releases there.
  void Drag(CPoint from, CPoint to) {
    ForgetLastClick();
    MoveTo(from);
    Button(true);
    for (int i = 1; i <= 4; ++i) MoveTo(from + CSize((to.x - from.x) * i / 4, (to.y - from.y) * i / 4));
    Button(false);
  }
  // The middle of a caption button on the screen.
  static CPoint ButtonCentre(CPlxSizingControlBar* bar, int index) {
    return bar->m_Buttons[index].GetDrawRect().CenterPoint() + ScreenRect(bar).TopLeft();
  }
  // The middle of a visible edge strip on the screen.
  static CPoint EdgeCentre(CPlxSizingControlBar* bar, UINT nHitTest) {
    const CRect window = ScreenRect(bar);
    CRect edge;
    bar->GetEdgeRect(CRect(0, 0, window.Width(), window.Height()), nHitTest, edge);
    return bar->MirrorRect(edge).CenterPoint() + window.TopLeft();
  }

  CMenuCountingFrame m_frame;
  std::vector<std::unique_ptr<CPlxSizingControlBar>> m_bars;
};

}  // namespace pictavo::test
