#include "platform/kernel/FileErrors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"

namespace pictavo::kernel {

std::string ParentFolder(const std::string& nativePath) {
  std::string path = nativePath;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string AbsoluteNativePath(const std::string& nativePath) {
  if (!nativePath.empty() && nativePath.front() == '/') return nativePath;
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return nativePath;
  std::string out = cwd;
  if (out.back() != '/') out += '/';
  return out + nativePath;
}

DWORD FileErrorFromErrno(int err, const std::string& nativePath) {
  switch (err) {
    case ENOENT: {
      if (nativePath.empty()) return ERROR_PATH_NOT_FOUND;
      struct stat st;
      const bool folderExists = ::stat(ParentFolder(nativePath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ELOOP:
      return ERROR_PATH_NOT_FOUND;
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case ESPIPE:
      return ERROR_INVALID_FUNCTION;
    case EFBIG:
      return ERROR_DISK_FULL;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENXIO:
      return ERROR_PIPE_NOT_CONNECTED;
    default:
      return pictavo::ErrorFromErrno(err);
  }
}

BOOL FailWithFileErrno(const std::string& nativePath) {
  SetLastError(FileErrorFromErrno(errno, nativePath));
  return FALSE;
}

}  // namespace pictavo::kernel
