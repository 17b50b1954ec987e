// What the program reads from a photo's EXIF block: how the camera was held and when the photo
// was taken. The block is parsed here, bounds-checked, from the APP1 segment of a JPEG file.
#pragma once

#include <cstddef>
#include <functional>
#include <span>

#include "platform/base/WinTypes.h"

struct EXIFINFO {
  BOOL IsExif;        // an EXIF block was found and read
  int Orientation;    // 1 to 8 as the camera wrote it (1 = upright); 0 when not given
  char DateTime[20];  // "YYYY:MM:DD HH:MM:SS" when the photo was taken; "" when not given
};

namespace pictavo::image {

// Reads the APP1 payload (starting with "Exif\0\0") into `info`. Returns FALSE, with `info`
// cleared, when the payload is not an EXIF block or is malformed.
bool ParseExif(std::span<const BYTE> app1, EXIFINFO& info);

// Reads `length` bytes at `offset` of a JPEG stream; false past its end.
using ByteReader = std::function<bool(size_t offset, size_t length, BYTE* out)>;

// Walks the marker segments at the head of a JPEG stream up to the first scan and parses the
// first EXIF APP1 segment found. FALSE when there is none or the stream is not a JPEG.
bool FindExif(const ByteReader& read, EXIFINFO& info);

}  // namespace pictavo::image
