// Building the command catalogue of a frame whose menus hold 500 commands in ten popups (with a
// sub-menu each) and asking one name, as the frame core does for its quick-customize lists
// (aim: under 5 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Menu.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

namespace {

struct FiveHundredCommands {
  CFrameWnd frame;  // never made a window: only its menu is read

  bool Make() {
    setenv("PICTAVO_DISPLAY", "headless", 0);
    if (!pictavo::display::Initialize()) return false;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    pictavo::res::SetResourceRoot((exe.parent_path().parent_path() / "bin" / "resources").string());
    HMENU bar = ::CreateMenu();
    for (int p = 0; p < 10; ++p) {
      HMENU popup = ::CreatePopupMenu();
      HMENU sub = ::CreatePopupMenu();
      for (int c = 0; c < 50; ++c) {
        const std::string text = "&Command number " + std::to_string(c) + "\tCtrl+" + std::to_string(c % 10);
        ::AppendMenu(c < 40 ? popup : sub, MF_STRING, static_cast<UINT_PTR>(20000 + p * 50 + c),
                     text.c_str());
      }
      ::AppendMenu(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More commands");
      ::AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), ("Menu " + std::to_string(p)).c_str());
    }
    frame.m_hMenuDefault = bar;
    const CPlxToolbarCustomize probe(&frame, TRUE, CUSTOPT_KEEP_AMPERSANDS);
    return probe.GetCommandName(20499) != nullptr;
  }
  ~FiveHundredCommands() {
    if (frame.m_hMenuDefault != nullptr) ::DestroyMenu(frame.m_hMenuDefault);
    frame.m_hMenuDefault = nullptr;
  }
};

void BM_CatalogueOfFiveHundredCommands(benchmark::State& state) {
  FiveHundredCommands f;
  if (!f.Make()) {
    state.SkipWithError("no display, or the catalogue misses a command");
    return;
  }
  for (auto _ : state) {
    const CPlxToolbarCustomize catalogue(&f.frame, TRUE, CUSTOPT_KEEP_AMPERSANDS);
    benchmark::DoNotOptimize(catalogue.GetCommandName(20499));
  }
}
BENCHMARK(BM_CatalogueOfFiveHundredCommands)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
