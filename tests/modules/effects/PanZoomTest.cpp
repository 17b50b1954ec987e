// Pan and zoom: the work record, the presets, exact start and end positions, smooth motion,
// bounce, anti-flicker and the frame plumbing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "EffectsFixtures.h"
#include "modules/effects/PanZoom.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

using namespace effectstest;

namespace {

_tagPanZoomWorkParamEx Record(CxImage* picture, int width, int height, int frames) {
  _tagPanZoomWorkParamEx param;
  param.nWidth = width;
  param.nHeight = height;
  param.nFrames = frames;
  param.clrBackground = RGB(0, 0, 0);
  param.pSrcImage = picture;
  return param;
}

// The record holding one position at both ends.
_tagPanZoomWorkParamEx Still(_tagPanZoomWorkParamEx param, bool endPosition) {
  if (endPosition) {
    param.fStartPanX = param.fEndPanX;
    param.fStartPanY = param.fEndPanY;
    param.fStartZoom = param.fEndZoom;
    param.fStartRotate = param.fEndRotate;
  } else {
    param.fEndPanX = param.fStartPanX;
    param.fEndPanY = param.fStartPanY;
    param.fEndZoom = param.fStartZoom;
    param.fEndRotate = param.fStartRotate;
  }
  return param;
}

CxImage FrameOf(const _tagPanZoomWorkParamEx& param, int frame) {
  CPanZoomExIPP engine;
  engine.SetPanZoomExWorkParam(param);
  CxImage* picture = engine.StepIt(frame);
  return picture != nullptr ? CxImage(*picture) : CxImage();
}

// A dark picture with one bright soft spot.
CxImage Spot(int width, int height, double cx, double cy) {
  CxImage picture;
  picture.Create(static_cast<DWORD>(width), static_cast<DWORD>(height), 24);
  for (int y = 0; y < height; ++y) {
    BYTE* row = picture.GetBits(static_cast<DWORD>(height - 1 - y));
    for (int x = 0; x < width; ++x) {
      const double d2 = (x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy);
      const BYTE v = static_cast<BYTE>(std::lround(220 * std::exp(-d2 / 50)));
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
    }
  }
  return picture;
}

// Brightness-weighted centre of a frame, in pixels from its top-left corner.
std::pair<double, double> Centroid(CxImage& frame) {
  double sum = 0, sx = 0, sy = 0;
  const int h = static_cast<int>(frame.GetHeight());
  for (int y = 0; y < h; ++y) {
    const BYTE* row = frame.GetBits(static_cast<DWORD>(h - 1 - y));
    for (DWORD x = 0; x < frame.GetWidth(); ++x) {
      const double v = row[3 * x + 1];
      sum += v;
      sx += v * (x + 0.5);
      sy += v * (y + 0.5);
    }
  }
  return {sx / sum, sy / sum};
}

}  // namespace

TEST(PanZoomRecord, ConstructorGivesAStillFittedPicture) {
  const _tagPanZoomWorkParamEx param;
  EXPECT_EQ(param.nSize, 120);
  EXPECT_EQ(param.fStartZoom, 100);
  EXPECT_EQ(param.fEndZoom, 100);
  EXPECT_EQ(param.fStartPanX, 0);
  EXPECT_EQ(param.fEndRotate, 0);
  EXPECT_EQ(param.pSrcImage, nullptr);
  // The program writes some fields by offset.
  const auto* bytes = reinterpret_cast<const BYTE*>(&param);
  EXPECT_EQ(*reinterpret_cast<const int32_t*>(bytes + 0), 120);
  EXPECT_EQ(*reinterpret_cast<const double*>(bytes + 56), 100.0);
  EXPECT_EQ(*reinterpret_cast<const double*>(bytes + 88), 100.0);
}

TEST(PanZoomPresets, NamesAndValues) {
  const int count = CPanZoomEx::GetPanZoomType_PresetCount();
  ASSERT_GE(count, 10);
  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    const _tagPanZoomType_Preset* preset = CPanZoomEx::GetPanZoomType_Preset(i);
    ASSERT_NE(preset, nullptr);
    EXPECT_EQ(preset->nIndex, i);
    EXPECT_TRUE(names.insert(reinterpret_cast<const char*>(preset) + 4).second) << preset->szName;
  }
  EXPECT_EQ(CPanZoomEx::GetPanZoomType_Preset(count), nullptr);
  EXPECT_EQ(CPanZoomEx::GetPanZoomType_Preset(-1), nullptr);

  // Preset 0 stands still at the fitted picture; the rest move.
  _tagPanZoomWorkParamEx param;
  param.fStartZoom = 300;
  ASSERT_TRUE(CPanZoomEx::GetPanZoomType_PresetValue(0, param));
  EXPECT_EQ(param.fStartZoom, 100);
  EXPECT_EQ(param.fEndZoom, 100);
  for (int i = 1; i < count; ++i) {
    ASSERT_TRUE(CPanZoomEx::GetPanZoomType_PresetValue(i, param));
    EXPECT_TRUE(param.fStartPanX != param.fEndPanX || param.fStartPanY != param.fEndPanY ||
                param.fStartZoom != param.fEndZoom || param.fStartRotate != param.fEndRotate)
        << i;
  }
  _tagPanZoomWorkParamEx untouched;
  EXPECT_FALSE(CPanZoomEx::GetPanZoomType_PresetValue(count, untouched));
  EXPECT_EQ(untouched.fEndZoom, 100);

  struct Case {
    int asked, used;
  };
  const Case kCases[] = {{0, 0}, {count - 1, count - 1}, {count, 0}, {count + 2, 2}, {-1, count - 1}};
  for (const Case& c : kCases) {
    int used = -99;
    _tagPanZoomWorkParamEx viaModulo;
    _tagPanZoomWorkParamEx direct;
    ASSERT_TRUE(CPanZoomEx::GetPanZoomType_PresetValue(c.asked, used, viaModulo));
    EXPECT_EQ(used, c.used) << c.asked;
    CPanZoomEx::GetPanZoomType_PresetValue(c.used, direct);
    EXPECT_EQ(std::memcmp(&viaModulo, &direct, sizeof direct), 0) << c.asked;
  }
}

TEST(PanZoomPresets, RandomPresetMovesAndFollowsTheSeed) {
  const int count = CPanZoomEx::GetPanZoomType_PresetCount();
  std::set<int> seen;
  std::srand(7);
  std::vector<int> first;
  for (int i = 0; i < 200; ++i) {
    int index = 0;
    _tagPanZoomWorkParamEx param;
    ASSERT_TRUE(CPanZoomEx::GetRandomPanZoom_PresetValue(index, param));
    EXPECT_GE(index, 1);
    EXPECT_LT(index, count);
    _tagPanZoomWorkParamEx expected;
    CPanZoomEx::GetPanZoomType_PresetValue(index, expected);
    EXPECT_EQ(std::memcmp(&param, &expected, sizeof param), 0);
    seen.insert(index);
    first.push_back(index);
  }
  EXPECT_GT(seen.size(), static_cast<size_t>(count / 2));
  std::srand(7);
  for (int i = 0; i < 200; ++i) {
    int index = 0;
    _tagPanZoomWorkParamEx param;
    CPanZoomEx::GetRandomPanZoom_PresetValue(index, param);
    EXPECT_EQ(index, first[static_cast<size_t>(i)]);
  }
}

TEST(PanZoomFrames, StillPresetShowsAFrameSizedPictureUnchanged) {
  CxImage picture = Pattern(48, 36, 0);
  _tagPanZoomWorkParamEx param = Record(&picture, 48, 36, 10);
  CPanZoomEx::GetPanZoomType_PresetValue(0, param);
  for (int frame : {0, 4, 9}) {
    CxImage out = FrameOf(param, frame);
    EXPECT_TRUE(SamePixels(out, picture)) << frame;
  }
}

TEST(PanZoomFrames, StartAndEndPositionsAreReachedExactly) {
  CxImage picture = Pattern(64, 48, 1);
  const int count = CPanZoomEx::GetPanZoomType_PresetCount();
  for (int preset = 1; preset < count; ++preset) {
    _tagPanZoomWorkParamEx param = Record(&picture, 40, 30, 25);
    CPanZoomEx::GetPanZoomType_PresetValue(preset, param);
    CxImage first = FrameOf(param, 0);
    CxImage last = FrameOf(param, 24);
    CxImage start = FrameOf(Still(param, false), 0);
    CxImage end = FrameOf(Still(param, true), 0);
    EXPECT_TRUE(SamePixels(first, start)) << "preset " << preset;
    EXPECT_TRUE(SamePixels(last, end)) << "preset " << preset;
    EXPECT_FALSE(SamePixels(first, last)) << "preset " << preset;
  }
}

TEST(PanZoomFrames, MotionAdvancesInEqualSubPixelSteps) {
  // Pan Left to Right over 300 frames moves the picture 18% of 320 pixels: under 0.2 pixels per
  // frame. The spot's centre must move by the same small step every frame, never back.
  CxImage picture = Spot(320, 240, 160, 120);
  _tagPanZoomWorkParamEx param = Record(&picture, 320, 240, 300);
  CPanZoomEx::GetPanZoomType_PresetValue(3, param);
  CPanZoomExIPP engine;
  ASSERT_TRUE(engine.SetPanZoomExWorkParam(param));
  std::vector<double> xs;
  double firstY = 0;
  for (int frame = 0; frame < 300; ++frame) {
    CxImage* out = engine.StepIt(frame);
    ASSERT_NE(out, nullptr);
    const auto [x, y] = Centroid(*out);
    if (frame == 0) firstY = y;
    EXPECT_NEAR(y, firstY, 0.01) << frame;
    xs.push_back(x);
  }
  const double expectedStep = -(0.18 * 320) / 299;
  EXPECT_NEAR(xs.back() - xs.front(), 0.18 * -320, 0.05);
  for (size_t i = 1; i < xs.size(); ++i) {
    const double step = xs[i] - xs[i - 1];
    EXPECT_LT(step, 0) << "frame " << i << " moved back";
    EXPECT_NEAR(step, expectedStep, 0.02) << "frame " << i;
  }
}

TEST(PanZoomFrames, BounceRunsTheMotionBackAfterItsEnd) {
  CxImage picture = Pattern(40, 30, 0);
  _tagPanZoomWorkParamEx param = Record(&picture, 40, 30, 11);
  CPanZoomEx::GetPanZoomType_PresetValue(1, param);
  struct Case {
    BOOL bounce;
    int frame, sameAs;
  };
  const Case kCases[] = {{TRUE, 13, 7},   {TRUE, 20, 0},   {TRUE, 25, 5},  {TRUE, -3, 3},
                         {FALSE, 13, 10}, {FALSE, 40, 10}, {FALSE, -3, 0}, {FALSE, 6, 6}};
  for (const Case& c : kCases) {
    CZoomPan::EnableBounce(c.bounce);
    EXPECT_EQ(CZoomPan::IsBounceEnabled(), c.bounce);
    CxImage frame = FrameOf(param, c.frame);
    CxImage expected = FrameOf(param, c.sameAs);
    EXPECT_TRUE(SamePixels(frame, expected)) << c.bounce << ": " << c.frame << " vs " << c.sameAs;
  }
  CZoomPan::EnableBounce(TRUE);
}

TEST(PanZoomFrames, AntiFlickerSoftensLinesVertically) {
  // A one-pixel white line on black keeps its weight but spreads over its neighbours.
  CxImage picture = Solid(32, 24, RGB(0, 0, 0));
  for (int x = 0; x < 32; ++x) picture.SetPixelColor(x, 10, RGB(200, 200, 200));
  _tagPanZoomWorkParamEx param = Record(&picture, 32, 24, 1);
  CxImage sharp = FrameOf(param, 0);
  param.nAntiFlicker = 1;
  CxImage soft = FrameOf(param, 0);
  struct Case {
    int y, sharp, soft;
  };
  const Case kCases[] = {{10, 200, 100}, {9, 0, 50}, {11, 0, 50}, {8, 0, 0}};
  for (const Case& c : kCases) {
    EXPECT_EQ(sharp.GetPixelColor(5, c.y).rgbGreen, c.sharp) << c.y;
    EXPECT_EQ(soft.GetPixelColor(5, c.y).rgbGreen, c.soft) << c.y;
  }
}

TEST(PanZoomFrames, PictureSmallerThanTheFrameSitsOnTheBackground) {
  // A square picture in a wide frame is fitted by its height, with background beside it.
  CxImage picture = Solid(30, 30, RGB(250, 250, 250));
  _tagPanZoomWorkParamEx param = Record(&picture, 60, 30, 1);
  param.clrBackground = RGB(10, 20, 30);
  CxImage frame = FrameOf(param, 0);
  const RGBQUAD side = frame.GetPixelColor(2, 15);
  const RGBQUAD middle = frame.GetPixelColor(30, 15);
  EXPECT_EQ(RGB(side.rgbRed, side.rgbGreen, side.rgbBlue), RGB(10, 20, 30));
  EXPECT_EQ(RGB(middle.rgbRed, middle.rgbGreen, middle.rgbBlue), RGB(250, 250, 250));
  // Zoomed to a fifth, most of the frame is background; the picture shrinks about the centre.
  param.fStartZoom = param.fEndZoom = 20;
  CxImage small = FrameOf(param, 0);
  const RGBQUAD corner = small.GetPixelColor(25, 5);
  const RGBQUAD centre = small.GetPixelColor(30, 15);
  EXPECT_EQ(RGB(corner.rgbRed, corner.rgbGreen, corner.rgbBlue), RGB(10, 20, 30));
  EXPECT_EQ(RGB(centre.rgbRed, centre.rgbGreen, centre.rgbBlue), RGB(250, 250, 250));
}

TEST(PanZoomFrames, ExtremePositions) {
  // Pushed out of the frame the picture leaves only background; enlarged and turned it covers
  // the frame.
  CxImage picture = Solid(40, 30, RGB(200, 200, 200));
  CxImage background = Solid(40, 30, RGB(0, 0, 0));
  CxImage covered = Solid(40, 30, RGB(200, 200, 200));
  struct Case {
    double panX, panY, zoom, rotate;
    bool coversFrame;
  };
  const Case kCases[] = {{300, 0, 100, 0, false}, {0, -300, 100, 0, false}, {-101, 0, 100, 0, false},
                         {0, 0, 10000, 45, true}, {0, 0, 400, -350, true},  {50, 50, 500, 0, true}};
  for (const Case& c : kCases) {
    _tagPanZoomWorkParamEx param = Record(&picture, 40, 30, 1);
    param.fStartPanX = param.fEndPanX = c.panX;
    param.fStartPanY = param.fEndPanY = c.panY;
    param.fStartZoom = param.fEndZoom = c.zoom;
    param.fStartRotate = param.fEndRotate = c.rotate;
    CxImage frame = FrameOf(param, 0);
    EXPECT_TRUE(SamePixels(frame, c.coversFrame ? covered : background))
        << c.panX << "," << c.panY << " zoom " << c.zoom << " turn " << c.rotate;
  }
}

TEST(PanZoomFrames, RecordsWithoutAFrameGiveNoFrame) {
  CxImage picture = Pattern(8, 8, 0);
  CPanZoomExIPP engine;
  EXPECT_EQ(engine.StepIt(0), nullptr);  // nothing set yet
  EXPECT_FALSE(engine.SetPanZoomExWorkParam(Record(nullptr, 8, 8, 5)));
  EXPECT_EQ(engine.StepIt(0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(engine.SetPanZoomExWorkParam(Record(&picture, 0, 8, 5)));
  _tagPanZoomWorkParamEx wrongSize = Record(&picture, 8, 8, 5);
  wrongSize.nSize = 100;
  EXPECT_FALSE(engine.SetPanZoomExWorkParam(wrongSize));
  EXPECT_EQ(engine.StepIt(0), nullptr);
  EXPECT_EQ(engine.StepIt(), nullptr);

  // An empty picture gives frames of the background colour.
  CxImage empty;
  _tagPanZoomWorkParamEx param = Record(&empty, 8, 6, 5);
  param.clrBackground = RGB(5, 6, 7);
  ASSERT_TRUE(engine.SetPanZoomExWorkParam(param));
  CxImage expected = Solid(8, 6, RGB(5, 6, 7));
  ASSERT_NE(engine.StepIt(2), nullptr);
  EXPECT_TRUE(SamePixels(*engine.StepIt(), expected));
}

TEST(PanZoomFrames, FramePictureAndDrawing) {
  CxImage picture = Pattern(20, 16, 1);
  CPanZoomExIPP engine;
  CPanZoomEx& asInterface = engine;
  ASSERT_TRUE(asInterface.SetPanZoomExWorkParam(Record(&picture, 20, 16, 4)));
  EXPECT_FALSE(asInterface.VerifyOutputXImageValid());
  EXPECT_FALSE(asInterface.CreateOutputXImage(32));
  EXPECT_TRUE(asInterface.CreateOutputXImage(24));
  EXPECT_TRUE(asInterface.VerifyOutputXImageValid());

  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 40, 32);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_TRUE(asInterface.StepIt(1, dc));
  for (int y = 0; y < 16; y += 3)
    for (int x = 0; x < 20; x += 3) {
      const RGBQUAD c = picture.GetPixelColor(x, 15 - y);
      EXPECT_EQ(GetPixel(dc, x, y), RGB(c.rgbRed, c.rgbGreen, c.rgbBlue)) << x << "," << y;
    }
  ASSERT_TRUE(asInterface.StepIt(2, dc, 40, 32));
  const RGBQUAD c = picture.GetPixelColor(7, 15 - 5);
  EXPECT_EQ(GetPixel(dc, 15, 11), RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  std::unique_ptr<CPanZoomEx> owned(new CPanZoomExIPP);  // deleted through the interface
  EXPECT_EQ(owned->StepIt(), nullptr);
}
