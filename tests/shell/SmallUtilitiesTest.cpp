// The shared small helpers: time texts, frames cut from a strip, images out of an image list and
// bitmaps beside the executable.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/comctl/AfxImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Module.h"
#include "platform/mfc/Dc.h"
#include "shell/SmallUtilities.h"

namespace {

TEST(FormatMilliseconds, MinutesBelowAnHourHoursFromThere) {
  struct Case {
    DWORD ms;
    const char* text;
  };
  const Case cases[] = {
      {0, "00:00"},          {999, "00:00"},           {59999, "00:59"},      {61000, "01:01"},
      {3599999, "59:59"},    {3600000, "01:00:00"},    {5400000, "01:30:00"}, {3661000, "01:01:01"},
      {7199999, "01:59:59"}, {360000000, "100:00:00"},
  };
  for (const auto& c : cases) {
    CString text = "old";
    FormatMilliseconds(c.ms, text);
    EXPECT_STREQ(static_cast<LPCTSTR>(text), c.text) << c.ms;
  }
}

// A 32-bit bitmap whose pixel (x, y) has the colour colour(x, y).
template <class Colour>
HBITMAP MakeBitmap(int width, int height, Colour colour) {
  std::vector<DWORD> bits(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      bits[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);  // BGRX in memory
    }
  return CreateBitmap(width, height, 1, 32, bits.data());
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return colour;
}

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

// Frame i of the strip is red 40·i + x, green y: every pixel tells where it came from.
COLORREF StripColour(int x, int y) {
  return RGB(x * 10, y * 50, 200);
}

TEST(CutBitmapFrame, CopiesTheFrameAtItsIndex) {
  CBitmap strip;
  strip.Attach(MakeBitmap(14, 3, StripColour));  // three whole frames of 4 and 2 pixels over
  for (int index = 0; index < 3; ++index) {
    HBITMAP frame = CutBitmapFrame(&strip, 4, index);
    ASSERT_NE(frame, nullptr) << index;
    const SIZE size = SizeOf(frame);
    EXPECT_EQ(size.cx, 4);
    EXPECT_EQ(size.cy, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(PixelOf(frame, x, y), StripColour(4 * index + x, y)) << index << " " << x << "," << y;
    DeleteObject(frame);
  }
}

TEST(CutBitmapFrame, NullOutsideTheStrip) {
  CBitmap strip;
  strip.Attach(MakeBitmap(14, 3, StripColour));
  struct Case {
    int frameWidth, index;
  };
  const Case cases[] = {{4, 3}, {4, -1}, {15, 0}, {0, 0}, {-4, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(CutBitmapFrame(&strip, c.frameWidth, c.index), nullptr) << c.frameWidth;
  EXPECT_EQ(CutBitmapFrame(nullptr, 4, 0), nullptr);
}

TEST(ImageListImageToBitmap, DrawsTheWantedImageAndLeavesTheListAlone) {
  CImageList list;
  ASSERT_TRUE(list.Create(3, 2, ILC_COLOR32, 3, 0));
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  for (COLORREF colour : colours) {
    CBitmap image;
    image.Attach(MakeBitmap(3, 2, [colour](int, int) { return colour; }));
    ASSERT_GE(list.Add(&image, static_cast<CBitmap*>(nullptr)), 0);
  }
  // A memory DC would give monochrome bitmaps; the screen's gives colour ones.
  CWindowDC dc(nullptr);
  for (int index = 0; index < 3; ++index) {
    CBitmap bitmap;
    ASSERT_TRUE(ImageListImageToBitmap(&dc, &list, index, bitmap)) << index;
    const SIZE size = SizeOf(bitmap);
    EXPECT_EQ(size.cx, 3);
    EXPECT_EQ(size.cy, 2);
    EXPECT_EQ(PixelOf(bitmap, 2, 1), colours[index]) << index;
  }
  CBitmap first;
  ASSERT_TRUE(ImageListImageToBitmap(&dc, &list, 0, first));
  EXPECT_EQ(PixelOf(first, 0, 0), colours[0]);  // the swaps happened in copies

  CBitmap none;
  EXPECT_FALSE(ImageListImageToBitmap(&dc, &list, 7, none));
  EXPECT_EQ(none.GetSafeHandle(), nullptr);
}

TEST(LoadBitmapFromExeFolder, LoadsBesideTheExecutableOrKeepsTheOldBitmap) {
  const std::string name = "small_utilities_" + std::to_string(getpid()) + ".bmp";
  const std::string path = pictavo::ExecutableFolder() + "/" + name;
  {
    const int width = 5, height = 2, stride = 16;  // 24-bit rows padded to 4 bytes
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB,
                          stride * height,          0,     0,      0, 0};
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<unsigned char> pixels(stride * height, 0x80);
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), pixels.size(), 1, out);
    std::fclose(out);
  }
  CBitmap bitmap;
  bitmap.Attach(MakeBitmap(1, 1, [](int, int) { return RGB(1, 2, 3); }));
  const HGDIOBJ before = bitmap.GetSafeHandle();

  EXPECT_FALSE(LoadBitmapFromExeFolder("no_such_picture.bmp", bitmap));
  EXPECT_EQ(bitmap.GetSafeHandle(), before);

  EXPECT_TRUE(LoadBitmapFromExeFolder(name.c_str(), bitmap));
  EXPECT_NE(bitmap.GetSafeHandle(), before);
  const SIZE size = SizeOf(bitmap);
  EXPECT_EQ(size.cx, 5);
  EXPECT_EQ(size.cy, 2);
  EXPECT_EQ(PixelOf(bitmap, 4, 1), RGB(0x80, 0x80, 0x80));
  std::remove(path.c_str());
}

}  // namespace
