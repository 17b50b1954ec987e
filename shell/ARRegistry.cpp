#include "shell/ARRegistry.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/Exceptions.h"
#include "platform/base/MemFile.h"
#include "toolkit/core/PlxRegistryValues.h"

IMPLEMENT_DYNCREATE(CARRegistry, CObject)

namespace {

// Keys opened by a read-only object: query, enumerate and notify.
constexpr REGSAM kReadOnlyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;

struct ApplicationKey {
  std::mutex lock;
  std::string registryKey;                  // guarded by lock
  std::string appName = "Talvane Pictavo";  // guarded by lock
};

ApplicationKey& TheApplicationKey() {
  static ApplicationKey key;
  return key;
}

}  // namespace

void SetRegistryApplication(LPCTSTR lpszRegistryKey, LPCTSTR lpszAppName) {
  ApplicationKey& key = TheApplicationKey();
  std::lock_guard guard(key.lock);
  key.registryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
  key.appName = lpszAppName != nullptr ? lpszAppName : "";
}

CARRegistry::CARRegistry()
    : m_hKey(HKEY_CURRENT_USER), m_bAdmin(FALSE), m_bReadOnly(FALSE), m_bAbsolutePath(FALSE) {}

CARRegistry::~CARRegistry() {
  Close();
}

HKEY CARRegistry::Root() const {
  return m_bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

REGSAM CARRegistry::Access() const {
  return m_bReadOnly ? kReadOnlyAccess : KEY_ALL_ACCESS;
}

CString CARRegistry::ResolvePath(LPCTSTR lpszPath) const {
  CString path(lpszPath);
  if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') path = path.Left(path.GetLength() - 1);
  if (m_bAbsolutePath) return path;
  ApplicationKey& key = TheApplicationKey();
  std::lock_guard guard(key.lock);
  CString resolved("Software\\");
  if (!key.registryKey.empty()) resolved += CString(key.registryKey) + "\\";
  return resolved + CString(key.appName) + "\\" + path;
}

BOOL CARRegistry::EnumValueNames(CStringArray& names) {
  return PlxRegEnumValueNames(m_hKey, names);
}

BOOL CARRegistry::VerifyKey(LPCTSTR lpszPath) {
  Close();
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root(), ResolvePath(lpszPath), 0, Access(), &key) != ERROR_SUCCESS) return FALSE;
  RegCloseKey(key);
  return TRUE;
}

BOOL CARRegistry::VerifyValue(LPCTSTR lpszValue) {
  return RegQueryValueExA(m_hKey, lpszValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL CARRegistry::CreateKey(LPCTSTR lpszPath) {
  if (m_bReadOnly) return FALSE;
  Close();
  HKEY key = nullptr;
  if (RegCreateKeyExA(Root(), ResolvePath(lpszPath), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return FALSE;
  m_hKey = key;
  return TRUE;
}

BOOL CARRegistry::Open(LPCTSTR lpszPath) {
  Close();
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root(), ResolvePath(lpszPath), 0, Access(), &key) != ERROR_SUCCESS) return FALSE;
  m_hKey = key;
  return TRUE;
}

void CARRegistry::Close() {
  // The roots are never closed: they are not ours.
  if (IsKeyOpen()) RegCloseKey(m_hKey);
  m_hKey = Root();
}

BOOL CARRegistry::DeleteValue(LPCTSTR lpszValue) {
  return RegDeleteValueA(m_hKey, lpszValue) == ERROR_SUCCESS;
}

BOOL CARRegistry::DeleteKey(LPCTSTR lpszPath, BOOL bAdmin) {
  if (m_bReadOnly) return FALSE;
  return PlxRegDeleteKeyTree(bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, ResolvePath(lpszPath));
}

template <class Fill>
BOOL CARRegistry::WriteArchived(LPCTSTR lpszValue, Fill fill) {
  if (m_bReadOnly) return FALSE;
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!PlxRegArchiveBytes(fill, bytes, length)) return FALSE;
  const BOOL written = WriteBinary(lpszValue, bytes, length);
  std::free(bytes);
  return written;
}

template <class Load>
BOOL CARRegistry::ReadArchived(LPCTSTR lpszValue, Load load) {
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!ReadBinary(lpszValue, bytes, length)) return FALSE;
  const BOOL ok = PlxRegLoadArchive(bytes, length, load);
  delete[] bytes;
  return ok;
}

BOOL CARRegistry::WriteObjectPtr(LPCTSTR lpszValue, CObject* pObject) {
  return WriteArchived(lpszValue, [&](CArchive& ar) { ar.WriteObject(pObject); });
}

BOOL CARRegistry::WriteObject(LPCTSTR lpszValue, CObject& object) {
  return WriteArchived(lpszValue, [&](CArchive& ar) { object.Serialize(ar); });
}

BOOL CARRegistry::WriteStringList(LPCTSTR lpszValue, CStringList& list) {
  return WriteObject(lpszValue, list);
}

BOOL CARRegistry::WriteBinary(LPCTSTR lpszValue, const BYTE* pData, UINT nBytes) {
  if (m_bReadOnly) return FALSE;
  return PlxRegWriteBinary(m_hKey, lpszValue, pData, nBytes);
}

BOOL CARRegistry::WritePoint(LPCTSTR lpszValue, POINT* pPoint) {
  if (m_bReadOnly || pPoint == nullptr) return FALSE;
  return PlxRegWritePoint(m_hKey, lpszValue, *pPoint);
}

BOOL CARRegistry::WriteRect(LPCTSTR lpszValue, RECT* pRect) {
  if (pRect == nullptr) return FALSE;
  return WriteArchived(lpszValue, [&](CArchive& ar) { ar << *pRect; });
}

BOOL CARRegistry::WriteWordArray(LPCTSTR lpszValue, CWordArray& array) {
  return WriteArchived(lpszValue, [&](CArchive& ar) { PlxRegStoreWordArray(ar, array); });
}

BOOL CARRegistry::WriteByteArray(LPCTSTR lpszValue, CByteArray& array) {
  return WriteObject(lpszValue, array);
}

BOOL CARRegistry::WriteStringArray(LPCTSTR lpszValue, CStringArray& array) {
  return WriteObject(lpszValue, array);
}

BOOL CARRegistry::WriteDWordArray(LPCTSTR lpszValue, CDWordArray& array) {
  return WriteObject(lpszValue, array);
}

BOOL CARRegistry::WriteObList(LPCTSTR lpszValue, CObList& list) {
  return WriteObject(lpszValue, list);
}

BOOL CARRegistry::WriteString(LPCTSTR lpszValue, LPCTSTR lpszText) {
  if (m_bReadOnly) return FALSE;
  return PlxRegWriteString(m_hKey, lpszValue, lpszText);
}

BOOL CARRegistry::WriteDword(LPCTSTR lpszValue, DWORD dwValue) {
  if (m_bReadOnly) return FALSE;
  return PlxRegWriteDword(m_hKey, lpszValue, dwValue);
}

BOOL CARRegistry::WriteInt(LPCTSTR lpszValue, int nValue) {
  return WriteDword(lpszValue, static_cast<DWORD>(nValue));
}

BOOL CARRegistry::ReadRectOr(LPCTSTR lpszValue, RECT* pRect, const RECT* pDefault) {
  if (ReadRect(lpszValue, pRect)) return TRUE;
  if (pRect != nullptr && pDefault != nullptr) *pRect = *pDefault;
  return FALSE;
}

BOOL CARRegistry::ReadPointOr(LPCTSTR lpszValue, POINT* pPoint, const POINT* pDefault) {
  if (ReadPoint(lpszValue, pPoint)) return TRUE;
  if (pPoint != nullptr && pDefault != nullptr) *pPoint = *pDefault;
  return FALSE;
}

BOOL CARRegistry::ReadStringOr(LPCTSTR lpszValue, CString& text, LPCTSTR lpszDefault) {
  if (ReadString(lpszValue, text)) return TRUE;
  text = lpszDefault;
  return FALSE;
}

BOOL CARRegistry::ReadDwordOr(LPCTSTR lpszValue, DWORD& dwValue, DWORD dwDefault) {
  if (ReadDword(lpszValue, dwValue)) return TRUE;
  dwValue = dwDefault;
  return FALSE;
}

BOOL CARRegistry::ReadIntOr(LPCTSTR lpszValue, int& nValue, int nDefault) {
  if (ReadInt(lpszValue, nValue)) return TRUE;
  nValue = nDefault;
  return FALSE;
}

BOOL CARRegistry::ReadObjectPtr(LPCTSTR lpszValue, CObject*& pObject) {
  CObject* loaded = nullptr;
  const BOOL ok = ReadArchived(lpszValue, [&](CArchive& ar, UINT) { loaded = ar.ReadObject(nullptr); });
  if (!ok) {
    delete loaded;
    return FALSE;
  }
  pObject = loaded;
  return TRUE;
}

BOOL CARRegistry::ReadObject(LPCTSTR lpszValue, CObject& object) {
  return ReadArchived(lpszValue, [&](CArchive& ar, UINT) { object.Serialize(ar); });
}

BOOL CARRegistry::ReadObList(LPCTSTR lpszValue, CObList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
  return ReadObject(lpszValue, list);
}

BOOL CARRegistry::ReadBinary(LPCTSTR lpszValue, BYTE*& pData, UINT& nBytes) {
  return PlxRegReadBinary(m_hKey, lpszValue, pData, nBytes);
}

BOOL CARRegistry::ReadRect(LPCTSTR lpszValue, RECT* pRect) {
  if (pRect == nullptr) return FALSE;
  RECT rect{};
  if (!ReadArchived(lpszValue, [&](CArchive& ar, UINT length) { PlxRegLoadRect(ar, length, rect); }))
    return FALSE;
  *pRect = rect;
  return TRUE;
}

BOOL CARRegistry::ReadPoint(LPCTSTR lpszValue, POINT* pPoint) {
  if (pPoint == nullptr) return FALSE;
  return PlxRegReadPoint(m_hKey, lpszValue, *pPoint);
}

BOOL CARRegistry::ReadByteArray(LPCTSTR lpszValue, CByteArray& array) {
  array.RemoveAll();
  return ReadObject(lpszValue, array);
}

BOOL CARRegistry::ReadWordArray(LPCTSTR lpszValue, CWordArray& array) {
  array.RemoveAll();
  return ReadArchived(lpszValue, [&](CArchive& ar, UINT length) { PlxRegLoadWordArray(ar, length, array); });
}

BOOL CARRegistry::ReadDWordArray(LPCTSTR lpszValue, CDWordArray& array) {
  array.RemoveAll();
  return ReadObject(lpszValue, array);
}

BOOL CARRegistry::ReadStringArray(LPCTSTR lpszValue, CStringArray& array) {
  array.RemoveAll();
  return ReadObject(lpszValue, array);
}

BOOL CARRegistry::ReadStringList(LPCTSTR lpszValue, CStringList& list) {
  list.RemoveAll();
  return ReadObject(lpszValue, list);
}

BOOL CARRegistry::ReadString(LPCTSTR lpszValue, CString& text) {
  return PlxRegReadString(m_hKey, lpszValue, text);
}

BOOL CARRegistry::ReadDword(LPCTSTR lpszValue, DWORD& dwValue) {
  return PlxRegReadDword(m_hKey, lpszValue, dwValue);
}

BOOL CARRegistry::ReadInt(LPCTSTR lpszValue, int& nValue) {
  DWORD temporary = 0;
  if (!ReadDword(lpszValue, temporary)) return FALSE;
  nValue = static_cast<int>(temporary);
  return TRUE;
}

BOOL CARRegistry::EnumSubKeyNames(CStringArray& names) {
  return PlxRegEnumSubKeyNames(m_hKey, names);
}

CARRegistry* CARRegistrySP::Create(BOOL bAdmin, BOOL bReadOnly) {
  if (m_pRegistry != nullptr) return m_pRegistry;
  m_pRegistry = new CARRegistry;
  m_pRegistry->m_bReadOnly = bReadOnly;
  m_pRegistry->m_hKey = bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  m_pRegistry->m_bAdmin = bAdmin;
  m_pRegistry->m_bAbsolutePath = m_bAbsolutePath;
  return m_pRegistry;
}

CString ReadGeneralString(LPCTSTR lpszValue) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, TRUE);
  CString value;
  if (registry != nullptr && registry->Open("General")) registry->ReadString(lpszValue, value);
  return value;
}

void WriteGeneralString(LPCTSTR lpszValue, const CString& value) {
  CARRegistrySP creator;
  CARRegistry* registry = creator.Create(FALSE, FALSE);
  if (registry != nullptr && (registry->Open("General") || registry->CreateKey("General")))
    registry->WriteString(lpszValue, value);
}
