// Facts about a file or shell item as lists show them: display name, type name, icon (an index
// into the process-wide system image lists, or an icon handle) and attributes.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/kernel/FileSystem.h"  // FILE_ATTRIBUTE_* for SHGFI_USEFILEATTRIBUTES
#include "platform/shellapi/ItemIdList.h"

#define SHGFI_LARGEICON 0x000000000u
#define SHGFI_SMALLICON 0x000000001u
#define SHGFI_OPENICON 0x000000002u
#define SHGFI_SHELLICONSIZE 0x000000004u
#define SHGFI_PIDL 0x000000008u
#define SHGFI_USEFILEATTRIBUTES 0x000000010u
#define SHGFI_ADDOVERLAYS 0x000000020u
#define SHGFI_OVERLAYINDEX 0x000000040u
#define SHGFI_ICON 0x000000100u
#define SHGFI_DISPLAYNAME 0x000000200u
#define SHGFI_TYPENAME 0x000000400u
#define SHGFI_ATTRIBUTES 0x000000800u
#define SHGFI_ICONLOCATION 0x000001000u
#define SHGFI_EXETYPE 0x000002000u
#define SHGFI_SYSICONINDEX 0x000004000u
#define SHGFI_LINKOVERLAY 0x000008000u
#define SHGFI_SELECTED 0x000010000u
#define SHGFI_ATTR_SPECIFIED 0x000020000u

struct SHFILEINFO {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  CHAR szDisplayName[MAX_PATH];
  CHAR szTypeName[80];
};
using SHFILEINFOA = SHFILEINFO;

// `path` is a path (`\` accepted) or, with SHGFI_PIDL, an absolute item id list. Without
// SHGFI_USEFILEATTRIBUTES the item must exist; with it, nothing is read from the disk and
// `fileAttributes` (FILE_ATTRIBUTE_DIRECTORY or not) and the name's extension decide.
//
// Returns, with SHGFI_SYSICONINDEX, the system image list (small with SHGFI_SMALLICON, else the
// large one) and fills iIcon; otherwise non-zero on success. 0 on failure. The flags:
// - SHGFI_DISPLAYNAME: the shell's name (a file's name, "Home", "File System (/)", "Computer");
// - SHGFI_TYPENAME: "File folder", "JPEG Image", "MP3 Audio", "<EXT> File" ...;
// - SHGFI_ICON: iIcon and an icon the caller destroys (DestroyIcon), of the large size unless
//   SHGFI_SMALLICON; SHGFI_OPENICON gives a folder its open icon; SHGFI_SHELLICONSIZE,
//   SHGFI_LINKOVERLAY, SHGFI_SELECTED and SHGFI_ADDOVERLAYS are accepted and change nothing;
// - SHGFI_ATTRIBUTES: the SFGAO_* attributes (only those in dwAttributes with
//   SHGFI_ATTR_SPECIFIED).
// SHGFI_EXETYPE (there are no Windows executables) and SHGFI_ICONLOCATION (icons live in image
// lists, not files) are not answered: the call returns 0.
DWORD_PTR SHGetFileInfo(LPCSTR path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags);
#define SHGetFileInfoA SHGetFileInfo
