// The trackbar: a flat channel with tick marks and a thumb. Dragging the thumb reports
// TB_THUMBTRACK and TB_THUMBPOSITION; clicking the channel pages towards the click, repeating
// while the button is held; the keys step by lines and pages. Every move ends with TB_ENDTRACK.
#include <algorithm>
#include <vector>

#include "platform/comctl/Support.h"
#include "platform/comctl/Trackbar.h"
#include "platform/user/Controls.h"

namespace pictavo::comctl::detail {
namespace {

constexpr int kChannelMargin = 8;  // between the control's end and the channel's
constexpr int kTickLength = 3;
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 400;
constexpr UINT kRepeat = 100;

struct TrackbarState : ControlBase {
  int min = 0;
  int max = 100;
  int pos = 0;
  int page = 20;
  int line = 1;
  int ticFreq = 1;
  std::vector<int> tics;  // the ones set with TBM_SETTIC, sorted
  int selStart = 0;
  int selEnd = 0;
  int thumbLength = 0;  // TBM_SETTHUMBLENGTH (with TBS_FIXEDLENGTH); 0: from the control's size
  bool focused = false;
  // The button held on the thumb (dragging) or on the channel (paging).
  enum class Mode { kNone, kDrag, kPage } mode = Mode::kNone;
  int grab = 0;        // pointer minus the thumb's start along the channel
  int pageTarget = 0;  // the position clicked when paging
};

bool Vertical(const TrackbarState& s) {
  return (StyleOf(s) & TBS_VERT) != 0;
}

// Lengths along the channel (the control's long side) and across it.
int LongSide(const TrackbarState& s) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  return Vertical(s) ? client.bottom : client.right;
}
int ShortSide(const TrackbarState& s) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  return Vertical(s) ? client.right : client.bottom;
}

int ThumbThickness(const TrackbarState& s) {
  if ((StyleOf(s) & TBS_FIXEDLENGTH) && s.thumbLength > 0) return s.thumbLength;
  const int room = ShortSide(s) - ((StyleOf(s) & TBS_NOTICKS) ? 4 : 2 * (kTickLength + 3));
  return std::clamp(room, 8, 20);
}
int ThumbWidth(const TrackbarState& s) {
  return ThumbThickness(s) / 2 + 1;
}

// The channel's extent along the long side, thumb centres go from first to last.
int ChannelFirst(const TrackbarState& s) {
  return kChannelMargin + ThumbWidth(s) / 2;
}
int ChannelLast(const TrackbarState& s) {
  return std::max(ChannelFirst(s), LongSide(s) - kChannelMargin - ThumbWidth(s) / 2 - 1);
}

int Offset(const TrackbarState& s, int pos) {
  if (s.max <= s.min) return ChannelFirst(s);
  const int64_t span = ChannelLast(s) - ChannelFirst(s);
  return ChannelFirst(s) + static_cast<int>(span * (pos - s.min) / (s.max - s.min));
}

int PositionAt(const TrackbarState& s, int offset) {
  const int span = ChannelLast(s) - ChannelFirst(s);
  if (span <= 0 || s.max <= s.min) return s.min;
  const int64_t along = std::clamp(offset - ChannelFirst(s), 0, span);
  return s.min + static_cast<int>((along * (s.max - s.min) + span / 2) / span);
}

// Across the control: where the channel and thumb sit given the tick sides.
int CrossCentre(const TrackbarState& s) {
  const DWORD style = StyleOf(s);
  const int thickness = ThumbThickness(s);
  if (style & (TBS_BOTH | TBS_NOTICKS)) return ShortSide(s) / 2;
  // Ticks on one side: the thumb sits towards the other.
  const bool ticksBefore = (style & TBS_TOP) != 0;
  return ticksBefore ? ShortSide(s) - 2 - thickness / 2 : 2 + thickness / 2;
}

RECT Oriented(const TrackbarState& s, int alongStart, int alongEnd, int crossStart, int crossEnd) {
  return Vertical(s) ? RECT{crossStart, alongStart, crossEnd, alongEnd}
                     : RECT{alongStart, crossStart, alongEnd, crossEnd};
}

RECT ThumbRect(const TrackbarState& s) {
  const int centre = Offset(s, s.pos);
  const int width = ThumbWidth(s);
  const int thickness = ThumbThickness(s);
  const int cross = CrossCentre(s);
  return Oriented(s, centre - width / 2, centre - width / 2 + width, cross - thickness / 2,
                  cross - thickness / 2 + thickness);
}

RECT ChannelRect(const TrackbarState& s) {
  const int cross = CrossCentre(s);
  return Oriented(s, kChannelMargin, LongSide(s) - kChannelMargin, cross - 2, cross + 2);
}

int Clamp(const TrackbarState& s, int pos) {
  return std::clamp(pos, s.min, std::max(s.min, s.max));
}

// The tick positions drawn: the range's ends, every ticFreq with TBS_AUTOTICKS, and the set ones.
std::vector<int> TicPositions(const TrackbarState& s) {
  std::vector<int> out;
  if (StyleOf(s) & TBS_NOTICKS) return out;
  out.push_back(s.min);
  if ((StyleOf(s) & TBS_AUTOTICKS) && s.ticFreq > 0)
    for (int p = s.min + s.ticFreq; p < s.max; p += s.ticFreq) out.push_back(p);
  for (int t : s.tics)
    if (t > s.min && t < s.max) out.push_back(t);
  if (s.max > s.min) out.push_back(s.max);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

void SetPos(TrackbarState& s, int pos, bool redraw) {
  pos = Clamp(s, pos);
  if (pos == s.pos) return;
  s.pos = pos;
  if (redraw) InvalidateRect(s.hwnd, nullptr, TRUE);
}

void Report(TrackbarState& s, WORD code) {
  SendScroll(s, Vertical(s), code, (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? s.pos : 0);
}

// A step by keyboard or paging: move, then tell the parent.
void Step(TrackbarState& s, WORD code, int pos) {
  SetPos(s, pos, true);
  Report(s, code);
}

void Paint(TrackbarState& s, HDC dc, const RECT& area) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  // The background is the parent's, as for a static control (pages on a skin colour answer it).
  FillRect(dc, &area, pictavo::user::ControlColorBrush(s.hwnd, dc, WM_CTLCOLORSTATIC));
  const RECT channel = ChannelRect(s);
  FillSolid(dc, channel, GetSysColor(COLOR_WINDOW));
  FrameSolid(dc, channel, GetSysColor(COLOR_3DSHADOW));
  if ((StyleOf(s) & TBS_ENABLESELRANGE) && s.selEnd > s.selStart) {
    const int a = Offset(s, Clamp(s, s.selStart));
    const int b = Offset(s, Clamp(s, s.selEnd));
    const RECT inner = Oriented(s, a, b + 1, CrossCentre(s) - 1, CrossCentre(s) + 1);
    FillSolid(dc, inner, GetSysColor(COLOR_HIGHLIGHT));
  }
  const DWORD style = StyleOf(s);
  const RECT thumb = ThumbRect(s);
  const int thumbStart = Vertical(s) ? thumb.left : thumb.top;
  const int thumbEnd = Vertical(s) ? thumb.right : thumb.bottom;
  const COLORREF tick = GetSysColor(COLOR_3DSHADOW);
  for (int p : TicPositions(s)) {
    const int at = Offset(s, p);
    const bool before = (style & (TBS_TOP | TBS_BOTH)) != 0;
    const bool after = !(style & TBS_TOP) || (style & TBS_BOTH);
    if (before) FillSolid(dc, Oriented(s, at, at + 1, thumbStart - 2 - kTickLength, thumbStart - 2), tick);
    if (after) FillSolid(dc, Oriented(s, at, at + 1, thumbEnd + 2, thumbEnd + 2 + kTickLength), tick);
  }
  if (!(style & TBS_NOTHUMB)) {
    const bool held = s.mode == TrackbarState::Mode::kDrag;
    FillSolid(dc, thumb,
              GetSysColor(!IsWindowEnabled(s.hwnd) ? COLOR_BTNFACE
                          : held                   ? COLOR_HIGHLIGHT
                                                   : COLOR_3DLIGHT));
    FrameSolid(dc, thumb, GetSysColor(held ? COLOR_HIGHLIGHT : COLOR_3DSHADOW));
  }
  if (s.focused) DrawFocusRect(dc, &client);
}

int Along(const TrackbarState& s, POINT pt) {
  return Vertical(s) ? pt.y : pt.x;
}

void PageTowards(TrackbarState& s) {
  if (s.pos == s.pageTarget) return;
  if (s.pageTarget < s.pos)
    Step(s, TB_PAGEUP, std::max(s.pageTarget, s.pos - s.page));
  else
    Step(s, TB_PAGEDOWN, std::min(s.pageTarget, s.pos + s.page));
}

void OnButtonDown(TrackbarState& s, POINT pt) {
  if (!(StyleOf(s) & TBS_NOTHUMB) && GetFocus() != s.hwnd) SetFocus(s.hwnd);
  if (!s.alive) return;
  const RECT thumb = ThumbRect(s);
  SetCapture(s.hwnd);
  if (PtInRect(&thumb, pt)) {
    s.mode = TrackbarState::Mode::kDrag;
    s.grab = Along(s, pt) - Offset(s, s.pos);
    InvalidateRect(s.hwnd, nullptr, FALSE);
    return;
  }
  s.mode = TrackbarState::Mode::kPage;
  s.pageTarget = PositionAt(s, Along(s, pt));
  PageTowards(s);
  if (s.alive) SetTimer(s.hwnd, kRepeatTimer, kFirstRepeat, nullptr);
}

void EndMouse(TrackbarState& s, bool report) {
  const TrackbarState::Mode mode = s.mode;
  s.mode = TrackbarState::Mode::kNone;
  KillTimer(s.hwnd, kRepeatTimer);
  if (GetCapture() == s.hwnd) ReleaseCapture();
  if (mode == TrackbarState::Mode::kNone) return;
  InvalidateRect(s.hwnd, nullptr, FALSE);
  if (!report) return;
  if (mode == TrackbarState::Mode::kDrag) Report(s, TB_THUMBPOSITION);
  if (s.alive) Report(s, TB_ENDTRACK);
}

bool IsStepKey(UINT key) {
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      return true;
    default:
      return false;
  }
}

void OnKeyDown(TrackbarState& s, UINT key) {
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      Step(s, TB_LINEUP, s.pos - s.line);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      Step(s, TB_LINEDOWN, s.pos + s.line);
      break;
    case VK_PRIOR:
      Step(s, TB_PAGEUP, s.pos - s.page);
      break;
    case VK_NEXT:
      Step(s, TB_PAGEDOWN, s.pos + s.page);
      break;
    case VK_HOME:
      Step(s, TB_TOP, s.min);
      break;
    case VK_END:
      Step(s, TB_BOTTOM, s.max);
      break;
    default:
      break;
  }
}

void SetRange(TrackbarState& s, int min, int max, bool redraw) {
  s.min = min;
  s.max = max;
  s.pos = Clamp(s, s.pos);
  if (redraw) InvalidateRect(s.hwnd, nullptr, TRUE);
}

LRESULT OnMessage(TrackbarState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TBM_GETPOS:
      return s.pos;
    case TBM_GETRANGEMIN:
      return s.min;
    case TBM_GETRANGEMAX:
      return s.max;
    case TBM_GETTIC:
      return wParam < s.tics.size() ? s.tics[wParam] : -1;
    case TBM_SETTIC: {
      const int tic = static_cast<int>(lParam);
      if (tic < s.min || tic > s.max) return FALSE;
      if (!std::binary_search(s.tics.begin(), s.tics.end(), tic))
        s.tics.insert(std::upper_bound(s.tics.begin(), s.tics.end(), tic), tic);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TBM_SETPOS:
      SetPos(s, static_cast<int>(lParam), wParam != 0);
      return 0;
    case TBM_SETRANGE:
      SetRange(s, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), wParam != 0);
      return 0;
    case TBM_SETRANGEMIN:
      SetRange(s, static_cast<int>(lParam), s.max, wParam != 0);
      return 0;
    case TBM_SETRANGEMAX:
      SetRange(s, s.min, static_cast<int>(lParam), wParam != 0);
      return 0;
    case TBM_CLEARTICS:
      s.tics.clear();
      if (wParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_SETSEL:
      s.selStart = static_cast<short>(LOWORD(lParam));
      s.selEnd = static_cast<short>(HIWORD(lParam));
      if (wParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_SETSELSTART:
      s.selStart = static_cast<int>(lParam);
      if (wParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_SETSELEND:
      s.selEnd = static_cast<int>(lParam);
      if (wParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_GETPTICS:
      return s.tics.empty() ? 0 : reinterpret_cast<LRESULT>(s.tics.data());
    case TBM_GETTICPOS:
      if (wParam >= s.tics.size()) return -1;
      return Offset(s, s.tics[wParam]);
    case TBM_GETNUMTICS:
      return static_cast<LRESULT>(TicPositions(s).size());
    case TBM_GETSELSTART:
      return s.selStart;
    case TBM_GETSELEND:
      return s.selEnd;
    case TBM_CLEARSEL:
      s.selStart = s.selEnd = 0;
      if (wParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_SETTICFREQ:
      s.ticFreq = std::max(1, static_cast<int>(wParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_SETPAGESIZE: {
      const int old = s.page;
      s.page = static_cast<int>(lParam);
      return old;
    }
    case TBM_GETPAGESIZE:
      return s.page;
    case TBM_SETLINESIZE: {
      const int old = s.line;
      s.line = static_cast<int>(lParam);
      return old;
    }
    case TBM_GETLINESIZE:
      return s.line;
    case TBM_GETTHUMBRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = ThumbRect(s);
      return 0;
    case TBM_GETCHANNELRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = ChannelRect(s);
      return 0;
    case TBM_SETTHUMBLENGTH:
      s.thumbLength = static_cast<int>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_GETTHUMBLENGTH:
      return ThumbThickness(s);
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(s, PointFrom(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (s.mode == TrackbarState::Mode::kDrag) {
        const int pos = Clamp(s, PositionAt(s, Along(s, PointFrom(lParam)) - s.grab));
        if (pos != s.pos) {
          SetPos(s, pos, true);
          Report(s, TB_THUMBTRACK);
        }
      } else if (s.mode == TrackbarState::Mode::kPage) {
        s.pageTarget = PositionAt(s, Along(s, PointFrom(lParam)));
      }
      return 0;
    case WM_LBUTTONUP:
      EndMouse(s, true);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd && s.mode != TrackbarState::Mode::kNone) EndMouse(s, true);
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer && s.mode == TrackbarState::Mode::kPage) {
        SetTimer(hwnd, kRepeatTimer, kRepeat, nullptr);
        PageTowards(s);
      }
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(s, static_cast<UINT>(wParam));
      return 0;
    case WM_KEYUP:
      if (IsStepKey(static_cast<UINT>(wParam))) Report(s, TB_ENDTRACK);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s.focused = message == WM_SETFOCUS;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    default:
      return DefControlProc(s, message, wParam, lParam, kSetNotifyWindow);
  }
}

}  // namespace

void RegisterTrackbarClass() {
  RegisterControlClass(TRACKBAR_CLASS, ControlProc<TrackbarState, OnMessage>,
                       CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace pictavo::comctl::detail
