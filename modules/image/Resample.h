// Resizing of a raster. Nearest is a plain index map; the filtered modes are separable
// convolutions with integer weights, widened when shrinking so every source pixel counts
// (no aliasing on large reductions such as photo to thumbnail).
#pragma once

#include <string>

#include "modules/image/Raster.h"

namespace pictavo::image {

enum class Filter { Nearest, Bilinear, Bicubic };

// Resizes `src` into a new raster `dst` of width x height (which must not be `src`); the alpha
// plane follows when there is one.
[[nodiscard]] bool ResampleRaster(const Raster& src, int width, int height, Filter filter, Raster& dst,
                                  std::string& error);

}  // namespace pictavo::image
