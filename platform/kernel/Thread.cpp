#include "platform/kernel/Thread.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <memory>
#include <thread>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/KernelObject.h"

namespace pictavo::kernel {
namespace {

const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));

std::atomic<DWORD> g_lastThreadId{0};
DWORD NewThreadId() {
  return g_lastThreadId.fetch_add(4) + 4;
}

thread_local DWORD t_threadId = 0;
// Threads not started by us (the main thread, std::threads) keep their priority here.
thread_local int t_foreignPriority = THREAD_PRIORITY_NORMAL;

bool IsValidPriority(int priority) {
  switch (priority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL:
      return true;
    default:
      return false;
  }
}

int NiceFor(int priority) {
  switch (priority) {
    case THREAD_PRIORITY_IDLE:
      return 19;
    case THREAD_PRIORITY_LOWEST:
      return 10;
    case THREAD_PRIORITY_BELOW_NORMAL:
      return 5;
    case THREAD_PRIORITY_ABOVE_NORMAL:
      return -5;
    case THREAD_PRIORITY_HIGHEST:
      return -10;
    case THREAD_PRIORITY_TIME_CRITICAL:
      return -20;
    default:
      return 0;
  }
}

// Best effort: without privileges a thread may lower its priority but not raise it again; the
// recorded value is what GetThreadPriority reports either way.
void ApplyPriority(pid_t tid, int priority) {
  if (tid > 0) (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceFor(priority));
}

class Thread;
thread_local Thread* t_thread = nullptr;  // the object of a thread we started, on that thread

// Constructed first on each thread we start, so it is destroyed last: the handle is signalled
// only after every other per-thread object (owned mutexes among them) has been cleaned up.
struct ExitSignal {
  std::shared_ptr<Thread> thread;
  DWORD code = 0;
  ~ExitSignal();
};
thread_local ExitSignal* t_exit = nullptr;

class Thread final : public KernelObject {
 public:
  Thread(DWORD id, ThreadStart start)
      : m_id(id),
        m_body(std::move(start.body)),
        m_closeHandleAtExit(start.closeHandleAtExit),
        m_suspendCount(start.suspended ? 1 : 0) {}

  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked(std::thread::id) override { return m_ended; }

  DWORD Id() const { return m_id; }
  void SetHandle(HANDLE handle) { m_handle = handle; }

  DWORD ExitCode() {
    std::lock_guard lock(SignalLock());
    return m_ended ? m_exitCode : STILL_ACTIVE;
  }

  int Priority() const { return m_priority.load(); }
  void SetPriority(int priority) {
    m_priority.store(priority);
    ApplyPriority(m_tid.load(), priority);
  }

  DWORD Resume() {
    std::lock_guard lock(m_gateLock);
    const DWORD previous = m_suspendCount;
    if (m_suspendCount > 0 && --m_suspendCount == 0) m_gate.notify_all();
    return previous;
  }

  static void* Entry(void* argument) {
    std::unique_ptr<std::shared_ptr<Thread>> start(static_cast<std::shared_ptr<Thread>*>(argument));
    thread_local ExitSignal exitSignal;
    exitSignal.thread = std::move(*start);
    start.reset();
    Thread& self = *exitSignal.thread;
    t_exit = &exitSignal;
    t_thread = &self;
    t_threadId = self.m_id;
    self.m_tid.store(gettid());
    if (const int priority = self.m_priority.load(); priority != THREAD_PRIORITY_NORMAL)
      ApplyPriority(gettid(), priority);
    {
      std::unique_lock lock(self.m_gateLock);
      self.m_gate.wait(lock, [&] { return self.m_suspendCount == 0; });
    }
    exitSignal.code = self.m_body();
    self.m_body = nullptr;  // what the body captured goes away on its own thread
    return nullptr;
  }

  void Finish(DWORD code) {
    t_thread = nullptr;
    t_exit = nullptr;
    // A self-closing handle goes before the signal: a waiter that sees the end also sees it closed.
    if (m_closeHandleAtExit) RemoveHandle(m_handle);
    {
      std::lock_guard lock(SignalLock());
      m_exitCode = code;
      m_ended = true;
    }
    NotifySignalChanged();
  }

 private:
  const DWORD m_id;
  std::function<DWORD()> m_body;  // the thread itself only, once started
  const bool m_closeHandleAtExit;
  HANDLE m_handle = nullptr;  // set before the thread starts
  std::atomic<int> m_priority{THREAD_PRIORITY_NORMAL};
  std::atomic<pid_t> m_tid{0};  // the system's id, once the thread runs

  std::mutex m_gateLock;
  std::condition_variable m_gate;
  DWORD m_suspendCount;  // guarded by m_gateLock

  bool m_ended = false;             // guarded by SignalLock()
  DWORD m_exitCode = STILL_ACTIVE;  // guarded by SignalLock()
};

ExitSignal::~ExitSignal() {
  if (thread) thread->Finish(code);
}

bool IsCurrentThread(HANDLE handle) {
  return handle == kCurrentThread;
}

}  // namespace

HANDLE StartThread(ThreadStart start, DWORD* threadId) {
  if (!start.body) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const SIZE_T stackSize = start.stackSize;
  auto thread = std::make_shared<Thread>(NewThreadId(), std::move(start));
  const HANDLE handle = InsertHandle(thread);
  thread->SetHandle(handle);

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  if (stackSize > 0) {
    const SIZE_T page = static_cast<SIZE_T>(sysconf(_SC_PAGESIZE));
    const SIZE_T rounded = std::max<SIZE_T>((stackSize + page - 1) / page * page, PTHREAD_STACK_MIN);
    pthread_attr_setstacksize(&attributes, rounded);
  }
  auto argument = std::make_unique<std::shared_ptr<Thread>>(thread);
  pthread_t id;
  const int error = pthread_create(&id, &attributes, &Thread::Entry, argument.get());
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    RemoveHandle(handle);
    SetLastError(error == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : ErrorFromErrno(error));
    return nullptr;
  }
  argument.release();  // the new thread owns it now
  if (threadId) *threadId = thread->Id();
  return handle;
}

}  // namespace pictavo::kernel

using pictavo::kernel::FindObjectAs;
using pictavo::kernel::Thread;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  pictavo::kernel::ThreadStart thread;
  thread.body = [start, parameter] { return start(parameter); };
  thread.stackSize = stackSize;
  thread.suspended = (creationFlags & CREATE_SUSPENDED) != 0;
  return pictavo::kernel::StartThread(std::move(thread), threadId);
}

DWORD ResumeThread(HANDLE handle) {
  if (pictavo::kernel::IsCurrentThread(handle)) return 0;  // a running thread is not suspended
  auto thread = FindObjectAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  return thread->Resume();
}

void ExitThread(DWORD exitCode) {
  if (pictavo::kernel::t_exit) pictavo::kernel::t_exit->code = exitCode;
  pthread_exit(nullptr);
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  if (!exitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (pictavo::kernel::IsCurrentThread(handle)) {
    *exitCode = STILL_ACTIVE;
    return TRUE;
  }
  auto thread = FindObjectAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = thread->ExitCode();
  return TRUE;
}

DWORD GetCurrentThreadId() {
  auto& id = pictavo::kernel::t_threadId;
  if (id == 0) id = pictavo::kernel::NewThreadId();
  return id;
}

HANDLE GetCurrentThread() {
  return pictavo::kernel::kCurrentThread;
}

DWORD GetCurrentProcessId() {
  return static_cast<DWORD>(getpid());
}

BOOL SetThreadPriority(HANDLE handle, int priority) {
  if (!pictavo::kernel::IsValidPriority(priority)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (pictavo::kernel::IsCurrentThread(handle)) {
    if (auto* self = pictavo::kernel::t_thread) {
      self->SetPriority(priority);
    } else {
      pictavo::kernel::t_foreignPriority = priority;
      pictavo::kernel::ApplyPriority(gettid(), priority);
    }
    return TRUE;
  }
  auto thread = FindObjectAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  thread->SetPriority(priority);
  return TRUE;
}

int GetThreadPriority(HANDLE handle) {
  if (pictavo::kernel::IsCurrentThread(handle)) {
    if (auto* self = pictavo::kernel::t_thread) return self->Priority();
    return pictavo::kernel::t_foreignPriority;
  }
  auto thread = FindObjectAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return THREAD_PRIORITY_ERROR_RETURN;
  }
  return thread->Priority();
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  if (milliseconds == INFINITE) {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD SleepEx(DWORD milliseconds, BOOL) {
  Sleep(milliseconds);
  return 0;
}

uintptr_t _beginthreadex(void*, unsigned stackSize, unsigned(__stdcall* start)(void*), void* argument,
                         unsigned initFlags, unsigned* threadId) {
  if (!start) {
    errno = EINVAL;
    return 0;
  }
  pictavo::kernel::ThreadStart thread;
  thread.body = [start, argument] { return static_cast<DWORD>(start(argument)); };
  thread.stackSize = stackSize;
  thread.suspended = (initFlags & CREATE_SUSPENDED) != 0;
  DWORD id = 0;
  HANDLE handle = pictavo::kernel::StartThread(std::move(thread), &id);
  if (!handle) {
    errno = EAGAIN;
    return 0;
  }
  if (threadId) *threadId = id;
  return reinterpret_cast<uintptr_t>(handle);
}

uintptr_t _beginthread(void(__cdecl* start)(void*), unsigned stackSize, void* argument) {
  if (!start) {
    errno = EINVAL;
    return static_cast<uintptr_t>(-1);
  }
  pictavo::kernel::ThreadStart thread;
  thread.body = [start, argument] {
    start(argument);
    return DWORD{0};
  };
  thread.stackSize = stackSize;
  thread.closeHandleAtExit = true;
  HANDLE handle = pictavo::kernel::StartThread(std::move(thread), nullptr);
  if (!handle) {
    errno = EAGAIN;
    return static_cast<uintptr_t>(-1);
  }
  return reinterpret_cast<uintptr_t>(handle);
}
