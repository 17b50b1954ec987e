// The non-client area we draw ourselves: borders, a flat caption with its buttons, hit testing,
// and moving and sizing a window by its frame.
#include <algorithm>
#include <cstdio>

#include "platform/gdi/Gdi.h"
#include "platform/user/ClassTable.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/MenuInternal.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/ScrollBarInternal.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

// wParam of WM_SIZING: the edge being dragged.
#ifndef WMSZ_LEFT
#define WMSZ_LEFT 1
#define WMSZ_RIGHT 2
#define WMSZ_TOP 3
#define WMSZ_TOPLEFT 4
#define WMSZ_TOPRIGHT 5
#define WMSZ_BOTTOM 6
#define WMSZ_BOTTOMLEFT 7
#define WMSZ_BOTTOMRIGHT 8
#endif

namespace pictavo::user::detail {
namespace {

struct FrameParts {
  int border = 0;   // each side
  int edge = 0;     // client edge inside the border
  int caption = 0;  // caption height below the top border
  int vscroll = 0;
  int hscroll = 0;
  bool thick = false;
  bool hasCaption = false;
};

FrameParts PartsOf(DWORD style, DWORD exStyle) {
  FrameParts p;
  p.thick = (style & WS_THICKFRAME) != 0;
  if (p.thick)
    p.border = GetSystemMetrics(SM_CXFRAME);
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    p.border = GetSystemMetrics(SM_CXDLGFRAME);
  else if (style & WS_BORDER)
    p.border = GetSystemMetrics(SM_CXBORDER);
  if (exStyle & WS_EX_CLIENTEDGE)
    p.edge = GetSystemMetrics(SM_CXEDGE);
  else if (exStyle & WS_EX_STATICEDGE)
    p.edge = GetSystemMetrics(SM_CXBORDER);
  p.hasCaption = (style & WS_CAPTION) == WS_CAPTION;
  if (p.hasCaption)
    p.caption =
        (exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
  if (style & WS_VSCROLL) p.vscroll = GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) p.hscroll = GetSystemMetrics(SM_CYHSCROLL);
  return p;
}

struct Buttons {
  RECT close{}, maximize{}, minimize{};
};

// Caption buttons, in window coordinates.
Buttons ButtonsOf(DWORD style, DWORD exStyle, const RECT& window) {
  Buttons b;
  const FrameParts p = PartsOf(style, exStyle);
  if (!p.hasCaption || !(style & WS_SYSMENU)) return b;
  const int height = p.caption - 5;
  const int width = height + 2;
  const int top = p.border + 2;
  int right = Width(window) - p.border - 2;
  b.close = RECT{right - width, top, right, top + height};
  right -= width + 2;
  if (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
    b.maximize = RECT{right - width, top, right, top + height};
    right -= width;
    b.minimize = RECT{right - width, top, right, top + height};
  }
  return b;
}

struct Snapshot {
  bool valid = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT window{};  // screen
  RECT client{};  // screen
  std::string text;
  bool child = false;
};

Snapshot Take(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  if (!w) return {};
  Snapshot s;
  s.valid = true;
  s.style = w->style;
  s.exStyle = w->exStyle;
  s.window = WindowRectScreenLocked(w);
  s.client = ClientRectScreenLocked(w);
  s.text = w->text;
  s.child = !IsTopLevel(w);
  return s;
}

void DrawCross(HDC dc, const RECT& r, COLORREF color) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  const int size = std::min(Width(r), Height(r)) / 2 - 1;
  const int cx = (r.left + r.right) / 2;
  const int cy = (r.top + r.bottom) / 2;
  for (int d = 0; d < 2; ++d) {
    MoveToEx(dc, cx - size / 2 + d, cy - size / 2, nullptr);
    LineTo(dc, cx + size / 2 + d + 1, cy + size / 2 + 1);
    MoveToEx(dc, cx + size / 2 + d, cy - size / 2, nullptr);
    LineTo(dc, cx - size / 2 + d - 1, cy + size / 2 + 1);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawButtonGlyph(HDC dc, const RECT& r, int kind, bool maximized, COLORREF color) {
  const int cx = (r.left + r.right) / 2;
  const int cy = (r.top + r.bottom) / 2;
  const int size = std::min(Width(r), Height(r)) / 2;
  RECT line{};
  switch (kind) {
    case 0:
      DrawCross(dc, r, color);
      break;
    case 1: {  // maximize / restore: a box
      RECT box{cx - size / 2, cy - size / 2, cx + size / 2 + 1, cy + size / 2 + 1};
      if (maximized) box = RECT{box.left, box.top + 2, box.right - 2, box.bottom};
      HBRUSH brush = CreateSolidBrush(color);
      FrameRect(dc, &box, brush);
      line = RECT{box.left, box.top + 1, box.right, box.top + 2};
      FillRect(dc, &line, brush);
      DeleteObject(brush);
      break;
    }
    default: {  // minimize: a bar at the bottom
      HBRUSH brush = CreateSolidBrush(color);
      line = RECT{cx - size / 2, cy + size / 2 - 1, cx + size / 2 + 1, cy + size / 2 + 1};
      FillRect(dc, &line, brush);
      DeleteObject(brush);
      break;
    }
  }
}

// Tracks the mouse while a frame drag lasts: `step` gets each new pointer position.
template <class Step>
void TrackDrag(HWND hwnd, POINT start, Step step, const RECT& original) {
  SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(hwnd);
  bool cancelled = false;
  MSG msg;
  while (GetCapture() == hwnd) {
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == hwnd) {
      step(POINT{msg.pt.x - start.x, msg.pt.y - start.y});
    } else if (msg.message == WM_LBUTTONUP && msg.hwnd == hwnd) {
      break;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      cancelled = true;
      break;
    } else {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  if (cancelled && IsWindow(hwnd)) {
    HWND parent = GetParent(hwnd);
    RECT r = original;
    if (parent && (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD))
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(hwnd, nullptr, r.left, r.top, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (IsWindow(hwnd)) SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void MoveOrSize(HWND hwnd, UINT command, LPARAM lParam) {
  const Snapshot s = Take(hwnd);
  if (!s.valid || (s.style & WS_MAXIMIZE)) return;
  const POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const RECT original = s.window;
  const UINT edge = command & 0x000F;
  const bool moving = (command & 0xFFF0) == SC_MOVE;
  HWND parent = s.child ? GetParent(hwnd) : nullptr;
  TrackDrag(
      hwnd, start,
      [&](POINT delta) {
        RECT r = original;
        if (moving) {
          r = Offset(r, delta.x, delta.y);
          SendMessage(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        } else {
          if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) r.left += delta.x;
          if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT) r.right += delta.x;
          if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) r.top += delta.y;
          if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT) r.bottom += delta.y;
          SendMessage(hwnd, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
        }
        if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(hwnd, nullptr, r.left, r.top, Width(r), Height(r),
                     SWP_NOZORDER | SWP_NOACTIVATE | (moving ? SWP_NOSIZE : 0));
      },
      original);
}

// Presses a caption button: the command runs when the button is released over it.
void PressButton(HWND hwnd, const RECT& buttonScreen, WPARAM command) {
  bool inside = true;
  SetCapture(hwnd);
  MSG msg;
  while (GetCapture() == hwnd) {
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (msg.message == WM_LBUTTONUP && msg.hwnd == hwnd) {
      inside = Contains(buttonScreen, msg.pt);
      break;
    }
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == hwnd) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  if (inside && IsWindow(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, command, 0);
}

}  // namespace

RECT MenuBarStrip(DWORD style, DWORD exStyle, const RECT& window) {
  const FrameParts p = PartsOf(style, exStyle);
  const int top = p.border + p.caption;
  return RECT{p.border, top, std::max(p.border, Width(window) - p.border), top};
}

RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& window, bool isChild) {
  const FrameParts p = PartsOf(style, exStyle);
  RECT r = window;
  const int inset = p.border + p.edge;
  r.left += inset;
  r.right -= inset;
  r.top += inset + p.caption;
  r.bottom -= inset;
  r.right -= p.vscroll;
  r.bottom -= p.hscroll;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

LRESULT DefaultHitTest(HWND hwnd, POINT screen) {
  const Snapshot s = Take(hwnd);
  if (!s.valid || !Contains(s.window, screen)) return HTNOWHERE;
  if (Contains(s.client, screen)) return HTCLIENT;
  const FrameParts p = PartsOf(s.style, s.exStyle);
  const POINT pt{screen.x - s.window.left, screen.y - s.window.top};
  const int width = Width(s.window);
  const int height = Height(s.window);
  if (pt.x < p.border || pt.x >= width - p.border || pt.y < p.border || pt.y >= height - p.border) {
    if (!p.thick || (s.style & WS_MAXIMIZE)) return HTBORDER;
    const int corner = GetSystemMetrics(SM_CYCAPTION);
    const bool left = pt.x < corner;
    const bool right = pt.x >= width - corner;
    const bool top = pt.y < corner;
    const bool bottom = pt.y >= height - corner;
    if (pt.y < p.border) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (pt.y >= height - p.border) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (pt.x < p.border) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (p.hasCaption && pt.y < p.border + p.caption) {
    const Buttons b = ButtonsOf(s.style, s.exStyle, s.window);
    if (Contains(b.close, pt)) return HTCLOSE;
    if (Contains(b.maximize, pt)) return HTMAXBUTTON;
    if (Contains(b.minimize, pt)) return HTMINBUTTON;
    return HTCAPTION;
  }
  if (!s.child && MenuBarHit(hwnd, s.style, s.exStyle, s.window, screen)) return HTMENU;
  const RECT client = Offset(s.client, -s.window.left, -s.window.top);
  if (p.vscroll && pt.x >= client.right && pt.x < client.right + p.vscroll && pt.y >= client.top &&
      pt.y < client.bottom)
    return HTVSCROLL;
  if (p.hscroll && pt.y >= client.bottom && pt.y < client.bottom + p.hscroll && pt.x >= client.left &&
      pt.x < client.right)
    return HTHSCROLL;
  return HTBORDER;
}

void DrawFrame(HWND hwnd, bool active) {
  const Snapshot s = Take(hwnd);
  if (!s.valid) return;
  const FrameParts p = PartsOf(s.style, s.exStyle);
  const bool menuBar = !s.child && HasMenuBar(hwnd);
  if (!p.border && !p.edge && !p.caption && !p.vscroll && !p.hscroll && !menuBar) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  const int width = Width(s.window);
  const int height = Height(s.window);
  RECT r{0, 0, width, height};
  const bool topLevel = !s.child;
  if (p.border) {
    // Our flat look: a frame in the caption colour with a darker outline; a plain line for
    // bordered children.
    const COLORREF fill = topLevel && p.hasCaption
                              ? GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION)
                              : GetSysColor(COLOR_3DFACE);
    HBRUSH brush = CreateSolidBrush(fill);
    for (int i = 0; i < p.border; ++i) {
      RECT ring{i, i, width - i, height - i};
      FrameRect(dc, &ring, brush);
    }
    DeleteObject(brush);
    HBRUSH outline = CreateSolidBrush(GetSysColor(p.border == 1 ? COLOR_WINDOWFRAME : COLOR_3DDKSHADOW));
    FrameRect(dc, &r, outline);
    DeleteObject(outline);
  }
  if (p.hasCaption) {
    const COLORREF captionColor = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF textColor = GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    RECT caption{p.border, p.border, width - p.border, p.border + p.caption};
    gdi::FillSolidRect(dc, caption, captionColor);
    const Buttons b = ButtonsOf(s.style, s.exStyle, s.window);
    RECT text = caption;
    text.left += 6;
    text.right = (b.minimize.left ? b.minimize.left : b.close.left ? b.close.left : caption.right) - 4;
    LOGFONT lf{};
    lf.lfHeight = -11;
    lf.lfWeight = FW_BOLD;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Tahoma");
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    DrawText(dc, s.text.c_str(), static_cast<int>(s.text.size()), &text,
             DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    if (b.close.right) {
      // A greyed Close item dims the button that would run it.
      const COLORREF dim = RGB((GetRValue(textColor) + GetRValue(captionColor)) / 2,
                               (GetGValue(textColor) + GetGValue(captionColor)) / 2,
                               (GetBValue(textColor) + GetBValue(captionColor)) / 2);
      DrawButtonGlyph(dc, b.close, 0, false, SystemCloseDisabled(hwnd) ? dim : textColor);
    }
    if (b.maximize.right) DrawButtonGlyph(dc, b.maximize, 1, (s.style & WS_MAXIMIZE) != 0, textColor);
    if (b.minimize.right) DrawButtonGlyph(dc, b.minimize, 2, false, textColor);
  }
  if (menuBar) DrawMenuBarFrame(hwnd, dc, s.style, s.exStyle, s.window);
  if (p.edge) {
    const int below = menuBar ? MenuBarHeight(hwnd) : 0;
    RECT edge{p.border, p.border + p.caption + below, width - p.border, height - p.border};
    DrawEdge(dc, &edge, p.edge > 1 ? EDGE_SUNKEN : BDR_SUNKENOUTER, BF_RECT);
  }
  if (p.vscroll || p.hscroll) DrawWindowScrollBars(hwnd, dc);
  ReleaseDC(hwnd, dc);
}

LRESULT DefaultSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
  switch (command & 0xFFF0) {
    case SC_CLOSE: {
      std::lock_guard lock(UserLock());
      Window* w = FindLocked(hwnd);
      if (w && w->cls && (w->cls->style & CS_NOCLOSE)) return 0;
    }
      // A greyed Close in the window's system menu stops the caption button and Alt+F4 too.
      if (SystemCloseDisabled(hwnd)) return 0;
      SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      return 0;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      return 0;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      return 0;
    case SC_MOVE:
    case SC_SIZE:
      if (lParam) MoveOrSize(hwnd, static_cast<UINT>(command), lParam);
      return 0;
    case SC_KEYMENU:
    case SC_MOUSEMENU:
      return MenuSysCommand(hwnd, command, lParam);
    default:
      return 0;
  }
}

LRESULT DefaultNcButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam) {
  const Snapshot s = Take(hwnd);
  if (!s.valid) return 0;
  const Buttons b = ButtonsOf(s.style, s.exStyle, s.window);
  switch (hit) {
    case HTCAPTION:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      return 0;
    case HTMENU:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTMENU, lParam);
      return 0;
    case HTCLOSE:
      PressButton(hwnd, Offset(b.close, s.window.left, s.window.top), SC_CLOSE);
      return 0;
    case HTMAXBUTTON:
      PressButton(hwnd, Offset(b.maximize, s.window.left, s.window.top),
                  (s.style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE);
      return 0;
    case HTMINBUTTON:
      PressButton(hwnd, Offset(b.minimize, s.window.left, s.window.top), SC_MINIMIZE);
      return 0;
    case HTVSCROLL:
    case HTHSCROLL:
      TrackWindowScrollBar(hwnd, static_cast<int>(hit), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT), lParam);
      return 0;
    default:
      return 0;
  }
}

}  // namespace pictavo::user::detail
