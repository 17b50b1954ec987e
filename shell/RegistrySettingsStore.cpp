#include "shell/RegistrySettingsStore.h"

#include <cstring>

#include "platform/base/ErrorCodes.h"

CRegistrySettingsStore::CRegistrySettingsStore(HKEY hRoot, LPCTSTR lpszPath) : m_hRoot(hRoot) {
  std::memset(m_szPath, 0, sizeof m_szPath);
  if (lpszPath != nullptr) std::strncpy(m_szPath, lpszPath, sizeof m_szPath - 1);
}

CSettingsStore* CRegistrySettingsStore::CreateSubStore(LPCTSTR lpszName) {
  return new (std::nothrow) CRegistrySettingsStore(m_hKey, lpszName);
}

bool CRegistrySettingsStore::OpenForWrite() {
  return RegCreateKeyExA(m_hRoot, m_szPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &m_hKey,
                         nullptr) == ERROR_SUCCESS;
}

bool CRegistrySettingsStore::OpenForRead() {
  return RegOpenKeyExA(m_hRoot, m_szPath, 0, KEY_READ, &m_hKey) == ERROR_SUCCESS;
}

bool CRegistrySettingsStore::CloseKey() {
  if (m_hKey == nullptr) return true;
  const bool closed = RegCloseKey(m_hKey) == ERROR_SUCCESS;
  m_hKey = nullptr;
  return closed;
}

bool CRegistrySettingsStore::ExchangeFloat(LPCTSTR lpszName, float& value, bool bWrite) {
  float temporary = value;
  if (!ExchangeBinary(lpszName, &temporary, sizeof temporary, bWrite)) return false;
  value = temporary;
  return true;
}

bool CRegistrySettingsStore::ExchangeBinary(LPCTSTR lpszName, void* pBuffer, DWORD nSize, bool bWrite) {
  if (bWrite)
    return RegSetValueExA(m_hKey, lpszName, 0, REG_BINARY, static_cast<const BYTE*>(pBuffer), nSize) ==
           ERROR_SUCCESS;
  DWORD size = nSize;
  return RegQueryValueExA(m_hKey, lpszName, nullptr, nullptr, static_cast<BYTE*>(pBuffer), &size) ==
         ERROR_SUCCESS;
}

bool CRegistrySettingsStore::ExchangeRawString(LPCTSTR lpszName, LPTSTR pBuffer, DWORD& nBytes, bool bWrite) {
  if (bWrite)
    return RegSetValueExA(m_hKey, lpszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pBuffer), nBytes) ==
           ERROR_SUCCESS;
  const LSTATUS status =
      RegQueryValueExA(m_hKey, lpszName, nullptr, nullptr, reinterpret_cast<BYTE*>(pBuffer), &nBytes);
  if (status == ERROR_SUCCESS) return true;
  if (status != ERROR_MORE_DATA) nBytes = 0;
  return false;
}

bool CRegistrySettingsStore::ExchangeDouble(LPCTSTR lpszName, double& value, bool bWrite) {
  double temporary = value;
  if (!ExchangeBinary(lpszName, &temporary, sizeof temporary, bWrite)) return false;
  value = temporary;
  return true;
}

bool CRegistrySettingsStore::ExchangeBool(LPCTSTR lpszName, bool& value, bool bWrite) {
  DWORD temporary = value ? 1 : 0;
  if (!ExchangeDword(lpszName, temporary, bWrite)) return false;
  value = temporary != 0;
  return true;
}

bool CRegistrySettingsStore::ExchangeDword(LPCTSTR lpszName, DWORD& value, bool bWrite) {
  if (bWrite)
    return RegSetValueExA(m_hKey, lpszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
  // A shorter value replaces only its own bytes, as the registry does for a caller's buffer.
  DWORD temporary = value;
  DWORD size = sizeof temporary;
  if (RegQueryValueExA(m_hKey, lpszName, nullptr, nullptr, reinterpret_cast<BYTE*>(&temporary), &size) !=
      ERROR_SUCCESS)
    return false;
  value = temporary;
  return true;
}

bool CRegistrySettingsStore::ExchangeLong(LPCTSTR lpszName, LONG& value, bool bWrite) {
  DWORD temporary = static_cast<DWORD>(value);
  if (!ExchangeDword(lpszName, temporary, bWrite)) return false;
  value = static_cast<LONG>(temporary);
  return true;
}
