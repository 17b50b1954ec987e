// One splitter step in a row of four sizing bars docked at the top of a frame: the pointer moves
// while the edge between the second and the third bar is tracked (sizes, neighbour, tracker
// inverted twice), and the row's layout when the edge is let go (aim for each: under 10 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

struct RowOfFour {
  CFrameWnd frame;
  std::vector<std::unique_ptr<CPlxSizingControlBar>> bars;

  bool Make() {
    setenv("PICTAVO_DISPLAY", "headless", 0);
    if (!pictavo::display::Initialize()) return false;
    // The glyphs and cursors come from the program's resources in the build tree.
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    pictavo::res::SetResourceRoot((exe.parent_path().parent_path() / "bin" / "resources").string());
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    if (!frame.Create(nullptr, "Row", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 600)))
      return false;
    frame.EnableDocking(CBRS_ALIGN_ANY);
    for (int i = 0; i < 4; ++i) {
      auto bar = std::make_unique<CPlxSizingControlBar>();
      if (!bar->Create("Bar", &frame, CSize(250, 160), TRUE, 0xEA00 + i, WS_CHILD | CBRS_TOP)) return false;
      bar->EnableDocking(CBRS_ALIGN_ANY);
      if (bars.empty()) {
        frame.DockControlBar(bar.get(), AFX_IDW_DOCKBAR_TOP);
      } else {
        CRect last;
        bars.back()->GetWindowRect(&last);
        const CRect drop(last.right - 1, last.top + 1, last.right, last.top + 2);
        frame.DockControlBar(bar.get(), AFX_IDW_DOCKBAR_TOP, &drop);
      }
      bars.push_back(std::move(bar));
    }
    frame.RecalcLayout();
    return true;
  }
  ~RowOfFour() {
    if (frame.GetSafeHwnd() != nullptr) frame.DestroyWindow();
  }
};

void BM_SplitterStepInARowOfFour(benchmark::State& state) {
  RowOfFour row;
  if (!row.Make()) {
    state.SkipWithError("no display");
    return;
  }
  CPlxSizingControlBar* bar = row.bars[1].get();
  bar->StartTracking(HTRIGHT);
  if (!bar->m_bTracking) {
    state.SkipWithError("the edge is not tracked");
    return;
  }
  const CPoint origin = bar->m_ptOld;
  int step = 0;
  for (auto _ : state) {
    // Back and forth over 60 pixels, a few at a time, as a hand moves.
    step = (step + 3) % 120;
    const int dx = step < 60 ? step : 120 - step;
    bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(origin.x + dx, origin.y));
  }
  bar->StopTracking();
}
BENCHMARK(BM_SplitterStepInARowOfFour)->Unit(benchmark::kMicrosecond);

void BM_RowLayoutAfterASplitterStep(benchmark::State& state) {
  RowOfFour row;
  if (!row.Make()) {
    state.SkipWithError("no display");
    return;
  }
  int step = 0;
  for (auto _ : state) {
    step = (step + 1) % 40;
    row.bars[1]->m_szHorz.cx += step < 20 ? 3 : -3;
    row.bars[2]->m_szHorz.cx -= step < 20 ? 3 : -3;
    row.frame.RecalcLayout();
    for (auto& bar : row.bars) bar->UpdateWindow();
  }
}
BENCHMARK(BM_RowLayoutAfterASplitterStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
