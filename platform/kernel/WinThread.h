// CWinThread and AfxBeginThread in their worker form: a thread running a controlling function,
// owned by the CWinThread object, which deletes itself when the thread ends (m_bAutoDelete).
//
// The window layer extends this: threads with a message loop derive and override InitInstance
// and Run, and it installs the loop that CWinThread's own Run and PumpMessage use
// (pictavo::kernel::SetWinThreadMessageLoop). CWinThread derives from CObject directly: the
// command-target layer between them belongs to the window layer.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"
#include "platform/kernel/Thread.h"

class CWnd;
class CWinThread;

#ifndef AFX_CDECL
#define AFX_CDECL
#endif
using AFX_THREADPROC = UINT(AFX_CDECL*)(LPVOID parameter);

class CWinThread : public CObject {
  DECLARE_DYNAMIC(CWinThread)

 public:
  // A thread that runs InitInstance, then Run (a derived class gives them meaning).
  CWinThread();
  // A worker thread that runs `proc(parameter)`; its result is the exit code.
  CWinThread(AFX_THREADPROC proc, LPVOID parameter);
  ~CWinThread() override;

  // Starts the thread. With CREATE_SUSPENDED it waits for ResumeThread.
  BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES attributes = nullptr);

  operator HANDLE() const { return m_hThread; }
  int GetThreadPriority();
  BOOL SetThreadPriority(int priority);
  DWORD ResumeThread();

  virtual CWnd* GetMainWnd();
  virtual BOOL InitInstance();
  // The message loop, when the window layer installed one; ends with ExitInstance().
  virtual int Run();
  virtual int ExitInstance();
  // Handles one message of this thread's queue; FALSE when the application is ending.
  virtual BOOL PumpMessage();
  virtual BOOL OnIdle(LONG count);
  // Called on the thread when it ends: deletes this object when m_bAutoDelete is set.
  virtual void Delete();

  BOOL m_bAutoDelete = TRUE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  CWnd* m_pMainWnd = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  LPVOID m_pThreadParams = nullptr;
  AFX_THREADPROC m_pfnThreadProc = nullptr;
};

// Starts a worker thread: created suspended, given its priority, then resumed unless the flags
// ask for CREATE_SUSPENDED. Null when the thread cannot start.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID parameter, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES attributes = nullptr);
// The calling thread's CWinThread: the one AfxBeginThread or CreateThread started it with, or
// what SetCurrentWinThread named (the application object on the main thread); else null.
CWinThread* AfxGetThread();

namespace pictavo::kernel {

struct WinThreadMessageLoop {
  int (*run)(CWinThread& thread);
  BOOL (*pumpMessage)(CWinThread& thread);
  BOOL (*onIdle)(CWinThread& thread, LONG count);
};
// Installed once by the window layer; without it a thread has no message queue to serve.
void SetWinThreadMessageLoop(const WinThreadMessageLoop* loop);
// Names the calling thread's CWinThread (the application object names itself on the main thread).
void SetCurrentWinThread(CWinThread* thread);

}  // namespace pictavo::kernel
