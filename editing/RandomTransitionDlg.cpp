#include "editing/RandomTransitionDlg.h"

#include "shell/LanguageFile.h"

CRandomTransitionDlg::CRandomTransitionDlg(int nMode, CWnd* pParent)
    : CDialog(IDD_RANDOM_TRANSITION, pParent), m_nMode(nMode) {}

BOOL CRandomTransitionDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_RANDOM_TRANSITION);
  if (m_nMode == 1) SetDlgItemText(IDOK, "Ok");
  return TRUE;
}
