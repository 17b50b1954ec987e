// The slideshow preview's frames at 1024 x 768 (its largest), from the sample photos with their
// transitions and random pan and zoom, made the way the preview's render thread makes them
// (PreviewSlideRun: the effects' frame step and the copy the theme is laid over).
//
//   BM_PreviewFrames   frames per second made back to back (the renderer's capacity; the
//                      preview needs 20)
//   --play             a 60-second play on the real 50 ms multimedia timer: frames drawn and
//                      dropped (a frame is dropped when it is made too late for its tick)
//
// Run pinned to two cores: taskset -c 0,1 build/bench/bench_preview [--play]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/MMTimer.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Wait.h"
#include "render/PreviewSlideRun.h"
#include "render/SlidePictures.h"
#include "render/SlidePrefetcher.h"
#include "shell/TransitionList.h"

namespace {

constexpr SIZE kFrame{1024, 768};
const char* const kPhotos[] = {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg",
                               "bars_small.jpg", "wide_panorama.jpg"};
const char* const kTransitions[] = {"Fade", "Dissolve", "Wipe Right", "Slide From Left",
                                    "Fade Through Black"};

// 10 slides of the sample photos (2 s transition, 4 s each: 60 s), random pan and zoom.
CDVDAlbumImage* MakeAlbum() {
  if (GetTransitionList()->GetSize() == 0) LoadBuiltInTransitions(PICTAVO_BIN_DIR);
  GetProject()->NewProject();
  CDVDAlbumImage* album = GetProject()->AllocImageAlbum(nullptr);
  album->Set_strAlbumName("Bench");
  album->Set_bAutoPanZoom(TRUE);
  GetProject()->AddAlbum(album);
  for (int i = 0; i < 10; ++i) {
    auto* slide = new CDVDImage(album);
    slide->Put_strPathName((std::string(PICTAVO_SOURCE_DIR) + "/samples/media/" + kPhotos[i % 5]).c_str());
    slide->Put_nOneDuration(2);
    slide->Put_nTwoDuration(4);
    slide->Set_strTransName((std::string(kTransitions[i % 5]) + "[TransitionLib]").c_str());
    album->AddDVDImage(slide);
  }
  return album;
}

std::vector<TransitionEntryFactory> Factories() {
  CTransitionFactoryArray factories;
  GetTransitionFactories(0, factories);
  std::vector<TransitionEntryFactory> out;
  for (INT_PTR i = 0; i < factories.GetSize(); ++i) out.push_back(factories[i]);
  return out;
}

// A run as the preview window starts it: planned, the prefetcher loading ahead.
struct Run {
  HANDLE stop = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE prefetchDone = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE renderDone = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  CSlidePrefetcher prefetcher{5, 2};
  pictavo::render::PreviewSlideRun run;

  bool Start(CDVDAlbumImage* album) {
    ResetEvent(renderDone);
    run.PlanOnly(*album, kFrame, Factories(), 0);
    const auto* plan = &run.Plan();
    prefetcher.SetPictureSizer([plan](int index, SIZE load) {
      return pictavo::render::PanZoomPictureSize(load, plan->slides[static_cast<size_t>(index)].motion);
    });
    const _tagPrefetchParam param{album, stop, prefetchDone, renderDone, nullptr, kFrame.cx, kFrame.cy, 0};
    if (!prefetcher.Start(&param)) return false;
    prefetcher.WaitReady();
    return run.Prepare(*album, prefetcher, 0, kFrame, Factories(), 0);
  }
  void End() {
    run.Finish();
    SetEvent(stop);
    SetEvent(renderDone);
    prefetcher.Stop(TRUE);
    ResetEvent(stop);
  }
  ~Run() {
    for (HANDLE h : {stop, prefetchDone, renderDone}) CloseHandle(h);
  }
};

void BM_PreviewFrames(benchmark::State& state) {
  CDVDAlbumImage* album = MakeAlbum();
  Run r;
  if (!r.Start(album)) {
    state.SkipWithError("no pictures");
    return;
  }
  // Back to back: the clock says every frame is on time, so none is skipped.
  DWORD now = 0;
  r.run.SetClock([&] { return now; });
  r.run.BeginStage(0);
  std::vector<BYTE> screen(static_cast<size_t>(kFrame.cx) * kFrame.cy * 3);
  int64_t frames = 0;
  for (auto _ : state) {
    if (r.run.Tick([&](CxImage& f) { std::memcpy(screen.data(), f.GetBits(0), screen.size()); }, nullptr)) {
      state.PauseTiming();
      r.End();
      r.Start(album);
      now = 0;
      r.run.BeginStage(0);
      state.ResumeTiming();
      continue;
    }
    now += pictavo::render::kPreviewTickMs;
    ++frames;
  }
  r.End();
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PreviewFrames)->Unit(benchmark::kMillisecond)->MinTime(10.0)->UseRealTime();

// 60 s on the real frame clock, as the render thread plays the slide stage.
int Play() {
  CDVDAlbumImage* album = MakeAlbum();
  Run r;
  if (!r.Start(album)) return 1;
  HANDLE timer = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  const MMRESULT id =
      timeSetEvent(pictavo::render::kPreviewTickMs, 5, reinterpret_cast<LPTIMECALLBACK>(timer), 0,
                   TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
  std::vector<BYTE> screen(static_cast<size_t>(kFrame.cx) * kFrame.cy * 3);
  const DWORD start = GetTickCount();
  bool first = true;
  for (;;) {
    WaitForSingleObject(timer, INFINITE);
    if (first) r.run.BeginStage(GetTickCount());
    first = false;
    if (r.run.Tick([&](CxImage& f) { std::memcpy(screen.data(), f.GetBits(0), screen.size()); }, nullptr))
      break;
  }
  const DWORD took = GetTickCount() - start;
  timeKillEvent(id);
  CloseHandle(timer);
  std::printf("60 s play at %ldx%ld: %d frames drawn, %d dropped, %.1f s\n", kFrame.cx, kFrame.cy,
              r.run.FramesDrawn(), r.run.FramesDropped(), took / 1000.0);
  r.End();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--play") == 0) return Play();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
