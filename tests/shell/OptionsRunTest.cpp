// The Options dialog in the real program, as a new user meets it on the headless display: the
// photo scale is set to Fill from the Organize menu (the TV option the program lets a user
// change; the TV page inside Options shows it, disabled), Options is opened from the View menu,
// the photo duration of new albums is changed and the default music played on the album
// defaults page, and OK closes it. A second run with the same settings shows the same values
// and writes them back unchanged. Snapshots of both pages are left under build/bin/test-output/.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "shell/GeneralSettings.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

long long RegistryDword(const char* section, const char* name) {
  pictavo::registry::FlushAllHives();
  DWORD type = 0;
  Bytes data;
  if (!QueryRaw(kAppKey + "\\" + section, name, type, data) || data.size() != 4) return -1;
  DWORD value = 0;
  std::memcpy(&value, data.data(), 4);
  return value;
}

bool SamePicture(const std::string& a, const std::string& b) {
  pictavo::test::Picture first, second;
  if (!pictavo::test::ReadPng(a, &first) || !pictavo::test::ReadPng(b, &second)) return false;
  return first.width == second.width && first.height == second.height && first.rgb == second.rgb;
}

// The player's silent sink, whatever the machine has.
const std::vector<std::string> kNoSound = {"SDL_AUDIODRIVER=dummy"};

class OptionsRunTest : public RegistryFixture {};

}  // namespace

TEST_F(OptionsRunTest, ChangedOptionsAreKeptForTheNextRun) {
  using pictavo::test::SnapshotPath;
  const std::string general = SnapshotPath("options-general.png");
  const std::string albumBefore = folder / "album-before.png";
  const std::string album = SnapshotPath("options-album-default.png");
  const std::string playing = SnapshotPath("options-album-default-playing.png");
  const std::string generalAgain = SnapshotPath("options-general-second-run.png");
  const std::string albumAgain = SnapshotPath("options-album-default-second-run.png");
  const std::string start = "wait-window \"Untitled - Talvane Pictavo\" 60\nwait-gone Splash 30\n";
  // "Album Default" is the second item of the category list, 60 pixels high each.
  const std::string chooseAlbumDefault = "click 1190 52 90\n";

  std::ostringstream first;
  first << start << "command 33998\n"  // Organize > Photo Scale to Fill
        << "command 32788\n"           // View > Options...
        << "wait-window Options\n"
        << "snapshot \"" << general << "\" Options\n"
        << chooseAlbumDefault << "snapshot \"" << albumBefore << "\" Options\n"
        << "click 1099\nkey End\nkey Backspace\nkey Backspace\nkey Backspace\ntype 12\n"
        << chooseAlbumDefault << "snapshot \"" << album << "\" Options\n"
        << "click 1115\n"
        << "snapshot \"" << playing << "\" Options\n"
        << "click 1115\n"
        << "click 1\n"
        << "wait-gone Options\n"
        << "wait-window \"Untitled - Talvane Pictavo\"\n"
        << "command 32791\n";
  ASSERT_EQ(WaitForExit(StartProgram(folder.Path(), {}, first.str(), {}, kNoSound)), 0);
  EXPECT_EQ(RegistryDword("General", "PhotoScaleMode"), 1);
  EXPECT_EQ(RegistryDword("Transition", "DurationTwo"), 12);
  EXPECT_FALSE(SamePicture(albumBefore, album));

  std::ostringstream second;
  second << start << "command 32788\n"
         << "wait-window Options\n"
         << "snapshot \"" << generalAgain << "\" Options\n"
         << chooseAlbumDefault << "snapshot \"" << albumAgain << "\" Options\n"
         << "click 1\n"
         << "wait-gone Options\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "command 32791\n";
  ASSERT_EQ(WaitForExit(StartProgram(folder.Path(), {}, second.str(), {}, kNoSound)), 0);
  // The dialog showed what the first run stored (its pages look the same), and OK wrote back what
  // it showed.
  EXPECT_TRUE(SamePicture(album, albumAgain));
  EXPECT_EQ(RegistryDword("General", "PhotoScaleMode"), 1);
  EXPECT_EQ(RegistryDword("Transition", "DurationTwo"), 12);

  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(general, &picture));
  EXPECT_GT(picture.width, 600);
  EXPECT_GT(picture.height, 500);
}
