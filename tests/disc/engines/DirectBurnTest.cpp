// Burning while the image is made, on a virtual recorder that keeps what it was given: the
// stream equals the BIN file, and every failure or stop ends without a hang, a done message or
// files left behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "disc/engines/DirectBurn.h"
#include "disc/engines/DiscJobState.h"
#include "disc/engines/Mode2Sector.h"
#include "modules/burn/BurnEngine.h"
#include "modules/burn/VirtualRecorder.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "tests/disc/engines/VcdFixtures.h"
#include "tests/support/MessageWindow.h"

using namespace vcdtest;
using pictavo::burn::VirtualRecorderSetup;

namespace {

struct BurnCase {
  const char* name;
  bool raw;
  int failPrepare;
  int failWriteAt;
  bool failFinish;
  int stopEventAt;     // sector at which the job's stop event is set; -1 never
  int callbackStopAt;  // sector at which the progress callback says stop; -1 never
  bool done;           // the disc and the files are finished
};

const BurnCase kCases[] = {
    {"raw", true, 0, -1, false, -1, -1, true},
    {"pipe", false, 0, -1, false, -1, -1, true},
    {"first set-up fails", true, 1, -1, false, -1, -1, true},
    {"both set-ups fail (raw)", true, 2, -1, false, -1, -1, false},
    {"both set-ups fail (pipe)", false, 2, -1, false, -1, -1, false},
    {"write fails (raw)", true, 0, 3, false, -1, -1, false},
    {"write fails (pipe)", false, 0, 3, false, -1, -1, false},
    {"finish fails", true, 0, -1, true, -1, -1, false},
    {"stop mid-burn (raw)", true, 0, -1, false, 200, -1, false},
    {"stop mid-burn (pipe)", false, 0, -1, false, 200, -1, false},
    {"callback stop (raw)", true, 0, -1, false, -1, 300, false},
    {"callback stop (pipe)", false, 0, -1, false, -1, 300, false},
};

struct Stopper {
  const BurnCase* c;
  HANDLE stopEvent;
};

int Progress(const _tagImageProgress& p, void* data) {
  auto* s = static_cast<Stopper*>(data);
  if (s->c->stopEventAt >= 0 && p.sectorsWritten >= uint32_t(s->c->stopEventAt)) SetEvent(s->stopEvent);
  return s->c->callbackStopAt >= 0 && p.sectorsWritten >= uint32_t(s->c->callbackStopAt);
}

}  // namespace

TEST(DirectBurn, StreamEqualsTheImageAndEveryFailureEndsCleanly) {
  for (const BurnCase& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    pictavo::test::MessageWindow window;
    CBurnEngine engine;
    VirtualRecorderSetup setup{dir / "recorder.log", dir / "stream.raw", c.raw, c.failPrepare, false,
                               c.failWriteAt,        c.failFinish};
    std::vector<std::unique_ptr<pictavo::burn::Recorder>> recorders;
    recorders.push_back(std::make_unique<pictavo::burn::VirtualRecorder>(setup));
    engine.UseRecorders(std::move(recorders));
    g_pActiveBurnEngine = &engine;
    g_bNeroEngineInUse = 0;
    VideoCDJob job{};
    job.window = window.Handle();
    job.stopEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    SetJobPath(job.binPath, (dir / "disc.bin").c_str());
    SetJobPath(job.cuePath, (dir / "disc.cue").c_str());

    _tagDiscAuthor* a = CreateDiscAuthor(DiscTypeVcd2);
    ASSERT_EQ(AddSequenceTrack(a, Source(dir, GetMedia().vcd2), "seq", "entry"), 0);
    g_nImageOutputFlags = kImageOutputBurn | kImageOutputFiles;
    job.totalSectors = BeginDiscOutput(a);
    Stopper stopper{&c, job.stopEvent};
    _tagImageSink* sink = CreateImageSink(job.cuePath, job.binPath, &job);
    const int rc = WriteDiscImage(a, sink, Progress, &stopper, &job);
    EndDiscOutput(a);
    DestroyDiscAuthor(a);
    g_pActiveBurnEngine = nullptr;

    std::multiset<UINT> seen;
    MSG msg;
    while (PeekMessage(&msg, window.Handle(), 0, 0, PM_REMOVE)) {
      seen.insert(msg.message);
      if (msg.message == WM_BURN_FAILED) std::free(reinterpret_cast<char*>(msg.wParam));
    }
    CloseHandle(job.stopEvent);
    const std::string log = ReadWholeFile(dir / "recorder.log");
    EXPECT_EQ(rc, c.done ? 0 : 1) << log;
    EXPECT_EQ(seen.count(WM_BURN_FINISHED), c.done ? 1u : 0u);
    EXPECT_EQ(seen.count(WM_IMAGE_WRITE_DONE), c.done ? 1u : 0u);
    EXPECT_EQ(fs::exists(job.binPath), c.done);
    EXPECT_EQ(fs::exists(job.cuePath), c.done);
    EXPECT_FALSE(fs::exists(std::string(job.binPath) + ".part"));
    EXPECT_FALSE(fs::exists(std::string(job.cuePath) + ".part"));
    const bool failedBurn = c.failPrepare >= 2 || c.failWriteAt >= 0 || c.failFinish;
    EXPECT_EQ(seen.count(WM_BURN_FAILED), failedBurn ? 1u : 0u);
    if (!c.done) continue;

    // The recorder got the image: descrambled raw sectors (or the pipe's bytes) equal the BIN.
    std::string stream = ReadWholeFile(dir / "stream.raw");
    const std::string bin = ReadWholeFile(job.binPath);
    ASSERT_EQ(stream.size(), bin.size());
    if (c.raw)
      for (size_t at = 0; at < stream.size(); at += kRawSectorBytes)
        ScrambleSector(reinterpret_cast<uint8_t*>(&stream[at]));
    EXPECT_TRUE(stream == bin);
    const uint32_t sectors = uint32_t(bin.size() / kRawSectorBytes);
    EXPECT_EQ(sectors, job.totalSectors);
    EXPECT_NE(log.find("leadout " + std::to_string(sectors)), std::string::npos) << log;
    if (c.raw) {
      // 27-sector writes at 0, 27, 54 ... and the rest.
      for (uint32_t at = 0; at < sectors; at += kBurnBlockSectors)
        EXPECT_NE(log.find("write " + std::to_string(at) + " " +
                           std::to_string(std::min<uint32_t>(27, sectors - at) * kRawSectorBytes) + "\n"),
                  std::string::npos)
            << at;
      EXPECT_EQ(seen.count(WM_BURN_PROGRESS), (sectors + 26) / 27);
    }
    // The cue sheet of session-at-once writing: lead-in, track 1, track 2 with its pregap, lead-out.
    EXPECT_NE(
        log.find(
            "cue 41 00 00 24 00 00 00 00 41 01 00 21 00 00 00 00 41 01 01 21 00 00 02 00 41 02 00 21 00"),
        std::string::npos)
        << log;
    if (c.failPrepare == 1)
      EXPECT_NE(log.find("mode 1\nprepare\nmode 2\nprepare\nstart"), std::string::npos) << log;
  }
}
