// Values shared by the decoders, the audio output and playback: media time, audio formats,
// what a file holds, and how a failure is reported.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/base/WinTypes.h"

namespace pictavo::media {

// Media time in 100-nanosecond units, the unit playback positions are given in.
using MediaTime = std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>;

inline constexpr MediaTime FromMilliseconds(int64_t ms) {
  return std::chrono::milliseconds(ms);
}
inline constexpr int64_t ToMilliseconds(MediaTime t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(t).count();
}

// Interleaved signed 16-bit samples in native byte order.
struct AudioFormat {
  int sampleRate = 44100;
  int channels = 2;

  size_t BytesPerFrame() const { return static_cast<size_t>(channels) * sizeof(int16_t); }
  friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

// The number of sample frames `length` covers at `sampleRate`: length x rate rounded to the
// nearest frame, halves up. 1 ms at 44100 Hz is 44 frames; 10 ms is 441.
constexpr int64_t FramesForLength(MediaTime length, int sampleRate) {
  if (length.count() <= 0 || sampleRate <= 0) return 0;
  const int64_t units = MediaTime::period::den;
  // Split to keep length x rate inside 64 bits for any length a file can have.
  const int64_t whole = length.count() / units;
  const int64_t rest = length.count() % units;
  return whole * sampleRate + (rest * sampleRate + units / 2) / units;
}
// The media time of `frames` sample frames at `sampleRate` (rounded down).
constexpr MediaTime LengthOfFrames(int64_t frames, int sampleRate) {
  if (sampleRate <= 0) return MediaTime::zero();
  const int64_t units = MediaTime::period::den;
  return MediaTime(frames / sampleRate * units + frames % sampleRate * units / sampleRate);
}

// What a media file holds. Codec and container names are FFmpeg's short names ("mp3", "h264",
// "wav"); the duration is zero when the file does not tell it.
struct MediaInfo {
  std::string container;
  MediaTime duration{};
  bool hasAudio = false;
  bool hasVideo = false;
  // Video: coded size in pixels and frames per second as a fraction (0/1 when unknown).
  int width = 0;
  int height = 0;
  int frameRateNum = 0;
  int frameRateDen = 1;
  std::string videoCodec;
  // Audio: the stream's own rate and channel count (before any conversion).
  int sampleRate = 0;
  int channels = 0;
  std::string audioCodec;

  double FrameRate() const { return frameRateDen ? static_cast<double>(frameRateNum) / frameRateDen : 0.0; }
};

// Why a media operation failed: a platform error code (ERROR_FILE_NOT_FOUND, ERROR_BAD_FORMAT,
// ERROR_NOT_SUPPORTED ...) and a sentence naming the file and the cause.
struct MediaError {
  DWORD code = 0;
  std::string message;

  explicit operator bool() const { return code != 0; }
};

}  // namespace pictavo::media
