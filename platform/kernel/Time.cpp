#include "platform/kernel/Time.h"

#include <chrono>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

namespace pictavo::kernel {
namespace {

using namespace std::chrono;

constexpr ULONGLONG kTicksPerMillisecond = 10000;
constexpr ULONGLONG kTicksPerDay = 86400ULL * kFileTimeTicksPerSecond;
constexpr ULONGLONG kLargestFileTime = 0x7FFFFFFFFFFFFFFFULL;
constexpr sys_days kFirstDay = sys_days(year{1601} / January / 1);

timespec Now(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return now;
}

SYSTEMTIME ToSystemTime(ULONGLONG value) {
  const auto day = kFirstDay + days{static_cast<int>(value / kTicksPerDay)};
  const year_month_day date{day};
  const ULONGLONG milliseconds = value % kTicksPerDay / kTicksPerMillisecond;
  SYSTEMTIME out{};
  out.wYear = static_cast<WORD>(static_cast<int>(date.year()));
  out.wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
  out.wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
  out.wDayOfWeek = static_cast<WORD>(weekday{day}.c_encoding());
  out.wHour = static_cast<WORD>(milliseconds / 3600000);
  out.wMinute = static_cast<WORD>(milliseconds / 60000 % 60);
  out.wSecond = static_cast<WORD>(milliseconds / 1000 % 60);
  out.wMilliseconds = static_cast<WORD>(milliseconds % 1000);
  return out;
}

// The local time zone's offset from UTC now, in FILETIME ticks.
LONGLONG LocalBias() {
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  return static_cast<LONGLONG>(local.tm_gmtoff) * static_cast<LONGLONG>(kFileTimeTicksPerSecond);
}

BOOL Shift(const FILETIME* in, LPFILETIME out, LONGLONG by) {
  if (!in || !out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const LONGLONG shifted = static_cast<LONGLONG>(FileTimeValue(*in)) + by;
  if (shifted < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *out = MakeFileTime(static_cast<ULONGLONG>(shifted));
  return TRUE;
}

}  // namespace
}  // namespace pictavo::kernel

namespace kernel = pictavo::kernel;

ULONGLONG GetTickCount64() {
  const timespec now = kernel::Now(CLOCK_MONOTONIC);
  return static_cast<ULONGLONG>(now.tv_sec) * 1000 + static_cast<ULONGLONG>(now.tv_nsec) / 1000000;
}

DWORD GetTickCount() {
  return static_cast<DWORD>(GetTickCount64());
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) return FALSE;
  const timespec now = kernel::Now(CLOCK_MONOTONIC);
  count->QuadPart = static_cast<LONGLONG>(now.tv_sec) * 1000000000 + now.tv_nsec;
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) return FALSE;
  frequency->QuadPart = 1000000000;
  return TRUE;
}

void GetSystemTimeAsFileTime(LPFILETIME time) {
  if (time) *time = kernel::FileTimeFromUnix(kernel::Now(CLOCK_REALTIME));
}

void GetSystemTime(LPSYSTEMTIME time) {
  if (time)
    *time =
        kernel::ToSystemTime(kernel::FileTimeValue(kernel::FileTimeFromUnix(kernel::Now(CLOCK_REALTIME))));
}

void GetLocalTime(LPSYSTEMTIME time) {
  if (!time) return;
  const ULONGLONG utc = kernel::FileTimeValue(kernel::FileTimeFromUnix(kernel::Now(CLOCK_REALTIME)));
  *time = kernel::ToSystemTime(static_cast<ULONGLONG>(static_cast<LONGLONG>(utc) + kernel::LocalBias()));
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
  if (!fileTime || !systemTime || kernel::FileTimeValue(*fileTime) > kernel::kLargestFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *systemTime = kernel::ToSystemTime(kernel::FileTimeValue(*fileTime));
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
  using namespace std::chrono;
  if (!systemTime || !fileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const SYSTEMTIME& t = *systemTime;
  const year_month_day date{year{t.wYear}, month{t.wMonth}, day{t.wDay}};
  if (t.wYear < 1601 || t.wYear > 30827 || !date.ok() || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 ||
      t.wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto dayNumber = static_cast<ULONGLONG>((sys_days(date) - kernel::kFirstDay).count());
  const ULONGLONG milliseconds =
      ((t.wHour * 60ULL + t.wMinute) * 60ULL + t.wSecond) * 1000ULL + t.wMilliseconds;
  *fileTime =
      kernel::MakeFileTime(dayNumber * kernel::kTicksPerDay + milliseconds * kernel::kTicksPerMillisecond);
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
  return kernel::Shift(fileTime, localFileTime, kernel::LocalBias());
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
  return kernel::Shift(localFileTime, fileTime, -kernel::LocalBias());
}

LONG CompareFileTime(const FILETIME* first, const FILETIME* second) {
  const ULONGLONG a = kernel::FileTimeValue(*first);
  const ULONGLONG b = kernel::FileTimeValue(*second);
  return a < b ? -1 : (a > b ? 1 : 0);
}
