#include "modules/files/Files.h"

#include <mutex>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

namespace {

struct Registration {
  std::mutex lock;
  std::string name;   // guarded by lock
  std::string owner;  // guarded by lock
};

Registration& TheRegistration() {
  static Registration registration;
  return registration;
}

}  // namespace

BOOL Zorv_RegisterModule(LPCSTR pszName, int, LPCSTR pszOwner) {
  if (!pszName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Registration& r = TheRegistration();
  std::lock_guard lock(r.lock);
  r.name = pszName;
  r.owner = pszOwner ? pszOwner : "";
  return TRUE;
}

BOOL Zorv_CFileGetStatus(LPCSTR pszPath, CFileStatus& rStatus, int) {
  if (!pszPath || !*pszPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The status is filled only when the whole call succeeds.
  CFileStatus status{};
  if (!CFile::GetStatus(pszPath, status)) return FALSE;
  rStatus = status;
  return TRUE;
}

HANDLE Zorv_CreateFile(LPCSTR pszPath, DWORD dwAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES pSecurity,
                       DWORD dwDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplate) {
  return CreateFile(pszPath, dwAccess, dwShareMode, pSecurity, dwDisposition, dwFlagsAndAttributes,
                    hTemplate);
}

namespace pictavo::files {

std::string RegisteredName() {
  Registration& r = TheRegistration();
  std::lock_guard lock(r.lock);
  return r.name;
}

std::string RegisteredOwner() {
  Registration& r = TheRegistration();
  std::lock_guard lock(r.lock);
  return r.owner;
}

}  // namespace pictavo::files
