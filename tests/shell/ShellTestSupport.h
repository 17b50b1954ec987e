// The fixtures of the shell tests: a private registry and home folder per test, and raw access
// to the registry values the settings write.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// Starts the program on the headless display with the settings, home, temporary and runtime
// folders below `folder` (the runtime folder `runtime` when given, the one of this process's
// named objects), playing the input script `script`; its process id, or -1. `extraEnv` adds
// variables or replaces the ones above ("PICTAVO_DISPLAY=sdl", "PICTAVO_DESKTOP=1920x1080").
inline pid_t StartProgram(const std::filesystem::path& folder, const std::vector<std::string>& args,
                          const std::string& script, const std::string& runtime = {},
                          const std::vector<std::string>& extraEnv = {}) {
  const std::string scriptPath = folder / ("script-" + std::to_string(std::rand()) + ".txt");
  std::ofstream(scriptPath) << script;
  std::filesystem::create_directories(folder / "tmp");
  std::filesystem::create_directories(folder / "run");
  pictavo::registry::FlushAllHives();

  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  const std::string program = std::string(bin ? bin : ".") + "/pictavo";
  const char* path = std::getenv("PATH");
  std::vector<std::string> env = {
      "HOME=" + (folder / "home").string(),
      "XDG_CONFIG_HOME=" + (folder / "config").string(),
      "TMPDIR=" + (folder / "tmp").string(),
      "XDG_RUNTIME_DIR=" + (runtime.empty() ? (folder / "run").string() : runtime),
      "PICTAVO_DISPLAY=headless",
      "PICTAVO_SCRIPT=" + scriptPath,
      "PATH=" + std::string(path ? path : "/usr/bin:/bin")};
  for (const std::string& added : extraEnv) {
    const std::string name = added.substr(0, added.find('=') + 1);
    std::erase_if(env, [&](const std::string& e) { return e.compare(0, name.size(), name) == 0; });
    env.push_back(added);
  }
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> a, e;
    for (auto& s : argv) a.push_back(s.data());
    a.push_back(nullptr);
    for (auto& s : env) e.push_back(s.data());
    e.push_back(nullptr);
    execve(program.c_str(), a.data(), e.data());
    _exit(127);
  }
  return child;
}

// The exit code of a program started by StartProgram, -1 when it did not exit by itself.
inline int WaitForExit(pid_t child) {
  int status = 0;
  if (child <= 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// The lines of the program's log in `base` without their time stamps.
inline std::vector<std::string> ReadProgramLog(const std::string& base) {
  std::vector<std::string> lines;
  std::ifstream in(std::filesystem::path(base) / "zel.log");
  for (std::string line; std::getline(in, line);)
    lines.push_back(line.size() > 24 ? line.substr(24) : line);  // "YYYY-MM-DD hh:mm:ss.mmm text"
  return lines;
}

}  // namespace shelltest
