// Drives as mount points: listing, drive types, volume facts and free space.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/FileSystemInternal.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SystemBuffers.h"

namespace pictavo::fs {

namespace {

// /proc/self/mounts writes space, tab, newline and backslash as octal escapes.
std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && std::isdigit(static_cast<unsigned char>(field[i + 1]))) {
      out += static_cast<char>(std::strtol(field.substr(i + 1, 3).c_str(), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool IsPseudoType(const std::string& type) {
  static const char* const kPseudo[] = {
      "proc",        "sysfs",      "cgroup",     "cgroup2", "devpts",    "devtmpfs",   "mqueue",  "debugfs",
      "tracefs",     "securityfs", "pstore",     "bpf",     "autofs",    "configfs",   "fusectl", "hugetlbfs",
      "binfmt_misc", "efivarfs",   "rpc_pipefs", "nsfs",    "selinuxfs", "fuse.portal"};
  for (const char* pseudo : kPseudo)
    if (type == pseudo) return true;
  return false;
}

// System folders whose mounts are the machine's business, not places for the user's files (a
// container's single files mounted over /etc included).
bool IsSystemFolder(const std::string& mount) {
  static const char* const kSystem[] = {"/proc", "/sys",  "/dev",     "/run",
                                        "/snap", "/boot", "/var/lib", "/etc"};
  if (mount.rfind("/run/media/", 0) == 0) return false;
  for (const char* prefix : kSystem) {
    const size_t n = std::strlen(prefix);
    if (mount.compare(0, n, prefix) == 0 && (mount.size() == n || mount[n] == '/')) return true;
  }
  return false;
}

std::string Normalized(std::string_view nativePath) {
  std::string out(path::WithoutTrailingSeparator(nativePath));
  return out.empty() ? "/" : out;
}

}  // namespace

namespace {

std::vector<MountPoint> ParseMounts(const std::string& table) {
  std::vector<MountPoint> all;
  std::istringstream mounts(table);
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string source, mount, type, options;
    if (!(fields >> source >> mount >> type >> options)) continue;
    MountPoint point{Normalized(Unescape(mount)), Unescape(source), type, false};
    std::istringstream optionList(options);
    for (std::string option; std::getline(optionList, option, ',');)
      if (option == "ro") point.readOnly = true;
    // Mount points are not touched here: a network mount that stopped answering would hang us.
    if (point.path != "/" && (IsPseudoType(type) || IsSystemFolder(point.path))) continue;
    // A later mount on the same folder hides the earlier one.
    all.erase(
        std::remove_if(all.begin(), all.end(), [&](const MountPoint& m) { return m.path == point.path; }),
        all.end());
    all.push_back(std::move(point));
  }
  if (std::none_of(all.begin(), all.end(), [](const MountPoint& m) { return m.path == "/"; }))
    all.push_back(MountPoint{"/", "", "", false});
  std::sort(all.begin(), all.end(), [](const MountPoint& a, const MountPoint& b) {
    if (a.path == "/" || b.path == "/") return a.path == "/" && b.path != "/";
    return a.path < b.path;
  });
  return all;
}

// The mount table is read again only when the kernel says it changed (the mounts file signals
// POLLPRI on its open descriptor after a mount or unmount): every listing and every shell lookup
// asks for the drives, and a folder of thousands of entries asked thousands of times.
struct MountTableCache {
  std::mutex lock;
  int fd = -1;                     // guarded by lock
  bool valid = false;              // guarded by lock
  std::vector<MountPoint> drives;  // guarded by lock
};

std::string ReadFromStart(int fd) {
  std::string text;
  if (::lseek(fd, 0, SEEK_SET) != 0) return text;
  char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

}  // namespace

std::vector<MountPoint> Drives() {
  static MountTableCache* cache = new MountTableCache;
  std::lock_guard<std::mutex> guard(cache->lock);
  if (cache->fd < 0) {
    cache->fd = ::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    cache->valid = false;
  }
  if (cache->fd < 0) {
    std::ifstream mounts("/proc/self/mounts");
    std::stringstream text;
    text << mounts.rdbuf();
    return ParseMounts(text.str());
  }
  if (cache->valid) {
    pollfd watch{cache->fd, POLLPRI, 0};
    if (::poll(&watch, 1, 0) >= 0 && !(watch.revents & (POLLPRI | POLLERR))) return cache->drives;
  }
  cache->drives = ParseMounts(ReadFromStart(cache->fd));
  cache->valid = true;
  return cache->drives;
}

std::optional<MountPoint> DriveForLetterForm(std::string_view text) {
  if (text.size() < 2 || text.size() > 3 || text[1] != ':' ||
      !std::isalpha(static_cast<unsigned char>(text[0])))
    return std::nullopt;
  if (text.size() == 3 && !path::IsSeparator(text[2])) return std::nullopt;
  const int index = std::toupper(static_cast<unsigned char>(text[0])) - 'C';
  if (index < 0) return std::nullopt;
  const std::vector<MountPoint> drives = Drives();
  if (static_cast<size_t>(index) >= drives.size()) return std::nullopt;
  return drives[index];
}

std::optional<MountPoint> DriveAtRoot(std::string_view nativePath) {
  const std::string wanted = Normalized(nativePath);
  for (MountPoint& drive : Drives())
    if (drive.path == wanted) return std::move(drive);
  return std::nullopt;
}

std::optional<MountPoint> DriveHolding(std::string_view nativePath) {
  const std::string wanted = Normalized(nativePath);
  std::optional<MountPoint> best;
  for (MountPoint& drive : Drives()) {
    const bool holds =
        drive.path == "/" || wanted == drive.path ||
        (wanted.compare(0, drive.path.size(), drive.path) == 0 && wanted[drive.path.size()] == '/');
    if (holds && (!best || drive.path.size() > best->path.size())) best = std::move(drive);
  }
  return best;
}

}  // namespace pictavo::fs

using namespace pictavo;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

std::string RealPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  std::string out(real);
  std::free(real);
  return out;
}

std::string ReadFirstLine(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The kernel's removable flag of a block device or of the disk a partition belongs to.
bool IsRemovableDevice(const std::string& source) {
  if (source.rfind("/dev/", 0) != 0) return false;
  const std::string device(path::FileName(RealPath(source)));
  const std::string sys = "/sys/class/block/" + device;
  std::string flag = ReadFirstLine(sys + "/removable");
  if (flag.empty()) flag = ReadFirstLine(RealPath(sys) + "/../removable");
  return flag == "1";
}

UINT TypeOfDrive(const fs::MountPoint& drive) {
  const std::string& type = drive.type;
  if (type == "iso9660" || type == "udf" || drive.source.rfind("/dev/sr", 0) == 0) return DRIVE_CDROM;
  static const char* const kRemote[] = {"nfs", "nfs4", "cifs",       "smb3",  "smbfs",      "ncpfs",
                                        "afs", "9p",   "fuse.sshfs", "davfs", "fuse.rclone"};
  for (const char* remote : kRemote)
    if (type == remote) return DRIVE_REMOTE;
  if (type == "tmpfs" || type == "ramfs") return DRIVE_RAMDISK;
  if (drive.path.rfind("/media/", 0) == 0 || drive.path.rfind("/run/media/", 0) == 0 ||
      IsRemovableDevice(drive.source))
    return DRIVE_REMOVABLE;
  return DRIVE_FIXED;
}

// The drive a root-path argument names: a letter form or a mount point.
std::optional<fs::MountPoint> DriveArgument(LPCSTR rootPath) {
  if (rootPath == nullptr) {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return std::nullopt;
    return fs::DriveHolding(cwd);
  }
  if (auto drive = fs::DriveForLetterForm(rootPath)) return drive;
  const std::string native = path::ToNative(rootPath);
  if (native.empty()) return std::nullopt;
  if (auto drive = fs::DriveAtRoot(native)) return drive;
  return fs::DriveAtRoot(RealPath(native));
}

// A folder argument of the free-space calls: a letter form or any folder.
std::string FolderArgument(LPCSTR folder) {
  if (folder == nullptr) return ".";
  if (auto drive = fs::DriveForLetterForm(folder)) return drive->path;
  return path::ResolveDataPath(folder);
}

std::string VolumeLabel(const fs::MountPoint& drive) {
  if (drive.source.rfind("/dev/", 0) == 0) {
    const std::string device = RealPath(drive.source);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir("/dev/disk/by-label"), ::closedir);
    while (dir) {
      const dirent* entry = ::readdir(dir.get());
      if (entry == nullptr) break;
      if (entry->d_name[0] == '.') continue;
      const std::string link = std::string("/dev/disk/by-label/") + entry->d_name;
      if (RealPath(link) != device) continue;
      // udev writes characters outside [A-Za-z0-9] in labels as \xHH.
      std::string label;
      const std::string name = entry->d_name;
      for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
          label += static_cast<char>(std::strtol(name.substr(i + 2, 2).c_str(), nullptr, 16));
          i += 3;
        } else {
          label += name[i];
        }
      }
      return label;
    }
  }
  return drive.path == "/" ? std::string() : std::string(path::FileName(drive.path));
}

bool CopyName(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr) return true;
  if (size <= text.size()) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

bool pictavo::path::IsDriveRoot(std::string_view path) {
  if (path.empty()) return false;
  const std::string native = ToNative(path);
  return fs::DriveAtRoot(native).has_value() || fs::DriveAtRoot(RealPath(native)).has_value();
}

DWORD GetLogicalDrives() {
  const std::vector<fs::MountPoint> drives = fs::Drives();
  DWORD mask = 0;
  for (size_t i = 0; i < drives.size() && i < 24; ++i) mask |= 1u << (i + 2);
  return mask;
}

DWORD GetLogicalDriveStrings(DWORD size, LPSTR buffer) {
  std::string list;
  const std::vector<fs::MountPoint> drives = fs::Drives();
  for (const fs::MountPoint& drive : drives) {
    list += drive.path;
    if (drive.path != "/") list += '/';
    list += '\0';
  }
  // The list's length without its final NUL; a short buffer gets nothing and the size needed.
  if (buffer == nullptr || size < list.size() + 1) return static_cast<DWORD>(list.size() + 1);
  std::memcpy(buffer, list.data(), list.size());
  buffer[list.size()] = '\0';
  return static_cast<DWORD>(list.size());
}

UINT GetDriveType(LPCSTR rootPath) {
  const auto drive = DriveArgument(rootPath);
  return drive ? TypeOfDrive(*drive) : DRIVE_NO_ROOT_DIR;
}

BOOL GetVolumeInformation(LPCSTR rootPath, LPSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                          LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPSTR fileSystemName,
                          DWORD fileSystemNameSize) {
  const auto drive = DriveArgument(rootPath);
  if (!drive) return Fail(ERROR_DIR_NOT_ROOT);
  struct statvfs vfs;
  if (::statvfs(drive->path.c_str(), &vfs) != 0) return Fail(ERROR_NOT_READY);
  if (!CopyName(VolumeLabel(*drive), volumeName, volumeNameSize) ||
      !CopyName(drive->type, fileSystemName, fileSystemNameSize))
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  if (serialNumber != nullptr) {
    const uint64_t id = vfs.f_fsid;
    *serialNumber = static_cast<DWORD>(id ^ (id >> 32));
  }
  if (maxComponentLength != nullptr) *maxComponentLength = static_cast<DWORD>(vfs.f_namemax);
  if (fileSystemFlags != nullptr) {
    *fileSystemFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK;
    if (vfs.f_flag & ST_RDONLY) *fileSystemFlags |= FILE_READ_ONLY_VOLUME;
  }
  return TRUE;
}

BOOL GetDiskFreeSpaceEx(LPCSTR folder, PULARGE_INTEGER freeBytesAvailable, PULARGE_INTEGER totalBytes,
                        PULARGE_INTEGER totalFreeBytes) {
  const std::string native = FolderArgument(folder);
  struct statvfs vfs;
  if (::statvfs(native.c_str(), &vfs) != 0) {
    const int err = errno;
    return Fail(err == ENOENT || err == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(err));
  }
  const uint64_t unit = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
  if (freeBytesAvailable != nullptr) freeBytesAvailable->QuadPart = vfs.f_bavail * unit;
  if (totalBytes != nullptr) totalBytes->QuadPart = vfs.f_blocks * unit;
  if (totalFreeBytes != nullptr) totalFreeBytes->QuadPart = vfs.f_bfree * unit;
  return TRUE;
}

BOOL GetDiskFreeSpace(LPCSTR folder, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                      LPDWORD totalClusters) {
  const std::string native = FolderArgument(folder);
  struct statvfs vfs;
  if (::statvfs(native.c_str(), &vfs) != 0) {
    const int err = errno;
    return Fail(err == ENOENT || err == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(err));
  }
  const uint64_t unit = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
  const auto cap = [](uint64_t n) { return static_cast<DWORD>(std::min<uint64_t>(n, 0xFFFFFFFFu)); };
  if (sectorsPerCluster != nullptr)
    *sectorsPerCluster = static_cast<DWORD>(std::max<uint64_t>(unit / 512, 1));
  if (bytesPerSector != nullptr) *bytesPerSector = 512;
  if (freeClusters != nullptr) *freeClusters = cap(vfs.f_bavail);
  if (totalClusters != nullptr) *totalClusters = cap(vfs.f_blocks);
  return TRUE;
}
