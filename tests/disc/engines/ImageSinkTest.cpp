// What the image sink produces for each setting of the output bits, and images that must not be
// reported done: a stop by the progress callback, an extra file that shrank before writing.
#include <gtest/gtest.h>

#include <map>

#include "disc/engines/DirectBurn.h"
#include "disc/engines/DiscJobState.h"
#include "disc/engines/Mode2Sector.h"
#include "modules/burn/BurnEngine.h"
#include "modules/burn/VirtualRecorder.h"
#include "tests/disc/engines/VcdFixtures.h"
#include "tests/support/MessageWindow.h"

using namespace vcdtest;

namespace {

std::map<UINT, int> Drain(HWND window) {
  std::map<UINT, int> seen;
  MSG msg;
  while (PeekMessage(&msg, window, 0, 0, PM_REMOVE)) {
    ++seen[msg.message];
    if (msg.message == WM_BURN_FAILED) std::free(reinterpret_cast<char*>(msg.wParam));
  }
  return seen;
}

// A one-sequence Video CD written with `flags`; WriteDiscImage's result.
int WriteWithFlags(const ScratchDir& dir, uint32_t flags, VideoCDJob& job,
                   ImageProgressCallback progress = nullptr) {
  _tagDiscAuthor* a = CreateDiscAuthor(DiscTypeVcd2);
  EXPECT_EQ(AddSequenceTrack(a, Source(dir, GetMedia().vcd2), "seq", nullptr), 0);
  g_nImageOutputFlags = flags;
  job.totalSectors = BeginDiscOutput(a);
  _tagImageSink* sink = CreateImageSink(job.cuePath, job.binPath, &job);
  const int rc = WriteDiscImage(a, sink, progress, nullptr, &job);
  EndDiscOutput(a);
  DestroyDiscAuthor(a);
  return rc;
}

}  // namespace

TEST(ImageSink, OutputBits) {
  struct Case {
    uint32_t flags;
    bool files;
    bool sectorMessages;
  };
  const Case kCases[] = {{0, false, true}, {kImageOutputFiles, true, true}, {kImageOutputBurn, false, false}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.flags);
    ScratchDir dir;
    pictavo::test::MessageWindow window;
    CBurnEngine engine;
    std::vector<std::unique_ptr<pictavo::burn::Recorder>> recorders;
    recorders.push_back(std::make_unique<pictavo::burn::VirtualRecorder>(
        pictavo::burn::VirtualRecorderSetup{dir / "log", dir / "stream", true}));
    engine.UseRecorders(std::move(recorders));
    g_pActiveBurnEngine = &engine;
    VideoCDJob job{};
    job.window = window.Handle();
    SetJobPath(job.binPath, (dir / "d.bin").c_str());
    SetJobPath(job.cuePath, (dir / "d.cue").c_str());
    EXPECT_EQ(WriteWithFlags(dir, c.flags, job), 0);
    g_pActiveBurnEngine = nullptr;
    auto seen = Drain(window.Handle());
    EXPECT_EQ(fs::exists(job.binPath), c.files);
    EXPECT_EQ(fs::exists(job.cuePath), c.files);
    EXPECT_EQ(seen[WM_IMAGE_CUESHEET_SET], c.files ? 1 : 0);
    EXPECT_EQ(seen[WM_IMAGE_WRITE_DONE], c.files ? 1 : 0);
    EXPECT_EQ(seen[WM_IMAGE_SECTOR_WRITTEN], c.sectorMessages ? int(job.totalSectors) : 0);
    // Burning starts with the cue sheet whatever the files bit says.
    EXPECT_EQ(seen[WM_BURN_FINISHED], c.flags & kImageOutputBurn ? 1 : 0);
  }
}

TEST(ImageSink, UnfinishedImagesLeaveNoFiles) {
  ScratchDir dir;
  VideoCDJob job{};
  SetJobPath(job.binPath, (dir / "d.bin").c_str());
  SetJobPath(job.cuePath, (dir / "d.cue").c_str());
  EXPECT_EQ(WriteWithFlags(dir, kImageOutputFiles, job,
                           [](const _tagImageProgress& p, void*) { return p.sectorsWritten > 100 ? 1 : 0; }),
            1);
  for (const char* name : {"d.bin", "d.cue", "d.bin.part", "d.cue.part"})
    EXPECT_FALSE(fs::exists(dir / name)) << name;

  // An extra file that is shorter when written than when it was added fails the image.
  const std::string extra = dir.Write("extra.jpg", std::string(5000, 'x'));
  _tagDiscAuthor* a = CreateDiscAuthor(DiscTypeVcd2);
  ASSERT_EQ(AddCustomFile(a, "PHOTO FILES/EXTRA.JPG", OpenFileSource(extra.c_str()), false), 0);
  pictavo::test::WriteWholeFile(extra, "short");
  g_nImageOutputFlags = kImageOutputFiles;
  ASSERT_GT(BeginDiscOutput(a), 0u);
  EXPECT_EQ(WriteDiscImage(a, CreateImageSink(job.cuePath, job.binPath, nullptr), nullptr, nullptr, nullptr),
            1);
  EndDiscOutput(a);
  DestroyDiscAuthor(a);
  for (const char* name : {"d.bin", "d.cue", "d.bin.part", "d.cue.part"})
    EXPECT_FALSE(fs::exists(dir / name)) << name;

  // A BIN that cannot be written (its folder is missing) is no image either.
  VideoCDJob lost{};
  SetJobPath(lost.binPath, (dir / "gone/d.bin").c_str());
  SetJobPath(lost.cuePath, (dir / "d.cue").c_str());
  EXPECT_EQ(WriteWithFlags(dir, kImageOutputFiles, lost), 1);
  EXPECT_FALSE(fs::exists(dir / "d.cue"));
  EXPECT_FALSE(fs::exists(dir / "d.cue.part"));
}

TEST(ImageSink, ArgumentsAnd2336ByteSectors) {
  ScratchDir dir;
  _tagImageSink* sink = CreateImageSink((dir / "a.cue").c_str(), (dir / "a.bin").c_str(), nullptr);
  const std::string renamed = dir / "b.bin";
  struct Case {
    const char *key, *value;
    int rc;
  };
  const Case kCases[] = {{"bin", nullptr, -2}, {"cue", nullptr, -2},        {"sector", "4096", -2},
                         {"speed", "1", -1},   {"bin", renamed.c_str(), 0}, {"sector", "2336", 0}};
  for (const Case& c : kCases) EXPECT_EQ(SinkSetArg(sink, c.key, c.value), c.rc) << c.key;
  g_nImageOutputFlags = kImageOutputFiles;
  uint8_t sector[kRawSectorBytes];
  for (uint32_t k = 0; k < 3; ++k) {
    EncodeMode2Sector(sector, nullptr, k, 0, 0, 0x20, 0);
    EXPECT_EQ(SinkWriteSector(sink, sector, k), 0);
  }
  ASSERT_EQ(SinkSetCueSheet(sink, {{0, CueTrackStart}, {3, CueLeadoutStart}}, nullptr), 0);
  EXPECT_EQ(SinkFree(sink), 0);
  EXPECT_EQ(fs::file_size(dir / "b.bin"), 3u * kRawForm2Bytes);
  EXPECT_NE(ReadWholeFile(dir / "a.cue").find("MODE2/2336"), std::string::npos);
}
