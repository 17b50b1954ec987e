// Operations on a slide's picture that the slide, its thumbnails and the loader thread share.
#pragma once

#include "modules/data/PhotoParams.h"

class CxImage;

namespace pictavo::data {

// Turns the picture upright for an EXIF orientation (1..8; other values leave it).
void ApplyOrientation(CxImage& picture, int orientation);
// Turns the picture clockwise by degrees (quarter turns exactly, other angles by resampling).
void ApplyRotation(CxImage& picture, int degrees);
// Brightness, contrast, gamma and colour balance; false when the image module fails.
bool ApplyIntensity(CxImage& picture, const _tagPhotoIntensityParam& param);

}  // namespace pictavo::data
