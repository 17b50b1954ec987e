#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "Host.h"
#include "platform/base/LastError.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/SystemImageList.h"
#include "platform/gdi/Gdi.h"

namespace {

using namespace testing_comctl;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 32-bit bitmap whose pixels `paint` gives (alpha in the top byte of the result).
HBITMAP MakeBitmap(int width, int height, const std::function<uint32_t(int, int)>& paint) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[y * width + x] = paint(x, y);
  return bitmap;
}

uint32_t Px(COLORREF c, uint32_t alpha = 0) {
  return (alpha << 24) | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A memory DC over a white 32 x 32 canvas.
class Canvas {
 public:
  Canvas() : m_dc(CreateCompatibleDC(nullptr)) {
    m_bitmap = MakeBitmap(32, 32, [](int, int) { return Px(kWhite); });
    m_old = SelectObject(m_dc, m_bitmap);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  HDC Dc() const { return m_dc; }
  COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y) & 0xFFFFFF; }

 private:
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

// Two 8 x 8 images: image 0 red with a transparent left half, image 1 a blue square in the top
// left quarter of a transparent field.
HIMAGELIST TwoImages(UINT flags = ILC_COLOR24 | ILC_MASK) {
  HIMAGELIST list = ImageList_Create(8, 8, flags, 2, 2);
  HBITMAP strip = MakeBitmap(16, 8, [](int x, int y) {
    if (x < 8) return x < 4 ? Px(kKey) : Px(kRed);
    return (x - 8 < 4 && y < 4) ? Px(RGB(0, 0, 200)) : Px(kKey);
  });
  EXPECT_EQ(ImageList_AddMasked(list, strip, kKey), 0);
  DeleteObject(strip);
  return list;
}

class ImageListTest : public ComctlTest {};

TEST_F(ImageListTest, AddMaskedCutsTheStripAndDrawsByStyle) {
  HIMAGELIST list = TwoImages();
  EXPECT_EQ(ImageList_GetImageCount(list), 2);
  ImageList_SetBkColor(list, RGB(0, 160, 0));
  struct Case {
    UINT style;
    COLORREF fg;
    COLORREF opaque;       // at (6, 2), inside the red half
    COLORREF transparent;  // at (1, 2), the masked half
  };
  const Case cases[] = {
      {ILD_TRANSPARENT, CLR_DEFAULT, kRed, kWhite},
      {ILD_NORMAL, CLR_DEFAULT, kRed, RGB(0, 160, 0)},  // the list's background colour fills the mask
      {ILD_MASK, CLR_DEFAULT, RGB(0, 0, 0), kWhite},
      {ILD_TRANSPARENT | ILD_BLEND50, RGB(0, 0, 200), RGB(100, 0, 100), kWhite},
      {ILD_TRANSPARENT | ILD_BLEND25, RGB(0, 0, 200), RGB(150, 0, 50), kWhite},
  };
  for (const Case& c : cases) {
    Canvas canvas;
    ASSERT_TRUE(ImageList_DrawEx(list, 0, canvas.Dc(), 0, 0, 0, 0, CLR_DEFAULT, c.fg, c.style));
    EXPECT_EQ(canvas.At(6, 2), c.opaque) << std::hex << c.style;
    EXPECT_EQ(canvas.At(1, 2), c.transparent) << std::hex << c.style;
    EXPECT_EQ(canvas.At(9, 2), kWhite) << "nothing outside the image";
  }
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, SeparateMaskBitmapAndUnmaskedLists) {
  // A monochrome mask: the right column is transparent (white bits).
  HBITMAP image = MakeBitmap(4, 4, [](int, int) { return Px(kRed); });
  BYTE maskBits[4 * 2] = {0x10, 0, 0x10, 0, 0x10, 0, 0x10, 0};  // bit 3 of each row, rows padded to 16 bits
  HBITMAP mask = CreateBitmap(4, 4, 1, 1, maskBits);
  HIMAGELIST masked = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 1, 1);
  HIMAGELIST plain = ImageList_Create(4, 4, ILC_COLOR24, 1, 1);
  ASSERT_EQ(ImageList_Add(masked, image, mask), 0);
  ASSERT_EQ(ImageList_Add(plain, image, mask), 0);
  Canvas a;
  Canvas b;
  ImageList_Draw(masked, 0, a.Dc(), 0, 0, ILD_TRANSPARENT);
  ImageList_Draw(plain, 0, b.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(a.At(0, 0), kRed);
  EXPECT_EQ(a.At(3, 0), kWhite);
  EXPECT_EQ(b.At(3, 0), kRed) << "a list without a mask draws every pixel";
  IMAGEINFO info{};
  ASSERT_TRUE(ImageList_GetImageInfo(masked, 0, &info));
  EXPECT_NE(info.hbmMask, nullptr);
  ASSERT_TRUE(ImageList_GetImageInfo(plain, 0, &info));
  EXPECT_EQ(info.hbmMask, nullptr);
  EXPECT_EQ(info.rcImage.right - info.rcImage.left, 4);
  DeleteObject(image);
  DeleteObject(mask);
  ImageList_Destroy(masked);
  ImageList_Destroy(plain);
}

TEST_F(ImageListTest, ThirtyTwoBitImagesBlendByTheirAlpha) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
  // Premultiplied half-transparent black on the left, opaque red on the right.
  HBITMAP image = MakeBitmap(4, 4, [](int x, int) { return x < 2 ? Px(RGB(0, 0, 0), 128) : Px(kRed, 255); });
  ASSERT_EQ(ImageList_Add(list, image, nullptr), 0);
  Canvas canvas;
  ImageList_Draw(list, 0, canvas.Dc(), 0, 0, ILD_NORMAL);
  const COLORREF half = canvas.At(0, 0);
  EXPECT_NEAR(GetRValue(half), 127, 2);
  EXPECT_EQ(canvas.At(3, 0), kRed);
  DeleteObject(image);
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, OverlayIsDrawnOverTheImage) {
  HIMAGELIST list = TwoImages();
  ASSERT_TRUE(ImageList_SetOverlayImage(list, 1, 1));
  Canvas canvas;
  ImageList_Draw(list, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1));
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 200)) << "overlay over the transparent half";
  EXPECT_EQ(canvas.At(6, 6), kRed) << "image where the overlay is transparent";
  EXPECT_FALSE(ImageList_SetOverlayImage(list, 1, 16));
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, RemoveReplaceCountCopyAndDuplicate) {
  HIMAGELIST list = TwoImages();
  HIMAGELIST copy = ImageList_Duplicate(list);
  ASSERT_TRUE(ImageList_Copy(list, 0, list, 1, ILCF_SWAP));
  Canvas swapped;
  ImageList_Draw(list, 0, swapped.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(swapped.At(1, 1), RGB(0, 0, 200));
  Canvas original;
  ImageList_Draw(copy, 0, original.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(original.At(6, 2), kRed) << "the duplicate keeps its own images";

  ASSERT_TRUE(ImageList_SetImageCount(list, 5));
  EXPECT_EQ(ImageList_GetImageCount(list), 5);
  ASSERT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  Canvas afterRemove;
  ImageList_Draw(list, 0, afterRemove.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(afterRemove.At(6, 2), kRed) << "what was image 1 is now image 0";
  EXPECT_FALSE(ImageList_Remove(list, 9));
  HBITMAP green = MakeBitmap(8, 8, [](int, int) { return Px(RGB(0, 200, 0)); });
  ASSERT_TRUE(ImageList_Replace(list, 3, green, nullptr));
  Canvas replaced;
  ImageList_Draw(list, 3, replaced.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(replaced.At(4, 4), RGB(0, 200, 0));
  ASSERT_TRUE(ImageList_RemoveAll(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  DeleteObject(green);
  ImageList_Destroy(list);
  ImageList_Destroy(copy);
}

TEST_F(ImageListTest, IconsRoundTripAndScaleToTheImageSize) {
  HIMAGELIST list = TwoImages();
  HICON icon = ImageList_GetIcon(list, 0, ILD_NORMAL);
  ASSERT_NE(icon, nullptr);
  HIMAGELIST big = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
  ASSERT_EQ(ImageList_AddIcon(big, icon), 0);
  Canvas canvas;
  ImageList_Draw(big, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.At(13, 4), kRed) << "scaled twice as large";
  EXPECT_EQ(canvas.At(3, 4), kWhite);
  EXPECT_EQ(ImageList_ReplaceIcon(big, 0, icon), 0);
  EXPECT_EQ(ImageList_GetImageCount(big), 1);
  DestroyIcon(icon);
  ImageList_Destroy(big);
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, MergeLaysTheSecondImageOverTheFirst) {
  HIMAGELIST list = TwoImages();
  HIMAGELIST merged = ImageList_Merge(list, 0, list, 1, 8, 0);
  ASSERT_NE(merged, nullptr);
  int cx = 0;
  int cy = 0;
  ImageList_GetIconSize(merged, &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 8);
  Canvas canvas;
  ImageList_Draw(merged, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.At(6, 6), kRed);
  EXPECT_EQ(canvas.At(9, 1), RGB(0, 0, 200));
  EXPECT_EQ(canvas.At(1, 1), kWhite);
  ImageList_Destroy(merged);
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, LoadImageCutsABitmapFileWithAMaskColour) {
  const std::string path =
      std::filesystem::temp_directory_path() / ("imagelist-" + std::to_string(getpid()) + ".bmp");
  HBITMAP strip = MakeBitmap(24, 8, [](int x, int) { return (x % 8) < 4 ? Px(kKey) : Px(kRed); });
  ASSERT_TRUE(pictavo::gdi::SaveBmpFile(strip, path.c_str()));
  DeleteObject(strip);
  HIMAGELIST list = ImageList_LoadImage(nullptr, path.c_str(), 8, 1, kKey, IMAGE_BITMAP, LR_LOADFROMFILE);
  std::filesystem::remove(path);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  Canvas canvas;
  ImageList_Draw(list, 2, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.At(1, 1), kWhite);
  EXPECT_EQ(canvas.At(6, 1), kRed);
  ImageList_Destroy(list);
  EXPECT_EQ(ImageList_LoadImage(nullptr, "/no/such/file.bmp", 8, 1, kKey, IMAGE_BITMAP, LR_LOADFROMFILE),
            nullptr);
}

TEST_F(ImageListTest, BadHandlesAndIndexesFailCleanly) {
  auto* bogus = reinterpret_cast<HIMAGELIST>(static_cast<uintptr_t>(0x1234));
  EXPECT_EQ(ImageList_GetImageCount(bogus), 0);
  EXPECT_FALSE(ImageList_Destroy(bogus));
  HIMAGELIST list = TwoImages();
  Canvas canvas;
  EXPECT_FALSE(ImageList_Draw(list, 7, canvas.Dc(), 0, 0, ILD_NORMAL));
  EXPECT_EQ(ImageList_GetIcon(list, -1, 0), nullptr);
  EXPECT_EQ(ImageList_Create(0, 8, ILC_COLOR24, 1, 1), nullptr);
  ASSERT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list)) << "a handle is dead once destroyed";
}

TEST_F(ImageListTest, SystemListsHoldTheGenericIconsAndCannotBeDestroyed) {
  using pictavo::comctl::SystemIcon;
  for (bool small : {true, false}) {
    HIMAGELIST list = pictavo::comctl::SystemImageList(small);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(pictavo::comctl::SystemImageList(small), list) << "one list per process";
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_EQ(cx, small ? 16 : 32);
    EXPECT_EQ(ImageList_GetImageCount(list), 7);
    EXPECT_FALSE(ImageList_Destroy(list));
  }
  const SystemIcon icons[] = {SystemIcon::kFile,      SystemIcon::kFolder,    SystemIcon::kOpenFolder,
                              SystemIcon::kImageFile, SystemIcon::kAudioFile, SystemIcon::kVideoFile,
                              SystemIcon::kDrive};
  std::set<int> indexes;
  for (SystemIcon icon : icons) {
    const int index = pictavo::comctl::SystemIconIndex(icon);
    indexes.insert(index);
    Canvas canvas;
    ImageList_Draw(pictavo::comctl::SystemImageList(false), index, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
    int drawn = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) drawn += canvas.At(x, y) != kWhite;
    EXPECT_GT(drawn, 100) << index;
    EXPECT_EQ(canvas.At(0, 31), kWhite) << "corners stay transparent " << index;
  }
  EXPECT_EQ(indexes.size(), std::size(icons));
}

// The drag image: a window of ours that follows the drag, blended over what lies beneath.
HWND DragWindow() {
  return FindWindow("PictavoDragImage", nullptr);
}

TEST_F(ImageListTest, DragImageFollowsTheDragOverTheDesktop) {
  Host host(RECT{0, 0, 400, 300});
  HIMAGELIST list = ImageList_Create(10, 10, ILC_COLOR24 | ILC_MASK, 1, 1);
  HBITMAP red = MakeBitmap(10, 10, [](int, int) { return Px(kRed); });
  ImageList_Add(list, red, nullptr);
  DeleteObject(red);
  ASSERT_TRUE(ImageList_BeginDrag(list, 0, 3, 4));
  ImageList_Destroy(list);  // the drag keeps its own copy
  ASSERT_TRUE(ImageList_DragEnter(nullptr, 100, 100));
  HWND window = DragWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r, (RECT{97, 96, 107, 106}));
  EXPECT_EQ(WindowFromPoint(POINT{100, 100}), host.Hwnd()) << "the image never takes the mouse";

  ASSERT_TRUE(ImageList_DragMove(150, 120));
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 147);
  EXPECT_EQ(r.top, 116);
  PumpPending();
  // Translucent: neither the image's red nor the host's face colour.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF seen = Pixel(window, 5, 5);
  EXPECT_NE(seen, kRed);
  EXPECT_NE(seen, face);
  EXPECT_GT(GetRValue(seen), GetGValue(seen));

  POINT position{};
  POINT hotspot{};
  HIMAGELIST dragged = ImageList_GetDragImage(&position, &hotspot);
  EXPECT_NE(dragged, nullptr);
  EXPECT_EQ(position.x, 150);
  EXPECT_EQ(hotspot.y, 4);

  ASSERT_TRUE(ImageList_DragShowNolock(FALSE));
  EXPECT_FALSE(IsWindowVisible(window));
  ASSERT_TRUE(ImageList_DragShowNolock(TRUE));
  EXPECT_TRUE(IsWindowVisible(window));
  ASSERT_TRUE(ImageList_DragLeave(nullptr));
  EXPECT_FALSE(IsWindowVisible(window));
  ImageList_EndDrag();
  EXPECT_EQ(DragWindow(), nullptr);
  EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
}

TEST_F(ImageListTest, DragEnterOnAWindowIsRelativeToItsCorner) {
  Host host(RECT{50, 60, 350, 260});
  HIMAGELIST list = TwoImages();
  ASSERT_TRUE(ImageList_BeginDrag(list, 0, 0, 0));
  ASSERT_TRUE(ImageList_DragEnter(host.Hwnd(), 10, 20));
  RECT r;
  GetWindowRect(DragWindow(), &r);
  EXPECT_EQ(r.left, 60);
  EXPECT_EQ(r.top, 80);
  ImageList_EndDrag();
  ImageList_Destroy(list);
  EXPECT_FALSE(ImageList_DragMove(1, 1)) << "no drag is on";
}

}  // namespace
