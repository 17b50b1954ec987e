#include "shell/OptionsDlg.h"

#include "shell/LanguageFile.h"

COptionsDlg::COptionsDlg(CWnd* pParent) : CDialog(IDD_OPTIONS, pParent) {}

BOOL COptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_OPTIONS);
  return TRUE;
}
