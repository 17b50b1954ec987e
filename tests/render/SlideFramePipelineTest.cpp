// The slide frame pipeline hands finished frames over by exchanging pictures with the effects
// that made them, so an effect's next frame lands in whatever picture it was given back: the
// frames must not depend on how many workers made them, or on which picture each one got.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "modules/effects/Transition.h"
#include "render/SlideFramePipeline.h"
#include "tests/render/RenderFixtures.h"

namespace {

using pictavo::render::SlideFrameJob;
using pictavo::render::SlideFramePipeline;
using pictavo::render::SlidePlan;

constexpr int kTransitionFrames = 5;
constexpr int kFrames = 12;  // each slide's transition and its time alone

// A photo with detail everywhere, so a pixel left over from another frame shows.
std::string TexturedPhoto(const std::string& path, int w, int h, int seed) {
  CxImage photo;
  photo.Create(static_cast<DWORD>(w), static_cast<DWORD>(h), 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      photo.SetPixelColor(x, y,
                          RGBQUAD{static_cast<BYTE>(x * 5 + seed * 60), static_cast<BYTE>(y * 7 + x * 3),
                                  static_cast<BYTE>((x * y + seed * 40) & 0xFF), 0});
  EXPECT_TRUE(photo.Save(path.c_str(), CXIMAGE_FORMAT_JPG)) << path;
  return path;
}

std::vector<std::vector<BYTE>> FramesOf(const SlideFrameJob& job, int workers) {
  std::vector<std::vector<BYTE>> frames;
  SlideFramePipeline pipeline(job);
  const auto outcome = pipeline.Run(
      [&](CxImage& frame, int index) {
        EXPECT_EQ(index, static_cast<int>(frames.size()));
        const BYTE* bits = frame.GetBits(0);
        frames.emplace_back(bits, bits + static_cast<size_t>(frame.GetEffWidth()) * frame.GetHeight());
        return true;
      },
      workers);
  EXPECT_EQ(outcome, SlideFramePipeline::Outcome::kCompleted);
  return frames;
}

TEST(SlideFramePipeline, FramesAreTheSameWhateverTheNumberOfWorkers) {
  rendertest::ScratchDir dir;
  GetProject()->NewProject();
  CDVDAlbumImage* album = rendertest::AddPhotoAlbum(*GetProject(), "Workers");
  for (int i = 0; i < 4; ++i) {
    const int w = i == 2 ? 90 : 160;  // one upright photo, fitted with margins
    rendertest::AddSlide(*album, TexturedPhoto(dir / ("p" + std::to_string(i) + ".jpg"), w, 120, i), 1, 1,
                         "");
  }
  std::vector<TransitionEntryFactory> factories(
      static_cast<size_t>(Mossen_GetTransitionLibInfo(nullptr, nullptr)));
  Mossen_GetTransitionLibInfo(nullptr, factories.data());
  // A cut, then the fade, the dissolve and the zoom in of the built-in set; pan and zoom with
  // and without a turn.
  const TransitionEntryFactory transitions[] = {nullptr, factories[1], factories[2], factories[44]};
  const int motions[] = {1, 17, 3, 0};

  SlideFrameJob job;
  job.album = album;
  job.renderSize = SIZE{96, 64};
  job.frameSize = SIZE{96, 64};
  job.background = RGB(5, 6, 7);
  CPanZoomEx::GetPanZoomType_PresetValue(0, job.before);
  for (int i = 0; i < 4; ++i) {
    SlidePlan plan;
    plan.transitionFrames = kTransitionFrames;
    plan.frames = kFrames;
    plan.factory = transitions[i];
    CPanZoomEx::GetPanZoomType_PresetValue(motions[i], plan.motion);
    plan.motion.nWidth = job.frameSize.cx;
    plan.motion.nHeight = job.frameSize.cy;
    plan.motion.nFrames = kFrames + kTransitionFrames;
    plan.motion.clrBackground = job.background;
    plan.outgoingOffset = i == 0 ? 0 : kFrames;
    job.slides.push_back(plan);
  }
  job.before.nWidth = job.frameSize.cx;
  job.before.nHeight = job.frameSize.cy;
  job.before.nFrames = kFrames + kTransitionFrames;
  job.before.clrBackground = job.background;

  const std::vector<std::vector<BYTE>> alone = FramesOf(job, 1);
  ASSERT_EQ(alone.size(), 4u * kFrames);
  for (const int workers : {2, 3, 5}) {
    const std::vector<std::vector<BYTE>> shared = FramesOf(job, workers);
    ASSERT_EQ(shared.size(), alone.size()) << workers;
    for (size_t k = 0; k < alone.size(); ++k)
      EXPECT_EQ(shared[k], alone[k]) << workers << " workers, frame " << k;
  }
  // The frames move: consecutive frames of a slide differ.
  EXPECT_NE(alone[kFrames + 8], alone[kFrames + 9]);
  GetProject()->NewProject();
}

}  // namespace
