#include "platform/media/AudioSink.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/media/AudioSinks.h"

namespace pictavo::media {

std::unique_ptr<AudioSink> OpenAudioSink(const AudioFormat& format, AudioSink::Source source,
                                         AudioOutput output) {
  if (output == AudioOutput::kAutomatic) {
    std::string why;
    if (auto sink = detail::OpenSdlAudioSink(format, source, &why)) return sink;
    // Said once: every later sound of the run is silent for the same reason.
    static std::once_flag told;
    std::call_once(told, [&] { std::fprintf(stderr, "pictavo: sound is not played: %s\n", why.c_str()); });
  }
  return detail::OpenSilentAudioSink(format, std::move(source));
}

}  // namespace pictavo::media
