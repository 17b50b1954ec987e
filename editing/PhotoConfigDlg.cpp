#include "editing/PhotoConfigDlg.h"

#include "shell/LanguageFile.h"

CPhotoConfigDlg::CPhotoConfigDlg(int nStart, CDVDImageArray* pSubset, CWnd* pParent)
    : CDialog(IDD_PHOTO_CONFIG, pParent), m_nStart(nStart), m_pSubset(pSubset) {}

BOOL CPhotoConfigDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_CONFIG);
  return TRUE;
}
