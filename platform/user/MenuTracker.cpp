// The menu loop: a modal loop on the owner's thread that holds the mouse capture, takes the
// keyboard and mouse input for the open popups and the menu bar, and dispatches everything else.
// TrackPopupMenu runs it for a popup; the menu bar runs it when the user clicks it or presses Alt.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/VirtualKeys.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/Hooks.h"
#include "platform/user/Input.h"
#include "platform/user/Menu.h"
#include "platform/user/MenuDraw.h"
#include "platform/user/MenuInternal.h"
#include "platform/user/MenuModel.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/Paint.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"

namespace pictavo::user::menu {
namespace {

constexpr UINT_PTR kHoverTimer = 0x4D4E;
constexpr UINT kHoverDelay = 400;  // before a submenu opens (or closes) under a resting pointer
constexpr int kSubmenuOverlap = 2;

struct ItemFacts {
  bool valid = false;
  UINT id = 0;
  UINT flags = 0;  // MF_ flags
  HMENU subMenu = nullptr;
  bool separator = false;
  bool disabled = false;
};

ItemFacts FactsOf(HMENU menu, int position) {
  std::lock_guard lock(MenuLock());
  const Menu* m = FindLocked(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return {};
  const Item& item = m->items[static_cast<size_t>(position)];
  ItemFacts facts;
  facts.valid = true;
  facts.id = item.id;
  facts.flags = item.Flags();
  facts.subMenu = FindLocked(item.subMenu) ? item.subMenu : nullptr;
  facts.separator = item.IsSeparator();
  facts.disabled = item.IsDisabled();
  return facts;
}

int ItemCount(HMENU menu) {
  std::lock_guard lock(MenuLock());
  const Menu* m = FindLocked(menu);
  return m ? static_cast<int>(m->items.size()) : 0;
}

void SetHilite(HMENU menu, int position, bool on) {
  std::lock_guard lock(MenuLock());
  Menu* m = FindLocked(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return;
  UINT& state = m->items[static_cast<size_t>(position)].state;
  state = on ? (state | MF_HILITE) : (state & ~static_cast<UINT>(MF_HILITE));
}

SIZE Desktop() {
  return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool Inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Keeps a popup of `size` whose preferred top-left corner is `at` on the desktop: past the right
// or bottom edge it goes to the other side of `flipX` / `flipY` (its right or bottom edge there).
RECT KeepOnDesktop(POINT at, SIZE size, int flipX, int flipY) {
  const SIZE desktop = Desktop();
  int x = at.x;
  int y = at.y;
  if (x + size.cx > desktop.cx) x = flipX - size.cx;
  if (y + size.cy > desktop.cy) y = flipY - size.cy;
  x = std::max(0, std::min<int>(x, desktop.cx - size.cx));
  y = std::max(0, std::min<int>(y, desktop.cy - size.cy));
  return RECT{x, y, x + size.cx, y + size.cy};
}

class Tracker;
thread_local std::vector<Tracker*> t_trackers;  // this thread's menu loops, innermost last

class Tracker {
 public:
  Tracker(HWND owner, UINT flags, bool bar)
      : m_owner(owner), m_flags(flags), m_bar(bar), m_notify(bar || !(flags & TPM_NONOTIFY)) {}
  ~Tracker() { Finish(); }
  Tracker(const Tracker&) = delete;
  Tracker& operator=(const Tracker&) = delete;

  // TrackPopupMenu: shows the popup; false when there is nothing to show.
  bool StartPopup(HMENU menu, int x, int y, const RECT* exclude) {
    Enter(menu);
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
    if (!Alive() || !IsMenu(menu)) return false;
    auto level = std::make_unique<Level>();
    level->menu = menu;
    level->owner = m_owner;
    // Opened by a press still held: its release is not a choice unless the pointer has moved
    // since, or a popup that opens under the pointer would run its item at once.
    m_openingPress = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    const DWORD pos = GetMessagePos();
    m_pressPoint = POINT{static_cast<int16_t>(LOWORD(pos)), static_cast<int16_t>(HIWORD(pos))};
    return ShowLevel(
        std::move(level), [&](SIZE size) { return RootPlacement(x, y, size, exclude); }, false);
  }

  // The menu bar, entered by the keyboard (first item hot), by Alt and a mnemonic, or by a press
  // on an item.
  bool StartBar(HMENU bar, BarStart how, char32_t character, POINT screen) {
    Enter(bar);
    if (!Alive()) return false;
    auto level = std::make_unique<Level>();
    level->menu = bar;
    level->owner = m_owner;
    m_levels.push_back(std::move(level));
    switch (how) {
      case BarStart::kKeyboard:
        Select(0, ItemCount(bar) > 0 ? 0 : -1, false);
        break;
      case BarStart::kMnemonic:
        OnChar(character);
        break;
      case BarStart::kMouse: {
        const int item = BarItemAt(m_owner, screen);
        if (item < 0) break;
        Select(0, item, true);
        if (FactsOf(bar, item).subMenu) OpenBarPopup(item, false);
        break;
      }
    }
    return Alive() && m_levels[0]->selected >= 0;
  }

  void Run() {
    bool idleNotified = false;
    while (Alive()) {
      if (GetCapture() != m_owner) {
        // Someone else took the mouse: the menu gives up, as on a click elsewhere.
        Cancel();
        break;
      }
      MSG msg;
      if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!idleNotified) {
          idleNotified = true;
          Notify(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(Deepest().window));
          continue;
        }
        const BOOL got = GetMessage(&msg, nullptr, 0, 0);
        if (got == -1) {
          Cancel();
          break;
        }
        if (!got) msg.message = WM_QUIT;
      }
      idleNotified = false;
      if (msg.message == WM_QUIT) {
        // The application's own loop ends too: the quit request stays for it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        Cancel();
        break;
      }
      if (CallMsgFilter(&msg, MSGF_MENU)) continue;
      Handle(msg);
    }
  }

  // Ends the loop without a command (EndMenu, a click elsewhere, Escape).
  void Cancel() { m_done = true; }

  bool Chosen() const { return m_chosen; }
  UINT Command() const { return m_command; }
  HWND Owner() const { return m_owner; }

 private:
  bool Alive() const {
    if (m_done || !IsWindow(m_owner)) return false;
    return m_levels.empty() || IsMenu(m_levels[0]->menu);
  }

  void Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_notify && IsWindow(m_owner)) SendMessage(m_owner, message, wParam, lParam);
  }

  void Enter(HMENU root) {
    m_entered = true;
    t_trackers.push_back(this);
    Notify(WM_ENTERMENULOOP, m_bar ? FALSE : TRUE, 0);
    m_previousCapture = GetCapture();
    SetCapture(m_owner);
    Notify(WM_INITMENU, reinterpret_cast<WPARAM>(root), 0);
  }

  void Finish() {
    if (!m_entered) return;
    m_entered = false;
    KillHover();
    CloseFrom(0);
    if (GetCapture() == m_owner) {
      if (m_previousCapture && m_previousCapture != m_owner && IsWindow(m_previousCapture))
        SetCapture(m_previousCapture);
      else
        ReleaseCapture();
    }
    Notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Notify(WM_EXITMENULOOP, m_bar ? FALSE : TRUE, 0);
    const auto it = std::find(t_trackers.begin(), t_trackers.end(), this);
    if (it != t_trackers.end()) t_trackers.erase(it);
  }

  Level& Deepest() { return *m_levels.back(); }
  size_t DeepestIndex() const { return m_levels.size() - 1; }
  bool IsBarLevel(size_t index) const { return m_bar && index == 0; }

  // Placement of TrackPopupMenu's popup: aligned to the point, then kept on the desktop by
  // going to the other side of the point or of the rectangle to keep clear.
  RECT RootPlacement(int x, int y, SIZE size, const RECT* exclude) const {
    POINT at{x, y};
    if (m_flags & TPM_RIGHTALIGN)
      at.x = x - size.cx;
    else if (m_flags & TPM_CENTERALIGN)
      at.x = x - size.cx / 2;
    if (m_flags & TPM_BOTTOMALIGN)
      at.y = y - size.cy;
    else if (m_flags & TPM_VCENTERALIGN)
      at.y = y - size.cy / 2;
    const bool vertical = (m_flags & TPM_VERTICAL) != 0;
    const int flipX = exclude && !vertical ? exclude->left : x;
    const int flipY = exclude && vertical ? exclude->top : y;
    RECT r = KeepOnDesktop(at, size, flipX, flipY);
    if (exclude && Overlap(r, *exclude)) {
      const SIZE desktop = Desktop();
      if (vertical) {
        const int below = exclude->bottom;
        const int top = below + size.cy <= desktop.cy ? below : exclude->top - size.cy;
        r = RECT{r.left, top, r.right, top + size.cy};
      } else {
        const int right = exclude->right;
        const int left = right + size.cx <= desktop.cx ? right : exclude->left - size.cx;
        r = RECT{left, r.top, left + size.cx, r.bottom};
      }
    }
    return r;
  }

  // Lays a new level out, places and shows it; false when its menu is empty or gone.
  template <class Place>
  bool ShowLevel(std::unique_ptr<Level> level, Place place, bool selectFirst) {
    const SIZE size = LayoutPopup(level->menu, m_owner);
    if (!Alive() || size.cx <= 0 || size.cy <= 0) return false;
    level->screen = place(size);
    Level* raw = level.get();
    m_levels.push_back(std::move(level));
    if (!ShowPopupWindow(raw)) {
      m_levels.pop_back();
      return false;
    }
    if (selectFirst) Select(DeepestIndex(), Step(DeepestIndex(), -1, +1), false);
    return true;
  }

  // Opens the popup of item `position` of level `parent`, sending WM_INITMENUPOPUP first.
  bool OpenSubmenu(size_t parent, int position, bool selectFirst) {
    const ItemFacts facts = FactsOf(m_levels[parent]->menu, position);
    if (!facts.subMenu || facts.disabled) return false;
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(facts.subMenu), MAKELPARAM(position, FALSE));
    if (!Alive() || parent >= m_levels.size() || !IsMenu(facts.subMenu) || ItemCount(facts.subMenu) == 0)
      return false;
    auto level = std::make_unique<Level>();
    level->menu = facts.subMenu;
    level->owner = m_owner;
    level->indexInParent = position;
    if (IsBarLevel(parent)) {
      const RECT item = BarItemScreenRect(m_owner, position);
      return ShowLevel(
          std::move(level),
          [&](SIZE size) {
            return KeepOnDesktop(POINT{item.left, item.bottom}, size, item.right, item.top);
          },
          selectFirst);
    }
    const Level& from = *m_levels[parent];
    RECT item{};
    GetMenuItemRect(nullptr, from.menu, static_cast<UINT>(position), &item);
    return ShowLevel(
        std::move(level),
        [&](SIZE size) {
          return KeepOnDesktop(POINT{from.screen.right - kSubmenuOverlap, item.top - kPopupFrame}, size,
                               from.screen.left + kSubmenuOverlap, item.bottom + kPopupFrame);
        },
        selectFirst);
  }

  // The bar item's popup, in place of any popup open now.
  void OpenBarPopup(int position, bool selectFirst) {
    CloseFrom(1);
    if (m_levels[0]->selected != position) Select(0, position, false);
    SetBarState(position, true);
    if (!OpenSubmenu(0, position, selectFirst) && Alive() && m_levels.size() == 1)
      SetBarState(position, false);
  }

  void SetBarState(int hot, bool pressed) {
    if (!m_bar || m_levels.empty()) return;
    {
      std::lock_guard lock(MenuLock());
      Menu* m = FindLocked(m_levels[0]->menu);
      if (!m) return;
      m->hot = hot;
      m->pressed = pressed;
    }
    RedrawBar(m_owner);
  }

  // Closes the levels from `first` on, the deepest first.
  void CloseFrom(size_t first) {
    if (m_timerLevel >= first) KillHover();
    while (m_levels.size() > first) {
      std::unique_ptr<Level> level = std::move(m_levels.back());
      m_levels.pop_back();
      SetHilite(level->menu, level->selected, false);
      if (!level->window) {
        SetBarState(-1, false);
        continue;
      }
      {
        std::lock_guard lock(MenuLock());
        if (Menu* m = FindLocked(level->menu); m && m->popupWindow == level->window) m->popupWindow = nullptr;
      }
      SetWindowLongPtr(level->window, GWLP_USERDATA, 0);
      DestroyWindow(level->window);
      Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level->menu), 0);
    }
    if (m_bar && m_levels.size() == 1) SetBarState(m_levels[0]->selected, false);
  }

  void Select(size_t index, int position, bool byMouse) {
    if (index >= m_levels.size()) return;
    Level& level = *m_levels[index];
    if (level.selected == position) return;
    const int old = level.selected;
    level.selected = position;
    SetHilite(level.menu, old, false);
    SetHilite(level.menu, position, true);
    if (level.window) {
      HDC dc = GetDC(level.window);
      if (old >= 0) DrawPopupItem(dc, level.menu, old, false, m_owner);
      if (position >= 0) DrawPopupItem(dc, level.menu, position, true, m_owner);
      ReleaseDC(level.window, dc);
    } else {
      SetBarState(position, m_levels.size() > 1);
    }
    if (position < 0) return;
    const ItemFacts facts = FactsOf(level.menu, position);
    const UINT flags = (facts.flags | MF_HILITE | (byMouse ? MF_MOUSESELECT : 0)) & 0xFFFF;
    const UINT id = facts.subMenu ? static_cast<UINT>(position) : facts.id;
    Notify(WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(level.menu));
  }

  // The next item from `from` in direction `dir` that can be selected (separators are passed
  // over), wrapping around; -1 when there is none.
  int Step(size_t index, int from, int dir) const {
    const HMENU menu = m_levels[index]->menu;
    const int count = ItemCount(menu);
    if (count <= 0) return -1;
    int position = from;
    for (int i = 0; i < count; ++i) {
      position = position < 0 ? (dir > 0 ? 0 : count - 1) : (position + dir + count) % count;
      if (!FactsOf(menu, position).separator) return position;
    }
    return -1;
  }

  // Enter, a mnemonic or a click on an item: opens its popup or chooses its command.
  void Activate(size_t index, int position, bool byKeyboard) {
    const ItemFacts facts = FactsOf(m_levels[index]->menu, position);
    if (!facts.valid || facts.separator) return;
    if (facts.subMenu) {
      if (IsBarLevel(index)) {
        OpenBarPopup(position, byKeyboard);
      } else if (index + 1 < m_levels.size() && m_levels[index + 1]->indexInParent == position) {
        if (byKeyboard && m_levels[index + 1]->selected < 0)
          Select(index + 1, Step(index + 1, -1, +1), false);
      } else {
        CloseFrom(index + 1);
        OpenSubmenu(index, position, byKeyboard);
      }
      return;
    }
    if (facts.disabled) return;
    m_command = facts.id;
    m_chosen = true;
    m_done = true;
  }

  void Handle(MSG& msg) {
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        OnKey(static_cast<UINT>(msg.wParam), (msg.lParam & (1 << 30)) != 0);
        if (Alive()) TranslateMessage(&msg);
        return;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        return;
      case WM_CHAR:
      case WM_SYSCHAR:
        if (msg.wParam >= 0x20 && msg.wParam != 0x7F) OnChar(static_cast<char32_t>(msg.wParam));
        return;
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        OnMouseMove(msg.pt);
        return;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
      case WM_NCRBUTTONDOWN:
      case WM_NCRBUTTONDBLCLK:
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK:
      case WM_NCMBUTTONDOWN:
      case WM_NCMBUTTONDBLCLK:
        OnButtonDown(msg.pt);
        return;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        OnButtonUp(msg.pt, false);
        return;
      case WM_RBUTTONUP:
      case WM_NCRBUTTONUP:
        OnButtonUp(msg.pt, true);
        return;
      case WM_MBUTTONUP:
      case WM_NCMBUTTONUP:
      case WM_MOUSEWHEEL:
      case WM_MOUSEHWHEEL:
        return;
      case WM_TIMER:
        if (msg.wParam == kHoverTimer && m_timerWindow && msg.hwnd == m_timerWindow) {
          OnHoverTimer();
          return;
        }
        break;
      default:
        break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }

  void OnKey(UINT key, bool repeat) {
    const size_t deepest = DeepestIndex();
    Level& level = Deepest();
    const bool onBar = IsBarLevel(deepest);
    switch (key) {
      case VK_MENU:
      case VK_F10:
        if (!repeat) Cancel();
        return;
      case VK_ESCAPE:
        if (onBar || deepest == 0) {
          Cancel();
        } else {
          CloseFrom(deepest);
        }
        return;
      case VK_UP:
      case VK_DOWN: {
        const int dir = key == VK_DOWN ? +1 : -1;
        if (onBar) {
          if (level.selected >= 0 && FactsOf(level.menu, level.selected).subMenu) {
            OpenBarPopup(level.selected, false);
            if (m_levels.size() > 1) Select(1, Step(1, -1, dir), false);
          }
          return;
        }
        Select(deepest, Step(deepest, level.selected, dir), false);
        return;
      }
      case VK_HOME:
      case VK_END:
        if (!onBar) Select(deepest, Step(deepest, -1, key == VK_HOME ? +1 : -1), false);
        return;
      case VK_RIGHT:
        if (!onBar && level.selected >= 0 && FactsOf(level.menu, level.selected).subMenu) {
          Activate(deepest, level.selected, true);
          return;
        }
        if (m_bar) MoveOnBar(+1);
        return;
      case VK_LEFT:
        if (deepest >= 2 || (!m_bar && deepest >= 1)) {
          CloseFrom(deepest);
          return;
        }
        if (m_bar) MoveOnBar(-1);
        return;
      case VK_RETURN:
        if (level.selected >= 0) Activate(deepest, level.selected, true);
        return;
      default:
        return;
    }
  }

  // Left and Right along the bar: the neighbour becomes hot, with its popup open when one was.
  void MoveOnBar(int dir) {
    const bool wasOpen = m_levels.size() > 1;
    const int next = Step(0, m_levels[0]->selected, dir);
    if (next < 0) return;
    CloseFrom(1);
    Select(0, next, false);
    if (wasOpen && FactsOf(m_levels[0]->menu, next).subMenu) OpenBarPopup(next, true);
  }

  void OnChar(char32_t character) {
    const size_t deepest = DeepestIndex();
    const HMENU menu = m_levels[deepest]->menu;
    const char32_t key = unicode::FoldCase(character);
    std::vector<int> matches;
    {
      std::lock_guard lock(MenuLock());
      if (const Menu* m = FindLocked(menu))
        for (size_t i = 0; i < m->items.size(); ++i) {
          const Item& item = m->items[i];
          if (!item.IsOwnerDraw() && !item.IsSeparator() && MnemonicOf(item.text) == key)
            matches.push_back(static_cast<int>(i));
        }
    }
    if (matches.size() == 1) {
      Select(deepest, matches[0], false);
      Activate(deepest, matches[0], true);
      return;
    }
    if (matches.size() > 1) {
      // Several items share the letter: each press moves to the next of them.
      const int current = m_levels[deepest]->selected;
      const auto next = std::upper_bound(matches.begin(), matches.end(), current);
      Select(deepest, next == matches.end() ? matches.front() : *next, false);
      return;
    }
    const WORD flags = m_levels[deepest]->window ? MF_POPUP : 0;
    const LRESULT answer = SendMessage(m_owner, WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(character), flags),
                                       reinterpret_cast<LPARAM>(menu));
    if (!Alive() || deepest >= m_levels.size()) return;
    const int position = LOWORD(answer);
    switch (HIWORD(answer)) {
      case MNC_EXECUTE:
        if (position < ItemCount(menu)) {
          Select(deepest, position, false);
          Activate(deepest, position, true);
        }
        return;
      case MNC_SELECT:
        if (position < ItemCount(menu)) Select(deepest, position, false);
        return;
      case MNC_CLOSE:
        Cancel();
        return;
      default:
        MessageBeep(0);
        // Alt and a letter no bar item has ends the menu at once.
        if (IsBarLevel(deepest) && m_levels[0]->selected < 0) Cancel();
        return;
    }
  }

  struct Hit {
    int level = -1;
    int item = -1;
  };

  Hit HitAt(POINT screen) const {
    for (size_t i = m_levels.size(); i-- > 0;) {
      const Level& level = *m_levels[i];
      if (level.window) {
        if (!Inside(level.screen, screen)) continue;
        const POINT client{screen.x - level.screen.left, screen.y - level.screen.top};
        return Hit{static_cast<int>(i), PopupItemAt(level.menu, client)};
      }
      if (Inside(BarScreenRect(m_owner), screen)) return Hit{static_cast<int>(i), BarItemAt(m_owner, screen)};
    }
    return Hit{};
  }

  void OnMouseMove(POINT screen) {
    if (screen.x != m_pressPoint.x || screen.y != m_pressPoint.y) m_openingPress = false;
    const Hit hit = HitAt(screen);
    if (hit.level < 0) {
      // Off the menus: the deepest popup drops a selection that opens nothing.
      const size_t deepest = DeepestIndex();
      if (!IsBarLevel(deepest)) Select(deepest, -1, true);
      return;
    }
    const size_t index = static_cast<size_t>(hit.level);
    if (IsBarLevel(index)) {
      if (hit.item < 0 || hit.item == m_levels[0]->selected) return;
      const bool open = m_levels.size() > 1;
      CloseFrom(1);
      Select(0, hit.item, true);
      if (open && FactsOf(m_levels[0]->menu, hit.item).subMenu) OpenBarPopup(hit.item, false);
      return;
    }
    // The pointer is in this popup: the levels above it show the items that lead here.
    for (size_t k = 1; k <= index; ++k)
      if (!IsBarLevel(k - 1)) Select(k - 1, m_levels[k]->indexInParent, true);
    if (m_timerLevel < index) KillHover();
    Level& level = *m_levels[index];
    const bool childOpen = index + 1 < m_levels.size();
    if (hit.item == level.selected) {
      if (childOpen) KillHover();
      return;
    }
    if (hit.item < 0 && childOpen) return;
    Select(index, hit.item, true);
    if (childOpen || (hit.item >= 0 && FactsOf(level.menu, hit.item).subMenu)) StartHover(index);
  }

  void OnButtonDown(POINT screen) {
    m_openingPress = false;
    const Hit hit = HitAt(screen);
    const size_t index = static_cast<size_t>(hit.level);
    // A press off the menus, or on the bar beside its items, ends the menu.
    if (hit.level < 0 || (hit.item < 0 && IsBarLevel(index))) {
      Cancel();
      return;
    }
    if (hit.item < 0) return;
    if (IsBarLevel(index)) {
      if (hit.item == m_levels[0]->selected && m_levels.size() > 1) {
        // A press on the item whose popup is open closes the menu.
        Cancel();
        return;
      }
      CloseFrom(1);
      Select(0, hit.item, true);
      if (FactsOf(m_levels[0]->menu, hit.item).subMenu) OpenBarPopup(hit.item, false);
      return;
    }
    Select(index, hit.item, true);
    if (FactsOf(m_levels[index]->menu, hit.item).subMenu) Activate(index, hit.item, false);
  }

  void OnButtonUp(POINT screen, bool right) {
    if (!right && m_openingPress) {
      m_openingPress = false;
      if (screen.x == m_pressPoint.x && screen.y == m_pressPoint.y) return;
    }
    const Hit hit = HitAt(screen);
    if (hit.level < 0 || hit.item < 0) return;
    const size_t index = static_cast<size_t>(hit.level);
    if (IsBarLevel(index)) {
      // Releasing on a bar item that opens no popup chooses it.
      if (!right && hit.item == m_levels[0]->selected && !FactsOf(m_levels[0]->menu, hit.item).subMenu)
        Activate(0, hit.item, false);
      return;
    }
    if (right && !m_bar && !(m_flags & TPM_RIGHTBUTTON)) return;
    if (right && m_bar) return;
    Activate(index, hit.item, false);
  }

  void StartHover(size_t index) {
    KillHover();
    const HWND window = m_levels[index]->window;
    if (!window) return;
    m_timerLevel = index;
    m_timerWindow = window;
    SetTimer(window, kHoverTimer, kHoverDelay, nullptr);
  }

  void KillHover() {
    if (m_timerWindow && IsWindow(m_timerWindow)) KillTimer(m_timerWindow, kHoverTimer);
    m_timerWindow = nullptr;
    m_timerLevel = SIZE_MAX;
  }

  // The pointer rested on an item: the popup of the item it left closes and the item's opens.
  void OnHoverTimer() {
    const size_t index = m_timerLevel;
    KillHover();
    if (index >= m_levels.size()) return;
    const int selected = m_levels[index]->selected;
    if (index + 1 < m_levels.size() && m_levels[index + 1]->indexInParent != selected) CloseFrom(index + 1);
    if (selected >= 0 && index + 1 == m_levels.size() && FactsOf(m_levels[index]->menu, selected).subMenu)
      OpenSubmenu(index, selected, false);
  }

  const HWND m_owner;
  const UINT m_flags;
  const bool m_bar;
  const bool m_notify;
  std::vector<std::unique_ptr<Level>> m_levels;  // the bar or the root popup first
  bool m_entered = false;
  bool m_done = false;
  bool m_chosen = false;
  UINT m_command = 0;
  HWND m_previousCapture = nullptr;
  HWND m_timerWindow = nullptr;
  size_t m_timerLevel = SIZE_MAX;
  bool m_openingPress = false;  // the left button that opened the popup is still down
  POINT m_pressPoint{};         // where it was pressed
};

bool CheckOwner(HWND owner) {
  if (!IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return false;
  }
  return true;
}

}  // namespace

void TrackMenuBar(HWND hwnd, HMENU bar, BarStart how, char32_t character, POINT screen) {
  if (!t_trackers.empty() || !CheckOwner(hwnd) || !IsMenu(bar)) return;
  UINT command = 0;
  bool chosen = false;
  {
    Tracker tracker(hwnd, 0, true);
    if (tracker.StartBar(bar, how, character, screen)) tracker.Run();
    chosen = tracker.Chosen();
    command = tracker.Command();
  }
  if (chosen && IsWindow(hwnd)) PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool IsTracking() {
  return !t_trackers.empty();
}

}  // namespace pictavo::user::menu

using namespace pictavo::user::menu;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
  if (!IsMenu(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (!CheckOwner(owner)) return FALSE;
  if (!t_trackers.empty() && !(flags & TPM_RECURSE)) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return FALSE;
  }
  const RECT* exclude = params && params->cbSize >= sizeof(TPMPARAMS) ? &params->rcExclude : nullptr;
  bool shown = false;
  bool chosen = false;
  UINT command = 0;
  {
    Tracker tracker(owner, flags, false);
    shown = tracker.StartPopup(menu, x, y, exclude);
    if (shown) tracker.Run();
    chosen = tracker.Chosen();
    command = tracker.Command();
  }
  if (flags & TPM_RETURNCMD) return chosen ? static_cast<BOOL>(command) : 0;
  if (chosen && !(flags & TPM_NONOTIFY) && IsWindow(owner))
    PostMessage(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return shown ? TRUE : FALSE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  if (t_trackers.empty()) return FALSE;
  // The loop may be waiting for a message: one wakes it to see it is over.
  PostMessage(t_trackers.back()->Owner(), WM_NULL, 0, 0);
  for (auto* tracker : t_trackers) tracker->Cancel();
  return TRUE;
}
