// Decoding sound to PCM: exact lengths, the tone's frequency after conversion, sample-exact
// starts, streaming in pieces, and files that cannot be decoded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/media/AudioReader.h"
#include "platform/media/MediaProbe.h"
#include "tests/platform/media/MediaFixtures.h"

namespace {

using pictavo::media::AudioFormat;
using pictavo::media::AudioReader;
using pictavo::media::FramesForLength;
using pictavo::media::FromMilliseconds;
using pictavo::media::MediaError;
using pictavo::media::MediaInfo;
using pictavo::media::MediaTime;
using namespace media_test;

TEST(FramesForLength, RoundsToTheNearestFrameHalvesUp) {
  struct Case {
    int64_t units;  // 100 ns
    int rate;
    int64_t frames;
  };
  const Case cases[] = {
      {10'000, 44100, 44},                      // 1 ms = 44.1 frames
      {100'000, 44100, 441},                    // 10 ms
      {113, 44100, 0},                          // 0.498 frames
      {114, 44100, 1},                          // 0.503 frames
      {20'000'000, 48000, 96000},               // 2 s
      {3'600'000'000'0LL, 44100, 158'760'000},  // an hour
      {0, 44100, 0},
      {-10'000, 44100, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(FramesForLength(MediaTime(c.units), c.rate), c.frames) << c.units;
}

TEST(AudioReader, ExactReadsHaveExactlyTheFramesOfTheirLength) {
  struct Case {
    std::string (*file)();
    AudioFormat format;
    int64_t startMs;
    int64_t lengthMs;
  };
  const Case cases[] = {
      {ToneWav, {44100, 1}, 0, 2000},   // the file's own format, whole
      {ToneWav, {48000, 2}, 0, 2000},   // 44.1 kHz mono to 48 kHz stereo
      {ToneWav, {22050, 1}, 500, 333},  // downsampled, from inside
      {ToneMp3, {44100, 2}, 250, 1001},  {ToneMp3, {8000, 1}, 0, 2000},
      {ToneWav, {44100, 2}, 1500, 1000},  // past the end: the rest is silence
  };
  for (const Case& c : cases) {
    auto reader = AudioReader::Open(c.file(), c.format);
    ASSERT_TRUE(reader);
    std::vector<int16_t> pcm;
    ASSERT_TRUE(reader->ReadExact(FromMilliseconds(c.startMs), FromMilliseconds(c.lengthMs), pcm));
    const int64_t frames = FramesForLength(FromMilliseconds(c.lengthMs), c.format.sampleRate);
    EXPECT_EQ(pcm.size() * sizeof(int16_t), static_cast<size_t>(frames) * c.format.BytesPerFrame())
        << c.format.sampleRate << "/" << c.format.channels << " from " << c.startMs;
  }
}

TEST(AudioReader, ToneKeepsItsFrequencyThroughConversion) {
  struct Case {
    std::string (*file)();
    AudioFormat format;
  };
  const Case cases[] = {
      {ToneWav, {44100, 1}}, {ToneWav, {48000, 2}}, {ToneWav, {11025, 1}},
      {ToneMp3, {44100, 1}}, {ToneMp3, {48000, 2}},
  };
  for (const Case& c : cases) {
    auto reader = AudioReader::Open(c.file(), c.format);
    ASSERT_TRUE(reader);
    std::vector<int16_t> pcm;
    ASSERT_TRUE(reader->ReadExact(FromMilliseconds(500), FromMilliseconds(1000), pcm));
    for (int channel = 0; channel < c.format.channels; ++channel) {
      const std::vector<int16_t> mono = Channel(pcm, c.format.channels, channel);
      EXPECT_NEAR(Frequency(mono, c.format.sampleRate), 440.0, 2.0)
          << c.format.sampleRate << " channel " << channel;
      EXPECT_GT(Peak(mono), 2000) << "the tone is audible";
    }
  }
}

TEST(AudioReader, StreamingTheWholeFileGivesItsLengthAtTheNewRate) {
  // 2 s at 44.1 kHz mono resampled to 48 kHz stereo: 96000 frames.
  auto reader = AudioReader::Open(ToneWav(), AudioFormat{48000, 2});
  ASSERT_TRUE(reader);
  std::vector<int16_t> buffer(2 * 1000);
  size_t frames = 0;
  while (size_t n = reader->Read(buffer)) frames += n;
  EXPECT_TRUE(reader->AtEnd());
  EXPECT_FALSE(reader->Error());
  EXPECT_NEAR(static_cast<double>(frames), 96000.0, 2.0);
  EXPECT_EQ(reader->Read(buffer), 0u);
}

TEST(AudioReader, StreamingInOddPiecesMatchesTheExactRead) {
  const std::string file = SwitchWav();
  const MediaTime start = FromMilliseconds(730);
  auto exact = AudioReader::Open(file, AudioFormat{44100, 2});
  auto streamed = AudioReader::Open(file, AudioFormat{44100, 2});
  ASSERT_TRUE(exact && streamed);
  std::vector<int16_t> expected;
  ASSERT_TRUE(exact->ReadExact(start, FromMilliseconds(800), expected));

  ASSERT_TRUE(streamed->Seek(start));
  std::string bytes;
  const size_t pieces[] = {3, 1000, 4, 77, 4096, 12, 65536};
  for (size_t i = 0; bytes.size() < expected.size() * sizeof(int16_t); ++i) {
    std::string piece(pieces[i % std::size(pieces)], '\0');
    const size_t got = streamed->ReadBytes(piece.data(), piece.size());
    EXPECT_EQ(got % 4, 0u) << "whole frames only";
    ASSERT_GT(got + (piece.size() < 4 ? 1 : 0), 0u);
    bytes.append(piece.data(), got);
  }
  ASSERT_GE(bytes.size(), expected.size() * sizeof(int16_t));
  EXPECT_EQ(std::memcmp(bytes.data(), expected.data(), expected.size() * sizeof(int16_t)), 0);
}

// Where a tone that doubles its frequency at 1 s does so, in a read that starts at `start`.
double SwitchTimeMs(const std::vector<int16_t>& mono, int rate) {
  // Rising zero crossings: 440 Hz gives one every 2.27 ms, 880 Hz one every 1.14 ms.
  std::vector<size_t> rising;
  for (size_t i = 1; i < mono.size(); ++i)
    if (mono[i - 1] < 0 && mono[i] >= 0) rising.push_back(i);
  for (size_t k = 1; k + 1 < rising.size(); ++k) {
    const double gap = static_cast<double>(rising[k + 1] - rising[k]) * 1000.0 / rate;
    if (gap < 1.7) return static_cast<double>(rising[k]) * 1000.0 / rate;
  }
  return -1;
}

TEST(AudioReader, SeeksAreSampleExact) {
  struct Case {
    int rate;
    int64_t startMs;
  };
  const Case cases[] = {{48000, 0}, {48000, 500}, {48000, 999}, {44100, 250}, {22050, 640}};
  for (const Case& c : cases) {
    auto reader = AudioReader::Open(SwitchWav(), AudioFormat{c.rate, 1});
    ASSERT_TRUE(reader);
    std::vector<int16_t> pcm;
    ASSERT_TRUE(reader->ReadExact(FromMilliseconds(c.startMs), FromMilliseconds(1500), pcm));
    EXPECT_NEAR(SwitchTimeMs(pcm, c.rate), 1000.0 - static_cast<double>(c.startMs), 1.5)
        << c.rate << " Hz from " << c.startMs << " ms";
  }
}

TEST(AudioReader, SeekingGivesTheSamplesReadingOnWouldGive) {
  struct Case {
    std::string (*file)();
    AudioFormat format;
    int64_t startMs;
    int tolerance;  // a resampler starts without the history it has when reading on
  };
  const Case cases[] = {
      {ToneMp3, {44100, 1}, 100, 0},  {ToneMp3, {44100, 1}, 777, 0},    {ToneWav, {44100, 1}, 1234, 0},
      {ToneMp3, {48000, 2}, 500, 64}, {SwitchWav, {44100, 1}, 990, 64},
  };
  for (const Case& c : cases) {
    auto reader = AudioReader::Open(c.file(), c.format);
    ASSERT_TRUE(reader);
    std::vector<int16_t> whole, part;
    ASSERT_TRUE(reader->ReadExact(MediaTime::zero(), FromMilliseconds(1800), whole));
    ASSERT_TRUE(reader->ReadExact(FromMilliseconds(c.startMs), FromMilliseconds(300), part));
    const size_t offset =
        static_cast<size_t>(FramesForLength(FromMilliseconds(c.startMs), c.format.sampleRate)) *
        static_cast<size_t>(c.format.channels);
    int worst = 0;
    for (size_t i = 0; i < part.size(); ++i) worst = std::max(worst, std::abs(part[i] - whole[offset + i]));
    EXPECT_LE(worst, c.tolerance) << c.format.sampleRate << " Hz from " << c.startMs << " ms";
  }
}

TEST(AudioReader, BackslashesSeparateFolders) {
  const std::string path = ToneWav();
  std::string windowsStyle = path;
  std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
  EXPECT_TRUE(AudioReader::Open(windowsStyle, AudioFormat{44100, 1}));
}

TEST(MediaProbe, TellsTheStreamsOfAFile) {
  MediaInfo info;
  ASSERT_TRUE(pictavo::media::ProbeMedia(ToneWav(), info));
  EXPECT_EQ(info.container, "wav");
  EXPECT_EQ(info.duration, FromMilliseconds(2000));
  EXPECT_TRUE(info.hasAudio);
  EXPECT_FALSE(info.hasVideo);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.audioCodec, "pcm_s16le");

  ASSERT_TRUE(pictavo::media::ProbeMedia(ColoursMp4(), info));
  EXPECT_TRUE(info.hasAudio);
  EXPECT_TRUE(info.hasVideo);
  EXPECT_EQ(info.width, 160);
  EXPECT_EQ(info.height, 120);
  EXPECT_EQ(info.frameRateNum, 25);
  EXPECT_EQ(info.frameRateDen, 1);
  EXPECT_EQ(info.videoCodec, "h264");
  EXPECT_EQ(info.audioCodec, "aac");
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_NEAR(static_cast<double>(pictavo::media::ToMilliseconds(info.duration)), 3000.0, 30.0);

  ASSERT_TRUE(pictavo::media::ProbeMedia(ToneMp3(), info));
  EXPECT_EQ(info.audioCodec, "mp3");
  EXPECT_NEAR(static_cast<double>(pictavo::media::ToMilliseconds(info.duration)), 2000.0, 60.0);
}

TEST(AudioReader, FilesThatCannotBeDecodedFailWithAReason) {
  const std::string mp4 = ReadWholeFile(ColoursMp4());
  struct Case {
    std::string name;
    std::string path;
    DWORD code;
  };
  const Case cases[] = {
      {"missing", FixtureFolder::Get() / "no-such-file.mp3", ERROR_FILE_NOT_FOUND},
      {"noise", WriteFile("noise.mp3", std::string(4096, '\x5a')), ERROR_BAD_FORMAT},
      {"text", WriteFile("notes.wav", "these are not the sounds you are looking for\n"), ERROR_BAD_FORMAT},
      {"empty", WriteFile("empty.mp3", ""), ERROR_BAD_FORMAT},
      {"cut", WriteFile("cut.mp4", mp4.substr(0, mp4.size() / 2)), ERROR_BAD_FORMAT},
      {"no sound", SilentVideoMp4(), ERROR_NOT_SUPPORTED},
  };
  for (const Case& c : cases) {
    MediaError error;
    SetLastError(0);
    EXPECT_FALSE(AudioReader::Open(c.path, AudioFormat{44100, 2}, &error)) << c.name;
    EXPECT_EQ(error.code, c.code) << c.name << ": " << error.message;
    EXPECT_EQ(GetLastError(), c.code) << c.name;
    EXPECT_NE(error.message.find(c.path), std::string::npos) << c.name << ": " << error.message;
  }
}

TEST(AudioReader, AWavCutShortPlaysWhatItHasThenSilence) {
  const std::string wav = ReadWholeFile(ToneWav());
  // Header plus the first half second of samples: the header still claims 2 s.
  const std::string path = WriteFile("short-data.wav", wav.substr(0, 44 + 44100 * 2 / 2));
  auto reader = AudioReader::Open(path, AudioFormat{44100, 1});
  ASSERT_TRUE(reader);
  std::vector<int16_t> pcm;
  ASSERT_TRUE(reader->ReadExact(MediaTime::zero(), FromMilliseconds(1000), pcm));
  ASSERT_EQ(pcm.size(), 44100u);
  EXPECT_GT(Peak(std::span<const int16_t>(pcm).first(20000)), 4000);
  EXPECT_EQ(Peak(std::span<const int16_t>(pcm).last(20000)), 0);
}

}  // namespace
