// The timeline of a video album: its clips one after the other, each the play range of a file.
// It plays in the video-album preview as one playback graph (GetGraphBuilder, RenderIt), and is
// decoded for the video output into frames for the caller's frame writer and PCM for the sound
// pipe (StartDecodeForVideoOutput).
//
// Lengths (README "Video albums"): the album lasts the sum of its clips' play ranges. At f frames
// per second clip i, starting T(i) ms into the album, gets the frames from round(T(i) x f / 1000)
// to round(T(i + 1) x f / 1000) - 1 (halves up), showing its file from its start on; frame k's
// sound is the samples from round(k x 44100 / f) on, so the sound of N frames is exactly
// round(N x 44100 / f) samples, as long as the pictures. A clip without sound, or whose sound
// cannot be read, is silence; a clip whose video cannot be read is black.
//
// UI thread, except the decode's own threads, which only read what the timeline copied.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/media/FilterGraph.h"

namespace pictavo::data {
class TimelineDecode;
class TimelineGraph;
}  // namespace pictavo::data

class CTimelineProject {
 public:
  CTimelineProject();
  // Stops a decode (as a cancel would) and playback, and waits for them.
  virtual ~CTimelineProject();
  CTimelineProject(const CTimelineProject&) = delete;
  CTimelineProject& operator=(const CTimelineProject&) = delete;

  // Building: clips in play order (CDVDAlbumMovie::AddStaffToTimeline adds an album's), then
  // BuildTimeline. Times in milliseconds within the file.
  void AddClip(LPCTSTR path, DWORD start, DWORD end, BOOL withSound);
  int GetClipCount() const { return static_cast<int>(m_clips.size()); }
  // S_OK; E_FAIL for a timeline without clips (or only empty ones).
  HRESULT BuildTimeline();

  // Milliseconds of all clips.
  HRESULT GetTotalDuration(DWORD& milliseconds) const;
  HRESULT GetTotalDuration(DWORD* milliseconds) const;
  // The frame rate of the output: the one SetEncodeParamForVideoOutput gave, else the first
  // clip's, else 25.
  HRESULT GetFPS(double& fps) const;
  HRESULT GetFPS(double* fps) const;
  // Frames of the whole album at GetFPS, as the decode produces them.
  int GetTotalFrames() const;
  // PCM sample frames of the whole album at 44100 Hz, as the decode writes them.
  int64_t GetTotalSamples() const;

  // Video output. Frames are written as whole pictures, so the field order asked for by
  // interlaced or DV clips is accepted and kept only.
  void SetFieldOrder(int first, int second);
  // Frames of width x height at `fps` (the profile's); the flag is accepted and not used. The
  // frames go to the frame sink; the YUV pipe is the handle the sink's frame writer writes to
  // (the timeline closes it right after the last frame, so the reader sees the end of the
  // pictures while the sound may still be written: the writer must not close it too); the PCM
  // pipe receives signed 16-bit little-endian stereo samples at 44100 Hz and is closed after the
  // last sample.
  HRESULT SetEncodeParamForVideoOutput(int width, int height, int flag, double fps, HANDLE yuvPipe,
                                       HANDLE pcmPipe);
  // The caller's events: setting `cancel` ends the decode promptly (also while a pipe waits for
  // its reader); `done` is set when both pipes are closed, however the decode ended. The
  // window is kept for the caller and is not sent anything.
  void SetEncodeNotifyWindow(HWND window, HANDLE cancel, HANDLE done);
  // Receives every frame: 24-bit rows of the output size, bottom row first, padded to 4 bytes
  // (the layout of CxImage::GetBits and CYUVLib::AppendFrame with bBottomUp 1). Called on the
  // decode's video thread; FALSE stops the decode as a failure.
  using FrameSink = std::function<BOOL(const BYTE* bits, int width, int height)>;
  void SetFrameSink(FrameSink sink);
  // Starts the decode on threads of its own and returns: E_UNEXPECTED before BuildTimeline or
  // while a decode runs, E_INVALIDARG without a frame size, frame sink, PCM pipe or done event.
  // A refused start still closes both pipes and sets the done event.
  HRESULT StartDecodeForVideoOutput();
  // After the done event: S_OK, E_ABORT after a cancel, or HRESULT_FROM_WIN32 of the error that
  // ended it (a pipe's reader gone, the frame sink's failure); E_PENDING while it runs.
  HRESULT GetDecodeResult() const { return m_decodeResult.load(); }

  // Preview. The timeline's playback graph, which plays the clips one after the other as one
  // stream (IMediaControl, IMediaSeeking, IMediaEventEx, IVideoWindow, IBasicVideo). The pointer
  // is the timeline's own (not add-referenced) and valid while the timeline lives. Made by
  // BuildTimeline; E_UNEXPECTED before.
  HRESULT GetGraphBuilder(IGraphBuilder** graph);
  // Shows the video in `owner`'s client area and posts the graph's events to `notify` as
  // WM_VIDEO_PREVIEW_GRAPH_EVENT (0x94E); the flag is accepted and not used.
  HRESULT RenderIt(HWND owner, HWND notify, int flag);
  static constexpr UINT kGraphEventMessage = 0x94E;

  // The graph's video window, for fitting the video into the owner (ResizeVideoWindow); null
  // before RenderIt.
  IVideoWindow* m_pVideoWindow = nullptr;

 private:
  struct Clip {
    std::string path;
    DWORD start = 0;
    DWORD end = 0;
    bool sound = false;
  };
  void FinishDecode(HRESULT result);

  std::vector<Clip> m_clips;
  bool m_built = false;
  double m_fps = 0;  // from SetEncodeParamForVideoOutput, 0 when not given
  int m_fieldOrder[2] = {0, 0};
  int m_width = 0;
  int m_height = 0;
  HANDLE m_yuvPipe = nullptr;
  HANDLE m_pcmPipe = nullptr;
  HWND m_notifyWindow = nullptr;
  HANDLE m_cancel = nullptr;
  HANDLE m_done = nullptr;
  FrameSink m_sink;
  std::atomic<HRESULT> m_decodeResult{S_OK};
  std::unique_ptr<pictavo::data::TimelineDecode> m_decode;  // while a decode runs and until it is joined
  pictavo::data::TimelineGraph* m_graph = nullptr;          // one reference held
};
