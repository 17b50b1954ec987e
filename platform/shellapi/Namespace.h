// The shell namespace behind item id lists, shared by the folder objects, the special folders
// and SHGetFileInfo.
//
// The desktop (the empty list) holds, in this order: the home folder, Computer (whose items are
// the mount points), Network (empty: no network browsing here) and the entries of the desktop
// folder. Items are encoded as
//   [cb: 2 bytes][kind: 1 byte][folder flag: 1 byte][UTF-8 text][NUL]
// with the kinds
//   'C' Computer, 'W' Network   (first item only; no text)
//   'R' a rooted folder: its absolute path; under the desktop the home folder, under Computer a
//       mount point
//   'N' an entry of the folder before it (the desktop folder for a first item): its name.
// A path has one canonical list (what ParsePath gives), and it is the list a walk down the
// enumerations from the desktop arrives at: inside the desktop folder relative to the desktop,
// else inside the home folder below the home item, else below the mount point that holds it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/shellapi/ItemIdList.h"

namespace pictavo::shell::detail {

inline constexpr const char* kComputerParsingName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
inline constexpr const char* kNetworkParsingName = "::{208D2C60-3AEA-1069-A2D7-08002B30309D}";

// An item list as bytes, without the terminator.
using IdBytes = std::string;

IdBytes EncodeItem(char kind, bool folder, std::string_view text);
// The list as bytes (terminator excluded); empty for null.
IdBytes BytesOf(LPCITEMIDLIST pidl);
// A new list from the task allocator holding `bytes`; null when memory runs out.
LPITEMIDLIST MakeList(const IdBytes& bytes);

struct Location {
  enum class Kind { kDesktop, kComputer, kNetwork, kFileSystem };
  enum class Root { kNone, kHome, kMount };
  Kind kind = Kind::kDesktop;
  Root root = Root::kNone;  // for a rooted item: what it is
  std::string path;         // file-system items: the absolute native path
  bool folder = true;       // what the item's list recorded
  std::string name;         // file-system items: the last component
};

// What an absolute list names; nothing for a list this shell did not make.
std::optional<Location> Resolve(LPCITEMIDLIST absolute);
std::optional<Location> Resolve(const IdBytes& absolute);

// The canonical absolute list of an existing path (`\` accepted; "X:" drive letters name mount
// points as the kernel numbers them; "::{...}" names Computer and Network). The error is a Win32
// code: ERROR_INVALID_NAME for a relative or empty path, ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND when nothing is there.
struct Parsed {
  IdBytes ids;
  DWORD error = 0;
};
Parsed ParsePath(std::string_view path);
// The items naming `path` below `folder` (both normalised, `path` strictly below), one per
// component.
IdBytes NamedItems(const std::string& folder, const std::string& path);
// The location of an existing path without building its list (as ParsePath would resolve).
std::optional<Location> LocationOfPath(std::string_view path);

// The lists (relative to `folder`) of its children, in the shell's order; false when the folder
// cannot be read (errno-based Win32 code in `error`).
bool Children(const Location& folder, bool folders, bool nonFolders, bool hidden, std::vector<IdBytes>& out,
              DWORD& error);

// SFGAO_* attributes of `item` among `wanted` (HASSUBFOLDER is looked for only when wanted).
DWORD Attributes(const Location& item, DWORD wanted);
// The SHGDN_* display name.
std::string DisplayName(const Location& item, DWORD flags);
// The type name SHGetFileInfo reports ("File folder", "JPEG Image" ...).
std::string TypeName(const Location& item);
// The type name of a file by its extension: known ones by name, others "<EXT> File", "File"
// without an extension.
std::string TypeNameOfFile(std::string_view name);
enum class FileKind { kOther, kImage, kAudio, kVideo };
FileKind KindOfFile(std::string_view name);

// Lexically normalised absolute native path ("." and ".." folded, no doubled or trailing `/`);
// empty for a relative path.
std::string Normalize(std::string_view path);
// The mount points (as the kernel lists drives), "/" first.
std::vector<std::string> MountPoints();

}  // namespace pictavo::shell::detail
