// One copy of the program per desktop: a named mutex orders the start-ups of competing copies, a
// named mapping whose existence says that a copy runs holds that copy's main window handle, and
// WM_COPYDATA hands a second copy's project file to it. A member of the main dialog.
#pragma once

#include <mutex>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/user/CrossProcess.h"

class CSingleInstance {
 public:
  explicit CSingleInstance(LPCTSTR lpszName);
  virtual ~CSingleInstance();
  CSingleInstance(const CSingleInstance&) = delete;
  CSingleInstance& operator=(const CSingleInstance&) = delete;

  // Waits until this process holds the named mutex.
  void Lock();
  void Unlock();
  // TRUE while another copy has registered its main window.
  BOOL IsAnotherInstanceRunning();
  // Publishes this copy's main window and releases the named mutex; FALSE when another copy
  // registered first or the mapping can't be made.
  BOOL RegisterMainWindow();
  // Brings the running copy's window forward and, with a path, sends it the path; the handle
  // read from the mapping, or 0 when there is none.
  HWND ActivatePrevious(LPCTSTR lpszPath, DWORD dwData);

  // The project path a second copy handed over with WM_COPYDATA, checked before use: the record
  // comes from another process, so its length must count exactly the path and one terminating
  // zero, within kMaxHandOverBytes. FALSE, leaving `path` empty, for anything else.
  static BOOL GetHandedOverPath(const COPYDATASTRUCT* pRecord, CString& path);
  static constexpr DWORD kMaxHandOverBytes = 32768;

  virtual CString GetMappingName() const;
  virtual HWND GetMainWindowHandle() const;

 private:
  std::mutex m_viewLock;  // orders this process's accesses to the mapped view
  HANDLE m_hNamedMutex = nullptr;
  bool m_bLocked = false;  // this object holds m_hNamedMutex
  CString m_strName;
};
