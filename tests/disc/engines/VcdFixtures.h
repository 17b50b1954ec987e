// Fixtures of the Video-CD tests: short MPEG files made once by ffmpeg (shared by every test
// process through a folder in the build tree), images built from them, and readers of BIN files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "disc/engines/DiscAuthor.h"
#include "disc/engines/ImageSink.h"
#include "disc/engines/ImageStreams.h"
#include "disc/engines/MpegSource.h"
#include "disc/engines/PbcLists.h"
#include "tests/support/Programs.h"
#include "tests/support/ScratchDir.h"

namespace vcdtest {

namespace fs = std::filesystem;
using pictavo::test::Capture;
using pictavo::test::ReadWholeFile;
using pictavo::test::Run;
using pictavo::test::ScratchDir;

struct Media {
  std::string vcd1, vcd2, vcdStill;     // PAL MPEG-1 of 1.5 s and 1 s; a one-frame still on 0xE1
  std::string svcd1, svcd2, svcdStill;  // PAL MPEG-2 likewise
  std::string photo;                    // a small JPEG
};

// Gives the video stream of a program stream the id 0xE1 (PES packets and the system header).
inline void MoveVideoToE1(const std::string& path) {
  std::string d = ReadWholeFile(path);
  auto b = reinterpret_cast<uint8_t*>(d.data());
  for (size_t pack = 0; pack + 14 <= d.size(); pack += kPacketBytes) {
    if (b[pack + 3] != 0xBA) continue;
    size_t p = pack + ((b[pack + 4] & 0xC0) == 0x40 ? 14 + (b[pack + 13] & 7) : 12);
    while (p + 6 <= std::min(d.size(), pack + kPacketBytes) && b[p] == 0 && b[p + 1] == 0 && b[p + 2] == 1) {
      const size_t end = p + 6 + (b[p + 4] << 8 | b[p + 5]);
      if (b[p + 3] == 0xE0) b[p + 3] = 0xE1;
      if (b[p + 3] == 0xBB)
        for (size_t q = p + 12; q + 3 <= end; q += 3)
          if (b[q] == 0xE0) b[q] = 0xE1;
      p = end;
    }
  }
  pictavo::test::WriteWholeFile(path, d);
}

// Made on first use in <build>/tests/vcd-media; other test processes find them there.
inline const Media& GetMedia() {
  static Media media = [] {
    const fs::path folder = fs::path(std::getenv("PICTAVO_BIN_DIR")).parent_path() / "tests" / "vcd-media-1";
    Media m;
    m.vcd1 = (folder / "vcd1.mpg").string();
    m.vcd2 = (folder / "vcd2.mpg").string();
    m.vcdStill = (folder / "vcdstill.mpg").string();
    m.svcd1 = (folder / "svcd1.mpg").string();
    m.svcd2 = (folder / "svcd2.mpg").string();
    m.svcdStill = (folder / "svcdstill.mpg").string();
    m.photo = (folder / "photo.jpg").string();
    if (fs::exists(folder / "done")) return m;
    // Made in a folder of this process and moved into place whole.
    const fs::path work = folder.string() + ".tmp" + std::to_string(::getpid());
    fs::create_directories(work);
    const auto make = [&](const std::string& name, std::vector<std::string> args) {
      std::vector<std::string> all = {"ffmpeg", "-v", "error", "-y"};
      all.insert(all.end(), args.begin(), args.end());
      all.insert(all.end(), {"-fflags", "+bitexact", (work / name).string()});
      EXPECT_TRUE(Run(all)) << name;
    };
    const std::vector<std::string> pal = {"-f", "lavfi", "-i", "testsrc=size=352x288:rate=25"};
    const auto av = [&](const char* source, const char* tone, const char* seconds, const char* target) {
      return std::vector<std::string>{"-f", "lavfi", "-i", source,  "-f",      "lavfi",
                                      "-i", tone,    "-t", seconds, "-target", target};
    };
    make("vcd1.mpg", av("testsrc=size=352x288:rate=25", "sine=frequency=440", "1.5", "pal-vcd"));
    make("vcd2.mpg", av("testsrc2=size=352x288:rate=25", "sine=frequency=660", "1", "pal-vcd"));
    make("vcdstill.mpg", {"-f", "lavfi", "-i", "smptebars=size=352x288:rate=25", "-frames:v", "1", "-an",
                          "-target", "pal-vcd"});
    make("svcd1.mpg", av("testsrc=size=480x576:rate=25", "sine=frequency=440", "1.5", "pal-svcd"));
    make("svcd2.mpg", av("testsrc2=size=480x576:rate=25", "sine=frequency=660", "1", "pal-svcd"));
    make("svcdstill.mpg", {"-f", "lavfi", "-i", "smptebars=size=480x576:rate=25", "-frames:v", "1", "-an",
                           "-target", "pal-svcd"});
    make("photo.jpg", {"-f", "lavfi", "-i", "testsrc=size=64x48", "-frames:v", "1"});
    MoveVideoToE1((work / "vcdstill.mpg").string());
    MoveVideoToE1((work / "svcdstill.mpg").string());
    pictavo::test::WriteWholeFile(work / "done", "");
    std::error_code error;
    fs::rename(work, folder, error);
    if (error) fs::remove_all(work, error);  // another process was first
    return m;
  }();
  return media;
}

// A scanned MPEG source on a copy of `path` (segment items delete their file once written).
inline _tagMpegSource* Source(const ScratchDir& dir, const std::string& path, bool strict = true) {
  const std::string copy = dir / fs::path(path).filename().string();
  if (!fs::exists(copy)) fs::copy_file(path, copy);
  _tagMpegSource* s = CreateMpegSource(OpenFileSource(copy.c_str()));
  EXPECT_EQ(ScanMpegSource(s, strict, false, nullptr, nullptr), 0) << path;
  return s;
}

inline _tagPbcItem* List(uint32_t kind, const char* id) {
  _tagPbcItem* item = CreatePbcItem(kind);
  item->id = id;
  return item;
}

struct Disc {
  std::string bin, cue;
  uint32_t sectors = 0;
};

// The test disc of both families: a still as segment, two sequences, a selection list leading to
// two play lists and an end list, and a photo as extra file.
inline _tagDiscAuthor* MakeAuthor(const ScratchDir& dir, bool svcd) {
  const Media& m = GetMedia();
  _tagDiscAuthor* a = CreateDiscAuthor(svcd ? DiscTypeSvcd : DiscTypeVcd2);
  if (svcd) SetDiscFlagParam(a, ParamFixScanInfo, 1);
  SetDiscTextParam(a, ParamAlbumName, "ALBUM");
  SetDiscTextParam(a, ParamVolumeLabel, "PICTAVO_TEST");
  SetDiscTextParam(a, ParamPublisher, "PICTAVO");
  EXPECT_EQ(AddSegmentItem(a, Source(dir, svcd ? m.svcdStill : m.vcdStill), "still"), 0);
  EXPECT_EQ(AddSequenceTrack(a, Source(dir, svcd ? m.svcd1 : m.vcd1), "seq1", svcd ? nullptr : "entry1"), 0);
  EXPECT_EQ(AddSequenceTrack(a, Source(dir, svcd ? m.svcd2 : m.vcd2), "seq2", svcd ? nullptr : "entry2"), 1);
  _tagPbcItem* menu = List(PbcSelectionList, "menu");
  menu->playItem = "still";
  menu->selections = {"play1", "play2"};
  menu->selectionAreas = {PbcArea{10, 10, 100, 50}, PbcArea{10, 60, 100, 100}};
  menu->baseNumber = 1;
  menu->defaultId = "play1";
  menu->timeout = -1;
  EXPECT_EQ(AddPbcItem(a, menu), 0);
  for (const char* id : {"play1", "play2"}) {
    _tagPbcItem* play = List(PbcPlayList, id);
    play->items = {id == std::string("play1") ? "seq1" : "seq2"};
    play->playingTime = 1.5;
    play->next = "end";
    play->returnId = "menu";
    EXPECT_EQ(AddPbcItem(a, play), 0);
  }
  EXPECT_EQ(AddPbcItem(a, List(PbcEndList, "end")), 0);
  EXPECT_EQ(AddCustomFile(a, "PHOTO FILES/ALBUM_01/01_A.JPG", OpenFileSource(m.photo.c_str()), false), 0);
  return a;
}

// Lays out and writes the image into BIN and CUE files.
inline Disc WriteImage(const ScratchDir& dir, _tagDiscAuthor* a, uint32_t flags = kImageOutputFiles) {
  Disc disc{dir / "disc.bin", dir / "disc.cue", 0};
  g_nImageOutputFlags = flags;
  disc.sectors = BeginDiscOutput(a);
  EXPECT_GT(disc.sectors, 0u);
  _tagImageSink* sink = CreateImageSink(disc.cue.c_str(), disc.bin.c_str(), nullptr);
  EXPECT_EQ(WriteDiscImage(a, sink, nullptr, nullptr, nullptr), 0);
  EndDiscOutput(a);
  return disc;
}

inline std::vector<uint8_t> Bytes(const std::string& path) {
  const std::string s = ReadWholeFile(path);
  return {s.begin(), s.end()};
}

}  // namespace vcdtest
