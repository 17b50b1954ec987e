#include "albums/AlbumTitleCreditPage.h"

#include <cstring>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/ThemePageRules.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/mfc/DataExchange.h"
#include "shell/AlbumPageServices.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

namespace {

constexpr int kDefaultFontSize = 48;
constexpr int kDefaultDuration = 10;
constexpr COLORREF kDefaultFontColor = RGB(176, 80, 0);

// The controls the check box switches; the background colour and the check itself stay enabled.
constexpr UINT kSwitchedControls[] = {IDC_TITLE_TEXT,    IDC_TITLE_FONT_SIZE, IDC_TITLE_FONT_SIZE_SPIN,
                                      IDC_TITLE_FONT_COLOR, IDC_TITLE_PREVIEW, IDC_TITLE_EFFECT,
                                      IDC_TITLE_DURATION, IDC_TITLE_DURATION_SPIN};

}  // namespace

BEGIN_MESSAGE_MAP(CAlbumTitleCreditPage, CPropertyPage)
ON_BN_CLICKED(IDC_TITLE_ENABLE, OnEnableClicked)
ON_BN_CLICKED(IDC_TITLE_PREVIEW, OnPreview)
ON_CBN_SELCHANGE(IDC_TITLE_EFFECT, OnEffectChange)
ON_EN_CHANGE(IDC_TITLE_TEXT, OnTextChanged)
ON_EN_CHANGE(IDC_TITLE_FONT_SIZE, OnTextChanged)
ON_MESSAGE(WM_COLOR_PICKED, OnColorPicked)
ON_WM_CTLCOLOR()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CAlbumTitleCreditPage::CAlbumTitleCreditPage() : CPropertyPage(IDD_TITLE_CREDIT_PAGE) {
  std::memset(&m_local, 0, sizeof m_local);
}

CAlbumTitleCreditPage::~CAlbumTitleCreditPage() = default;

void CAlbumTitleCreditPage::Init(LPCTSTR lpszEffectList, int nKind) {
  m_strEffectList.Format("%s", lpszEffectList != nullptr ? lpszEffectList : "");
  m_nKind = nKind;
}

void CAlbumTitleCreditPage::SetCaption(UINT nStringId) {
  if (GetSafeHwnd() != nullptr) SetDlgItemText(IDC_TITLE_ENABLE, LoadLangString(nStringId));
}

void CAlbumTitleCreditPage::ShowEnableCheck(BOOL bShow) {
  if (CWnd* check = GetSafeHwnd() != nullptr ? GetDlgItem(IDC_TITLE_ENABLE) : nullptr)
    check->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CAlbumTitleCreditPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TITLE_DURATION_SPIN, m_spinDuration);
  DDX_Control(pDX, IDC_TITLE_EFFECT, m_comboEffect);
  DDX_Control(pDX, IDC_TITLE_FONT_SIZE_SPIN, m_spinFontSize);
  DDX_Control(pDX, IDC_TITLE_FONT_COLOR, m_btnFontColor);
  DDX_Control(pDX, IDC_TITLE_BACK_COLOR, m_btnBackColor);
  DDX_Text(pDX, IDC_TITLE_TEXT, m_strText);
  DDX_Check(pDX, IDC_TITLE_ENABLE, m_bEnabled);
  DDX_Text(pDX, IDC_TITLE_FONT_SIZE, m_nFontSize);
  DDX_CBIndex(pDX, IDC_TITLE_EFFECT, m_nEffect);
  DDX_Text(pDX, IDC_TITLE_DURATION, m_nDuration);
}

BOOL CAlbumTitleCreditPage::OnInitDialog() {
  m_bLoading = TRUE;
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_TITLE_CREDIT_PAGE);
  m_brushPage.CreateSolidBrush(GetSkinColor(SKIN_COLOR_ORGANIZE_PAGE_2));
  m_btnFontColor.SetColor(GetSkinColor(SKIN_COLOR_ORGANIZE_PAGE_2));
  m_btnBackColor.SetColor(GetSkinColor(SKIN_COLOR_ORGANIZE_PAGE_2));
  m_spinFontSize.SetRange32(20, 200);
  m_spinDuration.SetRange32(1, 90);
  m_nFontSize = kDefaultFontSize;
  m_nDuration = kDefaultDuration;
  LoadEffects();
  UpdateData(FALSE);
  m_bLoading = FALSE;
  m_bInitialized = TRUE;
  return TRUE;
}

void CAlbumTitleCreditPage::LoadEffects() {
  const CString folder = CDVDProject::GetExeFilePath();
  const CString effects = folder + (m_nKind == 1 ? "/title/effects" : "/credit/effects");
  std::vector<std::string> refused;
  const std::vector<_TITLE_EFFECT> entries = ReadTitleEffectList(m_strEffectList, effects, &refused);
  for (const std::string& path : refused) WriteErrorLog("Effect file path too long, left out: %s", path.c_str());
  for (const _TITLE_EFFECT& read : entries) {
    auto* entry = new _TITLE_EFFECT(read);
    const int index = m_comboEffect.AddString(entry->szName);
    m_comboEffect.SetItemDataPtr(index, entry);
    g_titleEffectList.Add(entry);
  }
  m_nEffect = 0;
}

const _TITLE_EFFECT* CAlbumTitleCreditPage::SelectedEffect() {
  const int selected = m_comboEffect.GetSafeHwnd() != nullptr ? m_comboEffect.GetCurSel() : CB_ERR;
  if (selected == CB_ERR) return nullptr;
  void* data = m_comboEffect.GetItemDataPtr(selected);
  return data == reinterpret_cast<void*>(-1) ? nullptr : static_cast<const _TITLE_EFFECT*>(data);
}

CString CAlbumTitleCreditPage::GetSelectedEffectFile() {
  const _TITLE_EFFECT* effect = SelectedEffect();
  return effect != nullptr ? CString(effect->szEffectFile) : CString();
}

int CAlbumTitleCreditPage::GetSelectedEffectDuration() {
  const _TITLE_EFFECT* effect = SelectedEffect();
  return effect != nullptr ? effect->nDefaultDuration : kDefaultDuration;
}

void CAlbumTitleCreditPage::ReadControls() {
  // Read one by one rather than through the data exchange, which would put a message box in
  // front of the user for a font size edit emptied while typing.
  GetDlgItemText(IDC_TITLE_TEXT, m_strText);
  m_bEnabled = IsDlgButtonChecked(IDC_TITLE_ENABLE) == BST_CHECKED;
  BOOL ok = FALSE;
  if (const UINT size = GetDlgItemInt(IDC_TITLE_FONT_SIZE, &ok, FALSE); ok) m_nFontSize = static_cast<int>(size);
  if (const UINT seconds = GetDlgItemInt(IDC_TITLE_DURATION, &ok, FALSE); ok) m_nDuration = static_cast<int>(seconds);
  m_nEffect = m_comboEffect.GetCurSel();
}

int CAlbumTitleCreditPage::GetDuration() {
  if (GetSafeHwnd() != nullptr) ReadControls();
  return m_nDuration;
}

int CAlbumTitleCreditPage::FindEffect(LPCTSTR lpszFile) {
  const CString file(lpszFile != nullptr ? lpszFile : "");
  for (int i = 0; i < m_comboEffect.GetCount(); ++i) {
    const auto* entry = static_cast<const _TITLE_EFFECT*>(m_comboEffect.GetItemDataPtr(i));
    if (entry != nullptr && file.CompareNoCase(entry->szEffectFile) == 0) return i;
  }
  return 0;
}

void CAlbumTitleCreditPage::EnableControls() {
  for (UINT id : kSwitchedControls)
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(m_bEnabled);
}

void CAlbumTitleCreditPage::SetSettings(_ALBUM_TEXT_SETTINGS* pSettings, CDVDAlbumImage* pAlbum) {
  m_bLoading = TRUE;
  if (pSettings != nullptr) {
    m_nDuration = pSettings->nDuration > 0 ? pSettings->nDuration : kDefaultDuration;
    m_nFontSize = pSettings->nFontSize;
    m_btnFontColor.m_crColor = pSettings->clrFont;
    m_btnBackColor.m_crColor = pSettings->clrBackground;
    CString text(pSettings->szText);
    CDVDProject::Unix2Dos(text);
    m_strText = text;
    m_local = *pSettings;
    m_pSettings = pSettings;
    m_pAlbum = pAlbum;
    m_bEnabled = pSettings->bEnabled;
  } else {
    m_nDuration = kDefaultDuration;
    m_nFontSize = kDefaultFontSize;
    m_btnFontColor.m_crColor = kDefaultFontColor;
    m_strText.Empty();
    m_local.szText[0] = '\0';
    m_local.clrFont = kDefaultFontColor;
    m_local.clrBackground = m_btnBackColor.m_crColor;
    m_local.nFontSize = kDefaultFontSize;
    m_pSettings = nullptr;
    m_pAlbum = nullptr;
    m_bEnabled = m_local.bEnabled;
  }
  if (m_btnFontColor.GetSafeHwnd() != nullptr) m_btnFontColor.Invalidate();
  if (m_btnBackColor.GetSafeHwnd() != nullptr) m_btnBackColor.Invalidate();
  m_nEffect = m_comboEffect.GetSafeHwnd() != nullptr ? FindEffect(m_local.szEffectFile) : 0;
  if (GetSafeHwnd() != nullptr) {
    UpdateData(FALSE);
    EnableControls();
  }
  m_bLoading = FALSE;
}

void CAlbumTitleCreditPage::ForgetSettings() {
  m_pSettings = nullptr;
  m_pAlbum = nullptr;
}

void CAlbumTitleCreditPage::FillRecord(_ALBUM_TEXT_SETTINGS& record, const _TITLE_EFFECT& effect, int nDuration) {
  std::memset(&record, 0, sizeof record);
  record.bEnabled = m_bEnabled;
  record.clrFont = m_btnFontColor.m_crColor;
  record.clrBackground = m_btnBackColor.m_crColor;
  record.nFontSize = m_nFontSize;
  CString text(m_strText);
  CDVDProject::Dos2Unix(text);
  CopyTextField(record.szText, sizeof record.szText, text);
  CopyTextField(record.szEffectFile, sizeof record.szEffectFile, effect.szEffectFile);
  record.nDuration = nDuration;
}

int CAlbumTitleCreditPage::SaveSettings() {
  if (!m_bInitialized || GetSafeHwnd() == nullptr) return 0;
  ReadControls();
  if (m_comboEffect.GetCurSel() == CB_ERR) return -1;
  const _TITLE_EFFECT* effect = SelectedEffect();
  if (effect == nullptr) return 0;
  if (m_pSettings == nullptr) {
    FillRecord(m_local, *effect, effect->nDefaultDuration);
    return 0;
  }
  const _ALBUM_TEXT_SETTINGS kept = *m_pSettings;
  FillRecord(*m_pSettings, *effect, m_nDuration);
  m_local = *m_pSettings;
  if (std::memcmp(&kept, m_pSettings, sizeof kept) == 0) return 0;
  // The album the record belongs to, which is not always the one the editor shows by now.
  if (m_pAlbum != nullptr) {
    m_pAlbum->Put_bDirty(1);
    m_pAlbum->Put_bEncodeDirty(1);
  }
  if (auto* options = static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne);
      options != nullptr && options->GetSafeHwnd() != nullptr)
    options->RebuildTimeline();
  return 1;
}

void CAlbumTitleCreditPage::OnEffectChange() {
  if (m_bLoading) return;
  // The new effect's default duration shows, and the save below notices the change like any
  // other edit: the album becomes dirty and the timeline shows the new length.
  m_nDuration = GetSelectedEffectDuration();
  SetDlgItemInt(IDC_TITLE_DURATION, static_cast<UINT>(m_nDuration), FALSE);
  SaveSettings();
}

void CAlbumTitleCreditPage::OnEnableClicked() {
  ReadControls();
  EnableControls();
  SaveSettings();
}

void CAlbumTitleCreditPage::OnTextChanged() {
  if (!m_bLoading) SaveSettings();
}

void CAlbumTitleCreditPage::OnPreview() {
  SaveSettings();
  if (m_nNotifyMessage != 0)
    if (CWnd* parent = GetParent()) parent->PostMessage(m_nNotifyMessage, 0, 0);
}

LRESULT CAlbumTitleCreditPage::OnColorPicked(WPARAM, LPARAM) {
  SaveSettings();
  return 0;
}

HBRUSH CAlbumTitleCreditPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
  if (pWnd == nullptr || m_brushPage.GetSafeHandle() == nullptr) return brush;
  if (pWnd->GetDlgCtrlID() == IDC_TITLE_FONT_COLOR) return static_cast<HBRUSH>(m_brushPage.GetSafeHandle());
  char className[16] = {};
  ::GetClassName(pWnd->GetSafeHwnd(), className, sizeof className);
  const CString cls(className);
  if ((cls.CompareNoCase("Static") == 0 || cls.CompareNoCase("Button") == 0) && nCtlColor == CTLCOLOR_STATIC) {
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brushPage.GetSafeHandle());
  }
  return brush;
}

BOOL CAlbumTitleCreditPage::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_ORGANIZE_PAGE_2));
  return TRUE;
}

LRESULT CAlbumTitleCreditPage::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_TITLE_CREDIT_PAGE);
  Invalidate();
  return 1;
}
