#include "platform/kernel/Mutex.h"

#include <unistd.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/SyncObjectsNamed.h"

namespace pictavo::kernel {
namespace {

// A named mutex's file holds one byte saying whether a thread somewhere owns it, so the next
// owner learns that an owner died holding it.
constexpr off_t kOwnedMarker = 0;

class Mutex;

// The mutexes the calling thread owns; when the thread ends, those still owned are abandoned.
struct OwnedMutexes {
  std::vector<std::weak_ptr<Mutex>> held;  // this thread only
  ~OwnedMutexes();
};
thread_local OwnedMutexes t_owned;

class Mutex final : public KernelObject, public std::enable_shared_from_this<Mutex> {
 public:
  explicit Mutex(std::unique_ptr<NamedFile> shared) : m_shared(std::move(shared)) {}

  bool IsWaitable() const override { return true; }
  std::chrono::milliseconds PollInterval() const override {
    return m_shared ? std::chrono::milliseconds(10) : std::chrono::milliseconds::zero();
  }

  bool IsSignaledLocked(std::thread::id waiter) override {
    if (m_owner == waiter) return true;
    if (m_owner != std::thread::id()) return false;
    if (!m_shared || m_sharedLocked) return true;
    m_sharedLocked = m_shared->TryLockOwner();
    return m_sharedLocked;
  }

  void AcquireLocked(std::thread::id waiter) override {
    if (m_owner == waiter) {
      ++m_count;
      return;
    }
    m_owner = waiter;
    m_count = 1;
    m_reportAbandoned = m_abandoned;
    m_abandoned = false;
    if (m_shared) {
      if (ReadMarker()) m_reportAbandoned = true;
      WriteMarker(true);
    }
    t_owned.held.push_back(weak_from_this());
  }

  bool TakeAbandonedLocked() override { return std::exchange(m_reportAbandoned, false); }

  void NotAcquiredLocked(std::thread::id) override {
    if (m_owner == std::thread::id() && m_sharedLocked) {
      m_shared->UnlockOwner();
      m_sharedLocked = false;
    }
  }

  bool Release() {
    {
      std::lock_guard lock(SignalLock());
      if (m_owner != std::this_thread::get_id()) return false;
      if (--m_count > 0) return true;
      m_owner = std::thread::id();
      if (m_shared) {
        WriteMarker(false);
        m_shared->UnlockOwner();
        m_sharedLocked = false;
      }
      std::erase_if(t_owned.held, [this](const std::weak_ptr<Mutex>& m) { return m.lock().get() == this; });
    }
    NotifySignalChanged();
    return true;
  }

  // The owning thread is ending: the mutex is free again, and abandoned. Other processes learn it
  // from the marker, which stays set.
  void Abandon(std::thread::id ender) {
    {
      std::lock_guard lock(SignalLock());
      if (m_owner != ender) return;
      m_owner = std::thread::id();
      m_count = 0;
      m_abandoned = true;
      if (m_shared) {
        m_shared->UnlockOwner();
        m_sharedLocked = false;
      }
    }
    NotifySignalChanged();
  }

 private:
  bool ReadMarker() const {
    char marker = 0;
    return pread(m_shared->Fd(), &marker, 1, kOwnedMarker) == 1 && marker == 1;
  }
  void WriteMarker(bool owned) {
    const char marker = owned ? 1 : 0;
    (void)!pwrite(m_shared->Fd(), &marker, 1, kOwnedMarker);
  }

  const std::unique_ptr<NamedFile> m_shared;  // null for a mutex of this process only
  std::thread::id m_owner;                    // guarded by SignalLock()
  LONG m_count = 0;                           // guarded by SignalLock()
  bool m_abandoned = false;                   // guarded by SignalLock()
  bool m_reportAbandoned = false;             // guarded by SignalLock()
  bool m_sharedLocked = false;                // other processes are shut out; guarded by SignalLock()
};

OwnedMutexes::~OwnedMutexes() {
  const auto self = std::this_thread::get_id();
  for (auto& weak : held)
    if (auto mutex = weak.lock()) mutex->Abandon(self);
}

// A named mutex is one object per process; its file joins the processes.
struct NamedMutexes {
  std::mutex lock;
  std::map<std::string, std::weak_ptr<Mutex>> byName;  // guarded by lock
};
NamedMutexes& Names() {
  static NamedMutexes* names = new NamedMutexes;
  return *names;
}

void TakeInitialOwnership(Mutex& mutex) {
  std::lock_guard lock(SignalLock());
  const auto self = std::this_thread::get_id();
  if (mutex.IsSignaledLocked(self)) mutex.AcquireLocked(self);
  (void)mutex.TakeAbandonedLocked();
}

HANDLE Publish(const std::shared_ptr<Mutex>& mutex, DWORD error) {
  HANDLE handle = InsertHandle(mutex);
  SetLastError(error);
  return handle;
}

bool ResetContent(int fd) {
  if (ftruncate(fd, 0) == 0) return true;
  FailWithErrno();
  return false;
}

}  // namespace
}  // namespace pictavo::kernel

using pictavo::kernel::Mutex;
using pictavo::kernel::NamedFile;

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
  if (!name || !*name) {
    auto mutex = std::make_shared<Mutex>(nullptr);
    if (initialOwner) pictavo::kernel::TakeInitialOwnership(*mutex);
    return pictavo::kernel::Publish(mutex, ERROR_SUCCESS);
  }
  auto& names = pictavo::kernel::Names();
  std::lock_guard lock(names.lock);
  std::erase_if(names.byName, [](const auto& entry) { return entry.second.expired(); });
  if (auto existing = names.byName[name].lock())
    return pictavo::kernel::Publish(existing, ERROR_ALREADY_EXISTS);
  auto joined = NamedFile::Open("mutex", name, NamedFile::Join::CreateOrOpen, &pictavo::kernel::ResetContent);
  if (!joined.file) return nullptr;
  auto mutex = std::make_shared<Mutex>(std::move(joined.file));
  names.byName[name] = mutex;
  if (initialOwner && !joined.existed) pictavo::kernel::TakeInitialOwnership(*mutex);
  return pictavo::kernel::Publish(mutex, joined.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
}

HANDLE OpenMutex(DWORD, BOOL, LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto& names = pictavo::kernel::Names();
  std::lock_guard lock(names.lock);
  auto it = names.byName.find(name);
  if (it != names.byName.end()) {
    if (auto existing = it->second.lock()) return pictavo::kernel::Publish(existing, ERROR_SUCCESS);
  }
  auto joined = NamedFile::Open("mutex", name, NamedFile::Join::OpenExisting, nullptr);
  if (!joined.file) return nullptr;
  auto mutex = std::make_shared<Mutex>(std::move(joined.file));
  names.byName[name] = mutex;
  return pictavo::kernel::Publish(mutex, ERROR_SUCCESS);
}

BOOL ReleaseMutex(HANDLE handle) {
  auto mutex = pictavo::kernel::FindObjectAs<Mutex>(handle);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!mutex->Release()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  return TRUE;
}
