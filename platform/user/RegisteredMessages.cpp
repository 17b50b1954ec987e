// RegisterWindowMessage: numbers derived from the name, so every copy of the program agrees.
#include <map>
#include <mutex>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Unicode.h"
#include "platform/user/Message.h"

namespace {

constexpr UINT kFirst = 0xC000;
constexpr UINT kCount = 0x4000;

struct Registered {
  std::mutex lock;
  std::map<std::string, UINT> byName;   // folded name; guarded by lock
  std::map<UINT, std::string> byValue;  // guarded by lock
};
Registered& TheRegistered() {
  static Registered* registered = new Registered;
  return *registered;
}

uint32_t Fnv1a(const std::string& text) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

UINT RegisterWindowMessage(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string key = pictavo::unicode::FoldCase(name);
  auto& registered = TheRegistered();
  std::lock_guard lock(registered.lock);
  auto it = registered.byName.find(key);
  if (it != registered.byName.end()) return it->second;
  UINT value = kFirst + Fnv1a(key) % kCount;
  for (UINT probe = 0; probe < kCount && registered.byValue.count(value); ++probe)
    value = kFirst + (value - kFirst + 1) % kCount;
  if (registered.byValue.count(value)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  registered.byName[key] = value;
  registered.byValue[value] = key;
  return value;
}
