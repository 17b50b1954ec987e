#include "shell/SettingsSupport.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include "modules/data/DVDProject.h"
#include "modules/files/Files.h"
#include "platform/kernel/Path.h"

namespace settings {

namespace {

constexpr ULONGLONG kMinimumWaveBytes = 307200;
constexpr ULONGLONG kMinimumMusicBytes = 30720;

// The documents folder the desktop names in user-dirs.dirs (XDG_DOCUMENTS_DIR="$HOME/Documents"),
// or "" when it names none.
std::string DocumentsFromUserDirs(const std::string& home) {
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
    config = xdg;
  else
    config = home + "/.config";
  std::ifstream file(config + "/user-dirs.dirs");
  std::string line;
  while (std::getline(file, line)) {
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
    if (line.rfind(kKey, 0) != 0) continue;
    const size_t end = line.find('"', kKey.size());
    if (end == std::string::npos) return "";
    std::string folder = line.substr(kKey.size(), end - kKey.size());
    if (folder.rfind("$HOME", 0) == 0) folder = home + folder.substr(5);
    return !folder.empty() && folder[0] == '/' ? folder : "";
  }
  return "";
}

}  // namespace

BOOL OpenSectionForWrite(CARRegistry& registry, LPCTSTR lpszSection) {
  if (registry.Open(lpszSection)) return TRUE;
  registry.CreateKey(lpszSection);
  registry.Close();
  return registry.Open(lpszSection);
}

CString DefaultMusicPath() {
  return CString(pictavo::path::Join(CDVDProject::GetExeFilePath().View(), "music/default.mp3"));
}

void KeepPlayableMusic(const CStringArray& candidates, CStringArray& result) {
  result.RemoveAll();
  for (INT_PTR i = 0; i < candidates.GetSize(); ++i) {
    const CString& path = candidates[i];
    CFileStatus status{};
    if (!Zorv_CFileGetStatus(path, status, 0)) continue;
    const bool wave = CString(pictavo::path::Extension(path.View())).CompareNoCase(".wav") == 0;
    if (status.m_size >= (wave ? kMinimumWaveBytes : kMinimumMusicBytes)) result.Add(path);
  }
}

CString UserDocumentsFolder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return CString();
  std::string folder = DocumentsFromUserDirs(home);
  if (folder.empty()) folder = pictavo::path::Join(home, "Documents");
  if (!CDVDProject::CreateAllDirectories(folder.c_str())) return CString();
  return CString(folder);
}

}  // namespace settings
