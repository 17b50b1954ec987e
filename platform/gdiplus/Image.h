// Bitmaps: pixels kept in the layout of their pixel format (in the caller's memory when the
// caller gave it) and seen by cairo either directly or through a converted copy.
#pragma once

#include <memory>

#include "platform/gdi/Surface.h"
#include "platform/gdiplus/Cairo.h"
#include "platform/gdiplus/GdiPlusFlat.h"

namespace Gdiplus {

class GpImage {
 public:
  // How pixels lie in memory: 32-bit words 0xXXRRGGBB (X ignored), straight or premultiplied
  // 0xAARRGGBB, or three bytes B, G, R.
  enum class Layout { Rgb32, Argb, Pargb, Bgr24 };

  // New zeroed pixels (transparent black where there is alpha).
  static std::unique_ptr<GpImage> Create(INT width, INT height, PixelFormat format, Status& status);
  // Over the caller's pixels; a negative stride means the first row in memory is the bottom one.
  static std::unique_ptr<GpImage> Wrap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                       Status& status);
  // A copy with pixels of its own.
  std::unique_ptr<GpImage> Clone();

  INT Width() const { return m_width; }
  INT Height() const { return m_height; }
  PixelFormat Format() const { return m_format; }

  // The pixels as cairo reads and draws them (premultiplied ARGB32 or RGB24), up to date. Owned by
  // the image; valid until the image changes size (never) or is deleted.
  cairo_surface_t* View();
  // After cairo drew into `area` (pixel coordinates) of the view.
  void ViewWritten(const RECT& area);
  // A copy of the area of the view, for brushes that keep the pixels they were made with.
  pictavo::gdiplus::CairoSurface CopyOfView(const RECT& area);

  // Straight ARGB of one pixel, and storing one; the coordinates must be inside.
  ARGB Pixel(INT x, INT y);
  void StorePixel(INT x, INT y, ARGB color);
  // Before reading the storage directly, and after writing it.
  void BeginStorageAccess();
  void StorageWritten();

  // The storage as a GDI surface when GDI can draw into it directly (opaque 32-bit words, rows
  // going down), else null. Valid while the image lives.
  std::shared_ptr<pictavo::gdi::Surface> StorageSurface();

  Status Lock(const Rect* rect, UINT flags, PixelFormat format, BitmapData* data);
  Status Unlock(BitmapData* data);

 private:
  GpImage(INT width, INT height, PixelFormat format, Layout layout) noexcept
      : m_width(width), m_height(height), m_format(format), m_layout(layout) {}
  BYTE* Row(INT y) const { return m_scan0 + static_cast<ptrdiff_t>(y) * m_stride; }
  // The view can be the storage itself: cairo's own layouts, rows going down.
  bool ViewIsStorage() const {
    return (m_layout == Layout::Rgb32 || m_layout == Layout::Pargb) && m_stride > 0;
  }
  void RefreshView();

  INT m_width, m_height;
  PixelFormat m_format;
  Layout m_layout;
  BYTE* m_scan0 = nullptr;
  ptrdiff_t m_stride = 0;
  std::unique_ptr<BYTE[]> m_owned;  // null over the caller's memory
  pictavo::gdiplus::CairoSurface m_view;
  bool m_viewStale = true;  // a converted view no longer matches the storage

  struct LockState {
    Rect rect;
    UINT flags = 0;
    Layout layout = Layout::Argb;
    std::unique_ptr<BYTE[]> buffer;
    BYTE* scan0 = nullptr;
    ptrdiff_t stride = 0;
  };
  std::unique_ptr<LockState> m_lock;  // while LockBits is in effect
};

}  // namespace Gdiplus
