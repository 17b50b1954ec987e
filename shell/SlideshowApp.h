// The application object: prepares every process-wide service in a fixed order, runs the main
// dialog modally, tears down and returns FALSE from InitInstance, so the framework goes straight
// on to ExitInstance. Everything the user does happens inside the main dialog's modal loop.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/CommandLineInfo.h"
#include "shell/PlxWorkspace.h"

class CTimelineProject;

// "-setup" (or "/setup", any case) asks for every setting to be reset.
class CSlideshowCommandLineInfo : public CCommandLineInfo {
 public:
  void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) override;

  BOOL m_bResetOptions = FALSE;
};

class CSlideshowApp : public CPlxWorkspace {
 public:
  CSlideshowApp();
  ~CSlideshowApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // The toolkit's layouts are never read from or written to the registry.
  BOOL LoadState(LPCTSTR lpszSection, CPlxFrameCore* pFrame) override { return TRUE; }
  BOOL CleanState(LPCTSTR lpszSection) override { return TRUE; }
  BOOL SaveState(LPCTSTR lpszSection, CPlxFrameCore* pFrame) override { return TRUE; }

  CString GetProjectPath() const { return m_strProjectPath; }
  CString GetResourceDllName() const { return m_strResourceDll; }
  HINSTANCE GetInstanceHandle() const { return m_hInstance; }
  CString GetTempProjectPath() const { return m_strTempProjectPath; }
  void SetTempProjectPath(LPCTSTR lpszPath) { m_strTempProjectPath = lpszPath; }
  void SetProjectPath(LPCTSTR lpszPath) { m_strProjectPath = lpszPath; }

  // One of the four disc-menu templates, picked at random.
  CString PickRandomMenuTemplate();
  // Makes sure the blank slide image exists. TRUE.
  BOOL EnsureBlankImage();

  // The process-wide shell image lists the file browser fills (16 x 16 and 32 x 32).
  HIMAGELIST GetSystemImageListSmall() const;
  HIMAGELIST GetSystemImageListLarge() const;

  // Put the current project's path, or the given one, first in the recent-file list. TRUE.
  BOOL AddCurrentProjectToRecent();
  BOOL AddRecentProject(LPCTSTR lpszPath);
  // Empties the recent-file list, rebuilding the File menu's popups after each removal so the
  // "Recent Files" popup is empty at once, and writes the empty list to the registry. TRUE.
  BOOL ResetRecentFileList();
  // Asks for the path a project is saved under. `path` is emptied first; FALSE on cancel.
  BOOL ChooseProjectSavePath(CString& path);
  // Gives every window below the main window the wait cursor (or the arrow again). Class
  // cursors change, so every window of those classes follows. FALSE without a main window.
  BOOL SetBusy(BOOL bBusy);
  // Drops the mouse and keyboard messages waiting in the thread's queue, so clicks and keys
  // typed during a long project operation do nothing afterwards.
  void FlushInputMessages();

 protected:
  afx_msg void OnLanguageAuto() {}
  afx_msg void OnUpdateLanguageAuto(CCmdUI*) {}
  afx_msg void OnLanguageEnglish();
  afx_msg void OnLanguageJapanese();
  afx_msg void OnLanguageSimpChinese();
  afx_msg void OnUpdateLanguageEnglish(CCmdUI* pCmdUI);
  afx_msg void OnUpdateLanguageJapanese(CCmdUI* pCmdUI);
  afx_msg void OnUpdateLanguageSimpChinese(CCmdUI* pCmdUI);
  // F1 and Help > Contents: opens the program's help page; nothing happens when it can't be opened.
  afx_msg void OnHelpContents();
  // File > Recent Files: the main window opens the entry; the entry stays in the list either way.
  afx_msg BOOL OnOpenRecentFile(UINT nID);
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

  DECLARE_MESSAGE_MAP()

 private:
  void SetFixedLanguage(LPCTSTR lpszName);
  void LogVersionInformation();

  CString m_strResourceDll = "qvnres_en.dll";
  CString m_strProjectPath;      // empty while the project is untitled
  CString m_strTempProjectPath;  // where an untitled project was last saved
  ULONG_PTR m_gdiplusToken = 0;
  bool m_bSettingBusy[2] = {false, false};  // a SetBusy(FALSE / TRUE) is running; UI thread
};

extern CSlideshowApp theApp;
// The data model's timeline project, made by start-up and deleted by shut-down.
extern CTimelineProject* g_pTimelineProject;
// The create-output command's re-entry flag "ButtonBurnWritePressed".
class CWyxSingleFlag;
extern CWyxSingleFlag g_burnWriteFlag;
