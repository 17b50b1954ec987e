// The program's main window: a modal dialog of class "PictavoMainFrameClass" (template 102),
// made the application's main window from its construction. It owns the single-instance guard.
#pragma once

#include "platform/mfc/Dialog.h"
#include "shell/SingleInstance.h"

#define IDD_MAIN_DIALOG 102
#define IDC_MAIN_PAGE_AREA 1004
#define IDC_MAIN_BANNER 1241

class CMainDlg : public CDialog {
 public:
  explicit CMainDlg(CWnd* pParent = nullptr);
  ~CMainDlg() override;

  CSingleInstance m_singleInstance;

 protected:
  BOOL OnInitDialog() override;
};

// The main dialog while InitInstance runs it; null otherwise.
extern CMainDlg* g_pMainDlg;
