// The slideshow preview's arithmetic and its slide stage without threads: frame sizes, fitting,
// where the music starts, the ticks of every phase and slide, frames dropped when rendering is
// slow (with the slides' end kept), and a preview frame against the video's frame at that time.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/effects/PanZoom.h"
#include "platform/kernel/Event.h"
#include "render/PreviewLayout.h"
#include "render/PreviewSlideRun.h"
#include "render/SlideFramePipeline.h"
#include "render/SlidePictures.h"
#include "render/SlidePlanner.h"
#include "render/SlidePrefetcher.h"
#include "shell/TransitionList.h"
#include "tests/render/RenderFixtures.h"

using pictavo::render::PreviewSlideRun;
using rendertest::AddPhotoAlbum;
using rendertest::AddSlide;
using rendertest::MakePhoto;
using rendertest::ScratchDir;

namespace {

TEST(PreviewLayout, FrameSizeFitsWithinTheLargestFrame) {
  struct Case {
    int w, h;
    LONG cx, cy;
  };
  const Case kCases[] = {{1280, 720, 1024, 576}, {800, 1000, 614, 768}, {700, 500, 700, 500}, {0, 40, 0, 40}};
  for (const auto& c : kCases) {
    const SIZE s = pictavo::render::PreviewFrameSize(c.w, c.h);
    EXPECT_EQ(s.cx, c.cx) << c.w << "x" << c.h;
    EXPECT_EQ(s.cy, c.cy) << c.w << "x" << c.h;
  }
  EXPECT_EQ(pictavo::render::RoundPreviewWidth(701), 704);
  EXPECT_EQ(pictavo::render::RoundPreviewWidth(700), 700);
}

TEST(PreviewLayout, AlbumSheetFitsThePreviewAndItsButtons) {
  struct Case {
    RECT area;
    bool wide;
    RECT preview;
    int buttonsLeft;
  };
  const Case kCases[] = {
      {{0, 0, 600, 500}, false, {64, 73, 536, 427}, 576},
      {{0, 0, 600, 500}, true, {68, 119, 532, 380}, 572},
      {{0, 0, 200, 150}, false, {20, -21, 276, 171}, 316},
      {{0, 0, 1200, 800}, false, {344, 208, 856, 592}, 896},
  };
  for (const auto& c : kCases) {
    const auto p = pictavo::render::FitAlbumSheetPreview(c.area, c.wide);
    EXPECT_EQ(p.preview.left, c.preview.left) << c.area.right << " " << c.wide;
    EXPECT_EQ(p.preview.top, c.preview.top) << c.area.right << " " << c.wide;
    EXPECT_EQ(p.preview.right, c.preview.right) << c.area.right << " " << c.wide;
    EXPECT_EQ(p.preview.bottom, c.preview.bottom) << c.area.right << " " << c.wide;
    EXPECT_EQ(p.buttonsLeft, c.buttonsLeft) << c.area.right << " " << c.wide;
  }
  const RECT wide = pictavo::render::FitPhotoPagePreview(1000, 700, true);
  EXPECT_EQ(wide.right - wide.left, 592);
  EXPECT_EQ(wide.bottom - wide.top, 333);
}

class PreviewSlidesTest : public ::testing::Test {
 protected:
  PreviewSlidesTest()
      : m_stop(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
        m_prefetchDone(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
        m_renderDone(CreateEvent(nullptr, TRUE, FALSE, nullptr)) {
    rendertest::LoadTransitions();
    CDVDProject::g_m_strAppTempPathBase = (m_dir / "base").c_str();
    GetProject()->NewProject();
    m_album = AddPhotoAlbum(*GetProject(), "Preview");
    m_album->Set_clrBackground(RGB(0, 0, 0));
  }
  ~PreviewSlidesTest() override {
    m_run.Finish();
    SetEvent(m_stop);
    SetEvent(m_renderDone);
    m_prefetcher.Stop(TRUE);
    GetProject()->NewProject();
    for (HANDLE h : {m_stop, m_prefetchDone, m_renderDone}) CloseHandle(h);
  }

  std::string Photo(const std::string& name, COLORREF colour, COLORREF accent) {
    return MakePhoto(m_dir / (name + ".jpg"), 320, 240, colour, accent);
  }
  std::string FirstTransition() const { return std::string(GetTransitionList()->GetAt(0)->strName); }

  std::vector<TransitionEntryFactory> Factories() const {
    CTransitionFactoryArray factories;
    GetTransitionFactories(0, factories);
    std::vector<TransitionEntryFactory> out;
    for (INT_PTR i = 0; i < factories.GetSize(); ++i) out.push_back(factories[i]);
    return out;
  }

  // Plans the run, starts the prefetcher as the preview window does, and takes the first pictures.
  void Prepare(SIZE frame, int start = 0) {
    m_run.PlanOnly(*m_album, frame, Factories(), 0);
    const auto* plan = &m_run.Plan();
    m_prefetcher.SetPictureSizer([plan](int index, SIZE load) {
      return pictavo::render::PanZoomPictureSize(load, plan->slides[static_cast<size_t>(index)].motion);
    });
    const _tagPrefetchParam param{m_album, m_stop,   m_prefetchDone, m_renderDone,
                                  nullptr, frame.cx, frame.cy,       start};
    ASSERT_TRUE(m_prefetcher.Start(&param));
    ASSERT_TRUE(m_prefetcher.WaitReady());
    ASSERT_TRUE(m_run.Prepare(*m_album, m_prefetcher, start, frame, Factories(), 0));
  }

  struct Tick {
    int slide;
    unsigned t;
    DWORD now;
  };
  // Ticks the slide stage with a clock that reads `msPerTick` more at every tick (the first at
  // 0) until it ends; the prefetcher is waited for between ticks so that no photo is late.
  std::vector<Tick> Play(DWORD msPerTick, DWORD* endNow) {
    std::vector<Tick> ticks;
    DWORD now = 0;
    m_run.SetClock([&] { return now; });
    m_run.BeginStage(0);
    for (int guard = 0; guard < 10000; ++guard) {
      m_prefetcher.WaitReady();
      bool drawn = false;
      const bool done = m_run.Tick([&](CxImage&) { drawn = true; }, nullptr);
      if (done) break;
      ticks.push_back({m_run.SlideIndex(), m_run.TickCounter(), now});
      now += msPerTick;
    }
    *endNow = now;
    return ticks;
  }

  ScratchDir m_dir;
  HANDLE m_stop;
  HANDLE m_prefetchDone;
  HANDLE m_renderDone;
  CDVDAlbumImage* m_album = nullptr;
  CSlidePrefetcher m_prefetcher{5, 2};
  PreviewSlideRun m_run;
};

TEST_F(PreviewSlidesTest, EverySlideGetsItsTicksInOrder) {
  struct Case {
    int one, two;
  };
  const Case kSlides[] = {{1, 2}, {2, 1}, {1, 1}};
  const std::string transition = FirstTransition();
  int n = 0;
  for (const auto& c : kSlides)
    AddSlide(*m_album, Photo("s" + std::to_string(n++), RGB(200, 40, 40), RGB(40, 40, 200)), c.one, c.two,
             transition.c_str());
  Prepare(SIZE{64, 48});
  DWORD end = 0;
  const auto ticks = Play(50, &end);
  // The ticks per slide and per phase, from the counter the renderer keeps.
  std::vector<int> perSlide(3, 0), transitionTicks(3, 0);
  for (const auto& tick : ticks) {
    ASSERT_GE(tick.slide, 0);
    ASSERT_LT(tick.slide, 3);
    ++perSlide[static_cast<size_t>(tick.slide)];
  }
  // The counter after each tick is the frame number plus one; the transition's frames are the
  // first one x 20.
  int previous = -1;
  unsigned expectedT = 0;
  for (const auto& tick : ticks) {
    if (tick.slide != previous) {
      EXPECT_EQ(tick.slide, previous + 1) << "slides come in order";
      previous = tick.slide;
      expectedT = 0;
    }
    EXPECT_EQ(tick.t, ++expectedT) << "slide " << tick.slide << ": no frame skipped";
    if (tick.t <= static_cast<unsigned>(kSlides[tick.slide].one * 20))
      ++transitionTicks[static_cast<size_t>(tick.slide)];
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(perSlide[static_cast<size_t>(i)], (kSlides[i].one + kSlides[i].two) * 20) << "slide " << i;
    EXPECT_EQ(transitionTicks[static_cast<size_t>(i)], kSlides[i].one * 20) << "slide " << i;
  }
  EXPECT_EQ(m_run.FramesDropped(), 0);
  EXPECT_EQ(end, static_cast<DWORD>(m_album->Get_nSlideshowLen(-1)) * 1000);
}

TEST_F(PreviewSlidesTest, SlowFramesAreDroppedAndTheSlidesEndOnTime) {
  const std::string transition = FirstTransition();
  for (int i = 0; i < 4; ++i)
    AddSlide(*m_album, Photo("s" + std::to_string(i), RGB(40 + 50 * i, 90, 40), RGB(40, 40, 200)), 1, 2,
             transition.c_str());
  Prepare(SIZE{64, 48});
  DWORD end = 0;
  // Every frame takes 180 ms to make, against 50 ms per tick.
  const auto ticks = Play(180, &end);
  ASSERT_GE(ticks.size(), 2u);
  // The second frame is due at 50 ms and made at 180, 130 ms late: the counter jumps by 4 (3
  // frames dropped and the normal step).
  EXPECT_EQ(ticks[1].t - ticks[0].t, 4u);
  EXPECT_GT(m_run.FramesDropped(), 0);
  const DWORD slidesMs = static_cast<DWORD>(m_album->Get_nSlideshowLen(-1)) * 1000;
  // The stage ends when the slides' time is up, give or take a frame's making.
  EXPECT_LE(std::labs(static_cast<long>(end) - static_cast<long>(slidesMs)), 2 * 180L) << end;
  int previous = -1;
  for (const auto& tick : ticks) {
    EXPECT_GE(tick.slide, previous);
    previous = tick.slide;
  }
  EXPECT_EQ(previous, 3) << "every slide was shown";
}

// The Y of every pixel of a 24-bit bottom-up frame.
std::vector<int> Luma(const BYTE* bits, int w, int h) {
  std::vector<int> y;
  for (int row = h - 1; row >= 0; --row)
    for (int x = 0; x < w; ++x) {
      const BYTE* p = bits + (static_cast<size_t>(row) * w + x) * 3;
      y.push_back(static_cast<int>(std::lround(0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0])));
    }
  return y;
}

TEST_F(PreviewSlidesTest, APreviewFrameIsTheVideosFrameAtTheSameTime) {
  const std::string transition = FirstTransition();
  AddSlide(*m_album, Photo("a", RGB(220, 60, 40), RGB(30, 30, 200)), 1, 1, transition.c_str());
  CDVDImage* second =
      AddSlide(*m_album, Photo("b", RGB(40, 200, 90), RGB(250, 250, 250)), 1, 2, transition.c_str());
  // A pan and zoom on the second slide, so frames move.
  second->Set_nPanZoom(3 % CPanZoomEx::GetPanZoomType_PresetCount(), nullptr);
  const SIZE frame{96, 72};
  Prepare(frame);

  // The video's slides at 20 frames per second, made by the video's own frame pipeline.
  pictavo::render::SlideFrameJob job;
  job.album = m_album;
  job.renderSize = CSlidePrefetcher::LoadSize();
  job.frameSize = frame;
  job.background = m_album->Get_clrBackground();
  pictavo::render::SlidePlanRules rules;
  rules.fps = 20;
  rules.frameSize = frame;
  rules.background = job.background;
  pictavo::render::PlanSlides(*m_album, rules, job);
  std::vector<std::vector<int>> video;
  pictavo::render::SlideFramePipeline pipeline(job);
  pipeline.Run(
      [&](CxImage& f, int) {
        video.push_back(Luma(f.GetBits(0), frame.cx, frame.cy));
        return true;
      },
      2);
  ASSERT_EQ(video.size(), 100u);

  DWORD now = 0;
  m_run.SetClock([&] { return now; });
  m_run.BeginStage(0);
  int k = 0;
  int compared = 0;
  for (; k < 100; ++k) {
    m_prefetcher.WaitReady();
    std::vector<int> preview;
    if (m_run.Tick([&](CxImage& f) { preview = Luma(f.GetBits(0), frame.cx, frame.cy); }, nullptr)) break;
    now += 50;
    ASSERT_EQ(preview.size(), video[static_cast<size_t>(k)].size());
    double diff = 0;
    int worst = 0;
    for (size_t p = 0; p < preview.size(); ++p) {
      const int d = std::abs(preview[p] - video[static_cast<size_t>(k)][p]);
      diff += d;
      worst = std::max(worst, d);
    }
    EXPECT_LE(worst, 1) << "frame " << k;
    EXPECT_LT(diff / static_cast<double>(preview.size()), 0.05) << "frame " << k;
    ++compared;
  }
  EXPECT_EQ(compared, 100);
}

TEST_F(PreviewSlidesTest, AnEmptyAlbumGivesOnlyTheBlankFrameThenTheEnd) {
  const _tagPrefetchParam param{m_album, m_stop, m_prefetchDone, m_renderDone, nullptr, 64, 48, 3};
  ASSERT_TRUE(m_prefetcher.Start(&param));
  m_prefetcher.WaitReady();
  BOOL end = TRUE;
  CxImage* blank = m_prefetcher.GetReady(&end);
  ASSERT_NE(blank, nullptr);
  EXPECT_FALSE(end);
  EXPECT_EQ(blank->GetWidth(), 64u);
  EXPECT_EQ(m_prefetcher.GetReady(&end), nullptr);
  EXPECT_TRUE(end);
  // Releasing twice or a picture never handed out changes nothing.
  EXPECT_TRUE(m_prefetcher.Release(blank));
  EXPECT_TRUE(m_prefetcher.Release(blank));
  CxImage stranger;
  EXPECT_TRUE(m_prefetcher.Release(&stranger));
  int ready = 0, free = 0, inUse = 0;
  m_prefetcher.GetCounts(&ready, &free, &inUse);
  EXPECT_EQ(ready + free + inUse, 5);
  EXPECT_EQ(inUse, 0);
  // The thread ends only after the renderer's done event.
  EXPECT_EQ(WaitForSingleObject(m_prefetchDone, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(m_renderDone);
  EXPECT_EQ(WaitForSingleObject(m_prefetchDone, rendertest::kGuardMs), WAIT_OBJECT_0);
}

TEST_F(PreviewSlidesTest, AnUnreadablePhotoIsAPlaceholderNeverThePreviousPicture) {
  const std::string transition = FirstTransition();
  AddSlide(*m_album, Photo("red", RGB(230, 20, 20), RGB(230, 20, 20)), 1, 1, transition.c_str());
  AddSlide(*m_album, m_dir / "missing.jpg", 1, 1, transition.c_str());
  Prepare(SIZE{64, 48});
  BOOL end = FALSE;
  // The blank frame and the red photo are the run's; the third picture is the missing photo's.
  m_prefetcher.WaitReady();
  CxImage* missing = nullptr;
  for (int i = 0; i < 100 && missing == nullptr && !end; ++i) {
    m_prefetcher.WaitReady();
    missing = m_prefetcher.GetReady(&end);
  }
  ASSERT_NE(missing, nullptr);
  const RGBQUAD centre = missing->GetPixelColor(static_cast<long>(missing->GetWidth() / 2),
                                                static_cast<long>(missing->GetHeight() / 2));
  EXPECT_FALSE(centre.rgbRed > 200 && centre.rgbGreen < 60) << "the red photo shows through";
  m_prefetcher.Release(missing);
}

}  // namespace
