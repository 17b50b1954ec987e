#include "platform/kernel/FileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileSharing.h"
#include "platform/kernel/Path.h"

namespace pictavo::kernel {
namespace {

bool IsReadOnly(const struct stat& st) {
  return !S_ISLNK(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

FileIdentity IdentityOf(const struct stat& st) {
  return {st.st_dev, st.st_ino};
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// A path argument in native form; false with the platform's error for a null or empty one.
bool NativeArgument(LPCSTR path, std::string* native) {
  if (!path) return Fail(ERROR_INVALID_PARAMETER);
  *native = pictavo::path::ResolveDataPath(path);  // the program's own data files in any case
  if (native->empty()) return Fail(ERROR_PATH_NOT_FOUND);
  return true;
}

// A temporary file beside a target, removed unless it was renamed into place.
class TempBeside {
 public:
  explicit TempBeside(const std::string& target) {
    const std::string folder = ParentFolder(target);
    const size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string pattern = folder + "/." + name + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_fd.Reset(::mkostemp(buffer.data(), O_CLOEXEC));
    if (m_fd) m_path = buffer.data();
  }
  ~TempBeside() {
    if (!m_path.empty()) ::unlink(m_path.c_str());
  }
  TempBeside(const TempBeside&) = delete;
  TempBeside& operator=(const TempBeside&) = delete;

  int Fd() const { return m_fd.Get(); }
  const std::string& Path() const { return m_path; }
  void Close() { m_fd.Reset(); }
  void Kept() { m_path.clear(); }

 private:
  FdOwner m_fd;
  std::string m_path;
};

bool CopyContents(int from, int to) {
  for (;;) {
    const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (n == 0) return true;
    if (n > 0) continue;
    if (errno == EINTR) continue;
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return false;
    break;  // not offered between these files: copy through a buffer
  }
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(to, buffer.data() + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += w;
    }
  }
}

// Renames without ever replacing an existing entry; EEXIST when there is one.
int RenameNoReplace(const std::string& from, const std::string& to, bool isFolder) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  // The file system cannot do it in one step: a hard link claims the name atomically.
  if (!isFolder) {
    if (::link(from.c_str(), to.c_str()) != 0) return -1;
    ::unlink(from.c_str());
    return 0;
  }
  struct stat st;
  if (::lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::rename(from.c_str(), to.c_str());
}

// Copies `from` (already checked) to `to` through a temporary file beside it.
bool CopyIntoPlace(const std::string& from, const struct stat& source, const std::string& to, bool replace) {
  FdOwner in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!in) return FailWithFileErrno(from);
  TempBeside temp(to);
  if (temp.Fd() < 0) return FailWithFileErrno(to);
  if (!CopyContents(in.Get(), temp.Fd())) return FailWithFileErrno(to);
  ::fchmod(temp.Fd(), source.st_mode & 07777);
  const struct timespec times[2] = {source.st_atim, source.st_mtim};
  ::futimens(temp.Fd(), times);
  temp.Close();
  if (replace) {
    if (::rename(temp.Path().c_str(), to.c_str()) != 0) return FailWithFileErrno(to);
  } else if (RenameNoReplace(temp.Path(), to, false) != 0) {
    return Fail(errno == EEXIST ? ERROR_FILE_EXISTS : FileErrorFromErrno(errno, to));
  }
  temp.Kept();
  return true;
}

void SyncFolderOf(const std::string& path) {
  FdOwner folder(::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) ::fsync(folder.Get());
}

}  // namespace
}  // namespace pictavo::kernel

using namespace pictavo::kernel;

BOOL DeleteFile(LPCSTR path) {
  std::string native;
  if (!NativeArgument(path, &native)) return FALSE;
  struct stat st;
  if (::lstat(native.c_str(), &st) != 0) return FailWithFileErrno(native);
  if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
  if (!OpenHandlesAllowDelete(IdentityOf(st))) return Fail(ERROR_SHARING_VIOLATION);
  if (::unlink(native.c_str()) != 0) return FailWithFileErrno(native);
  return TRUE;
}

BOOL MoveFileEx(LPCSTR from, LPCSTR to, DWORD flags) {
  if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) return Fail(ERROR_NOT_SUPPORTED);
  std::string source, target;
  if (!NativeArgument(from, &source) || !NativeArgument(to, &target)) return FALSE;
  const bool replace = flags & MOVEFILE_REPLACE_EXISTING;

  struct stat src;
  if (::lstat(source.c_str(), &src) != 0) return FailWithFileErrno(source);
  const bool isFolder = S_ISDIR(src.st_mode);
  if (!OpenHandlesAllowDelete(IdentityOf(src))) return Fail(ERROR_SHARING_VIOLATION);

  struct stat dst;
  const bool targetExists = ::lstat(target.c_str(), &dst) == 0;
  const bool sameFile = targetExists && IdentityOf(dst) == IdentityOf(src);
  if (targetExists && !sameFile) {
    if (!replace) return Fail(ERROR_ALREADY_EXISTS);
    if (isFolder || S_ISDIR(dst.st_mode) || IsReadOnly(dst)) return Fail(ERROR_ACCESS_DENIED);
    if (!OpenHandlesAllowDelete(IdentityOf(dst))) return Fail(ERROR_SHARING_VIOLATION);
  }

  const int renamed = replace || sameFile ? ::rename(source.c_str(), target.c_str())
                                          : RenameNoReplace(source, target, isFolder);
  if (renamed != 0) {
    if (errno == EEXIST || errno == ENOTEMPTY) return Fail(ERROR_ALREADY_EXISTS);
    if (errno != EXDEV) return FailWithFileErrno(target);
    if (isFolder || !(flags & MOVEFILE_COPY_ALLOWED)) return Fail(ERROR_NOT_SAME_DEVICE);
    if (!CopyIntoPlace(source, src, target, replace)) return FALSE;
    if (::unlink(source.c_str()) != 0) return FailWithFileErrno(source);
  }
  if (flags & MOVEFILE_WRITE_THROUGH) SyncFolderOf(target);
  return TRUE;
}

BOOL MoveFile(LPCSTR from, LPCSTR to) {
  return MoveFileEx(from, to, MOVEFILE_COPY_ALLOWED);
}

BOOL CopyFile(LPCSTR from, LPCSTR to, BOOL failIfExists) {
  std::string source, target;
  if (!NativeArgument(from, &source) || !NativeArgument(to, &target)) return FALSE;
  struct stat src;
  if (::stat(source.c_str(), &src) != 0) return FailWithFileErrno(source);
  if (S_ISDIR(src.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  // Reading the source as the platform does: it must not be open for writing elsewhere unshared.
  ShareRegistration reading;
  if (!reading.Register(IdentityOf(src), true, false, FILE_SHARE_READ | FILE_SHARE_DELETE)) return FALSE;

  struct stat dst;
  if (::stat(target.c_str(), &dst) == 0) {
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    if (S_ISDIR(dst.st_mode) || IsReadOnly(dst)) return Fail(ERROR_ACCESS_DENIED);
    if (!OpenHandlesAllowDelete(IdentityOf(dst))) return Fail(ERROR_SHARING_VIOLATION);
  }
  return CopyIntoPlace(source, src, target, !failIfExists) ? TRUE : FALSE;
}
