// The class library's common dialog classes over GetOpenFileName, GetSaveFileName and
// ChooseColor: CFileDialog and CColorDialog. Callers may adjust m_ofn / m_cc between construction
// and DoModal (a larger name buffer, an initial folder, the record size).
#pragma once

#include <string>

#include "platform/base/CString.h"
#include "platform/base/CollectionSupport.h"
#include "platform/comdlg/CommDlg.h"
#include "platform/mfc/Dialog.h"

class CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)

 public:
  explicit CCommonDialog(CWnd* pParentWnd);
};

class CFileDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFileDialog)

 public:
  // The filter is written with '|' between the parts ("Text (*.txt)|*.txt||"); the flags get
  // OFN_EXPLORER added. A dwSize of 0 means the size of OPENFILENAME.
  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr, DWORD dwSize = 0);

  // IDOK when the user chose, IDCANCEL for a cancel or a failure (CommDlgExtendedError).
  INT_PTR DoModal() override;

  // The chosen path; with several files chosen, their folder.
  CString GetPathName() const;
  // The (first) chosen file's name, its extension without the dot, and its name without extension.
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  BOOL GetReadOnlyPref() const;
  // The chosen paths one by one: GetNextPathName returns a full path and moves `pos` on, to null
  // after the last one.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& pos) const;

  OPENFILENAME m_ofn{};

 protected:
  BOOL m_bOpenFileDialog;
  TCHAR m_szFileTitle[MAX_PATH] = {};
  TCHAR m_szFileName[MAX_PATH] = {};

 private:
  std::string m_filter;  // the filter with NULs between the parts, as m_ofn points at it
  std::string m_defExt;
};

class CColorDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CColorDialog)

 public:
  explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  // The custom colours every colour dialog of the process starts with and keeps (white at
  // first). UI thread only.
  static COLORREF* GetSavedCustomColors();

  CHOOSECOLOR m_cc{};
};
