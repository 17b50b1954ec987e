// Laying out a tasks pane of 200 links in ten groups, some wrapping over two lines, with the scroll
// range worked out (the measuring pass) and every rectangle placed (aim: under 5 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "toolkit/customize/PlxTasksPane.h"

namespace {

struct TwoHundredTasks {
  CWnd host;
  CPlxTasksPane pane;

  bool Make() {
    setenv("PICTAVO_DISPLAY", "headless", 0);
    if (!pictavo::display::Initialize()) return false;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    pictavo::res::SetResourceRoot((exe.parent_path().parent_path() / "bin" / "resources").string());
    if (!host.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                       CRect(0, 0, 300, 700), nullptr, 0))
      return false;
    pane.m_bAnimationEnabled = FALSE;
    pane.m_bWrapTasks = TRUE;
    if (!pane.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, 1)) return false;
    pane.MoveWindow(0, 0, 220, 700);
    for (int g = 0; g < 10; ++g) {
      const int group = pane.AddGroup(0, ("Group " + std::to_string(g)).c_str());
      for (int t = 0; t < 20; ++t) {
        const std::string label = t % 4 == 0 ? "A longer task label that wraps onto a second line here"
                                             : "Task " + std::to_string(t);
        pane.AddTask(group, label.c_str(), -1, 40000 + static_cast<UINT>(g * 20 + t));
      }
    }
    pane.AdjustLocations();
    return pane.GetScrollMax() > 0;
  }
  ~TwoHundredTasks() {
    if (host.GetSafeHwnd() != nullptr) host.DestroyWindow();
  }
};

void BM_LayOutTwoHundredTasks(benchmark::State& state) {
  TwoHundredTasks t;
  if (!t.Make()) {
    state.SkipWithError("no display, or the tasks do not scroll");
    return;
  }
  for (auto _ : state) {
    t.pane.AdjustLocations();  // the measuring pass for the scroll range
    benchmark::DoNotOptimize(t.pane.ReposTasks());
  }
}
BENCHMARK(BM_LayOutTwoHundredTasks)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
