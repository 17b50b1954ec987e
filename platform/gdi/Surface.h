// A 32-bit pixel buffer that device contexts draw into, and the DCs the windowing layer makes
// over one. Pixels are 0xXXRRGGBB words (bytes B, G, R, X in memory); the X byte is undefined
// except where AlphaBlend reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::gdi {

class Surface {
 public:
  // An owned, zero-filled, top-down buffer with rows packed (stride = width * 4).
  Surface(int width, int height);
  // Wraps memory owned elsewhere; `keepAlive` holds that memory for the surface's lifetime.
  // `strideBytes` is the distance between successive rows in memory; with `bottomUp` the first
  // row in memory is the bottom one (the layout of a bottom-up DIB).
  Surface(void* memory, int width, int height, ptrdiff_t strideBytes, bool bottomUp,
          std::shared_ptr<void> keepAlive);
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  RECT Bounds() const { return RECT{0, 0, m_width, m_height}; }

  // Row y counted from the top, whatever the memory layout.
  std::span<uint32_t> Row(int y) { return {RowPointer(y), static_cast<size_t>(m_width)}; }
  std::span<const uint32_t> Row(int y) const { return {RowPointer(y), static_cast<size_t>(m_width)}; }
  // The top row's first pixel and the signed distance in bytes from one row to the next one
  // below it (negative for a bottom-up layout).
  uint32_t* TopRow() const { return m_top; }
  ptrdiff_t Stride() const { return m_stride; }

  // Fills the whole buffer with one pixel value.
  void Fill(uint32_t pixel);

 private:
  uint32_t* RowPointer(int y) const {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<std::byte*>(m_top) + y * m_stride);
  }

  int m_width;
  int m_height;
  uint32_t* m_top;     // first pixel of the top row
  ptrdiff_t m_stride;  // bytes from a row to the one below
  std::shared_ptr<void> m_memory;
};

// Pixel value of a COLORREF (0x00BBGGRR) and back.
constexpr uint32_t PixelFromColor(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ColorFromPixel(uint32_t p) {
  return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

// A device context drawing into `surface`: device point (0, 0) is `origin` in the surface and
// nothing outside `clipInSurface` (surface coordinates) is touched. A child window's DC draws into
// its top-level window's surface this way. The DC holds the surface until it is deleted.
// GetObjectType of the result is OBJ_DC.
HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, const RECT& clipInSurface);
// Further limits a surface DC to `region` (device coordinates: relative to the origin), e.g. the
// visible part of a window or its update region. The region is copied; null removes the limit.
// Independent of the clip region the program selects (SelectClipRgn), which it cannot undo.
BOOL SetSystemClip(HDC dc, HRGN region);
// Moves a surface DC to another origin and clip rectangle (a window moved within its top-level
// window) without losing the program's DC state. The system clip is removed.
BOOL SetSurfaceOrigin(HDC dc, POINT origin, const RECT& clipInSurface);
// The surface behind a DC: the window surface, or the bitmap selected into a memory DC.
std::shared_ptr<Surface> SurfaceOfDC(HDC dc);
// What a drawing layer with its own rasteriser (GDI+) needs to draw into a DC's pixels.
struct DcTarget {
  Surface& surface;
  POINT origin;                   // where the DC's logical (0, 0) lies in the surface
  const std::vector<RECT>& clip;  // what may be drawn: disjoint rectangles, surface coordinates
};
// Runs `draw` with the DC locked and its pixels current; `draw` returns the surface area it
// wrote, which a DIB section in another layout then takes back. `draw` must not call the DC.
// FALSE with the last error set for a bad handle, or a DC without pixels or with monochrome ones.
BOOL DrawIntoDC(HDC dc, const std::function<RECT(const DcTarget&)>& draw);
// Deletes a DC made by CreateSurfaceDC (ReleaseDC/EndPaint of the windowing layer). The objects
// selected into it stay alive as long as their handles.
BOOL DeleteSurfaceDC(HDC dc);

}  // namespace pictavo::gdi
