// The custom pan-and-zoom page's preview under the mouse, over a 4000 x 2500 photo on a 4:3
// project (the preview letterboxes it to 1024 x 768 once, when the slide is shown):
//
//   BM_PanZoomDragStep      one drag step: the pan moved, the page told, the first frame of the
//                           motion made by the pan-and-zoom engine, the preview repainted
//                           (grey field, frame, back buffer to the screen); the page's preview
//                           size, 284 x 213
//   BM_PanZoomDragStepVeil  the same paint under the veil (a disabled page is repainted so)
//   BM_PanZoomPrepare       the letterboxed copy made again (a slide switch or aspect change)
//
// Run pinned to two cores: taskset -c 0,1 build/bench/bench_panzoom_preview
#include <benchmark/benchmark.h>

#include "editing/PanZoomPreviewStatic.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/display/Display.h"
#include "platform/gdiplus/GdiPlusFlat.h"

namespace {

struct Host {
  CWnd owner;
  CxImage photo;
  CDVDAlbumImage* album = nullptr;
  CDVDImage* slide = nullptr;
  CPanZoomPreviewStatic preview{&photo, &slide};
  ULONG_PTR gdiplus = 0;

  Host() {
    pictavo::display::Initialize();
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
    GetProject()->GetOptionsData()->nAspectCorrection = 1;
    album = GetProject()->AllocImageAlbum(nullptr);
    GetProject()->AddAlbum(album);
    slide = new CDVDImage(album);
    album->AddDVDImage(slide);
    // A photo with detail everywhere, so the engine samples real pixels.
    photo.Create(4000, 2500, 24);
    for (long y = 0; y < 2500; ++y) {
      BYTE* row = photo.GetBits(static_cast<DWORD>(y));
      for (long x = 0; x < 4000; ++x)
        row[x * 3] = static_cast<BYTE>(x), row[x * 3 + 1] = static_cast<BYTE>(y),
                row[x * 3 + 2] = static_cast<BYTE>(x ^ y);
    }
    owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
    preview.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(10, 10, 294, 223), &owner, 1468);
    preview.m_workParam.fStartZoom = 120;
    preview.PrepareSource();
    preview.UpdateWindow();
  }
};

Host& TheHost() {
  static Host host;
  return host;
}

void DragSteps(benchmark::State& state, BOOL editable) {
  Host& host = TheHost();
  host.preview.SetEditable(editable);
  // The drag runs with the button held; an editable preview starts it, a veiled one ignores the
  // mouse, so there the step is the render and paint a drag would cause.
  host.preview.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  int x = 100;
  for (auto _ : state) {
    x = x == 100 ? 101 : 100;  // back and forth by a pixel: the pan stays inside its range
    if (editable)
      host.preview.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 100));
    else
      host.preview.Render();
    host.preview.UpdateWindow();
  }
  host.preview.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 100));
}

void BM_PanZoomDragStep(benchmark::State& state) {
  DragSteps(state, TRUE);
}

void BM_PanZoomDragStepVeil(benchmark::State& state) {
  DragSteps(state, FALSE);
}

void BM_PanZoomPrepare(benchmark::State& state) {
  Host& host = TheHost();
  host.preview.SetEditable(TRUE);
  for (auto _ : state) host.preview.PrepareSource();
}

BENCHMARK(BM_PanZoomDragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanZoomDragStepVeil)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanZoomPrepare)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
