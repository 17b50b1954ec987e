// Clocks and calendar times. FILETIME counts 100 ns intervals since 1601-01-01 UTC; SYSTEMTIME is
// its calendar form (Gregorian, wDayOfWeek 0 = Sunday).
#pragma once

#include <ctime>

#include "platform/base/WinTypes.h"

// Milliseconds since an arbitrary start (the system's monotonic clock); the 32-bit count wraps
// after 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

void GetSystemTime(LPSYSTEMTIME time);
void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTimeAsFileTime(LPFILETIME time);
// Fail with ERROR_INVALID_PARAMETER for values the other form cannot hold (a FILETIME with its top
// bit set, a SYSTEMTIME field out of range or a day the month does not have).
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
// Both use the time zone's offset of now (daylight saving included), whatever the converted time.
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);
// -1, 0 or 1 as the first time is earlier, equal or later.
LONG CompareFileTime(const FILETIME* first, const FILETIME* second);

namespace pictavo::kernel {

constexpr ULONGLONG kFileTimeTicksPerSecond = 10000000;
constexpr ULONGLONG kUnixEpochAsFileTime = 116444736000000000;  // 1970-01-01 UTC

constexpr ULONGLONG FileTimeValue(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
constexpr FILETIME MakeFileTime(ULONGLONG value) {
  return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}
// The system's times (stat, clock_gettime) as FILETIME and back; times before 1601 become 0.
inline FILETIME FileTimeFromUnix(const timespec& time) {
  const LONGLONG ticks = static_cast<LONGLONG>(time.tv_sec) * static_cast<LONGLONG>(kFileTimeTicksPerSecond) +
                         time.tv_nsec / 100 + static_cast<LONGLONG>(kUnixEpochAsFileTime);
  return MakeFileTime(ticks > 0 ? static_cast<ULONGLONG>(ticks) : 0);
}
inline timespec UnixFromFileTime(const FILETIME& time) {
  const LONGLONG ticks =
      static_cast<LONGLONG>(FileTimeValue(time)) - static_cast<LONGLONG>(kUnixEpochAsFileTime);
  const LONGLONG perSecond = static_cast<LONGLONG>(kFileTimeTicksPerSecond);
  LONGLONG seconds = ticks / perSecond;
  LONGLONG rest = ticks % perSecond;
  if (rest < 0) {
    rest += perSecond;
    --seconds;
  }
  return timespec{static_cast<time_t>(seconds), static_cast<long>(rest * 100)};
}

}  // namespace pictavo::kernel
