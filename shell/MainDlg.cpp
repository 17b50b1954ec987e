// The main window itself: its start-up, placement, painting, status bar, menu messages and the
// program-wide broadcasts. The project commands are in MainDlgProject.cpp, the menu commands
// in MainDlgMenus.cpp.
#include "shell/MainDlg.h"

#include "controls/DiscCapacityGauge.h"
#include "controls/DropListButton.h"
#include "controls/ProgressWnd.h"
#include "controls/StatusBarPanes.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/log/Log.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/CmdUI.h"
#include "platform/user/Accel.h"
#include "shell/AboutDlg.h"
#include "shell/AppSettings.h"
#include "shell/EnvironmentChecks.h"
#include "shell/LanguageFile.h"
#include "shell/LanguageSettings.h"
#include "shell/PageEditorNew.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "shell/SlideshowApp.h"
#include "shell/SplashScreenWnd.h"
#include "shell/UIHelpers.h"

CMainDlg* g_pMainDlg = nullptr;
int g_bAppActive = 0;

namespace {

constexpr UINT IDS_ABOUT_FORMAT = 101;
constexpr UINT IDS_STATUS_TOTALS = 156;
constexpr int kStatusBarHeight = 25;
constexpr int kMinTrackWidth = 790;
constexpr int kMinTrackHeight = 590;

}  // namespace

HMENU FindMenuHolding(HMENU root, UINT id) {
  if (root == nullptr) return nullptr;
  const int count = ::GetMenuItemCount(root);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(root, i)) {
      if (HMENU found = FindMenuHolding(sub, id)) return found;
    } else if (::GetMenuItemID(root, i) == id) {
      return root;
    }
  }
  return nullptr;
}

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_GETMINMAXINFO()
ON_WM_ERASEBKGND()
ON_WM_INITMENUPOPUP()
ON_WM_MEASUREITEM()
ON_WM_MENUCHAR()
ON_WM_ACTIVATEAPP()
ON_WM_COPYDATA()
ON_WM_TIMER()
ON_MESSAGE(WM_UPDATE_STATUS_BAR, OnUpdateStatusBar)
ON_MESSAGE(WM_USER + 899, OnReserved0783)
ON_MESSAGE(WM_OUTPUT_FORMAT_SELECTED, OnOutputFormatSelected)
ON_MESSAGE(WM_SET_STATUS_TEXT, OnSetStatusText)
ON_MESSAGE(WM_CHECK_ENVIRONMENT, OnCheckEnvironment)
ON_MESSAGE(WM_CHECK_OS_VERSION, OnCheckOsVersion)
ON_MESSAGE(WM_OPEN_COMMAND_LINE, OnOpenCommandLine)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
ON_MESSAGE(WM_NEW_VERSION_AVAILABLE, OnNewVersionAvailable)
ON_MESSAGE(WM_VERSION_UP_TO_DATE, OnVersionUpToDate)
ON_MESSAGE(WM_VERSION_CHECK_FAILED, OnVersionCheckFailed)
ON_MESSAGE(WM_NO_BURNER_FOUND, OnNoBurnerFound)
// File
ON_COMMAND(ID_FILE_NEW_PROJECT, OnFileNew)
ON_COMMAND(ID_FILE_OPEN_PROJECT, OnFileOpen)
ON_COMMAND(ID_FILE_SAVE_PROJECT, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_PROJECT_AS, OnFileSaveAs)
ON_COMMAND(ID_APP_EXIT_PROJECT, OnFileExit)
ON_COMMAND(ID_RESET_RECENT_FILES, OnResetRecentFiles)
// Organize
ON_COMMAND(ID_ADD_PHOTOS, OnAddPhotos)
ON_COMMAND(ID_ADD_MUSIC, OnAddMusic)
ON_COMMAND(ID_ALBUM_PREVIEW, OnAlbumPreview)
ON_COMMAND(ID_NEW_ALBUM, OnNewAlbum)
ON_COMMAND(ID_DELETE_ALBUM, OnDeleteAlbum)
ON_COMMAND(ID_ADD_BLANK_IMAGE, OnAddBlankImage)
ON_COMMAND(ID_ADD_VIDEOS, OnAddVideos)
ON_COMMAND(ID_OPEN_TEMP_FOLDER, OnOpenTempFolder)
ON_COMMAND_RANGE(33928, 33929, OnMakerPage)
ON_COMMAND_RANGE(33979, 33979, OnMakerPage)
ON_COMMAND_RANGE(57327, 57327, OnMakerPage)
ON_COMMAND_RANGE(ID_REMOVE_PHOTOS, ID_REMOVE_ALL_PHOTOS, OnForwardCommand)
ON_COMMAND_RANGE(ID_SELECT_ALL_PHOTOS, ID_SELECT_ALL_PHOTOS, OnForwardCommand)
ON_COMMAND_RANGE(ID_ROTATE_CW, ID_SET_THUMBNAIL, OnForwardCommand)
ON_COMMAND_RANGE(ID_CUSTOM_TRANSITION, ID_CUSTOM_TRANSITION, OnForwardCommand)
ON_COMMAND_RANGE(ID_FULL_SCREEN, ID_FULL_SCREEN, OnForwardCommand)
ON_COMMAND_RANGE(ID_ALBUM_PROPERTIES, ID_ALBUM_PROPERTIES, OnForwardCommand)
ON_COMMAND_RANGE(ID_BATCH_COLLECT, ID_BATCH_COLLECT, OnForwardCommand)
ON_COMMAND_RANGE(ID_NEW_NAMED_ALBUM, ID_NEW_NAMED_ALBUM, OnForwardCommand)
ON_COMMAND_RANGE(ID_BLANK_IMAGE_FIRST, ID_BLANK_IMAGE_CUSTOM, OnForwardCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_REMOVE_PHOTOS, ID_REMOVE_ALL_PHOTOS, OnUpdateRuled)
ON_UPDATE_COMMAND_UI_RANGE(ID_ROTATE_CW, ID_SET_THUMBNAIL, OnUpdateRuled)
ON_UPDATE_COMMAND_UI(ID_SELECT_ALL_PHOTOS, OnUpdateRuled)
ON_UPDATE_COMMAND_UI(ID_ADD_MUSIC, OnUpdateRuled)
ON_UPDATE_COMMAND_UI(ID_CUSTOM_TRANSITION, OnUpdateRuled)
ON_UPDATE_COMMAND_UI(ID_ALBUM_PREVIEW, OnUpdateRuled)
ON_UPDATE_COMMAND_UI(ID_FULL_SCREEN, OnUpdateRuled)
ON_UPDATE_COMMAND_UI(ID_DELETE_ALBUM, OnUpdateRuled)
ON_UPDATE_COMMAND_UI(ID_ALBUM_PROPERTIES, OnUpdateRuled)
ON_COMMAND(ID_PHOTO_SCALE_FIT, OnPhotoScaleFit)
ON_COMMAND(ID_PHOTO_SCALE_FILL, OnPhotoScaleFill)
ON_UPDATE_COMMAND_UI_RANGE(ID_PHOTO_SCALE_FIT, ID_PHOTO_SCALE_FILL, OnUpdatePhotoScale)
ON_COMMAND_RANGE(ID_TV_ASPECT_4_3, ID_TV_ASPECT_NONE, OnTvAspect)
ON_UPDATE_COMMAND_UI_RANGE(ID_TV_ASPECT_4_3, ID_TV_ASPECT_NONE, OnUpdateTvAspect)
// Create
ON_COMMAND_RANGE(ID_OUTPUT_VCD, ID_OUTPUT_SVCD, OnSelectOutputType)
ON_COMMAND_RANGE(ID_OUTPUT_BLURAY, ID_OUTPUT_BLURAY, OnSelectOutputType)
ON_COMMAND_RANGE(ID_CREATE_WEB_ALBUM, ID_CREATE_WEB_ALBUM, OnSelectOutputType)
ON_UPDATE_COMMAND_UI_RANGE(ID_OUTPUT_VCD, ID_OUTPUT_SVCD, OnUpdateOutputType)
ON_UPDATE_COMMAND_UI(ID_OUTPUT_BLURAY, OnUpdateOutputType)
ON_UPDATE_COMMAND_UI(ID_CREATE_WEB_ALBUM, OnUpdateOutputType)
ON_COMMAND_RANGE(ID_CREATE_GROUP_FIRST, ID_CREATE_GROUP_LAST, OnCreateGroup)
ON_UPDATE_COMMAND_UI_RANGE(ID_CREATE_GROUP_FIRST, ID_CREATE_GROUP_LAST, OnUpdateCreateGroup)
// Tools, View, Help
ON_COMMAND(ID_SOUND_RECORDER, OnSoundRecorder)
ON_COMMAND(ID_TOGGLE_FILE_BROWSER, OnToggleFileBrowser)
ON_UPDATE_COMMAND_UI(ID_TOGGLE_FILE_BROWSER, OnUpdateToggleFileBrowser)
ON_COMMAND(ID_OPTIONS, OnOptions)
ON_COMMAND(ID_HELP_CONTENTS, OnHelpContents)
ON_COMMAND(ID_HELP_CONTENTS_2, OnHelpContents)
ON_COMMAND(ID_HELP_WEBSITE, OnHelpContents)
ON_UPDATE_COMMAND_UI(ID_HELP_WEBSITE, OnUpdateHelpWebsite)
ON_COMMAND(ID_CHECK_UPGRADES, OnCheckUpgrades)
ON_COMMAND(ID_ABOUT_BOX, OnAbout)
ON_UPDATE_COMMAND_UI(ID_ABOUT_BOX, OnUpdateAbout)
ON_COMMAND_RANGE(32785, 32787, OnNothing)
ON_COMMAND_RANGE(32844, 32850, OnNothing)
ON_COMMAND_RANGE(33930, 33930, OnNothing)
ON_COMMAND_RANGE(33933, 33933, OnNothing)
ON_COMMAND_RANGE(33946, 33946, OnNothing)
ON_COMMAND_EX_RANGE(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, OnLanguageSelect)
ON_UPDATE_COMMAND_UI_RANGE(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, OnUpdateLanguage)
ON_COMMAND(ID_VIEW_LANGUAGE_AUTO, OnLanguageAuto)
ON_UPDATE_COMMAND_UI(ID_VIEW_LANGUAGE_AUTO, OnUpdateLanguageAuto)
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent)
    : CDialog(IDD_MAIN_DIALOG, pParent),
      m_singleInstance("ZorvPictavo"),
      m_pCapacityGauge(new CDiscCapacityGauge),
      m_pPageEditor(new CPageEditorNew),
      m_pStatusBar(new MPCStatusBar),
      m_pOutputSelector(new CDropListButton) {
  m_hIcon = AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr;
}

CMainDlg::~CMainDlg() {
  if (m_hAccel != nullptr) DestroyAcceleratorTable(m_hAccel);
  delete m_pProgressWnd;
  m_pProgressWnd = nullptr;
  const auto destroy = [](CWnd* wnd) {
    if (wnd != nullptr && wnd->GetSafeHwnd() != nullptr) wnd->DestroyWindow();
    delete wnd;
  };
  destroy(m_pPageEditor);
  destroy(m_pStatusBar);
  destroy(m_pCapacityGauge);
  destroy(m_pOutputSelector);
}

BOOL CMainDlg::OnInitDialog() {
  BeginWaitCursor();
  InstallMenuTranslation();
  WriteLog("Main window begin to initialize ...");
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_MAIN_DIALOG);
  CDVDProject::SetGlobalMainHWnd(m_hWnd);
  CSplashScreenWnd::ShowSplashScreen(this);
  EnableProjectProgress(TRUE, "Process Project Data...");

  // Both skins: banners, button bars and window colours of every page come from them.
  const CString exeFolder = CDVDProject::GetExeFilePath();
  const CString skinFile = GetSkinFileName();
  GetSkinMinor()->Load(exeFolder, skinFile, FALSE);
  g_skinMain.Load(exeFolder, skinFile, FALSE);

  if (CWnd* banner = GetDlgItem(IDC_MAIN_BANNER)) {
    banner->SetWindowText("");
    banner->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
  }

  m_mainMenu.SetBitmapBackground(RGB(255, 255, 255));
  m_mainMenu.LoadMenu(IDR_MAIN_MENU);
  TranslateMenu(m_mainMenu.GetSafeHmenu(), 0);
  m_mainMenu.LoadToolbar(IDR_MAIN_MENU_IMAGES);
  SetMenu(&m_mainMenu);
  DrawMenuBar();

  BuildLanguageMenu();
  BuildBlankImageMenu();
  BuildCreateMenu();

  CDVDProject::SetMainProgramName("Talvane Pictavo");
  m_hAccel = LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAIN_ACCEL));

  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    CString about;
    about.Format(LoadLangString(IDS_ABOUT_FORMAT), GetProductTitle().GetString());
    if (!about.IsEmpty()) {
      systemMenu->AppendMenu(MF_SEPARATOR);
      systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  CreateStatusBar();
  GetWindowRegistry()->m_pMainDlg = this;

  if (CWnd* area = GetDlgItem(IDC_MAIN_PAGE_AREA)) {
    CRect frame;
    area->GetWindowRect(&frame);
    m_pageSet.m_rcFrame = frame;
    m_pageSet.m_bCenter = 1;
  }
  m_pPageEditor->Create(IDD_PAGE_EDITOR_NEW, this);
  m_pageSet.AddPage(m_pPageEditor);
  WriteLog("Main window post-intialize(1) ...");
  if (CWnd* area = GetDlgItem(IDC_MAIN_PAGE_AREA)) area->ShowWindow(SW_HIDE);
  WriteLog("Main window post-intialize(2) ...");
  m_pageSet.ShowPage(0);
  WriteLog("Main window post-intialize(3) ...");
  UpdateStatusText();
  WriteLog("Main window post-intialize(4) ...");
  CRect client;
  GetClientRect(&client);
  SendMessage(WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
  WriteLog("Main window post-intialize(5) ...");
  UpdateWindowTitle();
  WriteLog("Main window post-intialize(6) ...");

  const CWindowSettings& placement = GetAppSettings()->Window;
  if (placement.Maximized != 0) {
    WriteLog("Main window post-intialize(7-0) ...");
    ShowWindow(SW_MAXIMIZE);
    WriteLog("Main window post-intialize(7-1) ...");
  } else {
    WriteLog("Main window post-intialize(7-2) ...");
    if (placement.Width >= 1 && placement.Height >= 1) {
      WriteLog("Main window post-intialize(7-3) ...");
      SetWindowPos(nullptr, placement.X, placement.Y, placement.Width, placement.Height,
                   SWP_NOZORDER | SWP_SHOWWINDOW);
      WriteLog("Main window post-intialize(7-4) ...");
    } else {
      WriteLog("Main window post-intialize(7-5) ...");
      ShowWindow(SW_MAXIMIZE);
      WriteLog("Main window post-intialize(7-6) ...");
    }
  }
  WriteLog("Main window post-intialize(8) ...");
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  WriteLog("Main window post-intialize(9) ...");
  PostMessage(WM_CHECK_ENVIRONMENT, 0, 0);
  WriteLog("Main window post-intialize(10) ...");
  PostMessage(WM_CHECK_OS_VERSION, 0, 0);
  WriteLog("Main window finish to intialize ...");
  PostMessage(WM_OPEN_COMMAND_LINE, 0, 0);
  m_singleInstance.RegisterMainWindow();

  if (HDC screen = ::GetDC(nullptr)) {
    WriteLog("ScreenRes:%dx%d", GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES));
    WriteLog("LoginPixels:%dx%d", GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
  }
  GetProject()->Put_bDirty(0);
  GetProject()->Put_bMenuEncodeDirty(1);
  if (GetLanguageAuto() != 0) SendMessage(WM_COMMAND, ID_VIEW_LANGUAGE_AUTO, 0);
  // Quietly, in the background: offline or without a version-file address nothing is asked.
  LoadUpdateCheckSettings();
  StartUpdateCheck(m_hWnd);
  EndWaitCursor();
  return TRUE;
}

void CMainDlg::CreateStatusBar() {
  m_pStatusBar->Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, IDC_MAIN_STATUS_BAR);
  static const UINT kIndicators[] = {ID_PANE_OUTPUT_LABEL, ID_PANE_OUTPUT_SELECTOR, ID_PANE_STRETCH,
                                     ID_PANE_TOTALS, ID_PANE_MESSAGE};
  m_pStatusBar->SetIndicators(kIndicators, 5);
  m_pStatusBar->SetPaneInfo(0, ID_PANE_OUTPUT_LABEL, SBPS_NORMAL, 130);
  m_pStatusBar->SetPaneInfo(1, ID_PANE_OUTPUT_SELECTOR, SBPS_NORMAL, 208);
  m_pStatusBar->SetPaneInfo(2, ID_PANE_STRETCH, SBPS_STRETCH, 0);
  m_pStatusBar->SetPaneInfo(3, ID_PANE_TOTALS, SBPS_NORMAL, 280);
  m_pStatusBar->SetPaneInfo(4, ID_PANE_MESSAGE, SBPS_NORMAL, 160);
  RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, ID_PANE_TOTALS, reposDefault, nullptr,
                 nullptr, TRUE);
  if (HICON small = static_cast<HICON>(
          LoadImage(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME), IMAGE_ICON, 16, 16, LR_SHARED)))
    m_pStatusBar->SendMessage(SB_SETICON, 0, reinterpret_cast<LPARAM>(small));
  for (int index : {2, 1, 0})
    m_pStatusBar->SetPaneStyle(index, m_pStatusBar->GetPaneStyle(index) | SBPS_NOBORDERS);
  m_pOutputSelector->Create("", CRect(0, 0, 0, 0), m_pStatusBar, ID_PANE_OUTPUT_SELECTOR, 0xDBE6D6, 0x00FFFF,
                            0xFF0000, 0x0000FF, nullptr, 0xFFFFFF, 0x000000);
  m_pOutputSelector->m_nPopupHeightLimit = 258;
  m_pOutputSelector->m_nPopupWidth = 220;
  m_pOutputSelector->m_bCaptionFollowsPick = TRUE;
  RefreshOutputPane();
  m_pStatusBar->SendMessage(SB_SETBKCOLOR, 0, static_cast<LPARAM>(GetSkinColor(SKIN_COLOR_MAIN_DLG)));
  UpdateStatusText();
}

void CMainDlg::UpdateStatusText() {
  CDVDProject* project = GetProject();
  int photos = 0;
  for (int i = 0; i < project->GetAlbumCount(); ++i) {
    CDVDAlbumBase* album = project->GetAlbum(i);
    if (album != nullptr && album->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage)))
      photos += static_cast<int>(static_cast<CDVDAlbumImage*>(album)->m_arrImages.GetSize());
  }
  if (m_pStatusBar->GetSafeHwnd() != nullptr) {
    CString totals;
    totals.Format(LoadLangString(IDS_STATUS_TOTALS), project->GetAlbumCount(), photos);
    m_pStatusBar->SetPaneText(3, totals);
  }
  if (m_pOutputSelector->GetSafeHwnd() == nullptr) return;
  const UINT captionId = OutputTypeCaptionId(project->GetEmOutputType());
  if (captionId != 0) {
    m_pOutputSelector->SetWindowText(LoadLangString(captionId));
  } else if (CAVOutputProfileGroup* group =
                 CDVDProject::GetAVOutputProfileManager()->Get_pActiveProfileGroup()) {
    m_pOutputSelector->SetWindowText(group->Get_strGroupDesc());
  }
  m_pOutputSelector->Invalidate();
}

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg) {
  if (CSplashScreenWnd::HideOnInput(pMsg)) return TRUE;
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) return TRUE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccel != nullptr &&
      TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
    return TRUE;
  return CDialog::PreTranslateMessage(pMsg);
}

BOOL CMainDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  auto* photoPage = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumPhotoDlg);
  if (photoPage != nullptr && photoPage->GetSafeHwnd() != nullptr)
    return static_cast<BOOL>(photoPage->SendMessage(WM_COMMAND, wParam, lParam));
  return FALSE;
}

void CMainDlg::OnOK() {}

void CMainDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  if ((nID & 0xFFF0) == SC_CLOSE) SendMessageToDescendants(WM_APP_ACTIVE_CHANGED, 0, 0, TRUE);
  CDialog::OnSysCommand(nID, lParam);
}

void CMainDlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  CRect rc;
  GetClientRect(&rc);
  const int x = (rc.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (rc.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CMainDlg::OnQueryDragIcon() {
  return static_cast<HCURSOR>(m_hIcon);
}

void CMainDlg::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (m_pStatusBar->GetSafeHwnd() != nullptr)
    m_pStatusBar->SetWindowPos(nullptr, 0, cy - kStatusBarHeight, cx, kStatusBarHeight,
                               SWP_SHOWWINDOW | SWP_NOZORDER);
  m_pageSet.SendToAllPages(1, WM_MOVE_PAGE, MAKELONG(2, 0), MAKELONG(cx - 4, cy - kStatusBarHeight));
}

void CMainDlg::OnDestroy() {
  // File > Exit ends the dialog without WM_CLOSE; the selector's records go while its list is there.
  FreeOutputFormatItems();
  m_mainMenu.DestroyMenu();
  CWnd::OnDestroy();
}

void CMainDlg::OnClose() {
  if (SaveModified(1, 1, 1) == IDCANCEL) return;
  SaveWindowState();
  FreeOutputFormatItems();
  CDialog::OnClose();
}

void CMainDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  lpMMI->ptMinTrackSize.x = kMinTrackWidth;
  lpMMI->ptMinTrackSize.y = kMinTrackHeight;
  CDialog::OnGetMinMaxInfo(lpMMI);
}

BOOL CMainDlg::OnEraseBkgnd(CDC* pDC) {
  // A hidden child (the emptied banner) is painted over like the rest of the window.
  FillAroundChildren(this, pDC, {IDD_PAGE_EDITOR_NEW, IDC_MAIN_STATUS_BAR, IDC_MAIN_BANNER});
  return TRUE;
}

void CMainDlg::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  // The update pass of every item, as a frame window does it, with the dialog as the target.
  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  const HMENU popup = pPopupMenu->GetSafeHmenu();
  if (const HMENU bar = ::GetMenu(m_hWnd)) {
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i)
      if (::GetSubMenu(bar, i) == popup) state.m_pParentMenu = CMenu::FromHandle(bar);
  }
  state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0) continue;
    if (state.m_nID == static_cast<UINT>(-1)) {
      state.m_pSubMenu = pPopupMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
      if (state.m_pSubMenu == nullptr) continue;
      state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;
      state.DoUpdate(this, TRUE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(this, FALSE);
    }
    // The handler may have added or removed items (the recent-file list does).
    const UINT count = pPopupMenu->GetMenuItemCount();
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= state.m_nIndexMax - count;
      while (state.m_nIndex < count &&
             pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
        ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
  auto* photoPage = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumPhotoDlg);
  if (photoPage != nullptr && photoPage->GetSafeHwnd() != nullptr)
    photoPage->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELONG(nIndex, bSysMenu));
  if (!bSysMenu && CIconMenu::IsOwnMenuHandle(popup))
    CIconMenu::UpdateMenu(static_cast<CIconMenu*>(CMenu::FromHandle(popup)));
}

void CMainDlg::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType == ODT_MENU) {
    const HMENU holder = FindMenuHolding(::GetMenu(m_hWnd), lpMeasureItemStruct->itemID);
    if (holder != nullptr && ::IsMenu(holder) && CIconMenu::IsOwnMenuHandle(holder)) {
      m_mainMenu.MeasureItem(lpMeasureItemStruct);
      return;
    }
  }
  CDialog::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

LRESULT CMainDlg::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
  if (CIconMenu::IsOwnMenu(pMenu))
    return CIconMenu::FindKeyboardShortcut(nChar, nFlags, static_cast<CIconMenu*>(pMenu));
  return CDialog::OnMenuChar(nChar, nFlags, pMenu);
}

void CMainDlg::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
  CDialog::OnActivateApp(bActive, dwThreadID);
  g_bAppActive = bActive;
  SendMessageToDescendants(WM_APP_ACTIVE_CHANGED, static_cast<WPARAM>(bActive),
                           static_cast<LPARAM>(dwThreadID), TRUE);
}

LRESULT CMainDlg::OnUpdateStatusBar(WPARAM, LPARAM) {
  UpdateStatusText();
  return 1;
}

LRESULT CMainDlg::OnReserved0783(WPARAM, LPARAM) {
  return 1;
}

LRESULT CMainDlg::OnSetStatusText(WPARAM wParam, LPARAM) {
  char* text = reinterpret_cast<char*>(wParam);
  if (text != nullptr) {
    if (m_pStatusBar->GetSafeHwnd() != nullptr) m_pStatusBar->SetPaneText(4, text);
    delete[] text;
  }
  return 0;
}

void CMainDlg::SaveWindowState() {
  CWindowSettings& window = GetAppSettings()->Window;
  CRect rc;
  GetWindowRect(&rc);
  window.Maximized = IsZoomed();
  window.X = rc.left;
  window.Y = rc.top;
  window.Width = rc.Width();
  window.Height = rc.Height();
  int exploreBarHeight = window.ExploreBarHeight;
  int shellTreeWidth = window.ShellTreeWidth;
  if (m_pPageEditor->GetSafeHwnd() != nullptr) {
    m_pPageEditor->GetPanelSizes(exploreBarHeight, shellTreeWidth);
    window.LastFolder = m_pPageEditor->GetLastFolder();
  }
  window.ExploreBarHeight = exploreBarHeight;
  window.ShellTreeWidth = shellTreeWidth;
  window.Save();
}
