#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Time.h"

namespace {

using pictavo::kernel::FileTimeValue;
using pictavo::kernel::MakeFileTime;

struct CalendarCase {
  SYSTEMTIME time;  // year, month, day of week, day, hour, minute, second, ms
  ULONGLONG fileTime;
};
const CalendarCase kCalendar[] = {
    {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
    {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ULL},
    {{2000, 2, 2, 29, 12, 34, 56, 789}, 125963012967890000ULL},
    {{2038, 1, 2, 19, 3, 14, 8, 0}, 137919572480000000ULL},
    {{9999, 12, 5, 31, 23, 59, 59, 999}, 2650467743999990000ULL},
    {{30827, 12, 5, 31, 23, 59, 59, 999}, 9223149887999990000ULL},
};

bool Same(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek && a.wDay == b.wDay &&
         a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond &&
         a.wMilliseconds == b.wMilliseconds;
}

// Sets the time zone for a scope.
class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    if (const char* old = std::getenv("TZ")) m_old = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    if (m_old)
      setenv("TZ", m_old->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> m_old;
};

}  // namespace

TEST(Time, CalendarAndFileTimeConvertBothWays) {
  for (const auto& c : kCalendar) {
    FILETIME fileTime{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &fileTime)) << c.time.wYear;
    EXPECT_EQ(FileTimeValue(fileTime), c.fileTime) << c.time.wYear;
    SYSTEMTIME back{};
    const FILETIME given = MakeFileTime(c.fileTime);
    ASSERT_TRUE(FileTimeToSystemTime(&given, &back));
    EXPECT_TRUE(Same(back, c.time)) << c.time.wYear << " came back as " << back.wYear << "-" << back.wMonth
                                    << "-" << back.wDay << " dow " << back.wDayOfWeek;
  }
}

TEST(Time, DayOfWeekIsIgnoredWhenConverting) {
  SYSTEMTIME time = kCalendar[2].time;
  time.wDayOfWeek = 6;
  FILETIME fileTime{};
  ASSERT_TRUE(SystemTimeToFileTime(&time, &fileTime));
  EXPECT_EQ(FileTimeValue(fileTime), kCalendar[2].fileTime);
}

TEST(Time, ImpossibleTimesAreRefused) {
  const SYSTEMTIME bad[] = {
      {1600, 12, 0, 31, 0, 0, 0, 0}, {30828, 1, 0, 1, 0, 0, 0, 0}, {2001, 13, 0, 1, 0, 0, 0, 0},
      {2001, 0, 0, 1, 0, 0, 0, 0},   {2001, 2, 0, 29, 0, 0, 0, 0}, {2000, 2, 0, 30, 0, 0, 0, 0},
      {2001, 4, 0, 31, 0, 0, 0, 0},  {2001, 1, 0, 0, 0, 0, 0, 0},  {2001, 1, 0, 1, 24, 0, 0, 0},
      {2001, 1, 0, 1, 0, 60, 0, 0},  {2001, 1, 0, 1, 0, 0, 60, 0}, {2001, 1, 0, 1, 0, 0, 0, 1000},
  };
  for (const auto& time : bad) {
    FILETIME fileTime{123, 456};
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&time, &fileTime))
        << time.wYear << "-" << time.wMonth << "-" << time.wDay;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  const FILETIME tooLarge = MakeFileTime(0x8000000000000000ULL);
  SYSTEMTIME time{};
  EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &time));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Time, LocalTimeUsesTheZoneOffsetOfNow) {
  const struct {
    const char* zone;
    LONGLONG offsetSeconds;
  } zones[] = {{"UTC0", 0}, {"<+0230>-2:30", 9000}, {"<-05>5", -18000}};
  const ULONGLONG utc = kCalendar[2].fileTime;
  for (const auto& z : zones) {
    ZoneScope scope(z.zone);
    const FILETIME given = MakeFileTime(utc);
    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&given, &local));
    EXPECT_EQ(static_cast<LONGLONG>(FileTimeValue(local) - utc), z.offsetSeconds * 10000000) << z.zone;
    FILETIME back{};
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(FileTimeValue(back), utc) << z.zone;
  }
  ZoneScope scope("<+03>-3");
  const FILETIME start = MakeFileTime(0);
  FILETIME out{};
  EXPECT_FALSE(LocalFileTimeToFileTime(&start, &out)) << "before 1601";
}

TEST(Time, ClockReadingsAgree) {
  FILETIME fileTime{};
  SYSTEMTIME systemTime{};
  GetSystemTimeAsFileTime(&fileTime);
  GetSystemTime(&systemTime);
  FILETIME fromCalendar{};
  ASSERT_TRUE(SystemTimeToFileTime(&systemTime, &fromCalendar));
  const auto apart = static_cast<LONGLONG>(FileTimeValue(fromCalendar) - FileTimeValue(fileTime));
  EXPECT_LT(std::abs(apart), 10000000) << "within a second";

  const timespec unix = pictavo::kernel::UnixFromFileTime(fileTime);
  EXPECT_NEAR(static_cast<double>(unix.tv_sec), static_cast<double>(time(nullptr)), 2.0);
  EXPECT_EQ(FileTimeValue(pictavo::kernel::FileTimeFromUnix(unix)), FileTimeValue(fileTime));
  const timespec beforeEpoch{-1, 500000000};
  EXPECT_EQ(FileTimeValue(pictavo::kernel::FileTimeFromUnix(beforeEpoch)),
            pictavo::kernel::kUnixEpochAsFileTime - 5000000);
  EXPECT_EQ(pictavo::kernel::UnixFromFileTime(pictavo::kernel::FileTimeFromUnix(beforeEpoch)).tv_sec, -1);

  ZoneScope scope("<+05>-5");
  SYSTEMTIME local{};
  GetLocalTime(&local);
  GetSystemTime(&systemTime);
  FILETIME localValue{}, utcValue{};
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localValue));
  ASSERT_TRUE(SystemTimeToFileTime(&systemTime, &utcValue));
  const LONGLONG ahead = static_cast<LONGLONG>(FileTimeValue(localValue) - FileTimeValue(utcValue));
  EXPECT_NEAR(static_cast<double>(ahead) / 1e7, 5 * 3600.0, 1.0);
}

TEST(Time, TickCountIsTheLow32BitsOfTheLongCount) {
  const ULONGLONG wide = GetTickCount64();
  const DWORD narrow = GetTickCount();
  EXPECT_LT(static_cast<DWORD>(narrow - static_cast<DWORD>(wide)), 1000u);
  LARGE_INTEGER frequency{}, first{}, second{};
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_GT(frequency.QuadPart, 1000000);
  QueryPerformanceCounter(&first);
  QueryPerformanceCounter(&second);
  EXPECT_LE(first.QuadPart, second.QuadPart);
}

TEST(Time, CompareFileTime) {
  const struct {
    ULONGLONG a, b;
    LONG result;
  } cases[] = {
      {1, 2, -1}, {2, 1, 1}, {5, 5, 0}, {0x100000000ULL, 0xFFFFFFFFULL, 1}, {0, 0x8000000000000000ULL, -1}};
  for (const auto& c : cases) {
    const FILETIME a = MakeFileTime(c.a), b = MakeFileTime(c.b);
    EXPECT_EQ(CompareFileTime(&a, &b), c.result) << c.a << " vs " << c.b;
  }
}
