// The pixel grid of the button image editor: cell sizes, the tools, and the two ways it used to
// fail (a division by zero for an image larger than the grid, a fill in the colour already there).
#include "toolkit/customize/PlxPixelEditCtrl.h"

#include <vector>

#include "tests/toolkit/customize/ImageEditHost.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxImageEditorDlg.h"

using imgedit_test::EditFixture;
using imgedit_test::MakeBitmap;
using imgedit_test::PixelOf;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = 0, kRed = RGB(255, 0, 0);

TEST(PixelGrid, CellSizeIsAtLeastOnePixel) {
  struct Case {
    int client, image, cell;
  };
  const Case cases[] = {{258, 16, 16}, {242, 15, 16}, {258, 300, 1}, {2, 16, 1}, {0, 16, 1}, {100, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(plx_pixel_grid::CellSize(c.client, c.image), c.cell) << c.client << "/" << c.image;
}

TEST(PixelGrid, PointsMapToClampedPixels) {
  struct Case {
    int v, cell, count, pixel;
  };
  const Case cases[] = {{1, 16, 16, 0},   {16, 16, 16, 0},   {17, 16, 16, 1}, {0, 16, 16, 0},
                        {-40, 16, 16, 0}, {500, 16, 16, 15}, {5, 0, 16, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(plx_pixel_grid::PointToPixel(c.v, c.cell, c.count), c.pixel) << c.v << "/" << c.cell;
}

TEST(PixelGrid, ShapesTakeTheirEndPixelIn) {
  struct Case {
    CRect band, widened;
  };
  const Case cases[] = {{CRect(2, 2, 5, 5), CRect(2, 2, 6, 6)},
                        {CRect(5, 5, 2, 2), CRect(6, 6, 2, 2)},
                        {CRect(3, 4, 3, 9), CRect(3, 4, 3, 10)},
                        {CRect(3, 3, 3, 3), CRect(3, 3, 3, 3)}};
  for (const Case& c : cases) EXPECT_EQ(plx_pixel_grid::WidenBand(c.band), c.widened);
}

class PixelEdit : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    MakeBitmap(bitmap, 16, 15, kWhite);
    ASSERT_TRUE(grid.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 268, 252), &host, 16513));
    grid.SetBitmap(&bitmap);
  }
  // The client point at the centre of a pixel's cell.
  CPoint At(int px, int py) const {
    const CSize cell = grid.GetCellSize();
    return CPoint(1 + px * cell.cx + cell.cx / 2, 1 + py * cell.cy + cell.cy / 2);
  }
  void Send(UINT message, CPoint p, WPARAM keys = 0) {
    grid.SendMessage(message, keys, MAKELPARAM(p.x, p.y));
  }
  void Drag(CPoint from, std::vector<CPoint> through) {
    Send(WM_LBUTTONDOWN, from, MK_LBUTTON);
    for (CPoint p : through) Send(WM_MOUSEMOVE, p, MK_LBUTTON);
    Send(WM_LBUTTONUP, through.empty() ? from : through.back());
  }
  // The pixels that are not white.
  std::vector<CPoint> Painted() {
    std::vector<CPoint> out;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 16; ++x)
        if (PixelOf(bitmap, x, y) != kWhite) out.emplace_back(x, y);
    return out;
  }
  CBitmap bitmap;
  CPlxImageEditorDlg owner{&bitmap};  // the grid's owner hears the picked colour
  CPlxPixelEditCtrl& grid = owner.PixelGrid();
};

TEST_F(PixelEdit, A16x15ImageIn258x242GetsCellsOf16x16) {
  EXPECT_EQ(grid.GetCellSize(), CSize(16, 16));
  EXPECT_EQ(grid.GetImageSize(), CSize(16, 15));
}

TEST_F(PixelEdit, AnImageLargerThanTheGridStillMapsEveryPoint) {
  CBitmap big;
  MakeBitmap(big, 300, 300, kWhite);
  grid.SetBitmap(&big);
  EXPECT_EQ(grid.GetCellSize(), CSize(1, 1));
  Send(WM_LBUTTONDOWN, CPoint(51, 21), MK_LBUTTON);
  Send(WM_LBUTTONUP, CPoint(51, 21));
  EXPECT_EQ(PixelOf(big, 50, 20), kBlack);
  grid.RedrawWindow();
}

TEST_F(PixelEdit, ARectangleFrom2To5DrawsItsOutlineThroughBothEnds) {
  grid.SetTool(CPlxPixelEditCtrl::Rect);
  Drag(At(2, 2), {At(4, 4), At(5, 5)});
  std::vector<CPoint> expected;
  for (int y = 2; y <= 5; ++y)
    for (int x = 2; x <= 5; ++x)
      if (x == 2 || x == 5 || y == 2 || y == 5) expected.emplace_back(x, y);
  EXPECT_EQ(Painted(), expected);
  EXPECT_TRUE(grid.GetBand().IsRectNull());
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(PixelEdit, ALineDraggedBackToItsStartPaintsOnePixel) {
  grid.SetTool(CPlxPixelEditCtrl::Line);
  Drag(At(3, 3), {At(8, 3), At(3, 3)});
  EXPECT_EQ(Painted(), std::vector<CPoint>{CPoint(3, 3)});
}

TEST_F(PixelEdit, ALineIncludesBothEnds) {
  grid.SetTool(CPlxPixelEditCtrl::Line);
  Drag(At(1, 6), {At(4, 6)});
  EXPECT_EQ(Painted(), (std::vector<CPoint>{{1, 6}, {2, 6}, {3, 6}, {4, 6}}));
}

TEST_F(PixelEdit, PickingABlackPixelMakesBlackThePencilColour) {
  imgedit_test::SetPixelOf(bitmap, 4, 4, kBlack);
  grid.SetColor(kRed);
  grid.SetTool(CPlxPixelEditCtrl::PickColor);
  Drag(At(4, 4), {});
  EXPECT_EQ(grid.GetColor(), kBlack);
  EXPECT_EQ(grid.GetTool(), CPlxPixelEditCtrl::Pencil);
}

TEST_F(PixelEdit, APressOutsideTheHitAreaDoesNothing) {
  Send(WM_LBUTTONDOWN, CPoint(0, 0), MK_LBUTTON);
  EXPECT_EQ(::GetCapture(), nullptr);
  Send(WM_LBUTTONDOWN, CPoint(16 * 16 + 1, 5), MK_LBUTTON);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(Painted().empty());
}

TEST_F(PixelEdit, FillStopsAtTheOutlineAndAFillInTheSameColourEnds) {
  grid.SetTool(CPlxPixelEditCtrl::Rect);
  Drag(At(2, 2), {At(6, 6)});
  const size_t outline = Painted().size();
  grid.SetTool(CPlxPixelEditCtrl::Fill);
  grid.SetColor(kWhite);
  Drag(At(4, 4), {});  // already white: nothing changes, and it ends
  EXPECT_EQ(Painted().size(), outline);
  grid.SetColor(kRed);
  Drag(At(4, 4), {});
  EXPECT_EQ(PixelOf(bitmap, 4, 4), kRed);
  EXPECT_EQ(PixelOf(bitmap, 3, 3), kRed);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), kWhite);
  EXPECT_EQ(PixelOf(bitmap, 2, 2), kBlack);
}

TEST_F(PixelEdit, PencilPaintsEveryPixelItCrosses) {
  Drag(At(0, 0), {At(1, 0), At(2, 0)});
  EXPECT_EQ(Painted(), (std::vector<CPoint>{{0, 0}, {1, 0}, {2, 0}}));
}

}  // namespace
