#include "platform/kernel/Event.h"

#include <map>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/KernelObject.h"

namespace pictavo::kernel {
namespace {

class Event final : public KernelObject {
 public:
  Event(bool manualReset, bool signaled) : m_manualReset(manualReset), m_signaled(signaled) {}

  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked(std::thread::id) override { return m_signaled; }
  void AcquireLocked(std::thread::id) override {
    if (!m_manualReset) m_signaled = false;
  }

  void Set(bool signaled) {
    {
      std::lock_guard lock(SignalLock());
      m_signaled = signaled;
    }
    if (signaled) NotifySignalChanged();
  }

 private:
  const bool m_manualReset;
  bool m_signaled;  // guarded by SignalLock()
};

// Named events live as long as one handle to them is open.
struct NamedEvents {
  std::mutex lock;
  std::map<std::string, std::weak_ptr<Event>> byName;  // guarded by lock
};
NamedEvents& Names() {
  static NamedEvents* names = new NamedEvents;
  return *names;
}

bool Change(HANDLE handle, bool signaled) {
  auto event = FindObjectAs<Event>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  event->Set(signaled);
  return true;
}

}  // namespace
}  // namespace pictavo::kernel

using pictavo::kernel::Event;

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_SUCCESS);
    return pictavo::kernel::InsertHandle(std::make_shared<Event>(manualReset, initialState));
  }
  auto& names = pictavo::kernel::Names();
  std::lock_guard lock(names.lock);
  if (auto existing = names.byName[name].lock()) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return pictavo::kernel::InsertHandle(existing);
  }
  auto event = std::make_shared<Event>(manualReset, initialState);
  names.byName[name] = event;
  SetLastError(ERROR_SUCCESS);
  return pictavo::kernel::InsertHandle(event);
}

HANDLE OpenEvent(DWORD, BOOL, LPCSTR name) {
  auto& names = pictavo::kernel::Names();
  std::lock_guard lock(names.lock);
  auto it = names.byName.find(name ? name : "");
  if (it != names.byName.end()) {
    if (auto existing = it->second.lock()) return pictavo::kernel::InsertHandle(existing);
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

BOOL SetEvent(HANDLE event) { return pictavo::kernel::Change(event, true); }
BOOL ResetEvent(HANDLE event) { return pictavo::kernel::Change(event, false); }

BOOL PulseEvent(HANDLE handle) {
  // Releases the waiters present now: set, let them see it, reset.
  auto event = pictavo::kernel::FindObjectAs<Event>(handle);
  if (!event) return FALSE;
  event->Set(true);
  std::this_thread::yield();
  event->Set(false);
  return TRUE;
}
