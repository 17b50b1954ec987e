#include "platform/shellapi/FileOperation.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"
#include "platform/shellapi/ChangeNotify.h"
#include "platform/shellapi/Namespace.h"
#include "platform/shellapi/Trash.h"
#include "platform/user/MessageBox.h"

namespace {

namespace fs = std::filesystem;
using pictavo::shell::detail::Normalize;

std::vector<std::string> SplitList(LPCSTR list) {
  std::vector<std::string> out;
  if (!list) return out;
  for (const char* at = list; *at; at += std::strlen(at) + 1) out.emplace_back(at);
  return out;
}

std::string Absolute(const std::string& spelled) {
  std::string native = pictavo::path::ToNative(spelled);
  if (pictavo::path::IsRelative(native)) {
    std::error_code error;
    native = pictavo::path::Join(fs::current_path(error).string(), native);
  }
  return Normalize(native);
}

bool Exists(const std::string& path, struct stat* st = nullptr) {
  struct stat local;
  return ::lstat(path.c_str(), st ? st : &local) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The sources with their wildcards expanded, or the Win32 error.
DWORD ExpandSources(const std::vector<std::string>& spelled, bool filesOnly, std::vector<std::string>& out) {
  for (const std::string& source : spelled) {
    const std::string path = Absolute(source);
    const std::string_view name = pictavo::path::FileName(path);
    if (!pictavo::path::HasWildcards(name)) {
      if (!Exists(path))
        return IsFolder(std::string(pictavo::path::Folder(path))) ? ERROR_FILE_NOT_FOUND
                                                                  : ERROR_PATH_NOT_FOUND;
      out.push_back(path);
      continue;
    }
    const std::string folder(pictavo::path::Folder(path));
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return pictavo::ErrorFromErrno(errno);
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(dir.get())) {
      const std::string entryName = entry->d_name;
      if (entryName == "." || entryName == ".." || !pictavo::path::MatchesWildcard(entryName, name)) continue;
      const std::string match = pictavo::path::Join(folder, entryName);
      if (filesOnly && IsFolder(match)) continue;
      matches.push_back(match);
    }
    std::sort(matches.begin(), matches.end());
    out.insert(out.end(), matches.begin(), matches.end());
  }
  return ERROR_SUCCESS;
}

// "<title> - Copy<ext>", then "<title> - Copy (2)<ext>" ..., the first free one.
std::string FreeCopyName(const std::string& path) {
  const std::string folder(pictavo::path::Folder(path));
  const std::string name(pictavo::path::FileName(path));
  const bool folderItem = IsFolder(path);
  const std::string title = folderItem ? name : std::string(pictavo::path::FileTitle(name));
  const std::string extension = folderItem ? std::string() : std::string(pictavo::path::Extension(name));
  for (int n = 1;; ++n) {
    const std::string candidate = pictavo::path::Join(
        folder, title + " - Copy" + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + extension);
    if (!Exists(candidate)) return candidate;
  }
}

class Operation {
 public:
  explicit Operation(SHFILEOPSTRUCT& op) : m_op(op) {}

  int Run() {
    m_op.fAnyOperationsAborted = FALSE;
    m_op.hNameMappings = nullptr;
    std::vector<std::string> sources;
    DWORD error = ExpandSources(SplitList(m_op.pFrom), m_op.fFlags & FOF_FILESONLY, sources);
    if (error == ERROR_SUCCESS && sources.empty()) error = ERROR_INVALID_PARAMETER;
    if (error != ERROR_SUCCESS) return Fail(error, m_op.pFrom ? m_op.pFrom : "");
    switch (m_op.wFunc) {
      case FO_DELETE:
        return Delete(sources);
      case FO_RENAME:
        return Rename(sources);
      case FO_COPY:
      case FO_MOVE:
        return Transfer(sources, m_op.wFunc == FO_MOVE);
      default:
        return ERROR_INVALID_PARAMETER;
    }
  }

 private:
  bool Confirms() const { return !(m_op.fFlags & FOF_NOCONFIRMATION); }

  int Fail(DWORD error, const std::string& path) {
    if (!(m_op.fFlags & FOF_NOERRORUI) && error != ERROR_CANCELLED) {
      static const char* const kVerbs[] = {"", "move", "copy", "delete", "rename"};
      const char* verb = m_op.wFunc <= FO_RENAME ? kVerbs[m_op.wFunc] : "use";
      const std::string text = std::string("Cannot ") + verb + " " +
                               std::string(pictavo::path::FileName(path)) + ": " +
                               std::strerror(ErrnoOf(error)) + ".";
      MessageBox(m_op.hwnd, text.c_str(), "Error", MB_OK | MB_ICONERROR);
    }
    return static_cast<int>(error);
  }

  static int ErrnoOf(DWORD error) {
    switch (error) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
        return ENOENT;
      case ERROR_ACCESS_DENIED:
        return EACCES;
      case ERROR_ALREADY_EXISTS:
      case ERROR_FILE_EXISTS:
        return EEXIST;
      case ERROR_DISK_FULL:
      case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
      case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
      case ERROR_INVALID_PARAMETER:
        return EINVAL;
      default:
        return EIO;
    }
  }

  int Delete(const std::vector<std::string>& sources) {
    const bool toTrash = m_op.fFlags & FOF_ALLOWUNDO;
    if (Confirms()) {
      const std::string what = sources.size() == 1
                                   ? "'" + std::string(pictavo::path::FileName(sources[0])) + "'"
                                   : "these " + std::to_string(sources.size()) + " items";
      const std::string text = toTrash ? "Are you sure you want to move " + what + " to the Trash?"
                                       : "Are you sure you want to permanently delete " + what + "?";
      if (MessageBox(m_op.hwnd, text.c_str(), "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        m_op.fAnyOperationsAborted = TRUE;
        return ERROR_CANCELLED;
      }
    }
    for (const std::string& source : sources) {
      const bool folder = IsFolder(source) && !fs::is_symlink(source);
      DWORD error = ERROR_SUCCESS;
      if (toTrash) {
        error = pictavo::shell::MoveToTrash(source);
      } else {
        std::error_code failure;
        fs::remove_all(source, failure);
        if (failure) error = pictavo::ErrorFromErrno(failure.value());
      }
      if (error != ERROR_SUCCESS) return Fail(error, source);
      SHChangeNotify(folder ? SHCNE_RMDIR : SHCNE_DELETE, SHCNF_PATH, source.c_str(), nullptr);
    }
    return 0;
  }

  int Rename(const std::vector<std::string>& sources) {
    const std::vector<std::string> targets = SplitList(m_op.pTo);
    if (sources.size() != 1 || targets.size() != 1) return Fail(ERROR_INVALID_PARAMETER, sources[0]);
    const std::string& source = sources[0];
    const std::string target = pictavo::path::LastSeparator(targets[0]) == std::string::npos
                                   ? Normalize(pictavo::path::Join(pictavo::path::Folder(source), targets[0]))
                                   : Absolute(targets[0]);
    if (target == source) return 0;
    if (Exists(target)) return Fail(ERROR_ALREADY_EXISTS, target);
    const bool folder = IsFolder(source);
    if (::rename(source.c_str(), target.c_str()) != 0) return Fail(pictavo::ErrorFromErrno(errno), source);
    SHChangeNotify(folder ? SHCNE_RENAMEFOLDER : SHCNE_RENAMEITEM, SHCNF_PATH, source.c_str(),
                   target.c_str());
    return 0;
  }

  int Transfer(const std::vector<std::string>& sources, bool move) {
    const std::vector<std::string> targets = SplitList(m_op.pTo);
    const bool multi = m_op.fFlags & FOF_MULTIDESTFILES;
    if (targets.empty() || (multi && targets.size() != sources.size()) || (!multi && targets.size() != 1))
      return Fail(ERROR_INVALID_PARAMETER, sources[0]);
    const std::string single = Absolute(targets[0]);
    const bool intoFolder = !multi && (sources.size() > 1 || IsFolder(single));
    for (size_t i = 0; i < sources.size(); ++i) {
      const std::string& source = sources[i];
      std::string target = multi        ? Absolute(targets[i])
                           : intoFolder ? pictavo::path::Join(single, pictavo::path::FileName(source))
                                        : single;
      if (target == source) {
        if (move) continue;  // already there
        target = FreeCopyName(source);
      } else if (target.size() > source.size() && target.compare(0, source.size(), source) == 0 &&
                 target[source.size()] == '/') {
        return Fail(ERROR_INVALID_PARAMETER, source);  // a folder into itself
      } else if (Exists(target) && !(IsFolder(target) && IsFolder(source))) {
        if (m_op.fFlags & FOF_RENAMEONCOLLISION) {
          target = FreeCopyName(target);
        } else if (Confirms()) {
          const std::string text = "This folder already contains a file named '" +
                                   std::string(pictavo::path::FileName(target)) +
                                   "'.\n\nWould you like to replace the existing file?";
          const int answer =
              MessageBox(m_op.hwnd, text.c_str(), "Confirm File Replace", MB_YESNOCANCEL | MB_ICONQUESTION);
          if (answer != IDYES) {
            m_op.fAnyOperationsAborted = TRUE;
            if (answer == IDNO) continue;
            return ERROR_CANCELLED;
          }
        }
      }
      const DWORD error = Place(source, target, move);
      if (error != ERROR_SUCCESS) return Fail(error, source);
    }
    return 0;
  }

  // Copies or moves one item to exactly `target`, merging folders.
  DWORD Place(const std::string& source, const std::string& target, bool move) {
    std::error_code failure;
    fs::create_directories(std::string(pictavo::path::Folder(target)), failure);
    if (failure) return pictavo::ErrorFromErrno(failure.value());
    const bool folder = IsFolder(source) && !fs::is_symlink(source);
    if (move && !Exists(target) && ::rename(source.c_str(), target.c_str()) == 0) {
      SHChangeNotify(folder ? SHCNE_RENAMEFOLDER : SHCNE_RENAMEITEM, SHCNF_PATH, source.c_str(),
                     target.c_str());
      return ERROR_SUCCESS;
    }
    if (move && Exists(target) && !folder) {
      // Replacing a file: rename over it when both are on one file system.
      if (::rename(source.c_str(), target.c_str()) == 0) {
        SHChangeNotify(SHCNE_RENAMEITEM, SHCNF_PATH, source.c_str(), target.c_str());
        return ERROR_SUCCESS;
      }
    }
    const auto options =
        fs::copy_options::recursive | fs::copy_options::copy_symlinks | fs::copy_options::overwrite_existing;
    const bool existed = Exists(target);
    fs::copy(source, target, options, failure);
    if (failure) return pictavo::ErrorFromErrno(failure.value());
    if (!existed)
      SHChangeNotify(folder ? SHCNE_MKDIR : SHCNE_CREATE, SHCNF_PATH, target.c_str(), nullptr);
    else
      SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATH, target.c_str(), nullptr);
    if (move) {
      fs::remove_all(source, failure);
      if (failure) return pictavo::ErrorFromErrno(failure.value());
      SHChangeNotify(folder ? SHCNE_RMDIR : SHCNE_DELETE, SHCNF_PATH, source.c_str(), nullptr);
    }
    return ERROR_SUCCESS;
  }

  SHFILEOPSTRUCT& m_op;
};

}  // namespace

int SHFileOperation(LPSHFILEOPSTRUCT operation) {
  if (!operation) return ERROR_INVALID_PARAMETER;
  return Operation(*operation).Run();
}
