// Where played sound goes: the sound device through SDL, or, when there is none, a silent sink
// that consumes samples at the same real-time pace, so position, timing and end notifications
// behave alike with and without a device (tests and headless runs).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/media/MediaTypes.h"

namespace pictavo::media {

class AudioSink {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  // Fills the whole of `out` (whole frames of the sink's format) with what plays next, silence
  // included; its first frame plays at `playsAt` (the silent sink hands out the frames whose time
  // has come, so theirs lies in the recent past). Called on the sink's own thread as the output
  // consumes sound, so it must be quick and must not destroy the sink.
  using Source = std::function<void(std::span<int16_t> out, TimePoint playsAt)>;

  virtual ~AudioSink() = default;  // the source is not called any more once this returns
  virtual bool IsSilent() const = 0;
  virtual const AudioFormat& Format() const = 0;
};

enum class AudioOutput {
  kAutomatic,  // the sound device; the silent sink when SDL has no usable one
  kSilent,     // the silent sink
};

// Starts consuming at once. The device converts from `format` when it plays another one, so the
// source always works in `format`. SDL's "dummy" driver (SDL_AUDIODRIVER=dummy) and a device
// that fails to open both give the silent sink.
[[nodiscard]] std::unique_ptr<AudioSink> OpenAudioSink(const AudioFormat& format, AudioSink::Source source,
                                                       AudioOutput output = AudioOutput::kAutomatic);

}  // namespace pictavo::media
