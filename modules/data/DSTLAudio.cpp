#include "modules/data/DSTLAudio.h"

#include <algorithm>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/MediaProbe.h"
#include "modules/data/MusicMix.h"
#include "modules/data/MusicPlayback.h"
#include "modules/data/PipeWriting.h"
#include "modules/log/Log.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileHandle.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Wait.h"

using pictavo::data::IsSet;
using pictavo::data::MusicPlayback;
using pictavo::data::MusicRenderer;
using pictavo::data::WriteAll;
using pictavo::data::WriteCanceller;
using pictavo::media::AudioFormat;

namespace {

constexpr size_t kChunkFrames = 8192;
// The player's output format: what every sound device takes.
constexpr AudioFormat kPlayFormat{44100, 2};

// Writes the whole track; the result for GetDecodeResult.
DWORD DecodeInto(MusicRenderer& renderer, HANDLE pipe, HANDLE cancel, HANDLE quit) {
  const WriteCanceller canceller({pipe}, {cancel, quit});
  const size_t channels = static_cast<size_t>(renderer.Format().channels);
  std::vector<int16_t> samples(kChunkFrames * channels);
  for (;;) {
    if (IsSet(cancel) || IsSet(quit)) return ERROR_OPERATION_ABORTED;
    const size_t frames = renderer.Render(samples);
    if (frames == 0) return NO_ERROR;
    // Samples are kept in the machine's order, which is little-endian here, as s16le wants.
    const DWORD error = WriteAll(pipe, samples.data(), frames * channels * sizeof(int16_t));
    if (error != NO_ERROR) return IsSet(cancel) || IsSet(quit) ? ERROR_OPERATION_ABORTED : error;
  }
}

}  // namespace

CDSTLAudio::CDSTLAudio() : m_decodeQuit(CreateEvent(nullptr, TRUE, FALSE, nullptr)) {}

CDSTLAudio::~CDSTLAudio() {
  SetEvent(m_decodeQuit);
  JoinDecode();
  StopPlay();
  CloseHandle(m_decodeQuit);
}

void CDSTLAudio::JoinDecode() {
  if (m_decodeThread.joinable()) m_decodeThread.join();
}

BOOL CDSTLAudio::StartDecode(const _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM* param) {
  // Every way out closes the pipe and sets the done event, so the reader and the waiter are
  // never left hanging.
  const auto refuse = [&](DWORD error) {
    if (param != nullptr) {
      if (param->hPipe != nullptr && param->hPipe != INVALID_HANDLE_VALUE) CloseHandle(param->hPipe);
      if (param->hDoneEvent != nullptr) SetEvent(param->hDoneEvent);
    }
    WriteErrorLog("Music decode refused (error %u)", static_cast<unsigned>(error));
    SetLastError(error);
    return FALSE;
  };
  if (m_decoding.load()) return refuse(ERROR_BUSY);  // the running decode keeps its result
  JoinDecode();
  if (param == nullptr || param->pAlbum == nullptr || param->hPipe == nullptr ||
      param->hPipe == INVALID_HANDLE_VALUE || param->nSampleRate < 8000 || param->nSampleRate > 192000 ||
      param->nChannels < 1 || param->nChannels > 2) {
    m_decodeResult = ERROR_INVALID_PARAMETER;
    return refuse(ERROR_INVALID_PARAMETER);
  }
  const AudioFormat format{param->nSampleRate, param->nChannels};
  auto renderer = std::make_unique<MusicRenderer>(
      pictavo::data::PlanAlbumMusic(*param->pAlbum, param->dwMusicLength), format);
  WriteLog("Music decode: %u ms at %d Hz, %d channel(s): %lld frames", param->dwMusicLength,
           format.sampleRate, format.channels, static_cast<long long>(renderer->TotalFrames()));
  m_decodeResult = ERROR_IO_PENDING;
  m_decoding = true;
  const HANDLE pipe = param->hPipe;
  const HANDLE cancel = param->hCancelEvent;
  const HANDLE done = param->hDoneEvent;
  m_decodeThread = std::thread([this, renderer = std::move(renderer), pipe, cancel, done]() mutable {
    const DWORD result = DecodeInto(*renderer, pipe, cancel, m_decodeQuit);
    CloseHandle(pipe);  // the reader sees the end of the stream
    if (result == NO_ERROR)
      WriteLog("Music decode finished");
    else if (result == ERROR_OPERATION_ABORTED)
      WriteLog("Music decode cancelled");
    else
      WriteErrorLog("Music decode failed: the pipe could not be written (error %u)",
                    static_cast<unsigned>(result));
    m_decodeResult = result;
    m_decoding = false;
    if (done != nullptr) SetEvent(done);
  });
  return TRUE;
}

BOOL CDSTLAudio::StartPlay(const _DSTLAUDIO_PLAY_IMAGEALBUM_PARAM* param) {
  StopPlay();
  if (param == nullptr || param->pAlbum == nullptr) {
    if (param != nullptr && param->hDoneEvent != nullptr) SetEvent(param->hDoneEvent);
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  pictavo::data::MusicPlan plan =
      pictavo::data::PlanAlbumMusic(*param->pAlbum, param->pAlbum->GetEncodeMusicLength());
  // Playing ends with the last music, or with the video when the music lasts longer.
  plan.totalMs = plan.SoundEndMs();
  Play(std::make_unique<MusicRenderer>(std::move(plan), kPlayFormat), param->dwStartPos, param->hNotifyWnd,
       param->hStopEvent, param->hDoneEvent);
  return TRUE;
}

BOOL CDSTLAudio::StartPlay(const _DSTLAUDIO_PLAY_FILES_PARAM* param) {
  StopPlay();
  if (param == nullptr || param->pFiles == nullptr) {
    if (param != nullptr && param->hDoneEvent != nullptr) SetEvent(param->hDoneEvent);
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Play(std::make_unique<MusicRenderer>(pictavo::data::PlanMusicFiles(*param->pFiles), kPlayFormat),
       param->dwStartPos, param->hNotifyWnd, param->hStopEvent, param->hDoneEvent);
  return TRUE;
}

void CDSTLAudio::Play(std::unique_ptr<MusicRenderer> renderer, DWORD startMs, HWND notify, HANDLE stop,
                      HANDLE done) {
  renderer->Seek(pictavo::media::FramesForLength(pictavo::media::FromMilliseconds(startMs),
                                                 renderer->Format().sampleRate));
  m_playback =
      std::make_unique<MusicPlayback>(std::move(renderer), MusicPlayback::Target{notify, stop, done});
}

void CDSTLAudio::StopPlay() {
  m_playback.reset();  // stops, closes the output and sets the done event
}

BOOL CDSTLAudio::IsPlaying() const {
  return m_playback && m_playback->IsPlaying();
}

DWORD CDSTLAudio::GetMediaFileDuration(LPCTSTR path) {
  DWORD ms = 0;
  GetMediaFileDuration(path, ms);
  return ms;
}

BOOL CDSTLAudio::GetMediaFileDuration(LPCTSTR path, DWORD& milliseconds) {
  milliseconds = 0;
  if (path == nullptr || *path == '\0') return FALSE;
  const auto facts = pictavo::data::ProbeMedia(path);
  if (!facts || !facts->hasAudio || facts->durationMs <= 0) return FALSE;
  milliseconds = static_cast<DWORD>(std::min<int64_t>(facts->durationMs, 0xFFFFFFFF));
  return TRUE;
}
