// The video output of a video album's timeline: frames for the caller's frame writer and PCM for
// the sound pipe, each on a thread of its own (the reader takes the two streams at its own pace),
// with the lengths CTimelineProject documents.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pictavo::data {

struct TimelineClip {
  std::string path;
  DWORD start = 0;  // milliseconds within the file
  DWORD end = 0;
  bool sound = false;

  DWORD Length() const { return end > start ? end - start : 0; }
};

inline constexpr int kTimelineSampleRate = 44100;
inline constexpr int kTimelineChannels = 2;

// The first frame at or after `ms` into the album: round(ms x fps / 1000), halves up.
int64_t FrameBoundary(int64_t ms, double fps);
// The first sample of frame `frame`: round(frame x rate / fps), halves up.
int64_t SampleBoundary(int64_t frame, double fps, int rate);

struct TimelineOutput {
  int width = 0;
  int height = 0;
  double fps = 25;
  HANDLE yuvPipe = nullptr;
  HANDLE pcmPipe = nullptr;
  HANDLE cancel = nullptr;
  HANDLE done = nullptr;
  std::function<BOOL(const BYTE* bits, int width, int height)> sink;
};

// Runs from construction; the destructor stops it (as a cancel) and waits. When both streams
// have ended the pipes are closed, the result is set and then the done event.
class TimelineDecode {
 public:
  TimelineDecode(std::vector<TimelineClip> clips, TimelineOutput output, std::atomic<HRESULT>& result);
  ~TimelineDecode();
  TimelineDecode(const TimelineDecode&) = delete;
  TimelineDecode& operator=(const TimelineDecode&) = delete;

  bool Running() const { return m_running.load(); }

 private:
  HRESULT WriteFrames();
  HRESULT WriteSound();

  const std::vector<TimelineClip> m_clips;
  const TimelineOutput m_output;
  std::vector<int64_t> m_firstFrame;  // of each clip, and the end after the last
  HANDLE m_quit;                      // set by the destructor or by a failing stream
  std::atomic<bool> m_running{true};
  std::thread m_thread;  // last: starts when everything above exists
};

}  // namespace pictavo::data
