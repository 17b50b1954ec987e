// Photo decoding and resizing, the work of the photo cache, the prefetcher and the frame path.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "modules/image/CxImage.h"

namespace {

constexpr int kPhotoW = 4000, kPhotoH = 3000;

// A 12-megapixel camera-like picture: smooth shading with fine texture, so the JPEG carries about
// as much detail as a photo does.
CxImage MakePhoto() {
  CxImage photo;
  photo.Create(kPhotoW, kPhotoH, 24);
  uint32_t seed = 1;
  for (int y = 0; y < kPhotoH; ++y) {
    BYTE* row = photo.GetBits(y);
    for (int x = 0; x < kPhotoW; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = static_cast<int>(seed >> 27);
      row[3 * x] = static_cast<BYTE>((x * 255 / kPhotoW + noise) & 0xFF);
      row[3 * x + 1] = static_cast<BYTE>((y * 255 / kPhotoH + noise) & 0xFF);
      row[3 * x + 2] = static_cast<BYTE>(((x + y) * 255 / (kPhotoW + kPhotoH)) ^ noise);
    }
  }
  return photo;
}

const CxImage& Photo() {
  static const CxImage photo = MakePhoto();
  return photo;
}

const std::vector<BYTE>& PhotoJpeg() {
  static const std::vector<BYTE> bytes = [] {
    const std::string path = "/tmp/pictavo-bench-" + std::to_string(::getpid()) + ".jpg";
    CxImage photo(Photo());
    photo.SetJpegQuality(90);
    photo.Save(path.c_str(), CXIMAGE_FORMAT_JPG);
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(path.c_str());
    return data;
  }();
  return bytes;
}

void DecodeJpeg(benchmark::State& state) {
  const auto& bytes = PhotoJpeg();
  const long box = state.range(0);  // 0: whole picture
  for (auto _ : state) {
    CxImage image;
    const bool ok = box ? image.DecodeScaled(bytes.data(), static_cast<DWORD>(bytes.size()), box, box * 3 / 4)
                        : image.Decode(bytes.data(), static_cast<DWORD>(bytes.size()));
    if (!ok) state.SkipWithError(image.GetLastError());
    benchmark::DoNotOptimize(image.GetBits(0));
  }
  state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
// Whole, then the box of a quarter (1000 x 750) and of an eighth (500 x 375).
BENCHMARK(DecodeJpeg)->Arg(0)->Arg(1000)->Arg(500)->Unit(benchmark::kMillisecond);

void Resample(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  CxImage source(Photo());
  for (auto _ : state) {
    CxImage out;
    source.Resample(1280, 720, mode, &out);
    benchmark::DoNotOptimize(out.GetBits(0));
  }
}
BENCHMARK(Resample)
    ->Arg(CXIMAGE_RESAMPLE_NEAREST)
    ->Arg(CXIMAGE_RESAMPLE_BILINEAR)
    ->Arg(CXIMAGE_RESAMPLE_BICUBIC)
    ->Unit(benchmark::kMillisecond);

// The photo cache's copy: decode reduced to cover 1600 x 1200, fit with the fast mode, save.
void PhotoCacheCopy(benchmark::State& state) {
  const auto& bytes = PhotoJpeg();
  const std::string path = "/tmp/pictavo-bench-copy-" + std::to_string(::getpid()) + ".jpg";
  for (auto _ : state) {
    CxImage image;
    image.DecodeScaled(bytes.data(), static_cast<DWORD>(bytes.size()), 1600, 1200);
    image.Resample(1600, 1200, CXIMAGE_RESAMPLE_NEAREST);
    image.Save(path.c_str(), CXIMAGE_FORMAT_JPG);
  }
  std::remove(path.c_str());
}
BENCHMARK(PhotoCacheCopy)->Unit(benchmark::kMillisecond);

}  // namespace
