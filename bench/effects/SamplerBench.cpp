// The bilinear row sampler alone: one 1280 x 720 frame's rows a iteration, sampled from a
// picture the size the frame encoder loads moving slides at (1.5 to 2 picture pixels a frame
// pixel), level (pan and zoom) and turned (the turning presets, spin), and magnified (the zoom
// transitions on frame-sized pictures).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "modules/effects/Sampler.h"

namespace {

constexpr int kFrameW = 1280;
constexpr int kFrameH = 720;

struct Picture {
  int width, height;
  std::vector<BYTE> bits;
};

Picture Noise(int width, int height) {
  Picture picture{width, height, std::vector<BYTE>(static_cast<size_t>(width) * height * 3)};
  uint32_t seed = 7;
  for (BYTE& b : picture.bits) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<BYTE>(seed >> 24);
  }
  return picture;
}

// `k` picture pixels a frame pixel, turned by `degrees`, about the picture's centre.
void SampleFrame(benchmark::State& state, double k, double degrees, int pictureW, int pictureH) {
  const Picture picture = Noise(pictureW, pictureH);
  const pictavo::effects::SourceView view{picture.bits.data(), static_cast<ptrdiff_t>(pictureW) * 3, pictureW,
                                          pictureH};
  const double turn = degrees * 3.14159265358979 / 180;
  const double c = std::cos(turn) * k, s = std::sin(turn) * k;
  const double dx = 0.5 - kFrameW / 2.0, dy = 0.5 - kFrameH / 2.0;
  pictavo::effects::AffineMap map{pictureW / 2.0 + c * dx + s * dy - 0.5, c,  s,
                                  pictureH / 2.0 - s * dx + c * dy - 0.5, -s, c};
  std::vector<BYTE> under(kFrameW * 3, 0), out(kFrameW * 3 * kFrameH);
  double shift = 0;
  for (auto _ : state) {
    // A slow pan: every frame a little further, so the weights change as they do in a video.
    map.u0 += 0.137;
    shift += 0.137;
    if (shift > 50) {
      map.u0 -= shift;
      shift = 0;
    }
    for (int y = 0; y < kFrameH; ++y)
      pictavo::effects::SampleRow(view, pictavo::effects::RowOf(map, y), under.data(),
                                  out.data() + static_cast<size_t>(y) * kFrameW * 3, kFrameW);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["Mpixel/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kFrameW * kFrameH / 1e6, benchmark::Counter::kIsRate);
}

void BM_SampleLevel(benchmark::State& state) {
  SampleFrame(state, 1.6, 0, 2400, 1350);
}
void BM_SampleTurned(benchmark::State& state) {
  SampleFrame(state, 1.6, 4, 2400, 1350);
}
void BM_SampleMagnified(benchmark::State& state) {
  SampleFrame(state, 0.7, 0, 1280, 720);
}
void BM_SampleMagnifiedTurned(benchmark::State& state) {
  SampleFrame(state, 0.7, 30, 1280, 720);
}

BENCHMARK(BM_SampleLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleTurned)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleMagnified)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleMagnifiedTurned)->Unit(benchmark::kMillisecond);

}  // namespace
