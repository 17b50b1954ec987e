// A video album's timeline: how many frames and sound samples its clips make at a frame rate,
// what the frames and the sound hold, a cancel and a refused start, the clip thumbnails, and the
// preview graph that plays the clips one after the other.
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/TimelineProject.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/Wait.h"
#include "tests/modules/data/DataFixtures.h"
#include "tests/support/MessageWindow.h"

namespace {

using datatest::ScratchDir;

constexpr DWORD kGuardMs = 20000;  // hang guards; never reached when things work

// A 160 x 120 clip of one colour at 25 fps, with a constant sound level or without sound.
std::string ColourClip(const ScratchDir& dir, const std::string& name, const char* colour, double seconds,
                       bool sound) {
  const std::string path = dir / name;
  const std::string d = std::to_string(seconds);
  std::vector<std::string> args = {
      "ffmpeg", "-nostdin", "-v",
      "error",  "-y",       "-f",
      "lavfi",  "-i",       std::string("color=c=") + colour + ":s=160x120:r=25:d=" + d};
  if (sound) args.insert(args.end(), {"-f", "lavfi", "-i", "aevalsrc=0.5|0.5:s=44100:d=" + d});
  args.insert(args.end(), {"-c:v", "mpeg4", "-q:v", "2"});
  if (sound) args.insert(args.end(), {"-c:a", "pcm_s16le"});
  args.push_back(path);
  EXPECT_TRUE(datatest::Run(args)) << path;
  return path;
}

_DV_LIST_ITEM_DATA* AddClip(CDVDAlbumMovie& album, const std::string& path, DWORD start, DWORD end) {
  _DV_LIST_ITEM_DATA* item = album.InsertVideoFile(path.c_str(), path.c_str(), nullptr, 0);
  EXPECT_NE(item, nullptr) << path;
  if (item != nullptr) {
    item->pSource->dwStart = start;
    item->pSource->dwEnd = end;
  }
  return item;
}

// Reads a pipe's read end to its end on a thread of its own.
class Drain {
 public:
  explicit Drain(HANDLE readEnd) : m_read(readEnd) {
    m_thread = std::thread([this] {
      std::vector<uint8_t> buffer(65536);
      for (DWORD got = 0;
           ReadFile(m_read, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got;)
        m_bytes.insert(m_bytes.end(), buffer.begin(), buffer.begin() + got);
    });
  }
  ~Drain() {
    if (m_thread.joinable()) m_thread.join();
    CloseHandle(m_read);
  }
  const std::vector<uint8_t>& Finish() {
    m_thread.join();
    return m_bytes;
  }

 private:
  HANDLE m_read;
  std::vector<uint8_t> m_bytes;
  std::thread m_thread;
};

struct Frame {
  int r = 0, g = 0, b = 0;
};

class TimelineOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    m_red = ColourClip(m_dir, "red.avi", "red", 1.0, true);
    m_blue = ColourClip(m_dir, "blue.avi", "blue", 2.0, false);
    m_done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    m_cancel = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    AddClip(m_album, m_red, 200, 1000);   // 0.8 s with sound
    AddClip(m_album, m_blue, 500, 1700);  // 1.2 s without
  }
  void TearDown() override {
    CloseHandle(m_done);
    CloseHandle(m_cancel);
  }

  ScratchDir m_dir;
  std::string m_red, m_blue;
  CDVDAlbumMovie m_album;
  HANDLE m_done = nullptr;
  HANDLE m_cancel = nullptr;
};

TEST_F(TimelineOutput, FramesAndSoundLastTheAlbumsLength) {
  struct Case {
    double fps;
    int frames;       // round(2000 ms x fps / 1000)
    int redFrames;    // of the first clip: round(800 ms x fps / 1000)
    int64_t samples;  // round(frames x 44100 / fps)
  };
  const Case cases[] = {{25, 50, 20, 88200}, {29.97, 60, 24, 88288}};
  for (const Case& c : cases) {
    CTimelineProject timeline;
    ASSERT_EQ(m_album.AddStaffToTimeline(&timeline, 1, 1, 0), S_OK);
    HANDLE yuvRead = nullptr, yuvWrite = nullptr, pcmRead = nullptr, pcmWrite = nullptr;
    ASSERT_TRUE(CreatePipe(&yuvRead, &yuvWrite, nullptr, 0));
    ASSERT_TRUE(CreatePipe(&pcmRead, &pcmWrite, nullptr, 0));
    Drain yuv(yuvRead), pcm(pcmRead);
    ASSERT_EQ(timeline.SetEncodeParamForVideoOutput(320, 180, 1, c.fps, yuvWrite, pcmWrite), S_OK);
    ResetEvent(m_done);
    timeline.SetEncodeNotifyWindow(nullptr, m_cancel, m_done);
    std::vector<Frame> frames;  // the middle and the left edge of each
    timeline.SetFrameSink([&](const BYTE* bits, int w, int h) {
      EXPECT_EQ(w, 320);
      EXPECT_EQ(h, 180);
      const size_t stride = static_cast<size_t>((w * 3 + 3) & ~3);
      const BYTE* middle = bits + stride * static_cast<size_t>(h / 2) + static_cast<size_t>(w / 2) * 3;
      const BYTE* edge = bits + stride * static_cast<size_t>(h / 2) + 5 * 3;
      frames.push_back(Frame{middle[2], middle[1], middle[0]});
      EXPECT_LT(edge[0] + edge[1] + edge[2], 30) << "a 4:3 clip in a 16:9 frame has black sides";
      return TRUE;
    });
    ASSERT_EQ(timeline.BuildTimeline(), S_OK);
    DWORD ms = 0;
    timeline.GetTotalDuration(ms);
    EXPECT_EQ(ms, 2000u);
    EXPECT_EQ(timeline.GetTotalFrames(), c.frames) << c.fps;
    EXPECT_EQ(timeline.GetTotalSamples(), c.samples) << c.fps;
    ASSERT_EQ(timeline.StartDecodeForVideoOutput(), S_OK);
    const std::vector<uint8_t>& sound = pcm.Finish();
    EXPECT_TRUE(yuv.Finish().empty()) << "the frames went to the sink; the pipe was only closed";
    ASSERT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
    EXPECT_EQ(timeline.GetDecodeResult(), S_OK);
    ASSERT_EQ(frames.size(), static_cast<size_t>(c.frames)) << c.fps;
    ASSERT_EQ(sound.size(), static_cast<size_t>(c.samples) * 4) << c.fps;
    for (int k : {0, c.redFrames - 1}) EXPECT_GT(frames[k].r, 200) << c.fps << " frame " << k << " is red";
    for (int k : {c.redFrames, c.frames - 1})
      EXPECT_GT(frames[k].b, 200) << c.fps << " frame " << k << " is blue";
    const auto sample = [&](int64_t frame) {
      int16_t value = 0;
      std::memcpy(&value, sound.data() + frame * 4, 2);
      return value;
    };
    EXPECT_NEAR(sample(1000), 16384, 2) << "the red clip's sound";
    EXPECT_EQ(sample(c.samples - 1000), 0) << "the blue clip has none";
  }
}

TEST_F(TimelineOutput, EachPipeEndsWithItsOwnStream) {
  // A reader that takes all the pictures before the sound, as ffmpeg does when the sound runs
  // ahead: it needs the end of the video stream while the sound is still being written.
  CTimelineProject timeline;
  ASSERT_EQ(m_album.AddStaffToTimeline(&timeline, 1, 1, 0), S_OK);
  HANDLE yuvRead = nullptr, yuvWrite = nullptr, pcmRead = nullptr, pcmWrite = nullptr;
  ASSERT_TRUE(CreatePipe(&yuvRead, &yuvWrite, nullptr, 0));
  ASSERT_TRUE(CreatePipe(&pcmRead, &pcmWrite, nullptr, 0));
  timeline.SetFrameSink([&](const BYTE* bits, int w, int h) {
    DWORD written = 0;
    return WriteFile(yuvWrite, bits, static_cast<DWORD>(((w * 3 + 3) & ~3) * h), &written, nullptr);
  });
  ASSERT_EQ(timeline.SetEncodeParamForVideoOutput(160, 120, 1, 25, yuvWrite, pcmWrite), S_OK);
  timeline.SetEncodeNotifyWindow(nullptr, m_cancel, m_done);
  ASSERT_EQ(timeline.BuildTimeline(), S_OK);
  size_t pictureBytes = 0, soundBytes = 0;
  std::thread reader([&] {
    std::vector<uint8_t> buffer(65536);
    for (DWORD got = 0; ReadFile(yuvRead, buffer.data(), 65536, &got, nullptr) && got;) pictureBytes += got;
    for (DWORD got = 0; ReadFile(pcmRead, buffer.data(), 65536, &got, nullptr) && got;) soundBytes += got;
  });
  ASSERT_EQ(timeline.StartDecodeForVideoOutput(), S_OK);
  const bool done = WaitForSingleObject(m_done, kGuardMs) == WAIT_OBJECT_0;
  if (!done) SetEvent(m_cancel);  // lets a stuck decode and the reader go
  reader.join();
  CloseHandle(yuvRead);
  CloseHandle(pcmRead);
  ASSERT_TRUE(done) << "the reader waited for the end of the pictures";
  EXPECT_EQ(timeline.GetDecodeResult(), S_OK);
  EXPECT_EQ(pictureBytes, 50u * 160 * 120 * 3);
  EXPECT_EQ(soundBytes, 88200u * 4);
}

TEST_F(TimelineOutput, CancelEndsADecodeWhoseReaderStalls) {
  CTimelineProject timeline;
  ASSERT_EQ(m_album.AddStaffToTimeline(&timeline, 1, 1, 0), S_OK);
  HANDLE yuvRead = nullptr, yuvWrite = nullptr, pcmRead = nullptr, pcmWrite = nullptr;
  ASSERT_TRUE(CreatePipe(&yuvRead, &yuvWrite, nullptr, 0));
  ASSERT_TRUE(CreatePipe(&pcmRead, &pcmWrite, nullptr, 0));
  // Nobody reads the frames: the sink writes them into a pipe that fills up.
  std::vector<BYTE> big(1 << 20, 7);
  timeline.SetFrameSink([&](const BYTE*, int, int) {
    DWORD written = 0;
    return WriteFile(yuvWrite, big.data(), static_cast<DWORD>(big.size()), &written, nullptr);
  });
  ASSERT_EQ(timeline.SetEncodeParamForVideoOutput(320, 240, 1, 25, yuvWrite, pcmWrite), S_OK);
  timeline.SetEncodeNotifyWindow(nullptr, m_cancel, m_done);
  ASSERT_EQ(timeline.BuildTimeline(), S_OK);
  ASSERT_EQ(timeline.StartDecodeForVideoOutput(), S_OK);
  EXPECT_EQ(WaitForSingleObject(m_done, 200), static_cast<DWORD>(WAIT_TIMEOUT)) << "stalled";
  SetEvent(m_cancel);
  ASSERT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
  EXPECT_EQ(timeline.GetDecodeResult(), E_ABORT);
  CloseHandle(yuvRead);
  CloseHandle(pcmRead);
}

TEST_F(TimelineOutput, ARefusedStartClosesThePipesAndSetsTheDoneEvent) {
  CTimelineProject timeline;
  ASSERT_EQ(m_album.AddStaffToTimeline(&timeline, 1, 1, 0), S_OK);
  HANDLE yuvRead = nullptr, yuvWrite = nullptr, pcmRead = nullptr, pcmWrite = nullptr;
  ASSERT_TRUE(CreatePipe(&yuvRead, &yuvWrite, nullptr, 0));
  ASSERT_TRUE(CreatePipe(&pcmRead, &pcmWrite, nullptr, 0));
  Drain yuv(yuvRead), pcm(pcmRead);
  ASSERT_EQ(timeline.SetEncodeParamForVideoOutput(320, 240, 1, 25, yuvWrite, pcmWrite), S_OK);
  timeline.SetEncodeNotifyWindow(nullptr, m_cancel, m_done);
  ASSERT_EQ(timeline.BuildTimeline(), S_OK);
  EXPECT_EQ(timeline.StartDecodeForVideoOutput(), E_INVALIDARG) << "no frame sink";
  EXPECT_EQ(WaitForSingleObject(m_done, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(yuv.Finish().empty());
  EXPECT_TRUE(pcm.Finish().empty());

  CTimelineProject empty;
  EXPECT_EQ(empty.BuildTimeline(), E_FAIL);
  IGraphBuilder* graph = nullptr;
  EXPECT_EQ(empty.GetGraphBuilder(&graph), E_UNEXPECTED);
}

TEST_F(TimelineOutput, ClipsGetThumbnailsOfTheirPicture) {
  const _DV_LIST_ITEM_DATA* item = m_album.Get_pVideoItemData(0);
  ASSERT_NE(item->pThumbBits, nullptr);
  EXPECT_EQ(item->nThumbWidth, 160);
  EXPECT_EQ(item->nThumbHeight, 120);
  EXPECT_EQ(item->bmiThumb.bmiHeader.biBitCount, 24);
  const BYTE* middle = item->pThumbBits + ((160 * 3 + 3) & ~3) * 60 + 80 * 3;
  EXPECT_GT(middle[2], 200) << "red";
  EXPECT_LT(middle[0], 60);
}

TEST_F(TimelineOutput, ThePreviewGraphPlaysTheClipsOneAfterTheOther) {
  pictavo::test::MessageWindow window;
  CTimelineProject timeline;
  ASSERT_EQ(m_album.AddStaffToTimeline(&timeline, 1, 0, 0), S_OK);
  ASSERT_EQ(timeline.BuildTimeline(), S_OK);
  ASSERT_EQ(timeline.RenderIt(window.Handle(), window.Handle(), 1), S_OK);
  EXPECT_NE(timeline.m_pVideoWindow, nullptr);
  IGraphBuilder* graph = nullptr;
  ASSERT_EQ(timeline.GetGraphBuilder(&graph), S_OK);
  IMediaControl* control = nullptr;
  IMediaSeeking* seeking = nullptr;
  IMediaEventEx* events = nullptr;
  ASSERT_EQ(graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)), S_OK);
  ASSERT_EQ(graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)), S_OK);
  ASSERT_EQ(graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events)), S_OK);
  LONGLONG duration = 0;
  seeking->GetDuration(&duration);
  EXPECT_EQ(duration, 20000000) << "2 s in 100 ns units";
  // From 1.5 s: the rest of the second clip.
  LONGLONG at = 15000000;
  ASSERT_EQ(seeking->SetPositions(&at, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, nullptr,
                                  AM_SEEKING_NoPositioning),
            S_OK);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(control->Run(), S_OK);
  OAFilterState state = State_Stopped;
  control->GetState(10, &state);
  EXPECT_EQ(state, State_Running);
  MSG msg{};
  ASSERT_TRUE(window.WaitFor(CTimelineProject::kGraphEventMessage, msg, kGuardMs));
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(400));
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  ASSERT_EQ(events->GetEvent(&code, &p1, &p2, 0), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
  events->FreeEventParams(code, p1, p2);
  control->Stop();
  control->Release();
  seeking->Release();
  events->Release();
}

}  // namespace
