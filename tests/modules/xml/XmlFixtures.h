// Small files for the XML tests: a private temporary folder per test binary run.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace xmltest {

inline std::filesystem::path TempFolder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / ("xmltest-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// Writes `bytes` to a file of that name in the temporary folder and returns its path.
inline std::string WriteTemp(const std::string& name, const std::string& bytes) {
  const auto path = TempFolder() / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace xmltest
