#include "shell/MainDlg.h"

#include "platform/mfc/Afx.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

CMainDlg* g_pMainDlg = nullptr;

CMainDlg::CMainDlg(CWnd* pParent) : CDialog(IDD_MAIN_DIALOG, pParent), m_singleInstance("ZorvPictavo") {}

CMainDlg::~CMainDlg() = default;

BOOL CMainDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  GetWindowRegistry()->m_pMainDlg = this;
  TranslateDialog(m_hWnd, IDD_MAIN_DIALOG);
  // The page area only marks where the organize page goes; the banner is emptied until used.
  if (CWnd* area = GetDlgItem(IDC_MAIN_PAGE_AREA)) area->ShowWindow(SW_HIDE);
  if (CWnd* banner = GetDlgItem(IDC_MAIN_BANNER)) {
    banner->SetWindowText("");
    banner->ShowWindow(SW_HIDE);
  }
  m_singleInstance.RegisterMainWindow();
  // No child takes the focus yet, so the dialog keeps it and hears Escape.
  SetFocus();
  return FALSE;
}
