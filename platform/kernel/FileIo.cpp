#include "platform/kernel/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <optional>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileErrors.h"

namespace pictavo::kernel {
namespace {

std::shared_ptr<FileHandle> FindFile(HANDLE handle) {
  auto object = FindObject(handle);
  auto file = std::dynamic_pointer_cast<FileHandle>(object);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

// FILETIME counts 100 ns steps from 1601-01-01; the system counts from 1970-01-01.
constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kEpochDifferenceSeconds = 11'644'473'600;

FILETIME ToFileTime(int64_t seconds, int64_t nanoseconds) {
  const int64_t ticks = (seconds + kEpochDifferenceSeconds) * kTicksPerSecond + nanoseconds / 100;
  const uint64_t value = ticks < 0 ? 0 : static_cast<uint64_t>(ticks);
  return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

struct timespec ToTimespec(const FILETIME* time) {
  struct timespec out {
    0, UTIME_OMIT
  };
  if (!time) return out;
  const uint64_t value = (static_cast<uint64_t>(time->dwHighDateTime) << 32) | time->dwLowDateTime;
  if (value == 0 || value == UINT64_MAX) return out;
  const int64_t since1970 = static_cast<int64_t>(value) - kEpochDifferenceSeconds * kTicksPerSecond;
  int64_t seconds = since1970 / kTicksPerSecond;
  int64_t rest = since1970 % kTicksPerSecond;
  if (rest < 0) {
    rest += kTicksPerSecond;
    --seconds;
  }
  out.tv_sec = static_cast<time_t>(seconds);
  out.tv_nsec = static_cast<long>(rest * 100);
  return out;
}

std::optional<int64_t> FailedWithErrno() {
  FailWithFileErrno({});
  return std::nullopt;
}

// Moves the file position; the target is checked before anything moves.
std::optional<int64_t> Seek(HANDLE handle, int64_t distance, DWORD method, bool fitsIn32Bits) {
  auto file = FindFile(handle);
  if (!file) return std::nullopt;
  int64_t base = 0;
  if (method == FILE_CURRENT) {
    const off_t current = ::lseek(file->Fd(), 0, SEEK_CUR);
    if (current < 0) return FailedWithErrno();
    base = current;
  } else if (method == FILE_END) {
    struct stat st;
    if (::fstat(file->Fd(), &st) != 0) return FailedWithErrno();
    base = st.st_size;
  } else if (method != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  const int64_t target = base + distance;
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return std::nullopt;
  }
  if (fitsIn32Bits && target > static_cast<int64_t>(UINT32_MAX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  if (::lseek(file->Fd(), static_cast<off_t>(target), SEEK_SET) < 0) return FailedWithErrno();
  SetLastError(ERROR_SUCCESS);
  return target;
}

std::optional<int64_t> Size(HANDLE handle) {
  auto file = FindFile(handle);
  if (!file) return std::nullopt;
  struct stat st;
  if (::fstat(file->Fd(), &st) != 0) return FailedWithErrno();
  SetLastError(ERROR_SUCCESS);
  return static_cast<int64_t>(st.st_size);
}

}  // namespace
}  // namespace pictavo::kernel

using pictavo::kernel::FindFile;

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  auto file = FindFile(handle);
  if (!file) return FALSE;
  if (!buffer && size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return file->Read(buffer, size, read, overlapped);
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  auto file = FindFile(handle);
  if (!file) return FALSE;
  if (!buffer && size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return file->Write(buffer, size, written, overlapped);
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
  const int64_t move =
      distanceHigh
          ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32) |
                                 static_cast<uint32_t>(distance))
          : static_cast<int64_t>(distance);
  auto position = pictavo::kernel::Seek(handle, move, method, distanceHigh == nullptr);
  if (!position) return INVALID_SET_FILE_POINTER;
  if (distanceHigh) *distanceHigh = static_cast<LONG>(*position >> 32);
  return static_cast<DWORD>(*position);
}

BOOL SetFilePointerEx(HANDLE handle, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method) {
  auto position = pictavo::kernel::Seek(handle, distance.QuadPart, method, false);
  if (!position) return FALSE;
  if (newPosition) newPosition->QuadPart = *position;
  return TRUE;
}

DWORD GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
  auto size = pictavo::kernel::Size(handle);
  if (!size) return INVALID_FILE_SIZE;
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(static_cast<uint64_t>(*size) >> 32);
  return static_cast<DWORD>(*size);
}

BOOL GetFileSizeEx(HANDLE handle, PLARGE_INTEGER size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto value = pictavo::kernel::Size(handle);
  if (!value) return FALSE;
  size->QuadPart = *value;
  return TRUE;
}

BOOL SetEndOfFile(HANDLE handle) {
  auto file = FindFile(handle);
  if (!file) return FALSE;
  if (!file->CanWrite()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const off_t position = ::lseek(file->Fd(), 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(file->Fd(), position) != 0) return pictavo::kernel::FailWithFileErrno({});
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
  auto file = FindFile(handle);
  return file ? file->Flush() : FALSE;
}

BOOL GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
  auto file = FindFile(handle);
  if (!file) return FALSE;
  struct statx st;
  if (::statx(file->Fd(), "", AT_EMPTY_PATH, STATX_BTIME | STATX_ATIME | STATX_MTIME, &st) != 0)
    return pictavo::kernel::FailWithFileErrno({});
  using pictavo::kernel::ToFileTime;
  const FILETIME written = ToFileTime(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
  if (creation)
    *creation = (st.stx_mask & STATX_BTIME) ? ToFileTime(st.stx_btime.tv_sec, st.stx_btime.tv_nsec) : written;
  if (lastAccess) *lastAccess = ToFileTime(st.stx_atime.tv_sec, st.stx_atime.tv_nsec);
  if (lastWrite) *lastWrite = written;
  return TRUE;
}

BOOL SetFileTime(HANDLE handle, const FILETIME*, const FILETIME* lastAccess, const FILETIME* lastWrite) {
  auto file = FindFile(handle);
  if (!file) return FALSE;
  if (!file->CanWrite()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const struct timespec times[2] = {pictavo::kernel::ToTimespec(lastAccess),
                                    pictavo::kernel::ToTimespec(lastWrite)};
  if (::futimens(file->Fd(), times) != 0) return pictavo::kernel::FailWithFileErrno({});
  return TRUE;
}

BOOL CancelIoEx(HANDLE handle, LPOVERLAPPED) {
  auto file = FindFile(handle);
  if (!file) return FALSE;
  if (file->CancelPending()) return TRUE;
  SetLastError(ERROR_NOT_FOUND);
  return FALSE;
}
