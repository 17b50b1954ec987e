#include "albums/AlbumRules.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/kernel/FileFind.h"
#include "platform/kernel/Path.h"

namespace {

constexpr std::array<std::string_view, 7> kPhotoExts = {".jpg", ".jpeg", ".bmp", ".pcx",
                                                        ".tif", ".tiff", ".png"};
constexpr std::array<std::string_view, 3> kMusicExts = {".mp3", ".wav", ".wma"};
constexpr std::array<std::string_view, 12> kVideoExts = {".avi",  ".mov", ".vob", ".wmv", ".asf",  ".mpg",
                                                         ".mpeg", ".3gp", ".mp4", ".rm",  ".rmvb", ".flv"};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

template <size_t N>
BOOL InList(LPCTSTR lpszExt, const std::array<std::string_view, N>& list) {
  if (lpszExt == nullptr || *lpszExt == '\0') return FALSE;
  const std::string_view ext(lpszExt);
  return std::any_of(list.begin(), list.end(), [&](std::string_view e) { return EqualsNoCase(e, ext); });
}

std::string_view View(LPCTSTR text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

CString FileExtOf(LPCTSTR lpszPath) {
  return CString(std::string(pictavo::path::Extension(View(lpszPath))).c_str());
}

BOOL IsPhotoFileExt(LPCTSTR lpszExt) {
  return InList(lpszExt, kPhotoExts);
}

BOOL IsMusicFileExt(LPCTSTR lpszExt) {
  return InList(lpszExt, kMusicExts);
}

BOOL IsVideoFileExt(LPCTSTR lpszExt) {
  return InList(lpszExt, kVideoExts);
}

BOOL HasSubfolders(LPCTSTR lpszFolder) {
  if (lpszFolder == nullptr || *lpszFolder == '\0') return FALSE;
  CFileFind finder;
  CString pattern;
  pattern.Format("%s/*.*", std::string(pictavo::path::WithoutTrailingSeparator(lpszFolder)).c_str());
  for (BOOL more = finder.FindFile(pattern); more;) {
    more = finder.FindNextFile();
    if (finder.IsDots() || !finder.IsDirectory()) continue;
    if (finder.IsHidden() || finder.IsSystem()) continue;
    return TRUE;
  }
  return FALSE;
}

CString AlbumNameForPhoto(LPCTSTR lpszPhotoPath, LPCTSTR lpszFallback) {
  // The folder with its trailing separator, that separator dropped: what is left after the last
  // separator is the folder's own name; a photo in the root has none.
  const std::string_view folder = pictavo::path::FolderWithSeparator(View(lpszPhotoPath));
  std::string_view trimmed = folder;
  if (!trimmed.empty()) trimmed.remove_suffix(1);
  const size_t last = pictavo::path::LastSeparator(trimmed);
  if (last == std::string_view::npos) return CString(lpszFallback);
  const std::string_view name = trimmed.substr(last + 1);
  if (name.empty() || (name.size() == 2 && name[1] == ':')) return CString(lpszFallback);
  return CString(std::string(name).c_str());
}

CString AlbumNameForTreeFolder(LPCTSTR lpszFolder, LPCTSTR lpszFallback) {
  const std::string_view path = View(lpszFolder);
  const std::string_view name = pictavo::path::FileName(path);
  if (name.empty()) return CString(lpszFallback);
  return CString(std::string(name).c_str());
}

CString FolderOwnName(LPCTSTR lpszFolder) {
  std::string_view path = View(lpszFolder);
  if (!path.empty() && pictavo::path::IsSeparator(path.back())) path.remove_suffix(1);
  const size_t last = pictavo::path::LastSeparator(path);
  if (last == std::string_view::npos) return CString();
  return CString(std::string(path.substr(last + 1)).c_str());
}

CString ProposedAlbumName(LPCTSTR lpszFolder) {
  return CString(std::string(pictavo::path::FileName(View(lpszFolder))).c_str());
}

int NewAlbumInsertIndex(int nActive, int nCount) {
  return nActive >= 0 && nActive < nCount ? nActive : nCount;
}

int SelectionAfterAlbumDelete(int nDeleted, int nCountAfter) {
  if (nCountAfter <= 0) return -1;
  return std::clamp(nDeleted, 0, nCountAfter - 1);
}

int RowAfterPhotoRemoval(int nLastRemovedRow, int nRowsLeft) {
  if (nRowsLeft <= 0) return -1;
  return std::clamp(nLastRemovedRow, 0, nRowsLeft - 1);
}

int AddRotation(int nAngle, int nDegrees) {
  const long long sum = (static_cast<long long>(nAngle) + nDegrees) % 360;
  return static_cast<int>(sum < 0 ? sum + 360 : sum);
}
