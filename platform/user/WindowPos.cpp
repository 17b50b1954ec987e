// Position, size, z-order and visibility of windows; coordinate mapping; hit lookups.
#include "platform/user/WindowPos.h"

#include <algorithm>
#include <map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/ClassTable.h"
#include "platform/user/CrossProcessInternal.h"
#include "platform/user/Display.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/PaintInternal.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

const HWND kTopmost = reinterpret_cast<HWND>(-1);
const HWND kNoTopmost = reinterpret_cast<HWND>(-2);

// Owned windows stay above their owner: after the owner moved in the z-order, its owned windows
// (and theirs) are put right above it, keeping their order.
void RaiseOwnedLocked(Window* owner) {
  Window* desktop = owner->parent;
  std::vector<Window*> owned;
  for (Window* w : desktop->children) {
    for (Window* o = w->owner; o; o = o->owner) {
      if (o == owner) {
        owned.push_back(w);
        break;
      }
    }
  }
  if (owned.empty()) return;
  auto& siblings = desktop->children;
  for (Window* w : owned) siblings.erase(std::find(siblings.begin(), siblings.end(), w));
  auto at = std::find(siblings.begin(), siblings.end(), owner);
  // A topmost owned window stays in the topmost band even when its owner is not in it.
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    Window* w = *it;
    if ((w->exStyle & WS_EX_TOPMOST) && !(owner->exStyle & WS_EX_TOPMOST)) {
      siblings.insert(siblings.begin(), w);
      at = std::find(siblings.begin(), siblings.end(), owner);
    } else {
      at = siblings.insert(at, w);
    }
  }
}

bool ApplyZOrderLocked(Window* w, HWND after) {
  Window* parent = w->parent;
  const std::vector<Window*> before = parent->children;
  if (parent->isDesktop) {
    if (after == kTopmost) w->exStyle |= WS_EX_TOPMOST;
    if (after == kNoTopmost) w->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
  }
  if (after == kTopmost || after == kNoTopmost) after = nullptr;
  if (after == w->handle) return false;
  UnlinkLocked(w);
  LinkLocked(w, parent, after);
  if (parent->isDesktop) RaiseOwnedLocked(w);
  return before != parent->children;
}

struct PosChange {
  bool topLevel = false;
  bool moved = false;
  bool sized = false;
  bool shown = false;
  bool hidden = false;
  bool zorder = false;
  bool clientMoved = false;
  bool clientSized = false;
  RECT oldRect{};
  RECT newScreenRect{};
  HWND parent = nullptr;
  UINT classStyle = 0;
  bool wasActive = false;
  bool wasVisible = false;
};

void Invalidate(HWND hwnd, const RECT* rect, UINT flags) {
  RedrawWindow(hwnd, rect, nullptr, flags);
}

BOOL SetWindowPosOnThread(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags, bool forceSize) {
  WINDOWPOS pos{hwnd, after, x, y, std::max(cx, 0), std::max(cy, 0), flags};
  bool child = false;
  auto normalize = [&](Window* w) {
    if (!(pos.flags & SWP_NOMOVE) && pos.x == w->rect.left && pos.y == w->rect.top) pos.flags |= SWP_NOMOVE;
    if (!(pos.flags & SWP_NOSIZE) && pos.cx == Width(w->rect) && pos.cy == Height(w->rect) && !forceSize)
      pos.flags |= SWP_NOSIZE;
    if ((pos.flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE))
      pos.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    if ((pos.flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE))
      pos.flags &= ~static_cast<UINT>(SWP_HIDEWINDOW);
    if (pos.hwndInsertAfter == hwnd) pos.flags |= SWP_NOZORDER;
    if (child) {
      pos.flags |= SWP_NOACTIVATE;
      if (pos.hwndInsertAfter == kTopmost || pos.hwndInsertAfter == kNoTopmost) pos.hwndInsertAfter = nullptr;
    }
    if (pos.flags & SWP_NOMOVE) {
      pos.x = w->rect.left;
      pos.y = w->rect.top;
    }
    if (pos.flags & SWP_NOSIZE) {
      pos.cx = Width(w->rect);
      pos.cy = Height(w->rect);
    }
  };
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    if (w->isDesktop) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    child = !IsTopLevel(w);
    normalize(w);
  }
  const UINT everything = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
  const bool nothing = (pos.flags & everything) == everything &&
                       !(pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)) &&
                       ((pos.flags & SWP_NOACTIVATE) || child);
  if (nothing) return TRUE;

  if (!(pos.flags & SWP_NOSENDCHANGING)) {
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    pos.cx = std::max(pos.cx, 0);
    pos.cy = std::max(pos.cy, 0);
    pos.flags &= ~static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE) | (flags & (SWP_NOMOVE | SWP_NOSIZE));
    normalize(w);
  }

  RECT newRect{};
  RECT newClient{};
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    newRect = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    newClient = Offset(w->client, newRect.left - w->rect.left, newRect.top - w->rect.top);
  }
  if (!(pos.flags & SWP_NOSIZE) || (pos.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params{};
    RECT oldRect{};
    RECT oldClient{};
    {
      std::lock_guard lock(UserLock());
      Window* w = GetLocked(hwnd);
      if (!w) return FALSE;
      oldRect = w->rect;
      oldClient = w->client;
    }
    params.rgrc[0] = newRect;
    params.rgrc[1] = oldRect;
    params.rgrc[2] = oldClient;
    params.lppos = &pos;
    SendMessage(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    newClient = Intersect(params.rgrc[0], newRect);
    if (Empty(newClient))
      newClient = RECT{params.rgrc[0].left, params.rgrc[0].top, params.rgrc[0].left, params.rgrc[0].top};
  }

  PosChange change;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    change.topLevel = IsTopLevel(w);
    change.oldRect = w->rect;
    change.parent = w->parent ? w->parent->handle : nullptr;
    change.classStyle = w->cls ? w->cls->style : 0;
    change.wasActive = w->queue && w->queue->active == hwnd;
    change.wasVisible = IsVisibleLocked(w);
    change.moved = newRect.left != w->rect.left || newRect.top != w->rect.top;
    change.sized = Width(newRect) != Width(w->rect) || Height(newRect) != Height(w->rect);
    change.clientMoved = newClient.left != w->client.left || newClient.top != w->client.top;
    change.clientSized =
        forceSize || Width(newClient) != Width(w->client) || Height(newClient) != Height(w->client);
    w->rect = newRect;
    w->client = newClient;
    if (!(pos.flags & SWP_NOZORDER)) change.zorder = ApplyZOrderLocked(w, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW) {
      w->style |= WS_VISIBLE;
      change.shown = true;
    }
    if (pos.flags & SWP_HIDEWINDOW) {
      w->style &= ~static_cast<DWORD>(WS_VISIBLE);
      w->redrawOff = false;
      change.hidden = true;
      DropPaintStateLocked(w);
    }
    if (change.topLevel && change.sized && w->surface) ResizeSurfaceLocked(w);
    change.newScreenRect = WindowRectScreenLocked(w);
  }

  // What must be painted again.
  if (!(pos.flags & SWP_NOREDRAW)) {
    const UINT whole = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    if (change.topLevel) {
      if (change.shown || change.sized)
        Invalidate(hwnd, nullptr, whole);
      else if (pos.flags & SWP_FRAMECHANGED)
        Invalidate(hwnd, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    } else {
      const bool geometry = change.moved || change.sized || change.zorder;
      if (change.wasVisible && (change.hidden || geometry) && change.parent)
        Invalidate(change.parent, &change.oldRect, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      if (change.shown || geometry || (pos.flags & SWP_FRAMECHANGED)) Invalidate(hwnd, nullptr, whole);
    }
  }

  WINDOWPOS changed = pos;
  if (!change.clientMoved) changed.flags |= SWP_NOCLIENTMOVE;
  if (!change.clientSized) changed.flags |= SWP_NOCLIENTSIZE;
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&changed));

  if (change.topLevel) {
    if (auto display = CurrentDisplay()) {
      if (change.moved || change.sized) display->WindowMoved(hwnd, change.newScreenRect);
      if (change.shown || change.hidden) display->WindowShown(hwnd, change.shown);
      if (change.zorder) display->ZOrderChanged();
    }
  }

  if (change.hidden) AfterWindowHidden(hwnd, change.wasActive);
  if (change.topLevel && !(pos.flags & SWP_NOACTIVATE) && IsWindowVisible(hwnd) && !change.hidden)
    SetActiveWindow(hwnd);
  return TRUE;
}

BOOL SetWindowPosImpl(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags, bool forceSize) {
  std::shared_ptr<MessageQueue> queue;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    queue = w->queue;
  }
  if (!queue || queue->IsCurrent()) return SetWindowPosOnThread(hwnd, after, x, y, cx, cy, flags, forceSize);
  // Another thread's window is moved by its own thread; SWP_ASYNCWINDOWPOS does not wait for it.
  if (flags & SWP_ASYNCWINDOWPOS) {
    const UINT rest = flags & ~static_cast<UINT>(SWP_ASYNCWINDOWPOS);
    return RunOnThread(
               *queue, [=] { SetWindowPosOnThread(hwnd, after, x, y, cx, cy, rest, forceSize); }, false)
               ? TRUE
               : FALSE;
  }
  BOOL result = FALSE;
  if (!RunOnThread(
          *queue, [&] { result = SetWindowPosOnThread(hwnd, after, x, y, cx, cy, flags, forceSize); },
          true)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return result;
}

RECT MaximizedRect(HWND hwnd) {
  const SIZE desktop = DesktopSize();
  DWORD style = 0;
  DWORD exStyle = 0;
  {
    std::lock_guard lock(UserLock());
    if (Window* w = FindLocked(hwnd)) {
      style = w->style;
      exStyle = w->exStyle;
    }
  }
  // The frame lies just outside the desktop, so the caption and client fill it.
  RECT frame{0, 0, desktop.cx, desktop.cy};
  const RECT client = DefaultClientRect(style, exStyle, frame, false);
  const int border = client.left - frame.left;
  MINMAXINFO info{};
  info.ptMaxSize = POINT{desktop.cx + 2 * border, desktop.cy + 2 * border};
  info.ptMaxPosition = POINT{-border, -border};
  info.ptMaxTrackSize = POINT{info.ptMaxSize.x, info.ptMaxSize.y};
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return RECT{info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
              info.ptMaxPosition.y + info.ptMaxSize.y};
}

struct Batch {
  std::vector<WINDOWPOS> moves;
};
struct Batches {
  std::mutex lock;
  std::map<uintptr_t, Batch> open;  // guarded by lock
  uintptr_t next = 0x10000;         // guarded by lock
};
Batches& TheBatches() {
  static Batches* batches = new Batches;
  return *batches;
}

bool SkipsWindow(const Window* w, bool skipDisabled) {
  return !(w->style & WS_VISIBLE) || (skipDisabled && (w->style & WS_DISABLED));
}

bool ShapeContains(const Window* w, POINT screen) {
  if (!w->shape) return true;
  const RECT r = WindowRectScreenLocked(w);
  return w->shape->Contains(screen.x - r.left, screen.y - r.top);
}

// The deepest window under a desktop point by geometry, skipping `excluded` windows and what is
// hidden; disabled children are skipped in favour of their parent when asked.
Window* GeometricHitLocked(POINT screen, const std::vector<HWND>& excluded, bool skipDisabled) {
  auto isExcluded = [&](const Window* w) {
    return std::find(excluded.begin(), excluded.end(), w->handle) != excluded.end();
  };
  Window* found = nullptr;
  for (Window* top : DesktopLocked()->children) {
    if (!(top->style & WS_VISIBLE) && !top->redrawOff) continue;
    if (isExcluded(top) || !Contains(WindowRectScreenLocked(top), screen) || !ShapeContains(top, screen))
      continue;
    found = top;
    break;
  }
  if (!found) return nullptr;
  for (;;) {
    if (!Contains(ClientRectScreenLocked(found), screen)) return found;
    Window* next = nullptr;
    for (Window* child : found->children) {
      if (SkipsWindow(child, skipDisabled) || isExcluded(child)) continue;
      if (!Contains(WindowRectScreenLocked(child), screen) || !ShapeContains(child, screen)) continue;
      next = child;
      break;
    }
    if (!next) return found;
    found = next;
  }
}

}  // namespace

Window* WindowAtLocked(POINT screen) {
  return GeometricHitLocked(screen, {}, false);
}

HWND HitWindow(POINT screen, bool skipDisabled, int* hitCode) {
  std::vector<HWND> excluded;
  for (;;) {
    HWND hwnd = nullptr;
    bool own = false;
    {
      std::lock_guard lock(UserLock());
      Window* w = GeometricHitLocked(screen, excluded, skipDisabled);
      if (!w) {
        if (hitCode) *hitCode = HTNOWHERE;
        return nullptr;
      }
      hwnd = w->handle;
      own = IsOwnThread(w);
    }
    // Windows of this thread may decline the point (HTTRANSPARENT): the one beneath gets it.
    const int hit =
        own ? static_cast<int>(SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y))) : HTCLIENT;
    if (hit == HTTRANSPARENT) {
      excluded.push_back(hwnd);
      continue;
    }
    if (hitCode) *hitCode = hit;
    return hwnd;
  }
}

BOOL SetWindowPosForced(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  return SetWindowPosImpl(hwnd, after, x, y, cx, cy, flags, true);
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return SetWindowPosImpl(hwnd, insertAfter, x, y, cx, cy, flags, false);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hwnd, int command) {
  if (pictavo::user::IsForeignWindowHandle(hwnd)) return foreign::ShowWindow(hwnd, command);
  std::shared_ptr<MessageQueue> queue;
  bool wasVisible = false;
  bool child = false;
  DWORD style = 0;
  RECT normal{};
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w || w->isDesktop) return FALSE;
    queue = w->queue;
    wasVisible = (w->style & WS_VISIBLE) != 0;
    child = !IsTopLevel(w);
    style = w->style;
    normal = w->normalRect;
  }
  if (queue && !queue->IsCurrent()) {
    BOOL result = FALSE;
    RunOnThread(
        *queue, [&] { result = ShowWindow(hwnd, command); }, true);
    return result;
  }
  const bool minimized = (style & WS_MINIMIZE) != 0;
  const bool maximized = (style & WS_MAXIMIZE) != 0;
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
  bool show = true;
  DWORD setState = 0;  // WS_MINIMIZE, WS_MAXIMIZE or 0 for restored; kept when no state change
  bool changeState = false;
  switch (command) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      show = false;
      flags |= SWP_HIDEWINDOW | SWP_NOACTIVATE;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
    case SW_SHOWNOACTIVATE:
      flags |= SWP_SHOWWINDOW;
      if (command == SW_SHOWNOACTIVATE) flags |= SWP_NOACTIVATE;
      if (minimized || maximized) changeState = true;
      break;
    case SW_SHOW:
      flags |= SWP_SHOWWINDOW;
      break;
    case SW_SHOWNA:
      flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      flags |= SWP_SHOWWINDOW;
      if (command != SW_SHOWMINIMIZED) flags |= SWP_NOACTIVATE;
      setState = WS_MINIMIZE;
      changeState = !minimized;
      break;
    case SW_SHOWMAXIMIZED:
      flags |= SWP_SHOWWINDOW;
      setState = WS_MAXIMIZE;
      changeState = !maximized;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return wasVisible;
  }
  if (child) flags |= SWP_NOACTIVATE;
  if (show != wasVisible) {
    SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!IsWindow(hwnd)) return wasVisible;
  }
  if (!changeState) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
    return wasVisible;
  }
  RECT target = normal;
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w) return wasVisible;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = w->rect;
    target = w->normalRect;
    w->style &= ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE);
    w->style |= setState;
  }
  if (setState == WS_MINIMIZE) {
    // Minimized windows go out of sight, as the platform parks them.
    target = RECT{-32000, -32000, -32000 + GetSystemMetrics(SM_CXMINIMIZED),
                  -32000 + GetSystemMetrics(SM_CYMINIMIZED)};
  } else if (setState == WS_MAXIMIZE) {
    target = MaximizedRect(hwnd);
  }
  flags &= ~static_cast<UINT>(SWP_NOSIZE | SWP_NOMOVE);
  if (setState != WS_MINIMIZE || command == SW_SHOWMINIMIZED) flags &= ~static_cast<UINT>(SWP_NOZORDER);
  const bool wasActive = GetActiveWindow() == hwnd;
  SetWindowPosForced(hwnd, HWND_TOP, target.left, target.top, Width(target), Height(target),
                     flags | SWP_FRAMECHANGED);
  if (setState == WS_MINIMIZE && wasActive && (flags & SWP_NOACTIVATE)) AfterWindowHidden(hwnd, true);
  return wasVisible;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
  if (!placement) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return FALSE;
  placement->length = sizeof(WINDOWPLACEMENT);
  placement->flags = 0;
  placement->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                       : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                       : (w->style & WS_VISIBLE)  ? SW_SHOWNORMAL
                                                  : SW_HIDE;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normalRect : w->rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
  if (!placement) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT& r = placement->rcNormalPosition;
  bool restored = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    w->normalRect = r;
    restored = !(w->style & (WS_MINIMIZE | WS_MAXIMIZE));
  }
  if (restored)
    SetWindowPos(hwnd, nullptr, r.left, r.top, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd, static_cast<int>(placement->showCmd));
  return TRUE;
}

HDWP BeginDeferWindowPos(int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto& batches = TheBatches();
  std::lock_guard lock(batches.lock);
  const uintptr_t id = batches.next++;
  batches.open[id].moves.reserve(static_cast<size_t>(count));
  return reinterpret_cast<HDWP>(id);
}

HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto& batches = TheBatches();
  std::lock_guard lock(batches.lock);
  auto it = batches.open.find(reinterpret_cast<uintptr_t>(batch));
  if (it == batches.open.end()) {
    SetLastError(ERROR_INVALID_DWP_HANDLE);
    return nullptr;
  }
  if (!IsWindow(hwnd)) {
    // As on the platform, a bad entry ends the whole batch.
    batches.open.erase(it);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  it->second.moves.push_back(WINDOWPOS{hwnd, insertAfter, x, y, cx, cy, flags});
  return batch;
}

BOOL EndDeferWindowPos(HDWP batch) {
  std::vector<WINDOWPOS> moves;
  {
    auto& batches = TheBatches();
    std::lock_guard lock(batches.lock);
    auto it = batches.open.find(reinterpret_cast<uintptr_t>(batch));
    if (it == batches.open.end()) {
      SetLastError(ERROR_INVALID_DWP_HANDLE);
      return FALSE;
    }
    moves = std::move(it->second.moves);
    batches.open.erase(it);
  }
  BOOL ok = TRUE;
  for (const WINDOWPOS& m : moves)
    if (!SetWindowPos(m.hwnd, m.hwndInsertAfter, m.x, m.y, m.cx, m.cy, m.flags)) ok = FALSE;
  return ok;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return FALSE;
  *rect = WindowRectScreenLocked(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return FALSE;
  *rect = RECT{0, 0, Width(w->client), Height(w->client)};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  if (!point) return FALSE;
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return FALSE;
  const POINT origin = ClientOriginLocked(w);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  if (!point) return FALSE;
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return FALSE;
  const POINT origin = ClientOriginLocked(w);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT a{0, 0};
  POINT b{0, 0};
  {
    std::lock_guard lock(UserLock());
    if (from) {
      Window* w = GetLocked(from);
      if (!w) return 0;
      a = ClientOriginLocked(w);
    }
    if (to) {
      Window* w = GetLocked(to);
      if (!w) return 0;
      b = ClientOriginLocked(w);
    }
  }
  const int dx = a.x - b.x;
  const int dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT probe{0, 0, 10000, 10000};
  const RECT client = DefaultClientRect(style, exStyle, probe, (style & WS_CHILD) != 0);
  rect->left -= client.left - probe.left;
  rect->top -= client.top - probe.top;
  rect->right += probe.right - client.right;
  rect->bottom += probe.bottom - client.bottom;
  if (menu) rect->top -= GetSystemMetrics(SM_CYMENU);
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  return AdjustWindowRectEx(rect, style, menu, 0);
}

HWND WindowFromPoint(POINT point) {
  return HitWindow(point, true, nullptr);
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  std::lock_guard lock(UserLock());
  Window* p = GetLocked(parent);
  if (!p) return nullptr;
  if (!Contains(RECT{0, 0, Width(p->client), Height(p->client)}, point)) return nullptr;
  for (Window* child : p->children) {
    if ((flags & CWP_SKIPINVISIBLE) && !(child->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (child->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (child->exStyle & WS_EX_TRANSPARENT)) continue;
    if (Contains(child->rect, point)) return child->handle;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  return ChildWindowFromPointEx(parent, point, CWP_ALL);
}
