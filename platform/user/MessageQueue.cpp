#include "platform/user/MessageQueue.h"

#include <algorithm>
#include <unordered_map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Display.h"
#include "platform/user/UserInternal.h"

namespace pictavo::user::detail {

void SentMessage::Reply(LRESULT result) {
  {
    std::lock_guard lock(kernel::SignalLock());
    if (m_replied) return;
    m_replied = true;
    m_result = result;
  }
  kernel::NotifySignalChanged();
}

bool SentMessage::Replied() const {
  std::lock_guard lock(kernel::SignalLock());
  return m_replied;
}

LRESULT SentMessage::Result() const {
  std::lock_guard lock(kernel::SignalLock());
  return m_result;
}

namespace {

struct Registry {
  std::mutex lock;
  std::unordered_map<DWORD, std::weak_ptr<MessageQueue>> byThread;  // guarded by lock
};
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

// The calling thread's queue; the holder's destructor runs when the thread ends.
struct QueueHolder {
  std::shared_ptr<MessageQueue> queue;
  ~QueueHolder() {
    if (queue) queue->OnThreadExit();
  }
};
thread_local QueueHolder t_holder;

DWORD InputKinds(const std::deque<RawInput>& input) {
  DWORD bits = 0;
  for (const RawInput& in : input) {
    switch (in.kind) {
      case RawInput::Kind::kKey:
        bits |= QS_KEY;
        break;
      case RawInput::Kind::kMouseMove:
      case RawInput::Kind::kMouseGone:
        bits |= QS_MOUSEMOVE;
        break;
      default:
        bits |= QS_MOUSEBUTTON;
        break;
    }
  }
  return bits;
}

DWORD WakeBitsOf(const RawInput& in) {
  switch (in.kind) {
    case RawInput::Kind::kKey:
      return QS_KEY;
    case RawInput::Kind::kMouseMove:
    case RawInput::Kind::kMouseGone:
      return QS_MOUSEMOVE;
    default:
      return QS_MOUSEBUTTON;
  }
}

}  // namespace

DWORD MessageTime() {
  return GetTickCount();
}

MessageQueue::MessageQueue(DWORD threadId) : m_threadId(threadId), m_thread(std::this_thread::get_id()) {}

MessageQueue::~MessageQueue() = default;

MessageQueue& MessageQueue::Current() {
  return *CurrentShared();
}

std::shared_ptr<MessageQueue> MessageQueue::CurrentShared() {
  if (!t_holder.queue) {
    auto queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.lock);
    registry.byThread[queue->ThreadId()] = queue;
    t_holder.queue = std::move(queue);
  }
  return t_holder.queue;
}

MessageQueue* MessageQueue::CurrentIfAny() {
  return t_holder.queue.get();
}

std::shared_ptr<MessageQueue> MessageQueue::ForThread(DWORD threadId) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.lock);
  auto it = registry.byThread.find(threadId);
  return it == registry.byThread.end() ? nullptr : it->second.lock();
}

bool MessageQueue::IsCurrent() const {
  return std::this_thread::get_id() == m_thread;
}

void MessageQueue::NotifyWaiters() {
  // Taking the signal lock orders this change after any waiter's last check.
  { std::lock_guard lock(kernel::SignalLock()); }
  kernel::NotifySignalChanged();
}

void MessageQueue::WakeLocked(DWORD bits) {
  m_wake |= bits;
}

bool MessageQueue::Post(const MSG& msg) {
  {
    std::lock_guard lock(m_lock);
    if (m_dead) return false;
    m_posted.push_back(msg);
    WakeLocked(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
  }
  NotifyWaiters();
  return true;
}

bool MessageQueue::Send(std::shared_ptr<SentMessage> sent) {
  {
    std::lock_guard lock(m_lock);
    if (m_dead) return false;
    sent->receiverThread = m_threadId;
    m_sent.push_back(std::move(sent));
    WakeLocked(QS_SENDMESSAGE);
  }
  NotifyWaiters();
  return true;
}

bool MessageQueue::AddInput(const RawInput& input) {
  {
    std::lock_guard lock(m_lock);
    if (m_dead) return false;
    // Moves coalesce: only the newest position of a run of moves matters.
    if (input.kind == RawInput::Kind::kMouseMove && !m_input.empty() &&
        m_input.back().kind == RawInput::Kind::kMouseMove && m_input.back().mouseKeys == input.mouseKeys) {
      m_input.back() = input;
    } else {
      m_input.push_back(input);
    }
    WakeLocked(WakeBitsOf(input));
  }
  NotifyWaiters();
  return true;
}

void MessageQueue::Wake(DWORD bits) {
  {
    std::lock_guard lock(m_lock);
    WakeLocked(bits);
  }
  NotifyWaiters();
}

void MessageQueue::MarkSurfacesDirty() {
  {
    std::lock_guard lock(m_lock);
    if (m_surfacesDirty || m_dead) return;
    m_surfacesDirty = true;
  }
  NotifyWaiters();
}

void MessageQueue::PostQuit(int exitCode) {
  {
    std::lock_guard lock(m_lock);
    m_quit = true;
    m_quitCode = exitCode;
    WakeLocked(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
  }
  NotifyWaiters();
}

std::shared_ptr<SentMessage> MessageQueue::TakeSent(bool tasksOnly) {
  std::lock_guard lock(m_lock);
  auto it = tasksOnly
                ? std::find_if(m_sent.begin(), m_sent.end(), [](const auto& s) { return s->task != nullptr; })
                : m_sent.begin();
  if (it == m_sent.end()) return nullptr;
  auto sent = std::move(*it);
  m_sent.erase(it);
  return sent;
}

bool MessageQueue::TakeSurfacesDirty() {
  std::lock_guard lock(m_lock);
  const bool dirty = m_surfacesDirty;
  m_surfacesDirty = false;
  return dirty;
}

bool MessageFilter::Matches(HWND hwnd) const {
  if (any) return true;
  if (threadOnly) return hwnd == nullptr;
  return std::find(windows.begin(), windows.end(), hwnd) != windows.end();
}

bool MessageQueue::FindPosted(MSG* msg, const MessageFilter& filter, UINT min, UINT max, bool remove) {
  std::lock_guard lock(m_lock);
  for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
    if ((min || max) && (it->message < min || it->message > max)) continue;
    if (!filter.Matches(it->hwnd)) continue;
    *msg = *it;
    if (remove) m_posted.erase(it);
    return true;
  }
  return false;
}

bool MessageQueue::TakeQuit(bool remove, int* exitCode) {
  std::lock_guard lock(m_lock);
  if (!m_quit) return false;
  *exitCode = m_quitCode;
  if (remove) m_quit = false;
  return true;
}

bool MessageQueue::HasInput() const {
  std::lock_guard lock(m_lock);
  return !m_input.empty();
}

RawInput MessageQueue::FrontInput() const {
  std::lock_guard lock(m_lock);
  return m_input.empty() ? RawInput{} : m_input.front();
}

void MessageQueue::PopInput() {
  std::lock_guard lock(m_lock);
  if (!m_input.empty()) m_input.pop_front();
}

void MessageQueue::DropWindow(HWND hwnd) {
  std::lock_guard lock(m_lock);
  m_posted.erase(
      std::remove_if(m_posted.begin(), m_posted.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
      m_posted.end());
  m_timers.erase(
      std::remove_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
      m_timers.end());
}

UINT_PTR MessageQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT interval, TIMERPROC proc,
                                std::function<void()> action) {
  interval = std::clamp<UINT>(interval, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  std::lock_guard lock(m_lock);
  const bool internal = static_cast<bool>(action);
  auto find = [&](UINT_PTR wanted) {
    return std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) {
      return t.hwnd == hwnd && t.id == wanted && static_cast<bool>(t.action) == internal;
    });
  };
  if (!hwnd || internal) {
    if (id == 0 || find(id) == m_timers.end()) {
      // A fresh id for a new thread timer, unused by any other.
      do {
        m_nextThreadTimer = m_nextThreadTimer >= 0xFFFF ? 0x7FF0 : m_nextThreadTimer + 1;
      } while (std::any_of(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return !t.hwnd && t.id == m_nextThreadTimer; }));
      id = m_nextThreadTimer;
    }
  }
  Timer timer;
  timer.hwnd = hwnd;
  timer.id = id;
  timer.interval = interval;
  timer.proc = proc;
  timer.due = Clock::now() + std::chrono::milliseconds(interval);
  timer.action = std::move(action);
  auto it = find(id);
  if (it != m_timers.end())
    *it = std::move(timer);
  else
    m_timers.push_back(std::move(timer));
  return id;
}

bool MessageQueue::KillTimer(HWND hwnd, UINT_PTR id, bool internal) {
  std::lock_guard lock(m_lock);
  auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) {
    return t.hwnd == hwnd && t.id == id && static_cast<bool>(t.action) == internal;
  });
  if (it == m_timers.end()) return false;
  m_timers.erase(it);
  return true;
}

bool MessageQueue::FindDueTimer(Timer* timer, const MessageFilter& filter, bool remove) {
  std::lock_guard lock(m_lock);
  const auto now = Clock::now();
  auto best = m_timers.end();
  for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
    if (it->action || it->due > now || !filter.Matches(it->hwnd)) continue;
    if (best == m_timers.end() || it->due < best->due) best = it;
  }
  if (best == m_timers.end()) return false;
  *timer = *best;
  if (remove) {
    best->due = now + std::chrono::milliseconds(best->interval);
    best->fired = false;
  }
  return true;
}

std::function<void()> MessageQueue::TakeDueAction() {
  std::lock_guard lock(m_lock);
  const auto now = Clock::now();
  for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
    if (!it->action || it->due > now) continue;
    auto action = std::move(it->action);
    m_timers.erase(it);
    return action;
  }
  return nullptr;
}

bool MessageQueue::FindTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc) const {
  std::lock_guard lock(m_lock);
  return std::any_of(m_timers.begin(), m_timers.end(), [&](const Timer& t) {
    return t.hwnd == hwnd && t.id == id && t.proc == proc && !t.action;
  });
}

Clock::time_point MessageQueue::NextTimerDue() const {
  std::lock_guard lock(m_lock);
  auto next = Clock::time_point::max();
  for (const Timer& t : m_timers)
    if (!t.fired && t.due < next) next = t.due;
  return next;
}

void MessageQueue::AddPaint(int delta) {
  const int before = m_paintCount.fetch_add(delta);
  if (delta > 0 && before == 0) Wake(QS_PAINT);
}

DWORD MessageQueue::Status(UINT flags) {
  std::lock_guard lock(m_lock);
  DWORD present = InputKinds(m_input);
  if (!m_sent.empty()) present |= QS_SENDMESSAGE;
  if (!m_posted.empty() || m_quit) present |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  if (m_paintCount.load() > 0) present |= QS_PAINT;
  const auto now = Clock::now();
  for (Timer& t : m_timers) {
    if (t.due <= now && !t.action) {
      present |= QS_TIMER;
      if (!t.fired) {
        t.fired = true;
        m_wake |= QS_TIMER;
      }
    }
  }
  const DWORD fresh = m_wake & flags;
  m_wake &= ~flags;
  return (static_cast<DWORD>(present & flags) << 16) | fresh;
}

void MessageQueue::ClearWake() {
  std::lock_guard lock(m_lock);
  m_wake = 0;
}

bool MessageQueue::IsReadyLocked(DWORD mask, bool inputAvailable, Work work) {
  std::lock_guard lock(m_lock);
  if (m_dead) return false;
  const bool internal = work != Work::kNone;
  if (internal && m_surfacesDirty) return true;
  for (const auto& sent : m_sent)
    if (work == Work::kAll || (work == Work::kTasks && sent->task)) return true;
  const auto now = Clock::now();
  bool timerDue = false;
  for (Timer& t : m_timers) {
    if (t.due > now) continue;
    if (t.action) {
      if (internal) return true;
      continue;
    }
    timerDue = true;
    if (!t.fired) {
      t.fired = true;
      m_wake |= QS_TIMER;
    }
  }
  if (m_wake & mask) return true;
  if (!inputAvailable) return false;
  DWORD present = InputKinds(m_input);
  if (!m_posted.empty() || m_quit) present |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  if (m_paintCount.load() > 0) present |= QS_PAINT;
  if (timerDue) present |= QS_TIMER;
  return (present & mask) != 0;
}

void MessageQueue::OnThreadExit() {
  DestroyThreadWindows(*this);
  std::deque<std::shared_ptr<SentMessage>> pending;
  {
    std::lock_guard lock(m_lock);
    m_dead = true;
    pending.swap(m_sent);
    m_posted.clear();
    m_input.clear();
    m_timers.clear();
  }
  // Senders waiting on this thread get 0, as for a window whose thread has ended.
  for (auto& sent : pending) sent->Reply(0);
  RemoveThreadHooks(m_threadId);
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.lock);
  auto it = registry.byThread.find(m_threadId);
  if (it != registry.byThread.end() && it->second.lock().get() == this) registry.byThread.erase(it);
}

bool HandleInternalWork(MessageQueue& queue, Work work, bool surfaces) {
  if (work == Work::kNone) return false;
  bool did = false;
  while (auto sent = queue.TakeSent(work == Work::kTasks)) {
    did = true;
    ReceiveSentMessage(queue, *sent);
  }
  while (auto action = queue.TakeDueAction()) {
    did = true;
    action();
  }
  if (surfaces && queue.TakeSurfacesDirty()) {
    did = true;
    FlushSurfaceChanges(queue);
  }
  return did;
}

DWORD WaitForQueue(MessageQueue& queue, kernel::KernelObject* const* objects, DWORD count, bool waitAll,
                   DWORD milliseconds, DWORD mask, bool inputAvailable, Work work, int idle) {
  const bool forever = milliseconds == INFINITE;
  const auto deadline =
      forever ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(milliseconds);
  // With waitAll the queue must be ready for the caller together with the objects, so it cannot
  // also end the wait for internal work: that is then looked at between short slices.
  QueueWaiter waiter(queue, mask, inputAvailable, waitAll ? Work::kNone : work);
  std::vector<kernel::KernelObject*> all(objects, objects + count);
  all.push_back(&waiter);
  const DWORD total = count + 1;
  auto queueReady = [&] {
    std::lock_guard lock(kernel::SignalLock());
    return queue.IsReadyLocked(mask, inputAvailable, Work::kNone);
  };
  auto display = CurrentDisplay();
  for (;;) {
    HandleInternalWork(queue, work);
    if (idle >= 0 && display) display->PumpEvents();

    DWORD result = kernel::WaitForObjects(all.data(), total, waitAll, 0);
    if (result == WAIT_TIMEOUT) {
      // Nothing for the caller: the thread is idle.
      auto now = Clock::now();
      if (now >= deadline) return WAIT_TIMEOUT;
      auto until = deadline;
      if (idle >= 0 && display) {
        const DWORD slice = display->IdleWait(static_cast<IdleWait>(idle));
        if (slice != INFINITE) until = std::min(until, Clock::now() + std::chrono::milliseconds(slice));
      }
      until = std::min(until, queue.NextTimerDue());
      if (waitAll) until = std::min(until, Clock::now() + std::chrono::milliseconds(10));
      now = Clock::now();
      DWORD block = 0;
      if (until == Clock::time_point::max()) {
        block = INFINITE;
      } else if (until > now) {
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
        block = ms >= static_cast<long long>(INFINITE) ? INFINITE - 1 : static_cast<DWORD>(ms);
      }
      result = kernel::WaitForObjects(all.data(), total, waitAll, block);
      if (result == WAIT_TIMEOUT) continue;  // a timer, a display slice, or the deadline: look again
    }
    if (result == WAIT_FAILED) return WAIT_FAILED;
    if (!waitAll && result == WAIT_OBJECT_0 + count && !queueReady()) continue;  // internal work only
    return result;
  }
}

}  // namespace pictavo::user::detail
