#include "albums/ExploreBarRules.h"

#include <string>
#include <string_view>

#include "albums/AlbumRules.h"
#include "controls/ListSortCompare.h"
#include "platform/comctl/ListView.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Time.h"

namespace {

// The panel's menu commands.
constexpr UINT kViewThumbnails = 32819;
constexpr UINT kViewDetails = 32818;
constexpr UINT kViewLargeIcons = 32927;
constexpr UINT kViewList = 32817;
constexpr UINT kViewSmallIcons = 32928;
constexpr UINT kSortCommands[BROWSER_COLUMN_COUNT] = {32930, 32932, 32931, 32933, 33920, 33921};

constexpr int kScrollBand = 12;

std::string_view View(LPCTSTR text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

int BrowserRowKindOf(LPCTSTR lpszName, BOOL bFolder, BOOL bHiddenOrSystem) {
  const std::string_view name = View(lpszName);
  if (bHiddenOrSystem || name.empty() || name == "." || name == "..") return BROWSER_ROW_NONE;
  if (bFolder) return BROWSER_ROW_FOLDER;
  const CString ext = FileExtOf(lpszName);
  if (IsPhotoFileExt(ext)) return BROWSER_ROW_PHOTO;
  if (IsMusicFileExt(ext)) return BROWSER_ROW_MUSIC;
  return BROWSER_ROW_NONE;
}

CString ParentFolderRowPath(LPCTSTR lpszFolder) {
  const std::string_view folder = pictavo::path::WithoutTrailingSeparator(View(lpszFolder));
  // The root has no parent: listing "/" must not offer a row that leads to "/" again.
  const size_t cut = pictavo::path::LastSeparator(folder);
  if (folder.empty() || folder == "/" || cut == std::string_view::npos) return CString();
  return CString(std::string(folder.substr(0, cut + 1)).c_str());
}

BOOL IsParentFolderRowPath(LPCTSTR lpszPath) {
  return pictavo::path::EndsWithSeparator(View(lpszPath));
}

CString BrowserSizeText(ULONGLONG nBytes) {
  std::string digits = std::to_string(nBytes / 1024 + (nBytes % 1024 != 0 ? 1 : 0));
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return CString((digits + " KB").c_str());
}

CString BrowserTimeText(const FILETIME& ftUtc) {
  FILETIME local{};
  SYSTEMTIME time{};
  CString text;
  if (FileTimeToLocalFileTime(&ftUtc, &local) && FileTimeToSystemTime(&local, &time))
    text.Format("%d-%02d-%02d %02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);
  return text;
}

int SortColumnFromSetting(int nStored) {
  // C's remainder keeps a negative value's sign, and column -1 has no header to sort by.
  const int column = nStored % BROWSER_COLUMN_COUNT;
  return column < 0 ? BROWSER_COLUMN_NAME : column;
}

int SortKindForColumn(int nColumn) {
  if (nColumn == BROWSER_COLUMN_SIZE) return LIST_SORT_LENGTH;
  if (nColumn == BROWSER_COLUMN_TYPE) return LIST_SORT_TEXT_NOCASE;
  return LIST_SORT_TEXT;
}

UINT SortCommandForColumn(int nColumn) {
  return nColumn > 0 && nColumn < BROWSER_COLUMN_COUNT ? kSortCommands[nColumn] : kSortCommands[0];
}

int SortColumnForCommand(UINT nCommand) {
  for (int column = 0; column < BROWSER_COLUMN_COUNT; ++column)
    if (kSortCommands[column] == nCommand) return column;
  return -1;
}

UINT ViewCommandFor(BOOL bThumbnails, DWORD dwListStyle) {
  if (bThumbnails) return kViewThumbnails;
  switch (dwListStyle & LVS_TYPEMASK) {
    case LVS_REPORT:
      return kViewDetails;
    case LVS_SMALLICON:
      return kViewSmallIcons;
    case LVS_LIST:
      return kViewList;
    default:
      return kViewLargeIcons;
  }
}

CString DropAlbumName(LPCTSTR lpszFirstPath, int nSelected, BOOL bFirstIsFolder) {
  const std::string_view path = pictavo::path::WithoutTrailingSeparator(View(lpszFirstPath));
  const size_t last = pictavo::path::LastSeparator(path);
  if (nSelected == 1 && bFirstIsFolder)
    return CString(std::string(last == std::string_view::npos ? path : path.substr(last + 1)).c_str());
  // The folder holding the path: the text between its last two separators.
  if (last == std::string_view::npos) return CString();
  const std::string_view holder = path.substr(0, last);
  const size_t before = pictavo::path::LastSeparator(holder);
  if (before == std::string_view::npos) return CString();
  return CString(std::string(holder.substr(before + 1)).c_str());
}

int DragScrollDirection(const RECT& rcClient, POINT pt) {
  if (pt.y < rcClient.top + kScrollBand) return 1;
  if (pt.y > rcClient.bottom - kScrollBand) return 2;
  return 0;
}
