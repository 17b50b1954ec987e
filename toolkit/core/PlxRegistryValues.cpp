#include "toolkit/core/PlxRegistryValues.h"

#include <cstring>
#include <vector>

#include "platform/base/ErrorCodes.h"

namespace {

// Value and sub-key names as the enumeration returns them.
constexpr DWORD kMaxNameLength = 1024;

}  // namespace

BOOL PlxRegEnumValueNames(HKEY hKey, CStringArray& names) {
  for (DWORD index = 0;; ++index) {
    char name[kMaxNameLength];
    DWORD length = sizeof name;
    if (RegEnumValueA(hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return index > 0;
    names.Add(CString(name, static_cast<int>(length)));
  }
}

BOOL PlxRegEnumSubKeyNames(HKEY hKey, CStringArray& names) {
  for (DWORD index = 0;; ++index) {
    char name[kMaxNameLength];
    DWORD length = sizeof name;
    const LSTATUS status = RegEnumKeyExA(hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return index > 0 || status != ERROR_NO_MORE_ITEMS;
    names.Add(CString(name, static_cast<int>(length)));
  }
}

BOOL PlxRegDeleteKeyTree(HKEY hRoot, const CString& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(hRoot, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return FALSE;
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
        !PlxRegDeleteKeyTree(hRoot, path + "\\" + name.data())) {
      RegCloseKey(key);
      return FALSE;
    }
  }
  RegCloseKey(key);
  return RegDeleteKeyA(hRoot, path) == ERROR_SUCCESS;
}

BOOL PlxRegWriteBinary(HKEY hKey, LPCTSTR lpszValue, const BYTE* pData, UINT nBytes) {
  return RegSetValueExA(hKey, lpszValue, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}

BOOL PlxRegWriteString(HKEY hKey, LPCTSTR lpszValue, LPCTSTR lpszText) {
  const char* text = lpszText != nullptr ? lpszText : "";
  return RegSetValueExA(hKey, lpszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

BOOL PlxRegWriteDword(HKEY hKey, LPCTSTR lpszValue, DWORD dwValue) {
  return RegSetValueExA(hKey, lpszValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                        sizeof dwValue) == ERROR_SUCCESS;
}

BOOL PlxRegWritePoint(HKEY hKey, LPCTSTR lpszValue, const POINT& point) {
  BYTE* bytes = nullptr;
  UINT length = 0;
  const BOOL archived = PlxRegArchiveBytes(
      [&](CArchive& ar) {
        CDWordArray array;
        array.SetSize(5);
        array[0] = static_cast<DWORD>(point.x);
        array[1] = static_cast<DWORD>(point.y);
        array.Serialize(ar);
      },
      bytes, length);
  if (!archived) return FALSE;
  const BOOL written = PlxRegWriteBinary(hKey, lpszValue, bytes, length);
  std::free(bytes);
  return written;
}

BOOL PlxRegReadBinary(HKEY hKey, LPCTSTR lpszValue, BYTE*& pData, UINT& nBytes) {
  pData = nullptr;
  nBytes = 0;
  DWORD size = 0;
  if (RegQueryValueExA(hKey, lpszValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return FALSE;
  if (size == 0) return TRUE;
  BYTE* bytes = new (std::nothrow) BYTE[size];
  if (bytes == nullptr) return FALSE;
  if (RegQueryValueExA(hKey, lpszValue, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) {
    delete[] bytes;
    return FALSE;
  }
  pData = bytes;
  nBytes = size;
  return TRUE;
}

BOOL PlxRegReadString(HKEY hKey, LPCTSTR lpszValue, CString& text) {
  DWORD size = 0;
  if (RegQueryValueExA(hKey, lpszValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    text.Empty();
    return FALSE;
  }
  if (size == 0) {
    text.Empty();
    return TRUE;
  }
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(hKey, lpszValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS) {
    text.Empty();
    return FALSE;
  }
  const void* nul = std::memchr(buffer.data(), '\0', size);
  const size_t length = nul != nullptr ? static_cast<const char*>(nul) - buffer.data() : size;
  text = CString(buffer.data(), static_cast<int>(length));
  return TRUE;
}

BOOL PlxRegReadDword(HKEY hKey, LPCTSTR lpszValue, DWORD& dwValue) {
  // A shorter value would leave bytes of the old number in the result.
  DWORD temporary = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof temporary;
  if (RegQueryValueExA(hKey, lpszValue, nullptr, &type, reinterpret_cast<BYTE*>(&temporary), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof temporary)
    return FALSE;
  dwValue = temporary;
  return TRUE;
}

BOOL PlxRegReadPoint(HKEY hKey, LPCTSTR lpszValue, POINT& point) {
  DWORD type = REG_NONE;
  if (RegQueryValueExA(hKey, lpszValue, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
      type != REG_BINARY)
    return FALSE;
  BYTE* bytes = nullptr;
  UINT length = 0;
  if (!PlxRegReadBinary(hKey, lpszValue, bytes, length)) return FALSE;
  CDWordArray array;
  const BOOL loaded = PlxRegLoadArchive(bytes, length, [&](CArchive& ar, UINT) { array.Serialize(ar); });
  delete[] bytes;
  if (!loaded || array.GetSize() < 2) return FALSE;
  point.x = static_cast<LONG>(array[0]);
  point.y = static_cast<LONG>(array[1]);
  return TRUE;
}

void PlxRegStoreWordArray(CArchive& ar, const CWordArray& array) {
  ar << static_cast<DWORD>(array.GetSize());
  for (INT_PTR i = 0; i < array.GetSize(); ++i) ar << static_cast<WORD>(array[i]);
}

void PlxRegLoadWordArray(CArchive& ar, UINT length, CWordArray& array) {
  DWORD count = 0;
  ar >> count;
  // A damaged count must not size the array beyond what the value holds.
  if (count > (length - sizeof count) / sizeof(WORD)) AfxThrowArchiveException(CArchiveException::endOfFile);
  array.SetSize(count);
  for (DWORD i = 0; i < count; ++i) ar >> array[i];
}

void PlxRegLoadRect(CArchive& ar, UINT length, RECT& rect) {
  // A shorter value would fill only part of the rectangle and still report success.
  if (length != sizeof(RECT)) AfxThrowArchiveException(CArchiveException::endOfFile);
  ar >> rect;
}
