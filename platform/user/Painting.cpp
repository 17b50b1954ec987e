// Update regions, WM_PAINT and the painting calls.
#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/ClassTable.h"
#include "platform/user/Display.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/PaintInternal.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

HWND g_locked = nullptr;  // LockWindowUpdate's window; guarded by UserLock()

RECT ClientArea(const Window* w) {
  return RECT{0, 0, Width(w->client), Height(w->client)};
}

void Recount(Window* w) {
  const bool needs = !w->update.IsEmpty() || w->frame || w->internalPaint;
  if (needs == w->paintCounted || !w->queue) return;
  w->paintCounted = needs;
  w->queue->AddPaint(needs ? 1 : -1);
  if (needs) w->queue->Wake(QS_PAINT);
}

bool AffectsChildren(const Window* w, UINT flags) {
  if (flags & RDW_ALLCHILDREN) return true;
  if (flags & RDW_NOCHILDREN) return false;
  return !(w->style & WS_CLIPCHILDREN);
}

// Applies RedrawWindow's invalidation and validation to `w` for `area` (client coordinates, null
// for all of it), then to the children it affects.
void RedrawLocked(Window* w, const gdi::RegionData* area, UINT flags) {
  if (!IsVisibleLocked(w) && !(flags & RDW_VALIDATE)) return;
  const RECT client = ClientArea(w);
  gdi::RegionData part = area ? area->Intersected(client) : gdi::RegionData(client);
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_INVALIDATE) {
    if (!part.IsEmpty()) {
      w->update = gdi::RegionData::Combine(w->update, part, RGN_OR);
      if (flags & RDW_ERASE) w->erase = true;
    }
    if (flags & RDW_FRAME) w->frame = true;
  } else if (flags & RDW_VALIDATE) {
    w->update = area ? gdi::RegionData::Combine(w->update, part, RGN_DIFF) : gdi::RegionData();
    if (w->update.IsEmpty()) w->erase = false;
    if (flags & RDW_NOFRAME) w->frame = false;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  }
  if (flags & RDW_NOERASE) w->erase = false;
  Recount(w);

  if (!AffectsChildren(w, flags)) return;
  for (Window* child : w->children) {
    if (area) {
      // The part of the area over the child, in the child's client coordinates.
      gdi::RegionData over = area->Intersected(child->rect);
      if (over.IsEmpty()) continue;
      // The child's frame lies on the parent's client area: painting there covers it.
      const bool onFrame =
          !gdi::RegionData::Combine(over, gdi::RegionData(child->client), RGN_DIFF).IsEmpty();
      over.Offset(-child->client.left, -child->client.top);
      const UINT invalidatesFrame = (flags & RDW_INVALIDATE) && onFrame ? RDW_FRAME : 0;
      RedrawLocked(child, &over, (flags & ~static_cast<UINT>(RDW_FRAME)) | invalidatesFrame);
    } else {
      RedrawLocked(child, nullptr, (flags & RDW_INVALIDATE) ? flags | RDW_FRAME : flags);
    }
  }
}

void DropPaintStateTreeLocked(Window* w) {
  w->update.Clear();
  w->erase = w->frame = w->internalPaint = false;
  Recount(w);
  for (Window* child : w->children) DropPaintStateTreeLocked(child);
}

gdi::RegionData RegionFromHrgn(HRGN region) {
  gdi::RegionData out;
  for (const RECT& r : gdi::RegionRects(region))
    out = gdi::RegionData::Combine(out, gdi::RegionData(r), RGN_OR);
  return out;
}

// Sends what a window and (when affected) its children have pending: WM_PAINT for
// RDW_UPDATENOW, only WM_NCPAINT and WM_ERASEBKGND for RDW_ERASENOW.
void UpdateNow(HWND hwnd, UINT flags) {
  bool paint = false;
  bool frame = false;
  bool erase = false;
  std::vector<HWND> children;
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w || !IsVisibleLocked(w)) return;
    if (IsOwnThread(w)) {
      paint = w->paintCounted;
      frame = w->frame;
      erase = w->erase;
    }
    if (AffectsChildren(w, flags))
      for (Window* child : w->children) children.push_back(child->handle);
  }
  if (flags & RDW_UPDATENOW) {
    if (paint) SendMessage(hwnd, WM_PAINT, 0, 0);
  } else if (frame || erase) {
    if (frame) {
      {
        std::lock_guard lock(UserLock());
        if (Window* w = FindLocked(hwnd)) {
          w->frame = false;
          Recount(w);
        }
      }
      SendMessage(hwnd, WM_NCPAINT, 1, 0);
    }
    if (erase) {
      HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_INTERSECTUPDATE);
      {
        std::lock_guard lock(UserLock());
        if (Window* w = FindLocked(hwnd)) w->erase = false;
      }
      if (dc) {
        SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(hwnd, dc);
      }
    }
  }
  for (HWND child : children) UpdateNow(child, flags);
}

}  // namespace

void ReleasePaintStateLocked(Window* w) {
  w->update.Clear();
  w->frame = w->internalPaint = w->erase = false;
  Recount(w);
  w->shape.reset();
  if (g_locked == w->handle) g_locked = nullptr;
}

void DropPaintStateLocked(Window* w) {
  DropPaintStateTreeLocked(w);
}

bool IsUpdateLockedLocked(const Window* w) {
  if (!g_locked) return false;
  for (; w; w = w->parent)
    if (w->handle == g_locked) return true;
  return false;
}

void PaintDispatched(HWND hwnd) {
  std::lock_guard lock(UserLock());
  if (Window* w = FindLocked(hwnd)) {
    w->internalPaint = false;
    Recount(w);
  }
}

bool FindPaintWindow(MessageQueue& queue, const MessageFilter& filter, HWND* hwnd) {
  // Parents come before their children, so what a parent paints over a child is repainted by the
  // child afterwards. A window whose frame alone needs drawing gets WM_NCPAINT on the way, when
  // its turn comes (a procedure that validates without BeginPaint still gets its frame drawn).
  for (;;) {
    if (queue.PaintCount() <= 0) return false;
    HWND frameOnly = nullptr;
    {
      std::lock_guard lock(UserLock());
      std::vector<Window*> all;
      CollectLocked(DesktopLocked(), all);
      for (Window* w : all) {
        if (w->queue.get() != &queue || !w->paintCounted || !IsVisibleLocked(w)) continue;
        if (w->update.IsEmpty() && !w->internalPaint) {
          w->frame = false;
          Recount(w);
          frameOnly = w->handle;
          break;
        }
        if (!filter.Matches(w->handle)) continue;
        *hwnd = w->handle;
        return true;
      }
    }
    if (!frameOnly) return false;
    SendMessage(frameOnly, WM_NCPAINT, 1, 0);
  }
}

BOOL EraseWithClassBrush(HWND hwnd, HDC dc) {
  HBRUSH brush = nullptr;
  RECT client{};
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w || !w->cls) return FALSE;
    brush = w->cls->background;
    client = ClientArea(w);
  }
  if (!brush || !dc) return FALSE;
  // COLOR_* + 1 stands for that system colour's brush.
  const auto value = reinterpret_cast<uintptr_t>(brush);
  if (value <= 31) brush = GetSysColorBrush(static_cast<int>(value) - 1);
  FillRect(dc, &client, brush);
  return TRUE;
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;
namespace gdi = pictavo::gdi;

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  if (!hwnd) {
    std::vector<HWND> tops;
    {
      std::lock_guard lock(UserLock());
      for (Window* w : DesktopLocked()->children) tops.push_back(w->handle);
    }
    for (HWND top : tops) RedrawWindow(top, nullptr, nullptr, flags);
    return TRUE;
  }
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_NOERASE | RDW_INTERNALPAINT)) {
      if (region) {
        const gdi::RegionData area = RegionFromHrgn(region);
        RedrawLocked(w, &area, flags);
      } else if (rect) {
        const gdi::RegionData area(*rect);
        RedrawLocked(w, &area, flags);
      } else {
        RedrawLocked(w, nullptr, flags);
      }
    }
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateNow(hwnd, flags);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  if (!region) return InvalidateRect(hwnd, nullptr, erase);
  return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  if (!region) return ValidateRect(hwnd, nullptr);
  return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
  bool empty = true;
  bool pendingErase = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    empty = w->update.IsEmpty();
    if (rect) *rect = empty ? RECT{} : w->update.Box();
    pendingErase = w->erase;
  }
  if (erase && pendingErase && !empty) UpdateNow(hwnd, RDW_ERASENOW | RDW_NOCHILDREN);
  return empty ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
  if (!region) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  std::vector<RECT> rects;
  int kind = NULLREGION;
  bool pendingErase = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return ERROR;
    rects = w->update.Rects();
    kind = w->update.Kind();
    pendingErase = w->erase;
  }
  SetRectRgn(region, 0, 0, 0, 0);
  for (const RECT& r : rects) {
    HRGN piece = CreateRectRgnIndirect(&r);
    CombineRgn(region, region, piece, RGN_OR);
    DeleteObject(piece);
  }
  if (erase && pendingErase && kind != NULLREGION) UpdateNow(hwnd, RDW_ERASENOW | RDW_NOCHILDREN);
  return kind;
}

BOOL UpdateWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  UpdateNow(hwnd, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return TRUE;
}

BOOL LockWindowUpdate(HWND hwnd) {
  HWND unlocked = nullptr;
  {
    std::lock_guard lock(UserLock());
    if (hwnd) {
      if (!GetLocked(hwnd)) return FALSE;
      if (g_locked && g_locked != hwnd) return FALSE;
      g_locked = hwnd;
      return TRUE;
    }
    if (!g_locked) return FALSE;
    unlocked = g_locked;
    g_locked = nullptr;
  }
  // What was drawn meanwhile was dropped: the window paints again.
  RedrawWindow(unlocked, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  if (!paint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  *paint = PAINTSTRUCT{};
  gdi::RegionData update;
  bool frame = false;
  bool erase = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return nullptr;
    update = w->update.Intersected(ClientArea(w));
    frame = w->frame;
    erase = w->erase;
    w->update.Clear();
    w->frame = w->erase = w->internalPaint = false;
    Recount(w);
  }
  if (frame) SendMessage(hwnd, WM_NCPAINT, 1, 0);
  HDC dc = GetDCForUpdate(hwnd, update);
  if (!dc) return nullptr;
  paint->hdc = dc;
  paint->rcPaint = update.IsEmpty() ? RECT{} : update.Box();
  paint->fErase = FALSE;
  if (erase) paint->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint || !paint->hdc) return FALSE;
  ReleaseDC(hwnd, paint->hdc);
  return TRUE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  bool topLevel = false;
  bool visible = false;
  HWND parent = nullptr;
  RECT oldRect{};
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w || w->isDesktop) return 0;
    if (region)
      w->shape = std::make_unique<gdi::RegionData>(RegionFromHrgn(region));
    else
      w->shape.reset();
    topLevel = IsTopLevel(w);
    visible = IsVisibleLocked(w);
    parent = w->parent ? w->parent->handle : nullptr;
    oldRect = w->rect;
  }
  // The window owns the region from now on.
  if (region) DeleteObject(region);
  if (topLevel) {
    if (auto display = CurrentDisplay()) display->WindowShapeChanged(hwnd);
  }
  if (redraw && visible) {
    if (!topLevel && parent)
      RedrawWindow(parent, &oldRect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
  std::vector<RECT> rects;
  int kind = ERROR;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w || !w->shape || !region) return ERROR;
    rects = w->shape->Rects();
    kind = w->shape->Kind();
  }
  SetRectRgn(region, 0, 0, 0, 0);
  for (const RECT& r : rects) {
    HRGN piece = CreateRectRgnIndirect(&r);
    CombineRgn(region, region, piece, RGN_OR);
    DeleteObject(piece);
  }
  return kind;
}
