// Mouse and keyboard input: injection by the display, routing to the window under the pointer
// or with the focus, capture, double clicks and mouse tracking.
#include <algorithm>
#include <cstdlib>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/ClassTable.h"
#include "platform/user/Display.h"
#include "platform/user/Hooks.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Metrics.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

// Guarded by UserLock().
POINT g_cursor{0, 0};
HWND g_capture = nullptr;
std::weak_ptr<MessageQueue> g_pointerQueue;  // the thread the pointer was last over

constexpr DWORD kDefaultHoverTime = 400;
constexpr int kHoverSize = 4;

bool InRange(UINT message, UINT min, UINT max) {
  return (min == 0 && max == 0) || (message >= min && message <= max);
}

// The thread that mouse input at `pt` belongs to: the capture's, else the window's under it.
// Over the bare desktop it goes to the foreground thread all the same: by the time that thread
// takes it, a window may have taken the capture (a press starting a drag queued before the
// release), and the thread drops what is for nobody.
std::shared_ptr<MessageQueue> MouseQueueLocked(POINT pt) {
  if (Window* capture = FindLocked(g_capture)) return capture->queue;
  if (Window* w = WindowAtLocked(pt)) return w->queue;
  if (auto foreground = ForegroundQueueLocked()) return foreground;
  return g_pointerQueue.lock();
}

std::shared_ptr<MessageQueue> KeyboardQueueLocked() {
  return ForegroundQueueLocked();
}

void Deliver(const std::shared_ptr<MessageQueue>& queue, const RawInput& input) {
  if (queue) queue->AddInput(input);
}

void MoveTo(POINT pt, bool gone) {
  std::shared_ptr<MessageQueue> target;
  std::shared_ptr<MessageQueue> previous;
  {
    std::lock_guard lock(UserLock());
    if (!gone) g_cursor = pt;
    target = gone ? nullptr : MouseQueueLocked(pt);
    previous = g_pointerQueue.lock();
    g_pointerQueue = target;
  }
  RawInput input;
  input.time = MessageTime();
  input.pt = pt;
  input.mouseKeys = MouseKeysNow();
  if (previous && previous != target) {
    // The thread the pointer left learns it, for WM_MOUSELEAVE.
    RawInput left = input;
    left.kind = RawInput::Kind::kMouseGone;
    previous->AddInput(left);
  }
  if (target) {
    input.kind = RawInput::Kind::kMouseMove;
    target->AddInput(input);
  }
}

UINT ButtonVirtualKey(int button) {
  static const UINT keys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
  return keys[std::clamp(button, 0, 4)];
}

// Message numbers for a button: down, up, double click (client forms; NC forms differ by a fixed
// offset computed below).
struct ButtonMessages {
  UINT down, up, dblclk, ncDown, ncUp, ncDblclk;
};
ButtonMessages MessagesOf(int button) {
  switch (button) {
    case 0:
      return {WM_LBUTTONDOWN,   WM_LBUTTONUP,   WM_LBUTTONDBLCLK,
              WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK};
    case 1:
      return {WM_RBUTTONDOWN,   WM_RBUTTONUP,   WM_RBUTTONDBLCLK,
              WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK};
    case 2:
      return {WM_MBUTTONDOWN,   WM_MBUTTONUP,   WM_MBUTTONDBLCLK,
              WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK};
    default:
      return {WM_XBUTTONDOWN,   WM_XBUTTONUP,   WM_XBUTTONDBLCLK,
              WM_NCXBUTTONDOWN, WM_NCXBUTTONUP, WM_NCXBUTTONDBLCLK};
  }
}

bool IsButtonDown(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCXBUTTONDOWN:
      return true;
    default:
      return false;
  }
}

struct Routed {
  MSG msg{};
  int hit = HTCLIENT;
  bool captured = false;
  bool dblclk = false;
  bool error = false;     // over a disabled window: no message, only WM_SETCURSOR
  UINT clickMessage = 0;  // the press recorded for double clicks
};

// Works out the window and message for mouse input, without side effects.
bool RouteMouse(MessageQueue& queue, const RawInput& in, Routed* out,
                std::shared_ptr<MessageQueue>* elsewhere) {
  const POINT pt = in.pt;
  HWND target = nullptr;
  int hit = HTCLIENT;
  bool captured = false;
  if (in.kind == RawInput::Kind::kMouseWheel) {
    std::lock_guard lock(UserLock());
    target = queue.focus ? queue.focus : queue.active;
    if (!target) {
      Window* under = WindowAtLocked(pt);
      if (under && under->queue.get() == &queue) target = under->handle;
    }
    if (!target) return false;
  } else {
    {
      std::lock_guard lock(UserLock());
      if (Window* capture = FindLocked(g_capture)) {
        if (capture->queue.get() != &queue) {
          *elsewhere = capture->queue;
          return false;
        }
        target = capture->handle;
        captured = true;
      }
    }
    if (!target) {
      target = HitWindow(pt, true, &hit);
      if (!target) return false;
      std::lock_guard lock(UserLock());
      Window* w = FindLocked(target);
      if (!w) return false;
      if (w->queue.get() != &queue) {
        *elsewhere = w->queue;
        return false;
      }
      if (w->style & WS_DISABLED) hit = HTERROR;
    }
  }
  Routed r;
  r.hit = hit;
  r.captured = captured;
  r.msg.hwnd = target;
  r.msg.time = in.time;
  r.msg.pt = pt;
  const bool client = hit == HTCLIENT;
  POINT local = pt;
  ScreenToClient(target, &local);
  const LPARAM clientPoint = MAKELPARAM(local.x, local.y);
  const LPARAM screenPoint = MAKELPARAM(pt.x, pt.y);
  switch (in.kind) {
    case RawInput::Kind::kMouseWheel:
      r.msg.message = in.horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
      r.msg.wParam = MAKEWPARAM(in.mouseKeys, static_cast<WORD>(static_cast<SHORT>(in.wheelDelta)));
      r.msg.lParam = screenPoint;
      break;
    case RawInput::Kind::kMouseMove:
      r.msg.message = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
      r.msg.wParam = client ? in.mouseKeys : static_cast<WPARAM>(hit);
      r.msg.lParam = client ? clientPoint : screenPoint;
      break;
    default: {
      const ButtonMessages m = MessagesOf(in.button);
      UINT message = client ? (in.down ? m.down : m.up) : (in.down ? m.ncDown : m.ncUp);
      if (in.down) {
        r.clickMessage = message;
        const ThreadInput& ti = queue.input;
        bool wantsDouble = !client;
        if (client) {
          std::lock_guard lock(UserLock());
          Window* w = FindLocked(target);
          wantsDouble = w && w->cls && (w->cls->style & CS_DBLCLKS);
        }
        const int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
        const int cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        if (wantsDouble && ti.lastClickMessage == message && ti.lastClickWindow == target &&
            in.time - ti.lastClickTime <= GetDoubleClickTime() &&
            std::abs(pt.x - ti.lastClickPoint.x) <= cx && std::abs(pt.y - ti.lastClickPoint.y) <= cy) {
          message = client ? m.dblclk : m.ncDblclk;
          r.dblclk = true;
        }
      }
      r.msg.message = message;
      const WORD xbutton = in.button == 3 ? 1 : in.button == 4 ? 2 : 0;
      if (client) {
        r.msg.wParam = xbutton ? MAKEWPARAM(in.mouseKeys, xbutton) : in.mouseKeys;
        r.msg.lParam = clientPoint;
      } else {
        r.msg.wParam = xbutton ? MAKEWPARAM(hit, xbutton) : static_cast<WPARAM>(hit);
        r.msg.lParam = screenPoint;
      }
      break;
    }
  }
  if (hit == HTERROR) r.error = true;
  *out = r;
  return true;
}

void PostLeave(HWND hwnd, bool nonClient) {
  PostMessage(hwnd, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void StartHoverTimer(MessageQueue& queue, HWND hwnd, POINT pt);

// Leave and hover tracking after the pointer moved to `hwnd` (null: off our windows).
void TrackPointer(MessageQueue& queue, HWND hwnd, bool nonClient, POINT pt) {
  ThreadInput& ti = queue.input;
  const HWND before = ti.mouseWindow;
  const bool beforeNonClient = ti.mouseNonClient;
  ti.mouseWindow = hwnd;
  ti.mouseNonClient = nonClient;
  if (!ti.trackWindow) return;
  const bool trackingNonClient = (ti.trackFlags & TME_NONCLIENT) != 0;
  const bool stillInside = hwnd == ti.trackWindow && nonClient == trackingNonClient;
  if ((ti.trackFlags & TME_LEAVE) && !stillInside && before == ti.trackWindow &&
      beforeNonClient == trackingNonClient) {
    PostLeave(ti.trackWindow, trackingNonClient);
    ti.trackFlags = 0;
    ti.trackWindow = nullptr;
    return;
  }
  if ((ti.trackFlags & TME_HOVER) && stillInside && !Contains(ti.hoverRect, pt))
    StartHoverTimer(queue, hwnd, pt);
}

void StartHoverTimer(MessageQueue& queue, HWND hwnd, POINT pt) {
  ThreadInput& ti = queue.input;
  if (ti.hoverTimer) queue.KillTimer(hwnd, ti.hoverTimer, true);
  ti.hoverRect = RECT{pt.x - kHoverSize / 2, pt.y - kHoverSize / 2, pt.x + kHoverSize / 2 + 1,
                      pt.y + kHoverSize / 2 + 1};
  MessageQueue* q = &queue;
  ti.hoverTimer = queue.SetTimer(hwnd, 0, ti.hoverTime, nullptr, [q, hwnd] {
    ThreadInput& input = q->input;
    input.hoverTimer = 0;
    if (input.trackWindow != hwnd || !(input.trackFlags & TME_HOVER)) return;
    input.trackFlags &= ~static_cast<DWORD>(TME_HOVER);
    POINT pt = CursorPosition();
    if (input.trackFlags & TME_NONCLIENT) {
      PostMessage(hwnd, WM_NCMOUSEHOVER, HTCLIENT, MAKELPARAM(pt.x, pt.y));
    } else {
      ScreenToClient(hwnd, &pt);
      PostMessage(hwnd, WM_MOUSEHOVER, MouseKeysNow(), MAKELPARAM(pt.x, pt.y));
    }
    if (!input.trackFlags) input.trackWindow = nullptr;
  });
}

// The side effects of taking mouse input out of the queue. False when the message is eaten.
bool ApplyMouse(MessageQueue& queue, const RawInput& in, const Routed& r) {
  const HWND hwnd = r.msg.hwnd;
  UpdateThreadKeyState(queue, in);
  queue.input.extraInfo = in.extraInfo;
  bool eat = false;
  if (IsButtonDown(r.msg.message) && !r.error) {
    const HWND top = GetAncestor(hwnd, GA_ROOT);
    bool noActivate = false;
    {
      std::lock_guard lock(UserLock());
      Window* t = FindLocked(top);
      noActivate = !t || (t->exStyle & WS_EX_NOACTIVATE) || queue.active == top;
    }
    if (!noActivate) {
      const LRESULT answer = SendMessage(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                         MAKELPARAM(r.hit, r.msg.message));
      if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT || answer == 0) ActivateByClick(top);
      eat = answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
    }
  }
  if (in.kind != RawInput::Kind::kMouseWheel && !r.captured && IsWindow(hwnd)) {
    const UINT mouseMessage = in.kind == RawInput::Kind::kMouseMove ? WM_MOUSEMOVE : r.msg.message;
    SendMessage(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(r.hit, mouseMessage));
  }
  if (in.kind == RawInput::Kind::kMouseButton && in.down) {
    ThreadInput& ti = queue.input;
    if (r.dblclk) {
      ti.lastClickMessage = 0;
    } else {
      ti.lastClickMessage = r.clickMessage;
      ti.lastClickWindow = hwnd;
      ti.lastClickTime = in.time;
      ti.lastClickPoint = in.pt;
    }
  }
  if (in.kind != RawInput::Kind::kMouseWheel)
    TrackPointer(queue, hwnd, r.hit != HTCLIENT && !r.captured, in.pt);
  return !eat && !r.error;
}

bool TakeMouse(MessageQueue& queue, const RawInput& in, MSG* msg, const MessageFilter& filter, UINT min,
               UINT max, bool remove, bool* consumed) {
  Routed r;
  std::shared_ptr<MessageQueue> elsewhere;
  *consumed = false;
  if (!RouteMouse(queue, in, &r, &elsewhere)) {
    // Nobody of this thread is under the pointer any more: the input goes where it now belongs.
    queue.PopInput();
    if (elsewhere && elsewhere.get() != &queue) elsewhere->AddInput(in);
    if (in.kind == RawInput::Kind::kMouseMove) TrackPointer(queue, nullptr, false, in.pt);
    *consumed = true;
    return false;
  }
  if (!r.error && (!filter.Matches(r.msg.hwnd) || !InRange(r.msg.message, min, max))) return false;
  if (HasHooks(WH_MOUSE) && !r.error) {
    MOUSEHOOKSTRUCT info{in.pt, r.msg.hwnd, static_cast<UINT>(r.hit), static_cast<ULONG_PTR>(in.extraInfo)};
    if (CallHooks(WH_MOUSE, remove ? HC_ACTION : HC_NOREMOVE, r.msg.message,
                  reinterpret_cast<LPARAM>(&info)) &&
        remove) {
      queue.PopInput();
      UpdateThreadKeyState(queue, in);
      *consumed = true;
      return false;
    }
  }
  if (!remove) {
    if (r.error) return false;
    *msg = r.msg;
    return true;
  }
  queue.PopInput();
  *consumed = true;
  if (!ApplyMouse(queue, in, r)) return false;
  *msg = r.msg;
  return true;
}

bool TakeKey(MessageQueue& queue, const RawInput& in, MSG* msg, const MessageFilter& filter, UINT min,
             UINT max, bool remove, bool* consumed) {
  *consumed = false;
  HWND target = nullptr;
  bool hasFocus = false;
  {
    std::lock_guard lock(UserLock());
    hasFocus = FindLocked(queue.focus) != nullptr;
    target = hasFocus ? queue.focus : (FindLocked(queue.active) ? queue.active : nullptr);
  }
  if (!target) {
    queue.PopInput();
    UpdateThreadKeyState(queue, in);
    *consumed = true;
    return false;
  }
  const bool ctrl = AsyncKeyDown(VK_CONTROL);
  // Alt (without Ctrl, which makes AltGr), F10, or keys while no window has the focus take the
  // system forms.
  const bool system = (in.alt && !ctrl) || in.virtualKey == VK_F10 || in.virtualKey == VK_MENU || !hasFocus;
  MSG m{};
  m.hwnd = target;
  m.message = in.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  m.wParam = in.virtualKey;
  DWORD bits = 1 | ((in.scanCode & 0xFF) << 16);
  if (in.extended) bits |= 1u << 24;
  if (in.alt) bits |= 1u << 29;
  if (in.wasDown || !in.down) bits |= 1u << 30;
  if (!in.down) bits |= 1u << 31;
  m.lParam = static_cast<LPARAM>(static_cast<LONG>(bits));
  m.time = in.time;
  m.pt = CursorPosition();
  if (!filter.Matches(m.hwnd) || !InRange(m.message, min, max)) return false;
  if (HasHooks(WH_KEYBOARD) && CallHooks(WH_KEYBOARD, remove ? HC_ACTION : HC_NOREMOVE, m.wParam, m.lParam) &&
      remove) {
    queue.PopInput();
    UpdateThreadKeyState(queue, in);
    *consumed = true;
    return false;
  }
  if (remove) {
    queue.PopInput();
    *consumed = true;
    UpdateThreadKeyState(queue, in);
    ThreadInput& ti = queue.input;
    ti.extraInfo = in.extraInfo;
    ti.lastKeyMessage = m.message;
    ti.lastKeyWParam = m.wParam;
    ti.lastKeyNoCharacter = in.noCharacter;
    ti.lastKeyCharacter = in.character;
    if (in.down && !in.wasDown) ++ti.keyPresses;
  }
  *msg = m;
  return true;
}

RawInput KeyInputOf(const KeyInput& key) {
  RawInput in;
  in.kind = RawInput::Kind::kKey;
  in.time = MessageTime();
  in.virtualKey = key.virtualKey & 0xFF;
  in.down = key.down;
  in.character = key.character;
  in.noCharacter = key.noCharacter;
  in.scanCode = MapVirtualKey(in.virtualKey, MAPVK_VK_TO_VSC);
  switch (in.virtualKey) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_DIVIDE:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
      in.extended = true;
      break;
    default:
      break;
  }
  return in;
}

}  // namespace

POINT CursorPosition() {
  std::lock_guard lock(UserLock());
  return g_cursor;
}

void ForgetWindowInput(HWND hwnd) {
  if (g_capture == hwnd) g_capture = nullptr;
}

HWND CaptureLocked() {
  return FindLocked(g_capture) ? g_capture : nullptr;
}
void SetCaptureLocked(HWND hwnd) {
  g_capture = hwnd;
}

bool TakeInputMessage(MessageQueue& queue, MSG* msg, const MessageFilter& filter, UINT min, UINT max,
                      bool remove) {
  while (queue.HasInput()) {
    const RawInput in = queue.FrontInput();
    bool consumed = false;
    bool found = false;
    switch (in.kind) {
      case RawInput::Kind::kMouseGone:
        queue.PopInput();
        TrackPointer(queue, nullptr, false, in.pt);
        consumed = true;
        break;
      case RawInput::Kind::kKey:
        found = TakeKey(queue, in, msg, filter, min, max, remove, &consumed);
        break;
      default:
        found = TakeMouse(queue, in, msg, filter, min, max, remove, &consumed);
        break;
    }
    if (found) return true;
    if (!consumed) return false;  // the first input is for a window outside the filter
  }
  return false;
}

void TrackMouseEventLeaveNow(HWND hwnd, bool nonClient) {
  PostLeave(hwnd, nonClient);
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

namespace pictavo::user {

void InjectMouseMove(POINT point) {
  MoveTo(point, false);
}

void InjectMouseLeave() {
  MoveTo(CursorPosition(), true);
}

void InjectMouseButton(MouseButton button, bool down) {
  const int index = static_cast<int>(button);
  SetAsyncKey(ButtonVirtualKey(index), down);
  RawInput in;
  in.kind = RawInput::Kind::kMouseButton;
  in.time = MessageTime();
  in.button = index;
  in.down = down;
  in.mouseKeys = MouseKeysNow();
  std::shared_ptr<MessageQueue> target;
  {
    std::lock_guard lock(UserLock());
    in.pt = g_cursor;
    target = MouseQueueLocked(g_cursor);
  }
  Deliver(target, in);
}

void InjectMouseWheel(int delta, bool horizontal) {
  RawInput in;
  in.kind = RawInput::Kind::kMouseWheel;
  in.time = MessageTime();
  in.wheelDelta = delta;
  in.horizontal = horizontal;
  in.mouseKeys = MouseKeysNow();
  std::shared_ptr<MessageQueue> target;
  {
    std::lock_guard lock(UserLock());
    in.pt = g_cursor;
    target = KeyboardQueueLocked();
    if (!target) target = MouseQueueLocked(g_cursor);
  }
  Deliver(target, in);
}

void InjectKey(const KeyInput& key) {
  RawInput in = KeyInputOf(key);
  in.wasDown = AsyncKeyDown(in.virtualKey);
  SetAsyncKey(in.virtualKey, in.down);
  in.alt = AsyncKeyDown(VK_MENU);
  std::shared_ptr<MessageQueue> target;
  {
    std::lock_guard lock(UserLock());
    target = KeyboardQueueLocked();
  }
  Deliver(target, in);
}

void InjectText(std::string_view utf8) {
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c = unicode::DecodeUtf8(utf8, pos);
    if (c == unicode::kInvalid) c = unicode::kReplacement;
    InjectKey(KeyInput{VK_PACKET, true, c, false});
    InjectKey(KeyInput{VK_PACKET, false, c, false});
  }
}

}  // namespace pictavo::user

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MessageQueue& queue = MessageQueue::Current();
  ThreadInput& ti = queue.input;
  if (track->dwFlags & TME_QUERY) {
    track->dwFlags = ti.trackWindow ? ti.trackFlags : 0;
    track->hwndTrack = ti.trackWindow;
    track->dwHoverTime = ti.hoverTime;
    return TRUE;
  }
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(track->hwndTrack);
    if (!w) return FALSE;
    if (w->queue.get() != &queue) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  const DWORD kinds = track->dwFlags & (TME_LEAVE | TME_HOVER);
  const bool nonClient = (track->dwFlags & TME_NONCLIENT) != 0;
  if (track->dwFlags & TME_CANCEL) {
    if (ti.trackWindow == track->hwndTrack) {
      ti.trackFlags &= ~kinds;
      if (!(ti.trackFlags & (TME_LEAVE | TME_HOVER))) ti.trackWindow = nullptr;
    }
    return TRUE;
  }
  const bool inside = ti.mouseWindow == track->hwndTrack && ti.mouseNonClient == nonClient;
  if (!inside) {
    // Not over the window now: the leave is reported at once, as on the platform.
    if (kinds & TME_LEAVE) TrackMouseEventLeaveNow(track->hwndTrack, nonClient);
    return TRUE;
  }
  if (ti.trackWindow != track->hwndTrack) ti.trackFlags = 0;
  ti.trackWindow = track->hwndTrack;
  ti.trackFlags |= kinds | (nonClient ? TME_NONCLIENT : 0);
  if (kinds & TME_HOVER) {
    ti.hoverTime =
        track->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverTime : std::max<DWORD>(track->dwHoverTime, 1);
    StartHoverTimer(queue, track->hwndTrack, CursorPosition());
  }
  return TRUE;
}

HWND SetCapture(HWND hwnd) {
  HWND previous = nullptr;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w) return nullptr;
    if (!IsOwnThread(w)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    previous = CaptureLocked();
    SetCaptureLocked(hwnd);
  }
  if (previous != hwnd) {
    if (previous) SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    if (auto display = CurrentDisplay()) display->CaptureChanged(hwnd);
  }
  return previous;
}

BOOL ReleaseCapture() {
  HWND previous = nullptr;
  {
    std::lock_guard lock(UserLock());
    previous = CaptureLocked();
    if (!previous) return TRUE;
    if (!IsOwnThread(FindLocked(previous))) return TRUE;
    SetCaptureLocked(nullptr);
  }
  SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
  if (auto display = CurrentDisplay()) display->CaptureChanged(nullptr);
  return TRUE;
}

HWND GetCapture() {
  std::lock_guard lock(UserLock());
  HWND capture = CaptureLocked();
  return capture && IsOwnThread(FindLocked(capture)) ? capture : nullptr;
}

UINT GetDoubleClickTime() {
  return 500;
}
