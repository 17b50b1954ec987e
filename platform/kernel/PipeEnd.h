// One end of a pipe (anonymous, or either end of a named pipe) and the blocking waits on it that
// other threads can abort.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/kernel/FileHandle.h"

namespace pictavo::kernel {

// CancelIoEx, DisconnectNamedPipe and CloseHandle wake every thread waiting on the object, and the
// operations those threads are in fail with ERROR_OPERATION_ABORTED.
class IoCancel {
 public:
  enum class Wake { Ready, TimedOut, Cancelled };

  // One operation in progress (ReadFile, WriteFile, ConnectNamedPipe). A cancel that comes after
  // it started, at any moment, ends its next wait.
  class Operation {
   public:
    explicit Operation(IoCancel& owner);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    bool Cancelled() const;
    // Waits until `fd` reports one of `events` (given back in *ready), `timeoutMs` passes (-1:
    // no limit) or the operation is cancelled. With fd -1 only time and cancels end the wait.
    [[nodiscard]] Wake Wait(int fd, short events, int timeoutMs, short* ready = nullptr);

   private:
    IoCancel& m_owner;
    const unsigned m_ticket;
  };

  // Cancels the operations in progress; false when there were none.
  bool Cancel();
  // Cancels, then waits until every operation in progress has ended, so that what they use can
  // be closed.
  void CancelAndDrain();

 private:
  std::mutex m_lock;
  std::condition_variable m_idle;
  unsigned m_generation = 0;    // guarded by m_lock; goes up with every cancel
  int m_active = 0;             // guarded by m_lock; operations in progress
  std::vector<int> m_sleepers;  // guarded by m_lock; wake descriptors of the threads in Wait
};

// Pipe I/O with the platform's blocking meaning on a non-blocking descriptor, so that every wait
// can be cancelled: a read returns what is there (waiting for something), a write returns when
// everything is written.
class PipeEnd : public FileHandle {
 public:
  // Takes ownership of a non-blocking descriptor (-1 for a named pipe that is not connected yet).
  PipeEnd(int fd, bool canRead, bool canWrite);

  bool IsPipe() const override { return true; }
  BOOL Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* at) override;
  BOOL Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* at) override;
  // Waits until the reader has taken everything written.
  BOOL Flush() override;
  bool CancelPending() override { return m_io.Cancel(); }
  // Programs expect blocking standard streams: the child gets its own, blocking, opening of
  // the same pipe.
  FdOwner DuplicateForChild() override;
  void OnLastHandleClosed() override { m_io.Cancel(); }

 protected:
  // The descriptor an operation in progress works on, or -1 with the error to report.
  virtual int IoFd(bool forWrite, DWORD* error);
  // The descriptor a started process's stream is made from, or -1 with the error to report.
  virtual int ChildFd(DWORD* error) { return IoFd(CanWrite(), error); }

  IoCancel m_io;
};

// Grows a pipe's buffer to `size` bytes when that is more than it has (never shrinks it: the
// sizes programs ask for are advisory, and a bigger buffer means fewer switches).
void GrowPipeBuffer(int fd, DWORD size);

}  // namespace pictavo::kernel
