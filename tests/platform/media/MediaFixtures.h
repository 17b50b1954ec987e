// Media files made for the tests by the real ffmpeg, kept in one temporary folder per test
// process, and small helpers to look at decoded sound.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/kernel/Process.h"
#include "platform/kernel/Wait.h"
#include "platform/media/MediaTypes.h"
#include "tests/support/ScratchDir.h"

namespace media_test {

using pictavo::test::ReadWholeFile;

// The folder lives as long as the test process.
class FixtureFolder {
 public:
  static FixtureFolder& Get() {
    static FixtureFolder folder;
    return folder;
  }
  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

 private:
  FixtureFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pictavo-media-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
  }
  ~FixtureFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  std::string m_path;
};

// Runs ffmpeg with `args` (after the common options) and says whether it succeeded.
inline bool RunFfmpeg(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"ffmpeg", "-v", "error", "-nostdin", "-y"};
  argv.insert(argv.end(), args.begin(), args.end());
  auto process = pictavo::kernel::StartProcess(argv);
  if (!process) return false;
  const bool ended = WaitForSingleObject(process->hProcess, 120000) == WAIT_OBJECT_0;
  DWORD code = 1;
  if (ended) GetExitCodeProcess(process->hProcess, &code);
  CloseHandle(process->hThread);
  CloseHandle(process->hProcess);
  return ended && code == 0;
}

// A named fixture, made the first time a test asks for it: ffmpeg's arguments before the output
// file name.
inline std::string Fixture(const std::string& name, const std::vector<std::string>& args) {
  static std::map<std::string, std::string> made;
  auto found = made.find(name);
  if (found != made.end()) return found->second;
  const std::string path = FixtureFolder::Get() / name;
  std::vector<std::string> all = args;
  all.push_back(path);
  if (!RunFfmpeg(all)) throw std::runtime_error("ffmpeg could not make " + name);
  made[name] = path;
  return path;
}

// 2 s of a 440 Hz tone, mono, 44100 Hz, 16-bit WAV.
inline std::string ToneWav() {
  return Fixture("tone.wav", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=2", "-ac",
                              "1", "-c:a", "pcm_s16le"});
}
// The same tone as MP3.
inline std::string ToneMp3() {
  return Fixture("tone.mp3", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=2", "-ac",
                              "1", "-c:a", "libmp3lame", "-b:a", "128k"});
}
// 0.5 s of the tone, stereo, 48000 Hz.
inline std::string ShortToneWav() {
  return Fixture("short.wav", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=0.5",
                               "-ac", "2", "-c:a", "pcm_s16le"});
}
// 2 s at 48000 Hz: 440 Hz for the first second, 880 Hz for the second (the phase runs on).
inline std::string SwitchWav() {
  return Fixture("switch.wav",
                 {"-f", "lavfi", "-i", "aevalsrc=sin(2*PI*t*if(lt(t\\,1)\\,440\\,880)):s=48000:d=2", "-c:a",
                  "pcm_s16le"});
}
// 3 s of 160 x 120 video at 25 fps, one colour per second (red, green, blue), with a single key
// frame so that every seek decodes from the start, and a 440 Hz tone as sound.
inline std::string ColoursMp4() {
  return Fixture("colours.mp4", {"-f",
                                 "lavfi",
                                 "-i",
                                 "color=c=red:s=160x120:r=25:d=1",
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "color=c=lime:s=160x120:r=25:d=1",
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "color=c=blue:s=160x120:r=25:d=1",
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "sine=frequency=440:sample_rate=44100:duration=3",
                                 "-filter_complex",
                                 "[0:v][1:v][2:v]concat=n=3:v=1:a=0[v]",
                                 "-map",
                                 "[v]",
                                 "-map",
                                 "3:a",
                                 "-c:v",
                                 "libx264",
                                 "-g",
                                 "1000",
                                 "-pix_fmt",
                                 "yuv420p",
                                 "-c:a",
                                 "aac",
                                 "-shortest"});
}
// The same pictures without sound, 1 s of red then 1 s of lime.
inline std::string SilentVideoMp4() {
  return Fixture("silent.mp4",
                 {"-f", "lavfi", "-i", "color=c=red:s=64x48:r=25:d=1", "-f", "lavfi", "-i",
                  "color=c=lime:s=64x48:r=25:d=1", "-filter_complex", "[0:v][1:v]concat=n=2:v=1:a=0[v]",
                  "-map", "[v]", "-c:v", "libx264", "-pix_fmt", "yuv420p"});
}

inline std::string WriteFile(const std::string& name, const std::string& bytes) {
  const std::string path = FixtureFolder::Get() / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// One channel of interleaved samples.
inline std::vector<int16_t> Channel(std::span<const int16_t> samples, int channels, int channel) {
  std::vector<int16_t> out;
  for (size_t i = static_cast<size_t>(channel); i < samples.size(); i += static_cast<size_t>(channels))
    out.push_back(samples[i]);
  return out;
}

// The frequency of a tone from its rising zero crossings.
inline double Frequency(std::span<const int16_t> mono, int rate) {
  int crossings = 0;
  for (size_t i = 1; i < mono.size(); ++i)
    if (mono[i - 1] < 0 && mono[i] >= 0) ++crossings;
  return mono.empty() ? 0.0 : crossings * static_cast<double>(rate) / static_cast<double>(mono.size());
}

inline int Peak(std::span<const int16_t> samples) {
  int peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

}  // namespace media_test
