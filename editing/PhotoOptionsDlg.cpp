#include "editing/PhotoOptionsDlg.h"

#include "shell/LanguageFile.h"

CPhotoOptionsDlg::CPhotoOptionsDlg(CDVDImage* pImage, CWnd* pParent)
    : CDialog(IDD_PHOTO_OPTIONS, pParent), m_pImage(pImage) {}

BOOL CPhotoOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_OPTIONS);
  return TRUE;
}
