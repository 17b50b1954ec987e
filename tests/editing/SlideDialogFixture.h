// The slide dialogs on the headless display, opened the way the timeline opens them: modal, over
// the album options page's album. Each test gives the steps a user takes once the dialog shows;
// they run from a one-shot timer inside the dialog's modal loop, so the dialog is painted, and
// end with the button the user presses. Message boxes the steps cause are answered as given.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "modules/data/DVDImage.h"
#include "platform/user/Timer.h"
#include "shell/SkinMain.h"
#include "tests/editing/TimelineFixture.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace slidedialogtest {

inline std::function<WPARAM(HWND)> g_steps;  // returns the button that ends the dialog
// Steps for a dialog the first one opens (a recorder, a trimmer), taken once.
inline std::function<WPARAM(HWND)> g_nestedSteps;
inline WPARAM g_boxAnswer = IDNO;
inline HWND g_dialog = nullptr;
inline HHOOK g_stepsHook = nullptr;
inline int g_boxes = 0;

inline void CALLBACK RunSteps(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  const WPARAM button = g_steps ? g_steps(window) : IDCANCEL;
  PostMessage(window, WM_COMMAND, button, 0);
}

inline void CALLBACK RunNestedSteps(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  const auto steps = std::move(g_nestedSteps);
  g_nestedSteps = nullptr;
  PostMessage(window, WM_COMMAND, steps ? steps(window) : IDCANCEL, 0);
}

inline LRESULT CALLBACK WatchModals(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (g_dialog == nullptr) {
      g_dialog = window;
      SetTimer(window, 0x5eed, 1, RunSteps);
    } else if (window != g_dialog && g_nestedSteps) {
      SetTimer(window, 0x5eee, 1, RunNestedSteps);
    } else if (window != g_dialog && GetDlgItem(window, pictavo::user::kMessageBoxTextId) != nullptr) {
      ++g_boxes;
      PostMessage(window, WM_COMMAND, g_boxAnswer, 0);
    }
  }
  return CallNextHookEx(g_stepsHook, code, wParam, lParam);
}

class SlideDialogTest : public timelinetest::TimelineTest {
 protected:
  static void SetUpTestSuite() {
    TimelineTest::SetUpTestSuite();
    // The photo editor's pages and the previews' margins take the main skin's colours.
    g_skinMain.Load(timelinetest::Source("data").c_str(), "zel_en.xml", FALSE);
  }
  void SetUp() override {
    TimelineTest::SetUp();
    timelinetest::g_answer = 0;  // the steps press the button
    g_dialog = nullptr;
    g_boxes = 0;
    g_boxAnswer = IDNO;
    g_stepsHook = SetWindowsHookEx(WH_CBT, WatchModals, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    UnhookWindowsHookEx(g_stepsHook);
    g_steps = nullptr;
    g_nestedSteps = nullptr;
    TimelineTest::TearDown();
  }

  // Runs `dialog` modally with the user's steps; its result.
  template <class Dialog>
  INT_PTR Run(Dialog& dialog, std::function<WPARAM(HWND)> steps) {
    g_dialog = nullptr;
    g_steps = std::move(steps);
    return dialog.DoModal();
  }
};

// Control helpers for the steps.
inline void Click(HWND dialog, int id) {
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
              reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void Check(HWND dialog, int id, bool on) {
  SendMessage(GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
// A radio button clicked as the mouse does: the group's other buttons clear.
inline void ClickRadio(HWND dialog, int id, int first, int last) {
  for (int other = first; other <= last; ++other) Check(dialog, other, other == id);
  Click(dialog, id);
}
inline void Type(HWND dialog, int id, const std::string& text) {
  SetWindowText(GetDlgItem(dialog, id), text.c_str());  // sends EN_CHANGE as typing does
}
inline std::string Text(HWND dialog, int id) {
  char text[512] = {};
  GetWindowText(GetDlgItem(dialog, id), text, sizeof text);
  return text;
}
inline bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
inline bool Checked(HWND dialog, int id) {
  return SendMessage(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline void PickCombo(HWND dialog, int id, int row) {
  SendMessage(GetDlgItem(dialog, id), CB_SETCURSEL, row, 0);
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
              reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline std::string ComboText(HWND dialog, int id) {
  HWND combo = GetDlgItem(dialog, id);
  const auto row = static_cast<int>(SendMessage(combo, CB_GETCURSEL, 0, 0));
  if (row < 0) return "";
  char text[256] = {};
  SendMessage(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
  return text;
}
// The dialog as the user sees it, as a PNG under test-output; its path.
inline std::string SnapshotWindow(HWND window, const std::string& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect{};
  GetWindowRect(window, &rect);
  return pictavo::test::SaveDesktopArea(rect, name);
}

}  // namespace slidedialogtest
