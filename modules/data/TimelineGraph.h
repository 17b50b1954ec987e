// The playback graph of a video album's timeline: its clips' play ranges one after the other as
// one stream with one time axis, behind the graph interfaces the preview page uses. Each clip
// plays through a graph of the media layer of its own, made when the clip's turn comes (so only
// one file and one sound output are open at a time) and released after it.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "modules/data/TimelineDecode.h"
#include "platform/com/ComObject.h"
#include "platform/media/FilterGraph.h"
#include "platform/media/MediaTypes.h"

namespace pictavo::data {

class TimelineGraph final : public com::Object<IGraphBuilder, IMediaControl, IMediaSeeking, IMediaEventEx,
                                               IVideoWindow, IBasicVideo> {
 public:
  // One reference, the creator's.
  explicit TimelineGraph(std::vector<TimelineClip> clips);

  // IGraphBuilder: the timeline is the graph's one source; another file cannot be added.
  HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) override;

  // IMediaControl
  HRESULT STDMETHODCALLTYPE Run() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE GetState(LONG msTimeout, OAFilterState* state) override;
  HRESULT STDMETHODCALLTYPE StopWhenReady() override;

  // IMediaSeeking: positions on the album's time axis; stop positions are the album's end.
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                         DWORD stopFlags) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override;

  // IMediaEvent(Ex): EC_COMPLETE once the last clip has played.
  HRESULT STDMETHODCALLTYPE GetEventHandle(OAEVENT* event) override;
  HRESULT STDMETHODCALLTYPE GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long msTimeout) override;
  HRESULT STDMETHODCALLTYPE WaitForCompletion(long msTimeout, long* code) override;
  HRESULT STDMETHODCALLTYPE FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) override;
  HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, long message, LONG_PTR instanceData) override;

  // IVideoWindow: kept here and given to each clip's graph.
  HRESULT STDMETHODCALLTYPE put_Owner(OAHWND owner) override;
  HRESULT STDMETHODCALLTYPE get_Owner(OAHWND* owner) override;
  HRESULT STDMETHODCALLTYPE put_WindowStyle(long style) override;
  HRESULT STDMETHODCALLTYPE get_WindowStyle(long* style) override;
  HRESULT STDMETHODCALLTYPE put_Visible(long visible) override;
  HRESULT STDMETHODCALLTYPE get_Visible(long* visible) override;
  HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND drain) override;
  HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND* drain) override;
  HRESULT STDMETHODCALLTYPE SetWindowPosition(long left, long top, long width, long height) override;
  HRESULT STDMETHODCALLTYPE GetWindowPosition(long* left, long* top, long* width, long* height) override;

  // IBasicVideo: the first clip's size.
  HRESULT STDMETHODCALLTYPE GetVideoSize(long* width, long* height) override;

 private:
  struct Segment {
    TimelineClip clip;
    media::MediaTime offset{};  // where it starts on the album's axis
    media::MediaTime length{};
  };
  // The clip graph playing now.
  struct Current {
    int index = -1;
    IGraphBuilder* graph = nullptr;
    IMediaControl* control = nullptr;
    IMediaSeeking* seeking = nullptr;
    IMediaEvent* events = nullptr;
    IVideoWindow* window = nullptr;
  };
  enum class State { kStopped, kPaused, kRunning };

  ~TimelineGraph() override;
  // IMediaEvent, the base of IMediaEventEx.
  void* QueryOther(REFIID iid) override;
  static std::vector<Segment> SegmentsOf(std::vector<TimelineClip> clips);
  int SegmentAt(media::MediaTime position) const;
  // Opens segment `index` at `offset` into it; false when its file cannot be played.
  bool OpenLocked(int index, media::MediaTime offset);
  void CloseLocked();
  void ApplyWindowLocked();
  media::MediaTime PositionLocked() const;
  // Moves to `position`, opening the clip it falls in; returns false past the last clip.
  bool MoveToLocked(media::MediaTime position);
  void PostEvent(long code);
  void Watch();

  const std::vector<Segment> m_segments;
  const media::MediaTime m_total;

  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  State m_state = State::kStopped;   // guarded by m_lock
  Current m_current;                 // guarded by m_lock
  media::MediaTime m_position{};     // guarded by m_lock: while no clip graph is open
  bool m_completed = false;          // guarded by m_lock: EC_COMPLETE sent for this run
  uint64_t m_epoch = 0;              // guarded by m_lock: moved on by every change of clip
  OAHWND m_owner = 0;                // guarded by m_lock
  long m_style = 0;                  // guarded by m_lock
  long m_visible = OATRUE;           // guarded by m_lock
  OAHWND m_drain = 0;                // guarded by m_lock
  std::optional<RECT> m_windowRect;  // guarded by m_lock: left, top, width, height
  std::deque<long> m_events;         // guarded by m_lock
  HWND m_notify = nullptr;           // guarded by m_lock
  UINT m_notifyMessage = 0;          // guarded by m_lock
  LONG_PTR m_notifyData = 0;         // guarded by m_lock
  bool m_quit = false;               // guarded by m_lock
  HANDLE m_eventHandle = nullptr;    // manual-reset, set while events wait
  HANDLE m_wake = nullptr;           // auto-reset: the watcher looks again
  std::thread m_watcher;             // last: started when everything above exists
};

}  // namespace pictavo::data
