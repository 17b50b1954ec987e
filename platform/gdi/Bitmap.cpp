// Bitmaps: device bitmaps, DIB sections and the calls that move pixels in and out of them.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"

namespace pictavo::gdi {
namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 28;

bool SizeOk(int width, int height) {
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPixels) {
    SetLastError(width <= 0 || height <= 0 ? ERROR_INVALID_PARAMETER : ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  return true;
}

HBITMAP Insert(std::shared_ptr<BitmapObject> bitmap) {
  return bitmap ? static_cast<HBITMAP>(InsertObject(std::move(bitmap))) : nullptr;
}

// Device bitmaps exchange bits in rows padded to 2 bytes, monochrome ones 1 bit per pixel.
size_t DeviceStride(const BitmapObject& b) {
  return ((static_cast<size_t>(b.Width()) * b.bitsPerPixel + 15) / 16) * 2;
}

}  // namespace

std::shared_ptr<BitmapObject> BitmapObject::CreateDevice(int width, int height, int bitsPerPixel) {
  if (!SizeOk(width, height)) return nullptr;
  auto b = std::make_shared<BitmapObject>();
  b->surface = std::make_shared<Surface>(width, height);
  b->bitsPerPixel = bitsPerPixel == 1 ? 1 : 32;
  return b;
}

std::shared_ptr<BitmapObject> BitmapObject::CreateDib(const DibFormat& format) {
  if (!SizeOk(format.width, format.height)) return nullptr;
  auto b = std::make_shared<BitmapObject>();
  b->isDib = true;
  b->format = format;
  b->bitsPerPixel = format.bitsPerPixel;
  size_t size = format.ImageSize();
  b->memory = std::shared_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]());
  if (!b->memory) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  b->bits = b->memory.get();
  if (format.bitsPerPixel == 32) {
    // The caller's memory is the surface: what a DC draws is at once in the bits, and back.
    b->surface =
        std::make_shared<Surface>(b->bits, format.width, format.height,
                                  static_cast<ptrdiff_t>(format.Stride()), !format.topDown, b->memory);
  } else {
    b->surface = std::make_shared<Surface>(format.width, format.height);
    b->BeginAccess();
  }
  return b;
}

void BitmapObject::BeginAccess() {
  if (!isDib || bitsPerPixel == 32) return;
  for (int y = 0; y < format.height; ++y)
    format.DecodeRow(format.Row(bits, y), surface->Row(y).data(), 0, format.width);
}

void BitmapObject::EndWrite(const RECT& area) {
  int top = std::max<int>(area.top, 0), bottom = std::min<int>(area.bottom, Height());
  int left = std::max<int>(area.left, 0), right = std::min<int>(area.right, Width());
  if (top >= bottom || left >= right) return;
  if (IsMonoDevice()) {
    for (int y = top; y < bottom; ++y) {
      uint32_t* row = surface->Row(y).data();
      for (int x = left; x < right; ++x) row[x] = ToMono(row[x]);
    }
    return;
  }
  if (!isDib || bitsPerPixel == 32) return;
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = surface->Row(y).data();
    uint8_t* dst = format.Row(bits, y);
    format.EncodeRow(row + left, dst, left, right - left);
    format.DecodeRow(dst, row + left, left, right - left);
  }
}

}  // namespace pictavo::gdi

using namespace pictavo::gdi;

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32 && bitsPerPixel != 24)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto b = BitmapObject::CreateDevice(width, height, static_cast<int>(bitsPerPixel));
  if (!b) return nullptr;
  HBITMAP handle = Insert(b);
  if (handle && bits) {
    if (bitsPerPixel == 24) {
      // 24-bit device data: rows of B G R padded to 2 bytes.
      size_t stride = ((static_cast<size_t>(width) * 24 + 15) / 16) * 2;
      for (int y = 0; y < height; ++y) {
        const uint8_t* src = static_cast<const uint8_t*>(bits) + y * stride;
        uint32_t* row = b->surface->Row(y).data();
        for (int x = 0; x < width; ++x) row[x] = src[x * 3] | (src[x * 3 + 1] << 8) | (src[x * 3 + 2] << 16);
      }
    } else {
      SetBitmapBits(handle, static_cast<DWORD>(DeviceStride(*b) * static_cast<size_t>(height)), bits);
    }
  }
  return handle;
}

HBITMAP CreateBitmapIndirect(const BITMAP* bitmap) {
  if (!bitmap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel,
                      bitmap->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (width == 0 || height == 0) return Insert(BitmapObject::CreateDevice(1, 1, 1));
  int bpp = 32;
  if (dc) {
    DcLock lock(dc);
    if (!lock) return nullptr;
    // Compatible with a memory DC means compatible with the bitmap selected into it.
    if (lock->IsMonochrome()) bpp = 1;
  }
  return Insert(BitmapObject::CreateDevice(width, height, bpp));
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
  if (bits) *bits = nullptr;
  std::optional<DibFormat> format = DibFormat::FromInfo(info);
  if (!format || usage != DIB_RGB_COLORS || section) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto b = BitmapObject::CreateDib(*format);
  if (!b) return nullptr;
  HBITMAP handle = Insert(b);
  if (handle && bits) *bits = b->bits;
  return handle;
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
  if (!header || header->biWidth <= 0 || header->biHeight == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  HBITMAP bitmap = CreateCompatibleBitmap(dc, header->biWidth, height);
  if (bitmap && (init & CBM_INIT) && bits && info) {
    if (!SetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits, info, usage)) {
      DWORD error = GetLastError();
      DeleteObject(bitmap);
      SetLastError(error);
      return nullptr;
    }
  }
  return bitmap;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
  auto b = FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  b->BeginAccess();
  size_t stride = DeviceStride(*b);
  if (!bits) return static_cast<LONG>(stride * static_cast<size_t>(b->Height()));
  LONG written = 0;
  auto* out = static_cast<uint8_t*>(bits);
  for (int y = 0; y < b->Height() && written + static_cast<LONG>(stride) <= size; ++y) {
    const uint32_t* row = b->surface->Row(y).data();
    uint8_t* dst = out + y * stride;
    std::memset(dst, 0, stride);
    for (int x = 0; x < b->Width(); ++x) {
      if (b->bitsPerPixel == 1) {
        if (IsLight(row[x])) dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      } else if (b->bitsPerPixel == 32) {
        std::memcpy(dst + x * 4, &row[x], 4);
      } else {
        b->format.EncodeRow(&row[x], dst, x, 1);
      }
    }
    written += static_cast<LONG>(stride);
  }
  return written;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  auto b = FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
  if (!b || !bits) {
    SetLastError(b ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  b->BeginAccess();
  size_t stride = DeviceStride(*b);
  LONG read = 0;
  const auto* in = static_cast<const uint8_t*>(bits);
  for (int y = 0; y < b->Height() && read + stride <= size; ++y) {
    uint32_t* row = b->surface->Row(y).data();
    const uint8_t* src = in + y * stride;
    for (int x = 0; x < b->Width(); ++x) {
      if (b->bitsPerPixel == 1)
        row[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? kWhitePixel : kBlackPixel;
      else if (b->bitsPerPixel == 32)
        std::memcpy(&row[x], src + x * 4, 4);
      else
        b->format.DecodeRow(src, &row[x], x, 1);
    }
    read += static_cast<LONG>(stride);
  }
  b->EndWrite(RECT{0, 0, b->Width(), b->Height()});
  return read;
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage) {
  auto b = FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
  if (!b || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
    SetLastError(b ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount == 0) {
    // Describe the bitmap only.
    DibFormat f;
    f.width = b->Width();
    f.height = b->Height();
    f.bitsPerPixel = b->isDib ? b->bitsPerPixel : (b->bitsPerPixel == 1 ? 1 : 32);
    h = HeaderOf(f);
    h.biClrUsed = 0;
    return 1;
  }
  if (h.biBitCount == 1 && h.biClrUsed == 0) {
    // Monochrome output always has black and white; other tables are taken as given below.
    info->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
    reinterpret_cast<RGBQUAD*>(info->bmiColors)[1] = RGBQUAD{255, 255, 255, 0};
  }
  if (h.biBitCount != 1 && h.biBitCount != 24 && h.biBitCount != 32 && h.biBitCount != 16) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  h.biCompression = BI_RGB;
  std::optional<DibFormat> format = DibFormat::FromInfo(info);
  if (!format || usage != DIB_RGB_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  h.biSizeImage = static_cast<DWORD>(format->ImageSize());
  if (!bits) return 1;
  b->BeginAccess();
  int height = std::min(format->height, b->Height());
  int width = std::min(format->width, b->Width());
  std::vector<uint32_t> row(static_cast<size_t>(format->width));
  int copied = 0;
  for (UINT line = start; line < start + lines && static_cast<int>(line) < height; ++line) {
    // Scan lines count from the bottom of a bottom-up DIB, from the top of a top-down one.
    int y = format->topDown ? static_cast<int>(line) : b->Height() - 1 - static_cast<int>(line);
    if (y < 0 || y >= b->Height()) continue;
    std::fill(row.begin(), row.end(), 0u);
    std::memcpy(row.data(), b->surface->Row(y).data(), static_cast<size_t>(width) * 4);
    if (b->bitsPerPixel != 32 || !b->isDib)
      for (int x = 0; x < width; ++x) row[x] &= kRgbMask;
    int memLine = static_cast<int>(line - start);
    uint8_t* dst = static_cast<uint8_t*>(bits) + static_cast<size_t>(memLine) * format->Stride();
    std::memset(dst, 0, format->Stride());
    format->EncodeRow(row.data(), dst, 0, format->width);
    ++copied;
  }
  return copied;
}

int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  auto b = FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
  std::optional<DibFormat> format = DibFormat::FromInfo(info);
  if (!b || !format || !bits || usage != DIB_RGB_COLORS) {
    SetLastError(b ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  b->BeginAccess();
  int width = std::min(format->width, b->Width());
  std::vector<uint32_t> row(static_cast<size_t>(format->width));
  int copied = 0;
  for (UINT line = start; line < start + lines && static_cast<int>(line) < format->height; ++line) {
    int y = format->topDown ? static_cast<int>(line) : b->Height() - 1 - static_cast<int>(line);
    if (y < 0 || y >= b->Height()) continue;
    const uint8_t* src =
        static_cast<const uint8_t*>(bits) + static_cast<size_t>(line - start) * format->Stride();
    format->DecodeRow(src, row.data(), 0, format->width);
    std::memcpy(b->surface->Row(y).data(), row.data(), static_cast<size_t>(width) * 4);
    ++copied;
  }
  b->EndWrite(RECT{0, 0, b->Width(), b->Height()});
  return copied;
}

HANDLE CopyBitmapImage(HBITMAP source, int width, int height, UINT flags);

HANDLE CopyImage(HANDLE image, UINT type, int width, int height, UINT flags) {
  if (type == IMAGE_BITMAP) return CopyBitmapImage(static_cast<HBITMAP>(image), width, height, flags);
  if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    if (width == 0 && height == 0) return CopyIcon(static_cast<HICON>(image));
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HANDLE CopyBitmapImage(HBITMAP source, int width, int height, UINT flags) {
  auto b = FindAs<BitmapObject>(source, ObjectKind::Bitmap);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  b->BeginAccess();
  int w = width > 0 ? width : b->Width();
  int h = height > 0 ? height : b->Height();
  if ((flags & LR_COPYRETURNORG) && w == b->Width() && h == b->Height()) return source;
  std::shared_ptr<BitmapObject> copy;
  bool mono = (flags & LR_MONOCHROME) || b->IsMonoDevice();
  if (flags & LR_CREATEDIBSECTION) {
    DibFormat f;
    f.width = w;
    f.height = h;
    f.bitsPerPixel = mono ? 1 : (b->isDib ? b->bitsPerPixel : 32);
    f.colors = b->isDib ? b->format.colors : std::vector<RGBQUAD>{};
    if (f.bitsPerPixel == 1 && f.colors.empty()) f.colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    copy = BitmapObject::CreateDib(f);
  } else {
    copy = BitmapObject::CreateDevice(w, h, mono ? 1 : 32);
  }
  if (!copy) return nullptr;
  // Nearest-pixel resampling, the platform's default for image copies.
  for (int y = 0; y < h; ++y) {
    const uint32_t* src = b->surface->Row(static_cast<int>(int64_t{y} * b->Height() / h)).data();
    uint32_t* dst = copy->surface->Row(y).data();
    for (int x = 0; x < w; ++x) dst[x] = src[int64_t{x} * b->Width() / w];
  }
  copy->EndWrite(RECT{0, 0, w, h});
  HBITMAP handle = Insert(copy);
  if (handle && (flags & LR_COPYDELETEORG)) DeleteObject(source);
  return handle;
}
