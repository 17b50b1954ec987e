#include "render/EncodeOptParametersPage.h"

#include <cstring>
#include <vector>

#include "controls/FolderBrowseDlg.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/data/ProjectOptions.h"
#include "modules/log/Log.h"
#include "platform/com/OleAuto.h"
#include "platform/shellapi/ShellExecute.h"
#include "render/OutputPageRules.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxPropList.h"

namespace {

const UINT kPropertyChanged = PlxPropertyChangedMessage();
constexpr int kOptionsPerGroup = 4;
constexpr DWORD kPropListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;  // 0x50810000

// The profile whose options the page edits: the Blu-ray output has none in this program.
CAVOutputProfile* EditedProfile() {
  if (GetProject()->GetEmOutputType() == DVD_OUTPUT_BLURAY) return nullptr;
  return CDVDProject::GetAVOutputProfileManager()->Get_pActiveAVOutputProfile();
}

CString VariantText(const VARIANT& value) {
  if (value.vt == VT_BSTR) return CString(pictavo::com::BstrToUtf8(value.bstrVal).c_str());
  VARIANT text;
  VariantInit(&text);
  CString result;
  if (SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR)))
    result = pictavo::com::BstrToUtf8(text.bstrVal).c_str();
  VariantClear(&text);
  return result;
}

}  // namespace

IMPLEMENT_DYNCREATE(CEncodeOptParametersPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CEncodeOptParametersPage, CPropertyPage)
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_BN_CLICKED(IDC_OUTPUT_FOLDER_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_OUTPUT_FOLDER_OPEN, OnOpenFolder)
ON_BN_CLICKED(IDC_ANTI_FLICKER, OnAntiFlicker)
ON_CBN_SELCHANGE(IDC_PROFILE_LIST, OnSelchangeProfile)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
ON_MESSAGE(WM_REFILL_OUTPUT_PROFILES, OnProfileGroupChanged)
ON_MESSAGE(WM_APPLY_OUTPUT_PROFILE, OnApplyOutputProfile)
ON_REGISTERED_MESSAGE(kPropertyChanged, OnPropertyChanged)
END_MESSAGE_MAP()

CEncodeOptParametersPage::CEncodeOptParametersPage() : CPropertyPage(IDD_ENCODE_OPT_PARAMETERS) {}

CEncodeOptParametersPage::~CEncodeOptParametersPage() = default;

void CEncodeOptParametersPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PROFILE_LIST, m_profileList);
  DDX_Control(pDX, IDC_PARAMETERS_FRAME, m_parametersFrame);
  DDX_Text(pDX, IDC_OUTPUT_FOLDER, m_strOutputFolder);
  DDX_Check(pDX, IDC_ANTI_FLICKER, m_nAntiFlicker);
}

BOOL CEncodeOptParametersPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ENCODE_OPT_PARAMETERS);
  m_brBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_TAB_PAGE));

  m_pCurrentProfile = EditedProfile();
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  const CString& stored = GetAppSettings()->AVOutputProfile.OutputFolder;
  if (!stored.IsEmpty()) {
    m_strOutputFolder = stored;
    m_strCommittedFolder = stored;
    manager->Set_strOutputPath(stored);
  } else {
    m_strOutputFolder = manager->Get_strOutputPath();
    m_strCommittedFolder = m_strOutputFolder;
  }
  m_nAntiFlicker = GetProject()->GetOptionsData()->bAntiFlicker;

  CRect frame;
  m_parametersFrame.GetWindowRect(&frame);
  ScreenToClient(&frame);
  m_parametersFrame.ShowWindow(SW_HIDE);
  m_pPropList = std::make_unique<CPlxPropList>();
  m_pPropList->Create(kPropListStyle, frame, this, IDC_PARAMETERS_LIST);

  RebuildPropList();
  OnProfileGroupChanged();
  UpdateData(FALSE);
  return TRUE;
}

void CEncodeOptParametersPage::RebuildPropList() {
  if (m_pPropList == nullptr || m_pPropList->GetSafeHwnd() == nullptr) return;
  m_pPropList->RemoveAll();
  m_pPropList->EnableHeaderCtrl(FALSE, "Property", "Name");
  m_pPropList->SetGroupBackgroundLook(FALSE);
  m_pPropList->SetAlphabeticMode(FALSE);
  m_pPropList->m_bLiveDivider = TRUE;
  if (m_pCurrentProfile != nullptr) {
    AddOptionGroup(m_pCurrentProfile, 0, IDS_VIDEO_OPTIONS, false);
    AddOptionGroup(m_pCurrentProfile, kOptionsPerGroup, IDS_AUDIO_OPTIONS, true);
  }
  CRect rect;
  m_pPropList->GetWindowRect(&rect);
  ScreenToClient(&rect);
  InvalidateRect(&rect);
}

void CEncodeOptParametersPage::AddOptionGroup(CAVOutputProfile* pProfile, int nFirst, UINT nCaption,
                                              bool bAudio) {
  auto group = std::make_unique<CPlxProp>(LoadLangString(nCaption), 0, FALSE);
  bool any = false;
  for (int i = nFirst; i < nFirst + kOptionsPerGroup; ++i) {
    _AV_OUTPUT_OPTION* option = pProfile->GetOption(i);
    if (option == nullptr || (option->dwFlags & AVOPT_SHOWN) == 0) continue;
    const CString name = TranslateDictionaryWord(option->strName);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = pictavo::com::AllocBstr(option->strValue.View());
    // An empty valid-characters text of an audio option is handed on as one blank.
    const CString validChars =
        bAudio && option->strValidChars.IsEmpty() ? CString(" ") : option->strValidChars;
    auto* prop = new CPlxProp(name, value, name, reinterpret_cast<DWORD_PTR>(option), option->strEditMask,
                              option->strEditTemplate, validChars);
    VariantClear(&value);
    for (int c = 0; c < option->arrChoices.GetSize(); ++c) prop->AddOption(option->arrChoices[c], TRUE);
    if (option->dwFlags & AVOPT_READONLY) prop->Enable(FALSE);
    prop->m_bAllowEdit = (option->dwFlags & AVOPT_TYPING) != 0 ? AVOPT_TYPING : 0;
    option->pProperty = prop;
    group->AddSubItem(prop);
    any = true;
  }
  if (any) m_pPropList->AddProperty(group.release(), TRUE, TRUE);
}

void CEncodeOptParametersPage::EnableProfileControls(BOOL bEnable) {
  for (int id : {IDC_OUTPUT_FOLDER_LABEL, IDC_OUTPUT_FOLDER, IDC_OUTPUT_FOLDER_BROWSE, IDC_OUTPUT_FOLDER_OPEN,
                 IDC_PROFILE_LABEL, IDC_PROFILE_LIST})
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(bEnable);
}

LRESULT CEncodeOptParametersPage::OnProfileGroupChanged(WPARAM, LPARAM) {
  m_profileList.ResetContent();
  if (GetProject()->GetEmOutputType() == DVD_OUTPUT_BLURAY) return 1;  // no Blu-ray profile here
  CAVOutputProfileGroup* group = CDVDProject::GetAVOutputProfileManager()->Get_pActiveProfileGroup();
  if (group == nullptr) return 1;
  const CAVOutputProfile* active = group->Get_pActiveAVOutputProfile();
  int activeEntry = -1;
  for (int i = 0; i < group->Get_nProfileCount(); ++i) {
    CAVOutputProfile* profile = group->Get_pProfileArray(i);
    if (profile == nullptr) continue;
    const int entry = m_profileList.AddString(profile->Get_strFormatDescLong());
    m_profileList.SetItemDataPtr(entry, profile);
    if (profile == active) activeEntry = entry;
  }
  EnableProfileControls(TRUE);
  if (activeEntry >= 0) {
    m_profileList.SetCurSel(activeEntry);
    OnSelchangeProfile();
  }
  return 1;
}

void CEncodeOptParametersPage::OnSelchangeProfile() {
  const int entry = m_profileList.GetCurSel();
  if (entry < 0) return;
  auto* profile = static_cast<CAVOutputProfile*>(m_profileList.GetItemDataPtr(entry));
  if (profile == nullptr || profile == m_pCurrentProfile) return;
  m_pCurrentProfile = profile;
  if (GetProject()->GetEmOutputType() != DVD_OUTPUT_BLURAY) {
    if (CAVOutputProfileGroup* group = CDVDProject::GetAVOutputProfileManager()->Get_pActiveProfileGroup())
      group->Set_pActiveAVOutputProfile(profile);
    profile->Reset();
  }
  if (m_pPropList != nullptr && m_pPropList->GetSafeHwnd() != nullptr) RebuildPropList();
}

LRESULT CEncodeOptParametersPage::OnPropertyChanged(WPARAM, LPARAM lParam) {
  CAVOutputProfile* profile = EditedProfile();
  auto* changed = reinterpret_cast<CObject*>(lParam);
  if (profile == nullptr || changed == nullptr || !changed->IsKindOf(RUNTIME_CLASS(CPlxProp))) return 1;
  auto* prop = static_cast<CPlxProp*>(changed);
  for (int i = 0; i < AVOPT_COUNT; ++i) {
    _AV_OUTPUT_OPTION* option = profile->GetOption(i);
    if (option == nullptr || (option->dwFlags & AVOPT_SHOWN) == 0 || option->pProperty != prop) continue;
    output_page::TakeOptionText(*option, VariantText(prop->GetValue()));
  }
  return 1;
}

BOOL CEncodeOptParametersPage::SaveOutputFolder() {
  UpdateData(TRUE);
  if (m_pPropList != nullptr && m_pPropList->GetSafeHwnd() != nullptr) {
    m_pPropList->EndEditItem(TRUE);
    m_pPropList->SetCurSel(nullptr, TRUE);
  }
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  CString text = m_strOutputFolder;
  text.Trim();
  if (text.IsEmpty()) text = manager->Get_strOutputPath();
  char buffer[MAX_PATH] = {};
  std::strncpy(buffer, text, sizeof buffer - 1);
  SanitizePath(buffer, '_', TRUE, sizeof buffer);
  text = buffer;
  m_strOutputFolder = text;
  if (text.CompareNoCase(m_strCommittedFolder) == 0 &&
      text.CompareNoCase(manager->Get_strOutputPath()) == 0) {
    CDVDProject::CreateAllDirectories(text);
    UpdateData(FALSE);
    return 1;
  }
  m_strCommittedFolder = text;
  manager->Set_strOutputPath(text);
  CAVOutputProfileSettings& settings = GetAppSettings()->AVOutputProfile;
  settings.OutputFolder = manager->Get_strOutputPath();
  settings.Save();
  UpdateData(FALSE);
  CDVDProject::CreateAllDirectories(text);
  return 1;
}

BOOL CEncodeOptParametersPage::CommitOutputFolderForOutput() {
  SaveOutputFolder();
  CAVOutputProfileManager* manager = CDVDProject::GetAVOutputProfileManager();
  const CAVOutputProfileGroup* group = manager->Get_pActiveProfileGroup();
  const CString folder = output_page::OutputFolderOf(
      GetProject()->GetEmOutputType(), GetProject()->Get_strTempFilePath(), manager->Get_strOutputPath(),
      group != nullptr ? group->Get_strGroupFolderName().GetString() : nullptr);
  const CString problem = output_page::OutputFolderProblem(folder);
  if (problem.IsEmpty()) return TRUE;
  WriteErrorLog("The output folder %s is not usable: %s", folder.GetString(), problem.GetString());
  CString text;
  text.Format(LoadLangString(IDS_OUTPUT_FOLDER_UNUSABLE), folder.GetString(), problem.GetString());
  MessageBoxText(text, MB_OK | MB_ICONERROR);
  if (CWnd* edit = GetDlgItem(IDC_OUTPUT_FOLDER)) edit->SetFocus();
  return FALSE;
}

LRESULT CEncodeOptParametersPage::OnApplyOutputProfile(WPARAM, LPARAM) {
  return CommitOutputFolderForOutput();
}

void CEncodeOptParametersPage::OnBrowse() {
  SaveOutputFolder();
  CFolderBrowseDlg dlg(m_strOutputFolder, 0, this);
  if (dlg.DoModal() != IDOK) return;
  m_strOutputFolder = dlg.GetFolderPath();
  UpdateData(FALSE);
  SaveOutputFolder();
}

void CEncodeOptParametersPage::OnOpenFolder() {
  SaveOutputFolder();
  ShellExecuteA(nullptr, "open", m_strOutputFolder, nullptr, nullptr, SW_SHOWNORMAL);
}

void CEncodeOptParametersPage::OnAntiFlicker() {
  UpdateData(TRUE);
  _PROJECT_OPTIONS_DATA* options = GetProject()->GetOptionsData();
  if (m_nAntiFlicker == options->bAntiFlicker) return;
  options->bAntiFlicker = m_nAntiFlicker;
  GetProject()->SetAllEncodeDirty();
}

LRESULT CEncodeOptParametersPage::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_ENCODE_OPT_PARAMETERS);
  Invalidate();
  RebuildPropList();
  return 1;
}

void CEncodeOptParametersPage::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, GetSkinColor(SKIN_COLOR_TAB_PAGE));
}

HBRUSH CEncodeOptParametersPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor != CTLCOLOR_STATIC) return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(m_brBackground.GetSafeHandle());
}
