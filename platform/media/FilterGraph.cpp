#include "platform/media/FilterGraph.h"

#include <atomic>
#include <cmath>
#include <mutex>
#include <string>

#include "platform/base/ErrorCodes.h"
#include "platform/base/Utf8.h"
#include "platform/com/ComObject.h"
#include "platform/media/GraphEvents.h"
#include "platform/media/GraphPlayback.h"

namespace pictavo::media {
namespace {

using detail::GraphState;
using detail::RenderResult;

constexpr long kSilentVolume = -10000;

HRESULT FromRenderError(const MediaError& error) {
  switch (error.code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
      return HRESULT_FROM_WIN32(error.code);
    case ERROR_BAD_FORMAT:
      return VFW_E_INVALID_FILE_FORMAT;
    case ERROR_NOT_SUPPORTED:
      return VFW_E_UNSUPPORTED_STREAM;
    default:
      return E_FAIL;
  }
}

// Hundredths of a decibel to a linear gain and back.
double GainOfVolume(long volume) {
  return volume <= kSilentVolume ? 0.0 : std::pow(10.0, static_cast<double>(volume) / 2000.0);
}

// Applies the positioning bits of one SetPositions argument to the value it changes.
bool Reposition(const LONGLONG* given, DWORD flags, LONGLONG base, LONGLONG relativeTo,
                std::optional<MediaTime>& out) {
  switch (flags & AM_SEEKING_PositioningBitsMask) {
    case AM_SEEKING_NoPositioning:
      return true;
    case AM_SEEKING_AbsolutePositioning:
      out = MediaTime(*given);
      return true;
    case AM_SEEKING_RelativePositioning:
      out = MediaTime(base + *given);
      return true;
    case AM_SEEKING_IncrementalPositioning:
      out = MediaTime(relativeTo + *given);
      return true;
    default:
      return false;
  }
}

class FilterGraph final : public com::Object<IGraphBuilder, IObjectWithSite, IMediaControl, IMediaSeeking,
                                             IMediaEventEx, IVideoWindow, IBasicVideo, IBasicAudio> {
 public:
  FilterGraph() = default;

  // IGraphBuilder
  HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR) override {
    if (!file) return E_POINTER;
    std::lock_guard lock(m_renderLock);
    if (m_playback.IsRendered()) return VFW_E_WRONG_STATE;
    MediaError error;
    switch (m_playback.Render(utf8::FromWide(file), error)) {
      case RenderResult::kComplete:
        break;
      case RenderResult::kPartial:
        ApplyVolume();
        return VFW_S_PARTIAL_RENDER;
      case RenderResult::kFailed:
        return FromRenderError(error);
    }
    ApplyVolume();
    return S_OK;
  }

  // IObjectWithSite
  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override {
    if (site) site->AddRef();
    IUnknown* old = nullptr;
    {
      std::lock_guard lock(m_siteLock);
      old = m_site;
      m_site = site;
    }
    if (old) old->Release();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** site) override {
    if (!site) return E_POINTER;
    *site = nullptr;
    std::lock_guard lock(m_siteLock);
    if (!m_site) return E_FAIL;
    return m_site->QueryInterface(iid, site);
  }

  // IMediaControl
  HRESULT STDMETHODCALLTYPE Run() override {
    m_playback.Run();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Pause() override {
    m_playback.Pause();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override {
    m_playback.Stop();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetState(LONG, OAFilterState* state) override {
    if (!state) return E_POINTER;
    switch (m_playback.State()) {
      case GraphState::kStopped:
        *state = State_Stopped;
        break;
      case GraphState::kPaused:
        *state = State_Paused;
        break;
      case GraphState::kRunning:
        *state = State_Running;
        break;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE StopWhenReady() override {
    m_playback.StopWhenReady();
    return S_OK;
  }

  // IMediaSeeking
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) override {
    if (!capabilities) return E_POINTER;
    *capabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                    AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override {
    if (!format) return E_POINTER;
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override {
    if (!format) return E_POINTER;
    *format = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override {
    if (!format) return E_POINTER;
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override {
    return Answer(duration, [&] { return m_playback.Duration(); });
  }
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override {
    return Answer(stop, [&] { return m_playback.StopPosition(); });
  }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override {
    return Answer(current, [&] { return m_playback.CurrentPosition(); });
  }
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                         DWORD stopFlags) override {
    if (!m_playback.IsRendered()) return E_NOTIMPL;
    if (((currentFlags & AM_SEEKING_PositioningBitsMask) && !current) ||
        ((stopFlags & AM_SEEKING_PositioningBitsMask) && !stop))
      return E_POINTER;
    const LONGLONG position = m_playback.CurrentPosition().count();
    const LONGLONG stopPosition = m_playback.StopPosition().count();
    std::optional<MediaTime> newCurrent, newStop;
    if (!Reposition(current, currentFlags, position, position, newCurrent)) return E_INVALIDARG;
    // An incremental stop counts from the new current position.
    if (!Reposition(stop, stopFlags, stopPosition, newCurrent.value_or(MediaTime(position)).count(), newStop))
      return E_INVALIDARG;
    m_playback.SetPositions(newCurrent, newStop);
    if ((currentFlags & AM_SEEKING_ReturnTime) && current) *current = m_playback.CurrentPosition().count();
    if ((stopFlags & AM_SEEKING_ReturnTime) && stop) *stop = m_playback.StopPosition().count();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override {
    if (!m_playback.IsRendered()) return E_NOTIMPL;
    if (current) *current = m_playback.CurrentPosition().count();
    if (stop) *stop = m_playback.StopPosition().count();
    return S_OK;
  }

  // IMediaEvent, IMediaEventEx
  HRESULT STDMETHODCALLTYPE GetEventHandle(OAEVENT* event) override {
    if (!event) return E_POINTER;
    *event = reinterpret_cast<OAEVENT>(m_events.Handle());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2,
                                     long msTimeout) override {
    if (!code || !param1 || !param2) return E_POINTER;
    *code = 0;
    *param1 = *param2 = 0;
    return m_events.Take(*code, *param1, *param2, Milliseconds(msTimeout)) ? S_OK : E_ABORT;
  }
  HRESULT STDMETHODCALLTYPE WaitForCompletion(long msTimeout, long* code) override {
    if (!code) return E_POINTER;
    *code = 0;
    if (m_playback.State() != GraphState::kRunning) return VFW_E_WRONG_STATE;
    const std::optional<long> completion = m_events.WaitForCompletion(Milliseconds(msTimeout));
    if (!completion) return E_ABORT;
    *code = *completion;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FreeEventParams(long, LONG_PTR, LONG_PTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, long message, LONG_PTR instanceData) override {
    m_events.SetNotifyWindow(reinterpret_cast<HWND>(window), static_cast<UINT>(message), instanceData);
    return S_OK;
  }

  // IVideoWindow
  HRESULT STDMETHODCALLTYPE put_Owner(OAHWND owner) override {
    return ChangeTarget([&](detail::VideoTarget& t) { t.owner = reinterpret_cast<HWND>(owner); });
  }
  HRESULT STDMETHODCALLTYPE get_Owner(OAHWND* owner) override {
    return ReadTarget(owner, [](const detail::VideoTarget& t) { return reinterpret_cast<OAHWND>(t.owner); });
  }
  HRESULT STDMETHODCALLTYPE put_WindowStyle(long style) override {
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    m_windowStyle = style;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_WindowStyle(long* style) override {
    if (!style) return E_POINTER;
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    *style = m_windowStyle;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Visible(long visible) override {
    if (visible != OATRUE && visible != OAFALSE) return E_INVALIDARG;
    return ChangeTarget([&](detail::VideoTarget& t) { t.visible = visible == OATRUE; });
  }
  HRESULT STDMETHODCALLTYPE get_Visible(long* visible) override {
    return ReadTarget(visible,
                      [](const detail::VideoTarget& t) { return t.visible ? long{OATRUE} : long{OAFALSE}; });
  }
  HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND drain) override {
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    m_messageDrain = drain;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND* drain) override {
    if (!drain) return E_POINTER;
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    *drain = m_messageDrain;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetWindowPosition(long left, long top, long width, long height) override {
    if (width < 0 || height < 0) return E_INVALIDARG;
    return ChangeTarget([&](detail::VideoTarget& t) {
      t.rect = RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(left + width),
                    static_cast<LONG>(top + height)};
    });
  }
  HRESULT STDMETHODCALLTYPE GetWindowPosition(long* left, long* top, long* width, long* height) override {
    if (!left || !top || !width || !height) return E_POINTER;
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    const RECT r = m_playback.GetVideoTarget().rect;
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }

  // IBasicVideo
  HRESULT STDMETHODCALLTYPE GetVideoSize(long* width, long* height) override {
    if (!width || !height) return E_POINTER;
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    const SIZE size = m_playback.VideoSize();
    *width = size.cx;
    *height = size.cy;
    return S_OK;
  }

  // IBasicAudio
  HRESULT STDMETHODCALLTYPE put_Volume(long volume) override {
    if (volume < kSilentVolume || volume > 0) return E_INVALIDARG;
    if (!m_playback.HasAudio()) return E_NOTIMPL;
    m_volume = volume;
    ApplyVolume();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Volume(long* volume) override {
    if (!volume) return E_POINTER;
    if (!m_playback.HasAudio()) return E_NOTIMPL;
    *volume = m_volume;
    return S_OK;
  }

 private:
  ~FilterGraph() override { SetSite(nullptr); }

  // IMediaEvent, the base of IMediaEventEx.
  void* QueryOther(REFIID iid) override {
    return iid == IID_IMediaEvent ? static_cast<IMediaEvent*>(static_cast<IMediaEventEx*>(this)) : nullptr;
  }

  static DWORD Milliseconds(long timeout) { return timeout < 0 ? INFINITE : static_cast<DWORD>(timeout); }

  template <class Read>
  HRESULT Answer(LONGLONG* out, Read read) {
    if (!out) return E_POINTER;
    if (!m_playback.IsRendered()) return E_NOTIMPL;
    *out = read().count();
    return S_OK;
  }

  template <class Change>
  HRESULT ChangeTarget(Change change) {
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    std::lock_guard lock(m_targetLock);
    detail::VideoTarget target = m_playback.GetVideoTarget();
    change(target);
    m_playback.SetVideoTarget(target);
    return S_OK;
  }

  template <class T, class Read>
  HRESULT ReadTarget(T* out, Read read) {
    if (!out) return E_POINTER;
    if (!m_playback.HasVideo()) return E_NOINTERFACE;
    *out = read(m_playback.GetVideoTarget());
    return S_OK;
  }

  void ApplyVolume() { m_playback.SetVolume(GainOfVolume(m_volume)); }

  detail::GraphEvents m_events;
  detail::GraphPlayback m_playback{m_events};  // after m_events, which it posts to
  std::mutex m_renderLock;                     // one RenderFile at a time
  std::mutex m_targetLock;                     // read-modify-write of the video target
  std::mutex m_siteLock;
  IUnknown* m_site = nullptr;  // guarded by m_siteLock; holds a reference
  std::atomic<long> m_volume{0};
  std::atomic<long> m_windowStyle{0};
  std::atomic<OAHWND> m_messageDrain{0};
};

}  // namespace

HRESULT CreateFilterGraph(REFIID iid, void** object) {
  return com::CreateInstance<FilterGraph>(iid, object);
}

}  // namespace pictavo::media
