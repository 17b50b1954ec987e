// The update check: a worker fetches the version file "ver_pictavo.ini" from the address the
// settings give and posts one of three messages to the report window. An empty address means no
// check at all, as when the computer is offline. The answer is bounded in size and time, and a
// file that does not say a version and a build is reported as unreadable, never guessed at.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

// wParam the version read, lParam the build read.
#define WM_NEW_VERSION_AVAILABLE 0x0786
#define WM_VERSION_UP_TO_DATE 0x0787
// wParam: a text made with new[], deleted by the receiver.
#define WM_VERSION_CHECK_FAILED 0x0788

#define VERSION_FILE_NAME "ver_pictavo.ini"
// The version file's section, spelled as the server has always written it.
#define VERSION_FILE_SECTION "Gerneral"

// The installed program: version 8.5 (times 100 plus the minor number), build 1805.
constexpr int kProgramVersion = 805;
constexpr int kProgramBuild = 1805;
// A version file is a few lines; anything larger is not one.
constexpr UINT kMaxVersionFileBytes = 64 * 1024;

// Where the check looks and how long it waits. The program reads them from its settings
// (section "Update": "VersionFileURL", "UpgradePageURL", "TimeoutMs"); both addresses are empty
// unless the user's settings give them.
struct UpdateCheckSettings {
  CString strVersionFileURL;  // the whole address of the version file
  CString strUpgradePageURL;  // the page the new-version dialog links to
  DWORD dwTimeoutMs = 15000;  // to connect, and the longest silence of the server
};
// The process-wide settings; UI thread only.
UpdateCheckSettings& GetUpdateCheckSettings();
// Reads them from the application's settings.
void LoadUpdateCheckSettings();
// The text of the dialog's link: the upgrade page's address.
CString GetWebLinkText();

// The window the worker posts its result to; null drops the result. Any thread.
void SetUpdateReportWindow(HWND hWnd);
HWND GetUpdateReportWindow();

// What a version file says. kUnknown: the version or the build is missing or not a number.
enum class VersionVerdict { kNewer, kCurrent, kUnknown };
struct VersionFacts {
  VersionVerdict verdict = VersionVerdict::kUnknown;
  int nVersion = 0;
  int nBuild = 0;
};
// Either number above the program's own makes the file newer.
VersionFacts JudgeVersionFile(LPCTSTR lpszPath);

// "YES" when the file at strURL was copied to strLocalPath; otherwise the reason, in words.
CString DownloadVersionFile(const CString& strURL, const CString& strLocalPath, DWORD dwTimeoutMs = 15000);

// One check's facts, gathered on the UI thread for the worker, which owns and deletes them.
struct UpdateCheckJob {
  CString strURL;
  CString strLocalPath;
  CString strFailureFormat;  // string 57350: the product title, then the reason
  CString strProductTitle;
  DWORD dwTimeoutMs = 15000;
};
// The worker: pParam is a new UpdateCheckJob. Returns 0.
UINT UpdateCheckThread(LPVOID pParam);

// Whether a check can run now: the computer is online and an address is set.
BOOL CanCheckForUpdates();
// Makes hReportWnd the report window and starts the worker; FALSE, starting nothing, when no
// check can run.
BOOL StartUpdateCheck(HWND hReportWnd);
