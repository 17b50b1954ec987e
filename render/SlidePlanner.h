// What every slide of an album shows, chosen once before any frame is made: the transition into
// it (a named one, or one at random), its motion (a preset, the slide's own, or one at random)
// and its frame counts at a frame rate. The video and the preview plan with it, so a preview
// frame is the video's frame at the same time when both run at the same rate and size.
#pragma once

#include <vector>

#include "modules/effects/PanZoom.h"
#include "modules/effects/Transition.h"
#include "platform/base/WinTypes.h"

class CDVDAlbumImage;

namespace pictavo::render {

struct SlideFrameJob;

// The slides' frames at `fps` in frames of `frameSize`.
struct SlidePlanRules {
  int fps = 25;
  SIZE frameSize{};
  COLORREF background = 0;
  int antiFlicker = 0;
  std::vector<TransitionEntryFactory> factories;  // the random choices; empty: slides cut
};

// The transition of slide `index`: the one its name finds, else one of `factories` at random.
TransitionEntryFactory PickSlideTransition(const CDVDAlbumImage& album, int index,
                                           const std::vector<TransitionEntryFactory>& factories);
// A pan-and-zoom record of the frame size over `frames` frames: preset 0 (still), or with
// `applySlide` the slide's own motion (automatic: a random preset when the album asks for one).
_tagPanZoomWorkParamEx MakeSlideMotion(const CDVDAlbumImage& album, int index, int frames, bool applySlide,
                                       const SlidePlanRules& rules);
// Fills job.slides and job.before, in slide order (every random choice made here).
void PlanSlides(const CDVDAlbumImage& album, const SlidePlanRules& rules, SlideFrameJob& job);

}  // namespace pictavo::render
