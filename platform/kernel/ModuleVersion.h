// Version information of the program's own files. The executable and the shared objects in its
// folder (plug-ins and modules below it included) carry the program's version; no other file has
// version information.
//
// The block GetFileVersionInfo fills is ours: a header, the VS_FIXEDFILEINFO, one translation
// (US English, Unicode) and the strings, each "name\0value\0". VerQueryValue reads it:
//   "\"                                -> VS_FIXEDFILEINFO
//   "\VarFileInfo\Translation"          -> one DWORD: 0x0409 in the low word, 1200 in the high
//   "\StringFileInfo\040904b0\<name>"   -> FileVersion, ProductVersion, ProductName,
//                                          FileDescription, InternalName, OriginalFilename
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo {

struct ProgramVersion {
  WORD major;
  WORD minor;
  WORD build;
  WORD revision;
};
// The one place the program's version is written down: 8.5, build 1805.
inline constexpr ProgramVersion kProgramVersion{8, 5, 1805, 0};

}  // namespace pictavo

#define VS_FFI_SIGNATURE 0xFEEF04BDu
#define VS_FFI_STRUCVERSION 0x00010000u
#define VS_FFI_FILEFLAGSMASK 0x0000003Fu
#define VOS_NT_WINDOWS32 0x00040004u
#define VFT_UNKNOWN 0u
#define VFT_APP 1u
#define VFT_DLL 2u

struct VS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);

// 0 with ERROR_FILE_NOT_FOUND for a missing file and ERROR_RESOURCE_TYPE_NOT_FOUND for a file
// without version information. *handle, when given, is set to 0.
DWORD GetFileVersionInfoSize(LPCSTR fileName, LPDWORD handle);
// Fills `data` with the block; a buffer smaller than the size fails with
// ERROR_INSUFFICIENT_BUFFER.
BOOL GetFileVersionInfo(LPCSTR fileName, DWORD handle, DWORD size, LPVOID data);
// Points *buffer into the block. For strings *length counts the characters with the NUL.
// Names are compared without regard to case; `/` may stand for `\`.
BOOL VerQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, LPUINT length);

#define GetFileVersionInfoSizeA GetFileVersionInfoSize
#define GetFileVersionInfoA GetFileVersionInfo
#define VerQueryValueA VerQueryValue
