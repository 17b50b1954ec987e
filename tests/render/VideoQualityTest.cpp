// What a viewer sees of the video's quality: the detail pan and zoom keeps of camera-sized photos,
// the colours a player shows from the file's tags, and the bit rate held in every second.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "modules/data/DVDImage.h"
#include "modules/data/OutputProfile.h"
#include "modules/effects/PanZoom.h"
#include "render/EncodeVideoDlg.h"
#include "render/SlideFramePipeline.h"
#include "render/SlidePictures.h"
#include "tests/render/VideoOutputFixture.h"

using rendertest::AddPhotoAlbum;
using rendertest::AddSlide;
using rendertest::Capture;
using rendertest::Probe;
using rendertest::ScratchDir;

namespace {

// Fine texture over the whole photo, like feathers or a starry sky: grey cells of 3 pixels with
// noise on every pixel, tinted. Uniform everywhere, so any part of it has the same detail.
std::string MakeDetailedPhoto(const std::string& path, int w, int h) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  CxImage photo;
  photo.Create(static_cast<DWORD>(w), static_cast<DWORD>(h), 24);
  const auto hash = [](uint32_t x, uint32_t y) {
    uint32_t v = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    v ^= v >> 15;
    v *= 0x2C1B3C6Du;
    v ^= v >> 12;
    return v;
  };
  for (int y = 0; y < h; ++y) {
    BYTE* row = photo.GetBits(static_cast<DWORD>(y));
    for (int x = 0; x < w; ++x) {
      const int cell =
          static_cast<int>(hash(static_cast<uint32_t>(x / 3), static_cast<uint32_t>(y / 3)) % 160);
      const int grain = static_cast<int>(hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) % 60);
      const int v = 40 + cell + grain / 2;
      row[3 * x + 0] = static_cast<BYTE>(std::min(255, v + 10));
      row[3 * x + 1] = static_cast<BYTE>(v);
      row[3 * x + 2] = static_cast<BYTE>(std::max(0, v - 10));
    }
  }
  photo.SetJpegQuality(95);
  EXPECT_TRUE(photo.Save(path.c_str(), CXIMAGE_FORMAT_JPG)) << path;
  return path;
}

// Mean absolute Laplacian of 8-bit luma rows, `w` x `h`.
double MeanAbsLaplacian(const std::vector<int>& luma, int w, int h) {
  double sum = 0;
  for (int y = 1; y + 1 < h; ++y)
    for (int x = 1; x + 1 < w; ++x) {
      const int at = y * w + x;
      sum += std::abs(4 * luma[at] - luma[at - 1] - luma[at + 1] - luma[at - w] - luma[at + w]);
    }
  return sum / ((w - 2.0) * (h - 2.0));
}

// The camera-sized photos, made once for the test program when a test first asks for them (each
// ctest process runs one test, so the others never pay for them).
struct DetailPhotos {
  ScratchDir dir;
  std::string landscape = MakeDetailedPhoto(dir / "landscape.jpg", 6000, 4000);
  std::string portrait = MakeDetailedPhoto(dir / "portrait.jpg", 4000, 6000);
};
const DetailPhotos& Photos() {
  static const DetailPhotos photos;
  return photos;
}

TEST(PanZoomDetail, AMovingPictureIsLoadedWithThePixelsItsClosestZoomNeeds) {
  struct Case {
    double startZoom, endZoom, endPanX;
    SIZE render;
    SIZE want;
  };
  const Case kCases[] = {
      {100, 100, 0, {1280, 720}, {1280, 720}},    // still: the render size
      {100, 100, 14, {1280, 720}, {1920, 1080}},  // a pan: 1.5 times
      {100, 130, 14, {1280, 720}, {2496, 1404}},  // 1.5 x 1.3
      {115, 135, 0, {1920, 1080}, {3888, 2187}},  // 1.5 x 1.35
      {100, 300, 0, {1280, 720}, {2560, 1440}},   // no more than 2 at zoom 100
      {300, 400, 0, {1920, 1080}, {4096, 2304}},  // the long side at most 4096
      {50, 100, 0, {720, 576}, {1080, 864}},      // zoomed out: 1.5 at the fitted size
  };
  for (const Case& c : kCases) {
    _tagPanZoomWorkParamEx motion;
    motion.fStartZoom = c.startZoom;
    motion.fEndZoom = c.endZoom;
    motion.fEndPanX = c.endPanX;
    const SIZE got = pictavo::render::PanZoomPictureSize(c.render, motion);
    EXPECT_EQ(got.cx, c.want.cx) << c.startZoom << "-" << c.endZoom;
    EXPECT_EQ(got.cy, c.want.cy) << c.startZoom << "-" << c.endZoom;
  }
}

TEST(PanZoomDetail, AZoomedFrameKeepsTheDetailOfTheSameCropTakenFromThePhoto) {
  struct Case {
    const char* photo;     // "landscape" or "portrait"
    int rotate;            // the slide's turn
    int width, height;     // the frame
    int sourceW, sourceH;  // the photo as the slide shows it
  };
  const Case kCases[] = {
      {"landscape", 0, 1280, 720, 6000, 4000},  {"landscape", 0, 1920, 1080, 6000, 4000},
      {"portrait", 0, 1280, 720, 4000, 6000},   {"portrait", 0, 1920, 1080, 4000, 6000},
      {"landscape", 90, 1280, 720, 4000, 6000},
  };
  constexpr int kFrames = 25;
  constexpr int kShown = 17;  // between the motion's steps of whole pixels
  rendertest::ScratchDir dir;
  CDVDProject::g_m_strAppTempPathBase = (dir / "base").c_str();
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.photo) + " turned " + std::to_string(c.rotate) + " at " +
                 std::to_string(c.height) + "p");
    GetProject()->NewProject();
    CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Detail");
    const std::string photo = std::string(c.photo) == "portrait" ? Photos().portrait : Photos().landscape;
    AddSlide(*album, photo, 1, 0, "None[TransitionLib]")->Put_nRotateAngle(c.rotate);

    // "Zoom In to Top Left": 100% to 130%, 14% of the frame right and down.
    pictavo::render::SlideFrameJob job;
    job.album = album;
    job.renderSize = SIZE{c.width, c.height};
    job.frameSize = job.renderSize;
    pictavo::render::SlidePlan plan;
    plan.frames = kFrames;
    ASSERT_TRUE(CPanZoomEx::GetPanZoomType_PresetValue(7, plan.motion));
    plan.motion.nWidth = c.width;
    plan.motion.nHeight = c.height;
    plan.motion.nFrames = kFrames;
    job.slides.push_back(plan);
    job.before.nWidth = c.width;
    job.before.nHeight = c.height;
    std::vector<int> luma;
    const int box = c.height * 4 / 9;  // the middle of the frame, inside the picture all along
    const int bx = (c.width - box) / 2, by = (c.height - box) / 2;
    pictavo::render::SlideFramePipeline pipeline(job);
    pipeline.Run(
        [&](CxImage& frame, int index) {
          if (index != kShown) return true;
          for (int y = 0; y < box; ++y) {
            const BYTE* row = frame.GetBits(static_cast<DWORD>(c.height - 1 - (by + y))) + 3 * bx;
            for (int x = 0; x < box; ++x)
              luma.push_back((299 * row[3 * x + 2] + 587 * row[3 * x + 1] + 114 * row[3 * x] + 500) / 1000);
          }
          return true;
        },
        2);
    ASSERT_EQ(luma.size(), static_cast<size_t>(box) * box);

    // The same part of the photo straight from the file, by Lanczos: the view's centre and
    // photo pixels per frame pixel move in equal steps from start to end.
    const double t = static_cast<double>(kShown) / (kFrames - 1);
    const double fit =
        std::min(static_cast<double>(c.width) / c.sourceW, static_cast<double>(c.height) / c.sourceH);
    const double k0 = 100 / (fit * plan.motion.fStartZoom), k1 = 100 / (fit * plan.motion.fEndZoom);
    const double k = (1 - t) * k0 + t * k1;
    const double cx = c.sourceW / 2.0 - t * plan.motion.fEndPanX / 100 * c.width * k1;
    const double cy = c.sourceH / 2.0 - t * plan.motion.fEndPanY / 100 * c.height * k1;
    const int side = static_cast<int>(std::lround(box * k));
    std::ostringstream filter;
    if (c.rotate == 90) filter << "transpose=clock,";
    filter << "crop=" << side << ":" << side << ":" << std::lround(cx + (bx - c.width / 2.0) * k) << ":"
           << std::lround(cy + (by - c.height / 2.0) * k) << ",scale=" << box << ":" << box
           << ":flags=lanczos";
    const std::string reference = Capture({"ffmpeg", "-nostdin", "-v", "error", "-i", photo, "-vf",
                                           filter.str(), "-f", "rawvideo", "-pix_fmt", "gray", "-"});
    ASSERT_EQ(reference.size(), static_cast<size_t>(box) * box);
    std::vector<int> referenceLuma(reference.begin(), reference.end());
    for (int& v : referenceLuma) v &= 0xFF;

    const double kept = MeanAbsLaplacian(luma, box, box) / MeanAbsLaplacian(referenceLuma, box, box);
    EXPECT_GE(kept, 0.90);
    RecordProperty(
        std::string("detail_") + c.photo + std::to_string(c.rotate) + "_" + std::to_string(c.height),
        std::to_string(kept));
  }
  GetProject()->NewProject();
}

// An album written through a profile group at a given frame size, as the worker writes it.
class VideoQualityTest : public rendertest::VideoOutputTest {
 protected:
  CAVOutputProfile* UseGroupAt(const char* group, const char* size) {
    CAVOutputProfile* profile = UseGroup(group);
    if (profile != nullptr) profile->GetOption(AVOPT_VIDEO_SIZE)->strValue = size;
    return profile;
  }
  // Writes the project's albums and gives the first album's file ("" when it failed).
  std::string Write() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir / "out", ignored);
    CEncodeVideoDlg dlg;
    const Run run = Encode(dlg);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.result, 1u) << static_cast<LPCTSTR>(dlg.GetLastFailure());
    const auto files = OutputFiles();
    return files.empty() ? std::string() : files.front();
  }
};

TEST_F(VideoQualityTest, EveryGroupTagsItsVideoWithTheColoursItWasMadeWith) {
  struct Case {
    const char* group;
    const char* size;
    const char* tags;  // range, matrix, transfer, primaries, as ffprobe names them
    bool carried;      // the group's format has a place for them
  };
  const Case kCases[] = {
      {"MP4", "1280x720", "tv\nbt709\nbt709\nbt709", true},
      {"MP4", "640x360", "tv\nsmpte170m\nsmpte170m\nsmpte170m", true},
      {"MOV", "1280x720", "tv\nbt709\nbt709\nbt709", true},
      {"MPEG2", "720x576", "tv\nbt470bg\nsmpte170m\nbt470bg", true},
      {"WebM", "1280x720", "tv\nbt709\nbt709\nbt709", true},
      {"MP4_MPEG4", "640x480", "tv\nsmpte170m\nsmpte170m\nsmpte170m", true},
      // MPEG-4 Part 2 in AVI, WMV 8, Sorenson H.263 and H.263 in 3GP have no field for them:
      // the command still says what the samples are.
      {"AVI", "1280x720", "", false},
      {"WMV", "1280x720", "", false},
      {"FLV", "640x480", "", false},
      {"3GP", "352x288", "", false},
  };
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Tags");
  AddSlide(*album, Photo("tags.jpg", 640, 360, RGB(22, 208, 23)), 1, 0, "None[TransitionLib]");
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.group) + " " + c.size);
    CAVOutputProfile* profile = UseGroupAt(c.group, c.size);
    ASSERT_NE(profile, nullptr);
    const auto argv = CEncodeVideoDlg::BuildFfmpegCommand(*profile, "Tags", TRUE, "/out/tags");
    for (const char* option : {"-colorspace", "-color_primaries", "-color_trc", "-color_range"})
      EXPECT_NE(std::find(argv.begin(), argv.end(), option), argv.end()) << option;
    // The profile's rate (600 kbit/s here) as a ceiling too, with one second of buffer.
    const std::vector<std::string> ceiling = {"-maxrate", "600k", "-bufsize", "600k"};
    EXPECT_NE(std::search(argv.begin(), argv.end(), ceiling.begin(), ceiling.end()), argv.end());
    const std::string file = Write();
    ASSERT_FALSE(file.empty());
    if (c.carried)
      EXPECT_EQ(Probe(file, "stream=color_range,color_space,color_transfer,color_primaries", "v:0"), c.tags);
  }
}

TEST_F(VideoQualityTest, KnownColoursDecodeWithTheFilesTagsAsTheyWere) {
  const COLORREF kPatches[] = {RGB(22, 208, 23),  RGB(200, 30, 40),   RGB(30, 60, 210),
                               RGB(235, 220, 40), RGB(128, 128, 128), RGB(240, 240, 240)};
  constexpr int kCount = static_cast<int>(std::size(kPatches));
  for (const char* size : {"1280x720", "640x360"}) {
    SCOPED_TRACE(size);
    GetProject()->NewProject();
    const int w = std::atoi(size), h = std::atoi(std::strchr(size, 'x') + 1);
    CxImage patches;
    patches.Create(static_cast<DWORD>(w), static_cast<DWORD>(h), 24);
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < h; ++y) patches.SetPixelColor(x, y, kPatches[x * kCount / w]);
    const std::string photo = m_dir / (std::string("patches") + size + ".png");
    ASSERT_TRUE(patches.Save(photo.c_str(), CXIMAGE_FORMAT_PNG));
    AddSlide(*AddPhotoAlbum(*GetProject(), "Patches"), photo, 1, 1, "None[TransitionLib]");
    UseGroupAt("MP4", size)->GetOption(AVOPT_VIDEO_BITRATE)->strValue = "4000";
    const std::string file = Write();
    ASSERT_FALSE(file.empty());
    // The second second shows the picture alone. ffmpeg turns the samples into RGB by the matrix
    // and range the file's tags name.
    const std::string rgb =
        Capture({"ffmpeg", "-nostdin", "-v", "error", "-i", file, "-vf", "select=eq(n\\,37)", "-frames:v",
                 "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    ASSERT_EQ(rgb.size(), static_cast<size_t>(w) * h * 3);
    for (int p = 0; p < kCount; ++p) {
      const size_t at = (static_cast<size_t>(h / 2) * w + (2 * p + 1) * w / (2 * kCount)) * 3;
      const int shown[3] = {static_cast<uint8_t>(rgb[at]), static_cast<uint8_t>(rgb[at + 1]),
                            static_cast<uint8_t>(rgb[at + 2])};
      const int source[3] = {GetRValue(kPatches[p]), GetGValue(kPatches[p]), GetBValue(kPatches[p])};
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(shown[i], source[i], 3) << "patch " << p << " channel " << i;
    }
  }
}

TEST_F(VideoQualityTest, DissolvesNeverTakeMoreThanTwiceTheRateInAnySecond) {
  constexpr int kRateKbit = 600;  // the group's profile, as UseGroup sets it
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Dissolves");
  for (int i = 0; i < 6; ++i)
    AddSlide(*album, MakeDetailedPhoto(m_dir / ("photos/d" + std::to_string(i) + ".jpg"), 640 + 16 * i, 360),
             1, 1, "Dissolve[TransitionLib]");
  UseGroupAt("MP4", "640x360");
  const std::string file = Write();
  ASSERT_FALSE(file.empty());
  std::istringstream packets(Capture({"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                                      "packet=pts_time,size", "-of", "csv=p=0", file}));
  std::vector<std::pair<double, long>> sizes;  // (time, bytes) in presentation order
  std::string line;
  while (std::getline(packets, line)) {
    const size_t comma = line.find(',');
    if (comma != std::string::npos) sizes.emplace_back(std::stod(line), std::stol(line.substr(comma + 1)));
  }
  std::sort(sizes.begin(), sizes.end());
  ASSERT_GT(sizes.size(), 250u);
  // Every window of one second, starting at every frame.
  long most = 0;
  for (size_t first = 0, last = 0, bytes = 0; first < sizes.size(); bytes -= sizes[first++].second) {
    while (last < sizes.size() && sizes[last].first < sizes[first].first + 1 - 1e-6)
      bytes += sizes[last++].second;
    most = std::max(most, static_cast<long>(bytes));
  }
  EXPECT_LE(most * 8, 2L * kRateKbit * 1000) << "the busiest second took " << most * 8 / 1000 << " kbit";
}

}  // namespace
