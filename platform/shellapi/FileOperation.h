// Copying, moving, renaming and deleting files and folders as the desktop does: deleting with
// FOF_ALLOWUNDO moves to the desktop's trash (Trash.h), without it deletes for good.
#pragma once

#include "platform/base/WinTypes.h"

#define FO_MOVE 0x0001u
#define FO_COPY 0x0002u
#define FO_DELETE 0x0003u
#define FO_RENAME 0x0004u

#define FOF_MULTIDESTFILES 0x0001u
#define FOF_CONFIRMMOUSE 0x0002u
#define FOF_SILENT 0x0004u
#define FOF_RENAMEONCOLLISION 0x0008u
#define FOF_NOCONFIRMATION 0x0010u
#define FOF_WANTMAPPINGHANDLE 0x0020u
#define FOF_ALLOWUNDO 0x0040u
#define FOF_FILESONLY 0x0080u
#define FOF_SIMPLEPROGRESS 0x0100u
#define FOF_NOCONFIRMMKDIR 0x0200u
#define FOF_NOERRORUI 0x0400u
#define FOF_NOCOPYSECURITYATTRIBS 0x0800u
#define FOF_NORECURSION 0x1000u
#define FOF_NO_CONNECTED_ELEMENTS 0x2000u
#define FOF_WANTNUKEWARNING 0x4000u

#ifndef ERROR_CANCELLED
#define ERROR_CANCELLED 1223L
#endif

using FILEOP_FLAGS = WORD;

struct SHFILEOPSTRUCT {
  HWND hwnd;
  UINT wFunc;
  LPCSTR pFrom;  // paths, each NUL-terminated, the list ended by a second NUL
  LPCSTR pTo;    // the same form; one destination unless FOF_MULTIDESTFILES
  FILEOP_FLAGS fFlags;
  BOOL fAnyOperationsAborted;
  LPVOID hNameMappings;  // always null: name mappings are not kept
  LPCSTR lpszProgressTitle;
};
using SHFILEOPSTRUCTA = SHFILEOPSTRUCT;
using LPSHFILEOPSTRUCT = SHFILEOPSTRUCT*;
using LPSHFILEOPSTRUCTA = SHFILEOPSTRUCT*;

// Runs the operation on every source (`\` accepted; a wildcard in a source's last component
// takes every match, only files with FOF_FILESONLY) and returns 0, or the Win32 error of the
// first failure, which stops it (what was done before stays done).
// - FO_DELETE: each source to the trash (FOF_ALLOWUNDO) or deleted with its contents.
// - FO_RENAME: one source, one destination (a full path, or a name in the source's folder);
//   ERROR_ALREADY_EXISTS when the destination exists.
// - FO_COPY, FO_MOVE: into the destination folder when it exists or there are several sources,
//   else to the destination name; folders with their contents, merged into an existing folder of
//   the same name; a copy onto itself becomes "<name> - Copy" (also FOF_RENAMEONCOLLISION's
//   name for a taken destination); missing destination folders are made. A move to another file
//   system copies and then deletes.
// Unless FOF_NOCONFIRMATION, a message box asks before deleting and before replacing an existing
// file (No skips that file, Cancel stops); unless FOF_NOERRORUI, a failure is shown in a message
// box. A "No" or "Cancel" sets fAnyOperationsAborted; Cancel returns ERROR_CANCELLED. There is no
// progress display, so FOF_SILENT, FOF_SIMPLEPROGRESS and lpszProgressTitle change nothing.
// Each change is reported through SHChangeNotify.
int SHFileOperation(LPSHFILEOPSTRUCT operation);
#define SHFileOperationA SHFileOperation
