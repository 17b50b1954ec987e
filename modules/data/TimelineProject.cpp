#include "modules/data/TimelineProject.h"

#include <algorithm>

#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/MediaProbe.h"
#include "modules/data/TimelineDecode.h"
#include "modules/data/TimelineGraph.h"
#include "modules/log/Log.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Wait.h"

using pictavo::data::TimelineClip;

CTimelineProject::CTimelineProject() = default;

CTimelineProject::~CTimelineProject() {
  m_decode.reset();  // stops and waits
  if (m_graph != nullptr) {
    m_graph->Stop();
    m_graph->SetNotifyWindow(0, 0, 0);
    m_graph->Release();
  }
}

void CTimelineProject::AddClip(LPCTSTR path, DWORD start, DWORD end, BOOL withSound) {
  if (path == nullptr || *path == '\0') return;
  m_clips.push_back(Clip{pictavo::path::ToNative(path), start, std::max(start, end), withSound != FALSE});
  m_built = false;
}

HRESULT CTimelineProject::BuildTimeline() {
  DWORD total = 0;
  GetTotalDuration(total);
  if (total == 0) {
    WriteErrorLog("Video album timeline: no clip to play");
    return E_FAIL;
  }
  if (m_graph == nullptr) {
    std::vector<TimelineClip> clips;
    for (const Clip& clip : m_clips)
      clips.push_back(TimelineClip{clip.path, clip.start, clip.end, clip.sound});
    m_graph = new pictavo::data::TimelineGraph(std::move(clips));
  }
  m_built = true;
  return S_OK;
}

HRESULT CTimelineProject::GetTotalDuration(DWORD& milliseconds) const {
  uint64_t total = 0;
  for (const Clip& clip : m_clips) total += clip.end - clip.start;
  milliseconds = static_cast<DWORD>(std::min<uint64_t>(total, 0xFFFFFFFF));
  return S_OK;
}

HRESULT CTimelineProject::GetTotalDuration(DWORD* milliseconds) const {
  return milliseconds != nullptr ? GetTotalDuration(*milliseconds) : E_POINTER;
}

HRESULT CTimelineProject::GetFPS(double& fps) const {
  fps = m_fps;
  if (fps <= 0 && !m_clips.empty()) {
    const auto facts = pictavo::data::ProbeMedia(m_clips.front().path);
    if (facts && facts->frameRate > 0) fps = facts->frameRate;
  }
  if (fps <= 0) fps = 25;
  return S_OK;
}

HRESULT CTimelineProject::GetFPS(double* fps) const {
  return fps != nullptr ? GetFPS(*fps) : E_POINTER;
}

int CTimelineProject::GetTotalFrames() const {
  DWORD total = 0;
  double fps = 0;
  GetTotalDuration(total);
  GetFPS(fps);
  return static_cast<int>(pictavo::data::FrameBoundary(total, fps));
}

int64_t CTimelineProject::GetTotalSamples() const {
  double fps = 0;
  GetFPS(fps);
  return pictavo::data::SampleBoundary(GetTotalFrames(), fps, pictavo::data::kTimelineSampleRate);
}

void CTimelineProject::SetFieldOrder(int first, int second) {
  m_fieldOrder[0] = first;
  m_fieldOrder[1] = second;
}

HRESULT CTimelineProject::SetEncodeParamForVideoOutput(int width, int height, int, double fps, HANDLE yuvPipe,
                                                       HANDLE pcmPipe) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || !(fps > 0) || fps > 1000)
    return E_INVALIDARG;
  m_width = width;
  m_height = height;
  m_fps = fps;
  m_yuvPipe = yuvPipe;
  m_pcmPipe = pcmPipe;
  return S_OK;
}

void CTimelineProject::SetEncodeNotifyWindow(HWND window, HANDLE cancel, HANDLE done) {
  m_notifyWindow = window;
  m_cancel = cancel;
  m_done = done;
}

void CTimelineProject::SetFrameSink(FrameSink sink) {
  m_sink = std::move(sink);
}

void CTimelineProject::FinishDecode(HRESULT result) {
  // A refused start: the pipes and the done event end as they would after a decode.
  for (HANDLE* pipe : {&m_yuvPipe, &m_pcmPipe}) {
    if (*pipe != nullptr && *pipe != INVALID_HANDLE_VALUE) CloseHandle(*pipe);
    *pipe = nullptr;
  }
  m_decodeResult = result;
  if (m_done != nullptr) SetEvent(m_done);
  WriteErrorLog("Video album decode refused (%08x)", static_cast<unsigned>(result));
}

HRESULT CTimelineProject::StartDecodeForVideoOutput() {
  if (m_decode && m_decode->Running()) {
    // The running decode keeps its pipes and its events.
    return E_UNEXPECTED;
  }
  m_decode.reset();
  if (!m_built) {
    FinishDecode(E_UNEXPECTED);
    return E_UNEXPECTED;
  }
  if (m_width <= 0 || m_height <= 0 || !m_sink || m_pcmPipe == nullptr || m_pcmPipe == INVALID_HANDLE_VALUE ||
      m_done == nullptr) {
    FinishDecode(E_INVALIDARG);
    return E_INVALIDARG;
  }
  pictavo::data::TimelineOutput output;
  output.width = m_width;
  output.height = m_height;
  GetFPS(output.fps);
  output.yuvPipe = m_yuvPipe;
  output.pcmPipe = m_pcmPipe;
  output.cancel = m_cancel;
  output.done = m_done;
  output.sink = m_sink;
  std::vector<TimelineClip> clips;
  for (const Clip& clip : m_clips)
    if (clip.end > clip.start) clips.push_back(TimelineClip{clip.path, clip.start, clip.end, clip.sound});
  WriteLog("Video album decode: %d frames of %dx%d at %.3f fps, %lld sound frames", GetTotalFrames(), m_width,
           m_height, output.fps, static_cast<long long>(GetTotalSamples()));
  m_decodeResult = E_PENDING;
  m_decode =
      std::make_unique<pictavo::data::TimelineDecode>(std::move(clips), std::move(output), m_decodeResult);
  // The pipes belong to the decode now.
  m_yuvPipe = m_pcmPipe = nullptr;
  return S_OK;
}

HRESULT CTimelineProject::GetGraphBuilder(IGraphBuilder** graph) {
  if (graph == nullptr) return E_POINTER;
  *graph = m_graph;
  return m_graph != nullptr ? S_OK : E_UNEXPECTED;
}

HRESULT CTimelineProject::RenderIt(HWND owner, HWND notify, int) {
  if (m_graph == nullptr) return E_UNEXPECTED;
  m_graph->put_Owner(reinterpret_cast<OAHWND>(owner));
  m_graph->SetNotifyWindow(reinterpret_cast<OAHWND>(notify), static_cast<long>(kGraphEventMessage), 0);
  m_pVideoWindow = static_cast<IVideoWindow*>(m_graph);
  return S_OK;
}

HRESULT CDVDAlbumMovie::AddStaffToTimeline(CTimelineProject* timeline, int withSound, int, int) {
  if (timeline == nullptr) return E_POINTER;
  int added = 0;
  for (int i = 0; i < Get_nVideoItemCount(); ++i) {
    const _DV_LIST_ITEM_DATA* item = Get_pVideoItemData(i);
    if (item == nullptr || item->GetPlayLength() == 0) continue;
    const CString& path = item->pSource != nullptr && !item->pSource->strPathName.IsEmpty()
                              ? item->pSource->strPathName
                              : item->strPathName;
    timeline->AddClip(path, item->pSource->dwStart, item->pSource->dwEnd, withSound && item->bHasAudio);
    ++added;
  }
  return added > 0 ? S_OK : S_FALSE;
}
