// The sdl display's windows: native windows made, placed, shaped, stacked and shown as the
// top-level windows are, their pixels uploaded from the windows' surfaces.
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/display/SdlInternal.h"
#include "platform/gdi/Surface.h"
#include "platform/kernel/Thread.h"
#include "platform/media/SdlSubsystem.h"
#include "platform/user/User.h"

namespace pictavo::display {
namespace {

// How long the display's thread may wait idle before it looks at SDL's events again.
constexpr DWORD kIdleSlice = 10;

bool ClassIs(HWND hwnd, const char* name) {
  char buffer[64] = {};
  return GetClassName(hwnd, buffer, sizeof(buffer)) > 0 && std::strcmp(buffer, name) == 0;
}

// What kind of native window stands for the top-level window: menus and drop-down lists are
// pop-up menus and tips are tooltips (neither takes the focus nor has a task-bar entry), tool
// windows are utility windows, and only unowned windows get a task-bar entry.
Uint32 KindFlags(HWND hwnd) {
  const auto exStyle = static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE));
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
  if (ClassIs(hwnd, "#32768") || ClassIs(hwnd, "ComboLBox"))
    flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
  else if (ClassIs(hwnd, "tooltips_class32"))
    flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
  else if (exStyle & WS_EX_TOOLWINDOW)
    flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
  if (GetWindow(hwnd, GW_OWNER) && !(exStyle & WS_EX_APPWINDOW)) flags |= SDL_WINDOW_SKIP_TASKBAR;
  if (exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  return flags;
}

// The text a task bar shows; only asked of windows of the calling thread, which answer at once.
std::string TitleOf(HWND hwnd) {
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return {};
  char text[256] = {};
  GetWindowText(hwnd, text, sizeof(text));
  return text;
}

RECT Clip(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) return RECT{};
  return r;
}

bool IsEmpty(const RECT& r) {
  return r.left >= r.right || r.top >= r.bottom;
}

bool SameSize(const RECT& a, const RECT& b) {
  return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

// Raises a native window without asking for the keyboard: only the active window takes it, and
// SDL's raise asks the window manager to activate.
void RaiseQuietly(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    XRaiseWindow(info.info.x11.display, info.info.x11.window);
    XFlush(info.info.x11.display);
    return;
  }
  SDL_RaiseWindow(window);
}

void Complain(const char* what, HWND hwnd) {
  std::fprintf(stderr, "pictavo: sdl display: %s for window %p: %s\n", what, static_cast<void*>(hwnd),
               SDL_GetError());
}

}  // namespace

std::shared_ptr<SdlDisplay> SdlDisplay::Open(std::string* error) {
  // A desktop program: the screen saver may run, a compositor may keep compositing, the first
  // click on an inactive window counts, and closing windows is the program's business.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  std::string why;
  auto video = media::SdlSubsystem::Acquire(SDL_INIT_VIDEO, &why);
  // Without a display SDL falls back on drivers that show nothing.
  const char* driver = video ? SDL_GetCurrentVideoDriver() : nullptr;
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    why = std::string("SDL found no display (only its \"") + driver + "\" driver)";
    video.reset();
  }
  SDL_Rect bounds{};
  if (video && (SDL_GetDisplayBounds(0, &bounds) != 0 || bounds.w < 1 || bounds.h < 1)) {
    why = SDL_GetError();
    video.reset();
  }
  if (!video) {
    if (error) *error = why.empty() ? "no display" : why;
    return nullptr;
  }
  return std::shared_ptr<SdlDisplay>(
      new SdlDisplay(std::move(video), SIZE{bounds.w, bounds.h}, POINT{bounds.x, bounds.y}));
}

SdlDisplay::SdlDisplay(std::unique_ptr<media::SdlSubsystem> video, SIZE size, POINT origin)
    : m_video(std::move(video)),
      m_thread(std::this_thread::get_id()),
      m_size(size),
      m_origin(origin),
      m_cursors(std::make_unique<Cursors>()) {}

SdlDisplay::~SdlDisplay() {
  // Native windows and cursors go before the video subsystem (members are destroyed in reverse).
  m_windows.clear();
  m_cursors.reset();
}

void SdlDisplay::OnDisplayThread(std::function<void()> work) {
  if (OnDisplayThread()) {
    work();
    return;
  }
  std::lock_guard lock(m_lock);
  m_pending.push_back(std::move(work));
}

void SdlDisplay::RunPending() {
  std::vector<std::function<void()>> pending;
  {
    std::lock_guard lock(m_lock);
    pending.swap(m_pending);
  }
  for (auto& work : pending) work();
}

SdlDisplay::Native* SdlDisplay::Find(HWND hwnd) {
  auto it = m_windows.find(hwnd);
  return it == m_windows.end() ? nullptr : it->second.get();
}

SdlDisplay::Native* SdlDisplay::FindById(uint32_t windowId) {
  for (auto& [hwnd, native] : m_windows)
    if (native->id == windowId) return native.get();
  return nullptr;
}

SdlDisplay::Native* SdlDisplay::Ensure(HWND hwnd) {
  if (Native* native = Find(hwnd)) return native;
  user::TopLevelWindow window;
  if (!user::DescribeTopLevelWindow(hwnd, &window)) return nullptr;
  auto native = std::make_unique<Native>();
  native->hwnd = hwnd;
  native->flags = KindFlags(hwnd);
  native->rect = window.rect;
  Recreate(*native, !window.shape.empty());
  if (!native->window) return nullptr;
  return m_windows.emplace(hwnd, std::move(native)).first->second.get();
}

// Shaped native windows are a kind of their own, so a window that gets a shape is made anew.
void SdlDisplay::Recreate(Native& native, bool shaped) {
  const bool wasShown = native.shown;
  native.window.reset();
  native.shown = false;
  const int width = std::max<int>(1, native.rect.right - native.rect.left);
  const int height = std::max<int>(1, native.rect.bottom - native.rect.top);
  const int x = native.rect.left + m_origin.x;
  const int y = native.rect.top + m_origin.y;
  const std::string title = TitleOf(native.hwnd);
  SDL_Window* window = shaped ? SDL_CreateShapedWindow(title.c_str(), 0, 0, static_cast<unsigned>(width),
                                                       static_cast<unsigned>(height), native.flags)
                              : SDL_CreateWindow(title.c_str(), x, y, width, height, native.flags);
  if (!window) {
    Complain("no native window", native.hwnd);
    return;
  }
  native.window.reset(window);
  native.id = SDL_GetWindowID(window);
  native.shaped = shaped;
  if (shaped) ApplyShape(native);
  Upload(native, RECT{0, 0, width, height});
  native.wantShown = native.wantShown || wasShown;
}

void SdlDisplay::Place(Native& native, const RECT& rect) {
  const bool moved = rect.left != native.rect.left || rect.top != native.rect.top;
  const bool sized = !SameSize(rect, native.rect);
  native.rect = rect;
  if (sized) {
    SDL_SetWindowSize(native.window.get(), std::max<int>(1, rect.right - rect.left),
                      std::max<int>(1, rect.bottom - rect.top));
    if (native.shaped) ApplyShape(native);
    // A new size gives the native window new pixels: all of them come from the surface again.
    Upload(native, RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top});
  }
  if (moved) SDL_SetWindowPosition(native.window.get(), rect.left + m_origin.x, rect.top + m_origin.y);
}

void SdlDisplay::ApplyShape(Native& native) {
  user::TopLevelWindow window;
  if (!user::DescribeTopLevelWindow(native.hwnd, &window)) return;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(native.window.get(), &width, &height);
  SDL_Surface* mask = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!mask) return;
  SDL_FillRect(mask, nullptr, 0);
  if (window.shape.empty()) {
    SDL_FillRect(mask, nullptr, 0xFF000000u);
  } else {
    for (const RECT& r : window.shape) {
      const SDL_Rect piece{r.left, r.top, r.right - r.left, r.bottom - r.top};
      SDL_FillRect(mask, &piece, 0xFF000000u);
    }
  }
  SDL_WindowShapeMode mode{};
  mode.mode = ShapeModeBinarizeAlpha;
  mode.parameters.binarizationCutoff = 1;
  if (SDL_SetWindowShape(native.window.get(), mask, &mode) != 0) Complain("no window shape", native.hwnd);
  SDL_FreeSurface(mask);
  // A shaped window is made off the screen and put in its place once it has a shape.
  SDL_SetWindowPosition(native.window.get(), native.rect.left + m_origin.x, native.rect.top + m_origin.y);
}

void SdlDisplay::Upload(Native& native, const RECT& rect) {
  user::TopLevelWindow window;
  if (!user::DescribeTopLevelWindow(native.hwnd, &window) || !window.surface) return;
  SDL_Surface* target = SDL_GetWindowSurface(native.window.get());
  if (!target) return;
  const gdi::Surface& source = *window.surface;
  const RECT area =
      Clip(rect, RECT{0, 0, std::min(source.Width(), target->w), std::min(source.Height(), target->h)});
  if (IsEmpty(area)) return;
  const int width = area.right - area.left;
  if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
  for (int y = area.top; y < area.bottom; ++y) {
    const uint32_t* from = source.Row(y).data() + area.left;
    auto* to = static_cast<uint8_t*>(target->pixels) + static_cast<ptrdiff_t>(y) * target->pitch +
               static_cast<ptrdiff_t>(area.left) * target->format->BytesPerPixel;
    SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_RGB888, from, width * 4, target->format->format, to,
                      target->pitch);
  }
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  const SDL_Rect changed{area.left, area.top, width, area.bottom - area.top};
  SDL_UpdateWindowSurfaceRects(native.window.get(), &changed, 1);
}

// Windows are mapped once painted: the thread shows them when it next looks for events, which
// it does only after the paint messages have been handled.
void SdlDisplay::ShowPending() {
  bool any = false;
  for (auto& [hwnd, native] : m_windows) {
    if (!native->wantShown || native->shown || native->minimized) continue;
    SDL_ShowWindow(native->window.get());
    native->shown = true;
    any = true;
    SDL_UpdateWindowSurface(native->window.get());
  }
  if (any) Restack();
}

// The native windows are raised, from the lowest one out of place upwards, until their order is
// that of the top-level windows.
void SdlDisplay::Restack() {
  std::vector<HWND> order;
  for (const user::TopLevelWindow& w : user::TopLevelWindows()) {
    const Native* native = Find(w.hwnd);
    if (native && native->shown) order.push_back(w.hwnd);
  }
  std::vector<HWND> current;
  for (HWND hwnd : m_stack) {
    const Native* native = Find(hwnd);
    if (native && native->shown && std::find(order.begin(), order.end(), hwnd) != order.end())
      current.push_back(hwnd);
  }
  // Windows shown since the last look were mapped on top.
  for (HWND hwnd : order)
    if (std::find(current.begin(), current.end(), hwnd) == current.end()) current.push_back(hwnd);
  size_t first = 0;
  while (first < order.size() && order[first] == current[first]) ++first;
  for (size_t i = first; i < order.size(); ++i) RaiseQuietly(Find(order[i])->window.get());
  m_stack = std::move(order);
}

void SdlDisplay::WindowDestroyed(HWND hwnd) {
  OnDisplayThread([this, hwnd] {
    m_windows.erase(hwnd);
    m_stack.erase(std::remove(m_stack.begin(), m_stack.end(), hwnd), m_stack.end());
  });
}

void SdlDisplay::WindowMoved(HWND hwnd, const RECT&) {
  WindowShown(hwnd, true);
}

// Brings the native window in line with the window: shown where it is, minimized, or hidden.
void SdlDisplay::WindowShown(HWND hwnd, bool) {
  OnDisplayThread([this, hwnd] {
    user::TopLevelWindow window;
    if (!user::DescribeTopLevelWindow(hwnd, &window)) {
      m_windows.erase(hwnd);
      return;
    }
    const bool iconic = IsIconic(hwnd) && (GetWindowLong(hwnd, GWL_STYLE) & WS_VISIBLE);
    Native* native = Find(hwnd);
    if (!window.visible && !iconic) {
      if (native && native->shown) SDL_HideWindow(native->window.get());
      if (native) native->shown = native->wantShown = native->minimized = false;
      return;
    }
    native = Ensure(hwnd);
    if (!native) return;
    if (iconic) {
      // With a task-bar entry the user restores it from there; without one it is hidden.
      if (native->shown && !(native->flags & SDL_WINDOW_SKIP_TASKBAR)) {
        SDL_MinimizeWindow(native->window.get());
        native->minimized = true;
      } else if (native->shown) {
        SDL_HideWindow(native->window.get());
        native->shown = false;
      }
      native->wantShown = false;
      return;
    }
    if (native->minimized) {
      SDL_RestoreWindow(native->window.get());
      native->minimized = false;
    }
    Place(*native, window.rect);
    native->wantShown = true;
  });
}

void SdlDisplay::ZOrderChanged() {
  OnDisplayThread([this] { Restack(); });
}

void SdlDisplay::WindowShapeChanged(HWND hwnd) {
  OnDisplayThread([this, hwnd] {
    Native* native = Find(hwnd);
    if (!native) return;
    user::TopLevelWindow window;
    if (!user::DescribeTopLevelWindow(hwnd, &window)) return;
    if (!native->shaped && !window.shape.empty()) {
      Recreate(*native, true);
      if (!native->window) m_windows.erase(hwnd);
    } else if (native->shaped) {
      ApplyShape(*native);
    }
  });
}

void SdlDisplay::WindowActivated(HWND hwnd) {
  OnDisplayThread([this, hwnd] {
    // The window manager gives the keyboard to the active window's native one.
    Native* native = hwnd ? Find(hwnd) : nullptr;
    if (!native || !native->shown) return;
    SDL_RaiseWindow(native->window.get());
    m_stack.erase(std::remove(m_stack.begin(), m_stack.end(), hwnd), m_stack.end());
    m_stack.push_back(hwnd);
    Restack();
  });
}

void SdlDisplay::SurfaceChanged(HWND hwnd, const RECT& rect) {
  OnDisplayThread([this, hwnd, rect] {
    if (Native* native = Find(hwnd)) Upload(*native, rect);
    ShowPending();
  });
}

void SdlDisplay::CursorChanged(HCURSOR cursor, bool visible) {
  OnDisplayThread([this, cursor, visible] { ApplyCursor(cursor, visible); });
}

void SdlDisplay::CursorMoved(POINT point) {
  OnDisplayThread([this, point] { SDL_WarpMouseGlobal(point.x + m_origin.x, point.y + m_origin.y); });
}

void SdlDisplay::CaptureChanged(HWND hwnd) {
  // While a window holds the capture the pointer is followed outside our windows too.
  OnDisplayThread([hwnd] { SDL_CaptureMouse(hwnd ? SDL_TRUE : SDL_FALSE); });
}

void SdlDisplay::PumpEvents() {
  if (!OnDisplayThread() || m_pumping) return;
  m_pumping = true;
  RunPending();
  SDL_Event event;
  while (SDL_PollEvent(&event)) Handle(event);
  if (m_leavePending) {
    m_leavePending = false;
    user::InjectMouseLeave();
  }
  ShowPending();
  m_pumping = false;
}

DWORD SdlDisplay::IdleWait(user::IdleWait kind) {
  IdleHandler handler;
  {
    std::lock_guard lock(m_lock);
    handler = m_idle;
  }
  DWORD wait = handler ? handler(kind) : INFINITE;
  if (OnDisplayThread()) {
    PumpEvents();
    wait = std::min(wait, kIdleSlice);
  }
  return wait;
}

void SdlDisplay::SetIdleHandler(IdleHandler handler) {
  std::lock_guard lock(m_lock);
  m_idle = std::move(handler);
}

std::shared_ptr<gdi::Surface> SdlDisplay::ReadBack(HWND hwnd) {
  Native* native = Find(hwnd);
  if (!native) return nullptr;
  SDL_Surface* source = SDL_GetWindowSurface(native->window.get());
  if (!source) return nullptr;
  auto copy = std::make_shared<gdi::Surface>(source->w, source->h);
  if (SDL_MUSTLOCK(source)) SDL_LockSurface(source);
  SDL_ConvertPixels(source->w, source->h, source->format->format, source->pixels, source->pitch,
                    SDL_PIXELFORMAT_RGB888, copy->TopRow(), static_cast<int>(copy->Stride()));
  if (SDL_MUSTLOCK(source)) SDL_UnlockSurface(source);
  return copy;
}

POINT SdlDisplay::DesktopPoint(const Native& native, int x, int y) const {
  return POINT{native.rect.left + x, native.rect.top + y};
}

void SdlDisplay::Handle(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT)
    HandleWindowEvent(event);
  else
    HandleInput(event);
}

void SdlDisplay::HandleWindowEvent(const SDL_Event& event) {
  Native* native = FindById(event.window.windowID);
  if (!native) return;
  const HWND hwnd = native->hwnd;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
      SDL_UpdateWindowSurface(native->window.get());
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      // The window manager sized it: its pixels are made anew and filled again.
      Upload(*native, RECT{0, 0, event.window.data1, event.window.data2});
      break;
    case SDL_WINDOWEVENT_MOVED: {
      // The window manager placed it elsewhere: the window follows, so that what the program
      // places beside it (menus, drop-downs) lands where the user sees it.
      const int x = event.window.data1 - m_origin.x;
      const int y = event.window.data2 - m_origin.y;
      if ((x != native->rect.left || y != native->rect.top) && !native->minimized &&
          GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
        const RECT rect = native->rect;
        native->rect = RECT{x, y, x + rect.right - rect.left, y + rect.bottom - rect.top};
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
      if (!IsIconic(hwnd)) PostMessage(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      if (IsIconic(hwnd)) PostMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case SDL_WINDOWEVENT_ENTER:
      m_leavePending = false;
      break;
    case SDL_WINDOWEVENT_LEAVE:
      m_leavePending = true;
      break;
    default:
      break;
  }
}

}  // namespace pictavo::display
