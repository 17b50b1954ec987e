// Fixtures for the picture tests: small generated pictures, a scratch folder, file helpers and
// the ffmpeg program as an independent encoder and decoder.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "modules/image/CxImage.h"

extern char** environ;

namespace imagetest {

namespace fs = std::filesystem;

// A folder of its own per test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "pictavo-image-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
  }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

inline std::vector<BYTE> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Colour of pixel (x, y), y from the top, of the standard test gradient: red across, green down,
// blue along the diagonal. Smooth, so lossy formats keep it closely.
inline RGBQUAD GradientAt(int x, int y, int w, int h) {
  const int r = w > 1 ? x * 255 / (w - 1) : 0;
  const int g = h > 1 ? y * 255 / (h - 1) : 0;
  const int b = (r + g) / 2;
  return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
}

inline CxImage Gradient(int w, int h, bool alpha = false) {
  CxImage image;
  image.Create(w, h, 24);
  if (alpha) image.AlphaCreate();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      RGBQUAD c = GradientAt(x, y, w, h);
      // Alpha stays at or above half so colours survive premultiplying formats.
      c.rgbReserved = static_cast<BYTE>(128 + (x * 127) / std::max(1, w - 1));
      image.SetPixelColor(x, h - 1 - y, c, alpha);
    }
  return image;
}

// Largest difference of any channel between two pictures of the same size (alpha included when
// both have it); -1 when the sizes differ.
inline int MaxDifference(const CxImage& a, const CxImage& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return -1;
  int worst = 0;
  const bool alpha = a.AlphaIsValid() && b.AlphaIsValid();
  for (long y = 0; y < static_cast<long>(a.GetHeight()); ++y)
    for (long x = 0; x < static_cast<long>(a.GetWidth()); ++x) {
      const RGBQUAD p = a.GetPixelColor(x, y), q = b.GetPixelColor(x, y);
      worst =
          std::max({worst, std::abs(p.rgbRed - q.rgbRed), std::abs(p.rgbGreen - q.rgbGreen),
                    std::abs(p.rgbBlue - q.rgbBlue), alpha ? std::abs(p.rgbReserved - q.rgbReserved) : 0});
    }
  return worst;
}

// Runs a program with an argument vector; true when it exits with 0.
inline bool Run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Converts `input` into `output` with ffmpeg; extra options go before the output.
inline bool Ffmpeg(const std::string& input, const std::string& output,
                   const std::vector<std::string>& options) {
  std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "error", "-y", "-i", input};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(output);
  return Run(args);
}

// ffmpeg's own reading of a picture file, as a CxImage (with alpha when asked).
inline CxImage DecodedByFfmpeg(const std::string& input, const ScratchDir& dir, int w, int h, bool alpha) {
  const std::string raw = dir / "ffmpeg-decoded.raw";
  CxImage image;
  if (!Ffmpeg(input, raw, {"-f", "rawvideo", "-pix_fmt", alpha ? "bgra" : "bgr24"})) return image;
  const std::vector<BYTE> bytes = ReadFile(raw);
  const DWORD pixel = alpha ? 4 : 3;
  if (bytes.size() != static_cast<size_t>(w) * h * pixel) return image;
  image.CreateFromArray(bytes.data(), w, h, pixel * 8, w * pixel, /*bFlipImage*/ true);
  return image;
}

}  // namespace imagetest
