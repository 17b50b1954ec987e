#include "platform/kernel/Registry.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/registry/Hive.h"

using namespace pictavo::registry;

namespace {

constexpr size_t kMaxKeyNameLength = 255;

// What a handle stands for: a key path in a hive, and the access it was opened with. Predefined
// roots are never closed, so changes made through them are written at once.
struct OpenKey {
  HiveId hive;
  KeyPath path;
  REGSAM access;
  bool predefined = false;
};

class KeyTable {
 public:
  static KeyTable& Instance() {
    static KeyTable* const table = new KeyTable;  // never destroyed: keys may be closed at exit
    return *table;
  }

  HKEY Insert(OpenKey key) {
    std::lock_guard lock(m_lock);
    const uintptr_t value = m_next;
    m_next += 4;
    m_keys.emplace(value, std::move(key));
    return reinterpret_cast<HKEY>(value);
  }

  std::optional<OpenKey> Find(HKEY key) {
    std::lock_guard lock(m_lock);
    const auto it = m_keys.find(reinterpret_cast<uintptr_t>(key));
    if (it == m_keys.end()) return std::nullopt;
    return it->second;
  }

  std::optional<OpenKey> Remove(HKEY key) {
    std::lock_guard lock(m_lock);
    const auto it = m_keys.find(reinterpret_cast<uintptr_t>(key));
    if (it == m_keys.end()) return std::nullopt;
    OpenKey open = std::move(it->second);
    m_keys.erase(it);
    return open;
  }

 private:
  std::mutex m_lock;
  std::unordered_map<uintptr_t, OpenKey> m_keys;  // guarded by m_lock
  uintptr_t m_next = 0x1000;                      // guarded by m_lock; values stay within 32 bits
};

std::optional<OpenKey> Resolve(HKEY key) {
  if (key == HKEY_CURRENT_USER) return OpenKey{HiveId::kCurrentUser, {}, KEY_ALL_ACCESS, true};
  if (key == HKEY_LOCAL_MACHINE) return OpenKey{HiveId::kLocalMachine, {}, KEY_ALL_ACCESS, true};
  if (key == HKEY_CLASSES_ROOT) return OpenKey{HiveId::kClassesRoot, {}, KEY_ALL_ACCESS, true};
  return KeyTable::Instance().Find(key);
}

REGSAM Normalized(REGSAM access) {
  constexpr REGSAM kGenericRead = 0x80000000u, kGenericWrite = 0x40000000u, kGenericAll = 0x10000000u;
  if (access & (MAXIMUM_ALLOWED | kGenericAll)) return KEY_ALL_ACCESS;
  REGSAM out = access & KEY_ALL_ACCESS;
  if (access & kGenericRead) out |= KEY_READ;
  if (access & kGenericWrite) out |= KEY_WRITE;
  return out;
}

// Splits a sub-key path at `\`. Trailing separators are ignored; a leading one or an empty
// component in the middle is an error.
LSTATUS SplitSubKey(LPCSTR subKey, KeyPath& path) {
  if (subKey == nullptr) return ERROR_SUCCESS;
  std::string_view text(subKey);
  while (!text.empty() && text.back() == '\\') text.remove_suffix(1);
  if (text.empty()) return ERROR_SUCCESS;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\\', pos);
    if (end == std::string_view::npos) end = text.size();
    if (end == pos) return ERROR_BAD_PATHNAME;
    if (end - pos > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    path.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return ERROR_SUCCESS;
}

KeyPath Joined(const KeyPath& base, const KeyPath& tail) {
  KeyPath out = base;
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

std::string_view ValueName(LPCSTR name) {
  return name == nullptr ? std::string_view() : std::string_view(name);
}

// Runs `body` on the handle's hive and key with the hive locked. The handle must have `needed`
// access; a key deleted since it was opened gives ERROR_KEY_DELETED.
template <class Body>
LSTATUS WithKey(HKEY handle, REGSAM needed, Body&& body) {
  const std::optional<OpenKey> open = Resolve(handle);
  if (!open) return ERROR_INVALID_HANDLE;
  if ((open->access & needed) != needed) return ERROR_ACCESS_DENIED;
  Hive& hive = HiveFor(open->hive);
  auto lock = hive.Lock();
  if (open->predefined) hive.RefreshLocked();
  const Key* key = hive.ViewLocked().Find(open->path);
  if (key == nullptr) return ERROR_KEY_DELETED;
  return body(hive, *open, *key);
}

// After a change: written at once when it was made through a predefined root.
LSTATUS Changed(Hive& hive, const OpenKey& open) {
  return open.predefined ? static_cast<LSTATUS>(hive.FlushLocked()) : ERROR_SUCCESS;
}

LSTATUS CopyName(const std::string& name, LPSTR buffer, DWORD capacity) {
  if (buffer == nullptr) return ERROR_INVALID_PARAMETER;
  if (name.size() >= capacity) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  const std::optional<OpenKey> parent = Resolve(key);
  if (!parent) return ERROR_INVALID_HANDLE;
  KeyPath tail;
  if (const LSTATUS error = SplitSubKey(subKey, tail); error != ERROR_SUCCESS) return error;
  Hive& hive = HiveFor(parent->hive);
  auto lock = hive.Lock();
  hive.RefreshLocked();
  const Key& view = hive.ViewLocked();
  if (view.Find(parent->path) == nullptr) return ERROR_KEY_DELETED;
  KeyPath full = Joined(parent->path, tail);
  if (view.Find(full) == nullptr) return ERROR_FILE_NOT_FOUND;
  *result = KeyTable::Instance().Insert(OpenKey{parent->hive, std::move(full), Normalized(access)});
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, LPSECURITY_ATTRIBUTES,
                       PHKEY result, LPDWORD disposition) {
  if (result == nullptr || subKey == nullptr) return ERROR_INVALID_PARAMETER;
  const std::optional<OpenKey> parent = Resolve(key);
  if (!parent) return ERROR_INVALID_HANDLE;
  KeyPath tail;
  if (const LSTATUS error = SplitSubKey(subKey, tail); error != ERROR_SUCCESS) return error;
  Hive& hive = HiveFor(parent->hive);
  auto lock = hive.Lock();
  hive.RefreshLocked();
  if (hive.ViewLocked().Find(parent->path) == nullptr) return ERROR_KEY_DELETED;
  KeyPath full = Joined(parent->path, tail);
  const bool exists = hive.ViewLocked().Find(full) != nullptr;
  if (!exists) {
    if ((parent->access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    hive.ChangeLocked(Change{Change::Kind::kCreateKey, full, {}, 0, {}});
    if (const LSTATUS error = Changed(hive, *parent); error != ERROR_SUCCESS) return error;
  }
  if (disposition != nullptr) *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = KeyTable::Instance().Insert(OpenKey{parent->hive, std::move(full), Normalized(access)});
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY handle, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  return WithKey(handle, KEY_QUERY_VALUE, [&](Hive&, const OpenKey&, const Key& key) -> LSTATUS {
    const Value* value = key.FindValue(ValueName(valueName));
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    const DWORD needed = static_cast<DWORD>(value->data.size());
    if (type != nullptr) *type = value->type;
    if (data != nullptr) {
      if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
      }
      if (needed > 0) std::memcpy(data, value->data.data(), needed);
    }
    if (size != nullptr) *size = needed;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegSetValueEx(HKEY handle, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
  if (data == nullptr && size > 0) return ERROR_NOACCESS;
  return WithKey(handle, KEY_SET_VALUE, [&](Hive& hive, const OpenKey& open, const Key&) -> LSTATUS {
    std::vector<uint8_t> bytes(data, data + size);
    hive.ChangeLocked(Change{Change::Kind::kSetValue, open.path, std::string(ValueName(valueName)), type,
                             std::move(bytes)});
    return Changed(hive, open);
  });
}

LSTATUS RegDeleteValue(HKEY handle, LPCSTR valueName) {
  return WithKey(handle, KEY_SET_VALUE, [&](Hive& hive, const OpenKey& open, const Key& key) -> LSTATUS {
    if (key.FindValue(ValueName(valueName)) == nullptr) return ERROR_FILE_NOT_FOUND;
    hive.ChangeLocked(
        Change{Change::Kind::kDeleteValue, open.path, std::string(ValueName(valueName)), 0, {}});
    return Changed(hive, open);
  });
}

LSTATUS RegDeleteKey(HKEY handle, LPCSTR subKey) {
  if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
  KeyPath tail;
  if (const LSTATUS error = SplitSubKey(subKey, tail); error != ERROR_SUCCESS) return error;
  // The handle's own access does not matter: deleting is decided by the key being deleted.
  return WithKey(handle, 0, [&](Hive& hive, const OpenKey& open, const Key&) -> LSTATUS {
    const KeyPath full = Joined(open.path, tail);
    if (full.empty()) return ERROR_ACCESS_DENIED;
    const Key* target = hive.ViewLocked().Find(full);
    if (target == nullptr) return ERROR_FILE_NOT_FOUND;
    if (target->ChildCount() > 0) return ERROR_ACCESS_DENIED;
    hive.ChangeLocked(Change{Change::Kind::kDeleteKey, full, {}, 0, {}});
    return Changed(hive, open);
  });
}

LSTATUS RegEnumKeyEx(HKEY handle, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPSTR keyClass,
                     LPDWORD classSize, PFILETIME lastWriteTime) {
  if (nameSize == nullptr) return ERROR_INVALID_PARAMETER;
  return WithKey(handle, KEY_ENUMERATE_SUB_KEYS, [&](Hive& hive, const OpenKey&, const Key& key) -> LSTATUS {
    const Key* child = key.ChildAt(index);
    if (child == nullptr) return ERROR_NO_MORE_ITEMS;
    if (const LSTATUS error = CopyName(child->Name(), name, *nameSize); error != ERROR_SUCCESS) return error;
    *nameSize = static_cast<DWORD>(child->Name().size());
    if (keyClass != nullptr && classSize != nullptr) {
      if (*classSize == 0) return ERROR_MORE_DATA;
      keyClass[0] = '\0';
    }
    if (classSize != nullptr) *classSize = 0;
    if (lastWriteTime != nullptr) *lastWriteTime = hive.LastWriteTimeLocked();
    return ERROR_SUCCESS;
  });
}

LSTATUS RegEnumKey(HKEY handle, DWORD index, LPSTR name, DWORD nameSize) {
  DWORD size = nameSize;
  return RegEnumKeyEx(handle, index, name, &size, nullptr, nullptr, nullptr, nullptr);
}

LSTATUS RegEnumValue(HKEY handle, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD, LPDWORD type,
                     LPBYTE data, LPDWORD dataSize) {
  if (valueNameSize == nullptr || (data != nullptr && dataSize == nullptr)) return ERROR_INVALID_PARAMETER;
  return WithKey(handle, KEY_QUERY_VALUE, [&](Hive&, const OpenKey&, const Key& key) -> LSTATUS {
    if (index >= key.Values().size()) return ERROR_NO_MORE_ITEMS;
    const Value& value = key.Values()[index];
    if (const LSTATUS error = CopyName(value.name, valueName, *valueNameSize); error != ERROR_SUCCESS)
      return error;
    *valueNameSize = static_cast<DWORD>(value.name.size());
    if (type != nullptr) *type = value.type;
    const DWORD needed = static_cast<DWORD>(value.data.size());
    if (data != nullptr) {
      if (*dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
      }
      if (needed > 0) std::memcpy(data, value.data.data(), needed);
    }
    if (dataSize != nullptr) *dataSize = needed;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegQueryInfoKey(HKEY handle, LPSTR keyClass, LPDWORD classSize, LPDWORD, LPDWORD subKeys,
                        LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                        LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                        PFILETIME lastWriteTime) {
  return WithKey(handle, KEY_QUERY_VALUE, [&](Hive& hive, const OpenKey&, const Key& key) -> LSTATUS {
    if (keyClass != nullptr && classSize != nullptr) {
      if (*classSize == 0) return ERROR_MORE_DATA;
      keyClass[0] = '\0';
    }
    if (classSize != nullptr) *classSize = 0;
    size_t longestKey = 0, longestName = 0, longestValue = 0;
    for (size_t i = 0; i < key.ChildCount(); ++i)
      longestKey = std::max(longestKey, key.ChildAt(i)->Name().size());
    for (const Value& value : key.Values()) {
      longestName = std::max(longestName, value.name.size());
      longestValue = std::max(longestValue, value.data.size());
    }
    if (subKeys != nullptr) *subKeys = static_cast<DWORD>(key.ChildCount());
    if (maxSubKeyLength != nullptr) *maxSubKeyLength = static_cast<DWORD>(longestKey);
    if (maxClassLength != nullptr) *maxClassLength = 0;
    if (values != nullptr) *values = static_cast<DWORD>(key.Values().size());
    if (maxValueNameLength != nullptr) *maxValueNameLength = static_cast<DWORD>(longestName);
    if (maxValueLength != nullptr) *maxValueLength = static_cast<DWORD>(longestValue);
    if (securityDescriptorSize != nullptr) *securityDescriptorSize = 0;
    if (lastWriteTime != nullptr) *lastWriteTime = hive.LastWriteTimeLocked();
    return ERROR_SUCCESS;
  });
}

LSTATUS RegCloseKey(HKEY handle) {
  std::optional<OpenKey> open = Resolve(handle);
  if (!open) return ERROR_INVALID_HANDLE;
  if (!open->predefined) KeyTable::Instance().Remove(handle);
  Hive& hive = HiveFor(open->hive);
  auto lock = hive.Lock();
  return static_cast<LSTATUS>(hive.FlushLocked());
}

LSTATUS RegFlushKey(HKEY handle) {
  const std::optional<OpenKey> open = Resolve(handle);
  if (!open) return ERROR_INVALID_HANDLE;
  Hive& hive = HiveFor(open->hive);
  auto lock = hive.Lock();
  return static_cast<LSTATUS>(hive.FlushLocked());
}

LSTATUS RegQueryValue(HKEY handle, LPCSTR subKey, LPSTR data, PLONG size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  KeyPath tail;
  if (const LSTATUS error = SplitSubKey(subKey, tail); error != ERROR_SUCCESS) return error;
  return WithKey(handle, 0, [&](Hive& hive, const OpenKey& open, const Key&) -> LSTATUS {
    if (!open.predefined || !tail.empty()) hive.RefreshLocked();
    const Key* key = hive.ViewLocked().Find(Joined(open.path, tail));
    if (key == nullptr) return ERROR_FILE_NOT_FOUND;
    const Value* value = key->FindValue("");
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    // The text always comes back with its NUL, also when it was stored without one.
    std::string text(value->data.begin(), value->data.end());
    if (text.empty() || text.back() != '\0') text += '\0';
    const LONG needed = static_cast<LONG>(text.size());
    if (data != nullptr) {
      if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
      }
      std::memcpy(data, text.data(), text.size());
    }
    if (size != nullptr) *size = needed;
    return ERROR_SUCCESS;
  });
}
