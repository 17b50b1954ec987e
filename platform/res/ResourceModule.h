// Which resource files a module handle stands for.
//
// The executable's resources are every .xml file below the resource root (except its "modules"
// folder). A resource-only module, what LoadLibrary("qvnres_en.dll") opens, is the folder
// modules/qvnres_en/ below the root: the library's file name without folders and extension,
// matched without regard to case. Files are parsed at the first lookup and kept for the rest of
// the process. Safe from any thread.
#pragma once

#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::res {

// <executable folder>/resources until set. Setting it changes where the executable's resources
// and modules are looked up from then on; records already handed out stay valid.
std::string ResourceRoot();
void SetResourceRoot(std::string folder);

// LoadLibrary's resolver for ".dll" names without a shared object (installed when this library
// is linked in): a handle over that module's folder, or null with ERROR_MOD_NOT_FOUND when there
// is none. Every open is counted.
HMODULE OpenResourceModule(LPCSTR libraryName);
// A module over the resource files of any folder (tests and tools); null with
// ERROR_PATH_NOT_FOUND when the folder does not exist.
HMODULE OpenResourceFolder(const std::string& folder);
// FreeLibrary's releaser: counts one open down; at zero the handle stops naming the module. False
// when the handle is not an open resource module.
bool CloseResourceModule(HMODULE module);
bool IsResourceModule(HMODULE module);

// What was wrong with the module's resource files (each also written to stderr once, when the
// files are read). A file with an error contributes nothing; the others still load.
std::vector<std::string> ResourceErrors(HMODULE module);

}  // namespace pictavo::res
