// Scroll bars: the geometry, look and mouse tracking every bar shares, the scroll bar control,
// and the standard bars of WS_HSCROLL / WS_VSCROLL windows with their API.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/user/ControlsInternal.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/ScrollBarInternal.h"
#include "platform/user/Timer.h"
#include "platform/user/UserInternal.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::controls {
namespace {

// Auto-repeat of a held arrow or page area: a pause, then a steady rate.
constexpr UINT_PTR kRepeatTimer = 0xFFF0;
constexpr UINT kRepeatDelay = 300;
constexpr UINT kRepeatRate = 50;
constexpr int kMinThumb = 8;

int Along(const RECT& r, bool vertical) {
  return vertical ? r.top : r.left;
}
int AlongEnd(const RECT& r, bool vertical) {
  return vertical ? r.bottom : r.right;
}
int AlongPoint(POINT p, bool vertical) {
  return vertical ? p.y : p.x;
}
// A rectangle spanning `from`..`to` along the bar and the bar's whole thickness across.
RECT Span(const RECT& bar, bool vertical, int from, int to) {
  return vertical ? RECT{bar.left, from, bar.right, to} : RECT{from, bar.top, to, bar.bottom};
}

int MaxPos(const ScrollModel& m) {
  const int page = static_cast<int>(std::min<UINT>(m.page, 0x7FFFFFFF));
  return std::max(m.min, m.max - (page ? page - 1 : 0));
}

int TrackLength(const ScrollLayout& l, bool vertical) {
  return AlongEnd(l.track, vertical) - Along(l.track, vertical);
}
int ThumbLength(const ScrollLayout& l, bool vertical) {
  return AlongEnd(l.thumb, vertical) - Along(l.thumb, vertical);
}

// The position a thumb whose leading edge is at `lead` stands for.
int PosFromThumb(const ScrollLayout& l, bool vertical, const ScrollModel& m, int lead) {
  const int room = TrackLength(l, vertical) - ThumbLength(l, vertical);
  const int span = MaxPos(m) - m.min;
  if (room <= 0 || span <= 0) return m.min;
  const int offset = std::clamp(lead - Along(l.track, vertical), 0, room);
  return m.min + static_cast<int>((static_cast<long long>(offset) * span + room / 2) / room);
}

WORD RequestOf(ScrollPart part) {
  switch (part) {
    case ScrollPart::kLineUp:
      return SB_LINEUP;
    case ScrollPart::kLineDown:
      return SB_LINEDOWN;
    case ScrollPart::kPageUp:
      return SB_PAGEUP;
    case ScrollPart::kPageDown:
      return SB_PAGEDOWN;
    default:
      return SB_ENDSCROLL;
  }
}

void DrawArrow(HDC dc, RECT r, UINT kind, bool pressed, bool disabled) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  DrawFrameControl(dc, &r, DFC_SCROLL,
                   kind | DFCS_FLAT | (pressed ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
}

}  // namespace

bool HasScrollRange(const ScrollModel& m) {
  return m.max > m.min && (m.page == 0 || m.page <= static_cast<UINT>(m.max - m.min));
}

int ApplyScrollInfo(ScrollModel& m, const SCROLLINFO& info) {
  if (info.fMask & SIF_RANGE) {
    m.min = info.nMin;
    m.max = std::max(info.nMin, info.nMax);
  }
  if (info.fMask & SIF_PAGE) m.page = info.nPage;
  const long long range = static_cast<long long>(m.max) - m.min + 1;
  if (static_cast<long long>(m.page) > range) m.page = static_cast<UINT>(range);
  if (info.fMask & SIF_POS) m.pos = info.nPos;
  m.pos = std::clamp(m.pos, m.min, MaxPos(m));
  if (!m.tracking) m.trackPos = m.pos;
  return m.pos;
}

void FillScrollInfo(const ScrollModel& m, SCROLLINFO* info) {
  if (info->fMask & SIF_RANGE) {
    info->nMin = m.min;
    info->nMax = m.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = m.page;
  if (info->fMask & SIF_POS) info->nPos = m.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = m.tracking ? m.trackPos : m.pos;
}

ScrollLayout LayoutScrollBar(const RECT& bar, bool vertical, const ScrollModel& m) {
  ScrollLayout l;
  const int start = Along(bar, vertical);
  const int end = AlongEnd(bar, vertical);
  const int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  const int arrow = std::max(0, std::min(thickness, (end - start) / 2));
  l.up = Span(bar, vertical, start, start + arrow);
  l.down = Span(bar, vertical, end - arrow, end);
  l.track = Span(bar, vertical, start + arrow, end - arrow);
  const int trackLength = end - start - 2 * arrow;
  if (!HasScrollRange(m) || trackLength <= 0) return l;
  const long long range = static_cast<long long>(m.max) - m.min + 1;
  int thumb = m.page ? static_cast<int>(trackLength * static_cast<long long>(m.page) / range)
                     : GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  thumb = std::max(thumb, kMinThumb);
  if (thumb > trackLength) return l;
  const int span = MaxPos(m) - m.min;
  const int pos = std::clamp(m.tracking ? m.trackPos : m.pos, m.min, MaxPos(m));
  const int offset =
      span > 0 ? static_cast<int>(static_cast<long long>(trackLength - thumb) * (pos - m.min) / span) : 0;
  l.thumb = Span(bar, vertical, start + arrow + offset, start + arrow + offset + thumb);
  return l;
}

ScrollPart HitScrollPart(const ScrollLayout& l, bool vertical, POINT pt) {
  using detail::Contains;
  if (Contains(l.up, pt)) return ScrollPart::kLineUp;
  if (Contains(l.down, pt)) return ScrollPart::kLineDown;
  if (!Contains(l.track, pt)) return ScrollPart::kNone;
  if (detail::Empty(l.thumb)) return ScrollPart::kNone;
  const int at = AlongPoint(pt, vertical);
  if (at < Along(l.thumb, vertical)) return ScrollPart::kPageUp;
  if (at >= AlongEnd(l.thumb, vertical)) return ScrollPart::kPageDown;
  return ScrollPart::kThumb;
}

void DrawScrollBar(HDC dc, const RECT& bar, bool vertical, const ScrollModel& m, bool enabled,
                   ScrollPart pressed, HBRUSH track, bool focused) {
  const bool active =
      enabled && !m.emptyDisabled && HasScrollRange(m) && m.disabledArrows != ESB_DISABLE_BOTH;
  const ScrollLayout l = LayoutScrollBar(bar, vertical, m);
  FillRect(dc, &l.track, track ? track : GetSysColorBrush(COLOR_3DLIGHT));
  DrawArrow(dc, l.up, vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, pressed == ScrollPart::kLineUp,
            !active || (m.disabledArrows & ESB_DISABLE_UP));
  DrawArrow(dc, l.down, vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, pressed == ScrollPart::kLineDown,
            !active || (m.disabledArrows & ESB_DISABLE_DOWN));
  if (!active || detail::Empty(l.thumb)) return;
  // A flat thumb, inset from the sides, darker while held.
  RECT thumb = l.thumb;
  if (vertical)
    InflateRect(&thumb, -2, 0);
  else
    InflateRect(&thumb, 0, -2);
  gdi::FillSolidRect(dc, thumb,
                     GetSysColor(pressed == ScrollPart::kThumb ? COLOR_BTNSHADOW : COLOR_SCROLLBAR));
  if (focused) {
    RECT ring = thumb;
    InflateRect(&ring, -1, -1);
    DrawFocusRect(dc, &ring);
  }
}

void TrackScrollBar(const ScrollTracker& t, POINT screen) {
  const bool vertical = t.vertical;
  ScrollModel model = t.model();
  ScrollLayout layout = LayoutScrollBar(t.screenRect(), vertical, model);
  const ScrollPart part = HitScrollPart(layout, vertical, screen);
  if (part == ScrollPart::kNone || model.disabledArrows == ESB_DISABLE_BOTH) return;
  if ((part == ScrollPart::kLineUp && (model.disabledArrows & ESB_DISABLE_UP)) ||
      (part == ScrollPart::kLineDown && (model.disabledArrows & ESB_DISABLE_DOWN)))
    return;
  const UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
  auto send = [&](WORD request, int pos) {
    if (IsWindow(t.notify))
      SendMessage(t.notify, message, MAKEWPARAM(request, static_cast<WORD>(pos)),
                  reinterpret_cast<LPARAM>(t.control));
  };

  SetCapture(t.capture);
  const bool thumb = part == ScrollPart::kThumb;
  const int grab = AlongPoint(screen, vertical) - Along(layout.thumb, vertical);
  int last = model.pos;
  if (thumb) {
    t.setTrack(last, true);
    t.paint(part);
  } else {
    send(RequestOf(part), 0);
    t.paint(part);
    SetTimer(t.capture, kRepeatTimer, kRepeatDelay, nullptr);
  }
  POINT cursor = screen;
  MSG msg;
  while (GetCapture() == t.capture) {
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      cursor = msg.pt;
      if (thumb) {
        model = t.model();
        layout = LayoutScrollBar(t.screenRect(), vertical, model);
        const int pos = PosFromThumb(layout, vertical, model, AlongPoint(cursor, vertical) - grab);
        if (pos != last) {
          last = pos;
          t.setTrack(pos, true);
          send(SB_THUMBTRACK, pos);
          t.paint(part);
        }
      } else {
        model = t.model();
        layout = LayoutScrollBar(t.screenRect(), vertical, model);
        t.paint(HitScrollPart(layout, vertical, cursor) == part ? part : ScrollPart::kNone);
      }
      continue;
    }
    if (msg.message == WM_TIMER && msg.hwnd == t.capture && msg.wParam == kRepeatTimer) {
      model = t.model();
      layout = LayoutScrollBar(t.screenRect(), vertical, model);
      if (HitScrollPart(layout, vertical, cursor) == part) {
        send(RequestOf(part), 0);
        t.paint(part);
      }
      if (IsWindow(t.capture)) SetTimer(t.capture, kRepeatTimer, kRepeatRate, nullptr);
      continue;
    }
    // Other clicks wait until this press is over.
    if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
        (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCXBUTTONDBLCLK))
      continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  if (IsWindow(t.capture)) KillTimer(t.capture, kRepeatTimer);
  if (GetCapture() == t.capture) ReleaseCapture();
  if (thumb) {
    t.setTrack(last, false);
    send(SB_THUMBPOSITION, last);
  }
  send(SB_ENDSCROLL, 0);
  if (IsWindow(t.capture)) t.paint(ScrollPart::kNone);
}

// The scroll bar control.
namespace {

struct ScrollBarState : ControlState {
  ScrollModel model;
  ScrollPart pressed = ScrollPart::kNone;
  bool focused = false;
};
StateTable<ScrollBarState>& States() {
  static auto* table = new StateTable<ScrollBarState>;
  return *table;
}

bool IsVertical(HWND hwnd) {
  return (StyleOf(hwnd) & SBS_VERT) != 0;
}

void PaintControl(HWND hwnd, HDC dc, const ScrollBarState& s) {
  RECT client;
  GetClientRect(hwnd, &client);
  const DWORD style = StyleOf(hwnd);
  if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
    DrawFrameControl(dc, &client, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return;
  }
  // The default colours would hide the track on a dialog: it keeps its own tone then.
  HBRUSH track = ControlColorBrush(hwnd, dc, WM_CTLCOLORSCROLLBAR);
  if (track == GetSysColorBrush(COLOR_3DFACE)) track = nullptr;
  DrawScrollBar(dc, client, IsVertical(hwnd), s.model, IsWindowEnabled(hwnd), s.pressed, track, s.focused);
}

void Redraw(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, FALSE);
}

void KeyScroll(HWND hwnd, WPARAM key) {
  const bool vertical = IsVertical(hwnd);
  WORD request = 0xFFFF;
  switch (key) {
    case VK_UP:
    case VK_LEFT:
      request = SB_LINEUP;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      request = SB_LINEDOWN;
      break;
    case VK_PRIOR:
      request = SB_PAGEUP;
      break;
    case VK_NEXT:
      request = SB_PAGEDOWN;
      break;
    case VK_HOME:
      request = SB_TOP;
      break;
    case VK_END:
      request = SB_BOTTOM;
      break;
    default:
      return;
  }
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  const UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
  SendMessage(parent, message, MAKEWPARAM(request, 0), reinterpret_cast<LPARAM>(hwnd));
  SendMessage(parent, message, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(hwnd));
}

}  // namespace

LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto state = States().Find(hwnd);
  if (!state) {
    if (message != WM_NCCREATE) return DefWindowProc(hwnd, message, wParam, lParam);
    state = States().Create(hwnd);
  }
  ScrollBarState& s = *state;
  switch (message) {
    case WM_NCDESTROY:
      States().Remove(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE:
      s.model.max = 0;  // a new control has an empty range (a window's bars have 0 to 100)
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PaintDc paint(hwnd, wParam);
      PaintControl(hwnd, paint.Dc(), s);
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_ENABLE:
      Redraw(hwnd);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s.focused = message == WM_SETFOCUS;
      Redraw(hwnd);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s.font);
    case WM_KEYDOWN:
      KeyScroll(hwnd, wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (StyleOf(hwnd) & WS_TABSTOP) SetFocus(hwnd);
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      ScrollTracker t;
      t.capture = hwnd;
      t.notify = GetParent(hwnd);
      t.control = hwnd;
      t.vertical = IsVertical(hwnd);
      t.screenRect = [hwnd] {
        RECT r{};
        GetClientRect(hwnd, &r);
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
      };
      t.model = [state] { return state->model; };
      t.setTrack = [state](int pos, bool tracking) {
        state->model.trackPos = pos;
        state->model.tracking = tracking;
      };
      t.paint = [hwnd, state](ScrollPart pressed) {
        if (!state->alive) return;
        state->pressed = pressed;
        HDC dc = GetDC(hwnd);
        PaintControl(hwnd, dc, *state);
        ReleaseDC(hwnd, dc);
      };
      TrackScrollBar(t, pt);
      return 0;
    }
    case SBM_SETPOS: {
      const int old = s.model.pos;
      SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0};
      ApplyScrollInfo(s.model, info);
      if (lParam && s.model.pos != old) Redraw(hwnd);
      return old;
    }
    case SBM_GETPOS:
      return s.model.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      const int old = s.model.pos;
      SCROLLINFO info{sizeof info, SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0};
      ApplyScrollInfo(s.model, info);
      if (message == SBM_SETRANGEREDRAW) Redraw(hwnd);
      return s.model.pos != old ? old : 0;
    }
    case SBM_GETRANGE:
      if (wParam) *reinterpret_cast<LPINT>(wParam) = s.model.min;
      if (lParam) *reinterpret_cast<LPINT>(lParam) = s.model.max;
      return 0;
    case SBM_ENABLE_ARROWS:
      s.model.disabledArrows = static_cast<UINT>(wParam) & ESB_DISABLE_BOTH;
      Redraw(hwnd);
      return TRUE;
    case SBM_SETSCROLLINFO: {
      const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
      if (!info) return s.model.pos;
      const int pos = ApplyScrollInfo(s.model, *info);
      if (info->fMask & SIF_DISABLENOSCROLL) s.model.emptyDisabled = !HasScrollRange(s.model);
      if (wParam) Redraw(hwnd);
      return pos;
    }
    case SBM_GETSCROLLINFO: {
      auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
      if (!info) return FALSE;
      FillScrollInfo(s.model, info);
      return TRUE;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace pictavo::user::controls

// The standard bars of a window.
namespace pictavo::user::detail {
namespace {

using controls::ScrollModel;
using controls::ScrollPart;

struct WindowBars {
  ScrollModel bars[2];  // SB_HORZ, SB_VERT
  ScrollPart pressed[2] = {ScrollPart::kNone, ScrollPart::kNone};
};

// UserLock() held.
WindowBars* BarsLocked(Window* w, bool create) {
  if (!w->scrollBars && create) w->scrollBars = std::make_shared<WindowBars>();
  return static_cast<WindowBars*>(w->scrollBars.get());
}

struct BarGeometry {
  RECT vertical{};  // window coordinates, empty when the window has no such bar
  RECT horizontal{};
  RECT corner{};
};

BarGeometry GeometryOf(HWND hwnd, DWORD* styleOut) {
  BarGeometry g;
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  if (!w) return g;
  const RECT window = WindowRectScreenLocked(w);
  const RECT client = Offset(ClientRectScreenLocked(w), -window.left, -window.top);
  if (styleOut) *styleOut = w->style;
  const int cx = GetSystemMetrics(SM_CXVSCROLL);
  const int cy = GetSystemMetrics(SM_CYHSCROLL);
  if (w->style & WS_VSCROLL) g.vertical = RECT{client.right, client.top, client.right + cx, client.bottom};
  if (w->style & WS_HSCROLL)
    g.horizontal = RECT{client.left, client.bottom, client.right, client.bottom + cy};
  if ((w->style & WS_VSCROLL) && (w->style & WS_HSCROLL))
    g.corner = RECT{client.right, client.bottom, client.right + cx, client.bottom + cy};
  return g;
}

WindowBars Snapshot(HWND hwnd) {
  std::lock_guard lock(UserLock());
  Window* w = FindLocked(hwnd);
  WindowBars* bars = w ? BarsLocked(w, false) : nullptr;
  return bars ? *bars : WindowBars{};
}

void RedrawBars(HWND hwnd) {
  if (!IsWindowVisible(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  DrawWindowScrollBars(hwnd, dc);
  ReleaseDC(hwnd, dc);
}

// Shows or hides a standard bar by its style; the frame is recomputed when it changes.
void SetBarVisible(HWND hwnd, int bar, bool show) {
  const DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
  DWORD wanted = style;
  if (bar == SB_VERT || bar == SB_BOTH) wanted = show ? (wanted | WS_VSCROLL) : (wanted & ~WS_VSCROLL);
  if (bar == SB_HORZ || bar == SB_BOTH) wanted = show ? (wanted | WS_HSCROLL) : (wanted & ~WS_HSCROLL);
  if (wanted == style) return;
  SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(wanted));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsControlBar(int bar) {
  return bar == SB_CTL;
}

}  // namespace

void DrawWindowScrollBars(HWND hwnd, HDC dc) {
  DWORD style = 0;
  const BarGeometry g = GeometryOf(hwnd, &style);
  const WindowBars bars = Snapshot(hwnd);
  const bool enabled = !(style & WS_DISABLED);
  if (!Empty(g.vertical))
    controls::DrawScrollBar(dc, g.vertical, true, bars.bars[SB_VERT], enabled, bars.pressed[SB_VERT], nullptr,
                            false);
  if (!Empty(g.horizontal))
    controls::DrawScrollBar(dc, g.horizontal, false, bars.bars[SB_HORZ], enabled, bars.pressed[SB_HORZ],
                            nullptr, false);
  if (!Empty(g.corner)) FillRect(dc, &g.corner, GetSysColorBrush(COLOR_BTNFACE));
}

void TrackWindowScrollBar(HWND hwnd, int hit, POINT screen) {
  const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  controls::ScrollTracker t;
  t.capture = hwnd;
  t.notify = hwnd;
  t.vertical = bar == SB_VERT;
  t.screenRect = [hwnd, bar] {
    const BarGeometry g = GeometryOf(hwnd, nullptr);
    RECT window{};
    GetWindowRect(hwnd, &window);
    return Offset(bar == SB_VERT ? g.vertical : g.horizontal, window.left, window.top);
  };
  t.model = [hwnd, bar] { return Snapshot(hwnd).bars[bar]; };
  t.setTrack = [hwnd, bar](int pos, bool tracking) {
    std::lock_guard lock(UserLock());
    Window* w = FindLocked(hwnd);
    if (WindowBars* bars = w ? BarsLocked(w, true) : nullptr) {
      bars->bars[bar].trackPos = pos;
      bars->bars[bar].tracking = tracking;
    }
  };
  t.paint = [hwnd, bar](ScrollPart pressed) {
    {
      std::lock_guard lock(UserLock());
      Window* w = FindLocked(hwnd);
      if (WindowBars* bars = w ? BarsLocked(w, true) : nullptr) bars->pressed[bar] = pressed;
    }
    RedrawBars(hwnd);
  };
  controls::TrackScrollBar(t, screen);
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (!info) return 0;
  if (IsControlBar(bar))
    return static_cast<int>(SendMessage(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  if (bar != SB_HORZ && bar != SB_VERT) return 0;
  int pos = 0;
  bool needed = false;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return 0;
    ScrollModel& m = BarsLocked(w, true)->bars[bar];
    pos = pictavo::user::controls::ApplyScrollInfo(m, *info);
    needed = pictavo::user::controls::HasScrollRange(m);
    m.emptyDisabled = !needed && (info->fMask & SIF_DISABLENOSCROLL);
  }
  // A range change shows the bar when there is something to scroll and hides it when there is
  // not (a SIF_DISABLENOSCROLL bar stays, disabled).
  if (info->fMask & SIF_RANGE || info->fMask & SIF_PAGE)
    SetBarVisible(hwnd, bar, needed || (info->fMask & SIF_DISABLENOSCROLL));
  if (redraw) RedrawBars(hwnd);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (!info) return FALSE;
  if (IsControlBar(bar))
    return static_cast<BOOL>(SendMessage(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
  if (bar != SB_HORZ && bar != SB_VERT) return FALSE;
  std::lock_guard lock(UserLock());
  Window* w = GetLocked(hwnd);
  if (!w) return FALSE;
  WindowBars* bars = BarsLocked(w, false);
  if (!bars) return FALSE;
  pictavo::user::controls::FillScrollInfo(bars->bars[bar], info);
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  const int old = GetScrollPos(hwnd, bar);
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, pos, 0};
  if (IsControlBar(bar)) {
    SendMessage(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(&info));
    return old;
  }
  if (bar != SB_HORZ && bar != SB_VERT) return 0;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return 0;
    pictavo::user::controls::ApplyScrollInfo(BarsLocked(w, true)->bars[bar], info);
  }
  if (redraw) RedrawBars(hwnd);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO info{sizeof info, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  if (IsControlBar(bar)) {
    SendMessage(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
    return IsWindow(hwnd);
  }
  if (!IsWindow(hwnd)) return FALSE;
  SetScrollInfo(hwnd, bar, &info, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
  const BOOL ok = GetScrollInfo(hwnd, bar, &info);
  if (minPos) *minPos = ok ? info.nMin : 0;
  if (maxPos) *maxPos = ok ? info.nMax : 0;
  return IsWindow(hwnd);
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!IsWindow(hwnd)) return FALSE;
  if (IsControlBar(bar)) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  SetBarVisible(hwnd, bar, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (IsControlBar(static_cast<int>(bar)))
    return static_cast<BOOL>(SendMessage(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    WindowBars* bars = BarsLocked(w, true);
    if (bar == SB_HORZ || bar == SB_BOTH) bars->bars[SB_HORZ].disabledArrows = arrows & ESB_DISABLE_BOTH;
    if (bar == SB_VERT || bar == SB_BOTH) bars->bars[SB_VERT].disabledArrows = arrows & ESB_DISABLE_BOTH;
  }
  RedrawBars(hwnd);
  return TRUE;
}
