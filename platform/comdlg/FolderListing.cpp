#include "platform/comdlg/FolderListing.h"

#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/comdlg/FileFilter.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/shellapi/UserFolders.h"

namespace pictavo::comdlg {

namespace {

// Closes a listing when it goes out of scope.
struct FindHandle {
  HANDLE handle;
  ~FindHandle() { FindClose(handle); }
};

std::string WorkingFolder() {
  char buffer[4096] = {};
  const DWORD length = GetCurrentDirectory(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace

bool ListFolder(const std::string& folder, const ListingOptions& options, std::vector<FolderEntry>* entries,
                DWORD* error) {
  entries->clear();
  *error = 0;
  WIN32_FIND_DATA data{};
  const std::string pattern = path::Join(folder, "*");
  HANDLE handle = FindFirstFile(pattern.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND && IsFolder(folder)) return true;  // an empty mount point
    *error = code;
    return false;
  }
  const FindHandle find{handle};
  std::vector<FolderEntry> files;
  do {
    const std::string_view name(data.cFileName);
    if (name == "." || name == "..") continue;
    if (!options.hidden && (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries->push_back({std::string(name), true});
    } else if (options.files && MatchesAny(name, options.patterns)) {
      files.push_back({std::string(name), false});
    }
  } while (FindNextFile(find.handle, &data));
  // The listing comes in name order (without regard to case); folders go first.
  entries->insert(entries->end(), files.begin(), files.end());
  return true;
}

bool HasSubfolder(const std::string& folder, bool hidden) {
  WIN32_FIND_DATA data{};
  const std::string pattern = path::Join(folder, "*");
  HANDLE handle = FindFirstFile(pattern.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const FindHandle find{handle};
  do {
    const std::string_view name(data.cFileName);
    if (name == "." || name == ".." || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (hidden || !(data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) return true;
  } while (FindNextFile(find.handle, &data));
  return false;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributes(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributes(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ResolvePath(std::string_view base, std::string_view typed) {
  std::string text = path::ToNative(typed);
  if (text.empty()) return {};
  if (text == "~" || text.starts_with("~/")) text = shell::HomeFolder() + text.substr(1);
  if (!path::IsAbsolute(text)) text = path::Join(path::ToNative(base), text);
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('/', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view part = std::string_view(text).substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (std::string_view part : parts) {
    out += '/';
    out += part;
  }
  return out.empty() ? "/" : out;
}

std::string ParentOf(std::string_view folder) {
  return ResolvePath(folder, "..");
}

std::vector<std::string> FolderChain(std::string_view folder) {
  std::vector<std::string> chain;
  std::string current = ResolvePath("/", folder);
  while (true) {
    chain.push_back(current);
    if (current == "/") break;
    current = ParentOf(current);
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

bool IsWithin(std::string_view path, std::string_view folder) {
  if (folder == "/") return true;
  return path == folder ||
         (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

std::string FirstExistingFolder(const std::vector<std::string>& candidates) {
  std::vector<std::string> all = candidates;
  all.push_back(WorkingFolder());
  all.push_back(shell::HomeFolder());
  for (const std::string& candidate : all) {
    if (candidate.empty()) continue;
    const std::string path = ResolvePath(WorkingFolder(), candidate);
    if (IsFolder(path)) return path;
    if (IsFile(path) && IsFolder(ParentOf(path))) return ParentOf(path);
  }
  return "/";
}

}  // namespace pictavo::comdlg
