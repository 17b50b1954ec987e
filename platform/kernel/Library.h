// Libraries loaded at run time: LoadLibrary, GetProcAddress and FreeLibrary over the dynamic
// loader.
//
// An HMODULE from LoadLibrary is the loader's own handle (what dlopen returned), so
// GetModuleFileName finds its path. Names are looked up this way:
// - `\` and `/` are both separators; a relative folder is taken from the current folder.
// - A name without a folder is looked for beside the executable first; names that are not
//   ".dll" names (e.g. "libz.so.1") then go through the loader's own search.
// - A name without an extension means "<name>.dll". A ".dll" name is looked for as spelled and
//   as "<name>.so", each matched without regard to case, in the name's folder (or beside the
//   executable). When neither exists, the module name resolver is asked (resource-only modules
//   such as "qvnres_en.dll" come from there); without an answer the call fails with
//   ERROR_MOD_NOT_FOUND.
// Every successful LoadLibrary counts one reference, released by one FreeLibrary; the object is
// unloaded when its last reference goes. Safe from any thread.
#pragma once

#include <functional>
#include <string>

#include "platform/base/WinTypes.h"

using FARPROC = INT_PTR (*)();

// LoadLibraryEx flags. Data-file loads load the object like any other: the dynamic loader has
// no mode that maps an object without running its initialisers.
#define DONT_RESOLVE_DLL_REFERENCES 0x00000001u
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002u
#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008u

// Null with the last error set on failure: ERROR_INVALID_PARAMETER (no name),
// ERROR_MOD_NOT_FOUND (no such object, or one of its dependencies is missing),
// ERROR_BAD_EXE_FORMAT (the file is not a loadable shared object), ERROR_PROC_NOT_FOUND (the
// object needs a symbol nothing provides).
HMODULE LoadLibrary(LPCSTR fileName);
// `file` must be null; the flags above are accepted (DONT_RESOLVE_DLL_REFERENCES binds symbols
// lazily), any other bit gives ERROR_INVALID_PARAMETER.
HMODULE LoadLibraryEx(LPCSTR fileName, HANDLE file, DWORD flags);
#define LoadLibraryA LoadLibrary
#define LoadLibraryExA LoadLibraryEx

// An exported symbol by name, of a loaded library or of the executable (GetModuleHandle(NULL)).
// Lookups by ordinal (a "name" below 0x10000) and lookups in resolver modules give
// ERROR_PROC_NOT_FOUND; a handle that names no loaded library gives ERROR_INVALID_HANDLE.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// Releases one reference of a LoadLibrary. FALSE with ERROR_INVALID_HANDLE for a handle that is
// not loaded (already freed, made up, or null). The executable's own handle is never unloaded.
BOOL FreeLibrary(HMODULE module);

namespace pictavo::kernel {

// Answers LoadLibrary for a ".dll" name that has no shared object: a module handle, or null when
// the name means nothing to it. `release` is called once for every FreeLibrary of a handle it
// gave. Replaces any earlier resolver; an empty function removes it. Modules it already gave out
// stay loaded until freed.
using ModuleNameResolver = std::function<HMODULE(const char* name)>;
using ModuleReleaser = std::function<bool(HMODULE module)>;
void SetModuleNameResolver(ModuleNameResolver resolve, ModuleReleaser release = {});

// The handle of a library loaded through LoadLibrary and not yet freed, by its file name (with
// or without folder; ".dll" matches the ".so" that stood in for it; without extension ".dll"
// is meant), compared without regard to case; null when there is none. GetModuleHandle asks
// this for names of modules other than the executable.
HMODULE FindLoadedLibrary(const char* name);

// The dynamic loader's text for the calling thread's last failed LoadLibrary (which file, which
// symbol or dependency was missing); empty after a success.
std::string LibraryErrorText();

}  // namespace pictavo::kernel
