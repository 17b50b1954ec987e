// An album's music as one track: what plays when (looping, cuts, fades, annotations), the PCM
// the decoder writes into a pipe (exact length, ramps, silence), how a decode ends (cancel, a dead
// reader, a refused start) and the player's end notification.
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "modules/data/DSTLAudio.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/MusicMix.h"
#include "platform/base/Array.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/Wait.h"
#include "tests/modules/data/DataFixtures.h"
#include "tests/support/MessageWindow.h"

namespace {

using datatest::ScratchDir;
using pictavo::data::MusicPiece;
using pictavo::data::MusicPlan;

constexpr DWORD kGuardMs = 10000;  // hang guards; never reached when things work

// A stereo 8000 Hz WAV holding one constant level on both channels.
std::string LevelWav(const ScratchDir& dir, const std::string& name, const char* level, int seconds) {
  const std::string path = dir / name;
  EXPECT_TRUE(
      datatest::Run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                     std::string("aevalsrc=") + level + "|" + level + ":s=8000:d=" + std::to_string(seconds),
                     "-c:a", "pcm_s16le", path}))
      << path;
  return path;
}

_AUDIO_SOURCE Clip(const std::string& path, int trimStart, int trimEnd, int start) {
  _AUDIO_SOURCE clip;
  clip.strPathName = path.c_str();
  clip.nSourceLength = 60000;
  clip.nTrimStart = trimStart;
  clip.nTrimEnd = trimEnd;
  clip.nStartPos = start;
  return clip;
}

struct Track {
  std::vector<uint8_t> bytes;
  DWORD readError = 0;
};

// Reads a pipe's read end to its end on a thread of its own.
class PipeReader {
 public:
  explicit PipeReader(HANDLE readEnd) : m_read(readEnd) {
    m_thread = std::thread([this] {
      std::vector<uint8_t> buffer(65536);
      for (;;) {
        DWORD got = 0;
        if (!ReadFile(m_read, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
          m_track.readError = GetLastError();
          break;
        }
        if (got == 0) break;
        m_track.bytes.insert(m_track.bytes.end(), buffer.begin(), buffer.begin() + got);
      }
    });
  }
  ~PipeReader() {
    if (m_thread.joinable()) m_thread.join();
    CloseHandle(m_read);
  }
  const Track& Finish() {
    m_thread.join();
    return m_track;
  }

 private:
  HANDLE m_read;
  Track m_track;
  std::thread m_thread;
};

struct PlanCase {
  const char* what;
  bool loop, fade;
  std::vector<std::pair<int, int>> clips;  // trim length and start, ms
  int totalMs;
  std::vector<std::tuple<int64_t, int64_t, int64_t>> pieces;  // start, length, fade
};

const PlanCase kPlans[] = {
    {"a clip plays once without looping", false, false, {{4000, 1000}}, 10000, {{1000, 4000, 0}}},
    {"looping repeats the list from where its last entry ended",
     true,
     false,
     {{3000, 0}, {2000, 4000}},
     15000,
     {{0, 3000, 0}, {4000, 2000, 0}, {6000, 3000, 0}, {10000, 2000, 0}, {12000, 3000, 0}}},
    {"the end cuts the entry playing then", false, false, {{8000, 5000}}, 9000, {{5000, 4000, 0}}},
    {"fades: 3 s, or half the piece less a second",
     false,
     true,
     {{8000, 0}, {6000, 8000}},
     20000,
     {{0, 8000, 3000}, {8000, 6000, 2000}}},
    {"a fading piece cut to 6 s or less is left out and ends the looping",
     true,
     true,
     {{10000, 0}},
     25000,
     {{0, 10000, 3000}, {10000, 10000, 3000}}},
    {"a cut fading piece longer than 6 s stays",
     true,
     true,
     {{10000, 0}},
     27000,
     {{0, 10000, 3000}, {10000, 10000, 3000}, {20000, 7000, 2500}}},
    {"entries starting after the end are never heard", true, false, {{1000, 5000}}, 4000, {}},
};

TEST(MusicPlan, PlacesTheAlbumsEntriesOnTheTrack) {
  for (const PlanCase& c : kPlans) {
    CDVDAlbumImage album;
    album.Set_dwTransDurationType(c.loop ? 0 : 1);
    album.Set_bMusicFadeInOut(c.fade);
    for (const auto& [length, start] : c.clips)
      album.AddBackgroundMusic(Clip("m.wav", 500, 500 + length, start));
    const MusicPlan plan = pictavo::data::PlanAlbumMusic(album, c.totalMs);
    ASSERT_EQ(plan.pieces.size(), c.pieces.size()) << c.what;
    for (size_t i = 0; i < plan.pieces.size(); ++i) {
      const MusicPiece& p = plan.pieces[i];
      EXPECT_EQ(p.mediaStartMs, 500) << c.what;
      EXPECT_EQ(std::make_tuple(p.startMs, p.lengthMs, p.fadeMs), c.pieces[i]) << c.what << " piece " << i;
    }
  }
}

TEST(MusicPlan, AnnotationsPlayFromTheirSlideAfterTheTitles) {
  CDVDAlbumImage album;
  album.Set_nOneDuration(-1, 1);
  album.Set_nTwoDuration(-1, 3);
  album.GetAlbumEffect()->GetTitleSettings()->bEnabled = 1;
  album.GetAlbumEffect()->GetTitleSettings()->nDuration = 2;
  for (int i = 0; i < 3; ++i) album.AddDVDImage(new CDVDImage(&album));
  const _AUDIO_SOURCE note = Clip("note.wav", 0, 10000, 0);
  album.GetImage(1)->SetAnnotation(&note);
  const MusicPlan plan = pictavo::data::PlanAlbumMusic(album, 16000);
  ASSERT_EQ(plan.pieces.size(), 1u);
  // Titles 2 s, slide 0 lasts 4 s: slide 1 starts at 6 s; the track ends 10 s later.
  EXPECT_EQ(plan.pieces[0], (MusicPiece{"note.wav", 0, 6000, 10000, 0}));
}

class MusicDecode : public ::testing::Test {
 protected:
  void SetUp() override {
    m_a = LevelWav(m_dir, "a.wav", "0.5", 5);
    m_b = LevelWav(m_dir, "b.wav", "0.25", 5);
    m_done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    m_cancel = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  }
  void TearDown() override {
    CloseHandle(m_done);
    CloseHandle(m_cancel);
  }

  _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM Param(CDVDAlbumImage& album, HANDLE pipe, DWORD ms, int rate = 8000) {
    return _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM{&album, nullptr, m_cancel, m_done, 0, pipe, rate, ms, 2, 1, 1};
  }

  ScratchDir m_dir;
  std::string m_a, m_b;
  HANDLE m_done = nullptr;
  HANDLE m_cancel = nullptr;
};

int16_t SampleAt(const Track& track, int ms, int channel) {
  const size_t frame = static_cast<size_t>(ms) * 8;  // 8000 Hz
  int16_t value = 0;
  std::memcpy(&value, track.bytes.data() + (frame * 2 + static_cast<size_t>(channel)) * 2, 2);
  return value;
}

int Scaled(int full, double gain) {
  return static_cast<int>(std::lround(full * gain));
}

TEST_F(MusicDecode, WritesTheTrackExactlyWithRampsAndSilence) {
  struct Point {
    int ms;
    double gainOfA, gainOfB;  // expected level as a share of each file's full level
  };
  struct Case {
    const char* what;
    bool fade;
    std::vector<Point> points;
  };
  // Entry A plays 4 s of a.wav at 0 s (fade 1 s), entry B 3 s of b.wav at 5 s (fade 0.5 s); the
  // list loops over a 10 s track. With fades the second pass's A would be cut to 2 s and is left
  // out; without them it plays until the end.
  const Case cases[] = {
      {"fades",
       true,
       {{0, 0, 0},
        {250, 0.25, 0},
        {2000, 1, 0},
        {3500, 0.5, 0},
        {4500, 0, 0},
        {5125, 0, 0.25},
        {6500, 0, 1},
        {7750, 0, 0.5},
        {9000, 0, 0}}},
      {"no fades", false, {{0, 1, 0}, {3999, 1, 0}, {4500, 0, 0}, {5000, 0, 1}, {8500, 1, 0}, {9999, 1, 0}}},
  };
  for (const Case& c : cases) {
    CDVDAlbumImage album;
    album.Set_dwTransDurationType(0);
    album.Set_bMusicFadeInOut(c.fade);
    album.AddBackgroundMusic(Clip(m_a, 500, 4500, 0));
    album.AddBackgroundMusic(Clip(m_b, 1000, 4000, 5000));
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    PipeReader reader(readEnd);
    ResetEvent(m_done);
    CDSTLAudio decoder;
    const auto param = Param(album, writeEnd, 10000);
    ASSERT_TRUE(decoder.StartDecode(&param)) << c.what;
    const Track& track = reader.Finish();  // ends when the decoder closes the pipe
    ASSERT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0) << c.what;
    EXPECT_EQ(decoder.GetDecodeResult(), static_cast<DWORD>(NO_ERROR)) << c.what;
    ASSERT_EQ(track.bytes.size(), 10u * 8000 * 2 * 2) << c.what << ": 10 s x 8000 Hz x 2 channels x 2 bytes";

    const int fullA = 16384, fullB = 8192;  // 0.5 and 0.25 of full scale
    for (const Point& p : c.points)
      for (int channel = 0; channel < 2; ++channel)
        EXPECT_NEAR(SampleAt(track, p.ms, channel), Scaled(fullA, p.gainOfA) + Scaled(fullB, p.gainOfB), 1)
            << c.what << " at " << p.ms << " ms";
  }
}

TEST_F(MusicDecode, LengthsRoundToTheNearestFrame) {
  struct Case {
    DWORD ms;
    int rate;
    size_t frames;
  };
  const Case cases[] = {{3000, 44100, 132300}, {1001, 44100, 44144}, {10, 22050, 221}, {0, 48000, 0}};
  CDVDAlbumImage album;  // no music: silence
  for (const Case& c : cases) {
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    PipeReader reader(readEnd);
    ResetEvent(m_done);
    CDSTLAudio decoder;
    const auto param = Param(album, writeEnd, c.ms, c.rate);
    ASSERT_TRUE(decoder.StartDecode(&param));
    const Track& track = reader.Finish();
    ASSERT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
    EXPECT_EQ(track.bytes.size(), c.frames * 4) << c.ms << " ms at " << c.rate;
    EXPECT_TRUE(std::all_of(track.bytes.begin(), track.bytes.end(), [](uint8_t b) { return b == 0; }));
  }
}

TEST_F(MusicDecode, CancelEndsADecodeBlockedOnAReaderThatDoesNotRead) {
  CDVDAlbumImage album;
  album.AddBackgroundMusic(Clip(m_a, 0, 5000, 0));
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  CDSTLAudio decoder;
  // An hour of sound: far more than the pipe holds, so the writer soon waits for the reader.
  const auto param = Param(album, writeEnd, 3600 * 1000, 44100);
  ASSERT_TRUE(decoder.StartDecode(&param));
  EXPECT_EQ(WaitForSingleObject(m_done, 200), static_cast<DWORD>(WAIT_TIMEOUT)) << "still writing";
  EXPECT_EQ(decoder.GetDecodeResult(), static_cast<DWORD>(ERROR_IO_PENDING));
  SetEvent(m_cancel);
  ASSERT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
  EXPECT_EQ(decoder.GetDecodeResult(), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
  // The pipe was closed: the reader gets what was written, then the end.
  PipeReader reader(readEnd);
  const Track& track = reader.Finish();
  EXPECT_GT(track.bytes.size(), 0u);
  EXPECT_LT(track.bytes.size(), 3600u * 44100 * 4);
}

TEST_F(MusicDecode, ADeadReaderEndsTheDecodeWithTheWritesError) {
  CDVDAlbumImage album;
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  CloseHandle(readEnd);
  CDSTLAudio decoder;
  const auto param = Param(album, writeEnd, 3600 * 1000, 44100);
  ASSERT_TRUE(decoder.StartDecode(&param));
  ASSERT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
  EXPECT_EQ(decoder.GetDecodeResult(), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(MusicDecode, ARefusedStartStillClosesThePipeAndSetsTheDoneEvent) {
  struct Case {
    const char* what;
    bool album;
    int rate, channels;
  };
  const Case cases[] = {
      {"no album", false, 44100, 2}, {"no rate", true, 0, 2}, {"six channels", true, 44100, 6}};
  for (const Case& c : cases) {
    CDVDAlbumImage album;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    PipeReader reader(readEnd);
    ResetEvent(m_done);
    _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM param = Param(album, writeEnd, 1000, c.rate);
    param.nChannels = c.channels;
    if (!c.album) param.pAlbum = nullptr;
    CDSTLAudio decoder;
    EXPECT_FALSE(decoder.StartDecode(&param)) << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << c.what;
    EXPECT_EQ(WaitForSingleObject(m_done, 0), WAIT_OBJECT_0) << c.what;
    EXPECT_TRUE(reader.Finish().bytes.empty()) << c.what << ": the reader saw the end";
  }
}

class MusicPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    m_stop = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    m_done = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  }
  void TearDown() override {
    CloseHandle(m_stop);
    CloseHandle(m_done);
  }
  ScratchDir m_dir;
  pictavo::test::MessageWindow m_window;
  HANDLE m_stop = nullptr;
  HANDLE m_done = nullptr;
};

TEST_F(MusicPlayer, TheNaturalEndPostsMusicPlayEnd) {
  const std::string tone = LevelWav(m_dir, "tone.wav", "0.3", 1);
  // A one-second album whose music stops after 0.4 s, played from 0.1 s.
  CDVDAlbumImage album;
  album.Set_nOneDuration(-1, 0);
  album.Set_nTwoDuration(-1, 1);
  album.AddDVDImage(new CDVDImage(&album));
  album.AddBackgroundMusic(Clip(tone, 0, 400, 0));
  ResetEvent(m_done);
  CDSTLAudio player;
  const _DSTLAUDIO_PLAY_IMAGEALBUM_PARAM param{&album, m_window.Handle(), m_stop, m_done, 100, 0};
  ASSERT_TRUE(player.StartPlay(&param));
  EXPECT_TRUE(player.IsPlaying());
  MSG msg{};
  ASSERT_TRUE(m_window.WaitFor(WM_MUSIC_PLAY_END, msg, kGuardMs));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
  EXPECT_FALSE(player.IsPlaying());
}

TEST_F(MusicPlayer, FilesPlayOneAfterTheOtherToTheirEnd) {
  CStringArray files;
  files.Add(LevelWav(m_dir, "one.wav", "0.3", 1).c_str());
  files.Add((m_dir / "missing.wav").c_str());
  files.Add(LevelWav(m_dir, "two.wav", "0.3", 1).c_str());
  ResetEvent(m_done);
  CDSTLAudio player;
  const _DSTLAUDIO_PLAY_FILES_PARAM param{&files, m_window.Handle(), m_stop, m_done, 1700, 0};
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(player.StartPlay(&param));
  MSG msg{};
  ASSERT_TRUE(m_window.WaitFor(WM_MUSIC_PLAY_END, msg, kGuardMs));
  // 0.3 s were left of the two seconds; the output plays in real time.
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
  EXPECT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
}

TEST_F(MusicPlayer, TheStopEventEndsPlayingWithoutTheMessage) {
  CStringArray files;
  files.Add(LevelWav(m_dir, "long.wav", "0.3", 30).c_str());
  ResetEvent(m_done);
  CDSTLAudio player;
  const _DSTLAUDIO_PLAY_FILES_PARAM param{&files, m_window.Handle(), m_stop, m_done, 0, 0};
  ASSERT_TRUE(player.StartPlay(&param));
  EXPECT_EQ(WaitForSingleObject(m_done, 100), static_cast<DWORD>(WAIT_TIMEOUT)) << "playing";
  SetEvent(m_stop);
  ASSERT_EQ(WaitForSingleObject(m_done, kGuardMs), WAIT_OBJECT_0);
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_FALSE(m_window.HasPending(WM_MUSIC_PLAY_END));
}

TEST(MusicFiles, DurationsInMilliseconds) {
  ScratchDir dir;
  const std::string two = LevelWav(dir, "two.wav", "0.1", 2);
  datatest::WriteWholeFile(dir / "text.wav", "not sound");
  struct Case {
    std::string path;
    DWORD ms;
  };
  const Case cases[] = {{two, 2000}, {dir / "text.wav", 0}, {dir / "missing.mp3", 0}, {"", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(CDSTLAudio::GetMediaFileDuration(c.path.c_str()), c.ms) << c.path;
    DWORD ms = 12345;
    EXPECT_EQ(CDSTLAudio::GetMediaFileDuration(c.path.c_str(), ms), c.ms != 0) << c.path;
    EXPECT_EQ(ms, c.ms) << c.path;
  }
}

}  // namespace
