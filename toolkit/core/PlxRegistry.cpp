#include "toolkit/core/PlxRegistry.h"

#include "platform/base/Archive.h"
#include "platform/base/ErrorCodes.h"
#include "platform/mfc/WinApp.h"
#include "toolkit/core/PlxRegistryValues.h"

IMPLEMENT_DYNCREATE(CPlxRegistry, CObject)

namespace {

// Keys opened by a read-only object: query, enumerate and notify (0x19).
constexpr REGSAM kReadOnlyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;

bool IsRoot(HKEY hKey) {
  return hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE;
}

// One trailing backslash names the same key.
CString KeyPath(LPCTSTR lpszPath) {
  CString path(lpszPath != nullptr ? lpszPath : "");
  if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') path = path.Left(path.GetLength() - 1);
  return path;
}

}  // namespace

CPlxRegistry::CPlxRegistry() : m_hKey(nullptr), m_bAdmin(FALSE), m_bReadOnly(FALSE) {}

CPlxRegistry::CPlxRegistry(BOOL bAdmin, BOOL bReadOnly)
    : m_hKey(bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER), m_bAdmin(bAdmin), m_bReadOnly(bReadOnly) {}

CPlxRegistry::~CPlxRegistry() {
  Close();
}

REGSAM CPlxRegistry::Access() const {
  return m_bReadOnly ? kReadOnlyAccess : KEY_ALL_ACCESS;
}

BOOL CPlxRegistry::EnumValueNames(CStringArray& names) {
  return PlxRegEnumValueNames(m_hKey, names);
}

BOOL CPlxRegistry::VerifyKey(LPCTSTR lpszPath) {
  HKEY key = nullptr;
  if (m_hKey == nullptr || RegOpenKeyExA(m_hKey, KeyPath(lpszPath), 0, Access(), &key) != ERROR_SUCCESS)
    return FALSE;
  RegCloseKey(key);
  return TRUE;
}

BOOL CPlxRegistry::VerifyValue(LPCTSTR lpszValue) {
  return m_hKey != nullptr &&
         RegQueryValueExA(m_hKey, lpszValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL CPlxRegistry::CreateKey(LPCTSTR lpszPath) {
  if (m_bReadOnly || m_hKey == nullptr) return FALSE;
  HKEY key = nullptr;
  if (RegCreateKeyExA(m_hKey, KeyPath(lpszPath), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return FALSE;
  // The key this one replaces would otherwise stay open for the object's life.
  if (!IsRoot(m_hKey)) RegCloseKey(m_hKey);
  m_hKey = key;
  return TRUE;
}

BOOL CPlxRegistry::Open(LPCTSTR lpszPath) {
  HKEY key = nullptr;
  if (m_hKey == nullptr || RegOpenKeyExA(m_hKey, KeyPath(lpszPath), 0, Access(), &key) != ERROR_SUCCESS)
    return FALSE;
  if (!IsRoot(m_hKey)) RegCloseKey(m_hKey);
  m_hKey = key;
  return TRUE;
}

void CPlxRegistry::Close() {
  if (m_hKey == nullptr) return;
  if (!IsRoot(m_hKey)) RegCloseKey(m_hKey);
  m_hKey = nullptr;
}

BOOL CPlxRegistry::DeleteValue(LPCTSTR lpszValue) {
  return RegDeleteValueA(m_hKey, lpszValue) == ERROR_SUCCESS;
}

BOOL CPlxRegistry::DeleteKey(LPCTSTR lpszPath, BOOL bAdmin) {
  if (m_bReadOnly) return FALSE;
  const CString path = KeyPath(lpszPath);
  // An empty path would name the whole root.
  if (path.IsEmpty()) return FALSE;
  return PlxRegDeleteKeyTree(bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, path);
}

template <class Fill>
BOOL CPlxRegistry::WriteArchived(LPCTSTR lpszValue, Fill fill) {
  if (m_bReadOnly) return FALSE;
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!PlxRegArchiveBytes(fill, bytes, length)) return FALSE;
  const BOOL written = WriteBinary(lpszValue, bytes, length);
  std::free(bytes);
  return written;
}

template <class Load>
BOOL CPlxRegistry::ReadArchived(LPCTSTR lpszValue, Load load) {
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!ReadBinary(lpszValue, &bytes, &length)) return FALSE;
  const BOOL loaded = PlxRegLoadArchive(bytes, length, load);
  delete[] bytes;
  return loaded;
}

BOOL CPlxRegistry::WriteObject(LPCTSTR lpszValue, CObject* pObject) {
  return WriteArchived(lpszValue, [&](CArchive& ar) { ar.WriteObject(pObject); });
}

BOOL CPlxRegistry::WriteSerialized(LPCTSTR lpszValue, CObject& object) {
  return WriteArchived(lpszValue, [&](CArchive& ar) { object.Serialize(ar); });
}

BOOL CPlxRegistry::WriteObList(LPCTSTR lpszValue, CObList& list) {
  return WriteSerialized(lpszValue, list);
}

BOOL CPlxRegistry::WriteBinary(LPCTSTR lpszValue, const BYTE* pData, UINT nBytes) {
  if (m_bReadOnly) return FALSE;
  return PlxRegWriteBinary(m_hKey, lpszValue, pData, nBytes);
}

BOOL CPlxRegistry::WritePoint(LPCTSTR lpszValue, POINT*& pPoint) {
  if (m_bReadOnly || pPoint == nullptr) return FALSE;
  return PlxRegWritePoint(m_hKey, lpszValue, *pPoint);
}

BOOL CPlxRegistry::WriteRect(LPCTSTR lpszValue, const RECT& rect) {
  return WriteArchived(lpszValue, [&](CArchive& ar) { ar << rect; });
}

BOOL CPlxRegistry::WriteWordArray(LPCTSTR lpszValue, CWordArray& array) {
  return WriteArchived(lpszValue, [&](CArchive& ar) { PlxRegStoreWordArray(ar, array); });
}

BOOL CPlxRegistry::WriteDWordArray(LPCTSTR lpszValue, CDWordArray& array) {
  return WriteSerialized(lpszValue, array);
}

BOOL CPlxRegistry::WriteStringArray(LPCTSTR lpszValue, CStringArray& array) {
  return WriteSerialized(lpszValue, array);
}

BOOL CPlxRegistry::WriteByteArray(LPCTSTR lpszValue, CByteArray& array) {
  return WriteSerialized(lpszValue, array);
}

BOOL CPlxRegistry::WriteStringList(LPCTSTR lpszValue, CStringList& list) {
  return WriteSerialized(lpszValue, list);
}

BOOL CPlxRegistry::WriteString(LPCTSTR lpszValue, LPCTSTR lpszText) {
  if (m_bReadOnly) return FALSE;
  return PlxRegWriteString(m_hKey, lpszValue, lpszText);
}

BOOL CPlxRegistry::WriteDword(LPCTSTR lpszValue, DWORD dwValue) {
  if (m_bReadOnly) return FALSE;
  return PlxRegWriteDword(m_hKey, lpszValue, dwValue);
}

BOOL CPlxRegistry::WriteInt(LPCTSTR lpszValue, int nValue) {
  return WriteDword(lpszValue, static_cast<DWORD>(nValue));
}

BOOL CPlxRegistry::ReadObject(LPCTSTR lpszValue, CObject*& pObject, const CRuntimeClass* pExpected) {
  CObject* loaded = nullptr;
  // The archive refuses a record whose class is not the expected one or derived from it.
  const BOOL ok = ReadArchived(lpszValue, [&](CArchive& ar, UINT) { loaded = ar.ReadObject(pExpected); });
  if (!ok) {
    delete loaded;
    return FALSE;
  }
  pObject = loaded;
  return TRUE;
}

BOOL CPlxRegistry::ReadSerialized(LPCTSTR lpszValue, CObject& object) {
  return ReadArchived(lpszValue, [&](CArchive& ar, UINT) { object.Serialize(ar); });
}

BOOL CPlxRegistry::ReadObList(LPCTSTR lpszValue, CObList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
  if (ReadSerialized(lpszValue, list)) return TRUE;
  // A record that failed half way leaves no objects behind.
  while (!list.IsEmpty()) delete list.RemoveHead();
  return FALSE;
}

BOOL CPlxRegistry::ReadBinary(LPCTSTR lpszValue, BYTE** ppData, UINT* pBytes) {
  if (ppData == nullptr || pBytes == nullptr) return FALSE;
  return PlxRegReadBinary(m_hKey, lpszValue, *ppData, *pBytes);
}

BOOL CPlxRegistry::ReadRect(LPCTSTR lpszValue, RECT& rect) {
  RECT loaded{};
  const BOOL ok =
      ReadArchived(lpszValue, [&](CArchive& ar, UINT length) { PlxRegLoadRect(ar, length, loaded); });
  if (ok) rect = loaded;
  return ok;
}

BOOL CPlxRegistry::ReadPoint(LPCTSTR lpszValue, POINT*& pPoint) {
  if (pPoint == nullptr) return FALSE;
  return PlxRegReadPoint(m_hKey, lpszValue, *pPoint);
}

BOOL CPlxRegistry::ReadByteArray(LPCTSTR lpszValue, CByteArray& array) {
  array.SetSize(0);
  return ReadSerialized(lpszValue, array) || (array.SetSize(0), FALSE);
}

BOOL CPlxRegistry::ReadWordArray(LPCTSTR lpszValue, CWordArray& array) {
  array.SetSize(0);
  return ReadArchived(lpszValue,
                      [&](CArchive& ar, UINT length) { PlxRegLoadWordArray(ar, length, array); }) ||
         (array.SetSize(0), FALSE);
}

BOOL CPlxRegistry::ReadDWordArray(LPCTSTR lpszValue, CDWordArray& array) {
  array.SetSize(0);
  return ReadSerialized(lpszValue, array) || (array.SetSize(0), FALSE);
}

BOOL CPlxRegistry::ReadStringArray(LPCTSTR lpszValue, CStringArray& array) {
  array.SetSize(0);
  return ReadSerialized(lpszValue, array) || (array.SetSize(0), FALSE);
}

BOOL CPlxRegistry::ReadStringList(LPCTSTR lpszValue, CStringList& list) {
  list.RemoveAll();
  return ReadSerialized(lpszValue, list) || (list.RemoveAll(), FALSE);
}

BOOL CPlxRegistry::ReadString(LPCTSTR lpszValue, CString& text) {
  return PlxRegReadString(m_hKey, lpszValue, text);
}

BOOL CPlxRegistry::ReadDword(LPCTSTR lpszValue, DWORD& dwValue) {
  return PlxRegReadDword(m_hKey, lpszValue, dwValue);
}

BOOL CPlxRegistry::ReadInt(LPCTSTR lpszValue, int& nValue) {
  DWORD value = 0;
  if (!ReadDword(lpszValue, value)) return FALSE;
  nValue = static_cast<int>(value);
  return TRUE;
}

BOOL CPlxRegistry::EnumSubKeyNames(CStringArray& names) {
  return PlxRegEnumSubKeyNames(m_hKey, names);
}

CPlxRegistry& CPlxRegistryHolder::Create(BOOL bAdmin, BOOL bReadOnly) {
  if (m_pRegistry == nullptr) m_pRegistry = new CPlxRegistry(bAdmin, bReadOnly);
  return *m_pRegistry;
}

CString PlxGetRegPath(LPCTSTR lpszSection, LPCTSTR lpszProfile) {
  if (lpszProfile != nullptr && *lpszProfile != '\0') return CString(lpszProfile);
  CWinApp* app = AfxGetApp();
  const LPCTSTR key = app != nullptr ? app->m_pszRegistryKey : nullptr;
  const LPCTSTR profile = app != nullptr ? app->m_pszProfileName : nullptr;
  CString path("SOFTWARE\\");
  if (key != nullptr && *key != '\0') path += CString(key) + "\\";
  path += profile != nullptr ? profile : "";
  path += "\\";
  path += lpszSection != nullptr ? lpszSection : "";
  path += "\\";
  return path;
}
