#include "albums/AlbumPropSheet.h"

#include "albums/AlbumMessages.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/VideoAlbumPage.h"
#include "modules/log/Log.h"
#include "render/AlbumPreviewContainer.h"
#include "render/VideoPreviewContainer.h"
#include "render/AlbumVideoProfilePage.h"
#include "shell/ProcessObjects.h"

namespace {

// Every page that has a window takes the sheet's whole client area.
void SizePages(CPageSet& pages, int cx, int cy) {
  for (int i = 0; i < pages.GetPageCount(); ++i) {
    CWnd* page = pages.GetPage(i);
    if (page != nullptr && page->GetSafeHwnd() != nullptr)
      page->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

BOOL CreateSheetWindow(CWnd* sheet, const CString& className, CWnd* parent, UINT id) {
  return sheet->CreateEx(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), parent,
                         id);
}

}  // namespace

BEGIN_MESSAGE_MAP(AlbumPropSheet, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
END_MESSAGE_MAP()

AlbumPropSheet::AlbumPropSheet()
    : m_strClassName(AfxRegisterWndClass(0)),
      m_pOptionsPage(new AlbumOptionsOneDlg),
      m_pPreviewContainer(new AlbumPreviewContainer),
      m_pOutputPage(new CAlbumVideoPorfileContainerPage) {}

AlbumPropSheet::~AlbumPropSheet() {
  delete m_pOptionsPage;
  delete m_pPreviewContainer;
  delete m_pOutputPage;
}

BOOL AlbumPropSheet::Create(CWnd* pParent, UINT nID) {
  return CreateSheetWindow(this, m_strClassName, pParent, nID);
}

int AlbumPropSheet::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  WriteLog("AlbumPropSheet begin to initalize ...");
  GetWindowRegistry()->m_pAlbumPropSheet = this;
  WriteLog("AlbumPropSheet begin to initalize (1)...");
  m_photoPage.Create(IDD_ALBUM_PHOTO, this);
  WriteLog("AlbumPropSheet begin to initalize (2)...");
  m_pOptionsPage->Create(IDD_ALBUM_OPTIONS_ONE, this);
  WriteLog("AlbumPropSheet begin to initalize (3)...");
  m_themePage.Create(IDD_ALBUM_THEME, this);
  WriteLog("AlbumPropSheet begin to initalize (4)...");
  m_pPreviewContainer->Create(IDD_ALBUM_PREVIEW_CONTAINER, this);
  WriteLog("AlbumPropSheet begin to initalize (6)...");
  m_pages.AddPage(&m_photoPage);
  m_pages.AddPage(m_pOptionsPage);
  m_pages.AddPage(&m_themePage);
  m_pages.AddPage(m_pPreviewContainer);
  WriteLog("AlbumPropSheet begin to initalize (5)...");
  m_pOutputPage->Create(IDD_ALBUM_VIDEO_PROFILE_CONTAINER, this);
  m_pages.AddPage(m_pOutputPage);
  m_pages.ShowPage(0);
  WriteLog("AlbumPropSheet finishe to initalize ...");
  return 0;
}

void AlbumPropSheet::SelectPage(int nPage) {
  const int page = nPage % kPageCount;
  if (page >= 0 && m_pages.GetPageCount() > page) m_pages.ShowPage(page);
}

void AlbumPropSheet::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  SizePages(m_pages, cx, cy);
}

BOOL AlbumPropSheet::OnEraseBkgnd(CDC*) {
  return TRUE;
}

LRESULT AlbumPropSheet::OnProjectReloaded(WPARAM wParam, LPARAM lParam) {
  CWnd* pages[] = {&m_photoPage, m_pOptionsPage, m_pPreviewContainer, &m_themePage, m_pOutputPage};
  for (CWnd* page : pages)
    if (page->GetSafeHwnd() != nullptr) page->SendMessage(WM_PROJECT_RELOADED, wParam, lParam);
  return TRUE;
}

BEGIN_MESSAGE_MAP(CVideoAlbumPropSheet, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVideoAlbumPropSheet::CVideoAlbumPropSheet()
    : m_strClassName(AfxRegisterWndClass(0)),
      m_pClipPage(new CVideoAlbumPage(&m_pAlbum)),
      m_pPreviewContainer(new CVideoPreviewContainer(&m_pAlbum)) {}

CVideoAlbumPropSheet::~CVideoAlbumPropSheet() {
  delete m_pClipPage;
  delete m_pPreviewContainer;
}

BOOL CVideoAlbumPropSheet::Create(CWnd* pParent, UINT nID) {
  return CreateSheetWindow(this, m_strClassName, pParent, nID);
}

int CVideoAlbumPropSheet::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CWindowRegistry* slots = GetWindowRegistry();
  m_pClipPage->Create(IDD_VIDEO_ALBUM_PAGE, this);
  slots->m_pVideoClipPage = m_pClipPage;
  m_pPreviewContainer->Create(IDD_VIDEO_PREVIEW_CONTAINER, this);
  slots->m_pVideoPreviewContainer = m_pPreviewContainer;
  m_pages.AddPage(m_pClipPage);
  m_pages.AddPage(m_pPreviewContainer);
  m_pages.ShowPage(0);
  return 0;
}

void CVideoAlbumPropSheet::SelectPage(int nPage) {
  const int page = nPage % 2;
  if (page >= 0 && m_pages.GetPageCount() > page) m_pages.ShowPage(page);
}

void CVideoAlbumPropSheet::SetMovieAlbum(CDVDAlbumMovie* pAlbum) {
  if (pAlbum == m_pAlbum) return;
  m_pPreviewContainer->StopPreview();
  m_pAlbum = pAlbum;
  m_pClipPage->ShowMovieAlbum(pAlbum);
}

void CVideoAlbumPropSheet::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  SizePages(m_pages, cx, cy);
}

BOOL CVideoAlbumPropSheet::OnEraseBkgnd(CDC*) {
  return TRUE;
}
