#include <gtest/gtest.h>

#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/kernel/WinThread.h"

namespace {

struct Seen {
  CWinThread* current = nullptr;
  DWORD id = 0;
  UINT result = 0;
};

UINT Worker(LPVOID parameter) {
  auto* seen = static_cast<Seen*>(parameter);
  seen->current = AfxGetThread();
  seen->id = GetCurrentThreadId();
  return seen->result;
}

DWORD ExitCodeOf(HANDLE thread) {
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  return code;
}

// Tells when it is deleted.
class Probe : public CWinThread {
 public:
  Probe(AFX_THREADPROC proc, LPVOID parameter, HANDLE deleted)
      : CWinThread(proc, parameter), m_deleted(deleted) {}
  ~Probe() override { SetEvent(m_deleted); }

 private:
  HANDLE m_deleted;
};

class UiThread : public CWinThread {
 public:
  explicit UiThread(BOOL init) : m_init(init) { m_bAutoDelete = FALSE; }
  BOOL InitInstance() override { return m_init; }
  int Run() override { return 7; }
  int ExitInstance() override { return 3; }

 private:
  BOOL m_init;
};

}  // namespace

TEST(WinThread, SuspendedWorkerGetsItsPriorityAndRunsOnResume) {
  Seen seen;
  seen.result = 21;
  CWinThread* thread = AfxBeginThread(Worker, &seen, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  EXPECT_NE(thread->m_hThread, nullptr);
  EXPECT_EQ(static_cast<HANDLE>(*thread), thread->m_hThread);
  EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
  EXPECT_EQ(WaitForSingleObject(*thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(thread->ResumeThread(), 1u);
  EXPECT_EQ(WaitForSingleObject(*thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ExitCodeOf(thread->m_hThread), 21u);
  EXPECT_EQ(seen.current, thread);
  EXPECT_EQ(seen.id, thread->m_nThreadID);
  delete thread;
  EXPECT_EQ(AfxGetThread(), nullptr) << "this test's own thread has no CWinThread";
}

TEST(WinThread, AutoDeleteFreesTheObjectWhenTheThreadEnds) {
  HANDLE deleted = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  Seen seen;
  auto* thread = new Probe(Worker, &seen, deleted);
  ASSERT_TRUE(thread->CreateThread());
  EXPECT_EQ(WaitForSingleObject(deleted, INFINITE), WAIT_OBJECT_0);
  CloseHandle(deleted);
}

TEST(WinThread, ThreadWithoutProcRunsInitInstanceThenRunOrExitInstance) {
  const struct {
    BOOL init;
    DWORD code;
  } cases[] = {{TRUE, 7}, {FALSE, 3}};
  for (const auto& c : cases) {
    UiThread thread(c.init);
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(thread.m_hThread), c.code) << c.init;
  }
}

TEST(WinThread, WithoutAMessageLoopRunEndsAndPumpReportsTheEnd) {
  CWinThread thread;
  EXPECT_EQ(thread.Run(), 0);
  EXPECT_FALSE(thread.PumpMessage());
  EXPECT_FALSE(thread.InitInstance());
  EXPECT_EQ(thread.GetMainWnd(), nullptr);
}

TEST(WinThread, ApplicationObjectStandsForItsThread) {
  CWinThread app;
  pictavo::kernel::SetCurrentWinThread(&app);
  EXPECT_EQ(AfxGetThread(), &app);
  pictavo::kernel::SetCurrentWinThread(nullptr);
  EXPECT_EQ(AfxGetThread(), nullptr);
}
