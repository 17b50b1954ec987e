// 3-D edges, frame controls in our flat look, and DrawState.
#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/IconObject.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/TextRender.h"
#include "platform/gdi/Transfer.h"

using namespace pictavo::gdi;

namespace {

void Fill(DeviceContext& dc, DrawScope& scope, const RECT& logical, COLORREF color) {
  uint32_t pixel = PixelFromColor(color);
  FillRectRop(scope, dc.ToSurface(logical), SolidPaint(dc.IsMonochrome() ? ToMono(pixel) : pixel), 0xF0);
}

// One ring of an edge: top and left lines in `topLeft`, then right and bottom in `bottomRight`
// (which thus owns the top-right and bottom-left corners).
void Ring(DeviceContext& dc, DrawScope& scope, const RECT& r, UINT sides, COLORREF topLeft,
          COLORREF bottomRight) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (sides & BF_TOP) Fill(dc, scope, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
  if (sides & BF_LEFT) Fill(dc, scope, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
  if (sides & BF_RIGHT) Fill(dc, scope, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  if (sides & BF_BOTTOM) Fill(dc, scope, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

RECT Deflated(RECT r, UINT sides) {
  if (sides & BF_LEFT) ++r.left;
  if (sides & BF_TOP) ++r.top;
  if (sides & BF_RIGHT) --r.right;
  if (sides & BF_BOTTOM) --r.bottom;
  return r;
}

void FillRows(DeviceContext& dc, DrawScope& scope, const RegionData& logical, COLORREF color) {
  RegionData shape = logical;
  shape.Offset(dc.SurfaceX(0), dc.SurfaceY(0));
  uint32_t pixel = PixelFromColor(color);
  FillRegionRop(scope, shape, SolidPaint(dc.IsMonochrome() ? ToMono(pixel) : pixel), 0xF0);
}

// A filled triangle pointing in `direction` (0 up, 1 down, 2 left, 3 right), centred in r.
void Arrow(DeviceContext& dc, DrawScope& scope, const RECT& r, int direction, COLORREF color) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int size = std::max(2, std::min(w, h) / 4 + 1);  // rows of the triangle
  int cx = r.left + w / 2, cy = r.top + h / 2;
  std::vector<std::vector<Span>> rows;
  for (int i = 0; i < size; ++i) rows.push_back({Span{-i, i + 1}});
  RegionData shape;
  int top = 0;
  if (direction <= 1) {
    std::vector<std::vector<Span>> placed;
    for (int i = 0; i < size; ++i) {
      const Span& s = rows[static_cast<size_t>(direction == 0 ? i : size - 1 - i)][0];
      placed.push_back({Span{cx + s.left, cx + s.right}});
    }
    top = cy - size / 2;
    shape = RegionData::FromRows(top, placed);
  } else {
    std::vector<std::vector<Span>> placed(static_cast<size_t>(2 * size - 1));
    for (int i = 0; i < size; ++i) {
      int x = direction == 2 ? cx - size / 2 + i : cx + size / 2 - i;
      for (int j = -i; j <= i; ++j) placed[static_cast<size_t>(size - 1 + j)].push_back(Span{x, x + 1});
    }
    shape = RegionData::FromRows(cy - (size - 1), placed);
  }
  FillRows(dc, scope, shape, color);
}

// A check mark fitted into r, three pixels thick.
void CheckMark(DeviceContext& dc, DrawScope& scope, const RECT& r, COLORREF color) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int s = std::max(5, std::min(w, h) - 4);
  int x0 = r.left + (w - s) / 2, y0 = r.top + (h - s) / 2;
  std::vector<std::vector<Span>> rows(static_cast<size_t>(s + 2));
  int knee = s / 3;
  for (int i = 0; i <= s; ++i) {
    int x = x0 + i;
    int y =
        i <= knee ? y0 + s / 2 + i : y0 + s / 2 + knee - (i - knee) * (s / 2 + knee) / std::max(1, s - knee);
    for (int t = 0; t < 3; ++t) {
      int row = y - y0 + t;
      if (row >= 0 && row < static_cast<int>(rows.size()))
        rows[static_cast<size_t>(row)].push_back(Span{x, x + 1});
    }
  }
  FillRows(dc, scope, RegionData::FromRows(y0, rows), color);
}

void Cross(DeviceContext& dc, DrawScope& scope, const RECT& r, COLORREF color) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int s = std::max(4, std::min(w, h) / 2);
  int x0 = r.left + (w - s) / 2, y0 = r.top + (h - s) / 2;
  std::vector<std::vector<Span>> rows(static_cast<size_t>(s));
  for (int i = 0; i < s; ++i) {
    rows[static_cast<size_t>(i)].push_back(Span{x0 + i, x0 + i + 2});
    rows[static_cast<size_t>(i)].push_back(Span{x0 + s - 2 - i, x0 + s - i});
  }
  FillRows(dc, scope, RegionData::FromRows(y0, rows), color);
}

void Box(DeviceContext& dc, DrawScope& scope, const RECT& r, COLORREF color, int topThickness) {
  Fill(dc, scope, RECT{r.left, r.top, r.right, r.top + topThickness}, color);
  Fill(dc, scope, RECT{r.left, r.top, r.left + 1, r.bottom}, color);
  Fill(dc, scope, RECT{r.right - 1, r.top, r.right, r.bottom}, color);
  Fill(dc, scope, RECT{r.left, r.bottom - 1, r.right, r.bottom}, color);
}

RECT Centered(const RECT& r, int w, int h) {
  int x = r.left + (r.right - r.left - w) / 2, y = r.top + (r.bottom - r.top - h) / 2;
  return RECT{x, y, x + w, y + h};
}

// The flat push button every frame control sits on.
void ButtonFace(DeviceContext& dc, DrawScope& scope, const RECT& r, UINT state) {
  bool pushed = (state & (DFCS_PUSHED | DFCS_CHECKED)) != 0;
  Fill(dc, scope, r, GetSysColor(pushed ? COLOR_3DLIGHT : COLOR_BTNFACE));
  if (!(state & DFCS_FLAT))
    Ring(dc, scope, r, BF_RECT, GetSysColor(pushed ? COLOR_3DDKSHADOW : COLOR_3DSHADOW),
         GetSysColor(pushed ? COLOR_3DDKSHADOW : COLOR_3DSHADOW));
}

void CaptionGlyph(DeviceContext& dc, DrawScope& scope, const RECT& r, UINT kind, COLORREF color) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int s = std::max(6, std::min(w, h) / 2);
  RECT g = Centered(r, s, s);
  switch (kind) {
    case DFCS_CAPTIONCLOSE:
      Cross(dc, scope, r, color);
      break;
    case DFCS_CAPTIONMIN:
      Fill(dc, scope, RECT{g.left, g.bottom - 2, g.right, g.bottom}, color);
      break;
    case DFCS_CAPTIONMAX:
      Box(dc, scope, g, color, 2);
      break;
    case DFCS_CAPTIONRESTORE: {
      int d = std::max(2, s / 4);
      Box(dc, scope, RECT{g.left + d, g.top, g.right, g.bottom - d}, color, 2);
      Fill(dc, scope, RECT{g.left, g.top + d, g.right - d, g.bottom}, GetSysColor(COLOR_BTNFACE));
      Box(dc, scope, RECT{g.left, g.top + d, g.right - d, g.bottom}, color, 2);
      break;
    }
    case DFCS_CAPTIONHELP: {
      Box(dc, scope, RECT{g.left + s / 3, g.top, g.right - s / 3, g.top + s / 2}, color, 1);
      Fill(dc, scope, RECT{g.left + s / 2 - 1, g.bottom - 2, g.left + s / 2 + 1, g.bottom}, color);
      break;
    }
  }
}

BOOL FrameControl(DeviceContext& dc, RECT* rect, UINT type, UINT state) {
  DrawScope scope(dc);
  RECT r = *rect;
  COLORREF ink = GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  switch (type) {
    case DFC_BUTTON: {
      if (state & DFCS_BUTTONPUSH) {
        ButtonFace(dc, scope, r, state);
        if (state & DFCS_ADJUSTRECT) *rect = RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        return TRUE;
      }
      if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
        RECT box = Centered(r, 13, 13);
        RegionData disc =
            RegionData::FromRows(box.top, EllipseRows(box.left, box.top, box.right, box.bottom));
        bool face = (state & (DFCS_INACTIVE | DFCS_PUSHED)) != 0;
        FillRows(dc, scope, RegionData::Combine(disc, Outline(disc), RGN_DIFF),
                 GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
        FillRows(dc, scope, Outline(disc), GetSysColor(COLOR_3DSHADOW));
        if (state & DFCS_CHECKED) {
          RECT dot = Centered(box, 5, 5);
          FillRows(dc, scope,
                   RegionData::FromRows(dot.top, EllipseRows(dot.left, dot.top, dot.right, dot.bottom)),
                   GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        }
        return TRUE;
      }
      // Check box (also the three-state one).
      RECT box = Centered(r, 13, 13);
      bool face = (state & (DFCS_INACTIVE | DFCS_PUSHED)) != 0;
      Fill(dc, scope, box, GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
      Ring(dc, scope, box, BF_RECT, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW));
      if (state & DFCS_CHECKED) {
        bool grey = (state & DFCS_INACTIVE) || (state & DFCS_BUTTON3STATE);
        CheckMark(dc, scope, RECT{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
                  GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
      }
      return TRUE;
    }
    case DFC_CAPTION:
      ButtonFace(dc, scope, r, state);
      CaptionGlyph(dc, scope, r, state & 0xFF, ink);
      if (state & DFCS_ADJUSTRECT) *rect = RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
      return TRUE;
    case DFC_SCROLL: {
      UINT kind = state & 0xFF;
      if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        Fill(dc, scope, r, GetSysColor(COLOR_BTNFACE));
        int s = std::min(r.right - r.left, r.bottom - r.top);
        for (int d = 3; d < s; d += 4)
          for (int i = 0; i < d; ++i) {
            int x = r.right - 1 - i, y = r.bottom - d + i;
            Fill(dc, scope, RECT{x, y, x + 1, y + 1}, GetSysColor(COLOR_3DSHADOW));
          }
        return TRUE;
      }
      ButtonFace(dc, scope, r, state);
      int direction = kind == DFCS_SCROLLUP      ? 0
                      : kind == DFCS_SCROLLLEFT  ? 2
                      : kind == DFCS_SCROLLRIGHT ? 3
                                                 : 1;
      RECT glyph = r;
      if (state & DFCS_PUSHED) glyph = RECT{glyph.left + 1, glyph.top + 1, glyph.right + 1, glyph.bottom + 1};
      Arrow(dc, scope, glyph, direction, ink);
      return TRUE;
    }
    case DFC_MENU:
    case DFC_POPUPMENU: {
      // Menu glyphs are masks: black on white.
      Fill(dc, scope, r, RGB(255, 255, 255));
      UINT kind = state & 0xFF;
      if (kind == DFCS_MENUCHECK) {
        CheckMark(dc, scope, r, RGB(0, 0, 0));
      } else if (kind == DFCS_MENUBULLET) {
        RECT dot = Centered(r, 6, 6);
        FillRows(dc, scope,
                 RegionData::FromRows(dot.top, EllipseRows(dot.left, dot.top, dot.right, dot.bottom)),
                 RGB(0, 0, 0));
      } else {
        Arrow(dc, scope, r, kind == DFCS_MENUARROWRIGHT ? 2 : 3, RGB(0, 0, 0));
      }
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

}  // namespace

BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags) {
  if (!rect) return FALSE;
  if (flags & BF_DIAGONAL) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  DrawScope scope(*dc);
  UINT sides = flags & BF_RECT;
  RECT r = *rect;
  COLORREF outerTL = 0, outerBR = 0, innerTL = 0, innerBR = 0;
  bool outer = (edge & BDR_OUTER) != 0, inner = (edge & BDR_INNER) != 0;
  if (flags & BF_MONO) {
    outerTL = outerBR = GetSysColor(COLOR_WINDOWFRAME);
    innerTL = innerBR = GetSysColor(COLOR_WINDOW);
  } else if (flags & BF_FLAT) {
    outerTL = outerBR = GetSysColor(COLOR_3DSHADOW);
    innerTL = innerBR = GetSysColor(COLOR_3DFACE);
  } else {
    outerTL = GetSysColor((edge & BDR_RAISEDOUTER) ? COLOR_3DLIGHT : COLOR_3DSHADOW);
    outerBR = GetSysColor((edge & BDR_RAISEDOUTER) ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT);
    innerTL = GetSysColor((edge & BDR_RAISEDINNER) ? COLOR_3DHILIGHT : COLOR_3DDKSHADOW);
    innerBR = GetSysColor((edge & BDR_RAISEDINNER) ? COLOR_3DSHADOW : COLOR_3DLIGHT);
  }
  if (outer) {
    Ring(*dc, scope, r, sides, outerTL, outerBR);
    r = Deflated(r, sides);
  }
  if (inner) {
    Ring(*dc, scope, r, sides, innerTL, innerBR);
    r = Deflated(r, sides);
  }
  if ((flags & BF_MIDDLE) && r.left < r.right && r.top < r.bottom)
    Fill(*dc, scope, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state) {
  if (!rect) return FALSE;
  DcLock dc(hdc);
  if (!dc) return FALSE;
  return FrameControl(*dc, rect, type, state);
}

namespace {

// The ink of an item drawn black on white into a scratch bitmap: dark pixels.
RegionData InkOf(const Surface& s, int x0, int y0) {
  std::vector<std::vector<Span>> rows(static_cast<size_t>(s.Height()));
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (!IsLight(s.Row(y)[static_cast<size_t>(x)]))
        rows[static_cast<size_t>(y)].push_back(Span{x0 + x, x0 + x + 1});
  return RegionData::FromRows(y0, rows);
}

}  // namespace

BOOL DrawStateA(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx,
                int cy, UINT flags) {
  UINT type = flags & 0xF;
  UINT state = flags & 0xFFF0;
  // Sizes the item says for itself when none is given.
  if (cx == 0 || cy == 0) {
    if (type == DST_ICON) {
      auto icon = FindAs<IconObject>(reinterpret_cast<HICON>(data), ObjectKind::Icon);
      if (!icon) return FALSE;
      if (cx == 0) cx = icon->width;
      if (cy == 0) cy = icon->height;
    } else if (type == DST_BITMAP) {
      BITMAP bm{};
      if (!GetObjectA(reinterpret_cast<HBITMAP>(data), sizeof bm, &bm)) return FALSE;
      if (cx == 0) cx = bm.bmWidth;
      if (cy == 0) cy = bm.bmHeight;
    } else if (type == DST_TEXT || type == DST_PREFIXTEXT) {
      RECT r{0, 0, 0, 0};
      const char* text = reinterpret_cast<const char*>(data);
      DrawTextA(hdc, text, wData ? static_cast<int>(wData) : -1, &r,
                DT_CALCRECT | DT_SINGLELINE | (type == DST_TEXT ? DT_NOPREFIX : 0));
      if (cx == 0) cx = r.right;
      if (cy == 0) cy = r.bottom;
    }
  }
  if (cx <= 0 || cy <= 0) return TRUE;

  // Draws the item at (px, py) of `target`.
  auto drawItem = [&](HDC target, int px, int py, COLORREF textColor) -> BOOL {
    switch (type) {
      case DST_ICON:
        return DrawIconEx(target, px, py, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_NORMAL);
      case DST_BITMAP: {
        // Read directly: the bitmap may be selected into a DC of the caller's.
        auto bitmap = FindAs<BitmapObject>(reinterpret_cast<HBITMAP>(data), ObjectKind::Bitmap);
        DcLock dc(target);
        if (!bitmap || !dc) return FALSE;
        bitmap->BeginAccess();
        TransferSource source;
        source.surface = bitmap->surface.get();
        if (bitmap->IsMonoDevice() && !dc->IsMonochrome()) {
          source.convert = TransferSource::Convert::MonoToColor;
          source.foreground = PixelFromColor(dc->state.textColor);
          source.background = PixelFromColor(dc->state.bkColor);
        }
        DrawScope scope(*dc);
        RECT d{dc->SurfaceX(px), dc->SurfaceY(py), dc->SurfaceX(px + cx), dc->SurfaceY(py + cy)};
        Transfer(scope, d, source, RECT{0, 0, cx, cy}, false, false, SolidPaint(0), 0xCC, false);
        return TRUE;
      }
      case DST_TEXT:
      case DST_PREFIXTEXT: {
        RECT r{px, py, px + cx, py + cy};
        int mode = SetBkMode(target, TRANSPARENT);
        COLORREF old = SetTextColor(target, textColor);
        UINT format = DT_SINGLELINE | DT_NOCLIP | (type == DST_TEXT ? DT_NOPREFIX : 0) |
                      ((state & DSS_HIDEPREFIX) ? DT_HIDEPREFIX : 0) |
                      ((state & DSS_PREFIXONLY) ? DT_PREFIXONLY : 0);
        DrawTextA(target, reinterpret_cast<const char*>(data), wData ? static_cast<int>(wData) : -1, &r,
                  format);
        SetTextColor(target, old);
        SetBkMode(target, mode);
        return TRUE;
      }
      case DST_COMPLEX:
        return proc ? proc(target, data, wData, cx, cy) : FALSE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  };

  if (!(state & (DSS_DISABLED | DSS_MONO | DSS_UNION))) {
    if (type == DST_TEXT || type == DST_PREFIXTEXT) return drawItem(hdc, x, y, GetTextColor(hdc));
    return drawItem(hdc, x, y, 0);
  }

  // Other states draw the item's shape: rendered black on white off-screen, dark pixels are ink.
  HBITMAP scratch = CreateBitmap(cx, cy, 1, 32, nullptr);
  HDC memory = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(memory, scratch);
  RECT all{0, 0, cx, cy};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (HGDIOBJ font = GetCurrentObject(hdc, OBJ_FONT)) SelectObject(memory, font);
  drawItem(memory, 0, 0, RGB(0, 0, 0));
  RegionData ink;
  {
    DcLock m(memory);
    if (m) ink = InkOf(*m->Target(), 0, 0);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(scratch);

  DcLock dc(hdc);
  if (!dc) return FALSE;
  DrawScope scope(*dc);
  auto fillInk = [&](int dx, int dy, const Paint& paint) {
    RegionData shape = ink;
    shape.Offset(dc->SurfaceX(x + dx), dc->SurfaceY(y + dy));
    FillRegionRop(scope, shape, paint, 0xF0);
  };
  auto sysPaint = [&](int index) {
    uint32_t p = PixelFromColor(GetSysColor(index));
    return SolidPaint(dc->IsMonochrome() ? ToMono(p) : p);
  };
  auto brushObject = FindAs<BrushObject>(brush, ObjectKind::Brush);
  if (state & DSS_DISABLED) {
    // Embossed: a highlight copy one pixel down and right under a shadow copy.
    fillInk(1, 1, sysPaint(COLOR_3DHILIGHT));
    fillInk(0, 0, sysPaint(COLOR_3DSHADOW));
  } else if (state & DSS_MONO) {
    fillInk(0, 0, brushObject ? ResolveBrush(*dc, brushObject.get()) : ResolveBrush(*dc, nullptr));
  } else {
    // DSS_UNION: every other ink pixel in the highlight colour.
    RegionData checker;
    std::vector<std::vector<Span>> rows(static_cast<size_t>(cy));
    for (int yy = 0; yy < cy; ++yy)
      for (int xx = yy % 2; xx < cx; xx += 2) rows[static_cast<size_t>(yy)].push_back(Span{xx, xx + 1});
    ink = RegionData::Combine(ink, RegionData::FromRows(0, rows), RGN_AND);
    fillInk(0, 0, sysPaint(COLOR_HIGHLIGHT));
  }
  return TRUE;
}
