// Reading a console program's output: lines, the kept tail, ffmpeg's progress report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/encoders/FfmpegProgress.h"
#include "modules/encoders/OutputLines.h"

using pictavo::encoders::FfmpegProgressParser;
using pictavo::encoders::LineSplitter;
using pictavo::encoders::LineTail;
using Lines = std::vector<std::string>;

TEST(OutputLines, ChunksBecomeLinesAtEitherLineEnd) {
  struct Case {
    std::vector<std::string> chunks;
    Lines want;
  };
  const Case kCases[] = {
      {{"one\ntwo\n"}, {"one", "two"}},
      {{"o", "ne\r\ntw", "o"}, {"one", "two"}},  // the last line comes with the end
      {{"frame= 1\rframe= 2\r", "\n"}, {"frame= 1", "frame= 2"}},
      {{"\n\n\r\n"}, {}},
      {{std::string(5000, 'x') + "\nend\n"}, {std::string(4096, 'x'), std::string(904, 'x'), "end"}},
  };
  for (const auto& c : kCases) {
    Lines got;
    LineSplitter splitter;
    const LineSplitter::Sink sink = [&](std::string_view line) { got.emplace_back(line); };
    for (const auto& chunk : c.chunks) splitter.Feed(chunk, sink);
    splitter.Finish(sink);
    EXPECT_EQ(got, c.want) << c.chunks.front().substr(0, 20);
  }
}

TEST(OutputLines, TailKeepsTheLastLines) {
  LineTail tail(3);
  EXPECT_EQ(tail.Last(), "");
  for (const char* line : {"a", "b", "c", "d", "e"}) tail.Add(line);
  EXPECT_EQ(tail.Lines(), (Lines{"c", "d", "e"}));
  EXPECT_EQ(tail.Last(), "e");
}

TEST(FfmpegProgress, BlocksBecomeReports) {
  FfmpegProgressParser parser;
  const char* const kLines[] = {
      "frame=0",           "total_size=N/A", "out_time_us=N/A",       "progress=continue",
      "frame=12",          "fps=24.0",       "total_size=48",         "out_time_us=480000",
      "progress=continue", "frame=50",       "total_size=5368709120", "out_time_us=2000000",
      "speed=1.2x",        "progress=end",
  };
  std::vector<pictavo::encoders::Progress> reports;
  for (const char* line : kLines)
    if (auto report = parser.Feed(line)) reports.push_back(*report);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].frames, 0u);
  EXPECT_EQ(reports[0].bytes, 0u);
  EXPECT_FALSE(reports[0].finished);
  EXPECT_EQ(reports[1].frames, 12u);
  EXPECT_EQ(reports[1].bytes, 48u);
  EXPECT_EQ(reports[1].outTimeUs, 480000);
  EXPECT_EQ(reports[2].frames, 50u);
  EXPECT_EQ(reports[2].bytes, 5368709120u);  // past 4 GiB
  EXPECT_TRUE(reports[2].finished);
}

TEST(FfmpegProgress, DamagedValuesKeepThePreviousOnes) {
  FfmpegProgressParser parser;
  for (const char* line : {"frame=10", "total_size=100", "progress=continue"}) parser.Feed(line);
  std::optional<pictavo::encoders::Progress> report;
  for (const char* line : {"frame=-3", "total_size=12abc", "garbage", "=", "frame", "progress=continue"})
    report = parser.Feed(line);
  ASSERT_TRUE(report);
  EXPECT_EQ(report->frames, 10u);
  EXPECT_EQ(report->bytes, 100u);
}
