// Opening and saving a large project: 2,000 slides in four albums, each slide with a text object,
// its own transition and durations, and background music.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"

namespace {

namespace fs = std::filesystem;

constexpr int kAlbums = 4;
constexpr int kSlidesPerAlbum = 500;

// A folder with 50 small photos that the slides name in turn.
struct Fixture {
  fs::path folder;
  std::string file;
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "pictavo-bench-XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
    CxImage photo;
    photo.Create(32, 24, 24);
    photo.Fill(RGB(90, 120, 200));
    for (int i = 0; i < 50; ++i)
      photo.Save((folder / ("photo" + std::to_string(i) + ".jpg")).c_str(), CXIMAGE_FORMAT_JPG);
    file = (folder / "large.r7m").string();
    CDVDProject project;
    Fill(project);
    project.SaveToFile(file.c_str());
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  void Fill(CDVDProject& project) const {
    for (int a = 0; a < kAlbums; ++a) {
      CDVDAlbumImage* album = project.AllocImageAlbum(nullptr);
      album->Set_strAlbumName(("Album " + std::to_string(a)).c_str());
      project.AddAlbum(album);
      _AUDIO_SOURCE music;
      music.strPathName = (folder / "music.mp3").c_str();
      music.nSourceLength = music.nTrimEnd = 180000;
      album->AddBackgroundMusic(music);
      for (int s = 0; s < kSlidesPerAlbum; ++s) {
        auto* slide = new CDVDImage(album);
        slide->Put_strPathName((folder / ("photo" + std::to_string(s % 50) + ".jpg")).c_str());
        slide->Set_strTransName("Cross Fade");
        slide->Put_nTwoDuration(3 + s % 4);
        auto* text = new CDVDImageText(slide);
        text->Set_strText("Day $[p] of $[P]");
        slide->AddImageSprite(text, 0);
        album->AddDVDImage(slide);
      }
    }
  }
};

const Fixture& Shared() {
  static const Fixture fixture;
  return fixture;
}

void BM_OpenProject2000Slides(benchmark::State& state) {
  const Fixture& fixture = Shared();
  for (auto _ : state) {
    CDVDProject project;
    CStringArray missing;
    int count = 0;
    if (!project.OpenFromFile(fixture.file.c_str(), count, missing, 0, -1))
      state.SkipWithError("open failed");
    benchmark::DoNotOptimize(project.GetTotalImages());
  }
}
BENCHMARK(BM_OpenProject2000Slides)->Unit(benchmark::kMillisecond);

void BM_SaveProject2000Slides(benchmark::State& state) {
  const Fixture& fixture = Shared();
  CDVDProject project;
  fixture.Fill(project);
  const std::string file = (fixture.folder / "saved.r7m").string();
  for (auto _ : state)
    if (!project.SaveToFile(file.c_str())) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveProject2000Slides)->Unit(benchmark::kMillisecond);

}  // namespace
