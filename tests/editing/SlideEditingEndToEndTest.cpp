// The slide dialogs as a user reaches them: the real program on the sample project, the
// "Transition & Music" page; the first photo's sound zone on the timeline opens Photo Options:
// the sample music chosen with Browse, "Same as Sound Annotation", a pan-and-zoom preset, OK; the
// second transition's duration zone opens Transition Options: another transition, Custom 3 and 5,
// Preview, OK; the third photo selected and a transition row double-clicked; saved (A). Then the
// random transition dialog: Remove All, three added, Randomize; saved (B), opened again and saved
// (C); the MP4 is written. Every edit is in the files, and the video lasts what the durations
// say. Snapshots land under build/bin/test-output/.
#include <gtest/gtest.h>

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
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

constexpr int kCreateMp4 = 33951 + 7;  // Create > MP4 Video
constexpr int kSheetTabs = 1139, kTimeline = 1406, kTransitionList = 1022, kModeBar = 1452;

struct Slide {
  int one = 0, two = 0, panZoom = 0;
  std::string transition;
  std::string sound;  // the annotation's file name, "" without one
  int soundLength = 0;
};

struct Saved {
  int seconds = 0;
  std::vector<Slide> slides;
};

Saved Read(const std::string& project) {
  Saved saved;
  int missing = 0;
  CStringArray missingFiles;
  EXPECT_TRUE(GetProject()->OpenFromFile(project.c_str(), missing, missingFiles, 0, -1)) << project;
  if (const auto* album = static_cast<CDVDAlbumImage*>(GetProject()->GetAlbum(0))) {
    saved.seconds = album->GetTotalLength();
    for (int i = 0; i < album->GetImageCount(); ++i) {
      const CDVDImage* image = album->GetImage(i);
      Slide slide{image->Get_nOneDuration(), image->Get_nTwoDuration(), image->Get_nPanZoom(),
                  std::string(image->Get_strTransName())};
      if (const _AUDIO_SOURCE* sound = image->GetAnnotation()) {
        slide.sound = fs::path(std::string(sound->strPathName)).filename().string();
        slide.soundLength = sound->GetClipLength();
      }
      saved.slides.push_back(slide);
    }
  }
  GetProject()->NewProject();
  return saved;
}

// The transition's name without its group, as the pickers show it.
std::string Shown(const std::string& name) {
  std::string shown = name.substr(0, name.rfind('['));
  while (!shown.empty() && shown.back() == ' ') shown.pop_back();
  return shown;
}

std::string SaveAs(const std::string& path, const std::string& title) {
  return "command 57604\nwait-window \"Save As\"\ntype " + path + "\nkey Enter\nwait-file \"" + path +
         "\"\nwait-window \"" + title + " - Talvane Pictavo\"\n";
}

class SlideEditingEndToEndTest : public RegistryFixture {};

}  // namespace

TEST_F(SlideEditingEndToEndTest, TimelineDialogsEditTheSlidesAndTheVideoFollows) {
  const std::string source = getenv("PICTAVO_SOURCE_DIR");
  ASSERT_TRUE(fs::exists(source + "/samples/media/music.mp3")) << "run samples/make-samples.sh";
  fs::copy(source + "/samples/media", folder / "media", fs::copy_options::recursive);
  fs::copy_file(source + "/samples/sample.r7m", folder / "sample.r7m");
  const std::string music = folder / "media/music.mp3";
  const std::string a = folder / "A.r7m", b = folder / "B.r7m", c = folder / "C.r7m";
  const std::string out = folder / "Videos";
  const std::string opened = folder / "opened.txt";
  fs::create_directories(folder / "bin");
  std::ofstream(folder / "bin/xdg-open") << "#!/bin/sh\necho \"$1\" >> '" << opened << "'\n";
  fs::permissions(folder / "bin/xdg-open", fs::perms::owner_all);
  auto shot = [](const char* name) { return pictavo::test::SnapshotPath(name); };

  std::ostringstream script;
  script << "wait-window \"sample - Talvane Pictavo\" 60\n"
         << "wait-gone Splash 30\n"
         << "click " << kSheetTabs
         << " 190 13\n"
         // The first photo's sound zone (the timeline's cells: title 80, transition 60, photo 100); the
         // pointer rests on it first, as a hand does.
         << "move " << kTimeline << " 215 83\n"
         << "click " << kTimeline << " 215 83\n"
         << "wait-window \"Photo Options\"\n"
         << "click 1430\n"
         << "click 1249\n"
         << "wait-window Open\n"
         << "type " << music << "\n"
         << "key Enter\n"
         << "wait-gone Open\n"
         << "wait-window \"Photo Options\"\n"
         << "click 1438\n"
         << "click 1434\n"
         << "click 1243\n"
         << "key Down\nkey Down\nkey Enter\n"
         << "snapshot \"" << shot("slide-e2e-photo-options.png") << "\" \"Photo Options\"\n"
         << "click 1\n"
         << "wait-gone \"Photo Options\"\n"
         << "wait-window \"sample - Talvane Pictavo\"\n"
         // The duration zone of the transition into the second photo.
         << "move " << kTimeline << " 270 65\n"
         << "click " << kTimeline << " 270 65\n"
         << "wait-window \"Transition Options\"\n"
         << "click 1325\n"
         << "key Down\nkey Enter\n"
         << "click 1332\n"
         << "click 1323\nkey Home\nkey Shift+End\ntype 3\n"
         << "click 1086\nkey Home\nkey Shift+End\ntype 5\n"
         << "click 1327\n"
         << "snapshot \"" << shot("slide-e2e-transition-options.png") << "\" \"Transition Options\"\n"
         << "click 1\n"
         << "wait-gone \"Transition Options\"\n"
         << "wait-window \"sample - Talvane Pictavo\"\n"
         // The third photo selected, then "Wipe Left" (second row, first cell) double-clicked.
         << "move " << kTimeline << " 510 30\n"
         << "click " << kTimeline << " 510 30\n"
         << "dblclick " << kTransitionList << " 37 89\n"
         << "snapshot \"" << shot("slide-e2e-page.png") << "\"\n"
         << SaveAs(a, "A")
         // The transition bar's second button: random transitions from a chosen subset.
         << "click " << kModeBar << " 67 8\n"
         << "wait-window Randomize\n"
         << "click 1145\n"
         << "click 1022 60 85\n"
         << "click 1143\nclick 1143\nclick 1143\n"
         << "snapshot \"" << shot("slide-e2e-random.png") << "\" Randomize\n"
         << "click 1\n"
         << "wait-gone Randomize\n"
         << "wait-window \"A - Talvane Pictavo\"\n"
         << SaveAs(b, "B") << "command 57600\n"
         << "wait-window \"Untitled - Talvane Pictavo\"\n"
         << "key Ctrl+O\n"
         << "wait-window Open\n"
         << "type " << b << "\n"
         << "key Enter\n"
         << "wait-window \"B - Talvane Pictavo\"\n"
         << SaveAs(c, "C") << "command " << kCreateMp4 << "\n"
         << "click " << kSheetTabs << " 560 13\n"
         << "click 1194\nkey Home\nkey Shift+End\ntype " << out << "\n"
         << "click 1246\n"
         << "wait-window \"Encoding Photo Album\" 30\n"
         << "wait-window \"Talvane Pictavo\" 600\n"
         << "key Enter\n"
         << "wait-gone \"Encoding Photo Album\" 30\n"
         << "wait-file \"" << opened << "\" 30\n"
         << "wait-window \"C - Talvane Pictavo\"\n"
         << "command 32791\n";
  const pid_t child =
      StartProgram(folder.Path(), {(folder / "sample.r7m")}, script.str(), {},
                   {"PICTAVO_DESKTOP=1024x768", "PATH=" + (folder / "bin") + ":" + std::getenv("PATH")});
  ASSERT_EQ(WaitForExit(child), 0);

  const Saved before = Read(folder / "sample.r7m");
  const Saved first = Read(a);
  ASSERT_EQ(first.slides.size(), 5u);
  // Photo Options: the sample music (24 s) as the sound, the photo as long as it less the
  // album's 2 s transition, the third preset.
  EXPECT_EQ(first.slides[0].sound, "music.mp3");
  EXPECT_EQ(first.slides[0].soundLength, 24000);
  EXPECT_EQ(first.slides[0].one, 2);
  EXPECT_EQ(first.slides[0].two, 22);
  EXPECT_EQ(first.slides[0].panZoom, 2);
  // Transition Options: the entry after the slide's Dissolve, Custom 3 and 5.
  EXPECT_EQ(Shown(first.slides[1].transition), "Fade Through Black");
  EXPECT_EQ(first.slides[1].one, 3);
  EXPECT_EQ(first.slides[1].two, 5);
  // The double-clicked row went to the selected third photo.
  EXPECT_EQ(Shown(first.slides[2].transition), "Wipe Left");
  for (size_t i = 3; i < 5; ++i) EXPECT_EQ(first.slides[i].transition, before.slides[i].transition) << i;

  // Randomized from the three added: after Remove All the third row down and the two that took
  // its place.
  const Saved second = Read(b);
  const std::set<std::string> subset = {"Fade Through Black", "Fade Through White", "Wipe Right"};
  ASSERT_EQ(second.slides.size(), 5u);
  for (const Slide& slide : second.slides)
    EXPECT_TRUE(subset.count(Shown(slide.transition))) << slide.transition;
  // Opened again and saved: every edit kept.
  const Saved third = Read(c);
  ASSERT_EQ(third.slides.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    const Slide &x = first.slides[i], &y = third.slides[i], &z = second.slides[i];
    EXPECT_EQ(std::tie(y.one, y.two, y.panZoom, y.sound, y.soundLength),
              std::tie(x.one, x.two, x.panZoom, x.sound, x.soundLength))
        << i;
    EXPECT_EQ(y.transition, z.transition) << i;
  }
  // The slideshow grew by the first photo's 18 s and the second slide's 1 s.
  EXPECT_EQ(third.seconds, before.seconds + 18 + 1);

  std::vector<fs::path> videos;
  for (const auto& entry : fs::directory_iterator(out + "/MP4")) videos.push_back(entry.path());
  ASSERT_EQ(videos.size(), 1u);
  EXPECT_NEAR(std::stod(rendertest::Probe(videos[0], "format=duration")), third.seconds, 0.25);
}
