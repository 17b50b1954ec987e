// Window DCs over the top-level surfaces, the visible part of a window, and telling the display
// which surfaces changed.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Display.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/PaintInternal.h"
#include "platform/user/UserInternal.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

struct DcRecord {
  HWND hwnd = nullptr;
  HWND top = nullptr;
  RECT bounds{};  // what the DC may touch, in surface coordinates
};
// DCs handed out and not yet released; guarded by UserLock().
std::unordered_map<HDC, DcRecord>& Dcs() {
  static auto* dcs = new std::unordered_map<HDC, DcRecord>;
  return *dcs;
}

void EnsureSurfaceLocked(Window* top) {
  if (!top->surface) ResizeSurfaceLocked(top);
}

// Subtracts the visible windows above `w` among its siblings (window rectangles, in the
// top-level surface's coordinates).
void ClipSiblingsLocked(const Window* w, gdi::RegionData& region) {
  for (const Window* s : w->parent->children) {
    if (s == w) break;
    if (!(s->style & WS_VISIBLE)) continue;
    region = gdi::RegionData::Combine(region, gdi::RegionData(RectInTopLevelLocked(s)), RGN_DIFF);
  }
}

// The part of a window its DC may draw, in its top-level surface's coordinates.
gdi::RegionData VisibleRegionLocked(Window* w, bool windowDC, bool clipChildren, bool clipSiblings) {
  const RECT windowRect = RectInTopLevelLocked(w);
  RECT base = windowRect;
  if (!windowDC) {
    const POINT origin = ClientOriginInTopLevelLocked(w);
    base = RECT{origin.x, origin.y, origin.x + Width(w->client), origin.y + Height(w->client)};
  }
  gdi::RegionData region(base);
  if (!IsVisibleLocked(w)) return gdi::RegionData();
  if (IsUpdateLockedLocked(w)) return gdi::RegionData();
  if (!IsTopLevel(w)) {
    if (clipSiblings) ClipSiblingsLocked(w, region);
    // Every ancestor's client area clips; those that clip their siblings lose the area of the
    // siblings above them too.
    for (Window* a = w->parent; a && !a->isDesktop; a = a->parent) {
      const POINT origin = ClientOriginInTopLevelLocked(a);
      region = region.Intersected(
          RECT{origin.x, origin.y, origin.x + Width(a->client), origin.y + Height(a->client)});
      if (!IsTopLevel(a) && (a->style & WS_CLIPSIBLINGS)) ClipSiblingsLocked(a, region);
    }
  }
  if (clipChildren) {
    for (const Window* c : w->children) {
      if (!(c->style & WS_VISIBLE)) continue;
      region = gdi::RegionData::Combine(region, gdi::RegionData(RectInTopLevelLocked(c)), RGN_DIFF);
    }
  }
  if (w->shape) {
    gdi::RegionData shape = *w->shape;
    shape.Offset(windowRect.left, windowRect.top);
    region = gdi::RegionData::Combine(region, shape, RGN_AND);
  }
  return region;
}

HRGN HrgnFrom(const gdi::RegionData& region) {
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& r : region.Rects()) {
    HRGN piece = CreateRectRgnIndirect(&r);
    CombineRgn(out, out, piece, RGN_OR);
    DeleteObject(piece);
  }
  return out;
}

gdi::RegionData FromHrgn(HRGN region) {
  gdi::RegionData out;
  for (const RECT& r : gdi::RegionRects(region))
    out = gdi::RegionData::Combine(out, gdi::RegionData(r), RGN_OR);
  return out;
}

// Makes the DC: `extra` (device coordinates) further limits or excludes what it draws.
HDC MakeDC(HWND hwnd, DWORD flags, const gdi::RegionData* extra, bool exclude) {
  std::shared_ptr<gdi::Surface> surface;
  POINT origin{};
  gdi::RegionData visible;
  DcRecord record;
  {
    std::lock_guard lock(UserLock());
    Window* w = hwnd ? GetLocked(hwnd) : DesktopLocked();
    if (!w) return nullptr;
    const bool windowDC = (flags & DCX_WINDOW) != 0;
    Window* top = w->isDesktop ? w : TopLevelOf(w);
    EnsureSurfaceLocked(top);
    surface = top->surface;
    if (w->isDesktop) {
      origin = POINT{0, 0};
      visible = gdi::RegionData(top->rect);
    } else {
      const RECT rect = RectInTopLevelLocked(w);
      origin = windowDC ? POINT{rect.left, rect.top} : ClientOriginInTopLevelLocked(w);
      const bool clipChildren = (flags & DCX_CLIPCHILDREN) || (!windowDC && (w->style & WS_CLIPCHILDREN));
      const bool clipSiblings = (flags & DCX_CLIPSIBLINGS) || (w->style & WS_CLIPSIBLINGS);
      visible = VisibleRegionLocked(w, windowDC, clipChildren, clipSiblings);
    }
    if (extra) {
      gdi::RegionData limit = *extra;
      limit.Offset(origin.x, origin.y);
      visible = gdi::RegionData::Combine(visible, limit, exclude ? RGN_DIFF : RGN_AND);
    }
    visible = visible.Intersected(surface->Bounds());
    record.hwnd = w->handle;
    record.top = top->handle;
    record.bounds = visible.IsEmpty() ? RECT{} : visible.Box();
  }
  HDC dc = gdi::CreateSurfaceDC(surface, origin, record.bounds);
  if (!dc) return nullptr;
  if (!visible.IsRect() && !visible.IsEmpty()) {
    gdi::RegionData device = visible;
    device.Offset(-origin.x, -origin.y);
    HRGN clip = HrgnFrom(device);
    gdi::SetSystemClip(dc, clip);
    DeleteObject(clip);
  }
  std::lock_guard lock(UserLock());
  Dcs()[dc] = record;
  return dc;
}

}  // namespace

void ResizeSurfaceLocked(Window* top) {
  const int width = std::max(1, Width(top->rect));
  const int height = std::max(1, Height(top->rect));
  auto old = top->surface;
  if (old && old->Width() == width && old->Height() == height) return;
  auto surface = std::make_shared<gdi::Surface>(width, height);
  if (old) {
    const int w = std::min(width, old->Width());
    for (int y = 0; y < std::min(height, old->Height()); ++y)
      std::memcpy(surface->Row(y).data(), old->Row(y).data(), static_cast<size_t>(w) * sizeof(uint32_t));
  }
  top->surface = std::move(surface);
  top->dirty = top->surface->Bounds();
}

void SurfaceDrawnLocked(Window* top, const RECT& rect) {
  if (Empty(rect)) return;
  top->dirty = Union(top->dirty, rect);
  if (top->queue) top->queue->MarkSurfacesDirty();
}

HDC GetDCForUpdate(HWND hwnd, const gdi::RegionData& update) {
  return MakeDC(hwnd, DCX_CACHE | DCX_INTERSECTRGN, &update, false);
}

void FlushSurfaceChanges(MessageQueue& queue) {
  std::vector<std::pair<HWND, RECT>> changed;
  {
    std::lock_guard lock(UserLock());
    for (Window* top : DesktopLocked()->children) {
      if (top->queue.get() != &queue || Empty(top->dirty)) continue;
      changed.emplace_back(top->handle, top->dirty);
      top->dirty = RECT{};
    }
  }
  if (changed.empty()) return;
  if (auto display = CurrentDisplay())
    for (auto& [hwnd, rect] : changed) display->SurfaceChanged(hwnd, rect);
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;
namespace gdi = pictavo::gdi;

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if ((flags & DCX_INTERSECTUPDATE) && hwnd) {
    gdi::RegionData update;
    {
      std::lock_guard lock(UserLock());
      Window* w = GetLocked(hwnd);
      if (!w) return nullptr;
      update = w->update;
    }
    return MakeDC(hwnd, flags, &update, false);
  }
  if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    const gdi::RegionData region = FromHrgn(clip);
    return MakeDC(hwnd, flags, &region, (flags & DCX_EXCLUDERGN) != 0);
  }
  return MakeDC(hwnd, flags, nullptr, false);
}

HDC GetDC(HWND hwnd) {
  return GetDCEx(hwnd, nullptr, DCX_CACHE);
}

HDC GetWindowDC(HWND hwnd) {
  return GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_WINDOW);
}

int ReleaseDC(HWND hwnd, HDC dc) {
  DcRecord record;
  {
    std::lock_guard lock(UserLock());
    auto it = Dcs().find(dc);
    if (it == Dcs().end()) return 0;
    record = it->second;
    Dcs().erase(it);
    // Whatever the DC could touch may have changed: the display is told at the next look.
    if (Window* top = FindLocked(record.top); top && !top->isDesktop) SurfaceDrawnLocked(top, record.bounds);
  }
  gdi::DeleteSurfaceDC(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  std::lock_guard lock(UserLock());
  auto it = Dcs().find(dc);
  return it == Dcs().end() ? nullptr : it->second.hwnd;
}
