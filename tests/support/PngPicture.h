// An RGB picture read back from a PNG file, such as a snapshot of the headless display. Only the
// binaries that include this need libpng.
#pragma once

#include <png.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::test {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<png_byte> rgb;  // three bytes a pixel, rows from the top

  COLORREF At(int x, int y) const {
    const png_byte* p =
        &rgb[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3];
    return RGB(p[0], p[1], p[2]);
  }
};

inline bool ReadPng(const std::string& path, Picture* picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  picture->width = static_cast<int>(image.width);
  picture->height = static_cast<int>(image.height);
  picture->rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, picture->rgb.data(), 0, nullptr) != 0;
}

}  // namespace pictavo::test
