// Small files for the XML tests: a private temporary folder per test binary run.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/ScratchDir.h"

namespace xmltest {

// The folder, removed when the test binary ends.
inline std::filesystem::path TempFolder() {
  static const pictavo::test::ScratchDir folder;
  return folder.Path();
}

// Writes `bytes` to a file of that name in the temporary folder and returns its path.
inline std::string WriteTemp(const std::string& name, const std::string& bytes) {
  const auto path = TempFolder() / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

using pictavo::test::ReadWholeFile;

}  // namespace xmltest
