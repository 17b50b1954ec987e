#include "platform/kernel/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/FileSystemInternal.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SystemBuffers.h"

namespace pictavo::fs {

FILETIME ToFileTime(int64_t seconds, uint32_t nanoseconds) {
  // 100-nanosecond intervals since 1601-01-01, the platform's epoch.
  constexpr int64_t kEpochDifference = 11644473600;
  const int64_t ticks = (seconds + kEpochDifference) * 10000000 + nanoseconds / 100;
  const uint64_t value = ticks < 0 ? 0 : static_cast<uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

bool QueryFacts(int dirFd, const char* path, std::string_view name, FileFacts& facts) {
  struct statx st;
  int flags = AT_STATX_SYNC_AS_STAT;
  if (::statx(dirFd, path, flags, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) {
    // A dangling symbolic link still is an entry of its folder.
    if (errno != ENOENT || ::statx(dirFd, path, flags | AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &st) != 0)
      return false;
  }
  DWORD attributes = 0;
  if (S_ISDIR(st.stx_mode))
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  else if (S_ISREG(st.stx_mode))
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
  else
    attributes |= FILE_ATTRIBUTE_SYSTEM;
  if (name.size() > 1 && name.front() == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  if ((st.stx_mode & 0222) == 0 || ::faccessat(dirFd, path, W_OK, AT_EACCESS) != 0)
    attributes |= FILE_ATTRIBUTE_READONLY;
  // What the file system itself says (btrfs compression, fscrypt folders).
  if (st.stx_attributes_mask & st.stx_attributes & STATX_ATTR_COMPRESSED)
    attributes |= FILE_ATTRIBUTE_COMPRESSED;
  if (st.stx_attributes_mask & st.stx_attributes & STATX_ATTR_ENCRYPTED)
    attributes |= FILE_ATTRIBUTE_ENCRYPTED;
  facts.attributes = attributes;
  facts.size = S_ISREG(st.stx_mode) ? st.stx_size : 0;
  facts.lastWrite = ToFileTime(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
  facts.lastAccess = ToFileTime(st.stx_atime.tv_sec, st.stx_atime.tv_nsec);
  facts.creation =
      (st.stx_mask & STATX_BTIME) ? ToFileTime(st.stx_btime.tv_sec, st.stx_btime.tv_nsec) : facts.lastWrite;
  return true;
}

}  // namespace pictavo::fs

using namespace pictavo;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL CreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  const std::string native = path::ToNative(path);
  if (::mkdir(native.c_str(), 0777) == 0) return TRUE;
  const int err = errno;
  if (err == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
  if (err == ENOENT || err == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND);
  return Fail(ErrorFromErrno(err));
}

BOOL RemoveDirectory(LPCSTR path) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  const std::string native = path::ToNative(path);
  if (::rmdir(native.c_str()) == 0) return TRUE;
  const int err = errno;
  if (err == ENOTDIR) return Fail(ERROR_DIRECTORY);
  if (err == ENOENT) return Fail(kernel::FileErrorFromErrno(err, native));
  if (err == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY);
  return Fail(ErrorFromErrno(err));
}

DWORD GetCurrentDirectory(DWORD size, LPSTR buffer) {
  char* cwd = ::getcwd(nullptr, 0);
  if (cwd == nullptr) {
    SetLastError(ErrorFromErrno(errno));
    return 0;
  }
  const std::string text(cwd);
  std::free(cwd);
  return kernel::CopyOrSizeNeeded(text, size, buffer);
}

BOOL SetCurrentDirectory(LPCSTR path) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_INVALID_PARAMETER);
  const std::string native = path::ResolveDataPath(path);
  if (::chdir(native.c_str()) == 0) return TRUE;
  const int err = errno;
  return Fail(err == ENOTDIR ? ERROR_DIRECTORY : kernel::FileErrorFromErrno(err, native));
}

DWORD GetTempPath(DWORD size, LPSTR buffer) {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = (tmp != nullptr && *tmp != '\0') ? path::ToNative(tmp) : "/tmp";
  if (!path::EndsWithSeparator(folder)) folder += '/';
  return kernel::CopyOrSizeNeeded(folder, size, buffer);
}

UINT GetTempFileName(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
  if (folder == nullptr || tempFileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string base = path::ToNative(folder);
  std::string start = base;
  if (!start.empty() && !path::EndsWithSeparator(start)) start += '/';
  if (prefix != nullptr) start.append(prefix, std::min<size_t>(std::strlen(prefix), 3));

  const auto format = [&](UINT number) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", number & 0xFFFFu);
    return start + hex + ".TMP";
  };
  const auto deliver = [&](const std::string& name, UINT number) -> UINT {
    if (name.size() >= MAX_PATH) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return 0;
    }
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return number;
  };
  if (unique != 0) return deliver(format(unique), unique);

  struct stat st;
  if (::stat(base.empty() ? "." : base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  // Start from a number that differs between processes and calls, then probe upwards.
  timespec now;
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  UINT number = static_cast<UINT>((now.tv_nsec / 1000 + ::getpid() * 7919) & 0xFFFF);
  for (int attempt = 0; attempt < 0x10000; ++attempt, number = (number + 1) & 0xFFFF) {
    if (number == 0) continue;
    const std::string name = format(number);
    if (name.size() >= MAX_PATH) return deliver(name, 0);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return deliver(name, number);
    }
    if (errno != EEXIST) {
      SetLastError(ErrorFromErrno(errno));
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

DWORD GetFileAttributes(LPCSTR path) {
  if (path == nullptr || *path == '\0') {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  const std::string native = path::ResolveDataPath(path);
  const std::string name(path::FileName(path::WithoutTrailingSeparator(native)));
  fs::FileFacts facts;
  if (!fs::QueryFacts(AT_FDCWD, native.c_str(), name, facts)) {
    SetLastError(kernel::FileErrorFromErrno(errno, native));
    return INVALID_FILE_ATTRIBUTES;
  }
  return facts.attributes;
}

BOOL GetFileAttributesEx(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
  if (level != GetFileExInfoStandard || info == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  const std::string native = path::ResolveDataPath(path);
  const std::string name(path::FileName(path::WithoutTrailingSeparator(native)));
  fs::FileFacts facts;
  if (!fs::QueryFacts(AT_FDCWD, native.c_str(), name, facts))
    return Fail(kernel::FileErrorFromErrno(errno, native));
  auto* out = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info);
  out->dwFileAttributes = facts.attributes;
  out->ftCreationTime = facts.creation;
  out->ftLastAccessTime = facts.lastAccess;
  out->ftLastWriteTime = facts.lastWrite;
  out->nFileSizeHigh = static_cast<DWORD>(facts.size >> 32);
  out->nFileSizeLow = static_cast<DWORD>(facts.size & 0xFFFFFFFFu);
  return TRUE;
}

BOOL SetFileAttributes(LPCSTR path, DWORD attributes) {
  if (path == nullptr || *path == '\0') return Fail(ERROR_PATH_NOT_FOUND);
  const std::string native = path::ResolveDataPath(path);
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) return Fail(kernel::FileErrorFromErrno(errno, native));
  mode_t mode = st.st_mode & 07777;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    mode &= ~static_cast<mode_t>(0222);
  else if ((mode & S_IWUSR) == 0)
    mode |= S_IWUSR;
  if (mode != (st.st_mode & 07777) && ::chmod(native.c_str(), mode) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}
