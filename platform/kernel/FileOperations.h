// Deleting, renaming and copying files by name.
#pragma once

#include "platform/base/WinTypes.h"

#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_COPY_ALLOWED 0x00000002u
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004u
#define MOVEFILE_WRITE_THROUGH 0x00000008u

// A read-only file (no write permission) and a file that a handle of this process holds open
// without FILE_SHARE_DELETE are not deleted, as on the platform.
BOOL DeleteFile(LPCSTR path);
// Renames a file or folder. Without MOVEFILE_REPLACE_EXISTING an existing target fails with
// ERROR_ALREADY_EXISTS (decided atomically). A file moved to another file system with
// MOVEFILE_COPY_ALLOWED is copied (the target appears complete or not at all) and the source
// removed; otherwise that move fails with ERROR_NOT_SAME_DEVICE. MOVEFILE_DELAY_UNTIL_REBOOT is
// not supported (ERROR_NOT_SUPPORTED).
BOOL MoveFileEx(LPCSTR from, LPCSTR to, DWORD flags);
// MoveFileEx with MOVEFILE_COPY_ALLOWED.
BOOL MoveFile(LPCSTR from, LPCSTR to);
// Copies the contents, permissions and times. The copy is written beside the target and renamed
// into place, so the target is never seen half written. With failIfExists an existing target
// fails with ERROR_FILE_EXISTS.
BOOL CopyFile(LPCSTR from, LPCSTR to, BOOL failIfExists);

inline BOOL DeleteFileA(LPCSTR path) {
  return DeleteFile(path);
}
inline BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  return MoveFileEx(from, to, flags);
}
inline BOOL MoveFileA(LPCSTR from, LPCSTR to) {
  return MoveFile(from, to);
}
inline BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) {
  return CopyFile(from, to, failIfExists);
}
