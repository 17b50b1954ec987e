// Kernel objects behind HANDLEs: the handle table and the wait machinery every waitable
// object (events, mutexes, threads, processes, change notifications, message queues) shares.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/base/WinTypes.h"

namespace pictavo::kernel {

class KernelObject {
 public:
  virtual ~KernelObject() = default;

  // The signal state of every waitable object is guarded by SignalLock(), so a wait on several
  // objects sees one consistent picture and a wait-all acquires them together.
  virtual bool IsWaitable() const { return false; }
  // True when a wait by `waiter` would be satisfied now. Called with SignalLock() held.
  virtual bool IsSignaledLocked(std::thread::id waiter) { return false; }
  // Takes what the satisfied wait consumes (an auto-reset event resets, a mutex gets an owner).
  // Called with SignalLock() held, right after IsSignaledLocked returned true.
  virtual void AcquireLocked(std::thread::id waiter) {}
  // True once after an AcquireLocked that took over an abandoned object (a mutex whose owner
  // ended without releasing it); the wait then reports WAIT_ABANDONED_0 + index.
  virtual bool TakeAbandonedLocked() { return false; }
  // A wait-all that found this object signalled but cannot take everything yet calls this before
  // it sleeps or gives up, so an object that had to reserve something to answer IsSignaledLocked
  // (a named mutex shuts other processes out) lets it go again.
  virtual void NotAcquiredLocked(std::thread::id waiter) {}
  // Objects whose state changes outside this process (a named mutex held by another copy)
  // cannot notify us; a wait on them re-checks at this interval.
  virtual std::chrono::milliseconds PollInterval() const { return std::chrono::milliseconds::zero(); }
  // Called once, when the last handle to the object is closed.
  virtual void OnLastHandleClosed() {}

 private:
  friend class HandleTable;
  std::atomic<int> m_handleCount{0};
};

// Gives the object a new handle. Handle values are multiples of 4, never 0 or -1, never reused.
HANDLE InsertHandle(std::shared_ptr<KernelObject> object);
// The object behind a handle, or null (with ERROR_INVALID_HANDLE) for a closed or foreign one.
std::shared_ptr<KernelObject> FindObject(HANDLE handle);
template <class T>
std::shared_ptr<T> FindObjectAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(FindObject(handle));
}
// Removes the handle; the object goes when its last handle and last user are gone.
bool RemoveHandle(HANDLE handle);

std::mutex& SignalLock();
// Wakes every waiter to re-check; call after changing a signal state (with or without the lock).
void NotifySignalChanged();
// Waits for the next signal change or the deadline; the lock must be held.
void WaitForSignalChange(std::unique_lock<std::mutex>& lock,
                         std::chrono::steady_clock::time_point deadline);

}  // namespace pictavo::kernel
