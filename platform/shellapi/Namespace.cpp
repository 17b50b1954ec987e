#include "platform/shellapi/Namespace.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/com/TaskMemory.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"
#include "platform/shellapi/ShellFolder.h"
#include "platform/shellapi/UserFolders.h"

namespace pictavo::shell::detail {

namespace {

constexpr char kComputer = 'C';
constexpr char kNetwork = 'W';
constexpr char kRooted = 'R';
constexpr char kNamed = 'N';
constexpr size_t kItemOverhead = sizeof(USHORT) + 2 + 1;  // length, kind, flag, NUL

struct Item {
  char kind;
  bool folder;
  std::string_view text;
};

// The items of a list; nothing when the bytes are not a list this shell made.
std::optional<std::vector<Item>> Decode(std::string_view bytes) {
  std::vector<Item> items;
  while (!bytes.empty()) {
    if (bytes.size() < sizeof(USHORT)) return std::nullopt;
    USHORT cb;
    std::memcpy(&cb, bytes.data(), sizeof cb);
    if (cb < kItemOverhead || cb > bytes.size() || bytes[cb - 1] != '\0') return std::nullopt;
    const std::string_view text = bytes.substr(sizeof(USHORT) + 2, cb - kItemOverhead);
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    items.push_back({bytes[2], bytes[3] != 0, text});
    bytes.remove_prefix(cb);
  }
  return items;
}

bool IsFolderOnDisk(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether `path` lies strictly below `folder` (both normalised).
bool IsBelow(const std::string& path, const std::string& folder) {
  if (folder == "/") return path.size() > 1;
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

std::string DesktopFolder() {
  return Normalize(UserFolderPath(UserFolder::kDesktop));
}

// The desktop shows the desktop folder's entries unless that folder is the home folder itself
// (whose entries the home item shows) or does not exist.
bool DesktopListsEntries(const std::string& desktop, const std::string& home) {
  return !desktop.empty() && desktop != home && IsFolderOnDisk(desktop);
}

// The components of `path` below `folder`, each with its list item.
void AppendNamedItems(IdBytes& ids, const std::string& folder, const std::string& path) {
  std::string at = folder;
  std::string_view rest = std::string_view(path).substr(folder == "/" ? 1 : folder.size() + 1);
  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    const std::string_view name = rest.substr(0, slash);
    at = path::Join(at, name);
    ids += EncodeItem(kNamed, IsFolderOnDisk(at), name);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
}

std::string MountDisplayName(const std::string& mount) {
  if (mount == "/") return "File System (/)";
  return std::string(path::FileName(mount)) + " (" + mount + ")";
}

std::string HoldingMount(const std::string& path) {
  std::string best = "/";
  for (const std::string& mount : MountPoints())
    if ((path == mount || IsBelow(path, mount)) && mount.size() > best.size()) best = mount;
  return best;
}

bool IsRemovableMount(const std::string& mount) {
  const UINT type = GetDriveType(mount.c_str());
  return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

bool HasSubfolder(const std::string& folder) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return false;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (entry->d_type == DT_DIR) return true;
    if ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) && IsFolderOnDisk(path::Join(folder, name)))
      return true;
  }
  return false;
}

}  // namespace

IdBytes NamedItems(const std::string& folder, const std::string& path) {
  IdBytes ids;
  AppendNamedItems(ids, folder, path);
  return ids;
}

IdBytes EncodeItem(char kind, bool folder, std::string_view text) {
  const size_t cb = kItemOverhead + text.size();
  IdBytes out(cb, '\0');
  const auto length = static_cast<USHORT>(cb);
  std::memcpy(out.data(), &length, sizeof length);
  out[2] = kind;
  out[3] = folder ? 1 : 0;
  std::memcpy(out.data() + 4, text.data(), text.size());
  return out;
}

IdBytes BytesOf(LPCITEMIDLIST pidl) {
  if (!pidl) return {};
  return IdBytes(reinterpret_cast<const char*>(pidl), ILGetSize(pidl) - sizeof(USHORT));
}

LPITEMIDLIST MakeList(const IdBytes& bytes) {
  auto* out = static_cast<char*>(CoTaskMemAlloc(bytes.size() + sizeof(USHORT)));
  if (!out) return nullptr;
  std::memcpy(out, bytes.data(), bytes.size());
  std::memset(out + bytes.size(), 0, sizeof(USHORT));
  return reinterpret_cast<LPITEMIDLIST>(out);
}

std::string Normalize(std::string_view text) {
  const std::string native = path::ToNative(text);
  if (native.empty() || native[0] != '/') return {};
  std::vector<std::string_view> parts;
  std::string_view rest(native);
  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  std::string out;
  for (std::string_view part : parts) (out += '/') += part;
  return out.empty() ? "/" : out;
}

std::vector<std::string> MountPoints() {
  std::vector<std::string> mounts;
  const DWORD size = GetLogicalDriveStrings(0, nullptr);
  std::string list(size + 1, '\0');
  const DWORD used = GetLogicalDriveStrings(static_cast<DWORD>(list.size()), list.data());
  if (used == 0 || used >= list.size()) return {"/"};
  for (const char* at = list.c_str(); *at; at += std::strlen(at) + 1) mounts.push_back(Normalize(at));
  return mounts;
}

std::optional<Location> Resolve(LPCITEMIDLIST absolute) {
  return Resolve(BytesOf(absolute));
}

std::optional<Location> Resolve(const IdBytes& absolute) {
  const auto items = Decode(absolute);
  if (!items) return std::nullopt;
  Location at;
  for (size_t index = 0; index < items->size(); ++index) {
    const Item& item = (*items)[index];
    switch (item.kind) {
      case kComputer:
      case kNetwork:
        if (index != 0) return std::nullopt;
        at.kind = item.kind == kComputer ? Location::Kind::kComputer : Location::Kind::kNetwork;
        break;
      case kRooted: {
        const bool home = at.kind == Location::Kind::kDesktop && index == 0;
        const bool mount = at.kind == Location::Kind::kComputer && index == 1;
        if ((!home && !mount) || Normalize(item.text) != item.text) return std::nullopt;
        at.kind = Location::Kind::kFileSystem;
        at.root = home ? Location::Root::kHome : Location::Root::kMount;
        at.path = std::string(item.text);
        at.name = at.path == "/" ? "/" : std::string(path::FileName(at.path));
        at.folder = item.folder;
        break;
      }
      case kNamed: {
        if (item.text.empty() || item.text == "." || item.text == ".." ||
            item.text.find('/') != std::string_view::npos)
          return std::nullopt;
        if (at.kind == Location::Kind::kDesktop && index == 0)
          at.path = DesktopFolder();
        else if (at.kind != Location::Kind::kFileSystem || !at.folder)
          return std::nullopt;
        at.kind = Location::Kind::kFileSystem;
        at.root = Location::Root::kNone;
        at.path = path::Join(at.path, item.text);
        at.name = std::string(item.text);
        at.folder = item.folder;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return at;
}

Parsed ParsePath(std::string_view text) {
  Parsed out;
  if (text.size() > 2 && text.substr(0, 2) == "::") {
    if (unicode::EqualsNoCase(text, kComputerParsingName))
      out.ids = EncodeItem(kComputer, true, {});
    else if (unicode::EqualsNoCase(text, kNetworkParsingName))
      out.ids = EncodeItem(kNetwork, true, {});
    else
      out.error = ERROR_FILE_NOT_FOUND;
    return out;
  }
  std::string spelled(text);
  // "C:", "C:\..." name the mount points in the kernel's drive order.
  if (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0])) &&
      (text.size() == 2 || path::IsSeparator(text[2]))) {
    const int index = std::toupper(static_cast<unsigned char>(text[0])) - 'C';
    const std::vector<std::string> mounts = MountPoints();
    if (index < 0 || static_cast<size_t>(index) >= mounts.size()) {
      out.error = ERROR_PATH_NOT_FOUND;
      return out;
    }
    spelled = mounts[index] + "/" + std::string(text.substr(std::min<size_t>(text.size(), 3)));
  }
  const std::string native = Normalize(spelled);
  if (native.empty()) {
    out.error = ERROR_INVALID_NAME;
    return out;
  }
  struct stat st;
  if (::stat(native.c_str(), &st) != 0 && ::lstat(native.c_str(), &st) != 0) {
    out.error =
        IsFolderOnDisk(std::string(path::Folder(native))) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    return out;
  }
  const std::string home = Normalize(HomeFolder());
  const std::string desktop = DesktopFolder();
  if (DesktopListsEntries(desktop, home) && IsBelow(native, desktop)) {
    AppendNamedItems(out.ids, desktop, native);
  } else if (home != "/" && (native == home || IsBelow(native, home))) {
    out.ids = EncodeItem(kRooted, true, home);
    if (native != home) AppendNamedItems(out.ids, home, native);
  } else {
    const std::string mount = HoldingMount(native);
    out.ids = EncodeItem(kComputer, true, {}) + EncodeItem(kRooted, true, mount);
    if (native != mount) AppendNamedItems(out.ids, mount, native);
  }
  return out;
}

std::optional<Location> LocationOfPath(std::string_view path) {
  const Parsed parsed = ParsePath(path);
  if (parsed.error) return std::nullopt;
  return Resolve(parsed.ids);
}

bool Children(const Location& folder, bool folders, bool nonFolders, bool hidden, std::vector<IdBytes>& out,
              DWORD& error) {
  out.clear();
  error = ERROR_SUCCESS;
  std::string listed;
  switch (folder.kind) {
    case Location::Kind::kDesktop: {
      const std::string home = Normalize(HomeFolder());
      if (folders) {
        if (home != "/") out.push_back(EncodeItem(kRooted, true, home));
        out.push_back(EncodeItem(kComputer, true, {}));
        out.push_back(EncodeItem(kNetwork, true, {}));
      }
      const std::string desktop = DesktopFolder();
      if (!DesktopListsEntries(desktop, home)) return true;
      listed = desktop;
      break;
    }
    case Location::Kind::kComputer:
      if (folders)
        for (const std::string& mount : MountPoints()) out.push_back(EncodeItem(kRooted, true, mount));
      return true;
    case Location::Kind::kNetwork:
      return true;
    case Location::Kind::kFileSystem:
      listed = folder.path;
      break;
  }

  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(listed.c_str()), ::closedir);
  if (!dir) {
    error = errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno);
    return false;
  }
  struct Entry {
    std::string name;
    bool folder;
  };
  std::vector<Entry> entries;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!hidden && name[0] == '.') continue;
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
      isFolder = IsFolderOnDisk(path::Join(listed, name));
    if (isFolder ? folders : nonFolders) entries.push_back({name, isFolder});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    const int order = unicode::CompareNoCase(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
  });
  for (const Entry& entry : entries) out.push_back(EncodeItem(kNamed, entry.folder, entry.name));
  return true;
}

DWORD Attributes(const Location& item, DWORD wanted) {
  switch (item.kind) {
    case Location::Kind::kDesktop:
    case Location::Kind::kComputer:
      return SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
    case Location::Kind::kNetwork:
      return SFGAO_FOLDER;
    case Location::Kind::kFileSystem:
      break;
  }
  struct stat st;
  const bool exists = ::stat(item.path.c_str(), &st) == 0;
  const bool folder = exists ? S_ISDIR(st.st_mode) : item.folder;
  DWORD attributes = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANLINK;
  if (item.root == Location::Root::kNone) attributes |= SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE;
  attributes |= folder ? SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET : SFGAO_STREAM;
  if (item.root == Location::Root::kNone && !item.name.empty() && item.name[0] == '.')
    attributes |= SFGAO_HIDDEN;
  struct stat link;
  if (::lstat(item.path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) attributes |= SFGAO_LINK;
  if (exists && ::access(item.path.c_str(), W_OK) != 0) attributes |= SFGAO_READONLY;
  // Mount tables are read only when the answer needs them: for SFGAO_REMOVABLE, and for a mount
  // root's sub-folders, which a removable medium answers without being read.
  const bool mountRoot = item.root == Location::Root::kMount;
  bool removable = false;
  if ((wanted & SFGAO_REMOVABLE) || (mountRoot && (wanted & SFGAO_HASSUBFOLDER))) {
    removable = IsRemovableMount(mountRoot ? item.path : HoldingMount(item.path));
    if (removable) attributes |= SFGAO_REMOVABLE;
  }
  if ((wanted & SFGAO_HASSUBFOLDER) && folder && ((removable && mountRoot) || HasSubfolder(item.path)))
    attributes |= SFGAO_HASSUBFOLDER;
  return attributes;
}

std::string DisplayName(const Location& item, DWORD flags) {
  const bool parsing = flags & SHGDN_FORPARSING;
  switch (item.kind) {
    case Location::Kind::kDesktop:
      return parsing ? DesktopFolder() : "Desktop";
    case Location::Kind::kComputer:
      return parsing ? kComputerParsingName : "Computer";
    case Location::Kind::kNetwork:
      return parsing ? kNetworkParsingName : "Network";
    case Location::Kind::kFileSystem:
      break;
  }
  if (item.root == Location::Root::kHome) return parsing ? item.path : "Home";
  if (item.root == Location::Root::kMount) return parsing ? item.path : MountDisplayName(item.path);
  return parsing && !(flags & SHGDN_INFOLDER) ? item.path : item.name;
}

std::string TypeName(const Location& item) {
  if (item.kind != Location::Kind::kFileSystem) return "System Folder";
  if (item.root == Location::Root::kMount) {
    switch (GetDriveType(item.path.c_str())) {
      case DRIVE_REMOVABLE:
        return "Removable Disk";
      case DRIVE_CDROM:
        return "CD Drive";
      case DRIVE_REMOTE:
        return "Network Drive";
      case DRIVE_RAMDISK:
        return "RAM Disk";
      default:
        return "Local Disk";
    }
  }
  struct stat st;
  const bool folder = ::stat(item.path.c_str(), &st) == 0 ? S_ISDIR(st.st_mode) : item.folder;
  return folder ? "File folder" : TypeNameOfFile(item.name);
}

}  // namespace pictavo::shell::detail

LPITEMIDLIST ILCreateFromPath(LPCSTR path) {
  if (!path) return nullptr;
  const auto parsed = pictavo::shell::detail::ParsePath(path);
  if (parsed.error) {
    SetLastError(parsed.error);
    return nullptr;
  }
  return pictavo::shell::detail::MakeList(parsed.ids);
}
