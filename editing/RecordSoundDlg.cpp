#include "editing/RecordSoundDlg.h"

#include "shell/LanguageFile.h"

CRecordSoundDlg::CRecordSoundDlg(CWnd* pParent) : CDialog(IDD_RECORD_SOUND, pParent) {}

BOOL CRecordSoundDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_RECORD_SOUND);
  return TRUE;
}
