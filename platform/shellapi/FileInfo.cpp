#include "platform/shellapi/FileInfo.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/base/Utf8.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/shellapi/Namespace.h"
#include "platform/shellapi/ShellFolder.h"

namespace {

using pictavo::comctl::SystemIcon;
using pictavo::shell::detail::FileKind;
using pictavo::shell::detail::Location;
namespace detail = pictavo::shell::detail;

SystemIcon IconOf(const Location& item, bool folder, bool open) {
  if (item.kind == Location::Kind::kComputer || item.root == Location::Root::kMount)
    return SystemIcon::kDrive;
  if (folder) return open ? SystemIcon::kOpenFolder : SystemIcon::kFolder;
  switch (detail::KindOfFile(item.name)) {
    case FileKind::kImage:
      return SystemIcon::kImageFile;
    case FileKind::kAudio:
      return SystemIcon::kAudioFile;
    case FileKind::kVideo:
      return SystemIcon::kVideoFile;
    case FileKind::kOther:
      break;
  }
  return SystemIcon::kFile;
}

// Cut to whole characters, so a long name stays valid UTF-8.
void CopyText(const std::string& text, char* out, size_t size) {
  size_t length = 0;
  while (length < text.size()) {
    const size_t next =
        length + std::max<size_t>(1, pictavo::utf8::CharLength(std::string_view(text).substr(length)));
    if (next > size - 1) break;
    length = next;
  }
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

}  // namespace

DWORD_PTR SHGetFileInfo(LPCSTR path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags) {
  if (!path || (flags & (SHGFI_EXETYPE | SHGFI_ICONLOCATION))) return 0;
  const bool wantsInfo = flags & (SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ICON | SHGFI_ATTRIBUTES);
  if (wantsInfo && (!info || infoSize < sizeof(SHFILEINFO))) return 0;

  std::optional<Location> item;
  if (flags & SHGFI_PIDL) {
    item = detail::Resolve(reinterpret_cast<LPCITEMIDLIST>(path));
  } else if (flags & SHGFI_USEFILEATTRIBUTES) {
    // Only the name counts: nothing is read from the disk.
    Location named;
    named.kind = Location::Kind::kFileSystem;
    named.path = pictavo::path::ToNative(path);
    named.name = std::string(pictavo::path::FileName(pictavo::path::WithoutTrailingSeparator(named.path)));
    named.folder = fileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    item = named;
  } else {
    std::string native = pictavo::path::ToNative(path);
    const bool named = native.rfind("::", 0) == 0 || (native.size() >= 2 && native[1] == ':');
    if (pictavo::path::IsRelative(native) && !named) {
      char cwd[4096];
      if (!GetCurrentDirectory(sizeof cwd, cwd)) return 0;
      native = pictavo::path::Join(cwd, native);
    }
    item = detail::LocationOfPath(native);
  }
  if (!item) return 0;

  const bool onDisk = !(flags & SHGFI_USEFILEATTRIBUTES);
  bool folder = item->kind != Location::Kind::kFileSystem || item->folder;
  if (onDisk && item->kind == Location::Kind::kFileSystem) {
    const DWORD attributes = GetFileAttributes(item->path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
  }
  const bool small = flags & SHGFI_SMALLICON;
  const int icon = pictavo::comctl::SystemIconIndex(IconOf(*item, folder, flags & SHGFI_OPENICON));

  if (info && wantsInfo) {
    if (flags & SHGFI_DISPLAYNAME)
      CopyText(detail::DisplayName(*item, SHGDN_NORMAL), info->szDisplayName, MAX_PATH);
    if (flags & SHGFI_TYPENAME) {
      const std::string type =
          onDisk ? detail::TypeName(*item) : (folder ? "File folder" : detail::TypeNameOfFile(item->name));
      CopyText(type, info->szTypeName, sizeof info->szTypeName);
    }
    if (flags & SHGFI_ATTRIBUTES) {
      const DWORD wanted = (flags & SHGFI_ATTR_SPECIFIED) ? info->dwAttributes : 0xFFFFFFFFu;
      DWORD attributes = 0;
      if (onDisk)
        attributes = detail::Attributes(*item, wanted);
      else
        attributes = SFGAO_FILESYSTEM | (folder ? SFGAO_FOLDER | SFGAO_FILESYSANCESTOR : SFGAO_STREAM);
      info->dwAttributes = attributes & wanted;
    }
    if (flags & SHGFI_ICON) {
      info->iIcon = icon;
      info->hIcon = ImageList_GetIcon(pictavo::comctl::SystemImageList(small), icon, ILD_NORMAL);
      if (!info->hIcon) return 0;
    }
  }
  if (flags & SHGFI_SYSICONINDEX) {
    if (info) info->iIcon = icon;
    return reinterpret_cast<DWORD_PTR>(pictavo::comctl::SystemImageList(small));
  }
  return 1;
}
