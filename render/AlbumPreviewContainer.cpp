#include "render/AlbumPreviewContainer.h"

#include "albums/AlbumMessages.h"
#include "albums/ExploreBarDlg.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

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
ON_MESSAGE(WM_PREVIEW_SELECT_ALBUM, OnSelectAlbum)
ON_MESSAGE(WM_PREVIEW_ENDED, OnStop)
ON_MESSAGE(WM_STOP_PLAYBACK, OnStop)
END_MESSAGE_MAP()

BOOL AlbumPreviewContainer::OnInitDialog() {
  CPreviewPageBase::OnInitDialog();
  GetWindowRegistry()->m_pAlbumPreviewContainer = this;
  return TRUE;
}

LRESULT AlbumPreviewContainer::OnSelectAlbum(WPARAM wParam, LPARAM) {
  m_nAlbum = static_cast<int>(wParam);
  ++m_nStops;
  return 0;
}

LRESULT AlbumPreviewContainer::OnStop(WPARAM, LPARAM) {
  ++m_nStops;
  return 0;
}
