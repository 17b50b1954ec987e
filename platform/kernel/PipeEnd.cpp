#include "platform/kernel/PipeEnd.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"

namespace pictavo::kernel {
namespace {

// Each thread that waits on pipes has one eventfd through which a cancel wakes it.
int ThreadWakeFd() {
  thread_local FdOwner wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  return wake.Get();
}

// Without a wake descriptor (none could be made) a waiter looks at its ticket this often.
constexpr int kUnwakeableSliceMs = 10;
// How often a flush looks whether the reader has taken everything: a pipe does not report it.
constexpr int kFlushSliceMs = 5;

void Poke(int wake) {
  const uint64_t one = 1;
  while (::write(wake, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void Drain(int wake) {
  uint64_t value;
  while (::read(wake, &value, sizeof value) < 0 && errno == EINTR) {
  }
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

int PipeMaxSize() {
  static const int size = [] {
    int value = 1 << 20;
    std::ifstream("/proc/sys/fs/pipe-max-size") >> value;
    return value;
  }();
  return size;
}

}  // namespace

IoCancel::Operation::Operation(IoCancel& owner)
    : m_owner(owner), m_ticket([&] {
        std::lock_guard lock(owner.m_lock);
        ++owner.m_active;
        return owner.m_generation;
      }()) {}

IoCancel::Operation::~Operation() {
  std::lock_guard lock(m_owner.m_lock);
  if (--m_owner.m_active == 0) m_owner.m_idle.notify_all();
}

bool IoCancel::Operation::Cancelled() const {
  std::lock_guard lock(m_owner.m_lock);
  return m_owner.m_generation != m_ticket;
}

IoCancel::Wake IoCancel::Operation::Wait(int fd, short events, int timeoutMs, short* ready) {
  const int wake = ThreadWakeFd();
  {
    std::lock_guard lock(m_owner.m_lock);
    if (m_owner.m_generation != m_ticket) return Wake::Cancelled;
    if (wake >= 0) m_owner.m_sleepers.push_back(wake);
  }
  if (wake < 0 && (timeoutMs < 0 || timeoutMs > kUnwakeableSliceMs)) timeoutMs = kUnwakeableSliceMs;

  pollfd fds[2];
  nfds_t count = 0;
  if (fd >= 0) fds[count++] = {fd, events, 0};
  if (wake >= 0) fds[count++] = {wake, POLLIN, 0};
  const int polled = ::poll(fds, count, timeoutMs);

  bool cancelled;
  {
    std::lock_guard lock(m_owner.m_lock);
    if (wake >= 0) std::erase(m_owner.m_sleepers, wake);
    cancelled = m_owner.m_generation != m_ticket;
  }
  if (wake >= 0) Drain(wake);  // no cancel can reach it any more: what is there is stale
  if (cancelled) return Wake::Cancelled;
  if (polled > 0 && fd >= 0 && fds[0].revents) {
    if (ready) *ready = fds[0].revents;
    return Wake::Ready;
  }
  return Wake::TimedOut;
}

bool IoCancel::Cancel() {
  std::lock_guard lock(m_lock);
  ++m_generation;
  for (int wake : m_sleepers) Poke(wake);
  return m_active > 0;
}

void IoCancel::CancelAndDrain() {
  std::unique_lock lock(m_lock);
  ++m_generation;
  for (int wake : m_sleepers) Poke(wake);
  m_idle.wait(lock, [&] { return m_active == 0; });
}

void GrowPipeBuffer(int fd, DWORD size) {
  const int current = ::fcntl(fd, F_GETPIPE_SZ);
  if (current < 0 || size <= static_cast<DWORD>(current)) return;
  const int wanted = static_cast<int>(std::min<DWORD>(size, static_cast<DWORD>(PipeMaxSize())));
  if (wanted > current) ::fcntl(fd, F_SETPIPE_SZ, wanted);
}

PipeEnd::PipeEnd(int fd, bool canRead, bool canWrite) : FileHandle(fd, canRead, canWrite) {
  IgnoreBrokenPipeSignal();
}

int PipeEnd::IoFd(bool forWrite, DWORD* error) {
  if (m_fd < 0) *error = ERROR_INVALID_HANDLE;
  return m_fd;
}

BOOL PipeEnd::Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* at) {
  if (done) *done = 0;
  if (!CanRead()) return Fail(ERROR_ACCESS_DENIED);
  IoCancel::Operation operation(m_io);
  DWORD error = ERROR_SUCCESS;
  const int fd = IoFd(false, &error);
  if (fd < 0) return Fail(error);
  if (size == 0) return TRUE;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n > 0) {
      if (done) *done = static_cast<DWORD>(n);
      CompleteOverlapped(at, static_cast<DWORD>(n));
      return TRUE;
    }
    if (n == 0) return Fail(ERROR_BROKEN_PIPE);  // every writer is gone
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return FailWithFileErrno({});
    if (operation.Wait(fd, POLLIN, -1) == IoCancel::Wake::Cancelled) return Fail(ERROR_OPERATION_ABORTED);
  }
}

BOOL PipeEnd::Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* at) {
  if (done) *done = 0;
  if (!CanWrite()) return Fail(ERROR_ACCESS_DENIED);
  IoCancel::Operation operation(m_io);
  DWORD error = ERROR_SUCCESS;
  const int fd = IoFd(true, &error);
  if (fd < 0) return Fail(error);
  const auto* in = static_cast<const char*>(buffer);
  DWORD total = 0;
  while (total < size) {
    const ssize_t n = ::write(fd, in + total, size - total);
    if (n > 0) {
      total += static_cast<DWORD>(n);
      if (done) *done = total;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EPIPE) return Fail(ERROR_NO_DATA);  // the reader is gone
    if (n < 0 && errno != EAGAIN) return FailWithFileErrno({});
    // Full: wait for room. A reader that goes meanwhile shows as POLLERR; the next write says so.
    if (operation.Wait(fd, POLLOUT, -1) == IoCancel::Wake::Cancelled) return Fail(ERROR_OPERATION_ABORTED);
  }
  CompleteOverlapped(at, total);
  return TRUE;
}

BOOL PipeEnd::Flush() {
  if (!CanWrite()) return TRUE;
  IoCancel::Operation operation(m_io);
  DWORD error = ERROR_SUCCESS;
  const int fd = IoFd(true, &error);
  if (fd < 0) return Fail(error);
  for (;;) {
    int unread = 0;
    if (::ioctl(fd, FIONREAD, &unread) != 0) return FailWithFileErrno({});
    if (unread == 0) return TRUE;
    short ready = 0;
    switch (operation.Wait(fd, 0, kFlushSliceMs, &ready)) {
      case IoCancel::Wake::Cancelled:
        return Fail(ERROR_OPERATION_ABORTED);
      case IoCancel::Wake::Ready:
        if (ready & POLLERR) return Fail(ERROR_NO_DATA);  // the reader left data behind
        break;
      case IoCancel::Wake::TimedOut:
        break;
    }
  }
}

FdOwner PipeEnd::DuplicateForChild() {
  IoCancel::Operation operation(m_io);
  DWORD error = ERROR_SUCCESS;
  const int fd = ChildFd(&error);
  if (fd < 0) {
    SetLastError(error);
    return FdOwner();
  }
  // A new opening of the same pipe has its own (blocking) status flags; ours stay non-blocking.
  const int access = ::fcntl(fd, F_GETFL) & O_ACCMODE;
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  FdOwner reopened(::open(self.c_str(), access | O_NONBLOCK | O_CLOEXEC));
  if (reopened) {
    ::fcntl(reopened.Get(), F_SETFL, ::fcntl(reopened.Get(), F_GETFL) & ~O_NONBLOCK);
    return reopened;
  }
  // No reader to open against (the child will see the pipe as broken either way).
  FdOwner copy(::fcntl(fd, F_DUPFD_CLOEXEC, 3));
  if (!copy) FailWithFileErrno({});
  return copy;
}

}  // namespace pictavo::kernel
