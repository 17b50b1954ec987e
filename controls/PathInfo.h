// Two small path helpers: CPathInfo, the parts, shell type name and icon of a file for the file
// browser's list, and CFilePathCheck, whether a path exists before a file is overwritten.
#pragma once

#include "platform/base/CString.h"
#include "platform/kernel/FileFind.h"

class CPathInfo {
 public:
  explicit CPathInfo(LPCTSTR lpszPath);
  explicit CPathInfo(CFileFind* pFind);
  virtual ~CPathInfo();

  CString GetFileName() const;  // name and extension
  CString GetTypeName() const;
  int GetIconIndex() const;  // in the small system image list
  BOOL Exists() const;

  const CString& GetPath() const { return m_strPath; }
  const CString& GetDirectory() const { return m_strDir; }
  const CString& GetExtension() const { return m_strExt; }

 private:
  void Split();

  CFileFind* m_pFind = nullptr;
  CString m_strPath;
  CString m_strDrive, m_strDir, m_strFileName, m_strExt;
};

class CFilePathCheck {
 public:
  explicit CFilePathCheck(LPCTSTR lpszPath);
  virtual ~CFilePathCheck();

  BOOL Exists() const;

 private:
  CString m_strPath;
};
