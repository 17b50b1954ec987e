#include "platform/media/GraphPlayback.h"

#include <algorithm>

#include "platform/media/FilterGraph.h"
#include "platform/media/MediaProbe.h"

namespace pictavo::media::detail {

GraphPlayback::~GraphPlayback() {
  std::unique_ptr<VideoRenderer> video;
  std::unique_ptr<AudioPlayer> audio;
  {
    std::lock_guard lock(m_lock);
    m_rendered = false;  // end notifications that are on their way are ignored from here on
    video = std::move(m_video);
    audio = std::move(m_audio);
  }
  // Their threads may be waiting for m_lock in OnStreamEnded: destroy them without it.
  video.reset();
  audio.reset();
}

RenderResult GraphPlayback::Render(std::string_view path, MediaError& error) {
  MediaInfo info;
  if (!ProbeMedia(path, info, &error)) return RenderResult::kFailed;
  MediaError audioError, videoError;
  std::unique_ptr<AudioPlayer> audio;
  std::unique_ptr<VideoReader> reader;
  if (info.hasAudio) audio = AudioPlayer::Open(path, &audioError);
  if (info.hasVideo) reader = VideoReader::Open(path, &videoError);
  if (!audio && !reader) {
    error = info.hasAudio ? audioError : videoError;
    return RenderResult::kFailed;
  }
  const bool partial = (info.hasAudio && !audio) || (info.hasVideo && !reader);

  if (audio) audio->SetEndCallback([this] { OnStreamEnded(); });
  std::unique_ptr<VideoRenderer> video;
  if (reader)
    video = std::make_unique<VideoRenderer>(
        std::move(reader), [this] { return m_clock.Now(); }, [this] { OnStreamEnded(); });

  std::lock_guard lock(m_lock);
  m_audio = std::move(audio);
  m_video = std::move(video);
  m_rendered = true;
  // A file that does not tell its length is not limited by it.
  m_duration = info.duration > MediaTime::zero() ? info.duration : MediaTime::max();
  m_stop = m_duration;
  m_stoppedAt = MediaTime::zero();
  m_videoSize = m_video ? SIZE{info.width, info.height} : SIZE{0, 0};
  return partial ? RenderResult::kPartial : RenderResult::kComplete;
}

bool GraphPlayback::IsRendered() const {
  std::lock_guard lock(m_lock);
  return m_rendered;
}

bool GraphPlayback::HasAudio() const {
  std::lock_guard lock(m_lock);
  return m_audio != nullptr;
}

bool GraphPlayback::HasVideo() const {
  std::lock_guard lock(m_lock);
  return m_video != nullptr;
}

GraphState GraphPlayback::State() const {
  std::lock_guard lock(m_lock);
  return m_state;
}

MediaTime GraphPlayback::PositionLocked() const {
  if (m_state == GraphState::kStopped) return m_stoppedAt;
  // Sound alone is timed by the samples the output consumed; with video, by the clock that
  // paces the frames.
  const MediaTime position = m_audio && !m_video ? m_audio->Position() : m_clock.Now();
  return std::clamp(position, MediaTime::zero(), m_stop);
}

void GraphPlayback::RestartLocked(MediaTime position, bool showFrame) {
  m_completed = false;
  m_events.ResetCompletion();
  m_clock.Set(position);
  if (m_audio) static_cast<void>(m_audio->Seek(position));
  if (m_video) m_video->Seek(position, showFrame);
}

void GraphPlayback::Run() {
  std::lock_guard lock(m_lock);
  if (m_state == GraphState::kRunning) return;
  // From the stopped state the streams start again at the position, so playing on from the end
  // completes again at once.
  if (m_state == GraphState::kStopped && m_rendered) RestartLocked(m_stoppedAt, false);
  m_state = GraphState::kRunning;
  m_clock.Start();
  if (m_audio) m_audio->Play();
  if (m_video) m_video->Run();
}

void GraphPlayback::Pause() {
  std::lock_guard lock(m_lock);
  if (m_state == GraphState::kPaused) return;
  if (m_state == GraphState::kStopped) {
    if (m_rendered) RestartLocked(m_stoppedAt, true);
  } else {
    m_clock.Stop();
    if (m_audio) m_audio->Pause();
    if (m_video) m_video->Pause();
  }
  m_state = GraphState::kPaused;
}

void GraphPlayback::Stop() {
  std::lock_guard lock(m_lock);
  if (m_state == GraphState::kStopped) return;
  m_stoppedAt = PositionLocked();
  m_state = GraphState::kStopped;
  m_clock.Stop();
  if (m_audio) m_audio->Pause();
  if (m_video) m_video->Pause();
}

void GraphPlayback::StopWhenReady() {
  {
    std::lock_guard lock(m_lock);
    if (m_state == GraphState::kStopped) {
      // Cue: show the frame at the position, and stay stopped.
      if (m_rendered) RestartLocked(m_stoppedAt, true);
      return;
    }
  }
  Stop();
}

MediaTime GraphPlayback::Duration() const {
  std::lock_guard lock(m_lock);
  return m_duration == MediaTime::max() ? MediaTime::zero() : m_duration;
}

MediaTime GraphPlayback::CurrentPosition() const {
  std::lock_guard lock(m_lock);
  return PositionLocked();
}

MediaTime GraphPlayback::StopPosition() const {
  std::lock_guard lock(m_lock);
  return m_stop == MediaTime::max() ? MediaTime::zero() : m_stop;
}

void GraphPlayback::SetPositions(std::optional<MediaTime> current, std::optional<MediaTime> stop) {
  std::lock_guard lock(m_lock);
  if (!m_rendered) return;
  if (stop) {
    m_stop = std::clamp(*stop, MediaTime::zero(), m_duration);
    if (m_audio) m_audio->SetStopPosition(m_stop);
    if (m_video) m_video->SetStop(m_stop);
  }
  if (current) {
    const MediaTime position = std::clamp(*current, MediaTime::zero(), m_stop);
    if (m_state == GraphState::kStopped)
      m_stoppedAt = position;  // the streams start there at the next Run or Pause
    else
      RestartLocked(position, m_state == GraphState::kPaused);
  }
}

void GraphPlayback::OnStreamEnded() {
  {
    std::lock_guard lock(m_lock);
    if (!m_rendered || m_completed || m_state == GraphState::kStopped) return;
    // A notification from before a seek finds its stream playing again.
    if (m_audio && !m_audio->HasEnded()) return;
    if (m_video && !m_video->Ended()) return;
    m_completed = true;
  }
  m_events.Post(EC_COMPLETE, S_OK, 0);
}

void GraphPlayback::SetVideoTarget(const VideoTarget& target) {
  std::lock_guard lock(m_lock);
  if (m_video) m_video->SetTarget(target);
}

VideoTarget GraphPlayback::GetVideoTarget() const {
  std::lock_guard lock(m_lock);
  return m_video ? m_video->Target() : VideoTarget{};
}

SIZE GraphPlayback::VideoSize() const {
  std::lock_guard lock(m_lock);
  return m_videoSize;
}

void GraphPlayback::SetVolume(double linear) {
  std::lock_guard lock(m_lock);
  if (m_audio) m_audio->SetVolume(linear);
}

}  // namespace pictavo::media::detail
