// A frame with two toolbars for the control buttons' tests: the same buttons go on both bars, so
// each has its twin, and the frame logs the commands the bars post to it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/FrameWnd.h"
#include "tests/support/MessagePump.h"
#include "toolkit/bars/PlxToolBar.h"

namespace pictavo::test {

// The bars' owner: every control command that reaches it is logged as (id, code).
class CommandLogFrame : public CFrameWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (lParam != 0) commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
  // How many logged commands have the id and the code.
  int Count(UINT id, int code) const {
    int n = 0;
    for (const auto& [i, c] : commands) n += i == id && c == code;
    return n;
  }
  std::vector<std::pair<UINT, int>> commands;
};

class TwinBarsFrame {
 public:
  explicit TwinBarsFrame(DWORD align2 = CBRS_ALIGN_TOP, CPoint at = CPoint(0, 0)) {
    frame.Create(nullptr, "Twin bars", WS_POPUP | WS_VISIBLE, CRect(at.x, at.y, at.x + 420, at.y + 200));
    for (CPlxToolBar* bar : {&top, &second}) {
      const DWORD align = bar == &top ? CBRS_ALIGN_TOP : align2;
      bar->Create(&frame, WS_CHILD | WS_VISIBLE | align | CBRS_SIZE_DYNAMIC, bar == &top ? 1001 : 1002);
      bar->m_dwStyle &= ~CBRS_GRIPPER;
      bar->SetBorders(0, 0, 0, 0);
    }
    ::SetActiveWindow(frame.m_hWnd);
  }
  ~TwinBarsFrame() {
    for (CPlxToolBar* bar : {&top, &second})
      if (bar->GetSafeHwnd() != nullptr) bar->DestroyWindow();
    if (frame.GetSafeHwnd() != nullptr) frame.DestroyWindow();
    PumpPending();
  }
  TwinBarsFrame(const TwinBarsFrame&) = delete;
  TwinBarsFrame& operator=(const TwinBarsFrame&) = delete;

  // Both bars laid out: the first along the top, the second below it (or down the left side).
  void Layout(int height = 30) {
    top.SetWindowPos(nullptr, 0, 0, 420, height, SWP_NOZORDER);
    if (second.IsHorizontal())
      second.SetWindowPos(nullptr, 0, height + 10, 420, height, SWP_NOZORDER);
    else
      second.SetWindowPos(nullptr, 0, 40, 30, 150, SWP_NOZORDER);
    top.AdjustLocations();
    second.AdjustLocations();
    PumpPending();
  }

  // A key as the message loop hands it on: the windows' PreTranslateMessage first.
  void Key(HWND target, UINT vk) {
    MSG msg{target, WM_KEYDOWN, vk, 0, 0, {}};
    if (!CWnd::WalkPreTranslateTree(frame.m_hWnd, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
    PumpPending();
  }
  // Typed characters, one WM_CHAR each.
  void Type(HWND target, const std::string& text) {
    for (const char ch : text) ::SendMessage(target, WM_CHAR, static_cast<unsigned char>(ch), 0);
    PumpPending();
  }

  CommandLogFrame frame;
  CPlxToolBar top;
  CPlxToolBar second;
};

}  // namespace pictavo::test
