// The album options page as a new user meets it in the real program: photos added through the
// file dialog, the "Transition & Music" tab, the music bar's Add button with the sample music, the
// photo duration typed as 3 seconds, the transition-mode bar's "Random from All Transitions" and a
// transition dragged from the list onto the timeline's first photo;
// the saved project holds what the page showed. Snapshot: album-options-program.png.
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

class AlbumOptionsEndToEndTest : public RegistryFixture {};

}  // namespace

TEST_F(AlbumOptionsEndToEndTest, MusicDurationAndRandomTransitionsFromThePage) {
  const std::string media = std::string(getenv("PICTAVO_SOURCE_DIR")) + "/samples/media";
  ASSERT_TRUE(fs::exists(media + "/music.mp3")) << "run samples/make-samples.sh";
  const std::string saved = (fs::path(folder.Path()) / "Options.r7m").string();
  const std::string shot = pictavo::test::SnapshotPath("album-options-program.png");
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "command 32789\n"
         << "wait-window Open\n"
         << "type " << media << "\n"
         << "key Enter\n"
         << "click 1120\n"
         << "key Home\n"
         << "key Shift+End\n"
         << "key Enter\n"
         << "wait-gone Open\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         // The second tab of the album sheet: "Transition & Music".
         << "click 1139 190 13\n"
         // The music bar's first button: Add Music.
         << "click 1407 26 14\n"
         << "wait-window Open\n"
         << "type " << media << "/music.mp3\n"
         << "key Enter\n"
         << "wait-gone Open\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         // Photo duration 3 s.
         << "click 1099\n"
         << "key Home\n"
         << "key Shift+End\n"
         << "type 3\n"
         // The transition-mode bar's third button: Random from All Transitions.
         << "click 1452 112 8\n"
         // Then "Fade", the list's first transition, dragged onto the first photo of the timeline.
         << "drag 1022 38 20 1406 110 50\n"
         << "snapshot \"" << shot << "\"\n"
         << "command 57604\n"
         << "wait-window \"Save As\"\n"
         << "type " << saved << "\n"
         << "key Enter\n"
         << "wait-file \"" << saved << "\"\n"
         << "wait-window \"Options - Talvane Pictavo\"\n"
         << "command 32791\n";
  const pid_t child = StartProgram(folder.Path(), {}, script.str(), {}, {"PICTAVO_DESKTOP=1024x768"});
  ASSERT_EQ(WaitForExit(child), 0);

  const std::string project = ReadText(saved);
  std::smatch album;
  ASSERT_TRUE(std::regex_search(project, album, std::regex(R"(<album kind="photo"[^>]*>)")));
  EXPECT_NE(album.str().find(" two=\"3\""), std::string::npos) << album.str();
  EXPECT_NE(project.find("music.mp3"), std::string::npos);
  // Every slide got a transition picked from the whole list.
  std::regex slide(R"re(<slide [^>]*transition="([^"]*)")re");
  int slides = 0;
  for (auto it = std::sregex_iterator(project.begin(), project.end(), slide); it != std::sregex_iterator(); ++it) {
    ++slides;
    EXPECT_FALSE((*it)[1].str().empty());
  }
  EXPECT_EQ(slides, 5);
  std::smatch first;
  ASSERT_TRUE(std::regex_search(project, first, slide));
  EXPECT_EQ(first[1].str().rfind("Fade", 0), 0u) << first[1].str();
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture));
  EXPECT_EQ(picture.width, 1024);
}
