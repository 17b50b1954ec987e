#include <cmath>
#include <cstring>

#include "modules/data/PhotoParams.h"
#include "modules/data/ProjectOptions.h"

_PROJECT_OPTIONS_DATA _PROJECT_OPTIONS_DATA::Defaults() {
  _PROJECT_OPTIONS_DATA options;
  std::memset(&options, 0, sizeof options);
  options.nTVSystem = 0;
  options.bCropEnable = 0;
  options.nCropRatio = 5;
  options.nAspectCorrection = 2;  // most screens today are 16:9
  options.bAntiFlicker = 0;
  options.nPhotoScaleMode = 0;
  options.bUseDVDMenu = 1;
  options.nPlaybackMode = 2;
  options.bPlaySlideshowAfterMenu = 1;
  return options;
}

bool _tagPhotoIntensityParam::IsEqual(const _tagPhotoIntensityParam& other) const {
  return nBrightness == other.nBrightness && nContrast == other.nContrast && nGamma == other.nGamma &&
         nCyanRed == other.nCyanRed && nMagentaGreen == other.nMagentaGreen &&
         nYellowBlue == other.nYellowBlue;
}

bool _tagPhotoIntensityParam::IsDefaultValue() const {
  return IsEqual(_tagPhotoIntensityParam{});
}

double _tagPhotoIntensityParam::GammaFactor() const {
  return std::pow(10.0, (nGamma - kNeutralGamma) / 50.0);
}

int _tagPhotoPanZoomSaveParam::GetPanZoomPresetIndex() const {
  const bool still = fStartPanX == 0 && fStartPanY == 0 && fStartZoom == 100 && fStartRotate == 0 &&
                     fEndPanX == 0 && fEndPanY == 0 && fEndZoom == 100 && fEndRotate == 0;
  return still ? 0 : -2;
}
