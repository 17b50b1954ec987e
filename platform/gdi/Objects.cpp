// Pens, brushes, palettes, stock objects, system colours, and the calls common to every object.
#include "platform/gdi/Objects.h"

#include <cstring>
#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"

namespace pictavo::gdi {
namespace {

// Our flat look: light neutral faces, one blue for selection and active captions.
constexpr COLORREF kDefaultSysColors[31] = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(0, 99, 177),     // COLOR_BACKGROUND
    RGB(0, 120, 215),    // COLOR_ACTIVECAPTION
    RGB(191, 205, 219),  // COLOR_INACTIVECAPTION
    RGB(240, 240, 240),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(100, 100, 100),  // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(180, 180, 180),  // COLOR_ACTIVEBORDER
    RGB(244, 247, 252),  // COLOR_INACTIVEBORDER
    RGB(171, 171, 171),  // COLOR_APPWORKSPACE
    RGB(0, 120, 215),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240),  // COLOR_BTNFACE
    RGB(160, 160, 160),  // COLOR_BTNSHADOW
    RGB(109, 109, 109),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(67, 78, 84),     // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105),  // COLOR_3DDKSHADOW
    RGB(227, 227, 227),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(0, 0, 0),        // (unused)
    RGB(0, 102, 204),    // COLOR_HOTLIGHT
    RGB(0, 120, 215),    // COLOR_GRADIENTACTIVECAPTION
    RGB(191, 205, 219),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 120, 215),    // COLOR_MENUHILIGHT
    RGB(240, 240, 240),  // COLOR_MENUBAR
};
constexpr int kSysColorCount = 31;

std::mutex g_sysColorLock;
COLORREF g_sysColors[kSysColorCount];  // guarded by g_sysColorLock
bool g_sysColorsInit = false;          // guarded by g_sysColorLock

struct Stock {
  HGDIOBJ objects[20] = {};
  HBRUSH sysBrushes[kSysColorCount] = {};
  std::shared_ptr<BitmapObject> bitmap;
};

LOGFONTA MakeLogFont(int height, int weight, const char* face, BYTE pitch = VARIABLE_PITCH | FF_SWISS) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = pitch;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

Stock& TheStock() {
  static Stock* stock = [] {
    auto* s = new Stock;
    auto brush = [](COLORREF c) {
      return InsertObject(std::make_shared<BrushObject>(BrushKind::Solid, c), true);
    };
    auto pen = [](int style, COLORREF c) {
      return InsertObject(std::make_shared<PenObject>(style, 1, c), true);
    };
    auto font = [](const LOGFONTA& lf) { return InsertObject(std::make_shared<FontObject>(lf), true); };
    s->objects[WHITE_BRUSH] = brush(RGB(255, 255, 255));
    s->objects[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
    s->objects[GRAY_BRUSH] = brush(RGB(128, 128, 128));
    s->objects[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
    s->objects[BLACK_BRUSH] = brush(RGB(0, 0, 0));
    s->objects[NULL_BRUSH] = InsertObject(std::make_shared<BrushObject>(BrushKind::Null, 0), true);
    s->objects[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
    s->objects[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
    s->objects[NULL_PEN] = pen(PS_NULL, 0);
    s->objects[OEM_FIXED_FONT] = font(MakeLogFont(12, FW_NORMAL, "Terminal", FIXED_PITCH | FF_MODERN));
    s->objects[ANSI_FIXED_FONT] = font(MakeLogFont(12, FW_NORMAL, "Courier", FIXED_PITCH | FF_MODERN));
    s->objects[ANSI_VAR_FONT] = font(MakeLogFont(12, FW_NORMAL, "MS Sans Serif"));
    s->objects[SYSTEM_FONT] = font(MakeLogFont(16, FW_BOLD, "System"));
    s->objects[DEVICE_DEFAULT_FONT] = font(MakeLogFont(16, FW_BOLD, "System"));
    // The twenty static colours of the system's default palette, in its order.
    s->objects[DEFAULT_PALETTE] =
        InsertObject(std::make_shared<PaletteObject>(std::vector<PALETTEENTRY>{
                         {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
                         {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
                         {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
                         {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
                         {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}}),
                     true);
    s->objects[SYSTEM_FIXED_FONT] = font(MakeLogFont(16, FW_NORMAL, "Fixedsys", FIXED_PITCH | FF_MODERN));
    s->objects[DEFAULT_GUI_FONT] = font(MakeLogFont(-11, FW_NORMAL, "MS Shell Dlg"));
    s->objects[DC_BRUSH] = InsertObject(std::make_shared<BrushObject>(BrushKind::DcBrush, 0), true);
    s->objects[DC_PEN] = InsertObject(std::make_shared<PenObject>(PS_SOLID, 1, 0, true), true);
    for (int i = 0; i < kSysColorCount; ++i) {
      auto sys = std::make_shared<BrushObject>(BrushKind::Solid, 0);
      sys->sysColor = i;
      s->sysBrushes[i] = static_cast<HBRUSH>(InsertObject(sys, true));
    }
    s->bitmap = BitmapObject::CreateDevice(1, 1, 1);
    InsertObject(s->bitmap, true);
    return s;
  }();
  return *stock;
}

HBRUSH MakeBrush(std::shared_ptr<BrushObject> brush) {
  return static_cast<HBRUSH>(InsertObject(std::move(brush)));
}

// The hatch styles as 8x8 cells: 0 where the hatch line is.
uint8_t HatchRow(int hatch, int y) {
  static constexpr uint8_t kRows[6][8] = {
      {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF},  // horizontal
      {0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7},  // vertical
      {0x7F, 0xBF, 0xDF, 0xEF, 0xF7, 0xFB, 0xFD, 0xFE},  // forward diagonal
      {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F},  // backward diagonal
      {0xF7, 0xF7, 0xF7, 0xF7, 0x00, 0xF7, 0xF7, 0xF7},  // cross
      {0x7E, 0xBD, 0xDB, 0xE7, 0xE7, 0xDB, 0xBD, 0x7E},  // diagonal cross
  };
  return kRows[hatch][y];
}

}  // namespace

std::shared_ptr<BitmapObject> StockBitmap() {
  return TheStock().bitmap;
}
HBRUSH HalftoneBrush() {
  static HBRUSH brush = [] {
    auto b = std::make_shared<BrushObject>(BrushKind::MonoPattern, 0);
    for (size_t i = 0; i < 64; ++i) b->pattern[i] = ((i / 8) + (i % 8)) % 2;
    return static_cast<HBRUSH>(InsertObject(b, true));
  }();
  return brush;
}

}  // namespace pictavo::gdi

using namespace pictavo::gdi;

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= 20 || index == 9) return nullptr;
  return TheStock().objects[index];
}

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kSysColorCount) return 0;
  std::lock_guard lock(g_sysColorLock);
  return g_sysColorsInit ? g_sysColors[index] : kDefaultSysColors[index];
}

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (!indexes || !colors))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(g_sysColorLock);
  if (!g_sysColorsInit) {
    std::memcpy(g_sysColors, kDefaultSysColors, sizeof g_sysColors);
    g_sysColorsInit = true;
  }
  for (int i = 0; i < count; ++i)
    if (indexes[i] >= 0 && indexes[i] < kSysColorCount) g_sysColors[indexes[i]] = colors[i] & 0xFFFFFF;
  return TRUE;
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kSysColorCount) return nullptr;
  return TheStock().sysBrushes[index];
}

HPEN CreatePen(int style, int width, COLORREF color) {
  int kind = style & PS_STYLE_MASK;
  if (kind > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Styled lines are one pixel wide whatever the width asked for, as on the platform.
  if (kind >= PS_DASH && kind <= PS_DASHDOTDOT && width > 1) width = 1;
  return static_cast<HPEN>(
      InsertObject(std::make_shared<PenObject>(style, std::max(width, 1), color & 0xFFFFFF)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  if (!brush || brush->lbStyle != BS_SOLID || (style & PS_STYLE_MASK) == 7 /* user styles */) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return static_cast<HPEN>(InsertObject(std::make_shared<PenObject>(
      style, std::max<int>(static_cast<int>(width), 1), brush->lbColor & 0xFFFFFF)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return MakeBrush(std::make_shared<BrushObject>(BrushKind::Solid, color & 0xFFFFFF));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto brush = std::make_shared<BrushObject>(BrushKind::Hatch, color & 0xFFFFFF);
  brush->hatchStyle = static_cast<UINT>(hatch);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) brush->pattern[y * 8 + x] = (HatchRow(hatch, y) >> (7 - x)) & 1;
  return MakeBrush(std::move(brush));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto source = FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
  if (!source) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  source->BeginAccess();
  bool mono = source->IsMonoDevice();
  auto brush = std::make_shared<BrushObject>(mono ? BrushKind::MonoPattern : BrushKind::ColorPattern, 0);
  const Surface& s = *source->surface;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      uint32_t pixel = s.Row(y % s.Height())[x % s.Width()] & kRgbMask;
      if (mono) pixel = pixel ? 1 : 0;
      brush->pattern[y * 8 + x] = pixel;
    }
  return MakeBrush(std::move(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  switch (brush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(brush->lbColor);
    case BS_NULL:
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED:
      return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palNumEntries == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<PALETTEENTRY> entries(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return static_cast<HPALETTE>(InsertObject(std::make_shared<PaletteObject>(std::move(entries))));
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
  auto p = FindAs<PaletteObject>(palette, ObjectKind::Palette);
  if (!p) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!entries) return static_cast<UINT>(p->entries.size());
  UINT n = 0;
  for (UINT i = start; i < p->entries.size() && n < count; ++i) entries[n++] = p->entries[i];
  return n;
}

BOOL DeleteObject(HGDIOBJ object) {
  std::shared_ptr<GdiObject> found = FindObject(object);
  if (!found || found->Kind() == ObjectKind::Dc || found->Kind() == ObjectKind::Icon) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (found->IsStock()) return TRUE;
  return RemoveObject(object) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ object) {
  std::shared_ptr<GdiObject> found = FindObject(object);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (found->Kind()) {
    case ObjectKind::Pen:
      return OBJ_PEN;
    case ObjectKind::Brush:
      return OBJ_BRUSH;
    case ObjectKind::Font:
      return OBJ_FONT;
    case ObjectKind::Bitmap:
      return OBJ_BITMAP;
    case ObjectKind::Region:
      return OBJ_REGION;
    case ObjectKind::Palette:
      return OBJ_PAL;
    case ObjectKind::Dc:
      return static_cast<DeviceContext&>(*found).IsMemory() ? OBJ_MEMDC : OBJ_DC;
    case ObjectKind::Icon:
      return 0;
  }
  return 0;
}

namespace {

template <class T>
int CopyOut(const T& value, int size, LPVOID buffer) {
  if (!buffer) return static_cast<int>(sizeof(T));
  int n = std::min(size, static_cast<int>(sizeof(T)));
  if (n <= 0) return 0;
  std::memcpy(buffer, &value, static_cast<size_t>(n));
  return n;
}

}  // namespace

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
  std::shared_ptr<GdiObject> found = FindObject(object);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (found->Kind()) {
    case ObjectKind::Pen: {
      auto& pen = static_cast<PenObject&>(*found);
      LOGPEN lp{pen.style, POINT{pen.width, 0}, pen.color};
      return CopyOut(lp, size, buffer);
    }
    case ObjectKind::Brush: {
      auto& brush = static_cast<BrushObject&>(*found);
      LOGBRUSH lb{BS_SOLID, brush.sysColor >= 0 ? GetSysColor(brush.sysColor) : brush.color, 0};
      if (brush.kind == BrushKind::Null) lb.lbStyle = BS_NULL;
      if (brush.kind == BrushKind::Hatch) lb = LOGBRUSH{BS_HATCHED, brush.color, brush.hatchStyle};
      if (brush.kind == BrushKind::MonoPattern || brush.kind == BrushKind::ColorPattern)
        lb = LOGBRUSH{BS_PATTERN, 0, 0};
      return CopyOut(lb, size, buffer);
    }
    case ObjectKind::Font:
      return CopyOut(static_cast<FontObject&>(*found).logFont, size, buffer);
    case ObjectKind::Palette: {
      WORD count = static_cast<WORD>(static_cast<PaletteObject&>(*found).entries.size());
      return CopyOut(count, size, buffer);
    }
    case ObjectKind::Bitmap: {
      auto& bitmap = static_cast<BitmapObject&>(*found);
      BITMAP bm{};
      bm.bmWidth = bitmap.Width();
      bm.bmHeight = bitmap.Height();
      bm.bmPlanes = 1;
      bm.bmBitsPixel = static_cast<WORD>(bitmap.bitsPerPixel);
      if (bitmap.isDib) {
        bm.bmWidthBytes = static_cast<LONG>(bitmap.format.Stride());
        bm.bmBits = bitmap.bits;
      } else {
        bm.bmWidthBytes = ((bitmap.Width() * bitmap.bitsPerPixel + 15) / 16) * 2;
      }
      if (bitmap.isDib && buffer && size >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        ds.dsBmih = HeaderOf(bitmap.format);
        return CopyOut(ds, size, buffer);
      }
      return CopyOut(bm, size, buffer);
    }
    case ObjectKind::Region:
    case ObjectKind::Dc:
    case ObjectKind::Icon:
      break;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

BOOL UnrealizeObject(HGDIOBJ object) {
  return FindObject(object) ? TRUE : FALSE;
}
