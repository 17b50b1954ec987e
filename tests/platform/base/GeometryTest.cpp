#include <gtest/gtest.h>

#include "platform/base/Geometry.h"

namespace {

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
  if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "{" << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom
         << "} instead of {" << expected.left << "," << expected.top << "," << expected.right << ","
         << expected.bottom << "}";
}

TEST(Geometry, IntersectAndUnion) {
  struct Case {
    RECT a, b;
    BOOL intersects;
    RECT intersection;
    RECT unionRect;
  };
  const Case kCases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}, {0, 0, 15, 15}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}, {0, 0, 20, 10}},  // touching edges
      {{0, 0, 10, 10}, {2, 2, 4, 4}, TRUE, {2, 2, 4, 4}, {0, 0, 10, 10}},
      {{0, 0, 10, 10}, {3, 3, 3, 8}, FALSE, {0, 0, 0, 0}, {0, 0, 10, 10}},  // empty source left out
      {{5, 5, 5, 5}, {1, 1, 1, 9}, FALSE, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const auto& c : kCases) {
    RECT r;
    EXPECT_EQ(IntersectRect(&r, &c.a, &c.b), c.intersects);
    EXPECT_TRUE(SameRect(r, c.intersection));
    const BOOL anything = !IsRectEmpty(&c.a) || !IsRectEmpty(&c.b);
    EXPECT_EQ(UnionRect(&r, &c.a, &c.b), anything);
    EXPECT_TRUE(SameRect(r, c.unionRect));
  }
  CRect r(0, 0, 10, 10);
  r &= CRect(4, -5, 20, 5);
  EXPECT_EQ(r, CRect(4, 0, 10, 5));
  r |= CRect(0, 0, 1, 1);
  EXPECT_EQ(r, CRect(0, 0, 10, 5));
}

TEST(Geometry, SubtractLeavesARectangleOrTheSource) {
  struct Case {
    RECT a, b;
    BOOL nonEmpty;
    RECT result;
  };
  const Case kCases[] = {
      {{0, 0, 10, 10}, {0, 0, 4, 10}, TRUE, {4, 0, 10, 10}},     // left strip
      {{0, 0, 10, 10}, {6, -1, 12, 11}, TRUE, {0, 0, 6, 10}},    // right strip
      {{0, 0, 10, 10}, {-5, 0, 20, 3}, TRUE, {0, 3, 10, 10}},    // top strip
      {{0, 0, 10, 10}, {0, 7, 10, 10}, TRUE, {0, 0, 10, 7}},     // bottom strip
      {{0, 0, 10, 10}, {3, 3, 6, 6}, TRUE, {0, 0, 10, 10}},      // hole: unchanged
      {{0, 0, 10, 10}, {3, 0, 6, 10}, TRUE, {0, 0, 10, 10}},     // middle band: unchanged
      {{0, 0, 10, 10}, {20, 20, 30, 30}, TRUE, {0, 0, 10, 10}},  // apart
      {{0, 0, 10, 10}, {-1, -1, 11, 11}, FALSE, {0, 0, 0, 0}},   // covered
  };
  for (const auto& c : kCases) {
    RECT r;
    EXPECT_EQ(SubtractRect(&r, &c.a, &c.b), c.nonEmpty);
    EXPECT_TRUE(SameRect(r, c.result));
  }
}

TEST(Geometry, PointsInsideIncludeTopLeftOnly) {
  const CRect r(1, 1, 4, 3);
  struct Case {
    POINT p;
    BOOL inside;
  };
  const Case kCases[] = {{{1, 1}, TRUE}, {{3, 2}, TRUE}, {{4, 2}, FALSE}, {{3, 3}, FALSE}, {{0, 1}, FALSE}};
  for (const auto& c : kCases) {
    EXPECT_EQ(r.PtInRect(c.p), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_EQ(PtInRect(&r, c.p), c.inside);
  }
  EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

TEST(Geometry, CRectMembers) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.Size(), CSize(100, 50));
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
  r.BottomRight() = CPoint(30, 40);
  EXPECT_EQ(r, CRect(10, 20, 30, 40));
  r.TopLeft() += CSize(5, 5);
  EXPECT_EQ(r, CRect(15, 25, 30, 40));

  r.InflateRect(1, 2);
  EXPECT_EQ(r, CRect(14, 23, 31, 42));
  r.DeflateRect(1, 2, 3, 4);
  EXPECT_EQ(r, CRect(15, 25, 28, 38));
  const RECT margins{1, 1, 2, 2};
  r.InflateRect(&margins);
  EXPECT_EQ(r, CRect(14, 24, 30, 40));
  r.OffsetRect(CPoint(-14, -24));
  EXPECT_EQ(r, CRect(0, 0, 16, 16));
  EXPECT_EQ(r + CPoint(1, 1), CRect(1, 1, 17, 17));
  EXPECT_EQ(r - CSize(1, 1), CRect(-1, -1, 15, 15));
  EXPECT_EQ(r - &margins, CRect(1, 1, 14, 14));

  CRect flipped(10, 10, 0, 0);
  EXPECT_TRUE(flipped.IsRectEmpty());
  flipped.NormalizeRect();
  EXPECT_EQ(flipped, CRect(0, 0, 10, 10));
  EXPECT_FALSE(flipped.IsRectNull());
  flipped.SetRectEmpty();
  EXPECT_TRUE(flipped.IsRectNull());
  EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
}

TEST(Geometry, PointAndSizeArithmetic) {
  CPoint p(3, 4);
  p += CSize(1, 1);
  p -= CPoint(2, 2);
  EXPECT_EQ(p, CPoint(2, 3));
  EXPECT_EQ(CPoint(5, 5) - CPoint(2, 1), CSize(3, 4));
  EXPECT_EQ(-p, CPoint(-2, -3));
  EXPECT_EQ(CSize(2, 2) + CPoint(1, 1), CPoint(3, 3));
  // Mouse messages pack signed 16-bit coordinates.
  EXPECT_EQ(CPoint(static_cast<LPARAM>(MAKELPARAM(-5, 7))), CPoint(-5, 7));
  const RECT base{0, 0, 2, 2};
  EXPECT_EQ(CPoint(1, 1) + &base, CRect(1, 1, 3, 3));
}

TEST(Geometry, NullArgumentsFail) {
  RECT r{};
  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
  EXPECT_FALSE(CopyRect(&r, nullptr));
  EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
  EXPECT_FALSE(IntersectRect(nullptr, &r, &r));
  EXPECT_FALSE(EqualRect(&r, nullptr));
  EXPECT_TRUE(IsRectEmpty(nullptr));
}

}  // namespace
