// Fixtures for the web-album tests: a scratch folder and small files written into it.
#pragma once

#include <filesystem>
#include <string_view>

#include "tests/support/ScratchDir.h"

namespace enginetest {

namespace fs = std::filesystem;

using pictavo::test::ReadWholeFile;
using pictavo::test::ScratchDir;

// Writes a file, making the folders on its way.
inline void WriteText(const fs::path& path, std::string_view text) {
  fs::create_directories(path.parent_path());
  pictavo::test::WriteWholeFile(path, text);
}

}  // namespace enginetest
