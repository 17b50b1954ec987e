// Project files, opened by path as the open dialog does. A project that opens must keep the
// promises its users rely on: every slide duration within the album's bounds and totals that
// never overflow (the encoding dialog, the encode worker and the slide encoder multiply them).
#include <algorithm>
#include <climits>

#include "fuzz/FuzzSupport.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"

namespace {

int Capped(long long value) {
  return static_cast<int>(std::min<long long>(value, INT_MAX));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = pictavo::fuzz::WriteInput("project/fuzz.r7m", {data, size});
  CDVDProject project;
  int missingCount = 0;
  CStringArray missingFiles;
  if (!project.OpenFromFile(path.c_str(), missingCount, missingFiles, 0, -1)) return 0;

  // The totals as exact numbers, to compare with what the project answers (at most INT_MAX).
  const long long fps = project.Get_nFramesPerSecond();
  long long frames = 0;
  for (int a = 0; a < project.GetAlbumCount(); ++a) {
    CDVDAlbumBase* album = project.GetAlbum(a);
    if (album != nullptr && album->IsMovieAlbum())
      frames += static_cast<long long>(
                    (static_cast<const CDVDAlbumMovie*>(album)->GetAlbumDuration() + 500u) / 1000u) *
                fps;
    if (album == nullptr || !album->IsImageAlbum()) continue;
    const auto* photos = static_cast<const CDVDAlbumImage*>(album);
    long long seconds = 0;
    for (int i = 0; i < photos->GetImageCount(); ++i) {
      const int one = photos->Get_nOneDuration(i);
      const int two = photos->Get_nTwoDuration(i);
      pictavo::fuzz::Check(one >= 0 && one <= 3600 && two >= 0 && two <= 3600,
                           "a slide duration out of bounds");
      seconds += one + two;
    }
    pictavo::fuzz::Check(photos->Get_nSlideshowLen(-1) == Capped(seconds), "a wrong slideshow length");
    const long long total = seconds + photos->Get_nTitleDuration() + photos->Get_nCreditDuration();
    pictavo::fuzz::Check(photos->GetTotalLength() == Capped(total), "a wrong album length");
    frames += total * fps;
  }
  pictavo::fuzz::Check(project.GetTotalFrames() == Capped(frames), "a wrong frame total");
  return 0;
}
