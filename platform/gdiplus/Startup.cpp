// GdiplusStartup and GdiplusShutdown: each successful start hands out a token, and the API is
// usable while any token is outstanding.
#include <atomic>
#include <mutex>
#include <set>

#include "platform/gdiplus/Objects.h"

namespace pictavo::gdiplus {
namespace {

struct Tokens {
  std::mutex lock;
  std::set<ULONG_PTR> live;  // guarded by lock
  ULONG_PTR next = 1;        // guarded by lock
  std::atomic<int> count{0};
};

Tokens& TheTokens() {
  static Tokens* tokens = new Tokens;  // used until the process ends
  return *tokens;
}

// Without a background thread there is nothing for the hooks to start or stop.
Gdiplus::Status WINAPI NotificationHook(ULONG_PTR* token) {
  if (!token) return Gdiplus::InvalidParameter;
  *token = 1;
  return Gdiplus::Ok;
}

VOID WINAPI NotificationUnhook(ULONG_PTR) {}

}  // namespace

bool Started() {
  return TheTokens().count.load(std::memory_order_acquire) > 0;
}

}  // namespace pictavo::gdiplus

namespace Gdiplus {

Status WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                             GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  *token = 0;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  if (input->SuppressBackgroundThread) {
    if (!output) return InvalidParameter;
    output->NotificationHook = pictavo::gdiplus::NotificationHook;
    output->NotificationUnhook = pictavo::gdiplus::NotificationUnhook;
  }
  auto& tokens = pictavo::gdiplus::TheTokens();
  std::lock_guard lock(tokens.lock);
  *token = tokens.next++;
  tokens.live.insert(*token);
  tokens.count.store(static_cast<int>(tokens.live.size()), std::memory_order_release);
  return Ok;
}

VOID WINAPI GdiplusShutdown(ULONG_PTR token) {
  auto& tokens = pictavo::gdiplus::TheTokens();
  std::lock_guard lock(tokens.lock);
  tokens.live.erase(token);  // an unknown token changes nothing
  tokens.count.store(static_cast<int>(tokens.live.size()), std::memory_order_release);
}

}  // namespace Gdiplus
