// The project's options record: TV system, cropping, aspect, anti-flicker, photo scaling and the
// disc choices. Callers copy and compare it whole (840 bytes), so every unused byte stays zero.
#pragma once

#include <cstddef>
#include <cstdint>

struct _PROJECT_OPTIONS_DATA {
  int32_t nTVSystem;  // 1 PAL, 0 NTSC
  int32_t bCropEnable;
  int32_t nCropRatio;         // percent
  int32_t nAspectCorrection;  // 0 none, 1 4:3, 2 16:9
  int32_t bAntiFlicker;
  int32_t nPhotoScaleMode;   // 0 fit, 1 fill
  int32_t bCopySourceFiles;  // copy the photos onto the disc
  int32_t nDriverMode;
  int32_t bShutdownWhenDone;
  int32_t nVCDBurningMode;
  int32_t bUseDVDMenu;
  int32_t nPlaybackMode;  // what the disc does after the slideshow
  int32_t bPlaySlideshowAfterMenu;
  int32_t nReserved[197];

  // The values a new project starts with.
  static _PROJECT_OPTIONS_DATA Defaults();
};
static_assert(sizeof(_PROJECT_OPTIONS_DATA) == 840);
static_assert(offsetof(_PROJECT_OPTIONS_DATA, nAspectCorrection) == 12);
static_assert(offsetof(_PROJECT_OPTIONS_DATA, nPhotoScaleMode) == 20);
static_assert(offsetof(_PROJECT_OPTIONS_DATA, bPlaySlideshowAfterMenu) == 48);
