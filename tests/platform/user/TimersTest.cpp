#include <gtest/gtest.h>

#include <map>

#include "Recorder.h"
#include "UiThread.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

using namespace testing_user;

namespace {

class Timers : public UserTest {};

std::vector<WPARAM> TimerIds(HWND w) {
  std::vector<WPARAM> ids;
  for (const Entry& e : Recorder::Get().Entries())
    if (e.hwnd == w && e.message == WM_TIMER) ids.push_back(e.wParam);
  return ids;
}

int CountOf(const std::vector<WPARAM>& ids, WPARAM id) {
  return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

TEST_F(Timers, TheShorterTimerComesFirstAndAKilledOneStops) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  EXPECT_EQ(SetTimer(w, 1, 60, nullptr), 1u);
  EXPECT_EQ(SetTimer(w, 2, 10, nullptr), 2u);
  ASSERT_TRUE(PumpUntil([&] { return !TimerIds(w).empty(); }));
  EXPECT_EQ(TimerIds(w).front(), 2u);
  ASSERT_TRUE(PumpUntil([&] { return CountOf(TimerIds(w), 2) >= 3; }));
  EXPECT_TRUE(KillTimer(w, 2));
  const int killedAt = CountOf(TimerIds(w), 2);
  ASSERT_TRUE(PumpUntil([&] { return CountOf(TimerIds(w), 1) >= 2; }));
  EXPECT_EQ(CountOf(TimerIds(w), 2), killedAt);
  EXPECT_FALSE(KillTimer(w, 2));
  EXPECT_TRUE(KillTimer(w, 1));
}

TEST_F(Timers, SettingAnIdAgainReplacesTheTimer) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  EXPECT_EQ(SetTimer(w, 5, 10, nullptr), 5u);
  EXPECT_EQ(SetTimer(w, 5, 10, nullptr), 5u);
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(KillTimer(w, 5));
}

struct CallbackLog {
  static std::vector<std::pair<HWND, UINT_PTR>>& Calls() {
    static std::vector<std::pair<HWND, UINT_PTR>> calls;
    return calls;
  }
  static void CALLBACK Proc(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
    EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
    Calls().emplace_back(hwnd, id);
  }
};

TEST_F(Timers, CallbacksRunInsteadOfTheWindowProcedure) {
  CallbackLog::Calls().clear();
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  EXPECT_EQ(SetTimer(w, 9, 10, CallbackLog::Proc), 9u);
  const UINT_PTR threadTimer = SetTimer(nullptr, 0, 10, CallbackLog::Proc);
  EXPECT_NE(threadTimer, 0u);
  auto seen = [&](HWND h, UINT_PTR id) {
    for (auto& c : CallbackLog::Calls())
      if (c.first == h && c.second == id) return true;
    return false;
  };
  ASSERT_TRUE(PumpUntil([&] { return seen(w, 9) && seen(nullptr, threadTimer); }));
  EXPECT_EQ(Recorder::Get().Count(w, WM_TIMER), 0);
  EXPECT_TRUE(KillTimer(nullptr, threadTimer));
  // A WM_TIMER taken out before its timer was killed no longer calls back.
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_TIMER), WAIT_OBJECT_0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  KillTimer(w, 9);
  const size_t before = CallbackLog::Calls().size();
  DispatchMessage(&msg);
  EXPECT_EQ(CallbackLog::Calls().size(), before);
}

TEST_F(Timers, TimersBelongToTheWindowsThread) {
  UiThread worker([] { return MakeWindow(WS_POPUP, RECT{0, 0, 10, 10}); });
  EXPECT_EQ(SetTimer(worker.Window(), 1, 10, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(Timers, ADestroyedWindowsTimersAreGone) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  SetTimer(w, 1, 10, nullptr);
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_TIMER), WAIT_OBJECT_0);  // due now
  DestroyWindow(w);
  EXPECT_FALSE(KillTimer(w, 1));
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

}  // namespace
