// Names shared by this user's processes (named mutexes, named file mappings): one file per name
// in the user's runtime folder. Byte-range locks on open file descriptions say who holds a name;
// the system drops them when a holder closes the file or dies, so a copy that crashed leaves
// nothing held behind. The last holder to close removes the file; a crashed one leaves it for the
// next user of the name, who starts it fresh.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

namespace pictavo::kernel {

// The folder of this user's cross-process objects, made on first use with mode 0700:
// $XDG_RUNTIME_DIR/pictavo, else /tmp/pictavo-<uid>. Empty, with the last error set, when it
// cannot be made or is not safely ours.
[[nodiscard]] std::string RuntimeFolder();

class NamedFile {
 public:
  enum class Join { CreateOrOpen, OpenExisting };
  struct Joined {
    std::unique_ptr<NamedFile> file;  // null on failure, with the last error set
    bool existed = false;             // another live holder had the name open
  };
  // Opens `name` of `kind` and becomes one of its holders. Without another live holder,
  // OpenExisting fails with ERROR_FILE_NOT_FOUND and CreateOrOpen calls `startFresh` while it
  // still holds the name alone, so the content can be reset before anyone else sees it.
  [[nodiscard]] static Joined Open(std::string_view kind, std::string_view name, Join join,
                                   const std::function<bool(int fd)>& startFresh);
  ~NamedFile();
  NamedFile(const NamedFile&) = delete;
  NamedFile& operator=(const NamedFile&) = delete;

  int Fd() const { return m_fd; }
  // The owner lock (a named mutex's ownership), exclusive among processes; never waits.
  [[nodiscard]] bool TryLockOwner();
  void UnlockOwner();

 private:
  NamedFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
  [[nodiscard]] bool IsAtPath() const;

  const int m_fd;
  const std::string m_path;
};

}  // namespace pictavo::kernel
