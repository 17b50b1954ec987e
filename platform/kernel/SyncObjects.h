// The class library's synchronisation objects over the kernel's: critical section, mutex, event,
// and the scoped lock that takes one of them.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"
#include "platform/kernel/CriticalSection.h"

class CSyncObject : public CObject {
  DECLARE_DYNAMIC(CSyncObject)

 public:
  explicit CSyncObject(LPCTSTR name);
  ~CSyncObject() override;

  operator HANDLE() const { return m_hObject; }

  // TRUE when the object was acquired, also when it was a mutex its owner abandoned: the
  // caller owns it then and its Unlock releases it.
  virtual BOOL Lock(DWORD timeout = INFINITE);
  virtual BOOL Unlock() = 0;
  virtual BOOL Unlock(LONG count, LPLONG previousCount = nullptr) { return TRUE; }

  // Null when the kernel object could not be made; every Lock then fails.
  HANDLE m_hObject = nullptr;
};

class CCriticalSection : public CSyncObject {
  DECLARE_DYNAMIC(CCriticalSection)

 public:
  CCriticalSection();
  ~CCriticalSection() override;

  operator CRITICAL_SECTION*() { return &m_sect; }

  BOOL Lock();
  // A zero time-out only tries; any other waits until the section is free.
  BOOL Lock(DWORD timeout) override;
  BOOL Unlock() override;
  using CSyncObject::Unlock;

  CRITICAL_SECTION m_sect;
};

class CMutex : public CSyncObject {
  DECLARE_DYNAMIC(CMutex)

 public:
  explicit CMutex(BOOL initiallyOwn = FALSE, LPCTSTR name = nullptr,
                  LPSECURITY_ATTRIBUTES attributes = nullptr);
  BOOL Unlock() override;
  using CSyncObject::Unlock;
};

class CEvent : public CSyncObject {
  DECLARE_DYNAMIC(CEvent)

 public:
  explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCTSTR name = nullptr,
                  LPSECURITY_ATTRIBUTES attributes = nullptr);
  BOOL SetEvent();
  BOOL PulseEvent();
  BOOL ResetEvent();
  BOOL Unlock() override;
  using CSyncObject::Unlock;
};

// Takes one object for a scope: released by Unlock or at the end of the scope.
class CSingleLock {
 public:
  explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE);
  ~CSingleLock();
  CSingleLock(const CSingleLock&) = delete;
  CSingleLock& operator=(const CSingleLock&) = delete;

  BOOL Lock(DWORD timeout = INFINITE);
  BOOL Unlock();
  BOOL Unlock(LONG count, LPLONG previousCount = nullptr);
  BOOL IsLocked() const { return m_bAcquired; }

 protected:
  CSyncObject* m_pObject;
  HANDLE m_hObject;
  BOOL m_bAcquired = FALSE;
};
