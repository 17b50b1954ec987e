#include "platform/media/VideoRenderer.h"

#include <algorithm>

#include "platform/media/FramePresenter.h"

namespace pictavo::media::detail {
namespace {

// The thread looks at the clock at least this often while it waits, so a clock that is moved
// (seek, pause) is noticed even without a wake-up.
constexpr MediaTime kLongestWait = std::chrono::milliseconds(50);

}  // namespace

VideoRenderer::VideoRenderer(std::unique_ptr<VideoReader> reader, Clock clock, std::function<void()> onEnd)
    : m_clock(std::move(clock)), m_onEnd(std::move(onEnd)), m_reader(std::move(reader)) {
  const MediaInfo& info = m_reader->Info();
  m_target.rect = RECT{0, 0, info.width, info.height};
  m_thread = std::thread([this] { Loop(); });
}

VideoRenderer::~VideoRenderer() {
  {
    std::lock_guard lock(m_lock);
    m_quit = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void VideoRenderer::SetTarget(const VideoTarget& target) {
  std::lock_guard lock(m_lock);
  m_target = target;
}

VideoTarget VideoRenderer::Target() const {
  std::lock_guard lock(m_lock);
  return m_target;
}

SIZE VideoRenderer::FrameSizeLocked() const {
  // Frames are scaled to the target when it can be seen, so drawing them is a plain copy.
  if (m_target.owner && m_target.visible) {
    const LONG w = m_target.rect.right - m_target.rect.left;
    const LONG h = m_target.rect.bottom - m_target.rect.top;
    if (w > 0 && h > 0) return SIZE{w, h};
  }
  return SIZE{0, 0};
}

void VideoRenderer::Run() {
  {
    std::lock_guard lock(m_lock);
    m_running = true;
  }
  m_wake.notify_all();
}

void VideoRenderer::Pause() {
  std::lock_guard lock(m_lock);
  m_running = false;
}

void VideoRenderer::SetStop(MediaTime stop) {
  {
    std::lock_guard lock(m_lock);
    m_stop = stop;
  }
  m_wake.notify_all();
}

bool VideoRenderer::Ended() const {
  std::lock_guard lock(m_lock);
  return m_ended;
}

void VideoRenderer::Seek(MediaTime time, bool show) {
  std::optional<VideoFrame> shown;
  uint64_t generation = 0;
  {
    std::lock_guard decode(m_decodeLock);
    SIZE size{};
    {
      std::lock_guard lock(m_lock);
      size = FrameSizeLocked();
    }
    const bool sought = m_reader->Seek(time);
    if (sought && show) {
      VideoFrame frame;
      if (m_reader->NextFrame(frame, size.cx, size.cy) == VideoResult::kFrame) shown = std::move(frame);
    }
    std::lock_guard lock(m_lock);
    generation = ++m_generation;
    m_next.reset();
    m_ended = false;
    // A file that cannot seek has nothing more to show: it ends rather than hangs.
    m_drained = !sought;
    m_shownUntil = shown ? shown->time + shown->duration : time;
  }
  m_wake.notify_all();
  if (shown) Present(*shown, generation);
}

void VideoRenderer::Present(const VideoFrame& frame, uint64_t generation) {
  std::lock_guard present(m_presentLock);
  if (generation != m_generation.load()) return;  // a seek made this frame stale
  const VideoTarget target = Target();
  if (!target.owner || !target.visible) return;
  PresentFrame(target.owner, target.rect, frame);
}

void VideoRenderer::Loop() {
  std::unique_lock lock(m_lock);
  while (!m_quit) {
    if (!m_running || m_ended) {
      m_wake.wait(lock);
      continue;
    }
    if (!m_next && !m_drained) {
      lock.unlock();
      VideoFrame frame;
      VideoResult result;
      uint64_t generation = 0;
      {
        std::lock_guard decode(m_decodeLock);
        SIZE size{};
        {
          std::lock_guard sizeLock(m_lock);
          size = FrameSizeLocked();
        }
        generation = m_generation.load();
        result = m_reader->NextFrame(frame, size.cx, size.cy);
      }
      lock.lock();
      if (generation != m_generation.load()) continue;
      if (result == VideoResult::kFrame && frame.time < m_stop)
        m_next = std::move(frame);
      else
        m_drained = true;
      continue;
    }
    const MediaTime now = m_clock();
    const MediaTime due = m_next ? m_next->time : std::min(m_shownUntil, m_stop);
    if (now < due) {
      m_wake.wait_for(lock, std::min(due - now, kLongestWait));
      continue;
    }
    if (m_next) {
      VideoFrame frame = std::move(*m_next);
      m_next.reset();
      m_shownUntil = frame.time + frame.duration;
      const uint64_t generation = m_generation.load();
      lock.unlock();
      Present(frame, generation);
      lock.lock();
      continue;
    }
    m_ended = true;
    lock.unlock();
    m_onEnd();
    lock.lock();
  }
}

}  // namespace pictavo::media::detail
