#include "render/SlideFramePipeline.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "modules/data/AlbumEffect.h"
#include "modules/data/DVDAlbumImage.h"
#include "platform/kernel/Wait.h"
#include "render/SlidePictures.h"

namespace pictavo::render {

namespace {

// How often a waiting thread looks at the cancel event.
constexpr auto kCancelPoll = std::chrono::milliseconds(20);

// Puts a frame of the frame size into `slot` by exchanging their pixels: the effect that made it
// gets the slot's old picture, of the same size, and overwrites all of it with its next frame,
// which saves copying every frame. Anything else leaves the background in the slot.
void TakeFrame(CxImage* frame, CxImage& slot, const CxImage& background) {
  if (frame != nullptr && frame->IsValid() && frame->GetWidth() == slot.GetWidth() &&
      frame->GetHeight() == slot.GetHeight() && frame->GetBpp() == slot.GetBpp()) {
    CxImage old;
    old.Transfer(slot);
    slot.Transfer(*frame);
    frame->Transfer(old);
  } else {
    // An effect gave no frame: the background keeps the frame's place in time.
    std::memcpy(slot.GetBits(0), const_cast<CxImage&>(background).GetBits(0),
                static_cast<size_t>(slot.GetEffWidth()) * slot.GetHeight());
  }
}

}  // namespace

_tagTransWorkParam SlideTransitionParam(const SlidePlan& plan, SIZE frameSize, COLORREF background) {
  return _tagTransWorkParam{static_cast<int32_t>(sizeof(_tagTransWorkParam)),
                            0,
                            frameSize.cx,
                            frameSize.cy,
                            plan.transitionFrames,
                            0,
                            background};
}

CxImage* StepSlideFrame(CPanZoomEx& outgoing, CPanZoomEx& incoming, CTransition* transition,
                        const SlidePlan& plan, int f) {
  if (f >= plan.transitionFrames) return incoming.StepIt(f);
  CxImage* from = outgoing.StepIt(plan.outgoingOffset + f);
  CxImage* to = incoming.StepIt(f);
  CxImage* frame = nullptr;
  if (transition != nullptr && from != nullptr && to != nullptr) {
    transition->SetImages(from, to);
    frame = transition->StepIt(f);
  }
  return frame != nullptr ? frame : to;  // no transition: a cut
}

SlideFramePipeline::SlideFramePipeline(const SlideFrameJob& job) : m_job(job) {
  int at = 0;
  for (const SlidePlan& slide : job.slides) {
    m_firstFrame.push_back(at);
    at += std::max(0, slide.frames);
  }
  m_firstFrame.push_back(at);
  m_backgroundPicture.Create(static_cast<DWORD>(std::max<LONG>(1, job.renderSize.cx)),
                             static_cast<DWORD>(std::max<LONG>(1, job.renderSize.cy)), 24);
  m_backgroundPicture.Fill(job.background);
  m_backgroundFrame.Create(static_cast<DWORD>(job.frameSize.cx), static_cast<DWORD>(job.frameSize.cy), 24);
  m_backgroundFrame.Fill(job.background);
}

SlideFramePipeline::~SlideFramePipeline() = default;

namespace {

// The frame threads take only the cores ffmpeg's encoder leaves idle. Woken at normal priority
// they preempted the encoder's threads on its critical path (the whole output took 1.13 times the
// encoder alone); they cannot starve, since an encoder waiting for frames leaves its cores idle.
void RunBelowTheEncoder() {
  const sched_param param{};
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
}

}  // namespace

int SlideFramePipeline::DefaultWorkers() {
  // The encoder needs most of the machine; the frames need a few cores to stay well ahead of it.
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores - 2, 1, 4);
}

bool SlideFramePipeline::Cancelled() const {
  return m_job.cancel != nullptr && WaitForSingleObject(m_job.cancel, 0) == WAIT_OBJECT_0;
}

template <class Ready>
bool SlideFramePipeline::WaitFor(std::unique_lock<std::mutex>& lock, Ready&& ready) {
  while (!ready()) {
    if (m_stop) return false;
    if (Cancelled()) {
      m_stop = true;
      m_changed.notify_all();
      return false;
    }
    m_changed.wait_for(lock, kCancelPoll);
  }
  return !m_stop;
}

void SlideFramePipeline::Stop() {
  {
    std::lock_guard guard(m_lock);
    m_stop = true;
  }
  m_changed.notify_all();
}

int SlideFramePipeline::SlideOf(int frame) const {
  // The last slide whose first frame is at or before `frame` (empty slides are passed over).
  const auto next = std::upper_bound(m_firstFrame.begin(), m_firstFrame.end() - 1, frame);
  return static_cast<int>(next - m_firstFrame.begin()) - 1;
}

SlideFramePipeline::Outcome SlideFramePipeline::Run(const FrameSink& sink, int workers) {
  const int slides = static_cast<int>(m_job.slides.size());
  const int total = m_firstFrame.back();
  if (slides == 0 || total == 0) return Outcome::kCompleted;
  workers = std::clamp(workers, 1, 16);
  m_slots.resize(static_cast<size_t>(workers) + 2);
  for (CxImage& slot : m_slots)
    slot.Create(static_cast<DWORD>(m_job.frameSize.cx), static_cast<DWORD>(m_job.frameSize.cy), 24);
  m_slotFrame.assign(m_slots.size(), -1);
  m_workerSlide.assign(static_cast<size_t>(workers), 0);

  std::thread loader([this] {
    RunBelowTheEncoder();
    Load();
  });
  std::vector<std::thread> threads;
  for (int w = 0; w < workers; ++w)
    threads.emplace_back([this, w, workers] {
      RunBelowTheEncoder();
      Work(w, workers);
    });

  Outcome outcome = Outcome::kCompleted;
  for (int k = 0; k < total; ++k) {
    const size_t slot = static_cast<size_t>(k) % m_slots.size();
    std::unique_lock lock(m_lock);
    if (!WaitFor(lock, [&] { return m_slotFrame[slot] == k; })) {
      outcome = Cancelled() ? Outcome::kCancelled : Outcome::kStopped;
      break;
    }
    lock.unlock();
    const bool go = sink(m_slots[slot], k);
    lock.lock();
    m_slotFrame[slot] = -1;
    m_taken = k + 1;
    lock.unlock();
    m_changed.notify_all();
    if (!go) {
      outcome = Outcome::kStopped;
      break;
    }
  }
  Stop();
  for (std::thread& thread : threads) thread.join();
  loader.join();
  return outcome;
}

void SlideFramePipeline::Load() {
  const int slides = static_cast<int>(m_job.slides.size());
  const SIZE size = m_job.renderSize;
  for (int j = 0; j < slides; ++j) {
    {
      // Slide j takes the place of slide j - 4, which is done with once every worker has passed
      // slide j - 3 (where it is the outgoing picture).
      std::unique_lock lock(m_lock);
      if (!WaitFor(lock,
                   [&] { return *std::min_element(m_workerSlide.begin(), m_workerSlide.end()) >= j - 2; }))
        return;
    }
    // A moving picture is loaded with the pixels its closest zoom needs.
    LoadSlidePicture(*m_job.album, j, m_pictures[j % kPictures],
                     PanZoomPictureSize(size, m_job.slides[static_cast<size_t>(j)].motion), m_job.background);
    {
      std::lock_guard guard(m_lock);
      m_loaded = j + 1;
    }
    m_changed.notify_all();
  }
}

void SlideFramePipeline::Work(int worker, int workers) {
  const int slides = static_cast<int>(m_job.slides.size());
  const int total = m_firstFrame.back();
  const auto slotCount = static_cast<int>(m_slots.size());
  CPanZoomExIPP outgoing;
  CPanZoomExIPP incoming;
  std::unique_ptr<CTransition> transition;
  int configured = -1;
  for (int k = worker; k < total; k += workers) {
    const int i = SlideOf(k);
    const SlidePlan& plan = m_job.slides[static_cast<size_t>(i)];
    if (i != configured) {
      {
        std::unique_lock lock(m_lock);
        m_workerSlide[static_cast<size_t>(worker)] = i;
        m_changed.notify_all();
        if (!WaitFor(lock, [&] { return m_loaded > i; })) return;
      }
      _tagPanZoomWorkParamEx before = i == 0 ? m_job.before : m_job.slides[static_cast<size_t>(i) - 1].motion;
      before.pSrcImage = i == 0 ? &m_backgroundPicture : &m_pictures[(i - 1) % kPictures];
      outgoing.SetPanZoomExWorkParam(before);
      _tagPanZoomWorkParamEx motion = plan.motion;
      motion.pSrcImage = &m_pictures[i % kPictures];
      incoming.SetPanZoomExWorkParam(motion);
      transition.reset(plan.factory != nullptr ? plan.factory() : nullptr);
      if (transition)
        transition->SetTransWorkParam(SlideTransitionParam(plan, m_job.frameSize, m_job.background));
      configured = i;
    }
    if (Cancelled()) {
      Stop();
      return;
    }
    const int f = k - m_firstFrame[static_cast<size_t>(i)];
    CxImage* frame = StepSlideFrame(outgoing, incoming, transition.get(), plan, f);
    const size_t slot = static_cast<size_t>(k % slotCount);
    {
      // The slot is free once the frame it held before has been taken.
      std::unique_lock lock(m_lock);
      if (!WaitFor(lock, [&] { return m_taken > k - slotCount; })) return;
    }
    TakeFrame(frame, m_slots[slot], m_backgroundFrame);
    if (m_job.theme != nullptr) {
      std::lock_guard guard(m_themeLock);
      m_job.theme->AddEffect(&m_slots[slot], 0);
    }
    {
      std::lock_guard guard(m_lock);
      m_slotFrame[slot] = k;
    }
    m_changed.notify_all();
  }
  {
    std::lock_guard guard(m_lock);
    m_workerSlide[static_cast<size_t>(worker)] = slides;
  }
  m_changed.notify_all();
}

}  // namespace pictavo::render
