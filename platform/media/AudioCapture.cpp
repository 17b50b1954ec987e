#include "platform/media/AudioCapture.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "platform/media/SdlSubsystem.h"

namespace pictavo::media {
namespace {

std::atomic<float> g_outputLevel{1.0f};

bool DriverCanRecord() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver != nullptr && std::strcmp(driver, "dummy") != 0;
}

}  // namespace

std::vector<std::string> CaptureDeviceNames() {
  std::vector<std::string> names;
  auto sdl = SdlSubsystem::Acquire(SDL_INIT_AUDIO);
  if (!sdl || !DriverCanRecord()) return names;
  const int count = SDL_GetNumAudioDevices(1);
  for (int i = 0; i < count; ++i)
    if (const char* name = SDL_GetAudioDeviceName(i, 1)) names.emplace_back(name);
  return names;
}

struct AudioCapture::Device {
  std::unique_ptr<SdlSubsystem> sdl;  // outlives the device
  Sink sink;
  SDL_AudioDeviceID id = 0;

  static void SDLCALL Callback(void* user, Uint8* stream, int bytes) {
    auto* self = static_cast<Device*>(user);
    self->sink(std::span<const int16_t>(reinterpret_cast<const int16_t*>(stream),
                                        static_cast<size_t>(bytes) / sizeof(int16_t)));
  }
  ~Device() {
    if (id != 0) SDL_CloseAudioDevice(id);  // returns once the callback has finished for good
  }
};

AudioCapture::AudioCapture(std::unique_ptr<Device> device, const AudioFormat& format)
    : m_device(std::move(device)), m_format(format) {}

AudioCapture::~AudioCapture() = default;

std::unique_ptr<AudioCapture> AudioCapture::Open(const std::string& device, const AudioFormat& format,
                                                 Sink sink, std::string* why) {
  auto state = std::make_unique<Device>();
  state->sdl = SdlSubsystem::Acquire(SDL_INIT_AUDIO, why);
  if (!state->sdl) return nullptr;
  if (!DriverCanRecord()) {
    if (why) *why = "no recording device";
    return nullptr;
  }
  state->sink = std::move(sink);
  SDL_AudioSpec want{};
  want.freq = format.sampleRate;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = 1024;
  want.callback = &Device::Callback;
  want.userdata = state.get();
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts whatever the device records into the format asked for.
  state->id = SDL_OpenAudioDevice(device.empty() ? nullptr : device.c_str(), 1, &want, &have, 0);
  if (state->id == 0) {
    if (why) *why = SDL_GetError();
    return nullptr;
  }
  return std::unique_ptr<AudioCapture>(new AudioCapture(std::move(state), format));
}

void AudioCapture::Start() {
  SDL_PauseAudioDevice(m_device->id, 0);
}

float OutputLevel() {
  return g_outputLevel.load();
}

void SetOutputLevel(float level) {
  g_outputLevel.store(std::clamp(level, 0.0f, 1.0f));
}

void ApplyOutputLevel(std::span<int16_t> samples) {
  const float level = g_outputLevel.load();
  if (level >= 1.0f) return;
  // Fixed point keeps the callback cheap: 1/65536 steps are far below what a 16-bit sample shows.
  const int32_t gain = static_cast<int32_t>(std::lround(level * 65536.0f));
  for (int16_t& s : samples) s = static_cast<int16_t>((int32_t{s} * gain) >> 16);
}

}  // namespace pictavo::media
