// Re-entry flags: a named flag that a long-running command holds for its whole run, so that a
// second entry (from a nested message loop, another thread or another copy of the program) can
// see that it runs. CWyxSingleFlagAutoLock holds one for a scope and counts the holders.
//
// Within the process the flag is a counter. Across processes a named mutex carries it: the thread
// that takes the flag first owns the mutex until that same holder lets go, so another copy's
// IsLocked sees it. (A flag taken by two threads at once is marked for the time the first one
// holds it; the program takes each flag on one thread.)
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/base/WinTypes.h"

class CWyxSingleFlag {
 public:
  explicit CWyxSingleFlag(LPCTSTR name);
  ~CWyxSingleFlag();
  CWyxSingleFlag(const CWyxSingleFlag&) = delete;
  CWyxSingleFlag& operator=(const CWyxSingleFlag&) = delete;

  const std::string& GetName() const { return m_name; }
  // Holders in this process.
  int GetRefCount() const;
  // Held here or by another running copy of the program.
  BOOL IsLocked() const;
  // Waits until no holder of this process is left. With `pumpMessages` the calling thread's
  // messages are dispatched meanwhile (a UI thread waiting for a worker stays responsive).
  void WaitForSingleExit(BOOL pumpMessages);

  // What CWyxSingleFlagAutoLock does; Unlock must run on the thread that locked.
  void Lock();
  void Unlock();

 private:
  bool HeldByAnotherProcess() const;

  const std::string m_name;
  HANDLE m_hMark = nullptr;  // the named mutex other copies test; null when it could not be made
  mutable std::mutex m_lock;
  std::condition_variable m_released;
  int m_nCount = 0;             // guarded by m_lock
  std::thread::id m_markOwner;  // the thread owning m_hMark; guarded by m_lock
  int m_nOwnerHolds = 0;        // how often that thread holds the flag; guarded by m_lock
};

class CWyxSingleFlagAutoLock {
 public:
  explicit CWyxSingleFlagAutoLock(CWyxSingleFlag& flag) : m_flag(flag) { m_flag.Lock(); }
  explicit CWyxSingleFlagAutoLock(CWyxSingleFlag* flag) : CWyxSingleFlagAutoLock(*flag) {}
  ~CWyxSingleFlagAutoLock() { m_flag.Unlock(); }
  CWyxSingleFlagAutoLock(const CWyxSingleFlagAutoLock&) = delete;
  CWyxSingleFlagAutoLock& operator=(const CWyxSingleFlagAutoLock&) = delete;

  int GetRefCount() const { return m_flag.GetRefCount(); }

 private:
  CWyxSingleFlag& m_flag;
};
