#include "shell/ProcessObjects.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "modules/files/Files.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/mfc/Afx.h"
#include "platform/user/MessageBox.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

namespace fs = std::filesystem;

namespace {

CWindowRegistry g_windowRegistry;
_tagPanZoomWorkParamEx g_panZoomClipboard;

bool IsRunFolderName(const std::string& name) {
  if (name.size() != 12) return false;
  for (char c : name)
    if (c < '0' || c > '9') return false;
  return true;
}

void CleanOneFolder(const std::string& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (!it->is_directory(kind) || it->is_symlink(kind)) continue;
    if (!IsRunFolderName(it->path().filename().string())) continue;
    if (!fs::exists(it->path() / kProgramTempMarker, kind)) continue;
    CDVDProject::RemoveAllDirectories(it->path().c_str());
  }
}

}  // namespace

int g_bPanZoomClipboardFilled = 0;

CWindowRegistry* GetWindowRegistry() {
  return &g_windowRegistry;
}

_tagPanZoomWorkParamEx* GetPanZoomClipboard() {
  return &g_panZoomClipboard;
}

BOOL MarkProgramTempFolder(LPCTSTR lpszFolder) {
  if (lpszFolder == nullptr || *lpszFolder == '\0') return FALSE;
  const std::string marker = pictavo::path::Join(pictavo::path::ToNative(lpszFolder), kProgramTempMarker);
  std::ofstream out(marker, std::ios::app);
  return out ? TRUE : FALSE;
}

void CleanTempFolders(LPCTSTR lpszBase) {
  if (lpszBase == nullptr || *lpszBase == '\0') return;
  const std::string base = pictavo::path::ToNative(lpszBase);
  CleanOneFolder(pictavo::path::Join(base, "Temp"));
  CleanOneFolder(base);
}

BOOL GetDiskFreeSpaceInfo(LPCTSTR lpszPath, ULONGLONG* pTotalBytes, ULONGLONG* pFreeBytes) {
  if (lpszPath == nullptr || *lpszPath == '\0') return FALSE;
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceEx(lpszPath, &available, &total, &free)) return FALSE;
  if (pTotalBytes != nullptr) *pTotalBytes = total.QuadPart;
  if (pFreeBytes != nullptr) *pFreeBytes = available.QuadPart;
  return TRUE;
}

CString FormatThousands(UINT nValue) {
  if (nValue == 0) return CString();
  std::string digits = std::to_string(nValue);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return CString(digits.c_str());
}

CString FormatKiloBytes(LONG nBytes) {
  const long long kilo = (static_cast<long long>(nBytes) + 1023) / 1024;
  std::string digits = std::to_string(kilo < 0 ? -kilo : kilo);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  if (kilo < 0) digits.insert(0, "-");
  return CString((digits + " KB").c_str());
}

int RoundToHundredths(double& value) {
  const double shifted = value >= 0 ? value + 0.005 : value - 0.005;
  const int hundredths = static_cast<int>(shifted * 100);
  value = hundredths * 0.01;
  return hundredths;
}

int MessageBoxText(LPCTSTR lpszText, UINT nType) {
  nType |= (nType & 4) ? MB_ICONQUESTION : MB_ICONINFORMATION;
  CWnd* owner = AfxGetMainWnd();
  return MessageBox(owner != nullptr ? owner->GetSafeHwnd() : nullptr, lpszText, GetProductTitle(), nType);
}

int MessageBoxById(UINT nStringID, UINT nType) {
  return MessageBoxText(LoadLangString(nStringID), nType);
}

int ApplyDefaultSubtitleFont(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr) return 1;
  AppSettings* const settings = GetAppSettings();
  settings->Transition.ApplyToAlbum(pAlbum);
  pAlbum->SetDVDSubtitleFont(settings->SubtitleFont.Font);
  return 1;
}

CString GetBlankImagePath() {
  std::string folder =
      pictavo::path::Join(pictavo::path::ToNative(GetProject()->Get_strTempFilePathBase().View()), "Images");
  CDVDProject::CreateAllDirectories(folder.c_str());
  const CString path(pictavo::path::Join(folder, "blank.jpg").c_str());
  CFileStatus status;
  if (!Zorv_CFileGetStatus(path, status, 0)) CDVDImage::CreateBlankImage(path, 0, 1024, 768);
  return path;
}

CString GetDefaultMusicPath() {
  return CString(pictavo::path::Join(CDVDProject::GetExeFilePath().View(), "music/default.mp3").c_str());
}
