#include "platform/kernel/MMTimer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/kernel/Event.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/ThreadBlocking.h"
#include "platform/kernel/Time.h"

namespace pictavo::kernel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kShortestPeriod = 1;
constexpr UINT kLongestPeriod = 1000000;
constexpr UINT kCallbackKinds = TIME_CALLBACK_EVENT_SET | TIME_CALLBACK_EVENT_PULSE;

struct Timer {
  Clock::time_point due;
  Clock::duration period;
  bool periodic;
  UINT kind;
  LPTIMECALLBACK callback;
  DWORD_PTR user;
};

void Fire(UINT id, const Timer& timer) {
  switch (timer.kind) {
    case TIME_CALLBACK_EVENT_SET:
      SetEvent(reinterpret_cast<HANDLE>(timer.callback));
      break;
    case TIME_CALLBACK_EVENT_PULSE:
      PulseEvent(reinterpret_cast<HANDLE>(timer.callback));
      break;
    default:
      timer.callback(id, 0, timer.user, 0, 0);
      break;
  }
}

// The one thread that serves every timer, started with the first one.
class TimerThread final : public BlockingWatch {
 public:
  static TimerThread& Instance() {
    static TimerThread* instance = new TimerThread;  // outlives static destructors of callers
    return *instance;
  }

  UINT Add(const Timer& timer) {
    std::lock_guard lock(m_lock);
    if (!m_started) {
      try {
        std::thread([this] { Loop(); }).detach();
      } catch (const std::system_error&) {
        return 0;
      }
      m_started = true;
    }
    do {
      ++m_lastId;
    } while (m_lastId == 0 || m_timers.contains(m_lastId) || m_lastId == m_running);
    m_timers.emplace(m_lastId, timer);
    m_changed.notify_one();
    return m_lastId;
  }

  MMRESULT Kill(UINT id) {
    if (id == 0) return MMSYSERR_INVALPARAM;  // 0 is no timer, and what m_running holds when idle
    std::unique_lock lock(m_lock);
    const bool scheduled = m_timers.erase(id) > 0;
    if (!scheduled && m_running != id) return MMSYSERR_INVALPARAM;
    const DWORD self = GetCurrentThreadId();
    if (self != m_threadId.load())
      m_callbackDone.wait(lock, [&] { return m_running != id || WaitedThread() == self; });
    return TIMERR_NOERROR;
  }

 protected:
  void OnBlockingChanged() override {
    std::lock_guard lock(m_lock);
    m_callbackDone.notify_all();
  }

 private:
  void Loop() {
    m_threadId.store(GetCurrentThreadId());
    WatchCurrentThread(this);
    std::unique_lock lock(m_lock);
    for (;;) {
      if (m_timers.empty()) {
        m_changed.wait(lock);
        continue;
      }
      auto next = std::min_element(m_timers.begin(), m_timers.end(),
                                   [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
      const auto now = Clock::now();
      if (const Clock::time_point due = next->second.due; due > now) {
        m_changed.wait_until(lock, due);  // a copy: the timer may be killed while we wait
        continue;
      }
      const UINT id = next->first;
      const Timer timer = next->second;
      if (timer.periodic) {
        // The next deadline stays on the timer's grid; ticks missed while late are dropped, so
        // a late timer catches up with one tick, not a burst.
        auto& due = next->second.due;
        due += timer.period;
        if (due <= now) due += (now - due) / timer.period * timer.period;
      } else {
        m_timers.erase(next);
      }
      m_running = id;
      lock.unlock();
      Fire(id, timer);
      lock.lock();
      m_running = 0;
      m_callbackDone.notify_all();
    }
  }

  std::mutex m_lock;
  std::condition_variable m_changed;       // the schedule changed
  std::condition_variable m_callbackDone;  // a callback ended, or what the thread blocks on changed
  std::map<UINT, Timer> m_timers;          // guarded by m_lock
  UINT m_lastId = 0;                       // guarded by m_lock
  UINT m_running = 0;                      // the timer whose callback runs now, 0 for none; guarded by m_lock
  bool m_started = false;                  // guarded by m_lock
  std::atomic<DWORD> m_threadId{0};
};

}  // namespace
}  // namespace pictavo::kernel

MMRESULT timeSetEvent(UINT delay, UINT, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) {
  const UINT kind = flags & pictavo::kernel::kCallbackKinds;
  if (delay < pictavo::kernel::kShortestPeriod || delay > pictavo::kernel::kLongestPeriod || !callback ||
      kind == pictavo::kernel::kCallbackKinds)
    return 0;
  const auto period = std::chrono::milliseconds(delay);
  pictavo::kernel::Timer timer{
      pictavo::kernel::Clock::now() + period, period, (flags & TIME_PERIODIC) != 0, kind, callback, user};
  return pictavo::kernel::TimerThread::Instance().Add(timer);
}

MMRESULT timeKillEvent(UINT timerId) {
  return pictavo::kernel::TimerThread::Instance().Kill(timerId);
}

MMRESULT timeBeginPeriod(UINT period) {
  const bool valid = period >= pictavo::kernel::kShortestPeriod && period <= pictavo::kernel::kLongestPeriod;
  return valid ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

MMRESULT timeEndPeriod(UINT period) {
  return timeBeginPeriod(period);
}

MMRESULT timeGetDevCaps(LPTIMECAPS caps, UINT size) {
  if (!caps || size < sizeof(TIMECAPS)) return TIMERR_NOCANDO;
  caps->wPeriodMin = pictavo::kernel::kShortestPeriod;
  caps->wPeriodMax = pictavo::kernel::kLongestPeriod;
  return TIMERR_NOERROR;
}

DWORD timeGetTime() {
  return GetTickCount();
}
