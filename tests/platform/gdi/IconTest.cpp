#include <gtest/gtest.h>

#include "tests/support/Canvas.h"

namespace {

using pictavo::test::Canvas;

// A 4x4 icon: the left half opaque red, the right half transparent.
HICON MakeIcon() {
  WORD maskRows[4];
  for (WORD& r : maskRows) r = 0x0030;  // bits 0011 ....: columns 2 and 3 transparent
  HBITMAP mask = CreateBitmap(4, 4, 1, 1, maskRows);
  HBITMAP color = CreateBitmap(4, 4, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, color);
  RECT left{0, 0, 2, 4};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &left, red);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(red);
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);  // the icon keeps copies
  DeleteObject(color);
  return icon;
}

TEST(Icons, MaskedDrawingLeavesTransparentPixels) {
  HICON icon = MakeIcon();
  ASSERT_NE(icon, nullptr);
  Canvas c(6, 6, RGB(0, 0, 255));
  EXPECT_TRUE(DrawIcon(c.Dc(), 1, 1, icon));
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(2, 4), RGB(255, 0, 0));
  EXPECT_EQ(c.At(3, 1), RGB(0, 0, 255));
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  // Stretched to twice the size.
  c.Fill(RGB(0, 0, 255));
  DrawIconEx(c.Dc(), 0, 0, icon, 8 > 6 ? 6 : 8, 6, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.At(2, 5), RGB(255, 0, 0));
  EXPECT_EQ(c.At(4, 5), RGB(0, 0, 255));
  DestroyIcon(icon);
}

TEST(Icons, InfoGivesCopiesAndACentredHotspot) {
  HICON icon = MakeIcon();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_TRUE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 2u);
  EXPECT_EQ(info.yHotspot, 2u);
  BITMAP bm{};
  GetObject(info.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 4);
  GetObject(info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_TRUE(DeleteObject(info.hbmColor));
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  HICON copy = CopyIcon(icon);
  EXPECT_TRUE(DestroyIcon(icon));
  Canvas c(4, 4, RGB(0, 0, 255));
  EXPECT_TRUE(DrawIcon(c.Dc(), 0, 0, copy));  // the copy outlives the original
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_TRUE(DestroyIcon(copy));
  EXPECT_FALSE(DestroyIcon(copy));
}

TEST(Icons, AlphaIconsBlendByTheirAlpha) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  *static_cast<uint32_t*>(bits) = 0x80FF0000;  // red at half opacity, straight alpha
  WORD maskRow = 0;
  HBITMAP mask = CreateBitmap(1, 1, 1, 1, &maskRow);
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  Canvas c(1, 1, RGB(0, 0, 255));
  DrawIconEx(c.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.At(0, 0), RGB(128, 0, 127));
  DestroyIcon(icon);
  DeleteObject(mask);
  DeleteObject(color);
}

TEST(Icons, DrawStateDisabledEmbossesTheShape) {
  Canvas src(4, 4);
  SetPixel(src.Dc(), 1, 1, RGB(0, 0, 0));
  Canvas c(8, 8, RGB(7, 7, 7));
  DrawState(c.Dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(src.Bitmap()), 0, 2, 2, 4, 4,
            DST_BITMAP | DSS_DISABLED);
  EXPECT_EQ(c.At(3, 3), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(c.At(4, 4), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(c.At(2, 2), RGB(7, 7, 7));  // white pixels are not part of the shape
  // Normal state copies the bitmap.
  c.Fill(RGB(7, 7, 7));
  DrawState(c.Dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(src.Bitmap()), 0, 2, 2, 0, 0, DST_BITMAP);
  EXPECT_EQ(c.At(2, 2), RGB(255, 255, 255));
  EXPECT_EQ(c.At(3, 3), RGB(0, 0, 0));
}

TEST(Icons, FrameControlsDrawAndAdjust) {
  struct Case {
    UINT type, state;
  };
  const Case cases[] = {{DFC_BUTTON, DFCS_BUTTONPUSH},
                        {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED},
                        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED},
                        {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
                        {DFC_CAPTION, DFCS_CAPTIONCLOSE},
                        {DFC_CAPTION, DFCS_CAPTIONRESTORE | DFCS_INACTIVE},
                        {DFC_SCROLL, DFCS_SCROLLUP},
                        {DFC_SCROLL, DFCS_SCROLLSIZEGRIP},
                        {DFC_MENU, DFCS_MENUCHECK},
                        {DFC_MENU, DFCS_MENUARROW}};
  for (const auto& k : cases) {
    Canvas c(20, 20, RGB(1, 2, 3));
    RECT r{2, 2, 18, 18};
    EXPECT_TRUE(DrawFrameControl(c.Dc(), &r, k.type, k.state)) << k.type << "/" << k.state;
    EXPECT_GT(c.CountNot(RGB(1, 2, 3)), 0);
    EXPECT_EQ(c.At(0, 0), RGB(1, 2, 3));  // nothing outside the rectangle
    EXPECT_EQ(c.At(19, 19), RGB(1, 2, 3));
  }
  Canvas c(20, 20);
  RECT r{0, 0, 18, 18};
  DrawFrameControl(c.Dc(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_ADJUSTRECT);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.right, 16);
}

}  // namespace
