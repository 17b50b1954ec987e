#include "platform/kernel/WinThread.h"

#include <atomic>

#include "platform/kernel/Wait.h"

namespace pictavo::kernel {
namespace {
thread_local CWinThread* t_current = nullptr;
std::atomic<const WinThreadMessageLoop*> g_loop{nullptr};

DWORD RunThread(CWinThread& thread) {
  t_current = &thread;
  int result;
  if (thread.m_pfnThreadProc) {
    result = static_cast<int>(thread.m_pfnThreadProc(thread.m_pThreadParams));
  } else {
    result = thread.InitInstance() ? thread.Run() : thread.ExitInstance();
  }
  t_current = nullptr;
  thread.Delete();  // may delete the object: nothing touches it afterwards
  return static_cast<DWORD>(result);
}
}  // namespace

void SetWinThreadMessageLoop(const WinThreadMessageLoop* loop) {
  g_loop.store(loop);
}
void SetCurrentWinThread(CWinThread* thread) {
  t_current = thread;
}

}  // namespace pictavo::kernel

IMPLEMENT_DYNAMIC(CWinThread, CObject)

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID parameter)
    : m_pThreadParams(parameter), m_pfnThreadProc(proc) {}

CWinThread::~CWinThread() {
  if (m_hThread) CloseHandle(m_hThread);
  if (pictavo::kernel::t_current == this) pictavo::kernel::t_current = nullptr;
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES) {
  // Always created suspended, so the handle and id are in place before the thread can end.
  pictavo::kernel::ThreadStart start;
  start.body = [this] { return pictavo::kernel::RunThread(*this); };
  start.stackSize = stackSize;
  start.suspended = true;
  DWORD id = 0;
  HANDLE handle = pictavo::kernel::StartThread(std::move(start), &id);
  if (!handle) return FALSE;
  m_hThread = handle;
  m_nThreadID = id;
  if (!(createFlags & CREATE_SUSPENDED)) ::ResumeThread(handle);
  return TRUE;
}

int CWinThread::GetThreadPriority() {
  return ::GetThreadPriority(m_hThread);
}
BOOL CWinThread::SetThreadPriority(int priority) {
  return ::SetThreadPriority(m_hThread, priority);
}
DWORD CWinThread::ResumeThread() {
  return ::ResumeThread(m_hThread);
}

CWnd* CWinThread::GetMainWnd() {
  return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd;
}

BOOL CWinThread::InitInstance() {
  return FALSE;
}

int CWinThread::Run() {
  if (const auto* loop = pictavo::kernel::g_loop.load()) return loop->run(*this);
  return ExitInstance();
}

int CWinThread::ExitInstance() {
  return 0;
}

BOOL CWinThread::PumpMessage() {
  if (const auto* loop = pictavo::kernel::g_loop.load()) return loop->pumpMessage(*this);
  return FALSE;
}

BOOL CWinThread::OnIdle(LONG count) {
  if (const auto* loop = pictavo::kernel::g_loop.load()) return loop->onIdle(*this, count);
  return FALSE;
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID parameter, int priority, UINT stackSize,
                           DWORD createFlags, LPSECURITY_ATTRIBUTES attributes) {
  if (!proc) return nullptr;
  auto* thread = new CWinThread(proc, parameter);
  if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize, attributes)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(priority);
  if (!(createFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}

CWinThread* AfxGetThread() {
  return pictavo::kernel::t_current;
}
