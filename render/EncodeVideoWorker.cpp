// The video output's worker: one album after the other, each through two named pipes into
// ffmpeg. See EncodeVideoDlg.h.
#include <algorithm>
#include <chrono>
#include <memory>
#include <new>
#include <string>

#include "modules/data/AudioParams.h"
#include "modules/data/DSTLAudio.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/data/OutputProfile.h"
#include "modules/data/SingleFlag.h"
#include "modules/data/TimelineProject.h"
#include "modules/log/Log.h"
#include "modules/yuv/YUVLib.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileOperations.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Wait.h"
#include "platform/user/Message.h"
#include "render/EncodeVideoDlg.h"
#include "render/SlideEncoder.h"

namespace {

constexpr DWORD kWaitSliceMs = 200;
constexpr DWORD kRunnerPollMs = 300;
// Once everything was told to stop, this is far more than the parties need to end; a party that
// takes longer is logged and no longer waited for.
constexpr DWORD kShutdownLimitMs = 30000;
// How long a broken pipe waits for ffmpeg's exit to be reported.
constexpr DWORD kReaderExitLimitMs = 5000;

constexpr const char* kFfmpegEnded = "ffmpeg ended before the album was complete";

bool IsReaderGone(DWORD error) { return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE; }

// Seconds of the picture an album without photos shows.
constexpr int kNoPhotosSeconds = 15;

bool IsSet(HANDLE event) {
  return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

// A frame of 1280 x 720 is 1.4 MB: a buffer of a megabyte lets ffmpeg take a frame in a few
// reads rather than a few dozen, and evens out the pace of the two sides.
constexpr DWORD kPipeBufferBytes = 1 << 20;

HANDLE MakePipe(const CString& name) {
  return CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES,
                          kPipeBufferBytes, kPipeBufferBytes, 0, nullptr);
}

// Waits for ffmpeg to open a pipe; it gives up by itself when ffmpeg ends without doing so.
bool Connect(HANDLE pipe) {
  return ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
}

}  // namespace

UINT VideoEncodeExThread(LPVOID pParam) {
  CWyxSingleFlagAutoLock hold(GetVideoEncodeExFlag());
  if (pParam == nullptr) return 1;
  auto* object = static_cast<CObject*>(pParam);
  if (!object->IsKindOf(RUNTIME_CLASS(CEncodeVideoDlg))) return 2;
  return static_cast<CEncodeVideoDlg*>(object)->RunWorker();
}

UINT EncodeImageAlbumVideo(LPVOID pParam) {
  if (pParam == nullptr) return 1;
  auto* object = static_cast<CObject*>(pParam);
  if (!object->IsKindOf(RUNTIME_CLASS(CEncodeVideoDlg))) return 2;
  return static_cast<CEncodeVideoDlg*>(object)->RunCommands();
}

UINT CEncodeVideoDlg::RunWorker() {
  int failed = 0;
  m_nFinishedFrames = 0;
  SetReason(CString());
  CDVDProject* project = GetProject();
  const ULONGLONG fps = static_cast<ULONGLONG>(project->Get_nFramesPerSecond());
  for (int i = 0; i < project->GetAlbumCount(); ++i) {
    if (IsSet(m_hCancelEvent) || m_bStop) {
      failed = 1;
      SetReason("The video output was cancelled.");
      break;
    }
    if (m_hNotifyWnd != nullptr)
      ::PostMessage(m_hNotifyWnd, WM_ENCODE_ALBUM_STARTED, static_cast<WPARAM>(i), 0);
    CDVDAlbumBase* album = project->GetAlbum(i);
    if (album != nullptr && album->IsImageAlbum()) {
      auto* photos = static_cast<CDVDAlbumImage*>(album);
      EncodeImageAlbum(photos, &failed);
      if (failed) break;
      m_nFinishedFrames += static_cast<ULONGLONG>(photos->GetTotalLength()) * fps;
    } else if (album != nullptr && album->IsMovieAlbum()) {
      auto* clips = static_cast<CDVDAlbumMovie*>(album);
      EncodeMovieAlbum(clips, &failed);
      if (failed) break;
      m_nFinishedFrames += (static_cast<ULONGLONG>(clips->GetAlbumDuration()) + 500) / 1000 * fps;
    }
    if (IsSet(m_hCancelEvent) || m_bStop) {
      failed = 1;
      if (GetLastFailure().IsEmpty()) SetReason("The video output was cancelled.");
      break;
    }
  }
  if (failed) {
    WriteErrorLog("Video output failed: %s", static_cast<LPCTSTR>(GetLastFailure()));
  } else {
    WriteLog("Video output finished: %d album(s)", project->GetAlbumCount());
  }
  if (m_hNotifyWnd != nullptr) ::PostMessage(m_hNotifyWnd, WM_VIDEO_ENCODE_FINISHED, failed ? 0 : 1, 0);
  return 0;
}

UINT CEncodeVideoDlg::RunCommands() {
  {
    std::lock_guard guard(m_lock);
    if (m_pCmdEncoder != nullptr) {
      if (m_pCmdEncoder->m_bRunning) {
        m_pCmdEncoder->m_bUserCancel = TRUE;
        m_pCmdEncoder->StopCmd();
      }
      delete m_pCmdEncoder;
      m_pCmdEncoder = nullptr;
    }
    m_dwCmdExitCode = STILL_ACTIVE;
    m_strCmdFailure.Empty();
  }
  std::unique_ptr<CCmdEncoder> runner(new (std::nothrow) CCmdEncoder(&m_mediaSource));
  if (!runner) {
    WriteErrorLog("EncodeImageAlbumVideo::Memory allocate failed for CCmdEncoder!");
    SetEvent(m_hCmdDoneEvent);
    return 3;
  }
  runner->SetProgressInfo(m_hNotifyWnd, WM_FFMPEG_PROGRESS);
  {
    std::lock_guard guard(m_lock);
    m_pCmdEncoder = runner.get();
  }
  for (const std::vector<std::string>& command : m_arrCommands) {
    if (!runner->Open(command, 1)) {
      WriteErrorLog("EncodeImageAlbumVideo::MP4 Encoding: Open command failed.");
      std::lock_guard guard(m_lock);
      m_strCmdFailure = runner->m_pszError;
      break;
    }
    SetEvent(m_hCmdStartedEvent);
    const HANDLE handles[2] = {m_hCancelEvent, runner->GetEndEvent()};
    bool cancelled = false;
    for (;;) {
      const DWORD wait = WaitForMultipleObjects(2, handles, FALSE, kRunnerPollMs);
      if (wait == WAIT_OBJECT_0) {
        cancelled = true;
        runner->m_bUserCancel = TRUE;
        runner->StopCmd();
        break;
      }
      if (runner->WaitForConsoleTerminate(0) == 0) break;
    }
    runner->Close();
    DWORD code = STILL_ACTIVE;
    runner->GetExitCode(&code);
    CString lines;
    for (const std::string& line : runner->GetLastLines()) {
      if (!lines.IsEmpty()) lines += "\n";
      lines += line.c_str();
    }
    if (runner->m_bError) {
      WriteErrorLog("EncodeImageAlbumVideo::Command execute failed: %s", runner->m_pszError);
      WriteErrorLog("EncodeImageAlbumVideo::Command line: %s", runner->GetCommandLineText().c_str());
      for (const std::string& line : runner->GetLastLines()) WriteErrorLog("ffmpeg: %s", line.c_str());
    } else if (cancelled) {
      WriteErrorLog(m_bStop ? "EncodeImageAlbumVideo::Command canceled by user."
                            : "EncodeImageAlbumVideo::Command stopped: the album could not be made.");
    }
    {
      std::lock_guard guard(m_lock);
      m_dwCmdExitCode = code;
      m_strCmdFailure = !runner->m_bError ? CString() : lines.IsEmpty() ? CString(runner->m_pszError) : lines;
    }
    if (cancelled || code != 0) break;
  }
  {
    std::lock_guard guard(m_lock);
    m_pCmdEncoder = nullptr;
  }
  runner.reset();
  SetEvent(m_hCmdDoneEvent);
  return 0;
}

bool CEncodeVideoDlg::StartCommand(HANDLE hDoneEvent, HANDLE& hThread) {
  ResetEvent(hDoneEvent);
  ResetEvent(m_hCmdStartedEvent);
  m_hCmdDoneEvent = hDoneEvent;
  pictavo::kernel::ThreadStart start;
  start.body = [this] { return static_cast<DWORD>(EncodeImageAlbumVideo(this)); };
  hThread = pictavo::kernel::StartThread(std::move(start), nullptr);
  if (hThread == nullptr) {
    Fail("The ffmpeg runner thread could not start (error %u)", static_cast<unsigned>(GetLastError()));
    return false;
  }
  // The pipes may only be waited on once ffmpeg runs: it is what ends such a wait when it
  // exits without opening them.
  const HANDLE handles[2] = {m_hCmdStartedEvent, hDoneEvent};
  WaitForMultipleObjects(2, handles, FALSE, kShutdownLimitMs);
  if (IsSet(m_hCmdStartedEvent) && !IsSet(hDoneEvent)) return true;
  std::lock_guard guard(m_lock);
  m_strLastFailure = "ffmpeg could not be started: " + m_strCmdFailure;
  WriteErrorLog("%s", static_cast<LPCTSTR>(m_strLastFailure));
  return false;
}

void CEncodeVideoDlg::EndCommand(HANDLE hThread) {
  if (hThread == nullptr) return;
  if (WaitForSingleObject(hThread, kShutdownLimitMs) != WAIT_OBJECT_0)
    WriteErrorLog("EncodeImageAlbumVideo: the runner thread did not end");
  CloseHandle(hThread);
}

// The two pipes ffmpeg reads; on failure neither is left open and the partial file is removed.
bool CEncodeVideoDlg::MakeAlbumPipes(const AlbumOutput& output, HANDLE& yuv, HANDLE& pcm) {
  yuv = MakePipe(CDVDProject::g_m_strYUVDumpPipeName);
  if (yuv == INVALID_HANDLE_VALUE) {
    WriteErrorLog("CreateNamedPipe for yuv failed: %d\n", static_cast<int>(GetLastError()));
    SetReason("The video pipe could not be made.");
    DeleteFile(output.strPartial);
    return false;
  }
  pcm = MakePipe(CDVDProject::g_m_strPCMDumpPipeName);
  if (pcm == INVALID_HANDLE_VALUE) {
    WriteErrorLog("CreateNamedPipe for pcm failed: %d\n", static_cast<int>(GetLastError()));
    SetReason("The sound pipe could not be made.");
    CloseHandle(yuv);
    yuv = INVALID_HANDLE_VALUE;
    DeleteFile(output.strPartial);
    return false;
  }
  return true;
}

bool CEncodeVideoDlg::WaitForAll(const HANDLE* handles, DWORD count, DWORD limitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (WaitForMultipleObjects(count, handles, TRUE, kWaitSliceMs) != WAIT_OBJECT_0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      WriteErrorLog("Video output: a worker did not end within %u ms", static_cast<unsigned>(limitMs));
      return false;
    }
  }
  return true;
}

const CAVOutputProfile* CEncodeVideoDlg::AlbumProfile(CDVDAlbumBase* pAlbum) {
  // The Blu-ray branch needs a Blu-ray profile, which the program does not have.
  const CAVOutputProfile* profile =
      GetProject()->GetEmOutputType() == DVD_OUTPUT_BLURAY
          ? nullptr
          : CDVDProject::GetAVOutputProfileManager()->Get_pActiveAVOutputProfile();
  if (profile == nullptr)
    Fail("No output profile is chosen for the album %s", static_cast<LPCTSTR>(pAlbum->Get_strAlbumName()));
  return profile;
}

bool CEncodeVideoDlg::BeginAlbum(CDVDAlbumBase* pAlbum, const CAVOutputProfile& profile, DWORD dwDurationMs,
                                 AlbumOutput& output, AlbumPipes& pipes) {
  m_nWaitCount = 0;  // until the parties run, a stop has nothing to wait for
  m_mediaSource.dwPositionMs = 0;
  m_mediaSource.dwDurationMs = dwDurationMs;
  SetReason(CString());

  if (!PrepareOutput(pAlbum, output)) return false;
  m_arrCommands = {
      BuildFfmpegCommand(profile, pAlbum->Get_strAlbumName(), pAlbum->IsImageAlbum(), output.strPartial)};
  WriteLog("Encode album %s into %s", static_cast<LPCTSTR>(pAlbum->Get_strAlbumName()),
           static_cast<LPCTSTR>(output.strFinal));
  if (!MakeAlbumPipes(output, pipes.yuv, pipes.pcm)) return false;
  if (StartCommand(pipes.commandDone, pipes.runnerThread)) return true;
  CloseHandle(pipes.yuv);
  CloseHandle(pipes.pcm);
  if (pipes.runnerThread != nullptr) WaitForAll(&pipes.commandDone, 1, kShutdownLimitMs);
  EndCommand(pipes.runnerThread);
  DeleteFile(output.strPartial);
  return false;
}

bool CEncodeVideoDlg::FinishAlbum(CDVDAlbumBase* pAlbum, AlbumOutput& output, bool bProduced) {
  DWORD exitCode = STILL_ACTIVE;
  CString ffmpegLines;
  {
    std::lock_guard guard(m_lock);
    exitCode = m_dwCmdExitCode;
    ffmpegLines = m_strCmdFailure;
  }
  if (!bProduced || IsSet(m_hCancelEvent) || exitCode != 0) {
    // ffmpeg's own words explain the failure only when it began with ffmpeg: a party of ours that
    // failed, or a cancel, makes ffmpeg fail too, after the fact.
    const CString reason = GetLastFailure();
    const bool ffmpegFirst = !m_bStop && (reason.IsEmpty() || reason == kFfmpegEnded);
    if (ffmpegFirst && exitCode != 0 && exitCode != STILL_ACTIVE && !ffmpegLines.IsEmpty())
      SetReason("ffmpeg failed: " + ffmpegLines);
    else if (reason.IsEmpty())
      SetReason(m_bStop ? "The video output was cancelled." : "The album could not be written.");
    DeleteFile(output.strPartial);
    return false;
  }
  if (!CompleteOutput(pAlbum, output)) return false;
  WriteLog("Encode album %s finished: %s", static_cast<LPCTSTR>(pAlbum->Get_strAlbumName()),
           static_cast<LPCTSTR>(output.strFinal));
  return true;
}

int CEncodeVideoDlg::EncodeImageAlbum(CDVDAlbumImage* pAlbum, int* pFailed) {
  *pFailed = 1;
  if (pAlbum == nullptr || !pAlbum->IsImageAlbum()) return 0;
  const CAVOutputProfile* profile = AlbumProfile(pAlbum);
  if (profile == nullptr) return 0;
  CDVDProject* project = GetProject();
  const int fps = project->Get_nFramesPerSecond();
  const int seconds = pAlbum->GetTotalLength();
  HANDLE videoDone = m_hWorkerEvents[0];
  HANDLE audioDone = m_hWorkerEvents[1];
  HANDLE commandDone = m_hWorkerEvents[2];
  ResetEvent(videoDone);
  ResetEvent(audioDone);
  AlbumOutput output;
  AlbumPipes pipes{.commandDone = commandDone};
  if (!BeginAlbum(pAlbum, *profile, pAlbum->GetEncodeMusicLength(), output, pipes)) return 0;
  const HANDLE yuv = pipes.yuv, pcm = pipes.pcm;

  // From here on the three parties are told to stop through the cancel event; each sets its
  // done event however it ends.
  bool broken = false;
  CDSTLAudio audio;
  CSlideEncoder encoder(1);
  m_nAlbumFrameTotal = static_cast<ULONGLONG>(seconds) * static_cast<ULONGLONG>(fps) +
                       (pAlbum->GetImageCount() == 0 ? static_cast<ULONGLONG>(kNoPhotosSeconds) * fps : 0);
  m_nWaitCount = 3;

  if (!Connect(pcm)) {
    Fail("ffmpeg did not open the sound pipe (error %u)", static_cast<unsigned>(GetLastError()));
    broken = true;
    CloseHandle(pcm);
    SetEvent(audioDone);
  } else {
    // The first byte of the sound is the video's time 0: nothing goes into the pipe before it.
    const _DSTLAUDIO_DECODE_IMAGEALBUM_PARAM music{pAlbum,
                                                   m_hNotifyWnd,
                                                   m_hCancelEvent,
                                                   audioDone,
                                                   0,
                                                   pcm,
                                                   profile->Get_nAudioSampleRate(),
                                                   pAlbum->GetEncodeMusicLength(),
                                                   profile->Get_nAudioChannel(),
                                                   1,
                                                   1};
    if (!audio.StartDecode(music)) {  // the decoder closed the pipe and set its event
      Fail("The music of the album could not be decoded (error %u)", static_cast<unsigned>(GetLastError()));
      broken = true;
    }
  }
  if (!broken && Connect(yuv)) {
    encoder.SetOutputSize(profile->Get_nVideoWidth(), profile->Get_nVideoHeight(), 0, 0);
    encoder.SetRenderSize(profile->Get_nVideoWidth(), profile->Get_nVideoHeight());
    const _tagSlideEncodeParam frames{
        pAlbum, m_hNotifyWnd, m_hCancelEvent, videoDone, yuv, 0, project->GetEmOutputType(), TRUE};
    if (!encoder.Start(frames)) {  // the encoder closed the pipe and set its event
      Fail("The frame encoder could not start");
      broken = true;
    }
  } else {
    if (!broken) Fail("ffmpeg did not open the video pipe (error %u)", static_cast<unsigned>(GetLastError()));
    broken = true;
    CloseHandle(yuv);
    SetEvent(videoDone);
  }
  if (broken) SetEvent(m_hCancelEvent);

  const HANDLE events[3] = {videoDone, audioDone, commandDone};
  while (WaitForMultipleObjects(3, events, TRUE, kWaitSliceMs) != WAIT_OBJECT_0) {
    if (IsSet(m_hCancelEvent)) {
      // Everything was told to stop; the wait is now only for the parties to end.
      if (!WaitForAll(events, 3, kShutdownLimitMs)) break;
      continue;
    }
    const bool video = IsSet(videoDone), sound = IsSet(audioDone);
    const DWORD soundError = sound ? audio.GetDecodeResult() : NO_ERROR;
    const DWORD frameError = video ? encoder.GetResult() : NO_ERROR;
    // A pipe whose reader went away means ffmpeg is ending: its runner reports that a moment
    // later, and that, not the writer's failure, is what the user must hear.
    const bool readerGone = IsReaderGone(soundError) || IsReaderGone(frameError);
    const bool command = IsSet(commandDone) ||
                         (readerGone && WaitForSingleObject(commandDone, kReaderExitLimitMs) == WAIT_OBJECT_0);
    if (command && (!video || !sound || readerGone)) {
      Fail("%s", kFfmpegEnded);
      broken = true;
    } else if (soundError != NO_ERROR) {
      Fail("The music of the album could not be written (error %u)", static_cast<unsigned>(soundError));
      broken = true;
    } else if (frameError != NO_ERROR) {
      Fail("The frames of the album could not be written (error %u)", static_cast<unsigned>(frameError));
      broken = true;
    }
    if (broken) SetEvent(m_hCancelEvent);
  }
  EndCommand(pipes.runnerThread);
  if (!FinishAlbum(pAlbum, output,
                   !broken && encoder.GetResult() == NO_ERROR && audio.GetDecodeResult() == NO_ERROR))
    return 0;
  *pFailed = 0;
  return 1;
}

int CEncodeVideoDlg::EncodeMovieAlbum(CDVDAlbumMovie* pAlbum, int* pFailed) {
  *pFailed = 1;
  if (pAlbum == nullptr || !pAlbum->IsMovieAlbum()) return 0;
  const CAVOutputProfile* profile = AlbumProfile(pAlbum);
  if (profile == nullptr) return 0;
  HANDLE producerDone = m_hWorkerEvents[0];
  HANDLE commandDone = m_hWorkerEvents[1];
  ResetEvent(producerDone);
  AlbumOutput output;
  AlbumPipes pipes{.commandDone = commandDone};
  if (!BeginAlbum(pAlbum, *profile, pAlbum->GetAlbumDuration(), output, pipes)) return 0;
  const HANDLE yuv = pipes.yuv, pcm = pipes.pcm;
  m_nWaitCount = 2;

  // The timeline is this album's own: the preview's belongs to the UI thread.
  bool broken = false;
  CYUVLib writer(1);
  bool videoConnected = false;  // the timeline's video thread only
  auto timeline = std::make_unique<CTimelineProject>();
  const int width = profile->Get_nVideoWidth();
  const int height = profile->Get_nVideoHeight();
  const double rate = profile->Get_dblVideoFrameRate();
  if (!Connect(pcm)) {
    Fail("ffmpeg did not open the sound pipe (error %u)", static_cast<unsigned>(GetLastError()));
    broken = true;
    CloseHandle(yuv);
    CloseHandle(pcm);
    SetEvent(producerDone);
  } else {
    int isDV = 0, isPAL = 0;
    pAlbum->GetIsDVVideoAndPALFlag(isDV, isPAL);
    if (pAlbum->m_nFieldOrder != 0 || isDV) timeline->SetFieldOrder(1, 1);
    timeline->SetEncodeParamForVideoOutput(width, height, 1, rate, yuv, pcm);
    timeline->SetEncodeNotifyWindow(m_hNotifyWnd, m_hCancelEvent, producerDone);
    // ffmpeg opens the video pipe only after it has read the start of the sound, which the
    // timeline's sound thread writes meanwhile: the video pipe is connected with the first frame.
    // Should ffmpeg end first, the connection gives up and so does the decode.
    timeline->SetFrameSink([&, yuv](const BYTE* bits, int w, int h) -> BOOL {
      if (!videoConnected) {
        if (!Connect(yuv) || !writer.InitYUV(yuv, width, height, rate, RGB(0, 0, 0), 1)) return FALSE;
        videoConnected = true;
      }
      return writer.AppendFrame(bits, w, h, 1, nullptr);
    });
    pAlbum->AddStaffToTimeline(timeline.get(), 1, 1, 0);
    DWORD duration = 0;
    double fps = 0;
    const bool built = SUCCEEDED(timeline->BuildTimeline());
    timeline->GetTotalDuration(duration);
    timeline->GetFPS(fps);
    m_nAlbumFrameTotal = static_cast<ULONGLONG>(std::max(0, timeline->GetTotalFrames()));
    WriteLog("Video album duration(for video_output): %lu, FPS : %.4lf", static_cast<unsigned long>(duration),
             fps);
    // From here on the timeline closes both pipes however its decode ends (a refused start, as
    // for an album without clips, included) and sets the done event.
    if (FAILED(timeline->StartDecodeForVideoOutput()) || !built) {
      Fail("The clips of the album could not be decoded");
      broken = true;
    }
  }
  if (broken) SetEvent(m_hCancelEvent);

  const HANDLE events[2] = {producerDone, commandDone};
  while (WaitForMultipleObjects(2, events, TRUE, kWaitSliceMs) != WAIT_OBJECT_0) {
    if (IsSet(m_hCancelEvent)) {
      if (!WaitForAll(events, 2, kShutdownLimitMs)) break;
      continue;
    }
    if (IsSet(commandDone) && !IsSet(producerDone)) {
      Fail("%s", kFfmpegEnded);
      broken = true;
    } else if (IsSet(producerDone) && timeline->GetDecodeResult() != S_OK) {
      Fail("The clips of the album could not be written (error 0x%08x)",
           static_cast<unsigned>(timeline->GetDecodeResult()));
      broken = true;
    }
    if (broken) SetEvent(m_hCancelEvent);
  }
  EndCommand(pipes.runnerThread);
  const HRESULT decoded = timeline->GetDecodeResult();
  timeline.reset();
  if (!FinishAlbum(pAlbum, output, !broken && decoded == S_OK)) return 0;
  *pFailed = 0;
  return 1;
}
