// The slides' frames of a video, made by several threads at once and handed out in order.
//
// Every frame of a slide is a function of its number alone (the transition's frame, and the
// pan-and-zoom frames of the outgoing and incoming pictures), so worker threads take the frames
// in turn, each with its own effect objects, while one thread loads the photos ahead and the
// caller's thread takes the finished frames in order (for the frame writer, which is the
// slowest step). The choices made at random (transitions, motions) are made beforehand, in slide
// order, so the video is the same as one made frame by frame.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "modules/effects/PanZoom.h"
#include "modules/effects/Transition.h"
#include "modules/image/CxImage.h"
#include "platform/base/WinTypes.h"

class CAlbumEffect;
class CDVDAlbumImage;

namespace pictavo::render {

// What a slide shows.
struct SlidePlan {
  int transitionFrames = 0;                  // the transition into the slide
  int frames = 0;                            // the transition and the slide alone
  TransitionEntryFactory factory = nullptr;  // null: a cut
  _tagPanZoomWorkParamEx motion;             // over the transition in, the slide alone and the transition out
  int outgoingOffset = 0;  // where the previous slide's motion is at the start of this slide's transition
};

struct SlideFrameJob {
  const CDVDAlbumImage* album = nullptr;
  SIZE renderSize{};  // the photos' size
  SIZE frameSize{};
  COLORREF background = 0;
  std::vector<SlidePlan> slides;
  _tagPanZoomWorkParamEx before;  // what the first slide's transition comes from
  CAlbumEffect* theme = nullptr;  // laid over every frame when not null
  HANDLE cancel = nullptr;
};

// The record of the transition into a slide.
_tagTransWorkParam SlideTransitionParam(const SlidePlan& plan, SIZE frameSize, COLORREF background);

// Frame `f` of a slide, counted from the start of its transition: while the transition runs, the
// transition from the outgoing motion's frame (outgoingOffset + f) to the incoming motion's frame
// f (a cut to the incoming frame without a transition), then the incoming motion alone. The video
// and the preview make their frames with it. Null when the effects give no frame.
CxImage* StepSlideFrame(CPanZoomEx& outgoing, CPanZoomEx& incoming, CTransition* transition,
                        const SlidePlan& plan, int f);

class SlideFramePipeline {
 public:
  enum class Outcome { kCompleted, kCancelled, kStopped };
  // Called on the caller's thread with every frame in order (`index` from 0); false stops the
  // run.
  using FrameSink = std::function<bool(CxImage& frame, int index)>;

  explicit SlideFramePipeline(const SlideFrameJob& job);
  ~SlideFramePipeline();
  SlideFramePipeline(const SlideFramePipeline&) = delete;
  SlideFramePipeline& operator=(const SlideFramePipeline&) = delete;

  // Makes every frame with `workers` threads.
  Outcome Run(const FrameSink& sink, int workers);

  // How many workers suit this machine.
  static int DefaultWorkers();

 private:
  static constexpr int kPictures = 4;  // slides loaded at once: the outgoing, current, next and one ahead

  void Load();
  void Work(int worker, int workers);
  // Waits for a condition under m_lock; false once the run stops.
  template <class Ready>
  bool WaitFor(std::unique_lock<std::mutex>& lock, Ready&& ready);
  bool Cancelled() const;
  int SlideOf(int frame) const;
  void Stop();

  const SlideFrameJob& m_job;
  std::vector<int> m_firstFrame;   // per slide, and the total at the end
  CxImage m_backgroundPicture;     // the photos' size: what the first slide comes from
  CxImage m_backgroundFrame;       // the frame size: stands in for a frame an effect could not make
  CxImage m_pictures[kPictures];   // slide j in m_pictures[j % kPictures], written by the loader
  std::vector<CxImage> m_slots;    // finished frames, frame k in slot k % size
  std::vector<int> m_slotFrame;    // which frame a slot holds ready, -1 when none; guarded by m_lock
  std::vector<int> m_workerSlide;  // the slide each worker is at; guarded by m_lock
  std::mutex m_lock;
  std::condition_variable m_changed;
  int m_loaded = 0;        // slides loaded; guarded by m_lock
  int m_taken = 0;         // frames handed to the sink; guarded by m_lock
  bool m_stop = false;     // guarded by m_lock
  std::mutex m_themeLock;  // the theme draws on one thread at a time
};

}  // namespace pictavo::render
