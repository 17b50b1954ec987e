#include "modules/data/Thumbnail.h"

#include <algorithm>
#include <cmath>

#include "modules/data/DVDImage.h"
#include "modules/data/PictureOps.h"
#include "modules/image/CxImage.h"

namespace pictavo::data {

ThumbnailRecipe RecipeOf(const CDVDImage& slide) {
  ThumbnailRecipe recipe;
  recipe.path = slide.Get_strPathName().View();
  recipe.imageType = slide.Get_nImageType();
  recipe.background = slide.Get_clrBackground();
  recipe.rotation = slide.Get_nRotateAngle();
  if (const _tagPhotoIntensityParam* p = slide.Get_pPhotoIntensityParam()) recipe.intensity = *p;
  recipe.autoExposure = slide.Get_bAutoExposure() != FALSE;
  recipe.look = slide.GetLookStamp();
  return recipe;
}

ThumbnailResult MakeThumbnail(const ThumbnailRecipe& recipe) {
  ThumbnailResult result;
  auto picture = std::make_unique<CxImage>();
  if (recipe.imageType == DVD_IMAGE_BLANK_COLOR) {
    picture->Create(kThumbnailWidth, kThumbnailHeight, 24);
    picture->Fill(recipe.background);
    result.picture = std::move(picture);
    return result;
  }
  const int turns = ((recipe.rotation % 360) + 360) % 360;
  const bool sideways = turns == 90 || turns == 270;
  if (!picture->LoadScaled(recipe.path.c_str(), sideways ? kThumbnailHeight : kThumbnailWidth,
                           sideways ? kThumbnailWidth : kThumbnailHeight)) {
    result.error = picture->GetLastError();
    return result;
  }
  result.width = picture->GetSourceWidth();
  result.height = picture->GetSourceHeight();
  const EXIFINFO* exif = picture->GetExifInfo();
  if (exif != nullptr && exif->IsExif) ApplyOrientation(*picture, exif->Orientation);
  // Shrink before turning and adjusting: the rest is then quick.
  const double scale =
      std::min({1.0, static_cast<double>(sideways ? kThumbnailHeight : kThumbnailWidth) / picture->GetWidth(),
                static_cast<double>(sideways ? kThumbnailWidth : kThumbnailHeight) / picture->GetHeight()});
  if (scale < 1.0)
    picture->Resample(std::max(1L, std::lround(picture->GetWidth() * scale)),
                      std::max(1L, std::lround(picture->GetHeight() * scale)), CXIMAGE_RESAMPLE_BILINEAR);
  ApplyRotation(*picture, recipe.rotation);
  if (recipe.intensity) ApplyIntensity(*picture, *recipe.intensity);
  if (recipe.autoExposure) picture->HistogramStretch();
  result.dateTime = CDVDImage::ReadPhotoDateTime(recipe.path.c_str());
  result.picture = std::move(picture);
  return result;
}

}  // namespace pictavo::data
