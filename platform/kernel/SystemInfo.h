// Facts about the system: version, folders, names, language, environment.
#pragma once

#include "platform/base/WinTypes.h"

#define VER_PLATFORM_WIN32s 0u
#define VER_PLATFORM_WIN32_WINDOWS 1u
#define VER_PLATFORM_WIN32_NT 2u
#define VER_NT_WORKSTATION 1

struct OSVERSIONINFO {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFO) == 148);
struct OSVERSIONINFOEX {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
static_assert(sizeof(OSVERSIONINFOEX) == 156);
using OSVERSIONINFOA = OSVERSIONINFO;
using OSVERSIONINFOEXA = OSVERSIONINFOEX;
using LPOSVERSIONINFO = OSVERSIONINFO*;
using LPOSVERSIONINFOA = OSVERSIONINFO*;
using LPOSVERSIONINFOEX = OSVERSIONINFOEX*;

// The version of the running Linux kernel in the platform's terms: the release "6.1.0-18-amd64"
// gives major 6, minor 1 and build 0; the platform is VER_PLATFORM_WIN32_NT; szCSDVersion holds
// "Linux " and the whole release text. dwOSVersionInfoSize must be the size of OSVERSIONINFO
// (148) or OSVERSIONINFOEX (156); the latter adds service pack 0 and VER_NT_WORKSTATION.
// Code that compares these numbers with Windows versions sees every kernel from 5 on as newer
// than NT 4, and kernel 5.1 as the numbers of XP.
BOOL GetVersionEx(LPOSVERSIONINFO info);
// The same numbers packed: major in bits 0-7, minor in bits 8-15, build in bits 16-30; the high
// bit is clear (the NT family).
DWORD GetVersion();

// The folders the platform calls the system and Windows folders: the system's shared libraries
// ("/usr/lib") and its shared data ("/usr/share"). A short buffer gives the size needed, NUL
// included.
UINT GetSystemDirectory(LPSTR buffer, UINT size);
UINT GetWindowsDirectory(LPSTR buffer, UINT size);

#define MAX_COMPUTERNAME_LENGTH 15
// The host name up to its first '.', cut to MAX_COMPUTERNAME_LENGTH characters as the platform's
// computer names are. On success *size becomes the length; a short buffer fails with
// ERROR_BUFFER_OVERFLOW and *size the size needed, NUL included.
BOOL GetComputerName(LPSTR buffer, LPDWORD size);
// The login name of the effective user. On success *size becomes the length with the NUL; a short
// buffer fails with ERROR_INSUFFICIENT_BUFFER and *size the size needed.
BOOL GetUserName(LPSTR buffer, LPDWORD size);

#define MAKELANGID(primary, sub) \
  static_cast<LANGID>((static_cast<WORD>(sub) << 10) | static_cast<WORD>(primary))
#define PRIMARYLANGID(lang) static_cast<WORD>(static_cast<WORD>(lang) & 0x3FF)
#define SUBLANGID(lang) static_cast<WORD>(static_cast<WORD>(lang) >> 10)
#define SORT_DEFAULT 0x0
#define MAKELCID(lang, sort)                                              \
  static_cast<LCID>((static_cast<DWORD>(static_cast<WORD>(sort)) << 16) | \
                    static_cast<DWORD>(static_cast<WORD>(lang)))
#define LANGIDFROMLCID(lcid) static_cast<LANGID>(lcid)
#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01

// The language of the locale the program runs in (LC_ALL, else LC_MESSAGES, else LANG, as
// "de_DE.UTF-8"): German 0x0407, Swiss German 0x0807, US English 0x0409 ... Unknown languages,
// "C" and "POSIX" give US English. System and user answers are the same, both from the
// environment.
LANGID GetSystemDefaultLangID();
LANGID GetUserDefaultLangID();
LCID GetSystemDefaultLCID();
LCID GetUserDefaultLCID();

// The process environment. A short buffer gives the size needed, NUL included; a missing
// variable gives 0 and ERROR_ENVVAR_NOT_FOUND. A null value removes the variable. Calls through
// these two are serialized; code that calls getenv directly while another thread changes the
// environment is not protected.
DWORD GetEnvironmentVariable(LPCSTR name, LPSTR buffer, DWORD size);
BOOL SetEnvironmentVariable(LPCSTR name, LPCSTR value);

#define GetVersionExA GetVersionEx
#define GetSystemDirectoryA GetSystemDirectory
#define GetWindowsDirectoryA GetWindowsDirectory
#define GetComputerNameA GetComputerName
#define GetUserNameA GetUserName
#define GetEnvironmentVariableA GetEnvironmentVariable
#define SetEnvironmentVariableA SetEnvironmentVariable

namespace pictavo {
// The language id of a POSIX locale name ("de_AT.UTF-8" -> 0x0C07); US English when unknown.
LANGID LangIdFromLocale(const char* locale);
}  // namespace pictavo
