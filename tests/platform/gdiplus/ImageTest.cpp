#include <memory>
#include <vector>

#include "platform/gdi/Surface.h"
#include "tests/platform/gdiplus/GdiplusTestSupport.h"

using namespace Gdiplus;

namespace {

class Images : public GdiplusTest {};

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A bitmap of the given pixels, rows top down.
std::unique_ptr<Bitmap> BitmapOf(int width, int height, const std::vector<ARGB>& pixels,
                                 PixelFormat format = PixelFormat32bppARGB) {
  auto bitmap = std::make_unique<Bitmap>(width, height, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, Color(pixels[static_cast<size_t>(y * width + x)]));
  return bitmap;
}

constexpr ARGB kA = 0xFFFF0000, kB = 0xFF00FF00, kC = 0xFF0000FF, kD = 0xFFFFFF00;

struct TileCase {
  const char* name;
  WrapMode wrap;
  float dx;  // brush translation
  // Texel shown at (x, y) of a 2 x 2 texture [kA kB; kC kD].
  int (*texel)(int x, int y);
};

TEST_F(Images, TextureBrushTilesFromTheWorldOrigin) {
  auto texture = BitmapOf(2, 2, {kA, kB, kC, kD});
  const ARGB texels[4] = {kA, kB, kC, kD};
  const TileCase cases[] = {
      {"tile", WrapModeTile, 0, [](int x, int y) { return (y % 2) * 2 + x % 2; }},
      {"moved", WrapModeTile, 1, [](int x, int y) { return (y % 2) * 2 + (x + 1) % 2; }},
      // Every other copy across is mirrored: A B B A A B B A ...
      {"flip x", WrapModeTileFlipX, 0,
       [](int x, int y) { return (y % 2) * 2 + ((x % 4 == 1 || x % 4 == 2) ? 1 : 0); }},
      {"flip y", WrapModeTileFlipY, 0,
       [](int x, int y) { return ((y % 4 == 1 || y % 4 == 2) ? 2 : 0) + x % 2; }},
  };
  for (const auto& c : cases) {
    Canvas canvas(12, 12);
    Graphics g(canvas.Dc());
    TextureBrush brush(texture.get(), c.wrap);
    ASSERT_EQ(brush.GetLastStatus(), Ok);
    brush.TranslateTransform(c.dx, 0);
    ASSERT_EQ(g.FillRectangle(&brush, 0, 0, 12, 12), Ok);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x)
        ASSERT_EQ(canvas.At(x, y), RefOf(texels[c.texel(x, y)])) << c.name << " at " << x << "," << y;
  }
}

TEST_F(Images, TextureBrushKeepsItsOwnCopy) {
  auto texture = BitmapOf(1, 1, {kA});
  TextureBrush brush(texture.get());
  texture->SetPixel(0, 0, Color(kB));
  texture.reset();
  Canvas canvas(4, 4);
  Graphics g(canvas.Dc());
  g.FillRectangle(&brush, 0, 0, 4, 4);
  EXPECT_EQ(canvas.At(3, 3), RefOf(kA));
}

// A DC drawing into a window-sized surface at an origin, limited to a clip rectangle.
TEST_F(Images, DrawImageScaledLandsAtTheDcOriginInsideItsClip) {
  auto surface = std::make_shared<pictavo::gdi::Surface>(60, 40);
  surface->Fill(0x00FFFFFF);
  const POINT origin{10, 5};
  const RECT clip{12, 7, 40, 30};
  HDC dc = pictavo::gdi::CreateSurfaceDC(surface, origin, clip);
  ASSERT_NE(dc, nullptr);
  auto red = BitmapOf(4, 4, std::vector<ARGB>(16, 0xFFFF0000));
  {
    Graphics g(dc);
    ASSERT_EQ(g.DrawImage(red.get(), 0, 0, 20, 20), Ok);
  }
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      bool inImage = x >= origin.x && x < origin.x + 20 && y >= origin.y && y < origin.y + 20;
      bool inClip = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      ASSERT_EQ(surface->Row(y)[static_cast<size_t>(x)] & 0xFFFFFF, inImage && inClip ? 0xFF0000u : 0xFFFFFFu)
          << x << "," << y;
    }
  pictavo::gdi::DeleteSurfaceDC(dc);
}

TEST_F(Images, DrawingHonoursTheDcsClipAndViewport) {
  Canvas canvas(50, 50);
  SetViewportOrgEx(canvas.Dc(), 5, 5, nullptr);
  // The preview excludes its picture control before painting its background.
  ExcludeClipRect(canvas.Dc(), 10, 10, 20, 20);
  Graphics g(canvas.Dc());
  SolidBrush black(Color::Black);
  g.FillRectangle(&black, 0, 0, 30, 30);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) {
      bool filled = x >= 5 && x < 35 && y >= 5 && y < 35;
      bool excluded = x >= 15 && x < 25 && y >= 15 && y < 25;
      ASSERT_EQ(canvas.At(x, y), filled && !excluded ? RGB(0, 0, 0) : kWhite) << x << "," << y;
    }
}

TEST_F(Images, BottomUpTargetsAreDrawnTheRightWayUp) {
  Canvas canvas(20, 20, kWhite, /*bottomUp*/ true);
  Graphics g(canvas.Dc());
  SolidBrush black(Color::Black);
  g.FillRectangle(&black, 0, 0, 20, 5);
  EXPECT_EQ(canvas.At(10, 2), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(10, 17), kWhite);
}

TEST_F(Images, TranslucentPixelsBlendOverAnOpaqueBackground) {
  struct Case {
    ARGB pixel;
    COLORREF background;
    COLORREF expected;  // pixel x alpha + background x (1 - alpha)
  };
  const Case cases[] = {
      {0x80FF0000, RGB(0, 0, 255), RGB(128, 0, 127)},
      {0xA0FFFFFF, RGB(160, 160, 160), RGB(220, 220, 220)},  // the disabled preview's veil
      {0x00123456, RGB(10, 20, 30), RGB(10, 20, 30)},
      {0xFF123456, RGB(10, 20, 30), RGB(0x12, 0x34, 0x56)},
  };
  for (const auto& c : cases) {
    auto bitmap = BitmapOf(3, 3, std::vector<ARGB>(9, c.pixel));
    Canvas canvas(5, 5, c.background);
    Graphics g(canvas.Dc());
    ASSERT_EQ(g.DrawImage(bitmap.get(), 1, 1), Ok);
    EXPECT_TRUE(Near(canvas.At(2, 2), c.expected, 1)) << std::hex << c.pixel << " got " << canvas.At(2, 2);
    EXPECT_EQ(canvas.At(0, 0), c.background);
    EXPECT_EQ(canvas.At(4, 4), c.background);
  }
}

TEST_F(Images, SourceCopyReplacesWhatIsThere) {
  Bitmap layer(4, 4, PixelFormat32bppARGB);
  Graphics g(&layer);
  g.Clear(Color(0xFFFF0000));
  SolidBrush glass(Color(0x4000FF00));
  g.FillRectangle(&glass, 0, 0, 2, 4);
  g.SetCompositingMode(CompositingModeSourceCopy);
  g.FillRectangle(&glass, 2, 0, 2, 4);
  Color over, copied;
  layer.GetPixel(0, 0, &over);
  layer.GetPixel(3, 3, &copied);
  EXPECT_EQ(over.GetA(), 0xFF);
  EXPECT_TRUE(Near(RefOf(over.GetValue()), RGB(191, 64, 0), 1)) << std::hex << over.GetValue();
  EXPECT_EQ(copied.GetValue(), 0x4000FF00u);
}

TEST_F(Images, PixelsKeepTheirStraightAlpha) {
  Bitmap veil(4, 3, PixelFormat32bppARGB);
  {
    Graphics g(&veil);
    ASSERT_EQ(g.Clear(Color(0xA0FFFFFF)), Ok);
  }
  Color c;
  ASSERT_EQ(veil.GetPixel(3, 2, &c), Ok);
  EXPECT_EQ(c.GetValue(), 0xA0FFFFFFu);
  ASSERT_EQ(veil.SetPixel(0, 0, Color(0x40806020)), Ok);
  veil.GetPixel(0, 0, &c);
  EXPECT_EQ(c.GetValue(), 0x40806020u);
  // Locked as premultiplied, colours come scaled by alpha; as ARGB, as stored.
  BitmapData data{};
  Rect first(0, 0, 1, 1);
  ASSERT_EQ(veil.LockBits(&first, ImageLockModeRead, PixelFormat32bppPARGB, &data), Ok);
  EXPECT_EQ(*static_cast<uint32_t*>(data.Scan0), 0x40201808u);
  EXPECT_EQ(veil.LockBits(&first, ImageLockModeRead, PixelFormat32bppARGB, &data), WrongState);
  ASSERT_EQ(veil.UnlockBits(&data), Ok);
  ASSERT_EQ(veil.LockBits(nullptr, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppARGB, &data), Ok);
  EXPECT_EQ(data.Width, 4u);
  EXPECT_EQ(data.Stride, 16);
  static_cast<uint32_t*>(data.Scan0)[1] = 0x01020304;
  ASSERT_EQ(veil.UnlockBits(&data), Ok);
  veil.GetPixel(1, 0, &c);
  EXPECT_EQ(c.GetValue(), 0x01020304u);
  EXPECT_EQ(veil.GetPixel(4, 0, &c), InvalidParameter);
}

TEST_F(Images, BitmapsOverCallerMemoryDrawIntoIt) {
  // Three-byte pixels, rows padded to four bytes, as a 24-bit DIB lays them out.
  std::vector<BYTE> memory(static_cast<size_t>(8) * 3, 0);
  {
    Bitmap bitmap(2, 3, 8, PixelFormat24bppRGB, memory.data());
    ASSERT_EQ(bitmap.GetLastStatus(), Ok);
    Graphics g(&bitmap);
    SolidBrush blue(Color(255, 10, 20, 200));
    g.FillRectangle(&blue, 1, 1, 1, 2);
  }
  EXPECT_EQ(memory[8 + 3], 200);  // blue byte of (1, 1)
  EXPECT_EQ(memory[8 + 4], 20);
  EXPECT_EQ(memory[8 + 5], 10);
  EXPECT_EQ(memory[8 + 0], 0);  // (0, 1) untouched
  EXPECT_EQ(memory[16 + 3], 200);
  Bitmap badStride(2, 3, 5, PixelFormat24bppRGB, memory.data());
  EXPECT_EQ(badStride.GetLastStatus(), InvalidParameter);
  Bitmap unsupported(2, 2, PixelFormat8bppIndexed);
  EXPECT_EQ(unsupported.GetLastStatus(), NotImplemented);
}

TEST_F(Images, GdiBitmapsConvertBothWays) {
  Canvas canvas(6, 4, RGB(1, 2, 3));
  HBITMAP gdi = static_cast<HBITMAP>(GetCurrentObject(canvas.Dc(), OBJ_BITMAP));
  Bitmap copy(gdi, nullptr);
  ASSERT_EQ(copy.GetLastStatus(), Ok);
  EXPECT_EQ(copy.GetWidth(), 6u);
  EXPECT_EQ(copy.GetPixelFormat(), PixelFormat32bppRGB);
  Color c;
  copy.GetPixel(5, 3, &c);
  EXPECT_EQ(c.GetValue(), 0xFF010203u);
  // Back to GDI over a background: translucent pixels are composed over it.
  Bitmap translucent(2, 1, PixelFormat32bppARGB);
  translucent.SetPixel(0, 0, Color(0x80FFFFFF));
  translucent.SetPixel(1, 0, Color(0xFF000000));
  HBITMAP out = nullptr;
  ASSERT_EQ(translucent.GetHBITMAP(Color(0xFF000000), &out), Ok);
  DIBSECTION ds{};
  ASSERT_EQ(GetObject(out, sizeof ds, &ds), static_cast<int>(sizeof ds));
  const auto* bits = static_cast<const uint32_t*>(ds.dsBm.bmBits);
  EXPECT_TRUE(Near(bits[0] & 0xFFFFFF, 0x808080, 1)) << std::hex << bits[0];
  EXPECT_EQ(bits[1] & 0xFFFFFF, 0u);
  DeleteObject(out);
}

TEST_F(Images, LentDcDrawsIntoTheBitmap) {
  struct Case {
    PixelFormat format;
    ARGB background;  // as it reads back where GDI did not draw
  };
  // GDI leaves alpha alone, so what it draws into a bitmap with alpha becomes opaque.
  const Case cases[] = {{PixelFormat24bppRGB, 0xFFA0A0A0}, {PixelFormat32bppARGB, 0x40A0A0A0}};
  for (const auto& c : cases) {
    Bitmap back(10, 10, c.format);
    Graphics g(&back);
    g.Clear(Color(c.background));
    HDC dc = g.GetHDC();
    ASSERT_NE(dc, nullptr);
    SolidBrush black(Color::Black);
    EXPECT_EQ(g.FillRectangle(&black, 0, 0, 10, 10), ObjectBusy);
    RECT r{2, 2, 5, 5};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    g.ReleaseHDC(dc);
    Color pixel;
    back.GetPixel(3, 3, &pixel);
    EXPECT_EQ(pixel.GetValue(), 0xFFFFFFFFu) << c.format;
    back.GetPixel(7, 7, &pixel);
    EXPECT_EQ(pixel.GetValue(), c.background) << c.format;
    EXPECT_EQ(g.FillRectangle(&black, 0, 0, 1, 1), Ok);
  }
}

TEST_F(Images, SourceRectanglesAndNearestNeighbourScaling) {
  auto checker = BitmapOf(2, 2, {kA, kB, kC, kD});
  Canvas canvas(8, 8);
  Graphics g(canvas.Dc());
  g.SetInterpolationMode(InterpolationModeNearestNeighbor);
  // The right column of the image, twice as large.
  ASSERT_EQ(g.DrawImage(checker.get(), Rect(0, 0, 2, 4), 1, 0, 1, 2, UnitPixel), Ok);
  EXPECT_EQ(canvas.At(0, 0), RefOf(kB));
  EXPECT_EQ(canvas.At(1, 1), RefOf(kB));
  EXPECT_EQ(canvas.At(1, 2), RefOf(kD));
  EXPECT_EQ(canvas.At(0, 3), RefOf(kD));
  EXPECT_EQ(canvas.At(2, 0), kWhite);
  // Scaled up fourfold, each pixel becomes a block.
  canvas.Fill(kWhite);
  g.DrawImage(checker.get(), 0, 0, 8, 8);
  EXPECT_EQ(canvas.At(3, 3), RefOf(kA));
  EXPECT_EQ(canvas.At(4, 3), RefOf(kB));
  EXPECT_EQ(canvas.At(3, 4), RefOf(kC));
  EXPECT_EQ(canvas.At(7, 7), RefOf(kD));
}

}  // namespace
