// Keyboard focus and the activation of top-level windows.
#include <algorithm>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/user/CrossProcessInternal.h"
#include "platform/user/Display.h"
#include "platform/user/Hooks.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/UserInternal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WindowTable.h"

namespace pictavo::user::detail {
namespace {

std::weak_ptr<MessageQueue> g_foreground;  // guarded by UserLock()

std::vector<HWND> ThreadTopLevelsLocked(const MessageQueue* queue) {
  std::vector<HWND> out;
  for (Window* w : DesktopLocked()->children)
    if (w->queue.get() == queue) out.push_back(w->handle);
  return out;
}

bool IsMinimized(HWND hwnd) {
  return IsIconic(hwnd) != FALSE;
}

// Makes `hwnd` (a top-level window of the calling thread, or null) the thread's active window,
// with the messages the windows losing and gaining activation receive.
HWND Activate(HWND hwnd, bool mouse) {
  auto queue = MessageQueue::CurrentShared();
  HWND old = nullptr;
  {
    std::lock_guard lock(UserLock());
    if (hwnd) {
      Window* w = GetLocked(hwnd);
      if (!w) return nullptr;
      if (w->queue != queue) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
      }
      w = TopLevelOf(w);
      hwnd = w->handle;
    }
    old = FindLocked(queue->active) ? queue->active : nullptr;
    if (old == hwnd && (!hwnd || g_foreground.lock() == queue)) return old;
  }
  if (hwnd && HasHooks(WH_CBT)) {
    CBTACTIVATESTRUCT info{mouse ? TRUE : FALSE, old};
    if (CallHooks(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&info)))
      return nullptr;
  }
  if (hwnd) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  std::shared_ptr<MessageQueue> previousForeground;
  std::vector<HWND> ourTopLevels;
  std::vector<HWND> theirTopLevels;
  bool appChanges = false;
  {
    std::lock_guard lock(UserLock());
    queue->active = hwnd;
    if (Window* w = FindLocked(hwnd)) {
      w->lastActivePopup = hwnd;
      for (Window* o = w->owner; o; o = o->owner) o->lastActivePopup = hwnd;
    }
    previousForeground = g_foreground.lock();
    if (hwnd && previousForeground != queue) {
      appChanges = true;
      g_foreground = queue;
      ourTopLevels = ThreadTopLevelsLocked(queue.get());
      if (previousForeground) theirTopLevels = ThreadTopLevelsLocked(previousForeground.get());
    } else if (!hwnd && previousForeground == queue) {
      appChanges = true;
      g_foreground.reset();
      ourTopLevels = ThreadTopLevelsLocked(queue.get());
    }
  }
  if (old && IsWindow(old)) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsMinimized(old)), reinterpret_cast<LPARAM>(hwnd));
  }
  if (appChanges) {
    const DWORD ours = queue->ThreadId();
    const DWORD theirs = previousForeground ? previousForeground->ThreadId() : 0;
    if (hwnd) {
      for (HWND h : theirTopLevels)
        if (IsWindow(h)) SendNotifyMessage(h, WM_ACTIVATEAPP, FALSE, static_cast<LPARAM>(ours));
      for (HWND h : ourTopLevels)
        if (IsWindow(h)) SendMessage(h, WM_ACTIVATEAPP, TRUE, static_cast<LPARAM>(theirs));
    } else {
      for (HWND h : ourTopLevels)
        if (IsWindow(h)) SendMessage(h, WM_ACTIVATEAPP, FALSE, 0);
    }
  }
  if (hwnd && IsWindow(hwnd)) {
    SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(mouse ? WA_CLICKACTIVE : WA_ACTIVE, IsMinimized(hwnd)),
                reinterpret_cast<LPARAM>(old));
  } else if (!hwnd) {
    SetFocus(nullptr);
  }
  if (auto display = CurrentDisplay()) display->WindowActivated(hwnd);
  return old;
}

// The window to activate when `leaving` stops being active: its owner when that can be, else
// the topmost visible, enabled top-level window of the thread.
HWND NextActiveCandidate(HWND leaving) {
  std::lock_guard lock(UserLock());
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  Window* w = FindLocked(leaving);
  auto usable = [&](Window* c) {
    return c && c->handle != leaving && !c->destroying && c->queue.get() == queue &&
           (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) && !(c->style & WS_MINIMIZE);
  };
  if (w && usable(w->owner)) return w->owner->handle;
  for (Window* c : DesktopLocked()->children) {
    if (!usable(c)) continue;
    // Not another window this one owns: those go with it.
    bool ownedByLeaving = false;
    for (Window* o = c->owner; o; o = o->owner)
      if (o == w) ownedByLeaving = true;
    if (!ownedByLeaving) return c->handle;
  }
  return nullptr;
}

}  // namespace

std::shared_ptr<MessageQueue> ForegroundQueueLocked() {
  return g_foreground.lock();
}

void ForgetWindowLocked(Window* w) {
  if (auto fg = g_foreground.lock(); fg && fg == w->queue && fg->active == w->handle) g_foreground.reset();
}

void ActivateByClick(HWND topLevel) {
  Activate(topLevel, true);
}

void AfterWindowHidden(HWND hwnd, bool wasActive) {
  // As on the platform, hiding a child leaves the focus where it is; a hidden active window
  // hands activation (and with it the focus) on.
  if (!wasActive) return;
  Activate(NextActiveCandidate(hwnd), false);
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

HWND SetFocus(HWND hwnd) {
  auto queue = MessageQueue::CurrentShared();
  HWND top = nullptr;
  HWND old = nullptr;
  {
    std::lock_guard lock(UserLock());
    if (hwnd) {
      Window* w = GetLocked(hwnd);
      if (!w) return nullptr;
      if (w->queue != queue) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
      }
      top = TopLevelOf(w)->handle;
    }
    old = FindLocked(queue->focus) ? queue->focus : nullptr;
  }
  if (old == hwnd) return old;
  if (HasHooks(WH_CBT) &&
      CallHooks(WH_CBT, HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(old)))
    return nullptr;
  if (top && GetActiveWindow() != top) {
    Activate(top, false);
    if (!IsWindow(hwnd)) return nullptr;
  }
  {
    std::lock_guard lock(UserLock());
    old = FindLocked(queue->focus) ? queue->focus : nullptr;
    if (old == hwnd) return old;
    queue->focus = hwnd;
  }
  if (old) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && GetFocus() == hwnd) SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  if (!queue) return nullptr;
  std::lock_guard lock(UserLock());
  return FindLocked(queue->focus) ? queue->focus : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  return Activate(hwnd, false);
}

HWND GetActiveWindow() {
  MessageQueue* queue = MessageQueue::CurrentIfAny();
  if (!queue) return nullptr;
  std::lock_guard lock(UserLock());
  return FindLocked(queue->active) ? queue->active : nullptr;
}

BOOL SetForegroundWindow(HWND hwnd) {
  if (pictavo::user::IsForeignWindowHandle(hwnd)) return foreign::SetForegroundWindow(hwnd);
  std::shared_ptr<MessageQueue> queue;
  {
    std::lock_guard lock(UserLock());
    Window* w = GetLocked(hwnd);
    if (!w || w->isDesktop) return FALSE;
    queue = w->queue;
  }
  if (queue->IsCurrent()) return Activate(hwnd, false) || GetActiveWindow() == GetAncestor(hwnd, GA_ROOT);
  // The window's own thread activates it when it next looks at its queue.
  return RunOnThread(
             *queue, [hwnd] { Activate(hwnd, false); }, false)
             ? TRUE
             : FALSE;
}

HWND GetForegroundWindow() {
  std::lock_guard lock(UserLock());
  auto queue = g_foreground.lock();
  if (!queue) return nullptr;
  return FindLocked(queue->active) ? queue->active : nullptr;
}
