// A colour popup on the headless display, from the click on its colour menu button to its first
// complete paint: automatic row, the forty-colour grid, document colours asked of the frame and
// the other-colour row, with the menu shadow (aim: under 10 ms on two cores).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Message.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/core/PlxColorPopup.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/customize/PlxColorMenuButton.h"

namespace {

void Pump() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

// A frame that hands out four document colours, as a document with a few coloured objects would.
class CDocumentFrame : public CPlxFrameWnd {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && message == PLX_WM_GETDOCUMENTCOLORS) {
      auto* list = reinterpret_cast<CList<COLORREF, COLORREF>*>(lParam);
      for (COLORREF color : {RGB(30, 60, 90), RGB(200, 120, 40), RGB(90, 0, 160), RGB(10, 200, 10)})
        list->AddTail(color);
      return 0;
    }
    return CPlxFrameWnd::WindowProc(message, wParam, lParam);
  }
};

struct ColorHost {
  ColorHost() {
    setenv("PICTAVO_DISPLAY", "headless", 0);
    pictavo::display::Initialize();
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : "bin") + "/resources");
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    frame.Create(nullptr, "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480));
    bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 1001);
    bar.SetWindowPos(nullptr, 0, 0, 640, 26, SWP_NOZORDER);
    button = new CPlxColorMenuButton(3000, "Colour");
    for (int i = 0; i < 40; ++i) button->m_Colors.Add(RGB(i * 6, 255 - i * 6, (i * 37) % 256));
    button->m_nColumns = 8;
    button->EnableAutomaticButton("Automatic", RGB(0, 0, 0));
    button->EnableOtherButton("More Colors...");
    button->EnableDocumentColors("Document's Colors");
    bar.InsertButtonObject(button);
    bar.AdjustLayout();
    button->m_rect = CRect(10, 2, 40, 24);
  }
  ~ColorHost() {
    button->OnCancelMode();
    Pump();
    bar.DestroyWindow();
    frame.DestroyWindow();
  }
  CDocumentFrame frame;
  CPlxToolBar bar;
  CPlxColorMenuButton* button = nullptr;  // owned by the bar
};

void BM_ColorPopupOpenToFirstPaint(benchmark::State& state) {
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
  ColorHost host;
  for (auto _ : state) {
    if (!host.button->OpenPopupMenu(&host.bar)) {
      state.SkipWithError("the popup did not open");
      return;
    }
    auto* popup = static_cast<CColorPopup*>(host.button->GetPopupMenu());
    popup->UpdateWindow();
    popup->m_colorBar.UpdateWindow();
    benchmark::DoNotOptimize(popup->m_colorBar.GetCount());
    state.PauseTiming();
    host.button->OnCancelMode();
    Pump();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ColorPopupOpenToFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
