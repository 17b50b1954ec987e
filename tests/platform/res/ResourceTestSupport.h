// Fixtures of the resource tests: a temporary resource folder with files written by the test,
// small BMP and icon files built in memory, and the repository's sample resources.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/ScratchDir.h"

namespace restest {

using pictavo::test::ScratchDir;

// A resource file around `body`.
inline std::string Xml(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<resources version=\"1\">\n" + std::string(body) +
         "\n</resources>\n";
}

// The resources laid out beside the program (the repository's resources/ folder, where
// sample.xml lives).
inline std::string SourceResources() {
  if (const char* bin = getenv("PICTAVO_BIN_DIR")) return std::string(bin) + "/resources";
  if (const char* source = getenv("PICTAVO_SOURCE_DIR")) return std::string(source) + "/resources";
  throw std::runtime_error(
      "neither PICTAVO_BIN_DIR nor PICTAVO_SOURCE_DIR is set (run the tests through ctest)");
}

// Tests of the repository's sample resources, read as the executable's own.
class SampleResources : public ::testing::Test {
 protected:
  void SetUp() override { pictavo::res::SetResourceRoot(SourceResources()); }
};

// Resource modules stay open for the rest of the process unless closed; a test closes its own.
class ModuleHandle {
 public:
  explicit ModuleHandle(HMODULE module) : m_module(module) {}
  ~ModuleHandle() {
    if (m_module) pictavo::res::CloseResourceModule(m_module);
  }
  ModuleHandle(const ModuleHandle&) = delete;
  ModuleHandle& operator=(const ModuleHandle&) = delete;
  HMODULE get() const { return m_module; }

 private:
  HMODULE m_module;
};

inline void Put16(std::string& out, unsigned value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A BITMAPINFOHEADER, its colour table and `rows` rows of zero bits.
inline std::string Dib(int width, int height, int rows, int bitCount) {
  std::string out;
  const int colors = bitCount <= 8 ? 1 << bitCount : 0;
  const int stride = (width * bitCount + 31) / 32 * 4;
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bitCount));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(stride * rows));
  Put32(out, 0), Put32(out, 0), Put32(out, 0), Put32(out, 0);
  for (int i = 0; i < colors; ++i) Put32(out, i * 0x010101u);
  out.append(static_cast<size_t>(stride * rows), '\0');
  return out;
}

// A BMP file of the given size and depth.
inline std::string Bmp(int width, int height, int bitCount) {
  const std::string dib = Dib(width, height, height, bitCount);
  const int colors = bitCount <= 8 ? 1 << bitCount : 0;
  std::string out = "BM";
  Put32(out, static_cast<uint32_t>(14 + dib.size()));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(14 + 40 + colors * 4));
  return out + dib;
}

struct IconSpec {
  int width;
  int height;
  int bitCount;
  int hotX = 0;
  int hotY = 0;
};

// An .ico (or .cur) file with one DIB image per spec: the colour rows and the AND mask rows.
inline std::string IconFile(const std::vector<IconSpec>& specs, bool cursor) {
  std::vector<std::string> images;
  for (const IconSpec& spec : specs) {
    const int maskStride = (spec.width + 31) / 32 * 4;
    std::string image = Dib(spec.width, spec.height * 2, spec.height, spec.bitCount);
    image.append(static_cast<size_t>(maskStride * spec.height), '\0');
    images.push_back(std::move(image));
  }
  std::string out;
  Put16(out, 0);
  Put16(out, cursor ? 2 : 1);
  Put16(out, static_cast<unsigned>(specs.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * specs.size());
  for (size_t i = 0; i < specs.size(); ++i) {
    const IconSpec& spec = specs[i];
    out.push_back(static_cast<char>(spec.width & 0xFF));
    out.push_back(static_cast<char>(spec.height & 0xFF));
    out.push_back(static_cast<char>(spec.bitCount < 8 ? 1 << spec.bitCount : 0));
    out.push_back(0);
    Put16(out, cursor ? static_cast<unsigned>(spec.hotX) : 1);
    Put16(out, cursor ? static_cast<unsigned>(spec.hotY) : static_cast<unsigned>(spec.bitCount));
    Put32(out, static_cast<uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::string& image : images) out += image;
  return out;
}

inline std::vector<uint16_t> Words(const void* data, size_t size) {
  std::vector<uint16_t> words(size / 2);
  std::memcpy(words.data(), data, words.size() * 2);
  return words;
}

}  // namespace restest
