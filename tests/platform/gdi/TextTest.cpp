#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gdi/TextCharset.h"
#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::Ink;
using pictavo::test::InkOf;

constexpr COLORREF kWhite = RGB(255, 255, 255);

class Font {
 public:
  Font(int height, const char* face, int weight = FW_NORMAL, int escapement = 0, bool underline = false)
      : m_font(CreateFont(height, 0, escapement, escapement, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                          0, 0, DEFAULT_QUALITY, 0, face)) {}
  ~Font() { DeleteObject(m_font); }
  HFONT get() const { return m_font; }

 private:
  HFONT m_font;
};

SIZE Extent(HDC dc, const char* text) {
  SIZE size{};
  GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &size);
  return size;
}

struct FaceCase {
  const char* requested;
  const char* resolved;
};

TEST(Text, PlatformFacesMapToInstalledOnes) {
  const FaceCase cases[] = {{"Tahoma", "DejaVu Sans Condensed"},
                            {"MS Sans Serif", "DejaVu Sans Condensed"},
                            {"MS Shell Dlg", "DejaVu Sans Condensed"},
                            {"Verdana", "DejaVu Sans"}};
  for (const auto& c : cases)
    EXPECT_EQ(pictavo::gdi::ResolvedFaceName(c.requested), c.resolved) << c.requested;
  // Metric-compatible faces when installed, DejaVu otherwise.
  std::string arial = pictavo::gdi::ResolvedFaceName("Arial");
  EXPECT_TRUE(arial == "Liberation Sans" || arial == "DejaVu Sans") << arial;
  std::string times = pictavo::gdi::ResolvedFaceName("Times New Roman");
  EXPECT_TRUE(times == "Liberation Serif" || times == "DejaVu Serif") << times;
  std::string courier = pictavo::gdi::ResolvedFaceName("Courier New");
  EXPECT_TRUE(courier == "Liberation Mono" || courier == "DejaVu Sans Mono") << courier;
}

struct MetricCase {
  int height;
  const char* face;
};

TEST(Text, MetricsAreConsistent) {
  const MetricCase cases[] = {{-11, "Tahoma"},          {-13, "Arial"},      {16, "Tahoma"},
                              {-24, "Times New Roman"}, {20, "Courier New"}, {-8, "MS Sans Serif"}};
  Canvas c(4, 4);
  for (const auto& m : cases) {
    Font font(m.height, m.face);
    SelectObject(c.Dc(), font.get());
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(c.Dc(), &tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent) << m.face << m.height;
    if (m.height > 0) EXPECT_EQ(tm.tmHeight, m.height) << m.face;
    if (m.height < 0) {
      // A character height: the cell is taller by the internal leading.
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -m.height) << m.face;
      EXPECT_GE(tm.tmInternalLeading, 0);
    }
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_LT(tm.tmAveCharWidth, tm.tmHeight);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(Extent(c.Dc(), "Hg").cy, tm.tmHeight);
    SelectObject(c.Dc(), GetStockObject(SYSTEM_FONT));
  }
  // The dialog font at 8 points is about the size the dialog base units assume.
  Font dialog(-11, "MS Shell Dlg");
  SelectObject(c.Dc(), dialog.get());
  TEXTMETRIC tm{};
  GetTextMetrics(c.Dc(), &tm);
  EXPECT_GE(tm.tmHeight, 12);
  EXPECT_LE(tm.tmHeight, 14);
  EXPECT_GE(tm.tmAveCharWidth, 5);
  EXPECT_LE(tm.tmAveCharWidth, 7);
  SelectObject(c.Dc(), GetStockObject(SYSTEM_FONT));
}

TEST(Text, ExtentIsTheSumOfCharacterWidths) {
  Canvas c(4, 4);
  Font font(-13, "Tahoma");
  SelectObject(c.Dc(), font.get());
  INT widths[3];
  ASSERT_TRUE(GetCharWidth32(c.Dc(), 'a', 'c', widths));
  EXPECT_EQ(Extent(c.Dc(), "abc").cx, widths[0] + widths[1] + widths[2]);
  EXPECT_EQ(Extent(c.Dc(), "").cx, 0);
  SetTextCharacterExtra(c.Dc(), 2);
  EXPECT_EQ(Extent(c.Dc(), "abc").cx, widths[0] + widths[1] + widths[2] + 6);
  SetTextCharacterExtra(c.Dc(), 0);
  SIZE wide{};
  EXPECT_TRUE(GetTextExtentPoint32W(c.Dc(), L"abc", 3, &wide));
  EXPECT_EQ(wide.cx, Extent(c.Dc(), "abc").cx);
  int fit = 0;
  INT partial[3];
  SIZE all{};
  GetTextExtentExPoint(c.Dc(), "abc", 3, widths[0] + widths[1], &fit, partial, &all);
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(partial[2], all.cx);
  Font bold(-13, "Tahoma", FW_BOLD);
  SelectObject(c.Dc(), bold.get());
  EXPECT_GT(Extent(c.Dc(), "Bold text").cx, 0);
  SelectObject(c.Dc(), GetStockObject(SYSTEM_FONT));
}

TEST(Text, TextOutDrawsInsideTheCellInTheTextColour) {
  Canvas c(80, 30);
  Font font(-13, "Tahoma");
  SelectObject(c.Dc(), font.get());
  SetBkMode(c.Dc(), TRANSPARENT);
  SetTextColor(c.Dc(), RGB(0, 0, 0));
  ASSERT_TRUE(TextOut(c.Dc(), 5, 4, "Hello", 5));
  TEXTMETRIC tm{};
  GetTextMetrics(c.Dc(), &tm);
  SIZE size = Extent(c.Dc(), "Hello");
  Ink ink = InkOf(c);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 5 + size.cx + 1);
  EXPECT_GE(ink.top, 4);
  EXPECT_LE(ink.bottom, 4 + tm.tmAscent);  // no descenders in "Hello"
  // Anti-aliased edges: some ink is between black and white.
  bool grey = false;
  for (int y = ink.top; y < ink.bottom; ++y)
    for (int x = ink.left; x < ink.right; ++x) grey |= c.At(x, y) != kWhite && c.At(x, y) != RGB(0, 0, 0);
  EXPECT_TRUE(grey);

  // Opaque mode paints the whole cell in the background colour.
  c.Fill(kWhite);
  SetBkMode(c.Dc(), OPAQUE);
  SetBkColor(c.Dc(), RGB(255, 0, 0));
  TextOut(c.Dc(), 5, 4, "Hello", 5);
  EXPECT_EQ(c.At(5, 4), RGB(255, 0, 0));
  EXPECT_EQ(c.At(5 + size.cx - 1, 4 + tm.tmHeight - 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(5 + size.cx, 4), kWhite);
  EXPECT_EQ(c.At(5, 4 + tm.tmHeight), kWhite);
  SelectObject(c.Dc(), GetStockObject(SYSTEM_FONT));
}

TEST(Text, AlignmentMovesTheReferencePoint) {
  Canvas c(100, 40);
  Font font(-13, "Tahoma");
  SelectObject(c.Dc(), font.get());
  SetBkMode(c.Dc(), OPAQUE);
  SetBkColor(c.Dc(), RGB(0, 255, 0));
  TEXTMETRIC tm{};
  GetTextMetrics(c.Dc(), &tm);
  SIZE size = Extent(c.Dc(), "Wide");
  SetTextAlign(c.Dc(), TA_RIGHT | TA_BASELINE);
  TextOut(c.Dc(), 80, 30, "Wide", 4);
  Ink box = InkOf(c);
  EXPECT_EQ(box.right, 80);
  EXPECT_EQ(box.left, 80 - size.cx);
  EXPECT_EQ(box.top, 30 - tm.tmAscent);
  EXPECT_EQ(box.bottom, 30 + tm.tmDescent);
  c.Fill(kWhite);
  SetTextAlign(c.Dc(), TA_CENTER | TA_BOTTOM);
  TextOut(c.Dc(), 50, 30, "Wide", 4);
  box = InkOf(c);
  EXPECT_EQ(box.left, 50 - size.cx / 2);
  EXPECT_EQ(box.bottom, 30);
  // TA_UPDATECP draws at and advances the current position.
  c.Fill(kWhite);
  SetTextAlign(c.Dc(), TA_UPDATECP);
  MoveToEx(c.Dc(), 3, 2, nullptr);
  TextOut(c.Dc(), 0, 0, "Wide", 4);
  POINT pos;
  GetCurrentPositionEx(c.Dc(), &pos);
  EXPECT_EQ(pos.x, 3 + size.cx);
  EXPECT_EQ(InkOf(c).left, 3);
  SetTextAlign(c.Dc(), TA_LEFT | TA_TOP);
  SelectObject(c.Dc(), GetStockObject(SYSTEM_FONT));
}

TEST(Text, ExtTextOutClipsAndFillsItsRectangle) {
  Canvas c(60, 20);
  Font font(-13, "Tahoma");
  SelectObject(c.Dc(), font.get());
  SetBkColor(c.Dc(), RGB(0, 0, 255));
  SetBkMode(c.Dc(), TRANSPARENT);
  RECT r{10, 2, 20, 18};
  ExtTextOut(c.Dc(), 0, 2, ETO_CLIPPED | ETO_OPAQUE, &r, "MMMMMMMM", 8, nullptr);
  Ink box = InkOf(c);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(c.At(10, 17), RGB(0, 0, 255));
  EXPECT_EQ(c.At(9, 5), kWhite);
  // A spacing array places every character itself.
  c.Fill(kWhite);
  const INT dx[3] = {20, 20, 20};
  ExtTextOut(c.Dc(), 0, 0, 0, nullptr, "lll", 3, dx);
  int columns = 0;
  for (int x = 0; x < 60; ++x) {
    bool ink = false;
    for (int y = 0; y < 20; ++y) ink |= c.At(x, y) != kWhite;
    if (ink && (x == 0 || [&] {
          for (int y = 0; y < 20; ++y)
            if (c.At(x - 1, y) != kWhite) return false;
          return true;
        }()))
      ++columns;
  }
  EXPECT_EQ(columns, 3);
  SelectObject(c.Dc(), GetStockObject(SYSTEM_FONT));
}

TEST(Text, VerticalTextRunsUpwards) {
  Canvas c(40, 120);
  Font font(-13, "Tahoma", FW_NORMAL, 900);
  SelectObject(c.Dc(), font.get());
  SetBkMode(c.Dc(), TRANSPARENT);
  TextOut(c.Dc(), 5, 110, "Vertical", 8);
  Ink box = InkOf(c);
  ASSERT_FALSE(box.Empty());
  EXPECT_GT(box.bottom - box.top, 2 * (box.right - box.left));
  EXPECT_LE(box.bottom, 111);
  EXPECT_GE(box.left, 5);
  SelectObject(c.Dc(), GetStockObject(SYSTEM_FONT));
}

TEST(Text, UnderlinedFontsDrawALineUnderTheBaseline) {
  Canvas plain(60, 24), underlined(60, 24);
  Font a(-13, "Tahoma"), b(-13, "Tahoma", FW_NORMAL, 0, true);
  SelectObject(plain.Dc(), a.get());
  SelectObject(underlined.Dc(), b.get());
  SetBkMode(plain.Dc(), TRANSPARENT);
  SetBkMode(underlined.Dc(), TRANSPARENT);
  TextOut(plain.Dc(), 2, 2, "ooo", 3);
  TextOut(underlined.Dc(), 2, 2, "ooo", 3);
  EXPECT_GT(InkOf(underlined).bottom, InkOf(plain).bottom);
  SelectObject(plain.Dc(), GetStockObject(SYSTEM_FONT));
  SelectObject(underlined.Dc(), GetStockObject(SYSTEM_FONT));
}

TEST(Text, FontsEnumerateWithTrueTypeFlag) {
  Canvas c(2, 2);
  struct Seen {
    bool tahoma = false;
    int count = 0;
    DWORD types = 0;
  } seen;
  EnumFonts(
      c.Dc(), nullptr,
      [](const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM data) -> int {
        auto* s = reinterpret_cast<Seen*>(data);
        s->tahoma |= std::strcmp(lf->lfFaceName, "Tahoma") == 0;
        ++s->count;
        s->types |= type;
        return 1;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_TRUE(seen.tahoma);
  EXPECT_GT(seen.count, 3);
  EXPECT_EQ(seen.types, static_cast<DWORD>(TRUETYPE_FONTTYPE));
  LOGFONT query{};
  query.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(query.lfFaceName, "tahoma");
  int calls = 0;
  EnumFontFamiliesEx(
      c.Dc(), &query,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM data) -> int {
        ++*reinterpret_cast<int*>(data);
        return 0;  // stop at once
      },
      reinterpret_cast<LPARAM>(&calls), 0);
  EXPECT_EQ(calls, 1);
}

// DrawText layout.

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() : m_canvas(300, 200), m_font(-11, "Tahoma") {
    SelectObject(dc(), m_font.get());
    GetTextMetrics(dc(), &tm);
  }
  ~DrawTextTest() override { SelectObject(dc(), GetStockObject(SYSTEM_FONT)); }
  HDC dc() const { return m_canvas.Dc(); }
  int Width(const char* s) { return Extent(dc(), s).cx; }
  Canvas m_canvas;
  Font m_font;
  TEXTMETRIC tm{};
};

TEST_F(DrawTextTest, CalcRectMeasuresLines) {
  RECT r{10, 10, 10, 10};
  EXPECT_EQ(DrawText(dc(), "One line", -1, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
  EXPECT_EQ(r.right - r.left, Width("One line"));
  EXPECT_EQ(r.bottom - r.top, tm.tmHeight);
  r = RECT{0, 0, 0, 0};
  DrawText(dc(), "M\nMM\nM", -1, &r, DT_CALCRECT | DT_NOCLIP | DT_NOPREFIX);
  EXPECT_EQ(r.bottom, 3 * tm.tmHeight);
  EXPECT_EQ(r.right, Width("MM"));
  r = RECT{0, 0, 0, 0};
  DrawText(dc(), "a\r\nb", -1, &r, DT_CALCRECT);
  EXPECT_EQ(r.bottom, 2 * tm.tmHeight);
}

struct WrapCase {
  const char* text;
  const char* fitWidthOf;  // the rectangle is as wide as this text
  int lines;
};

TEST_F(DrawTextTest, WordBreakWrapsAtSpaces) {
  const WrapCase cases[] = {
      {"alpha beta gamma", "alpha beta gamma", 1},
      {"alpha beta gamma", "alpha beta", 2},
      {"alpha beta gamma", "alpha", 3},
      {"alpha   beta", "alpha", 2},         // spaces at a break vanish
      {"unbreakableword next", "unbr", 2},  // a long word stays whole on its line
      {"one\ntwo three", "one two three", 2},
  };
  for (const auto& c : cases) {
    RECT r{0, 0, Width(c.fitWidthOf), 0};
    int height = DrawText(dc(), c.text, -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(height, c.lines * tm.tmHeight) << c.text << " in " << c.fitWidthOf;
  }
  // The edit-control style breaks a word that is wider than the line.
  RECT r{0, 0, Width("unbr"), 0};
  EXPECT_GT(DrawText(dc(), "unbreakableword", -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL),
            tm.tmHeight);
}

TEST_F(DrawTextTest, EllipsesKeepTextInsideTheRectangle) {
  char end[64] = "A long caption that cannot fit";
  RECT r{0, 0, Width("A long cap"), 20};
  DrawText(dc(), end, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  std::string shown = end;
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  EXPECT_LE(Width(shown.c_str()), Width("A long cap"));
  EXPECT_EQ(shown.rfind("A long", 0), 0u);

  char path[64] = "/home/user/albums/summer/beach.jpg";
  r = RECT{0, 0, Width("/home/.../beach.jpg"), 20};
  DrawText(dc(), path, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  shown = path;
  EXPECT_NE(shown.find("..."), std::string::npos);
  EXPECT_EQ(shown.substr(shown.size() - 10), "/beach.jpg");
  EXPECT_LE(Width(shown.c_str()), r.right);

  char words[64] = "first second third";
  r = RECT{0, 0, Width("first second th"), 20};
  DrawText(dc(), words, -1, &r, DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_STREQ(words, "first second...");

  char fits[32] = "short";
  r = RECT{0, 0, 200, 20};
  DrawText(dc(), fits, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_STREQ(fits, "short");
}

TEST_F(DrawTextTest, PrefixesUnderlineAndDoubleAmpersandsStay) {
  RECT r{0, 0, 0, 0};
  DrawText(dc(), "&File", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.right, Width("File"));
  r = RECT{0, 0, 0, 0};
  DrawText(dc(), "Save && Exit", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.right, Width("Save & Exit"));
  r = RECT{0, 0, 0, 0};
  DrawText(dc(), "&File", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(r.right, Width("&File"));

  // The underline sits below the baseline under the marked character only.
  SetBkMode(dc(), TRANSPARENT);
  auto inkBottom = [&](const char* text, UINT format) {
    m_canvas.Fill(kWhite);
    RECT box{0, 0, 300, 40};
    DrawText(dc(), text, -1, &box, format | DT_SINGLELINE);
    return InkOf(m_canvas);
  };
  Ink prefixed = inkBottom("&mmm", 0);
  Ink hidden = inkBottom("&mmm", DT_HIDEPREFIX);
  Ink plain = inkBottom("mmm", 0);
  EXPECT_GT(prefixed.bottom, plain.bottom);
  EXPECT_EQ(hidden.bottom, plain.bottom);
  m_canvas.Fill(kWhite);
  RECT box{0, 0, 300, 40};
  DrawText(dc(), "m&mm", -1, &box, DT_SINGLELINE);
  int underlineRow = prefixed.bottom - 1;
  int first = -1, last = -1;
  for (int x = 0; x < 300; ++x)
    if (m_canvas.At(x, underlineRow) != kWhite) {
      if (first < 0) first = x;
      last = x;
    }
  int m = Width("m");
  EXPECT_GE(first, m - 1);
  EXPECT_LE(last, 2 * m);
}

TEST_F(DrawTextTest, AlignmentInTheRectangle) {
  // White text on an opaque black cell: only the cell shows on the white canvas.
  SetBkMode(dc(), OPAQUE);
  SetBkColor(dc(), RGB(0, 0, 0));
  SetTextColor(dc(), kWhite);
  struct Case {
    UINT format;
    int left, top;  // of the text cell in a 200 x 60 rectangle at (50, 50)
  };
  int w = Width("Text");
  const Case cases[] = {
      {DT_SINGLELINE, 50, 50},
      {DT_SINGLELINE | DT_CENTER, 50 + (200 - w) / 2, 50},
      {DT_SINGLELINE | DT_RIGHT, 250 - w, 50},
      {DT_SINGLELINE | DT_VCENTER, 50, 50 + (60 - tm.tmHeight) / 2},
      {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 250 - w, 110 - tm.tmHeight},
  };
  for (const auto& c : cases) {
    m_canvas.Fill(kWhite);
    RECT r{50, 50, 250, 110};
    DrawText(dc(), "Text", -1, &r, c.format);
    Ink box = InkOf(m_canvas);
    EXPECT_EQ(box.left, c.left) << c.format;
    EXPECT_EQ(box.top, c.top) << c.format;
    EXPECT_EQ(box.right - box.left, w);
    EXPECT_EQ(box.bottom - box.top, tm.tmHeight);
  }
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessNoClip) {
  SetBkMode(dc(), OPAQUE);
  SetBkColor(dc(), RGB(0, 0, 0));
  RECT r{10, 10, 20, 30};
  DrawText(dc(), "Wider than ten pixels", -1, &r, DT_SINGLELINE);
  EXPECT_EQ(InkOf(m_canvas).right, 20);
  m_canvas.Fill(kWhite);
  DrawText(dc(), "Wider than ten pixels", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(InkOf(m_canvas).right, 20);
}

TEST_F(DrawTextTest, TabsExpandToStops) {
  RECT r{0, 0, 0, 0};
  DrawText(dc(), "a\tb", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + Width("b"));
}

}  // namespace

TEST(TextCharset, TheSelectedFontsSet) {
  pictavo::test::Canvas canvas(4, 4);
  struct Case {
    const char* what;
    BYTE charset;
    int want;
    DWORD codePages;
  };
  const Case cases[] = {
      {"a text font", DEFAULT_CHARSET, ANSI_CHARSET, 1u},
      {"a symbol font", SYMBOL_CHARSET, SYMBOL_CHARSET, 0x80000000u},
  };
  for (const Case& c : cases) {
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfCharSet = c.charset;
    std::strcpy(lf.lfFaceName, c.charset == SYMBOL_CHARSET ? "Marlett" : "Tahoma");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(canvas.Dc(), font);
    FONTSIGNATURE sig{};
    EXPECT_EQ(GetTextCharsetInfo(canvas.Dc(), &sig, 0), c.want) << c.what;
    EXPECT_EQ(sig.fsCsb[0], c.codePages) << c.what;
    EXPECT_EQ(GetTextCharset(canvas.Dc()), c.want) << c.what;
    SelectObject(canvas.Dc(), old);
    DeleteObject(font);
  }
  EXPECT_EQ(GetTextCharsetInfo(nullptr, nullptr, 0), DEFAULT_CHARSET);
}
