// The program's main window: a modal dialog of class "PictavoMainFrameClass" (template 102),
// made the application's main window from its construction. It owns the main menu (menu 373,
// drawn as an icon menu), the status bar with the output-format selector, the organize page in a
// page set, the blank-image popup, the accelerators and the single-instance guard. Menu commands
// it does not handle itself go to the photo page.
#pragma once

#include <string>

#include "controls/IconMenu.h"
#include "controls/MenuCH.h"
#include "controls/UpdateCheck.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/mfc/Dialog.h"
#include "shell/MainDlgRules.h"
#include "shell/PageSet.h"
#include "shell/SingleInstance.h"

#define IDD_MAIN_DIALOG 102
#define IDC_MAIN_PAGE_AREA 1004
#define IDC_MAIN_BANNER 1241
#define IDR_MAIN_MENU 373
#define IDR_MAIN_ACCEL 223
#define IDR_MAIN_MENU_IMAGES 269
#define IDR_MAINFRAME 128
#define IDC_MAIN_STATUS_BAR 59393
#define ID_PANE_OUTPUT_LABEL 30900
#define ID_PANE_OUTPUT_SELECTOR 30901
#define ID_PANE_STRETCH 31001
#define ID_PANE_TOTALS 31002
#define ID_PANE_MESSAGE 31003
#define IDM_ABOUTBOX 0x0010

// Messages of the main window.
#define WM_UPDATE_STATUS_BAR 0x07C1
#define WM_APP_ACTIVE_CHANGED 0x07D3
#define WM_MOVE_PAGE 0x07FD
#define WM_PREPARE_PROJECT_SAVE 0x07FE
#define WM_PROJECT_RELOADED 0x07FF
#define WM_TV_ASPECT_CHANGED 0x08D4
#define WM_NO_BURNER_FOUND 0x0FBE
#define WM_LANGUAGE_CHANGED 0x12D8
#define WM_SET_STATUS_TEXT 0x13A9  // wParam: a text made with new[], which the main window deletes
#define WM_CHECK_ENVIRONMENT 0x2A80
#define WM_CHECK_OS_VERSION 0x2A81
#define WM_OPEN_COMMAND_LINE 0x2A82
#define ID_VIEW_LANGUAGE_AUTO 33990

class CCmdUI;
class CDiscCapacityGauge;
class CDropListButton;
class CLoadProgressWnd;
class CPageEditorNew;
class MPCStatusBar;
class CAVOutputProfileGroup;

// The item data of one entry of the output selector's list: the output type (the program makes
// only 5) and the output-profile group, which the manager owns.
struct OutputFormatItem {
  int type = 5;
  CAVOutputProfileGroup* group = nullptr;
};

// The menu of `root`'s tree that holds the item with command `id`; null when none does.
HMENU FindMenuHolding(HMENU root, UINT id);

// The main window's flag of the last WM_ACTIVATEAPP; the preview renderer reads it unlocked.
extern int g_bAppActive;

class CMainDlg : public CDialog {
 public:
  explicit CMainDlg(CWnd* pParent = nullptr);
  ~CMainDlg() override;

  CSingleInstance m_singleInstance;

  // Project commands.
  int SaveModified(BOOL bCheck, BOOL bAsk, BOOL bKeepAlbum);
  void OpenProjectFile(const char* lpszPath);
  int SaveProject();
  void UpdateWindowTitle();
  void EnableProjectProgress(BOOL bEnable, const char* lpszCaption);
  void EnableProjectProgressById(BOOL bEnable, UINT nStringID);
  // The read/write hook the data model calls while it reads or writes a project file.
  static int ProjectProgressCallback(void* pUserData, float fraction);

  // Status bar and output choice.
  void UpdateStatusText();
  void SelectOutput(int nType, CAVOutputProfileGroup* pGroup);
  void UpdateOutputCheck(CCmdUI* pCmdUI, int nType, CAVOutputProfileGroup* pGroup);
  void FillOutputFormatList();
  void RefreshOutputPane();
  void SetPhotoScaleMode(int nMode);
  void SetTvAspect(int nAspect, BOOL bMarkDirty);
  void PostProjectReloaded();
  void SaveWindowState();

  // Dynamic menu parts.
  void BuildLanguageMenu();
  // View > Language; null when the menu has none.
  CMenu* GetLanguageMenu();
  // The translators of the listed language files, as the window's text.
  void FillTranslatorCredits(CWnd* pWnd);
  void BuildCreateMenu();
  void BuildBlankImageMenu();
  void DestroyBlankImageMenu();
  HMENU GetBlankImageMenuHandle() const { return m_blankImageMenu.GetSafeHmenu(); }

  CPageEditorNew* GetPageEditor() const { return m_pPageEditor; }
  MPCStatusBar* GetStatusBar() const { return m_pStatusBar; }
  CDropListButton* GetOutputSelector() const { return m_pOutputSelector; }
  CIconMenu* GetMainMenu() { return &m_mainMenu; }
  // The progress popup while one shows; null otherwise.
  CLoadProgressWnd* GetProgressWnd() const { return m_pProgressWnd; }

 protected:
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;

  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnUpdateStatusBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReserved0783(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOutputFormatSelected(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetStatusText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCheckEnvironment(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCheckOsVersion(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenCommandLine(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNewVersionAvailable(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnVersionUpToDate(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnVersionCheckFailed(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNoBurnerFound(WPARAM wParam, LPARAM lParam);

  // File.
  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg void OnFileSave();
  afx_msg void OnFileSaveAs();
  afx_msg void OnFileExit();
  afx_msg void OnResetRecentFiles();
  // Organize and the forwarded album commands.
  afx_msg void OnAddPhotos();
  afx_msg void OnAddMusic();
  afx_msg void OnAlbumPreview();
  afx_msg void OnNewAlbum();
  afx_msg void OnDeleteAlbum();
  afx_msg void OnAddBlankImage();
  afx_msg void OnAddVideos();
  afx_msg void OnOpenTempFolder();
  afx_msg void OnMakerPage(UINT nID);
  afx_msg void OnForwardCommand(UINT nID);
  afx_msg void OnUpdateRuled(CCmdUI* pCmdUI);
  afx_msg void OnPhotoScaleFit();
  afx_msg void OnPhotoScaleFill();
  afx_msg void OnUpdatePhotoScale(CCmdUI* pCmdUI);
  afx_msg void OnTvAspect(UINT nID);
  afx_msg void OnUpdateTvAspect(CCmdUI* pCmdUI);
  afx_msg void OnSelectOutputType(UINT nID);
  afx_msg void OnUpdateOutputType(CCmdUI* pCmdUI);
  afx_msg void OnCreateGroup(UINT nID);
  afx_msg void OnUpdateCreateGroup(CCmdUI* pCmdUI);
  // Tools, View, Help.
  afx_msg void OnSoundRecorder();
  afx_msg void OnToggleFileBrowser();
  afx_msg void OnUpdateToggleFileBrowser(CCmdUI* pCmdUI);
  afx_msg void OnOptions();
  afx_msg void OnHelpContents();
  afx_msg void OnUpdateHelpWebsite(CCmdUI* pCmdUI);
  afx_msg void OnCheckUpgrades();
  afx_msg void OnAbout();
  afx_msg void OnUpdateAbout(CCmdUI* pCmdUI);
  afx_msg void OnNothing(UINT nID);
  // Language.
  afx_msg BOOL OnLanguageSelect(UINT nID);
  afx_msg void OnUpdateLanguage(CCmdUI* pCmdUI);
  afx_msg void OnLanguageAuto();
  afx_msg void OnUpdateLanguageAuto(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  void CreateStatusBar();
  // Deletes the records of the output selector's list items (the list keeps its texts).
  void FreeOutputFormatItems();
  // The facts the menu's enabling rules read, from the album pages as they are now.
  MenuFacts GatherMenuFacts() const;
  // Saving to a path with the progress popup and the busy cursor; FALSE, after telling the
  // user, when the file could not be written (the old file stays as it was).
  bool SaveProjectFileTo(const CString& path, bool bLog);
  // Reads a project through the album editor; missing media are listed afterwards.
  bool OpenThroughEditor(const CString& path, CStringArray& missingFiles);
  void ShowMissingFiles(CStringArray& missingFiles);
  void ResetAlbumSelection(bool bClearActive);
  void BroadcastPrepareSave(BOOL bKeepAlbum);
  // Carries out a project path a second copy handed over, once no dialog is open.
  void OpenPendingHandOver();
  // The main window's own re-translation, then WM_LANGUAGE_CHANGED to every descendant.
  void ApplyLanguageEverywhere();

  CDiscCapacityGauge* m_pCapacityGauge = nullptr;
  CPageEditorNew* m_pPageEditor = nullptr;
  CPageSet m_pageSet;
  MPCStatusBar* m_pStatusBar = nullptr;
  CDropListButton* m_pOutputSelector = nullptr;
  HACCEL m_hAccel = nullptr;
  CMenuCH m_blankImageMenu;
  CLoadProgressWnd* m_pProgressWnd = nullptr;
  CString m_strProgressCaption;
  CIconMenu m_mainMenu;
  HICON m_hIcon = nullptr;

  int m_nProjectWork = 0;        // a project is being read or written; UI thread
  CString m_strPendingHandOver;  // a second copy's path waiting for the main loop
  bool m_bHandOverWaitLogged = false;
};

// Lets TranslateMenu reach the texts of the icon menus, which draw their items themselves.
void InstallMenuTranslation();

// The main dialog while InitInstance runs it; null otherwise.
extern CMainDlg* g_pMainDlg;
