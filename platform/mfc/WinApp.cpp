// CWinApp: start and end of the application, its message loop, message boxes, the wait cursor and
// the recent-file commands.
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Document.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/ProcessCommandLine.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"
#include "platform/res/Resources.h"
#include "platform/user/Dialog.h"

namespace {

CWinApp* g_app = nullptr;  // the application object; set by its constructor before main

char* Duplicate(const std::string& text) {
  return strdup(text.c_str());
}

// The executable's name without folder and extension.
std::string ExecutableName() {
  std::string name = pictavo::ExecutablePath();
  const size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? "Application" : name;
}

struct Prompt {
  UINT id;
  const char* text;
};
constexpr Prompt kPrompts[] = {
    {AFX_IDP_PARSE_INT, "Please enter an integer."},
    {AFX_IDP_PARSE_REAL, "Please enter a number."},
    {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
    {AFX_IDP_PARSE_REAL_RANGE, "Please enter a number between %1 and %2."},
    {AFX_IDP_PARSE_STRING_SIZE, "Please enter no more than %1 characters."},
    {AFX_IDP_PARSE_RADIO_BUTTON, "Please select a button."},
    {AFX_IDP_PARSE_BYTE, "Please enter an integer between 0 and 255."},
    {AFX_IDP_PARSE_UINT, "Please enter a positive integer."},
    {AFX_IDP_PARSE_DATETIME, "Please enter a date and/or time."},
    {AFX_IDP_PARSE_CURRENCY, "Please enter a currency."},
    {AFX_IDP_INTERNAL_FAILURE, "An unsupported operation was attempted."},
    {AFX_IDP_COMMAND_FAILURE, "Command failed."},
    {AFX_IDP_FAILED_MEMORY_ALLOC, "Insufficient memory available to perform operation."},
};

}  // namespace

namespace pictavo::mfc {

bool LoadFrameworkString(UINT id, CString& text) {
  if (text.LoadString(id)) return true;
  for (const Prompt& prompt : kPrompts) {
    if (prompt.id == id) {
      text = prompt.text;
      return true;
    }
  }
  return false;
}

}  // namespace pictavo::mfc

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  g_app = this;
  m_bAutoDelete = FALSE;
  m_nThreadID = GetCurrentThreadId();
  pictavo::mfc::SetCurrentWinThread(this);
  if (lpszAppName) m_pszAppName = strdup(lpszAppName);
}

CWinApp::~CWinApp() {
  delete m_pDocManager;
  m_pDocManager = nullptr;
  delete m_pRecentFileList;
  m_pRecentFileList = nullptr;
  for (LPCTSTR* text :
       {&m_pszAppName, &m_pszRegistryKey, &m_pszProfileName, &m_pszExeName, &m_pszHelpFilePath}) {
    free(const_cast<char*>(*text));
    *text = nullptr;
  }
  free(m_lpCmdLine);
  m_lpCmdLine = nullptr;
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitApplication() {
  return TRUE;
}

BOOL CWinApp::InitInstance() {
  return TRUE;
}

int CWinApp::Run() {
  if (!m_pMainWnd) AfxPostQuitMessage(0);  // nothing would ever end the loop
  return CWinThread::Run();
}

int CWinApp::ExitInstance() {
  SaveStdProfileSettings();
  return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinApp::OnIdle(LONG lCount) {
  return CWinThread::OnIdle(lCount);
}

CWnd* CWinApp::OpenDocumentFile(LPCTSTR) {
  return nullptr;  // the program has no document classes
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
  if (!m_pRecentFileList)
    pCmdUI->Enable(FALSE);
  else
    m_pRecentFileList->UpdateMenu(pCmdUI);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
  if (!m_pRecentFileList) return FALSE;
  const int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
  if (index < 0 || index >= m_pRecentFileList->GetSize()) return FALSE;
  const CString path = (*m_pRecentFileList)[index];
  if (!path.IsEmpty() && !OpenDocumentFile(path)) m_pRecentFileList->Remove(index);
  return TRUE;
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
  if (m_pRecentFileList) m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  if (nMaxMRU == 0) return;
  delete m_pRecentFileList;
  m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", static_cast<int>(nMaxMRU));
  m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
  if (m_pRecentFileList) m_pRecentFileList->WriteList();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  for (int i = 1; i < m_argc; ++i) {
    const char* param = m_argv[i];
    const BOOL last = i + 1 == m_argc;
    BOOL flag = FALSE;
    if (param[0] == '-') {
      flag = TRUE;
    } else if (param[0] == '/' && param[1] != '\0' && !std::strchr(param + 1, '/')) {
      // "/setup" is a flag, "/home/user/show.r7m" and "/tmp" are paths.
      flag = GetFileAttributes(param) == INVALID_FILE_ATTRIBUTES;
    }
    rCmdInfo.ParseParam(flag ? param + 1 : param, flag, last);
  }
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
  HWND owner = nullptr;
  if (CWnd* mainWnd = AfxGetMainWnd(); mainWnd && mainWnd->GetSafeHwnd()) {
    owner = ::GetLastActivePopup(mainWnd->m_hWnd);
    if (owner && !::IsWindowVisible(owner)) owner = mainWnd->IsWindowVisible() ? mainWnd->m_hWnd : nullptr;
  }
  if ((nType & MB_ICONMASK) == 0) {
    switch (nType & MB_TYPEMASK) {
      case MB_OK:
      case MB_OKCANCEL:
        nType |= MB_ICONEXCLAMATION;
        break;
      case MB_YESNO:
      case MB_YESNOCANCEL:
        nType |= MB_ICONQUESTION;
        break;
      default:
        break;
    }
  }
  return ::MessageBox(owner, lpszPrompt, m_pszAppName, nType);
}

void CWinApp::DoWaitCursor(int nCode) {
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount < 0) m_nWaitCursorCount = 0;
  if (m_nWaitCursorCount > 0) {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = previous;
  } else {
    ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursor(nullptr, IDC_ARROW));
  }
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
  return static_cast<HICON>(::LoadImage(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON),
                                        lpszResourceName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
HICON CWinApp::LoadIcon(UINT nIDResource) const {
  return LoadIcon(MAKEINTRESOURCE(nIDResource));
}
HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const {
  return static_cast<HICON>(::LoadImage(nullptr, lpszIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const {
  return ::LoadCursor(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
  return LoadCursor(MAKEINTRESOURCE(nIDResource));
}
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const {
  return ::LoadCursor(nullptr, lpszCursorName);
}

CWinApp* AfxGetApp() {
  return g_app;
}

CWnd* AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  return thread ? thread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
  return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandle(nullptr);
}

LPCTSTR AfxGetAppName() {
  return g_app ? g_app->m_pszAppName : nullptr;
}

int AfxWinMain(int argc, char** argv) {
  CWinApp* app = AfxGetApp();
  if (!app) {
    std::fprintf(stderr, "pictavo: the program has no application object\n");
    return -1;
  }
  pictavo::user::RegisterDialogClass();
  pictavo::user::RegisterControlClasses();
  app->m_hInstance = GetModuleHandle(nullptr);
  app->m_argc = argc;
  app->m_argv = argv;
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  free(app->m_lpCmdLine);
  app->m_lpCmdLine = Duplicate(pictavo::kernel::JoinCommandLine(arguments));
  const std::string exe = ExecutableName();
  if (!app->m_pszExeName) app->m_pszExeName = Duplicate(exe);
  if (!app->m_pszAppName) {
    CString title;
    app->m_pszAppName = Duplicate(title.LoadString(AFX_IDS_APP_TITLE) ? title.Str() : exe);
  }
  if (!app->m_pszProfileName) app->m_pszProfileName = Duplicate(exe + ".INI");
  pictavo::mfc::SetCurrentWinThread(app);
  app->m_nThreadID = GetCurrentThreadId();
  if (!app->InitApplication() || !app->InitInstance()) {
    if (app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd()) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp* app = AfxGetApp()) return app->DoMessageBox(lpszText, nType, nIDHelp);
  return ::MessageBox(nullptr, lpszText, nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  if (!pictavo::mfc::LoadFrameworkString(nIDPrompt, text))
    std::fprintf(stderr, "pictavo: AfxMessageBox: there is no string %u\n", nIDPrompt);
  if (nIDHelp == static_cast<UINT>(-1)) nIDHelp = nIDPrompt;
  return AfxMessageBox(text, nType, nIDHelp);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2) {
  CString format;
  pictavo::mfc::LoadFrameworkString(nIDS, format);
  std::string out;
  const std::string& in = format.Str();
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '%' && i + 1 < in.size() && (in[i + 1] == '1' || in[i + 1] == '2')) {
      const char* value = in[i + 1] == '1' ? lpsz1 : lpsz2;
      if (value) out += value;
      ++i;
    } else {
      out += in[i];
    }
  }
  rString = out;
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1) {
  AfxFormatString2(rString, nIDS, lpsz1, nullptr);
}

CWaitCursor::CWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(1);
}
CWaitCursor::~CWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(-1);
}
void CWaitCursor::Restore() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(0);
}
