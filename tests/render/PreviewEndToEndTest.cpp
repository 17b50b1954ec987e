// The album preview in the real program on the headless display: the sample project opened, the
// Album Preview tab chosen, "play from the beginning" clicked and the album played to its natural
// end; the log and the snapshots taken on the way show the titles, every slide with its
// transition and the credits in order. Then a run is stopped in the middle and started again at
// once. The disc menu of the sample project with a second album is played in the disc-menu
// preview's demonstration program, and the keyboard picks the second album. Snapshots land under
// build/bin/test-output/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Programs.h"
#include "tests/support/ScopedEnv.h"
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

namespace {

// Pixels of the Basic menu's highlight colour (#FFC94A) in a part of a snapshot.
int HighlightPixels(const pictavo::test::Picture& p, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const auto c = At(p, x, y);
      if (std::abs(c[0] - 0xFF) < 24 && std::abs(c[1] - 0xC9) < 24 && std::abs(c[2] - 0x4A) < 40) ++count;
    }
  return count;
}

}  // namespace

TEST_F(PreviewEndToEndTest, TheDiscMenuPlaysAndTheKeyboardPicksTheSecondAlbum) {
  const std::string source = std::getenv("PICTAVO_SOURCE_DIR");
  ASSERT_TRUE(fs::exists(source + "/samples/media/beach_landscape.jpg")) << "run samples/make-samples.sh";
  // The sample project with its album twice, the second named "Second Walk".
  std::stringstream sample;
  sample << std::ifstream(source + "/samples/sample.r7m").rdbuf();
  std::string text = sample.str();
  const size_t begin = text.find("  <album ");
  const size_t end = text.find("</album>", begin) + std::string("</album>\n").size();
  ASSERT_NE(begin, std::string::npos);
  std::string second = text.substr(begin, end - begin);
  second.replace(second.find("name=\"Sample\""), 13, "name=\"Second Walk\"");
  text.insert(end, second);
  const fs::path project = fs::path(folder.Path()) / "two.r7m";
  fs::create_directory_symlink(source + "/samples/media", fs::path(folder.Path()) / "media");
  std::ofstream(project) << text;

  const std::string menu = pictavo::test::SnapshotPath("preview-e2e-menu.png");
  const std::string focused = pictavo::test::SnapshotPath("preview-e2e-menu-second.png");
  const std::string album = pictavo::test::SnapshotPath("preview-e2e-menu-album.png");
  const std::string scriptPath = (fs::path(folder.Path()) / "menu-script.txt").string();
  const std::string ready = folder.Path();
  std::ofstream(scriptPath) << "wait-window \"Disc Menu Preview\" 30\n"
                            << "wait-file \"" << ready << "/menu-shown\" 30\n"
                            << "snapshot \"" << menu << "\"\n"
                            << "key Down\n"
                            << "sleep 600\n"  // a few of the menu's 50 ms frames
                            << "snapshot \"" << focused << "\"\n"
                            << "key Enter\n"
                            << "wait-file \"" << ready << "/titles-shown\" 30\n"  // within 5 s of titles
                            << "snapshot \"" << album << "\"\n";
  const std::string logPath = (fs::path(folder.Path()) / "menu.log").string();
  {
    pictavo::test::ScopedEnv script("PICTAVO_SCRIPT", scriptPath.c_str());
    pictavo::test::ScopedEnv display("PICTAVO_DISPLAY", "headless");
    pictavo::test::ScopedEnv sound("SDL_AUDIODRIVER", "dummy");
    ASSERT_TRUE(pictavo::test::Run(
        {MENU_PREVIEW_DEMO, "--project", project.string(), "--log", logPath, "--ready", ready}));
  }
  std::vector<std::string> log;
  std::ifstream in(logPath);
  for (std::string line; std::getline(in, line);) log.push_back(line.size() > 24 ? line.substr(24) : line);
  const std::vector<std::string> wanted = {
      "Menu preview page 1 of 1: 2 albums, focus 0",
      "Demo: focus 1",
      "Demo: enter on focus 1",
      "Demo: preview starting",
      "Preview album \"Second Walk\" from slide 0, music at 0 ms",
      "Preview titles: 100 frames",
  };
  EXPECT_EQ(InOrder(log, wanted), wanted.size());

  // The window's client area starts at (63, 62) on the desktop; the menu fills its 634 x 455:
  // album 1's thumbnail and name lie at menu rows 140-236, album 2's at 262-358.
  const auto rows = [](int menuTop, int menuBottom) {
    return std::pair<int, int>{62 + menuTop * 455 / 576, 62 + menuBottom * 455 / 576};
  };
  const auto [top1, bottom1] = rows(130, 250);
  const auto [top2, bottom2] = rows(252, 372);
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(menu, &picture));
  EXPECT_GT(HighlightPixels(picture, 63, top1, 400, bottom1), 100) << "the focus starts on album 1";
  EXPECT_EQ(HighlightPixels(picture, 63, top2, 400, bottom2), 0);
  ASSERT_TRUE(pictavo::test::ReadPng(focused, &picture));
  EXPECT_EQ(HighlightPixels(picture, 63, top1, 400, bottom1), 0);
  EXPECT_GT(HighlightPixels(picture, 63, top2, 400, bottom2), 100) << "Down moved it to album 2";
  ASSERT_TRUE(pictavo::test::ReadPng(album, &picture));
  // The titles' background (their fade in and out shifts it by a few steps).
  const auto titles = At(picture, 80, 80);
  EXPECT_NEAR(titles[0], 0x10, 8);
  EXPECT_NEAR(titles[1], 0x20, 8);
  EXPECT_NEAR(titles[2], 0x40, 8);
}

TEST_F(PreviewEndToEndTest, DisplayAlbumWithFullScreenStepsWithTheKeysAndLeavesWithEscape) {
  const std::string project = std::string(getenv("PICTAVO_SOURCE_DIR")) + "/samples/sample.r7m";
  ASSERT_TRUE(fs::exists(std::string(getenv("PICTAVO_SOURCE_DIR")) + "/samples/media/beach_landscape.jpg"))
      << "run samples/make-samples.sh";
  const std::string first = pictavo::test::SnapshotPath("fullscreen-e2e-first.png");
  const std::string second = pictavo::test::SnapshotPath("fullscreen-e2e-second.png");
  const std::string after = pictavo::test::SnapshotPath("fullscreen-e2e-after.png");
  std::ostringstream script;
  script << "wait-window \"Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "rclick 1022 300 300\n"  // the photo list's context menu
         << "key End\n"
         << "key Up\n"
         << "key Up\n"
         << "key Up\n"  // "Display Album with Full Screen"
         << "key Enter\n"
         << "wait-window Message 10\n"  // the tip shown before the first full-screen display
         << "key Enter\n"
         << "wait-gone Message 10\n"
         << "wait-window \"Talvane Pictavo\"\n"
         << "sleep 1200\n"  // before the first 3 s tick
         << "snapshot \"" << first << "\"\n"
         << "key Right\n"
         << "sleep 2000\n"  // within the 3 s the slide shows, on a busy machine too
         << "snapshot \"" << second << "\"\n"
         << "key Escape\n"
         << "sleep 2000\n"
         << "snapshot \"" << after << "\"\n"
         << "command 32791\n";
  const pid_t child = StartProgram(folder.Path(), {project}, script.str(), {},
                                   {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(WaitForExit(child), 0);
  const auto log = ReadProgramLog((fs::path(folder.Path()) / "home/Documents/Talvane Pictavo").string());
  EXPECT_EQ(InOrder(log, {"screen_w = 1024 screen_h=768"}), 1u);

  pictavo::test::Picture picture;
  // The first photo (colour bars) over the whole screen, the main window hidden under it.
  ASSERT_TRUE(pictavo::test::ReadPng(first, &picture));
  const auto red = [](std::array<int, 3> c) { return c[0] > 200 && c[1] < 40 && c[2] < 40; };
  EXPECT_TRUE(red(At(picture, 100, 400)));
  EXPECT_TRUE(red(At(picture, 30, 120))) << "no title bar";
  EXPECT_TRUE(red(At(picture, 100, 760))) << "no status bar";
  // Right: the upright second photo, fitted between black bars.
  ASSERT_TRUE(pictavo::test::ReadPng(second, &picture));
  EXPECT_EQ(At(picture, 100, 400), (std::array<int, 3>{0, 0, 0}));
  EXPECT_NE(At(picture, 512, 400), (std::array<int, 3>{0, 0, 0}));
  // Escape: the main window again.
  ASSERT_TRUE(pictavo::test::ReadPng(after, &picture));
  EXPECT_NE(At(picture, 100, 400), (std::array<int, 3>{0, 0, 0}));
  EXPECT_FALSE(red(At(picture, 100, 400)));
}
