#include "platform/user/Mdi.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/base/Styles.h"
#include "platform/base/VirtualKeys.h"
#include "platform/res/Templates.h"
#include "platform/user/Controls.h"
#include "platform/user/Dialog.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user {
namespace {

// What a client knows of its children; lives in the client's first window long.
struct ClientState {
  HWND client = nullptr;
  HMENU windowMenu = nullptr;
  UINT idFirstChild = 0;
  std::vector<HWND> children;  // in creation order: child i has the id idFirstChild + i
  HWND active = nullptr;
  bool listed = false;     // the Window menu holds our separator and entries
  std::string frameTitle;  // the frame's own caption
  bool frameTitleKnown = false;
  int nextCascade = 0;  // where the next child without a position goes
};

ClientState* StateOf(HWND client) {
  return client ? reinterpret_cast<ClientState*>(GetWindowLongPtr(client, 0)) : nullptr;
}

ClientState* StateOfChild(HWND child) {
  if (!(GetWindowLong(child, GWL_EXSTYLE) & WS_EX_MDICHILD)) return nullptr;
  return StateOf(GetParent(child));
}

HWND Frame(const ClientState& s) {
  return GetParent(s.client);
}

// Visible children from the top of the z-order down.
std::vector<HWND> ZOrder(const ClientState& s, bool skipDisabled = false) {
  std::vector<HWND> order;
  for (HWND w = GetWindow(s.client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (std::find(s.children.begin(), s.children.end(), w) == s.children.end()) continue;
    if (!(GetWindowLong(w, GWL_STYLE) & WS_VISIBLE)) continue;
    if (skipDisabled && !IsWindowEnabled(w)) continue;
    order.push_back(w);
  }
  return order;
}

// --- The frame's caption and Window menu --------------------------------------------------------

void RememberFrameTitle(ClientState& s) {
  if (s.frameTitleKnown) return;
  s.frameTitle = WindowText(Frame(s));
  s.frameTitleKnown = true;
}

// Writes the frame's caption past the frame's own procedure, so it does not take the composed
// text for its own title.
void ShowFrameTitle(ClientState& s) {
  RememberFrameTitle(s);
  const bool maximized = s.active && IsZoomed(s.active);
  const std::string text =
      maximized ? MdiMaximizedFrameTitle(s.frameTitle, WindowText(s.active)) : s.frameTitle;
  if (text != WindowText(Frame(s)))
    DefWindowProc(Frame(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void RemoveWindowList(ClientState& s) {
  if (!s.listed || !IsMenu(s.windowMenu)) {
    s.listed = false;
    return;
  }
  for (int i = 0; i <= kMdiListedChildren; ++i) RemoveMenu(s.windowMenu, s.idFirstChild + i, MF_BYCOMMAND);
  const int count = GetMenuItemCount(s.windowMenu);
  if (count > 0 && (GetMenuState(s.windowMenu, count - 1, MF_BYPOSITION) & MF_SEPARATOR))
    RemoveMenu(s.windowMenu, count - 1, MF_BYPOSITION);
  s.listed = false;
}

void RefreshWindowList(ClientState& s) {
  RemoveWindowList(s);
  if (!IsMenu(s.windowMenu)) return;
  std::vector<HWND> shown;
  for (HWND child : s.children)
    if (GetWindowLong(child, GWL_STYLE) & WS_VISIBLE) shown.push_back(child);
  if (shown.empty()) return;
  AppendMenu(s.windowMenu, MF_SEPARATOR, 0, nullptr);
  s.listed = true;
  const int listed = std::min<int>(static_cast<int>(shown.size()), kMdiListedChildren);
  for (int i = 0; i < listed; ++i) {
    const std::string text = MdiWindowMenuText(i, WindowText(shown[static_cast<size_t>(i)]));
    const UINT checked = shown[static_cast<size_t>(i)] == s.active ? MF_CHECKED : MF_UNCHECKED;
    AppendMenu(s.windowMenu, MF_STRING | checked, GetDlgCtrlID(shown[static_cast<size_t>(i)]), text.c_str());
  }
  if (static_cast<int>(shown.size()) > kMdiListedChildren)
    AppendMenu(s.windowMenu, MF_STRING, s.idFirstChild + kMdiListedChildren, "&More Windows...");
}

// The listed children are numbered by their position among the visible ones, so ids follow
// the list: child ids are renumbered after every change of the set.
void Renumber(ClientState& s) {
  UINT id = s.idFirstChild;
  for (HWND child : s.children)
    if (GetWindowLong(child, GWL_STYLE) & WS_VISIBLE) SetWindowLong(child, GWL_ID, static_cast<LONG>(id++));
  for (HWND child : s.children)
    if (!(GetWindowLong(child, GWL_STYLE) & WS_VISIBLE))
      SetWindowLong(child, GWL_ID, static_cast<LONG>(id++));
}

void ChildrenChanged(ClientState& s) {
  Renumber(s);
  RefreshWindowList(s);
  DrawMenuBar(Frame(s));
  ShowFrameTitle(s);
}

// --- Activation ---------------------------------------------------------------------------------

void Activate(ClientState& s, HWND child) {
  if (child && std::find(s.children.begin(), s.children.end(), child) == s.children.end()) return;
  const HWND old = s.active;
  if (child == old) {
    if (child && GetActiveWindow() == Frame(s)) SetFocus(child);
    return;
  }
  // A maximized child hands its state to the child activated after it.
  const bool carryMaximized = old && child && IsZoomed(old);
  if (old && IsWindow(old)) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  }
  s.active = child;
  if (child) {
    if (carryMaximized) {
      SendMessage(s.client, WM_SETREDRAW, FALSE, 0);
      ShowWindow(child, SW_SHOWMAXIMIZED);
      if (IsWindow(old)) ShowWindow(old, SW_SHOWNOACTIVATE);
      SendMessage(s.client, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(s.client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(child, WM_NCACTIVATE, GetActiveWindow() == Frame(s) ? TRUE : FALSE, 0);
    SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    if (GetActiveWindow() == Frame(s) && s.active == child) SetFocus(child);
  }
  RefreshWindowList(s);
  ShowFrameTitle(s);
}

// The child to activate after `leaving`: the next visible one in z-order.
HWND Successor(const ClientState& s, HWND leaving) {
  for (HWND w : ZOrder(s))
    if (w != leaving) return w;
  return nullptr;
}

void ActivateNext(ClientState& s, HWND from, bool previous) {
  if (!from) from = s.active;
  const auto order = ZOrder(s);
  if (order.size() < 2 || !from) return;
  const auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return;
  if (previous) {
    Activate(s, order.back());
  } else {
    const size_t i = static_cast<size_t>(at - order.begin());
    const HWND next = order[(i + 1) % order.size()];
    Activate(s, next);
    // The window left goes to the back, so repeated "next" walks through every child.
    SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// --- Creation and destruction --------------------------------------------------------------------

RECT ClientArea(const ClientState& s) {
  RECT r{};
  GetClientRect(s.client, &r);
  return r;
}

int CascadeStep() {
  return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
}

HWND Create(ClientState& s, MDICREATESTRUCT* mcs) {
  if (!mcs) return nullptr;
  DWORD style = mcs->style;
  if (!(GetWindowLong(s.client, GWL_STYLE) & MDIS_ALLCHILDSTYLES))
    style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  const bool maximize = (style & WS_MAXIMIZE) || (s.active && IsZoomed(s.active) && (style & WS_SYSMENU));
  const bool visible = (style & WS_VISIBLE) != 0;
  style &= ~static_cast<DWORD>(WS_MAXIMIZE | WS_MINIMIZE | WS_VISIBLE);
  const RECT area = ClientArea(s);
  int x = mcs->x, y = mcs->y, cx = mcs->cx, cy = mcs->cy;
  if (x == CW_USEDEFAULT || y == CW_USEDEFAULT) {
    const int step = CascadeStep();
    const int width = area.right - area.left, height = area.bottom - area.top;
    if ((s.nextCascade + 1) * step + height / 2 > height) s.nextCascade = 0;
    x = y = s.nextCascade++ * step;
    if (cx == CW_USEDEFAULT) cx = std::max(width * 3 / 4, 100);
    if (cy == CW_USEDEFAULT) cy = std::max(height * 3 / 4, 60);
  }
  if (cx == CW_USEDEFAULT) cx = (area.right - area.left) * 3 / 4;
  if (cy == CW_USEDEFAULT) cy = (area.bottom - area.top) * 3 / 4;
  const UINT id = s.idFirstChild + static_cast<UINT>(s.children.size());
  const HWND child = CreateWindowEx(WS_EX_MDICHILD, mcs->szClass, mcs->szTitle, style, x, y, cx, cy, s.client,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                    static_cast<HINSTANCE>(mcs->hOwner), mcs);
  if (!child) return nullptr;
  s.children.push_back(child);
  if (maximize) {
    const HWND old = s.active;
    ShowWindow(child, SW_SHOWMAXIMIZED);
    if (old && old != child && IsZoomed(old)) ShowWindow(old, SW_SHOWNOACTIVATE);
  } else if (visible) {
    ShowWindow(child, SW_SHOW);
  }
  if (visible || maximize) Activate(s, child);
  ChildrenChanged(s);
  return child;
}

void Destroy(ClientState& s, HWND child) {
  const auto at = std::find(s.children.begin(), s.children.end(), child);
  if (at == s.children.end()) return;
  if (s.active == child) {
    const bool wasMaximized = IsZoomed(child);
    const HWND next = Successor(s, child);
    if (next) {
      Activate(s, next);
      if (wasMaximized && !IsZoomed(next) && (GetWindowLong(next, GWL_STYLE) & WS_SYSMENU))
        ShowWindow(next, SW_SHOWMAXIMIZED);
    } else {
      SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
      s.active = nullptr;
    }
  }
  s.children.erase(std::find(s.children.begin(), s.children.end(), child));
  DestroyWindow(child);
  ChildrenChanged(s);
  if (!s.active) SetFocus(s.client);
}

// --- Arranging -----------------------------------------------------------------------------------

void ArrangeIcons(ClientState& s) {
  const RECT area = ClientArea(s);
  const int w = GetSystemMetrics(SM_CXMINIMIZED), h = GetSystemMetrics(SM_CYMINIMIZED);
  int x = area.left, y = area.bottom - h;
  for (HWND child : s.children) {
    if (!IsIconic(child)) continue;
    SetWindowPos(child, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    x += w;
    if (x + w > area.right && x > area.left) {
      x = area.left;
      y -= h;
    }
  }
}

// The children an arrangement moves, restoring a maximized one first; bottom of the z-order
// first, so the active window ends up where the last place is.
std::vector<HWND> Arrangeable(ClientState& s, UINT flags) {
  if (s.active && IsZoomed(s.active)) ShowWindow(s.active, SW_SHOWNORMAL);
  std::vector<HWND> out;
  for (HWND w : ZOrder(s, (flags & MDITILE_SKIPDISABLED) != 0))
    if (!IsIconic(w)) out.push_back(w);
  return out;
}

int IconRows(const ClientState& s) {
  for (HWND child : s.children)
    if (IsIconic(child) && (GetWindowLong(child, GWL_STYLE) & WS_VISIBLE)) return 1;
  return 0;
}

void Cascade(ClientState& s, UINT flags) {
  auto order = Arrangeable(s, flags);
  if (order.empty()) return;
  std::reverse(order.begin(), order.end());
  RECT area = ClientArea(s);
  area.bottom -= IconRows(s) * GetSystemMetrics(SM_CYMINIMIZED);
  const int step = CascadeStep();
  const int n = static_cast<int>(order.size());
  const int width = std::max<int>((area.right - area.left) - step * (n - 1), (area.right - area.left) / 2);
  const int height = std::max<int>((area.bottom - area.top) - step * (n - 1), (area.bottom - area.top) / 2);
  for (int i = 0; i < n; ++i)
    SetWindowPos(order[static_cast<size_t>(i)], HWND_TOP, area.left + i * step, area.top + i * step, width,
                 height, SWP_NOACTIVATE);
  s.nextCascade = n;
}

void Tile(ClientState& s, UINT flags) {
  auto order = Arrangeable(s, flags);
  if (order.empty()) return;
  RECT area = ClientArea(s);
  area.bottom -= IconRows(s) * GetSystemMetrics(SM_CYMINIMIZED);
  const int n = static_cast<int>(order.size());
  // Horizontal tiling stacks wide windows in columns of rows; vertical tiling lines up tall
  // windows in rows of columns. Later groups take the one extra window each.
  const int groups = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
  const bool horizontal = (flags & MDITILE_HORIZONTAL) != 0;
  const int extent = horizontal ? area.right - area.left : area.bottom - area.top;
  const int across = horizontal ? area.bottom - area.top : area.right - area.left;
  int placed = 0;
  for (int g = 0; g < groups; ++g) {
    const int inGroup = n / groups + (g >= groups - n % groups ? 1 : 0);
    const int g0 = extent * g / groups, g1 = extent * (g + 1) / groups;
    for (int k = 0; k < inGroup; ++k, ++placed) {
      const int a0 = across * k / inGroup, a1 = across * (k + 1) / inGroup;
      const RECT r = horizontal ? RECT{area.left + g0, area.top + a0, area.left + g1, area.top + a1}
                                : RECT{area.left + a0, area.top + g0, area.left + a1, area.top + g1};
      SetWindowPos(order[static_cast<size_t>(placed)], nullptr, r.left, r.top, r.right - r.left,
                   r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

HMENU SetMenus(ClientState& s, HMENU frameMenu, HMENU windowMenu) {
  const HWND frame = Frame(s);
  const HMENU old = GetMenu(frame);
  if (windowMenu && windowMenu != s.windowMenu) {
    RemoveWindowList(s);
    s.windowMenu = windowMenu;
  }
  if (frameMenu && frameMenu != old) {
    RemoveWindowList(s);
    SetMenu(frame, frameMenu);
  }
  RefreshWindowList(s);
  return old;
}

}  // namespace

std::string MdiWindowMenuText(int index, std::string_view title) {
  return "&" + std::to_string(index + 1) + " " + std::string(title);
}

std::string MdiMaximizedFrameTitle(std::string_view frameTitle, std::string_view childTitle) {
  if (childTitle.empty()) return std::string(frameTitle);
  if (frameTitle.empty()) return "[" + std::string(childTitle) + "]";
  return std::string(frameTitle) + " - [" + std::string(childTitle) + "]";
}

LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ClientState* s = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      auto state = std::make_unique<ClientState>();
      state->client = hwnd;
      const auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      if (cs && cs->lpCreateParams) {
        const auto* ccs = static_cast<CLIENTCREATESTRUCT*>(cs->lpCreateParams);
        state->windowMenu = ccs->hWindowMenu;
        state->idFirstChild = ccs->idFirstChild;
      }
      SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(state.release()));
      return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_NCDESTROY:
      if (s) {
        RemoveWindowList(*s);
        SetWindowLongPtr(hwnd, 0, 0);
        delete s;
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    default:
      break;
  }
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_MDICREATE:
      return reinterpret_cast<LRESULT>(Create(*s, reinterpret_cast<MDICREATESTRUCT*>(lParam)));
    case WM_MDIDESTROY:
      Destroy(*s, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_MDIACTIVATE:
      Activate(*s, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_MDINEXT:
      ActivateNext(*s, reinterpret_cast<HWND>(wParam), lParam != 0);
      return 0;
    case WM_MDIMAXIMIZE:
      if (HWND child = reinterpret_cast<HWND>(wParam)) ShowWindow(child, SW_SHOWMAXIMIZED);
      return 0;
    case WM_MDIRESTORE:
      if (HWND child = reinterpret_cast<HWND>(wParam)) ShowWindow(child, SW_RESTORE);
      return 0;
    case WM_MDIGETACTIVE:
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = s->active && IsZoomed(s->active) ? TRUE : FALSE;
      return reinterpret_cast<LRESULT>(s->active);
    case WM_MDICASCADE:
      Cascade(*s, static_cast<UINT>(wParam));
      return TRUE;
    case WM_MDITILE:
      Tile(*s, static_cast<UINT>(wParam));
      return TRUE;
    case WM_MDIICONARRANGE:
      ArrangeIcons(*s);
      return 0;
    case WM_MDISETMENU:
      return reinterpret_cast<LRESULT>(
          SetMenus(*s, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam)));
    case WM_MDIREFRESHMENU:
      RefreshWindowList(*s);
      return reinterpret_cast<LRESULT>(GetMenu(Frame(*s)));
    case WM_SETFOCUS:
      if (s->active && IsWindow(s->active) && !IsIconic(s->active)) SetFocus(s->active);
      return 0;
    case WM_SIZE:
      ArrangeIcons(*s);
      if (s->active && IsZoomed(s->active)) ShowWindow(s->active, SW_SHOWMAXIMIZED);
      return DefWindowProc(hwnd, message, wParam, lParam);
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace pictavo::user

using pictavo::user::ClientState;

namespace {

// The list of every child, for more children than the Window menu lists.
void ChooseFromAllChildren(pictavo::user::ClientState& s);

}  // namespace

LRESULT DefFrameProc(HWND hwnd, HWND hwndMDIClient, UINT message, WPARAM wParam, LPARAM lParam) {
  ClientState* s = pictavo::user::StateOf(hwndMDIClient);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      if (HIWORD(wParam) == 0 && id >= s->idFirstChild &&
          id < s->idFirstChild + pictavo::user::kMdiListedChildren) {
        for (HWND child : s->children) {
          if (static_cast<UINT>(GetDlgCtrlID(child)) != id) continue;
          if (IsIconic(child)) ShowWindow(child, SW_RESTORE);
          pictavo::user::Activate(*s, child);
          return 0;
        }
        return 0;
      }
      if (HIWORD(wParam) == 0 && id == s->idFirstChild + pictavo::user::kMdiListedChildren) {
        ChooseFromAllChildren(*s);
        return 0;
      }
      // System commands chosen while a child is maximized are the child's.
      if (id >= 0xF000 && s->active && IsZoomed(s->active))
        return SendMessage(s->active, WM_SYSCOMMAND, wParam, lParam);
      return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_SETTEXT: {
      s->frameTitle = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      s->frameTitleKnown = true;
      const bool maximized = s->active && IsZoomed(s->active);
      const std::string text = maximized ? pictavo::user::MdiMaximizedFrameTitle(
                                               s->frameTitle, pictavo::user::WindowText(s->active))
                                         : s->frameTitle;
      return DefWindowProc(hwnd, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    case WM_SETFOCUS:
      SetFocus(s->active && IsWindow(s->active) && !IsIconic(s->active) ? s->active : hwndMDIClient);
      return 0;
    case WM_NCACTIVATE:
      if (s->active && IsWindow(s->active)) SendMessage(s->active, WM_NCACTIVATE, wParam, 0);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) MoveWindow(hwndMDIClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_NEXTWINDOW || (wParam & 0xFFF0) == SC_PREVWINDOW) {
        pictavo::user::ActivateNext(*s, nullptr, (wParam & 0xFFF0) == SC_PREVWINDOW);
        return 0;
      }
      return DefWindowProc(hwnd, message, wParam, lParam);
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

LRESULT DefMDIChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ClientState* s = pictavo::user::StateOfChild(hwnd);
  if (!s) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_GETMINMAXINFO: {
      // Maximized, the child's client area covers the MDI client exactly; its frame lies outside.
      RECT r{};
      GetClientRect(s->client, &r);
      AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE)));
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMaxPosition = POINT{r.left, r.top};
      info->ptMaxSize = POINT{r.right - r.left, r.bottom - r.top};
      info->ptMaxTrackSize = info->ptMaxSize;
      return 0;
    }
    case WM_SIZE: {
      const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
      if (wParam == SIZE_MAXIMIZED && s->active != hwnd) pictavo::user::Activate(*s, hwnd);
      if (wParam == SIZE_MINIMIZED) pictavo::user::ArrangeIcons(*s);
      pictavo::user::ShowFrameTitle(*s);
      return result;
    }
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
      pictavo::user::RefreshWindowList(*s);
      pictavo::user::ShowFrameTitle(*s);
      return result;
    }
    case WM_NCPAINT:
      // A child is never the system's active window: its caption shows whether it is the
      // client's active child in an active frame.
      pictavo::user::detail::DrawFrame(hwnd,
                                       s->active == hwnd && GetActiveWindow() == pictavo::user::Frame(*s));
      return 0;
    case WM_CHILDACTIVATE:
      pictavo::user::Activate(*s, hwnd);
      return 0;
    case WM_MOUSEACTIVATE:
      if (s->active != hwnd) pictavo::user::Activate(*s, hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SETFOCUS:
      if (s->active != hwnd) pictavo::user::Activate(*s, hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CLOSE:
      SendMessage(s->client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
          pictavo::user::ActivateNext(*s, hwnd, (wParam & 0xFFF0) == SC_PREVWINDOW);
          return 0;
        case SC_MAXIMIZE:
        case SC_RESTORE:
        case SC_MINIMIZE: {
          const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
          if ((wParam & 0xFFF0) != SC_MINIMIZE && s->active != hwnd) pictavo::user::Activate(*s, hwnd);
          return result;
        }
        default:
          return DefWindowProc(hwnd, message, wParam, lParam);
      }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

BOOL TranslateMDISysAccel(HWND hwndClient, LPMSG msg) {
  ClientState* s = pictavo::user::StateOf(hwndClient);
  if (!s || !msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  if (!s->active || !(GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return FALSE;
  WPARAM command = 0;
  if (msg->wParam == VK_F4)
    command = SC_CLOSE;
  else if (msg->wParam == VK_F6)
    command = (GetKeyState(VK_SHIFT) & 0x8000) ? SC_PREVWINDOW : SC_NEXTWINDOW;
  if (!command) return FALSE;
  SendMessage(s->active, WM_SYSCOMMAND, command, 0);
  return TRUE;
}

namespace {

constexpr int kWindowListId = 100;

struct ChooseContext {
  std::vector<HWND> children;
  HWND active = nullptr;
};

INT_PTR CALLBACK ChooseProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* context = reinterpret_cast<ChooseContext*>(lParam);
      const HWND list = GetDlgItem(dialog, kWindowListId);
      for (HWND child : context->children) {
        const std::string title = pictavo::user::WindowText(child);
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
      }
      const auto at = std::find(context->children.begin(), context->children.end(), context->active);
      SendMessage(list, LB_SETCURSEL, at == context->children.end() ? 0 : at - context->children.begin(), 0);
      SetFocus(list);
      return FALSE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const bool chosen = id == IDOK || (id == kWindowListId && HIWORD(wParam) == LBN_DBLCLK);
      if (chosen) {
        const LRESULT index = SendDlgItemMessage(dialog, kWindowListId, LB_GETCURSEL, 0, 0);
        EndDialog(dialog, index < 0 ? 0 : index + 1);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

pictavo::res::DialogTemplate ChooseTemplate() {
  pictavo::res::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  t.caption = "Select Window";
  t.fontFace = "MS Sans Serif";
  t.pointSize = 8;
  t.cx = 180;
  t.cy = 118;
  const auto control = [&](DWORD id, const char* cls, const char* text, DWORD style, short x, short y,
                           short cx, short cy) {
    pictavo::res::DialogControl c;
    c.id = id;
    c.className = cls;
    c.text = text;
    c.style = WS_CHILD | WS_VISIBLE | style;
    c.x = x, c.y = y, c.cx = cx, c.cy = cy;
    t.controls.push_back(c);
  };
  control(kWindowListId, WC_LISTBOX, "", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 7, 7,
          166, 84);
  control(IDOK, WC_BUTTON, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 69, 97, 50, 14);
  control(IDCANCEL, WC_BUTTON, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 123, 97, 50, 14);
  return t;
}

void ChooseFromAllChildren(ClientState& s) {
  ChooseContext context;
  for (HWND child : s.children)
    if (GetWindowLong(child, GWL_STYLE) & WS_VISIBLE) context.children.push_back(child);
  context.active = s.active;
  const pictavo::res::DialogTemplate t = ChooseTemplate();
  const INT_PTR chosen = DialogBoxIndirectParam(nullptr, &t, GetParent(s.client), ChooseProc,
                                                reinterpret_cast<LPARAM>(&context));
  if (chosen <= 0 || chosen > static_cast<INT_PTR>(context.children.size())) return;
  const HWND child = context.children[static_cast<size_t>(chosen - 1)];
  if (!IsWindow(child)) return;
  if (IsIconic(child)) ShowWindow(child, SW_RESTORE);
  pictavo::user::Activate(s, child);
}

}  // namespace
