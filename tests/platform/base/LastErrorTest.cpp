#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

TEST(LastError, IsPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD other = 1;
  std::thread([&] { other = GetLastError(); }).join();
  EXPECT_EQ(other, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(LastError, MapsErrno) {
  struct Case { int err; DWORD error; };
  const Case kCases[] = {{ENOENT, ERROR_FILE_NOT_FOUND}, {EACCES, ERROR_ACCESS_DENIED},
                         {ENOSPC, ERROR_DISK_FULL}, {EPIPE, ERROR_BROKEN_PIPE}};
  for (const auto& c : kCases) EXPECT_EQ(pictavo::ErrorFromErrno(c.err), c.error) << c.err;
}
