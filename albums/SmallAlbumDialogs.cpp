#include "albums/SmallAlbumDialogs.h"

#include <algorithm>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/SubtitleFont.h"
#include "platform/kernel/FileFind.h"
#include "platform/mfc/DataExchange.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"
#include "shell/SlideshowApp.h"

namespace {

constexpr int kMinFontSize = 16;
constexpr int kMaxFontSize = 36;

}  // namespace

void CAddDirectoryDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_ADD_DIRECTORY_MESSAGE, m_strMessage);
  DDX_Check(pDX, IDC_ADD_DIRECTORY_SUBFOLDERS, m_bIncludeSubDirectories);
}

CAlbumPropertiesDlg::CAlbumPropertiesDlg()
    : CDialog(IDD_ALBUM_PROPERTIES), m_pTemplateAlbum(new CDVDAlbumImage(nullptr)) {}

CAlbumPropertiesDlg::~CAlbumPropertiesDlg() {
  delete m_pTemplateAlbum;
}

CDVDAlbumBase* CAlbumPropertiesDlg::Album() {
  return m_pAlbum != nullptr ? m_pAlbum : m_pTemplateAlbum;
}

void CAlbumPropertiesDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ALBUM_BANNER, m_banner);
  DDX_Control(pDX, IDC_ALBUM_FONT_LIST, m_fontList);
  DDX_Control(pDX, IDC_ALBUM_FONT_SIZE_SPIN, m_sizeSpin);
  DDX_Control(pDX, IDC_ALBUM_CHARSET_LIST, m_charsetList);
  DDX_Text(pDX, IDC_ALBUM_NAME_EDIT, m_strName);
  UINT size = static_cast<UINT>(m_nFontSize);
  DDX_Text(pDX, IDC_ALBUM_FONT_SIZE, size);
  DDV_MinMaxUInt(pDX, size, kMinFontSize, kMaxFontSize);
  m_nFontSize = static_cast<int>(size);
}

BOOL CAlbumPropertiesDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_PROPERTIES);
  const CDVDSubtitleFont& font = Album()->GetDVDSubtitleFont();

  m_arrFontFiles.RemoveAll();
  CString folder = CDVDSubtitleFont::GetSystemFontDirectory();
  if (!folder.IsEmpty() && folder.Right(1) != "/" && folder.Right(1) != "\\") folder += "/";
  CFileFind find;
  for (BOOL more = find.FindFile(folder + "*.ttf"); more;) {
    more = find.FindNextFile();
    if (!find.IsDirectory()) m_arrFontFiles.Add(find.GetFilePath());
  }
  find.Close();

  if (m_strName.IsEmpty()) m_strName = Album()->Get_strAlbumName();
  // Compared unsigned, as the edit's check does: a negative size is far above the top.
  const UINT stored = static_cast<UINT>(font.Get_nFontSize());
  m_nFontSize = static_cast<int>(std::clamp<UINT>(stored, kMinFontSize, kMaxFontSize));
  m_sizeSpin.SetRange32(kMinFontSize, kMaxFontSize);
  m_sizeSpin.SetPos32(m_nFontSize);

  m_charsetList.ResetContent();
  const CStringArray& charsets = CDVDSubtitleFont::GetCharsetInfoArray();
  for (INT_PTR i = 0; i < charsets.GetSize(); ++i) m_charsetList.AddString(charsets[i]);
  if (const int charset = font.GetCharsetIndex(); charset != -1) m_charsetList.SetCurSel(charset);

  m_fontList.ResetContent();
  for (INT_PTR i = 0; i < m_arrFontFiles.GetSize(); ++i) {
    m_fontList.AddString(m_arrFontFiles[i]);
    if (m_arrFontFiles[i].CompareNoCase(font.Get_strFontFileName()) == 0)
      m_fontList.SetCurSel(static_cast<int>(i));
  }

  if (CSkinMinor* skin = GetSkinMinor()) m_banner.SetBitmap(skin->GetDialogHintBitmap(1));
  UpdateData(FALSE);
  return TRUE;
}

void CAlbumPropertiesDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  CDVDSubtitleFont& font = Album()->GetDVDSubtitleFont();
  CDVDSubtitleFont& defaults = GetAppSettings()->SubtitleFont.Font;
  font.Set_nFontSize(m_nFontSize);
  defaults.Set_nFontSize(m_nFontSize);
  if (const int chosen = m_fontList.GetCurSel(); chosen >= 0 && chosen < m_arrFontFiles.GetSize()) {
    font.Set_strFontFileName(m_arrFontFiles[chosen]);
    defaults.Set_strFontFileName(m_arrFontFiles[chosen]);
  }
  if (const int charset = m_charsetList.GetCurSel(); charset >= 0) {
    font.Set_strCharset(CDVDSubtitleFont::GetCharsetNameFromIndex(charset));
    defaults.Set_strCharset(CDVDSubtitleFont::GetCharsetNameFromIndex(charset));
  }
  GetAppSettings()->SubtitleFont.Save();
  Album()->Set_strAlbumName(m_strName);
  Album()->MarkChanged();
  EndDialog(IDOK);
}

void CAlbumNameDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ALBUM_BANNER, m_banner);
  DDX_Text(pDX, IDC_ALBUM_NAME_EDIT, m_strName);
}

BOOL CAlbumNameDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_NAME);
  if (CSkinMinor* skin = GetSkinMinor()) m_banner.SetBitmap(skin->GetDialogHintBitmap(0));
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
