// The photo cache's files: one index file per bucket of photo paths ("%03d.idx": a 520-byte
// header followed by 532-byte records), the version stamp "pc_info.bin", and the names of the
// cached copies. Records keep their byte layout; every field read from a file is checked before
// it is used, so a damaged index never makes a read go past a field.
//
// Index files are shared by the cache's worker (which writes) and the readers of cached paths
// (the preview, the frame encoder, the output command): every access to them holds IndexLock, so
// a reader never sees a record half written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::render {

// The room for a path in a record, terminating NUL included.
inline constexpr size_t kCachePathField = 260;
inline constexpr size_t kIndexHeaderSize = 520;

struct PhotoCacheRecord {
  char szSourcePath[kCachePathField];  // NUL-padded
  uint32_t dwSourceTimeLow;            // last-write FILETIME of the source
  uint32_t dwSourceTimeHigh;
  uint32_t dwSourceSize;               // low 32 bits of the source's size
  char szCachedPath[kCachePathField];  // NUL-padded
};
static_assert(sizeof(PhotoCacheRecord) == 532);
static_assert(offsetof(PhotoCacheRecord, dwSourceTimeLow) == 260);
static_assert(offsetof(PhotoCacheRecord, dwSourceSize) == 268);
static_assert(offsetof(PhotoCacheRecord, szCachedPath) == 272);

// "pc_info.bin".
struct PhotoCacheStamp {
  char szMagic[8];  // "PC_Info" and its NUL
  BYTE reserved1[8];
  int32_t nVersion;  // kPhotoCacheVersion
  BYTE reserved2[12];
};
static_assert(sizeof(PhotoCacheStamp) == 32);
static_assert(offsetof(PhotoCacheStamp, nVersion) == 16);

inline constexpr int32_t kPhotoCacheVersion = 756;
inline constexpr char kPhotoCacheStampFile[] = "pc_info.bin";

// What identifies the version of a source photo: its last-write time and size.
struct SourceFacts {
  uint32_t timeLow = 0;
  uint32_t timeHigh = 0;
  uint32_t size = 0;
  bool operator==(const SourceFacts&) const = default;
};
// The facts of a file; nullopt when it cannot be read.
std::optional<SourceFacts> ReadSourceFacts(const char* path);

// Serialises all work on index files and the wipe of the cache folder within the process.
std::mutex& IndexLock();

// The text of a path field: nullopt when the field holds no terminating NUL (damaged).
std::optional<std::string_view> FieldText(const char (&field)[kCachePathField]);

// A bucket's index file read into memory.
class PhotoCacheIndex {
 public:
  struct Match {
    size_t slot;  // record number
    PhotoCacheRecord record;
  };

  // Reads the file without creating it. A missing file reads as empty; `Damaged` tells whether
  // the file could not be used as it is (too short for its header, unreadable, absurdly large).
  static PhotoCacheIndex Read(const std::string& path);

  bool Exists() const { return m_exists; }
  bool Damaged() const { return m_damaged; }
  size_t RecordCount() const { return m_records.size(); }
  // The first record whose source path is `source` exactly (whole path, case kept).
  std::optional<Match> Find(std::string_view source) const;
  // The first record slot that is all zero, else the slot past the last record.
  size_t FreeSlot() const;

  // Writes `record` into `slot` of the file (creating the file and its header when needed, and
  // starting a damaged file afresh). Writing past the last record appends; a trailing partial
  // record is cut off. FALSE with the last error when the file cannot be written.
  static BOOL WriteRecord(const std::string& path, size_t slot, const PhotoCacheRecord& record,
                          bool startAfresh);

 private:
  bool m_exists = false;
  bool m_damaged = false;
  std::vector<PhotoCacheRecord> m_records;
};

// Fills a zeroed record; FALSE when one of the paths does not fit its field whole.
bool MakeRecord(std::string_view source, const SourceFacts& facts, std::string_view cached,
                PhotoCacheRecord& record);
bool IsCurrent(const PhotoCacheRecord& record, const SourceFacts& facts);

// Reads the version stamp; false when it is missing, short or of another version.
bool StampIsValid(const std::string& path);
// Writes a fresh stamp. FALSE with the last error on failure.
BOOL WriteStamp(const std::string& path);

}  // namespace pictavo::render
