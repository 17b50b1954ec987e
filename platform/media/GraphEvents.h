// Inside the media layer: a playback graph's event queue, the event handle that is signalled
// while the queue holds events, the window told of each event, and the completion that
// WaitForCompletion waits for.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/base/WinTypes.h"

namespace pictavo::media::detail {

// Every method may be called from any thread.
class GraphEvents {
 public:
  GraphEvents();
  ~GraphEvents();
  GraphEvents(const GraphEvents&) = delete;
  GraphEvents& operator=(const GraphEvents&) = delete;

  // A manual-reset event, signalled while events wait in the queue.
  HANDLE Handle() const { return m_handle; }

  // Queues an event and posts the notify message; completion codes (EC_COMPLETE, EC_ERRORABORT,
  // EC_USERABORT) also end WaitForCompletion.
  void Post(long code, LONG_PTR param1, LONG_PTR param2);
  // Takes the oldest event, waiting up to `milliseconds` (INFINITE allowed); false when none came.
  bool Take(long& code, LONG_PTR& param1, LONG_PTR& param2, DWORD milliseconds);

  void SetNotifyWindow(HWND window, UINT message, LONG_PTR instanceData);

  // Forgets a completion (a new run or a seek starts over).
  void ResetCompletion();
  // The completion code, waiting up to `milliseconds` for one.
  std::optional<long> WaitForCompletion(DWORD milliseconds);

 private:
  struct Event {
    long code;
    LONG_PTR param1;
    LONG_PTR param2;
  };

  HANDLE m_handle = nullptr;
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::deque<Event> m_queue;         // guarded by m_lock
  std::optional<long> m_completion;  // guarded by m_lock
  HWND m_window = nullptr;           // guarded by m_lock
  UINT m_message = 0;                // guarded by m_lock
  LONG_PTR m_instanceData = 0;       // guarded by m_lock
};

}  // namespace pictavo::media::detail
