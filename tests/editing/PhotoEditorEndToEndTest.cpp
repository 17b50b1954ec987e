// The photo editor as a user reaches it: the real program on the sample project, the
// "Transition & Music" page; a double click on the first photo of the timeline opens Photo
// Configuration. Text: Add Text, the text double-clicked, "Hello" typed, Enter; the second style;
// Brush: Linear Gradient, OK; a corner handle dragged out, the text moved, a right click on it.
// ArtClips: one double-clicked, one dragged onto the canvas and resized, the first brought to the
// front. Pan&Zoom:
// Custom, the start preview dragged, end zoom 150, Tab. Process: brightness, Auto Adjust
// Exposure. Next photo and back; Done; saved, opened again: every edit is in the project; the MP4
// lasts what the album says and one of its frames is the data model's drawing of the slide,
// panned and zoomed by the effects module. Snapshots land under build/bin/test-output/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ImageSprite.h"
#include "modules/data/PhotoParams.h"
#include "modules/effects/PanZoom.h"
#include "modules/image/CxImage.h"
#include "render/SlidePictures.h"
#include "render/SlidePlanner.h"
#include "tests/render/RenderFixtures.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/Programs.h"
#include "tests/support/Snapshot.h"

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

struct Edited {
  int texts = 0, clipArts = 0;
  std::vector<std::string> clipArtFiles;  // bottom first
  std::vector<int> clipArtWidths;
  std::string text;
  int brushKind = -1;
  int panZoom = 0;
  double endZoom = 0;
  int brightness = 0;
  BOOL autoExposure = FALSE;
  int seconds = 0;   // the album's length
  int slideEnd = 0;  // where the first slide's own time ends in the video, in seconds
};

Edited Read(const std::string& project) {
  Edited e;
  int missing = 0;
  CStringArray missingFiles;
  EXPECT_TRUE(GetProject()->OpenFromFile(project.c_str(), missing, missingFiles, 0, -1)) << project;
  const auto* album = static_cast<CDVDAlbumImage*>(GetProject()->GetAlbum(0));
  const CDVDImage* slide = album != nullptr ? album->GetImage(0) : nullptr;
  if (album != nullptr) {
    e.seconds = album->GetTotalLength();
    e.slideEnd = album->Get_nTitleDuration() + album->Get_nOneDuration(0) + album->Get_nTwoDuration(0) + 1;
  }
  if (slide != nullptr) {
    for (int i = 0; i < slide->m_arrSprites.GetSize(); ++i) {
      const CDVDImageSprite* sprite = slide->m_arrSprites[i];
      if (sprite->GetSpriteType() == DVD_SPRITE_TEXT) {
        ++e.texts;
        const auto* text = static_cast<const CDVDImageText*>(sprite);
        e.text = text->Get_strText();
        e.brushKind = text->GetDVDImageTextFont().effect.brush.nBrushType;
      } else {
        ++e.clipArts;
        const auto* clip = static_cast<const CDVDImageProps*>(sprite);
        e.clipArtFiles.emplace_back(fs::path(std::string(clip->Get_strPathName())).filename().string());
        e.clipArtWidths.push_back(clip->Get_szSize().cx);
      }
    }
    e.panZoom = slide->Get_nPanZoom();
    if (const _tagPhotoPanZoomSaveParam* saved = slide->GetpPhotoPanZoomSaveParam())
      e.endZoom = saved->fEndZoom;
    if (const _tagPhotoIntensityParam* intensity = slide->Get_pPhotoIntensityParam())
      e.brightness = intensity->nBrightness;
    e.autoExposure = slide->Get_bAutoExposure();
  }
  GetProject()->NewProject();
  return e;
}

// Small grey pictures for comparing frames: kGreyW x kGreyH, each pixel a block average.
constexpr int kGreyW = 96, kGreyH = 54;
using Grey = std::vector<int>;

Grey GreyOf(const CxImage& picture) {
  Grey grey(kGreyW * kGreyH, 0);
  const int w = static_cast<int>(picture.GetWidth()), h = static_cast<int>(picture.GetHeight());
  std::vector<int> counts(grey.size(), 0);
  for (int y = 0; y < h; ++y) {
    // Rows are kept bottom-up.
    const BYTE* row = const_cast<CxImage&>(picture).GetBits(static_cast<DWORD>(h - 1 - y));
    const int gy = y * kGreyH / h;
    for (int x = 0; x < w; ++x) {
      const size_t at = static_cast<size_t>(gy * kGreyW + x * kGreyW / w);
      // The luma of the HD video's colour matrix (BT.709).
      grey[at] += (2126 * row[3 * x + 2] + 7152 * row[3 * x + 1] + 722 * row[3 * x]) / 10000;
      ++counts[at];
    }
  }
  for (size_t i = 0; i < grey.size(); ++i) grey[i] /= std::max(1, counts[i]);
  return grey;
}

double MeanDifference(const Grey& a, const Grey& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
  return sum / static_cast<double>(a.size());
}

// The first slide's frame halfway through its own time, as the data model draws the slide (its
// objects on the photo) and the effects module pans and zooms it.
Grey DrawnFrame(const CDVDAlbumImage& album, SIZE frame, int fps) {
  pictavo::render::SlidePlanRules rules;
  rules.fps = fps;
  rules.frameSize = frame;
  rules.background = album.Get_clrBackground();
  const int one = album.Get_nOneDuration(0) * fps, two = album.Get_nTwoDuration(0) * fps;
  const int next = album.GetImageCount() > 1 ? album.Get_nOneDuration(1) * fps : 0;
  _tagPanZoomWorkParamEx motion = pictavo::render::MakeSlideMotion(album, 0, one + two + next, true, rules);
  CxImage picture;
  pictavo::render::LoadSlidePicture(album, 0, picture, pictavo::render::PanZoomPictureSize(frame, motion),
                                    rules.background);
  motion.pSrcImage = &picture;
  CPanZoomExIPP engine;
  engine.SetPanZoomExWorkParam(motion);
  const CxImage* shown = engine.StepIt(one + two / 2);
  return shown != nullptr ? GreyOf(*shown) : Grey(kGreyW * kGreyH, 0);
}

// Every frame of the video's first `seconds`, small and grey.
std::vector<Grey> VideoFrames(const std::string& video, int seconds) {
  const std::string raw = pictavo::test::Capture(
      {"ffmpeg", "-nostdin", "-v", "error", "-t", std::to_string(seconds), "-i", video, "-vf",
       "scale=" + std::to_string(kGreyW) + ":" + std::to_string(kGreyH) + ":flags=area,format=gray", "-f",
       "rawvideo", "-"});
  std::vector<Grey> frames;
  const size_t size = static_cast<size_t>(kGreyW) * kGreyH;
  for (size_t at = 0; at + size <= raw.size(); at += size) {
    Grey grey(size);
    for (size_t i = 0; i < size; ++i) grey[i] = static_cast<unsigned char>(raw[at + i]);
    frames.push_back(std::move(grey));
  }
  return frames;
}

// How close the video comes to a picture: the smallest mean difference over its frames.
double Closest(const std::vector<Grey>& frames, const Grey& picture, const std::string& name) {
  double best = 1e9;
  const Grey* closest = nullptr;
  for (const Grey& frame : frames)
    if (const double d = MeanDifference(frame, picture); d < best) best = d, closest = &frame;
  // Both side by side as a grey PGM beside the snapshots, for a person to look at.
  std::ofstream pgm(pictavo::test::SnapshotPath(name), std::ios::binary);
  pgm << "P5\n" << 2 * kGreyW << " " << kGreyH << "\n255\n";
  for (int y = 0; y < kGreyH; ++y) {
    for (int x = 0; x < kGreyW; ++x) pgm.put(static_cast<char>(picture[y * kGreyW + x]));
    for (int x = 0; x < kGreyW; ++x) pgm.put(static_cast<char>(closest ? (*closest)[y * kGreyW + x] : 0));
  }
  return best;
}

class PhotoEditorEndToEndTest : public RegistryFixture {};

}  // namespace

TEST_F(PhotoEditorEndToEndTest, EditsMadeInThePhotoEditorReachTheProjectAndTheVideo) {
  const std::string source = getenv("PICTAVO_SOURCE_DIR");
  ASSERT_TRUE(fs::exists(source + "/samples/media/music.mp3")) << "run samples/make-samples.sh";
  fs::copy(source + "/samples/media", folder / "media", fs::copy_options::recursive);
  fs::copy_file(source + "/samples/sample.r7m", folder / "sample.r7m");
  const std::string a = folder / "A.r7m", b = folder / "B.r7m";
  const std::string out = folder / "Videos";
  const std::string opened = folder / "opened.txt";
  fs::create_directories(folder / "bin");
  std::ofstream(folder / "bin/xdg-open") << "#!/bin/sh\necho \"$1\" >> '" << opened << "'\n";
  fs::permissions(folder / "bin/xdg-open", fs::perms::owner_all);

  // Canvas points are in its client area: the sample project's 16:9 frame starts 31 pixels down.
  std::string script = R"(wait-window "sample - Talvane Pictavo" 60
wait-gone Splash 30
click 1139 190 13
move 1406 190 40
dblclick 1406 190 40
wait-window "Photo Configuration"
snapshot "@OUT@/photo-editor-e2e-opened.png" "Photo Configuration"
# Text
click 1304 222 14
click 1258
dblclick 1208 80 86
type Hello
snapshot "@OUT@/photo-editor-e2e-text-editing.png" "Photo Configuration"
key Enter
click 1021 133 40
click 1454
wait-window "Text Brush"
click 1457
snapshot "@OUT@/photo-editor-e2e-brush.png" "Text Brush"
click 1
wait-gone "Text Brush"
wait-window "Photo Configuration"
drag 1208 136 114 1208 200 150
drag 1208 100 110 1208 250 200
rclick 1208 270 200
snapshot "@OUT@/photo-editor-e2e-text-menu.png"
key Escape
snapshot "@OUT@/photo-editor-e2e-text-done.png" "Photo Configuration"
# ArtClips
click 1304 275 14
dblclick 1021 43 43
drag 1021 129 43 1208 400 250
drag 1208 477 326 1208 520 360
rclick 1208 100 92
click-at 240 270
snapshot "@OUT@/photo-editor-e2e-artclips.png" "Photo Configuration"
# Pan&Zoom
click 1304 133 14
click 1388
drag 1468 140 100 1468 170 120
click 1091
key Home
key Shift+End
type 150
key Tab
snapshot "@OUT@/photo-editor-e2e-panzoom.png" "Photo Configuration"
# Process
click 1304 344 14
click 1053 90 10
click 1388
snapshot "@OUT@/photo-editor-e2e-process.png" "Photo Configuration"
# Next photo and back
click 1320 80 14
click 1320 48 14
snapshot "@OUT@/photo-editor-e2e-back.png" "Photo Configuration"
click 1
wait-gone "Photo Configuration"
wait-window "sample - Talvane Pictavo"
command 57604
wait-window "Save As"
type @A@
key Enter
wait-file "@A@"
wait-window "A - Talvane Pictavo"
command 33958
click 1139 560 13
click 1194
key Home
key Shift+End
type @VIDEOS@
click 1246
wait-window "Encoding Photo Album" 30
wait-window "Talvane Pictavo" 600
key Enter
wait-gone "Encoding Photo Album" 30
wait-window "A - Talvane Pictavo"
command 32791
)";
  auto replace = [&](const std::string& token, const std::string& value) {
    for (size_t at = script.find(token); at != std::string::npos; at = script.find(token, at + value.size()))
      script.replace(at, token.size(), value);
  };
  replace("@OUT@", fs::path(pictavo::test::SnapshotPath("x")).parent_path().string());
  replace("@A@", a);
  replace("@VIDEOS@", out);
  const pid_t child =
      StartProgram(folder.Path(), {(folder / "sample.r7m")}, script, {},
                   {"PICTAVO_DESKTOP=1024x768", "PATH=" + (folder / "bin") + ":" + std::getenv("PATH")});
  ASSERT_EQ(WaitForExit(child), 0);

  const Edited edited = Read(a);
  EXPECT_EQ(edited.texts, 1);
  EXPECT_EQ(edited.text, "Hello");
  EXPECT_EQ(edited.brushKind, 1);  // linear gradient
  ASSERT_EQ(edited.clipArts, 2);
  // The heart (double-clicked first) was brought to the front; the star dragged in was made wider.
  EXPECT_EQ(edited.clipArtFiles, std::vector<std::string>({"Star.emf", "Heart.emf"}));
  EXPECT_GT(edited.clipArtWidths[0], edited.clipArtWidths[1]);
  EXPECT_EQ(edited.panZoom, DVD_PANZOOM_CUSTOM);
  EXPECT_DOUBLE_EQ(edited.endZoom, 150);
  EXPECT_GT(edited.brightness, 0);
  EXPECT_TRUE(edited.autoExposure);
  std::vector<fs::path> videos;
  for (const auto& entry : fs::directory_iterator(out + "/MP4")) videos.push_back(entry.path());
  ASSERT_EQ(videos.size(), 1u);
  EXPECT_NEAR(std::stod(rendertest::Probe(videos[0], "format=duration")), edited.seconds, 0.25);

  // A frame of the edited slide in the video is the data model's drawing of it, panned and zoomed;
  // the same slide drawn without its objects is clearly further from every frame.
  const int width = std::stoi(rendertest::Probe(videos[0], "stream=width", "v:0"));
  const int height = std::stoi(rendertest::Probe(videos[0], "stream=height", "v:0"));
  const std::string rate = rendertest::Probe(videos[0], "stream=r_frame_rate", "v:0");
  const int fps = static_cast<int>(
      std::lround(std::stod(rate.substr(0, rate.find('/'))) / std::stod(rate.substr(rate.find('/') + 1))));
  int missing = 0;
  CStringArray missingFiles;
  ASSERT_TRUE(GetProject()->OpenFromFile(a.c_str(), missing, missingFiles, 0, -1));
  auto* album = static_cast<CDVDAlbumImage*>(GetProject()->GetAlbum(0));
  ASSERT_NE(album, nullptr);
  const Grey drawn = DrawnFrame(*album, SIZE{width, height}, fps);
  album->GetImage(0)->RemoveAllImageSprite(TRUE);
  const Grey bare = DrawnFrame(*album, SIZE{width, height}, fps);
  GetProject()->NewProject();
  const std::vector<Grey> frames = VideoFrames(videos[0], edited.slideEnd);
  ASSERT_FALSE(frames.empty());
  const double withObjects = Closest(frames, drawn, "photo-editor-e2e-frame.pgm"),
               without = Closest(frames, bare, "photo-editor-e2e-frame-bare.pgm");
  EXPECT_LT(withObjects, 3.0);  // grey levels of 255, on average
  EXPECT_GT(without, withObjects + 2.0);
  RecordProperty("closest_with_objects", std::to_string(withObjects));
  RecordProperty("closest_without_objects", std::to_string(without));
}
