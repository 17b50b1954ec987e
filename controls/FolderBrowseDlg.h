// The folder dialog as the program opens it: the shell's folder browser with a status line that
// shows the folder selected so far, starting at a folder the caller gives.
#pragma once

#include "platform/base/CString.h"
#include "platform/comdlg/BrowseForFolder.h"
#include "platform/mfc/Afx.h"

class CFolderBrowseDlg {
 public:
  CFolderBrowseDlg(LPCTSTR lpszInitialFolder = nullptr, UINT nFlags = 0, CWnd* pParentWnd = nullptr);
  virtual ~CFolderBrowseDlg();

  // IDOK with the chosen folder, or IDCANCEL (GetFolderPath then gives the initial folder).
  virtual INT_PTR DoModal();
  CString GetFolderPath() const { return m_strChosenFolder; }

  // A status text as shown: at most 35 characters, then "...".
  static CString ShortenForStatus(const CString& strText);

 protected:
  virtual void OnInitialized();
  virtual void OnSelChanged(LPCITEMIDLIST pidl);
  virtual void OnBrowseCallback(HWND hWnd, UINT uMsg, LPARAM lParam);

 private:
  static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

  BROWSEINFO m_bi{};
  CString m_strCurrentFolder;
  CString m_strChosenFolder;
  char m_szDisplayName[MAX_PATH] = {};
  char m_szPath[MAX_PATH] = {};
  HWND m_hWnd = nullptr;
};
