// Inside the media layer: the video of a playback graph. A thread of its own decodes frames
// ahead and draws each into the owner window when the playback clock reaches its time; seeks
// while paused show the new frame before they return.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/base/WinTypes.h"
#include "platform/media/MediaTypes.h"
#include "platform/media/VideoReader.h"

namespace pictavo::media::detail {

// Where the video is drawn: a rectangle in the owner's client area.
struct VideoTarget {
  HWND owner = nullptr;
  RECT rect{};
  bool visible = true;
};

// Every method may be called from any thread.
class VideoRenderer {
 public:
  using Clock = std::function<MediaTime()>;
  // `onEnd` runs on the renderer's thread, without a lock of the renderer held, when the last
  // frame (or the stop position) has been shown for its time.
  VideoRenderer(std::unique_ptr<VideoReader> reader, Clock clock, std::function<void()> onEnd);
  ~VideoRenderer();
  VideoRenderer(const VideoRenderer&) = delete;
  VideoRenderer& operator=(const VideoRenderer&) = delete;

  void SetTarget(const VideoTarget& target);
  VideoTarget Target() const;

  void Run();
  void Pause();
  // Goes to `time`; with `show`, the frame on screen at `time` is drawn before this returns.
  void Seek(MediaTime time, bool show);
  void SetStop(MediaTime stop);
  bool Ended() const;

 private:
  void Loop();
  void Present(const VideoFrame& frame, uint64_t generation);
  SIZE FrameSizeLocked() const;

  const Clock m_clock;
  const std::function<void()> m_onEnd;

  // Held while the reader works; taken before m_lock when both are needed.
  std::mutex m_decodeLock;
  std::unique_ptr<VideoReader> m_reader;  // guarded by m_decodeLock

  mutable std::mutex m_lock;
  std::condition_variable m_wake;
  VideoTarget m_target;                 // guarded by m_lock
  bool m_running = false;               // guarded by m_lock
  bool m_drained = false;               // guarded by m_lock: no frame left before the stop
  bool m_ended = false;                 // guarded by m_lock: the end has been reported
  bool m_quit = false;                  // guarded by m_lock
  std::optional<VideoFrame> m_next;     // guarded by m_lock: decoded, waiting for its time
  MediaTime m_shownUntil{};             // guarded by m_lock: the end of the frame shown last
  MediaTime m_stop = MediaTime::max();  // guarded by m_lock
  // Changed by every seek (under m_decodeLock and m_lock): frames of an older one are dropped.
  std::atomic<uint64_t> m_generation{0};

  std::mutex m_presentLock;  // one frame drawn at a time, in order
  std::thread m_thread;      // last: started when everything above exists
};

}  // namespace pictavo::media::detail
