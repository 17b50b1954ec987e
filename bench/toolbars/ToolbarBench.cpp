// A toolbar of 100 buttons from the program's toolbar resource: its layout (what every docking
// query and resize costs) and a full repaint through the installed manager (aim: under 5 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

constexpr UINT kMainToolbar = 64600;  // the demonstration bar's strip, on the button face

struct Bench {
  CWnd owner;
  CPlxToolBar bar;
  bool ok = false;

  Bench() {
    setenv("PICTAVO_DISPLAY", "headless", 0);
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : "bin") + "/resources");
    if (!pictavo::display::Initialize()) return;
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    const CString cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    owner.CreateEx(0, cls, "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1200, 300), nullptr, 0);
    if (!bar.Create(&owner, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 1001) ||
        !bar.LoadToolBar(kMainToolbar))
      return;
    // 100 buttons of the resource's commands, a separator after every tenth.
    std::vector<UINT> ids;
    for (int i = 0; i < 100; ++i) {
      ids.push_back(bar.GetItemID(i % 16));
      if (i % 10 == 9) ids.push_back(0);
    }
    bar.SetButtons(ids.data(), static_cast<int>(ids.size()), FALSE);
    bar.SetWindowPos(nullptr, 0, 0, 1180, 120, SWP_NOZORDER);
    ok = bar.GetCount() > 100;
  }
  ~Bench() {
    bar.DestroyWindow();
    owner.DestroyWindow();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
  }
};

Bench& TheBench() {
  static Bench bench;
  return bench;
}

void BM_ToolbarLayout100(benchmark::State& state) {
  Bench& b = TheBench();
  if (!b.ok) {
    state.SkipWithError("no bar");
    return;
  }
  for (auto _ : state) {
    // A floating width that wraps into rows, then the button rectangles.
    benchmark::DoNotOptimize(b.bar.CalcLayout(LM_HORZ | LM_COMMIT, 1100));
    b.bar.AdjustLocations();
  }
}
BENCHMARK(BM_ToolbarLayout100)->Unit(benchmark::kMicrosecond);

void BM_ToolbarPaint100(benchmark::State& state) {
  Bench& b = TheBench();
  if (!b.ok) {
    state.SkipWithError("no bar");
    return;
  }
  b.bar.m_iHot = 3;
  for (auto _ : state) b.bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
BENCHMARK(BM_ToolbarPaint100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
