#include "editing/PhotoEditOperSubtitlePage.h"

#include <algorithm>

#include "editing/PhotoEditPagePaint.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/SubtitleFont.h"
#include "modules/data/TextMacro.h"
#include "platform/kernel/FileFind.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDC_SUBTITLE_TEXT = 1307;
constexpr UINT IDC_SUBTITLE_ADD_MACRO = 1315;
constexpr UINT IDC_SUBTITLE_MODIFY_FONT = 1495;
constexpr UINT IDC_SUBTITLE_FONT = 1314;
constexpr UINT IDC_SUBTITLE_CHARSET = 1243;
constexpr UINT IDC_SUBTITLE_SIZE = 1223;
constexpr UINT IDC_SUBTITLE_SIZE_SPIN = 1228;
constexpr UINT kFontControls[7] = {1314, 1243, 1223, 1228, 1501, 1499, 1500};
constexpr UINT IDR_SUBTITLE_OPTIONS = 250;
constexpr UINT ID_SUBTITLE_APPLY_ALL = 32880;
constexpr UINT ID_SUBTITLE_CLEAR_ALL = 32881;
constexpr UINT ID_SUBTITLE_MACRO_FIRST = 32883;
constexpr UINT ID_SUBTITLE_MACRO_LAST = 32891;
constexpr UINT kMinFontSize = 16;
constexpr UINT kMaxFontSize = 36;

}  // namespace

IMPLEMENT_DYNCREATE(CPhotoEditOperSubtitlePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPhotoEditOperSubtitlePage, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_SUBTITLE_ADD_MACRO, OnAddMacro)
ON_BN_CLICKED(IDC_SUBTITLE_MODIFY_FONT, OnModifyFont)
ON_COMMAND(ID_SUBTITLE_APPLY_ALL, OnApplyToAll)
ON_COMMAND(ID_SUBTITLE_CLEAR_ALL, OnClearAll)
ON_COMMAND_RANGE(ID_SUBTITLE_MACRO_FIRST, ID_SUBTITLE_MACRO_LAST, OnMacro)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CPhotoEditOperSubtitlePage::CPhotoEditOperSubtitlePage() : CPropertyPage(IDD_PHOTO_EDIT_SUBTITLE) {}

CPhotoEditOperSubtitlePage::~CPhotoEditOperSubtitlePage() = default;

void CPhotoEditOperSubtitlePage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SUBTITLE_FONT, m_comboFont);
  DDX_Control(pDX, IDC_SUBTITLE_SIZE_SPIN, m_spinSize);
  DDX_Control(pDX, IDC_SUBTITLE_CHARSET, m_comboCharset);
  DDX_Text(pDX, IDC_SUBTITLE_TEXT, m_strSubtitle);
  DDX_Text(pDX, IDC_SUBTITLE_SIZE, m_nFontSize);
  DDV_MinMaxUInt(pDX, m_nFontSize, kMinFontSize, kMaxFontSize);
  DDX_Check(pDX, IDC_SUBTITLE_MODIFY_FONT, m_nModifyFont);
}

BOOL CPhotoEditOperSubtitlePage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_EDIT_SUBTITLE);
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  if (m_pImage != nullptr) m_strSubtitle = m_pImage->Get_strOrgSubtilte();
  m_nModifyFont = 0;
  EnableFontControls(FALSE);

  CString folder = CDVDSubtitleFont::GetSystemFontDirectory();
  if (!folder.IsEmpty() && folder.Right(1) != "/" && folder.Right(1) != "\\") folder += "/";
  m_arrFontFiles.RemoveAll();
  CFileFind finder;
  for (BOOL more = finder.FindFile(folder + "*.ttf"); more;) {
    more = finder.FindNextFile();
    if (!finder.IsDirectory()) m_arrFontFiles.Add(finder.GetFilePath());
  }

  if (m_pAlbum != nullptr) {
    const CDVDSubtitleFont& font = m_pAlbum->GetDVDSubtitleFont();
    m_nFontSize = static_cast<UINT>(std::clamp<int>(font.Get_nFontSize(), kMinFontSize, kMaxFontSize));
    m_spinSize.SetRange32(kMinFontSize, kMaxFontSize);
    m_spinSize.SetPos32(static_cast<int>(m_nFontSize));
    const CStringArray& charsets = CDVDSubtitleFont::GetCharsetInfoArray();
    for (INT_PTR i = 0; i < charsets.GetSize(); ++i) m_comboCharset.AddString(charsets[i]);
    if (const int charset = font.GetCharsetIndex(); charset != -1) m_comboCharset.SetCurSel(charset);
    for (INT_PTR i = 0; i < m_arrFontFiles.GetSize(); ++i) {
      const int row = m_comboFont.AddString(m_arrFontFiles[i]);
      if (m_arrFontFiles[i].CompareNoCase(font.Get_strFontFileName()) == 0) m_comboFont.SetCurSel(row);
    }
  }
  UpdateData(FALSE);
  m_bHold = FALSE;
  return TRUE;
}

void CPhotoEditOperSubtitlePage::EnableFontControls(BOOL bEnable) {
  for (UINT id : kFontControls)
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(bEnable);
}

void CPhotoEditOperSubtitlePage::OnModifyFont() {
  UpdateData(TRUE);
  EnableFontControls(m_nModifyFont != 0);
}

void CPhotoEditOperSubtitlePage::OnAddMacro() {
  CMenu menu;
  if (!menu.LoadMenu(IDR_SUBTITLE_OPTIONS)) return;
  TranslateMenu(menu.GetSafeHmenu());
  CMenu* popup = menu.GetSubMenu(1);
  CWnd* button = GetDlgItem(IDC_SUBTITLE_ADD_MACRO);
  if (popup == nullptr || button == nullptr) return;
  CRect rect;
  button->GetWindowRect(&rect);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, rect.left, rect.bottom, this);
}

void CPhotoEditOperSubtitlePage::InsertMacro(int nIndex) {
  CWnd* edit = GetDlgItem(IDC_SUBTITLE_TEXT);
  if (edit == nullptr) return;
  CString text;
  edit->GetWindowText(text);
  text += CTextMacro::GetMacroString(nIndex);
  edit->SetWindowText(text);
  m_strSubtitle = text;
  edit->SetFocus();
}

void CPhotoEditOperSubtitlePage::OnMacro(UINT nID) {
  InsertMacro(static_cast<int>(nID - ID_SUBTITLE_MACRO_FIRST));
}

void CPhotoEditOperSubtitlePage::OnApplyToAll() {
  if (m_pAlbum == nullptr || !UpdateData(TRUE)) return;
  if (AfxMessageBox(
          "The subtitle of all photos will be replaced by new text. Would you like preform this action?",
          MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  for (int i = 0; i < m_pAlbum->GetImageCount(); ++i)
    if (CDVDImage* image = m_pAlbum->GetImage(i)) image->Set_strSubtitle(m_strSubtitle);
}

void CPhotoEditOperSubtitlePage::OnClearAll() {
  if (m_pAlbum == nullptr) return;
  if (AfxMessageBox("The subtitle of all photos will be removed. Would you like preform this action?",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  for (int i = 0; i < m_pAlbum->GetImageCount(); ++i)
    if (CDVDImage* image = m_pAlbum->GetImage(i)) image->Set_strSubtitle("");
  m_strSubtitle.Empty();
  UpdateData(FALSE);
}

void CPhotoEditOperSubtitlePage::SaveFont() {
  if (m_bHold || m_pAlbum == nullptr || GetSafeHwnd() == nullptr) return;
  // The page is going away: a size typed outside the range is brought into it rather than
  // reported in a message box nobody could act on.
  BOOL read = FALSE;
  const UINT typed = GetDlgItemInt(IDC_SUBTITLE_SIZE, &read, FALSE);
  m_nFontSize = std::clamp(read ? typed : m_nFontSize, kMinFontSize, kMaxFontSize);
  AppSettings* settings = GetAppSettings();
  CDVDSubtitleFont font = m_pAlbum->GetDVDSubtitleFont();
  const int size = static_cast<int>(m_nFontSize);
  font.Set_nFontSize(size);
  settings->SubtitleFont.Font.Set_nFontSize(size);
  if (const int row = m_comboFont.GetCurSel(); row >= 0 && row < m_arrFontFiles.GetSize()) {
    font.Set_strFontFileName(m_arrFontFiles[row]);
    settings->SubtitleFont.Font.Set_strFontFileName(m_arrFontFiles[row]);
  }
  if (const int row = m_comboCharset.GetCurSel(); row >= 0) {
    const CString name = CDVDSubtitleFont::GetCharsetNameFromIndex(row);
    font.Set_strCharset(name);
    settings->SubtitleFont.Font.Set_strCharset(name);
  }
  // Through the album, so that a changed font marks it changed.
  m_pAlbum->SetDVDSubtitleFont(font);
  settings->SubtitleFont.Save();
}

void CPhotoEditOperSubtitlePage::OnDestroy() {
  SaveFont();
  CPropertyPage::OnDestroy();
}

LRESULT CPhotoEditOperSubtitlePage::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  return TRUE;
}

void CPhotoEditOperSubtitlePage::OnOK() {
  // Enter in the page must not end it.
}

BOOL CPhotoEditOperSubtitlePage::OnEraseBkgnd(CDC* pDC) {
  return PhotoEditPageEraseBkgnd(*this, pDC);
}

HBRUSH CPhotoEditOperSubtitlePage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (HBRUSH brush = PhotoEditPageCtlColor(m_brushBackground, pDC, pWnd, nCtlColor, FALSE)) return brush;
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}
