// Reduced decoding for pictures shown smaller than they are stored.
#include <gtest/gtest.h>

#include "ImageFixtures.h"

using namespace imagetest;

namespace {

struct Case {
  long boxW, boxH;
  DWORD width, height;  // decoded size of an 800 x 600 JPEG
};
// The reduction is the largest of 1/2, 1/4, 1/8 that still covers the picture's fit into the box.
const Case kCases[] = {
    {0, 0, 800, 600},        // no box: whole
    {1000, 1000, 800, 600},  // box larger than the picture
    {800, 600, 800, 600},    //
    {401, 301, 800, 600},    // just over half: a half would be smaller than the fit
    {400, 300, 400, 300},    // half
    {400, 1000, 400, 300},   // the narrow side of the box decides
    {200, 150, 200, 150},    // quarter
    {199, 149, 200, 150},    //
    {100, 75, 100, 75},      // eighth, the most libjpeg offers
    {10, 10, 100, 75},       //
};

}  // namespace

TEST(ScaledDecoding, JpegIsDecodedAtTheReductionTheBoxAllows) {
  ScratchDir dir;
  const std::string file = dir / "photo.jpg";
  ASSERT_TRUE(Gradient(800, 600).Save(file.c_str(), CXIMAGE_FORMAT_JPG));
  const std::vector<BYTE> bytes = ReadFile(file);
  for (const Case& c : kCases) {
    CxImage image;
    ASSERT_TRUE(image.LoadScaled(file.c_str(), c.boxW, c.boxH)) << image.GetLastError();
    EXPECT_EQ(image.GetWidth(), c.width) << c.boxW << "x" << c.boxH;
    EXPECT_EQ(image.GetHeight(), c.height) << c.boxW << "x" << c.boxH;
    EXPECT_EQ(image.GetSourceWidth(), 800);
    EXPECT_EQ(image.GetSourceHeight(), 600);
    CxImage fromMemory;
    ASSERT_TRUE(fromMemory.DecodeScaled(bytes.data(), static_cast<DWORD>(bytes.size()), c.boxW, c.boxH));
    EXPECT_EQ(fromMemory.GetWidth(), c.width);
  }
}

TEST(ScaledDecoding, OddSizesRoundUpAndOtherFormatsLoadWhole) {
  ScratchDir dir;
  const std::string jpg = dir / "odd.jpg", png = dir / "odd.png";
  ASSERT_TRUE(Gradient(801, 601).Save(jpg.c_str(), CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(Gradient(801, 601).Save(png.c_str(), CXIMAGE_FORMAT_PNG));
  CxImage image;
  ASSERT_TRUE(image.LoadScaled(jpg.c_str(), 400, 300));
  EXPECT_EQ(image.GetWidth(), 401u);
  EXPECT_EQ(image.GetHeight(), 301u);
  ASSERT_TRUE(image.LoadScaled(png.c_str(), 100, 75));
  EXPECT_EQ(image.GetWidth(), 801u);
}

TEST(ScaledDecoding, ReducedPictureMatchesTheWholeOneShrunk) {
  ScratchDir dir;
  const std::string file = dir / "photo.jpg";
  ASSERT_TRUE(Gradient(640, 480).Save(file.c_str(), CXIMAGE_FORMAT_JPG));
  CxImage whole, reduced;
  ASSERT_TRUE(whole.Load(file.c_str()));
  ASSERT_TRUE(reduced.LoadScaled(file.c_str(), 160, 120));
  ASSERT_EQ(reduced.GetWidth(), 160u);
  ASSERT_TRUE(whole.Resample(160, 120, CXIMAGE_RESAMPLE_BILINEAR));
  EXPECT_LE(MaxDifference(reduced, whole), 6);
}
