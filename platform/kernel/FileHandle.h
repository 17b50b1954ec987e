// Files and pipe ends behind HANDLEs: CreateFile, the standard handles, and the object every
// ReadFile/WriteFile goes to.
#pragma once

#include <unistd.h>

#include <utility>

#include "platform/base/WinTypes.h"
#include "platform/kernel/FileAttributes.h"
#include "platform/kernel/FileObject.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define GENERIC_EXECUTE 0x20000000u
#define GENERIC_ALL 0x10000000u
#define FILE_READ_DATA 0x0001u
#define FILE_WRITE_DATA 0x0002u
#define FILE_APPEND_DATA 0x0004u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u

#define FILE_FLAG_WRITE_THROUGH 0x80000000u
#define FILE_FLAG_OVERLAPPED 0x40000000u
#define FILE_FLAG_NO_BUFFERING 0x20000000u
#define FILE_FLAG_RANDOM_ACCESS 0x10000000u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000u
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000u
#define FILE_FLAG_POSIX_SEMANTICS 0x01000000u
#define FILE_FLAG_FIRST_PIPE_INSTANCE 0x00080000u

#define STD_INPUT_HANDLE (static_cast<DWORD>(-10))
#define STD_OUTPUT_HANDLE (static_cast<DWORD>(-11))
#define STD_ERROR_HANDLE (static_cast<DWORD>(-12))

// Error codes the file functions report that the base list does not carry yet.
#ifndef ERROR_NOT_SAME_DEVICE
#define ERROR_NOT_SAME_DEVICE 17L
#endif
#ifndef ERROR_NEGATIVE_SEEK
#define ERROR_NEGATIVE_SEEK 131L
#endif
#ifndef ERROR_NOT_FOUND
#define ERROR_NOT_FOUND 1168L
#endif

// Only the positioned form is used: handles are never opened for asynchronous I/O, so an
// OVERLAPPED passed to ReadFile/WriteFile gives the file offset and the call completes at once.
struct OVERLAPPED {
  ULONG_PTR Internal;
  ULONG_PTR InternalHigh;
  DWORD Offset;
  DWORD OffsetHigh;
  HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;

// Paths may use `\`; `\\.\pipe\NAME` opens the client end of a named pipe of this process.
// Share modes are honoured between the handles of this process (other processes do not take
// part: the system has no mandatory locks).
HANDLE CreateFile(LPCSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                  DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
inline HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                          DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  return CreateFile(path, access, shareMode, attributes, disposition, flagsAndAttributes, templateFile);
}
HANDLE GetStdHandle(DWORD which);

namespace pictavo::kernel {

// Owns one file descriptor.
class FdOwner {
 public:
  FdOwner() = default;
  explicit FdOwner(int fd) : m_fd(fd) {}
  ~FdOwner() { Reset(); }
  FdOwner(FdOwner&& other) noexcept : m_fd(other.Release()) {}
  FdOwner& operator=(FdOwner&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  FdOwner(const FdOwner&) = delete;
  FdOwner& operator=(const FdOwner&) = delete;

  int Get() const { return m_fd; }
  explicit operator bool() const { return m_fd >= 0; }
  [[nodiscard]] int Release() { return std::exchange(m_fd, -1); }
  void Reset(int fd = -1) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd;
  }

 private:
  int m_fd = -1;
};

// A handle that ReadFile/WriteFile work on. The base class does plain synchronous I/O on its
// descriptor (disk files, the standard streams); pipe ends override it with waits that another
// thread can cancel.
class FileHandle : public FileObject {
 public:
  FileHandle(int fd, bool canRead, bool canWrite)
      : FileObject(fd), m_canRead(canRead), m_canWrite(canWrite) {}

  bool CanRead() const { return m_canRead; }
  bool CanWrite() const { return m_canWrite; }
  virtual bool IsPipe() const { return false; }

  // The platform's synchronous ReadFile/WriteFile/FlushFileBuffers; they set the last error on
  // failure. `at`, when given, is the file offset of a positioned transfer.
  virtual BOOL Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* at);
  virtual BOOL Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* at);
  virtual BOOL Flush();
  // Aborts the blocking operations other threads have in progress on this handle; false when
  // there were none.
  virtual bool CancelPending() { return false; }
  // Fills in a caller's OVERLAPPED after a transfer that completed (they all complete at once).
  static void CompleteOverlapped(OVERLAPPED* at, DWORD done);

  // A descriptor for a started process's standard stream: a duplicate that the caller owns
  // (none, with the last error set, when the handle has no descriptor now).
  virtual FdOwner DuplicateForChild();

 private:
  const bool m_canRead;
  const bool m_canWrite;
};

// Opens a file with CreateFile's rules; the result is a descriptor-owning handle object, or null
// with the last error set. Shared by CreateFile and the redirections of started processes.
[[nodiscard]] std::shared_ptr<FileHandle> OpenFileObject(const char* path, DWORD access, DWORD shareMode,
                                                         DWORD disposition, DWORD flagsAndAttributes);

// Writes to a pipe whose reader is gone fail with an error instead of killing the process.
void IgnoreBrokenPipeSignal();

}  // namespace pictavo::kernel
