// Ini files, read and written the way the platform's profile functions do.
//
// Sections and keys ignore case; the first of duplicate sections or keys wins. Values are trimmed
// of spaces and tabs, and one pair of matching quotes around a value is removed. Lines starting
// with ';' are comments. Files are UTF-8; a byte-order mark is skipped. A missing file or key
// gives the default. Parsed files are kept in memory, keyed by path and checked against the
// file's identity, size and modification time on every call, so a program can ask hundreds of
// values at start without reading a file twice.
#pragma once

#include "platform/base/WinTypes.h"

// With a null section: the names of all sections; with a null key: the names of the section's
// keys. Either list is NUL-separated and ends with a second NUL; when it does not fit, it is cut,
// ends with two NULs and the result is size - 2. A single value is cut to size - 1 characters
// (the result is then size - 1). A file name without a folder is looked up in the Windows folder
// (GetWindowsDirectory).
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                              LPCSTR fileName);
// The value's leading decimal number (a '-' sign allowed); the default when the key is missing or
// its value empty, 0 when the value does not start with a number.
UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);
// Sets a value, creating the file, section or key as needed; a null value removes the key, a null
// key the whole section. The file is replaced atomically; other lines and comments stay as they
// were. All three null only empties the cache and answers FALSE.
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

#define GetPrivateProfileStringA GetPrivateProfileString
#define GetPrivateProfileIntA GetPrivateProfileInt
#define WritePrivateProfileStringA WritePrivateProfileString
