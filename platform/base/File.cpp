#include "platform/base/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/base/LastError.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

// The program writes `\` as a separator; the system wants `/`.
std::string NativePath(LPCTSTR path) {
  std::string out = path != nullptr ? path : "";
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string AbsolutePath(const std::string& native) {
  if (native.empty()) return native;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(native, ec);
  return ec ? native : absolute.lexically_normal().string();
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Fills a status record from the file's metadata; false with errno set when there is none.
bool StatPath(const std::string& native, CFileStatus& status) {
  struct statx sx;
  if (::statx(AT_FDCWD, native.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return false;
  const std::string full = AbsolutePath(native);
  if (full.size() >= sizeof status.m_szFullName) {
    errno = ENAMETOOLONG;
    return false;
  }
  status.m_mtime = CTime(static_cast<time_t>(sx.stx_mtime.tv_sec));
  status.m_atime = CTime(static_cast<time_t>(sx.stx_atime.tv_sec));
  status.m_ctime =
      CTime(static_cast<time_t>((sx.stx_mask & STATX_BTIME) ? sx.stx_btime.tv_sec : sx.stx_ctime.tv_sec));
  status.m_size = sx.stx_size;
  BYTE attributes = CFile::normal;
  if (S_ISDIR(sx.stx_mode)) attributes |= CFile::directory;
  if ((sx.stx_mode & S_IWUSR) == 0) attributes |= CFile::readOnly;
  if (NameOf(full).starts_with('.')) attributes |= CFile::hidden;
  status.m_attribute = attributes;
  status.m_padding = 0;
  std::memcpy(status.m_szFullName, full.c_str(), full.size() + 1);
  return true;
}

}  // namespace

CFile::CFile() = default;

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (IsOpen() && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (IsOpen()) Abort();
  const std::string native = NativePath(lpszFileName);

  int flags = O_CLOEXEC;
  switch (nOpenFlags & 3) {
    case modeRead:
      flags |= O_RDONLY;
      break;
    case modeWrite:
      flags |= O_WRONLY;
      break;
    default:
      flags |= O_RDWR;
      break;
  }
  if (nOpenFlags & modeCreate) flags |= (nOpenFlags & modeNoTruncate) ? O_CREAT : (O_CREAT | O_TRUNC);

  int fd = native.empty() ? (errno = ENOENT, -1) : ::open(native.c_str(), flags, 0666);
  if (fd >= 0) {
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {  // the platform does not open folders
      ::close(fd);
      fd = -1;
      errno = EACCES;
    }
  }
  if (fd < 0) {
    const int err = errno;
    SetLastError(pictavo::ErrorFromErrno(err));
    if (pError != nullptr) {
      pError->m_cause = CFileException::ErrnoToException(err);
      pError->m_lOsError = static_cast<LONG>(pictavo::ErrorFromErrno(err));
      pError->m_strFileName = native;
    }
    return FALSE;
  }
  m_fd = fd;
  m_bCloseOnDelete = TRUE;
  m_strFileName = AbsolutePath(native);
  return TRUE;
}

void CFile::ThrowErrno(int err) const {
  CFileException::ThrowErrno(err, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  auto* out = static_cast<char*>(lpBuf);
  UINT done = 0;
  while (done < nCount) {
    const ssize_t n = ::read(m_fd, out + done, nCount - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno);
    }
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  const auto* in = static_cast<const char*>(lpBuf);
  UINT done = 0;
  while (done < nCount) {
    const ssize_t n = ::write(m_fd, in + done, nCount - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno);
    }
    if (n == 0) ThrowErrno(ENOSPC);
    done += static_cast<UINT>(n);
  }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  int whence = SEEK_SET;
  if (nFrom == current) whence = SEEK_CUR;
  if (nFrom == end) whence = SEEK_END;
  const off_t pos = ::lseek(m_fd, static_cast<off_t>(lOff), whence);
  if (pos < 0) {
    const int err = errno;
    if (err == EINVAL || err == ESPIPE)
      AfxThrowFileException(CFileException::badSeek, static_cast<LONG>(pictavo::ErrorFromErrno(err)),
                            m_strFileName);
    ThrowErrno(err);
  }
  return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetPosition() const {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
  if (pos < 0) ThrowErrno(errno);
  return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  struct stat st;
  if (::fstat(m_fd, &st) != 0) ThrowErrno(errno);
  return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  if (dwNewLen > static_cast<ULONGLONG>(LLONG_MAX)) ThrowErrno(EFBIG);
  while (::ftruncate(m_fd, static_cast<off_t>(dwNewLen)) != 0)
    if (errno != EINTR) ThrowErrno(errno);
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
}

void CFile::Flush() {
  if (!IsOpen()) return;
  // Pipes and terminals have nothing to write through.
  if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) ThrowErrno(errno);
}

void CFile::Close() {
  if (!IsOpen()) return;
  const int fd = m_fd;
  const std::string name = m_strFileName.Str();
  m_fd = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (::close(fd) != 0 && errno != EINTR) CFileException::ThrowErrno(errno, name.c_str());
}

void CFile::Abort() {
  if (IsOpen()) ::close(m_fd);
  m_fd = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

CString CFile::GetFileName() const {
  return CString(NameOf(m_strFileName.Str()));
}

CString CFile::GetFileTitle() const {
  const std::string name = NameOf(m_strFileName.Str());
  const size_t dot = name.rfind('.');
  return CString(dot == std::string::npos || dot == 0 ? name : name.substr(0, dot));
}

CString CFile::GetFilePath() const {
  return m_strFileName;
}

void CFile::SetFilePath(LPCTSTR lpszNewName) {
  m_strFileName = AbsolutePath(NativePath(lpszNewName));
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  if (!IsOpen()) return FALSE;
  if (!StatPath(m_strFileName.Str(), rStatus)) return pictavo::FailWithErrno();
  return TRUE;
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
  const std::string native = NativePath(lpszFileName);
  if (native.empty()) {
    errno = ENOENT;
    return pictavo::FailWithErrno();
  }
  if (!StatPath(native, rStatus)) return pictavo::FailWithErrno();
  return TRUE;
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
  const std::string from = NativePath(lpszOldName), to = NativePath(lpszNewName);
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
  int err = errno;
  if (err == EINVAL || err == ENOSYS) {  // file system without no-replace renames
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0)
      err = EEXIST;
    else if (::rename(from.c_str(), to.c_str()) == 0)
      return;
    else
      err = errno;
  }
  CFileException::ThrowErrno(err, lpszOldName);
}

void CFile::Remove(LPCTSTR lpszFileName) {
  const std::string native = NativePath(lpszFileName);
  if (::unlink(native.c_str()) != 0) CFileException::ThrowErrno(errno, lpszFileName);
}
