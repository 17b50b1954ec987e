#include "albums/AlbumThemeDlg.h"

#include "albums/AlbumMessages.h"
#include "albums/ExploreBarDlg.h"
#include "shell/LanguageFile.h"

BEGIN_MESSAGE_MAP(CAlbumThemeDlg, CDialog)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
END_MESSAGE_MAP()

CAlbumThemeDlg::CAlbumThemeDlg() : CDialog(IDD_ALBUM_THEME) {}

CAlbumThemeDlg::~CAlbumThemeDlg() = default;

BOOL CAlbumThemeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_THEME);
  return TRUE;
}

void CAlbumThemeDlg::SetAlbum(CDVDAlbumImage* pAlbum) {
  m_pAlbum = pAlbum;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

BOOL CAlbumThemeDlg::OnEraseBkgnd(CDC* pDC) {
  PaintAlbumPanel(this, pDC);
  return TRUE;
}

LRESULT CAlbumThemeDlg::OnProjectReloaded(WPARAM, LPARAM) {
  m_pAlbum = nullptr;
  return TRUE;
}
