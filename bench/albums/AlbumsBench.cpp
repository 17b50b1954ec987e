// The photo list page with 1,000 slides on the headless display, the UI thread's share only (the
// thumbnails are made by the loader thread meanwhile):
//   photo_list/fill    the rows of an album refilled: texts, item data, the loader started
//   photo_list/sort    the rows sorted by the name column (the sorter's text compare)
//   photo_list/paint   the visible page of thumbnails painted once
#include <benchmark/benchmark.h>

#include <string>

#include "albums/AlbumPhotoDlg.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/res/ResourceModule.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"

namespace {

constexpr int kSlides = 1000;
const char* const kPhotos[] = {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg",
                               "wide_panorama.jpg", "bars_small.jpg"};

struct Page {
  CWnd owner;
  AlbumPhotoDlg page;
  CDVDAlbumImage* album = nullptr;

  Page() {
    pictavo::display::Initialize();
    InitCommonControls();
    pictavo::res::SetResourceRoot(std::string(PICTAVO_BIN_DIR) + "/resources");
    const std::string data = std::string(PICTAVO_SOURCE_DIR) + "/data";
    pictavo::shell::SetLanguageRoot(data);
    g_skinMinor.Load(data.c_str(), "zel_en.xml", FALSE);
    g_skinMain.Load(data.c_str(), "zel_en.xml", FALSE);
    owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1000, 700), nullptr, 0);
    page.Create(IDD_ALBUM_PHOTO, &owner);
    page.MoveWindow(0, 0, 1000, 700);
    page.ShowWindow(SW_SHOW);
    album = new CDVDAlbumImage(GetProject());
    for (int i = 0; i < kSlides; ++i) {
      auto* slide = new CDVDImage(album);
      slide->Put_strPathName((std::string(PICTAVO_SOURCE_DIR) + "/samples/media/" + kPhotos[i % 5]).c_str());
      album->AddDVDImage(slide);
    }
    GetProject()->AddAlbum(album);
  }
};

Page& ThePage() {
  static Page page;
  return page;
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

void BM_Fill(benchmark::State& state) {
  Page& p = ThePage();
  for (auto _ : state) {
    p.page.FillPhotoList(p.album, TRUE);
    state.PauseTiming();
    p.page.StopThumbnailLoader(TRUE);
    state.ResumeTiming();
  }
  state.counters["rows"] = p.page.GetListCtrl().GetItemCount();
}
BENCHMARK(BM_Fill)->Name("photo_list/fill")->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
  Page& p = ThePage();
  p.page.FillPhotoList(p.album, TRUE);
  p.page.StopThumbnailLoader(TRUE);
  for (auto _ : state) p.page.SortByColumn(1);
}
BENCHMARK(BM_Sort)->Name("photo_list/sort")->Unit(benchmark::kMillisecond);

void BM_Paint(benchmark::State& state) {
  Page& p = ThePage();
  p.page.FillPhotoList(p.album, TRUE);
  p.page.StopThumbnailLoader(TRUE);
  for (auto _ : state) {
    p.page.GetListCtrl().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
  }
}
BENCHMARK(BM_Paint)->Name("photo_list/paint")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
