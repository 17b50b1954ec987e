// The disc-menu preview's arithmetic: the focus walk over album entries and page buttons, what
// activating the focus does, where menu rectangles land, how long a pass of the motion plays.
#include <gtest/gtest.h>

#include "render/MenuPreviewRules.h"

using namespace pictavo::render;

namespace {

TEST(MenuPreviewRules, TheFocusWalksAlbumsThenTheButtonsThePageHas) {
  struct Case {
    MenuPage page;
    int from;
    int next, previous;
  };
  const Case kCases[] = {
      // Three albums and only a next-page button: 2 -> 4 skips the missing slot 3, and back.
      {{3, false, true}, 2, 4, 1},
      {{3, false, true}, 4, 4, 2},
      {{3, false, true}, 0, 1, 0},
      // Both buttons: 3 is the previous-page button, 4 the next-page button.
      {{3, true, true}, 2, 3, 1},
      {{3, true, true}, 3, 4, 2},
      {{3, true, true}, 4, 4, 3},
      // Only a previous-page button: the last entry is 3.
      {{3, true, false}, 2, 3, 1},
      {{3, true, false}, 3, 3, 2},
      // No buttons: the walk stays within the albums.
      {{6, false, false}, 5, 5, 4},
      {{1, false, false}, 0, 0, 0},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(MenuFocusAfterNext(c.from, c.page), c.next) << c.page.albums << " from " << c.from;
    EXPECT_EQ(MenuFocusAfterPrevious(c.from, c.page), c.previous) << c.page.albums << " from " << c.from;
  }
}

TEST(MenuPreviewRules, ActivatingPlaysTheAlbumOrTurnsThePage) {
  struct Case {
    int focus;
    MenuPage page;
    int perPage, currentPage;
    MenuActivation::Kind kind;
    int album;
  };
  const Case kCases[] = {
      {1, {6, false, true}, 6, 0, MenuActivation::kPlayAlbum, 1},
      {2, {3, true, false}, 6, 1, MenuActivation::kPlayAlbum, 8},
      {3, {3, true, false}, 6, 1, MenuActivation::kPreviousPage, -1},
      {4, {3, true, true}, 6, 1, MenuActivation::kNextPage, -1},
      {4, {3, false, true}, 6, 0, MenuActivation::kNextPage, -1},
      {3, {3, false, true}, 6, 0, MenuActivation::kNothing, -1},  // the missing previous-page slot
      {5, {3, true, true}, 6, 0, MenuActivation::kNothing, -1},
      {-1, {3, true, true}, 6, 0, MenuActivation::kNothing, -1},
  };
  for (const Case& c : kCases) {
    const MenuActivation a = MenuActivate(c.focus, c.page, c.perPage, c.currentPage);
    EXPECT_EQ(a.kind, c.kind) << "focus " << c.focus;
    if (c.kind == MenuActivation::kPlayAlbum) EXPECT_EQ(a.album, c.album) << "focus " << c.focus;
  }
  EXPECT_EQ(MenuFocusOfAlbum(8, 6), 2);
  EXPECT_EQ(MenuFocusOfAlbum(3, 0), 0) << "a template without album entries";
}

TEST(MenuPreviewRules, MenuRectanglesScaleToTheClientAreaTruncated) {
  struct Case {
    RECT menu;
    int cx, cy;
    RECT client;
  };
  const Case kCases[] = {
      {{72, 140, 200, 236}, 768, 576, {72, 140, 200, 236}},
      {{72, 140, 200, 236}, 384, 288, {36, 70, 100, 118}},
      {{77, 143, 201, 239}, 320, 240, {32, 59, 83, 99}},
      {{0, 0, 768, 576}, 592, 333, {0, 0, 592, 333}},
  };
  for (const Case& c : kCases) {
    const RECT r = MenuToClient(c.menu, c.cx, c.cy);
    EXPECT_EQ(r.left, c.client.left);
    EXPECT_EQ(r.top, c.client.top);
    EXPECT_EQ(r.right, c.client.right);
    EXPECT_EQ(r.bottom, c.client.bottom);
  }
}

TEST(MenuPreviewRules, APassOfTheMotionTakesItsWholeSecondsOfTicks) {
  struct Case {
    int frames, fps, ticks;
  };
  const Case kCases[] = {{300, 25, 240}, {299, 25, 220}, {360, 30, 240}, {360, 25, 280},
                         {10, 25, 0},    {300, 0, 0},    {0, 25, 0}};
  for (const Case& c : kCases) EXPECT_EQ(MenuPassTicks(c.frames, c.fps), c.ticks) << c.frames << "/" << c.fps;
}

}  // namespace
