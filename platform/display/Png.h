// PNG files of 32-bit surfaces.
#pragma once

#include <string>

namespace pictavo::gdi {
class Surface;
}

namespace pictavo::display {

// Writes the surface as an 8-bit RGB PNG, through a temporary file renamed over `path`. False
// with the last error set on failure; nothing is left behind then.
bool WritePng(const gdi::Surface& surface, const std::string& path);

}  // namespace pictavo::display
