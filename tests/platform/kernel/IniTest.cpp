#include <gtest/gtest.h>

#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Ini.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace {

const char kLanguageFile[] =
    "\xEF\xBB\xBF; Deutsch\n"
    "[General]\n"
    "  Language = Deutsch  \n"
    "Quoted=\"  spaced  \"\n"
    "Empty=\n"
    "Number= 42abc\n"
    "Negative=-7\n"
    "NoEquals\n"
    "[general]\n"
    "Language=Second\n"
    "[Other]\n"
    "Key=Value\n";

std::string Get(const char* section, const char* key, const char* fallback, const std::string& file) {
  char buffer[256];
  const DWORD n = GetPrivateProfileString(section, key, fallback, buffer, sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

std::string List(const char* section, const std::string& file, DWORD size, DWORD& result) {
  std::string buffer(size, '#');
  result = GetPrivateProfileString(section, nullptr, "", buffer.data(), size, file.c_str());
  return buffer;
}

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteWholeFile(file, kLanguageFile); }
  ScratchDir folder;
  std::string file = folder / "lang_deu.ini";
};

}  // namespace

TEST_F(IniTest, LooksUpValuesIgnoringCaseWithDefaults) {
  struct Case {
    const char* section;
    const char* key;
    const char* fallback;
    const char* expected;
  };
  const Case kCases[] = {
      {"general", "LANGUAGE", "x", "Deutsch"},   // first of duplicate sections, trimmed
      {"General", "Quoted", "x", "  spaced  "},  // quotes removed, inside kept
      {"General", "Empty", "x", ""},
      {"General", "NoEquals", "fallback", "fallback"},
      {"General", "Missing", "default  ", "default"},  // trailing blanks of the default go
      {"Absent", "Language", "d", "d"},
      {"Other", "key", nullptr, "Value"},
      {"Other", "Missing", nullptr, ""},
  };
  for (const Case& c : kCases) EXPECT_EQ(Get(c.section, c.key, c.fallback, file), c.expected) << c.key;
  EXPECT_EQ(Get("General", "Language", "fallback", folder / "absent.ini"), "fallback");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(IniTest, TruncatesToTheBuffer) {
  char small[4];
  EXPECT_EQ(GetPrivateProfileString("General", "Language", "", small, sizeof small, file.c_str()), 3u);
  EXPECT_STREQ(small, "Deu");
  EXPECT_EQ(GetPrivateProfileString("General", "Language", "", small, 0, file.c_str()), 0u);
}

TEST_F(IniTest, ListsSectionAndKeyNames) {
  DWORD result = 0;
  std::string sections = List(nullptr, file, 64, result);
  EXPECT_EQ(result, 14u);
  EXPECT_EQ(sections.substr(0, 15), std::string("General\0Other\0\0", 15));

  char keys[128];
  result = GetPrivateProfileString("GENERAL", nullptr, "", keys, sizeof keys, file.c_str());
  const std::string expected("Language\0Quoted\0Empty\0Number\0Negative\0NoEquals\0", 47);
  EXPECT_EQ(std::string(keys, result), expected);
  EXPECT_EQ(keys[result], '\0');

  // A list that does not fit is cut and ends with two NULs.
  std::string cut = List(nullptr, file, 10, result);
  EXPECT_EQ(result, 8u);
  EXPECT_EQ(cut, std::string("General\0\0\0", 10));

  result = 99;
  List(nullptr, folder / "absent.ini", 8, result);
  EXPECT_EQ(result, 0u);
}

TEST_F(IniTest, ReadsNumbers) {
  struct Case {
    const char* key;
    INT fallback;
    UINT expected;
  };
  const Case kCases[] = {
      {"Number", 5, 42},  {"Negative", 5, static_cast<UINT>(-7)}, {"Missing", 5, 5}, {"Empty", 9, 9},
      {"Language", 5, 0},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(GetPrivateProfileInt("General", c.key, c.fallback, file.c_str()), c.expected) << c.key;
  EXPECT_EQ(GetPrivateProfileInt("General", "version", 0, (folder / "absent.ini").c_str()), 0u);
}

TEST_F(IniTest, SeesAFileReplacedOnDisk) {
  EXPECT_EQ(Get("Other", "Key", "", file), "Value");
  WriteWholeFile(file, "[Other]\nKey=Changed value\n");
  EXPECT_EQ(Get("Other", "Key", "", file), "Changed value");
}

TEST_F(IniTest, WritesKeepOtherLinesAndComments) {
  const std::string path = folder / "settings.ini";
  WriteWholeFile(path, "; kept\r\n[General]\r\nLanguage=English\r\n\r\n[Other]\r\nKey=Value\r\n");
  ASSERT_TRUE(WritePrivateProfileString("general", "LANGUAGE", "Deutsch", path.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("General", "Added", "1", path.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("New", "Key", "v", path.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("Other", "Key", nullptr, path.c_str()));
  EXPECT_EQ(ReadWholeFile(path),
            "; kept\r\n[General]\r\nLanguage=Deutsch\r\nAdded=1\r\n\r\n[Other]\r\n\r\n[New]\r\nKey=v\r\n");
  EXPECT_EQ(Get("General", "Added", "", path), "1");

  ASSERT_TRUE(WritePrivateProfileString("Other", nullptr, nullptr, path.c_str()));
  EXPECT_EQ(ReadWholeFile(path),
            "; kept\r\n[General]\r\nLanguage=Deutsch\r\nAdded=1\r\n\r\n[New]\r\nKey=v\r\n");
}

TEST_F(IniTest, WritesCreateTheFileAndReportFailures) {
  const std::string path = folder / "new.ini";
  ASSERT_TRUE(WritePrivateProfileString("General", "version", "805", path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), "[General]\nversion=805\n");
  EXPECT_EQ(GetPrivateProfileInt("General", "Version", 0, path.c_str()), 805u);

  EXPECT_FALSE(WritePrivateProfileString("General", "x", "1", (folder / "absent/new.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(Exists(folder / "absent"));
}
