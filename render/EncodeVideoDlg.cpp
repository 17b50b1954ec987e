#include "render/EncodeVideoDlg.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>

#include "modules/data/SingleFlag.h"
#include "modules/log/Log.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"
#include "platform/media/ExitWindows.h"
#include "platform/user/Message.h"

IMPLEMENT_DYNAMIC(CEncodeVideoDlg, CDialog)

CEncodeVideoDlg::CEncodeVideoDlg(CWnd* pParent)
    : CDialog(static_cast<UINT>(IDD), pParent),
      m_hCancelEvent(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
      m_hCmdStartedEvent(CreateEvent(nullptr, TRUE, FALSE, nullptr)) {
  for (HANDLE& event : m_hWorkerEvents) event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
}

CEncodeVideoDlg::~CEncodeVideoDlg() {
  if (m_hWorkerThread != nullptr) {
    // The dialog ends only after the worker did; this covers a caller that did not wait.
    m_bStop = TRUE;
    SetEvent(m_hCancelEvent);
    WaitForSingleObject(m_hWorkerThread, INFINITE);
    CloseHandle(m_hWorkerThread);
  }
  CloseHandle(m_hCancelEvent);
  CloseHandle(m_hCmdStartedEvent);
  for (HANDLE event : m_hWorkerEvents) CloseHandle(event);
}

BOOL CEncodeVideoDlg::StartWorker(HWND hNotifyWnd) {
  if (m_hWorkerThread != nullptr) return FALSE;
  m_hNotifyWnd = hNotifyWnd != nullptr ? hNotifyWnd : GetSafeHwnd();
  pictavo::kernel::ThreadStart start;
  start.body = [this] { return static_cast<DWORD>(VideoEncodeExThread(this)); };
  m_hWorkerThread = pictavo::kernel::StartThread(std::move(start), nullptr);
  if (m_hWorkerThread != nullptr) return TRUE;
  Fail("The video output could not start its worker thread (error %u)",
       static_cast<unsigned>(GetLastError()));
  return FALSE;
}

BOOL CEncodeVideoDlg::StopWorkers() {
  m_bStop = TRUE;
  SetEvent(m_hCancelEvent);
  const DWORD count = static_cast<DWORD>(std::clamp(m_nWaitCount.load(), 0, 4));
  if (count == 0) return 1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopWaitMs);
  for (;;) {
    MSG msg;
    while (WaitForMultipleObjects(count, m_hWorkerEvents, TRUE, 0) != WAIT_OBJECT_0 &&
           PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // The user's input waits; what the workers post is handled.
      const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                         (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
      if (!input) DispatchMessage(&msg);
    }
    if (WaitForMultipleObjects(count, m_hWorkerEvents, TRUE, 200) == WAIT_OBJECT_0) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      WriteErrorLog("StopWorkers: the workers did not end within %u ms", static_cast<unsigned>(kStopWaitMs));
      break;
    }
  }
  return 1;
}

CString CEncodeVideoDlg::GetLastFailure() const {
  std::lock_guard guard(m_lock);
  return m_strLastFailure;
}

CString CEncodeVideoDlg::GetLastOutputFile() const {
  std::lock_guard guard(m_lock);
  return m_strLastOutput;
}

void CEncodeVideoDlg::SetReason(const CString& reason) {
  std::lock_guard guard(m_lock);
  m_strLastFailure = reason;
}

void CEncodeVideoDlg::Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  CString reason;
  reason.FormatV(format, args);
  va_end(args);
  WriteErrorLog("%s", static_cast<LPCTSTR>(reason));
  SetReason(reason);
}

CWyxSingleFlag& GetVideoEncodeExFlag() {
  static CWyxSingleFlag flag("VideoEncodeEx");
  return flag;
}

BOOL ShutdownComputer() {
  if (!ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0))
    WriteErrorLog("ShutdownComputer: the session refused to power off (error %u)",
                  static_cast<unsigned>(GetLastError()));
  return 1;
}
