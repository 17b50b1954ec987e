#include "platform/res/ModuleTable.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/base/CString.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"
#include "platform/res/ResourceModule.h"

namespace pictavo::res {

namespace fs = std::filesystem;

namespace {

constexpr const char* kModulesFolder = "modules";

// The resource files of one folder. Never destroyed: records and data handed out point into
// its set, and a module opened again later is the same object with the same handle.
struct Module {
  std::string folder;
  std::string skip;   // a folder below `folder` that is not part of it (the executable's modules)
  int openCount = 0;  // guarded by State::lock

  const ResourceSet& Set() {
    std::call_once(m_loaded, [this] { m_set = ResourceSet::Load(folder, skip); });
    return *m_set;
  }

 private:
  std::once_flag m_loaded;
  std::unique_ptr<ResourceSet> m_set;  // written once under m_loaded
};

struct State {
  std::mutex lock;
  std::string root;                                      // guarded by lock; empty: the default
  std::map<std::string, std::unique_ptr<Module>> byKey;  // guarded by lock; never shrinks
  std::unordered_map<HMODULE, Module*> open;             // guarded by lock
};

// Leaked on purpose: other static objects may still look resources up while the program exits.
State& TheState() {
  static State* const state = new State;
  return *state;
}

std::string Normalized(const std::string& folder) {
  std::error_code ec;
  fs::path path = fs::absolute(path::ToNative(folder), ec).lexically_normal();
  std::string text = path.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string RootLocked(const State& state) {
  return state.root.empty() ? path::Join(ExecutableFolder(), "resources") : state.root;
}

Module& ModuleLocked(State& state, const std::string& folder, bool executable) {
  const std::string key = (executable ? "exe:" : "dir:") + folder;
  auto& slot = state.byKey[key];
  if (!slot) {
    slot = std::make_unique<Module>();
    slot->folder = folder;
    if (executable) slot->skip = path::Join(folder, kModulesFolder);
  }
  return *slot;
}

HMODULE HandleOf(Module& module) {
  return reinterpret_cast<HMODULE>(&module);
}

// As soon as this library is linked in, the class library's strings come from our string tables
// and LoadLibrary of a ".dll" without a shared object opens the resource module of that name.
const bool g_hooksInstalled = [] {
  SetStringResourceLoader(&LoadStringForClassLibrary);
  kernel::SetModuleNameResolver(&OpenResourceModule, &CloseResourceModule);
  return true;
}();

}  // namespace

HMODULE ExecutableHandle() {
  static const HMODULE handle = GetModuleHandle(nullptr);
  return handle;
}

const ResourceSet* SetOfModule(HMODULE module, DWORD& error) {
  State& state = TheState();
  Module* found = nullptr;
  {
    std::lock_guard lock(state.lock);
    if (module == nullptr || module == ExecutableHandle()) {
      found = &ModuleLocked(state, RootLocked(state), /*executable*/ true);
    } else if (const auto it = state.open.find(module); it != state.open.end()) {
      found = it->second;
    }
  }
  if (found == nullptr) {
    error = ERROR_RESOURCE_DATA_NOT_FOUND;
    return nullptr;
  }
  return &found->Set();
}

std::string ResourceRoot() {
  State& state = TheState();
  std::lock_guard lock(state.lock);
  return RootLocked(state);
}

void SetResourceRoot(std::string folder) {
  State& state = TheState();
  std::lock_guard lock(state.lock);
  state.root = Normalized(folder);
}

HMODULE OpenResourceFolder(const std::string& folder) {
  const std::string normalized = Normalized(folder);
  std::error_code ec;
  if (!fs::is_directory(normalized, ec)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  State& state = TheState();
  std::lock_guard lock(state.lock);
  Module& module = ModuleLocked(state, normalized, /*executable*/ false);
  ++module.openCount;
  state.open[HandleOf(module)] = &module;
  return HandleOf(module);
}

HMODULE OpenResourceModule(LPCSTR libraryName) {
  const std::string_view stem =
      libraryName ? path::FileTitle(path::FileName(libraryName)) : std::string_view();
  if (!stem.empty()) {
    // One folder per module; the program spells module names in any case.
    const std::string modules = path::Join(ResourceRoot(), kModulesFolder);
    std::error_code ec;
    for (fs::directory_iterator it(modules, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
      std::error_code statusError;
      if (it->is_directory(statusError) && unicode::EqualsNoCase(it->path().filename().string(), stem))
        return OpenResourceFolder(it->path().string());
    }
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

bool CloseResourceModule(HMODULE module) {
  State& state = TheState();
  std::lock_guard lock(state.lock);
  const auto it = state.open.find(module);
  if (it == state.open.end()) return false;
  if (--it->second->openCount == 0) state.open.erase(it);
  return true;
}

bool IsResourceModule(HMODULE module) {
  State& state = TheState();
  std::lock_guard lock(state.lock);
  return state.open.contains(module);
}

std::vector<std::string> ResourceErrors(HMODULE module) {
  DWORD error = 0;
  const ResourceSet* set = SetOfModule(module, error);
  return set ? set->Errors() : std::vector<std::string>();
}

}  // namespace pictavo::res
