// The album preview in the real program on the headless display: the sample project opened, the
// Album Preview tab chosen, "play from the beginning" clicked and the album played to its natural
// end; the log and the snapshots taken on the way show the titles, every slide with its
// transition and the credits in order. Then a run is stopped in the middle and started again at
// once. Snapshots land under build/bin/test-output/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

class PreviewEndToEndTest : public RegistryFixture {};

// The colour at (x, y) of a snapshot.
std::array<int, 3> At(const pictavo::test::Picture& p, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * p.width + x) * 3;
  return {p.rgb[i], p.rgb[i + 1], p.rgb[i + 2]};
}

// How many of the lines, in this order, the log holds (each found after the one before).
size_t InOrder(const std::vector<std::string>& log, const std::vector<std::string>& wanted, size_t from = 0) {
  size_t found = 0;
  for (size_t i = from; i < log.size() && found < wanted.size(); ++i)
    if (log[i].find(wanted[found]) != std::string::npos) ++found;
  return found;
}

}  // namespace

TEST_F(PreviewEndToEndTest, TheSampleAlbumPlaysToItsEndAndRestartsAtOnceAfterAStop) {
  const std::string project = std::string(getenv("PICTAVO_SOURCE_DIR")) + "/samples/sample.r7m";
  ASSERT_TRUE(fs::exists(std::string(getenv("PICTAVO_SOURCE_DIR")) + "/samples/media/beach_landscape.jpg"))
      << "run samples/make-samples.sh";
  const std::string page = pictavo::test::SnapshotPath("preview-e2e-page.png");
  const std::string title = pictavo::test::SnapshotPath("preview-e2e-title.png");
  const std::string slide = pictavo::test::SnapshotPath("preview-e2e-slide.png");
  const std::string later = pictavo::test::SnapshotPath("preview-e2e-slide-later.png");
  const std::string credits = pictavo::test::SnapshotPath("preview-e2e-credits.png");
  const std::string restarted = pictavo::test::SnapshotPath("preview-e2e-restarted.png");
  // The sample album: 5 s of titles, slides of 6, 7, 8, 6 and 6 s, 4 s of credits.
  std::ostringstream script;
  script << "wait-window \"Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "click-at 681 210\n"  // the Album Preview tab
         << "sleep 500\n"
         << "snapshot \"" << page << "\"\n"
         << "click 1445\n"  // play from the beginning
         << "sleep 3500\n"  // within the 5 s of titles, on a busy machine too
         << "snapshot \"" << title << "\"\n"
         << "sleep 6000\n"
         << "snapshot \"" << slide << "\"\n"
         << "sleep 19000\n"
         << "snapshot \"" << later << "\"\n"
         << "sleep 11000\n"
         << "snapshot \"" << credits << "\"\n"
         << "sleep 6000\n"
         << "click 1445\n"
         << "sleep 3000\n"
         << "click 1447\n"  // stop in the middle
         << "click 1445\n"  // and start again at once
         << "sleep 4000\n"  // within the new run's 5 s of titles, on a busy machine too
         << "snapshot \"" << restarted << "\"\n"
         << "command 32791\n";
  const pid_t child = StartProgram(folder.Path(), {project}, script.str(), {},
                                   {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(WaitForExit(child), 0);

  const auto log = ReadProgramLog((fs::path(folder.Path()) / "home/Documents/Talvane Pictavo").string());
  const std::vector<std::string> wholeRun = {
      "Preview album \"Sample\" from slide 0, music at 0 ms",
      "Preview titles: 100 frames",
      "Preview shows slide id=00000 transition=\"Fade[TransitionLib]\"",
      "Preview shows slide id=00001 transition=\"Dissolve[TransitionLib]\"",
      "Preview shows slide id=00002 transition=\"Wipe Right[TransitionLib]\"",
      "Preview shows slide id=00003 transition=\"Slide From Left[TransitionLib]\"",
      "Preview shows slide id=00004 transition=\"Fade Through Black[TransitionLib]\"",
      "Preview credits: 80 frames",
      "Preview album ended (0)",
      // The second run, stopped in the middle, and the third, started at once.
      "Preview album \"Sample\" from slide 0",
      "Preview album ended (1)",
      "Preview album \"Sample\" from slide 0",
      "Preview titles",
  };
  EXPECT_EQ(InOrder(log, wholeRun), wholeRun.size());
  for (const std::string& line : log)
    if (line.find("Preview slides:") != std::string::npos) std::cout << line << "\n";

  pictavo::test::Picture picture;
  // The preview area of the page: 592 x 333 at (316, 317) on the desktop.
  ASSERT_TRUE(pictavo::test::ReadPng(title, &picture));
  EXPECT_EQ(At(picture, 330, 330), (std::array<int, 3>{0x10, 0x20, 0x40})) << "the titles' background";
  ASSERT_TRUE(pictavo::test::ReadPng(credits, &picture));
  EXPECT_EQ(At(picture, 330, 330), (std::array<int, 3>{0, 0, 0})) << "the credits' background";
  for (const std::string& shot : {slide, later}) {
    ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture)) << shot;
    // A photo: many colours across the middle row of the preview.
    std::vector<std::array<int, 3>> colours;
    for (int x = 320; x < 900; x += 20) {
      const auto c = At(picture, x, 480);
      if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
    }
    EXPECT_GT(colours.size(), 3u) << shot;
  }
  ASSERT_TRUE(pictavo::test::ReadPng(restarted, &picture));
  EXPECT_EQ(At(picture, 330, 330), (std::array<int, 3>{0x10, 0x20, 0x40})) << "the new run's titles";
}
