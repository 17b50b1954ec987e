#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "modules/files/Files.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

TEST(FileStatus, ExistingFilesAndFoldersAreFoundMissingOnesAreNot) {
  ScratchDir folder;
  const std::string music = folder / "Song Ä.wav";
  WriteWholeFile(music, std::string(307201, 'x'));
  struct Case {
    std::string path;
    bool exists;
    ULONGLONG size;
  };
  const Case kCases[] = {
      {music, true, 307201},
      {folder.Path() + R"(\Song Ä.wav)", true, 307201},  // `\` as the separator
      {folder.Path(), true, 0},
      {folder / "missing.wav", false, 0},
      {folder / "missing/inside.wav", false, 0},
  };
  for (const auto& c : kCases) {
    CFileStatus status{};
    std::strcpy(status.m_szFullName, "untouched");
    EXPECT_EQ(Zorv_CFileGetStatus(c.path.c_str(), status, 0) != 0, c.exists) << c.path;
    if (c.exists && c.size) {
      EXPECT_EQ(status.m_size, c.size) << c.path;
      EXPECT_STREQ(status.m_szFullName, music.c_str());
      EXPECT_FALSE(status.m_attribute & CFile::directory);
    } else if (!c.exists) {
      EXPECT_TRUE(GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND) << c.path;
      EXPECT_STREQ(status.m_szFullName, "untouched") << c.path;
    }
  }
}

TEST(FileStatus, EmptyAndNullPathsAreRefused) {
  CFileStatus status{};
  EXPECT_FALSE(Zorv_CFileGetStatus(nullptr, status, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(Zorv_CFileGetStatus("", status, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CreateFileHelper, OpensAsCreateFileDoes) {
  ScratchDir folder;
  const std::string path = folder / "legal-notice.txt";
  HANDLE missing = Zorv_CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(missing, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  HANDLE out = Zorv_CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(out, "notice", 6, &written, nullptr));
  CloseHandle(out);

  HANDLE in = Zorv_CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(in, INVALID_HANDLE_VALUE);
  char text[16] = {};
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(in, text, sizeof text, &read, nullptr));
  EXPECT_EQ(std::string(text, read), "notice");
  CloseHandle(in);
}

TEST(ModuleRegistration, KeepsTheNames) {
  EXPECT_TRUE(Zorv_RegisterModule("Talvane", 0, "Talvane"));
  EXPECT_EQ(pictavo::files::RegisteredName(), "Talvane");
  EXPECT_EQ(pictavo::files::RegisteredOwner(), "Talvane");
  EXPECT_FALSE(Zorv_RegisterModule(nullptr, 0, "x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(pictavo::files::RegisteredName(), "Talvane");
}
