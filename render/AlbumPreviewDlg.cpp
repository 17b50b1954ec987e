#include "render/AlbumPreviewDlg.h"

#include <cstdlib>

#include "controls/DirectDrawView.h"
#include "disc/pages/MenuTemplates.h"
#include "modules/data/AlbumEffect.h"
#include "modules/data/AudioParams.h"
#include "modules/data/DSTLAudio.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/MMTimer.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/WinThread.h"
#include "render/MenuPreviewRules.h"
#include "render/PhotoCache.h"
#include "render/PreviewLayout.h"
#include "render/PreviewMessages.h"
#include "render/PreviewSlideRun.h"
#include "render/PumpWait.h"
#include "render/SlidePictures.h"
#include "render/SlidePrefetcher.h"
#include "shell/LanguageFile.h"
#include "shell/MainDlg.h"
#include "shell/TransitionList.h"

using pictavo::render::kPreviewFps;
using pictavo::render::kPreviewTickMs;

namespace {

// Shown by the credits where their text is left empty.
constexpr char kMakerWebAddress[] = "www.pictavo.example";
constexpr int kPoolSize = 5;
constexpr int kReadyLimit = 2;
constexpr DWORD kWatchSliceMs = 300;

bool IsSet(HANDLE event) {
  return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

}  // namespace

BEGIN_MESSAGE_MAP(AlbumPreviewDlg, CDialog)
ON_MESSAGE(WM_PREVIEW_FINISHED, OnPreviewFinished)
ON_MESSAGE(WM_MUSIC_PLAY_END, OnMusicPlayEnd)
ON_MESSAGE(WM_PAGE_SHOW, OnPageShow)
ON_MESSAGE(WM_STOP_PREVIEW, OnStopPreview)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_TV_ASPECT_CHANGED, OnTvAspectChanged)
ON_MESSAGE(WM_PREVIEW_POSITION, OnIgnored)
ON_MESSAGE(0x0929, OnIgnored)
ON_MESSAGE(WM_APP_ACTIVE_CHANGED, OnIgnored)
ON_MESSAGE(WM_MENU_PREVIEW_FINISHED, OnMenuPreviewFinished)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_DESTROY()
END_MESSAGE_MAP()

AlbumPreviewDlg::AlbumPreviewDlg(BOOL bMenuMode)
    : CDialog(IDD_ALBUM_PREVIEW),
      m_status(&m_hRenderDoneEvent, &m_hMenuDoneEvent, bMenuMode),
      m_pRun(std::make_unique<pictavo::render::PreviewSlideRun>()),
      m_pPrefetcher(std::make_unique<CSlidePrefetcher>(kPoolSize, kReadyLimit)),
      m_pMusic(std::make_unique<CDSTLAudio>()),
      m_bMenuMode(bMenuMode) {
  m_hStopEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  m_hRenderDoneEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  m_hMusicDoneEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  m_hPrefetchDoneEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  m_hMenuDoneEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  m_hWatchDoneEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
}

AlbumPreviewDlg::~AlbumPreviewDlg() {
  SignalStopAndWait(TRUE);
  m_pMusic.reset();
  m_pPrefetcher.reset();
  m_pRun.reset();
  m_pView.reset();
  if (m_hMenuBitmap != nullptr) DeleteObject(m_hMenuBitmap);
  for (HANDLE event : {m_hStopEvent, m_hRenderDoneEvent, m_hMusicDoneEvent, m_hPrefetchDoneEvent,
                       m_hMenuDoneEvent, m_hWatchDoneEvent})
    CloseHandle(event);
}

BOOL AlbumPreviewDlg::OnInitDialog() {
  WriteLog("AlbumPreviewDlg begin to initalize ...");
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_PREVIEW);
  m_status.SubclassDlgItem(IDC_PREVIEW_STATUS, this);
  WriteLog("AlbumPreviewDlg begin to initalize (1)...");
  CRect client;
  GetClientRect(&client);
  m_status.MoveWindow(0, 0, client.Width(), client.Height());
  if (HDC dc = ::GetDC(m_hWnd)) {
    m_hMenuBitmap = CreateCompatibleBitmap(dc, pictavo::render::kMenuWidth, pictavo::render::kMenuHeight);
    ::ReleaseDC(m_hWnd, dc);
  }
  WriteLog("AlbumPreviewDlg finish to initalize ...");
  return TRUE;
}

BOOL AlbumPreviewDlg::PreTranslateMessage(MSG* pMsg) {
  // The status window covers the whole preview and takes the mouse; in menu mode the menu's
  // entries under it answer the mouse, so its moves and releases are the preview's.
  if (m_bMenuMode && pMsg->hwnd == m_status.GetSafeHwnd() &&
      (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONUP)) {
    CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
    m_status.MapWindowPoints(this, &point, 1);
    if (pMsg->message == WM_MOUSEMOVE)
      OnMouseMove(static_cast<UINT>(pMsg->wParam), point);
    else
      OnLButtonUp(static_cast<UINT>(pMsg->wParam), point);
    return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

BOOL AlbumPreviewDlg::IsPlaying() const {
  return !IsSet(m_hMenuDoneEvent) || !IsSet(m_hRenderDoneEvent);
}

BOOL AlbumPreviewDlg::IsMenuPlaying() const {
  return !IsSet(m_hMenuDoneEvent);
}

void AlbumPreviewDlg::PlayAlbum(int nAlbumIndex) {
  CDVDProject* project = GetProject();
  if (nAlbumIndex < 0 || nAlbumIndex >= project->GetAlbumCount()) return;
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_PREVIEW_STARTING, 0, 0);
  Stop();
  m_bMenuActive = FALSE;
  CDVDAlbumBase* album = project->GetAlbum(nAlbumIndex);
  if (album == nullptr) return;
  if (album->IsImageAlbum()) {
    Invalidate();
    UpdateWindow();
    StartAlbumPreview(static_cast<CDVDAlbumImage*>(album));
  } else if (album->IsMovieAlbum()) {
    if (CWnd* parent = GetParent())
      parent->PostMessage(WM_PREVIEW_VIDEO_ALBUM, static_cast<WPARAM>(nAlbumIndex),
                          reinterpret_cast<LPARAM>(album));
  }
}

void AlbumPreviewDlg::Stop() {
  SetEvent(m_hStopEvent);
  SignalStopAndWait(TRUE);
  // After the wait: the menu's render thread may no longer be drawing with what this frees.
  if (m_bMenuMode) g_dvdMenu.StopPlaying();
  if (CWnd* parent = GetSafeHwnd() != nullptr ? GetParent() : nullptr)
    parent->PostMessage(WM_PREVIEW_POSITION, 0, 100);
}

void AlbumPreviewDlg::SignalStopAndWait(BOOL bPumpInput) {
  SetEvent(m_hStopEvent);
  WaitWorkersDone(bPumpInput);
}

void AlbumPreviewDlg::WaitWorkersDone(BOOL bPumpInput) {
  const HANDLE events[] = {m_hRenderDoneEvent, m_hMusicDoneEvent, m_hPrefetchDoneEvent, m_hMenuDoneEvent,
                           m_hWatchDoneEvent};
  if (m_bWaitGuard) {
    // A stop reached from inside the outer wait's message loop: it still may not return before
    // the run's threads have ended, or the next run would overlap them. None of them needs this
    // thread, so a plain wait is safe here.
    WaitForMultipleObjects(static_cast<DWORD>(std::size(events)), events, TRUE, INFINITE);
    return;
  }
  m_bWaitGuard = TRUE;
  pictavo::render::WaitAllPumping(events, static_cast<int>(std::size(events)), bPumpInput);
  m_bWaitGuard = FALSE;
}

BOOL AlbumPreviewDlg::StartAlbumPreview(CDVDAlbumImage* pAlbum) {
  m_pAlbum = pAlbum;
  if (pAlbum == nullptr) return FALSE;
  if (pAlbum->GetImageCount() == 0 || pAlbum->GetTotalLength() <= 0) {
    // Nothing to show: the run ends at once, and the host hears of it as of any natural end.
    WriteLog("Preview album \"%s\": nothing to play", static_cast<LPCTSTR>(pAlbum->Get_strAlbumName()));
    for (HANDLE event : {m_hStopEvent, m_hRenderDoneEvent, m_hMusicDoneEvent, m_hPrefetchDoneEvent})
      SetEvent(event);
    PostMessage(WM_PREVIEW_FINISHED, 0, 0);
    PostMessage(WM_MUSIC_PLAY_END, 0, 0);
    return TRUE;
  }
  CTransitionFactoryArray factories;
  GetTransitionFactories(0, factories);
  m_arrFactories.clear();
  for (INT_PTR i = 0; i < factories.GetSize(); ++i)
    if (factories[i] != nullptr) m_arrFactories.push_back(factories[i]);

  CRect status;
  if (m_status.GetSafeHwnd() != nullptr)
    m_status.GetWindowRect(&status);
  else
    GetClientRect(&status);
  const SIZE frame = pictavo::render::PreviewFrameSize(status.Width(), status.Height());
  m_nFrameWidth = std::max<int>(frame.cx, 4);
  m_nFrameHeight = std::max<int>(frame.cy, 2);

  for (HANDLE event :
       {m_hStopEvent, m_hRenderDoneEvent, m_hMusicDoneEvent, m_hPrefetchDoneEvent, m_hWatchDoneEvent})
    ResetEvent(event);
  m_bFinished = FALSE;
  m_bMusicEnded = FALSE;
  m_nFramesDrawn = 0;
  m_nFramesDropped = 0;

  StartWatcher(0, WM_PREVIEW_FINISHED);

  int start = 0;
  if (!m_bMenuMode && !m_bFromBeginning) {
    start = pAlbum->m_pCurImage != nullptr ? pAlbum->IndexOf(pAlbum->m_pCurImage) : -1;
    if (start < 0) start = 0;
  }
  m_nStartIndex = start;
  // Every random choice of the run is made now, so that the photos are loaded at the size their
  // motion needs, as the video loads them.
  srand(GetTickCount());
  const int width = pictavo::render::RoundPreviewWidth(m_nFrameWidth);
  m_pRun->PlanOnly(*pAlbum, SIZE{width, m_nFrameHeight}, m_arrFactories,
                   GetProject()->GetOptionsData()->bAntiFlicker);
  const pictavo::render::SlideFrameJob* plan = &m_pRun->Plan();
  m_pPrefetcher->SetPictureSizer([plan](int index, SIZE loadSize) {
    return pictavo::render::PanZoomPictureSize(loadSize, plan->slides[static_cast<size_t>(index)].motion);
  });
  const _tagPrefetchParam prefetch{pAlbum, m_hStopEvent,  m_hPrefetchDoneEvent, m_hRenderDoneEvent,
                                   m_hWnd, m_nFrameWidth, m_nFrameHeight,       start};
  if (!m_pPrefetcher->Start(&prefetch)) SetEvent(m_hPrefetchDoneEvent);
  m_pPrefetcher->WaitReady();

  const DWORD position =
      m_bMenuMode ? 0 : pictavo::render::PreviewMusicStart(*pAlbum, m_bFromBeginning != FALSE);
  WriteLog("Preview album \"%s\" from slide %d, music at %u ms",
           static_cast<LPCTSTR>(pAlbum->Get_strAlbumName()), start, static_cast<unsigned>(position));
  _DSTLAUDIO_PLAY_IMAGEALBUM_PARAM music{pAlbum, m_hWnd, m_hStopEvent, m_hMusicDoneEvent, position, 0};
  if (!m_pMusic->StartPlay(&music)) SetEvent(m_hMusicDoneEvent);

  if (AfxBeginThread(PreviewRenderThread, this, THREAD_PRIORITY_BELOW_NORMAL) == nullptr)
    SetEvent(m_hRenderDoneEvent);
  return TRUE;
}

void AlbumPreviewDlg::StartWatcher(int nMode, UINT nMessage) {
  auto* watch = new _tagPreviewWatchParam{
      nMode,  m_hStopEvent, m_hPrefetchDoneEvent, m_hRenderDoneEvent, m_hMusicDoneEvent, m_hMenuDoneEvent, 1,
      m_hWnd, nMessage,     m_hWatchDoneEvent};
  if (AfxBeginThread(PreviewWatchThread, watch, THREAD_PRIORITY_BELOW_NORMAL) == nullptr) {
    delete watch;
    SetEvent(m_hWatchDoneEvent);
  }
}

UINT AlbumPreviewDlg::PreviewWatchThread(LPVOID pParam) {
  auto* watch = static_cast<_tagPreviewWatchParam*>(pParam);
  if (watch == nullptr) return 1;
  const HANDLE album[] = {watch->hMusicDoneEvent, watch->hPrefetchDoneEvent, watch->hRenderDoneEvent};
  const HANDLE menu[] = {watch->hMusicDoneEvent, watch->hMenuDoneEvent};
  const HANDLE* events = watch->nMode == 0 ? album : menu;
  const DWORD count = watch->nMode == 0 ? 3 : 2;
  for (;;) {
    const DWORD result = WaitForMultipleObjects(count, events, TRUE, kWatchSliceMs);
    if (result != WAIT_TIMEOUT) break;
  }
  if (!IsSet(watch->hStopEvent) && watch->bPost) ::PostMessage(watch->hWnd, watch->nMessage, 0, 0);
  HANDLE done = watch->hWatchDoneEvent;
  delete watch;
  if (done != nullptr) SetEvent(done);
  return 0;
}

UINT AlbumPreviewDlg::PreviewRenderThread(LPVOID pParam) {
  return static_cast<AlbumPreviewDlg*>(pParam)->RenderRun();
}

int AlbumPreviewDlg::RunStage(const std::function<bool()>& step) {
  HANDLE timer = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  const MMRESULT id = timeSetEvent(kPreviewTickMs, 5, reinterpret_cast<LPTIMECALLBACK>(timer), 0,
                                   TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
  int result = 2;
  if (id != 0) {
    const HANDLE events[] = {m_hStopEvent, timer};
    for (;;) {
      const DWORD wait = WaitForMultipleObjects(2, events, FALSE, INFINITE);
      if (wait == WAIT_OBJECT_0) {
        result = 1;
        break;
      }
      if (wait != WAIT_OBJECT_0 + 1) break;
      if (step()) {
        result = 0;
        break;
      }
    }
    timeKillEvent(id);
  }
  CloseHandle(timer);
  return result;
}

int AlbumPreviewDlg::RunTextStage(bool credits) {
  CAlbumEffect* effect = m_pAlbum->GetAlbumEffect();
  if (!(credits ? effect->StartCreditEffect() : effect->StartTitleEffect())) return 0;
  const int n = credits ? effect->GetCreditFrameCount() : effect->GetTitleFrameCount();
  WriteLog("Preview %s: %d frames", credits ? "credits" : "titles", n);
  int next = 0;
  DWORD start = 0;
  const int result = RunStage([&] {
    if (next == 0) start = GetTickCount();
    // The frames due by now; the late ones are made (they follow each other) but not shown, so
    // the titles keep time with the music.
    const int due = std::min(n - 1, static_cast<int>((GetTickCount() - start) / kPreviewTickMs));
    const BYTE* bits = nullptr;
    do {
      bits = credits ? effect->GetOneCreditFrame() : effect->GetOneTitleFrame();
      ++next;
    } while (next <= due);
    if (bits != nullptr) {
      PreviewFrameNote note{credits ? PreviewFrameNote::kCredit : PreviewFrameNote::kTitle,
                            next - 1,
                            0,
                            nullptr,
                            m_nFrameWidth,
                            m_nFrameHeight};
      DrawRawFrame(bits, m_nFrameWidth, m_nFrameHeight, note);
    }
    return next >= n;
  });
  credits ? effect->StopCreditEffect() : effect->StopTitleEffect();
  return result;
}

int AlbumPreviewDlg::RenderSlideTick() {
  CAlbumEffect* effect = m_pAlbum->GetAlbumEffect();
  const int before = m_pRun->SlideIndex();
  const bool done = m_pRun->Tick(
      [&](CxImage& frame) {
        const int slide = m_pRun->SlideIndex();
        if (m_observer) {
          PreviewFrameNote note{PreviewFrameNote::kSlide,
                                slide,
                                m_pRun->TickCounter(),
                                frame.GetBits(0),
                                static_cast<int>(frame.GetWidth()),
                                static_cast<int>(frame.GetHeight())};
          m_observer(note);
        }
        PresentFrame(frame.GetBits(0), static_cast<int>(frame.GetWidth()),
                     static_cast<int>(frame.GetHeight()));
      },
      effect->HasAlbumTheme() ? effect : nullptr);
  const int slide = m_pRun->SlideIndex();
  if (slide != before)
    WriteLog("Preview shows slide id=%05d transition=\"%s\" frames=%u+%u", slide,
             static_cast<LPCTSTR>(m_pAlbum->Get_strTransName(slide)), m_pRun->TransitionEnd(),
             m_pRun->PanZoomEnd() - m_pRun->TransitionEnd());
  const int fps = GetProject()->Get_nFramesPerSecond();
  const WPARAM position = m_pRun->TickCounter() +
                          (slide > 0 ? static_cast<WPARAM>(m_pAlbum->Get_nSlideshowLen(slide - 1)) * fps : 0);
  if (CWnd* parent = GetParent())
    ::PostMessage(parent->m_hWnd, WM_PREVIEW_POSITION, position,
                  static_cast<LPARAM>(m_pAlbum->Get_nSlideshowLen(-1)) * fps);
  return done ? 1 : 0;
}

UINT AlbumPreviewDlg::RenderRun() {
  if (m_pAlbum == nullptr) {
    SetEvent(m_hRenderDoneEvent);
    return 1;
  }
  CDVDAlbumImage* album = m_pAlbum;
  CPhotoCache* cache = GetPhotoCache();
  cache->SetPaused(TRUE);
  cache->SetRequestedSize(m_nFrameWidth, m_nFrameHeight);
  m_nFrameWidth = pictavo::render::RoundPreviewWidth(m_nFrameWidth);
  const int w = m_nFrameWidth;
  const int h = m_nFrameHeight;

  if (!m_pView) m_pView = std::make_unique<CDirectDrawView>();
  if (!m_pView->m_bCreated)
    m_pView->Create(m_status.GetSafeHwnd() != nullptr ? m_status.m_hWnd : m_hWnd, w, h);
  const bool ready = m_pRun->Prepare(*album, *m_pPrefetcher, m_nStartIndex, SIZE{w, h}, m_arrFactories,
                                     GetProject()->GetOptionsData()->bAntiFlicker);
  CAlbumEffect* effect = album->GetAlbumEffect();
  effect->SetDefaultText(album->Get_strAlbumName(), CDVDProject::GetMainProgramName(), kMakerWebAddress);
  effect->Init(w, h, kPreviewFps);

  int result = ready ? 0 : 1;
  if (IsSet(m_hStopEvent)) result = 1;
  const bool fromTop = m_bMenuMode || m_bFromBeginning || album->m_bTitleActive;
  if (result == 0 && fromTop && effect->HasTitleEffect()) result = RunTextStage(false);
  if (result == 0 && IsSet(m_hStopEvent)) result = 1;
  if (result == 0 && (fromTop || album->m_pCurImage != nullptr)) {
    const bool theme = effect->HasAlbumTheme();
    if (theme) effect->StartEffect();
    WriteLog("Preview shows slide id=%05d transition=\"%s\" frames=%u+%u", m_pRun->SlideIndex(),
             static_cast<LPCTSTR>(album->Get_strTransName(m_pRun->SlideIndex())), m_pRun->TransitionEnd(),
             m_pRun->PanZoomEnd() - m_pRun->TransitionEnd());
    bool first = true;
    result = RunStage([&] {
      // The stage's clock starts with its first frame.
      if (first) m_pRun->BeginStage(GetTickCount());
      first = false;
      return RenderSlideTick() == 1;
    });
    if (theme) effect->StopEffect();
    m_nFramesDrawn = m_pRun->FramesDrawn();
    m_nFramesDropped = m_pRun->FramesDropped();
    WriteLog("Preview slides: %d frames drawn, %d dropped", m_pRun->FramesDrawn(), m_pRun->FramesDropped());
  }
  if (result == 0 && IsSet(m_hStopEvent)) result = 1;
  if (result == 0 && effect->HasCreditEffect()) result = RunTextStage(true);
  WriteLog("Preview album ended (%d)", result);

  m_nStartIndex = m_pRun->SlideIndex();
  m_pRun->Finish();
  if (m_pView) m_pView->Release();
  m_pView.reset();
  SetEvent(m_hRenderDoneEvent);
  cache->SetPaused(FALSE);
  return static_cast<UINT>(result);
}

void AlbumPreviewDlg::DrawRawFrame(const BYTE* pBits, int nWidth, int nHeight, PreviewFrameNote note) {
  if (m_observer) {
    note.bits = pBits;
    m_observer(note);
  }
  PresentFrame(pBits, nWidth, nHeight);
}

void AlbumPreviewDlg::PresentFrame(const BYTE* pBits, int nWidth, int nHeight) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = nWidth;
  info.bmiHeader.biHeight = nHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const RECT rect{0, 0, nWidth, nHeight};
  if (m_pView && m_pView->m_bCreated) {
    if (m_pView->IsSurfaceLost() && g_bAppActive) m_pView->RestoreSurfaces();
    m_pView->DrawDIB(&rect, &rect, pBits, &info);
    std::lock_guard guard(m_drawLock);
    m_pView->Present();
    return;
  }
  // No presenter: straight onto the status window with GDI.
  DrawOnStatus([&](HDC dc, const RECT& client) {
    StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, nWidth, nHeight, pBits, &info, DIB_RGB_COLORS,
                  SRCCOPY);
  });
}

void AlbumPreviewDlg::DrawOnStatus(const std::function<void(HDC, const RECT&)>& draw) {
  const HWND target = m_status.GetSafeHwnd() != nullptr ? m_status.m_hWnd : m_hWnd;
  std::lock_guard guard(m_drawLock);
  if (HDC dc = ::GetDC(target)) {
    RECT client{};
    ::GetClientRect(target, &client);
    SetStretchBltMode(dc, HALFTONE);
    draw(dc, client);
    ::ReleaseDC(target, dc);
  }
}

LRESULT AlbumPreviewDlg::OnPreviewFinished(WPARAM, LPARAM) {
  m_bFinished = TRUE;
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_PREVIEW_ENDED, PREVIEW_ENDED_NATURAL, 0);
  return 0;
}

LRESULT AlbumPreviewDlg::OnMusicPlayEnd(WPARAM, LPARAM) {
  m_bMusicEnded = TRUE;
  if (m_pAlbum != nullptr && m_pAlbum->Get_dwTransDurationType() != 0 && m_bFinished)
    if (CWnd* parent = GetParent()) parent->PostMessage(WM_PREVIEW_ENDED, PREVIEW_ENDED_HIDDEN, 0);
  return 1;
}

LRESULT AlbumPreviewDlg::OnPageShow(WPARAM wParam, LPARAM) {
  if (!wParam) {
    if (CWnd* parent = GetParent()) parent->PostMessage(WM_PREVIEW_ENDED, PREVIEW_ENDED_HIDDEN, 0);
  } else if (m_bMenuMode && m_bMenuActive) {
    PageShownInMenuMode();
  }
  return 0;
}

LRESULT AlbumPreviewDlg::OnStopPreview(WPARAM, LPARAM) {
  Stop();
  return 0;
}

LRESULT AlbumPreviewDlg::OnProjectReloaded(WPARAM, LPARAM) {
  m_pAlbum = nullptr;
  return 1;
}

LRESULT AlbumPreviewDlg::OnTvAspectChanged(WPARAM, LPARAM) {
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_TV_ASPECT_CHANGED, 0, 0);
  return 1;
}

LRESULT AlbumPreviewDlg::OnIgnored(WPARAM, LPARAM) {
  return 0;
}

BOOL AlbumPreviewDlg::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void AlbumPreviewDlg::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CRect status;
  if (m_status.GetSafeHwnd() != nullptr && m_status.IsWindowVisible()) {
    m_status.GetWindowRect(&status);
    ScreenToClient(&status);
    dc.ExcludeClipRect(&status);
  }
  // A vertical gradient from light grey at the top to dark grey at the bottom.
  const int height = std::max(1, client.Height());
  for (int y = 0; y < client.Height(); ++y) {
    const int c = 0xC0 - (0xC0 - 0x5A) * y / height;
    dc.FillSolidRect(0, y, client.Width(), 1, RGB(c, c, c));
  }
}

void AlbumPreviewDlg::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (m_status.GetSafeHwnd() != nullptr) {
    std::lock_guard guard(m_drawLock);
    m_status.MoveWindow(0, 0, cx, cy);
    m_status.Invalidate();
  }
}

void AlbumPreviewDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (nSBCode == SB_THUMBPOSITION && pScrollBar != nullptr &&
      pScrollBar->GetDlgCtrlID() == IDC_PREVIEW_SEEK && m_pAlbum != nullptr &&
      m_pAlbum->GetImageCount() > 0) {
    const int perSlide = (m_pAlbum->Get_nTwoDuration(-1) + m_pAlbum->Get_nOneDuration(-1)) *
                         GetProject()->Get_nFramesPerSecond();
    // Slides of no length have no position to seek to.
    if (perSlide > 0) m_pPrefetcher->Seek(static_cast<int>(nPos) / perSlide % m_pAlbum->GetImageCount());
  }
  CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void AlbumPreviewDlg::OnDestroy() {
  SetEvent(m_hStopEvent);
  SignalStopAndWait(TRUE);
  CDialog::OnDestroy();
}
