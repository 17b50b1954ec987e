// The windows open popups are shown in: top-level tool windows of class "#32768" above every
// other window, which never take the activation; the menu loop does their input.
#include <mutex>

#include "platform/gdi/Gdi.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "platform/user/MenuDraw.h"
#include "platform/user/MenuInternal.h"
#include "platform/user/MenuModel.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::menu {
namespace {

constexpr char kPopupClass[] = "#32768";

Level* LevelOf(HWND hwnd) {
  return reinterpret_cast<Level*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (const Level* level = LevelOf(hwnd)) DrawPopup(dc, level->menu, level->selected, level->owner);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case MN_GETHMENU: {
      const Level* level = LevelOf(hwnd);
      return level ? reinterpret_cast<LRESULT>(level->menu) : 0;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void RegisterPopupClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASS wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = PopupProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPopupClass;
    RegisterClass(&wc);
  });
}

}  // namespace

HWND ShowPopupWindow(Level* level) {
  RegisterPopupClass();
  const RECT& r = level->screen;
  HWND hwnd =
      CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kPopupClass, "", WS_POPUP, r.left,
                     r.top, r.right - r.left, r.bottom - r.top, level->owner, nullptr, nullptr, nullptr);
  if (!hwnd) return nullptr;
  SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(level));
  level->window = hwnd;
  {
    std::lock_guard lock(MenuLock());
    if (Menu* m = FindLocked(level->menu)) m->popupWindow = hwnd;
  }
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return hwnd;
}

int PopupItemAt(HMENU menu, POINT client) {
  std::lock_guard lock(MenuLock());
  const Menu* m = FindLocked(menu);
  if (!m) return -1;
  for (size_t i = 0; i < m->items.size(); ++i) {
    const RECT& r = m->items[i].rect;
    if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom)
      return m->items[i].IsSeparator() ? -1 : static_cast<int>(i);
  }
  return -1;
}

}  // namespace pictavo::user::menu
