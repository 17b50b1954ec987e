// Image strips: how cells are added, replaced, counted, loaded and saved, and how a cell looks in
// each drawing state.
#include "toolkit/core/PlxButtonImages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/Canvas.h"
#include "tests/support/ScratchDir.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

using pictavo::test::Canvas;
using pictavo::test::ReadWholeFile;
using pictavo::test::ScratchDir;

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
using PixelFn = std::function<COLORREF(int, int)>;

void Put16(std::string& s, size_t at, uint16_t v) {
  std::memcpy(&s[at], &v, 2);
}
void Put32(std::string& s, size_t at, uint32_t v) {
  std::memcpy(&s[at], &v, 4);
}
uint32_t Get32(const std::string& s, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, &s[at], 4);
  return v;
}
uint16_t Get16(const std::string& s, size_t at) {
  uint16_t v = 0;
  std::memcpy(&v, &s[at], 2);
  return v;
}

// A bottom-up BMP file: 24 bits a pixel, or 8 with the palette given.
std::string BmpFile(int w, int h, const PixelFn& pixel, const std::vector<COLORREF>& palette = {}) {
  const int bits = palette.empty() ? 24 : 8;
  const int stride = ((w * bits + 31) / 32) * 4;
  const size_t paletteBytes = palette.empty() ? 0 : 256 * 4;
  const size_t offset = 14 + 40 + paletteBytes;
  std::string s(offset + static_cast<size_t>(stride) * h, '\0');
  s[0] = 'B';
  s[1] = 'M';
  Put32(s, 2, static_cast<uint32_t>(s.size()));
  Put32(s, 10, static_cast<uint32_t>(offset));
  Put32(s, 14, 40);
  Put32(s, 18, static_cast<uint32_t>(w));
  Put32(s, 22, static_cast<uint32_t>(h));
  Put16(s, 26, 1);
  Put16(s, 28, static_cast<uint16_t>(bits));
  for (size_t i = 0; i < palette.size(); ++i) {
    s[54 + i * 4] = static_cast<char>(GetBValue(palette[i]));
    s[54 + i * 4 + 1] = static_cast<char>(GetGValue(palette[i]));
    s[54 + i * 4 + 2] = static_cast<char>(GetRValue(palette[i]));
  }
  for (int y = 0; y < h; ++y) {
    char* row = &s[offset + static_cast<size_t>(h - 1 - y) * stride];
    for (int x = 0; x < w; ++x) {
      const COLORREF c = pixel(x, y);
      if (bits == 8) {
        row[x] = static_cast<char>(c);  // the pixel function gives palette indexes here
      } else {
        row[x * 3] = static_cast<char>(GetBValue(c));
        row[x * 3 + 1] = static_cast<char>(GetGValue(c));
        row[x * 3 + 2] = static_cast<char>(GetRValue(c));
      }
    }
  }
  return s;
}

// The colour of pixel (x, y) of a 24 or 32-bit bottom-up BMP file.
COLORREF BmpPixel(const std::string& file, int x, int y) {
  const uint32_t offset = Get32(file, 10);
  const int w = static_cast<int>(Get32(file, 18)), h = static_cast<int>(Get32(file, 22));
  const int bits = Get16(file, 28);
  const int stride = ((w * bits + 31) / 32) * 4;
  const auto* p = reinterpret_cast<const unsigned char*>(
      &file[offset + static_cast<size_t>(h - 1 - y) * stride + static_cast<size_t>(x) * (bits / 8)]);
  return RGB(p[2], p[1], p[0]);
}

// A 24-bit picture painted by the function.
HBITMAP MakeBitmap(int w, int h, const PixelFn& pixel) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixel(c.Dc(), x, y, pixel(x, y));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, copy);
  BitBlt(dc, 0, 0, w, h, c.Dc(), 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  return copy;
}

// A DIB section of the depth given (4 or 8 bits use the palette) painted by palette index.
HBITMAP MakeIndexedDib(int w, int h, int bits, const std::vector<COLORREF>& palette, const PixelFn& index) {
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
  bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi->bmiHeader.biWidth = w;
  bmi->bmiHeader.biHeight = -h;
  bmi->bmiHeader.biPlanes = 1;
  bmi->bmiHeader.biBitCount = static_cast<WORD>(bits);
  for (size_t i = 0; i < palette.size(); ++i)
    bmi->bmiColors[i] = RGBQUAD{GetBValue(palette[i]), GetGValue(palette[i]), GetRValue(palette[i]), 0};
  void* p = nullptr;
  HBITMAP hbmp = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &p, nullptr, 0);
  auto* bytes = static_cast<uint8_t*>(p);
  const int stride = ((w * bits + 31) / 32) * 4;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int v = static_cast<int>(index(x, y));
      if (bits == 8) {
        bytes[y * stride + x] = static_cast<uint8_t>(v);
      } else {
        uint8_t& b = bytes[y * stride + x / 2];
        b = (x % 2) ? ((b & 0xF0) | v) : ((b & 0x0F) | (v << 4));
      }
    }
  return hbmp;
}

COLORREF PixelOf(HBITMAP hbmp, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, hbmp);
  const COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

// Draws one cell of the strip on a canvas in one series.
BOOL DrawCell(CPlxButtonImages& strip, Canvas& canvas, int x, int y, int index, CSize size = CSize(0, 0),
              BOOL highlight = FALSE, BOOL disabled = FALSE, BOOL shadow = FALSE) {
  CDC dc;
  dc.Attach(canvas.Dc());
  PlxImageDrawState ds;
  BOOL ok = strip.PrepareDrawImage(ds, size);
  if (ok) {
    ok = strip.Draw(&dc, x, y, index, highlight, disabled, FALSE, shadow);
    strip.EndDrawImage(ds);
  }
  dc.Detach();
  return ok;
}

// A cell with a coloured 4 x 4 square at (2, 2) on the background colour.
PixelFn Square(COLORREF back, COLORREF ink, int cell = 16) {
  return [=](int x, int y) {
    const int cx = x % cell;
    return (cx >= 2 && cx < 6 && y >= 2 && y < 6) ? ink : back;
  };
}

class PlxButtonImagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    g_plxGlobalData.UpdateSysColors();
  }
  ScratchDir m_dir;
};

}  // namespace

TEST_F(PlxButtonImagesTest, AddingCountsWholeCells) {
  struct Case {
    const char* what;
    std::vector<SIZE> added;
    int lastIndex, count, height;
  };
  const Case cases[] = {
      {"one cell", {{16, 15}}, 0, 1, 15},
      {"two then one", {{16, 15}, {32, 15}}, 2, 3, 15},
      {"a lower picture keeps the height", {{16, 15}, {16, 10}}, 1, 2, 15},
      {"40 pixels hold two cells", {{40, 15}}, 1, 2, 15},
      {"the first picture sets the height", {{16, 10}, {16, 15}}, 1, 2, 10},
  };
  for (const Case& c : cases) {
    CPlxButtonImages strip;
    int last = -1;
    for (SIZE s : c.added) {
      HBITMAP hbmp = MakeBitmap(s.cx, s.cy, [](int, int) { return RGB(10, 20, 30); });
      last = strip.AddImage(hbmp);
      DeleteObject(hbmp);
    }
    BITMAP bm{};
    GetObject(strip.GetImageWell(), sizeof bm, &bm);
    EXPECT_EQ(last, c.lastIndex) << c.what;
    EXPECT_EQ(strip.GetCount(), c.count) << c.what;
    EXPECT_EQ(bm.bmHeight, c.height) << c.what;
    EXPECT_TRUE(strip.IsModified()) << c.what;
  }
}

TEST_F(PlxButtonImagesTest, ResourcesLoadOnceAndReplaceEachOther) {
  CPlxButtonImages strip;
  strip.SetImageSize(CSize(9, 9));
  ASSERT_TRUE(strip.Load(16129));
  EXPECT_EQ(strip.GetCount(), 32);
  EXPECT_EQ(strip.GetResourceOffset(16129), 0);

  // The same id again with add: nothing changes.
  EXPECT_TRUE(strip.Load(16129, nullptr, TRUE));
  EXPECT_EQ(strip.GetCount(), 32);
  // Another bitmap appended starts where the first ended.
  ASSERT_TRUE(strip.Load(60004, nullptr, TRUE));
  EXPECT_EQ(strip.GetResourceOffset(60004), 32);
  EXPECT_GT(strip.GetCount(), 32);
  // Without add the strip is that bitmap alone, the earlier one forgotten.
  ASSERT_TRUE(strip.Load(16129));
  EXPECT_EQ(strip.GetCount(), 32);
  EXPECT_EQ(strip.GetResourceOffset(60004), -1);
  // A missing resource is reported and leaves the strip as it was.
  EXPECT_FALSE(strip.Load(59999));
  EXPECT_EQ(strip.GetCount(), 32);
  EXPECT_EQ(strip.GetResourceOffset(16129), 0);
  // Resource strips are not edited cell by cell.
  strip.Load(16129);
  HBITMAP cell = MakeBitmap(9, 9, [](int, int) { return RGB(1, 2, 3); });
  EXPECT_FALSE(strip.UpdateImage(0, cell));
  DeleteObject(cell);
}

TEST_F(PlxButtonImagesTest, FileStripsReplaceCellsAndSaveTheirBytes) {
  const COLORREF kA = RGB(200, 40, 10), kB = RGB(20, 90, 220);
  const std::string source =
      m_dir.Write("tools.bmp", BmpFile(32, 15, [&](int x, int) { return x < 16 ? kA : kB; }));
  CPlxButtonImages strip;
  ASSERT_TRUE(strip.LoadFromFile(source.c_str()));
  EXPECT_EQ(strip.GetCount(), 2);
  EXPECT_FALSE(strip.IsModified());

  // Unchanged and to its own path: nothing is written.
  const std::string marker = "not rewritten";
  pictavo::test::WriteWholeFile(source, marker);
  EXPECT_TRUE(strip.Save());
  EXPECT_EQ(ReadWholeFile(source), marker);

  // Replacing a cell: in range only, and the strip then counts as changed.
  const COLORREF kC = RGB(5, 160, 60);
  HBITMAP cell = MakeBitmap(16, 15, [&](int, int) { return kC; });
  EXPECT_FALSE(strip.UpdateImage(-1, cell));
  EXPECT_FALSE(strip.UpdateImage(2, cell));
  EXPECT_TRUE(strip.UpdateImage(1, cell));
  DeleteObject(cell);
  EXPECT_TRUE(strip.IsModified());

  const std::string saved = m_dir / "saved.bmp";
  ASSERT_TRUE(strip.Save(saved.c_str()));
  EXPECT_FALSE(strip.IsModified());
  const std::string bytes = ReadWholeFile(saved);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Get32(bytes, 2), bytes.size());
  EXPECT_EQ(Get32(bytes, 10), 54u);  // no palette above 8 bits
  EXPECT_EQ(Get16(bytes, 28), 24);   // the depth the file had
  EXPECT_EQ(Get32(bytes, 18), 32u);
  EXPECT_EQ(Get32(bytes, 22), 15u);
  EXPECT_EQ(BmpPixel(bytes, 0, 0), kA);
  EXPECT_EQ(BmpPixel(bytes, 15, 14), kA);
  EXPECT_EQ(BmpPixel(bytes, 16, 0), kC);
  EXPECT_EQ(BmpPixel(bytes, 31, 14), kC);
  // The atomic write leaves nothing beside the file.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 2);

  // Loading what was saved and saving it again gives the same bytes.
  CPlxButtonImages again;
  ASSERT_TRUE(again.LoadFromFile(saved.c_str()));
  EXPECT_EQ(again.GetCount(), 2);
  HBITMAP same = MakeBitmap(16, 15, [&](int, int) { return kC; });
  ASSERT_TRUE(again.UpdateImage(1, same));
  DeleteObject(same);
  const std::string resaved = m_dir / "resaved.bmp";
  ASSERT_TRUE(again.Save(resaved.c_str()));
  EXPECT_EQ(ReadWholeFile(resaved), bytes);

  // A target that cannot be written is reported, and the strip stays changed.
  HBITMAP other = MakeBitmap(16, 15, [&](int, int) { return kA; });
  ASSERT_TRUE(again.UpdateImage(0, other));
  DeleteObject(other);
  std::filesystem::create_directory(m_dir / "folder.bmp");
  EXPECT_FALSE(again.Save((m_dir / "folder.bmp").c_str()));
  EXPECT_FALSE(again.Save((m_dir / "missing/x.bmp").c_str()));
  EXPECT_TRUE(again.IsModified());

  // A read-only file is loaded but never saved.
  const std::string locked = m_dir.Write("locked.bmp", BmpFile(16, 15, [&](int, int) { return kA; }));
  chmod(locked.c_str(), 0444);
  CPlxButtonImages readOnly;
  ASSERT_TRUE(readOnly.LoadFromFile(locked.c_str()));
  EXPECT_TRUE(readOnly.IsFileReadOnly());
  EXPECT_FALSE(readOnly.Save((m_dir / "elsewhere.bmp").c_str()));
}

TEST_F(PlxButtonImagesTest, ColourMapping) {
  const PlxGlobalData& g = g_plxGlobalData;
  struct Case {
    const char* what;
    COLORREF got, want;
  };
  const Case cases[] = {
      {"light grey to face", CPlxButtonImages::MapToSysColor(RGB(192, 192, 192)), g.clrBtnFace},
      {"dark grey to shadow", CPlxButtonImages::MapToSysColor(RGB(128, 128, 128)), g.clrBtnShadow},
      {"white to highlight", CPlxButtonImages::MapToSysColor(RGB(255, 255, 255)), g.clrBtnHilite},
      {"black to text", CPlxButtonImages::MapToSysColor(RGB(0, 0, 0)), g.clrBtnText},
      {"others kept", CPlxButtonImages::MapToSysColor(RGB(1, 2, 3)), RGB(1, 2, 3)},
      {"quad order swaps red and blue", CPlxButtonImages::MapToSysColor(RGB(192, 192, 192), TRUE),
       RGB(GetBValue(g.clrBtnFace), GetGValue(g.clrBtnFace), GetRValue(g.clrBtnFace))},
      {"face back to light grey", CPlxButtonImages::MapFromSysColor(g.clrBtnFace), RGB(192, 192, 192)},
      {"grey to the bar face", CPlxButtonImages::MapGrayToFaceColor(RGB(192, 192, 192)), g.clrBarFace},
      {"a colour is no grey", CPlxButtonImages::MapGrayToFaceColor(RGB(192, 150, 192)), RGB(192, 150, 192)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

  // Loading maps the greys of a picture to the system colours.
  const std::string source = m_dir.Write(
      "greys.bmp", BmpFile(16, 15, [](int x, int) { return x < 8 ? RGB(192, 192, 192) : RGB(1, 2, 3); }));
  CPlxButtonImages strip;
  ASSERT_TRUE(strip.LoadFromFile(source.c_str()));
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 0, 0), g.clrBtnFace);
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 8, 0), RGB(1, 2, 3));
}

TEST_F(PlxButtonImagesTest, DrawingStates) {
  const COLORREF kInk = RGB(200, 30, 30);
  HBITMAP pic = MakeBitmap(32, 15, Square(kMagenta, kInk));
  CPlxButtonImages strip;
  strip.AddImage(pic, TRUE);
  DeleteObject(pic);
  strip.SetTransparentColor(kMagenta);

  {  // Indexes outside the strip draw nothing.
    Canvas c(40, 20);
    EXPECT_FALSE(DrawCell(strip, c, 0, 0, -1));
    EXPECT_FALSE(DrawCell(strip, c, 0, 0, 2));
    EXPECT_EQ(c.CountNot(RGB(255, 255, 255)), 0);
  }
  {  // The transparent colour keeps the background; the square lands at (x + 2, y + 2).
    Canvas c(40, 20);
    ASSERT_TRUE(DrawCell(strip, c, 3, 1, 1));
    const auto ink = pictavo::test::InkOf(c);
    EXPECT_EQ(ink.count, 16);
    EXPECT_EQ(ink.left, 5);
    EXPECT_EQ(ink.top, 3);
    EXPECT_EQ(c.At(6, 4), kInk);
  }
  {  // Stretched to twice the size: the square doubles.
    Canvas c(40, 40);
    ASSERT_TRUE(DrawCell(strip, c, 0, 0, 0, CSize(32, 30)));
    const auto ink = pictavo::test::InkOf(c);
    EXPECT_EQ(ink.right - ink.left, 8);
    EXPECT_EQ(ink.bottom - ink.top, 8);
  }
  {  // Stretched onto a coloured background: the key colour still shows the background.
    Canvas c(40, 40, RGB(0, 0, 255));
    ASSERT_TRUE(DrawCell(strip, c, 0, 0, 0, CSize(32, 30)));
    EXPECT_EQ(c.At(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(c.At(20, 20), RGB(0, 0, 255));
    EXPECT_EQ(c.At(6, 6), kInk);
  }
  {  // A disabled 24-bit cell is drawn and then greyed (towards the highlight colour), only
     // inside its cell: the square keeps its shape in one tone other than its own.
    Canvas c(40, 20, RGB(0, 0, 255));
    ASSERT_TRUE(DrawCell(strip, c, 0, 0, 0, CSize(0, 0), FALSE, TRUE));
    const COLORREF p = c.At(3, 3);
    EXPECT_NE(p, kInk);
    for (int y = 2; y < 6; ++y)
      for (int x = 2; x < 6; ++x) EXPECT_EQ(c.At(x, y), p) << x << "," << y;
    EXPECT_NE(c.At(1, 1), p);
    EXPECT_EQ(c.At(17, 3), RGB(0, 0, 255));
    EXPECT_EQ(c.At(16, 3), RGB(0, 0, 255));
  }
  {  // A shadow on a palette screen draws nothing and is no failure.
    const int depth = g_plxGlobalData.nBitsPerPixel;
    g_plxGlobalData.nBitsPerPixel = 8;
    Canvas c(40, 20);
    EXPECT_TRUE(DrawCell(strip, c, 0, 0, 0, CSize(0, 0), FALSE, FALSE, TRUE));
    g_plxGlobalData.nBitsPerPixel = depth;
    EXPECT_EQ(c.CountNot(RGB(255, 255, 255)), 0);
  }
}

// The shared clean-up may run while strips live on (between documents, between tests): a strip
// made before it still draws after it, and so does one made after it.
TEST_F(PlxButtonImagesTest, StripsDrawAfterTheSharedCleanUp) {
  const COLORREF kInk = RGB(30, 120, 30);
  HBITMAP pic = MakeBitmap(16, 15, Square(kMagenta, kInk));
  CPlxButtonImages before;
  before.AddImage(pic, TRUE);
  before.SetTransparentColor(kMagenta);
  CPlxButtonImages::StaticCleanUp();
  CPlxButtonImages after;
  after.AddImage(pic, TRUE);
  after.SetTransparentColor(kMagenta);
  DeleteObject(pic);
  for (CPlxButtonImages* strip : {&before, &after}) {
    Canvas c(20, 20);
    ASSERT_TRUE(DrawCell(*strip, c, 0, 0, 0));
    EXPECT_EQ(pictavo::test::InkOf(c).count, 16);
    EXPECT_EQ(c.At(3, 3), kInk);
  }
}

TEST_F(PlxButtonImagesTest, DisabledPaletteCellsAreEmbossed) {
  const std::vector<COLORREF> palette = {g_plxGlobalData.clrBtnFace, RGB(200, 30, 30)};
  HBITMAP pic = MakeIndexedDib(16, 15, 8, palette, Square(0, 1));
  CPlxButtonImages strip;
  strip.AddImage(pic, TRUE);
  DeleteObject(pic);
  ASSERT_EQ(strip.GetBitsPerPixel(), 8);
  Canvas c(20, 20, g_plxGlobalData.clrBtnFace);
  ASSERT_TRUE(DrawCell(strip, c, 0, 0, 0, CSize(0, 0), FALSE, TRUE));
  // The square's own colour is gone: shadow where it was, highlight one pixel down and right.
  int shadow = 0, hilite = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const COLORREF p = c.At(x, y);
      EXPECT_NE(p, RGB(200, 30, 30));
      shadow += p == g_plxGlobalData.clrBtnShadow;
      hilite += p == g_plxGlobalData.clrBtnHilite;
    }
  EXPECT_EQ(shadow, 16);
  EXPECT_EQ(hilite, 7);  // the lower-right rim the shadow does not cover
}

TEST_F(PlxButtonImagesTest, DerivedCopies) {
  // Mirror: every cell reversed on its own.
  HBITMAP pic = MakeBitmap(32, 15, [](int x, int) { return RGB(x, 0, 0); });
  CPlxButtonImages strip;
  strip.AddImage(pic, TRUE);
  DeleteObject(pic);
  ASSERT_TRUE(strip.Mirror());
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 0, 0), RGB(15, 0, 0));
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 15, 0), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 16, 3), RGB(31, 0, 0));

  // Greyed: every pixel a grey.
  ASSERT_TRUE(strip.GrayImages(100));
  for (int x = 0; x < 32; x += 5) {
    const COLORREF p = PixelOf(strip.GetImageWell(), x, 2);
    EXPECT_TRUE(GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p)) << x;
  }

  // Faded: a 4-bit strip gets a copy lifted to 130 per cent; an 8-bit one none by default.
  const std::vector<COLORREF> palette = {RGB(0, 0, 0), RGB(100, 200, 50), RGB(192, 192, 192)};
  for (int bits : {4, 8}) {
    HBITMAP dib = MakeIndexedDib(16, 15, bits, palette, [](int x, int) { return x < 8 ? 0u : 1u; });
    CPlxButtonImages faded;
    faded.AddImage(dib, TRUE);
    DeleteObject(dib);
    Canvas c(20, 20);
    CDC dc;
    dc.Attach(c.Dc());
    PlxImageDrawState ds;
    ASSERT_TRUE(faded.PrepareDrawImage(ds, CSize(0, 0), TRUE));
    faded.EndDrawImage(ds);
    dc.Detach();
    EXPECT_EQ(faded.HasFadedImage(), bits == 4) << bits;
    if (bits == 4) {
      EXPECT_EQ(PixelOf(faded.GetFadedImage(), 0, 0), RGB(77, 77, 77));
      EXPECT_EQ(PixelOf(faded.GetFadedImage(), 9, 0), RGB(130, 255, 65));
    }
  }
}

TEST_F(PlxButtonImagesTest, CopiesAndSharedViews) {
  HBITMAP pic = MakeBitmap(48, 15, [](int x, int) { return RGB(x, 1, 1); });
  CPlxButtonImages strip;
  strip.AddImage(pic, TRUE);
  DeleteObject(pic);

  CPlxButtonImages copy;
  ASSERT_TRUE(strip.CopyTo(copy));
  EXPECT_EQ(copy.GetCount(), 3);
  EXPECT_NE(copy.GetImageWell(), strip.GetImageWell());
  EXPECT_EQ(PixelOf(copy.GetImageWell(), 20, 0), RGB(20, 1, 1));

  CPlxButtonImages view;
  strip.CopyTemplate(view);
  EXPECT_TRUE(view.IsReadOnly());
  EXPECT_EQ(view.GetImageWell(), strip.GetImageWell());
  EXPECT_EQ(view.GetCount(), 3);
  HBITMAP more = MakeBitmap(16, 15, [](int, int) { return RGB(0, 0, 0); });
  EXPECT_EQ(view.AddImage(more), -1);
  DeleteObject(more);
  EXPECT_FALSE(view.Load(16129));
  EXPECT_FALSE(strip.CopyTo(view));  // a shared view receives no copy either
  EXPECT_EQ(view.GetImageWell(), strip.GetImageWell());
}

TEST_F(PlxButtonImagesTest, ReloadFollowsNewSystemColours) {
  const std::string source = m_dir.Write(
      "face.bmp", BmpFile(16, 15, [](int x, int) { return x < 8 ? RGB(192, 192, 192) : RGB(1, 2, 3); }));
  CPlxButtonImages strip;
  ASSERT_TRUE(strip.LoadFromFile(source.c_str()));
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 0, 0), g_plxGlobalData.clrBtnFace);

  const int index = COLOR_BTNFACE;
  const COLORREF saved = GetSysColor(COLOR_BTNFACE), changed = RGB(230, 220, 200);
  SetSysColors(1, &index, &changed);
  g_plxGlobalData.UpdateSysColors();
  strip.Reload();
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 0, 0), changed);
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 9, 0), RGB(1, 2, 3));
  EXPECT_FALSE(strip.IsModified());

  // Cells edited and not yet saved survive a reload.
  HBITMAP cell = MakeBitmap(16, 15, [](int, int) { return RGB(9, 8, 7); });
  ASSERT_TRUE(strip.UpdateImage(0, cell));
  DeleteObject(cell);
  strip.Reload();
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 0, 0), RGB(9, 8, 7));
  EXPECT_TRUE(strip.IsModified());
  SetSysColors(1, &index, &saved);
  g_plxGlobalData.UpdateSysColors();
}

TEST_F(PlxButtonImagesTest, IconsInAndOut) {
  CPlxButtonImages strip;
  HBITMAP pic = MakeBitmap(32, 15, Square(RGB(192, 192, 192), RGB(10, 120, 200)));
  strip.AddImage(pic, TRUE);
  DeleteObject(pic);
  strip.SetTransparentColor(RGB(192, 192, 192));
  EXPECT_EQ(strip.ExtractIcon(-1), nullptr);
  EXPECT_EQ(strip.ExtractIcon(2), nullptr);
  HICON icon = strip.ExtractIcon(1);
  ASSERT_NE(icon, nullptr);

  // The icon goes back in as a new cell: the square where it was, the keyed-out grey gone.
  const int index = strip.AddIcon(icon);
  DestroyIcon(icon);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(strip.GetCount(), 3);
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 32 + 3, 3), RGB(10, 120, 200));
  EXPECT_EQ(PixelOf(strip.GetImageWell(), 32 + 10, 10), g_plxGlobalData.clrBtnFace);
}
