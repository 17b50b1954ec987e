// Internal: a thread's message queue. Other threads add to it (posted and sent messages, input,
// wake-ups); only the owning thread takes from it. The queue is a kernel object so that
// MsgWaitForMultipleObjects and cross-thread SendMessage wait on it with the kernel's waits.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/kernel/KernelObject.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"

namespace pictavo::user::detail {

using Clock = std::chrono::steady_clock;

// A message sent by another thread (the sender waits on it), or work the owning thread is asked
// to do (`task`). Signalled once replied.
struct SentMessage final : kernel::KernelObject {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::function<void()> task;
  bool notify = false;       // SendNotifyMessage: nobody waits for the result
  DWORD receiverThread = 0;  // for deadlock diagnosis of the waiting sender

  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked(std::thread::id) override { return m_replied; }
  // The first reply counts; later ones (the procedure's return after ReplyMessage) are ignored.
  void Reply(LRESULT result);
  bool Replied() const;
  LRESULT Result() const;

 private:
  bool m_replied = false;  // guarded by SignalLock()
  LRESULT m_result = 0;    // guarded by SignalLock()
};

// Input as the user made it, before the owning thread routes it to a window.
struct RawInput {
  enum class Kind { kMouseMove, kMouseButton, kMouseWheel, kMouseGone, kKey };
  Kind kind = Kind::kMouseMove;
  POINT pt{};  // desktop coordinates
  DWORD time = 0;
  WORD mouseKeys = 0;  // MK_* at the time of the input
  int button = 0;      // MouseButton index
  bool down = false;
  int wheelDelta = 0;
  bool horizontal = false;
  UINT virtualKey = 0;
  UINT scanCode = 0;
  bool extended = false;
  bool alt = false;        // Alt held: the WM_SYS* forms
  bool wasDown = false;    // the key was already down (auto-repeat)
  char32_t character = 0;  // VK_PACKET
  bool noCharacter = false;
  LPARAM extraInfo = 0;
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  TIMERPROC proc = nullptr;
  Clock::time_point due;
  bool fired = false;  // its wake bit was raised and WM_TIMER not retrieved since
  // Internal one-shot timers (mouse hover) run this on the owning thread instead of WM_TIMER.
  std::function<void()> action;
};

// Per-thread input state, used by the owning thread only.
struct ThreadInput {
  BYTE keys[256] = {};  // GetKeyState: 0x80 down, 0x01 toggled
  DWORD messagePos = 0;
  DWORD messageTime = 0;
  LPARAM extraInfo = 0;
  // The last key message retrieved and whether TranslateMessage should make no character.
  UINT lastKeyMessage = 0;
  WPARAM lastKeyWParam = 0;
  bool lastKeyNoCharacter = false;
  char32_t lastKeyCharacter = 0;
  // Keys pressed so far (auto-repeat not counted): Alt opens the menu only when pressed alone.
  DWORD keyPresses = 0;
  // Double clicks: the last button press.
  UINT lastClickMessage = 0;
  HWND lastClickWindow = nullptr;
  DWORD lastClickTime = 0;
  POINT lastClickPoint{};
  // TrackMouseEvent.
  HWND trackWindow = nullptr;
  DWORD trackFlags = 0;  // TME_LEAVE | TME_HOVER | TME_NONCLIENT
  DWORD hoverTime = 0;
  UINT_PTR hoverTimer = 0;
  RECT hoverRect{};
  // The window under the pointer at the last mouse message, and whether it was the frame.
  HWND mouseWindow = nullptr;
  bool mouseNonClient = false;
  // Messages sent by other threads being handled, innermost last.
  std::vector<SentMessage*> receiving;
};

// Which messages a PeekMessage or GetMessage looks at, resolved before the queue is searched, so
// the search needs no window lookups.
struct MessageFilter {
  bool any = true;            // null window: the thread's windows and thread messages
  bool threadOnly = false;    // (HWND)-1: thread messages only
  std::vector<HWND> windows;  // otherwise: the window and its descendants
  bool Matches(HWND hwnd) const;
};

// What a waiting thread handles by itself without returning: nothing, only our internal work
// (tasks, surface notifications, hover timers), or that and messages sent by other threads.
enum class Work { kNone, kTasks, kAll };

class MessageQueue final : public kernel::KernelObject {
 public:
  explicit MessageQueue(DWORD threadId);
  ~MessageQueue() override;

  // The calling thread's queue, made on first use.
  static MessageQueue& Current();
  static std::shared_ptr<MessageQueue> CurrentShared();
  static MessageQueue* CurrentIfAny();
  static std::shared_ptr<MessageQueue> ForThread(DWORD threadId);

  DWORD ThreadId() const { return m_threadId; }
  bool IsCurrent() const;

  // Any thread. False when the queue's thread has ended.
  bool Post(const MSG& msg);
  bool Send(std::shared_ptr<SentMessage> sent);
  bool AddInput(const RawInput& input);
  // Raises QS_* wake bits (QS_PAINT when a window needs painting) and wakes the thread.
  void Wake(DWORD bits);
  // A top-level surface of the thread was drawn into: the thread tells the display.
  void MarkSurfacesDirty();
  void PostQuit(int exitCode);

  // Owning thread.
  // The first sent message or task (only tasks with `tasksOnly`).
  std::shared_ptr<SentMessage> TakeSent(bool tasksOnly);
  bool TakeSurfacesDirty();
  // The first posted message passing the filter; removed when `remove`.
  bool FindPosted(MSG* msg, const MessageFilter& filter, UINT min, UINT max, bool remove);
  bool TakeQuit(bool remove, int* exitCode);
  bool HasInput() const;
  RawInput FrontInput() const;
  void PopInput();
  // Removes the posted messages and the timers of a destroyed window.
  void DropWindow(HWND hwnd);

  // Timers (owning thread).
  UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT interval, TIMERPROC proc, std::function<void()> action);
  bool KillTimer(HWND hwnd, UINT_PTR id, bool internal);
  // The due timer passing the filter that was due first; rescheduled when `remove`.
  bool FindDueTimer(Timer* timer, const MessageFilter& filter, bool remove);
  // The action of a due internal timer, taken out (they are one-shot); empty when none is due.
  std::function<void()> TakeDueAction();
  bool FindTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc) const;
  Clock::time_point NextTimerDue() const;

  // Paint bookkeeping, changed under UserLock().
  void AddPaint(int delta);
  int PaintCount() const { return m_paintCount.load(); }

  // GetQueueStatus: kinds present in the high word, kinds new since the last look in the low
  // word; clears the new bits asked for.
  DWORD Status(UINT flags);
  void ClearWake();
  // Whether a wait for `mask` should end now, or `work` waits to be handled. Called with
  // SignalLock() held.
  bool IsReadyLocked(DWORD mask, bool inputAvailable, Work work);

  // Called once, on the owning thread, when it ends.
  void OnThreadExit();

  ThreadInput input;  // owning thread only

  // The thread's focus and active windows. Guarded by UserLock().
  HWND focus = nullptr;
  HWND active = nullptr;

 private:
  void WakeLocked(DWORD bits);
  void NotifyWaiters();

  const DWORD m_threadId;
  const std::thread::id m_thread;
  mutable std::mutex m_lock;
  std::deque<std::shared_ptr<SentMessage>> m_sent;  // guarded by m_lock
  std::deque<MSG> m_posted;                         // guarded by m_lock
  std::deque<RawInput> m_input;                     // guarded by m_lock
  std::vector<Timer> m_timers;                      // guarded by m_lock
  UINT_PTR m_nextThreadTimer = 0x7FF0;              // guarded by m_lock
  bool m_quit = false;                              // guarded by m_lock
  int m_quitCode = 0;                               // guarded by m_lock
  DWORD m_wake = 0;                                 // QS_* raised since the last look; m_lock
  bool m_surfacesDirty = false;                     // guarded by m_lock
  bool m_dead = false;                              // guarded by m_lock
  std::atomic<int> m_paintCount{0};
};

// A waitable view of the calling thread's queue for one wait.
class QueueWaiter final : public kernel::KernelObject {
 public:
  QueueWaiter(MessageQueue& queue, DWORD mask, bool inputAvailable, Work work)
      : m_queue(queue), m_mask(mask), m_inputAvailable(inputAvailable), m_work(work) {}
  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked(std::thread::id) override {
    return m_queue.IsReadyLocked(m_mask, m_inputAvailable, m_work);
  }

 private:
  MessageQueue& m_queue;
  DWORD m_mask;
  bool m_inputAvailable;
  Work m_work;
};

// Handles `work` waiting in the calling thread's queue, and with `surfaces` tells the display
// about drawing (done when the thread has nothing else to do); returns whether anything was done.
bool HandleInternalWork(MessageQueue& queue, Work work = Work::kAll, bool surfaces = true);

// Blocks the calling thread until its queue is ready for `mask`, one of `objects` is signalled
// (WAIT_OBJECT_0 + index; with waitAll, all of them and the queue) or the time is up; the queue
// gives WAIT_OBJECT_0 + count. Handles `work` meanwhile; `idle` (an IdleWait value, or -1) lets
// the display pump its events and play scripted input before the thread blocks.
DWORD WaitForQueue(MessageQueue& queue, kernel::KernelObject* const* objects, DWORD count, bool waitAll,
                   DWORD milliseconds, DWORD mask, bool inputAvailable, Work work, int idle);

// The clock of message times (GetTickCount's).
DWORD MessageTime();

}  // namespace pictavo::user::detail
