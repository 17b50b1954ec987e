// CxImage on device contexts and bitmaps. The pixels already are a bottom-up 24-bit DIB, so
// they go to the DIB calls as they are; only blending by alpha needs a premultiplied 32-bit copy.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

#include "modules/image/CxImage.h"
#include "modules/image/Resample.h"
#include "platform/base/ErrorCodes.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"

using pictavo::image::Raster;

namespace {

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct ObjectDeleter {
  void operator()(void* object) const { DeleteObject(object); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter>;

// Restores the DC's clipping and stretch mode however the drawing ends.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : m_dc(dc), m_id(SaveDC(dc)) {}
  ~SavedDc() {
    if (m_id) RestoreDC(m_dc, m_id);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC m_dc;
  int m_id;
};

BITMAPINFO HeaderOf(int width, int height, WORD bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bits;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

long CxImage::Draw(HDC hdc, long x, long y, long cx, long cy, RECT* pClipRect, bool bSmooth) {
  if (!hdc || !IsValid()) return 0;
  const int w = m_raster.Width(), h = m_raster.Height();
  if (cx < 0) cx = w;
  if (cy < 0) cy = h;
  if (cx == 0 || cy == 0) return 1;
  SavedDc saved(hdc);
  if (pClipRect) IntersectClipRect(hdc, pClipRect->left, pClipRect->top, pClipRect->right, pClipRect->bottom);
  SetStretchBltMode(hdc, bSmooth ? HALFTONE : COLORONCOLOR);
  if (!AlphaIsValid()) {
    return StretchDIBits(hdc, x, y, cx, cy, 0, 0, w, h, m_raster.Pixels(),
                         reinterpret_cast<const BITMAPINFO*>(m_raster.Dib()), DIB_RGB_COLORS, SRCCOPY) > 0
               ? 1
               : 0;
  }
  // Blending stretches by nearest pixel; a smooth size change is filtered here first.
  const Raster* source = &m_raster;
  Raster resized;
  std::string error;
  if (bSmooth && (cx != w || cy != h) && cx <= pictavo::image::kMaxSide && cy <= pictavo::image::kMaxSide) {
    if (ResampleRaster(m_raster, static_cast<int>(cx), static_cast<int>(cy), pictavo::image::Filter::Bilinear,
                       resized, error))
      source = &resized;
  }
  const int sw = source->Width(), sh = source->Height();
  const BITMAPINFO info = HeaderOf(sw, sh, 32);
  void* bits = nullptr;
  Bitmap section(CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDc memory(CreateCompatibleDC(hdc));
  if (!section || !bits || !memory) return 0;
  // Premultiplied BGRA, as per-pixel blending takes it.
  auto* out = static_cast<BYTE*>(bits);
  for (int row = 0; row < sh; ++row) {
    const BYTE* p = source->Row(row);
    const BYTE* a = source->AlphaRow(row);
    for (int i = 0; i < sw; ++i, p += 3, out += 4) {
      out[0] = static_cast<BYTE>((p[0] * a[i] + 127) / 255);
      out[1] = static_cast<BYTE>((p[1] * a[i] + 127) / 255);
      out[2] = static_cast<BYTE>((p[2] * a[i] + 127) / 255);
      out[3] = a[i];
    }
  }
  HGDIOBJ previous = SelectObject(memory.get(), section.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL ok = AlphaBlend(hdc, x, y, cx, cy, memory.get(), 0, 0, sw, sh, blend);
  SelectObject(memory.get(), previous);
  return ok ? 1 : 0;
}

long CxImage::Draw(HDC hdc, const RECT& rect, RECT* pClipRect, bool bSmooth) {
  return Draw(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, pClipRect, bSmooth);
}

long CxImage::Stretch(HDC hdc, long x, long y, long cx, long cy, DWORD dwRop) {
  if (!hdc || !IsValid()) return 0;
  return StretchDIBits(hdc, x, y, cx, cy, 0, 0, m_raster.Width(), m_raster.Height(), m_raster.Pixels(),
                       reinterpret_cast<const BITMAPINFO*>(m_raster.Dib()), DIB_RGB_COLORS, dwRop) > 0
             ? 1
             : 0;
}

long CxImage::Stretch(HDC hdc, const RECT& rect, DWORD dwRop) {
  return Stretch(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dwRop);
}

HBITMAP CxImage::MakeBitmap(HDC hdc) {
  if (!IsValid()) return nullptr;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(hdc, reinterpret_cast<const BITMAPINFO*>(m_raster.Dib()), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    Fail(ERROR_NOT_ENOUGH_MEMORY, "cannot create a bitmap");
    return nullptr;
  }
  std::memcpy(bits, m_raster.Pixels(), m_raster.PixelBytes());
  GdiFlush();
  return bitmap;
}

bool CxImage::CreateFromHBITMAP(HBITMAP hbmp, HPALETTE) {
  Destroy();
  BITMAP bm{};
  if (!hbmp || GetObject(hbmp, sizeof(bm), &bm) == 0) return Fail(ERROR_INVALID_HANDLE, "not a bitmap");
  std::string error;
  if (!m_raster.Allocate(bm.bmWidth, std::abs(bm.bmHeight), false, error))
    return Fail(ERROR_NOT_ENOUGH_MEMORY, error);
  MemoryDc memory(CreateCompatibleDC(nullptr));
  BITMAPINFO info = HeaderOf(m_raster.Width(), m_raster.Height(), 24);
  const auto lines = static_cast<UINT>(m_raster.Height());
  if (!memory || GetDIBits(memory.get(), hbmp, 0, lines, m_raster.Pixels(), &info, DIB_RGB_COLORS) !=
                     static_cast<int>(lines)) {
    Destroy();
    return Fail(ERROR_INVALID_DATA, "cannot read the bitmap's pixels");
  }
  m_raster.ZeroPadding();
  m_type = CXIMAGE_FORMAT_BMP;
  m_sourceWidth = m_raster.Width();
  m_sourceHeight = m_raster.Height();
  Succeed();
  return true;
}
