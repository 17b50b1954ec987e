// Small modal dialogs that show a fixed or computed text: the project's invalid albums and
// missing files before output, the files missing when a project was opened (both reports can be
// saved as text), the legal notice, and the one-time tip before the full-screen photo display.
#pragma once

#include "modules/data/DVDAlbumBase.h"
#include "modules/data/DVDProject.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/StdControls.h"

#define IDD_ERROR_MESSAGE 294
#define IDD_MISSING_FILES 190
#define IDD_LEGAL_NOTICE 383
#define IDD_FULLSCREEN_TIP 291

#define IDC_ERROR_HEADING 1522
#define IDC_ERROR_REPORT 1346
#define IDC_ERROR_SAVE 1348
#define IDC_ERROR_CLOSE 1286
#define IDC_MISSING_HEADING 1564
#define IDC_MISSING_LIST 1237
#define IDC_MISSING_NOTE 1565
#define IDC_MISSING_SAVE 1259
#define IDC_LEGAL_TEXT 1085
#define IDC_TIP_DONT_SHOW 1344

// The report of CErrorMessageDlg: lines ending in "\r\n"; a null list adds nothing, an empty
// one its heading alone. Album numbers are 1-based positions in `project`.
CString BuildInvalidItemsReport(const CDVDProject& project, const CDVDAlbumArray* pInvalidAlbums,
                                const CAlbumBreakLinkInfoArray* pBrokenLinks);
// Every path followed by `lineEnd`.
CString JoinPaths(const CStringArray* pPaths, LPCTSTR lineEnd);
// Asks for a text file to save a report into; empty when the user cancels.
CString AskReportFileName(CWnd* pParent);
// Writes `text` to `path` atomically: the old file stays whole when writing fails.
BOOL SaveReportText(const CString& path, const CString& text);

class CErrorMessageDlg : public CDialog {
 public:
  explicit CErrorMessageDlg(CWnd* pParent = nullptr);
  void SetInvalidItems(CDVDAlbumArray* pInvalidAlbums, CAlbumBreakLinkInfoArray* pBrokenLinks);
  CString GetReportText() const;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnSave();
  afx_msg void OnClose();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  CDVDAlbumArray* m_pInvalidAlbums = nullptr;          // not owned
  CAlbumBreakLinkInfoArray* m_pBrokenLinks = nullptr;  // not owned
};

class CMissingFilesDlg : public CDialog {
 public:
  explicit CMissingFilesDlg(CWnd* pParent = nullptr);
  // Stores the list and, once the dialog shows, fills the edit with it.
  void SetFileList(CStringArray* pFiles);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnSave();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  CStringArray* m_pFiles = nullptr;  // not owned
};

class CLegalNoticeDlg : public CDialog {
 public:
  explicit CLegalNoticeDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

 private:
  CEdit m_edit;
};

class CFullScreenTipDlg : public CDialog {
 public:
  explicit CFullScreenTipDlg(CWnd* pParent = nullptr);

  int m_bDontShow = FALSE;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
};
