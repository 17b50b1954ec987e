#include <gtest/gtest.h>

#include <atomic>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"

namespace {

struct Flag {
  bool* target;
  ~Flag() { *target = true; }
};

struct Work {
  DWORD code = 0;
  bool viaExitThread = false;
  bool unwound = false;
  HANDLE release = nullptr;  // waited on before ending, when set
  DWORD seenId = 0;
};

void Finish(Work& work) {
  if (work.viaExitThread) ExitThread(work.code);
}

DWORD WINAPI RunWork(LPVOID parameter) {
  auto& work = *static_cast<Work*>(parameter);
  work.seenId = GetCurrentThreadId();
  Flag unwound{&work.unwound};
  if (work.release) WaitForSingleObject(work.release, INFINITE);
  Finish(work);
  return work.code;
}

DWORD ExitCodeOf(HANDLE thread) {
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  return code;
}

}  // namespace

TEST(Thread, ExitCodeComesFromReturnOrExitThread) {
  const struct {
    DWORD code;
    bool viaExitThread;
  } cases[] = {{0, false}, {42, false}, {0xFFFFFFFF, false}, {7, true}, {0x8000, true}};
  for (const auto& c : cases) {
    Work work{c.code, c.viaExitThread};
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunWork, &work, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(thread), c.code) << c.code;
    EXPECT_TRUE(work.unwound) << "stack objects are destroyed when the thread ends";
    EXPECT_EQ(work.seenId, id);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0) << "an ended thread stays signalled";
    EXPECT_TRUE(CloseHandle(thread));
  }
}

TEST(Thread, StillActiveUntilItEnds) {
  Work work{3};
  work.release = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 64 * 1024, RunWork, &work, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(ExitCodeOf(thread), STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(work.release);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ExitCodeOf(thread), 3u);
  CloseHandle(thread);
  CloseHandle(work.release);
}

TEST(Thread, SuspendedThreadRunsAfterResume) {
  HANDLE started = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  auto body = [](LPVOID event) -> DWORD {
    SetEvent(event);
    return 9;
  };
  HANDLE thread = CreateThread(nullptr, 0, body, started, CREATE_SUSPENDED, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(started, 50), static_cast<DWORD>(WAIT_TIMEOUT)) << "ran while suspended";
  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(started, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ResumeThread(thread), 0u);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ExitCodeOf(thread), 9u);
  CloseHandle(thread);
  CloseHandle(started);
}

TEST(Thread, WaitAllOnSeveralThreads) {
  HANDLE release = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  Work work[3];
  HANDLE threads[3];
  for (int i = 0; i < 3; ++i) {
    work[i].code = static_cast<DWORD>(i + 1);
    work[i].release = release;
    threads[i] = CreateThread(nullptr, 0, RunWork, &work[i], 0, nullptr);
    ASSERT_NE(threads[i], nullptr);
  }
  EXPECT_EQ(WaitForMultipleObjects(3, threads, TRUE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(release);
  EXPECT_EQ(WaitForMultipleObjects(3, threads, TRUE, INFINITE), WAIT_OBJECT_0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ExitCodeOf(threads[i]), static_cast<DWORD>(i + 1));
    CloseHandle(threads[i]);
  }
  CloseHandle(release);
}

TEST(Thread, ClosingTheHandleLeavesTheThreadRunning) {
  HANDLE done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE go = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  struct Pair {
    HANDLE go, done;
  } pair{go, done};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* events = static_cast<Pair*>(p);
        WaitForSingleObject(events->go, INFINITE);
        SetEvent(events->done);
        return 0;
      },
      &pair, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(CloseHandle(thread));
  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(done, INFINITE), WAIT_OBJECT_0);
  CloseHandle(go);
  CloseHandle(done);
}

TEST(Thread, BeginThreadExReportsIdAndExitCode) {
  unsigned id = 0;
  auto body = [](void* p) -> unsigned { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); };
  const uintptr_t thread = _beginthreadex(nullptr, 0, body, reinterpret_cast<void*>(uintptr_t{77}), 0, &id);
  ASSERT_NE(thread, 0u);
  EXPECT_NE(id, 0u);
  const auto handle = reinterpret_cast<HANDLE>(thread);
  EXPECT_EQ(WaitForSingleObject(handle, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ExitCodeOf(handle), 77u);
  CloseHandle(handle);
}

TEST(Thread, BeginThreadHandleClosesItselfWhenTheThreadEnds) {
  HANDLE go = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  const uintptr_t thread = _beginthread([](void* event) { WaitForSingleObject(event, INFINITE); }, 0, go);
  ASSERT_NE(thread, static_cast<uintptr_t>(-1));
  const auto handle = reinterpret_cast<HANDLE>(thread);
  EXPECT_TRUE(SetThreadPriority(handle, THREAD_PRIORITY_BELOW_NORMAL)) << "usable while the thread runs";
  EXPECT_EQ(GetThreadPriority(handle), THREAD_PRIORITY_BELOW_NORMAL);
  SetEvent(go);
  const DWORD waited = WaitForSingleObject(handle, INFINITE);
  EXPECT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_FAILED) << waited;
  DWORD code = 0;
  EXPECT_FALSE(GetExitCodeThread(handle, &code));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(go);
}

TEST(Thread, PrioritiesAreKeptAndInvalidOnesRefused) {
  HANDLE release = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  Work work;
  work.release = release;
  HANDLE thread = CreateThread(nullptr, 0, RunWork, &work, CREATE_SUSPENDED, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
  for (int priority :
       {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
        THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL}) {
    EXPECT_TRUE(SetThreadPriority(thread, priority)) << priority;
    EXPECT_EQ(GetThreadPriority(thread), priority);
  }
  for (int priority : {3, -3, 16, -16, 100}) {
    EXPECT_FALSE(SetThreadPriority(thread, priority)) << priority;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(GetThreadPriority(nullptr), THREAD_PRIORITY_ERROR_RETURN);
  ResumeThread(thread);
  SetEvent(release);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(release);
}

TEST(Thread, PseudoHandleMeansTheCallingThread) {
  struct Seen {
    int priority = 0;
    HANDLE self = nullptr;
  } seen;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* s = static_cast<Seen*>(p);
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
        s->priority = GetThreadPriority(GetCurrentThread());
        DWORD code = 0;
        GetExitCodeThread(GetCurrentThread(), &code);
        return code;
      },
      &seen, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  EXPECT_EQ(seen.priority, THREAD_PRIORITY_LOWEST);
  EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_LOWEST) << "the same thread seen from outside";
  EXPECT_EQ(ExitCodeOf(thread), STILL_ACTIVE) << "the thread saw itself running";
  CloseHandle(thread);

  // Threads not started here (this test's own) keep a priority too.
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());
  EXPECT_NE(GetCurrentThreadId(), 0u);
  EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
}

TEST(Thread, BadArgumentsFail) {
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(ResumeThread(nullptr), static_cast<DWORD>(-1));
  DWORD code = 0;
  EXPECT_FALSE(GetExitCodeThread(nullptr, &code));
  EXPECT_EQ(_beginthread(nullptr, 0, nullptr), static_cast<uintptr_t>(-1));
  EXPECT_EQ(_beginthreadex(nullptr, 0, nullptr, nullptr, 0, nullptr), 0u);
}
