// Internal: the storage of an image list — a grid of images in a 32-bit DIB section, a mask of the
// same layout, and which images carry their own alpha — and the handle table.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/comctl/ImageList.h"

namespace pictavo::comctl::detail {

// A top-down 32-bit picture (0xAARRGGBB words).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Picture() = default;
  Picture(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Empty() const { return width <= 0 || height <= 0; }
};

// The pixels of a bitmap as 32 bits (a monochrome bitmap gives black and white); false when the
// handle is no bitmap. *bitsPerPixel gets the bitmap's own depth.
bool ReadBitmap(HBITMAP bitmap, Picture* picture, int* bitsPerPixel = nullptr);
// A 32-bit top-down DIB section holding the picture (alpha kept).
HBITMAP MakeBitmap(const Picture& picture);
// An empty one of width x height; *bits gets its pixels.
HBITMAP MakeSection(int width, int height, void** bits);
// Source pixel over destination pixel, straight alpha.
void Over(uint32_t& out, uint32_t px);
// Nearest-neighbour scaling.
Picture Scaled(const Picture& picture, int width, int height);
// Images with alpha are kept premultiplied, as AlphaBlend takes them; these convert.
Picture Premultiplied(Picture picture);
uint32_t Unpremultiplied(uint32_t px);

inline constexpr uint32_t kTransparentMask = 0x00FFFFFF;  // a mask pixel that lets through

class ImageListData {
 public:
  ImageListData(int cx, int cy, UINT flags, int initial, int grow);
  ~ImageListData();
  ImageListData(const ImageListData&) = delete;
  ImageListData& operator=(const ImageListData&) = delete;

  // Every call below is made with Lock() held.
  std::mutex& Lock() { return m_lock; }
  bool Valid() const { return m_image != nullptr; }

  int Cx() const { return m_cx; }
  int Cy() const { return m_cy; }
  UINT Flags() const { return m_flags; }
  bool Masked() const { return (m_flags & ILC_MASK) != 0; }
  int Count() const { return m_count; }
  int Grow() const { return m_grow; }
  COLORREF BkColor() const { return m_bk; }
  void SetBkColor(COLORREF color) { m_bk = color; }
  int Overlay(int overlay) const { return m_overlays[overlay - 1]; }  // 1..15; -1: none
  void SetOverlay(int overlay, int image) { m_overlays[overlay - 1] = image; }

  // The image's place in the two bitmaps.
  RECT ImageRect(int index) const;
  HBITMAP ImageBitmap() const { return m_image; }
  HBITMAP MaskBitmap() const { return m_mask; }
  // Row y of an image, and of its mask (0: opaque, kTransparentMask: transparent).
  const uint32_t* ImageRow(int index, int y) const;
  const uint32_t* MaskRow(int index, int y) const;
  bool HasAlpha(int index) const { return m_alpha[static_cast<size_t>(index)]; }

  // Appends the images cut from `image` (one per image width, the mask likewise); the first
  // index or -1. A 32-bit source with alpha is taken as premultiplied.
  int Add(const Picture& image, const Picture* mask, bool alphaSource);
  // Stores one image taken from (srcX, 0) of the pictures at `index` (which exists).
  void Store(int index, const Picture& image, int srcX, const Picture* mask, bool alphaSource);
  bool Remove(int index);  // -1: all
  bool SetCount(int count);
  void SetSize(int cx, int cy);  // removes every image
  // Copies image `from` over image `to`, or swaps them; `source` may be this list.
  void CopyImage(int to, const ImageListData& source, int from);
  void SwapImages(int a, int b);

  // One image as pictures (premultiplied colour with its alpha, 255 where it has none and 0 where
  // the mask lets through; the mask).
  Picture ImagePicture(int index) const;
  Picture MaskPicture(int index) const;

 private:
  bool Reserve(int capacity);
  uint32_t* Row(void* bits, int index, int y) const;

  std::mutex m_lock;
  int m_cx;
  int m_cy;
  UINT m_flags;
  int m_grow;
  int m_count = 0;
  int m_capacity = 0;
  COLORREF m_bk = CLR_NONE;
  int m_overlays[15];
  HBITMAP m_image = nullptr;
  HBITMAP m_mask = nullptr;
  void* m_imageBits = nullptr;
  void* m_maskBits = nullptr;
  std::vector<bool> m_alpha;  // per image
};

// The handle table.
HIMAGELIST AddImageList(std::shared_ptr<ImageListData> list);
std::shared_ptr<ImageListData> FindImageList(HIMAGELIST himl);  // null (with the last error) if unknown
bool RemoveImageList(HIMAGELIST himl);

}  // namespace pictavo::comctl::detail
