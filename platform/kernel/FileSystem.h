// Folders, file attributes, directory listings, temporary files, drives and disk space, and the
// atomic replacement of files the program owns. Paths accept `\` as a separator; a missing path
// inside the executable's folder is looked up without regard to case (path::ResolveDataPath).
#pragma once

#include <span>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/kernel/FileAttributes.h"

#define DRIVE_UNKNOWN 0u
#define DRIVE_NO_ROOT_DIR 1u
#define DRIVE_REMOVABLE 2u
#define DRIVE_FIXED 3u
#define DRIVE_REMOTE 4u
#define DRIVE_CDROM 5u
#define DRIVE_RAMDISK 6u

#define FILE_CASE_SENSITIVE_SEARCH 0x00000001u
#define FILE_CASE_PRESERVED_NAMES 0x00000002u
#define FILE_UNICODE_ON_DISK 0x00000004u
#define FILE_READ_ONLY_VOLUME 0x00080000u

struct WIN32_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
using WIN32_FIND_DATAA = WIN32_FIND_DATA;
using LPWIN32_FIND_DATA = WIN32_FIND_DATA*;
using LPWIN32_FIND_DATAA = WIN32_FIND_DATA*;

struct WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
};
using LPWIN32_FILE_ATTRIBUTE_DATA = WIN32_FILE_ATTRIBUTE_DATA*;
enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard, GetFileExMaxInfoLevel };

// Folders and the current directory. CreateDirectory fails with ERROR_ALREADY_EXISTS for an
// existing path and ERROR_PATH_NOT_FOUND for a missing parent.
BOOL CreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES attributes);
BOOL RemoveDirectory(LPCSTR path);
DWORD GetCurrentDirectory(DWORD size, LPSTR buffer);
BOOL SetCurrentDirectory(LPCSTR path);

// $TMPDIR, else /tmp, with a trailing '/'. A short buffer gives the size needed, NUL included.
DWORD GetTempPath(DWORD size, LPSTR buffer);
// "<folder>/<first three characters of prefix><hex number>.TMP". With `unique` 0 a free number is
// chosen and the empty file created; otherwise the name is only formed. `tempFileName` holds
// MAX_PATH characters.
UINT GetTempFileName(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR tempFileName);

// Attributes, mapped from what Linux knows:
// - FILE_ATTRIBUTE_DIRECTORY for folders;
// - FILE_ATTRIBUTE_READONLY when the caller may not write the file (permissions or a read-only
//   file system) or when no write permission bit is set at all;
// - FILE_ATTRIBUTE_HIDDEN for names starting with '.';
// - FILE_ATTRIBUTE_SYSTEM for devices, pipes and sockets;
// - FILE_ATTRIBUTE_ARCHIVE for regular files (as files on Windows carry after being written);
// - FILE_ATTRIBUTE_COMPRESSED and FILE_ATTRIBUTE_ENCRYPTED when the file system marks the file
//   compressed (btrfs) or encrypted (fscrypt).
// FILE_ATTRIBUTE_NORMAL is never reported. A symbolic link reports what it points to.
DWORD GetFileAttributes(LPCSTR path);
BOOL GetFileAttributesEx(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info);
// Only FILE_ATTRIBUTE_READONLY can change: set, every write permission bit is removed; clear, the
// owner may write again. The other attributes follow the name and kind of the file and are left
// as they are.
BOOL SetFileAttributes(LPCSTR path, DWORD attributes);

// Directory listings. The pattern's last component may hold `*` and `?` and then matches without
// regard to case; without wildcards it names one entry, spelled exactly (so a listing never finds
// what CreateFile would not open). Inside the executable's folder the folder part, and a name
// without wildcards, are found without regard to case too. Entries come in the order of their names ignoring
// case, "." and ".." first as Windows lists them (never in a drive root, a mount point). A
// pattern that matches nothing fails with ERROR_FILE_NOT_FOUND, a missing folder with
// ERROR_PATH_NOT_FOUND; FindNextFile ends with ERROR_NO_MORE_FILES.
HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data);
BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATA data);
BOOL FindClose(HANDLE find);

// Drives are mount points. "/" comes first, then the other mounts in path order, leaving out
// pseudo file systems (proc, sysfs, cgroup ...) and mounts inside the system's own folders
// (/proc, /sys, /dev, /run but /run/media, /boot, /snap, /etc, /var/lib). GetLogicalDriveStrings lists them
// each with a trailing '/' ("/\0/home/\0\0"); GetLogicalDrives gives them letters C, D, E ... in that order
// (bit 2 is "/"), and the letter forms "C:", "C:\" and "C:/" name that mount point wherever a drive root is
// asked for.
DWORD GetLogicalDrives();
DWORD GetLogicalDriveStrings(DWORD size, LPSTR buffer);
// DRIVE_NO_ROOT_DIR unless the path is a drive root. CD and DVD file systems (iso9660, udf) are
// DRIVE_CDROM, network file systems DRIVE_REMOTE, tmpfs and ramfs DRIVE_RAMDISK, devices the kernel
// marks removable and mounts below /media or /run/media DRIVE_REMOVABLE, the rest DRIVE_FIXED.
// A null path asks about the drive of the current directory.
UINT GetDriveType(LPCSTR rootPath);
// The volume name is the file system's label when it has one (/dev/disk/by-label), else the
// mount point's last component; the serial number comes from the file system id; the file
// system name is its Linux type ("ext4"). Fails with ERROR_DIR_NOT_ROOT for a path that is not a
// drive root.
BOOL GetVolumeInformation(LPCSTR rootPath, LPSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                          LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPSTR fileSystemName,
                          DWORD fileSystemNameSize);
// Any folder on the volume may be given. Each output may be null.
BOOL GetDiskFreeSpaceEx(LPCSTR folder, PULARGE_INTEGER freeBytesAvailable, PULARGE_INTEGER totalBytes,
                        PULARGE_INTEGER totalFreeBytes);
// The old form: 512-byte sectors, clusters of the file system's block size, counts capped at
// 0xFFFFFFFF.
BOOL GetDiskFreeSpace(LPCSTR folder, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                      LPDWORD totalClusters);

#define CreateDirectoryA CreateDirectory
#define RemoveDirectoryA RemoveDirectory
#define GetCurrentDirectoryA GetCurrentDirectory
#define SetCurrentDirectoryA SetCurrentDirectory
#define GetTempPathA GetTempPath
#define GetTempFileNameA GetTempFileName
#define GetFileAttributesA GetFileAttributes
#define GetFileAttributesExA GetFileAttributesEx
#define SetFileAttributesA SetFileAttributes
#define FindFirstFileA FindFirstFile
#define FindNextFileA FindNextFile
#define GetLogicalDriveStringsA GetLogicalDriveStrings
#define GetDriveTypeA GetDriveType
#define GetVolumeInformationA GetVolumeInformation
#define GetDiskFreeSpaceExA GetDiskFreeSpaceEx
#define GetDiskFreeSpaceA GetDiskFreeSpace

namespace pictavo {

// Replaces the file at `path` by `bytes` so that it is either the old file or the new one, never a
// mix: a temporary file in the same folder is written, flushed to disk and renamed over the old
// one (keeping its permissions). On any failure (a full disk, a read-only folder) the old file is
// left untouched, the temporary file removed, and the error returned; ERROR_SUCCESS otherwise.
[[nodiscard]] DWORD WriteFileAtomically(std::string_view path, std::span<const uint8_t> bytes);
[[nodiscard]] DWORD WriteFileAtomically(std::string_view path, std::string_view bytes);

}  // namespace pictavo
