// Resources of the executable and of resource-only modules, read from our resource files
// (resources/README.md): the raw-resource functions, string resources and the class library's
// resource handle. A null module means the executable, as does GetModuleHandle(nullptr).
//
// Failures set the last error: ERROR_RESOURCE_DATA_NOT_FOUND for a module that has no
// resources (a shared object, a closed resource module), ERROR_RESOURCE_TYPE_NOT_FOUND when the
// module has no resource of that type, ERROR_RESOURCE_NAME_NOT_FOUND when it has the type but not
// the name. Every call is safe from any thread.
#pragma once

#include "platform/base/WinTypes.h"

#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#endif
#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCE(i) reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i)))
#define MAKEINTRESOURCEA MAKEINTRESOURCE
#endif

// Standard resource types, and the class library's toolbar type.
#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_FONTDIR MAKEINTRESOURCE(7)
#define RT_FONT MAKEINTRESOURCE(8)
#define RT_ACCELERATOR MAKEINTRESOURCE(9)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_MESSAGETABLE MAKEINTRESOURCE(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)
#define RT_HTML MAKEINTRESOURCE(23)
#define RT_MANIFEST MAKEINTRESOURCE(24)
#define RT_TOOLBAR MAKEINTRESOURCE(241)

// Names and types are MAKEINTRESOURCE ids, "#123" for id 123, or strings compared without regard
// to case. What LoadResource gives by type:
//   RT_BITMAP        the packed DIB (the BMP file without its file header)
//   RT_MENU          a menu template (header, then flag/id/UTF-16 text items, MF_END on the last
//                    item of each level)
//   RT_TOOLBAR       16-bit words: version 1, image width, image height, count, command ids
//                    (0 for a separator)
//   RT_ACCELERATOR   8-byte entries: flags (0x80 on the last), key, command, padding
//   RT_STRING        block (id / 16 + 1) of 16 strings, each a length and UTF-16 characters
//   RT_GROUP_ICON, RT_GROUP_CURSOR   the .ico / .cur file
//   custom types     the file as it is
// Dialog templates are found (so AfxFindResourceHandle works for RT_DIALOG) but have no binary
// form: LoadResource fails with ERROR_NOT_SUPPORTED; the dialog manager reads them with
// pictavo::res::FindDialog.
HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
// The data stays valid for the rest of the process, even after the module is freed.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
// Nothing to free: returns FALSE, as the platform does.
BOOL FreeResource(HGLOBAL data);
#define FindResourceA FindResource

// Copies string resource `id` into `buffer` (bufferMax bytes with the terminator) and returns
// its length in bytes. A longer string is cut at the last whole UTF-8 character that fits and
// still terminated. A missing string gives 0 and an empty buffer.
int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
#define LoadStringA LoadString

// The module the class library loads resources from first: the executable until set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);
// The resource handle when it holds the resource, else the executable when that does, else the
// resource handle.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
