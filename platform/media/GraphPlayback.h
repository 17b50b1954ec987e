// Inside the media layer: what a playback graph does, without its component surface: one file's
// sound and video, the run/pause/stop states, positions and the stop position, completion.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/media/AudioPlayer.h"
#include "platform/media/GraphEvents.h"
#include "platform/media/MediaTypes.h"
#include "platform/media/PlaybackClock.h"
#include "platform/media/VideoRenderer.h"

namespace pictavo::media::detail {

enum class GraphState { kStopped, kPaused, kRunning };

enum class RenderResult { kComplete, kPartial, kFailed };

// Every method may be called from any thread.
class GraphPlayback {
 public:
  explicit GraphPlayback(GraphEvents& events) : m_events(events) {}
  ~GraphPlayback();
  GraphPlayback(const GraphPlayback&) = delete;
  GraphPlayback& operator=(const GraphPlayback&) = delete;

  // Opens the file's sound and video. kPartial when only one of them can be played; on kFailed
  // *error says why. Once per graph.
  [[nodiscard]] RenderResult Render(std::string_view path, MediaError& error);
  bool IsRendered() const;
  bool HasAudio() const;
  bool HasVideo() const;

  void Run();
  void Pause();
  void Stop();
  void StopWhenReady();
  GraphState State() const;

  MediaTime Duration() const;
  MediaTime CurrentPosition() const;
  MediaTime StopPosition() const;
  // Either position may be left as it is.
  void SetPositions(std::optional<MediaTime> current, std::optional<MediaTime> stop);

  void SetVideoTarget(const VideoTarget& target);
  VideoTarget GetVideoTarget() const;
  SIZE VideoSize() const;

  void SetVolume(double linear);

 private:
  MediaTime PositionLocked() const;
  // Restarts the streams at `position`: completion is reported again when they end.
  void RestartLocked(MediaTime position, bool showFrame);
  void OnStreamEnded();

  GraphEvents& m_events;
  PlaybackClock m_clock;  // the position of playback with video

  mutable std::mutex m_lock;
  GraphState m_state = GraphState::kStopped;  // guarded by m_lock
  bool m_rendered = false;                    // guarded by m_lock
  MediaTime m_duration{};                     // guarded by m_lock
  MediaTime m_stop{};                         // guarded by m_lock
  MediaTime m_stoppedAt{};                    // guarded by m_lock: the position while stopped
  bool m_completed = false;                   // guarded by m_lock: EC_COMPLETE sent for this run
  SIZE m_videoSize{};                         // guarded by m_lock
  // Created by Render under m_lock, destroyed without it (their threads call OnStreamEnded).
  std::unique_ptr<AudioPlayer> m_audio;
  std::unique_ptr<VideoRenderer> m_video;
};

}  // namespace pictavo::media::detail
