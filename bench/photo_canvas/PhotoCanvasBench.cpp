// The photo editor's canvas while the user drags a text: one mouse move of the drag and the
// repaint it causes (photo, album colour, every object drawn into the off-screen bitmap, one copy
// to the window), at 1024 x 768 over a photo with three gradient texts, two clip arts and two
// album-wide objects. 60 steps a second need 16.7 ms or less a step.
//
//   BM_DragTextRepaint     the move and the paint, the text going back and forth across the photo
//   BM_RepaintOnly         the paint alone, nothing moving
//
// Run pinned to two cores: taskset -c 0,1 build/bench/bench_photo_canvas
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "editing/PhotoEditCanvas.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "shell/LanguageFile.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;

std::string Source(const std::string& part) {
  return std::string(PICTAVO_SOURCE_DIR) + "/" + part;
}

void PumpPending() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

struct Scene {
  CWnd host;
  CPhotoEditCanvas canvas;
  CDVDAlbumImage* album = nullptr;
  CDVDImage* slide = nullptr;
  float factor = 1.0f;
  _DVDImageTextFont style{};
  CDVDImageSprite* dragged = nullptr;

  Scene() {
    host.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr,
                  0);
    canvas.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &host, IDC_PHOTO_EDIT_CANVAS);
    album = GetProject()->AllocImageAlbum(nullptr);
    GetProject()->AddAlbum(album);
    slide = new CDVDImage(album);
    slide->Put_strPathName(Source("samples/media/valley_large.jpg").c_str());
    album->AddDVDImage(slide);
    CDVDImageText::SetDefaultTextFontData(&style);
    canvas.SetScaleFactor(&factor);
    canvas.SetTextFontData(&style);
    canvas.SetAlbum(album);
    canvas.SetImage(slide);
    Paint();

    // Three texts in a linear gradient, the last one is dragged.
    const char* texts[] = {"Summer by the sea", "Day $[p] of $[P]", "Dragged across"};
    for (const char* text : texts) {
      style.effect.brush.nBrushType = 1;
      style.effect.brush.clrGradient1 = RGB(255, 220, 40);
      style.effect.brush.clrGradient2 = RGB(220, 40, 120);
      style.effect.brush.nGradientAngle = 90;
      style.bShadow = TRUE;
      canvas.InsertText(text);
    }
    dragged = canvas.GetSelectedSprite();
    canvas.AddClipArt(Source("data/ArtClip/Shapes/Star.emf").c_str(), 600, 420, 160, 160);
    canvas.AddClipArt(Source("data/ArtClip/Celebration/Balloons.emf").c_str(), 90, 380, 140, 180);
    // Album-wide: a text and a clip art shown on every slide.
    auto* banner = new CDVDImageText(slide);
    banner->SetDVDImageTextFont(&style);
    banner->Set_strText("My album");
    banner->Set_ptPosition(CPoint(500, 30));
    album->AddImageSprite(banner, 0);
    auto* sun = new CDVDImageProps(slide);
    sun->Set_strPathName(Source("data/ArtClip/Shapes/Sun.emf").c_str());
    sun->Set_ptPosition(CPoint(20, 20));
    sun->Set_szSize(CSize(120, 120));
    album->AddImageSprite(sun, 0);
    Paint();
  }
  ~Scene() {
    canvas.DestroyWindow();
    host.DestroyWindow();
    GetProject()->DeleteAlbum(album);
  }
  void Paint() {
    canvas.Invalidate(FALSE);
    canvas.UpdateWindow();
    PumpPending();
  }
};

void BM_DragTextRepaint(benchmark::State& state) {
  Scene scene;
  const CRect box = scene.dragged->GetBoundRect(scene.canvas.GetFrameOrigin());
  const CPoint grab(box.left + box.Width() / 2, box.top + box.Height() / 2);
  scene.canvas.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  PumpPending();
  const CPoint start = scene.dragged->Get_ptPosition();
  int step = 0;
  for (auto _ : state) {
    // Back and forth over 400 pixels, 4 pixels a move, as a steady hand gives them.
    const int offset = (step % 200) < 100 ? (step % 100) * 4 : (100 - step % 100) * 4;
    ++step;
    scene.canvas.SendMessage(WM_MOUSEMOVE, MK_LBUTTON,
                             MAKELPARAM(grab.x + offset - 200, grab.y + offset / 4));
    scene.canvas.UpdateWindow();
  }
  scene.canvas.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(grab.x, grab.y));
  if (step > 1 && scene.dragged->Get_ptPosition() == start) state.SkipWithError("the text did not move");
  state.counters["steps_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DragTextRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RepaintOnly(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) scene.Paint();
}
BENCHMARK(BM_RepaintOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("PICTAVO_DISPLAY", "headless", 0);
  if (!pictavo::display::Initialize()) return 1;
  pictavo::res::SetResourceRoot(std::string(PICTAVO_BIN_DIR) + "/resources");
  pictavo::shell::SetLanguageRoot(Source("data"));
  InitCommonControls();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
