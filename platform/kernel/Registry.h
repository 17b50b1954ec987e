// The registry: HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT, each kept in a file of
// the user's configuration folder (platform/registry/README.md).
//
// Values are typed bytes as the platform keeps them: a reader gets the bytes whatever type it
// expects, and strings are stored exactly as written (with their NUL when the writer counted it).
// Key and value names ignore case. Key paths use `\` as separator; a trailing `\` is ignored.
// Changes are seen at once by this process and reach the file when a key is closed, on
// RegFlushKey, and at normal exit; a change made through a root handle (HKEY_CURRENT_USER ...),
// which is never closed, is written at once. Other processes' changes are seen from the next key
// open.
// Handles are checked against the access they were opened with. Every call is thread-safe.
#pragma once

#include "platform/base/WinTypes.h"

using REGSAM = DWORD;
using LSTATUS = LONG;
using PHKEY = HKEY*;
using PFILETIME = FILETIME*;
using PLONG = LONG*;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000))))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001))))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002))))

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_DWORD_LITTLE_ENDIAN 4u
#define REG_DWORD_BIG_ENDIAN 5u
#define REG_LINK 6u
#define REG_MULTI_SZ 7u
#define REG_QWORD 11u

#define REG_OPTION_NON_VOLATILE 0x00000000u
#define REG_OPTION_VOLATILE 0x00000001u
#define REG_CREATED_NEW_KEY 0x00000001u
#define REG_OPENED_EXISTING_KEY 0x00000002u

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_CREATE_LINK 0x0020u
#define KEY_WOW64_64KEY 0x0100u
#define KEY_WOW64_32KEY 0x0200u
#define KEY_READ 0x00020019u
#define KEY_WRITE 0x00020006u
#define KEY_EXECUTE 0x00020019u
#define KEY_ALL_ACCESS 0x000F003Fu
#ifndef MAXIMUM_ALLOWED
#define MAXIMUM_ALLOWED 0x02000000u
#endif

// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist. A null or empty sub-key
// opens a new handle to `key` itself.
LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the key, creating it and any missing parents (the parent handle then needs
// KEY_CREATE_SUB_KEY); `disposition` tells which happened. Volatile keys are kept like the others.
LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                       LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
// A null or empty name is the default value. With a null buffer *size receives the size; a
// short buffer gives ERROR_MORE_DATA and the size needed in *size.
LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                        LPDWORD size);
// Stores exactly `size` bytes of `data` with the given type.
LSTATUS RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LSTATUS RegDeleteValue(HKEY key, LPCSTR valueName);
// Deletes a key without sub-keys (ERROR_ACCESS_DENIED when it has some); an empty sub-key
// deletes `key` itself. Handles to a deleted key fail with ERROR_KEY_DELETED.
LSTATUS RegDeleteKey(HKEY key, LPCSTR subKey);
// Sub-keys by index, in name order ignoring case; *nameSize holds the buffer's size in
// characters with the NUL and receives the name's length. ERROR_NO_MORE_ITEMS past the end,
// ERROR_MORE_DATA for a short buffer. Keys have no class; the class, when asked, is empty.
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                     LPDWORD classSize, PFILETIME lastWriteTime);
LSTATUS RegEnumKey(HKEY key, DWORD index, LPSTR name, DWORD nameSize);
// Values by index, in the order they were first set.
LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD reserved,
                     LPDWORD type, LPBYTE data, LPDWORD dataSize);
// Name lengths are in characters without the NUL, value lengths in bytes.
LSTATUS RegQueryInfoKey(HKEY key, LPSTR keyClass, LPDWORD classSize, LPDWORD reserved, LPDWORD subKeys,
                        LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                        LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                        PFILETIME lastWriteTime);
// Writes the key's pending changes to its file. The result of a close is that of writing them.
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegFlushKey(HKEY key);
// The sub-key's default value as text (REG_SZ or REG_EXPAND_SZ; other types give
// ERROR_INVALID_DATA, a missing value ERROR_FILE_NOT_FOUND). `size` is in bytes.
LSTATUS RegQueryValue(HKEY key, LPCSTR subKey, LPSTR data, PLONG size);

#define RegOpenKeyExA RegOpenKeyEx
#define RegCreateKeyExA RegCreateKeyEx
#define RegQueryValueExA RegQueryValueEx
#define RegSetValueExA RegSetValueEx
#define RegDeleteValueA RegDeleteValue
#define RegDeleteKeyA RegDeleteKey
#define RegEnumKeyExA RegEnumKeyEx
#define RegEnumKeyA RegEnumKey
#define RegEnumValueA RegEnumValue
#define RegQueryInfoKeyA RegQueryInfoKey
#define RegQueryValueA RegQueryValue
