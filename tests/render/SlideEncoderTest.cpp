// The slide frame encoder: how many frames each part of an album gets, what they show, the
// frame size, photos that cannot be read, cancelling, and the still-frame mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/data/AlbumEffect.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ProjectOptions.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/Wait.h"
#include "render/SlideEncoder.h"
#include "tests/render/RenderFixtures.h"

using rendertest::AddPhotoAlbum;
using rendertest::AddSlide;
using rendertest::MakePhoto;
using rendertest::MessageWindow;
using rendertest::Near;
using rendertest::ScratchDir;
using rendertest::YuvOf;

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
const COLORREF kColours[] = {RGB(220, 30, 30), RGB(30, 200, 40), RGB(40, 60, 220), RGB(240, 240, 240)};

class SlideEncoderTest : public ::testing::Test {
 protected:
  SlideEncoderTest()
      : m_cancel(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
        m_done(CreateEvent(nullptr, TRUE, FALSE, nullptr)) {
    rendertest::LoadTransitions();
    CDVDProject::g_m_strAppTempPathBase = (m_dir / "base").c_str();
    GetProject()->NewProject();
    m_fps = GetProject()->Get_nFramesPerSecond();
  }
  ~SlideEncoderTest() override {
    GetProject()->NewProject();
    CloseHandle(m_cancel);
    CloseHandle(m_done);
  }

  // A photo of the frame size in one colour.
  std::string Photo(int colour) {
    return MakePhoto(m_dir / ("c" + std::to_string(colour) + ".jpg"), kWidth, kHeight, kColours[colour],
                     kColours[colour]);
  }

  // Runs the encoder on `album` into a file and reads the frames back, sampled near a corner.
  rendertest::YuvStream Encode(CDVDAlbumImage* album, int mode = DVD_OUTPUT_PROFILE_GROUP,
                               HWND progress = nullptr, int outputWidth = kWidth) {
    const std::string path = m_dir / "frames.y4m";
    HANDLE output = CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(output, INVALID_HANDLE_VALUE);
    ResetEvent(m_done);
    CSlideEncoder encoder(1);
    encoder.SetOutputSize(outputWidth, kHeight, 1, 0);
    encoder.SetRenderSize(outputWidth, kHeight);
    const _tagSlideEncodeParam param{album, progress, m_cancel, m_done, output, 0, mode, FALSE};
    EXPECT_TRUE(encoder.Start(param));
    // Progress messages stay queued for the test to read.
    EXPECT_EQ(WaitForSingleObject(m_done, rendertest::kGuardMs), WAIT_OBJECT_0);
    m_result = encoder.GetResult();
    m_written = encoder.GetFramesWritten();
    return rendertest::ReadYuvStream(path, 4, 4);
  }

  // The runs of frames by the colour they show: (colour index, or -1 for anything else, count).
  static std::vector<std::pair<int, int>> Runs(const rendertest::YuvStream& stream) {
    std::vector<std::pair<int, int>> runs;
    for (const auto& sample : stream.samples) {
      int which = -1;
      for (int c = 0; c < 4; ++c)
        if (Near(sample, YuvOf(kColours[c]))) which = c;
      if (!runs.empty() && runs.back().first == which)
        ++runs.back().second;
      else
        runs.emplace_back(which, 1);
    }
    return runs;
  }

  ScratchDir m_dir;
  HANDLE m_cancel;
  HANDLE m_done;
  int m_fps = 25;
  DWORD m_result = 0;
  DWORD m_written = 0;
};

}  // namespace

TEST(SlideEncoderGeometry, FramesNeverGetWiderThanTheOutput) {
  struct Case {
    int mode, width, height, crop, ratio;
    LONG frameWidth, frameHeight;
  };
  const Case kCases[] = {
      {DVD_OUTPUT_PROFILE_GROUP, 720, 480, 0, 0, 720, 480},
      {DVD_OUTPUT_PROFILE_GROUP, 718, 480, 0, 0, 716, 480},
      {DVD_OUTPUT_PROFILE_GROUP, 721, 480, 1, 10, 720, 480},
      {DVD_OUTPUT_SVCD, 480, 576, 1, 10, 432, 518},
      {DVD_OUTPUT_DVD, 720, 576, 0, 10, 720, 576},
      {DVD_OUTPUT_DVD, 720, 576, 1, 5, 684, 547},
  };
  for (const auto& c : kCases) {
    _PROJECT_OPTIONS_DATA options{};
    options.bCropEnable = c.crop;
    options.nCropRatio = c.ratio;
    const SIZE frame = CSlideEncoder::CalcFrameSize(c.mode, c.width, c.height, options);
    EXPECT_EQ(frame.cx, c.frameWidth) << c.mode << " " << c.width << "x" << c.height;
    EXPECT_EQ(frame.cy, c.frameHeight) << c.mode << " " << c.width << "x" << c.height;
  }
}

TEST_F(SlideEncoderTest, EverySlideGetsItsTransitionAndDisplaySecondsOfFrames) {
  struct Slide {
    int one, two;  // -1: the album's (2 and 4)
  };
  struct Case {
    std::vector<Slide> slides;
    int title, credits;  // seconds
  };
  const Case kCases[] = {
      {{{2, 3}}, 0, 0},
      {{{1, 2}, {0, 3}, {2, 0}}, 0, 0},
      {{{-1, -1}, {1, -1}}, 0, 0},
      {{{1, 1}, {1, 2}}, 2, 1},
  };
  for (const auto& c : kCases) {
    GetProject()->NewProject();
    CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Frames");
    for (size_t i = 0; i < c.slides.size(); ++i)
      AddSlide(*album, Photo(static_cast<int>(i)), c.slides[i].one, c.slides[i].two, "None[TransitionLib]");
    _ALBUM_TEXT_SETTINGS* title = album->GetAlbumEffect()->GetTitleSettings();
    title->bEnabled = c.title > 0;
    title->nDuration = c.title;
    title->clrBackground = RGB(0, 0, 0);
    _ALBUM_TEXT_SETTINGS* credits = album->GetAlbumEffect()->GetCreditSettings();
    credits->bEnabled = c.credits > 0;
    credits->nDuration = c.credits;
    credits->clrBackground = RGB(0, 0, 0);

    const auto stream = Encode(album);
    const size_t seconds = static_cast<size_t>(album->GetTotalLength());
    EXPECT_EQ(stream.frames, seconds * m_fps) << "slides " << c.slides.size();
    EXPECT_EQ(m_result, static_cast<DWORD>(NO_ERROR));
    // A cut shows each slide from its first frame: one run of its colour per slide.
    std::vector<std::pair<int, int>> want;
    if (c.title > 0) want.emplace_back(-1, c.title * m_fps);
    for (size_t i = 0; i < c.slides.size(); ++i)
      want.emplace_back(static_cast<int>(i), (album->Get_nOneDuration(static_cast<int>(i)) +
                                              album->Get_nTwoDuration(static_cast<int>(i))) *
                                                 m_fps);
    if (c.credits > 0) want.emplace_back(-1, c.credits * m_fps);
    EXPECT_EQ(Runs(stream), want) << "slides " << c.slides.size();
  }
}

TEST_F(SlideEncoderTest, ATransitionRunsOverItsSecondsThenTheSlideShowsAlone) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Fades");
  AddSlide(*album, Photo(0), 1, 2, "Fade[TransitionLib]");
  AddSlide(*album, Photo(2), 2, 1, "Fade[TransitionLib]");
  const auto stream = Encode(album);
  ASSERT_EQ(stream.frames, static_cast<size_t>(6 * m_fps));
  // Frames that differ from the one before, as ranges: a fade changes every frame after its
  // first (which shows the outgoing picture); a still slide changes none.
  std::vector<std::pair<int, int>> changes;
  for (size_t k = 1; k < stream.samples.size(); ++k) {
    if (stream.samples[k] == stream.samples[k - 1]) continue;
    const int frame = static_cast<int>(k);
    if (!changes.empty() && changes.back().second == frame - 1)
      changes.back().second = frame;
    else
      changes.emplace_back(frame, frame);
  }
  const int secondFade = 3 * m_fps;  // after the first fade (1 s) and the first slide alone (2 s)
  const std::vector<std::pair<int, int>> want = {{1, m_fps - 1},
                                                 {secondFade + 1, secondFade + 2 * m_fps - 1}};
  EXPECT_EQ(changes, want);
  EXPECT_TRUE(Near(stream.samples[0], YuvOf(RGB(0, 0, 0)))) << "the first fade starts from the background";
  EXPECT_TRUE(Near(stream.samples[static_cast<size_t>(m_fps)], YuvOf(kColours[0])));
  EXPECT_TRUE(Near(stream.samples.back(), YuvOf(kColours[2])));
}

TEST_F(SlideEncoderTest, APhotoThatCannotBeReadShowsAPlaceholderForItsWholeTime) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Missing");
  AddSlide(*album, Photo(1), 0, 2, "None[TransitionLib]");
  AddSlide(*album, m_dir / "gone.jpg", 0, 2, "None[TransitionLib]");
  AddSlide(*album, Photo(3), 0, 1, "None[TransitionLib]");
  const auto stream = Encode(album);
  ASSERT_EQ(stream.frames, static_cast<size_t>(5 * m_fps));
  const std::vector<std::pair<int, int>> want = {{1, 2 * m_fps}, {-1, 2 * m_fps}, {3, 1 * m_fps}};
  EXPECT_EQ(Runs(stream), want);
  // The placeholder is dark, not the previous slide and not the black background.
  const auto& sample = stream.samples[static_cast<size_t>(2 * m_fps + 1)];
  EXPECT_TRUE(Near(sample, YuvOf(RGB(36, 36, 40)), 6)) << sample[0] << "," << sample[1] << "," << sample[2];
}

TEST_F(SlideEncoderTest, AnAlbumWithoutPhotosShowsFifteenSecondsOfItsPicture) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Empty");
  const auto stream = Encode(album);
  EXPECT_EQ(stream.frames, static_cast<size_t>(15 * m_fps));
  EXPECT_EQ(m_result, static_cast<DWORD>(NO_ERROR));
}

TEST_F(SlideEncoderTest, WithoutAnyTransitionSlidesCut) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "No transitions");
  AddSlide(*album, Photo(0), 1, 1, "Fade[TransitionLib]");
  AddSlide(*album, Photo(1), 1, 1, "");
  UnloadTransitions();
  const auto runs = Runs(Encode(album));
  rendertest::LoadTransitions();
  const std::vector<std::pair<int, int>> want = {{0, 2 * m_fps}, {1, 2 * m_fps}};
  EXPECT_EQ(runs, want);
}

TEST_F(SlideEncoderTest, OutputWidthsThatAreNoMultipleOfFourKeepTheFrameInside) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Narrow");
  AddSlide(*album, Photo(2), 0, 1, "None[TransitionLib]");
  const auto stream = Encode(album, DVD_OUTPUT_PROFILE_GROUP, nullptr, 66);
  EXPECT_EQ(stream.width, 66);
  EXPECT_EQ(stream.frames, static_cast<size_t>(m_fps));
}

TEST_F(SlideEncoderTest, ProgressCountsTheSlidesFramesAndEndsWithTheirTotal) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Progress");
  AddSlide(*album, Photo(0), 1, 1, "Fade[TransitionLib]");
  AddSlide(*album, Photo(1), 1, 2, "Fade[TransitionLib]");
  MessageWindow window;
  Encode(album, DVD_OUTPUT_PROFILE_GROUP, window.Handle());
  const WPARAM total = static_cast<WPARAM>(5 * m_fps);
  WPARAM last = 0, highest = 0;
  int count = 0;
  MSG msg;
  while (PeekMessage(&msg, window.Handle(), WM_SLIDE_ENCODE_PROGRESS, WM_SLIDE_ENCODE_PROGRESS, PM_REMOVE)) {
    EXPECT_EQ(msg.lParam, static_cast<LPARAM>(total));
    EXPECT_LE(msg.wParam, total);
    EXPECT_GE(msg.wParam, highest);
    highest = std::max(highest, msg.wParam);
    last = msg.wParam;
    ++count;
  }
  EXPECT_EQ(last, total);
  EXPECT_GE(count, static_cast<int>(total));
}

TEST_F(SlideEncoderTest, CancelStopsWithinAFrameAndClosesTheOutput) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Cancelled");
  for (int i = 0; i < 4; ++i) AddSlide(*album, Photo(i), 2, 10, "Fade[TransitionLib]");
  MessageWindow window;
  const std::string path = m_dir / "cancelled.y4m";
  HANDLE output = CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  CSlideEncoder encoder(1);
  encoder.SetOutputSize(kWidth, kHeight, 0, 0);
  encoder.SetRenderSize(kWidth, kHeight);
  const _tagSlideEncodeParam param{album, window.Handle(),          m_cancel, m_done, output,
                                   0,     DVD_OUTPUT_PROFILE_GROUP, TRUE};
  ASSERT_TRUE(encoder.Start(param));
  MSG msg;
  ASSERT_TRUE(window.WaitFor(WM_SLIDE_ENCODE_PROGRESS, msg, rendertest::kGuardMs));
  SetEvent(m_cancel);
  ASSERT_EQ(WaitForSingleObject(m_done, rendertest::kGuardMs), WAIT_OBJECT_0);
  EXPECT_EQ(encoder.GetResult(), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
  const WPARAM total = static_cast<WPARAM>(album->Get_nSlideshowLen(-1)) * m_fps;
  int frames = 0;
  encoder.GetProgress(&frames, nullptr);
  EXPECT_LT(frames, static_cast<int>(total));
  while (PeekMessage(&msg, window.Handle(), WM_SLIDE_ENCODE_PROGRESS, WM_SLIDE_ENCODE_PROGRESS, PM_REMOVE))
    EXPECT_LT(msg.wParam, total) << "no final progress after a cancel";
  // The run closed its output: the file can be replaced.
  EXPECT_EQ(rendertest::ReadYuvStream(path, 0, 0).frames, encoder.GetFramesWritten());
}

TEST_F(SlideEncoderTest, TheStillModeWritesOneFramePerSlide) {
  CDVDAlbumImage* album = AddPhotoAlbum(*GetProject(), "Stills");
  for (int i = 0; i < 3; ++i) AddSlide(*album, Photo(i), 1, 3, "Fade[TransitionLib]");
  const auto stream = Encode(album, DVD_OUTPUT_VCD);
  EXPECT_EQ(stream.frames, 3u);
  const std::vector<std::pair<int, int>> want = {{0, 1}, {1, 1}, {2, 1}};
  EXPECT_EQ(Runs(stream), want);
}
