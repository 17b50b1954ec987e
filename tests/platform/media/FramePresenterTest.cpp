// Showing frames in a window: creating the offscreen picture, copying or stretching DIBs into
// it, presenting it over the client area, and drawing decoded frames straight into a window.
#include <gtest/gtest.h>

#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/media/FramePresenter.h"
#include "platform/media/VideoReader.h"
#include "tests/platform/media/TestWindow.h"

namespace {

using media_test::TestWindow;
using pictavo::media::FramePresenter;
using pictavo::media::VideoFrame;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kLime = 0x00FF00;

// A 24-bit bottom-up DIB, as the renderers hand over their frames: left half red, right half
// blue, except the top row, which is lime.
struct Dib24 {
  Dib24(int width, int height) : info{}, bits(static_cast<size_t>(Stride(width) * height), 0) {
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    for (int row = 0; row < height; ++row) {  // row 0 is the bottom one
      for (int x = 0; x < width; ++x) {
        const uint32_t colour = row == height - 1 ? kLime : x < width / 2 ? kRed : kBlue;
        BYTE* p = bits.data() + row * Stride(width) + x * 3;
        p[0] = colour & 0xFF;
        p[1] = (colour >> 8) & 0xFF;
        p[2] = (colour >> 16) & 0xFF;
      }
    }
  }
  static int Stride(int width) { return (width * 3 + 3) & ~3; }

  BITMAPINFO info;
  std::vector<BYTE> bits;
};

TEST(FramePresenter, CreationNeedsAWindowAndAPictureSize) {
  TestWindow window(120, 90);
  TestWindow empty(0, 0);
  struct Case {
    const char* name;
    HWND hwnd;
    int width, height;
    bool created;
    SIZE size;
  };
  const Case cases[] = {
      {"no window", nullptr, 40, 30, false, {0, 0}},
      {"an empty client area, sizes from it", empty.Handle(), 0, 0, false, {0, 0}},
      {"sizes from the client area", window.Handle(), 0, 0, true, {120, 90}},
      {"a size of its own", window.Handle(), 40, 30, true, {40, 30}},
  };
  for (const Case& c : cases) {
    FramePresenter presenter;
    EXPECT_EQ(presenter.Create(c.hwnd, c.width, c.height), c.created) << c.name;
    EXPECT_EQ(presenter.IsCreated(), c.created) << c.name;
    EXPECT_EQ(presenter.PictureSize().cx, c.size.cx) << c.name;
    EXPECT_EQ(presenter.PictureSize().cy, c.size.cy) << c.name;
    EXPECT_EQ(presenter.OffscreenDC() != nullptr, c.created) << c.name;
    presenter.Release();
    presenter.Release();  // twice is harmless
    EXPECT_FALSE(presenter.IsCreated());
    EXPECT_FALSE(presenter.Present()) << "a released presenter shows nothing";
  }
}

TEST(FramePresenter, DibsAreCopiedOrStretchedThenPresentedOverTheClientArea) {
  struct Case {
    const char* name;
    int dibWidth, dibHeight;
  };
  const Case cases[] = {{"same size: copied", 40, 30}, {"half size: stretched", 20, 15}};
  for (const Case& c : cases) {
    TestWindow window(120, 90);
    window.Fill(RGB(0, 0, 0));
    FramePresenter presenter;
    ASSERT_TRUE(presenter.Create(window.Handle(), 40, 30));
    const Dib24 dib(c.dibWidth, c.dibHeight);
    EXPECT_TRUE(presenter.DrawDib(RECT{0, 0, 40, 30}, RECT{0, 0, c.dibWidth, c.dibHeight}, dib.bits.data(),
                                  &dib.info))
        << c.name;
    ASSERT_TRUE(presenter.Present()) << c.name;
    // The 40 x 30 picture is stretched three times onto the 120 x 90 window.
    EXPECT_EQ(window.PixelAt(10, 45), kRed) << c.name;
    EXPECT_EQ(window.PixelAt(110, 45), kBlue) << c.name;
    EXPECT_EQ(window.PixelAt(60, 0), kLime) << c.name << ": the DIB's last row is the top one";
    EXPECT_EQ(window.PixelAt(10, 89), kRed) << c.name;
  }
}

TEST(FramePresenter, APartOfADibGoesToAPartOfThePicture) {
  TestWindow window(40, 30);
  window.Fill(RGB(0, 0, 0));
  FramePresenter presenter;
  ASSERT_TRUE(presenter.Create(window.Handle(), 0, 0));
  const Dib24 dib(40, 30);
  // The right half of the DIB (blue) into the left half of the picture.
  ASSERT_TRUE(presenter.DrawDib(RECT{0, 1, 20, 30}, RECT{20, 1, 40, 30}, dib.bits.data(), &dib.info));
  ASSERT_TRUE(presenter.Present());
  EXPECT_EQ(window.PixelAt(5, 15), kBlue);
  EXPECT_EQ(window.PixelAt(30, 15), 0u) << "untouched";
}

TEST(FramePresenter, PresentingToADestroyedWindowFails) {
  auto window = std::make_unique<TestWindow>(50, 50);
  FramePresenter presenter;
  ASSERT_TRUE(presenter.Create(window->Handle(), 10, 10));
  window.reset();
  EXPECT_FALSE(presenter.Present());
}

TEST(PresentFrame, DrawsADecodedFrameIntoARectangleOfTheWindow) {
  TestWindow window(100, 100);
  window.Fill(RGB(0, 0, 0));
  VideoFrame frame;
  frame.width = 10;
  frame.height = 10;
  frame.pixels.assign(100, 0xFF00FF00);
  struct Case {
    RECT dest;
    POINT inside;
  };
  const Case cases[] = {{{20, 20, 30, 30}, {25, 25}}, {{50, 10, 90, 30}, {85, 28}}};
  for (const Case& c : cases) {
    ASSERT_TRUE(pictavo::media::PresentFrame(window.Handle(), c.dest, frame));
    EXPECT_EQ(window.PixelAt(c.inside.x, c.inside.y), kLime);
  }
  EXPECT_EQ(window.PixelAt(5, 5), 0u);
  EXPECT_FALSE(pictavo::media::PresentFrame(window.Handle(), RECT{0, 0, 10, 10}, VideoFrame{}));
}

}  // namespace
