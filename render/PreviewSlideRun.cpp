#include "render/PreviewSlideRun.h"

#include <algorithm>
#include <cstring>

#include "modules/data/AlbumEffect.h"
#include "modules/data/DVDAlbumImage.h"
#include "platform/kernel/Time.h"
#include "render/SlidePlanner.h"
#include "render/SlidePrefetcher.h"

namespace pictavo::render {

PreviewSlideRun::PreviewSlideRun() : m_clock([] { return GetTickCount(); }) {}

PreviewSlideRun::~PreviewSlideRun() {
  Finish();
}

void PreviewSlideRun::PlanOnly(const CDVDAlbumImage& album, SIZE frameSize,
                               const std::vector<TransitionEntryFactory>& factories, int antiFlicker) {
  m_album = &album;
  m_frameSize = frameSize;
  SlidePlanRules rules;
  rules.fps = kPreviewFps;
  rules.frameSize = frameSize;
  rules.background = album.Get_clrBackground();
  rules.antiFlicker = antiFlicker;
  rules.factories = factories;
  m_job = SlideFrameJob{};
  m_job.album = &album;
  m_job.frameSize = frameSize;
  m_job.background = rules.background;
  PlanSlides(album, rules, m_job);
}

void PreviewSlideRun::SetupTransition(int index) {
  const SlidePlan& plan = m_job.slides[static_cast<size_t>(index)];
  m_transition.reset(plan.factory != nullptr ? plan.factory() : nullptr);
  if (!m_transition) return;
  _tagTransWorkParam param = SlideTransitionParam(plan, m_frameSize, m_job.background);
  param.nReserved1 = 1;
  param.nReserved2 = 10;
  m_transition->SetTransWorkParam(param);
}

bool PreviewSlideRun::Prepare(const CDVDAlbumImage& album, CSlidePrefetcher& prefetcher, int startIndex,
                              SIZE frameSize, const std::vector<TransitionEntryFactory>& factories,
                              int antiFlicker) {
  Finish();
  if (m_album != &album || m_frameSize.cx != frameSize.cx || m_frameSize.cy != frameSize.cy ||
      static_cast<int>(m_job.slides.size()) != album.GetImageCount())
    PlanOnly(album, frameSize, factories, antiFlicker);
  m_prefetcher = &prefetcher;
  m_t = 0;
  m_transitionEnd = 0;
  m_panZoomEnd = 0;
  m_elapsedSlidesMs = 0;
  m_shortenedMs = 0;
  m_drawn = 0;
  m_dropped = 0;
  m_retrying = false;
  const int n = static_cast<int>(m_job.slides.size());
  const int i = startIndex >= 0 && startIndex < n ? startIndex : 0;
  m_slide = i;
  m_start = i;
  m_bCurrentIsB = true;
  m_frame.Create(static_cast<DWORD>(frameSize.cx), static_cast<DWORD>(frameSize.cy), 24);
  BOOL end = FALSE;
  m_pictureA = prefetcher.GetReady(&end);
  m_pictureB = m_pictureA != nullptr ? prefetcher.GetReady(&end) : nullptr;
  if (m_pictureA == nullptr || m_pictureB == nullptr || n == 0) return false;
  const SlidePlan& plan = m_job.slides[static_cast<size_t>(i)];
  SetupTransition(i);
  m_engineA = std::make_unique<CPanZoomExIPP>();
  m_engineB = std::make_unique<CPanZoomExIPP>();
  // The blank frame stands still through the first transition, whichever slide it leads to.
  _tagPanZoomWorkParamEx before = m_job.before;
  before.nFrames = plan.motion.nFrames;
  before.pSrcImage = m_pictureA;
  m_engineA->SetPanZoomExWorkParam(before);
  _tagPanZoomWorkParamEx motion = plan.motion;
  motion.pSrcImage = m_pictureB;
  m_engineB->SetPanZoomExWorkParam(motion);
  m_transitionEnd = static_cast<unsigned>(plan.transitionFrames);
  m_panZoomEnd = static_cast<unsigned>(plan.frames);
  return true;
}

void PreviewSlideRun::BeginStage(DWORD now) {
  m_stageStart = now;
}

bool PreviewSlideRun::SwitchSlide() {
  BOOL end = FALSE;
  CxImage* next = m_prefetcher != nullptr ? m_prefetcher->GetReady(&end) : nullptr;
  const int i = m_slide.load();
  const int n = static_cast<int>(m_job.slides.size());
  if (next != nullptr && i + 1 >= n) {
    m_prefetcher->Release(next);
    return false;
  }
  if (next == nullptr) {
    if (end) return false;
    // The photo is still being decoded: the slide starts over until it is there, and the clock
    // then moves past its end again.
    m_t = 0;
    m_retrying = true;
    return true;
  }
  m_retrying = false;
  const SlidePlan& plan = m_job.slides[static_cast<size_t>(i) + 1];
  SetupTransition(i + 1);
  m_elapsedSlidesMs += static_cast<DWORD>(m_job.slides[static_cast<size_t>(i)].frames) * kPreviewTickMs;
  m_prefetcher->Release(m_pictureA);
  m_pictureA = m_pictureB;
  m_pictureB = next;
  _tagPanZoomWorkParamEx motion = plan.motion;
  motion.pSrcImage = m_pictureB;
  (m_bCurrentIsB ? *m_engineA : *m_engineB).SetPanZoomExWorkParam(motion);
  m_bCurrentIsB = !m_bCurrentIsB;
  m_slide = i + 1;
  m_transitionEnd = static_cast<unsigned>(plan.transitionFrames);
  m_panZoomEnd = static_cast<unsigned>(plan.frames);
  m_shortenedMs = 0;
  const long long late =
      static_cast<long long>(static_cast<DWORD>(m_clock() - m_stageStart)) - m_elapsedSlidesMs;
  if (late >= static_cast<long long>(kPreviewTickMs)) {
    // Late into the slide: it ends that much earlier, so the next slide starts on time.
    const auto k = static_cast<unsigned>(static_cast<double>(late) * 0.02 + 0.5);
    const unsigned full = m_panZoomEnd;
    if (m_panZoomEnd > k) {
      m_panZoomEnd -= k;
    } else if (m_transitionEnd > k) {
      m_transitionEnd -= k;
    } else {
      m_transitionEnd = 0;
      m_panZoomEnd = 0;
    }
    if (m_transitionEnd == 0 && m_panZoomEnd == 0) m_panZoomEnd = 1;
    const unsigned taken = full > m_panZoomEnd ? full - m_panZoomEnd : 0;
    m_shortenedMs = taken * kPreviewTickMs;
    m_dropped += static_cast<int>(taken);
  }
  m_t = 0;
  return true;
}

bool PreviewSlideRun::Tick(const DrawFrame& draw, CAlbumEffect* theme) {
  if (m_t >= m_panZoomEnd) {
    // The next slide's first frame is drawn in this same tick, so no tick goes without one.
    if (!SwitchSlide()) {
      m_t = 0;
      return true;
    }
  }
  const int i = m_slide.load();
  SlidePlan plan = m_job.slides[static_cast<size_t>(i)];
  plan.transitionFrames = static_cast<int>(m_transitionEnd);
  CPanZoomEx& current = m_bCurrentIsB ? *m_engineB : *m_engineA;
  CPanZoomEx& outgoing = m_bCurrentIsB ? *m_engineA : *m_engineB;
  CxImage* frame = StepSlideFrame(outgoing, current, m_transition.get(), plan, static_cast<int>(m_t));
  if (frame != nullptr && frame->IsValid() && frame->GetWidth() == m_frame.GetWidth() &&
      frame->GetHeight() == m_frame.GetHeight()) {
    std::memcpy(m_frame.GetBits(0), frame->GetBits(0),
                static_cast<size_t>(m_frame.GetEffWidth()) * m_frame.GetHeight());
  } else {
    m_frame.Fill(m_job.background);  // an effect gave no frame
  }
  if (theme != nullptr) theme->AddEffect(&m_frame, 0);
  if (draw) draw(m_frame);
  ++m_drawn;
  // Keeping time: the frames that are late by now are skipped.
  const long long elapsed = static_cast<DWORD>(m_clock() - m_stageStart);
  long long drift =
      elapsed - static_cast<long long>(m_t) * kPreviewTickMs - m_elapsedSlidesMs - m_shortenedMs;
  if (drift < 0) drift = 0;
  unsigned step = 1;
  if (drift >= static_cast<long long>(kPreviewTickMs))
    step = static_cast<unsigned>(static_cast<double>(drift) * 0.02 + 0.5) + 1;
  if (!m_retrying)
    m_dropped += static_cast<int>(std::min(step, m_panZoomEnd > m_t ? m_panZoomEnd - m_t : 1u) - 1);
  m_t += step;
  return false;
}

void PreviewSlideRun::Finish() {
  if (m_prefetcher != nullptr) {
    m_prefetcher->Release(m_pictureA);
    m_prefetcher->Release(m_pictureB);
  }
  m_pictureA = nullptr;
  m_pictureB = nullptr;
  m_transition.reset();
  m_engineA.reset();
  m_engineB.reset();
  m_t = 0;
  m_transitionEnd = 0;
  m_panZoomEnd = 0;
}

}  // namespace pictavo::render
