#include "platform/registry/Hive.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/registry/HiveText.h"

namespace pictavo::registry {

namespace {

FILETIME ToFileTime(int64_t seconds, int64_t nanoseconds) {
  constexpr int64_t kEpochDifference = 11644473600;  // 1601-01-01 to 1970-01-01
  const uint64_t ticks = static_cast<uint64_t>((seconds + kEpochDifference) * 10000000 + nanoseconds / 100);
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

FILETIME Now() {
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  return ToFileTime(now.tv_sec, now.tv_nsec);
}

class Fd {
 public:
  explicit Fd(int fd = -1) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  explicit operator bool() const { return m_fd >= 0; }

 private:
  int m_fd;
};

// Creates the folder and its missing parents, private to the user.
bool MakeFolders(const std::string& folder) {
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos != folder.size() && folder[pos] != '/') continue;
    const std::string part = folder.substr(0, pos);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The hive's lock file, held with flock for the span of a flush or a setting-aside.
class FileLock {
 public:
  explicit FileLock(const std::string& path)
      : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (!m_fd) return;
    while (::flock(m_fd.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) return;
    }
    m_locked = true;
  }
  bool Locked() const { return m_locked; }

 private:
  Fd m_fd;
  bool m_locked = false;
};

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Temporary file and rename; the old file stays whole on any failure.
DWORD ReplaceFileContents(const std::string& path, const std::string& text) {
  std::string temp = path + ".tmp-XXXXXX";
  Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd) return ErrorFromErrno(errno);
  if (!WriteAll(fd.Get(), text) || ::rename(temp.c_str(), path.c_str()) != 0) {
    const DWORD error = errno == EFBIG ? ERROR_DISK_FULL : ErrorFromErrno(errno);
    ::unlink(temp.c_str());
    return error;
  }
  return ERROR_SUCCESS;
}

}  // namespace

std::string HiveFolder() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      const passwd* user = ::getpwuid(::geteuid());
      home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] == '\0') return {};
    base = std::string(home) + "/.config";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/pictavo";
}

Hive::Hive(std::string fileName, std::string title)
    : m_fileName(std::move(fileName)), m_title(std::move(title)) {}

std::string Hive::FilePath() const {
  const std::string folder = HiveFolder();
  return folder.empty() ? std::string() : folder + "/" + m_fileName;
}

Hive::LoadResult Hive::Load(const std::string& path, Key& root, std::optional<Stamp>& stamp,
                            std::string& error) const {
  stamp.reset();
  root = Key();
  if (path.empty()) return LoadResult::kMissing;
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT || errno == ENOTDIR) return LoadResult::kMissing;
    error = std::strerror(errno);
    return LoadResult::kUnreadable;
  }
  struct stat st;
  if (::fstat(fd.Get(), &st) != 0) {
    error = std::strerror(errno);
    return LoadResult::kUnreadable;
  }
  stamp = Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      return LoadResult::kUnreadable;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
  return ParseHive(text, root, error) ? LoadResult::kLoaded : LoadResult::kDamaged;
}

void Hive::SetAside(const std::string& path, const Stamp& damaged, const std::string& why) const {
  // Under the file lock, and only if the file is still the damaged one: a writer may have
  // replaced it meanwhile.
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || st.st_dev != damaged.device || st.st_ino != damaged.inode) return;
  const std::string aside = path + ".damaged";
  if (::rename(path.c_str(), aside.c_str()) == 0)
    std::fprintf(stderr, "pictavo: the settings file %s is damaged (%s); it was set aside as %s\n",
                 path.c_str(), why.c_str(), aside.c_str());
  else
    std::fprintf(stderr, "pictavo: the settings file %s is damaged (%s) and could not be set aside: %s\n",
                 path.c_str(), why.c_str(), std::strerror(errno));
}

void Hive::RebuildView() {
  m_view = m_disk;
  for (const Change& change : m_pending) Apply(m_view, change);
}

void Hive::RefreshLocked() {
  const std::string path = FilePath();
  if (m_loaded && path == m_loadedPath) {
    struct stat st;
    std::optional<Stamp> now;
    if (!path.empty() && ::stat(path.c_str(), &st) == 0)
      now = Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
    if (now == m_stamp) return;
  }
  std::optional<Stamp> stamp;
  std::string error;
  switch (Load(path, m_disk, stamp, error)) {
    case LoadResult::kLoaded:
    case LoadResult::kMissing:
      break;
    case LoadResult::kDamaged: {
      FileLock lock(path + ".lock");
      SetAside(path, *stamp, error);
      stamp.reset();
      break;
    }
    case LoadResult::kUnreadable:
      std::fprintf(stderr, "pictavo: the settings file %s cannot be read (%s); defaults are used\n",
                   path.c_str(), error.c_str());
      break;
  }
  m_loaded = true;
  m_loadedPath = path;
  m_stamp = stamp;
  m_lastWrite = stamp ? ToFileTime(stamp->modified / 1000000000, stamp->modified % 1000000000) : FILETIME{};
  RebuildView();
}

void Hive::ChangeLocked(Change change) {
  if (!m_loaded) RefreshLocked();
  Apply(m_view, change);
  m_pending.push_back(std::move(change));
  m_lastWrite = Now();
}

DWORD Hive::FlushLocked() {
  if (m_pending.empty()) return ERROR_SUCCESS;
  const std::string folder = HiveFolder();
  if (folder.empty()) return ERROR_PATH_NOT_FOUND;
  if (!MakeFolders(folder)) return ErrorFromErrno(errno);
  const std::string path = folder + "/" + m_fileName;
  FileLock lock(path + ".lock");
  if (!lock.Locked()) return ErrorFromErrno(errno);

  Key merged;
  std::optional<Stamp> stamp;
  std::string error;
  switch (Load(path, merged, stamp, error)) {
    case LoadResult::kLoaded:
    case LoadResult::kMissing:
      break;
    case LoadResult::kDamaged:
      SetAside(path, *stamp, error);
      break;
    case LoadResult::kUnreadable:
      return ERROR_ACCESS_DENIED;
  }
  for (const Change& change : m_pending) Apply(merged, change);
  const DWORD result = ReplaceFileContents(path, FormatHive(merged, m_title));
  if (result != ERROR_SUCCESS) return result;

  struct stat st;
  m_stamp.reset();
  if (::stat(path.c_str(), &st) == 0)
    m_stamp = Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
  m_loaded = true;
  m_loadedPath = path;
  m_disk = std::move(merged);
  m_pending.clear();
  m_view = m_disk;
  return ERROR_SUCCESS;
}

namespace {

struct Hives {
  std::array<Hive, 3> hives{Hive("current_user.reg", "HKEY_CURRENT_USER"),
                            Hive("local_machine.reg", "HKEY_LOCAL_MACHINE"),
                            Hive("classes_root.reg", "HKEY_CLASSES_ROOT")};

  void FlushAll() {
    for (Hive& hive : hives) {
      auto lock = hive.Lock();
      if (const DWORD error = hive.FlushLocked(); error != ERROR_SUCCESS)
        std::fprintf(stderr, "pictavo: settings could not be written to %s (error %u)\n",
                     hive.FilePath().c_str(), static_cast<unsigned>(error));
    }
  }
};

// Never destroyed, so the destructor of a static object that still reads or writes settings at
// exit finds the hives in place. A key left open has its changes written when the program ends
// normally.
Hives& AllHives() {
  static Hives* const hives = [] {
    auto* created = new Hives;
    std::atexit([] { AllHives().FlushAll(); });
    return created;
  }();
  return *hives;
}

}  // namespace

Hive& HiveFor(HiveId id) {
  return AllHives().hives[static_cast<size_t>(id)];
}

void FlushAllHives() {
  AllHives().FlushAll();
}

}  // namespace pictavo::registry
