// CRecentFileList: the most recently used files, newest first, kept in a profile section as
// values File1 ... FileN (the entry format) and shown as menu items "&1 name" with command ids
// from the first item's.
#pragma once

#include <vector>

#include "platform/base/CString.h"

class CCmdUI;

#define AFX_ABBREV_FILENAME_LEN 30

class CRecentFileList {
 public:
  CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                  int nMaxDispLen = AFX_ABBREV_FILENAME_LEN);
  virtual ~CRecentFileList() = default;

  int GetSize() const { return m_nSize; }
  // Entry nIndex; empty entries follow the used ones.
  CString& operator[](int nIndex);
  // Takes the entry out; the ones after it move up.
  virtual void Remove(int nIndex);
  // Puts the path first (moving it up when it is there already, compared without regard to
  // case); the oldest entry falls off a full list.
  virtual void Add(LPCTSTR lpszPathName);
  // The name shown for an entry: the file name alone when its folder is lpszCurDir, else the
  // path shortened to nMaxDispLen characters with "..." for the middle folders.
  virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                              BOOL bAtLeastName = TRUE) const;
  // Replaces the placeholder item of pCmdUI's menu by one item per entry (or keeps the
  // placeholder, disabled, when the list is empty).
  virtual void UpdateMenu(CCmdUI* pCmdUI);
  virtual void ReadList();
  virtual void WriteList();

  CString m_strSectionName;
  CString m_strEntryFormat;
  UINT m_nStart;
  int m_nMaxDisplayLength;
  CString m_strOriginal;  // the placeholder item's text

 protected:
  int m_nSize;
  std::vector<CString> m_arrNames;
};
