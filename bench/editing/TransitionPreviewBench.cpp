// The transition preview's work for one tick of its 33 ms timer, for every built-in transition:
// the timer thread's step on the two 384 x 288 sample pictures and the UI thread's paint of that
// frame fitted into the preview box (background fill, fit, stretch into the off-screen bitmap).
//
//   BM_PreviewStep/N    transition N of the list: one step and its paint, steps 0..59 in turn
//
// Run pinned to two cores: taskset -c 0,1 build/bench/bench_transition_preview
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "editing/TransitionControls.h"
#include "modules/data/DVDImage.h"
#include "modules/image/CxImage.h"
#include "platform/gdi/Gdi.h"
#include "shell/TransitionList.h"

namespace {

constexpr int kSteps = 60;
constexpr SIZE kPicture{384, 288};
constexpr RECT kBox{0, 0, 150, 110};  // the random dialog's preview box in pixels

struct Pictures {
  CxImage first, second;
  Pictures() {
    const std::string images = std::string(PICTAVO_BIN_DIR) + "/images/";
    const CSize size(kPicture.cx, kPicture.cy);
    CDVDImage sample;
    sample.Put_strPathName((images + "transpreview1.jpg").c_str());
    sample.LoadToCxImage(&first, &size, RGB(0, 0, 0), 0);
    sample.Put_strPathName((images + "transpreview2.jpg").c_str());
    sample.LoadToCxImage(&second, &size, RGB(0, 0, 0), 0);
  }
};

Pictures& Samples() {
  static Pictures pictures;
  return pictures;
}

void BM_PreviewStep(benchmark::State& state) {
  if (GetTransitionList()->GetSize() == 0) LoadBuiltInTransitions(PICTAVO_BIN_DIR);
  const int index = static_cast<int>(state.range(0));
  if (index >= GetTransitionList()->GetSize()) {
    state.SkipWithError("no such transition");
    return;
  }
  _tagTransitionEntry* entry = GetTransitionList()->GetAt(index);
  state.SetLabel(std::string(entry->strName));
  Pictures& pictures = Samples();
  std::unique_ptr<CTransition> transition(entry->pfnFactory());
  _tagTransWorkParam param{};
  param.nSize = sizeof(param);
  param.nWidth = kPicture.cx;
  param.nHeight = kPicture.cy;
  param.nFrames = kSteps;
  transition->SetTransWorkParam(param);
  transition->SetImages(&pictures.first, &pictures.second);

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP buffer = ::CreateCompatibleBitmap(screen, kBox.right, kBox.bottom);
  HGDIOBJ old = ::SelectObject(memory, buffer);
  int step = 0;
  for (auto _ : state) {
    CxImage* frame = transition->StepIt(step);
    CTransitionPreviewStatic::PaintFrame(memory, kBox, frame, RGB(214, 227, 243));
    step = (step + 1) % kSteps;
  }
  ::SelectObject(memory, old);
  ::DeleteObject(buffer);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

void AllTransitions(benchmark::internal::Benchmark* bench) {
  if (GetTransitionList()->GetSize() == 0) LoadBuiltInTransitions(PICTAVO_BIN_DIR);
  for (int i = 0; i < GetTransitionList()->GetSize(); ++i) bench->Arg(i);
}

BENCHMARK(BM_PreviewStep)->Apply(AllTransitions)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
