// Small helpers shared by the file, pipe and process tests.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/kernel/FileIo.h"

// A fresh folder for one test, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pictavo-kernel-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return m_path; }
  std::string operator/(std::string_view name) const { return m_path + "/" + std::string(name); }

 private:
  std::string m_path;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

// Everything a handle gives until its writer is gone (ReadFile then fails with a broken pipe).
inline std::string ReadToEnd(HANDLE handle) {
  std::string out;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(handle, buffer, sizeof buffer, &read, nullptr) && read > 0) out.append(buffer, read);
  return out;
}
