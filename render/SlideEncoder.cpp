#include "render/SlideEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "modules/data/AlbumEffect.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/Pipe.h"
#include "platform/kernel/Thread.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Wait.h"
#include "render/PhotoCache.h"
#include "render/SlideFramePipeline.h"
#include "render/SlidePictures.h"
#include "render/SlidePlanner.h"
#include "shell/TransitionList.h"

using pictavo::render::LoadSlidePicture;

namespace {

// Shown by the credits where their text is left empty.
constexpr char kMakerWebAddress[] = "www.pictavo.example";
// Seconds of the picture of an album without photos.
constexpr int kNoPhotosSeconds = 15;

}  // namespace

CSlideEncoder::CSlideEncoder(int nSinkFlag) : m_sink(nSinkFlag) {}

CSlideEncoder::~CSlideEncoder() {
  // The caller waits for the done event first; the thread then has only its last steps left.
  if (m_hThread != nullptr) {
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
  }
}

void CSlideEncoder::SetOutputSize(int nWidth, int nHeight, int nTVValue, int nReserved) {
  m_nOutputWidth = nWidth;
  m_nOutputHeight = nHeight;
  m_nTVValue = nTVValue;
  m_nReserved = nReserved;
}

void CSlideEncoder::SetRenderSize(int nWidth, int nHeight) {
  m_nRenderWidth = nWidth;
  m_nRenderHeight = nHeight;
}

BOOL CSlideEncoder::SetDrawTarget(HWND hWnd, HDC hDC, const RECT* pRect) {
  m_hDrawWnd = hWnd;
  m_hDrawDC = hDC;
  if (pRect != nullptr) m_rcDraw = *pRect;
  return 1;
}

void CSlideEncoder::GetProgress(int* pFrames, int* pMilliseconds) const {
  if (pFrames != nullptr) *pFrames = m_nFrameCounter.load();
  if (pMilliseconds != nullptr) {
    const DWORD start = m_dwStartTick.load();
    const DWORD end = m_dwEndTick.load();
    *pMilliseconds = static_cast<int>(start < end ? end - start : GetTickCount() - start);
  }
}

SIZE CSlideEncoder::CalcFrameSize(int nMode, int nOutputWidth, int nOutputHeight,
                                  const _PROJECT_OPTIONS_DATA& options) {
  int width = nOutputWidth;
  int height = nOutputHeight;
  if ((nMode == DVD_OUTPUT_DVD || nMode == DVD_OUTPUT_SVCD) && options.bCropEnable) {
    const double keep = (100 - options.nCropRatio) * 0.01;
    width = static_cast<int>(nOutputWidth * keep);
    height = static_cast<int>(nOutputHeight * keep);
  }
  // The effects and the title drawing want rows of whole 4-pixel groups; a narrower frame is
  // centred by the writer, a wider one would lose its edges.
  width = std::max(4, width & ~3);
  height = std::max(2, height);
  return SIZE{width, height};
}

BOOL CSlideEncoder::Start(const _tagSlideEncodeParam& param) {
  m_hProgressWnd = param.hProgressWnd;
  m_hOutput = param.hOutput;
  m_hCancelEvent = param.hCancelEvent;
  m_hDoneEvent = param.hDoneEvent;
  m_pAlbum = param.pAlbum;
  CTransitionFactoryArray factories;
  GetTransitionFactories(0, factories);
  m_arrFactories.clear();
  for (INT_PTR i = 0; i < factories.GetSize(); ++i)
    if (factories[i] != nullptr) m_arrFactories.push_back(factories[i]);
  m_nMode = param.nMode;
  m_bFlush = param.bFlush;
  const CDVDProject* project = GetProject();
  const int seconds = m_pAlbum != nullptr ? m_pAlbum->GetTotalLength() : 0;
  m_nFrameCounter = SaturatedTotal(static_cast<long long>(seconds) * project->Get_nFramesPerSecond());
  m_dwResult = ERROR_IO_PENDING;

  pictavo::kernel::ThreadStart start;
  if (m_nMode == DVD_OUTPUT_VCD)
    start.body = [this] { return static_cast<DWORD>(EncodeStillSlidesThread(this)); };
  else
    start.body = [this] { return static_cast<DWORD>(EncodeSlideshowThread(this)); };
  m_hThread = pictavo::kernel::StartThread(std::move(start), nullptr);
  if (m_hThread != nullptr) return TRUE;
  const DWORD error = GetLastError();
  WriteErrorLog("Encode YUV video: the frame thread could not start (error %u)",
                static_cast<unsigned>(error));
  if (m_hOutput != nullptr && m_hOutput != INVALID_HANDLE_VALUE) CloseHandle(m_hOutput);
  m_hOutput = nullptr;
  m_dwResult = error != NO_ERROR ? error : ERROR_NOT_ENOUGH_MEMORY;
  if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
  return FALSE;
}

UINT CSlideEncoder::EncodeSlideshowThread(LPVOID pParam) {
  return pParam != nullptr ? static_cast<CSlideEncoder*>(pParam)->RunSlideshow() : 1;
}

UINT CSlideEncoder::EncodeStillSlidesThread(LPVOID pParam) {
  return pParam != nullptr ? static_cast<CSlideEncoder*>(pParam)->RunStillSlides() : 1;
}

bool CSlideEncoder::Cancelled() const {
  return m_hCancelEvent != nullptr && WaitForSingleObject(m_hCancelEvent, 0) == WAIT_OBJECT_0;
}

bool CSlideEncoder::AppendBits(const BYTE* bits) {
  if (!m_sink.AppendFrame(bits, m_nFrameWidth, m_nFrameHeight, 1, nullptr)) {
    const DWORD error = GetLastError();
    WriteErrorLog("Encode YUV video: writing frame %u failed (error %u)",
                  static_cast<unsigned>(m_dwFramesWritten.load()), static_cast<unsigned>(error));
    m_dwResult = error != NO_ERROR ? error : ERROR_WRITE_FAULT;
    return false;
  }
  ++m_dwFramesWritten;
  return true;
}

bool CSlideEncoder::Append(CxImage* frame) {
  if (frame == nullptr || !frame->IsValid() || static_cast<int>(frame->GetWidth()) != m_nFrameWidth ||
      static_cast<int>(frame->GetHeight()) != m_nFrameHeight) {
    // An effect gave no frame: the background keeps the frame's place in time.
    m_fallback.Copy(m_background);
    frame = &m_fallback;
    if (m_pAlbum->GetAlbumEffect()->HasAlbumTheme()) m_pAlbum->GetAlbumEffect()->AddEffect(frame, 0);
  }
  return AppendBits(frame->GetBits(0));
}

void CSlideEncoder::PostProgress(WPARAM done, LPARAM expected) const {
  if (m_hProgressWnd != nullptr) PostMessage(m_hProgressWnd, WM_SLIDE_ENCODE_PROGRESS, done, expected);
}

pictavo::render::SlidePlanRules CSlideEncoder::PlanRules() const {
  pictavo::render::SlidePlanRules rules;
  rules.fps = m_nFps;
  rules.frameSize = SIZE{m_nFrameWidth, m_nFrameHeight};
  rules.background = m_clrBackground;
  rules.antiFlicker = GetProject()->GetOptionsData()->bAntiFlicker;
  rules.factories = m_arrFactories;
  return rules;
}

_tagPanZoomWorkParamEx CSlideEncoder::MakePanZoom(int index, int frames, bool applySlide) const {
  return pictavo::render::MakeSlideMotion(*m_pAlbum, index, frames, applySlide, PlanRules());
}

bool CSlideEncoder::BeginRun(const char* logFormat) {
  CPhotoCache* cache = GetPhotoCache();
  cache->SetPaused(TRUE);
  cache->SetRequestedSize(m_nRenderWidth, m_nRenderHeight);
  srand(GetTickCount());
  WriteLog(logFormat, m_pAlbum->GetImageCount());

  const CDVDProject* project = GetProject();
  const _PROJECT_OPTIONS_DATA& options = *project->GetOptionsData();
  m_nFps = std::max(1, project->Get_nFramesPerSecond());
  m_clrBackground = m_pAlbum->Get_clrBackground();
  const bool tvMode = m_nMode == DVD_OUTPUT_DVD || m_nMode == DVD_OUTPUT_SVCD || m_nMode == DVD_OUTPUT_VCD;
  m_bSinkReady = tvMode ? m_sink.InitYUV(m_hOutput, m_nOutputWidth, m_nOutputHeight, m_nTVValue,
                                         m_clrBackground, options.bAntiFlicker)
                        : m_sink.InitYUV(m_hOutput, m_nOutputWidth, m_nOutputHeight,
                                         static_cast<double>(m_nFps), m_clrBackground, 1);
  if (!m_bSinkReady) {
    const DWORD error = GetLastError();
    WriteErrorLog("Encode YUV video: the frame writer could not start (error %u)",
                  static_cast<unsigned>(error));
    m_dwResult = error != NO_ERROR ? error : ERROR_INVALID_PARAMETER;
    return false;
  }
  const SIZE frame = CalcFrameSize(m_nMode == DVD_OUTPUT_VCD ? DVD_OUTPUT_DVD : m_nMode, m_nOutputWidth,
                                   m_nOutputHeight, options);
  m_nFrameWidth = frame.cx;
  m_nFrameHeight = frame.cy;
  m_background.Create(static_cast<DWORD>(m_nFrameWidth), static_cast<DWORD>(m_nFrameHeight), 24);
  m_background.Fill(m_clrBackground);
  if (!m_pPanZoomA) m_pPanZoomA = std::make_unique<CPanZoomExIPP>();

  CAlbumEffect* effect = m_pAlbum->GetAlbumEffect();
  effect->SetDefaultText(m_pAlbum->Get_strAlbumName(), CDVDProject::GetMainProgramName(), kMakerWebAddress);
  effect->Init(m_nFrameWidth, m_nFrameHeight, m_nFps);
  if (const _ALBUM_THEME* theme = effect->GetTheme()) WriteLog("Album Theme Name : %s", theme->szThemeName);
  RenderTextFrames(false);
  if (!Cancelled() && m_dwResult == ERROR_IO_PENDING && effect->HasAlbumTheme()) effect->StartEffect();
  return m_dwResult == ERROR_IO_PENDING;
}

// Titles or credits: their seconds x fps frames, each drawn by the album effect or, where it
// gives none, the background, so that the pictures keep time with the sound.
void CSlideEncoder::RenderTextFrames(bool credits) {
  CAlbumEffect* effect = m_pAlbum->GetAlbumEffect();
  const int frames = SaturatedTotal(
      static_cast<long long>(credits ? m_pAlbum->Get_nCreditDuration() : m_pAlbum->Get_nTitleDuration()) *
      m_nFps);
  if (frames <= 0 || Cancelled()) return;
  const bool started = credits ? effect->StartCreditEffect() : effect->StartTitleEffect();
  for (int k = 0; k < frames; ++k) {
    if (Cancelled()) break;
    const BYTE* bits =
        started ? (credits ? effect->GetOneCreditFrame() : effect->GetOneTitleFrame()) : nullptr;
    if (!(bits != nullptr ? AppendBits(bits) : Append(nullptr))) break;
  }
  if (started) credits ? effect->StopCreditEffect() : effect->StopTitleEffect();
}

void CSlideEncoder::FinishRun(bool slidesCompleted, WPARAM finalFrames) {
  CAlbumEffect* effect = m_pAlbum->GetAlbumEffect();
  if (effect->HasAlbumTheme()) effect->StopEffect();
  if (m_dwResult == ERROR_IO_PENDING) RenderTextFrames(true);
  m_dwEndTick = GetTickCount();
  if (m_dwResult == ERROR_IO_PENDING) m_dwResult = Cancelled() ? ERROR_OPERATION_ABORTED : NO_ERROR;
  if (m_hOutput != nullptr && m_hOutput != INVALID_HANDLE_VALUE) {
    // Flushing waits for the reader to take everything; after a cancel or a failed write there
    // is nothing it still wants.
    if (m_bFlush) {
      if (m_dwResult == NO_ERROR) FlushFileBuffers(m_hOutput);
      DisconnectNamedPipe(m_hOutput);
    }
    if (!(m_bSinkReady && m_sink.CloseFile())) CloseHandle(m_hOutput);
    m_hOutput = nullptr;
  }
  m_pPanZoomA.reset();
  if (slidesCompleted && m_dwResult == NO_ERROR) PostProgress(finalFrames, static_cast<LPARAM>(finalFrames));
}

UINT CSlideEncoder::RunSlideshow() {
  if (m_hOutput == nullptr || m_pAlbum == nullptr) {
    m_dwResult = ERROR_INVALID_HANDLE;
    if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
    return 1;
  }
  const int n = m_pAlbum->GetImageCount();
  bool completed = false;
  if (BeginRun("Encode YUV video(%d)...")) {
    const int fps = m_nFps;
    m_nFrameCounter = 0;
    m_dwStartTick = GetTickCount();
    m_dwEndTick = m_dwStartTick - 1;
    const LPARAM expected = static_cast<LPARAM>(m_pAlbum->Get_nSlideshowLen(-1)) * fps;
    if (n > 0 && !Cancelled()) {
      pictavo::render::SlideFrameJob job;
      job.album = m_pAlbum;
      job.renderSize = SIZE{m_nRenderWidth, m_nRenderHeight};
      job.frameSize = SIZE{m_nFrameWidth, m_nFrameHeight};
      job.background = m_clrBackground;
      job.theme = m_pAlbum->GetAlbumEffect()->HasAlbumTheme() ? m_pAlbum->GetAlbumEffect() : nullptr;
      job.cancel = m_hCancelEvent;
      PlanSlides(job);
      pictavo::render::SlideFramePipeline pipeline(job);
      const auto outcome = pipeline.Run(
          [&](CxImage& frame, int index) {
            if (!AppendBits(frame.GetBits(0))) return false;
            ++m_nFrameCounter;
            PostProgress(static_cast<WPARAM>(index) + 1, expected);
            return true;
          },
          pictavo::render::SlideFramePipeline::DefaultWorkers());
      completed = outcome == pictavo::render::SlideFramePipeline::Outcome::kCompleted;
    } else if (n == 0) {
      CxImage picture;
      pictavo::render::MakeNoPhotosPicture(picture, SIZE{m_nFrameWidth, m_nFrameHeight});
      const int frames = kNoPhotosSeconds * fps;
      for (int k = 0; k < frames; ++k) {
        if (Cancelled() || !Append(&picture)) break;
        PostProgress(static_cast<WPARAM>(k), frames);
      }
    }
  }
  FinishRun(completed, static_cast<WPARAM>(m_pAlbum->Get_nSlideshowLen(-1)) * m_nFps);
  WriteLog("Encode YUV video Finished.");
  GetPhotoCache()->SetPaused(FALSE);
  if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
  return 0;
}

// Every choice made at random is made here, in slide order, before any frame is made.
void CSlideEncoder::PlanSlides(pictavo::render::SlideFrameJob& job) {
  pictavo::render::PlanSlides(*m_pAlbum, PlanRules(), job);
}

UINT CSlideEncoder::RunStillSlides() {
  if (m_hOutput == nullptr || m_pAlbum == nullptr) {
    m_dwResult = ERROR_INVALID_HANDLE;
    if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
    return 1;
  }
  const int n = m_pAlbum->GetImageCount();
  bool completed = false;
  if (BeginRun("Encode VCD video(%d)...")) {
    m_nFrameCounter = 0;
    m_dwStartTick = GetTickCount();
    m_dwEndTick = m_dwStartTick - 1;
    CAlbumEffect* effect = m_pAlbum->GetAlbumEffect();
    const SIZE render{m_nRenderWidth, m_nRenderHeight};
    const int span =
        (m_pAlbum->Get_nTwoDuration(0) + m_pAlbum->Get_nOneDuration(1) + m_pAlbum->Get_nOneDuration(0)) *
        m_nFps;
    int done = 0;
    for (; done < n; ++done) {
      if (Cancelled()) break;
      LoadSlidePicture(*m_pAlbum, done, m_picture1, render, m_clrBackground, true);
      _tagPanZoomWorkParamEx param = MakePanZoom(done, span, false);
      param.pSrcImage = &m_picture1;
      m_pPanZoomA->SetPanZoomExWorkParam(param);
      CxImage* frame = m_pPanZoomA->StepIt(0);
      if (frame != nullptr && effect->HasAlbumTheme()) effect->AddEffect(frame, 0);
      if (!Append(frame)) break;
      ++m_nFrameCounter;
      PostProgress(static_cast<WPARAM>(done + 1), n);
    }
    if (n == 0 && !Cancelled()) {
      CxImage picture;
      pictavo::render::MakeNoPhotosPicture(picture, SIZE{m_nFrameWidth, m_nFrameHeight});
      Append(&picture);
    }
    completed = done == n && n > 0;
  }
  const WPARAM last =
      static_cast<WPARAM>(n) * (m_pAlbum->Get_nTwoDuration(-1) + m_pAlbum->Get_nOneDuration(-1)) * m_nFps;
  FinishRun(completed, last);
  WriteLog("Encode VCD video Finished.");
  GetPhotoCache()->SetPaused(FALSE);
  if (m_hDoneEvent != nullptr) SetEvent(m_hDoneEvent);
  return 1;
}
