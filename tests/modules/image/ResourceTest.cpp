// Pictures kept as resources ("JPG" raw resources), as the program loads its built-in photos.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "modules/image/CxImage.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"

namespace {

TEST(ImageResource, AJpgResourceDecodesAndAMissingOneFails) {
  const auto root = std::filesystem::temp_directory_path() / ("imgres-" + std::to_string(getpid()));
  std::filesystem::create_directories(root / "images");
  CxImage picture;
  ASSERT_TRUE(picture.Create(64, 48, 24));
  for (long y = 0; y < 48; ++y)
    for (long x = 0; x < 64; ++x) picture.SetPixelColor(x, y, RGBQUAD{0, 0, 200, 0});
  ASSERT_TRUE(picture.Save((root / "images" / "photo.jpg").string().c_str(), CXIMAGE_FORMAT_JPG));
  std::ofstream((root / "pictures.xml").string())
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<resources version=\"1\">\n"
         "  <raw type=\"JPG\" id=\"295\" file=\"images/photo.jpg\"/>\n</resources>\n";
  pictavo::res::SetResourceRoot(root.string());

  CxImage loaded;
  HRSRC resource = FindResource(nullptr, MAKEINTRESOURCE(295), "JPG");
  ASSERT_NE(resource, nullptr);
  ASSERT_TRUE(loaded.LoadResource(resource, CXIMAGE_FORMAT_JPG, nullptr));
  EXPECT_EQ(loaded.GetWidth(), 64u);
  EXPECT_EQ(loaded.GetHeight(), 48u);
  const RGBQUAD centre = loaded.GetPixelColor(32, 24);
  EXPECT_GT(centre.rgbRed, 150);  // the red picture survived the JPEG round trip
  EXPECT_LT(centre.rgbBlue, 60);

  CxImage missing;
  EXPECT_FALSE(missing.LoadResource(FindResource(nullptr, MAKEINTRESOURCE(296), "JPG"), CXIMAGE_FORMAT_JPG));
  EXPECT_FALSE(missing.IsValid());
  std::filesystem::remove_all(root);
}

}  // namespace
