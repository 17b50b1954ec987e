#include "render/AlbumPreviewContainer.h"

#include <strings.h>

#include "albums/AlbumMessages.h"
#include "albums/ExploreBarDlg.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/mfc/WinApp.h"
#include "render/AlbumPreviewDlg.h"
#include "render/PreviewLayout.h"
#include "render/PreviewMessages.h"
#include "shell/EnvironmentChecks.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "shell/UIHelpers.h"

namespace {

constexpr int kButtonSize = 48;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 96;

_tagLayoutRow g_albumPreviewContainerLayout[5];
const LayoutRowInit kAlbumPreviewContainerLayout[5] = {
    {LAYOUT_COLUMNS | LAYOUT_REST, 0, 0},         {LAYOUT_REST, IDC_PREVIEW_AREA, 0},
    {LAYOUT_TOFIT, IDC_PREVIEW_BUTTON_COLUMN, 0}, {LAYOUT_END_GROUP, LAYOUT_NO_WINDOW, 0},
    {LAYOUT_END_TABLE, LAYOUT_NO_WINDOW, 0},
};
_tagLayoutRow* AlbumPreviewContainerLayout() {
  static const bool ready =
      (InitLayoutRows(g_albumPreviewContainerLayout, kAlbumPreviewContainerLayout), true);
  (void)ready;
  return g_albumPreviewContainerLayout;
}

bool WideOption() {
  return GetProject()->GetOptionsData()->nAspectCorrection == 2;
}

// Creates the preview window as a child of `host`, id 145, shown, not in menu mode.
void CreatePreviewWindow(AlbumPreviewDlg* preview, CWnd* host) {
  preview->Create(IDD_ALBUM_PREVIEW, host);
  preview->SetDlgCtrlID(IDD_ALBUM_PREVIEW);
  preview->ShowWindow(SW_SHOW);
  preview->m_bMenuActive = FALSE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPreviewPageBase, CDialog)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CPreviewPageBase::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, m_nTemplate);
  return TRUE;
}

BOOL CPreviewPageBase::OnEraseBkgnd(CDC* pDC) {
  PaintAlbumPanel(this, pDC);
  return TRUE;
}

BEGIN_MESSAGE_MAP(AlbumPreviewContainer, CPreviewPageBase)
ON_MESSAGE(WM_PREVIEW_PLAY_BEGIN, OnPlayBegin)
ON_MESSAGE(WM_PREVIEW_PLAY_CURRENT, OnPlayCurrent)
ON_MESSAGE(WM_PREVIEW_STOP, OnStopButton)
ON_MESSAGE(WM_PREVIEW_ENDED, OnPreviewEnded)
ON_MESSAGE(WM_PREVIEW_SELECT_ALBUM, OnAlbumSelected)
ON_MESSAGE(WM_PAGE_SHOW, OnPageShow)
ON_MESSAGE(WM_STOP_PLAYBACK, OnStopPlayback)
ON_MESSAGE(WM_PREPARE_PROJECT_SAVE, OnStopPlayback)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_TV_ASPECT_CHANGED, OnTvAspectChanged)
ON_WM_SHOWWINDOW()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

AlbumPreviewContainer::AlbumPreviewContainer()
    : CPreviewPageBase(IDD_ALBUM_PREVIEW_CONTAINER),
      m_pStopBar(GetSkinMinor()->m_pAlbumPreviewStopButton),
      m_pPlayCurrentBar(GetSkinMinor()->m_pAlbumPreviewPlayCurrentButton),
      m_pPlayBeginBar(GetSkinMinor()->m_pAlbumPreviewPlayBeginButton),
      m_pPreview(new AlbumPreviewDlg(FALSE)),
      m_layout(AlbumPreviewContainerLayout()) {}

AlbumPreviewContainer::~AlbumPreviewContainer() {
  if (GetWindowRegistry()->m_pAlbumPreviewDlg == m_pPreview)
    GetWindowRegistry()->m_pAlbumPreviewDlg = nullptr;
  if (GetWindowRegistry()->m_pAlbumPreviewContainer == this)
    GetWindowRegistry()->m_pAlbumPreviewContainer = nullptr;
  if (m_pPreview->GetSafeHwnd() != nullptr) m_pPreview->DestroyWindow();
  delete m_pPreview;
}

void AlbumPreviewContainer::DoDataExchange(CDataExchange* pDX) {
  CPreviewPageBase::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PREVIEW_BUTTON_COLUMN, m_buttonColumn);
  DDX_Control(pDX, IDC_PREVIEW_AREA, m_area);
}

BOOL AlbumPreviewContainer::OnInitDialog() {
  WriteLog("AlbumPreviewContainer begin to initalize ...");
  CPreviewPageBase::OnInitDialog();
  GetWindowRegistry()->m_pAlbumPreviewContainer = this;
  m_buttonColumn.SetWindowPos(nullptr, 0, 0, kButtonSize, 0, SWP_NOMOVE | SWP_NOZORDER);
  WriteLog("AlbumPreviewContainer begin to initalize (1)...");
  CreatePreviewWindow(m_pPreview, this);
  GetWindowRegistry()->m_pAlbumPreviewDlg = m_pPreview;
  WriteLog("AlbumPreviewContainer begin to initalize (2)...");
  const struct {
    CCoolButtonBar* bar;
    UINT id;
    UINT message;
  } bars[] = {{m_pPlayBeginBar, IDC_PREVIEW_PLAY_BEGIN_BAR, WM_PREVIEW_PLAY_BEGIN},
              {m_pPlayCurrentBar, IDC_PREVIEW_PLAY_CURRENT_BAR, WM_PREVIEW_PLAY_CURRENT},
              {m_pStopBar, IDC_PREVIEW_STOP_BAR, WM_PREVIEW_STOP}};
  for (size_t i = 0; i < std::size(bars); ++i) {
    CCoolButtonBar* bar = bars[i].bar;
    if (bar != nullptr && bar->GetSafeHwnd() == nullptr && bar->SubclassDlgItem(bars[i].id, this)) {
      bar->SetNotifyMessage(m_hWnd, bars[i].message);
      const CSize size = bar->GetSize();
      bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      bar->EnableToolTip(FALSE);
    }
    WriteLog(i < 2 ? "AlbumPreviewContainer begin to initalize (3)..."
                   : "AlbumPreviewContainer begin to initalize (4)...");
  }
  WriteLog("AlbumPreviewContainer finish to initalize ...");
  m_layout.CaptureToFitSizes(this);
  CRect client;
  GetClientRect(&client);
  m_layout.LayoutRoot(client, this);
  m_layout.ApplyLayout(this);
  UpdatePlayButtons(FALSE);
  LayoutPreview();
  return TRUE;
}

void AlbumPreviewContainer::UpdatePlayButtons(BOOL bPlaying) {
  for (CCoolButtonBar* bar : {m_pPlayBeginBar, m_pPlayCurrentBar}) {
    if (bar == nullptr || bar->GetSafeHwnd() == nullptr) continue;
    bPlaying ? bar->DisableButton(0, TRUE) : bar->EnableButton(0, TRUE);
  }
  if (m_pStopBar != nullptr && m_pStopBar->GetSafeHwnd() != nullptr)
    bPlaying ? m_pStopBar->EnableButton(0, TRUE) : m_pStopBar->DisableButton(0, TRUE);
}

void AlbumPreviewContainer::LayoutPreview() {
  if (m_pPreview->GetSafeHwnd() == nullptr || m_area.GetSafeHwnd() == nullptr) return;
  CRect area;
  m_area.GetWindowRect(&area);
  ScreenToClient(&area);
  const auto placement = pictavo::render::FitAlbumSheetPreview(area, WideOption());
  const RECT& r = placement.preview;
  m_pPreview->SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
  int top = placement.buttonsTop;
  for (CCoolButtonBar* bar : {m_pPlayBeginBar, m_pPlayCurrentBar, m_pStopBar}) {
    if (bar != nullptr && bar->GetSafeHwnd() != nullptr && bar->GetParent() == this) {
      // The bar's own size: the skin's button, nothing of the page's colour beside it.
      const CSize size = bar->GetSize();
      bar->SetWindowPos(nullptr, placement.buttonsLeft, top, size.cx > 0 ? size.cx : kButtonSize,
                        size.cy > 0 ? size.cy : kButtonHeight, SWP_NOZORDER);
    }
    top += kButtonGap;
  }
  Invalidate();
}

int AlbumPreviewContainer::SelectedAlbum() const {
  auto* list = static_cast<CWnd*>(GetWindowRegistry()->m_pAlbumListBox);
  if (list == nullptr || list->GetSafeHwnd() == nullptr) return -1;
  return static_cast<int>(list->SendMessage(LB_GETCURSEL, 0, 0));
}

void AlbumPreviewContainer::StopAndRepaint() {
  CWaitCursor wait;
  m_pPreview->Stop();
  UpdatePlayButtons(FALSE);
  m_pPreview->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void AlbumPreviewContainer::StopPreview() {
  if (m_pPreview->GetSafeHwnd() == nullptr) return;
  StopAndRepaint();
}

void AlbumPreviewContainer::PlaySelected(BOOL bFromBeginning) {
  if (m_pPreview->GetSafeHwnd() == nullptr || !IsDirectXReady()) return;
  const int index = SelectedAlbum();
  if (index == -1 || index >= GetProject()->GetAlbumCount()) return;
  UpdatePlayButtons(TRUE);
  m_pPreview->m_bFromBeginning = bFromBeginning;
  m_pPreview->PlayAlbum(index);
}

void AlbumPreviewContainer::PlayFromBeginning() {
  PlaySelected(TRUE);
}

void AlbumPreviewContainer::PlayFromCurrent() {
  PlaySelected(FALSE);
}

void AlbumPreviewContainer::AlbumSelectionChanged(int nIndex, BOOL bPlay) {
  if (m_pPreview->GetSafeHwnd() == nullptr) return;
  if (nIndex == -1 || nIndex >= GetProject()->GetAlbumCount() || !m_bShown || !bPlay) {
    StopAndRepaint();
    return;
  }
  if (!IsDirectXReady()) return;
  m_pPreview->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  UpdatePlayButtons(TRUE);
  m_pPreview->PlayAlbum(nIndex);
}

LRESULT AlbumPreviewContainer::OnPlayBegin(WPARAM wParam, LPARAM) {
  if (wParam != 0) return 1;
  if (m_pPlayBeginBar != nullptr)
    m_pPlayBeginBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PlayFromBeginning();
  return 1;
}

LRESULT AlbumPreviewContainer::OnPlayCurrent(WPARAM wParam, LPARAM) {
  if (wParam != 0) return 1;
  if (m_pPlayCurrentBar != nullptr)
    m_pPlayCurrentBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PlayFromCurrent();
  return 1;
}

LRESULT AlbumPreviewContainer::OnStopButton(WPARAM wParam, LPARAM) {
  if (wParam != 0) return 1;
  if (m_pStopBar != nullptr)
    m_pStopBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  StopPreview();
  return 1;
}

LRESULT AlbumPreviewContainer::OnPreviewEnded(WPARAM wParam, LPARAM) {
  if (wParam == PREVIEW_ENDED_HIDDEN || wParam == PREVIEW_ENDED_NATURAL) StopPreview();
  return 1;
}

LRESULT AlbumPreviewContainer::OnAlbumSelected(WPARAM wParam, LPARAM lParam) {
  AlbumSelectionChanged(static_cast<int>(wParam), lParam != 0);
  return 1;
}

LRESULT AlbumPreviewContainer::OnPageShow(WPARAM, LPARAM) {
  m_bShown = FALSE;
  AlbumSelectionChanged(SelectedAlbum(), FALSE);
  return 1;
}

void AlbumPreviewContainer::OnShowWindow(BOOL bShow, UINT nStatus) {
  CPreviewPageBase::OnShowWindow(bShow, nStatus);
  m_bShown = bShow;
  AlbumSelectionChanged(SelectedAlbum(), FALSE);
}

LRESULT AlbumPreviewContainer::OnStopPlayback(WPARAM, LPARAM) {
  StopPreview();
  return 1;
}

LRESULT AlbumPreviewContainer::OnProjectReloaded(WPARAM wParam, LPARAM lParam) {
  if (m_pPreview->GetSafeHwnd() != nullptr) m_pPreview->SendMessage(WM_PROJECT_RELOADED, wParam, lParam);
  return 1;
}

LRESULT AlbumPreviewContainer::OnTvAspectChanged(WPARAM, LPARAM) {
  LayoutPreview();
  return 1;
}

void AlbumPreviewContainer::OnSize(UINT nType, int cx, int cy) {
  CPreviewPageBase::OnSize(nType, cx, cy);
  if (m_area.GetSafeHwnd() == nullptr) return;
  m_layout.LayoutRoot(CRect(0, 0, cx, cy), this);
  m_layout.ApplyLayout(this);
  LayoutPreview();
}

BOOL AlbumPreviewContainer::OnEraseBkgnd(CDC* pDC) {
  const int saved = pDC->SaveDC();
  if (m_pPreview->GetSafeHwnd() != nullptr && m_pPreview->IsWindowVisible()) {
    CRect preview;
    m_pPreview->GetWindowRect(&preview);
    ScreenToClient(&preview);
    pDC->ExcludeClipRect(&preview);
  }
  PaintAlbumPanel(this, pDC);
  pDC->RestoreDC(saved);
  return TRUE;
}

BEGIN_MESSAGE_MAP(CAlbumPreviewContainer2Page, CDialog)
ON_MESSAGE(WM_PREVIEW_ENDED, OnPreviewEnded)
ON_MESSAGE(WM_TV_ASPECT_CHANGED, OnTvAspectChanged)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CAlbumPreviewContainer2Page::CAlbumPreviewContainer2Page()
    : CDialog(IDD_ALBUM_PREVIEW_CONTAINER2), m_pPreview(new AlbumPreviewDlg(FALSE)) {}

CAlbumPreviewContainer2Page::~CAlbumPreviewContainer2Page() {
  if (m_pPreview->GetSafeHwnd() != nullptr) m_pPreview->DestroyWindow();
  delete m_pPreview;
}

BOOL CAlbumPreviewContainer2Page::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_PREVIEW_CONTAINER2);
  m_brush.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  CreatePreviewWindow(m_pPreview, this);
  CRect client;
  GetClientRect(&client);
  LayoutPreview(client.Width(), client.Height());
  return TRUE;
}

BOOL CAlbumPreviewContainer2Page::PreviewFromImage(CDVDAlbumBase* pAlbum, CDVDImage* pImage) {
  if (pAlbum == nullptr || pImage == nullptr) return FALSE;
  if (pAlbum->IsImageAlbum()) static_cast<CDVDAlbumImage*>(pAlbum)->m_pCurImage = pImage;
  pAlbum->Set_bFirstTransActive(TRUE);
  m_pPreview->m_bFromBeginning = FALSE;
  const int index = GetProject()->IndexOfAlbum(pAlbum);
  if (index >= 0 && index <= GetProject()->GetAlbumCount()) m_pPreview->PlayAlbum(index);
  return TRUE;
}

BOOL CAlbumPreviewContainer2Page::StopPreview() {
  CWaitCursor wait;
  m_pPreview->Stop();
  m_pPreview->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return TRUE;
}

int CAlbumPreviewContainer2Page::GetPreviewState() const {
  return m_pPreview->GetStartIndex();
}

void CAlbumPreviewContainer2Page::LayoutPreview(int cx, int cy) {
  if (m_pPreview->GetSafeHwnd() == nullptr) return;
  const RECT r = pictavo::render::FitPhotoPagePreview(cx, cy, WideOption());
  m_pPreview->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  Invalidate(TRUE);
  UpdateWindow();
}

LRESULT CAlbumPreviewContainer2Page::OnPreviewEnded(WPARAM wParam, LPARAM lParam) {
  if (wParam != PREVIEW_ENDED_HIDDEN && wParam != PREVIEW_ENDED_NATURAL) return 1;
  StopPreview();
  if (CWnd* parent = GetParent()) parent->SendMessage(WM_PREVIEW_ENDED, wParam, lParam);
  return 1;
}

LRESULT CAlbumPreviewContainer2Page::OnTvAspectChanged(WPARAM, LPARAM) {
  CRect window;
  GetWindowRect(&window);
  LayoutPreview(window.Width(), window.Height());
  return 1;
}

void CAlbumPreviewContainer2Page::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  LayoutPreview(cx, cy);
}

BOOL CAlbumPreviewContainer2Page::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  if (m_pPreview->GetSafeHwnd() != nullptr) {
    CRect frame;
    m_pPreview->GetWindowRect(&frame);
    ScreenToClient(&frame);
    frame.InflateRect(1, 1);
    CBrush border;
    border.CreateSolidBrush(RGB(0, 0, 100));
    pDC->FrameRect(&frame, &border);
  }
  return TRUE;
}

HBRUSH CAlbumPreviewContainer2Page::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_STATIC && pWnd != nullptr) {
    char name[32] = {};
    ::GetClassName(pWnd->m_hWnd, name, sizeof name);
    if (strcasecmp(name, "Static") == 0 || strcasecmp(name, "Button") == 0) {
      pDC->SetBkMode(TRANSPARENT);
      return static_cast<HBRUSH>(m_brush.GetSafeHandle());
    }
  }
  return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
