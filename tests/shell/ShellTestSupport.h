// The fixtures of the shell tests: a private registry and home folder per test, and raw access
// to the registry values the settings write.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/kernel/Registry.h"
#include "platform/registry/Hive.h"
#include "tests/platform/kernel/FileTestSupport.h"
#include "tests/support/ScopedEnv.h"

namespace shelltest {

using pictavo::test::ScopedEnv;

using Bytes = std::vector<BYTE>;

// The application's key, where the settings sections live.
inline const std::string kAppKey = "Software\\Talvane Pictavo";

// Each test gets its own registry files and home folder, so nothing reaches the user's settings.
class RegistryFixture : public ::testing::Test {
 protected:
  ~RegistryFixture() override { pictavo::registry::FlushAllHives(); }

  ScratchDir folder;
  ScopedEnv config{"XDG_CONFIG_HOME", (folder / "config").c_str()};
  ScopedEnv home{"HOME", (folder / "home").c_str()};
};

// A value's type and bytes as the registry keeps them; false when it is missing.
inline bool QueryRaw(const std::string& key, const char* name, DWORD& type, Bytes& data) {
  HKEY handle = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  bool ok = RegQueryValueEx(handle, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  if (ok) {
    data.assign(size, 0);
    ok = RegQueryValueEx(handle, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
  }
  RegCloseKey(handle);
  return ok;
}

inline void SetRaw(const std::string& key, const char* name, DWORD type, const Bytes& data) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                           nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(handle, name, 0, type, data.data(), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(handle);
}

inline void SetDword(const std::string& key, const char* name, DWORD value) {
  SetRaw(key, name, REG_DWORD, Bytes(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + 4));
}

// REG_SZ with its terminating NUL, as the program writes strings.
inline void SetString(const std::string& key, const char* name, const std::string& text) {
  SetRaw(key, name, REG_SZ, Bytes(text.c_str(), text.c_str() + text.size() + 1));
}

inline bool KeyExists(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

inline Bytes B(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace shelltest
