// Some waits must not wait for a thread that is itself blocked waiting for the waiter:
// timeKillEvent waits out a running timer callback, and that callback may be blocked on a critical
// section the killing thread holds. A watched thread publishes what it is blocked on, so such a
// waiter can see the cycle and give up instead of hanging both threads.
#pragma once

#include <mutex>

#include "platform/base/WinTypes.h"

namespace pictavo::kernel {

// The id of the thread that must act before a thread blocked on `blocker` can go on, 0 for none.
using BlockerOwner = DWORD (*)(const void* blocker);

class BlockingWatch {
 public:
  virtual ~BlockingWatch() = default;
  // The thread the watched thread is waiting for now, 0 when it is not blocked on anything known.
  DWORD WaitedThread() const;

 protected:
  // Called on the watched thread after it published a change.
  virtual void OnBlockingChanged() {}

 private:
  friend class BlockedOn;
  mutable std::mutex m_lock;
  const void* m_blocker = nullptr;  // guarded by m_lock
  BlockerOwner m_owner = nullptr;   // guarded by m_lock
};

// Makes `watch` receive what the calling thread blocks on from now on; null stops that.
void WatchCurrentThread(BlockingWatch* watch);

// The calling thread is about to block on `blocker` for the lifetime of this object. Costs nothing
// on threads nobody watches. Lock implementations and cross-thread calls use it.
class BlockedOn {
 public:
  BlockedOn(const void* blocker, BlockerOwner owner);
  ~BlockedOn();
  BlockedOn(const BlockedOn&) = delete;
  BlockedOn& operator=(const BlockedOn&) = delete;

 private:
  BlockingWatch* m_watch;
};

}  // namespace pictavo::kernel
