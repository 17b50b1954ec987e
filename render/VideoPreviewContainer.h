// The video album's preview: the container page (template 382) with its play and stop bars, and
// the page inside it (template 381) that plays the album's timeline graph and shows the video.
// Every play from the stopped state builds a fresh timeline, so edits of the album since the last
// play are always seen. When the clips have played to their end the buttons return to stopped.
// UI thread only; the graph's threads report through its notify message.
#pragma once

#include "controls/LayoutMgr.h"
#include "controls/SeekBar.h"
#include "platform/mfc/Afx.h"
#include "render/AlbumPreviewContainer.h"

class CCoolButtonBar;
class CDVDAlbumMovie;
class CTimelineProject;
struct IGraphBuilder;
struct IVideoWindow;

#define IDD_VIDEO_PREVIEW_PAGE 381
#define IDD_VIDEO_PREVIEW_CONTAINER 382
#define IDC_VIDEO_PREVIEW_PLAY 1127
#define IDC_VIDEO_PREVIEW_STOP 1287
#define IDC_VIDEO_PREVIEW_AREA 1492
#define IDC_VIDEO_PREVIEW_BUTTON_COLUMN 1493

#define WM_MOVIE_PREVIEW_FINISHED 0x2468  // page -> container: the clips played to their end
#define WM_VIDEO_PREVIEW_REPAINT 0x2469   // page -> container
#define WM_VIDEO_PREVIEW_STATE 0x246A     // page -> container: wParam 1 playing, 2 stopped
#define WM_VIDEO_PREVIEW_GRAPH_EVENT 0x094E

// The process-wide timeline whose graph the video preview plays; replaced for every new play.
extern CTimelineProject* g_pTimelineProject;

// Fits the video into `rect` (owner client coordinates) with its own aspect, centred. FALSE
// without a graph or a video window.
BOOL ResizeVideoWindow(const RECT* rect, IGraphBuilder* graph, IVideoWindow* window);

class CVideoPreviewPage : public CDialog {
 public:
  explicit CVideoPreviewPage(int nHideHint);

  void Play(CDVDAlbumMovie* pAlbum);
  void Stop();
  // Whether the graph runs now.
  BOOL IsPlaying();

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg LRESULT OnGraphEvent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPageShow(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  // The current timeline's graph (made on demand); 0, or the failure.
  HRESULT GetGraph();
  HRESULT RebuildGraph();
  void OnPlaybackComplete();
  void NotifyPlaying();
  void NotifyStopped();

  int m_nHideHint;
  CDVDAlbumMovie* m_pAlbum = nullptr;
  IGraphBuilder* m_pGraph = nullptr;  // the timeline's own, not referenced
};

class CVideoPreviewContainer : public CPreviewPageBase {
 public:
  // ppAlbum: the sheet's current-album member, read at every play.
  explicit CVideoPreviewContainer(CDVDAlbumMovie** ppAlbum);
  ~CVideoPreviewContainer() override;

  void Play();
  void StopPreview();
  void LayoutPreview();
  CVideoPreviewPage* GetPage() { return m_pPage; }
  // The bars' state: TRUE while the play bar is disabled and the stop bar enabled.
  BOOL IsShowingPlaying() const { return m_bPlayingShown; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg LRESULT OnPlayBegin(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStop(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPreviewState(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRepaint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMovieFinished(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTvAspectChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPlayButton();
  afx_msg void OnStopButton();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CPlaceholderStatic m_buttonColumn;  // 1493
  CPlaceholderStatic m_area;          // 1492
  CCoolButtonBar* m_pStopBar;         // the skin's
  CCoolButtonBar* m_pPlayBar;         // the skin's
  CDVDAlbumMovie** m_ppAlbum;
  CLayoutMgr m_layout;
  CVideoPreviewPage* m_pPage;  // owned
  BOOL m_bPlayingShown = FALSE;
};
