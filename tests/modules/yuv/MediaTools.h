// Running ffmpeg and ffprobe from tests: what they print, and pixels of a decoded frame.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/LastError.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Wait.h"
#include "tests/platform/kernel/FileTestSupport.h"

namespace media_tools {

// Far longer than any of these small encodes takes; only a hang reaches it.
constexpr DWORD kGuardMs = 60000;

struct ProgramResult {
  bool started = false;
  DWORD exitCode = STILL_ACTIVE;
  std::string out;  // standard output
};

// Runs a program to its end, collecting its standard output; standard error goes to `errorLog`
// when given, else nowhere.
inline ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& errorLog = {}) {
  ProgramResult result;
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return result;
  HANDLE log = nullptr;
  if (!errorLog.empty())
    log = CreateFile(errorLog.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  pictavo::kernel::ProcessOptions options;
  options.stdOut = writeEnd;
  options.stdErr = log;
  auto process = pictavo::kernel::StartProcess(argv, options);
  CloseHandle(writeEnd);
  if (log) CloseHandle(log);
  if (process) {
    result.started = true;
    result.out = ReadToEnd(readEnd);
    EXPECT_EQ(WaitForSingleObject(process->hProcess, kGuardMs), WAIT_OBJECT_0) << argv.front();
    GetExitCodeProcess(process->hProcess, &result.exitCode);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
  }
  CloseHandle(readEnd);
  return result;
}

// The first video stream's values of `entries` ("width,height,r_frame_rate,nb_read_frames"), as
// ffprobe prints them in CSV: one line (side data some streams carry is left out).
inline std::string ProbeVideo(const std::string& file, const std::string& entries) {
  std::string out = RunProgram({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0",
                                "-show_entries", "stream=" + entries, "-of", "csv=p=0", file})
                        .out;
  out = out.substr(0, out.find('\n'));
  while (!out.empty() && out.back() == ',') out.pop_back();
  return out + "\n";
}

// The kinds of the streams in a file ("audio", "video"), sorted.
inline std::vector<std::string> StreamKinds(const std::string& file) {
  const std::string out = RunProgram({"ffprobe", "-v", "error", "-show_entries", "stream=codec_type", "-of",
                                      "default=nw=1:nk=1", file})
                              .out;
  std::vector<std::string> kinds;
  size_t start = 0;
  for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
    if (end > start) kinds.push_back(out.substr(start, end - start));
  std::sort(kinds.begin(), kinds.end());
  return kinds;
}

// Frame `index` of a video decoded to top-down RGB rows.
struct RgbFrame {
  int width = 0, height = 0;
  std::string pixels;
  // R, G, B of pixel (x, y), y counted from the top.
  std::array<int, 3> At(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    if (i + 2 >= pixels.size()) return {-1, -1, -1};
    return {static_cast<uint8_t>(pixels[i]), static_cast<uint8_t>(pixels[i + 1]),
            static_cast<uint8_t>(pixels[i + 2])};
  }
};
inline RgbFrame DecodeFrame(const std::string& file, int index, int width, int height) {
  RgbFrame frame{width, height, {}};
  frame.pixels = RunProgram({"ffmpeg", "-v", "error", "-nostdin", "-i", file, "-vf",
                             "select=eq(n\\," + std::to_string(index) + ")", "-vsync", "0", "-frames:v", "1",
                             "-f", "rawvideo", "-pix_fmt", "rgb24", "-"})
                     .out;
  return frame;
}

inline bool Near(const std::array<int, 3>& got, COLORREF want, int tolerance) {
  const int w[3] = {GetRValue(want), GetGValue(want), GetBValue(want)};
  for (int i = 0; i < 3; ++i)
    if (got[i] < w[i] - tolerance || got[i] > w[i] + tolerance) return false;
  return true;
}

inline std::string Show(const std::array<int, 3>& rgb) {
  return "(" + std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) + "," + std::to_string(rgb[2]) + ")";
}

// A 24-bit picture in the DIB layout (bottom row first, rows padded to 4 bytes) of one colour,
// with an optional second colour over its top half.
struct DibPicture {
  int width, height;
  std::vector<BYTE> bits;
  DibPicture(int w, int h, COLORREF color) : width(w), height(h), bits(Stride() * h) { Fill(0, h, color); }
  size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
  // Rows [top, bottom) counted from the top.
  void Fill(int top, int bottom, COLORREF color) {
    for (int y = top; y < bottom; ++y) {
      BYTE* row = bits.data() + static_cast<size_t>(height - 1 - y) * Stride();
      for (int x = 0; x < width; ++x) {
        row[3 * x] = GetBValue(color);
        row[3 * x + 1] = GetGValue(color);
        row[3 * x + 2] = GetRValue(color);
      }
    }
  }
  void FillColumns(int left, int right, COLORREF color) {
    for (int y = 0; y < height; ++y) {
      BYTE* row = bits.data() + static_cast<size_t>(y) * Stride();
      for (int x = left; x < right; ++x) {
        row[3 * x] = GetBValue(color);
        row[3 * x + 1] = GetGValue(color);
        row[3 * x + 2] = GetRValue(color);
      }
    }
  }
};

// The worker's named pipe: duplex, byte mode, blocking, 8 KiB buffers.
inline HANDLE MakeWorkerPipe(const char* name) {
  return CreateNamedPipe(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 8192,
                         8192, 0, nullptr);
}

}  // namespace media_tools
