// A hive: one root of the registry kept in a file of the user's configuration folder.
//
// The process works on a view: the file's contents as last read, plus the changes it made since.
// Reading is lazy and never writes. A flush takes the hive's file lock, reads the file as it is
// now, replays this process's pending changes onto it and replaces the file atomically (temporary
// file + rename), so two processes writing at once lose nothing and a crash leaves the previous
// file whole. Flushes do not fsync: the rename keeps the file whole whatever happens to the
// process; settings are written often, and after a power cut a file the disk did not finish is
// found damaged and set aside like any other.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/registry/Key.h"

namespace pictavo::registry {

enum class HiveId { kCurrentUser, kLocalMachine, kClassesRoot };

// $XDG_CONFIG_HOME/pictavo, else ~/.config/pictavo; read anew each time, so a changed
// environment (a test's private folder) is followed.
std::string HiveFolder();

class Hive {
 public:
  Hive(std::string fileName, std::string title);
  Hive(const Hive&) = delete;
  Hive& operator=(const Hive&) = delete;

  // Every *Locked member is called with this lock held.
  [[nodiscard]] std::unique_lock<std::mutex> Lock() { return std::unique_lock(m_lock); }

  // Reads the file again when it is not the one last read or written (another process replaced
  // it, or the folder moved). A damaged file is renamed with the suffix ".damaged" and the hive
  // starts empty.
  void RefreshLocked();
  const Key& ViewLocked() const { return m_view; }
  // Applies the change to the view and keeps it for the next flush.
  void ChangeLocked(Change change);
  bool HasPendingChangesLocked() const { return !m_pending.empty(); }
  // ERROR_SUCCESS, or the platform error that kept the file from being written; the changes stay
  // pending then and the next flush tries again.
  [[nodiscard]] DWORD FlushLocked();
  // When the view last changed: this process's last change, else the file's modification time.
  FILETIME LastWriteTimeLocked() const { return m_lastWrite; }

  std::string FilePath() const;

 private:
  struct Stamp {
    dev_t device;
    ino_t inode;
    off_t size;
    int64_t modified;
    bool operator==(const Stamp&) const = default;
  };
  enum class LoadResult { kLoaded, kMissing, kDamaged, kUnreadable };

  LoadResult Load(const std::string& path, Key& root, std::optional<Stamp>& stamp, std::string& error) const;
  void SetAside(const std::string& path, const Stamp& damaged, const std::string& why) const;
  void RebuildView();

  const std::string m_fileName;
  const std::string m_title;
  std::mutex m_lock;
  std::string m_loadedPath;       // guarded by m_lock
  std::optional<Stamp> m_stamp;   // guarded by m_lock: the file m_disk was read from or written to
  bool m_loaded = false;          // guarded by m_lock
  Key m_disk;                     // guarded by m_lock
  Key m_view;                     // guarded by m_lock
  std::vector<Change> m_pending;  // guarded by m_lock
  FILETIME m_lastWrite{};         // guarded by m_lock
};

Hive& HiveFor(HiveId id);

// Writes the pending changes of every hive; also done when the process exits normally.
void FlushAllHives();

}  // namespace pictavo::registry
