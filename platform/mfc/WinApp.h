// CWinApp: the application object. The program defines one (theApp); main() hands control to
// AfxWinMain, which runs InitInstance, then Run (the message loop with idle processing) when it
// returned TRUE, else ExitInstance straight away.
//
// Profile settings live in the registry under HKEY_CURRENT_USER\Software\<registry key>\<profile
// name> once SetRegistryKey has been called (an empty key leaves that level out), otherwise in the
// ini file m_pszProfileName. The recent-file list (LoadStdProfileSettings) is the section
// "Recent File List" with values File1 ... FileN, read at start and written by ExitInstance.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CollectionSupport.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/CommandLineInfo.h"
#include "platform/mfc/WinThread.h"
#include "platform/user/Cursor.h"

class CDocManager;
class CDocTemplate;
class CRecentFileList;
class CWnd;

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  // Set by AfxWinMain before InitInstance.
  HINSTANCE m_hInstance = nullptr;
  LPTSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  int m_argc = 0;  // the arguments AfxWinMain received
  char** m_argv = nullptr;
  // Owned by the object (freed with free()); the program may replace them with its own
  // heap copies (strdup) as the class library allows.
  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszRegistryKey = nullptr;
  LPCTSTR m_pszProfileName = nullptr;
  LPCTSTR m_pszExeName = nullptr;
  LPCTSTR m_pszHelpFilePath = nullptr;
  CRecentFileList* m_pRecentFileList = nullptr;
  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitCursorRestore = nullptr;

  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  int Run() override;
  BOOL OnIdle(LONG lCount) override;

  // Profile settings.
  void SetRegistryKey(LPCTSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  void SaveStdProfileSettings();
  UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
  // A null entry deletes the whole section, a null value the entry.
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
  // *ppData is a new[] copy the caller deletes with delete[].
  BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
  // Open keys the caller closes (RegCloseKey); null when the registry is not used or fails.
  HKEY GetAppRegistryKey();
  HKEY GetSectionKey(LPCTSTR lpszSection);

  // Document templates (Document.h): the application owns them through its document manager.
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  CDocManager* m_pDocManager = nullptr;

  virtual void AddToRecentFileList(LPCTSTR lpszPathName);
  virtual CWnd* OpenDocumentFile(LPCTSTR lpszFileName);

  void ParseCommandLine(CCommandLineInfo& rCmdInfo);

  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  // +1 shows the wait cursor (counted), -1 takes one away, 0 shows it again after a change.
  virtual void DoWaitCursor(int nCode);

  HICON LoadIcon(LPCTSTR lpszResourceName) const;
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
  HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;

 protected:
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
  afx_msg BOOL OnOpenRecentFile(UINT nID);

  DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
LPCTSTR AfxGetAppName();
// Sets up the application object, then InitInstance, Run / ExitInstance; the process's exit code.
int AfxWinMain(int argc, char** argv);

// A message box owned by the main window, with the application's name as caption. A string id
// loads the prompt (the class library's own prompts have built-in texts).
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
// A prompt from the string table with "%1" (and "%2") replaced.
void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);

// Shows the wait cursor for the life of the object.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore();
};

namespace pictavo::mfc {
// The text of a string resource, or the built-in English text of the class library's prompts.
bool LoadFrameworkString(UINT id, CString& text);
}  // namespace pictavo::mfc
