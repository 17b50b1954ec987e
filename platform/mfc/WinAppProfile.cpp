// CWinApp's profile settings: in the registry once SetRegistryKey was called, else in the
// application's ini file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/base/ErrorCodes.h"
#include "platform/kernel/Ini.h"
#include "platform/kernel/Registry.h"
#include "platform/mfc/WinApp.h"

namespace {

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// The ini form of binary values: two letters 'A' + nibble per byte, low nibble first.
std::string EncodeBinary(const BYTE* data, UINT size) {
  std::string text;
  for (UINT i = 0; i < size; ++i) {
    text += static_cast<char>('A' + (data[i] & 0x0F));
    text += static_cast<char>('A' + (data[i] >> 4));
  }
  return text;
}

bool DecodeBinary(const std::string& text, std::unique_ptr<BYTE[]>& data, UINT& size) {
  if (text.size() % 2 != 0) return false;
  size = static_cast<UINT>(text.size() / 2);
  data = std::make_unique<BYTE[]>(size);
  for (UINT i = 0; i < size; ++i) {
    const int low = text[2 * i] - 'A';
    const int high = text[2 * i + 1] - 'A';
    if (low < 0 || low > 15 || high < 0 || high > 15) return false;
    data[i] = static_cast<BYTE>(low | (high << 4));
  }
  return true;
}

}  // namespace

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
  free(const_cast<char*>(m_pszRegistryKey));
  m_pszRegistryKey = strdup(lpszRegistryKey ? lpszRegistryKey : "");
  free(const_cast<char*>(m_pszProfileName));
  m_pszProfileName = strdup(m_pszAppName ? m_pszAppName : "");
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString key;
  key.LoadString(nIDRegistryKey);
  SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey() {
  if (!m_pszRegistryKey || !m_pszProfileName || !*m_pszProfileName) return nullptr;
  std::string path = "Software";
  if (*m_pszRegistryKey) path += std::string("\\") + m_pszRegistryKey;
  path += std::string("\\") + m_pszProfileName;
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                     KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
  Key app(GetAppRegistryKey());
  if (!app || !lpszSection) return nullptr;
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyEx(app.get(), lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                     nullptr, &key, &disposition) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

namespace {

// The section's key for reading: null when it does not exist (reading creates nothing).
HKEY OpenSection(CWinApp& app, LPCTSTR section) {
  if (!app.m_pszRegistryKey || !app.m_pszProfileName || !section) return nullptr;
  std::string path = "Software";
  if (*app.m_pszRegistryKey) path += std::string("\\") + app.m_pszRegistryKey;
  path += std::string("\\") + app.m_pszProfileName + "\\" + section;
  HKEY key = nullptr;
  return RegOpenKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
  if (!m_pszRegistryKey) return GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, m_pszProfileName);
  Key section(OpenSection(*this, lpszSection));
  if (!section) return static_cast<UINT>(nDefault);
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  if (RegQueryValueEx(section.get(), lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return static_cast<UINT>(nDefault);
  return value;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
  if (!m_pszRegistryKey) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", nValue);
    return WritePrivateProfileString(lpszSection, lpszEntry, text, m_pszProfileName);
  }
  Key section(GetSectionKey(lpszSection));
  if (!section) return FALSE;
  const DWORD value = static_cast<DWORD>(nValue);
  return RegSetValueEx(section.get(), lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value) == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  if (!m_pszRegistryKey) {
    std::string buffer(4096, '\0');
    const DWORD n =
        GetPrivateProfileString(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "", buffer.data(),
                                static_cast<DWORD>(buffer.size()), m_pszProfileName);
    buffer.resize(n);
    return CString(buffer);
  }
  Key section(OpenSection(*this, lpszSection));
  DWORD type = 0;
  DWORD size = 0;
  if (!section ||
      RegQueryValueEx(section.get(), lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return CString(lpszDefault);
  std::string text(size, '\0');
  if (RegQueryValueEx(section.get(), lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(text.data()),
                      &size) != ERROR_SUCCESS)
    return CString(lpszDefault);
  text.resize(std::strlen(text.c_str()));  // up to the stored NUL, when there is one
  return CString(text);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
  if (!m_pszRegistryKey)
    return WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
  if (!lpszEntry) {
    Key app(GetAppRegistryKey());
    return app && RegDeleteKey(app.get(), lpszSection) == ERROR_SUCCESS;
  }
  Key section(GetSectionKey(lpszSection));
  if (!section) return FALSE;
  if (!lpszValue) return RegDeleteValue(section.get(), lpszEntry) == ERROR_SUCCESS;
  return RegSetValueEx(section.get(), lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                       static_cast<DWORD>(std::strlen(lpszValue) + 1)) == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  if (!ppData || !pBytes) return FALSE;
  *ppData = nullptr;
  *pBytes = 0;
  if (!m_pszRegistryKey) {
    const CString text = GetProfileString(lpszSection, lpszEntry, nullptr);
    std::unique_ptr<BYTE[]> data;
    UINT size = 0;
    if (text.IsEmpty() || !DecodeBinary(text.Str(), data, size)) return FALSE;
    *ppData = data.release();
    *pBytes = size;
    return TRUE;
  }
  Key section(OpenSection(*this, lpszSection));
  DWORD type = 0;
  DWORD size = 0;
  if (!section ||
      RegQueryValueEx(section.get(), lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_BINARY)
    return FALSE;
  auto data = std::make_unique<BYTE[]>(size ? size : 1);
  if (RegQueryValueEx(section.get(), lpszEntry, nullptr, &type, data.get(), &size) != ERROR_SUCCESS)
    return FALSE;
  *ppData = data.release();
  *pBytes = size;
  return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  if (!m_pszRegistryKey)
    return WriteProfileString(lpszSection, lpszEntry, EncodeBinary(pData, nBytes).c_str());
  Key section(GetSectionKey(lpszSection));
  if (!section) return FALSE;
  return RegSetValueEx(section.get(), lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}
