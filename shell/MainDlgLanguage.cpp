// The main window's language commands (View > Language), its re-translation after a switch, and
// the environment checks it posts itself at start-up.
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Ini.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/mfc/CmdUI.h"
#include "shell/DirectXProbe.h"
#include "shell/EnvironmentChecks.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "shell/MainDlg.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/SlideshowApp.h"

namespace {

constexpr UINT IDS_DIRECTX_MISSING = 265;
constexpr UINT IDS_FLASH_MISSING = 281;
constexpr int kViewPopup = 4;
constexpr int kLanguageItem = 4;
constexpr DWORD kFlashVersion9 = 0x90000;

// The icon menu draws its items from records of its own: translated texts go there.
class CIconMenuTextOwner : public CMenuTextOwner {
 public:
  void SetTranslatedMenuText(HMENU hPopup, UINT nPosition, LPCTSTR lpszText) override {
    static_cast<CIconMenu*>(CMenu::FromHandle(hPopup))->SetMenuText(nPosition, lpszText, MF_BYPOSITION);
  }
};

CMenuTextOwner* FindIconMenuTextOwner(HMENU hPopup) {
  static CIconMenuTextOwner owner;
  return CIconMenu::IsOwnMenuHandle(hPopup) ? &owner : nullptr;
}

CString LanguageFolder() {
  return CDVDProject::GetExeFilePath() + "/lang";
}

}  // namespace

void InstallMenuTranslation() {
  SetMenuTextOwnerFinder(&FindIconMenuTextOwner);
}

CMenu* CMainDlg::GetLanguageMenu() {
  CMenu* bar = GetMenu();
  CMenu* view = bar != nullptr ? bar->GetSubMenu(kViewPopup) : nullptr;
  return view != nullptr ? view->GetSubMenu(kLanguageItem) : nullptr;
}

void CMainDlg::BuildLanguageMenu() {
  std::vector<LanguageFileEntry>& files = GetLanguageFiles();
  files.clear();
  CMenu* menu = GetLanguageMenu();
  if (menu == nullptr) return;
  files = FindLanguageFiles(LanguageFolder());
  for (const LanguageFileEntry& entry : files)
    menu->AppendMenu(MF_STRING, static_cast<UINT_PTR>(entry.nCommandID), entry.strDisplayName);
  CIconMenu::UpdateMenu(&m_mainMenu);
}

BOOL CMainDlg::OnLanguageSelect(UINT nID) {
  const std::vector<LanguageFileEntry>& files = GetLanguageFiles();
  const size_t index = nID - ID_LANGUAGE_FIRST;
  if (index >= files.size()) return TRUE;
  BeginWaitCursor();
  g_languageSettings.LanguageAuto = 0;
  g_languageSettings.LangIniFile = files[index].strFileName;
  ApplyLanguageEverywhere();
  EndWaitCursor();
  return TRUE;
}

void CMainDlg::OnUpdateLanguage(CCmdUI* pCmdUI) {
  const std::vector<LanguageFileEntry>& files = GetLanguageFiles();
  const size_t index = pCmdUI->m_nID - ID_LANGUAGE_FIRST;
  const bool current = pCmdUI->m_nID >= ID_LANGUAGE_FIRST && index < files.size() &&
                       files[index].strFileName.CompareNoCase(GetLangIniFile()) == 0;
  pCmdUI->SetCheck(current ? 1 : 0);
}

void CMainDlg::OnLanguageAuto() {
  BeginWaitCursor();
  g_languageSettings.LanguageAuto = 1;
  const CString key = LanguageLookupKey(GetSystemDefaultLangID());
  const CString lookup(pictavo::path::ResolveNoCase((LanguageFolder() + "/language_lookup.ini").View()));
  char value[8192] = {};
  GetPrivateProfileString("LANGUAGE", key, "", value, sizeof value, lookup);
  // A lookup entry naming a file that is not there would leave the program without its texts.
  const CString chosen(pictavo::path::ResolveNoCase((LanguageFolder() + "/" + value).View()));
  if (value[0] != '\0' && GetFileAttributes(chosen) != INVALID_FILE_ATTRIBUTES)
    g_languageSettings.LangIniFile = value;
  else if (value[0] != '\0')
    WriteLog("Language file %s of the system language %s is missing.", value, key.GetString());
  ApplyLanguageEverywhere();
  EndWaitCursor();
}

void CMainDlg::OnUpdateLanguageAuto(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(GetLanguageAuto() != 0 ? 1 : 0);
}

void CMainDlg::ApplyLanguageEverywhere() {
  OnLanguageChanged(0, 0);
  SendMessageToDescendants(WM_LANGUAGE_CHANGED, 0, 0, TRUE, TRUE);
}

LRESULT CMainDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_MAIN_DIALOG);
  const CString exeFolder = CDVDProject::GetExeFilePath();
  const CString skinFile = GetSkinFileName();
  GetSkinMinor()->Reload(exeFolder, skinFile);
  g_skinMain.Reload(exeFolder, skinFile);
  DestroyBlankImageMenu();
  m_mainMenu.DestroyMenu();
  m_mainMenu.SetBitmapBackground(RGB(255, 255, 255));
  m_mainMenu.LoadMenu(IDR_MAIN_MENU);
  TranslateMenu(m_mainMenu.GetSafeHmenu(), 0);
  m_mainMenu.LoadToolbar(IDR_MAIN_MENU_IMAGES);
  SetMenu(&m_mainMenu);
  BuildLanguageMenu();
  BuildBlankImageMenu();
  BuildCreateMenu();
  DrawMenuBar();
  if (theApp.GetProjectPath().IsEmpty()) UpdateWindowTitle();
  RefreshOutputPane();
  UpdateStatusText();
  return 1;
}

void CMainDlg::FillTranslatorCredits(CWnd* pWnd) {
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return;
  pWnd->SetWindowText(TranslatorCreditsText(LanguageFolder(), GetLanguageFiles()));
}

// Environment checks.

LRESULT CMainDlg::OnCheckEnvironment(WPARAM, LPARAM) {
  DWORD version = 0;
  char text[10] = {};
  const HRESULT result = GetDirectXVersion(&version, text, 10);
  BOOL ready = FALSE;
  const CString description = DescribeDirectX(result, version, text, &ready);
  WriteLog("DirectX Version: 0x%08X | %s", static_cast<unsigned>(version), text);
  g_bDirectXReady = ready;
  if (!ready) g_strDirectXMessage.Format(LoadLangString(IDS_DIRECTX_MISSING), description.GetString());
  // Nothing here plays through a Flash control, so its absence is noted, not put to the user.
  if (GetFlashOCXVersion() < kFlashVersion9) WriteLog("%s", LoadLangString(IDS_FLASH_MISSING).GetString());
  return 0;
}

LRESULT CMainDlg::OnCheckOsVersion(WPARAM, LPARAM) {
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionEx(&info)) return 1;
  // The platform reports its kernel in these fields; only Windows 2000 and XP need the warning.
  const bool windows = CString(info.szCSDVersion).Left(6) != "Linux ";
  if (windows && info.dwMajorVersion == 5 && info.dwMinorVersion <= 1)
    g_nOsMinorVersion = static_cast<int>(info.dwMinorVersion);
  g_nServicePack = ServicePackFromText(info.szCSDVersion);
  return 1;
}
