// Where a popup menu goes: beside, above or below its item, flipped at the work area's edges,
// cut and scrolled where it is taller than the room, mirrored under a right-to-left layout.
#include <gtest/gtest.h>

#include "toolkit/bars/PlxPopupMenu.h"

namespace {

struct Case {
  const char* name;
  CRect work;
  CPoint at;  // asked-for corner (top-right under right-to-left)
  CSize size;
  int kind;  // 0 context menu, 1 from a horizontal menu bar, 2 sub-menu, 3 from a vertical bar
  CRect item;
  CRect parentPopup;
  BOOL rtl;
  BOOL rightAlign;
  // expected
  CPoint pt;
  int height;
  int direction;
  BOOL scrollable;
  BOOL fromTop;
};

constexpr int kDown = 1, kUp = 2, kRight = 3, kLeft = 4;
const CRect kScreen(0, 0, 800, 600);
const CRect kMenuItem(100, 0, 150, 22);

const Case kCases[] = {
    {"below a menu bar item",
     kScreen,
     {100, 21},
     {120, 200},
     1,
     kMenuItem,
     {},
     FALSE,
     FALSE,
     {100, 21},
     200,
     kDown,
     FALSE,
     TRUE},
    {"at the right edge it moves left",
     kScreen,
     {750, 21},
     {120, 200},
     1,
     {750, 0, 790, 22},
     {},
     FALSE,
     FALSE,
     {679, 21},
     200,
     0,
     FALSE,
     TRUE},
    {"right to left extends left of its corner",
     kScreen,
     {700, 21},
     {120, 200},
     1,
     {650, 0, 700, 22},
     {},
     TRUE,
     FALSE,
     {700, 21},
     200,
     kDown,
     FALSE,
     TRUE},
    {"right to left at the left edge moves right",
     kScreen,
     {50, 21},
     {120, 200},
     1,
     {0, 0, 50, 22},
     {},
     TRUE,
     FALSE,
     {121, 21},
     200,
     0,
     FALSE,
     TRUE},
    {"right-aligned past the left edge starts one pixel in",
     kScreen,
     {-89, 21},
     {120, 200},
     1,
     {0, 0, 30, 22},
     {},
     FALSE,
     TRUE,
     {1, 21},
     200,
     0,
     FALSE,
     TRUE},
    {"a sub-menu without room on the right opens on the left",
     kScreen,
     {761, 80},
     {120, 200},
     2,
     {602, 80, 758, 102},
     {600, 50, 760, 250},
     FALSE,
     FALSE,
     {480, 80},
     200,
     kLeft,
     FALSE,
     TRUE},
    {"a right-to-left sub-menu without room opens on the right",
     kScreen,
     {39, 80},
     {120, 200},
     2,
     {42, 80, 198, 102},
     {40, 50, 200, 250},
     TRUE,
     FALSE,
     {320, 80},
     200,
     kRight,
     FALSE,
     TRUE},
    {"a vertical bar's item at the right edge opens on its left",
     kScreen,
     {790, 100},
     {120, 200},
     3,
     {770, 100, 790, 122},
     {},
     FALSE,
     FALSE,
     {650, 100},
     200,
     kLeft,
     FALSE,
     TRUE},
    {"from a bar at the bottom it opens above its item",
     kScreen,
     {100, 591},
     {120, 200},
     1,
     {100, 570, 150, 592},
     {},
     FALSE,
     FALSE,
     {100, 370},
     200,
     kUp,
     FALSE,
     FALSE},
    {"too tall for either side, more room above: top of the work area to the item",
     kScreen,
     {100, 521},
     {120, 560},
     1,
     {100, 500, 150, 522},
     {},
     FALSE,
     FALSE,
     {100, 0},
     500,
     0,
     TRUE,
     FALSE},
    {"too tall for either side, more room below: cut at the bottom",
     kScreen,
     {100, 221},
     {120, 500},
     1,
     {100, 200, 150, 222},
     {},
     FALSE,
     FALSE,
     {100, 221},
     379,
     kDown,
     TRUE,
     TRUE},
    // A panel takes the top 40 pixels: above the item would reach under it, so the popup scrolls
    // below the item, where there is more room.
    {"above the work area counts, not above the screen",
     {0, 40, 800, 600},
     {100, 321},
     {120, 290},
     1,
     {100, 300, 150, 322},
     {},
     FALSE,
     FALSE,
     {100, 321},
     279,
     kDown,
     TRUE,
     TRUE},
    {"a context menu taller than the work area is cut to it",
     kScreen,
     {10, 10},
     {120, 700},
     0,
     {},
     {},
     FALSE,
     FALSE,
     {10, 0},
     600,
     0,
     TRUE,
     FALSE},
    {"a sub-menu near the bottom ends level with its item",
     kScreen,
     {300, 500},
     {120, 200},
     2,
     {142, 500, 298, 522},
     {140, 300, 300, 560},
     FALSE,
     FALSE,
     {300, 326},
     200,
     kRight,
     FALSE,
     FALSE},
};

}  // namespace

TEST(PlxPopupPlacement, BesideAboveOrBelowFlippedAndCutToTheWorkArea) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    PlxPopupPlacement p;
    p.rectWork = c.work;
    p.ptLocation = c.at;
    p.ptRequested = c.at;
    p.size = c.size;
    p.bRTL = c.rtl;
    p.bRightAlign = c.rightAlign;
    p.bHasParentItem = c.kind != 0;
    p.bItemWndExists = c.kind != 0;
    p.bSubMenu = c.kind == 2;
    p.bParentBar = c.kind != 0;
    p.bParentBarIsPopup = c.kind == 2;
    p.bParentBarHorz = c.kind != 3;
    p.rectItem = c.item;
    p.rectParentPopup = c.parentPopup;
    p.nParentRowHeight = 22;
    p.nBorder = 2;
    p.nDirection = c.kind == 2 ? kRight : (c.kind == 3 ? kRight : (c.kind == 1 ? kDown : 0));
    PlxPlacePopup(p);
    EXPECT_EQ(p.pt, c.pt);
    EXPECT_EQ(p.size.cy, c.height);
    EXPECT_EQ(p.size.cx, c.size.cx);
    EXPECT_EQ(p.nDirection, c.direction);
    EXPECT_EQ(p.bScrollable, c.scrollable);
    EXPECT_EQ(p.bAnimFromTop, c.fromTop);
    // Whatever happened, the popup lies on the work area.
    const int left = c.rtl ? p.pt.x - p.size.cx : p.pt.x;
    EXPECT_GE(left, c.work.left);
    EXPECT_LE(left + p.size.cx, c.work.right);
    EXPECT_GE(p.pt.y, c.work.top);
    EXPECT_LE(p.pt.y + p.size.cy, c.work.bottom);
  }
}
