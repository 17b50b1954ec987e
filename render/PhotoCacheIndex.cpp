#include "render/PhotoCacheIndex.h"

#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Wait.h"

namespace pictavo::render {

namespace {

// A bucket's file beyond this size is not an index we wrote (a few records per photo folder).
constexpr LONGLONG kMaxIndexBytes = 64LL << 20;
constexpr char kStampMagic[8] = "PC_Info";

// Closes a file handle when it goes out of scope.
class FileCloser {
 public:
  explicit FileCloser(HANDLE file) : m_file(file) {}
  ~FileCloser() {
    if (Valid()) CloseHandle(m_file);
  }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;
  bool Valid() const { return m_file != nullptr && m_file != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return m_file; }

 private:
  HANDLE m_file;
};

bool ReadExactly(HANDLE file, void* buffer, DWORD size) {
  DWORD read = 0;
  return ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

bool WriteExactly(HANDLE file, const void* buffer, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, buffer, size, &written, nullptr) && written == size;
}

bool Seek(HANDLE file, LONGLONG offset) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
}

bool IsAllZero(const PhotoCacheRecord& record) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&record);
  for (size_t i = 0; i < sizeof(record); ++i)
    if (bytes[i] != 0) return false;
  return true;
}

}  // namespace

std::mutex& IndexLock() {
  static std::mutex lock;
  return lock;
}

std::optional<SourceFacts> ReadSourceFacts(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path == nullptr || !GetFileAttributesEx(path, GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return SourceFacts{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime,
                     data.nFileSizeLow};
}

std::optional<std::string_view> FieldText(const char (&field)[kCachePathField]) {
  const void* end = std::memchr(field, '\0', kCachePathField);
  if (end == nullptr) return std::nullopt;
  return std::string_view(field, static_cast<size_t>(static_cast<const char*>(end) - field));
}

PhotoCacheIndex PhotoCacheIndex::Read(const std::string& path) {
  PhotoCacheIndex index;
  FileCloser file(CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return index;
  index.m_exists = true;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxIndexBytes) {
    index.m_damaged = true;
    return index;
  }
  if (size.QuadPart == 0) return index;
  if (size.QuadPart < static_cast<LONGLONG>(kIndexHeaderSize)) {
    index.m_damaged = true;
    return index;
  }
  const size_t count = static_cast<size_t>(size.QuadPart - kIndexHeaderSize) / sizeof(PhotoCacheRecord);
  index.m_records.resize(count);
  if (count > 0 && (!Seek(file.Get(), kIndexHeaderSize) ||
                    !ReadExactly(file.Get(), index.m_records.data(),
                                 static_cast<DWORD>(count * sizeof(PhotoCacheRecord))))) {
    index.m_records.clear();
    index.m_damaged = true;
  }
  return index;
}

std::optional<PhotoCacheIndex::Match> PhotoCacheIndex::Find(std::string_view source) const {
  if (source.empty()) return std::nullopt;
  for (size_t i = 0; i < m_records.size(); ++i) {
    const auto text = FieldText(m_records[i].szSourcePath);
    if (text && *text == source) return Match{i, m_records[i]};
  }
  return std::nullopt;
}

size_t PhotoCacheIndex::FreeSlot() const {
  for (size_t i = 0; i < m_records.size(); ++i)
    if (IsAllZero(m_records[i])) return i;
  return m_records.size();
}

BOOL PhotoCacheIndex::WriteRecord(const std::string& path, size_t slot, const PhotoCacheRecord& record,
                                  bool startAfresh) {
  FileCloser file(CreateFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, startAfresh ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
  if (!file.Valid()) return FALSE;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return FALSE;
  if (size.QuadPart < static_cast<LONGLONG>(kIndexHeaderSize)) {
    // A new file, or one too short for its header: it starts afresh with a zero header.
    const BYTE header[kIndexHeaderSize] = {};
    if (!Seek(file.Get(), 0) || !WriteExactly(file.Get(), header, sizeof(header)) ||
        !SetEndOfFile(file.Get()))
      return FALSE;
    size.QuadPart = kIndexHeaderSize;
    slot = 0;
  }
  const size_t count = static_cast<size_t>(size.QuadPart - kIndexHeaderSize) / sizeof(PhotoCacheRecord);
  if (slot > count) slot = count;
  const LONGLONG offset = static_cast<LONGLONG>(kIndexHeaderSize + slot * sizeof(PhotoCacheRecord));
  if (!Seek(file.Get(), offset) || !WriteExactly(file.Get(), &record, sizeof(record))) return FALSE;
  // Appending drops a partial record that a damaged file may end with.
  if (slot == count && !SetEndOfFile(file.Get())) return FALSE;
  return FlushFileBuffers(file.Get());
}

bool MakeRecord(std::string_view source, const SourceFacts& facts, std::string_view cached,
                PhotoCacheRecord& record) {
  std::memset(&record, 0, sizeof(record));
  if (source.empty() || cached.empty() || source.size() >= kCachePathField ||
      cached.size() >= kCachePathField)
    return false;
  std::memcpy(record.szSourcePath, source.data(), source.size());
  std::memcpy(record.szCachedPath, cached.data(), cached.size());
  record.dwSourceTimeLow = facts.timeLow;
  record.dwSourceTimeHigh = facts.timeHigh;
  record.dwSourceSize = facts.size;
  return true;
}

bool IsCurrent(const PhotoCacheRecord& record, const SourceFacts& facts) {
  return record.dwSourceTimeLow == facts.timeLow && record.dwSourceTimeHigh == facts.timeHigh &&
         record.dwSourceSize == facts.size;
}

bool StampIsValid(const std::string& path) {
  FileCloser file(CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  PhotoCacheStamp stamp{};
  DWORD read = 0;
  if (!ReadFile(file.Get(), &stamp, sizeof(stamp), &read, nullptr)) return false;
  // Bytes 8 to 15 are not examined; a short file leaves the rest zero and so fails the version.
  return std::memcmp(stamp.szMagic, kStampMagic, sizeof(kStampMagic)) == 0 &&
         stamp.nVersion == kPhotoCacheVersion;
}

BOOL WriteStamp(const std::string& path) {
  PhotoCacheStamp stamp{};
  std::memcpy(stamp.szMagic, kStampMagic, sizeof(kStampMagic));
  stamp.nVersion = kPhotoCacheVersion;
  FileCloser file(CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return FALSE;
  return WriteExactly(file.Get(), &stamp, sizeof(stamp)) && FlushFileBuffers(file.Get());
}

}  // namespace pictavo::render
