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
  BOOL LoadState(LPCTSTR lpszSection, void* pFrame) override { return TRUE; }
  BOOL CleanState(LPCTSTR lpszSection) override { return TRUE; }
  BOOL SaveState(LPCTSTR lpszSection, void* pFrame) override { return TRUE; }

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

 protected:
  afx_msg void OnLanguageAuto() {}
  afx_msg void OnUpdateLanguageAuto(CCmdUI*) {}
  afx_msg void OnLanguageEnglish();
  afx_msg void OnLanguageJapanese();
  afx_msg void OnLanguageSimpChinese();
  afx_msg void OnUpdateLanguageEnglish(CCmdUI* pCmdUI);
  afx_msg void OnUpdateLanguageJapanese(CCmdUI* pCmdUI);
  afx_msg void OnUpdateLanguageSimpChinese(CCmdUI* pCmdUI);

  DECLARE_MESSAGE_MAP()

 private:
  void SetFixedLanguage(LPCTSTR lpszName);
  void LogVersionInformation();

  CString m_strResourceDll = "qvnres_en.dll";
  CString m_strProjectPath;      // empty while the project is untitled
  CString m_strTempProjectPath;  // where an untitled project was last saved
  ULONG_PTR m_gdiplusToken = 0;
};

extern CSlideshowApp theApp;
// The data model's timeline project, made by start-up and deleted by shut-down.
extern CTimelineProject* g_pTimelineProject;
