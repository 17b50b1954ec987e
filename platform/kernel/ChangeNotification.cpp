#include "platform/kernel/ChangeNotification.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Wait.h"

namespace pictavo::kernel {

constexpr DWORD kKnownFilters = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_LAST_ACCESS |
                                FILE_NOTIFY_CHANGE_CREATION | FILE_NOTIFY_CHANGE_SECURITY;
constexpr uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

uint32_t WatchMaskForFilter(DWORD filter) {
  uint32_t mask = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
  if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) mask |= kNameEvents;
  if (filter & FILE_NOTIFY_CHANGE_CREATION) mask |= IN_CREATE;
  if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY | FILE_NOTIFY_CHANGE_LAST_WRITE))
    mask |= IN_ATTRIB;
  if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) mask |= IN_MODIFY | IN_CLOSE_WRITE;
  if (filter & FILE_NOTIFY_CHANGE_LAST_ACCESS) mask |= IN_ACCESS;
  return mask;
}

bool EventMatchesFilter(DWORD filter, uint32_t event) {
  if (event & (IN_Q_OVERFLOW | IN_UNMOUNT)) return true;  // changes we cannot see any more
  const bool folder = (event & IN_ISDIR) != 0;
  if ((event & kNameEvents) &&
      (filter & (folder ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)))
    return true;
  if ((event & IN_CREATE) && (filter & FILE_NOTIFY_CHANGE_CREATION)) return true;
  if ((event & IN_ATTRIB) && (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY |
                                        FILE_NOTIFY_CHANGE_LAST_WRITE)))
    return true;
  if ((event & (IN_MODIFY | IN_CLOSE_WRITE)) && !folder &&
      (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)))
    return true;
  return (event & IN_ACCESS) && (filter & FILE_NOTIFY_CHANGE_LAST_ACCESS);
}

namespace {

struct CloseDir {
  void operator()(DIR* dir) const { closedir(dir); }
};
using Dir = std::unique_ptr<DIR, CloseDir>;

class ChangeNotification final : public KernelObject {
 public:
  ChangeNotification(int fd, bool subtree, DWORD filter) : m_fd(fd), m_subtree(subtree), m_filter(filter) {}
  ~ChangeNotification() override { close(m_fd); }

  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked(std::thread::id) override { return m_changes > m_armedAt; }
  void AcquireLocked(std::thread::id) override { m_seen = m_changes; }
  void OnLastHandleClosed() override;

  int Fd() const { return m_fd; }
  bool IsWatching() const { return m_rootWatch >= 0; }
  // Why the folder itself could not be watched.
  DWORD RootError() const {
    return m_rootError == ENOSPC || m_rootError == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY
                                                          : ErrorFromErrno(m_rootError);
  }

  void Rearm() {
    std::lock_guard lock(SignalLock());
    m_armedAt = std::max(m_armedAt, m_seen);
  }

  // Watches the folder (and, for a subtree, every folder below it). Returns whether the folder
  // has entries, which matters for a folder that appeared after the watch began.
  bool Watch(const std::string& path) {
    const uint32_t mask = WatchMaskForFilter(m_filter) | (m_subtree ? IN_CREATE | IN_MOVED_TO : 0);
    const int wd = inotify_add_watch(m_fd, path.c_str(), mask);
    if (wd < 0) {
      if (m_rootWatch < 0) m_rootError = errno;
      return false;
    }
    if (m_rootWatch < 0) m_rootWatch = wd;
    m_folders[wd] = path;
    if (!m_subtree) return false;
    Dir dir(opendir(path.c_str()));
    if (!dir) return false;
    bool any = false;
    while (const dirent* entry = readdir(dir.get())) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      any = true;
      const std::string child = path + "/" + name;
      bool folder = entry->d_type == DT_DIR;
      if (entry->d_type == DT_UNKNOWN) {
        struct stat st {};
        folder = lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      }
      if (folder) Watch(child);
    }
    return any;
  }

  // Reads what the system reported; the watcher thread only.
  void Drain() {
    alignas(inotify_event) char buffer[16384];
    bool changed = false;
    for (;;) {
      const ssize_t length = read(m_fd, buffer, sizeof buffer);
      if (length <= 0) break;  // drained: the descriptor does not block
      for (const char* p = buffer; p < buffer + length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(p);
        p += sizeof(inotify_event) + event->len;
        if (event->mask & IN_IGNORED) {
          m_folders.erase(event->wd);
          continue;
        }
        if ((event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) && event->wd == m_rootWatch) changed = true;
        if (EventMatchesFilter(m_filter, event->mask)) changed = true;
        // A folder that appears below a watched subtree is watched too; what was put in it before
        // the watch began counts as a change.
        if (m_subtree && (event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) &&
            event->len) {
          auto parent = m_folders.find(event->wd);
          if (parent != m_folders.end() && Watch(parent->second + "/" + event->name) &&
              (m_filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)))
            changed = true;
        }
      }
    }
    if (!changed) return;
    {
      std::lock_guard lock(SignalLock());
      ++m_changes;
    }
    NotifySignalChanged();
  }

 private:
  const int m_fd;
  const bool m_subtree;
  const DWORD m_filter;
  // Set up before the watcher thread sees the object, then touched by that thread only.
  std::map<int, std::string> m_folders;  // watch descriptor -> folder
  int m_rootWatch = -1;
  int m_rootError = 0;
  uint64_t m_changes = 0;  // guarded by SignalLock()
  uint64_t m_seen = 0;     // the count the last satisfied wait saw; guarded by SignalLock()
  uint64_t m_armedAt = 0;  // guarded by SignalLock()
};

// One thread watches every notification's descriptor.
class Watcher {
 public:
  static Watcher& Instance() {
    static Watcher* instance = new Watcher;  // outlives static destructors of callers
    return *instance;
  }

  bool Add(std::shared_ptr<ChangeNotification> notification) {
    std::lock_guard lock(m_lock);
    if (m_wake < 0) {
      m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
      if (m_wake < 0) return FailWithErrno();
      try {
        std::thread([this] { Loop(); }).detach();
      } catch (const std::system_error&) {
        close(m_wake);
        m_wake = -1;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
      }
    }
    m_watched.push_back(std::move(notification));
    Wake();
    return true;
  }

  void Remove(const ChangeNotification* notification) {
    std::lock_guard lock(m_lock);
    std::erase_if(m_watched, [&](const auto& watched) { return watched.get() == notification; });
    Wake();
  }

 private:
  void Wake() {
    const uint64_t one = 1;
    (void)!write(m_wake, &one, sizeof one);
  }

  void Loop() {
    for (;;) {
      std::vector<std::shared_ptr<ChangeNotification>> watched;
      {
        std::lock_guard lock(m_lock);
        watched = m_watched;
      }
      std::vector<pollfd> fds{{m_wake, POLLIN, 0}};
      for (const auto& notification : watched) fds.push_back({notification->Fd(), POLLIN, 0});
      if (poll(fds.data(), fds.size(), -1) < 0) continue;  // interrupted
      if (fds[0].revents) {
        uint64_t count;
        (void)!read(m_wake, &count, sizeof count);
      }
      for (size_t i = 0; i < watched.size(); ++i)
        if (fds[i + 1].revents) watched[i]->Drain();
    }
  }

  std::mutex m_lock;
  int m_wake = -1;                                             // set once, under m_lock
  std::vector<std::shared_ptr<ChangeNotification>> m_watched;  // guarded by m_lock
};

void ChangeNotification::OnLastHandleClosed() {
  Watcher::Instance().Remove(this);
}

}  // namespace
}  // namespace pictavo::kernel

using pictavo::kernel::ChangeNotification;

HANDLE FindFirstChangeNotification(LPCSTR path, BOOL watchSubtree, DWORD filter) {
  if (!path || !*path || filter == 0 || (filter & ~pictavo::kernel::kKnownFilters)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string folder = pictavo::path::ToNative(path);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  struct stat st {};
  if (stat(folder.c_str(), &st) != 0) {
    pictavo::FailWithErrno();
    return INVALID_HANDLE_VALUE;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return INVALID_HANDLE_VALUE;
  }
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) {
    SetLastError(errno == EMFILE || errno == ENFILE ? ERROR_TOO_MANY_OPEN_FILES
                                                    : pictavo::ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  auto notification = std::make_shared<ChangeNotification>(fd, watchSubtree != FALSE, filter);
  notification->Watch(folder);
  if (!notification->IsWatching()) {
    SetLastError(notification->RootError());
    return INVALID_HANDLE_VALUE;
  }
  if (!pictavo::kernel::Watcher::Instance().Add(notification)) return INVALID_HANDLE_VALUE;
  return pictavo::kernel::InsertHandle(notification);
}

BOOL FindNextChangeNotification(HANDLE handle) {
  auto notification = pictavo::kernel::FindObjectAs<ChangeNotification>(handle);
  if (!notification) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  notification->Rearm();
  return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE handle) {
  if (!pictavo::kernel::FindObjectAs<ChangeNotification>(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return CloseHandle(handle);
}
