#include "controls/MessageDialogs.h"

#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/files/Files.h"
#include "platform/base/ErrorCodes.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/FileSystem.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDS_NO_PHOTOS_IN_ALBUMS = 220;
constexpr UINT IDS_NO_PHOTOS_ALBUM_LINE = 221;
constexpr UINT IDS_MISSING_FILES = 222;
constexpr UINT IDS_MISSING_ALBUM_LINE = 223;
constexpr UINT IDS_MISSING_FILE_LINE = 224;
constexpr UINT IDS_REPORT_NOT_SAVED = 5122;

// Saves a report where the user chose; a file that cannot be written is said, not skipped.
void SaveReportAs(CWnd* pParent, const CString& text) {
  const CString path = AskReportFileName(pParent);
  if (path.IsEmpty() || SaveReportText(path, text)) return;
  CString message;
  message.Format(LoadLangString(IDS_REPORT_NOT_SAVED), path.GetString());
  ::MessageBox(pParent->GetSafeHwnd(), message, GetProductTitle(), MB_OK | MB_ICONERROR);
}

void AppendLine(CString& report, const CString& line) {
  report += line;
  report += "\r\n";
}

CString FormatLang(UINT id, int number, LPCTSTR text) {
  CString line;
  line.Format(LoadLangString(id), number, text);
  return line;
}

// Read-only edits ask for CTLCOLOR_STATIC; the reports show them white like a page.
HBRUSH WhiteForReadOnlyEdit(CDC* pDC, CWnd* pWnd, UINT nCtlColor, HBRUSH brush) {
  if (nCtlColor != CTLCOLOR_STATIC || pWnd == nullptr) return brush;
  char className[32] = {};
  ::GetClassName(pWnd->GetSafeHwnd(), className, sizeof className);
  if (CString(className).CompareNoCase("Edit") != 0) return brush;
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

}  // namespace

CString BuildInvalidItemsReport(const CDVDProject& project, const CDVDAlbumArray* pInvalidAlbums,
                                const CAlbumBreakLinkInfoArray* pBrokenLinks) {
  CString report;
  if (pInvalidAlbums != nullptr) {
    AppendLine(report, LoadLangString(IDS_NO_PHOTOS_IN_ALBUMS));
    for (INT_PTR i = 0; i < pInvalidAlbums->GetSize(); ++i) {
      const CDVDAlbumBase* album = pInvalidAlbums->GetAt(i);
      if (album == nullptr) continue;
      AppendLine(report, FormatLang(IDS_NO_PHOTOS_ALBUM_LINE, project.IndexOfAlbum(album) + 1,
                                    album->Get_strAlbumName()));
    }
  }
  if (pBrokenLinks != nullptr) {
    AppendLine(report, "");
    AppendLine(report, LoadLangString(IDS_MISSING_FILES));
    for (INT_PTR i = 0; i < pBrokenLinks->GetSize(); ++i) {
      const CAlbumBreakLinkInfo* info = pBrokenLinks->GetAt(i);
      if (info == nullptr) continue;
      const CDVDAlbumBase* album = info->m_pAlbum;
      if (info->m_pImageAlbum != nullptr && info->m_arrImages.GetSize() > 0) {
        album = info->m_pImageAlbum;
        AppendLine(report, FormatLang(IDS_MISSING_ALBUM_LINE, project.IndexOfAlbum(album) + 1,
                                      album->Get_strAlbumName()));
        for (INT_PTR k = 0; k < info->m_arrImages.GetSize(); ++k) {
          const auto* image = static_cast<const CDVDImage*>(info->m_arrImages[k]);
          if (image == nullptr) continue;
          AppendLine(report, FormatLang(IDS_MISSING_FILE_LINE, info->m_pImageAlbum->IndexOf(image) + 1,
                                        image->Get_strPathName()));
        }
      } else if (album != nullptr) {
        AppendLine(report, FormatLang(IDS_MISSING_ALBUM_LINE, project.IndexOfAlbum(album) + 1,
                                      album->Get_strAlbumName()));
      } else {
        continue;
      }
      for (INT_PTR k = 0; k < info->m_arrFiles.GetSize(); ++k)
        AppendLine(report, FormatLang(IDS_MISSING_FILE_LINE, 0, info->m_arrFiles[k]));
    }
  }
  return report;
}

CString JoinPaths(const CStringArray* pPaths, LPCTSTR lineEnd) {
  CString text;
  if (pPaths == nullptr) return text;
  for (INT_PTR i = 0; i < pPaths->GetSize(); ++i) {
    text += pPaths->GetAt(i);
    text += lineEnd;
  }
  return text;
}

CString AskReportFileName(CWnd* pParent) {
  CFileDialog dialog(FALSE, "txt", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Text File(*.txt)|*.txt||",
                     pParent, GetOpenFileNameSize());
  if (dialog.DoModal() != IDOK) return CString();
  return dialog.GetPathName();
}

BOOL SaveReportText(const CString& path, const CString& text) {
  if (path.IsEmpty()) return FALSE;
  return pictavo::WriteFileAtomically(path.GetString(),
                                      std::string_view(text.GetString(), text.GetLength())) == ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CErrorMessageDlg, CDialog)
ON_BN_CLICKED(IDC_ERROR_SAVE, OnSave)
ON_BN_CLICKED(IDC_ERROR_CLOSE, OnClose)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CErrorMessageDlg::CErrorMessageDlg(CWnd* pParent) : CDialog(IDD_ERROR_MESSAGE, pParent) {}

void CErrorMessageDlg::SetInvalidItems(CDVDAlbumArray* pInvalidAlbums,
                                       CAlbumBreakLinkInfoArray* pBrokenLinks) {
  m_pInvalidAlbums = pInvalidAlbums;
  m_pBrokenLinks = pBrokenLinks;
}

CString CErrorMessageDlg::GetReportText() const {
  const CDVDProject* project = CDVDProject::GetGlobalDVDProject();
  if (project == nullptr) return CString();
  return BuildInvalidItemsReport(*project, m_pInvalidAlbums, m_pBrokenLinks);
}

BOOL CErrorMessageDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ERROR_MESSAGE);
  SetDlgItemText(IDC_ERROR_REPORT, GetReportText());
  // The focus on the button: the report reads without a selection over it.
  if (CWnd* close = GetDlgItem(IDC_ERROR_CLOSE)) GotoDlgCtrl(close);
  return FALSE;
}

void CErrorMessageDlg::OnSave() {
  SaveReportAs(this, GetReportText());
}

void CErrorMessageDlg::OnClose() {
  OnOK();
}

HBRUSH CErrorMessageDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  return WhiteForReadOnlyEdit(pDC, pWnd, nCtlColor, CDialog::OnCtlColor(pDC, pWnd, nCtlColor));
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMissingFilesDlg, CDialog)
ON_BN_CLICKED(IDC_MISSING_SAVE, OnSave)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CMissingFilesDlg::CMissingFilesDlg(CWnd* pParent) : CDialog(IDD_MISSING_FILES, pParent) {}

void CMissingFilesDlg::SetFileList(CStringArray* pFiles) {
  m_pFiles = pFiles;
  if (m_hWnd != nullptr && GetDlgItem(IDC_MISSING_LIST) != nullptr)
    SetDlgItemText(IDC_MISSING_LIST, JoinPaths(m_pFiles, "\r\n"));
}

BOOL CMissingFilesDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_MISSING_FILES);
  SetFileList(m_pFiles);
  if (CWnd* ok = GetDlgItem(IDOK)) GotoDlgCtrl(ok);
  return FALSE;
}

void CMissingFilesDlg::OnSave() {
  // Text files of this program end their lines as the report shows them.
  SaveReportAs(this, JoinPaths(m_pFiles, "\r\n"));
}

HBRUSH CMissingFilesDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  return WhiteForReadOnlyEdit(pDC, pWnd, nCtlColor, CDialog::OnCtlColor(pDC, pWnd, nCtlColor));
}

// ---------------------------------------------------------------------------------------------

CLegalNoticeDlg::CLegalNoticeDlg(CWnd* pParent) : CDialog(IDD_LEGAL_NOTICE, pParent) {}

void CLegalNoticeDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_LEGAL_TEXT, m_edit);
}

BOOL CLegalNoticeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_LEGAL_NOTICE);
  CString path = CDVDProject::GetExeFilePath();
  if (path.IsEmpty() || (path.Right(1) != "\\" && path.Right(1) != "/")) path += "/";
  path += "legal-notice.txt";
  HANDLE file = Zorv_CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return TRUE;
  const DWORD size = ::GetFileSize(file, nullptr);
  if (size != 0 && size != INVALID_FILE_SIZE) {
    std::vector<char> buffer(static_cast<size_t>(size) + 10, '\0');
    DWORD read = 0;
    if (::ReadFile(file, buffer.data(), size, &read, nullptr)) m_edit.SetWindowText(buffer.data());
  }
  ::CloseHandle(file);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------

CFullScreenTipDlg::CFullScreenTipDlg(CWnd* pParent) : CDialog(IDD_FULLSCREEN_TIP, pParent) {}

void CFullScreenTipDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_TIP_DONT_SHOW, m_bDontShow);
}

BOOL CFullScreenTipDlg::OnInitDialog() {
  m_bDontShow = GetAppSettings()->Window.HideFullScreenPreviewMessage;
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_FULLSCREEN_TIP);
  return TRUE;
}

void CFullScreenTipDlg::OnOK() {
  CDialog::OnOK();
  CWindowSettings& window = GetAppSettings()->Window;
  window.HideFullScreenPreviewMessage = m_bDontShow;
  window.SaveHideFullScreenPreviewMessage();
}
