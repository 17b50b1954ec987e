// Frame times of the frame path's effects on one core: every built-in transition and the
// pan-and-zoom engine, at 1280 x 720 and 1920 x 1080. Each iteration makes one frame, walking
// through a 50-frame transition or motion so every stage of it is measured.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "modules/effects/PanZoom.h"
#include "modules/effects/Transition.h"
#include "modules/image/CxImage.h"

namespace {

constexpr int kFrames = 50;

// Photo-like content: smooth shading with fine noise.
CxImage Photo(int width, int height, uint32_t seed) {
  CxImage photo;
  photo.Create(static_cast<DWORD>(width), static_cast<DWORD>(height), 24);
  for (int y = 0; y < height; ++y) {
    BYTE* row = photo.GetBits(static_cast<DWORD>(y));
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = static_cast<int>(seed >> 28);
      row[3 * x] = static_cast<BYTE>((x * 200 / width + noise) & 0xFF);
      row[3 * x + 1] = static_cast<BYTE>((y * 200 / height + noise) & 0xFF);
      row[3 * x + 2] = static_cast<BYTE>(((x + y) * 150 / (width + height) + 60 + noise) & 0xFF);
    }
  }
  return photo;
}

void TransitionFrameTime(benchmark::State& state, TransitionEntryFactory factory, int width, int height) {
  CxImage from = Photo(width, height, 1);
  CxImage to = Photo(width, height, 2);
  std::unique_ptr<CTransition> transition(factory());
  transition->SetTransWorkParam(
      {static_cast<int32_t>(sizeof(_tagTransWorkParam)), 0, width, height, kFrames, 0, 0});
  transition->SetImages(&from, &to);
  transition->StepIt(kFrames / 2);  // builds any per-size tables before timing
  int frame = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(transition->StepIt(frame));
    frame = (frame + 1) % kFrames;
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void PanZoomFrameTime(benchmark::State& state, int preset, int antiFlicker, int width, int height) {
  // The photo cache hands over pictures at the frame size.
  CxImage photo = Photo(width, height, 3);
  _tagPanZoomWorkParamEx param;
  CPanZoomEx::GetPanZoomType_PresetValue(preset, param);
  param.nWidth = width;
  param.nHeight = height;
  param.nFrames = kFrames;
  param.nAntiFlicker = antiFlicker;
  param.pSrcImage = &photo;
  CPanZoomExIPP engine;
  engine.SetPanZoomExWorkParam(param);
  int frame = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.StepIt(frame));
    frame = (frame + 1) % kFrames;
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

int main(int argc, char** argv) {
  struct Size {
    int width, height;
  };
  const Size kSizes[] = {{1280, 720}, {1920, 1080}};
  std::vector<TransitionEntryFactory> factories(
      static_cast<size_t>(Mossen_GetTransitionLibInfo(nullptr, nullptr)));
  Mossen_GetTransitionLibInfo(nullptr, factories.data());
  for (const Size& size : kSizes) {
    const std::string suffix = "/" + std::to_string(size.width) + "x" + std::to_string(size.height);
    for (TransitionEntryFactory factory : factories) {
      std::unique_ptr<CTransition> probe(factory());
      char name[100] = {};
      probe->GetName(name, sizeof name);
      benchmark::RegisterBenchmark(("Transition/" + std::string(name) + suffix).c_str(), TransitionFrameTime,
                                   factory, size.width, size.height)
          ->Unit(benchmark::kMillisecond);
    }
    struct Motion {
      const char* name;
      int preset, antiFlicker;
    };
    const Motion kMotions[] = {{"Still", 0, 0},
                               {"ZoomIn", 1, 0},
                               {"Pan", 3, 0},
                               {"ZoomAndTurn", 17, 0},
                               {"ZoomIn+AntiFlicker", 1, 1}};
    for (const Motion& motion : kMotions)
      benchmark::RegisterBenchmark(("PanZoom/" + std::string(motion.name) + suffix).c_str(), PanZoomFrameTime,
                                   motion.preset, motion.antiFlicker, size.width, size.height)
          ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
