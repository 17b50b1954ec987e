#include "platform/kernel/KernelObject.h"

#include <unordered_map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

namespace pictavo::kernel {

class HandleTable {
 public:
  static HandleTable& Instance() {
    static HandleTable* table = new HandleTable;  // outlives static destructors of callers
    return *table;
  }

  HANDLE Insert(std::shared_ptr<KernelObject> object) {
    object->m_handleCount.fetch_add(1);
    std::lock_guard lock(m_lock);
    m_next += 4;
    m_objects.emplace(m_next, std::move(object));
    return reinterpret_cast<HANDLE>(m_next);
  }

  std::shared_ptr<KernelObject> Find(HANDLE handle) {
    std::lock_guard lock(m_lock);
    auto it = m_objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_objects.end() ? nullptr : it->second;
  }

  bool Remove(HANDLE handle) {
    std::shared_ptr<KernelObject> object;
    {
      std::lock_guard lock(m_lock);
      auto it = m_objects.find(reinterpret_cast<uintptr_t>(handle));
      if (it == m_objects.end()) return false;
      object = std::move(it->second);
      m_objects.erase(it);
    }
    if (object->m_handleCount.fetch_sub(1) == 1) object->OnLastHandleClosed();
    return true;
  }

 private:
  std::mutex m_lock;
  uintptr_t m_next = 0;  // guarded by m_lock
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> m_objects;  // guarded by m_lock
};

HANDLE InsertHandle(std::shared_ptr<KernelObject> object) {
  return HandleTable::Instance().Insert(std::move(object));
}

std::shared_ptr<KernelObject> FindObject(HANDLE handle) {
  auto object = HandleTable::Instance().Find(handle);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

bool RemoveHandle(HANDLE handle) { return HandleTable::Instance().Remove(handle); }

namespace {
struct SignalState {
  std::mutex lock;
  std::condition_variable changed;
};
SignalState& State() {
  static SignalState* state = new SignalState;
  return *state;
}
}  // namespace

std::mutex& SignalLock() { return State().lock; }
void NotifySignalChanged() { State().changed.notify_all(); }
void WaitForSignalChange(std::unique_lock<std::mutex>& lock,
                         std::chrono::steady_clock::time_point deadline) {
  State().changed.wait_until(lock, deadline);
}

}  // namespace pictavo::kernel
