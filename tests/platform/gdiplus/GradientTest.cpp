#include <cmath>
#include <functional>
#include <memory>

#include "tests/platform/gdiplus/GdiplusTestSupport.h"

using namespace Gdiplus;

namespace {

class Gradient : public GdiplusTest {};

constexpr ARGB kFrom = 0xFFACC4DD;
constexpr ARGB kTo = 0xFF202080;

// Where along the gradient (0 at the first colour, 1 at the second) a pixel centre lies.
using Position = std::function<double(int x, int y)>;

struct GradientCase {
  const char* name;
  std::function<Brush*()> make;
  Position position;
};

// Fills an 80 x 40 canvas and compares every 7th pixel with the colour its position asks for.
void ExpectGradient(const GradientCase& c) {
  Canvas canvas(80, 40);
  Graphics g(canvas.Dc());
  std::unique_ptr<Brush> brush(c.make());
  ASSERT_EQ(brush->GetLastStatus(), Ok) << c.name;
  ASSERT_EQ(g.FillRectangle(brush.get(), 0, 0, 80, 40), Ok) << c.name;
  for (int y = 0; y < 40; y += 7)
    for (int x = 0; x < 80; x += 7) {
      double t = c.position(x, y);
      ASSERT_TRUE(Near(canvas.At(x, y), Mix(RefOf(kFrom), RefOf(kTo), t), 3))
          << c.name << " at " << x << "," << y << " t=" << t << " got " << std::hex << canvas.At(x, y);
    }
}

TEST_F(Gradient, ColoursFollowTheDirection) {
  const GradientCase cases[] = {
      {"horizontal",
       [] { return new LinearGradientBrush(Rect(0, 0, 80, 40), kFrom, kTo, LinearGradientModeHorizontal); },
       [](int x, int) { return x / 80.0; }},
      {"vertical",
       [] { return new LinearGradientBrush(RectF(0, 0, 80, 40), kFrom, kTo, LinearGradientModeVertical); },
       [](int, int y) { return y / 40.0; }},
      // Corner to corner: the other two corners are half way.
      {"forward diagonal",
       [] {
         return new LinearGradientBrush(RectF(0, 0, 80, 40), kFrom, kTo, LinearGradientModeForwardDiagonal);
       },
       [](int x, int y) { return (x / 80.0 + y / 40.0) / 2; }},
      {"backward diagonal",
       [] {
         return new LinearGradientBrush(RectF(0, 0, 80, 40), kFrom, kTo, LinearGradientModeBackwardDiagonal);
       },
       [](int x, int y) { return ((80 - x) / 80.0 + y / 40.0) / 2; }},
      // A fixed angle runs from the first corner met to the last, across the real shape.
      {"angle 90", [] { return new LinearGradientBrush(RectF(0, 0, 80, 40), kFrom, kTo, 90.0f); },
       [](int, int y) { return y / 40.0; }},
      {"angle 45", [] { return new LinearGradientBrush(RectF(0, 0, 80, 40), kFrom, kTo, 45.0f); },
       [](int x, int y) { return (x + y) / 120.0; }},
      // Between two points, and repeating past them.
      {"two points", [] { return new LinearGradientBrush(PointF(10, 0), PointF(50, 0), kFrom, kTo); },
       [](int x, int) {
         double t = (x - 10) / 40.0;
         return t - std::floor(t);
       }},
  };
  for (const auto& c : cases) ExpectGradient(c);
}

TEST_F(Gradient, EndsAndMiddleOfTheWindowBackgrounds) {
  struct Case {
    LinearGradientMode mode;
    ARGB from, to;
    int width, height;
  };
  // The options title (left to right to white) and the preview background (top to bottom).
  const Case cases[] = {{LinearGradientModeHorizontal, 0xFFACC4DD, 0xFFFFFFFF, 200, 24},
                        {LinearGradientModeVertical, 0xFFC0C0C0, 0xFF5A5A5A, 30, 300}};
  for (const auto& c : cases) {
    Canvas canvas(c.width, c.height, RGB(0, 0, 0));
    Graphics g(canvas.Dc());
    LinearGradientBrush brush(Rect(0, 0, c.width, c.height), c.from, c.to, c.mode);
    brush.SetWrapMode(WrapModeTile);
    ASSERT_EQ(g.FillRectangle(&brush, Rect(0, 0, c.width, c.height)), Ok);
    bool across = c.mode == LinearGradientModeHorizontal;
    int length = across ? c.width : c.height;
    auto at = [&](int i) { return across ? canvas.At(i, c.height / 2) : canvas.At(c.width / 2, i); };
    EXPECT_EQ(at(0), RefOf(c.from));
    EXPECT_TRUE(Near(at(length - 1), RefOf(c.to), 2)) << std::hex << at(length - 1);
    EXPECT_TRUE(Near(at(length / 2), Mix(RefOf(c.from), RefOf(c.to), 0.5), 2)) << std::hex << at(length / 2);
    // Bands across the gradient are one colour.
    EXPECT_EQ(across ? canvas.At(length / 3, 0) : canvas.At(0, length / 3),
              across ? canvas.At(length / 3, c.height - 1) : canvas.At(c.width - 1, length / 3));
  }
}

TEST_F(Gradient, TranslucentEndsBlendOverWhatIsThere) {
  Canvas canvas(100, 4, RGB(0, 0, 255));
  Graphics g(canvas.Dc());
  LinearGradientBrush brush(Rect(0, 0, 100, 4), Color(0, 255, 0, 0), Color(255, 255, 0, 0),
                            LinearGradientModeHorizontal);
  g.FillRectangle(&brush, 0, 0, 100, 4);
  EXPECT_EQ(canvas.At(0, 1), RGB(0, 0, 255));
  EXPECT_TRUE(Near(canvas.At(99, 1), RGB(255, 0, 0), 4)) << std::hex << canvas.At(99, 1);
  EXPECT_TRUE(Near(canvas.At(50, 1), RGB(128, 0, 127), 4)) << std::hex << canvas.At(50, 1);
}

TEST_F(Gradient, BadRectanglesAndWrapModesAreRefused) {
  LinearGradientBrush empty(RectF(0, 0, 0, 10), kFrom, kTo, LinearGradientModeHorizontal);
  EXPECT_EQ(empty.GetLastStatus(), InvalidParameter);
  LinearGradientBrush same(PointF(3, 3), PointF(3, 3), kFrom, kTo);
  EXPECT_EQ(same.GetLastStatus(), InvalidParameter);
  LinearGradientBrush ok(RectF(0, 0, 10, 10), kFrom, kTo, LinearGradientModeVertical);
  EXPECT_EQ(ok.SetWrapMode(WrapModeClamp), InvalidParameter);
  EXPECT_EQ(ok.SetWrapMode(WrapModeTileFlipXY), Ok);
  EXPECT_EQ(ok.GetWrapMode(), WrapModeTileFlipXY);
  Color colors[2];
  ASSERT_EQ(ok.GetLinearColors(colors), Ok);
  EXPECT_EQ(colors[0].GetValue(), kFrom);
  EXPECT_EQ(colors[1].GetValue(), kTo);
}

}  // namespace
