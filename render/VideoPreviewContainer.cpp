#include "render/VideoPreviewContainer.h"

#include <algorithm>

#include "albums/AlbumMessages.h"
#include "albums/ExploreBarDlg.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumMovie.h"
#include "modules/data/DVDProject.h"
#include "modules/data/TimelineProject.h"
#include "modules/log/Log.h"
#include "platform/com/ComObject.h"
#include "platform/media/FilterGraph.h"
#include "render/PreviewLayout.h"
#include "render/PreviewMessages.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "shell/UIHelpers.h"

using pictavo::com::ComPtr;

namespace {

constexpr UINT IDS_PREVIEW_HINT = 57532;
constexpr int kButtonWidth = 48;
constexpr int kButtonHeight = 26;
constexpr int kStopBelowPlay = 112;

_tagLayoutRow g_videoPreviewContainerLayout[5];
const LayoutRowInit kVideoPreviewContainerLayout[5] = {
    {LAYOUT_COLUMNS | LAYOUT_REST, 0, 0},
    {LAYOUT_REST, IDC_VIDEO_PREVIEW_AREA, 0},
    {LAYOUT_TOFIT, IDC_VIDEO_PREVIEW_BUTTON_COLUMN, 0},
    {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow* VideoPreviewContainerLayout() {
  static const bool ready = (InitLayoutRows(g_videoPreviewContainerLayout, kVideoPreviewContainerLayout), true);
  (void)ready;
  return g_videoPreviewContainerLayout;
}

template <class Q>
ComPtr<Q> Query(IGraphBuilder* graph) {
  ComPtr<Q> out;
  if (graph != nullptr) ComPtr<IGraphBuilder>(graph).As(out);
  return out;
}

}  // namespace

BOOL ResizeVideoWindow(const RECT* rect, IGraphBuilder* graph, IVideoWindow* window) {
  if (rect == nullptr || graph == nullptr || window == nullptr) return FALSE;
  const long w = rect->right - rect->left, h = rect->bottom - rect->top;
  if (w <= 0 || h <= 0) return FALSE;
  long vw = 0, vh = 0;
  if (ComPtr<IBasicVideo> video = Query<IBasicVideo>(graph); !video || FAILED(video->GetVideoSize(&vw, &vh)))
    vw = vh = 0;
  long fw = w, fh = h;
  if (vw > 0 && vh > 0) {
    // The largest box of the video's aspect inside the rectangle.
    if (static_cast<long long>(w) * vh > static_cast<long long>(h) * vw)
      fw = static_cast<long>(static_cast<long long>(h) * vw / vh);
    else
      fh = static_cast<long>(static_cast<long long>(w) * vh / vw);
  }
  return SUCCEEDED(window->SetWindowPosition(rect->left + (w - fw) / 2, rect->top + (h - fh) / 2, fw, fh));
}

// --- the page that plays ---

BEGIN_MESSAGE_MAP(CVideoPreviewPage, CDialog)
ON_MESSAGE(WM_VIDEO_PREVIEW_GRAPH_EVENT, OnGraphEvent)
ON_MESSAGE(WM_PAGE_SHOW, OnPageShow)
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVideoPreviewPage::CVideoPreviewPage(int nHideHint) : CDialog(IDD_VIDEO_PREVIEW_PAGE), m_nHideHint(nHideHint) {}

BOOL CVideoPreviewPage::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_VIDEO_PREVIEW_PAGE);
  NotifyStopped();
  return TRUE;
}

HRESULT CVideoPreviewPage::GetGraph() {
  if (g_pTimelineProject == nullptr) g_pTimelineProject = new CTimelineProject;
  m_pGraph = nullptr;
  const HRESULT hr = g_pTimelineProject->GetGraphBuilder(&m_pGraph);
  if (FAILED(hr)) return hr;
  return m_pGraph == nullptr ? E_FAIL : S_OK;
}

HRESULT CVideoPreviewPage::RebuildGraph() {
  m_pGraph = nullptr;
  delete g_pTimelineProject;
  g_pTimelineProject = new CTimelineProject;
  if (m_pAlbum == nullptr) return E_FAIL;
  HRESULT hr = m_pAlbum->AddStaffToTimeline(g_pTimelineProject, 1, 0, 0);
  if (FAILED(hr)) return hr;
  hr = g_pTimelineProject->BuildTimeline();
  if (FAILED(hr)) return hr;
  return g_pTimelineProject->RenderIt(m_hWnd, m_hWnd, 1);
}

BOOL CVideoPreviewPage::IsPlaying() {
  if (g_pTimelineProject == nullptr || FAILED(GetGraph())) return FALSE;
  ComPtr<IMediaControl> control = Query<IMediaControl>(m_pGraph);
  OAFilterState state = State_Stopped;
  return control && SUCCEEDED(control->GetState(10, &state)) && state == State_Running;
}

void CVideoPreviewPage::Play(CDVDAlbumMovie* pAlbum) {
  m_pAlbum = pAlbum != nullptr && pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumMovie)) ? pAlbum : nullptr;
  if (m_pAlbum == nullptr || m_pAlbum->Get_nVideoItemCount() == 0) return;
  if (SUCCEEDED(GetGraph())) {
    ComPtr<IMediaControl> control = Query<IMediaControl>(m_pGraph);
    OAFilterState state = State_Stopped;
    if (!control || FAILED(control->GetState(10, &state))) return;
    if (state == State_Running) return;
    if (state == State_Paused) control->Run();
  }
  if (FAILED(RebuildGraph())) {
    WriteLog("Video album \"%s\" can't be previewed.", m_pAlbum->Get_strAlbumName().GetString());
    return;
  }
  if (FAILED(GetGraph())) return;
  ComPtr<IMediaControl> control = Query<IMediaControl>(m_pGraph);
  ComPtr<IMediaSeeking> seeking = Query<IMediaSeeking>(m_pGraph);
  OAFilterState state = State_Stopped;
  if (!control || !seeking || FAILED(control->GetState(10, &state))) return;
  if (state == State_Stopped) {
    LONGLONG start = 0;
    seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, nullptr, 0);
    control->Run();
  } else if (state == State_Paused) {
    control->Run();
  }
  CRect client;
  GetClientRect(&client);
  ResizeVideoWindow(&client, m_pGraph, g_pTimelineProject->m_pVideoWindow);
  WriteLog("Video preview of \"%s\": %d clips.", m_pAlbum->Get_strAlbumName().GetString(),
           m_pAlbum->Get_nVideoItemCount());
  NotifyPlaying();
}

void CVideoPreviewPage::Stop() {
  if (g_pTimelineProject != nullptr && SUCCEEDED(GetGraph())) {
    ComPtr<IMediaControl> control = Query<IMediaControl>(m_pGraph);
    OAFilterState state = State_Stopped;
    if (control && SUCCEEDED(control->GetState(10, &state)) && state != State_Stopped) control->Stop();
  }
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_VIDEO_PREVIEW_REPAINT, 0, 0);
  NotifyStopped();
}

void CVideoPreviewPage::NotifyPlaying() {
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_VIDEO_PREVIEW_STATE, 1, 0);
}

void CVideoPreviewPage::NotifyStopped() {
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_VIDEO_PREVIEW_STATE, 2, 0);
}

LRESULT CVideoPreviewPage::OnGraphEvent(WPARAM, LPARAM) {
  // Events of a timeline that has since been replaced arrive too; they find the new graph's
  // queue and take nothing from it.
  if (FAILED(GetGraph())) {
    WriteErrorLog("Video preview: the graph's event came without a graph.");
    return -1;
  }
  ComPtr<IMediaEventEx> events = Query<IMediaEventEx>(m_pGraph);
  if (!events) return 0;
  long code = 0;
  LONG_PTR one = 0, two = 0;
  while (SUCCEEDED(events->GetEvent(&code, &one, &two, 0))) {
    events->FreeEventParams(code, one, two);
    if (code == EC_COMPLETE) OnPlaybackComplete();
  }
  return 0;
}

void CVideoPreviewPage::OnPlaybackComplete() {
  if (SUCCEEDED(GetGraph()))
    if (ComPtr<IMediaControl> control = Query<IMediaControl>(m_pGraph)) control->Stop();
  WriteLog("Video preview ended.");
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_MOVIE_PREVIEW_FINISHED, 0, 0);
  Invalidate(TRUE);
}

LRESULT CVideoPreviewPage::OnPageShow(WPARAM wParam, LPARAM) {
  if (wParam == FALSE) Stop();
  return 1;
}

void CVideoPreviewPage::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (g_pTimelineProject == nullptr || g_pTimelineProject->m_pVideoWindow == nullptr) return;
  if (FAILED(GetGraph())) return;
  CRect client(0, 0, cx, cy);
  ResizeVideoWindow(&client, m_pGraph, g_pTimelineProject->m_pVideoWindow);
}

void CVideoPreviewPage::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, RGB(0, 0, 0));
  if (m_nHideHint != 0) return;
  const CString hint = LoadLangString(IDS_PREVIEW_HINT);
  CFont* old = dc.SelectObject(GetFont());
  CSize extent;
  ::GetTextExtentPoint32(dc.GetSafeHdc(), hint, hint.GetLength(), &extent);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  dc.TextOut((client.Width() - extent.cx) / 2, (client.Height() - extent.cy) / 2, hint);
  dc.SelectObject(old);
}

BOOL CVideoPreviewPage::OnEraseBkgnd(CDC*) {
  return TRUE;
}

// --- the container with the buttons ---

BEGIN_MESSAGE_MAP(CVideoPreviewContainer, CPreviewPageBase)
ON_MESSAGE(WM_PREVIEW_PLAY_BEGIN, OnPlayBegin)
ON_MESSAGE(WM_PREVIEW_STOP, OnStop)
ON_MESSAGE(WM_PREPARE_PROJECT_SAVE, OnStop)
ON_MESSAGE(WM_VIDEO_PREVIEW_STATE, OnPreviewState)
ON_MESSAGE(WM_VIDEO_PREVIEW_REPAINT, OnRepaint)
ON_MESSAGE(WM_MOVIE_PREVIEW_FINISHED, OnMovieFinished)
ON_MESSAGE(WM_TV_ASPECT_CHANGED, OnTvAspectChanged)
ON_BN_CLICKED(IDC_VIDEO_PREVIEW_PLAY, OnPlayButton)
ON_BN_CLICKED(IDC_VIDEO_PREVIEW_STOP, OnStopButton)
ON_WM_SHOWWINDOW()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CVideoPreviewContainer::CVideoPreviewContainer(CDVDAlbumMovie** ppAlbum)
    : CPreviewPageBase(IDD_VIDEO_PREVIEW_CONTAINER),
      m_pStopBar(GetSkinMinor()->m_pVideoPreviewStopButton),
      m_pPlayBar(GetSkinMinor()->m_pVideoPreviewPlayBeginButton),
      m_ppAlbum(ppAlbum),
      m_layout(VideoPreviewContainerLayout()),
      m_pPage(new CVideoPreviewPage(0)) {}

CVideoPreviewContainer::~CVideoPreviewContainer() {
  CWindowRegistry* registry = GetWindowRegistry();
  if (registry->m_pVideoPreviewPage == m_pPage) registry->m_pVideoPreviewPage = nullptr;
  if (registry->m_pVideoPreviewContainer == this) registry->m_pVideoPreviewContainer = nullptr;
  if (m_pPage->GetSafeHwnd() != nullptr) {
    m_pPage->Stop();
    m_pPage->DestroyWindow();
  }
  delete m_pPage;
}

void CVideoPreviewContainer::DoDataExchange(CDataExchange* pDX) {
  CPreviewPageBase::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_VIDEO_PREVIEW_BUTTON_COLUMN, m_buttonColumn);
  DDX_Control(pDX, IDC_VIDEO_PREVIEW_AREA, m_area);
}

BOOL CVideoPreviewContainer::OnInitDialog() {
  CPreviewPageBase::OnInitDialog();
  m_buttonColumn.SetWindowPos(nullptr, 0, 0, kButtonWidth, 0, SWP_NOMOVE | SWP_NOZORDER);
  const struct {
    CCoolButtonBar* bar;
    UINT id;
    UINT message;
  } bars[] = {{m_pPlayBar, IDC_PREVIEW_PLAY_BEGIN_BAR, WM_PREVIEW_PLAY_BEGIN},
              {m_pStopBar, IDC_PREVIEW_STOP_BAR, WM_PREVIEW_STOP}};
  for (const auto& b : bars) {
    if (b.bar == nullptr || b.bar->GetSafeHwnd() != nullptr || !b.bar->SubclassDlgItem(b.id, this)) continue;
    b.bar->SetNotifyMessage(m_hWnd, b.message);
    const CSize size = b.bar->GetSize();
    b.bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    b.bar->EnableToolTip(FALSE);
  }
  m_layout.CaptureToFitSizes(this);
  CRect client;
  GetClientRect(&client);
  m_layout.LayoutRoot(client, this);
  m_layout.ApplyLayout(this);
  m_pPage->Create(IDD_VIDEO_PREVIEW_PAGE, this);
  m_pPage->SetDlgCtrlID(IDD_VIDEO_PREVIEW_PAGE);
  GetWindowRegistry()->m_pVideoPreviewPage = m_pPage;
  GetWindowRegistry()->m_pVideoPreviewContainer = this;
  m_pPage->ShowWindow(SW_SHOW);
  OnPreviewState(2, 0);
  LayoutPreview();
  return TRUE;
}

void CVideoPreviewContainer::Play() {
  if (m_pPage->GetSafeHwnd() != nullptr) m_pPage->Play(m_ppAlbum != nullptr ? *m_ppAlbum : nullptr);
}

void CVideoPreviewContainer::StopPreview() {
  if (m_pPage->GetSafeHwnd() != nullptr) m_pPage->Stop();
}

void CVideoPreviewContainer::LayoutPreview() {
  if (m_pPage->GetSafeHwnd() == nullptr || m_area.GetSafeHwnd() == nullptr) return;
  CRect area;
  m_area.GetWindowRect(&area);
  ScreenToClient(&area);
  const bool wide = GetProject()->GetOptionsData()->nAspectCorrection == 2;
  const auto placement = pictavo::render::FitAlbumSheetPreview(area, wide);
  const RECT& r = placement.preview;
  m_pPage->SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
  const int top = area.top + (area.Height() - 160) / 2;
  const struct {
    CCoolButtonBar* bar;
    int top;
  } bars[] = {{m_pPlayBar, top}, {m_pStopBar, top + kStopBelowPlay}};
  for (const auto& b : bars) {
    if (b.bar == nullptr || b.bar->GetSafeHwnd() == nullptr || b.bar->GetParent() != this) continue;
    const CSize size = b.bar->GetSize();
    b.bar->SetWindowPos(nullptr, placement.buttonsLeft, b.top, size.cx > 0 ? size.cx : kButtonWidth,
                        size.cy > 0 ? size.cy : kButtonHeight, SWP_NOZORDER);
  }
  Invalidate();
}

LRESULT CVideoPreviewContainer::OnPlayBegin(WPARAM wParam, LPARAM) {
  if (wParam == 0) Play();
  return 1;
}

LRESULT CVideoPreviewContainer::OnStop(WPARAM, LPARAM) {
  StopPreview();
  return 1;
}

void CVideoPreviewContainer::OnPlayButton() {
  Play();
}

void CVideoPreviewContainer::OnStopButton() {
  StopPreview();
}

LRESULT CVideoPreviewContainer::OnPreviewState(WPARAM wParam, LPARAM) {
  const bool playing = wParam == 1;
  if (wParam != 1 && wParam != 2) return 1;
  m_bPlayingShown = playing;
  // Each bar holds one button: the bar window follows its button, so keyboard and input scripts
  // see the same state as the picture.
  if (m_pPlayBar != nullptr && m_pPlayBar->GetSafeHwnd() != nullptr) {
    playing ? m_pPlayBar->DisableAllButtons(TRUE) : m_pPlayBar->EnableAllButtons(TRUE);
    m_pPlayBar->EnableWindow(!playing);
  }
  if (m_pStopBar != nullptr && m_pStopBar->GetSafeHwnd() != nullptr) {
    playing ? m_pStopBar->EnableAllButtons(TRUE) : m_pStopBar->DisableAllButtons(TRUE);
    m_pStopBar->EnableWindow(playing);
  }
  return 1;
}

LRESULT CVideoPreviewContainer::OnRepaint(WPARAM, LPARAM) {
  Invalidate(TRUE);
  UpdateWindow();
  return 1;
}

LRESULT CVideoPreviewContainer::OnMovieFinished(WPARAM, LPARAM) {
  // The clips have played to their end: the buttons go back to stopped, as after Stop, so the
  // user can play again at once.
  StopPreview();
  return 1;
}

LRESULT CVideoPreviewContainer::OnTvAspectChanged(WPARAM, LPARAM) {
  LayoutPreview();
  return 1;
}

void CVideoPreviewContainer::OnShowWindow(BOOL bShow, UINT nStatus) {
  CPreviewPageBase::OnShowWindow(bShow, nStatus);
  if (!bShow) StopPreview();
}

void CVideoPreviewContainer::OnSize(UINT nType, int cx, int cy) {
  CPreviewPageBase::OnSize(nType, cx, cy);
  if (m_area.GetSafeHwnd() == nullptr) return;
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
  LayoutPreview();
}

BOOL CVideoPreviewContainer::OnEraseBkgnd(CDC* pDC) {
  const int saved = pDC->SaveDC();
  for (CWnd* child : {static_cast<CWnd*>(m_pPage), static_cast<CWnd*>(m_pPlayBar), static_cast<CWnd*>(m_pStopBar)}) {
    if (child == nullptr || child->GetSafeHwnd() == nullptr || !child->IsWindowVisible()) continue;
    CRect rc;
    child->GetWindowRect(&rc);
    ScreenToClient(&rc);
    pDC->ExcludeClipRect(&rc);
  }
  PaintAlbumPanel(this, pDC);
  pDC->RestoreDC(saved);
  return TRUE;
}

void CVideoPreviewContainer::OnPaint() {
  CPaintDC dc(this);
}
