// A video album as a new user makes one in the real program on the headless display: photos from
// ~/Pictures/Trip, then the 6 s sample clip from ~/Videos dropped from the desktop and added again
// through Add Video Clips: "My Video Clips" shows the two clips; the album's preview plays them (a
// snapshot while it plays) and its Play button comes back by itself at their end; background music through the photo page's music
// button; the project saved, opened again and saved once more keeps the clip and the music.
// Snapshots: video-e2e-clips.png, video-e2e-playing.png, video-e2e-ended.png,
// video-e2e-music.png, video-e2e-reopened.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class VideoAlbumEndToEndTest : public RegistryFixture {};

}  // namespace

TEST_F(VideoAlbumEndToEndTest, ClipAddedPlayedToItsEndAndKeptWithTheMusic) {
  const fs::path media = fs::path(getenv("PICTAVO_SOURCE_DIR")) / "samples/media";
  ASSERT_TRUE(fs::exists(media / "clip.mp4")) << "run samples/make-samples.sh";
  const fs::path home = fs::path(folder.Path()) / "home";
  for (const char* photo : {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg", "bars_small.jpg",
                            "wide_panorama.jpg"}) {
    fs::create_directories(home / "Pictures/Trip");
    fs::copy_file(media / photo, home / "Pictures/Trip" / photo);
  }
  fs::create_directories(home / "Music");
  fs::create_directories(home / "Videos");
  fs::copy_file(media / "music.mp3", home / "Music/music.mp3");
  fs::copy_file(media / "clip.mp4", home / "Videos/clip.mp4");
  const std::string saved = (fs::path(folder.Path()) / "Trip.r7m").string();
  const std::string again = (fs::path(folder.Path()) / "Again.r7m").string();
  const auto shot = [](const char* name) { return pictavo::test::SnapshotPath(name); };

  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "command 32789\n"
         << "wait-window Open\n"
         << "type " << (home / "Pictures/Trip").string() << "\n"
         << "key Enter\n"
         << "click 1120\n"
         << "key Home\n"
         << "key Shift+End\n"
         << "key Enter\n"
         << "wait-gone Open\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         // The clip dragged from the desktop onto the album list makes "My Video Clips"; then the
         // clip page's Add button opens Add Video Clips, which adds it once more.
         << "drop 1072 60 20 " << (home / "Videos/clip.mp4").string() << "\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "click 1489 34 14\n"
         << "wait-window Open\n"
         << "type " << (home / "Videos/clip.mp4").string() << "\n"
         << "key Enter\n"
         << "wait-gone Open\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "sleep 300\n"
         << "snapshot \"" << shot("video-e2e-clips.png") << "\"\n"
         // The video sheet's second tab: the album preview.
         << "click 1140 190 13\n"
         << "wait-enabled 1445\n"
         << "click 1445\n"
         << "wait-disabled 1445\n"
         << "sleep 2000\n"
         << "snapshot \"" << shot("video-e2e-playing.png") << "\"\n"
         // The clip lasts 6 s: Play comes back by itself.
         << "wait-enabled 1445 40\n"
         << "snapshot \"" << shot("video-e2e-ended.png") << "\"\n"
         // The photo album, then the photo bar's music button (the eighth).
         << "click 1072 60 20\n"
         << "click 1239 510 14\n"
         << "wait-window Open\n"
         << "type " << (home / "Music/music.mp3").string() << "\n"
         << "key Enter\n"
         << "wait-gone Open\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "sleep 300\n"
         << "snapshot \"" << shot("video-e2e-music.png") << "\"\n"
         << "command 57604\n"
         << "wait-window \"Save As\"\n"
         << "type " << saved << "\n"
         << "key Enter\n"
         << "wait-file \"" << saved << "\"\n"
         << "wait-window \"Trip - Talvane Pictavo\"\n"
         << "command 32791\n";
  const pid_t child = StartProgram(folder.Path(), {}, script.str(), {},
                                   {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(WaitForExit(child), 0);

  const std::string project = ReadText(saved);
  EXPECT_NE(project.find("name=\"My Video Clips\""), std::string::npos) << project;
  EXPECT_NE(project.find("clip.mp4"), std::string::npos);
  EXPECT_NE(project.find("music.mp3"), std::string::npos);
  const auto log = ReadProgramLog((fs::path(folder.Path()) / "home/Documents/Talvane Pictavo").string());
  const std::vector<std::string> wanted = {"Video preview of \"My Video Clips\": 2 clips.", "Video preview ended."};
  size_t found = 0;
  for (const std::string& line : log)
    if (found < wanted.size() && line.find(wanted[found]) != std::string::npos) ++found;
  EXPECT_EQ(found, wanted.size());

  // Opened again: the clip and the music are still there, and saved again they stay.
  std::ostringstream reopen;
  reopen << "wait-window \"Trip - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "click 1072 60 110\n"
         << "sleep 300\n"
         << "snapshot \"" << shot("video-e2e-reopened.png") << "\"\n"
         << "command 57604\n"
         << "wait-window \"Save As\"\n"
         << "type " << again << "\n"
         << "key Enter\n"
         << "wait-file \"" << again << "\"\n"
         << "wait-window \"Again - Talvane Pictavo\"\n"
         << "command 32791\n";
  const pid_t second = StartProgram(folder.Path(), {saved}, reopen.str(), {},
                                    {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(WaitForExit(second), 0);
  const std::string kept = ReadText(again);
  EXPECT_NE(kept.find("name=\"My Video Clips\""), std::string::npos);
  EXPECT_NE(kept.find("clip.mp4"), std::string::npos);
  EXPECT_NE(kept.find("music.mp3"), std::string::npos);
}
