// Share modes between the open files of this process: a handle opened without FILE_SHARE_WRITE
// keeps other handles of this process from writing the file, one without FILE_SHARE_DELETE keeps
// it from being deleted or renamed, and so on.
#pragma once

#include <sys/types.h>

#include <cstdint>

#include "platform/base/WinTypes.h"

namespace pictavo::kernel {

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// One open file's entry in the share table; removed when destroyed.
class ShareRegistration {
 public:
  ShareRegistration() = default;
  ~ShareRegistration();
  ShareRegistration(ShareRegistration&& other) noexcept;
  ShareRegistration& operator=(ShareRegistration&& other) noexcept;
  ShareRegistration(const ShareRegistration&) = delete;
  ShareRegistration& operator=(const ShareRegistration&) = delete;

  // Adds an open with the given access and share mode; false with ERROR_SHARING_VIOLATION when
  // it conflicts with a handle that is open now.
  [[nodiscard]] bool Register(FileIdentity file, bool reads, bool writes, DWORD shareMode);
  void Release();

 private:
  FileIdentity m_file;
  uint64_t m_ticket = 0;  // 0 when not registered
};

// True unless a handle of this process has the file open without FILE_SHARE_DELETE.
bool OpenHandlesAllowDelete(FileIdentity file);

}  // namespace pictavo::kernel
