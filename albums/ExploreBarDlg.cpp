#include "albums/ExploreBarDlg.h"

#include "controls/IconMenu.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

BEGIN_MESSAGE_MAP(ExploreBarDlg, CPropertyPage)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

ExploreBarDlg::ExploreBarDlg() : CPropertyPage(IDD_EXPLORE_BAR) {}

ExploreBarDlg::~ExploreBarDlg() = default;

BOOL ExploreBarDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_EXPLORE_BAR);
  // The folder the user looked at last stays remembered until another is shown.
  m_strCurrentFolder = GetAppSettings()->Window.LastFolder;
  GetWindowRegistry()->m_pExploreBar = this;
  return TRUE;
}

LRESULT ExploreBarDlg::OnLanguageChanged(WPARAM, LPARAM) {
  TranslateDialog(m_hWnd, IDD_EXPLORE_BAR);
  Invalidate();
  return 1;
}

BOOL ExploreBarDlg::OnEraseBkgnd(CDC* pDC) {
  PaintAlbumPanel(this, pDC);
  return TRUE;
}

void PaintAlbumPanel(CWnd* pPanel, CDC* pDC) {
  CRect rc;
  pPanel->GetClientRect(&rc);
  pDC->FillSolidRect(&rc, GetSkinColor(SKIN_COLOR_TAB_PAGE));
  const COLORREF frame = DarkenColor(GetSkinColor(SKIN_COLOR_MAIN_DLG), 0.18);
  pDC->Draw3dRect(&rc, frame, frame);
}
