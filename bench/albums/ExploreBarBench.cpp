// The file browser panel listing a folder of 2,000 photos (hard links of one generated 4000 x 3000
// JPEG, a camera's size) in its thumbnail view, as a click on the folder in the tree does
// (DisplayFolder): the time until the list holds every row (the UI thread's share: the folder's
// entries, one row record, slide and five texts each, the loader started), then until every photo
// row's tile has its thumbnail, and the longest the UI thread was busy with one message while the
// thumbnails arrived.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "albums/ExploreBarDlg.h"
#include "modules/data/DVDImage.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/User.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPhotos = 2000;

fs::path MakePhotos() {
  const fs::path folder = fs::temp_directory_path() / "pictavo-bench-browser" / "Camera";
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

bool EveryThumbnailIn(CListCtrl& list) {
  for (int row = 0; row < list.GetItemCount(); ++row) {
    const auto* item = reinterpret_cast<const _tagBrowserItem*>(list.GetItemData(row));
    if (item != nullptr && item->nKind == 0 &&
        static_cast<CDVDImage*>(item->pData)->GetThumbnail(0, 0) == nullptr)
      return false;
  }
  return true;
}

void ListTwoThousandPhotos(benchmark::State& state) {
  const fs::path folder = MakePhotos();
  CWnd owner;
  owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1024, 768), nullptr, 0);
  ExploreBarDlg panel;
  panel.Create(IDD_EXPLORE_BAR, &owner);
  panel.MoveWindow(0, 0, 1024, 300);
  panel.ShowWindow(SW_SHOW);
  CListCtrl& list = panel.GetFileList();
  using Clock = std::chrono::steady_clock;
  const auto msSince = [](Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
  };
  double rowsMs = 0, thumbnailsMs = 0, longestMs = 0;
  int run = 0;
  for (auto _ : state) {
    panel.DisplayFolder(fs::temp_directory_path().c_str());  // another folder first: a fresh listing
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    const auto start = Clock::now();
    panel.DisplayFolder(folder.c_str());
    const double rows = msSince(start);
    if (list.GetItemCount() != kPhotos + 1) {  // and the parent-folder row
      state.SkipWithError("the list does not hold every photo");
      break;
    }
    double longest = 0;
    while (!EveryThumbnailIn(list)) {
      if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        continue;
      }
      const auto busy = Clock::now();
      TranslateMessage(&msg);
      DispatchMessage(&msg);
      longest = std::max(longest, msSince(busy));
    }
    const double thumbnails = msSince(start);
    std::fprintf(stderr, "run %d: %d rows in %.1f ms; every thumbnail in %.0f ms; longest message %.1f ms\n",
                 ++run, kPhotos, rows, thumbnails, longest);
    rowsMs = std::max(rowsMs, rows);
    thumbnailsMs = std::max(thumbnailsMs, thumbnails);
    longestMs = std::max(longestMs, longest);
    state.SetIterationTime(thumbnails / 1000.0);
  }
  state.counters["rows"] = kPhotos;
  state.counters["rows_ms"] = rowsMs;
  state.counters["thumbnails_ms"] = thumbnailsMs;
  state.counters["longest_busy_ms"] = longestMs;
  panel.DestroyWindow();
  owner.DestroyWindow();
}
BENCHMARK(ListTwoThousandPhotos)
    ->Name("browser/2000-photos-rows-then-thumbnails")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
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
