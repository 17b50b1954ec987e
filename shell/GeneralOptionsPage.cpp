#include "shell/GeneralOptionsPage.h"

#include <cstring>
#include <string>

#include "controls/FolderBrowseDlg.h"
#include "modules/data/DVDProject.h"
#include "platform/kernel/Process.h"
#include "platform/mfc/DataExchange.h"
#include "platform/shellapi/ShellExecute.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/ProcessObjects.h"

using options_logic::GeneralPageValues;

namespace {

constexpr UINT_PTR kDiskSpaceTimer = 1;

const char* const kPlaybackItems[] = {
    "Back to menu",
    "Play next album, back to menu at the end of last album",
    "Play next album, back to first at the end of last album",
    "Play current album repeatly",
};

// Starts a program from a command line without waiting for it; FALSE when it could not start.
BOOL StartDetached(const std::string& commandLine) {
  std::string line = commandLine;
  STARTUPINFO startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
    return FALSE;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CGeneralOptionsPage, CPropertyPage)
ON_BN_CLICKED(IDC_GENERAL_BROWSE_FOLDER, OnBrowseTempFolder)
ON_BN_CLICKED(IDC_GENERAL_CLEAN_MANAGER, OnCleanManager)
ON_BN_CLICKED(IDC_GENERAL_REMOVE_TEMP, OnRemoveTempFolders)
ON_BN_CLICKED(IDC_GENERAL_OPEN_FOLDER, OnOpenTempFolder)
ON_WM_TIMER()
ON_WM_DESTROY()
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CGeneralOptionsPage::CGeneralOptionsPage() : CPropertyPage(IDD_GENERAL_OPTIONS) {
  m_tvPage.m_bEmbedded = TRUE;
}

CGeneralOptionsPage::~CGeneralOptionsPage() = default;

void CGeneralOptionsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_GENERAL_TEMP_FOLDER, m_strFolder);
  DDX_Text(pDX, IDC_GENERAL_FREE_MB, m_strFree);
  DDX_Text(pDX, IDC_GENERAL_TOTAL_MB, m_strTotal);
  DDX_CBIndex(pDX, IDC_GENERAL_PLAYBACK, m_nPlaybackIndex);
  DDX_Check(pDX, IDC_GENERAL_USE_MENU, m_bUseDVDMenu);
  DDX_Check(pDX, IDC_GENERAL_PLAY_AFTER_MENU, m_bPlayAfterMenu);
}

void CGeneralOptionsPage::FillPlaybackList() {
  CWnd* combo = GetDlgItem(IDC_GENERAL_PLAYBACK);
  if (combo == nullptr) return;
  combo->SendMessage(CB_RESETCONTENT, 0, 0);
  for (const char* item : kPlaybackItems) combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

BOOL CGeneralOptionsPage::OnInitDialog() {
  FillPlaybackList();
  CPropertyPage::OnInitDialog();
  m_tvPage.Create(IDD_BURN_OPTION_TV, this);
  TranslateDialog(m_hWnd, IDD_GENERAL_OPTIONS);
  if (CWnd* frame = GetDlgItem(IDC_GENERAL_TV_FRAME)) {
    CRect place;
    frame->GetWindowRect(&place);
    ScreenToClient(&place);
    m_tvPage.SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE);
  }
  m_tvPage.ShowWindow(SW_SHOW);

  m_settings = GetAppSettings()->General;
  m_strFolder = m_settings.TempFolder;
  m_nPlaybackIndex = options_logic::PlaybackIndex(m_settings.PlaybackMode);
  m_bUseDVDMenu = m_settings.UseDVDMenu;
  m_bPlayAfterMenu = m_settings.PlaySlideshowAfterPlayingMenu;
  m_tvPage.SetTVOptions(options_logic::TvFromSettings(m_settings));

  ULONGLONG total = 0, free = 0;
  GetDiskFreeSpaceInfo(m_strFolder, &total, &free);
  m_strTotal = options_logic::MegabytesText(total);
  m_strFree = options_logic::MegabytesText(free);
  UpdateData(FALSE);
  m_nTimer = SetTimer(kDiskSpaceTimer, 1000, nullptr);

  // The disc-menu and TV choices have no meaning for the video files this program writes: they
  // are shown, not offered.
  for (int id : {IDC_GENERAL_MENU_GROUP, IDC_GENERAL_USE_MENU, IDC_GENERAL_PLAY_AFTER_MENU,
                 IDC_GENERAL_PLAYBACK_LABEL, IDC_GENERAL_PLAYBACK, IDC_GENERAL_TV_FRAME})
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(FALSE);
  for (HWND child = ::GetWindow(m_tvPage.GetSafeHwnd(), GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT))
    ::EnableWindow(child, FALSE);
  m_tvPage.EnableWindow(FALSE);
  m_opened = ShownValues();
  return TRUE;
}

GeneralPageValues CGeneralOptionsPage::ShownValues() {
  GeneralPageValues values;
  m_tvPage.GetTVOptions(values.tv);
  values.nPlaybackMode = m_nPlaybackIndex;
  values.bUseDVDMenu = m_bUseDVDMenu;
  values.bPlaySlideshowAfterMenu = m_bPlayAfterMenu;
  return values;
}

void CGeneralOptionsPage::UpdateDiskSpace() {
  // Only the two figures are written back: the folder edit keeps its caret while the user types.
  m_strFolder = pictavo::user::WindowText(::GetDlgItem(m_hWnd, IDC_GENERAL_TEMP_FOLDER));
  ULONGLONG total = 0, free = 0;
  GetDiskFreeSpaceInfo(m_strFolder, &total, &free);
  m_strTotal = options_logic::MegabytesText(total);
  m_strFree = options_logic::MegabytesText(free);
  SetDlgItemText(IDC_GENERAL_TOTAL_MB, m_strTotal);
  SetDlgItemText(IDC_GENERAL_FREE_MB, m_strFree);
}

void CGeneralOptionsPage::OnBrowseTempFolder() {
  UpdateData(TRUE);
  CFolderBrowseDlg dialog(m_strFolder, 0, this);
  if (dialog.DoModal() != IDOK) return;
  m_strFolder = dialog.GetFolderPath();
  UpdateData(FALSE);
  UpdateDiskSpace();
  CDVDProject* project = GetProject();
  if (m_strFolder.CompareNoCase(project->Get_strTempFilePath()) != 0) {
    project->Put_strTempFilePathBase(m_strFolder);
    project->ResetTempFilePath();
  }
}

void CGeneralOptionsPage::OnCleanManager() {
  // The system's own clean-up first; where there is none, the desktop's disk-usage analyser on
  // the temporary folder, so the user can see what takes the space.
  if (StartDetached("cleanmgr.exe /r")) return;
  UpdateData(TRUE);
  for (const char* analyser : {"baobab", "filelight", "qdirstat"}) {
    const std::string program = std::string(analyser) + " \"" + m_strFolder.Str() + "\"";
    if (StartDetached(program)) return;
  }
}

void CGeneralOptionsPage::OnRemoveTempFolders() {
  if (AfxMessageBox(LoadLangString(IDS_REMOVE_TEMP_FOLDERS), MB_YESNO | MB_ICONEXCLAMATION) == IDNO) return;
  UpdateData(TRUE);
  CleanTempFolders(m_strFolder);
  UpdateDiskSpace();
}

void CGeneralOptionsPage::OnOpenTempFolder() {
  UpdateData(TRUE);
  ShellExecuteA(m_hWnd, "open", m_strFolder, nullptr, nullptr, SW_SHOWNORMAL);
}

void CGeneralOptionsPage::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kDiskSpaceTimer) UpdateDiskSpace();
}

void CGeneralOptionsPage::OnDestroy() {
  if (m_nTimer != 0) {
    KillTimer(m_nTimer);
    m_nTimer = 0;
  }
  CPropertyPage::OnDestroy();
}

LRESULT CGeneralOptionsPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
  TranslateDialog(m_hWnd, IDD_GENERAL_OPTIONS);
  m_tvPage.SendMessage(WM_LANGUAGE_CHANGED, wParam, lParam);
  return 0;
}

void CGeneralOptionsPage::OnOK() {
  UpdateData(TRUE);
  m_settings.PlaybackMode = m_nPlaybackIndex;
  m_settings.UseDVDMenu = m_bUseDVDMenu;
  m_settings.PlaySlideshowAfterPlayingMenu = m_bPlayAfterMenu;
  m_settings.TempFolder = m_strFolder;
  const GeneralPageValues now = ShownValues();
  options_logic::TvToSettings(now.tv, m_settings);
  CGeneralSettings& general = GetAppSettings()->General;
  general = m_settings;
  general.Save();

  CDVDProject* project = GetProject();
  const _PROJECT_OPTIONS_DATA current = *project->GetOptionsData();
  const _PROJECT_OPTIONS_DATA changed = options_logic::MergeIntoProject(current, m_opened, now);
  if (std::memcmp(&changed, &current, sizeof current) != 0) {
    project->SetProjectOptionsData(changed);
    project->SetAllEncodeDirty();
    if (auto* mainDlg = static_cast<CMainDlg*>(GetWindowRegistry()->m_pMainDlg);
        mainDlg != nullptr && ::IsWindow(mainDlg->GetSafeHwnd()))
      mainDlg->PostProjectReloaded();
  }
  if (changed.nAspectCorrection != current.nAspectCorrection) PostTvAspectChanged();
}
