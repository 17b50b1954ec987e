// The toolkit's drawing costs: the drop shadow of a menu-sized popup (aim: under 5 ms).
#include <benchmark/benchmark.h>

#include "tests/support/Canvas.h"
#include "toolkit/core/PlxDrawHelper.h"

namespace {

void BM_MenuShadow(benchmark::State& state) {
  // A 220 x 400 menu with the popup menu's 6-pixel shadow on a screen-sized area.
  pictavo::test::Canvas canvas(640, 480, RGB(236, 233, 216));
  CDC dc;
  dc.Attach(canvas.Dc());
  CPlxDrawHelper helper(&dc);
  for (auto _ : state) {
    benchmark::DoNotOptimize(helper.DrawShadow(CRect(100, 40, 320, 440), 6, 100, 65));
  }
  dc.Detach();
}
BENCHMARK(BM_MenuShadow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
