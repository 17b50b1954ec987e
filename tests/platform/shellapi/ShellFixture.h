// A private home for each test: HOME, the XDG configuration and data folders all point into a
// fresh temporary folder, so special folders, the desktop and the trash are the test's own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace shell_test {

class TempHome : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "pictavo-shell-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_root = pattern;
    m_home = m_root + "/home";
    std::filesystem::create_directories(m_home + "/.config");
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
      const char* value = getenv(name);
      m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("HOME", m_home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (m_home + "/.local/share").c_str(), 1);
    unsetenv("XDG_DATA_DIRS");
  }

  void TearDown() override {
    for (const auto& [name, value] : m_saved) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
  }

  // A file (with its folders) below the home folder, or below the root with `outside`.
  std::string File(const std::string& relative, const std::string& content = "data", bool outside = false) {
    const std::string path = (outside ? m_root : m_home) + "/" + relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << content;
    return path;
  }
  std::string Folder(const std::string& relative, bool outside = false) {
    const std::string path = (outside ? m_root : m_home) + "/" + relative;
    std::filesystem::create_directories(path);
    return path;
  }
  void UserDirs(const std::string& text) { std::ofstream(m_home + "/.config/user-dirs.dirs") << text; }

  const std::string& Root() const { return m_root; }
  const std::string& Home() const { return m_home; }

 private:
  std::string m_root;
  std::string m_home;
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace shell_test
