// The folders of the data model: the program folder, this run's temporary folder, and
// the small path and text helpers the program shares.
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "modules/data/DVDProject.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Module.h"
#include "platform/kernel/Path.h"

namespace fs = std::filesystem;
namespace path = pictavo::path;

namespace {

bool IsFolder(const std::string& p) {
  struct stat st {};
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Where temporary folders go when the settings gave no base.
CString DefaultTempBase() {
  char folder[MAX_PATH] = {};
  GetTempPath(sizeof folder, folder);
  return CString(path::Join(folder, "pictavo").c_str());
}

}  // namespace

CString CDVDProject::GetExeFilePath() {
  return CString(pictavo::ExecutableFolder());
}

void CDVDProject::Put_strTempFilePathBase(LPCTSTR base) {
  m_strTempFilePathBase = base;
  m_strTempFilePath.Empty();
}

CString CDVDProject::Get_strTempFilePath() {
  if (m_strTempFilePath.IsEmpty() || !IsFolder(path::ToNative(m_strTempFilePath.View()))) ResetTempFilePath();
  return m_strTempFilePath;
}

void CDVDProject::ResetTempFilePath() {
  const CString base = m_strTempFilePathBase.IsEmpty() ? DefaultTempBase() : m_strTempFilePathBase;
  const std::string temp = path::Join(path::ToNative(base.View()), "Temp");
  // Twelve digits, as the start-up's clean-up recognises this run's folders: the local time.
  time_t now = std::time(nullptr);
  for (int attempt = 0; attempt < 1000; ++attempt, ++now) {
    std::tm local{};
    localtime_r(&now, &local);
    char name[16];
    std::strftime(name, sizeof name, "%y%m%d%H%M%S", &local);
    const std::string folder = path::Join(temp, name);
    if (IsFolder(folder)) continue;
    std::error_code ec;
    fs::create_directories(folder, ec);
    m_strTempFilePath = CString((folder + "/").c_str());
    return;
  }
  m_strTempFilePath = CString((temp + "/").c_str());
}

CString CDVDProject::GetZvCacheFolderBase() {
  return g_m_strAppTempPathBase.IsEmpty() ? DefaultTempBase() : g_m_strAppTempPathBase;
}

BOOL CDVDProject::CreateAllDirectories(LPCTSTR folder) {
  if (folder == nullptr || *folder == '\0') return FALSE;
  const std::string native = path::ToNative(folder);
  std::error_code ec;
  fs::create_directories(native, ec);
  if (IsFolder(native)) return TRUE;
  SetLastError(ec ? pictavo::ErrorFromErrno(ec.value()) : ERROR_PATH_NOT_FOUND);
  return FALSE;
}

BOOL CDVDProject::RemoveAllDirectories(LPCTSTR folder) {
  if (folder == nullptr || *folder == '\0') return FALSE;
  const std::string native(path::WithoutTrailingSeparator(path::ToNative(folder)));
  // Never a drive root or the home folder, whatever a caller hands over.
  if (native.empty() || path::IsDriveRoot(native)) return FALSE;
  if (const char* home = getenv("HOME"); home != nullptr && fs::path(native) == fs::path(home)) return FALSE;
  std::error_code ec;
  fs::remove_all(native, ec);
  if (ec) {
    SetLastError(pictavo::ErrorFromErrno(ec.value()));
    return FALSE;
  }
  return TRUE;
}

BOOL CDVDProject::CloseFilesAllDirectoriesZW(LPCTSTR) {
  return TRUE;
}

DWORD CDVDProject::TryGetFileSize(LPCTSTR file, int) {
  struct stat st {};
  if (file == nullptr || stat(path::ToNative(file).c_str(), &st) != 0) return 0;
  return static_cast<DWORD>(std::min<off_t>(st.st_size, 0xFFFFFFFF));
}

void CDVDProject::Dos2Unix(CString& text) {
  text.Replace("\r\n", "\n");
}

void CDVDProject::Unix2Dos(CString& text) {
  Dos2Unix(text);
  text.Replace("\n", "\r\n");
}

CString CDVDProject::FilterFileNameIllegalChar(LPCTSTR name, char replacement) {
  std::string out = name != nullptr ? name : "";
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32 ||
        std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      c = replacement;
  return CString(std::move(out));
}

CString CDVDProject::FilterPathIllegalChar(LPCTSTR text, char replacement) {
  std::string out = text != nullptr ? text : "";
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32 || std::string_view(":*?\"<>|").find(c) != std::string_view::npos)
      c = replacement;
  return CString(std::move(out));
}
