// One step of an intensity slider on the photo editor's "Process" tab: the page takes the new
// position, writes the slide's six values, and the canvas (1024 x 768, the 2400 x 1600 sample
// photo shown) makes its picture again with them and repaints.
//
//   intensity/slider_step/brightness   the brightness thumb dragged one position each step
//   intensity/slider_step/balance      the same on the yellow-blue axis
//
// Run pinned to two cores: taskset -c 0,1 build/bench/bench_intensity_slider
#include <benchmark/benchmark.h>

#include <string>

#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditOperProcessPage.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMain.h"

namespace {

struct Editor {
  CWnd host;
  CPhotoEditCanvas canvas;
  CPhotoEditOperProcessPage page;
  CDVDAlbumImage* album = nullptr;
  CDVDImage* slide = nullptr;
  float factor = 1.0f;

  Editor() {
    pictavo::display::Initialize();
    InitCommonControls();
    pictavo::res::SetResourceRoot(std::string(PICTAVO_BIN_DIR) + "/resources");
    const std::string data = std::string(PICTAVO_SOURCE_DIR) + "/data";
    pictavo::shell::SetLanguageRoot(data);
    g_skinMain.Load(data.c_str(), "zel_en.xml", FALSE);
    host.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1100, 1000), nullptr, 0);
    album = GetProject()->AllocImageAlbum(nullptr);
    GetProject()->AddAlbum(album);
    slide = new CDVDImage(album);
    slide->Put_strPathName((std::string(PICTAVO_SOURCE_DIR) + "/samples/media/valley_large.jpg").c_str());
    album->AddDVDImage(slide);
    canvas.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 1024, 768), &host,
                  IDC_PHOTO_EDIT_CANVAS);
    canvas.SetScaleFactor(&factor);
    canvas.SetAlbum(album);
    canvas.SetImage(slide);
    canvas.UpdateWindow();
    page.SetCanvas(&canvas);
    page.SetAlbum(album);
    page.SetImage(slide);
    page.Create(IDD_PHOTO_EDIT_PROCESS, &host);
    page.SetWindowPos(nullptr, 0, 768, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    page.ShowWindow(SW_SHOW);
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  // The thumb at `position` as a drag reports it, then the canvas's repaint.
  void Step(int id, int position) {
    HWND slider = ::GetDlgItem(page.m_hWnd, id);
    ::SendMessage(slider, TBM_SETPOS, TRUE, position);
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
    canvas.UpdateWindow();
  }
};

Editor& TheEditor() {
  static Editor editor;
  return editor;
}

void Drag(benchmark::State& state, int id) {
  Editor& e = TheEditor();
  int position = 255, direction = 1;
  for (auto _ : state) {
    position += direction;
    if (position >= 400 || position <= 100) direction = -direction;
    e.Step(id, position);
  }
  e.Pump();
  // The last position reached the slide (a step that stored nothing would measure nothing).
  const _tagPhotoIntensityParam* stored = e.slide->Get_pPhotoIntensityParam();
  if (stored == nullptr || (id == 1053 ? stored->nBrightness : stored->nYellowBlue) != position - 255)
    state.SkipWithError("the slider's value was not stored");
}

void BM_Brightness(benchmark::State& state) {
  Drag(state, 1053);
}
void BM_Balance(benchmark::State& state) {
  Drag(state, 1058);
}
BENCHMARK(BM_Brightness)->Name("intensity/slider_step/brightness")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Balance)->Name("intensity/slider_step/balance")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
