// Whole Video-CD and Super-Video-CD images, judged by general CD and ISO 9660 readers (libcdio's
// cd-info and cd-read, genisoimage's isoinfo and isovfy, xorriso), ffprobe and the independent
// sector checker.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "disc/engines/Mode2Sector.h"
#include "tests/disc/engines/SectorChecker.h"
#include "tests/disc/engines/VcdFixtures.h"

using namespace vcdtest;

namespace {

struct Built {
  ScratchDir dir;
  Disc disc;
  uint32_t isoSize = 0, core = 0, segmentStart = 0, packets[2] = {}, trackStart[2] = {}, stillPackets = 0;
  uint32_t front = 0, rear = 0;
  std::vector<uint8_t> bin;
  std::string iso;  // track 1 as cd-read gives it
};

std::unique_ptr<Built> Build(bool svcd) {
  auto b = std::make_unique<Built>();
  _tagDiscAuthor* a = MakeAuthor(b->dir, svcd);
  b->disc = WriteImage(b->dir, a);
  b->isoSize = a->isoSize;
  b->core = a->isoCoreSize;
  b->segmentStart = a->segments[0].firstSector;
  b->stillPackets = a->segments[0].source->info.packetCount;
  for (int i = 0; i < 2; ++i) {
    b->packets[i] = a->sequences[i].source->info.packetCount;
    b->trackStart[i] = a->isoSize + a->sequences[i].relativeStart;
  }
  b->front = a->frontMargin;
  b->rear = a->rearMargin;
  DestroyDiscAuthor(a);
  b->bin = Bytes(b->disc.bin);
  b->iso = b->dir / "track1.iso";
  EXPECT_TRUE(Run({"cd-read", "--mode", "m2f1", "--start", "0", "--number", std::to_string(b->isoSize),
                   "--cue-file", b->disc.cue, "--output-file", b->iso}));
  return b;
}

std::string Extract(const Built& b, const std::string& path) {
  return Capture({"isoinfo", "-i", b.iso, "-x", path + ";1"});
}

const uint8_t* Sector(const Built& b, uint32_t address) {
  return b.bin.data() + size_t(address) * kRawSectorBytes;
}

// The form 2 payloads of `count` sectors from `first`, one after another.
std::string Payloads(const Built& b, uint32_t first, uint32_t count) {
  std::string out;
  for (uint32_t k = 0; k < count; ++k)
    out.append(reinterpret_cast<const char*>(Sector(b, first + k)) + 24, kForm2Bytes);
  return out;
}

std::array<uint8_t, 4> Sub(const Built& b, uint32_t address) {
  const uint8_t* s = Sector(b, address);
  return {s[16], s[17], s[18], s[19]};
}

uint32_t BcdMsfToSector(const uint8_t* p) {
  const auto v = [](uint8_t x) { return uint32_t(x >> 4) * 10 + (x & 15); };
  return (v(p[0]) * 60 + v(p[1])) * 75 + v(p[2]) - 150;
}

void CheckReaders(const Built& b, bool svcd) {
  const std::string info = Capture({"cd-info", "--no-header", "--no-device-info", "--cue-file", b.disc.cue});
  EXPECT_TRUE(std::regex_search(info, std::regex(R"(\n\s+1: 00:02:00\s+000000 XA)"))) << info;
  EXPECT_TRUE(
      std::regex_search(info, std::regex(R"(\n\s+2: \S+\s+0*)" + std::to_string(b.trackStart[0]) + R"( XA)")))
      << info;
  EXPECT_TRUE(
      std::regex_search(info, std::regex(R"(\n\s+3: \S+\s+0*)" + std::to_string(b.trackStart[1]) + R"( XA)")))
      << info;
  EXPECT_TRUE(std::regex_search(
      info, std::regex(R"(170: \S+\s+0*)" + std::to_string(b.bin.size() / kRawSectorBytes) + " leadout")))
      << info;
  EXPECT_NE(info.find("ISO 9660: " + std::to_string(b.isoSize) + " blocks"), std::string::npos) << info;

  const std::string volume = Capture({"isoinfo", "-d", "-i", b.iso});
  EXPECT_NE(volume.find("System id: CD-RTOS CD-BRIDGE"), std::string::npos) << volume;
  EXPECT_NE(volume.find("Volume id: PICTAVO_TEST"), std::string::npos);
  EXPECT_NE(volume.find("Volume size is: " + std::to_string(b.isoSize)), std::string::npos);
  const std::string listing = Capture({"isoinfo", "-l", "-i", b.iso});
  const std::string sys = svcd ? "SVCD" : "VCD";
  for (const std::string& name :
       svcd ? std::vector<std::string>{"INFO.SVD;1", "ENTRIES.SVD;1", "PSD.SVD;1", "LOT.SVD;1",
                                       "TRACKS.SVD;1", "SEARCH.DAT;1", "SCANDATA.DAT;1", "AVSEQ01.MPG;1",
                                       "AVSEQ02.MPG;1", "ITEM0001.MPG;1", "01_A.JPG;1"}
            : std::vector<std::string>{"INFO.VCD;1", "ENTRIES.VCD;1", "PSD.VCD;1", "LOT.VCD;1", "PSD_X.VCD;1",
                                       "LOT_X.VCD;1", "AVSEQ01.DAT;1", "AVSEQ02.DAT;1", "ITEM0001.DAT;1",
                                       "01_A.JPG;1"})
    EXPECT_NE(listing.find(name), std::string::npos) << name << "\n" << listing;
  const std::string table = Capture({"isoinfo", "-p", "-i", b.iso});
  for (const char* folder : {"EXT", "PHOTO FILES", "ALBUM_01", "SEGMENT"})
    EXPECT_NE(table.find(folder), std::string::npos);
  // isovfy reads the XA system-use bytes as Rock Ridge and says so; nothing else may be wrong.
  const std::string verify = Capture({"isovfy", "-i", b.iso});
  EXPECT_NE(verify.find("[0 0]"), std::string::npos) << verify;
  std::istringstream lines(verify);
  for (std::string line; std::getline(lines, line);)
    if (line.find("**") != std::string::npos) EXPECT_NE(line.find("BAD SUSP"), std::string::npos) << line;
  const std::string found = Capture({"xorriso", "-indev", b.iso, "-find", "/", "-exec", "lsdl", "--"});
  EXPECT_NE(found.find("/PHOTO FILES/ALBUM_01/01_A.JPG"), std::string::npos) << found;
  EXPECT_NE(found.find("/" + sys + "/INFO"), std::string::npos) << found;
  EXPECT_EQ(Extract(b, "/PHOTO FILES/ALBUM_01/01_A.JPG"), ReadWholeFile(GetMedia().photo));
}

void CheckSectors(const Built& b, bool svcd) {
  const uint32_t total = static_cast<uint32_t>(b.bin.size() / kRawSectorBytes);
  ASSERT_EQ(total, b.disc.sectors);
  for (uint32_t s = 0; s < total; ++s) ASSERT_EQ(sectorcheck::Check(Sector(b, s), s), "") << "sector " << s;
  using S = std::array<uint8_t, 4>;
  // Track 1: descriptors and files form 1; the end flags of their last sectors.
  EXPECT_EQ(Sub(b, 0), (S{0, 0, 0x08, 0}));
  EXPECT_EQ(Sub(b, 16), (S{0, 0, 0x09, 0}));
  EXPECT_EQ(Sub(b, 17), (S{0, 0, 0x89, 0}));
  EXPECT_EQ(Sub(b, 150), (S{0, 0, 0x88, 0}));
  // The segment: its packets form 2, empty form 2 sectors behind them.
  const uint32_t seg = b.segmentStart;
  EXPECT_EQ(Sub(b, seg + b.stillPackets - 1)[2] & 0x80, 0x80);
  if (svcd) {
    EXPECT_EQ(Sub(b, seg + b.stillPackets), (S{0, 0, 0x20, 0}));
  } else {
    EXPECT_EQ(Sub(b, seg + b.stillPackets), (S{1, 0, 0x60, 0}));
  }
  // The segment's video sectors carry stream 0xE1 (VCD: channel 2, coding 0x1F).
  bool sawVideo = false;
  for (uint32_t k = 0; k < b.stillPackets; ++k) {
    const S sub = Sub(b, seg + k);
    if ((sub[2] & 0x62) != 0x62) continue;
    sawVideo = true;
    EXPECT_EQ(sub, svcd ? (S{1, 1, sub[2], 0x80}) : (S{1, 2, sub[2], 0x1F})) << k;
  }
  EXPECT_TRUE(sawVideo);
  // Sequence tracks: gap, margins, packets.
  for (int i = 0; i < 2; ++i) {
    const uint8_t f = uint8_t(i + 1);
    const uint32_t start = b.trackStart[i];
    EXPECT_EQ(Sub(b, start - 1), (S{0, 0, 0x20, 0}));
    if (b.front) EXPECT_EQ(Sub(b, start), (S{f, 0, 0x60, 0}));
    const uint32_t first = start + b.front, last = first + b.packets[i] - 1;
    int video = 0, audio = 0;
    for (uint32_t s = first; s <= last; ++s) {
      const S sub = Sub(b, s);
      EXPECT_EQ(sub[2] & 0x20, 0x20);
      if ((sub[2] & 0x7E) == 0x62) {
        ++video;
        EXPECT_EQ(sub, svcd ? (S{1, 1, sub[2], 0x80}) : (S{f, 1, sub[2], 0x0F}));
      } else if ((sub[2] & 0x7E) == 0x64) {
        ++audio;
        EXPECT_EQ(sub, svcd ? (S{1, 1, sub[2], 0x80}) : (S{f, 1, sub[2], 0x7F}));
      }
    }
    EXPECT_GT(video, 0);
    EXPECT_GT(audio, 0);
    EXPECT_EQ(Sub(b, last)[2] & 0x01, 0x01);
    if (b.rear) EXPECT_EQ(Sub(b, last + b.rear), (S{f, 0, 0xE0, 0}));
  }
}

std::vector<uint32_t> IFramePackets(const std::string& file) {
  const std::string csv = Capture({"ffprobe", "-v", "error", "-select_streams", "v", "-show_entries",
                                   "frame=pict_type,pkt_pos", "-of", "csv=p=0", file});
  std::vector<uint32_t> packets;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);)
    if (line.find(",I") != std::string::npos && isdigit(static_cast<unsigned char>(line[0])))
      packets.push_back(static_cast<uint32_t>(std::stoul(line) / kPacketBytes));
  return packets;
}

void CheckPayloads(const Built& b, bool svcd) {
  const Media& m = GetMedia();
  const std::string sources[2] = {svcd ? m.svcd1 : m.vcd1, svcd ? m.svcd2 : m.vcd2};
  for (int i = 0; i < 2; ++i) {
    const std::string source = ReadWholeFile(sources[i]);
    const std::string payload = Payloads(b, b.trackStart[i] + b.front, b.packets[i]);
    ASSERT_EQ(payload.size(), source.size());
    if (!svcd) {
      EXPECT_TRUE(payload == source) << "track " << i + 2;
    } else {
      // Equal but for the scan offsets, which name the neighbouring I-frames' packets.
      const std::vector<uint32_t> iframes = IFramePackets(sources[i]);
      ASSERT_GE(iframes.size(), 2u);
      int blocks = 0;
      for (size_t at = 0; at < source.size(); ++at) {
        if (payload[at] == source[at]) continue;
        const size_t block = source.rfind("\x10\x0e", at);
        ASSERT_NE(block, std::string::npos);
        ASSERT_LT(at, block + 14) << at;
        const uint32_t packet = static_cast<uint32_t>(block / kPacketBytes);
        const auto number = [&](size_t o) {
          uint8_t v[3];
          for (int k = 0; k < 3; ++k) v[k] = uint8_t(payload[block + o + k]) & (k ? 0x7F : 0xFF);
          return BcdMsfToSector(v) + 150;
        };
        uint32_t previous = 0xFFFFFFFF, next = 0xFFFFFFFF;
        for (uint32_t f : iframes) {
          if (f < packet) previous = f;
          if (f > packet && next == 0xFFFFFFFF) next = f;
        }
        if (previous != 0xFFFFFFFF) EXPECT_EQ(number(2), previous) << packet;
        if (next != 0xFFFFFFFF) EXPECT_EQ(number(5), next) << packet;
        ++blocks;
        at = block + 13;
      }
      EXPECT_GT(blocks, 0);
    }
    const std::string copy = b.dir / ("payload" + std::to_string(i) + ".mpg");
    pictavo::test::WriteWholeFile(copy, payload);
    const std::string probe = Capture(
        {"ffprobe", "-v", "error", "-show_entries", "stream=codec_name,height", "-of", "csv=p=0", copy});
    EXPECT_NE(probe.find(svcd ? "mpeg2video,576" : "mpeg1video,288"), std::string::npos) << probe;
    EXPECT_NE(probe.find("mp2"), std::string::npos) << probe;
  }
  const std::string still =
      ReadWholeFile(svcd ? m.svcdStill : m.vcdStill).substr(0, size_t(b.stillPackets) * kPacketBytes);
  const std::string segment = Payloads(b, b.segmentStart, b.stillPackets);
  ASSERT_EQ(segment.size(), still.size());
  for (size_t at = 0; at < still.size(); ++at) {
    if (segment[at] == still[at]) continue;
    // Only a Super Video CD rewrites scan offsets, and only inside their block.
    const size_t block = still.rfind("\x10\x0e", at);
    ASSERT_TRUE(svcd && block != std::string::npos && at < block + 14) << at;
  }
}

}  // namespace

TEST(VcdImage, VideoCd20ReadByCdAndIsoReaders) {
  auto b = Build(false);
  CheckReaders(*b, false);
  const std::string infoFile = Extract(*b, "/VCD/INFO.VCD");
  ASSERT_EQ(infoFile.size(), 2048u);
  EXPECT_EQ(infoFile.substr(0, 10), std::string("VIDEO_CD\x02\x00", 10));
  EXPECT_EQ(uint8_t(infoFile[30]), 0x03);  // both tracks PAL
  EXPECT_EQ(uint8_t(infoFile[43]), 0x80);  // playback control
  EXPECT_EQ(uint8_t(infoFile[53]), 4);     // four lists
  EXPECT_EQ(uint8_t(infoFile[55]), 1);     // one segment unit
  EXPECT_EQ(uint8_t(infoFile[56]), 0x14);  // the still: tall video on 0xE1, no audio
  const std::string entries = Extract(*b, "/VCD/ENTRIES.VCD");
  EXPECT_EQ(entries.substr(0, 12), std::string("ENTRYVCD\x02\x00\x00\x02", 12));
  EXPECT_EQ(uint8_t(entries[12]), 0x02);
  EXPECT_EQ(BcdMsfToSector(reinterpret_cast<const uint8_t*>(entries.data()) + 13), b->trackStart[0]);
  EXPECT_EQ(BcdMsfToSector(reinterpret_cast<const uint8_t*>(entries.data()) + 17), b->trackStart[1]);
  const std::string psd = Extract(*b, "/VCD/PSD.VCD");
  EXPECT_EQ(uint8_t(psd[0]), 0x18);  // the selection list first
  const std::string lot = Extract(*b, "/VCD/LOT.VCD");
  ASSERT_EQ(lot.size(), 65536u);
  EXPECT_EQ(lot.substr(0, 4), std::string("\0\0\0\0", 4));  // entry 0, list 1 at offset 0
  EXPECT_EQ(uint8_t(lot[10]), 0xFF);                        // no list 5
  CheckSectors(*b, false);
  CheckPayloads(*b, false);
}

TEST(VcdImage, SuperVideoCdReadByCdAndIsoReaders) {
  auto b = Build(true);
  CheckReaders(*b, true);
  const std::string infoFile = Extract(*b, "/SVCD/INFO.SVD");
  EXPECT_EQ(infoFile.substr(0, 10), std::string("SUPERVCD\x01\x00", 10));
  const std::string tracks = Extract(*b, "/SVCD/TRACKS.SVD");
  EXPECT_EQ(tracks.substr(0, 11), std::string("TRACKSVD\x01\x00\x02", 11));
  const std::string search = Extract(*b, "/SVCD/SEARCH.DAT");
  EXPECT_EQ(search.substr(0, 8), "SEARCHSV");
  const uint32_t points = uint8_t(search[10]) << 8 | uint8_t(search[11]);
  EXPECT_GE(points, 5u);  // 2.5 s of tracks, a point every half second
  EXPECT_EQ(search.size(), 13 + 3 * points);
  // Every point is an access point of a track.
  for (uint32_t k = 0; k < points; ++k) {
    const uint32_t s = BcdMsfToSector(reinterpret_cast<const uint8_t*>(search.data()) + 13 + 3 * k);
    EXPECT_TRUE((s >= b->trackStart[0] && s < b->trackStart[0] + b->packets[0]) ||
                (s >= b->trackStart[1] && s < b->trackStart[1] + b->packets[1]))
        << s;
  }
  const std::string scan = Extract(*b, "/EXT/SCANDATA.DAT");
  EXPECT_EQ(scan.substr(0, 8), "SCAN_VCD");
  EXPECT_EQ(uint8_t(scan[13]), 2);
  const std::string psd = Extract(*b, "/SVCD/PSD.SVD");
  EXPECT_EQ(uint8_t(psd[0]), 0x18);
  EXPECT_EQ(uint8_t(psd[1]) & 1, 1);             // selection areas present
  EXPECT_EQ(uint8_t(psd[20 + 2 * 2 + 16]), 10);  // the first selection's area follows the four key areas
  CheckSectors(*b, true);
  CheckPayloads(*b, true);
}
