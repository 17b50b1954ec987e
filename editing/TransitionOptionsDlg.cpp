#include "editing/TransitionOptionsDlg.h"

#include "shell/LanguageFile.h"

CTransitionOptionsDlg::CTransitionOptionsDlg(CDVDImage* pImage, CWnd* pParent)
    : CDialog(IDD_TRANSITION_OPTIONS, pParent), m_pImage(pImage) {}

BOOL CTransitionOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_TRANSITION_OPTIONS);
  return TRUE;
}
