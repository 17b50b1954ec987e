#include "platform/res/IconDirectory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pictavo::res {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint16_t Read16(std::span<const BYTE> bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

uint32_t Read32(std::span<const BYTE> bytes, size_t offset) {
  return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
         (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

}  // namespace

std::optional<std::vector<IconImage>> ReadIconDirectory(std::span<const BYTE> file, bool cursor,
                                                        std::string& error) {
  if (file.size() < kHeaderSize || Read16(file, 0) != 0 || (Read16(file, 2) != 1 && Read16(file, 2) != 2)) {
    error = "not an icon or cursor file";
    return std::nullopt;
  }
  if ((Read16(file, 2) == 2) != cursor) {
    error = cursor ? "an icon file where a cursor file belongs" : "a cursor file where an icon file belongs";
    return std::nullopt;
  }
  const size_t count = Read16(file, 4);
  if (count == 0 || kHeaderSize + count * kEntrySize > file.size()) {
    error = "the image directory is empty or runs past the end of the file";
    return std::nullopt;
  }
  std::vector<IconImage> images;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = kHeaderSize + i * kEntrySize;
    const uint32_t size = Read32(file, at + 8);
    const uint32_t offset = Read32(file, at + 12);
    if (offset < kHeaderSize + count * kEntrySize || offset > file.size() || size > file.size() - offset ||
        size < 40) {
      error = "image " + std::to_string(i) + " lies outside the file";
      return std::nullopt;
    }
    IconImage image;
    image.bits = file.subspan(offset, size);
    image.png = std::memcmp(image.bits.data(), kPngSignature, sizeof kPngSignature) == 0;
    // A byte of 0 in the directory means 256 pixels.
    image.width = file[at] == 0 ? 256 : file[at];
    image.height = file[at + 1] == 0 ? 256 : file[at + 1];
    if (cursor) image.hotspot = POINT{Read16(file, at + 4), Read16(file, at + 6)};
    if (image.png) {
      image.bitCount = 32;
    } else {
      if (Read32(image.bits, 0) < 40) {
        error = "image " + std::to_string(i) + " has no bitmap header";
        return std::nullopt;
      }
      image.bitCount = Read16(image.bits, 14);
    }
    images.push_back(image);
  }
  return images;
}

size_t ChooseIconImage(const std::vector<IconImage>& images, int cx, int cy) {
  if (cx == 0 && cy == 0) return 0;
  std::optional<size_t> exact, larger, largest;
  for (size_t i = 0; i < images.size(); ++i) {
    const IconImage& image = images[i];
    if (image.width == cx && image.height == cy) {
      if (!exact || image.bitCount > images[*exact].bitCount) exact = i;
    } else if (image.width >= cx && image.height >= cy) {
      const IconImage* best = larger ? &images[*larger] : nullptr;
      if (!best || image.width * image.height < best->width * best->height ||
          (image.width * image.height == best->width * best->height && image.bitCount > best->bitCount))
        larger = i;
    }
    if (!largest || image.width * image.height > images[*largest].width * images[*largest].height)
      largest = i;
  }
  return exact ? *exact : larger ? *larger : *largest;
}

}  // namespace pictavo::res
