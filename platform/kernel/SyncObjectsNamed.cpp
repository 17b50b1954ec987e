#include "platform/kernel/SyncObjectsNamed.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

namespace pictavo::kernel {
namespace {

// Lock bytes; the locks are advisory, so they may overlap the file's content.
constexpr off_t kPresenceByte = 0;  // shared by every holder
constexpr off_t kOwnerByte = 1;     // exclusive, a mutex's owner

struct Folder {
  std::string path;
  DWORD error = ERROR_SUCCESS;
};

bool MakePrivateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
    errno = EACCES;
    return false;
  }
  return (st.st_mode & 077) == 0 || chmod(path.c_str(), 0700) == 0;
}

Folder FindFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') {
    std::string path = std::string(runtime) + "/pictavo";
    if (MakePrivateFolder(path)) return {path};
  }
  std::string path = "/tmp/pictavo-" + std::to_string(geteuid());
  if (MakePrivateFolder(path)) return {path};
  return {{}, ErrorFromErrno(errno)};
}

// Object names may hold any character; the file name keeps the safe ones and escapes the rest.
std::string FileName(std::string_view kind, std::string_view name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out(kind);
  out += '-';
  for (unsigned char c : name) {
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '.';
    if (safe) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool SetLock(int fd, short type, off_t byte, bool wait) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  for (;;) {
    if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

std::string RuntimeFolder() {
  static const Folder folder = FindFolder();
  if (folder.path.empty()) SetLastError(folder.error);
  return folder.path;
}

NamedFile::Joined NamedFile::Open(std::string_view kind, std::string_view name, Join join,
                                  const std::function<bool(int fd)>& startFresh) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return {};
  const std::string fileName = FileName(kind, name);
  if (fileName.size() > 255) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return {};
  }
  const std::string path = folder + "/" + fileName;
  const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (join == Join::CreateOrOpen ? O_CREAT : 0);
  // The last holder removes the file on its way out; one we opened just before that is dead and
  // is opened anew. Only a constant stream of such races could exhaust the attempts.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd = open(path.c_str(), flags, 0600);
    if (fd < 0) {
      SetLastError(ErrorFromErrno(errno));
      return {};
    }
    std::unique_ptr<NamedFile> file(new NamedFile(fd, path));
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return {};
    }
    const bool alone = SetLock(fd, F_WRLCK, kPresenceByte, false);
    if (!alone) {
      if (errno != EAGAIN && errno != EACCES) {
        SetLastError(ErrorFromErrno(errno));
        return {};
      }
      // Waits only while a creator resets the content or a last holder removes the file.
      if (!SetLock(fd, F_RDLCK, kPresenceByte, true)) {
        SetLastError(ErrorFromErrno(errno));
        return {};
      }
    }
    if (!file->IsAtPath()) continue;
    if (!alone) return {std::move(file), true};
    // Nobody else holds the name: it does not exist, whatever an ended holder left in the file.
    if (join == Join::OpenExisting) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return {};
    }
    if (startFresh && !startFresh(fd)) return {};
    if (!SetLock(fd, F_RDLCK, kPresenceByte, false)) {
      SetLastError(ErrorFromErrno(errno));
      return {};
    }
    return {std::move(file), false};
  }
  SetLastError(ERROR_SHARING_VIOLATION);
  return {};
}

NamedFile::~NamedFile() {
  // The last holder removes the name. Holding the exclusive lock, nobody else can remove or
  // replace the file, so the path still names this file when the check says so.
  if (SetLock(m_fd, F_WRLCK, kPresenceByte, false) && IsAtPath()) unlink(m_path.c_str());
  close(m_fd);
}

bool NamedFile::IsAtPath() const {
  struct stat held {};
  struct stat named {};
  return fstat(m_fd, &held) == 0 && lstat(m_path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
         held.st_dev == named.st_dev;
}

bool NamedFile::TryLockOwner() {
  return SetLock(m_fd, F_WRLCK, kOwnerByte, false);
}

void NamedFile::UnlockOwner() {
  SetLock(m_fd, F_UNLCK, kOwnerByte, false);
}

}  // namespace pictavo::kernel
