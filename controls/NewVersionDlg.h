// The new-version dialog (template 212). From Help > "Check for upgrades..." (check now set) it
// runs the update check and shows its outcome; from the start-up check it shows the text of the
// newer version it was given. The link under the text leads to the upgrade page. While it is up
// it is the update check's report window.
#pragma once

#include "controls/LinkStatic.h"
#include "platform/base/CString.h"
#include "platform/mfc/Dialog.h"

#define IDD_NEW_VERSION 212
#define IDC_NEW_VERSION_TEXT 1254
#define IDC_NEW_VERSION_SITE_LABEL 1252
#define IDC_NEW_VERSION_LINK 1253
#define IDC_NEW_VERSION_CLOSE 1251

class CNewVersionDlg : public CDialog {
 public:
  explicit CNewVersionDlg(CWnd* pParent = nullptr);

  BOOL m_bCheckNow = FALSE;
  CLinkStatic m_link;
  CString m_strMessage;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg LRESULT OnNewVersionAvailable(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnVersionUpToDate(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnVersionCheckFailed(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowLink();
  void SetTitle();
};

// The message of a newer version: string 57351 with version / 100, version % 100 and the build.
CString NewVersionText(int nVersion, int nBuild);
