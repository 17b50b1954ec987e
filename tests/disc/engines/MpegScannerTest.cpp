// The program stream scanner on ffmpeg's streams, on hand-made damaged packs, and on a corpus of
// seeded mutants: every scan ends, stays inside its buffers (run under ASan/UBSan by hand) and
// agrees with ReadMpegPacket.
#include <gtest/gtest.h>

#include <random>

#include "tests/disc/engines/VcdFixtures.h"

using namespace vcdtest;

namespace {

using Raw = std::string;

// An MPEG-1 pack header with SCR 0 and a mux rate.
Raw Pack1() {
  return Raw("\x00\x00\x01\xBA\x21\x00\x01\x00\x01\x80\x1B\x91", 12);
}

Raw Pes(uint8_t id, const Raw& body, int length = -1) {
  const size_t n = length < 0 ? body.size() : size_t(length);
  Raw p("\x00\x00\x01", 3);
  p += char(id);
  p += char(n >> 8);
  p += char(n & 0xFF);
  return p + body;
}

// An MPEG-1 PES header with a PTS of `seconds`.
Raw Pts(double seconds) {
  const uint64_t v = uint64_t(seconds * 90000);
  Raw b(5, 0);
  b[0] = char(0x21 | ((v >> 29) & 0x0E));
  b[1] = char(v >> 22);
  b[2] = char(((v >> 14) & 0xFE) | 1);
  b[3] = char(v >> 7);
  b[4] = char(((v << 1) & 0xFE) | 1);
  return b;
}

// A video payload: sequence header 352x288 at 25, GOP, I-picture.
Raw VideoStart() {
  Raw b("\x00\x00\x01\xB3\x16\x01\x20\x13\xFF\xFF\xE0\x18", 12);
  b += Raw("\x00\x00\x01\xB8\x00\x08\x00\x00", 8);
  b += Raw("\x00\x00\x01\x00\x00\x08\xFF\xF8", 8);
  return b;
}

Raw Padded(Raw pack) {
  if (pack.size() < kPacketBytes) pack += Pes(0xBE, Raw(kPacketBytes - pack.size() - 6, '\xFF'));
  return pack;
}

struct ScanResult {
  int rc;
  uint32_t packets;
  _tagStreamInfo info;
};

ScanResult Scan(const ScratchDir& dir, const Raw& bytes, bool strict = true) {
  const std::string path = dir.Write("case.mpg", bytes);
  _tagMpegSource* s = CreateMpegSource(OpenFileSource(path.c_str()));
  ScanResult r{ScanMpegSource(s, strict, false, nullptr, nullptr), 0, {}};
  r.packets = s->info.packetCount;
  r.info = s->info;
  DestroyMpegSource(s, true);
  return r;
}

// Reads every packet forwards, then a few backwards; each must agree with the scan.
void AgreeWithReads(_tagMpegSource* s) {
  const uint32_t n = s->info.packetCount;
  std::vector<std::string> forward;
  uint8_t buffer[kPacketBytes];
  for (uint32_t k = 0; k < n; ++k) {
    _tagPacketInfo info;
    ASSERT_EQ(ReadMpegPacket(s, k, buffer, &info, true), 0) << k;
    forward.emplace_back(reinterpret_cast<char*>(buffer), kPacketBytes);
  }
  EXPECT_EQ(ReadMpegPacket(s, n, buffer, nullptr, false), -1);
  for (uint32_t k = n; k-- > 0 && k + 4 > n;) {
    ASSERT_EQ(ReadMpegPacket(s, k, buffer, nullptr, true), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), kPacketBytes), forward[k]);
  }
}

}  // namespace

TEST(MpegScanner, FfmpegStreams) {
  ScratchDir dir;
  const Media& m = GetMedia();
  _tagMpegSource* vcd = Source(dir, m.vcd1);
  const _tagStreamInfo& v = vcd->info;
  EXPECT_EQ(v.mpegVersion, 1u);
  EXPECT_EQ(ClassifyVideoFormat(v), VideoPalSif);
  EXPECT_GE(v.video[0].accessPoints.size(), 2u);
  EXPECT_NEAR(v.video[0].accessPoints.front().time, 0.0, 0.1);  // audio starts a little earlier
  EXPECT_TRUE(v.audio[0].present);
  EXPECT_EQ(v.audio[0].layer, 2u);
  EXPECT_EQ(v.audio[0].samplingRate, 44100u);
  EXPECT_EQ(v.audio[0].bitRate, 224u * 1024);
  EXPECT_NEAR(v.playingTime, 1.5, 0.2);
  AgreeWithReads(vcd);
  DestroyMpegSource(vcd, true);
  _tagMpegSource* svcd = Source(dir, m.svcd1);
  EXPECT_EQ(svcd->info.mpegVersion, 2u);
  EXPECT_EQ(ClassifyVideoFormat(svcd->info), VideoPal23D1);
  AgreeWithReads(svcd);
  DestroyMpegSource(svcd, true);
  _tagMpegSource* still = Source(dir, m.vcdStill);
  EXPECT_TRUE(still->info.video[1].present);
  EXPECT_FALSE(still->info.video[0].present);
  DestroyMpegSource(still, true);
}

TEST(MpegScanner, DamagedStreams) {
  ScratchDir dir;
  const Raw good = Padded(Pack1() + Pes(0xE0, Pts(1) + VideoStart()));
  struct Case {
    const char* name;
    Raw bytes;
    int rc;
    uint32_t packets;
  };
  Raw cutSystemHeader = Pack1() + Pes(0xBB, Raw("\x80\x1B\x91\x04\xE1\xFF", 6));
  const Case kCases[] = {
      {"three bytes", Raw("\x00\x00\x01", 3), -1, 0},
      {"no pack start", Raw(100, 'x'), -1, 0},
      {"one good pack", good, 0, 1},
      {"pack header at the file end", good + Raw("\x00\x00\x01\xBA\x21\x00", 6), -1, 1},
      {"garbage after packs", good + good + Raw(100, '\x55'), -1, 2},
      {"zero bytes after packs", good + Raw(kPacketBytes * 2 + 10, '\0'), 0, 4},
      {"PES length 0", Padded(Pack1() + Pes(0xE0, "", 0)), 0, 1},
      {"PES length 0xFFFF", Pack1() + Pes(0xE0, Pts(1) + VideoStart(), 0xFFFF), -1, 0},
      {"header-data length past the packet", Padded(Pack1() + Pes(0xE0, Raw("\x80\x80\xFF\x21", 4))), 0, 1},
      {"a header at the packet end", Pack1() + Pes(0xE0, Pts(1) + Raw("\x00\x00\x01\xB3", 4)), 0, 1},
      {"stuffing to the packet end", Pack1() + Pes(0xE0, Raw(16, '\xFF')), 0, 1},
      {"empty subtitle payload", Padded(Pack1() + Pes(0xBD, Raw("\x0F", 1))), 0, 1},
      {"cut system header", cutSystemHeader, 0, 1},
  };
  for (const Case& c : kCases) {
    const ScanResult r = Scan(dir, c.bytes);
    EXPECT_EQ(r.rc, c.rc) << c.name;
    EXPECT_EQ(r.packets, c.packets) << c.name;
  }
  // A damaged source is refused by the adds.
  _tagDiscAuthor* a = CreateDiscAuthor(DiscTypeVcd2);
  const std::string path = dir.Write("bad.mpg", good + Raw(10, '\x55'));
  _tagMpegSource* bad = CreateMpegSource(OpenFileSource(path.c_str()));
  EXPECT_EQ(AddSequenceTrack(a, bad, "s", nullptr), -1);
  EXPECT_EQ(AddSegmentItem(a, bad, "t"), -1);
  DestroyMpegSource(bad, true);
  DestroyDiscAuthor(a);
}

TEST(MpegScanner, PacketInfoAndAccessPoints) {
  ScratchDir dir;
  // Sequence, GOP and I-picture at the payload start: kind 4 at packet 0, time 0.
  const Raw first = Padded(Pack1() + Pes(0xE0, Pts(1) + VideoStart()));
  // A later I-picture without a sequence header: only without strict scanning.
  const Raw later = Padded(Pack1() + Pes(0xE0, Pts(2) + Raw("\x00\x00\x01\x00\x00\x08\xFF\xF8", 8)));
  const ScanResult strict = Scan(dir, first + later, true);
  ASSERT_EQ(strict.info.video[0].accessPoints.size(), 1u);
  EXPECT_EQ(strict.info.video[0].accessPoints[0].packet, 0u);
  EXPECT_EQ(strict.info.video[0].accessPoints[0].time, 0.0);
  const ScanResult loose = Scan(dir, first + later, false);
  ASSERT_EQ(loose.info.video[0].accessPoints.size(), 2u);
  EXPECT_EQ(loose.info.video[0].accessPoints[1].time, 1.0);
  EXPECT_EQ(strict.info.video[0].horizontalSize, 352u);
  EXPECT_EQ(strict.info.video[0].verticalSize, 288u);
  EXPECT_EQ(strict.info.video[0].frameRate, 25.0);

  // System header entries past 0xE2 and 0xC2 mark nothing; 0xE0 and 0xC1 do.
  const struct {
    uint8_t id;
    int packetClass;
  } kIds[] = {{0xE3, PacketOther},
              {0xC3, PacketOther},
              {0xE0, PacketVideo},
              {0xC1, PacketAudio},
              {0xB9, PacketOther}};
  for (const auto& c : kIds) {
    Raw header("\x80\x1B\x91\x04\xE1\xFF", 6);
    header += char(c.id);
    header += Raw("\xE0\x2E", 2);
    const Raw pack = Padded(Pack1() + Pes(0xBB, header));
    _tagStreamInfo s;
    _tagPacketInfo info;
    ASSERT_EQ(
        ParseMpegPacket(reinterpret_cast<const uint8_t*>(pack.data()), uint32_t(pack.size()), true, s, info),
        kPacketBytes);
    EXPECT_EQ(ClassifyPacket(info), c.packetClass) << int(c.id);
  }
  // Subtitle streams from private stream 1: a first byte 0-3, or 0x70 then 0-3.
  for (const Raw& body : {Raw("\x0F\x02", 2), Raw("\x0F\x70\x02", 3)}) {
    const Raw pack = Padded(Pack1() + Pes(0xBD, body));
    _tagStreamInfo s;
    _tagPacketInfo info;
    ParseMpegPacket(reinterpret_cast<const uint8_t*>(pack.data()), uint32_t(pack.size()), true, s, info);
    EXPECT_EQ(info.subtitle[2], 1);
    EXPECT_EQ(ClassifyPacket(info), PacketSubtitle);
  }
}

TEST(MpegScanner, InterpolationAndScanOffsets) {
  EXPECT_EQ(InterpolatePacketTime(5, {}), 0.0);
  EXPECT_EQ(InterpolatePacketTime(5, {{10, 3.0}}), 3.0);  // under two points: the nearest
  const std::vector<AccessPoint> points = {{0, 0}, {10, 1}, {20, 2}};
  EXPECT_DOUBLE_EQ(InterpolatePacketTime(5, points), 0.5);
  EXPECT_DOUBLE_EQ(InterpolatePacketTime(25, points), 2.5);
  uint8_t block[14] = {0x10, 0x0E};
  UpdateScanOffsets(block, 15, 1.5, points);
  const uint8_t kExpected[14] = {0x10, 0x0E, 0x00, 0x80, 0x90, 0x00, 0x80,
                                 0xA0, 0x00, 0x80, 0x80, 0x00, 0x80, 0xA0};
  EXPECT_EQ(std::vector<uint8_t>(block, block + 14), std::vector<uint8_t>(kExpected, kExpected + 14));
  UpdateScanOffsets(block, 0, 0, {{0, 0}});
  EXPECT_EQ(block[2], 0xFF);  // no previous
  EXPECT_EQ(block[5], 0xFF);  // no next
}

TEST(MpegScanner, CorpusOfSeededMutants) {
  ScratchDir dir;
  const Media& m = GetMedia();
  std::vector<Raw> seeds;
  for (const std::string& path : {m.vcd1, m.svcd1, m.vcdStill, m.svcdStill})
    seeds.push_back(ReadWholeFile(path).substr(0, kPacketBytes * 12));
  std::mt19937 random(2024);
  const std::string path = dir / "mutant.mpg";
  for (int n = 0; n < 2000; ++n) {
    Raw b = seeds[n % seeds.size()];
    const int kind = int(random() % 5);
    const int edits = 1 + int(random() % 8);
    for (int e = 0; e < edits && !b.empty(); ++e) {
      const size_t at = random() % b.size();
      switch (kind) {
        case 0:
          b[at] = char(random());
          break;  // a byte
        case 1:
          b[at] ^= char(1 << (random() % 8));
          break;  // a bit
        case 2:
          b.resize(at);
          break;  // cut short
        case 3:
          b.insert(at, Raw("\x00\x00\x01", 3) + char(0xB0 + random() % 0x40));
          break;  // a start code
        default:
          b.replace(at, std::min<size_t>(2, b.size() - at), Raw("\xFF\xFF", 2));
          break;  // lengths
      }
    }
    pictavo::test::WriteWholeFile(path, b);
    _tagMpegSource* s = CreateMpegSource(OpenFileSource(path.c_str()));
    ASSERT_NE(s, nullptr);
    const int rc = ScanMpegSource(s, n % 2 == 0, true, nullptr, nullptr);
    EXPECT_TRUE(rc == 0 || rc == -1);
    EXPECT_LE(uint64_t(s->info.packetCount) * 1, b.size());
    AgreeWithReads(s);
    DestroyMpegSource(s, true);
    if (HasFailure()) {
      ADD_FAILURE() << "mutant " << n;
      break;
    }
  }
}

TEST(MpegScanner, ProgressFromStartToEnd) {
  ScratchDir dir;
  const std::string copy = dir / "vcd1.mpg";
  fs::copy_file(GetMedia().vcd1, copy);
  _tagMpegSource* s = CreateMpegSource(OpenFileSource(copy.c_str()));
  std::vector<ScanProgress> calls;
  ASSERT_EQ(ScanMpegSource(
                s, true, false,
                [](const ScanProgress& p, void* data) {
                  static_cast<std::vector<ScanProgress>*>(data)->push_back(p);
                },
                &calls),
            0);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().position, 0);
  EXPECT_EQ(calls.back().position, int64_t(fs::file_size(copy)));
  EXPECT_EQ(calls.back().packet, s->info.packetCount);
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i].position, calls[i - 1].position);
  EXPECT_EQ(ScanMpegSource(s, true, false, nullptr, nullptr), 0);  // once only
  DestroyMpegSource(s, true);
}
