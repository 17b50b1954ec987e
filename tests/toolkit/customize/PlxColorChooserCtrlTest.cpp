// The colour chooser control: hexagon and grey-row geometry, snapping, markers, luminance from a
// position, keys, clicks and double clicks, and the sizes that leave nothing to divide by.
#include "tests/toolkit/customize/ColorHost.h"

#include <cmath>

using colourtest::ColourFixture;

namespace {

using Chooser = CPlxColorChooserCtrl;

TEST(PlxColorCell, AHexagonHasAPointAtTopAndBottom) {
  POINT points[6];
  CPlxColorCell::SetHexagon(points, 50, 50, 11);  // h 5, d trunc(11 x 0.577)/2 = 3
  const POINT want[6] = {{45, 47}, {50, 45}, {55, 47}, {55, 53}, {50, 55}, {45, 53}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(points[i].x, want[i].x) << i;
    EXPECT_EQ(points[i].y, want[i].y) << i;
  }
}

TEST(PlxColorChooser, ComponentsSnapToTheEndsAndTheMiddleValues) {
  const struct {
    int v, tol, want;
  } cases[] = {{5, 0, 5},      {10, 16, 0},    {245, 16, 255}, {240, 16, 255}, {239, 16, 239}, {120, 16, 128},
               {200, 16, 192}, {100, 16, 100}, {195, 7, 192},  {240, 7, 240},  {135, 7, 135},  {122, 7, 128}};
  for (const auto& c : cases)
    EXPECT_EQ(Chooser::SnapColorComponent(c.v, c.tol), c.want) << c.v << " within " << c.tol;
}

TEST(PlxColorChooser, HueRunsClockwiseFromRedAtTheRight) {
  const struct {
    int dx, dy, want;
  } cases[] = {{1, 0, 0}, {0, 1, 90}, {-1, 0, 180}, {0, -1, -90}, {1, 1, 45}, {6, 9, 56}};
  for (const auto& c : cases) EXPECT_EQ(Chooser::HueAngle(c.dx, c.dy), c.want) << c.dx << "," << c.dy;
}

TEST(PlxColorChooser, TheHexagonIsSquaredAndBuiltRingByRing) {
  const struct {
    CRect rect;
    int size, cx, cy;
  } cases[] = {{CRect(0, 0, 130, 130), 11, 65, 65},
               {CRect(0, 0, 200, 130), 11, 100, 65},
               {CRect(0, 0, 130, 200), 11, 65, 100},
               {CRect(10, 10, 270, 270), 21, 140, 140}};
  for (const auto& c : cases) {
    Chooser hexagon;
    hexagon.BuildHexagonCells(c.rect);
    ASSERT_EQ(hexagon.GetCells().GetSize(), 127);
    const CPlxColorCell* centre = hexagon.GetCell(0);
    EXPECT_EQ(centre->m_nSize, c.size);
    EXPECT_EQ(centre->m_x, c.cx);
    EXPECT_EQ(centre->m_y, c.cy);
    EXPECT_EQ(centre->m_color, RGB(255, 255, 255));
    EXPECT_EQ(hexagon.GetCell(1)->m_x, c.cx + c.size) << "ring 1 begins right of the centre";
    EXPECT_EQ(hexagon.GetCell(1)->m_y, c.cy);
    // Ring 6 begins with cell 1 + 6 x (1 + ... + 5) = 91, six sizes to the right.
    EXPECT_EQ(hexagon.GetCell(91)->m_x, c.cx + 6 * c.size);
  }
  Chooser hexagon;
  hexagon.BuildHexagonCells(CRect(0, 0, 130, 130));
  // Ring 1 at lightness 0.957: red hue gives a pale red, the second cell one step down-left.
  EXPECT_EQ(hexagon.GetCell(1)->m_color, RGB(255, 233, 233));
  EXPECT_EQ(hexagon.GetCell(2)->m_x, 65 + 11 - 5);
  EXPECT_EQ(hexagon.GetCell(2)->m_y, 65 + 9);
  // Ring 4 at lightness 0.529 holds pure red after snapping.
  bool red = false;
  for (int i = 0; i < hexagon.GetCells().GetSize(); ++i)
    red = red || hexagon.GetCell(i)->m_color == RGB(255, 0, 0);
  EXPECT_TRUE(red);
}

TEST(PlxColorChooser, TheGreyRowIsCentredWithSnappedGreys) {
  Chooser greys;
  greys.BuildGreyCells(CRect(0, 0, 312, 48));  // s = min(22, 24); rows at 15 and 34; starts at 13
  ASSERT_EQ(greys.GetCells().GetSize(), 17);
  const struct {
    int index, x, y, size;
    COLORREF color;
  } cases[] = {{0, 35, 24, 44, RGB(255, 255, 255)},  {1, 79, 15, 22, RGB(240, 240, 240)},
               {2, 90, 34, 22, RGB(225, 225, 225)},  {4, 112, 34, 22, RGB(192, 192, 192)},
               {8, 156, 34, 22, RGB(135, 135, 135)}, {15, 233, 15, 22, RGB(30, 30, 30)},
               {16, 276, 24, 44, RGB(0, 0, 0)}};
  for (const auto& c : cases) {
    const CPlxColorCell* cell = greys.GetCell(c.index);
    EXPECT_EQ(cell->m_x, c.x) << c.index;
    EXPECT_EQ(cell->m_y, c.y) << c.index;
    EXPECT_EQ(cell->m_nSize, c.size) << c.index;
    EXPECT_EQ(cell->m_color, c.color) << c.index;
  }
}

using PlxColorChooserCtrl = ColourFixture;

TEST_F(PlxColorChooserCtrl, MarkersFollowTheValues) {
  Chooser bar, plane;
  ASSERT_TRUE(host.Add(bar, Chooser::LuminanceBar, CRect(0, 0, 30, 110), 10));
  ASSERT_TRUE(host.Add(plane, Chooser::Plane, CRect(40, 0, 240, 100), 11));
  const struct {
    Chooser* chooser;
    double hue, lum, sat;
    CPoint point;
    CRect rect;
  } cases[] = {
      {&bar, 0, 0.5, 1, {26, 55}, {22, 51, 31, 60}},  {&bar, 0, 1, 1, {26, 5}, {22, 1, 31, 10}},
      {&bar, 0, 0, 1, {26, 105}, {22, 101, 31, 110}}, {&plane, 0.25, 0.5, 0.75, {50, 25}, {41, 16, 60, 35}},
      {&plane, 0, 0.5, 1, {0, 0}, {-9, -9, 10, 10}},  {&plane, 1, 0.5, 0, {200, 100}, {191, 91, 210, 110}},
  };
  for (const auto& c : cases) {
    c.chooser->SetHueLumSat(c.hue, c.lum, c.sat, FALSE);
    EXPECT_EQ(c.chooser->GetMarkerPoint(), c.point)
        << c.chooser->GetChooserType() << " " << c.hue << c.lum << c.sat;
    EXPECT_EQ(c.chooser->GetMarkerRect(), c.rect);
  }
  const struct {
    int y;
    double lum;
  } ys[] = {{-20, 1}, {5, 1}, {55, 0.5}, {105, 0}, {200, 0}};
  for (const auto& c : ys) EXPECT_DOUBLE_EQ(bar.LuminanceFromY(c.y), c.lum) << c.y;
  Chooser sample;
  ASSERT_TRUE(host.Add(sample, Chooser::Sample, CRect(0, 120, 30, 160), 12));
  EXPECT_TRUE(sample.GetMarkerRect().IsRectEmpty());
}

// A bar of 10 pixels or less, or a plane without area, has nothing to divide by: a click keeps
// the values instead of making them NaN.
TEST_F(PlxColorChooserCtrl, TinyBarsAndEmptyPlanesKeepTheirValues) {
  const struct {
    int type;
    CRect rect;
  } cases[] = {{Chooser::LuminanceBar, CRect(0, 0, 30, 10)},
               {Chooser::LuminanceBar, CRect(0, 0, 30, 4)},
               {Chooser::Plane, CRect(0, 0, 0, 0)},
               {Chooser::Plane, CRect(0, 0, 50, 0)}};
  for (const auto& c : cases) {
    Chooser chooser;
    ASSERT_TRUE(host.Add(chooser, c.type, c.rect, 20));
    chooser.SetHueLumSat(0.3, 0.4, 0.6, FALSE);
    chooser.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    chooser.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    double hue, lum, sat;
    chooser.GetHueLumSat(hue, lum, sat);
    EXPECT_DOUBLE_EQ(hue, 0.3) << c.type << " " << c.rect.Height();
    EXPECT_DOUBLE_EQ(lum, 0.4);
    EXPECT_DOUBLE_EQ(sat, 0.6);
    EXPECT_EQ(chooser.GetColor(), CPlxDrawHelper::HLStoRGB(0.3, 0.4, 0.6));
    chooser.DestroyWindow();
  }
}

TEST_F(PlxColorChooserCtrl, ArrowKeysStepByATwentiethAndStopAtTheEnds) {
  const struct {
    int type;
    double hue, lum, sat;
    UINT key;
    double wantHue, wantLum, wantSat;
    bool told;
  } cases[] = {
      {Chooser::LuminanceBar, 0, 1, 1, VK_UP, 0, 1, 1, false},
      {Chooser::LuminanceBar, 0, 0.5, 1, VK_UP, 0, 0.55, 1, true},
      {Chooser::LuminanceBar, 0, 0.5, 1, VK_DOWN, 0, 0.45, 1, true},
      {Chooser::LuminanceBar, 0, 0.5, 1, VK_LEFT, 0, 0.5, 1, false},
      {Chooser::Plane, 0, 0.5, 0.5, VK_LEFT, 0, 0.5, 0.5, false},
      {Chooser::Plane, 0.5, 0.5, 0.5, VK_RIGHT, 0.55, 0.5, 0.5, true},
      {Chooser::Plane, 0.98, 0.5, 0.5, VK_RIGHT, 1, 0.5, 0.5, true},
      {Chooser::Plane, 0.5, 0.5, 0.5, VK_UP, 0.5, 0.5, 0.55, true},
      {Chooser::Plane, 0.5, 0.5, 1, VK_UP, 0.5, 0.5, 1, false},
      {Chooser::Plane, 0.5, 0.5, 0.5, VK_DOWN, 0.5, 0.5, 0.45, true},
      {Chooser::Hexagon, 0, 0.5, 0, VK_UP, 0, 0.5, 0, false},
      {Chooser::Sample, 0, 0.5, 0, VK_DOWN, 0, 0.5, 0, false},
  };
  for (const auto& c : cases) {
    Chooser chooser;
    ASSERT_TRUE(host.Add(chooser, c.type, CRect(0, 0, 130, 130), 30));
    chooser.SetHueLumSat(c.hue, c.lum, c.sat, FALSE);
    host.notes.clear();
    chooser.SendMessage(WM_KEYDOWN, c.key, 0);
    double hue, lum, sat;
    chooser.GetHueLumSat(hue, lum, sat);
    SCOPED_TRACE(std::to_string(c.type) + " key " + std::to_string(c.key));
    EXPECT_NEAR(hue, c.wantHue, 1e-9);
    EXPECT_NEAR(lum, c.wantLum, 1e-9);
    EXPECT_NEAR(sat, c.wantSat, 1e-9);
    EXPECT_EQ(host.notes.size(), c.told ? 1u : 0u);
    if (c.told) EXPECT_EQ(chooser.GetColor(), CPlxDrawHelper::HLStoRGB(hue, lum, sat));
    chooser.DestroyWindow();
  }
  Chooser bar;
  ASSERT_TRUE(host.Add(bar, Chooser::LuminanceBar, CRect(0, 0, 30, 110), 31));
  EXPECT_EQ(bar.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(PlxColorChooserCtrl, OnlyThePlaneHexagonAndGreysTellADoubleClick) {
  const struct {
    int type;
    bool told;
  } cases[] = {{Chooser::Sample, false},
               {Chooser::LuminanceBar, false},
               {Chooser::Plane, true},
               {Chooser::Hexagon, true},
               {Chooser::Greys, true}};
  for (const auto& c : cases) {
    Chooser chooser;
    ASSERT_TRUE(host.Add(chooser, c.type, CRect(0, 0, 130, 130), 40));
    host.notes.clear();
    chooser.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(65, 65));
    const bool told =
        !host.notes.empty() && host.notes.back() == std::make_pair(40u, static_cast<UINT>(BN_DOUBLECLICKED));
    EXPECT_EQ(told, c.told) << c.type;
    chooser.DestroyWindow();
  }
}

TEST_F(PlxColorChooserCtrl, ControlAndShiftHoldTheOtherAxisOfThePlane) {
  const struct {
    UINT flags;
    double hue, sat;
  } cases[] = {{0, 0.75, 0.2}, {MK_CONTROL, 0.25, 0.2}, {MK_SHIFT, 0.75, 0.75}};
  for (const auto& c : cases) {
    Chooser plane;
    ASSERT_TRUE(host.Add(plane, Chooser::Plane, CRect(0, 0, 200, 100), 50));
    plane.SetHueLumSat(0.25, 0.5, 0.75, FALSE);
    host.notes.clear();
    plane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | c.flags, MAKELPARAM(150, 80));
    plane.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
    double hue, lum, sat;
    plane.GetHueLumSat(hue, lum, sat);
    EXPECT_DOUBLE_EQ(hue, c.hue) << c.flags;
    EXPECT_DOUBLE_EQ(sat, c.sat) << c.flags;
    EXPECT_EQ(host.notes.size(), 1u);
    plane.DestroyWindow();
  }
}

TEST_F(PlxColorChooserCtrl, ClicksOnCellsSelectAndClicksBesideThemDoNothing) {
  Chooser hexagon;
  ASSERT_TRUE(host.Add(hexagon, Chooser::Hexagon, CRect(0, 0, 130, 130), 60));
  hexagon.SetColor(RGB(1, 2, 3));
  Paint(host);
  ASSERT_EQ(hexagon.GetCells().GetSize(), 127) << "built by the first paint";
  host.notes.clear();
  hexagon.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));  // a corner: no cell
  hexagon.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  EXPECT_TRUE(host.notes.empty());
  EXPECT_EQ(hexagon.GetColor(), RGB(1, 2, 3));
  EXPECT_EQ(hexagon.GetSelectedCell(), -1);

  const CPlxColorCell* cell = hexagon.GetCell(5);
  hexagon.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell->m_x, cell->m_y));
  hexagon.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell->m_x, cell->m_y));
  EXPECT_EQ(host.notes, (std::vector<std::pair<UINT, UINT>>{{60, BN_CLICKED}}));
  EXPECT_EQ(hexagon.GetColor(), cell->m_color);

  // Cells that share a colour: the frame goes round the last one.
  for (int i = 0; i < hexagon.GetCells().GetSize(); ++i) {
    int last = i;
    for (int j = i + 1; j < hexagon.GetCells().GetSize(); ++j)
      if (hexagon.GetCell(j)->m_color == hexagon.GetCell(i)->m_color) last = j;
    if (last == i) continue;
    hexagon.SelectColor(hexagon.GetCell(i)->m_color);
    EXPECT_EQ(hexagon.GetSelectedCell(), last);
    break;
  }

  // A later resize keeps the cells where they were.
  const CPoint before(hexagon.GetCell(1)->m_x, hexagon.GetCell(1)->m_y);
  hexagon.MoveWindow(0, 0, 260, 260);
  Paint(host);
  EXPECT_EQ(CPoint(hexagon.GetCell(1)->m_x, hexagon.GetCell(1)->m_y), before);
}

TEST_F(PlxColorChooserCtrl, GreysShowAndSelectTheirSnappedValues) {
  Chooser greys;
  ASSERT_TRUE(host.Add(greys, Chooser::Greys, CRect(0, 0, 312, 48), 70));
  Paint(host);
  const struct {
    int index;
    COLORREF want;
  } cases[] = {{1, RGB(240, 240, 240)}, {4, RGB(192, 192, 192)}, {0, RGB(255, 255, 255)}, {16, RGB(0, 0, 0)}};
  for (const auto& c : cases) {
    const CPlxColorCell* cell = greys.GetCell(c.index);
    greys.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell->m_x, cell->m_y));
    greys.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell->m_x, cell->m_y));
    EXPECT_EQ(greys.GetColor(), c.want) << c.index;
    EXPECT_EQ(greys.GetSelectedCell(), c.index);
  }
}

}  // namespace
