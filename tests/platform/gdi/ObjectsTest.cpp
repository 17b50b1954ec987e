#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;

struct StockCase {
  int index;
  DWORD type;
};

TEST(Objects, StockObjectsExistAndSurviveDeletion) {
  const StockCase cases[] = {
      {WHITE_BRUSH, OBJ_BRUSH},   {LTGRAY_BRUSH, OBJ_BRUSH},    {GRAY_BRUSH, OBJ_BRUSH},
      {DKGRAY_BRUSH, OBJ_BRUSH},  {BLACK_BRUSH, OBJ_BRUSH},     {NULL_BRUSH, OBJ_BRUSH},
      {WHITE_PEN, OBJ_PEN},       {BLACK_PEN, OBJ_PEN},         {NULL_PEN, OBJ_PEN},
      {SYSTEM_FONT, OBJ_FONT},    {DEFAULT_GUI_FONT, OBJ_FONT}, {ANSI_VAR_FONT, OBJ_FONT},
      {DEFAULT_PALETTE, OBJ_PAL}, {DC_BRUSH, OBJ_BRUSH},        {DC_PEN, OBJ_PEN}};
  for (const auto& c : cases) {
    HGDIOBJ object = GetStockObject(c.index);
    ASSERT_NE(object, nullptr) << c.index;
    EXPECT_EQ(GetObjectType(object), c.type) << c.index;
    EXPECT_LE(reinterpret_cast<uintptr_t>(object), 0xFFFFFFFFu);  // fits the program's 32-bit records
    EXPECT_TRUE(DeleteObject(object));
    EXPECT_EQ(GetObjectType(object), c.type) << "still there";
  }
  EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
  LOGFONT lf{};
  ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_LT(lf.lfHeight, 0);
  EXPECT_GT(std::strlen(lf.lfFaceName), 0u);
}

TEST(Objects, SelectReturnsThePreviousObject) {
  Canvas c(2, 2);
  HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_EQ(SelectObject(c.Dc(), pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(c.Dc(), brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(c.Dc(), OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(c.Dc(), OBJ_BITMAP), c.Bitmap());
  EXPECT_EQ(SelectObject(c.Dc(), GetStockObject(BLACK_PEN)), pen);
  EXPECT_EQ(SelectObject(c.Dc(), GetStockObject(WHITE_BRUSH)), brush);
  LOGPEN lp{};
  EXPECT_EQ(GetObject(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  LOGBRUSH lb{};
  GetObject(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(4, 5, 6));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), 0u);
  DeleteObject(brush);
}

TEST(Objects, ABitmapIsInOneMemoryDcAtATime) {
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetObjectType(a), static_cast<DWORD>(OBJ_MEMDC));
  HGDIOBJ oldA = SelectObject(a, bitmap);
  EXPECT_NE(oldA, nullptr);
  EXPECT_EQ(SelectObject(b, bitmap), nullptr);
  SelectObject(a, oldA);
  HGDIOBJ oldB = SelectObject(b, bitmap);
  EXPECT_NE(oldB, nullptr);
  SelectObject(b, oldB);
  DeleteDC(a);
  DeleteDC(b);
  DeleteObject(bitmap);
}

TEST(Objects, DeletingASelectedObjectKeepsTheDcWorking) {
  Canvas c(4, 4);
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  SelectObject(c.Dc(), brush);
  DeleteObject(brush);
  EXPECT_TRUE(PatBlt(c.Dc(), 0, 0, 4, 4, PATCOPY));
  EXPECT_EQ(c.At(1, 1), RGB(9, 9, 9));
  SelectObject(c.Dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Objects, DcBrushAndPenTakeTheDcColours) {
  Canvas c(4, 4);
  SelectObject(c.Dc(), GetStockObject(DC_BRUSH));
  SetDCBrushColor(c.Dc(), RGB(10, 20, 30));
  PatBlt(c.Dc(), 0, 0, 4, 4, PATCOPY);
  EXPECT_EQ(c.At(2, 2), RGB(10, 20, 30));
  SelectObject(c.Dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Objects, SystemColoursAndTheirBrushes) {
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
  COLORREF original = GetSysColor(COLOR_BTNFACE);
  Canvas c(2, 2);
  RECT r{0, 0, 2, 2};
  FillRect(c.Dc(), &r, face);
  EXPECT_EQ(c.At(0, 0), original);
  int index = COLOR_BTNFACE;
  COLORREF pink = RGB(255, 200, 200);
  ASSERT_TRUE(SetSysColors(1, &index, &pink));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pink);
  FillRect(c.Dc(), &r, face);  // the same brush follows the new colour
  EXPECT_EQ(c.At(0, 0), pink);
  SetSysColors(1, &index, &original);
  EXPECT_EQ(GetSysColor(COLOR_3DFACE), original);
  EXPECT_EQ(GetSysColorBrush(99), nullptr);
}

TEST(Objects, DeviceCapsDescribeA96DpiTrueColourScreen) {
  pictavo::gdi::SetDesktopSizeProvider([] { return SIZE{1600, 900}; });
  Canvas c(1, 1);
  EXPECT_EQ(GetDeviceCaps(c.Dc(), LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(c.Dc(), LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(c.Dc(), BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(c.Dc(), HORZRES), 1600);
  EXPECT_EQ(GetDeviceCaps(c.Dc(), VERTRES), 900);
  EXPECT_TRUE(GetDeviceCaps(c.Dc(), RASTERCAPS) & RC_STRETCHDIB);
  RECT work{};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.right, 1600);
  EXPECT_EQ(work.bottom, 900);
  pictavo::gdi::SetDesktopSizeProvider(nullptr);
  EXPECT_EQ(pictavo::gdi::DesktopSize().cx, 1280);
}

TEST(Objects, NonClientMetricsInBothRecordSizes) {
  for (UINT size : {340u, static_cast<UINT>(sizeof(NONCLIENTMETRICS))}) {
    NONCLIENTMETRICS m{};
    m.cbSize = size;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, size, &m, 0)) << size;
    EXPECT_EQ(m.cbSize, size);
    EXPECT_GT(m.iScrollWidth, 0);
    EXPECT_LT(m.lfMessageFont.lfHeight, 0);
    EXPECT_STRNE(m.lfMenuFont.lfFaceName, "");
  }
  NONCLIENTMETRICS bad{};
  bad.cbSize = 12;
  EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 12, &bad, 0));
  LOGFONT icon{};
  EXPECT_TRUE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0));
  EXPECT_STRNE(icon.lfFaceName, "");
  BOOL fade = TRUE;
  EXPECT_TRUE(SystemParametersInfo(SPI_GETMENUFADE, 0, &fade, 0));
  EXPECT_FALSE(fade);
}

struct DialogCase {
  RECT units;
  RECT pixels;
};

TEST(Objects, DialogUnitsMapWithTheFixedBaseUnits) {
  const DialogCase cases[] = {
      {{0, 0, 4, 8}, {0, 0, 6, 13}},
      {{7, 7, 50, 14}, {11, 11, 75, 23}},  // 10.5 and 22.75 round to nearest
      {{140, 181, 50, 14}, {210, 294, 75, 23}},
  };
  for (const auto& c : cases) {
    RECT r = pictavo::gdi::MapDialogUnits(c.units);
    EXPECT_EQ(r.left, c.pixels.left);
    EXPECT_EQ(r.top, c.pixels.top);
    EXPECT_EQ(r.right, c.pixels.right);
    EXPECT_EQ(r.bottom, c.pixels.bottom);
  }
  EXPECT_EQ(LOWORD(GetDialogBaseUnits()), 6);
  EXPECT_EQ(HIWORD(GetDialogBaseUnits()), 13);
  EXPECT_EQ(MulDiv(7, 6, 4), 11);
  EXPECT_EQ(MulDiv(-7, 6, 4), -11);
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

TEST(Objects, PointFontsConvertTenthsOfAPoint) {
  HFONT font = pictavo::gdi::CreatePointFont(100, "Tahoma", nullptr);
  LOGFONT lf{};
  GetObject(font, sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_STREQ(lf.lfFaceName, "Tahoma");
  DeleteObject(font);
}

TEST(Objects, BadHandlesAreRefused) {
  HDC bogus = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x40000123));
  SetLastError(0);
  EXPECT_EQ(SetTextColor(bogus, 0), CLR_INVALID);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(BitBlt(bogus, 0, 0, 1, 1, bogus, 0, 0, SRCCOPY));
  EXPECT_EQ(SelectObject(bogus, GetStockObject(BLACK_PEN)), nullptr);
  Canvas c(1, 1);
  EXPECT_EQ(SelectObject(c.Dc(), nullptr), nullptr);
  EXPECT_FALSE(DeleteObject(c.Dc()));  // DCs go with DeleteDC
  EXPECT_EQ(SetMapMode(c.Dc(), MM_LOMETRIC), 0);
  EXPECT_EQ(GetMapMode(c.Dc()), MM_TEXT);
}

}  // namespace

namespace {

TEST(Objects, TheDefaultPaletteHoldsTheTwentyStaticColoursAndTheScreenHasNoHardwarePalette) {
  HPALETTE palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  ASSERT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 20u);
  PALETTEENTRY entries[20] = {};
  ASSERT_EQ(GetPaletteEntries(palette, 0, 20, entries), 20u);
  const struct {
    int index;
    COLORREF color;
  } cases[] = {{0, RGB(0, 0, 0)},
               {7, RGB(192, 192, 192)},
               {8, RGB(192, 220, 192)},
               {13, RGB(255, 0, 0)},
               {19, RGB(255, 255, 255)}};
  for (const auto& c : cases)
    EXPECT_EQ(RGB(entries[c.index].peRed, entries[c.index].peGreen, entries[c.index].peBlue), c.color)
        << c.index;

  // A true-colour screen writes nothing, as a display without a palette does.
  Canvas canvas(4, 4);
  PALETTEENTRY untouched[4];
  std::memset(untouched, 0x5A, sizeof untouched);
  EXPECT_EQ(GetSystemPaletteEntries(canvas.Dc(), 0, 4, untouched), 0u);
  EXPECT_EQ(untouched[0].peRed, 0x5A);
  EXPECT_EQ(PALETTERGB(1, 2, 3) & 0xFFFFFF, RGB(1, 2, 3));
}

}  // namespace
