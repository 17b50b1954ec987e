// SetTimer and KillTimer.
#include "platform/user/Timer.h"

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

// The queue holding the timers of `hwnd` (the calling thread's for thread timers); null when the
// window is invalid or belongs to another thread.
std::shared_ptr<MessageQueue> TimerQueue(HWND hwnd) {
  if (!hwnd) return MessageQueue::CurrentShared();
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return nullptr;
  if (!w->queue || !w->queue->IsCurrent()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return w->queue;
}

}  // namespace
}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  auto queue = TimerQueue(hwnd);
  if (!queue) return 0;
  return queue->SetTimer(hwnd, id, elapse, proc, nullptr);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto queue = TimerQueue(hwnd);
  if (!queue) return FALSE;
  if (!queue->KillTimer(hwnd, id, false)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
