// The up-down control: two arrow buttons that step a position within a range, repeating (and
// accelerating) while held. Each step asks the parent (UDN_DELTAPOS may refuse), moves, writes
// the buddy's text with UDS_SETBUDDYINT and reports with WM_VSCROLL / WM_HSCROLL.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/comctl/Subclass.h"
#include "platform/comctl/Support.h"
#include "platform/comctl/UpDown.h"
#include "platform/kernel/Time.h"

namespace pictavo::comctl::detail {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 400;
constexpr UINT kRepeat = 100;
constexpr int kDefaultWidth = 16;

struct UpDownState : ControlBase {
  // The documented default range runs from 100 down to 0: "up" goes towards `upper`.
  int lower = 100;
  int upper = 0;
  int pos = 0;
  int base = 10;
  HWND buddy = nullptr;
  std::vector<UDACCEL> accels{{0, 1}, {2, 5}, {5, 20}};
  // The arrow held down: +1 up, -1 down, 0 none.
  int held = 0;
  DWORD heldSince = 0;
};
using State = WindowState<UpDownState>;

int Low(const UpDownState& s) {
  return std::min(s.lower, s.upper);
}
int High(const UpDownState& s) {
  return std::max(s.lower, s.upper);
}

std::string FormatPosition(const UpDownState& s, int value) {
  char text[32];
  if (s.base == 16) {
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value) & 0xFFFFFFFFu);
    return text;
  }
  std::snprintf(text, sizeof text, "%d", value);
  if (StyleOf(s) & UDS_NOTHOUSANDS) return text;
  // Thousands separators between groups of three digits, after any minus sign.
  const std::string digits = text;
  const size_t start = digits[0] == '-' ? 1 : 0;
  std::string out = digits.substr(0, start);
  for (size_t i = start; i < digits.size(); ++i) {
    if (i > start && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// The buddy's text as a position; false when it is no number in range.
bool ParseBuddy(const UpDownState& s, int* value) {
  if (!s.buddy || !IsWindow(s.buddy)) return false;
  std::string text = WindowText(s.buddy);
  std::string clean;
  for (char c : text)
    if (c != ',' && !std::isspace(static_cast<unsigned char>(c))) clean += c;
  if (clean.empty()) return false;
  char* end = nullptr;
  const long parsed = std::strtol(clean.c_str(), &end, s.base == 16 ? 16 : 10);
  if (!end || *end) return false;
  if (parsed < Low(s) || parsed > High(s)) return false;
  *value = static_cast<int>(parsed);
  return true;
}

void WriteBuddy(UpDownState& s) {
  if (!(StyleOf(s) & UDS_SETBUDDYINT) || !s.buddy || !IsWindow(s.buddy)) return;
  SetWindowText(s.buddy, FormatPosition(s, s.pos).c_str());
}

// Reads the buddy's number back first: the user may have typed one.
void ReadBuddy(UpDownState& s) {
  int value = 0;
  if ((StyleOf(s) & UDS_SETBUDDYINT) && ParseBuddy(s, &value)) s.pos = value;
}

int Accelerated(const UpDownState& s) {
  const DWORD seconds = s.held ? (GetTickCount() - s.heldSince) / 1000 : 0;
  int inc = 1;
  for (const UDACCEL& a : s.accels)
    if (seconds >= a.nSec) inc = static_cast<int>(a.nInc);
  return std::max(inc, 1);
}

void Step(UpDownState& s, int direction) {
  ReadBuddy(s);
  // Up moves towards `upper`, whichever way round the range is.
  const int sign = s.upper >= s.lower ? 1 : -1;
  NMUPDOWN nm{};
  nm.iPos = s.pos;
  nm.iDelta = direction * sign * Accelerated(s);
  if (SendNotify(s, UDN_DELTAPOS, &nm.hdr) || !s.alive) return;
  int next = s.pos + nm.iDelta;
  if (next > High(s) || next < Low(s)) {
    if (StyleOf(s) & UDS_WRAP)
      next = next > High(s) ? Low(s) : High(s);
    else
      next = std::clamp(next, Low(s), High(s));
  }
  if (next == s.pos) return;
  s.pos = next;
  WriteBuddy(s);
  SendScroll(s, !(StyleOf(s) & UDS_HORZ), SB_THUMBPOSITION, s.pos);
}

// Up (or right) is the first half; the other half steps down.
int ArrowAt(const UpDownState& s, POINT pt) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  if (StyleOf(s) & UDS_HORZ) return pt.x >= client.right / 2 ? 1 : -1;
  return pt.y < client.bottom / 2 ? 1 : -1;
}

void Paint(UpDownState& s, HDC dc) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  const bool horizontal = (StyleOf(s) & UDS_HORZ) != 0;
  RECT first = client;
  RECT second = client;
  if (horizontal) {
    first.right = client.right / 2;
    second.left = first.right;
  } else {
    first.bottom = client.bottom / 2;
    second.top = first.bottom;
  }
  const UINT disabled = IsWindowEnabled(s.hwnd) ? 0 : DFCS_INACTIVE;
  // Horizontal: left steps down, right steps up; vertical: top steps up.
  RECT up = horizontal ? second : first;
  RECT down = horizontal ? first : second;
  DrawFrameControl(
      dc, &up, DFC_SCROLL,
      (horizontal ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP) | disabled | (s.held == 1 ? DFCS_PUSHED : 0));
  DrawFrameControl(
      dc, &down, DFC_SCROLL,
      (horizontal ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN) | disabled | (s.held == -1 ? DFCS_PUSHED : 0));
}

void Release(UpDownState& s) {
  if (!s.held) return;
  s.held = 0;
  KillTimer(s.hwnd, kRepeatTimer);
  if (GetCapture() == s.hwnd) ReleaseCapture();
  InvalidateRect(s.hwnd, nullptr, FALSE);
  SendScroll(s, !(StyleOf(s) & UDS_HORZ), SB_ENDSCROLL, s.pos);
}

LRESULT CALLBACK BuddySubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR) {
  // The arrow keys in the buddy step the position (UDS_ARROWKEYS).
  if ((message == WM_KEYDOWN || message == WM_KEYUP) && (wParam == VK_UP || wParam == VK_DOWN)) {
    HWND updown = reinterpret_cast<HWND>(id);
    if (std::shared_ptr<UpDownState> s = State::Get(updown); s && s->buddy == hwnd) {
      if (message == WM_KEYDOWN)
        Step(*s, wParam == VK_UP ? 1 : -1);
      else
        SendScroll(*s, !(StyleOf(*s) & UDS_HORZ), SB_ENDSCROLL, s->pos);
      return 0;
    }
  }
  if (message == WM_GETDLGCODE) return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTARROWS;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Places the control at the buddy's edge and narrows the buddy (UDS_ALIGNLEFT / UDS_ALIGNRIGHT).
void Align(UpDownState& s) {
  const DWORD style = StyleOf(s);
  if (!(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) || !s.buddy || !IsWindow(s.buddy)) return;
  HWND parent = GetParent(s.hwnd);
  RECT buddy;
  GetWindowRect(s.buddy, &buddy);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&buddy), 2);
  RECT own;
  GetWindowRect(s.hwnd, &own);
  int width = own.right - own.left;
  if (width <= 0) width = kDefaultWidth;
  const int height = buddy.bottom - buddy.top;
  if (style & UDS_ALIGNRIGHT) {
    buddy.right -= width;
    SetWindowPos(s.hwnd, nullptr, buddy.right, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(s.hwnd, nullptr, buddy.left, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    buddy.left += width;
  }
  SetWindowPos(s.buddy, nullptr, buddy.left, buddy.top, buddy.right - buddy.left, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND SetBuddy(UpDownState& s, HWND buddy) {
  HWND old = s.buddy;
  if (old && IsWindow(old)) RemoveWindowSubclass(old, BuddySubclass, reinterpret_cast<UINT_PTR>(s.hwnd));
  s.buddy = (buddy && IsWindow(buddy)) ? buddy : nullptr;
  if (s.buddy && (StyleOf(s) & UDS_ARROWKEYS))
    SetWindowSubclass(s.buddy, BuddySubclass, reinterpret_cast<UINT_PTR>(s.hwnd), 0);
  Align(s);
  return old;
}

void SetPosition(UpDownState& s, int value) {
  s.pos = std::clamp(value, Low(s), High(s));
  WriteBuddy(s);
}

LRESULT OnMessage(UpDownState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // The window before this one in the z-order: the edit a dialog template puts first.
      if (StyleOf(s) & UDS_AUTOBUDDY) SetBuddy(s, GetWindow(hwnd, GW_HWNDPREV));
      return 0;
    case WM_DESTROY:
      SetBuddy(s, nullptr);
      return 0;
    case UDM_SETRANGE:
      s.upper = static_cast<short>(LOWORD(lParam));
      s.lower = static_cast<short>(HIWORD(lParam));
      s.pos = std::clamp(s.pos, Low(s), High(s));
      return 0;
    case UDM_GETRANGE:
      return MAKELONG(static_cast<short>(s.upper), static_cast<short>(s.lower));
    case UDM_SETRANGE32:
      s.lower = static_cast<int>(wParam);
      s.upper = static_cast<int>(lParam);
      s.pos = std::clamp(s.pos, Low(s), High(s));
      return 0;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = s.lower;
      if (lParam) *reinterpret_cast<int*>(lParam) = s.upper;
      return 0;
    case UDM_SETPOS: {
      const int old = s.pos;
      SetPosition(s, static_cast<short>(LOWORD(lParam)));
      return static_cast<short>(old);
    }
    case UDM_SETPOS32: {
      const int old = s.pos;
      SetPosition(s, static_cast<int>(lParam));
      return old;
    }
    case UDM_GETPOS:
    case UDM_GETPOS32: {
      bool error = false;
      if (StyleOf(s) & UDS_SETBUDDYINT) {
        int value = 0;
        if (ParseBuddy(s, &value))
          s.pos = value;
        else
          error = true;
      }
      if (message == UDM_GETPOS32) {
        if (lParam) *reinterpret_cast<BOOL*>(lParam) = error;
        return s.pos;
      }
      return MAKELONG(static_cast<short>(s.pos), error ? 1 : 0);
    }
    case UDM_SETBUDDY:
      return reinterpret_cast<LRESULT>(SetBuddy(s, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(s.buddy);
    case UDM_SETACCEL: {
      auto* accels = reinterpret_cast<const UDACCEL*>(lParam);
      if (!accels || wParam == 0) return FALSE;
      s.accels.assign(accels, accels + wParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      auto* out = reinterpret_cast<UDACCEL*>(lParam);
      const size_t n = std::min<size_t>(wParam, s.accels.size());
      if (out) std::copy_n(s.accels.begin(), n, out);
      return static_cast<LRESULT>(s.accels.size());
    }
    case UDM_SETBASE: {
      if (wParam != 10 && wParam != 16) return 0;
      const int old = s.base;
      s.base = static_cast<int>(wParam);
      WriteBuddy(s);
      return old;
    }
    case UDM_GETBASE:
      return s.base;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      return PaintControl(s, wParam, Paint);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(hwnd)) return 0;
      if (s.buddy && IsWindow(s.buddy) && GetFocus() != s.buddy) SetFocus(s.buddy);
      if (!s.alive) return 0;
      s.held = ArrowAt(s, PointFrom(lParam));
      s.heldSince = GetTickCount();
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);
      Step(s, s.held);
      if (s.alive && s.held) SetTimer(hwnd, kRepeatTimer, kFirstRepeat, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kRepeatTimer && s.held) {
        SetTimer(hwnd, kRepeatTimer, kRepeat, nullptr);
        // Only while the pointer stays on the held arrow.
        RECT client;
        GetClientRect(hwnd, &client);
        const POINT pt = CursorIn(hwnd);
        if (PtInRect(&client, pt) && ArrowAt(s, pt) == s.held) Step(s, s.held);
      }
      return 0;
    case WM_LBUTTONUP:
      Release(s);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) Release(s);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) Step(s, wParam == VK_UP ? 1 : -1);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_UP || wParam == VK_DOWN) SendScroll(s, !(StyleOf(s) & UDS_HORZ), SB_ENDSCROLL, s.pos);
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

void RegisterUpDownClass() {
  RegisterControlClass(UPDOWN_CLASS, ControlProc<UpDownState, OnMessage>,
                       CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace pictavo::comctl::detail
