// One drag-over step of a toolbar button across a 100-button bar in customize mode: the drop
// target asks the bar, which rebuilds the button from the drag data, finds the drop place, moves
// the mark and repaints (aim: under 5 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/display/Display.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

void BM_ToolbarDragOverStep(benchmark::State& state) {
  setenv("PICTAVO_DISPLAY", "headless", 0);
  if (!pictavo::display::Initialize()) {
    state.SkipWithError("no display");
    return;
  }
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  CWnd host;
  host.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1280, 200), nullptr, 0);
  CPlxToolBar bar;
  bar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_TOP, 1001);
  for (UINT i = 0; i < 100; ++i) bar.InsertButton(CPlxToolbarButton(32000 + i, static_cast<int>(i % 16), "Button"));
  bar.SetWindowPos(nullptr, 0, 0, 1280, 120, SWP_NOZORDER);
  bar.AdjustLayout();
  CPlxToolbarButton dragged(57603, 2, "Save");
  COleDataSource data;
  dragged.PrepareDrag(data);
  COleDataObject object;
  object.Attach(&data);
  CPlxToolBar::SetCustomizeMode(TRUE);
  bar.m_dropTarget.OnDragEnter(&bar, &object, 0, CPoint(1, 5));
  int x = 0;
  for (auto _ : state) {
    // Across the rows, a few pixels at a time, as the pointer moves.
    x = (x + 7) % 1200;
    benchmark::DoNotOptimize(bar.m_dropTarget.OnDragOver(&bar, &object, 0, CPoint(x, 5 + (x % 3) * 22)));
    bar.UpdateWindow();
  }
  bar.m_dropTarget.OnDragLeave(&bar);
  CPlxToolBar::SetCustomizeMode(FALSE);
  bar.DestroyWindow();
  host.DestroyWindow();
}
BENCHMARK(BM_ToolbarDragOverStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
