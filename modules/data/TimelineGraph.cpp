#include "modules/data/TimelineGraph.h"

#include <algorithm>

#include "modules/data/DrawSupport.h"
#include "modules/log/Log.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Wait.h"
#include "platform/media/MediaProbe.h"
#include "platform/user/Message.h"

namespace pictavo::data {
namespace {

using media::MediaTime;

template <class Interface>
void ReleaseInto(Interface*& pointer) {
  if (pointer != nullptr) pointer->Release();
  pointer = nullptr;
}

MediaTime TotalOf(const std::vector<TimelineClip>& clips) {
  MediaTime total{};
  for (const TimelineClip& clip : clips) total += media::FromMilliseconds(clip.Length());
  return total;
}

}  // namespace

std::vector<TimelineGraph::Segment> TimelineGraph::SegmentsOf(std::vector<TimelineClip> clips) {
  std::vector<Segment> segments;
  MediaTime at{};
  for (TimelineClip& clip : clips) {
    if (clip.Length() == 0) continue;
    Segment segment;
    segment.offset = at;
    segment.length = media::FromMilliseconds(clip.Length());
    segment.clip = std::move(clip);
    at += segment.length;
    segments.push_back(std::move(segment));
  }
  return segments;
}

TimelineGraph::TimelineGraph(std::vector<TimelineClip> clips)
    : m_segments(SegmentsOf(clips)),
      m_total(TotalOf(clips)),
      m_eventHandle(CreateEvent(nullptr, TRUE, FALSE, nullptr)),
      m_wake(CreateEvent(nullptr, FALSE, FALSE, nullptr)) {
  m_watcher = std::thread([this] { Watch(); });
}

TimelineGraph::~TimelineGraph() {
  {
    std::lock_guard lock(m_lock);
    m_quit = true;
  }
  SetEvent(m_wake);
  m_watcher.join();
  {
    std::lock_guard lock(m_lock);
    CloseLocked();
  }
  CloseHandle(m_eventHandle);
  CloseHandle(m_wake);
}

void* TimelineGraph::QueryOther(REFIID iid) {
  return iid == IID_IMediaEvent ? static_cast<IMediaEvent*>(static_cast<IMediaEventEx*>(this)) : nullptr;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::RenderFile(LPCWSTR, LPCWSTR) {
  return VFW_E_WRONG_STATE;
}

int TimelineGraph::SegmentAt(MediaTime position) const {
  for (size_t i = 0; i < m_segments.size(); ++i)
    if (position < m_segments[i].offset + m_segments[i].length) return static_cast<int>(i);
  return static_cast<int>(m_segments.size());
}

void TimelineGraph::CloseLocked() {
  if (m_current.control != nullptr) m_current.control->Stop();
  ReleaseInto(m_current.window);
  ReleaseInto(m_current.events);
  ReleaseInto(m_current.seeking);
  ReleaseInto(m_current.control);
  ReleaseInto(m_current.graph);
  m_current.index = -1;
  ++m_epoch;
}

bool TimelineGraph::OpenLocked(int index, MediaTime offset) {
  CloseLocked();
  const Segment& segment = m_segments[static_cast<size_t>(index)];
  IGraphBuilder* graph = nullptr;
  if (FAILED(media::CreateFilterGraph(IID_IGraphBuilder, reinterpret_cast<void**>(&graph)))) return false;
  const HRESULT rendered = graph->RenderFile(Widen(segment.clip.path).c_str(), nullptr);
  if (FAILED(rendered)) {
    WriteErrorLog("Video preview: %s cannot be played (%08x); it is left out", segment.clip.path.c_str(),
                  static_cast<unsigned>(rendered));
    graph->Release();
    return false;
  }
  m_current.index = index;
  m_current.graph = graph;
  graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_current.control));
  graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_current.seeking));
  graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&m_current.events));
  if (graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_current.window)) != S_OK)
    m_current.window = nullptr;
  LONGLONG start = (media::FromMilliseconds(segment.clip.start) + offset).count();
  LONGLONG end = media::FromMilliseconds(segment.clip.end).count();
  m_current.seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, &end,
                                  AM_SEEKING_AbsolutePositioning);
  ApplyWindowLocked();
  return true;
}

void TimelineGraph::ApplyWindowLocked() {
  IVideoWindow* window = m_current.window;
  if (window == nullptr) return;
  window->put_Owner(m_owner);
  if (m_windowRect)
    window->SetWindowPosition(m_windowRect->left, m_windowRect->top, m_windowRect->right,
                              m_windowRect->bottom);
  window->put_Visible(m_visible);
}

MediaTime TimelineGraph::PositionLocked() const {
  if (m_current.seeking == nullptr) return m_position;
  const Segment& segment = m_segments[static_cast<size_t>(m_current.index)];
  LONGLONG inner = 0;
  m_current.seeking->GetCurrentPosition(&inner);
  const MediaTime into = std::clamp(MediaTime(inner) - media::FromMilliseconds(segment.clip.start),
                                    MediaTime::zero(), segment.length);
  return segment.offset + into;
}

bool TimelineGraph::MoveToLocked(MediaTime position) {
  position = std::clamp(position, MediaTime::zero(), m_total);
  for (int index = SegmentAt(position); index < static_cast<int>(m_segments.size()); ++index) {
    const MediaTime offset =
        std::max(MediaTime::zero(), position - m_segments[static_cast<size_t>(index)].offset);
    if (m_current.index == index && m_current.seeking != nullptr) {
      LONGLONG start =
          (media::FromMilliseconds(m_segments[static_cast<size_t>(index)].clip.start) + offset).count();
      m_current.seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning);
      return true;
    }
    if (OpenLocked(index, offset)) return true;
    position = index + 1 < static_cast<int>(m_segments.size())
                   ? m_segments[static_cast<size_t>(index) + 1].offset
                   : m_total;
  }
  CloseLocked();
  m_position = m_total;
  return false;
}

void TimelineGraph::PostEvent(long code) {
  HWND window = nullptr;
  UINT message = 0;
  LONG_PTR data = 0;
  {
    std::lock_guard lock(m_lock);
    m_events.push_back(code);
    SetEvent(m_eventHandle);
    if (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT) m_completed = true;
    window = m_notify;
    message = m_notifyMessage;
    data = m_notifyData;
  }
  m_changed.notify_all();
  if (window != nullptr) PostMessage(window, message, 0, data);
}

void TimelineGraph::Watch() {
  for (;;) {
    HANDLE inner = nullptr;
    uint64_t epoch = 0;
    {
      std::lock_guard lock(m_lock);
      if (m_quit) return;
      if (m_state == State::kRunning && m_current.events != nullptr) {
        OAEVENT handle = 0;
        m_current.events->GetEventHandle(&handle);
        inner = reinterpret_cast<HANDLE>(handle);
      }
      epoch = m_epoch;
    }
    const HANDLE waits[2] = {m_wake, inner};
    const DWORD which = WaitForMultipleObjects(inner != nullptr ? 2 : 1, waits, FALSE, INFINITE);
    if (which != WAIT_OBJECT_0 + 1) continue;
    bool finished = false;
    {
      std::lock_guard lock(m_lock);
      if (m_quit) return;
      if (epoch != m_epoch || m_current.events == nullptr) continue;
      bool ended = false;
      long code = 0;
      LONG_PTR p1 = 0, p2 = 0;
      while (m_current.events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
        m_current.events->FreeEventParams(code, p1, p2);
        if (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT) ended = true;
      }
      if (!ended || m_state != State::kRunning) continue;
      // The clip has played: the next one takes over, or the album has ended.
      const int next = m_current.index + 1;
      if (next < static_cast<int>(m_segments.size()) &&
          MoveToLocked(m_segments[static_cast<size_t>(next)].offset)) {
        m_current.control->Run();
      } else {
        CloseLocked();
        m_position = m_total;
        finished = true;
      }
    }
    if (finished) PostEvent(EC_COMPLETE);
  }
}

HRESULT STDMETHODCALLTYPE TimelineGraph::Run() {
  bool finished = false;
  {
    std::lock_guard lock(m_lock);
    m_state = State::kRunning;
    m_completed = false;
    if (m_current.control == nullptr && !MoveToLocked(m_position))
      finished = true;
    else
      m_current.control->Run();
  }
  SetEvent(m_wake);
  if (finished) PostEvent(EC_COMPLETE);  // at the end already: completes at once
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::Pause() {
  std::lock_guard lock(m_lock);
  m_state = State::kPaused;
  if (m_current.control == nullptr) MoveToLocked(m_position);
  if (m_current.control != nullptr) m_current.control->Pause();
  SetEvent(m_wake);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::Stop() {
  std::lock_guard lock(m_lock);
  m_state = State::kStopped;
  if (m_current.control != nullptr) m_current.control->Stop();
  SetEvent(m_wake);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::StopWhenReady() {
  std::lock_guard lock(m_lock);
  m_state = State::kStopped;
  if (m_current.control == nullptr) MoveToLocked(m_position);
  if (m_current.control != nullptr) m_current.control->StopWhenReady();
  SetEvent(m_wake);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetState(LONG, OAFilterState* state) {
  if (state == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  *state = m_state == State::kRunning  ? State_Running
           : m_state == State::kPaused ? State_Paused
                                       : State_Stopped;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetCapabilities(DWORD* capabilities) {
  if (capabilities == nullptr) return E_POINTER;
  *capabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                  AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::IsFormatSupported(const GUID* format) {
  if (format == nullptr) return E_POINTER;
  return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetTimeFormat(GUID* format) {
  if (format == nullptr) return E_POINTER;
  *format = TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::SetTimeFormat(const GUID* format) {
  if (format == nullptr) return E_POINTER;
  return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetDuration(LONGLONG* duration) {
  if (duration == nullptr) return E_POINTER;
  *duration = m_total.count();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetStopPosition(LONGLONG* stop) {
  return GetDuration(stop);
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetCurrentPosition(LONGLONG* current) {
  if (current == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  *current = PositionLocked().count();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*,
                                                      DWORD) {
  const DWORD how = currentFlags & AM_SEEKING_PositioningBitsMask;
  if (how == AM_SEEKING_NoPositioning) return S_OK;
  if (current == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  MediaTime target = MediaTime(*current);
  if (how == AM_SEEKING_RelativePositioning) target += PositionLocked();
  target = std::clamp(target, MediaTime::zero(), m_total);
  m_completed = false;
  m_position = target;
  if (MoveToLocked(target)) {
    if (m_state == State::kRunning) m_current.control->Run();
    if (m_state == State::kPaused) m_current.control->Pause();
  }
  SetEvent(m_wake);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetPositions(LONGLONG* current, LONGLONG* stop) {
  if (current != nullptr) GetCurrentPosition(current);
  if (stop != nullptr) *stop = m_total.count();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetEventHandle(OAEVENT* event) {
  if (event == nullptr) return E_POINTER;
  *event = reinterpret_cast<OAEVENT>(m_eventHandle);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2,
                                                  long msTimeout) {
  if (code == nullptr || param1 == nullptr || param2 == nullptr) return E_POINTER;
  if (WaitForSingleObject(m_eventHandle, static_cast<DWORD>(msTimeout)) != WAIT_OBJECT_0) return E_ABORT;
  std::lock_guard lock(m_lock);
  if (m_events.empty()) return E_ABORT;
  *code = m_events.front();
  *param1 = *param2 = 0;
  m_events.pop_front();
  if (m_events.empty()) ResetEvent(m_eventHandle);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::WaitForCompletion(long msTimeout, long* code) {
  if (code == nullptr) return E_POINTER;
  std::unique_lock lock(m_lock);
  if (m_state != State::kRunning) return VFW_E_WRONG_STATE;
  const auto done = [&] { return m_completed; };
  if (msTimeout < 0)
    m_changed.wait(lock, done);
  else if (!m_changed.wait_for(lock, std::chrono::milliseconds(msTimeout), done))
    return E_ABORT;
  *code = EC_COMPLETE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::FreeEventParams(long, LONG_PTR, LONG_PTR) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::SetNotifyWindow(OAHWND window, long message, LONG_PTR instanceData) {
  std::lock_guard lock(m_lock);
  m_notify = reinterpret_cast<HWND>(window);
  m_notifyMessage = static_cast<UINT>(message);
  m_notifyData = instanceData;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::put_Owner(OAHWND owner) {
  std::lock_guard lock(m_lock);
  m_owner = owner;
  ApplyWindowLocked();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::get_Owner(OAHWND* owner) {
  if (owner == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  *owner = m_owner;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::put_WindowStyle(long style) {
  std::lock_guard lock(m_lock);
  m_style = style;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::get_WindowStyle(long* style) {
  if (style == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  *style = m_style;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::put_Visible(long visible) {
  std::lock_guard lock(m_lock);
  m_visible = visible;
  ApplyWindowLocked();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::get_Visible(long* visible) {
  if (visible == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  *visible = m_visible;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::put_MessageDrain(OAHWND drain) {
  std::lock_guard lock(m_lock);
  m_drain = drain;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::get_MessageDrain(OAHWND* drain) {
  if (drain == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  *drain = m_drain;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::SetWindowPosition(long left, long top, long width, long height) {
  std::lock_guard lock(m_lock);
  m_windowRect = RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(width),
                      static_cast<LONG>(height)};
  ApplyWindowLocked();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetWindowPosition(long* left, long* top, long* width, long* height) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  std::lock_guard lock(m_lock);
  if (m_windowRect) {
    *left = m_windowRect->left;
    *top = m_windowRect->top;
    *width = m_windowRect->right;
    *height = m_windowRect->bottom;
    return S_OK;
  }
  long w = 0, h = 0;
  *left = *top = 0;
  const HRESULT result = GetVideoSize(&w, &h);
  *width = w;
  *height = h;
  return result;
}

HRESULT STDMETHODCALLTYPE TimelineGraph::GetVideoSize(long* width, long* height) {
  if (width == nullptr || height == nullptr) return E_POINTER;
  for (const Segment& segment : m_segments) {
    media::MediaInfo info;
    if (media::ProbeMedia(segment.clip.path, info) && info.hasVideo) {
      *width = info.width;
      *height = info.height;
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

}  // namespace pictavo::data
