// Music in the real program on the headless display: the sample project's "Transition & Music"
// page, its music trimmed with the seek bar and the trim dialog's Set Start, then a sound recorded
// from the music bar's Record with SDL's disk driver as the microphone (a file of known samples):
// Start, four seconds, Stop, Close. The recording joins the music list and the project keeps both
// edits through Save and a second run. Snapshots: music-e2e-*.png.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shell/ShellTestSupport.h"
#include "tests/support/ScriptSteps.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> MusicEntries(const std::string& project) {
  std::vector<std::string> entries;
  const std::regex music(R"(<music [^>]*>)");
  for (auto it = std::sregex_iterator(project.begin(), project.end(), music); it != std::sregex_iterator();
       ++it)
    entries.push_back(it->str());
  return entries;
}

class MusicEndToEndTest : public RegistryFixture {};

}  // namespace

TEST_F(MusicEndToEndTest, TrimAndRecordFromTheMusicBarAreKept) {
  const std::string source = getenv("PICTAVO_SOURCE_DIR");
  ASSERT_TRUE(fs::exists(source + "/samples/media/music.mp3")) << "run samples/make-samples.sh";
  // Eight seconds of 44100 Hz stereo samples that no two neighbours share: the microphone.
  std::string mic(44100 * 2 * 8 * 2, '\0');
  for (size_t i = 0; i < mic.size() / 2; ++i) {
    const auto v = static_cast<uint16_t>((i * 7919u) % 65536u);
    mic[2 * i] = static_cast<char>(v & 0xFF);
    mic[2 * i + 1] = static_cast<char>(v >> 8);
  }
  const std::string micPath = folder.Write("mic.raw", mic);
  const std::string saved = folder / "Music.r7m";
  const std::string again = folder / "Again.r7m";
  using pictavo::test::SnapshotPath;
  const std::string trimShot = SnapshotPath("music-e2e-trim.png");
  const std::string recordShot = SnapshotPath("music-e2e-record.png");
  const std::string pageShot = SnapshotPath("music-e2e-page.png");
  const std::string reopenedShot = SnapshotPath("music-e2e-reopened.png");
  const std::vector<std::string> env = {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=disk",
                                        "SDL_DISKAUDIOFILE=/dev/null", "SDL_DISKAUDIOFILEIN=" + micPath};

  std::ostringstream first;
  first << "wait-window \"sample - Talvane Pictavo\" 60\n"
        << "wait-gone Splash 30\n"
        << "click 1139 190 13\n"  // the "Transition & Music" tab
        << "click 1087 60 28\n"   // the music list's first row
        << "click 1407 234 14\n"  // the music bar's Trim
        << "wait-window \"Trim Audio\"\n"
        << "click 0xFFFF 124 5\n"  // a quarter into the seek bar
        << "click 1441 22 15\n"    // Set Start
        << "snapshot \"" << trimShot << "\" \"Trim Audio\"\n"
        << "click 1\n"
        << "wait-gone \"Trim Audio\"\n"
        << "wait-window \"sample - Talvane Pictavo\"\n"
        << "click 1407 494 14\n"  // the music bar's Record
        << "wait-window \"Record Sound\"\n"
        << "click 1410\n"
        << "sleep 4000\n"  // the user speaks for four seconds
        << "click 1411\n"
        << "snapshot \"" << recordShot << "\" \"Record Sound\"\n"
        << "click 1\n"
        << "wait-gone \"Record Sound\"\n"
        << "wait-window \"sample - Talvane Pictavo\"\n"
        << "snapshot \"" << pageShot << "\"\n"
        << pictavo::test::SaveAsSteps(saved, "Music - Talvane Pictavo") << "command 32791\n";
  ASSERT_EQ(WaitForExit(StartProgram(folder.Path(), {source + "/samples/sample.r7m"}, first.str(), {}, env)),
            0);

  const std::vector<std::string> music = MusicEntries(ReadText(saved));
  ASSERT_EQ(music.size(), 2u) << ReadText(saved);
  EXPECT_NE(music[0].find("music.mp3\""), std::string::npos) << music[0];
  EXPECT_NE(music[0].find(" trim_start=\"6000\" trim_end=\"24000\" start=\"0\""), std::string::npos)
      << music[0];
  EXPECT_NE(music[1].find("Audio/record_00001.wav\""), std::string::npos) << music[1];
  EXPECT_NE(music[1].find(" start=\"18000\""), std::string::npos) << music[1];

  // The recording holds what the microphone gave, from its first sample, for about four seconds.
  const std::string wav = ReadText(folder / "home/Documents/Talvane Pictavo/Audio/record_00001.wav");
  ASSERT_GT(wav.size(), 44u + 3 * 44100u * 4u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_TRUE(wav.compare(44, wav.size() - 44, mic, 0, wav.size() - 44) == 0);

  std::ostringstream second;
  second << "wait-window \"Music - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "click 1139 190 13\n"
         << "snapshot \"" << reopenedShot << "\"\n"
         << pictavo::test::SaveAsSteps(again, "Again - Talvane Pictavo") << "command 32791\n";
  ASSERT_EQ(WaitForExit(StartProgram(folder.Path(), {saved}, second.str(), {}, env)), 0);
  EXPECT_EQ(MusicEntries(ReadText(again)), music);
}
