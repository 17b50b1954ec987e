#include "platform/kernel/Library.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"

namespace {

namespace path = pictavo::path;

struct LoadedLibrary {
  void* handle = nullptr;
  int references = 0;
  bool fromResolver = false;
  // File names it answers to in FindLoadedLibrary: the one asked for and the one loaded.
  std::vector<std::string> names;
};

struct Registry {
  std::mutex lock;
  std::vector<LoadedLibrary> libraries;         // guarded by lock
  pictavo::kernel::ModuleNameResolver resolve;  // guarded by lock
  pictavo::kernel::ModuleReleaser release;      // guarded by lock
};

Registry& TheRegistry() {
  static Registry* const registry = new Registry;  // outlives every static destructor
  return *registry;
}

thread_local std::string t_errorText;

LoadedLibrary* FindLocked(Registry& r, void* handle) {
  for (LoadedLibrary& library : r.libraries)
    if (library.handle == handle) return &library;
  return nullptr;
}

void AddReference(void* handle, bool fromResolver, std::vector<std::string> names) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  if (LoadedLibrary* known = FindLocked(r, handle)) {
    ++known->references;
    for (std::string& name : names)
      if (std::find(known->names.begin(), known->names.end(), name) == known->names.end())
        known->names.push_back(std::move(name));
    return;
  }
  r.libraries.push_back(LoadedLibrary{handle, 1, fromResolver, std::move(names)});
}

bool IsRegularFile(const std::string& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool StartsLikeSharedObject(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char magic[4] = {};
  const ssize_t n = ::read(fd, magic, sizeof magic);
  ::close(fd);
  return n == 4 && std::memcmp(magic,
                               "\x7f"
                               "ELF",
                               4) == 0;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         pictavo::unicode::EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// A file name as LoadLibrary means it: without an extension ".dll" is appended, and a trailing
// dot only says "no extension".
std::string NormalisedFileName(std::string_view fileName) {
  if (!fileName.empty() && fileName.back() == '.')
    return std::string(fileName.substr(0, fileName.size() - 1));
  if (path::Extension(fileName).empty()) return std::string(fileName) + ".dll";
  return std::string(fileName);
}

struct Request {
  std::string folder;    // empty: beside the executable, then the loader's search
  std::string fileName;  // normalised
  bool dll = false;      // a ".dll" name: stand-ins and the resolver apply
};

Request ParseRequest(std::string_view name) {
  const std::string native = path::ToNative(name);
  Request request;
  const size_t separator = path::LastSeparator(native);
  if (separator != std::string::npos) {
    request.folder = std::string(path::Folder(native));
    if (request.folder.empty()) request.folder = "/";
  }
  request.fileName = NormalisedFileName(path::FileName(native));
  request.dll = EndsWithNoCase(request.fileName, ".dll");
  return request;
}

// The files that may hold the library, in the order they are tried.
std::vector<std::string> Candidates(const Request& request) {
  const std::string folder = request.folder.empty() ? pictavo::ExecutableFolder() : request.folder;
  std::vector<std::string> names{request.fileName};
  if (request.dll) names.push_back(request.fileName.substr(0, request.fileName.size() - 4) + ".so");
  std::vector<std::string> files;
  for (const std::string& name : names) {
    const std::string spelled = path::Join(folder, name);
    files.push_back(IsRegularFile(spelled) ? spelled : path::ResolveNoCase(spelled));
  }
  return files;
}

DWORD ErrorForLoaderText(const std::string& file, const std::string& text) {
  if (!file.empty() && !StartsLikeSharedObject(file)) return ERROR_BAD_EXE_FORMAT;
  if (text.find("undefined symbol") != std::string::npos) return ERROR_PROC_NOT_FOUND;
  if (text.find("wrong ELF class") != std::string::npos ||
      text.find("invalid ELF header") != std::string::npos)
    return ERROR_BAD_EXE_FORMAT;
  return ERROR_MOD_NOT_FOUND;
}

struct OpenResult {
  void* handle = nullptr;
  DWORD error = ERROR_SUCCESS;
  std::string text;
};

OpenResult Open(const char* target, int mode, const std::string& fileForDiagnosis) {
  OpenResult result;
  result.handle = ::dlopen(target, mode);
  if (result.handle == nullptr) {
    const char* text = ::dlerror();
    result.text = text != nullptr ? text : target;
    result.error = ErrorForLoaderText(fileForDiagnosis, result.text);
  }
  return result;
}

HMODULE Fail(DWORD error, std::string text) {
  t_errorText = std::move(text);
  SetLastError(error);
  return nullptr;
}

void* MainProgram() {
  return static_cast<void*>(GetModuleHandle(nullptr));
}

}  // namespace

HMODULE LoadLibrary(LPCSTR fileName) {
  return LoadLibraryEx(fileName, nullptr, 0);
}

HMODULE LoadLibraryEx(LPCSTR fileName, HANDLE file, DWORD flags) {
  constexpr DWORD kKnownFlags =
      DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_DATAFILE | LOAD_WITH_ALTERED_SEARCH_PATH;
  if (fileName == nullptr || fileName[0] == '\0' || file != nullptr || (flags & ~kKnownFlags) != 0)
    return Fail(ERROR_INVALID_PARAMETER, "LoadLibrary: invalid argument");
  const Request request = ParseRequest(fileName);
  if (request.fileName.empty())
    return Fail(ERROR_INVALID_PARAMETER, std::string(fileName) + ": no file name");
  const int mode = ((flags & DONT_RESOLVE_DLL_REFERENCES) != 0 ? RTLD_LAZY : RTLD_NOW) | RTLD_LOCAL;

  OpenResult first;  // the first failure is the one worth reporting
  const auto tryOpen = [&](const char* target, const std::string& diagnosisFile) -> void* {
    OpenResult result = Open(target, mode, diagnosisFile);
    void* handle = result.handle;
    if (handle == nullptr && first.error == ERROR_SUCCESS) first = std::move(result);
    return handle;
  };
  for (const std::string& candidate : Candidates(request)) {
    if (!IsRegularFile(candidate)) continue;
    if (void* handle = tryOpen(candidate.c_str(), candidate)) {
      AddReference(handle, false, {request.fileName, std::string(path::FileName(candidate))});
      t_errorText.clear();
      return static_cast<HMODULE>(handle);
    }
  }
  if (request.folder.empty() && !request.dll) {
    if (void* handle = tryOpen(request.fileName.c_str(), std::string())) {
      AddReference(handle, false, {request.fileName});
      t_errorText.clear();
      return static_cast<HMODULE>(handle);
    }
  }
  if (first.error != ERROR_SUCCESS) return Fail(first.error, first.text);

  if (request.dll) {
    pictavo::kernel::ModuleNameResolver resolve;
    {
      Registry& r = TheRegistry();
      std::lock_guard guard(r.lock);
      resolve = r.resolve;
    }
    if (resolve) {
      if (HMODULE module = resolve(fileName)) {
        AddReference(static_cast<void*>(module), true, {request.fileName});
        t_errorText.clear();
        SetLastError(ERROR_SUCCESS);
        return module;
      }
    }
  }
  return Fail(ERROR_MOD_NOT_FOUND, std::string(fileName) + ": no such library");
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  void* handle = static_cast<void*>(module);
  if (handle == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (handle != MainProgram()) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const LoadedLibrary* library = FindLocked(r, handle);
    if (library == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    if (library->fromResolver) {
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
  }
  if (procName == nullptr || (reinterpret_cast<uintptr_t>(procName) >> 16) == 0 || procName[0] == '\0') {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  ::dlerror();
  void* symbol = ::dlsym(handle, procName);
  if (symbol == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module) {
  void* handle = static_cast<void*>(module);
  if (handle != nullptr && handle == MainProgram()) return TRUE;
  pictavo::kernel::ModuleReleaser release;
  bool fromResolver = false;
  {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    LoadedLibrary* library = handle != nullptr ? FindLocked(r, handle) : nullptr;
    if (library == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    fromResolver = library->fromResolver;
    if (--library->references == 0) r.libraries.erase(r.libraries.begin() + (library - r.libraries.data()));
    if (fromResolver) release = r.release;
  }
  if (fromResolver) {
    if (release) release(module);
  } else if (::dlclose(handle) != 0) {
    const char* text = ::dlerror();
    t_errorText = text != nullptr ? text : "dlclose failed";
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

namespace pictavo::kernel {

void SetModuleNameResolver(ModuleNameResolver resolve, ModuleReleaser release) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.resolve = std::move(resolve);
  r.release = std::move(release);
}

HMODULE FindLoadedLibrary(const char* name) {
  if (name == nullptr || name[0] == '\0') return nullptr;
  const Request request = ParseRequest(name);
  std::vector<std::string> wanted{request.fileName};
  if (request.dll) wanted.push_back(request.fileName.substr(0, request.fileName.size() - 4) + ".so");
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  for (const LoadedLibrary& library : r.libraries)
    for (const std::string& known : library.names)
      for (const std::string& want : wanted)
        if (pictavo::unicode::EqualsNoCase(known, want)) return static_cast<HMODULE>(library.handle);
  return nullptr;
}

std::string LibraryErrorText() {
  return t_errorText;
}

}  // namespace pictavo::kernel
