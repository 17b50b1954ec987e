#include <SDL.h>

#include <chrono>
#include <cstring>

#include "platform/media/AudioCapture.h"
#include "platform/media/AudioSinks.h"
#include "platform/media/SdlSubsystem.h"

namespace pictavo::media::detail {
namespace {

class SdlAudioSink final : public AudioSink {
 public:
  SdlAudioSink(const AudioFormat& format, Source source, std::unique_ptr<SdlSubsystem> sdl)
      : m_sdl(std::move(sdl)), m_format(format), m_source(std::move(source)) {}
  ~SdlAudioSink() override {
    // Returns once the callback has finished for good.
    if (m_device) SDL_CloseAudioDevice(m_device);
  }

  bool Start(std::string* why) {
    SDL_AudioSpec want{};
    want.freq = m_format.sampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(m_format.channels);
    // About 20 ms per buffer: short enough for a responsive pause, long enough not to starve.
    want.samples = m_format.sampleRate > 48000 ? 2048 : 1024;
    want.callback = &SdlAudioSink::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!m_device) {
      if (why) *why = SDL_GetError();
      return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
  }

  bool IsSilent() const override { return false; }
  const AudioFormat& Format() const override { return m_format; }

 private:
  static void SDLCALL Callback(void* user, Uint8* stream, int bytes) {
    auto* self = static_cast<SdlAudioSink*>(user);
    const size_t samples = static_cast<size_t>(bytes) / sizeof(int16_t);
    // A device asks for the buffer it plays next: as far as we can tell, from now on.
    const std::span<int16_t> out(reinterpret_cast<int16_t*>(stream), samples);
    self->m_source(out, std::chrono::steady_clock::now());
    ApplyOutputLevel(out);
  }

  std::unique_ptr<SdlSubsystem> m_sdl;  // outlives the device
  const AudioFormat m_format;
  const Source m_source;
  SDL_AudioDeviceID m_device = 0;
};

}  // namespace

std::unique_ptr<AudioSink> OpenSdlAudioSink(const AudioFormat& format, AudioSink::Source source,
                                            std::string* why) {
  auto sdl = SdlSubsystem::Acquire(SDL_INIT_AUDIO, why);
  if (!sdl) return nullptr;
  const char* driver = SDL_GetCurrentAudioDriver();
  if (!driver || std::strcmp(driver, "dummy") == 0) {
    if (why) *why = "no sound device";
    return nullptr;
  }
  auto sink = std::make_unique<SdlAudioSink>(format, std::move(source), std::move(sdl));
  if (!sink->Start(why)) return nullptr;
  return sink;
}

}  // namespace pictavo::media::detail
