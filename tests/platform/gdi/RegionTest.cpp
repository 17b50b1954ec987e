#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/RegionData.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsOf(HRGN region) {
  PixelSet out;
  for (const RECT& r : pictavo::gdi::RegionRects(region))
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) out.insert({x, y});
  return out;
}

PixelSet RectPixels(const RECT& r) {
  PixelSet out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.insert({x, y});
  return out;
}

struct CombineCase {
  RECT a, b;
  int mode;
  int kind;
};

TEST(Region, CombineMatchesPixelSetAlgebra) {
  const CombineCase cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, RGN_AND, SIMPLEREGION},
      {{0, 0, 10, 10}, {5, 5, 15, 15}, RGN_OR, COMPLEXREGION},
      {{0, 0, 10, 10}, {5, 5, 15, 15}, RGN_XOR, COMPLEXREGION},
      {{0, 0, 10, 10}, {5, 5, 15, 15}, RGN_DIFF, COMPLEXREGION},
      {{0, 0, 10, 10}, {20, 20, 30, 30}, RGN_AND, NULLREGION},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, RGN_OR, SIMPLEREGION},  // touching rectangles merge
      {{0, 0, 10, 10}, {0, 10, 10, 20}, RGN_OR, SIMPLEREGION},
      {{0, 0, 10, 10}, {0, 0, 10, 5}, RGN_DIFF, SIMPLEREGION},
      {{0, 0, 10, 10}, {2, 2, 8, 8}, RGN_DIFF, COMPLEXREGION},
  };
  for (const auto& c : cases) {
    HRGN a = CreateRectRgnIndirect(&c.a);
    HRGN b = CreateRectRgnIndirect(&c.b);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind) << c.mode;
    PixelSet pa = RectPixels(c.a), pb = RectPixels(c.b), expected;
    for (auto p : pa)
      if ((c.mode == RGN_AND && pb.count(p)) || c.mode == RGN_OR || (c.mode == RGN_XOR && !pb.count(p)) ||
          (c.mode == RGN_DIFF && !pb.count(p)))
        expected.insert(p);
    if (c.mode == RGN_OR || c.mode == RGN_XOR)
      for (auto p : pb)
        if (c.mode == RGN_OR || !pa.count(p)) expected.insert(p);
    EXPECT_EQ(PixelsOf(out), expected) << "mode " << c.mode;
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(out);
  }
}

TEST(Region, RectanglesAreBandedAndCoalesced) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(20, 0, 30, 10);
  CombineRgn(a, a, b, RGN_OR);
  std::vector<RECT> rects = pictavo::gdi::RegionRects(a);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].left, 0);
  EXPECT_EQ(rects[1].left, 20);
  EXPECT_EQ(rects[0].top, 0);
  EXPECT_EQ(rects[0].bottom, 10);  // one band, not one per row
  DeleteObject(a);
  DeleteObject(b);
}

TEST(Region, QueriesAndOffset) {
  HRGN r = CreateRectRgn(10, 20, 30, 40);
  EXPECT_TRUE(PtInRegion(r, 10, 20));
  EXPECT_FALSE(PtInRegion(r, 30, 20));  // right edge is outside
  EXPECT_FALSE(PtInRegion(r, 10, 40));
  RECT probe{29, 39, 50, 50};
  EXPECT_TRUE(RectInRegion(r, &probe));
  RECT outside{30, 40, 50, 50};
  EXPECT_FALSE(RectInRegion(r, &outside));
  EXPECT_EQ(OffsetRgn(r, -10, -20), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 20);
  HRGN same = CreateRectRgn(0, 0, 20, 20);
  EXPECT_TRUE(EqualRgn(r, same));
  SetRectRgn(same, 0, 0, 0, 0);
  EXPECT_EQ(GetRgnBox(same, &box), NULLREGION);
  DeleteObject(r);
  DeleteObject(same);
}

TEST(Region, EllipseIsSymmetricAndInsideItsBox) {
  HRGN e = CreateEllipticRgn(0, 0, 21, 15);  // covers [0, 20) x [0, 14)
  PixelSet pixels = PixelsOf(e);
  ASSERT_FALSE(pixels.empty());
  for (auto [x, y] : pixels) {
    EXPECT_GE(x, 0);
    EXPECT_LT(x, 20);
    EXPECT_GE(y, 0);
    EXPECT_LT(y, 14);
    EXPECT_TRUE(pixels.count({19 - x, y})) << x << "," << y;
    EXPECT_TRUE(pixels.count({x, 13 - y})) << x << "," << y;
  }
  EXPECT_TRUE(pixels.count({10, 0}));
  EXPECT_TRUE(pixels.count({0, 7}));
  EXPECT_FALSE(pixels.count({0, 0}));
  DeleteObject(e);
}

TEST(Region, RoundRectCutsOnlyTheCorners) {
  // The shape a bar window takes: right and bottom are one past the window.
  HRGN r = CreateRoundRectRgn(0, 0, 41, 21, 4, 4);
  PixelSet pixels = PixelsOf(r);
  EXPECT_FALSE(pixels.count({0, 0}));
  EXPECT_FALSE(pixels.count({39, 0}));
  EXPECT_FALSE(pixels.count({0, 19}));
  EXPECT_FALSE(pixels.count({39, 19}));
  EXPECT_TRUE(pixels.count({2, 0}));
  EXPECT_TRUE(pixels.count({0, 2}));
  EXPECT_TRUE(pixels.count({20, 10}));
  EXPECT_FALSE(pixels.count({40, 10}));  // one pixel narrower than given
  EXPECT_TRUE(pixels.count({39, 10}));
  DeleteObject(r);
}

TEST(Region, PolygonFillModes) {
  // A five-pointed star: its centre is outside under ALTERNATE and inside under WINDING.
  const POINT star[] = {{50, 0}, {79, 90}, {2, 34}, {98, 34}, {21, 90}};
  HRGN alternate = CreatePolygonRgn(star, 5, ALTERNATE);
  HRGN winding = CreatePolygonRgn(star, 5, WINDING);
  EXPECT_FALSE(PtInRegion(alternate, 50, 50));
  EXPECT_TRUE(PtInRegion(winding, 50, 50));
  EXPECT_TRUE(PtInRegion(alternate, 50, 20));
  EXPECT_TRUE(PtInRegion(winding, 50, 20));
  // A triangle: pixel centres inside only.
  const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
  HRGN t = CreatePolygonRgn(triangle, 3, ALTERNATE);
  EXPECT_TRUE(PtInRegion(t, 0, 0));
  EXPECT_TRUE(PtInRegion(t, 8, 0));
  EXPECT_FALSE(PtInRegion(t, 9, 1));
  EXPECT_FALSE(PtInRegion(t, 10, 0));
  for (HRGN h : {alternate, winding, t}) DeleteObject(h);
}

TEST(Region, DataAndHandlesConvert) {
  pictavo::gdi::RegionData data = pictavo::gdi::RegionData::Combine(
      pictavo::gdi::RegionData(RECT{0, 0, 4, 4}), pictavo::gdi::RegionData(RECT{2, 2, 8, 8}), RGN_OR);
  HRGN region = pictavo::gdi::CreateRgnFromData(data);
  EXPECT_TRUE(PtInRegion(region, 7, 7));
  EXPECT_FALSE(PtInRegion(region, 7, 0));
  EXPECT_TRUE(pictavo::gdi::RegionDataOf(region) == data);
  DeleteObject(region);
  EXPECT_TRUE(pictavo::gdi::RegionDataOf(region).IsEmpty());
}

TEST(Region, BadHandlesFailCleanly) {
  HRGN bogus = reinterpret_cast<HRGN>(static_cast<uintptr_t>(0x1234));
  EXPECT_EQ(CombineRgn(bogus, bogus, bogus, RGN_OR), ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HRGN r = CreateRectRgn(0, 0, 1, 1);
  DeleteObject(r);
  EXPECT_FALSE(PtInRegion(r, 0, 0));  // deleted
  EXPECT_EQ(CombineRgn(r, r, r, 99), ERROR);
}

}  // namespace
