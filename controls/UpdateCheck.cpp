#include "controls/UpdateCheck.h"

#include <atomic>
#include <charconv>
#include <cstring>
#include <memory>
#include <string_view>

#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/base/ErrorCodes.h"
#include "platform/kernel/FileOperations.h"
#include "platform/kernel/Ini.h"
#include "platform/kernel/Thread.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/net/InternetSession.h"
#include "platform/user/User.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDS_VERSION_CHECK_FAILED = 57350;
constexpr char kSettingsSection[] = "Update";
constexpr char kUnreadable[] = "The version information on the server could not be read.\n";

std::atomic<HWND> g_hReportWnd{nullptr};

// A whole decimal number of a sane size; nothing for an empty, signed, partial or huge value.
bool ParseCount(const char* text, int& value) {
  const std::string_view digits(text);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size();
}

void PostFailure(const UpdateCheckJob& job, const CString& reason) {
  CString text;
  text.Format(job.strFailureFormat, job.strProductTitle.GetString(), reason.GetString());
  auto* copy = new char[text.GetLength() + 1];
  std::memcpy(copy, text.GetString(), text.GetLength() + 1);
  const HWND target = GetUpdateReportWindow();
  // Nobody to take the text: it goes with the thread rather than being lost.
  if (target == nullptr || !::PostMessage(target, WM_VERSION_CHECK_FAILED, reinterpret_cast<WPARAM>(copy), 0))
    delete[] copy;
}

}  // namespace

UpdateCheckSettings& GetUpdateCheckSettings() {
  static UpdateCheckSettings settings;
  return settings;
}

void LoadUpdateCheckSettings() {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  UpdateCheckSettings& settings = GetUpdateCheckSettings();
  settings.strVersionFileURL = app->GetProfileString(kSettingsSection, "VersionFileURL", "");
  settings.strUpgradePageURL = app->GetProfileString(kSettingsSection, "UpgradePageURL", "");
  const UINT timeout = app->GetProfileInt(kSettingsSection, "TimeoutMs", 15000);
  settings.dwTimeoutMs = timeout >= 100 && timeout <= 120000 ? timeout : 15000;
}

CString GetWebLinkText() {
  return GetUpdateCheckSettings().strUpgradePageURL;
}

void SetUpdateReportWindow(HWND hWnd) {
  g_hReportWnd.store(hWnd);
}

HWND GetUpdateReportWindow() {
  return g_hReportWnd.load();
}

VersionFacts JudgeVersionFile(LPCTSTR lpszPath) {
  VersionFacts facts;
  char version[64] = {};
  char build[64] = {};
  GetPrivateProfileString(VERSION_FILE_SECTION, "version", "", version, sizeof version, lpszPath);
  GetPrivateProfileString(VERSION_FILE_SECTION, "build", "", build, sizeof build, lpszPath);
  if (!ParseCount(version, facts.nVersion) || !ParseCount(build, facts.nBuild)) {
    facts = VersionFacts{};
    return facts;
  }
  facts.verdict = facts.nVersion > kProgramVersion || facts.nBuild > kProgramBuild ? VersionVerdict::kNewer
                                                                                   : VersionVerdict::kCurrent;
  return facts;
}

CString DownloadVersionFile(const CString& strURL, const CString& strLocalPath, DWORD dwTimeoutMs) {
  CString result = "YES";
  CInternetSession session(nullptr, 1, PRE_CONFIG_INTERNET_ACCESS, nullptr, nullptr, 0);
  session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, dwTimeoutMs);
  session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, dwTimeoutMs);
  std::unique_ptr<CInternetFile> remote;
  // Written beside the final name and renamed over it, so a second check never reads half a file.
  CString partial;
  partial.Format("%s.%lu.part", strLocalPath.GetString(), static_cast<unsigned long>(GetCurrentThreadId()));
  try {
    remote.reset(session.OpenURL(strURL, 1, INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY));
    if (auto* http = dynamic_cast<CHttpFile*>(remote.get())) {
      DWORD status = 0;
      if (http->QueryInfoStatusCode(status) && status != HTTP_STATUS_OK) {
        result.Format("The server answered with HTTP status %lu.\n", static_cast<unsigned long>(status));
        return result;
      }
    }
    if (remote->GetLength() > kMaxVersionFileBytes) AfxThrowInternetException(1, ERROR_BUFFER_OVERFLOW);
    CFile local(partial, CFile::modeCreate | CFile::modeWrite);
    char block[512];
    for (UINT got = remote->Read(block, sizeof block); got != 0; got = remote->Read(block, sizeof block))
      local.Write(block, got);
    local.Close();
    if (!MoveFileEx(partial, strLocalPath, MOVEFILE_REPLACE_EXISTING))
      AfxThrowFileException(CFileException::accessDenied, -1, strLocalPath);
  } catch (CException* e) {
    char message[254] = {};
    e->GetErrorMessage(message, sizeof message);
    e->Delete();
    result = message;
    ::DeleteFile(partial);
  }
  return result;
}

UINT UpdateCheckThread(LPVOID pParam) {
  std::unique_ptr<UpdateCheckJob> job(static_cast<UpdateCheckJob*>(pParam));
  if (job == nullptr || job->strURL.IsEmpty()) return 0;
  const CString result = DownloadVersionFile(job->strURL, job->strLocalPath, job->dwTimeoutMs);
  if (result != "YES") {
    WriteLog("Update check failed: %s", result.GetString());
    PostFailure(*job, result);
    return 0;
  }
  const VersionFacts facts = JudgeVersionFile(job->strLocalPath);
  if (facts.verdict == VersionVerdict::kUnknown) {
    WriteLog("Update check: the version file says no version.");
    PostFailure(*job, kUnreadable);
    return 0;
  }
  const UINT message =
      facts.verdict == VersionVerdict::kNewer ? WM_NEW_VERSION_AVAILABLE : WM_VERSION_UP_TO_DATE;
  if (const HWND target = GetUpdateReportWindow())
    ::PostMessage(target, message, static_cast<WPARAM>(facts.nVersion), static_cast<LPARAM>(facts.nBuild));
  return 0;
}

BOOL CanCheckForUpdates() {
  return InternetGetConnectedState(nullptr, 0) == 1 && !GetUpdateCheckSettings().strVersionFileURL.IsEmpty();
}

BOOL StartUpdateCheck(HWND hReportWnd) {
  if (!CanCheckForUpdates()) return FALSE;
  const UpdateCheckSettings& settings = GetUpdateCheckSettings();
  auto job = std::make_unique<UpdateCheckJob>();
  job->strURL = settings.strVersionFileURL;
  job->strLocalPath = GetProject()->Get_strTempFilePathBase() + "/" VERSION_FILE_NAME;
  job->dwTimeoutMs = settings.dwTimeoutMs;
  job->strFailureFormat = LoadLangString(IDS_VERSION_CHECK_FAILED);
  job->strProductTitle = GetProductTitle();
  SetUpdateReportWindow(hReportWnd);
  if (AfxBeginThread(UpdateCheckThread, job.get()) == nullptr) return FALSE;
  job.release();
  return TRUE;
}
