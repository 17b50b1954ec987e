// The new-version dialog (template 212): the text of a newer version found by the update check,
// or, with check-now set, the program's own version. The online check comes with the update
// check itself.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Dialog.h"

#define IDD_NEW_VERSION 212

class CNewVersionDlg : public CDialog {
 public:
  explicit CNewVersionDlg(CWnd* pParent = nullptr, BOOL bCheckNow = FALSE);

  CString m_strMessage;  // shown as the dialog's text when not empty
  BOOL m_bCheckNow;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()
};
