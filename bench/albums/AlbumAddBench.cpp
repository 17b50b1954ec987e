// Adding 1,000 camera-sized photos (4000 x 3000 JPEGs, hard links of one generated picture) to
// an album through the album editor, as Add Photos does once the dialog closed (AddPhotoFiles,
// which adds in short posted steps and refreshes the list after the last), with the photo page
// in thumbnails view. Reported: the time until the photo list shows every row, the time until
// the thumbnail loader has put every thumbnail in, and the longest the UI thread was busy at
// once over the whole run (any one step of the add or any one message while thumbnails arrive).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumPhotoDlg.h"
#include "albums/ExploreBarDlg.h"
#include "modules/data/DVDAlbumImage.h"
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

// The UI thread's own CPU time: a stretch longer in wall time than in CPU time was the machine's
// other work preempting it, not ours.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

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
  AlbumPhotoDlg& page = editor.GetAlbumSheet().GetPhotoPage();
  page.SetThumbnailView();
  using Clock = std::chrono::steady_clock;
  const auto msSince = [](Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
  };
  double listedMs = 0, thumbnailsMs = 0, longestMs = 0, longestCpuMs = 0;
  int run = 0;
  for (auto _ : state) {
    editor.NewProject();
    PumpPending();
    std::vector<CString> paths;
    for (int i = 0; i < kPhotos; ++i) {
      char name[32];
      snprintf(name, sizeof name, "IMG_%04d.JPG", i);
      paths.emplace_back((folder / name).c_str());
    }
    // As Add Photos hands the dialog's files over: the first step runs in the call, the rest
    // arrive as posted steps among the other messages; every message handled is one busy stretch.
    const auto start = Clock::now();
    const double cpuStart = ThreadCpuMs();
    editor.AddPhotoFiles(std::move(paths));
    double longestAdding = msSince(start), listed = -1, longestArriving = 0;
    double longestCpu = ThreadCpuMs() - cpuStart;
    int steps = 1;
    CDVDAlbumImage* album = nullptr;
    const auto allIn = [&] {
      if (album == nullptr) return false;
      for (int i = 0; i < album->GetImageCount(); ++i)
        if (!album->GetImage(i)->IsThumbnailCurrent()) return false;
      return true;
    };
    bool complete = false;
    while (!(complete = allIn())) {
      if (listed < 0 && !editor.IsAddingPhotoFiles()) {
        listed = msSince(start);
        album = editor.GetCurrentImageAlbum();
        if (album == nullptr || page.GetListCtrl().GetItemCount() != kPhotos || !page.IsThumbnailView() ||
            !page.IsWindowVisible())
          break;
        continue;
      }
      MSG msg;
      if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (listed >= 0 && !page.IsLoadingThumbnails() && !PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE))
          break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        continue;
      }
      const auto busy = Clock::now();
      const double cpuBusy = ThreadCpuMs();
      TranslateMessage(&msg);
      DispatchMessage(&msg);
      const double took = msSince(busy);
      longestCpu = std::max(longestCpu, ThreadCpuMs() - cpuBusy);
      if (listed < 0) {
        longestAdding = std::max(longestAdding, took);
        ++steps;
      } else {
        longestArriving = std::max(longestArriving, took);
      }
    }
    if (listed < 0 || page.GetListCtrl().GetItemCount() != kPhotos) {
      state.SkipWithError("the page does not show every photo as thumbnails");
      break;
    }
    const double thumbnails = msSince(start);
    // Each run on its own line, so that one slow run shows beside the worst-of counters.
    std::fprintf(stderr,
                 "run %d: %d photos listed in %.1f ms over %d messages, longest %.1f ms; "
                 "thumbnails in %.0f ms, longest stretch while they arrive %.1f ms; "
                 "longest UI-thread CPU in one message %.1f ms\n",
                 ++run, kPhotos, listed, steps, longestAdding, thumbnails, longestArriving, longestCpu);
    const double longest = std::max(longestAdding, longestArriving);
    if (!complete) {
      state.SkipWithError("the loader ended before every thumbnail was in");
      break;
    }
    listedMs = std::max(listedMs, listed);
    thumbnailsMs = std::max(thumbnailsMs, thumbnails);
    longestMs = std::max(longestMs, longest);
    longestCpuMs = std::max(longestCpuMs, longestCpu);
    state.SetIterationTime(thumbnails / 1000.0);
    PumpPending();
  }
  state.counters["rows"] = kPhotos;
  state.counters["listed_ms"] = listedMs;
  state.counters["thumbnails_ms"] = thumbnailsMs;
  state.counters["longest_busy_ms"] = longestMs;
  state.counters["longest_cpu_ms"] = longestCpuMs;
  editor.NewProject();
  editor.DestroyWindow();
  panel.DestroyWindow();
  owner.DestroyWindow();
  PumpPending();
}
BENCHMARK(AddThousandPhotos)
    ->Name("add/1000-photos-listed-and-thumbnails-in")
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
