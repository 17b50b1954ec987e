// Inside the media layer: the position of a playback that has video, running on the steady clock
// while playback runs and standing still otherwise. Safe from any thread.
#pragma once

#include <chrono>
#include <mutex>

#include "platform/media/MediaTypes.h"

namespace pictavo::media::detail {

class PlaybackClock {
 public:
  MediaTime Now() const {
    std::lock_guard lock(m_lock);
    return NowLocked();
  }
  // Moves the position; a running clock runs on from there.
  void Set(MediaTime position) {
    std::lock_guard lock(m_lock);
    m_base = position;
    m_since = std::chrono::steady_clock::now();
  }
  void Start() {
    std::lock_guard lock(m_lock);
    if (m_running) return;
    m_since = std::chrono::steady_clock::now();
    m_running = true;
  }
  void Stop() {
    std::lock_guard lock(m_lock);
    m_base = NowLocked();
    m_running = false;
  }

 private:
  MediaTime NowLocked() const {
    if (!m_running) return m_base;
    return m_base + std::chrono::duration_cast<MediaTime>(std::chrono::steady_clock::now() - m_since);
  }

  mutable std::mutex m_lock;
  bool m_running = false;                         // guarded by m_lock
  MediaTime m_base{};                             // guarded by m_lock: the position at m_since
  std::chrono::steady_clock::time_point m_since;  // guarded by m_lock
};

}  // namespace pictavo::media::detail
