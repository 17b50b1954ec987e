// Internal: the window records and the table behind HWND values. Every field of every window,
// the tree and the table are guarded by UserLock(); a window procedure is never called with it
// held, so code that sends a message looks the window up again afterwards.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/RegionData.h"
#include "platform/user/WindowClass.h"

namespace pictavo::gdi {
class Surface;
}

namespace pictavo::user::detail {

class MessageQueue;
struct WindowClassRecord;

struct Prop {
  std::string name;  // folded case; empty for an atom
  ATOM atom = 0;
  HANDLE data = nullptr;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<MessageQueue> queue;  // the owning thread's; null for the desktop
  std::shared_ptr<WindowClassRecord> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;  // child id, or the menu of a top-level window
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  Window* parent = nullptr;       // the desktop for a top-level window
  Window* owner = nullptr;        // top-level windows only
  std::vector<Window*> children;  // z-order, top first
  RECT rect{};                    // window rectangle in the parent's client coordinates
  RECT client{};                  // client rectangle, same coordinates
  std::string text;
  std::vector<Prop> props;
  std::vector<uint8_t> extra;  // the class's cbWndExtra bytes
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  HWND lastActivePopup = nullptr;

  // Painting.
  gdi::RegionData update;                  // client coordinates
  bool erase = false;                      // WM_ERASEBKGND pending
  bool frame = false;                      // WM_NCPAINT pending
  bool internalPaint = false;              // WM_PAINT wanted even with nothing to update
  bool paintCounted = false;               // counted in the queue's paint count
  std::unique_ptr<gdi::RegionData> shape;  // SetWindowRgn, window coordinates

  // Top-level windows: the pixels and what changed in them since the display was told.
  std::shared_ptr<gdi::Surface> surface;
  RECT dirty{};       // window coordinates
  RECT normalRect{};  // the restored rectangle while minimized or maximized

  std::shared_ptr<void> scrollBars;  // the standard scroll bars' state (ScrollBar.cpp)

  bool redrawOff = false;   // WM_SETREDRAW FALSE took WS_VISIBLE away; still shown on screen
  bool destroying = false;  // DestroyWindow has started
  bool isDesktop = false;
};

std::mutex& UserLock();

// The window behind a handle, or null. Windows being destroyed are still found until removed.
Window* FindLocked(HWND hwnd);
// As FindLocked, setting ERROR_INVALID_WINDOW_HANDLE when there is none.
Window* GetLocked(HWND hwnd);
Window* DesktopLocked();
// Gives the record a handle and puts it in the table.
Window* InsertLocked(std::unique_ptr<Window> window);
// Takes the record out of the table; the caller has unlinked it from the tree.
std::unique_ptr<Window> RemoveLocked(HWND hwnd);
// Every window of the table (unordered).
std::vector<Window*> AllWindowsLocked();

// Tree helpers.
bool IsTopLevel(const Window* w);
Window* TopLevelOf(Window* w);                             // itself for a top-level window
bool IsAncestor(const Window* ancestor, const Window* w);  // strict
bool IsVisibleLocked(const Window* w);                     // WS_VISIBLE up to the desktop
bool IsEnabledLocked(const Window* w);
// Client origin and rectangles in desktop coordinates.
POINT ClientOriginLocked(const Window* w);
RECT WindowRectScreenLocked(const Window* w);
RECT ClientRectScreenLocked(const Window* w);
// The window rectangle of `w` in the coordinates of its top-level window's surface.
RECT RectInTopLevelLocked(const Window* w);
POINT ClientOriginInTopLevelLocked(const Window* w);
void UnlinkLocked(Window* w);
// Inserts `w` among `parent`'s children after `after` (null: at the top; the special HWND_BOTTOM
// value: at the bottom), keeping topmost windows above the others.
void LinkLocked(Window* w, Window* parent, HWND after);
// Windows of the thread of `queue` in depth-first z-order (parents before children).
void CollectLocked(Window* root, std::vector<Window*>& out);
// Whether the window's thread is the calling one.
bool IsOwnThread(const Window* w);

// Rectangle helpers.
inline bool Empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}
inline RECT Offset(RECT r, int dx, int dy) {
  return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}
inline RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
         a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  return Empty(r) ? RECT{} : r;
}
inline RECT Union(const RECT& a, const RECT& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return RECT{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
              a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}
inline bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
inline int Width(const RECT& r) {
  return r.right - r.left;
}
inline int Height(const RECT& r) {
  return r.bottom - r.top;
}

}  // namespace pictavo::user::detail
