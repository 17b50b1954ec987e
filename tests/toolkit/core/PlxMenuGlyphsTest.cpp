// Menu glyphs: every glyph of bitmap 16129 drawn where asked, in the system colours of the moment.
#include "toolkit/core/PlxMenuGlyphs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"
#include "platform/user/User.h"
#include "tests/support/Canvas.h"
#include "tests/support/ScratchDir.h"
#include "toolkit/core/PlxGlobalData.h"

using pictavo::test::Canvas;

namespace {

constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The glyph bitmap as drawn: 24-bit, bottom-up.
struct GlyphFile {
  std::string bytes;
  COLORREF At(int x, int y) const {
    uint32_t offset = 0, w = 0, h = 0;
    std::memcpy(&offset, &bytes[10], 4);
    std::memcpy(&w, &bytes[18], 4);
    std::memcpy(&h, &bytes[22], 4);
    const size_t stride = (w * 3 + 3) / 4 * 4;
    const auto* p = reinterpret_cast<const unsigned char*>(&bytes[offset + (h - 1 - y) * stride + x * 3]);
    return RGB(p[2], p[1], p[0]);
  }
};

// What a pixel of the file becomes on screen: the standard greys follow the system colours.
COLORREF Mapped(COLORREF c) {
  if (c == RGB(0, 0, 0)) return g_plxGlobalData.clrBtnText;
  if (c == RGB(128, 128, 128)) return g_plxGlobalData.clrBtnShadow;
  if (c == RGB(255, 255, 255)) return g_plxGlobalData.clrBtnHilite;
  return c;
}

class PlxMenuGlyphsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    const char* source = std::getenv("PICTAVO_SOURCE_DIR");
    s_file.bytes = pictavo::test::ReadWholeFile(std::string(source ? source : ".") +
                                                "/resources/bitmaps/menu_glyphs.bmp");
  }
  void TearDown() override {
    // Back to the system's own colours, glyphs reloaded on next use.
    g_plxGlobalData.UpdateSysColors();
  }
  // Every pixel of the glyph cell drawn at (1, 1) on a white canvas as the file says.
  static void ExpectGlyph(int glyph) {
    Canvas c(11, 11, kBack);
    CDC dc;
    dc.Attach(c.Dc());
    ASSERT_TRUE(CPlxMenuGlyphs::DrawAtPoint(&dc, glyph, CPoint(1, 1)));
    dc.Detach();
    int ink = 0;
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 11; ++x) {
        const bool inside = x >= 1 && x < 10 && y >= 1 && y < 10;
        const COLORREF file = inside ? s_file.At(glyph * 9 + x - 1, y - 1) : kMagenta;
        const COLORREF want = file == kMagenta ? kBack : Mapped(file);
        ink += file != kMagenta;
        ASSERT_EQ(c.At(x, y), want) << "glyph " << glyph << " at " << x << "," << y;
      }
    EXPECT_GT(ink, 0) << "glyph " << glyph << " is empty";
  }
  static GlyphFile s_file;
};
GlyphFile PlxMenuGlyphsTest::s_file;

}  // namespace

TEST_F(PlxMenuGlyphsTest, EveryGlyphInTheSystemColours) {
  ASSERT_GT(s_file.bytes.size(), 54u);
  ASSERT_TRUE(CPlxMenuGlyphs::Initialize());
  EXPECT_EQ(CPlxMenuGlyphs::GetSize(), CSize(9, 9));
  for (int glyph = 0; glyph < CPlxMenuGlyphs::kCount; ++glyph) ExpectGlyph(glyph);
}

TEST_F(PlxMenuGlyphsTest, TheMenusCheckMarkIsATickAndTheirRadioMarkADot) {
  ASSERT_GT(s_file.bytes.size(), 54u);
  // The topmost ink row of a cell, and whether its ink there lies right of the middle column.
  auto top = [](int glyph, bool* rightOnly) {
    for (int y = 0; y < 9; ++y) {
      bool any = false, left = false;
      for (int x = 0; x < 9; ++x) {
        if (s_file.At(glyph * 9 + x, y) == kMagenta) continue;
        any = true;
        left = left || x <= 4;
      }
      if (any) {
        *rightOnly = !left;
        return y;
      }
    }
    return 9;
  };
  bool rightOnly = false;
  top(CPlxMenuGlyphs::IdCheck, &rightOnly);
  EXPECT_TRUE(rightOnly) << "the check mark's long stroke rises to the right";
  top(CPlxMenuGlyphs::IdMenuRadio, &rightOnly);
  EXPECT_FALSE(rightOnly) << "the radio mark is centred";
}

TEST_F(PlxMenuGlyphsTest, NewSystemColoursRedrawTheGlyphs) {
  ExpectGlyph(CPlxMenuGlyphs::IdClose);
  const int indexes[] = {COLOR_BTNTEXT, COLOR_BTNSHADOW};
  const COLORREF saved[] = {GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNSHADOW)};
  const COLORREF changed[] = {RGB(0, 0, 160), RGB(90, 120, 90)};
  SetSysColors(2, indexes, changed);
  g_plxGlobalData.UpdateSysColors();  // drops the glyphs mapped to the old colours
  EXPECT_EQ(g_plxGlobalData.clrBtnText, RGB(0, 0, 160));
  ExpectGlyph(CPlxMenuGlyphs::IdClose);
  ExpectGlyph(CPlxMenuGlyphs::IdCloseDisabled);
  SetSysColors(2, indexes, saved);
}

TEST_F(PlxMenuGlyphsTest, PlacementAndSize) {
  struct Case {
    const char* what;
    CRect rect;
    CSize size;
    CRect ink;  // the box of the arrow's pixels
  };
  // The down arrow's pixels span columns 1-7 and rows 3-6 of its cell.
  const Case cases[] = {
      {"centred, odd pixel left and up", CRect(0, 0, 20, 20), CSize(0, 0), CRect(7, 9, 14, 13)},
      {"exact fit", CRect(4, 5, 13, 14), CSize(0, 0), CRect(5, 8, 12, 12)},
      {"stretched to 18", CRect(0, 0, 18, 18), CSize(18, 18), CRect(2, 6, 16, 14)},
  };
  for (const Case& c : cases) {
    Canvas canvas(24, 24, kBack);
    CDC dc;
    dc.Attach(canvas.Dc());
    EXPECT_TRUE(CPlxMenuGlyphs::Draw(&dc, CPlxMenuGlyphs::IdArowDown, c.rect, c.size)) << c.what;
    dc.Detach();
    const auto ink = pictavo::test::InkOf(canvas, kBack);
    EXPECT_EQ(CRect(ink.left, ink.top, ink.right, ink.bottom), c.ink) << c.what;
  }

  // After a clean-up the next draw loads the bitmap again.
  CPlxMenuGlyphs::CleanUp();
  ExpectGlyph(CPlxMenuGlyphs::IdCheck);
}

TEST_F(PlxMenuGlyphsTest, TheStretchCursorsAreThere) {
  // The property list's divider (left-right) and its description splitter (up-down).
  for (UINT id : {30980u, 30981u}) {
    HCURSOR cursor =
        LoadCursor(AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_GROUP_CURSOR), MAKEINTRESOURCE(id));
    ASSERT_NE(cursor, nullptr) << id;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info)) << id;
    EXPECT_FALSE(info.fIcon) << id;
    EXPECT_EQ(info.xHotspot, 15u) << id;  // the arrows' crossing, in the middle of the cursor
    EXPECT_EQ(info.yHotspot, 15u) << id;
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  }
}
