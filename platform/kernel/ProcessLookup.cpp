#include "platform/kernel/ProcessLookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"

namespace pictavo::kernel {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsProgram(const std::string& path) {
  return IsRegularFile(path) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> Split(std::string_view list, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(separator, start);
    if (end == std::string_view::npos) end = list.size();
    // An empty entry would mean the current folder; that is never searched by accident.
    if (end > start) parts.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::vector<std::string> PathFolders() {
  const char* path = std::getenv("PATH");
  return Split(path ? path : "/usr/local/bin:/usr/bin:/bin", ':');
}

std::string Joined(const std::string& folder, std::string_view name) {
  std::string out = pictavo::path::ToNative(folder);
  if (!out.empty() && out.back() != '/') out += '/';
  return out + std::string(name);
}

}  // namespace

std::optional<std::string> FindProgram(std::string_view name, const std::vector<std::string>& folders) {
  if (name.empty()) return std::nullopt;
  const std::string native = pictavo::path::ToNative(name);
  if (native.find('/') != std::string::npos) {
    if (IsProgram(native)) return native;
    return std::nullopt;
  }
  for (const auto& folder : folders)
    if (std::string candidate = Joined(folder, native); IsProgram(candidate)) return candidate;
  for (const auto& folder : PathFolders())
    if (std::string candidate = Joined(folder, native); IsProgram(candidate)) return candidate;
  return std::nullopt;
}

}  // namespace pictavo::kernel

DWORD SearchPath(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer,
                 LPSTR* filePart) {
  using namespace pictavo::kernel;
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name = pictavo::path::ToNative(fileName);
  const size_t slash = name.rfind('/');
  if (extension && *extension &&
      name.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
    name += extension;

  std::string found;
  if (slash != std::string::npos) {
    if (IsRegularFile(name)) found = name;
  } else {
    std::vector<std::string> folders;
    if (path) {
      folders = Split(path, ';');
    } else {
      folders = {pictavo::ExecutableFolder(), "."};
      for (auto& folder : PathFolders()) folders.push_back(std::move(folder));
    }
    for (const auto& folder : folders) {
      if (std::string candidate = Joined(folder, name); IsRegularFile(candidate)) {
        found = std::move(candidate);
        break;
      }
    }
  }
  if (found.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  found = std::filesystem::path(AbsoluteNativePath(found)).lexically_normal().string();
  if (found.size() + 1 > bufferLength || !buffer) return static_cast<DWORD>(found.size() + 1);
  std::memcpy(buffer, found.c_str(), found.size() + 1);
  if (filePart) *filePart = buffer + found.rfind('/') + 1;
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(found.size());
}
