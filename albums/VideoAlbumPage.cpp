#include "albums/VideoAlbumPage.h"

#include "albums/ExploreBarDlg.h"
#include "shell/LanguageFile.h"

BEGIN_MESSAGE_MAP(CVideoAlbumPage, CDialog)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVideoAlbumPage::CVideoAlbumPage(CDVDAlbumMovie** ppAlbum)
    : CDialog(IDD_VIDEO_ALBUM_PAGE), m_ppAlbum(ppAlbum) {}

CVideoAlbumPage::~CVideoAlbumPage() = default;

BOOL CVideoAlbumPage::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_VIDEO_ALBUM_PAGE);
  return TRUE;
}

void CVideoAlbumPage::ShowMovieAlbum(CDVDAlbumMovie* pAlbum) {
  m_pShown = pAlbum;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CVideoAlbumPage::UpdateClipButtons() {}

void CVideoAlbumPage::DeselectAll() {}

BOOL CVideoAlbumPage::OnEraseBkgnd(CDC* pDC) {
  PaintAlbumPanel(this, pDC);
  return TRUE;
}
