#include "platform/shellapi/Trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"
#include "platform/shellapi/UserFolders.h"

namespace pictavo::shell {

namespace {

// The "Path=" value: the path with every byte outside the URI's unreserved set (and '/')
// percent-encoded.
std::string EscapedPath(const std::string& path) {
  static const char* const kKeep = "-_.!~*'()/";
  std::string out;
  for (const unsigned char c : path) {
    if (std::isalnum(c) || std::strchr(kKeep, c)) {
      out += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    }
  }
  return out;
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

bool MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0) return true;
  struct stat st;
  return errno == EEXIST && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A trash folder with its two sub-folders, made when missing.
bool PrepareTrash(const std::string& trash) {
  return MakeFolder(trash) && MakeFolder(trash + "/files") && MakeFolder(trash + "/info");
}

// The name in the trash: the file's own, else with ".2", ".3" ... before its extension.
std::string Candidate(const std::string& name, int attempt) {
  if (attempt == 1) return name;
  const std::string title(path::FileTitle(name));
  return (title.empty() ? name : title) + "." + std::to_string(attempt) + std::string(path::Extension(name));
}

enum class Mode { kRename, kCopy };

// Trashes `path` into `trash`, recording `recorded` as its origin. Returns the errno, 0 on
// success.
int TrashInto(const std::string& trash, const std::string& path, const std::string& recorded, Mode mode) {
  const std::string name(path::FileName(path));
  for (int attempt = 1; attempt < 10000; ++attempt) {
    const std::string entry = Candidate(name, attempt);
    const std::string info = trash + "/info/" + entry + ".trashinfo";
    const std::string target = trash + "/files/" + entry;
    // The info file is made first and exclusively: it reserves the name.
    const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return errno;
    }
    struct stat st;
    if (::lstat(target.c_str(), &st) == 0) {
      ::close(fd);
      ::unlink(info.c_str());
      continue;
    }
    const std::string text = "[Trash Info]\nPath=" + EscapedPath(recorded) + "\nDeletionDate=" + Now() + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
      ::unlink(info.c_str());
      return written ? EIO : writeError;
    }
    int error = 0;
    if (mode == Mode::kRename) {
      if (::rename(path.c_str(), target.c_str()) != 0) error = errno;
    } else {
      std::error_code failure;
      std::filesystem::copy(
          path, target,
          std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks, failure);
      if (!failure) std::filesystem::remove_all(path, failure);
      if (failure) {
        // Keep the original whole: a partial copy in the trash goes again.
        std::error_code ignored;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, ignored)))
          std::filesystem::remove_all(target, ignored);
        error = failure.value();
      }
    }
    if (error) ::unlink(info.c_str());
    return error;
  }
  return EEXIST;
}

// The top folder of the file system holding `path`: the last folder upwards on its device.
std::string TopFolder(const std::string& path, dev_t device) {
  std::string top(path::Folder(path));
  while (top != "/") {
    const std::string up(path::Folder(top));
    struct stat st;
    if (::stat(up.c_str(), &st) != 0 || st.st_dev != device) break;
    top = up;
  }
  return top;
}

// The trash folders of the file system at `top`, in the order the freedesktop.org trash rules prefer.
std::vector<std::string> TopTrashes(const std::string& top) {
  std::vector<std::string> out;
  const std::string uid = std::to_string(::getuid());
  const std::string base = top == "/" ? std::string() : top;
  const std::string shared = base + "/.Trash";
  struct stat st;
  // The administrator's shared trash counts only as a real folder with the sticky bit.
  if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX))
    out.push_back(shared + "/" + uid);
  out.push_back(base + "/.Trash-" + uid);
  return out;
}

// The origin as the trash at `top` records it: relative to `top`.
std::string RelativeTo(const std::string& path, const std::string& top) {
  return top == "/" ? path.substr(1) : path.substr(top.size() + 1);
}

}  // namespace

DWORD MoveToTrash(const std::string& path) {
  struct stat item;
  if (::lstat(path.c_str(), &item) != 0) return ErrorFromErrno(errno);
  const std::string home = path::Join(DataHome(), "Trash");
  std::error_code ignored;
  std::filesystem::create_directories(DataHome(), ignored);
  const bool homeReady = PrepareTrash(home);
  struct stat homeStat;
  if (homeReady && ::stat(home.c_str(), &homeStat) == 0 && homeStat.st_dev == item.st_dev) {
    const int error = TrashInto(home, path, path, Mode::kRename);
    return error ? ErrorFromErrno(error) : ERROR_SUCCESS;
  }
  const std::string top = TopFolder(path, item.st_dev);
  for (const std::string& trash : TopTrashes(top)) {
    if (!PrepareTrash(trash)) continue;
    if (TrashInto(trash, path, RelativeTo(path, top), Mode::kRename) == 0) return ERROR_SUCCESS;
  }
  if (!homeReady) return ERROR_ACCESS_DENIED;
  const int error = TrashInto(home, path, path, Mode::kCopy);
  return error ? ErrorFromErrno(error) : ERROR_SUCCESS;
}

}  // namespace pictavo::shell
