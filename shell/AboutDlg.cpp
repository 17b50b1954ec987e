#include "shell/AboutDlg.h"

#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ABOUTBOX);
  SetDlgItemText(1501, GetProductTitle() + "\nVersion 8.05, build 1805");
  return TRUE;
}
