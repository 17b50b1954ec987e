// The progress bar: a flat frame filled in proportion to the position, as one bar (PBS_SMOOTH)
// or as blocks.
#include <algorithm>

#include "platform/comctl/Progress.h"
#include "platform/comctl/Support.h"

namespace pictavo::comctl::detail {
namespace {

struct ProgressState : ControlBase {
  int low = 0;
  int high = 100;
  int pos = 0;
  int step = 10;
  COLORREF bar = CLR_DEFAULT;
  COLORREF back = CLR_DEFAULT;
};

int Clamp(const ProgressState& s, int pos) {
  return std::clamp(pos, s.low, std::max(s.low, s.high));
}

// Changes the position and redraws; the old position.
int Move(ProgressState& s, int pos) {
  const int old = s.pos;
  s.pos = pos;
  if (old != pos) InvalidateRect(s.hwnd, nullptr, FALSE);
  return old;
}

void Paint(ProgressState& s, HDC dc) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  FillSolid(dc, client, ColorOr(s.back, COLOR_BTNFACE));
  FrameSolid(dc, client, GetSysColor(COLOR_3DSHADOW));
  RECT inner = client;
  InflateRect(&inner, -2, -2);
  if (inner.right <= inner.left || inner.bottom <= inner.top || s.high <= s.low) return;
  const bool vertical = (StyleOf(s) & PBS_VERTICAL) != 0;
  const int64_t length = vertical ? inner.bottom - inner.top : inner.right - inner.left;
  const int filled = static_cast<int>(length * (s.pos - s.low) / (s.high - s.low));
  const COLORREF color = ColorOr(s.bar, COLOR_HIGHLIGHT);
  auto piece = [&](int from, int to) {
    return vertical ? RECT{inner.left, inner.bottom - to, inner.right, inner.bottom - from}
                    : RECT{inner.left + from, inner.top, inner.left + to, inner.bottom};
  };
  if (StyleOf(s) & PBS_SMOOTH) {
    FillSolid(dc, piece(0, filled), color);
    return;
  }
  // Blocks two-thirds as long as the bar is thick, two pixels apart.
  const int thickness = vertical ? inner.right - inner.left : inner.bottom - inner.top;
  const int block = std::max(2, thickness * 2 / 3);
  for (int at = 0; at < filled; at += block + 2)
    FillSolid(dc, piece(at, std::min(at + block, static_cast<int>(length))), color);
}

LRESULT OnMessage(ProgressState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_SETRANGE: {
      const LRESULT old = MAKELONG(static_cast<WORD>(s.low), static_cast<WORD>(s.high));
      s.low = static_cast<WORD>(LOWORD(lParam));
      s.high = static_cast<WORD>(HIWORD(lParam));
      s.pos = Clamp(s, s.pos);
      InvalidateRect(hwnd, nullptr, FALSE);
      return old;
    }
    case PBM_SETRANGE32: {
      const LRESULT old = MAKELONG(static_cast<WORD>(s.low), static_cast<WORD>(s.high));
      s.low = static_cast<int>(wParam);
      s.high = static_cast<int>(lParam);
      s.pos = Clamp(s, s.pos);
      InvalidateRect(hwnd, nullptr, FALSE);
      return old;
    }
    case PBM_GETRANGE:
      if (lParam) *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{s.low, s.high};
      return wParam ? s.low : s.high;
    case PBM_SETPOS:
      return Move(s, Clamp(s, static_cast<int>(wParam)));
    case PBM_DELTAPOS:
      return Move(s, Clamp(s, s.pos + static_cast<int>(wParam)));
    case PBM_GETPOS:
      return s.pos;
    case PBM_SETSTEP: {
      const int old = s.step;
      s.step = static_cast<int>(wParam);
      return old;
    }
    case PBM_GETSTEP:
      return s.step;
    case PBM_STEPIT: {
      // Past the end it starts over from the beginning.
      int next = s.pos + s.step;
      if (next > s.high) next = s.low + (next - s.high);
      if (next < s.low) next = s.high - (s.low - next);
      return Move(s, Clamp(s, next));
    }
    case PBM_SETBARCOLOR: {
      const COLORREF old = s.bar;
      s.bar = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return old;
    }
    case PBM_GETBARCOLOR:
      return s.bar;
    case PBM_SETBKCOLOR: {
      const COLORREF old = s.back;
      s.back = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return old;
    }
    case PBM_GETBKCOLOR:
      return s.back;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    default:
      return DefControlProc(s, message, wParam, lParam);
  }
}

}  // namespace

void RegisterProgressClass() {
  RegisterControlClass(PROGRESS_CLASS, ControlProc<ProgressState, OnMessage>, CS_HREDRAW | CS_VREDRAW);
}

}  // namespace pictavo::comctl::detail
