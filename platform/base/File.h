// CFile: a binary file on a POSIX descriptor. Paths may use `\` as well as `/`. Errors throw
// CFileException, except Open, which reports them through its pError argument and the last
// error. The sharing flags are accepted but lock nothing: Linux has no mandatory sharing.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Object.h"

struct CFileStatus {
  CTime m_ctime;  // creation (or, where the file system does not keep it, last change)
  CTime m_mtime;  // last modification
  CTime m_atime;  // last access
  ULONGLONG m_size;
  BYTE m_attribute;  // CFile::Attribute bits
  BYTE m_padding;
  // Absolute path. Sized for Linux paths; the record never leaves memory.
  TCHAR m_szFullName[4096];
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000
  };
  enum Attribute : BYTE {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20
  };
  enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };
  static constexpr int hFileNull = -1;

  CFile();
  // Opens the file; throws CFileException when that fails.
  CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  ~CFile() override;  // closes an open file, ignoring errors

  virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  BOOL IsOpen() const { return m_fd != hFileNull; }

  virtual UINT Read(void* lpBuf, UINT nCount);  // fewer bytes only at the end of the file
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  // Truncates or extends (with zeros); the position moves to the new end.
  virtual void SetLength(ULONGLONG dwNewLen);
  // Writes the file's data through to the disk.
  virtual void Flush();
  virtual void Close();
  virtual void Abort();  // Close without exceptions

  virtual CString GetFileName() const;   // the name after the last separator
  virtual CString GetFileTitle() const;  // that name without its extension
  virtual CString GetFilePath() const;   // the absolute path
  virtual void SetFilePath(LPCTSTR lpszNewName);

  BOOL GetStatus(CFileStatus& rStatus) const;
  // FALSE when the file does not exist or cannot be examined.
  static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
  // Fails (throws) when lpszNewName exists, as the platform's move does.
  static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
  // Removes a file (not a folder).
  static void Remove(LPCTSTR lpszFileName);

 protected:
  [[noreturn]] void ThrowErrno(int err) const;

  int m_fd = hFileNull;
  BOOL m_bCloseOnDelete = FALSE;
  CString m_strFileName;  // absolute path, `/` separators
};
