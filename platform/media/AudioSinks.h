// Inside the media layer: the two kinds of audio sink.
#pragma once

#include <memory>
#include <string>

#include "platform/media/AudioSink.h"

namespace pictavo::media::detail {

// The sound device through SDL; null with *why set when there is no usable device (SDL's dummy
// driver counts as none: it would call the source as fast as it can, not in real time).
[[nodiscard]] std::unique_ptr<AudioSink> OpenSdlAudioSink(const AudioFormat& format, AudioSink::Source source,
                                                          std::string* why);
// Consumes samples in real time on its own thread, measured by the steady clock.
[[nodiscard]] std::unique_ptr<AudioSink> OpenSilentAudioSink(const AudioFormat& format,
                                                             AudioSink::Source source);

}  // namespace pictavo::media::detail
