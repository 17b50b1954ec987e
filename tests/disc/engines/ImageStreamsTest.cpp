// Data sources and file sinks of the image writer, and the disc job's shared waits.
#include <gtest/gtest.h>

#include "disc/engines/DiscJobState.h"
#include "disc/engines/ImageStreams.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "tests/support/ScratchDir.h"

using pictavo::test::ReadWholeFile;
using pictavo::test::ScratchDir;

TEST(ImageStreams, WriteSideObeysTheFilesBit) {
  ScratchDir dir;
  g_nImageOutputFlags = kImageOutputBurn;
  _tagFileStream* off = CreateFileSink((dir / "off.bin").c_str());
  EXPECT_EQ(StreamWrite(off, "abc", 1, 3), 0u);
  EXPECT_EQ(StreamPrint(off, "%d", 5), 0u);
  EXPECT_EQ(StreamSeek(off, 100), 0);
  EXPECT_TRUE(StreamClose(off));
  StreamFree(off);
  EXPECT_FALSE(std::filesystem::exists(dir / "off.bin"));

  g_nImageOutputFlags = kImageOutputFiles;
  _tagFileStream* on = CreateFileSink((dir / "on.txt").c_str());
  // Texts longer than the 4,096-byte format buffer are written whole.
  const std::string longName(5000, 'n');
  EXPECT_EQ(StreamPrint(on, "FILE \"%s\"", longName.c_str()), longName.size() + 7);
  EXPECT_TRUE(StreamClose(on));
  EXPECT_FALSE(on->failed);
  StreamFree(on);
  EXPECT_EQ(ReadWholeFile(dir / "on.txt"), "FILE \"" + longName + "\"");
  // A file that cannot be created marks the stream failed.
  _tagFileStream* bad = CreateFileSink((dir / "missing/folder/x.bin").c_str());
  EXPECT_EQ(StreamWrite(bad, "abc", 1, 3), 0u);
  EXPECT_TRUE(bad->failed);
  StreamFree(bad);
}

TEST(ImageStreams, DataSourcesReadSeekAndDelete) {
  ScratchDir dir;
  const std::string path = dir.Write("source.mpg", "0123456789");
  EXPECT_EQ(OpenFileSource((dir / "none").c_str()), nullptr);
  EXPECT_EQ(OpenFileSource(dir.Path().c_str()), nullptr);  // a folder is no source
  _tagDataSource* s = OpenFileSource(path.c_str());
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->opened);
  EXPECT_EQ(StreamSize(s), 10);
  char buffer[8] = {};
  EXPECT_EQ(StreamRead(s, buffer, 1, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(StreamSeek(s, 4), 4);  // already there
  EXPECT_EQ(StreamReadBytes(s, buffer, 8), 6u);
  EXPECT_EQ(std::string(buffer, 6), "456789");
  StreamClose(s);
  EXPECT_EQ(s->position, 0);
  EXPECT_TRUE(StreamDelete(s));
  EXPECT_FALSE(std::filesystem::exists(path));
  StreamFree(s);
}

TEST(DiscJobState, CancelAndWait) {
  g_hEncodeCancelEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  g_bEncodeCancelled = 0;
  g_nEncodeWaitEvents = 0;
  EXPECT_EQ(CancelEncodeWorker(), 1);
  EXPECT_EQ(g_bEncodeCancelled, 1);
  EXPECT_EQ(WaitForSingleObject(g_hEncodeCancelEvent, 0), WAIT_OBJECT_0);
  // All events set, but the job is cancelled: 0.
  HANDLE done[2] = {CreateEvent(nullptr, TRUE, TRUE, nullptr), CreateEvent(nullptr, TRUE, TRUE, nullptr)};
  EXPECT_EQ(WaitEventsPumpMessages(2, done), 0);
  g_bEncodeCancelled = 0;
  ResetEvent(g_hEncodeCancelEvent);
  EXPECT_EQ(WaitEventsPumpMessages(2, done), 1);
  for (HANDLE h : done) CloseHandle(h);
  CloseHandle(g_hEncodeCancelEvent);
  g_hEncodeCancelEvent = nullptr;

  VideoCDJob job{};
  EXPECT_TRUE(SetJobPath(job.binPath, "/tmp/disc.bin"));
  EXPECT_STREQ(job.binPath, "/tmp/disc.bin");
  EXPECT_FALSE(SetJobPath(job.cuePath, std::string(260, 'x').c_str()));  // no room for the terminator
  EXPECT_STREQ(job.cuePath, "");
  EXPECT_TRUE(SetJobPath(job.cuePath, std::string(259, 'x').c_str()));
}
