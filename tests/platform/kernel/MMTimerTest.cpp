#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/kernel/CriticalSection.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/MMTimer.h"
#include "platform/kernel/Wait.h"

namespace {

using Clock = std::chrono::steady_clock;

LPTIMECALLBACK EventAsCallback(HANDLE event) {
  return reinterpret_cast<LPTIMECALLBACK>(event);
}

// Every timer runs on one thread in deadline order: once a later one-shot has fired, whatever
// was due before it has run (or was killed).
void LetTheTimerThreadCatchUp() {
  HANDLE fired = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  const UINT id = timeSetEvent(10, 1, EventAsCallback(fired), 0, TIME_ONESHOT | TIME_CALLBACK_EVENT_SET);
  ASSERT_NE(id, 0u);
  ASSERT_EQ(WaitForSingleObject(fired, INFINITE), WAIT_OBJECT_0);
  CloseHandle(fired);
}

struct Ticks {
  static constexpr int kWanted = 41;
  std::vector<Clock::time_point> at;  // the timer thread only, until done is set
  HANDLE done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  ~Ticks() { CloseHandle(done); }
};

void CALLBACK RecordTick(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* ticks = reinterpret_cast<Ticks*>(user);
  if (static_cast<int>(ticks->at.size()) == Ticks::kWanted) return;
  ticks->at.push_back(Clock::now());
  if (static_cast<int>(ticks->at.size()) == Ticks::kWanted) SetEvent(ticks->done);
}

}  // namespace

TEST(MultimediaTimer, PeriodicTimerKeepsItsPeriod) {
  Ticks ticks;
  ticks.at.reserve(Ticks::kWanted);
  ASSERT_EQ(timeBeginPeriod(5), TIMERR_NOERROR);
  const UINT id = timeSetEvent(50, 5, RecordTick, reinterpret_cast<DWORD_PTR>(&ticks), TIME_PERIODIC);
  ASSERT_NE(id, 0u);
  ASSERT_EQ(WaitForSingleObject(ticks.done, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
  timeEndPeriod(5);

  const double total = std::chrono::duration<double, std::milli>(ticks.at.back() - ticks.at.front()).count();
  const double mean = total / (Ticks::kWanted - 1);
  double worst = 0;
  for (size_t i = 1; i < ticks.at.size(); ++i) {
    const double interval = std::chrono::duration<double, std::milli>(ticks.at[i] - ticks.at[i - 1]).count();
    worst = std::max(worst, std::abs(interval - 50.0));
  }
  std::printf("50 ms timer: mean period %.3f ms, largest deviation of one period %.3f ms\n", mean, worst);
  EXPECT_GT(mean, 45.0);
  EXPECT_LT(mean, 60.0);
}

TEST(MultimediaTimer, EventTimersSignalTheirEvent) {
  for (UINT kind : {TIME_CALLBACK_EVENT_SET, TIME_CALLBACK_EVENT_PULSE}) {
    HANDLE tick = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    const UINT id = timeSetEvent(5, 5, EventAsCallback(tick), 0, TIME_PERIODIC | kind);
    ASSERT_NE(id, 0u);
    if (kind == TIME_CALLBACK_EVENT_SET) {
      for (int i = 0; i < 3; ++i) EXPECT_EQ(WaitForSingleObject(tick, INFINITE), WAIT_OBJECT_0);
    }
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    // A pulse reaches only waiters that wait at that moment; none did, so nothing stays set.
    if (kind == TIME_CALLBACK_EVENT_PULSE) {
      EXPECT_EQ(WaitForSingleObject(tick, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    CloseHandle(tick);
  }
}

TEST(MultimediaTimer, OneShotFiresOnceAndIsGone) {
  std::atomic<int> calls{0};
  HANDLE fired = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  struct Shot {
    std::atomic<int>* calls;
    HANDLE fired;
  } shot{&calls, fired};
  const UINT id = timeSetEvent(
      5, 1,
      [](UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
        auto* s = reinterpret_cast<Shot*>(user);
        ++*s->calls;
        SetEvent(s->fired);
      },
      reinterpret_cast<DWORD_PTR>(&shot), TIME_ONESHOT);
  ASSERT_NE(id, 0u);
  ASSERT_EQ(WaitForSingleObject(fired, INFINITE), WAIT_OBJECT_0);
  LetTheTimerThreadCatchUp();
  EXPECT_EQ(calls.load(), 1);
  EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM) << "a fired one-shot no longer exists";
  CloseHandle(fired);
}

namespace {
struct SelfKill {
  int stopAt;
  std::atomic<int> calls{0};
  MMRESULT result = MMSYSERR_ERROR;
  HANDLE done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  ~SelfKill() { CloseHandle(done); }
};
void CALLBACK KillsItself(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* probe = reinterpret_cast<SelfKill*>(user);
  if (++probe->calls == probe->stopAt) {
    probe->result = timeKillEvent(id);
    SetEvent(probe->done);
  }
}
}  // namespace

TEST(MultimediaTimer, CallbackMayKillItsOwnTimer) {
  SelfKill probe{3};
  const UINT id = timeSetEvent(2, 1, KillsItself, reinterpret_cast<DWORD_PTR>(&probe), TIME_PERIODIC);
  ASSERT_NE(id, 0u);
  ASSERT_EQ(WaitForSingleObject(probe.done, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(probe.result, TIMERR_NOERROR);
  LetTheTimerThreadCatchUp();
  EXPECT_EQ(probe.calls.load(), 3);
  EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);
}

namespace {
struct Slow {
  std::atomic<bool> inside{false};
  std::atomic<int> calls{0};
  HANDLE entered = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  ~Slow() { CloseHandle(entered); }
};
void CALLBACK SlowTick(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* slow = reinterpret_cast<Slow*>(user);
  slow->inside = true;
  ++slow->calls;
  SetEvent(slow->entered);
  std::this_thread::sleep_for(std::chrono::milliseconds(15));  // the callback's own work
  slow->inside = false;
}
}  // namespace

TEST(MultimediaTimer, KillFromAnotherThreadWaitsOutTheRunningCallback) {
  for (int round = 0; round < 5; ++round) {
    Slow slow;
    const UINT id = timeSetEvent(1, 1, SlowTick, reinterpret_cast<DWORD_PTR>(&slow), TIME_PERIODIC);
    ASSERT_NE(id, 0u);
    ASSERT_EQ(WaitForSingleObject(slow.entered, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    EXPECT_FALSE(slow.inside) << "returned while the callback ran";
    const int calls = slow.calls;
    LetTheTimerThreadCatchUp();
    EXPECT_EQ(slow.calls.load(), calls) << "a callback ran after the kill";
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);
  }
}

namespace {
struct Blocked {
  CRITICAL_SECTION section;
  HANDLE entered = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE finished = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  Blocked() { InitializeCriticalSection(&section); }
  ~Blocked() {
    DeleteCriticalSection(&section);
    CloseHandle(entered);
    CloseHandle(finished);
  }
};
void CALLBACK NeedsTheSection(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* blocked = reinterpret_cast<Blocked*>(user);
  SetEvent(blocked->entered);
  EnterCriticalSection(&blocked->section);
  LeaveCriticalSection(&blocked->section);
  SetEvent(blocked->finished);
}
}  // namespace

TEST(MultimediaTimer, KillDoesNotWaitForACallbackBlockedOnTheKillersSection) {
  Blocked blocked;
  EnterCriticalSection(&blocked.section);
  const UINT id = timeSetEvent(2, 1, NeedsTheSection, reinterpret_cast<DWORD_PTR>(&blocked), TIME_ONESHOT);
  ASSERT_NE(id, 0u);
  ASSERT_EQ(WaitForSingleObject(blocked.entered, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);  // would hang if it waited for the callback
  LeaveCriticalSection(&blocked.section);
  EXPECT_EQ(WaitForSingleObject(blocked.finished, INFINITE), WAIT_OBJECT_0);
}

TEST(MultimediaTimer, BadRequestsAreRefused) {
  HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  const struct {
    UINT delay;
    LPTIMECALLBACK callback;
    UINT flags;
  } bad[] = {
      {0, EventAsCallback(event), TIME_CALLBACK_EVENT_SET},
      {1000001, EventAsCallback(event), TIME_CALLBACK_EVENT_SET},
      {10, nullptr, TIME_PERIODIC},
      {10, EventAsCallback(event), TIME_CALLBACK_EVENT_SET | TIME_CALLBACK_EVENT_PULSE},
  };
  for (const auto& b : bad) EXPECT_EQ(timeSetEvent(b.delay, 1, b.callback, 0, b.flags), 0u) << b.delay;
  EXPECT_EQ(timeKillEvent(0), MMSYSERR_INVALPARAM);
  EXPECT_EQ(timeBeginPeriod(0), TIMERR_NOCANDO);
  TIMECAPS caps{};
  EXPECT_EQ(timeGetDevCaps(&caps, sizeof caps), TIMERR_NOERROR);
  EXPECT_LE(caps.wPeriodMin, 5u);
  EXPECT_GE(caps.wPeriodMax, 3000u);
  EXPECT_EQ(timeGetDevCaps(nullptr, sizeof caps), TIMERR_NOCANDO);
  EXPECT_EQ(timeGetDevCaps(&caps, 1), TIMERR_NOCANDO);
  CloseHandle(event);
}
