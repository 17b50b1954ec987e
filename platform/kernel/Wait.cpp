#include "platform/kernel/Wait.h"

#include <algorithm>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/KernelObject.h"

BOOL CloseHandle(HANDLE handle) {
  if (pictavo::kernel::RemoveHandle(handle)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

namespace pictavo::kernel {

DWORD WaitForObjects(KernelObject* const* objects, DWORD count, bool waitAll, DWORD milliseconds) {
  using Clock = std::chrono::steady_clock;
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::chrono::milliseconds poll{0};
  for (DWORD i = 0; i < count; ++i) {
    if (!objects[i] || !objects[i]->IsWaitable()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    auto p = objects[i]->PollInterval();
    if (p.count() > 0) poll = poll.count() ? std::min(poll, p) : p;
  }
  const auto self = std::this_thread::get_id();
  const bool forever = milliseconds == INFINITE;
  const auto deadline = forever ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(milliseconds);

  std::unique_lock lock(SignalLock());
  for (;;) {
    if (waitAll) {
      bool all = true;
      for (DWORD i = 0; i < count && all; ++i) all = objects[i]->IsSignaledLocked(self);
      if (all) {
        DWORD result = WAIT_OBJECT_0;
        for (DWORD i = 0; i < count; ++i) {
          objects[i]->AcquireLocked(self);
          if (objects[i]->TakeAbandonedLocked() && result == WAIT_OBJECT_0) result = WAIT_ABANDONED_0 + i;
        }
        return result;
      }
      for (DWORD i = 0; i < count; ++i) objects[i]->NotAcquiredLocked(self);
    } else {
      for (DWORD i = 0; i < count; ++i) {
        if (objects[i]->IsSignaledLocked(self)) {
          objects[i]->AcquireLocked(self);
          return (objects[i]->TakeAbandonedLocked() ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + i;
        }
      }
    }
    const auto now = Clock::now();
    if (now >= deadline) return WAIT_TIMEOUT;
    auto until = deadline;
    if (poll.count() > 0) until = std::min(until, now + poll);
    WaitForSignalChange(lock, until);
  }
}

}  // namespace pictavo::kernel

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  // Hold the objects for the whole wait, so a handle closed meanwhile cannot free them.
  std::vector<std::shared_ptr<pictavo::kernel::KernelObject>> held(count);
  std::vector<pictavo::kernel::KernelObject*> objects(count);
  for (DWORD i = 0; i < count; ++i) {
    held[i] = pictavo::kernel::FindObject(handles[i]);
    if (!held[i]) return WAIT_FAILED;
    objects[i] = held[i].get();
  }
  return pictavo::kernel::WaitForObjects(objects.data(), count, waitAll != FALSE, milliseconds);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}
