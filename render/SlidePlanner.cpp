#include "render/SlidePlanner.h"

#include <cstdlib>

#include "modules/data/DVDAlbumImage.h"
#include "render/SlideFramePipeline.h"
#include "shell/TransitionList.h"

namespace pictavo::render {

TransitionEntryFactory PickSlideTransition(const CDVDAlbumImage& album, int index,
                                           const std::vector<TransitionEntryFactory>& factories) {
  TransitionEntryFactory factory = FindTransitionFactory(album.Get_strTransName(index));
  // A name that matches nothing gets a random transition; with no transitions at all the
  // slides simply cut.
  if (factory == nullptr && !factories.empty())
    factory = factories[static_cast<size_t>(rand()) % factories.size()];
  return factory;
}

_tagPanZoomWorkParamEx MakeSlideMotion(const CDVDAlbumImage& album, int index, int frames, bool applySlide,
                                       const SlidePlanRules& rules) {
  _tagPanZoomWorkParamEx param;
  CPanZoomEx::GetPanZoomType_PresetValue(0, param);
  if (applySlide) {
    const int kind = album.Get_nPanZoom(index);
    if (kind == DVD_PANZOOM_ALBUM) {
      if (album.m_bAutoPanZoom) {
        int preset = 0;
        CPanZoomEx::GetRandomPanZoom_PresetValue(preset, param);
      }
    } else if (kind == DVD_PANZOOM_CUSTOM) {
      if (const _tagPhotoPanZoomSaveParam* saved = album.GetpPhotoPanZoomSaveParam(index))
        _tagPhotoPanZoomSaveParam::ConvertDataToPanZoomExWorkParam(param, *saved);
    } else {
      int used = 0;
      CPanZoomEx::GetPanZoomType_PresetValue(kind, used, param);
    }
  }
  param.nOption1 = 0;
  param.nAntiFlicker = rules.antiFlicker;
  param.nWidth = rules.frameSize.cx;
  param.nHeight = rules.frameSize.cy;
  param.nFrames = frames;
  param.clrBackground = rules.background;
  return param;
}

void PlanSlides(const CDVDAlbumImage& album, const SlidePlanRules& rules, SlideFrameJob& job) {
  const auto one = [&](int i) { return album.Get_nOneDuration(i) * rules.fps; };
  const auto two = [&](int i) { return album.Get_nTwoDuration(i) * rules.fps; };
  const int n = album.GetImageCount();
  job.slides.resize(static_cast<size_t>(n));
  // Before the first slide the background colour shows, as still as a picture.
  job.before = MakeSlideMotion(album, 0, two(0) + one(1) + one(0), false, rules);
  for (int i = 0; i < n; ++i) {
    SlidePlan& slide = job.slides[static_cast<size_t>(i)];
    slide.factory = PickSlideTransition(album, i, rules.factories);
    // Its motion spans the transition into it, its own time and the transition out of it.
    slide.motion = MakeSlideMotion(album, i, one(i) + two(i) + one(i + 1), true, rules);
    slide.transitionFrames = one(i);
    slide.frames = one(i) + two(i);
    slide.outgoingOffset = two(i - 1) + one(i - 1);
  }
}

}  // namespace pictavo::render
