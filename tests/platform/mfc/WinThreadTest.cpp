#include <gtest/gtest.h>

#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/WinThread.h"

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

class FixedThread : public CWinThread {
 public:
  explicit FixedThread(BOOL init) : m_init(init) { m_bAutoDelete = FALSE; }
  BOOL InitInstance() override { return m_init; }
  int Run() override { return 7; }
  int ExitInstance() override { return 3; }

 private:
  BOOL m_init;
};

// A thread with a message loop: thread messages reach its map; WM_QUIT ends it with the code.
class LoopThread : public CWinThread {
  DECLARE_DYNCREATE(LoopThread)

 public:
  LoopThread() { m_bAutoDelete = FALSE; }
  BOOL InitInstance() override { return TRUE; }
  static HANDLE s_done;
  static WPARAM s_total;

 protected:
  afx_msg void OnAdd(WPARAM wParam, LPARAM) { s_total += wParam; }
  afx_msg void OnFinish(WPARAM wParam, LPARAM) {
    SetEvent(s_done);
    PostQuitMessage(static_cast<int>(wParam));
  }
  DECLARE_MESSAGE_MAP()
};
HANDLE LoopThread::s_done = nullptr;
WPARAM LoopThread::s_total = 0;
IMPLEMENT_DYNCREATE(LoopThread, CWinThread)
BEGIN_MESSAGE_MAP(LoopThread, CWinThread)
ON_THREAD_MESSAGE(WM_APP, OnAdd)
ON_THREAD_MESSAGE(WM_APP + 1, OnFinish)
END_MESSAGE_MAP()

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
    FixedThread thread(c.init);
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(thread.m_hThread), c.code) << c.init;
  }
}

TEST(WinThread, MessageLoopThreadTakesThreadMessagesPostedAtOnce) {
  LoopThread::s_done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  LoopThread::s_total = 0;
  CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(LoopThread));
  ASSERT_NE(thread, nullptr);
  // No wait for the thread to get going: it has its queue when AfxBeginThread returns.
  EXPECT_TRUE(thread->PostThreadMessage(WM_APP, 2, 0));
  EXPECT_TRUE(thread->PostThreadMessage(WM_APP, 3, 0));
  EXPECT_TRUE(thread->PostThreadMessage(WM_APP + 1, 42, 0));
  EXPECT_EQ(WaitForSingleObject(*thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(LoopThread::s_total, 5u);
  EXPECT_EQ(ExitCodeOf(thread->m_hThread), 42u) << "ExitInstance returns WM_QUIT's code";
  delete thread;
  CloseHandle(LoopThread::s_done);
}

TEST(WinThread, RunEndsWithTheQuitCodeAndPumpReportsTheEnd) {
  CWinThread thread;
  PostQuitMessage(9);
  EXPECT_EQ(thread.Run(), 9);
  PostQuitMessage(4);
  EXPECT_FALSE(thread.PumpMessage());
  EXPECT_FALSE(thread.InitInstance());
  EXPECT_EQ(thread.GetMainWnd(), nullptr);
}

TEST(WinThread, ApplicationObjectStandsForItsThread) {
  CWinThread app;
  pictavo::mfc::SetCurrentWinThread(&app);
  EXPECT_EQ(AfxGetThread(), &app);
  pictavo::mfc::SetCurrentWinThread(nullptr);
  EXPECT_EQ(AfxGetThread(), nullptr);
}

TEST(WinThread, BeginThreadRefusesWhatIsNoThreadClass) {
  EXPECT_EQ(AfxBeginThread(static_cast<AFX_THREADPROC>(nullptr), nullptr), nullptr);
  EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CCmdTarget)), nullptr);
}
