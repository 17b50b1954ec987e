// Languages as a new user meets them: the real program on the headless display, driven by an
// input script. View > Language > Deutsch turns the menu, the title, the status bar and the
// pages German at once; About and Credits open in German; the choice outlives the run; and with
// "Auto Selected" a German locale starts the program in German. Snapshots are left under
// build/bin/test-output/.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "shell/GeneralSettings.h"
#include "shell/LanguageSettings.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;

namespace {

// The language files list in name order: lang_deu.ini first, lang_eng.ini second.
constexpr int kGerman = 48000;
constexpr int kEnglish = 48001;

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

std::string RegistryString(const std::string& key, const char* name) {
  DWORD type = 0;
  Bytes data;
  if (!QueryRaw(key, name, type, data)) return {};
  std::string text(data.begin(), data.end());
  return text.substr(0, text.find('\0'));
}

// How many pixels differ between the same rows of two pictures of one size.
int DifferingPixels(const pictavo::test::Picture& a, const pictavo::test::Picture& b, int top, int bottom) {
  int differing = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < a.width; ++x) differing += a.At(x, y) != b.At(x, y);
  return differing;
}

class LanguageSwitchTest : public RegistryFixture {
 protected:
  std::string Base() const { return CGeneralSettings::DefaultTempFolder().Str(); }
};

}  // namespace

TEST_F(LanguageSwitchTest, SwitchingToGermanRetranslatesTheRunningProgram) {
  const std::string english = pictavo::test::SnapshotPath("language-english.png");
  const std::string german = pictavo::test::SnapshotPath("language-german.png");
  const std::string menu = pictavo::test::SnapshotPath("language-german-menu.png");
  const std::string about = pictavo::test::SnapshotPath("about-german.png");
  const std::string credits = pictavo::test::SnapshotPath("credits-german.png");
  const std::string aboutEnglish = pictavo::test::SnapshotPath("about-english.png");
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "snapshot \"" << english << "\"\n"
         << "command " << kGerman << "\n"
         << "wait-window \"Unbenannt - Talvane Pictavo\"\n"
         << "snapshot \"" << german
         << "\"\n"
         // View (Ansicht) > Language (Sprache), as the user opens it.
         << "key Alt+A\n"
         << "key Up\n"
         << "key Right\n"
         << "snapshot \"" << menu << "\"\n"
         << "key Escape\n"
         << "key Escape\n"
         << "key Escape\n"
         << "command 32792\n"
         << "wait-window \"Info Talvane Pictavo\"\n"
         << "snapshot \"" << about << "\" \"Info Talvane Pictavo\"\n"
         << "click 1503\n"
         << "wait-window Mitwirkende\n"
         << "snapshot \"" << credits << "\" Mitwirkende\n"
         << "key Escape\n"
         << "wait-gone Mitwirkende\n"
         << "wait-window \"Info Talvane Pictavo\"\n"
         << "key Escape\n"
         << "wait-gone \"Info Talvane Pictavo\"\n"
         << "wait-window \"Unbenannt - Talvane Pictavo\"\n"
         // Back to English and on again to German, where the run ends.
         << "command " << kEnglish << "\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "command 32792\n"
         << "wait-window \"About Talvane Pictavo\"\n"
         << "snapshot \"" << aboutEnglish << "\" \"About Talvane Pictavo\"\n"
         << "key Escape\n"
         << "wait-gone \"About Talvane Pictavo\"\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "command " << kGerman << "\n"
         << "wait-window \"Unbenannt - Talvane Pictavo\"\n"
         << "command 32791\n";
  ASSERT_EQ(WaitForExit(StartProgram(folder.Path(), {}, script.str(), {}, {"PICTAVO_DESKTOP=1024x768"})), 0);
  const std::vector<std::string> log = ReadProgramLog(Base());
  EXPECT_TRUE(Contains(log, "DirectX Version: 0x00090003 | 9.0c"));
  EXPECT_EQ(log.back(), "Program ExitInstance.");

  // The menu bar and the status bar read differently; the page area between them is the same.
  pictavo::test::Picture before, after;
  ASSERT_TRUE(pictavo::test::ReadPng(english, &before));
  ASSERT_TRUE(pictavo::test::ReadPng(german, &after));
  ASSERT_EQ(before.width, after.width);
  ASSERT_EQ(before.height, after.height);
  EXPECT_GT(DifferingPixels(before, after, 0, 50), 100) << "title and menu bar";
  EXPECT_GT(DifferingPixels(before, after, before.height - 25, before.height), 100) << "status bar";
  pictavo::test::Picture picture;
  for (const std::string& shot : {menu, about, credits, aboutEnglish})
    EXPECT_TRUE(pictavo::test::ReadPng(shot, &picture)) << shot;

  // The choice is kept for the next start, as a fixed language.
  pictavo::registry::FlushAllHives();
  EXPECT_EQ(RegistryString(LANGUAGE_SETTINGS_KEY, "LangIniFile"), "lang_deu.ini");
}

TEST_F(LanguageSwitchTest, AutoSelectedStartsInTheLanguageOfTheLocale) {
  std::ostringstream script;
  script << "wait-window \"Unbenannt - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "command 32791\n";
  ASSERT_EQ(WaitForExit(StartProgram(folder.Path(), {}, script.str(), {}, {"LC_ALL=de_DE.UTF-8"})), 0);
  pictavo::registry::FlushAllHives();
  EXPECT_EQ(RegistryString(LANGUAGE_SETTINGS_KEY, "LangIniFile"), "lang_deu.ini");
}
