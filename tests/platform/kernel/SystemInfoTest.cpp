#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/SystemInfo.h"
#include "tests/support/ScopedEnv.h"

using pictavo::test::ScopedEnv;

TEST(SystemInfo, VersionIsTheRunningKernels) {
  utsname names;
  ASSERT_EQ(uname(&names), 0);
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_GE(std::sscanf(names.release, "%u.%u.%u", &major, &minor, &patch), 2);

  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionEx(&info));
  EXPECT_EQ(info.dwMajorVersion, major);
  EXPECT_EQ(info.dwMinorVersion, minor);
  EXPECT_EQ(info.dwBuildNumber, patch);
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(std::string(info.szCSDVersion), std::string(names.sysname) + " " + names.release);

  OSVERSIONINFOEX ex{};
  ex.dwOSVersionInfoSize = sizeof ex;
  ASSERT_TRUE(GetVersionEx(reinterpret_cast<OSVERSIONINFO*>(&ex)));
  EXPECT_EQ(ex.wProductType, VER_NT_WORKSTATION);

  OSVERSIONINFO wrong{};
  wrong.dwOSVersionInfoSize = 100;
  EXPECT_FALSE(GetVersionEx(&wrong));

  const DWORD packed = GetVersion();
  EXPECT_EQ(packed & 0x80000000u, 0u);  // the NT family
  EXPECT_EQ(LOBYTE(LOWORD(packed)), major);
  EXPECT_EQ(HIBYTE(LOWORD(packed)), minor);
}

TEST(SystemInfo, LanguageFromTheLocale) {
  struct Case {
    const char* locale;
    LANGID id;
  };
  const Case kCases[] = {
      {"en_US.UTF-8", 0x0409},
      {"en_GB.UTF-8", 0x0809},
      {"en", 0x0409},
      {"de_DE.UTF-8", 0x0407},
      {"de_AT", 0x0C07},
      {"de_CH.utf8", 0x0807},
      {"de_BE.UTF-8", 0x0407},
      {"fr_FR@euro", 0x040C},
      {"pt_BR.UTF-8", 0x0416},
      {"pt_PT", 0x0816},
      {"zh_TW.UTF-8", 0x0404},
      {"ja_JP.UTF-8", 0x0411},
      {"C", 0x0409},
      {"POSIX", 0x0409},
      {"C.UTF-8", 0x0409},
      {"xx_YY", 0x0409},
      {"", 0x0409},
  };
  for (const Case& c : kCases) EXPECT_EQ(pictavo::LangIdFromLocale(c.locale), c.id) << c.locale;

  ScopedEnv all("LC_ALL", nullptr);
  ScopedEnv messages("LC_MESSAGES", nullptr);
  ScopedEnv lang("LANG", "de_DE.UTF-8");
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0407);
  EXPECT_EQ(GetUserDefaultLangID(), 0x0407);
  EXPECT_EQ(GetSystemDefaultLCID(), 0x0407u);
  ScopedEnv override("LC_ALL", "it_IT.UTF-8");
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0410);
}

TEST(SystemInfo, EnvironmentVariables) {
  ScopedEnv cleared("PICTAVO_TEST_VALUE", nullptr);
  char buffer[16];
  SetLastError(0);
  EXPECT_EQ(GetEnvironmentVariable("PICTAVO_TEST_VALUE", buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));

  ASSERT_TRUE(SetEnvironmentVariable("PICTAVO_TEST_VALUE", "slides"));
  EXPECT_EQ(GetEnvironmentVariable("PICTAVO_TEST_VALUE", nullptr, 0), 7u);
  EXPECT_EQ(GetEnvironmentVariable("PICTAVO_TEST_VALUE", buffer, 6), 7u);
  EXPECT_EQ(GetEnvironmentVariable("PICTAVO_TEST_VALUE", buffer, 7), 6u);
  EXPECT_STREQ(buffer, "slides");

  ASSERT_TRUE(SetEnvironmentVariable("PICTAVO_TEST_VALUE", nullptr));
  EXPECT_EQ(GetEnvironmentVariable("PICTAVO_TEST_VALUE", buffer, sizeof buffer), 0u);
  EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));
}

TEST(SystemInfo, NamesAndFolders) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  std::string expected(host);
  expected = expected.substr(0, std::min<size_t>(expected.find('.'), MAX_COMPUTERNAME_LENGTH));
  char name[256];
  DWORD size = 1;
  EXPECT_FALSE(GetComputerName(name, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(size, expected.size() + 1);
  size = sizeof name;
  ASSERT_TRUE(GetComputerName(name, &size));
  EXPECT_EQ(size, expected.size());
  EXPECT_EQ(name, expected);

  size = sizeof name;
  ASSERT_TRUE(GetUserName(name, &size));
  EXPECT_EQ(size, std::string(name).size() + 1);
  DWORD tooSmall = 1;
  EXPECT_FALSE(GetUserName(name, &tooSmall));
  EXPECT_EQ(tooSmall, size);

  char folder[MAX_PATH];
  EXPECT_EQ(GetSystemDirectory(folder, MAX_PATH), 8u);
  EXPECT_STREQ(folder, "/usr/lib");
  EXPECT_EQ(GetWindowsDirectory(nullptr, 0), 11u);
  EXPECT_EQ(GetWindowsDirectory(folder, MAX_PATH), 10u);
  EXPECT_STREQ(folder, "/usr/share");
}
