// Creating DCs, selecting objects and the DC's drawing state.
#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"

using namespace pictavo::gdi;

namespace {

// Moves the "selected into" mark of bitmaps when a memory DC changes its bitmap. False when the
// new bitmap is in another DC already.
bool SwapBitmap(DeviceContext& dc, const std::shared_ptr<BitmapObject>& next) {
  const std::shared_ptr<BitmapObject>& current = dc.state.bitmap;
  if (current == next) return true;
  const void* self = &dc;
  if (next != StockBitmap()) {
    const void* expected = nullptr;
    if (!next->selectedInto.compare_exchange_strong(expected, self) && expected != self) return false;
  }
  if (current && current != StockBitmap()) {
    const void* mine = self;
    current->selectedInto.compare_exchange_strong(mine, nullptr);
  }
  dc.state.bitmap = next;
  dc.ClipChanged();
  return true;
}

template <class T>
T Exchange(T& field, T value) {
  T old = field;
  field = value;
  return old;
}

}  // namespace

HDC CreateCompatibleDC(HDC dc) {
  if (dc && !FindAs<DeviceContext>(dc, ObjectKind::Dc)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return static_cast<HDC>(InsertObject(std::make_shared<DeviceContext>(true)));
}

BOOL DeleteDC(HDC dc) {
  if (!FindAs<DeviceContext>(dc, ObjectKind::Dc)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return RemoveObject(dc) ? TRUE : FALSE;
}

int SaveDC(HDC hdc) {
  DcLock dc(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  int depth = static_cast<int>(dc->saved.size());
  int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
  if (level <= 0 || level > depth) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DcState restored = std::move(dc->saved[static_cast<size_t>(level - 1)]);
  dc->saved.resize(static_cast<size_t>(level - 1));
  std::shared_ptr<BitmapObject> bitmap = restored.bitmap;
  restored.bitmap = dc->state.bitmap;
  dc->state = std::move(restored);
  // A bitmap selected into another DC since the save stays there; this DC keeps its current one.
  if (dc->IsMemory() && bitmap) SwapBitmap(*dc, bitmap);
  dc->ClipChanged();
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  std::shared_ptr<GdiObject> found = FindObject(object);
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (found->Kind() == ObjectKind::Region) {
    int kind = SelectClipRgn(hdc, static_cast<HRGN>(object));
    return kind == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind));
  }
  DcLock dc(hdc);
  if (!dc) return nullptr;
  DcState& st = dc->state;
  switch (found->Kind()) {
    case ObjectKind::Pen:
      return HandleOf<HGDIOBJ>(Exchange(st.pen, std::static_pointer_cast<PenObject>(found)));
    case ObjectKind::Brush:
      return HandleOf<HGDIOBJ>(Exchange(st.brush, std::static_pointer_cast<BrushObject>(found)));
    case ObjectKind::Font:
      return HandleOf<HGDIOBJ>(Exchange(st.font, std::static_pointer_cast<FontObject>(found)));
    case ObjectKind::Bitmap: {
      if (!dc->IsMemory()) break;
      std::shared_ptr<BitmapObject> previous = st.bitmap;
      if (!SwapBitmap(*dc, std::static_pointer_cast<BitmapObject>(found))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      return HandleOf<HGDIOBJ>(previous);
    }
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DcLock dc(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return HandleOf<HGDIOBJ>(dc->state.pen);
    case OBJ_BRUSH:
      return HandleOf<HGDIOBJ>(dc->state.brush);
    case OBJ_FONT:
      return HandleOf<HGDIOBJ>(dc->state.font);
    case OBJ_PAL:
      return HandleOf<HGDIOBJ>(dc->state.palette);
    case OBJ_BITMAP:
      return dc->IsMemory() ? HandleOf<HGDIOBJ>(dc->state.bitmap) : nullptr;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  auto p = FindAs<PaletteObject>(palette, ObjectKind::Palette);
  DcLock dc(hdc);
  if (!dc || !p) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return HandleOf<HPALETTE>(Exchange(dc->state.palette, p));
}

UINT GetSystemPaletteEntries(HDC hdc, UINT, UINT, PALETTEENTRY*) {
  DcLock dc(hdc);
  if (!dc) SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

// Every surface is true colour: palettes never change how pixels look.
UINT RealizePalette(HDC hdc) {
  DcLock dc(hdc);
  return dc ? 0 : GDI_ERROR;
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  DcLock dc(hdc);
  if (!dc) return CLR_INVALID;
  if (dc->IsMonochrome()) return IsLight(PixelFromColor(color)) ? RGB(255, 255, 255) : 0;
  return color & 0xFFFFFF;
}

#define PICTAVO_DC_PROPERTY(Type, SetName, GetName, field, failValue) \
  Type SetName(HDC hdc, Type value) {                                 \
    DcLock dc(hdc);                                                   \
    if (!dc) return failValue;                                        \
    return Exchange(dc->state.field, value);                          \
  }                                                                   \
  Type GetName(HDC hdc) {                                             \
    DcLock dc(hdc);                                                   \
    return dc ? dc->state.field : failValue;                          \
  }

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DcLock dc(hdc);
  return dc ? Exchange(dc->state.textColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF GetTextColor(HDC hdc) {
  DcLock dc(hdc);
  return dc ? dc->state.textColor : CLR_INVALID;
}
COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DcLock dc(hdc);
  return dc ? Exchange(dc->state.bkColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF GetBkColor(HDC hdc) {
  DcLock dc(hdc);
  return dc ? dc->state.bkColor : CLR_INVALID;
}
PICTAVO_DC_PROPERTY(COLORREF, SetDCBrushColor, GetDCBrushColor, dcBrushColor, CLR_INVALID)
PICTAVO_DC_PROPERTY(COLORREF, SetDCPenColor, GetDCPenColor, dcPenColor, CLR_INVALID)
PICTAVO_DC_PROPERTY(UINT, SetTextAlign, GetTextAlign, textAlign, GDI_ERROR)
PICTAVO_DC_PROPERTY(int, SetTextCharacterExtra, GetTextCharacterExtra, charExtra,
                    static_cast<int>(0x80000000))

namespace {

// The Set*Mode calls that take any DC: the old mode back; 0 for a bad DC and, with
// ERROR_INVALID_PARAMETER, for a mode the call does not know.
int SetMode(HDC hdc, int DcState::*field, int mode, bool known) {
  if (!known) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DcLock dc(hdc);
  return dc ? Exchange(dc->state.*field, mode) : 0;
}

int GetMode(HDC hdc, int DcState::*field) {
  DcLock dc(hdc);
  return dc ? dc->state.*field : 0;
}

}  // namespace

int SetBkMode(HDC hdc, int mode) {
  return SetMode(hdc, &DcState::bkMode, mode, mode == TRANSPARENT || mode == OPAQUE);
}
int GetBkMode(HDC hdc) {
  return GetMode(hdc, &DcState::bkMode);
}
int SetROP2(HDC hdc, int rop2) {
  return SetMode(hdc, &DcState::rop2, rop2, rop2 >= R2_BLACK && rop2 <= R2_WHITE);
}
int GetROP2(HDC hdc) {
  return GetMode(hdc, &DcState::rop2);
}
int SetStretchBltMode(HDC hdc, int mode) {
  return SetMode(hdc, &DcState::stretchMode, mode, mode >= BLACKONWHITE && mode <= HALFTONE);
}
int GetStretchBltMode(HDC hdc) {
  return GetMode(hdc, &DcState::stretchMode);
}
int SetPolyFillMode(HDC hdc, int mode) {
  return SetMode(hdc, &DcState::polyFillMode, mode, mode == ALTERNATE || mode == WINDING);
}
int GetPolyFillMode(HDC hdc) {
  return GetMode(hdc, &DcState::polyFillMode);
}

int SetMapMode(HDC hdc, int mode) {
  DcLock dc(hdc);
  if (!dc) return 0;
  if (mode != MM_TEXT) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  return Exchange(dc->state.mapMode, mode);
}
int GetMapMode(HDC hdc) {
  return GetMode(hdc, &DcState::mapMode);
}

namespace {

BOOL SetPoint(HDC hdc, POINT DcState::*field, int x, int y, bool offset, POINT* previous) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->state.*field;
  if (previous) *previous = p;
  p = offset ? POINT{p.x + x, p.y + y} : POINT{x, y};
  return TRUE;
}

BOOL GetPoint(HDC hdc, POINT DcState::*field, POINT* out) {
  DcLock dc(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->state.*field;
  return TRUE;
}

}  // namespace

BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* previous) {
  return SetPoint(hdc, &DcState::brushOrg, x, y, false, previous);
}
BOOL GetBrushOrgEx(HDC hdc, POINT* origin) {
  return GetPoint(hdc, &DcState::brushOrg, origin);
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous) {
  return SetPoint(hdc, &DcState::viewportOrg, x, y, false, previous);
}
BOOL GetViewportOrgEx(HDC hdc, POINT* origin) {
  return GetPoint(hdc, &DcState::viewportOrg, origin);
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous) {
  return SetPoint(hdc, &DcState::viewportOrg, dx, dy, true, previous);
}
BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* previous) {
  return SetPoint(hdc, &DcState::windowOrg, x, y, false, previous);
}
BOOL GetWindowOrgEx(HDC hdc, POINT* origin) {
  return GetPoint(hdc, &DcState::windowOrg, origin);
}
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* previous) {
  return SetPoint(hdc, &DcState::windowOrg, dx, dy, true, previous);
}
BOOL GetCurrentPositionEx(HDC hdc, POINT* position) {
  return GetPoint(hdc, &DcState::position, position);
}

BOOL LPtoDP(HDC hdc, POINT* points, int count) {
  DcLock dc(hdc);
  if (!dc || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) {
    points[i].x += dc->state.viewportOrg.x - dc->state.windowOrg.x;
    points[i].y += dc->state.viewportOrg.y - dc->state.windowOrg.y;
  }
  return TRUE;
}

BOOL DPtoLP(HDC hdc, POINT* points, int count) {
  DcLock dc(hdc);
  if (!dc || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) {
    points[i].x -= dc->state.viewportOrg.x - dc->state.windowOrg.x;
    points[i].y -= dc->state.viewportOrg.y - dc->state.windowOrg.y;
  }
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  if (hdc) {
    DcLock dc(hdc);
    if (!dc) return 0;
  }
  SIZE desktop = DesktopSize();
  switch (index) {
    case DRIVERVERSION:
      return 0x4000;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZSIZE:
      return desktop.cx * 254 / 960;
    case VERTSIZE:
      return desktop.cy * 254 / 960;
    case HORZRES:
    case DESKTOPHORZRES:
      return desktop.cx;
    case VERTRES:
    case DESKTOPVERTRES:
      return desktop.cy;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
      return -1;
    case NUMFONTS:
      return 0;
    case CURVECAPS:
    case LINECAPS:
    case POLYGONALCAPS:
      return 0xFF;
    case TEXTCAPS:
      return 0x7E00;
    case CLIPCAPS:
      return 1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT | RC_STRETCHBLT |
             RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY:
      return 36;
    case ASPECTXY:
      return 51;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case SIZEPALETTE:
    case NUMRESERVED:
      return 0;
    case COLORRES:
      return 24;
    case VREFRESH:
      return 60;
    case SHADEBLENDCAPS:
      return SB_CONST_ALPHA | SB_PIXEL_ALPHA | SB_PREMULT_ALPHA;
  }
  return 0;
}

BOOL GdiFlush() {
  return TRUE;
}
