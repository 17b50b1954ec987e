// Playing sound without a sound device: the silent sink keeps real time, positions advance and
// stop with pause, seeks and stop positions end playing where they should, the end is reported.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <vector>

#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/media/AudioPlayer.h"
#include "platform/media/AudioSink.h"
#include "tests/platform/media/MediaFixtures.h"

namespace {

using pictavo::media::AudioFormat;
using pictavo::media::AudioPlayer;
using pictavo::media::FromMilliseconds;
using pictavo::media::MediaTime;
using pictavo::media::ToMilliseconds;
using Clock = std::chrono::steady_clock;
using namespace media_test;

constexpr DWORD kGuardMs = 10000;  // a hang guard, never reached when things work

struct PlayedRun {
  bool ended = false;
  int64_t elapsedMs = 0;
  std::vector<MediaTime> positions;  // sampled while playing, in order
};

// Plays until the end event, sampling the position every few milliseconds on the way.
PlayedRun PlayToEnd(AudioPlayer& player) {
  PlayedRun run;
  const auto start = Clock::now();
  player.Play();
  for (;;) {
    run.positions.push_back(player.Position());
    const DWORD wait = WaitForSingleObject(player.EndEvent(), 15);
    if (wait == WAIT_OBJECT_0) {
      run.ended = true;
      break;
    }
    if (Clock::now() - start > std::chrono::milliseconds(kGuardMs)) break;
  }
  run.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  return run;
}

bool Monotonic(const std::vector<MediaTime>& positions) {
  for (size_t i = 1; i < positions.size(); ++i)
    if (positions[i] < positions[i - 1]) return false;
  return true;
}

TEST(AudioPlayer, TheSilentSinkKeepsRealTime) {
  auto player = AudioPlayer::Open(ShortToneWav());
  ASSERT_TRUE(player);
  EXPECT_TRUE(player->IsSilent());
  EXPECT_EQ(player->Format(), (AudioFormat{48000, 2}));
  std::atomic<int> endCalls{0};
  player->SetEndCallback([&] { ++endCalls; });

  const PlayedRun run = PlayToEnd(*player);
  ASSERT_TRUE(run.ended);
  EXPECT_GE(run.elapsedMs, 500) << "0.5 s of sound takes at least 0.5 s to play";
  EXPECT_TRUE(Monotonic(run.positions));
  EXPECT_GT(run.positions.size(), 3u);
  EXPECT_GT(run.positions[run.positions.size() / 2], MediaTime::zero()) << "the position moves while playing";
  EXPECT_EQ(player->Position(), FromMilliseconds(500));
  EXPECT_TRUE(player->HasEnded());
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_EQ(endCalls.load(), 1);
}

TEST(AudioPlayer, PauseHoldsThePosition) {
  auto player = AudioPlayer::Open(ToneWav());
  ASSERT_TRUE(player);
  player->Play();
  // Wait on the end event (it must not come) until some sound has been played.
  while (player->Position() < FromMilliseconds(100))
    ASSERT_EQ(WaitForSingleObject(player->EndEvent(), 10), static_cast<DWORD>(WAIT_TIMEOUT));
  player->Pause();
  const MediaTime held = player->Position();
  EXPECT_EQ(WaitForSingleObject(player->EndEvent(), 150), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(player->Position(), held);
  EXPECT_FALSE(player->IsPlaying());
}

TEST(AudioPlayer, SeeksAndStopPositionsSetWherePlayingEnds) {
  struct Case {
    int64_t seekMs;
    std::optional<int64_t> stopMs;
    int64_t endMs;
  };
  const Case cases[] = {
      {1700, std::nullopt, 2000},  // from inside to the end of the file
      {300, 550, 550},             // a stop position inside the file
      {1900, 1800, 1800},          // a seek beyond the stop lands on it: nothing to play
      {0, 200, 200},
  };
  for (const Case& c : cases) {
    auto player = AudioPlayer::Open(ToneWav());
    ASSERT_TRUE(player);
    if (c.stopMs) player->SetStopPosition(FromMilliseconds(*c.stopMs));
    ASSERT_TRUE(player->Seek(FromMilliseconds(c.seekMs)));
    const PlayedRun run = PlayToEnd(*player);
    ASSERT_TRUE(run.ended) << c.seekMs;
    EXPECT_EQ(player->Position(), FromMilliseconds(c.endMs)) << c.seekMs;
    EXPECT_GE(run.elapsedMs, std::max<int64_t>(0, c.endMs - c.seekMs)) << c.seekMs;
    EXPECT_TRUE(Monotonic(run.positions)) << c.seekMs;
  }
}

TEST(AudioPlayer, StopRewindsAndPlaysAgain) {
  auto player = AudioPlayer::Open(ShortToneWav());
  ASSERT_TRUE(player);
  ASSERT_TRUE(player->Seek(FromMilliseconds(400)));
  ASSERT_TRUE(PlayToEnd(*player).ended);
  player->Play();  // at the end nothing more plays
  EXPECT_FALSE(player->IsPlaying());

  player->Stop();
  EXPECT_EQ(player->Position(), MediaTime::zero());
  EXPECT_FALSE(player->HasEnded());
  EXPECT_EQ(WaitForSingleObject(player->EndEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the event is reset";
  const PlayedRun again = PlayToEnd(*player);
  ASSERT_TRUE(again.ended);
  EXPECT_GE(again.elapsedMs, 500);
}

TEST(AudioSink, TheSilentSinkHandsOutFramesAsTheirTimeComes) {
  // A quarter of a second at 8 kHz: 2000 frames, asked for no sooner than 0.25 s after the
  // start; every buffer starts where the previous one ended, and its time has come.
  HANDLE done = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  int64_t frames = 0;                         // sink thread only
  std::optional<Clock::time_point> expected;  // sink thread only
  std::atomic<int> late{0}, early{0};
  const auto start = Clock::now();
  auto sink = pictavo::media::OpenAudioSink(
      AudioFormat{8000, 1},
      [&](std::span<int16_t> out, Clock::time_point playsAt) {
        if (expected && std::chrono::abs(playsAt - *expected) > std::chrono::microseconds(200)) ++late;
        const auto length = std::chrono::nanoseconds(static_cast<int64_t>(out.size()) * 1'000'000'000 / 8000);
        if (playsAt + length > Clock::now()) ++early;
        expected = playsAt + length;
        if ((frames += static_cast<int64_t>(out.size())) >= 2000) SetEvent(done);
      },
      pictavo::media::AudioOutput::kSilent);
  ASSERT_EQ(WaitForSingleObject(done, kGuardMs), WAIT_OBJECT_0);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  sink.reset();
  EXPECT_GE(elapsed, 250);
  EXPECT_EQ(late.load(), 0) << "buffers follow each other without gaps";
  EXPECT_EQ(early.load(), 0) << "no frame is handed out before its time";
  auto automatic =
      pictavo::media::OpenAudioSink(AudioFormat{8000, 1}, [](std::span<int16_t>, Clock::time_point) {});
  EXPECT_TRUE(automatic->IsSilent()) << "no sound device here";
  CloseHandle(done);
}

}  // namespace
