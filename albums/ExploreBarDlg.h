// The file browser panel (template 151), child 151 of the organize page, above the album
// editor. It keeps the folder it shows, which the main window saves when it closes; the folder
// tree and the file list join it with the album pages.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

#define IDD_EXPLORE_BAR 151

class ExploreBarDlg : public CPropertyPage {
 public:
  ExploreBarDlg();
  ~ExploreBarDlg() override;

  CString m_strCurrentFolder;  // the folder shown; the last one saved until the user picks another

 protected:
  BOOL OnInitDialog() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The look of the organize page's two panels: the skin's page colour inside a thin frame a shade
// darker than the window around it.
void PaintAlbumPanel(CWnd* pPanel, CDC* pDC);
