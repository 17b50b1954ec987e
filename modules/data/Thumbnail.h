// Thumbnails of slides: what a thumbnail is made from (taken from the slide on the thread that
// owns it) and making one from that on any thread.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "modules/data/PhotoParams.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CDVDImage;
class CxImage;

namespace pictavo::data {

// Thumbnails fit this box (the lists show them at 104 x 78 and smaller).
inline constexpr int kThumbnailWidth = 160;
inline constexpr int kThumbnailHeight = 120;

struct ThumbnailRecipe {
  std::string path;
  int imageType = 0;
  COLORREF background = 0;  // of a blank colour slide
  int rotation = 0;
  std::optional<_tagPhotoIntensityParam> intensity;
  bool autoExposure = false;
  DWORD look = 0;  // the slide's look stamp when the recipe was taken
};

ThumbnailRecipe RecipeOf(const CDVDImage& slide);

struct ThumbnailResult {
  std::unique_ptr<CxImage> picture;  // null when the file could not be read
  int width = 0;                     // the photo's own pixels, 0 when unknown
  int height = 0;
  CString dateTime;  // the date the photo was taken (EXIF), else the file's date
  std::string error;
};

// Decodes reduced, turns by the EXIF orientation and the rotation, applies the adjustments and
// fits the result into kThumbnailWidth x kThumbnailHeight.
ThumbnailResult MakeThumbnail(const ThumbnailRecipe& recipe);

}  // namespace pictavo::data
