// Modules: the running executable and the shared objects loaded into it.
//
// An HMODULE is the dynamic loader's handle of the object: GetModuleHandle(nullptr) is the
// executable's, and a handle from dlopen (what LoadLibrary returns) names a loaded shared object.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

// Only the executable's own handle (a null name) is known; names of other modules give null with
// ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandle(LPCSTR moduleName);
// The full path of the executable (a null module or the executable's handle) or of a loaded
// shared object. A short buffer receives the truncated path with its NUL; the result is then
// `size` and the last error ERROR_INSUFFICIENT_BUFFER. An unknown module gives 0 and
// ERROR_MOD_NOT_FOUND.
DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size);
#define GetModuleHandleA GetModuleHandle
#define GetModuleFileNameA GetModuleFileName

namespace pictavo {

// The running executable's full path (from /proc/self/exe), read once.
const std::string& ExecutablePath();
// The folder that holds the executable, without a trailing separator. The program's data folders
// (lang, skins, profile_en ...) are below it.
const std::string& ExecutableFolder();

}  // namespace pictavo
