// The burning engine: recorders, the failure texts of session-at-once set-up, and the TOC that
// cdrdao is given for a raw cue sheet.
#include <gtest/gtest.h>

#include <cstring>

#include "modules/burn/BurnEngine.h"
#include "modules/burn/CdrdaoRecorder.h"
#include "modules/burn/VirtualRecorder.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"

using pictavo::burn::CdrdaoRecorder;

TEST(BurnEngine, WithoutRecorderSetUpFailsWithAText) {
  CBurnEngine engine;
  EXPECT_EQ(engine.GetCDBurnerCount(), 0);
  EXPECT_FALSE(engine.IsCDWritingRawMode());
  char text[1024] = {};
  EXPECT_FALSE(engine.InitDAO(nullptr, text, nullptr));
  EXPECT_STREQ(text, "No CD recorder was found.");
  char name[260];
  EXPECT_FALSE(engine.GetCDBurnerName(0, name));
  EXPECT_FALSE(engine.SetWorkCDBurner(0));
}

TEST(BurnEngine, InitializeWithoutCdrdaoFindsNothing) {
  pictavo::test::ScopedEnv env("PICTAVO_CDRDAO", "/nonexistent/cdrdao");
  CBurnEngine engine;
  EXPECT_TRUE(engine.Initialize(0));
  EXPECT_EQ(engine.GetCDBurnerCount(), 0);
}

TEST(BurnEngine, VirtualRecorderLogsAndFails) {
  pictavo::test::ScratchDir dir;
  CBurnEngine engine;
  std::vector<std::unique_ptr<pictavo::burn::Recorder>> list;
  list.push_back(std::make_unique<pictavo::burn::VirtualRecorder>(
      pictavo::burn::VirtualRecorderSetup{dir / "log", dir / "stream", true, 1, false, 1, false}));
  engine.UseRecorders(std::move(list));
  char name[260];
  ASSERT_TRUE(engine.GetWorkingBurnerName(name));
  EXPECT_STREQ(name, "Virtual recorder");
  EXPECT_TRUE(engine.IsCDWritingRawMode());
  const uint8_t cue[8] = {0x41, 0, 0, 0x24, 0, 0, 0, 0};
  engine.SetCueSheet(cue, 8);
  char text[1024] = {};
  EXPECT_FALSE(engine.InitDAO(nullptr, text, nullptr));
  EXPECT_STREQ(text, "The virtual recorder refused the set-up.");
  EXPECT_TRUE(engine.InitDAO(nullptr, text, nullptr));
  EXPECT_TRUE(engine.StartDAO(nullptr, text, nullptr));
  const uint8_t data[2352] = {};
  EXPECT_TRUE(engine.WriteData(0, data, sizeof(data), nullptr));
  EXPECT_FALSE(engine.WriteData(1, data, sizeof(data), nullptr));
  engine.AbortDAO();
  EXPECT_EQ(pictavo::test::ReadWholeFile(dir / "log"),
            "cue 41 00 00 24 00 00 00 00\nprepare\nprepare\nstart\nwrite 0 2352\nwrite 1 2352\nabort\n");
}

TEST(CdrdaoRecorder, TocFromTheRawCueSheet) {
  // Lead-in, track 1 at 00:02:00, track 2 with its pregap at 00:06:00 and data at 00:08:00,
  // lead-out at 00:15:00.
  const uint8_t cue[] = {0x41, 0x00, 0x00, 0x24, 0, 0, 0, 0, 0x41, 0x01, 0x00, 0x21, 0, 0, 0,  0,
                         0x41, 0x01, 0x01, 0x21, 0, 0, 2, 0, 0x41, 0x02, 0x00, 0x21, 0, 0, 6,  0,
                         0x41, 0x02, 0x01, 0x21, 0, 0, 8, 0, 0x41, 0xAA, 0x01, 0x24, 0, 0, 15, 0};
  EXPECT_EQ(
      CdrdaoRecorder::TocFromCueSheet(cue),
      "CD_ROM_XA\n\nTRACK MODE2_RAW\nDATAFILE \"-\" 00:04:00\n\nTRACK MODE2_RAW\nDATAFILE \"-\" 00:09:00\n"
      "START 00:02:00\n");
  EXPECT_EQ(CdrdaoRecorder::TocFromCueSheet(std::span<const uint8_t>(cue, 40)), "");  // no lead-out
}
