// The built-in transitions: the list, the first and last frames, determinism, and the frame
// plumbing every transition shares (sizes, missing pictures, drawing into a DC).
#include <gtest/gtest.h>

#include <set>

#include "EffectsFixtures.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

using namespace effectstest;

TEST(TransitionList, NamesAndInfo) {
  _tagTransitionLibInfo info{};
  const int count = Mossen_GetTransitionLibInfo(&info, nullptr);
  EXPECT_GE(count, 40);
  EXPECT_EQ(info.nCount, count);
  EXPECT_EQ(info.dwAbiVersion, kTransitionAbiVersion);
  EXPECT_STREQ(info.szLibName, "TransitionLib");

  std::vector<TransitionEntryFactory> factories(static_cast<size_t>(count), nullptr);
  EXPECT_EQ(Mossen_GetTransitionLibInfo(&info, factories.data()), count);
  std::set<std::string> names;
  std::set<TransitionEntryFactory> distinct;
  for (int k = 0; k < count; ++k) {
    std::unique_ptr<CTransition> transition(factories[static_cast<size_t>(k)]());
    ASSERT_NE(transition, nullptr) << k;
    const std::string name = NameOf(*transition);
    EXPECT_FALSE(name.empty()) << k;
    EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    EXPECT_EQ(transition->GetBitmapTag(), k) << name;  // the icon cell is the list position
    distinct.insert(factories[static_cast<size_t>(k)]);
  }
  EXPECT_EQ(static_cast<int>(distinct.size()), count);
  std::unique_ptr<CTransition> first(factories[0]());
  EXPECT_EQ(NameOf(*first), "None");
}

TEST(TransitionList, NameIsCutToTheBuffer) {
  std::unique_ptr<CTransition> fade(BuiltInFactories()[1]());
  char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
  fade->GetName(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Fade");
  char tiny[3] = {'x', 'x', 'x'};
  fade->GetName(tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "Fa");
}

// Every transition, at sizes with and without row padding.
TEST(TransitionFrames, FirstLastMiddleAndRepeatable) {
  struct Size {
    int width, height;
  };
  const Size kSizes[] = {{64, 48}, {37, 23}};
  constexpr int kFrames = 9;
  const auto factories = BuiltInFactories();
  for (const Size& size : kSizes) {
    CxImage from = Pattern(size.width, size.height, 0);
    CxImage to = Pattern(size.width, size.height, 1);
    for (size_t k = 0; k < factories.size(); ++k) {
      std::unique_ptr<CTransition> transition(factories[k]());
      const std::string name = NameOf(*transition) + " at " + std::to_string(size.width);
      transition->SetTransWorkParam(WorkParam(size.width, size.height, kFrames));
      transition->SetImages(&from, &to);

      CxImage* first = transition->StepIt(0);
      ASSERT_NE(first, nullptr) << name;
      EXPECT_TRUE(SamePixels(*first, k == 0 ? to : from)) << name << ": first frame";
      EXPECT_TRUE(SamePixels(*transition->StepIt(kFrames - 1), to)) << name << ": last frame";

      CxImage middle(*transition->StepIt(kFrames / 2));
      if (k != 0) {
        EXPECT_FALSE(SamePixels(middle, from)) << name << ": middle frame";
        EXPECT_FALSE(SamePixels(middle, to)) << name << ": middle frame";
      }
      EXPECT_EQ(transition->StepIt(), transition->StepIt(kFrames / 2)) << name;
      EXPECT_TRUE(SamePixels(middle, *transition->StepIt())) << name << ": frame asked twice";

      std::unique_ptr<CTransition> again(factories[k]());
      again->SetTransWorkParam(WorkParam(size.width, size.height, kFrames));
      again->SetImages(&from, &to);
      EXPECT_TRUE(SamePixels(middle, *again->StepIt(kFrames / 2))) << name << ": another object";
    }
  }
}

TEST(TransitionFrames, FramesOutsideTheTransitionAreItsEnds) {
  CxImage from = Pattern(16, 12, 0);
  CxImage to = Pattern(16, 12, 1);
  std::unique_ptr<CTransition> wipe(BuiltInFactories()[5]());
  wipe->SetTransWorkParam(WorkParam(16, 12, 4));
  wipe->SetImages(&from, &to);
  EXPECT_TRUE(SamePixels(*wipe->StepIt(-3), from));
  EXPECT_TRUE(SamePixels(*wipe->StepIt(40), to));
  // A single-frame transition shows the incoming picture.
  wipe->SetTransWorkParam(WorkParam(16, 12, 1));
  EXPECT_TRUE(SamePixels(*wipe->StepIt(0), to));
}

TEST(TransitionFrames, PicturesOfAnotherSizeAreFittedAndMissingOnesAreBackground) {
  CxImage small = Solid(8, 6, RGB(10, 20, 30));
  CxImage large = Solid(40, 30, RGB(200, 100, 50));
  std::unique_ptr<CTransition> fade(BuiltInFactories()[1]());
  fade->SetTransWorkParam(WorkParam(20, 15, 3, RGB(1, 2, 3)));
  fade->SetImages(&small, &large);
  CxImage* first = fade->StepIt(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetWidth(), 20u);
  EXPECT_EQ(first->GetHeight(), 15u);
  CxImage expectedFirst = Solid(20, 15, RGB(10, 20, 30));
  EXPECT_TRUE(SamePixels(*first, expectedFirst));
  CxImage expectedLast = Solid(20, 15, RGB(200, 100, 50));
  EXPECT_TRUE(SamePixels(*fade->StepIt(2), expectedLast));

  CxImage empty;
  fade->SetImages(nullptr, &empty);
  CxImage background = Solid(20, 15, RGB(1, 2, 3));
  EXPECT_TRUE(SamePixels(*fade->StepIt(0), background));
  EXPECT_TRUE(SamePixels(*fade->StepIt(2), background));

  // Its own last frame as a picture is read before it is overwritten.
  CxImage* last = fade->StepIt(2);
  fade->SetImages(last, &large);
  EXPECT_TRUE(SamePixels(*fade->StepIt(0), background));
  // ... also when the frame size changes meanwhile.
  fade->SetTransWorkParam(WorkParam(10, 8, 3, RGB(1, 2, 3)));
  CxImage smallBackground = Solid(10, 8, RGB(1, 2, 3));
  EXPECT_TRUE(SamePixels(*fade->StepIt(0), smallBackground));
}

TEST(TransitionFrames, NoFrameWithoutASize) {
  CxImage from = Pattern(8, 8, 0);
  CxImage to = Pattern(8, 8, 1);
  std::unique_ptr<CTransition> fade(BuiltInFactories()[1]());
  fade->SetImages(&from, &to);
  EXPECT_EQ(fade->StepIt(0), nullptr);  // no work parameters yet
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(fade->StepIt(), nullptr);
  _tagTransWorkParam wrongSize = WorkParam(8, 8, 4);
  wrongSize.nSize = 20;
  fade->SetTransWorkParam(wrongSize);
  EXPECT_EQ(fade->StepIt(0), nullptr);
  fade->SetTransWorkParam(WorkParam(0, 8, 4));
  EXPECT_EQ(fade->StepIt(0), nullptr);
  EXPECT_EQ(fade->StepIt(0, nullptr, 8, 8), FALSE);
}

TEST(TransitionFrames, DrawsIntoADeviceContext) {
  constexpr int kW = 24, kH = 18;
  CxImage from = Pattern(kW, kH, 0);
  CxImage to = Pattern(kW, kH, 1);
  std::unique_ptr<CTransition> wipe(BuiltInFactories()[5]());
  wipe->SetTransWorkParam(WorkParam(kW, kH, 5));
  wipe->SetImages(&from, &to);

  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 2 * kW, 2 * kH);  // screen-compatible: 32 bits
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_TRUE(wipe->StepIt(2, dc, kW, kH));
  CxImage* frame = wipe->StepIt();
  for (int y = 0; y < kH; y += 5)
    for (int x = 0; x < kW; x += 5) {
      const RGBQUAD c = frame->GetPixelColor(x, kH - 1 - y);
      EXPECT_EQ(GetPixel(dc, x, y), RGB(c.rgbRed, c.rgbGreen, c.rgbBlue)) << x << "," << y;
    }
  // Stretched to twice the size, each frame pixel covers a 2 x 2 block.
  ASSERT_TRUE(wipe->StepIt(3, dc, 2 * kW, 2 * kH));
  frame = wipe->StepIt();
  for (int y = 0; y < kH; y += 4)
    for (int x = 0; x < kW; x += 4) {
      const RGBQUAD c = frame->GetPixelColor(x, kH - 1 - y);
      EXPECT_EQ(GetPixel(dc, 2 * x + 1, 2 * y + 1), RGB(c.rgbRed, c.rgbGreen, c.rgbBlue)) << x << "," << y;
    }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}
