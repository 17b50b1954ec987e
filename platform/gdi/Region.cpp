// Regions and DC clipping.
#include "platform/gdi/Region.h"

#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

using namespace pictavo::gdi;

namespace {

HRGN MakeRegion(RegionData data) {
  return static_cast<HRGN>(InsertObject(std::make_shared<RegionObject>(std::move(data))));
}

std::shared_ptr<RegionObject> Find(HRGN region) {
  auto r = FindAs<RegionObject>(region, ObjectKind::Region);
  if (!r) SetLastError(ERROR_INVALID_HANDLE);
  return r;
}

RECT Normalized(int left, int top, int right, int bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// Applies a combine mode to the DC's clip region (device coordinates). No clip region means
// "everything", which RGN_AND/RGN_DIFF need as a starting point.
int CombineClip(DeviceContext& dc, const RegionData* region, int mode) {
  std::optional<RegionData>& clip = dc.state.clip;
  if (mode == RGN_COPY) {
    if (region)
      clip = *region;
    else
      clip.reset();
  } else {
    if (!region) return ERROR;
    RegionData everything(RECT{-(1 << 27), -(1 << 27), 1 << 27, 1 << 27});
    const RegionData& current = clip ? *clip : everything;
    if (!clip && mode == RGN_OR) {
      // Everything, still.
    } else {
      clip = RegionData::Combine(current, *region, mode);
    }
  }
  dc.ClipChanged();
  return dc.Clip().Kind();
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return MakeRegion(RegionData(Normalized(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  RECT r = Normalized(left, top, right, bottom);
  return MakeRegion(RegionData::FromRows(
      r.top, RoundRectRows(r.left, r.top, r.right - 1, r.bottom - 1, ellipseWidth, ellipseHeight)));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  RECT r = Normalized(left, top, right, bottom);
  return MakeRegion(RegionData::FromRows(r.top, EllipseRows(r.left, r.top, r.right - 1, r.bottom - 1)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  int top = 0;
  auto rows = PolygonRows(points, count, fillMode, top);
  return MakeRegion(RegionData::FromRows(top, rows));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  auto d = Find(dest);
  auto a = Find(src1);
  if (!d || !a) return ERROR;
  if (mode == RGN_COPY) {
    d->Set(a->Get());
    return d->Get().Kind();
  }
  auto b = Find(src2);
  if (!b || mode < RGN_AND || mode > RGN_DIFF) return ERROR;
  RegionData result = RegionData::Combine(a->Get(), b->Get(), mode);
  int kind = result.Kind();
  d->Set(std::move(result));
  return kind;
}

int OffsetRgn(HRGN region, int dx, int dy) {
  auto r = Find(region);
  if (!r) return ERROR;
  RegionData data = r->Get();
  data.Offset(dx, dy);
  int kind = data.Kind();
  r->Set(std::move(data));
  return kind;
}

BOOL PtInRegion(HRGN region, int x, int y) {
  auto r = Find(region);
  return r && r->Get().Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
  auto r = Find(region);
  if (!r || !rect) return FALSE;
  return r->Get().Intersects(Normalized(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, RECT* box) {
  auto r = Find(region);
  if (!r || !box) return ERROR;
  RegionData data = r->Get();
  *box = data.Box();
  return data.Kind();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto ra = Find(a);
  auto rb = Find(b);
  if (!ra || !rb) return ERROR;
  return ra->Get() == rb->Get() ? TRUE : FALSE;
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  auto r = Find(region);
  if (!r) return FALSE;
  r->Set(RegionData(Normalized(left, top, right, bottom)));
  return TRUE;
}

namespace {

// The region in surface coordinates of the DC (regions given to drawing calls are logical).
RegionData ToSurface(DeviceContext& dc, RegionData data) {
  data.Offset(dc.SurfaceX(0), dc.SurfaceY(0));
  return data;
}

}  // namespace

BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush) {
  auto r = Find(region);
  auto b = FindAs<BrushObject>(brush, ObjectKind::Brush);
  DcLock dc(hdc);
  if (!dc || !r || !b) return FALSE;
  DrawScope scope(*dc);
  FillRegionRop(scope, ToSurface(*dc, r->Get()), ResolveBrush(*dc, b.get()), 0xF0);
  return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN region) {
  auto r = Find(region);
  DcLock dc(hdc);
  if (!dc || !r) return FALSE;
  DrawScope scope(*dc);
  FillRegionRop(scope, ToSurface(*dc, r->Get()), ResolveBrush(*dc, nullptr), Rop2ToRop3(dc->state.rop2));
  return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN region) {
  auto r = Find(region);
  DcLock dc(hdc);
  if (!dc || !r) return FALSE;
  DrawScope scope(*dc);
  FillRegionRop(scope, ToSurface(*dc, r->Get()), SolidPaint(0), 0x55);
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN region, HBRUSH brush, int width, int height) {
  auto r = Find(region);
  auto b = FindAs<BrushObject>(brush, ObjectKind::Brush);
  DcLock dc(hdc);
  if (!dc || !r || !b || width <= 0 || height <= 0) return FALSE;
  // The frame is the region minus the region shrunk by width/height from every side.
  RegionData shape = r->Get();
  RegionData inner = shape;
  for (int dx = -width; dx <= width; dx += width)
    for (int dy = -height; dy <= height; dy += height) {
      RegionData moved = shape;
      moved.Offset(dx, dy);
      inner = RegionData::Combine(inner, moved, RGN_AND);
    }
  DrawScope scope(*dc);
  FillRegionRop(scope, ToSurface(*dc, RegionData::Combine(shape, inner, RGN_DIFF)),
                ResolveBrush(*dc, b.get()), 0xF0);
  return TRUE;
}

int SelectClipRgn(HDC hdc, HRGN region) {
  return ExtSelectClipRgn(hdc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC hdc, HRGN region, int mode) {
  std::optional<RegionData> data;
  if (region) {
    auto r = Find(region);
    if (!r) return ERROR;
    data = r->Get();
  }
  if (mode < RGN_AND || mode > RGN_COPY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  DcLock dc(hdc);
  if (!dc) return ERROR;
  return CombineClip(*dc, data ? &*data : nullptr, mode);
}

namespace {

// Logical rectangle to device coordinates.
RECT ToDevice(DeviceContext& dc, int left, int top, int right, int bottom) {
  int dx = dc.state.viewportOrg.x - dc.state.windowOrg.x;
  int dy = dc.state.viewportOrg.y - dc.state.windowOrg.y;
  return Normalized(left + dx, top + dy, right + dx, bottom + dy);
}

}  // namespace

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DcLock dc(hdc);
  if (!dc) return ERROR;
  RegionData rect(ToDevice(*dc, left, top, right, bottom));
  return CombineClip(*dc, &rect, RGN_AND);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DcLock dc(hdc);
  if (!dc) return ERROR;
  RegionData rect(ToDevice(*dc, left, top, right, bottom));
  return CombineClip(*dc, &rect, RGN_DIFF);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  DcLock dc(hdc);
  if (!dc) return ERROR;
  if (dc->state.clip) dc->state.clip->Offset(dx, dy);
  dc->ClipChanged();
  return dc->Clip().Kind();
}

int GetClipBox(HDC hdc, RECT* rect) {
  DcLock dc(hdc);
  if (!dc || !rect) return ERROR;
  const RegionData& clip = dc->Clip();
  RECT box = clip.Box();
  if (clip.IsEmpty()) {
    *rect = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  // Surface to logical coordinates.
  int dx = dc->SurfaceX(0), dy = dc->SurfaceY(0);
  *rect = RECT{box.left - dx, box.top - dy, box.right - dx, box.bottom - dy};
  return clip.Kind();
}

int GetClipRgn(HDC hdc, HRGN region) {
  auto r = Find(region);
  DcLock dc(hdc);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  r->Set(*dc->state.clip);
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DcLock dc(hdc);
  if (!dc) return FALSE;
  return dc->Clip().Contains(dc->SurfaceX(x), dc->SurfaceY(y)) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  DcLock dc(hdc);
  if (!dc || !rect) return FALSE;
  return dc->Clip().Intersects(dc->ToSurface(*rect)) ? TRUE : FALSE;
}

namespace pictavo::gdi {

std::vector<RECT> RegionRects(HRGN region) {
  auto r = Find(region);
  return r ? r->Get().Rects() : std::vector<RECT>{};
}

RegionData RegionDataOf(HRGN region) {
  auto r = Find(region);
  return r ? r->Get() : RegionData{};
}

HRGN CreateRgnFromData(const RegionData& data) {
  return MakeRegion(data);
}

}  // namespace pictavo::gdi
