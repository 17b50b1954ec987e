#include "platform/shellapi/KnownFolders.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/com/HResult.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/shellapi/Namespace.h"
#include "platform/shellapi/ShellFolder.h"
#include "platform/shellapi/UserFolders.h"

namespace {

using pictavo::shell::UserFolder;
using pictavo::shell::UserFolderPath;

enum class Kind { kUnknown, kVirtual, kPath };

std::string SystemFolder(UINT (*query)(LPSTR, UINT)) {
  char buffer[MAX_PATH] = "";
  const UINT length = query(buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

// The path of a special folder; kVirtual for Computer and Network.
Kind PathOf(int folder, std::string& out) {
  switch (folder) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
      out = UserFolderPath(UserFolder::kDesktop);
      break;
    case CSIDL_PERSONAL:
      out = UserFolderPath(UserFolder::kDocuments);
      break;
    case CSIDL_MYPICTURES:
      out = UserFolderPath(UserFolder::kPictures);
      break;
    case CSIDL_MYMUSIC:
      out = UserFolderPath(UserFolder::kMusic);
      break;
    case CSIDL_MYVIDEO:
      out = UserFolderPath(UserFolder::kVideos);
      break;
    case CSIDL_TEMPLATES:
      out = UserFolderPath(UserFolder::kTemplates);
      break;
    case CSIDL_PROFILE:
      out = pictavo::shell::HomeFolder();
      break;
    case CSIDL_APPDATA:
      out = pictavo::shell::ConfigHome();
      break;
    case CSIDL_LOCAL_APPDATA:
      out = pictavo::shell::DataHome();
      break;
    case CSIDL_COMMON_APPDATA:
      out = pictavo::shell::FirstSystemDataFolder();
      break;
    case CSIDL_FONTS:
      out = pictavo::path::Join(pictavo::shell::DataHome(), "fonts");
      break;
    case CSIDL_WINDOWS:
      out = SystemFolder(GetWindowsDirectory);
      break;
    case CSIDL_SYSTEM:
      out = SystemFolder(GetSystemDirectory);
      break;
    case CSIDL_PROGRAM_FILES:
      out = "/opt";
      break;
    case CSIDL_DRIVES:
    case CSIDL_NETWORK:
      return Kind::kVirtual;
    default:
      return Kind::kUnknown;
  }
  return out.empty() ? Kind::kUnknown : Kind::kPath;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes the folder with its parents; the Win32 error on failure.
DWORD MakeFolder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (IsFolder(path)) return ERROR_SUCCESS;
  return error ? pictavo::ErrorFromErrno(error.value()) : ERROR_ALREADY_EXISTS;
}

}  // namespace

HRESULT SHGetFolderPath(HWND owner, int csidl, HANDLE token, DWORD flags, LPSTR path) {
  if (!path) return E_INVALIDARG;
  path[0] = '\0';
  std::string folder;
  switch (PathOf(csidl & ~CSIDL_FLAG_MASK, folder)) {
    case Kind::kUnknown:
      return E_INVALIDARG;
    case Kind::kVirtual:
      return E_FAIL;
    case Kind::kPath:
      break;
  }
  if (folder.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  if (csidl & CSIDL_FLAG_CREATE) {
    const DWORD error = MakeFolder(folder);
    if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
  }
  std::memcpy(path, folder.c_str(), folder.size() + 1);
  return IsFolder(folder) ? S_OK : S_FALSE;
}

BOOL SHGetSpecialFolderPath(HWND owner, LPSTR path, int csidl, BOOL create) {
  return SHGetFolderPath(owner, csidl | (create ? CSIDL_FLAG_CREATE : 0), nullptr, SHGFP_TYPE_CURRENT,
                         path) == S_OK;
}

HRESULT SHGetFolderLocation(HWND owner, int csidl, HANDLE token, DWORD reserved, LPITEMIDLIST* pidl) {
  namespace detail = pictavo::shell::detail;
  if (!pidl) return E_INVALIDARG;
  *pidl = nullptr;
  detail::IdBytes ids;
  const int folder = csidl & ~CSIDL_FLAG_MASK;
  if (folder == CSIDL_DRIVES || folder == CSIDL_NETWORK) {
    ids =
        detail::ParsePath(folder == CSIDL_DRIVES ? detail::kComputerParsingName : detail::kNetworkParsingName)
            .ids;
  } else if (folder != CSIDL_DESKTOP) {
    char path[MAX_PATH];
    const HRESULT found = SHGetFolderPath(owner, csidl, token, SHGFP_TYPE_CURRENT, path);
    if (FAILED(found)) return found;
    const detail::Parsed parsed = detail::ParsePath(path);
    if (parsed.error) return HRESULT_FROM_WIN32(parsed.error);
    ids = parsed.ids;
  }
  *pidl = detail::MakeList(ids);
  return *pidl ? S_OK : E_OUTOFMEMORY;
}

HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, LPITEMIDLIST* pidl) {
  return SHGetFolderLocation(owner, csidl, nullptr, 0, pidl);
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPSTR path) {
  namespace detail = pictavo::shell::detail;
  if (!path) return FALSE;
  path[0] = '\0';
  if (!pidl) return FALSE;
  const auto where = detail::Resolve(pidl);
  if (!where) return FALSE;
  std::string text;
  if (where->kind == detail::Location::Kind::kDesktop)
    text = detail::DisplayName(*where, SHGDN_FORPARSING);  // the desktop folder
  else if (where->kind == detail::Location::Kind::kFileSystem)
    text = where->path;
  if (text.empty() || text.size() >= MAX_PATH) return FALSE;
  std::memcpy(path, text.c_str(), text.size() + 1);
  return TRUE;
}
