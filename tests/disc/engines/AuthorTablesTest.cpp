// The authoring object's rules as tables: parameters, ids, layout positions, playback-control
// offsets, information-file fields, the CUE sheet, and each limit at and past its bound.
#include <gtest/gtest.h>

#include <cstring>

#include "disc/engines/IsoFileSystem.h"
#include "disc/engines/Mode2Sector.h"
#include "disc/engines/VcdImageWriter.h"
#include "disc/engines/VcdInfoFiles.h"
#include "tests/disc/engines/VcdFixtures.h"

using namespace vcdtest;

namespace {

// A scanned source without a file: what the layout needs of a stream.
_tagMpegSource* Fake(uint32_t packets, double seconds = 1, uint32_t width = 352, uint32_t height = 288,
                     double rate = 25, bool accessPoint = true) {
  _tagMpegSource* s = CreateMpegSource(nullptr);
  s->scanned = true;
  s->info.packetCount = packets;
  s->info.playingTime = seconds;
  s->info.mpegVersion = 1;
  VideoStreamInfo& v = s->info.video[0];
  v.present = true;
  v.horizontalSize = width;
  v.verticalSize = height;
  v.frameRate = rate;
  if (accessPoint) v.accessPoints.push_back({0, 0});
  s->info.audio[0].present = true;
  s->info.audio[0].mode = 1;
  return s;
}

struct AuthorPtr {
  _tagDiscAuthor* a;
  explicit AuthorPtr(uint32_t type) : a(CreateDiscAuthor(type)) {}
  ~AuthorPtr() { DestroyDiscAuthor(a); }
  _tagDiscAuthor* operator->() const { return a; }
  operator _tagDiscAuthor*() const { return a; }
};

uint32_t Be16(const uint8_t* p) {
  return uint32_t(p[0]) << 8 | p[1];
}

}  // namespace

TEST(DiscAuthor, TypesParametersAndIds) {
  EXPECT_EQ(CreateDiscAuthor(0), nullptr);
  EXPECT_EQ(CreateDiscAuthor(6), nullptr);
  AuthorPtr vcd(DiscTypeVcd2), svcd(DiscTypeSvcd), vcd1(DiscTypeVcd1);
  EXPECT_EQ(vcd->frontMargin, 30u);
  EXPECT_EQ(vcd->rearMargin, 45u);
  EXPECT_EQ(svcd->frontMargin, 0u);
  EXPECT_EQ(svcd->rearMargin, 0u);
  struct Number {
    int code;
    uint32_t value, stored;
    uint32_t _tagDiscAuthor::*field;
  };
  const Number kNumbers[] = {{ParamTrackGapSectors, 0, 1, &_tagDiscAuthor::trackGap},
                             {ParamVolumeCount, 0, 1, &_tagDiscAuthor::volumeCount},
                             {ParamVolumeCount, 70000, 65535, &_tagDiscAuthor::volumeCount},
                             {ParamVolumeNumber, 70000, 65534, &_tagDiscAuthor::volumeNumber},
                             {ParamLeadoutGapSectors, 1000, 300, &_tagDiscAuthor::leadoutGap},
                             {ParamFrontMarginSectors, 200, 150, &_tagDiscAuthor::frontMargin},
                             {ParamRearMarginSectors, 151, 150, &_tagDiscAuthor::rearMargin}};
  for (const Number& n : kNumbers) {
    EXPECT_EQ(SetDiscNumberParam(vcd, n.code, n.value), 0);
    EXPECT_EQ(vcd.a->*n.field, n.stored) << n.code;
  }
  SetDiscTextParam(vcd, ParamVolumeLabel, std::string(40, 'L').c_str());
  SetDiscTextParam(vcd, ParamPublisher, std::string(200, 'P').c_str());
  EXPECT_EQ(vcd->volumeLabel.size(), 32u);
  EXPECT_EQ(vcd->publisher.size(), 128u);
  SetDiscFlagParam(vcd, ParamSvcdMpegavFolder, 1);
  EXPECT_FALSE(vcd->svcdMpegavFolder);
  _tagMpegSource* refused = Fake(10);
  EXPECT_EQ(AddSegmentItem(vcd1, refused, "s"), -1);
  DestroyMpegSource(refused, true);
  EXPECT_EQ(AddSegmentItem(vcd, Fake(10), "s"), 0);
  _tagMpegSource* again = Fake(10);
  EXPECT_EQ(AddSequenceTrack(vcd, again, "s", nullptr), -1);
  EXPECT_EQ(AddSequenceTrack(vcd, again, "t", "t"), -1);
  EXPECT_EQ(AddSequenceTrack(vcd, again, "t", "e"), 0);
}

TEST(DiscAuthor, CustomFilesFormsNamesAndDepth) {
  ScratchDir dir;
  AuthorPtr a(DiscTypeVcd2);
  const auto file = [&](const std::string& name, size_t bytes) {
    return OpenFileSource(dir.Write(name, std::string(bytes, 'x')).c_str());
  };
  _tagDataSource* odd = file("odd", 4673);
  EXPECT_EQ(AddCustomFile(a, "F2/ODD.DAT", odd, true), 1);
  StreamFree(odd);
  EXPECT_EQ(AddCustomFile(a, "F2/TWO.DAT", file("two", 4672), true), 0);
  EXPECT_EQ(a->customFiles.back().sectorCount, 2u);
  EXPECT_EQ(AddCustomFile(a, "empty.txt", file("empty", 0), false), 0);
  EXPECT_EQ(a->customFiles.back().sectorCount, 0u);
  // Level 2 names: 31 characters, the extension kept, two alike made unique.
  const std::string longName = std::string(40, 'a') + ".jpeg";
  EXPECT_EQ(AddCustomFile(a, ("PHOTOS/" + longName).c_str(), file("l1", 10), false), 0);
  EXPECT_EQ(AddCustomFile(a, ("PHOTOS/" + longName).c_str(), file("l2", 10), false), 0);
  const std::string first = a->customFiles[a->customFiles.size() - 2].isoPath,
                    second = a->customFiles.back().isoPath;
  EXPECT_EQ(first, "PHOTOS/" + std::string(26, 'A') + ".JPEG");
  EXPECT_NE(first, second);
  EXPECT_EQ(second.size(), first.size());
  EXPECT_EQ(second.substr(second.size() - 5), ".JPEG");
  // Depth 8 at most.
  _tagDataSource* deep = file("deep", 1);
  EXPECT_EQ(AddCustomFile(a, "1/2/3/4/5/6/7/8/9.TXT", deep, false), -1);
  StreamFree(deep);
  EXPECT_EQ(AddCustomFile(a, "1/2/3/4/5/6/7/8.TXT", file("d8", 1), false), 0);
  ASSERT_GT(BeginDiscOutput(a), 0u);
  _tagIsoNode* empty = FindIsoNode(a->root.get(), "EMPTY.TXT");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->size, 0u);
  EXPECT_EQ(empty->extent, a->customStart);
}

TEST(Layout, FixedPositionsOfTrackOne) {
  {
    AuthorPtr a(DiscTypeVcd2);
    ASSERT_EQ(AddSequenceTrack(a, Fake(100), "seq", "entry"), 0);
    EXPECT_EQ(BeginDiscOutput(a), 300u + 150 + 30 + 100 + 45 + 150);
    EXPECT_EQ(FindIsoBuffer(a, "info")->firstSector, 150u);
    EXPECT_EQ(FindIsoBuffer(a, "entries")->firstSector, 151u);
    EXPECT_EQ(a->isoCoreSize, 225u);
    EXPECT_EQ(a->isoSize, 300u);
    EXPECT_EQ(a->isoSize + a->sequences[0].relativeStart - a->trackGap, 300u);
    EXPECT_EQ(a->isoSize + a->sequences[0].relativeStart, 450u);
    // ENTRIES: version 2, one entry, track 02 at 00:08:00 (450 + 150).
    uint8_t s[2048];
    WriteEntriesFile(a, s);
    EXPECT_EQ(s[8], 2);
    EXPECT_EQ(Be16(s + 10), 1u);
    const uint8_t entry[4] = {0x02, 0x00, 0x08, 0x00};
    EXPECT_EQ(std::memcmp(s + 12, entry, 4), 0);
    // INFO without playback control or segments: zeros at 44-55.
    WriteInfoFile(a, s);
    for (int i = 44; i < 56; ++i) EXPECT_EQ(s[i], 0) << i;
  }
  {
    AuthorPtr a(DiscTypeSvcd);
    ASSERT_EQ(AddSequenceTrack(a, Fake(100), "seq", nullptr), 0);
    ASSERT_GT(BeginDiscOutput(a), 0u);
    EXPECT_EQ(FindIsoBuffer(a, "tracks")->firstSector, 152u);
    EXPECT_EQ(FindIsoBuffer(a, "search")->firstSector, 153u);
    EXPECT_NE(FindIsoNode(a->root.get(), "MPEG2/AVSEQ01.MPG"), nullptr);
    EXPECT_EQ(FindIsoNode(a->root.get(), "MPEG2/AVSEQ01.MPG")->fileNumber, 0);
  }
  {
    AuthorPtr a(DiscTypeVcd2);
    ASSERT_EQ(AddSegmentItem(a, Fake(151), "still"), 0);
    ASSERT_EQ(AddSegmentItem(a, Fake(150), "still2"), 0);
    ASSERT_GT(BeginDiscOutput(a), 0u);
    EXPECT_EQ(a->segments[0].units, 2u);
    EXPECT_EQ(a->segments[1].firstSector, a->segments[0].firstSector + 300);
    EXPECT_NE(FindIsoNode(a->root.get(), "SEGMENT/ITEM0003.DAT"), nullptr);  // skips the first's units
  }
}

TEST(Layout, DirectoryRecordsAndNames) {
  AuthorPtr a(DiscTypeVcd2);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(AddSequenceTrack(a, Fake(10), nullptr, nullptr), i);
  ASSERT_GT(BeginDiscOutput(a), 0u);
  const _tagIsoNode* third = FindIsoNode(a->root.get(), "MPEGAV/AVSEQ03.DAT");
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->fileNumber, 3);
  std::vector<std::string> root;
  for (const auto& c : a->root->children) root.push_back(c->name);
  EXPECT_EQ(root, (std::vector<std::string>{"EXT", "MPEGAV", "VCD"}));
  uint8_t pvd[2048];
  WritePrimaryVolumeDescriptor(a, pvd);
  EXPECT_EQ(pvd[156], 34);
  EXPECT_EQ(pvd[158], 18);  // root extent

  // A folder whose records fill 2040 bytes puts the next record at the next sector: "." and ".."
  // (96), 33 files "N00000;1" (56 each), folders "Y" and "Z" (48 each).
  _tagIsoNode folder;
  folder.folder = true;
  for (int i = 0; i < 33; ++i)
    AddIsoFile(&folder, "N" + std::to_string(100000 + i).substr(1), false, 0, 0, 0);
  AddIsoFolder(&folder, "Y");
  AddIsoFolder(&folder, "Z");
  EXPECT_EQ(DirectorySize(folder), 2048u);
  AddIsoFile(&folder, "ZZ", false, 0, 0, 0);
  EXPECT_EQ(DirectorySize(folder), 4096u);
  EXPECT_EQ(AddIsoFile(&folder, "ZZ", false, 0, 0, 0), nullptr);
  _tagIsoNode top;
  top.folder = true;
  ASSERT_NE(AddIsoFile(&top, "PHOTO FILES/ALBUM_01/01_A.JPG", false, 1, 0, 0), nullptr);
  EXPECT_NE(FindIsoNode(&top, "PHOTO FILES/ALBUM_01"), nullptr);
  EXPECT_EQ(AddIsoFile(&top, "PHOTO FILES/ALBUM_01/01_A.JPG", false, 1, 0, 0), nullptr);
  EXPECT_EQ(AddIsoFile(&top, "PHOTO FILES/ALBUM_01/01_A.JPG/X", false, 1, 0, 0), nullptr);
}

TEST(PlaybackControl, OffsetsDescriptorsAndLot) {
  EXPECT_EQ(EncodeWaitTime(-1), 255);
  EXPECT_EQ(EncodeWaitTime(60), 60);
  EXPECT_EQ(EncodeWaitTime(70), 61);
  EXPECT_EQ(EncodeWaitTime(2000), 254);
  EXPECT_EQ(EncodeWaitTime(2001), 254);
  AuthorPtr a(DiscTypeVcd2);
  for (const char* id : {"s1", "s2", "s3"}) ASSERT_EQ(AddPbcItem(a, List(PbcSelectionList, id)), 0);
  _tagPbcItem* play = List(PbcPlayList, "p");
  play->playingTime = 25.5;
  play->next = "nowhere";
  ASSERT_EQ(AddPbcItem(a, play), 0);
  _tagPbcItem* rejected = List(PbcEndList, "r");
  rejected->rejected = true;
  ASSERT_EQ(AddPbcItem(a, rejected), 0);
  ASSERT_TRUE(LayoutPsd(a));
  EXPECT_EQ(a->pbcItems[0]->psdOffset, 0u);
  EXPECT_EQ(a->pbcItems[1]->psdOffset, 24u);
  EXPECT_EQ(a->pbcItems[2]->psdOffset, 48u);
  std::vector<uint8_t> psd(2048), lot(kLotBytes);
  WritePsdFile(a, psd.data(), false);
  WriteLotFile(a, lot.data(), false);
  const uint8_t* p = psd.data() + play->psdOffset;
  EXPECT_EQ(p[0], 0x10);
  EXPECT_EQ(Be16(p + 6), 0xFFFFu);  // next names no list
  EXPECT_EQ(Be16(p + 10), 382u);    // 25.5 s x 15
  EXPECT_EQ(Be16(psd.data() + rejected->psdOffset + 0) >> 8, 0x1Fu);
  EXPECT_EQ(Be16(lot.data() + 2 * 5), 0xFFFFu);  // the rejected list has no entry
  EXPECT_EQ(Be16(lot.data() + 2 * 4), play->psdOffset / 8);
  // A play list of 112 bytes where the sector has 96 left starts at the next sector; a list of
  // more than 255 items is refused.
  AuthorPtr b(DiscTypeVcd2);
  for (int i = 0; i < 4; ++i) {
    _tagPbcItem* filler = List(PbcPlayList, ("f" + std::to_string(i)).c_str());
    filler->items.assign(236, "x");  // 486 -> 488 bytes
    ASSERT_EQ(AddPbcItem(b, filler), 0);
  }
  _tagPbcItem* big = List(PbcPlayList, "big");
  big->items.assign(49, "x");  // 112 bytes
  ASSERT_EQ(AddPbcItem(b, big), 0);
  ASSERT_TRUE(LayoutPsd(b));
  EXPECT_EQ(big->psdOffset, 2048u);
  big->items.assign(256, "x");
  EXPECT_FALSE(LayoutPsd(b));
  big->items.assign(255, "x");
  EXPECT_TRUE(LayoutPsd(b));
  // Playing time is held at 0xFFFF.
  big->playingTime = 5000;
  std::vector<uint8_t> psd2((b->psdSize + 2047) / 2048 * 2048);
  WritePsdFile(b, psd2.data(), false);
  EXPECT_EQ(Be16(psd2.data() + big->psdOffset + 10), 0xFFFFu);
}

TEST(PlaybackControl, SuperVideoCdSelectionAreas) {
  AuthorPtr a(DiscTypeSvcd);
  _tagPbcItem* menu = List(PbcSelectionList, "m");
  menu->selections = {"m", "m"};
  menu->selectionAreas = {PbcArea{1, 2, 3, 4}, PbcArea{5, 6, 7, 8}};
  ASSERT_EQ(AddPbcItem(a, menu), 0);
  ASSERT_TRUE(LayoutPsd(a));
  EXPECT_EQ(a->psdSize, 48u);  // 36 + 6 x 2
  std::vector<uint8_t> psd(2048);
  WritePsdFile(a, psd.data(), false);
  EXPECT_EQ(psd[0], 0x18);
  EXPECT_EQ(psd[1], 0x01);
  EXPECT_EQ(psd[24 + 16], 1);
  EXPECT_EQ(psd[24 + 20], 5);
}

TEST(InfoFiles, ContentTimesAndPoints) {
  AuthorPtr a(DiscTypeVcd2);
  ASSERT_EQ(AddSegmentItem(a, Fake(150), "one"), 0);
  ASSERT_EQ(AddSegmentItem(a, Fake(300), "two"), 0);
  ASSERT_EQ(AddSequenceTrack(a, Fake(10, 1, 352, 288, 25), "pal", nullptr), 0);
  ASSERT_EQ(AddSequenceTrack(a, Fake(10, 1, 352, 240, 30000.0 / 1001), "ntsc", nullptr), 1);
  ASSERT_GT(BeginDiscOutput(a), 0u);
  uint8_t s[2048];
  WriteInfoFile(a, s);
  EXPECT_EQ(s[30], 0x01);
  EXPECT_EQ(Be16(s + 54), 3u);
  EXPECT_EQ(s[56], s[57]);
  EXPECT_EQ(s[58], s[57] | 0x20);
  uint8_t t[3];
  PlayingTimeToBcd(7210.5, t);
  EXPECT_EQ(t[0], 0x99);
  EXPECT_EQ(t[1], 0x59);
  EXPECT_EQ(t[2], 0x74);
  PlayingTimeToBcd(61.5, t);
  EXPECT_EQ(t[0], 0x01);
  EXPECT_EQ(t[1], 0x01);
  EXPECT_EQ(t[2], 0x37);
  AuthorPtr svcd(DiscTypeSvcd);
  ASSERT_EQ(AddSequenceTrack(svcd, Fake(10, 10.2), "s", nullptr), 0);
  EXPECT_EQ(SearchPointCount(svcd), 21u);
  EXPECT_EQ(ClassifyVideoFormat(a->sequences[0].source->info), VideoPalSif);
  _tagMpegSource* thirty = Fake(1, 1, 352, 240, 30);
  EXPECT_EQ(ClassifyVideoFormat(thirty->info), VideoFormatNone);
  DestroyMpegSource(thirty, true);
}

TEST(CueSheet, BinPositionsInTheCueAbsoluteInTheRawSheet) {
  ScratchDir dir;
  g_nImageOutputFlags = kImageOutputFiles;
  const std::vector<_tagCueEntry> cues = {
      {0, CueTrackStart}, {300, CuePregapStart}, {450, CueTrackStart}, {1000, CueLeadoutStart}};
  EXPECT_EQ(CueSheetText("disc.bin", cues, false),
            "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE2/2352\r\n    FLAGS DCP\r\n    INDEX 01 00:00:00\r\n"
            "  TRACK 02 MODE2/2352\r\n    FLAGS DCP\r\n    INDEX 00 00:04:00\r\n    INDEX 01 00:06:00\r\n");
  _tagImageSink* sink = CreateImageSink((dir / "d.cue").c_str(), (dir / "d.bin").c_str(), nullptr);
  ASSERT_EQ(SinkSetCueSheet(sink, cues, nullptr), 0);
  const uint8_t kRaw[] = {0x41, 0x00, 0x00, 0x24, 0, 0, 0, 0, 0x41, 0x01, 0x00, 0x21, 0, 0, 0,  0,
                          0x41, 0x01, 0x01, 0x21, 0, 0, 2, 0, 0x41, 0x02, 0x00, 0x21, 0, 0, 6,  0,
                          0x41, 0x02, 0x01, 0x21, 0, 0, 8, 0, 0x41, 0xAA, 0x01, 0x24, 0, 0, 15, 25};
  ASSERT_EQ(g_nRawCueSheetLength, int(sizeof(kRaw)));
  EXPECT_EQ(std::memcmp(g_rawCueSheet, kRaw, sizeof(kRaw)), 0);
  uint8_t sector[kRawSectorBytes];
  EncodeMode2Sector(sector, nullptr, 0, 0, 0, 0x08, 0);
  EXPECT_EQ(SinkWriteSector(sink, sector, 0), 0);
  EXPECT_EQ(SinkFree(sink), 0);
  EXPECT_TRUE(fs::exists(dir / "d.cue"));
  EXPECT_EQ(fs::file_size(dir / "d.bin"), uintmax_t(kRawSectorBytes));
  _tagImageSink* open = CreateImageSink((dir / "e.cue").c_str(), (dir / "e.bin").c_str(), nullptr);
  EXPECT_EQ(SinkSetCueSheet(open, {{0, CueTrackStart}}, nullptr), -1);
  SinkAbort(open);
  EXPECT_FALSE(fs::exists(dir / "e.cue.part"));
}

TEST(Limits, EachAtAndPastItsBound) {
  {
    AuthorPtr a(DiscTypeVcd2);
    for (size_t i = 0; i < kMaxSequences; ++i)
      ASSERT_EQ(AddSequenceTrack(a, Fake(1), nullptr, nullptr), int(i));
    _tagMpegSource* past = Fake(1);
    EXPECT_EQ(AddSequenceTrack(a, past, nullptr, nullptr), -1);
    DestroyMpegSource(past, true);
    ASSERT_GT(BeginDiscOutput(a), 0u);
    uint8_t s[2048];
    WriteInfoFile(a, s);
    EXPECT_EQ(s[42], 0x03);  // tracks 96 and 97 PAL; nothing beyond byte 42
    EXPECT_EQ(s[43], 0x00);
  }
  {
    AuthorPtr a(DiscTypeVcd2);
    ASSERT_EQ(AddSegmentItem(a, Fake(150 * 1979), "big"), 0);
    ASSERT_EQ(AddSegmentItem(a, Fake(150), "last"), 0);
    _tagMpegSource* past = Fake(1);
    EXPECT_EQ(AddSegmentItem(a, past, "past"), -1);
    DestroyMpegSource(past, true);
    EXPECT_EQ(ResolveItemNumber(a, "last"), 2979);
  }
  {
    AuthorPtr a(DiscTypeVcd2);
    for (size_t i = 0; i < kMaxPbcItems; ++i)
      a->pbcItems.push_back(List(PbcEndList, ("e" + std::to_string(i)).c_str()));
    EXPECT_TRUE(LayoutPsd(a));
    _tagPbcItem* past = List(PbcEndList, "past");
    EXPECT_EQ(AddPbcItem(a, past), -1);
    DestroyPbcItem(past);
  }
  {
    // PSD offsets / 8 must stay below 0xFFFD: 0xFFFD x 8 bytes of end lists is past it.
    AuthorPtr a(DiscTypeSvcd);
    for (int i = 0; i < 0x7FFF; ++i)
      a->pbcItems.push_back(List(PbcSelectionList, ("s" + std::to_string(i)).c_str()));
    for (_tagPbcItem* item : a->pbcItems) item->selections.assign(8, "s0");  // 84 -> 88 bytes each
    EXPECT_FALSE(LayoutPsd(a));
  }
  {
    AuthorPtr a(DiscTypeSvcd);
    _tagMpegSource* noPoints = Fake(10, 1, 480, 576, 25, false);
    ASSERT_EQ(AddSequenceTrack(a, noPoints, "s", nullptr), 0);
    EXPECT_EQ(BeginDiscOutput(a), 0u);
  }
  {
    // The image must end by 99:59:74.
    AuthorPtr a(DiscTypeVcd2);
    ASSERT_EQ(AddSequenceTrack(a, Fake(kMaxImageSectors - 300 - 150 - 30 - 45 - 150), "s", nullptr), 0);
    EXPECT_EQ(BeginDiscOutput(a), kMaxImageSectors);
    EndDiscOutput(a);
    SetDiscNumberParam(a, ParamLeadoutGapSectors, 151);
    EXPECT_EQ(BeginDiscOutput(a), 0u);
  }
  {
    // Directories past sector 74 are refused.
    ScratchDir dir;
    AuthorPtr a(DiscTypeVcd2);
    const std::string path = dir.Write("f", "x");
    for (int i = 0; i < 60; ++i)
      ASSERT_EQ(
          AddCustomFile(a, ("DIR" + std::to_string(i) + "/F").c_str(), OpenFileSource(path.c_str()), false),
          0);
    EXPECT_EQ(BeginDiscOutput(a), 0u);
  }
}
