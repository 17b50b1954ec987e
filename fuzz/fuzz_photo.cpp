// Photos as the program opens them: by path, the format found from the content, whole or scaled
// down for a thumbnail, with the EXIF orientation.
#include "fuzz/FuzzSupport.h"
#include "modules/image/CxImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = pictavo::fuzz::WriteInput("photo", {data, size});
  CxImage image;
  if (image.Load(path.c_str())) {
    pictavo::fuzz::Check(image.IsValid() && image.GetWidth() > 0 && image.GetHeight() > 0,
                         "a photo loads without pixels");
  }
  CxImage thumbnail;
  if (thumbnail.LoadScaled(path.c_str(), 64, 48)) {
    pictavo::fuzz::Check(thumbnail.GetWidth() > 0 && thumbnail.GetHeight() > 0,
                         "a thumbnail loads without pixels");
  }
  EXIFINFO exif{};
  (void)CxImage::ReadExifInfo(path.c_str(), &exif);
  return 0;
}
