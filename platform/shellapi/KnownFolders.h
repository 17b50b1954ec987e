// The special folders by CSIDL number, mapped onto the user's XDG folders and the system's
// folders (README.md has the table). Virtual folders (Computer, Network) have item id lists but
// no paths.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/shellapi/ItemIdList.h"

#define CSIDL_DESKTOP 0x0000
#define CSIDL_PERSONAL 0x0005
#define CSIDL_MYDOCUMENTS CSIDL_PERSONAL
#define CSIDL_MYMUSIC 0x000d
#define CSIDL_MYVIDEO 0x000e
#define CSIDL_DESKTOPDIRECTORY 0x0010
#define CSIDL_DRIVES 0x0011
#define CSIDL_NETWORK 0x0012
#define CSIDL_FONTS 0x0014
#define CSIDL_TEMPLATES 0x0015
#define CSIDL_APPDATA 0x001a
#define CSIDL_LOCAL_APPDATA 0x001c
#define CSIDL_COMMON_APPDATA 0x0023
#define CSIDL_WINDOWS 0x0024
#define CSIDL_SYSTEM 0x0025
#define CSIDL_PROGRAM_FILES 0x0026
#define CSIDL_MYPICTURES 0x0027
#define CSIDL_PROFILE 0x0028
#define CSIDL_FLAG_DONT_VERIFY 0x4000
#define CSIDL_FLAG_CREATE 0x8000
#define CSIDL_FLAG_MASK 0xFF00

#define SHGFP_TYPE_CURRENT 0
#define SHGFP_TYPE_DEFAULT 1

// The folder's path into `path` (MAX_PATH characters). S_OK when the folder exists (with
// CSIDL_FLAG_CREATE it is made, parents included, first); S_FALSE, with the path filled, when it
// does not; E_FAIL for Computer and Network, which have no path; E_INVALIDARG for a number not
// in the table. `owner`, `token` and `flags` are accepted and ignored.
HRESULT SHGetFolderPath(HWND owner, int csidl, HANDLE token, DWORD flags, LPSTR path);
#define SHGetFolderPathA SHGetFolderPath
// TRUE when the folder exists (after being made, with `create`) and its path was written.
BOOL SHGetSpecialFolderPath(HWND owner, LPSTR path, int csidl, BOOL create);
#define SHGetSpecialFolderPathA SHGetSpecialFolderPath
// The folder's absolute item id list (freed by the caller): the empty list for the desktop; a
// file-system folder must exist (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) otherwise).
HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, LPITEMIDLIST* pidl);
HRESULT SHGetFolderLocation(HWND owner, int csidl, HANDLE token, DWORD reserved, LPITEMIDLIST* pidl);
// The file-system path of an absolute list (MAX_PATH characters; the desktop gives the desktop
// folder); FALSE with an empty path for virtual items and lists this shell did not make.
BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPSTR path);
#define SHGetPathFromIDListA SHGetPathFromIDList
