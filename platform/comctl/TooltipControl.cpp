// The tooltip control: tools are rectangles of windows (or whole windows); mouse messages relayed
// to the control (TTM_RELAYEVENT, or seen through TTF_SUBCLASS) find the tool under the pointer,
// and after the initial delay its text shows in a top-level pop-up until the pointer leaves, a
// button or key is pressed, or the auto-pop delay passes. Tracking tips show where they are put.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/comctl/Subclass.h"
#include "platform/comctl/Support.h"
#include "platform/comctl/Tooltip.h"
#include "platform/kernel/Time.h"
#include "platform/res/Resources.h"

namespace pictavo::comctl::detail {
namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr int kStem = 12;  // the balloon's stem
constexpr int kBalloonRadius = 12;
constexpr int kCursorHeight = 20;  // a tip shows this far below the pointer

struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  HINSTANCE hinst = nullptr;
  std::string text;
  bool callback = false;
  UINT resource = 0;  // a string resource, with hinst
  LPARAM lParam = 0;
};

struct TooltipState : ControlBase {
  std::vector<Tool> tools;
  bool active = true;
  int current = -1;    // the tool under the pointer, from the relayed messages
  int shown = -1;      // the tool whose tip shows
  bool quiet = false;  // a click or key hid the tip: not again until the pointer leaves the tool
  int tracking = -1;   // the tool shown by TTM_TRACKACTIVATE
  POINT trackPos{};
  POINT anchor{};    // where the balloon's stem points, screen coordinates
  std::string text;  // what shows
  int initial = 500;
  int autopop = 5000;
  int reshow = 100;
  DWORD lastPop = 0;
  int maxWidth = -1;
  RECT margin{2, 2, 2, 2};
  COLORREF back = CLR_DEFAULT;
  COLORREF fore = CLR_DEFAULT;
};
using State = WindowState<TooltipState>;

bool Balloon(const TooltipState& s) {
  return (StyleOf(s) & TTS_BALLOON) != 0;
}

// Tool notifications go to the tool's window, identified by the tool's id.
LRESULT NotifyTool(TooltipState& s, const Tool& tool, UINT code, NMHDR* hdr) {
  hdr->hwndFrom = s.hwnd;
  hdr->idFrom = tool.id;
  hdr->code = code;
  if (!tool.hwnd || !IsWindow(tool.hwnd)) return 0;
  return SendMessage(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(hdr));
}

int FindTool(const TooltipState& s, HWND hwnd, UINT_PTR id) {
  for (size_t i = 0; i < s.tools.size(); ++i)
    if (s.tools[i].hwnd == hwnd && s.tools[i].id == id) return static_cast<int>(i);
  return -1;
}

// The window whose mouse messages the tool listens to.
HWND ToolWindow(const Tool& tool) {
  return (tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) : tool.hwnd;
}

int ToolAt(const TooltipState& s, HWND hwnd, POINT pt) {
  for (size_t i = 0; i < s.tools.size(); ++i) {
    const Tool& tool = s.tools[i];
    if (tool.flags & TTF_TRACK) continue;
    if (tool.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(tool.id) == hwnd) return static_cast<int>(i);
    } else if (tool.hwnd == hwnd && PtInRect(&tool.rect, pt)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string LoadResourceText(HINSTANCE hinst, UINT id) {
  char buffer[1024] = {};
  const int n = LoadString(hinst, id, buffer, static_cast<int>(sizeof buffer));
  return std::string(buffer, static_cast<size_t>(std::max(0, n)));
}

std::string ToolText(TooltipState& s, int index) {
  Tool& tool = s.tools[static_cast<size_t>(index)];
  if (!tool.callback) return tool.resource ? LoadResourceText(tool.hinst, tool.resource) : tool.text;
  NMTTDISPINFOA info{};
  info.lpszText = info.szText;
  info.uFlags = tool.flags;
  info.lParam = tool.lParam;
  NotifyTool(s, tool, TTN_GETDISPINFOA, &info.hdr);
  if (!s.alive || index >= static_cast<int>(s.tools.size())) return {};
  std::string text;
  if (info.hinst && IS_INTRESOURCE(info.lpszText) && info.lpszText)
    text = LoadResourceText(info.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(info.lpszText)));
  else if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(info.lpszText))
    text = info.lpszText;
  if (info.uFlags & TTF_DI_SETITEM) {
    Tool& kept = s.tools[static_cast<size_t>(index)];
    kept.text = text;
    kept.callback = false;
    kept.resource = 0;
  }
  return text;
}

UINT TextFormat(const TooltipState& s) {
  UINT format = (StyleOf(s) & TTS_NOPREFIX) ? DT_NOPREFIX : DT_HIDEPREFIX;
  return format | (s.maxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE);
}

SIZE TextSize(const TooltipState& s, const std::string& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  RECT r{0, 0, s.maxWidth >= 0 ? s.maxWidth : 4096, 0};
  {
    Selected font(dc, FontOf(s));
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFormat(s) | DT_CALCRECT);
  }
  DeleteDC(dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Text rectangle to window rectangle (or back).
RECT Adjusted(const TooltipState& s, RECT r, bool larger) {
  const int pad = Balloon(s) ? 6 : 1;
  const int sign = larger ? 1 : -1;
  r.left -= sign * (s.margin.left + pad + 1);
  r.top -= sign * (s.margin.top + pad);
  r.right += sign * (s.margin.right + pad + 1);
  r.bottom += sign * (s.margin.bottom + pad);
  return r;
}

SIZE BubbleSize(const TooltipState& s, const std::string& text) {
  const SIZE t = TextSize(s, text);
  const RECT r = Adjusted(s, RECT{0, 0, t.cx, t.cy}, true);
  return SIZE{r.right - r.left, r.bottom - r.top + (Balloon(s) ? kStem : 0)};
}

// The balloon: a rounded body with a stem from the edge nearest the anchor.
void ShapeBalloon(TooltipState& s, const RECT& window, bool stemOnTop) {
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  const int bodyTop = stemOnTop ? kStem : 0;
  const int bodyBottom = stemOnTop ? h : h - kStem;
  HRGN body = CreateRoundRectRgn(0, bodyTop, w + 1, bodyBottom + 1, kBalloonRadius, kBalloonRadius);
  const int x = std::clamp(static_cast<int>(s.anchor.x - window.left), kBalloonRadius,
                           std::max(kBalloonRadius, w - kBalloonRadius - kStem));
  POINT stem[3];
  if (stemOnTop) {
    stem[0] = POINT{x, 0};
    stem[1] = POINT{x, kStem + 1};
    stem[2] = POINT{x + kStem, kStem + 1};
  } else {
    stem[0] = POINT{x, h};
    stem[1] = POINT{x, bodyBottom - 1};
    stem[2] = POINT{x + kStem, bodyBottom - 1};
  }
  HRGN triangle = CreatePolygonRgn(stem, 3, WINDING);
  CombineRgn(body, body, triangle, RGN_OR);
  DeleteObject(triangle);
  SetWindowRgn(s.hwnd, body, FALSE);
}

bool StemOnTop(const TooltipState& s) {
  RECT window;
  GetWindowRect(s.hwnd, &window);
  return window.top >= s.anchor.y;
}

// Puts the tip where it belongs and shows it.
void Show(TooltipState& s, int index, bool tracking) {
  if (index < 0 || index >= static_cast<int>(s.tools.size())) return;
  std::string text = ToolText(s, index);
  if (!s.alive || index >= static_cast<int>(s.tools.size())) return;
  if (text.empty()) return;
  const Tool tool = s.tools[static_cast<size_t>(index)];
  s.text = std::move(text);
  const SIZE size = BubbleSize(s, s.text);
  POINT cursor{};
  GetCursorPos(&cursor);
  POINT at{cursor.x, cursor.y + kCursorHeight};
  s.anchor = cursor;
  if (tracking) {
    s.anchor = s.trackPos;
    at = (tool.flags & TTF_ABSOLUTE) ? s.trackPos : POINT{s.trackPos.x, s.trackPos.y};
    if (Balloon(s) && !(tool.flags & TTF_ABSOLUTE)) at.x -= kBalloonRadius + kStem / 2;
  } else if (tool.flags & TTF_CENTERTIP) {
    RECT r = tool.rect;
    if (tool.flags & TTF_IDISHWND) GetClientRect(ToolWindow(tool), &r);
    MapWindowPoints(ToolWindow(tool), nullptr, reinterpret_cast<POINT*>(&r), 2);
    at = POINT{(r.left + r.right - size.cx) / 2, r.bottom + 2};
    s.anchor = POINT{(r.left + r.right) / 2, r.bottom};
  } else if (Balloon(s)) {
    at = POINT{cursor.x - kBalloonRadius - kStem / 2, cursor.y + 2};
  }
  // Stay on the desktop: a tip that would run off the bottom goes above the anchor.
  const SIZE desktop = gdi::DesktopSize();
  if (at.y + size.cy > desktop.cy) at.y = std::max<LONG>(0, s.anchor.y - size.cy - (tracking ? 0 : 2));
  at.x = std::clamp<LONG>(at.x, 0, std::max<LONG>(0, desktop.cx - size.cx));
  SetWindowPos(s.hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
  s.shown = index;
  NMHDR hdr{};
  // The tool's window may place the tip itself (a non-zero answer).
  NotifyTool(s, tool, TTN_SHOW, &hdr);
  if (!s.alive || s.shown != index) return;
  if (Balloon(s)) {
    RECT window;
    GetWindowRect(s.hwnd, &window);
    ShapeBalloon(s, window, StemOnTop(s));
  }
  ShowWindow(s.hwnd, SW_SHOWNOACTIVATE);
  InvalidateRect(s.hwnd, nullptr, TRUE);
  if (!tracking) SetTimer(s.hwnd, kPopTimer, static_cast<UINT>(std::max(s.autopop, 1)), nullptr);
}

void Hide(TooltipState& s) {
  KillTimer(s.hwnd, kPopTimer);
  if (s.shown < 0) return;
  const int index = s.shown;
  s.shown = -1;
  s.lastPop = GetTickCount();
  ShowWindow(s.hwnd, SW_HIDE);
  if (index < static_cast<int>(s.tools.size())) {
    NMHDR hdr{};
    NotifyTool(s, s.tools[static_cast<size_t>(index)], TTN_POP, &hdr);
  }
}

bool OwnerActive(const TooltipState& s, const Tool& tool) {
  if (StyleOf(s) & TTS_ALWAYSTIP) return true;
  HWND root = GetAncestor(ToolWindow(tool), GA_ROOT);
  return root && GetActiveWindow() == root;
}

void Relay(TooltipState& s, const MSG& msg) {
  if (!s.active || s.tracking >= 0) return;
  switch (msg.message) {
    case WM_MOUSEMOVE: {
      const int tool = ToolAt(s, msg.hwnd, PointFrom(msg.lParam));
      if (tool == s.current) return;
      s.current = tool;
      s.quiet = false;
      const bool wasShown = s.shown >= 0;
      Hide(s);
      if (!s.alive) return;
      KillTimer(s.hwnd, kShowTimer);
      if (tool < 0 || !OwnerActive(s, s.tools[static_cast<size_t>(tool)])) return;
      // Moving from one tip to the next shows it sooner.
      const bool soon = wasShown || GetTickCount() - s.lastPop < static_cast<DWORD>(s.reshow * 5);
      SetTimer(s.hwnd, kShowTimer, static_cast<UINT>(std::max(soon ? s.reshow : s.initial, 1)), nullptr);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEWHEEL:
      KillTimer(s.hwnd, kShowTimer);
      s.quiet = true;
      Hide(s);
      return;
    default:
      return;
  }
}

void OnShowTimer(TooltipState& s) {
  KillTimer(s.hwnd, kShowTimer);
  if (!s.active || s.quiet || s.current < 0 || s.current >= static_cast<int>(s.tools.size())) return;
  // The pointer must still be over the tool.
  const Tool& tool = s.tools[static_cast<size_t>(s.current)];
  POINT cursor{};
  GetCursorPos(&cursor);
  HWND window = ToolWindow(tool);
  POINT pt = cursor;
  ScreenToClient(window, &pt);
  RECT area = tool.rect;
  if (tool.flags & TTF_IDISHWND) GetClientRect(window, &area);
  if (!PtInRect(&area, pt)) {
    s.current = -1;
    return;
  }
  Show(s, s.current, false);
}

LRESULT CALLBACK ToolSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_KEYDOWN ||
      message == WM_SYSKEYDOWN || (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK)) {
    if (std::shared_ptr<TooltipState> s = State::Get(reinterpret_cast<HWND>(id))) {
      MSG msg{hwnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
      GetCursorPos(&msg.pt);
      Relay(*s, msg);
    }
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void Subclass(TooltipState& s, const Tool& tool) {
  HWND window = ToolWindow(tool);
  if (window && IsWindow(window))
    SetWindowSubclass(window, ToolSubclass, reinterpret_cast<UINT_PTR>(s.hwnd), 0);
}

void Unsubclass(TooltipState& s, HWND window) {
  for (const Tool& other : s.tools)
    if ((other.flags & TTF_SUBCLASS) && ToolWindow(other) == window) return;
  if (window && IsWindow(window))
    RemoveWindowSubclass(window, ToolSubclass, reinterpret_cast<UINT_PTR>(s.hwnd));
}

void SetText(Tool& tool, LPSTR text, HINSTANCE hinst) {
  tool.callback = text == LPSTR_TEXTCALLBACK;
  tool.resource = 0;
  tool.text.clear();
  if (tool.callback) return;
  if (text && IS_INTRESOURCE(text)) {
    tool.resource = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text));
    tool.hinst = hinst;
  } else if (text) {
    tool.text = text;
  }
}

bool ValidInfo(const TOOLINFOA* info) {
  return info && info->cbSize >= TTTOOLINFOA_V1_SIZE;
}

Tool ToolFrom(const TOOLINFOA& info) {
  Tool tool;
  tool.flags = info.uFlags;
  tool.hwnd = info.hwnd;
  tool.id = info.uId;
  tool.rect = info.rect;
  tool.hinst = info.hinst;
  SetText(tool, info.lpszText, info.hinst);
  if (info.cbSize >= TTTOOLINFOA_V2_SIZE) tool.lParam = info.lParam;
  return tool;
}

void FillInfo(TooltipState& s, int index, TOOLINFOA* out) {
  const Tool& tool = s.tools[static_cast<size_t>(index)];
  out->uFlags = tool.flags;
  out->hwnd = tool.hwnd;
  out->uId = tool.id;
  out->rect = tool.rect;
  out->hinst = tool.hinst;
  if (out->lpszText && out->lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(out->lpszText)) {
    // Callers give the customary 80-character buffer.
    CopyText(tool.resource ? LoadResourceText(tool.hinst, tool.resource) : tool.text, out->lpszText, 80);
  } else if (tool.callback) {
    out->lpszText = LPSTR_TEXTCALLBACK;
  }
  if (out->cbSize >= TTTOOLINFOA_V2_SIZE) out->lParam = tool.lParam;
}

void RemoveTool(TooltipState& s, int index) {
  if (index < 0) return;
  if (s.shown == index || s.tracking == index) Hide(s);
  if (s.tracking == index) s.tracking = -1;
  if (s.current == index) {
    s.current = -1;
    KillTimer(s.hwnd, kShowTimer);
  }
  const Tool removed = s.tools[static_cast<size_t>(index)];
  s.tools.erase(s.tools.begin() + index);
  for (int* mark : {&s.current, &s.shown, &s.tracking})
    if (*mark > index) --*mark;
  if (removed.flags & TTF_SUBCLASS) Unsubclass(s, ToolWindow(removed));
}

void Paint(TooltipState& s, HDC dc) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  const COLORREF back = ColorOr(s.back, COLOR_INFOBK);
  const COLORREF border = GetSysColor(COLOR_WINDOWFRAME);
  FillSolid(dc, client, back);
  RECT body = client;
  if (Balloon(s)) {
    const bool top = StemOnTop(s);
    if (top)
      body.top += kStem;
    else
      body.bottom -= kStem;
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(s.hwnd, shape) != ERROR) {
      HBRUSH brush = CreateSolidBrush(border);
      FrameRgn(dc, shape, brush, 1, 1);
      DeleteObject(brush);
    }
    DeleteObject(shape);
  } else {
    FrameSolid(dc, client, border);
  }
  RECT text = Adjusted(s, body, false);
  Selected font(dc, FontOf(s));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorOr(s.fore, COLOR_INFOTEXT));
  DrawText(dc, s.text.c_str(), static_cast<int>(s.text.size()), &text, TextFormat(s));
}

void SetDelay(TooltipState& s, WPARAM which, int ms) {
  const int base = GetDoubleClickTime();
  switch (which) {
    case TTDT_AUTOMATIC:
      if (ms < 0) ms = base;
      s.initial = ms;
      s.autopop = ms * 10;
      s.reshow = ms / 5;
      break;
    case TTDT_INITIAL:
      s.initial = ms < 0 ? base : ms;
      break;
    case TTDT_AUTOPOP:
      s.autopop = ms < 0 ? base * 10 : ms;
      break;
    case TTDT_RESHOW:
      s.reshow = ms < 0 ? base / 5 : ms;
      break;
    default:
      break;
  }
}

LRESULT OnMessage(TooltipState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      // Always a tool window on top, whatever the creator asked for.
      const LONG ex = GetWindowLong(hwnd, GWL_EXSTYLE);
      SetWindowLong(hwnd, GWL_EXSTYLE, ex | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
      SetDelay(s, TTDT_AUTOMATIC, -1);
      return 0;
    }
    case WM_DESTROY:
      while (!s.tools.empty()) RemoveTool(s, static_cast<int>(s.tools.size()) - 1);
      return 0;
    case TTM_ACTIVATE:
      s.active = wParam != 0;
      if (!s.active) {
        KillTimer(hwnd, kShowTimer);
        Hide(s);
        s.current = -1;
      }
      return 0;
    case TTM_SETDELAYTIME:
      SetDelay(s, wParam, static_cast<short>(LOWORD(lParam)));
      return 0;
    case TTM_GETDELAYTIME:
      switch (wParam) {
        case TTDT_RESHOW:
          return s.reshow;
        case TTDT_AUTOPOP:
          return s.autopop;
        default:
          return s.initial;
      }
    case TTM_ADDTOOLA: {
      auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
      if (!ValidInfo(info)) return FALSE;
      Tool tool = ToolFrom(*info);
      const int existing = FindTool(s, tool.hwnd, tool.id);
      if (existing >= 0) RemoveTool(s, existing);
      s.tools.push_back(tool);
      if (tool.flags & TTF_SUBCLASS) Subclass(s, tool);
      return TRUE;
    }
    case TTM_DELTOOLA: {
      auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
      if (ValidInfo(info)) RemoveTool(s, FindTool(s, info->hwnd, info->uId));
      return 0;
    }
    case TTM_NEWTOOLRECTA: {
      auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
      if (!ValidInfo(info)) return 0;
      const int index = FindTool(s, info->hwnd, info->uId);
      if (index >= 0) s.tools[static_cast<size_t>(index)].rect = info->rect;
      return 0;
    }
    case TTM_UPDATETIPTEXTA: {
      auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
      if (!ValidInfo(info)) return 0;
      const int index = FindTool(s, info->hwnd, info->uId);
      if (index < 0) return 0;
      SetText(s.tools[static_cast<size_t>(index)], info->lpszText, info->hinst);
      if (s.shown == index) Show(s, index, s.tracking == index);
      return 0;
    }
    case TTM_GETTOOLINFOA:
    case TTM_SETTOOLINFOA: {
      auto* info = reinterpret_cast<TOOLINFOA*>(lParam);
      if (!ValidInfo(info)) return FALSE;
      const int index = FindTool(s, info->hwnd, info->uId);
      if (index < 0) return FALSE;
      if (message == TTM_GETTOOLINFOA) {
        FillInfo(s, index, info);
      } else {
        Tool& tool = s.tools[static_cast<size_t>(index)];
        const bool subclassed = (tool.flags & TTF_SUBCLASS) != 0;
        tool = ToolFrom(*info);
        if ((tool.flags & TTF_SUBCLASS) && !subclassed) Subclass(s, tool);
      }
      return TRUE;
    }
    case TTM_HITTESTA: {
      auto* hit = reinterpret_cast<TTHITTESTINFOA*>(lParam);
      if (!hit) return FALSE;
      const int index = ToolAt(s, hit->hwnd, hit->pt);
      if (index < 0) return FALSE;
      if (hit->ti.cbSize >= TTTOOLINFOA_V1_SIZE) FillInfo(s, index, &hit->ti);
      return TRUE;
    }
    case TTM_GETTEXTA: {
      auto* info = reinterpret_cast<TOOLINFOA*>(lParam);
      if (!ValidInfo(info) || !info->lpszText) return 0;
      const int index = FindTool(s, info->hwnd, info->uId);
      if (index < 0) {
        info->lpszText[0] = '\0';
        return 0;
      }
      const std::string text = ToolText(s, index);
      CopyText(text, info->lpszText, wParam ? static_cast<int>(wParam) : 80);
      return 0;
    }
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(s.tools.size());
    case TTM_ENUMTOOLSA: {
      auto* info = reinterpret_cast<TOOLINFOA*>(lParam);
      if (!ValidInfo(info) || wParam >= s.tools.size()) return FALSE;
      FillInfo(s, static_cast<int>(wParam), info);
      return TRUE;
    }
    case TTM_GETCURRENTTOOLA: {
      if (s.shown < 0) return FALSE;
      auto* info = reinterpret_cast<TOOLINFOA*>(lParam);
      if (ValidInfo(info)) FillInfo(s, s.shown, info);
      return TRUE;
    }
    case TTM_WINDOWFROMPOINT:
      return lParam ? reinterpret_cast<LRESULT>(WindowFromPoint(*reinterpret_cast<const POINT*>(lParam))) : 0;
    case TTM_RELAYEVENT:
      if (lParam) Relay(s, *reinterpret_cast<const MSG*>(lParam));
      return 0;
    case TTM_TRACKACTIVATE: {
      auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
      if (!wParam) {
        if (s.tracking >= 0) Hide(s);
        s.tracking = -1;
        return 0;
      }
      if (!ValidInfo(info)) return 0;
      const int index = FindTool(s, info->hwnd, info->uId);
      if (index < 0) return 0;
      Hide(s);
      s.tracking = index;
      Show(s, index, true);
      return 0;
    }
    case TTM_TRACKPOSITION:
      s.trackPos = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (s.tracking >= 0 && s.shown == s.tracking) Show(s, s.tracking, true);
      return 0;
    case TTM_POPUP: {
      // Show now the tip of the tool under the pointer.
      POINT cursor{};
      GetCursorPos(&cursor);
      HWND window = WindowFromPoint(cursor);
      POINT pt = cursor;
      ScreenToClient(window, &pt);
      const int index = s.current >= 0 ? s.current : ToolAt(s, window, pt);
      KillTimer(hwnd, kShowTimer);
      if (index >= 0) Show(s, index, false);
      return 0;
    }
    case TTM_POP:
      KillTimer(hwnd, kShowTimer);
      Hide(s);
      return 0;
    case TTM_UPDATE:
      if (s.shown >= 0) Show(s, s.shown, s.tracking == s.shown);
      return 0;
    case TTM_SETTIPBKCOLOR:
      s.back = static_cast<COLORREF>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TTM_SETTIPTEXTCOLOR:
      s.fore = static_cast<COLORREF>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TTM_GETTIPBKCOLOR:
      return ColorOr(s.back, COLOR_INFOBK);
    case TTM_GETTIPTEXTCOLOR:
      return ColorOr(s.fore, COLOR_INFOTEXT);
    case TTM_SETMAXTIPWIDTH: {
      const int old = s.maxWidth;
      s.maxWidth = static_cast<int>(lParam);
      return old;
    }
    case TTM_GETMAXTIPWIDTH:
      return s.maxWidth;
    case TTM_SETMARGIN:
      if (lParam) s.margin = *reinterpret_cast<const RECT*>(lParam);
      return 0;
    case TTM_GETMARGIN:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = s.margin;
      return 0;
    case TTM_GETBUBBLESIZE: {
      auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
      if (!ValidInfo(info)) return 0;
      const int index = FindTool(s, info->hwnd, info->uId);
      if (index < 0) return 0;
      const SIZE size = BubbleSize(s, ToolText(s, index));
      return MAKELONG(size.cx, size.cy);
    }
    case TTM_ADJUSTRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect) return FALSE;
      *rect = Adjusted(s, *rect, wParam != 0);
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == kShowTimer)
        OnShowTimer(s);
      else if (wParam == kPopTimer)
        Hide(s);
      return 0;
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETTEXT:
      return CopyText(s.text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(s.text.size());
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    default:
      return DefControlProc(s, message, wParam, lParam);
  }
}

}  // namespace

void RegisterTooltipClass() {
  RegisterControlClass(TOOLTIPS_CLASS, ControlProc<TooltipState, OnMessage>, CS_SAVEBITS | CS_DBLCLKS);
}

}  // namespace pictavo::comctl::detail
