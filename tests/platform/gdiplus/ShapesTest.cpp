#include <cmath>

#include "tests/platform/gdiplus/GdiplusTestSupport.h"

using namespace Gdiplus;

namespace {

class Shapes : public GdiplusTest {};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Ink of a black drawing on white: 0 for white, 1 for black.
double InkAt(const Canvas& c, int x, int y) {
  return (255 - GetRValue(c.At(x, y))) / 255.0;
}

TEST_F(Shapes, AntiAliasedEllipseHasPartialEdgesAndAFullCentre) {
  struct Case {
    SmoothingMode mode;
    bool partialEdges;
  };
  const Case cases[] = {{SmoothingModeAntiAlias, true},
                        {SmoothingModeHighQuality, true},
                        {SmoothingModeNone, false},
                        {SmoothingModeDefault, false}};
  for (const auto& c : cases) {
    Canvas canvas(40, 40);
    Graphics g(canvas.Dc());
    g.SetSmoothingMode(c.mode);
    SolidBrush black(Color::Black);
    ASSERT_EQ(g.FillEllipse(&black, 5, 5, 30, 30), Ok);
    double area = 0;
    int partial = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        double ink = InkAt(canvas, x, y);
        area += ink;
        partial += ink > 0.02 && ink < 0.98;
      }
    EXPECT_EQ(canvas.At(20, 20), kBlack) << c.mode;
    EXPECT_EQ(canvas.At(2, 2), kWhite) << c.mode;
    EXPECT_EQ(canvas.At(36, 20), kWhite) << c.mode;
    EXPECT_NEAR(area, 3.14159265 * 15 * 15, 706 * 0.04) << c.mode;
    if (c.partialEdges)
      EXPECT_GT(partial, 40) << c.mode;
    else
      EXPECT_EQ(partial, 0) << c.mode;
  }
}

struct PixelRect {
  int left, top, right, bottom;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

TEST_F(Shapes, WholeCoordinatesFallOnPixelCentres) {
  Canvas canvas(30, 30);
  Graphics g(canvas.Dc());
  SolidBrush black(Color::Black);
  Pen pen(Color::Black, 1);
  // A fill covers the pixels from its left edge up to (not including) its right edge ...
  g.FillRectangle(&black, 3, 4, 10, 6);
  PixelRect fill{3, 4, 13, 10};
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(canvas.At(x, y), fill.Contains(x, y) ? kBlack : kWhite) << x << "," << y;
  // ... and a one-pixel outline runs on both edges.
  canvas.Fill(kWhite);
  g.DrawRectangle(&pen, 3, 4, 10, 6);
  PixelRect outer{3, 4, 14, 11}, inner{4, 5, 13, 10};
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(canvas.At(x, y), outer.Contains(x, y) && !inner.Contains(x, y) ? kBlack : kWhite)
          << x << "," << y;
  // With pixel corners on whole coordinates even an anti-aliased fill of them has crisp edges.
  canvas.Fill(kWhite);
  g.SetPixelOffsetMode(PixelOffsetModeHalf);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  g.FillRectangle(&black, 3, 4, 10, 6);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(canvas.At(x, y), fill.Contains(x, y) ? kBlack : kWhite) << x << "," << y;
}

TEST_F(Shapes, DashedPensLeaveGapsInProportion) {
  struct Case {
    DashStyle style;
    double on;  // share of the line drawn
  };
  const Case cases[] = {
      {DashStyleSolid, 1.0}, {DashStyleDash, 0.75}, {DashStyleDot, 0.5}, {DashStyleDashDot, 4 / 6.0}};
  for (const auto& c : cases) {
    Canvas canvas(130, 9);
    Graphics g(canvas.Dc());
    Pen pen(Color::Black, 2);
    pen.SetDashStyle(c.style);
    EXPECT_EQ(pen.GetDashStyle(), c.style);
    ASSERT_EQ(g.DrawLine(&pen, 0, 4, 120, 4), Ok);
    int drawn = 0;
    for (int x = 0; x < 120; ++x) drawn += canvas.At(x, 4) == kBlack;
    EXPECT_NEAR(drawn / 120.0, c.on, 0.05) << c.style;
  }
}

TEST_F(Shapes, PathsFillByTheirFillMode) {
  Canvas canvas(40, 40);
  Graphics g(canvas.Dc());
  SolidBrush black(Color::Black);
  for (FillMode mode : {FillModeAlternate, FillModeWinding}) {
    canvas.Fill(kWhite);
    GraphicsPath path(mode);
    path.AddRectangle(Rect(5, 5, 30, 30));
    path.AddRectangle(Rect(15, 15, 10, 10));
    EXPECT_EQ(path.GetPointCount(), 8);
    ASSERT_EQ(g.FillPath(&black, &path), Ok);
    EXPECT_EQ(canvas.At(7, 7), kBlack);
    EXPECT_EQ(canvas.At(20, 20), mode == FillModeAlternate ? kWhite : kBlack) << mode;
  }
}

TEST_F(Shapes, OpenFiguresJoinAndClose) {
  GraphicsPath path;
  path.AddLine(0, 0, 10, 0);
  path.AddLine(10, 0, 10, 10);  // continues the figure without repeating the point
  EXPECT_EQ(path.GetPointCount(), 3);
  path.AddBezier(PointF(10, 10), PointF(5, 15), PointF(0, 15), PointF(0, 10));
  EXPECT_EQ(path.GetPointCount(), 6);
  path.CloseFigure();
  path.AddLine(20, 20, 30, 20);  // a new figure after closing
  EXPECT_EQ(path.GetPointCount(), 8);
  RectF bounds;
  ASSERT_EQ(path.GetBounds(&bounds), Ok);
  EXPECT_FLOAT_EQ(bounds.X, 0);
  EXPECT_FLOAT_EQ(bounds.Y, 0);
  EXPECT_FLOAT_EQ(bounds.GetRight(), 30);
  EXPECT_NEAR(bounds.GetBottom(), 20, 1e-4);
}

TEST_F(Shapes, ArcsFollowTheEllipseClockwise) {
  Canvas canvas(40, 40);
  Graphics g(canvas.Dc());
  Pen pen(Color::Black, 3);
  GraphicsPath path;
  // The lower half of a circle of radius 15 around (20, 20): from 0 degrees (right) through 90 (down).
  path.AddArc(5.0f, 5.0f, 30.0f, 30.0f, 0.0f, 180.0f);
  ASSERT_EQ(g.DrawPath(&pen, &path), Ok);
  EXPECT_EQ(canvas.At(20, 35), kBlack);
  EXPECT_EQ(canvas.At(20, 5), kWhite);
  RectF bounds;
  path.GetBounds(&bounds);
  EXPECT_NEAR(bounds.Y, 20, 0.5);
  EXPECT_NEAR(bounds.GetBottom(), 35, 0.5);
}

TEST_F(Shapes, WorldTransformMovesAndScalesDrawing) {
  Canvas canvas(40, 40);
  Graphics g(canvas.Dc());
  SolidBrush black(Color::Black);
  g.TranslateTransform(10, 20);
  g.ScaleTransform(2, 0.5f);  // prepended: scales first, then moves
  g.FillRectangle(&black, 0, 0, 5, 10);
  PixelRect drawn{10, 20, 20, 25};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(canvas.At(x, y), drawn.Contains(x, y) ? kBlack : kWhite) << x << "," << y;
  Matrix m;
  g.GetTransform(&m);
  REAL e[6];
  m.GetElements(e);
  EXPECT_FLOAT_EQ(e[0], 2);
  EXPECT_FLOAT_EQ(e[3], 0.5f);
  EXPECT_FLOAT_EQ(e[4], 10);
  EXPECT_FLOAT_EQ(e[5], 20);
  EXPECT_EQ(g.ScaleTransform(0, 1), InvalidParameter);  // would collapse everything
}

TEST_F(Shapes, GraphicsClipLimitsDrawing) {
  Canvas canvas(40, 40);
  Graphics g(canvas.Dc());
  SolidBrush black(Color::Black);
  g.SetClip(Rect(5, 5, 30, 30));
  g.ExcludeClip(Rect(10, 10, 10, 10));
  RectF bounds;
  g.GetClipBounds(&bounds);
  EXPECT_FLOAT_EQ(bounds.X, 5);
  EXPECT_FLOAT_EQ(bounds.Width, 30);
  g.FillRectangle(&black, 0, 0, 40, 40);
  PixelRect outer{5, 5, 35, 35}, hole{10, 10, 20, 20};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(canvas.At(x, y), outer.Contains(x, y) && !hole.Contains(x, y) ? kBlack : kWhite)
          << x << "," << y;
  g.ResetClip();
  g.GetClipBounds(&bounds);
  EXPECT_LT(bounds.X, -1e6);
  // A clip set under a transform stays where it was set.
  g.TranslateTransform(10, 0);
  g.SetClip(Rect(0, 0, 5, 5));
  g.ResetTransform();
  canvas.Fill(kWhite);
  g.FillRectangle(&black, 0, 0, 40, 40);
  EXPECT_EQ(canvas.At(12, 2), kBlack);
  EXPECT_EQ(canvas.At(2, 2), kWhite);
}

}  // namespace
