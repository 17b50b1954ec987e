#include "platform/kernel/ThreadBlocking.h"

namespace pictavo::kernel {
namespace {
thread_local BlockingWatch* t_watch = nullptr;
}

DWORD BlockingWatch::WaitedThread() const {
  std::lock_guard lock(m_lock);
  return m_owner ? m_owner(m_blocker) : 0;
}

void WatchCurrentThread(BlockingWatch* watch) {
  t_watch = watch;
}

BlockedOn::BlockedOn(const void* blocker, BlockerOwner owner) : m_watch(t_watch) {
  if (!m_watch) return;
  {
    std::lock_guard lock(m_watch->m_lock);
    m_watch->m_blocker = blocker;
    m_watch->m_owner = owner;
  }
  m_watch->OnBlockingChanged();
}

BlockedOn::~BlockedOn() {
  if (!m_watch) return;
  {
    std::lock_guard lock(m_watch->m_lock);
    m_watch->m_blocker = nullptr;
    m_watch->m_owner = nullptr;
  }
  m_watch->OnBlockingChanged();
}

}  // namespace pictavo::kernel
