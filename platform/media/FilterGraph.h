// Playback of one media file behind the filter-graph interfaces the program uses: build it with
// IGraphBuilder::RenderFile, drive it with IMediaControl and IMediaSeeking (positions in
// 100-nanosecond units), hear of its end through IMediaEvent(Ex), show its video in an owner
// window (IVideoWindow, IBasicVideo) and set its volume (IBasicAudio).
//
// Sound goes to the audio output (silent, keeping time, without a sound device). Video is drawn
// into the owner window's client area, at the video window's position, as frames fall due; the
// video has no window of its own, so without an owner it is not shown. Positions are exact:
// AM_SEEKING_SeekToKeyFrame is accepted and seeks to the exact time.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/com/Unknown.h"

using OAFilterState = long;
using OAHWND = LONG_PTR;
using OAEVENT = LONG_PTR;
using REFERENCE_TIME = LONGLONG;

#define OATRUE (-1)
#define OAFALSE 0

// Filter states.
#define State_Stopped 0
#define State_Paused 1
#define State_Running 2

// Event codes.
#define EC_COMPLETE 0x01
#define EC_USERABORT 0x02
#define EC_ERRORABORT 0x03

// IMediaSeeking::SetPositions flags.
#define AM_SEEKING_NoPositioning 0x00u
#define AM_SEEKING_AbsolutePositioning 0x01u
#define AM_SEEKING_RelativePositioning 0x02u
#define AM_SEEKING_IncrementalPositioning 0x03u
#define AM_SEEKING_PositioningBitsMask 0x03u
#define AM_SEEKING_SeekToKeyFrame 0x04u
#define AM_SEEKING_ReturnTime 0x08u
#define AM_SEEKING_Segment 0x10u
#define AM_SEEKING_NoFlush 0x20u

// IMediaSeeking::GetCapabilities bits.
#define AM_SEEKING_CanSeekAbsolute 0x001u
#define AM_SEEKING_CanSeekForwards 0x002u
#define AM_SEEKING_CanSeekBackwards 0x004u
#define AM_SEEKING_CanGetCurrentPos 0x008u
#define AM_SEEKING_CanGetStopPos 0x010u
#define AM_SEEKING_CanGetDuration 0x020u
#define AM_SEEKING_CanPlayBackwards 0x040u
#define AM_SEEKING_CanDoSegments 0x080u
#define AM_SEEKING_Source 0x100u

#ifndef HRESULT_FROM_WIN32
#define HRESULT_FROM_WIN32(x)    \
  (static_cast<HRESULT>(x) <= 0  \
       ? static_cast<HRESULT>(x) \
       : static_cast<HRESULT>((static_cast<DWORD>(x) & 0x0000FFFFu) | (7u << 16) | 0x80000000u))
#endif

#define VFW_S_PARTIAL_RENDER static_cast<HRESULT>(0x00040242)
#define VFW_E_NOT_FOUND static_cast<HRESULT>(0x80040216)
#define VFW_E_CANNOT_RENDER static_cast<HRESULT>(0x80040218)
#define VFW_E_WRONG_STATE static_cast<HRESULT>(0x80040227)
#define VFW_E_INVALID_FILE_FORMAT static_cast<HRESULT>(0x8004022F)
#define VFW_E_UNSUPPORTED_STREAM static_cast<HRESULT>(0x80040265)

// Defined beside the graph's registration with CoCreateInstance, so a program that names the
// class links the registration too.
extern const CLSID CLSID_FilterGraph;
inline constexpr IID IID_IGraphBuilder{
    0x56a868a9, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
inline constexpr IID IID_IMediaControl{
    0x56a868b1, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
inline constexpr IID IID_IBasicAudio{
    0x56a868b3, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
inline constexpr IID IID_IVideoWindow{
    0x56a868b4, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
inline constexpr IID IID_IBasicVideo{
    0x56a868b5, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
inline constexpr IID IID_IMediaEvent{
    0x56a868b6, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
inline constexpr IID IID_IMediaEventEx{
    0x56a868c0, 0x0ad4, 0x11ce, {0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
inline constexpr IID IID_IMediaSeeking{
    0x36b73880, 0xc2c8, 0x11cf, {0x8b, 0x46, 0x00, 0x80, 0x5f, 0x6c, 0xef, 0x60}};
inline constexpr IID IID_IObjectWithSite{
    0xfc4801a3, 0x2ba9, 0x11cf, {0xa2, 0x29, 0x00, 0xaa, 0x00, 0x3d, 0x73, 0x52}};
inline constexpr GUID TIME_FORMAT_MEDIA_TIME{
    0x7b785574, 0x8c82, 0x11cf, {0xbc, 0x0c, 0x00, 0xaa, 0x00, 0xac, 0x74, 0xf6}};

struct IGraphBuilder : IUnknown {
  // Builds playback of the file: its sound to the audio output, its video to the video window.
  // One file per graph; a second call fails with VFW_E_WRONG_STATE. A missing file gives
  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), a damaged one VFW_E_INVALID_FILE_FORMAT, one without
  // a stream we can decode VFW_E_UNSUPPORTED_STREAM; VFW_S_PARTIAL_RENDER when only its sound or
  // only its video can be played.
  virtual HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
};

struct IObjectWithSite : IUnknown {
  // The graph keeps a reference to its site; it has no filters to report to it.
  virtual HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** site) = 0;
};

struct IMediaControl : IUnknown {
  // Run from the stopped state starts the streams again at the current position (at the end it
  // completes at once); from paused it resumes.
  virtual HRESULT STDMETHODCALLTYPE Run() = 0;
  // Shows the frame at the current position when coming from the stopped state.
  virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
  // Stops without moving the position.
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  // State changes complete before the calls return, so the state is always settled (S_OK).
  virtual HRESULT STDMETHODCALLTYPE GetState(LONG msTimeout, OAFilterState* state) = 0;
  // Shows the frame at the current position, then stops.
  virtual HRESULT STDMETHODCALLTYPE StopWhenReady() = 0;
};

// Only TIME_FORMAT_MEDIA_TIME (100-nanosecond units) is supported.
struct IMediaSeeking : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) = 0;
  // Positions are clamped to 0 and the duration; the current one also to the stop position.
  // Seeking starts playing again after the end was reached (a new EC_COMPLETE follows).
  virtual HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                                 DWORD stopFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) = 0;
};

struct IMediaEvent : IUnknown {
  // A manual-reset event, signalled while events wait in the queue. Owned by the graph.
  virtual HRESULT STDMETHODCALLTYPE GetEventHandle(OAEVENT* event) = 0;
  // Takes the next event, waiting up to msTimeout (INFINITE: -1); E_ABORT when none came.
  virtual HRESULT STDMETHODCALLTYPE GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2,
                                             long msTimeout) = 0;
  // Waits until the running graph completes (EC_COMPLETE) or aborts; E_ABORT on time-out,
  // VFW_E_WRONG_STATE when the graph is not running. Leaves the event queue as it is.
  virtual HRESULT STDMETHODCALLTYPE WaitForCompletion(long msTimeout, long* code) = 0;
  virtual HRESULT STDMETHODCALLTYPE FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) = 0;
};

struct IMediaEventEx : IMediaEvent {
  // Every event queued from now on also posts `message` (wParam 0, lParam `instanceData`) to the
  // window; a null window stops the messages.
  virtual HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, long message, LONG_PTR instanceData) = 0;
};

// The video is drawn into the owner's client area at the window position (owner client
// coordinates; the video's own size at (0, 0) until set). Calls on a graph without video give
// E_NOINTERFACE.
struct IVideoWindow : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE put_Owner(OAHWND owner) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Owner(OAHWND* owner) = 0;
  // Kept and reported back; there is no window for it to style.
  virtual HRESULT STDMETHODCALLTYPE put_WindowStyle(long style) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WindowStyle(long* style) = 0;
  // OATRUE or OAFALSE; a hidden video is not drawn.
  virtual HRESULT STDMETHODCALLTYPE put_Visible(long visible) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Visible(long* visible) = 0;
  // Kept and reported back: input over the video already reaches the owner, which holds it.
  virtual HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND drain) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND* drain) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetWindowPosition(long left, long top, long width, long height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetWindowPosition(long* left, long* top, long* width, long* height) = 0;
};

struct IBasicVideo : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetVideoSize(long* width, long* height) = 0;
};

// Volume in hundredths of a decibel, -10000 (silence) to 0 (full). E_NOTIMPL without sound.
struct IBasicAudio : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE put_Volume(long volume) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Volume(long* volume) = 0;
};

PICTAVO_COM_INTERFACE_ID(IGraphBuilder, IID_IGraphBuilder);
PICTAVO_COM_INTERFACE_ID(IObjectWithSite, IID_IObjectWithSite);
PICTAVO_COM_INTERFACE_ID(IMediaControl, IID_IMediaControl);
PICTAVO_COM_INTERFACE_ID(IMediaSeeking, IID_IMediaSeeking);
PICTAVO_COM_INTERFACE_ID(IMediaEvent, IID_IMediaEvent);
PICTAVO_COM_INTERFACE_ID(IMediaEventEx, IID_IMediaEventEx);
PICTAVO_COM_INTERFACE_ID(IVideoWindow, IID_IVideoWindow);
PICTAVO_COM_INTERFACE_ID(IBasicVideo, IID_IBasicVideo);
PICTAVO_COM_INTERFACE_ID(IBasicAudio, IID_IBasicAudio);

namespace pictavo::media {

// A new, empty graph (what CoCreateInstance makes of CLSID_FilterGraph), returned as the
// interface `iid` with one reference.
HRESULT CreateFilterGraph(REFIID iid, void** object);

}  // namespace pictavo::media
