// Compares a part of the desktop with a checked-in reference picture, pixel for pixel.
// PICTAVO_WRITE_REFERENCES=1 writes the reference anew from the snapshot (look at it first).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace pictavo::test {

// Saves `area` as the snapshot `name` and counts the pixels that differ from `reference` (all of
// them when it is missing or of another size).
inline int DesktopAreaDifferences(const RECT& area, const std::string& name, const std::string& reference) {
  const int all = (area.right - area.left) * (area.bottom - area.top);
  const std::string shot = SaveDesktopArea(area, name);
  if (shot.empty()) return all;
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  if (flag != nullptr && std::string(flag) == "1")
    std::filesystem::copy_file(shot, reference, std::filesystem::copy_options::overwrite_existing);
  Picture got, want;
  if (!ReadPng(shot, &got) || !ReadPng(reference, &want) || got.width != want.width ||
      got.height != want.height)
    return all;
  int differ = 0;
  for (int y = 0; y < got.height; ++y)
    for (int x = 0; x < got.width; ++x) differ += got.At(x, y) != want.At(x, y);
  return differ;
}

}  // namespace pictavo::test
