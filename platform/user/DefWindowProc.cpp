// The default processing of messages.
#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/MenuInternal.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/PaintInternal.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

struct Facts {
  bool valid = false;
  bool child = false;
  bool visible = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;
};

Facts FactsOf(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  if (!w) return {};
  Facts f;
  f.valid = true;
  f.style = w->style;
  f.exStyle = w->exStyle;
  f.child = (w->style & WS_CHILD) != 0;
  f.visible = IsVisibleLocked(w);
  f.parent = w->parent && !w->parent->isDesktop ? w->parent->handle : nullptr;
  return f;
}

void StoreText(HWND hwnd, LPCSTR text) {
  std::lock_guard lock(UserLock());
  if (Window* w = FindLocked(hwnd)) w->text = text ? text : "";
}

// Copies at most max - 1 bytes, never cutting a UTF-8 sequence in two.
LRESULT CopyText(HWND hwnd, WPARAM max, LPSTR out) {
  if (!out || max == 0) return 0;
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  if (!w) {
    out[0] = '\0';
    return 0;
  }
  size_t n = std::min<size_t>(w->text.size(), max - 1);
  if (n < w->text.size())
    while (n > 0 && (static_cast<unsigned char>(w->text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, w->text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT ControlColor(UINT message, HDC dc) {
  const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_3DFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_3DFACE));
}

void ClampToMinMax(HWND hwnd, WINDOWPOS* pos) {
  MINMAXINFO info{};
  const SIZE desktop = DesktopSize();
  info.ptMaxSize = POINT{desktop.cx, desktop.cy};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  pos->cx =
      std::clamp<int>(pos->cx, info.ptMinTrackSize.x, std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
  pos->cy =
      std::clamp<int>(pos->cy, info.ptMinTrackSize.y, std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
}

void ReportPositionChange(HWND hwnd, const WINDOWPOS* pos) {
  RECT client{};
  DWORD style = 0;
  {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (!w) return;
    client = w->client;
    style = w->style;
  }
  if (!(pos->flags & SWP_NOCLIENTMOVE)) SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
  if (!(pos->flags & SWP_NOCLIENTSIZE)) {
    const WPARAM kind = (style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                        : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                : SIZE_RESTORED;
    SendMessage(hwnd, WM_SIZE, kind, MAKELPARAM(Width(client), Height(client)));
  }
}

void SetRedraw(HWND hwnd, bool redraw) {
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  if (!w) return;
  // As on the platform, drawing off hides the window from invalidation and from
  // IsWindowVisible, without hiding it on screen.
  if (redraw) {
    if (w->redrawOff) w->style |= WS_VISIBLE;
    w->redrawOff = false;
  } else if (w->style & WS_VISIBLE) {
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    w->redrawOff = true;
    DropPaintStateLocked(w);
  }
}

HICON ExchangeIcon(HWND hwnd, WPARAM which, HICON icon, bool set) {
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  if (!w) return nullptr;
  HICON& slot = which == ICON_BIG ? w->bigIcon : w->smallIcon;
  HICON old = slot;
  if (set) slot = icon;
  return old;
}

}  // namespace
}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) StoreText(hwnd, cs->lpszName);
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      const Facts f = FactsOf(hwnd);
      RECT* rect =
          wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (rect) {
        const RECT window = *rect;
        *rect = DefaultClientRect(f.style, f.exStyle, *rect, f.child);
        if (!f.child) ReserveMenuBar(hwnd, window, rect);
      }
      return 0;
    }
    case WM_NCHITTEST:
      return DefaultHitTest(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT:
      DrawFrame(hwnd, GetActiveWindow() == hwnd);
      return 0;
    case WM_NCACTIVATE:
      if (FactsOf(hwnd).visible) DrawFrame(hwnd, wParam != FALSE);
      return TRUE;
    case WM_NCLBUTTONDOWN:
      return DefaultNcButtonDown(hwnd, wParam, lParam);
    case WM_NCLBUTTONDBLCLK: {
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) return DefaultNcButtonDown(hwnd, wParam, lParam);
      const Facts f = FactsOf(hwnd);
      if (wParam == HTCAPTION && (f.style & WS_MAXIMIZEBOX))
        SendMessage(hwnd, WM_SYSCOMMAND, (f.style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      return 0;
    }
    case WM_NCRBUTTONUP:
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    case WM_RBUTTONUP: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(pt.x, pt.y));
      return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_APPCOMMAND: {
      // Children pass these up until someone handles them.
      const Facts f = FactsOf(hwnd);
      if (f.child && f.parent) return SendMessage(f.parent, message, wParam, lParam);
      return 0;
    }
    case WM_SYSCOMMAND:
      return DefaultSysCommand(hwnd, wParam, lParam);
    case WM_KEYUP:
      // The menu key asks the focused window for its context menu, placed by the window itself.
      if (wParam == VK_APPS) SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000)) {
        // Shift+F10 is the menu key's twin, not the menu bar's F10.
        if (!(lParam & (1 << 30))) SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
        return 0;
      }
      if (wParam == VK_F4 && (HIWORD(lParam) & 0x2000)) {  // Alt+F4 closes the top-level window
        HWND top = GetAncestor(hwnd, GA_ROOT);
        if (top) SendMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      MenuKeyDefault(hwnd, message, wParam, lParam);
      return 0;
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      MenuKeyDefault(hwnd, message, wParam, lParam);
      return 0;
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
      MenuBarMouseDefault(hwnd, message, wParam, lParam);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETTEXT: {
      StoreText(hwnd, reinterpret_cast<LPCSTR>(lParam));
      const Facts f = FactsOf(hwnd);
      if (f.visible && (f.style & WS_CAPTION) == WS_CAPTION) SendMessage(hwnd, WM_NCPAINT, 1, 0);
      return TRUE;
    }
    case WM_GETTEXT:
      return CopyText(hwnd, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH: {
      std::lock_guard lock(UserLock());
      Window* w = FindLocked(hwnd);
      return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_ERASEBKGND:
      return EraseWithClassBrush(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR: {
      const Facts f = FactsOf(hwnd);
      if (f.child && f.parent && SendMessage(f.parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      CursorForHit(hwnd, static_cast<SHORT>(LOWORD(lParam)), HIWORD(lParam));
      return FALSE;
    }
    case WM_MOUSEACTIVATE: {
      const Facts f = FactsOf(hwnd);
      if (f.child && f.parent) {
        const LRESULT r = SendMessage(f.parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd)) SetFocus(hwnd);
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      const Facts f = FactsOf(hwnd);
      if (pos && !(pos->flags & SWP_NOSIZE) && !f.child && (f.style & WS_THICKFRAME) &&
          !(f.style & WS_MINIMIZE))
        ClampToMinMax(hwnd, pos);
      return 0;
    }
    case WM_WINDOWPOSCHANGED:
      if (lParam) ReportPositionChange(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETREDRAW:
      SetRedraw(hwnd, wParam != FALSE);
      return 0;
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(ExchangeIcon(hwnd, wParam, nullptr, false));
    case WM_SETICON: {
      const LRESULT old =
          reinterpret_cast<LRESULT>(ExchangeIcon(hwnd, wParam, reinterpret_cast<HICON>(lParam), true));
      const Facts f = FactsOf(hwnd);
      if (f.visible && (f.style & WS_CAPTION) == WS_CAPTION) SendMessage(hwnd, WM_NCPAINT, 1, 0);
      return old;
    }
    case WM_QUERYDRAGICON:
      return static_cast<LRESULT>(GetClassLongPtr(hwnd, GCLP_HICON));
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return ControlColor(message, reinterpret_cast<HDC>(wParam));
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return -1;
    default:
      return 0;
  }
}
