// A slide's picture adjustments (_tagPhotoIntensityParam) and its saved pan-and-zoom positions
// (_tagPhotoPanZoomSaveParam).
#pragma once

#include <cstdint>

// Brightness -255..255, contrast -100..100, gamma 0..100 (50 leaves the picture as it is) and
// the three colour-balance axes -255..255.
struct _tagPhotoIntensityParam {
  int32_t nBrightness = 0;
  int32_t nContrast = 0;
  int32_t nGamma = kNeutralGamma;
  int32_t nCyanRed = 0;
  int32_t nMagentaGreen = 0;
  int32_t nYellowBlue = 0;

  static constexpr int32_t kNeutralGamma = 50;

  bool IsEqual(const _tagPhotoIntensityParam& other) const;
  bool IsDefaultValue() const;
  // The picture gamma for nGamma: 10^((nGamma - 50) / 50), so 50 gives 1 (unchanged), 100 gives 10
  // (brighter mid-tones) and 0 gives 0.1 (darker).
  double GammaFactor() const;
};
static_assert(sizeof(_tagPhotoIntensityParam) == 24);

// The start and end positions of a custom motion, as the pan-and-zoom work record of the effects
// module holds them: pan in percent of the frame, zoom in percent, rotation in degrees.
struct _tagPhotoPanZoomSaveParam {
  double fStartPanX = 0, fStartPanY = 0, fStartZoom = 100, fStartRotate = 0;
  double fEndPanX = 0, fEndPanY = 0, fEndZoom = 100, fEndRotate = 0;

  bool operator==(const _tagPhotoPanZoomSaveParam&) const = default;

  // Takes the positions from a work record. A template over the record's type so that the data
  // model needs the effects module's header, not its library.
  template <class WorkParam>
  void ConvertDataFromPanZoomExWorkParam(const WorkParam& work) {
    fStartPanX = work.fStartPanX;
    fStartPanY = work.fStartPanY;
    fStartZoom = work.fStartZoom;
    fStartRotate = work.fStartRotate;
    fEndPanX = work.fEndPanX;
    fEndPanY = work.fEndPanY;
    fEndZoom = work.fEndZoom;
    fEndRotate = work.fEndRotate;
  }
  // Writes the saved positions into a work record and nothing else.
  template <class WorkParam>
  static void ConvertDataToPanZoomExWorkParam(WorkParam& work, const _tagPhotoPanZoomSaveParam& saved) {
    work.fStartPanX = saved.fStartPanX;
    work.fStartPanY = saved.fStartPanY;
    work.fStartZoom = saved.fStartZoom;
    work.fStartRotate = saved.fStartRotate;
    work.fEndPanX = saved.fEndPanX;
    work.fEndPanY = saved.fEndPanY;
    work.fEndZoom = saved.fEndZoom;
    work.fEndRotate = saved.fEndRotate;
  }
  // 0 when both positions show the still, fitted picture (the effects module's preset 0); -2
  // (custom positions) for every other pair.
  int GetPanZoomPresetIndex() const;
};
