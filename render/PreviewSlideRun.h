// The slide stage of a preview run, apart from its window and threads: which slide shows, its
// tick counter and phase ends, the two pan-and-zoom engines (outgoing and current) and the
// transition, the pictures borrowed from the prefetcher, and the keeping of time by dropping late
// frames. Every frame comes from StepSlideFrame over the slides planned by PlanSlides at 20 frames
// per second, so it is the video's frame at the same time when the video runs at 20 frames per
// second in frames of the same size.
//
// One thread only (the render thread); the slide index is also read by the UI thread through
// SlideIndex(), which is atomic.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "modules/effects/PanZoom.h"
#include "modules/effects/Transition.h"
#include "modules/image/CxImage.h"
#include "platform/base/WinTypes.h"
#include "render/SlideFramePipeline.h"

class CAlbumEffect;

class CDVDAlbumImage;
class CSlidePrefetcher;

namespace pictavo::render {

constexpr int kPreviewFps = 20;
constexpr DWORD kPreviewTickMs = 1000 / kPreviewFps;

class PreviewSlideRun {
 public:
  // Gets every frame of the slides drawn, after the theme was laid over it.
  using DrawFrame = std::function<void(CxImage& frame)>;

  PreviewSlideRun();
  ~PreviewSlideRun();

  // Plans the album's slides for frames of `frameSize` (every random choice made here), takes
  // the blank frame and the first photo from the prefetcher and sets up the first slide at
  // `startIndex`. False when the prefetcher could not deliver both (nothing is to be drawn).
  bool Prepare(const CDVDAlbumImage& album, CSlidePrefetcher& prefetcher, int startIndex, SIZE frameSize,
               const std::vector<TransitionEntryFactory>& factories, int antiFlicker);
  // The slides' plan, for the prefetcher's picture sizes; valid from Prepare on.
  const SlideFrameJob& Plan() const { return m_job; }
  // Plans without preparing pictures (the prefetcher needs the sizes before the run starts).
  void PlanOnly(const CDVDAlbumImage& album, SIZE frameSize,
                const std::vector<TransitionEntryFactory>& factories, int antiFlicker);
  // The slide stage's clock starts: `now` is when its first frame is due.
  void BeginStage(DWORD now);
  // One tick: switches to the next slide when this one is over, draws the frame due and advances
  // the counter, past the frames that are late by the clock. True once the album's last slide has
  // been shown (nothing is drawn then).
  bool Tick(const DrawFrame& draw, CAlbumEffect* theme);
  // Milliseconds, GetTickCount unless a test gives its own.
  void SetClock(std::function<DWORD()> clock) { m_clock = std::move(clock); }
  // Gives the pictures back and deletes the effects.
  void Finish();

  int SlideIndex() const { return m_slide.load(); }
  int StartIndex() const { return m_start; }
  unsigned TickCounter() const { return m_t; }
  unsigned TransitionEnd() const { return m_transitionEnd; }
  unsigned PanZoomEnd() const { return m_panZoomEnd; }
  int FramesDrawn() const { return m_drawn; }
  int FramesDropped() const { return m_dropped; }

 private:
  void SetupTransition(int index);
  bool SwitchSlide();

  std::function<DWORD()> m_clock;
  const CDVDAlbumImage* m_album = nullptr;
  CSlidePrefetcher* m_prefetcher = nullptr;
  SlideFrameJob m_job;
  SIZE m_frameSize{};
  std::unique_ptr<CPanZoomEx> m_engineA;
  std::unique_ptr<CPanZoomEx> m_engineB;
  bool m_bCurrentIsB = true;  // engine B holds the current slide, A the outgoing one
  std::unique_ptr<CTransition> m_transition;
  CxImage* m_pictureA = nullptr;  // the outgoing slide's, borrowed
  CxImage* m_pictureB = nullptr;  // the current slide's, borrowed
  CxImage m_frame;                // the frame the theme is laid over
  std::atomic<int> m_slide{0};
  int m_start = 0;
  unsigned m_t = 0;
  unsigned m_transitionEnd = 0;
  unsigned m_panZoomEnd = 0;
  DWORD m_stageStart = 0;
  DWORD m_elapsedSlidesMs = 0;
  DWORD m_shortenedMs = 0;  // taken off the current slide for lateness at its start
  int m_drawn = 0;
  int m_dropped = 0;
  bool m_retrying = false;  // the next photo was not there at the switch
};

}  // namespace pictavo::render
