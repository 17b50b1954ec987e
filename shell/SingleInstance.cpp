#include "shell/SingleInstance.h"

#include <cstring>
#include <string>

#include "platform/kernel/FileMapping.h"
#include "platform/kernel/Mutex.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/Afx.h"
#include "platform/user/CrossProcess.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"

namespace {

// The mapping lives as long as the registering process: never closed during the run.
HANDLE g_hRegisteredMapping = nullptr;

}  // namespace

CSingleInstance::CSingleInstance(LPCTSTR lpszName) : m_strName(lpszName) {
  m_hNamedMutex = CreateMutex(nullptr, FALSE, lpszName);
}

CSingleInstance::~CSingleInstance() {
  Unlock();
  if (m_hNamedMutex != nullptr) CloseHandle(m_hNamedMutex);
}

void CSingleInstance::Lock() {
  if (m_bLocked || m_hNamedMutex == nullptr) return;
  const DWORD result = WaitForSingleObject(m_hNamedMutex, INFINITE);
  m_bLocked = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void CSingleInstance::Unlock() {
  if (!m_bLocked) return;
  ReleaseMutex(m_hNamedMutex);
  m_bLocked = false;
}

BOOL CSingleInstance::GetHandedOverPath(const COPYDATASTRUCT* pRecord, CString& path) {
  path.Empty();
  if (pRecord == nullptr || pRecord->lpData == nullptr) return FALSE;
  const DWORD size = pRecord->cbData;
  if (size < 2 || size > kMaxHandOverBytes) return FALSE;  // at least one character and its zero
  const auto* bytes = static_cast<const char*>(pRecord->lpData);
  // The first zero must be the last byte: a path cut short or running on past its length is refused.
  if (std::memchr(bytes, '\0', size) != bytes + size - 1) return FALSE;
  path = CString(bytes, static_cast<int>(size - 1));
  return TRUE;
}

CString CSingleInstance::GetMappingName() const {
  return CString("SIC_MMF_") + m_strName;
}

HWND CSingleInstance::GetMainWindowHandle() const {
  CWnd* main = AfxGetMainWnd();
  return main != nullptr ? main->GetSafeHwnd() : nullptr;
}

BOOL CSingleInstance::IsAnotherInstanceRunning() {
  HANDLE mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, GetMappingName());
  if (mapping == nullptr) return FALSE;
  CloseHandle(mapping);
  return TRUE;
}

BOOL CSingleInstance::RegisterMainWindow() {
  // Whatever the outcome, the start-up of this copy is over: later copies must not wait for it
  // in Lock for as long as it runs.
  if (IsAnotherInstanceRunning()) {
    Unlock();
    return FALSE;
  }
  g_hRegisteredMapping =
      CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), GetMappingName());
  if (g_hRegisteredMapping == nullptr) {
    Unlock();
    return FALSE;
  }
  auto* view =
      static_cast<BYTE*>(MapViewOfFile(g_hRegisteredMapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 4));
  if (view != nullptr) {
    std::scoped_lock lock(m_viewLock);
    const auto handle = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(GetMainWindowHandle()));
    std::memcpy(view, &handle, sizeof handle);
    UnmapViewOfFile(view);
  }
  Unlock();
  return TRUE;
}

HWND CSingleInstance::ActivatePrevious(LPCTSTR lpszPath, DWORD dwData) {
  HANDLE mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, GetMappingName());
  if (mapping == nullptr) return nullptr;
  auto* view = static_cast<BYTE*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 4));
  if (view == nullptr) {
    CloseHandle(mapping);
    Unlock();
    return nullptr;
  }
  std::scoped_lock lock(m_viewLock);
  DWORD stored = 0;
  std::memcpy(&stored, view, sizeof stored);
  HWND hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(stored));
  if (hwnd != nullptr && IsWindow(hwnd)) {
    HWND popup = GetLastActivePopup(hwnd);
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(popup != nullptr ? popup : hwnd);
    if (lpszPath != nullptr) {
      std::string path(lpszPath);
      COPYDATASTRUCT record{dwData, static_cast<DWORD>(path.size() + 1), path.data()};
      SendMessage(hwnd, WM_COPYDATA, reinterpret_cast<WPARAM>(GetMainWindowHandle()),
                  reinterpret_cast<LPARAM>(&record));
    }
  }
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  Unlock();
  return hwnd;
}
