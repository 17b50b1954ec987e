// The memory layout handed to the DIB drawing calls and the frame writer, checked byte by byte.
#include <gtest/gtest.h>

#include <cstring>

#include "ImageFixtures.h"

using namespace imagetest;

TEST(ImageLayout, HeaderAndRowPadding) {
  struct Case {
    DWORD width, height, stride;
  };
  const Case kCases[] = {{1, 1, 4},  {2, 3, 8},  {3, 2, 12},      {4, 1, 12},
                         {5, 5, 16}, {7, 2, 24}, {640, 480, 1920}};
  for (const Case& c : kCases) {
    CxImage image;
    ASSERT_NE(image.Create(c.width, c.height, 24), nullptr);
    EXPECT_EQ(image.GetEffWidth(), c.stride) << c.width;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(image.GetDIB());
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, static_cast<LONG>(c.width));
    EXPECT_EQ(header->biHeight, static_cast<LONG>(c.height));  // positive: bottom row first
    EXPECT_EQ(header->biPlanes, 1);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header->biSizeImage, c.stride * c.height);
    EXPECT_EQ(image.GetSize(), 40 + c.stride * c.height);
    EXPECT_EQ(image.GetBits(0), static_cast<BYTE*>(image.GetDIB()) + 40);
    EXPECT_EQ(image.GetBits(c.height - 1), image.GetBits(0) + c.stride * (c.height - 1));
    EXPECT_EQ(image.GetBits(c.height), nullptr);
    // A new picture is black, padding included.
    const BYTE* bits = image.GetBits(0);
    EXPECT_TRUE(std::all_of(bits, bits + c.stride * c.height, [](BYTE b) { return b == 0; }));
  }
  CxImage image;
  EXPECT_EQ(image.Create(4, 4, 8), nullptr);
  EXPECT_FALSE(image.IsValid());
  EXPECT_EQ(image.Create(0, 4, 24), nullptr);
  EXPECT_EQ(image.GetBits(0), nullptr);
}

TEST(ImageLayout, LoadedPicturesAreBottomUpBgrWithCleanPadding) {
  ScratchDir dir;
  // 5 x 3 with a red top-left pixel and a blue bottom-right one.
  CxImage source;
  source.Create(5, 3, 24);
  source.Fill(RGB(10, 20, 30));
  source.SetPixelColor(0, 2, RGB(255, 0, 0));
  source.SetPixelColor(4, 0, RGB(0, 0, 255));
  const std::string png = dir / "p.png";
  ASSERT_TRUE(source.Save(png.c_str(), CXIMAGE_FORMAT_PNG));
  for (const char* made : {"p.png", "p.bmp", "p.tif", "p.pcx"}) {
    const std::string file = dir / made;
    if (file != png)
      ASSERT_TRUE(Ffmpeg(png, file, {"-pix_fmt", std::string(made) == "p.bmp" ? "bgr24" : "rgb24"}));
    CxImage image;
    ASSERT_TRUE(image.Load(file.c_str())) << made;
    const BYTE* top = image.GetBits(2);
    const BYTE* bottom = image.GetBits(0);
    EXPECT_EQ(top[0], 0) << made;  // blue, green, red
    EXPECT_EQ(top[2], 255) << made;
    EXPECT_EQ(bottom[4 * 3], 255) << made;
    EXPECT_EQ(bottom[4 * 3 + 2], 0) << made;
    EXPECT_EQ(bottom[3], 30) << made;
    for (DWORD row = 0; row < 3; ++row)
      for (DWORD pad = 15; pad < image.GetEffWidth(); ++pad) EXPECT_EQ(image.GetBits(row)[pad], 0) << made;
  }
}

TEST(ImageLayout, ArraysBecomeRowsInTheirOwnOrderUnlessFlipped) {
  // Two rows of two pixels, 8 bytes per row with junk in the padding.
  const BYTE rows24[] = {1, 2, 3, 4, 5, 6, 99, 99, /**/ 7, 8, 9, 10, 11, 12, 99, 99};
  CxImage image;
  ASSERT_TRUE(image.CreateFromArray(rows24, 2, 2, 24, 8, false));
  EXPECT_EQ(image.GetBits(0)[0], 1);  // the array's first row is the bottom row
  EXPECT_EQ(image.GetBits(1)[3], 10);
  EXPECT_EQ(image.GetBits(0)[6], 0);  // padding is ours, not the caller's
  EXPECT_FALSE(image.AlphaIsValid());
  ASSERT_TRUE(image.CreateFromArray(rows24, 2, 2, 24, 8, true));
  EXPECT_EQ(image.GetBits(1)[0], 1);

  const BYTE rows32[] = {1, 2, 3, 200, 4, 5, 6, 100};
  ASSERT_TRUE(image.CreateFromArray(rows32, 2, 1, 32, 8, false));
  ASSERT_TRUE(image.AlphaIsValid());
  EXPECT_EQ(image.AlphaGet(0, 0), 200);
  EXPECT_EQ(image.GetPixelColor(1, 0).rgbReserved, 100);
  EXPECT_EQ(image.GetBits(0)[3], 4);

  EXPECT_FALSE(image.CreateFromArray(rows24, 2, 2, 16, 8, false));
  EXPECT_FALSE(image.CreateFromArray(rows24, 3, 2, 24, 8, false));  // rows too short
  EXPECT_FALSE(image.CreateFromArray(nullptr, 2, 2, 24, 8, false));
}

TEST(ImageLayout, PixelAccessCountsRowsFromTheBottom) {
  CxImage image = Gradient(6, 4);
  const RGBQUAD topLeft = GradientAt(0, 0, 6, 4);
  const RGBQUAD bottomRight = GradientAt(5, 3, 6, 4);
  EXPECT_EQ(image.GetPixelColor(0, 3).rgbGreen, topLeft.rgbGreen);
  EXPECT_EQ(image.GetPixelColor(5, 0).rgbRed, bottomRight.rgbRed);
  EXPECT_EQ(image.GetPixelColor(0, 0, true).rgbReserved, 255);  // opaque without an alpha plane
  EXPECT_EQ(image.GetPixelColor(0, 0, false).rgbReserved, 0);

  image.SetBkColor(RGB(1, 2, 3));
  const RGBQUAD outside = image.GetPixelColor(6, 0);
  EXPECT_EQ(outside.rgbRed, 1);
  EXPECT_EQ(outside.rgbBlue, 3);
  image.SetPixelColor(-1, 0, RGB(9, 9, 9));  // ignored
  EXPECT_FALSE(image.IsInside(0, 4));
}

TEST(ImageLayout, CopiesAreIndependentAndTransferMoves) {
  CxImage original = Gradient(8, 8, true);
  original.SetBkColor(RGB(4, 5, 6));
  CxImage copy(original);
  copy.SetPixelColor(0, 0, RGB(1, 1, 1));
  EXPECT_NE(original.GetPixelColor(0, 0).rgbRed, 1);
  EXPECT_TRUE(copy.AlphaIsValid());
  EXPECT_EQ(copy.GetBkColor().rgbGreen, 5);

  CxImage noAlpha;
  noAlpha.Copy(original, true, true, false);
  EXPECT_FALSE(noAlpha.AlphaIsValid());
  EXPECT_EQ(MaxDifference(noAlpha, original), 0);

  CxImage assigned;
  assigned = original;
  EXPECT_EQ(MaxDifference(assigned, original), 0);

  const void* pixels = original.GetDIB();
  CxImage target;
  ASSERT_TRUE(target.Transfer(original));
  EXPECT_EQ(target.GetDIB(), pixels);  // no copy
  EXPECT_FALSE(original.IsValid());
  EXPECT_TRUE(target.AlphaIsValid());

  CxImage empty;
  copy.Copy(empty);
  EXPECT_FALSE(copy.IsValid());
}

TEST(ImageLayout, FillClearAndAlphaPlane) {
  CxImage image;
  image.Create(3, 2, 24);
  image.Fill(RGB(10, 20, 30));
  EXPECT_EQ(image.GetBits(1)[6], 30);  // blue of the last pixel of the top row
  EXPECT_EQ(image.GetBits(1)[8], 10);
  EXPECT_EQ(image.GetBits(1)[9], 0);  // padding
  image.Clear(7);
  EXPECT_EQ(image.GetBits(0)[0], 7);
  EXPECT_EQ(image.GetBits(0)[9], 0);

  EXPECT_EQ(image.AlphaGetPointer(), nullptr);
  ASSERT_TRUE(image.AlphaCreate());
  EXPECT_EQ(image.AlphaGet(2, 1), 255);
  image.AlphaSet(100);
  image.AlphaSet(1, 0, 0);
  EXPECT_EQ(image.AlphaGet(0, 0), 100);
  EXPECT_EQ(*image.AlphaGetPointer(1, 0), 0);

  // Flattening blends over the background colour.
  image.Fill(RGB(200, 200, 200));
  image.SetBkColor(RGB(0, 0, 100));
  image.AlphaStrip();
  EXPECT_FALSE(image.AlphaIsValid());
  const RGBQUAD half = image.GetPixelColor(0, 0);
  EXPECT_EQ(half.rgbRed, (200 * 100 + 127) / 255);
  EXPECT_EQ(half.rgbBlue, (200 * 100 + 100 * 155 + 127) / 255);
  EXPECT_EQ(image.GetPixelColor(1, 0).rgbBlue, 100);  // fully transparent: the background
  image.AlphaDelete();
  EXPECT_TRUE(image.ConvertTo24Bits());
  EXPECT_EQ(image.GetBpp(), 24);
}
