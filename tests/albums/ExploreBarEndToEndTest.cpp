// A new user's first project made with the file browser panel in the real program: HOME a fresh
// folder holding ~/Pictures/Trip (the five sample photos), ~/Music (the sample music) and
// ~/Videos, no project. In the panel the user opens Home, Pictures and Trip, selects every tile
// with Ctrl+A and drags them onto the photo list: an album "Trip" with the five photos. Back in
// Home, Music, music.mp3 is dragged onto the album options page's music list. On "Album Theme" a
// theme is picked, titles ticked, a title typed and previewed. The sample clip
// dropped from the desktop makes "My Video Clips", whose preview plays it to its end. The project
// is saved, a new one made, the saved one opened and saved again: both files hold the albums, the
// photos, the music, the theme with its title and the clip. Snapshots land under build/bin/test-output/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/ScriptSteps.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

const char* const kPhotos[] = {"bars_small.jpg", "beach_landscape.jpg", "tower_portrait.jpg",
                               "valley_large.jpg", "wide_panorama.jpg"};

struct Saved {
  std::vector<std::string> albums;
  std::vector<std::string> slides;  // file names, in order
  std::vector<std::string> music;   // file names
  std::vector<std::string> clips;   // file names
};

Saved ReadProject(const std::string& path) {
  Saved saved;
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  static const std::regex element(R"(<(album|slide|music|clip)\s([^>]*)>)");
  auto attribute = [](const std::string& attrs, const std::string& name) {
    std::smatch m;
    const std::regex one("(^|\\s)" + name + R"x(="([^"]*)")x");
    return std::regex_search(attrs, m, one) ? m[2].str() : std::string();
  };
  for (auto it = std::sregex_iterator(text.begin(), text.end(), element); it != std::sregex_iterator();
       ++it) {
    const std::string kind = (*it)[1], attrs = (*it)[2];
    if (kind == "album")
      saved.albums.push_back(attribute(attrs, "name"));
    else if (kind == "slide")
      saved.slides.push_back(fs::path(attribute(attrs, "abs")).filename().string());
    else if (kind == "clip")
      saved.clips.push_back(fs::path(attribute(attrs, "abs")).filename().string());
    else
      saved.music.push_back(fs::path(attribute(attrs, "abs")).filename().string());
  }
  return saved;
}

class ExploreBarEndToEndTest : public RegistryFixture {};

}  // namespace

TEST_F(ExploreBarEndToEndTest, ANewUserDragsAFolderOfPhotosAndASongIntoAnAlbum) {
  const fs::path media = fs::path(getenv("PICTAVO_SOURCE_DIR")) / "samples" / "media";
  ASSERT_TRUE(fs::exists(media / "music.mp3")) << "run samples/make-samples.sh";
  const fs::path home = fs::path(folder.Path()) / "home";
  fs::create_directories(home / "Pictures" / "Trip");
  fs::create_directories(home / "Music");
  fs::create_directories(home / "Videos");
  for (const char* photo : kPhotos) fs::copy_file(media / photo, home / "Pictures" / "Trip" / photo);
  fs::copy_file(media / "music.mp3", home / "Music" / "music.mp3");
  ASSERT_TRUE(fs::exists(media / "clip.mp4")) << "run samples/make-samples.sh";
  fs::copy_file(media / "clip.mp4", home / "Videos" / "clip.mp4");

  const std::string saved = (fs::path(folder.Path()) / "Trip.r7m").string();
  const std::string again = (fs::path(folder.Path()) / "Again.r7m").string();
  const std::string trip = pictavo::test::SnapshotPath("new-user-panel-trip.png");
  const std::string album = pictavo::test::SnapshotPath("new-user-album.png");
  const std::string music = pictavo::test::SnapshotPath("new-user-music.png");
  const std::string reopened = pictavo::test::SnapshotPath("new-user-reopened.png");
  const std::string playing = pictavo::test::SnapshotPath("new-user-clip-playing.png");
  const std::string titles = pictavo::test::SnapshotPath("new-user-titles.png");
  const std::string menu = pictavo::test::SnapshotPath("new-user-panel-menu.png");
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         // Home in the tree, then Pictures and Trip in the file list.
         << "click-item 1020 Home\n"
         << "dblclick-item 1073 Pictures\n"
         << "dblclick-item 1073 Trip\n"
         << "click-item 1073 bars_small.jpg\n"
         << "snapshot \"" << trip
         << "\"\n"
         // The list's context menu with its View popup: "Thumbnails" is checked.
         << "rclick 1073 127 40\n"
         << "key Down\n"
         << "key Right\n"
         << "snapshot \"" << menu << "\"\n"
         << "key Escape\n"
         << "key Escape\n"
         // Every tile, the parent folder's too, dragged from the second tile onto the photo list.
         << "key Ctrl+A\n"
         << "drag 1073 127 40 1022 300 200\n"
         << "snapshot \"" << album
         << "\"\n"
         // Up twice, into Music, and music.mp3 onto the music list of "Transition & Music".
         << "dblclick-item 1073 ..\n"
         << "dblclick-item 1073 ..\n"
         << "dblclick-item 1073 Music\n"
         << "click 1139 190 13\n"
         << "click-item 1073 music.mp3\n"
         << "drag 1073 127 40 1087 100 20\n"
         << "snapshot \"" << music
         << "\"\n"
         // "Album Theme": the second theme ("Classic Frame"), titles ticked and typed, Preview.
         << "click 1139 300 13\n"
         << "click 1021 60 200\n"
         << "click 1375\n"
         << "click 1172\n"
         << "key Ctrl+Home\n"
         << "key Ctrl+Shift+End\n"
         << "type Our Trip\n"
         << "click 1373\n"
         << "sleep 1500\n"
         << "snapshot \"" << titles
         << "\"\n"
         // The clip dropped from the desktop onto the album list makes "My Video Clips"; its
         // preview plays it to the end, when Play comes back by itself.
         << "drop 1072 60 20 " << (home / "Videos" / "clip.mp4").string() << "\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "click 1140 190 13\n"
         << "wait-enabled 1445\n"
         << "click 1445\n"
         << "wait-disabled 1445\n"
         << "snapshot \"" << playing << "\"\n"
         << "wait-enabled 1445 40\n"
         << pictavo::test::SaveAsSteps(saved, "Trip - Talvane Pictavo")
         << pictavo::test::NewThenOpenSteps(saved, "Trip - Talvane Pictavo") << "snapshot \"" << reopened
         << "\"\n"
         << pictavo::test::SaveAsSteps(again, "Again - Talvane Pictavo") << "command 32791\n";
  const pid_t child = StartProgram(folder.Path(), {}, script.str(), {},
                                   {"PICTAVO_DESKTOP=1024x768", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(WaitForExit(child), 0);

  const Saved first = ReadProject(saved);
  EXPECT_EQ(first.albums, std::vector<std::string>({"Trip", "My Video Clips"}));
  EXPECT_EQ(first.clips, std::vector<std::string>({"clip.mp4"}));
  EXPECT_EQ(first.slides, std::vector<std::string>(std::begin(kPhotos), std::end(kPhotos)));
  // Besides the settings' default music a new album starts with.
  EXPECT_EQ(std::count(first.music.begin(), first.music.end(), "music.mp3"), 1);
  const Saved second = ReadProject(again);
  EXPECT_EQ(second.albums, first.albums);
  EXPECT_EQ(second.slides, first.slides);
  EXPECT_EQ(second.music, first.music);
  EXPECT_EQ(second.clips, first.clips);
  for (const std::string& path : {saved, again}) {
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<theme name=\"Classic Frame\""), std::string::npos) << path;
    std::smatch title;
    ASSERT_TRUE(std::regex_search(text, title, std::regex(R"(<title [^>]*>[^<]*</title>)"))) << path;
    EXPECT_NE(title.str().find("enabled=\"1\""), std::string::npos) << title.str();
    EXPECT_NE(title.str().find(">Our Trip</title>"), std::string::npos) << title.str();
  }
  for (const std::string& shot : {trip, menu, album, music, titles, playing, reopened}) {
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture)) << shot;
    EXPECT_EQ(picture.width, 1024);
  }
}
