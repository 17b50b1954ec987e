// Taking messages out of the calling thread's queue and dispatching them.
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Display.h"
#include "platform/user/Hooks.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Timer.h"
#include "platform/user/UserInternal.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

const HWND kThreadMessages = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

bool MakeFilter(MessageQueue& queue, HWND hwnd, MessageFilter* filter) {
  if (!hwnd) return true;
  filter->any = false;
  if (hwnd == kThreadMessages) {
    filter->threadOnly = true;
    return true;
  }
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return false;
  if (w->queue.get() != &queue) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  filter->windows.push_back(hwnd);
  std::vector<Window*> descendants;
  CollectLocked(w, descendants);
  for (Window* d : descendants) filter->windows.push_back(d->handle);
  return true;
}

bool InRange(UINT message, UINT min, UINT max) {
  return (min == 0 && max == 0) || (message >= min && message <= max);
}

bool Retrieve(MessageQueue& queue, MSG* msg, const MessageFilter& filter, UINT min, UINT max, UINT options) {
  const bool remove = (options & PM_REMOVE) != 0;
  UINT kinds = options >> 16;
  if (!kinds) kinds = QS_ALLINPUT;
  const MSG now{nullptr, 0, 0, 0, MessageTime(), CursorPosition()};

  if ((kinds & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE)) && queue.FindPosted(msg, filter, min, max, remove))
    return true;
  int exitCode = 0;
  if ((kinds & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE)) && InRange(WM_QUIT, min, max) &&
      queue.TakeQuit(remove, &exitCode)) {
    *msg = now;
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(exitCode);
    return true;
  }
  if ((kinds & QS_INPUT) && TakeInputMessage(queue, msg, filter, min, max, remove)) return true;
  HWND hwnd = nullptr;
  if ((kinds & QS_PAINT) && InRange(WM_PAINT, min, max) && FindPaintWindow(queue, filter, &hwnd)) {
    *msg = now;
    msg->hwnd = hwnd;
    msg->message = WM_PAINT;
    return true;
  }
  Timer timer;
  if ((kinds & QS_TIMER) && InRange(WM_TIMER, min, max) && queue.FindDueTimer(&timer, filter, remove)) {
    *msg = now;
    msg->hwnd = timer.hwnd;
    msg->message = WM_TIMER;
    msg->wParam = timer.id;
    msg->lParam = reinterpret_cast<LPARAM>(timer.proc);
    return true;
  }
  return false;
}

// PeekMessage's work: sent messages are handled first, whatever the filter.
bool Peek(MessageQueue& queue, MSG* msg, const MessageFilter& filter, UINT min, UINT max, UINT options) {
  queue.ClearWake();
  bool pumped = false;
  for (;;) {
    HandleInternalWork(queue, Work::kAll, false);
    if (Retrieve(queue, msg, filter, min, max, options)) break;
    auto display = CurrentDisplay();
    if (pumped || !display) {
      // Nothing to deliver: the moment to show what was drawn.
      if (queue.TakeSurfacesDirty()) FlushSurfaceChanges(queue);
      return false;
    }
    display->PumpEvents();
    pumped = true;
  }
  queue.input.messagePos = static_cast<DWORD>(MAKELONG(msg->pt.x, msg->pt.y));
  queue.input.messageTime = msg->time;
  if (HasHooks(WH_GETMESSAGE))
    CallHooks(WH_GETMESSAGE, HC_ACTION, options & PM_REMOVE, reinterpret_cast<LPARAM>(msg));
  return true;
}

}  // namespace
}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeOptions) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MessageQueue& queue = MessageQueue::Current();
  MessageFilter filter;
  if (!MakeFilter(queue, hwnd, &filter)) return FALSE;
  return Peek(queue, msg, filter, filterMin, filterMax, removeOptions) ? TRUE : FALSE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  MessageQueue& queue = MessageQueue::Current();
  MessageFilter filter;
  if (!MakeFilter(queue, hwnd, &filter)) return -1;
  for (;;) {
    if (Peek(queue, msg, filter, filterMin, filterMax, PM_REMOVE)) return msg->message != WM_QUIT;
    if (WaitForQueue(queue, nullptr, 0, false, INFINITE, QS_ALLINPUT, false, Work::kAll,
                     static_cast<int>(pictavo::user::IdleWait::kGetMessage)) == WAIT_FAILED)
      return -1;
    if (!filter.any && !filter.threadOnly && !IsWindow(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return -1;
    }
  }
}

BOOL WaitMessage() {
  MessageQueue& queue = MessageQueue::Current();
  return WaitForQueue(queue, nullptr, 0, false, INFINITE, QS_ALLINPUT, false, Work::kAll,
                      static_cast<int>(pictavo::user::IdleWait::kWaitMessage)) != WAIT_FAILED;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a callback of a timer that still exists runs.
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (!MessageQueue::Current().FindTimerProc(msg->hwnd, msg->wParam, proc)) return 0;
    proc(msg->hwnd, WM_TIMER, msg->wParam, MessageTime());
    return 0;
  }
  if (!msg->hwnd) return 0;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(msg->hwnd);
    if (!w) return 0;
    if (!IsOwnThread(w)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  }
  if (msg->message == WM_PAINT) PaintDispatched(msg->hwnd);
  return CallProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessagePos() {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  return queue ? queue->input.messagePos : 0;
}

LONG GetMessageTime() {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  return queue ? static_cast<LONG>(queue->input.messageTime) : 0;
}

LPARAM GetMessageExtraInfo() {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  return queue ? queue->input.extraInfo : 0;
}

DWORD GetQueueStatus(UINT flags) {
  MessageQueue& queue = MessageQueue::Current();
  HandleInternalWork(queue);
  return queue.Status(flags);
}

BOOL GetInputState() {
  return (HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) & (QS_KEY | QS_MOUSEBUTTON)) != 0;
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
  if (count >= MAXIMUM_WAIT_OBJECTS || (count && !handles)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  // The objects are held for the whole wait, so a handle closed meanwhile cannot free them.
  std::vector<std::shared_ptr<pictavo::kernel::KernelObject>> held(count);
  std::vector<pictavo::kernel::KernelObject*> objects(count);
  for (DWORD i = 0; i < count; ++i) {
    held[i] = pictavo::kernel::FindObject(handles[i]);
    if (!held[i] || !held[i]->IsWaitable()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects[i] = held[i].get();
  }
  // Messages sent by other threads end the wait (QS_SENDMESSAGE) rather than being handled in
  // it: the caller's PeekMessage handles them.
  return WaitForQueue(MessageQueue::Current(), objects.data(), count, (flags & MWMO_WAITALL) != 0,
                      milliseconds, wakeMask, (flags & MWMO_INPUTAVAILABLE) != 0, Work::kTasks,
                      static_cast<int>(pictavo::user::IdleWait::kMsgWait));
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
  return MsgWaitForMultipleObjectsEx(count, handles, milliseconds, wakeMask, waitAll ? MWMO_WAITALL : 0);
}
