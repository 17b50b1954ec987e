// Thread hooks: chains of procedures that see messages before their windows do.
#include "platform/user/Hooks.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Thread.h"
#include "platform/user/UserInternal.h"

namespace pictavo::user::detail {
namespace {

struct Hook {
  HHOOK handle = nullptr;
  int id = 0;
  HOOKPROC proc = nullptr;
  DWORD thread = 0;  // 0: every thread
};

struct Hooks {
  std::mutex lock;
  std::vector<std::shared_ptr<Hook>> chain;  // newest first; guarded by lock
  uintptr_t next = 0x20000;                  // guarded by lock
  std::atomic<int> counts[8] = {};           // hooks installed per kind, for a cheap HasHooks
};
Hooks& TheHooks() {
  static Hooks* hooks = new Hooks;
  return *hooks;
}

int Slot(int id) {
  switch (id) {
    case WH_MSGFILTER:
      return 0;
    case WH_KEYBOARD:
      return 1;
    case WH_GETMESSAGE:
      return 2;
    case WH_CBT:
      return 3;
    case WH_MOUSE:
      return 4;
    default:
      return -1;
  }
}

// The hook after `after` (null: the first) in the calling thread's chain of `id`.
std::shared_ptr<Hook> NextHook(int id, HHOOK after) {
  auto& hooks = TheHooks();
  const DWORD self = GetCurrentThreadId();
  std::lock_guard lock(hooks.lock);
  auto it = hooks.chain.begin();
  if (after) {
    it = std::find_if(hooks.chain.begin(), hooks.chain.end(),
                      [&](const auto& h) { return h->handle == after; });
    if (it == hooks.chain.end()) return nullptr;
    ++it;
  }
  for (; it != hooks.chain.end(); ++it)
    if ((*it)->id == id && ((*it)->thread == 0 || (*it)->thread == self)) return *it;
  return nullptr;
}

}  // namespace

bool HasHooks(int id) {
  const int slot = Slot(id);
  return slot >= 0 && TheHooks().counts[slot].load() > 0;
}

LRESULT CallHooks(int id, int code, WPARAM wParam, LPARAM lParam) {
  auto hook = NextHook(id, nullptr);
  return hook ? hook->proc(code, wParam, lParam) : 0;
}

void RemoveThreadHooks(DWORD threadId) {
  auto& hooks = TheHooks();
  std::lock_guard lock(hooks.lock);
  auto& chain = hooks.chain;
  for (auto it = chain.begin(); it != chain.end();) {
    if ((*it)->thread == threadId) {
      --hooks.counts[Slot((*it)->id)];
      it = chain.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace pictavo::user::detail

using namespace pictavo::user::detail;

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  const int slot = Slot(idHook);
  if (slot < 0) {
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (!proc) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return nullptr;
  }
  auto hook = std::make_shared<Hook>();
  hook->id = idHook;
  hook->proc = proc;
  hook->thread = threadId;
  auto& hooks = TheHooks();
  std::lock_guard lock(hooks.lock);
  hooks.next += 4;
  hook->handle = reinterpret_cast<HHOOK>(hooks.next);
  hooks.chain.insert(hooks.chain.begin(), hook);
  ++hooks.counts[slot];
  return hook->handle;
}

BOOL UnhookWindowsHookEx(HHOOK handle) {
  auto& hooks = TheHooks();
  std::lock_guard lock(hooks.lock);
  auto& chain = hooks.chain;
  auto it = std::find_if(chain.begin(), chain.end(), [&](const auto& h) { return h->handle == handle; });
  if (it == chain.end()) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  --hooks.counts[Slot((*it)->id)];
  chain.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  int id = 0;
  {
    auto& hooks = TheHooks();
    std::lock_guard lock(hooks.lock);
    auto it = std::find_if(hooks.chain.begin(), hooks.chain.end(),
                           [&](const auto& h) { return h->handle == hook; });
    if (it == hooks.chain.end()) return 0;
    id = (*it)->id;
  }
  auto next = NextHook(id, hook);
  return next ? next->proc(code, wParam, lParam) : 0;
}

BOOL CallMsgFilter(MSG* msg, int code) {
  if (!msg || !HasHooks(WH_MSGFILTER)) return FALSE;
  return CallHooks(WH_MSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg)) ? TRUE : FALSE;
}
