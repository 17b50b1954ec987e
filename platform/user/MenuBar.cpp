// The menu bar of top-level windows: the window's menu, the room it takes in the frame, its
// drawing and hit testing, and how the keyboard and the mouse enter its menu loop. Also where
// items are on the screen, and the window menu copies.
#include <algorithm>
#include <map>
#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/VirtualKeys.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "platform/user/MenuDraw.h"
#include "platform/user/MenuInternal.h"
#include "platform/user/MenuModel.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::menu {
namespace {

struct Frame {
  bool valid = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT window{};  // screen
  HMENU menu = nullptr;
};

// The window's frame and menu; no menu for a child window or one that holds no valid menu.
Frame FrameOf(HWND hwnd) {
  Frame f;
  {
    std::lock_guard lock(detail::UserLock());
    detail::Window* w = detail::FindLocked(hwnd);
    if (!w) return f;
    f.valid = true;
    f.style = w->style;
    f.exStyle = w->exStyle;
    f.window = detail::WindowRectScreenLocked(w);
    if (!(w->style & WS_CHILD)) f.menu = reinterpret_cast<HMENU>(w->id);
  }
  if (f.menu && !IsMenu(f.menu)) f.menu = nullptr;
  return f;
}

// Where the bar is: the strip in window coordinates, its height from the last layout.
RECT BarRect(const Frame& f) {
  if (!f.menu) return RECT{};
  const RECT strip = detail::MenuBarStrip(f.style, f.exStyle, f.window);
  std::lock_guard lock(MenuLock());
  const Menu* m = FindLocked(f.menu);
  const int height = m ? static_cast<int>(m->size.cy) : 0;
  return RECT{strip.left, strip.top, strip.right, strip.top + height};
}

RECT ToScreen(const Frame& f, const RECT& r) {
  return RECT{r.left + f.window.left, r.top + f.window.top, r.right + f.window.left, r.bottom + f.window.top};
}

bool Inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Per-thread: the Alt or F10 key pressed, and the thread's key-press count then. Released
// with no other key pressed meanwhile (whoever handled that key), it opens the bar.
thread_local WPARAM t_armedKey = 0;
thread_local DWORD t_armedPresses = 0;

DWORD KeyPresses() {
  return detail::MessageQueue::Current().input.keyPresses;
}

std::mutex g_systemMenusLock;
std::map<HWND, HMENU> g_systemMenus;  // guarded by g_systemMenusLock

HMENU MakeSystemMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(menu, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(menu, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
  return menu;
}

}  // namespace

RECT BarScreenRect(HWND hwnd) {
  const Frame f = FrameOf(hwnd);
  if (!f.menu) return RECT{};
  return ToScreen(f, BarRect(f));
}

RECT BarItemScreenRect(HWND hwnd, int position) {
  const Frame f = FrameOf(hwnd);
  if (!f.menu) return RECT{};
  const RECT bar = ToScreen(f, BarRect(f));
  std::lock_guard lock(MenuLock());
  const Menu* m = FindLocked(f.menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return RECT{};
  const RECT& r = m->items[static_cast<size_t>(position)].rect;
  return RECT{bar.left + r.left, bar.top + r.top, bar.left + r.right, bar.top + r.bottom};
}

int BarItemAt(HWND hwnd, POINT screen) {
  const Frame f = FrameOf(hwnd);
  if (!f.menu) return -1;
  const RECT bar = ToScreen(f, BarRect(f));
  if (!Inside(bar, screen)) return -1;
  const POINT local{screen.x - bar.left, screen.y - bar.top};
  std::lock_guard lock(MenuLock());
  const Menu* m = FindLocked(f.menu);
  if (!m) return -1;
  for (size_t i = 0; i < m->items.size(); ++i)
    if (Inside(m->items[i].rect, local) && !m->items[i].IsSeparator()) return static_cast<int>(i);
  return -1;
}

void RedrawBar(HWND hwnd) {
  const Frame f = FrameOf(hwnd);
  if (!f.menu || !IsWindowVisible(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  detail::DrawMenuBarFrame(hwnd, dc, f.style, f.exStyle, f.window);
  ReleaseDC(hwnd, dc);
}

}  // namespace pictavo::user::menu

namespace pictavo::user::detail {

using menu::FindLocked;
using menu::MenuLock;

void ReserveMenuBar(HWND hwnd, const RECT& window, RECT* client) {
  menu::Frame f = menu::FrameOf(hwnd);
  if (!f.menu || !client) return;
  const RECT strip = MenuBarStrip(f.style, f.exStyle, window);
  const int height = menu::LayoutBar(f.menu, hwnd, strip.right - strip.left);
  {
    std::lock_guard lock(MenuLock());
    if (menu::Menu* m = FindLocked(f.menu)) m->barWindow = hwnd;
  }
  client->top = std::min(client->top + height, client->bottom);
}

bool HasMenuBar(HWND hwnd) {
  return menu::FrameOf(hwnd).menu != nullptr;
}

bool MenuBarHit(HWND hwnd, DWORD style, DWORD exStyle, const RECT& window, POINT screen) {
  menu::Frame f = menu::FrameOf(hwnd);
  if (!f.menu) return false;
  f.style = style;
  f.exStyle = exStyle;
  f.window = window;
  return menu::Inside(menu::ToScreen(f, menu::BarRect(f)), screen);
}

void DrawMenuBarFrame(HWND hwnd, HDC windowDC, DWORD style, DWORD exStyle, const RECT& window) {
  const menu::Frame f = menu::FrameOf(hwnd);
  if (!f.menu) return;
  const RECT strip = MenuBarStrip(style, exStyle, window);
  bool stale = false;
  {
    std::lock_guard lock(MenuLock());
    const menu::Menu* m = FindLocked(f.menu);
    stale = m && m->barWidth != strip.right - strip.left;
  }
  if (stale) menu::LayoutBar(f.menu, hwnd, strip.right - strip.left);
  menu::DrawBar(windowDC, f.menu, POINT{strip.left, strip.top}, hwnd);
}

LRESULT MenuSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
  const menu::Frame f = menu::FrameOf(hwnd);
  if (!f.valid || (f.style & WS_MINIMIZE)) return 0;
  switch (command & 0xFFF0) {
    case SC_KEYMENU:
      if (!f.menu) {
        // Without a bar there is nothing a letter could open; the window menu is not shown.
        if (lParam && lParam != ' ') MessageBeep(0);
        return 0;
      }
      if (lParam == 0)
        menu::TrackMenuBar(hwnd, f.menu, menu::BarStart::kKeyboard, 0, POINT{});
      else if (lParam != ' ')
        menu::TrackMenuBar(hwnd, f.menu, menu::BarStart::kMnemonic, static_cast<char32_t>(lParam), POINT{});
      return 0;
    case SC_MOUSEMENU:
      if (f.menu)
        menu::TrackMenuBar(hwnd, f.menu, menu::BarStart::kMouse, 0,
                           POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    default:
      return 0;
  }
}

void MenuKeyDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool repeat = (lParam & (1 << 30)) != 0;
  switch (message) {
    case WM_SYSKEYDOWN:
      if ((wParam == VK_MENU || wParam == VK_F10) && !repeat) {
        menu::t_armedKey = wParam;
        menu::t_armedPresses = menu::KeyPresses();
      }
      return;
    case WM_SYSKEYUP: {
      const WPARAM armed = menu::t_armedKey;
      menu::t_armedKey = 0;
      if (wParam != armed || menu::KeyPresses() != menu::t_armedPresses || (GetKeyState(VK_CONTROL) & 0x8000))
        return;
      if (HWND top = GetAncestor(hwnd, GA_ROOT)) SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
      return;
    }
    case WM_SYSCHAR:
      menu::t_armedKey = 0;
      if (wParam < 0x20) return;
      if (HWND top = GetAncestor(hwnd, GA_ROOT))
        SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
      return;
    default:
      return;
  }
}

void MenuBarMouseDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (menu::IsTracking()) return;
  const menu::Frame f = menu::FrameOf(hwnd);
  if (!f.menu) return;
  int item = -1;
  if (message == WM_NCMOUSEMOVE && wParam == HTMENU)
    item = menu::BarItemAt(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  bool changed = false;
  {
    std::lock_guard lock(MenuLock());
    if (menu::Menu* m = FindLocked(f.menu); m && m->hot != item) {
      m->hot = item;
      m->pressed = false;
      changed = true;
    }
  }
  if (changed) menu::RedrawBar(hwnd);
  if (item >= 0) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_NONCLIENT, hwnd, 0};
    TrackMouseEvent(&track);
  }
}

int MenuBarHeight(HWND hwnd) {
  const menu::Frame f = menu::FrameOf(hwnd);
  const RECT bar = menu::BarRect(f);
  return bar.bottom - bar.top;
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::menu;

HMENU GetMenu(HWND hwnd) {
  std::lock_guard lock(pictavo::user::detail::UserLock());
  pictavo::user::detail::Window* w = pictavo::user::detail::GetLocked(hwnd);
  if (!w || (w->style & WS_CHILD)) return nullptr;
  return reinterpret_cast<HMENU>(w->id);
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  if (menu && !IsMenu(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  HMENU old = nullptr;
  {
    std::lock_guard lock(pictavo::user::detail::UserLock());
    pictavo::user::detail::Window* w = pictavo::user::detail::GetLocked(hwnd);
    if (!w) return FALSE;
    if (w->style & WS_CHILD) {
      SetLastError(ERROR_CHILD_WINDOW_MENU);
      return FALSE;
    }
    old = reinterpret_cast<HMENU>(w->id);
    w->id = reinterpret_cast<UINT_PTR>(menu);
  }
  {
    std::lock_guard lock(MenuLock());
    if (Menu* m = FindLocked(old); m && m->barWindow == hwnd) m->barWindow = nullptr;
    if (Menu* m = FindLocked(menu)) {
      m->barWindow = hwnd;
      m->barWidth = -1;
      m->hot = -1;
      m->pressed = false;
    }
  }
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  {
    std::lock_guard lock(pictavo::user::detail::UserLock());
    pictavo::user::detail::Window* w = pictavo::user::detail::GetLocked(hwnd);
    if (!w) return FALSE;
    if (w->style & WS_CHILD) {
      SetLastError(ERROR_CHILD_WINDOW_MENU);
      return FALSE;
    }
  }
  // The bar is laid out again with the frame, since its items may now need another row.
  return SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::lock_guard lock(g_systemMenusLock);
  // Copies of windows that are gone are dropped on the way.
  for (auto it = g_systemMenus.begin(); it != g_systemMenus.end();) {
    if (IsWindow(it->first)) {
      ++it;
      continue;
    }
    DestroyMenu(it->second);
    it = g_systemMenus.erase(it);
  }
  const auto found = g_systemMenus.find(hwnd);
  if (revert) {
    if (found != g_systemMenus.end()) {
      DestroyMenu(found->second);
      g_systemMenus.erase(found);
    }
    return nullptr;
  }
  if (found != g_systemMenus.end() && IsMenu(found->second)) return found->second;
  HMENU menu = MakeSystemMenu();
  g_systemMenus[hwnd] = menu;
  return menu;
}

namespace pictavo::user::detail {

bool SystemCloseDisabled(HWND hwnd) {
  std::lock_guard lock(g_systemMenusLock);
  const auto found = g_systemMenus.find(hwnd);
  if (found == g_systemMenus.end() || !IsMenu(found->second)) return false;
  const UINT state = GetMenuState(found->second, SC_CLOSE, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

}  // namespace pictavo::user::detail

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECT itemRect{};
  HWND popup = nullptr;
  HWND bar = nullptr;
  {
    std::lock_guard lock(MenuLock());
    const Menu* m = GetLocked(menu);
    if (!m) return FALSE;
    if (item >= m->items.size()) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return FALSE;
    }
    itemRect = m->items[item].rect;
    popup = m->popupWindow;
    bar = m->barWindow;
  }
  RECT origin{};
  if (popup && IsWindow(popup)) {
    GetWindowRect(popup, &origin);
  } else if (bar && (!hwnd || hwnd == bar) && GetMenu(bar) == menu) {
    origin = BarScreenRect(bar);
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = RECT{origin.left + itemRect.left, origin.top + itemRect.top, origin.left + itemRect.right,
               origin.top + itemRect.bottom};
  return TRUE;
}

int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (GetMenuItemRect(hwnd, menu, static_cast<UINT>(i), &r) && Inside(r, screen)) return i;
  }
  return -1;
}
