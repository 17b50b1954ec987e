// Popup menu costs on the headless display: a 40-item menu from the click on its menu-bar item to
// its first complete paint, and one step of the fade animation (aim for each: under 10 ms on two
// cores).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

void Pump() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

// A toolkit frame with a menu bar item whose menu has `count` items.
struct MenuHost {
  explicit MenuHost(int count) {
    setenv("PICTAVO_DISPLAY", "headless", 0);
    pictavo::display::Initialize();
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : "bin") + "/resources");
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    CPlxMenuBar::m_bRecentlyUsedMenus = FALSE;
    frame.Create(nullptr, "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480));
    bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001);
    bar.SetWindowPos(nullptr, 0, 0, 640, 24, SWP_NOZORDER);
    HMENU menu = ::CreatePopupMenu();
    for (int i = 0; i < count; ++i) {
      char text[48];
      std::snprintf(text, sizeof text, "Command number %d\tCtrl+%c", i + 1, 'A' + i % 26);
      ::AppendMenu(menu, MF_STRING, 1000 + i, text);
      if (i % 8 == 7) ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    }
    item = std::make_unique<CPlxToolbarMenuButton>(0, menu, -1, "&File");
    ::DestroyMenu(menu);
    item->OnChangeParentWnd(&bar);
    item->m_rect = CRect(10, 0, 60, 22);
  }
  ~MenuHost() {
    item->OnCancelMode();
    Pump();
    bar.DestroyWindow();
    frame.DestroyWindow();
  }
  CPlxPopupMenu* Open() {
    if (!item->OpenPopupMenu(&bar)) return nullptr;
    return item->GetPopupMenu();
  }
  void Close() {
    item->OnCancelMode();
    Pump();
  }
  CPlxFrameWnd frame;
  CPlxToolBar bar;
  std::unique_ptr<CPlxToolbarMenuButton> item;
};

void BM_FortyItemMenuClickToFirstPaint(benchmark::State& state) {
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
  MenuHost host(40);
  for (auto _ : state) {
    CPlxPopupMenu* popup = host.Open();
    if (popup == nullptr) {
      state.SkipWithError("the popup did not open");
      return;
    }
    popup->UpdateWindow();
    popup->GetMenuBar()->UpdateWindow();
    benchmark::DoNotOptimize(popup->IsShown());
    state.PauseTiming();
    host.Close();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FortyItemMenuClickToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_FadeStep(benchmark::State& state) {
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::Fade;
  MenuHost host(40);
  CPlxPopupMenu* popup = nullptr;
  for (auto _ : state) {
    if (popup == nullptr || popup->IsIdle()) {
      state.PauseTiming();
      if (popup != nullptr) host.Close();
      popup = host.Open();
      if (popup == nullptr) {
        state.SkipWithError("the popup did not open");
        return;
      }
      popup->KillTimer(CPlxPopupMenu::kAnimationTimer);
      popup->UpdateWindow();  // the first frame makes the off-screen images
      state.ResumeTiming();
    }
    popup->AnimationStep(1);  // blends the whole menu over the screen and paints it
  }
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
}
BENCHMARK(BM_FadeStep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
