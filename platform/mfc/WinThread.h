// CWinThread and AfxBeginThread: worker threads that run a controlling function, and threads
// with a message loop that derive and override InitInstance (and Run when they need to). The
// object deletes itself when its thread ends (m_bAutoDelete). A started thread has its message
// queue before AfxBeginThread returns (or, when created suspended, before ResumeThread returns),
// so PostThreadMessage to it never fails for lack of one.
#pragma once

#include <memory>

#include "platform/kernel/Thread.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/user/Message.h"

class CWnd;
class CException;

#ifndef AFX_CDECL
#define AFX_CDECL
#endif
using AFX_THREADPROC = UINT(AFX_CDECL*)(LPVOID parameter);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  // A thread that runs InitInstance, then Run (a derived class gives them meaning).
  CWinThread();
  // A worker thread that runs `proc(parameter)`; its result is the exit code.
  CWinThread(AFX_THREADPROC proc, LPVOID parameter);
  ~CWinThread() override;

  // Starts the thread. With CREATE_SUSPENDED it waits for ResumeThread.
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

  operator HANDLE() const { return m_hThread; }  // NOLINT: implicit, as the class library's
  int GetThreadPriority();
  BOOL SetThreadPriority(int nPriority);
  DWORD ResumeThread();
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // The thread's main window: m_pActiveWnd, else m_pMainWnd, else the application's.
  virtual CWnd* GetMainWnd();
  virtual BOOL InitInstance();
  // The message loop: OnIdle while the queue is empty, PumpMessage otherwise; ends with
  // ExitInstance() when WM_QUIT arrives.
  virtual int Run();
  // Thread messages go to the map's ON_THREAD_MESSAGE entries; window messages to the
  // PreTranslateMessage of each window from the target up to the main window.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  // Count 0: the main window and its descendants get WM_IDLEUPDATECMDUI; count 1: temporary
  // objects are freed. FALSE when there is nothing more to do.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  // An exception a window procedure let out: reported to the user; WM_CREATE then fails.
  virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
  virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
  // Called on the thread when it ends: deletes this object when m_bAutoDelete is set.
  virtual void Delete();

  // Thread messages of the map (ON_THREAD_MESSAGE); TRUE when one handled pMsg.
  BOOL DispatchThreadMessageEx(MSG* pMsg);

  BOOL m_bAutoDelete = TRUE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  CWnd* m_pMainWnd = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  LPVOID m_pThreadParams = nullptr;
  AFX_THREADPROC m_pfnThreadProc = nullptr;
  MSG m_msgCur{};

 private:
  struct Startup;
  std::shared_ptr<Startup> m_startup;  // until the thread has its queue
  LONG m_lastMousePos = -1;            // IsIdleMessage: mouse moves that do not move
  UINT m_lastMouseMessage = 0;

  friend DWORD RunWinThread(CWinThread& thread);
};

// Starts a worker thread: created suspended, given its priority, then resumed unless the flags
// ask for CREATE_SUSPENDED. Null when the thread cannot start.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a thread of a CWinThread class made with DYNCREATE, running its InitInstance and Run.
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// The calling thread's CWinThread (the application object on the main thread), or null.
CWinThread* AfxGetThread();
// Ends the calling thread from inside it (the CWinThread is deleted when bDelete).
[[noreturn]] void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// One message of the calling thread through the framework's pump; FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// The framework's PreTranslateMessage walk for a message the thread retrieved.
BOOL AfxPreTranslateMessage(MSG* pMsg);
void AfxPostQuitMessage(int nExitCode);

namespace pictavo::mfc {
// Names the calling thread's CWinThread (the application object does so for the main thread).
void SetCurrentWinThread(CWinThread* thread);
}  // namespace pictavo::mfc
