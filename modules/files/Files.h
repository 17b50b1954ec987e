// The file helpers every part of the program calls: module registration, file status and
// opening files.
#pragma once

#include <string>

#include "platform/base/File.h"
#include "platform/base/WinTypes.h"
#include "platform/kernel/FileHandle.h"

// Records the name of the program that uses this module (the start-up passes the product name,
// 0 and the product name again). Returns TRUE; FALSE with ERROR_INVALID_PARAMETER for a null
// name.
BOOL Zorv_RegisterModule(LPCSTR pszName, int nFlags, LPCSTR pszOwner);

// Non-zero when the file or folder exists, with its status filled as CFile::GetStatus fills it
// (times, size, attributes, absolute path). `\` is taken as a separator. The flag is accepted and
// not used. FALSE with the last error set (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_INVALID_PARAMETER for a null or empty path); the status is then left unchanged.
BOOL Zorv_CFileGetStatus(LPCSTR pszPath, CFileStatus& rStatus, int nFlags);

// CreateFile with the same arguments and results.
HANDLE Zorv_CreateFile(LPCSTR pszPath, DWORD dwAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES pSecurity,
                       DWORD dwDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplate);

namespace pictavo::files {
// The names Zorv_RegisterModule recorded ("" before it was called).
std::string RegisteredName();
std::string RegisteredOwner();
}  // namespace pictavo::files
