// Plays a rendered music track through the audio output: a thread of its own renders ahead into
// a small ring, the output takes from the ring as it plays. Ends when the track has been played
// (WM_MUSIC_PLAY_END to the notify window), when the caller's stop event is set or when Stop is
// called; the done event is set in every case, after the output has been closed.
#pragma once

#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "modules/data/MusicMix.h"
#include "platform/base/WinTypes.h"
#include "platform/media/AudioSink.h"

namespace pictavo::data {

class MusicPlayback {
 public:
  struct Target {
    HWND notifyWindow = nullptr;  // receives WM_MUSIC_PLAY_END at the natural end; may be null
    HANDLE stopEvent = nullptr;   // the caller's; may be null
    HANDLE doneEvent = nullptr;   // the caller's; may be null
  };

  // Starts playing at once.
  MusicPlayback(std::unique_ptr<MusicRenderer> renderer, const Target& target);
  // Stops (without the end message) and waits for the thread.
  ~MusicPlayback();
  MusicPlayback(const MusicPlayback&) = delete;
  MusicPlayback& operator=(const MusicPlayback&) = delete;

  // Stops and waits; the done event is set when this returns.
  void Stop();
  // False once playing has ended, however it ended.
  bool IsPlaying() const;

 private:
  void Run();
  // The output's source: called on the output's thread.
  void Take(std::span<int16_t> out);
  // Renders into the ring's free space; false once the whole track is in the ring.
  bool TopUp();

  std::unique_ptr<MusicRenderer> m_renderer;  // the playback thread only
  const Target m_target;
  const size_t m_channels;
  HANDLE m_quit = nullptr;        // set by Stop
  HANDLE m_consumed = nullptr;    // auto-reset: the output took frames
  std::vector<int16_t> m_render;  // the playback thread only

  mutable std::mutex m_lock;
  std::vector<int16_t> m_ring;  // guarded by m_lock
  size_t m_head = 0;            // guarded by m_lock: the first frame to play
  size_t m_filled = 0;          // guarded by m_lock: frames waiting
  int64_t m_taken = 0;          // guarded by m_lock: track frames the output took
  bool m_playing = true;        // guarded by m_lock

  std::thread m_thread;  // last: starts when everything above exists
};

}  // namespace pictavo::data
