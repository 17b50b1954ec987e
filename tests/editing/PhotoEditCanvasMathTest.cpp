// The canvas's rules on their own: frames, reference units, the cascade, the cached photo size and
// the resize steps, including the inputs that used to divide by zero or leave negative sizes.
#include <gtest/gtest.h>

#include "editing/PhotoEditCanvasMath.h"

namespace canvas = pictavo::canvas;

namespace {

TEST(PhotoEditCanvasMath, FramesAreTheLargestCentredTvRectangle) {
  struct Case {
    RECT rect;
    bool widescreen;
    RECT frame;
  } cases[] = {
      {{1, 1, 399, 299}, false, {1, 1, 398, 299}},    // 400 x 300 client less its border
      {{1, 1, 399, 299}, true, {1, 38, 399, 261}},    // the same area in 16:9
      {{0, 0, 800, 300}, false, {200, 0, 600, 300}},  // wider than 4:3: full height, centred
      {{0, 0, 0, 0}, false, {0, 0, 0, 0}},            // nothing to show
      {{0, 0, 0, 0}, true, {0, 0, 0, 0}},
      {{5, 5, 5, 200}, true, {5, 102, 5, 102}},  // no width at all
      {{1, 1, -1, -1}, false, {1, 1, 1, 1}},     // a 0 x 0 window less its border
  };
  for (const Case& c : cases) {
    const CRect frame = canvas::FrameRect(c.rect, c.widescreen);
    EXPECT_EQ(frame, CRect(c.frame)) << c.rect.right << "x" << c.rect.bottom
                                     << (c.widescreen ? " 16:9" : " 4:3");
  }
}

TEST(PhotoEditCanvasMath, ReferenceUnitsRoundHalfUpAndSurviveAMissingFactor) {
  struct Case {
    int pixels;
    float factor;
    int units;
  } cases[] = {
      {397, 397 * canvas::kFactorPerPixel, 768},  // the frame's width is 768 units
      {199, 397 * canvas::kFactorPerPixel, 385},
      {0, 0.5f, 0},
      {3, 0.5f, 6},
      {100, 0.0f, 100},  // no frame yet: no division by zero
      {100, -1.0f, 100},
  };
  for (const Case& c : cases) EXPECT_EQ(canvas::ToReference(c.pixels, c.factor), c.units) << c.pixels;
}

TEST(PhotoEditCanvasMath, CascadeRestartsEachAxisAtItsEdge) {
  struct Case {
    POINT from, to;
  } cases[] = {
      {{50, 50}, {70, 70}},     {{70, 70}, {90, 90}},    {{690, 490}, {710, 510}},
      {{710, 510}, {50, 50}},  // 710 + 70 > 767 and 510 + 70 > 575
      {{697, 100}, {717, 120}}, {{698, 100}, {50, 120}}, {{100, 506}, {120, 50}},
  };
  for (const Case& c : cases) {
    const POINT next = canvas::NextCascade(c.from);
    EXPECT_EQ(next.x, c.to.x) << c.from.x;
    EXPECT_EQ(next.y, c.to.y) << c.from.y;
  }
}

TEST(PhotoEditCanvasMath, CachedPhotoSize) {
  struct Case {
    CSize placement, picture, cached;
  } cases[] = {
      {{300, 400}, {600, 800}, {400, 533}},   // portrait: cached at the placement's height across
      {{533, 400}, {1024, 768}, {533, 400}},  // landscape: its placement
      {{0, 400}, {1, 800}, {1, 800}},         // a photo placed 0 wide: no division by zero
      {{0, 0}, {0, 0}, {0, 0}},               // unreadable
      {{1, 400}, {2, 800}, {1, 400}},         // a sliver would be 400 x 160000
  };
  for (const Case& c : cases)
    EXPECT_EQ(canvas::CachedPhotoSize(c.placement, c.picture), c.cached)
        << c.placement.cx << "x" << c.placement.cy;
}

TEST(PhotoEditCanvasMath, TextResizeStepsOnePointWithinEightTo180) {
  const RECT box{100, 100, 200, 140};  // 100 x 40 at size 20: 5 pixels a point across, 2 down
  struct Case {
    int size, hit;
    POINT mouse;
    int expected;
  } cases[] = {
      {20, 5, {210, 150}, 21},    // bottom-right dragged outwards grows
      {20, 5, {190, 130}, 19},    // inwards shrinks
      {20, 5, {201, 140}, 20},    // less than half a unit: no step
      {20, 1, {90, 95}, 21},      // top-left outwards
      {20, 4, {200, 300}, 20},    // the right side ignores vertical moves
      {20, 6, {150, 150}, 21},    // the bottom side grows downwards
      {20, 8, {120, 120}, 19},    // the left side dragged inwards
      {180, 5, {400, 400}, 180},  // never past 180
      {8, 5, {101, 101}, 8},      // never under 8
      {20, 0, {400, 400}, 20},    // not a handle
      {0, 5, {400, 400}, 0},      // a broken size is left alone, not divided by
  };
  for (const Case& c : cases)
    EXPECT_EQ(canvas::TextResizeStep(box, c.size, c.hit, c.mouse), c.expected) << "hit " << c.hit;
}

TEST(PhotoEditCanvasMath, TextResizeKeepsTheSideOppositeTheHandle) {
  const RECT box{100, 100, 200, 140};
  const CSize grown(110, 44);
  struct Case {
    int hit;
    POINT corner;
  } cases[] = {
      {1, {90, 96}},    // bottom-right stays
      {2, {95, 96}},    // bottom edge and horizontal centre stay
      {3, {100, 96}},   // bottom-left stays
      {4, {100, 98}},   // left edge and vertical centre stay
      {5, {100, 100}},  // top-left stays
      {6, {95, 100}},   // top edge and horizontal centre stay
      {7, {90, 100}},   // top-right stays
      {8, {90, 98}},    // right edge and vertical centre stay
  };
  for (const Case& c : cases) {
    const POINT corner = canvas::TextResizeAnchor(box, grown, c.hit);
    EXPECT_EQ(corner.x, c.corner.x) << "hit " << c.hit;
    EXPECT_EQ(corner.y, c.corner.y) << "hit " << c.hit;
  }
}

TEST(PhotoEditCanvasMath, ClipArtResizeKeepsTenPixelsTheFrameAndTheRatio) {
  const RECT frame{0, 0, 400, 300};
  const RECT box{100, 100, 200, 150};  // 2:1
  struct Case {
    const char* what;
    RECT box;
    int hit;
    POINT mouse;
    RECT expected;
  } cases[] = {
      {"right side inwards past the left", box, 4, {50, 120}, {100, 100, 110, 150}},
      {"left side inwards past the right", box, 8, {300, 120}, {190, 100, 200, 150}},
      {"top side down past the bottom", box, 2, {150, 400}, {100, 140, 200, 150}},
      {"bottom side out of the frame", box, 6, {150, 900}, {100, 100, 200, 300}},
      {"left side out of the frame", box, 8, {-50, 120}, {0, 100, 200, 150}},
      {"bottom-right keeps 2:1", box, 5, {300, 110}, {100, 100, 300, 200}},
      {"bottom-right keeps 2:1 at the frame's bottom",
       {100, 200, 200, 250},
       5,
       {400, 210},
       {100, 200, 300, 300}},
      {"top-left keeps 2:1 from the height", box, 1, {0, 50}, {0, 50, 200, 150}},
      {"top-right keeps 2:1 from the width", box, 3, {260, 0}, {100, 70, 260, 150}},
      {"bottom-left keeps 2:1", box, 7, {40, 0}, {40, 100, 200, 180}},
      // Left of the frame after the aspect changed: clipping alone would leave it -90 wide.
      {"outside the frame", {-120, 100, -20, 150}, 4, {-60, 120}, {0, 100, 10, 150}},
      {"outside the frame, dragged left", {-120, 100, -20, 150}, 8, {-200, 120}, {0, 100, 10, 150}},
      {"outside below", {100, 320, 200, 370}, 6, {150, 360}, {100, 290, 200, 300}},
  };
  for (const Case& c : cases) {
    const float wh =
        static_cast<float>(c.box.right - c.box.left) / static_cast<float>(c.box.bottom - c.box.top);
    const CRect r = canvas::ClipArtResizeRect(c.box, frame, c.hit, c.mouse, wh, 1.0f / wh);
    EXPECT_EQ(r, CRect(c.expected)) << c.what;
    EXPECT_GE(r.Width(), canvas::kMinClipArtPixels) << c.what;
    EXPECT_GE(r.Height(), canvas::kMinClipArtPixels) << c.what;
  }
}

}  // namespace
