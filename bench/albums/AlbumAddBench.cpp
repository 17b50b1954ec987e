// Adding 1,000 camera-sized photos (4000 x 3000 JPEGs, hard links of one generated picture) to
// an album through the album editor, as Add Photos does once the dialog closed: each file handed
// to AddPhotoFile, then the batch's refresh. Reported: the time until the photo list shows every
// row, and that same stretch as the longest the UI thread was busy at once, since the batch runs
// in one handler.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "albums/AlbumEditorDlg.h"
#include "albums/ExploreBarDlg.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPhotos = 1000;

void PumpPending() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

fs::path MakePhotos() {
  const fs::path folder = fs::temp_directory_path() / "pictavo-bench-albums" / "Camera";
  fs::create_directories(folder);
  const fs::path first = folder / "IMG_0000.JPG";
  if (!fs::exists(first)) CDVDImage::CreateBlankImage(first.c_str(), RGB(90, 140, 200), 4000, 3000);
  for (int i = 1; i < kPhotos; ++i) {
    char name[32];
    snprintf(name, sizeof name, "IMG_%04d.JPG", i);
    if (!fs::exists(folder / name)) fs::create_hard_link(first, folder / name);
  }
  return folder;
}

void AddThousandPhotos(benchmark::State& state) {
  const fs::path folder = MakePhotos();
  CWnd owner;
  owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1024, 768), nullptr, 0);
  ExploreBarDlg panel;
  panel.Create(IDD_EXPLORE_BAR, &owner);
  AlbumEditorDlg editor;
  editor.Create(IDD_ALBUM_EDITOR, &owner);
  editor.MoveWindow(0, 200, 1024, 500);
  editor.ShowWindow(SW_SHOW);
  PumpPending();
  double longestMs = 0;
  for (auto _ : state) {
    editor.NewProject();
    PumpPending();
    const auto start = std::chrono::steady_clock::now();
    editor.ClearAddedImages();
    CDVDAlbumBase* slot = nullptr;
    for (int i = 0; i < kPhotos; ++i) {
      char name[32];
      snprintf(name, sizeof name, "IMG_%04d.JPG", i);
      editor.AddPhotoFile(&slot, (folder / name).c_str(), nullptr, nullptr);
    }
    editor.RefreshAfterAdd(slot, nullptr, TRUE);
    editor.SelectAddedImages();
    editor.UpdateWindow();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    longestMs = std::max(longestMs, ms);
    if (editor.GetAlbumSheet().GetPhotoPage().GetListCtrl().GetItemCount() != kPhotos)
      state.SkipWithError("the list does not show every photo");
    PumpPending();
  }
  state.counters["rows"] = kPhotos;
  state.counters["longest_busy_ms"] = longestMs;
  editor.NewProject();
  editor.DestroyWindow();
  panel.DestroyWindow();
  owner.DestroyWindow();
  PumpPending();
}
BENCHMARK(AddThousandPhotos)
    ->Name("add/1000-photos-until-listed")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  setenv("PICTAVO_DISPLAY", "headless", 0);
  if (!pictavo::display::Initialize()) return 1;
  pictavo::res::SetResourceRoot(std::string(PICTAVO_BIN_DIR) + "/resources");
  InitCommonControls();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
