#include "platform/media/PlaySound.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <numbers>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/media/AudioSinks.h"

namespace pictavo::media {
namespace {

// One partial of a sound: a sine at `hz` whose level falls by e every `decayMs`.
struct Partial {
  double hz;
  double level;  // of full scale
  double decayMs;
};

struct SoundShape {
  std::string_view alias;
  int lengthMs;
  Partial partials[2];
};

// A tick going up for a menu that opens, a rounder click for a command, a plain tone otherwise.
constexpr SoundShape kSounds[] = {
    {"MenuPopup", 40, {{1760.0, 0.14, 9.0}, {3520.0, 0.04, 5.0}}},
    {"MenuCommand", 55, {{1175.0, 0.16, 14.0}, {2350.0, 0.05, 7.0}}},
    {"SystemDefault", 180, {{880.0, 0.18, 60.0}, {1320.0, 0.05, 40.0}}},
};

constexpr double kAttackMs = 2.0;
constexpr double kReleaseMs = 4.0;
constexpr int kRate = 44100;

}  // namespace

std::vector<int16_t> SystemSoundSamples(std::string_view alias, int sampleRate) {
  const auto* shape = std::find_if(std::begin(kSounds), std::end(kSounds),
                                   [&](const SoundShape& s) { return s.alias == alias; });
  if (shape == std::end(kSounds) || sampleRate <= 0) return {};
  const int count = static_cast<int>(static_cast<int64_t>(shape->lengthMs) * sampleRate / 1000);
  std::vector<int16_t> samples(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double ms = 1000.0 * i / sampleRate;
    const double leftMs = 1000.0 * (count - 1 - i) / sampleRate;
    // Ramps at both ends keep the first and last samples at zero.
    const double envelope = std::min({1.0, ms / kAttackMs, leftMs / kReleaseMs});
    double value = 0.0;
    for (const Partial& p : shape->partials)
      value += p.level * std::exp(-ms / p.decayMs) * std::sin(2.0 * std::numbers::pi * p.hz * ms / 1000.0);
    samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(32767.0 * envelope * value));
  }
  return samples;
}

namespace {

// The sound being played, shared by the player's wait and the device's callback.
struct Playback {
  std::mutex lock;
  std::condition_variable changed;
  std::vector<int16_t> samples;
  size_t next = 0;       // guarded by lock
  int buffersAfter = 0;  // device buffers asked for since the last sample went out; guarded by lock
  bool stop = false;     // guarded by lock

  bool Finished() const { return stop || buffersAfter >= 1; }
};

std::mutex g_currentLock;
std::shared_ptr<Playback> g_current;  // guarded by g_currentLock

void Stop(const std::shared_ptr<Playback>& playback) {
  if (!playback) return;
  {
    std::lock_guard lock(playback->lock);
    playback->stop = true;
  }
  playback->changed.notify_all();
}

}  // namespace
}  // namespace pictavo::media

BOOL PlaySound(LPCSTR pszSound, HMODULE, DWORD fdwSound) {
  using namespace pictavo::media;
  if (pszSound == nullptr || (fdwSound & SND_PURGE)) {
    std::lock_guard lock(g_currentLock);
    Stop(g_current);
    return TRUE;
  }
  if ((fdwSound & (SND_ASYNC | SND_LOOP | SND_MEMORY | SND_FILENAME)) || !(fdwSound & SND_ALIAS)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  auto playback = std::make_shared<Playback>();
  playback->samples = SystemSoundSamples(pszSound, kRate);
  if (playback->samples.empty()) {
    if (fdwSound & SND_NODEFAULT) return FALSE;
    playback->samples = SystemSoundSamples("SystemDefault", kRate);
  }
  {
    std::lock_guard lock(g_currentLock);
    if (g_current) {
      if (fdwSound & SND_NOWAIT) return FALSE;
      Stop(g_current);
    }
    g_current = playback;
  }
  std::string why;
  auto sink = detail::OpenSdlAudioSink(
      AudioFormat{kRate, 1},
      [playback](std::span<int16_t> out, AudioSink::TimePoint) {
        std::lock_guard lock(playback->lock);
        const size_t left = playback->stop ? 0 : playback->samples.size() - playback->next;
        const size_t n = std::min(left, out.size());
        std::copy_n(playback->samples.begin() + static_cast<std::ptrdiff_t>(playback->next), n, out.begin());
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(n), out.end(), int16_t{0});
        playback->next += n;
        // The buffer asked for after the one holding the last sample means that one has played.
        if (n == 0) ++playback->buffersAfter;
        playback->changed.notify_all();
      },
      &why);
  BOOL played = FALSE;
  if (sink) {
    std::unique_lock lock(playback->lock);
    playback->changed.wait(lock, [&] { return playback->Finished(); });
    played = !playback->stop;
  }
  sink.reset();  // the callback is over once this returns
  std::lock_guard lock(g_currentLock);
  if (g_current == playback) g_current.reset();
  return played;
}
