#include "platform/kernel/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/FileSharing.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/PipeNames.h"

namespace pictavo::kernel {
namespace {

bool SeekForTransfer(int fd, OVERLAPPED* at) {
  if (!at) return true;
  const off_t offset = static_cast<off_t>((static_cast<uint64_t>(at->OffsetHigh) << 32) | at->Offset);
  return ::lseek(fd, offset, SEEK_SET) >= 0;
}

// A regular file (or, with FILE_FLAG_BACKUP_SEMANTICS, a folder) opened by CreateFile.
class DiskFile final : public FileHandle {
 public:
  DiskFile(FdOwner fd, bool canRead, bool canWrite, std::string absolutePath, FileIdentity identity,
           ShareRegistration share, bool deleteOnClose)
      : FileHandle(fd.Release(), canRead, canWrite),
        m_path(std::move(absolutePath)),
        m_identity(identity),
        m_share(std::move(share)),
        m_deleteOnClose(deleteOnClose) {}

  void OnLastHandleClosed() override {
    m_share.Release();
    if (!m_deleteOnClose) return;
    // Only the file this handle opened: the name may have been reused since.
    struct stat st;
    if (::stat(m_path.c_str(), &st) == 0 && FileIdentity{st.st_dev, st.st_ino} == m_identity)
      ::unlink(m_path.c_str());
  }

 private:
  const std::string m_path;
  const FileIdentity m_identity;
  ShareRegistration m_share;
  const bool m_deleteOnClose;
};

// One of the process's standard streams; the descriptor belongs to the process, not the handle.
class StdStream final : public FileHandle {
 public:
  StdStream(int fd, bool canRead, bool canWrite) : FileHandle(fd, canRead, canWrite) {}
  ~StdStream() override { m_fd = -1; }
};

// No write permission for anyone is how a read-only file shows here.
bool IsReadOnly(const struct stat& st) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

void FileHandle::CompleteOverlapped(OVERLAPPED* at, DWORD done) {
  if (!at) return;
  at->Internal = ERROR_SUCCESS;
  at->InternalHigh = done;
  if (at->hEvent) SetEvent(at->hEvent);
}

BOOL FileHandle::Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* at) {
  DWORD total = 0;
  if (done) *done = 0;
  if (!CanRead()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!SeekForTransfer(m_fd, at)) return FailWithFileErrno({});
  auto* out = static_cast<char*>(buffer);
  while (total < size) {
    const ssize_t n = ::read(m_fd, out + total, size - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (done) *done = total;
      return FailWithFileErrno({});
    }
    if (n == 0) break;  // end of file: success with what was read
    total += static_cast<DWORD>(n);
  }
  if (done) *done = total;
  CompleteOverlapped(at, total);
  return TRUE;
}

BOOL FileHandle::Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* at) {
  DWORD total = 0;
  if (done) *done = 0;
  if (!CanWrite()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!SeekForTransfer(m_fd, at)) return FailWithFileErrno({});
  const auto* in = static_cast<const char*>(buffer);
  while (total < size) {
    const ssize_t n = ::write(m_fd, in + total, size - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (done) *done = total;
      return FailWithFileErrno({});
    }
    total += static_cast<DWORD>(n);
  }
  if (done) *done = total;
  CompleteOverlapped(at, total);
  return TRUE;
}

BOOL FileHandle::Flush() {
  if (!CanWrite()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  // Terminals and the like have nothing to write back.
  if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) return FailWithFileErrno({});
  return TRUE;
}

FdOwner FileHandle::DuplicateForChild() {
  FdOwner copy(::fcntl(m_fd, F_DUPFD_CLOEXEC, 3));
  if (!copy) FailWithFileErrno({});
  return copy;
}

void IgnoreBrokenPipeSignal() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
      struct sigaction ignore {};
      ignore.sa_handler = SIG_IGN;
      sigemptyset(&ignore.sa_mask);
      ::sigaction(SIGPIPE, &ignore, nullptr);
    }
  });
}

std::shared_ptr<FileHandle> OpenFileObject(const char* path, DWORD access, DWORD shareMode, DWORD disposition,
                                           DWORD flagsAndAttributes) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  IgnoreBrokenPipeSignal();
  if (auto pipeName = PipeNameFromPath(path)) return OpenPipeClient(*pipeName, access);

  // The program names its own data files in varying case; those are found as they are on disk.
  const std::string native = pictavo::path::ResolveDataPath(path);
  if (native.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  const bool fullWrite = access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA);
  const bool appendOnly = (access & FILE_APPEND_DATA) && !fullWrite;
  const bool writes = fullWrite || appendOnly;
  const bool reads = access & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA);
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
      (disposition == TRUNCATE_EXISTING && !writes)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }

  // O_NONBLOCK keeps a FIFO or device path from hanging the open; it is cleared afterwards.
  int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
  if (appendOnly) flags |= O_APPEND;
  if (flagsAndAttributes & FILE_FLAG_WRITE_THROUGH) flags |= O_DSYNC;
  const mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

  FdOwner fd;
  bool existed = false;
  switch (disposition) {
    case CREATE_NEW:
      fd.Reset(::open(native.c_str(), flags | O_CREAT | O_EXCL, mode));
      break;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
      fd.Reset(::open(native.c_str(), flags));
      existed = true;
      break;
    default:  // CREATE_ALWAYS, OPEN_ALWAYS: whether the file was there decides the last error
      for (int attempt = 0; attempt < 8 && !fd; ++attempt) {
        fd.Reset(::open(native.c_str(), flags));
        if (fd) {
          existed = true;
        } else if (errno == ENOENT) {
          fd.Reset(::open(native.c_str(), flags | O_CREAT | O_EXCL, mode));
          if (!fd && errno != EEXIST) break;
        } else {
          break;
        }
      }
  }
  if (!fd) {
    FailWithFileErrno(native);
    return nullptr;
  }

  struct stat st;
  if (::fstat(fd.Get(), &st) != 0) {
    FailWithFileErrno(native);
    return nullptr;
  }
  if (S_ISDIR(st.st_mode) && !(flagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  if (existed && writes && IsReadOnly(st)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);

  const FileIdentity identity{st.st_dev, st.st_ino};
  ShareRegistration share;
  if (!share.Register(identity, reads, writes, shareMode)) return nullptr;

  const bool truncate = existed && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING);
  if (truncate && st.st_size != 0 && ::ftruncate(fd.Get(), 0) != 0) {
    FailWithFileErrno(native);
    return nullptr;
  }
  if (flagsAndAttributes & FILE_FLAG_SEQUENTIAL_SCAN) ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  if (flagsAndAttributes & FILE_FLAG_RANDOM_ACCESS) ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_RANDOM);

  auto file =
      std::make_shared<DiskFile>(std::move(fd), reads, writes, AbsoluteNativePath(native), identity,
                                 std::move(share), (flagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) != 0);
  const bool reportExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
  SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return file;
}

}  // namespace pictavo::kernel

HANDLE CreateFile(LPCSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES, DWORD disposition,
                  DWORD flagsAndAttributes, HANDLE) {
  auto file = pictavo::kernel::OpenFileObject(path, access, shareMode, disposition, flagsAndAttributes);
  if (!file) return INVALID_HANDLE_VALUE;
  const DWORD error = GetLastError();  // ERROR_ALREADY_EXISTS survives the insertion
  HANDLE handle = pictavo::kernel::InsertHandle(std::move(file));
  SetLastError(error);
  return handle;
}

HANDLE GetStdHandle(DWORD which) {
  using pictavo::kernel::StdStream;
  int fd;
  switch (which) {
    case STD_INPUT_HANDLE:
      fd = 0;
      break;
    case STD_OUTPUT_HANDLE:
      fd = 1;
      break;
    case STD_ERROR_HANDLE:
      fd = 2;
      break;
    default:
      SetLastError(ERROR_INVALID_HANDLE);
      return INVALID_HANDLE_VALUE;
  }
  pictavo::kernel::IgnoreBrokenPipeSignal();
  static std::mutex lock;
  static HANDLE handles[3] = {};  // guarded by lock
  std::lock_guard guard(lock);
  const DWORD error = GetLastError();
  // A program may close a standard handle; asking again gives a fresh one.
  if (!handles[fd] || !pictavo::kernel::FindObject(handles[fd]))
    handles[fd] = pictavo::kernel::InsertHandle(std::make_shared<StdStream>(fd, fd == 0, fd != 0));
  SetLastError(error);
  return handles[fd];
}
