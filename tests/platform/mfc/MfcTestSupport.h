// What the framework's tests share: the headless display, the test resources, and a script of
// user steps played each time the test's thread is about to wait for messages with nothing to do
// (as the input script plays them), so modal loops are driven without sleeping.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <string>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/InputSynth.h"
#include "platform/kernel/Thread.h"
#include "platform/mfc/Afx.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/ThreadWindows.h"

namespace testing_mfc {

// Control ids of resources/test_mfc.xml.
enum : UINT {
  kFormDialog = 61000,
  kPageOneDialog = 61001,
  kPageTwoDialog = 61002,
  kBrokenDialog = 61003,
  kNameLabel = 61010,
  kName = 61011,
  kCountLabel = 61012,
  kCount = 61013,
  kKeep = 61014,
  kFirst = 61015,
  kSecond = 61016,
  kList = 61017,
  kCombo = 61018,
  kPageOneEdit = 61020,
  kPageTwoCheck = 61021,
  kPromptString = 61100,
};

class IdleScript {
 public:
  using Step = std::function<void()>;

  IdleScript() : m_thread(GetCurrentThreadId()) {
    pictavo::display::Headless()->SetIdleHandler([this](pictavo::user::IdleWait kind) -> DWORD {
      if (kind != pictavo::user::IdleWait::kGetMessage || GetCurrentThreadId() != m_thread) return INFINITE;
      if (m_steps.empty()) {
        // Out of steps with a loop still waiting: end it rather than hang (the test sees Done()).
        m_stuck = true;
        PostQuitMessage(0x5717);
        return 0;
      }
      if (m_steps.front().until) {
        // Waits for another thread's work, which wakes this one when it arrives.
        if (m_steps.front().until()) m_steps.pop_front();
        return 0;
      }
      Step step = std::move(m_steps.front().step);
      m_steps.pop_front();
      step();
      return 0;
    });
  }
  ~IdleScript() { pictavo::display::Headless()->SetIdleHandler(nullptr); }
  IdleScript(const IdleScript&) = delete;
  IdleScript& operator=(const IdleScript&) = delete;

  IdleScript& Then(Step step) {
    m_steps.push_back({std::move(step), nullptr});
    return *this;
  }
  // Stays at this step, idle after idle, until `condition` holds.
  IdleScript& Until(std::function<bool()> condition) {
    m_steps.push_back({nullptr, std::move(condition)});
    return *this;
  }
  IdleScript& Key(UINT virtualKey, UINT modifiers = 0) {
    return Then([=] { pictavo::display::PressKey(virtualKey, modifiers); });
  }
  IdleScript& Type(std::string text) {
    return Then([text] { pictavo::display::TypeText(text); });
  }
  bool Done() const { return m_steps.empty() && !m_stuck; }

 private:
  DWORD m_thread;
  struct Entry {
    Step step;
    std::function<bool()> until;
  };
  std::deque<Entry> m_steps;
  bool m_stuck = false;
};

// The id of the control with the focus, or 0.
inline int FocusId() {
  HWND focus = ::GetFocus();
  return focus ? ::GetDlgCtrlID(focus) : 0;
}

inline std::string TextOf(HWND hwnd) {
  char text[512] = {};
  ::GetWindowText(hwnd, text, sizeof text);
  return text;
}

class MfcTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool initialized = pictavo::display::Initialize();
    ASSERT_TRUE(initialized);
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
  void TearDown() override {
    pictavo::test::DestroyThreadWindows();
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    CWnd::DeleteTempMap();
  }
};

}  // namespace testing_mfc
