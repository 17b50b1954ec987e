// CWinThread: starting threads, their message loop and the framework's pre-translation walk.
#include "platform/mfc/WinThread.h"

#include <condition_variable>
#include <mutex>

#include "platform/base/Exceptions.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"

struct CWinThread::Startup {
  std::mutex lock;
  std::condition_variable changed;
  bool ready = false;  // guarded by lock

  void Signal() {
    std::lock_guard guard(lock);
    ready = true;
    changed.notify_all();
  }
  void Wait() {
    std::unique_lock guard(lock);
    changed.wait(guard, [this] { return ready; });
  }
};

namespace pictavo::mfc {

void SetCurrentWinThread(CWinThread* thread) {
  State().thread = thread;
}

}  // namespace pictavo::mfc

DWORD RunWinThread(CWinThread& thread) {
  using pictavo::mfc::State;
  State().thread = &thread;
  {
    MSG msg;
    PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here on
  }
  if (auto startup = thread.m_startup) startup->Signal();
  struct Leave {
    CWinThread& thread;
    ~Leave() {
      if (State().thread == &thread) State().thread = nullptr;
      thread.Delete();  // may delete the object: nothing touches it afterwards
    }
  } leave{thread};
  if (thread.m_pfnThreadProc) return thread.m_pfnThreadProc(thread.m_pThreadParams);
  return static_cast<DWORD>(thread.InitInstance() ? thread.Run() : thread.ExitInstance());
}

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID parameter)
    : m_pThreadParams(parameter), m_pfnThreadProc(proc) {}

CWinThread::~CWinThread() {
  if (m_hThread) CloseHandle(m_hThread);
  auto& state = pictavo::mfc::State();
  if (state.thread == this) state.thread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES) {
  // Always created suspended, so the handle and id are in place before the thread can end.
  m_startup = std::make_shared<Startup>();
  pictavo::kernel::ThreadStart start;
  start.body = [this] { return RunWinThread(*this); };
  start.stackSize = nStackSize;
  start.suspended = true;
  DWORD id = 0;
  HANDLE handle = pictavo::kernel::StartThread(std::move(start), &id);
  if (!handle) {
    m_startup.reset();
    return FALSE;
  }
  m_hThread = handle;
  m_nThreadID = id;
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ResumeThread();
  return TRUE;
}

int CWinThread::GetThreadPriority() {
  return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority) {
  return ::SetThreadPriority(m_hThread, nPriority);
}

DWORD CWinThread::ResumeThread() {
  auto startup = m_startup;  // the thread may delete this object once it runs
  const DWORD previous = ::ResumeThread(m_hThread);
  if (previous == 1 && startup) startup->Wait();
  return previous;
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostThreadMessage(m_nThreadID, message, wParam, lParam);
}

CWnd* CWinThread::GetMainWnd() {
  if (m_pActiveWnd) return m_pActiveWnd;
  if (m_pMainWnd) return m_pMainWnd;
  CWinApp* app = AfxGetApp();
  return app && app != this ? app->m_pMainWnd : nullptr;
}

BOOL CWinThread::InitInstance() {
  return FALSE;
}

int CWinThread::Run() {
  BOOL idle = TRUE;
  LONG idleCount = 0;
  for (;;) {
    while (idle && !PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage() {
  if (!GetMessage(&m_msgCur, nullptr, 0, 0)) return FALSE;
  pictavo::mfc::State().msgCur = m_msgCur;
  if (!AfxPreTranslateMessage(&m_msgCur)) {
    TranslateMessage(&m_msgCur);
    DispatchMessage(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(pMsg->message, true);
  if (!entry) return FALSE;
  AFX_CALL call{pMsg->message, pMsg->wParam, pMsg->lParam, 0, 0, nullptr, 0};
  entry->pfn(this, call);
  return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd && DispatchThreadMessageEx(pMsg)) return TRUE;
  CWnd* mainWnd = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(mainWnd->GetSafeHwnd(), pMsg)) return TRUE;
  // A modeless window outside the main window's tree still gets its accelerators.
  if (mainWnd && mainWnd->GetSafeHwnd() && pMsg->hwnd) {
    CWnd* wnd = CWnd::FromHandle(pMsg->hwnd);
    if (wnd->GetTopLevelParent() != mainWnd) return mainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* mainWnd = m_pMainWnd;
    if (mainWnd && mainWnd->GetSafeHwnd() && mainWnd->IsWindowVisible()) {
      AfxCallWndProc(mainWnd, mainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      mainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    return TRUE;
  }
  if (lCount == 1) pictavo::mfc::DeleteTempObjects();
  return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  // Mouse moves that do not move, paints and the caret's blink leave the thread idle.
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    const LONG pos = static_cast<LONG>(pMsg->lParam);
    if (m_lastMouseMessage == pMsg->message && m_lastMousePos == pos) return FALSE;
    m_lastMouseMessage = pMsg->message;
    m_lastMousePos = pos;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

int CWinThread::ExitInstance() {
  return static_cast<int>(m_msgCur.wParam);
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
  char text[512] = {};
  if (!e->GetErrorMessage(text, sizeof text))
    std::snprintf(text, sizeof text, "%s", "An unexpected error occurred.");
  AfxMessageBox(text, MB_ICONSTOP);
  if (pMsg && pMsg->message == WM_CREATE) return -1;
  if (pMsg && pMsg->message == WM_PAINT) ValidateRect(pMsg->hwnd, nullptr);
  return 0;
}

BOOL CWinThread::ProcessMessageFilter(int, LPMSG) {
  return FALSE;
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (!pfnThreadProc) return nullptr;
  auto* thread = new CWinThread(pfnThreadProc, pParam);
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) return nullptr;
  auto* thread = static_cast<CWinThread*>(pThreadClass->CreateObject());
  if (!thread) return nullptr;
  thread->m_pThreadParams = nullptr;
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}

CWinThread* AfxGetThread() {
  return pictavo::mfc::State().thread;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
  CWinThread* thread = AfxGetThread();
  if (thread && !bDelete) thread->m_bAutoDelete = FALSE;
  ExitThread(nExitCode);  // unwinds: the thread's start deletes the object on the way out
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
  if (CWinThread* thread = AfxGetThread()) return thread->PreTranslateMessage(pMsg);
  return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL AfxPumpMessage() {
  if (CWinThread* thread = AfxGetThread()) return thread->PumpMessage();
  MSG msg;
  if (!GetMessage(&msg, nullptr, 0, 0)) return FALSE;
  pictavo::mfc::State().msgCur = msg;
  if (!AfxPreTranslateMessage(&msg)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return TRUE;
}

void AfxPostQuitMessage(int nExitCode) {
  PostQuitMessage(nExitCode);
}
