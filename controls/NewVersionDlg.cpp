#include "controls/NewVersionDlg.h"

#include "controls/UpdateCheck.h"
#include "platform/mfc/DataExchange.h"
#include "platform/user/Metrics.h"
#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDS_CHECK_NEW_VERSION = 181;
constexpr UINT IDS_CHECKING_VERSION = 57349;
constexpr UINT IDS_NEW_VERSION = 57351;
constexpr UINT IDS_LATEST_VERSION = 57352;

}  // namespace

CString NewVersionText(int nVersion, int nBuild) {
  CString text;
  text.Format(LoadLangString(IDS_NEW_VERSION), nVersion / 100, nVersion % 100, nBuild);
  return text;
}

BEGIN_MESSAGE_MAP(CNewVersionDlg, CDialog)
ON_BN_CLICKED(IDC_NEW_VERSION_CLOSE, OnClose)
ON_WM_DESTROY()
ON_MESSAGE(WM_NEW_VERSION_AVAILABLE, OnNewVersionAvailable)
ON_MESSAGE(WM_VERSION_UP_TO_DATE, OnVersionUpToDate)
ON_MESSAGE(WM_VERSION_CHECK_FAILED, OnVersionCheckFailed)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CNewVersionDlg::CNewVersionDlg(CWnd* pParent) : CDialog(IDD_NEW_VERSION, pParent) {}

void CNewVersionDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_NEW_VERSION_TEXT, m_strMessage);
}

BOOL CNewVersionDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_NEW_VERSION);
  SetDlgItemText(IDC_NEW_VERSION_LINK, GetWebLinkText());
  m_link.SetURL(GetUpdateCheckSettings().strUpgradePageURL);
  if (GetDlgItem(IDC_NEW_VERSION_LINK) != nullptr) m_link.SubclassDlgItem(IDC_NEW_VERSION_LINK, this);
  m_link.SetColors(RGB(100, 0, 0), RGB(20, 20, 255));
  SetUpdateReportWindow(m_hWnd);
  if (m_bCheckNow) {
    if (StartUpdateCheck(m_hWnd)) {
      m_strMessage.Format(LoadLangString(IDS_CHECKING_VERSION), GetProductTitle().GetString());
      UpdateData(FALSE);
    }
  } else {
    ShowLink();
  }
  SetTitle();
  return TRUE;
}

void CNewVersionDlg::SetTitle() {
  CString title;
  title.Format(LoadLangString(IDS_CHECK_NEW_VERSION), GetProductTitle().GetString());
  SetWindowText(title);
}

void CNewVersionDlg::ShowLink() {
  // Without an upgrade page there is nothing to follow: the label stays hidden with the link.
  if (GetWebLinkText().IsEmpty()) return;
  for (int id : {IDC_NEW_VERSION_SITE_LABEL, IDC_NEW_VERSION_LINK})
    if (CWnd* child = GetDlgItem(id)) child->ShowWindow(SW_SHOW);
}

void CNewVersionDlg::OnClose() {
  EndDialog(IDOK);
}

void CNewVersionDlg::OnDestroy() {
  // A result still on its way is dropped, not handed to the main window.
  if (GetUpdateReportWindow() == m_hWnd) SetUpdateReportWindow(nullptr);
  CDialog::OnDestroy();
}

LRESULT CNewVersionDlg::OnNewVersionAvailable(WPARAM wParam, LPARAM lParam) {
  m_strMessage = NewVersionText(static_cast<int>(wParam), static_cast<int>(lParam));
  UpdateData(FALSE);
  ShowLink();
  return 0;
}

LRESULT CNewVersionDlg::OnVersionUpToDate(WPARAM, LPARAM) {
  m_strMessage = LoadLangString(IDS_LATEST_VERSION);
  UpdateData(FALSE);
  return 0;
}

LRESULT CNewVersionDlg::OnVersionCheckFailed(WPARAM wParam, LPARAM) {
  char* text = reinterpret_cast<char*>(wParam);
  if (text == nullptr) return 0;
  m_strMessage = text;
  delete[] text;
  UpdateData(FALSE);
  return 0;
}

LRESULT CNewVersionDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_NEW_VERSION);
  SetTitle();
  UpdateData(FALSE);
  return 1;
}
