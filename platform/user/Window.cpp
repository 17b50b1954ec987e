// Window creation and destruction, the tree, window longs, text, properties and enumeration.
#include "platform/user/Window.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/ClassTable.h"
#include "platform/user/CrossProcessInternal.h"
#include "platform/user/Display.h"
#include "platform/user/Hooks.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/UserInternal.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

// Where the next top-level window at CW_USEDEFAULT goes: a cascade from the desktop's corner.
int g_cascade = 0;  // guarded by UserLock()

void PlaceDefault(bool child, int& x, int& y, int& cx, int& cy) {
  if (child) {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (cx == CW_USEDEFAULT) cx = cy = 0;
    return;
  }
  const SIZE desktop = DesktopSize();
  if (x == CW_USEDEFAULT) {
    const int step = (g_cascade++ % 8) * 26;
    x = 26 + step;
    y = 26 + step;
  }
  if (cx == CW_USEDEFAULT) {
    cx = desktop.cx * 3 / 4;
    cy = desktop.cy * 3 / 4;
  }
}

// Frees a window's record: it is unlinked and its handle becomes invalid. Returns the record,
// which the caller lets go after releasing the lock.
std::unique_ptr<Window> FreeLocked(Window* w) {
  // Children created while the window was being destroyed go with it.
  while (!w->children.empty()) {
    Window* child = w->children.back();
    auto record = FreeLocked(child);
  }
  for (Window* other : AllWindowsLocked())
    if (other->owner == w) other->owner = nullptr;
  ForgetWindowLocked(w);
  ReleasePaintStateLocked(w);
  if (w->queue) {
    w->queue->DropWindow(w->handle);
    if (w->queue->focus == w->handle) w->queue->focus = nullptr;
    if (w->queue->active == w->handle) w->queue->active = nullptr;
  }
  ForgetWindowInput(w->handle);
  if (w->cls) --w->cls->windows;
  UnlinkLocked(w);
  return RemoveLocked(w->handle);
}

void PreOrder(Window* w, std::vector<HWND>& out) {
  out.push_back(w->handle);
  for (Window* child : w->children) PreOrder(child, out);
}

void SendParentNotify(HWND hwnd, UINT event) {
  HWND child = hwnd;
  for (;;) {
    HWND parent = nullptr;
    UINT_PTR id = 0;
    {
      std::lock_guard lock(UserLock());
      Window* w = FindLocked(child);
      if (!w || !(w->style & WS_CHILD) || (w->exStyle & WS_EX_NOPARENTNOTIFY) || !w->parent ||
          w->parent->isDesktop)
        return;
      parent = w->parent->handle;
      id = FindLocked(hwnd)->id;
    }
    SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, id), reinterpret_cast<LPARAM>(hwnd));
    child = parent;
  }
}

// The creation failed after the window got a handle: it goes without WM_DESTROY.
void AbandonCreation(HWND hwnd, bool sendNcDestroy) {
  if (sendNcDestroy) SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  std::unique_ptr<Window> record;
  std::lock_guard lock(UserLock());
  if (Window* w = FindLocked(hwnd)) record = FreeLocked(w);
}

bool NameMatches(const Window* w, LPCSTR className, LPCSTR windowName) {
  if (className) {
    auto c = FindClassLocked(className);
    if (!c || c != w->cls) return false;
  }
  return !windowName || unicode::EqualsNoCase(w->text, windowName);
}

LONG_PTR ReadExtra(const Window* w, int index, size_t size, bool* ok) {
  if (static_cast<size_t>(index) + size > w->extra.size()) {
    *ok = false;
    return 0;
  }
  *ok = true;
  if (size == sizeof(LONG)) {
    LONG v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
  }
  LONG_PTR v;
  std::memcpy(&v, w->extra.data() + index, sizeof v);
  return v;
}

LONG_PTR GetLong(HWND hwnd, int index, size_t size) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return 0;
  if (index >= 0) {
    bool ok = false;
    const LONG_PTR v = ReadExtra(w, index, size, &ok);
    if (!ok) SetLastError(ERROR_INVALID_INDEX);
    return v;
  }
  switch (index) {
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: {
      const Window* p = (w->style & WS_CHILD) ? w->parent : w->owner;
      return p && !p->isDesktop ? reinterpret_cast<LONG_PTR>(p->handle) : 0;
    }
    case GWL_ID:
      return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWL_USERDATA:
      return w->userData;
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

struct StyleStruct {
  DWORD styleOld;
  DWORD styleNew;
};

LONG_PTR SetLong(HWND hwnd, int index, LONG_PTR value, size_t size) {
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    DWORD old = 0;
    {
      std::lock_guard lock(UserLock());
      Window* w = GetLocked(hwnd);
      if (!w) return 0;
      old = index == GWL_STYLE ? w->style : w->exStyle;
    }
    StyleStruct change{old, static_cast<DWORD>(value)};
    SendMessage(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    {
      std::lock_guard lock(UserLock());
      Window* w = GetLocked(hwnd);
      if (!w) return 0;
      (index == GWL_STYLE ? w->style : w->exStyle) = change.styleNew;
    }
    SendMessage(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG_PTR>(static_cast<LONG>(old));
  }
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return 0;
  if (index >= 0) {
    bool ok = false;
    const LONG_PTR old = ReadExtra(w, index, size, &ok);
    if (!ok) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    if (size == sizeof(LONG)) {
      const LONG v = static_cast<LONG>(value);
      std::memcpy(w->extra.data() + index, &v, sizeof v);
    } else {
      std::memcpy(w->extra.data() + index, &value, sizeof value);
    }
    return old;
  }
  LONG_PTR old = 0;
  switch (index) {
    case GWL_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWL_HWNDPARENT: {
      if (w->style & WS_CHILD) {
        old = reinterpret_cast<LONG_PTR>(w->parent->handle);
        return old;  // a child's parent changes with SetParent only
      }
      old = w->owner ? reinterpret_cast<LONG_PTR>(w->owner->handle) : 0;
      Window* owner = FindLocked(reinterpret_cast<HWND>(value));
      w->owner = owner ? TopLevelOf(owner) : nullptr;
      if (w->owner == w) w->owner = nullptr;
      return old;
    }
    case GWL_ID:
      old = static_cast<LONG_PTR>(w->id);
      w->id = static_cast<UINT_PTR>(value);
      return old;
    case GWL_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

Prop* FindProp(Window* w, LPCSTR name) {
  const bool atom = IS_INTRESOURCE(name);
  const std::string key = atom ? std::string() : unicode::FoldCase(name);
  for (Prop& p : w->props) {
    if (atom ? (p.name.empty() && p.atom == reinterpret_cast<ULONG_PTR>(name)) : p.name == key) return &p;
  }
  return nullptr;
}

std::vector<HWND> Snapshot(const std::vector<Window*>& windows) {
  std::vector<HWND> out;
  out.reserve(windows.size());
  for (Window* w : windows) out.push_back(w->handle);
  return out;
}

BOOL Enumerate(const std::vector<HWND>& handles, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (HWND hwnd : handles) {
    if (!IsWindow(hwnd)) continue;
    if (!proc(hwnd, lParam)) break;
  }
  return TRUE;
}

}  // namespace

void DestroyThreadWindows(MessageQueue& queue) {
  std::vector<HWND> topLevels;
  std::vector<std::unique_ptr<Window>> freed;
  {
    std::lock_guard lock(UserLock());
    std::vector<Window*> all;
    CollectLocked(DesktopLocked(), all);
    std::vector<HWND> mine;
    for (Window* w : all)
      if (w->queue.get() == &queue) mine.push_back(w->handle);
    // Deepest first, so a child goes before its parent.
    for (auto it = mine.rbegin(); it != mine.rend(); ++it) {
      Window* w = FindLocked(*it);
      if (!w) continue;
      if (IsTopLevel(w)) topLevels.push_back(w->handle);
      freed.push_back(FreeLocked(w));
    }
  }
  freed.clear();
  if (auto display = CurrentDisplay())
    for (HWND hwnd : topLevels) display->WindowDestroyed(hwnd);
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND hwndParent, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto queue = MessageQueue::CurrentShared();
  const bool child = (style & WS_CHILD) != 0;
  // A top-level window that is not a pop-up has a caption; top-level windows clip their siblings.
  if (!child) {
    if (!(style & WS_POPUP)) style |= WS_CAPTION;
    style |= WS_CLIPSIBLINGS;
  }
  HWND hwnd = nullptr;
  const DWORD initialStyle = style;
  CREATESTRUCT cs{};
  {
    std::lock_guard lock(UserLock());
    auto cls = FindClassLocked(className);
    if (!cls) return nullptr;
    Window* parent = DesktopLocked();
    Window* owner = nullptr;
    if (child) {
      if (!hwndParent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
      }
      parent = GetLocked(hwndParent);
      if (!parent) return nullptr;
    } else if (hwndParent && hwndParent != HWND_DESKTOP) {
      owner = GetLocked(hwndParent);
      if (!owner) return nullptr;
      owner = owner->isDesktop ? nullptr : TopLevelOf(owner);
    }
    PlaceDefault(child, x, y, width, height);
    auto record = std::make_unique<Window>();
    record->queue = queue;
    record->cls = cls;
    record->proc = cls->proc;
    // Visibility and the minimized/maximized states are applied once the window exists.
    record->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    record->exStyle = exStyle;
    record->id = reinterpret_cast<UINT_PTR>(menu);
    record->instance = instance;
    record->owner = owner;
    record->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
    record->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    record->client = record->rect;
    record->normalRect = record->rect;
    Window* w = InsertLocked(std::move(record));
    ++cls->windows;
    // Children go below their siblings, so creation order is z-order and tab order.
    LinkLocked(w, parent, child ? HWND_BOTTOM : HWND_TOP);
    hwnd = w->handle;
    cs = CREATESTRUCT{
        param,      instance,  menu,   hwndParent, height, width, y, x, static_cast<LONG>(initialStyle),
        windowName, className, exStyle};
  }

  foreign::Listen(hwnd);  // a process with windows answers other copies from now on
  if (HasHooks(WH_CBT)) {
    CBT_CREATEWND cbt{&cs, HWND_TOP};
    if (CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt))) {
      AbandonCreation(hwnd, false);
      return nullptr;
    }
    std::lock_guard lock(UserLock());
    if (Window* w = FindLocked(hwnd)) {
      w->rect = RECT{cs.x, cs.y, cs.x + std::max(cs.cx, 0), cs.y + std::max(cs.cy, 0)};
      w->client = w->rect;
      w->normalRect = w->rect;
    }
  }

  if (!child && (style & (WS_THICKFRAME | WS_CAPTION))) {
    MINMAXINFO info{};
    const SIZE desktop = DesktopSize();
    info.ptMaxSize = POINT{desktop.cx, desktop.cy};
    info.ptMaxTrackSize = POINT{desktop.cx + 12, desktop.cy + 12};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    std::lock_guard lock(UserLock());
    if (Window* w = FindLocked(hwnd)) {
      const int cx = std::clamp<int>(Width(w->rect), info.ptMinTrackSize.x,
                                     std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
      const int cy = std::clamp<int>(Height(w->rect), info.ptMinTrackSize.y,
                                     std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
      w->rect.right = w->rect.left + cx;
      w->rect.bottom = w->rect.top + cy;
      w->client = w->rect;
      w->normalRect = w->rect;
    }
  }

  if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (IsWindow(hwnd)) AbandonCreation(hwnd, true);
    return nullptr;
  }

  RECT client{};
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w) return nullptr;
    client = w->rect;
  }
  SendMessage(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w) return nullptr;
    w->client = Intersect(client, w->rect);
    if (Empty(w->client)) w->client = RECT{client.left, client.top, client.left, client.top};
  }

  if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  bool topLevel = false;
  RECT clientRect{};
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w || w->destroying) return nullptr;
    clientRect = w->client;
    topLevel = IsTopLevel(w);
  }
  SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Width(clientRect), Height(clientRect)));
  SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(clientRect.left, clientRect.top));
  if (!IsWindow(hwnd)) return nullptr;
  if (topLevel)
    if (auto display = CurrentDisplay()) display->WindowCreated(hwnd);
  if (child) SendParentNotify(hwnd, WM_CREATE);
  if (initialStyle & WS_VISIBLE) {
    if (initialStyle & WS_MAXIMIZE)
      ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    else if (initialStyle & WS_MINIMIZE)
      ShowWindow(hwnd, SW_SHOWMINIMIZED);
    else
      ShowWindow(hwnd, child ? SW_SHOWNA : SW_SHOW);
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    if (w->isDesktop || !IsOwnThread(w)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (w->destroying) return TRUE;
  }
  if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0)) return FALSE;

  bool child = false;
  bool visible = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w || w->destroying) return w != nullptr;
    w->destroying = true;
    child = (w->style & WS_CHILD) != 0;
    visible = (w->style & WS_VISIBLE) != 0;
  }
  if (child) SendParentNotify(hwnd, WM_DESTROY);
  if (visible)
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (child ? SWP_NOACTIVATE : 0));

  // Owned windows go first.
  std::vector<HWND> owned;
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    for (Window* other : DesktopLocked()->children)
      if (w && other->owner == w) owned.push_back(other->handle);
  }
  for (HWND o : owned)
    if (IsWindow(o)) DestroyWindow(o);

  std::vector<HWND> tree;
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w) return TRUE;
    PreOrder(w, tree);
    for (HWND h : tree) FindLocked(h)->destroying = true;
  }
  // Focus and capture leave the windows while they can still be told.
  const HWND focus = GetFocus();
  if (focus && std::find(tree.begin(), tree.end(), focus) != tree.end()) SetFocus(nullptr);
  const HWND capture = GetCapture();
  if (capture && std::find(tree.begin(), tree.end(), capture) != tree.end()) ReleaseCapture();
  for (HWND h : tree)
    if (IsWindow(h)) SendMessage(h, WM_DESTROY, 0, 0);

  std::vector<HWND> topLevels;
  for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
    if (!IsWindow(*it)) continue;
    SendMessage(*it, WM_NCDESTROY, 0, 0);
    std::unique_ptr<Window> record;
    {
      std::lock_guard lock(UserLock());
      Window* w = FindLocked(*it);
      if (!w) continue;
      if (IsTopLevel(w)) topLevels.push_back(w->handle);
      record = FreeLocked(w);
    }
  }
  if (auto display = CurrentDisplay())
    for (HWND h : topLevels) display->WindowDestroyed(h);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  if (pictavo::user::IsForeignWindowHandle(hwnd)) return foreign::IsWindow(hwnd);
  std::lock_guard lock(UserLock());
  return FindLocked(hwnd) != nullptr;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return 0;
  if (processId) *processId = static_cast<DWORD>(getpid());
  return w->queue ? w->queue->ThreadId() : 0;
}

HWND GetDesktopWindow() {
  std::lock_guard lock(UserLock());
  return DesktopLocked()->handle;
}

HWND GetParent(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w || w->isDesktop) return nullptr;
  if (w->style & WS_CHILD) return w->parent && !w->parent->isDesktop ? w->parent->handle : nullptr;
  if (w->style & WS_POPUP) return w->owner ? w->owner->handle : nullptr;
  return nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
  HWND old = nullptr;
  bool wasTopLevel = false;
  bool nowTopLevel = false;
  bool visible = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w || w->isDesktop) return nullptr;
    Window* parent = newParent ? GetLocked(newParent) : DesktopLocked();
    if (!parent) return nullptr;
    if (parent == w || IsAncestor(w, parent)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    old = w->parent->handle;
    wasTopLevel = IsTopLevel(w);
    visible = (w->style & WS_VISIBLE) != 0;
    UnlinkLocked(w);
    LinkLocked(w, parent, HWND_TOP);
    nowTopLevel = IsTopLevel(w);
    if (!nowTopLevel) w->surface.reset();
  }
  auto display = CurrentDisplay();
  if (display && wasTopLevel && !nowTopLevel) display->WindowDestroyed(hwnd);
  if (display && nowTopLevel && !wasTopLevel) {
    display->WindowCreated(hwnd);
    if (visible) display->WindowShown(hwnd, true);
  }
  if (old && !IsWindow(old)) old = nullptr;
  if (visible) {
    if (old) RedrawWindow(old, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return old;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return nullptr;
  auto sibling = [&](int delta) -> HWND {
    if (!w->parent) return nullptr;
    auto& s = w->parent->children;
    auto it = std::find(s.begin(), s.end(), w);
    if (it == s.end()) return nullptr;
    const auto index = (it - s.begin()) + delta;
    return index >= 0 && index < static_cast<long>(s.size()) ? s[static_cast<size_t>(index)]->handle
                                                             : nullptr;
  };
  switch (relation) {
    case GW_HWNDFIRST:
      return w->parent && !w->parent->children.empty() ? w->parent->children.front()->handle : nullptr;
    case GW_HWNDLAST:
      return w->parent && !w->parent->children.empty() ? w->parent->children.back()->handle : nullptr;
    case GW_HWNDNEXT:
      return sibling(1);
    case GW_HWNDPREV:
      return sibling(-1);
    case GW_OWNER:
      return w->owner ? w->owner->handle : nullptr;
    case GW_CHILD:
      return w->children.empty() ? nullptr : w->children.front()->handle;
    case GW_ENABLEDPOPUP:
      for (Window* other : DesktopLocked()->children)
        if (other->owner == w && (other->style & WS_VISIBLE) && !(other->style & WS_DISABLED))
          return other->handle;
      return nullptr;
    default:
      SetLastError(ERROR_INVALID_GW_COMMAND);
      return nullptr;
  }
}

HWND GetNextWindow(HWND hwnd, UINT relation) {
  return GetWindow(hwnd, relation);
}

HWND GetAncestor(HWND hwnd, UINT relation) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w || w->isDesktop) return nullptr;
  switch (relation) {
    case GA_PARENT:
      return w->parent ? w->parent->handle : nullptr;
    case GA_ROOT:
      return TopLevelOf(w)->handle;
    case GA_ROOTOWNER: {
      Window* root = TopLevelOf(w);
      while (root->owner) root = root->owner;
      return root->handle;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = hwnd ? GetLocked(hwnd) : DesktopLocked();
  if (!w || w->children.empty()) return nullptr;
  return w->children.front()->handle;
}

HWND GetLastActivePopup(HWND owner) {
  if (pictavo::user::IsForeignWindowHandle(owner)) return foreign::GetLastActivePopup(owner);
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(owner);
  if (!w) return nullptr;
  Window* popup = FindLocked(w->lastActivePopup);
  if (popup && popup != w && (popup->style & WS_VISIBLE) && !(popup->style & WS_DISABLED)) {
    for (Window* o = popup->owner; o; o = o->owner)
      if (o == w) return popup->handle;
  }
  return owner;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* p = FindLocked(parent);
  Window* w = FindLocked(hwnd);
  if (!p || !w) return FALSE;
  for (; w && (w->style & WS_CHILD); w = w->parent)
    if (w->parent == p) return TRUE;
  return FALSE;
}

HWND GetDlgItem(HWND dialog, int id) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(dialog);
  if (!w) return nullptr;
  for (Window* child : w->children)
    if (static_cast<int>(child->id) == id) return child->handle;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w || !(w->style & WS_CHILD)) return 0;
  return static_cast<int>(w->id);
}

LONG GetWindowLong(HWND hwnd, int index) {
  return static_cast<LONG>(GetLong(hwnd, index, sizeof(LONG)));
}
LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetLong(hwnd, index, value, sizeof(LONG)));
}
LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  return GetLong(hwnd, index, sizeof(LONG_PTR));
}
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  return SetLong(hwnd, index, value, sizeof(LONG_PTR));
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, LPSTR text, int maxCount) {
  if (!text || maxCount <= 0) return 0;
  text[0] = '\0';
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(
      SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLength(HWND hwnd) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

std::string pictavo::user::WindowText(HWND hwnd) {
  std::string text(static_cast<size_t>(std::max(0, GetWindowTextLength(hwnd))) + 1, '\0');
  text.resize(
      static_cast<size_t>(std::max(0, GetWindowText(hwnd, text.data(), static_cast<int>(text.size())))));
  return text;
}

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return FALSE;
  if (Prop* p = FindProp(w, name)) {
    p->data = data;
    return TRUE;
  }
  Prop prop;
  if (IS_INTRESOURCE(name))
    prop.atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  else
    prop.name = pictavo::unicode::FoldCase(name);
  prop.data = data;
  w->props.push_back(std::move(prop));
  return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name) {
  if (!name) return nullptr;
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return nullptr;
  Prop* p = FindProp(w, name);
  return p ? p->data : nullptr;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
  if (!name) return nullptr;
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return nullptr;
  Prop* p = FindProp(w, name);
  if (!p) return nullptr;
  HANDLE data = p->data;
  w->props.erase(w->props.begin() + (p - w->props.data()));
  return data;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  bool wasDisabled = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    wasDisabled = (w->style & WS_DISABLED) != 0;
  }
  if (wasDisabled == !enable) return wasDisabled;
  if (!enable) SendMessage(hwnd, WM_CANCELMODE, 0, 0);
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w) return wasDisabled;
    if (enable)
      w->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
      w->style |= WS_DISABLED;
  }
  if (!enable) {
    // The focus cannot stay in a disabled window.
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(nullptr);
  }
  SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL IsWindowVisible(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  return w && IsVisibleLocked(w);
}

BOOL IsIconic(HWND hwnd) {
  if (pictavo::user::IsForeignWindowHandle(hwnd)) return foreign::IsIconic(hwnd);
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL IsWindowUnicode(HWND) {
  return FALSE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> handles;
  {
    std::lock_guard lock(UserLock());
    Window* w = parent ? GetLocked(parent) : DesktopLocked();
    if (!w) return FALSE;
    std::vector<Window*> all;
    CollectLocked(w, all);
    handles = Snapshot(all);
  }
  return Enumerate(handles, proc, lParam);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> handles;
  {
    std::lock_guard lock(UserLock());
    handles = Snapshot(DesktopLocked()->children);
  }
  return Enumerate(handles, proc, lParam);
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> handles;
  {
    std::lock_guard lock(UserLock());
    for (Window* w : DesktopLocked()->children)
      if (w->queue && w->queue->ThreadId() == threadId) handles.push_back(w->handle);
  }
  return Enumerate(handles, proc, lParam);
}

HWND FindWindowEx(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  std::lock_guard lock(UserLock());
  Window* p = parent ? GetLocked(parent) : DesktopLocked();
  if (!p) return nullptr;
  bool started = childAfter == nullptr;
  for (Window* w : p->children) {
    if (!started) {
      started = w->handle == childAfter;
      continue;
    }
    if (NameMatches(w, className, windowName)) return w->handle;
  }
  SetLastError(ERROR_SUCCESS);
  return nullptr;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
  return FindWindowEx(nullptr, nullptr, className, windowName);
}
