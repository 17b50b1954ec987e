#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::Ink;
using pictavo::test::InkIn;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr const char kSymbols[] = "0123456ahnrox";

class SymbolFont {
 public:
  explicit SymbolFont(int height)
      : m_font(CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, 0, 0,
                          DEFAULT_QUALITY, 0, "Marlett")) {}
  ~SymbolFont() { DeleteObject(m_font); }
  HFONT get() const { return m_font; }

 private:
  HFONT m_font;
};

// The cell's pixels as a string of '#' and '.', to tell symbols apart.
std::string Picture(const Canvas& c, int x0, int y0, int size) {
  std::string s;
  for (int y = y0; y < y0 + size; ++y)
    for (int x = x0; x < x0 + size; ++x) s += c.At(x, y) == kWhite ? '.' : '#';
  return s;
}

TEST(Marlett, CellsAreSquareAndAsHighAsTheFont) {
  const int heights[] = {12, 13, -16, 24};
  Canvas c(8, 8);
  for (int height : heights) {
    SymbolFont font(height);
    SelectObject(c.Dc(), font.get());
    int cell = std::abs(height);
    SIZE one{}, four{};
    ASSERT_TRUE(GetTextExtentPoint32(c.Dc(), "4", 1, &one));
    ASSERT_TRUE(GetTextExtentPoint32(c.Dc(), "r0az", 4, &four));
    EXPECT_EQ(one.cx, cell) << height;
    EXPECT_EQ(one.cy, cell) << height;
    EXPECT_EQ(four.cx, 4 * cell) << height;
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(c.Dc(), &tm));
    EXPECT_EQ(tm.tmHeight, cell) << height;
    EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET) << height;
  }
}

TEST(Marlett, EverySymbolDrawsItsOwnShapeInsideItsCell) {
  for (int cell : {12, 24}) {
    Canvas c(3 * cell, 3 * cell);
    SymbolFont font(cell);
    SelectObject(c.Dc(), font.get());
    SetBkMode(c.Dc(), TRANSPARENT);
    SetTextColor(c.Dc(), RGB(0, 0, 0));
    std::set<std::string> pictures;
    for (const char* s = kSymbols; *s; ++s) {
      c.Fill(kWhite);
      ASSERT_TRUE(TextOut(c.Dc(), cell, cell, s, 1));
      Ink all = InkIn(c, RECT{0, 0, c.Width(), c.Height()});
      Ink inside = InkIn(c, RECT{cell, cell, 2 * cell, 2 * cell});
      EXPECT_FALSE(all.Empty()) << *s << " at " << cell;
      EXPECT_EQ(all.count, inside.count) << *s << " at " << cell;
      pictures.insert(Picture(c, cell, cell, cell));
    }
    EXPECT_EQ(pictures.size(), std::strlen(kSymbols)) << "symbols drawn alike at " << cell;
  }
}

struct ArrowCase {
  char symbol;
  bool horizontal;  // points left or right
  bool towardsEnd;  // points right or down
};

// Pixels on the line across the arrow at `position` along its axis.
int Across(const Canvas& c, const Ink& ink, bool horizontal, int position) {
  int n = 0;
  if (horizontal)
    for (int y = ink.top; y < ink.bottom; ++y) n += c.At(position, y) != kWhite;
  else
    for (int x = ink.left; x < ink.right; ++x) n += c.At(x, position) != kWhite;
  return n;
}

TEST(Marlett, ArrowsPointTheirWay) {
  const ArrowCase cases[] = {{'3', true, false}, {'4', true, true}, {'5', false, false}, {'6', false, true}};
  for (int cell : {12, 16, 24}) {
    Canvas c(cell, cell);
    SymbolFont font(cell);
    SelectObject(c.Dc(), font.get());
    SetBkMode(c.Dc(), TRANSPARENT);
    for (const auto& a : cases) {
      c.Fill(kWhite);
      TextOut(c.Dc(), 0, 0, &a.symbol, 1);
      Ink ink = InkIn(c, RECT{0, 0, cell, cell});
      ASSERT_FALSE(ink.Empty()) << a.symbol;
      int first = a.horizontal ? ink.left : ink.top;
      int last = (a.horizontal ? ink.right : ink.bottom) - 1;
      int base = a.towardsEnd ? first : last, tip = a.towardsEnd ? last : first;
      EXPECT_GT(Across(c, ink, a.horizontal, base), Across(c, ink, a.horizontal, tip))
          << a.symbol << " " << cell;
      EXPECT_EQ(Across(c, ink, a.horizontal, tip), 1) << a.symbol << " " << cell;
      // Symmetric across the axis, centred in the cell.
      int acrossFirst = a.horizontal ? ink.top : ink.left,
          acrossLast = (a.horizontal ? ink.bottom : ink.right) - 1;
      EXPECT_LE(std::abs((acrossFirst + acrossLast + 1) - cell), 2) << a.symbol << " " << cell;
    }
  }
}

TEST(Marlett, SizeGripsSitInTheirCorner) {
  const int cell = 15;
  Canvas c(cell, cell);
  SymbolFont font(cell);
  SelectObject(c.Dc(), font.get());
  SetBkMode(c.Dc(), TRANSPARENT);
  struct GripCase {
    char symbol;
    bool right;
  };
  for (GripCase g : {GripCase{'o', true}, GripCase{'x', false}}) {
    c.Fill(kWhite);
    TextOut(c.Dc(), 0, 0, &g.symbol, 1);
    Ink left = InkIn(c, RECT{0, 0, cell / 2, cell}), right = InkIn(c, RECT{cell - cell / 2, 0, cell, cell});
    Ink top = InkIn(c, RECT{0, 0, cell, cell / 2}), bottom = InkIn(c, RECT{0, cell - cell / 2, cell, cell});
    EXPECT_GT(g.right ? right.count : left.count, g.right ? left.count : right.count) << g.symbol;
    EXPECT_GT(bottom.count, top.count) << g.symbol;
  }
}

TEST(Marlett, PlacedLikeTextByDrawTextAndAlignment) {
  const int cell = 12;
  Canvas c(100, 40);
  SymbolFont font(cell);
  SelectObject(c.Dc(), font.get());
  SetBkMode(c.Dc(), TRANSPARENT);
  // The sub-menu mark: right-aligned and centred vertically in the item.
  RECT item{0, 0, 100, 30};
  DrawText(c.Dc(), "4", 1, &item, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  Ink mark = InkIn(c, RECT{0, 0, 100, 40});
  ASSERT_FALSE(mark.Empty());
  EXPECT_GE(mark.left, 100 - cell);
  EXPECT_GE(mark.top, (30 - cell) / 2);
  EXPECT_LE(mark.bottom, (30 - cell) / 2 + cell);
  // The size grip: its cell's bottom-right corner at the reference point.
  c.Fill(kWhite);
  SetTextAlign(c.Dc(), TA_RIGHT | TA_BOTTOM);
  TextOut(c.Dc(), 60, 35, "o", 1);
  Ink grip = InkIn(c, RECT{0, 0, 100, 40});
  ASSERT_FALSE(grip.Empty());
  EXPECT_GE(grip.left, 60 - cell);
  EXPECT_GE(grip.top, 35 - cell);
  EXPECT_LE(grip.right, 60);
  EXPECT_LE(grip.bottom, 35);
  SetTextAlign(c.Dc(), TA_LEFT | TA_TOP);
}

}  // namespace
