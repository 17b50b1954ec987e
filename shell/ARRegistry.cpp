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

IMPLEMENT_DYNCREATE(CARRegistry, CObject)

namespace {

// Keys opened by a read-only object: query, enumerate and notify.
constexpr REGSAM kReadOnlyAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
// Archives over the values' bytes: the memory file grows by 1 KB, the archive buffers 4 KB.
constexpr UINT kMemFileGrowBy = 1024;
constexpr int kArchiveBuffer = 4096;
// Value names as the enumeration returns them.
constexpr DWORD kMaxNameLength = 1024;

struct ApplicationKey {
  std::mutex lock;
  std::string registryKey;                  // guarded by lock
  std::string appName = "Talvane Pictavo";  // guarded by lock
};

ApplicationKey& TheApplicationKey() {
  static ApplicationKey key;
  return key;
}

// Deletes a key below `root` with everything below it; the path is already resolved.
BOOL DeleteKeyTree(HKEY root, const CString& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return FALSE;
  for (;;) {
    DWORD subKeys = 0;
    DWORD longestName = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &longestName, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      RegCloseKey(key);
      return FALSE;
    }
    if (subKeys == 0) break;
    std::vector<char> name(longestName + 1, '\0');
    if (RegEnumKeyA(key, 0, name.data(), static_cast<DWORD>(name.size())) != ERROR_SUCCESS ||
        !DeleteKeyTree(root, path + "\\" + name.data())) {
      RegCloseKey(key);
      return FALSE;
    }
  }
  RegCloseKey(key);
  return RegDeleteKeyA(root, path) == ERROR_SUCCESS;
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
  for (DWORD index = 0;; ++index) {
    char name[kMaxNameLength];
    DWORD length = sizeof name;
    if (RegEnumValueA(m_hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return index > 0;
    names.Add(CString(name, static_cast<int>(length)));
  }
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
  return DeleteKeyTree(bAdmin ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, ResolvePath(lpszPath));
}

template <class Fill>
BOOL CARRegistry::WriteArchived(LPCTSTR lpszValue, Fill fill) {
  if (m_bReadOnly) return FALSE;
  BYTE* bytes = nullptr;
  UINT length = 0;
  try {
    CMemFile file(kMemFileGrowBy);
    CArchive archive(&file, CArchive::store, kArchiveBuffer);
    fill(archive);
    archive.Close();
    length = static_cast<UINT>(file.GetLength());
    bytes = file.Detach();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  const BOOL written = WriteBinary(lpszValue, bytes, length);
  std::free(bytes);
  return written;
}

template <class Load>
BOOL CARRegistry::ReadArchived(LPCTSTR lpszValue, Load load) {
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!ReadBinary(lpszValue, bytes, length)) return FALSE;
  BOOL ok = TRUE;
  try {
    CMemFile file;
    if (length > 0) file.Attach(bytes, length);
    CArchive archive(&file, CArchive::load, kArchiveBuffer);
    load(archive, length);
    archive.Close();
  } catch (CException* e) {
    e->Delete();
    ok = FALSE;
  } catch (const std::bad_alloc&) {
    ok = FALSE;
  }
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
  return RegSetValueExA(m_hKey, lpszValue, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}

BOOL CARRegistry::WritePoint(LPCTSTR lpszValue, POINT* pPoint) {
  if (m_bReadOnly || pPoint == nullptr) return FALSE;
  // The double-word array form of five elements: x, y and three zeros, 22 bytes.
  BYTE* bytes = nullptr;
  UINT length = 0;
  try {
    CDWordArray array;
    array.SetSize(5);
    array[0] = static_cast<DWORD>(pPoint->x);
    array[1] = static_cast<DWORD>(pPoint->y);
    CMemFile file(kMemFileGrowBy);
    CArchive archive(&file, CArchive::store, kArchiveBuffer);
    array.Serialize(archive);
    archive.Close();
    length = static_cast<UINT>(file.GetLength());
    bytes = file.Detach();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  const BOOL written = RegSetValueExA(m_hKey, lpszValue, 0, REG_BINARY, bytes, length) == ERROR_SUCCESS;
  std::free(bytes);
  return written;
}

BOOL CARRegistry::WriteRect(LPCTSTR lpszValue, RECT* pRect) {
  if (pRect == nullptr) return FALSE;
  return WriteArchived(lpszValue, [&](CArchive& ar) { ar << *pRect; });
}

BOOL CARRegistry::WriteWordArray(LPCTSTR lpszValue, CWordArray& array) {
  return WriteArchived(lpszValue, [&](CArchive& ar) {
    ar << static_cast<DWORD>(array.GetSize());
    for (INT_PTR i = 0; i < array.GetSize(); ++i) ar << static_cast<WORD>(array[i]);
  });
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
  const char* text = lpszText != nullptr ? lpszText : "";
  return RegSetValueExA(m_hKey, lpszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

BOOL CARRegistry::WriteDword(LPCTSTR lpszValue, DWORD dwValue) {
  if (m_bReadOnly) return FALSE;
  return RegSetValueExA(m_hKey, lpszValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                        sizeof dwValue) == ERROR_SUCCESS;
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
  pData = nullptr;
  nBytes = 0;
  DWORD size = 0;
  if (RegQueryValueExA(m_hKey, lpszValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return FALSE;
  if (size == 0) return TRUE;
  BYTE* bytes = new (std::nothrow) BYTE[size];
  if (bytes == nullptr) return FALSE;
  if (RegQueryValueExA(m_hKey, lpszValue, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) {
    delete[] bytes;
    return FALSE;
  }
  pData = bytes;
  nBytes = size;
  return TRUE;
}

BOOL CARRegistry::ReadRect(LPCTSTR lpszValue, RECT* pRect) {
  if (pRect == nullptr) return FALSE;
  RECT rect{};
  if (!ReadArchived(lpszValue, [&](CArchive& ar, UINT) { ar >> rect; })) return FALSE;
  *pRect = rect;
  return TRUE;
}

BOOL CARRegistry::ReadPoint(LPCTSTR lpszValue, POINT* pPoint) {
  if (pPoint == nullptr) return FALSE;
  DWORD type = REG_NONE;
  if (RegQueryValueExA(m_hKey, lpszValue, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
      type != REG_BINARY)
    return FALSE;
  CDWordArray array;
  if (!ReadObject(lpszValue, array) || array.GetSize() < 2) return FALSE;
  pPoint->x = static_cast<LONG>(array[0]);
  pPoint->y = static_cast<LONG>(array[1]);
  return TRUE;
}

BOOL CARRegistry::ReadByteArray(LPCTSTR lpszValue, CByteArray& array) {
  array.RemoveAll();
  return ReadObject(lpszValue, array);
}

BOOL CARRegistry::ReadWordArray(LPCTSTR lpszValue, CWordArray& array) {
  array.RemoveAll();
  return ReadArchived(lpszValue, [&](CArchive& ar, UINT length) {
    DWORD count = 0;
    ar >> count;
    // A damaged count must not size the array beyond what the value holds.
    if (count > (length - sizeof count) / sizeof(WORD))
      AfxThrowArchiveException(CArchiveException::endOfFile);
    array.SetSize(count);
    for (DWORD i = 0; i < count; ++i) ar >> array[i];
  });
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
  DWORD size = 0;
  if (RegQueryValueExA(m_hKey, lpszValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    text.Empty();
    return FALSE;
  }
  if (size == 0) {
    text.Empty();
    return TRUE;
  }
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(m_hKey, lpszValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS) {
    text.Empty();
    return FALSE;
  }
  const void* nul = std::memchr(buffer.data(), '\0', size);
  const size_t length = nul != nullptr ? static_cast<const char*>(nul) - buffer.data() : size;
  text = CString(buffer.data(), static_cast<int>(length));
  return TRUE;
}

BOOL CARRegistry::ReadDword(LPCTSTR lpszValue, DWORD& dwValue) {
  DWORD temporary = 0;
  DWORD size = sizeof temporary;
  if (RegQueryValueExA(m_hKey, lpszValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&temporary), &size) !=
      ERROR_SUCCESS)
    return FALSE;
  dwValue = temporary;
  return TRUE;
}

BOOL CARRegistry::ReadInt(LPCTSTR lpszValue, int& nValue) {
  DWORD temporary = 0;
  if (!ReadDword(lpszValue, temporary)) return FALSE;
  nValue = static_cast<int>(temporary);
  return TRUE;
}

BOOL CARRegistry::EnumSubKeyNames(CStringArray& names) {
  for (DWORD index = 0;; ++index) {
    char name[kMaxNameLength];
    DWORD length = sizeof name;
    const LSTATUS status = RegEnumKeyExA(m_hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return index > 0 || status != ERROR_NO_MORE_ITEMS;
    names.Add(CString(name, static_cast<int>(length)));
  }
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
