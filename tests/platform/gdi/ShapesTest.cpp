#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Every pixel equals `inside` within r and `outside` elsewhere.
void ExpectRect(const Canvas& c, const RECT& r, COLORREF inside, COLORREF outside) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      ASSERT_EQ(c.At(x, y), in ? inside : outside) << x << "," << y;
    }
}

TEST(Shapes, FillRectCoversLeftTopButNotRightBottom) {
  Canvas c(12, 10);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{2, 3, 7, 8};
  FillRect(c.Dc(), &r, red);
  ExpectRect(c, r, kRed, kWhite);
  DeleteObject(red);
}

TEST(Shapes, FillRectTakesSystemColourIndexPlusOne) {
  Canvas c(4, 4);
  RECT r{0, 0, 4, 4};
  FillRect(c.Dc(), &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(c.At(1, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(Shapes, FrameAndInvertRect) {
  Canvas c(10, 10);
  HBRUSH blue = CreateSolidBrush(kBlue);
  RECT r{1, 1, 9, 8};
  FrameRect(c.Dc(), &r, blue);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      bool inside = x >= 1 && x < 9 && y >= 1 && y < 8;
      bool edge = inside && (x == 1 || x == 8 || y == 1 || y == 7);
      EXPECT_EQ(c.At(x, y), edge ? kBlue : kWhite) << x << "," << y;
    }
  RECT all{0, 0, 10, 10};
  InvertRect(c.Dc(), &all);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(1, 1), RGB(255, 255, 0));
  DeleteObject(blue);
}

TEST(Shapes, RectangleOutlinesWithPenAndFillsWithBrush) {
  Canvas c(12, 12);
  HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
  HBRUSH brush = CreateSolidBrush(kRed);
  HGDIOBJ oldPen = SelectObject(c.Dc(), pen);
  HGDIOBJ oldBrush = SelectObject(c.Dc(), brush);
  Rectangle(c.Dc(), 2, 2, 10, 9);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      bool in = x >= 2 && x < 10 && y >= 2 && y < 9;
      bool edge = in && (x == 2 || x == 9 || y == 2 || y == 8);
      EXPECT_EQ(c.At(x, y), edge ? kBlue : in ? kRed : kWhite) << x << "," << y;
    }
  // A null pen fills one pixel less to the right and bottom.
  c.Fill(kWhite);
  SelectObject(c.Dc(), GetStockObject(NULL_PEN));
  Rectangle(c.Dc(), 2, 2, 10, 9);
  ExpectRect(c, RECT{2, 2, 9, 8}, kRed, kWhite);
  SelectObject(c.Dc(), oldPen);
  SelectObject(c.Dc(), oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

struct LineCase {
  POINT from, to;
};

TEST(Shapes, LinesExcludeTheirLastPixel) {
  const LineCase cases[] = {
      {{1, 1}, {8, 1}}, {{8, 2}, {1, 2}}, {{3, 0}, {3, 9}},
      {{0, 0}, {9, 9}}, {{9, 0}, {0, 6}}, {{2, 8}, {7, 1}},
  };
  for (const auto& lc : cases) {
    Canvas c(10, 10);
    MoveToEx(c.Dc(), lc.from.x, lc.from.y, nullptr);
    LineTo(c.Dc(), lc.to.x, lc.to.y);
    int dx = std::abs(lc.to.x - lc.from.x), dy = std::abs(lc.to.y - lc.from.y);
    EXPECT_EQ(c.CountNot(kWhite), std::max(dx, dy)) << lc.from.x << "," << lc.from.y;
    EXPECT_EQ(c.At(lc.from.x, lc.from.y), RGB(0, 0, 0));
    EXPECT_EQ(c.At(lc.to.x, lc.to.y), kWhite);
    // Every drawn pixel lies within half a pixel of the ideal line.
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        if (c.At(x, y) != kWhite) {
          double ax = lc.to.x - lc.from.x, ay = lc.to.y - lc.from.y;
          double cross =
              std::abs((x - lc.from.x) * ay - (y - lc.from.y) * ax) / std::max(std::abs(ax), std::abs(ay));
          EXPECT_LE(cross, 0.5 + 1e-9) << x << "," << y;
        }
    POINT pos;
    GetCurrentPositionEx(c.Dc(), &pos);
    EXPECT_EQ(pos.x, lc.to.x);
    EXPECT_EQ(pos.y, lc.to.y);
  }
}

TEST(Shapes, XorPenDrawnTwiceRestores) {
  Canvas c(10, 10, RGB(10, 20, 30));
  SetROP2(c.Dc(), R2_XORPEN);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  SelectObject(c.Dc(), pen);
  const POINT path[] = {{0, 0}, {9, 5}, {2, 9}};
  Polyline(c.Dc(), path, 3);
  EXPECT_EQ(c.At(0, 0), RGB(245, 235, 225));
  Polyline(c.Dc(), path, 3);
  EXPECT_EQ(c.CountNot(RGB(10, 20, 30)), 0);
  SelectObject(c.Dc(), GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(Shapes, EllipseIsSymmetricWithOutlineAroundFill) {
  Canvas c(21, 15);
  HBRUSH brush = CreateSolidBrush(kRed);
  SelectObject(c.Dc(), brush);
  Ellipse(c.Dc(), 0, 0, 21, 15);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 21; ++x) {
      EXPECT_EQ(c.At(x, y), c.At(20 - x, y)) << x << "," << y;
      EXPECT_EQ(c.At(x, y), c.At(x, 14 - y)) << x << "," << y;
    }
  EXPECT_EQ(c.At(10, 7), kRed);
  EXPECT_EQ(c.At(10, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(0, 7), RGB(0, 0, 0));
  EXPECT_EQ(c.At(0, 0), kWhite);
  // No fill pixel touches the outside.
  for (int y = 1; y < 14; ++y)
    for (int x = 1; x < 20; ++x)
      if (c.At(x, y) == kRed) {
        EXPECT_NE(c.At(x - 1, y), kWhite);
        EXPECT_NE(c.At(x, y - 1), kWhite);
      }
  SelectObject(c.Dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Shapes, PolygonFillsPixelCentresAndStrokesEdges) {
  Canvas c(12, 12);
  HBRUSH brush = CreateSolidBrush(kRed);
  SelectObject(c.Dc(), brush);
  SelectObject(c.Dc(), GetStockObject(NULL_PEN));
  const POINT square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
  Polygon(c.Dc(), square, 4);
  ExpectRect(c, RECT{2, 2, 8, 8}, kRed, kWhite);
  SelectObject(c.Dc(), GetStockObject(BLACK_PEN));
  c.Fill(kWhite);
  Polygon(c.Dc(), square, 4);
  EXPECT_EQ(c.At(8, 8), RGB(0, 0, 0));  // the outline closes through every vertex
  EXPECT_EQ(c.At(2, 8), RGB(0, 0, 0));
  EXPECT_EQ(c.At(5, 5), kRed);
  SelectObject(c.Dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Shapes, PixelsAndClipping) {
  Canvas c(10, 10);
  EXPECT_EQ(SetPixel(c.Dc(), 3, 4, kBlue), kBlue);
  EXPECT_EQ(GetPixel(c.Dc(), 3, 4), kBlue);
  EXPECT_EQ(GetPixel(c.Dc(), 10, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(c.Dc(), -1, 0, kBlue), CLR_INVALID);

  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 10, 10};
  EXPECT_EQ(IntersectClipRect(c.Dc(), 2, 2, 8, 8), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.Dc(), 4, 4, 6, 6), COMPLEXREGION);
  RECT box;
  EXPECT_EQ(GetClipBox(c.Dc(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.right, 8);
  c.Fill(kWhite);
  FillRect(c.Dc(), &all, red);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      bool visible = x >= 2 && x < 8 && y >= 2 && y < 8 && !(x >= 4 && x < 6 && y >= 4 && y < 6);
      EXPECT_EQ(c.At(x, y), visible ? kRed : kWhite) << x << "," << y;
    }
  // The clip region is in device units: moving the window origin moves drawing, not the clip.
  SelectClipRgn(c.Dc(), nullptr);
  HRGN clip = CreateRectRgn(0, 0, 5, 5);
  SelectClipRgn(c.Dc(), clip);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(c.Dc(), copy), 1);
  EXPECT_TRUE(EqualRgn(copy, clip));
  SetViewportOrgEx(c.Dc(), 3, 3, nullptr);
  c.Fill(kWhite);
  RECT small{0, 0, 4, 4};
  FillRect(c.Dc(), &small, red);
  ExpectRect(c, RECT{3, 3, 5, 5}, kRed, kWhite);
  SetViewportOrgEx(c.Dc(), 0, 0, nullptr);
  SelectClipRgn(c.Dc(), nullptr);
  EXPECT_EQ(GetClipRgn(c.Dc(), copy), 0);
  DeleteObject(clip);
  DeleteObject(copy);
  DeleteObject(red);
}

TEST(Shapes, SaveAndRestoreBringBackClipAndColours) {
  Canvas c(6, 6);
  SetTextColor(c.Dc(), kRed);
  int level = SaveDC(c.Dc());
  EXPECT_EQ(level, 1);
  SetTextColor(c.Dc(), kBlue);
  IntersectClipRect(c.Dc(), 0, 0, 1, 1);
  EXPECT_TRUE(RestoreDC(c.Dc(), -1));
  EXPECT_EQ(GetTextColor(c.Dc()), kRed);
  RECT box;
  EXPECT_EQ(GetClipBox(c.Dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 6);
  EXPECT_FALSE(RestoreDC(c.Dc(), 1));  // nothing saved any more
}

TEST(Shapes, FocusRectIsDottedAndUndoesItself) {
  Canvas c(8, 6, RGB(40, 80, 120));
  RECT r{0, 0, 8, 6};
  DrawFocusRect(c.Dc(), &r);
  EXPECT_NE(c.At(0, 0), c.At(1, 0));
  EXPECT_EQ(c.At(3, 3), RGB(40, 80, 120));
  int changed = c.CountNot(RGB(40, 80, 120));
  EXPECT_EQ(changed, (8 + 8 + 4 + 4) / 2);
  DrawFocusRect(c.Dc(), &r);
  EXPECT_EQ(c.CountNot(RGB(40, 80, 120)), 0);
}

struct EdgeCase {
  UINT edge;
  int topLeftOuter, bottomRightOuter, topLeftInner, bottomRightInner;
};

TEST(Shapes, DrawEdgeUsesTheThreeDColours) {
  const EdgeCase cases[] = {
      {EDGE_RAISED, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHILIGHT, COLOR_3DSHADOW},
      {EDGE_SUNKEN, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
      {EDGE_ETCHED, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DHILIGHT, COLOR_3DSHADOW},
  };
  for (const auto& e : cases) {
    Canvas c(10, 10, RGB(1, 2, 3));
    RECT r{0, 0, 10, 10};
    DrawEdge(c.Dc(), &r, e.edge, BF_RECT | BF_ADJUST);
    EXPECT_EQ(c.At(0, 0), GetSysColor(e.topLeftOuter));
    EXPECT_EQ(c.At(5, 0), GetSysColor(e.topLeftOuter));
    EXPECT_EQ(c.At(9, 5), GetSysColor(e.bottomRightOuter));
    EXPECT_EQ(c.At(9, 0), GetSysColor(e.bottomRightOuter));  // the bottom-right colour owns that corner
    EXPECT_EQ(c.At(1, 5), GetSysColor(e.topLeftInner));
    EXPECT_EQ(c.At(5, 8), GetSysColor(e.bottomRightInner));
    EXPECT_EQ(c.At(5, 5), RGB(1, 2, 3));
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.bottom, 8);
  }
}

TEST(Shapes, EtchedTopLineForSeparators) {
  Canvas c(10, 6, RGB(1, 2, 3));
  RECT r{0, 2, 10, 6};
  DrawEdge(c.Dc(), &r, EDGE_ETCHED, BF_TOP);
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(c.At(x, 2), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(c.At(x, 3), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(c.At(x, 4), RGB(1, 2, 3));
  }
}

TEST(Shapes, Draw3dRectAndFillSolidRect) {
  Canvas c(6, 5);
  pictavo::gdi::FillSolidRect(c.Dc(), RECT{0, 0, 6, 5}, kBlue);
  pictavo::gdi::Draw3dRect(c.Dc(), 0, 0, 6, 5, kRed, RGB(0, 255, 0));
  EXPECT_EQ(c.At(0, 0), kRed);
  EXPECT_EQ(c.At(0, 3), kRed);
  EXPECT_EQ(c.At(5, 0), RGB(0, 255, 0));
  EXPECT_EQ(c.At(0, 4), RGB(0, 255, 0));
  EXPECT_EQ(c.At(2, 2), kBlue);
}

// A flood fill finds its area first and paints it once, so filling an area with the colour it
// already has ends like any other fill; a border fill stops at the border colour.
TEST(Shapes, FloodFillPaintsTheConnectedAreaAndEndsInItsOwnColour) {
  struct Case {
    const char* what;
    COLORREF brush;
    int x, y;
    COLORREF color;
    UINT type;
    BOOL result;
    COLORREF left, wall, right;  // (1, 1), (4, 1), (6, 1) afterwards
  };
  const Case cases[] = {
      {"surface, left of the wall", kRed, 1, 1, kWhite, FLOODFILLSURFACE, TRUE, kRed, kBlue, kWhite},
      {"surface, its own colour", kWhite, 1, 1, kWhite, FLOODFILLSURFACE, TRUE, kWhite, kBlue, kWhite},
      {"surface, not that colour", kRed, 4, 1, kWhite, FLOODFILLSURFACE, FALSE, kWhite, kBlue, kWhite},
      {"border, up to the wall", kRed, 6, 1, kBlue, FLOODFILLBORDER, TRUE, kWhite, kBlue, kRed},
      {"border, on the wall", kRed, 4, 1, kBlue, FLOODFILLBORDER, FALSE, kWhite, kBlue, kWhite},
  };
  for (const Case& c : cases) {
    Canvas canvas(8, 6);
    HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
    HGDIOBJ oldPen = SelectObject(canvas.Dc(), pen);
    MoveToEx(canvas.Dc(), 4, 0, nullptr);
    LineTo(canvas.Dc(), 4, 6);
    SelectObject(canvas.Dc(), oldPen);
    DeleteObject(pen);
    HBRUSH brush = CreateSolidBrush(c.brush);
    HGDIOBJ oldBrush = SelectObject(canvas.Dc(), brush);
    EXPECT_EQ(ExtFloodFill(canvas.Dc(), c.x, c.y, c.color, c.type), c.result) << c.what;
    SelectObject(canvas.Dc(), oldBrush);
    DeleteObject(brush);
    EXPECT_EQ(canvas.At(1, 1), c.left) << c.what;
    EXPECT_EQ(canvas.At(0, 5), c.left) << c.what;
    EXPECT_EQ(canvas.At(4, 1), c.wall) << c.what;
    EXPECT_EQ(canvas.At(6, 1), c.right) << c.what;
    EXPECT_EQ(canvas.At(7, 5), c.right) << c.what;
  }
}

// An inverting rubber band (R2_NOT with a hollow brush) inverts the outline only: the inside of a
// rectangle or an ellipse keeps its pixels.
TEST(Shapes, AHollowBrushLeavesTheInsideAloneWhenInverting) {
  for (bool ellipse : {false, true}) {
    Canvas c(20, 20);
    HPEN pen = CreatePen(PS_SOLID, 2, kRed);
    HGDIOBJ oldPen = SelectObject(c.Dc(), pen);
    HGDIOBJ oldBrush = SelectObject(c.Dc(), GetStockObject(NULL_BRUSH));
    SetROP2(c.Dc(), R2_NOT);
    if (ellipse)
      Ellipse(c.Dc(), 2, 2, 18, 18);
    else
      Rectangle(c.Dc(), 2, 2, 18, 18);
    SelectObject(c.Dc(), oldBrush);
    SelectObject(c.Dc(), oldPen);
    DeleteObject(pen);
    EXPECT_EQ(c.At(10, 10), kWhite) << ellipse;
    EXPECT_EQ(c.At(10, 2), RGB(0, 0, 0)) << ellipse;  // white inverted on the outline
    EXPECT_EQ(c.At(0, 0), kWhite) << ellipse;
  }
}

}  // namespace
