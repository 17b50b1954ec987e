#include "platform/media/AudioPlayer.h"

#include <algorithm>

#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"

namespace pictavo::media {
namespace {

// Whole frames from the start of a buffer to a later moment, rounded up so that nothing plays
// before that moment.
int64_t FramesUntil(AudioSink::TimePoint::duration span, int rate) {
  constexpr int64_t kNanosPerSecond = 1'000'000'000;
  const int64_t ns = std::min<int64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(span).count(),
                                       60 * kNanosPerSecond);
  return (ns * rate + kNanosPerSecond - 1) / kNanosPerSecond;
}

}  // namespace

AudioPlayer::AudioPlayer(std::unique_ptr<AudioReader> reader)
    : m_info(reader->Info()), m_format(reader->Format()), m_reader(std::move(reader)) {
  m_endEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
}

AudioPlayer::~AudioPlayer() {
  m_sink.reset();  // no more Fill calls from here on
  if (m_endEvent) CloseHandle(m_endEvent);
}

std::unique_ptr<AudioPlayer> AudioPlayer::Open(std::string_view path, MediaError* error) {
  return Open(path, Options{}, error);
}

std::unique_ptr<AudioPlayer> AudioPlayer::Open(std::string_view path, const Options& options,
                                               MediaError* error) {
  auto reader = AudioReader::Open(path, options.format, error);
  if (!reader) return nullptr;
  std::unique_ptr<AudioPlayer> player(new AudioPlayer(std::move(reader)));
  AudioPlayer* self = player.get();
  player->m_sink = OpenAudioSink(
      player->m_format,
      [self](std::span<int16_t> out, AudioSink::TimePoint playsAt) { self->Fill(out, playsAt); },
      options.output);
  return player;
}

bool AudioPlayer::IsSilent() const {
  return m_sink->IsSilent();
}

void AudioPlayer::Fill(std::span<int16_t> out, AudioSink::TimePoint playsAt) {
  const size_t channels = static_cast<size_t>(m_format.channels);
  const size_t capacity = out.size() / channels;
  size_t lead = 0;  // frames of silence that play before Play was called
  size_t written = 0;
  bool endedNow = false;
  std::function<void()> onEnd;
  {
    std::lock_guard lock(m_lock);
    if (m_playing && !m_ended) {
      if (playsAt < m_playingSince)
        lead = static_cast<size_t>(std::min<int64_t>(
            FramesUntil(m_playingSince - playsAt, m_format.sampleRate), static_cast<int64_t>(capacity)));
      size_t frames = capacity - lead;
      if (m_stopFrames)
        frames = static_cast<size_t>(std::clamp<int64_t>(*m_stopFrames - m_consumed, 0, frames));
      const size_t got = m_unreadable ? 0 : m_reader->Read(out.subspan(lead * channels, frames * channels));
      written = got * channels;
      m_consumed += static_cast<int64_t>(got);
      const bool stopReached = m_stopFrames && m_consumed >= *m_stopFrames;
      if (stopReached || got < frames) {
        m_ended = endedNow = true;
        onEnd = m_onEnd;
      }
    }
  }
  const auto content = out.begin() + static_cast<ptrdiff_t>(lead * channels);
  std::fill(out.begin(), content, int16_t{0});
  ApplyVolume(out.subspan(lead * channels, written));
  std::fill(content + static_cast<ptrdiff_t>(written), out.end(), int16_t{0});
  if (endedNow) {
    if (onEnd) onEnd();
    SetEvent(m_endEvent);  // last, so that a waiter sees what the callback did
  }
}

void AudioPlayer::ApplyVolume(std::span<int16_t> samples) const {
  const double volume = m_volume.load();
  if (volume >= 1.0) return;
  const int32_t gain = static_cast<int32_t>(volume * 65536.0);
  for (int16_t& s : samples) s = static_cast<int16_t>((static_cast<int32_t>(s) * gain) / 65536);
}

void AudioPlayer::Play() {
  std::lock_guard lock(m_lock);
  if (m_playing) return;
  m_playing = true;
  m_playingSince = AudioSink::TimePoint::clock::now();
}

void AudioPlayer::Pause() {
  std::lock_guard lock(m_lock);
  m_playing = false;
}

void AudioPlayer::Stop() {
  Pause();
  static_cast<void>(Seek(MediaTime::zero()));
}

bool AudioPlayer::Seek(MediaTime position) {
  std::lock_guard lock(m_lock);
  position = std::max(position, MediaTime::zero());
  if (m_stop) position = std::min(position, *m_stop);
  m_unreadable = !m_reader->Seek(position);
  m_segmentStart = position;
  m_consumed = 0;
  m_ended = false;
  if (m_stop) m_stopFrames = FramesForLength(*m_stop - position, m_format.sampleRate);
  ResetEvent(m_endEvent);
  return !m_unreadable;
}

void AudioPlayer::SetStopPosition(std::optional<MediaTime> stop) {
  std::lock_guard lock(m_lock);
  m_stop = stop;
  m_stopFrames.reset();
  if (stop) m_stopFrames = std::max<int64_t>(0, FramesForLength(*stop - m_segmentStart, m_format.sampleRate));
}

bool AudioPlayer::IsPlaying() const {
  std::lock_guard lock(m_lock);
  return m_playing && !m_ended;
}

bool AudioPlayer::HasEnded() const {
  std::lock_guard lock(m_lock);
  return m_ended;
}

MediaTime AudioPlayer::Position() const {
  std::lock_guard lock(m_lock);
  return m_segmentStart + LengthOfFrames(m_consumed, m_format.sampleRate);
}

void AudioPlayer::SetVolume(double volume) {
  m_volume.store(std::clamp(volume, 0.0, 1.0));
}
double AudioPlayer::Volume() const {
  return m_volume.load();
}

void AudioPlayer::SetEndCallback(std::function<void()> callback) {
  std::lock_guard lock(m_lock);
  m_onEnd = std::move(callback);
}

}  // namespace pictavo::media
