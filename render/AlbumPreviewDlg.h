// AlbumPreviewDlg (template 145): plays one photo album in real time at 20 frames per second
// inside its host page: the titles, every slide as its transition and then its pan and zoom under
// the album's theme, the credits, while the album's music plays. A run is four activities linked
// by manual-reset events: the render thread, the slide prefetcher's thread, the music player and
// the watcher, which reports the natural end with WM_PREVIEW_FINISHED. A run is stopped, never
// paused; runs never overlap. Frames are presented through CDirectDrawView on the status static
// (control 1119) that covers the window, or drawn with GDI when the view cannot be created.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "controls/SeekBar.h"
#include "modules/effects/Transition.h"
#include "platform/mfc/Dialog.h"

#define IDD_ALBUM_PREVIEW 145
#define IDC_PREVIEW_STATUS 1119
#define IDC_PREVIEW_SEEK 1013

class CDirectDrawView;
class CDSTLAudio;
class CDVDAlbumImage;
class CSlidePrefetcher;
namespace pictavo::render {
class PreviewSlideRun;
}

// The watcher's record, freed by the watcher.
struct _tagPreviewWatchParam {
  int nMode;  // 0 album, 1 menu
  HANDLE hStopEvent;
  HANDLE hPrefetchDoneEvent;
  HANDLE hRenderDoneEvent;
  HANDLE hMusicDoneEvent;
  HANDLE hMenuDoneEvent;
  int bPost;
  HWND hWnd;
  UINT nMessage;
  HANDLE hWatchDoneEvent;  // set when the watcher ends
};

// What a drawn frame was, for whoever watches the frames (tests, benchmarks).
struct PreviewFrameNote {
  enum Stage { kTitle, kSlide, kCredit } stage;
  int slide;         // the slide index (slides), or the frame's number within the stage
  unsigned tick;     // the slide's tick counter
  const BYTE* bits;  // 24-bit rows, bottom row first, 3 x width bytes each
  int width, height;
};

class AlbumPreviewDlg : public CDialog {
 public:
  explicit AlbumPreviewDlg(BOOL bMenuMode = FALSE);
  ~AlbumPreviewDlg() override;

  void PlayAlbum(int nAlbumIndex);
  void Stop();
  void SignalStopAndWait(BOOL bPumpInput);
  void WaitWorkersDone(BOOL bPumpInput);
  BOOL IsPlaying() const;
  BOOL IsMenuPlaying() const;

  // Menu mode (the disc-menu page's preview): the project's disc menu, g_dvdMenu, plays with its
  // music; the focus walks its album entries and page buttons; the chosen album plays as in
  // album mode. Each does nothing outside menu mode.
  void StartMenuPreview();
  void MenuFocusNext();
  void MenuFocusPrev();
  void MenuActivateFocused();
  void MenuEnter();
  int GetMenuFocus() const { return m_nMenuFocus.load(); }
  void SetMenuFocus(int nFocus) { m_nMenuFocus = nFocus; }
  // Menu frames drawn by the running or last menu run (render thread).
  int GetMenuFramesDrawn() const { return m_nMenuFramesDrawn.load(); }

  BOOL m_bMenuActive = TRUE;     // UI thread
  BOOL m_bFromBeginning = TRUE;  // set by the host before PlayAlbum
  // The slide index the last run started at, and after a run the one it ended at.
  int GetStartIndex() const { return m_nStartIndex; }
  // The album of the last run.
  CDVDAlbumImage* GetPlayingAlbum() const { return m_pAlbum; }
  int GetFrameWidth() const { return m_nFrameWidth; }
  int GetFrameHeight() const { return m_nFrameHeight; }
  // Frames drawn and dropped by the last run's slides (render thread; read after the run).
  int GetFramesDrawn() const { return m_nFramesDrawn.load(); }
  int GetFramesDropped() const { return m_nFramesDropped.load(); }

  // Called on the render thread after every frame drawn; set while no run plays.
  void SetFrameObserver(std::function<void(const PreviewFrameNote&)> observer) {
    m_observer = std::move(observer);
  }

 protected:
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg LRESULT OnPreviewFinished(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMusicPlayEnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPageShow(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopPreview(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTvAspectChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMenuPreviewFinished(WPARAM wParam, LPARAM lParam);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  BOOL StartAlbumPreview(CDVDAlbumImage* pAlbum);
  static UINT PreviewRenderThread(LPVOID pParam);
  // The watcher of a run (mode 0 album, 1 menu), posting nMessage to this window at its end.
  void StartWatcher(int nMode, UINT nMessage);
  static UINT PreviewWatchThread(LPVOID pParam);
  UINT RenderRun();
  // A stage on the 50 ms clock: `step` runs once per tick until it says the stage is over.
  // 0 when it is, 1 on a stop, 2 when a wait failed.
  int RunStage(const std::function<bool()>& step);
  int RunTextStage(bool credits);
  int RenderSlideTick();
  void DrawRawFrame(const BYTE* pBits, int nWidth, int nHeight, PreviewFrameNote note);
  void PresentFrame(const BYTE* pBits, int nWidth, int nHeight);
  // Draws with GDI onto the window that covers the preview, stretched with HALFTONE, under the
  // draw lock (any thread).
  void DrawOnStatus(const std::function<void(HDC, const RECT&)>& draw);
  static UINT MenuPreviewRenderThread(LPVOID pParam);
  UINT MenuRenderRun();
  // Draws menu frame nFrame with the focus mask over it onto the whole preview (render thread).
  void DrawMenuFrame(int nFrame, HBITMAP hMask);
  // Lays out page nPage (or the whole menu for -1) with the main window's progress text shown.
  BOOL ParseMenuWithProgress(int nPage);
  // Turns to the page before or after the current one and starts the menu again, focus on 0.
  void TurnMenuPage(int nDelta);
  // The menu object under a client point: its focus index, the album it plays (-1 for none) and
  // the page button (-1 for none). FALSE when nothing is there.
  BOOL MenuHitTest(CPoint point, int* pFocus, int* pAlbum, int* pButton);
  void PageShownInMenuMode();

  CPreviewStatusStatic m_status;
  HBITMAP m_hMenuBitmap = nullptr;   // 768 x 576, drawn by the menu render thread; owned
  std::atomic<int> m_nMenuFocus{0};  // written by the UI thread, read by the menu render thread
  std::atomic<int> m_nMenuFramesDrawn{0};
  CDVDAlbumImage* m_pAlbum = nullptr;  // UI thread; read by the render thread during a run
  int m_nFrameWidth = 480;
  int m_nFrameHeight = 360;
  std::vector<TransitionEntryFactory> m_arrFactories;
  std::unique_ptr<pictavo::render::PreviewSlideRun> m_pRun;  // the render thread's during a run
  int m_nStartIndex = 0;
  std::unique_ptr<CSlidePrefetcher> m_pPrefetcher;
  HANDLE m_hStopEvent = nullptr;
  HANDLE m_hRenderDoneEvent = nullptr;
  HANDLE m_hMusicDoneEvent = nullptr;
  HANDLE m_hPrefetchDoneEvent = nullptr;
  HANDLE m_hMenuDoneEvent = nullptr;
  HANDLE m_hWatchDoneEvent = nullptr;        // the watcher has ended: no run's thread is left
  std::unique_ptr<CDirectDrawView> m_pView;  // the render thread's during a run
  std::unique_ptr<CDSTLAudio> m_pMusic;
  std::mutex m_drawLock;  // held around every drawing into the window and every Present
  BOOL m_bWaitGuard = FALSE;
  BOOL m_bFinished = FALSE;
  BOOL m_bMusicEnded = FALSE;
  BOOL m_bMenuMode;
  std::atomic<int> m_nFramesDrawn{0};
  std::atomic<int> m_nFramesDropped{0};
  std::function<void(const PreviewFrameNote&)> m_observer;
};
