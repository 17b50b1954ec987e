// Shared by the file-system sources: file facts in the platform's terms, mount points.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::fs {

struct FileFacts {
  DWORD attributes = 0;
  FILETIME creation{};
  FILETIME lastAccess{};
  FILETIME lastWrite{};
  uint64_t size = 0;
};

FILETIME ToFileTime(int64_t seconds, uint32_t nanoseconds);

// Facts about `path`, relative to the open folder `dirFd` (or AT_FDCWD). `name` is the entry's
// own name, which decides the hidden attribute. False with errno set when the file is missing.
bool QueryFacts(int dirFd, const char* path, std::string_view name, FileFacts& facts);

struct MountPoint {
  std::string path;  // without a trailing '/', except the root "/"
  std::string source;
  std::string type;
  bool readOnly = false;
};

// The mount points that count as drives, "/" first, then in path order.
std::vector<MountPoint> Drives();
// The drive a letter form ("C:", "C:\", "C:/") names; nullopt for other text or an unused letter.
std::optional<MountPoint> DriveForLetterForm(std::string_view text);
// The drive whose root is exactly `nativePath` (a trailing '/' allowed).
std::optional<MountPoint> DriveAtRoot(std::string_view nativePath);
// The drive that holds `nativePath`: the one with the longest matching root.
std::optional<MountPoint> DriveHolding(std::string_view nativePath);

}  // namespace pictavo::fs
