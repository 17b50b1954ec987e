// The class library's exceptions. They are thrown as pointers (`throw new CFileException(...)`,
// or through the AfxThrow functions) and caught as pointers; the catcher frees one with
// e->Delete(). The TRY/CATCH macros free it by themselves at the end of the handler unless it
// was rethrown with THROW_LAST() or deleted in the handler.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Object.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  ~CException() override;

  // Frees the exception unless it is a shared one (m_bAutoDelete FALSE).
  void Delete();
  // Copies a description for the user into lpszError (at most nMaxError bytes with the NUL).
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

  BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)

 public:
  explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)

 public:
  explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CInvalidArgException : public CException {
  DECLARE_DYNAMIC(CInvalidArgException)

 public:
  explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)

 public:
  enum {
    none,
    genericException,
    generic = genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

  // Cause for a platform error code (GetLastError) / for an errno value.
  static int OsErrorToException(LONG lOsError);
  static int ErrnoToException(int nErrno);
  [[noreturn]] static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
  [[noreturn]] static void ThrowErrno(int nErrno, LPCTSTR lpszFileName = nullptr);

  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  int m_cause;
  LONG m_lOsError;  // platform error code, -1 when there is none
  CString m_strFileName;
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)

 public:
  enum {
    none,
    genericException,
    generic = genericException,
    readOnly,   // writing to an archive that loads
    endOfFile,  // the data ended early
    writeOnly,  // reading from an archive that stores
    badIndex,   // an object or class reference that does not exist
    badClass,   // an unknown class, or one of the wrong kind
    badSchema   // an object of a version the program cannot read
  };

  explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr)
      : m_cause(cause), m_strFileName(lpszArchiveName) {}

  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  int m_cause;
  CString m_strFileName;
};

// The memory exception is one shared object that Delete() leaves alone, so throwing it needs
// no memory.
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);

namespace pictavo {
// Owns the exception caught by a CATCH block for the length of the handler.
class ExceptionLink {
 public:
  explicit ExceptionLink(CException* exception);
  ~ExceptionLink();
  ExceptionLink(const ExceptionLink&) = delete;
  ExceptionLink& operator=(const ExceptionLink&) = delete;

  // Gives the exception up and rethrows it.
  [[noreturn]] void Rethrow();
  // Called by CException::Delete: forgets the exception if a handler of this thread holds it.
  static void Forget(CException* exception);

 private:
  CException* m_exception;
  ExceptionLink* m_outer;  // this thread's enclosing handler
};
}  // namespace pictavo

#define TRY try {
#define CATCH(class_name, e) \
  }                          \
  catch (class_name * e) {   \
    ::pictavo::ExceptionLink pictavo_exceptionLink(e);
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL }
#define THROW(e) throw e
#define THROW_LAST() pictavo_exceptionLink.Rethrow()
