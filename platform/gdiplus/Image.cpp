#include "platform/gdiplus/Image.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/Objects.h"

namespace Gdiplus {
namespace {

using pictavo::gdiplus::CairoContext;
using pictavo::gdiplus::CairoSurface;
using Layout = GpImage::Layout;

constexpr INT kMaxSide = 1 << 15;

bool LayoutOf(PixelFormat format, Layout& layout) {
  switch (format) {
    case PixelFormat24bppRGB:
      layout = Layout::Bgr24;
      return true;
    case PixelFormat32bppRGB:
      layout = Layout::Rgb32;
      return true;
    case PixelFormat32bppARGB:
      layout = Layout::Argb;
      return true;
    case PixelFormat32bppPARGB:
      layout = Layout::Pargb;
      return true;
  }
  return false;
}

int BytesPerPixel(Layout layout) {
  return layout == Layout::Bgr24 ? 3 : 4;
}

uint32_t Load32(const BYTE* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
void Store32(BYTE* p, uint32_t v) {
  std::memcpy(p, &v, 4);
}

ARGB Premultiply(ARGB c) {
  uint32_t a = c >> 24;
  if (a == 255) return c;
  auto channel = [&](int shift) { return ((((c >> shift) & 0xFF) * a + 127) / 255) << shift; };
  return (a << 24) | channel(16) | channel(8) | channel(0);
}

ARGB Unpremultiply(ARGB c) {
  uint32_t a = c >> 24;
  if (a == 255) return c;
  if (a == 0) return 0;
  auto channel = [&](int shift) {
    return std::min<uint32_t>(255, (((c >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
  };
  return (a << 24) | channel(16) | channel(8) | channel(0);
}

ARGB ReadAt(Layout layout, const BYTE* p) {
  switch (layout) {
    case Layout::Rgb32:
      return 0xFF000000u | (Load32(p) & 0x00FFFFFFu);
    case Layout::Argb:
      return Load32(p);
    case Layout::Pargb:
      return Unpremultiply(Load32(p));
    case Layout::Bgr24:
      return 0xFF000000u | (static_cast<ARGB>(p[2]) << 16) | (static_cast<ARGB>(p[1]) << 8) | p[0];
  }
  return 0;
}

void WriteAt(Layout layout, BYTE* p, ARGB c) {
  switch (layout) {
    case Layout::Rgb32:
      Store32(p, 0xFF000000u | c);
      return;
    case Layout::Argb:
      Store32(p, c);
      return;
    case Layout::Pargb:
      Store32(p, Premultiply(c));
      return;
    case Layout::Bgr24:
      p[0] = static_cast<BYTE>(c);
      p[1] = static_cast<BYTE>(c >> 8);
      p[2] = static_cast<BYTE>(c >> 16);
      return;
  }
}

// Copies `count` pixels between layouts.
void ConvertRow(Layout from, const BYTE* src, Layout to, BYTE* dst, INT count) {
  if (from == to) {
    std::memcpy(dst, src, static_cast<size_t>(count) * BytesPerPixel(from));
    return;
  }
  int sb = BytesPerPixel(from), db = BytesPerPixel(to);
  for (INT i = 0; i < count; ++i) WriteAt(to, dst + i * db, ReadAt(from, src + i * sb));
}

// The layout of a separate view: premultiplied where there is alpha, else opaque words.
Layout ViewLayout(Layout storage) {
  return storage == Layout::Argb || storage == Layout::Pargb ? Layout::Pargb : Layout::Rgb32;
}

}  // namespace

std::unique_ptr<GpImage> GpImage::Create(INT width, INT height, PixelFormat format, Status& status) {
  Layout layout;
  if (!LayoutOf(format, layout)) {
    status = NotImplemented;
    return nullptr;
  }
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    status = InvalidParameter;
    return nullptr;
  }
  // Owned 24-bit pixels are kept as words, which cairo draws directly.
  if (layout == Layout::Bgr24) layout = Layout::Rgb32;
  std::unique_ptr<GpImage> image(new (std::nothrow) GpImage(width, height, format, layout));
  size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  if (image) image->m_owned.reset(new (std::nothrow) BYTE[bytes]());
  if (!image || !image->m_owned) {
    status = OutOfMemory;
    return nullptr;
  }
  image->m_scan0 = image->m_owned.get();
  image->m_stride = static_cast<ptrdiff_t>(width) * 4;
  status = Ok;
  return image;
}

std::unique_ptr<GpImage> GpImage::Wrap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                       Status& status) {
  if (!scan0) return Create(width, height, format, status);
  Layout layout;
  if (!LayoutOf(format, layout)) {
    status = NotImplemented;
    return nullptr;
  }
  ptrdiff_t rowBytes = static_cast<ptrdiff_t>(width) * BytesPerPixel(layout);
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || stride % 4 != 0 ||
      std::abs(static_cast<ptrdiff_t>(stride)) < rowBytes) {
    status = InvalidParameter;
    return nullptr;
  }
  std::unique_ptr<GpImage> image(new (std::nothrow) GpImage(width, height, format, layout));
  if (!image) {
    status = OutOfMemory;
    return nullptr;
  }
  image->m_scan0 = scan0;
  image->m_stride = stride;
  status = Ok;
  return image;
}

std::unique_ptr<GpImage> GpImage::Clone() {
  Status status;
  std::unique_ptr<GpImage> copy = Create(m_width, m_height, m_format, status);
  if (!copy) return nullptr;
  BeginStorageAccess();
  for (INT y = 0; y < m_height; ++y) ConvertRow(m_layout, Row(y), copy->m_layout, copy->Row(y), m_width);
  return copy;
}

void GpImage::BeginStorageAccess() {
  if (m_view && ViewIsStorage()) cairo_surface_flush(m_view.get());
}

void GpImage::StorageWritten() {
  if (m_view && ViewIsStorage())
    cairo_surface_mark_dirty(m_view.get());
  else
    m_viewStale = true;
}

ARGB GpImage::Pixel(INT x, INT y) {
  return ReadAt(m_layout, Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(m_layout));
}

void GpImage::StorePixel(INT x, INT y, ARGB color) {
  WriteAt(m_layout, Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(m_layout), color);
}

cairo_surface_t* GpImage::View() {
  if (!m_view) {
    if (ViewIsStorage()) {
      m_view.reset(cairo_image_surface_create_for_data(
          m_scan0, m_layout == Layout::Pargb ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, m_width, m_height,
          static_cast<int>(m_stride)));
    } else {
      m_view.reset(cairo_image_surface_create(
          ViewLayout(m_layout) == Layout::Pargb ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, m_width,
          m_height));
      m_viewStale = true;
    }
  }
  // The caller's memory may have changed since the last look.
  if (!ViewIsStorage() && (m_viewStale || !m_owned)) RefreshView();
  return m_view.get();
}

void GpImage::RefreshView() {
  cairo_surface_flush(m_view.get());
  BYTE* data = cairo_image_surface_get_data(m_view.get());
  int stride = cairo_image_surface_get_stride(m_view.get());
  if (!data) return;
  Layout to = ViewLayout(m_layout);
  for (INT y = 0; y < m_height; ++y)
    ConvertRow(m_layout, Row(y), to, data + static_cast<ptrdiff_t>(y) * stride, m_width);
  cairo_surface_mark_dirty(m_view.get());
  m_viewStale = false;
}

void GpImage::ViewWritten(const RECT& area) {
  if (!m_view || ViewIsStorage()) return;
  RECT r{std::max<LONG>(0, area.left), std::max<LONG>(0, area.top), std::min<LONG>(m_width, area.right),
         std::min<LONG>(m_height, area.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) return;
  cairo_surface_flush(m_view.get());
  const BYTE* data = cairo_image_surface_get_data(m_view.get());
  int stride = cairo_image_surface_get_stride(m_view.get());
  Layout from = ViewLayout(m_layout);
  int vb = BytesPerPixel(from), sb = BytesPerPixel(m_layout);
  for (LONG y = r.top; y < r.bottom; ++y)
    ConvertRow(from, data + static_cast<ptrdiff_t>(y) * stride + r.left * vb, m_layout, Row(y) + r.left * sb,
               r.right - r.left);
}

pictavo::gdiplus::CairoSurface GpImage::CopyOfView(const RECT& area) {
  cairo_surface_t* view = View();
  int w = area.right - area.left, h = area.bottom - area.top;
  CairoSurface copy(
      cairo_image_surface_create(cairo_image_surface_get_format(view), std::max(1, w), std::max(1, h)));
  CairoContext cr(cairo_create(copy.get()));
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr.get(), view, -area.left, -area.top);
  cairo_paint(cr.get());
  return copy;
}

std::shared_ptr<pictavo::gdi::Surface> GpImage::StorageSurface() {
  if (m_layout != Layout::Rgb32 || m_stride <= 0) return nullptr;
  return std::make_shared<pictavo::gdi::Surface>(m_scan0, m_width, m_height, m_stride, false, nullptr);
}

Status GpImage::Lock(const Rect* rect, UINT flags, PixelFormat format, BitmapData* data) {
  Layout layout;
  if (!data || !(flags & (ImageLockModeRead | ImageLockModeWrite))) return InvalidParameter;
  if (!LayoutOf(format, layout)) return NotImplemented;
  Rect r = rect ? *rect : Rect(0, 0, m_width, m_height);
  if (r.X < 0 || r.Y < 0 || r.Width <= 0 || r.Height <= 0 || r.GetRight() > m_width ||
      r.GetBottom() > m_height)
    return InvalidParameter;
  if (m_lock) return WrongState;
  auto lock = std::make_unique<LockState>();
  lock->rect = r;
  lock->flags = flags;
  lock->layout = layout;
  ptrdiff_t rowBytes = static_cast<ptrdiff_t>(r.Width) * BytesPerPixel(layout);
  if (flags & ImageLockModeUserInputBuf) {
    if (!data->Scan0 || std::abs(static_cast<ptrdiff_t>(data->Stride)) < rowBytes) return InvalidParameter;
    lock->scan0 = static_cast<BYTE*>(data->Scan0);
    lock->stride = data->Stride;
  } else {
    lock->stride = (rowBytes + 3) & ~static_cast<ptrdiff_t>(3);
    lock->buffer.reset(new (std::nothrow) BYTE[static_cast<size_t>(lock->stride) * r.Height]());
    if (!lock->buffer) return OutOfMemory;
    lock->scan0 = lock->buffer.get();
  }
  if (flags & ImageLockModeRead) {
    BeginStorageAccess();
    int sb = BytesPerPixel(m_layout);
    for (INT y = 0; y < r.Height; ++y)
      ConvertRow(m_layout, Row(r.Y + y) + r.X * sb, layout, lock->scan0 + y * lock->stride, r.Width);
  }
  data->Width = static_cast<UINT>(r.Width);
  data->Height = static_cast<UINT>(r.Height);
  data->Stride = static_cast<INT>(lock->stride);
  data->PixelFormat = format;
  data->Scan0 = lock->scan0;
  data->Reserved = 0;
  m_lock = std::move(lock);
  return Ok;
}

Status GpImage::Unlock(BitmapData* data) {
  if (!data) return InvalidParameter;
  if (!m_lock) return WrongState;
  std::unique_ptr<LockState> lock = std::move(m_lock);
  if (lock->flags & ImageLockModeWrite) {
    BeginStorageAccess();
    const Rect& r = lock->rect;
    int sb = BytesPerPixel(m_layout);
    for (INT y = 0; y < r.Height; ++y)
      ConvertRow(lock->layout, lock->scan0 + y * lock->stride, m_layout, Row(r.Y + y) + r.X * sb, r.Width);
    StorageWritten();
  }
  return Ok;
}

}  // namespace Gdiplus

using namespace Gdiplus;
using pictavo::gdiplus::Started;

namespace Gdiplus::DllExports {

GpStatus WINAPI GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                          GpBitmap** bitmap) {
  if (!bitmap) return InvalidParameter;
  *bitmap = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  Status status;
  std::unique_ptr<GpImage> image = GpImage::Wrap(width, height, stride, format, scan0, status);
  *bitmap = image.release();
  return status;
}

GpStatus WINAPI GdipCreateBitmapFromHBITMAP(HBITMAP hbm, HPALETTE, GpBitmap** bitmap) {
  if (!bitmap) return InvalidParameter;
  *bitmap = nullptr;
  if (!Started()) return GdiplusNotInitialized;
  BITMAP info{};
  if (!hbm || GetObject(hbm, sizeof info, &info) == 0) return InvalidParameter;
  Status status;
  std::unique_ptr<GpImage> image =
      GpImage::Create(info.bmWidth, info.bmHeight,
                      info.bmBitsPixel == 24 ? PixelFormat24bppRGB : PixelFormat32bppRGB, status);
  if (!image) return status;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -info.bmHeight;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
  HDC screen = CreateCompatibleDC(nullptr);
  int lines =
      GetDIBits(screen, hbm, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &request, DIB_RGB_COLORS);
  DeleteDC(screen);
  if (lines != info.bmHeight) return Win32Error;
  for (INT y = 0; y < info.bmHeight; ++y)
    for (INT x = 0; x < info.bmWidth; ++x)
      image->StorePixel(x, y, 0xFF000000u | pixels[static_cast<size_t>(y) * info.bmWidth + x]);
  image->StorageWritten();
  *bitmap = image.release();
  return Ok;
}

GpStatus WINAPI GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbm, ARGB background) {
  if (!bitmap || !hbm) return InvalidParameter;
  *hbm = nullptr;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = bitmap->Width();
  request.bmiHeader.biHeight = -bitmap->Height();
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP result = CreateDIBSection(nullptr, &request, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!result || !bits) return Win32Error;
  auto* out = static_cast<uint32_t*>(bits);
  bitmap->BeginStorageAccess();
  // Translucent pixels are composed over the background.
  for (INT y = 0; y < bitmap->Height(); ++y)
    for (INT x = 0; x < bitmap->Width(); ++x) {
      ARGB c = bitmap->Pixel(x, y);
      uint32_t a = c >> 24;
      uint32_t p = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        uint32_t s = (c >> shift) & 0xFF, d = (background >> shift) & 0xFF;
        p |= ((s * a + d * (255 - a) + 127) / 255) << shift;
      }
      out[static_cast<size_t>(y) * bitmap->Width() + x] = p;
    }
  *hbm = result;
  return Ok;
}

GpStatus WINAPI GdipCloneImage(GpImage* image, GpImage** clone) {
  if (!image || !clone) return InvalidParameter;
  std::unique_ptr<GpImage> copy = image->Clone();
  *clone = copy.release();
  return *clone ? Ok : OutOfMemory;
}

GpStatus WINAPI GdipDisposeImage(GpImage* image) {
  if (!image) return InvalidParameter;
  delete image;
  return Ok;
}

GpStatus WINAPI GdipGetImageWidth(GpImage* image, UINT* width) {
  if (!image || !width) return InvalidParameter;
  *width = static_cast<UINT>(image->Width());
  return Ok;
}

GpStatus WINAPI GdipGetImageHeight(GpImage* image, UINT* height) {
  if (!image || !height) return InvalidParameter;
  *height = static_cast<UINT>(image->Height());
  return Ok;
}

GpStatus WINAPI GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
  if (!image || !format) return InvalidParameter;
  *format = image->Format();
  return Ok;
}

// Every bitmap has the screen's resolution.
GpStatus WINAPI GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution) {
  if (!image || !resolution) return InvalidParameter;
  *resolution = 96;
  return Ok;
}

GpStatus WINAPI GdipGetImageVerticalResolution(GpImage* image, REAL* resolution) {
  return GdipGetImageHorizontalResolution(image, resolution);
}

GpStatus WINAPI GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags, PixelFormat format,
                                   BitmapData* lockedData) {
  if (!bitmap) return InvalidParameter;
  return bitmap->Lock(rect, flags, format, lockedData);
}

GpStatus WINAPI GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* lockedData) {
  if (!bitmap) return InvalidParameter;
  return bitmap->Unlock(lockedData);
}

GpStatus WINAPI GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color) {
  if (!bitmap || !color || x < 0 || y < 0 || x >= bitmap->Width() || y >= bitmap->Height())
    return InvalidParameter;
  bitmap->BeginStorageAccess();
  *color = bitmap->Pixel(x, y);
  return Ok;
}

GpStatus WINAPI GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color) {
  if (!bitmap || x < 0 || y < 0 || x >= bitmap->Width() || y >= bitmap->Height()) return InvalidParameter;
  bitmap->BeginStorageAccess();
  bitmap->StorePixel(x, y, color);
  bitmap->StorageWritten();
  return Ok;
}

}  // namespace Gdiplus::DllExports
