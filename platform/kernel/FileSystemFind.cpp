// FindFirstFile / FindNextFile / FindClose: a listing is the folder's matching names, taken and
// sorted when the search starts; each entry's facts are read when it is handed out, so a file
// removed in between is skipped.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/FileSystemInternal.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"

using namespace pictavo;

namespace {

class FindSearch : public kernel::KernelObject {
 public:
  FindSearch(int dirFd, std::vector<std::string> names) : m_dirFd(dirFd), m_names(std::move(names)) {}
  ~FindSearch() override {
    if (m_dirFd >= 0) ::close(m_dirFd);
  }
  FindSearch(const FindSearch&) = delete;
  FindSearch& operator=(const FindSearch&) = delete;

  // Fills `data` with the next entry that still exists; false at the end.
  bool Next(WIN32_FIND_DATA& data) {
    std::lock_guard lock(m_lock);
    while (m_next < m_names.size()) {
      const std::string& name = m_names[m_next++];
      fs::FileFacts facts;
      if (!fs::QueryFacts(m_dirFd, name.c_str(), name, facts)) continue;
      std::memset(&data, 0, sizeof data);
      data.dwFileAttributes = facts.attributes;
      data.ftCreationTime = facts.creation;
      data.ftLastAccessTime = facts.lastAccess;
      data.ftLastWriteTime = facts.lastWrite;
      data.nFileSizeHigh = static_cast<DWORD>(facts.size >> 32);
      data.nFileSizeLow = static_cast<DWORD>(facts.size & 0xFFFFFFFFu);
      std::memcpy(data.cFileName, name.c_str(), name.size() + 1);
      return true;
    }
    return false;
  }

 private:
  std::mutex m_lock;
  const int m_dirFd;                       // the listed folder, open for the search's lifetime
  const std::vector<std::string> m_names;  // read-only after construction
  size_t m_next = 0;                       // guarded by m_lock
};

HANDLE FailFind(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

bool Fits(const std::string& name) {
  return name.size() < MAX_PATH;
}

HANDLE StartSearch(int dirFd, std::vector<std::string> names, LPWIN32_FIND_DATA data) {
  auto search = std::make_shared<FindSearch>(dirFd, std::move(names));
  if (!search->Next(*data)) return FailFind(ERROR_FILE_NOT_FOUND);
  return kernel::InsertHandle(std::move(search));
}

}  // namespace

HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data) {
  if (pattern == nullptr || data == nullptr) return FailFind(ERROR_INVALID_PARAMETER);
  const std::string native = path::ToNative(pattern);
  if (native.empty()) return FailFind(ERROR_PATH_NOT_FOUND);
  if (path::EndsWithSeparator(native)) return FailFind(ERROR_FILE_NOT_FOUND);

  const std::string namePattern(path::FileName(native));
  std::string folder(path::FolderWithSeparator(native));
  if (!folder.empty()) folder = path::ResolveDataPath(folder);
  const int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) {
    const int err = errno;
    return FailFind(err == ENOENT || err == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(err));
  }

  if (!path::HasWildcards(namePattern)) {
    // One named entry: its spelling on disk, found without regard to case inside the program's
    // own folders.
    const std::string resolved = path::ResolveDataPath(path::Join(folder, namePattern));
    const std::string name(path::FileName(resolved));
    if (!Fits(name)) {
      ::close(dirFd);
      return FailFind(ERROR_FILENAME_EXCED_RANGE);
    }
    return StartSearch(dirFd, {name}, data);
  }

  const int listFd = ::dup(dirFd);
  std::unique_ptr<DIR, DirCloser> dir(listFd >= 0 ? ::fdopendir(listFd) : nullptr);
  if (!dir) {
    const int err = errno;
    if (listFd >= 0) ::close(listFd);
    ::close(dirFd);
    return FailFind(ErrorFromErrno(err));
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string name(entry->d_name);
    if (name == "." || name == ".." || !Fits(name)) continue;
    if (path::MatchesWildcard(name, namePattern)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = unicode::CompareNoCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  const std::string listed = folder.empty() ? "." : folder;
  if (!path::IsDriveRoot(listed)) {
    std::vector<std::string> dots;
    for (const char* dot : {".", ".."})
      if (path::MatchesWildcard(dot, namePattern)) dots.emplace_back(dot);
    names.insert(names.begin(), dots.begin(), dots.end());
  }
  return StartSearch(dirFd, std::move(names), data);
}

BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATA data) {
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto search = kernel::FindObjectAs<FindSearch>(find);
  if (!search) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!search->Next(*data)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  if (!kernel::FindObjectAs<FindSearch>(find)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return kernel::RemoveHandle(find) ? TRUE : FALSE;
}
