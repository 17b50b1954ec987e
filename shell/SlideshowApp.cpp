#include "shell/SlideshowApp.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/data/SingleFlag.h"
#include "modules/data/TimelineProject.h"
#include "modules/data/ZwQuery.h"
#include "modules/files/Files.h"
#include "modules/log/Log.h"
#include "platform/com/AxHost.h"
#include "platform/com/Com.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Time.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/shellapi/ShellExecute.h"
#include "platform/user/Cursor.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "render/PhotoCache.h"
#include "shell/AlbumPageServices.h"
#include "shell/AppSettings.h"
#include "shell/DiscMenuGlobals.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "shell/MainDlg.h"
#include "shell/ProcessObjects.h"
#include "shell/RegistrySettingsStore.h"
#include "shell/SplashScreenWnd.h"
#include "shell/TransitionList.h"
#include "shell/UIHelpers.h"
#include "shell/WebTemplateManager.h"

namespace fs = std::filesystem;

// The output command's re-entry flag: held while a video is written.
CWyxSingleFlag g_burnWriteFlag("ButtonBurnWritePressed");

namespace {

constexpr const char* kProductVersion = "8.05";
constexpr int kBuildNumber = 1805;
constexpr ULONGLONG kLargestKeptLog = 1048576;
constexpr const char* kProjectExtension = "r7m";
constexpr DWORD kProjectPathBufferSize = 2048;

constexpr UINT ID_LANGUAGE_AUTO = 33990;
constexpr UINT ID_LANGUAGE_ENGLISH = 33991;
constexpr UINT ID_LANGUAGE_JAPANESE = 33992;
constexpr UINT ID_LANGUAGE_SIMPCHINESE = 33993;
constexpr UINT IDS_SOCKETS_INIT_FAILED = 103;
constexpr UINT IDS_PREVIOUS_INSTANCE_UNREACHABLE = 268;
constexpr UINT IDS_RESTART_FOR_LANGUAGE = 57539;

// Network sockets are usable in this process.
bool SocketsAvailable() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  close(fd);
  return true;
}

// A log file larger than the limit is deleted before it is opened again.
void OpenProgramLog() {
  const std::string path =
      pictavo::path::Join(pictavo::path::ToNative(GetProject()->Get_strTempFilePathBase().View()), "zel.log");
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (!ec && size > kLargestKeptLog) CZwQuery::DeleteFileFromFileName(path.c_str(), 1);
  OpenLogFile(path.c_str());
}

void MarkCurrentRunFolder() {
  MarkProgramTempFolder(GetProject()->Get_strTempFilePath());
}

}  // namespace

CSlideshowApp theApp;
CTimelineProject* g_pTimelineProject = nullptr;

void CSlideshowCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) {
  if (bFlag && strcasecmp(pszParam, "setup") == 0) {
    m_bResetOptions = TRUE;
    ParseLast(bLast);
    return;
  }
  CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
}

BEGIN_MESSAGE_MAP(CSlideshowApp, CWinApp)
ON_COMMAND(ID_LANGUAGE_AUTO, OnLanguageAuto)
ON_UPDATE_COMMAND_UI(ID_LANGUAGE_AUTO, OnUpdateLanguageAuto)
ON_COMMAND(ID_LANGUAGE_ENGLISH, OnLanguageEnglish)
ON_COMMAND(ID_LANGUAGE_JAPANESE, OnLanguageJapanese)
ON_COMMAND(ID_LANGUAGE_SIMPCHINESE, OnLanguageSimpChinese)
ON_UPDATE_COMMAND_UI(ID_LANGUAGE_ENGLISH, OnUpdateLanguageEnglish)
ON_UPDATE_COMMAND_UI(ID_LANGUAGE_JAPANESE, OnUpdateLanguageJapanese)
ON_UPDATE_COMMAND_UI(ID_LANGUAGE_SIMPCHINESE, OnUpdateLanguageSimpChinese)
ON_COMMAND(ID_HELP, OnHelpContents)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CSlideshowApp::CSlideshowApp() : CPlxWorkspace(FALSE) {
  g_pWebTemplateManager = new CWebTemplateManager;
}

CSlideshowApp::~CSlideshowApp() {
  delete g_pWebTemplateManager;
  g_pWebTemplateManager = nullptr;
}

CString CSlideshowApp::PickRandomMenuTemplate() {
  static const char* const kTemplates[] = {"00party.xml", "19basic.xml", "64Xmas.xml", "69Vacation.xml"};
  srand(GetTickCount());
  return kTemplates[rand() % 4];
}

BOOL CSlideshowApp::EnsureBlankImage() {
  GetBlankImagePath();
  return TRUE;
}

HIMAGELIST CSlideshowApp::GetSystemImageListSmall() const {
  return pictavo::comctl::SystemImageList(true);
}

HIMAGELIST CSlideshowApp::GetSystemImageListLarge() const {
  return pictavo::comctl::SystemImageList(false);
}

BOOL CSlideshowApp::AddCurrentProjectToRecent() {
  AddToRecentFileList(m_strProjectPath);
  return TRUE;
}

BOOL CSlideshowApp::AddRecentProject(LPCTSTR lpszPath) {
  AddToRecentFileList(lpszPath);
  return TRUE;
}

BOOL CSlideshowApp::ResetRecentFileList() {
  CRecentFileList* const list = m_pRecentFileList;
  if (list == nullptr) return TRUE;
  BeginWaitCursor();
  CWnd* const mainWnd = GetMainWnd();
  const HWND hwnd = mainWnd ? mainWnd->GetSafeHwnd() : nullptr;
  const HMENU fileMenu = hwnd ? GetSubMenu(GetMenu(hwnd), 0) : nullptr;
  for (int i = list->GetSize() - 1; i >= 0; --i) {
    list->Remove(i);
    if (fileMenu == nullptr) continue;
    // The dialog fills its popups as they open; asking it again rebuilds "Recent Files".
    const int count = GetMenuItemCount(fileMenu);
    for (int item = 0; item < count; ++item) {
      const HMENU popup = GetSubMenu(fileMenu, item);
      if (popup != nullptr)
        ::SendMessage(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(item, FALSE));
    }
  }
  list->WriteList();
  EndWaitCursor();
  return TRUE;
}

BOOL CSlideshowApp::ChooseProjectSavePath(CString& path) {
  path.Empty();
  CString filter;
  filter.Format("%s Project File(*.%s|*.%s||", GetProductTitle().GetString(), kProjectExtension,
                kProjectExtension);
  // The record size of the older systems' dialog when the high bit says so.
  const DWORD recordSize = (GetVersion() & 0x80000000u) ? 76 : 88;
  CFileDialog dialog(FALSE, kProjectExtension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter,
                     nullptr, recordSize);
  std::vector<char> buffer(kProjectPathBufferSize, '\0');
  dialog.m_ofn.lpstrFile = buffer.data();
  dialog.m_ofn.nMaxFile = kProjectPathBufferSize;
  if (dialog.DoModal() != IDOK) return FALSE;
  path = dialog.GetPathName();
  return TRUE;
}

BOOL CSlideshowApp::SetBusy(BOOL bBusy) {
  bool& running = m_bSettingBusy[bBusy ? 1 : 0];
  if (running) return TRUE;
  CWnd* const mainWnd = GetMainWnd();
  const HWND hwnd = mainWnd ? mainWnd->GetSafeHwnd() : nullptr;
  if (hwnd == nullptr) return FALSE;
  running = true;
  const auto cursor = reinterpret_cast<LONG_PTR>(::LoadCursor(nullptr, bBusy ? IDC_WAIT : IDC_ARROW));
  // Depth first: each child, then its own children, then the next sibling.
  const auto setBelow = [cursor](auto& self, HWND parent) -> void {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      SetClassLongPtr(child, GCLP_HCURSOR, cursor);
      self(self, child);
    }
  };
  setBelow(setBelow, hwnd);
  running = false;
  return TRUE;
}

void CSlideshowApp::FlushInputMessages() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0x0200, 0x0209, PM_REMOVE)) {
  }
  while (PeekMessage(&msg, nullptr, 0x0100, 0x0108, PM_REMOVE)) {
  }
}

void CSlideshowApp::OnHelpContents() {
  // The help pages are installed beside the program; without them (or without anything that can
  // show them) the command does nothing.
  const CString page = CDVDProject::GetExeFilePath() + "\\help\\index.html";
  ShellExecute(nullptr, "open", page, nullptr, nullptr, SW_SHOWNORMAL);
}

void CSlideshowApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
  CWinApp::OnUpdateRecentFileMenu(pCmdUI);
}

BOOL CSlideshowApp::OnOpenRecentFile(UINT nID) {
  CRecentFileList* const list = m_pRecentFileList;
  const int index = static_cast<int>(nID) - ID_FILE_MRU_FILE1;
  if (list == nullptr || index < 0 || index >= list->GetSize()) return TRUE;
  // A copy: opening the project puts it first in the list, which moves the entries.
  const CString path = (*list)[index];
  CWnd* const mainWnd = GetMainWnd();
  if (!path.IsEmpty() && mainWnd != nullptr && mainWnd->GetSafeHwnd() != nullptr && g_pMainDlg != nullptr)
    g_pMainDlg->OpenProjectFile(path);
  return TRUE;
}

void CSlideshowApp::SetFixedLanguage(LPCTSTR lpszName) {
  g_languageSettings.language = lpszName;
  AfxMessageBox(LoadLangString(IDS_RESTART_FOR_LANGUAGE));
}

void CSlideshowApp::OnLanguageEnglish() {
  SetFixedLanguage("English");
}

void CSlideshowApp::OnLanguageJapanese() {
  SetFixedLanguage("Janpanese");
}

void CSlideshowApp::OnLanguageSimpChinese() {
  SetFixedLanguage("simpChinese");
}

void CSlideshowApp::OnUpdateLanguageEnglish(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(g_languageSettings.language.CompareNoCase("English") == 0);
}

void CSlideshowApp::OnUpdateLanguageJapanese(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(g_languageSettings.language.CompareNoCase("Janpanese") == 0);
}

void CSlideshowApp::OnUpdateLanguageSimpChinese(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(g_languageSettings.language.CompareNoCase("simpChinese") == 0);
}

void CSlideshowApp::LogVersionInformation() {
  WriteLog("Software Information:");
  WriteLog("\tProgram Name: %s", GetProductTitle().GetString());
  WriteLog("\tVersion: %s", kProductVersion);
  WriteLog("\tBuild Number: %d", kBuildNumber);

  // The running kernel's numbers, in the platform's terms.
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionEx(&info)) return;
  char servicePack[128] = {};
  std::snprintf(servicePack, sizeof servicePack, "%.127s", info.szCSDVersion);
  WriteLog("Windows Version Information:");
  WriteLog("\tMajor Version = %d", static_cast<int>(info.dwMajorVersion));
  WriteLog("\tMinor Version = %d", static_cast<int>(info.dwMinorVersion));
  WriteLog("\tBuild Number = %d", static_cast<int>(info.dwBuildNumber));
  WriteLog("\tPlatform Id = %d", static_cast<int>(info.dwPlatformId));
  WriteLog("\tVersion  = %s", servicePack);
  if (info.dwPlatformId == 1) WriteLog(info.dwMinorVersion != 0 ? "\tWindows 98" : "\tWindows 95");
  if (info.dwPlatformId == 2) WriteLog("\tWIN NT or XP");
}

BOOL CSlideshowApp::InitInstance() {
  // COM and control hosting.
  OleInitialize(nullptr);
  CoInitialize(nullptr);
  AtlAxWinInit();

  Zorv_RegisterModule("Talvane", 0, "Talvane");

  CDVDProject::g_m_strYUVDumpPipeName = "\\\\.\\pipe\\zorv_vqrtz_yuv420_pp";
  CDVDProject::g_m_strPCMDumpPipeName = "\\\\.\\pipe\\zorv_vqrtz_pcm_pp";
  CDVDProject::g_m_strMPEG2DumpPipeName = "\\\\.\\pipe\\zorv_vqrtz_mpeg2enc_pp";
  CDVDProject::g_m_strMKISODumpPipeName = "\\\\.\\pipe\\zorv_vqrtz_mkiso_pp";

  {
    CRegistrySettingsStore store(HKEY_CURRENT_USER, LANGUAGE_SETTINGS_KEY);
    g_languageSettings.Load(store);
  }

  char title[260] = {};
  std::strncpy(title, GetProductTitle().GetString(), sizeof title - 1);
  free(const_cast<char*>(m_pszAppName));
  m_pszAppName = strdup(title);
  SetRegistryKey("");
  LoadStdProfileSettings(12);

  WNDCLASS dialogClass{};
  if (GetClassInfo(AfxGetInstanceHandle(), "#32770", &dialogClass)) {
    dialogClass.lpszClassName = "PictavoMainFrameClass";
    AfxRegisterClass(&dialogClass);
  }

  CDVDProject* project = GetProject();
  CDVDProject::SetRunPhotoToVideoMode(1);
  CAVOutputProfile::SetProcProfileTranslateDictionary(TranslateDictionaryWord);
  CDVDProject::SetGlobalDVDProject(project);
  CDVDProject::SetDefaultDVDMenuTemplate("19basic.xml");
  CDVDProject::SetProjectExtName("r7m");
  project->SetMenuTemplateName(PickRandomMenuTemplate());
  CDVDAlbumMovie::SetProcInsertVideoFilesFuncPtr(InsertVideoFileChecked);

  AppSettings* settings = GetAppSettings();
  settings->LoadAll();
  settings->ApplyToProject(project);
  CDVDProject::SetEmVideoEncodeEngine(settings->Recorder.VideoEncodingQuality);
  MarkCurrentRunFolder();

  OpenProgramLog();

  CDVDProject::GetAVOutputProfileManager()->SetProfileFolder("profile_en");

  srand(GetTickCount());
  InitCommonControls();
  InitContextMenuManager();
  InitShellAccess();
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  CPlxButton::EnableWinXPTheme(TRUE);
  g_plxShowToolbarTooltips = FALSE;

  auto* mainDlg = new CMainDlg;
  m_pMainWnd = mainDlg;
  g_pMainDlg = mainDlg;
  auto* cmdInfo = new CSlideshowCommandLineInfo;
  BOOL showMainWindow = TRUE;

  ParseCommandLine(*cmdInfo);
  if (cmdInfo->m_bResetOptions) {
    settings->DeleteAll();
    WriteLog("Setup options to default setting(1)!");
  }

  mainDlg->m_singleInstance.Lock();
  if (mainDlg->m_singleInstance.IsAnotherInstanceRunning()) {
    WriteLog("Previous instance detected, will now restore it.");
    LPCTSTR handOver = cmdInfo->m_strFileName.IsEmpty() || g_burnWriteFlag.IsLocked()
                           ? nullptr
                           : cmdInfo->m_strFileName.GetString();
    HWND previous = mainDlg->m_singleInstance.ActivatePrevious(handOver, 0);
    // A copy that cannot reach the running one says so and leaves the user's settings alone:
    // the running copy still uses them, and they are not what went wrong.
    if (previous == nullptr || !IsWindow(previous)) {
      MessageBox(nullptr, LoadLangString(IDS_PREVIOUS_INSTANCE_UNREACHABLE), "Error", MB_ICONERROR);
    }
    WriteLog("New instance exit.");
    m_pMainWnd = nullptr;
    showMainWindow = FALSE;
  }

  if (showMainWindow) {
    LogVersionInformation();
    WriteLog("Initialize...(1)");
    srand(GetTickCount());

    if (!SocketsAvailable()) {
      WriteErrorLog("AfxSocketInit() Error!");
      AfxMessageBox(LoadLangString(IDS_SOCKETS_INIT_FAILED), MB_OK);
      showMainWindow = FALSE;
    }
  }

  if (showMainWindow) {
    // Control containment and 3-D controls are what every window here has anyway.
    WriteLog("Initialize...(2)");
    WriteLog("Initialize...(3)");
    WriteLog("Initialize...(4)");

    LoadBuiltInTransitions();
    LoadTransitionPlugins();
    WriteLog("Initialize...(5)");

    CTransitionSettings& transition = settings->Transition;
    transition.ValidateTransitionSubset();
    CDVDImage::SetTransitionSubset(transition.TransitionName);
    if (GetTransitionList()->GetSize() > 0)
      CDVDImage::SetNoTransitionName(GetTransitionList()->GetAt(0)->strName);
    CDVDImage::SetEmptyTransitionSubsetIsValid(transition.EmptySubsetIsValid);
    WriteLog("Initialize...(6)");

    CSplashScreenWnd::EnableSplashScreen(TRUE);
    WriteLog("Initialize...(7)");

    CAVOutputProfileManager* profiles = CDVDProject::GetAVOutputProfileManager();
    profiles->InitProfileManager(0, nullptr, nullptr);
    if (CAVOutputProfile* active = profiles->Get_pActiveAVOutputProfile()) active->Reset();
    WriteLog("Initialize...(8)");

    EnsureBlankImage();
    GetWebTemplateManager()->ScanTemplates();
    GetPhotoCache()->CheckVersion();
    WriteLog("Initialize...(9)");

    g_pTimelineProject = new (std::nothrow) CTimelineProject;
    WriteLog("Initialize...(10)");
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplusInput, nullptr);
    WriteLog("Initialize...(11)");
    WriteLog("Perpare to show main window...");

    g_bPanZoomClipboardFilled = 0;
    mainDlg->DoModal();

    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    PlxCleanUp();
    OleUninitialize();
  }

  delete cmdInfo;
  g_pMainDlg = nullptr;
  m_pMainWnd = nullptr;
  delete mainDlg;
  return FALSE;
}

int CSlideshowApp::ExitInstance() {
  FreeAlbumThemeList();
  FreeTitleEffectList();
  FreeMenuTemplateList();

  if (g_pTimelineProject != nullptr) {
    delete g_pTimelineProject;
    g_pTimelineProject = nullptr;
  }

  UnloadTransitions();

  {
    CRegistrySettingsStore store(HKEY_CURRENT_USER, LANGUAGE_SETTINGS_KEY);
    g_languageSettings.Save(store);
  }

  // The theme records were freed above; the project must not keep pointing at them.
  GetProject()->ResetThemeList();

  MarkCurrentRunFolder();
  CleanTempFolders(GetProject()->Get_strTempFilePathBase());

  const int result = CWinApp::ExitInstance();

  WriteLog("Program ExitInstance.");
  pictavo::log::Flush();
  CoUninitialize();
  return result;
}
