// Sound from a capture device (a microphone or line input) through SDL, and the program's own
// output level that every audio sink applies. SDL's "dummy" driver counts as no device: it would
// deliver endless silence as fast as asked. Safe from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/media/MediaTypes.h"

namespace pictavo::media {

// The capture devices SDL offers, in its order; empty without a sound driver that can record.
std::vector<std::string> CaptureDeviceNames();

class AudioCapture {
 public:
  // Called on SDL's capture thread with whole frames of the capture format, in the order they
  // were recorded; must be quick.
  using Sink = std::function<void(std::span<const int16_t> frames)>;

  // Opens the named device (empty: the first one) in `format`, paused: nothing reaches the sink
  // before Start. Null, with *why set, when the device cannot be opened.
  [[nodiscard]] static std::unique_ptr<AudioCapture> Open(const std::string& device,
                                                          const AudioFormat& format, Sink sink,
                                                          std::string* why);
  // Closes the device; the sink is not called any more once this returns.
  ~AudioCapture();
  AudioCapture(const AudioCapture&) = delete;
  AudioCapture& operator=(const AudioCapture&) = delete;

  void Start();
  const AudioFormat& Format() const { return m_format; }

 private:
  struct Device;
  AudioCapture(std::unique_ptr<Device> device, const AudioFormat& format);
  std::unique_ptr<Device> m_device;
  AudioFormat m_format;
};

// The level the program plays its sound at, 0 (silent) to 1 (as decoded); 1 at start.
float OutputLevel();
void SetOutputLevel(float level);
// Scales samples by the output level (nothing at level 1).
void ApplyOutputLevel(std::span<int16_t> samples);

}  // namespace pictavo::media
