// Compares a part of the screen with a checked-in picture of tests/toolkit/customize/reference;
// PICTAVO_WRITE_REFERENCES=1 writes the pictures anew. The snapshot stays in test-output.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"

namespace colourtest {

inline void CheckPicture(const RECT& area, const std::string& name) {
  const std::string path = pictavo::test::SaveDesktopArea(area, name);
  ASSERT_FALSE(path.empty());
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
  pictavo::test::Canvas canvas(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const COLORREF c = picture.At(x, y);
      canvas.Pixel(x, y) = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  const std::string reference =
      std::string(source ? source : ".") + "/tests/toolkit/customize/reference/" + name;
  const char* write = std::getenv("PICTAVO_WRITE_REFERENCES");
  if (write != nullptr && std::string(write) == "1")
    ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
  EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
}

}  // namespace colourtest
