// CFileFind: the class library's directory listing over FindFirstFile / FindNextFile.
//
//   CFileFind finder;
//   BOOL more = finder.FindFile(folder + "\\*.*");
//   while (more) {
//     more = finder.FindNextFile();  // moves to the next entry; FALSE when it is the last one
//     if (finder.IsDots()) continue;
//     ... finder.GetFilePath() ...
//   }
//
// The accessors describe the entry the last FindNextFile moved to. Patterns match without regard
// to case and entries come in name order (see FindFirstFile).
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"
#include "platform/kernel/FileSystem.h"

class CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)

 public:
  CFileFind();
  ~CFileFind() override;

  // Starts a listing; a null pattern lists the current folder ("*.*"). FALSE (with the last
  // error set) when nothing matches.
  virtual BOOL FindFile(LPCTSTR pstrName = nullptr, DWORD dwUnused = 0);
  virtual BOOL FindNextFile();
  void Close();

  virtual CString GetFileName() const;
  // GetRoot() followed by the entry's name.
  virtual CString GetFilePath() const;
  // The name without its extension.
  virtual CString GetFileTitle() const;
  // The listed folder as an absolute path with a trailing '/'.
  virtual CString GetRoot() const;
  ULONGLONG GetLength() const;
  BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;

  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
  BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
  BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
  BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }
  // "." or "..".
  virtual BOOL IsDots() const;
  // TRUE when the entry has any of the attributes in the mask.
  virtual BOOL MatchesMask(DWORD dwMask) const;

 private:
  HANDLE m_hFind = nullptr;
  CString m_root;
  WIN32_FIND_DATA m_current{};
  WIN32_FIND_DATA m_next{};
  bool m_hasCurrent = false;
  bool m_hasNext = false;
};
