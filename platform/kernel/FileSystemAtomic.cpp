// Atomic replacement of a file: temporary file in the same folder, write, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/kernel/FileErrors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"

namespace pictavo {

namespace {

// Removes the temporary file unless it was handed over by the rename.
class TempFile {
 public:
  explicit TempFile(std::string path) : m_path(std::move(path)) {}
  ~TempFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_path.empty()) ::unlink(m_path.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool Create() {
    m_fd = ::mkostemp(m_path.data(), O_CLOEXEC);
    if (m_fd < 0) m_path.clear();
    return m_fd >= 0;
  }
  int Fd() const { return m_fd; }
  const std::string& Path() const { return m_path; }
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }
  void Release() { m_path.clear(); }

 private:
  std::string m_path;
  int m_fd = -1;
};

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// The file the path finally names, so that replacing a symbolic link replaces what it points to.
std::string FinalTarget(const std::string& native) {
  struct stat st;
  if (::lstat(native.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return native;
  char* real = ::realpath(native.c_str(), nullptr);
  if (real == nullptr) return native;
  std::string out(real);
  std::free(real);
  return out;
}

}  // namespace

DWORD WriteFileAtomically(std::string_view path, std::span<const uint8_t> bytes) {
  if (path.empty() || path::EndsWithSeparator(path)) return ERROR_INVALID_NAME;
  const std::string target = FinalTarget(path::ToNative(path));
  const std::string folder(path::Folder(target));
  const std::string name(path::FileName(target));

  // New files get the usual permissions, replaced files keep theirs.
  mode_t mode;
  struct stat old;
  if (::stat(target.c_str(), &old) == 0) {
    if (S_ISDIR(old.st_mode)) return ERROR_ACCESS_DENIED;
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  TempFile temp(path::Join(folder, "." + name + ".tmp-XXXXXX"));
  if (!temp.Create()) return kernel::FileErrorFromErrno(errno, target);
  if (::fchmod(temp.Fd(), mode) != 0 || !WriteAll(temp.Fd(), bytes.data(), bytes.size()) ||
      ::fsync(temp.Fd()) != 0) {
    return kernel::FileErrorFromErrno(errno, target);
  }
  if (!temp.Close()) return kernel::FileErrorFromErrno(errno, target);
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) return kernel::FileErrorFromErrno(errno, target);
  temp.Release();

  // Make the rename itself durable; the data already are.
  const int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return ERROR_SUCCESS;
}

DWORD WriteFileAtomically(std::string_view path, std::string_view bytes) {
  return WriteFileAtomically(
      path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace pictavo
