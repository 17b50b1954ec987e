#include "albums/AlbumOptionsOneDlg.h"

#include "albums/AlbumMessages.h"
#include "albums/ExploreBarDlg.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

BEGIN_MESSAGE_MAP(AlbumOptionsOneDlg, CDialog)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
END_MESSAGE_MAP()

AlbumOptionsOneDlg::AlbumOptionsOneDlg() : CDialog(IDD_ALBUM_OPTIONS_ONE) {}

AlbumOptionsOneDlg::~AlbumOptionsOneDlg() = default;

BOOL AlbumOptionsOneDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_OPTIONS_ONE);
  GetWindowRegistry()->m_pAlbumOptionsOne = this;
  return TRUE;
}

void AlbumOptionsOneDlg::SetAlbum(CDVDAlbumImage* pAlbum) {
  m_pAlbum = pAlbum;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void AlbumOptionsOneDlg::RebuildTimeline() {
  ++m_nTimelineBuilds;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void AlbumOptionsOneDlg::RepaintTimeline() {
  if (GetSafeHwnd() != nullptr) Invalidate();
}

BOOL AlbumOptionsOneDlg::OnEraseBkgnd(CDC* pDC) {
  PaintAlbumPanel(this, pDC);
  return TRUE;
}

LRESULT AlbumOptionsOneDlg::OnProjectReloaded(WPARAM, LPARAM) {
  m_pAlbum = nullptr;
  return TRUE;
}
