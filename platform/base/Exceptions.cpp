#include "platform/base/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/StringFormat.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

thread_local pictavo::ExceptionLink* t_innermostLink = nullptr;

BOOL CopyMessage(const std::string& message, LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  if (lpszError == nullptr || nMaxError == 0) return FALSE;
  const size_t n = std::min<size_t>(message.size(), nMaxError - 1);
  std::memcpy(lpszError, message.data(), n);
  lpszError[n] = '\0';
  return TRUE;
}

std::string NameOr(const CString& name, const char* fallback) {
  return name.IsEmpty() ? std::string(fallback) : name.Str();
}

}  // namespace

// CException

CException::~CException() {
  pictavo::ExceptionLink::Forget(this);
}

void CException::Delete() {
  if (m_bAutoDelete > 0) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  return CopyMessage("An unknown error occurred.", lpszError, nMaxError, pnHelpContext);
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  return CopyMessage("Out of memory.", lpszError, nMaxError, pnHelpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  return CopyMessage("The operation is not supported.", lpszError, nMaxError, pnHelpContext);
}

BOOL CInvalidArgException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  return CopyMessage("An invalid argument was given.", lpszError, nMaxError, pnHelpContext);
}

// CFileException

int CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case ERROR_SUCCESS:
      return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_MOD_NOT_FOUND:
      return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
      return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_CANNOT_MAKE:
    case ERROR_DIR_NOT_EMPTY:
      return accessDenied;
    case ERROR_INVALID_HANDLE:
      return invalidFile;
    case ERROR_NOT_READY:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_CANTREAD:
    case ERROR_CANTWRITE:
      return hardIO;
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
      return sharingViolation;
    case ERROR_LOCK_VIOLATION:
      return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return diskFull;
    case ERROR_HANDLE_EOF:
      return endOfFile;
    default:
      return genericException;
  }
}

int CFileException::ErrnoToException(int nErrno) {
  switch (nErrno) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR:
    case ENOTEMPTY:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case EBUSY:
    case ETXTBSY:
      return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return diskFull;
    case ESPIPE:
      return badSeek;
    case EIO:
      return hardIO;
    default:
      return genericException;
  }
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
  AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName) {
  AfxThrowFileException(ErrnoToException(nErrno), static_cast<LONG>(pictavo::ErrorFromErrno(nErrno)),
                        lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  static const char* const kTexts[] = {
      "No error occurred while accessing %s.",
      "An unexpected error occurred while accessing %s.",
      "%s was not found.",
      "%s is not a valid path.",
      "%s could not be opened: too many files are open.",
      "Access to %s was denied.",
      "An invalid file handle was used for %s.",
      "%s could not be removed: it is the current folder.",
      "%s could not be created: the folder is full.",
      "Seeking in %s failed.",
      "A hardware error occurred while accessing %s.",
      "%s is in use by another program.",
      "A locked part of %s was accessed.",
      "The disk is full; %s could not be written.",
      "An attempt was made to read %s past its end.",
  };
  const int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : genericException;
  const std::string name = NameOr(m_strFileName, "an unnamed file");
  return CopyMessage(pictavo::Format(kTexts[cause], name.c_str()), lpszError, nMaxError, pnHelpContext);
}

// CArchiveException

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  static const char* const kTexts[] = {
      "No error occurred while reading or writing %s.",
      "An unexpected error occurred while reading or writing %s.",
      "%s is being read and cannot be written.",
      "%s ended unexpectedly.",
      "%s is being written and cannot be read.",
      "%s refers to data it does not contain.",
      "%s holds data of an unknown kind.",
      "%s holds data of a version this program cannot read.",
  };
  const int cause = (m_cause >= none && m_cause <= badSchema) ? m_cause : genericException;
  const std::string name = NameOr(m_strFileName, "The data");
  return CopyMessage(pictavo::Format(kTexts[cause], name.c_str()), lpszError, nMaxError, pnHelpContext);
}

// Throwing

void AfxThrowMemoryException() {
  static CMemoryException s_memoryException(FALSE);
  throw &s_memoryException;
}

void AfxThrowNotSupportedException() {
  throw new CNotSupportedException;
}

void AfxThrowInvalidArgException() {
  throw new CInvalidArgException;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
  throw new CArchiveException(cause, lpszArchiveName);
}

// Handler links

namespace pictavo {

ExceptionLink::ExceptionLink(CException* exception) : m_exception(exception), m_outer(t_innermostLink) {
  t_innermostLink = this;
}

ExceptionLink::~ExceptionLink() {
  t_innermostLink = m_outer;
  if (m_exception != nullptr) m_exception->Delete();
}

void ExceptionLink::Rethrow() {
  m_exception = nullptr;
  throw;
}

void ExceptionLink::Forget(CException* exception) {
  for (ExceptionLink* link = t_innermostLink; link != nullptr; link = link->m_outer)
    if (link->m_exception == exception) link->m_exception = nullptr;
}

}  // namespace pictavo
