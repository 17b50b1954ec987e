// Module handles and the resource sets behind them.
#pragma once

#include <string>

#include "platform/res/ResourceSet.h"

namespace pictavo::res {

// GetModuleHandle(nullptr): the handle that, like null, names the executable's resources.
HMODULE ExecutableHandle();
// The resources of a module (null or ExecutableHandle() = the executable), parsed at the first
// call; null with ERROR_RESOURCE_DATA_NOT_FOUND in `error` for a handle that is not an open
// resource module.
const ResourceSet* SetOfModule(HMODULE module, DWORD& error);

// The loader CString::LoadString goes through (StringTable.cpp).
bool LoadStringForClassLibrary(UINT id, std::string& text);

}  // namespace pictavo::res
