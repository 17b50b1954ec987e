// A sheet of the pieces a visual manager draws (tabs, spins, header items, combo buttons, status
// panes, menu items and toolbar buttons in their states), painted side by side on one canvas, and
// the reference pictures the managers' sheets are compared with.
#pragma once

#include <png.h>

#include <cstdlib>
#include <string>

#include "tests/support/Canvas.h"
#include "tests/support/PngPicture.h"

class CPlxVisualManager;

namespace pictavo::test {

constexpr int kSheetWidth = 232;
constexpr int kSheetHeight = 132;

// Paints every piece with `manager` on the canvas (which holds a sheet-sized area).
void PaintManagerSheet(CPlxVisualManager* manager, Canvas& canvas);

// The folder of the checked-in reference pictures.
inline std::string ReferencePath(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/core/reference/" + name;
}

// Writes the canvas as an RGB PNG.
inline bool WriteCanvasPng(const Canvas& canvas, const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(canvas.Width());
  image.height = static_cast<png_uint_32>(canvas.Height());
  image.format = PNG_FORMAT_RGB;
  std::string rgb;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      const COLORREF c = canvas.At(x, y);
      rgb.push_back(static_cast<char>(GetRValue(c)));
      rgb.push_back(static_cast<char>(GetGValue(c)));
      rgb.push_back(static_cast<char>(GetBValue(c)));
    }
  return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

// How many pixels of the canvas differ from the reference picture (all of them when it is missing
// or of another size).
inline int CountDifferences(const Canvas& canvas, const std::string& reference) {
  Picture picture;
  if (!ReadPng(reference, &picture) || picture.width != canvas.Width() || picture.height != canvas.Height())
    return canvas.Width() * canvas.Height();
  int differ = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) differ += canvas.At(x, y) != picture.At(x, y);
  return differ;
}

}  // namespace pictavo::test
