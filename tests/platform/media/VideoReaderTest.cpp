// Decoding video to 32-bit frames: the frame on screen at a time, scaled sizes, one frame after
// another, frames into surfaces and DIBs, and files without video.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/media/VideoReader.h"
#include "tests/platform/media/MediaFixtures.h"

namespace {

using pictavo::media::FromMilliseconds;
using pictavo::media::MediaError;
using pictavo::media::VideoFrame;
using pictavo::media::VideoReader;
using pictavo::media::VideoResult;
using namespace media_test;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kLime = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;

// Colours survive the trip through YUV 4:2:0 to within a few steps.
::testing::AssertionResult IsColour(uint32_t pixel, uint32_t rgb) {
  for (int shift : {16, 8, 0}) {
    const int got = static_cast<int>((pixel >> shift) & 0xFF);
    const int want = static_cast<int>((rgb >> shift) & 0xFF);
    if (std::abs(got - want) > 12)
      return ::testing::AssertionFailure()
             << std::hex << "pixel 0x" << (pixel & 0xFFFFFF) << " is not 0x" << rgb;
  }
  return ::testing::AssertionSuccess();
}

TEST(VideoReader, FrameAtShowsWhatIsOnScreenAtThatTime) {
  struct Case {
    int64_t ms;
    uint32_t colour;
    int64_t frameMs;  // the start of the frame on screen
  };
  // In this order: forwards, backwards (a seek to the key frame), on a boundary, just before it.
  const Case cases[] = {
      {500, kRed, 480}, {1500, kLime, 1480}, {2500, kBlue, 2480}, {500, kRed, 480},    {1000, kLime, 1000},
      {999, kRed, 960}, {0, kRed, 0},        {2990, kBlue, 2960}, {9000, kBlue, 2960},
  };
  auto reader = VideoReader::Open(ColoursMp4());
  ASSERT_TRUE(reader);
  for (const Case& c : cases) {
    VideoFrame frame;
    ASSERT_EQ(reader->FrameAt(FromMilliseconds(c.ms), frame), VideoResult::kFrame) << c.ms;
    EXPECT_EQ(frame.width, 160);
    EXPECT_EQ(frame.height, 120);
    EXPECT_EQ(frame.time, FromMilliseconds(c.frameMs)) << c.ms;
    EXPECT_TRUE(IsColour(frame.Pixel(80, 60), c.colour)) << c.ms;
    EXPECT_TRUE(IsColour(frame.Pixel(0, 0), c.colour)) << c.ms;
    EXPECT_EQ(frame.Pixel(5, 5) >> 24, 0xFFu) << "opaque";
  }
}

TEST(VideoReader, FramesAreScaledToTheRequestedSize) {
  struct Case {
    int width, height;
  };
  const Case cases[] = {{64, 48}, {320, 240}, {33, 17}, {160, 120}};
  auto reader = VideoReader::Open(ColoursMp4());
  ASSERT_TRUE(reader);
  for (const Case& c : cases) {
    VideoFrame frame;
    ASSERT_EQ(reader->FrameAt(FromMilliseconds(1500), frame, c.width, c.height), VideoResult::kFrame);
    EXPECT_EQ(frame.width, c.width);
    EXPECT_EQ(frame.height, c.height);
    ASSERT_EQ(frame.pixels.size(), static_cast<size_t>(c.width * c.height));
    EXPECT_TRUE(IsColour(frame.Pixel(c.width - 1, c.height - 1), kLime)) << c.width << "x" << c.height;
  }
}

TEST(VideoReader, NextFrameWalksEveryFrameInOrder) {
  auto reader = VideoReader::Open(ColoursMp4());
  ASSERT_TRUE(reader);
  VideoFrame frame;
  int count = 0;
  VideoResult result;
  while ((result = reader->NextFrame(frame, 16, 12)) == VideoResult::kFrame) {
    EXPECT_EQ(frame.time, FromMilliseconds(40 * count)) << count;
    EXPECT_EQ(frame.duration, FromMilliseconds(40));
    ++count;
  }
  EXPECT_EQ(result, VideoResult::kEnd);
  EXPECT_EQ(count, 75);
  EXPECT_EQ(reader->NextFrame(frame), VideoResult::kEnd);

  // A seek after the end starts over.
  ASSERT_TRUE(reader->Seek(FromMilliseconds(2000)));
  ASSERT_EQ(reader->NextFrame(frame), VideoResult::kFrame);
  EXPECT_EQ(frame.time, FromMilliseconds(2000));
  EXPECT_TRUE(IsColour(frame.Pixel(1, 1), kBlue));
  ASSERT_EQ(reader->NextFrame(frame), VideoResult::kFrame);
  EXPECT_EQ(frame.time, FromMilliseconds(2040));
}

TEST(VideoReader, FrameAtFillsASurfaceOfEitherLayout) {
  auto reader = VideoReader::Open(ColoursMp4());
  ASSERT_TRUE(reader);
  // A top-down surface of its own, and a bottom-up one over memory like a bottom-up DIB's.
  auto topDown = std::make_shared<pictavo::gdi::Surface>(40, 30);
  std::vector<uint32_t> memory(40 * 30, 0);
  auto bottomUp = std::make_shared<pictavo::gdi::Surface>(memory.data(), 40, 30, 40 * 4, true, nullptr);
  for (auto* surface : {topDown.get(), bottomUp.get()}) {
    ASSERT_EQ(reader->FrameAt(FromMilliseconds(2200), *surface), VideoResult::kFrame);
    EXPECT_TRUE(IsColour(surface->Row(0)[0], kBlue));
    EXPECT_TRUE(IsColour(surface->Row(29)[39], kBlue));
  }
  EXPECT_TRUE(IsColour(memory[0], kBlue)) << "the bottom row is first in memory";
}

TEST(VideoReader, AFrameBecomesADibSection) {
  auto reader = VideoReader::Open(ColoursMp4());
  ASSERT_TRUE(reader);
  VideoFrame frame;
  ASSERT_EQ(reader->FrameAt(FromMilliseconds(300), frame, 20, 10), VideoResult::kFrame);
  HBITMAP dib = pictavo::media::CreateFrameDib(frame);
  ASSERT_TRUE(dib);
  BITMAP info{};
  ASSERT_EQ(GetObject(dib, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 20);
  EXPECT_EQ(info.bmHeight, 10);
  EXPECT_EQ(info.bmBitsPixel, 32);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  const COLORREF pixel = GetPixel(dc, 19, 9);
  EXPECT_TRUE(IsColour(pictavo::gdi::PixelFromColor(pixel), kRed));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);

  EXPECT_EQ(pictavo::media::CreateFrameDib(VideoFrame{}), nullptr);
}

TEST(VideoReader, FilesWithoutPicturesFailWithAReason) {
  struct Case {
    std::string name;
    std::string path;
    DWORD code;
  };
  const Case cases[] = {
      {"sound only", ToneMp3(), ERROR_NOT_SUPPORTED},
      {"missing", FixtureFolder::Get() / "gone.mp4", ERROR_FILE_NOT_FOUND},
      {"noise", WriteFile("noise.mp4", std::string(10000, '\x01')), ERROR_BAD_FORMAT},
  };
  for (const Case& c : cases) {
    MediaError error;
    EXPECT_FALSE(VideoReader::Open(c.path, &error)) << c.name;
    EXPECT_EQ(error.code, c.code) << c.name << ": " << error.message;
    EXPECT_FALSE(error.message.empty());
  }
}

}  // namespace
