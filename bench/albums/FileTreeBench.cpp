// The folder tree opening a folder of 5,000 subfolders, each holding one photo and every tenth a
// folder of its own (so each child's button test reads a folder), on the headless display:
//   file_tree/expand   the folder closed (its items dropped) and opened again: the listing, one
//                      children test per subfolder, 5,000 items inserted and sorted
//   file_tree/select   the tree rebuilt, then a folder below one of the 5,000 selected and opened
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "albums/FileTreeCtrl.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/mfc/Dialog.h"
#include "platform/res/ResourceModule.h"

namespace {

constexpr int kFolders = 5000;

struct Fixture {
  std::string root;
  CDialog host{64460};
  CFileTreeCtrl* tree = new CFileTreeCtrl;

  Fixture() {
    pictavo::display::Initialize();
    InitCommonControls();
    pictavo::res::SetResourceRoot(std::string(PICTAVO_BIN_DIR) + "/resources");
    root =
        (std::filesystem::temp_directory_path() / ("file-tree-bench-" + std::to_string(getpid()))).string();
    for (int i = 0; i < kFolders; ++i) {
      const std::string folder = root + "/album " + std::to_string(i);
      std::filesystem::create_directories(i % 10 == 0 ? folder + "/more" : folder);
      std::ofstream(folder + "/photo.jpg") << "jpeg";
    }
    host.Create(64460);
    tree->SubclassDlgItem(1020, &host);
    tree->AttachImageList();
    tree->SetShowFiles(FALSE);
  }
  ~Fixture() {
    host.DestroyWindow();
    delete tree;
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

void BM_ExpandFolders(benchmark::State& state) {
  Fixture& f = TheFixture();
  const HTREEITEM folder = f.tree->SelectPath(f.root.c_str(), FALSE);
  if (!folder) {
    state.SkipWithError("the folder was not found");
    return;
  }
  for (auto _ : state) {
    f.tree->Expand(folder, TVE_COLLAPSE | TVE_COLLAPSERESET);
    f.tree->SetHasChildren(folder, 1);
    f.tree->ExpandItem(folder);
    f.tree->Expand(folder, TVE_EXPAND);
  }
  if (f.tree->GetCount() < static_cast<UINT>(kFolders)) state.SkipWithError("the folders were not listed");
  state.counters["items"] = static_cast<double>(kFolders);
}
BENCHMARK(BM_ExpandFolders)->Name("file_tree/expand")->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SelectFromFreshTree(benchmark::State& state) {
  Fixture& f = TheFixture();
  const CString path = (f.root + "/album 4990/more").c_str();
  for (auto _ : state) {
    f.tree->Refresh();
    if (!f.tree->SelectPath(path, TRUE)) state.SkipWithError("the path was not found");
  }
}
BENCHMARK(BM_SelectFromFreshTree)->Name("file_tree/select")->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
