#include "platform/comctl/ImageListData.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

namespace pictavo::comctl::detail {
namespace {

// Images sit in a grid this many columns wide, so growing the list only adds rows.
constexpr int kColumns = 4;

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

HBITMAP MakeSection(int width, int height, void** bits) {
  BITMAPINFO info = TopDown32(width, height);
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

void Over(uint32_t& out, uint32_t px) {
  const uint32_t sa = px >> 24;
  if (sa == 0) return;
  if (sa == 255) {
    out = px;
    return;
  }
  const uint32_t da = out >> 24;
  const uint32_t oa = sa + da * (255 - sa) / 255;
  auto channel = [&](int shift) {
    const uint32_t s = (px >> shift) & 0xFF;
    const uint32_t d = (out >> shift) & 0xFF;
    return (oa ? (s * sa + d * da * (255 - sa) / 255) / oa : 0) << shift;
  };
  out = (oa << 24) | channel(16) | channel(8) | channel(0);
}

bool ReadBitmap(HBITMAP bitmap, Picture* picture, int* bitsPerPixel) {
  BITMAP bm{};
  if (!bitmap || GetObject(bitmap, sizeof bm, &bm) != sizeof bm || bm.bmWidth <= 0 || bm.bmHeight == 0)
    return false;
  const int height = std::abs(bm.bmHeight);
  *picture = Picture(bm.bmWidth, height);
  BITMAPINFO info = TopDown32(bm.bmWidth, height);
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines =
      GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), picture->pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (bitsPerPixel) *bitsPerPixel = bm.bmBitsPixel;
  return lines == height;
}

HBITMAP MakeBitmap(const Picture& picture) {
  void* bits = nullptr;
  HBITMAP bitmap = MakeSection(std::max(1, picture.width), std::max(1, picture.height), &bits);
  if (bitmap && bits && !picture.Empty())
    std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(uint32_t));
  return bitmap;
}

Picture Scaled(const Picture& picture, int width, int height) {
  if (picture.width == width && picture.height == height) return picture;
  Picture out(width, height);
  if (picture.Empty()) return out;
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>((int64_t{2} * y + 1) * picture.height / (int64_t{2} * height));
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>((int64_t{2} * x + 1) * picture.width / (int64_t{2} * width));
      out.At(x, y) = picture.At(sx, sy);
    }
  }
  return out;
}

Picture Premultiplied(Picture picture) {
  for (uint32_t& px : picture.pixels) {
    const uint32_t a = px >> 24;
    if (a == 255) continue;
    px = (a << 24) | ((((px >> 16) & 0xFF) * a / 255) << 16) | ((((px >> 8) & 0xFF) * a / 255) << 8) |
         ((px & 0xFF) * a / 255);
  }
  return picture;
}

uint32_t Unpremultiplied(uint32_t px) {
  const uint32_t a = px >> 24;
  if (a == 255 || a == 0) return a == 0 ? 0 : px;
  auto channel = [&](int shift) {
    return std::min<uint32_t>(255, ((px >> shift) & 0xFF) * 255 / a) << shift;
  };
  return (a << 24) | channel(16) | channel(8) | channel(0);
}

ImageListData::ImageListData(int cx, int cy, UINT flags, int initial, int grow)
    : m_cx(cx), m_cy(cy), m_flags(flags), m_grow(std::max(grow, 1)) {
  std::fill(std::begin(m_overlays), std::end(m_overlays), -1);
  Reserve(std::max(initial, 1));
}

ImageListData::~ImageListData() {
  if (m_image) DeleteObject(m_image);
  if (m_mask) DeleteObject(m_mask);
}

bool ImageListData::Reserve(int capacity) {
  if (capacity <= m_capacity && m_image) return true;
  const int rows = (capacity + kColumns - 1) / kColumns;
  const int width = m_cx * kColumns;
  const int height = std::max(1, rows * m_cy);
  void* imageBits = nullptr;
  void* maskBits = nullptr;
  HBITMAP image = MakeSection(width, height, &imageBits);
  HBITMAP mask = MakeSection(width, height, &maskBits);
  if (!image || !mask || !imageBits || !maskBits) {
    if (image) DeleteObject(image);
    if (mask) DeleteObject(mask);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  const size_t newBytes = static_cast<size_t>(width) * height * sizeof(uint32_t);
  std::memset(imageBits, 0, newBytes);
  // New slots are transparent until an image fills them.
  std::fill_n(static_cast<uint32_t*>(maskBits), newBytes / sizeof(uint32_t),
              Masked() ? kTransparentMask : 0u);
  if (m_image) {
    // Same width, rows only added: the old grid is a prefix of the new one.
    const int oldRows = (m_capacity + kColumns - 1) / kColumns;
    const size_t oldBytes = static_cast<size_t>(width) * oldRows * m_cy * sizeof(uint32_t);
    std::memcpy(imageBits, m_imageBits, std::min(oldBytes, newBytes));
    std::memcpy(maskBits, m_maskBits, std::min(oldBytes, newBytes));
    DeleteObject(m_image);
    DeleteObject(m_mask);
  }
  m_image = image;
  m_mask = mask;
  m_imageBits = imageBits;
  m_maskBits = maskBits;
  m_capacity = rows * kColumns;
  return true;
}

RECT ImageListData::ImageRect(int index) const {
  const int x = (index % kColumns) * m_cx;
  const int y = (index / kColumns) * m_cy;
  return RECT{x, y, x + m_cx, y + m_cy};
}

uint32_t* ImageListData::Row(void* bits, int index, int y) const {
  const RECT r = ImageRect(index);
  return static_cast<uint32_t*>(bits) + static_cast<size_t>(r.top + y) * (m_cx * kColumns) + r.left;
}

const uint32_t* ImageListData::ImageRow(int index, int y) const {
  return Row(m_imageBits, index, y);
}

const uint32_t* ImageListData::MaskRow(int index, int y) const {
  return Row(m_maskBits, index, y);
}

void ImageListData::Store(int index, const Picture& image, int srcX, const Picture* mask, bool alphaSource) {
  // Alpha counts only for 32-bit lists and only when the source has some: a bitmap drawn by GDI
  // leaves the alpha byte at 0, which means "no alpha", not "invisible".
  bool alpha = false;
  if (alphaSource && (m_flags & 0xFE) == ILC_COLOR32) {
    for (int y = 0; y < std::min(m_cy, image.height) && !alpha; ++y)
      for (int x = 0; x < m_cx && srcX + x < image.width; ++x)
        if (image.At(srcX + x, y) >> 24) {
          alpha = true;
          break;
        }
  }
  m_alpha[static_cast<size_t>(index)] = alpha;
  for (int y = 0; y < m_cy; ++y) {
    uint32_t* dst = Row(m_imageBits, index, y);
    uint32_t* msk = Row(m_maskBits, index, y);
    for (int x = 0; x < m_cx; ++x) {
      const int sx = srcX + x;
      const bool inside = y < image.height && sx < image.width;
      uint32_t px = inside ? image.At(sx, y) : 0;
      bool transparent = false;
      if (mask && y < mask->height && sx < mask->width)
        transparent = (mask->At(sx, y) & 0x00FFFFFF) != 0;
      else if (alpha)
        transparent = (px >> 24) == 0;
      dst[x] = alpha ? px : (px & 0x00FFFFFF);
      msk[x] = (Masked() && transparent) ? kTransparentMask : 0u;
    }
  }
}

int ImageListData::Add(const Picture& image, const Picture* mask, bool alphaSource) {
  if (image.Empty() || m_cx <= 0) return -1;
  const int n = std::max(1, image.width / m_cx);
  if (m_count + n > m_capacity && !Reserve(std::max(m_count + n, m_capacity + m_grow))) return -1;
  const int first = m_count;
  m_alpha.resize(static_cast<size_t>(m_count + n), false);
  m_count += n;
  for (int i = 0; i < n; ++i) Store(first + i, image, i * m_cx, mask, alphaSource);
  return first;
}

bool ImageListData::Remove(int index) {
  if (index == -1) {
    m_count = 0;
    m_alpha.clear();
    std::fill(std::begin(m_overlays), std::end(m_overlays), -1);
    return true;
  }
  if (index < 0 || index >= m_count) return false;
  for (int i = index; i + 1 < m_count; ++i) {
    for (int y = 0; y < m_cy; ++y) {
      std::memcpy(Row(m_imageBits, i, y), Row(m_imageBits, i + 1, y), static_cast<size_t>(m_cx) * 4);
      std::memcpy(Row(m_maskBits, i, y), Row(m_maskBits, i + 1, y), static_cast<size_t>(m_cx) * 4);
    }
    m_alpha[static_cast<size_t>(i)] = m_alpha[static_cast<size_t>(i) + 1];
  }
  --m_count;
  m_alpha.resize(static_cast<size_t>(m_count));
  for (int& overlay : m_overlays) {
    if (overlay == index)
      overlay = -1;
    else if (overlay > index)
      --overlay;
  }
  return true;
}

bool ImageListData::SetCount(int count) {
  if (count < 0) return false;
  if (count > m_capacity && !Reserve(count)) return false;
  for (int i = m_count; i < count; ++i) {
    for (int y = 0; y < m_cy; ++y) {
      std::fill_n(Row(m_imageBits, i, y), m_cx, 0u);
      std::fill_n(Row(m_maskBits, i, y), m_cx, Masked() ? kTransparentMask : 0u);
    }
  }
  m_count = count;
  m_alpha.resize(static_cast<size_t>(count), false);
  return true;
}

void ImageListData::SetSize(int cx, int cy) {
  m_cx = cx;
  m_cy = cy;
  m_count = 0;
  m_alpha.clear();
  if (m_image) DeleteObject(m_image);
  if (m_mask) DeleteObject(m_mask);
  m_image = m_mask = nullptr;
  const int capacity = std::max(m_capacity, 1);
  m_capacity = 0;
  Reserve(capacity);
}

void ImageListData::CopyImage(int to, const ImageListData& source, int from) {
  for (int y = 0; y < m_cy; ++y) {
    const uint32_t* srcImage = source.ImageRow(from, y);
    const uint32_t* srcMask = source.MaskRow(from, y);
    uint32_t* dstImage = Row(m_imageBits, to, y);
    uint32_t* dstMask = Row(m_maskBits, to, y);
    std::memmove(dstImage, srcImage, static_cast<size_t>(m_cx) * 4);
    if (Masked() == source.Masked()) {
      std::memmove(dstMask, srcMask, static_cast<size_t>(m_cx) * 4);
    } else {
      for (int x = 0; x < m_cx; ++x) dstMask[x] = (Masked() && srcMask[x]) ? kTransparentMask : 0u;
    }
  }
  m_alpha[static_cast<size_t>(to)] = source.HasAlpha(from);
}

void ImageListData::SwapImages(int a, int b) {
  if (a == b) return;
  for (int y = 0; y < m_cy; ++y) {
    std::swap_ranges(Row(m_imageBits, a, y), Row(m_imageBits, a, y) + m_cx, Row(m_imageBits, b, y));
    std::swap_ranges(Row(m_maskBits, a, y), Row(m_maskBits, a, y) + m_cx, Row(m_maskBits, b, y));
  }
  const bool alphaA = m_alpha[static_cast<size_t>(a)];
  m_alpha[static_cast<size_t>(a)] = m_alpha[static_cast<size_t>(b)];
  m_alpha[static_cast<size_t>(b)] = alphaA;
}

Picture ImageListData::ImagePicture(int index) const {
  Picture out(m_cx, m_cy);
  const bool alpha = HasAlpha(index);
  for (int y = 0; y < m_cy; ++y) {
    const uint32_t* row = ImageRow(index, y);
    const uint32_t* mask = MaskRow(index, y);
    for (int x = 0; x < m_cx; ++x) {
      if (alpha)
        out.At(x, y) = row[x];
      else
        out.At(x, y) = mask[x] ? 0u : ((row[x] & 0x00FFFFFF) | 0xFF000000u);
    }
  }
  return out;
}

Picture ImageListData::MaskPicture(int index) const {
  Picture out(m_cx, m_cy);
  for (int y = 0; y < m_cy; ++y) std::memcpy(&out.At(0, y), MaskRow(index, y), static_cast<size_t>(m_cx) * 4);
  return out;
}

namespace {

std::mutex g_tableLock;
std::unordered_map<uintptr_t, std::shared_ptr<ImageListData>>& Table() {  // guarded by g_tableLock
  static auto* table = new std::unordered_map<uintptr_t, std::shared_ptr<ImageListData>>;
  return *table;
}
uintptr_t g_nextHandle = 0x00A10000;  // guarded by g_tableLock; handles are never reused

}  // namespace

HIMAGELIST AddImageList(std::shared_ptr<ImageListData> list) {
  std::lock_guard lock(g_tableLock);
  g_nextHandle += 4;
  Table()[g_nextHandle] = std::move(list);
  return reinterpret_cast<HIMAGELIST>(g_nextHandle);
}

std::shared_ptr<ImageListData> FindImageList(HIMAGELIST himl) {
  std::lock_guard lock(g_tableLock);
  auto it = Table().find(reinterpret_cast<uintptr_t>(himl));
  if (it == Table().end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}

bool RemoveImageList(HIMAGELIST himl) {
  std::shared_ptr<ImageListData> list;
  {
    std::lock_guard lock(g_tableLock);
    auto it = Table().find(reinterpret_cast<uintptr_t>(himl));
    if (it == Table().end()) return false;
    list = std::move(it->second);
    Table().erase(it);
  }
  return true;
}

}  // namespace pictavo::comctl::detail
