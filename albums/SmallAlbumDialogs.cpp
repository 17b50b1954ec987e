#include "albums/SmallAlbumDialogs.h"

#include "platform/mfc/DataExchange.h"
#include "shell/LanguageFile.h"

void CAlbumNameDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_ALBUM_NAME_EDIT, m_strName);
}

BOOL CAlbumNameDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_NAME);
  UpdateData(FALSE);
  if (CWnd* edit = GetDlgItem(IDC_ALBUM_NAME_EDIT)) {
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, -1);
    return FALSE;
  }
  return TRUE;
}
