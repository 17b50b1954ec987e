// The frame writer: 24-bit DIB frames to YUV4MPEG2 frames written into /dev/null, so only the
// conversion and the write are measured (the cost the frame path adds in front of ffmpeg).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "modules/yuv/YUVLib.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/Wait.h"

namespace {

// A frame with detail in every channel, in the DIB layout the renderers hand over.
std::vector<BYTE> MakeFrame(int width, int height) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<BYTE> bits(stride * height);
  uint32_t seed = 7;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      BYTE* p = bits.data() + y * stride + 3 * static_cast<size_t>(x);
      p[0] = static_cast<BYTE>(x * 255 / width);
      p[1] = static_cast<BYTE>(y * 255 / height);
      p[2] = static_cast<BYTE>(seed >> 24);
    }
  return bits;
}

// Output width x height; the appended picture is pictureWidth x pictureHeight (smaller ones are
// centred on the background).
void AppendFrame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const int pictureWidth = static_cast<int>(state.range(2)), pictureHeight = static_cast<int>(state.range(3));
  const std::vector<BYTE> frame = MakeFrame(pictureWidth, pictureHeight);
  HANDLE sink = CreateFile("/dev/null", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  CYUVLib writer(1);
  if (sink == INVALID_HANDLE_VALUE || !writer.InitYUV(sink, width, height, 25.0, RGB(0, 0, 0), 1)) {
    state.SkipWithError("cannot open /dev/null");
    return;
  }
  for (auto _ : state)
    if (!writer.AppendFrame(frame.data(), pictureWidth, pictureHeight, 1, nullptr)) {
      state.SkipWithError("AppendFrame failed");
      break;
    }
  state.SetItemsProcessed(state.iterations());
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  writer.CloseFile();
}

}  // namespace

BENCHMARK(AppendFrame)
    ->Args({1280, 720, 1280, 720})
    ->Args({1280, 720, 960, 720})
    ->Args({1920, 1080, 1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
