// The drawing objects: pens, brushes, fonts, bitmaps, palettes and regions.
// Pens, brushes, fonts and palettes never change after creation; a bitmap's pixels change through
// the DCs that draw into it; a region changes under its own lock.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/DibFormat.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/Surface.h"

namespace pictavo::gdi {

class PenObject : public GdiObject {
 public:
  PenObject(UINT style, int width, COLORREF color, bool dcPen = false)
      : GdiObject(ObjectKind::Pen), style(style), width(width), color(color), dcPen(dcPen) {}
  int Style() const { return static_cast<int>(style & PS_STYLE_MASK); }
  const UINT style;
  const int width;
  const COLORREF color;
  const bool dcPen;  // draws in the DC's pen colour
};

enum class BrushKind {
  Null,
  Solid,
  Hatch,         // pattern cells: 0 = hatch line in the brush colour, 1 = the DC's background colour
  MonoPattern,   // pattern cells: 0 = the DC's text colour, 1 = the DC's background colour
  ColorPattern,  // pattern cells are pixels
  DcBrush,       // solid in the DC's brush colour
};

class BrushObject : public GdiObject {
 public:
  BrushObject(BrushKind kind, COLORREF color) : GdiObject(ObjectKind::Brush), kind(kind), color(color) {}
  const BrushKind kind;
  const COLORREF color;
  UINT hatchStyle = 0;
  int sysColor = -1;                   // system colour brushes follow SetSysColors
  std::array<uint32_t, 64> pattern{};  // 8 rows of 8; 0/1 cells or pixels by kind
};

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONTA& font) : GdiObject(ObjectKind::Font), logFont(font) {}
  const LOGFONTA logFont;
};

class PaletteObject : public GdiObject {
 public:
  explicit PaletteObject(std::vector<PALETTEENTRY> entries)
      : GdiObject(ObjectKind::Palette), entries(std::move(entries)) {}
  const std::vector<PALETTEENTRY> entries;
};

class RegionObject : public GdiObject {
 public:
  explicit RegionObject(RegionData data) : GdiObject(ObjectKind::Region), m_data(std::move(data)) {}
  RegionData Get() const {
    std::lock_guard lock(m_lock);
    return m_data;
  }
  void Set(RegionData data) {
    std::lock_guard lock(m_lock);
    m_data = std::move(data);
  }

 private:
  mutable std::mutex m_lock;
  RegionData m_data;  // guarded by m_lock
};

// A bitmap's pixels live in a 32-bit surface that DCs draw into. A 32-bit DIB section's surface
// is its own memory. Other DIB sections keep the caller's layout in `bits`, copied into the
// surface before a DC reads the bitmap and back after one writes it; their colours are those of
// their colour table. A monochrome device bitmap holds only black and white pixels.
class BitmapObject : public GdiObject {
 public:
  BitmapObject() : GdiObject(ObjectKind::Bitmap) {}

  // A device bitmap: 32-bit colour, or monochrome with bitsPerPixel 1. Null on bad sizes.
  static std::shared_ptr<BitmapObject> CreateDevice(int width, int height, int bitsPerPixel);
  // A DIB section in `format`'s layout. Null when too large.
  static std::shared_ptr<BitmapObject> CreateDib(const DibFormat& format);

  int Width() const { return surface->Width(); }
  int Height() const { return surface->Height(); }
  bool IsMonoDevice() const { return !isDib && bitsPerPixel == 1; }

  // Before a DC reads or writes the pixels, and after one wrote `area` (surface coordinates).
  void BeginAccess();
  void EndWrite(const RECT& area);

  std::shared_ptr<Surface> surface;
  int bitsPerPixel = 32;
  bool isDib = false;
  DibFormat format;                                // DIB sections: the caller's layout
  uint8_t* bits = nullptr;                         // DIB memory as the caller sees it
  std::shared_ptr<uint8_t[]> memory;               // owns `bits`
  std::atomic<const void*> selectedInto{nullptr};  // the memory DC holding the bitmap, if any
};

// Pixel helpers shared by the raster code.
constexpr uint32_t kRgbMask = 0x00FFFFFFu;
constexpr uint32_t kWhitePixel = 0x00FFFFFFu;
constexpr uint32_t kBlackPixel = 0;
inline bool IsLight(uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) >= 384;
}
inline uint32_t ToMono(uint32_t pixel) {
  return IsLight(pixel) ? kWhitePixel : kBlackPixel;
}

std::shared_ptr<BitmapObject> StockBitmap();  // the 1x1 monochrome bitmap of a new memory DC

}  // namespace pictavo::gdi
