// Probe windows for the display tests: they paint themselves in one colour and record the input
// and menu messages they get; a window may be given its own handler for one message. Also: this
// test binary run again in a child process, for what must end a process.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/user/Menu.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestInChild.h"

namespace probe {

struct Event {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT modifiers;  // MOD_* held when the message was sent
};

inline std::vector<Event>& Log() {
  static std::vector<Event> log;
  return log;
}

using Handler = std::function<void(HWND, WPARAM, LPARAM)>;
inline std::map<std::pair<HWND, UINT>, Handler>& Handlers() {
  static std::map<std::pair<HWND, UINT>, Handler> handlers;
  return handlers;
}

// Runs `handler` (after recording) when `hwnd` gets `message`.
inline void On(HWND hwnd, UINT message, Handler handler) {
  Handlers()[{hwnd, message}] = std::move(handler);
}

inline bool Recorded(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_APP:
      return true;
    default:
      return false;
  }
}

inline UINT ModifiersNow() {
  UINT mods = 0;
  if (GetKeyState(VK_SHIFT) < 0) mods |= 0x0004;
  if (GetKeyState(VK_CONTROL) < 0) mods |= 0x0002;
  if (GetKeyState(VK_MENU) < 0) mods |= 0x0001;
  return mods;
}

inline LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    pictavo::gdi::FillSolidRect(dc, client, static_cast<COLORREF>(GetWindowLongPtr(hwnd, GWLP_USERDATA)));
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (Recorded(message)) Log().push_back(Event{hwnd, message, wParam, lParam, ModifiersNow()});
  if (message == WM_LBUTTONDOWN && (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) SetFocus(hwnd);
  auto it = Handlers().find({hwnd, message});
  if (it != Handlers().end()) {
    Handler handler = it->second;
    handler(hwnd, wParam, lParam);
    return 0;
  }
  // Alt+letter stays with the probe: the default would look for a menu.
  if (message == WM_SYSKEYDOWN || message == WM_SYSCHAR) return 0;
  return DefWindowProc(hwnd, message, wParam, lParam);
}

inline const char* ClassName() {
  static const char* name = [] {
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "Probe";
    RegisterClass(&wc);
    return "Probe";
  }();
  return name;
}

// A frameless top-level window at `r` (desktop coordinates), shown.
inline HWND TopLevel(const char* title, const RECT& r, COLORREF color, DWORD style = WS_POPUP) {
  HWND hwnd = CreateWindowEx(0, ClassName(), title, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtr(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
  ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

// A child control with an id at `r` (the parent's client coordinates).
inline HWND Child(HWND parent, UINT id, const RECT& r, COLORREF color) {
  HWND hwnd = CreateWindowEx(0, ClassName(), "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             nullptr, nullptr);
  SetWindowLongPtr(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
  return hwnd;
}

inline std::vector<Event> Only(std::initializer_list<UINT> messages) {
  std::vector<Event> out;
  for (const Event& e : Log())
    for (UINT m : messages)
      if (e.message == m) out.push_back(e);
  return out;
}

using pictavo::test::PumpPending;

// Runs a message loop until WM_QUIT; its exit code.
inline int RunLoop() {
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return static_cast<int>(msg.wParam);
}

using pictavo::test::ChildResult;
using pictavo::test::RunTestInChild;

}  // namespace probe
