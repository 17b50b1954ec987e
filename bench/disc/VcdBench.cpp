// Video-CD image writing beside a plain copy of the same bytes, the program stream scanner, and
// the layout of a disc full of segment units.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "disc/engines/DiscAuthor.h"
#include "disc/engines/ImageSink.h"
#include "disc/engines/Mode2Sector.h"
#include "disc/engines/MpegSource.h"

namespace {

constexpr int kPacks = 2000;  // 4.6 MB of MPEG, 4.7 MB of image sectors

struct Folder {
  std::string path;
  Folder() {
    char pattern[] = "/tmp/pictavo-bench-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~Folder() { std::filesystem::remove_all(path); }
};

// A program stream of video packs, each a pack header, a PES packet with a time stamp and a
// payload that begins with a picture start, filling 2324 bytes.
std::string MakeStream(const std::string& path) {
  std::string data;
  uint32_t seed = 1;
  for (int k = 0; k < kPacks; ++k) {
    std::string pack("\x00\x00\x01\xBA\x21\x00\x01\x00\x01\x80\x1B\x91", 12);
    const size_t body = kPacketBytes - 12 - 6;
    pack += std::string("\x00\x00\x01\xE0", 4) + char(body >> 8) + char(body & 0xFF);
    const uint64_t pts = uint64_t(k) * 3600;
    pack += char(0x21 | ((pts >> 29) & 0x0E));
    pack += char(pts >> 22);
    pack += char(((pts >> 14) & 0xFE) | 1);
    pack += char(pts >> 7);
    pack += char(((pts << 1) & 0xFE) | 1);
    pack += std::string("\x00\x00\x01\x00\x00\x08", 6);
    // Coded video looks like noise to the start code search.
    for (size_t i = pack.size(); i < kPacketBytes; ++i)
      pack += char((seed = seed * 1103515245 + 12345) >> 16);
    data += pack;
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
  return path;
}

void BM_ImageWriting(benchmark::State& state) {
  Folder folder;
  const std::string source = MakeStream(folder.path + "/seq.mpg");
  g_nImageOutputFlags = kImageOutputFiles;
  uint64_t bytes = 0;
  for (auto _ : state) {
    _tagDiscAuthor* a = CreateDiscAuthor(DiscTypeVcd2);
    _tagMpegSource* s = CreateMpegSource(OpenFileSource(source.c_str()));
    ScanMpegSource(s, true, false, nullptr, nullptr);
    AddSequenceTrack(a, s, "seq", nullptr);
    const uint32_t sectors = BeginDiscOutput(a);
    _tagImageSink* sink =
        CreateImageSink((folder.path + "/d.cue").c_str(), (folder.path + "/d.bin").c_str(), nullptr);
    WriteDiscImage(a, sink, nullptr, nullptr, nullptr);
    EndDiscOutput(a);
    DestroyDiscAuthor(a);
    bytes += uint64_t(sectors) * kRawSectorBytes;
  }
  state.SetBytesProcessed(int64_t(bytes));
}
BENCHMARK(BM_ImageWriting)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same number of bytes read in 2324-byte pieces and written in 2352-byte sectors through
// the same 128 KB stdio buffers: the floor of the image writer.
void BM_PlainCopy(benchmark::State& state) {
  Folder folder;
  const std::string source = MakeStream(folder.path + "/seq.mpg");
  const size_t sectors = kPacks + 300 + 150 + 30 + 45 + 150;
  uint64_t bytes = 0;
  std::vector<char> in(0x20000), out(0x20000);
  for (auto _ : state) {
    FILE* r = std::fopen(source.c_str(), "rb");
    FILE* w = std::fopen((folder.path + "/copy.bin").c_str(), "wb");
    setvbuf(r, in.data(), _IOFBF, in.size());
    setvbuf(w, out.data(), _IOFBF, out.size());
    char sector[kRawSectorBytes] = {};
    for (size_t k = 0; k < sectors; ++k) {
      if (std::fread(sector + 24, 1, kForm2Bytes, r) == 0) std::fseek(r, 0, SEEK_SET);
      std::fwrite(sector, 1, sizeof(sector), w);
    }
    std::fclose(r);
    std::fclose(w);
    bytes += sectors * kRawSectorBytes;
  }
  state.SetBytesProcessed(int64_t(bytes));
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Scanner(benchmark::State& state) {
  Folder folder;
  const std::string source = MakeStream(folder.path + "/seq.mpg");
  for (auto _ : state) {
    _tagMpegSource* s = CreateMpegSource(OpenFileSource(source.c_str()));
    benchmark::DoNotOptimize(ScanMpegSource(s, true, false, nullptr, nullptr));
    DestroyMpegSource(s, true);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kPacks * kPacketBytes);
}
BENCHMARK(BM_Scanner)->Unit(benchmark::kMillisecond);

// 1,980 segment units (the most a disc holds) as 1,980 one-unit menu pictures.
void BM_LayoutOf1980SegmentUnits(benchmark::State& state) {
  for (auto _ : state) {
    _tagDiscAuthor* a = CreateDiscAuthor(DiscTypeVcd2);
    for (int i = 0; i < 1980; ++i) {
      _tagMpegSource* s = CreateMpegSource(nullptr);
      s->scanned = true;
      s->info.packetCount = 150;
      AddSegmentItem(a, s, ("item" + std::to_string(i)).c_str());
    }
    benchmark::DoNotOptimize(BeginDiscOutput(a));
    EndDiscOutput(a);
    DestroyDiscAuthor(a);
  }
}
BENCHMARK(BM_LayoutOf1980SegmentUnits)->Unit(benchmark::kMillisecond);

}  // namespace
