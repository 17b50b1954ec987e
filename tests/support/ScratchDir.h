// Files for tests: a folder of its own per test, and whole files read and written at once.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pictavo::test {

// A fresh folder under the system's temporary folder, removed with everything in it afterwards,
// folders a test made read-only included.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pictavo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    m_path = pattern;
  }
  ~ScratchDir() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    // Only folders need to be writable for their contents to go; links are left alone so that
    // nothing outside the folder is touched.
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    std::error_code walking;
    for (auto it = fs::recursive_directory_iterator(m_path, walking);
         !walking && it != fs::recursive_directory_iterator(); it.increment(walking))
      if (!it->is_symlink(ignored) && it->is_directory(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return m_path; }
  std::string operator/(std::string_view name) const { return m_path + "/" + std::string(name); }

  // Writes a file below the folder, making the folders on its way; its path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string path = *this / name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

 private:
  std::string m_path;
};

// The bytes of a file; empty when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces a file's content with `bytes` (its folder must exist).
inline void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Whether anything, a dangling link included, stands at `path`.
inline bool Exists(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

}  // namespace pictavo::test
