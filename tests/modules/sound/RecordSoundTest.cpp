// The recorder against SDL's disk driver, which records from a file of raw samples at the pace
// of a real device: what reaches the WAV file must be exactly what the "microphone" gave.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "modules/sound/AudioMixer.h"
#include "modules/sound/RecordSound.h"
#include "modules/sound/WaveFileWriter.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"

namespace {

using pictavo::sound::WaveFileWriter;
using pictavo::test::ReadWholeFile;
using pictavo::test::ScopedEnv;
using pictavo::test::ScratchDir;

// Two seconds of 44100 Hz stereo that no two neighbouring samples share.
std::string KnownInput() {
  std::vector<int16_t> samples(2 * 44100 * 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i * 7919u) % 65536u - 32768);
  return std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * sizeof(int16_t));
}

// The disk driver, fed from `input`; its playback side writes nowhere.
struct DiskDriver {
  explicit DiskDriver(const std::string& input)
      : driver("SDL_AUDIODRIVER", "disk"),
        in("SDL_DISKAUDIOFILEIN", input.c_str()),
        out("SDL_DISKAUDIOFILE", "/dev/null") {}
  ScopedEnv driver, in, out;
};

TEST(WaveFileWriter, HeaderDescribesThePcm) {
  struct Case {
    int rate, channels;
    uint32_t bytes;
    uint32_t byteRate;
    uint16_t align;
  };
  const Case kCases[] = {{44100, 2, 1000, 176400, 4}, {8000, 1, 0, 16000, 2}, {48000, 2, 7, 192000, 4}};
  for (const Case& c : kCases) {
    const std::string h = WaveFileWriter::Header({c.rate, c.channels}, c.bytes);
    ASSERT_EQ(h.size(), 44u);
    uint32_t riff, byteRate, data;
    uint16_t channels, align, bits;
    std::memcpy(&riff, h.data() + 4, 4);
    std::memcpy(&channels, h.data() + 22, 2);
    std::memcpy(&byteRate, h.data() + 28, 4);
    std::memcpy(&align, h.data() + 32, 2);
    std::memcpy(&bits, h.data() + 34, 2);
    std::memcpy(&data, h.data() + 40, 4);
    EXPECT_EQ(h.substr(0, 4), "RIFF");
    EXPECT_EQ(h.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(h.substr(36, 4), "data");
    EXPECT_EQ(riff, 36 + c.bytes) << c.rate;
    EXPECT_EQ(channels, c.channels);
    EXPECT_EQ(byteRate, c.byteRate);
    EXPECT_EQ(align, c.align);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(data, c.bytes);
  }
}

TEST(WaveFileWriter, TargetChangesOnlyWhenFinished) {
  ScratchDir dir;
  const std::string target = dir.Write("take.wav", "old take");
  const int16_t samples[] = {1, -1, 300, -300};
  {
    WaveFileWriter abandoned;
    ASSERT_TRUE(abandoned.Open(target, {44100, 2}));
    abandoned.Write(samples);
  }
  EXPECT_EQ(ReadWholeFile(target), "old take");
  WaveFileWriter writer;
  ASSERT_TRUE(writer.Open(target, {44100, 2}));
  writer.Write(samples);
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(ReadWholeFile(target), WaveFileWriter::Header({44100, 2}, sizeof samples) +
                                       std::string(reinterpret_cast<const char*>(samples), sizeof samples));
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(WaveFileWriter, MissingFolderIsRefused) {
  ScratchDir dir;
  WaveFileWriter writer;
  EXPECT_FALSE(writer.Open(dir / "no/such/take.wav", {44100, 2}));
  EXPECT_FALSE(writer.Error().empty());
  EXPECT_FALSE(writer.Finish());
}

TEST(RecordSound, SamplesEqualTheInput) {
  ScratchDir dir;
  const std::string input = KnownInput();
  DiskDriver disk(dir.Write("mic.raw", input));
  CStringArray devices;
  ASSERT_TRUE(CAudioMixer::GetAudioRecordDevicesName(devices));
  const std::string target = dir / "voice.wav";
  CRecordSound::SetWaveFileName(target.c_str());
  ASSERT_TRUE(CRecordSound::Init_Record(0)) << CRecordSound::GetLastRecordError().GetString();
  ASSERT_TRUE(CRecordSound::Start_Record());
  ASSERT_TRUE(CRecordSound::WaitForRecordedFrames(22050, 20000));
  ASSERT_TRUE(CRecordSound::Stop_Record()) << CRecordSound::GetLastRecordError().GetString();

  const std::string wav = ReadWholeFile(target);
  ASSERT_GT(wav.size(), 44u + 22050u * 4u);
  const size_t data = wav.size() - 44;
  EXPECT_EQ(wav.substr(0, 44), WaveFileWriter::Header({44100, 2}, static_cast<uint32_t>(data)));
  const size_t compared = std::min(data, input.size());
  EXPECT_TRUE(wav.compare(44, compared, input, 0, compared) == 0)
      << "the recorded samples differ from the input";
}

TEST(RecordSound, RecordingVolumeScalesTheSamples) {
  ScratchDir dir;
  const std::string input = KnownInput();
  DiskDriver disk(dir.Write("mic.raw", input));
  CAudioMixer mixer;
  ASSERT_TRUE(mixer.HasDevice());
  ASSERT_TRUE(mixer.SetInputVolume(0.5f));
  const std::string target = dir / "half.wav";
  CRecordSound::SetWaveFileName(target.c_str());
  ASSERT_TRUE(CRecordSound::Init_Record(0));
  ASSERT_TRUE(CRecordSound::Start_Record());
  ASSERT_TRUE(CRecordSound::WaitForRecordedFrames(4410, 20000));
  ASSERT_TRUE(CRecordSound::Stop_Record());
  mixer.SetInputVolume(1.0f);
  const std::string wav = ReadWholeFile(target);
  ASSERT_GT(wav.size(), 44u + 4410u * 4u);
  const auto* in = reinterpret_cast<const int16_t*>(input.data());
  for (size_t i = 0; i < 4410 * 2; ++i) {
    int16_t got;
    std::memcpy(&got, wav.data() + 44 + 2 * i, 2);
    ASSERT_EQ(got, static_cast<int16_t>((int32_t{in[i]} * 32768) >> 16)) << i;
  }
}

TEST(RecordSound, WithoutDeviceNothingIsWrittenAndTheOldFileStays) {
  ScratchDir dir;
  ScopedEnv dummy("SDL_AUDIODRIVER", "dummy");
  CStringArray devices;
  EXPECT_FALSE(CAudioMixer::GetAudioRecordDevicesName(devices));
  EXPECT_FALSE(CAudioMixer().HasDevice());
  const std::string target = dir.Write("take.wav", "old take");
  CRecordSound::SetWaveFileName(target.c_str());
  EXPECT_FALSE(CRecordSound::Init_Record(0));
  EXPECT_FALSE(CRecordSound::Start_Record());
  EXPECT_FALSE(CRecordSound::Stop_Record());
  EXPECT_FALSE(CRecordSound::GetLastRecordError().IsEmpty());
  EXPECT_EQ(ReadWholeFile(target), "old take");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(AudioMixer, PlaybackVolumeIsTheProgramsOutputLevel) {
  CAudioMixer mixer("no such device");
  EXPECT_FALSE(mixer.HasDevice());
  EXPECT_FALSE(mixer.SetInputVolume(0.3f));
  EXPECT_FLOAT_EQ(mixer.GetPCMOutputVolume(), 1.0f);
  EXPECT_TRUE(mixer.SetPCMOutputVolume(0.25f));
  EXPECT_FLOAT_EQ(CAudioMixer().GetPCMOutputVolume(), 0.25f);
  EXPECT_TRUE(mixer.SetPCMOutputVolume(2.0f));
  EXPECT_FLOAT_EQ(mixer.GetPCMOutputVolume(), 1.0f);
}

}  // namespace
