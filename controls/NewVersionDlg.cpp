#include "controls/NewVersionDlg.h"

#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

BEGIN_MESSAGE_MAP(CNewVersionDlg, CDialog)
ON_BN_CLICKED(1251, OnClose)
END_MESSAGE_MAP()

CNewVersionDlg::CNewVersionDlg(CWnd* pParent, BOOL bCheckNow)
    : CDialog(IDD_NEW_VERSION, pParent), m_bCheckNow(bCheckNow) {}

BOOL CNewVersionDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_NEW_VERSION);
  CString title;
  title.Format(LoadLangString(181), GetProductTitle().GetString());
  SetWindowText(title);
  SetDlgItemText(1250,
                 m_strMessage.IsEmpty() ? GetProductTitle() + "\nVersion 8.05, build 1805" : m_strMessage);
  return TRUE;
}

void CNewVersionDlg::OnClose() {
  EndDialog(IDCANCEL);
}
