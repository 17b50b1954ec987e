// What the start-up checks make of the system's answers, the language files View > Language
// lists, and the translators' credits made from them.
#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/SystemInfo.h"
#include "shell/EnvironmentChecks.h"
#include "tests/support/ScratchDir.h"

namespace {

std::string LanguageFile(const std::string& language, const std::string& translator) {
  return "[General]\nLanguage=" + language + "\nversion=1.2\ntranslator=" + translator + "\n";
}

}  // namespace

TEST(EnvironmentChecks, DirectXInWords) {
  struct Case {
    HRESULT result;
    DWORD version;
    const char* text;
    const char* description;
    BOOL ready;
  };
  const Case kCases[] = {
      {E_FAIL, 0, "", "Unknown version of DirectX installed", FALSE},
      {S_OK, 0x00090003, "9.0c", "DirectX 9.0c is running", TRUE},
      {S_OK, 0x00080100, "8.1", "DirectX 8.1 is running", FALSE},
      {S_OK, 0x000A0000, "10.0", "DirectX 10.0 is running", TRUE},
      {S_OK, 0, "", "DirectX not installed", FALSE},
  };
  for (const Case& c : kCases) {
    BOOL ready = 2;
    EXPECT_STREQ(DescribeDirectX(c.result, c.version, c.text, &ready), c.description) << c.description;
    EXPECT_EQ(ready, c.ready) << c.description;
  }
}

TEST(EnvironmentChecks, TheMediaPlayerWarningOnlyWhereItIsDue) {
  struct Case {
    int minor, servicePack;
    const char* starts;  // "" for no warning
  };
  const Case kCases[] = {
      {1, 1, "You are running Windows XP."},
      {1, 2, ""},
      {0, 3, "You are running Windows 2000."},
      {0, 4, ""},
      {-1, 0, ""},
  };
  for (const Case& c : kCases) {
    const CString warning = MediaPlayerWarning(c.minor, c.servicePack);
    EXPECT_EQ(warning.Left(static_cast<int>(strlen(c.starts))), CString(c.starts))
        << c.minor << "/" << c.servicePack;
    EXPECT_EQ(warning.IsEmpty(), c.starts[0] == '\0') << c.minor << "/" << c.servicePack;
  }
  // This system is neither: the check after start-up leaves no warning due.
  EXPECT_TRUE(MediaPlayerWarning(g_nOsMinorVersion, g_nServicePack).IsEmpty());
}

TEST(EnvironmentChecks, ServicePackAndLookupKey) {
  EXPECT_EQ(ServicePackFromText("Service Pack 2"), 2);
  EXPECT_EQ(ServicePackFromText("SERVICE PACK 4"), 4);
  EXPECT_EQ(ServicePackFromText("Linux 6.1.0-18-amd64"), 0);
  EXPECT_EQ(ServicePackFromText(""), 0);
  EXPECT_STREQ(LanguageLookupKey(0x0407), "0x0407");
  EXPECT_STREQ(LanguageLookupKey(0x0C0A), "0x0C0A");
}

TEST(EnvironmentChecks, LanguageFilesInFolderOrderWithTheirCommands) {
  pictavo::test::ScratchDir lang;
  lang.Write("lang_eng.ini", LanguageFile("English", "Team"));
  lang.Write("lang_deu.ini", LanguageFile("Deutsch", "Anna"));
  lang.Write("LANG_FRA.INI", LanguageFile("Français", "Luc"));
  lang.Write("lang_xyz.ini", "[General]\nversion=1\n");  // names no language: not listed
  lang.Write("lang_long.ini", LanguageFile("Too long a name", "x"));
  const std::vector<LanguageFileEntry> files = FindLanguageFiles(lang.Path().c_str());
  ASSERT_EQ(files.size(), 3u);
  const char* names[] = {"Deutsch", "English", "Français"};
  const char* fileNames[] = {"lang_deu.ini", "lang_eng.ini", "lang_fra.ini"};
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(files[i].nCommandID, static_cast<int>(ID_LANGUAGE_FIRST + i));
    EXPECT_STREQ(files[i].strDisplayName, names[i]);
    EXPECT_STREQ(files[i].strFileName, fileNames[i]);
  }
  EXPECT_STREQ(TranslatorCreditsText(lang.Path().c_str(), files),
               "\r\nDeutsch translation version 1.2 : Anna\r\n\r\n"
               "English translation version 1.2 : Team\r\n\r\n"
               "Français translation version 1.2 : Luc\r\n\r\n");
}

TEST(EnvironmentChecks, MoreLanguagesThanTheOldTableHeld) {
  pictavo::test::ScratchDir lang;
  for (int i = 0; i < 400; ++i) {
    char name[32];
    snprintf(name, sizeof name, "lang_%03d.ini", i);
    lang.Write(name, LanguageFile("Language " + std::to_string(i), "t"));
  }
  const std::vector<LanguageFileEntry> files = FindLanguageFiles(lang.Path().c_str());
  ASSERT_EQ(files.size(), 400u);
  EXPECT_EQ(files.back().nCommandID, static_cast<int>(ID_LANGUAGE_FIRST + 399));
  EXPECT_STREQ(files.back().strDisplayName, "Language 399");
}
