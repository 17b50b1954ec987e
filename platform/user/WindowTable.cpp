#include "platform/user/WindowTable.h"

#include <unistd.h>

#include <algorithm>
#include <unordered_map>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Styles.h"
#include "platform/user/ClassTable.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserInternal.h"

namespace pictavo::user::detail {
namespace {

// Handle values: this process's tag in bits 20..30 and a serial number below it. Serials run up
// to 2^20 before they wrap, skipping values still in use, so a stale handle is not soon reused.
constexpr uint32_t kSerialBits = 20;
constexpr uint32_t kSerialMask = (1u << kSerialBits) - 1;

uint32_t ProcessTag() {
  static const uint32_t tag = static_cast<uint32_t>(getpid()) % 2047 + 1;
  return tag;
}

uint32_t ValueOf(HWND hwnd) {
  const auto value = reinterpret_cast<uintptr_t>(hwnd);
  return value > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(value);
}

class Table {
 public:
  Window* Find(HWND hwnd) const {
    auto it = m_windows.find(ValueOf(hwnd));
    return it == m_windows.end() ? nullptr : it->second.get();
  }

  Window* Insert(std::unique_ptr<Window> window) {
    uint32_t value = 0;
    do {
      m_serial = (m_serial + 1) & kSerialMask;
      if (m_serial == 0) m_serial = 1;
      value = (ProcessTag() << kSerialBits) | m_serial;
    } while (m_windows.count(value));
    window->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
    Window* raw = window.get();
    m_windows.emplace(value, std::move(window));
    return raw;
  }

  std::unique_ptr<Window> Remove(HWND hwnd) {
    auto it = m_windows.find(ValueOf(hwnd));
    if (it == m_windows.end()) return nullptr;
    auto window = std::move(it->second);
    m_windows.erase(it);
    return window;
  }

  std::vector<Window*> All() const {
    std::vector<Window*> out;
    out.reserve(m_windows.size());
    for (auto& [value, window] : m_windows) out.push_back(window.get());
    return out;
  }

  Window* Desktop() {
    if (!m_desktop) {
      auto desktop = std::make_unique<Window>();
      desktop->isDesktop = true;
      desktop->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
      desktop->proc = nullptr;  // DefWindowProc
      desktop->text = "";
      const SIZE size = DesktopSize();
      desktop->rect = RECT{0, 0, size.cx, size.cy};
      desktop->client = desktop->rect;
      m_desktop = Insert(std::move(desktop));
    }
    return m_desktop;
  }

 private:
  std::unordered_map<uint32_t, std::unique_ptr<Window>> m_windows;
  uint32_t m_serial = 0;
  Window* m_desktop = nullptr;
};

Table& TheTable() {
  static Table* table = new Table;  // outlives the static destructors of callers
  return *table;
}

}  // namespace

std::mutex& UserLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}

Window* FindLocked(HWND hwnd) {
  return hwnd ? TheTable().Find(hwnd) : nullptr;
}

Window* GetLocked(HWND hwnd) {
  Window* w = FindLocked(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

Window* DesktopLocked() {
  return TheTable().Desktop();
}

Window* InsertLocked(std::unique_ptr<Window> window) {
  TheTable().Desktop();  // the desktop takes the first handle
  return TheTable().Insert(std::move(window));
}

std::unique_ptr<Window> RemoveLocked(HWND hwnd) {
  return TheTable().Remove(hwnd);
}

std::vector<Window*> AllWindowsLocked() {
  return TheTable().All();
}

bool IsTopLevel(const Window* w) {
  return w && w->parent && w->parent->isDesktop;
}

Window* TopLevelOf(Window* w) {
  while (w && w->parent && !w->parent->isDesktop) w = w->parent;
  return w;
}

bool IsAncestor(const Window* ancestor, const Window* w) {
  for (const Window* p = w ? w->parent : nullptr; p; p = p->parent)
    if (p == ancestor) return true;
  return false;
}

bool IsVisibleLocked(const Window* w) {
  for (; w && !w->isDesktop; w = w->parent)
    if (!(w->style & WS_VISIBLE)) return false;
  return w != nullptr;
}

bool IsEnabledLocked(const Window* w) {
  return w && !(w->style & WS_DISABLED);
}

POINT ClientOriginLocked(const Window* w) {
  POINT origin{0, 0};
  for (; w && !w->isDesktop; w = w->parent) {
    origin.x += w->client.left;
    origin.y += w->client.top;
  }
  return origin;
}

RECT WindowRectScreenLocked(const Window* w) {
  if (!w || w->isDesktop) return w ? w->rect : RECT{};
  const POINT origin = ClientOriginLocked(w->parent);
  return Offset(w->rect, origin.x, origin.y);
}

RECT ClientRectScreenLocked(const Window* w) {
  if (!w || w->isDesktop) return w ? w->client : RECT{};
  const POINT origin = ClientOriginLocked(w->parent);
  return Offset(w->client, origin.x, origin.y);
}

RECT RectInTopLevelLocked(const Window* w) {
  const Window* top = TopLevelOf(const_cast<Window*>(w));
  const RECT screen = WindowRectScreenLocked(w);
  const RECT topScreen = WindowRectScreenLocked(top);
  return Offset(screen, -topScreen.left, -topScreen.top);
}

POINT ClientOriginInTopLevelLocked(const Window* w) {
  const Window* top = TopLevelOf(const_cast<Window*>(w));
  const RECT client = ClientRectScreenLocked(w);
  const RECT topScreen = WindowRectScreenLocked(top);
  return POINT{client.left - topScreen.left, client.top - topScreen.top};
}

void UnlinkLocked(Window* w) {
  if (!w->parent) return;
  auto& siblings = w->parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
  w->parent = nullptr;
}

void LinkLocked(Window* w, Window* parent, HWND after) {
  auto& siblings = parent->children;
  w->parent = parent;
  const bool topmost = (w->exStyle & WS_EX_TOPMOST) && parent->isDesktop;
  auto isTopmost = [&](const Window* s) { return parent->isDesktop && (s->exStyle & WS_EX_TOPMOST); };
  // Topmost windows stay above the others: the band a window may be placed in.
  auto bandBegin = siblings.begin();
  auto bandEnd = siblings.end();
  if (parent->isDesktop) {
    auto firstNormal =
        std::find_if(siblings.begin(), siblings.end(), [&](Window* s) { return !isTopmost(s); });
    if (topmost)
      bandEnd = firstNormal;
    else
      bandBegin = firstNormal;
  }
  auto position = bandBegin;
  if (after == reinterpret_cast<HWND>(1)) {  // HWND_BOTTOM
    position = bandEnd;
  } else if (after) {
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](Window* s) { return s->handle == after; });
    if (it != siblings.end()) position = std::clamp(it + 1, bandBegin, bandEnd);
  }
  siblings.insert(position, w);
}

void CollectLocked(Window* root, std::vector<Window*>& out) {
  for (Window* child : root->children) {
    out.push_back(child);
    CollectLocked(child, out);
  }
}

bool IsOwnThread(const Window* w) {
  if (!w || !w->queue) return w && w->isDesktop;
  return w->queue->IsCurrent();
}

}  // namespace pictavo::user::detail

namespace pictavo::user {
bool IsForeignWindowHandle(HWND hwnd) {
  const uint32_t tag = detail::ValueOf(hwnd) >> detail::kSerialBits;
  return tag >= 1 && tag <= 2047 && tag != detail::ProcessTag();
}
}  // namespace pictavo::user
