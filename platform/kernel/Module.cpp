#include "platform/kernel/Module.h"

#include "platform/kernel/Library.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"

namespace pictavo {

const std::string& ExecutablePath() {
  static const std::string path = [] {
    std::string buffer(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return buffer;
  }();
  return path;
}

const std::string& ExecutableFolder() {
  static const std::string folder(path::Folder(ExecutablePath()));
  return folder;
}

}  // namespace pictavo

namespace {

// The loader's handle of the executable: dlopen(nullptr) answers the main program's link map.
void* MainProgramHandle() {
  static void* const handle = ::dlopen(nullptr, RTLD_LAZY);
  return handle;
}

// The file of a shared object loaded with dlopen. The handle is compared with every loaded
// object's link map before it is used, so a stale or made-up handle is refused, never followed.
bool LoadedObjectPath(void* handle, std::string& out) {
  link_map* map = nullptr;
  if (::dlinfo(MainProgramHandle(), RTLD_DI_LINKMAP, &map) != 0) return false;
  while (map != nullptr && map->l_prev != nullptr) map = map->l_prev;
  for (; map != nullptr; map = map->l_next) {
    if (static_cast<void*>(map) != handle) continue;
    if (map->l_name == nullptr || map->l_name[0] == '\0') return false;
    out = map->l_name;
    return true;
  }
  return false;
}

}  // namespace

HMODULE GetModuleHandle(LPCSTR moduleName) {
  if (moduleName != nullptr) {
    HMODULE loaded = pictavo::kernel::FindLoadedLibrary(moduleName);
    if (!loaded) SetLastError(ERROR_MOD_NOT_FOUND);
    return loaded;
  }
  return static_cast<HMODULE>(MainProgramHandle());
}

DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size) {
  std::string path;
  if (module == nullptr || static_cast<void*>(module) == MainProgramHandle()) {
    path = pictavo::ExecutablePath();
  } else if (!LoadedObjectPath(module, path)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (path.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  if (size == 0 || fileName == nullptr) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= size) {
    std::memcpy(fileName, path.data(), size - 1);
    fileName[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(fileName, path.c_str(), path.size() + 1);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.size());
}
