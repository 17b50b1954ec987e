// The main road as a new user takes it: the real program, no project, Organize > Add Photos with
// the sample folder; on the Transition & Music page the sample music added, the photo duration set
// to 3 s and the transitions made random; the MP4 group picked from the Create menu, the output
// page opened, an output folder typed, "Burn now" pressed; the encoding dialog says it succeeded,
// the output folder is opened through the desktop, and the folder holds one video as long as the
// album with its sound.
// Snapshots land under build/bin/test-output/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "modules/data/AudioSource.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "tests/render/RenderFixtures.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/PngPicture.h"
#include "tests/support/ScriptSteps.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

class OutputEndToEndTest : public RegistryFixture {};

constexpr int kCreateMp4 = 33951 + 7;  // Create > MP4 Video: the eighth group
constexpr int kOutputFolderEdit = 1194;
constexpr int kBurnButtonBar = 1246;
constexpr int kPhotoDurationEdit = 1099;

// A stand-in for the desktop's opener that notes what it was asked to open.
std::string FakeOpener(const std::string& bin, const std::string& record) {
  fs::create_directories(bin);
  const std::string opener = bin + "/xdg-open";
  std::ofstream(opener) << "#!/bin/sh\necho \"$1\" >> '" << record << "'\n";
  fs::permissions(opener, fs::perms::owner_all);
  return opener;
}

// What the saved project's only album holds.
struct SavedAlbum {
  int seconds = 0;  // as the album options page shows it
  std::set<int> photoDurations;
  std::set<std::string> transitions;
  std::vector<std::string> music;  // file names
};

SavedAlbum ReadAlbum(const std::string& project) {
  SavedAlbum saved;
  int missing = 0;
  CStringArray missingFiles;
  EXPECT_TRUE(GetProject()->OpenFromFile(project.c_str(), missing, missingFiles, 0, -1));
  EXPECT_EQ(GetProject()->GetAlbumCount(), 1);
  if (const auto* album = static_cast<CDVDAlbumImage*>(GetProject()->GetAlbum(0))) {
    saved.seconds = album->GetTotalLength();
    for (int i = 0; i < album->GetImageCount(); ++i) {
      saved.photoDurations.insert(album->Get_nTwoDuration(i));
      saved.transitions.insert(std::string(album->GetImage(i)->Get_strTransName()));
    }
    for (int i = 0; i < album->GetMusicCount(); ++i)
      saved.music.push_back(fs::path(std::string(album->GetMusic(i)->strPathName)).filename().string());
  }
  GetProject()->NewProject();
  return saved;
}

}  // namespace

TEST_F(OutputEndToEndTest, BurnNowWritesTheAlbumAsAVideoAndOpensItsFolder) {
  const std::string media = std::string(getenv("PICTAVO_SOURCE_DIR")) + "/samples/media";
  ASSERT_TRUE(fs::exists(media + "/beach_landscape.jpg")) << "run samples/make-samples.sh";
  const std::string out = folder / "My Videos";
  const std::string opened = folder / "opened.txt";
  FakeOpener(folder / "bin", opened);
  const std::string saved = folder / "Trip.r7m";
  const std::string options = pictavo::test::SnapshotPath("output-e2e-options.png");
  const std::string page = pictavo::test::SnapshotPath("output-e2e-page.png");
  const std::string encoding = pictavo::test::SnapshotPath("output-e2e-encoding.png");
  const std::string done = pictavo::test::SnapshotPath("output-e2e-done.png");
  std::ostringstream script;
  script << "wait-window \"Untitled - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         // Organize > Add Photos: every photo of the sample folder.
         << pictavo::test::AddPhotoFolderSteps(media, "Untitled - Talvane Pictavo")
         // The album sheet's Transition & Music tab; its music bar's first button adds music.
         << "click 1139 190 13\n"
         << "click 1407 26 14\n"
         << "wait-window Open\n"
         << "type " << media << "/music.mp3\n"
         << "key Enter\n"
         << "wait-gone Open\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "click " << kPhotoDurationEdit << "\n"
         << "key Home\n"
         << "key Shift+End\n"
         << "type 3\n"
         // The transition mode bar's third button: random transitions.
         << "click 1452 112 8\n"
         << "snapshot \"" << options << "\"\n"
         << "command 57604\n"
         << "wait-window \"Save As\"\n"
         << "type " << saved << "\n"
         << "key Enter\n"
         << "wait-window \"Trip - Talvane Pictavo\"\n"
         << "command " << kCreateMp4
         << "\n"
         // The album sheet's last tab: Video Output.
         << "click 1139 560 13\n"
         << "click " << kOutputFolderEdit << "\n"
         << "key Home\n"
         << "key Shift+End\n"
         << "type " << out << "\n"
         << "snapshot \"" << page << "\"\n"
         << "click " << kBurnButtonBar << "\n"
         << "wait-window \"Encoding Photo Album\" 30\n"
         << "snapshot \"" << encoding
         << "\"\n"
         // The main window and the encoding dialog are disabled under the success message.
         << "wait-window \"Talvane Pictavo\" 600\n"
         << "snapshot \"" << done << "\"\n"
         << "key Enter\n"
         << "wait-gone \"Encoding Photo Album\" 30\n"
         << "wait-file \"" << opened << "\" 30\n"
         << "wait-window \"Trip - Talvane Pictavo\"\n"
         << "command 32791\n";
  const pid_t child =
      StartProgram(folder.Path(), {}, script.str(), {},
                   {"PICTAVO_DESKTOP=1024x768", "PATH=" + (folder / "bin") + ":" + std::getenv("PATH")});
  ASSERT_EQ(WaitForExit(child), 0);

  std::ifstream record(opened);
  std::string openedFolder;
  std::getline(record, openedFolder);
  EXPECT_EQ(openedFolder, out + "/MP4/");
  std::vector<fs::path> videos;
  for (const auto& entry : fs::directory_iterator(out + "/MP4")) videos.push_back(entry.path());
  ASSERT_EQ(videos.size(), 1u);
  EXPECT_EQ(videos[0].filename(), "Trip_media.mp4");
  const SavedAlbum album = ReadAlbum(saved);
  EXPECT_EQ(album.photoDurations, std::set<int>({3}));
  EXPECT_GT(album.transitions.size(), 1u);  // random: not one transition everywhere
  ASSERT_FALSE(album.music.empty());
  EXPECT_EQ(album.music.back(), "music.mp3");
  ASSERT_GT(album.seconds, 0);
  const double video = std::stod(rendertest::Probe(videos[0], "format=duration"));
  EXPECT_NEAR(video, album.seconds, 0.25);
  // The sound runs the whole length.
  EXPECT_EQ(rendertest::Probe(videos[0], "stream=codec_name", "a:0"), "aac");
  EXPECT_NEAR(std::stod(rendertest::Probe(videos[0], "stream=duration", "a:0")), album.seconds, 0.25);
  for (const std::string& shot : {options, page, encoding, done}) {
    pictavo::test::Picture picture;
    ASSERT_TRUE(pictavo::test::ReadPng(shot, &picture)) << shot;
    EXPECT_EQ(picture.width, 1024);
  }
}
