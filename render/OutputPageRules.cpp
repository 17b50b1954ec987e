#include "render/OutputPageRules.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "platform/kernel/Path.h"

namespace fs = std::filesystem;

namespace output_page {

namespace {

CString WithSeparator(CString folder) {
  if (folder.IsEmpty()) return folder;
  const char last = folder[folder.GetLength() - 1];
  if (last != '/' && last != '\\') folder += '/';
  return folder;
}

CString ReasonOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "You have no permission to write there.";
    case EROFS:
      return "The folder is on a read-only file system.";
    case ENOSPC:
      return "The disk is full.";
    case ENOTDIR:
    case EEXIST:
      return "A file of that name is in the way.";
    default:
      return std::strerror(error);
  }
}

}  // namespace

POINT EmbeddedPagePos(SIZE client, SIZE page) {
  POINT pos{(client.cx - page.cx) / 2, (client.cy - page.cy) / 2};
  if (pos.y > 20) pos.y -= 20;
  pos.y = std::max<LONG>(pos.y, 0);
  return pos;
}

CString OutputFolderOf(int nOutputType, LPCTSTR lpszTempPath, LPCTSTR lpszOutputPath,
                       LPCTSTR lpszGroupFolder) {
  if (nOutputType == DVD_OUTPUT_BLURAY) {
    CString folder;
    folder.Format("%s/Bluray_Folder/", lpszTempPath != nullptr ? lpszTempPath : "");
    return folder;
  }
  CString folder = WithSeparator(lpszOutputPath != nullptr ? lpszOutputPath : "");
  if (lpszGroupFolder != nullptr) folder = WithSeparator(folder + lpszGroupFolder);
  return folder;
}

CString OutputFolderProblem(LPCTSTR lpszFolder) {
  if (lpszFolder == nullptr || *lpszFolder == '\0') return "No folder is given.";
  const std::string native = pictavo::path::ToNative(lpszFolder);
  std::error_code ec;
  fs::create_directories(native, ec);
  if (!fs::is_directory(native)) return ReasonOf(ec ? ec.value() : ENOTDIR);
  // Making a folder succeeds on folders we may not write into: only a file written proves it.
  std::string probe = (fs::path(native) / ".pictavo-write-XXXXXX").string();
  const int fd = mkstemp(probe.data());
  if (fd < 0) return ReasonOf(errno);
  close(fd);
  unlink(probe.c_str());
  return CString();
}

BOOL TakeOptionText(_AV_OUTPUT_OPTION& option, const CString& strText) {
  if (strText.CompareNoCase(option.strValue) == 0) return FALSE;
  CString value = strText;
  value.Trim();
  if (option.nMaxLength > 0 && value.GetLength() > option.nMaxLength) {
    int cut = option.nMaxLength;
    // Never leave half a character behind.
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
    value = value.Left(cut);
  }
  option.strValue = value;
  return TRUE;
}

}  // namespace output_page
