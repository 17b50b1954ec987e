// Plays the sound of one file through an audio sink: play, pause, stop, seek, a stop position,
// volume, the position reached, and a notification when the end is reached. Decoding runs on
// the sink's thread as the output asks for sound.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/media/AudioReader.h"
#include "platform/media/AudioSink.h"
#include "platform/media/MediaTypes.h"

namespace pictavo::media {

// Every method may be called from any thread.
class AudioPlayer {
 public:
  struct Options {
    // What the sink plays; the file is converted to it. 0 takes the file's own rate or channel
    // count (at most two channels).
    AudioFormat format{0, 0};
    AudioOutput output = AudioOutput::kAutomatic;
  };

  // Opens the file and the output, paused at the start. Null, with *error filled and the last
  // error set, for a file without playable sound.
  [[nodiscard]] static std::unique_ptr<AudioPlayer> Open(std::string_view path, MediaError* error = nullptr);
  [[nodiscard]] static std::unique_ptr<AudioPlayer> Open(std::string_view path, const Options& options,
                                                         MediaError* error = nullptr);
  ~AudioPlayer();
  AudioPlayer(const AudioPlayer&) = delete;
  AudioPlayer& operator=(const AudioPlayer&) = delete;

  const MediaInfo& Info() const { return m_info; }
  const AudioFormat& Format() const { return m_format; }
  // True when nothing is heard: no sound device (the timing is the same).
  bool IsSilent() const;

  // Plays from the current position. After the end has been reached nothing more plays until
  // Seek or Stop moves the position.
  void Play();
  void Pause();
  // Pauses and goes back to the start.
  void Stop();
  // Moves the position (clamped to 0 and the stop position) and makes the end reachable again.
  // False when the file cannot seek there: the player then stands at `position` with nothing
  // to play, so playing reports the end at once.
  [[nodiscard]] bool Seek(MediaTime position);
  // Where playing ends: the end of the file when unset.
  void SetStopPosition(std::optional<MediaTime> stop);

  bool IsPlaying() const;
  bool HasEnded() const;
  // The position of the sound the output has consumed so far.
  MediaTime Position() const;
  MediaTime Duration() const { return m_info.duration; }

  // Linear gain, 0 (silence) to 1 (as decoded).
  void SetVolume(double volume);
  double Volume() const;

  // A manual-reset event, set when the end (of the file or at the stop position) has been
  // played, and reset by Seek and Stop. Owned by the player: do not close it.
  HANDLE EndEvent() const { return m_endEvent; }
  // Called once per end reached, on the sink's thread, just before the end event is set. It
  // must not call this player (post a message or set an event instead).
  void SetEndCallback(std::function<void()> callback);

 private:
  explicit AudioPlayer(std::unique_ptr<AudioReader> reader);
  void Fill(std::span<int16_t> out, AudioSink::TimePoint playsAt);
  void ApplyVolume(std::span<int16_t> samples) const;

  const MediaInfo m_info;
  const AudioFormat m_format;
  HANDLE m_endEvent = nullptr;

  mutable std::mutex m_lock;
  std::unique_ptr<AudioReader> m_reader;  // guarded by m_lock
  bool m_playing = false;                 // guarded by m_lock
  AudioSink::TimePoint m_playingSince;    // guarded by m_lock: when Play was called
  bool m_ended = false;                   // guarded by m_lock
  bool m_unreadable = false;              // guarded by m_lock: the last seek failed
  MediaTime m_segmentStart{};             // guarded by m_lock: the position of the last seek
  int64_t m_consumed = 0;                 // guarded by m_lock: frames played since m_segmentStart
  std::optional<int64_t> m_stopFrames;    // guarded by m_lock: frames from m_segmentStart to the stop
  std::optional<MediaTime> m_stop;        // guarded by m_lock
  std::function<void()> m_onEnd;          // guarded by m_lock
  std::atomic<double> m_volume{1.0};

  std::unique_ptr<AudioSink> m_sink;  // last member: it calls Fill until it is destroyed
};

}  // namespace pictavo::media
