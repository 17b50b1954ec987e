// Icons: a colour bitmap and a monochrome AND mask (or a 32-bit colour bitmap with alpha).
#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/IconObject.h"
#include "platform/gdi/Raster.h"

namespace pictavo::gdi {
namespace {

std::shared_ptr<BitmapObject> CopyBitmap(const BitmapObject& source) {
  auto copy = BitmapObject::CreateDevice(source.Width(), source.Height(), source.IsMonoDevice() ? 1 : 32);
  if (!copy) return nullptr;
  for (int y = 0; y < source.Height(); ++y)
    std::copy_n(source.surface->Row(y).data(), source.Width(), copy->surface->Row(y).data());
  return copy;
}

}  // namespace

SIZE IconSize(HICON handle) {
  auto icon = FindAs<IconObject>(handle, ObjectKind::Icon);
  if (!icon) {
    SetLastError(ERROR_INVALID_HANDLE);
    return SIZE{0, 0};
  }
  if (icon->color) return SIZE{icon->color->Width(), icon->color->Height()};
  return SIZE{icon->mask->Width(), icon->mask->Height() / 2};
}

bool IconObject::HasAlpha() const {
  if (!color || color->bitsPerPixel != 32) return false;
  for (int y = 0; y < color->Height(); ++y)
    for (uint32_t p : color->surface->Row(y))
      if (p >> 24) return true;
  return false;
}

std::shared_ptr<IconObject> IconObject::Create(const BitmapObject* colorBitmap, const BitmapObject& mask,
                                               bool isIcon, POINT hotspot) {
  auto icon = std::make_shared<IconObject>();
  icon->isIcon = isIcon;
  const_cast<BitmapObject&>(mask).BeginAccess();
  icon->mask = CopyBitmap(mask);
  if (colorBitmap) {
    const_cast<BitmapObject*>(colorBitmap)->BeginAccess();
    icon->color = CopyBitmap(*colorBitmap);
    if (!icon->color) return nullptr;
  }
  if (!icon->mask) return nullptr;
  icon->width = mask.Width();
  icon->height = colorBitmap ? mask.Height() : mask.Height() / 2;
  icon->hotspot = isIcon ? POINT{icon->width / 2, icon->height / 2} : hotspot;
  icon->alpha = icon->HasAlpha();
  return icon;
}

void DrawIconInto(DeviceContext& dc, const IconObject& icon, int x, int y, int cx, int cy, UINT flags) {
  if (cx <= 0) cx = icon.width;
  if (cy <= 0) cy = icon.height;
  if (icon.width <= 0 || icon.height <= 0) return;
  DrawScope scope(dc);
  if (!scope) return;
  RECT d{dc.SurfaceX(x), dc.SurfaceY(y), dc.SurfaceX(x + cx), dc.SurfaceY(y + cy)};
  bool mono = dc.IsMonochrome();
  Surface& target = scope.Target();
  const Surface& maskSurface = *icon.mask->surface;
  const Surface* colorSurface = icon.color ? icon.color->surface.get() : nullptr;
  int colorOffset = icon.color ? 0 : icon.height;  // a monochrome icon keeps its XOR image below the mask
  ForEachClipped(scope.Clip(), d, [&](int left, int top, int right, int bottom) {
    for (int yy = top; yy < bottom; ++yy) {
      int sy = static_cast<int>((int64_t{2} * (yy - d.top) + 1) * icon.height / (int64_t{2} * cy));
      const uint32_t* maskRow = maskSurface.Row(sy).data();
      const uint32_t* colorRow =
          colorSurface ? colorSurface->Row(sy).data() : maskSurface.Row(sy + colorOffset).data();
      uint32_t* row = target.Row(yy).data();
      for (int xx = left; xx < right; ++xx) {
        int sx = static_cast<int>((int64_t{2} * (xx - d.left) + 1) * icon.width / (int64_t{2} * cx));
        uint32_t c = colorRow[sx];
        uint32_t& p = row[xx];
        if (icon.alpha && (flags & DI_IMAGE) && (flags & DI_MASK)) {
          // Straight (not premultiplied) alpha.
          uint32_t a = c >> 24, out = p & 0xFF000000u;
          for (int shift = 0; shift < 24; shift += 8) {
            uint32_t sc = (c >> shift) & 0xFF, dc0 = (p >> shift) & 0xFF;
            out |= ((sc * a + dc0 * (255 - a) + 127) / 255) << shift;
          }
          p = mono ? ToMono(out) : out;
          continue;
        }
        if (flags & DI_MASK) p &= (maskRow[sx] & kRgbMask) ? 0xFFFFFFFFu : 0xFF000000u;
        if (flags & DI_IMAGE) {
          uint32_t value = mono ? ToMono(c) : (c & kRgbMask);
          p = (flags & DI_MASK) ? (p ^ value) : ((p & 0xFF000000u) | value);
        }
      }
    }
    scope.Touch(RECT{left, top, right, bottom});
  });
}

}  // namespace pictavo::gdi

using namespace pictavo::gdi;

HICON CreateIconIndirect(ICONINFO* info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto mask = FindAs<BitmapObject>(info->hbmMask, ObjectKind::Bitmap);
  auto color = info->hbmColor ? FindAs<BitmapObject>(info->hbmColor, ObjectKind::Bitmap) : nullptr;
  if (!mask || (info->hbmColor && !color)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto icon = IconObject::Create(color.get(), *mask, info->fIcon != 0,
                                 POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)});
  return icon ? static_cast<HICON>(InsertObject(icon)) : nullptr;
}

BOOL GetIconInfo(HICON handle, ICONINFO* info) {
  auto icon = FindAs<IconObject>(handle, ObjectKind::Icon);
  if (!icon || !info) {
    SetLastError(icon ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  info->fIcon = icon->isIcon;
  info->xHotspot = static_cast<DWORD>(icon->hotspot.x);
  info->yHotspot = static_cast<DWORD>(icon->hotspot.y);
  // The caller owns (and deletes) copies of the bitmaps.
  auto copy = [](const std::shared_ptr<BitmapObject>& b) -> HBITMAP {
    if (!b) return nullptr;
    auto c = BitmapObject::CreateDevice(b->Width(), b->Height(), b->IsMonoDevice() ? 1 : 32);
    if (!c) return nullptr;
    for (int y = 0; y < b->Height(); ++y)
      std::copy_n(b->surface->Row(y).data(), b->Width(), c->surface->Row(y).data());
    return static_cast<HBITMAP>(InsertObject(c));
  };
  info->hbmMask = copy(icon->mask);
  info->hbmColor = copy(icon->color);
  return TRUE;
}

BOOL DestroyIcon(HICON icon) {
  if (!FindAs<IconObject>(icon, ObjectKind::Icon)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return RemoveObject(icon) ? TRUE : FALSE;
}

HICON CopyIcon(HICON handle) {
  auto icon = FindAs<IconObject>(handle, ObjectKind::Icon);
  if (!icon) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Icons never change after creation, so the copy shares the pixels.
  auto copy = std::make_shared<IconObject>();
  copy->color = icon->color;
  copy->mask = icon->mask;
  copy->width = icon->width;
  copy->height = icon->height;
  copy->hotspot = icon->hotspot;
  copy->isIcon = icon->isIcon;
  copy->alpha = icon->alpha;
  return static_cast<HICON>(InsertObject(copy));
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON handle, int cx, int cy, UINT step, HBRUSH flickerFree,
                UINT flags) {
  auto icon = FindAs<IconObject>(handle, ObjectKind::Icon);
  if (!icon) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if ((flags & DI_NORMAL) == 0) flags |= DI_NORMAL;
  if (flickerFree) {
    // Drawn over the brush in one step, as the platform does through an off-screen bitmap.
    RECT r{x, y, x + (cx > 0 ? cx : icon->width), y + (cy > 0 ? cy : icon->height)};
    FillRect(hdc, &r, flickerFree);
  }
  DcLock dc(hdc);
  if (!dc) return FALSE;
  DrawIconInto(*dc, *icon, x, y, cx, cy, flags);
  return TRUE;
}

// Draws at the icon's own size.
BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
