#include "modules/data/SingleFlag.h"

#include <chrono>

#include "platform/kernel/Mutex.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"

namespace {

// Other copies of the program open the same name.
std::string MarkName(const std::string& flag) {
  return "pictavo-single-flag-" + flag;
}

}  // namespace

CWyxSingleFlag::CWyxSingleFlag(LPCTSTR name) : m_name(name != nullptr ? name : "") {
  m_hMark = CreateMutex(nullptr, FALSE, MarkName(m_name).c_str());
}

CWyxSingleFlag::~CWyxSingleFlag() {
  if (m_hMark != nullptr) CloseHandle(m_hMark);
}

int CWyxSingleFlag::GetRefCount() const {
  std::lock_guard lock(m_lock);
  return m_nCount;
}

void CWyxSingleFlag::Lock() {
  std::lock_guard lock(m_lock);
  ++m_nCount;
  const auto self = std::this_thread::get_id();
  if (m_markOwner == self) {
    ++m_nOwnerHolds;
  } else if (m_markOwner == std::thread::id() && m_hMark != nullptr) {
    // Another copy may hold the mark: this copy's flag is still taken, only not marked.
    const DWORD got = WaitForSingleObject(m_hMark, 0);
    if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) {
      m_markOwner = self;
      m_nOwnerHolds = 1;
    }
  }
}

void CWyxSingleFlag::Unlock() {
  std::lock_guard lock(m_lock);
  if (m_nCount == 0) return;
  --m_nCount;
  if (m_markOwner == std::this_thread::get_id() && --m_nOwnerHolds == 0) {
    ReleaseMutex(m_hMark);
    m_markOwner = std::thread::id();
  }
  if (m_nCount == 0) m_released.notify_all();
}

bool CWyxSingleFlag::HeldByAnotherProcess() const {
  if (m_hMark == nullptr) return false;
  const DWORD got = WaitForSingleObject(m_hMark, 0);
  if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) {
    ReleaseMutex(m_hMark);
    return false;
  }
  return got == WAIT_TIMEOUT;
}

BOOL CWyxSingleFlag::IsLocked() const {
  std::lock_guard lock(m_lock);
  if (m_nCount > 0) return TRUE;
  return HeldByAnotherProcess() ? TRUE : FALSE;
}

void CWyxSingleFlag::WaitForSingleExit(BOOL pumpMessages) {
  std::unique_lock lock(m_lock);
  while (m_nCount > 0) {
    if (!pumpMessages) {
      m_released.wait(lock, [this] { return m_nCount == 0; });
      break;
    }
    lock.unlock();
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    lock.lock();
    m_released.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_nCount == 0; });
  }
}
