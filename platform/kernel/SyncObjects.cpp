#include "platform/kernel/SyncObjects.h"

#include "platform/kernel/Event.h"
#include "platform/kernel/Mutex.h"
#include "platform/kernel/Wait.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)

CSyncObject::CSyncObject(LPCTSTR) {}

CSyncObject::~CSyncObject() {
  if (m_hObject) CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD timeout) {
  const DWORD result = WaitForSingleObject(m_hObject, timeout);
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

CCriticalSection::CCriticalSection() : CSyncObject(nullptr) {
  InitializeCriticalSection(&m_sect);
}

CCriticalSection::~CCriticalSection() {
  DeleteCriticalSection(&m_sect);
}

BOOL CCriticalSection::Lock() {
  EnterCriticalSection(&m_sect);
  return TRUE;
}

BOOL CCriticalSection::Lock(DWORD timeout) {
  if (timeout == 0) return TryEnterCriticalSection(&m_sect);
  return Lock();
}

BOOL CCriticalSection::Unlock() {
  LeaveCriticalSection(&m_sect);
  return TRUE;
}

CMutex::CMutex(BOOL initiallyOwn, LPCTSTR name, LPSECURITY_ATTRIBUTES attributes) : CSyncObject(name) {
  m_hObject = CreateMutex(attributes, initiallyOwn, name);
}

BOOL CMutex::Unlock() {
  return ReleaseMutex(m_hObject);
}

CEvent::CEvent(BOOL initiallyOwn, BOOL manualReset, LPCTSTR name, LPSECURITY_ATTRIBUTES attributes)
    : CSyncObject(name) {
  m_hObject = CreateEvent(attributes, manualReset, initiallyOwn, name);
}

BOOL CEvent::SetEvent() {
  return ::SetEvent(m_hObject);
}
BOOL CEvent::PulseEvent() {
  return ::PulseEvent(m_hObject);
}
BOOL CEvent::ResetEvent() {
  return ::ResetEvent(m_hObject);
}
BOOL CEvent::Unlock() {
  return TRUE;
}

CSingleLock::CSingleLock(CSyncObject* object, BOOL initialLock)
    : m_pObject(object), m_hObject(object ? object->m_hObject : nullptr) {
  if (initialLock) Lock();
}

CSingleLock::~CSingleLock() {
  Unlock();
}

BOOL CSingleLock::Lock(DWORD timeout) {
  if (!m_pObject || m_bAcquired) return m_bAcquired;
  m_bAcquired = m_pObject->Lock(timeout);
  return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
  if (m_bAcquired && m_pObject) m_bAcquired = !m_pObject->Unlock();
  return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG count, LPLONG previousCount) {
  if (m_bAcquired && m_pObject) m_bAcquired = !m_pObject->Unlock(count, previousCount);
  return !m_bAcquired;
}
