#include "albums/SmallAlbumDialogs.h"

#include "platform/mfc/DataExchange.h"
#include "shell/LanguageFile.h"
#include "shell/SlideshowApp.h"

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

void CBatchCollectDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_BATCH_FOLDER_TREE, m_tree);
}

BOOL CBatchCollectDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_BATCH_COLLECT);
  m_tree.Initialize();
  return TRUE;
}

void CBatchCollectDlg::OnOK() {
  m_arrFolders.RemoveAll();
  m_bCancel = FALSE;
  theApp.SetBusy(TRUE);
  m_tree.EnableWindow(FALSE);
  if (CWnd* ok = GetDlgItem(IDOK)) ok->EnableWindow(FALSE);
  // The walk pumps messages, so Cancel pressed meanwhile lands in OnCancel and sets the flag.
  m_tree.GetCheckedFolders(m_arrFolders, &m_bCancel);
  theApp.SetBusy(FALSE);
  // OnCancel already ended the dialog; ending it again would overwrite its result.
  if (!m_bCancel) EndDialog(IDOK);
}

void CBatchCollectDlg::OnCancel() {
  m_bCancel = TRUE;
  EndDialog(IDCANCEL);
}
