#include <gtest/gtest.h>

#include "platform/res/ResourceModule.h"
#include "platform/res/Resources.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;

BITMAPINFO Header(int width, int height, int bpp) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bpp);
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TEST(Dib, TwentyFourBitSectionsPadRowsAndStoreBottomUp) {
  BITMAPINFO info = Header(3, 2, 24);  // 9 bytes of pixels per row, padded to 12
  void* raw = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  auto* bits = static_cast<uint8_t*>(raw);
  DIBSECTION ds{};
  ASSERT_EQ(GetObject(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 12);
  EXPECT_EQ(ds.dsBm.bmBits, raw);
  EXPECT_EQ(ds.dsBmih.biSizeImage, 24u);

  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  SetPixel(dc, 2, 0, RGB(1, 2, 3));  // top row: the second row in memory
  SetPixel(dc, 0, 1, RGB(4, 5, 6));  // bottom row: the first row in memory
  EXPECT_EQ(bits[12 + 6], 3);        // blue first
  EXPECT_EQ(bits[12 + 7], 2);
  EXPECT_EQ(bits[12 + 8], 1);
  EXPECT_EQ(bits[0], 6);
  EXPECT_EQ(bits[2], 4);
  // Writing the memory directly is seen by the DC.
  bits[3] = 0x80;
  bits[4] = 0x40;
  bits[5] = 0x20;
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0x20, 0x40, 0x80));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST(Dib, ThirtyTwoBitTopDownSectionIsTheDrawingSurface) {
  Canvas c(5, 3);
  RECT r{1, 1, 3, 2};
  HBRUSH brush = CreateSolidBrush(RGB(0x11, 0x22, 0x33));
  FillRect(c.Dc(), &r, brush);
  EXPECT_EQ(c.Pixel(1, 1) & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(c.Pixel(3, 1) & 0xFFFFFF, 0xFFFFFFu);
  DeleteObject(brush);
}

TEST(Dib, GetAndSetDIBitsRoundTrip) {
  Canvas c(3, 2);
  SetPixel(c.Dc(), 0, 0, RGB(10, 20, 30));
  SetPixel(c.Dc(), 2, 1, RGB(40, 50, 60));
  // Ask for the layout first, as callers do.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  ASSERT_TRUE(GetDIBits(c.Dc(), c.Bitmap(), 0, 2, nullptr, &info, DIB_RGB_COLORS));
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biHeight, 2);
  info = Header(3, 2, 24);
  std::vector<uint8_t> bits(24, 0xEE);
  EXPECT_EQ(GetDIBits(c.Dc(), c.Bitmap(), 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(info.bmiHeader.biSizeImage, 24u);
  // Bottom-up: memory row 0 is the picture's bottom row.
  EXPECT_EQ(bits[6], 60);
  EXPECT_EQ(bits[8], 40);
  EXPECT_EQ(bits[12 + 0], 30);
  EXPECT_EQ(bits[12 + 2], 10);
  EXPECT_EQ(bits[9], 0);  // padding is cleared

  HBITMAP target = CreateCompatibleBitmap(c.Dc(), 3, 2);
  EXPECT_EQ(SetDIBits(c.Dc(), target, 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, target);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(40, 50, 60));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(target);
}

TEST(Dib, StretchDIBitsAndSetDIBitsToDeviceKeepOrientation) {
  // A bottom-up 2x2 32-bit DIB: memory row 0 (bottom) red, row 1 (top) blue.
  uint32_t pixels[4] = {0x00FF0000, 0x00FF0000, 0x000000FF, 0x000000FF};
  BITMAPINFO info = Header(2, 2, 32);
  Canvas c(4, 4);
  EXPECT_EQ(SetDIBitsToDevice(c.Dc(), 1, 1, 2, 2, 0, 0, 0, 2, pixels, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(c.At(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
  c.Fill(RGB(255, 255, 255));
  SetStretchBltMode(c.Dc(), HALFTONE);
  StretchDIBits(c.Dc(), 0, 0, 4, 4, 0, 0, 2, 2, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(3, 3), RGB(255, 0, 0));
  // The source rectangle of a bottom-up DIB counts rows from its bottom.
  c.Fill(RGB(255, 255, 255));
  StretchDIBits(c.Dc(), 0, 0, 1, 1, 0, 0, 1, 1, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
}

TEST(Dib, OneBitSectionTakesTheNearestTableColour) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } info{};
  info.header = Header(8, 1, 1).bmiHeader;
  info.colors[0] = RGBQUAD{0, 0, 0, 0};
  info.colors[1] = RGBQUAD{255, 255, 255, 0};
  void* raw = nullptr;
  HBITMAP dib =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &raw, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  Canvas src(8, 1, RGB(240, 240, 240));
  SetPixel(src.Dc(), 1, 0, RGB(30, 30, 30));
  SetPixel(src.Dc(), 6, 0, RGB(100, 90, 80));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  BitBlt(dc, 0, 0, 8, 1, src.Dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(static_cast<uint8_t*>(raw)[0], 0xBD);  // 1011 1101: the two dark pixels are black
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST(Dib, CopyImageScalesAndMakesSections) {
  Canvas c(4, 2, RGB(9, 8, 7));
  HANDLE copy = CopyImage(c.Bitmap(), IMAGE_BITMAP, 8, 4, LR_CREATEDIBSECTION);
  ASSERT_NE(copy, nullptr);
  DIBSECTION ds{};
  EXPECT_EQ(GetObject(copy, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmWidth, 8);
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(static_cast<uint32_t*>(ds.dsBm.bmBits)[0] & 0xFFFFFF, 0x090807u);
  DeleteObject(copy);
}

TEST(Dib, BadHeadersAreRefused) {
  BITMAPINFO zeroWidth = Header(0, 2, 32);
  BITMAPINFO oddDepth = Header(2, 2, 7);
  BITMAPINFO compressed = Header(2, 2, 8);
  compressed.bmiHeader.biCompression = BI_RLE8;
  for (BITMAPINFO* info : {&zeroWidth, &oddDepth, &compressed}) {
    void* bits = reinterpret_cast<void*>(1);
    SetLastError(0);
    EXPECT_EQ(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

// BMP files.

std::string TempPath(const char* name) {
  return std::string("/tmp/pictavo-gdi-") + std::to_string(::getpid()) + "-" + name;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(BmpFile, SavedFilesLoadBackPixelForPixel) {
  Canvas c(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) SetPixel(c.Dc(), x, y, RGB(x * 50, y * 100, 7));
  std::string path = TempPath("round.bmp");
  ASSERT_TRUE(pictavo::gdi::SaveBmpFile(c.Bitmap(), path.c_str()));
  for (UINT flags :
       {static_cast<UINT>(LR_LOADFROMFILE), static_cast<UINT>(LR_LOADFROMFILE | LR_CREATEDIBSECTION)}) {
    HBITMAP loaded = static_cast<HBITMAP>(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, flags));
    ASSERT_NE(loaded, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, loaded);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(GetPixel(dc, x, y), RGB(x * 50, y * 100, 7)) << x << "," << y;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(loaded);
  }
  // The program's paths may use backslashes.
  std::string windowsStyle = path;
  HBITMAP again = static_cast<HBITMAP>(
      LoadImage(nullptr, windowsStyle.replace(0, 1, "\\").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  EXPECT_NE(again, nullptr);
  DeleteObject(again);
  std::remove(path.c_str());
}

TEST(BmpFile, EightBitRleAndMappedColours) {
  // 4x2 8-bit RLE: row 0 = 2 x index 1, 2 x index 0; row 1 = absolute run 0 1 0 1.
  std::vector<uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  BITMAPINFOHEADER h = Header(4, 2, 8).bmiHeader;
  h.biCompression = BI_RLE8;
  h.biClrUsed = 2;
  const uint8_t* hb = reinterpret_cast<const uint8_t*>(&h);
  f.insert(f.end(), hb, hb + sizeof h);
  const uint8_t palette[] = {0xC0, 0xC0, 0xC0, 0, 0x00, 0x00, 0xFF, 0};  // light grey, red
  f.insert(f.end(), palette, palette + sizeof palette);
  uint32_t off = static_cast<uint32_t>(f.size());
  std::memcpy(&f[10], &off, 4);
  const uint8_t data[] = {2, 1, 2, 0, 0, 0, 0, 4, 0, 1, 0, 1, 0, 1};
  f.insert(f.end(), data, data + sizeof data);
  std::string path = TempPath("rle.bmp");
  WriteBytes(path, f);
  HBITMAP plain = static_cast<HBITMAP>(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  HBITMAP mapped = static_cast<HBITMAP>(
      LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(mapped, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, plain);
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));  // file row 0 is the bottom row
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
  SelectObject(dc, mapped);
  EXPECT_EQ(GetPixel(dc, 2, 1), GetSysColor(COLOR_3DFACE));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(plain);
  DeleteObject(mapped);
  std::remove(path.c_str());
}

TEST(BmpFile, DamagedFilesFailCleanly) {
  Canvas c(6, 4);
  std::string good = TempPath("good.bmp");
  ASSERT_TRUE(pictavo::gdi::SaveBmpFile(c.Bitmap(), good.c_str()));
  std::vector<uint8_t> bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 54u);
  auto with = [&](auto change) {
    std::vector<uint8_t> b = bytes;
    change(b);
    return b;
  };
  const std::vector<std::vector<uint8_t>> damaged = {
      {},
      {'B', 'M'},
      with([](auto& b) { b[0] = 'X'; }),
      with([](auto& b) { b.resize(b.size() - 10); }),                   // pixels cut short
      with([](auto& b) { b.resize(40); }),                              // header cut short
      with([](auto& b) { b[18] = 0xFF, b[19] = 0xFF, b[20] = 0xFF; }),  // enormous width
      with([](auto& b) { b[10] = 0xFF, b[11] = 0xFF; }),                // pixels past the end
      with([](auto& b) { b[28] = 13; }),                                // 13 bits per pixel
      with([](auto& b) { b[30] = 9; }),                                 // unknown compression
      with([](auto& b) { b[14] = 0xFF, b[15] = 0xFF; }),                // header larger than the file
  };
  std::string path = TempPath("bad.bmp");
  for (size_t i = 0; i < damaged.size(); ++i) {
    WriteBytes(path, damaged[i]);
    SetLastError(0);
    EXPECT_EQ(LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr) << "case " << i;
    EXPECT_NE(GetLastError(), 0u) << "case " << i;
  }
  EXPECT_EQ(LoadImage(nullptr, TempPath("missing.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  std::remove(path.c_str());
  std::remove(good.c_str());
}

TEST(BmpFile, BitmapResourcesComeFromTheResourceFiles) {
  pictavo::res::SetResourceRoot(std::string(std::getenv("PICTAVO_SOURCE_DIR")) + "/resources");
  struct Case {
    LPCSTR name;
    bool found;
  };
  const Case kCases[] = {{MAKEINTRESOURCE(60004), true}, {MAKEINTRESOURCE(60999), false}};
  for (const Case& c : kCases) {
    HBITMAP bitmap = LoadBitmap(nullptr, c.name);
    EXPECT_EQ(bitmap != nullptr, c.found) << reinterpret_cast<uintptr_t>(c.name);
    if (!bitmap) continue;
    BITMAP info{};
    ASSERT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_GT(info.bmWidth, 0);
    EXPECT_GT(info.bmHeight, 0);
    DeleteObject(bitmap);
  }
}

}  // namespace
